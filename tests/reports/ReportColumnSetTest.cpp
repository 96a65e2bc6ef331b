// The column catalogue, the user's caption overrides in the settings, and
// the column sets of reports with their stored text.
#include "CReportColumnSet.h"
#include "QStringPrinter.h"
#include "ReportColumnCatalogue.h"
#include "Settings.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

namespace {

// "kind:caption:align:shown" of every column, shown or not.
QString describe(const CReportColumnSet &set)
{
    QStringList columns;
    for (const tReportColumn &c : set.Columns())
        columns << QStringLiteral("%1:%2:%3:%4").arg(c.Kind).arg(c.Caption).arg(c.Align).arg(c.Shown ? 1 : 0);
    return columns.join(u' ');
}

QString kinds(const CReportColumnSet &set)
{
    QStringList list;
    for (const tReportColumn &c : set.Columns())
        list << QString::number(c.Kind);
    return list.join(u',');
}

class ReportColumnsTest : public ::testing::Test
{
protected:
    // Each test starts from the settings of a new user: no override.
    void SetUp() override
    {
        Platform::Settings settings;
        PersistReportColumnSettings(true, settings);
    }
    void TearDown() override { SetUp(); }
};

} // namespace

// Without overrides each kind shows its language caption and alignment;
// overrides are stored under "Colonnes/<key>" and read back, a stored
// alignment outside 0 to 2 reading as none.
TEST_F(ReportColumnsTest, CatalogueAndOverrides)
{
    EXPECT_EQ(FindReportColumnKind(u"Date"), 0);
    EXPECT_EQ(FindReportColumnKind(u"ForecastNotes"), 36);
    EXPECT_EQ(FindReportColumnKind(u"date"), -1);
    EXPECT_EQ(GetReportColumnKey(37), QString());
    EXPECT_EQ(GetReportColumnDefaultAlign(37), ColumnAlignLeft);
    EXPECT_EQ(GetReportColumnDefaultAlign(38), ColumnAlignRight);
    EXPECT_EQ(GetReportColumnDescription(30),
              QStringLiteral("Durée totale calculée en fonction de la durée prévue ou de l'avancement"));

    struct Case
    {
        int kind;
        const char *caption;
        int align;
    };
    for (const Case &c : {Case{0, "Date", 0}, Case{5, "Durée", 1}, Case{8, "Facturée", 2},
                          Case{15, "Taux horaire", 0}, Case{22, "Priorité", 2}, Case{36, "Notes", 0}}) {
        tReportColumn column(c.kind, true);
        EXPECT_EQ(column.GetCaption(), QString::fromUtf8(c.caption)) << c.kind;
        EXPECT_EQ(column.GetAlign(), c.align) << c.kind;
        EXPECT_EQ(column.GetCaption(false), QString());
    }

    SetReportColumnOverride(5, QStringLiteral("Temps"), 2);
    SetReportColumnOverride(8, QString(), 7);
    tReportColumn duree(5, true);
    EXPECT_EQ(duree.GetCaption(), QStringLiteral("Temps"));
    EXPECT_EQ(duree.GetAlign(), 2);
    duree.Caption = QStringLiteral("À moi");
    duree.Align = 0;
    EXPECT_EQ(duree.GetCaption(), QStringLiteral("À moi"));
    EXPECT_EQ(duree.GetAlign(), 0);
    EXPECT_EQ(GetReportColumnAlignOverride(8), -1);

    {
        Platform::Settings settings;
        PersistReportColumnSettings(false, settings);
        EXPECT_EQ(settings.getString(u"Colonnes", u"Duree", u"Name"), QStringLiteral("Temps"));
        EXPECT_EQ(settings.getInt(u"Colonnes", u"Duree", u"Align", 9), 2);
        settings.setInt(u"Colonnes", u"Date", u"Align", 12);
        settings.setString(u"Colonnes", u"Notes", u"Name", QStringLiteral("Remarques"));
    }
    SetReportColumnOverride(5, QString(), -1);
    PersistReportColumnSettings(true);
    EXPECT_EQ(GetReportColumnCaptionOverride(5), QStringLiteral("Temps"));
    EXPECT_EQ(GetReportColumnAlignOverride(5), 2);
    EXPECT_EQ(GetReportColumnAlignOverride(0), -1);
    EXPECT_EQ(tReportColumn(10, true).GetCaption(), QStringLiteral("Remarques"));
    EXPECT_EQ(tReportColumn(36, true).GetCaption(), QStringLiteral("Notes"));

    // The general set carries the overrides as its columns' own; applying
    // a set gives its captions and alignments back to the catalogue.
    CReportColumnSet all(true);
    ASSERT_EQ(all.Count(), 37);
    EXPECT_EQ(all[5].Caption, QStringLiteral("Temps"));
    EXPECT_EQ(all[5].Align, 2);
    EXPECT_EQ(all[0].Caption, QString());
    EXPECT_EQ(all.CountShown(), 0);
    all[5].Caption.clear();
    all[22].Caption = QStringLiteral("Urgence");
    all[22].Align = 0;
    all.ApplyToCatalogue();
    EXPECT_EQ(GetReportColumnCaptionOverride(5), QString());
    EXPECT_EQ(tReportColumn(22, true).GetCaption(), QStringLiteral("Urgence"));
    EXPECT_EQ(tReportColumn(22, true).GetAlign(), 0);
}

