#include "GifBytes.h"

#include "CPicMemFile.h"
#include "GifInput.h"
#include "GifLzwDecoder.h"
#include "GifRowWriter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace gifbytes;

namespace {

// A top-down 8-bit surface with guard bytes around it, to see every write.
struct Surface
{
    static constexpr size_t Guard = 64;
    Surface(uint32_t w, uint32_t h, uint32_t bpp)
        : width(w), height(h), stride(((w * bpp + 31) / 32) * 4), bytes(Guard * 2 + stride * h, 0xAB)
    {
        std::fill(bytes.begin() + Guard, bytes.end() - Guard, 0);
    }
    uint8_t *top() { return bytes.data() + Guard; }
    uint8_t at(uint32_t x, uint32_t y) const { return bytes[Guard + y * stride + x]; }
    bool guardsIntact() const
    {
        for (size_t i = 0; i < Guard; ++i)
            if (bytes[i] != 0xAB || bytes[bytes.size() - 1 - i] != 0xAB)
                return false;
        return true;
    }
    uint32_t width, height, stride;
    std::vector<uint8_t> bytes;
};

struct Decoded
{
    GifLzwDecoder::Result result;
    std::vector<uint8_t> pixels; // width x height, top row first
    int64_t positionAfter = 0;
    bool guardsIntact = true;
};

// Decodes the data into a w x h surface; unless the file ends right after
// the data, a trailer follows it.
Decoded decode(const QByteArray &data, uint32_t w, uint32_t h, bool fileEndsAfterData = false)
{
    std::vector<uint8_t> bytes(data.begin(), data.end());
    if (!fileEndsAfterData)
        bytes.push_back(';');
    CPicMemFile file(bytes.data(), bytes.size());
    GifInput in(file);
    Surface s(w, h, 8);
    GifRowWriter writer(s.top(), s.stride, w, h, 8, false);
    auto lzw = std::make_unique<GifLzwDecoder>();
    Decoded d;
    d.result = lzw->Decode(in, &writer);
    d.positionAfter = in.Tell();
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            d.pixels.push_back(s.at(x, y));
    d.guardsIntact = s.guardsIntact();
    return d;
}

std::vector<uint8_t> pattern(size_t n, int modulo)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t((i * 7 + i / 5) % size_t(modulo));
    return v;
}

} // namespace

TEST(GifLzwDecoder, LiteralCodesAtEveryMinimumCodeSize)
{
    for (int s = 2; s <= 8; ++s) {
        SCOPED_TRACE(s);
        const auto px = pattern(23 * 7, 1 << s);
        const QByteArray data = literalImageData(px, s);
        const Decoded d = decode(data, 23, 7);
        EXPECT_EQ(d.pixels, px);
        EXPECT_EQ(d.result.invalidCodes, 0u);
        EXPECT_FALSE(d.result.endOfFile);
        EXPECT_EQ(d.positionAfter, data.size()); // just after the terminator
    }
}

TEST(GifLzwDecoder, RepeatedStringsAndTheCodeNotYetInTheTable)
{
    // Minimum code size 2: clear 4, end 5, first free 6.
    // 1 -> "1"; 6 (not yet in the table: "1"+"1") -> "11", adds 6 = "11";
    // 7 (not yet: "11"+"1") -> "111", adds 7, and the table reaches 8 codes:
    // 4 bits from here; 2 -> "2", adds 8 = "1112"; 8 -> "1112".
    const QByteArray data = QByteArray(1, char(2))
                            + subBlocks(packCodes({{4, 3}, {1, 3}, {6, 3}, {7, 3}, {2, 4}, {8, 4}, {5, 4}}));
    const Decoded d = decode(data, 11, 1);
    EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 2}));
    EXPECT_EQ(d.result.invalidCodes, 0u);
}

