#include "CMyDateTimeCtrl.h"

#include "CFirstDayOfWeek.h"
#include "DateTimeTyping.h"

#include <QCalendarWidget>
#include <QEvent>

CMyDateTimeCtrl::CMyDateTimeCtrl(QWidget *parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    QCalendarWidget *calendar = calendarWidget();
    calendar->setFirstDayOfWeek(CFirstDayOfWeek::ConfiguredQt());
    // The calendar's window is the drop-down: it is shown at each opening.
    calendar->window()->installEventFilter(this);
    DateTimeTyping::Install(this);
}

bool CMyDateTimeCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched == calendarWidget()->window())
        calendarWidget()->setFirstDayOfWeek(CFirstDayOfWeek::ConfiguredQt());
    return QDateEdit::eventFilter(watched, event);
}
