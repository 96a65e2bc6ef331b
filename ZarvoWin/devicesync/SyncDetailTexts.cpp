#include "SyncDetailTexts.h"

#include "CBdD.h"
#include "CConfiguration.h"
#include "Texts.h"
#include "tForecast.h"
#include "tTimeEntryDetails.h"

#include <QDateTime>

namespace {

// Years that every date format writes as it should.
constexpr int FirstYear = 1970;
constexpr int LastYear = 9999;
// Past this a planned amount from a device is no duration anyone planned
// (and its rounding would leave 64 bits).
constexpr qint64 LongestDuration = qint64(1) << 40;

bool inCalendar(qint64 t)
{
    if (t <= 0)
        return false;
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(t, Qt::UTC);
    return moment.isValid() && moment.date().year() >= FirstYear && moment.date().year() < LastYear;
}

int imageOfRange(int value)
{
    return value >= 1 && value <= 5 ? value - 1 : -1;
}

} // namespace

QString SyncDetailTexts::DateTime(qint64 t, bool configuredLong, const CConfiguration &formats)
{
    return inCalendar(t) ? formats.FormatDate(t, configuredLong, true) : QString();
}

QString SyncDetailTexts::Duration(qint64 start, qint64 end, const CConfiguration &formats)
{
    // Only between two times the calendar holds, so that the difference
    // always fits.
    if (!inCalendar(start) || !inCalendar(end))
        return QString();
    return formats.FormatDuration(end - start);
}

SyncDetailTexts::TaskTexts SyncDetailTexts::ForTask(const tTimeEntryDetails &entry, const CConfiguration &formats)
{
    TaskTexts texts;
    texts.project = entry.NomProjet;
    texts.activity = entry.NomActivite;
    texts.rate = entry.Rate;
    texts.title = entry.Title;
    texts.notes = entry.Notes;
    texts.start = DateTime(entry.Debut, true, formats);
    texts.end = entry.Fin == 0 ? Platform::Texts::get(252) : DateTime(entry.Fin, true, formats);
    texts.duration = Duration(entry.Debut, entry.Fin, formats);
    texts.invoiced = Platform::Texts::get(entry.Facture ? 374 : 375);
    return texts;
}

SyncDetailTexts::ForecastTexts SyncDetailTexts::ForForecast(const tForecast &forecast, const QString &predecessorNames,
                                                            const CConfiguration &formats)
{
    // A duration of nothing stays empty rather than "0:00".
    const auto work = [&formats, &forecast](qint64 seconds) {
        return seconds > 0 && seconds < LongestDuration ? formats.FormatDurationInDays(seconds, forecast.bJours)
                   : QString();
    };
    ForecastTexts texts;
    texts.priorityImage = imageOfRange(forecast.Priority);
    texts.statusImage = imageOfRange(forecast.Status);
    const bool wishedStart = forecast.TypeDateDebut == 1 || forecast.TypeDateDebut == 3;
    texts.start = wishedStart ? DateTime(forecast.DateDebut, false, formats) : QString();
    texts.end = forecast.TypeDateFin != 0 ? DateTime(forecast.DateFin, false, formats) : QString();
    texts.alert = DateTime(forecast.DateAlerte, false, formats);
    texts.days = forecast.bJours;
    texts.planned = forecast.Prevu != 0 ? work(formats.ToSeconds(forecast.Prevu, forecast.TypePrevu)) : QString();
    texts.extra =
        forecast.DureeSupp != 0 ? work(formats.ToSeconds(forecast.DureeSupp, forecast.TypeDureeSupp)) : QString();
    texts.estimated = work(forecast.Total);
    texts.notes = forecast.Notes;
    texts.predecessors = predecessorNames;
    texts.afterPredecessors = forecast.TypeDateDebut == 2 || forecast.TypeDateDebut == 3;
    texts.automatic = forecast.bModeAuto;
    return texts;
}

SyncDetailTexts::ElementFields SyncDetailTexts::FieldsForKind(int kind)
{
    ElementFields fields;
    switch (kind) {
    case CBdD::TableProjets:
        fields.lines = {NameLine, CommentLine, TitleLine, TypeLine, ParentLine, ActivityLine, RateLine};
        fields.multiLineComment = true;
        fields.typeImage = true;
        fields.colourSwatch = true;
        fields.rateLabel = 231;
        break;
    case CBdD::TableActivites:
    case CBdD::TableTauxHoraire:
        fields.lines = {NameLine, CommentLine, RateLine};
        fields.multiLineComment = true;
        fields.colourSwatch = kind == CBdD::TableActivites;
        fields.rateLabel = 231;
        break;
    case CBdD::TableFavoris:
        fields.lines = {NameLine, CommentLine, RateLine, TitleLine};
        fields.nameLabel = 237;
        fields.commentLabel = 238;
        fields.rateLabel = 231;
        break;
    default:
        break;
    }
    return fields;
}

QString SyncDetailTexts::TypeName(int type)
{
    static const Platform::TextId names[] = {141, 554, 555, 551, 552, 556};
    return type >= 0 && type < int(std::size(names)) ? Platform::Texts::get(names[type]) : QString();
}
