#pragma once
#include "CPrefsSubDlg.h"

class COptionsContext;
class QComboBox;
class QGroupBox;
class QLabel;

// The general page: the interface language, switched as soon as it is
// chosen (it stays switched if the dialog is then cancelled), the help
// language, taken on OK, and the credits of the language file's
// translator.
class COptGeneral : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 191;
    enum Control {
        LanguageLabel = 1221,
        LanguageCombo = 1109,
        HelpLabel = 1222,
        HelpCombo = 1110,
        CreditsGroup = 1438,
        CreditsLabels = 1439,
        CreditsValues = 1437,
    };

    explicit COptGeneral(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void OnLanguageChosen(int entry);

    COptionsContext &m_context;
    QComboBox *m_language = nullptr;
    QComboBox *m_help = nullptr;
    QGroupBox *m_credits = nullptr;
    QLabel *m_creditLabels = nullptr;
    QLabel *m_creditValues = nullptr;
};
