#pragma once
#include <QString>
#include <QStringList>

class CReportModel;

// Delimited text exports of a report: UTF-8 with a byte-order mark, so that
// every letter survives and spreadsheet programs read the file as UTF-8,
// lines ending with CR LF. A field holding the separator, a double quote, a
// CR or a LF is written between double quotes with its quotes doubled;
// every other field as it is.
namespace ReportCsvExport {

QString Field(const QString &text, const QString &separator);
// The fields joined by the separator, without a line end.
QString Line(const QStringList &cells, const QString &separator);

// Writes the column captions, then one line per export row of `mode` (see
// CReportModel::FirstExportRow). The file replaces the target only once it
// is complete; false (the target as it was) when it cannot be written or
// the separator is empty.
bool Write(CReportModel &model, const QString &path, int mode, const QString &separator);

} // namespace ReportCsvExport
