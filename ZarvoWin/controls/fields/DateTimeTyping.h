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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DateTimeTyping(QDateTimeEdit *field, QLineEdit *text);
    // True when the key was taken (a separator already typed).
    bool OnKey(const QString &typed);

    QDateTimeEdit *m_field;
    QLineEdit *m_text;
};
