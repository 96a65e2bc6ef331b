// Hand-made hostile headers: each one fails cleanly with its text, or, where
// the file can still be read within the picture's own bounds, decodes without
// reading or writing outside a buffer (the suite also runs under the
// address and undefined-behaviour sanitizers).
#include "FixtureRef.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <algorithm>

namespace {

QByteArray le16(uint16_t v)
{
    return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char(v >> 8));
}

QByteArray le32(uint32_t v)
{
    return le16(uint16_t(v & 0xFFFF)) + le16(uint16_t(v >> 16));
}

struct Info
{
    int32_t width = 4, height = 2;
    uint16_t planes = 1, bpp = 8;
    uint32_t compression = 0, sizeImage = 0, colours = 0;
    uint32_t size = 40;
};

QByteArray infoHeader(const Info &i)
{
    QByteArray h = le32(i.size) + le32(uint32_t(i.width)) + le32(uint32_t(i.height)) + le16(i.planes) + le16(i.bpp)
        + le32(i.compression) + le32(i.sizeImage) + le32(2835) + le32(2835) + le32(i.colours) + le32(0);
    if (i.size > 40)
        h += QByteArray(int(i.size - 40), '\0');
    return h;
}

// File header, information header, `extra` (palette, masks) and the pixels.
QByteArray bmp(const Info &i, const QByteArray &extra, const QByteArray &pixels)
{
    const QByteArray body = infoHeader(i) + extra;
    const uint32_t offset = 14 + uint32_t(body.size());
    return QByteArray("BM") + le32(offset + uint32_t(pixels.size())) + le32(0) + le32(offset) + body + pixels;
}

QByteArray palette(int n)
{
    QByteArray p;
    for (int k = 0; k < n; k++)
        p += QByteArray(1, char(k)) + QByteArray(1, char(k * 2)) + QByteArray(1, char(k * 3)) + QByteArray(1, '\0');
    return p;
}

struct Outcome
{
    bool ok;
    std::string error;
    uint32_t width = 0, height = 0;
};

Outcome decode(const QByteArray &bytes, int type, int cancelRequest = 0, int frame = 0)
{
    CPicture pic;
    pic.SetCancelRequest(cancelRequest);
    pic.SetFrameToLoad(frame);
    const bool ok = fixture::decodeBytes(pic, bytes, type);
    return {ok, pic.GetErrorText(), pic.GetWidth(), pic.GetHeight()};
}

// One icon directory entry and its image.
QByteArray ico(uint16_t count, uint8_t w, uint8_t h, uint32_t offset, const QByteArray &image, uint16_t type = 1)
{
    QByteArray f = le16(0) + le16(type) + le16(count);
    for (int k = 0; k < count; k++)
        f += QByteArray(1, char(w)) + QByteArray(1, char(h)) + QByteArray(2, '\0') + le16(1) + le16(8)
            + le32(uint32_t(image.size())) + le32(offset);
    return f + image;
}

QByteArray iconImage(int w, int h, uint16_t bpp, uint32_t colours, int pixelBytes, int maskBytes)
{
    Info i;
    i.width = w;
    i.height = h * 2;
    i.bpp = bpp;
    i.colours = colours;
    return infoHeader(i) + palette(bpp <= 8 ? int(colours ? colours : (1u << bpp)) : 0)
        + QByteArray(pixelBytes, '\x01') + QByteArray(maskBytes, '\0');
}

} // namespace

