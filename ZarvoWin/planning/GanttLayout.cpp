#include "GanttLayout.h"

#include "CConfiguration.h"
#include "CForecastRows.h"
#include "CProject.h"
#include "CProjectTree.h"
#include "ColorRef.h"
#include "Formatter.h"
#include "GanttScale.h"
#include "HeaderGradient.h"
#include "LocalTime.h"

#include <QHash>
#include <QStringList>
#include <QSet>
#include <algorithm>
#include <array>
#include <limits>

namespace {

using Platform::Formatter;
namespace LocalTime = Platform::LocalTime;
using Edge = GanttScale::Edge;

constexpr int NoLeft = std::numeric_limits<int>::max();
// However the scale is set, no level shows more ticks than this.
constexpr int MaxTicks = 5000;
// Items are kept this far around the chart: what lies beyond is clipped.
constexpr int ClipMargin = 10;

constexpr std::array<int, 5> StepMinutes{30, 60, 180, 360, 720};
constexpr std::array<int, 5> StepDays{1, 2, 4, 7, 14};

int floorMod(qint64 value, int divisor)
{
    return int(((value % divisor) + divisor) % divisor);
}

// 1 Sunday .. 7 Saturday.
int weekdayOf(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}

qint64 nodeKey(int projectId, int activityId)
{
    return (qint64(projectId) << 32) | quint32(activityId);
}

} // namespace

const QColor GanttLayout::TickColour(125, 175, 255);
const QColor GanttLayout::DayOffColour(240, 240, 240);
const QColor GanttLayout::NowColour(240, 199, 69);
const QColor GanttLayout::LateLinkColour(255, 0, 0);

GanttLayout::GanttLayout(const tInput &input)
    : m_in(input)
{
}

// ---------------------------------------------------------------- helpers

int GanttLayout::Pixel(qint64 time) const
{
    return m_in.scale->TimeToPixel(time, Edge::Start);
}

bool GanttLayout::Visible(int left, int right) const
{
    return right >= -ClipMargin && left <= m_width + ClipMargin;
}

QRect GanttLayout::Span(int left, int right, int top, int bottom) const
{
    const int l = std::clamp(left, -ClipMargin, m_width + ClipMargin);
    const int r = std::clamp(right, -ClipMargin, m_width + ClipMargin);
    return QRect(QPoint(l, top), QPoint(r, bottom));
}

void GanttLayout::Extend(qint64 start, qint64 end)
{
    if (!m_drawing)
        return;
    if (m_rangeStart == 0 || start < m_rangeStart)
        m_rangeStart = start;
    m_rangeEnd = std::max(m_rangeEnd, end);
}

std::vector<qint64> GanttLayout::TickTimes(int level, qint64 left, qint64 right, int firstDayOfWeek)
{
    std::vector<qint64> ticks;
    const QDateTime local = LocalTime::toLocal(left);
    QDate date = local.date();
    if (!date.isValid())
        return ticks;
    const auto push = [&ticks, right](qint64 t) {
        if (ticks.empty() || t > ticks.back())
            ticks.push_back(t);
        return t <= right && ticks.size() < size_t(MaxTicks);
    };
    if (level < 5) {
        // Wall-clock hours: a tick keeps its hour across a change of the
        // clock.
        const int step = StepMinutes[size_t(std::max(level, 0))];
        const QTime time = local.time();
        int minutes = level == 0 ? time.hour() * 60 + (time.minute() / 30) * 30
                                 : (time.hour() - time.hour() % (step / 60)) * 60;
        while (push(LocalTime::atMinute(date, minutes))) {
            minutes += step;
            if (minutes >= 1440) {
                minutes -= 1440;
                date = date.addDays(1);
            }
        }
        return ticks;
    }
    if (level < 10) {
        const int step = StepDays[size_t(level - 5)];
        if (level == 6 || level == 7)
            date = date.addDays(-floorMod(date.toJulianDay(), step));
        if (level >= 8) {
            while (weekdayOf(date) != firstDayOfWeek)
                date = date.addDays(-1);
            // Every other week, the same ones wherever the chart starts.
            const QDate reference = QDate(2000, 1, 2).addDays(std::clamp(firstDayOfWeek, 1, 7) - 1);
            if (level == 9 && floorMod((date.toJulianDay() - reference.toJulianDay()) / 7, 2) != 0)
                date = date.addDays(-7);
        }
        while (push(LocalTime::midnight(date)))
            date = date.addDays(step);
        return ticks;
    }
    const int step = level == 10 ? 1 : level == 11 ? 3 : level == 12 ? 6 : 12;
    date = QDate(date.year(), ((date.month() - 1) / step) * step + 1, 1);
    while (push(LocalTime::midnight(date)))
        date = date.addMonths(step);
    return ticks;
}

