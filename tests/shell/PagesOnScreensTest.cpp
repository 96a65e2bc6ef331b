// Every page of the options and every tab of the project editor under a
// window manager (openbox, on a display of its own), on an 800 by 600
// screen and on a 1280 by 800 one: the window and its frame lie within the
// screen, no child reaches past the width the page is shown in, no page
// scrolls across, and no button or text is narrower than its text; the
// options' lists show their longest entries whole, and the predecessors'
// buttons show under their list without scrolling. On the larger screen
// nothing scrolls or gives up width at all. Both windows open over the
// window they belong to.
//
// PagesUnderAWindowManager starts this same program again under xvfb-run
// and openbox for each screen, running the PagesOnScreen tests there; run
// alone, outside it, they skip.
#include "MissingForOpenbox.h"
#include "PaneFixture.h"

#include "CColumnsLayout.h"
#include "CConfiguration.h"
#include "CDlgForecast.h"
#include "CFitScrollArea.h"
#include "CLanguageSelector.h"
#include "COptionsContext.h"
#include "COptionsDialog.h"
#include "CPrefsDialog.h"
#include "CPrefsSubDlg.h"
#include "CViewForecastPrevious.h"
#include "DialogAnswers.h"
#include "RecordEditorServices.h"
#include "RecordEditorWindows.h"
#include "ScreenFit.h"
#include "TestFolders.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Set by the run under the window manager: the screen it made.
constexpr char ScreenVariable[] = "ZARVO_PAGES_SCREEN";

bool onLargeScreen()
{
    return qEnvironmentVariable(ScreenVariable) == QStringLiteral("1280x800");
}

// Waits until the window manager framed `window` and it stopped moving:
// shown, exposed, with a frame, and the same place and size after the
// events its last change brought were all handled.
void settle(QWidget *window)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QDeadlineTimer deadline(20000);
    QRect last;
    while (!deadline.hasExpired()) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const bool framed = window->windowHandle() && !window->windowHandle()->frameMargins().isNull();
        if (framed && window->frameGeometry() == last)
            return;
        last = window->frameGeometry();
    }
    FAIL() << "the window never settled within its frame";
}

// What a user sees of one page: the window on its screen, the page within
// its area's width, whole buttons and texts.
void expectShownWhole(QWidget *window, CFitScrollArea *area, QWidget *page)
{
    ASSERT_NO_FATAL_FAILURE(settle(window));
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << "frame " << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
    // The area itself within the window, and the page within the area.
    EXPECT_LE(area->mapTo(window, QPoint(area->width(), 0)).x(), window->width());
    const int visible = area->viewport()->width();
    EXPECT_EQ(area->widget()->width(), visible);
    for (QWidget *child : page->findChildren<QWidget *>()) {
        if (!child->isVisibleTo(page) || child->isWindow())
            continue;
        const QRect shown(child->mapTo(area->viewport(), QPoint(0, 0)), child->size());
        const std::string name = child->metaObject()->className() + std::string(" ") + child->objectName().toStdString();
        EXPECT_GE(shown.left(), 0) << name;
        EXPECT_LE(shown.left() + shown.width(), visible) << name << " reaches " << shown.left() + shown.width();
        const auto *button = qobject_cast<QAbstractButton *>(child);
        const auto *label = qobject_cast<QLabel *>(child);
        if ((button && !button->text().isEmpty()) || (label && !label->text().isEmpty() && !label->wordWrap())) {
            EXPECT_GE(child->width(), child->minimumSizeHint().width())
                << name << " '" << (button ? button->text() : label->text()).toStdString() << "' cut";
        }
    }
    if (onLargeScreen()) {
        // As without any fitting: nothing scrolls, no field gave up width,
        // columns stand side by side.
        EXPECT_FALSE(area->verticalScrollBar()->isVisible());
        for (const QComboBox *combo : window->findChildren<QComboBox *>()) {
            if (combo->isVisible()) {
                EXPECT_GE(combo->width(), combo->minimumSizeHint().width()) << combo->objectName().toStdString();
            }
        }
        for (QLayout *layout : page->findChildren<QLayout *>()) {
            if (const auto *columns = dynamic_cast<const CColumnsLayout *>(layout)) {
                EXPECT_FALSE(columns->Stacked());
            }
        }
    }
}

