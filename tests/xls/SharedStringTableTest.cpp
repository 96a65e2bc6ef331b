#include "SharedStringTable.h"
#include "StreamReader.h"

#include <gtest/gtest.h>

using namespace Biff8;
using Bytes = std::vector<std::uint8_t>;

namespace {

LongString narrow(const QString &s)
{
    LongString l;
    l.setNarrow(s.toLatin1());
    return l;
}

struct Written
{
    Bytes bytes;
    StreamReader::Sst sst;
};

Written writeAndRead(SharedStringTable &table)
{
    Written w;
    const std::uint32_t n = table.Write(w.bytes);
    EXPECT_EQ(n, w.bytes.size());
    EXPECT_EQ(table.RecordSize(), w.bytes.size());
    bool ok = false;
    const auto recs = StreamReader::records(w.bytes, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(recs.size(), table.splitPoints().size() + 1);
    w.sst = StreamReader::readSst(recs, 0);
    EXPECT_EQ(w.sst.error, QString());
    for (std::size_t size : w.sst.chunkSizes)
        EXPECT_LE(size, 8224u);
    return w;
}

// A filler that leaves `left` bytes in the first chunk.
LongString fillerLeaving(std::uint32_t left)
{
    return narrow(QString(int(8224 - 8 - 3 - left), u'f'));
}

} // namespace

TEST(SharedStringTable, EmptyTableIsEightBytes)
{
    SharedStringTable t;
    Written w = writeAndRead(t);
    EXPECT_EQ(w.bytes, (Bytes{0xFC, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// Strings placed 0 to 16 bytes before a chunk end, in both widths.
TEST(SharedStringTable, StringsNearAChunkEndFollowTheContinuationRule)
{
    for (bool wide : {false, true}) {
        for (std::uint32_t left = 0; left <= 16; ++left) {
            SCOPED_TRACE(testing::Message() << "wide " << wide << " left " << left);
            SharedStringTable t;
            const QString text = QStringLiteral("0123456789abcdefghij");
            LongString second = wide ? LongString(text) : narrow(text);
            t.strings = {fillerLeaving(left), second, narrow(QStringLiteral("end"))};
            t.total = 5;
            t.unique = 3;
            Written w = writeAndRead(t);
            ASSERT_EQ(w.sst.strings.size(), 3u);
            EXPECT_EQ(w.sst.strings[1], text);
            EXPECT_EQ(w.sst.strings[2], QStringLiteral("end"));
            EXPECT_EQ(w.sst.wide[1], wide);
            EXPECT_EQ(w.sst.total, 5u);
            ASSERT_EQ(w.sst.chunkSizes.size(), 2u);
            const std::uint32_t bytes = wide ? 40 : 20;
            if (left < 12) {
                // Whole into the next chunk, no flag byte before it.
                EXPECT_EQ(w.sst.chunkSizes[0], 8224u - left);
                EXPECT_EQ(w.sst.chunkSizes[1], 3 + bytes + 6);
            } else {
                const std::uint32_t here = wide ? (left - 3) / 2 * 2 : left - 3;
                EXPECT_EQ(w.sst.chunkSizes[0], 8224u - left + 3 + here);
                EXPECT_EQ(w.sst.chunkSizes[1], 1 + bytes - here + 6);
                // The record of the continuation starts with the flag.
                const std::size_t contData = 4 + w.sst.chunkSizes[0] + 4;
                EXPECT_EQ(w.bytes[contData], wide ? 1 : 0);
            }
        }
    }
}

TEST(SharedStringTable, WideStringStartingWith15Or16BytesLeftKeepsSixCharacters)
{
    for (std::uint32_t left : {15u, 16u}) {
        SharedStringTable t;
        t.strings = {fillerLeaving(left), LongString(QString(100, u'\u00e9'))};
        t.unique = 2;
        Written w = writeAndRead(t);
        EXPECT_EQ(w.sst.chunkSizes[0], 8224u - left + 15) << left;
        EXPECT_EQ(w.sst.chunkSizes[1], 1u + 2 * 94);
    }
}

TEST(SharedStringTable, TenThousandCharacterStringSpansThreeChunks)
{
    SharedStringTable t;
    QString big;
    for (int i = 0; i < 10000; ++i)
        big.append(QChar(u'\u0430' + i % 32));
    t.strings = {fillerLeaving(0), LongString(big), narrow(QStringLiteral("after"))};
    t.unique = 3;
    Written w = writeAndRead(t);
    ASSERT_EQ(w.sst.chunkSizes.size(), 4u);
    EXPECT_EQ(w.sst.chunkSizes[0], 8224u);
    EXPECT_EQ(w.sst.chunkSizes[1], 3u + 8220);
    EXPECT_EQ(w.sst.chunkSizes[2], 1u + 8222);
    EXPECT_EQ(w.sst.chunkSizes[3], 1u + 2 * (10000 - 4110 - 4111) + 3 + 5);
    EXPECT_EQ(w.sst.strings[1], big);
    EXPECT_EQ(w.sst.strings[2], QStringLiteral("after"));

    // The same for 8-bit characters: 8220 + 8223 per chunk.
    SharedStringTable n;
    n.strings = {narrow(QString(20000, u'z'))};
    n.unique = 1;
    Written wn = writeAndRead(n);
    EXPECT_EQ(wn.sst.chunkSizes, (std::vector<std::size_t>{8224, 8224, 1 + 20000 - 8213 - 8223}));
}

TEST(SharedStringTable, ManyStringsOfMixedWidthRoundTrip)
{
    SharedStringTable t;
    std::vector<QString> expected;
    for (int i = 0; i < 3000; ++i) {
        QString s = QString(i % 37, QChar(u'a' + i % 26)) + QString::number(i);
        if (i % 3 == 0) {
            s += QStringLiteral("\u65e5\u672c");
            t.strings.emplace_back(s);
        } else {
            t.strings.push_back(narrow(s));
        }
        expected.push_back(s);
    }
    t.strings.emplace_back(QString());
    expected.push_back(QString());
    t.unique = std::uint32_t(t.strings.size());
    t.total = t.unique;
    Written w = writeAndRead(t);
    EXPECT_EQ(w.sst.strings, expected);
    EXPECT_GT(w.sst.chunkSizes.size(), 5u);
}

TEST(SharedStringTable, TableOf8224BytesIsOneRecordAndOneMoreByteContinues)
{
    SharedStringTable exact;
    exact.strings = {narrow(QString(8224 - 8 - 3, u'x'))};
    exact.unique = 1;
    Written a = writeAndRead(exact);
    EXPECT_EQ(a.bytes.size(), 8228u);
    EXPECT_TRUE(exact.splitPoints().empty());

    // One character more: the string is cut and goes on after its flag byte.
    SharedStringTable over;
    over.strings = {narrow(QString(8224 - 8 - 3 + 1, u'x'))};
    over.unique = 1;
    Written b = writeAndRead(over);
    EXPECT_EQ(b.sst.chunkSizes, (std::vector<std::size_t>{8224, 2}));
    EXPECT_EQ(b.bytes.size(), 8228u + 4 + 2);
    EXPECT_EQ(b.bytes[8228 + 4], 0);
    EXPECT_EQ(b.sst.strings[0].size(), 8214);

    // A string whose rest fills its continuation exactly: two full chunks,
    // no third record of a lone flag byte.
    SharedStringTable twoFull;
    twoFull.strings = {narrow(QString(16436, u'x'))};
    twoFull.unique = 1;
    Written c = writeAndRead(twoFull);
    EXPECT_EQ(c.sst.chunkSizes, (std::vector<std::size_t>{8224, 8224}));
    EXPECT_EQ(c.bytes.size(), 2u * 8228);
    EXPECT_EQ(c.sst.strings[0], QString(16436, u'x'));
}

// Readers decode each chunk on its own: a chunk that would end between the
// two halves of a surrogate pair ends one unit earlier.
TEST(SharedStringTable, ChunksNeverEndInsideASurrogatePair)
{
    const QString emoji = QString::fromUtf16(u"\U0001F600");
    struct Case
    {
        const char *what;
        QString text;
        std::vector<std::size_t> chunks;
    };
    const Case cases[] = {
        // 4106 units would fit the first chunk; unit 4105 starts a pair.
        {"pair at the first cut", u'x' + emoji.repeated(2500), {8 + 3 + 2 * 4105, 1 + 2 * 896}},
        {"pair ends at the first cut", QStringLiteral("xx") + emoji.repeated(2500), {8 + 3 + 2 * 4106, 1 + 2 * 896}},
        // A continuation holds 4111 units, here 4110.
        {"pairs at both cuts", u'x' + emoji.repeated(6000), {8 + 3 + 2 * 4105, 1 + 2 * 4110, 1 + 2 * 3786}},
        {"pair at the continuation cut", QStringLiteral("xx") + emoji.repeated(6000),
         {8 + 3 + 2 * 4106, 1 + 2 * 4110, 1 + 2 * 3786}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SharedStringTable t;
        t.strings = {LongString(c.text)};
        t.unique = 1;
        Written w = writeAndRead(t);
        EXPECT_EQ(w.sst.chunkSizes, c.chunks);
        ASSERT_EQ(w.sst.strings.size(), 1u);
        EXPECT_EQ(w.sst.strings[0], c.text);
    }
}
