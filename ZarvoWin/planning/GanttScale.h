#pragma once
#include <QString>
#include <QtGlobal>
#include <limits>

// The time scale of the Gantt chart, without a window: a zoom level (a
// span of time per centimetre of screen), the time at the chart's middle,
// the chart's width, and from them where a time lies in pixels and which
// time a pixel shows. It moves the middle when the chart is zoomed,
// scrolled, panned or brought to the present moment, keeps the chart
// between 1 January 2000 and 1 January 2100 (local time), and gives the
// state of the horizontal scroll bar over that same range, in units of one
// centimetre of the level: the thumb stands at its left end when the chart
// begins in 2000 and at its right end when it ends in 2100.
class GanttScale
{
public:
    static constexpr int LevelCount = 14;
    static constexpr int FinestLevel = 0;
    static constexpr int CoarsestLevel = LevelCount - 1;
    // One week per centimetre: a new user's level and what a bad stored
    // level gives.
    static constexpr int DefaultLevel = 8;
    // A time that has no pixel: before 1970 (or 0), or outside the int
    // range at this scale. A start takes the smallest int, an end the
    // largest, so that a bar from one to the other never looks short.
    static constexpr int NoStartPixel = std::numeric_limits<int>::min();
    static constexpr int NoEndPixel = std::numeric_limits<int>::max();
    static bool HasPixel(int x) { return x != NoStartPixel && x != NoEndPixel; }

    // The screen's horizontal logical resolution (96 when it reports less
    // than 1).
    explicit GanttScale(int logicalDpiX = 96);

    // Minutes per centimetre of a level (0 .. 13); 0 outside.
    static int MinutesPerCm(int level);
    static double PixelsPerCmFor(int logicalDpiX);

    // Local midnights, 1 January 2000 and 2100: the chart and its scroll
    // bar span what lies between.
    static qint64 LowerBound();
    static qint64 UpperBound();

    int Level() const { return m_level; }
    // Sets the level (clamped to 0 .. 13) and the minutes per pixel; the
    // middle stays.
    void SetLevel(int level);
    double MinutesPerPixel() const { return m_minutesPerPixel; }
    double PixelsPerCm() const { return m_pixelsPerCm; }
    void SetLogicalDpi(int logicalDpiX);

    // 0: not placed yet.
    qint64 Centre() const { return m_centre; }
    void SetCentre(qint64 centre) { m_centre = centre; }
    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    // The time at the left edge.
    qint64 LeftTime() const;

    enum class Edge { Start, End };
    // The pixel of a time: whole minutes from the left edge divided by the
    // minutes per pixel, truncated; NoStartPixel or NoEndPixel (by `edge`)
    // when there is none.
    int TimeToPixel(qint64 time, Edge edge = Edge::Start) const;
    // The time a pixel shows.
    qint64 PixelToTime(qint64 x) const;

    // Keeps the middle so that the chart stays within 2000 .. 2100; a
    // chart wider than that range is centred between the two.
    void ClampCentre();
    // The present moment comes to a sixth of the width from the left;
    // false (nothing moves) while the width is not positive.
    bool PlaceNow(qint64 now);

    // The earliest and latest date the last paint drew (0, 0: none);
    // zooming in brings it into view.
    void SetProjectRange(qint64 start, qint64 end);
    qint64 RangeStart() const { return m_rangeStart; }
    qint64 RangeEnd() const { return m_rangeEnd; }

    // One level coarser; false at level 13. The middle stays.
    bool ZoomOut();
    // One level finer, the project range brought into view; false at 0.
    bool ZoomIn();
    // Any level; a finer one brings the project range into view as
    // zooming in does. False when the level is outside 0 .. 13.
    bool ZoomToLevel(int level);

    // --- The horizontal scroll bar, in units of one centimetre of the
    // level -----------------------------------------------------------------
    struct tScrollBar
    {
        int maximum = 0;  // the largest position: the chart ends in 2100
        int page = 0;     // half the chart's width
        int position = 0; // the chart's left edge, from 2000
        bool operator==(const tScrollBar &other) const = default;
    };
    // Range, page and position taken from the middle again.
    void UpdateScrollBar();
    const tScrollBar &ScrollBar() const { return m_bar; }
    // A scroll by `units` (not 0): the position moves within the bar's
    // range and the middle by the level's step (see StepTime); where the
    // middle stops at a bound, the position is taken from it again.
    void Scroll(int units);
    // A drag by `dx` pixels (press x - current x): the middle moves by as
    // many pixels, the content following the mouse.
    void Pan(int dx);
    // `time` moved by `units` steps of a level: 30 minutes, 1, 3, 6 or
    // 12 hours; 1, 2, 4, 7 or 14 calendar days (the local time of day
    // kept); at levels 10 to 13 the first day, 00:00, of the month 1, 3 or
    // 6 months on, or of January a year on, counted from time's month.
    static qint64 StepTime(qint64 time, int level, int units);

    // The row under a y of the chart: none above the rows or without a
    // row height; else counted from the first visible row, while below
    // the row count. -1 for none.
    static int RowAt(int y, int headerHeight, int rowHeight, int firstRow, int rowCount);

    // A stored zoom level: a whole number 0 .. 13, else DefaultLevel.
    static int ParseLevel(const QString &text);

private:
    // 64-bit pixel of a time at this scale (no sentinels).
    qint64 PixelOf(qint64 time) const;
    qint64 HalfWidthSeconds() const;
    void BringRangeIntoView();
    // The bar's position for a middle at `centre`, not clamped.
    qint64 PositionOf(qint64 centre) const;

    int m_level = DefaultLevel;
    double m_pixelsPerCm = 96 / 2.54;
    double m_minutesPerPixel = 0;
    qint64 m_centre = 0;
    int m_width = 0;
    qint64 m_rangeStart = 0;
    qint64 m_rangeEnd = 0;
    tScrollBar m_bar;
};
