#include "ChangedMeanwhile.h"

#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"

namespace ChangedMeanwhile {

namespace {
constexpr int ConfirmationCaption = 166;
}

Choice Ask(QWidget *owner, const QString &text, int buttonsId)
{
    MessageBoxParams params;
    InitMessageBoxParams(params);
    params.customButtonsId = buttonsId;
    // Its third button goes back to the dialog, as Escape does.
    params.customEscape = 3;
    const int answer = RichMessageBox(MessageBoxType::IconExclamation, owner, text,
                                      Platform::Texts::get(ConfirmationCaption), &params);
    switch (answer) {
    case MessageBoxAnswer::Custom1: return Choice::KeepStored;
    case MessageBoxAnswer::Custom1 + 1: return Choice::KeepMine;
    default: return Choice::Back;
    }
}

Choice AskDeleted(QWidget *owner, const QString &text)
{
    const int answer = RichMessageBox(MessageBoxType::YesNoCancel | MessageBoxType::IconExclamation, owner, text,
                                      Platform::Texts::get(ConfirmationCaption));
    switch (answer) {
    case MessageBoxAnswer::Yes: return Choice::KeepMine;
    case MessageBoxAnswer::No: return Choice::KeepStored;
    default: return Choice::Back;
    }
}

} // namespace ChangedMeanwhile
