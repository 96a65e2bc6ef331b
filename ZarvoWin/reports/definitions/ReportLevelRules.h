#pragma once
#include <array>
#include <vector>

// How the grouping levels of a report's lines are chosen and ordered:
// 0 years, 1 months, 2 days, 3 projects, 4 activities. A set holds up to
// five levels, the used ones first, -1 filling the rest. Dates stay in
// their natural order: a months level never sits directly above years, nor
// days directly above months.
namespace ReportLevelRules {

using LevelSet = std::array<int, 5>;
constexpr int DetailItem = -1;

LevelSet EmptySet();
int UsedCount(const LevelSet &set);
bool Contains(const LevelSet &set, int level);

// Adds `level` where it belongs: years first; months right after the last
// years level, else first; days right after the last years or months
// level, else first; projects and activities last. False when the set is
// full, holds the level already or the level is not one.
bool Insert(LevelSet &set, int level);
// Removes the level at `position`; the later ones move up.
bool Remove(LevelSet &set, int position);
// Exchanges the levels at `position` and the one above / below it.
bool Swap(LevelSet &set, int position, int other);

// Whether the level at `position` of the chosen list may go up or down;
// `rows` is the chosen list: the used levels, then the detail item when
// shown.
bool CanMoveUp(const std::vector<int> &rows, int position);
bool CanMoveDown(const std::vector<int> &rows, int position);

// Removes from the rows the levels that a cross table grouped in columns
// by `columnGrouping` cannot have (its own level and, for dates, the finer
// ones).
void RemoveForColumnGrouping(LevelSet &set, int columnGrouping);
// Whether `level` may be a row of a cross table grouped by `columnGrouping`.
bool AllowedWithColumnGrouping(int level, int columnGrouping);

// The items that can still be added, in the list's order: the levels the
// set lacks (a cross table's only those its column grouping allows), then
// the detail item for the kinds but 3 when the detail is off. Nothing for
// kind 4.
std::vector<int> Available(int kind, int columnGrouping, const LevelSet &set, bool detail);

} // namespace ReportLevelRules
