#include "WeekGridPlan.h"

#include "CConfiguration.h"
#include "CWeekGeometry.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr quint32 CurrentWorking = 0x9CE7FF;
constexpr quint32 CurrentOther = 0x93E0F7;
constexpr quint32 TodayWorking = 0xF4EADF;
constexpr quint32 TodayOther = 0xECE2D7;
constexpr quint32 PlainWorking = 0xFFFFFF;
constexpr quint32 PlainOther = 0xF0F0F0;

// Sunday = 1 .. Saturday = 7.
int weekdayOf(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}

} // namespace

tDayColours DayColours(const QDate &day, const QDate &current, const QDate &today)
{
    if (day == current)
        return {CurrentWorking, CurrentOther};
    if (day == today)
        return {TodayWorking, TodayOther};
    return {PlainWorking, PlainOther};
}

bool IsWorkedDay(const QDate &day, const CConfiguration &config)
{
    if (!day.isValid())
        return false;
    return config.workDays[size_t(weekdayOf(day) - 1)] && !config.daysOff.IsDayOff(day);
}

std::vector<tDayBand> PlanDayBands(const QDate &day, const CConfiguration &config, const CWeekGeometry &geometry,
                                   int clientBottom)
{
    std::vector<tDayBand> bands;
    const int top = geometry.headerHeight;
    const auto add = [&](int from, int to, bool working) {
        from = std::max(from, top);
        to = std::min(to, clientBottom);
        if (from < to)
            bands.push_back({from, to, working});
    };
    if (!IsWorkedDay(day, config)) {
        add(top, clientBottom, false);
        return bands;
    }
    const int gridTop = geometry.GridTop();
    const auto rowOf = [&](int minute) { return gridTop + minute * geometry.hourHeight / 60; };
    int from = gridTop;
    for (const tWorkingPeriode &period : config.workingDays.Effective(weekdayOf(day)).periods) {
        const int start = rowOf(std::clamp(period.start, 0, 1440));
        const int end = rowOf(std::clamp(period.end, 0, 1440));
        add(from, start, false);
        add(std::max(start, from), end, true);
        from = std::max(from, end);
    }
    add(from, rowOf(1440), false);
    return bands;
}

bool UseLongDates(std::span<const tDayColumn> days, const CConfiguration &config, int columnWidth,
                  const TextWidth &width)
{
    if (!config.longDates)
        return false;
    for (const tDayColumn &day : days) {
        if (width(config.FormatOleDate(day.Date, true)) >= columnWidth)
            return false;
    }
    return true;
}

QString HeaderDate(const QDate &day, HeaderDateForm form, const CConfiguration &config)
{
    switch (form) {
    case HeaderDateForm::Long:
        return config.FormatOleDate(day, true, true);
    case HeaderDateForm::Short:
        return config.FormatOleDate(day, false);
    case HeaderDateForm::DayMonth:
        return config.FormatDayMonth(day, false);
    case HeaderDateForm::Day:
        break;
    }
    return QString::number(day.day());
}

HeaderDateForm ChooseHeaderDateForm(std::span<const tDayColumn> days, const CConfiguration &config, int columnWidth,
                                    const TextWidth &width)
{
    if (UseLongDates(days, config, columnWidth, width))
        return HeaderDateForm::Long;
    for (const HeaderDateForm form : {HeaderDateForm::Short, HeaderDateForm::DayMonth}) {
        const bool fits = std::all_of(days.begin(), days.end(), [&](const tDayColumn &day) {
            return width(HeaderDate(day.Date, form, config)) < columnWidth;
        });
        if (fits)
            return form;
    }
    return HeaderDateForm::Day;
}

QImage GreyedIcon(const QImage &icon)
{
    QImage out(icon.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        QPainter painter(&out);
        painter.drawImage(0, 0, icon);
    }
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const int grey = (6 * qGreen(p) + 3 * qBlue(p) + qRed(p)) / 10;
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return out;
}

QString FrameTitle(const QString &caption, const QString &total)
{
    return QStringLiteral("%1 (%2)").arg(caption, total);
}
