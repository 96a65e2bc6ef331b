#include "CMyOleDropSource.h"

#include <QDrag>
#include <QPainter>
#include <QSvgRenderer>

namespace {

struct EffectCursor
{
    int effect;
    int cursorId;
    const char *picture;
};

constexpr EffectCursor Cursors[] = {
    {CMyOleDropSource::Copy, 104, ":/pictures/drag_copy.svg"},
    {CMyOleDropSource::Move, 461, ":/pictures/drag_move.svg"},
    {CMyOleDropSource::MoveBefore, 459, ":/pictures/drag_move_before.svg"},
    {CMyOleDropSource::MoveAfter, 460, ":/pictures/drag_move_after.svg"},
    {CMyOleDropSource::CopyUnder, 520, ":/pictures/drag_copy_under.svg"},
    {CMyOleDropSource::CopyBefore, 521, ":/pictures/drag_copy_before.svg"},
    {CMyOleDropSource::CopyAfter, 522, ":/pictures/drag_copy_after.svg"},
};

const EffectCursor *find(int effect)
{
    for (const EffectCursor &c : Cursors) {
        if (c.effect == effect)
            return &c;
    }
    return nullptr;
}

} // namespace

int CMyOleDropSource::CursorId(int effect)
{
    const EffectCursor *c = find(effect);
    return c ? c->cursorId : 0;
}

QPixmap CMyOleDropSource::Cursor(int effect)
{
    const EffectCursor *c = find(effect);
    if (!c)
        return QPixmap();
    QSvgRenderer renderer(QString::fromLatin1(c->picture));
    if (!renderer.isValid())
        return QPixmap();
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

Qt::DropAction CMyOleDropSource::CarryingAction(int effect)
{
    switch (effect) {
    case Move:
    case MoveBefore:
    case MoveAfter:
        return Qt::MoveAction;
    case Copy:
    case CopyUnder:
    case CopyBefore:
    case CopyAfter:
        return Qt::CopyAction;
    default:
        return Qt::IgnoreAction;
    }
}

void CMyOleDropSource::Prepare(QDrag &drag)
{
    drag.setDragCursor(Cursor(Copy), Qt::CopyAction);
    drag.setDragCursor(Cursor(Move), Qt::MoveAction);
}

bool CMyOleDropSource::GiveFeedback(QDrag &drag, int effect)
{
    const Qt::DropAction action = CarryingAction(effect);
    const QPixmap cursor = Cursor(effect);
    if (action == Qt::IgnoreAction || cursor.isNull())
        return false;
    drag.setDragCursor(cursor, action);
    return true;
}
