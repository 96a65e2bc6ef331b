#include "ReportCsvExport.h"

#include "CReportModel.h"
#include "FileCommit.h"
#include "LoneSurrogates.h"

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

} // namespace

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
    bool written = add(model.GetColumnCaptions());
    QStringList cells;
    for (bool more = written && model.FirstExportRow(mode, cells); more && written;
         more = model.NextExportRow(mode, cells))
        written = add(cells);
    if (!written || !flush(file, block)) {
        file.cancelWriting();
        return false;
    }
    return Platform::FileCommit::commit(file);
}

} // namespace ReportCsvExport
