#include "CImgFromListe.h"
#include "ImageList.h"
#include "TestFolders.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A strip of three 16-pixel cells: red, cyan (the transparent colour) with
// a blue dot, green.
QImage strip()
{
    QImage image(48, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    for (int y = 0; y < 16; ++y) {
        for (int x = 16; x < 32; ++x)
            image.setPixelColor(x, y, QColor(0, 255, 255));
        for (int x = 32; x < 48; ++x)
            image.setPixelColor(x, y, QColor(0, 255, 0));
    }
    image.setPixelColor(24, 8, QColor(0, 0, 255));
    return image;
}

QImage cellOf(const ImageList &list, int index)
{
    return list.Pixmap(index).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(ImageListTest, StripsSvgThemeIconsAndMissingIndexes)
{
    ImageList list(16);
    EXPECT_EQ(list.AddStrip(strip()), 0);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(cellOf(list, 0).pixelColor(3, 3), QColor(255, 0, 0));
    EXPECT_EQ(cellOf(list, 1).pixelColor(3, 3).alpha(), 0);
    EXPECT_EQ(cellOf(list, 1).pixelColor(8, 8), QColor(0, 0, 255));
    EXPECT_EQ(cellOf(list, 2).pixelColor(15, 15), QColor(0, 255, 0));

    const QString svg = TestFolders::writeFile(
        QStringLiteral("swatch.svg"),
        "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10' viewBox='0 0 10 10'>"
        "<rect x='0' y='0' width='10' height='5' fill='#0000ff'/></svg>");
    ImageList big(24);
    ASSERT_TRUE(big.SetSvg(5, svg));
    EXPECT_FALSE(big.SetSvg(6, TestFolders::file(QStringLiteral("missing.svg"))));
    EXPECT_EQ(big.Count(), 6);
    const QImage drawn = cellOf(big, 5);
    EXPECT_EQ(drawn.width(), 24);
    EXPECT_EQ(drawn.pixelColor(12, 2), QColor(0, 0, 255));
    EXPECT_EQ(drawn.pixelColor(12, 20).alpha(), 0);

    // The desktop theme, with Breeze behind it.
    EXPECT_TRUE(big.SetThemeIcon(7, QStringLiteral("document-new")));
    EXPECT_TRUE(big.HasImage(7));
    EXPECT_FALSE(big.SetThemeIcon(8, QStringLiteral("no-such-icon-anywhere")));

    // Indexes without an image give nothing and draw nothing.
    for (int index : {-1, 0, 6, 8, 100}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(big.HasImage(index));
        EXPECT_TRUE(big.Pixmap(index).isNull());
        QImage canvas(24, 24, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        big.Draw(p, index, QPoint(0, 0));
        p.end();
        EXPECT_EQ(canvas.pixelColor(12, 2), QColor(Qt::white));
    }
}

TEST(ImageListTest, StaticControlPaintsTheImageCentred)
{
    ImageList list(16);
    list.AddStrip(strip());
    CImgFromListe control;
    control.resize(40, 30);
    const auto paint = [&] {
        QImage canvas(40, 30, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        control.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
        return canvas;
    };
    // Nothing without a list or an index.
    control.SetImage(0);
    EXPECT_EQ(paint().pixelColor(20, 15), QColor(Qt::white));
    control.SetImageList(&list);
    control.SetImage(-1);
    EXPECT_EQ(paint().pixelColor(20, 15), QColor(Qt::white));

    control.SetImage(2);
    const QImage shown = paint();
    // (40 - 16) / 2 = 12 and (30 - 16) / 2 = 7.
    EXPECT_EQ(shown.pixelColor(12, 7), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(27, 22), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(11, 7), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(28, 22), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(12, 6), QColor(Qt::white));
}

} // namespace
