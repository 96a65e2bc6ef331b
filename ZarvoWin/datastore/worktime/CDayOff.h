#pragma once
#include "tWorkingPeriode.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

namespace Platform { class Settings; }

// The days off: ranges of OLE day numbers (first and last day inclusive),
// ascending and merged, so that adjacent ranges form one.
class CDayOff
{
public:
    void CopyFrom(const CDayOff &other);

    // True when the date is a day off; false for an invalid date. Keeps the
    // index where the search ended, so that day-by-day queries are cheap.
    bool IsDayOff(const QDate &date) const;
    bool IsDayOffNumber(int day) const;

    // Adds or removes the days first..last (dates in either order). With
    // `follow`, a single day flips and a longer range takes the state its
    // first day had; without, the range is always added. False (and nothing
    // changed) when a date is invalid.
    bool SetRange(const QDate &first, const QDate &last, bool follow);

    // Removes range i whole (a single day or a range of days); false when
    // i is out of range.
    bool RemoveRange(int i);

    int GetCount() const { return static_cast<int>(m_ranges.size()); }
    const std::vector<tWorkingPeriode> &Ranges() const { return m_ranges; }
    // Range i as two dates; false when i is out of range.
    bool GetRange(int i, QDate &first, QDate &last) const;
    // Range i as two date texts, each date written by `formatDate` (the
    // settings object's short date format, as the days-off page shows it).
    using DateFormatter = std::function<QString(const QDate &)>;
    bool FormatRange(int i, QString &firstText, QString &lastText, const DateFormatter &formatDate) const;

    // Index of the first range whose last day is at or after `day`
    // (GetCount() when none).
    int FirstRangeEndingFrom(int day) const;

    // The stored text: "%d;" per single day, "%d,%d;" per range.
    QString ToText() const;
    // Reads a stored text; empty and malformed items, and numbers that are
    // no date (before the year 100 or after 9999), are skipped, and the
    // ranges are put in order and joined so that the look-ups hold.
    void FromText(QStringView text);

    // "Config/Affichage/DayOff".
    void Load(const Platform::Settings &settings);
    void Load();
    void Save(Platform::Settings &settings) const;
    void Save() const;

private:
    void AddDays(int f, int l);
    void RemoveDays(int f, int l);

    std::vector<tWorkingPeriode> m_ranges;
    mutable int m_lastIndex = 0;
};
