// The first-run wizard driven as a user would, on settings and folders of
// the test's own: its buttons over the pages, the folder page's checks and
// what it stores, the first user with and without the sample data, and the
// language page.
#include "CFolderDialog.h"
#include "CLanguageSelector.h"
#include "CMyEdit.h"
#include "CReadOnlyCB.h"
#include "CUsers.h"
#include "CWizardConfig.h"
#include "CWizardInit1.h"
#include "CWizardInit2.h"
#include "CWizardInit3.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "CBdD.h"
#include "Formatter.h"
#include "LanguageFixture.h"
#include "LocalTime.h"
#include "MessageBoxAnswers.h"
#include "NewUserFiles.h"
#include "QStringPrinter.h"
#include "RefusedUserNames.h"
#include "Settings.h"
#include "TestFolders.h"
#include "Texts.h"
#include "CTranslationStore.h"
#include "TranslateWidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

namespace {

QString setting(QStringView section, QStringView name, QStringView base = u"Config")
{
    return Platform::Settings().getString(base, section, name);
}

int count(const QString &database, const QString &sql)
{
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(database) != 0)
        return -1;
    auto t = db.Query(sql);
    return t.hasRows() ? t->GetFirstInt() : -1;
}

class FirstRunWizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = TestFolders::file(QStringLiteral("data")) + u'/';
        answers = std::make_unique<MessageBoxAnswers>();
    }
    void TearDown() override
    {
        wizard.reset();
        answers.reset();
        CFolderDialog::SetPicker({});
        CLanguageSelector::SetApplication(nullptr);
        Platform::Clock::reset();
    }

    // The wizard over a program folder (its languages and samples).
    void open(const QString &programFolder = LanguageFixture::programFolder())
    {
        languages = std::make_unique<CLanguageSelector>(programFolder + QStringLiteral("Zarvo"));
        languages->SetLanguage(1036);
        languages->SetChangePoster([](int) {});
        wizard = std::make_unique<CWizardConfig>(users, *languages, [this] { ++reloads; });
        wizard->show();
    }
    void click(QPushButton *button)
    {
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents(); // a page's word on the buttons is queued
    }
    // Back, Next, Finish enabled.
    std::string buttons() const
    {
        std::string s;
        for (QPushButton *b : {wizard->BackButton(), wizard->NextButton(), wizard->FinishButton()})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }
    // Goes to the user page with `folder` as the data folder.
    void toUserPage(const QString &folder)
    {
        click(wizard->NextButton());
        wizard->FolderPage().Folder()->setText(folder);
        click(wizard->NextButton());
        ASSERT_EQ(wizard->CurrentPage(), 2);
    }
    QStringList texts() const
    {
        QStringList shown;
        for (const MessageBoxAnswers::Asked &box : answers->AskedBoxes())
            shown << box.text;
        return shown;
    }

    QString root;
    CUsers users;
    std::unique_ptr<CLanguageSelector> languages;
    std::unique_ptr<MessageBoxAnswers> answers;
    std::unique_ptr<CWizardConfig> wizard;
    int reloads = 0;
};

} // namespace

TEST_F(FirstRunWizardTest, ThreePagesStoreTheFoldersAndMakeTheFirstUserCurrent)
{
    open();
    EXPECT_EQ(buttons(), "010");
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Assistant de configuration"));
    EXPECT_EQ(wizard->NextButton()->text(), QStringLiteral("Suivant"));
    click(wizard->NextButton());
    // Documents/Zarvo/ of the user's own folders is proposed.
    EXPECT_EQ(wizard->FolderPage().Folder()->text(),
              QDir::toNativeSeparators(QDir::homePath() + QStringLiteral("/Documents/Zarvo/")));
    EXPECT_EQ(buttons(), "110");
    wizard->FolderPage().Folder()->setText(root);
    click(wizard->NextButton());
    EXPECT_EQ(buttons(), "101");
    EXPECT_EQ(setting(u"Rep", u"Users"), root + QStringLiteral("Users/"));
    EXPECT_EQ(setting(u"Rep", u"Data"), root + QStringLiteral("Templates/"));
    EXPECT_EQ(setting(u"Backup", u"Rep"), root + QStringLiteral("Backup/"));
    // The users' databases and their backups are their owner's alone,
    // whatever the umask; the report templates follow it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const struct
    {
        const char *name;
        mode_t mode;
    } made[] = {{"Users", 0700}, {"Templates", 0777 & ~mask}, {"Backup", 0700}};
    for (const auto &folder : made) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(root + QLatin1String(folder.name)).constData(), &info), 0) << folder.name;
        EXPECT_TRUE(S_ISDIR(info.st_mode)) << folder.name;
        EXPECT_EQ(info.st_mode & 07777, folder.mode) << folder.name;
    }

    // Escape and closing the window leave the wizard where it is.
    QTest::keyClick(wizard->UserPage().Name(), Qt::Key_Escape);
    EXPECT_FALSE(wizard->close());
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->CurrentPage(), 2);

    wizard->UserPage().Name()->setText(QStringLiteral("Anne"));
    click(wizard->FinishButton());
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_TRUE(texts().isEmpty()) << texts().join(u'|').toStdString();
    tUsers anne;
    ASSERT_TRUE(users.LoadUserByName(QStringLiteral("Anne"), anne));
    EXPECT_EQ(anne.TypeColor, 1);
    EXPECT_EQ(users.GetCurrentId(), anne.Id);
    EXPECT_EQ(wizard->UserPage().CreatedUserId(), anne.Id);
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("Users/Anne/Zarvo.sdb")).isFile());
    EXPECT_EQ(reloads, 0);
}

