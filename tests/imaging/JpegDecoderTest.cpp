#include "CodecFixtures.h"
#include "CPictureJPG.h"
#include "SlowFiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace codecfx;

namespace {

// Each picture decodes to exactly the samples djpeg writes for it (the same
// library), or for CMYK to the inks converted the picture's way.
struct JpegCase
{
    const char *name;
    const char *reference;
    uint16_t bpp;
};

const JpegCase jpegCases[] = {
    {"jpg/rgb.jpg", "jpg/rgb.ppm", 24},
    {"jpg/rgb444.jpg", "jpg/rgb444.ppm", 24},
    {"jpg/grey.jpg", "jpg/grey.pgm", 8},
    {"jpg/progressive.jpg", "jpg/progressive.ppm", 24},
    {"jpg/restart.jpg", "jpg/restart.ppm", 24},
    {"jpg/restart-damaged.jpg", "jpg/restart-damaged.ppm", 24},
    {"jpg/truncated.jpg", "jpg/truncated.ppm", 24},
    {"jpg/truncated-scan.jpg", "jpg/truncated-scan.ppm", 24},
    {"jpg/cmyk.jpg", "jpg/cmyk.ppm", 24},
};

// A JPEG stream made of the given marker segments (each: marker byte, body).
QByteArray jpegStream(std::initializer_list<std::pair<uint8_t, QByteArray>> segments, const QByteArray &tail = {})
{
    QByteArray out("\xFF\xD8", 2);
    for (const auto &[marker, body] : segments) {
        out.append(char(0xFF));
        out.append(char(marker));
        const int length = int(body.size()) + 2;
        out.append(char(length >> 8));
        out.append(char(length & 0xFF));
        out.append(body);
    }
    out.append(tail);
    return out;
}

// A baseline frame header: precision 8, height, width, then components with
// ids 1.., sampling 1x1 and quantisation table 0.
QByteArray frameHeader(int width, int height, int components)
{
    QByteArray b;
    b.append(char(8));
    b.append(char(height >> 8)).append(char(height & 0xFF));
    b.append(char(width >> 8)).append(char(width & 0xFF));
    b.append(char(components));
    for (int c = 1; c <= components; ++c)
        b.append(char(c)).append(char(0x11)).append(char(0));
    return b;
}

QByteArray scanHeader(int components)
{
    QByteArray b;
    b.append(char(components));
    for (int c = 1; c <= components; ++c)
        b.append(char(c)).append(char(0x00));
    b.append(char(0)).append(char(63)).append(char(0));
    return b;
}

QByteArray quantTable()
{
    QByteArray b(65, char(1));
    b[0] = 0;
    return b;
}

} // namespace

TEST(JpegDecoder, PixelsEqualTheLibraryReference)
{
    for (const auto &c : jpegCases) {
        SCOPED_TRACE(c.name);
        CPicture pic(QString(path(QString::fromLatin1(c.name))), CPicture::TypeJPG);
        ASSERT_TRUE(pic.IsValid()) << pic.GetErrorText();
        const Pnm ref = readPnm(QString::fromLatin1(c.reference));
        ASSERT_GT(ref.width, 0);
        EXPECT_EQ(pic.GetWidth(), uint32_t(ref.width));
        EXPECT_EQ(pic.GetHeight(), uint32_t(ref.height));
        EXPECT_EQ(pic.GetBitsPerPixel(), c.bpp);
        EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeJPG));
        const QByteArray got = samplesTopDown(pic);
        EXPECT_EQ(firstDifference(got, ref.samples), -1);
    }
}

TEST(JpegDecoder, GreyscaleHasAGreyPalette)
{
    CPicture pic(path(QStringLiteral("jpg/grey.jpg")), CPicture::TypeJPG);
    ASSERT_TRUE(pic.IsValid());
    EXPECT_EQ(pic.GetColourCount(), 256u);
    EXPECT_TRUE(pic.HasGreyRamp());
}

