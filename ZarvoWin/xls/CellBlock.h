#pragma once
#include "FormulaData.h"
#include "Record.h"

#include <memory>

#include <vector>

namespace Biff8 {

// One cell record of a row block: Blank, RK, MulRK (a run of RK values in
// one row), Number, LabelSST, BoolErr (an error value) or Formula (with the
// records that follow a formula). The kind decides the identifier and size.
class CellBlock : public Record
{
public:
    enum class Kind : std::uint8_t { Blank, RK, MulRK, Number, LabelSST, BoolErr, Formula };
    // Error value of a number no reader can show (not finite).
    static constexpr std::uint8_t ErrorNum = 0x24;
    struct RkCell
    {
        std::uint16_t xfIndex;
        std::uint32_t rk;
    };

    static CellBlock blank(std::uint16_t row, std::uint16_t column, std::uint16_t xf);
    static CellBlock rk(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t rk);
    static CellBlock number(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value);
    static CellBlock labelSst(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index);
    static CellBlock error(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint8_t code);
    static CellBlock mulRk(std::uint16_t row, std::uint16_t firstColumn, std::vector<RkCell> cells);
    static CellBlock formula(std::uint16_t row, std::uint16_t column, std::uint16_t xf,
                             std::shared_ptr<const FormulaData> data);

    Kind kind() const { return m_kind; }
    std::uint16_t row() const { return m_row; }
    std::uint16_t column() const { return m_column; }
    std::uint16_t xfIndex() const { return m_xf; }
    std::uint32_t rkValue() const { return std::uint32_t(m_value); }
    std::uint32_t sstIndex() const { return std::uint32_t(m_value); }
    std::uint8_t errorCode() const { return std::uint8_t(m_value); }
    double numberValue() const;
    const std::vector<RkCell> &rkCells() const;

    std::uint32_t DataSize() override { return m_dataSize; }
    std::uint32_t RecordSize() override;
    std::uint32_t Write(Buffer &out) override;

protected:
    void storeData(std::uint8_t *p) override;

private:
    CellBlock(Kind kind, std::uint16_t id, std::uint32_t size, std::uint16_t row, std::uint16_t column, std::uint16_t xf)
        : Record(id, size), m_kind(kind), m_row(row), m_column(column), m_xf(xf) {}

    const FormulaData &formulaData() const { return *static_cast<const FormulaData *>(m_extra.get()); }

    // Kept small: a sheet holds one of these per cell or run.
    Kind m_kind;
    std::uint16_t m_row, m_column, m_xf;
    std::uint64_t m_value = 0; // RK value, string index or the bits of a double
    // The RK cells of a MulRK (a std::vector<RkCell>) or a formula's data.
    std::shared_ptr<const void> m_extra;
};

} // namespace Biff8
