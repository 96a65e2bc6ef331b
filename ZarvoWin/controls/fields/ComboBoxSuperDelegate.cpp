#include "ComboBoxSuperDelegate.h"

#include "CComboBoxSuper.h"
#include "ColorRef.h"
#include "ComboTreeLines.h"
#include "UiUtilities.h"

#include <QPainter>

ComboBoxSuperDelegate::ComboBoxSuperDelegate(CComboBoxSuper *combo)
    : QStyledItemDelegate(combo), m_combo(combo)
{
}

QSize ComboBoxSuperDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const int text = option.fontMetrics.height();
    return QSize(option.rect.width(), std::max(text, m_combo->iconSize().height()) + 2);
}

void ComboBoxSuperDelegate::DrawContent(QPainter &painter, QRect rect, const QIcon &icon, QSize iconSize,
                                        bool bold, const QString &text, const QColor &textColour,
                                        bool enabled)
{
    if (!icon.isNull()) {
        const QRect place(rect.left(), rect.top() + (rect.height() - iconSize.height()) / 2, iconSize.width(),
                          iconSize.height());
        icon.paint(&painter, place, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
        rect.setLeft(rect.left() + iconSize.width() + 5);
    }
    QFont font = painter.font();
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(textColour);
    const QString shown = EllipsizeText(painter.fontMetrics(), text, rect.width(), false);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void ComboBoxSuperDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const int row = index.row();
    const std::optional<CComboBoxSuper::ComboItemInfo> info = m_combo->GetItemInfo(row);
    if (!info)
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const bool enabled = m_combo->isEnabled();
    const QPalette &palette = option.palette;
    const QColor background = selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base);
    QColor text = selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    if (!enabled && !selected)
        text = palette.color(QPalette::Disabled, QPalette::Text);

    painter->save();
    painter->setFont(option.font);
    painter->fillRect(option.rect, background);
    QRect rect = option.rect.adjusted(1, 1, -1, -1);
    const QSize iconSize = m_combo->iconSize();
    if (m_combo->HasTreeLines() && info->depth > 0) {
        // Over the item's whole height, so that the lines of consecutive
        // items meet.
        const QAbstractItemModel *model = index.model();
        const auto depthAt = [model, &index](int i) {
            return model->index(i, index.column(), index.parent()).data(CComboBoxFiller::IndentRole).toInt();
        };
        painter->setPen(QPen(ColorRefToQColor(TreeLineColour), 1));
        for (const QLine &line : ComboTreeLines::Segments(depthAt, model->rowCount(index.parent()), row,
                                                          QRect(rect.left(), option.rect.top(), rect.width(),
                                                                option.rect.height()),
                                                          iconSize.width(), iconSize.height()))
            painter->drawLine(line);
        rect.setLeft(rect.left() + iconSize.width() * info->depth);
    }
    DrawContent(*painter, rect, index.data(Qt::DecorationRole).value<QIcon>(), iconSize, info->bold,
                index.data(Qt::DisplayRole).toString(), text, enabled);
    painter->restore();
}
