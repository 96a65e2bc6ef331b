#include "ReportLevelRules.h"

#include <algorithm>

namespace ReportLevelRules {

namespace {

// The pair (upper, lower) that dates must never form.
bool BreaksDateOrder(int upper, int lower)
{
    return (upper == 1 && lower == 0) || (upper == 2 && lower == 1);
}

} // namespace

LevelSet EmptySet()
{
    return {-1, -1, -1, -1, -1};
}

int UsedCount(const LevelSet &set)
{
    int n = 0;
    while (n < int(set.size()) && set[size_t(n)] != -1)
        ++n;
    return n;
}

bool Contains(const LevelSet &set, int level)
{
    const int used = UsedCount(set);
    return std::find(set.begin(), set.begin() + used, level) != set.begin() + used;
}

bool Insert(LevelSet &set, int level)
{
    const int used = UsedCount(set);
    if (level < 0 || level > 4 || used >= int(set.size()) || Contains(set, level))
        return false;
    int position = used;
    if (level <= 2) {
        // Right after the last coarser date level, else first.
        position = 0;
        for (int i = 0; i < used; ++i) {
            if (set[size_t(i)] >= 0 && set[size_t(i)] < level)
                position = i + 1;
        }
    }
    for (int i = used; i > position; --i)
        set[size_t(i)] = set[size_t(i - 1)];
    set[size_t(position)] = level;
    return true;
}

bool Remove(LevelSet &set, int position)
{
    const int used = UsedCount(set);
    if (position < 0 || position >= used)
        return false;
    for (int i = position; i + 1 < int(set.size()); ++i)
        set[size_t(i)] = set[size_t(i + 1)];
    set.back() = -1;
    return true;
}

bool Swap(LevelSet &set, int position, int other)
{
    const int used = UsedCount(set);
    if (position < 0 || other < 0 || position >= used || other >= used || position == other)
        return false;
    std::swap(set[size_t(position)], set[size_t(other)]);
    return true;
}

bool CanMoveUp(const std::vector<int> &rows, int position)
{
    if (position <= 0 || position >= int(rows.size()) || rows[size_t(position)] == DetailItem)
        return false;
    return !BreaksDateOrder(rows[size_t(position)], rows[size_t(position - 1)]);
}

bool CanMoveDown(const std::vector<int> &rows, int position)
{
    if (position < 0 || position + 1 >= int(rows.size()) || rows[size_t(position)] == DetailItem
        || rows[size_t(position + 1)] == DetailItem)
        return false;
    return !BreaksDateOrder(rows[size_t(position + 1)], rows[size_t(position)]);
}

bool AllowedWithColumnGrouping(int level, int columnGrouping)
{
    if (columnGrouping >= 0 && columnGrouping <= 2)
        return !(level >= 0 && level <= 2 && level >= columnGrouping);
    return level != columnGrouping;
}

void RemoveForColumnGrouping(LevelSet &set, int columnGrouping)
{
    for (int i = UsedCount(set) - 1; i >= 0; --i) {
        if (!AllowedWithColumnGrouping(set[size_t(i)], columnGrouping))
            Remove(set, i);
    }
}

std::vector<int> Available(int kind, int columnGrouping, const LevelSet &set, bool detail)
{
    std::vector<int> out;
    if (kind == 4)
        return out;
    for (int level = 0; level <= 4; ++level) {
        if (Contains(set, level))
            continue;
        if (kind == 3 && !AllowedWithColumnGrouping(level, columnGrouping))
            continue;
        out.push_back(level);
    }
    if (kind != 3 && !detail)
        out.push_back(DetailItem);
    return out;
}

} // namespace ReportLevelRules
