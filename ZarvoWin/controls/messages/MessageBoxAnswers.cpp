#include "MessageBoxAnswers.h"

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
    m_answers.push_back({button, checked, byCountdown, {}});
}

void MessageBoxAnswers::PushAfter(std::function<void()> whileShown, int button)
{
    m_answers.push_back({button, false, false, std::move(whileShown)});
}

MessageBoxAnswers *MessageBoxAnswers::Active()
{
    return activeSeam();
}

int MessageBoxAnswers::Answer(const Asked &asked, const MessageBoxContent &content)
{
    m_asked.push_back(asked);
    if (m_answers.empty())
        return MessageBoxAnswer::Failed;
    const Queued next = std::move(m_answers.front());
    m_answers.pop_front();
    if (next.whileShown)
        next.whileShown();
    if (next.button == MessageBoxAnswer::Failed)
        return MessageBoxAnswer::Failed;
    quint32 result = quint32(next.button);
    if (next.checked && content.HasCheckBox())
        result += content.checkBoxFlag;
    if (next.byCountdown)
        result += quint32(MessageBoxAnswer::Countdown);
    return int(result);
}
