#pragma once
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

// Type flags of a message box: the button set in the low four bits, the
// icon in the next four, the default button above them, then our own
// flags in the high bits.
namespace MessageBoxType {
// Button sets.
constexpr quint32 Ok = 0x0;
constexpr quint32 OkCancel = 0x1;
constexpr quint32 AbortRetryIgnore = 0x2;
constexpr quint32 YesNoCancel = 0x3;
constexpr quint32 YesNo = 0x4;
constexpr quint32 RetryCancel = 0x5;
constexpr quint32 CancelTryContinue = 0x6;
constexpr quint32 ContinueAbort = 0x7;
constexpr quint32 SkipSkipAllCancel = 0x8;
constexpr quint32 IgnoreIgnoreAllCancel = 0x9;
constexpr quint32 SetMask = 0xF;
// Icons.
constexpr quint32 IconHand = 0x10;
constexpr quint32 IconQuestion = 0x20;
constexpr quint32 IconExclamation = 0x30;
constexpr quint32 IconAsterisk = 0x40;
constexpr quint32 IconMask = 0xF0;
// Default button: 0x100 the second, ... 0x500 the sixth, else the first.
constexpr quint32 DefaultButton2 = 0x100;
constexpr quint32 DefaultButton3 = 0x200;
constexpr quint32 DefaultButton4 = 0x300;
constexpr quint32 DefaultButton5 = 0x400;
constexpr quint32 DefaultButton6 = 0x500;
constexpr quint32 DefaultMask = 0xF00;
constexpr quint32 SystemModal = 0x1000;
constexpr quint32 HelpButton = 0x4000;
// Checking the check box disables Yes (also: bring to the foreground).
constexpr quint32 CheckDisablesYes = 0x00010000;
constexpr quint32 CheckDisablesNo = 0x00020000;
constexpr quint32 TopMost = 0x00040000;
constexpr quint32 DontAskAgain = 0x01000000;
constexpr quint32 DontTellAgain = 0x02000000;
constexpr quint32 CheckBoxAbove = 0x04000000;
constexpr quint32 YesToAll = 0x08000000;
constexpr quint32 NoToAll = 0x10000000;
// Keep the built-in (or the caller's) captions instead of the texts.
constexpr quint32 NoTexts = 0x20000000;
constexpr quint32 NoBeep = 0x40000000;
} // namespace MessageBoxType

// What a message box answers: the id of the button pressed, plus the
// check-box flag (DontAskAgain or DontTellAgain) when the box was checked,
// plus Countdown when the countdown pressed the default button. -1 when
// the box could not be shown.
namespace MessageBoxAnswer {
constexpr int Failed = -1;
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
constexpr int TryAgain = 10;
constexpr int Continue = 11;
constexpr int Skip = 14;
constexpr int SkipAll = 15;
constexpr int IgnoreAll = 16;
constexpr int YesToAll = 19;
constexpr int NoToAll = 20;
constexpr int Custom1 = 23; // custom buttons are 23 to 26
constexpr int Help = 300;
constexpr int Report = 301;
constexpr int Countdown = int(0x80000000u);
// The control ids of the icon, the text and the check box.
constexpr int IconControl = 1000;
constexpr int TextControl = 1001;
constexpr int CheckBoxControl = 5555;
} // namespace MessageBoxAnswer

// The caller's options for one box; the box works on a copy. Texts given
// by number are looked up in the interface texts.
struct MessageBoxParams
{
    // The captions a caller may replace, in this order.
    enum Caption {
        CaptionAbort,
        CaptionCancel,
        CaptionContinue,
        CaptionDontAskAgain,
        CaptionDontTellAgain,
        CaptionHelp,
        CaptionIgnore,
        CaptionIgnoreAll,
        CaptionNo,
        CaptionNoToAll,
        CaptionOk,
        CaptionReport,
        CaptionRetry,
        CaptionSkip,
        CaptionSkipAll,
        CaptionTryAgain,
        CaptionYes,
        CaptionYesToAll,
        CaptionCount
    };
    // Layout options.
    static constexpr quint32 RightJustifyButtons = 1;
    static constexpr quint32 LargerLayout = 2;
    static constexpr quint32 Narrow = 4;
    static constexpr quint32 NoColor = 0xFFFFFFFFu;

    quint32 helpId = 0;
    // Seconds of countdown on the default button (0: none); 1000 and
    // above count as 10.
    int timeout = 0;
    // Seconds during which every button is disabled (0: none); 1000 and
    // above count as 10.
    int disabledTime = 0;
    // Screen position; both 0: centred on the owner.
    int x = 0;
    int y = 0;
    quint32 options = 0;
    // A custom icon: a theme icon name or an image file; empty: the icon
    // of the type flags.
    QString iconName;
    // Custom button captions separated by "\n" (at most four are used):
    // text number customButtonsId, else customButtons.
    int customButtonsId = 0;
    QString customButtons;
    // The custom button (1 to 4) that Escape and the window's Close
    // answer, as where a custom set ends with a Cancel of its own; 0:
    // they do nothing.
    int customEscape = 0;
    // The report button's caption: text number reportCaptionId, else
    // reportCaption, else the caller's CaptionReport, else the default.
    int reportCaptionId = 0;
    QString reportCaption;
    // The report button exists only when reportFunction is set; it is
    // called with the message text and reportData and the box stays open.
    quint32 reportData = 0;
    std::function<void(const QString &text, quint32 data)> reportFunction;
    // 0x00BBGGRR, or NoColor for the system's colours.
    quint32 textColor = NoColor;
    quint32 backgroundColor = NoColor;
    // Take the non-empty captions below instead of the default ones.
    bool useOwnCaptions = false;
    std::array<QString, CaptionCount> buttonCaptions;
};

// Every field zero or empty, both colours NoColor.
void InitMessageBoxParams(MessageBoxParams &params);
