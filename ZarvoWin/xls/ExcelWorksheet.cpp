#include "ExcelWorksheet.h"
#include "ExcelFile.h"

namespace Biff8 {

ExcelWorksheet::ExcelWorksheet(ExcelFile *file, int sheetIndex, const ColInfos &columns)
    : m_file(file), m_index(sheetIndex), m_rows(1), m_columns(columns)
{
}

QString ExcelWorksheet::SafeName(const QString &name)
{
    QString safe = name;
    for (QChar &c : safe) {
        switch (c.unicode()) {
        case u'[': case u']': case u':': case u'*': case u'?': case u'/': case u'\\':
            c = u'_';
            break;
        default:
            break;
        }
    }
    if (safe.size() > MaxNameLength) {
        const bool pairCut = safe.at(MaxNameLength - 1).isHighSurrogate();
        safe.truncate(pairCut ? MaxNameLength - 1 : MaxNameLength);
    }
    return safe;
}

bool ExcelWorksheet::Rename(const QString &name)
{
    if (!m_file)
        return false;
    const QString safe = SafeName(name);
    if (safe.isEmpty())
        return false;
    auto &sheets = m_file->Globals().boundSheets;
    for (const BoundSheet &b : sheets)
        if (b.name.isWide() && b.name.wide() == safe)
            return false;
    if (m_index < 0 || std::size_t(m_index) >= sheets.size())
        return false;
    sheets[std::size_t(m_index)].name.setWide(safe);
    return true;
}

ExcelCell *ExcelWorksheet::CellAt(int row, int column)
{
    if (row < 0 || column < 0 || row >= MaxRows || column >= MaxColumns)
        return nullptr;
    if (column >= m_columnCount)
        m_columnCount = column + 1;
    if (row >= m_rowCount) {
        m_rowCount = row + 1;
        m_rows.resize(std::size_t(m_rowCount));
    }
    auto &cells = m_rows[std::size_t(row)];
    if (cells.size() <= std::size_t(column)) {
        // A row is usually filled left to right up to the grid's width.
        if (cells.capacity() < std::size_t(m_columnCount))
            cells.reserve(std::size_t(m_columnCount));
        cells.resize(std::size_t(column) + 1);
    }
    return &cells[std::size_t(column)];
}

const ExcelCell *ExcelWorksheet::cell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= m_rowCount)
        return nullptr;
    const auto &cells = m_rows[std::size_t(row)];
    return std::size_t(column) < cells.size() ? &cells[std::size_t(column)] : nullptr;
}

} // namespace Biff8
