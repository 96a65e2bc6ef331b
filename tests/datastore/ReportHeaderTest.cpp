#include "CConfiguration.h"
#include "ReportHeaderLayout.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QScreen>

#include <cmath>

namespace RH = ReportHeaderLayout;

TEST(ReportHeaderLayout, LogoSizeOnTheDevice)
{
    struct Case
    {
        const char *what;
        qint64 width, height;
        int imageX, imageY, deviceX, deviceY, screenX, screenY;
        QSize expected;
    };
    const Case cases[] = {
        {"300 px at 300 dpi on a 600-dpi printer", 300, 150, 300, 300, 600, 600, 96, 96, QSize(600, 300)},
        {"no resolution: the screen's stands in", 300, 150, 0, 0, 600, 600, 96, 96, QSize(1875, 937)},
        {"on the screen itself", 300, 150, 0, 0, 96, 96, 96, 96, QSize(300, 150)},
        {"each side with its own resolutions", 300, 200, 300, 100, 600, 300, 96, 96, QSize(600, 600)},
        {"a negative resolution counts as none", 300, 150, -72, 300, 600, 600, 96, 96, QSize(1875, 300)},
        {"a device without resolution counts as the screen", 300, 150, 300, 300, 0, 0, 96, 96, QSize(96, 48)},
        {"integer arithmetic, multiplication first", 100, 100, 300, 300, 96, 96, 96, 96, QSize(32, 32)},
        // 1 000 000 x 4800 does not fit in 32 bits; the result does.
        {"a large image on a fine printer", 1000000, 20000, 300, 300, 4800, 4800, 96, 96, QSize(16000000, 320000)},
        {"beyond any page: capped", 0xFFFFFFFFLL, 10, 1, 300, 9600, 600, 96, 96, QSize(int(RH::MaxExtent), 20)},
        {"an empty image", 0, 150, 300, 300, 600, 600, 96, 96, QSize()},
        {"no resolution anywhere", 300, 150, 0, 0, 0, 0, 0, 0, QSize()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RH::LogoSizeOnDevice(c.width, c.height, c.imageX, c.imageY, c.deviceX, c.deviceY, c.screenX, c.screenY),
                  c.expected);
    }
}

TEST(ReportHeaderLayout, BandsByPlacement)
{
    const QRect band(100, 50, 1000, 0);
    const QSize logo(200, 80);
    const QSize text(300, 40);
    const QSize tallText(300, 120);
    const QSize none;
    struct Case
    {
        const char *what;
        QSize logo;
        int logoPos;
        QSize text;
        int textPos;
        QRect logoAt, textAt;
        int height;
    };
    const Case cases[] = {
        {"nothing", none, 0, none, 2, QRect(), QRect(), 0},
        {"logo left", logo, 0, none, 2, QRect(100, 50, 200, 80), QRect(), 80},
        {"logo centred", logo, 1, none, 2, QRect(500, 50, 200, 80), QRect(), 80},
        {"logo right", logo, 2, none, 2, QRect(900, 50, 200, 80), QRect(), 80},
        {"text alone, right", none, 2, text, 2, QRect(), QRect(800, 50, 300, 40), 40},
        {"text alone, centred", none, 0, text, 1, QRect(), QRect(450, 50, 300, 40), 40},
        // The same placement: the text under the logo, the band as high as
        // both together, the logo counted once.
        {"both right", logo, 2, text, 2, QRect(900, 50, 200, 80), QRect(800, 130, 300, 40), 120},
        {"both left", logo, 0, text, 0, QRect(100, 50, 200, 80), QRect(100, 130, 300, 40), 120},
        // Different placements: side by side, as high as the taller.
        {"logo left, text centred", logo, 0, text, 1, QRect(100, 50, 200, 80), QRect(450, 50, 300, 40), 80},
        {"logo left, taller text right", logo, 0, tallText, 2, QRect(100, 50, 200, 80), QRect(800, 50, 300, 120), 120},
        // Stored codes other than 1 and 2 mean the left, for both.
        {"unknown codes are the left", logo, 7, text, 0, QRect(100, 50, 200, 80), QRect(100, 130, 300, 40), 120},
        {"a logo wider than the band, centred", QSize(1200, 10), 1, none, 0, QRect(0, 50, 1200, 10), QRect(), 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const RH::Band got = RH::Arrange(band, c.logo, c.logoPos, c.text, c.textPos);
        EXPECT_EQ(got.logo, c.logoAt);
        EXPECT_EQ(got.text, c.textAt);
        EXPECT_EQ(got.height, c.height);
    }
}

namespace {

constexpr QRgb LogoColour = 0xFFCC2200;

QImage page(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// A solid logo saved as a bitmap file with the given dots per meter
// (10 000 is exactly 254 dots per inch; 0 gives no resolution).
QString writeLogo(const QString &name, int width, int height, int dotsPerMeter)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(LogoColour);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    const QString path = TestFolders::file(name);
    EXPECT_TRUE(image.save(path, "BMP"));
    return path;
}

const QByteArray Letterhead =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
    "\\pard\\qr\\fs24 \\b Atelier Dupont\\b0\\par 8 place du March\\'e9, 44000 Nantes\\par}";

// Bounding boxes of the logo's colour and of every other ink.
struct Ink
{
    QRect logo;
    QRect other;
};

Ink inkOf(const QImage &image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == LogoColour)
                ink.logo |= QRect(x, y, 1, 1);
            else if ((row[x] & 0xFFFFFF) != 0xFFFFFF)
                ink.other |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

int screenDpiX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchX())) : 96;
}

