#include "CFolderDialog.h"
#include "DialogAnswers.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxContent.h"
#include "QStringPrinter.h"
#include "RememberedMessageBox.h"
#include "RichMessageBox.h"
#include "RichMessageBoxDialog.h"
#include "UnattendedDialogs.h"

#include "Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

namespace T = MessageBoxType;
namespace A = MessageBoxAnswer;

std::vector<int> ids(const MessageBoxContent &c)
{
    std::vector<int> out;
    for (const MessageBoxButton &b : c.buttons)
        out.push_back(b.id);
    return out;
}

TEST(MessageBoxContentTest, ButtonSetsDefaultAndEscape)
{
    struct Case
    {
        quint32 type;
        std::vector<int> buttons;
        int defaultId;
        int escape;
    };
    const Case cases[] = {
        {T::Ok, {1}, 1, 1},
        {T::OkCancel, {1, 2}, 1, 2},
        {T::AbortRetryIgnore, {3, 4, 5}, 3, 0},
        {T::YesNoCancel, {6, 7, 2}, 6, 2},
        {T::YesNo, {6, 7}, 6, 0},
        {T::RetryCancel, {4, 2}, 4, 2},
        {T::CancelTryContinue, {2, 10, 11}, 2, 2},
        {T::ContinueAbort, {11, 3}, 11, 0},
        {T::SkipSkipAllCancel, {14, 15, 2}, 14, 2},
        {T::IgnoreIgnoreAllCancel, {5, 16, 2}, 5, 2},
        {0xC, {1}, 1, 0}, // an unknown set is OK alone, Escape does nothing
        {T::YesNo | T::YesToAll | T::NoToAll, {6, 19, 7, 20}, 6, 0},
        {T::YesNoCancel | T::NoToAll | T::DefaultButton4, {6, 7, 20, 2}, 2, 2},
        {T::YesNoCancel | T::DefaultButton2, {6, 7, 2}, 7, 2},
        {T::YesNoCancel | T::DefaultButton3, {6, 7, 2}, 2, 2},
        // A default beyond the buttons present falls back to the first.
        {T::YesNo | T::DefaultButton3, {6, 7}, 6, 0},
        {T::YesNo | T::DefaultButton6, {6, 7}, 6, 0},
        // Yes-to-all and No-to-all belong to the Yes/No sets only.
        {T::OkCancel | T::YesToAll, {1, 2}, 1, 2},
        // Help comes after the set and counts for the default.
        {T::OkCancel | T::HelpButton | T::DefaultButton3, {1, 2, 300}, 300, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        const MessageBoxContent content = MessageBoxContent::Build(c.type, MessageBoxParams());
        EXPECT_EQ(ids(content), c.buttons);
        EXPECT_EQ(content.DefaultId(), c.defaultId);
        EXPECT_EQ(content.escapeAnswer, c.escape);
    }
}

TEST(MessageBoxContentTest, CustomButtonsReportAndCaptions)
{
    MessageBoxParams p;
    p.customButtons = QStringLiteral("Un\nDeux\nTrois\nQuatre\nCinq");
    p.reportFunction = [](const QString &, quint32) {};
    MessageBoxContent c = MessageBoxContent::Build(T::YesNoCancel | T::DefaultButton5, p);
    // Four custom buttons replace the set; the fifth caption is ignored;
    // Escape does nothing; the report button comes last.
    EXPECT_EQ(ids(c), (std::vector<int>{23, 24, 25, 26, 301}));
    EXPECT_EQ(c.buttons[3].caption, QStringLiteral("Quatre"));
    EXPECT_EQ(c.escapeAnswer, 0);
    EXPECT_EQ(c.DefaultId(), 301);
    // A custom button named for Escape, where there is one.
    for (const auto &[escape, answer] : std::vector<std::pair<int, int>>{{3, 25}, {4, 26}, {5, 0}, {-1, 0}}) {
        p.customEscape = escape;
        EXPECT_EQ(MessageBoxContent::Build(T::YesNoCancel, p).escapeAnswer, answer) << escape;
    }

    // Interface texts by default, built-in captions with NoTexts, and the
    // caller's own captions over both (an empty one keeps the default).
    MessageBoxParams own;
    own.useOwnCaptions = true;
    own.buttonCaptions[MessageBoxParams::CaptionYes] = QStringLiteral("Volontiers");
    const auto captions = [](quint32 type, const MessageBoxParams &params) {
        QStringList out;
        for (const MessageBoxButton &b : MessageBoxContent::Build(type, params).buttons)
            out << b.caption;
        return out;
    };
    EXPECT_EQ(captions(T::YesNoCancel, MessageBoxParams()),
              (QStringList{QStringLiteral("&Oui"), QStringLiteral("&Non"), QStringLiteral("Annuler")}));
    EXPECT_EQ(captions(T::YesNoCancel | T::NoTexts, MessageBoxParams()),
              (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")}));
    EXPECT_EQ(captions(T::YesNo | T::NoTexts, own),
              (QStringList{QStringLiteral("Volontiers"), QStringLiteral("&No")}));

    // The report caption: given text first, then the caller's Report caption.
    MessageBoxParams report;
    report.reportFunction = [](const QString &, quint32) {};
    EXPECT_EQ(MessageBoxContent::Build(T::Ok, report).buttons.back().caption, QStringLiteral("&Rapport"));
    report.useOwnCaptions = true;
    report.buttonCaptions[MessageBoxParams::CaptionReport] = QStringLiteral("Signaler");
    EXPECT_EQ(MessageBoxContent::Build(T::Ok, report).buttons.back().caption, QStringLiteral("Signaler"));
    report.reportCaption = QStringLiteral("Envoyer");
    EXPECT_EQ(MessageBoxContent::Build(T::Ok, report).buttons.back().caption, QStringLiteral("Envoyer"));

    // Check box, timers clamped.
    MessageBoxParams timers;
    timers.timeout = 1000;
    timers.disabledTime = 999;
    c = MessageBoxContent::Build(T::YesNo | T::DontAskAgain | T::CheckDisablesNo, timers);
    EXPECT_EQ(c.checkBoxFlag, T::DontAskAgain);
    EXPECT_EQ(c.checkBoxCaption, QStringLiteral("Ne plus me demander"));
    EXPECT_EQ(c.checkDisables, A::No);
    EXPECT_EQ(c.timeout, 10);
    EXPECT_EQ(c.disabledTime, 999);
    EXPECT_EQ(MessageBoxContent::Build(0x70, MessageBoxParams()).icon, T::IconExclamation);
}

// The remembered box through the seam: every kind with every answer, the
// check box left checked or not, gives its result and what is stored.
TEST(RememberedMessageBoxTest, KindsAnswersAndWhatIsStored)
{
    struct Case
    {
        int kind;
        int button;
        bool checked;
        int result;
        int stored; // -1: nothing stored
    };
    const Case cases[] = {
        {0, A::Yes, false, A::Yes, -1},
        {0, A::Yes, true, A::Yes, A::Yes},
        {0, A::No, true, A::No, A::No},
        // A checked Cancel decides nothing and is never remembered.
        {0, A::Cancel, true, A::Cancel, -1},
        {0, A::Cancel, false, A::Cancel, -1},
        {2, A::Cancel, true, A::Cancel, -1},
        {3, A::Cancel, false, A::Cancel, -1},
        {1, A::No, true, A::No, A::No},
        {2, A::Yes, true, A::Yes, A::Yes},
        {2, A::Yes, false, A::Yes, -1},
        {3, A::No, false, A::No, -1},
        {3, A::NoToAll, false, A::No, A::No},
        {3, A::Yes, false, A::Yes, -1},
        {4, A::YesToAll, false, A::Yes, A::Yes},
        {4, A::Yes, false, A::Yes, -1},
        // Kinds without a check box ignore a checked answer.
        {4, A::No, true, A::No, -1},
        {7, A::Yes, true, A::Yes, -1},
        // A box that could not be shown answers Cancel, remembers nothing.
        {0, A::Failed, true, A::Cancel, -1},
        {4, A::Failed, false, A::Cancel, -1},
    };
    int id = 100;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " button " << c.button << " checked " << c.checked);
        MessageBoxAnswers answers;
        answers.Push(c.button, c.checked);
        ++id;
        EXPECT_EQ(RememberedMessageBox(QStringLiteral("Supprimer ?"), QStringLiteral("Confirmation"), nullptr,
                                       id, c.kind, T::YesNoCancel | T::IconQuestion),
                  c.result);
        EXPECT_EQ(answers.AskedBoxes().size(), 1u);
        EXPECT_EQ(Platform::Settings().getInt(u"MsgBox", {}, QString::number(id), -1), c.stored);
    }
}

// The box itself, "Ne plus demander" ticked by a click, then cancelled as
// a user does: its Annuler, Escape or its Close. Nothing is stored, so the
// next call asks again; an answer that decides, ticked, is then stored and
// the call after shows nothing. (A remembered cancel once left a window
// that asks before it closes unable to close, with no word why.)
TEST(RememberedMessageBoxTest, ACheckedCancelIsNeverRemembered)
{
    const struct
    {
        const char *how;
        std::function<void(RichMessageBoxDialog &box)> cancel;
    } cancels[] = {
        {"Annuler", [](RichMessageBoxDialog &box) { QTest::mouseClick(box.Button(A::Cancel), Qt::LeftButton); }},
        {"Escape", [](RichMessageBoxDialog &box) { QTest::keyClick(&box, Qt::Key_Escape); }},
        {"the box's Close", [](RichMessageBoxDialog &box) { box.close(); }},
    };
    int id = 200;
    for (int kind : {0, 1, 2}) {
        for (const auto &cancel : cancels) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << cancel.how);
            const QString name = QString::number(++id);
            const auto ask = [&] {
                return RememberedMessageBox(QStringLiteral("Enregistrer les modifications ?"),
                                            QStringLiteral("Confirmation"), nullptr, id, kind,
                                            T::YesNoCancel | T::IconQuestion);
            };
            MessageBoxAnswers answers;
            bool ticked = false;
            answers.PushDriven([&](RichMessageBoxDialog &box) {
                ASSERT_NE(box.CheckBox(), nullptr);
                QTest::mouseClick(box.CheckBox(), Qt::LeftButton, {}, QPoint(4, box.CheckBox()->height() / 2));
                ticked = box.CheckBox()->isChecked();
                cancel.cancel(box);
            });
            EXPECT_EQ(ask(), A::Cancel);
            EXPECT_TRUE(ticked);
            EXPECT_EQ(Platform::Settings().getInt(u"MsgBox", {}, name, -1), -1) << "a cancel was remembered";

            // Asked again; No decides (kind 1 disables Yes once ticked,
            // kind 2 disables No: Yes there).
            const int decides = kind == 2 ? A::Yes : A::No;
            answers.Push(decides, true);
            EXPECT_EQ(ask(), decides);
            EXPECT_EQ(answers.AskedBoxes().size(), 2u) << "the question did not come back";
            EXPECT_EQ(Platform::Settings().getInt(u"MsgBox", {}, name, -1), decides);
            EXPECT_EQ(ask(), decides);
            EXPECT_EQ(answers.AskedBoxes().size(), 2u) << "a remembered answer asks nothing";
        }
    }
}

