// A second program on the same user database, driving the data store's own
// write and read calls, for the tests and the benchmark of two programs
// sharing one file. Each operation makes its own CBdD, so the file is
// opened and closed around every write and read, as the windows do.
//   datastore_peer write PATH COUNT NAME
//       waits for a line on stdin, then saves COUNT new time entries (every
//       fifth write a new activity instead), titled NAME and a number;
//       prints "wrote LANDED FAILED" and ends.
//   datastore_peer read PATH STOPFILE
//       reads one day's entries, then the running ones, once, prints
//       "ready", then reads them again and again until STOPFILE exists;
//       prints "read DONE FAILED MILLISECONDS" (the reads after "ready" and
//       the time they took) and ends.
//   datastore_peer insert PATH
//       for each line read on stdin, saves one new time entry titled by
//       that line, without waiting for a lock the other program holds;
//       prints "saved", "busy" (the file was locked) or "failed CODE".
//   datastore_peer retitle PATH ID TITLE
//       gives the time entry ID the title TITLE, as an edit of the entry
//       saves it; prints "saved" or "failed CODE" and ends.
// With ZARVO_PEER_NOW set (Unix seconds), its clock reads that time, as
// the test's own does.
#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "tElement.h"
#include "tTacheParams.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The day the writers fill: one entry a minute from 2026-03-02 00:00 UTC.
constexpr qint64 FirstStart = 1772409600;

int write(int count, const QString &name)
{
    std::string line;
    std::getline(std::cin, line); // everyone starts together
    int landed = 0;
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        bool ok;
        if (i % 5 == 4) {
            tElement activity;
            activity.Nom = QStringLiteral("%1 activity %2").arg(name).arg(i);
            CBdD db;
            ok = db.SaveActivity(activity) && activity.Id != -1;
        } else {
            tTacheFull entry;
            entry.Debut = FirstStart + i * 60;
            entry.Fin = entry.Debut + 50;
            entry.Title = QStringLiteral("%1 %2").arg(name).arg(i);
            CBdD db;
            ok = db.SaveTimeEntry(entry);
        }
        ok ? ++landed : ++failed;
        if (!ok)
            std::fprintf(stderr, "write %d failed\n", i);
    }
    std::printf("wrote %d %d\n", landed, failed);
    return 0;
}

int read(const QString &stopFile)
{
    int done = 0;
    int failed = 0;
    const QDate day(2026, 3, 2);
    const auto readOnce = [&] {
        std::vector<tTacheParams> entries;
        CBdD db;
        const bool ok = db.LoadTimeEntries(entries, day) && db.GetRunningEntries(entries);
        ok ? ++done : ++failed;
        if (!ok)
            std::fprintf(stderr, "read failed: open %d, code %d\n", db.OpenError(), db.LastCode());
    };
    // Reading already when the caller lets the writers go.
    readOnce();
    done = failed = 0;
    std::printf("ready\n");
    std::fflush(stdout);
    QElapsedTimer reading;
    reading.start();
    while (!QFileInfo::exists(stopFile))
        readOnce();
    std::printf("read %d %d %lld\n", done, failed, static_cast<long long>(reading.elapsed()));
    return 0;
}

int insertEach()
{
    SQLite::CmyDataBase::SetBusyTimeoutMs(0);
    std::string line;
    for (int i = 0; std::getline(std::cin, line); ++i) {
        tTacheFull entry;
        entry.Debut = FirstStart + i * 60;
        entry.Fin = entry.Debut + 50;
        entry.Title = QString::fromStdString(line);
        CBdD db;
        if (db.SaveTimeEntry(entry))
            std::printf("saved\n");
        else if (db.LastCode() == SQLITE_BUSY || db.OpenError() == SQLITE_BUSY)
            std::printf("busy\n");
        else
            std::printf("failed %d %d\n", db.OpenError(), db.LastCode());
        std::fflush(stdout);
    }
    return 0;
}

int retitle(int id, const QString &title)
{
    tTacheFull entry;
    CBdD db;
    bool ok = db.GetTimeEntry(entry, id);
    if (ok) {
        entry.Title = title;
        ok = db.SaveTimeEntry(entry);
    }
    if (ok)
        std::printf("saved\n");
    else
        std::printf("failed %d %d\n", db.OpenError(), db.LastCode());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    bool fixed = false;
    const qint64 now = qEnvironmentVariable("ZARVO_PEER_NOW").toLongLong(&fixed);
    if (fixed)
        Platform::Clock::setFixedNow(now);
    CAnnulation history;
    CProjectStore store;
    CAppData::SetAnnulation(&history);
    CAppData::SetProjectStore(&store);
    CAppData::SetCurrentDatabasePath(args.at(2));
    int rc = 2;
    if (args.at(1) == u"write")
        rc = write(args.value(3).toInt(), args.value(4));
    else if (args.at(1) == u"read")
        rc = read(args.value(3));
    else if (args.at(1) == u"insert")
        rc = insertEach();
    else if (args.at(1) == u"retitle")
        rc = retitle(args.value(3).toInt(), args.value(4));
    std::fflush(stdout);
    CBdD::CloseSharedConnection();
    CAppData::Clear();
    return rc;
}
