#include "tProjectContext.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "tCurrentEntry.h"

#include <QLocale>

tProjectContext::tRunning tProjectContext::Running() const
{
    if (const tCurrentEntry *current = CAppData::CurrentEntry()) {
        const bool running = current->Entry.Id != -1;
        return {running, running ? current->Entry.IdProjet : -1,
                running ? current->Entry.IdActivite : -1, running ? current->Elapsed : 0};
    }
    const bool running = runningFlag != -1;
    return {running, runningProject, runningActivity, running ? runningSeconds : 0};
}

bool tProjectContext::ShowActivities() const
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->showActivities;
    return showActivities;
}

bool tProjectContext::ShowUndefinedActivity() const
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->forecastRunningOnActivity;
    return showUndefinedActivity;
}

qint64 tProjectContext::ToSeconds(int amount, int unit) const
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->ToSeconds(amount, unit);
    if (toSeconds)
        return toSeconds(amount, unit);
    if (amount <= 0)
        return 0;
    switch (unit) {
    case 0: return qint64(amount) * 60;
    case 1: return qint64(amount) * 3600;
    case 2: return qint64(amount) * workingDayMinutes * 60;
    default: return 0;
    }
}

QString tProjectContext::FormatCurrency(double amount) const
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->FormatCurrency(amount);
    if (formatCurrency)
        return formatCurrency(amount);
    const QLocale locale;
    return locale.toCurrencyString(amount, locale.currencySymbol(), 2);
}
