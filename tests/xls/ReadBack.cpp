#include "ReadBack.h"
#include "ExcelFormatManager.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace Biff8;

namespace ReadBack {

const QString Python = QStringLiteral("/usr/bin/python3");

bool save(ExcelFile &file, const QString &path)
{
    if (!file.CreateStorage(path))
        return false;
    const bool ok = file.CreateWorkbookStream() == 1 && file.SaveWorkbook();
    file.ReleaseStorage();
    return ok;
}

Check read(const QString &path)
{
    Check check;
    const QString streamOut = path + QStringLiteral(".stream");
    QProcess p;
    p.start(Python, {QStringLiteral(XLS_CHECK_SCRIPT), path, streamOut});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "reader failed: " << p.readAllStandardError().toStdString();
        return check;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    check.result = doc.object();
    QFile f(streamOut);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        check.stream.assign(bytes.begin(), bytes.end());
    }
    check.ran = true;
    return check;
}

void expectCleanLog(const QJsonObject &result)
{
    const QString log = result.value("log").toString();
    EXPECT_FALSE(log.contains(QStringLiteral("WARNING"), Qt::CaseInsensitive)) << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("***"))) << log.toStdString();
}

std::map<std::pair<int, int>, Cell> cellsOf(const QJsonObject &sheet)
{
    std::map<std::pair<int, int>, Cell> out;
    for (const QJsonValue &v : sheet.value("cells").toArray()) {
        const QJsonArray a = v.toArray();
        Cell c;
        c.type = a.at(2).toInt();
        c.value = a.at(3);
        c.format = a.at(4).toString();
        c.xf = a.at(5).toInt();
        out[{a.at(0).toInt(), a.at(1).toInt()}] = c;
    }
    return out;
}

namespace {

QString formatText(Workbook &g, std::uint32_t xf)
{
    const std::uint16_t formatIndex = g.xfs.at(xf).format;
    QString format = ExcelFormatManager::builtInFormat(formatIndex);
    for (const Format &f : g.formats)
        if (f.index == formatIndex)
            format = f.text.text();
    return format;
}

bool sameValue(const ExcelCell &cell, const Cell &got)
{
    switch (cell.kind()) {
    case ExcelCell::Empty:
        return got.type == 6;
    case ExcelCell::Integer:
        // A number with a date or time format reads back as a date (3).
        return (got.type == 2 || got.type == 3) && got.value.toDouble() == double(cell.integer());
    case ExcelCell::Number: {
        if (!std::isfinite(cell.number()))
            return got.type == 5 && got.value.toInt() == 0x24; // #NUM!
        // Negative zero comes back as zero.
        const double value = got.value.toDouble();
        return (got.type == 2 || got.type == 3) && value == cell.number() && !(value == 0 && std::signbit(value));
    }
    case ExcelCell::NarrowText:
        return got.type == 1 && got.value.toString() == QString::fromLatin1(cell.narrowText());
    case ExcelCell::WideText:
        return got.type == 1 && got.value.toString() == cell.wideText();
    case ExcelCell::Formula: {
        const FormulaData &f = *cell.formula();
        if (f.hasStringResult)
            return got.type == 1 && got.value.toString() == f.stringResult;
        double cached;
        std::memcpy(&cached, f.cachedResult.data(), 8);
        return got.type == 2 && got.value.toDouble() == cached;
    }
    }
    return false;
}

} // namespace

void compare(const QJsonObject &sheet, const ExcelWorksheet &grid, ExcelFile &file)
{
    Workbook &g = file.Globals();
    const auto got = cellsOf(sheet);
    int rows = 0, columns = 0;
    std::size_t written = 0;
    int mismatches = 0;
    for (const ExcelWorksheet::GridRow &row : grid.rows()) {
        for (const ExcelCell &cell : row.cells) {
            if (!cell.writesRecord())
                continue;
            ++written;
            rows = std::max(rows, cell.row() + 1);
            columns = std::max(columns, cell.column() + 1);
            auto it = got.find({cell.row(), cell.column()});
            if (it == got.end()) {
                ADD_FAILURE() << "cell " << cell.row() << "," << cell.column() << " not read back";
                if (++mismatches == 10)
                    return;
                continue;
            }
            const Cell &c = it->second;
            if (!sameValue(cell, c) || c.xf != int(g.fileXFIndex(cell.xfIndex())) || c.format != formatText(g, cell.xfIndex())) {
                ADD_FAILURE() << "cell " << cell.row() << "," << cell.column() << " read back as type " << c.type
                              << " xf " << c.xf << " format " << c.format.toStdString() << " value "
                              << QJsonDocument(QJsonArray{c.value}).toJson(QJsonDocument::Compact).toStdString().substr(0, 200);
                if (++mismatches == 10)
                    return;
            }
        }
    }
    // Merged ranges belong to the sheet's used area.
    for (const CellRange &range : grid.mergedRanges()) {
        rows = std::max(rows, range.lastRow + 1);
        columns = std::max(columns, range.lastColumn + 1);
    }
    EXPECT_EQ(got.size(), written) << "cells read back that the grid does not write";
    EXPECT_EQ(sheet.value("nrows").toInt(), rows);
    EXPECT_EQ(sheet.value("ncols").toInt(), columns);
}

QString soffice()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

QString convertToCsv(const QString &program, const QStringList &files, const QString &outDir)
{
    // A profile of its own below the test's folders, so that nothing of the
    // machine's LibreOffice settings is read or changed. The filter options:
    // comma, double quote, UTF-8, from line 1, texts as shown, every sheet.
    const QString profile = QUrl::fromLocalFile(outDir + QStringLiteral("/profile")).toString();
    QStringList args = {QStringLiteral("-env:UserInstallation=") + profile,
                        QStringLiteral("--headless"),
                        QStringLiteral("--norestore"),
                        QStringLiteral("--convert-to"),
                        QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,-1"),
                        QStringLiteral("--outdir"),
                        outDir};
    args += files;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // Numbers as shown in the C locale: a point before the decimals.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("soffice failed: ") + QString::fromUtf8(p.readAll());
    return {};
}

} // namespace ReadBack
