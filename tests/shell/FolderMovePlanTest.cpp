// The move of a folder setting's files on real trees with real databases:
// failures at every step, a process killed in the middle, refusals, and
// the other program writing meanwhile.
#include "ChildProcess.h"
#include "FolderMovePlan.h"
#include "QStringPrinter.h"
#include "TestFolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <vector>

namespace {

using Stage = FolderMovePlan::Stage;
using Problem = FolderMovePlan::Problem;

// A small database of `rows` numbered rows.
void makeDatabase(const QString &path, int rows)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QByteArray sql = "create table t(n integer); begin;";
    for (int i = 0; i < rows; ++i)
        sql += "insert into t values(" + QByteArray::number(i) + ");";
    sql += "commit;";
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// The rows of a database that passes its integrity check; -1 otherwise.
int checkedRows(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return -1;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    int rows = -1;
    sqlite3_stmt *st = nullptr;
    bool ok = false;
    if (sqlite3_prepare_v2(db, "pragma quick_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        ok = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))) == "ok";
    sqlite3_finalize(st);
    if (ok && sqlite3_prepare_v2(db, "select count(*) from t", -1, &st, nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        rows = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

// True when nobody holds the database's write lock.
bool writable(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const bool ok = sqlite3_exec(db, "begin immediate; rollback;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

QStringList tree(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next().mid(folder.size());
    out.sort();
    return out;
}

// A users folder: the users database, two listed users with their
// databases, a report database and other files, and what is not theirs
// to move (a folder of nobody listed, a loose file).
struct UsersTree
{
    QString root;
    QString oldUsers;
    QString newUsers;

    explicit UsersTree(const QString &name)
    {
        root = TestFolders::file(name);
        oldUsers = root + QStringLiteral("/old/Users/");
        newUsers = root + QStringLiteral("/new/Users/");
        makeDatabase(oldUsers + QStringLiteral("Users.sdb"), 3);
        makeDatabase(oldUsers + QStringLiteral("Anne/Zarvo.sdb"), 100);
        makeDatabase(oldUsers + QStringLiteral("Anne/Zarvo.rpt"), 5);
        writeFile(oldUsers + QStringLiteral("Anne/notes.txt"), "notes");
        makeDatabase(oldUsers + QStringLiteral("Bruno/Zarvo.sdb"), 50);
        writeFile(oldUsers + QStringLiteral("Bruno/Photos/photo.jpg"), QByteArray(70000, 'j'));
        writeFile(oldUsers + QStringLiteral("Gone/left.txt"), "not a user");
        writeFile(oldUsers + QStringLiteral("readme.txt"), "loose");
    }

    static constexpr int FilesMoved = 6;
    static constexpr int DatabasesMoved = 4;

    FolderMovePlan::Move move() const
    {
        FolderMovePlan::Move m;
        m.source = oldUsers;
        m.target = newUsers;
        m.entries = {QStringLiteral("Users.sdb"), QStringLiteral("Anne"), QStringLiteral("Bruno")};
        m.lockDatabases = true;
        return m;
    }

    // Every database of the folder holds all its rows and passes its check.
    void expectWhole(const QString &folder) const
    {
        EXPECT_EQ(checkedRows(folder + QStringLiteral("Users.sdb")), 3);
        EXPECT_EQ(checkedRows(folder + QStringLiteral("Anne/Zarvo.sdb")), 100);
        EXPECT_EQ(checkedRows(folder + QStringLiteral("Anne/Zarvo.rpt")), 5);
        EXPECT_EQ(checkedRows(folder + QStringLiteral("Bruno/Zarvo.sdb")), 50);
        EXPECT_EQ(TestFolders::readFile(folder + QStringLiteral("Bruno/Photos/photo.jpg")).size(), 70000);
    }
};

class FolderMovePlanTest : public ::testing::Test
{
protected:
    void TearDown() override { FolderMovePlan::SetFaultHook({}); }

    // Runs the users move in another process and kills it (SIGKILL: nothing
    // of the program runs any more) once it copied `files` files; with mode
    // "copied" once it copied and checked all, with "remove" once it
    // removed `files` originals after that.
    static void killPeer(const UsersTree &users, int files, const char *mode = "")
    {
        const QStringList arguments{users.oldUsers, users.newUsers, QString::number(files), QString::fromLatin1(mode)};
        ChildProcess peer(QStringLiteral(FOLDER_MOVE_PEER), arguments);
        EXPECT_EQ(peer.Line("the move to reach its stop"), QStringLiteral("stopped"));
        peer.End();
        EXPECT_EQ(peer.Process().exitStatus(), QProcess::CrashExit);
    }
    // The users files moved from the new folder back to the old one.
    static void moveBack(const UsersTree &users)
    {
        FolderMovePlan back;
        FolderMovePlan::Move move = users.move();
        std::swap(move.source, move.target);
        back.Add(move);
        ASSERT_TRUE(back.Copy());
        ASSERT_TRUE(back.RemoveOriginals());
        users.expectWhole(users.oldUsers);
    }
    // The new users folder after a whole move: no part, no record.
    static QStringList movedTree()
    {
        return {QStringLiteral("Anne"),           QStringLiteral("Anne/Zarvo.rpt"),
                QStringLiteral("Anne/Zarvo.sdb"), QStringLiteral("Anne/notes.txt"),
                QStringLiteral("Bruno"),          QStringLiteral("Bruno/Photos"),
                QStringLiteral("Bruno/Photos/photo.jpg"), QStringLiteral("Bruno/Zarvo.sdb"),
                QStringLiteral("Users.sdb")};
    }
};

} // namespace

TEST_F(FolderMovePlanTest, AFailureAnywhereLeavesTheNamedFolderCompleteAndNoCopyBeforeTheSwitch)
{
    struct Cut
    {
        Stage stage;
        int at; // the n-th time the stage is reached
    };
    std::vector<Cut> cuts;
    for (int i = 0; i < UsersTree::FilesMoved; ++i)
        cuts.push_back({Stage::CopyFile, i});
    for (int i = 0; i < UsersTree::DatabasesMoved; ++i)
        cuts.push_back({Stage::Check, i});
    for (int i = 0; i < UsersTree::FilesMoved; ++i)
        cuts.push_back({Stage::RemoveFile, i});

    int n = 0;
    for (const Cut &cut : cuts) {
        SCOPED_TRACE(testing::Message() << "stage " << int(cut.stage) << " at " << cut.at);
        const UsersTree users(QStringLiteral("case%1").arg(n++));
        int reached = 0;
        FolderMovePlan::SetFaultHook([&](Stage stage, const QString &) {
            return stage == cut.stage && reached++ == cut.at;
        });
        // The setting as the options hold it: switched only after a whole copy.
        QString setting = users.oldUsers;
        FolderMovePlan plan;
        plan.Add(users.move());
        const bool copied = plan.Copy();
        if (copied) {
            setting = users.newUsers;
            EXPECT_EQ(cut.stage, Stage::RemoveFile);
            EXPECT_FALSE(plan.RemoveOriginals());
        } else {
            EXPECT_NE(cut.stage, Stage::RemoveFile);
            ASSERT_NE(plan.FailedMove(), nullptr);
            EXPECT_EQ(plan.FailedMove()->source, users.oldUsers);
            // Nothing is left in the new place, not even the folders made.
            EXPECT_FALSE(QFileInfo::exists(users.root + QStringLiteral("/new")));
        }
        users.expectWhole(setting);
        // No lock is left behind.
        EXPECT_TRUE(writable(setting + QStringLiteral("Anne/Zarvo.sdb")));
        // What was not to move never moved.
        EXPECT_TRUE(QFileInfo::exists(users.oldUsers + QStringLiteral("Gone/left.txt")));
        EXPECT_TRUE(QFileInfo::exists(users.oldUsers + QStringLiteral("readme.txt")));
    }
}

TEST_F(FolderMovePlanTest, AWholeMoveTakesTheListedNamesOnlyWithoutTheirJournals)
{
    const UsersTree users(QStringLiteral("whole"));
    // A journal beside a database belongs to it: never copied, removed with it.
    writeFile(users.oldUsers + QStringLiteral("Bruno/Zarvo.sdb-wal"), "");
    FolderMovePlan plan;
    plan.Add(users.move());
    ASSERT_EQ(plan.Check().problem, Problem::None);
    ASSERT_TRUE(plan.Copy());
    EXPECT_EQ(plan.CopiedFiles().size(), UsersTree::FilesMoved);
    // While the copy waits for the switch, the originals are still locked.
    EXPECT_FALSE(writable(users.oldUsers + QStringLiteral("Anne/Zarvo.sdb")));
    ASSERT_TRUE(plan.RemoveOriginals());
    users.expectWhole(users.newUsers);
    EXPECT_EQ(tree(users.oldUsers), (QStringList{QStringLiteral("Gone"), QStringLiteral("Gone/left.txt"),
                                                 QStringLiteral("readme.txt")}));
    EXPECT_FALSE(QFileInfo::exists(users.newUsers + QStringLiteral("Bruno/Zarvo.sdb-wal")));
}

TEST_F(FolderMovePlanTest, OnlyAFolderInsideTheOtherIsNested)
{
    const QString data = TestFolders::file(QStringLiteral("data"));
    QDir().mkpath(data);
    const struct
    {
        QString to;
        Problem problem;
    } cases[] = {
        {data + QStringLiteral("2"), Problem::None}, // a sibling whose name extends it
        {data + QStringLiteral("2/"), Problem::None},
        {data + QStringLiteral("/x"), Problem::Nested},
        {data + QStringLiteral("/x/"), Problem::Nested},
        {TestFolders::file(QStringLiteral("dat")), Problem::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FolderMovePlan::CheckFolders(data, c.to), c.problem) << c.to.toStdString();
}

TEST_F(FolderMovePlanTest, RefusalsMoveNothing)
{
    const UsersTree users(QStringLiteral("refused"));
    const QString old = users.oldUsers;
    QDir().mkpath(users.newUsers + QStringLiteral("Anne"));
    ASSERT_TRUE(QFile::link(users.root + QStringLiteral("/old/Users"), users.root + QStringLiteral("/link")));
    struct Case
    {
        const char *name;
        QString target;
        Problem problem;
    };
    const Case cases[] = {
        {"the same folder", old, Problem::Same},
        {"without its trailing slash", old.chopped(1), Problem::Same},
        {"through a link", users.root + QStringLiteral("/link/"), Problem::Same},
        {"inside the old one", old + QStringLiteral("Sub/"), Problem::Nested},
        {"around the old one", users.root + QStringLiteral("/old/"), Problem::Nested},
        {"the root", QStringLiteral("/"), Problem::Root},
        {"a name already there", users.newUsers, Problem::NameTaken},
    };
    const QStringList before = tree(users.root);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FolderMovePlan plan;
        FolderMovePlan::Move move = users.move();
        move.target = c.target;
        plan.Add(move);
        const FolderMovePlan::CheckResult check = plan.Check();
        EXPECT_EQ(check.problem, c.problem);
        if (c.problem == Problem::NameTaken) {
            EXPECT_EQ(check.source, old + QStringLiteral("Anne"));
            EXPECT_EQ(check.target, users.newUsers + QStringLiteral("Anne"));
        }
        EXPECT_FALSE(plan.Copy());
        EXPECT_EQ(tree(users.root), before);
    }
    // A plain file where the new folder should be: the copy cannot begin.
    writeFile(users.root + QStringLiteral("/blocked"), "file");
    FolderMovePlan plan;
    FolderMovePlan::Move move = users.move();
    move.target = users.root + QStringLiteral("/blocked/Users/");
    plan.Add(move);
    EXPECT_EQ(plan.Check().problem, Problem::None);
    EXPECT_FALSE(plan.Copy());
    users.expectWhole(old);
}

TEST_F(FolderMovePlanTest, AMoveKilledInTheMiddleOfTheCopyIsTakenUpByTheNextOne)
{
    const UsersTree users(QStringLiteral("killed"));
    // Killed at the first file, inside a user's folder, at the last one,
    // and after the whole copy (before the switch).
    const struct
    {
        int files;
        const char *mode;
    } cuts[] = {{0, ""}, {3, ""}, {5, ""}, {0, "copied"}};
    for (const auto &cut : cuts) {
        const int files = cut.files;
        SCOPED_TRACE(testing::Message() << files << cut.mode);
        killPeer(users, files, cut.mode);
        // The setting was never switched: the old folder is the one named,
        // whole, and nobody's lock is left on it.
        users.expectWhole(users.oldUsers);
        EXPECT_TRUE(writable(users.oldUsers + QStringLiteral("Anne/Zarvo.sdb")));
        EXPECT_TRUE(writable(users.oldUsers + QStringLiteral("Users.sdb")));
        if (files > 0 || *cut.mode) {
            ASSERT_FALSE(tree(users.newUsers).isEmpty()); // what the killed move left
        }

        // The same move again takes up from what was left and ends whole.
        FolderMovePlan plan;
        plan.Add(users.move());
        ASSERT_EQ(plan.Check().problem, Problem::None);
        ASSERT_TRUE(plan.Copy());
        ASSERT_TRUE(plan.RemoveOriginals());
        users.expectWhole(users.newUsers);
        EXPECT_EQ(tree(users.newUsers), movedTree());
        moveBack(users); // for the next round
    }
}

TEST_F(FolderMovePlanTest, AMoveKilledWhileItRemovedTheOriginalsIsEndedAtTheNextStart)
{
    const UsersTree users(QStringLiteral("removing"));
    // Killed after a locked database was set aside, and after all of them.
    for (int removed : {1, 5}) {
        SCOPED_TRACE(removed);
        killPeer(users, removed, "remove");
        // The setting names the new folder, which is whole.
        users.expectWhole(users.newUsers);
        ASSERT_TRUE(QFileInfo::exists(users.oldUsers + QStringLiteral(".zarvo-moved")));

        // A start whose settings still name the old folder touches nothing.
        const QStringList before = tree(users.root);
        FolderMovePlan::FinishInterrupted({users.oldUsers, users.newUsers});
        EXPECT_EQ(tree(users.root), before);

        FolderMovePlan::FinishInterrupted({users.newUsers, QString()});
        users.expectWhole(users.newUsers);
        EXPECT_EQ(tree(users.newUsers), movedTree());
        EXPECT_EQ(tree(users.oldUsers), (QStringList{QStringLiteral("Gone"), QStringLiteral("Gone/left.txt"),
                                                     QStringLiteral("readme.txt")}));
        moveBack(users); // for the next round
    }
}

TEST_F(FolderMovePlanTest, ACopyThatDiffersFromItsSourceIsRefusedByTheRealCheck)
{
    const struct
    {
        const char *file;
        std::function<void(const QString &)> alter;
    } cases[] = {
        // A byte changed in a plain file: the comparison finds it.
        {"Anne/notes.txt",
         [](const QString &copy) {
             QFile f(copy);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.write("N");
         }},
        // A database cut short inside its last page: the check finds it
        // (SQLite itself would read the missing byte as a zero).
        {"Bruno/Zarvo.sdb",
         [](const QString &copy) {
             QFile f(copy);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_TRUE(f.resize(f.size() - 1));
         }},
        // Pages of a database overwritten.
        {"Anne/Zarvo.sdb",
         [](const QString &copy) {
             QFile f(copy);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.seek(4096);
             f.write(QByteArray(4096, '\x5a'));
         }},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const UsersTree users(QStringLiteral("altered%1").arg(n++));
        bool altered = false;
        FolderMovePlan::SetFaultHook([&](Stage stage, const QString &path) {
            if (stage == Stage::Copied && path.contains(QLatin1String(c.file))) {
                c.alter(path);
                altered = true;
            }
            return false; // the copy itself "succeeded"
        });
        FolderMovePlan plan;
        plan.Add(users.move());
        EXPECT_FALSE(plan.Copy());
        EXPECT_TRUE(altered);
        users.expectWhole(users.oldUsers);
        EXPECT_FALSE(QFileInfo::exists(users.root + QStringLiteral("/new")));
    }
}

TEST_F(FolderMovePlanTest, TheOtherProgramsWritesLandWhereTheSettingPointsOrFailBusy)
{
    const UsersTree users(QStringLiteral("tray"));
    // The tray's connection, opened on the database before the move.
    sqlite3 *tray = nullptr;
    ASSERT_EQ(sqlite3_open_v2((users.oldUsers + QStringLiteral("Anne/Zarvo.sdb")).toUtf8().constData(), &tray,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    sqlite3_busy_timeout(tray, 20);
    int next = 1000;
    std::vector<int> landed;
    int failed = 0;
    const auto trayWrites = [&] {
        const int value = next++;
        const QByteArray sql = "insert into t values(" + QByteArray::number(value) + ")";
        if (sqlite3_exec(tray, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
            landed.push_back(value);
        else
            ++failed;
    };
    FolderMovePlan::SetFaultHook([&](Stage, const QString &) {
        trayWrites();
        return false;
    });

    trayWrites();
    FolderMovePlan plan;
    plan.Add(users.move());
    ASSERT_TRUE(plan.Copy());
    trayWrites(); // between the copy and the switch: the lock holds it off
    ASSERT_TRUE(plan.RemoveOriginals());
    // The original is gone: a write on the old connection cannot land.
    trayWrites();
    sqlite3_close(tray);

    // The setting names the new folder: every write reported done is there.
    const QString moved = users.newUsers + QStringLiteral("Anne/Zarvo.sdb");
    EXPECT_EQ(checkedRows(moved), 100 + int(landed.size()));
    sqlite3 *reader = nullptr;
    sqlite3_open_v2(moved.toUtf8().constData(), &reader, SQLITE_OPEN_READONLY, nullptr);
    for (int value : landed) {
        const QByteArray sql = "select count(*) from t where n=" + QByteArray::number(value);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(reader, sql.constData(), -1, &st, nullptr);
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int(st, 0), 1) << value;
        sqlite3_finalize(st);
    }
    sqlite3_close(reader);
    // Some writes came before the lock, the others were refused.
    EXPECT_FALSE(landed.empty());
    EXPECT_GT(failed, 0);
    // A connection that follows the setting writes into the new place.
    sqlite3 *fresh = nullptr;
    sqlite3_open_v2(moved.toUtf8().constData(), &fresh, SQLITE_OPEN_READWRITE, nullptr);
    EXPECT_EQ(sqlite3_exec(fresh, "insert into t values(1)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(fresh);
}