class PagesOnScreen : public PaneFixture
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty(ScreenVariable))
            GTEST_SKIP() << "run under a window manager by PagesUnderAWindowManager";
        PaneFixture::SetUp();
        languages = std::make_unique<CLanguageSelector>(QStringLiteral(ZARVO_PROGRAM_FOLDER "Zarvo"));
        languages->SetLanguage(1036);
        languages->SetChangePoster([](int) {});
        savedEditorServices = RecordEditorServices::Registered();
        RegisterRecordEditors(*app);
    }
    void TearDown() override
    {
        if (qEnvironmentVariableIsEmpty(ScreenVariable))
            return;
        COptionsDialog::SetRunner({});
        RecordEditorServices::Registered() = savedEditorServices;
        languages.reset();
        PaneFixture::TearDown();
    }
    std::unique_ptr<CLanguageSelector> languages;
    RecordEditorServices savedEditorServices;
};

} // namespace

TEST_F(PagesOnScreen, EveryPageOfTheOptions)
{
    COptionsDialog::Register(*app);
    app->Configuration().Load();
    int asked = 0;
    COptionsDialog::SetRunner([&asked](CPrefsDialog &frame) {
        ++asked;
        frame.show();
        // Each page as the user reaches it: its item in the tree clicked.
        QTreeWidget *tree = frame.Tree();
        for (int row = 0; row < tree->topLevelItemCount(); ++row) {
            QTreeWidgetItem *item = tree->topLevelItem(row);
            SCOPED_TRACE(item->text(0).toStdString());
            tree->scrollToItem(item);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
            EXPECT_EQ(frame.PageCaption(frame.CurrentPage()), item->text(0));
            expectShownWhole(&frame, frame.PageScroller(), frame.Page(frame.CurrentPage()));
            // Both screens have the room for every list's longest entry
            // (the display page's "Journée par défaut").
            for (const QComboBox *combo : frame.Page(frame.CurrentPage())->findChildren<QComboBox *>()) {
                if (combo->isVisible()) {
                    EXPECT_GE(combo->width(), combo->sizeHint().width())
                        << combo->objectName().toStdString() << " '" << combo->currentText().toStdString() << "'";
                }
            }
        }
        EXPECT_GE(tree->topLevelItemCount(), 10);
        return 2;
    });
    app->ShowOptions(0);
    EXPECT_EQ(asked, 1);
}

TEST_F(PagesOnScreen, EveryTabOfTheProjectEditor)
{
    // A project with a sub-project: the parent's amounts are computed, the
    // leaf's are typed with their unit ("Heure(s)").
    const int parent = saveProject(QStringLiteral("Boulangerie Martin"));
    const int leaf = saveProject(QStringLiteral("Site vitrine"), parent);
    reloadStore();
    for (const int id : {parent, leaf}) {
        CProject *node = app->ProjectStore().GetNode(id);
        ASSERT_NE(node, nullptr);
        SCOPED_TRACE(node->GetName(false).toStdString());
        CDlgForecast editor(false, false, node, CDlgForecast::GeneralTab);
        DialogAnswers<CDlgForecast> answers;
        answers.Push([](CDlgForecast &shown) {
            shown.show();
            auto *tabs = shown.findChild<QTabWidget *>();
            auto *area = shown.findChild<CFitScrollArea *>();
            EXPECT_TRUE(tabs && area);
            if (!tabs || !area)
                return int(QDialog::Rejected);
            for (int tab = 0; tab < tabs->count(); ++tab) {
                SCOPED_TRACE(tabs->tabText(tab).toStdString());
                area->ensureWidgetVisible(tabs->tabBar(), 0, 0);
                QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tab).center());
                EXPECT_EQ(tabs->currentIndex(), tab);
                // Every date the page offers shown: its boxes ticked.
                for (QCheckBox *box : tabs->currentWidget()->findChildren<QCheckBox *>()) {
                    if (box->isVisible() && box->isEnabled() && !box->isChecked()) {
                        area->ensureWidgetVisible(box);
                        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
                    }
                }
                expectShownWhole(&shown, area, tabs->currentWidget());
                if (tab == CDlgForecast::PredecessorsTab) {
                    // The list, as tall as the planning page's fields on
                    // the small screen, leaves its buttons in the view.
                    auto *page = static_cast<CViewForecastPrevious *>(tabs->currentWidget());
                    EXPECT_EQ(area->verticalScrollBar()->value(), 0);
                    for (const QPushButton *button : {page->AddButton(), page->ChangeButton(), page->RemoveButton()}) {
                        const QRect inView(button->mapTo(area->viewport(), QPoint(0, 0)), button->size());
                        EXPECT_GE(inView.top(), 0) << button->text().toStdString();
                        EXPECT_LE(inView.bottom(), area->viewport()->height() - 1)
                            << button->text().toStdString() << " below the view's " << area->viewport()->height();
                    }
                }
            }
            return int(QDialog::Rejected);
        });
        editor.exec();
        EXPECT_EQ(answers.Asked(), 1);
    }
}