TEST(GifLzwDecoder, StringsLongerThanTheLineWrapToTheNextRows)
{
    // A run of one colour builds ever longer strings; with a width of 3 most
    // of them cross line ends.
    std::vector<uint8_t> px(3 * 40, 2);
    // Encode as the growing strings 1, 2, 3... pixels long.
    std::vector<std::pair<uint32_t, int>> codes{{4, 3}, {2, 3}};
    uint32_t next = 6, size = 3, done = 1, length = 2;
    while (done + length <= px.size()) {
        codes.push_back({next, int(size)});
        done += length;
        ++length;
        ++next;
        if (next >= (1u << size) && size < 12)
            ++size;
    }
    px.resize(done);
    codes.push_back({5, int(size)});
    const Decoded d = decode(QByteArray(1, char(2)) + subBlocks(packCodes(codes)), 3, uint32_t((done + 2) / 3));
    for (size_t i = 0; i < done; ++i)
        ASSERT_EQ(d.pixels[i], 2) << i;
    EXPECT_TRUE(d.guardsIntact);
}

TEST(GifLzwDecoder, MinimumCodeSizeOutsideTwoToNineDecodesNothing)
{
    for (int s : {0, 1, 10, 11, 255}) {
        SCOPED_TRACE(s);
        QByteArray data = literalImageData(pattern(16, 4), 2);
        data[0] = char(s);
        const Decoded d = decode(data, 4, 4);
        EXPECT_EQ(d.pixels, std::vector<uint8_t>(16, 0));
        EXPECT_EQ(d.positionAfter, data.size());
    }
}

TEST(GifLzwDecoder, DamagedDataStaysWithinTheTables)
{
    // Codes beyond the next free code are counted and read as a repeat.
    const QByteArray data = QByteArray(1, char(2)) + subBlocks(packCodes({{4, 3}, {1, 3}, {7, 3}, {7, 3}, {5, 3}}));
    const Decoded d = decode(data, 8, 2);
    EXPECT_EQ(d.result.invalidCodes, 1u);
    EXPECT_TRUE(d.guardsIntact);

    // The first code after a clear beyond the table reads as index 0.
    const Decoded e = decode(QByteArray(1, char(2)) + subBlocks(packCodes({{4, 3}, {7, 3}, {5, 3}})), 4, 1);
    EXPECT_EQ(e.pixels, (std::vector<uint8_t>{0, 0, 0, 0}));

    // Random bytes: whatever comes out, nothing is written outside the rows.
    uint32_t seed = 12345;
    for (int round = 0; round < 200; ++round) {
        QByteArray junk(1, char(2 + round % 8));
        QByteArray body;
        for (int i = 0; i < 600; ++i) {
            seed = seed * 1103515245 + 12345;
            body.append(char(seed >> 16));
        }
        junk.append(subBlocks(body, 1 + round % 255));
        const Decoded r = decode(junk, 7, 5);
        ASSERT_TRUE(r.guardsIntact) << round;
    }
}

TEST(GifLzwDecoder, DataEndingEarlyLeavesTheRestAtZero)
{
    const auto px = pattern(40, 4);
    // No end code, and the file ends inside the data.
    QByteArray data = literalImageData(px, 2, false);
    const Decoded whole = decode(data, 8, 5);
    EXPECT_EQ(whole.pixels, px);
    data.chop(6);
    const Decoded cut = decode(data, 8, 5, true);
    EXPECT_TRUE(cut.result.endOfFile);
    EXPECT_EQ(cut.pixels[4 * 8 + 7], 0);
    EXPECT_EQ(cut.pixels[0], px[0]);
    EXPECT_TRUE(cut.guardsIntact);
}

TEST(GifLzwDecoder, LastCodeEndingOnAByteBoundary)
{
    // Minimum code size 8: a clear code and the pixels 1 to 7, eight codes of
    // 9 bits, exactly 9 bytes and no end code. The last code must still be
    // read, whether the file ends right after the data or the data's
    // terminator follows; only the first is the file ending inside the data.
    std::vector<std::pair<uint32_t, int>> codes{{256, 9}};
    for (uint32_t p = 1; p <= 7; ++p)
        codes.push_back({p, 9});
    const QByteArray packed = packCodes(codes);
    ASSERT_EQ(packed.size(), 9);
    const struct { const char *what; QByteArray data; bool endOfFile; } cases[] = {
        {"file ends after the data", QByteArray(1, char(8)) + QByteArray(1, char(9)) + packed, true},
        {"terminator after the data", QByteArray(1, char(8)) + subBlocks(packed), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded d = decode(c.data, 7, 1, c.endOfFile);
        EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7}));
        EXPECT_EQ(d.result.endOfFile, c.endOfFile);
        EXPECT_EQ(d.result.invalidCodes, 0u);
    }
}

