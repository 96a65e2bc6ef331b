#pragma once
#include "CTreeFiller.h"
#include "MyTablePtr.h"
#include "tOnScreenReport.h"

#include <QList>
#include <QString>
#include <functional>

struct tReportDefinition;
namespace SQLite {
class CmyDataBase;
}

// The report definitions of one user, kept in a small database of their
// own beside the user's main database (same name, extension ".rpt"), with
// the list of the reports that were on screen when the program last closed
// or changed user. The store holds nothing but that path: every operation
// opens the database, does its work and closes it again, so each sees what
// the file holds now. Only a save creates the file; the other operations
// on a missing file fail without making one. A file that is not a report
// database (one that holds none of its tables), one of a later version, or
// one whose pages fail SQLite's whole check (a damaged page may read as a
// page of fewer rows), is never changed: every operation on it fails.
class CReportStore
{
public:
    // The image of a report's item in a tree.
    static constexpr int ReportImage = 19;
    // The schema version this program writes.
    static constexpr int Version = 1;

    // Opens a report by id: whether it showed its print layout, its zoom.
    using ReportOpener = std::function<void(int id, bool preview, int zoom)>;

    // The current user's report database (none without a current user).
    CReportStore();
    // The report database at `path` (empty: none).
    explicit CReportStore(const QString &path);

    QString Path() const { return m_path; }

    // Checks the database and brings it up to date: without `create`, false
    // when the file is missing or cannot be opened; with it, a missing file
    // is made with the current schema. A database of the first layout (no
    // column list, no version) or one that lacks a table (but holds one at
    // least, or is empty) gets what it lacks, all in one transaction; false
    // when that could not be committed.
    bool OpenDatabase(bool create);

    // One child of `parent` per saved report, in name order: text the
    // name, image ReportImage, data the report id. False (nothing added)
    // when the database cannot be opened or read.
    bool FillReportTree(CTreeFiller &tree, CTreeFiller::Item parent);
    // Stores a definition, making the file when it is missing: a new one
    // (Id -1) is inserted and takes its row's id, another one replaces its
    // row. An automatic title is stored empty, a typed one as typed. True
    // only when the row landed; false without a user, when the file
    // cannot be made or written, or when the report's row is gone. The
    // Modified flag is the caller's.
    bool SaveReport(tReportDefinition &definition);
    // Reads a stored definition; false when there is no such report.
    bool LoadReport(int id, tReportDefinition &definition);
    bool GetReportType(int id, int &kind);
    // The number of reports named `name` (0 on failure); `id` is set only
    // when there is exactly one.
    int FindReportByName(const QString &name, int &id);
    // True when the statement ran (also when no report has that id).
    bool RenameReport(int id, const QString &name);
    bool DeleteReport(int id);

    // Replaces the list of reports on screen, all or nothing; an empty list
    // only empties it.
    bool SaveOnScreenReports(const QList<tOnScreenReport> &reports);
    // Opens every report of the list, in its order, through `open`; the
    // list stays as it is. A zoom outside 0 to 3 opens at 2. False when the
    // list cannot be read.
    bool ReopenOnScreenReports(const ReportOpener &open);

private:
    // Opens the checked (and, if need be, mended or made) database into
    // `db`; false when it cannot be.
    bool Connect(SQLite::CmyDataBase &db, bool create);
    // The rows of a query on the checked database; null when it cannot be
    // opened or the query fails.
    SQLite::MyTablePtr Read(const QString &sql);
    // A write of one or more statements in one transaction, its COMMIT
    // checked.
    bool WriteAll(SQLite::CmyDataBase &db, const QStringList &statements);

    QString m_path;
};
