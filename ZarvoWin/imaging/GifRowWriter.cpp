#include "GifRowWriter.h"

#include <cstdlib>
#include <cstring>

namespace {
// Interlaced passes: first row and step of each.
constexpr uint32_t PassStart[4] = {0, 4, 2, 1};
constexpr uint32_t PassStep[4] = {8, 8, 4, 2};
}

GifRowWriter::GifRowWriter(uint8_t *top, ptrdiff_t stride, uint32_t width, uint32_t height, uint32_t bpp, bool interlaced)
    : m_top(top), m_stride(stride), m_width(width), m_height(height), m_bpp(bpp), m_interlaced(interlaced)
{
    if (!top || width == 0 || height == 0 || (bpp != 1 && bpp != 4 && bpp != 8)) {
        m_done = true;
        return;
    }
    m_step = interlaced ? PassStep[0] : 1;
    if (bpp < 8) {
        m_scratch = static_cast<uint8_t *>(std::calloc(width, 1));
        if (!m_scratch) {
            m_done = true;
            return;
        }
        m_line = m_scratch;
    } else {
        m_line = RowAt(0);
    }
}

GifRowWriter::GifRowWriter(LineSink sink, uint32_t width, uint32_t height, bool interlaced)
    : m_top(nullptr), m_stride(0), m_width(width), m_height(height), m_bpp(8), m_interlaced(interlaced),
      m_sink(std::move(sink))
{
    if (!m_sink || width == 0 || height == 0) {
        m_done = true;
        return;
    }
    m_step = interlaced ? PassStep[0] : 1;
    m_scratch = static_cast<uint8_t *>(std::calloc(width, 1));
    if (!m_scratch) {
        m_done = true;
        return;
    }
    m_line = m_scratch;
}

GifRowWriter::~GifRowWriter()
{
    std::free(m_scratch);
}

void GifRowWriter::Pack(uint8_t *row) const
{
    const uint8_t *in = m_scratch;
    if (m_bpp == 4) {
        uint32_t x = 0;
        for (; x + 1 < m_width; x += 2)
            *row++ = uint8_t(((in[x] & 0x0F) << 4) | (in[x + 1] & 0x0F));
        if (x < m_width)
            *row = uint8_t((in[x] & 0x0F) << 4);
    } else {
        uint32_t x = 0;
        for (; x + 8 <= m_width; x += 8) {
            *row++ = uint8_t(((in[x] & 1) << 7) | ((in[x + 1] & 1) << 6) | ((in[x + 2] & 1) << 5) | ((in[x + 3] & 1) << 4)
                             | ((in[x + 4] & 1) << 3) | ((in[x + 5] & 1) << 2) | ((in[x + 6] & 1) << 1) | (in[x + 7] & 1));
        }
        if (x < m_width) {
            uint8_t b = 0;
            for (int bit = 7; x < m_width; ++x, --bit)
                b |= uint8_t((in[x] & 1) << bit);
            *row = b;
        }
    }
}

void GifRowWriter::Advance()
{
    ++m_written;
    if (m_cancelRequest && *m_cancelRequest != 0) {
        m_cancelled = true;
        m_done = true;
        return;
    }
    if (m_written >= m_lineLimit) {
        m_done = true;
        return;
    }
    m_row += m_step;
    if (m_interlaced) {
        // A pass that would start at or below the height is skipped, so a
        // short interlaced image never writes outside its rows.
        while (m_row >= m_height) {
            if (++m_pass >= 4) {
                m_done = true;
                return;
            }
            m_row = PassStart[m_pass];
            m_step = PassStep[m_pass];
        }
    } else if (m_row >= m_height) {
        m_done = true;
        return;
    }
    if (m_bpp == 8 && !m_sink)
        m_line = RowAt(m_row);
}

bool GifRowWriter::Commit()
{
    if (m_done)
        return false;
    if (m_sink)
        m_sink(m_row, m_scratch);
    else if (m_bpp < 8)
        Pack(RowAt(m_row));
    Advance();
    return !m_done;
}

void GifRowWriter::CommitPartial(uint32_t n)
{
    if (m_done || n == 0)
        return;
    if (n > m_width)
        n = m_width;
    std::memset(m_line + n, 0, m_width - n);
    Commit();
}
