// The backup list: how it reads the backup folder, what its buttons do,
// and a restore that either takes the backup whole or leaves the database
// exactly as it was.
#include "AppFixture.h"
#include "CAnnulation.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "CDlgBackup.h"
#include "CReportStore.h"
#include "CmyDataBase.h"
#include "Texts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

QByteArray digestOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void touch(const QString &path, qint64 size = 10)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(size));
}

int projects(const QString &database)
{
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(database) != 0)
        return -1;
    auto t = db.Query(u"select count(*) from Projets");
    return t.hasRows() ? t->GetFirstInt() : -1;
}

class BackupListTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        anne = addUser(QStringLiteral("Anne"));
        backupRoot = TestFolders::root() + QStringLiteral("/backups/");
        anneBackups = backupRoot + QStringLiteral("Anne/");
        QDir().mkpath(anneBackups);
        app->Configuration().backupFolder = backupRoot;
    }
    void TearDown() override
    {
        dialog.reset();
        AppFixture::TearDown();
    }
    void open()
    {
        dialog = std::make_unique<CDlgBackup>(*app);
        dialog->show();
    }
    QPushButton *button(int id) const { return dialog->findChild<QPushButton *>(QString::number(id)); }
    void selectRow(int row)
    {
        QTreeWidget *list = dialog->ListControl();
        list->setCurrentItem(list->topLevelItem(row));
        list->topLevelItem(row)->setSelected(true);
    }
    QStringList names() const
    {
        QStringList listed;
        for (const auto &backup : dialog->Backups())
            listed << backup.fileName;
        return listed;
    }
    // A backup of Anne's database holding `count` projects.
    QString backupWithProjects(const QString &name, int count)
    {
        {
            CBdD db(databaseOf(QStringLiteral("Anne")));
            db.Execute(u"delete from Projets");
            for (int i = 0; i < count; ++i)
                db.Execute(QStringLiteral("insert into Projets(Id, Nom, Deleted) values (%1, 'P%1', 0)").arg(100 + i));
        }
        const QString path = anneBackups + name;
        EXPECT_TRUE(CDatabaseFile::CopyLive(databaseOf(QStringLiteral("Anne")), path,
                                            CDatabaseFile::Target::Replace));
        return path;
    }

    int anne = -1;
    QString backupRoot;
    QString anneBackups;
    std::unique_ptr<CDlgBackup> dialog;
};

} // namespace

TEST_F(BackupListTest, ListsBothKindsInDateOrderWithTheirSizes)
{
    touch(anneBackups + QStringLiteral("Zarvo_M20250301101500.sdb"), 30);
    touch(anneBackups + QStringLiteral("Zarvo_A20250301101500.sdb"), 20);
    touch(anneBackups + QStringLiteral("Zarvo_A20240101000000.sdb"), 10);
    touch(anneBackups + QStringLiteral("Zarvo_x.sdb"), 5);            // too short for a stamp
    touch(anneBackups + QStringLiteral("Other_A20250301101500.sdb")); // not this database
    touch(anneBackups + QStringLiteral("Zarvo_A20250301101500.rpt")); // not this extension
    QDir().mkpath(backupRoot + QStringLiteral("Bruno"));
    touch(backupRoot + QStringLiteral("Bruno/Zarvo_A20250401101500.sdb")); // another user's
    // A sparse file above 4 GB keeps its size.
    const qint64 big = 3LL * 1024 * 1024 * 1024 + 7;
    touch(anneBackups + QStringLiteral("Zarvo_M20250501000000.sdb"), big);

    app->Configuration().SetLocale(QLocale(QLocale::French, QLocale::France));
    open();
    // Of two equal stamps the one found later (in name order) comes first.
    EXPECT_EQ(names(), QStringList({QStringLiteral("Zarvo_x.sdb"), QStringLiteral("Zarvo_A20240101000000.sdb"),
                                    QStringLiteral("Zarvo_M20250301101500.sdb"),
                                    QStringLiteral("Zarvo_A20250301101500.sdb"),
                                    QStringLiteral("Zarvo_M20250501000000.sdb")}));
    QTreeWidget *list = dialog->ListControl();
    ASSERT_EQ(list->topLevelItemCount(), 5);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QString());
    EXPECT_EQ(list->topLevelItem(2)->text(0),
              app->Configuration().FormatOleDate(QDateTime(QDate(2025, 3, 1), QTime(10, 15)), true, true, true));
    EXPECT_EQ(list->topLevelItem(2)->text(1), Platform::Texts::get(404));
    EXPECT_EQ(list->topLevelItem(3)->text(1), Platform::Texts::get(403));
    // Sizes in bytes, grouped by thousands as the locale writes them.
    EXPECT_EQ(list->topLevelItem(3)->text(2), QStringLiteral("20"));
    const QString group = QLocale(QLocale::French).groupSeparator();
    EXPECT_EQ(list->topLevelItem(4)->text(2), QStringList({"3", "221", "225", "479"}).join(group));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Taille du fichier (octets)"));
    EXPECT_FALSE(button(CDlgBackup::DeleteButton)->isEnabled());
    EXPECT_FALSE(button(CDlgBackup::RestoreButton)->isEnabled());
    EXPECT_TRUE(button(CDlgBackup::BackupButton)->isEnabled());
    EXPECT_FALSE(button(CDlgBackup::ConfigureButton)->isVisible());
}

