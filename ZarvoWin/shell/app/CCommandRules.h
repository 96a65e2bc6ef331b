#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>

// The decisions of the application's commands that need no window: month
// steps, whether a start is saved at once or goes through the entry
// dialog, what "Pause" does, and the options frame's pages.
class CCommandRules
{
public:
    // One month back (-1) or forward (+1); a day the target month lacks
    // becomes its last day.
    static QDate MonthStep(const QDate &date, int direction);

    enum class StartDecision { Save, Dialog, ReadFailed };
    // `runningCount` as CBdD::CountRunningEntries gives it; `runningStart`
    // the start of the one running entry (when there is exactly one).
    static StartDecision DecideStart(int runningCount, qint64 runningStart, qint64 newStart, bool entriesAfter,
                                     bool readFailed);

    enum class PauseDecision { Stop, Dialog, List, ReadFailed };
    static PauseDecision DecidePause(int runningCount, qint64 runningStart, qint64 now);

    // The pages of the options frame, in order.
    enum class OptionsPage { General, Display, DaysOff, Formats, Folders, Network, Backups, Reports, Forecast,
                             Grid, Misc };
    struct OptionsPageEntry
    {
        OptionsPage page;
        int captionId;
        QString caption;
    };
    // The general page only when more than one interface language is there.
    static QList<OptionsPageEntry> OptionsPages(int languageCount);
    // The index of the page a start page number opens (1 display, 2 days
    // off, 3 folders, 4 network, 5 backups, 6 reports, 7 forecast, 8 misc,
    // 9 grid; anything else the first page).
    static int OptionsStartIndex(int startPage, int languageCount);
};
