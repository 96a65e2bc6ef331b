#include "CDayCache.h"

#include "CAppData.h"
#include "CDataChangedNotifier.h"
#include "CDayCacheDatabaseSource.h"
#include "LocalTime.h"

#include <utility>

using Platform::LocalTime::fromOleDay;
using Platform::LocalTime::oleDay;

CDayCache::CDayCache()
    : CDayCache([] { return std::make_unique<CDayCacheDatabaseSource>(); })
{
}

CDayCache::CDayCache(SourceFactory factory)
    : m_factory(std::move(factory))
{
    // The stamp cannot tell two writes of one second apart; the notice that
    // follows every write of this program can.
    m_notices = QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged,
                                 [this](qint64, qint64) { MarkForReload(); });
}

CDayCache::~CDayCache()
{
    QObject::disconnect(m_notices);
}

void CDayCache::Load(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid() || to < from)
        return;
    const int first = oleDay(from);
    int last = oleDay(to);
    if (last - first + 1 > Capacity)
        last = first + Capacity - 1;

    const std::unique_ptr<CDayCacheSource> source = m_factory();
    QString stamp;
    const bool stampRead = source->ReadStamp(stamp);

    if (IsEmpty() || m_mustReload || !stampRead || stamp != m_stamp || last < m_firstDay
        || m_lastDay < first) {
        m_mustReload = false;
        m_stamp = stamp;
        m_startSlot = 0;
        m_endSlot = last - first;
        m_firstDay = first;
        m_lastDay = last;
        for (int i = 0; i <= m_endSlot; ++i)
            ReadDay(*source, i, first + i);
        for (int i = m_endSlot + 1; i < Capacity; ++i)
            Free(m_slots[size_t(i)]);
        if (!stampRead)
            m_mustReload = true;
        return;
    }

    // Same stamp, and the range meets the cached one: only the days that
    // enter are read, the others stay as they are.
    while (first < m_firstDay) {
        const int day = m_firstDay - 1;
        m_startSlot = m_startSlot == 0 ? Capacity - 1 : m_startSlot - 1;
        if (m_startSlot == m_endSlot) {
            // The ring was full: the last day makes room.
            m_endSlot = m_endSlot == 0 ? Capacity - 1 : m_endSlot - 1;
            --m_lastDay;
        }
        ReadDay(*source, m_startSlot, day);
        m_firstDay = day;
    }
    while (m_lastDay < last) {
        const int day = m_lastDay + 1;
        m_endSlot = m_endSlot == Capacity - 1 ? 0 : m_endSlot + 1;
        if (m_endSlot == m_startSlot) {
            // The ring was full: the first day makes room.
            m_startSlot = m_startSlot == Capacity - 1 ? 0 : m_startSlot + 1;
            ++m_firstDay;
        }
        ReadDay(*source, m_endSlot, day);
        m_lastDay = day;
    }
}

void CDayCache::ReadDay(CDayCacheSource &source, int slot, int day)
{
    std::vector<tTacheParams> &entries = m_slots[size_t(slot)];
    if (!source.ReadDay(fromOleDay(day), entries)) {
        // A day that could not be read (the other program committing) is
        // not kept as a day without entries: the next load reads it all.
        entries.clear();
        m_stamp.clear();
        m_mustReload = true;
    }
}

void CDayCache::Free(std::vector<tTacheParams> &entries)
{
    std::vector<tTacheParams>().swap(entries);
}

int CDayCache::SlotOf(int day) const
{
    if (IsEmpty() || day < m_firstDay || day > m_lastDay)
        return -1;
    int slot = day - m_firstDay + m_startSlot;
    if (slot >= Capacity)
        slot -= Capacity;
    return slot;
}

const tTacheParams *CDayCache::GetEntry(const QDate &date, int i) const
{
    const int slot = date.isValid() ? SlotOf(oleDay(date)) : -1;
    if (slot < 0)
        return nullptr;
    const std::vector<tTacheParams> &entries = m_slots[size_t(slot)];
    return i >= 0 && size_t(i) < entries.size() ? &entries[size_t(i)] : nullptr;
}

tTacheParams *CDayCache::GetEntry(const QDate &date, int i)
{
    return const_cast<tTacheParams *>(std::as_const(*this).GetEntry(date, i));
}

int CDayCache::GetCount(const QDate &date) const
{
    const int slot = date.isValid() ? SlotOf(oleDay(date)) : -1;
    return slot < 0 ? 0 : int(m_slots[size_t(slot)].size());
}

std::span<tTacheParams> CDayCache::GetDay(const QDate &date)
{
    const int slot = date.isValid() ? SlotOf(oleDay(date)) : -1;
    if (slot < 0)
        return {};
    return m_slots[size_t(slot)];
}

bool CDayCache::IsCached(const QDate &date) const
{
    return date.isValid() && SlotOf(oleDay(date)) >= 0;
}

void CDayCache::Clear()
{
    m_startSlot = -1;
    m_endSlot = -1;
    m_stamp.clear();
    m_mustReload = false;
    for (std::vector<tTacheParams> &entries : m_slots)
        Free(entries);
}

void CDayCache::MarkForReload()
{
    m_mustReload = true;
}

QDate CDayCache::FirstDay() const
{
    return fromOleDay(m_firstDay);
}

QDate CDayCache::LastDay() const
{
    return fromOleDay(m_lastDay);
}
