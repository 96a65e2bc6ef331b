// The folders, backups and network pages in a real frame, with the folder
// picker and the message boxes answered through their seams, on real users
// folders and databases.
#include "CBdD.h"
#include "CConfiguration.h"
#include "CFolderDialog.h"
#include "COptBackup.h"
#include "COptDir.h"
#include "COptLan.h"
#include "COptionsContext.h"
#include "CPrefsDialog.h"
#include "CUsers.h"
#include "FolderMovePlan.h"
#include "Formatter.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestFolders.h"
#include "Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

namespace A = MessageBoxAnswer;

mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 07777;
}

mode_t umaskNow()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Rows of the test's own table in a database that passes its check; -1
// otherwise.
int rowsIn(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return -1;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    int rows = -1;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "pragma quick_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW
        && QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))) == "ok") {
        sqlite3_finalize(st);
        st = nullptr;
        if (sqlite3_prepare_v2(db, "select count(*) from Kept", -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW)
            rows = sqlite3_column_int(st, 0);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

class FolderOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = TestFolders::root();
        data = root + QStringLiteral("/Data/");
        users = data + QStringLiteral("Users/");
        backups = root + QStringLiteral("/Backups/");
        QDir().mkpath(users + QStringLiteral("Anne"));
        QDir().mkpath(users + QStringLiteral("Bruno"));
        QDir().mkpath(backups + QStringLiteral("Anne"));
        {
            Platform::Settings s;
            s.setString(u"Config", u"Rep", u"Users", users);
            s.setString(u"Config", u"Rep", u"Data", data);
            s.setString(u"Config", u"Backup", u"Rep", backups);
            s.sync();
        }
        CUsers list;
        for (const QString &name : {QStringLiteral("Anne"), QStringLiteral("Bruno")}) {
            tUsers user;
            user.Nom = name;
            ASSERT_EQ(list.AddUser(user), CUsers::Done);
            addRows(users + name + QStringLiteral("/Zarvo.sdb"), name == QStringLiteral("Anne") ? 40 : 7);
        }
        writeFile(data + QStringLiteral("Facture.tpl"), "template");
        writeFile(backups + QStringLiteral("Anne/Zarvo_A20240101120000.sdb"), QByteArray());
        addRows(backups + QStringLiteral("Anne/Zarvo_A20240101120000.sdb"), 3);

        Platform::Settings s;
        config.Load(s);
        context.postChange = [this](int kind) {
            Platform::Settings now;
            posted << QStringLiteral("%1 %2").arg(kind).arg(now.getString(u"Config", u"Rep", u"Users"));
        };
        context.runCopy = [](QWidget *, FolderMovePlan &plan) { return plan.Copy(); };
        context.usersFolderChanged = [this] { ++usersReloads; };
    }
    void TearDown() override
    {
        CFolderDialog::SetPicker({});
        FolderMovePlan::SetFaultHook({});
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static void addRows(const QString &path, int rows)
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        QByteArray sql = "create table Kept(n integer); begin;";
        for (int i = 0; i < rows; ++i)
            sql += "insert into Kept values(" + QByteArray::number(i) + ");";
        sql += "commit;";
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    static QString setting(QStringView section, QStringView name)
    {
        Platform::Settings s;
        return s.getString(u"Config", section, name, QStringLiteral("<none>"));
    }

    template<typename W>
    static W *control(QWidget *page, int id)
    {
        W *w = page->findChild<W *>(QString::number(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    std::vector<QString> asked() const
    {
        std::vector<QString> texts;
        for (const auto &box : answers.AskedBoxes())
            texts.push_back(box.text);
        return texts;
    }
    static QString moveQuestion(const QString &from, const QString &to)
    {
        return Platform::Formatter::sprintf(Platform::Texts::get(176), {from, to});
    }
    static QString copyError(const QString &from, const QString &to)
    {
        return Platform::Formatter::sprintf(Platform::Texts::get(177), {from, to});
    }

    // The frame with the folders page, its users folder typed as given.
    struct Folders
    {
        COptDir page;
        CPrefsDialog frame;
        Folders(COptionsContext &context, const QString &typedUsers, const QString &typedTemplates = QString())
            : page(context)
        {
            frame.AddPage(&page, 0, QStringLiteral("Répertoires"));
            frame.show();
            if (!typedUsers.isNull())
                control<QLineEdit>(&page, COptDir::UsersEdit)->setText(typedUsers);
            if (!typedTemplates.isNull())
                control<QLineEdit>(&page, COptDir::TemplatesEdit)->setText(typedTemplates);
        }
        void ok() { QTest::mouseClick(frame.OkButton(), Qt::LeftButton); }
    };

    QString root, data, users, backups;
    CConfiguration config;
    COptionsContext context{config};
    MessageBoxAnswers answers;
    QStringList posted;
    int usersReloads = 0;
};

} // namespace

TEST_F(FolderOptionsTest, TheUsersFolderMovesOnYesStaysOnNoAndCancelKeepsTheDialog)
{
    const QString moved = root + QStringLiteral("/Elsewhere/Users/");
    {
        // Cancel: the dialog stays, nothing moved, nothing stored.
        Folders f(context, moved);
        answers.Push(A::Cancel);
        f.ok();
        EXPECT_TRUE(f.frame.isVisible());
        EXPECT_EQ(asked(), std::vector<QString>{moveQuestion(users, moved)});
        EXPECT_EQ(setting(u"Rep", u"Users"), users);
        EXPECT_EQ(rowsIn(users + QStringLiteral("Anne/Zarvo.sdb")), 40);
        // The new folder is made as soon as it is accepted, empty, for its
        // owner alone as the databases it is to hold; the missing folder
        // above it is the user's own place, made under the umask.
        EXPECT_TRUE(QDir(moved).isEmpty());
        EXPECT_EQ(modeOf(moved), 0700u);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        EXPECT_EQ(modeOf(root + QStringLiteral("/Elsewhere")), 0777u & ~mask);
    }
    {
        // No: the setting changes, the files stay.
        Folders f(context, moved);
        answers.Push(A::No);
        f.ok();
        EXPECT_FALSE(f.frame.isVisible());
        EXPECT_EQ(setting(u"Rep", u"Users"), moved);
        EXPECT_EQ(rowsIn(users + QStringLiteral("Anne/Zarvo.sdb")), 40);
        EXPECT_TRUE(QDir(moved).isEmpty());
        EXPECT_EQ(usersReloads, 1);
    }
    // Back to the old folder without moving, then Yes.
    {
        Folders f(context, users);
        answers.Push(A::No);
        f.ok();
        EXPECT_EQ(setting(u"Rep", u"Users"), users);
    }
    posted.clear();
    Folders f(context, moved);
    answers.Push(A::Yes);
    f.ok();
    EXPECT_FALSE(f.frame.isVisible());
    EXPECT_EQ(setting(u"Rep", u"Users"), moved);
    EXPECT_EQ(config.usersFolder, moved);
    EXPECT_EQ(rowsIn(moved + QStringLiteral("Anne/Zarvo.sdb")), 40);
    EXPECT_EQ(rowsIn(moved + QStringLiteral("Bruno/Zarvo.sdb")), 7);
    EXPECT_TRUE(QFileInfo(moved + QStringLiteral("Users.sdb")).isFile());
    EXPECT_FALSE(QFileInfo::exists(users + QStringLiteral("Anne")));
    EXPECT_FALSE(QFileInfo::exists(users + QStringLiteral("Users.sdb")));
    // The broadcast comes once the setting names the new folder.
    EXPECT_EQ(posted, QStringList{QStringLiteral("0 ") + moved});
    // The users list reads the moved database: both users are there.
    CUsers list;
    EXPECT_EQ(list.ReadUserChoices(0, nullptr).size(), 2);
}

TEST_F(FolderOptionsTest, TheTemplatesMoveLeavesTheUsersFolderNestedInIt)
{
    const QString templates = root + QStringLiteral("/Modeles/");
    Folders f(context, QString(), templates);
    answers.Push(A::Yes);
    f.ok();
    ASSERT_FALSE(f.frame.isVisible());
    EXPECT_EQ(setting(u"Rep", u"Data"), templates);
    EXPECT_EQ(TestFolders::readFile(templates + QStringLiteral("Facture.tpl")), QByteArray("template"));
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("Facture.tpl")));
    // A templates folder made here follows the umask.
    EXPECT_EQ(modeOf(templates), 0777 & ~umaskNow());
    // The users folder is another setting's: it stays where it is, whole.
    EXPECT_FALSE(QFileInfo::exists(templates + QStringLiteral("Users")));
    EXPECT_EQ(rowsIn(users + QStringLiteral("Anne/Zarvo.sdb")), 40);
    EXPECT_EQ(setting(u"Rep", u"Users"), users);
    EXPECT_EQ(usersReloads, 0);
}

TEST_F(FolderOptionsTest, FoldersAreTakenWithTheirSlashComparedAsTheyAreAndRefusedWhenUnusable)
{
    answers.AnswerNotices();
    // Picked: the slash is added.
    CFolderDialog::SetPicker([&](QWidget *, const QString &title, const QString &) {
        EXPECT_EQ(title, Platform::Texts::get(172));
        return root + QStringLiteral("/Picked");
    });
    {
        Folders f(context, QString());
        QTest::mouseClick(control<QPushButton>(&f.page, COptDir::UsersBrowse), Qt::LeftButton);
        EXPECT_EQ(control<QLineEdit>(&f.page, COptDir::UsersEdit)->text(), root + QStringLiteral("/Picked/"));
    }
    // Typed as the stored folder without its slash, or through a link: no
    // question, and the folder is stored with its slash.
    ASSERT_TRUE(QFile::link(data, root + QStringLiteral("/DataLink")));
    for (const QString &same : {users.chopped(1), root + QStringLiteral("/DataLink/Users")}) {
        Folders f(context, same);
        f.ok();
        EXPECT_FALSE(f.frame.isVisible());
        EXPECT_TRUE(answers.AskedBoxes().empty());
    }
    EXPECT_EQ(setting(u"Rep", u"Users"), root + QStringLiteral("/DataLink/Users/"));

    // Refused with a message, the dialog kept: empty, relative, a folder
    // that cannot be made, one inside the old folder, the root.
    writeFile(root + QStringLiteral("/plain"), "a file");
    const QString stored = setting(u"Rep", u"Users");
    config.usersFolder = stored;
    struct Case
    {
        QString typed;
        int answer; // pushed for the question, or 0 when none is asked
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral(""), 0, Platform::Texts::get(172)},
        {QStringLiteral("relative/Users"), 0, Platform::Texts::get(172)},
        {root + QStringLiteral("/plain/Users/"), 0,
         Platform::Formatter::sprintf(Platform::Texts::get(399), {root + QStringLiteral("/plain/Users/")})},
        {stored + QStringLiteral("Inside/"), A::Yes, copyError(stored, stored + QStringLiteral("Inside/"))},
        {QStringLiteral("/"), A::Yes, copyError(stored, QStringLiteral("/"))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        MessageBoxAnswers seam;
        seam.AnswerNotices();
        if (c.answer)
            seam.Push(c.answer);
        Folders f(context, c.typed);
        f.ok();
        EXPECT_TRUE(f.frame.isVisible());
        ASSERT_FALSE(seam.AskedBoxes().empty());
        EXPECT_EQ(seam.AskedBoxes().back().text, c.expected);
        EXPECT_EQ(setting(u"Rep", u"Users"), stored);
    }
    EXPECT_EQ(rowsIn(users + QStringLiteral("Anne/Zarvo.sdb")), 40);

    // A templates folder never set and left empty does not hold the page.
    config.dataFolder.clear();
    {
        MessageBoxAnswers seam;
        seam.AnswerNotices();
        Folders f(context, QString(), QString());
        f.ok();
        EXPECT_FALSE(f.frame.isVisible());
        EXPECT_TRUE(seam.AskedBoxes().empty());
        EXPECT_EQ(setting(u"Rep", u"Data"), QString());
    }
}

TEST_F(FolderOptionsTest, ANameAlreadyInTheNewFolderOrAFailedSettingsWriteMovesNothing)
{
    answers.AnswerNotices();
    const QString moved = root + QStringLiteral("/Other/");
    QDir().mkpath(moved + QStringLiteral("Bruno"));
    {
        Folders f(context, moved);
        answers.Push(A::Yes);
        f.ok();
        EXPECT_TRUE(f.frame.isVisible());
        EXPECT_EQ(asked().back(), copyError(users + QStringLiteral("Bruno"), moved + QStringLiteral("Bruno")));
    }
    QDir(moved + QStringLiteral("Bruno")).removeRecursively();

    // The copy is whole but the settings cannot be written: the copies go,
    // the originals stay, and the setting still names them.
    FolderMovePlan::SetFaultHook([](FolderMovePlan::Stage stage, const QString &) {
        return stage == FolderMovePlan::Stage::SettingsWrite;
    });
    Folders f(context, moved);
    answers.Push(A::Yes);
    f.ok();
    EXPECT_EQ(asked().back(), copyError(users, moved));
    EXPECT_EQ(setting(u"Rep", u"Users"), users);
    EXPECT_EQ(config.usersFolder, users);
    EXPECT_EQ(rowsIn(users + QStringLiteral("Anne/Zarvo.sdb")), 40);
    EXPECT_TRUE(QDir(moved).isEmpty());
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_EQ(usersReloads, 0);
}

TEST_F(FolderOptionsTest, TheBackupFolderIsCheckedOnlyWhenBackupsAreOnAndItsUsersFoldersMove)
{
    answers.AnswerNotices();
    const QString moved = root + QStringLiteral("/Sauvegardes/");
    QDir().mkpath(moved);
    const auto open = [&](bool on, const QString &folder, auto &&then) {
        COptBackup page(context);
        CPrefsDialog frame;
        frame.AddPage(&page, 0, QStringLiteral("Sauvegardes"));
        frame.show();
        auto *box = control<QCheckBox>(&page, COptBackup::BackupCheck);
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton);
        control<QLineEdit>(&page, COptBackup::FolderEdit)->setText(folder);
        QTest::mouseClick(frame.OkButton(), Qt::LeftButton);
        then(frame);
    };
    // Off: an empty folder is taken as it is.
    open(false, QString(), [&](CPrefsDialog &frame) { EXPECT_FALSE(frame.isVisible()); });
    EXPECT_EQ(setting(u"Backup", u"Backup"), QStringLiteral("0"));
    EXPECT_EQ(setting(u"Backup", u"Rep"), QString());
    config.backupFolder = backups;
    // On: empty or missing is refused, and a missing folder is not made
    // (the page never makes the backup folder, nor one above it).
    for (const QString &bad : {QString(), root + QStringLiteral("/Nowhere/Sauvegardes/")}) {
        open(true, bad, [&](CPrefsDialog &frame) { EXPECT_TRUE(frame.isVisible()); });
        EXPECT_EQ(asked().back(), Platform::Texts::get(360));
        EXPECT_EQ(setting(u"Backup", u"Rep"), QString());
    }
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/Nowhere")));
    // Cancel refuses, No stores without moving, Yes moves each user's folder.
    answers.Push(A::Cancel);
    open(true, moved, [&](CPrefsDialog &frame) { EXPECT_TRUE(frame.isVisible()); });
    EXPECT_EQ(asked().back(), moveQuestion(backups, moved));
    answers.Push(A::No);
    open(true, moved, [&](CPrefsDialog &frame) { EXPECT_FALSE(frame.isVisible()); });
    EXPECT_EQ(setting(u"Backup", u"Rep"), moved);
    EXPECT_EQ(rowsIn(backups + QStringLiteral("Anne/Zarvo_A20240101120000.sdb")), 3);
    config.backupFolder = backups;
    answers.Push(A::Yes);
    open(true, moved.chopped(1), [&](CPrefsDialog &frame) { EXPECT_FALSE(frame.isVisible()); });
    EXPECT_EQ(setting(u"Backup", u"Rep"), moved);
    EXPECT_EQ(rowsIn(moved + QStringLiteral("Anne/Zarvo_A20240101120000.sdb")), 3);
    EXPECT_FALSE(QFileInfo::exists(backups + QStringLiteral("Anne")));
}

