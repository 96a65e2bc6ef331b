#include "MessageBoxAnswers.h"

#include "RichMessageBoxDialog.h"
#include "UnattendedDialogs.h"

#include <QStringList>

namespace {
MessageBoxAnswers *&activeSeam()
{
    static MessageBoxAnswers *active = nullptr;
    return active;
}
} // namespace

MessageBoxAnswers::MessageBoxAnswers()
    : m_previous(activeSeam())
{
    activeSeam() = this;
}

MessageBoxAnswers::~MessageBoxAnswers()
{
    activeSeam() = m_previous;
}

void MessageBoxAnswers::Push(int button, bool checked, bool byCountdown)
{
    m_answers.push_back({button, checked, byCountdown, {}, {}});
}

void MessageBoxAnswers::PushAfter(std::function<void()> whileShown, int button)
{
    m_answers.push_back({button, false, false, std::move(whileShown), {}});
}

void MessageBoxAnswers::PushDriven(std::function<void(RichMessageBoxDialog &box)> user)
{
    m_answers.push_back({MessageBoxAnswer::Failed, false, false, {}, std::move(user)});
}

MessageBoxAnswers *MessageBoxAnswers::Active()
{
    return activeSeam();
}

int MessageBoxAnswers::Answer(const Asked &asked, const MessageBoxContent &content, const BoxBuilder &build)
{
    m_asked.push_back(asked);
    if (m_answers.empty()) {
        if (m_answerNotices && asked.buttons.size() == 1)
            return asked.buttons.front().id;
        UnattendedDialogs::Report(Describe(asked));
        return UnansweredResult(asked);
    }
    const Queued next = std::move(m_answers.front());
    m_answers.pop_front();
    if (next.whileShown)
        next.whileShown();
    if (next.user) {
        const std::unique_ptr<RichMessageBoxDialog> box = build ? build() : nullptr;
        if (!box) {
            UnattendedDialogs::Report(Describe(asked) + QStringLiteral(", which cannot be driven"));
            return UnansweredResult(asked);
        }
        box->show();
        next.user(*box);
        if (box->isVisible()) {
            UnattendedDialogs::Report(Describe(asked) + QStringLiteral(", still open when the user was done"));
            return UnansweredResult(asked);
        }
        return box->Answer();
    }
    if (next.button == MessageBoxAnswer::Failed)
        return MessageBoxAnswer::Failed;
    quint32 result = quint32(next.button);
    if (next.checked && content.HasCheckBox())
        result += content.checkBoxFlag;
    if (next.byCountdown)
        result += quint32(MessageBoxAnswer::Countdown);
    return int(result);
}

QString MessageBoxAnswers::Describe(const Asked &asked)
{
    QStringList buttons;
    for (const MessageBoxButton &b : asked.buttons)
        buttons << QString(b.caption).remove(u'&');
    return QStringLiteral("message box \"%1\": \"%2\" [%3]").arg(asked.caption, asked.text, buttons.join(u'/'));
}

int MessageBoxAnswers::UnansweredResult(const Asked &asked)
{
    return asked.escapeAnswer != 0 ? asked.escapeAnswer : int(MessageBoxAnswer::Failed);
}