// ---------------------------------------------------------------- build

void GanttLayout::Build()
{
    m_items.clear();
    m_visible.clear();
    m_visibleGeometry.clear();
    m_rangeStart = m_rangeEnd = 0;
    m_width = m_in.scale ? m_in.scale->Width() : 0;
    if (m_width <= 0 || !m_in.scale || !m_in.config)
        return;
    const CForecastRows *rows = m_in.rows;
    m_header = rows ? std::max(rows->HeaderHeight(), 0) : 0;
    m_count = rows ? rows->RowCount() : 0;
    m_rowHeight = m_count > 0 ? std::max(rows->RowHeight(), 0) : 0;
    m_first = rows ? std::clamp(rows->FirstVisibleRow(), 0, std::max(m_count - 1, 0)) : 0;
    m_last = rows ? std::min(m_count, m_first + rows->RowsPerPage() + 1) : 0;
    m_selected = rows ? rows->SelectedRow() : -1;
    m_bodyTop = m_count > 0 ? rows->RowRectangle(m_first).top() : m_header;
    m_ticks = TickTimes(m_in.scale->Level(), m_in.scale->LeftTime(), m_in.scale->PixelToTime(m_width),
                        m_in.config->firstDayOfWeek);
    BuildHeader();
    BuildBackground();
    if (m_count > 0 && m_rowHeight > 0) {
        BuildRows();
        BuildLinks();
    }
}

