#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

// Places the decoded lines of a GIF image into its rows: one byte per pixel
// in, packed to 1, 4 or 8 bits per pixel out (leftmost pixel in the high
// bits), top row first, in the four passes of an interlaced image. No write
// ever falls outside the rows it was given: lines past the last row are
// dropped, and every pass of an interlaced image starts only below the height.
class GifRowWriter
{
public:
    // top: the first byte of the top row; stride: bytes from one row to the
    // next one down (negative for pictures stored bottom row first).
    GifRowWriter(uint8_t *top, ptrdiff_t stride, uint32_t width, uint32_t height, uint32_t bpp, bool interlaced);
    // Hands each line (one index byte per pixel) and the row it belongs to
    // (0 the top one) to `sink` instead of storing it, for an image that is
    // painted elsewhere line by line.
    using LineSink = std::function<void(uint32_t row, const uint8_t *indices)>;
    GifRowWriter(LineSink sink, uint32_t width, uint32_t height, bool interlaced);
    GifRowWriter(const GifRowWriter &) = delete;
    GifRowWriter &operator=(const GifRowWriter &) = delete;
    ~GifRowWriter();

    // Checked after each line: writing stops as soon as it is not zero.
    void WatchCancelRequest(const int32_t *request) { m_cancelRequest = request; }
    // Writing stops after this many lines, as if the image ended there.
    void LimitLines(uint32_t lines) { m_lineLimit = lines; }

    uint32_t Width() const { return m_width; }
    // Where the next line's indices go (Width() bytes), null once every row is
    // written or the writing was cancelled.
    uint8_t *Line() const { return m_done ? nullptr : m_line; }
    // Writes the line and moves to the next row; false when no row is left.
    bool Commit();
    // Writes the first n indices of the line (the rest keeps index 0).
    void CommitPartial(uint32_t n);

    bool Done() const { return m_done; }
    bool Cancelled() const { return m_cancelled; }
    // Rows written so far.
    uint32_t RowsWritten() const { return m_written; }

private:
    uint8_t *RowAt(uint32_t row) const { return m_top + ptrdiff_t(row) * m_stride; }
    void Advance();
    void Pack(uint8_t *row) const;

    uint8_t *m_top;
    ptrdiff_t m_stride;
    uint32_t m_width;
    uint32_t m_height;
    uint32_t m_bpp;
    bool m_interlaced;
    uint32_t m_row = 0;
    uint32_t m_step = 1;
    int m_pass = 0;
    uint32_t m_written = 0;
    bool m_done = false;
    bool m_cancelled = false;
    const int32_t *m_cancelRequest = nullptr;
    uint32_t m_lineLimit = UINT32_MAX;
    LineSink m_sink;
    uint8_t *m_scratch = nullptr; // one byte per pixel, for packed depths
    uint8_t *m_line = nullptr;    // the current row itself at 8 bits
};
