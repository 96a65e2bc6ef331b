#pragma once
#include "tTacheFull.h"

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

// Where the day strip draws what: the part of the day it shows (from a
// little before the first entry to the later of the last entry and now),
// the scale, each entry's bar with its start and end lines, the hour ticks
// and which of their labels fit. Minutes are counted from the day's start
// as time goes, not read on the wall clock: a day with a clock change has
// 23 or 25 hours, and an entry in the autumn's repeated hour, or across
// the spring's skipped one, keeps its length. The texts are measured by
// the caller; nothing here needs a window.
class DayStripGeometry
{
public:
    struct tInput
    {
        // Today's entries in start order (a running entry has Fin 0).
        const std::vector<tTacheFull> *entries = nullptr;
        qint64 now = 0;
        // The day shown.
        QDate day;
        // The client width and the bar area below the label band.
        int width = 0;
        QRect bar;
        // The label of an hour's tick: the time of day at that instant in
        // the locale's form; and the width of a text in the control's font.
        std::function<QString(qint64 time)> timeLabel;
        std::function<int(const QString &)> textWidth;
    };

    // One entry's span; `drawn` when it is at least a pixel wide.
    struct tSpan
    {
        size_t entry = 0;
        int startMinute = 0;
        int endMinute = 0;
        int left = 0;
        int right = 0;
        bool drawn = false;
        bool startLine = false;
        bool endLine = false;
    };
    struct tTick
    {
        // Hours since the day's start (on a day with a clock change, not
        // the hour its label reads).
        int hour = 0;
        int x = 0;
        QString label;
        QRect labelBox;
        bool labelShown = false;
    };

    static DayStripGeometry Compute(const tInput &input);
    // The whole minutes from `dayStart` to `time`.
    static int MinuteOfDay(qint64 time, qint64 dayStart);

    int FirstMinute() const { return m_first; }
    int LastMinute() const { return m_last; }
    double Scale() const { return m_scale; }
    bool NoEntries() const { return m_noEntries; }
    const std::vector<tSpan> &Spans() const { return m_spans; }
    const std::vector<tTick> &Ticks() const { return m_ticks; }
    // The pixel of a minute of the day.
    int X(int minute) const;
    // The first entry, in list order, whose span holds the point's x, for a
    // point inside the bar area; -1 for none.
    int HitTest(const QPoint &point) const;

private:
    int m_first = 0;
    int m_last = 0;
    double m_scale = 0;
    bool m_noEntries = true;
    QRect m_bar;
    std::vector<tSpan> m_spans;
    std::vector<tTick> m_ticks;
};