TEST(Hostile, BmpHeadersThatFail)
{
    Info huge;
    huge.width = 100000;
    huge.height = 100000;
    huge.bpp = 24;
    Info wraps;
    wraps.width = 65536;
    wraps.height = 65536;
    Info tallThin; // few pixels but padded rows far beyond the limit
    tallThin.width = 1;
    tallThin.height = 200000000;
    Info minHeight;
    minHeight.height = INT32_MIN;
    Info negWidth;
    negWidth.width = -4;
    Info planes;
    planes.planes = 2;
    Info rle8on4;
    rle8on4.bpp = 4;
    rle8on4.compression = 1;
    Info rle4on8;
    rle4on8.compression = 2;
    Info rleOn1;
    rleOn1.bpp = 1;
    rleOn1.compression = 1;
    Info fieldsOn8;
    fieldsOn8.compression = 3;
    Info rle24;
    rle24.bpp = 24;
    rle24.compression = 1;
    Info rle32;
    rle32.bpp = 32;
    rle32.compression = 2;
    Info rle16;
    rle16.bpp = 16;
    rle16.compression = 1;
    Info v5palette; // a later header version with a palette is not taken as a plain picture
    v5palette.size = 124;
    v5palette.colours = 256;
    v5palette.sizeImage = 8;
    Info shortHeader;
    shortHeader.size = 20;
    Info twoBits, noBits, sixtyFourBits; // depths the decoder has no reading for
    twoBits.bpp = 2;
    noBits.bpp = 0;
    sixtyFourBits.bpp = 64;

    const struct { const char *what; QByteArray bytes; const char *error; } cases[] = {
        {"five bytes", QByteArray("BM\x10\0\0", 5), "Not a BMP"},
        {"file header only", QByteArray("BM") + le32(54) + le32(0) + le32(54), "Error reading BMP info"},
        {"info header size 20", bmp(shortHeader, {}, {}), "Error reading BMP info"},
        {"info header cut short", bmp(Info{}, {}, {}).left(30), "Error reading BMP info"},
        {"planes 2", bmp(planes, palette(256), QByteArray(8, 0)), "Error reading BMP info"},
        {"pixels past the end", (bmp(Info{}, palette(256), {}).left(10) + le32(0x7FFFFFF0u) + bmp(Info{}, palette(256), {}).mid(14)), "Error reading BMP info"},
        {"height INT32_MIN", bmp(minHeight, palette(256), {}), "Error reading BMP info"},
        {"version 5 with a palette", bmp(v5palette, palette(256), QByteArray(8, 0)), "Error reading BMP info"},
        {"100000 x 100000", bmp(huge, {}, {}), "PICTURE_MAX_MEMORY exceeded"},
        {"65536 x 65536 wraps", bmp(wraps, palette(256), {}), "PICTURE_MAX_MEMORY exceeded"},
        {"1 x 200000000", bmp(tallThin, palette(256), {}), "PICTURE_MAX_MEMORY exceeded"},
        {"negative width", bmp(negWidth, palette(256), {}), "CPicture::Create : width and height must be greater than zero"},
        {"RLE8 on 4 bits", bmp(rle8on4, palette(16), QByteArray("\x04\x01\0\x01", 4)), "compression type not supported"},
        {"RLE4 on 8 bits", bmp(rle4on8, palette(256), QByteArray("\x04\x01\0\x01", 4)), "compression type not supported"},
        {"RLE8 on 1 bit", bmp(rleOn1, palette(2), QByteArray("\x04\x01\0\x01", 4)), "compression type not supported"},
        {"bit fields on 8 bits", bmp(fieldsOn8, palette(256), QByteArray(8, 0)), "compression type not supported"},
        {"RLE on 24 bits", bmp(rle24, {}, QByteArray(24, 0)), "unknown compression"},
        {"RLE on 32 bits", bmp(rle32, {}, QByteArray(32, 0)), "unknown compression"},
        {"RLE on 16 bits", bmp(rle16, {}, QByteArray(16, 0)), "unknown compression"},
        {"2 bits per pixel", bmp(twoBits, palette(4), QByteArray(8, '\x55')), "bit depth not supported"},
        {"0 bits per pixel", bmp(noBits, {}, QByteArray(8, '\x55')), "bit depth not supported"},
        {"64 bits per pixel", bmp(sixtyFourBits, {}, QByteArray(64, '\x55')), "bit depth not supported"},
    };
    for (const auto &c : cases) {
        const Outcome o = decode(c.bytes, CPicture::TypeBMP);
        EXPECT_FALSE(o.ok) << c.what;
        EXPECT_EQ(o.error, c.error) << c.what;
    }
}

