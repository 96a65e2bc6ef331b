// The copy of a report's entries into its own database and the lines it
// hands on, on user databases made through the database layer.
#include "CBdD.h"
#include "CReportExtraction.h"
#include "CReportModel.h"
#include "Clock.h"
#include "Formatter.h"
#include "ProgressDlgShared.h"
#include "QStringPrinter.h"
#include "QuoteSql.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

qint64 At(int y, int m, int d, int h, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s)).toSecsSinceEpoch();
}

QString local(qint64 t)
{
    return t == 0 ? QStringLiteral("0") : QDateTime::fromSecsSinceEpoch(t).toString(u"dd/MM HH:mm:ss");
}

// Keeps what the extraction hands on, as text.
class RecordingSink : public CReportLineSink
{
public:
    void BuildColumns() override { calls << QStringLiteral("columns"); }
    void DefineCrossTabColumns(const std::vector<tCrossTabColumn> &columns) override
    {
        QStringList list;
        for (const tCrossTabColumn &c : columns)
            list << QStringLiteral("%1:%2").arg(c.Kind).arg(c.Value);
        calls << QStringLiteral("cross ") + list.join(u' ');
    }
    void SetTotalRow(const QString &label, bool grouped) override
    {
        calls << QStringLiteral("total %1 %2").arg(label).arg(grouped);
    }
    void AddEntryLine(const tReportEntry &e) override
    {
        lines << QStringLiteral("%1 %2-%3 p%4 a%5").arg(e.Id).arg(local(e.Debut), local(e.Fin)).arg(e.IdProjet).arg(e.IdActivite);
        entries.push_back(e);
        if (onLine)
            onLine();
    }
    void AddCrossTabLine(const tReportEntry &e, int column) override
    {
        lines << QStringLiteral("%1 c%2").arg(e.Id).arg(column);
    }

    QStringList calls;
    QStringList lines;
    std::vector<tReportEntry> entries;
    std::function<void()> onLine;
};

class ReportExtractionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(now);
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        for (int id : {1, 2, 3})
            db.Execute(Platform::Formatter::sprintf(u"insert into Projets (Id, Nom, Deleted) values (%d, 'P%d', %d)",
                                                    {id, id, id == 3 ? 1 : 0}));
        for (int id : {7, 8, 9})
            db.Execute(Platform::Formatter::sprintf(u"insert into Activites (Id, Nom, Deleted) values (%d, '%s', %d)",
                                                    {id, id == 7 ? u"Zeta" : id == 8 ? u"Alpha" : u"Gone", id == 9 ? 1 : 0}));
        definition.Periode = 0;
        definition.Type = 0;
        folder = TestFolders::file(QStringLiteral("private"));
    }
    void TearDown() override { Platform::Clock::reset(); }

    void entry(int id, qint64 debut, qint64 fin, int project = 1, int activity = 7, int facture = 0,
               const QString &title = QString())
    {
        CBdD db(path);
        ASSERT_EQ(db.Execute(Platform::Formatter::sprintf(
                      u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, "
                      u"Title, Notes) values (%d, %I64d, %I64d, %d, %d, %d, -1, 0, '%s', '')",
                      {id, debut, fin, project, activity, facture, QuoteSql(title)})),
                  0);
    }
    QStringList build(RecordingSink &sink, ProgressDlgShared *progress = nullptr, bool *result = nullptr)
    {
        CReportExtraction extraction(definition, progress);
        const bool ok = definition.Type == 3 ? extraction.BuildCrossTabReport(path, folder, sink)
                                             : extraction.BuildReport(path, folder, sink);
        if (result)
            *result = ok;
        else
            EXPECT_TRUE(ok);
        EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/tmprep.sdb")));
        return sink.lines;
    }
    QStringList build()
    {
        RecordingSink sink;
        return build(sink);
    }

    const qint64 now = At(2024, 3, 4, 10);
    QString path;
    QString folder;
    tReportDefinition definition;
};

} // namespace

