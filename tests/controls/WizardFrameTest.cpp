// The wizard frame driven as a user would: its buttons over the pages, a
// page's word on Next and Finish, Finish over the pages built, and the ways
// out that the frame refuses.
#include "CPrefsSubDlg.h"
#include "CWizardFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A page that records what the frame asks of it.
class RecordingPage : public CPrefsSubDlg
{
public:
    RecordingPage(int id, std::vector<std::string> &log)
        : CPrefsSubDlg(id)
        , m_log(log)
    {
    }
    bool ValidatePage() override
    {
        m_log.push_back("validate " + std::to_string(TemplateId()));
        return accepts;
    }
    void OnOK() override { m_log.push_back("apply " + std::to_string(TemplateId())); }
    void OnCancel() override { m_log.push_back("cancel " + std::to_string(TemplateId())); }

    bool accepts = true;
    // Posted to the frame while the page is being built, as a page that
    // finds its work already done does.
    int postWhenBuilt = -1;
    QLineEdit *edit = nullptr;

protected:
    void OnInitDialog() override
    {
        m_log.push_back("build " + std::to_string(TemplateId()));
        auto *layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        layout->addWidget(edit);
        if (postWhenBuilt >= 0)
            CWizardFrame::PostNextState(this, postWhenBuilt != 0);
    }

private:
    std::vector<std::string> &m_log;
};

struct Buttons
{
    bool back, next, finish;
    bool operator==(const Buttons &) const = default;
};

class WizardFrameTest : public ::testing::Test
{
protected:
    void make(bool withCancel, int finishIndex)
    {
        frame = std::make_unique<CWizardFrame>(900, withCancel);
        for (int id : {1, 2, 3}) {
            pages.push_back(std::make_unique<RecordingPage>(id, log));
            frame->AddPage(pages.back().get());
        }
        frame->SetFinishIndex(finishIndex);
    }
    Buttons buttons() const
    {
        return {frame->BackButton()->isEnabled(), frame->NextButton()->isEnabled(), frame->FinishButton()->isEnabled()};
    }
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::vector<std::string> log;
    std::vector<std::unique_ptr<RecordingPage>> pages;
    std::unique_ptr<CWizardFrame> frame;
};

} // namespace

TEST_F(WizardFrameTest, ButtonsFollowThePagesAndPagesAreBuiltWhenFirstShown)
{
    make(false, 2);
    frame->show();
    EXPECT_EQ(frame->CurrentPage(), 0);
    EXPECT_FALSE(pages[1]->IsCreated());
    EXPECT_EQ(buttons(), (Buttons{false, true, false}));
    EXPECT_EQ(frame->CancelButton(), nullptr);

    click(frame->NextButton());
    EXPECT_EQ(frame->CurrentPage(), 1);
    EXPECT_EQ(buttons(), (Buttons{true, true, false}));
    click(frame->NextButton());
    EXPECT_EQ(buttons(), (Buttons{true, false, true}));
    EXPECT_TRUE(frame->FinishButton()->isDefault());
    // The page shown takes the focus.
    EXPECT_EQ(frame->focusWidget(), pages[2]->edit);
    click(frame->BackButton());
    EXPECT_EQ(frame->CurrentPage(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"build 1", "validate 1", "build 2", "validate 2", "build 3",
                                             "validate 3"}));
}

TEST_F(WizardFrameTest, APageThatRefusesKeepsTheUserOnIt)
{
    make(false, 2);
    frame->show();
    pages[0]->accepts = false;
    click(frame->NextButton());
    EXPECT_EQ(frame->CurrentPage(), 0);
    EXPECT_FALSE(pages[1]->IsCreated());
}

TEST_F(WizardFrameTest, APageMayAllowFinishOnceItIsBuilt)
{
    make(false, 2);
    pages[1]->postWhenBuilt = 0;
    frame->show();
    click(frame->NextButton());
    // Queued: the frame's own button rules ran first, then the page's word.
    EXPECT_EQ(buttons(), (Buttons{true, true, false}));
    QApplication::processEvents();
    EXPECT_EQ(buttons(), (Buttons{true, false, true}));
    EXPECT_TRUE(frame->FinishButton()->isDefault());

    // Finish asks only the pages built, in order, then lets them store.
    click(frame->FinishButton());
    EXPECT_EQ(frame->result(), QDialog::Accepted);
    EXPECT_FALSE(pages[2]->IsCreated());
    EXPECT_EQ(log, (std::vector<std::string>{"build 1", "validate 1", "build 2", "validate 1", "validate 2",
                                             "apply 1", "apply 2"}));
}

TEST_F(WizardFrameTest, FinishShowsTheFirstPageThatRefusesAndStoresNothing)
{
    make(false, 2);
    frame->show();
    click(frame->NextButton());
    click(frame->NextButton());
    pages[1]->accepts = false;
    log.clear();
    click(frame->FinishButton());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->CurrentPage(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"validate 1", "validate 2"}));
}

TEST_F(WizardFrameTest, WithoutCancelEscapeAndClosingDoNothing)
{
    make(false, 2);
    frame->show();
    QTest::keyClick(frame.get(), Qt::Key_Escape);
    QTest::keyClick(pages[0]->edit, Qt::Key_Escape);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    frame->reject();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowCloseButtonHint);
    for (const std::string &entry : log)
        EXPECT_EQ(entry.rfind("cancel", 0), std::string::npos);
}

// Escape, from the frame or from a field of a page, and closing the window
// are Cancel: the built pages are told, and the frame ends with 2.
TEST_F(WizardFrameTest, CancelEscapeAndClosingTellTheBuiltPages)
{
    struct Case
    {
        const char *name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Cancel", [this] { click(frame->CancelButton()); }},
        {"Escape in a page's field", [this] { QTest::keyClick(pages[1]->edit, Qt::Key_Escape); }},
        {"Escape on the frame", [this] { QTest::keyClick(frame.get(), Qt::Key_Escape); }},
        {"closing the window", [this] { EXPECT_TRUE(frame->close()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frame.reset();
        pages.clear();
        make(true, 2);
        frame->show();
        click(frame->NextButton());
        pages[1]->edit->setFocus();
        log.clear();
        c.act();
        EXPECT_FALSE(frame->isVisible());
        EXPECT_EQ(frame->result(), QDialog::Rejected);
        EXPECT_EQ(log, (std::vector<std::string>{"cancel 1", "cancel 2"}));
    }
}

TEST_F(WizardFrameTest, OneShownPutsFinishInThePlaceOfNext)
{
    make(true, 2);
    frame->SetButtonStyle(CWizardFrame::ButtonStyle::OneShown);
    frame->show();
    EXPECT_TRUE(frame->NextButton()->isVisible());
    EXPECT_FALSE(frame->FinishButton()->isVisible());
    click(frame->NextButton());
    click(frame->NextButton());
    EXPECT_FALSE(frame->NextButton()->isVisible());
    EXPECT_TRUE(frame->FinishButton()->isVisible());
    // Enter presses Finish.
    QTest::keyClick(pages[2]->edit, Qt::Key_Return);
    EXPECT_EQ(frame->result(), QDialog::Accepted);
}

TEST_F(WizardFrameTest, PagesOutliveTheFrameThatShowedThem)
{
    make(false, 0);
    frame->show();
    frame.reset();
    ASSERT_TRUE(pages[0]->IsCreated());
    EXPECT_EQ(pages[0]->parentWidget(), nullptr);
}