TEST(Hostile, BmpFieldsBoundedByThePicture)
{
    // An image size far beyond the pixels, and colours used far beyond 256.
    Info big;
    big.sizeImage = 0xFFFFFFFFu;
    big.colours = 0xFFFFFFFFu;
    QByteArray pixels(8, '\x07');
    CPicture pic;
    ASSERT_TRUE(fixture::decodeBytes(pic, bmp(big, palette(256), pixels), CPicture::TypeBMP));
    EXPECT_EQ(pic.GetColourCount(), 256u);
    EXPECT_EQ(pic.GetIndexAt(3, 1), 7);
    EXPECT_EQ(pic.GetPaletteEntry(7).rgbRed, 21);

    // Run-length data that runs past the row, jumps past the width and the
    // top, and literal runs longer than the row: nothing lands outside.
    Info rle;
    rle.width = 3;
    rle.height = 2;
    rle.compression = 1;
    const QByteArray runs("\xFF\x05"             // 255 pixels of 5 in a row of 3
                          "\x00\x02\xFF\x00"     // delta far right
                          "\x02\x06"
                          "\x00\x00"             // next row
                          "\x00\x05\x01\x02\x03\x04\x05\x00" // literal of 5 in a row of 3
                          "\x00\x02\x00\xFF"     // delta far up
                          "\x04\x09\x00\x01", 26);
    CPicture rle8;
    ASSERT_TRUE(fixture::decodeBytes(rle8, bmp(rle, palette(256), runs), CPicture::TypeBMP));
    EXPECT_EQ(rle8.GetIndexAt(2, 0), 5);
    EXPECT_EQ(rle8.GetIndexAt(2, 1), 3);

    rle.bpp = 4;
    rle.compression = 2;
    CPicture rle4;
    ASSERT_TRUE(fixture::decodeBytes(rle4, bmp(rle, palette(16), runs), CPicture::TypeBMP));
    EXPECT_EQ(rle4.GetIndexAt(0, 0), 0);
    EXPECT_EQ(rle4.GetIndexAt(1, 0), 5);

    // Run-length data cut short ends the picture early without failing.
    rle.bpp = 8;
    rle.compression = 1;
    CPicture cut;
    ASSERT_TRUE(fixture::decodeBytes(cut, bmp(rle, palette(256), QByteArray("\x02\x09\x00", 3)), CPicture::TypeBMP));
    EXPECT_EQ(cut.GetIndexAt(1, 0), 9);
    EXPECT_EQ(cut.GetIndexAt(2, 0), 0);
}

TEST(Hostile, UncompressedPixelsMissingFromTheFileAreBlack)
{
    // The rows are read straight into the picture: whatever the file does not
    // hold must still come out as index or colour 0, even in memory that held
    // another picture just before, and rows stored top first land in their
    // place.
    Info eight;
    eight.width = 100;
    eight.height = 100;
    Info twentyFour = eight;
    twentyFour.bpp = 24;
    Info shortSize = eight; // the image size field says less than the rows
    shortSize.sizeImage = 5050;
    Info topDownShortSize = shortSize;
    topDownShortSize.height = -100;
    Info topDownCut = twentyFour;
    topDownCut.height = -100;
    const struct { const char *what; Info info; QByteArray extra; int rowBytes; int bytesGiven; } cases[] = {
        {"8 bits cut in a row", eight, palette(256), 100, 4321},
        {"24 bits cut in a row", twentyFour, {}, 300, 12345},
        {"8 bits, image size short", shortSize, palette(256), 100, 10000},
        {"8 bits top first, image size short", topDownShortSize, palette(256), 100, 10000},
        {"24 bits top first cut in a row", topDownCut, {}, 300, 12345},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray whole = bmp(c.info, c.extra, QByteArray(c.rowBytes * 100, '\xAB'));
        CPicture before;
        ASSERT_TRUE(fixture::decodeBytes(before, whole, CPicture::TypeBMP));
        before.Destroy();
        const int bytes = std::min(c.bytesGiven, c.info.sizeImage ? int(c.info.sizeImage) : c.bytesGiven);
        CPicture pic;
        ASSERT_TRUE(fixture::decodeBytes(pic, whole.left(whole.size() - c.rowBytes * 100 + c.bytesGiven),
                                         CPicture::TypeBMP));
        ASSERT_EQ(int(pic.GetBitmapHeader().biSizeImage), c.rowBytes * 100);
        // Byte k of the file's rows, wherever the picture keeps it.
        const auto stored = [&](int k) {
            const int fileRow = k / c.rowBytes;
            const int row = c.info.height < 0 ? 99 - fileRow : fileRow;
            return pic.GetRowPointer(uint32_t(row))[k % c.rowBytes];
        };
        EXPECT_EQ(stored(0), 0xAB);
        EXPECT_EQ(stored(bytes - 1), 0xAB);
        int zeros = 0;
        for (int k = bytes; k < c.rowBytes * 100; ++k)
            zeros += stored(k) == 0;
        EXPECT_EQ(zeros, c.rowBytes * 100 - bytes);
    }
}