CConfiguration settingsWith(const QString &logo, int logoPos, const QString &text, int textPos)
{
    CConfiguration c;
    c.reportLogo = !logo.isNull();
    c.reportLogoFile = logo;
    c.reportLogoPos = logoPos;
    c.reportText = !text.isNull();
    c.reportTextFile = text;
    c.reportTextPos = textPos;
    return c;
}

} // namespace

TEST(DrawReportLogoAndText, LogoAndTextAtTheSamePlaceOnAPrinterPage)
{
    // A 254-pixel logo at 254 dots per inch is one inch: 508 dots on a
    // 508-dpi page. The text goes under it, against the right edge.
    const QString logo = writeLogo(QStringLiteral("logo.bmp"), 254, 127, 10000);
    const QString text = TestFolders::writeFile(QStringLiteral("entete.rtf"), Letterhead);
    const CConfiguration settings = settingsWith(logo, 2, text, 2);

    QImage image = page(4000, 1600, 508);
    const QRect band(100, 60, 3800, 0);

    QRect measured = band;
    const int measuredBottom = settings.DrawReportLogoAndText(measured, &image);
    EXPECT_EQ(measured.topLeft(), band.topLeft());
    EXPECT_EQ(measured.width(), band.width());
    EXPECT_EQ(measuredBottom, measured.y() + measured.height());
    EXPECT_EQ(inkOf(image).logo, QRect()) << "measuring draws nothing";

    QRect drawn = band;
    {
        QPainter painter(&image);
        QRect viaPainter = band;
        EXPECT_EQ(settings.DrawReportLogoAndText(viaPainter, &painter, true), measuredBottom);
        EXPECT_EQ(viaPainter, measured);
        settings.DrawReportLogoAndText(drawn, &painter, false);
    }
    EXPECT_EQ(drawn, measured) << "drawing takes the size it was measured with";

    const Ink ink = inkOf(image);
    EXPECT_EQ(ink.logo, QRect(100 + 3800 - 508, 60, 508, 254));
    ASSERT_FALSE(ink.other.isNull()) << "the text was drawn";
    EXPECT_GE(ink.other.top(), 60 + 254) << "the text starts under the logo";
    EXPECT_LE(ink.other.right(), 100 + 3800 - 1);
    EXPECT_GT(ink.other.left(), 100 + 3800 / 2) << "right-aligned";
    // The band holds the logo and the text once each.
    const int textHeight = drawn.height() - 254;
    EXPECT_GT(textHeight, 2 * 12 * 508 / 72 - 10) << "two lines of 12 points at 508 dpi";
    EXPECT_LE(ink.other.bottom(), drawn.y() + drawn.height() - 1);
}

TEST(DrawReportLogoAndText, PlacementsSideBySide)
{
    const QString logo = writeLogo(QStringLiteral("logo.bmp"), 254, 127, 10000);
    const QString text = TestFolders::writeFile(QStringLiteral("entete.rtf"), Letterhead);
    struct Case { int logoPos, textPos; int logoLeft; };
    const Case cases[] = {{0, 1, 0}, {1, 0, (1200 - 254) / 2}, {2, 0, 1200 - 254}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.logoPos);
        const CConfiguration settings = settingsWith(logo, c.logoPos, text, c.textPos);
        QImage image = page(1200, 600, 254);
        QRect band(0, 10, 1200, 0);
        QRect textOnly(0, 10, 1200, 0);
        settingsWith(QString(), 0, text, c.textPos).DrawReportLogoAndText(textOnly, &image);
        {
            QPainter painter(&image);
            settings.DrawReportLogoAndText(band, &painter, false);
        }
        const Ink ink = inkOf(image);
        EXPECT_EQ(ink.logo, QRect(c.logoLeft, 10, 254, 127));
        // Side by side: the band is as high as the taller of the two.
        EXPECT_EQ(band.height(), std::max(127, textOnly.height()));
        ASSERT_FALSE(ink.other.isNull());
        EXPECT_LT(ink.other.top(), 10 + 127) << "the text starts at the band's top";
    }
}

