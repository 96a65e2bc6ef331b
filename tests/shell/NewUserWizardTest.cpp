// The new-user wizard driven as a user would: its name step, what the new
// database starts with, the sample-data mode, and the ways it refuses.
#include "AppFixture.h"
#include "CColorChoiceButton.h"
#include "CColorStatic.h"
#include "CLanguageSelector.h"
#include "CMyEdit.h"
#include "CReadOnlyCB.h"
#include "CTranslationStore.h"
#include "CWizardUser.h"
#include "CWizardUser1.h"
#include "CWizardUser2.h"
#include "CmyDataBase.h"
#include "NewUserFiles.h"
#include "RefusedUserNames.h"
#include "ColorRef.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UserColourControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace {

int count(const QString &database, const QString &table)
{
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(database) != 0)
        return -1;
    auto t = db.Query(QStringLiteral("select count(*) from %1").arg(table));
    return t.hasRows() ? t->GetFirstInt() : -1;
}

class NewUserWizardTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        languages = std::make_unique<CLanguageSelector>(QStringLiteral(ZARVO_PROGRAM_FOLDER "Zarvo"));
        languages->SetLanguage(1036);
        anne = addUser(QStringLiteral("Anne"));
        // Anne's data: two projects, three activities, one rate, one
        // favourite, a plan, and report definitions.
        CBdD db(databaseOf(QStringLiteral("Anne")));
        for (const char16_t *sql :
             {u"insert into Projets(Id, Nom, Deleted) values (31, 'Site', 0)",
              u"insert into Projets(Id, Nom, Deleted) values (34, 'Audit', 0)",
              u"insert into Activites(Id, Nom, Deleted) values (31, 'Dev', 0)",
              u"insert into Activites(Id, Nom, Deleted) values (34, 'Test', 0)",
              u"insert into Activites(Id, Nom, Deleted) values (37, 'Doc', 0)",
              u"insert into TauxHoraire(Id, Nom, Valeur, Deleted) values (31, 'Std', 60, 0)",
              u"insert into Favoris(Id, IdProject, IdActivite, IdTauxHoraire, Deleted) values (31, 31, 31, -1, 0)",
              u"insert into Forecast(IdProject, IdActivity) values (31, -2)"})
            ASSERT_EQ(db.Execute(sql), 0) << QString::fromUtf16(sql).toStdString();
        SQLite::CmyDataBase reports;
        ASSERT_EQ(reports.Open(usersFolder + QStringLiteral("Anne/Zarvo.rpt")), 0);
        reports.Execute(u"create table Reports(Id integer primary key, Nom text)");
        reports.Execute(u"insert into Reports(Nom) values ('Mois')");
        reports.Close();
    }
    void TearDown() override
    {
        wizard.reset();
        AppFixture::TearDown();
    }

    void open(bool sample)
    {
        wizard = std::make_unique<CWizardUser>(app->Users(), *languages, sample);
        wizard->show();
    }
    void click(QPushButton *button)
    {
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Name step filled and left.
    void next(const QString &name)
    {
        wizard->NameStep().Name()->setText(name);
        click(wizard->NextButton());
    }
    QRadioButton *choice(int id) const
    {
        return wizard->DatabaseStep().findChild<QRadioButton *>(QString::number(id));
    }
    QCheckBox *box(int id) const { return wizard->DatabaseStep().findChild<QCheckBox *>(QString::number(id)); }
    // A database in Bob's folder before the wizard, with one entry.
    QString bobsOldDatabase()
    {
        QDir().mkpath(usersFolder + QStringLiteral("Bob"));
        const QString path = databaseOf(QStringLiteral("Bob"));
        CBdD db(path);
        EXPECT_EQ(db.Execute(u"insert into Taches(Id, Debut, Fin, IdProjet, IdActivite, Deleted) "
                             u"values (9, 100, 200, -1, -1, 0)"),
                  0);
        return path;
    }
    QStringList texts() const
    {
        QStringList shown;
        for (const Box &b : boxes())
            shown << b.text;
        return shown;
    }

    std::unique_ptr<CLanguageSelector> languages;
    std::unique_ptr<CWizardUser> wizard;
    int anne = -1;
};

} // namespace

