#include "RangeSliderModel.h"

#include <cstdlib>

bool RangeSliderModel::HasSelectedZone() const
{
    return selected >= 0 && size_t(selected) < zones.size();
}

void RangeSliderModel::AppendZone(int from, int to)
{
    zones.push_back({from, to, ValueToPixel(from), ValueToPixel(to)});
}

void RangeSliderModel::RemoveSelectedZone()
{
    if (HasSelectedZone())
        zones.erase(zones.begin() + selected);
    if (selected >= int(zones.size()))
        selected = int(zones.size()) - 1;
    m_dragMode = DragNone;
}

void RangeSliderModel::ResetSelection()
{
    selected = -1;
    m_dragMode = DragNone;
}

int RangeSliderModel::HitTest(const tZone &zone, int c) const
{
    const int t = geometry.ThumbExtent() / 2;
    const bool nearStart = c >= zone.pixelFrom - t && c <= zone.pixelFrom + t;
    const bool nearEnd = c >= zone.pixelTo - t && c <= zone.pixelTo + t;
    if (nearStart)
        return nearEnd ? DragUndecided : DragStart;
    if (nearEnd)
        return DragEnd;
    if (c >= zone.pixelFrom && c <= zone.pixelTo)
        return DragZone;
    return DragNone;
}

void RangeSliderModel::ButtonDown(int c)
{
    const int t = geometry.ThumbExtent() / 2;
    m_dragMode = DragNone;
    if (HasSelectedZone())
        m_dragMode = HitTest(zones[size_t(selected)], c);

    if (m_dragMode == DragNone) {
        const int v = PixelToValue(c);
        size_t i = 0;
        for (; i < zones.size(); ++i) {
            if (c > zones[i].pixelTo + t)
                continue;
            if (c < zones[i].pixelFrom - t) {
                zones.insert(zones.begin() + i, tZone{v, v, c, c});
                selected = int(i);
                m_dragMode = DragUndecided;
                break;
            }
            if (int(i) == selected)
                continue;
            selected = int(i);
            m_dragMode = HitTest(zones[i], c);
            break;
        }
        if (i == zones.size()) {
            zones.push_back(tZone{v, v, c, c});
            selected = int(zones.size()) - 1;
            m_dragMode = DragUndecided;
        }
    }

    m_downCoordinate = c;
    if (HasSelectedZone())
        m_saved = zones[size_t(selected)];
}

int RangeSliderModel::LowerPixelBound() const
{
    return selected > 0 ? zones[size_t(selected) - 1].pixelTo : ValueToPixel(geometry.minimum);
}

int RangeSliderModel::UpperPixelBound() const
{
    return size_t(selected) + 1 < zones.size() ? zones[size_t(selected) + 1].pixelFrom
                                               : ValueToPixel(geometry.maximum);
}

int RangeSliderModel::LowerValueBound() const
{
    return selected > 0 ? zones[size_t(selected) - 1].to : geometry.minimum;
}

int RangeSliderModel::UpperValueBound() const
{
    return size_t(selected) + 1 < zones.size() ? zones[size_t(selected) + 1].from : geometry.maximum;
}

bool RangeSliderModel::MouseMove(int c)
{
    if (!HasSelectedZone() || m_dragMode == DragNone)
        return false;
    const int d = c - m_downCoordinate;
    if (m_dragMode == DragUndecided) {
        if (std::abs(d) <= 2)
            return true;
        m_dragMode = d > 0 ? DragEnd : DragStart;
    }
    return MoveInMode(m_dragMode, d);
}

// Pixels follow the mouse within the neighbours' pixels; values are read
// back from the pixels. Going through pixels loses a little (a pixel is
// worth several minutes), so the values are also kept within the
// neighbours' values: a zone pushed against its neighbour touches it
// instead of overlapping it by the rounding.
bool RangeSliderModel::MoveInMode(int mode, int d)
{
    tZone &zone = zones[size_t(selected)];
    const int lowerValue = LowerValueBound();
    const int upperValue = UpperValueBound();
    switch (mode) {
    case DragZone: {
        if (d == 0) {
            zone = m_saved;
            break;
        }
        const int length = m_saved.pixelTo - m_saved.pixelFrom;
        if (d < 0) {
            zone.pixelFrom = qMax(LowerPixelBound(), m_saved.pixelFrom + d);
            zone.pixelTo = zone.pixelFrom + length;
        } else {
            zone.pixelTo = qMin(UpperPixelBound(), m_saved.pixelTo + d);
            zone.pixelFrom = zone.pixelTo - length;
        }
        zone.from = qMax(lowerValue, PixelToValue(zone.pixelFrom));
        zone.to = qMax(zone.from, qMin(upperValue, PixelToValue(zone.pixelTo)));
        break;
    }
    case DragStart:
        if (d == 0) {
            zone.pixelFrom = m_saved.pixelFrom;
            zone.from = m_saved.from;
            break;
        }
        if (d < 0)
            zone.pixelFrom = qMax(LowerPixelBound(), m_saved.pixelFrom + d);
        else
            zone.pixelFrom = qMin(m_saved.pixelTo - 1, m_saved.pixelFrom + d);
        zone.from = qMin(zone.to, qMax(lowerValue, PixelToValue(zone.pixelFrom)));
        break;
    case DragEnd:
        if (d == 0) {
            zone.pixelTo = m_saved.pixelTo;
            zone.to = m_saved.to;
            break;
        }
        if (d < 0)
            zone.pixelTo = qMax(m_saved.pixelFrom + 1, m_saved.pixelTo + d);
        else
            zone.pixelTo = qMin(UpperPixelBound(), m_saved.pixelTo + d);
        zone.to = qMax(zone.from, qMin(upperValue, PixelToValue(zone.pixelTo)));
        break;
    default:
        return false;
    }
    return true;
}

bool RangeSliderModel::SetSelectedZone(int kind, int value)
{
    if (!HasSelectedZone())
        return false;
    tZone &zone = zones[size_t(selected)];
    const int lower = LowerValueBound();
    const int upper = UpperValueBound();
    switch (kind) {
    case MoveZone: {
        const int length = zone.to - zone.from;
        if (value < lower) {
            zone.from = lower;
            zone.to = lower + length;
        } else if (qint64(value) + length > upper) {
            zone.to = upper;
            zone.from = upper - length;
        } else {
            zone.from = value;
            zone.to = value + length;
        }
        zone.pixelFrom = ValueToPixel(zone.from);
        zone.pixelTo = ValueToPixel(zone.to);
        return true;
    }
    case SetStart:
        if (value < lower)
            zone.from = lower;
        else if (value >= zone.to)
            zone.from = zone.to;
        else
            zone.from = value;
        zone.pixelFrom = ValueToPixel(zone.from);
        return true;
    case SetEnd:
        if (value <= zone.from)
            zone.to = zone.from;
        else
            zone.to = qMin(value, upper);
        zone.pixelTo = ValueToPixel(zone.to);
        return true;
    default:
        return false;
    }
}

void RangeSliderModel::AddScaleMark(int value, const QString &label)
{
    m_scale.push_back({ValueToPixel(value), label});
}

qint64 RangeSliderModel::GetTotalSeconds() const
{
    qint64 total = 0;
    for (const tZone &zone : zones)
        total += (qint64(zone.to) - zone.from) * 60;
    return total;
}
