// The items that the lines of a report carry.
#include "QStringPrinter.h"
#include "tReportItem.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

tReportEntry sampleEntry()
{
    tReportEntry e;
    e.Id = 42;
    e.Debut = 1700000000;
    e.Fin = 1700003600;
    e.IdProjet = 3;
    e.IdActivite = 7;
    e.IdTauxHoraire = 2;
    e.Facture = true;
    e.Title = QStringLiteral("Réunion");
    e.Notes = QString(300, u'n');
    return e;
}

// One way to fill an item per kind, with payloads large enough for the
// sanitizers to see a leak or a use after free.
struct Setter
{
    int kind;
    std::function<void(tReportItem &)> set;
};

const std::vector<Setter> &setters()
{
    static const std::vector<Setter> all = {
        {0, [](tReportItem &i) { i.Free(); }},
        {1, [](tReportItem &i) { i.SetTextLine(QString(100, u't'), QStringList(20, QString(50, u'x'))); }},
        {2,
         [](tReportItem &i) {
             tReportGroupLine g;
             g.Title = QString(200, u'g');
             g.Duree = 7200;
             g.Cout = 0.1;
             g.LevelKind = 3;
             g.KeyId = 12;
             g.LevelIndex = 1;
             i.SetGroupLine(g);
         }},
        {3, [](tReportItem &i) { i.SetEntry(sampleEntry()); }},
        {4, [](tReportItem &i) { i.SetTotalLine(QString(150, u'T'), 64); }},
        {5, [](tReportItem &i) { i.SetPair(12, -2); }},
    };
    return all;
}

} // namespace

// Each payload replaced by each other: the item takes the new kind, and
// only the new payload is reachable.
TEST(ReportItem, EachPayloadReplacesEachOther)
{
    for (const Setter &from : setters()) {
        for (const Setter &to : setters()) {
            tReportItem item;
            from.set(item);
            ASSERT_EQ(item.GetKind(), from.kind);
            to.set(item);
            EXPECT_EQ(item.GetKind(), to.kind) << from.kind << " -> " << to.kind;
            EXPECT_EQ(item.TextLineOf() != nullptr, to.kind == 1);
            EXPECT_EQ(item.GroupLineOf() != nullptr, to.kind == 2);
            EXPECT_EQ(item.EntryOf() != nullptr, to.kind == 3);
            EXPECT_EQ(item.TotalLineOf() != nullptr, to.kind == 4);
            EXPECT_EQ(item.PairOf() != nullptr, to.kind == 5);

            tReportItem copy = item;
            item.Free();
            EXPECT_EQ(item.GetKind(), 0);
            EXPECT_EQ(copy.GetKind(), to.kind);
        }
    }
}

TEST(ReportItem, PayloadsKeepTheirValues)
{
    tReportItem item;
    item.SetEntry(sampleEntry());
    ASSERT_NE(item.EntryOf(), nullptr);
    EXPECT_EQ(*item.EntryOf(), sampleEntry());

    item.SetPair(12, -2);
    ASSERT_NE(item.PairOf(), nullptr);
    EXPECT_EQ(item.PairOf()->IdProjet, 12);
    EXPECT_EQ(item.PairOf()->IdActivite, -2);
    EXPECT_EQ(item.EntryOf(), nullptr);

    item.SetTotalLine(QStringLiteral("Total :"), 3);
    const tReportTotalLine *total = item.TotalLineOf();
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->Title, QStringLiteral("Total :"));
    EXPECT_EQ(total->LevelKind, -1);
    EXPECT_EQ(total->KeyId, -1);
    EXPECT_EQ(total->LevelIndex, 0);
    EXPECT_EQ(total->Sums, (std::vector<qint64>{0, 0, 0}));
}

// Column 1 adds to the first sum; index 0 and indexes past the last sum
// change nothing; the result is the sum's index.
TEST(ReportItem, AddingToATotal)
{
    tReportItem item;
    item.SetTotalLine(QStringLiteral("Total"), 2);
    struct Case
    {
        int index;
        qint64 value;
        int result;
    };
    for (const Case &c : {Case{1, 3600, 0}, Case{2, 60, 1}, Case{2, 5000000000LL, 1}, Case{0, 99, 0},
                          Case{-3, 99, -3}, Case{3, 99, 2}, Case{1000, 99, 999}})
        EXPECT_EQ(item.AddToTotal(c.index, c.value), c.result) << c.index;
    EXPECT_EQ(item.TotalLineOf()->Sums, (std::vector<qint64>{3600, 5000000060LL}));

    // Not a total line: nothing to add to.
    tReportItem entry;
    entry.SetEntry(sampleEntry());
    EXPECT_EQ(entry.AddToTotal(1, 10), 0);
    EXPECT_EQ(*entry.EntryOf(), sampleEntry());
}
