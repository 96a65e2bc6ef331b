#include "MessageBoxContent.h"

#include "Texts.h"

#include <QStringList>

#include <iterator>
#include <vector>

namespace {

// Indexed by MessageBoxParams::Caption: the number of each button's text,
// and the caption shown when the box is asked to use no texts.
constexpr Platform::TextId captionTextIds[MessageBoxParams::CaptionCount] = {
    9005, 9002, 9009, 9010, 9011, 9006, 9003, 9017, 9008,
    9014, 9001, 9016, 9004, 9018, 9019, 9015, 9007, 9013};
constexpr const char16_t *builtInCaptions[MessageBoxParams::CaptionCount] = {
    u"&Abort",
    u"Cancel",
    u"&Continue",
    u"Don't ask me again",
    u"Don't tell me again",
    u"&Help",
    u"&Ignore",
    u"I&gnore All",
    u"&No",
    u"N&o to All",
    u"OK",
    u"Re&port",
    u"&Retry",
    u"&Skip",
    u"S&kip All",
    u"&Try Again",
    u"&Yes",
    u"Y&es to All",
};

int clampSeconds(int seconds)
{
    if (seconds >= 1000)
        return 10;
    return seconds > 0 ? seconds : 0;
}

QString textById(int id)
{
    return id > 0 ? Platform::Texts::get(id) : QString();
}

} // namespace

QString MessageBoxContent::ButtonCaption(MessageBoxParams::Caption which, quint32 type,
                                         const MessageBoxParams &params)
{
    if (params.useOwnCaptions && !params.buttonCaptions[which].isEmpty())
        return params.buttonCaptions[which];
    if (type & MessageBoxType::NoTexts)
        return QString::fromUtf16(builtInCaptions[which]);
    return Platform::Texts::get(captionTextIds[which]);
}

QString MessageBoxContent::DefaultCaption()
{
    return QStringLiteral("Error");
}

MessageBoxContent MessageBoxContent::Build(quint32 type, const MessageBoxParams &params)
{
    using P = MessageBoxParams;
    namespace A = MessageBoxAnswer;
    MessageBoxContent c;
    const auto add = [&](int id, P::Caption caption) {
        c.buttons.push_back({id, ButtonCaption(caption, type, params)});
    };

    QString custom = textById(params.customButtonsId);
    if (custom.isEmpty())
        custom = params.customButtons;
    if (!custom.isEmpty()) {
        // At most four custom buttons; a fifth caption is ignored.
        const QStringList captions = custom.split(u'\n');
        for (int i = 0; i < captions.size() && i < 4; ++i)
            c.buttons.push_back({A::Custom1 + i, captions[i]});
        if (params.customEscape >= 1 && params.customEscape <= int(c.buttons.size()))
            c.escapeAnswer = A::Custom1 + params.customEscape - 1;
    } else {
        // The buttons of each set, left to right; any other set is OK.
        struct SetButton
        {
            int id;
            P::Caption caption;
        };
        static const std::vector<SetButton> sets[] = {
            {{A::Ok, P::CaptionOk}},
            {{A::Ok, P::CaptionOk}, {A::Cancel, P::CaptionCancel}},
            {{A::Abort, P::CaptionAbort}, {A::Retry, P::CaptionRetry}, {A::Ignore, P::CaptionIgnore}},
            {{A::Yes, P::CaptionYes}, {A::No, P::CaptionNo}, {A::Cancel, P::CaptionCancel}},
            {{A::Yes, P::CaptionYes}, {A::No, P::CaptionNo}},
            {{A::Retry, P::CaptionRetry}, {A::Cancel, P::CaptionCancel}},
            {{A::Cancel, P::CaptionCancel}, {A::TryAgain, P::CaptionTryAgain}, {A::Continue, P::CaptionContinue}},
            {{A::Continue, P::CaptionContinue}, {A::Abort, P::CaptionAbort}},
            {{A::Skip, P::CaptionSkip}, {A::SkipAll, P::CaptionSkipAll}, {A::Cancel, P::CaptionCancel}},
            {{A::Ignore, P::CaptionIgnore}, {A::IgnoreAll, P::CaptionIgnoreAll}, {A::Cancel, P::CaptionCancel}},
        };
        const quint32 set = type & MessageBoxType::SetMask;
        const bool yesNoSet = set == MessageBoxType::YesNoCancel || set == MessageBoxType::YesNo;
        for (const SetButton &b : sets[set < std::size(sets) ? set : 0]) {
            add(b.id, b.caption);
            // The Yes/No sets may have "to all" buttons after Yes and No.
            if (yesNoSet && b.id == A::Yes && (type & MessageBoxType::YesToAll))
                add(A::YesToAll, P::CaptionYesToAll);
            if (yesNoSet && b.id == A::No && (type & MessageBoxType::NoToAll))
                add(A::NoToAll, P::CaptionNoToAll);
        }
        // Escape answers OK in the OK set, Cancel where there is one.
        if (set == MessageBoxType::Ok)
            c.escapeAnswer = A::Ok;
        if (c.IndexOf(A::Cancel) >= 0)
            c.escapeAnswer = A::Cancel;
    }

    if (type & MessageBoxType::HelpButton)
        add(A::Help, P::CaptionHelp);
    if (params.reportFunction) {
        QString caption = textById(params.reportCaptionId);
        if (caption.isEmpty())
            caption = params.reportCaption;
        if (caption.isEmpty())
            caption = ButtonCaption(P::CaptionReport, type, params);
        c.buttons.push_back({A::Report, caption});
    }

    const int wanted = int((type & MessageBoxType::DefaultMask) >> 8);
    c.defaultIndex = wanted >= 1 && wanted <= 5 && wanted < int(c.buttons.size()) ? wanted : 0;

    if (type & MessageBoxType::DontAskAgain) {
        c.checkBoxFlag = MessageBoxType::DontAskAgain;
        c.checkBoxCaption = ButtonCaption(P::CaptionDontAskAgain, type, params);
    } else if (type & MessageBoxType::DontTellAgain) {
        c.checkBoxFlag = MessageBoxType::DontTellAgain;
        c.checkBoxCaption = ButtonCaption(P::CaptionDontTellAgain, type, params);
    }
    c.checkBoxAbove = (type & MessageBoxType::CheckBoxAbove) != 0;
    if (type & MessageBoxType::CheckDisablesYes)
        c.checkDisables = A::Yes;
    else if (type & MessageBoxType::CheckDisablesNo)
        c.checkDisables = A::No;

    const quint32 icon = type & MessageBoxType::IconMask;
    const bool known = icon == MessageBoxType::IconHand || icon == MessageBoxType::IconQuestion
                       || icon == MessageBoxType::IconExclamation
                       || icon == MessageBoxType::IconAsterisk;
    c.icon = icon == 0 ? 0 : known ? icon : MessageBoxType::IconExclamation;
    c.timeout = clampSeconds(params.timeout);
    c.disabledTime = clampSeconds(params.disabledTime);
    return c;
}

int MessageBoxContent::IndexOf(int id) const
{
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].id == id)
            return int(i);
    }
    return -1;
}

QString MessageBoxContent::CopyText(const QString &caption, const QString &text) const
{
    const QString dashes = QString(27, u'-') + QStringLiteral("\r\n");
    QString out = dashes + caption + QStringLiteral("\r\n") + dashes + text + QStringLiteral("\r\n")
                  + dashes;
    for (const MessageBoxButton &b : buttons) {
        QString plain = b.caption;
        out += plain.remove(u'&') + QStringLiteral("   ");
    }
    return out + QStringLiteral("\r\n") + dashes;
}
