#pragma once
#include <QDialog>
#include <memory>

class CListeTache;
class CRunningCardSource;

// The running entries, when more than one runs: a click on one ends it
// now, "Terminer toutes les tâches" ends them all at one instant, in list
// order, stopping at the first write that fails. An entry that has ended
// meanwhile (the tray companion ended it) is left as it is. exec() gives
// Accepted once the entries asked for are ended; after a failure the list
// is read again and the dialog stays open. DialogAnswers<CDlgListEnCours>
// answers it in tests.
class CDlgListEnCours : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 410;
    enum : int {
        IdCancel = 2,
        IdEndAll = 1086,
        IdPrompt = 1181,
        IdList = 1183,
    };

    // The cards come from `source` (not owned) or, without one, from the
    // current user's database.
    explicit CDlgListEnCours(QWidget *parent = nullptr, CRunningCardSource *source = nullptr);
    ~CDlgListEnCours() override;

    int exec() override;

    CListeTache *List() const { return m_list; }
    QWidget *Control(int id) const;

    // A click on the list: entry `id` (-1 below the cards) ends now.
    void EndEntry(int id);
    // Every listed entry ends at one instant.
    void EndAll();

private:
    // Ends the entry at `end` unless it no longer runs; false when the
    // entry could not be read or the write failed.
    static bool EndIfRunning(int id, qint64 end);
    void Failed();

    std::unique_ptr<CRunningCardSource> m_ownSource;
    CListeTache *m_list = nullptr;
};
