#pragma once
#include <Qt>
#include <functional>

class QLocale;

// The first day of the week that the calendars of the program start on.
//
// The program counts weekdays Sunday = 1 .. Saturday = 7, as the settings
// store them; Qt counts Monday = 1 .. Sunday = 7. The two conversions below
// are the only place where one becomes the other.
//
// The controls know no settings: the application hands them a provider
// that reads the configured day (the settings object's value), and the
// calendars ask it each time they open, so a changed option shows at the
// next opening. Without a provider, or when it answers a value outside
// 1..7, the system locale's first day holds.
class CFirstDayOfWeek
{
public:
    // Answers the configured first day, Sunday = 1 .. Saturday = 7.
    using Provider = std::function<int()>;

    static void SetProvider(Provider provider);

    // The configured first day, Sunday = 1 .. Saturday = 7.
    static int Configured();
    // The same as Qt's day.
    static Qt::DayOfWeek ConfiguredQt() { return ToQt(Configured()); }

    // Sunday = 1 .. Saturday = 7 to Qt's day; a value outside 1..7 gives
    // the system locale's first day.
    static Qt::DayOfWeek ToQt(int weekday);
    // Qt's day to Sunday = 1 .. Saturday = 7 (Saturday stays Saturday).
    static int FromQt(Qt::DayOfWeek day);
    // The locale's first day, Sunday = 1 .. Saturday = 7.
    static int FromLocale(const QLocale &locale);
};
