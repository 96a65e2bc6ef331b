#pragma once
#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace Biff8 {

// What a formula cell holds, shared by the cells of one formula: the cached
// result as stored (a double, or a typed result whose last two bytes are
// 0xFFFF), the options, the formula's bytes (token length and tokens), an
// attached record (array, shared formula or table) and the string result.
struct FormulaData
{
    // A string result longer than this is cut so that it fits one record.
    static constexpr int MaxStringResult = 4110;

    std::array<std::uint8_t, 8> cachedResult{};
    std::uint16_t options = 0;
    QByteArray formula;
    // 0x0221 array, 0x00BC or 0x04BC shared formula, 0x0036 table; 0 for none.
    std::uint16_t attachedId = 0;
    QByteArray attachedData;
    bool hasStringResult = false;
    QString stringResult;
};

} // namespace Biff8
