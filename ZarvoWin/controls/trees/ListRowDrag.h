#pragma once
#include <QObject>
#include <QWidget>
#include <QPoint>

#include <functional>

class CListCtrlCol;

// A row of a column list carried by the mouse onto another row: dropped on
// the upper half of a row it goes before it, on the lower half after it.
// While the button is held the row under the mouse is shown as the target
// and the cursor tells where the row would go (before, after, nowhere).
// The owner moves the row (its list's rows and whatever they stand for)
// when it is dropped.
class ListRowDrag : public QObject
{
    Q_OBJECT
public:
    // The cursors of a drag: the row carried, before and after the row
    // under it, nowhere to go.
    enum : int { CursorCarry = 461, CursorBefore = 459, CursorAfter = 460, CursorNone = 446 };
    // Moves row `source` before or after row `target`; false when nothing
    // moved.
    using MoveFunction = std::function<bool(int target, bool before, int source)>;

    ListRowDrag(CListCtrlCol *list, MoveFunction move);

    // A drag starts only while enabled (on by default).
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsDragging() const { return m_dragging; }
    // The cursor shown (0 while not dragging) and the target row (-1).
    int Cursor() const { return m_dragging ? m_cursorId : 0; }
    int DropTarget() const { return m_dropTarget; }
    // Ends a drag without moving anything (the dialog closes).
    void Cancel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowCursor(int id);
    void DragTo(const QPoint &viewportPos);
    void EndDrag(bool drop);

    CListCtrlCol *m_list;
    // Kept apart: the list is no longer whole while its viewport is being
    // destroyed, and the viewport's last events still come here.
    QWidget *m_viewport;
    MoveFunction m_move;
    bool m_enabled = true;
    bool m_pressed = false;
    QPoint m_pressPos;
    bool m_dragging = false;
    int m_dragRow = -1;
    int m_dropTarget = -1;
    int m_cursorId = 0;
};
