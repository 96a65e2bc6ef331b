#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace Biff8 {

using Buffer = std::vector<std::uint8_t>;

// Little-endian stores into a byte area. Every multi-byte value of the
// workbook stream is little-endian whatever the machine.
class ByteSink
{
public:
    static void put8(std::uint8_t *p, std::uint8_t v) { p[0] = v; }
    static void put16(std::uint8_t *p, std::uint16_t v)
    {
        p[0] = std::uint8_t(v);
        p[1] = std::uint8_t(v >> 8);
    }
    static void put32(std::uint8_t *p, std::uint32_t v)
    {
        p[0] = std::uint8_t(v);
        p[1] = std::uint8_t(v >> 8);
        p[2] = std::uint8_t(v >> 16);
        p[3] = std::uint8_t(v >> 24);
    }
    static void putDouble(std::uint8_t *p, double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        put32(p, std::uint32_t(bits));
        put32(p + 4, std::uint32_t(bits >> 32));
    }
    // Grows the buffer by n bytes and returns where they start.
    static std::uint8_t *grow(Buffer &out, std::size_t n)
    {
        const std::size_t at = out.size();
        out.resize(at + n);
        return out.data() + at;
    }
};

} // namespace Biff8
