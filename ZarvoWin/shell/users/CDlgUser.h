#pragma once
#include "tUsers.h"

#include <QDialog>
#include <memory>

class CUsers;
class QLineEdit;
class QPushButton;
class UserColourControls;
class UserNameRows;

// "Modifier un utilisateur": edits a user's name and colour (renaming the
// user's folder with it), or makes a copy of a user with its files.
class CDlgUser : public QDialog
{
    Q_OBJECT
public:
    enum { DialogId = 330, UsersDialogId = 438, CopyButtonText = 1089, OkButton = 1, CancelButton = 2 };

    // `id` -1 edits a new, empty record; `copy` makes a copy of user `id`.
    // `automaticColour` is the colour button's automatic entry.
    CDlgUser(CUsers &users, int id, bool copy, quint32 automaticColour, QWidget *parent = nullptr);
    ~CDlgUser() override;

    // After OK in copy mode: the new user's id (-1 otherwise).
    int CreatedUserId() const { return m_created; }

    QLineEdit *NameControl() const { return m_name; }
    QLineEdit *FolderControl() const { return m_folder; }
    UserColourControls &Colours() const { return *m_colours; }

    void accept() override;

private:
    int Warn(const QString &text);
    // The folder of the new name is in the way: asks whether it may go
    // (to the trash, whole); false when it stays.
    bool ClearFolderInTheWay(const QString &folder);
    bool FinishCopy(tUsers user);
    bool FinishModify(tUsers user);

    CUsers &m_users;
    tUsers m_user;
    QString m_openingName;
    bool m_copy = false;
    int m_created = -1;
    std::unique_ptr<UserNameRows> m_nameRows;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_folder = nullptr;
    QPushButton *m_ok = nullptr;
    std::unique_ptr<UserColourControls> m_colours;
};
