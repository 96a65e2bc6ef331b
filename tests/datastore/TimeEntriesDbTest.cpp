#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CDataChangedNotifier.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "EntryTimes.h"
#include "Formatter.h"
#include "QStringPrinter.h"
#include "ShortBusyWait.h"
#include "TestFolders.h"
#include "tCurrentEntry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDateTime>

#include <algorithm>
#include <functional>

#include <limits>
#include <memory>
#include <random>
#include <set>
#include <tuple>

using namespace EntryTimes;
using Platform::Formatter;

namespace {

// A user database of its own for each test, opened through the shared
// connection as the program does, with an undo history and a current entry.
class TimeEntriesDb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(at(18, 0));
        CAppData::SetCurrentDatabasePath(TestFolders::tempDb());
        CAppData::SetAnnulation(&history);
        CAppData::SetCurrentEntry(&current);
        CAppData::SetAfterBatchHook([](CBdD &db) { db.RefreshCurrentEntry(); });
        QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged,
                         [this](qint64 w, qint64 l) { notices.push_back({w, l}); });
        db = std::make_unique<CBdD>();
        ASSERT_TRUE(db->IsOpen());
    }

    void TearDown() override
    {
        db.reset();
        CAppData::Clear();
    }

    // A row put straight into the table, outside any write.
    void put(int id, qint64 debut, qint64 fin, int projet = 32, int activite = 31, const char *title = "",
             int deleted = 0)
    {
        ASSERT_EQ(db->Execute(Formatter::sprintf(
                      u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                      u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,1000,1,%d,'%s','')",
                      {id, debut, fin, projet, activite, deleted, title})),
                  0);
    }

    // Everything a write may touch, as text (NULL told apart from '').
    QString dump()
    {
        QString out;
        for (const char16_t *table : {u"Taches", u"Infos", u"NextRowId"}) {
            SQLite::MyTablePtr info = db->Query(Formatter::sprintf(u"PRAGMA table_info(%s)", {table}));
            QStringList cols;
            for (int r = 0; info && r < info->rowCount(); ++r)
                cols << QStringLiteral("quote(%1)").arg(info->GetCell(r, 1));
            SQLite::MyTablePtr t = db->Query(Formatter::sprintf(u"select %s from %s order by rowid",
                                                                {cols.join(QStringLiteral("||'|'||")), table}));
            for (int r = 0; t && r < t->rowCount(); ++r)
                out += t->GetCell(r, 0) + u'\n';
        }
        return out;
    }

    tTacheFull row(int id)
    {
        tTacheFull e;
        SQLite::MyTablePtr t = db->Query(Formatter::sprintf(u"select * from Taches where Id=%d", {id}));
        if (t.hasRows()) {
            e.Id = id;
            e.Debut = t->GetInt64(u"Debut");
            e.Fin = t->GetInt64(u"Fin");
            e.IdProjet = t->GetInt(u"IdProjet");
            e.IdActivite = t->GetInt(u"IdActivite");
            e.IdTauxHoraire = t->GetInt(u"IdTauxHoraire");
            e.Facture = t->GetInt(u"Facture");
            e.Title = t->GetValue(u"Title");
            e.Notes = t->GetValue(u"Notes");
        }
        return e;
    }

    bool deleted(int id) { return db->Query(Formatter::sprintf(u"select Deleted from Taches where Id=%d", {id}))->GetFirstInt() == 1; }

    std::vector<tTacheFull> live()
    {
        std::vector<tTacheFull> out;
        SQLite::MyTablePtr t = db->Query(u"select Id from Taches where Deleted=0 order by Debut, Id");
        for (int r = 0; t && r < t->rowCount(); ++r)
            out.push_back(row(t->GetCell(r, 0).toInt()));
        return out;
    }

    // Undoes the last write and checks that it was one group: nothing is
    // left to undo afterwards (the fixtures record no history).
    void undoOnce()
    {
        ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
        EXPECT_FALSE(history.CanUndo()) << "the write left more than one undo group";
    }

    CAnnulation history;
    tCurrentEntry current;
    std::vector<std::pair<qint64, qint64>> notices;
    std::unique_ptr<CBdD> db;
};

} // namespace

// ---------------------------------------------------------------------
// Reads
// ---------------------------------------------------------------------

TEST_F(TimeEntriesDb, ReadsWithoutAConnectionFail)
{
    CBdD none{QString()};
    tTacheFull e;
    std::vector<tTacheParams> list;
    std::vector<tTacheFull> overlaps;
    EXPECT_FALSE(none.GetTimeEntry(e, 101));
    EXPECT_FALSE(none.GetLastTimeEntry(e));
    EXPECT_FALSE(none.LoadTimeEntries(list, Day));
    EXPECT_EQ(none.CountRunningEntries(), -1);
    EXPECT_FALSE(none.FindOverlappingEntries(e, overlaps));
    EXPECT_FALSE(none.SaveTimeEntry(entry(-1, at(9, 0), at(10, 0))));
    EXPECT_FALSE(none.InsertTimeEntry(e, CBdD::FitIntoGap));
    EXPECT_FALSE(none.DeleteTimeEntries(QStringLiteral("(1)")));
    EXPECT_FALSE(none.HasEntriesAfter(0));
    QDateTime a, b;
    EXPECT_FALSE(none.GetTimeEntryBounds(a, b));
    EXPECT_EQ(a.toSecsSinceEpoch(), at(18, 0));
    EXPECT_EQ(b.toSecsSinceEpoch(), at(18, 0));
    EXPECT_FALSE(none.RefreshCurrentEntry());
    bool failed = false;
    EXPECT_FALSE(none.GetNewestTimeEntry(e, &failed));
    EXPECT_TRUE(failed);
    std::vector<tHistory> recent;
    EXPECT_FALSE(none.ReadRecentCombinations(recent));
}

TEST_F(TimeEntriesDb, ReadsOneEntryTheLastAndTheRunningOnes)
{
    put(1, at(9, 0), at(10, 0), 32, 31, "matin");
    put(4, at(10, 0), at(11, 0));
    put(7, at(11, 0), Running);
    put(10, at(12, 0), at(13, 0), 32, 31, "", 1);
    tTacheFull e;
    ASSERT_TRUE(db->GetTimeEntry(e, 1));
    EXPECT_EQ(e.Title, QStringLiteral("matin"));
    EXPECT_EQ(e.IdProjet, 32);
    EXPECT_FALSE(db->GetTimeEntry(10, e)) << "deleted entries are not read";
    ASSERT_TRUE(db->GetLastTimeEntry(e));
    EXPECT_EQ(e.Id, 4);
    std::vector<tTacheParams> running;
    ASSERT_TRUE(db->GetRunningEntries(running));
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0].Id, 7);
    EXPECT_EQ(running[0].endSlot, 1);
}

