#pragma once
#include <QDialog>
#include <functional>

class CReadOnlyCB;
class CUsers;

// "Associer un utilisateur": picks the local user a device goes with, or
// makes one with the new-user wizard.
class CDlgAssocier : public QDialog
{
    Q_OBJECT
public:
    enum { DialogId = 396, Combo = 1077, ComboLabel = 20000, AssociateButton = 1, CancelButton = 2, AddButton = 1086 };

    // Runs the new-user wizard; the new user's id, or -1.
    using NewUserRunner = std::function<int(QWidget *owner)>;

    // `userId` is preselected; `usersChanged` refreshes the main window's
    // lists of users after one was added.
    CDlgAssocier(CUsers &users, int userId, NewUserRunner newUser, std::function<void()> usersChanged,
                 QWidget *parent = nullptr);

    // After OK: the chosen user's id, -1 when none was selected.
    int ChosenUserId() const { return m_chosen; }
    CReadOnlyCB *ComboControl() const { return m_combo; }

    void accept() override;

private:
    void Fill(int userId);
    void OnAdd();

    CUsers &m_users;
    NewUserRunner m_newUser;
    std::function<void()> m_usersChanged;
    int m_chosen = -1;
    CReadOnlyCB *m_combo = nullptr;
};