TEST(DrawReportLogoAndText, ResolutionOfTheImageOrOfTheScreen)
{
    // A bitmap without resolution takes the screen's: on a page of twice
    // the screen's resolution it is drawn twice as large.
    const int screen = screenDpiX();
    const QString bare = writeLogo(QStringLiteral("sans-resolution.bmp"), 40, 20, 0);
    QImage image = page(400, 200, 2 * screen);
    QRect band(0, 0, 400, 0);
    {
        QPainter painter(&image);
        settingsWith(bare, 0, QString(), 0).DrawReportLogoAndText(band, &painter, false);
    }
    EXPECT_EQ(inkOf(image).logo, QRect(0, 0, 80, 40));
    EXPECT_EQ(band.height(), 40);

    // A logo whose name has no extension is still read (type 0 guesses).
    const QString plain = writeLogo(QStringLiteral("logo"), 254, 254, 10000);
    QRect other(10, 20, 1000, 0);
    QImage printer = page(10, 10, 127);
    EXPECT_EQ(settingsWith(plain, 0, QString(), 0).DrawReportLogoAndText(other, &printer), 20 + 127);
}

TEST(DrawReportLogoAndText, WhatCannotBeShownReservesNothing)
{
    const QString logo = TestFolders::file(QStringLiteral("logo.bmp"));
    const QString text = TestFolders::writeFile(QStringLiteral("entete.rtf"), Letterhead);
    const QString notAnImage = TestFolders::writeFile(QStringLiteral("faux.bmp"), "ceci n'est pas une image");
    const QString empty = TestFolders::writeFile(QStringLiteral("vide.rtf"), "");
    const QString missing = TestFolders::file(QStringLiteral("absent.rtf"));
    const QString folder = TestFolders::root();
    QImage image = page(10, 10, 254);

    struct Case { const char *what; CConfiguration settings; };
    const Case cases[] = {
        {"nothing chosen", settingsWith(QString(), 0, QString(), 2)},
        {"switched off", [&] { CConfiguration c = settingsWith(notAnImage, 0, text, 2); c.reportLogo = c.reportText = false; return c; }()},
        {"empty names", settingsWith(QStringLiteral(""), 0, QStringLiteral(""), 2)},
        {"missing files", settingsWith(logo, 0, missing, 2)},
        {"folders", settingsWith(folder, 0, folder, 2)},
        {"not an image", settingsWith(notAnImage, 0, QString(), 2)},
        {"an empty text", settingsWith(QString(), 0, empty, 2)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QRect band(0, 30, 1000, 55);
        EXPECT_EQ(c.settings.DrawReportLogoAndText(band, &image), 30);
        EXPECT_EQ(band, QRect(0, 30, 1000, 0));
    }
    // No device: nothing to measure on.
    QRect band(0, 30, 1000, 55);
    EXPECT_EQ(settingsWith(QString(), 0, text, 2).DrawReportLogoAndText(band, static_cast<QPaintDevice *>(nullptr)), 30);
    EXPECT_EQ(band.height(), 0);
}

TEST(DrawReportLogoAndText, ATextThatCannotBeShownAddsNothingUnderTheLogo)
{
    const QString logo = writeLogo(QStringLiteral("logo.bmp"), 254, 127, 10000);
    const QString empty = TestFolders::writeFile(QStringLiteral("vide.rtf"), "");
    const QString missing = TestFolders::file(QStringLiteral("absent.rtf"));
    QImage image = page(10, 10, 254);
    for (const QString &text : {QString(), missing, empty}) {
        SCOPED_TRACE(text.toStdString());
        QRect band(0, 30, 1000, 55);
        EXPECT_EQ(settingsWith(logo, 2, text, 2).DrawReportLogoAndText(band, &image), 30 + 127);
        EXPECT_EQ(band, QRect(0, 30, 1000, 127));
    }
}

TEST(DrawReportLogoAndText, RecordedPictureReplaysLikeDirectDrawing)
{
    // A report page recorded into a picture (as a preview keeps it) shows
    // the same band as one drawn straight onto an image of the same
    // resolution.
    const QString logo = writeLogo(QStringLiteral("logo.bmp"), 60, 30, 0);
    const QString text = TestFolders::writeFile(QStringLiteral("entete.rtf"), Letterhead);
    const CConfiguration settings = settingsWith(logo, 1, text, 1);

    QPicture picture;
    QRect recordedBand(0, 0, 500, 0);
    {
        QPainter painter(&picture);
        settings.DrawReportLogoAndText(recordedBand, &painter, false);
    }
    QImage replayed = page(500, 300, picture.logicalDpiX());
    {
        QPainter painter(&replayed);
        painter.drawPicture(0, 0, picture);
    }
    QImage direct = page(500, 300, picture.logicalDpiX());
    QRect directBand(0, 0, 500, 0);
    {
        QPainter painter(&direct);
        settings.DrawReportLogoAndText(directBand, &painter, false);
    }
    EXPECT_EQ(recordedBand, directBand);
    const Ink a = inkOf(replayed);
    const Ink b = inkOf(direct);
    EXPECT_EQ(a.logo, b.logo);
    EXPECT_FALSE(a.other.isNull());
    EXPECT_LE(std::abs(a.other.top() - b.other.top()), 1);
    EXPECT_LE(std::abs(a.other.height() - b.other.height()), 2);
}
