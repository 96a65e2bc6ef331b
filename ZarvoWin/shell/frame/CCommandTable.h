#pragma once
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;

// One QAction per command of the main window, keyed by the command's
// number. A command runs its handler; a command whose window or operation
// is not there yet has none and stays greyed. Texts come from the interface
// language: the menu text, the status-bar prompt (the command's text up to
// its first line break) and the tooltip (what follows it, else the menu
// text without its "&").
class CCommandTable : public QObject
{
    Q_OBJECT
public:
    explicit CCommandTable(QObject *parent = nullptr);

    // Null for a number that is no command of the table.
    QAction *Action(int id) const { return m_actions.value(id, nullptr); }
    QList<int> Ids() const { return m_order; }

    // Gives the command its handler (and enables it); an empty handler
    // greys it again.
    void SetHandler(int id, std::function<void()> handler);
    bool HasHandler(int id) const;
    // Greys or enables a command that has a handler (by the state of the
    // program); a command without handler stays greyed.
    void SetEnabled(int id, bool enabled);

    // The French menu text of a command, and the text in the interface
    // language.
    static QString FrenchMenuText(int id);
    static QString MenuText(int id);
    static QString Prompt(int id);
    static QString ToolTip(int id);
    // Puts the texts of the interface language on every action.
    void ApplyLanguage();

private:
    QHash<int, QAction *> m_actions;
    QHash<int, std::function<void()>> m_handlers;
    QList<int> m_order;
};