TEST_F(FirstRunWizardTest, AnExistingInstallationFinishesOnTheFolderPageWithoutAUser)
{
    // An installation in the folder the wizard proposes.
    const QString proposed = CWizardInit2::ProposedFolder();
    {
        Platform::Settings settings;
        settings.setString(u"Config", u"Rep", u"Users", proposed + QStringLiteral("Users/"));
        settings.sync();
    }
    QDir().mkpath(proposed + QStringLiteral("Users"));
    tUsers old;
    old.Nom = QStringLiteral("Old");
    ASSERT_EQ(users.AddUser(old), CUsers::Done);
    Platform::Settings().removePrefix(QStringLiteral("Config/Rep"));

    open();
    click(wizard->NextButton());
    EXPECT_EQ(buttons(), "101");
    EXPECT_TRUE(wizard->FinishButton()->isDefault());

    // Another folder picked: Next again; the first one back: Finish.
    QString picked = root;
    CFolderDialog::SetPicker([&](QWidget *, const QString &, const QString &) { return picked; });
    QTest::mouseClick(wizard->FolderPage().findChild<QPushButton *>(QStringLiteral("1086")), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(buttons(), "110");
    picked = proposed;
    QTest::mouseClick(wizard->FolderPage().findChild<QPushButton *>(QStringLiteral("1086")), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(buttons(), "101");

    click(wizard->FinishButton());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_FALSE(wizard->UserPage().IsCreated());
    EXPECT_EQ(setting(u"Rep", u"Users"), proposed + QStringLiteral("Users/"));
    EXPECT_EQ(users.CountUsers(), 1);
    EXPECT_EQ(users.GetCurrentId(), -1);
}

TEST_F(FirstRunWizardTest, TheFolderPageRefusesWhatItCannotStore)
{
    answers->AnswerNotices();
    TestFolders::writeFile(QStringLiteral("plain"), "a file, not a folder");
    const QString plain = TestFolders::file(QStringLiteral("plain"));
    struct Case
    {
        const char *name;
        QString typed;
        QString message;
        QString usersStored; // what the Users value holds afterwards
    };
    const auto unmakeable = [](const QString &folder) {
        return Platform::Formatter::sprintf(Platform::Texts::get(399), {folder});
    };
    const Case cases[] = {
        {"empty", QString(), Platform::Texts::get(172), QString()},
        {"relative", QStringLiteral("donnees/zarvo"), Platform::Texts::get(172), QString()},
        // The values stored before the failure stay.
        {"a file where a parent should be", plain + QStringLiteral("/zarvo"),
         unmakeable(plain + QStringLiteral("/zarvo/Users/")), plain + QStringLiteral("/zarvo/Users/")},
        {"a file as the folder itself", plain, unmakeable(plain + QStringLiteral("/Users/")),
         plain + QStringLiteral("/Users/")},
    };
    open();
    click(wizard->NextButton());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Platform::Settings().removePrefix(QStringLiteral("Config/Rep"));
        const size_t before = answers->AskedBoxes().size();
        wizard->FolderPage().Folder()->setText(c.typed);
        click(wizard->NextButton());
        EXPECT_EQ(wizard->CurrentPage(), 1);
        ASSERT_EQ(answers->AskedBoxes().size(), before + 1);
        const auto &box = answers->AskedBoxes().back();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.caption, Platform::Texts::get(173));
        EXPECT_EQ(setting(u"Rep", u"Users"), c.usersStored);
    }
    EXPECT_FALSE(wizard->UserPage().IsCreated());
}

