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
            const qint64 forecastStart = node.GetOpenForecastStart();
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
