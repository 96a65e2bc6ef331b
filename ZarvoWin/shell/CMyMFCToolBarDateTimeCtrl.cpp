#include "CMyMFCToolBarDateTimeCtrl.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

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
    // Enter, or the focus leaving the field, ends the typing.
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

void CMyMFCToolBarDateTimeCtrl::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    QLineEdit *field = lineEdit();
    if (typed.size() == 1 && typed.front().isPrint() && !typed.front().isDigit() && field->hasSelectedText()) {
        // A separator typed at the start of a section the field has just
        // moved to (after a complete day or month) would skip that section.
        const int start = field->selectionStart();
        if (start > 0 && !field->text().at(start - 1).isDigit()
            && field->selectedText() == sectionText(currentSection())) {
            event->accept();
            return;
        }
    }
    // Typing over the whole field starts with its first section (the field
    // would otherwise keep its day and read the typed day as the month).
    if (typed.size() == 1 && typed.front().isDigit() && field->selectedText() == field->text())
        setSelectedSection(sectionAt(0));
    QDateEdit::keyPressEvent(event);
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