TEST_F(FolderOptionsTest, TheRetentionListNeverOffersLessThanTheFrequency)
{
    // Frequency entry -> the first Keep offered.
    const int firstOffered[6] = {3, 3, 3, 5, 5, 7};
    for (int frequency = 0; frequency <= 5; ++frequency) {
        for (int keep = 3; keep <= 9; ++keep) {
            SCOPED_TRACE(testing::Message() << frequency << " " << keep);
            config.backupPeriode = frequency;
            config.backupKeep = keep;
            COptBackup page(context);
            CPrefsDialog frame;
            frame.AddPage(&page, 0, QStringLiteral("Sauvegardes"));
            frame.show();
            auto *list = control<QComboBox>(&page, COptBackup::KeepCombo);
            EXPECT_EQ(list->count(), 10 - firstOffered[frequency]);
            const int shown = std::max(keep, firstOffered[frequency]);
            EXPECT_EQ(list->currentText(), Platform::Texts::get(350 + shown));
            QTest::mouseClick(frame.OkButton(), Qt::LeftButton);
            EXPECT_EQ(setting(u"Backup", u"Keep"), QString::number(shown));
            // Entry i is the period code i: "Un jour" is 0.
            EXPECT_EQ(setting(u"Backup", u"Periode"), QString::number(frequency));
        }
    }

    // Back and forth: a choice still offered is kept.
    config.backupPeriode = 0;
    config.backupKeep = 6;
    COptBackup page(context);
    CPrefsDialog frame;
    frame.AddPage(&page, 0, QStringLiteral("Sauvegardes"));
    frame.show();
    auto *frequency = control<QComboBox>(&page, COptBackup::FrequencyCombo);
    auto *list = control<QComboBox>(&page, COptBackup::KeepCombo);
    frequency->setCurrentIndex(5);
    EXPECT_EQ(list->currentText(), Platform::Texts::get(357)); // raised to six months
    frequency->setCurrentIndex(0);
    EXPECT_EQ(list->currentText(), Platform::Texts::get(357));
    list->setCurrentIndex(1); // two weeks
    frequency->setCurrentIndex(2);
    EXPECT_EQ(list->currentText(), Platform::Texts::get(354));
}

