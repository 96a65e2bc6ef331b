#include "CConfiguration.h"

#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "Settings.h"
#include "Texts.h"

#include <QDateTime>
#include <QTime>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

namespace {

// An instant broken down on the local wall clock.
struct LocalPoint
{
    QDate date;
    qint64 day = 0;    // Julian day
    qint64 second = 0; // second of day on the wall clock
    bool valid = false;
};

LocalPoint breakDown(qint64 t)
{
    LocalPoint p;
    const QDateTime dt = Platform::LocalTime::toLocal(t);
    if (!dt.isValid() || !dt.date().isValid())
        return p;
    p.date = dt.date();
    p.day = p.date.toJulianDay();
    const QTime tm = dt.time();
    p.second = tm.hour() * 3600 + tm.minute() * 60 + tm.second();
    p.valid = true;
    return p;
}

// The local offset from UTC at an instant, straight from the C library that
// the local dates come from: cheaper than a local date-time object, and
// asked twice for every instant placed on the wall clock.
int offsetAt(qint64 t)
{
    const time_t tt = static_cast<time_t>(t);
    struct tm parts {};
    if (!localtime_r(&tt, &parts))
        return std::numeric_limits<int>::min();
    return int(parts.tm_gmtoff);
}

// The instant of `date` at a wall-clock second of day; 86 400 and beyond
// run into the next day (a period may end at 24:00). When the autumn change
// makes the wall clock show that time twice, the earlier of the two that is
// not before `notBefore` (the earlier of the two when neither is).
qint64 instantAt(const QDate &date, qint64 second, qint64 notBefore = std::numeric_limits<qint64>::min())
{
    if (second >= 86400)
        return Platform::LocalTime::midnight(date.addDays(1)) + (second - 86400);
    const QTime tm(int(second / 3600), int(second % 3600 / 60), int(second % 60));
    if (second == 0)
        return Platform::LocalTime::midnight(date);
    const QDateTime dt(date, tm, Qt::LocalTime);
    if (dt.isValid() && dt.time() == tm && dt.date() == date) {
        // Without a clock change within three hours either side, the
        // wall-clock time names one instant.
        const qint64 instant = dt.toSecsSinceEpoch();
        const int offset = dt.offsetFromUtc();
        if (offsetAt(instant - 10800) == offset && offsetAt(instant + 10800) == offset)
            return instant;
    }
    const qint64 midnight = Platform::LocalTime::midnight(date);
    // The day's offsets from UTC, before and after a change it may hold. The
    // C library's choice between the two passes of a repeated hour depends on
    // earlier calls, so both are tried here.
    const qint64 wall = QDateTime(date, tm, Qt::UTC).toSecsSinceEpoch();
    const int offsets[2] = {
        Platform::LocalTime::toLocal(midnight).offsetFromUtc(),
        Platform::LocalTime::toLocal(Platform::LocalTime::midnight(date.addDays(1)) - 1).offsetFromUtc(),
    };
    qint64 found[2];
    int count = 0;
    for (int offset : offsets) {
        const qint64 candidate = wall - offset;
        const QDateTime local = Platform::LocalTime::toLocal(candidate);
        if (local.isValid() && local.date() == date && local.time() == tm
            && (count == 0 || found[0] != candidate))
            found[count++] = candidate;
    }
    if (count == 2 && found[1] < found[0])
        std::swap(found[0], found[1]);
    if (count > 0)
        return count == 2 && found[0] < notBefore ? found[1] : found[0];
    // A wall-clock time that the spring change skips: the first instant
    // after the skipped hour, so that a later wall-clock time never gives an
    // earlier instant.
    const qint64 past = midnight + second; // lies after the change
    const QTimeZone::OffsetData change =
        QTimeZone::systemTimeZone().previousTransition(QDateTime::fromSecsSinceEpoch(past + 1, Qt::UTC));
    if (change.atUtc.isValid()) {
        const qint64 at = change.atUtc.toSecsSinceEpoch();
        if (at >= midnight && at <= past)
            return at;
    }
    return past;
}

// Sunday = 1 .. Saturday = 7 of a Julian day (Julian day 0 is a Monday).
int weekdayOfJulian(qint64 jd)
{
    return int((jd % 7 + 1) % 7) + 1;
}

qint64 oleEpochJulian()
{
    static const qint64 jd = QDate(1899, 12, 30).toJulianDay();
    return jd;
}

int oleDayOfJulian(qint64 jd)
{
    return int(jd - oleEpochJulian());
}

qint64 julianOfOleDay(int day)
{
    return qint64(day) + oleEpochJulian();
}

// The last day a walk may reach.
qint64 lastWalkableDay()
{
    static const qint64 jd = QDate(9999, 12, 30).toJulianDay();
    return jd;
}

constexpr qint64 kFarAway = std::numeric_limits<qint64>::max() / 4;

// A walk forward over the days, past the days off. The ranges are in
// order, so the index into them only moves on as the days do.
class DaysOffWalk
{
public:
    DaysOffWalk(const CDayOff &daysOff, qint64 firstDay)
        : m_off(daysOff.Ranges()), m_index(daysOff.FirstRangeEndingFrom(oleDayOfJulian(firstDay)))
    {
    }

