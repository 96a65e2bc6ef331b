#pragma once
#include "CReportLineSink.h"

#include <QString>
#include <QtGlobal>

class ProgressDlgShared;
struct tReportDefinition;
namespace SQLite {
class CmyDataBase;
}

// Copies the time entries a report selects out of the user's database into
// a report database of its own ("tmprep.sdb", table rptTaches), then reads
// them back grouped and filtered and hands each line to a sink. Reports of
// kinds 0 to 3; project tracking (kind 4) reads no entries.
//
// The copy keeps the entries of the period (dates given in reverse stand
// for the same period) and of the invoiced filter, splits an entry that
// runs over several local days into one row per day (each day ending at
// 23:59:59 local time of that day and counted up to midnight, so that the
// pieces add up to the entry and the days of a clock change keep their 23
// or 25 hours), and gives the entries of a deleted or vanished project or
// activity the id -1. A running entry's piece has no end (Fin 0) only where
// it reaches the present: the days of a period that has ended are whole. The user's database is attached
// to the report database and read in one read transaction: the copy is
// set-based, and nothing is ever written to the user's file.
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

    // Fills rptTaches in the open report database `report` from the user's
    // database at `mainPath`, in one transaction. False when a statement
    // failed (nothing is kept) or when cancelled.
    bool FillReportTable(SQLite::CmyDataBase &report, const QString &mainPath);

    // Kinds 0 to 2, and 3: makes the report database in `folder`, fills it,
    // hands the lines to the sink, and deletes the file again. False when
    // the definition cannot be built, the file cannot be made, or a
    // statement failed; a cancelled build stops early, cleans up and
    // gives true (the caller reads the cancel flag).
    bool BuildReport(const QString &mainPath, const QString &folder, CReportLineSink &sink);
    bool BuildCrossTabReport(const QString &mainPath, const QString &folder, CReportLineSink &sink);

    bool IsCancelled() const;
    // The instant the build counts as the present (taken when it is made).
    qint64 Now() const { return m_now; }

private:
    bool Build(const QString &mainPath, const QString &folder, CReportLineSink &sink, bool crossTable);
    bool CopyEntries(SQLite::CmyDataBase &report, const QString &where);
    bool FeedEntries(SQLite::CmyDataBase &report, CReportLineSink &sink);
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
