#include "CPicture.h"

#include <gtest/gtest.h>

TEST(CPicture, NewPictureHoldsTheDefaults)
{
    CPicture pic(CPicture::TypeGIF);
    EXPECT_FALSE(pic.IsValid());
    EXPECT_EQ(pic.GetWidth(), 0u);
    EXPECT_EQ(pic.GetType(), uint32_t(CPicture::TypeGIF));
    EXPECT_EQ(pic.GetXDPI(), 96);
    EXPECT_EQ(pic.GetTransIndex(), -1);
    EXPECT_FLOAT_EQ(pic.GetJpegQuality(), 90.0f);
    EXPECT_STREQ(pic.GetLastError(), "");
}

TEST(CPicture, TypeFromExtensionUsesTheFirstThreeLetters)
{
    const struct { const char *ext; int type; } cases[] = {
        {"bmp", 1}, {"Bmp", 1}, {"gif", 2}, {"jpg", 3}, {"JPEG", 3}, {"jpe", 3}, {"jfif", 3},
        {"ico", 5}, {"CUR", 5}, {"png", 0}, {"tif", 0}, {"", 0}, {"bm", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CPicture::GetTypeFromExtension(QString::fromLatin1(c.ext)), c.type) << c.ext;
}
