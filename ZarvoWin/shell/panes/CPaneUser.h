#pragma once
#include "CMyDockablePane.h"

class CViewUsers;
class CZarvoWinApp;
class QAction;

// The users pane: the users view inside a one-pixel frame.
class CPaneUser : public CMyDockablePane
{
    Q_OBJECT
public:
    CPaneUser(CZarvoWinApp &app, QAction *manageUsers, QWidget *parent = nullptr);

    CViewUsers *View() const { return m_view; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_body = nullptr;
    CViewUsers *m_view = nullptr;
};
