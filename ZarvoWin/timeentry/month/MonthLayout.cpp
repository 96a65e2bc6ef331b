#include "MonthLayout.h"

#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CShownDays.h"
#include "EntryBoxPlan.h"
#include "LocalTime.h"
#include "ViewConfiguration.h"

#include <QDateTime>
#include <QTime>
#include <algorithm>

QDate MonthFirstCell(const QDate &date, int firstDayOfWeek)
{
    if (!date.isValid())
        return QDate();
    return CShownDays::WeekStart(QDate(date.year(), date.month(), 1), firstDayOfWeek);
}

int MonthRowCount(const QDate &date, int firstDayOfWeek)
{
    if (!date.isValid())
        return 6;
    const QDate first(date.year(), date.month(), 1);
    const int offset = int(MonthFirstCell(date, firstDayOfWeek).daysTo(first));
    const int cells = offset + first.daysInMonth();
    return cells > 35 ? 6 : cells > 28 ? 5 : 4;
}

QRect MonthCellRect(int row, int column, int rows, const QSize &client)
{
    rows = std::max(rows, 1);
    const int rowHeight = (client.height() - MonthHeaderHeight) / rows;
    const int lastRowHeight = client.height() - MonthHeaderHeight - (rows - 1) * rowHeight;
    const int columnWidth = client.width() / 7;
    const int lastColumnWidth = client.width() - 6 * columnWidth;
    const int x = column * columnWidth + (column > 0 ? 1 : 0);
    const int y = MonthHeaderHeight + 1 + row * rowHeight;
    // A pixel of grid left of every column but the first.
    const int width = (column == 6 ? lastColumnWidth : columnWidth) - (column > 0 ? 1 : 0);
    const int height = (row == rows - 1 ? lastRowHeight : rowHeight) - 1;
    return QRect(x, y, std::max(width, 0), std::max(height, 0));
}

QDate StepMonthKeepingDay(const QDate &date, int direction)
{
    if (!date.isValid())
        return date;
    const QDate first = QDate(date.year(), date.month(), 1).addMonths(direction < 0 ? -1 : 1);
    return QDate(first.year(), first.month(), std::min(date.day(), first.daysInMonth()));
}

qint64 MonthDayTotal(std::span<const tTacheParams> entries, const QDate &day, qint64 now)
{
    using namespace Platform::LocalTime;
    const qint64 dayStart = midnight(day);
    const qint64 dayEnd = midnight(day.addDays(1)) - 1;
    qint64 total = 0;
    for (const tTacheParams &e : entries) {
        const qint64 start = std::max(e.Debut, dayStart);
        const qint64 end = std::min(e.Fin != 0 ? e.Fin : now, dayEnd);
        if (end > start)
            total += end - start;
    }
    return total;
}

int TodayCellIndex(const QDate &firstCell, const QDate &today, int cellCount)
{
    if (!firstCell.isValid() || !today.isValid())
        return -1;
    const qint64 from = QDateTime(firstCell, QTime(12, 0)).toSecsSinceEpoch();
    const qint64 to = QDateTime(today, QTime(14, 0)).toSecsSinceEpoch();
    if (to < from)
        return -1;
    const qint64 index = (to - from) / 86400;
    return index < cellCount ? int(index) : -1;
}

tMonthEntryPlan PlanMonthEntry(const tTacheParams &entry, const QDate &day, const tEntryBoxSettings &s)
{
    using namespace Platform::LocalTime;
    tMonthEntryPlan plan;
    const CProject *project = s.store ? s.store->GetNode(entry.IdProjet) : nullptr;
    if (project && !project->GetParent())
        project = nullptr;
    const tElement *activity = s.store ? s.store->GetActivity(entry.IdActivite) : nullptr;
    const quint32 projectColour = project ? project->GetColor() : 0;
    const quint32 activityColour = activity ? activity->Color : s.fallbackColour;

    if (!entry.Title.isEmpty()) {
        plan.label = entry.Title;
    } else {
        plan.label = (project ? project->GetName(true) : QString()) + QStringLiteral(" - ");
        if (activity)
            plan.label += activity->Nom;
    }

    if (entry.Id == s.selectedId && entry.Id != -1) {
        plan.background = MonthSelectionColour;
    } else {
        switch (s.colourType) {
        case 1: plan.background = project ? projectColour : s.neutralColour; break;
        case 2: plan.background = activity ? activityColour : s.neutralColour; break;
        case 3: plan.background = s.userColour; break;
        default: plan.background = s.neutralColour; break;
        }
    }
    plan.upperMark = project ? projectColour : activityColour;
    if (activity) {
        plan.hasLowerMark = true;
        plan.lowerMark = activityColour;
    } else if (project) {
        plan.hasLowerMark = true;
        plan.lowerMark = projectColour;
    }

    const CConfiguration &config = s.config ? *s.config : ViewConfiguration();
    const QString dots = QStringLiteral("...");
    const bool startsHere = localDate(entry.Debut) == day;
    plan.times = (startsHere ? config.FormatLocaleTime(entry.Debut) : dots) + QStringLiteral(" - ");
    if (entry.Fin != 0) {
        const bool endsHere = localDate(entry.Fin) == day;
        plan.times += endsHere ? config.FormatLocaleTime(entry.Fin) : dots;
        if (startsHere && endsHere)
            plan.times += QStringLiteral(" (") + config.FormatDuration(entry.Fin - entry.Debut) + u')';
    } else {
        plan.times += day == s.today ? s.texts.running : dots;
    }
    return plan;
}

QStringList MonthDayNames(const QStringList &names, int columnWidth, const std::function<int(const QString &)> &width)
{
    const bool allFit = std::all_of(names.begin(), names.end(),
                                    [&](const QString &name) { return width(name) <= columnWidth; });
    if (allFit)
        return names;
    QStringList cut;
    for (const QString &name : names)
        cut << name.left(3);
    return cut;
}
