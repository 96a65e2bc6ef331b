#include "DayStripGeometry.h"

#include "LocalTime.h"

#include <QDateTime>

#include <algorithm>

int DayStripGeometry::MinuteOfDay(qint64 time, qint64 dayStart)
{
    const qint64 seconds = time - dayStart;
    // Whole minutes, also for an instant before the day's start.
    return int(seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60));
}

int DayStripGeometry::X(int minute) const
{
    return int((minute - m_first) * m_scale);
}

DayStripGeometry DayStripGeometry::Compute(const tInput &in)
{
    DayStripGeometry g;
    g.m_bar = in.bar;
    const std::vector<tTacheFull> empty;
    const std::vector<tTacheFull> &entries = in.entries ? *in.entries : empty;
    const qint64 dayStart = Platform::LocalTime::midnight(in.day);
    const qint64 nextDay = Platform::LocalTime::midnight(in.day.addDays(1));
    // 1439 on most days, 1379 on the spring's and 1499 on the autumn's.
    const int lastOfDay = MinuteOfDay(nextDay, dayStart) - 1;
    const auto minute = [dayStart](qint64 time) { return MinuteOfDay(time, dayStart); };
    const int nowMinute = std::min(minute(in.now), lastOfDay);
    // The start of the current hour: its minutes are read on the clock.
    const int nowHour = nowMinute - Platform::LocalTime::toLocal(in.now).time().minute();
    const auto endOf = [&](const tTacheFull &e) { return e.IsRunning() ? in.now : e.Fin; };

    g.m_noEntries = entries.empty();
    if (!entries.empty()) {
        const tTacheFull &first = entries.front();
        g.m_first = first.Debut < dayStart ? 0 : minute(first.Debut) - 10;
        if (nowHour < g.m_first)
            g.m_first = nowHour - 10;
        const tTacheFull &last = entries.back();
        if (endOf(last) >= nextDay)
            g.m_last = lastOfDay;
        else
            g.m_last = minute(endOf(last)) + (last.IsRunning() ? 0 : 10);
        g.m_last = std::min(std::max(g.m_last, nowMinute), lastOfDay);
    } else {
        g.m_first = std::max(nowHour - 10, 0);
        g.m_last = nowMinute;
    }
    if (g.m_last <= g.m_first || in.width <= 0)
        return g;
    g.m_scale = double(in.width) / double(g.m_last - g.m_first);

    for (size_t i = 0; i < entries.size(); ++i) {
        const tTacheFull &e = entries[i];
        tSpan span;
        span.entry = i;
        const bool before = e.Debut < dayStart;
        const bool after = endOf(e) >= nextDay;
        span.startMinute = before ? 0 : minute(e.Debut);
        span.endMinute = after ? lastOfDay : minute(endOf(e));
        span.left = g.X(span.startMinute);
        span.right = g.X(span.endMinute);
        span.drawn = span.right > span.left;
        span.startLine = span.drawn && !before;
        span.endLine = span.drawn && !e.IsRunning() && !after;
        g.m_spans.push_back(span);
    }

    // Midnight's label always shows; a later one only clear of the last
    // label shown and whole.
    int lastRight = 0;
    for (int h = 0; 60 * h <= lastOfDay; ++h) {
        const int tickMinute = 60 * h;
        if (tickMinute < g.m_first || tickMinute >= g.m_last)
            continue;
        tTick tick;
        tick.hour = h;
        tick.x = g.X(tickMinute);
        tick.label = in.timeLabel ? in.timeLabel(dayStart + qint64(tickMinute) * 60) : QString();
        const int w = in.textWidth ? in.textWidth(tick.label) : 0;
        tick.labelBox = QRect(QPoint(tick.x - w / 2, 0), QPoint(tick.x + w, 0));
        // Nor is a label cut by the strip's right edge shown.
        tick.labelShown = h == 0 || (tick.labelBox.left() > lastRight && tick.x + w / 2 <= in.width);
        if (tick.labelShown)
            lastRight = tick.labelBox.right();
        g.m_ticks.push_back(tick);
    }
    return g;
}

int DayStripGeometry::HitTest(const QPoint &point) const
{
    if (!m_bar.contains(point))
        return -1;
    for (const tSpan &span : m_spans) {
        if (span.left <= point.x() && point.x() <= span.right)
            return int(span.entry);
    }
    return -1;
}
