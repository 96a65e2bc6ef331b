#include "CPictureICO.h"
#include "FixtureRef.h"

#include <gtest/gtest.h>

// Every icon and cursor fixture decodes to its reference: the mask turned into
// a transparent index, colour or alpha plane.
TEST(IcoDecode, FixturesEqualTheirReferences)
{
    const QStringList paths = fixture::files(QStringLiteral("ico"), {QStringLiteral("*.ico"), QStringLiteral("*.cur")});
    ASSERT_GE(paths.size(), 9);
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        fixture::Ref ref;
        ASSERT_TRUE(fixture::readRef(path + QStringLiteral(".ref"), ref));
        CPicture pic(path, CPicture::TypeICO);
        EXPECT_TRUE(fixture::matches(pic, ref));
        EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeICO));
    }
}