void GanttLayout::BuildHeader()
{
    const int h = m_header;
    if (h <= 0)
        return;
    // One-pixel stripes from the bottom line up, white at the top.
    for (int i = 0; i < h; ++i) {
        tGanttItem stripe;
        stripe.role = tGanttItem::HeaderStripe;
        stripe.rect = QRect(0, h - 1 - i, m_width, 1);
        stripe.colour = ColorRefToQColor(HeaderGradientColor(100 * i / h));
        Add(stripe);
    }

    const int level = m_in.scale->Level();
    const CConfiguration &config = *m_in.config;
    const double cm = m_in.scale->PixelsPerCm();
    const int half = h / 2;
    const auto width = [this](const QString &text) {
        return m_in.metrics ? m_in.metrics->horizontalAdvance(text) : 0;
    };
    const auto mark = [this](int x, int top, int bottom) {
        tGanttItem line;
        line.kind = tGanttItem::Line;
        line.role = tGanttItem::HeaderMark;
        line.line = QLine(x, top, x, bottom);
        line.colour = Qt::black;
        Add(line);
    };
    const auto label = [this](const QRect &rect, const QString &text, int flags) {
        tGanttItem item;
        item.kind = tGanttItem::Text;
        item.role = tGanttItem::Label;
        item.rect = rect;
        item.text = text;
        item.flags = flags | Qt::TextSingleLine;
        item.colour = Qt::black;
        Add(item);
    };
    const int centred = Qt::AlignCenter;
    const int leftAligned = Qt::AlignLeft | Qt::AlignVCenter;
    const auto monthName = [&config](const QDate &date, bool full) {
        const size_t month = size_t(date.month() - 1);
        return full ? config.monthNames[month] : config.shortMonthNames[month];
    };
    // A label on a tick takes a few pixels more than its text; a label in
    // a cell needs a pixel of room on each side.
    constexpr int LabelPadding = 6;
    constexpr int CellPadding = 2;
    const auto fitsTick = [&width](const QString &text, int room) { return width(text) + LabelPadding <= room; };
    const auto fitsCell = [&width](const QString &text, int room) { return width(text) + CellPadding <= room; };
    const auto nextPixel = [this, cm](size_t i, int x) {
        return i + 1 < m_ticks.size() ? Pixel(m_ticks[i + 1]) : x + int(cm);
    };
    const auto shown = [this](int x, int next) { return GanttScale::HasPixel(x) && Visible(x - 200, std::max(next, x) + 200); };

    // The months of the lower half are all written in full, or all
    // abbreviated when one of the full names shown would not fit.
    bool fullMonths = true;
    if (level >= 10 && level < 13) {
        for (size_t i = 0; i < m_ticks.size() && fullMonths; ++i) {
            const int x = Pixel(m_ticks[i]);
            const int next = nextPixel(i, x);
            const QString full = monthName(LocalTime::localDate(m_ticks[i]), true);
            if (shown(x, next))
                fullMonths = level == 10 ? fitsCell(full, next - x) : fitsTick(full, next - x);
        }
    }

    // Lower half: one label per tick. A label centred on its tick that
    // would run into the one before it is left out.
    int labelsEnd = std::numeric_limits<int>::min();
    for (size_t i = 0; i < m_ticks.size(); ++i) {
        const int x = Pixel(m_ticks[i]);
        const int next = nextPixel(i, x);
        if (!shown(x, next))
            continue;
        const QDateTime local = LocalTime::toLocal(m_ticks[i]);
        const QDate date = local.date();
        const auto onTick = [&](const QString &text) {
            const int w = width(text) + LabelPadding;
            if (x - w / 2 < labelsEnd)
                return;
            labelsEnd = x - w / 2 + w;
            label(QRect(x - w / 2, half, w, h - half), text, centred);
        };
        // A label in the cell from its tick to the next; none where it
        // would not fit.
        const auto inCell = [&](const QString &text) {
            mark(x, half, h - 1);
            if (fitsCell(text, next - x))
                label(QRect(x, half, std::max(next - x, 1), h - half), text, centred);
        };
        if (level < 5) {
            const QString text = config.FormatLocaleTime(m_ticks[i], false);
            // Labels as wide as a tick's centimetre leave every other one
            // out, keeping those on full (or even) hours.
            const int minuteOfDay = local.time().hour() * 60 + local.time().minute();
            if (width(text) + LabelPadding >= cm && (minuteOfDay / StepMinutes[size_t(level)]) % 2 != 0)
                continue;
            onTick(text);
        } else if (level == 5) {
            inCell(Formatter::sprintf(u"%02d", {date.day()}));
        } else if (level < 10) {
            onTick(Formatter::sprintf(u"%02d", {date.day()}));
        } else if (level == 10) {
            inCell(monthName(date, fullMonths));
        } else if (level < 13) {
            onTick(monthName(date, fullMonths));
        } else {
            inCell(Formatter::sprintf(u"%4d", {date.year()}));
        }
    }

    // Upper half: the day, the month or the year each tick belongs to,
    // from the mark at its start up to the next: the day's short date, its
    // day and month or its day alone, the month abbreviated or the year
    // alone where the whole does not fit,
    // nothing where none does.
    if (level == 13)
        return;
    const qint64 right = m_in.scale->PixelToTime(m_width);
    QDate date = LocalTime::localDate(m_in.scale->LeftTime());
    if (!date.isValid())
        return;
    if (level >= 5)
        date = QDate(date.year(), level < 10 ? date.month() : 1, 1);
    const auto advance = [level](const QDate &d) {
        return level < 5 ? d.addDays(1) : level < 10 ? d.addMonths(1) : d.addYears(1);
    };
    constexpr int MarkGap = 5;
    for (int guard = 0; guard < MaxTicks; ++guard) {
        const qint64 t = LocalTime::midnight(date);
        if (t > right)
            break;
        const QDate following = advance(date);
        const int x = Pixel(t);
        const int next = Pixel(LocalTime::midnight(following));
        if (GanttScale::HasPixel(x) && GanttScale::HasPixel(next) && Visible(x, next)) {
            QStringList texts;
            if (level < 5) {
                // Half a day a centimetre leaves a day too narrow for its
                // short date: the day and month, then the day alone, still
                // tell which day the hours belong to.
                texts << config.FormatDate(t, true) << config.FormatDate(t, false)
                      << config.FormatDayMonth(date, false) << Formatter::sprintf(u"%d", {date.day()});
            } else if (level < 10) {
                texts << Formatter::sprintf(u"%s %4d", {monthName(date, true), date.year()})
                      << Formatter::sprintf(u"%s %4d", {monthName(date, false), date.year()})
                      << Formatter::sprintf(u"%4d", {date.year()});
            } else {
                texts << Formatter::sprintf(u"%4d", {date.year()});
            }
            mark(x, 0, half);
            const int room = next - x - MarkGap;
            const auto fitting = std::find_if(texts.cbegin(), texts.cend(),
                                              [&width, room](const QString &text) { return width(text) + MarkGap <= room; });
            if (fitting != texts.cend())
                label(QRect(x + MarkGap, 0, std::max(room, 1), half), *fitting, leftAligned);
        }
        date = following;
    }
}

