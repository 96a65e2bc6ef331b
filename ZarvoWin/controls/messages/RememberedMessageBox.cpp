#include "RememberedMessageBox.h"

#include "MessageBoxParams.h"
#include "RichMessageBox.h"

#include "Settings.h"
#include "Texts.h"

namespace {
constexpr char16_t base[] = u"MsgBox";
}

int RememberedMessageBox(const QString &text, const QString &caption, QWidget *owner,
                         int questionId, int kind, quint32 type)
{
    const QString name = QString::number(questionId);
    {
        Platform::Settings settings;
        const int stored = settings.getInt(base, {}, name, -1);
        // An earlier version stored a ticked Annuler as the answer, which then
        // called off every asking: such a cancel is forgotten and the
        // question asked again.
        if (stored == MessageBoxAnswer::Cancel)
            settings.remove(base, {}, name);
        else if (stored != -1)
            return stored;
    }

    MessageBoxParams params;
    InitMessageBoxParams(params);
    params.useOwnCaptions = true;
    params.buttonCaptions[MessageBoxParams::CaptionYes] = Platform::Texts::get(164);
    params.buttonCaptions[MessageBoxParams::CaptionNo] = Platform::Texts::get(165);
    params.buttonCaptions[MessageBoxParams::CaptionCancel] = Platform::Texts::get(247);
    quint32 flags = MessageBoxType::NoTexts;
    switch (kind) {
    case 0:
    case 1:
    case 2:
        params.buttonCaptions[MessageBoxParams::CaptionDontTellAgain] = Platform::Texts::get(584);
        flags |= MessageBoxType::DontTellAgain;
        if (kind == 1)
            flags |= MessageBoxType::CheckDisablesYes;
        else if (kind == 2)
            flags |= MessageBoxType::CheckDisablesNo;
        break;
    case 3:
        params.buttonCaptions[MessageBoxParams::CaptionNoToAll] = Platform::Texts::get(585);
        flags |= MessageBoxType::NoToAll;
        break;
    case 4:
        params.buttonCaptions[MessageBoxParams::CaptionYesToAll] = Platform::Texts::get(586);
        flags |= MessageBoxType::YesToAll;
        break;
    default:
        break;
    }

    const int result = RichMessageBox(type | flags, owner, text, caption, &params);
    // A box that could not be shown is no answer of the user's.
    if (result == MessageBoxAnswer::Failed)
        return MessageBoxAnswer::Cancel;
    int answer = result & 0xFF;
    bool remember = false;
    if (kind >= 0 && kind <= 2) {
        // A checked box remembers an answer that decides, never a cancel
        // (Annuler, Escape, the box's Close, or the countdown on Annuler):
        // remembered, a cancel would call off every later asking without a
        // word, and a window that asks before it closes could no longer be
        // closed. The question comes back instead.
        remember = (quint32(result) & MessageBoxType::DontTellAgain) != 0 && answer != MessageBoxAnswer::Cancel;
    } else if (kind == 3 && answer == MessageBoxAnswer::NoToAll) {
        answer = MessageBoxAnswer::No;
        remember = true;
    } else if (kind == 4 && answer == MessageBoxAnswer::YesToAll) {
        answer = MessageBoxAnswer::Yes;
        remember = true;
    }
    if (remember) {
        Platform::Settings settings;
        settings.setInt(base, {}, name, answer);
        settings.sync();
    }
    return answer;
}
