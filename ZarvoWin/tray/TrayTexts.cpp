#include "TrayTexts.h"

#include "CTranslationStore.h"
#include "LocalTime.h"
#include "Settings.h"

#include <QLocale>

#include <algorithm>

namespace {

// The tray's string id of each shared text (0: the duration pattern, which
// is a setting).
constexpr int TextIds[TrayTexts::Count] = {103, 104, 105, 106, 107, 102, 116, 0,
                                           167, 168, 169, 175, 177, 176, 117};

// The tray's names: day names from Sunday, month names, short month names,
// short day names from Sunday.
constexpr int FirstDayName = 129;
constexpr int FirstMonthName = 136;
constexpr int FirstShortMonthName = 148;
constexpr int FirstShortDayName = 160;

} // namespace

TrayTexts::TrayTexts()
{
    CTranslationStore french(nullptr, CTranslationStore::Program::Tray);
    for (int i = 0; i < Count; ++i)
        m_texts[size_t(i)] = TextIds[i] != 0 ? french.GetString(TextIds[i]) : QString();
    m_texts[DurationPattern] = QString::fromUtf16(DefaultDurationPattern);
    m_formats.SetLocale(m_locale);
}

void TrayTexts::SetLocale(const QLocale &locale)
{
    m_locale = locale;
    m_formats.SetLocale(m_locale);
}

void TrayTexts::Load(CTranslationStore &trayTexts, const Platform::Settings &settings)
{
    for (int i = 0; i < Count; ++i) {
        if (TextIds[i] != 0)
            m_texts[size_t(i)] = trayTexts.GetString(TextIds[i]);
    }
    for (size_t i = 0; i < 7; ++i) {
        m_formats.dayNames[i] = trayTexts.GetString(FirstDayName + int(i));
        m_formats.shortDayNames[i] = trayTexts.GetString(FirstShortDayName + int(i));
    }
    for (size_t i = 0; i < 12; ++i) {
        m_formats.monthNames[i] = trayTexts.GetString(FirstMonthName + int(i));
        m_formats.shortMonthNames[i] = trayTexts.GetString(FirstShortMonthName + int(i));
    }
    LoadFormats(settings);
}

void TrayTexts::LoadFormats(const Platform::Settings &settings)
{
    m_formats.longDates = settings.getInt(u"Config", u"Format", u"Date", 1) != 0;
    m_texts[DurationPattern] = settings.getString(u"Config", u"Format", u"sDuree",
                                                  QString::fromUtf16(DefaultDurationPattern));
    if (m_texts[DurationPattern].isEmpty())
        m_texts[DurationPattern] = QString::fromUtf16(DefaultDurationPattern);
    m_formats.SetLocale(m_locale);
}

QString TrayTexts::DurationText(qint64 seconds) const
{
    if (seconds < 0)
        return QString();
    return CConfiguration::FormatDurationWithPattern(seconds, m_texts[DurationPattern]);
}

QString TrayTexts::DateText(qint64 time, bool longDate, bool withTime) const
{
    return m_formats.FormatDate(time, longDate, withTime);
}

QString TrayTexts::TimeText(qint64 time, bool withSeconds) const
{
    return m_formats.FormatLocaleTime(time, withSeconds);
}

QString TrayTexts::CurrencyText(double amount) const
{
    return m_formats.FormatCurrency(amount);
}

TrayTexts::tToday TrayTexts::ComputeToday(const std::vector<tTacheFull> &today, qint64 now) const
{
    tToday result;
    const qint64 midnight = Platform::LocalTime::dayStart(now);
    for (const tTacheFull &entry : today) {
        const qint64 start = std::max(entry.Debut, midnight);
        qint64 length = 0;
        if (!entry.IsRunning())
            length = std::max<qint64>(entry.Fin - start, 0);
        else if (now >= start)
            length = now - start;
        result.total += length;
        result.last = length;
    }
    result.todayText = DurationText(result.total);
    result.lastTaskText = today.empty() || !today.back().IsRunning() ? QStringLiteral("...")
                                                                     : DurationText(result.last);
    return result;
}
