#pragma once
#include <QList>

class QAction;
class QMenu;
class QObject;
class QWidget;

// The numbers by which windows find their texts, carried by the widgets as
// properties: a dialog control's id ("controlId"), a menu command's id
// ("commandId", on its action), a pop-up's key ("popupKey", on its menu) and
// the dialog id of a window or page that is translated on its own
// ("dialogId"). The key of a pop-up is kept beside its text, never read from
// what it shows, so translating again keeps every key.
class WidgetIds
{
public:
    static void SetControlId(QWidget *widget, int id);
    static int ControlId(const QObject *widget); // -1 when none
    static void SetCommandId(QAction *action, int id);
    static int CommandId(const QAction *action); // 0 when none
    static void SetPopupKey(QMenu *menu, int key);
    static bool PopupKey(const QMenu *menu, int &key);
    static void SetDialogId(QWidget *widget, int id);
    static int DialogId(const QObject *widget); // 0 when none
};
