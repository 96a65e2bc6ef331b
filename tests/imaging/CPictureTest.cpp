#include "CPicture.h"
#include "CPictureIterator.h"

#include <QImage>
#include <QPainter>

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

TEST(CPicture, CreateRefusesEmptyAndOversizedPictures)
{
    CPicture pic;
    EXPECT_EQ(pic.Create(0, 10, 8), nullptr);
    EXPECT_STREQ(pic.GetLastError(), "CPicture::Create : width and height must be greater than zero");
    EXPECT_EQ(pic.Create(10, 0, 8), nullptr);

    // Exactly 268 435 456 bytes of pixels are accepted, one more row is not.
    ASSERT_NE(pic.Create(16384, 16384, 8), nullptr);
    EXPECT_EQ(pic.GetHeader().biSizeImage, 268435456u);
    pic.Destroy();
    EXPECT_EQ(pic.Create(16384, 16385, 8), nullptr);
    EXPECT_STREQ(pic.GetLastError(), "PICTURE_MAX_MEMORY exceeded");

    // Products that wrap in 32 bits, and padded rows that exceed the limit
    // although the bits alone would not.
    EXPECT_EQ(pic.Create(65536, 65536, 8), nullptr);
    EXPECT_EQ(pic.Create(0xFFFFFFFFu, 0xFFFFFFFFu, 24), nullptr);
    EXPECT_EQ(pic.Create(1, 200000000, 8), nullptr);
    EXPECT_STREQ(pic.GetLastError(), "PICTURE_MAX_MEMORY exceeded");
    EXPECT_FALSE(pic.IsValid());
}

TEST(CPicture, CreateNormalisesBitsAndLaysOutRows)
{
    const struct { uint32_t asked, bpp, colours; } cases[] = {
        {0, 1, 2}, {1, 1, 2}, {2, 4, 16}, {4, 4, 16}, {5, 8, 256}, {8, 8, 256}, {9, 24, 0}, {16, 24, 0}, {32, 24, 0},
    };
    for (const auto &c : cases) {
        CPicture pic;
        ASSERT_NE(pic.Create(5, 3, c.asked, CPicture::TypeGIF), nullptr);
        EXPECT_EQ(pic.GetBpp(), c.bpp) << c.asked;
        EXPECT_EQ(pic.GetNumColors(), c.colours) << c.asked;
        EXPECT_EQ(pic.GetPaletteSize(), c.colours * 4);
        EXPECT_EQ(pic.GetEffWidth(), ((5 * c.bpp + 31) / 32) * 4);
        EXPECT_EQ(pic.GetHeader().biSizeImage, pic.GetEffWidth() * 3);
        EXPECT_EQ(pic.GetType(), uint32_t(CPicture::TypeGIF));
        EXPECT_EQ(pic.GetBits(1), pic.GetBits(0) + pic.GetEffWidth());
        EXPECT_EQ(pic.GetBits(3), nullptr);
    }
}

TEST(CPicture, ResolutionAndTransparencySettings)
{
    CPicture pic;
    pic.Create(4, 4, 4);
    pic.SetXDPI(0);
    pic.SetYDPI(-5);
    EXPECT_EQ(pic.GetXDPI(), 96);
    EXPECT_EQ(pic.GetYDPI(), 96);
    pic.SetXDPI(300);
    EXPECT_EQ(pic.GetXDPI(), 300);
    EXPECT_EQ(pic.GetHeader().biXPelsPerMeter, 11811);
    EXPECT_EQ(static_cast<const BITMAPINFOHEADER *>(pic.GetDIB())->biXPelsPerMeter, 11811);

    pic.SetTransIndex(7);
    EXPECT_EQ(pic.GetTransIndex(), 7);
    pic.SetTransIndex(16); // beyond the palette
    EXPECT_EQ(pic.GetTransIndex(), 0);
    pic.SetTransIndex(-1);
    EXPECT_FALSE(pic.IsTransparent());
    pic.SetTransColor(RGBQUAD{1, 2, 3, 99});
    EXPECT_EQ(pic.GetTransColor().rgbReserved, 0);
    EXPECT_EQ(pic.GetTransColor().rgbRed, 3);
}

