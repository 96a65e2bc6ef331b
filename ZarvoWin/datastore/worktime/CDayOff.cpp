#include "CDayOff.h"

#include "Formatter.h"
#include "LocalTime.h"
#include "Settings.h"

#include <algorithm>

namespace {
// The day numbers of 1 January 100 and 31 December 9999, the dates a day
// off can have. A stored number outside them is no date, and leaving it in
// would take the arithmetic of the ranges (a day before, a day after) past
// the ends of int.
constexpr int FirstDayNumber = -657434;
constexpr int LastDayNumber = 2958465;
} // namespace

void CDayOff::CopyFrom(const CDayOff &other)
{
    m_ranges = other.m_ranges;
    m_lastIndex = 0;
}

bool CDayOff::IsDayOff(const QDate &date) const
{
    if (!date.isValid())
        return false;
    return IsDayOffNumber(Platform::LocalTime::oleDay(date));
}

bool CDayOff::IsDayOffNumber(int day) const
{
    const int count = GetCount();
    if (count == 0)
        return false;
    if (m_lastIndex < 0 || m_lastIndex >= count)
        m_lastIndex = count / 2;
    int i = m_lastIndex;
    while (i < count - 1 && day > m_ranges[size_t(i)].end)
        ++i;
    while (i > 0 && day < m_ranges[size_t(i)].start)
        --i;
    m_lastIndex = i;
    return m_ranges[size_t(i)].start <= day && day <= m_ranges[size_t(i)].end;
}

bool CDayOff::SetRange(const QDate &first, const QDate &last, bool follow)
{
    if (!first.isValid() || !last.isValid())
        return false;
    bool add = IsDayOff(first);
    if (first == last)
        add = !add;
    if (!follow)
        add = true;
    int f = Platform::LocalTime::oleDay(first);
    int l = Platform::LocalTime::oleDay(last);
    if (l < f)
        std::swap(f, l);
    if (add)
        AddDays(f, l);
    else
        RemoveDays(f, l);
    m_lastIndex = 0;
    return true;
}

bool CDayOff::RemoveRange(int i)
{
    if (i < 0 || i >= GetCount())
        return false;
    m_ranges.erase(m_ranges.begin() + i);
    m_lastIndex = 0;
    return true;
}

int CDayOff::FirstRangeEndingFrom(int day) const
{
    const auto it = std::lower_bound(m_ranges.begin(), m_ranges.end(), day,
                                     [](const tWorkingPeriode &r, int d) { return r.end < d; });
    return static_cast<int>(it - m_ranges.begin());
}

void CDayOff::AddDays(int f, int l)
{
    // The first range that touches or follows [f, l] (adjacent days join).
    const int i = FirstRangeEndingFrom(f - 1);
    if (i >= GetCount()) {
        m_ranges.push_back({f, l});
        return;
    }
    tWorkingPeriode &r = m_ranges[size_t(i)];
    if (r.start > l + 1) {
        m_ranges.insert(m_ranges.begin() + i, {f, l});
        return;
    }
    r.start = std::min(r.start, f);
    r.end = std::max(r.end, l);
    while (i + 1 < GetCount() && m_ranges[size_t(i + 1)].start <= m_ranges[size_t(i)].end + 1) {
        m_ranges[size_t(i)].end = std::max(m_ranges[size_t(i)].end, m_ranges[size_t(i + 1)].end);
        m_ranges.erase(m_ranges.begin() + i + 1);
    }
}

void CDayOff::RemoveDays(int f, int l)
{
    // The walk starts at the first range that reaches f, wherever the look-up
    // that decided between adding and removing left its cursor, so that a
    // range selected from its last day to its first loses every day of it.
    int i = FirstRangeEndingFrom(f);
    while (i < GetCount() && m_ranges[size_t(i)].start <= l) {
        const tWorkingPeriode r = m_ranges[size_t(i)];
        if (r.start >= f && r.end <= l) {
            m_ranges.erase(m_ranges.begin() + i);
            continue;
        }
        if (r.start < f && r.end > l) {
            m_ranges[size_t(i)].end = f - 1;
            m_ranges.insert(m_ranges.begin() + i + 1, {l + 1, r.end});
            break;
        }
        if (r.start < f)
            m_ranges[size_t(i)].end = f - 1;
        else
            m_ranges[size_t(i)].start = l + 1;
        ++i;
    }
}

bool CDayOff::GetRange(int i, QDate &first, QDate &last) const
{
    if (i < 0 || i >= GetCount())
        return false;
    first = Platform::LocalTime::fromOleDay(m_ranges[size_t(i)].start);
    last = Platform::LocalTime::fromOleDay(m_ranges[size_t(i)].end);
    return true;
}

bool CDayOff::FormatRange(int i, QString &firstText, QString &lastText, const DateFormatter &formatDate) const
{
    QDate first, last;
    if (!GetRange(i, first, last) || !formatDate)
        return false;
    firstText = formatDate(first);
    lastText = formatDate(last);
    return true;
}

QString CDayOff::ToText() const
{
    QString text;
    for (const tWorkingPeriode &r : m_ranges) {
        if (r.start == r.end)
            text += Platform::Formatter::sprintf(u"%d;", {r.start});
        else
            text += Platform::Formatter::sprintf(u"%d,%d;", {r.start, r.end});
    }
    return text;
}

void CDayOff::FromText(QStringView text)
{
    m_ranges.clear();
    m_lastIndex = 0;
    std::vector<tWorkingPeriode> read;
    for (const QStringView item : text.split(u';')) {
        if (item.trimmed().isEmpty())
            continue;
        const qsizetype comma = item.indexOf(u',');
        bool okFirst = false, okLast = false;
        int f = item.left(comma < 0 ? item.size() : comma).trimmed().toInt(&okFirst);
        int l = f;
        okLast = okFirst;
        if (comma >= 0)
            l = item.mid(comma + 1).trimmed().toInt(&okLast);
        if (!okFirst || !okLast)
            continue;
        if (f < FirstDayNumber || f > LastDayNumber || l < FirstDayNumber || l > LastDayNumber)
            continue;
        if (l < f)
            std::swap(f, l);
        read.push_back({f, l});
    }
    // Joining through AddDays keeps the list ascending and merged even when
    // the stored text was edited by hand.
    for (const tWorkingPeriode &r : read)
        AddDays(r.start, r.end);
}

void CDayOff::Load(const Platform::Settings &settings)
{
    FromText(settings.getString(u"Config", u"Affichage", u"DayOff", QString()));
}

void CDayOff::Load()
{
    const Platform::Settings settings;
    Load(settings);
}

void CDayOff::Save(Platform::Settings &settings) const
{
    settings.setString(u"Config", u"Affichage", u"DayOff", ToText());
}

void CDayOff::Save() const
{
    Platform::Settings settings;
    Save(settings);
}
