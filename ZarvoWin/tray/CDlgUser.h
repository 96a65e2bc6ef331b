#pragma once
#include <QDialog>

class CZarvoTrayApp;
class QCheckBox;
class QComboBox;

// "Utilisateurs": whose database the tray follows, a user picked from the
// list or always the user selected in the main program. OK stores the
// choice in the settings; the tray then chooses its user again from them.
class CDlgUser : public QDialog
{
    Q_OBJECT
public:
    enum : int { DialogId = 137, UserLabel = 1003, UserList = 1019, FollowMain = 1018, OkButton = 1, CancelButton = 2 };

    CDlgUser(CZarvoTrayApp &app, QWidget *parent = nullptr);

    QComboBox *Users() const { return m_users; }
    QCheckBox *FollowMainUser() const { return m_follow; }

    void accept() override;

private:
    void OnClickFollowMainUser();

    CZarvoTrayApp &m_app;
    QComboBox *m_users = nullptr;
    QCheckBox *m_follow = nullptr;
};
