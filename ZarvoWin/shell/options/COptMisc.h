#pragma once
#include "CPrefsSubDlg.h"

class COptionsContext;
class QCheckBox;
class QPushButton;

// The misc page: large pictures in the project, task and report trees
// (applied at once; the options command puts the old size back when the
// dialog is cancelled), and a button that makes every question answered
// "do not ask again" ask again.
class COptMisc : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 493;
    enum Control { BigIconsCheck = 1370, RestoreQuestions = 1411 };

    explicit COptMisc(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

    // Forgets every remembered answer of the message boxes.
    static void ForgetRememberedAnswers();

protected:
    void OnInitDialog() override;

private:
    COptionsContext &m_context;
    QCheckBox *m_bigIcons = nullptr;
    QPushButton *m_restore = nullptr;
};
