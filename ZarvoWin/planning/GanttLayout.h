#pragma once
#include <QColor>
#include <QFontMetrics>
#include <QLine>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QtGlobal>
#include <vector>

class CConfiguration;
class CForecastRows;
class CProject;
class GanttScale;

// One row of the chart as the last layout drew it: its node, and the left
// and right pixels of what was drawn for it (right = NoStartPixel when
// nothing was).
struct tGanttProject
{
    CProject *node = nullptr;
    int left = 0;
    int right = 0;
};

// One thing to paint. What it is (`role`) tells the tests and the tooltip
// which element it draws; how it is painted follows from `kind`.
struct tGanttItem
{
    enum Kind {
        Fill,        // `rect` filled with `colour`
        PatternFill, // `rect` filled with `colour`, a white checkerboard over it
        Outline,     // `rect`'s one-pixel border in `colour`
        Line,        // `line`, solid, one pixel, in `colour`
        DottedLine,  // `line`, dotted, one pixel, in `colour`
        Polyline,    // the open line through `polygon`'s points, in `colour`
        Polygon,     // `polygon` filled and bordered in `colour`
        Dashes,      // `rect` in dashes of `colour`: from `anchor`, one dash
                     // of `unit` pixels, then dashes of 2 × `unit` with gaps of
                     // `unit`; only the part inside `rect` shows
        Text,        // `text` in `rect`, aligned by `flags`, clipped to `rect`
    };
    enum Role {
        HeaderStripe,
        DayOff,
        Selection,
        Tick,
        HeaderMark, // the short tick marks of the header
        Label,
        NowLine,
        Separator,
        PlannedPeriod,
        PlannedOutline,
        RecordedWork,
        ForecastBar,
        Diamond,
        Hourglass,
        MarkerEdge, // the line on the left slopes of a diamond or hourglass
        SingleDate,
        Link,
        LinkHead,
    };

    Kind kind = Fill;
    Role role = HeaderStripe;
    // The grid row the item belongs to; -1 for the header and background.
    int row = -1;
    QRect rect;
    QLine line;
    QPolygon polygon;
    QColor colour;
    QString text;
    int flags = 0;
    int anchor = 0;
    int unit = 0;
};

// The picture of the Gantt chart, without a window: from the scale, the
// rows of the grid beside it, the settings object (days off, the first day
// of the week, month names, date and time formats) and the present
// moment, the list of what to paint, top to bottom and back to front:
//
// - the header: a band of stripes from light blue at its bottom to white
//   at its top, a tick mark and a label per tick in its lower half, and in
//   its upper half the date of each day (up to 12 hours a centimetre), the
//   month and year of each month (up to 2 weeks), or the year (up to
//   6 months);
// - the body: days off greyed (up to a day a centimetre), the selected row,
//   the ticks' lines, the dotted line of the present moment and the lines
//   between rows;
// - per shown row: the planned period, the recorded work in dashes, the
//   forecast bars, the end marker (a diamond when nothing is to be done, an
//   hourglass otherwise) or the box of a lone date;
// - the predecessor links, in red when the successor starts before its
//   predecessor ends; an arrow from the top or the bottom for a
//   predecessor out of view, a line to the edge for a successor out of
//   view.
//
// Only the shown rows (and one more) have their dates computed; the rows
// out of view only for a link that reaches into the shown ones.
class GanttLayout
{
public:
    struct tInput
    {
        const GanttScale *scale = nullptr;
        // Null: no rows (the header and background only).
        const CForecastRows *rows = nullptr;
        const CConfiguration *config = nullptr;
        qint64 now = 0;
        // The chart's drawing area (the scroll bar below it not counted).
        int height = 0;
        QColor highlight = QColor(0, 120, 215);
        // The font of the labels.
        const QFontMetrics *metrics = nullptr;
    };

    static const QColor TickColour;
    static const QColor DayOffColour;
    static const QColor NowColour;
    static const QColor LateLinkColour;
    static constexpr int ArrowWidth = 7;
    static constexpr int ArrowLength = 5;
    static constexpr int MarkerWidth = 8;
    static constexpr int SingleDateWidth = 5;

    explicit GanttLayout(const tInput &input);

    void Build();

    const std::vector<tGanttItem> &Items() const { return m_items; }
    const std::vector<tGanttProject> &VisibleRows() const { return m_visible; }
    // The earliest and latest date drawn (0, 0: none).
    qint64 RangeStart() const { return m_rangeStart; }
    qint64 RangeEnd() const { return m_rangeEnd; }
    int HeaderHeight() const { return m_header; }
    int FirstVisibleRow() const { return m_first; }

    // The tick times of a level from the one at or before `left` to the
    // first after `right`: local hours (rounded down to the level's
    // multiple of hours), local midnights every 1, 2 or 4 days, weeks on
    // `firstDayOfWeek` (1 Sunday .. 7 Saturday), first days of months and
    // years.
    static std::vector<qint64> TickTimes(int level, qint64 left, qint64 right, int firstDayOfWeek);

private:
    struct tRowGeometry
    {
        int top = 0;    // the row's drawn band, inset from the grid's row
        int bottom = 0;
        int rowTop = 0; // the grid's row
        int rowBottom = 0;
        int Middle() const { return (top + bottom) / 2; }
    };
    void BuildHeader();
    void BuildBackground();
    void BuildRows();
    void BuildLinks();
    // Draws (or with `draw` false only measures) a row; its left and right
    // pixels.
    tGanttProject LayOutRow(CProject *node, int row, const tRowGeometry &geometry, bool selected, bool draw);
    tRowGeometry GeometryOf(int row) const;
    void AddLink(const tGanttProject &from, const tRowGeometry &fromRow, const tGanttProject &to,
                 const tRowGeometry &toRow, int row);
    void AddArrowFromEdge(const tGanttProject &to, const tRowGeometry &toRow, bool fromAbove, int row);
    void AddHead(int x, int y, bool down, const QColor &colour, int row);
    static bool LinkCounts(const CProject *predecessor);

    int Pixel(qint64 time) const;
    bool Visible(int left, int right) const;
    QRect Span(int left, int right, int top, int bottom) const;
    void Extend(qint64 start, qint64 end);
    void Add(const tGanttItem &item) { m_items.push_back(item); }

    tInput m_in;
    int m_width = 0;
    int m_header = 0;
    int m_rowHeight = 0;
    int m_first = 0;
    int m_count = 0;
    int m_last = 0; // one past the last shown row
    int m_selected = -1;
    int m_bodyTop = 0;
    std::vector<qint64> m_ticks;
    std::vector<tGanttItem> m_items;
    std::vector<tGanttProject> m_visible;
    std::vector<tRowGeometry> m_visibleGeometry;
    qint64 m_rangeStart = 0;
    qint64 m_rangeEnd = 0;
    // While measuring a row out of view, nothing is added.
    bool m_drawing = true;
};
