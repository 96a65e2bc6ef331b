#pragma once
#include "MessageBoxContent.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <functional>
#include <vector>

// The next-answer seam of the message boxes. While an object of this
// class lives (on the interface thread), no message box is shown: each box
// asked is recorded and answered with the next queued answer, or fails
// (-1) when none is left, so that a test never waits in a modal loop.
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

    const std::vector<Asked> &AskedBoxes() const { return m_asked; }
    int Remaining() const { return int(m_answers.size()); }

    // The seam in force, or null when boxes are shown for real.
    static MessageBoxAnswers *Active();
    // Records the box and gives its answer as the real box would compose
    // it (the check-box flag only when the box has one).
    int Answer(const Asked &asked, const MessageBoxContent &content);

private:
    struct Queued
    {
        int button;
        bool checked;
        bool byCountdown;
        std::function<void()> whileShown;
    };
    std::deque<Queued> m_answers;
    std::vector<Asked> m_asked;
    MessageBoxAnswers *m_previous = nullptr;
};