TEST_F(BackupListTest, StampsAreReadWithinTheName)
{
    struct Case
    {
        const char *name;
        bool dated;
        bool automatic;
    };
    for (const Case &c : {Case{"Zarvo_A20250301101500.sdb", true, true}, Case{"Zarvo_a20250301101500.sdb", true, true},
                          Case{"Zarvo_Q20250301101500.sdb", true, false}, Case{"20250301101500.sdb", true, false},
                          Case{"A.sdb", false, false}, Case{".sdb", false, false},
                          Case{"Zarvo_A2025x301101500.sdb", false, true},
                          Case{"Zarvo_A20251301101500.sdb", false, true}}) {
        const CDlgBackup::tBackupFile read = CDlgBackup::ReadName(QString::fromLatin1(c.name), QStringLiteral(".sdb"));
        EXPECT_EQ(read.date.isValid(), c.dated) << c.name;
        EXPECT_EQ(read.automatic, c.automatic) << c.name;
    }
}

TEST_F(BackupListTest, AFolderUnsetOrOutOfReachIsToldAndOnlyConfigureHelps)
{
    for (const QString &folder : {QString(), TestFolders::root() + QStringLiteral("/gone/")}) {
        app->Configuration().backupFolder = folder;
        open();
        const auto *message = dialog->findChild<QLabel *>(QString::number(CDlgBackup::Message));
        EXPECT_TRUE(message->isVisible());
        EXPECT_EQ(message->text(), Platform::Texts::get(folder.isEmpty() ? 407 : 408));
        EXPECT_TRUE(button(CDlgBackup::ConfigureButton)->isVisible());
        EXPECT_FALSE(button(CDlgBackup::BackupButton)->isEnabled());
        EXPECT_EQ(dialog->ListControl()->topLevelItemCount(), 0);
    }
}

TEST_F(BackupListTest, DeleteKeepsTheSelectionOnTheSameRowOrTheOneBefore)
{
    for (const char *name : {"Zarvo_A20250101000000.sdb", "Zarvo_A20250102000000.sdb", "Zarvo_M20250103000000.sdb"})
        touch(anneBackups + QString::fromLatin1(name));
    open();
    selectRow(2);
    QTest::mouseClick(button(CDlgBackup::DeleteButton), Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(anneBackups + QStringLiteral("Zarvo_M20250103000000.sdb")));
    EXPECT_EQ(dialog->Selected(), 1);
    selectRow(0);
    QTest::mouseClick(button(CDlgBackup::DeleteButton), Qt::LeftButton);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Zarvo_A20250102000000.sdb")});
    EXPECT_EQ(dialog->Selected(), 0);
    QTest::mouseClick(button(CDlgBackup::DeleteButton), Qt::LeftButton);
    EXPECT_EQ(dialog->Selected(), -1);
    EXPECT_FALSE(button(CDlgBackup::DeleteButton)->isEnabled());
    EXPECT_FALSE(button(CDlgBackup::RestoreButton)->isEnabled());
}

