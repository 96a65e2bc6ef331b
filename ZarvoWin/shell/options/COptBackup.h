#pragma once
#include "COptFolderPage.h"

namespace Platform { class Settings; }
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The backups page: automatic backups on or off, how often, before a
// synchronisation, how long they are kept (never shorter than how often
// they are made) and where. A changed folder can take the users' backup
// folders along, moved as the folders page moves its files.
class COptBackup : public COptFolderPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 401;
    enum Control {
        BackupCheck = 1160,
        FrequencyCombo = 1162,
        SynchroCheck = 1161,
        KeepCombo = 1078,
        FolderEdit = 1163,
        FolderBrowse = 1164,
    };

    explicit COptBackup(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    bool ValidatePage() override;
    void OnOK() override;

    // The retention choices offered after a frequency entry: the Keep
    // value of the first entry (3, 5 or 7; the others follow it).
    static int FirstKeepOffered(int frequencyEntry);
    // The Keep value selected for a stored or chosen one: raised to the
    // first offered.
    static int KeepShown(int keep, int frequencyEntry);

protected:
    void OnInitDialog() override;

private:
    // The values of the section "Backup", written in their order.
    struct BackupValues
    {
        bool backup = true;
        int periode = 3;
        bool synchro = true;
        int keep = 5;
        QString folder;
        void Write(Platform::Settings &settings) const;
    };

    void EnableControls();
    void RebuildRetention(int keep);
    int CurrentKeep() const;

    QCheckBox *m_backup = nullptr;
    QComboBox *m_frequency = nullptr;
    QCheckBox *m_synchro = nullptr;
    QComboBox *m_keep = nullptr;
    QLineEdit *m_folder = nullptr;
    QPushButton *m_browse = nullptr;
    bool m_initialised = false;
};
