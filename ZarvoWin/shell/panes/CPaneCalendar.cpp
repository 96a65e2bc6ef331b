#include "CPaneCalendar.h"

#include "CFirstDayOfWeek.h"
#include "WidgetIds.h"

#include <QCalendarWidget>
#include <QEvent>

CPaneCalendar::CPaneCalendar(QWidget *parent)
    : CMyDockablePane(133, 155, parent)
{
    m_body = new QWidget(this);
    m_body->setObjectName(QStringLiteral("body"));
    QPalette white = m_body->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_body->setPalette(white);
    m_body->setAutoFillBackground(true);

    m_calendar = new QCalendarWidget(m_body);
    m_calendar->setObjectName(QString::number(CalendarId));
    WidgetIds::SetControlId(m_calendar, CalendarId);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_body->setFocusProxy(m_calendar);
    setFocusProxy(m_calendar);
    ApplyFirstDayOfWeek();
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] {
        if (!m_selectingFromCode)
            emit dateChosen(m_calendar->selectedDate());
    });

    m_body->installEventFilter(this);
    setWidget(m_body);
    LayOutCalendar();
}

void CPaneCalendar::SelectDate(const QDate &date)
{
    if (!date.isValid() || date == m_calendar->selectedDate())
        return;
    m_selectingFromCode = true;
    m_calendar->setSelectedDate(date);
    m_selectingFromCode = false;
}

void CPaneCalendar::ApplyFirstDayOfWeek()
{
    m_calendar->setFirstDayOfWeek(CFirstDayOfWeek::ConfiguredQt());
    m_calendar->update();
}

void CPaneCalendar::SetCalendarLocale(const QLocale &locale)
{
    m_calendar->setLocale(locale);
    // The locale brings its own first day; the configured one holds.
    ApplyFirstDayOfWeek();
    LayOutCalendar();
}

QPoint CPaneCalendar::CalendarPosition(const QSize &client, const QSize &calendar)
{
    return QPoint(qMax(1, (client.width() - calendar.width()) / 2), qMax(1, (client.height() - calendar.height()) / 2));
}

void CPaneCalendar::LayOutCalendar()
{
    const QSize size = m_calendar->minimumSizeHint();
    // The docks give the pane room for the whole calendar and its margin.
    const QSize room = size + QSize(2, 2);
    if (m_body->minimumSize() != room)
        m_body->setMinimumSize(room);
    m_calendar->setGeometry(QRect(CalendarPosition(m_body->size(), size), size));
}

bool CPaneCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_body && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        LayOutCalendar();
    return CMyDockablePane::eventFilter(watched, event);
}
