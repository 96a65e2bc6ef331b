#pragma once
#include <QPixmap>
#include <Qt>

class QDrag;

// The drag source of the panes: the program's own cursors for its drop
// effects. Qt carries only copy and move between the source and the target,
// so the finer effects of the project tree (before, after, under an item)
// travel as the target's own state; the target shows them by giving the
// drag the cursor of the effect it chose.
class CMyOleDropSource
{
public:
    enum Effect {
        Copy = 1,
        Move = 2,
        MoveBefore = 8,
        MoveAfter = 16,
        CopyUnder = 32,
        CopyBefore = 64,
        CopyAfter = 128,
    };

    // The number of the cursor of an effect; 0 for any other effect (the
    // platform's own cursor then shows).
    static int CursorId(int effect);
    // The cursor's picture (its hot spot at the top left); null for any
    // other effect.
    static QPixmap Cursor(int effect);
    // The Qt action that carries an effect: the move family moves, the copy
    // family copies; Qt::IgnoreAction for any other effect.
    static Qt::DropAction CarryingAction(int effect);

    // A drag starts with the copy and move cursors.
    static void Prepare(QDrag &drag);
    // Shows `effect` on the drag under way: the cursor of its carrying
    // action becomes the effect's. False (nothing changed) for any other
    // effect.
    static bool GiveFeedback(QDrag &drag, int effect);
};
