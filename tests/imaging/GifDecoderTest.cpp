#include "CodecFixtures.h"
#include "GifBytes.h"
#include "SlowFiles.h"

#include "CPictureGIF.h"

#include <QDir>
#include <QJsonArray>

#include <gtest/gtest.h>

using namespace codecfx;
using namespace gifbytes;

namespace {

// Checks a decoded picture against <name>.json and its pixel dump.
void expectLikeReference(const CPicture &pic, const QString &name, const QString &dump)
{
    const QJsonObject meta = readMeta(QStringLiteral("gif/%1.json").arg(name));
    ASSERT_FALSE(meta.isEmpty());
    EXPECT_EQ(pic.GetWidth(), uint32_t(meta[QStringLiteral("width")].toInt()));
    EXPECT_EQ(pic.GetHeight(), uint32_t(meta[QStringLiteral("height")].toInt()));
    EXPECT_EQ(pic.GetBitsPerPixel(), meta[QStringLiteral("bpp")].toInt());
    EXPECT_EQ(pic.GetFramesFound(), meta[QStringLiteral("frames")].toInt());
    EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeGIF));
    const QJsonArray palette = meta[QStringLiteral("palette")].toArray();
    if (pic.GetBitsPerPixel() <= 8) {
        EXPECT_EQ(pic.GetTransparentIndex(), meta[QStringLiteral("trans")].toInt());
        EXPECT_LE(uint32_t(palette.size()), pic.GetColourCount());
    }
    for (qsizetype i = 0; i < palette.size() && i < qsizetype(pic.GetColourCount()); ++i) {
        const QJsonArray rgb = palette[i].toArray();
        const RGBQUAD c = pic.GetPaletteEntry(uint8_t(i));
        EXPECT_EQ(c.rgbRed, rgb[0].toInt()) << "entry " << i;
        EXPECT_EQ(c.rgbGreen, rgb[1].toInt()) << "entry " << i;
        EXPECT_EQ(c.rgbBlue, rgb[2].toInt()) << "entry " << i;
    }
    const Pnm ref = readPnm(dump);
    ASSERT_EQ(ref.width, int(pic.GetWidth()));
    const QByteArray got = pic.GetBitsPerPixel() == 24 ? samplesTopDown(pic) : indicesTopDown(pic);
    EXPECT_EQ(firstDifference(got, ref.samples), -1);
}

bool decodeGif(CPicture &pic, const QByteArray &bytes)
{
    return decodeBytes(pic, bytes, CPicture::TypeGIF);
}

// Decodes with the GIF decoder itself, which tells what it read besides the
// pixels and the work it did.
bool decodeWithGifDecoder(CPictureGIF &gif, const QByteArray &bytes)
{
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    CPicMemFile file(copy.data(), copy.size());
    return gif.Decode(&file);
}

QByteArray singleImage(uint32_t screenW, uint32_t screenH, uint32_t w, uint32_t h, int entries = 4)
{
    std::vector<uint8_t> px(size_t(w) * h);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = uint8_t(i % 4);
    return header(screenW, screenH, entries) + descriptor(0, 0, w, h) + literalImageData(px, 2) + ";";
}

} // namespace

TEST(GifDecoder, SingleImagesEqualTheirReference)
{
    const char *names[] = {"single8", "two", "sixteen", "transparent8", "transparent4", "zeroscreen", "comment",
                           "interlaced1", "interlaced2", "interlaced3", "interlaced5", "interlaced9", "offset",
                           "offset-plain", "plasma"};
    for (const char *n : names) {
        SCOPED_TRACE(n);
        const QString name = QString::fromLatin1(n);
        CPicture pic(path(QStringLiteral("gif/%1.gif").arg(name)), CPicture::TypeGIF);
        ASSERT_TRUE(pic.IsValid()) << pic.GetErrorText();
        expectLikeReference(pic, name, QStringLiteral("gif/%1.pgm").arg(name));
    }
}

TEST(GifDecoder, GuessedAsTheLastFormat)
{
    CPicture pic;
    ASSERT_TRUE(decodeBytes(pic, readFile(QStringLiteral("gif/plasma.gif")), CPicture::TypeUnknown));
    expectLikeReference(pic, QStringLiteral("plasma"), QStringLiteral("gif/plasma.pgm"));
}

