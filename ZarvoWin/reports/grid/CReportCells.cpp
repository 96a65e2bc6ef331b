#include "CReportCells.h"

#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "ReportColumnCatalogue.h"
#include "tReportItem.h"
#include "tReportLabels.h"
#include "tReportSnapshot.h"

#include <cmath>

namespace {

// The seconds an entry's line counts; none for one still running.
bool entryDuration(const tReportEntry &entry, qint64 &seconds)
{
    seconds = entry.Seconds();
    return entry.Fin != 0;
}

// The total row's duration or cost, when it is a group row with one.
bool totalOf(const tReportItem *total, bool cost, double &value)
{
    const tReportGroupLine *group = total ? total->GroupLineOf() : nullptr;
    if (!group)
        return false;
    value = cost ? group->Cout : double(group->Duree);
    return value != 0.0;
}

} // namespace

CReportCells::CReportCells(const CConfiguration &configuration, const tReportSnapshot &snapshot,
                           const tReportLabels &labels, const CProjectStore *store)
    : m_config(configuration), m_snapshot(snapshot), m_labels(labels), m_store(store)
{
}

QString CReportCells::FormatDate(const CConfiguration &configuration, qint64 t, bool asLong, bool withTime,
                                 bool timeFormat, bool forceLong)
{
    Q_UNUSED(timeFormat);
    return configuration.FormatDate(t, asLong, withTime, forceLong);
}

QString CReportCells::CellText(int column, int kind, const tReportItem &row, const tReportItem *total,
                               bool keepLineBreaks, bool cut) const
{
    QString text = Raw(column, kind, row, total, false).text;
    if (!keepLineBreaks) {
        text.remove(u'\r');
        text.remove(u'\n');
    }
    if (cut && text.size() > MaxCellText) {
        text.truncate(MaxCellText);
        text += QStringLiteral("...");
    }
    return text;
}

tReportCellValue CReportCells::CellValue(int column, int kind, const tReportItem &row,
                                         const tReportItem *total) const
{
    const tRaw raw = Raw(column, kind, row, total, true);
    tReportCellValue value;
    value.Text = raw.text;
    value.Value = raw.hasValue ? raw.value : 0.0;
    value.Kind = raw.hasValue || !raw.text.isEmpty() ? kind : CrossTabLabelKind;
    return value;
}

QString CReportCells::GroupName(int levelKind, const QString &key, int keyId) const
{
    switch (levelKind) {
    case 1:
        return m_config.FormatMonthNumberYear(key.mid(5, 2).toInt(), key.left(4).toInt());
    case 2:
        return m_config.FormatIsoDate(key);
    case 3:
        return m_snapshot.ProjectName(keyId);
    case 4:
        return m_snapshot.ActivityName(keyId);
    default:
        return key;
    }
}

QString CReportCells::Duration(qint64 seconds, bool exportForm) const
{
    return exportForm ? CConfiguration::FormatHoursMinutesSeconds(seconds, false) : m_config.FormatDuration(seconds);
}

CReportCells::tRaw CReportCells::Raw(int column, int kind, const tReportItem &row, const tReportItem *total,
                                     bool exportForm) const
{
    switch (row.GetKind()) {
    case tReportItem::TextLine: {
        const tReportTextLine *line = row.TextLineOf();
        QString text = column == 0 ? line->Text
                                   : (column - 1 < line->Texts.size() ? line->Texts[column - 1] : QString());
        if (column > 0 && kind == CrossTabValueKind)
            text = exportForm ? CConfiguration::ReformatHoursMinutes(text) : m_config.ReformatDuration(text);
        return {text};
    }
    case tReportItem::GroupLine:
    case tReportItem::TotalLine:
        return GroupCell(column, kind, row, total, exportForm);
    case tReportItem::EntryLine:
        return EntryCell(column, kind, row, total, exportForm);
    case tReportItem::Pair:
        return ForecastCell(column, kind, row, exportForm);
    default:
        return {};
    }
}

CReportCells::tRaw CReportCells::GroupCell(int column, int kind, const tReportItem &row, const tReportItem *total,
                                           bool exportForm) const
{
    if (const tReportTotalLine *cross = row.TotalLineOf()) {
        if (column == 0)
            return {GroupName(cross->LevelKind, cross->Title, cross->KeyId)};
        const size_t slot = size_t(column - 1);
        if (column < 1 || slot >= cross->Sums.size() || cross->Sums[slot] == 0)
            return {};
        return {Duration(cross->Sums[slot], exportForm), double(cross->Sums[slot]), true};
    }
    const tReportGroupLine *group = row.GroupLineOf();
    if (column == 0)
        return {GroupName(group->LevelKind, group->Title, group->KeyId)};
    double whole = 0.0;
    switch (kind) {
    case 5:
        return {Duration(group->Duree, exportForm), double(group->Duree), true};
    case 7:
        return {m_config.FormatCurrency(group->Cout), group->Cout, true};
    case 19:
        if (!totalOf(total, false, whole))
            return {};
        return {m_config.FormatPercentDecimal(double(group->Duree) / whole), double(group->Duree) / whole, true};
    case 20:
        if (!totalOf(total, true, whole))
            return {};
        return {m_config.FormatPercentDecimal(group->Cout / whole), group->Cout / whole, true};
    default:
        return {};
    }
}