TEST(CPicture, PixelIndicesPackLeftmostPixelHigh)
{
    CPicture one;
    one.Create(10, 2, 1);
    one.SetPixelIndex(0, 0, 1);
    one.SetPixelIndex(9, 0, 1);
    EXPECT_EQ(one.GetBits(0)[0], 0x80);
    EXPECT_EQ(one.GetBits(0)[1], 0x40);
    EXPECT_EQ(one.GetPixelIndex(9, 0), 1);
    one.SetPixelIndex(10, 0, 1); // outside: ignored
    one.SetPixelIndex(-1, 0, 1);
    EXPECT_EQ(one.GetPixelIndex(10, 0), 0);

    CPicture four;
    four.Create(3, 1, 4);
    four.SetPixelIndex(0, 0, 0xA);
    four.SetPixelIndex(1, 0, 0x5);
    four.SetPixelIndex(2, 0, 0xF);
    EXPECT_EQ(four.GetBits(0)[0], 0xA5);
    EXPECT_EQ(four.GetBits(0)[1], 0xF0);
    EXPECT_EQ(four.GetPixelIndex(1, 0), 5);

    four.Clear(0x3);
    EXPECT_EQ(four.GetBits(0)[0], 0x33);
    one.Clear(1);
    EXPECT_EQ(one.GetBits(0)[0], 0xFF);
}

TEST(CPicture, ColoursOfPaletteAndTrueColourPictures)
{
    CPicture pal;
    pal.Create(2, 2, 8);
    const uint8_t r[3] = {0, 200, 10}, g[3] = {0, 100, 250}, b[3] = {0, 50, 10};
    pal.SetPalette(r, g, b, 3);
    pal.SetPixelColor(1, 1, RGBQUAD{48, 98, 205, 0}); // nearest is entry 1
    EXPECT_EQ(pal.GetPixelIndex(1, 1), 1);
    EXPECT_EQ(pal.GetPixelColor(1, 1).rgbRed, 200);
    EXPECT_EQ(pal.GetNearestIndex(RGBQUAD{10, 250, 10, 0}), 2);
    pal.SetPaletteColor(2, RGBQUAD{0, 0, 255, 0}); // the cached answer is dropped
    EXPECT_EQ(pal.GetNearestIndex(RGBQUAD{10, 250, 10, 0}), 1);

    CPicture rgb;
    rgb.Create(3, 2, 24);
    rgb.SetPixelColor(2, 1, RGBQUAD{1, 2, 3, 40}, true); // no alpha plane: alpha ignored
    EXPECT_EQ(rgb.GetBits(1)[6], 1);
    EXPECT_EQ(rgb.GetBits(1)[8], 3);
    EXPECT_EQ(rgb.GetPixelColor(2, 1).rgbReserved, 0);
    ASSERT_TRUE(rgb.AlphaCreate());
    rgb.SetPixelColor(2, 1, RGBQUAD{1, 2, 3, 40}, true);
    EXPECT_EQ(rgb.GetPixelColor(2, 1).rgbReserved, 40);
    EXPECT_EQ(rgb.GetPixelColor(2, 1, false).rgbReserved, 0);
}

TEST(CPicture, PaletteNeverGrowsPastThePicture)
{
    CPicture pic;
    pic.Create(4, 4, 4);
    RGBQUAD big[256];
    for (int i = 0; i < 256; i++)
        big[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 7};
    pic.SetPalette(big, 256); // only 16 entries exist
    EXPECT_EQ(pic.GetPaletteColor(15).rgbBlue, 15);
    EXPECT_EQ(pic.GetPaletteColor(16).rgbBlue, 0);
    EXPECT_FALSE(pic.SetPaletteColor(16, big[1]));
    uint8_t ramp[256];
    for (int i = 0; i < 256; i++)
        ramp[i] = uint8_t(255 - i);
    pic.SetPalette(ramp, ramp, ramp, 256);
    EXPECT_EQ(pic.GetPaletteColor(15).rgbRed, 240);
}

