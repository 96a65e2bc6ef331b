#pragma once
#include "CReportWizardPage.h"

class CMyDateTimeCtrl;
class CReadOnlyCB;
class QCheckBox;

// The period page of the report settings: the period (one of the named
// ones, or dates the user picks), and which entries by their invoiced
// state, with whether the report says so. Custom dates that are not
// usable are repaired on opening and the user is told; custom dates in
// reverse are exchanged on opening and on OK, and the user is told.
class CReportDates : public CReportWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 333;
    static constexpr int CustomPeriod = 9;
    // "The start was after the end: the two dates were exchanged."
    static constexpr int SwappedDatesText = 25200;
    enum Control {
        PeriodCombo = 1044, StartDate = 1046, EndDate = 1047, StartLabel = 1048, EndLabel = 1049,
        StatusCombo = 1077, ShowStatusCheck = 1212
    };

    CReportDates();

    void OnOK() override;
    void TranslatePage() override;
    // The period combo's choice, as its selection does.
    void SelectPeriod(int code);

    CReadOnlyCB *PeriodBox() const { return m_period; }
    CReadOnlyCB *StatusBox() const { return m_status; }
    CMyDateTimeCtrl *StartPicker() const { return m_start; }
    CMyDateTimeCtrl *EndPicker() const { return m_end; }
    QCheckBox *ShowStatusBox() const { return m_showStatus; }

protected:
    void OnInitDialog() override;

private:
    void ApplyPeriod();
    void FillCombos();
    void ShowDates();
    void Warn(int textId);

    CReadOnlyCB *m_period = nullptr;
    CReadOnlyCB *m_status = nullptr;
    CMyDateTimeCtrl *m_start = nullptr;
    CMyDateTimeCtrl *m_end = nullptr;
    QCheckBox *m_showStatus = nullptr;
    bool m_showing = false;
};
