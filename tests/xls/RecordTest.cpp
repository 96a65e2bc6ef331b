#include "LongString.h"
#include "Record.h"
#include "StreamReader.h"
#include "Workbook.h"
#include "BOF.h"
#include "BoundSheet.h"
#include "EOFRecord.h"
#include "Font.h"
#include "Format.h"
#include "Style.h"
#include "Window1.h"
#include "XF.h"

#include <gtest/gtest.h>

using namespace Biff8;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A record whose data is n bytes counting up, to see where it is cut.
class RawRecord : public Record
{
public:
    explicit RawRecord(std::uint32_t n) : Record(0x1234, n) {}
protected:
    void storeData(std::uint8_t *p) override
    {
        for (std::uint32_t i = 0; i < m_dataSize; ++i)
            p[i] = std::uint8_t(i);
    }
};

Bytes written(Record &r)
{
    Bytes out;
    const std::uint32_t n = r.Write(out);
    EXPECT_EQ(n, out.size());
    EXPECT_EQ(r.RecordSize(), out.size());
    return out;
}

Bytes hex(const char *text)
{
    Bytes b;
    const QByteArray raw = QByteArray::fromHex(QByteArray(text).replace(' ', ""));
    b.assign(raw.begin(), raw.end());
    return b;
}

} // namespace

TEST(Record, DataUpTo8224BytesIsOneChunkAndLongerDataGoesOnInContinue)
{
    RawRecord exact(8224);
    Bytes a = written(exact);
    ASSERT_EQ(a.size(), 8228u);
    EXPECT_EQ(StreamReader::u16(a, 0), 0x1234);
    EXPECT_EQ(StreamReader::u16(a, 2), 8224);

    RawRecord over(8225);
    Bytes b = written(over);
    ASSERT_EQ(b.size(), 8233u);
    EXPECT_EQ(StreamReader::u16(b, 2), 8224);
    EXPECT_EQ(StreamReader::u16(b, 8228), 0x003C);
    EXPECT_EQ(StreamReader::u16(b, 8230), 1);
    EXPECT_EQ(b[8232], std::uint8_t(8224));

    RawRecord three(2 * 8224 + 5);
    Bytes c = written(three);
    EXPECT_EQ(c.size(), 2u * 8224 + 5 + 12);

    RawRecord empty(0);
    EXPECT_EQ(written(empty), hex("3412 0000"));
}

TEST(Record, FixedRecordsHoldTheirDefaultBytes)
{
    Font font;
    EXPECT_EQ(written(font), hex("3100 1A00 C800 0000 FF7F 9001 0000 00 00 00 00 0501"
                                 "4100 7200 6900 6100 6C00"));
    BoundSheet sheet;
    EXPECT_EQ(written(sheet), hex("8500 0E00 00000000 00 00 0600 536865657431"));
    BOF bof(BOF::Sheet);
    EXPECT_EQ(written(bof), hex("0908 1000 0006 1000 A019 CD07 C9C00000 06030000"));
    XF xf;
    EXPECT_EQ(written(xf), hex("E000 1400 0000 0000 F5FF 20 00 00 00 00000000 00000000 C020"));
    Style style;
    EXPECT_EQ(written(style), hex("9302 0400 0080 00 FF"));
    Window1 w1;
    EXPECT_EQ(written(w1), hex("3D00 1200 7800 7800 1F3B 5424 3800 0000 0000 0100 5802"));
    EOFRecord eof;
    EXPECT_EQ(written(eof), hex("0A00 0000"));
}

TEST(Record, LongStringsAreCountFlagAndCharacters)
{
    Format format;
    format.index = 164;
    format.text.setWide(QString());
    EXPECT_EQ(written(format), hex("1E04 0500 A400 0000 01"));
    format.text.setWide(QStringLiteral("0%"));
    EXPECT_EQ(written(format), hex("1E04 0900 A400 0200 01 3000 2500"));
    format.text.setNarrow(QByteArrayLiteral("0%"));
    EXPECT_EQ(written(format), hex("1E04 0700 A400 0200 00 3025"));

    LongString fresh;
    EXPECT_EQ(fresh.flags(), 0xFF);
    LongString wide(QStringLiteral("ab"));
    EXPECT_EQ(wide.flags(), 1);
    EXPECT_EQ(wide.size(), 7u);
}

TEST(Record, ShortStringsKeepOneWidthAndNeverExceedTheirCount)
{
    ShortString s;
    s.setNarrow(QByteArrayLiteral("Sheet1"));
    EXPECT_FALSE(s.isWide());
    EXPECT_EQ(s.size(), 8u);
    s.setWide(QStringLiteral("Feuil1"));
    EXPECT_TRUE(s.isWide());
    EXPECT_TRUE(s.narrow().isEmpty());
    EXPECT_EQ(s.size(), 14u);

    s.setWide(QString(300, u'x'));
    EXPECT_EQ(s.wide().size(), 255);
    // A pair cut in the middle is dropped whole.
    QString pairs = QString(254, u'x') + QString::fromUtf16(u"\U0001F600");
    s.setWide(pairs + u'y');
    EXPECT_EQ(s.wide().size(), 254);
}

TEST(Workbook, WritesOnlyUserFormatsAndItsSizeIsWhatItWrites)
{
    Workbook wb;
    wb.fonts.emplace_back();
    wb.xfs.emplace_back();
    wb.styles.emplace_back();
    wb.boundSheets.emplace_back();
    Format builtin;
    builtin.index = 163;
    builtin.text.setWide(QStringLiteral("0.0"));
    Format user;
    user.index = 164;
    user.text.setWide(QStringLiteral("[h]:mm"));
    wb.formats = {builtin, user};

    Bytes out;
    const std::uint32_t n = wb.Write(out);
    EXPECT_EQ(n, out.size());
    EXPECT_EQ(wb.Size(), out.size());
    bool ok = false;
    const auto recs = StreamReader::records(out, &ok);
    ASSERT_TRUE(ok);
    std::vector<std::uint16_t> ids;
    for (const auto &r : recs)
        ids.push_back(r.id);
    // The 15 built-in style formats come before the list's one.
    std::vector<std::uint16_t> expected = {0x0809, 0x003D, 0x0031, 0x041E};
    expected.insert(expected.end(), 16, 0x00E0);
    expected.insert(expected.end(), {0x0293, 0x0085, 0x00FC, 0x000A});
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(StreamReader::u16(recs[3].data, 0), 164);
    // No text cells: an SST of eight bytes, both counts 0.
    EXPECT_EQ(recs[22].data, Bytes(8, 0));

    Workbook copy = wb;
    Bytes again;
    copy.Write(again);
    EXPECT_EQ(again, out);
}
