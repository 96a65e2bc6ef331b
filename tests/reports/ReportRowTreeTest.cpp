// The rows of a report as a tree: order, expansion, walks and checks.
#include "CReportRowMemory.h"
#include "CReportRowTree.h"
#include "QStringPrinter.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace {

tReportRow text(const QString &t)
{
    tReportRow row;
    row.Item.SetTextLine(t, {});
    return row;
}

QStringList visible(const CReportRowTree &tree)
{
    QStringList rows;
    for (const CTreeItem *row : tree.VisibleRows())
        rows << QString(2 * (row->Depth() - 1), u' ') + row->RowText();
    return rows;
}

// root > a > (a1 > (a1x, a1y), a2); root > b
struct Sample
{
    CReportRowTree tree;
    CTreeItem *root = tree.InsertRootItem(text("root"));
    CTreeItem *a = tree.InsertItem(root, text("a"));
    CTreeItem *b = tree.InsertItem(root, text("b"));
    CTreeItem *a1 = tree.InsertItem(a, text("a1"));
    CTreeItem *a2 = tree.InsertItem(a, text("a2"));
    CTreeItem *a1x = tree.InsertItem(a1, text("a1x"));
    CTreeItem *a1y = tree.InsertItem(a1, text("a1y"));

    Sample()
    {
        for (CTreeItem *row : {root, a, a1})
            row->Collapsed = true;
        tree.VisibleRows() = {root};
        tree.Expand(root, 0);
    }
};

} // namespace

TEST(ReportRowTree, SortedInsertsKeepEqualTextsInArrivalOrder)
{
    CReportRowTree tree;
    CTreeItem *root = tree.InsertRootItem(text("Total"));
    for (const char *t : {"mars", "avril", "mars", "juin"}) {
        tReportRow row = text(QString::fromUtf8(t));
        row.Item.TextLineOf()->Texts << QString::number(root->ChildCount());
        tree.InsertItemSorted(root, std::move(row));
    }
    QStringList order;
    for (int i = 0; i < root->ChildCount(); ++i)
        order << root->Child(i)->RowText() + root->Child(i)->Item().TextLineOf()->Texts[0];
    EXPECT_EQ(order, (QStringList{"avril1", "juin3", "mars0", "mars2"}));
    EXPECT_EQ(root->Child(2)->Depth(), 2);
}

TEST(ReportRowTree, CollapsingHidesGrandchildrenAndExpandingShowsThemAsTheyWere)
{
    Sample s;
    EXPECT_EQ(visible(s.tree), (QStringList{"root", "  a", "  b"}));
    EXPECT_EQ(s.tree.Expand(s.a, 1), 3);
    EXPECT_EQ(s.tree.Expand(s.a1, 2), 4);
    EXPECT_EQ(visible(s.tree), (QStringList{"root", "  a", "    a1", "      a1x", "      a1y", "    a2", "  b"}));
    s.tree.Collapse(s.a);
    EXPECT_EQ(visible(s.tree), (QStringList{"root", "  a", "  b"}));
    EXPECT_EQ(s.tree.GetVisibleIndex(s.a1x), -1);
    s.tree.Expand(s.a, 1);
    EXPECT_EQ(visible(s.tree), (QStringList{"root", "  a", "    a1", "      a1x", "      a1y", "    a2", "  b"}));
    EXPECT_EQ(s.tree.GetVisibleIndex(s.b), 6);
    EXPECT_EQ(s.tree.Expand(s.a1x, 3), 3) << "a row without children does not expand";

    s.tree.RenumberRows();
    EXPECT_EQ(s.a2->ListIndex, 5);
    const tTreeRowShape shape = s.tree.RowShape(3); // a1x
    EXPECT_EQ(shape.depth, 4);
    EXPECT_TRUE(shape.hasLaterSibling);
    EXPECT_EQ(shape.ancestorHasLaterSibling, (std::vector<bool>{false, true, true}));
    EXPECT_FALSE(s.tree.RowShape(6).hasLaterSibling);
}

