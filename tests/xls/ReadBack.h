#pragma once
#include "ExcelFile.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

// Whole files are read back by Debian's own spreadsheet and compound-file
// readers (python3-xlrd, python3-olefile), which share no code with ours,
// and, where it is installed, by LibreOffice. Test-only.
namespace ReadBack {

extern const QString Python;

// Creates the file at path and saves the workbook into it.
bool save(Biff8::ExcelFile &file, const QString &path);

struct Check
{
    bool ran = false;
    QJsonObject result;               // what xls_check.py printed
    std::vector<std::uint8_t> stream; // the stream "Workbook" of the file
};

// Reads a file with xlrd and olefile; a failure of the reader is a test failure.
Check read(const QString &path);

// xlrd's log of the file holds no warning.
void expectCleanLog(const QJsonObject &result);

// One cell as xlrd read it.
struct Cell
{
    int type = 0; // 1 text, 2 number, 3 date, 5 error, 6 blank
    QJsonValue value;
    QString format;
    int xf = -1; // the XF record of the file
};
// The cells of a sheet that hold a record, by (row, column).
std::map<std::pair<int, int>, Cell> cellsOf(const QJsonObject &sheet);

// Every cell of the grid that writes a record reads back as the grid holds
// it (value, XF record, number-format text), no other cell holds a record,
// and the sheet spans exactly those cells.
void compare(const QJsonObject &sheet, const Biff8::ExcelWorksheet &grid, Biff8::ExcelFile &file);

// The LibreOffice program, or empty when it is not installed.
QString soffice();
// Converts every sheet of the files to CSV, cell texts as shown, into
// outDir as "<file base name>-<sheet name>.csv". Empty on success, else
// what went wrong.
QString convertToCsv(const QString &program, const QStringList &files, const QString &outDir);

} // namespace ReadBack
