#pragma once
#include "CWorkingDay.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <array>

class CBookedIntervals;
namespace Platform { class Settings; }

// The working periods of the week: set 0 is the default working day
// (setting "WorkingDay"), sets 1 to 7 the weekdays Sunday = 1 to
// Saturday = 7 (settings "WorkingDay_1" .. "WorkingDay_7"). The effective
// periods of weekday w are set 0's when set w uses the default, else its
// own; likewise its total.
class CWorkingDays
{
public:
    static constexpr int kSetCount = 8;

    CWorkingDay &Set(int w);
    const CWorkingDay &Set(int w) const;
    // The effective set of weekday w (set 0 for w = 0).
    const CWorkingDay &Effective(int w) const;

    // Copies all eight sets with their flags, then recomputes every total.
    void CopyFrom(const CWorkingDays &other);

    // Effective total of weekday w (or of set 0) in seconds.
    qint64 GetDaySeconds(int w) const;
    void UpdateDayTotal(int w);
    void UpdateTotals();
    void GetEndOfDay(int w, int &hour, int &minute) const;
    // Period i of weekday w's effective set; false when w or i is out of range.
    bool GetPeriod(int w, int i, int &start, int &end) const;

    // Empties the period lists of all sets (flags kept).
    void Clear();
    // Appends a period to set w (no sorting, no total update).
    void AddPeriod(int w, int start, int end);

    // Replaces set w's periods from a period-list text ("480,720;780,1020;",
    // optionally beginning with the item "d" that makes the set use the
    // default). An empty text only empties the periods.
    void ParseDay(int w, QStringView text);
    // The period-list text of set w, as SaveDay writes it.
    QString FormatDay(int w) const;
    // Writes set w under "Config/Affichage" ("WorkingDay" or "WorkingDay_%d").
    void SaveDay(Platform::Settings &settings, int w) const;
    void SaveDay(int w) const;
    static QString SettingName(int w);

    // The effective periods of `date` with the booked intervals cut out.
    // Without booked intervals `out` is the weekday's own set. `cursor`
    // persists across consecutive days of one walk.
    void GetDayPeriods(const QDate &date, CWorkingDay &out, const CBookedIntervals *booked,
                       int &cursor) const;

private:
    std::array<CWorkingDay, kSetCount> m_sets;
};
