#include "ExcelWorksheet.h"
#include "ExcelFile.h"

#include <algorithm>

namespace Biff8 {

ExcelWorksheet::ExcelWorksheet(ExcelFile *file, int sheetIndex, const ColInfos &columns)
    : m_file(file), m_index(sheetIndex), m_columns(columns)
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
    // Formulas quote sheet names with apostrophes, so readers refuse a name
    // that starts or ends with one.
    if (!safe.isEmpty() && safe.front() == u'\'')
        safe.front() = u'_';
    if (!safe.isEmpty() && safe.back() == u'\'')
        safe.back() = u'_';
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

ExcelWorksheet::GridRow &ExcelWorksheet::rowAt(int row)
{
    // Rows are mostly reached in order: the last one, or a new last one.
    if (m_rows.empty() || m_rows.back().index < row) {
        m_rows.push_back(GridRow{row, {}});
        return m_rows.back();
    }
    if (m_rows.back().index == row)
        return m_rows.back();
    auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                               [](const GridRow &r, int index) { return r.index < index; });
    if (it == m_rows.end() || it->index != row)
        it = m_rows.insert(it, GridRow{row, {}});
    return *it;
}

ExcelCell *ExcelWorksheet::CellAt(int row, int column)
{
    if (row < 0 || column < 0 || row >= MaxRows || column >= MaxColumns)
        return nullptr;
    m_columnCount = std::max(m_columnCount, column + 1);
    m_rowCount = std::max(m_rowCount, row + 1);
    auto &cells = rowAt(row).cells;
    if (cells.size() <= std::size_t(column)) {
        // A row is usually filled left to right up to the grid's width.
        if (cells.capacity() < std::size_t(m_columnCount))
            cells.reserve(std::size_t(m_columnCount));
        const std::size_t from = cells.size();
        cells.resize(std::size_t(column) + 1);
        for (std::size_t c = from; c < cells.size(); ++c) {
            cells[c].m_sheet = this;
            cells[c].m_row = std::uint16_t(row);
            cells[c].m_column = std::uint8_t(c);
        }
    }
    return &cells[std::size_t(column)];
}

const ExcelCell *ExcelWorksheet::cell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= m_rowCount)
        return nullptr;
    auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                               [](const GridRow &r, int index) { return r.index < index; });
    if (it == m_rows.end() || it->index != row)
        return nullptr;
    return std::size_t(column) < it->cells.size() ? &it->cells[std::size_t(column)] : nullptr;
}

std::vector<CellRange> ExcelWorksheet::mergedRanges() const
{
    std::vector<CellRange> out;
    out.reserve(m_merges.size());
    for (const auto &[anchor, range] : m_merges)
        out.push_back(range);
    return out;
}

bool ExcelWorksheet::hasCellFormat(std::uint32_t index) const
{
    return m_file && index < m_file->Globals().xfs.size();
}

bool ExcelWorksheet::recordMerge(int row, int column, int rows, int columns)
{
    const int anchor = row * MaxColumns + column;
    if (rows <= 1 && columns <= 1) {
        m_merges.erase(anchor);
        return true;
    }
    CellRange range;
    range.firstRow = std::uint16_t(row);
    range.lastRow = std::uint16_t(std::min(row + rows - 1, MaxRows - 1));
    range.firstColumn = std::uint16_t(column);
    range.lastColumn = std::uint16_t(std::min(column + columns - 1, MaxColumns - 1));
    for (const auto &[at, other] : m_merges) {
        if (at == anchor)
            continue;
        // Ranges are kept by their first row: none further on can reach
        // this one once their first row is past its last.
        if (other.firstRow > range.lastRow)
            break;
        if (other.firstRow <= range.lastRow && range.firstRow <= other.lastRow
            && other.firstColumn <= range.lastColumn && range.firstColumn <= other.lastColumn)
            return false;
    }
    m_merges[anchor] = range;
    return true;
}

} // namespace Biff8
