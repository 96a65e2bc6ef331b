#include "CNewToolTipCtrl.h"

#include <QAction>
#include <QWidget>

CNewToolTipCtrl::Parts CNewToolTipCtrl::Split(const QString &commandText)
{
    QString text = commandText;
    text.replace(u'\t', QStringLiteral("    "));
    Parts parts;
    const qsizetype newline = text.indexOf(u'\n');
    if (newline < 0) {
        parts.label = text;
        return parts;
    }
    parts.description = text.left(newline);
    parts.label = text.mid(newline + 1);
    return parts;
}

void CNewToolTipCtrl::Apply(QAction *action, const QString &commandText)
{
    if (!action)
        return;
    const Parts parts = Split(commandText);
    action->setStatusTip(parts.description);
    action->setToolTip(parts.label); // empty: Qt shows the action's text
}

void CNewToolTipCtrl::Apply(QWidget *widget, const QString &commandText)
{
    if (!widget)
        return;
    const Parts parts = Split(commandText);
    widget->setStatusTip(parts.description);
    widget->setToolTip(parts.label);
}
