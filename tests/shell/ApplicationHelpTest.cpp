// The program's help: "Rubriques d'aide" and F1 in the main window and in
// the dialogs open the help language's pages in the browser (a recording
// opener here), and the help is greyed when its pages are missing.
#include "AppFixture.h"
#include "ApplicationHelp.h"
#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CConnexion.h"
#include "CDlgAbout.h"
#include "CDlgActivity.h"
#include "CDlgAssocier.h"
#include "CDlgBackup.h"
#include "CDlgColForecast.h"
#include "CDlgColumn.h"
#include "CDlgColumnDetail.h"
#include "CDlgCopyProject.h"
#include "CDlgExport.h"
#include "CDlgFavoris.h"
#include "CDlgForecast.h"
#include "CDlgInsertion.h"
#include "CDlgListEnCours.h"
#include "CDlgModifTasks.h"
#include "CDlgName.h"
#include "CDlgOptColProject.h"
#include "CDlgPage.h"
#include "CDlgRate.h"
#include "CDlgSelectProject.h"
#include "CDlgTask.h"
#include "CDlgUser.h"
#include "CDlgUsers.h"
#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "CReportColumnSet.h"
#include "CViewSynchro.h"
#include "CWizardConfig.h"
#include "CWizardUser.h"
#include "ContextHelp.h"
#include "HelpTopics.h"
#include "RichMessageBoxDialog.h"
#include "Texts.h"
#include "tReportColumn.h"
#include "tReportDefinition.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <functional>
#include <memory>

namespace {

class ApplicationHelpTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        // A program folder whose path has spaces and accents.
        programFolder = TestFolders::root() + QStringLiteral("/Mes programmes/Zarvo été/");
        helpFolder = programFolder + QStringLiteral("Fra/ZarvoFra/");
        ApplicationHelp::SetUrlOpener([this](const QUrl &url) {
            opened.append(url);
            return browserOpens;
        });
    }
    void TearDown() override
    {
        ApplicationHelp::SetUrlOpener({});
        ContextHelp::SetOpener({});
        RichMessageBoxDialog::SetHelpHandler({});
        languages.reset();
        AppFixture::TearDown();
    }

    void writePage(const QString &name)
    {
        QDir().mkpath(helpFolder);
        QFile file(helpFolder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE html>\n<html lang=\"fr\"></html>\n");
    }
    // The language selector of the program, chosen as at start-up.
    void start()
    {
        languages = std::make_unique<CLanguageSelector>(programFolder + QStringLiteral("Zarvo"));
        languages->SetSystemLanguages({});
        languages->ChooseLanguage();
        languages->ChooseHelpLanguage();
        ApplicationHelp::Register(*languages);
        addUser(QStringLiteral("Anne"));
        ASSERT_TRUE(app->InitInstance());
        clearBoxes();
    }
    QUrl page(const QString &name) const { return QUrl::fromLocalFile(helpFolder + name); }
    static void pressF1(QWidget *window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
    }
    QAction *helpCommand() const { return app->MainFrame()->Commands().Action(57670); }

    QString programFolder;
    QString helpFolder;
    std::unique_ptr<CLanguageSelector> languages;
    QList<QUrl> opened;
    bool browserOpens = true;
};

} // namespace