void GanttLayout::BuildBackground()
{
    const int bottom = m_in.height - 1;
    const int level = m_in.scale->Level();
    if (bottom < m_header)
        return;
    // Days off, at the levels of a day or less.
    if (level <= 5) {
        for (size_t i = 0; i + 1 < m_ticks.size(); ++i) {
            if (m_in.config->IsWorkingDay(LocalTime::localDate(m_ticks[i])))
                continue;
            size_t end = i + 1;
            while (end + 1 < m_ticks.size() && !m_in.config->IsWorkingDay(LocalTime::localDate(m_ticks[end])))
                ++end;
            const int x1 = Pixel(m_ticks[i]);
            const int x2 = Pixel(m_ticks[end]);
            if (GanttScale::HasPixel(x1) && GanttScale::HasPixel(x2) && Visible(x1, x2)) {
                tGanttItem grey;
                grey.role = tGanttItem::DayOff;
                grey.rect = Span(x1, x2 - 1, m_header, bottom);
                grey.colour = DayOffColour;
                Add(grey);
            }
            i = end - 1;
        }
    }
    // The selected row, across the days off.
    if (m_rowHeight > 0 && m_selected >= m_first && m_selected < m_count) {
        const tRowGeometry row = GeometryOf(m_selected);
        if (row.rowTop <= bottom) {
            tGanttItem band;
            band.role = tGanttItem::Selection;
            band.row = m_selected;
            band.rect = QRect(0, row.rowTop, m_width, m_rowHeight);
            band.colour = m_in.highlight;
            Add(band);
        }
    }
    for (qint64 t : m_ticks) {
        const int x = Pixel(t);
        if (x < 0 || x >= m_width)
            continue;
        tGanttItem tick;
        tick.kind = tGanttItem::Line;
        tick.role = tGanttItem::Tick;
        tick.line = QLine(x, m_header, x, bottom);
        tick.colour = TickColour;
        Add(tick);
    }
    if (m_rowHeight > 0) {
        for (int y = m_bodyTop + m_rowHeight - 1; y < bottom; y += m_rowHeight) {
            tGanttItem separator;
            separator.kind = tGanttItem::Line;
            separator.role = tGanttItem::Separator;
            separator.line = QLine(0, y, m_width - 1, y);
            separator.colour = DayOffColour;
            Add(separator);
        }
    }
    const int now = Pixel(m_in.now);
    if (now >= 0 && now < m_width) {
        tGanttItem line;
        line.kind = tGanttItem::DottedLine;
        line.role = tGanttItem::NowLine;
        line.line = QLine(now, m_header, now, bottom);
        line.colour = NowColour;
        Add(line);
    }
}

// ---------------------------------------------------------------- rows

GanttLayout::tRowGeometry GanttLayout::GeometryOf(int row) const
{
    tRowGeometry g;
    g.rowTop = m_bodyTop + (row - m_first) * m_rowHeight;
    g.rowBottom = g.rowTop + m_rowHeight - 2;
    g.top = g.rowTop + 2;
    g.bottom = std::max(g.rowBottom - 2, g.top);
    return g;
}