// The newest entry and the recent combinations are read from the top of the
// index by start; they must be what the plain statements over the whole
// table give: the newest live entry by start (entries without a start
// last), and the ten combinations whose newest live entry is newest.
TEST_F(TimeEntriesDb, NewestEntryAndRecentCombinationsAreThoseOfTheWholeTable)
{
    struct Case
    {
        int entries;
        int combinations;
        int withoutStart; // live entries with no start
        int oneNewest = 0; // the newest entries, all of one combination
    };
    const Case cases[] = {
        {0, 1, 0},    {1, 1, 0},    {5, 3, 0},     {40, 12, 0},  {300, 1, 0},  {300, 9, 0},
        {300, 11, 0}, {700, 40, 0}, {2000, 300, 0}, {600, 25, 3}, {0, 1, 2},    {30, 4, 2},
        {1500, 30, 0, 900}, {1500, 6, 0, 900}, {1500, 30, 2, 1200}, {2000, 14, 0, 1990},
    };
    std::mt19937 random(54);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries, " << c.combinations << " combinations, "
                                        << c.withoutStart << " without a start, " << c.oneNewest
                                        << " newest of one combination");
        ASSERT_EQ(db->Execute(u"delete from Taches"), 0);
        // Distinct starts, so that the order is the same whatever reads it.
        std::vector<qint64> starts(size_t(c.entries));
        for (int i = 0; i < c.entries; ++i)
            starts[size_t(i)] = 1500000000 + 600 * qint64(i);
        std::shuffle(starts.begin(), starts.end(), random);
        db->Connection()->BeginTransaction();
        for (int i = 0; i < c.entries; ++i) {
            const bool newest = starts[size_t(i)] >= 1500000000 + 600 * qint64(c.entries - c.oneNewest);
            const int combination = newest ? 0 : int(random() % unsigned(c.combinations));
            const int deleted = random() % 7 == 0 ? 1 : 0;
            put(1000 + i, starts[size_t(i)], starts[size_t(i)] + 300, combination % 17, combination / 17, "",
                deleted);
            ASSERT_EQ(db->Execute(Formatter::sprintf(u"update Taches set IdTauxHoraire=%d where Id=%d",
                                                     {combination % 3, 1000 + i})),
                      0);
        }
        for (int i = 0; i < c.withoutStart; ++i)
            ASSERT_EQ(db->Execute(Formatter::sprintf(
                          u"insert into Taches (Id,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted) values (%d,0,%d,-1,-1,0)",
                          {9000 + i, 500 + i})),
                      0);
        db->Connection()->CommitTransaction();

        SQLite::MyTablePtr plain =
            db->Query(u"select Taches.* from Taches Where Deleted=0 order by Debut desc LIMIT 1");
        tTacheFull newest;
        bool failed = true;
        EXPECT_EQ(db->GetNewestTimeEntry(newest, &failed), plain.hasRows());
        EXPECT_FALSE(failed);
        if (plain.hasRows()) {
            EXPECT_EQ(newest.Id, plain->GetIntAt(0, plain->ColumnIndex(u"Id")));
        }

        plain = db->Query(
            u"select IdProjet, IdActivite, IdTauxHoraire, max(Debut) as maxDeb from Taches where Deleted=0 "
            u"group by IdProjet,IdActivite,IdTauxHoraire order by maxDeb desc limit 10");
        ASSERT_TRUE(plain);
        QStringList expected;
        for (int r = 0; r < plain->rowCount(); ++r)
            expected << QStringLiteral("%1/%2/%3").arg(plain->GetCell(r, 0), plain->GetCell(r, 1), plain->GetCell(r, 2));
        std::vector<tHistory> recent;
        ASSERT_TRUE(db->ReadRecentCombinations(recent));
        QStringList read;
        for (const tHistory &h : recent)
            read << QStringLiteral("%1/%2/%3").arg(h.IdProjet).arg(h.IdActivite).arg(h.IdTauxHoraire);
        if (c.withoutStart > 0 && c.entries > 0) {
            // Combinations whose entries all lack a start tie (no newest
            // start) after the others, in no set order.
            const qsizetype dated = std::min<qsizetype>(expected.size(), 10 - c.withoutStart);
            EXPECT_EQ(read.mid(0, dated), expected.mid(0, dated));
            EXPECT_EQ(read.size(), expected.size());
        } else {
            EXPECT_EQ(read, expected);
        }
    }
}

// The two reads stop near the top of the history: on twenty thousand
// entries they run a small part of the steps of the plain statements over
// the whole table (counted by SQLite's progress handler).
TEST_F(TimeEntriesDb, NewestEntryAndRecentCombinationsDoNotReadTheWholeHistory)
{
    db->Connection()->BeginTransaction();
    for (int i = 0; i < 20000; ++i)
        put(1000 + i, 1500000000 + 600 * qint64(i), 1500000000 + 600 * qint64(i) + 300, i % 40, i % 12);
    db->Connection()->CommitTransaction();
    sqlite3 *handle = db->Connection()->Handle();
    int steps = 0;
    sqlite3_progress_handler(handle, 100, [](void *count) { return ++*static_cast<int *>(count), 0; }, &steps);
    const auto stepsOf = [&](const std::function<void()> &read) {
        steps = 0;
        read();
        return steps;
    };
    tTacheFull newest;
    std::vector<tHistory> recent;
    const int newestSteps = stepsOf([&] { EXPECT_TRUE(db->GetNewestTimeEntry(newest)); });
    // Whether anything comes after a start now, which is the usual start.
    const qint64 last = 1500000000 + 600 * qint64(19999) + 300;
    bool failed = true;
    const int afterSteps = stepsOf([&] { EXPECT_FALSE(db->HasEntriesAfter(last, &failed)); });
    EXPECT_FALSE(failed);
    const int plainAfter = stepsOf([&] {
        db->Query(Formatter::sprintf(u"Select Id FROM Taches Where (Debut > %I64d or Fin > %I64d) and Deleted=0 limit 1",
                                     {last, last}));
    });
    EXPECT_TRUE(db->HasEntriesAfter(last - 1));
    const int recentSteps = stepsOf([&] { EXPECT_TRUE(db->ReadRecentCombinations(recent)); });
    const int plainNewest = stepsOf(
        [&] { db->Query(u"select Taches.* from Taches Where Deleted=0 order by Debut desc LIMIT 1"); });
    const int plainRecent = stepsOf([&] {
        db->Query(u"select IdProjet, IdActivite, IdTauxHoraire, max(Debut) as maxDeb from Taches where Deleted=0 "
                  u"group by IdProjet,IdActivite,IdTauxHoraire order by maxDeb desc limit 10");
    });
    EXPECT_EQ(newest.Id, 20999);
    EXPECT_EQ(recent.size(), 10u);
    EXPECT_LT(newestSteps * 50, plainNewest) << newestSteps << " against " << plainNewest;
    EXPECT_LT(afterSteps * 50, plainAfter) << afterSteps << " against " << plainAfter;
    EXPECT_LT(recentSteps * 20, plainRecent) << recentSteps << " against " << plainRecent;

    // Weeks on one project: the newest thousands of entries hold a single
    // combination. The read goes down the index to the tenth combination
    // and stops there.
    ASSERT_EQ(db->Execute(u"update Taches set IdProjet=99, IdActivite=99 where Id >= 17000"), 0);
    recent.clear();
    const int deepSteps = stepsOf([&] { EXPECT_TRUE(db->ReadRecentCombinations(recent)); });
    const int plainDeep = stepsOf([&] {
        db->Query(u"select IdProjet, IdActivite, IdTauxHoraire, max(Debut) as maxDeb from Taches where Deleted=0 "
                  u"group by IdProjet,IdActivite,IdTauxHoraire order by maxDeb desc limit 10");
    });
    sqlite3_progress_handler(handle, 0, nullptr, nullptr);
    ASSERT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent[0].IdProjet, 99);
    EXPECT_EQ(recent[1].IdProjet, 16999 % 40);
    EXPECT_LT(deepSteps * 3, plainDeep) << deepSteps << " against " << plainDeep;
}

TEST_F(TimeEntriesDb, CountRunningEntries)
{
    EXPECT_EQ(db->CountRunningEntries(), -1) << "empty table";
    put(1, at(9, 0), at(10, 0));
    EXPECT_EQ(db->CountRunningEntries(), 0) << "only finished entries";
    put(4, at(10, 0), Running);
    put(7, at(11, 0), Running);
    std::vector<int> ids;
    EXPECT_EQ(db->CountRunningEntries(&ids), 2);
    EXPECT_EQ(ids, (std::vector<int>{4, 7}));
}

TEST_F(TimeEntriesDb, AFailedReadIsNeitherNothingRunningNorNothingLater)
{
    put(4, at(10, 0), Running);
    bool failed = true;
    EXPECT_TRUE(db->HasEntriesAfter(at(9, 0), &failed));
    EXPECT_FALSE(failed);
    // A read that cannot run (here: the table is gone) tells so.
    ASSERT_EQ(db->Execute(u"alter table Taches rename to TachesAilleurs"), 0);
    EXPECT_EQ(db->CountRunningEntries(), CBdD::ReadFailed);
    EXPECT_FALSE(db->HasEntriesAfter(at(9, 0), &failed));
    EXPECT_TRUE(failed);
}

TEST_F(TimeEntriesDb, CurrentEntryFollowsTheSingleRunningEntry)
{
    put(1, at(17, 0), Running, 32, 35, "en cours");
    ASSERT_TRUE(db->RefreshCurrentEntry());
    EXPECT_EQ(current.Entry.Id, 1);
    EXPECT_EQ(current.Entry.IdActivite, 35);
    EXPECT_EQ(current.Elapsed, 3600);

    // With two running entries the previous current entry stays.
    put(4, at(17, 30), Running);
    EXPECT_FALSE(db->RefreshCurrentEntry());
    EXPECT_EQ(current.Entry.Id, 1);

    // None running: reset, the elapsed time keeps its value.
    ASSERT_EQ(db->Execute(u"update Taches set Fin=1"), 0);
    ASSERT_TRUE(db->RefreshCurrentEntry());
    EXPECT_EQ(current.Entry, tTacheFull());
    EXPECT_EQ(current.Elapsed, 3600);

    // A start in the future counts no elapsed time.
    put(7, at(19, 0), Running);
    ASSERT_TRUE(db->RefreshCurrentEntry());
    EXPECT_EQ(current.Entry.Id, 7);
    EXPECT_EQ(current.Elapsed, 0);
}

