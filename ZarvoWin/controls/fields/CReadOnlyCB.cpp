#include "CReadOnlyCB.h"
#include "ComboPopupBound.h"

#include "UiUtilities.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

// The grey of disabled text, also where a palette gives disabled text the
// colour of enabled text.
QColor grayText(const QPalette &palette)
{
    const QColor disabled = palette.color(QPalette::Disabled, QPalette::Text);
    if (disabled != palette.color(QPalette::Active, QPalette::Text))
        return disabled;
    return QColor(109, 109, 109);
}

// The rows of the open list, highlighted across their whole width.
class ListItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        CReadOnlyCB::ItemLook look;
        look.selected = option.state.testFlag(QStyle::State_Selected);
        look.enabled = option.state.testFlag(QStyle::State_Enabled);
        painter->save();
        painter->setFont(option.font);
        CReadOnlyCB::DrawItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(), option.palette, look);
        painter->restore();
    }
};

} // namespace

CReadOnlyCB::CReadOnlyCB(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    setItemDelegate(new ListItemDelegate(this));
    ComboPopupBound::Apply(this);
}

QRect CReadOnlyCB::HighlightBox(const QRect &textRect, int textWidth, int textHeight)
{
    // Right and bottom edges exclusive.
    int left = textRect.left();
    int right = qMin(left + qMax(0, textWidth), textRect.left() + textRect.width());
    int top = textRect.top();
    int bottom = textRect.top() + textRect.height();
    if (textHeight < textRect.height()) {
        --left;
        ++right;
        top = textRect.top() + (textRect.height() - textHeight) / 2 - 1;
        bottom = top + textHeight + 3;
    }
    return QRect(left, top, right - left, bottom - top);
}

void CReadOnlyCB::DrawItem(QPainter &painter, const QRect &rect, const QString &text, const QPalette &palette,
                           const ItemLook &look)
{
    QColor textColour = palette.color(QPalette::Text);
    if (look.selected) {
        textColour = palette.color(QPalette::HighlightedText);
        painter.fillRect(rect, look.inField ? QColor(Qt::white) : palette.color(QPalette::Highlight));
    } else {
        if (!look.enabled)
            textColour = grayText(palette);
        painter.fillRect(rect, palette.color(QPalette::Base));
    }
    const int inset = look.inField ? FieldInset : ListInset;
    const QRect textRect = rect.adjusted(inset, 0, -inset, 0);
    const QFontMetrics metrics(painter.font());
    const QString shown = EllipsizeText(metrics, text, textRect.width(), true);
    if (look.inField && look.selected) {
        const QRect box = HighlightBox(textRect, metrics.horizontalAdvance(shown), metrics.height());
        painter.fillRect(box.intersected(rect), palette.color(QPalette::Highlight));
    }
    painter.setPen(textColour);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void CReadOnlyCB::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The frame and the arrow of an edit field; the text is ours.
    option.editable = true;
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    const int index = currentIndex();
    if (index < 0 || index >= count())
        return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    ItemLook look;
    look.inField = true;
    look.enabled = isEnabled();
    look.selected = look.enabled && hasFocus();
    painter.setFont(font());
    DrawItem(painter, field, itemText(index), palette(), look);
}
