#pragma once
#include "CPrefsSubDlg.h"

#include <functional>

class COptionsContext;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The report customisation page: a logo picture and a rich-text file shown
// at the top of reports, each with its place (left, centre, right). A logo
// file that the reports cannot draw (a format the picture library does not
// read, a damaged or missing file) is told and not taken, whether it is
// chosen in the file dialog or typed before OK.
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
    bool ValidatePage() override;
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
    // The file dialog of a row; `accept`, when set, may refuse the file
    // chosen (the row keeps its file).
    void Browse(const Row &row, int filterText, const std::function<bool(const QString &)> &accept);
    // True when the reports can draw `path`; else the user is told.
    bool AcceptLogo(const QString &path);

    COptionsContext &m_context;
    Row m_logo;
    Row m_text;
    bool m_initialised = false;
};
