#include "CInterfaceDropTarget.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QWidget>

CInterfaceDropTarget::CInterfaceDropTarget(QWidget *window, CDropTargetWindow *target)
    : QObject(window)
    , m_target(target)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool CInterfaceDropTarget::Takes(CDropTargetWindow::Kind kind, DragKind item)
{
    switch (kind) {
    case CDropTargetWindow::Kind::WeekView:
        return item != DragKind::Unknown;
    case CDropTargetWindow::Kind::ProjectPane:
        return item == DragKind::Project;
    case CDropTargetWindow::Kind::ForecastView:
        return item == DragKind::ForecastProject || item == DragKind::ProjectActivity;
    case CDropTargetWindow::Kind::Other:
        return false;
    }
    return false;
}

bool CInterfaceDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_target)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        Qt::DropAction action = Qt::IgnoreAction;
        if (m_target->DropTargetKind() != CDropTargetWindow::Kind::Other)
            action = m_target->DragOver(drag->mimeData(), drag->modifiers(), drag->position().toPoint());
        if (action == Qt::IgnoreAction) {
            drag->ignore();
        } else {
            drag->setDropAction(action);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        DragInfo info;
        if (!ReadDragPayload(drop->mimeData(), info))
            return false; // not ours: the window's own handling
        if (info.kind != DragKind::Unknown && Takes(m_target->DropTargetKind(), info.kind))
            m_target->DropItem(info, drop->position().toPoint());
        drop->acceptProposedAction();
        return true;
    }
    case QEvent::DragLeave:
        m_target->DragLeave();
        return false;
    default:
        return QObject::eventFilter(watched, event);
    }
}
