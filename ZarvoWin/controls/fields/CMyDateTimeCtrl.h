#pragma once
#include <QDateEdit>

// A date field with a drop-down month calendar whose weeks start on the
// configured first day of the week (CFirstDayOfWeek), read again each time
// the calendar drops down, so a changed option holds at the next opening,
// and typed into as the system's pickers are (DateTimeTyping). Everything
// else is QDateEdit's: the owner sets the date, the range and the display
// format as for any date field.
class CMyDateTimeCtrl : public QDateEdit
{
    Q_OBJECT
public:
    explicit CMyDateTimeCtrl(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
