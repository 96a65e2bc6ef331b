#include "CCommandRules.h"

#include "CBdD.h"
#include "Texts.h"

QDate CCommandRules::MonthStep(const QDate &date, int direction)
{
    if (!date.isValid())
        return date;
    int year = date.year();
    int month = date.month() + (direction < 0 ? -1 : 1);
    if (month < 1) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    int day = date.day();
    while (day > 28 && !QDate(year, month, day).isValid())
        --day;
    return QDate(year, month, day);
}

CCommandRules::StartDecision CCommandRules::DecideStart(int runningCount, qint64 runningStart, qint64 newStart,
                                                        bool entriesAfter, bool readFailed)
{
    if (readFailed || runningCount == CBdD::ReadFailed)
        return StartDecision::ReadFailed;
    if (runningCount > 1)
        return StartDecision::Dialog;
    if (runningCount == 1 && runningStart >= newStart)
        return StartDecision::Dialog;
    return entriesAfter ? StartDecision::Dialog : StartDecision::Save;
}

CCommandRules::PauseDecision CCommandRules::DecidePause(int runningCount, qint64 runningStart, qint64 now)
{
    if (runningCount == CBdD::ReadFailed)
        return PauseDecision::ReadFailed;
    if (runningCount != 1)
        return PauseDecision::List;
    return runningStart >= now ? PauseDecision::Dialog : PauseDecision::Stop;
}

QList<CCommandRules::OptionsPageEntry> CCommandRules::OptionsPages(int languageCount)
{
    using Platform::Texts;
    QList<OptionsPageEntry> pages;
    if (languageCount > 1)
        pages.append({OptionsPage::General, 109, Texts::get(109)});
    pages.append({OptionsPage::Display, 110, Texts::get(110)});
    pages.append({OptionsPage::DaysOff, 622, Texts::get(622)});
    pages.append({OptionsPage::Formats, 210, Texts::get(210)});
    pages.append({OptionsPage::Folders, 197, Texts::get(197)});
    pages.append({OptionsPage::Network, 205, Texts::get(205)});
    pages.append({OptionsPage::Backups, 348, Texts::get(348)});
    pages.append({OptionsPage::Reports, 347, Texts::get(347)});
    pages.append({OptionsPage::Forecast, 521, Texts::get(521)});
    pages.append({OptionsPage::Grid, 688, Texts::get(688)});
    pages.append({OptionsPage::Misc, 561, Texts::get(561)});
    return pages;
}

int CCommandRules::OptionsStartIndex(int startPage, int languageCount)
{
    OptionsPage wanted;
    switch (startPage) {
    case 1: wanted = OptionsPage::Display; break;
    case 2: wanted = OptionsPage::DaysOff; break;
    case 3: wanted = OptionsPage::Folders; break;
    case 4: wanted = OptionsPage::Network; break;
    case 5: wanted = OptionsPage::Backups; break;
    case 6: wanted = OptionsPage::Reports; break;
    case 7: wanted = OptionsPage::Forecast; break;
    case 8: wanted = OptionsPage::Misc; break;
    case 9: wanted = OptionsPage::Grid; break;
    default: return 0;
    }
    const QList<OptionsPageEntry> pages = OptionsPages(languageCount);
    for (int i = 0; i < pages.size(); ++i) {
        if (pages.at(i).page == wanted)
            return i;
    }
    return 0;
}