// A cancel an earlier version stored is no answer: the question is asked
// again and, answered, the new answer replaces it.
TEST(RememberedMessageBoxTest, ACancelStoredBeforeAsksAgain)
{
    Platform::Settings().setInt(u"MsgBox", {}, u"11", A::Cancel);
    MessageBoxAnswers answers;
    answers.Push(A::Yes, true);
    EXPECT_EQ(RememberedMessageBox(QStringLiteral("?"), QStringLiteral("Confirmation"), nullptr, 11, 0, 35), A::Yes);
    EXPECT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(Platform::Settings().getInt(u"MsgBox", {}, u"11", -1), A::Yes);
    Platform::Settings().removePrefix(QStringLiteral("MsgBox/"));
}

TEST(RememberedMessageBoxTest, StoredAnswerShowsNothingUntilForgotten)
{
    Platform::Settings().setInt(u"MsgBox", {}, u"8", 6);
    MessageBoxAnswers answers;
    EXPECT_EQ(RememberedMessageBox(QStringLiteral("?"), QStringLiteral("Confirmation"), nullptr, 8, 0, 36), 6);
    EXPECT_TRUE(answers.AskedBoxes().empty());

    // Clearing the remembered answers brings the question back; the
    // countdown's mark is dropped from the answer.
    Platform::Settings().removePrefix(QStringLiteral("MsgBox/"));
    answers.Push(A::No, false, true);
    EXPECT_EQ(RememberedMessageBox(QStringLiteral("?"), QStringLiteral("Confirmation"), nullptr, 8, 0, 36), A::No);
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    const MessageBoxAnswers::Asked &asked = answers.AskedBoxes()[0];
    EXPECT_EQ(asked.caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(asked.checkBoxCaption, QStringLiteral("Ne plus demander"));
    ASSERT_EQ(asked.buttons.size(), 2u);
    EXPECT_EQ(asked.buttons[0], (MessageBoxButton{A::Yes, QStringLiteral("Oui")}));
    EXPECT_EQ(asked.buttons[1], (MessageBoxButton{A::No, QStringLiteral("Non")}));

    // Kind 4's extra button and its caption.
    answers.Push(A::Yes);
    RememberedMessageBox(QStringLiteral("?"), QStringLiteral("Confirmation"), nullptr, 9, 4, 35);
    const auto &yesToAll = answers.AskedBoxes().back().buttons;
    ASSERT_EQ(yesToAll.size(), 4u);
    EXPECT_EQ(yesToAll[1], (MessageBoxButton{A::YesToAll, QStringLiteral("Oui et ne plus demander")}));
    EXPECT_EQ(yesToAll[3], (MessageBoxButton{A::Cancel, QStringLiteral("Annuler")}));
}

TEST(RichMessageBoxTest, SeamComposesTheAnswer)
{
    MessageBoxAnswers answers;
    answers.Push(A::Yes, true, true);
    answers.Push(A::Ok, true); // no check box: the flag is not added
    EXPECT_EQ(RichMessageBox(T::YesNo | T::DontAskAgain, nullptr, QStringLiteral("t"), QString()),
              int(6u + T::DontAskAgain + 0x80000000u));
    EXPECT_EQ(RichMessageBox(T::Ok, nullptr, QStringLiteral("t"), QStringLiteral("c")), A::Ok);
    // Nothing queued: the box fails the test rather than wait, and answers
    // as Escape would.
    int unanswered = 0;
    EXPECT_NONFATAL_FAILURE(unanswered = RichMessageBox(T::Ok, nullptr, QStringLiteral("t"), QStringLiteral("c")),
                            "message box \"c\": \"t\"");
    EXPECT_EQ(unanswered, A::Ok);
    ASSERT_EQ(answers.AskedBoxes().size(), 3u);
    EXPECT_EQ(answers.AskedBoxes()[0].caption, QStringLiteral("Error"));
    // A system-modal error is the plain box: no check box of ours.
    answers.Push(A::Ok, true);
    EXPECT_EQ(RichMessageBox(T::OkCancel | T::SystemModal | T::IconHand | T::DontAskAgain, nullptr,
                             QStringLiteral("t"), QStringLiteral("c")),
              A::Ok);
    EXPECT_TRUE(answers.AskedBoxes().back().plain);
}

// ---------------------------------------------------------------------
// The real window, offscreen
// ---------------------------------------------------------------------

class RichMessageBoxDialogTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        RichMessageBoxDialog::SetTickMs(0);
        RichMessageBoxDialog::SetHelpHandler({});
    }
};

