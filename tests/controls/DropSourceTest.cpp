// The drag cursors of the panes' drop effects.
#include "CMyOleDropSource.h"

#include <QDrag>
#include <QImage>
#include <QObject>
#include <gtest/gtest.h>

TEST(DropSourceTest, EachEffectHasItsCursorAndCarryingAction)
{
    using S = CMyOleDropSource;
    const struct
    {
        int effect;
        int cursorId;
        Qt::DropAction carried;
    } cases[] = {
        {S::Copy, 104, Qt::CopyAction},         {S::Move, 461, Qt::MoveAction},
        {S::MoveBefore, 459, Qt::MoveAction},   {S::MoveAfter, 460, Qt::MoveAction},
        {S::CopyUnder, 520, Qt::CopyAction},    {S::CopyBefore, 521, Qt::CopyAction},
        {S::CopyAfter, 522, Qt::CopyAction},    {4, 0, Qt::IgnoreAction}, // link: the default cursor
        {0, 0, Qt::IgnoreAction},               {256, 0, Qt::IgnoreAction},
    };
    QList<QImage> pictures;
    for (const auto &c : cases) {
        EXPECT_EQ(S::CursorId(c.effect), c.cursorId) << c.effect;
        EXPECT_EQ(S::CarryingAction(c.effect), c.carried) << c.effect;
        const QPixmap cursor = S::Cursor(c.effect);
        EXPECT_EQ(cursor.isNull(), c.cursorId == 0) << c.effect;
        if (!cursor.isNull()) {
            EXPECT_EQ(cursor.size(), QSize(32, 32));
            const QImage image = cursor.toImage();
            EXPECT_FALSE(pictures.contains(image)) << "cursor " << c.cursorId << " looks like another";
            EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0); // see-through around the arrow
            pictures << image;
        }
    }
}

TEST(DropSourceTest, TheTargetsEffectSetsTheCursorOfItsAction)
{
    QObject source;
    QDrag drag(&source);
    CMyOleDropSource::Prepare(drag);
    EXPECT_EQ(drag.dragCursor(Qt::CopyAction).toImage(), CMyOleDropSource::Cursor(1).toImage());
    EXPECT_EQ(drag.dragCursor(Qt::MoveAction).toImage(), CMyOleDropSource::Cursor(2).toImage());

    EXPECT_TRUE(CMyOleDropSource::GiveFeedback(drag, CMyOleDropSource::MoveAfter));
    EXPECT_EQ(drag.dragCursor(Qt::MoveAction).toImage(), CMyOleDropSource::Cursor(16).toImage());
    EXPECT_TRUE(CMyOleDropSource::GiveFeedback(drag, CMyOleDropSource::CopyUnder));
    EXPECT_EQ(drag.dragCursor(Qt::CopyAction).toImage(), CMyOleDropSource::Cursor(32).toImage());
    EXPECT_FALSE(CMyOleDropSource::GiveFeedback(drag, 4));
    EXPECT_EQ(drag.dragCursor(Qt::CopyAction).toImage(), CMyOleDropSource::Cursor(32).toImage());
}
