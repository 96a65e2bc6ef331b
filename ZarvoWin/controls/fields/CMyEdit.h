#pragma once
#include "EditKeyRules.h"

#include <QLineEdit>
#include <functional>

// A line edit that filters what may be typed into it, for the numbers,
// file names and identifiers of the dialogs (see EditKeyRules for the
// rules of each mode). Pastes, drops and input-method texts pass the same
// rules as typing: a text holding a refused character is refused whole,
// with a beep.
//
// Numbers are shown with the decimal separator of the system locale (or
// the one set) and always read and written with the C conventions
// otherwise, never with the process locale: GetDoubleValue("12,5") is
// 12.5 under any locale.
//
// Read-only, it keeps the background colour (white by default) while
// enabled, and with the notification on it tells `readOnlyKeyTyped` with
// its control id (the "controlId" property, -1 when none) when a key is
// typed into it, so its owner can tell the user why nothing happens.
class CMyEdit : public QLineEdit
{
    Q_OBJECT
public:
    // Plays the refusal sound; tests record it instead.
    using Beeper = std::function<void()>;

    explicit CMyEdit(QWidget *parent = nullptr);

    // ---- modes (numbers by default) ----
    void SetNumberMode(bool integerOnly = false);
    void SetFileNameMode();
    void SetIdentifierMode();
    // A caption: any text but a "|".
    void SetCaptionMode();
    // Numbers only: digits and erasures are refused when the text, read
    // as an integer (empty reads 0), would leave minimum..maximum.
    void SetRange(int minimum, int maximum);
    void ClearRange();
    const EditKeyRules &Rules() const { return m_rules; }

    QChar DecimalSeparator() const { return m_rules.separator; }
    void SetDecimalSeparator(QChar separator) { m_rules.separator = separator; }
    // The first character of the system locale's decimal separator, '.'
    // when it has none.
    static QChar SystemDecimalSeparator();

    // The value setters show "0" rather than nothing for 0 and below.
    void SetShowZero(bool showZero) { m_showZero = showZero; }
    // Background (0x00BBGGRR) while read-only and enabled.
    void SetBackgroundColor(quint32 colour);
    quint32 BackgroundColor() const { return m_background; }
    void SetReadOnlyNotification(bool notify) { m_notifyReadOnly = notify; }

    // ---- values ----
    // The text with the separator made '.', read as a number (C rules).
    double GetDoubleValue() const;
    // Above 0: the value written with the printf-style format ("%0.2f")
    // and its '.' shown as the separator; else "0" with show-zero, or
    // nothing.
    void SetDoubleValue(QStringView format, double value);
    // At least 1: the value; else "0" with show-zero, or nothing.
    void SetIntValue(int value);
    // Any widget's text ("text" property) read as a number with the C
    // rules, the separator left as it is.
    static double GetWindowDouble(const QWidget *window);

    // Puts `text` in place of the selection as a paste would; false (with
    // a beep) when the rules refuse it.
    bool InsertText(const QString &text);

    static void SetBeeper(Beeper beeper);

signals:
    void readOnlyKeyTyped(int controlId);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    EditKeyRules::Selection CurrentSelection() const;
    // Carries out a verdict; true when the text was changed.
    bool Apply(const EditKeyRules::Result &result);
    void Cut();
    // After a change made by Qt's own handling (undo, a move inside the
    // field): puts `before` back, with a beep, when the rules refuse the
    // new text.
    void CheckChange(const QString &before, int cursorBefore);
    void UpdateBackground();
    static void Beep();

    EditKeyRules m_rules;
    bool m_showZero = false;
    bool m_notifyReadOnly = false;
    quint32 m_background = 0xFFFFFF;
};
