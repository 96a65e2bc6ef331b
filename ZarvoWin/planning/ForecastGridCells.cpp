#include "ForecastGridCells.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "Texts.h"
#include "UiUtilities.h"

#include <algorithm>
#include <cmath>

namespace {

const CConfiguration &configuration()
{
    static const CConfiguration defaults;
    const CConfiguration *config = CAppData::Configuration();
    return config ? *config : defaults;
}

QString date(const CConfiguration &config, qint64 t)
{
    return t > 0 ? config.FormatDate(t, config.longDates) : QString();
}

QString duration(const CConfiguration &config, qint64 seconds, const CProject &node, bool zeroToo)
{
    if (seconds == CProject::NoWork || (seconds == 0 && !zeroToo))
        return QString();
    return config.FormatDurationInDays(seconds, node.Forecast().bJours);
}

QString percent(const CConfiguration &config, double value)
{
    return ForecastGridCells::HasProgress(value) ? config.FormatPercentDecimal(value) : QString();
}

QString nodeName(const CProject &node)
{
    if (!node.IsActivity())
        return node.Element().Nom;
    const CProjectTree *store = node.Store();
    const tElement *activity = store ? store->GetActivity(node.ActivityId()) : nullptr;
    return activity ? activity->Nom : Platform::Texts::get(502);
}

QString rawText(int id, const CProject &node, bool totalRow, const CConfiguration &config)
{
    if (totalRow) {
        switch (id) {
        case 0: return Platform::Texts::get(146);
        case 11: return duration(config, node.GetDoneWork(true), node, true);
        case 15: return QString::number(node.GetTaskCount(true));
        default: return QString();
        }
    }
    switch (id) {
    case 0: return nodeName(node);
    case 2: return ForecastGridCells::PriorityName(node.Forecast().Priority);
    case 3: return ForecastGridCells::StatusName(ForecastGridCells::ShownStatus(node));
    case 4: return date(config, node.GetPlannedStart());
    case 5: return date(config, node.GetFixedEnd());
    case 6: return date(config, node.Forecast().DateAlerte);
    case 7: return date(config, node.GetOpenForecastStart());
    case 8: return date(config, node.GetOpenForecastEnd());
    case 9: return duration(config, node.GetPlannedWork(false), node, false);
    case 10: return duration(config, node.GetExpectedWork(), node, false);
    case 11: return duration(config, node.GetDoneWork(true), node, true);
    case 12: return duration(config, node.GetRemainingWork(), node, false);
    case 13: return percent(config, node.GetProgress());
    case 14: return percent(config, node.GetPlannedRatio());
    case 15: return QString::number(node.GetTaskCount(true));
    case 16: return node.GetNotes();
    default: return QString();
    }
}

} // namespace

QString ForecastGridCells::CellText(int id, const CProject &node, bool totalRow)
{
    return CellText(id, node, totalRow, configuration());
}

QString ForecastGridCells::CellText(int id, const CProject &node, bool totalRow, const CConfiguration &config)
{
    QString text = rawText(id, node, totalRow, config);
    text.remove(u'\r');
    text.remove(u'\n');
    if (text.size() > MaxCellText) {
        text.truncate(MaxCellText);
        text += QStringLiteral("...");
    }
    return text;
}

int ForecastGridCells::ShownStatus(const CProject &node)
{
    if (node.IsInactive())
        return tForecast::StatusInactive;
    if (node.IsCompleted())
        return tForecast::StatusCompleted;
    const int status = node.Forecast().Status;
    if (status == 1)
        return node.GetDoneWork(true) != 0 ? 3 : 2;
    return status;
}

QString ForecastGridCells::StatusName(int status)
{
    static const Platform::TextId names[] = {583, 582, 542, 516, 558};
    return status >= 1 && status <= 5 ? Platform::Texts::get(names[status - 1]) : QString();
}

QString ForecastGridCells::PriorityName(int priority)
{
    static const Platform::TextId names[] = {507, 508, 509, 510, 511};
    return priority >= 1 && priority <= 5 ? Platform::Texts::get(names[priority - 1]) : QString();
}

int ForecastGridCells::ItemImage(const CProject &node, bool totalRow, bool collapsed)
{
    if (totalRow)
        return collapsed ? 0 : 1;
    if (node.IsActivity())
        return 16;
    return GetProjectStateImage(node.Element().Type);
}

int ForecastGridCells::TextStart(int rowLeft, int depth, int indent, bool image, bool checkImage, bool running)
{
    return rowLeft + depth * indent + (image ? indent : 0) + (checkImage ? indent : 0) + (running ? indent : 0)
        + 2;
}

int ForecastGridCells::AutoFitWidth(int startWidth, int widestCell, bool nameColumn)
{
    return std::min(std::max(startWidth, widestCell), 300) + (nameColumn ? 20 : 10);
}

bool ForecastGridCells::HasProgress(double value)
{
    return value > 0 && value != CProject::NoRatio && !std::isnan(value);
}

ForecastGridCells::tProgressBar ForecastGridCells::ProgressBar(double value, int width)
{
    tProgressBar bar;
    width = std::max(width, 0);
    bar.windowEnd = width;
    if (!HasProgress(value)) {
        bar.gradientEnd = 0;
        return bar;
    }
    if (value <= 1.0) {
        bar.gradientEnd = int(value * width);
        return bar;
    }
    const double excess = std::min(value, 2.0) - 1.0;
    bar.shift = int(excess * width);
    bar.gradientEnd = width - bar.shift;
    bar.windowEnd = bar.gradientEnd;
    return bar;
}

int ForecastGridCells::GradientSplit(int width, int mid)
{
    return std::max(width, 0) * std::clamp(mid, 0, 100) / 100;
}
