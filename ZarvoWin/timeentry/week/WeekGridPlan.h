#pragma once
#include "EntryBoxPlan.h"
#include "tDayColumn.h"

#include <QDate>
#include <QImage>
#include <QString>
#include <QtGlobal>
#include <span>
#include <vector>

class CConfiguration;
class CWeekGeometry;

// The colours of the week and day view, 0x00BBGGRR.
namespace WeekColours {
constexpr quint32 GridLine = 0xFFAF7D;
// The header band runs from white at the top to this blue at the bottom.
constexpr quint32 HeaderTop = 0xFFFFFF;
constexpr quint32 HeaderBottom = 0xFFCDB4;
// The drag ghost and the day arrows, blended at this opacity of 255.
constexpr quint32 Ghost = 0xFF0000;
constexpr int GhostOpacity = 70;
constexpr quint32 Grip = 0x323232;
} // namespace WeekColours

// The two background colours of a shown day: its working time and the
// rest of it.
struct tDayColours
{
    quint32 working = 0;
    quint32 other = 0;
};
// The colours of the day the calendar centres on (the current date), of
// today, or of any other day, in that order of precedence.
tDayColours DayColours(const QDate &day, const QDate &current, const QDate &today);

// A horizontal band of a day column, in client rows (bottom exclusive).
struct tDayBand
{
    int top = 0;
    int bottom = 0;
    bool working = false;
    friend bool operator==(const tDayBand &, const tDayBand &) = default;
};
// Whether a day is worked: its weekday is a working day and it is no day
// off.
bool IsWorkedDay(const QDate &day, const CConfiguration &config);
// The bands of a day column below the header down to `clientBottom`: a
// day that is not worked is one band of its other colour; a worked day
// alternates the gap before each of its weekday's working periods and the
// period itself, then the rest of the day. Rows follow the wall clock, as
// the hour lines do; empty bands are left out.
std::vector<tDayBand> PlanDayBands(const QDate &day, const CConfiguration &config, const CWeekGeometry &geometry,
                                   int clientBottom);

// The header shows the long dates when the setting asks for them and
// every shown day's long date is narrower than a column.
bool UseLongDates(std::span<const tDayColumn> days, const CConfiguration &config, int columnWidth,
                  const TextWidth &width);

// The forms of a day's date in the header, longest first: the long and
// the short date, the day with its short month name, the day alone.
enum class HeaderDateForm { Long, Short, DayMonth, Day };
QString HeaderDate(const QDate &day, HeaderDateForm form, const CConfiguration &config);
// The longest form in which every shown day's date is narrower than a
// column, so that all the days show one form and none is cut: the long
// one where UseLongDates allows it; the day alone where nothing else fits.
HeaderDateForm ChooseHeaderDateForm(std::span<const tDayColumn> days, const CConfiguration &config, int columnWidth,
                                    const TextWidth &width);

// The zoom button drawn greyed: the icon over white, each pixel the grey
// (6 green + 3 blue + red) / 10.
QImage GreyedIcon(const QImage &icon);

// The calendar window's title: the shown date or range and the time
// recorded on the shown days.
QString FrameTitle(const QString &caption, const QString &total);
