#pragma once
#include "MessageBoxContent.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class RichMessageBoxDialog;

// The next-answer seam of the message boxes. While an object of this
// class lives (on the interface thread), no message box is shown: each box
// asked is recorded and answered with the next queued answer, or fails
// when none is left (reported to UnattendedDialogs, answered as Escape
// would, else -1), so that a test never waits in a modal loop.
// Objects nest; the newest one answers.
class MessageBoxAnswers
{
public:
    struct Asked
    {
        quint32 type = 0;
        QString text;
        QString caption;
        std::vector<MessageBoxButton> buttons;
        int defaultId = 0;
        int escapeAnswer = 0;
        QString checkBoxCaption;
        // Shown as the plain system box (system modal with a hand or
        // exclamation icon).
        bool plain = false;
    };

    MessageBoxAnswers();
    ~MessageBoxAnswers();
    MessageBoxAnswers(const MessageBoxAnswers &) = delete;
    MessageBoxAnswers &operator=(const MessageBoxAnswers &) = delete;

    // The button pressed, the check box left checked or not, and whether
    // the countdown pressed it. A button the box does not have is still
    // answered as given (the seam does not second-guess a test).
    void Push(int button, bool checked = false, bool byCountdown = false);
    // The button pressed once `whileShown` ran: what happens while a real
    // box waits for the user (a timer's tick, another window's call).
    void PushAfter(std::function<void()> whileShown, int button);
    // The box itself, built as the program shows it and shown without a
    // modal loop, handed to `user`, who acts on it as a user does (a key,
    // a click, its Close). Its answer is the one the box ended with; a box
    // still open afterwards, or one that cannot be built so (the plain
    // system box), is reported to UnattendedDialogs and answered as one
    // asked with no answer.
    void PushDriven(std::function<void(RichMessageBoxDialog &box)> user);

    // With it, a box that only informs (it has one button) and finds no
    // answer queued is answered by its button; a question still needs a
    // queued answer. For tests that read what they were told from
    // AskedBoxes(); queued answers go to the boxes in order, as before.
    void AnswerNotices(bool on = true) { m_answerNotices = on; }

    const std::vector<Asked> &AskedBoxes() const { return m_asked; }
    int Remaining() const { return int(m_answers.size()); }

    // The seam in force, or null when boxes are shown for real.
    static MessageBoxAnswers *Active();
    // Records the box and gives its answer as the real box would compose
    // it (the check-box flag only when the box has one). `build` makes the
    // box as it would show, for an answer that drives it (null for a box
    // that is not one of ours).
    using BoxBuilder = std::function<std::unique_ptr<RichMessageBoxDialog>()>;
    int Answer(const Asked &asked, const MessageBoxContent &content, const BoxBuilder &build = {});

    // A box named for a report: its caption, its text and its buttons.
    static QString Describe(const Asked &asked);
    // What a box asked with no answer gives: what Escape answers, or
    // MessageBoxAnswer::Failed where Escape does nothing.
    static int UnansweredResult(const Asked &asked);

private:
    struct Queued
    {
        int button;
        bool checked;
        bool byCountdown;
        std::function<void()> whileShown;
        std::function<void(RichMessageBoxDialog &box)> user;
    };
    std::deque<Queued> m_answers;
    std::vector<Asked> m_asked;
    MessageBoxAnswers *m_previous = nullptr;
    bool m_answerNotices = false;
};
