#include "FolderMove.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "UiUtilities.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

void write(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// Every file and folder below `folder` with the contents of the files.
QStringList tree(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QString line = path.mid(folder.size() + 1);
        if (info.isSymLink())
            line += QStringLiteral(" -> ") + info.symLinkTarget();
        else if (info.isFile())
            line += QStringLiteral(" = ") + QString::fromUtf8(TestFolders::readFile(path));
        out << line;
    }
    out.sort();
    return out;
}

class FolderMoveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        source = TestFolders::file(QStringLiteral("Data"));
        target = TestFolders::file(QStringLiteral("New/Place"));
        write(source + QStringLiteral("/Users/Users.sdb"), "users");
        write(source + QStringLiteral("/Users/Anne/Zarvo.sdb"), "anne");
        write(source + QStringLiteral("/Users/Anne/.hidden"), "h");
        write(source + QStringLiteral("/Templates/Facture.tpl"), "tpl");
        QDir().mkpath(source + QStringLiteral("/Empty"));
        before = tree(source);
    }
    QString source;
    QString target;
    QStringList before;
};

TEST_F(FolderMoveTest, RefusesEqualNestedAndRootFolders)
{
    QDir().mkpath(TestFolders::file(QStringLiteral("Other")));
    ASSERT_TRUE(QFile::link(source, TestFolders::file(QStringLiteral("DataLink"))));
    const QString refused[][2] = {
        {source, source},
        {source, source + QStringLiteral("/")},
        {source, source + QStringLiteral("/Users/Inside")},
        {source + QStringLiteral("/Users"), source},
        {source, QStringLiteral("/")},
        {QStringLiteral("/"), TestFolders::file(QStringLiteral("Other"))},
        {source, TestFolders::file(QStringLiteral("DataLink/Sub"))},
        {TestFolders::file(QStringLiteral("DataLink")), source},
        {TestFolders::file(QStringLiteral("Missing")), target},
        {QString(), target},
        {source, QString()},
    };
    for (const auto &pair : refused) {
        SCOPED_TRACE(testing::Message() << pair[0].toStdString() << " -> " << pair[1].toStdString());
        EXPECT_FALSE(FolderMove(pair[0], pair[1]).IsAllowed());
        EXPECT_FALSE(MoveFolderContents(pair[0], pair[1]));
    }
    EXPECT_EQ(tree(source), before);
    EXPECT_FALSE(QFileInfo::exists(source + QStringLiteral("/Users/Inside")));
}

TEST_F(FolderMoveTest, MovesEverythingIncludingHiddenFilesAndLinks)
{
    ASSERT_TRUE(QFile::link(source + QStringLiteral("/Templates/Facture.tpl"), source + QStringLiteral("/Link.tpl")));
    before = tree(source);
    ASSERT_TRUE(MoveFolderContents(source + QStringLiteral("/"), target));
    // A link is moved as a link to the same place.
    EXPECT_EQ(tree(target), before);
    // The source folder stays, empty.
    EXPECT_TRUE(QFileInfo(source).isDir());
    EXPECT_TRUE(tree(source).isEmpty());
}

TEST_F(FolderMoveTest, MovedFoldersAreNoMoreOpenThanTheirSources)
{
    const struct
    {
        const char *folder;
        mode_t mode;
    } folders[] = {{"/Users", 0750}, {"/Users/Anne", 0700}, {"/Templates", 0755}};
    for (const auto &f : folders)
        ASSERT_EQ(::chmod(QFile::encodeName(source + QLatin1String(f.folder)).constData(), f.mode), 0);
    const mode_t umask = ::umask(022);
    const bool moved = MoveFolderContents(source + QStringLiteral("/"), target);
    ::umask(umask);
    ASSERT_TRUE(moved);
    for (const auto &f : folders) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(target + QLatin1String(f.folder)).constData(), &info), 0) << f.folder;
        EXPECT_EQ(info.st_mode & 0777, f.mode) << f.folder;
    }
}

