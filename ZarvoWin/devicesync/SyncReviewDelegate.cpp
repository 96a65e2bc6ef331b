#include "SyncReviewDelegate.h"

#include "ColorRef.h"
#include "ImageList.h"
#include "SyncImages.h"
#include "SyncReviewModel.h"
#include "SyncReviewRules.h"
#include "UiUtilities.h"

#include <QPainter>

SyncReviewDelegate::SyncReviewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QSize SyncReviewDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(SyncReviewRules::RowHeight);
    return size;
}

void SyncReviewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const SyncReviewModel *>(index.model());
    const SyncReviewList::Row *row = model ? model->RowAt(index.row()) : nullptr;
    if (!row)
        return;
    const SyncItem *item = row->item ? &*row->item : nullptr;
    const int column = index.column();
    const QRect cell = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) && column != SyncReviewModel::Action;

    painter->save();
    painter->fillRect(cell, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    const ImageList &images = SyncImages::ListImages();
    constexpr int icon = SyncReviewRules::IconSize;
    const int iconTop = cell.top() + (cell.height() - icon) / 2;
    QRect textRect = cell;
    switch (column) {
    case SyncReviewModel::DeviceName:
        images.Draw(*painter, row->image, QPoint(cell.left(), iconTop));
        textRect.setLeft(cell.left() + icon);
        break;
    case SyncReviewModel::DeviceModified:
    case SyncReviewModel::LocalModified: {
        const bool deleted =
            item && (column == SyncReviewModel::DeviceModified ? item->deviceDeleted : item->localDeleted);
        if (deleted)
            images.Draw(*painter, SyncReviewList::DeletedSideImage, QPoint(cell.left(), iconTop));
        textRect.setLeft(cell.left() + icon);
        break;
    }
    case SyncReviewModel::Action:
        if (item) {
            for (int action = 0; action < SyncReviewRules::ActionCount; ++action) {
                const int image = (action == item->action ? SyncReviewList::ChosenActionImage
                                                          : SyncReviewList::OtherActionImage) + action;
                images.Draw(*painter, image,
                            QPoint(SyncReviewRules::IconLeft(cell.left(), cell.width(), action), iconTop));
            }
        }
        break;
    default:
        break;
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    textRect.adjust(TextMargin, 0, -TextMargin, 0);
    if (!text.isEmpty() && textRect.width() > 0) {
        QFont font = option.font;
        font.setBold(row->isGroup);
        painter->setFont(font);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QString shown = EllipsizeText(QFontMetrics(font), text, textRect.width(), true);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }

    // The grid: each cell draws its right and bottom edges.
    painter->setPen(ColorRefToQColor(GridColour));
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->restore();
}
