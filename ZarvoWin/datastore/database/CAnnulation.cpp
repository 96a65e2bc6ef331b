#include "CAnnulation.h"

#include "CAppData.h"

void CAnnulation::Reset()
{
    m_steps.clear();
    m_current = -1;
    m_newGroup = true;
}

void CAnnulation::AddStep(const QString &redo, const QString &undo)
{
    // A new step cuts the redo tail.
    m_steps.erase(m_steps.begin() + (m_current + 1), m_steps.end());

    tEtape step{redo, undo, 0};
    if (m_newGroup || m_steps.empty()) {
        step.group = m_steps.empty() ? 0 : m_steps.back().group + 1;
        m_newGroup = false;
    } else {
        step.group = m_steps.back().group;
    }
    m_steps.push_back(step);

    // Keep the newest group and the ten before it.
    auto firstKept = m_steps.begin();
    while (firstKept != m_steps.end() && firstKept->group + (MaxGroups - 1) < step.group)
        ++firstKept;
    m_steps.erase(m_steps.begin(), firstKept);

    m_current = static_cast<int>(m_steps.size()) - 1;
}

void CAnnulation::DropLastGroup()
{
    // Nothing recorded since BeginGroup: the last group belongs to an
    // earlier write that landed, and stays.
    const bool recorded = !m_newGroup;
    // The next write must not join what is left of an older group.
    m_newGroup = true;
    if (!recorded || m_steps.empty() || m_current != static_cast<int>(m_steps.size()) - 1)
        return;
    const int group = m_steps[static_cast<size_t>(m_current)].group;
    while (!m_steps.empty() && m_steps.back().group == group) {
        m_steps.pop_back();
        --m_current;
    }
}

// First index of the group at `current`.
int CAnnulation::UndoStart() const
{
    int i = m_current;
    const int group = m_steps[static_cast<size_t>(m_current)].group;
    while (i > 0 && m_steps[static_cast<size_t>(i - 1)].group == group)
        --i;
    return i;
}

// Last index of the group after `current`.
int CAnnulation::RedoEnd() const
{
    int i = m_current + 1;
    const int group = m_steps[static_cast<size_t>(i)].group;
    const int last = static_cast<int>(m_steps.size()) - 1;
    while (i < last && m_steps[static_cast<size_t>(i + 1)].group == group)
        ++i;
    return i;
}

QStringList CAnnulation::PendingUndo() const
{
    QStringList texts;
    if (!CanUndo())
        return texts;
    for (int i = m_current; i >= UndoStart(); --i)
        texts.append(m_steps[static_cast<size_t>(i)].undo);
    return texts;
}

QStringList CAnnulation::PendingRedo() const
{
    QStringList texts;
    if (!CanRedo())
        return texts;
    for (int i = m_current + 1, end = RedoEnd(); i <= end; ++i) {
        const QString &redo = m_steps[static_cast<size_t>(i)].redo;
        if (!redo.isEmpty())
            texts.append(redo);
    }
    return texts;
}

CAnnulation::Outcome CAnnulation::Undo()
{
    if (!CanUndo())
        return Outcome::Nothing;
    return Replay(PendingUndo(), UndoStart() - 1);
}

CAnnulation::Outcome CAnnulation::Redo()
{
    if (!CanRedo())
        return Outcome::Nothing;
    return Replay(PendingRedo(), RedoEnd());
}

CAnnulation::Outcome CAnnulation::Replay(const QStringList &texts, int current)
{
    if (!m_runner || !m_runner(texts))
        return Outcome::Failed;
    m_current = current;
    // A write after an undo or a redo starts its own group.
    m_newGroup = true;
    return Outcome::Done;
}

void AddUndoPair(const QString &redo, const QString &undo)
{
    if (CAnnulation *history = CAppData::Annulation())
        history->AddStep(redo, undo);
}
