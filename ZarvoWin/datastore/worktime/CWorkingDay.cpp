#include "CWorkingDay.h"

#include <algorithm>

void CWorkingDay::CopyFrom(const CWorkingDay &other)
{
    periods = other.periods;
    total = other.total;
    useDefault = other.useDefault;
}

int CWorkingDay::ComputeTotal() const
{
    int sum = 0;
    for (const tWorkingPeriode &p : periods)
        sum += p.end - p.start;
    return sum;
}

qint64 CWorkingDay::GetWorkingSeconds(qint64 from, qint64 to) const
{
    qint64 sum = 0;
    for (const tWorkingPeriode &p : periods) {
        const qint64 ps = qint64(p.start) * 60;
        const qint64 pe = qint64(p.end) * 60;
        if (from < pe && ps < to)
            sum += std::max<qint64>(0, std::min(to, pe) - std::max(from, ps));
    }
    return sum;
}

void CWorkingDay::ConsumeWorkingTime(qint64 &remaining, qint64 &position) const
{
    for (const tWorkingPeriode &p : periods) {
        if (remaining <= 0)
            break;
        const qint64 ps = qint64(p.start) * 60;
        const qint64 pe = qint64(p.end) * 60;
        if (pe < position)
            continue;
        if (position < ps)
            position = ps;
        if (remaining < pe - position) {
            position += remaining;
            remaining = 0;
        } else {
            remaining -= pe - position;
            position = pe;
        }
    }
}

void CWorkingDay::GetEndOfDay(int &hour, int &minute) const
{
    if (periods.empty()) {
        hour = 23;
        minute = 59;
        return;
    }
    const int end = periods.back().end;
    hour = end / 60;
    minute = end % 60;
}

void CWorkingDay::Normalize()
{
    std::vector<tWorkingPeriode> kept;
    kept.reserve(periods.size());
    for (const tWorkingPeriode &p : periods) {
        if (p.end > p.start)
            kept.push_back(p);
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const tWorkingPeriode &a, const tWorkingPeriode &b) { return a.start < b.start; });
    std::vector<tWorkingPeriode> merged;
    merged.reserve(kept.size());
    for (const tWorkingPeriode &p : kept) {
        if (!merged.empty() && p.start < merged.back().end)
            merged.back().end = std::max(merged.back().end, p.end);
        else
            merged.push_back(p);
    }
    periods = std::move(merged);
}
