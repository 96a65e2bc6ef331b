#pragma once
#include "CReportLineSink.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

class LocalDayCache;
class ProgressDlgShared;
struct tReportDefinition;
namespace SQLite {
class CmyDataBase;
}

// Reads the time entries a report selects out of the user's database and
// hands each line to a sink. Reports of kinds 0 to 3; project tracking
// (kind 4) reads no entries.
//
// The entries of the period (dates given in reverse stand for the same
// period) and of the invoiced filter are read in one read transaction of a
// connection of the build's own, which never writes to the user's file.
// An entry that runs over several local days is split into one line per
// day (each day ending at 23:59:59 local time of that day and counted up
// to midnight, so that the pieces add up to the entry and the days of a
// clock change keep their 23 or 25 hours); a running entry's piece has no
// end (Fin 0) only where it reaches the present: the days of a period that
// has ended are whole. The entries of a deleted or vanished project or
// activity have the id -1.
//
// A grouped report (kinds 0 to 2) reads its lines into memory and hands
// them on in start order once the file is free again. A cross table copies
// them into a report database of its own ("tmprep.sdb", table rptTaches),
// where SQL finds the values of its columns, and reads them back from it.
//
// Made and used on one thread (the build's worker); it reads only the
// definition, the file and the cancel flag.
class CReportExtraction
{
public:
    static constexpr const char16_t *FileName = u"tmprep.sdb";

    // `progress` may be null (no step texts, never cancelled).
    CReportExtraction(const tReportDefinition &definition, ProgressDlgShared *progress);

    // The where-clause of the report's project and activity lists over
    // rptTaches ("where rptTaches.IdProjet in (1,2) and rptTaches.IdActivite
    // in (3) "); empty for two empty lists.
    static QString BuildReportFilter(const tReportDefinition &definition);
    // The select expression of a cross table's column grouping, named
    // Colonne; empty for a grouping code outside 0 to 4.
    static QString GetGroupColumnExpression(const tReportDefinition &definition);
    // Whether the definition can be built without trusting its texts: the
    // lists are empty or lists of ids in parentheses, the period's dates
    // are dates from 1900 on (unless the period is the whole database),
    // and a cross table's column grouping is known.
    static bool IsBuildable(const tReportDefinition &definition);

    // Fills rptTaches, the lines of a cross table, in the open report
    // database `report` from the user's database at `mainPath`, in one
    // transaction. False when a statement failed (nothing is kept) or when
    // cancelled.
    bool FillReportTable(SQLite::CmyDataBase &report, const QString &mainPath);

    // Kinds 0 to 2, and 3 (which makes its report database in `folder` and
    // deletes it again): hands the lines to the sink. False when the
    // definition cannot be built, the file cannot be read or made, or a
    // statement failed; a cancelled build stops early, cleans up and
    // gives true (the caller reads the cancel flag).
    bool BuildReport(const QString &mainPath, const QString &folder, CReportLineSink &sink);
    bool BuildCrossTabReport(const QString &mainPath, const QString &folder, CReportLineSink &sink);

    bool IsCancelled() const;
    // The instant the build counts as the present (taken when it is made).
    qint64 Now() const { return m_now; }

private:
    // The instants the report's period spans: from the first second of its
    // first day to the last of its last day; unbounded (to now) over the
    // whole database.
    struct tPeriod
    {
        bool Bounded = false;
        qint64 Start = 0;
        qint64 End = 0;
    };
    tPeriod Period() const;
    // The SQL condition on Debut and Fin of the entries of the period.
    static QString PeriodCondition(const tPeriod &period);
    // Cuts an entry over several days, or running, into its pieces of one
    // local day within the period: `piece` (start, end, counted up to
    // midnight) for each; false when `piece` refused one.
    bool CutIntoDays(qint64 debut, qint64 fin, const tPeriod &period, LocalDayCache &days,
                     const std::function<bool(qint64, qint64, bool)> &piece) const;

    bool Build(const QString &mainPath, const QString &folder, CReportLineSink &sink, bool crossTable);
    // The entries within one day of a grouped report, as read.
    class CReadLines;
    // A grouped report: the entries within one day in start order into
    // `lines`, the pieces of the longer ones into `pieces`.
    bool ReadEntries(const QString &mainPath, CReadLines &lines, std::vector<tReportEntry> &pieces);
    bool BuildGrouped(const QString &mainPath, CReportLineSink &sink);
    bool CopyEntries(SQLite::CmyDataBase &report, const QString &where);
    bool FeedCrossTable(SQLite::CmyDataBase &report, CReportLineSink &sink);
    void Step(int textId);

    const tReportDefinition &m_definition;
    ProgressDlgShared *m_progress;
    qint64 m_now;
    bool m_withTexts;
    // The last row of the entries within one day, stored in start order;
    // the pieces of longer entries follow it.
    qint64 m_lastSingleRow = 0;
};
