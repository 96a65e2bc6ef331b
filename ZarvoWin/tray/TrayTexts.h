#pragma once
#include "CConfiguration.h"
#include "tTacheFull.h"

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <array>
#include <vector>

class CTranslationStore;
namespace Platform { class Settings; }

// The texts the tray's views share, in the interface language of the tray's
// own language database, and the tray's way of writing durations, dates,
// times and amounts: durations rounded to the minute as the main program
// rounds them, in the main program's duration pattern ("Config/Format/
// sDuree"); dates in the user's locale's long or short form turned into the
// program's date patterns, with the tray's day and month names; times and
// amounts in the user's locale's forms (QLocale(), as the rates' labels).
// Filled when the tray window starts and again when the language or the
// formats change; it keeps no other state.
class TrayTexts
{
public:
    // The fifteen shared texts, by index.
    enum Index {
        Project = 0,            // 103 "Projet"
        Activity = 1,           // 104 "Activité"
        Start = 2,              // 105 "Début"
        End = 3,                // 106 "Fin"
        Running = 4,            // 107 "En cours…"
        TitleIdle = 5,          // 102 "%s : %s": user name, today's total
        TitleRunning = 6,       // 116 the same while an entry runs
        DurationPattern = 7,    // "Config/Format/sDuree"
        Title = 8,              // 167 "Titre"
        NoProject = 9,          // 168 "<Projet non défini>"
        NoActivity = 10,        // 169 "<Activité non définie>"
        Duration = 11,          // 175 "Durée"
        ClickToResume = 12,     // 177
        ClickToPause = 13,      // 176
        Rate = 14,              // 117 "Taux :"
        Count = 15
    };
    static constexpr const char16_t *DefaultDurationPattern = u"%1!d!:%2!02d!";

    // French texts, the default duration pattern and the locale's formats
    // until the first Load.
    TrayTexts();

    // The texts from the tray's store, the date and duration settings of
    // the main program (read, never written) and the locale's patterns.
    void Load(CTranslationStore &trayTexts, const Platform::Settings &settings);
    // Only the settings and the locale's patterns (the formats changed).
    void LoadFormats(const Platform::Settings &settings);
    // The locale of dates, times and amounts: the user's (QLocale()) unless
    // another is given.
    void SetLocale(const QLocale &locale);

    QString Text(Index index) const { return m_texts[size_t(index)]; }
    QString DurationPatternText() const { return m_texts[DurationPattern]; }
    bool LongDate() const { return m_formats.longDates; }

    // Hours and minutes rounded to the nearest minute (30 seconds up), in
    // the duration pattern; empty for a negative duration. A pattern whose
    // inserts do not fit still gives a readable text.
    QString DurationText(qint64 seconds) const;
    // The local date of an instant: the long pattern when asked and the
    // "Date" setting is on, else the short one; with the time of day after
    // it when asked. Two-digit years stay two digits. Empty for an instant
    // not above 0.
    QString DateText(qint64 time, bool longDate, bool withTime) const;
    // The local time of day in the locale's form; empty for 0.
    QString TimeText(qint64 time, bool withSeconds) const;
    // An amount in the locale's currency form, two decimals.
    QString CurrencyText(double amount) const;

    // Today's totals from today's entries in list order: each counts from
    // the later of its start and midnight (local) to its end, or to now
    // while it runs (nothing while now is before its start). `todayText` is
    // the duration of them all; `lastTaskText` the duration of the last
    // entry while it runs, "..." when the list is empty or its last entry
    // has ended.
    struct tToday
    {
        qint64 total = 0;
        qint64 last = 0;
        QString todayText;
        QString lastTaskText;
    };
    tToday ComputeToday(const std::vector<tTacheFull> &today, qint64 now) const;

private:
    std::array<QString, Count> m_texts;
    QLocale m_locale;
    // The main program's formatting, given the tray's names and settings.
    CConfiguration m_formats;
};
