#pragma once
#include <QRect>
#include <QSize>
#include <QtGlobal>
#include <array>

// The geometry of the week and day view's time grid as a plain value: how
// many pixels an hour takes at each zoom level, how high the day header is,
// how far the grid scrolls (in units of 5 pixels), where a time of day lies
// and where each day's column runs. The view keeps one and fits it to its
// client area; everything that draws or hit-tests reads it.
class CWeekGeometry
{
public:
    // Pixels per hour at zoom levels 0 to 9.
    static constexpr std::array<int, 10> HourHeights{15, 22, 30, 40, 50, 60, 90, 120, 150, 180};
    static constexpr int DefaultZoom = 5;
    // 72 units of 5 pixels: with the default zoom the grid opens at 6:00.
    static constexpr int DefaultScrollPos = 72;
    static constexpr int BaseHeaderHeight = 40;
    // The hours column at the left (x 0 to 63); hour labels end at x 59.
    static constexpr int HoursColumnWidth = 64;
    static constexpr int ScrollUnit = 5;

    // A stored zoom level; one outside 0 .. 9 (a hand-edited setting)
    // reads as the default.
    static int ZoomFromSetting(int stored);

    int zoomLevel = DefaultZoom;
    int hourHeight = HourHeights[DefaultZoom];
    int headerHeight = BaseHeaderHeight;
    bool canZoomOut = false;
    int scrollPos = DefaultScrollPos; // units of ScrollUnit pixels
    int scrollMax = 0;                // highest scroll value
    int scrollPage = 0;               // page size, units of ScrollUnit pixels

    // Fits the grid to a client `height`: when the whole day fits at the
    // zoom level the hours grow to fill it (and zooming out is pointless),
    // otherwise the hours take the zoom level's height. Then the scroll
    // range and page follow and the position is clamped.
    void Relayout(int height);
    // The highest position the grid can be scrolled to (the last page
    // shown whole), at least 0.
    int MaxScrollPos() const;
    // Sets the position within 0 .. MaxScrollPos(); true when it changed.
    bool SetScrollPos(int pos);

    // The pixel row of an instant's local time of day inside a day column
    // (0 at midnight; seconds ignored).
    static int GridRow(qint64 t, int hourHeight);
    // The same row in client coordinates, below the header and scrolled.
    int ClientRow(qint64 t) const;
    // The client row where grid row 0 (midnight) lies.
    int GridTop() const { return headerHeight - ScrollUnit * scrollPos; }

    // The day-stepping arrows shown during a drag, `arrow` in size, both
    // centred vertically in a client of `width` x `height`: the one back
    // just right of the hours column, the one forward at the right edge.
    static QRect PrevArrowRect(const QSize &arrow, int height);
    static QRect NextArrowRect(const QSize &arrow, int width, int height);

    // The columns of `dayCount` days in a client `width`: all as wide, the
    // last one reaching the right edge. Right edges are exclusive.
    static int ColumnWidth(int width, int dayCount);
    static int ColumnLeft(int column, int width, int dayCount);
    static int ColumnRight(int column, int width, int dayCount);
};
