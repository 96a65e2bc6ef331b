#include "GanttScale.h"

#include "LocalTime.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, GanttScale::LevelCount> MinutesPerCmTable{
    30, 60, 180, 360, 720, 1440, 2880, 5760, 10080, 20160, 43200, 131400, 262800, 525600};

// The step of the levels counted in minutes (0 .. 4) and in days (5 .. 9).
constexpr std::array<int, 5> StepMinutes{30, 60, 180, 360, 720};
constexpr std::array<int, 5> StepDays{1, 2, 4, 7, 14};
// The step of the levels counted in months (10 .. 12).
constexpr std::array<int, 3> StepMonths{1, 3, 6};

qint64 localMidnight(int year, int month, int day)
{
    return Platform::LocalTime::midnight(QDate(year, month, day));
}

} // namespace

GanttScale::GanttScale(int logicalDpiX)
{
    SetLogicalDpi(logicalDpiX);
}

int GanttScale::MinutesPerCm(int level)
{
    return level >= 0 && level < LevelCount ? MinutesPerCmTable[size_t(level)] : 0;
}

double GanttScale::PixelsPerCmFor(int logicalDpiX)
{
    return (logicalDpiX < 1 ? 96 : logicalDpiX) / 2.54;
}

qint64 GanttScale::LowerBound()
{
    return localMidnight(2000, 1, 1);
}

qint64 GanttScale::UpperBound()
{
    return localMidnight(2100, 1, 1);
}

void GanttScale::SetLogicalDpi(int logicalDpiX)
{
    m_pixelsPerCm = PixelsPerCmFor(logicalDpiX);
    SetLevel(m_level);
}

void GanttScale::SetLevel(int level)
{
    m_level = std::clamp(level, FinestLevel, CoarsestLevel);
    m_minutesPerPixel = MinutesPerCm(m_level) / m_pixelsPerCm;
}

qint64 GanttScale::HalfWidthSeconds() const
{
    return qint64(double(m_width / 2) * m_minutesPerPixel * 60.0);
}

qint64 GanttScale::LeftTime() const
{
    return m_centre - HalfWidthSeconds();
}

qint64 GanttScale::PixelOf(qint64 time) const
{
    const qint64 minutes = (time - LeftTime()) / 60;
    return qint64(double(minutes) / m_minutesPerPixel);
}

int GanttScale::TimeToPixel(qint64 time, Edge edge) const
{
    const int none = edge == Edge::Start ? NoStartPixel : NoEndPixel;
    if (time <= 0)
        return none;
    const double minutes = double((time - LeftTime()) / 60);
    const double pixel = minutes / m_minutesPerPixel;
    // The two sentinels themselves are not pixels either.
    if (!(pixel > double(NoStartPixel) && pixel < double(NoEndPixel)))
        return none;
    return int(pixel);
}

qint64 GanttScale::PixelToTime(qint64 x) const
{
    return m_centre + qint64(double(x - m_width / 2) * m_minutesPerPixel * 60.0);
}

void GanttScale::ClampCentre()
{
    const qint64 half = HalfWidthSeconds();
    const qint64 low = LowerBound() + half;
    const qint64 high = UpperBound() - half;
    if (low > high)
        m_centre = LowerBound() + (UpperBound() - LowerBound()) / 2;
    else
        m_centre = std::clamp(m_centre, low, high);
}

bool GanttScale::PlaceNow(qint64 now)
{
    if (m_width <= 0)
        return false;
    m_centre = now + qint64(double(m_width) * m_minutesPerPixel * 20.0);
    ClampCentre();
    UpdateScrollBar();
    return true;
}

void GanttScale::SetProjectRange(qint64 start, qint64 end)
{
    m_rangeStart = start;
    m_rangeEnd = end;
}

void GanttScale::BringRangeIntoView()
{
    if (m_rangeStart == 0 || m_rangeEnd == 0)
        return;
    const qint64 xs = PixelOf(m_rangeStart);
    const qint64 xe = PixelOf(m_rangeEnd);
    const qint64 margin = std::min(m_width / 10, 5);
    if (m_width >= xe - xs)
        m_centre = PixelToTime(xs / 2 + xe / 2);
    else if (xs > m_width)
        m_centre = PixelToTime(xs + m_width / 2 - margin);
    else if (xe < 0)
        m_centre = PixelToTime(xe + margin - m_width / 2);
}