    // When day `d` is off: moves it to the day after its range and says so.
    bool SkipDaysOff(qint64 &d)
    {
        const int ole = oleDayOfJulian(d);
        while (m_index < m_off.size() && m_off[m_index].end < ole)
            ++m_index;
        if (m_index < m_off.size() && m_off[m_index].start <= ole) {
            d = julianOfOleDay(m_off[m_index].end) + 1;
            return true;
        }
        return false;
    }

    // The first day of the next days off after the last day looked at, or
    // `none` when no days off follow.
    qint64 NextDayOff(qint64 none) const
    {
        return m_index < m_off.size() ? julianOfOleDay(m_off[m_index].start) : none;
    }

private:
    const std::vector<tWorkingPeriode> &m_off;
    size_t m_index;
};

} // namespace

CConfiguration::CConfiguration()
    : m_locale(QLocale::French, QLocale::France)
{
    LoadTexts();
    LoadLocaleFormats();
}

// ---------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------

namespace {

const char16_t *const kBase = u"Config";

// A folder value ends with the separator, so that file names can follow.
QString folderValue(const Platform::Settings &s, QStringView section, QStringView name)
{
    QString v = s.getString(kBase, section, name, QString());
    if (!v.isEmpty() && !v.endsWith(u'/'))
        v += u'/';
    return v;
}

int intValue(const Platform::Settings &s, QStringView section, QStringView name, int def)
{
    return s.getInt(kBase, section, name, def);
}

} // namespace

int CConfiguration::WeekdayFromLocale(const QLocale &locale)
{
    // Qt counts Monday = 1 .. Sunday = 7; the program Sunday = 1 .. Saturday = 7.
    return int(locale.firstDayOfWeek()) % 7 + 1;
}

void CConfiguration::Load(Platform::Settings &s)
{
    const int first = intValue(s, u"Affichage", u"FirstDayOfWeek", 0);
    if (first >= 1 && first <= 7) {
        firstDayOfWeek = first;
        firstDayFromLocale = false;
    } else {
        firstDayOfWeek = WeekdayFromLocale(m_locale);
        firstDayFromLocale = true;
    }
    weekNumbering = intValue(s, u"Affichage", u"WeekNumbering", 1);

    // Seven items Sunday first: "0,1,1,1,1,1,0".
    const QString work = s.getString(kBase, u"Affichage", u"WorkDays", QStringLiteral("0,1,1,1,1,1,0"));
    for (int i = 0; i < 7; ++i) {
        const qsizetype at = qsizetype(i) * 2;
        workDays[size_t(i)] = at < work.size() && work[at] == u'1';
    }

    // The calendar is read afresh: a weekday without a stored text uses the
    // default day.
    workingDays = CWorkingDays();
    const QString def = s.getString(kBase, u"Affichage", u"WorkingDay", QStringLiteral("480,720;780,1020;"));
    if (def.isEmpty()) {
        int startHour = intValue(s, u"Affichage", u"StartHour", 6);
        int endHour = intValue(s, u"Affichage", u"EndHour", 18);
        if (startHour < 0 || startHour > 24)
            startHour = 6;
        if (endHour < 0 || endHour > 24)
            endHour = 18;
        workingDays.AddPeriod(0, startHour * 60, endHour * 60);
        workingDays.Set(0).Normalize();
    } else {
        workingDays.ParseDay(0, def);
    }
    for (int w = 1; w <= 7; ++w)
        workingDays.ParseDay(w, s.getString(kBase, u"Affichage", CWorkingDays::SettingName(w), QString()));
    workingDays.UpdateTotals();
    daysOff.Load(s);

    dataFolder = folderValue(s, u"Rep", u"Data");
    usersFolder = folderValue(s, u"Rep", u"Users");
    lanFolder = folderValue(s, u"Lan", u"Rep");
    lanTime = intValue(s, u"Lan", u"Time", -1);

    backup = intValue(s, u"Backup", u"Backup", 1) != 0;
    backupPeriode = intValue(s, u"Backup", u"Periode", 3);
    backupSynchro = intValue(s, u"Backup", u"Synchro", 1) != 0;
    backupKeep = intValue(s, u"Backup", u"Keep", 5);
    if (backupKeep <= backupPeriode) // raised in 64 bits: a hand-edited Periode may be the largest int
        backupKeep = int(std::min<qint64>(qint64(backupPeriode) + 1, std::numeric_limits<int>::max()));
    backupFolder = folderValue(s, u"Backup", u"Rep");

    reportLogo = intValue(s, u"Reports", u"Logo", 0) != 0;
    reportLogoFile = s.getString(kBase, u"Reports", u"FicLogo", QString());
    reportLogoPos = intValue(s, u"Reports", u"PosLogo", 0);
    reportText = intValue(s, u"Reports", u"Text", 0) != 0;
    reportTextFile = s.getString(kBase, u"Reports", u"FicText", QString());
    reportTextPos = intValue(s, u"Reports", u"PosText", 2);

    longDates = intValue(s, u"Format", u"Date", 1) != 0;
    durationCode = intValue(s, u"Format", u"Duree", 0);
    LoadDurationFormat();
    if (s.getString(kBase, u"Format", u"sDuree", QString()).isEmpty())
        s.setString(kBase, u"Format", u"sDuree", durationPattern);

    progressColours[0] = quint32(intValue(s, u"Forecast", u"ProgressColor 0", 0x00FF00));
    progressColours[1] = quint32(intValue(s, u"Forecast", u"ProgressColor 1", 0x00FFFF));
    progressColours[2] = quint32(intValue(s, u"Forecast", u"ProgressColor 2", 0x0000FF));
    progressMid = intValue(s, u"Forecast", u"ProgressMid", 50);
    showActivities = intValue(s, u"Forecast", u"ShowActivities", 1) != 0;
    iconOrText = intValue(s, u"Forecast", u"IconOrText", 2);
    pctNonComptabilise = std::clamp(intValue(s, u"Forecast", u"PctNonComptabilise", 0), 0, 100);
    realTime = intValue(s, u"Forecast", u"Real Time", 1) != 0;
    fmtDays = intValue(s, u"Forecast", u"FmtDays", 0) != 0;

    snapToGrid = intValue(s, u"Align", u"SnapToGrid", 0) != 0;
    grid = intValue(s, u"Align", u"Grid", 5);
    if (grid != 5 && grid != 10 && grid != 15)
        grid = 5;

    bigIcon = intValue(s, u"Misc", u"BigIcon", 0) != 0;
    logErrors = intValue(s, u"Misc", u"LogErrors", 0) == 1;

    LoadLocaleFormats();
}