void GanttLayout::BuildRows()
{
    for (int row = m_first; row < m_last; ++row) {
        CProject *node = m_in.rows->RowNode(row);
        const tRowGeometry geometry = GeometryOf(row);
        tGanttProject drawn{node, NoLeft, GanttScale::NoStartPixel};
        if (node && !node->IsRoot())
            drawn = LayOutRow(node, row, geometry, row == m_selected, true);
        m_visible.push_back(drawn);
        m_visibleGeometry.push_back(geometry);
    }
}

tGanttProject GanttLayout::LayOutRow(CProject *node, int row, const tRowGeometry &g, bool selected, bool draw)
{
    m_drawing = draw;
    tGanttProject result{node, NoLeft, GanttScale::NoStartPixel};
    const auto extend = [&result](int left, int right) {
        result.left = std::min(result.left, left);
        result.right = std::max(result.right, right);
    };
    const QColor colour = ColorRefToQColor(node->GetColor());
    const auto add = [this, draw, row, &colour](tGanttItem item) {
        if (!draw)
            return;
        item.row = row;
        if (!item.colour.isValid())
            item.colour = colour;
        Add(item);
    };
    const bool hasChildren = node->GetChildCount() > 0;
    const bool completed = node->IsCompleted();
    const bool inactive = node->IsInactive();
    const tForecast &forecast = node->Forecast();
    const qint64 plannedStart = node->GetPlannedStart();
    const qint64 fixedEnd = node->GetFixedEnd();

    // A bar between two dates: the pixels of the start and of the end
    // (exclusive), at least one pixel wide; false when a date has none.
    const auto bar = [this](qint64 start, qint64 end, int &x1, int &x2) {
        if (start <= 0 || end < start)
            return false;
        x1 = Pixel(start);
        x2 = m_in.scale->TimeToPixel(end, Edge::End);
        if (!GanttScale::HasPixel(x1) || !GanttScale::HasPixel(x2))
            return false;
        x2 = std::max(x2, x1 + 1);
        return true;
    };

    // The planned period, checkered; its outline comes last.
    QRect outline;
    if (plannedStart > 0 && fixedEnd > 0 && plannedStart <= fixedEnd) {
        int x1 = 0, x2 = 0;
        if (bar(plannedStart, fixedEnd, x1, x2)) {
            if (Visible(x1, x2)) {
                tGanttItem period;
                period.kind = tGanttItem::PatternFill;
                period.role = tGanttItem::PlannedPeriod;
                period.rect = Span(x1 + 1, x2 - 1, g.top, g.bottom);
                if (x2 - 1 >= x1 + 1)
                    add(period);
                outline = Span(x1, x2 - 1, g.top, g.bottom);
            }
            extend(x1, x2);
            Extend(plannedStart, fixedEnd);
        }
    }

    // Recorded work in dashes, anchored at the row's earliest recorded
    // start so that the upper and the full bars of a parent line up.
    const qint64 ownStart = node->GetActualStart();
    const qint64 ownEnd = node->GetActualEnd();
    const qint64 childrenStart = hasChildren ? node->GetChildrenActualStart() : 0;
    const qint64 childrenEnd = hasChildren ? node->GetChildrenActualEnd() : 0;
    int anchor = 0;
    {
        qint64 earliest = ownStart > 0 && ownEnd > ownStart ? ownStart : 0;
        if (childrenStart > 0 && childrenEnd > childrenStart && (earliest == 0 || childrenStart < earliest))
            earliest = childrenStart;
        anchor = earliest > 0 ? Pixel(earliest) : 0;
    }
    const int unit = std::max(1, int(m_in.scale->PixelsPerCm() / 15));
    bool recorded = false;
    const auto dashes = [&](qint64 start, qint64 end, bool upperHalf) {
        int x1 = 0, x2 = 0;
        if (end <= start || !bar(start, end, x1, x2))
            return;
        recorded = true;
        if (Visible(x1, x2)) {
            tGanttItem item;
            item.kind = tGanttItem::Dashes;
            item.role = tGanttItem::RecordedWork;
            item.rect = Span(x1, x2 - 1, g.top, upperHalf ? g.Middle() : g.bottom);
            item.anchor = GanttScale::HasPixel(anchor) ? anchor : x1;
            item.unit = unit;
            add(item);
        }
        extend(x1, x2);
        Extend(start, end);
    };
    if (hasChildren)
        dashes(childrenStart, childrenEnd, true);
    dashes(ownStart, ownEnd, false);

    // The forecast: the node's own period in full, a parent's whole range
    // in the upper half.
    bool forecastDrawn = false;
    const auto solid = [&](qint64 start, qint64 end, bool upperHalf) {
        int x1 = 0, x2 = 0;
        if (end <= start || !bar(start, end, x1, x2))
            return;
        forecastDrawn = true;
        if (Visible(x1, x2)) {
            tGanttItem item;
            item.role = tGanttItem::ForecastBar;
            item.rect = Span(x1, x2 - 1, g.top, upperHalf ? g.Middle() : g.bottom);
            add(item);
        }
        extend(x1, x2);
        Extend(start, end);
    };
    if (!completed && !inactive) {
        if (!hasChildren || !forecast.bModeAuto)
            solid(node->m_computedStart, node->RaiseToForecastStart(), false);
        if (hasChildren)
            solid(node->GetForecastStart(), node->GetForecastEnd(), true);
    }

    // The end marker, where no forecast bar shows the end.
    if (!forecastDrawn && !inactive) {
        const qint64 end = node->GetEndDate();
        const int x = end > 1 ? Pixel(end) : GanttScale::NoStartPixel;
        const bool diamond = node->HasNoWork();
        if (GanttScale::HasPixel(x) && (diamond || !(completed && recorded))) {
            const int top = g.rowTop + 3;
            const int bottom = g.rowBottom - 4 > top ? g.rowBottom - 4 : top + 1;
            const int mid = (top + bottom) / 2;
            const int w = MarkerWidth / 2;
            const QColor edge = selected ? m_in.highlight : QColor(Qt::white);
            if (Visible(x - w, x + w)) {
                tGanttItem shape;
                shape.kind = tGanttItem::Polygon;
                tGanttItem slopes;
                slopes.kind = tGanttItem::Polyline;
                slopes.role = tGanttItem::MarkerEdge;
                slopes.colour = edge;
                if (diamond) {
                    shape.role = tGanttItem::Diamond;
                    shape.polygon = QPolygon({QPoint(x, top), QPoint(x + w, mid), QPoint(x, bottom), QPoint(x - w, mid)});
                    add(shape);
                    slopes.polygon = QPolygon({QPoint(x, top), QPoint(x - w, mid), QPoint(x, bottom)});
                } else {
                    shape.role = tGanttItem::Hourglass;
                    shape.polygon = QPolygon({QPoint(x - w, top), QPoint(x + w, top), QPoint(x, mid)});
                    add(shape);
                    shape.polygon = QPolygon({QPoint(x, mid), QPoint(x + w, bottom), QPoint(x - w, bottom)});
                    add(shape);
                    slopes.polygon = QPolygon({QPoint(x - w, top), QPoint(x, mid), QPoint(x - w, bottom)});
                }
                add(slopes);
            }
            result.left = x - 4;
            result.right = x;
            Extend(end, end);
        }
    }

    // A lone date (or a fixed end before the planned start): a small box,
    // the fixed end first.
    const bool lone = (plannedStart > 0) != (fixedEnd > 0) || (plannedStart > 0 && fixedEnd < plannedStart);
    if (lone) {
        const qint64 date = fixedEnd > 0 ? fixedEnd : plannedStart;
        const int x = Pixel(date);
        if (GanttScale::HasPixel(x)) {
            const int half = SingleDateWidth / 2;
            if (Visible(x - half, x + half)) {
                const QRect box = Span(x - half, x + half, g.top, g.bottom);
                tGanttItem item;
                item.role = tGanttItem::SingleDate;
                item.rect = box;
                item.colour = Qt::black;
                add(item);
                item.rect = box.adjusted(1, 1, -1, -1);
                item.colour = Qt::white;
                add(item);
                item.rect = box.adjusted(2, 2, -2, -2);
                item.colour = colour;
                if (item.rect.isValid())
                    add(item);
            }
            extend(x - half, x + half);
            Extend(date, date);
        }
    }

    if (!outline.isNull()) {
        tGanttItem item;
        item.kind = tGanttItem::Outline;
        item.role = tGanttItem::PlannedOutline;
        item.rect = outline;
        item.colour = Qt::black;
        add(item);
        if (outline.width() > 2 && outline.height() > 2) {
            item.rect = outline.adjusted(1, 1, -1, -1);
            item.colour = Qt::white;
            add(item);
        }
    }
    m_drawing = true;
    return result;
}

