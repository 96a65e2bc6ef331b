#pragma once
#include "tTacheFull.h"

#include <QDialog>
#include <QFont>
#include <QString>
#include <vector>

class CEditReadOnly;
class CMyStatic;
class CViewAnimInsert;
class QCheckBox;
class QLabel;
class QTimer;
class QToolButton;

// The question asked when an entry about to be stored overlaps others: the
// existing entries give way, or the new entry moves into the longest free
// time of its span; or nothing is stored. The fields show one entry at a
// time (the one being stored first), stepped with the two arrows; each
// choice is a large button playing a diagram of what it does. The dialog
// writes nothing: the caller passes Method() to CBdD::InsertTimeEntry.
// DialogAnswers<CDlgInsertion> answers it in tests.
class CDlgInsertion : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 417;
    // The animation's timer and its period in milliseconds.
    static constexpr int AnimationTimer = 1037;
    static constexpr int AnimationInterval = 50;
    // The methods, as InsertTimeEntry takes them.
    static constexpr int OthersGiveWay = 0;
    static constexpr int FitIntoFreeTime = 1;

    enum : int {
        IdCancel = 2,
        IdEndLabel = 1049,
        IdStartLabel = 1048,
        IdProjectLabel = 1052,
        IdOthersGiveWay = 1086,
        IdFitIntoFreeTime = 1087,
        IdActivityLabel = 1178,
        IdProjectName = 1184,
        IdActivityName = 1185,
        IdStart = 1186,
        IdEnd = 1187,
        IdNext = 1194,
        IdPrevious = 1195,
        IdHeading = 1196,
        IdApplyToNext = 1197,
        IdPrompt = 1198,
        IdInformation = 1263,
        IdCounter = 1465,
    };

    // With `showApplyBox` the check box "apply this choice to the next
    // conflicts" is shown.
    explicit CDlgInsertion(bool showApplyBox, QWidget *parent = nullptr);
    ~CDlgInsertion() override;

    // The entry being stored, then the entries it overlaps in order of
    // start (what CBdD::FindOverlappingEntries gives).
    void SetEntries(const std::vector<tTacheFull> &entries);
    // The database the names are read from; empty (the default) for the
    // current user's, any other is only read.
    void SetDatabasePath(const QString &path);

    int exec() override;

    // The choice after Accepted: OthersGiveWay or FitIntoFreeTime.
    int Method() const { return m_method; }
    bool ApplyToNext() const { return m_applyToNext; }
    bool ShowsApplyBox() const { return m_showApplyBox; }
    int Current() const { return m_current; }
    int Count() const { return int(m_entries.size()); }

    // Shows entry `index` in the fields (empty fields outside the list).
    void ShowEntry(int index);
    // The arrows: the next entry, the first after the last; the previous
    // one, the last before the first.
    void ShowNext();
    void ShowPrevious();
    // One tick of the animation timer.
    void AdvanceAnimation();

    QWidget *Control(int id) const;
    CViewAnimInsert *ChoiceButton(int method) const;
    // What the first choice does to the existing entries: how many it
    // deletes and how many it shortens, said under its button.
    QString OthersGiveWayConsequence() const;

    // Asks the question; the method chosen, or -1 when cancelled.
    static int Ask(const std::vector<tTacheFull> &entries, QWidget *parent,
                   const QString &databasePath = QString());

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void BuildControls();
    void Choose(int method);

    bool m_showApplyBox = false;
    bool m_applyToNext = false;
    std::vector<tTacheFull> m_entries;
    int m_current = 0;
    int m_method = OthersGiveWay;
    QString m_databasePath;

    QFont m_boldFont;
    QFont m_largeFont;
    CMyStatic *m_heading = nullptr;
    CEditReadOnly *m_projectName = nullptr;
    CEditReadOnly *m_activityName = nullptr;
    CEditReadOnly *m_start = nullptr;
    CEditReadOnly *m_end = nullptr;
    CEditReadOnly *m_counter = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_previous = nullptr;
    CViewAnimInsert *m_othersGiveWay = nullptr;
    CViewAnimInsert *m_fitIntoFreeTime = nullptr;
    QLabel *m_consequence = nullptr;
    QCheckBox *m_applyBox = nullptr;
    QTimer *m_timer = nullptr;
};
