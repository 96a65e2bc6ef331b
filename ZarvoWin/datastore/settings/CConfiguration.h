#pragma once
#include "CBookedIntervals.h"
#include "CDayOff.h"
#include "CWorkingDays.h"
#include "tDebutFin.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRect>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <array>
#include <vector>

namespace Platform { class Settings; }
class QPaintDevice;
class QPainter;

// The settings object of the main program: the user's preferences read from
// the settings base "Config", the working-time calendar, and the localised
// names and locale patterns with which dates, durations and periods are
// shown everywhere.
class CConfiguration
{
public:
    // Builds a usable object before any load: Sunday first, Monday to
    // Friday worked, no working period, no day off, default values, the
    // French names and the patterns of the interface locale.
    CConfiguration();

    // ---------------------------------------------------------------
    // Loading
    // ---------------------------------------------------------------

    // Reads every value of the base "Config" with its default and
    // corrections, then the locale patterns, the duration pattern and the
    // calendar. "Format/sDuree" is written back when it is empty.
    void Load(Platform::Settings &settings);
    void Load();
    // The month and day names from the interface texts.
    void LoadTexts();
    // The interface language's locale: date patterns, day/month order,
    // time format, decimal separator and currency.
    void SetLocale(const QLocale &locale);
    const QLocale &Locale() const { return m_locale; }
    void LoadLocaleFormats();
    // The duration pattern chosen by "Duree" (0..2, texts 211 to 213).
    void LoadDurationFormat();
    // A date pattern of the locale ("dddd d MMMM yyyy") as a message
    // pattern with the inserts 1 year, 2 month name, 3 short month name,
    // 4 month number, 5 day name, 6 short day name, 7 day of month and
    // 8 year within the century. Quoted text is copied as it stands.
    static QString ConvertDatePattern(QStringView pattern);
    // The first weekday of a locale, Sunday = 1 .. Saturday = 7.
    static int WeekdayFromLocale(const QLocale &locale);

    // ---------------------------------------------------------------
    // Values read from "Config"
    // ---------------------------------------------------------------

    std::array<QString, 12> monthNames;      // texts 264..275
    std::array<QString, 7> dayNames;         // Sunday first: 108, 102..107
    std::array<QString, 12> shortMonthNames; // 215..218, 446..453
    std::array<QString, 7> shortDayNames;    // Sunday first: 460, 454..459
    QString durationPattern = QStringLiteral("%1!d!:%2!02d!");
    bool monthBeforeDay = false;
    quint32 neutralColour = 0xE6E6E6;
    QString longDatePattern;
    QString shortDatePattern;

    QString dataFolder;   // Rep/Data
    QString usersFolder;  // Rep/Users
    QString lanFolder;    // Lan/Rep
    int lanTime = -1;     // Lan/Time: -1 never, 0 each change of user, else seconds
    bool backup = true;   // Backup/Backup
    int backupPeriode = 3; // code 0..8
    bool backupSynchro = true;
    int backupKeep = 5;    // code 0..9 (9 keeps all)
    QString backupFolder;  // Backup/Rep
    bool reportLogo = false;
    QString reportLogoFile;
    int reportLogoPos = 0;
    bool reportText = false;
    QString reportTextFile;
    int reportTextPos = 2;
    bool longDates = true;  // Format/Date
    int durationCode = 0;   // Format/Duree
    std::array<quint32, 3> progressColours{0x00FF00, 0x00FFFF, 0x0000FF};
    int progressMid = 50;
    bool showActivities = true;
    int iconOrText = 2;
    int pctNonComptabilise = 0;
    bool realTime = true;
    bool fmtDays = false;
    // Set in memory by the forecast options, never loaded: when off, a
    // running entry without activity counts on its project's node.
    bool forecastRunningOnActivity = false;
    bool snapToGrid = false;
    int grid = 5;
    bool bigIcon = false;
    bool logErrors = false;

    // The instant the backup period (or, with useKeep, the retention)
    // reaches back from now; 0 for a code outside the table.
    qint64 GetPeriodStart(bool useKeep) const;
    static int PeriodDays(int code);

