#include "CutTextTips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

CutTextTips::CutTextTips(QAbstractItemView *view)
    : QObject(view), m_view(view)
{
    m_view->viewport()->installEventFilter(this);
}

void CutTextTips::Apply(QAbstractItemView *view)
{
    if (view && !view->findChild<CutTextTips *>(QString(), Qt::FindDirectChildrenOnly))
        new CutTextTips(view);
}

bool CutTextTips::ShowsWhole(const QAbstractItemView *view, const QModelIndex &index)
{
    const QRect shown = view->visualRect(index);
    if (shown.isEmpty())
        return true;
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = shown;
    option.font = view->font();
    option.decorationSize = view->iconSize();
    option.features = QStyleOptionViewItem::HasDisplay;
    if (!index.data(Qt::DecorationRole).isNull())
        option.features |= QStyleOptionViewItem::HasDecoration;
    const int needed = view->itemDelegateForIndex(index)->sizeHint(option, index).width();
    // Cut short within its cell, or by the right edge of the view.
    return needed <= shown.width() && shown.left() + needed <= view->viewport()->width();
}

bool CutTextTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip || watched != m_view->viewport())
        return QObject::eventFilter(watched, event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = m_view->indexAt(help->pos());
    if (!index.isValid() || index.data(Qt::ToolTipRole).isValid())
        return QObject::eventFilter(watched, event);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty() || ShowsWhole(m_view, index)) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(help->globalPos(), text, m_view->viewport(), m_view->visualRect(index));
    return true;
}
