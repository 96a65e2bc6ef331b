// The program's help: "Rubriques d'aide" and F1 in the main window and in
// the dialogs open the help language's pages in the browser (a recording
// opener here), and the help is greyed when its pages are missing.
#include "AppFixture.h"
#include "ApplicationHelp.h"
#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CDlgBackup.h"
#include "CDlgUsers.h"
#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "ContextHelp.h"
#include "RichMessageBoxDialog.h"
#include "Texts.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QToolButton>
#include <QUrl>

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