TEST(GifDecoder, EachFrameOfAnAnimationAfterItsPredecessorsDisposal)
{
    // Five counted images (one beyond the screen and one of no pixels are
    // skipped), disposal methods 1, 2, 3, 0.
    for (int frame = 0; frame < 5; ++frame) {
        SCOPED_TRACE(frame);
        CPicture pic;
        pic.SetFrameToLoad(frame);
        ASSERT_TRUE(decodeGif(pic, readFile(QStringLiteral("gif/anim.gif")))) << pic.GetErrorText();
        expectLikeReference(pic, QStringLiteral("anim"), QStringLiteral("gif/anim.%1.pgm").arg(frame));
    }
}

TEST(GifDecoder, KeepsEveryFrameWhenAsked)
{
    CPicture pic;
    pic.SetKeepAllFrames(true);
    pic.SetFrameToLoad(4);
    ASSERT_TRUE(decodeGif(pic, readFile(QStringLiteral("gif/anim.gif"))));
    ASSERT_EQ(pic.GetKeptFrameCount(), 5);
    for (int frame = 0; frame < 5; ++frame) {
        SCOPED_TRACE(frame);
        const CPicture *f = pic.GetKeptFrame(frame);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(indicesTopDown(*f), readPnm(QStringLiteral("gif/anim.%1.pgm").arg(frame)).samples);
    }
}

TEST(GifDecoder, FrameBeyondTheCountFailsAndReportsTheCount)
{
    CPicture pic;
    ASSERT_NE(pic.Create(2, 2, 8), nullptr);
    pic.SetFrameToLoad(5);
    EXPECT_FALSE(decodeGif(pic, readFile(QStringLiteral("gif/anim.gif"))));
    EXPECT_EQ(pic.GetFramesFound(), 5);
    EXPECT_EQ(pic.GetWidth(), 2u); // the target is left as it was
    EXPECT_STREQ(pic.GetErrorText(), "GIF: frame index out of range");
}

TEST(GifDecoder, ImagesOfDifferentSizesWithoutAGlobalTableAreComposedInColour)
{
    CPicture pic;
    pic.SetFrameToLoad(0); // ignored: the last image is delivered
    ASSERT_TRUE(decodeGif(pic, readFile(QStringLiteral("gif/composed.gif"))));
    expectLikeReference(pic, QStringLiteral("composed"), QStringLiteral("gif/composed.ppm"));
    const RGBQUAD t = pic.GetTransparentColour();
    EXPECT_EQ(t.rgbRed, 250);
    EXPECT_EQ(t.rgbGreen, 240);
    EXPECT_EQ(t.rgbBlue, 230);
}

TEST(GifDecoder, CommentAndLoopCount)
{
    const QByteArray bytes = readFile(QStringLiteral("gif/comment.gif"));
    CPictureGIF gif;
    ASSERT_TRUE(decodeWithGifDecoder(gif, bytes));
    EXPECT_STREQ(gif.GetCommentText(), "Hello world");
    EXPECT_EQ(gif.GetLoopCount(), 7);
}

TEST(GifDecoder, SizeOnlyReadsTheLogicalScreen)
{
    CPicture pic;
    pic.SetCancelRequest(CPicture::SizeOnlyRequest);
    ASSERT_TRUE(decodeGif(pic, readFile(QStringLiteral("gif/offset.gif"))));
    EXPECT_FALSE(pic.IsValid());
    EXPECT_EQ(pic.GetWidth(), 20u);
    EXPECT_EQ(pic.GetHeight(), 15u);
    EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeGIF));
}

TEST(GifDecoder, CancelRequestStops)
{
    CPicture pic;
    pic.SetCancelRequest(2);
    EXPECT_FALSE(decodeGif(pic, readFile(QStringLiteral("gif/plasma.gif"))));
    EXPECT_STREQ(pic.GetErrorText(), "Cancelled");
}

