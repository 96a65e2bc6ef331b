#pragma once
#include "CTreeFiller.h"

#include <QString>

namespace SQLite {
class CmyDataBase;
}

// The report definitions of one user, kept in a small database of their
// own beside the user's main database (same name, extension ".rpt"). The
// store holds nothing but that path: every operation opens the database,
// does its work and closes it again, so each sees what the file holds now.
// Only a save creates the file; reads, renames and deletions of a missing
// file fail without making one.
class CReportStore
{
public:
    // The image of a report's item in a tree.
    static constexpr int ReportImage = 19;
    // The schema version this program writes.
    static constexpr int Version = 1;

    // The current user's report database (none without a current user).
    CReportStore();
    // The report database at `path` (empty: none).
    explicit CReportStore(const QString &path);

    QString Path() const { return m_path; }

    // Checks the database and brings an older layout up to date: without
    // `create`, false when the file is missing or cannot be opened; with
    // it, a missing file is made with the current schema. A database of
    // the first layout (no version) gets its column list and version in
    // one transaction; false when that could not be committed.
    bool OpenDatabase(bool create);

    // One child of `parent` per saved report, in name order: text the
    // name, image ReportImage, data the report id. False (nothing added)
    // when the database cannot be opened or read.
    bool FillReportTree(CTreeFiller &tree, CTreeFiller::Item parent);
    // True when the statement ran (also when no report has that id).
    bool RenameReport(int id, const QString &name);
    bool DeleteReport(int id);

private:
    // Opens the checked database into `db`; false when it cannot be.
    bool Connect(SQLite::CmyDataBase &db);

    QString m_path;
};