TEST(Hostile, BitFieldMasksOfAnyShape)
{
    const uint32_t maskSets[][3] = {
        {0, 0, 0},
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {0x80000000u, 0x00000001u, 0x7FFF0000u},
        {0xF0F0F0F0u, 0x0F0F0F0Fu, 0x00FFFF00u},
        {0x0001FFFEu, 0x00000F00u, 0x000000FFu},
    };
    for (uint16_t bpp : {uint16_t(16), uint16_t(32)}) {
        for (const auto &m : maskSets) {
            Info i;
            i.bpp = bpp;
            i.compression = 3;
            const QByteArray masks = le32(m[0]) + le32(m[1]) + le32(m[2]);
            CPicture pic;
            EXPECT_TRUE(fixture::decodeBytes(pic, bmp(i, masks, QByteArray(32, '\xA5')), CPicture::TypeBMP));
            EXPECT_TRUE(pic.IsValid());
        }
    }
    // A full 32-bit mask keeps the top eight bits.
    Info i;
    i.width = 1;
    i.height = 1;
    i.bpp = 32;
    i.compression = 3;
    CPicture pic;
    ASSERT_TRUE(fixture::decodeBytes(pic, bmp(i, le32(0xFFFFFFFFu) + le32(0xFF000000u) + le32(0x0000FFFFu),
                                                   QByteArray("\x34\x12\x78\x56", 4)), CPicture::TypeBMP));
    const RGBQUAD c = pic.GetColourAt(0, 0);
    EXPECT_EQ(c.rgbRed, 0x56);
    EXPECT_EQ(c.rgbGreen, 0x56);
    EXPECT_EQ(c.rgbBlue, 0x12);
}

TEST(Hostile, IconDirectoriesThatFail)
{
    const int w = 4, h = 4;
    const QByteArray image8 = iconImage(w, h, 8, 0, 4 * h, 4 * h);
    const QByteArray image32 = iconImage(w, h, 32, 0, w * h * 4, 4 * h);
    const uint32_t at = 6 + 16;
    const struct { const char *what; QByteArray bytes; int frame; const char *error; } cases[] = {
        {"reserved word set", QByteArray("\x01\0\x01\0\x01\0", 6), 0, "Not an icon or cursor"},
        {"type 3", QByteArray("\0\0\x03\0\x01\0", 6), 0, "Not an icon or cursor"},
        {"no images", QByteArray("\0\0\x01\0\0\0", 6), 0, "Icon file without images"},
        {"directory cut short", ico(2, w, h, at, {}).left(30), 0, "Icon directory cut short"},
        {"frame 1 of 1", ico(1, w, h, at, image8), 1, "Icon image index out of range"},
        {"frame -1", ico(1, w, h, at, image8), -1, "Icon image index out of range"},
        {"zero width", ico(1, 0, h, at, image8), 0, "Icon image with a zero width or height"},
        {"zero height", ico(1, w, 0, at, image8), 0, "Icon image with a zero width or height"},
        {"offset past the end", ico(1, w, h, 0x7FFFFFF0u, image8), 0, "Icon image offset past the end of the file"},
        {"offset 4 GiB", ico(1, w, h, 0xFFFFFFFFu, image8), 0, "Icon image offset past the end of the file"},
        {"header cut short", ico(1, w, h, at, image8.left(20)), 0, "Icon image header cut short"},
        {"PNG image", ico(1, w, h, at, QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(40, 0)), 0, "Icon image header cut short"},
        {"palette cut short", ico(1, w, h, at, image8.left(40 + 100)), 0, "Icon palette cut short"},
        {"pixels cut short", ico(1, w, h, at, image8.left(40 + 1024 + 5)), 0, "Icon pixels cut short"},
        {"32-bit pixels cut short", ico(1, w, h, at, image32.left(40 + 60)), 0, "Icon pixels cut short"},
        {"huge colour count", ico(1, w, h, at, iconImage(w, h, 8, 0xFFFFFFF0u, 16, 16)), 0, "Icon palette cut short"},
    };
    for (const auto &c : cases) {
        const Outcome o = decode(c.bytes, CPicture::TypeICO, 0, c.frame);
        EXPECT_FALSE(o.ok) << c.what;
        EXPECT_EQ(o.error, c.error) << c.what;
    }
}