// A stored list reads into the set: what it names in its order, then the
// kinds it lacks, hidden.
TEST_F(ReportColumnsTest, StoredListsRead)
{
    CReportColumnSet set;
    set.Parse(u"Date;0;1;-1;Jour|Duree;-1;1;-1;|");
    EXPECT_EQ(kinds(set), QStringLiteral("0,5,1,2,3,4,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"));
    EXPECT_EQ(set[0].GetCaption(), QStringLiteral("Jour"));
    EXPECT_EQ(set[0].GetAlign(), 0);
    EXPECT_TRUE(set[0].Shown);
    EXPECT_EQ(set[1].GetCaption(), QStringLiteral("Durée"));
    EXPECT_EQ(set[1].Align, -1);
    EXPECT_EQ(set[1].GetAlign(), 1);
    EXPECT_EQ(set.CountShown(), 2);
    EXPECT_FALSE(set.IsDefault());

    struct Case
    {
        int type;
        const char16_t *text;
        const char *described; // the columns before the missing kinds
    };
    const Case cases[] = {
        // Another range, a key in lower case, no ";", an unclosed last column.
        {0, u"ForecastName;0;1;-1;|date;0;1;-1;|Fin|Debut;1;1;-1;x|Duree;2;1;-1;y", "3:x:1:1"},
        // Alignment outside 0 to 2, a shown flag other than "1", duplicates.
        {0, u"Fin;5;yes;-1;a|Fin;1;1;-1;b|Debut;2;1;|", "4:a:-1:0 3::2:1"},
        // Fields cut short: what follows the last ";" is the caption.
        {0, u"Fin;1|Debut;|Cout;0;1|", "4:1:-1:0 3::-1:0 7:1:0:0"},
        {2, u"Date;0;1;-1;|ForecastNotes;0;1;-1;Remarques|", "36:Remarques:0:1"},
        {1, u"Date;0;1;-1;|", ""},
        {0, u"  ", ""},
    };
    for (const Case &c : cases) {
        CReportColumnSet s;
        s.SetType(c.type);
        s.Parse(c.text);
        const QString expected = QString::fromUtf8(c.described);
        const int listed = expected.isEmpty() ? 0 : int(expected.count(u' ')) + 1;
        QStringList first = describe(s).split(u' ', Qt::SkipEmptyParts).mid(0, listed);
        EXPECT_EQ(first.join(u' '), expected) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(s.Count(), c.type == 0 ? 21 : c.type == 2 ? 16 : 0);
        EXPECT_FALSE(s.IsDefault());
    }
}

// Captions keep ";" through a store and read; a "|" would cut the list,
// so it is left out; widths are never stored.
TEST_F(ReportColumnsTest, StoredListsKeepCaptionsAndDropWidths)
{
    CReportColumnSet set;
    set.ShowKind(6);
    set[6].Caption = QStringLiteral("Taux; l'heure;");
    set[6].Width = 120;
    set[7].Caption = QStringLiteral("Coût | HT");
    set.ShowKind(7);
    set.ShowKind(8);
    const QString text = set.Format();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Date;-1;0;-1;|Project;-1;0;-1;|")));
    EXPECT_TRUE(text.contains(QStringLiteral("|Rate;-1;1;-1;Taux; l'heure;|Cout;-1;1;-1;Coût  HT|Facture;-1;1;-1;|")));

    CReportColumnSet back;
    back.Parse(text);
    EXPECT_EQ(kinds(back), kinds(set));
    EXPECT_EQ(back[6].Caption, QStringLiteral("Taux; l'heure;"));
    EXPECT_EQ(back[6].Width, -1);
    EXPECT_EQ(back[7].Caption, QStringLiteral("Coût  HT"));
    EXPECT_TRUE(back[8].Shown);
    EXPECT_EQ(back.CountShown(), 3);
    EXPECT_EQ(back.Format(), text);
}

