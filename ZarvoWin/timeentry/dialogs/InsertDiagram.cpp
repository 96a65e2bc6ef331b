#include "InsertDiagram.h"

#include "TimeEntryOverlap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace InsertDiagram {

namespace {

// How far outside the area a bar that goes on beyond it begins or ends.
constexpr int Outside = 2;

struct tMapping
{
    QRect area;
    qint64 start = 0;
    qint64 span = 1;

    int ToX(qint64 t) const
    {
        if (t < start)
            return area.left() - Outside;
        if (t - start > span)
            return area.right() + 1 + Outside;
        return area.left() + int(std::lround(double(t - start) * area.width() / double(span)));
    }
    int RightEnd() const { return area.right() + 1 + Outside; }
};

// Left and right (exclusive) of a bar at least `minimum` wide, widened
// about its middle.
void Widen(int &left, int &right, int minimum)
{
    if (right - left >= minimum)
        return;
    const int middle = (left + right) / 2;
    left = middle - minimum / 2;
    right = left + minimum;
}

// The length the area is built around.
qint64 ShownLength(const std::vector<tTacheFull> &entries)
{
    const tTacheFull &entry = entries.front();
    qint64 length = 0;
    if (entry.Fin != 0) {
        length = entry.Fin - entry.Debut;
    } else if (entries.size() > 1) {
        const tTacheFull &last = entries.back();
        length = (last.Fin != 0 ? last.Fin : last.Debut) - entry.Debut;
    }
    return length > 0 ? length : MinimumSpan;
}

// One moving edge at a tick; `distance` keeps the longest way.
int Moved(int from, int to, int travelled, int &distance)
{
    const int way = std::abs(to - from);
    distance = std::max(distance, way);
    const int done = std::min(travelled, way);
    return to >= from ? from + done : from - done;
}

} // namespace

tLayout LayOut(const std::vector<tTacheFull> &entries, const QSize &size)
{
    tLayout layout;
    layout.area = QRect(AreaLeft, AreaTop, std::max(1, size.width() - 2 * AreaLeft),
                        std::max(3, size.height() - AreaTop - AreaBottom));
    layout.rowHeight = layout.area.height() / 3;
    layout.step = std::max(1, (layout.area.width() + 2 * layout.rowHeight) / 240);
    if (entries.empty())
        return layout;

    const tTacheFull &entry = entries.front();
    const qint64 length = ShownLength(entries);
    tMapping map;
    map.area = layout.area;
    map.start = entry.Debut - length / 4;
    map.span = length + length / 4 + length / 4;
    layout.shownStart = map.start;
    layout.shownEnd = map.start + map.span;

    const int minimum = std::max(2, 2 * (layout.rowHeight / 5));
    for (size_t i = 0; i < entries.size(); ++i) {
        const tTacheFull &e = entries[i];
        int left = map.ToX(e.Debut);
        int right = e.Fin == 0 ? map.RightEnd() : map.ToX(e.Fin);
        Widen(left, right, minimum);
        const int top = layout.area.top() + (i == 0 ? 0 : 2 * layout.rowHeight);
        layout.bars.emplace_back(left, top, right - left, layout.rowHeight);
    }

    const std::vector<tTacheFull> others(entries.begin() + 1, entries.end());
    if (const std::optional<tDebutFin> gap = TimeEntryOverlap::LongestFreeGap(entry, others)) {
        layout.hasGap = true;
        layout.gapLeft = map.ToX(gap->Debut);
        layout.gapRight = gap->Fin == 0 ? map.RightEnd() : map.ToX(gap->Fin);
        Widen(layout.gapLeft, layout.gapRight, minimum);
    }
    return layout;
}

std::vector<tBar> Frame(const tLayout &layout, int choice, int tick, bool *finished)
{
    std::vector<tBar> bars;
    int distance = 0;
    const int travelled = std::max(0, tick) * layout.step;
    if (layout.bars.empty()) {
        if (finished)
            *finished = true;
        return bars;
    }
    const QRect fresh = layout.bars.front();
    const int newLeft = fresh.left();
    const int newRight = fresh.left() + fresh.width();

    auto add = [&bars](int left, int right, const QRect &row, int entry) {
        if (right > left)
            bars.push_back({QRect(left, row.top(), right - left, row.height()), entry});
    };
    // A piece of an existing bar going from (left, right) to (toLeft, toRight).
    auto piece = [&](const QRect &bar, int entry, int toLeft, int toRight) {
        const int left = bar.left();
        const int right = bar.left() + bar.width();
        add(Moved(left, toLeft, travelled, distance), Moved(right, toRight, travelled, distance), bar, entry);
    };

    for (size_t i = 1; i < layout.bars.size(); ++i) {
        const QRect &bar = layout.bars[i];
        const int entry = int(i);
        const int left = bar.left();
        const int right = bar.left() + bar.width();
        if (choice != OthersGiveWay || right <= newLeft || left >= newRight) {
            add(left, right, bar, entry);
        } else if (left >= newLeft && right <= newRight) {
            const int middle = (left + right) / 2;
            piece(bar, entry, middle, middle);
        } else if (left < newLeft && right > newRight) {
            piece(bar, entry, left, newLeft);
            piece(bar, entry, newRight, right);
        } else if (left < newLeft) {
            piece(bar, entry, left, newLeft);
        } else {
            piece(bar, entry, newRight, right);
        }
    }

    if (choice == FitIntoFreeTime && layout.hasGap) {
        const int targetTop = layout.area.top() + 2 * layout.rowHeight;
        const int top = Moved(fresh.top(), targetTop, travelled, distance);
        const int left = Moved(newLeft, layout.gapLeft, travelled, distance);
        const int right = Moved(newRight, layout.gapRight, travelled, distance);
        add(left, right, QRect(0, top, 0, fresh.height()), 0);
    } else {
        bars.push_back({fresh, 0});
    }
    if (finished)
        *finished = travelled >= distance;
    return bars;
}

} // namespace InsertDiagram
