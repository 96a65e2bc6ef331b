#include "CPaneUser.h"

#include "CViewUsers.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

CPaneUser::CPaneUser(CZarvoWinApp &app, QAction *manageUsers, QWidget *parent)
    : CMyDockablePane(135, 156, parent)
{
    m_body = new QWidget(this);
    m_body->setObjectName(QStringLiteral("body"));
    m_view = new CViewUsers(app, manageUsers, m_body);
    // The view fills the pane but for the frame's pixel on each side.
    auto *layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_view);
    m_body->installEventFilter(this);
    m_body->setFocusProxy(m_view);
    setFocusProxy(m_view);
    setWidget(m_body);
}

bool CPaneUser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_body && event->type() == QEvent::Paint) {
        QPainter painter(m_body);
        painter.setPen(m_body->palette().color(QPalette::Dark));
        painter.drawRect(m_view->geometry().adjusted(-1, -1, 0, 0));
        return true;
    }
    return CMyDockablePane::eventFilter(watched, event);
}