    // ---------------------------------------------------------------
    // Formatting
    // ---------------------------------------------------------------

    // Hours and minutes, rounded to the nearest minute, in the duration
    // pattern; empty for a negative value unless forced.
    QString FormatDuration(qint64 seconds, bool force = false) const;
    // The same rounding in a message pattern of the caller (%1 hours, %2
    // minutes), with "-" before a negative duration; a pattern whose
    // inserts do not fit still gives a readable text.
    static QString FormatDurationWithPattern(qint64 seconds, QStringView pattern);
    static QString FormatHoursMinutes(qint64 seconds);
    static QString FormatHoursMinutesSeconds(qint64 seconds, bool withSeconds);
    // "h:mm" or "h:mm:ss" read back; the text unchanged when it is not one.
    static bool ParseDuration(QStringView text, qint64 &seconds);
    QString ReformatDuration(const QString &text) const;
    static QString ReformatHoursMinutes(const QString &text);
    // Local "%02d:%02d" of an instant.
    static QString FormatClockTime(qint64 t);
    // Minutes after midnight as a locale time; empty outside 0..1439.
    QString FormatMinutesOfDay(int minutes) const;
    // An instant's time of day in the locale's format; empty for 0.
    QString FormatLocaleTime(qint64 t, bool withSeconds = false) const;
    QString FormatLocaleTime(const QTime &time, bool withSeconds = false) const;
    // The locale's time format without its seconds field.
    QString GetTimeFormatWithoutSeconds() const;
    QString GetTimeFormatWithSeconds() const;

    // The date of an instant: the long pattern when forceLong, or when
    // asLong and the "Date" setting is on; the short one otherwise. With
    // withTime the locale time of day follows. Empty for t <= 0.
    QString FormatDate(qint64 t, bool asLong, bool withTime = false, bool forceLong = false) const;
    // The same for a local date (and time); empty for an invalid one.
    QString FormatOleDate(const QDate &date, bool asLong, bool forceLong = false) const;
    // The short date format as a function, for the pieces of the calendar
    // that show dates (the days-off ranges).
    CDayOff::DateFormatter ShortDateFormatter() const
    {
        return [this](const QDate &date) { return FormatOleDate(date, false); };
    }
    QString FormatOleDate(const QDateTime &local, bool asLong, bool withTime, bool forceLong) const;
    // "YYYY-MM-DD" shown as the date of noon of that day.
    QString FormatIsoDate(const QString &isoDate) const;
    QString FormatDateRange(const QDate &first, const QDate &last) const;
    QString FormatMonthDay(int month, int day) const;
    QString FormatDayMonth(const QDate &date, bool fullName = true) const;
    QString FormatMonthYear(const QDate &date) const;
    QString FormatMonthNumberYear(int month, int year) const;
    QString GetDayName(const QDate &date) const;
    static QString FormatPercent(int percent);
    // A ratio as a percentage with two decimals and the locale's decimal
    // separator; empty for a negative ratio or the "no value" marker.
    QString FormatPercentDecimal(double ratio) const;
    // An amount with the currency's decimals, through the locale's
    // currency format.
    QString FormatCurrency(double amount) const;
    static constexpr int CurrencyDecimals = 2;
    // The amount rounded to the currency's decimals (halves away from
    // zero), as FormatCurrency shows it.
    static double RoundCurrency(double amount);
    // Working days and hours:minutes: empty for the two sentinel values.
    QString FormatDurationInDays(qint64 seconds, bool inDays, bool compact = false) const;

    // ---------------------------------------------------------------
    // Working-time calendar
    // ---------------------------------------------------------------

    // Seven worked-weekday flags, Sunday first ("Affichage/WorkDays").
    std::array<bool, 7> workDays{false, true, true, true, true, true, false};
    CWorkingDays workingDays;
    CDayOff daysOff;
    // 1 = ISO 8601 weeks, anything else = weeks counted from 1 January.
    int weekNumbering = 1;
    // 1 = Sunday .. 7 = Saturday.
    int firstDayOfWeek = 1;
    bool firstDayFromLocale = false;