// The options and the project editor open centred over the window they
// belong to, a main window that is not at the screen's corner (as every
// dialog of Qt does), not at the screen's top-left corner.
TEST_F(PagesOnScreen, TheOptionsAndTheProjectEditorOpenOverTheirOwner)
{
    QMainWindow owner;
    const QRect screen = owner.screen()->availableGeometry();
    owner.setGeometry(screen.adjusted(screen.width() / 8, screen.height() / 10, -screen.width() / 16,
                                      -screen.height() / 16));
    owner.show();
    ASSERT_NO_FATAL_FAILURE(settle(&owner));
    const QPoint middle = owner.geometry().center();
    // Its centre on the owner's, each way, unless the screen's edge on the
    // side it would have passed holds it back.
    const auto expectOver = [&](QWidget *window) {
        ASSERT_NO_FATAL_FAILURE(settle(window));
        const QRect frame = window->frameGeometry();
        EXPECT_TRUE(screen.contains(frame));
        const QPoint off = window->geometry().center() - middle;
        // Placed before it was framed, with a frame the window manager may
        // make a few pixels thinner.
        const int near = 8;
        const bool heldAcross = (off.x() < 0 && frame.right() >= screen.right() - near)
                                || (off.x() > 0 && frame.left() <= screen.left() + near);
        const bool heldDown = (off.y() < 0 && frame.bottom() >= screen.bottom() - near)
                              || (off.y() > 0 && frame.top() <= screen.top() + near);
        EXPECT_TRUE(std::abs(off.x()) <= 2 || heldAcross)
            << "centre " << window->geometry().center().x() << " beside " << middle.x() << ", frame "
            << frame.left() << ".." << frame.right();
        EXPECT_TRUE(std::abs(off.y()) <= 2 || heldDown)
            << "centre " << window->geometry().center().y() << " beside " << middle.y() << ", frame "
            << frame.top() << ".." << frame.bottom();
    };

    app->Configuration().Load();
    COptionsContext context(app->Configuration());
    int asked = 0;
    COptionsDialog::SetRunner([&](CPrefsDialog &frame) {
        ++asked;
        frame.show();
        expectOver(&frame);
        return 2;
    });
    EXPECT_FALSE(COptionsDialog::Run(&owner, context, {{110, QStringLiteral("Affichage")}}, 0));
    EXPECT_EQ(asked, 1);

    const int project = saveProject(QStringLiteral("Boulangerie Martin"));
    reloadStore();
    CDlgForecast editor(false, false, app->ProjectStore().GetNode(project), CDlgForecast::GeneralTab, &owner);
    DialogAnswers<CDlgForecast> answers;
    answers.Push([&](CDlgForecast &shown) {
        shown.show();
        expectOver(&shown);
        return int(QDialog::Rejected);
    });
    editor.exec();
    EXPECT_EQ(answers.Asked(), 1);
}

TEST(PagesUnderAWindowManager, OnASmallAndALargeScreen)
{
    if (!qEnvironmentVariableIsEmpty(ScreenVariable))
        GTEST_SKIP() << "already under the window manager";
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    for (const char *screen : {"800x600", "1280x800"}) {
        SCOPED_TRACE(screen);
        const QString output = TestFolders::file(QStringLiteral("pages-%1.txt").arg(QLatin1String(screen)));
        const QString status = TestFolders::file(QStringLiteral("pages-%1.status").arg(QLatin1String(screen)));
        // openbox starts the tests once it manages the display, and ends
        // when they have ended, which ends the display.
        const QStringList arguments{
            QStringLiteral("-a"),
            QStringLiteral("-s"),
            QStringLiteral("-screen 0 %1x24").arg(QLatin1String(screen)),
            QStringLiteral("openbox"),
            QStringLiteral("--sm-disable"),
            QStringLiteral("--startup"),
            QStringLiteral("sh -c '\"$0\" --gtest_filter=PagesOnScreen.* > \"$1\" 2>&1; echo $? > \"$2\"; "
                           "openbox --exit' '%1' '%2' '%3'")
                .arg(QCoreApplication::applicationFilePath(), output, status)};
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QString::fromLatin1(ScreenVariable), QString::fromLatin1(screen));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
        run.setProcessEnvironment(environment);
        run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        run.start(QStringLiteral("xvfb-run"), arguments);
        ASSERT_TRUE(run.waitForFinished(300000)) << "still running";
        const QString log = QString::fromUtf8(TestFolders::readFile(output));
        EXPECT_EQ(QString::fromUtf8(TestFolders::readFile(status)).trimmed(), QStringLiteral("0")) << log.toStdString();
        // All ran, none skipped.
        EXPECT_TRUE(log.contains(QStringLiteral("[  PASSED  ] 3 tests."))) << log.toStdString();
    }
}