TEST(CPicture, GreyRampAndGreyTest)
{
    CPicture eight;
    eight.Create(2, 2, 8);
    EXPECT_FALSE(eight.IsGrayScale()); // a zeroed palette is not a ramp
    eight.SetGrayPalette();
    EXPECT_TRUE(eight.IsGrayScale());
    EXPECT_EQ(eight.GetPaletteColor(200).rgbGreen, 200);

    CPicture four;
    four.Create(2, 2, 4);
    four.SetGrayPalette();
    EXPECT_EQ(four.GetPaletteColor(1).rgbRed, 17);
    EXPECT_EQ(four.GetPaletteColor(15).rgbRed, 255);
    EXPECT_FALSE(four.IsGrayScale()); // entry i is not (i, i, i)

    CPicture rgb;
    rgb.Create(2, 2, 24);
    EXPECT_FALSE(rgb.IsGrayScale());
}

TEST(CPicture, AlphaPlane)
{
    CPicture pic;
    EXPECT_FALSE(pic.AlphaCreate()); // nothing to attach it to
    pic.Create(3, 2, 24);
    ASSERT_TRUE(pic.AlphaCreate());
    EXPECT_EQ(pic.AlphaGet(2, 1), 255);
    pic.AlphaSet(0, 0, 10);
    pic.AlphaSet(5, 5, 1); // outside: ignored
    pic.AlphaFlip();
    EXPECT_EQ(pic.AlphaGet(0, 1), 10);
    pic.AlphaInvert();
    EXPECT_EQ(pic.AlphaGet(0, 1), 245);
    EXPECT_EQ(pic.AlphaGet(1, 1), 0);

    CPicture grey;
    grey.Create(3, 2, 8);
    grey.SetGrayPalette();
    grey.SetPixelIndex(1, 0, 77);
    EXPECT_TRUE(pic.AlphaSet(grey));
    EXPECT_EQ(pic.AlphaGet(1, 0), 77);
    CPicture other;
    other.Create(4, 2, 8);
    other.SetGrayPalette();
    EXPECT_FALSE(pic.AlphaSet(other)); // another size
    pic.AlphaDelete();
    EXPECT_FALSE(pic.AlphaIsValid());
    EXPECT_EQ(pic.AlphaGet(1, 0), 0);
}

TEST(CPicture, FlipAndNegative)
{
    CPicture rgb;
    rgb.Create(1, 3, 24);
    rgb.SetPixelColor(0, 0, RGBQUAD{10, 20, 30, 0});
    rgb.AlphaCreate();
    rgb.AlphaSet(0, 0, 5);
    ASSERT_TRUE(rgb.Flip());
    EXPECT_EQ(rgb.GetPixelColor(0, 2, false).rgbBlue, 10);
    EXPECT_EQ(rgb.AlphaGet(0, 2), 5);
    rgb.SetTransColor(RGBQUAD{0, 0, 255, 0});
    ASSERT_TRUE(rgb.Negative());
    EXPECT_EQ(rgb.GetPixelColor(0, 2, false).rgbBlue, 245);
    EXPECT_EQ(rgb.GetPixelColor(0, 0, false).rgbRed, 255);
    EXPECT_EQ(rgb.GetTransColor().rgbRed, 0);
    EXPECT_EQ(rgb.GetTransColor().rgbBlue, 255);

    // Only the selected pixels are inverted when there is a selection.
    ASSERT_TRUE(rgb.SelectionCreate());
    rgb.SelectionSet(0, 1, 255);
    rgb.Negative();
    EXPECT_EQ(rgb.GetPixelColor(0, 1, false).rgbRed, 0);
    EXPECT_EQ(rgb.GetPixelColor(0, 0, false).rgbRed, 255);

    // A colour palette is inverted, a grey one leaves the palette and inverts the pixels.
    CPicture pal;
    pal.Create(2, 1, 8);
    pal.SetPaletteColor(3, RGBQUAD{0, 100, 200, 0});
    pal.Negative();
    EXPECT_EQ(pal.GetPaletteColor(3).rgbGreen, 155);
    CPicture grey;
    grey.Create(2, 1, 8);
    grey.SetGrayPalette();
    grey.SetPixelIndex(0, 0, 3);
    grey.Negative();
    EXPECT_EQ(grey.GetPixelIndex(0, 0), 252);
    EXPECT_EQ(grey.GetPaletteColor(3).rgbGreen, 3);
}