TEST_F(ApplicationHelpTest, TheMenuAndF1OpenTheFirstPage)
{
    writePage(QStringLiteral("index.html"));
    start();
    ASSERT_TRUE(helpCommand()->isEnabled());
    EXPECT_EQ(helpCommand()->shortcut(), QKeySequence(QKeySequence::HelpContents));
    helpCommand()->trigger();
    pressF1(app->MainFrame());
    EXPECT_EQ(opened, (QList<QUrl>{page(QStringLiteral("index.html")), page(QStringLiteral("index.html"))}));
    // The browser gets the path encoded.
    EXPECT_TRUE(opened.value(0).toEncoded().contains("/Mes%20programmes/Zarvo%20%C3%A9t%C3%A9/Fra/ZarvoFra/index.html"))
        << opened.value(0).toEncoded().constData();
    // A message box's help button opens the same help.
    ContextHelp::Open(0);
    EXPECT_EQ(opened.size(), 3);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ApplicationHelpTest, DialogsOpenTheirPageOrTheFirstOneWhenTheirsIsMissing)
{
    writePage(QStringLiteral("index.html"));
    writePage(QStringLiteral("sauvegardes.html"));
    start();
    {
        CDlgBackup backups(*app);
        pressF1(&backups);
        auto *button = backups.findChild<QToolButton *>(QStringLiteral("help"));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    {
        CDlgUsers users(app->Users(), app->Configuration(), {});
        pressF1(&users);
    }
    EXPECT_EQ(opened, (QList<QUrl>{page(QStringLiteral("sauvegardes.html")), page(QStringLiteral("sauvegardes.html")),
                                   page(QStringLiteral("index.html"))}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ApplicationHelpTest, WithoutPagesTheHelpIsGreyedAndStartingSaysNothing)
{
    start();
    EXPECT_TRUE(boxes().empty());
    EXPECT_FALSE(helpCommand()->isEnabled());
    EXPECT_FALSE(ContextHelp::IsAvailable());
    CDlgBackup backups(*app);
    EXPECT_FALSE(backups.findChild<QToolButton *>(QStringLiteral("help"))->isEnabled());
    pressF1(&backups);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ApplicationHelpTest, PagesGoneOrABrowserThatFailsAreTold)
{
    answers->AnswerNotices();
    writePage(QStringLiteral("index.html"));
    start();
    browserOpens = false;
    EXPECT_FALSE(ApplicationHelp::Open(*languages, 0));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(boxes()[0].text.contains(QDir::toNativeSeparators(helpFolder + QStringLiteral("index.html"))))
        << boxes()[0].text.toStdString();
    clearBoxes();

    // The pages removed while the program runs: the help asked for tells it.
    browserOpens = true;
    ASSERT_TRUE(QDir(programFolder + QStringLiteral("Fra")).removeRecursively());
    opened.clear();
    ContextHelp::Open(ContextHelp::DialogContext(431));
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Texts::get(20402));
    EXPECT_FALSE(ContextHelp::IsAvailable());
}

// Each window's F1 opens the page that describes it: a dialog's own page,
// the page of a wizard's or a frame's page shown, the page of what a small
// dialog is about, or the page of all windows for those described there.
TEST_F(ApplicationHelpTest, EveryWindowsF1OpensItsOwnPage)
{
    for (int topic : HelpTopics::Topics())
        writePage(HelpTopics::PageName(topic));
    start();
    const int user = app->Users().GetCurrentId();
    CReportColumnSet columns;
    tReportColumn column;
    tReportDefinition definition;
    const QString folder = TestFolders::file(QStringLiteral("device"));
    using Make = std::function<std::unique_ptr<QWidget>()>;
    // The project window is filled as it opens.
    const auto prepared = [](std::unique_ptr<CDlgForecast> dialog) {
        dialog->Prepare();
        return std::unique_ptr<QWidget>(std::move(dialog));
    };
    const struct
    {
        const char *window;
        Make make;
        const char *page;
    } cases[] = {
        {"first-run wizard", [this] { return std::make_unique<CWizardConfig>(app->Users(), *languages, [] {}); },
         "premier-demarrage.html"},
        {"new-user wizard", [this] { return std::make_unique<CWizardUser>(app->Users(), *languages, false); },
         "assistant-utilisateur.html"},
        {"backups", [this] { return std::make_unique<CDlgBackup>(*app); }, "sauvegardes.html"},
        {"users", [this] { return std::make_unique<CDlgUsers>(app->Users(), app->Configuration(), nullptr); },
         "utilisateurs.html"},
        {"a user", [this, user] { return std::make_unique<CDlgUser>(app->Users(), user, false, 0xFFFFFF); },
         "utilisateurs.html"},
        {"the device's user", [this, user] { return std::make_unique<CDlgAssocier>(app->Users(), user, nullptr, nullptr); },
         "synchronisation.html"},
        {"synchronisation", [this, folder] { return std::make_unique<CConnexion>(app->Users(), nullptr, CConnexion::Hooks{}, folder); },
         "synchronisation.html"},
        {"synchronisation review", [] { return std::make_unique<CViewSynchro>(nullptr); }, "synchronisation-revue.html"},
        {"time entry", [] { return std::make_unique<CDlgTask>(CDlgTask::EditMode, nullptr); }, "tache.html"},
        {"running entries", [] { return std::make_unique<CDlgListEnCours>(); }, "taches-en-cours.html"},
        {"overlapping entries", [] { return std::make_unique<CDlgInsertion>(false); }, "insertion.html"},
        {"several entries", [] { return std::make_unique<CDlgModifTasks>(); }, "modifier-taches.html"},
        {"activities", [] { return std::make_unique<CDlgActivity>(); }, "activites.html"},
        {"hourly rates", [] { return std::make_unique<CDlgRate>(); }, "activites.html"},
        {"favourite", [] { return std::make_unique<CDlgFavoris>(-1); }, "favori.html"},
        {"project", [prepared] { return prepared(std::make_unique<CDlgForecast>()); }, "projet-general.html"},
        {"project's planning",
         [prepared] { return prepared(std::make_unique<CDlgForecast>(true, false, nullptr, CDlgForecast::PlanningTab)); },
         "projet-planification.html"},
        {"project choice", [] { return std::make_unique<CDlgSelectProject>(); }, "choix-projet.html"},
        {"project copy", [] { return std::make_unique<CDlgCopyProject>(); }, "copie-projet.html"},
        {"project-tracking columns", [] { return std::make_unique<CDlgColForecast>(); }, "suivi-colonnes.html"},
        {"report columns", [&columns] { return std::make_unique<CDlgColumn>(nullptr, columns, false); }, "colonnes.html"},
        {"column detail", [&column] { return std::make_unique<CDlgColumnDetail>(true, column); }, "colonne-detail.html"},
        {"page setup", [&definition, folder] { return std::make_unique<CDlgPage>(definition, folder, folder); },
         "impression.html"},
        {"export", [] { return std::make_unique<CDlgExport>(); }, "exportation.html"},
        {"report name", [] { return std::make_unique<CDlgName>(QString()); }, "fenetres.html"},
        {"project column heading", [] { return std::make_unique<CDlgOptColProject>(); }, "fenetres.html"},
        {"about", [] { return std::make_unique<CDlgAbout>(); }, "fenetres.html"},
    };
    for (const auto &c : cases) {
        opened.clear();
        std::unique_ptr<QWidget> window = c.make();
        pressF1(window.get());
        EXPECT_EQ(opened, QList<QUrl>{page(QString::fromLatin1(c.page))})
            << c.window << ": " << (opened.isEmpty() ? std::string() : opened.front().fileName().toStdString());
        window->close();
    }

    // The first-run wizard opens its page from each of its pages.
    CWizardConfig wizard(app->Users(), *languages, [] {});
    for (int step = 0; step < 2; ++step) {
        opened.clear();
        pressF1(&wizard);
        EXPECT_EQ(opened, QList<QUrl>{page(QStringLiteral("premier-demarrage.html"))}) << step;
        QTest::mouseClick(wizard.NextButton(), Qt::LeftButton);
        QApplication::processEvents();
    }
    EXPECT_EQ(wizard.CurrentPage(), 2);
    opened.clear();
    QTest::mouseClick(wizard.findChild<QToolButton *>(QStringLiteral("help")), Qt::LeftButton);
    EXPECT_EQ(opened, QList<QUrl>{page(QStringLiteral("premier-demarrage.html"))});
    EXPECT_TRUE(boxes().empty());
}
