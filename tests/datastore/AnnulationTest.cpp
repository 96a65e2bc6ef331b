#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "TestFolders.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Outcome = CAnnulation::Outcome;

QString cell(CBdD &db, const QString &sql)
{
    SQLite::MyTablePtr t = db.Query(sql);
    return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
}

// Groups of the history, as "group:redo/undo" texts.
QStringList shape(const CAnnulation &h)
{
    QStringList out;
    for (const auto &s : h.Steps())
        out.append(QStringLiteral("%1:%2/%3").arg(s.group).arg(s.redo, s.undo));
    return out;
}

class AnnulationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CAppData::SetAnnulation(&history);
        CAppData::SetCurrentDatabasePath(TestFolders::tempDb());
        CBdD db;
        db.Execute(u"create table T(v integer)");
        db.Execute(u"insert into T values (0)");
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }
    // One write: sets T.v from `from` to `to`, in one or two steps.
    void write(int from, int to, bool twoSteps = false)
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        if (twoSteps)
            db.ExecuteWithUndo(QStringLiteral("update T set v=v"), QStringLiteral("update T set v=v"));
        db.ExecuteWithUndo(QStringLiteral("update T set v=%1").arg(to), QStringLiteral("update T set v=%1").arg(from));
        ASSERT_TRUE(db.EndWrite());
    }
    int value()
    {
        CBdD db;
        return cell(db, "select v from T").toInt();
    }
    CAnnulation history;
};

} // namespace

TEST_F(AnnulationTest, KeepsTheNewestElevenGroups)
{
    for (int i = 1; i <= 12; ++i)
        write(i - 1, i, /*twoSteps=*/i % 2 == 0);
    int undone = 0;
    while (history.Undo() == Outcome::Done)
        ++undone;
    EXPECT_EQ(undone, 11);
    EXPECT_EQ(value(), 1); // the first write can no longer be undone
    EXPECT_EQ(history.Current(), -1);
    // Redo runs oldest first, one group at a time.
    ASSERT_EQ(history.Redo(), Outcome::Done);
    EXPECT_EQ(value(), 2);
}

TEST_F(AnnulationTest, NewWriteCutsTheRedoTail)
{
    write(0, 1);
    write(1, 2);
    ASSERT_EQ(history.Undo(), Outcome::Done);
    EXPECT_EQ(value(), 1);
    write(1, 5);
    EXPECT_EQ(history.Redo(), Outcome::Nothing);
    EXPECT_EQ(shape(history), QStringList({"0:update T set v=1/update T set v=0", "1:update T set v=5/update T set v=1"}));
    ASSERT_EQ(history.Undo(), Outcome::Done);
    ASSERT_EQ(history.Undo(), Outcome::Done);
    EXPECT_EQ(value(), 0);
    EXPECT_EQ(history.Undo(), Outcome::Nothing);
    EXPECT_EQ(value(), 0);

    // A step recorded after an undo forms a group of its own even when no
    // new group was begun: undoing it must not undo the write before it.
    write(0, 1);
    write(1, 2);
    ASSERT_EQ(history.Undo(), Outcome::Done);
    history.AddStep(QStringLiteral("update T set v=7"), QStringLiteral("update T set v=1"));
    EXPECT_EQ(shape(history), QStringList({"0:update T set v=1/update T set v=0", "1:update T set v=7/update T set v=1"}));
}

TEST_F(AnnulationTest, FailedUndoOrRedoKeepsThePositionForARetry)
{
    write(0, 1);
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.ExecuteWithUndo(QStringLiteral("update T set v=2"), QStringLiteral("update T set v=1"));
        db.ExecuteWithUndo(QStringLiteral("update T set v=3"), QStringLiteral("update Gone set v=2"));
        ASSERT_TRUE(db.EndWrite());
    }
    const int before = history.Current();
    EXPECT_EQ(history.Undo(), Outcome::Failed);
    EXPECT_EQ(history.Current(), before);
    EXPECT_EQ(value(), 3); // the batch was rolled back as a whole
    {
        CBdD db;
        db.Execute(u"create table Gone(v integer)");
    }
    EXPECT_EQ(history.Undo(), Outcome::Done);
    EXPECT_EQ(value(), 1);

    // The same for redo.
    {
        CBdD db;
        db.Execute(u"drop table T");
    }
    const int at = history.Current();
    EXPECT_EQ(history.Redo(), Outcome::Failed);
    EXPECT_EQ(history.Current(), at);
    EXPECT_TRUE(history.CanRedo());
}

TEST_F(AnnulationTest, DropLastGroupRemovesOnlyTheGroupJustRecorded)
{
    history.BeginGroup();
    history.AddStep("a", "-a");
    history.BeginGroup();
    history.AddStep("b", "-b");
    history.AddStep("c", "-c");
    history.DropLastGroup();
    EXPECT_EQ(shape(history), QStringList{"0:a/-a"});
    // The next step opens a group of its own, even without BeginGroup.
    history.AddStep("d", "-d");
    EXPECT_EQ(shape(history), QStringList({"0:a/-a", "1:d/-d"}));
    // Nothing recorded since BeginGroup: nothing to drop.
    history.BeginGroup();
    history.DropLastGroup();
    EXPECT_EQ(history.Steps().size(), 2u);
    history.Reset();
    EXPECT_EQ(history.Current(), -1);
    EXPECT_EQ(history.Undo(), Outcome::Nothing);
    EXPECT_EQ(history.Redo(), Outcome::Nothing);
}

TEST_F(AnnulationTest, UndoRunsNewestFirstAndRedoOldestFirst)
{
    {
        CBdD db;
        db.Execute(u"create table Journal(n integer primary key, t text)");
        ASSERT_TRUE(db.BeginWrite());
        for (const char *step : {"1", "2", "3"})
            db.ExecuteWithUndo(QStringLiteral("insert into Journal(t) values ('redo %1')").arg(step),
                               QStringLiteral("insert into Journal(t) values ('undo %1')").arg(step));
        ASSERT_TRUE(db.EndWrite());
        db.Execute(u"delete from Journal");
    }
    ASSERT_EQ(history.Undo(), Outcome::Done);
    ASSERT_EQ(history.Redo(), Outcome::Done);
    CBdD db;
    EXPECT_EQ(cell(db, "select group_concat(t, ',') from (select t from Journal order by n)"),
              "undo 3,undo 2,undo 1,redo 1,redo 2,redo 3");
}
