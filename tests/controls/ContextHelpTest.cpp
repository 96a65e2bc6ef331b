// F1 and the help button of dialogs and settings frames, with a recording
// opener in place of the program's help.
#include "CPrefsDialog.h"
#include "CPrefsSubDlg.h"
#include "CWizardFrame.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class ContextHelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ContextHelp::SetOpener([this](quint32 context) { opened.push_back(context); },
                               [this] { return available; });
    }
    void TearDown() override { ContextHelp::SetOpener({}); }

    // Shows `window` as the active window, so that its keys reach it, and
    // presses F1 on `target` (the window when null).
    static void pressF1(QWidget *window, QWidget *target = nullptr)
    {
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QWidget *to = target ? target : window;
        to->setFocus();
        QTest::keyClick(to, Qt::Key_F1);
    }

    std::vector<quint32> opened;
    bool available = true;
};

// A page with one field, numbered as its dialog.
class Page : public CPrefsSubDlg
{
public:
    explicit Page(int id)
        : CPrefsSubDlg(id)
    {
    }
    QLineEdit *field = nullptr;

protected:
    void OnInitDialog() override
    {
        field = new QLineEdit(this);
        (new QVBoxLayout(this))->addWidget(field);
    }
};

} // namespace

TEST_F(ContextHelpTest, F1AndTheButtonOpenTheDialogsContextFromAnyControl)
{
    QDialog dialog;
    auto *field = new QLineEdit(&dialog);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto *row = ButtonRow({ok});
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(field);
    layout->addLayout(row);
    ContextHelp::Install(&dialog, 406);
    QToolButton *button = ContextHelp::AddButton(row, &dialog);

    pressF1(&dialog, field);
    EXPECT_EQ(opened, std::vector<quint32>{0x20000 + 406});

    // The help button sits at the start of the row and opens the same.
    EXPECT_EQ(row->indexOf(button), 0);
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(opened, (std::vector<quint32>{0x20000 + 406, 0x20000 + 406}));
    EXPECT_EQ(ContextHelp::ContextOf(field), 0x20000u + 406);

    // Installed again, the window keeps one key: F1 is not ambiguous and
    // opens the new context once.
    ContextHelp::Install(&dialog, [] { return quint32(355); });
    opened.clear();
    QTest::keyClick(field, Qt::Key_F1);
    EXPECT_EQ(opened, std::vector<quint32>{355});
}

TEST_F(ContextHelpTest, WithoutHelpTheButtonIsGreyedAndF1OpensNothing)
{
    available = false;
    QDialog dialog;
    auto *row = new QHBoxLayout(&dialog);
    ContextHelp::Install(&dialog, 431);
    EXPECT_FALSE(ContextHelp::AddButton(row, &dialog)->isEnabled());
    pressF1(&dialog);
    EXPECT_TRUE(opened.empty());

    // No opener at all: nothing is there, nothing is called.
    ContextHelp::SetOpener({}, [] { return true; });
    EXPECT_FALSE(ContextHelp::IsAvailable());
    ContextHelp::Open(0);
    EXPECT_TRUE(opened.empty());
}

// The settings frame and the wizard frame open the page shown, and their
// own dialog while none is.
TEST_F(ContextHelpTest, FramesOpenThePageShown)
{
    Page general(191), formats(449);
    CPrefsDialog options;
    EXPECT_EQ(ContextHelp::ContextOf(&options), 0x20000u + CPrefsDialog::DefaultDialogId);
    options.AddPage(&general, 109, QStringLiteral("Généralités"));
    options.AddPage(&formats, 210, QStringLiteral("Formats"));
    options.InitDialog();
    ASSERT_TRUE(options.ShowPage(1));
    pressF1(&options, formats.field);
    ASSERT_TRUE(options.ShowPage(0));
    QTest::keyClick(general.field, Qt::Key_F1);
    EXPECT_EQ(opened, (std::vector<quint32>{0x20000 + 449, 0x20000 + 191}));
    options.hide();

    Page first(435), second(436);
    CWizardFrame wizard(437, true);
    wizard.AddPage(&first);
    wizard.AddPage(&second);
    wizard.InitDialog();
    opened.clear();
    pressF1(&wizard, first.field);
    auto *help = wizard.findChild<QToolButton *>(QStringLiteral("help"));
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(wizard.ShowPage(1));
    QTest::mouseClick(help, Qt::LeftButton);
    EXPECT_EQ(opened, (std::vector<quint32>{0x20000 + 435, 0x20000 + 436}));
}

// A view inside the main window (a tab of its document area) opens its own
// page, though the main window answers F1 with a shortcut of its own.
TEST_F(ContextHelpTest, APartOfAWindowTakesF1FromTheWindowsShortcut)
{
    QMainWindow frame;
    int firstPages = 0;
    auto *helpTopics = frame.addAction(QStringLiteral("Rubriques d'aide"));
    helpTopics->setShortcut(QKeySequence::HelpContents);
    QObject::connect(helpTopics, &QAction::triggered, &frame, [&firstPages] { ++firstPages; });
    auto *central = new QWidget(&frame);
    auto *review = new QWidget(central);
    auto *reviewList = new QLineEdit(review);
    (new QVBoxLayout(review))->addWidget(reviewList);
    auto *calendar = new QLineEdit(central);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(review);
    layout->addWidget(calendar);
    frame.setCentralWidget(central);
    ContextHelp::Install(review, 391);

    pressF1(&frame, reviewList);
    EXPECT_EQ(opened, std::vector<quint32>{0x20000 + 391});
    EXPECT_EQ(firstPages, 0);
    calendar->setFocus();
    QTest::keyClick(calendar, Qt::Key_F1);
    EXPECT_EQ(firstPages, 1);
    EXPECT_EQ(opened.size(), 1u);
    // Other keys reach the view as they always did.
    QTest::keyClick(reviewList, Qt::Key_A);
    EXPECT_EQ(reviewList->text(), QStringLiteral("a"));
}

// A view given its context while still a window of its own, and put into
// the main window afterwards (a tab of its document area): F1 in it opens
// its page once, and F1 elsewhere still reaches the main window's own key.
TEST_F(ContextHelpTest, AViewGivenItsContextBeforeItJoinsAWindowAnswersOnce)
{
    QMainWindow frame;
    int firstPages = 0;
    auto *helpTopics = frame.addAction(QStringLiteral("Rubriques d'aide"));
    helpTopics->setShortcut(QKeySequence::HelpContents);
    QObject::connect(helpTopics, &QAction::triggered, &frame, [&firstPages] { ++firstPages; });
    auto *review = new QWidget;
    auto *reviewList = new QLineEdit(review);
    (new QVBoxLayout(review))->addWidget(reviewList);
    ASSERT_TRUE(review->isWindow());
    ContextHelp::Install(review, 391);

    auto *central = new QWidget(&frame);
    auto *calendar = new QLineEdit(central);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(review);
    layout->addWidget(calendar);
    frame.setCentralWidget(central);
    ASSERT_FALSE(review->isWindow());

    pressF1(&frame, reviewList);
    EXPECT_EQ(opened, std::vector<quint32>{0x20000 + 391});
    EXPECT_EQ(firstPages, 0);
    calendar->setFocus();
    QTest::keyClick(calendar, Qt::Key_F1);
    EXPECT_EQ(firstPages, 1);
    EXPECT_EQ(opened.size(), 1u);
}