TEST(JpegDecoder, FormatIsGuessedFromTheContent)
{
    // Type 0: BMP is tried first and fails, then the JPEG reader succeeds.
    CPicture pic;
    ASSERT_TRUE(decodeBytes(pic, readFile(QStringLiteral("jpg/progressive.jpg")), CPicture::TypeUnknown));
    EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeJPG));
    EXPECT_EQ(samplesTopDown(pic), readPnm(QStringLiteral("jpg/progressive.ppm")).samples);
}

TEST(JpegDecoder, ResolutionComesFromTheJfifDensity)
{
    const struct { const char *name; int x, y; } cases[] = {
        {"jpg/rgb.jpg", 96, 96},          // unit 0, 1:1
        {"jpg/dpi-inch.jpg", 300, 150},   // dots per inch
        {"jpg/dpi-cm.jpg", 127, 51},      // per centimetre: 50 x 2.54, 20 x 2.54 rounded
        {"jpg/dpi-ratio.jpg", 96, 144},  // unit 0, 2:3: only the aspect
    };
    for (const auto &c : cases) {
        CPicture pic(path(QString::fromLatin1(c.name)), CPicture::TypeJPG);
        ASSERT_TRUE(pic.IsValid()) << c.name;
        EXPECT_EQ(pic.GetXDPI(), c.x) << c.name;
        EXPECT_EQ(pic.GetYDPI(), c.y) << c.name;
    }
}

TEST(JpegDecoder, SizeOnlyReadsTheHeader)
{
    CPicture pic;
    pic.SetCancelRequest(CPicture::SizeOnlyRequest);
    ASSERT_TRUE(decodeBytes(pic, readFile(QStringLiteral("jpg/rgb.jpg")), CPicture::TypeJPG));
    EXPECT_FALSE(pic.IsValid());
    EXPECT_EQ(pic.GetWidth(), 61u);
    EXPECT_EQ(pic.GetHeight(), 47u);
    EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeJPG));
}

TEST(JpegDecoder, CancelRequestStopsTheRows)
{
    CPicture pic;
    pic.SetCancelRequest(1);
    EXPECT_FALSE(decodeBytes(pic, readFile(QStringLiteral("jpg/rgb.jpg")), CPicture::TypeJPG));
    EXPECT_STREQ(pic.GetErrorText(), "Cancelled");
    EXPECT_FALSE(pic.IsValid());
}

TEST(JpegDecoder, NullFileFails)
{
    CPictureJPG jpg;
    EXPECT_FALSE(jpg.Decode(nullptr));
    EXPECT_STREQ(jpg.GetErrorText(), "null file handler");
}

TEST(JpegDecoder, HostileStreamsFailWithTheirText)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
        const char *text;
    } cases[] = {
        {"empty file", QByteArray(), "Empty input file"},
        {"not a JPEG", QByteArray("hello world"), "Not a JPEG file: starts with 0x68 0x65"},
        {"header cut short", QByteArray("\xFF\xD8\xFF\xDB\x00", 5), nullptr},
        {"two components",
         jpegStream({{0xDB, quantTable()}, {0xC0, frameHeader(8, 8, 2)}, {0xDA, scanHeader(2)}}, QByteArray(64, 0)),
         "JPEG: unsupported number of components"},
        {"five components",
         jpegStream({{0xDB, quantTable()}, {0xC0, frameHeader(8, 8, 5)}, {0xDA, scanHeader(1)}}, QByteArray(64, 0)),
         "JPEG: unsupported number of components"},
        {"oversized colour picture",
         jpegStream({{0xDB, quantTable()}, {0xC0, frameHeader(65000, 65000, 3)}, {0xDA, scanHeader(3)}},
                    QByteArray(64, 0)),
         "PICTURE_MAX_MEMORY exceeded"},
        {"oversized grey picture, one row past the limit",
         jpegStream({{0xDB, quantTable()}, {0xC0, frameHeader(16384, 16385, 1)}, {0xDA, scanHeader(1)}},
                    QByteArray(64, 0)),
         "PICTURE_MAX_MEMORY exceeded"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        // The target keeps what it held before.
        CPicture pic;
        ASSERT_NE(pic.Create(3, 2, 8), nullptr);
        EXPECT_FALSE(decodeBytes(pic, c.bytes, CPicture::TypeJPG));
        EXPECT_TRUE(pic.IsValid());
        EXPECT_EQ(pic.GetWidth(), 3u);
        if (c.text)
            EXPECT_STREQ(pic.GetErrorText(), c.text);
        else
            EXPECT_STRNE(pic.GetErrorText(), "");
    }
}

