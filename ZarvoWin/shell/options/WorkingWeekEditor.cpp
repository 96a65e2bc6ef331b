#include "WorkingWeekEditor.h"

#include "CConfiguration.h"
#include "Settings.h"

#include <QStringList>

void WorkingWeekEditor::Load(const CConfiguration &config)
{
    m_days.CopyFrom(config.workingDays);
    m_current = -1;
}

qint64 WorkingWeekEditor::TotalSeconds(const Periods &periods)
{
    qint64 minutes = 0;
    for (const tWorkingPeriode &p : periods)
        minutes += p.end - p.start;
    return minutes * 60;
}

void WorkingWeekEditor::StoreCurrent(bool follows, const Periods &slider)
{
    if (m_current < 0)
        return;
    CWorkingDay &day = m_days.Set(m_current);
    const bool followedBefore = m_current > 0 && day.useDefault;
    if (m_current > 0)
        day.useDefault = follows;
    if (!followedBefore) {
        day.periods = slider;
        m_days.UpdateDayTotal(m_current);
    }
}

bool WorkingWeekEditor::SwitchDay(int day, bool follows, const Periods &slider, bool reload, DayView &view)
{
    if (day < 0 || day > 7)
        return false;
    StoreCurrent(follows, slider);
    if (day == m_current && !reload)
        return false;
    m_current = day;
    const CWorkingDay &set = m_days.Set(day);
    view = DayView();
    view.weekday = day > 0;
    view.follows = view.weekday && set.useDefault;
    view.sliderEnabled = !view.follows;
    view.showDefaultButton = view.weekday && !view.follows;
    view.periods = view.follows ? m_days.Set(0).periods : set.periods;
    return true;
}

WorkingWeekEditor::Totals WorkingWeekEditor::ComputeTotals(const std::array<bool, 7> &workDays,
                                                           const Periods &slider) const
{
    Totals totals;
    const qint64 sliderSeconds = TotalSeconds(slider);
    const bool editedWeekday = m_current >= 1 && m_current <= 7;
    if (editedWeekday && !workDays[size_t(m_current - 1)]) {
        totals.notWorked = true;
    } else {
        totals.daySeconds = sliderSeconds;
    }
    // While the standard day is edited, the days that follow it count what
    // the slider shows now, not what it held when the page opened.
    const qint64 standard = m_current == 0 ? sliderSeconds : qint64(m_days.Set(0).total) * 60;
    for (int w = 1; w <= 7; ++w) {
        if (!workDays[size_t(w - 1)])
            continue;
        if (w == m_current) {
            totals.weekSeconds += sliderSeconds;
            continue;
        }
        const CWorkingDay &set = m_days.Set(w);
        totals.weekSeconds += set.useDefault ? standard : qint64(set.total) * 60;
    }
    return totals;
}

WorkingWeekEditor::Result WorkingWeekEditor::Finish(int firstDayEntry, int weekEntry,
                                                    const std::array<bool, 7> &workDays, bool follows,
                                                    const Periods &slider, const QLocale &locale)
{
    Result result;
    if (firstDayEntry >= 1 && firstDayEntry <= 7) {
        result.firstDayOfWeek = firstDayEntry;
        result.firstDayFromLocale = false;
    } else {
        // Saturday stays Saturday, and the setting keeps following the locale.
        result.firstDayOfWeek = CConfiguration::WeekdayFromLocale(locale);
        result.firstDayFromLocale = true;
    }
    result.weekNumbering = weekEntry == 0 ? 1 : 0;
    result.workDays = workDays;
    QStringList flags;
    for (const bool worked : workDays)
        flags << (worked ? QStringLiteral("1") : QStringLiteral("0"));
    result.workDaysText = flags.join(u',');
    StoreCurrent(follows, slider);
    result.days.CopyFrom(m_days);
    return result;
}

void WorkingWeekEditor::Apply(const Result &result, CConfiguration &config, Platform::Settings &settings)
{
    config.firstDayOfWeek = result.firstDayOfWeek;
    config.firstDayFromLocale = result.firstDayFromLocale;
    config.weekNumbering = result.weekNumbering;
    config.workDays = result.workDays;
    config.workingDays.CopyFrom(result.days);

    settings.setInt(u"Config", u"Affichage", u"FirstDayOfWeek",
                    result.firstDayFromLocale ? 0 : result.firstDayOfWeek);
    settings.setInt(u"Config", u"Affichage", u"WeekNumbering", result.weekNumbering);
    settings.setString(u"Config", u"Affichage", u"WorkDays", result.workDaysText);
    for (int w = 0; w < CWorkingDays::kSetCount; ++w)
        result.days.SaveDay(settings, w);
    settings.sync();
}
