#include "CPicture.h"
#include "CPictureRowCursor.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(CPicture, NewPictureHoldsTheDefaults)
{
    CPicture pic(CPicture::TypeGIF);
    EXPECT_FALSE(pic.IsValid());
    EXPECT_EQ(pic.GetWidth(), 0u);
    EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeGIF));
    EXPECT_EQ(pic.GetXDPI(), 96);
    EXPECT_EQ(pic.GetTransparentIndex(), -1);
    EXPECT_FLOAT_EQ(pic.GetJpegQualitySetting(), 90.0f);
    EXPECT_STREQ(pic.GetErrorText(), "");
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
    EXPECT_STREQ(pic.GetErrorText(), "CPicture::Create : width and height must be greater than zero");
    EXPECT_EQ(pic.Create(10, 0, 8), nullptr);

    // Exactly 268 435 456 bytes of pixels are accepted, one more row is not.
    ASSERT_NE(pic.Create(16384, 16384, 8), nullptr);
    EXPECT_EQ(pic.GetBitmapHeader().biSizeImage, 268435456u);
    pic.Destroy();
    EXPECT_EQ(pic.Create(16384, 16385, 8), nullptr);
    EXPECT_STREQ(pic.GetErrorText(), "PICTURE_MAX_MEMORY exceeded");

    // Products that wrap in 32 bits, and padded rows that exceed the limit
    // although the bits alone would not.
    EXPECT_EQ(pic.Create(65536, 65536, 8), nullptr);
    EXPECT_EQ(pic.Create(0xFFFFFFFFu, 0xFFFFFFFFu, 24), nullptr);
    EXPECT_EQ(pic.Create(1, 200000000, 8), nullptr);
    EXPECT_STREQ(pic.GetErrorText(), "PICTURE_MAX_MEMORY exceeded");
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
        EXPECT_EQ(pic.GetBitsPerPixel(), c.bpp) << c.asked;
        EXPECT_EQ(pic.GetColourCount(), c.colours) << c.asked;
        EXPECT_EQ(pic.GetPaletteBytes(), c.colours * 4);
        EXPECT_EQ(pic.GetRowLength(), ((5 * c.bpp + 31) / 32) * 4);
        EXPECT_EQ(pic.GetBitmapHeader().biSizeImage, pic.GetRowLength() * 3);
        EXPECT_EQ(pic.GetImageType(), uint32_t(CPicture::TypeGIF));
        EXPECT_EQ(pic.GetRowPointer(1), pic.GetRowPointer(0) + pic.GetRowLength());
        EXPECT_EQ(pic.GetRowPointer(3), nullptr);
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
    EXPECT_EQ(pic.GetBitmapHeader().biXPelsPerMeter, 11811);
    EXPECT_EQ(static_cast<const BITMAPINFOHEADER *>(pic.GetBlock())->biXPelsPerMeter, 11811);

    pic.SetTransparentIndex(7);
    EXPECT_EQ(pic.GetTransparentIndex(), 7);
    pic.SetTransparentIndex(16); // beyond the palette
    EXPECT_EQ(pic.GetTransparentIndex(), 0);
    pic.SetTransparentIndex(-1);
    EXPECT_FALSE(pic.HasTransparentIndex());
    pic.SetTransparentColour(RGBQUAD{1, 2, 3, 99});
    EXPECT_EQ(pic.GetTransparentColour().rgbReserved, 0);
    EXPECT_EQ(pic.GetTransparentColour().rgbRed, 3);
}

TEST(CPicture, PixelIndicesPackLeftmostPixelHigh)
{
    CPicture one;
    one.Create(10, 2, 1);
    one.SetIndexAt(0, 0, 1);
    one.SetIndexAt(9, 0, 1);
    EXPECT_EQ(one.GetRowPointer(0)[0], 0x80);
    EXPECT_EQ(one.GetRowPointer(0)[1], 0x40);
    EXPECT_EQ(one.GetIndexAt(9, 0), 1);
    one.SetIndexAt(10, 0, 1); // outside: ignored
    one.SetIndexAt(-1, 0, 1);
    EXPECT_EQ(one.GetIndexAt(10, 0), 0);

    CPicture four;
    four.Create(3, 1, 4);
    four.SetIndexAt(0, 0, 0xA);
    four.SetIndexAt(1, 0, 0x5);
    four.SetIndexAt(2, 0, 0xF);
    EXPECT_EQ(four.GetRowPointer(0)[0], 0xA5);
    EXPECT_EQ(four.GetRowPointer(0)[1], 0xF0);
    EXPECT_EQ(four.GetIndexAt(1, 0), 5);

    four.Clear(0x3);
    EXPECT_EQ(four.GetRowPointer(0)[0], 0x33);
    one.Clear(1);
    EXPECT_EQ(one.GetRowPointer(0)[0], 0xFF);
}

