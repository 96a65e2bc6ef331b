#pragma once
#include <QChar>
#include <QString>

// The typing rules of the filtered edit (CMyEdit), without a window: what a
// typed key, an erasure or an inserted text does to the text of the field.
//
// Modes:
// - Number: digits, and one decimal separator unless integer-only. '.', ','
//   and the separator all type the separator; a second one is ignored
//   silently, and in integer-only mode any of them is refused with a beep.
//   Other characters are ignored silently. With the range check, a digit
//   or an erasure that would leave the text, read as an integer (empty
//   reads 0), outside minimum..maximum is refused with a beep.
// - FileName: everything but control characters and " * / : < > ? \ |.
// - Identifier: digits, letters A-Z and a-z, ( ) * + , - . : ; < = > ?,
//   blank and '_' (accented letters are refused).
// - Caption: everything but control characters and '|' (the separator of
//   the stored lists a caption is kept in).
//
// An inserted text (a paste, a drop, an input method's text) passes the
// same rules character by character: one refused or ignored character
// refuses the whole text with a beep, so that no letter reaches a number
// and no "/" a file name. Its separators become the field's separator.
class EditKeyRules
{
public:
    enum class Mode { Number, FileName, Identifier, Caption };
    enum class Verdict { Accept, Ignore, Beep };

    // The selected part of the text; with length 0, the caret at start.
    struct Selection
    {
        int start = 0;
        int length = 0;
    };

    // What a key does: on Accept, the characters [start, start + length)
    // are replaced by `replacement`, giving `text`; otherwise nothing
    // changes (and `text` is the text as it was).
    struct Result
    {
        Verdict verdict = Verdict::Ignore;
        int start = 0;
        int length = 0;
        QString replacement;
        QString text;
    };

    Mode mode = Mode::Number;
    bool integerOnly = false;
    bool rangeCheck = false;
    int minimum = 0;
    int maximum = 0;
    QChar separator = u'.';

    // A typed character; backspace is u'\b'.
    Result Key(const QString &text, Selection selection, QChar key) const;
    // The Delete key: the selection, else the character after the caret.
    Result DeleteForward(const QString &text, Selection selection) const;
    // A text put in place of the selection.
    Result Insert(const QString &text, Selection selection, const QString &inserted) const;

    // Whether the whole text could have been typed under these rules
    // (used to check a text moved inside the field by the mouse).
    bool IsAcceptable(const QString &text) const;

private:
    // The verdict of one character in a text mode.
    Verdict TextCharacter(QChar c) const;
    bool IsSeparatorKey(QChar c) const;
    bool InRange(const QString &text) const;
    Result Replace(const QString &text, int start, int length, const QString &replacement) const;
    Result Unchanged(const QString &text, Verdict verdict) const;
    // Backspace and Delete.
    Result Erase(const QString &text, Selection selection, bool forward) const;
};