void CConfiguration::Load()
{
    Platform::Settings settings;
    Load(settings);
}

void CConfiguration::LoadTexts()
{
    using Platform::Texts;
    using Platform::TextId;
    static const TextId months[12] = {264, 265, 266, 267, 268, 269, 270, 271, 272, 273, 274, 275};
    static const TextId shortMonths[12] = {215, 216, 217, 218, 446, 447, 448, 449, 450, 451, 452, 453};
    // Sunday first.
    static const TextId days[7] = {108, 102, 103, 104, 105, 106, 107};
    static const TextId shortDays[7] = {460, 454, 455, 456, 457, 458, 459};
    for (size_t i = 0; i < 12; ++i) {
        monthNames[i] = Texts::get(months[i]);
        shortMonthNames[i] = Texts::get(shortMonths[i]);
    }
    for (size_t i = 0; i < 7; ++i) {
        dayNames[i] = Texts::get(days[i]);
        shortDayNames[i] = Texts::get(shortDays[i]);
    }
}

namespace {

// A format without the letters of one field outside quotes; with
// `separatorBefore`, also without the separator written in front of the
// field.
QString withoutField(const QString &format, QChar field, bool separatorBefore)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == field) {
            while (separatorBefore && !out.isEmpty() && !out.back().isLetter() && out.back() != u'\''
                   && !out.back().isSpace())
                out.chop(1);
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

// A time format without the time-zone field that Qt's long formats carry.
QString withoutZone(const QString &format)
{
    return withoutField(format, u't', false);
}

} // namespace

void CConfiguration::SetLocale(const QLocale &locale)
{
    m_locale = locale;
    LoadLocaleFormats();
}

void CConfiguration::LoadLocaleFormats()
{
    // The time formats are worked out once: every time shown (a week view
    // shows hundreds) uses them.
    m_timeFormatWithSeconds = withoutZone(m_locale.timeFormat(QLocale::LongFormat));
    // Without the seconds field and the separator in front of it
    // ("HH:mm:ss" becomes "HH:mm", "h:mm:ss AP" becomes "h:mm AP").
    m_timeFormatWithoutSeconds = withoutField(m_timeFormatWithSeconds, u's', true);

    const QString longFormat = m_locale.dateFormat(QLocale::LongFormat);
    longDatePattern = ConvertDatePattern(longFormat);
    shortDatePattern = ConvertDatePattern(m_locale.dateFormat(QLocale::ShortFormat));

    // The order of the long date: the month comes first unless the day of
    // month precedes it (year-first patterns count as month first).
    qsizetype dayAt = -1, monthAt = -1, yearAt = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < longFormat.size();) {
        const QChar c = longFormat[i];
        if (c == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < longFormat.size() && longFormat[i + run] == c)
            ++run;
        if (!quoted) {
            if (c == u'd' && run <= 2 && dayAt < 0)
                dayAt = i;
            else if (c == u'M' && monthAt < 0)
                monthAt = i;
            else if (c == u'y' && yearAt < 0)
                yearAt = i;
        }
        i += run;
    }
    const bool yearFirst = yearAt >= 0 && (dayAt < 0 || yearAt < dayAt) && (monthAt < 0 || yearAt < monthAt);
    const bool dayFirst = dayAt >= 0 && (monthAt < 0 || dayAt < monthAt) && !yearFirst;
    monthBeforeDay = !dayFirst;
}