TEST_F(NewUserWizardTest, TheNameStepShowsTheFolderAndTheColourOfTheTasks)
{
    open(false);
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Assistant de création d'un utilisateur"));
    EXPECT_TRUE(wizard->NextButton()->isVisible());
    EXPECT_FALSE(wizard->FinishButton()->isVisible());
    EXPECT_FALSE(wizard->BackButton()->isEnabled());
    // The second step exists from the start, behind the first.
    EXPECT_TRUE(wizard->DatabaseStep().IsCreated());
    EXPECT_FALSE(wizard->DatabaseStep().isVisible());

    QTest::keyClicks(wizard->NameStep().Name(), QStringLiteral("Bob"));
    EXPECT_EQ(wizard->NameStep().Folder()->text(), QDir::toNativeSeparators(usersFolder + QStringLiteral("Bob")));

    UserColourControls &colours = *wizard->NameStep().Colours();
    EXPECT_EQ(colours.KindCombo()->currentText(), QStringLiteral("Couleur du projet"));
    EXPECT_FALSE(colours.ColourButton()->isVisible());
    EXPECT_FALSE(colours.PreviewStatic()->isVisible());
    EXPECT_EQ(wizard->NameStep().ReadUser().TypeColor, 1);
    colours.KindCombo()->setCurrentIndex(1);
    EXPECT_EQ(wizard->NameStep().ReadUser().TypeColor, 2);
    colours.KindCombo()->setCurrentIndex(2);
    EXPECT_TRUE(colours.ColourButton()->isVisible());
    EXPECT_TRUE(colours.PreviewStatic()->isVisible());
    // "Other" left on the automatic entry is kind 0 with the automatic colour.
    const tUsers automatic = wizard->NameStep().ReadUser();
    EXPECT_EQ(automatic.TypeColor, 0);
    EXPECT_EQ(quint32(automatic.Color), colours.ColourButton()->AutomaticColor());
    EXPECT_EQ(colours.ColourButton()->AutomaticText(), QStringLiteral("Défaut"));

    // A dark colour picked: kind 3, white text on it in the preview.
    CColorChoiceButton::SetColorAsker([](QWidget *, quint32) { return std::optional<quint32>(0x400000); });
    QTest::mouseClick(colours.ColourButton(), Qt::LeftButton);
    QTest::mouseClick(colours.ColourButton()->Popup()->findChild<QPushButton *>(QStringLiteral("other")),
                      Qt::LeftButton);
    CColorChoiceButton::SetColorAsker({});
    const tUsers own = wizard->NameStep().ReadUser();
    EXPECT_EQ(own.TypeColor, 3);
    EXPECT_EQ(own.Color, 0x400000);
    EXPECT_EQ(colours.PreviewStatic()->BkColor(), 0x400000u);
    EXPECT_EQ(colours.PreviewStatic()->TextColor(), 0xFFFFFFu);
    EXPECT_EQ(colours.PreviewStatic()->text(), QStringLiteral("Exemple de texte"));
}

TEST_F(NewUserWizardTest, EnterMovesOnAndFinishes)
{
    // Made ready before it shows, as DoModal does.
    wizard = std::make_unique<CWizardUser>(app->Users(), *languages, false);
    wizard->InitDialog();
    EXPECT_TRUE(wizard->NextButton()->isDefault());
    wizard->show();
    QTest::keyClicks(wizard->NameStep().Name(), QStringLiteral("Bob"));
    QTest::keyClick(wizard->NameStep().Name(), Qt::Key_Return);
    ASSERT_TRUE(wizard->DatabaseStep().isVisible());
    EXPECT_TRUE(wizard->FinishButton()->isDefault());
    QTest::keyClick(wizard.get(), Qt::Key_Return);
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    tUsers bob;
    EXPECT_TRUE(app->Users().LoadUserByName(QStringLiteral("Bob"), bob));
}

