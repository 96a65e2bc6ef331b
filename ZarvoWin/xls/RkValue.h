#pragma once
#include <cstdint>

namespace Biff8 {

// The 30-bit RK form of a cell number: either a signed integer (bit 1 set)
// or the upper bits of a double (bit 1 clear); bit 0 divides by 100.
class RkValue
{
public:
    static constexpr std::int32_t MinInteger = -(1 << 29);
    static constexpr std::int32_t MaxInteger = (1 << 29) - 1;

    // Conversion toward zero to a signed 32-bit integer; a value outside
    // that range (or not a number) gives -2147483648.
    static std::int32_t truncate(double x);
    // Integer RK form; false when the integer has none.
    static bool fromInteger(std::int32_t value, std::uint32_t &rk);
    // Double RK form; false unless the RK value decodes back to exactly x.
    static bool fromDouble(double x, std::uint32_t &rk);
    static double decode(std::uint32_t rk);
};

} // namespace Biff8