TEST(JpegDecoder, FuzzFindingsReplay)
{
    // Inputs the fuzzer stopped on, decoded the ways it decodes them.
    const QDir dir(path(QStringLiteral("crash")));
    for (const QString &name : dir.entryList({QStringLiteral("jpg-*.bin")}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = readFile(QStringLiteral("crash/") + name);
        for (uint32_t option : {0u, CPictureJPG::OptionGrey, CPictureJPG::OptionQuantise}) {
            CPicture pic;
            pic.SetDecoderOptions(option, CPicture::TypeJPG);
            if (!decodeBytes(pic, bytes, CPicture::TypeJPG)) {
                EXPECT_STRNE(pic.GetErrorText(), "");
            }
        }
    }
}

TEST(JpegDecoder, EndlessScansAreRefused)
{
    // A progressive file whose last scan is repeated 600 times.
    const QByteArray file = readFile(QStringLiteral("jpg/progressive.jpg"));
    const qsizetype lastScan = file.lastIndexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(lastScan, 0);
    const QByteArray scan = file.mid(lastScan, file.size() - 2 - lastScan);
    QByteArray many = file.left(lastScan);
    for (int i = 0; i < 600; ++i)
        many.append(scan);
    many.append("\xFF\xD9", 2);
    CPicture pic;
    EXPECT_FALSE(decodeBytes(pic, many, CPicture::TypeJPG));
    EXPECT_STREQ(pic.GetErrorText(), "JPEG: more than 500 scans");

    // The original's dozen scans are fine.
    CPicture ok;
    EXPECT_TRUE(decodeBytes(ok, file, CPicture::TypeJPG));
}

TEST(JpegDecoder, ScansOverLargePicturesAreBoundedByTheFile)
{
    // Progressive greyscale files of one byte per scan: each scan goes over
    // every block of the picture however little it holds. A few scans over a
    // large picture are decoded; many are refused once the blocks they went
    // over pass the budget the file's size gives; a picture whose
    // coefficients alone pass the memory limit is refused before any scan.
    const struct
    {
        int size, scans;
        const char *text; // null: decoded
        uint64_t maxBlocksRead;
    } cases[] = {
        {4096, 3, nullptr, 3u * 512 * 512},
        {8192, 497, "JPEG: too many scans for the size of the file", 4u * 1024 * 1024 + 32u * 8192},
        {16384, 497, "PICTURE_MAX_MEMORY exceeded", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.size);
        const QByteArray bytes = slowfiles::jpegProgressiveGrey(c.size, c.size, c.scans);
        std::vector<uint8_t> copy(bytes.begin(), bytes.end());
        CPicMemFile file(copy.data(), copy.size());
        CPictureJPG jpg;
        const bool ok = jpg.Decode(&file);
        if (c.text) {
            EXPECT_FALSE(ok);
            EXPECT_STREQ(jpg.GetErrorText(), c.text);
        } else {
            EXPECT_TRUE(ok) << jpg.GetErrorText();
            EXPECT_EQ(jpg.GetWidth(), uint32_t(c.size));
        }
        EXPECT_LE(jpg.GetBlocksRead(), c.maxBlocksRead);
    }
}
