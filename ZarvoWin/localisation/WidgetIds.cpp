#include "WidgetIds.h"

#include <QAction>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace {
const char ControlIdName[] = "controlId";
const char CommandIdName[] = "commandId";
const char PopupKeyName[] = "popupKey";
const char DialogIdName[] = "dialogId";

int intProperty(const QObject *object, const char *name, int none)
{
    const QVariant v = object ? object->property(name) : QVariant();
    bool ok = false;
    const int value = v.toInt(&ok);
    return v.isValid() && ok ? value : none;
}
} // namespace

void WidgetIds::SetControlId(QWidget *widget, int id)
{
    widget->setProperty(ControlIdName, id);
}

int WidgetIds::ControlId(const QObject *widget)
{
    return intProperty(widget, ControlIdName, -1);
}

void WidgetIds::SetCommandId(QAction *action, int id)
{
    action->setProperty(CommandIdName, id);
}

int WidgetIds::CommandId(const QAction *action)
{
    return intProperty(action, CommandIdName, 0);
}

void WidgetIds::SetPopupKey(QMenu *menu, int key)
{
    menu->setProperty(PopupKeyName, key);
}

bool WidgetIds::PopupKey(const QMenu *menu, int &key)
{
    const QVariant v = menu ? menu->property(PopupKeyName) : QVariant();
    if (!v.isValid())
        return false;
    key = v.toInt();
    return true;
}

void WidgetIds::SetDialogId(QWidget *widget, int id)
{
    widget->setProperty(DialogIdName, id);
}

int WidgetIds::DialogId(const QObject *widget)
{
    return intProperty(widget, DialogIdName, 0);
}
