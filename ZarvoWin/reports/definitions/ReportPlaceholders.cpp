#include "ReportPlaceholders.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "Clock.h"
#include "LocalTime.h"

#include <QCoreApplication>
#include <QThread>

namespace {

tPlaceholderSnapshot table;

constexpr const char16_t *keys[PlaceholderCount] = {
    u"[Title]", u"[NumPage]", u"[NbPage]", u"[Total]", u"[GroupTitle]", u"[GroupTotal]",
};

void checkThread()
{
    Q_ASSERT(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread());
}

QString formatDate(const QDate &date, bool asLong)
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->FormatOleDate(date, asLong);
    return CConfiguration().FormatOleDate(date, asLong);
}

} // namespace

void InitReportPlaceholders()
{
    checkThread();
    for (QString &value : table.values)
        value.clear();
    table.initialised = true;
}

void SetPlaceholderValue(const QString &text, int index)
{
    checkThread();
    if (index >= 0 && index < PlaceholderCount)
        table.values[size_t(index)] = text;
}

void SetPlaceholderDates(int extraValue, const QDate &start, const QDate &end)
{
    checkThread();
    table.today = Platform::LocalTime::localDate(Platform::Clock::now());
    table.start = start;
    table.end = end;
    table.extraValue = extraValue;
}

void ReplacePlaceholders(QString &text, const QStringList *groupValues)
{
    checkThread();
    if (!table.initialised)
        return;
    for (int i = PlaceholderTitle; i <= PlaceholderTotal; ++i)
        text.replace(QString::fromUtf16(keys[i]), table.values[size_t(i)]);

    struct DatePlaceholder
    {
        const char16_t *key;
        const QDate *date;
        bool asLong;
    };
    // Each short form before its long one, whose key it does not contain.
    const DatePlaceholder dates[] = {
        {u"[DateShort]", &table.today, false},     {u"[Date]", &table.today, true},
        {u"[StartDateShort]", &table.start, false}, {u"[StartDate]", &table.start, true},
        {u"[EndDateShort]", &table.end, false},     {u"[EndDate]", &table.end, true},
    };
    for (const DatePlaceholder &d : dates) {
        const QString key = QString::fromUtf16(d.key);
        if (text.contains(key))
            text.replace(key, formatDate(*d.date, d.asLong));
    }

    if (groupValues) {
        if (groupValues->size() > 0)
            text.replace(QString::fromUtf16(keys[PlaceholderGroupTitle]), groupValues->at(0));
        if (groupValues->size() > 1)
            text.replace(QString::fromUtf16(keys[PlaceholderGroupTotal]), groupValues->at(1));
    }
}

tPlaceholderSnapshot TakePlaceholderSnapshot()
{
    checkThread();
    return table;
}

void RestorePlaceholderSnapshot(const tPlaceholderSnapshot &snapshot)
{
    checkThread();
    table = snapshot;
}