    // The booked intervals (recorded entries ending after the forecast
    // began); their time is not available for planned work. The project
    // store hands its list over after loading it.
    void SetBookedIntervals(const std::vector<tDebutFin> &intervals);
    void ClearBookedIntervals();
    const CBookedIntervals &BookedIntervals() const { return m_booked; }

    // How far a walk looks for a working day before giving up (ten years).
    static constexpr qint64 kWalkLimitDays = 3653;

    // False for an invalid date; true when the weekday is worked, the date
    // is not a day off and the weekday's working total is above 0.
    bool IsWorkingDay(const QDate &date) const;
    int CountWorkingWeekdays() const;
    // Working seconds of weekday w (Sunday = 1) between two seconds-of-day.
    qint64 GetWeekdayWorkingSeconds(int w, qint64 from, qint64 to) const;
    // Working seconds of a whole week (0 when no weekday has working time).
    qint64 GetWeekSeconds() const;

    // Signed working seconds from t2 to t1 (negative when t1 is before t2);
    // t2 = 0 stands for now. 0 when an instant has no valid local date.
    qint64 GetWorkingDuration(qint64 t1, qint64 t2) const;
    // The first instant at or after t in working time. When there is none
    // within kWalkLimitDays (no working weekday, days off covering the
    // future) or t is invalid, t itself with *found set to false.
    qint64 NextWorkingTime(qint64 t, bool *found = nullptr) const;
    // The instant reached after `seconds` of working time from t. With
    // seconds <= 0 the result is t. When the time cannot be placed (no
    // working time, no working day within kWalkLimitDays, beyond the
    // calendar, invalid t) the result is t with *reached set to false.
    qint64 AddWorkingTime(qint64 t, qint64 seconds, bool *reached = nullptr) const;
    // An amount in minutes (unit 0), hours (1) or default working days (2)
    // as seconds; 0 for an amount <= 0 or another unit.
    qint64 ToSeconds(qint64 amount, int unit) const;

    // Week numbers: ISO 8601 with weekNumbering 1, else counted from
    // 1 January with new weeks on Sundays. 0 for an invalid date.
    int GetWeekNumber(const QDate &date) const;
    bool IsWeekStart(const QDate &date) const;
    // "(S %d)" (text 682) when bracketed, else "Sem. : %d" (text 679).
    QString FormatWeekNumber(const QDate &date, bool bracketed) const;

    // ---------------------------------------------------------------
    // Report header
    // ---------------------------------------------------------------

    // The band that opens a report: the logo and the rich-text file of the
    // "Reports" settings, laid out from the top of `rect` within its width,
    // in the units of the painter's device; drawn unless measureOnly. On
    // return rect keeps its top, left and width and takes the band's height
    // (0 with nothing to show); the result is the band's bottom (top +
    // height). A file that is missing or cannot be read is left out.
    int DrawReportLogoAndText(QRect &rect, QPainter *dc, bool measureOnly) const;
    // Measures only, on a device that no painter is open on (a printer
    // before its job starts).
    int DrawReportLogoAndText(QRect &rect, QPaintDevice *device) const;
    // Whether the band draws `path` as its logo: a file that a decoder of
    // the picture library reads (BMP, GIF, JPEG, ICO), with a size.
    static bool IsDrawableLogo(const QString &path);

private:
    bool WeekdayWorks(int w) const;
    bool DayIsWorked(qint64 julianDay) const;
    // Working seconds of a whole day, booked time cut out.
    qint64 DayCapacity(qint64 julianDay, int &cursor) const;
    // Working seconds of one day between two seconds-of-day.
    qint64 DaySpanSeconds(const QDate &date, qint64 from, qint64 to, int &cursor) const;
    // Sum of the working seconds of the days firstDay..lastDay.
    qint64 SumWholeDays(qint64 firstDay, qint64 lastDay, int &cursor) const;
    // The first working day after `julianDay`, or -1 within the limit.
    qint64 FindWorkingDayAfter(qint64 julianDay) const;

    QString FormatDateParts(const QDate &date, const QString &pattern) const;

    CBookedIntervals m_booked;
    QLocale m_locale;
    QString m_timeFormatWithSeconds;
    QString m_timeFormatWithoutSeconds;
};