TEST_F(FirstRunWizardTest, TheFirstUserTakesTheBuiltSampleMovedToThePresent)
{
    // A Monday evening.
    const QDate monday(2026, 12, 7);
    const qint64 now = QDateTime(monday, QTime(19, 0)).toSecsSinceEpoch();
    Platform::Clock::setFixedNow(now);
    open(QStringLiteral(ZARVO_PROGRAM_FOLDER));
    toUserPage(root);
    wizard->UserPage().Name()->setText(QStringLiteral("Anne"));
    wizard->UserPage().Sample()->setChecked(true);
    click(wizard->FinishButton());
    EXPECT_TRUE(texts().isEmpty()) << texts().join(u'|').toStdString();

    tUsers anne;
    ASSERT_TRUE(users.LoadUserByName(QStringLiteral("Anne"), anne));
    EXPECT_EQ(users.GetCurrentId(), anne.Id);
    const QString database = anne.GetDatabasePath(true);
    const int sampleEntries = count(QStringLiteral(ZARVO_PROGRAM_FOLDER "Fra/Demo/ZarvoFra.sdb"),
                                    QStringLiteral("select count(*) from Taches"));
    EXPECT_GT(sampleEntries, 0);
    EXPECT_EQ(count(database, QStringLiteral("select count(*) from Taches")), sampleEntries);
    EXPECT_EQ(count(database, QStringLiteral("select count(*) from Infos where Name='Demo'")), 0);
    EXPECT_EQ(count(database, QStringLiteral("select count(*) from Taches where Fin>%1").arg(now)), 0);
    // The newest entries are today's.
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(database), 0);
    auto newest = db.Query(u"select max(Debut) from Taches");
    ASSERT_TRUE(newest.hasRows());
    EXPECT_EQ(Platform::LocalTime::localDate(newest->GetCell(0, 0).toLongLong()), monday);
    db.Close();
    EXPECT_EQ(count(anne.GetReportDatabasePath(), QStringLiteral("select count(*) from Reports")), 7);
}

TEST_F(FirstRunWizardTest, WithoutASampleTheDatabaseStaysEmptyAndTheUserIsTold)
{
    answers->AnswerNotices();
    open();
    toUserPage(root);
    wizard->UserPage().Name()->setText(QStringLiteral("Anne"));
    wizard->UserPage().Sample()->setChecked(true);
    click(wizard->FinishButton());
    EXPECT_EQ(texts(), QStringList{Platform::Texts::get(427)});
    tUsers anne;
    ASSERT_TRUE(users.LoadUserByName(QStringLiteral("Anne"), anne));
    EXPECT_EQ(count(anne.GetDatabasePath(true), QStringLiteral("select count(*) from Taches")), 0);
    EXPECT_FALSE(QFileInfo::exists(anne.GetReportDatabasePath()));
}

TEST_F(FirstRunWizardTest, ADatabaseAlreadyInTheUsersFolderIsKeptWhateverTheSample)
{
    answers->AnswerNotices();
    const QString database = root + QStringLiteral("Users/Anne/Zarvo.sdb");
    QDir().mkpath(root + QStringLiteral("Users/Anne"));
    {
        CBdD db(database);
        ASSERT_TRUE(db.IsOpen());
        db.Execute(u"insert into Taches(Id, Debut, Fin, IdProjet, IdActivite, Deleted) values (7, 100, 200, -1, -1, 0)");
    }
    open(QStringLiteral(ZARVO_PROGRAM_FOLDER));
    toUserPage(root);
    wizard->UserPage().Name()->setText(QStringLiteral("Anne"));
    wizard->UserPage().Sample()->setChecked(true);
    click(wizard->FinishButton());
    EXPECT_EQ(texts(), QStringList{Platform::Texts::get(427)});
    EXPECT_EQ(count(database, QStringLiteral("select count(*) from Taches")), 1);
    EXPECT_EQ(count(database, QStringLiteral("select Id from Taches")), 7);
}

