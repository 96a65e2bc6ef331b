#include "WriteFailureBox.h"

#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"

void ShowEntryWriteFailure(QWidget *owner)
{
    RichMessageBox(MessageBoxType::IconExclamation, owner, Platform::Texts::get(226), Platform::Texts::get(173));
}
