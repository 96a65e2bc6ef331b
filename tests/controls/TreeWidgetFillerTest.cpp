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
