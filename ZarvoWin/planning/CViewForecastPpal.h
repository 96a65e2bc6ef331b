#pragma once
#include "CForecastPage.h"

#include <QtGlobal>

class CBitmapSlider;
class CComboBoxSuper;
class CMyDateTimeCtrl;
class CReadOnlyCB;
class CRestant;
class QCheckBox;
class QDate;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class QTimeEdit;
class QToolButton;

// The planning page of the project editor: the wished start and end, the
// alert, the dependence on predecessors, manual or automatic mode, the
// planned and extra work with their units, the progress, the display in
// working days; and the figures that follow from them and the recorded
// time. Every change goes at once into the working copy's forecast, which
// the editor saves or drops.
class CViewForecastPpal : public CForecastPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 465;
    enum : int {
        IdStartEarlier = 1086,
        IdEndEarlier = 1087,
        IdEndLater = 1088,
        IdStartLater = 1089,
        IdAlertEarlier = 1090,
        IdAlertLater = 1091,
        IdMode = 1077,
        IdStartTime = 1169,
        IdStartDate = 1170,
        IdEndTime = 1171,
        IdEndDate = 1172,
        IdAlertTime = 1173,
        IdAlertDate = 1174,
        IdPlanned = 1188,
        IdExpected = 1189,
        IdDoneWithExtra = 1190,
        IdRemaining = 1191,
        IdDone = 1192,
        IdWishedEnd = 1306,
        IdWishedStart = 1307,
        IdPlannedUnit = 1308,
        IdExtraUnit = 1309,
        IdAlert = 1310,
        IdProgressSlider = 1312,
        IdProgress = 1314,
        IdExpectedGauge = 1343,
        IdPlannedGauge = 1347,
        IdTaskCount = 1350,
        IdExtra = 1360,
        IdInDays = 1363,
        IdComputedPlanned = 1366,
        IdChildrenExpected = 1367,
        IdPredecessors = 1369,
        IdAsap = 1457,
        // The labels.
        IdModeLabel = 22210,
        IdPlannedLabel = 22211,
        IdChildrenLabel = 22212,
        IdExtraLabel = 22213,
        IdDoneLabel = 22214,
        IdDoneWithExtraLabel = 22215,
        IdExpectedLabel = 22216,
        IdRemainingLabel = 22217,
        IdProgressLabel = 22218,
        IdExpectedGaugeLabel = 22219,
        IdPlannedGaugeLabel = 22220,
    };
    static constexpr int MaxAmount = 99999;

    explicit CViewForecastPpal(QWidget *parent = nullptr);

    void SetProject(bool isNew, CProject *node) override;
    void StoreDates() override;
    void UpdateFigures() override;
    void UpdateControlStates() override;
    // True once the progress was set by hand: the editor then asks whether
    // the status follows the completion.
    bool PlansAgainstEstimate() const override { return m_progressSet; }

    // Sets the progress as the slider or its spin does.
    void SetProgress(int percent);
    int ShownProgress() const;

    QCheckBox *WishedStartCheck() const { return m_wishedStart; }
    QCheckBox *PredecessorsCheck() const { return m_predecessors; }
    QCheckBox *WishedEndCheck() const { return m_wishedEnd; }
    QCheckBox *AlertCheck() const { return m_alert; }
    QCheckBox *InDaysCheck() const { return m_inDays; }
    CMyDateTimeCtrl *StartDate() const { return m_startDate; }
    QTimeEdit *StartTime() const { return m_startTime; }
    CMyDateTimeCtrl *EndDate() const { return m_endDate; }
    QTimeEdit *EndTime() const { return m_endTime; }
    CMyDateTimeCtrl *AlertDate() const { return m_alertDate; }
    QTimeEdit *AlertTime() const { return m_alertTime; }
    CComboBoxSuper *ModeList() const { return m_mode; }
    QSpinBox *PlannedSpin() const { return m_planned; }
    CReadOnlyCB *PlannedUnit() const { return m_plannedUnit; }
    QSpinBox *ExtraSpin() const { return m_extra; }
    CReadOnlyCB *ExtraUnit() const { return m_extraUnit; }
    CBitmapSlider *ProgressSlider() const { return m_slider; }
    QSpinBox *ProgressSpin() const { return m_progress; }
    QLineEdit *Display(int id) const;
    QLabel *TaskCount() const { return m_taskCount; }
    QLabel *Asap() const { return m_asap; }
    QToolButton *DayButton(int id) const;

private:
    void Fill();
    void FillUnits(CReadOnlyCB *combo);
    static void ShowUnit(CReadOnlyCB *combo, int unit);
    static int UnitOf(const CReadOnlyCB *combo);
    void ShowInstant(CMyDateTimeCtrl *date, QTimeEdit *time, qint64 instant);
    static qint64 Instant(const CMyDateTimeCtrl *date, const QTimeEdit *time);
    void MoveDay(CMyDateTimeCtrl *date, int days);
    void OnStartChecks();
    void OnStartChanged(bool figures);
    void OnEndChanged();

    CProject *m_node = nullptr;
    bool m_filling = false;
    bool m_progressSet = false;

    QCheckBox *m_wishedStart = nullptr;
    QCheckBox *m_predecessors = nullptr;
    QCheckBox *m_wishedEnd = nullptr;
    QCheckBox *m_alert = nullptr;
    QCheckBox *m_inDays = nullptr;
    QStackedWidget *m_startStack = nullptr;
    QWidget *m_startPickers = nullptr;
    QWidget *m_endPickers = nullptr;
    QWidget *m_alertPickers = nullptr;
    CMyDateTimeCtrl *m_startDate = nullptr;
    QTimeEdit *m_startTime = nullptr;
    CMyDateTimeCtrl *m_endDate = nullptr;
    QTimeEdit *m_endTime = nullptr;
    CMyDateTimeCtrl *m_alertDate = nullptr;
    QTimeEdit *m_alertTime = nullptr;
    QLabel *m_asap = nullptr;
    CComboBoxSuper *m_mode = nullptr;
    QStackedWidget *m_plannedStack = nullptr;
    QSpinBox *m_planned = nullptr;
    CReadOnlyCB *m_plannedUnit = nullptr;
    QLabel *m_childrenLabel = nullptr;
    QLabel *m_extraLabel = nullptr;
    QWidget *m_extraRow = nullptr;
    QSpinBox *m_extra = nullptr;
    CReadOnlyCB *m_extraUnit = nullptr;
    CBitmapSlider *m_slider = nullptr;
    QSpinBox *m_progress = nullptr;
    QLabel *m_taskCount = nullptr;
    CRestant *m_expectedGauge = nullptr;
    CRestant *m_plannedGauge = nullptr;
};
