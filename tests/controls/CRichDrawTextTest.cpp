#include "CRichDrawText.h"

#include "TestFolders.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <functional>

namespace {

const QByteArray Sample =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
    "\\pard\\fs24 Soci\\'e9t\\'e9 \\b Exemple\\b0  SARL\\par "
    "12 rue des Lilas, 69003 Lyon\\par}";

QImage blankImage(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int dotsPerMeter = int(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// Bounding box of the pixels that are not white.
QRect inkOf(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

} // namespace

TEST(CRichDrawText, MeasuresTheNaturalSizeAtAWidth)
{
    CRichDrawText text;
    text.LoadData(Sample);
    QImage screen = blankImage(10, 10, 96);

    QRect wide(20, 30, 2000, 5);
    text.FitRect(&screen, wide);
    EXPECT_EQ(wide.topLeft(), QPoint(20, 30));
    EXPECT_GT(wide.width(), 50);
    EXPECT_LT(wide.width(), 2000) << "the width used, not the width offered";
    EXPECT_GT(wide.height(), 20) << "two lines at 12 points";

    // A narrower band wraps the lines and needs more height.
    QRect narrow(20, 30, wide.width() / 3, 5);
    text.FitRect(&screen, narrow);
    EXPECT_LE(narrow.width(), wide.width() / 3);
    EXPECT_GT(narrow.height(), wide.height());
}

TEST(CRichDrawText, MeasuresForTheDeviceItIsGiven)
{
    CRichDrawText text;
    text.LoadData(Sample);
    QImage screen = blankImage(10, 10, 96);
    QImage printer = blankImage(10, 10, 600);

    QRect onScreen(0, 0, 600, 0);
    text.FitRect(&screen, onScreen);
    // The same physical width on the printer: 600 / 96 times as many dots.
    QRect onPrinter(0, 0, 600 * 600 / 96, 0);
    text.FitRect(&printer, onPrinter);
    const double ratio = double(onPrinter.height()) / onScreen.height();
    EXPECT_GT(ratio, 5.5);
    EXPECT_LT(ratio, 7.0);

    // Measuring again on the screen gives the screen's size back.
    QRect again(0, 0, 600, 0);
    text.FitRect(&screen, again);
    EXPECT_EQ(again, onScreen);
}

TEST(CRichDrawText, DrawsInsideTheMeasuredRectangle)
{
    for (int dpi : {96, 300}) {
        SCOPED_TRACE(dpi);
        CRichDrawText text;
        text.LoadData(Sample);
        QImage image = blankImage(dpi * 6, dpi * 2, dpi);
        QRect rect(dpi / 4, dpi / 5, dpi * 5, 0);
        text.FitRect(&image, rect);
        ASSERT_GT(rect.height(), 0);
        {
            QPainter painter(&image);
            text.Draw(&painter, rect);
        }
        const QRect ink = inkOf(image);
        ASSERT_FALSE(ink.isNull()) << "something was drawn";
        EXPECT_TRUE(rect.contains(ink)) << "ink outside the measured rectangle";
        // The two lines fill most of the measured height.
        EXPECT_GT(ink.height(), rect.height() / 2);
    }
}

TEST(CRichDrawText, DrawingIsClippedToTheRectangle)
{
    CRichDrawText text;
    text.LoadData(Sample);
    QImage image = blankImage(400, 200, 96);
    QRect rect(10, 10, 380, 0);
    text.FitRect(&image, rect);
    const QRect half(rect.left(), rect.top(), rect.width(), rect.height() / 2);
    {
        QPainter painter(&image);
        text.Draw(&painter, half);
    }
    EXPECT_TRUE(half.contains(inkOf(image)));
}

TEST(CRichDrawText, NothingToShowReservesNothing)
{
    QImage screen = blankImage(10, 10, 96);
    struct Case { const char *what; std::function<void(CRichDrawText &)> load; QPaintDevice *device; int width; };
    const Case cases[] = {
        {"missing file", [](CRichDrawText &t) { EXPECT_FALSE(t.LoadFile(TestFolders::file("absent.rtf"))); }, &screen, 300},
        {"nothing loaded", [](CRichDrawText &) {}, &screen, 300},
        {"empty file", [](CRichDrawText &t) { EXPECT_TRUE(t.LoadFile(TestFolders::writeFile("empty.rtf", ""))); }, &screen, 300},
        {"empty rich text", [](CRichDrawText &t) { t.LoadData("{\\rtf1 }"); }, &screen, 300},
        {"no device", [](CRichDrawText &t) { t.LoadData(Sample); }, nullptr, 300},
        {"no width", [](CRichDrawText &t) { t.LoadData(Sample); }, &screen, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CRichDrawText text;
        c.load(text);
        QRect rect(15, 25, c.width, 40);
        text.FitRect(c.device, rect);
        EXPECT_EQ(rect, QRect(15, 25, 0, 0));
    }
}

TEST(CRichDrawText, FilesRichOrPlain)
{
    QImage screen = blankImage(10, 10, 96);
    CRichDrawText rich;
    ASSERT_TRUE(rich.LoadFile(TestFolders::writeFile("entete.rtf", Sample)));
    EXPECT_EQ(rich.Document()->toPlainText(), QStringLiteral("Société Exemple SARL\n12 rue des Lilas, 69003 Lyon"));

    CRichDrawText plain;
    ASSERT_TRUE(plain.LoadFile(TestFolders::writeFile("entete.txt", "Soci\xe9t\xe9 Exemple\r\n{\\b pas du RTF}")));
    EXPECT_EQ(plain.Document()->toPlainText(), QStringLiteral("Société Exemple\n{\\b pas du RTF}"));
    QRect rect(0, 0, 500, 0);
    plain.FitRect(&screen, rect);
    EXPECT_GT(rect.height(), 0);

    // A second load replaces the first; a failed one leaves nothing behind.
    EXPECT_FALSE(plain.LoadFile(TestFolders::file("absent.txt")));
    EXPECT_FALSE(plain.HasText());
}

TEST(CRichDrawText, DefaultCharacterHeightFollowsTheMessageFont)
{
    const QFont saved = QGuiApplication::font();
    for (int points : {9, 12}) {
        QFont font = saved;
        font.setPointSize(points);
        QGuiApplication::setFont(font);
        EXPECT_EQ(CRichDrawText::DefaultCharHeightTwips(), points * 20);
    }
    QGuiApplication::setFont(saved);
}
