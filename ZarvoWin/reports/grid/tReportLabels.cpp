#include "tReportLabels.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "Texts.h"

void tReportLabels::Load(const CConfiguration *configuration)
{
    using Platform::Texts;
    Yes = Texts::get(164);
    No = Texts::get(165);
    UnknownProject = Texts::get(501);
    UnknownActivity = Texts::get(502);
    Projects = Texts::get(146);
    TotalLabel = Texts::get(316);
    TotalCaption = Texts::get(317);
    static const Platform::TextId priorityIds[5] = {507, 508, 509, 510, 511};
    static const Platform::TextId statusIds[5] = {583, 582, 542, 516, 558};
    Priorities[0].clear();
    Statuses[0].clear();
    for (int i = 0; i < 5; ++i) {
        Priorities[size_t(i + 1)] = Texts::get(priorityIds[i]);
        Statuses[size_t(i + 1)] = Texts::get(statusIds[i]);
    }
    if (!configuration)
        configuration = CAppData::Configuration();
    static const CConfiguration defaults;
    MonthNames = (configuration ? *configuration : defaults).monthNames;
}
