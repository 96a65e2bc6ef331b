#pragma once
#include "DragPayload.h"

#include <QObject>
#include <QPoint>
#include <Qt>

class QMimeData;
class QWidget;

// What a window that takes dropped items offers its drop target: the week
// view, the project pane and the forecast view implement it.
class CDropTargetWindow
{
public:
    enum class Kind { WeekView, ProjectPane, ForecastView, Other };

    virtual ~CDropTargetWindow() = default;
    virtual Kind DropTargetKind() const = 0;
    // The effect a drop at `point` would have (Qt::IgnoreAction for none).
    virtual Qt::DropAction DragOver(const QMimeData *data, Qt::KeyboardModifiers keys, const QPoint &point) = 0;
    // A dropped item this window takes (the drop target filters by kind).
    virtual void DropItem(const DragInfo &info, const QPoint &point) = 0;
    virtual void DragLeave() {}
};

// Routes the drag events of one window to its CDropTargetWindow: every
// drag-over to the window's own decision; a drop of the program's payload
// to the window when it takes that kind (the week view every kind, the
// project pane projects only, the forecast view forecast projects and
// project-activity pairs only); an unknown kind is taken and nothing done.
// Data without the payload is left to the window's own handling.
class CInterfaceDropTarget : public QObject
{
    Q_OBJECT
public:
    // Installs itself on `window` (which it accepts drops for) and lives
    // as its child.
    CInterfaceDropTarget(QWidget *window, CDropTargetWindow *target);

    // Whether a window of `kind` takes a dropped item of `item`.
    static bool Takes(CDropTargetWindow::Kind kind, DragKind item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CDropTargetWindow *m_target;
};
