#include "CTreeWidgetFiller.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

// While a fill is open, new top-level items wait apart from the widget; the
// filler still walks and deletes them like items of the widget, and the
// outermost EndFill hands them over with their expanded states.
TEST(TreeWidgetFiller, ItemsHeldDuringAFillAreWalkedDeletedAndHandedOver)
{
    QTreeWidget widget;
    CTreeWidgetFiller filler(&widget, true);
    const CTreeFiller::Item old = filler.InsertItem(nullptr, QStringLiteral("old"), -1, -1, 0);

    filler.BeginFill();
    filler.BeginFill(); // nested: only the outer end counts
    const CTreeFiller::Item a = filler.InsertItem(nullptr, QStringLiteral("A"), 15, 15, 1);
    const CTreeFiller::Item a1 = filler.InsertItem(a, QStringLiteral("A1"), 16, 16, 2);
    filler.SetCheck(a1, true);
    filler.Expand(a, true);
    const CTreeFiller::Item b = filler.InsertItem(nullptr, QStringLiteral("B"), 15, 15, 3);
    filler.Expand(b, true);
    const CTreeFiller::Item c = filler.InsertItem(nullptr, QStringLiteral("C"), 15, 15, 4);
    filler.Expand(c, false);
    filler.EndFill();
    EXPECT_EQ(widget.topLevelItemCount(), 1);

    EXPECT_EQ(filler.GetChildItem(nullptr), old);
    EXPECT_EQ(filler.GetNextSiblingItem(old), a);
    EXPECT_EQ(filler.GetNextSiblingItem(a), b);
    EXPECT_EQ(filler.GetNextSiblingItem(b), c);
    EXPECT_EQ(filler.GetNextSiblingItem(c), nullptr);
    EXPECT_EQ(filler.GetChildItem(a), a1);
    filler.DeleteItem(b);
    EXPECT_EQ(filler.GetNextSiblingItem(a), c);

    filler.EndFill();
    ASSERT_EQ(widget.topLevelItemCount(), 3);
    QTreeWidgetItem *shownA = widget.topLevelItem(1);
    EXPECT_EQ(shownA, CTreeWidgetFiller::toItem(a));
    EXPECT_TRUE(shownA->isExpanded());
    EXPECT_FALSE(widget.topLevelItem(2)->isExpanded());
    EXPECT_EQ(shownA->child(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(shownA->child(0)->data(0, CTreeWidgetFiller::DataRole).toLongLong(), 2);

    // Outside a fill, items go straight into the widget.
    filler.InsertItem(nullptr, QStringLiteral("D"), -1, -1, 5);
    EXPECT_EQ(widget.topLevelItemCount(), 4);
}

// A filler that goes away during a fill still hands its items over.
TEST(TreeWidgetFiller, ItemsHeldAtTheEndOfTheFillerAreNotLost)
{
    QTreeWidget widget;
    {
        CTreeWidgetFiller filler(&widget);
        filler.BeginFill();
        filler.Expand(filler.InsertItem(nullptr, QStringLiteral("A"), -1, -1, 0), true);
    }
    ASSERT_EQ(widget.topLevelItemCount(), 1);
    EXPECT_TRUE(widget.topLevelItem(0)->isExpanded());
}

// A branch filled below an item already shown waits apart too, and reaches
// the widget in one insertion; walking, deleting and expanding treat the
// held children as the parent's children after those it already had.
TEST(TreeWidgetFiller, ABranchBelowAShownItemIsHeldAndHandedOverAtOnce)
{
    QTreeWidget widget;
    CTreeWidgetFiller filler(&widget);
    const CTreeFiller::Item root = filler.InsertItem(nullptr, QStringLiteral("Root"), 1, 1, 0);
    const CTreeFiller::Item old = filler.InsertItem(root, QStringLiteral("old"), -1, -1, 9);
    const CTreeFiller::Item other = filler.InsertItem(nullptr, QStringLiteral("Other"), 1, 1, 0);
    int insertions = 0;
    QObject::connect(widget.model(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });

    filler.BeginFill();
    const CTreeFiller::Item a = filler.InsertItem(root, QStringLiteral("A"), 15, 15, 1);
    const CTreeFiller::Item a1 = filler.InsertItem(a, QStringLiteral("A1"), 15, 15, 2);
    filler.Expand(a, false);
    const CTreeFiller::Item b = filler.InsertItem(root, QStringLiteral("B"), 15, 15, 3);
    filler.Expand(b, true);
    filler.InsertItem(b, QStringLiteral("B1"), 15, 15, 4);
    const CTreeFiller::Item gone = filler.InsertItem(other, QStringLiteral("gone"), 15, 15, 5);
    filler.InsertItem(gone, QStringLiteral("gone too"), 15, 15, 6);
    filler.Expand(gone, true);
    EXPECT_EQ(insertions, 0);
    EXPECT_EQ(CTreeWidgetFiller::toItem(root)->childCount(), 1);

    EXPECT_EQ(filler.GetChildItem(root), old);
    EXPECT_EQ(filler.GetNextSiblingItem(old), a);
    EXPECT_EQ(filler.GetNextSiblingItem(a), b);
    EXPECT_EQ(filler.GetNextSiblingItem(b), nullptr);
    EXPECT_EQ(filler.GetChildItem(a), a1);
    EXPECT_EQ(filler.GetChildItem(other), gone);
    // The shown parent goes with what it was to receive.
    filler.DeleteItem(other);
    filler.EndFill();

    EXPECT_EQ(insertions, 1);
    ASSERT_EQ(widget.topLevelItemCount(), 1);
    QTreeWidgetItem *shownRoot = widget.topLevelItem(0);
    ASSERT_EQ(shownRoot->childCount(), 3);
    EXPECT_EQ(shownRoot->child(1)->text(0), QStringLiteral("A"));
    EXPECT_FALSE(shownRoot->child(1)->isExpanded());
    EXPECT_TRUE(shownRoot->child(2)->isExpanded());
    EXPECT_EQ(shownRoot->child(2)->child(0)->data(0, CTreeWidgetFiller::DataRole).toLongLong(), 4);
}

// An item's image is set again with its roles and icon.
TEST(TreeWidgetFiller, SetItemImageKeepsTheRolesAndTheIcon)
{
    QTreeWidget widget;
    QList<int> asked;
    CTreeWidgetFiller filler(&widget, false, [&](int image) {
        asked << image;
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    });
    const CTreeFiller::Item item = filler.InsertItem(nullptr, QStringLiteral("x"), -1, -1, 0);
    EXPECT_TRUE(CTreeWidgetFiller::toItem(item)->icon(0).isNull());
    filler.SetItemImage(item, 21, 22);
    EXPECT_EQ(CTreeWidgetFiller::toItem(item)->data(0, CTreeWidgetFiller::ImageRole).toInt(), 21);
    EXPECT_EQ(CTreeWidgetFiller::toItem(item)->data(0, CTreeWidgetFiller::SelectedImageRole).toInt(), 22);
    EXPECT_FALSE(CTreeWidgetFiller::toItem(item)->icon(0).isNull());
    EXPECT_EQ(asked, QList<int>{21});
}