TEST_F(FolderMoveTest, NeverOverwritesAndUndoesItsCopies)
{
    // The target already holds a file of the same name: nothing moves, the
    // copies made before it are removed, the target's own file stays.
    write(target + QStringLiteral("/Templates/Facture.tpl"), "theirs");
    write(target + QStringLiteral("/Mine.txt"), "mine");
    const QStringList targetBefore = tree(target);
    EXPECT_FALSE(MoveFolderContents(source, target));
    EXPECT_EQ(tree(source), before);
    EXPECT_EQ(tree(target), targetBefore);
}

// A copy failing half-way (disk full, a file that cannot be read) leaves
// the originals whole and removes every copy and folder it made.
TEST_F(FolderMoveTest, FailureHalfWayRemovesTheCopies)
{
    int copies = 0;
    FolderMove move(source, target);
    const bool copied = move.Copy([&](const QString &from, const QString &to) {
        if (++copies == 3) {
            QFile::copy(from, to); // a partial copy left behind
            return false;
        }
        return FolderMove::CopyAndCompare(from, to);
    });
    EXPECT_FALSE(copied);
    EXPECT_EQ(copies, 3);
    EXPECT_EQ(tree(source), before);
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(TestFolders::file(QStringLiteral("New"))));
}

TEST_F(FolderMoveTest, HalvesApartCancelAndAbandon)
{
    // Cancelled between files: as if nothing happened.
    int asked = 0;
    FolderMove cancelled(source, target);
    EXPECT_FALSE(cancelled.Copy({}, [&] { return ++asked == 4; }));
    EXPECT_EQ(tree(source), before);
    EXPECT_FALSE(QFileInfo::exists(target));

    // Copied, then abandoned by the caller: the copies go again.
    FolderMove abandoned(source, target);
    ASSERT_TRUE(abandoned.Copy());
    EXPECT_EQ(tree(target), before);
    EXPECT_EQ(abandoned.CopiedFiles().size(), 4);
    abandoned.RemoveCopies();
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(tree(source), before);

    // Copied, the caller switches, then the originals go; a folder holding
    // a file that arrived meanwhile stays with it.
    FolderMove move(source, target);
    ASSERT_TRUE(move.Copy());
    write(source + QStringLiteral("/Users/Anne/late.txt"), "late");
    EXPECT_TRUE(move.RemoveSources());
    EXPECT_EQ(tree(target), before);
    EXPECT_EQ(tree(source), (QStringList{QStringLiteral("Users"), QStringLiteral("Users/Anne"),
                                         QStringLiteral("Users/Anne/late.txt = late")}));
}

} // namespace

TEST_F(FolderMoveTest, WhatTheCallerSkipsStaysWhereItIsWithEverythingBelowIt)
{
    // A configured folder nested in the one moved (the users folder inside
    // the data folder) is neither copied nor removed.
    FolderMove move(source, target);
    QStringList asked;
    move.SetSkip([&](const QString &relative) {
        asked << relative;
        return relative == QStringLiteral("Users") || relative.endsWith(QStringLiteral(".tpl"));
    });
    ASSERT_TRUE(move.Copy());
    // Nothing below a skipped folder is even asked about.
    EXPECT_FALSE(asked.contains(QStringLiteral("Users/Anne")));
    EXPECT_EQ(tree(target), (QStringList{QStringLiteral("Empty"), QStringLiteral("Templates")}));
    ASSERT_TRUE(move.RemoveSources());
    EXPECT_EQ(tree(source),
              (QStringList{QStringLiteral("Templates"), QStringLiteral("Templates/Facture.tpl = tpl"),
                           QStringLiteral("Users"), QStringLiteral("Users/Anne"), QStringLiteral("Users/Anne/.hidden = h"),
                           QStringLiteral("Users/Anne/Zarvo.sdb = anne"), QStringLiteral("Users/Users.sdb = users")}));
}