TEST_F(ReportExtractionTest, EntriesOverSeveralDaysArePiecedPerDay)
{
    entry(1, At(2024, 2, 10, 22), At(2024, 2, 12, 2));
    entry(2, At(2024, 2, 20, 22), At(2024, 2, 22, 2, 30));
    entry(3, At(2024, 2, 25, 9), At(2024, 2, 25, 17));
    entry(4, At(2024, 3, 3, 21), 0); // running since yesterday
    EXPECT_EQ(build(), (QStringList{
                           "1 10/02 22:00:00-10/02 23:59:59 p1 a7",
                           "1 11/02 00:00:00-11/02 23:59:59 p1 a7",
                           "1 12/02 00:00:00-12/02 02:00:00 p1 a7",
                           "2 20/02 22:00:00-20/02 23:59:59 p1 a7",
                           "2 21/02 00:00:00-21/02 23:59:59 p1 a7",
                           "2 22/02 00:00:00-22/02 02:30:00 p1 a7",
                           "3 25/02 09:00:00-25/02 17:00:00 p1 a7",
                           "4 03/03 21:00:00-03/03 23:59:59 p1 a7",
                           "4 04/03 00:00:00-0 p1 a7",
                       }));
}

// A day of a clock change lasts 23 or 25 hours, and its piece ends at its
// own 23:59:59.
TEST_F(ReportExtractionTest, PiecesKeepTheirDayOverClockChanges)
{
    entry(1, At(2024, 3, 30, 22), At(2024, 4, 1, 2));
    entry(2, At(2024, 10, 26, 22), At(2024, 10, 28, 2));
    Platform::Clock::setFixedNow(At(2024, 12, 1, 12));
    RecordingSink sink;
    EXPECT_EQ(build(sink), (QStringList{
                               "1 30/03 22:00:00-30/03 23:59:59 p1 a7",
                               "1 31/03 00:00:00-31/03 23:59:59 p1 a7",
                               "1 01/04 00:00:00-01/04 02:00:00 p1 a7",
                               "2 26/10 22:00:00-26/10 23:59:59 p1 a7",
                               "2 27/10 00:00:00-27/10 23:59:59 p1 a7",
                               "2 28/10 00:00:00-28/10 02:00:00 p1 a7",
                           }));
    // Each piece counts up to its midnight: the pieces add up to the entry.
    std::vector<qint64> seconds;
    for (const tReportEntry &e : sink.entries)
        seconds.push_back(e.Seconds());
    const std::vector<qint64> expected{7200, 23 * 3600, 7200, 7200, 25 * 3600, 7200};
    EXPECT_EQ(seconds, expected);
}

