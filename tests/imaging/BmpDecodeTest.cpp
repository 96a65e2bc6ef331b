#include "CPictureBMP.h"
#include "FixtureRef.h"

#include <gtest/gtest.h>

// Every BMP fixture decodes to its reference, as BMP and with the type guessed,
// from a file on disk and from memory.
TEST(BmpDecode, FixturesEqualTheirReferences)
{
    const QStringList paths = fixture::files(QStringLiteral("bmp"), {QStringLiteral("*.bmp"), QStringLiteral("*.dib")});
    ASSERT_GE(paths.size(), 20);
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        fixture::Ref ref;
        ASSERT_TRUE(fixture::readRef(path + QStringLiteral(".ref"), ref));

        CPicture byType(path, CPicture::TypeBMP);
        EXPECT_TRUE(fixture::matches(byType, ref));
        EXPECT_EQ(byType.GetImageType(), uint32_t(CPicture::TypeBMP));

        CPicture guessed;
        EXPECT_TRUE(fixture::decodeBytes(guessed, fixture::read(path), CPicture::TypeUnknown));
        EXPECT_TRUE(fixture::matches(guessed, ref));
    }
}