TEST_F(RichMessageBoxDialogTest, ButtonsAnswerByIdWithTheCheckBox)
{
    {
        RichMessageBoxDialog box(nullptr, T::YesNoCancel | T::IconQuestion | T::DontTellAgain,
                                 QStringLiteral("Supprimer le projet ?"), QStringLiteral("Confirmation"),
                                 MessageBoxParams());
        box.show();
        ASSERT_TRUE(box.findChild<QLabel *>(QStringLiteral("1000")));
        EXPECT_EQ(box.findChild<QLabel *>(QStringLiteral("1001"))->text(), QStringLiteral("Supprimer le projet ?"));
        QCheckBox *check = box.findChild<QCheckBox *>(QStringLiteral("5555"));
        ASSERT_TRUE(check);
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
        EXPECT_TRUE(check->isChecked());
        QPushButton *no = box.findChild<QPushButton *>(QStringLiteral("7"));
        ASSERT_TRUE(no);
        QTest::mouseClick(no, Qt::LeftButton);
        EXPECT_EQ(box.Answer(), int(7 + T::DontTellAgain));
        EXPECT_FALSE(box.isVisible());
    }
    {
        // Checking the box disables Yes; Escape is Cancel with the flag.
        RichMessageBoxDialog box(nullptr, T::YesNoCancel | T::DontTellAgain | T::CheckDisablesYes,
                                 QStringLiteral("?"), QStringLiteral("c"), MessageBoxParams());
        box.show();
        box.CheckBox()->setChecked(true);
        EXPECT_FALSE(box.Button(A::Yes)->isEnabled());
        QTest::mouseClick(box.Button(A::Yes), Qt::LeftButton);
        EXPECT_EQ(box.Answer(), A::Failed);
        box.CheckBox()->setChecked(false);
        EXPECT_TRUE(box.Button(A::Yes)->isEnabled());
        box.CheckBox()->setChecked(true);
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_EQ(box.Answer(), int(2 + T::DontTellAgain));
    }
}