void CConfiguration::LoadDurationFormat()
{
    if (durationCode < 0 || durationCode > 2)
        durationCode = 0;
    // Each text is a description, '|' and the message pattern.
    static const Platform::TextId texts[3] = {211, 212, 213};
    const QString text = Platform::Texts::get(texts[durationCode]);
    const qsizetype bar = text.indexOf(u'|');
    durationPattern = bar >= 0 ? text.mid(bar + 1) : QStringLiteral("%1!d!:%2!02d!");
}

QString CConfiguration::ConvertDatePattern(QStringView pattern)
{
    // Left to right, one field at a time: an insert already written is never
    // read again, so the "d" of "%7!1d!" cannot be taken for a day field.
    struct Field { QChar letter; int length; const char16_t *insert; };
    static const Field fields[] = {
        {u'd', 4, u"%5!s!"}, {u'd', 3, u"%6!s!"}, {u'd', 2, u"%7!02d!"}, {u'd', 1, u"%7!1d!"},
        {u'y', 5, u"%1!4d!"}, {u'y', 4, u"%1!4d!"}, {u'y', 2, u"%8!02d!"}, {u'y', 1, u"%8!1d!"},
        {u'M', 4, u"%2!s!"}, {u'M', 3, u"%3!s!"}, {u'M', 2, u"%4!02d!"}, {u'M', 1, u"%4!1d!"},
    };
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            // Quoted text is copied as it stands; a doubled quote, inside or
            // outside, stands for one quote.
            if (i + 1 < pattern.size() && pattern[i + 1] == u'\'') {
                out += u'\'';
                i += 2;
                continue;
            }
            ++i;
            while (i < pattern.size()) {
                if (pattern[i] == u'\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == u'\'') {
                        out += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (pattern[i] == u'%')
                    out += QStringLiteral("%%");
                else
                    out += pattern[i];
                ++i;
            }
            continue;
        }
        if (c == u'd' || c == u'y' || c == u'M') {
            qsizetype run = 1;
            while (i + run < pattern.size() && pattern[i + run] == c)
                ++run;
            qsizetype left = run;
            while (left > 0) {
                for (const Field &f : fields) {
                    if (f.letter == c && f.length <= left) {
                        out += QString::fromUtf16(f.insert);
                        left -= f.length;
                        break;
                    }
                }
            }
            i += run;
            continue;
        }
        if (c == u'%')
            out += QStringLiteral("%%");
        else
            out += c;
        ++i;
    }
    return out;
}

int CConfiguration::PeriodDays(int code)
{
    static const int days[9] = {1, 2, 3, 7, 14, 30, 61, 182, 365};
    return code >= 0 && code <= 8 ? days[code] : 0;
}

qint64 CConfiguration::GetPeriodStart(bool useKeep) const
{
    const int days = PeriodDays(useKeep ? backupKeep : backupPeriode);
    if (days == 0)
        return 0;
    // Calendar days back on the wall clock, so a clock change in between
    // does not shift the moment by an hour.
    return Platform::LocalTime::toLocal(Platform::Clock::now()).addDays(-days).toSecsSinceEpoch();
}

// ---------------------------------------------------------------------------
// Formatting
// ---------------------------------------------------------------------------

namespace {

// Hours and minutes of a non-negative duration rounded to the minute.
void roundedHoursMinutes(qint64 seconds, qint64 &hours, int &minutes)
{
    // Rounded without adding first, which would overflow near the largest value.
    const qint64 total = seconds / 60 + (seconds % 60 >= 30 ? 1 : 0);
    hours = total / 60;
    minutes = int(total % 60);
}

qint64 absolute(qint64 v)
{
    return v == std::numeric_limits<qint64>::min() ? std::numeric_limits<qint64>::max() : (v < 0 ? -v : v);
}

} // namespace

QString CConfiguration::FormatDuration(qint64 seconds, bool force) const
{
    if (seconds < 0 && !force)
        return QString();
    return FormatDurationWithPattern(seconds, durationPattern);
}

QString CConfiguration::FormatDurationWithPattern(qint64 seconds, QStringView pattern)
{
    qint64 hours = 0;
    int minutes = 0;
    roundedHoursMinutes(absolute(seconds), hours, minutes);
    const QString text = Platform::Formatter::message(pattern, {hours, minutes});
    return seconds < 0 ? u'-' + text : text;
}

QString CConfiguration::FormatHoursMinutes(qint64 seconds)
{
    qint64 hours = 0;
    int minutes = 0;
    roundedHoursMinutes(absolute(seconds), hours, minutes);
    const QString text = Platform::Formatter::sprintf(u"%I64d:%02d", {hours, minutes});
    return seconds < 0 ? u'-' + text : text;
}

