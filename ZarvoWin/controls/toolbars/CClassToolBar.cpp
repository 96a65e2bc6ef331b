#include "CClassToolBar.h"

CClassToolBar::CClassToolBar(int id, QWidget *owner)
    : QToolBar(owner)
{
    setObjectName(QString::number(id));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Locked: no menu to hide it or to change its buttons.
    setContextMenuPolicy(Qt::PreventContextMenu);
    toggleViewAction()->setVisible(false);
}

void CClassToolBar::UpdateCommandStates()
{
    if (m_updater)
        m_updater();
}

void CClassToolBar::showEvent(QShowEvent *event)
{
    UpdateCommandStates();
    QToolBar::showEvent(event);
}