TEST(CPicture, CopyTransferAndGhost)
{
    CPicture src(CPicture::TypeBMP);
    src.Create(4, 3, 8, CPicture::TypeBMP);
    src.SetPaletteColor(9, RGBQUAD{1, 2, 3, 0});
    src.SetPixelIndex(3, 2, 9);
    src.SetXDPI(150);
    src.AlphaCreate();
    src.AlphaSet(3, 2, 42);

    CPicture copy(src);
    EXPECT_EQ(copy.GetPixelIndex(3, 2), 9);
    EXPECT_EQ(copy.AlphaGet(3, 2), 42);
    EXPECT_EQ(copy.GetXDPI(), 150);
    EXPECT_NE(copy.GetDIB(), src.GetDIB());

    CPicture paletteOnly;
    paletteOnly.Copy(src, false, false, false);
    EXPECT_EQ(paletteOnly.GetPixelIndex(3, 2), 0);
    EXPECT_EQ(paletteOnly.GetPaletteColor(9).rgbRed, 3);
    EXPECT_FALSE(paletteOnly.AlphaIsValid());

    CPicture target;
    target.Create(1, 1, 24);
    void *dib = copy.GetDIB();
    ASSERT_TRUE(target.Transfer(copy));
    EXPECT_EQ(target.GetDIB(), dib);
    EXPECT_EQ(target.AlphaGet(3, 2), 42);
    EXPECT_FALSE(copy.IsValid());
    EXPECT_EQ(copy.GetWidth(), 0u);

    {
        CPicture ghost;
        ASSERT_TRUE(ghost.Ghost(&target));
        EXPECT_TRUE(ghost.IsGhost());
        EXPECT_EQ(ghost.GetDIB(), target.GetDIB());
        EXPECT_FALSE(ghost.Destroy());
        EXPECT_EQ(ghost.Create(2, 2, 8), nullptr);
        EXPECT_FALSE(ghost.Transfer(src));
        CPicture ofGhost(ghost); // a ghost source gives a ghost copy
        EXPECT_TRUE(ofGhost.IsGhost());
        CPicture assigned;
        assigned = src;
        assigned = ghost;
        EXPECT_TRUE(assigned.IsGhost());
    } // ghosts free nothing: target stays whole
    EXPECT_EQ(target.GetPixelIndex(3, 2), 9);
    EXPECT_TRUE(target.Destroy());
    EXPECT_TRUE(target.Destroy()); // twice is harmless
    EXPECT_FALSE(target.IsValid());
    EXPECT_EQ(target.GetWidth(), 0u);
}

// A ghost owns none of the buffers it shows: handing them over would leave
// two pictures freeing the same block.
TEST(CPicture, TransferFromAGhostTakesNothingItDoesNotOwn)
{
    CPicture owner;
    owner.Create(4, 3, 8);
    owner.SetPixelIndex(1, 1, 7);
    owner.AlphaCreate();
    {
        CPicture ghost;
        ASSERT_TRUE(ghost.Ghost(&owner));
        CPicture target;
        target.Create(2, 2, 24);
        EXPECT_FALSE(target.Transfer(ghost));
        EXPECT_NE(target.GetDIB(), owner.GetDIB());
        EXPECT_EQ(target.GetWidth(), 2u); // left as it was
        EXPECT_TRUE(ghost.IsGhost());
        // The owner taking back what its own ghost shows would free the
        // buffers before taking them.
        EXPECT_FALSE(owner.Transfer(ghost));
        EXPECT_EQ(owner.GetDIB(), ghost.GetDIB());
    } // target and ghost gone: the owner's buffers are still its own
    EXPECT_EQ(owner.GetPixelIndex(1, 1), 7);
    EXPECT_TRUE(owner.AlphaIsValid());
}