TEST(GifLzwDecoder, TableFullWithoutAClearKeepsDecoding)
{
    // An encoder may keep sending 12-bit codes once the table is full,
    // without a clear code. Fill the table with strings of "1"s, then send
    // plain codes.
    std::vector<std::pair<uint32_t, int>> codes{{4, 3}, {1, 3}};
    uint32_t next = 6, size = 3;
    std::vector<uint8_t> expect{1};
    while (next < 4096) {
        codes.push_back({0, int(size)}); // adds a new entry each time
        expect.push_back(0);
        ++next;
        if (next >= (1u << size) && size < 12)
            ++size;
    }
    for (uint32_t c : {3u, 2u, 1u, 0u}) {
        codes.push_back({c, 12});
        expect.push_back(uint8_t(c));
    }
    codes.push_back({5, 12});
    const uint32_t w = uint32_t(expect.size());
    const Decoded d = decode(QByteArray(1, char(2)) + subBlocks(packCodes(codes)), w, 1);
    EXPECT_EQ(d.pixels, expect);
    EXPECT_EQ(d.result.invalidCodes, 0u);
}

TEST(GifLzwDecoder, WithoutAWriterOnlyReadsTheData)
{
    const QByteArray data = literalImageData(pattern(100, 16), 4);
    std::vector<uint8_t> bytes(data.begin(), data.end());
    CPicMemFile file(bytes.data(), bytes.size());
    GifInput in(file);
    GifLzwDecoder lzw;
    const auto r = lzw.Decode(in, nullptr);
    EXPECT_EQ(r.invalidCodes, 0u);
    EXPECT_EQ(in.Tell(), data.size());
}

TEST(GifInput, ReadingWorkCountsWhatIsReadAgainAndEndsAtTheLimit)
{
    std::vector<uint8_t> bytes(100);
    std::iota(bytes.begin(), bytes.end(), uint8_t(0));
    CPicMemFile file(bytes.data(), bytes.size());
    GifInput in(file);
    in.LimitWork(250);
    uint8_t buffer[100];
    EXPECT_EQ(in.Read(buffer, 60), 60u);
    ASSERT_TRUE(in.Seek(10)); // the 50 bytes from 10 on will count again
    EXPECT_EQ(in.Read(buffer, 90), 90u);
    EXPECT_EQ(in.WorkDone(), 150u);
    ASSERT_TRUE(in.Seek(0));
    EXPECT_EQ(in.Read(buffer, 100), 100u);
    EXPECT_EQ(in.WorkDone(), 250u);
    ASSERT_TRUE(in.Seek(0));
    EXPECT_EQ(in.GetByte(), 0);
    EXPECT_FALSE(in.WorkLimitReached());
    // Past the limit the input ends, buffered bytes or not, until it starts over.
    EXPECT_FALSE(in.Seek(1));
    EXPECT_TRUE(in.WorkLimitReached());
    EXPECT_EQ(in.GetByte(), -1);
    ASSERT_TRUE(in.StartOver(40));
    EXPECT_EQ(in.WorkDone(), 0u);
    EXPECT_EQ(in.GetByte(), 40);
    EXPECT_EQ(in.Tell(), 41);
}

