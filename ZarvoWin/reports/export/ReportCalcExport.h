#pragma once
#include <QString>

class CReportModel;
class QWidget;

// The report handed to the desktop's spreadsheet program: its export rows
// written as a spreadsheet file into a folder of the user's own, under a
// name made from the report's name (a new one when that file exists), and
// the file opened with the desktop's program for it. The sheet is a file
// in that folder: to keep it, the user saves it elsewhere from that
// program.
namespace ReportCalcExport {

enum class Outcome {
    Opened,
    // More rows or columns than one sheet holds: nothing was written.
    TooLarge,
    // The folder or the file could not be made.
    WriteFailed,
    // Written, but no program of the desktop opened it.
    OpenFailed,
};

// The folder the sheets are written to, readable by the user alone; made
// when missing. Empty when it cannot be made.
QString SheetFolder();
// A path in `folder` for the report `displayName` that no file takes yet:
// "<name>.xls", then "<name> (2).xls" and so on.
QString NewSheetPath(const QString &folder, const QString &displayName);

// Writes the export rows of `mode` to a new file of `folder` and opens it;
// `path` is the file written (empty when none was).
Outcome Export(CReportModel &model, int mode, const QString &folder, QString &path);
// The export command's office-suite format: exports into SheetFolder()
// and tells what went wrong (21401 too large, 329 with the path when it
// could not be written, 26102 with the file's name and folder when no
// program opened it). True when written.
bool Run(QWidget *owner, CReportModel &model, int mode);

} // namespace ReportCalcExport