TEST(CPicture, ColoursOfPaletteAndTrueColourPictures)
{
    CPicture pal;
    pal.Create(2, 2, 8);
    const uint8_t r[3] = {0, 200, 10}, g[3] = {0, 100, 250}, b[3] = {0, 50, 10};
    pal.SetPaletteFromChannels(r, g, b, 3);
    pal.SetColourAt(1, 1, RGBQUAD{48, 98, 205, 0}); // nearest is entry 1
    EXPECT_EQ(pal.GetIndexAt(1, 1), 1);
    EXPECT_EQ(pal.GetColourAt(1, 1).rgbRed, 200);
    EXPECT_EQ(pal.NearestPaletteIndex(RGBQUAD{10, 250, 10, 0}), 2);
    pal.SetPaletteEntry(2, RGBQUAD{0, 0, 255, 0}); // the cached answer is dropped
    EXPECT_EQ(pal.NearestPaletteIndex(RGBQUAD{10, 250, 10, 0}), 1);

    CPicture rgb;
    rgb.Create(3, 2, 24);
    rgb.SetColourAt(2, 1, RGBQUAD{1, 2, 3, 40}, true); // no alpha plane: alpha ignored
    EXPECT_EQ(rgb.GetRowPointer(1)[6], 1);
    EXPECT_EQ(rgb.GetRowPointer(1)[8], 3);
    EXPECT_EQ(rgb.GetColourAt(2, 1).rgbReserved, 0);
    ASSERT_TRUE(rgb.CreateAlphaPlane());
    rgb.SetColourAt(2, 1, RGBQUAD{1, 2, 3, 40}, true);
    EXPECT_EQ(rgb.GetColourAt(2, 1).rgbReserved, 40);
    EXPECT_EQ(rgb.GetColourAt(2, 1, false).rgbReserved, 0);
}

TEST(CPicture, PaletteNeverGrowsPastThePicture)
{
    CPicture pic;
    pic.Create(4, 4, 4);
    RGBQUAD big[256];
    for (int i = 0; i < 256; i++)
        big[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 7};
    pic.SetPaletteEntries(big, 256); // only 16 entries exist
    EXPECT_EQ(pic.GetPaletteEntry(15).rgbBlue, 15);
    EXPECT_EQ(pic.GetPaletteEntry(16).rgbBlue, 0);
    EXPECT_FALSE(pic.SetPaletteEntry(16, big[1]));
    uint8_t ramp[256];
    for (int i = 0; i < 256; i++)
        ramp[i] = uint8_t(255 - i);
    pic.SetPaletteFromChannels(ramp, ramp, ramp, 256);
    EXPECT_EQ(pic.GetPaletteEntry(15).rgbRed, 240);
}

TEST(CPicture, GreyRampAndGreyTest)
{
    CPicture eight;
    eight.Create(2, 2, 8);
    EXPECT_FALSE(eight.HasGreyRamp()); // a zeroed palette is not a ramp
    eight.MakeGreyRamp();
    EXPECT_TRUE(eight.HasGreyRamp());
    EXPECT_EQ(eight.GetPaletteEntry(200).rgbGreen, 200);

    CPicture four;
    four.Create(2, 2, 4);
    four.MakeGreyRamp();
    EXPECT_EQ(four.GetPaletteEntry(1).rgbRed, 17);
    EXPECT_EQ(four.GetPaletteEntry(15).rgbRed, 255);
    EXPECT_FALSE(four.HasGreyRamp()); // entry i is not (i, i, i)

    CPicture rgb;
    rgb.Create(2, 2, 24);
    EXPECT_FALSE(rgb.HasGreyRamp());
}

