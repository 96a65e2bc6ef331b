#pragma once
// CSV files read back by Python's own csv module, which shares no code
// with the export.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace CsvReadBack {

// The file as Python's csv module reads it (utf-8-sig, newline='').
inline std::vector<QStringList> read(const QString &path, const QString &separator)
{
    const QString script = QStringLiteral(
        "import csv, json, sys\n"
        "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
        "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path, separator});
    python.waitForFinished(30000);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    std::vector<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells << cell.toString();
        rows.push_back(cells);
    }
    return rows;
}

} // namespace CsvReadBack
