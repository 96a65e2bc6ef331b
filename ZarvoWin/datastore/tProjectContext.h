#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>

// What the project tree reads from the rest of the application: the running
// entry, two display settings of the forecast, the conversion of work
// amounts to seconds and the separator of full names. The application
// fills it from its current entry and its settings object.
struct tProjectContext
{
    int runningFlag = -1; // -1: no entry is running
    int runningProject = -1;
    int runningActivity = -1;
    qint64 runningSeconds = 0;

    bool showActivities = true;         // "ShowActivities" of the forecast settings
    bool showUndefinedActivity = false; // the second forecast display flag

    QString separator = QStringLiteral(" / ");

    // amount, unit (0 minutes, 1 hours, 2 working days) -> seconds. When
    // unset, a working day counts workingDayMinutes.
    std::function<qint64(int amount, int unit)> toSeconds;
    int workingDayMinutes = 480;

    // An amount in the locale's currency format (rates in trees and combos).
    // When unset, the system locale's currency format with two decimals.
    std::function<QString(double amount)> formatCurrency;

    qint64 ToSeconds(int amount, int unit) const
    {
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
};