TEST_F(RichMessageBoxDialogTest, EscapeAndCloseFollowTheSet)
{
    struct Case
    {
        quint32 type;
        int answer; // after Escape; -1 when it does nothing
    };
    for (const Case &c : {Case{T::Ok, 1}, Case{T::YesNo, -1}, Case{T::YesNoCancel, 2}, Case{T::AbortRetryIgnore, -1}}) {
        SCOPED_TRACE(c.type);
        RichMessageBoxDialog box(nullptr, c.type, QStringLiteral("t"), QStringLiteral("c"), MessageBoxParams());
        box.show();
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_EQ(box.Answer(), c.answer);
        EXPECT_EQ(box.isVisible(), c.answer == -1);
        if (c.answer == -1) {
            box.close(); // the window's Close does nothing either
            EXPECT_TRUE(box.isVisible());
            // Return presses the default button.
            QTest::keyClick(box.focusWidget(), Qt::Key_Return);
            EXPECT_EQ(box.Answer(), box.Content().DefaultId());
        }
    }
    // Custom buttons whose last one goes back: Escape and Close answer it.
    MessageBoxParams p;
    p.customButtons = QStringLiteral("Garder\nRemplacer\nAnnuler");
    p.customEscape = 3;
    for (bool escape : {true, false}) {
        RichMessageBoxDialog box(nullptr, 0, QStringLiteral("t"), QStringLiteral("c"), p);
        box.show();
        if (escape)
            QTest::keyClick(&box, Qt::Key_Escape);
        else
            box.close();
        EXPECT_EQ(box.Answer(), A::Custom1 + 2) << (escape ? "Escape" : "Close");
        EXPECT_FALSE(box.isVisible());
    }
}

