#include "CmyDataBase.h"
#include "ShortBusyWait.h"
#include "QuoteSql.h"
#include "TestFolders.h"
#include "UTF8MBSTR.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

using SQLite::CmyDataBase;
using SQLite::MyTablePtr;

namespace {

// A database with one row of every kind the getters must read.
class WrapperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = TestFolders::tempDb();
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(u"create table T (Id integer, Nom text, Flag text, Red int, Green int, Blue int, Big int)"), 0);
        ASSERT_EQ(db.Execute(u"insert into T values (5, 'l''été ☃', '1', 300, 1, 2, 1700000000123)"), 0);
        ASSERT_EQ(db.Execute(u"insert into T values (NULL, NULL, NULL, NULL, NULL, NULL, NULL)"), 0);
    }
    QString path;
    CmyDataBase db;
};

} // namespace

TEST_F(WrapperTest, QueryMaterialisesTextAndNavigates)
{
    MyTablePtr t = db.Query(u"select * from T order by Id desc");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rowCount(), 2);
    EXPECT_EQ(t->columnCount(), 7);
    EXPECT_EQ(t->currentRow(), 0);
    EXPECT_EQ(t->GetColumnName(1), QStringLiteral("Nom"));
    EXPECT_TRUE(t->GetColumnName(7).isNull());
    EXPECT_EQ(t->GetId(), 5);
    EXPECT_EQ(t->GetValue(u"nom"), QStringLiteral("l'été ☃"));
    EXPECT_EQ(t->GetValue(u"id"), QStringLiteral("5"));
    EXPECT_TRUE(t->GetValue(u"Missing").isNull());
    EXPECT_TRUE(t->GetValue(QStringView()).isNull());
    EXPECT_EQ(t->GetInt64(u"Big"), 1700000000123LL);
    EXPECT_EQ(t->GetColor(), 44u | (1u << 8) | (2u << 16)); // Red 300 keeps its low 8 bits
    EXPECT_TRUE(t->GetBool(u"Flag"));
    EXPECT_TRUE(t->MoveNext());
    EXPECT_FALSE(t->MoveNext());
    EXPECT_EQ(t->currentRow(), 1);

    // A NULL reads as the empty text (present, not null), 0 and false.
    EXPECT_FALSE(t->GetValue(u"Nom").isNull());
    EXPECT_TRUE(t->GetValue(u"Nom").isEmpty());
    EXPECT_EQ(t->GetInt(u"Red"), 0);
    EXPECT_FALSE(t->GetBool(u"Flag"));
    EXPECT_EQ(t->GetId(), 0);
    EXPECT_EQ(t->GetColor(), 0u);
    EXPECT_TRUE(t->MoveFirst());
    EXPECT_EQ(t->currentRow(), 0);
    EXPECT_TRUE(t->MoveLast());
    EXPECT_EQ(t->currentRow(), 1);
    EXPECT_TRUE(t->GetValueAt(9).isNull());

    // The table stays valid once the connection is gone.
    db.Close();
    EXPECT_EQ(t->GetCell(0, 1), QStringLiteral("l'été ☃"));
}

TEST_F(WrapperTest, BoolAndMissingValueRules)
{
    struct Case { const char16_t *text; bool expected; };
    const Case cases[] = {{u"1", true}, {u"2", true}, {u"00", true}, {u"abc", true}, {u"", false}, {u"0", false}};
    for (const Case &c : cases) {
        MyTablePtr t = db.Query(QStringLiteral("select '%1' as B").arg(QString::fromUtf16(c.text)));
        ASSERT_TRUE(t.hasRows());
        EXPECT_EQ(t->GetBool(u"B"), c.expected) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(t->GetFirstBool(), c.expected);
        EXPECT_FALSE(t->GetBool(u"Other"));
    }
    MyTablePtr empty = db.Query(u"select * from T where 0");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->rowCount(), 0);
    EXPECT_EQ(empty->currentRow(), -1);
    EXPECT_FALSE(empty->MoveFirst());
    EXPECT_FALSE(empty->MoveLast());
    EXPECT_FALSE(empty->MoveNext());
    EXPECT_EQ(empty->GetId(), -1);
    EXPECT_EQ(empty->GetInt(u"Id"), 0);
    EXPECT_EQ(empty->GetFirstInt(), 0);
    EXPECT_TRUE(empty->GetValue(u"Id").isNull());

    MyTablePtr count = db.Query(u"select count(*) from T");
    ASSERT_TRUE(count.hasRows());
    EXPECT_EQ(count->GetColumnName(0), QStringLiteral("count(*)"));
    EXPECT_EQ(count->GetFirstInt(), 2);
}

