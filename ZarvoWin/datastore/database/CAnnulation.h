#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The undo and redo history of database changes. Each write records pairs
// of SQL texts (redo = the statement, undo = the statement that puts the
// rows back); the pairs of one write form a group that is undone and
// redone as one. The newest 11 groups are kept.
class CAnnulation
{
public:
    struct tEtape
    {
        QString redo;
        QString undo;
        int group = 0;
    };

    enum class Outcome {
        Nothing, // nothing to undo or redo; the database was not touched
        Done,    // the group was undone or redone
        Failed,  // the batch was rolled back; the position did not move
    };

    static constexpr int MaxGroups = 11;

    // Runs one group's statements, in order, in one transaction on the
    // current user's database; true when they landed. The database layer
    // gives the history its runner when it first meets it.
    using BatchRunner = std::function<bool(const QStringList &texts)>;

    CAnnulation() = default;
    void SetBatchRunner(BatchRunner runner) { m_runner = std::move(runner); }
    bool HasBatchRunner() const { return bool(m_runner); }

    void Reset();
    // The next recorded step opens a new group.
    void BeginGroup() { m_newGroup = true; }
    void AddStep(const QString &redo, const QString &undo);
    // Removes the group just recorded (its transaction was rolled back) and
    // makes the next step open a new group.
    void DropLastGroup();

    // Run the current group's undo texts (newest first) or the next
    // group's redo texts (oldest first) through the batch runner. On
    // failure (or without a runner) nothing moves, so the same group can be
    // tried again and the history never mixes states.
    Outcome Undo();
    Outcome Redo();

    bool CanUndo() const { return m_current >= 0; }
    bool CanRedo() const { return m_current + 1 < static_cast<int>(m_steps.size()); }

    // Texts the next Undo or Redo would run, in running order.
    QStringList PendingUndo() const;
    QStringList PendingRedo() const;

    const std::vector<tEtape> &Steps() const { return m_steps; }
    int Current() const { return m_current; }

private:
    int UndoStart() const;
    int RedoEnd() const;
    // Runs the statements in one batch; when they land, `current` becomes
    // the current step.
    Outcome Replay(const QStringList &texts, int current);

    BatchRunner m_runner;
    std::vector<tEtape> m_steps;
    int m_current = -1;
    bool m_newGroup = true;
};

// Appends one pair to the application's history (nothing when the
// application keeps none).
void AddUndoPair(const QString &redo, const QString &undo);