// What a report counts of an entry is its length within the period, piece
// by piece: a running entry keeps the last day of a period that has ended
// and counts nothing of the day it reaches the present in; an entry over
// midnight, a clock change or the period's end loses no second; dates in
// reverse stand for the same period. No piece ends before it starts, and
// an entry that does, or that ends on the period's first second, makes no
// line and adds nothing to any total.
TEST_F(ReportExtractionTest, ThePiecesOfAnEntryAddUpToItsLengthInThePeriod)
{
    struct Case
    {
        const char *what;
        qint64 debut;
        qint64 fin; // 0: running
        int periode;
        QDate from;
        QDate to;
        qint64 seconds;
        int pieces;
        QString lastPiece;
    };
    const QDate none;
    // Now is Monday 4 March 2024, 10:00.
    const Case cases[] = {
        {"running since January, the previous month", At(2024, 1, 15, 9), 0, 3, QDate(2024, 2, 1),
         QDate(2024, 2, 29), 29 * 86400, 29, "29/02 00:00:00-29/02 23:59:59"},
        {"running since yesterday 15:00, yesterday", At(2024, 3, 3, 15), 0, 7, QDate(2024, 3, 3), QDate(2024, 3, 3),
         9 * 3600, 1, "03/03 15:00:00-03/03 23:59:59"},
        {"running since Saturday 20:00, dates ending today", At(2024, 3, 2, 20), 0, 9, QDate(2024, 3, 1),
         QDate(2024, 3, 4), 28 * 3600, 3, "04/03 00:00:00-0"},
        {"running since Saturday 20:00, the whole database", At(2024, 3, 2, 20), 0, 0, none, none, 28 * 3600, 3,
         "04/03 00:00:00-0"},
        {"22:00 to 02:00", At(2024, 2, 10, 22), At(2024, 2, 11, 2), 0, none, none, 4 * 3600, 2,
         "11/02 00:00:00-11/02 02:00:00"},
        {"up to midnight exactly", At(2024, 2, 10, 22), At(2024, 2, 11, 0), 0, none, none, 2 * 3600, 1,
         "10/02 22:00:00-10/02 23:59:59"},
        {"over the night the clock goes forward", At(2024, 3, 30, 22), At(2024, 4, 1, 2), 9, QDate(2024, 3, 1),
         QDate(2024, 4, 30), 2 * 3600 + 23 * 3600 + 2 * 3600, 3, "01/04 00:00:00-01/04 02:00:00"},
        {"over the night the clock goes back", At(2024, 10, 26, 22), At(2024, 10, 28, 2), 9, QDate(2024, 10, 1),
         QDate(2024, 10, 31), 2 * 3600 + 25 * 3600 + 2 * 3600, 3, "28/10 00:00:00-28/10 02:00:00"},
        {"past the period's end", At(2024, 3, 31, 23), At(2024, 4, 1, 1), 4, QDate(2024, 3, 1), QDate(2024, 3, 31),
         3600, 1, "31/03 23:00:00-31/03 23:59:59"},
        {"dates in reverse", At(2024, 2, 28, 9), At(2024, 4, 2, 10), 9, QDate(2024, 3, 31), QDate(2024, 3, 1),
         31 * 86400 - 3600, 31, "31/03 00:00:00-31/03 23:59:59"},
        // An end before the start (the dialogs refuse it; another writer
        // of the file may leave it) makes no line and counts nothing.
        {"10:00 to 09:00, the whole database", At(2024, 2, 12, 10), At(2024, 2, 12, 9), 0, none, none, 0, 0, {}},
        {"10:00 to 09:00, its month", At(2024, 2, 12, 10), At(2024, 2, 12, 9), 3, QDate(2024, 2, 1),
         QDate(2024, 2, 29), 0, 0, {}},
        {"10:00 to 09:00 the day before, its month", At(2024, 2, 12, 10), At(2024, 2, 11, 9), 3, QDate(2024, 2, 1),
         QDate(2024, 2, 29), 0, 0, {}},
        // Up to the first second of the period: nothing of it lies within.
        {"29 February 22:00 to 1 March 00:00, March", At(2024, 2, 29, 22), At(2024, 3, 1, 0), 4, QDate(2024, 3, 1),
         QDate(2024, 3, 31), 0, 0, {}},
    };
    int id = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        entry(++id, c.debut, c.fin);
        definition.Periode = c.periode;
        definition.Debut = c.from;
        definition.Fin = c.to;
        definition.Projets.clear();
        RecordingSink sink;
        build(sink);
        qint64 seconds = 0;
        int pieces = 0;
        for (const tReportEntry &e : sink.entries) {
            if (e.Id != id)
                continue;
            ++pieces;
            seconds += e.Seconds();
            EXPECT_TRUE(e.Fin == 0 || e.Fin >= e.Debut) << local(e.Debut).toStdString();
            EXPECT_GE(e.Seconds(), 0);
        }
        EXPECT_EQ(seconds, c.seconds);
        EXPECT_EQ(pieces, c.pieces);
        if (c.pieces == 0) {
            EXPECT_EQ(sink.lines, QStringList());
        } else {
            ASSERT_FALSE(sink.lines.isEmpty());
            EXPECT_EQ(sink.lines.last(), QStringLiteral("%1 %2 p1 a7").arg(id).arg(c.lastPiece));
        }
        // The report's totals count the same, and so do the columns of a
        // cross table.
        CReportModel model;
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>());
        model.ResetForRefresh();
        ASSERT_TRUE(CReportExtraction(definition, nullptr).BuildReport(path, folder, model));
        model.ShowRows();
        ASSERT_TRUE(model.TotalRow());
        EXPECT_EQ(model.TotalRow()->Item().GroupLineOf()->Duree, c.seconds);
        EXPECT_EQ(model.TotalRow()->ChildCount() == 0, c.pieces == 0);
        tReportDefinition cross = definition;
        cross.Type = 3;
        cross.Grp_Col = 2;
        RecordingSink crossSink;
        ASSERT_TRUE(CReportExtraction(cross, nullptr).BuildCrossTabReport(path, folder, crossSink));
        EXPECT_EQ(crossSink.lines.size(), c.pieces) << crossSink.lines.join(u' ').toStdString();
        CBdD db(path);
        db.Execute(Platform::Formatter::sprintf(u"delete from Taches where Id=%d", {id}));
    }
}

