#include "CWorkingDays.h"

#include "CBookedIntervals.h"
#include "Formatter.h"
#include "IntParse.h"
#include "Settings.h"

#include <algorithm>

namespace {
int clampSet(int w)
{
    return (w < 0 || w >= CWorkingDays::kSetCount) ? 0 : w;
}

// Sunday = 1 .. Saturday = 7.
int weekdayOf(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}
} // namespace

CWorkingDay &CWorkingDays::Set(int w)
{
    return m_sets[size_t(clampSet(w))];
}

const CWorkingDay &CWorkingDays::Set(int w) const
{
    return m_sets[size_t(clampSet(w))];
}

const CWorkingDay &CWorkingDays::Effective(int w) const
{
    const int s = clampSet(w);
    if (s != 0 && m_sets[size_t(s)].useDefault)
        return m_sets[0];
    return m_sets[size_t(s)];
}

void CWorkingDays::CopyFrom(const CWorkingDays &other)
{
    for (int w = 0; w < kSetCount; ++w)
        m_sets[size_t(w)].CopyFrom(other.m_sets[size_t(w)]);
    UpdateTotals();
}

qint64 CWorkingDays::GetDaySeconds(int w) const
{
    return qint64(Effective(w).total) * 60;
}

void CWorkingDays::UpdateDayTotal(int w)
{
    CWorkingDay &d = Set(w);
    d.total = d.ComputeTotal();
}

void CWorkingDays::UpdateTotals()
{
    for (CWorkingDay &d : m_sets)
        d.total = d.ComputeTotal();
}

void CWorkingDays::GetEndOfDay(int w, int &hour, int &minute) const
{
    Effective(w).GetEndOfDay(hour, minute);
}

bool CWorkingDays::GetPeriod(int w, int i, int &start, int &end) const
{
    if (w < 0 || w > 7 || i < 0)
        return false;
    const CWorkingDay &d = Effective(w);
    if (size_t(i) >= d.periods.size())
        return false;
    start = d.periods[size_t(i)].start;
    end = d.periods[size_t(i)].end;
    return true;
}

void CWorkingDays::Clear()
{
    for (CWorkingDay &d : m_sets)
        d.periods.clear();
}

void CWorkingDays::AddPeriod(int w, int start, int end)
{
    if (w < 0 || w >= kSetCount)
        return;
    m_sets[size_t(w)].periods.push_back({start, end});
}

void CWorkingDays::ParseDay(int w, QStringView text)
{
    if (w < 0 || w >= kSetCount)
        return;
    CWorkingDay &d = m_sets[size_t(w)];
    d.periods.clear();
    if (text.isEmpty())
        return;
    const QList<QStringView> items = text.split(u';');
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QStringView item = items[i];
        if (i == 0) {
            if (item == u"d") {
                d.useDefault = true;
                continue;
            }
            d.useDefault = false;
        }
        const qsizetype comma = item.indexOf(u',');
        if (comma <= 0)
            continue;
        const int start = Platform::wtoi(item.left(comma));
        const int end = Platform::wtoi(item.mid(comma + 1));
        if (start < 0 || start > 1440 || end < 0 || end > 1440)
            continue;
        d.periods.push_back({start, end});
    }
    // A hand-edited text may list periods out of order or overlapping; the
    // arithmetic relies on ascending, separate periods.
    d.Normalize();
}

QString CWorkingDays::FormatDay(int w) const
{
    const CWorkingDay &d = Set(w);
    QString text;
    if (w > 0 && w < kSetCount && d.useDefault)
        text += QStringLiteral("d;");
    else if (w > 0 && w < kSetCount && d.periods.empty())
        // A weekday of its own without any period: an empty text would leave
        // the flag as it was and bring the default day back on reading.
        return QStringLiteral(";");
    for (const tWorkingPeriode &p : d.periods)
        text += Platform::Formatter::sprintf(u"%d,%d;", {p.start, p.end});
    return text;
}

QString CWorkingDays::SettingName(int w)
{
    if (w <= 0 || w >= kSetCount)
        return QStringLiteral("WorkingDay");
    return Platform::Formatter::sprintf(u"WorkingDay_%d", {w});
}

void CWorkingDays::SaveDay(Platform::Settings &settings, int w) const
{
    if (w < 0 || w >= kSetCount)
        return;
    settings.setString(u"Config", u"Affichage", SettingName(w), FormatDay(w));
}

void CWorkingDays::SaveDay(int w) const
{
    Platform::Settings settings;
    SaveDay(settings, w);
}

void CWorkingDays::GetDayPeriods(const QDate &date, CWorkingDay &out, const CBookedIntervals *booked,
                                 int &cursor) const
{
    out.CopyFrom(Effective(date.isValid() ? weekdayOf(date) : 0));
    if (!date.isValid()) {
        out.periods.clear();
        out.total = 0;
        return;
    }
    if (!booked || booked->IsEmpty())
        return;
    const qint64 day = date.toJulianDay();
    booked->SkipEnded(day, cursor);
    for (int i = cursor; i < booked->Count(); ++i) {
        const CBookedIntervals::tSpan &s = booked->At(i);
        if (s.startDay > day)
            break;
        if (s.endDay < day)
            continue; // ended earlier, held behind a longer interval
        const int cutStart = s.startDay == day ? s.startMinute : 0;
        const int cutEnd = s.endDay == day ? s.endMinute : 86400;
        if (cutEnd <= cutStart)
            continue;
        std::vector<tWorkingPeriode> kept;
        kept.reserve(out.periods.size() + 1);
        for (const tWorkingPeriode &p : out.periods) {
            if (p.end <= cutStart || p.start >= cutEnd) {
                kept.push_back(p);
                continue;
            }
            if (p.start < cutStart)
                kept.push_back({p.start, cutStart});
            if (p.end > cutEnd)
                kept.push_back({cutEnd, p.end});
        }
        out.periods = std::move(kept);
    }
    out.total = out.ComputeTotal();
}
