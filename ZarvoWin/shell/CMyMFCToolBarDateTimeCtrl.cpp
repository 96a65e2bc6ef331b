#include "CMyMFCToolBarDateTimeCtrl.h"

#include <QCalendarWidget>
#include <QEvent>

CMyMFCToolBarDateTimeCtrl::CMyMFCToolBarDateTimeCtrl(QWidget *parent)
    : QDateEdit(parent)
{
    setObjectName(QString::number(CommandId));
    setCalendarPopup(true);
    setDate(QDate::currentDate());
    // The calendar's window is the drop-down: its showing and hiding are
    // the drop-down and the close-up.
    calendarWidget()->window()->installEventFilter(this);
    connect(this, &QDateEdit::dateChanged, this, &CMyMFCToolBarDateTimeCtrl::OnDateChanged);
}

void CMyMFCToolBarDateTimeCtrl::SetTimeAll(const QDate &date)
{
    m_silent = true;
    setDate(date);
    m_silent = false;
}

void CMyMFCToolBarDateTimeCtrl::SetFirstDayOfWeek(int weekday)
{
    // Sunday = 1 .. Saturday = 7 to Qt's Monday = 1 .. Sunday = 7.
    const int qtDay = weekday == 1 ? 7 : weekday - 1;
    if (qtDay >= 1 && qtDay <= 7)
        calendarWidget()->setFirstDayOfWeek(Qt::DayOfWeek(qtDay));
}

void CMyMFCToolBarDateTimeCtrl::OnDateChanged()
{
    if (!m_silent && !m_droppedDown)
        emit command(CommandId);
}

bool CMyMFCToolBarDateTimeCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == calendarWidget()->window()) {
        if (event->type() == QEvent::Show) {
            m_droppedDown = true;
        } else if (event->type() == QEvent::Hide && m_droppedDown) {
            m_droppedDown = false;
            emit command(CommandId);
        }
    }
    return QDateEdit::eventFilter(watched, event);
}
