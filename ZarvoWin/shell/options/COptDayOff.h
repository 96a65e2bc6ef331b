#pragma once
#include "CDayOff.h"
#include "CPrefsSubDlg.h"
#include "DayOffMarks.h"

#include <QDate>

class CMyDateTimeCtrl;
class COptionsContext;
class CSmallCalendar;
class QComboBox;
class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

// The days-off page: a month calendar on which days off are marked by
// clicks (a range with Shift), the list of the days and ranges off, and
// two dates between which a range is added. Everything is edited on a copy
// stored by OK.
class COptDayOff : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 507;
    enum Control {
        Calendar = 1417,
        MonthCombo = 1077,
        PreviousMonth = 1088,
        NextMonth = 1089,
        YearSpin = 1418,
        DaysList = 1081,
        SelectAll = 1216,
        SelectNone = 1217,
        DeleteDays = 1179,
        AddRange = 1086,
        StartDate = 1421,
        EndDate = 1422,
    };
    static constexpr int FirstYear = 1900;
    static constexpr int LastYear = 2100;

    explicit COptDayOff(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

    QDate ShownMonth() const { return m_month; }
    const CDayOff &Days() const { return m_days; }
    // The month after (+1) or before (-1) `month`; the same month at the
    // ends of the years offered.
    static QDate StepMonth(const QDate &month, int step);

protected:
    void OnInitDialog() override;

private:
    void ShowMonth(const QDate &month);
    void FillList();
    void DeleteSelected();
    void FollowSelection();
    void AddDates();

    COptionsContext &m_context;
    QDate m_month;
    CDayOff m_days;
    DayOffMarks m_marks{m_days};
    CSmallCalendar *m_calendar = nullptr;
    QComboBox *m_monthCombo = nullptr;
    QSpinBox *m_year = nullptr;
    QListWidget *m_list = nullptr;
    QToolButton *m_delete = nullptr;
    CMyDateTimeCtrl *m_start = nullptr;
    CMyDateTimeCtrl *m_end = nullptr;
    bool m_initialised = false;
};
