#include "CPicIOFile.h"
#include "FixtureRef.h"

#include "TestFolders.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QString copyAs(const QString &fixturePath, const QString &name)
{
    const QString path = TestFolders::file(name);
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(fixturePath, path));
    return path;
}

} // namespace

TEST(LoadFile, ByFileAndTypeFallsBackToTheGuess)
{
    const QString bmpPath = fixture::dir(QStringLiteral("bmp/pil-24.bmp"));
    fixture::Ref ref;
    ASSERT_TRUE(fixture::readRef(bmpPath + QStringLiteral(".ref"), ref));

    // The wrong type (a BMP called .jpg) and no type (.png) are both guessed.
    CPicture wrongType(copyAs(bmpPath, QStringLiteral("logo.jpg")), CPicture::TypeJPG);
    EXPECT_TRUE(fixture::matches(wrongType, ref));
    EXPECT_EQ(wrongType.GetImageType(), uint32_t(CPicture::TypeBMP));
    const QString png = copyAs(bmpPath, QStringLiteral("logo.png"));
    CPicture noType(png, CPicture::GetTypeFromExtension(QStringLiteral("png")));
    EXPECT_TRUE(fixture::matches(noType, ref));

    // Resolution from the file: 3780 pixels per metre is 96 dpi, 2835 is 72.
    EXPECT_EQ(noType.GetXDPI(), 96);
    CPicture seventyTwo(fixture::dir(QStringLiteral("bmp/own-topdown24.bmp")), CPicture::TypeBMP);
    EXPECT_EQ(seventyTwo.GetXDPI(), 72);
    EXPECT_EQ(seventyTwo.GetYDPI(), 72);

    // Content no reader knows: no picture, the guess's text; with a type
    // given, that reader's text is put back.
    const QString junk = TestFolders::file(QStringLiteral("junk.bmp"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100, 'z'));
    }
    CPicture unknown(junk, CPicture::TypeUnknown);
    EXPECT_FALSE(unknown.IsValid());
    EXPECT_STREQ(unknown.GetErrorText(), "Decode: Unknown or wrong format");
    EXPECT_EQ(unknown.GetWidth(), 0u);
    CPicture typed(junk, CPicture::TypeBMP);
    EXPECT_FALSE(typed.IsValid());
    EXPECT_STREQ(typed.GetErrorText(), "Error reading BMP info");

    CPicture missing(TestFolders::file(QStringLiteral("missing.bmp")), CPicture::TypeBMP);
    EXPECT_FALSE(missing.IsValid());
}

TEST(LoadFile, SizeOnlyAndCancelledBmp)
{
    const QByteArray bytes = fixture::read(fixture::dir(QStringLiteral("bmp/own-topdown24.bmp")));
    CPicture size;
    size.SetCancelRequest(CPicture::SizeOnlyRequest);
    EXPECT_TRUE(fixture::decodeBytes(size, bytes, CPicture::TypeBMP));
    EXPECT_FALSE(size.IsValid());
    EXPECT_EQ(size.GetWidth(), 13u);
    EXPECT_EQ(size.GetHeight(), 7u); // top-down rows: the height's absolute value
    EXPECT_EQ(size.GetImageType(), uint32_t(CPicture::TypeBMP));
    EXPECT_STREQ(size.GetErrorText(), "output dimensions returned");

    CPicture cancelled;
    cancelled.SetCancelRequest(3);
    EXPECT_FALSE(fixture::decodeBytes(cancelled, bytes, CPicture::TypeBMP));
    EXPECT_STREQ(cancelled.GetErrorText(), "Cancelled");
    EXPECT_FALSE(cancelled.IsValid());
}

TEST(LoadFile, IconFramesAreChosenAndCounted)
{
    const QString path = fixture::dir(QStringLiteral("ico/ico-two.ico"));
    fixture::Ref first, second;
    ASSERT_TRUE(fixture::readRef(path + QStringLiteral(".ref"), first));
    ASSERT_TRUE(fixture::readRef(path + QStringLiteral(".1.ref"), second));

    CPicture pic;
    CPicIOFile file;
    ASSERT_TRUE(file.Open(path, QStringLiteral("rb")));
    ASSERT_TRUE(pic.Decode(&file, CPicture::TypeICO));
    EXPECT_TRUE(fixture::matches(pic, first));
    EXPECT_EQ(pic.GetFramesFound(), 2);

    pic.SetFrameToLoad(1);
    file.Seek(0, 0);
    ASSERT_TRUE(pic.Decode(&file, CPicture::TypeICO));
    EXPECT_TRUE(fixture::matches(pic, second));

    pic.SetFrameToLoad(2);
    file.Seek(0, 0);
    EXPECT_FALSE(pic.Decode(&file, CPicture::TypeICO));
    EXPECT_EQ(pic.GetFramesFound(), 2);
    EXPECT_TRUE(fixture::matches(pic, second)); // kept

    // Icons and cursors are found by the guess too.
    CPicture guessed(fixture::dir(QStringLiteral("ico/cur-8bit.cur")), CPicture::TypeUnknown);
    EXPECT_TRUE(guessed.IsValid());
    EXPECT_EQ(guessed.GetImageType(), uint32_t(CPicture::TypeICO));
}
