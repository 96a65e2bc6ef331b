#pragma once
#include "CPrefsSubDlg.h"

class COptionsContext;
class QComboBox;
class QLineEdit;

// The network page: the shared folder from which updated databases are
// taken, and how often it is looked at.
class COptLan : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 386;
    enum Control {
        FolderLabel = 1246,
        FolderEdit = 1137,
        FolderBrowse = 1138,
        TimeLabel = 1245,
        TimeCombo = 1077,
    };

    explicit COptLan(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

    // The period of each entry in seconds (-1 never, 0 at each change of
    // user); an unknown stored period shows entry 0.
    static int TimeOfEntry(int entry);
    static int EntryOfTime(int time);

protected:
    void OnInitDialog() override;

private:
    COptionsContext &m_context;
    QLineEdit *m_folder = nullptr;
    QComboBox *m_time = nullptr;
    bool m_initialised = false;
};