CReportCells::tRaw CReportCells::EntryCell(int column, int kind, const tReportItem &row, const tReportItem *total,
                                           bool exportForm) const
{
    const tReportEntry &e = *row.EntryOf();
    qint64 seconds = 0;
    const bool hasDuration = entryDuration(e, seconds);
    const float rate = m_snapshot.RateValue(e.IdTauxHoraire);
    const double cost = m_snapshot.LineCost(e);
    const tReportSnapshot::tProject *project = m_snapshot.Project(e.IdProjet);
    const auto activity = m_snapshot.Activities.constFind(e.IdActivite);
    const bool knownActivity = activity != m_snapshot.Activities.cend();
    const auto rateRecord = m_snapshot.Rates.constFind(e.IdTauxHoraire);
    const bool knownRate = rateRecord != m_snapshot.Rates.cend();
    double whole = 0.0;
    switch (kind) {
    case 0:
        return {FormatDate(m_config, e.Debut, true, false, false, false)};
    case 1:
        return {project ? project->Nom : column == 0 ? m_labels.UnknownProject : QString()};
    case 2:
        return {knownActivity ? activity->Nom : column == 0 ? m_labels.UnknownActivity : QString()};
    case 3:
        return {exportForm ? CConfiguration::FormatClockTime(e.Debut) : m_config.FormatLocaleTime(e.Debut)};
    case 4:
        if (e.Fin == 0)
            return {};
        return {exportForm ? CConfiguration::FormatClockTime(e.Fin) : m_config.FormatLocaleTime(e.Fin)};
    case 5:
        if (!hasDuration)
            return {};
        return {Duration(seconds, exportForm), double(seconds), true};
    case 6:
        return {m_config.FormatCurrency(rate), double(rate), true};
    case 7:
        if (!hasDuration)
            return {};
        return {m_config.FormatCurrency(cost), cost, true};
    case 9:
        return {e.Title};
    case 10:
        return {e.Notes};
    case 11:
        return {m_snapshot.FullName(e.IdProjet)};
    case 12:
        return {project ? project->Title : QString()};
    case 13:
        return {project ? project->Commentaire : QString()};
    case 14:
        return {knownActivity ? activity->Commentaire : QString()};
    case 15:
        return {knownRate ? rateRecord->Nom : QString()};
    case 16:
        return {knownRate ? rateRecord->Commentaire : QString()};
    case 17:
        return {FormatDate(m_config, e.Debut, true, false, true, true)};
    case 18:
        return {FormatDate(m_config, e.Debut, false, false, false, false)};
    case 19:
        if (!hasDuration || !totalOf(total, false, whole))
            return {};
        return {m_config.FormatPercentDecimal(double(seconds) / whole), double(seconds) / whole, true};
    case 20:
        if (!hasDuration || !totalOf(total, true, whole))
            return {};
        return {m_config.FormatPercentDecimal(cost / whole), cost / whole, true};
    default:
        return {};
    }
}

QString CReportCells::NodeStatus(const CProject &node) const
{
    int status = node.Forecast().Status;
    if (node.IsInactive())
        status = tForecast::StatusInactive;
    else if (node.IsCompleted())
        status = tForecast::StatusCompleted;
    else if (status == 1)
        status = node.GetDoneWork(true) != 0 ? 3 : 2;
    return status >= 1 && status <= 5 ? m_labels.Statuses[size_t(status)] : QString();
}

CReportCells::tRaw CReportCells::ForecastCell(int column, int kind, const tReportItem &row, bool exportForm) const
{
    const tReportPair &pair = *row.PairOf();
    if (!m_store)
        return {};
    if (pair.IdProjet == -1)
        return {column == 0 ? m_labels.Projects : QString()};
    const CProject *node = m_store->FindNode(pair.IdActivite, pair.IdProjet);
    if (!node)
        return {};
    if (node->IsRoot())
        return {column == 0 ? m_labels.Projects : QString()};
    const bool inDays = node->Forecast().bJours;
    const auto date = [this](qint64 t) {
        return tRaw{t != 0 ? FormatDate(m_config, t, m_config.longDates, true, false, false) : QString()};
    };
    // The exports read work amounts as hours and minutes, not as days.
    const auto work = [this, inDays, exportForm](qint64 seconds, bool zeroToo) {
        if (seconds == CProject::NoWork || (seconds == 0 && !zeroToo))
            return tRaw{};
        if (exportForm)
            return tRaw{CConfiguration::FormatHoursMinutesSeconds(seconds, false), double(seconds), true};
        return tRaw{m_config.FormatDurationInDays(seconds, inDays)};
    };
    const auto ratio = [this](double value) {
        if (!(value > 0) || value == CProject::NoRatio)
            return tRaw{};
        return tRaw{m_config.FormatPercentDecimal(value), value, true};
    };
    switch (kind) {
    case 21:
        if (!node->IsActivity())
            return {node->Element().Nom};
        if (const tElement *activity = m_store->GetActivity(node->ActivityId()))
            return {activity->Nom};
        return {m_labels.UnknownActivity};
    case 22: {
        const int priority = node->Forecast().Priority;
        return {priority >= 1 && priority <= 5 ? m_labels.Priorities[size_t(priority)] : QString()};
    }
    case 23:
        return {NodeStatus(*node)};
    case 24:
        return date(node->GetPlannedStart());
    case 25:
        return date(node->GetFixedEnd());
    case 26:
        return date(node->Forecast().DateAlerte);
    case 27:
        return date(node->GetOpenForecastStart());
    case 28:
        return date(node->GetOpenForecastEnd());
    case 29:
        return work(node->GetPlannedWork(), false);
    case 30:
        return work(node->GetExpectedWork(), false);
    case 31:
        return work(node->GetDoneWork(true), true);
    case 32:
        return work(node->GetRemainingWork(), false);
    case 33:
        return ratio(node->GetProgress());
    case 34:
        return ratio(node->GetPlannedRatio());
    case 35: {
        const int count = node->GetTaskCount(true);
        return {QString::number(count), double(count), true};
    }
    case 36:
        return {node->GetNotes()};
    default:
        return {};
    }
}
