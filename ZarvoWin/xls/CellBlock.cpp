#include "CellBlock.h"
#include "LongString.h"

namespace Biff8 {

CellBlock CellBlock::blank(std::uint16_t row, std::uint16_t column, std::uint16_t xf)
{
    return CellBlock(Kind::Blank, 0x0201, 6, row, column, xf);
}

CellBlock CellBlock::rk(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t rk)
{
    CellBlock c(Kind::RK, 0x027E, 10, row, column, xf);
    c.m_value = rk;
    return c;
}

CellBlock CellBlock::number(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value)
{
    CellBlock c(Kind::Number, 0x0203, 14, row, column, xf);
    std::memcpy(&c.m_value, &value, 8);
    return c;
}

CellBlock CellBlock::labelSst(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index)
{
    CellBlock c(Kind::LabelSST, 0x00FD, 10, row, column, xf);
    c.m_value = index;
    return c;
}

CellBlock CellBlock::error(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint8_t code)
{
    CellBlock c(Kind::BoolErr, 0x0205, 8, row, column, xf);
    c.m_value = code;
    return c;
}

CellBlock CellBlock::mulRk(std::uint16_t row, std::uint16_t firstColumn, std::vector<RkCell> cells)
{
    CellBlock c(Kind::MulRK, 0x00BD, 6 + 6 * std::uint32_t(cells.size()), row, firstColumn, 0);
    c.m_extra = std::make_shared<const std::vector<RkCell>>(std::move(cells));
    return c;
}

double CellBlock::numberValue() const
{
    double v;
    std::memcpy(&v, &m_value, 8);
    return v;
}

const std::vector<CellBlock::RkCell> &CellBlock::rkCells() const
{
    static const std::vector<RkCell> none;
    return m_kind == Kind::MulRK ? *static_cast<const std::vector<RkCell> *>(m_extra.get()) : none;
}

CellBlock CellBlock::formula(std::uint16_t row, std::uint16_t column, std::uint16_t xf,
                             std::shared_ptr<const FormulaData> data)
{
    const auto size = 20 + std::uint32_t(data->formula.size());
    CellBlock c(Kind::Formula, 0x0006, size, row, column, xf);
    c.m_extra = std::move(data);
    return c;
}

namespace {

LongString stringResultOf(const FormulaData &f)
{
    QString text = f.stringResult.left(FormulaData::MaxStringResult);
    if (text.size() < f.stringResult.size() && !text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return LongString(text);
}

} // namespace

std::uint32_t CellBlock::RecordSize()
{
    std::uint32_t size = m_dataSize + 4;
    if (m_kind == Kind::Formula) {
        if (formulaData().attachedId)
            size += 4 + std::uint32_t(formulaData().attachedData.size());
        if (formulaData().hasStringResult)
            size += 4 + stringResultOf(formulaData()).size();
    }
    return size;
}

std::uint32_t CellBlock::Write(Buffer &out)
{
    std::uint32_t n = Record::Write(out);
    if (m_kind != Kind::Formula)
        return n;
    if (formulaData().attachedId) {
        const auto size = std::uint32_t(formulaData().attachedData.size());
        std::uint8_t *p = ByteSink::grow(out, 4 + std::size_t(size));
        ByteSink::put16(p, formulaData().attachedId);
        ByteSink::put16(p + 2, std::uint16_t(size));
        std::memcpy(p + 4, formulaData().attachedData.constData(), size);
        n += 4 + size;
    }
    if (formulaData().hasStringResult) {
        const LongString text = stringResultOf(formulaData());
        std::uint8_t *p = ByteSink::grow(out, 4 + std::size_t(text.size()));
        ByteSink::put16(p, 0x0207);
        ByteSink::put16(p + 2, std::uint16_t(text.size()));
        text.store(p + 4);
        n += 4 + text.size();
    }
    return n;
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
        ByteSink::put32(p + 6, std::uint32_t(m_value));
        break;
    case Kind::Number:
        ByteSink::put16(p + 4, m_xf);
        ByteSink::putDouble(p + 6, numberValue());
        break;
    case Kind::BoolErr:
        ByteSink::put16(p + 4, m_xf);
        p[6] = errorCode();
        p[7] = 1; // an error, not a boolean
        break;
    case Kind::MulRK: {
        std::uint8_t *q = p + 4;
        const std::vector<RkCell> &cells = rkCells();
        for (const RkCell &c : cells) {
            ByteSink::put16(q, c.xfIndex);
            ByteSink::put32(q + 2, c.rk);
            q += 6;
        }
        ByteSink::put16(q, std::uint16_t(m_column + cells.size() - 1));
        break;
    }
    case Kind::Formula:
        ByteSink::put16(p + 4, m_xf);
        std::memcpy(p + 6, formulaData().cachedResult.data(), 8);
        ByteSink::put16(p + 14, formulaData().options);
        ByteSink::put32(p + 16, 0);
        std::memcpy(p + 20, formulaData().formula.constData(), std::size_t(formulaData().formula.size()));
        break;
    }
}

} // namespace Biff8