TEST(Hostile, IconsThatStillDecode)
{
    const int w = 4, h = 4;
    // Both dimensions 0 (a large icon stored in another form): success, no picture.
    CPicture big;
    EXPECT_TRUE(fixture::decodeBytes(big, ico(1, 0, 0, 22, iconImage(w, h, 8, 0, 16, 16)), CPicture::TypeICO));
    EXPECT_FALSE(big.IsValid());

    // Size only.
    const Outcome size = decode(ico(2, 7, 9, 22 + 16, iconImage(7, 9, 8, 0, 36, 36)), CPicture::TypeICO, -1);
    EXPECT_TRUE(size.ok);
    EXPECT_EQ(size.width, 7u);
    EXPECT_EQ(size.height, 9u);

    // A mask cut short leaves the picture as it is.
    CPicture noMask;
    EXPECT_TRUE(fixture::decodeBytes(noMask, ico(1, w, h, 22, iconImage(w, h, 8, 0, 16, 3)), CPicture::TypeICO));
    EXPECT_TRUE(noMask.IsValid());
    EXPECT_EQ(noMask.GetTransparentIndex(), -1);
    EXPECT_EQ(noMask.GetFramesFound(), 1);

    // Every mask byte 0xFF: transparent index 0 and the colours inverted.
    const QByteArray allMasked = iconImage(w, h, 8, 0, 16, 0) + QByteArray(16, '\xFF');
    CPicture negative;
    ASSERT_TRUE(fixture::decodeBytes(negative, ico(1, w, h, 22, allMasked), CPicture::TypeICO));
    EXPECT_EQ(negative.GetTransparentIndex(), 0);
    EXPECT_EQ(negative.GetPaletteEntry(1).rgbBlue, 254);
}

TEST(Hostile, DispatchFailuresKeepThePicture)
{
    CPicture pic;
    EXPECT_FALSE(pic.Decode(nullptr, CPicture::TypeBMP));
    EXPECT_STREQ(pic.GetErrorText(), "null file handler");
    EXPECT_FALSE(fixture::decodeBytes(pic, QByteArray(64, 'x'), 4));
    EXPECT_STREQ(pic.GetErrorText(), "Decode: Unknown or wrong format");

    const QByteArray good = fixture::read(fixture::dir(QStringLiteral("bmp/pil-24.bmp")));
    ASSERT_TRUE(fixture::decodeBytes(pic, good, CPicture::TypeBMP));
    void *dib = pic.GetBlock();
    // A PNG stream fails every reader; the picture keeps what it held.
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90wS\xde", 33);
    EXPECT_FALSE(fixture::decodeBytes(pic, png, CPicture::TypeUnknown));
    EXPECT_STREQ(pic.GetErrorText(), "Decode: Unknown or wrong format");
    EXPECT_EQ(pic.GetBlock(), dib);
    EXPECT_FALSE(fixture::decodeBytes(pic, good.left(40), CPicture::TypeBMP));
    EXPECT_EQ(pic.GetBlock(), dib);
    EXPECT_EQ(pic.GetWidth(), 13u);
}