TEST_F(TimeEntriesDb, OneDaysEntriesWithTheRunningEntryRule)
{
    // Now: 10 March 18:00. An entry running since 9 March 22:00, one
    // crossing midnight into the 11th, one on the 12th.
    put(1, at(22, 0, 0, Day.addDays(-1)), Running);
    put(4, at(23, 30), at(0, 30, 0, Day.addDays(1)));
    put(7, at(9, 0, 0, Day.addDays(2)), at(10, 0, 0, Day.addDays(2)));
    put(10, at(23, 59, 59), at(23, 59, 59) + 1); // the last second of the day
    put(13, at(0, 0, 0, Day.addDays(1)), at(1, 0, 0, Day.addDays(1))); // the next day's first second

    struct Case { QDate day; std::vector<int> ids; };
    const Case cases[] = {
        {Day.addDays(-1), {1}},
        {Day, {1, 4, 10}},
        {Day.addDays(1), {4, 13}}, // a future day: the running entry started before it
        {Day.addDays(2), {7}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString());
        std::vector<tTacheParams> list(3); // emptied first
        ASSERT_TRUE(db->LoadTimeEntries(list, c.day));
        std::vector<int> ids;
        for (const tTacheParams &p : list) {
            ids.push_back(p.Id);
            EXPECT_EQ(p.firstSlot, 0);
            EXPECT_EQ(p.endSlot, 1);
        }
        EXPECT_EQ(ids, c.ids);
    }

    // A running entry that starts on a future day shows on that day.
    put(16, at(8, 0, 0, Day.addDays(3)), Running);
    std::vector<tTacheParams> list;
    ASSERT_TRUE(db->LoadTimeEntries(list, Day.addDays(3)));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Id, 16);
}

TEST_F(TimeEntriesDb, DaysOfDaylightSavingChangesHaveTheirOwnLength)
{
    // 29 March 2026 lasts 23 hours, 25 October 2026 lasts 25 hours.
    const QDate spring(2026, 3, 29);
    const QDate autumn(2026, 10, 25);
    Platform::Clock::setFixedNow(at(12, 0, 0, QDate(2026, 11, 1)));
    put(1, at(23, 30, 0, spring.addDays(-1)), at(0, 30, 0, spring));     // crosses into the short day
    put(4, at(23, 59, 0, spring), at(0, 10, 0, spring.addDays(1)));       // its last minute
    put(7, at(0, 0, 0, spring.addDays(1)), at(1, 0, 0, spring.addDays(1))); // next day
    // 23:30 on the 25th is 25.5 hours after its midnight.
    put(10, at(23, 30, 0, autumn), at(23, 45, 0, autumn));
    put(13, at(0, 0, 0, autumn.addDays(1)), at(0, 5, 0, autumn.addDays(1)));

    struct Case { QDate day; std::vector<int> ids; };
    const Case cases[] = {
        {spring.addDays(-1), {1}},
        {spring, {1, 4}},
        {spring.addDays(1), {4, 7}},
        {autumn, {10}},
        {autumn.addDays(1), {13}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString());
        std::vector<tTacheParams> list;
        ASSERT_TRUE(db->LoadTimeEntries(list, c.day));
        std::vector<int> ids;
        for (const tTacheParams &p : list)
            ids.push_back(p.Id);
        EXPECT_EQ(ids, c.ids);
    }
}

// A day's read looks only at entries that start within the longest entry's
// length before the day: it must still give every entry that reaches into
// the day, in the same order, as the plain rule (starts by the day's end,
// ends after its start or runs) does. Random histories with a few entries
// far longer than the others, read day by day over their whole span.
TEST_F(TimeEntriesDb, ADaysEntriesAreEveryEntryThatReachesIntoIt)
{
    std::mt19937 random(20260310);
    const QDate first(2018, 3, 20);
    const QDate last(2018, 11, 10);
    const qint64 from = at(0, 0, 0, first);
    const qint64 span = at(0, 0, 0, last) - from;
    db->Execute(u"BEGIN");
    std::set<qint64> starts;
    for (int id = 1; id <= 3000; ++id) {
        qint64 start;
        do
            start = from + static_cast<qint64>(random() % static_cast<quint32>(span));
        while (!starts.insert(start).second);
        const int kind = static_cast<int>(random() % 100);
        const qint64 length = kind < 2 ? 86400 * static_cast<qint64>(1 + random() % 40) // days long
                              : kind < 4 ? -1                                         // running
                                         : static_cast<qint64>(60 + random() % 14400);
        put(id, start, length < 0 ? Running : start + length, 32, 31, "", kind % 17 == 0 ? 1 : 0);
    }
    db->Execute(u"COMMIT");
    Platform::Clock::setFixedNow(at(12, 0, 0, QDate(2018, 7, 1)));

    const qint64 now = Platform::Clock::now();
    for (QDate day = first.addDays(-2); day <= last.addDays(2); day = day.addDays(1)) {
        const qint64 dayStart = at(0, 0, 0, day);
        const qint64 dayEnd = at(0, 0, 0, day.addDays(1)) - 1;
        std::vector<int> expected;
        SQLite::MyTablePtr t = db->Query(Formatter::sprintf(
            u"select Id, Debut, Fin from Taches where Debut <= %I64d and (Fin > %I64d or Fin=0) and Deleted=0 "
            u"order by Debut asc",
            {dayEnd, dayStart}));
        for (int r = 0; t && r < t->rowCount(); ++r) {
            if (t->GetInt64At(r, 2) == 0 && now < dayStart && t->GetInt64At(r, 1) < dayStart)
                continue;
            expected.push_back(t->GetIntAt(r, 0));
        }
        std::vector<tTacheParams> list;
        ASSERT_TRUE(db->LoadTimeEntries(list, day));
        std::vector<int> ids;
        for (const tTacheParams &p : list)
            ids.push_back(p.Id);
        ASSERT_EQ(ids, expected) << day.toString(Qt::ISODate).toStdString();
    }
}

// ---------------------------------------------------------------------
// Writes of one entry
// ---------------------------------------------------------------------

TEST_F(TimeEntriesDb, NewEntryEndsTheRunningOneInTheSameUndoGroup)
{
    put(1, at(9, 0), Running);
    ASSERT_TRUE(db->RefreshCurrentEntry());
    const QString before = dump();
    tTacheFull e = entry(-1, at(10, 0), Running);
    e.IdProjet = 32;
    e.Title = QStringLiteral("l'après-midi");
    ASSERT_TRUE(db->SaveTimeEntry(e));
    EXPECT_EQ(e.Id, -1) << "the caller's record keeps Id -1";
    EXPECT_EQ(row(1).Fin, at(10, 0));
    tTacheFull stored = e;
    stored.Id = 101; // the first id this desktop allocates
    EXPECT_EQ(row(101), stored);
    EXPECT_EQ(current.Entry.Id, 101);
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.back(), (std::pair<qint64, qint64>{0, 0}));

    undoOnce();
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(current.Entry.Id, 1) << "undo reloads the current entry";
}

TEST_F(TimeEntriesDb, SavingLeavesALaterRunningEntryOpen)
{
    put(1, at(11, 0), Running);
    ASSERT_TRUE(db->SaveTimeEntry(entry(-1, at(9, 0), at(10, 0))));
    EXPECT_EQ(row(1).Fin, Running);
}

TEST_F(TimeEntriesDb, TimesBeyondThirtyTwoBitsStayWhole)
{
    // 1 January 2040: past the range of a signed 32-bit count of seconds.
    const qint64 t2040 = QDateTime(QDate(2040, 1, 1), QTime(9, 0)).toSecsSinceEpoch();
    ASSERT_GT(t2040, qint64(std::numeric_limits<qint32>::max()));
    put(1, t2040, Running);
    ASSERT_TRUE(db->SaveTimeEntry(entry(-1, t2040 + 3600, t2040 + 7200)));
    EXPECT_EQ(row(1).Fin, t2040 + 3600) << "the running entry before the new one ends where it starts";
    EXPECT_EQ(row(101).Debut, t2040 + 3600);
    EXPECT_EQ(row(101).Fin, t2040 + 7200);
    ASSERT_TRUE(db->SetTimeEntryTimes(101, t2040 + 7200, t2040 + 9000));
    EXPECT_EQ(row(101).Debut, t2040 + 7200);
    std::vector<tTacheFull> list;
    tTacheFull probe = entry(-1, t2040 + 8000, t2040 + 8500);
    EXPECT_FALSE(db->FindOverlappingEntries(probe, list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].Id, 101);
    EXPECT_TRUE(db->HasEntriesAfter(t2040 + 8999));
    EXPECT_FALSE(db->HasEntriesAfter(t2040 + 9000));
}

