#pragma once
#include "CMyDockablePane.h"

#include <QDate>

class QCalendarWidget;
class QLocale;

// The calendar pane: a month calendar centred on white that moves the
// application's current date. A day the user picks with the mouse or the
// keys is told through dateChosen(); a date set from code is not.
class CPaneCalendar : public CMyDockablePane
{
    Q_OBJECT
public:
    static constexpr int CalendarId = 3015;

    explicit CPaneCalendar(QWidget *parent = nullptr);

    QCalendarWidget *Calendar() const { return m_calendar; }
    // Shows `date` as the selected day without telling anyone.
    void SelectDate(const QDate &date);
    // Starts the weeks on the configured first day again.
    void ApplyFirstDayOfWeek();
    void SetCalendarLocale(const QLocale &locale);

    // Where a calendar of `calendar` size stands in a client area of
    // `client` size: centred, never less than 1 pixel from the left or top.
    static QPoint CalendarPosition(const QSize &client, const QSize &calendar);

signals:
    void dateChosen(const QDate &date);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void LayOutCalendar();

    QWidget *m_body = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    bool m_selectingFromCode = false;
};