TEST_F(WrapperTest, NumbersWithADefaultForNullAndMissingCells)
{
    // Row 0 holds the values, row 1 the NULLs.
    MyTablePtr t = db.Query(u"select Id, Big, Red from T order by Id desc");
    ASSERT_TRUE(t.hasRows());
    struct Case { const char *what; int row, col; int expected; };
    const Case cases[] = {
        {"a value", 0, 0, 5},
        {"NULL", 1, 2, -7},
        {"no such column", 0, 3, -7},
        {"a negative column", 0, -1, -7},
        {"no such row", 2, 0, -7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(t->GetIntAt(c.row, c.col, -7), c.expected);
        EXPECT_EQ(t->GetInt64At(c.row, c.col, -7), c.expected);
    }
    EXPECT_EQ(t->GetInt64At(0, 1), 1700000000123LL);
    EXPECT_EQ(t->GetIntAt(1, 0), 0) << "the default default is 0";
    EXPECT_EQ(t->GetInt64At(1, 1), 0);

    // By name, on the current row.
    EXPECT_EQ(t->GetIntOr(u"Red", -1), 300);
    EXPECT_EQ(t->GetIntOr(u"Missing", -1), -1);
    EXPECT_EQ(t->GetIntOr(QStringView(), -1), -1);
    ASSERT_TRUE(t->MoveNext());
    EXPECT_EQ(t->GetIntOr(u"Red", -1), -1);
    MyTablePtr empty = db.Query(u"select Id from T where 0");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->GetIntOr(u"Id", -1), -1);
}

TEST_F(WrapperTest, LastCodeRule)
{
    // A syntax error yields an empty table and keeps its code; a later
    // success does not clear it; a commit stores its own code.
    MyTablePtr bad = db.Query(u"selec nothing");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->rowCount(), 0);
    EXPECT_EQ(bad->columnCount(), 0);
    EXPECT_EQ(db.GetLastCode(), SQLITE_ERROR);
    EXPECT_EQ(db.Execute(u"insert into T (Id) values (9)"), 0);
    EXPECT_EQ(db.GetLastCode(), SQLITE_ERROR);
    EXPECT_EQ(db.Execute(u"insert into Nowhere values (1)"), SQLITE_ERROR);
    ASSERT_TRUE(db.BeginTransaction());
    EXPECT_EQ(db.GetLastCode(), 0);
    db.Execute(u"bogus");
    EXPECT_EQ(db.GetLastCode(), SQLITE_ERROR);
    EXPECT_TRUE(db.CommitTransaction());
    EXPECT_EQ(db.GetLastCode(), 0);
    EXPECT_FALSE(db.RollbackTransaction()); // nothing to roll back
    EXPECT_NE(db.GetLastCode(), 0);
    EXPECT_GT(db.GetLastInsertRowId(), 0);
}

TEST_F(WrapperTest, RollbackAfterFailureKeepsTheFailuresCode)
{
    // The failure's code outlives the rollback, the rows written since the
    // BEGIN are gone, and a failure without a code still reads as one.
    for (const int code : {SQLITE_CONSTRAINT, 0}) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(db.BeginTransaction());
        ASSERT_EQ(db.Execute(u"insert into T (Id) values (77)"), 0);
        db.RollbackAfterFailure(code);
        EXPECT_EQ(db.GetLastCode(), code != 0 ? code : 1);
        EXPECT_EQ(db.Query(u"select count(*) from T where Id=77")->GetFirstInt(), 0);
    }
    ASSERT_TRUE(db.BeginTransaction());
    db.Execute(u"bogus");
    db.RollbackAfterFailure();
    EXPECT_EQ(db.GetLastCode(), SQLITE_ERROR);
    EXPECT_TRUE(db.BeginTransaction()) << "no transaction was left open";
    EXPECT_TRUE(db.CommitTransaction());
}

TEST(SqliteWrapper, ClosedConnection)
{
    CmyDataBase db;
    EXPECT_FALSE(db.Query(u"select 1"));
    EXPECT_EQ(db.GetLastCode(), 1);
    db.SetLastCode(0);
    EXPECT_EQ(db.Execute(u"select 1"), 1);
    EXPECT_EQ(db.GetLastCode(), 1);
    db.SetLastCode(0);
    EXPECT_FALSE(db.BeginTransaction());
    EXPECT_EQ(db.GetLastCode(), 1);
    EXPECT_FALSE(db.CommitTransaction());
    EXPECT_FALSE(db.RollbackTransaction());
    EXPECT_EQ(db.GetLastInsertRowId(), 0);
    EXPECT_TRUE(db.GetPath().isEmpty());
}

