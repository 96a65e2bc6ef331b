#pragma once
#include "CDayCacheSource.h"
#include "tTacheParams.h"

#include <QDate>
#include <QMetaObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

// The time entries of up to 42 consecutive days (six weeks: a month view),
// one list per day in start order, kept so that the week, day and month
// views draw, lay out and hit-test entries without a query on every paint.
//
// The days sit in a ring of 42 slots: moving the shown range by a few days
// reads only the days that enter it. The whole cache is read again when
// the database, or its change stamp (Infos 'Modif'), differs from the one
// of the last full read, when the range does not meet the cached one, after a
// failed read, and after any change notice of the data store: the stamp
// holds whole seconds, so two writes within one second leave it equal.
//
// The application owns one cache for the life of the process and empties
// it (Clear) after a change of user or database. A change made by the
// other program reaches it through the stamp, or at once when the
// application passes the other program's refresh message on to
// MarkForReload.
class CDayCache
{
public:
    static constexpr int Capacity = 42;

    // Makes the source of one load. The default reads the current user's
    // database.
    using SourceFactory = std::function<std::unique_ptr<CDayCacheSource>()>;

    CDayCache();
    explicit CDayCache(SourceFactory factory);
    ~CDayCache();
    CDayCache(const CDayCache &) = delete;
    CDayCache &operator=(const CDayCache &) = delete;

    // Makes sure the days from .. to are cached. Nothing happens when `to`
    // lies before `from` or either is invalid; a span above 42 days is cut
    // to the 42 days from `from`.
    void Load(const QDate &from, const QDate &to);

    // Entry i of the date's day; null when the day is not cached or i is
    // outside 0 .. count - 1. Valid until the next Load or Clear.
    tTacheParams *GetEntry(const QDate &date, int i);
    const tTacheParams *GetEntry(const QDate &date, int i) const;
    // Number of entries of the date's day; 0 when it is not cached.
    int GetCount(const QDate &date) const;
    // Every entry of the date's day (empty when it is not cached), for the
    // layout that writes their display fields.
    std::span<tTacheParams> GetDay(const QDate &date);
    bool IsCached(const QDate &date) const;

    // Empties the cache: no day cached, no stamp, every list freed.
    void Clear();
    // The next Load reads every day again, whatever the stamp says.
    void MarkForReload();

    bool IsEmpty() const { return m_startSlot < 0; }
    // The first and last cached day (meaningful when not empty).
    QDate FirstDay() const;
    QDate LastDay() const;

private:
    // The slot of a day number; -1 when the day is not cached.
    int SlotOf(int day) const;
    void ReadDay(CDayCacheSource &source, int slot, int day);
    static void Free(std::vector<tTacheParams> &entries);

    std::array<std::vector<tTacheParams>, Capacity> m_slots;
    int m_startSlot = -1;
    int m_endSlot = -1;
    int m_firstDay = 0;
    int m_lastDay = 0;
    QString m_stamp;
    // A read failed or a change was announced since the last full read.
    bool m_mustReload = false;
    SourceFactory m_factory;
    QMetaObject::Connection m_notices;
};