TEST(ReportRowTree, WalksAndDeletions)
{
    Sample s;
    QStringList all;
    for (CTreeItem *row = s.root; row; row = s.tree.GetNextItem(s.root, row, false))
        all << row->RowText();
    EXPECT_EQ(all, (QStringList{"root", "a", "a1", "a1x", "a1y", "a2", "b"}));
    s.tree.Expand(s.a, 1);
    QStringList shown;
    for (CTreeItem *row = s.a; row; row = s.tree.GetNextItem(s.a, row, true))
        shown << row->RowText();
    EXPECT_EQ(shown, (QStringList{"a", "a1", "a2"})) << "a1 is collapsed; the walk stays below a";
    EXPECT_TRUE(CReportRowTree::IsInSubtree(s.a, s.a1y));
    EXPECT_FALSE(CReportRowTree::IsInSubtree(s.a1, s.a2));

    // Rows that an insert or a removal moved still tell their place, asked
    // from the last one up.
    const auto places = [&] {
        QStringList p;
        for (int i = s.b->ChildCount() - 1; i >= 0; --i)
            p.prepend(s.b->Child(i)->RowText() + QString::number(s.b->Child(i)->IndexInParent()));
        return p;
    };
    CTreeItem *b1 = s.tree.InsertItem(s.b, text("b1"));
    s.tree.InsertItem(s.b, text("b2"));
    CTreeItem *b0 = s.tree.InsertItemBefore(s.b, 0, text("b0"));
    EXPECT_EQ(b1->IndexInParent(), 1);
    s.tree.InsertItem(s.b, text("b3"));
    s.tree.InsertItemBefore(s.b, 2, text("b15"));
    EXPECT_EQ(places(), (QStringList{"b00", "b11", "b152", "b23", "b34"}));
    s.tree.DeleteItem(b0);
    EXPECT_EQ(places(), (QStringList{"b10", "b151", "b22", "b33"}));
    s.tree.RemoveChildrenIf(s.b, [&](const CTreeItem &row) { return &row == b1; });
    EXPECT_EQ(places(), (QStringList{"b150", "b21", "b32"}));

    s.tree.DeleteItem(s.a1);
    EXPECT_EQ(visible(s.tree), (QStringList{"root", "  a", "    a2", "  b"}));
    s.tree.DeleteAll();
    EXPECT_EQ(s.tree.RowCount(), 0);
    EXPECT_EQ(s.tree.RootCount(), 0);
}

TEST(ReportRowTree, GroupsAreFoundByKeyAndForgottenWithTheirRow)
{
    CReportRowTree tree;
    CTreeItem *root = tree.InsertRootItem(text("Total"));
    tReportRow project;
    project.Item.SetGroupLine({QStringLiteral("Alpha"), 0, 0.0, 3, 12, 0});
    CTreeItem *alpha = tree.InsertItemSorted(root, std::move(project));
    tReportRow day;
    day.Item.SetGroupLine({QStringLiteral("2024-03-04"), 0, 0.0, 2, -1, 0});
    CTreeItem *monday = tree.InsertItemSorted(root, std::move(day));
    EXPECT_EQ(root->FindGroup(3, QStringLiteral("renamed"), 12), alpha);
    EXPECT_EQ(root->FindGroup(2, QStringLiteral("2024-03-04"), -1), monday);
    EXPECT_EQ(root->FindGroup(4, QString(), 12), nullptr);
    tree.RemoveChildrenIf(root, [&](const CTreeItem &row) { return &row == alpha; });
    EXPECT_EQ(root->FindGroup(3, QString(), 12), nullptr);
    EXPECT_EQ(root->ChildCount(), 1);
}