TEST(SqliteWrapper, BadFilesAreReportedAndLeftAlone)
{
    CmyDataBase db;
    // A missing folder.
    const QString missing = TestFolders::file(QStringLiteral("no/such/folder/x.sdb"));
    EXPECT_EQ(db.Open(missing), SQLITE_CANTOPEN);
    EXPECT_TRUE(db.GetPath().isEmpty());
    EXPECT_FALSE(db.IsOpen());

    // Read-only opening of a missing file creates nothing.
    const QString absent = TestFolders::file(QStringLiteral("absent.sdb"));
    EXPECT_NE(db.OpenReadOnly(absent), 0);
    EXPECT_FALSE(QFile::exists(absent));

    // A file that is not a database: opening is lazy, the first statement
    // fails with SQLITE_NOTADB and the file keeps its bytes.
    const QByteArray content = QByteArray("This is not a database, just some notes.\n").repeated(200);
    const QString text = TestFolders::writeFile(QStringLiteral("notes.sdb"), content);
    ASSERT_EQ(db.Open(text), 0);
    EXPECT_EQ(db.GetPath(), text);
    MyTablePtr t = db.Query(u"select * from sqlite_master");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rowCount(), 0);
    EXPECT_EQ(db.GetLastCode(), SQLITE_NOTADB);
    EXPECT_NE(db.Execute(u"create table X (a)"), 0);
    EXPECT_FALSE(db.BeginTransaction());
    db.Close();
    EXPECT_EQ(TestFolders::readFile(text), content);

    // A null path opens a private temporary database.
    EXPECT_EQ(db.Open(QString()), 0);
    EXPECT_EQ(db.Execute(u"create table X (a)"), 0);
}

TEST(SqliteWrapper, ReadOnlyConnectionRefusesWrites)
{
    const QString path = TestFolders::tempDb();
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(u"create table X (a)"), 0);
    }
    CmyDataBase ro;
    ASSERT_EQ(ro.OpenReadOnly(path), 0);
    EXPECT_EQ(ro.Execute(u"insert into X values (1)"), SQLITE_READONLY);
    EXPECT_TRUE(ro.Query(u"select * from X"));
}

TEST(SqliteWrapper, InvalidUtf8BecomesReplacementCharacters)
{
    CmyDataBase db;
    ASSERT_EQ(db.Open(TestFolders::tempDb()), 0);
    // X'...' blobs cast to text hand the bytes to the wrapper unchecked.
    MyTablePtr t = db.Query(u"select cast(X'41FF42C3' as text) as V, cast(X'E282AC' as text) as E");
    ASSERT_TRUE(t.hasRows());
    const QString v = t->GetValue(u"V");
    EXPECT_TRUE(v.startsWith(u'A'));
    EXPECT_TRUE(v.contains(QChar::ReplacementCharacter));
    EXPECT_TRUE(v.contains(u'B'));
    EXPECT_EQ(t->GetValue(u"E"), QStringLiteral("€"));
}

namespace {
int countBegins(unsigned, void *context, void *, void *x)
{
    const char *sql = static_cast<const char *>(x);
    if (sql && QByteArray(sql).startsWith("BEGIN IMMEDIATE"))
        ++*static_cast<int *>(context);
    return 0;
}
} // namespace

TEST(SqliteWrapper, BeginRetriesWhileAnotherWriterHoldsTheLock)
{
    const QString path = TestFolders::tempDb();
    CmyDataBase holder;
    // The retries alone, without the busy wait that precedes each one.
    const ShortBusyWait noWait;
    CmyDataBase waiter;
    ASSERT_EQ(holder.Open(path), 0);
    ASSERT_EQ(waiter.Open(path), 0);
    ASSERT_EQ(holder.Execute(u"create table X (a)"), 0);
    ASSERT_TRUE(holder.BeginTransaction());

    int attempts = 0;
    sqlite3_trace_v2(waiter.Handle(), SQLITE_TRACE_STMT, countBegins, &attempts);
    EXPECT_FALSE(waiter.BeginTransaction());
    EXPECT_EQ(waiter.GetLastCode(), SQLITE_BUSY);
    EXPECT_EQ(attempts, 11);

    ASSERT_TRUE(holder.CommitTransaction());
    attempts = 0;
    EXPECT_TRUE(waiter.BeginTransaction());
    EXPECT_EQ(attempts, 1);
    EXPECT_TRUE(waiter.RollbackTransaction());
}

TEST(SqliteWrapper, QuoteSqlAndUtf8Conversion)
{
    EXPECT_EQ(QuoteSql(u"l'été"), QStringLiteral("l''été"));
    EXPECT_EQ(QuoteSql(u"plain"), QStringLiteral("plain"));
    EXPECT_EQ(QuoteSql(u"''"), QStringLiteral("''''"));

    // Quotes, semicolons and non-Latin text survive a round trip.
    CmyDataBase db;
    ASSERT_EQ(db.Open(TestFolders::tempDb()), 0);
    const QString value = QStringLiteral("a'; drop table X; --'b 日本語 \U0001F600");
    ASSERT_EQ(db.Execute(u"create table X (a)"), 0);
    ASSERT_EQ(db.Execute(QStringLiteral("insert into X values ('%1')").arg(QuoteSql(value))), 0);
    MyTablePtr t = db.Query(u"select a from X");
    ASSERT_TRUE(t.hasRows());
    EXPECT_EQ(t->GetValueAt(0), value);

    QByteArray out;
    EXPECT_EQ(SQLite::UTF8MBSTR::ToUtf8(u"été", out), 3);
    EXPECT_EQ(out, QByteArray("\xc3\xa9t\xc3\xa9"));
}
