#include "CClassViewMenuButton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

CClassViewMenuButton::CClassViewMenuButton(int id, QWidget *parent)
    : QToolButton(parent)
    , m_menu(new QMenu(this))
    , m_group(new QActionGroup(this))
{
    setObjectName(QString::number(id));
    setPopupMode(QToolButton::InstantPopup);
    setAutoRaise(true);
    setMenu(m_menu);
    m_group->setExclusive(true);
    connect(m_group, &QActionGroup::triggered, this, [this](QAction *choice) { setIcon(choice->icon()); });
}

void CClassViewMenuButton::AddChoice(QAction *choice)
{
    choice->setCheckable(true);
    m_group->addAction(choice);
    m_menu->addAction(choice);
}

QList<QAction *> CClassViewMenuButton::Choices() const
{
    return m_group->actions();
}

QAction *CClassViewMenuButton::Current() const
{
    return m_group->checkedAction();
}

void CClassViewMenuButton::SetCurrent(QAction *choice)
{
    if (!choice)
        return;
    choice->setChecked(true);
    setIcon(choice->icon());
}
