#pragma once
#include "CBookedIntervals.h"
#include "CDayOff.h"
#include "CWorkingDays.h"
#include "tDebutFin.h"

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

// The settings object of the main program, with the working-time calendar.
class CConfiguration
{
public:
    CConfiguration();

    // ---------------------------------------------------------------
    // Working-time calendar
    // ---------------------------------------------------------------

    // Seven worked-weekday flags, Sunday first ("Affichage/WorkDays").
    std::array<bool, 7> workDays{false, true, true, true, true, true, false};
    CWorkingDays workingDays;
    CDayOff daysOff;
    // 1 = ISO 8601 weeks, anything else = weeks counted from 1 January.
    int weekNumbering = 1;
    // 1 = Sunday .. 7 = Saturday.
    int firstDayOfWeek = 1;
    bool firstDayFromLocale = false;

    // The booked intervals (recorded entries ending after the forecast
    // began); their time is not available for planned work. The project
    // store hands its list over after loading it.
    void SetBookedIntervals(const std::vector<tDebutFin> &intervals);
    void ClearBookedIntervals();
    const CBookedIntervals &BookedIntervals() const { return m_booked; }

    // How far a walk looks for a working day before giving up (ten years).
    static constexpr qint64 kWalkLimitDays = 3653;

    // False for an invalid date; true when the weekday is worked, the date
    // is not a day off and the weekday's working total is above 0.
    bool IsWorkingDay(const QDate &date) const;
    int CountWorkingWeekdays() const;
    // Working seconds of weekday w (Sunday = 1) between two seconds-of-day.
    qint64 GetWeekdayWorkingSeconds(int w, qint64 from, qint64 to) const;
    // Working seconds of a whole week (0 when no weekday has working time).
    qint64 GetWeekSeconds() const;

    // Signed working seconds from t2 to t1 (negative when t1 is before t2);
    // t2 = 0 stands for now. 0 when an instant has no valid local date.
    qint64 GetWorkingDuration(qint64 t1, qint64 t2) const;
    // The first instant at or after t in working time. When there is none
    // within kWalkLimitDays (no working weekday, days off covering the
    // future) or t is invalid, t itself with *found set to false.
    qint64 NextWorkingTime(qint64 t, bool *found = nullptr) const;
    // The instant reached after `seconds` of working time from t. With
    // seconds <= 0 the result is t. When the time cannot be placed (no
    // working time, no working day within kWalkLimitDays, beyond the
    // calendar, invalid t) the result is t with *reached set to false.
    qint64 AddWorkingTime(qint64 t, qint64 seconds, bool *reached = nullptr) const;
    // An amount in minutes (unit 0), hours (1) or default working days (2)
    // as seconds; 0 for an amount <= 0 or another unit.
    qint64 ToSeconds(qint64 amount, int unit) const;

    // Week numbers: ISO 8601 with weekNumbering 1, else counted from
    // 1 January with new weeks on Sundays. 0 for an invalid date.
    int GetWeekNumber(const QDate &date) const;
    bool IsWeekStart(const QDate &date) const;
    // "( S %d )" (text 682) when bracketed, else "Sem. : %d" (text 679).
    QString FormatWeekNumber(const QDate &date, bool bracketed) const;

private:
    bool WeekdayWorks(int w) const;
    bool DayIsWorked(qint64 julianDay) const;
    // Working seconds of a whole day, booked time cut out.
    qint64 DayCapacity(qint64 julianDay, int &cursor) const;
    // Working seconds of one day between two seconds-of-day.
    qint64 DaySpanSeconds(const QDate &date, qint64 from, qint64 to, int &cursor) const;
    // Sum of the working seconds of the days firstDay..lastDay.
    qint64 SumWholeDays(qint64 firstDay, qint64 lastDay, int &cursor) const;
    // The first working day after `julianDay`, or -1 within the limit.
    qint64 FindWorkingDayAfter(qint64 julianDay) const;

    CBookedIntervals m_booked;
};