bool GanttScale::ZoomOut()
{
    if (m_level >= CoarsestLevel)
        return false;
    SetLevel(m_level + 1);
    ClampCentre();
    UpdateScrollBar();
    return true;
}

bool GanttScale::ZoomIn()
{
    if (m_level <= FinestLevel)
        return false;
    SetLevel(m_level - 1);
    BringRangeIntoView();
    ClampCentre();
    UpdateScrollBar();
    return true;
}

bool GanttScale::ZoomToLevel(int level)
{
    if (level < FinestLevel || level > CoarsestLevel)
        return false;
    const int old = m_level;
    SetLevel(level);
    if (level < old)
        BringRangeIntoView();
    ClampCentre();
    UpdateScrollBar();
    return true;
}

// ---------------------------------------------------------------- scroll bar

// The position counts the level's centimetres from 2000 to the chart's left
// edge, so that the bounds of the middle are the ends of the bar: the middle
// kept at its lowest gives 0, at its highest the maximum.
qint64 GanttScale::PositionOf(qint64 centre) const
{
    return (centre - HalfWidthSeconds() - LowerBound()) / 60 / MinutesPerCm(m_level);
}

void GanttScale::UpdateScrollBar()
{
    m_bar.page = std::max(int(m_width / (2 * m_pixelsPerCm)), 0);
    m_bar.maximum = int(std::max<qint64>(PositionOf(UpperBound() - HalfWidthSeconds()), 0));
    m_bar.position = int(std::clamp<qint64>(PositionOf(m_centre), 0, m_bar.maximum));
}

void GanttScale::Scroll(int units)
{
    if (units == 0)
        return;
    const qint64 stepped = StepTime(m_centre, m_level, units);
    m_centre = stepped;
    ClampCentre();
    // A calendar step (a month, a year) is not exactly a unit of the bar:
    // the position moves by the units asked while the middle is free, and
    // stands where the middle stands once a bound stops it.
    const qint64 position = m_centre == stepped ? qint64(m_bar.position) + units : PositionOf(m_centre);
    m_bar.position = int(std::clamp<qint64>(position, 0, m_bar.maximum));
}

void GanttScale::Pan(int dx)
{
    if (dx == 0)
        return;
    m_centre += qint64(double(dx) * m_minutesPerPixel * 60.0);
    ClampCentre();
    // The thumb follows the time shown rather than the mouse's pixels.
    m_bar.position = int(std::clamp<qint64>(PositionOf(m_centre), 0, m_bar.maximum));
}

qint64 GanttScale::StepTime(qint64 time, int level, int units)
{
    if (level < 0 || level >= LevelCount)
        return time;
    if (level < 5)
        return time + qint64(units) * StepMinutes[size_t(level)] * 60;
    if (level < 10)
        return Platform::LocalTime::toLocal(time).addDays(qint64(units) * StepDays[size_t(level - 5)]).toSecsSinceEpoch();
    const QDate date = Platform::LocalTime::localDate(time);
    if (level == CoarsestLevel)
        return Platform::LocalTime::midnight(QDate(date.year() + units, 1, 1));
    const QDate first = QDate(date.year(), date.month(), 1).addMonths(units * StepMonths[size_t(level - 10)]);
    return Platform::LocalTime::midnight(first);
}

// ---------------------------------------------------------------- rows and settings

int GanttScale::RowAt(int y, int headerHeight, int rowHeight, int firstRow, int rowCount)
{
    if (rowHeight <= 0 || y < headerHeight)
        return -1;
    const int row = (y - headerHeight) / rowHeight + firstRow;
    return row < rowCount ? row : -1;
}

int GanttScale::ParseLevel(const QString &text)
{
    bool ok = false;
    const int level = text.trimmed().toInt(&ok);
    return ok && level >= FinestLevel && level <= CoarsestLevel ? level : DefaultLevel;
}
