#include "RkValue.h"

#include <cmath>
#include <cstring>

namespace Biff8 {

namespace {

std::uint64_t bitsOf(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, 8);
    return b;
}

// Product modulo 2^32, as the 32-bit arithmetic of the format has it.
std::uint32_t times(std::int32_t a, std::uint32_t b)
{
    return std::uint32_t(a) * b;
}

} // namespace

std::int32_t RkValue::truncate(double x)
{
    if (!(x > -2147483649.0 && x < 2147483648.0))
        return INT32_MIN;
    return std::int32_t(x);
}

bool RkValue::fromInteger(std::int32_t value, std::uint32_t &rk)
{
    if (value < MinInteger || value > MaxInteger)
        return false;
    rk = (std::uint32_t(value) << 2) | 2u;
    return true;
}

bool RkValue::fromDouble(double x, std::uint32_t &rk)
{
    // Only values with at most two decimals are tried at all.
    if (times(truncate(x * 100), 100) != std::uint32_t(truncate(x * 10000)))
        return false;
    double v = x;
    std::uint32_t divided = 0;
    if (times(truncate(x), 100) != std::uint32_t(truncate(x * 100))) {
        v = x * 100;
        divided = 1;
    }
    const std::uint64_t bits = bitsOf(v);
    if (bits & ((std::uint64_t(1) << 34) - 1))
        return false;
    const std::uint32_t candidate = (std::uint32_t(bits >> 32) & 0xFFFFFFFCu) | divided;
    // The reader divides by 100 again: keep the form only when that gives x back.
    if (bitsOf(decode(candidate)) != bitsOf(x))
        return false;
    rk = candidate;
    return true;
}

double RkValue::decode(std::uint32_t rk)
{
    double v;
    if (rk & 2u) {
        // Arithmetic shift of the signed 30-bit integer.
        const std::int32_t i = std::int32_t(rk & 0xFFFFFFFCu) / 4;
        v = i;
    } else {
        const std::uint64_t bits = std::uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 1u) ? v / 100 : v;
}

} // namespace Biff8
