#pragma once
#include <array>
#include <vector>

// The pages of the report settings, in the order the wizard adds them, and
// which of them a report kind shows: the project-tracking kind (4) chooses
// project and activity pairs, the other kinds a period, the projects and
// the activities.
namespace ReportWizardPageSet {

enum Page { GroupingPage = 0, PeriodPage, ProjectsPage, PairsPage, ActivitiesPage, LayoutPage, PageCount };

// The caption text of each page, in order.
std::array<int, PageCount> CaptionIds();
// Whether each page starts hidden for a report of `kind`.
std::array<bool, PageCount> HiddenForKind(int kind);

// One change of the page set: show `page` right after `after`, or hide it.
struct Step
{
    bool show = false;
    int page = 0;
    int after = -1;
};
// The changes, in order, when the kind turns to project tracking (true)
// or back to another kind.
std::vector<Step> KindChange(bool tracking);

} // namespace ReportWizardPageSet
