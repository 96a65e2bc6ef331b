#pragma once
// Hand-made GIF streams for the decoder tests: headers, blocks and LZW data
// written code by code.
#include <QByteArray>

#include <cstdint>
#include <utility>
#include <vector>

namespace gifbytes {

// Codes (value, size in bits) packed least significant bit first.
inline QByteArray packCodes(const std::vector<std::pair<uint32_t, int>> &codes)
{
    QByteArray out;
    uint32_t buffer = 0;
    int bits = 0;
    for (const auto &[code, size] : codes) {
        buffer |= code << bits;
        bits += size;
        while (bits >= 8) {
            out.append(char(buffer & 0xFF));
            buffer >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        out.append(char(buffer & 0xFF));
    return out;
}

// Data sub-blocks of at most 255 bytes and the terminator.
inline QByteArray subBlocks(const QByteArray &data, int blockSize = 255)
{
    QByteArray out;
    for (qsizetype i = 0; i < data.size(); i += blockSize) {
        const qsizetype n = std::min<qsizetype>(blockSize, data.size() - i);
        out.append(char(n));
        out.append(data.mid(i, n));
    }
    out.append(char(0));
    return out;
}

// Image data spelling every pixel as its own code, with a clear code often
// enough that the code size never grows: minimum code size byte, sub-blocks.
inline QByteArray literalImageData(const std::vector<uint8_t> &pixels, int minCodeSize, bool endCode = true)
{
    const uint32_t clear = 1u << minCodeSize;
    const int size = minCodeSize + 1;
    const size_t run = size_t(clear) - 2; // codes between clears
    std::vector<std::pair<uint32_t, int>> codes;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % run == 0)
            codes.push_back({clear, size});
        codes.push_back({pixels[i] & (clear - 1), size});
    }
    if (endCode)
        codes.push_back({clear + 1, size});
    QByteArray out(1, char(minCodeSize));
    out.append(subBlocks(packCodes(codes)));
    return out;
}

inline void put16(QByteArray &b, uint32_t v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

// Header with a global colour table of `entries` grey levels (0: none).
inline QByteArray header(uint32_t width, uint32_t height, int entries)
{
    QByteArray b("GIF89a");
    put16(b, width);
    put16(b, height);
    int flag = 0;
    while ((2 << flag) < entries)
        ++flag;
    b.append(char(entries ? 0x80 | flag : 0));
    b.append(char(0)).append(char(0));
    for (int i = 0; i < (entries ? (2 << flag) : 0); ++i) {
        const char v = char(i * 255 / ((2 << flag) - 1));
        b.append(v).append(v).append(v);
    }
    return b;
}

inline QByteArray control(int disposal, int transIndex)
{
    QByteArray b("\x21\xF9\x04", 3);
    b.append(char((disposal << 2) | (transIndex >= 0 ? 1 : 0)));
    put16(b, 0);
    b.append(char(transIndex >= 0 ? transIndex : 0));
    b.append(char(0));
    return b;
}

inline QByteArray descriptor(uint32_t left, uint32_t top, uint32_t width, uint32_t height, uint8_t flags = 0)
{
    QByteArray b(1, ',');
    put16(b, left);
    put16(b, top);
    put16(b, width);
    put16(b, height);
    b.append(char(flags));
    return b;
}

} // namespace gifbytes
