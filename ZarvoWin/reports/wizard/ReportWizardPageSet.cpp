#include "ReportWizardPageSet.h"

#include "Texts.h"

namespace ReportWizardPageSet {

std::array<int, PageCount> CaptionIds()
{
    static const Platform::TextId ids[] = {279, 278, 146, 183, 147, 280};
    std::array<int, PageCount> out{};
    for (int i = 0; i < PageCount; ++i)
        out[size_t(i)] = int(ids[i]);
    return out;
}

std::array<bool, PageCount> HiddenForKind(int kind)
{
    const bool tracking = kind == 4;
    return {false, tracking, tracking, !tracking, tracking, false};
}

std::vector<Step> KindChange(bool tracking)
{
    if (tracking)
        return {{true, PairsPage, ProjectsPage}, {false, PeriodPage, -1}, {false, ProjectsPage, -1}, {false, ActivitiesPage, -1}};
    return {{true, PeriodPage, GroupingPage}, {true, ProjectsPage, PeriodPage}, {false, PairsPage, -1}, {true, ActivitiesPage, ProjectsPage}};
}

} // namespace ReportWizardPageSet