QString CConfiguration::FormatHoursMinutesSeconds(qint64 seconds, bool withSeconds)
{
    if (!withSeconds)
        return FormatHoursMinutes(seconds);
    const qint64 a = absolute(seconds);
    const QString text = Platform::Formatter::sprintf(u"%I64d:%02d:%02d", {a / 3600, int(a % 3600 / 60), int(a % 60)});
    return seconds < 0 ? u'-' + text : text;
}

bool CConfiguration::ParseDuration(QStringView text, qint64 &seconds)
{
    const QStringView t = text.trimmed();
    const QList<QStringView> parts = t.split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    qint64 values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toLongLong(&ok);
        if (!ok || values[i] < 0 || (i > 0 && values[i] > 59))
            return false;
    }
    // More hours than seconds can count is no duration.
    if (values[0] > (std::numeric_limits<qint64>::max() - values[1] * 60 - values[2]) / 3600)
        return false;
    seconds = values[0] * 3600 + values[1] * 60 + values[2];
    return true;
}

QString CConfiguration::ReformatDuration(const QString &text) const
{
    qint64 seconds = 0;
    if (text.isEmpty() || !ParseDuration(text, seconds))
        return text;
    return FormatDuration(seconds, true);
}

QString CConfiguration::ReformatHoursMinutes(const QString &text)
{
    qint64 seconds = 0;
    if (text.isEmpty() || !ParseDuration(text, seconds))
        return text;
    return FormatHoursMinutes(seconds);
}

QString CConfiguration::FormatClockTime(qint64 t)
{
    const QDateTime dt = Platform::LocalTime::toLocal(t);
    if (!dt.isValid())
        return QString();
    return Platform::Formatter::sprintf(u"%02d:%02d", {dt.time().hour(), dt.time().minute()});
}

QString CConfiguration::GetTimeFormatWithSeconds() const
{
    return m_timeFormatWithSeconds;
}

QString CConfiguration::GetTimeFormatWithoutSeconds() const
{
    return m_timeFormatWithoutSeconds;
}

QString CConfiguration::FormatLocaleTime(const QTime &time, bool withSeconds) const
{
    if (!time.isValid())
        return QString();
    return m_locale.toString(time, withSeconds ? GetTimeFormatWithSeconds() : GetTimeFormatWithoutSeconds());
}

QString CConfiguration::FormatLocaleTime(qint64 t, bool withSeconds) const
{
    if (t == 0)
        return QString();
    const QDateTime dt = Platform::LocalTime::toLocal(t);
    if (!dt.isValid())
        return QString();
    return FormatLocaleTime(dt.time(), withSeconds);
}

QString CConfiguration::FormatMinutesOfDay(int minutes) const
{
    if (minutes < 0 || minutes > 1439)
        return QString();
    return FormatLocaleTime(QTime(minutes / 60, minutes % 60), false);
}

QString CConfiguration::FormatDateParts(const QDate &date, const QString &pattern) const
{
    const int month = date.month() - 1;
    const int weekday = date.dayOfWeek() % 7; // Sunday = 0
    return Platform::Formatter::message(pattern, {
        date.year(), monthNames[size_t(month)], shortMonthNames[size_t(month)], date.month(),
        dayNames[size_t(weekday)], shortDayNames[size_t(weekday)], date.day(), date.year() % 100,
    });
}

QString CConfiguration::FormatOleDate(const QDateTime &local, bool asLong, bool withTime, bool forceLong) const
{
    if (!local.isValid() || !local.date().isValid())
        return QString();
    const bool useLong = forceLong || (asLong && longDates);
    const QString &pattern = useLong ? longDatePattern : shortDatePattern;
    QString text;
    if (pattern.isEmpty())
        text = m_locale.toString(local.date(), useLong ? QLocale::LongFormat : QLocale::ShortFormat);
    else
        text = FormatDateParts(local.date(), pattern);
    if (withTime)
        text += u' ' + FormatLocaleTime(local.time(), false);
    return text;
}

QString CConfiguration::FormatOleDate(const QDate &date, bool asLong, bool forceLong) const
{
    if (!date.isValid())
        return QString();
    return FormatOleDate(QDateTime(date, QTime(12, 0), Qt::LocalTime), asLong, false, forceLong);
}

QString CConfiguration::FormatDate(qint64 t, bool asLong, bool withTime, bool forceLong) const
{
    if (t <= 0)
        return QString();
    return FormatOleDate(Platform::LocalTime::toLocal(t), asLong, withTime, forceLong);
}