TEST_F(FolderOptionsTest, TheNetworkPageOffersNinePeriods)
{
    struct Case
    {
        int stored;
        int entry;
    };
    const Case cases[] = {{-1, 0}, {0, 1}, {60, 2}, {300, 3}, {600, 4}, {900, 5}, {1200, 6}, {1800, 7}, {3600, 8},
                          {45, 0}, {7200, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        config.lanTime = c.stored;
        COptLan page(context);
        CPrefsDialog frame;
        frame.AddPage(&page, 0, QStringLiteral("Maj réseau"));
        frame.show();
        auto *combo = control<QComboBox>(&page, COptLan::TimeCombo);
        ASSERT_EQ(combo->count(), 9);
        EXPECT_EQ(combo->currentIndex(), c.entry);
        EXPECT_EQ(COptLan::TimeOfEntry(c.entry), c.entry == 0 ? -1 : c.stored);
    }
    COptLan page(context);
    CPrefsDialog frame;
    frame.AddPage(&page, 0, QStringLiteral("Maj réseau"));
    frame.show();
    auto *combo = control<QComboBox>(&page, COptLan::TimeCombo);
    EXPECT_EQ(combo->itemText(4), QStringLiteral("Toutes les 10 minutes"));
    combo->setCurrentIndex(7);
    control<QLineEdit>(&page, COptLan::FolderEdit)->setText(QStringLiteral("/mnt/partage"));
    QTest::mouseClick(frame.OkButton(), Qt::LeftButton);
    EXPECT_EQ(setting(u"Lan", u"Rep"), QStringLiteral("/mnt/partage/"));
    EXPECT_EQ(setting(u"Lan", u"Time"), QStringLiteral("1800"));
    EXPECT_EQ(config.lanTime, 1800);
}

TEST_F(FolderOptionsTest, TheCopyRunsUnderTheProgressDialogAndACancelLeavesNothingBehind)
{
    const QString moved = root + QStringLiteral("/Ailleurs/");
    {
        // Cancelled just as the copy ended: nothing stays, nothing is told.
        context.runCopy = [](QWidget *, FolderMovePlan &plan) {
            plan.Copy();
            return false;
        };
        Folders f(context, moved);
        answers.Push(A::Yes);
        f.ok();
        EXPECT_TRUE(f.frame.isVisible());
        EXPECT_EQ(answers.AskedBoxes().size(), 1u); // the question alone
        EXPECT_TRUE(QDir(moved).isEmpty());
        EXPECT_EQ(rowsIn(users + QStringLiteral("Anne/Zarvo.sdb")), 40);
        EXPECT_EQ(setting(u"Rep", u"Users"), users);
    }
    // The program's own way: the copy on the progress dialog's worker.
    context.runCopy = nullptr;
    Folders f(context, moved);
    answers.Push(A::Yes);
    f.ok();
    EXPECT_FALSE(f.frame.isVisible());
    EXPECT_EQ(setting(u"Rep", u"Users"), moved);
    EXPECT_EQ(rowsIn(moved + QStringLiteral("Anne/Zarvo.sdb")), 40);
    EXPECT_FALSE(QFileInfo::exists(users + QStringLiteral("Anne")));
}