TEST(CPicture, AlphaPlane)
{
    CPicture pic;
    EXPECT_FALSE(pic.CreateAlphaPlane()); // nothing to attach it to
    pic.Create(3, 2, 24);
    ASSERT_TRUE(pic.CreateAlphaPlane());
    EXPECT_EQ(pic.GetAlphaAt(2, 1), 255);
    pic.SetAlphaAt(0, 0, 10);
    pic.SetAlphaAt(5, 5, 1); // outside: ignored
    pic.FlipAlphaPlane();
    EXPECT_EQ(pic.GetAlphaAt(0, 1), 10);
    pic.InvertAlphaPlane();
    EXPECT_EQ(pic.GetAlphaAt(0, 1), 245);
    EXPECT_EQ(pic.GetAlphaAt(1, 1), 0);

    CPicture grey;
    grey.Create(3, 2, 8);
    grey.MakeGreyRamp();
    grey.SetIndexAt(1, 0, 77);
    EXPECT_TRUE(pic.TakeAlphaFromGrey(grey));
    EXPECT_EQ(pic.GetAlphaAt(1, 0), 77);
    CPicture other;
    other.Create(4, 2, 8);
    other.MakeGreyRamp();
    EXPECT_FALSE(pic.TakeAlphaFromGrey(other)); // another size
    pic.DeleteAlphaPlane();
    EXPECT_FALSE(pic.HasAlphaPlane());
    EXPECT_EQ(pic.GetAlphaAt(1, 0), 0);
}

TEST(CPicture, FlipAndNegative)
{
    CPicture rgb;
    rgb.Create(1, 3, 24);
    rgb.SetColourAt(0, 0, RGBQUAD{10, 20, 30, 0});
    rgb.CreateAlphaPlane();
    rgb.SetAlphaAt(0, 0, 5);
    ASSERT_TRUE(rgb.FlipVertically());
    EXPECT_EQ(rgb.GetColourAt(0, 2, false).rgbBlue, 10);
    EXPECT_EQ(rgb.GetAlphaAt(0, 2), 5);
    rgb.SetTransparentColour(RGBQUAD{0, 0, 255, 0});
    ASSERT_TRUE(rgb.MakeNegative());
    EXPECT_EQ(rgb.GetColourAt(0, 2, false).rgbBlue, 245);
    EXPECT_EQ(rgb.GetColourAt(0, 0, false).rgbRed, 255);
    EXPECT_EQ(rgb.GetTransparentColour().rgbRed, 0);
    EXPECT_EQ(rgb.GetTransparentColour().rgbBlue, 255);

    // Only the selected pixels are inverted when there is a selection.
    ASSERT_TRUE(rgb.CreateSelectionMask());
    rgb.SetSelectedAt(0, 1, 255);
    rgb.MakeNegative();
    EXPECT_EQ(rgb.GetColourAt(0, 1, false).rgbRed, 0);
    EXPECT_EQ(rgb.GetColourAt(0, 0, false).rgbRed, 255);

    // A colour palette is inverted, a grey one leaves the palette and inverts the pixels.
    CPicture pal;
    pal.Create(2, 1, 8);
    pal.SetPaletteEntry(3, RGBQUAD{0, 100, 200, 0});
    pal.MakeNegative();
    EXPECT_EQ(pal.GetPaletteEntry(3).rgbGreen, 155);
    CPicture grey;
    grey.Create(2, 1, 8);
    grey.MakeGreyRamp();
    grey.SetIndexAt(0, 0, 3);
    grey.MakeNegative();
    EXPECT_EQ(grey.GetIndexAt(0, 0), 252);
    EXPECT_EQ(grey.GetPaletteEntry(3).rgbGreen, 3);
}

TEST(CPicture, CopyTransferAndView)
{
    CPicture src(CPicture::TypeBMP);
    src.Create(4, 3, 8, CPicture::TypeBMP);
    src.SetPaletteEntry(9, RGBQUAD{1, 2, 3, 0});
    src.SetIndexAt(3, 2, 9);
    src.SetXDPI(150);
    src.CreateAlphaPlane();
    src.SetAlphaAt(3, 2, 42);

    CPicture copy(src);
    EXPECT_EQ(copy.GetIndexAt(3, 2), 9);
    EXPECT_EQ(copy.GetAlphaAt(3, 2), 42);
    EXPECT_EQ(copy.GetXDPI(), 150);
    EXPECT_NE(copy.GetBlock(), src.GetBlock());

    CPicture paletteOnly;
    paletteOnly.Copy(src, false, false, false);
    EXPECT_EQ(paletteOnly.GetIndexAt(3, 2), 0);
    EXPECT_EQ(paletteOnly.GetPaletteEntry(9).rgbRed, 3);
    EXPECT_FALSE(paletteOnly.HasAlphaPlane());

    CPicture target;
    target.Create(1, 1, 24);
    void *dib = copy.GetBlock();
    ASSERT_TRUE(target.Transfer(copy));
    EXPECT_EQ(target.GetBlock(), dib);
    EXPECT_EQ(target.GetAlphaAt(3, 2), 42);
    EXPECT_FALSE(copy.IsValid());
    EXPECT_EQ(copy.GetWidth(), 0u);

    {
        CPicture view;
        ASSERT_TRUE(view.MakeViewOf(&target));
        EXPECT_TRUE(view.IsView());
        EXPECT_EQ(view.GetBlock(), target.GetBlock());
        EXPECT_FALSE(view.Destroy());
        EXPECT_EQ(view.Create(2, 2, 8), nullptr);
        EXPECT_FALSE(view.Transfer(src));
        CPicture ofView(view); // a view source gives a view copy
        EXPECT_TRUE(ofView.IsView());
        CPicture assigned;
        assigned = src;
        assigned = view;
        EXPECT_TRUE(assigned.IsView());
    } // views free nothing: target stays whole
    EXPECT_EQ(target.GetIndexAt(3, 2), 9);
    EXPECT_TRUE(target.Destroy());
    EXPECT_TRUE(target.Destroy()); // twice is harmless
    EXPECT_FALSE(target.IsValid());
    EXPECT_EQ(target.GetWidth(), 0u);
}

