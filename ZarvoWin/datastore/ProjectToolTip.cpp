#include "ProjectToolTip.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CMyToolTipCtrl.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "Texts.h"

#include <QStringList>

namespace {

// 0 is no date and 1 "finished without a date": neither is written.
bool known(qint64 t)
{
    return t > 1;
}

// The earliest forecast start over the open children, 0 as soon as one
// of them has none; the node's own computed start when it carries work of
// its own and starts earlier (or no child start is known).
qint64 openForecastStart(const CProject &node)
{
    if (node.GetChildCount() == 0)
        return node.m_computedStart;
    qint64 earliest = 0;
    for (const CProject *child : node.Children()) {
        if (child->IsCompleted() || child->IsInactive())
            continue;
        const qint64 start = child->GetForecastStart();
        if (start == 0) {
            earliest = 0;
            break;
        }
        if (earliest == 0 || start < earliest)
            earliest = start;
    }
    const qint64 own = node.m_computedStart;
    const bool ownWork = !node.Forecast().bModeAuto && node.GetOwnRemainingWork() > 0;
    if (ownWork && own != 0 && (earliest == 0 || own < earliest))
        earliest = own;
    return earliest;
}

} // namespace

tToolTipContent ProjectToolTipContent(const CProject &node)
{
    const CConfiguration *settings = CAppData::Configuration();
    const CConfiguration fallback;
    const CConfiguration &config = settings ? *settings : fallback;
    const auto date = [&config](qint64 t) { return config.FormatDate(t, true, true); };
    const QString startLabel = Platform::Texts::get(261);
    const QString running = Platform::Texts::get(252);

    tToolTipContent tip;
    tip.title = node.GetFullName();

    // The first task: the node's own, or its descendants' when earlier.
    qint64 first = node.GetActualStart();
    if (node.GetChildCount() > 0) {
        const qint64 children = node.GetChildrenActualStart();
        if (known(children) && (!known(first) || children < first))
            first = children;
    }

    QString description;
    if (node.IsCompleted()) {
        const qint64 end = std::max(node.GetActualEnd(), node.GetChildrenActualEnd());
        const bool isRunning = node.IsRunning(false) || (node.GetChildCount() > 0 && node.IsRunning(true));
        // "Fin :" only with something to say after it, never a date of 1970.
        const bool endShown = isRunning || known(end);
        const QString done = Platform::Texts::get(516);
        description = known(first) || endShown ? done + u'\n' : u'\n' + done;
        QStringList lines;
        if (known(first))
            lines << startLabel + u' ' + date(first);
        if (endShown)
            lines << Platform::Texts::get(262) + u' ' + (isRunning ? running : date(end));
        description += lines.join(u'\n');
    } else if (node.IsInactive()) {
        description = Platform::Texts::get(609);
    } else {
        description = startLabel + u' ';
        if (node.GetTaskCount() > 0) {
            description += running;
        } else {
            const qint64 forecastStart = openForecastStart(node);
            const CProjectTree *store = node.Store();
            if (known(forecastStart)) {
                if (store && forecastStart == store->ForecastFrom())
                    description += Platform::Texts::get(600);
                else
                    description += date(forecastStart);
            }
        }
        const qint64 forecastEnd = node.GetForecastEnd();
        if (known(forecastEnd))
            description += u'\n' + Platform::Texts::get(527) + QStringLiteral(" : ")
                + date(forecastEnd);
        const qint64 fixedEnd = node.GetFixedEnd();
        if (known(fixedEnd))
            description += u'\n' + Platform::Texts::get(304) + QStringLiteral(" : ")
                + date(fixedEnd);
    }
    if (!node.IsCompleted() && known(first))
        description += QStringLiteral("\n\n") + Platform::Texts::get(595)
            + u' ' + date(first);
    tip.description = description.isEmpty() ? QStringLiteral(" ") : description;

    if (node.IsLate())
        tip.image = node.IsAlertDue() ? 3 : 1;
    else if (node.IsAlertDue())
        tip.image = 2;
    return tip;
}

void UpdateProjectToolTip(CMyToolTipCtrl &tooltip, const CProject &node)
{
    tooltip.SetContent(ProjectToolTipContent(node));
}