TEST_F(RichMessageBoxDialogTest, CountdownPressesTheDefaultButton)
{
    RichMessageBoxDialog::SetTickMs(5);
    MessageBoxParams p;
    p.timeout = 3;
    RichMessageBoxDialog box(nullptr, T::YesNo | T::DefaultButton2, QStringLiteral("t"), QStringLiteral("c"), p);
    QSignalSpy finished(&box, &QDialog::finished);
    box.show();
    EXPECT_EQ(box.Button(A::No)->text(), QStringLiteral("&Non = 3"));
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(box.Answer(), int(7u + 0x80000000u));
    EXPECT_EQ(box.Button(A::No)->text(), QStringLiteral("&Non"));

    // A click in the box stops the countdown and restores the caption.
    RichMessageBoxDialog clicked(nullptr, T::YesNo, QStringLiteral("t"), QStringLiteral("c"), p);
    clicked.show();
    QTest::mouseClick(clicked.findChild<QLabel *>(QStringLiteral("1001")), Qt::LeftButton);
    EXPECT_EQ(clicked.Button(A::Yes)->text(), QStringLiteral("&Oui"));
    QSignalSpy stillOpen(&clicked, &QDialog::finished);
    EXPECT_FALSE(stillOpen.wait(100));
    EXPECT_TRUE(clicked.isVisible());
}

