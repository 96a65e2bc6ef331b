#include "ReportCsvExport.h"

#include "CReportModel.h"
#include "FileCommit.h"
#include "LoneSurrogates.h"
#include "ReportXlsExport.h"

#include <QSaveFile>

namespace ReportCsvExport {

namespace {

bool needsQuotes(const QString &text, const QString &separator)
{
    for (const QChar c : text) {
        if (c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return text.contains(separator);
}

// Lines are gathered and written in blocks, not one write per line.
constexpr qsizetype BlockSize = 1 << 16;

bool flush(QSaveFile &file, QByteArray &block)
{
    const bool written = block.isEmpty() || file.write(block) == block.size();
    block.clear();
    return written;
}

bool startsLikeAFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    default:
        return false;
    }
}

} // namespace

QString TextCell(const QString &text)
{
    return startsLikeAFormula(text) ? u'\'' + text : text;
}

QString Field(const QString &text, const QString &separator)
{
    if (!needsQuotes(text, separator))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString Line(const QStringList &cells, const QString &separator)
{
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += separator;
        line += Field(cells[i], separator);
    }
    return line;
}

bool Write(CReportModel &model, const QString &path, int mode, const QString &separator)
{
    if (separator.isEmpty() || path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block("\xEF\xBB\xBF");
    const auto add = [&](const QStringList &cells) {
        // A lone surrogate is written as U+FFFD, as everywhere else, not
        // as the encoder's "?".
        block += Biff8::ReplaceLoneSurrogates(Line(cells, separator)).toUtf8();
        block += "\r\n";
        return block.size() < BlockSize || flush(file, block);
    };
    QStringList cells;
    for (const QString &caption : model.GetColumnCaptions())
        cells << TextCell(caption);
    bool written = add(cells);
    for (const CTreeItem *row = written ? model.FirstExportItem(mode) : nullptr; row && written;
         row = model.NextExportItem(mode)) {
        cells.clear();
        for (int c = 0; c < model.ColumnCount(); ++c) {
            const QString text = model.GetExportText(c, row);
            // Only a text that could pass for a formula asks what the cell
            // is: a negative amount stays a number.
            cells << (startsLikeAFormula(text) && !ReportXlsExport::IsFigureCell(model, c, *row) ? TextCell(text)
                                                                                                 : text);
        }
        written = add(cells);
    }
    if (!written || !flush(file, block)) {
        file.cancelWriting();
        return false;
    }
    return Platform::FileCommit::commit(file);
}

} // namespace ReportCsvExport
