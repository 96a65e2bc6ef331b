#pragma once
#include "tDayColumn.h"

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <array>
#include <span>

class CConfiguration;

// The days the week and day view shows: a week of seven days starting on
// the configured first day of the week, or a single day. In week mode the
// shown week stays while the current date moves inside it, so that the
// view does not jump, and is aligned again once the date leaves it.
//
// Each change returns the days to load into the day cache.
class CShownDays
{
public:
    struct tRange
    {
        QDate from;
        QDate to;
    };

    bool WeekMode() const { return m_weekMode; }
    int DayCount() const { return m_weekMode ? 7 : 1; }
    // Switching to week mode forgets the shown week, so that the next
    // choice aligns it anew.
    void SetWeekMode(bool week);
    // The next choice aligns the week anew.
    void ForgetFirstDay() { m_days[0].Date = QDate(); }

    tDayColumn &Day(int i) { return m_days[size_t(i)]; }
    const tDayColumn &Day(int i) const { return m_days[size_t(i)]; }
    std::span<tDayColumn> Days() { return std::span<tDayColumn>(m_days.data(), size_t(DayCount())); }
    std::span<const tDayColumn> Days() const
    {
        return std::span<const tDayColumn>(m_days.data(), size_t(DayCount()));
    }
    QDate First() const { return m_days[0].Date; }
    QDate Last() const { return m_days[size_t(DayCount() - 1)].Date; }

    // The day a week containing `date` starts on, with the first day of
    // the week numbered 1 (Sunday) to 7 (Saturday).
    static QDate WeekStart(const QDate &date, int firstDayOfWeek);

    // Chooses the days for the current date: in week mode the shown week
    // when the date lies in it, else the week of the date; in single-day
    // mode the date. The days to load are eight from the first in week
    // mode (the day after the week included), the day itself otherwise.
    tRange Choose(const QDate &current, int firstDayOfWeek);
    // Moves the shown days by n days (n may be negative).
    tRange Shift(int n);
    // Moves every shown day one day back (-1) or forward (+1).
    tRange Step(int direction);

    // The title of the shown days: the range of the week, or `day` in the
    // long form in single-day mode.
    QString Caption(const CConfiguration &config, const QDate &day) const;

    // Whether the running entry (id -1 when none runs) is on screen at
    // `now`: it has started, it starts before the end of the last shown day
    // and the first shown day has begun.
    bool IsRunningEntryVisible(int runningId, qint64 runningStart, qint64 now) const;

private:
    tRange FillWeek(const QDate &first);

    bool m_weekMode = false;
    std::array<tDayColumn, 7> m_days;
};