TEST(GifDecoder, DamagedDataEndsTheImageNotTheFile)
{
    // The first image's data jumps to codes beyond the table; the decoder
    // goes on at the next image descriptor and still counts both images.
    QByteArray bad = QByteArray(1, char(2)) + subBlocks(packCodes({{4, 3}, {1, 3}, {7, 3}, {7, 3}, {7, 3}}));
    const QByteArray good = literalImageData({3, 3, 3, 3}, 2);
    const QByteArray file = header(2, 2, 4) + descriptor(0, 0, 2, 2) + bad + descriptor(0, 0, 2, 2) + good + ";";
    CPicture pic;
    pic.SetFrameToLoad(1);
    ASSERT_TRUE(decodeGif(pic, file)) << pic.GetErrorText();
    EXPECT_EQ(pic.GetFramesFound(), 2);
    EXPECT_EQ(indicesTopDown(pic), QByteArray(4, char(3)));
}

TEST(GifDecoder, HostileFilesFailCleanly)
{
    const QByteArray fourPixels = literalImageData({1, 2, 3, 0}, 2);
    const struct
    {
        const char *what;
        QByteArray bytes;
        const char *text;
    } cases[] = {
        {"empty", QByteArray(), "Not a GIF"},
        {"wrong signature", QByteArray("GIF7") + singleImage(2, 2, 2, 2).mid(4), "Not a GIF"},
        {"header only", header(4, 4, 4), "GIF: no image"},
        {"screen too large for the memory limit", singleImage(65535, 65535, 2, 2), "PICTURE_MAX_MEMORY exceeded"},
        {"only an image of zero width", header(4, 4, 4) + descriptor(0, 0, 0, 4) + fourPixels + ";",
         "GIF: no image"},
        {"only an image of zero height", header(4, 4, 4) + descriptor(0, 0, 4, 0) + fourPixels + ";",
         "GIF: no image"},
        {"only an image beyond the screen", header(4, 4, 4) + descriptor(3, 0, 2, 2) + fourPixels + ";",
         "GIF: no image"},
        {"only garbage without a zero byte", header(4, 4, 4) + QByteArray(300, 'x'), "GIF: no image"},
        {"application extension of a wrong size",
         header(2, 2, 4) + QByteArray("\x21\xFF\x0A", 3) + QByteArray(10, 'a') + descriptor(0, 0, 2, 2)
             + fourPixels + ";",
         "GIF: no image"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CPicture pic;
        ASSERT_NE(pic.Create(3, 1, 8), nullptr);
        EXPECT_FALSE(decodeGif(pic, c.bytes));
        EXPECT_STREQ(pic.GetErrorText(), c.text);
        EXPECT_EQ(pic.GetWidth(), 3u);
    }
}

TEST(GifDecoder, HostileButDecodableFiles)
{
    // A zero-size image between two real ones is skipped in both passes, so
    // frame indices still match; a cut file keeps the rows it has.
    const QByteArray px4 = literalImageData({1, 2, 3, 0}, 2);
    {
        const QByteArray file = header(2, 2, 4) + descriptor(0, 0, 2, 2) + px4 + descriptor(0, 0, 0, 5) + px4
                                + descriptor(0, 0, 2, 2) + literalImageData({3, 3, 3, 3}, 2) + ";";
        CPicture pic;
        pic.SetFrameToLoad(1);
        ASSERT_TRUE(decodeGif(pic, file)) << pic.GetErrorText();
        EXPECT_EQ(pic.GetFramesFound(), 2);
        EXPECT_EQ(indicesTopDown(pic), QByteArray(4, char(3)));
    }
    {
        // Cut inside the data, no trailer.
        std::vector<uint8_t> px(64 * 8);
        for (size_t i = 0; i < px.size(); ++i)
            px[i] = uint8_t(1 + i % 3);
        QByteArray file = header(64, 8, 4) + descriptor(0, 0, 64, 8) + literalImageData(px, 2);
        file.chop(file.size() / 2);
        CPicture pic;
        ASSERT_TRUE(decodeGif(pic, file)) << pic.GetErrorText();
        EXPECT_EQ(uint8_t(indicesTopDown(pic)[0]), 1);
        EXPECT_EQ(pic.GetIndexAt(63, 0), 0); // bottom row not reached
    }
    {
        // Indices beyond a two-colour table and a transparent index beyond
        // the palette: a 1-bit picture with two palette entries.
        const QByteArray file = header(4, 1, 2) + control(0, 200) + descriptor(0, 0, 4, 1)
                                + literalImageData({0, 255, 7, 1}, 8) + ";";
        CPicture pic;
        ASSERT_TRUE(decodeGif(pic, file)) << pic.GetErrorText();
        EXPECT_EQ(pic.GetBitsPerPixel(), 1);
        EXPECT_EQ(pic.GetColourCount(), 2u);
        EXPECT_EQ(indicesTopDown(pic), QByteArray("\x00\x01\x01\x01", 4));
    }
    {
        // Composed in colour (no global table, frames smaller than the
        // screen): indices beyond a two-colour table keep their low bit, as
        // in a 1-bit picture.
        const QByteArray table("\x10\x20\x30\xF0\xE0\xD0", 6);
        const QByteArray file = header(5, 2, 0) + descriptor(0, 0, 4, 1, 0x80) + table
                                + literalImageData({0, 255, 7, 1}, 8) + descriptor(0, 1, 1, 1, 0x80) + table
                                + literalImageData({6}, 8) + ";";
        CPicture pic;
        ASSERT_TRUE(decodeGif(pic, file)) << pic.GetErrorText();
        ASSERT_EQ(pic.GetBitsPerPixel(), 24);
        const int expected[][3] = {{0x10, 0x20, 0x30}, {0xF0, 0xE0, 0xD0}, {0xF0, 0xE0, 0xD0}, {0xF0, 0xE0, 0xD0}};
        for (long x = 0; x < 4; ++x) {
            const RGBQUAD c = pic.GetColourAt(x, 1);
            EXPECT_EQ((std::vector<int>{c.rgbRed, c.rgbGreen, c.rgbBlue}),
                      (std::vector<int>{expected[x][0], expected[x][1], expected[x][2]}))
                << x;
        }
        EXPECT_EQ(pic.GetColourAt(0, 0).rgbRed, 0x10); // the second frame's even index
    }
    {
        // Disposal 2 over a later image with a local table of 256 colours
        // on a 1-bit canvas: the palette copy stops at the canvas's 2 entries.
        QByteArray local = descriptor(0, 0, 2, 1, 0x87);
        for (int i = 0; i < 256; ++i)
            local.append(char(i)).append(char(i)).append(char(i));
        const QByteArray file = header(2, 1, 2) + control(2, -1) + descriptor(0, 0, 2, 1)
                                + literalImageData({1, 0}, 2) + control(0, 9) + local
                                + literalImageData({9, 200}, 8) + ";";
        CPicture pic;
        pic.SetFrameToLoad(1);
        ASSERT_TRUE(decodeGif(pic, file)) << pic.GetErrorText();
        EXPECT_EQ(pic.GetBitsPerPixel(), 1);
        EXPECT_EQ(pic.GetColourCount(), 2u);
        // Disposal 2 filled with every bit set; the transparent 9 leaves it.
        EXPECT_EQ(indicesTopDown(pic), QByteArray("\x01\x00", 2));
    }
}

TEST(GifDecoder, FuzzFindingsReplay)
{
    // Inputs the fuzzer stopped on, decoded the ways it decodes them.
    const QDir dir(path(QStringLiteral("crash")));
    const QStringList files = dir.entryList({QStringLiteral("gif-*.bin")}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = readFile(QStringLiteral("crash/") + name);
        for (int round = 0; round < 3; ++round) {
            CPicture pic;
            if (round == 1) {
                pic.SetFrameToLoad(2);
                pic.SetKeepAllFrames(true);
            } else if (round == 2) {
                pic.SetCancelRequest(CPicture::SizeOnlyRequest);
            }
            if (!decodeGif(pic, bytes)) {
                EXPECT_STRNE(pic.GetErrorText(), "");
            }
        }
    }
}

TEST(GifDecoder, HugeCanvasFromAZeroScreenStaysBounded)
{
    // Logical screen 0 x 0, first image 26262 x 38429 at 1 bit (126 MB, within
    // the limit): the first frame is delivered; keeping every frame up to the
    // third one would pass the limit and fails.
    const QByteArray bytes = readFile(QStringLiteral("crash/gif-timeout-huge-canvas.bin"));
    CPicture first;
    ASSERT_TRUE(decodeGif(first, bytes));
    EXPECT_EQ(first.GetWidth(), 26262u);
    EXPECT_EQ(first.GetBitsPerPixel(), 1);
    CPicture all;
    all.SetFrameToLoad(2);
    all.SetKeepAllFrames(true);
    EXPECT_FALSE(decodeGif(all, bytes));
    EXPECT_STREQ(all.GetErrorText(), "PICTURE_MAX_MEMORY exceeded");
}

TEST(GifDecoder, ReadingWorkStaysInProportionToTheFile)
{
    // Every image's damaged data runs on to the end of the file, and the
    // reader goes back to the next descriptor after each one. A few such
    // images are all counted, as before; a long run of them (240 KB, once
    // seconds of reading) is read only up to a small multiple of its size, and
    // the images counted by then are decoded.
    const struct { int images; bool allCounted; } cases[] = {{6, true}, {12000, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.images);
        const QByteArray bytes = slowfiles::gifDamagedImageEvery20Bytes(c.images);
        CPictureGIF gif;
        ASSERT_TRUE(decodeWithGifDecoder(gif, bytes)) << gif.GetErrorText();
        EXPECT_EQ(gif.GetWidth(), 1u);
        if (c.allCounted) {
            EXPECT_EQ(gif.GetFramesFound(), c.images);
        }
        EXPECT_GE(gif.GetFramesFound(), 1);
        EXPECT_LE(gif.GetWorkDone().bytesRead, 32u * uint64_t(bytes.size()) + (1u << 20));
    }
}

TEST(GifDecoder, ComposedFramesCostTheRowsTheyDecode)
{
    // 100 frames declaring 9000 x 9000 pixels with one byte of data each
    // (2 KB, once seconds and a quarter of a gigabyte): each frame paints the
    // one row its data reaches; the rows it never reaches keep what the
    // canvas held.
    const QByteArray bytes = slowfiles::gifComposedFramesOfOneByte(100, 9000, 9000);
    CPictureGIF gif;
    ASSERT_TRUE(decodeWithGifDecoder(gif, bytes)) << gif.GetErrorText();
    EXPECT_EQ(gif.GetWidth(), 9001u);
    EXPECT_EQ(gif.GetBitsPerPixel(), 24);
    EXPECT_LE(gif.GetWorkDone().pixelsPainted, 100u * 9000u);
    const long top = 9000;
    const RGBQUAD first = gif.GetColourAt(0, top);  // the decoded pixel: colour 1
    const RGBQUAD rest = gif.GetColourAt(1, top);   // the rest of its row: colour 0
    const RGBQUAD below = gif.GetColourAt(0, 0);    // never reached: the empty canvas
    EXPECT_EQ((std::vector<int>{first.rgbRed, first.rgbGreen, first.rgbBlue}), (std::vector<int>{0xF0, 0xE0, 0xD0}));
    EXPECT_EQ((std::vector<int>{rest.rgbRed, rest.rgbGreen, rest.rgbBlue}), (std::vector<int>{0x10, 0x20, 0x30}));
    EXPECT_EQ((std::vector<int>{below.rgbRed, below.rgbGreen, below.rgbBlue}), (std::vector<int>{0, 0, 0}));
}

TEST(GifDecoder, ComposedFramesDecodeWithinAPixelBudget)
{
    // Three frames of 9000 x 9000 pixels of one colour each, 35 KB apiece:
    // together they would make the decoder write 243 million pixels. The
    // first is painted whole, the second down to where the budget the file's
    // size gives runs out, the third not at all.
    const QByteArray bytes = slowfiles::gifComposedFlatFrames(3, 9000, 9000);
    CPictureGIF gif;
    ASSERT_TRUE(decodeWithGifDecoder(gif, bytes)) << gif.GetErrorText();
    EXPECT_EQ(gif.GetFramesFound(), 3);
    const uint64_t budget = (uint64_t(128) << 20) + 64 * uint64_t(bytes.size());
    EXPECT_GT(gif.GetWorkDone().pixelsPainted, 81000000u);
    EXPECT_LE(gif.GetWorkDone().pixelsPainted, budget + 9000);
    const long top = 9000;
    EXPECT_EQ(gif.GetColourAt(0, top).rgbRed, 20);       // the second frame's first rows
    EXPECT_EQ(gif.GetColourAt(8999, 1).rgbRed, 10);      // the first frame's last row
    EXPECT_EQ(gif.GetColourAt(9000, top).rgbRed, 0);     // beyond every frame
}
