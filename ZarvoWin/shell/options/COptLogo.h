#pragma once
#include "CPrefsSubDlg.h"

class COptionsContext;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The report customisation page: a logo picture and a rich-text file shown
// at the top of reports, each with its place (left, centre, right).
class COptLogo : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 400;
    enum Control {
        LogoCheck = 1157,
        LogoEdit = 1165,
        LogoBrowse = 1167,
        LogoPosition = 1077,
        TextCheck = 1158,
        TextEdit = 1166,
        TextBrowse = 1168,
        TextPosition = 1078,
    };

    explicit COptLogo(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    struct Row
    {
        QCheckBox *check = nullptr;
        QLineEdit *file = nullptr;
        QPushButton *browse = nullptr;
        QComboBox *position = nullptr;
    };
    void EnableRow(const Row &row);
    void Browse(const Row &row, int filterText);

    COptionsContext &m_context;
    Row m_logo;
    Row m_text;
    bool m_initialised = false;
};
