#pragma once
#include "UnattendedDialogs.h"

#include <QDialog>

#include <deque>
#include <functional>

// The next-answer seam of a modal dialog class. A dialog that offers it
// asks Active() in its exec(): while an object of DialogAnswers<ThatDialog>
// lives (on the interface thread), no modal loop runs; the dialog, built
// and filled as for showing, is handed to the next queued answer, which may
// act on it as a user would (click, type) and returns the result exec()
// gives. With no answer left exec() gives QDialog::Rejected. Objects nest;
// the newest one answers. In an unattended process (UnattendedDialogs) a
// dialog asked with no answer queued, also with no object alive, is
// reported and rejected rather than shown.
//
//     DialogAnswers<CDlgTask> answers;
//     answers.Push([](CDlgTask &dialog) { dialog.ClickOk(); return dialog.result(); });
//     answers.Push(QDialog::Rejected);
template <class Dialog>
class DialogAnswers
{
public:
    using AnswerFunction = std::function<int(Dialog &dialog)>;

    DialogAnswers()
        : m_previous(active())
    {
        active() = this;
    }
    ~DialogAnswers() { active() = m_previous; }
    DialogAnswers(const DialogAnswers &) = delete;
    DialogAnswers &operator=(const DialogAnswers &) = delete;

    void Push(AnswerFunction answer) { m_answers.push_back(std::move(answer)); }
    // An answer that gives `result` without touching the dialog.
    void Push(int result)
    {
        Push([result](Dialog &) { return result; });
    }

    // The number of dialogs asked so far, and of answers left.
    int Asked() const { return m_asked; }
    int Remaining() const { return int(m_answers.size()); }

    // The seam in force, or null when dialogs run for real. In an
    // unattended process there is always one: without an object alive, an
    // empty one that reports every dialog it is asked.
    static DialogAnswers *Active()
    {
        if (active())
            return active();
        if (!UnattendedDialogs::IsUnattended())
            return nullptr;
        static DialogAnswers unanswered{Unregistered{}};
        return &unanswered;
    }

    // For a dialog's exec(): while a seam is in force, its answer ends the
    // dialog (`result` gets it) and true is returned; false otherwise.
    static bool AnswerInstead(Dialog &dialog, int &result)
    {
        DialogAnswers *seam = Active();
        if (!seam)
            return false;
        result = seam->Answer(dialog);
        dialog.done(result);
        return true;
    }

    // Called by the dialog's exec().
    int Answer(Dialog &dialog)
    {
        ++m_asked;
        if (m_answers.empty()) {
            UnattendedDialogs::Report(QStringLiteral("dialog %1 \"%2\"")
                                          .arg(QString::fromLatin1(dialog.metaObject()->className()),
                                               dialog.windowTitle()));
            return QDialog::Rejected;
        }
        const auto answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer(dialog);
    }

private:
    struct Unregistered
    {
    };
    explicit DialogAnswers(Unregistered) {}

    static DialogAnswers *&active()
    {
        static DialogAnswers *seam = nullptr;
        return seam;
    }

    std::deque<AnswerFunction> m_answers;
    int m_asked = 0;
    DialogAnswers *m_previous = nullptr;
};
