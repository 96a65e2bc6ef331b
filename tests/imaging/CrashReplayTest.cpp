// Inputs that once broke a decoder under the fuzzers (fixtures/crash, named
// <decoder>-<what>.bin): each is decoded again, by its decoder and by the
// guess, and must end cleanly.
#include "FixtureRef.h"

#include <gtest/gtest.h>

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