// A picture given its own ghost, or made a ghost of it, already shows those
// buffers: freeing them first would leave both pointing at freed memory.
TEST(CPicture, AGhostGivenBackToItsOwnerLeavesTheOwnerWhole)
{
    CPicture owner;
    owner.Create(4, 3, 8);
    owner.SetPixelIndex(2, 1, 5);
    CPicture ghost;
    ASSERT_TRUE(ghost.Ghost(&owner));
    CPicture ghostOfGhost(ghost);
    ASSERT_TRUE(ghostOfGhost.IsGhost());

    owner = ghost;
    EXPECT_FALSE(owner.IsGhost());
    EXPECT_FALSE(owner.Ghost(&ghostOfGhost));
    EXPECT_FALSE(owner.IsGhost());
    EXPECT_EQ(owner.GetDIB(), ghost.GetDIB());
    EXPECT_EQ(owner.GetPixelIndex(2, 1), 5);
    EXPECT_TRUE(owner.Destroy()); // still the one that frees them
}

TEST(CPicture, RowIterator)
{
    CPicture pic;
    pic.Create(3, 3, 8);
    CPictureIterator it(&pic);
    it.Upset();
    EXPECT_EQ(it.GetY(), 2);
    const uint8_t row[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    it.SetRow(row, 16); // at most one row length
    EXPECT_EQ(pic.GetPixelIndex(0, 2), 1);
    EXPECT_EQ(pic.GetBits(2)[3], 4);
    EXPECT_FALSE(it.NextRow());
    EXPECT_TRUE(it.PrevRow());
    EXPECT_TRUE(it.SetY(0));
    EXPECT_FALSE(it.SetY(3));
    EXPECT_FALSE(it.PrevRow());
    it.Reset();
    EXPECT_EQ(it.GetRow(), pic.GetBits(0));
}

TEST(CPicture, StretchDrawsWholePixelsWithoutSmoothing)
{
    CPicture pic;
    pic.Create(2, 2, 24);
    pic.SetPixelColor(0, 1, RGBQUAD{0, 0, 255, 0});   // top left red
    pic.SetPixelColor(1, 0, RGBQUAD{255, 0, 0, 0});   // bottom right blue
    QImage canvas(8, 8, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        EXPECT_TRUE(pic.StretchToDC(&painter, 2, 2, 4, 4));
    }
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(4, 3), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(4, 4), qRgb(0, 0, 255));

    // Palette pictures of every depth draw their palette colours.
    for (uint32_t bpp : {1u, 4u, 8u}) {
        CPicture p;
        p.Create(3, 1, bpp);
        p.SetPaletteColor(1, RGBQUAD{0, 255, 0, 0});
        p.SetPixelIndex(2, 0, 1);
        QImage small(3, 1, QImage::Format_RGB32);
        QPainter painter(&small);
        EXPECT_TRUE(p.StretchToDC(&painter, 0, 0, 3, 1));
        painter.end();
        EXPECT_EQ(small.pixel(2, 0), qRgb(0, 255, 0)) << bpp;
        EXPECT_EQ(small.pixel(0, 0), qRgb(0, 0, 0)) << bpp;
    }

    CPicture empty;
    QPainter painter(&canvas);
    EXPECT_FALSE(empty.StretchToDC(&painter, 0, 0, 4, 4));
    EXPECT_FALSE(pic.StretchToDC(nullptr, 0, 0, 4, 4));
}
