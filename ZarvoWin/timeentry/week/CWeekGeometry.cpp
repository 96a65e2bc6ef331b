#include "CWeekGeometry.h"

#include "LocalTime.h"

#include <QTime>
#include <algorithm>

int CWeekGeometry::ZoomFromSetting(int stored)
{
    return stored >= 0 && stored < int(HourHeights.size()) ? stored : DefaultZoom;
}

void CWeekGeometry::Relayout(int height)
{
    zoomLevel = ZoomFromSetting(zoomLevel);
    const int zoomed = HourHeights[size_t(zoomLevel)];
    if (height <= 0) {
        hourHeight = zoomed;
        headerHeight = BaseHeaderHeight;
        canZoomOut = false;
    } else if (zoomed * 24 + BaseHeaderHeight < height) {
        // The whole day fits: the hours share the height, the rest of the
        // division goes to the header.
        hourHeight = (height - BaseHeaderHeight) / 24;
        headerHeight = BaseHeaderHeight + (height - BaseHeaderHeight) % 24;
        canZoomOut = false;
    } else {
        hourHeight = zoomed;
        headerHeight = BaseHeaderHeight;
        canZoomOut = zoomLevel > 0;
    }
    scrollMax = (headerHeight + 24 * hourHeight - ScrollUnit) / ScrollUnit;
    scrollPage = std::max(height, 0) / ScrollUnit;
    SetScrollPos(scrollPos);
}

int CWeekGeometry::MaxScrollPos() const
{
    return std::max(0, scrollMax - scrollPage + 1);
}

bool CWeekGeometry::SetScrollPos(int pos)
{
    const int clamped = std::clamp(pos, 0, MaxScrollPos());
    const bool changed = clamped != scrollPos;
    scrollPos = clamped;
    return changed;
}

int CWeekGeometry::GridRow(qint64 t, int hourHeight)
{
    const QTime time = Platform::LocalTime::toLocal(t).time();
    return (time.hour() * 60 + time.minute()) * hourHeight / 60;
}

int CWeekGeometry::ClientRow(qint64 t) const
{
    return GridTop() + GridRow(t, hourHeight);
}

QRect CWeekGeometry::PrevArrowRect(const QSize &arrow, int height)
{
    return QRect(QPoint(HoursColumnWidth, (height - arrow.height()) / 2), arrow);
}

QRect CWeekGeometry::NextArrowRect(const QSize &arrow, int width, int height)
{
    return QRect(QPoint(width - arrow.width(), (height - arrow.height()) / 2), arrow);
}

int CWeekGeometry::ColumnWidth(int width, int dayCount)
{
    return std::max(0, (width - HoursColumnWidth) / std::max(dayCount, 1));
}

int CWeekGeometry::ColumnLeft(int column, int width, int dayCount)
{
    return column * ColumnWidth(width, dayCount) + HoursColumnWidth + 1;
}

int CWeekGeometry::ColumnRight(int column, int width, int dayCount)
{
    if (column >= dayCount - 1)
        return width;
    return ColumnLeft(column, width, dayCount) + ColumnWidth(width, dayCount);
}
