#pragma once
#include <QString>
#include <QStringList>

class CReportModel;
class CTreeItem;

namespace Biff8 {
class ExcelFormatManager;
class ExcelWorksheet;
} // namespace Biff8

// The export of a report's rows to a spreadsheet file (.xls, one sheet):
// a header row of the column captions, then the export rows with typed
// cells. Durations and times of day are numbers of days shown "[h]:mm",
// amounts and counts plain numbers, shares numbers shown "0.00%", every
// other column text; a cell without a value stays empty.
namespace ReportXlsExport {

enum class Result {
    Written,
    // More rows (header included) or columns than one sheet holds: nothing
    // was written.
    TooLarge,
    // The file could not be made or written; the target is as it was.
    Failed,
};

// The column kinds written as durations, as numbers and as shares.
bool IsDurationKind(int kind);
bool IsNumberKind(int kind);
bool IsShareKind(int kind);
// Whether the cell of list column `column` in `row` is written as a figure
// (a duration, a time of day, a number or a share) rather than as text:
// the column is of one of those kinds and the cell is not the row's name
// (CReportModel::IsRowLabel).
bool IsFigureCell(const CReportModel &model, int column, const CTreeItem &row);

// A text of the form h:mm or h:mm:ss (hours of any length, a leading "-"
// for a negative span; minutes and seconds two digits below 60) as a
// number of days; false for anything else.
bool ParseDuration(const QString &text, double &days);

// The number formats one workbook uses, registered with that workbook's
// own format tables.
class CellFormats
{
public:
    explicit CellFormats(Biff8::ExcelFormatManager &manager);
    // 0 (the default format) when the workbook could not take one.
    quint32 Duration() const { return m_duration; }
    quint32 Share() const { return m_share; }

private:
    quint32 m_duration = 0;
    quint32 m_share = 0;
};

// Row 0: one text cell per caption.
void WriteHeaderRow(Biff8::ExcelWorksheet &sheet, const QStringList &captions);
// One export row: typed cells from the model's values, the others with
// the texts the text exports write.
void WriteReportRow(const CellFormats &formats, Biff8::ExcelWorksheet &sheet, int rowNumber,
                    const CReportModel &model, const CTreeItem &row);

// Writes the report's export rows of `mode` (see
// CReportModel::FirstExportRow) to `path`. The sheet is named by text 675.
// A report too large for one sheet is refused before any file is made;
// the target is replaced only by a complete file.
Result Write(CReportModel &model, const QString &path, int mode);

} // namespace ReportXlsExport