// ---------------------------------------------------------------- links

bool GanttLayout::LinkCounts(const CProject *predecessor)
{
    if (!predecessor || predecessor->IsRoot())
        return false;
    if (predecessor->Forecast().Status == tForecast::StatusInactive)
        return false;
    return predecessor->IsTopLevel() || !predecessor->GetParent()->IsInactive();
}

namespace {

bool dependsOnPredecessors(const CProject *node)
{
    if (!node || node->Predecessors().empty())
        return false;
    const int type = node->Forecast().TypeDateDebut;
    return type == 2 || type == 3;
}

} // namespace

void GanttLayout::BuildLinks()
{
    QHash<const CProject *, int> visibleIndex;
    QSet<qint64> visibleKeys;
    for (size_t i = 0; i < m_visible.size(); ++i) {
        const CProject *node = m_visible[i].node;
        if (node && !node->IsRoot()) {
            visibleIndex.insert(node, int(i));
            visibleKeys.insert(nodeKey(node->ProjectId(), node->ActivityId()));
        }
    }
    // The predecessors out of view of the shown successors: where they are.
    QHash<const CProject *, int> hiddenRows;
    for (const tGanttProject &row : m_visible) {
        if (!dependsOnPredecessors(row.node) || row.right == GanttScale::NoStartPixel || !row.node->Store())
            continue;
        for (const CPredecessor &link : row.node->Predecessors()) {
            const CProject *predecessor = link.GetNode(*row.node->Store());
            if (predecessor && !visibleIndex.contains(predecessor))
                hiddenRows.insert(predecessor, -1);
        }
    }

    // One walk over the rows out of view: the rows of those predecessors,
    // and the successors out of view of a shown predecessor (only their
    // links are read, and the dates of those they reach).
    struct tHiddenLink
    {
        int from; // index in the shown rows
        int row;  // the successor's grid row
        CProject *node;
    };
    std::vector<tHiddenLink> hiddenSuccessors;
    if (!visibleIndex.isEmpty()) {
        for (int row = 0; row < m_count; ++row) {
            if (row == m_first) {
                row = m_last - 1;
                continue;
            }
            CProject *node = m_in.rows->RowNode(row);
            if (!node)
                continue;
            if (!hiddenRows.isEmpty()) {
                auto it = hiddenRows.find(node);
                if (it != hiddenRows.end())
                    it.value() = row;
            }
            if (!dependsOnPredecessors(node) || !node->Store())
                continue;
            for (const CPredecessor &link : node->Predecessors()) {
                if (!visibleKeys.contains(nodeKey(link.IdProject, link.IdActivity)))
                    continue;
                const CProject *predecessor = link.GetNode(*node->Store());
                if (!LinkCounts(predecessor))
                    continue;
                const int from = visibleIndex.value(predecessor, -1);
                if (from >= 0 && m_visible[size_t(from)].right != GanttScale::NoStartPixel)
                    hiddenSuccessors.push_back({from, row, node});
            }
        }
    }

    // Links into the shown rows.
    for (size_t i = 0; i < m_visible.size(); ++i) {
        const tGanttProject &to = m_visible[i];
        if (!dependsOnPredecessors(to.node) || to.right == GanttScale::NoStartPixel || !to.node->Store())
            continue;
        const int row = m_first + int(i);
        for (const CPredecessor &link : to.node->Predecessors()) {
            const CProject *predecessor = link.GetNode(*to.node->Store());
            if (!LinkCounts(predecessor))
                continue;
            const int from = visibleIndex.value(predecessor, -1);
            if (from >= 0) {
                const tGanttProject &source = m_visible[size_t(from)];
                if (source.right != GanttScale::NoStartPixel)
                    AddLink(source, m_visibleGeometry[size_t(from)], to, m_visibleGeometry[i], row);
                continue;
            }
            const int hiddenRow = hiddenRows.value(predecessor, -1);
            if (hiddenRow >= 0)
                AddArrowFromEdge(to, m_visibleGeometry[i], hiddenRow < m_first, row);
        }
    }

    // Lines from shown predecessors to the successors out of view, without
    // a head, up or down to the edge of the body.
    for (const tHiddenLink &link : hiddenSuccessors) {
        const tRowGeometry geometry = GeometryOf(link.row);
        const tGanttProject target = LayOutRow(link.node, link.row, geometry, false, false);
        if (target.right == GanttScale::NoStartPixel)
            continue;
        const tGanttProject &source = m_visible[size_t(link.from)];
        const int y = m_visibleGeometry[size_t(link.from)].Middle();
        const int x1 = std::clamp(source.right, -ClipMargin, m_width + ClipMargin);
        const int x2 = std::clamp(target.left + 4, -ClipMargin, m_width + ClipMargin);
        const int edge = link.row < m_first ? m_header + 1 : m_in.height - 1;
        tGanttItem line;
        line.kind = tGanttItem::Polyline;
        line.role = tGanttItem::Link;
        line.row = m_first + link.from;
        line.polygon = QPolygon({QPoint(x1, y), QPoint(x2, y), QPoint(x2, edge)});
        line.colour = target.left + 4 < source.right ? LateLinkColour : QColor(Qt::black);
        Add(line);
    }
}