TEST_F(TimeEntriesDb, UpdateOfAStoredEntryAndWhatItTellsTheMainFrame)
{
    put(1, at(9, 0), at(10, 0), 32, 31, "avant");
    struct Case { const char *what; int projet, activite; qint64 lParam; };
    const Case cases[] = {
        {"title only", 32, 31, 0},
        {"another activity", 32, 35, 1},
        {"another project", 38, 35, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        tTacheFull e = row(1);
        e.IdProjet = c.projet;
        e.IdActivite = c.activite;
        e.Title = QString::fromUtf8(c.what);
        notices.clear();
        ASSERT_TRUE(db->SaveTimeEntry(e));
        EXPECT_EQ(row(1), e);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0], (std::pair<qint64, qint64>{0, c.lParam}));
    }
    // An entry whose stored row is deleted is stored again under a new id.
    ASSERT_EQ(db->Execute(u"update Taches set Deleted=1 where Id=1"), 0);
    tTacheFull e = row(1);
    ASSERT_TRUE(db->SaveTimeEntry(e));
    EXPECT_TRUE(deleted(1));
    EXPECT_EQ(row(101).Title, e.Title);
}

TEST_F(TimeEntriesDb, RetimeStopAndDeleteAreEachOneUndoableWrite)
{
    put(1, at(9, 0), Running);
    put(2, at(7, 0), at(8, 0));
    ASSERT_EQ(db->Execute(u"update Taches set Date_Modif=NULL where Id=2"), 0);
    struct Case { const char *what; std::function<bool()> write; std::function<void()> check; };
    const Case cases[] = {
        {"re-time", [&] { return db->SetTimeEntryTimes(2, at(7, 30), at(8, 30)); },
         [&] { EXPECT_EQ(row(2).Debut, at(7, 30)); EXPECT_EQ(row(2).Fin, at(8, 30)); }},
        {"stop", [&] { return db->StopTimeEntry(1, at(12, 0)); },
         [&] { EXPECT_EQ(row(1).Fin, at(12, 0)); EXPECT_EQ(current.Entry.Id, -1); }},
        {"delete", [&] { return db->DeleteTimeEntry(2); }, [&] { EXPECT_TRUE(deleted(2)); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(db->RefreshCurrentEntry());
        const QString before = dump();
        ASSERT_TRUE(c.write());
        c.check();
        undoOnce();
        EXPECT_EQ(dump(), before) << "NULL stamps come back as NULL";
    }
    // Writes about an entry that is not there fail and leave no undo group;
    // so does a stop of an entry that is not running (any more): one ended
    // or deleted meanwhile by the other program keeps its end.
    put(3, at(13, 0), Running, 32, 31, "", 1);
    const QString before = dump();
    EXPECT_FALSE(db->SetTimeEntryTimes(99, at(1, 0), at(2, 0)));
    EXPECT_FALSE(db->StopTimeEntry(99, at(2, 0)));
    EXPECT_FALSE(db->DeleteTimeEntry(99));
    EXPECT_FALSE(db->StopTimeEntry(2, at(18, 0))) << "ended already";
    EXPECT_FALSE(db->StopTimeEntry(3, at(18, 0))) << "deleted";
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(history.CanUndo());
}

TEST_F(TimeEntriesDb, TheProjectStoreNamesKnownIdsAndKeepsTheRecentCombinations)
{
    CProjectStore store;
    tElement project;
    project.Id = 32;
    project.Nom = QStringLiteral("Chantier");
    store.AddProject(project, nullptr, QString());
    tElement activity;
    activity.Id = 31;
    activity.Nom = QStringLiteral("Étude");
    store.SetActivity(31, activity);
    CAppData::SetProjectStore(&store);

    // Ids the store does not know are no project or activity of the
    // current entry.
    struct Case { int projet, activite, wantProjet, wantActivite; };
    const Case cases[] = {{32, 31, 32, 31}, {99, 31, -1, 31}, {32, 98, 32, -1}, {-1, -1, -1, -1}};
    for (const Case &c : cases) {
        ASSERT_EQ(db->Execute(u"delete from Taches"), 0);
        put(1, at(17, 0), Running, c.projet, c.activite);
        ASSERT_TRUE(db->RefreshCurrentEntry());
        EXPECT_EQ(current.Entry.IdProjet, c.wantProjet) << c.projet;
        EXPECT_EQ(current.Entry.IdActivite, c.wantActivite) << c.activite;
    }
    ASSERT_EQ(db->Execute(u"delete from Taches"), 0);

    // A new entry puts its combination at the head of the recent list; an
    // update, a write that fails and a fit that finds no room do not.
    auto head = [&] {
        int p = 0, a = 0, r = 0;
        return store.GetHistoryEntry(0, p, a, r) ? std::tuple{p, a, r} : std::tuple{-9, -9, -9};
    };
    tTacheFull e = entry(-1, at(9, 0), at(10, 0));
    e.IdProjet = 32;
    e.IdActivite = 31;
    e.IdTauxHoraire = 4;
    ASSERT_TRUE(db->SaveTimeEntry(e));
    EXPECT_EQ(head(), std::tuple(32, 31, 4));
    tTacheFull stored = row(101);
    stored.IdTauxHoraire = 5;
    ASSERT_TRUE(db->SaveTimeEntry(stored));
    EXPECT_EQ(store.GetHistoryCount(), 1);
    tTacheFull inside = entry(-1, at(9, 15), at(9, 45));
    EXPECT_FALSE(db->InsertTimeEntry(inside, CBdD::FitIntoGap));
    ASSERT_EQ(db->Execute(u"create trigger refuse before insert on Taches when new.Title='refusé' "
                          u"begin select raise(abort, 'refused'); end"),
              0);
    tTacheFull refused = entry(-1, at(12, 0), at(13, 0));
    refused.Title = QStringLiteral("refusé");
    EXPECT_FALSE(db->SaveTimeEntry(refused));
    EXPECT_EQ(store.GetHistoryCount(), 1);
    tTacheFull over = entry(-1, at(9, 30), at(11, 0));
    over.IdProjet = 33;
    ASSERT_TRUE(db->InsertTimeEntry(over, CBdD::OverwriteNeighbours));
    EXPECT_EQ(head(), std::tuple(33, -1, -1));
    EXPECT_EQ(store.GetHistoryCount(), 2);
}

TEST_F(TimeEntriesDb, WritesThatLandMakeTheAutomaticBackupWhenDue)
{
    int backups = 0;
    CAppData::SetAutoBackupHook([&] { ++backups; });
    put(1, at(9, 0), Running);
    put(2, at(7, 0), at(8, 0));
    struct Case { const char *what; std::function<bool()> write; bool lands; int backups; };
    const Case cases[] = {
        {"save", [&] { return db->SaveTimeEntry(entry(-1, at(5, 0), at(6, 0))); }, true, 1},
        {"re-time", [&] { return db->SetTimeEntryTimes(2, at(7, 30), at(8, 30)); }, true, 1},
        {"stop", [&] { return db->StopTimeEntry(1, at(12, 0)); }, true, 1},
        {"delete", [&] { return db->DeleteTimeEntry(2); }, true, 1},
        {"insert", [&] { tTacheFull e = entry(-1, at(13, 0), at(14, 0)); return db->InsertTimeEntry(e, CBdD::FitIntoGap); },
         true, 1},
        {"re-time a missing entry", [&] { return db->SetTimeEntryTimes(99, at(1, 0), at(2, 0)); }, false, 0},
        {"delete a missing entry", [&] { return db->DeleteTimeEntry(99); }, false, 0},
        // A stop is followed by the backup check whatever its outcome.
        {"stop a missing entry", [&] { return db->StopTimeEntry(99, at(2, 0)); }, false, 1},
        {"fit without room", [&] { tTacheFull e = entry(-1, at(13, 15), at(13, 45)); return db->InsertTimeEntry(e, CBdD::FitIntoGap); },
         false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        backups = 0;
        EXPECT_EQ(c.write(), c.lands);
        EXPECT_EQ(backups, c.backups);
    }
}

// ---------------------------------------------------------------------
// Overlaps
// ---------------------------------------------------------------------

// The other program holds the file exclusively while it commits, and every
// read made meanwhile fails: such a failure is never taken for an empty
// table, which would forget the running entry or let an overlap through.
TEST_F(TimeEntriesDb, ReadsThatMeetTheOtherProgramsCommitChangeNothing)
{
    put(1, at(9, 0), at(10, 0));
    put(4, at(17, 0), Running);
    ASSERT_TRUE(db->RefreshCurrentEntry());
    ASSERT_EQ(current.Entry.Id, 4);
    tTacheFull over = entry(-1, at(9, 30), at(10, 30));
    std::vector<tTacheFull> list{entry(7, 0, 0)};

    // The other program holds the file past every wait.
    const ShortBusyWait noWait(*db->Connection());
    SQLite::CmyDataBase other;
    ASSERT_EQ(other.Open(db->GetPath()), 0);
    ASSERT_EQ(other.Execute(u"BEGIN EXCLUSIVE"), 0);
    EXPECT_FALSE(db->RefreshCurrentEntry());
    EXPECT_EQ(current.Entry.Id, 4);
    EXPECT_FALSE(db->FindOverlappingEntries(over, list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Id, 7);
    EXPECT_EQ(over.Debut, at(9, 30));
    // Nor is an empty day or an empty list of running entries reported.
    std::vector<tTacheParams> entries;
    EXPECT_FALSE(db->LoadTimeEntries(entries, Day));
    EXPECT_FALSE(db->GetRunningEntries(entries));
    EXPECT_TRUE(entries.empty());
    // Nor "no such entry", "nothing running", "nothing later" or "no
    // entries at all".
    tTacheFull one;
    bool failed = false;
    EXPECT_FALSE(db->GetTimeEntry(one, 1, &failed));
    EXPECT_TRUE(failed);
    EXPECT_EQ(db->CountRunningEntries(), CBdD::ReadFailed);
    failed = false;
    EXPECT_FALSE(db->HasEntriesAfter(at(8, 0), &failed));
    EXPECT_TRUE(failed);
    const QDateTime kept = QDateTime::fromSecsSinceEpoch(7);
    QDateTime first = kept, last = kept;
    EXPECT_FALSE(db->GetTimeEntryBounds(first, last));
    EXPECT_EQ(first, kept);
    EXPECT_EQ(last, kept);
    ASSERT_EQ(other.Execute(u"ROLLBACK"), 0);

    EXPECT_TRUE(db->GetTimeEntry(one, 1, &failed));
    EXPECT_FALSE(db->GetTimeEntry(one, 2, &failed));
    EXPECT_FALSE(failed) << "no such entry";
    EXPECT_EQ(db->CountRunningEntries(), 1);
    EXPECT_TRUE(db->HasEntriesAfter(at(8, 0)));
    EXPECT_FALSE(db->HasEntriesAfter(at(18, 0), &failed));
    EXPECT_FALSE(failed) << "nothing later";
    EXPECT_TRUE(db->GetTimeEntryBounds(first, last));
    EXPECT_EQ(first.toSecsSinceEpoch(), at(9, 0));

    // The file free again, both read as before.
    ASSERT_TRUE(db->RefreshCurrentEntry());
    EXPECT_EQ(current.Entry.Id, 4);
    EXPECT_FALSE(db->FindOverlappingEntries(over, list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].Id, 1);
    EXPECT_TRUE(db->LoadTimeEntries(entries, Day));
    EXPECT_EQ(entries.size(), 2u);
    entries.clear();
    EXPECT_TRUE(db->GetRunningEntries(entries));
    EXPECT_EQ(entries.size(), 1u);
}

// The stamp the views compare to know whether the file changed: a failed
// read is told apart from an empty stamp, and the text is always emptied.
TEST_F(TimeEntriesDb, ModifStampTellsTheLastWriteAndAFailedRead)
{
    QString stamp = QStringLiteral("old");
    EXPECT_TRUE(db->GetModifStamp(stamp));
    EXPECT_EQ(stamp, ""); // a new file holds an empty stamp
    Platform::Clock::setFixedNow(at(18, 30));
    ASSERT_TRUE(db->SaveTimeEntry(entry(-1, at(9, 0), at(10, 0))));
    EXPECT_TRUE(db->GetModifStamp(stamp));
    EXPECT_EQ(stamp, QString::number(at(18, 30)));

    // The other program holds the file past every wait.
    const ShortBusyWait noWait(*db->Connection());
    SQLite::CmyDataBase other;
    ASSERT_EQ(other.Open(db->GetPath()), 0);
    ASSERT_EQ(other.Execute(u"BEGIN EXCLUSIVE"), 0);
    EXPECT_FALSE(db->GetModifStamp(stamp));
    EXPECT_EQ(stamp, "");
    ASSERT_EQ(other.Execute(u"ROLLBACK"), 0);

    ASSERT_EQ(db->Execute(u"delete from Infos where Name='Modif'"), 0);
    stamp = QStringLiteral("old");
    EXPECT_TRUE(db->GetModifStamp(stamp));
    EXPECT_EQ(stamp, "");
    CBdD none{QString()};
    stamp = QStringLiteral("old");
    EXPECT_FALSE(none.GetModifStamp(stamp));
    EXPECT_EQ(stamp, "");
}

TEST_F(TimeEntriesDb, FindOverlappingEntriesWithTheEdgeTolerance)
{
    put(1, at(9, 0), at(10, 0, 25));
    put(2, at(12, 0), at(13, 0));
    put(3, at(8, 0), at(9, 0), 32, 31, "", 1); // deleted rows never collide

    // A running entry started 25 s before the last end starts at that end.
    tTacheFull running = entry(-1, at(10, 0), Running);
    std::vector<tTacheFull> list{entry(5, 0, 0)};
    ASSERT_EQ(db->Execute(u"update Taches set Deleted=1 where Id=2"), 0);
    EXPECT_TRUE(db->FindOverlappingEntries(running, list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(running.Debut, at(10, 0, 25));
    ASSERT_EQ(db->Execute(u"update Taches set Deleted=0 where Id=2"), 0);

    // An hour touching the neighbour by 25 s is a collision to show.
    tTacheFull hour = entry(-1, at(10, 0), at(11, 0));
    EXPECT_FALSE(db->FindOverlappingEntries(hour, list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], hour);
    EXPECT_EQ(list[1].Id, 1);
    EXPECT_EQ(hour.Debut, at(10, 0));

    // Nothing collides: true and no list.
    tTacheFull free = entry(-1, at(10, 30), at(11, 30));
    EXPECT_TRUE(db->FindOverlappingEntries(free, list));
    EXPECT_TRUE(list.empty());

    // The entry's own stored row is not a collision.
    tTacheFull moved = row(1);
    moved.Debut = at(9, 30);
    EXPECT_TRUE(db->FindOverlappingEntries(moved, list));

    // Colliding rows come in start order after the entry.
    tTacheFull wide = entry(-1, at(8, 0), at(14, 0));
    EXPECT_FALSE(db->FindOverlappingEntries(wide, list));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].Id, 1);
    EXPECT_EQ(list[2].Id, 2);

    // The rows are read around the entry only, yet one still running since
    // long before, and the longest of all, which begins inside the entry
    // and ends as far after it as it can, are collisions as well, in an
    // insertion too.
    put(4, at(14, 40), at(14, 40) + 30 * 3600);
    put(5, at(14, 0) - 20 * 3600, Running);
    tTacheFull late = entry(-1, at(14, 30), at(14, 45));
    EXPECT_FALSE(db->FindOverlappingEntries(late, list));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].Id, 5);
    EXPECT_EQ(list[2].Id, 4);
    ASSERT_TRUE(db->InsertTimeEntry(late, CBdD::OverwriteNeighbours));
    EXPECT_EQ(row(4).Debut, at(14, 45));
    EXPECT_EQ(row(5).Fin, at(14, 30));
}

TEST_F(TimeEntriesDb, EntriesThatMayOverlapHoldEveryEntryThatCollides)
{
    const qint64 h = 3600;
    const qint64 d = at(8, 0);
    put(1, d, d + h);
    put(2, d + h / 2, d + 3 * h / 4);        // inside 1
    put(3, d + h - 20, d + 2 * h);           // 20 s into 1: trimmed
    put(4, d + 3 * h, d + 4 * h);            // apart
    put(5, d + 5 * h, d + 35 * h);           // the longest entry
    put(6, d + 30 * h, d + 31 * h);          // inside 5, far from its start
    put(7, d + 40 * h, Running);
    put(8, d + 41 * h, d + 42 * h);          // after 7 started
    put(9, d + 36 * h, d + 37 * h, 32, 31, "", 1);
    put(10, d + 36 * h + 600, d + 36 * h + 1800); // inside 9, which is deleted
    put(11, d + 38 * h, d + 39 * h);
    ASSERT_EQ(db->Execute(u"update Taches set Fin=NULL where Id=11"), 0); // read as running

    std::set<int> found;
    ASSERT_TRUE(db->EntriesThatMayOverlap({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99}, found));
    for (int id = 1; id <= 11; ++id) {
        if (deleted(id))
            continue;
        tTacheFull e = row(id);
        const tTacheFull read = e;
        std::vector<tTacheFull> list;
        const bool collides = !db->FindOverlappingEntries(e, list) || e.Debut != read.Debut || e.Fin != read.Fin;
        EXPECT_TRUE(!collides || found.count(id)) << id;
    }
    // Those apart, deleted or missing are left out.
    for (int id : {4, 9, 10, 99})
        EXPECT_FALSE(found.count(id)) << id;

    ASSERT_TRUE(db->EntriesThatMayOverlap({}, found));
    EXPECT_TRUE(found.empty());
    CBdD none{QString()};
    EXPECT_FALSE(none.EntriesThatMayOverlap({1}, found));
}

TEST_F(TimeEntriesDb, FitIntoTheLongestGap)
{
    put(1, at(9, 0), at(10, 0));
    put(2, at(10, 30), at(12, 0));
    const QString before = dump();

    tTacheFull e = entry(-1, at(9, 30), at(11, 0));
    e.Title = QStringLiteral("entre deux");
    ASSERT_TRUE(db->InsertTimeEntry(e, CBdD::FitIntoGap));
    EXPECT_EQ(e.Debut, at(10, 0));
    EXPECT_EQ(e.Fin, at(10, 30));
    EXPECT_EQ(row(101).Debut, at(10, 0));
    EXPECT_EQ(row(101).Fin, at(10, 30));
    EXPECT_EQ(row(1).Fin, at(10, 0)) << "neighbours are not changed";
    EXPECT_EQ(row(2).Debut, at(10, 30));
    undoOnce();
    EXPECT_EQ(dump(), before);

    // No free time: nothing written, no undo group.
    tTacheFull inside = entry(-1, at(11, 0), at(11, 30));
    EXPECT_FALSE(db->InsertTimeEntry(inside, CBdD::FitIntoGap));
    EXPECT_EQ(inside.Debut, at(11, 0));
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(history.CanUndo());

    // A running neighbour ends no gap: no entry lands in 1970.
    put(3, at(13, 0), Running);
    tTacheFull late = entry(-1, at(12, 30), at(16, 0));
    ASSERT_TRUE(db->InsertTimeEntry(late, CBdD::FitIntoGap));
    EXPECT_EQ(late.Debut, at(12, 30));
    EXPECT_EQ(late.Fin, at(13, 0));
}

TEST_F(TimeEntriesDb, OverwriteSplitsASpanningEntryAndOneUndoPutsItBack)
{
    put(1, at(9, 0), at(12, 0), 32, 35, "long");
    ASSERT_EQ(db->Execute(u"update Taches set Facture=1, IdTauxHoraire=2, Notes='des ''notes''' where Id=1"), 0);
    const tTacheFull spanning = row(1);
    const QString before = dump();

    tTacheFull e = entry(-1, at(10, 0), at(11, 0));
    e.IdProjet = 38;
    ASSERT_TRUE(db->InsertTimeEntry(e, CBdD::OverwriteNeighbours));
    EXPECT_EQ(row(1).Fin, at(10, 0));
    // The remainder is a new entry with the same fields, then the entry.
    tTacheFull rest = spanning;
    rest.Id = 101;
    rest.Debut = at(11, 0);
    rest.Fin = at(12, 0);
    EXPECT_EQ(row(101), rest);
    EXPECT_EQ(row(104).Debut, at(10, 0));
    EXPECT_EQ(row(104).IdProjet, 38);
    EXPECT_EQ(live().size(), 3u);

    undoOnce();
    EXPECT_EQ(dump(), before);
}

TEST_F(TimeEntriesDb, OverwriteLeavesNoOverlap)
{
    put(1, at(9, 0), at(10, 30));   // cut
    put(2, at(10, 15), at(10, 40)); // inside: deleted
    put(3, at(10, 50), at(11, 0));  // ends exactly at the end: deleted too
    put(4, at(10, 55), at(11, 30)); // moved
    put(5, at(8, 0), at(9, 0));     // untouched
    const QString before = dump();
    tTacheFull e = entry(-1, at(10, 0), at(11, 0));
    ASSERT_TRUE(db->InsertTimeEntry(e, CBdD::OverwriteNeighbours));
    EXPECT_EQ(row(1).Fin, at(10, 0));
    EXPECT_TRUE(deleted(2));
    EXPECT_TRUE(deleted(3));
    EXPECT_EQ(row(4).Debut, at(11, 0));
    EXPECT_EQ(row(5).Fin, at(9, 0));
    const std::vector<tTacheFull> rows = live();
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(rows[i - 1].Fin, rows[i].Debut) << rows[i - 1].Id << " overlaps " << rows[i].Id;
    undoOnce();
    EXPECT_EQ(dump(), before);
}

TEST_F(TimeEntriesDb, RunningOverwrite)
{
    put(1, at(9, 0), at(10, 30));  // ends after the start: cut
    put(2, at(8, 0), Running);     // still running: ends at the start
    put(3, at(10, 0), at(10, 20)); // starts at the start: deleted
    put(4, at(14, 0), at(15, 0));  // later: deleted
    put(5, at(7, 0), at(8, 0));    // earlier: untouched
    const QString before = dump();
    tTacheFull e = entry(-1, at(10, 0), Running);
    ASSERT_TRUE(db->InsertTimeEntry(e, CBdD::OverwriteNeighbours));
    EXPECT_EQ(row(1).Fin, at(10, 0));
    EXPECT_EQ(row(2).Fin, at(10, 0));
    EXPECT_TRUE(deleted(3));
    EXPECT_TRUE(deleted(4));
    EXPECT_EQ(row(5).Fin, at(8, 0));
    EXPECT_EQ(db->CountRunningEntries(), 1);
    EXPECT_EQ(current.Entry.Id, 101);
    undoOnce();
    EXPECT_EQ(dump(), before);
}

TEST_F(TimeEntriesDb, AFailedSaveRollsEveryNeighbourBack)
{
    put(1, at(9, 0), at(10, 30));
    put(2, at(10, 15), at(10, 40));
    put(3, at(10, 55), at(11, 30));
    put(4, at(9, 30), Running);
    // The entry's own row cannot be stored: every change made to the
    // neighbours before must go too.
    ASSERT_EQ(db->Execute(u"create trigger refuse before insert on Taches when new.Title='refusé' "
                          u"begin select raise(abort, 'refused'); end"),
              0);
    const QString before = dump();
    for (bool fit : {CBdD::OverwriteNeighbours, CBdD::FitIntoGap}) {
        SCOPED_TRACE(fit ? "fit" : "overwrite");
        tTacheFull e = entry(-1, at(10, 0), at(11, 0));
        e.Title = QStringLiteral("refusé");
        EXPECT_FALSE(db->InsertTimeEntry(e, fit));
        EXPECT_EQ(dump(), before);
        EXPECT_FALSE(history.CanUndo()) << "no undo group is left behind";
        EXPECT_EQ(e.Debut, at(10, 0));
    }
    EXPECT_FALSE(db->SaveTimeEntry([] { tTacheFull e; e.Debut = 1; e.Fin = 2; e.Title = QStringLiteral("refusé"); return e; }()));
    EXPECT_EQ(dump(), before);
}

TEST_F(TimeEntriesDb, PeriodsAfterAnInstant)
{
    put(1, at(9, 0), at(10, 0));
    put(2, at(11, 0), at(12, 0));
    put(3, at(13, 0), Running);
    put(4, at(14, 0), at(15, 0), 32, 31, "", 1);
    std::vector<tDebutFin> periods{{1, 2}};
    db->GetEntryPeriodsAfter(periods, at(10, 0));
    EXPECT_EQ(periods, (std::vector<tDebutFin>{{at(11, 0), at(12, 0)}}));
}

// ---------------------------------------------------------------------
// Batch edits and range queries
// ---------------------------------------------------------------------

TEST_F(TimeEntriesDb, BatchEditsAreOneUndoStepEach)
{
    put(1, at(9, 0), at(10, 0), 32, 31);
    put(2, at(10, 0), at(11, 0), 35, 34);
    put(3, at(11, 0), at(12, 0), 38, 37);
    put(4, at(12, 0), at(13, 0), 41, 40);
    put(5, at(13, 0), at(14, 0), 44, 43, "", 1); // already deleted
    // Stamps of various kinds, NULL included, must all come back.
    ASSERT_EQ(db->Execute(u"update Taches set Date_Modif=NULL, Origine_Modif=NULL, Facture=NULL where Id=2"), 0);
    ASSERT_EQ(db->Execute(u"update Infos set Value=NULL where Name='Modif'"), 0);

    struct Case {
        const char *what;
        std::function<bool()> write;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"invoice", [&] { return db->SetEntriesInvoiced(1, QStringLiteral("(1,2,3)")); },
         [&] { EXPECT_EQ(row(2).Facture, 1); EXPECT_EQ(row(3).Facture, 1); EXPECT_EQ(row(4).Facture, 0); }},
        {"invoice one list, clear the other",
         [&] { return db->SetEntriesInvoiced(QStringLiteral("(2)"), QStringLiteral("(1,3)")); },
         [&] { EXPECT_EQ(row(2).Facture, 1); EXPECT_EQ(row(1).Facture, 0); }},
        {"delete three", [&] { return db->DeleteTimeEntries(QStringLiteral("(1, 2, 5)")); },
         [&] { EXPECT_TRUE(deleted(1)); EXPECT_TRUE(deleted(2)); EXPECT_FALSE(deleted(3)); }},
        {"reassign the project only", [&] { return db->ReassignTimeEntries(7, -2, -2, QStringLiteral("(1,3)")); },
         [&] {
             EXPECT_EQ(row(1).IdProjet, 7);
             EXPECT_EQ(row(3).IdProjet, 7);
             EXPECT_EQ(row(3).IdActivite, 37);
             EXPECT_EQ(row(3).IdTauxHoraire, -1);
             EXPECT_EQ(row(2).IdProjet, 35);
         }},
        {"reassign all three", [&] { return db->ReassignTimeEntries(QStringLiteral("(2,4)"), 7, 8, -1); },
         [&] { EXPECT_EQ(row(4).IdActivite, 8); EXPECT_EQ(row(4).IdTauxHoraire, -1); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString before = dump();
        ASSERT_TRUE(c.write());
        c.check();
        EXPECT_NE(dump(), before);
        undoOnce();
        EXPECT_EQ(dump(), before);
        // Redo applies the same change again.
        ASSERT_EQ(history.Redo(), CAnnulation::Outcome::Done);
        c.check();
        undoOnce();
    }
}

TEST_F(TimeEntriesDb, BatchEditsThatChangeNothingOrGetNoListWriteNothing)
{
    put(1, at(9, 0), at(10, 0));
    const QString before = dump();
    EXPECT_TRUE(db->ReassignTimeEntries(-2, -2, -2, QStringLiteral("(1)")));
    EXPECT_TRUE(db->SetEntriesInvoiced(QString(), QStringLiteral("()")));
    EXPECT_FALSE(history.CanUndo());
    for (const char16_t *bad : {u"(1) or 1=1", u"(1); delete from Taches; --", u"1", u"(select Id from Taches)"}) {
        SCOPED_TRACE(QString::fromUtf16(bad).toStdString());
        EXPECT_FALSE(db->DeleteTimeEntries(QString::fromUtf16(bad)));
        EXPECT_FALSE(db->SetEntriesInvoiced(1, QString::fromUtf16(bad)));
        EXPECT_FALSE(db->SetEntriesInvoiced(QStringLiteral("(1)"), QString::fromUtf16(bad)));
        EXPECT_FALSE(db->ReassignTimeEntries(7, 8, 9, QString::fromUtf16(bad)));
    }
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(history.CanUndo());
}

// A list none of whose entries has a row changes nothing: the batch
// reports failure, keeps no undo step, stamps nothing and tells nobody.
// The single-entry writes already refuse an id without a row.
TEST_F(TimeEntriesDb, WritesToEntriesWithoutARowFail)
{
    put(1, at(9, 0), at(10, 0));
    const QString before = dump();
    notices.clear();
    EXPECT_FALSE(db->DeleteTimeEntries(QStringLiteral("(998,999)")));
    EXPECT_FALSE(db->SetEntriesInvoiced(1, QStringLiteral("(999)")));
    EXPECT_FALSE(db->SetEntriesInvoiced(QStringLiteral("(999)"), QStringLiteral("(998)")));
    EXPECT_FALSE(db->ReassignTimeEntries(7, -2, -2, QStringLiteral("(999)")));
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(db->SetTimeEntryTimes(999, at(9, 0), at(10, 0)));
    EXPECT_FALSE(db->StopTimeEntry(999, at(10, 0)));
    EXPECT_FALSE(db->DeleteTimeEntry(999));
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(history.CanUndo());

    // A list of which one entry is gone still changes the others.
    EXPECT_TRUE(db->SetEntriesInvoiced(1, QStringLiteral("(1,999)")));
    EXPECT_EQ(row(1).Facture, 1);
    EXPECT_TRUE(history.CanUndo());
}

TEST_F(TimeEntriesDb, BoundsAndEntriesAfter)
{
    QDateTime first, last;
    db->GetTimeEntryBounds(first, last);
    EXPECT_EQ(first.toSecsSinceEpoch(), at(18, 0)) << "no entries: now";
    EXPECT_EQ(last.toSecsSinceEpoch(), at(18, 0));
    EXPECT_FALSE(db->HasEntriesAfter(0));

    put(1, at(9, 0), at(10, 0));
    put(2, at(11, 0), at(12, 0));
    put(3, at(7, 0), at(8, 0), 32, 31, "", 1);
    db->GetTimeEntryBounds(first, last);
    EXPECT_EQ(first.toSecsSinceEpoch(), at(9, 0));
    EXPECT_EQ(last.toSecsSinceEpoch(), at(12, 0));
    EXPECT_TRUE(db->HasEntriesAfter(at(11, 30)));
    EXPECT_FALSE(db->HasEntriesAfter(at(12, 0)));

    // Only a running entry starting after now: its end counts as none.
    ASSERT_EQ(db->Execute(u"delete from Taches"), 0);
    put(4, at(20, 0), Running);
    db->GetTimeEntryBounds(first, last);
    EXPECT_EQ(first.toSecsSinceEpoch(), at(20, 0));
    EXPECT_EQ(last.toSecsSinceEpoch(), at(20, 0)) << "the last bound is never before the first";
}

// The bounds over entries of every kind the table holds: the first start
// and the last end of the live entries, whatever the order the rows were
// made in; now where there is none, and never a last bound before the
// first. A start or an end left NULL (a damaged or imported row) gives no
// bound: sorted first, it would start the period on 1 January 1970.
TEST_F(TimeEntriesDb, BoundsOverEveryKindOfEntry)
{
    struct Row
    {
        qint64 debut;
        qint64 fin;
        int deleted;
    };
    constexpr qint64 Null = std::numeric_limits<qint64>::min();
    const qint64 now = at(18, 0);
    const struct
    {
        const char *what;
        std::vector<Row> rows;
        qint64 first;
        qint64 last;
    } cases[] = {
        {"made in start order", {{at(9, 0), at(10, 0), 0}, {at(11, 0), at(12, 0), 0}}, at(9, 0), at(12, 0)},
        {"made newest first", {{at(11, 0), at(12, 0), 0}, {at(10, 0), at(10, 30), 0}, {at(9, 0), at(9, 45), 0}},
         at(9, 0), at(12, 0)},
        {"the oldest and the latest deleted",
         {{at(7, 0), at(8, 0), 1}, {at(9, 0), at(10, 0), 0}, {at(9, 30), at(17, 0), 1}, {at(11, 0), at(12, 0), 0}},
         at(9, 0), at(12, 0)},
        {"only deleted ones", {{at(7, 0), at(8, 0), 1}}, now, now},
        {"the oldest running", {{at(6, 0), 0, 0}, {at(9, 0), at(10, 0), 0}}, at(6, 0), at(10, 0)},
        {"all running", {{at(7, 0), 0, 0}, {at(6, 0), 0, 0}}, at(6, 0), now},
        {"equal starts", {{at(9, 0), at(9, 30), 0}, {at(9, 0), at(11, 0), 0}, {at(8, 0), at(8, 30), 1}}, at(9, 0),
         at(11, 0)},
        {"starts before 1970", {{at(9, 0), at(10, 0), 0}, {-5, 100, 0}, {-86400 * 400, -86400 * 399, 0}},
         -86400 * 400, at(10, 0)},
        {"everything before 1970", {{-86400 * 400, -86400 * 399, 0}}, -86400 * 400, -86400 * 399},
        {"a start left NULL", {{Null, at(9, 30), 0}, {at(9, 0), at(10, 0), 0}}, at(9, 0), at(10, 0)},
        {"an end left NULL", {{at(9, 0), at(10, 0), 0}, {at(9, 30), Null, 0}}, at(9, 0), at(10, 0)},
        {"only a row without start or end", {{Null, Null, 0}}, now, now},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(db->Execute(u"delete from Taches"), 0);
        int id = 0;
        for (const Row &row : c.rows) {
            put(++id, row.debut == Null ? 0 : row.debut, row.fin == Null ? 0 : row.fin, 32, 31, "", row.deleted);
            for (const auto &[column, value] : {std::pair{u"Debut", row.debut}, std::pair{u"Fin", row.fin}}) {
                if (value == Null) {
                    ASSERT_EQ(db->Execute(Formatter::sprintf(u"update Taches set %s=NULL where Id=%d", {column, id})),
                              0);
                }
            }
        }
        QDateTime first, last;
        EXPECT_TRUE(db->GetTimeEntryBounds(first, last));
        EXPECT_EQ(first.toSecsSinceEpoch(), c.first);
        EXPECT_EQ(last.toSecsSinceEpoch(), c.last);
    }
}

// A deleted entry is kept until a synchronisation purges it, so a user who
// never synchronises keeps every one. The bounds read the live entries
// alone: with thousands of deleted entries before and after the live ones
// they take about the steps they take with none (counted by SQLite's
// progress handler, one call per step of its machine).
TEST_F(TimeEntriesDb, BoundsStepOverNoDeletedEntry)
{
    const auto steps = [this] {
        int count = 0;
        sqlite3_progress_handler(
            db->Connection()->Handle(), 1,
            [](void *counter) {
                ++*static_cast<int *>(counter);
                return 0;
            },
            &count);
        QDateTime first, last;
        EXPECT_TRUE(db->GetTimeEntryBounds(first, last));
        sqlite3_progress_handler(db->Connection()->Handle(), 0, nullptr, nullptr);
        EXPECT_EQ(first.toSecsSinceEpoch(), at(9, 0));
        EXPECT_EQ(last.toSecsSinceEpoch(), at(12, 0));
        return count;
    };
    put(1, at(9, 0), at(10, 0));
    put(2, at(11, 0), at(12, 0));
    const int alone = steps();

    // 3 000 deleted entries on the days before and 3 000 after.
    for (const auto &[from, sign] : {std::pair{at(9, 0) - 3600, -1}, std::pair{at(12, 0), 1}}) {
        ASSERT_EQ(db->Execute(Formatter::sprintf(
                      u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
                      u"insert into Taches (Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                      u"Origine_Modif,Deleted,Title,Notes) select %I64d + %d * i * 3600, %I64d + %d * i * 3600 + 1800, "
                      u"32,31,0,-1,1000,1,1,'','' from n",
                      {from, sign, from, sign})),
                  0);
    }
    ASSERT_EQ(db->Query(u"select count(*) from Taches where Deleted=1")->GetFirstInt(), 6000);
    const int amongDeleted = steps();
    EXPECT_LE(amongDeleted, 2 * alone) << "alone: " << alone;
}

TEST_F(TimeEntriesDb, DetailsNameTheProjectActivityAndRate)
{
    ASSERT_EQ(db->Execute(u"insert into Projets (Id, Nom, Deleted) values (32, 'Chantier', 0)"), 0);
    ASSERT_EQ(db->Execute(u"insert into Activites (Id, Nom, Deleted) values (31, 'Étude', 0)"), 0);
    ASSERT_EQ(db->Execute(u"insert into TauxHoraire (Id, Nom, Valeur, Deleted) values (2, 'Standard', 55.5, 0)"), 0);
    ASSERT_EQ(db->Execute(u"insert into TauxHoraire (Id, Nom, Valeur, Deleted) values (3, 'Sans montant', NULL, 0)"), 0);
    put(1, at(9, 0), at(10, 0), 32, 31, "titre");
    ASSERT_EQ(db->Execute(u"update Taches set IdTauxHoraire=2, Facture=1, Deleted=1 where Id=1"), 0);
    put(2, at(10, 0), at(11, 0), 99, 98);
    ASSERT_EQ(db->Execute(u"update Taches set IdTauxHoraire=3 where Id=2"), 0);

    tTimeEntryDetails d;
    ASSERT_TRUE(db->GetTimeEntryDetails(d, 1)) << "deleted entries are read too";
    EXPECT_EQ(d.Id, 1);
    EXPECT_EQ(d.Debut, at(9, 0));
    EXPECT_EQ(d.Facture, 1);
    EXPECT_EQ(d.NomProjet, QStringLiteral("Chantier"));
    EXPECT_EQ(d.NomActivite, QStringLiteral("Étude"));
    EXPECT_EQ(d.Rate, QStringLiteral("Standard (55.50)"));
    EXPECT_EQ(d.Title, QStringLiteral("titre"));

    ASSERT_TRUE(db->GetTimeEntryDetails(d, 2));
    EXPECT_TRUE(d.NomProjet.isEmpty());
    EXPECT_EQ(d.Rate, QStringLiteral("Sans montant"));
    EXPECT_FALSE(db->GetTimeEntryDetails(d, 99));
}

TEST_F(TimeEntriesDb, IndexesAreMadeForOldFilesTooWithoutAVersionChange)
{
    auto indexes = [](CBdD &d) {
        QStringList names;
        SQLite::MyTablePtr t = d.Query(u"select name from sqlite_master where type='index' order by name");
        for (int r = 0; t && r < t->rowCount(); ++r)
            names << t->GetCell(r, 0);
        return names;
    };
    const QStringList all{QStringLiteral("ProjectChildsProject"), QStringLiteral("TachesFin"),
                          QStringLiteral("TachesLength"),         QStringLiteral("TachesLiveEnd"),
                          QStringLiteral("TachesLiveStart"),      QStringLiteral("TachesModif"),
                          QStringLiteral("TachesNewest"),         QStringLiteral("TachesTotals")};
    EXPECT_EQ(indexes(*db), all) << "a new file has them";

    // A file made before the indexes existed, or by a version that made
    // only some of them, gets them all when opened, and keeps its version
    // (the other program and the device's copy read that version).
    const QStringList lastVersionMissed{QStringLiteral("TachesLiveEnd"), QStringLiteral("TachesLiveStart")};
    for (const QStringList &dropped : {all, lastVersionMissed}) {
        SCOPED_TRACE(dropped.join(u',').toStdString());
        const QString old = TestFolders::tempDb(QStringLiteral("old%1.sdb").arg(dropped.size()));
        {
            CBdD made(old);
            for (const QString &name : dropped)
                ASSERT_EQ(made.Execute(QStringLiteral("drop index ") + name), 0);
            ASSERT_EQ(indexes(made).size(), all.size() - dropped.size());
        }
        CBdD reopened(old);
        EXPECT_EQ(indexes(reopened), all);
        EXPECT_EQ(reopened.GetVersion(), 2);
        EXPECT_EQ(reopened.LastCode(), 0);
    }
    CBdD reopened(TestFolders::tempDb(QStringLiteral("old%1.sdb").arg(all.size())));

    // The reads they are made for use them.
    struct Case { const char16_t *sql; const char *step; };
    const Case cases[] = {
        {u"Select * FROM Taches Where Debut <= 2 and ((Fin > 1 and Fin <= 3) or Fin=0) and Deleted=0 "
         u"order by Debut asc",
         "TachesFin (Fin>? AND Fin<?)"},
        {u"select max(Fin - Debut) from Taches", "TachesLength"},
        {u"select IdProjet, IdActivite, count() as NbTask, sum(Fin-Debut) as Total, Min(Debut) as MinDeb, "
         u"Max(Fin) as MaxFin FROM Taches where Taches.Deleted=0 and Fin > 0 group by IdProjet, IdActivite",
         "COVERING INDEX TachesTotals"},
        {u"select Date_Modif from Taches order by Date_Modif desc limit 1", "TachesModif"},
        {u"Select Projets.*,ProjectChilds.Childs FROM Projets left join ProjectChilds on "
         u"ProjectChilds.IdProject=Projets.Id where Projets.Deleted=0 order by Projets.Nom asc",
         "ProjectChildsProject"},
        // The bounds of the whole history read the live entries alone.
        {u"select Debut from Taches where Deleted=0 and -Debut is not null order by -Debut desc limit 1",
         "TachesLiveStart"},
        {u"select Fin from Taches where Deleted=0 and -Fin is not null order by -Fin limit 1", "TachesLiveEnd"},
        // A read that does not name their keys keeps its way: the first
        // start after an instant still reads the covering index, not the
        // live entries' index and each of their rows.
        {u"Select min(Debut) FROM Taches Where Debut > 5 and Deleted=0", "COVERING INDEX TachesTotals"},
    };
    for (const Case &c : cases) {
        SQLite::MyTablePtr plan = reopened.Query(QStringLiteral("explain query plan ") + QString::fromUtf16(c.sql));
        ASSERT_TRUE(plan.hasRows());
        QString steps;
        for (int r = 0; r < plan->rowCount(); ++r)
            steps += plan->GetCell(r, plan->columnCount() - 1) + u'\n';
        EXPECT_TRUE(steps.contains(QString::fromLatin1(c.step))) << steps.toStdString();
    }
}

TEST_F(TimeEntriesDb, ALockedFileOpensWithoutTheIndexAndWithoutAnError)
{
    const QString path = TestFolders::tempDb(QStringLiteral("locked.sdb"));
    {
        CBdD made(path);
        ASSERT_EQ(made.Execute(u"drop index TachesFin"), 0);
        ASSERT_EQ(made.Execute(u"drop index TachesTotals"), 0);
    }
    // Another program holds the write lock while the file is opened.
    const ShortBusyWait noWait;
    SQLite::CmyDataBase other;
    ASSERT_EQ(other.Open(path), 0);
    ASSERT_TRUE(other.BeginTransaction());
    CBdD opened(path);
    ASSERT_TRUE(opened.IsOpen());
    EXPECT_EQ(opened.LastCode(), 0);
    tTacheFull e;
    EXPECT_FALSE(opened.GetTimeEntry(e, 1));
    other.RollbackTransaction();
}
