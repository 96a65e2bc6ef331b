#pragma once
#include "MessageBoxParams.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// One button of a message box: the id it answers and its caption (with
// its '&' mnemonic).
struct MessageBoxButton
{
    int id = 0;
    QString caption;
    bool operator==(const MessageBoxButton &other) const = default;
};

// What a message box shows and how it answers, worked out from the type
// flags and the caller's options without any window: the buttons left to
// right, the default one, what Escape answers, the check box and the
// clamped timers. The dialog and the answer seam both read it.
class MessageBoxContent
{
public:
    static MessageBoxContent Build(quint32 type, const MessageBoxParams &params);

    // The caption of one button kind: the caller's own when given, else
    // the interface text, else (NoTexts) the built-in one.
    static QString ButtonCaption(MessageBoxParams::Caption which, quint32 type,
                                 const MessageBoxParams &params);
    // The caption the box shows when none is given.
    static QString DefaultCaption();

    std::vector<MessageBoxButton> buttons;
    int defaultIndex = 0;
    // What Escape (or closing the window) answers; 0 when it does nothing.
    int escapeAnswer = 0;
    // Checking the box disables the button of this id (0: none).
    int checkDisables = 0;
    // The check box: its caption and the flag a checked box adds to the
    // answer; no check box when the flag is 0.
    QString checkBoxCaption;
    quint32 checkBoxFlag = 0;
    bool checkBoxAbove = false;
    // The icon flags (0x10 .. 0x40, 0 for none; other values give 0x30).
    quint32 icon = 0;
    int timeout = 0;
    int disabledTime = 0;

    int DefaultId() const { return buttons.empty() ? 0 : buttons[size_t(defaultIndex)].id; }
    // Index of the button answering `id`, -1 when there is none.
    int IndexOf(int id) const;
    bool HasCheckBox() const { return checkBoxFlag != 0; }

    // The box as text for the clipboard: the caption, the message and the
    // button captions (without '&') between dashed lines, CR LF ended.
    QString CopyText(const QString &caption, const QString &text) const;
};
