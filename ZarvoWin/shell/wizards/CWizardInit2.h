#pragma once
#include "CWizardPage.h"

class QLineEdit;
class QPushButton;

// Second page of the first-run wizard: the folder that holds the program's
// data. It proposes "Zarvo/" in the user's Documents folder. A folder that
// already holds an installation ("Users/Users.sdb") allows Finish at once.
// Leaving the page stores the users, templates and backup folders below
// the chosen one and makes them.
class CWizardInit2 : public CWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 427;
    static constexpr int PictureId = 430;
    enum Control { IntroText = 1146, FolderLabel = 1246, FolderEdit = 1136, BrowseButton = 1086 };

    explicit CWizardInit2(QWidget *parent = nullptr);

    void TranslatePage() override;
    // Refuses an empty or relative folder (172) and a folder that cannot
    // be made (399 names it); stores the three folders below the chosen
    // one.
    bool ValidatePage() override;

    // The folder proposed: Documents (else the local data folder) with
    // "Zarvo/", empty when neither is known.
    static QString ProposedFolder();
    // Whether `root` holds the users database of an installation.
    static bool HoldsInstallation(const QString &root);

    QLineEdit *Folder() const { return m_folder; }

protected:
    void OnInitDialog() override;

private:
    void Browse();
    void TellFrame();

    QLineEdit *m_folder = nullptr;
    QPushButton *m_browse = nullptr;
};