TEST(GifRowWriter, InterlacedRowsInTheirPassesAndNeverBeyondTheHeight)
{
    for (uint32_t h = 1; h <= 20; ++h) {
        SCOPED_TRACE(h);
        Surface s(1, h, 8);
        GifRowWriter writer(s.top(), s.stride, 1, h, 8, true);
        // Line k of the stream carries the value k + 1.
        std::vector<uint32_t> order;
        for (uint32_t k = 0; k < h + 5; ++k) {
            uint8_t *line = writer.Line();
            if (!line)
                break;
            line[0] = uint8_t(k + 1);
            writer.Commit();
        }
        EXPECT_TRUE(writer.Done());
        EXPECT_EQ(writer.RowsWritten(), h);
        // Expected: passes from rows 0, 4, 2, 1 with steps 8, 8, 4, 2.
        std::vector<uint32_t> rows;
        for (auto [start, step] : {std::pair{0u, 8u}, {4u, 8u}, {2u, 4u}, {1u, 2u}})
            for (uint32_t r = start; r < h; r += step)
                rows.push_back(r);
        ASSERT_EQ(rows.size(), h);
        for (uint32_t k = 0; k < h; ++k)
            EXPECT_EQ(s.at(0, rows[k]), k + 1) << "row " << rows[k];

        // Handed to a sink instead, the lines come with those rows, and a
        // limit of lines ends the image early.
        std::vector<uint32_t> sunk;
        GifRowWriter sink([&](uint32_t row, const uint8_t *indices) { sunk.push_back(row * 100 + indices[0]); }, 1, h,
                          true);
        sink.LimitLines((h + 1) / 2);
        for (uint32_t k = 0; sink.Line(); ++k) {
            sink.Line()[0] = uint8_t(k + 1);
            sink.Commit();
        }
        ASSERT_EQ(sunk.size(), (h + 1) / 2);
        for (uint32_t k = 0; k < sunk.size(); ++k)
            EXPECT_EQ(sunk[k], rows[k] * 100 + k + 1);
        EXPECT_TRUE(s.guardsIntact());
    }
}

TEST(GifRowWriter, PacksOneAndFourBitsMaskingIndicesAboveTheDepth)
{
    // 1 bit: an index of 3 keeps only its low bit, neighbours untouched.
    std::vector<uint8_t> row1(4, 0);
    GifRowWriter w1(row1.data(), 4, 11, 1, 1, false);
    const uint8_t in1[11] = {1, 0, 3, 2, 1, 1, 0, 0, 255, 0, 1};
    std::copy(in1, in1 + 11, w1.Line());
    w1.Commit();
    EXPECT_EQ(row1[0], 0xAC); // 1010 1100
    EXPECT_EQ(row1[1], 0xA0); // 1010 0000
    EXPECT_EQ(row1[2], 0);

    std::vector<uint8_t> row4(4, 0);
    GifRowWriter w4(row4.data(), 4, 5, 1, 4, false);
    const uint8_t in4[5] = {1, 0x2F, 0xA3, 4, 0xFF};
    std::copy(in4, in4 + 5, w4.Line());
    w4.Commit();
    EXPECT_EQ(row4[0], 0x1F);
    EXPECT_EQ(row4[1], 0x34);
    EXPECT_EQ(row4[2], 0xF0);
    EXPECT_EQ(row4[3], 0);
}

TEST(GifRowWriter, CancelRequestStopsAfterTheLine)
{
    Surface s(2, 4, 8);
    GifRowWriter writer(s.top(), s.stride, 2, 4, 8, false);
    int32_t request = 0;
    writer.WatchCancelRequest(&request);
    writer.Line()[0] = 9;
    EXPECT_TRUE(writer.Commit());
    request = 1;
    writer.Line()[0] = 8;
    EXPECT_FALSE(writer.Commit());
    EXPECT_TRUE(writer.Cancelled());
    EXPECT_EQ(writer.Line(), nullptr);
}

TEST(GifRowWriter, ZeroSizeWritesNothing)
{
    uint8_t byte = 0x55;
    GifRowWriter a(&byte, 4, 0, 3, 8, false);
    EXPECT_EQ(a.Line(), nullptr);
    GifRowWriter b(&byte, 4, 3, 0, 8, true);
    EXPECT_EQ(b.Line(), nullptr);
    EXPECT_FALSE(b.Commit());
    EXPECT_EQ(byte, 0x55);
}
