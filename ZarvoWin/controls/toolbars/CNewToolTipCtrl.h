#pragma once
#include <QString>

class QAction;
class QWidget;

// The texts of the commands of the toolbars and menus: a command's text
// holds its description, a line break, then its short label
// ("Démarrer une tâche\nDémarrer"). The description is the status-bar
// prompt of the command, the label its tooltip; a text without a line
// break is a label alone. Tabs become four blanks.
class CNewToolTipCtrl
{
public:
    struct Parts
    {
        QString description;
        QString label;
    };

    static Parts Split(const QString &commandText);

    // The action's status tip and tooltip from the command's text; an
    // action whose text gives no label keeps its own tooltip.
    static void Apply(QAction *action, const QString &commandText);
    // The same for a widget placed on a toolbar (a date field, a combo).
    static void Apply(QWidget *widget, const QString &commandText);
};
