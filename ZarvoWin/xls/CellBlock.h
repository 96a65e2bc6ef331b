#pragma once
#include "Record.h"

#include <vector>

namespace Biff8 {

// One cell record of a row block: Blank, RK, MulRK (a run of RK values in
// one row), Number or LabelSST. The kind decides the identifier and size.
class CellBlock : public Record
{
public:
    enum class Kind : std::uint8_t { Blank, RK, MulRK, Number, LabelSST };
    struct RkCell
    {
        std::uint16_t xfIndex;
        std::uint32_t rk;
    };

    static CellBlock blank(std::uint16_t row, std::uint16_t column, std::uint16_t xf);
    static CellBlock rk(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t rk);
    static CellBlock number(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value);
    static CellBlock labelSst(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index);
    static CellBlock mulRk(std::uint16_t row, std::uint16_t firstColumn, std::vector<RkCell> cells);

    Kind kind() const { return m_kind; }
    std::uint16_t row() const { return m_row; }
    std::uint16_t column() const { return m_column; }
    std::uint16_t xfIndex() const { return m_xf; }
    std::uint32_t rkValue() const { return m_rk; }
    std::uint32_t sstIndex() const { return m_rk; }
    double numberValue() const { return m_number; }
    const std::vector<RkCell> &rkCells() const { return m_cells; }

    std::uint32_t DataSize() override { return m_dataSize; }
    std::uint32_t RecordSize() override { return m_dataSize + 4; }

protected:
    void storeData(std::uint8_t *p) override;

private:
    CellBlock(Kind kind, std::uint16_t id, std::uint32_t size, std::uint16_t row, std::uint16_t column, std::uint16_t xf)
        : Record(id, size), m_kind(kind), m_row(row), m_column(column), m_xf(xf) {}

    Kind m_kind;
    std::uint16_t m_row, m_column, m_xf;
    std::uint32_t m_rk = 0; // RK value or string index
    double m_number = 0;
    std::vector<RkCell> m_cells;
};

} // namespace Biff8
