// The rows of a report as a tree: order, expansion, walks and checks.
#include "CReportRowMemory.h"
#include "CReportRowTree.h"
#include "QStringPrinter.h"

#include <QDate>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>

#include <gtest/gtest.h>

#if defined(__linux__)
#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>
#endif

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

// A row with fewer groups than its index starts at, and with more: the
// keys come in a shuffled order, each asked for before its row is made, as
// a build does, and each twice. Every key is found, the greatest too while
// it is not the last row made, and no key gets a second row; rows appended
// in their order of arrival and rows placed by their text alike.
TEST(ReportRowTree, GroupsAreFoundWhateverOrderTheirKeysComeIn)
{
    const auto group = [](int levelKind, int key) {
        tReportRow row;
        if (levelKind == 2) {
            // Day keys, their text the date.
            const QString date = QDate(2024, 1, 1).addDays(3 * key).toString(Qt::ISODate);
            row.Item.SetGroupLine({date, 0, 0.0, 2, -1, 0});
        } else {
            // Project keys, their names in the reverse order of their ids.
            row.Item.SetGroupLine({QStringLiteral("P%1").arg(1000 - key), 0, 0.0, 3, 7 * key, 0});
        }
        return row;
    };
    const auto find = [](const CTreeItem *parent, int levelKind, int key) {
        return levelKind == 2
                   ? parent->FindGroup(2, QDate(2024, 1, 1).addDays(3 * key).toString(Qt::ISODate), -1)
                   : parent->FindGroup(3, QString(), 7 * key);
    };
    for (const int count : {3, 17, 40}) {
        for (const int levelKind : {2, 3}) {
            for (const bool sorted : {false, true}) {
                SCOPED_TRACE(QStringLiteral("%1 groups of level kind %2%3")
                                 .arg(count)
                                 .arg(levelKind)
                                 .arg(sorted ? QStringLiteral(", placed by their text") : QString())
                                 .toStdString());
                std::vector<int> keys(static_cast<size_t>(count));
                std::iota(keys.begin(), keys.end(), 1);
                std::shuffle(keys.begin(), keys.end(), std::mt19937(unsigned(count)));
                // The greatest comes before the last key.
                if (keys.back() == count)
                    std::swap(keys.front(), keys.back());
                CReportRowTree tree;
                CTreeItem *root = tree.InsertRootItem(text("Total"));
                for (int pass = 0; pass < 2; ++pass) {
                    for (int key : keys) {
                        if (find(root, levelKind, key))
                            continue;
                        if (sorted)
                            tree.InsertItemSorted(root, group(levelKind, key));
                        else
                            tree.InsertItem(root, group(levelKind, key));
                        // Each key made so far is found, the one just made
                        // and the greatest among them included.
                        EXPECT_TRUE(find(root, levelKind, key)) << key;
                    }
                }
                EXPECT_EQ(root->ChildCount(), count) << "no key has a second row";
                for (int key = 1; key <= count; ++key) {
                    const CTreeItem *row = find(root, levelKind, key);
                    ASSERT_TRUE(row) << key;
                    EXPECT_EQ(row->Item().GroupLineOf()->Title, group(levelKind, key).Item.GroupLineOf()->Title);
                }
                EXPECT_FALSE(find(root, levelKind, count + 1));
                EXPECT_FALSE(find(root, levelKind, 0));
            }
        }
    }
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

// A large chunk whose size is no whole number of huge pages, freed at once
// (past the bound): nothing of its mapping stays, up to the end of its last
// huge page.
TEST(ReportRowMemory, AFreedLargeChunkLeavesNothingOfItsMapping)
{
#if defined(__linux__)
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    for (const std::size_t size : {(std::size_t(1) << 20) + 12345, (std::size_t(5) << 20) + page + 1}) {
        SCOPED_TRACE(size);
        CReportRowMemory memory(0);
        auto *chunk = static_cast<char *>(memory.allocate(size, 64));
        chunk[0] = 1;
        chunk[size - 1] = 2;
        const std::size_t rounded = (size + CReportRowMemory::HugePage - 1) / CReportRowMemory::HugePage
                                    * CReportRowMemory::HugePage;
        // Every small page up to the rounded end is mapped while the chunk
        // lives: the question below tells a mapped page from a hole.
        unsigned char resident = 0;
        for (std::size_t at = 0; at < rounded; at += page)
            ASSERT_EQ(mincore(chunk + at, page, &resident), 0) << at;
        memory.deallocate(chunk, size, 64);
        EXPECT_EQ(memory.KeptBytes(), 0u);
        std::size_t mapped = 0;
        for (std::size_t at = 0; at < rounded; at += page)
            mapped += mincore(chunk + at, page, &resident) == 0 || errno != ENOMEM;
        EXPECT_EQ(mapped, 0u) << "small pages still mapped";
    }
#else
    GTEST_SKIP() << "large chunks are mapped on their own on Linux only";
#endif
}
