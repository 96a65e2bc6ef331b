#pragma once
#include <QToolButton>

class QAction;
class QActionGroup;
class QMenu;

// A toolbar button that opens a menu of exclusive choices and shows the
// picture of the current one (the task pane's sort button). The choices
// are actions of the owner, checkable and grouped so that one is checked.
class CClassViewMenuButton : public QToolButton
{
    Q_OBJECT
public:
    // `id` is the button's command number (its object name).
    CClassViewMenuButton(int id, QWidget *parent = nullptr);

    // Adds a choice (made checkable and exclusive with the others).
    void AddChoice(QAction *choice);
    QMenu *Menu() const { return m_menu; }
    QList<QAction *> Choices() const;
    // The checked choice (its picture on the button); null for none.
    QAction *Current() const;
    // Checks `choice` and shows its picture, without running it.
    void SetCurrent(QAction *choice);

private:
    QMenu *m_menu;
    QActionGroup *m_group;
};
