#pragma once
#include "CPrefsSubDlg.h"

class CBitmapSlider;
class CFormattedSpin;
class COptionsContext;
class QCheckBox;
class QComboBox;

// The project tracking page: activities as nodes of the plan (and the
// entries without activity as one more node), the share of working time
// not booked (a slider with a spin button beside it; the value comes from
// them only, never from typing), how states are shown, and two ways of
// counting.
class COptForecast : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 497;
    enum Control {
        ActivitiesCheck = 1386,
        UndefinedActivityCheck = 1387,
        ShareLabel = 1390,
        ShareSlider = 1391,
        ShareSpin = 1393,
        ShowLabel = 1395,
        ShowCombo = 1077,
        WorkingDaysCheck = 1363,
        RealTimeCheck = 1364,
    };

    explicit COptForecast(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void FollowActivities();
    void TakeSliderPosition(int position);
    void TakeSpinValue(int value);

    COptionsContext &m_context;
    QCheckBox *m_activities = nullptr;
    QCheckBox *m_undefined = nullptr;
    CBitmapSlider *m_slider = nullptr;
    CFormattedSpin *m_spin = nullptr;
    QComboBox *m_show = nullptr;
    QCheckBox *m_workingDays = nullptr;
    QCheckBox *m_realTime = nullptr;
    bool m_initialised = false;
};