QString CConfiguration::FormatIsoDate(const QString &isoDate) const
{
    const QDate date = QDate::fromString(isoDate, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return QString();
    return FormatDate(QDateTime(date, QTime(12, 0), Qt::LocalTime).toSecsSinceEpoch(), true);
}

QString CConfiguration::FormatDateRange(const QDate &first, const QDate &last) const
{
    if (!first.isValid() || !last.isValid())
        return QString();
    const QString &m1 = monthNames[size_t(first.month() - 1)];
    const QString &m2 = monthNames[size_t(last.month() - 1)];
    using Platform::Formatter;
    if (first.year() == last.year() && first.month() == last.month()) {
        return monthBeforeDay
                   ? Formatter::message(u"%1!s! %2!d! - %3!d!,%4!d!", {m1, first.day(), last.day(), first.year()})
                   : Formatter::message(u"%1!d! - %2!d! %3!s! %4!d!", {first.day(), last.day(), m1, first.year()});
    }
    if (first.year() == last.year()) {
        return monthBeforeDay
                   ? Formatter::message(u"%1!s! %2!d! - %3!s! %4!d!,%5!d!", {m1, first.day(), m2, last.day(), first.year()})
                   : Formatter::message(u"%1!d! %2!s! - %3!d! %4!s! %5!d!", {first.day(), m1, last.day(), m2, first.year()});
    }
    return monthBeforeDay
               ? Formatter::message(u"%1!s! %2!d!,%3!d! - %4!s! %5!d!,%6!d!",
                                    {m1, first.day(), first.year(), m2, last.day(), last.year()})
               : Formatter::message(u"%1!d! %2!s! %3!d! - %4!d! %5!s! %6!d!",
                                    {first.day(), m1, first.year(), last.day(), m2, last.year()});
}

QString CConfiguration::FormatMonthDay(int month, int day) const
{
    if (month < 1 || month > 12)
        return QString();
    const QString &name = monthNames[size_t(month - 1)];
    return monthBeforeDay ? Platform::Formatter::message(u"%1!s! %2!d!", {name, day})
                          : Platform::Formatter::message(u"%1!d! %2!s!", {day, name});
}

QString CConfiguration::FormatDayMonth(const QDate &date, bool fullName) const
{
    if (!date.isValid())
        return QString();
    const size_t m = size_t(date.month() - 1);
    const QString &name = fullName ? monthNames[m] : shortMonthNames[m];
    return monthBeforeDay ? Platform::Formatter::message(u"%1!s! %2!d!", {name, date.day()})
                          : Platform::Formatter::message(u"%1!d! %2!s!", {date.day(), name});
}

QString CConfiguration::FormatMonthYear(const QDate &date) const
{
    if (!date.isValid())
        return QString();
    return FormatMonthNumberYear(date.month(), date.year());
}

QString CConfiguration::FormatMonthNumberYear(int month, int year) const
{
    if (month < 1 || month > 12)
        return QString();
    return Platform::Formatter::sprintf(u"%s %d", {monthNames[size_t(month - 1)], year});
}

QString CConfiguration::GetDayName(const QDate &date) const
{
    if (!date.isValid())
        return QString();
    return dayNames[size_t(date.dayOfWeek() % 7)];
}

QString CConfiguration::FormatPercent(int percent)
{
    return Platform::Formatter::sprintf(u"%d %%", {percent});
}

QString CConfiguration::FormatPercentDecimal(double ratio) const
{
    if (ratio < 0 || ratio == std::numeric_limits<double>::max() || std::isnan(ratio))
        return QString();
    QString text = Platform::Formatter::sprintf(u"%.2f %%", {ratio * 100.0});
    QString separator = m_locale.decimalPoint();
    if (separator.isEmpty())
        separator = QStringLiteral(".");
    text.replace(u'.', separator);
    return text;
}

QString CConfiguration::FormatCurrency(double amount) const
{
    return m_locale.toCurrencyString(amount, m_locale.currencySymbol(), CurrencyDecimals);
}

double CConfiguration::RoundCurrency(double amount)
{
    static_assert(CurrencyDecimals == 2, "the scale below follows the decimals");
    if (!std::isfinite(amount))
        return amount;
    return std::round(amount * 100.0) / 100.0;
}

QString CConfiguration::FormatDurationInDays(qint64 seconds, bool inDays, bool compact) const
{
    if (seconds == std::numeric_limits<qint64>::min() || seconds == std::numeric_limits<qint64>::max())
        return QString();
    const bool negative = seconds < 0;
    const qint64 value = absolute(seconds);
    const qint64 dayLength = qint64(workingDays.Set(0).total) * 60;
    QString text;
    if (!inDays || dayLength <= 0 || value < dayLength) {
        text = FormatDuration(value, true);
    } else {
        const qint64 days = value / dayLength;
        const QString rest = FormatDuration(value % dayLength, true);
        using Platform::Texts;
        if (compact)
            text = Platform::Formatter::message(Texts::get(575), {days, rest});
        else if (days == 1)
            text = Platform::Formatter::message(Texts::get(544), {rest});
        else
            text = Platform::Formatter::message(Texts::get(522), {days, rest});
    }
    return negative ? QStringLiteral("- ") + text : text;
}

// ---------------------------------------------------------------------------
// Working-time calendar
// ---------------------------------------------------------------------------

void CConfiguration::SetBookedIntervals(const std::vector<tDebutFin> &intervals)
{
    m_booked.Set(intervals);
}

void CConfiguration::ClearBookedIntervals()
{
    m_booked.Clear();
}

bool CConfiguration::WeekdayWorks(int w) const
{
    if (w < 1 || w > 7)
        return false;
    return workDays[size_t(w - 1)] && workingDays.Effective(w).total > 0;
}

bool CConfiguration::DayIsWorked(qint64 julianDay) const
{
    return WeekdayWorks(weekdayOfJulian(julianDay)) && !daysOff.IsDayOffNumber(oleDayOfJulian(julianDay));
}

bool CConfiguration::IsWorkingDay(const QDate &date) const
{
    if (!date.isValid())
        return false;
    return DayIsWorked(date.toJulianDay());
}

int CConfiguration::CountWorkingWeekdays() const
{
    return int(std::count(workDays.begin(), workDays.end(), true));
}

qint64 CConfiguration::GetWeekdayWorkingSeconds(int w, qint64 from, qint64 to) const
{
    if (w < 1 || w > 7)
        return 0;
    return workingDays.Effective(w).GetWorkingSeconds(from, to);
}

qint64 CConfiguration::GetWeekSeconds() const
{
    qint64 sum = 0;
    for (int w = 1; w <= 7; ++w) {
        if (WeekdayWorks(w))
            sum += workingDays.GetDaySeconds(w);
    }
    return sum;
}

qint64 CConfiguration::DayCapacity(qint64 julianDay, int &cursor) const
{
    if (!DayIsWorked(julianDay))
        return 0;
    if (!m_booked.IsEmpty()) {
        m_booked.SkipEnded(julianDay, cursor);
        if (m_booked.ReachesInto(julianDay, cursor)) {
            CWorkingDay cut;
            workingDays.GetDayPeriods(QDate::fromJulianDay(julianDay), cut, &m_booked, cursor);
            return qint64(cut.total) * 60;
        }
    }
    return workingDays.GetDaySeconds(weekdayOfJulian(julianDay));
}

qint64 CConfiguration::DaySpanSeconds(const QDate &date, qint64 from, qint64 to, int &cursor) const
{
    if (!IsWorkingDay(date))
        return 0;
    if (m_booked.IsEmpty())
        return GetWeekdayWorkingSeconds(weekdayOfJulian(date.toJulianDay()), from, to);
    CWorkingDay cut;
    workingDays.GetDayPeriods(date, cut, &m_booked, cursor);
    return cut.GetWorkingSeconds(from, to);
}

qint64 CConfiguration::SumWholeDays(qint64 firstDay, qint64 lastDay, int &cursor) const
{
    const qint64 weekSeconds = GetWeekSeconds();
    if (weekSeconds == 0)
        return 0;
    qint64 sum = 0;
    qint64 d = firstDay;
    DaysOffWalk walk(daysOff, d);
    while (d <= lastDay) {
        if (walk.SkipDaysOff(d))
            continue;
        // Whole weeks up to the next day off or booked day add the weekly total.
        qint64 obstacle = std::min(lastDay + 1, walk.NextDayOff(lastDay + 1));
        if (!m_booked.IsEmpty()) {
            m_booked.SkipEnded(d, cursor);
            obstacle = std::min(obstacle, m_booked.NextBookedDay(d, cursor));
        }
        const qint64 weeks = (obstacle - d) / 7;
        if (weeks > 0) {
            sum += weeks * weekSeconds;
            d += weeks * 7;
            continue;
        }
        sum += DayCapacity(d, cursor);
        ++d;
    }
    return sum;
}

qint64 CConfiguration::GetWorkingDuration(qint64 t1, qint64 t2) const
{
    if (t2 == 0)
        t2 = Platform::Clock::now();
    const bool negative = t2 > t1;
    const qint64 a = std::min(t1, t2);
    const qint64 b = std::max(t1, t2);
    const LocalPoint pa = breakDown(a);
    const LocalPoint pb = breakDown(b);
    if (!pa.valid || !pb.valid)
        return 0;
    int cursor = 0;
    qint64 sum = 0;
    if (pa.day == pb.day) {
        sum = DaySpanSeconds(pa.date, pa.second, pb.second, cursor);
    } else {
        // The first day counts up to 24:00, so that a period ending at
        // midnight loses no second.
        sum = DaySpanSeconds(pa.date, pa.second, 86400, cursor);
        sum += SumWholeDays(pa.day + 1, pb.day - 1, cursor);
        sum += DaySpanSeconds(pb.date, 0, pb.second, cursor);
    }
    return negative ? -sum : sum;
}

qint64 CConfiguration::FindWorkingDayAfter(qint64 julianDay) const
{
    if (GetWeekSeconds() == 0)
        return -1;
    qint64 d = julianDay + 1;
    DaysOffWalk walk(daysOff, d);
    while (d - julianDay <= kWalkLimitDays && d <= lastWalkableDay()) {
        if (walk.SkipDaysOff(d))
            continue;
        if (WeekdayWorks(weekdayOfJulian(d)))
            return d;
        ++d;
    }
    return -1;
}

qint64 CConfiguration::NextWorkingTime(qint64 t, bool *found) const
{
    if (found)
        *found = false;
    const LocalPoint p = breakDown(t);
    if (!p.valid)
        return t;
    if (DayIsWorked(p.day)) {
        const qint64 minute = p.second / 60;
        for (const tWorkingPeriode &period : workingDays.Effective(weekdayOfJulian(p.day)).periods) {
            if (period.end > minute) {
                if (found)
                    *found = true;
                if (minute < period.start)
                    return instantAt(p.date, qint64(period.start) * 60, t);
                return t;
            }
        }
    }
    const qint64 next = FindWorkingDayAfter(p.day);
    if (next < 0)
        return t;
    const CWorkingDay &day = workingDays.Effective(weekdayOfJulian(next));
    if (day.periods.empty())
        return t;
    if (found)
        *found = true;
    return instantAt(QDate::fromJulianDay(next), qint64(day.periods.front().start) * 60);
}

qint64 CConfiguration::AddWorkingTime(qint64 t, qint64 seconds, bool *reached) const
{
    if (reached)
        *reached = false;
    if (seconds <= 0) {
        if (reached)
            *reached = true;
        return t;
    }
    const qint64 weekSeconds = GetWeekSeconds();
    if (CountWorkingWeekdays() == 0 || weekSeconds == 0)
        return t;
    const LocalPoint p = breakDown(t);
    if (!p.valid)
        return t;

    const CBookedIntervals *booked = m_booked.IsEmpty() ? nullptr : &m_booked;
    int cursor = 0;
    qint64 remaining = seconds;
    if (DayIsWorked(p.day)) {
        CWorkingDay today;
        workingDays.GetDayPeriods(p.date, today, booked, cursor);
        qint64 position = p.second;
        today.ConsumeWorkingTime(remaining, position);
        if (remaining == 0) {
            if (reached)
                *reached = true;
            return instantAt(p.date, position, t);
        }
    }

    qint64 d = p.day + 1;
    qint64 lastWorked = p.day;
    DaysOffWalk walk(daysOff, d);
    while (d - lastWorked <= kWalkLimitDays && d <= lastWalkableDay()) {
        if (walk.SkipDaysOff(d))
            continue;
        // Whole weeks that cannot hold the end are taken at once.
        qint64 obstacle = walk.NextDayOff(kFarAway);
        if (booked) {
            m_booked.SkipEnded(d, cursor);
            obstacle = std::min(obstacle, m_booked.NextBookedDay(d, cursor));
        }
        const qint64 weeks = std::min((obstacle - d) / 7, (remaining - 1) / weekSeconds);
        if (weeks > 0) {
            remaining -= weeks * weekSeconds;
            d += weeks * 7;
            lastWorked = d - 1;
            continue;
        }
        const qint64 capacity = DayCapacity(d, cursor);
        if (capacity > 0) {
            lastWorked = d;
            if (remaining <= capacity) {
                const QDate date = QDate::fromJulianDay(d);
                CWorkingDay day;
                workingDays.GetDayPeriods(date, day, booked, cursor);
                if (reached)
                    *reached = true;
                if (remaining == capacity) {
                    // The day's capacity is used up exactly: the end of its
                    // last period, not the start of the next working day.
                    int hour = 0, minute = 0;
                    day.GetEndOfDay(hour, minute);
                    return instantAt(date, (qint64(hour) * 60 + minute) * 60);
                }
                qint64 position = 0;
                day.ConsumeWorkingTime(remaining, position);
                return instantAt(date, position);
            }
            remaining -= capacity;
        }
        ++d;
    }
    return t;
}

qint64 CConfiguration::ToSeconds(qint64 amount, int unit) const
{
    if (amount <= 0)
        return 0;
    switch (unit) {
    case 0:
        return amount * 60;
    case 1:
        return amount * 3600;
    case 2:
        return amount * workingDays.Set(0).total * 60;
    default:
        return 0;
    }
}

int CConfiguration::GetWeekNumber(const QDate &date) const
{
    if (!date.isValid())
        return 0;
    if (weekNumbering == 1)
        return date.weekNumber();
    // Weeks counted from 1 January (week 1), a new week on every Sunday.
    const int b = QDate(date.year(), 1, 1).dayOfWeek() % 7 + 1;
    const int c = date.dayOfYear();
    return (c + b - 2) / 7 + 1;
}

bool CConfiguration::IsWeekStart(const QDate &date) const
{
    if (!date.isValid())
        return false;
    if (weekNumbering == 1)
        return date.dayOfWeek() == Qt::Monday;
    return date.dayOfWeek() == Qt::Sunday || (date.month() == 1 && date.day() == 1);
}

QString CConfiguration::FormatWeekNumber(const QDate &date, bool bracketed) const
{
    const QString pattern = bracketed ? Platform::Texts::get(682) : Platform::Texts::get(679);
    return Platform::Formatter::sprintf(pattern, {GetWeekNumber(date)});
}
