#include "StreamReader.h"

#include <cstring>

namespace StreamReader {

std::uint16_t u16(const std::vector<std::uint8_t> &d, std::size_t at)
{
    return std::uint16_t(d.at(at) | (d.at(at + 1) << 8));
}

std::uint32_t u32(const std::vector<std::uint8_t> &d, std::size_t at)
{
    return std::uint32_t(u16(d, at)) | (std::uint32_t(u16(d, at + 2)) << 16);
}

double f64(const std::vector<std::uint8_t> &d, std::size_t at)
{
    const std::uint64_t bits = std::uint64_t(u32(d, at)) | (std::uint64_t(u32(d, at + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

std::vector<Rec> records(const std::vector<std::uint8_t> &bytes, bool *ok)
{
    std::vector<Rec> out;
    std::size_t at = 0;
    bool good = true;
    while (at < bytes.size()) {
        if (at + 4 > bytes.size()) {
            good = false;
            break;
        }
        Rec r;
        r.offset = std::uint32_t(at);
        r.id = u16(bytes, at);
        const std::size_t len = u16(bytes, at + 2);
        if (at + 4 + len > bytes.size()) {
            good = false;
            break;
        }
        r.data.assign(bytes.begin() + long(at + 4), bytes.begin() + long(at + 4 + len));
        out.push_back(std::move(r));
        at += 4 + len;
    }
    if (ok)
        *ok = good;
    return out;
}

Sst readSst(const std::vector<Rec> &recs, std::size_t index)
{
    Sst sst;
    std::vector<const std::vector<std::uint8_t> *> chunks;
    chunks.push_back(&recs.at(index).data);
    for (std::size_t i = index + 1; i < recs.size() && recs[i].id == 0x003C; ++i)
        chunks.push_back(&recs[i].data);
    for (auto *c : chunks)
        sst.chunkSizes.push_back(c->size());
    sst.total = u32(*chunks[0], 0);
    sst.unique = u32(*chunks[0], 4);
    std::size_t chunk = 0, pos = 8;
    for (std::uint32_t n = 0; n < sst.unique; ++n) {
        if (pos == chunks[chunk]->size()) {
            ++chunk;
            pos = 0;
            if (chunk >= chunks.size()) {
                sst.error = QStringLiteral("missing chunk before string %1").arg(n);
                return sst;
            }
        }
        const auto &c = *chunks[chunk];
        if (pos + 3 > c.size()) {
            sst.error = QStringLiteral("header of string %1 cut").arg(n);
            return sst;
        }
        std::size_t count = u16(c, pos);
        bool wide = c[pos + 2] & 1;
        if (c[pos + 2] & ~1) {
            sst.error = QStringLiteral("unexpected flags of string %1").arg(n);
            return sst;
        }
        sst.wide.push_back(wide);
        pos += 3;
        QString text;
        while (count > 0) {
            const auto &cc = *chunks[chunk];
            if (pos == cc.size()) {
                ++chunk;
                if (chunk >= chunks.size()) {
                    sst.error = QStringLiteral("string %1 runs past the end").arg(n);
                    return sst;
                }
                const auto &next = *chunks[chunk];
                if (next.empty() || next[0] > 1) {
                    sst.error = QStringLiteral("continuation of string %1 without flag").arg(n);
                    return sst;
                }
                wide = next[0] == 1;
                pos = 1;
                continue;
            }
            if (wide) {
                if (pos + 2 > cc.size()) {
                    sst.error = QStringLiteral("character of string %1 cut").arg(n);
                    return sst;
                }
                text.append(QChar(u16(cc, pos)));
                pos += 2;
            } else {
                text.append(QChar(cc[pos]));
                pos += 1;
            }
            --count;
        }
        sst.strings.push_back(text);
    }
    if (chunk != chunks.size() - 1 || pos != chunks[chunk]->size())
        sst.error = QStringLiteral("bytes left after the last string");
    return sst;
}

double rk(std::uint32_t value)
{
    double v;
    if (value & 2) {
        v = double(std::int32_t(value) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t(value & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (value & 1) ? v / 100 : v;
}

} // namespace StreamReader
