#pragma once
#include "IntParse.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace SQLite {

// A fully materialised query result. Every value is kept as text (a NULL
// value as the empty text); the typed getters parse it. The table never
// refers to its connection again, so it outlives it.
class MyTable
{
public:
    MyTable() = default;
    virtual ~MyTable() = default;

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    int currentRow() const { return m_currentRow; }
    const QStringList &columnNames() const { return m_columnNames; }

    bool MoveFirst();
    bool MoveLast();
    bool MoveNext();

    // Null texts (QString::isNull) stand for "no such column or row".
    QString GetColumnName(int i) const;
    QString GetValue(QStringView name) const;
    QString GetValueAt(int i) const;
    // Value of row `row`, column `col` (null when out of range).
    QString GetCell(int row, int col) const;
    QStringView GetCellView(int row, int col) const;
    int ColumnIndex(QStringView name) const;

    int GetId() const;
    int GetInt(QStringView name) const;
    int GetFirstInt() const;
    qint64 GetInt64(QStringView name) const;
    // Numbers that read as `ifNull` when the value is NULL (or empty) or
    // there is no such cell: of row `row`, column `col`, or of the current
    // row's column `name`.
    int GetIntAt(int row, int col, int ifNull = 0) const
    {
        const QStringView v = GetCellView(row, col);
        return v.isEmpty() ? ifNull : Platform::wtoi(v);
    }
    qint64 GetInt64At(int row, int col, qint64 ifNull = 0) const
    {
        const QStringView v = GetCellView(row, col);
        return v.isEmpty() ? ifNull : Platform::wtoi64(v);
    }
    int GetIntOr(QStringView name, int ifNull) const;
    bool GetBool(QStringView name) const;
    bool GetFirstBool() const;
    // 0x00BBGGRR from the columns Red, Green and Blue, each cut to 8 bits.
    quint32 GetColor() const;

private:
    friend class CmyDataBase;
    // Builds the table from the flat result of sqlite3_get_table: the
    // column names first, then the values row by row.
    void Build(char **result, int rows, int columns);
    QStringView CurrentView(int col, bool *present) const;

    int m_rowCount = 0;
    int m_columnCount = 0;
    int m_currentRow = -1;
    QStringList m_columnNames;
    // All values in one buffer: cell k spans [m_offsets[k], m_offsets[k+1]).
    QString m_text;
    std::vector<qsizetype> m_offsets;
};

} // namespace SQLite
