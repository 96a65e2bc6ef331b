#pragma once
#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QString>

class CZarvoWinApp;
class QLabel;
class QPushButton;
class QTreeWidget;

// The "Sauvegardes" dialog: the current user's backups, oldest first, with
// their date, kind and size; a manual backup now, deleting a backup,
// restoring one into the current database, and the backup options when
// the backup folder is unset or out of reach.
class CDlgBackup : public QDialog
{
    Q_OBJECT
public:
    enum {
        DialogId = 431,
        List = 1203,
        CloseButton = 1,
        DeleteButton = 1086,
        RestoreButton = 1204,
        BackupButton = 1087,
        ConfigureButton = 1205,
        WarningIcon = 1151,
        Message = 1063,
    };
    // The options page of the backups.
    static constexpr int BackupOptionsPage = 5;

    struct tBackupFile
    {
        QDateTime date; // invalid when the name holds no date
        bool automatic = false;
        qint64 size = 0;
        QString fileName; // without folder
    };

    CDlgBackup(CZarvoWinApp &app, QWidget *parent = nullptr);
    ~CDlgBackup() override;

    // The backups of a database named `databaseFileName` ("Zarvo.sdb") in
    // `folder`: every "<base>_*<extension>" file, its stamp read from the
    // fourteen characters before the extension and its kind from the one
    // before them. Ascending dates; of two equal dates the one found later
    // comes first. A name too short for a stamp lists with no date.
    static QList<tBackupFile> ReadBackups(const QString &folder, const QString &databaseFileName);
    // The stamp and kind of one backup name (see ReadBackups).
    static tBackupFile ReadName(const QString &fileName, const QString &extension);

    const QList<tBackupFile> &Backups() const { return m_backups; }
    QTreeWidget *ListControl() const { return m_list; }
    int Selected() const { return m_selected; }

    // The folder of the current user's backups, ending with "/" (empty when
    // no backup folder is set).
    QString UserBackupFolder() const;

private:
    void ShowFolderState();
    void Fill();
    void FitColumns();
    void OnSelectionChanged();
    void SelectRow(int row);
    void OnDelete();
    void OnRestore();
    void OnBackupNow();
    void OnConfigure();
    QString DatabaseFileName() const;
    int Warn(const QString &text, quint32 type);

    CZarvoWinApp &m_app;
    QList<tBackupFile> m_backups;
    int m_selected = -1;
    QString m_automaticText;
    QString m_manualText;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_close = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_restore = nullptr;
    QPushButton *m_backup = nullptr;
    QPushButton *m_configure = nullptr;
    QLabel *m_icon = nullptr;
    QLabel *m_message = nullptr;
};
