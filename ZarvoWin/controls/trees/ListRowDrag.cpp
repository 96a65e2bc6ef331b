#include "ListRowDrag.h"

#include "CListCtrlCol.h"
#include "CMyOleDropSource.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// The "nowhere to go" cursor.
QPixmap refusedCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/drag_none.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

ListRowDrag::ListRowDrag(CListCtrlCol *list, MoveFunction move)
    : QObject(list)
    , m_list(list)
    , m_viewport(list->viewport())
    , m_move(std::move(move))
{
    m_viewport->installEventFilter(this);
}

void ListRowDrag::Cancel()
{
    if (m_dragging)
        EndDrag(false);
    m_pressed = false;
}

void ListRowDrag::ShowCursor(int id)
{
    if (id == m_cursorId)
        return;
    m_cursorId = id;
    QPixmap picture;
    switch (id) {
    case CursorCarry: picture = CMyOleDropSource::Cursor(CMyOleDropSource::Move); break;
    case CursorBefore: picture = CMyOleDropSource::Cursor(CMyOleDropSource::MoveBefore); break;
    case CursorAfter: picture = CMyOleDropSource::Cursor(CMyOleDropSource::MoveAfter); break;
    default: picture = refusedCursor(); break;
    }
    m_list->viewport()->setCursor(QCursor(picture, 0, 0));
}

void ListRowDrag::DragTo(const QPoint &viewportPos)
{
    const bool overList = m_list->viewport()->rect().contains(viewportPos);
    QTreeWidgetItem *item = overList ? m_list->itemAt(viewportPos) : nullptr;
    const int target = item ? m_list->indexOfTopLevelItem(item) : -1;
    if (target != m_dropTarget) {
        m_dropTarget = target;
        m_list->SetDropTargetRow(target);
    }
    if (!item) {
        ShowCursor(CursorNone);
        return;
    }
    const QRect rect = m_list->visualItemRect(item);
    ShowCursor(viewportPos.y() < rect.top() + rect.height() / 2 ? CursorBefore : CursorAfter);
}

void ListRowDrag::EndDrag(bool drop)
{
    m_dragging = false;
    m_list->viewport()->releaseMouse();
    m_list->viewport()->unsetCursor();
    const int target = m_dropTarget;
    const bool before = m_cursorId == CursorBefore;
    m_cursorId = 0;
    m_dropTarget = -1;
    m_list->SetDropTargetRow(-1);
    const int source = m_dragRow;
    m_dragRow = -1;
    if (drop && target >= 0 && m_move)
        m_move(target, before, source);
}

bool ListRowDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_viewport)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressed = m_enabled && mouse->button() == Qt::LeftButton;
        m_pressPos = mouse->position().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        if (m_dragging) {
            DragTo(pos);
            return true;
        }
        if (m_pressed && (mouse->buttons() & Qt::LeftButton)
            && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            QTreeWidgetItem *item = m_list->itemAt(m_pressPos);
            if (!item)
                break;
            m_dragging = true;
            m_dragRow = m_list->indexOfTopLevelItem(item);
            // The carried row is the selected one.
            m_list->setCurrentItem(item);
            item->setSelected(true);
            ShowCursor(CursorCarry);
            m_list->viewport()->grabMouse();
            DragTo(pos);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = false;
        if (m_dragging) {
            EndDrag(true);
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