// A view owns none of the buffers it shows: handing them over would leave
// two pictures freeing the same block.
TEST(CPicture, TransferFromAViewTakesNothingItDoesNotOwn)
{
    CPicture owner;
    owner.Create(4, 3, 8);
    owner.SetIndexAt(1, 1, 7);
    owner.CreateAlphaPlane();
    {
        CPicture view;
        ASSERT_TRUE(view.MakeViewOf(&owner));
        CPicture target;
        target.Create(2, 2, 24);
        EXPECT_FALSE(target.Transfer(view));
        EXPECT_NE(target.GetBlock(), owner.GetBlock());
        EXPECT_EQ(target.GetWidth(), 2u); // left as it was
        EXPECT_TRUE(view.IsView());
        // The owner taking back what its own view shows would free the
        // buffers before taking them.
        EXPECT_FALSE(owner.Transfer(view));
        EXPECT_EQ(owner.GetBlock(), view.GetBlock());
    } // target and view gone: the owner's buffers are still its own
    EXPECT_EQ(owner.GetIndexAt(1, 1), 7);
    EXPECT_TRUE(owner.HasAlphaPlane());
}

// A picture given its own view, or made a view of it, already shows those
// buffers: freeing them first would leave both pointing at freed memory.
TEST(CPicture, AViewGivenBackToItsOwnerLeavesTheOwnerWhole)
{
    CPicture owner;
    owner.Create(4, 3, 8);
    owner.SetIndexAt(2, 1, 5);
    CPicture view;
    ASSERT_TRUE(view.MakeViewOf(&owner));
    CPicture viewOfView(view);
    ASSERT_TRUE(viewOfView.IsView());

    owner = view;
    EXPECT_FALSE(owner.IsView());
    EXPECT_FALSE(owner.MakeViewOf(&viewOfView));
    EXPECT_FALSE(owner.IsView());
    EXPECT_EQ(owner.GetBlock(), view.GetBlock());
    EXPECT_EQ(owner.GetIndexAt(2, 1), 5);
    EXPECT_TRUE(owner.Destroy()); // still the one that frees them
}

TEST(CPicture, RowCursor)
{
    CPicture pic;
    pic.Create(3, 3, 8);
    CPictureRowCursor cursor(&pic);
    cursor.ToTopRow();
    EXPECT_EQ(cursor.GetRowIndex(), 2);
    const uint8_t row[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    cursor.CopyIntoRow(row, 16); // at most one row length
    EXPECT_EQ(pic.GetIndexAt(0, 2), 1);
    EXPECT_EQ(pic.GetRowPointer(2)[3], 4);
    EXPECT_FALSE(cursor.MoveUp());
    EXPECT_TRUE(cursor.MoveDown());
    EXPECT_TRUE(cursor.MoveToRow(0));
    EXPECT_FALSE(cursor.MoveToRow(3));
    EXPECT_FALSE(cursor.MoveDown());
    cursor.ToBottomRow();
    EXPECT_EQ(cursor.GetRowPointer(), pic.GetRowPointer(0));
}

TEST(CPicture, StretchDrawsWholePixelsWithoutSmoothing)
{
    CPicture pic;
    pic.Create(2, 2, 24);
    pic.SetColourAt(0, 1, RGBQUAD{0, 0, 255, 0});   // top left red
    pic.SetColourAt(1, 0, RGBQUAD{255, 0, 0, 0});   // bottom right blue
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
        p.SetPaletteEntry(1, RGBQUAD{0, 255, 0, 0});
        p.SetIndexAt(2, 0, 1);
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