TEST_F(BackupListTest, BackUpNowAddsAManualBackupShownLast)
{
    touch(anneBackups + QStringLiteral("Zarvo_A20000101000000.sdb"));
    open();
    QTest::mouseClick(button(CDlgBackup::BackupButton), Qt::LeftButton);
    ASSERT_EQ(dialog->Backups().size(), 2);
    EXPECT_FALSE(dialog->Backups().last().automatic);
    EXPECT_TRUE(CDatabaseFile::Check(anneBackups + dialog->Backups().last().fileName).ok());
    EXPECT_TRUE(boxes().empty());

    // A copy that fails is told, and the list stays as it was.
    CDatabaseFile::SetFaultHook([](CDatabaseFile::Stage stage) { return stage == CDatabaseFile::Stage::CopyBeforeRename; });
    answers->Push(MessageBoxAnswer::Ok);
    QTest::mouseClick(button(CDlgBackup::BackupButton), Qt::LeftButton);
    CDatabaseFile::SetFaultHook({});
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Texts::get(406));
    EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconExclamation);
    EXPECT_EQ(boxes()[0].caption, Platform::Texts::get(173));
    EXPECT_EQ(dialog->Backups().size(), 2);
}

TEST_F(BackupListTest, RestoreTakesTheBackupIntoTheLiveDatabase)
{
    const QString database = databaseOf(QStringLiteral("Anne"));
    backupWithProjects(QStringLiteral("Zarvo_M20250101000000.sdb"), 3);
    {
        CBdD db(database);
        db.Execute(u"delete from Projets");
        db.Execute(u"insert into Projets(Id, Nom, Deleted) values (1, 'Now', 0)");
    }
    // An undoable change made before the restore.
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.ExecuteWithUndo(QStringLiteral("update Projets set Nom='Later' where Id=1"),
                           QStringLiteral("update Projets set Nom='Now' where Id=1"));
        ASSERT_TRUE(db.EndWrite());
    }
    // Another program keeps its connection open across the restore.
    SQLite::CmyDataBase tray;
    ASSERT_EQ(tray.Open(database), 0);
    EXPECT_EQ(tray.Query(u"select count(*) from Projets")->GetFirstInt(), 1);

    open();
    selectRow(0);
    answers->Push(MessageBoxAnswer::No);
    QTest::mouseClick(button(CDlgBackup::RestoreButton), Qt::LeftButton);
    EXPECT_EQ(projects(database), 1);
    answers->Push(MessageBoxAnswer::Yes);
    QTest::mouseClick(button(CDlgBackup::RestoreButton), Qt::LeftButton);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, Platform::Texts::get(409));
    EXPECT_EQ(boxes()[1].caption, Platform::Texts::get(166));
    EXPECT_EQ(boxes()[1].icon, MessageBoxType::IconQuestion);
    EXPECT_EQ(projects(database), 3);
    EXPECT_EQ(tray.Query(u"select count(*) from Projets")->GetFirstInt(), 3);
    // The undo history of the replaced data is gone: undo changes nothing.
    app->OnUndo();
    EXPECT_EQ(projects(database), 3);
    EXPECT_FALSE(app->Annulation().CanUndo());
}