TEST_F(RichMessageBoxDialogTest, DisabledTimeKeepsButtonsAndEscapeAway)
{
    RichMessageBoxDialog::SetTickMs(5);
    MessageBoxParams p;
    p.disabledTime = 2;
    RichMessageBoxDialog box(nullptr, T::OkCancel | T::DontAskAgain, QStringLiteral("t"), QStringLiteral("Titre"), p);
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Titre 2"));
    EXPECT_FALSE(box.Button(A::Ok)->isEnabled());
    EXPECT_FALSE(box.CheckBox()->isEnabled());
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_EQ(box.Answer(), A::Failed);
    QTRY_VERIFY_WITH_TIMEOUT(box.Button(A::Ok)->isEnabled(), 5000);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Titre"));
    EXPECT_TRUE(box.Button(A::Cancel)->isEnabled());
    QTest::mouseClick(box.Button(A::Ok), Qt::LeftButton);
    EXPECT_EQ(box.Answer(), A::Ok);
}

TEST_F(RichMessageBoxDialogTest, HelpReportAndCopy)
{
    quint32 helped = 0;
    RichMessageBoxDialog::SetHelpHandler([&](quint32 id) { helped = id; });
    QString reported;
    quint32 reportedData = 0;
    MessageBoxParams p;
    p.helpId = 42;
    p.reportData = 7;
    p.reportFunction = [&](const QString &text, quint32 data) {
        reported = text;
        reportedData = data;
    };
    RichMessageBoxDialog box(nullptr, T::OkCancel | T::HelpButton, QStringLiteral("Ligne 1\nLigne 2"),
                             QStringLiteral("Erreur"), p);
    box.show();
    QTest::mouseClick(box.Button(A::Help), Qt::LeftButton);
    QTest::mouseClick(box.Button(A::Report), Qt::LeftButton);
    EXPECT_EQ(helped, 42u);
    EXPECT_EQ(reported, QStringLiteral("Ligne 1\nLigne 2"));
    EXPECT_EQ(reportedData, 7u);
    EXPECT_TRUE(box.isVisible());

    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    const QString dashes = QStringLiteral("---------------------------\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              dashes + QStringLiteral("Erreur\r\n") + dashes + QStringLiteral("Ligne 1\nLigne 2\r\n") + dashes
                  + QStringLiteral("OK   Annuler   Aide   Rapport   \r\n") + dashes);
    EXPECT_TRUE(box.isVisible());
}

} // namespace

