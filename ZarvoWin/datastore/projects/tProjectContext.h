#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>

// What the project tree reads from the rest of the application: the running
// entry, two display settings of the forecast, the conversion of work
// amounts to seconds, the currency format and the separator of full names.
// The settings come from the application's settings object (CAppData) when
// one is set, else from the values here.
struct tProjectContext
{
    // The running entry: the application's current entry (CAppData) when
    // one is set, else these values.
    struct tRunning
    {
        bool running = false;
        int project = -1;
        int activity = -1;
        qint64 seconds = 0;
    };
    tRunning Running() const;

    int runningFlag = -1; // -1: no entry is running
    int runningProject = -1;
    int runningActivity = -1;
    qint64 runningSeconds = 0;

    bool showActivities = true;         // "ShowActivities" of the forecast settings
    bool showUndefinedActivity = false; // the second forecast display flag

    QString separator = QStringLiteral(" / ");

    // amount, unit (0 minutes, 1 hours, 2 working days) -> seconds; when
    // unset, a working day counts workingDayMinutes.
    std::function<qint64(int amount, int unit)> toSeconds;
    int workingDayMinutes = 480;

    // An amount in the locale's currency format; when unset, the system
    // locale's currency format with two decimals.
    std::function<QString(double amount)> formatCurrency;

    bool ShowActivities() const;
    bool ShowUndefinedActivity() const;
    qint64 ToSeconds(int amount, int unit) const;
    QString FormatCurrency(double amount) const;
};