TEST_F(BackupListTest, AFailedRestoreLeavesTheDatabaseByteForByte)
{
    const QString database = databaseOf(QStringLiteral("Anne"));
    const QString good = backupWithProjects(QStringLiteral("Zarvo_M20250109000000.sdb"), 4);
    {
        CBdD db(database);
        db.Execute(u"delete from Projets");
    }
    const QByteArray whole = TestFolders::readFile(good);
    const auto write = [this](const char *name, const QByteArray &bytes) {
        QFile file(anneBackups + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const auto sql = [this](const char *name, std::initializer_list<const char16_t *> statements) {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(anneBackups + QLatin1String(name)), 0);
        for (const char16_t *statement : statements)
            ASSERT_EQ(db.Execute(statement), 0);
    };
    // Not a database, but named like a backup.
    touch(anneBackups + QStringLiteral("Zarvo_M20250101000000.sdb"), 8192);
    // Cut short: by half, and by one byte inside its last page (SQLite
    // itself reads that one without a word).
    write("Zarvo_M20250102000000.sdb", whole.left(whole.size() / 2));
    write("Zarvo_M20250103000000.sdb", whole.chopped(1));
    // Of a later version than this program reads.
    {
        const QString later = anneBackups + QStringLiteral("Zarvo_M20250104000000.sdb");
        ASSERT_TRUE(CDatabaseFile::CopyLive(good, later, CDatabaseFile::Target::Replace));
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(later), 0);
        db.Execute(u"update Infos set Value='3' where Name='VersionDB'");
    }
    // Other databases: one of no table of ours, the user's report
    // definitions, and one holding only some of our tables.
    sql("Zarvo_M20250105000000.sdb", {u"create table Notes(Id integer)"});
    ASSERT_TRUE(CReportStore(anneBackups + QStringLiteral("Zarvo_M20250106000000.sdb")).OpenDatabase(true));
    sql("Zarvo_M20250107000000.sdb",
        {u"create table Infos(Name text, Value text)", u"insert into Infos values ('VersionDB','2')",
         u"create table Taches(Id integer primary key)", u"create table Projets(Id integer primary key)",
         u"create table Activites(Id integer primary key)"});
    // Sound pages, but an index that no longer matches its rows (which
    // only the full integrity check reads), and code of its own that would
    // run in the user's database.
    for (const char *name : {"Zarvo_M20250108000000.sdb", "Zarvo_M20250108120000.sdb"})
        ASSERT_TRUE(CDatabaseFile::CopyLive(good, anneBackups + QLatin1String(name), CDatabaseFile::Target::Replace));
    sql("Zarvo_M20250108000000.sdb",
        {u"insert into Activites(Id, Nom, Deleted) values (700, 'Un', 0), (701, 'Deux', 0)",
         u"create index ParNom on Activites(Nom)", u"PRAGMA writable_schema=ON",
         u"update sqlite_master set sql='CREATE INDEX ParNom on Activites(Deleted)' where name='ParNom'",
         u"PRAGMA writable_schema=OFF"});
    sql("Zarvo_M20250108120000.sdb",
        {u"create trigger Espion after insert on Taches begin delete from Projets; end"});
    const QByteArray before = digestOf(database);
    open();
    ASSERT_EQ(dialog->Backups().size(), 10);
    const auto restoreRow = [&](int row) {
        clearBoxes();
        selectRow(row);
        answers->Push(MessageBoxAnswer::Yes);
        answers->Push(MessageBoxAnswer::Ok);
        QTest::mouseClick(button(CDlgBackup::RestoreButton), Qt::LeftButton);
    };
    for (int row = 0; row < 9; ++row) {
        SCOPED_TRACE(dialog->Backups().at(row).fileName.toStdString());
        restoreRow(row);
        ASSERT_EQ(boxes().size(), 2u);
        EXPECT_EQ(boxes()[1].text, Platform::Texts::get(410));
        EXPECT_EQ(boxes()[1].caption, Platform::Texts::get(173));
        EXPECT_EQ(digestOf(database), before);
    }

    // A writer holding the database's lock: the good backup is refused too.
    SQLite::CmyDataBase writer;
    ASSERT_EQ(writer.Open(database), 0);
    writer.Execute(u"begin immediate");
    writer.Execute(u"insert into Activites(Id, Nom, Deleted) values (900, 'Held', 0)");
    restoreRow(9);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, Platform::Texts::get(410));
    writer.Execute(u"rollback");
    writer.Close();
    EXPECT_EQ(digestOf(database), before);
    EXPECT_EQ(projects(database), 0);

    // Once the lock is free, the same backup comes back whole.
    restoreRow(9);
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(projects(database), 4);
}