TEST_F(NewUserWizardTest, WhatTheNewDatabaseStartsWith)
{
    struct Case
    {
        const char *name;
        bool oldDatabase;
        int choice; // control id
        std::vector<int> unticked;
        // Rows of Taches, Projets, Activites, TauxHoraire, Favoris, Forecast
        // in Bob's database, and whether it has Anne's reports.
        std::vector<int> rows;
        bool reports;
    };
    const Case cases[] = {
        {"keep", true, CWizardUser2::KeepChoice, {}, {1, 0, 0, 0, 0, 0}, false},
        {"empty over an old one", true, CWizardUser2::EmptyChoice, {}, {0, 0, 0, 0, 0, 0}, false},
        {"everything", false, CWizardUser2::ImportChoice, {}, {0, 2, 3, 1, 1, 1}, true},
        {"the activities only", false, CWizardUser2::ImportChoice,
         {CWizardUser2::ProjectsCheck, CWizardUser2::RatesCheck, CWizardUser2::FavouritesCheck,
          CWizardUser2::ReportsCheck},
         {0, 0, 3, 0, 0, 0}, false},
        {"the reports only", false, CWizardUser2::ImportChoice,
         {CWizardUser2::ProjectsCheck, CWizardUser2::ActivitiesCheck, CWizardUser2::RatesCheck,
          CWizardUser2::FavouritesCheck},
         {0, 0, 0, 0, 0, 0}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(usersFolder + QStringLiteral("Bob")).removeRecursively();
        QByteArray before;
        if (c.oldDatabase)
            before = TestFolders::readFile(bobsOldDatabase());
        open(false);
        next(QStringLiteral("Bob"));
        ASSERT_EQ(wizard->CurrentPage(), 1);
        EXPECT_TRUE(wizard->FinishButton()->isVisible());
        EXPECT_FALSE(wizard->NextButton()->isVisible());
        // The keep choice only for a database that is there.
        EXPECT_EQ(choice(CWizardUser2::KeepChoice)->isVisible(), c.oldDatabase);
        EXPECT_EQ(wizard->DatabaseStep().findChild<QLabel *>(QStringLiteral("1146"))->text(),
                  Platform::Texts::get(c.oldDatabase ? 416 : 417));
        choice(c.choice)->click();
        for (int id : c.unticked)
            box(id)->setChecked(false);
        click(wizard->FinishButton());
        EXPECT_TRUE(texts().isEmpty()) << texts().join(u'|').toStdString();
        EXPECT_EQ(wizard->result(), QDialog::Accepted);

        tUsers bob;
        ASSERT_TRUE(app->Users().LoadUserByName(QStringLiteral("Bob"), bob));
        EXPECT_EQ(wizard->CreatedUserId(), bob.Id);
        const QString db = databaseOf(QStringLiteral("Bob"));
        if (c.choice == CWizardUser2::KeepChoice) {
            EXPECT_EQ(TestFolders::readFile(db), before);
        }
        std::vector<int> rows;
        for (const char *table : {"Taches", "Projets", "Activites", "TauxHoraire", "Favoris", "Forecast"})
            rows.push_back(count(db, QLatin1String(table)));
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(QFileInfo::exists(usersFolder + QStringLiteral("Bob/Zarvo.rpt")), c.reports);
        ASSERT_TRUE(app->Users().DeleteUserRow(bob.Id));
        wizard.reset();
        clearBoxes();
    }
}

TEST_F(NewUserWizardTest, UntickingTheProjectsTakesTheirPlansAlong)
{
    open(false);
    next(QStringLiteral("Bob"));
    choice(CWizardUser2::ImportChoice)->click();
    QCheckBox *tracking = box(CWizardUser2::TrackingCheck);
    EXPECT_TRUE(tracking->isEnabled());
    box(CWizardUser2::ProjectsCheck)->setChecked(false);
    EXPECT_FALSE(tracking->isChecked());
    EXPECT_FALSE(tracking->isEnabled());
    box(CWizardUser2::ProjectsCheck)->setChecked(true);
    EXPECT_TRUE(tracking->isEnabled());
    // Back to the name step and forward again.
    click(wizard->BackButton());
    EXPECT_EQ(wizard->CurrentPage(), 0);
    EXPECT_TRUE(wizard->NextButton()->isVisible());
    EXPECT_FALSE(wizard->FinishButton()->isVisible());
}

TEST_F(NewUserWizardTest, NamesThatCannotBeAUsersKeepTheNameStep)
{
    answers->AnswerNotices();
    open(false);
    std::vector<RefusedUserName> cases = RefusedUserNames();
    cases.push_back({QString(), Platform::Texts::get(174)});
    cases.push_back({QStringLiteral("ANNE"), Platform::Texts::get(175)});
    QLineEdit *name = wizard->NameStep().Name();
    for (const RefusedUserName &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        clearBoxes();
        EnterName(name, c.typed);
        EXPECT_EQ(name->text(), c.typed); // kept as typed
        click(wizard->NextButton());
        EXPECT_EQ(wizard->CurrentPage(), 0);
        EXPECT_EQ(texts(), QStringList{c.message});
    }
    EXPECT_EQ(app->Users().CountUsers(), 1);

    // No more than the longest name is typed; names as typed go on.
    name->setText(QString(NewUserFiles::MaxNameLength + 10, u'z'));
    EXPECT_EQ(name->text().size(), NewUserFiles::MaxNameLength);
    for (const QString &kept : AcceptedUserNames()) {
        SCOPED_TRACE(kept.toStdString());
        clearBoxes();
        next(kept);
        EXPECT_EQ(wizard->CurrentPage(), 1);
        EXPECT_TRUE(texts().isEmpty()) << texts().join(u'|').toStdString();
        click(wizard->BackButton());
    }
}

// Annuler, Escape on either step and closing the window end the wizard
// as Annuler does: nothing is created.
TEST_F(NewUserWizardTest, AnnulerEscapeAndClosingCreateNothing)
{
    struct Case
    {
        const char *name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Annuler", [this] { click(wizard->CancelButton()); }},
        {"Escape on the second step",
         [this] {
             QTest::keyClick(wizard->DatabaseStep().findChild<QRadioButton *>(QStringLiteral("1206")), Qt::Key_Escape);
         }},
        {"closing the window", [this] { EXPECT_TRUE(wizard->close()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open(false);
        next(QStringLiteral("Bob"));
        c.act();
        EXPECT_FALSE(wizard->isVisible());
        EXPECT_EQ(wizard->result(), QDialog::Rejected);
        EXPECT_EQ(app->Users().CountUsers(), 1);
        EXPECT_FALSE(QFileInfo::exists(usersFolder + QStringLiteral("Bob")));
    }
    // Escape in the name field of the first step, in either mode.
    for (bool sample : {false, true}) {
        SCOPED_TRACE(sample ? "sample data" : "new user");
        open(sample);
        QTest::keyClick(wizard->NameStep().Name(), Qt::Key_Escape);
        EXPECT_FALSE(wizard->isVisible());
        EXPECT_EQ(wizard->result(), QDialog::Rejected);
        EXPECT_EQ(app->Users().CountUsers(), 1);
    }
}

TEST_F(NewUserWizardTest, TheSampleModeHasOneStepAndGivesTheSample)
{
    answers->AnswerNotices();
    // A Monday evening: every entry of the sample falls in the past.
    Platform::Clock::setFixedNow(QDateTime(QDate(2026, 12, 7), QTime(19, 0)).toSecsSinceEpoch());
    open(true);
    EXPECT_FALSE(wizard->NextButton()->isVisible());
    EXPECT_TRUE(wizard->FinishButton()->isVisible());
    EXPECT_FALSE(wizard->DatabaseStep().IsCreated());
    // Checked on Finish in this mode.
    wizard->NameStep().Name()->setText(QStringLiteral("anne"));
    click(wizard->FinishButton());
    EXPECT_EQ(texts(), QStringList{Platform::Texts::get(175)});
    EXPECT_TRUE(wizard->isVisible());

    clearBoxes();
    wizard->NameStep().Name()->setText(QStringLiteral("Demo"));
    click(wizard->FinishButton());
    EXPECT_TRUE(texts().isEmpty()) << texts().join(u'|').toStdString();
    tUsers demo;
    ASSERT_TRUE(app->Users().LoadUserByName(QStringLiteral("Demo"), demo));
    EXPECT_EQ(wizard->CreatedUserId(), demo.Id);
    EXPECT_EQ(count(demo.GetDatabasePath(true), QStringLiteral("Taches")),
              count(QStringLiteral(ZARVO_PROGRAM_FOLDER "Fra/Demo/ZarvoFra.sdb"), QStringLiteral("Taches")));
    EXPECT_EQ(count(demo.GetDatabasePath(true), QStringLiteral("Infos where Name='Demo'")), 0);
    EXPECT_EQ(count(demo.GetReportDatabasePath(), QStringLiteral("Reports")), 7);
}

TEST_F(NewUserWizardTest, TheSampleNeverTakesThePlaceOfADatabaseThatIsThere)
{
    answers->AnswerNotices();
    const QString old = bobsOldDatabase();
    const QByteArray before = TestFolders::readFile(old);
    open(true);
    wizard->NameStep().Name()->setText(QStringLiteral("Bob"));
    click(wizard->FinishButton());
    EXPECT_EQ(texts(), QStringList{Platform::Texts::get(424)});
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(TestFolders::readFile(old), before);
    EXPECT_EQ(app->Users().CountUsers(), 1);
}

TEST_F(NewUserWizardTest, EveryControlHasItsText)
{
    open(false);
    CTranslationStore store;
    EXPECT_EQ(ControlsWithoutText(wizard.get(), store, CWizardUser::DialogId), QList<int>{});
    EXPECT_EQ(ControlsWithoutText(&wizard->NameStep(), store, CWizardUser1::DialogId), QList<int>{});
    EXPECT_EQ(ControlsWithoutText(&wizard->DatabaseStep(), store, CWizardUser2::DialogId), QList<int>{});
}
