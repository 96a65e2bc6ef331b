#pragma once
#include <QString>

#include <functional>

class QWidget;

// Lets the user pick a folder with the desktop's folder picker. DoModal
// answers 1 (a folder was chosen) or 2 (cancelled); GetFolderPath is the
// chosen folder, or the initial one when nothing was chosen.
class CFolderDialog
{
public:
    // Shows the picker: the folder chosen, or an empty text when the user
    // cancelled. Tests replace it; the default is the desktop's dialog.
    using Picker = std::function<QString(QWidget *owner, const QString &title, const QString &initialFolder)>;

    CFolderDialog(const QString &initialFolder = QString(), const QString &title = QString(),
                  QWidget *parent = nullptr);

    int DoModal();
    QString GetFolderPath() const { return m_chosen; }

    // An empty picker restores the desktop's dialog.
    static void SetPicker(Picker picker);

private:
    QString m_initial;
    QString m_title;
    QWidget *m_owner;
    QString m_chosen;
};