// In a test process nobody answers: a box or a dialog asked with no answer
// queued fails the test at once, named, and answers as when closed without
// a choice, so that the code goes on instead of waiting for the time-out.
TEST(UnattendedDialogsTest, AnUnansweredBoxOrDialogFailsTheTestAtOnce)
{
    ASSERT_TRUE(UnattendedDialogs::IsUnattended());
    struct Case
    {
        quint32 type;
        int answer;
    };
    // What Escape answers, and -1 where Escape does nothing.
    const Case cases[] = {{T::Ok, A::Ok}, {T::OkCancel, A::Cancel}, {T::YesNoCancel, A::Cancel}, {T::YesNo, A::Failed}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        int answer = 0;
        // No seam at all: the box is not shown.
        EXPECT_NONFATAL_FAILURE(answer = RichMessageBox(c.type, nullptr, QStringLiteral("Supprimer le projet ?"),
                                                        QStringLiteral("Confirmation")),
                                "message box \"Confirmation\": \"Supprimer le projet ?\"");
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        // A seam whose answers ran out.
        MessageBoxAnswers answers;
        answers.Push(A::Yes);
        RichMessageBox(c.type, nullptr, QStringLiteral("premier"), QStringLiteral("Confirmation"));
        EXPECT_NONFATAL_FAILURE(answer = RichMessageBox(c.type, nullptr, QStringLiteral("second"), QString()),
                                "\"second\"");
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(answers.AskedBoxes().size(), 2u);
    }

    // A seam that answers notices: a box with one button gets it, a
    // question still needs a queued answer, and queued answers still go to
    // the boxes in order.
    {
        MessageBoxAnswers answers;
        answers.AnswerNotices();
        EXPECT_EQ(RichMessageBox(T::Ok | T::IconExclamation, nullptr, QStringLiteral("Écriture impossible."),
                                 QStringLiteral("Erreur")),
                  A::Ok);
        int answer = 0;
        EXPECT_NONFATAL_FAILURE(answer = RichMessageBox(T::YesNo, nullptr, QStringLiteral("Continuer ?"), QString()),
                                "Continuer ?");
        EXPECT_EQ(answer, A::Failed);
        answers.Push(A::Cancel);
        EXPECT_EQ(RichMessageBox(T::Ok, nullptr, QStringLiteral("Fait."), QString()), A::Cancel);
        EXPECT_EQ(answers.AskedBoxes().size(), 3u);
    }

    // A dialog with a next-answer seam, asked with none queued.
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Exporter"));
    int result = QDialog::Accepted;
    bool answered = false;
    EXPECT_NONFATAL_FAILURE(answered = DialogAnswers<QDialog>::AnswerInstead(dialog, result),
                            "dialog QDialog \"Exporter\"");
    EXPECT_TRUE(answered);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    {
        DialogAnswers<QDialog> answers;
        answers.Push(QDialog::Accepted);
        EXPECT_TRUE(DialogAnswers<QDialog>::AnswerInstead(dialog, result));
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_NONFATAL_FAILURE(DialogAnswers<QDialog>::AnswerInstead(dialog, result), "Exporter");
        EXPECT_EQ(result, QDialog::Rejected);
    }

    // The desktop's folder dialog, where no picker was set: cancelled.
    CFolderDialog folders(QStringLiteral("/tmp"), QStringLiteral("Choisir un répertoire"));
    int chosen = 0;
    EXPECT_NONFATAL_FAILURE(chosen = folders.DoModal(), "folder dialog \"Choisir un répertoire\"");
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(folders.GetFolderPath(), QStringLiteral("/tmp"));

    // Without a reporter, as in the programs, dialogs run for real.
    const UnattendedDialogs::Reporter reporter = UnattendedDialogs::SetReporter({});
    EXPECT_EQ(DialogAnswers<QDialog>::Active(), nullptr);
    EXPECT_FALSE(UnattendedDialogs::Report(QStringLiteral("x")));
    UnattendedDialogs::SetReporter(reporter);
    EXPECT_NE(DialogAnswers<QDialog>::Active(), nullptr);
}
