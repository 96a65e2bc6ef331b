#pragma once
#include <QObject>

class QDateTimeEdit;
class QLineEdit;

// Typing into a date or time field as into the system's date pickers. A
// click selects the part under the pointer (day, month, year, hour,
// minute), so that the digits typed replace it: left at a caret inside a
// full part, they would make it too long and be refused. A whole date typed
// over the whole field goes in part by part, as written ("04/03/2027",
// "4/3/2027" or "04032027"): the field would otherwise keep its day and read
// the typed day as the month, and a separator typed at the start of a part
// the field has just moved to by itself would skip that part.
class DateTimeTyping : public QObject
{
    Q_OBJECT
public:
    // Gives `field` this typing; the object lives as the field's child.
    static void Install(QDateTimeEdit *field);
    // For a field that does not take each key (no keyboard tracking): a
    // date typed is taken into its value, and the typing ends (the field's
    // editingFinished), as soon as its last part is typed whole, not only
    // on Enter or when the focus leaves.
    static void TakeWholeDates(QDateTimeEdit *field);
    // True while such a field handles a key being typed: a date it gives
    // meanwhile is not whole ("08/07/2024" typed over the field passes by
    // 8 May; a separator after a part of one digit takes that part).
    static bool IsTyping(const QDateTimeEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DateTimeTyping(QDateTimeEdit *field, QLineEdit *text);
    // True when the key was taken (a separator already typed).
    bool OnKey(const QString &typed);
    // The caret stands at the end of the field's last part, typed whole.
    bool LastPartWhole() const;

    QDateTimeEdit *m_field;
    QLineEdit *m_text;
    bool m_takeWhole = false;
    // A key handed to the field by this filter itself.
    bool m_inKey = false;
};
