#include "ReportXlsExport.h"

#include "CReportModel.h"
#include "ExcelCellFormat.h"
#include "ExcelFile.h"
#include "ExcelFormatManager.h"
#include "ExcelWorksheet.h"
#include "Formatter.h"
#include "Texts.h"

#include <cmath>
#include <memory>

namespace ReportXlsExport {

namespace {

// Digits only, at least one.
bool digits(QStringView text, qint64 &value)
{
    if (text.isEmpty() || text.size() > 12)
        return false;
    value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    return true;
}

// Two digits below 60.
bool sixtieths(QStringView text, qint64 &value)
{
    return text.size() == 2 && digits(text, value) && value < 60;
}

quint32 registered(Biff8::ExcelFormatManager &manager, const QString &numberFormat)
{
    const quint32 format = manager.GetFormatIndex(numberFormat);
    if (format == Biff8::ExcelFormatManager::NoIndex)
        return 0;
    Biff8::ExcelCellFormat cellFormat(&manager);
    cellFormat.formatIndex = format;
    const quint32 xf = manager.GetXFIndex(cellFormat);
    return xf == Biff8::ExcelFormatManager::NoIndex ? 0 : xf;
}

void setNumber(Biff8::ExcelCell *cell, double value, quint32 xf)
{
    cell->SetDouble(value);
    if (xf != 0)
        cell->SetXFIndex(xf);
}

} // namespace

bool IsDurationKind(int kind)
{
    return kind == 3 || kind == 4 || kind == 5 || (kind >= 29 && kind <= 32) || kind == 38;
}

bool IsNumberKind(int kind)
{
    return kind == 6 || kind == 7 || kind == 35;
}

bool IsShareKind(int kind)
{
    return kind == 19 || kind == 20 || kind == 33 || kind == 34;
}

bool IsFigureCell(const CReportModel &model, int column, const CTreeItem &row)
{
    if (column < 0 || column >= model.ColumnCount() || CReportModel::IsRowLabel(column, &row))
        return false;
    const int kind = model.Columns()[size_t(column)].Kind;
    return IsDurationKind(kind) || IsNumberKind(kind) || IsShareKind(kind);
}

bool ParseDuration(const QString &text, double &days)
{
    QStringView t(text);
    const bool negative = t.startsWith(u'-');
    if (negative)
        t = t.mid(1);
    const QList<QStringView> parts = t.split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    qint64 hours = 0, minutes = 0, seconds = 0;
    if (!digits(parts[0], hours) || !sixtieths(parts[1], minutes))
        return false;
    if (parts.size() == 3 && !sixtieths(parts[2], seconds))
        return false;
    const double span = double(hours) / 24.0 + double(minutes) / 1440.0 + double(seconds) / 86400.0;
    days = negative ? -span : span;
    return true;
}

CellFormats::CellFormats(Biff8::ExcelFormatManager &manager)
    : m_duration(registered(manager, QStringLiteral("[h]:mm")))
    , m_share(registered(manager, QStringLiteral("0.00%")))
{
}

void WriteHeaderRow(Biff8::ExcelWorksheet &sheet, const QStringList &captions)
{
    for (int c = 0; c < captions.size() && c < Biff8::ExcelWorksheet::MaxColumns; ++c) {
        if (Biff8::ExcelCell *cell = sheet.CellAt(0, c))
            cell->SetWideString(captions[c]);
    }
}

void WriteReportRow(const CellFormats &formats, Biff8::ExcelWorksheet &sheet, int rowNumber,
                    const CReportModel &model, const CTreeItem &row)
{
    const std::vector<CReportModel::tListColumn> &columns = model.Columns();
    for (int c = 0; c < int(columns.size()) && c < Biff8::ExcelWorksheet::MaxColumns; ++c) {
        const int kind = columns[size_t(c)].Kind;
        // A group's name in a column of figures is its name, never a
        // number read from it.
        if (!IsFigureCell(model, c, row)) {
            const QString text = model.GetExportText(c, &row);
            if (!text.isEmpty())
                sheet.CellAt(rowNumber, c)->SetWideString(text);
            continue;
        }
        tReportCellValue value;
        // No value (kind 37) leaves the cell empty.
        if (!model.GetCellValue(c, &row, value) || value.Kind == 37)
            continue;
        if (IsDurationKind(kind)) {
            double days = 0.0;
            if (ParseDuration(value.Text, days))
                setNumber(sheet.CellAt(rowNumber, c), days, formats.Duration());
            else if (!value.Text.isEmpty())
                // Never a misread number: what is not a span stays text.
                sheet.CellAt(rowNumber, c)->SetWideString(model.GetExportText(c, &row));
        } else if (std::isfinite(value.Value)) {
            setNumber(sheet.CellAt(rowNumber, c), value.Value, IsShareKind(kind) ? formats.Share() : 0);
        }
    }
}

Result Write(CReportModel &model, const QString &path, int mode)
{
    if (model.ColumnCount() > Biff8::ExcelWorksheet::MaxColumns)
        return Result::TooLarge;
    auto file = std::make_unique<Biff8::ExcelFile>();
    file->NewWorkbook();
    if (file->Worksheets().empty())
        return Result::Failed;
    Biff8::ExcelWorksheet &sheet = *file->Worksheets().front();
    sheet.Rename(Platform::Formatter::sprintf(Platform::Texts::get(675), {1}));
    // Formats live with this workbook only: a new export starts from a new
    // workbook and registers them again.
    Biff8::ExcelFormatManager manager(*file);
    const CellFormats formats(manager);
    WriteHeaderRow(sheet, model.GetColumnCaptions());
    int rowNumber = 1;
    for (const CTreeItem *row = model.FirstExportItem(mode); row; row = model.NextExportItem(mode)) {
        if (rowNumber >= Biff8::ExcelWorksheet::MaxRows)
            return Result::TooLarge;
        WriteReportRow(formats, sheet, rowNumber++, model, *row);
    }
    if (!file->CreateStorage(path) || file->CreateWorkbookStream() < 0 || !file->SaveWorkbook())
        return Result::Failed;
    return Result::Written;
}

} // namespace ReportXlsExport
