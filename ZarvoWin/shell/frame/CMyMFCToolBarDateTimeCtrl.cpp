#include "CMyMFCToolBarDateTimeCtrl.h"

#include "DateTimeTyping.h"

#include <QCalendarWidget>
#include <QEvent>

CMyMFCToolBarDateTimeCtrl::CMyMFCToolBarDateTimeCtrl(QWidget *parent)
    : QDateEdit(parent)
{
    setObjectName(QString::number(CommandId));
    setCalendarPopup(true);
    // A typed date counts once it is whole: a command at each key moved the
    // view to every partial date and put the field back under the cursor.
    setKeyboardTracking(false);
    setDate(QDate::currentDate());
    m_told = date();
    // The calendar's window is the drop-down: its showing and hiding are
    // the drop-down and the close-up.
    calendarWidget()->window()->installEventFilter(this);
    // A whole date typed over the field goes in part by part, as written.
    DateTimeTyping::Install(this);
    // Enter, the focus leaving the field, or a command run meanwhile by a
    // click or a shortcut (TypedTextCommit) ends the typing.
    connect(this, &QAbstractSpinBox::editingFinished, this, &CMyMFCToolBarDateTimeCtrl::TellIfMoved);
}

void CMyMFCToolBarDateTimeCtrl::SetTimeAll(const QDate &date)
{
    setDate(date);
    m_told = this->date();
}

void CMyMFCToolBarDateTimeCtrl::SetFirstDayOfWeek(int weekday)
{
    // Sunday = 1 .. Saturday = 7 to Qt's Monday = 1 .. Sunday = 7.
    const int qtDay = weekday == 1 ? 7 : weekday - 1;
    if (qtDay >= 1 && qtDay <= 7)
        calendarWidget()->setFirstDayOfWeek(Qt::DayOfWeek(qtDay));
}

void CMyMFCToolBarDateTimeCtrl::stepBy(int steps)
{
    QDateEdit::stepBy(steps);
    TellIfMoved();
}

void CMyMFCToolBarDateTimeCtrl::TellIfMoved()
{
    if (m_droppedDown || date() == m_told)
        return;
    m_told = date();
    emit command(CommandId);
}

bool CMyMFCToolBarDateTimeCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == calendarWidget()->window()) {
        if (event->type() == QEvent::Show) {
            m_droppedDown = true;
        } else if (event->type() == QEvent::Hide && m_droppedDown) {
            m_droppedDown = false;
            TellIfMoved();
        }
    }
    return QDateEdit::eventFilter(watched, event);
}