void GanttLayout::AddHead(int x, int y, bool down, const QColor &colour, int row)
{
    const int half = ArrowWidth / 2;
    const int base = down ? y - (ArrowLength - 1) : y + (ArrowLength - 1);
    tGanttItem head;
    head.kind = tGanttItem::Polygon;
    head.role = tGanttItem::LinkHead;
    head.row = row;
    head.polygon = QPolygon({QPoint(x - half, base), QPoint(x + half, base), QPoint(x, y)});
    head.colour = colour;
    Add(head);
}

void GanttLayout::AddLink(const tGanttProject &from, const tRowGeometry &fromRow, const tGanttProject &to,
                          const tRowGeometry &toRow, int row)
{
    const int x1 = from.right;
    const int x2 = to.left + 4;
    const QColor colour = x2 < x1 ? LateLinkColour : QColor(Qt::black);
    const bool fromAbove = fromRow.rowTop < toRow.rowTop;
    const int y = fromRow.Middle();
    const int end = fromAbove ? toRow.top : toRow.bottom;
    const int cx1 = std::clamp(x1, -ClipMargin, m_width + ClipMargin);
    const int cx2 = std::clamp(x2, -ClipMargin, m_width + ClipMargin);
    tGanttItem line;
    line.kind = tGanttItem::Polyline;
    line.role = tGanttItem::Link;
    line.row = row;
    line.polygon = QPolygon({QPoint(cx1, y), QPoint(cx2, y), QPoint(cx2, end)});
    line.colour = colour;
    Add(line);
    AddHead(cx2, end, fromAbove, colour, row);
}

void GanttLayout::AddArrowFromEdge(const tGanttProject &to, const tRowGeometry &toRow, bool fromAbove, int row)
{
    const int x = std::clamp(to.left + 4, -ClipMargin, m_width + ClipMargin);
    const int start = fromAbove ? m_header + 1 : m_in.height - 1;
    const int end = fromAbove ? toRow.top : toRow.bottom;
    tGanttItem line;
    line.kind = tGanttItem::Polyline;
    line.role = tGanttItem::Link;
    line.row = row;
    line.polygon = QPolygon({QPoint(x, start), QPoint(x, end)});
    line.colour = Qt::black;
    Add(line);
    AddHead(x, end, fromAbove, Qt::black, row);
}
