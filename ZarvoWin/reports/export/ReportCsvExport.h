#pragma once
#include <QString>
#include <QStringList>

class CReportModel;

// Delimited text exports of a report: UTF-8 with a byte-order mark, so that
// every letter survives and spreadsheet programs read the file as UTF-8,
// lines ending with CR LF. A field holding the separator, a double quote, a
// CR or a LF is written between double quotes with its quotes doubled;
// every other field as it is. A text cell (a caption, a name, a title, a
// note, a date) whose first character would make a spreadsheet read it as
// a formula ("=", "+", "-", "@", a tab or a CR) is written after an
// apostrophe, so that it shows as text; figures (durations, times of day,
// amounts, counts and shares) are written as they are, so that they read
// back as numbers.
namespace ReportCsvExport {

QString Field(const QString &text, const QString &separator);
// A text cell as the file holds it: after an apostrophe when a
// spreadsheet would take it for a formula, else as it is.
QString TextCell(const QString &text);
// The fields joined by the separator, without a line end.
QString Line(const QStringList &cells, const QString &separator);

// Writes the column captions, then one line per export row of `mode` (see
// CReportModel::FirstExportRow). The file replaces the target only once it
// is complete; false (the target as it was) when it cannot be written or
// the separator is empty.
bool Write(CReportModel &model, const QString &path, int mode, const QString &separator);

} // namespace ReportCsvExport
