// Inputs that once broke a decoder under the fuzzers (fixtures/crash, named
// <decoder>-<what>.bin): each is decoded again, by its decoder and by the
// guess, and must end cleanly.
#include "FixtureRef.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

TEST(CrashReplay, EveryFoundCrashDecodesCleanly)
{
    const QStringList paths = fixture::files(QStringLiteral("crash"), {QStringLiteral("*.bin")});
    ASSERT_FALSE(paths.isEmpty());
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = fixture::read(path);
        const QString name = QFileInfo(path).fileName();
        const int type = CPicture::GetTypeFromExtension(name.section(QLatin1Char('-'), 0, 0));
        for (int t : {type, int(CPicture::TypeUnknown)}) {
            CPicture pic;
            const bool ok = fixture::decodeBytes(pic, bytes, t);
            // Whatever the outcome, the picture is whole: a failure says why.
            if (!ok) {
                EXPECT_STRNE(pic.GetErrorText(), "");
            }
            if (pic.IsValid())
                (void)pic.GetColourAt(long(pic.GetWidth()) - 1, 0);
        }
    }
}

TEST(CrashReplay, AHugeResolutionIsKeptWithinTheHeader)
{
    // The file claims 545 million dots per inch before its palette runs short.
    CPicture pic;
    EXPECT_FALSE(fixture::decodeBytes(pic, fixture::read(fixture::dir(QStringLiteral("crash/bmp-dpi-overflow.bin"))),
                                      CPicture::TypeBMP));
    EXPECT_STREQ(pic.GetErrorText(), "Error reading BMP info"); // its palette is cut short
    pic.Create(1, 1, 8);
    pic.SetXDPI(INT32_MAX);
    EXPECT_EQ(pic.GetBitmapHeader().biXPelsPerMeter, INT32_MAX);
}

namespace {

// Bytes of [data, data + size) that the process has touched (pages resident
// in memory); pages of a fresh large allocation stay out until written.
size_t residentBytes(const void *data, size_t size)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<uintptr_t>(data) & ~(uintptr_t(page) - 1);
    const size_t length = reinterpret_cast<uintptr_t>(data) + size - start;
    std::vector<unsigned char> pages((length + page - 1) / page);
    if (mincore(reinterpret_cast<void *>(start), length, pages.data()) != 0)
        return size;
    size_t resident = 0;
    for (unsigned char p : pages)
        resident += (p & 1) ? page : 0;
    return resident;
}

} // namespace

TEST(CrashReplay, ATallPictureCutShortCostsWhatTheFileHolds)
{
    // 55 bytes declaring 20 x 4 259 851 pixels of 32 bits stored top row
    // first: the picture (255 MB) stays as created where the file has no
    // rows, instead of being turned over whole.
    CPicture pic;
    ASSERT_TRUE(fixture::decodeBytes(pic, fixture::read(fixture::dir(QStringLiteral("crash/bmp-timeout-tall-top-down.bin"))),
                                     CPicture::TypeBMP));
    EXPECT_EQ(pic.GetWidth(), 20u);
    EXPECT_EQ(pic.GetHeight(), 4259851u);
    const size_t pixels = pic.GetBitmapHeader().biSizeImage;
    EXPECT_LE(residentBytes(pic.GetRowPointer(), pixels), size_t(1) << 20);
}
