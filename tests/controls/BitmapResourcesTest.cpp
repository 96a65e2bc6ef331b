#include "BitmapResources.h"

#include <gtest/gtest.h>

TEST(BitmapResourcesTest, EveryPictureAtItsSize)
{
    const struct
    {
        int id;
        QSize size;
    } pictures[] = {
        {387, {430, 344}}, {474, {160, 20}}, {475, {11, 20}}, {476, {160, 20}}, {477, {11, 20}},
        {482, {400, 40}},  {483, {400, 22}}, {484, {7, 9}},   {485, {7, 9}},
    };
    for (const auto &p : pictures) {
        SCOPED_TRACE(p.id);
        const QImage image = LoadBitmapResource(p.id);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), p.size);
    }
    EXPECT_TRUE(LoadBitmapResource(0).isNull());
    EXPECT_TRUE(LoadBitmapResource(999).isNull());
}

TEST(BitmapResourcesTest, KeyedPicturesHaveTheirCornerColourAround)
{
    // Thumbs and the start-up picture are drawn on magenta, opaque and
    // without blending at their edge.
    for (int id : {387, 475, 477, 484, 485}) {
        SCOPED_TRACE(id);
        const QImage image = LoadBitmapResource(id);
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 255));
    }
}

TEST(BitmapResourcesTest, CornerColourBecomesSeeThrough)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    image.setPixel(1, 0, qRgb(10, 20, 30));
    image.setPixel(2, 1, qRgb(255, 0, 254)); // close is not equal
    const QImage keyed = TransparentByCornerPixel(image).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(keyed.pixel(0, 1)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgba(10, 20, 30, 255));
    EXPECT_EQ(keyed.pixel(2, 1), qRgba(255, 0, 254, 255));
    EXPECT_TRUE(TransparentByCornerPixel(QImage()).isNull());

    // The thumb keeps only its marker.
    const QImage thumb = TransparentByCornerPixel(LoadBitmapResource(484)).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(thumb.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(thumb.pixel(3, 0)), 255);
    EXPECT_EQ(qAlpha(thumb.pixel(3, 8)), 255);
}