TEST_F(ReportColumnsTest, SwapAndMove)
{
    struct Case
    {
        int target;
        int source;
        bool before;
        bool moved;
        const char *order; // the first five kinds after the move
    };
    const Case cases[] = {
        {0, 3, true, true, "3,0,1,2,4"},   {0, 3, false, true, "0,3,1,2,4"},
        {3, 0, true, true, "1,2,0,3,4"},   {3, 0, false, true, "1,2,3,0,4"},
        {2, 3, false, false, "0,1,2,3,4"}, {3, 2, true, false, "0,1,2,3,4"},
        {2, 3, true, true, "0,1,3,2,4"},   {3, 2, false, true, "0,1,3,2,4"},
        {2, 2, true, false, "0,1,2,3,4"},  {21, 2, true, false, "0,1,2,3,4"},
        {2, -1, true, false, "0,1,2,3,4"}, {20, 0, false, true, "1,2,3,4,5"},
    };
    for (const Case &c : cases) {
        CReportColumnSet set;
        ASSERT_TRUE(set.IsDefault());
        EXPECT_EQ(set.Move(c.target, c.source, c.before), c.moved) << c.target << ' ' << c.source << ' ' << c.before;
        EXPECT_EQ(kinds(set).left(9), QString::fromUtf8(c.order)) << c.target << ' ' << c.source << ' ' << c.before;
        EXPECT_EQ(set.IsDefault(), !c.moved);
        EXPECT_EQ(set.Count(), 21);
    }
    CReportColumnSet moved;
    ASSERT_TRUE(moved.Move(20, 0, false));
    EXPECT_EQ(moved[20].Kind, 0);

    CReportColumnSet set;
    EXPECT_FALSE(set.Swap(4, 4));
    EXPECT_FALSE(set.Swap(4, 21));
    EXPECT_FALSE(set.Swap(-1, 4));
    EXPECT_TRUE(set.IsDefault());
    EXPECT_TRUE(set.Swap(4, 1));
    EXPECT_EQ(kinds(set).left(9), QStringLiteral("0,4,2,3,1"));
    EXPECT_FALSE(set.IsDefault());
}

// Comparing, showing and walking the shown columns.
TEST_F(ReportColumnsTest, ComparingAndWalking)
{
    CReportColumnSet a;
    CReportColumnSet b;
    EXPECT_FALSE(a.Differs(b));
    b[3].Width = 250;
    EXPECT_FALSE(a.Differs(b));
    for (int field = 0; field < 4; ++field) {
        CReportColumnSet c;
        switch (field) {
        case 0: c[3].Caption = QStringLiteral("Heure"); break;
        case 1: c[3].Align = 0; break;
        case 2: c.ShowKind(3); break;
        case 3: c.Append(tReportColumn(4, false)); break;
        }
        EXPECT_TRUE(a.Differs(c)) << field;
    }
    CReportColumnSet copy;
    copy.SetType(CReportColumnSet::TrackingColumns);
    copy.Assign(b);
    EXPECT_EQ(copy.Type(), CReportColumnSet::TimeColumns);
    EXPECT_EQ(copy[3].Width, 250);

    // ShowKind takes the first hidden column of the kind.
    CReportColumnSet set;
    set.Append(tReportColumn(5, false));
    set.ShowKind(5);
    set.ShowKind(5);
    set.ShowKind(5);
    EXPECT_TRUE(set[5].Shown);
    EXPECT_TRUE(set[21].Shown);
    set.ShowKind(12);
    EXPECT_EQ(set.CountShown(), 3);
    int position = 0;
    QList<int> walked;
    while (const tReportColumn *column = set.NextShown(position)) {
        EXPECT_TRUE(column->Shown);
        walked << position;
        ++position;
    }
    EXPECT_EQ(walked, (QList<int>{5, 12, 21}));
    EXPECT_EQ(position, set.Count());

    // Missing kinds come after, in kind order; a cross table gets none.
    CReportColumnSet partial;
    partial.Clear();
    partial.Append(tReportColumn(7, true));
    partial.AddMissingKinds();
    EXPECT_EQ(kinds(partial).left(9), QStringLiteral("7,0,1,2,3"));
    EXPECT_EQ(partial.Count(), 21);
    CReportColumnSet cross;
    cross.SetType(CReportColumnSet::CrossTable);
    cross.FillDefault();
    cross.AddMissingKinds();
    EXPECT_EQ(cross.Count(), 0);
}
