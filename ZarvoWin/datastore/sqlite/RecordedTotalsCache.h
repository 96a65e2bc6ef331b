#pragma once
// The recorded totals of a user's database kept between loads and runs.
// Summing every entry's time by project and activity reads the whole
// history, which grows with the years; a later load takes the sums back
// instead while the entries are as they were, by the same change test that
// tells a running program whether to read them again (the entries stamped
// since the newest stamp read, their count and newest stamp), together with
// the newest entry id and the file's page count.
//
// The file is a cache in the user's cache folder, one per database path: a
// missing, unreadable or foreign file only costs the pass over the entries.
// It is no more open than its database, in folders only their owner enters
// (narrowed at each read and write where an older version left them open).
#include <QString>
#include <QtGlobal>
#include <vector>

namespace RecordedTotalsCache {

// The totals of one project and activity (activity -1 when the sums were
// made by project alone).
struct Row
{
    int project = -1;
    int activity = -1;
    int count = 0;
    qint64 total = 0;
    qint64 firstStart = 0;
    qint64 lastEnd = 0;
};

struct Snapshot
{
    QString databasePath;
    bool byActivity = true;
    // What the change test compares: the newest stamp read, when the sums
    // were read, and the test's result then.
    qint64 newestStamp = 0;
    qint64 readAt = 0;
    QString boundary;
    qint64 newestEntryId = 0;
    qint64 pageCount = 0;
    std::vector<Row> rows;
};

// The cache file of a database.
QString FileFor(const QString &databasePath);
// Reads the snapshot kept for the database; false when there is none, or
// when the file is unreadable or another database's.
bool Load(const QString &databasePath, Snapshot &snapshot);
// Replaces the kept snapshot of its database as a whole; false when the
// file could not be written (nothing else follows from that).
bool Save(const Snapshot &snapshot);
// Removes the snapshot kept for the database (its file replaced by another).
void Forget(const QString &databasePath);

} // namespace RecordedTotalsCache