TEST_F(ReportExtractionTest, APeriodClipsPiecesAndKeepsItsEntries)
{
    entry(1, At(2024, 2, 29, 20), At(2024, 3, 1, 3));  // last evening of February
    entry(2, At(2024, 2, 29, 9), At(2024, 2, 29, 10)); // February only
    entry(3, At(2024, 3, 31, 23), At(2024, 4, 1, 1));  // into April
    entry(4, At(2024, 3, 2, 8), At(2024, 3, 2, 9));
    definition.Periode = 4;
    definition.Debut = QDate(2024, 3, 1);
    definition.Fin = QDate(2024, 3, 31);
    EXPECT_EQ(build(), (QStringList{
                           "1 01/03 00:00:00-01/03 03:00:00 p1 a7",
                           "4 02/03 08:00:00-02/03 09:00:00 p1 a7",
                           "3 31/03 23:00:00-31/03 23:59:59 p1 a7",
                       }));
}

// The file holds its entries in the order they were made, which an entry
// moved to another day, or made afterwards for an earlier day, leaves out
// of the order of starts: the lines still come by start, of one start the
// later made first, the pieces of longer entries among them, whether the
// report spans the whole database or a period; with detail, each line
// keeps its own texts.
TEST_F(ReportExtractionTest, LinesComeByStartWhateverOrderTheFileHoldsThem)
{
    entry(5, At(2024, 3, 2, 9), At(2024, 3, 2, 10), 1, 7, 0, QStringLiteral("cinq"));
    entry(2, At(2024, 3, 1, 14), At(2024, 3, 1, 15), 1, 7, 0, QStringLiteral("deux"));
    entry(9, At(2024, 3, 1, 22), At(2024, 3, 2, 9), 1, 7, 0, QStringLiteral("neuf"));
    entry(3, At(2024, 3, 2, 9), At(2024, 3, 2, 11), 1, 7, 0, QStringLiteral("trois"));
    entry(7, At(2024, 3, 2, 9), At(2024, 3, 2, 9, 30), 1, 7, 0, QStringLiteral("sept"));
    entry(1, At(2024, 3, 1, 8), At(2024, 3, 1, 9), 1, 7, 0, QStringLiteral("un"));
    const QStringList expected{
        "1 01/03 08:00:00-01/03 09:00:00 p1 a7", "2 01/03 14:00:00-01/03 15:00:00 p1 a7",
        "9 01/03 22:00:00-01/03 23:59:59 p1 a7", "9 02/03 00:00:00-02/03 09:00:00 p1 a7",
        "7 02/03 09:00:00-02/03 09:30:00 p1 a7", "5 02/03 09:00:00-02/03 10:00:00 p1 a7",
        "3 02/03 09:00:00-02/03 11:00:00 p1 a7",
    };
    definition.Detail = true;
    for (const int periode : {0, 4}) {
        SCOPED_TRACE(periode);
        definition.Periode = periode;
        definition.Debut = QDate(2024, 3, 1);
        definition.Fin = QDate(2024, 3, 31);
        RecordingSink sink;
        EXPECT_EQ(build(sink), expected);
        QStringList titles;
        for (const tReportEntry &e : sink.entries)
            titles << e.Title;
        EXPECT_EQ(titles, (QStringList{"un", "deux", "neuf", "neuf", "sept", "cinq", "trois"}));
    }
}

