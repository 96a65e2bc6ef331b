#pragma once
#include "CPrefsSubDlg.h"

#include <QStringList>

class COptionsContext;
class QComboBox;
class QLabel;

// The formats page: how durations and dates are shown, each with an
// example. OK writes the three values and tells the other program only
// when one of them changed.
class COptFormat : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 449;
    enum Control { DurationCombo = 1077, DurationExample = 1271, DateCombo = 1078, DateExample = 1274 };

    explicit COptFormat(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void ShowDurationExample();
    void ShowDateExample();

    COptionsContext &m_context;
    QComboBox *m_duration = nullptr;
    QComboBox *m_date = nullptr;
    QLabel *m_durationExample = nullptr;
    QLabel *m_dateExample = nullptr;
    // The duration patterns (after '|'), in entry order.
    QStringList m_patterns;
    bool m_initialised = false;
};
