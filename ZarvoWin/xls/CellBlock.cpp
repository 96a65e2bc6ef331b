#include "CellBlock.h"

namespace Biff8 {

CellBlock CellBlock::blank(std::uint16_t row, std::uint16_t column, std::uint16_t xf)
{
    return CellBlock(Kind::Blank, 0x0201, 6, row, column, xf);
}

CellBlock CellBlock::rk(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t rk)
{
    CellBlock c(Kind::RK, 0x027E, 10, row, column, xf);
    c.m_rk = rk;
    return c;
}

CellBlock CellBlock::number(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value)
{
    CellBlock c(Kind::Number, 0x0203, 14, row, column, xf);
    c.m_number = value;
    return c;
}

CellBlock CellBlock::labelSst(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index)
{
    CellBlock c(Kind::LabelSST, 0x00FD, 10, row, column, xf);
    c.m_rk = index;
    return c;
}

CellBlock CellBlock::mulRk(std::uint16_t row, std::uint16_t firstColumn, std::vector<RkCell> cells)
{
    CellBlock c(Kind::MulRK, 0x00BD, 6 + 6 * std::uint32_t(cells.size()), row, firstColumn, 0);
    c.m_cells = std::move(cells);
    return c;
}

void CellBlock::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, m_row);
    ByteSink::put16(p + 2, m_column);
    switch (m_kind) {
    case Kind::Blank:
        ByteSink::put16(p + 4, m_xf);
        break;
    case Kind::RK:
    case Kind::LabelSST:
        ByteSink::put16(p + 4, m_xf);
        ByteSink::put32(p + 6, m_rk);
        break;
    case Kind::Number:
        ByteSink::put16(p + 4, m_xf);
        ByteSink::putDouble(p + 6, m_number);
        break;
    case Kind::MulRK: {
        std::uint8_t *q = p + 4;
        for (const RkCell &c : m_cells) {
            ByteSink::put16(q, c.xfIndex);
            ByteSink::put32(q + 2, c.rk);
            q += 6;
        }
        ByteSink::put16(q, std::uint16_t(m_column + m_cells.size() - 1));
        break;
    }
    }
}

} // namespace Biff8
