#include "ListCtrlColDelegate.h"

#include "CListCtrlCol.h"
#include "ImageList.h"
#include "ListCtrlColRules.h"
#include "TextFormatFlags.h"

#include <QApplication>
#include <QPainter>

namespace {

// One line, vertically centred, '&' shown as it stands.
const TextFormatFlags::Mapped &cellFormat()
{
    static const TextFormatFlags::Mapped format = TextFormatFlags::ToQt(0xA24);
    return format;
}

} // namespace

ListCtrlColDelegate::ListCtrlColDelegate(CListCtrlCol *list)
    : QStyledItemDelegate(list), m_list(list)
{
}

QWidget *ListCtrlColDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const
{
    if (index.column() != 0)
        return nullptr;
    if (m_list->LabelEditFactory())
        return m_list->LabelEditFactory()(parent);
    return QStyledItemDelegate::createEditor(parent, option, index);
}

QSize ListCtrlColDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(ListCtrlColRules::RowHeight);
    return size;
}

bool ListCtrlColDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                      const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (m_list->Images())
        return false;
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

void ListCtrlColDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const ImageList *images = m_list->Images();
    if (!images) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    using R = ListCtrlColRules;
    const QPalette &palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    QColor background = palette.color(QPalette::Base);
    QColor text = palette.color(QPalette::Text);
    if (index.row() == m_list->DropTargetRow() && !index.parent().isValid()) {
        background = palette.color(QPalette::Highlight);
        text = palette.color(QPalette::HighlightedText);
    } else if (selected && m_list->HasMenuBarSelection()) {
        background = QApplication::palette("QMenuBar").color(QPalette::Window);
    } else if (selected) {
        background = palette.color(QPalette::Highlight);
        text = palette.color(QPalette::HighlightedText);
    }

    painter->save();
    painter->fillRect(option.rect, background);
    painter->setFont(option.font);
    painter->setPen(text);
    const QRect cell = option.rect;
    const int left = cell.left();
    const int right = cell.left() + cell.width(); // exclusive
    const QString value = index.data(Qt::DisplayRole).toString();
    if (index.column() == 0) {
        QRect label = cell;
        if (m_list->HasCheckBoxes()) {
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            const int x = left + R::CheckAreaWidth / 2 - 8;
            painter->save();
            painter->setClipRect(cell);
            images->Draw(*painter, checked ? 1 : 0, QPoint(x, cell.top()));
            painter->restore();
            label.setLeft(left + R::CheckAreaWidth);
        }
        TextFormatFlags::Draw(*painter, label, R::CutText(option.fontMetrics, value, label.width()), cellFormat());
    } else if (index.column() == m_list->AlignmentColumn()) {
        const int top = cell.top();
        images->Draw(*painter, value == QLatin1String("L") ? 3 : 2, QPoint(R::LeftImageX(left), top));
        images->Draw(*painter, value == QLatin1String("C") ? 3 : 2, QPoint(R::CentreImageX(left, right), top));
        images->Draw(*painter, value == QLatin1String("R") ? 3 : 2, QPoint(R::RightImageX(right), top));
    } else if (!value.isEmpty()) {
        const QRect inner = cell.adjusted(4, 0, -4, 0);
        TextFormatFlags::Draw(*painter, inner, R::CutText(option.fontMetrics, value, inner.width()), cellFormat());
    }
    painter->restore();
}
