#include "TrayUserChange.h"

#include "CZarvoTrayApp.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"

bool TrayUserChange::StillCurrent(CZarvoTrayApp &app, const QString &openedOn, QWidget *parent, Undone undone)
{
    if (openedOn == app.User().databasePath)
        return true;
    // Not a failed write: the file is sound, the command belongs to the
    // user chosen before.
    RichMessageBox(MessageBoxType::IconExclamation, parent,
                   app.Text(undone == Undone::Stop ? TextNotStopped : TextNotStarted), app.Text(TextError));
    return false;
}
