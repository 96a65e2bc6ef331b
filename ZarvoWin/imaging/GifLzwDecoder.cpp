#include "GifLzwDecoder.h"

#include "GifInput.h"
#include "GifRowWriter.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t MaxCodes = 4096;
constexpr uint32_t MaxCodeSize = 12;
}

bool GifLzwDecoder::FillBits(GifInput &in, uint32_t need)
{
    while (m_bitCount < need) {
        if (m_blockLeft == 0) {
            if (m_dataEnded)
                return false;
            const int n = in.GetByte();
            if (n <= 0) {
                m_dataEnded = true;
                m_endOfFile = n < 0;
                return false;
            }
            m_blockLeft = uint32_t(n);
        }
        size_t available = 0;
        const uint8_t *p = in.Peek(available);
        if (!p) {
            m_dataEnded = true;
            m_endOfFile = true;
            return false;
        }
        size_t take = std::min<size_t>(available, m_blockLeft);
        take = std::min<size_t>(take, (64 - m_bitCount) / 8);
        for (size_t i = 0; i < take; ++i) {
            m_bitBuffer |= uint64_t(p[i]) << m_bitCount;
            m_bitCount += 8;
        }
        in.Consume(take);
        m_blockLeft -= uint32_t(take);
    }
    return true;
}

void GifLzwDecoder::SkipToTerminator(GifInput &in)
{
    if (m_dataEnded)
        return;
    if (m_blockLeft > 0 && !in.Skip(m_blockLeft)) {
        m_endOfFile = true;
        return;
    }
    m_blockLeft = 0;
    for (;;) {
        const int n = in.GetByte();
        if (n <= 0) {
            m_endOfFile = n < 0;
            break;
        }
        if (!in.Skip(size_t(n))) {
            m_endOfFile = true;
            break;
        }
    }
    m_dataEnded = true;
}

GifLzwDecoder::Result GifLzwDecoder::Decode(GifInput &in, GifRowWriter *writer)
{
    Result result;
    m_bitBuffer = 0;
    m_bitCount = 0;
    m_blockLeft = 0;
    m_dataEnded = false;
    m_endOfFile = false;

    const int minCodeSize = in.GetByte();
    if (minCodeSize < 0) {
        result.endOfFile = true;
        return result;
    }
    if (minCodeSize < 2 || minCodeSize > 9) {
        SkipToTerminator(in);
        result.endOfFile = m_endOfFile;
        return result;
    }

    const uint32_t clearCode = 1u << minCodeSize;
    const uint32_t endCode = clearCode + 1;
    const uint32_t firstFree = clearCode + 2;
    for (uint32_t i = 0; i < clearCode; ++i) {
        m_prefix[i] = 0;
        m_suffix[i] = uint8_t(i);
        m_first[i] = uint8_t(i);
        m_length[i] = 1;
    }
    uint32_t codeSize = uint32_t(minCodeSize) + 1;
    uint32_t limit = 1u << codeSize;
    uint32_t nextCode = firstFree;
    int32_t previous = -1; // no previous code: at the start and after a clear

    uint8_t *line = writer ? writer->Line() : nullptr;
    const uint32_t width = writer ? writer->Width() : 0;
    uint32_t position = 0;

    for (;;) {
        if (m_bitCount < codeSize && !FillBits(in, codeSize))
            break;
        uint32_t code = uint32_t(m_bitBuffer) & ((1u << codeSize) - 1);
        m_bitBuffer >>= codeSize;
        m_bitCount -= codeSize;

        if (code == clearCode) {
            codeSize = uint32_t(minCodeSize) + 1;
            limit = 1u << codeSize;
            nextCode = firstFree;
            previous = -1;
            continue;
        }
        if (code == endCode)
            break;

        uint32_t emit;
        if (previous < 0) {
            // The first code of a table is a single pixel.
            if (code >= nextCode)
                code = 0;
            emit = code;
            previous = int32_t(code);
        } else if (code < nextCode) {
            emit = code;
            if (nextCode < MaxCodes) {
                m_prefix[nextCode] = uint16_t(previous);
                m_suffix[nextCode] = m_first[code];
                m_first[nextCode] = m_first[previous];
                m_length[nextCode] = uint16_t(m_length[previous] + 1);
                ++nextCode;
            }
            previous = int32_t(code);
        } else {
            // The string not yet in the table: the previous string followed
            // by its own first pixel. A code beyond it is damaged data, read
            // the same way so that decoding goes on within the table.
            if (code > nextCode)
                ++result.invalidCodes;
            // code < 4096 <= nextCode is impossible here, so a slot is free.
            m_prefix[nextCode] = uint16_t(previous);
            m_suffix[nextCode] = m_first[previous];
            m_first[nextCode] = m_first[previous];
            m_length[nextCode] = uint16_t(m_length[previous] + 1);
            emit = nextCode;
            previous = int32_t(nextCode);
            ++nextCode;
        }
        if (nextCode >= limit && codeSize < MaxCodeSize) {
            ++codeSize;
            limit <<= 1;
        }

        if (!line)
            continue;
        uint32_t length = m_length[emit];
        if (width - position >= length) {
            // The whole string fits in the line: write it backwards in place.
            uint8_t *p = line + position + length - 1;
            uint32_t c = emit;
            for (uint32_t k = 1; k < length; ++k) {
                *p-- = m_suffix[c];
                c = m_prefix[c];
            }
            *p = m_suffix[c];
            position += length;
        } else {
            // Unwind onto the stack, then copy across line ends.
            uint8_t *p = m_stack + length - 1;
            uint32_t c = emit;
            for (uint32_t k = 1; k < length; ++k) {
                *p-- = m_suffix[c];
                c = m_prefix[c];
            }
            *p = m_suffix[c];
            const uint8_t *src = m_stack;
            while (length > 0 && line) {
                const uint32_t take = std::min(length, width - position);
                std::memcpy(line + position, src, take);
                position += take;
                src += take;
                length -= take;
                if (position == width) {
                    writer->Commit();
                    line = writer->Line();
                    position = 0;
                }
            }
        }
        if (position == width) {
            writer->Commit();
            line = writer->Line();
            position = 0;
        }
        if (!line && writer->Cancelled()) {
            result.cancelled = true;
            return result;
        }
    }
    if (line && position > 0)
        writer->CommitPartial(position);
    if (writer && writer->Cancelled()) {
        result.cancelled = true;
        return result;
    }
    SkipToTerminator(in);
    result.endOfFile = m_endOfFile;
    return result;
}
