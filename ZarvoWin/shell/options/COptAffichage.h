#pragma once
#include "CPrefsSubDlg.h"
#include "WorkingWeekEditor.h"

#include <array>

class CFormattedSpin;
class COptionsContext;
class CRangeSlider;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

// The display page: the first day of the week, how weeks are numbered,
// the days worked, and the working periods of the standard day and of each
// weekday, laid out on a range slider. Everything is edited on copies
// (WorkingWeekEditor) and stored only by OK.
class COptAffichage : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 370;
    enum Control {
        FirstDayCombo = 1125,
        WeekNumberingCombo = 1126,
        SundayCheck = 1134, // Monday to Saturday are 1128..1133
        MondayCheck = 1128,
        DayCombo = 1077,
        Slider = 1332,
        StartSpin = 1335,
        EndSpin = 1339,
        DeletePeriod = 1179,
        DefaultButton = 1420,
        FollowCheck = 1412,
        DayTotal = 1336,
        WeekTotal = 1337,
        NotWorkedIcon = 1424,
    };

    explicit COptAffichage(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

    const WorkingWeekEditor &Editor() const { return m_editor; }

protected:
    void OnInitDialog() override;

private:
    void SwitchDay(bool reload);
    void ShowSelection();
    void ShowTotals();
    void LoadSlider(const WorkingWeekEditor::Periods &periods);
    WorkingWeekEditor::Periods SliderPeriods() const;
    std::array<bool, 7> WorkDays() const;
    void EditSelected(int kind, int value);
    QString MinuteText(int minutes) const;

    COptionsContext &m_context;
    WorkingWeekEditor m_editor;
    QComboBox *m_firstDay = nullptr;
    QComboBox *m_weekNumbering = nullptr;
    std::array<QCheckBox *, 7> m_workDays{}; // Sunday first
    QComboBox *m_day = nullptr;
    QCheckBox *m_follow = nullptr;
    QPushButton *m_default = nullptr;
    CRangeSlider *m_slider = nullptr;
    CFormattedSpin *m_start = nullptr;
    CFormattedSpin *m_end = nullptr;
    QToolButton *m_delete = nullptr;
    QLabel *m_dayTotal = nullptr;
    QLabel *m_weekTotal = nullptr;
    QLabel *m_notWorked = nullptr;
    bool m_initialised = false;
};
