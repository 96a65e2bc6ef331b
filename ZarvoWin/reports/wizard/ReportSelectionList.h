#pragma once
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

// The project and activity filters of a report as the selection pages
// read and write them: "(12,15,-1)" (ids, -1 for entries without a project
// or activity) or ";12,-2;15,3;" (project and activity pairs, -2 for the
// project's own row). An empty list means everything.
namespace ReportSelectionList {

// The ids of a parenthesised list, in order; tokens that are not numbers
// are skipped.
std::vector<int> ParseIds(QStringView list);
// The pairs of a pair list; a parenthesised list gives each project with
// activity -2.
std::vector<std::pair<int, int>> ParsePairs(QStringView list);

// Whether an item is checked when the page opens: every item of an empty
// list; an id list names the id (a pair list, by its projects); for a
// pair, a pair list names it, an id list its project.
bool IsIdChecked(QStringView list, int id);
bool IsPairChecked(QStringView list, int projectId, int activityId);
// The "nothing defined" item (-1) is checked when the list is empty or
// names -1.
bool IsUndefinedChecked(QStringView list);

// The list written from the checked items, in tree order: empty when
// every item is checked (everything), else "(a,b)" / ";p,a;p,a;"; empty
// when nothing is checked (the page does not let that happen).
QString WriteIds(const std::vector<int> &checked, bool allChecked);
QString WritePairs(const std::vector<std::pair<int, int>> &checked, bool allChecked);

} // namespace ReportSelectionList
