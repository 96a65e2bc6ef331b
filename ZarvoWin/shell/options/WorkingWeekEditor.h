#pragma once
#include "CWorkingDays.h"
#include "tWorkingPeriode.h"

#include <QLocale>
#include <QString>
#include <array>
#include <vector>

class CConfiguration;
namespace Platform { class Settings; }

// What the display options page edits, without its window: a copy of the
// eight period lists (0 the standard day, 1..7 Sunday..Saturday), the day
// being edited, the totals shown, and the values stored on OK. The page
// passes in what its controls hold (the slider's periods, the boxes).
class WorkingWeekEditor
{
public:
    using Periods = std::vector<tWorkingPeriode>;

    // How the page shows the day being edited.
    struct DayView
    {
        bool weekday = false;           // the follow box and "Défaut" concern weekdays only
        bool follows = false;           // the follow box
        bool sliderEnabled = true;      // a day that follows the standard day is not edited
        bool showDefaultButton = false;
        Periods periods;                // what the slider shows
    };

    struct Totals
    {
        qint64 daySeconds = 0;
        bool notWorked = false; // the warning of a weekday whose box is not checked
        qint64 weekSeconds = 0;
    };

    // What OK stores.
    struct Result
    {
        int firstDayOfWeek = 1; // Sunday = 1 .. Saturday = 7
        bool firstDayFromLocale = false;
        int weekNumbering = 1; // 1 ISO 8601, 0 counted from 1 January
        std::array<bool, 7> workDays{};
        QString workDaysText;
        CWorkingDays days;
    };

    // Takes a copy of the settings object's period lists.
    void Load(const CConfiguration &config);
    const CWorkingDays &Days() const { return m_days; }
    // -1 before the first day is shown.
    int CurrentDay() const { return m_current; }

    // Keeps the day being edited: a weekday takes the follow box's state;
    // unless it followed the standard day before (its slider then showed
    // the standard day's periods), its own list becomes the slider's.
    void StoreCurrent(bool follows, const Periods &slider);
    // Stores the day being edited, then makes `day` the one edited and
    // returns how to show it. With `reload` the same day is shown again
    // (after the follow box was clicked); without it, choosing the day
    // already shown changes nothing and returns false.
    bool SwitchDay(int day, bool follows, const Periods &slider, bool reload, DayView &view);

    const Periods &StandardPeriods() const { return m_days.Set(0).periods; }

    // The day's total (zero with the warning for a weekday not worked) and
    // the week's: the worked days but the one edited at their totals (the
    // standard day's for those that follow it, counted from the slider
    // while the standard day is the one edited), plus the slider's when
    // the day edited is a worked weekday.
    Totals ComputeTotals(const std::array<bool, 7> &workDays, const Periods &slider) const;

    // The values of OK. First day entry 0 ("<Système>") follows the
    // locale's first day and goes on following it; 1..7 is that day.
    // Week entry 0 is ISO 8601.
    Result Finish(int firstDayEntry, int weekEntry, const std::array<bool, 7> &workDays, bool follows,
                  const Periods &slider, const QLocale &locale);
    // Copies the result into the settings object and writes it under
    // "Config/Affichage".
    static void Apply(const Result &result, CConfiguration &config, Platform::Settings &settings);

    static qint64 TotalSeconds(const Periods &periods);

private:
    CWorkingDays m_days;
    int m_current = -1;
};