TEST_F(FirstRunWizardTest, NamesThatCannotBeAUsersAreRefused)
{
    answers->AnswerNotices();
    {
        Platform::Settings settings;
        settings.setString(u"Config", u"Rep", u"Users", root + QStringLiteral("Users/"));
        settings.sync();
    }
    QDir().mkpath(root + QStringLiteral("Users"));
    tUsers taken;
    taken.Nom = QStringLiteral("Anne");
    ASSERT_EQ(users.AddUser(taken), CUsers::Done);
    open();
    toUserPage(root);
    // The name of the account is proposed.
    EXPECT_FALSE(wizard->UserPage().Name()->text().isEmpty());
    std::vector<RefusedUserName> cases = RefusedUserNames();
    cases.push_back({QString(), Platform::Texts::get(174)});
    cases.push_back({QStringLiteral("ANNE"), Platform::Texts::get(175)});
    QLineEdit *name = wizard->UserPage().Name();
    for (const RefusedUserName &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EnterName(name, c.typed);
        EXPECT_EQ(name->text(), c.typed); // kept as typed
        click(wizard->FinishButton());
        EXPECT_TRUE(wizard->isVisible());
        ASSERT_FALSE(answers->AskedBoxes().empty());
        EXPECT_EQ(answers->AskedBoxes().back().text, c.message);
    }
    EXPECT_EQ(users.CountUsers(), 1);

    // No more than the longest name is typed; a name as typed is kept.
    name->setText(QString(NewUserFiles::MaxNameLength + 10, u'z'));
    EXPECT_EQ(name->text().size(), NewUserFiles::MaxNameLength);
    const QString kept = AcceptedUserNames().front();
    name->setText(kept);
    click(wizard->FinishButton());
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(users.CountUsers(), 2);
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("Users/") + kept).isDir());
}

TEST_F(FirstRunWizardTest, TheLanguageChosenTranslatesTheFrameAndThePageAtOnce)
{
    const QString folder = LanguageFixture::programFolder();
    LanguageFixture english = LanguageFixture::Language(1033);
    english.dialogs = {{425, -1, QStringLiteral("Setup wizard")},
                       {425, 4, QStringLiteral("Next")},
                       {426, 1146, QStringLiteral("Welcome to Zarvo")},
                       {426, 1221, QStringLiteral("Language:")}};
    english.write(folder, QStringLiteral("Enu"));
    open(folder);
    CLanguageSelector::SetApplication(languages.get());
    CReadOnlyCB *list = wizard->LanguagePage().LanguageCombo();
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->isVisible());
    list->setCurrentIndex(list->findData(1033));
    EXPECT_EQ(languages->GetLanguage(), 1033);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Setup wizard"));
    EXPECT_EQ(wizard->NextButton()->text(), QStringLiteral("Next"));
    EXPECT_EQ(wizard->LanguagePage().findChild<QLabel *>(QStringLiteral("1146"))->text(),
              QStringLiteral("Welcome to Zarvo"));
    // What English leaves out stays French.
    EXPECT_EQ(wizard->BackButton()->text(), QStringLiteral("Précédent"));

    list->setCurrentIndex(list->findData(1036));
    EXPECT_EQ(wizard->NextButton()->text(), QStringLiteral("Suivant"));
    EXPECT_EQ(wizard->LanguagePage().findChild<QLabel *>(QStringLiteral("1146"))->text(),
              QStringLiteral("Bienvenue dans Zarvo"));
}

// The welcome asks to choose the language: with one installed, the list
// shows it, chosen.
TEST_F(FirstRunWizardTest, WithOneLanguageTheListShowsIt)
{
    open();
    CReadOnlyCB *list = wizard->LanguagePage().LanguageCombo();
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(wizard->LanguagePage().findChild<QLabel *>(QStringLiteral("1221"))->isVisible());
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentData().toInt(), 1036);
    EXPECT_FALSE(list->currentText().isEmpty());
    EXPECT_EQ(reloads, 0);
}

TEST_F(FirstRunWizardTest, EveryControlHasItsText)
{
    open();
    click(wizard->NextButton());
    wizard->FolderPage().Folder()->setText(root);
    click(wizard->NextButton());
    CTranslationStore store;
    EXPECT_EQ(ControlsWithoutText(wizard.get(), store, CWizardConfig::DialogId), QList<int>{});
    EXPECT_EQ(ControlsWithoutText(&wizard->LanguagePage(), store, CWizardInit1::DialogId), QList<int>{});
    EXPECT_EQ(ControlsWithoutText(&wizard->FolderPage(), store, CWizardInit2::DialogId), QList<int>{});
    EXPECT_EQ(ControlsWithoutText(&wizard->UserPage(), store, CWizardInit3::DialogId), QList<int>{});
}