TEST(ReportRowTree, ChecksSpreadDownAndUp)
{
    Sample s;
    s.tree.ToggleCheck(s.a);
    for (const CTreeItem *row : {s.a, s.a1, s.a1x, s.a1y, s.a2})
        EXPECT_EQ(row->Record().Check, 1) << row->RowText().toStdString();
    EXPECT_EQ(s.root->Record().Check, 2) << "b is unchecked";
    s.tree.ToggleCheck(s.a1x);
    EXPECT_EQ(s.a1x->Record().Check, 0);
    EXPECT_EQ(s.a1->Record().Check, 2);
    EXPECT_EQ(s.a->Record().Check, 2);
    EXPECT_EQ(s.root->Record().Check, 2);
    s.tree.ToggleCheck(s.b);
    s.tree.ToggleCheck(s.a1x);
    EXPECT_EQ(s.root->Record().Check, 1);

    // Recomputed from the leaves: a checked row checks its subtree, a
    // mixed leaf is reset.
    s.a1x->Record().Check = 0;
    s.a2->Record().Check = 2;
    s.root->Record().Check = 0;
    s.tree.RecomputeChecks(s.root);
    EXPECT_EQ(s.a1x->Record().Check, 1) << "a was checked: the groups below it follow";
    EXPECT_EQ(s.a2->Record().Check, 0);
    EXPECT_EQ(s.a->Record().Check, 2);
    EXPECT_EQ(s.root->Record().Check, 2);
}

TEST(ReportRowTree, ADroppedTreeLeavesItsMemoryToTheNextTree)
{
    CReportRowMemory &memory = CReportRowMemory::Shared();
    const auto fill = [](CReportRowTree &tree) {
        CTreeItem *root = tree.InsertRootItem(text("Total"));
        for (int i = 0; i < 5000; ++i)
            tree.InsertItem(root, text(QString::number(i)));
    };
    const size_t before = memory.KeptBytes();
    {
        CReportRowTree first;
        fill(first);
    }
    const size_t left = memory.KeptBytes();
    EXPECT_GT(left, before);
    {
        CReportRowTree second;
        fill(second);
        EXPECT_LT(memory.KeptBytes(), left);
        // Emptied, a tree gives its memory back too.
        second.DeleteAll();
        EXPECT_EQ(memory.KeptBytes(), left);
    }
}

TEST(ReportRowMemory, HandsBackAChunkOfTheSameSizeAndKeepsNoMoreThanItsBound)
{
    CReportRowMemory memory(3000);
    void *a = memory.allocate(1000, 8);
    void *b = memory.allocate(1000, 8);
    void *c = memory.allocate(2000, 16);
    memory.deallocate(a, 1000, 8);
    memory.deallocate(b, 1000, 8);
    EXPECT_EQ(memory.KeptBytes(), 2000u);
    // Past the bound, a chunk goes back to the system.
    memory.deallocate(c, 2000, 16);
    EXPECT_EQ(memory.KeptBytes(), 2000u);
    void *other = memory.allocate(500, 8);
    EXPECT_EQ(memory.KeptBytes(), 2000u);
    void *same = memory.allocate(1000, 8);
    EXPECT_TRUE(same == a || same == b);
    EXPECT_EQ(memory.KeptBytes(), 1000u);
    memory.deallocate(other, 500, 8);
    memory.deallocate(same, 1000, 8);
    EXPECT_EQ(memory.KeptBytes(), 2500u);
}

// A large chunk is mapped on its own, on a huge page's boundary, and goes
// back to the system past the bound; the allocator is then asked to hand
// back what it keeps free, once.
TEST(ReportRowMemory, LargeChunksAreMappedAndAnOverflowReturnsTheFreedMemoryOnce)
{
    CReportRowMemory memory(std::size_t(1) << 20);
    const std::size_t large = std::size_t(3) << 20;
    auto *big = static_cast<char *>(memory.allocate(large, 64));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(big) % CReportRowMemory::HugePage, 0u);
    big[0] = 1;
    big[large - 1] = 2;
    void *small = memory.allocate(1000, 8);
    memory.deallocate(small, 1000, 8);
    EXPECT_FALSE(memory.ReturnFreedMemory()) << "nothing went past the bound";
    memory.deallocate(big, large, 64);
    EXPECT_EQ(memory.KeptBytes(), 1000u);
    EXPECT_TRUE(memory.ReturnFreedMemory());
    EXPECT_FALSE(memory.ReturnFreedMemory());
    // A chunk of a huge page's blocks fits one huge page.
    EXPECT_LE(CReportRowMemory::BlocksPerHugePage(192) * 192 + CReportRowMemory::BlocksPerHugePage(192) / 8,
              CReportRowMemory::HugePage);
}