// More lines than one block holds, each entry of its own start, project
// and title, with detail: made in the order of their starts (the lines
// need no sorting) and in the reverse one (they are sorted), every line
// read back is its own entry, in start order, none repeated or skipped
// where one block ends and the next begins.
TEST_F(ReportExtractionTest, LinesOfSeveralBlocksComeBackEachOnceInOrder)
{
    constexpr int Count = 4100;
    definition.Detail = true;
    const qint64 first = At(2024, 1, 1, 8);
    // Ten-minute entries a quarter of an hour apart, within their day.
    const auto startOf = [&](int i) { return first + qint64(i / 40) * 86400 + qint64(i % 40) * 900; };
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "made newest first" : "made in start order");
        {
            CBdD db(path);
            ASSERT_EQ(db.Execute(u"delete from Taches"), 0);
            ASSERT_EQ(db.Execute(u"begin"), 0);
            if (!reversed) {
                for (int i = 0; i < Count; ++i)
                    ASSERT_EQ(db.Execute(Platform::Formatter::sprintf(
                                  u"insert into Projets (Id, Nom, Deleted) values (%d, 'P%d', 0)", {1000 + i, i})),
                              0);
            }
            for (int n = 0; n < Count; ++n) {
                const int i = reversed ? Count - 1 - n : n;
                ASSERT_EQ(db.Execute(Platform::Formatter::sprintf(
                              u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, "
                              u"Deleted, Title, Notes) values (%d, %I64d, %I64d, %d, 7, 0, -1, 0, 'e%d', 'n%d')",
                              {n + 1, startOf(i), startOf(i) + 600, 1000 + i, i, i})),
                          0);
            }
            ASSERT_EQ(db.Execute(u"commit"), 0);
        }
        RecordingSink sink;
        build(sink);
        ASSERT_EQ(sink.entries.size(), size_t(Count));
        int wrong = 0;
        for (int i = 0; i < Count; ++i) {
            const tReportEntry &e = sink.entries[size_t(i)];
            const int id = reversed ? Count - i : i + 1;
            const bool own = e.Id == id && e.Debut == startOf(i) && e.Fin == startOf(i) + 600
                             && e.IdProjet == 1000 + i && e.Title == QStringLiteral("e%1").arg(i) && e.Notes == QStringLiteral("n%1").arg(i);
            if (!own && ++wrong <= 5)
                ADD_FAILURE() << "line " << i << ": " << sink.lines[i].toStdString() << " " << e.Title.toStdString();
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(ReportExtractionTest, TheInvoicedFilter)
{
    entry(1, At(2024, 3, 1, 8), At(2024, 3, 1, 9), 1, 7, 0);
    entry(2, At(2024, 3, 1, 10), At(2024, 3, 1, 11), 1, 7, 1);
    const std::pair<int, QStringList> cases[] = {
        {0, {"1 01/03 08:00:00-01/03 09:00:00 p1 a7", "2 01/03 10:00:00-01/03 11:00:00 p1 a7"}},
        {1, {"1 01/03 08:00:00-01/03 09:00:00 p1 a7"}},
        {2, {"2 01/03 10:00:00-01/03 11:00:00 p1 a7"}},
    };
    for (const auto &[status, expected] : cases) {
        definition.Status = status;
        EXPECT_EQ(build(), expected) << status;
    }
}

TEST_F(ReportExtractionTest, DeletedAndMissingProjectsAndActivitiesBecomeMinusOne)
{
    entry(1, At(2024, 3, 1, 8), At(2024, 3, 1, 9), 3, 9);   // both deleted
    entry(2, At(2024, 3, 1, 10), At(2024, 3, 1, 11), 50, 60); // both missing
    entry(3, At(2024, 3, 1, 12), At(2024, 3, 1, 13), 2, 8);
    entry(4, At(2024, 3, 1, 14), At(2024, 3, 1, 15), -1, -1);
    EXPECT_EQ(build(), (QStringList{
                           "1 01/03 08:00:00-01/03 09:00:00 p-1 a-1",
                           "2 01/03 10:00:00-01/03 11:00:00 p-1 a-1",
                           "3 01/03 12:00:00-01/03 13:00:00 p2 a8",
                           "4 01/03 14:00:00-01/03 15:00:00 p-1 a-1",
                       }));
}

TEST_F(ReportExtractionTest, TheListsFilterTheLinesAndTextsComeWithDetailOnly)
{
    entry(1, At(2024, 3, 1, 8), At(2024, 3, 1, 9), 1, 7, 0, QStringLiteral("l'un"));
    entry(2, At(2024, 3, 1, 10), At(2024, 3, 1, 11), 2, 7);
    entry(3, At(2024, 3, 1, 12), At(2024, 3, 1, 13), 1, 8);
    definition.Projets = QStringLiteral("(1)");
    definition.Activites = QStringLiteral("(7, 8)");
    RecordingSink sink;
    EXPECT_EQ(build(sink), (QStringList{"1 01/03 08:00:00-01/03 09:00:00 p1 a7", "3 01/03 12:00:00-01/03 13:00:00 p1 a8"}));
    EXPECT_EQ(sink.calls, (QStringList{"columns", "total Total : 1"}));
    EXPECT_EQ(sink.entries[0].Title, QStringLiteral("l'un"));
    definition.Detail = false;
    RecordingSink summary;
    build(summary);
    EXPECT_EQ(summary.entries[0].Title, QString());
}

TEST_F(ReportExtractionTest, TheFilterAndTheColumnExpressions)
{
    tReportDefinition d;
    d.Projets.clear();
    d.Activites.clear();
    EXPECT_EQ(CReportExtraction::BuildReportFilter(d), QString());
    d.Activites = QStringLiteral("(3)");
    EXPECT_EQ(CReportExtraction::BuildReportFilter(d), QStringLiteral("where rptTaches.IdActivite in (3) "));
    d.Projets = QStringLiteral("(1,2)");
    EXPECT_EQ(CReportExtraction::BuildReportFilter(d),
              QStringLiteral("where rptTaches.IdProjet in (1,2) and rptTaches.IdActivite in (3) "));

    const QString date = QStringLiteral("date(Debut, 'unixepoch', 'localtime')");
    struct Case
    {
        int column;
        std::array<int, 5> levels;
        QString expected;
    };
    const Case cases[] = {
        {0, {3, -1, -1, -1, -1}, QStringLiteral("substr(%1,1,4) as Colonne").arg(date)},
        {1, {0, 3, -1, -1, -1}, QStringLiteral("substr(%1,6,2) as Colonne").arg(date)},
        {1, {3, -1, -1, -1, -1}, QStringLiteral("substr(%1,1,7) as Colonne").arg(date)},
        {2, {0, 1, -1, -1, -1}, QStringLiteral("substr(%1,9,2) as Colonne").arg(date)},
        {2, {0, -1, 1, -1, -1}, QStringLiteral("substr(%1,6,5) as Colonne").arg(date)},
        {2, {3, -1, -1, -1, -1}, QStringLiteral("%1 as Colonne").arg(date)},
        {3, {-1, -1, -1, -1, -1}, QStringLiteral("IdProjet as Colonne")},
        {4, {-1, -1, -1, -1, -1}, QStringLiteral("IdActivite as Colonne")},
        {5, {-1, -1, -1, -1, -1}, QString()},
    };
    for (const Case &c : cases) {
        d.Grp_Col = c.column;
        d.Grp = c.levels;
        EXPECT_EQ(CReportExtraction::GetGroupColumnExpression(d), c.expected) << c.column;
    }
}

TEST_F(ReportExtractionTest, CrossTableColumnsFollowTheColumnGrouping)
{
    entry(1, At(2023, 12, 5, 8), At(2023, 12, 5, 9), 1, 7);
    entry(2, At(2024, 2, 1, 8), At(2024, 2, 1, 9), 2, 8);
    entry(3, At(2024, 2, 2, 8), At(2024, 2, 2, 9), 1, 8);
    definition.Type = 3;
    struct Case
    {
        int column;
        std::array<int, 5> levels;
        QString columns;
        QStringList lines;
    };
    const Case cases[] = {
        {1, {0, 3, -1, -1, -1}, "cross 37: 38:02 38:12 38:", {"1 c2", "2 c1", "3 c1"}},
        {1, {3, -1, -1, -1, -1}, "cross 37: 38:2023-12 38:2024-02 38:", {"1 c1", "2 c2", "3 c2"}},
        {0, {3, -1, -1, -1, -1}, "cross 37: 38:2023 38:2024 38:", {"1 c1", "2 c2", "3 c2"}},
        // Activities in name order: Alpha (8) before Zeta (7).
        {4, {3, -1, -1, -1, -1}, "cross 37: 38:8 38:7 38:", {"1 c2", "2 c1", "3 c1"}},
        {3, {4, -1, -1, -1, -1}, "cross 37: 38:1 38:2 38:", {"1 c1", "2 c2", "3 c1"}},
    };
    for (const Case &c : cases) {
        definition.Grp_Col = c.column;
        definition.Grp = c.levels;
        RecordingSink sink;
        EXPECT_EQ(build(sink), c.lines) << c.column;
        EXPECT_EQ(sink.calls, (QStringList{c.columns, "total Total : 0"})) << c.column;
    }
}

TEST_F(ReportExtractionTest, ACrossTableOverNoEntriesHasTheLabelAndTotalColumnsOnly)
{
    definition.Type = 3;
    definition.Grp_Col = 1;
    RecordingSink sink;
    EXPECT_EQ(build(sink), QStringList());
    EXPECT_EQ(sink.calls, (QStringList{"cross 37: 38:", "total Total : 0"}));
}

TEST_F(ReportExtractionTest, ACancelStopsEarlyAndRemovesTheFile)
{
    for (int i = 0; i < 20; ++i)
        entry(i + 1, At(2024, 3, 1, 8) + i * 60, At(2024, 3, 1, 8) + i * 60 + 30);
    ProgressDlgShared progress([](ProgressDlgShared &) -> quint8 { return 1; }, nullptr);
    RecordingSink sink;
    sink.onLine = [&] { progress.SetCancelled(true); };
    bool ok = false;
    build(sink, &progress, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(sink.lines.size(), 1);
}

TEST_F(ReportExtractionTest, AFailedReadOrABadDefinitionFailsTheBuild)
{
    entry(1, At(2024, 3, 1, 8), At(2024, 3, 1, 9));
    bool ok = true;
    {
        CBdD db(path);
        db.Execute(u"drop table Projets");
    }
    RecordingSink broken;
    build(broken, nullptr, &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(broken.lines.isEmpty());

    // Not a database at all, and no file.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(4096, 'x'));
    file.close();
    RecordingSink garbage;
    build(garbage, nullptr, &ok);
    EXPECT_FALSE(ok);
    path = TestFolders::file(QStringLiteral("missing.sdb"));
    RecordingSink missing;
    build(missing, nullptr, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(QFile::exists(path)) << "a missing file is never created";

    // Hand-edited lists and dates: refused before any SQL is made of them.
    const auto refused = [](const std::function<void(tReportDefinition &)> &edit) {
        tReportDefinition d;
        edit(d);
        return !CReportExtraction::IsBuildable(d);
    };
    EXPECT_TRUE(refused([](tReportDefinition &d) { d.Projets = QStringLiteral("(1) or 1=1"); }));
    EXPECT_TRUE(refused([](tReportDefinition &d) { d.Activites = QStringLiteral("(1);drop table Taches"); }));
    EXPECT_TRUE(refused([](tReportDefinition &d) { d.Projets = QStringLiteral("()"); }));
    EXPECT_TRUE(refused([](tReportDefinition &d) {
        d.Periode = 9;
        d.Fin = QDate();
    }));
    EXPECT_TRUE(refused([](tReportDefinition &d) {
        d.Periode = 9;
        d.Debut = QDate(1850, 1, 1);
    }));
    EXPECT_TRUE(refused([](tReportDefinition &d) {
        d.Type = 3;
        d.Grp_Col = 7;
    }));
    EXPECT_FALSE(refused([](tReportDefinition &d) {
        d.Projets = QStringLiteral("( 1, -1 ,20)");
        d.Periode = 0;
        d.Fin = QDate();
    }));
}
