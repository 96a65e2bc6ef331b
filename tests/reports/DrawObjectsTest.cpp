// The drawing objects of report templates measured and drawn into images:
// rectangles, borders, fills, lines, texts, data lines and images, with the
// fonts' own metrics.
#include "CDrawBox.h"
#include "CDrawDataLine.h"
#include "CDrawImg.h"
#include "CDrawLine.h"
#include "CDrawText.h"
#include "CReportTemplate.h"
#include "ReportPlaceholders.h"
#include "TestFolders.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// An image of `dpi` (254 makes a tenth of a millimetre one pixel), white.
QImage Page(int width, int height, int dpi = 254)
{
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMetre = int(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

bool Ink(const QImage &image, int x, int y)
{
    return image.pixel(x, y) != qRgb(255, 255, 255);
}

// Whether any pixel of the rectangle (right and bottom exclusive) is not white.
bool InkIn(const QImage &image, int left, int top, int right, int bottom)
{
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = std::max(0, left); x < std::min(right, image.width()); ++x)
            if (Ink(image, x, y))
                return true;
    return false;
}

template <class T>
std::unique_ptr<T> Read(const char *tokens)
{
    auto object = std::make_unique<T>();
    object->ReadTokens(QString::fromLatin1(tokens).split(u';'), QString());
    return object;
}

TEST(DrawObjects, TheObjectRectangleFollowsAnchorsAndStaysInsideTheBand)
{
    tDrawContext context;
    context.ScaleX = context.ScaleY = 1.0;
    const tBand band{100, 50, 1100, 450};
    const struct {
        const char *tokens; // top;height;anchor;per-mille;offset;width
        tBand rect;
    } cases[] = {
        {"10;40;0;0;20;300", {120, 60, 420, 100}},
        {"10;40;1;0;20;300", {780, 60, 1080, 100}},
        {"10;40;2;0;999;300", {450, 60, 750, 100}},   // centred: the offset is not used
        {"0;40;0;1;100;250", {200, 50, 450, 90}},     // thousandths of the band's width
        {"0;40;1;1;100;250", {750, 50, 1000, 90}},
        {"0;40;2;1;0;500", {350, 50, 850, 90}},
        {"-30;40;0;0;-50;5000", {100, 50, 1100, 60}}, // held inside the band
        {"0;1000;0;0;0;100", {100, 50, 200, 450}},
        {"0;40;7;0;10;100", {100, 50, 100, 90}},      // an unknown anchor: nothing across
        {"0;-40;0;0;0;-100", {100, 50, 100, 50}},     // negative sizes: empty, not reversed
        {"2147483647;2147483647;0;0;2147483647;2147483647", {1100, 450, 1100, 450}},
    };
    for (const auto &c : cases) {
        const auto box = Read<CDrawBox>(c.tokens);
        const tBand r = box->ObjectRect(context, band);
        EXPECT_EQ(r.Left, c.rect.Left) << c.tokens;
        EXPECT_EQ(r.Top, c.rect.Top) << c.tokens;
        EXPECT_EQ(r.Right, c.rect.Right) << c.tokens;
        EXPECT_EQ(r.Bottom, c.rect.Bottom) << c.tokens;
    }
}

TEST(DrawObjects, ABorderOfWidthTenDrawsFourOnePixelSidesTheRightAndBottomInside)
{
    QImage image = Page(200, 120);
    QPainter painter(&image);
    const tDrawContext context = tDrawContext::ForPainter(&painter);
    // Sides 15, width 10, solid, colour red (0x0000FF), filled green.
    auto box = Read<CDrawBox>("10;50;0;0;20;100;15;10;0;255;1;0x00FF00");
    tBand band{0, 0, 200, 120};
    box->Draw(context, band, nullptr, nullptr, 0);
    painter.end();
    const tBand r{20, 10, 120, 60};
    const QRgb red = qRgb(255, 0, 0);
    const QRgb green = qRgb(0, 255, 0);
    for (int x = r.Left; x < r.Right; ++x) {
        EXPECT_EQ(image.pixel(x, r.Top), red) << x;
        EXPECT_EQ(image.pixel(x, r.Bottom - 1), red) << x;
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        EXPECT_EQ(image.pixel(r.Left, y), red) << y;
        EXPECT_EQ(image.pixel(r.Right - 1, y), red) << y;
    }
    // One pixel wide: the next ones in are the fill.
    EXPECT_EQ(image.pixel(r.Left + 1, r.Top + 1), green);
    EXPECT_EQ(image.pixel(r.Right - 2, r.Bottom - 2), green);
    EXPECT_FALSE(Ink(image, r.Right + 1, r.Top + 5));
    EXPECT_FALSE(Ink(image, r.Left + 5, r.Bottom + 1));
}

TEST(DrawObjects, PenStyleFiveAndAnEmptySideMaskDrawNothing)
{
    QImage image = Page(200, 120);
    QPainter painter(&image);
    const tDrawContext context = tDrawContext::ForPainter(&painter);
    tBand band{0, 0, 200, 120};
    Read<CDrawBox>("10;50;0;0;20;100;15;10;5;0;0;0")->Draw(context, band, nullptr, nullptr, 0);
    Read<CDrawLine>("10;50;0;0;20;100;15;10;5;0;0;0")->Draw(context, band, nullptr, nullptr, 0);
    Read<CDrawBox>("10;50;0;0;20;100;0;10;0;0;0;0")->Draw(context, band, nullptr, nullptr, 0);
    painter.end();
    EXPECT_FALSE(InkIn(image, 0, 0, 200, 120));
}

TEST(DrawObjects, LinesRunHorizontallyVerticallyOrAcross)
{
    QImage image = Page(300, 300);
    QPainter painter(&image);
    const tDrawContext context = tDrawContext::ForPainter(&painter);
    tBand band{0, 0, 300, 300};
    Read<CDrawLine>("100;0;0;0;10;200;0;1;0;0;0;0")->Draw(context, band, nullptr, nullptr, 0);  // horizontal
    Read<CDrawLine>("20;150;0;0;250;0;0;1;0;0;0;0")->Draw(context, band, nullptr, nullptr, 0);  // vertical
    Read<CDrawLine>("200;50;0;0;100;50;0;1;0;0;0;0")->Draw(context, band, nullptr, nullptr, 0); // across
    painter.end();
    EXPECT_TRUE(Ink(image, 10, 100));
    EXPECT_TRUE(Ink(image, 150, 100));
    EXPECT_TRUE(Ink(image, 208, 100));
    EXPECT_FALSE(Ink(image, 150, 101));
    EXPECT_TRUE(Ink(image, 250, 20));
    EXPECT_TRUE(Ink(image, 250, 168));
    EXPECT_FALSE(Ink(image, 251, 100));
    EXPECT_TRUE(Ink(image, 100, 200));
    EXPECT_TRUE(Ink(image, 125, 225));
}

TEST(DrawObjects, FontsScaleTheScreenSizeToTheDevice)
{
    tDrawContext context;
    tDrawTextStyle style;
    style.Size = 10;
    const struct {
        int device;
        int screen;
        int size;
        int pixels;
    } cases[] = {{96, 96, 10, 10}, {192, 96, 10, 20}, {600, 96, 12, 75}, {96, 96, 0, 1}, {96, 96, 100000, 2000}};
    for (const auto &c : cases) {
        context.DpiY = c.device;
        context.ScreenDpiY = c.screen;
        style.Size = c.size;
        EXPECT_EQ(context.MakeFont(style).pixelSize(), c.pixels) << c.device << " " << c.size;
    }
}

TEST(DrawObjects, TextFormatsMapToAlignmentsAndCentringIgnoresTheMargin)
{
    EXPECT_EQ(CDrawObject::ToAlignment(0), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(CDrawObject::ToAlignment(1), Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_EQ(CDrawObject::ToAlignment(2 | 8), Qt::AlignRight | Qt::AlignBottom);
    EXPECT_EQ(CDrawObject::ToAlignment(4), Qt::AlignLeft | Qt::AlignVCenter);

    auto draw = [](const char *tokens) {
        QImage image = Page(600, 200);
        QPainter painter(&image);
        const tDrawContext context = tDrawContext::ForPainter(&painter);
        tBand band{0, 0, 600, 200};
        Read<CDrawText>(tokens)->Draw(context, band, nullptr, nullptr, 0);
        return image;
    };
    // Centred: a margin changes nothing across or down.
    const QImage centred = draw("0;200;0;0;0;600;0;1;0;0;0;0;XX;Arial;10;0;0;0;0;0;5;0");
    const QImage centredWithMargin = draw("0;200;0;0;0;600;0;1;0;0;0;0;XX;Arial;10;0;0;0;0;0;5;200");
    EXPECT_EQ(centred, centredWithMargin);
    // Left-aligned: the margin moves the text right and down.
    const QImage left = draw("0;200;0;0;0;600;0;1;0;0;0;0;XX;Arial;10;0;0;0;0;0;0;100");
    EXPECT_FALSE(InkIn(left, 0, 0, 100, 200));
    EXPECT_FALSE(InkIn(left, 0, 0, 600, 100));
    EXPECT_TRUE(InkIn(left, 100, 100, 300, 200));
}

TEST(DrawObjects, TextsReplaceTheirPlaceholdersAndIndentByLevel)
{
    InitReportPlaceholders();
    SetPlaceholderValue(QString(), PlaceholderTitle);
    auto draw = [](const char *label, int indent) {
        QImage image = Page(800, 100);
        QPainter painter(&image);
        const tDrawContext context = tDrawContext::ForPainter(&painter);
        tBand band{0, 0, 800, 100};
        auto text = std::make_unique<CDrawText>();
        text->ReadTokens(QString::fromLatin1("0;100;0;0;0;800;0;1;0;0;0;0;%1;Arial;10;0;0;0;0;0;0;0")
                             .arg(QLatin1String(label))
                             .split(u';'),
                         QString());
        text->Draw(context, band, nullptr, nullptr, indent);
        return image;
    };
    EXPECT_FALSE(InkIn(draw("[Title]", 0), 0, 0, 800, 100)) << "an empty title draws nothing";
    const QImage flush = draw("Abc", 0);
    const QImage indented = draw("Abc", 3);
    EXPECT_TRUE(InkIn(flush, 0, 0, 10, 100));
    EXPECT_FALSE(InkIn(indented, 0, 0, 10, 100)) << "six spaces before the label";
}

// A data line at 254 dpi over a band 1000 pixels wide; its font is Arial 8.
class DataLineTest : public ::testing::Test
{
protected:
    QImage draw(CDrawDataLine &line, const QStringList &texts, const std::vector<tColumn> &columns, tBand &band)
    {
        image = Page(1200, 800);
        QPainter painter(&image);
        const tDrawContext context = tDrawContext::ForPainter(&painter);
        line.Draw(context, band, &texts, &columns, 0);
        return image;
    }
    QImage image;
};

TEST_F(DataLineTest, ColumnsShareTheWidthAndTheLastEndsAtTheRightEdge)
{
    // Separators on, red; no texts so that only separators draw.
    auto line = Read<CDrawDataLine>("0;50;0;1;0;1000;0;1;0;0;0;0;;Arial;8;0;0;0;0;0;0;0;0;1;0;255;1;0");
    tBand band{100, 0, 1100, 200};
    const std::vector<tColumn> columns{{300, 0}, {300, 0}, {400, 0}};
    draw(*line, QStringList{QString(), QString(), QString()}, columns, band);
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(image.pixel(400, 10), red);
    EXPECT_EQ(image.pixel(700, 10), red);
    EXPECT_NE(image.pixel(100, 10), red) << "no separator before the first column";
    int separators = 0;
    for (int x = 100; x < 1100; ++x)
        separators += image.pixel(x, 10) == red;
    EXPECT_EQ(separators, 2);

    // Widths that fall short of a thousand: the last column still ends at
    // the right edge (its right-aligned text touches it).
    auto right = Read<CDrawDataLine>("0;50;0;1;0;1000;0;1;0;0;0;0;;Arial;8;0;0;0;0;0;0;0;0;0;0;0;1;0");
    tBand second{100, 0, 1100, 200};
    draw(*right, QStringList{QString(), QStringLiteral("MMM")}, {{300, 0}, {300, 2}}, second);
    EXPECT_TRUE(InkIn(image, 1050, 0, 1100, 50));
    EXPECT_FALSE(InkIn(image, 600, 0, 1000, 50));
}

TEST_F(DataLineTest, TheLabelSpansItsColumns)
{
    auto line = Read<CDrawDataLine>("0;50;0;1;0;1000;0;1;0;0;0;0;LLL;Arial;8;0;0;0;0;0;0;0;0;0;0;0;1;2");
    tBand band{0, 0, 1200, 200};
    draw(*line, QStringList{QStringLiteral("AAA"), QStringLiteral("BBB"), QStringLiteral("CCC")},
         {{300, 0}, {300, 0}, {400, 0}}, band);
    EXPECT_TRUE(InkIn(image, 0, 0, 360, 50)) << "the label";
    EXPECT_FALSE(InkIn(image, 360, 0, 720, 50)) << "the second cell is empty";
    EXPECT_TRUE(InkIn(image, 720, 0, 1200, 50)) << "cell text 2";
}

TEST_F(DataLineTest, ThreeLinesOfTextGrowTheBandAndTheSection)
{
    const QString path = TestFolders::writeFile(
        QStringLiteral("grow.tpl"),
        "[Zarvo template, Version=1]\n[DataLineEven]\nparams=50\n"
        "data=0;50;0;1;0;1000;0;1;0;0;1;0x00FF00;;Arial;8;0;0;0;0;0;0;0;0;0;0;0;1;0\n"
        "box=0;50;0;1;0;1000;0;1;0;0;0;0\n");
    CReportTemplate tpl;
    ASSERT_EQ(tpl.Load(QString(), path, QString()), CReportTemplate::Loaded);
    image = Page(1200, 800);
    QPainter painter(&image);
    const tDrawContext context = tDrawContext::ForPainter(&painter);
    const QStringList texts{QStringLiteral("un\ndeux\ntrois"), QStringLiteral("x")};
    const std::vector<tColumn> columns{{500, 0}, {500, 0}};
    tDrawTextStyle style;
    style.Size = 8;
    const QFontMetrics metrics(context.MakeFont(style), &image);
    const int lineHeight = metrics.boundingRect(QRect(), Qt::TextSingleLine, QStringLiteral("Wfg")).height();
    const int threeLines = metrics.boundingRect(QRect(0, 0, 600, 0), Qt::TextWordWrap, texts[0]).height();
    const int expected = threeLines + std::max(0, 50 - lineHeight);
    ASSERT_GT(expected, 50);

    EXPECT_EQ(tpl.MeasureSection(CReportTemplate::DataLineEven, 0, context, 0, 0, 1200, &texts, &columns), expected);
    double y = 100;
    tpl.DrawSection(CReportTemplate::DataLineEven, 0, y, context, 0, 1200, &texts, &columns, 0);
    EXPECT_DOUBLE_EQ(y, 100.0 + expected);
    painter.end();
    EXPECT_EQ(image.pixel(800, 100 + expected - 1), qRgb(0, 255, 0)) << "the fill grew with the band";
    EXPECT_NE(image.pixel(800, 100 + expected + 1), qRgb(0, 255, 0));
    // Without texts the section keeps its height.
    double z = 0;
    tpl.DrawSection(CReportTemplate::DataLineEven, 0, z, context, 0, 1200, nullptr, nullptr, 0);
    EXPECT_DOUBLE_EQ(z, 50.0);
}

TEST(DrawObjects, AnImageDrawsWhenItsFileReadsAndOnlyItsFillOtherwise)
{
    // A 4 x 1 picture of 96 dpi, blue.
    QImage source(4, 1, QImage::Format_RGB32);
    source.fill(qRgb(0, 0, 255));
    const QString folder = TestFolders::root() + u'/';
    ASSERT_TRUE(source.save(folder + QStringLiteral("logo.bmp")));

    const struct {
        const char *tokens;
        bool picture;
        bool border;
    } cases[] = {
        {"0;100;0;0;0;200;15;1;0;255;1;0x00FF00;absent.bmp;2", false, false},
        {"0;100;0;0;0;200;15;1;0;255;1;0x00FF00;logo.bmp;2", true, true},
        {"0;100;0;0;0;0;15;1;0;255;1;0x00FF00;logo.bmp;2", false, false}, // no width: nothing at all
    };
    for (const auto &c : cases) {
        QImage image = Page(300, 200);
        QPainter painter(&image);
        const tDrawContext context = tDrawContext::ForPainter(&painter);
        auto img = std::make_unique<CDrawImg>();
        img->ReadTokens(QString::fromLatin1(c.tokens).split(u';'), folder);
        tBand band{0, 0, 300, 200};
        img->Draw(context, band, nullptr, nullptr, 0);
        painter.end();
        EXPECT_EQ(image.pixel(100, 50) == qRgb(0, 0, 255), c.picture) << c.tokens;
        EXPECT_EQ(image.pixel(0, 50) == qRgb(255, 0, 0), c.border) << c.tokens;
        if (!c.picture && QByteArray(c.tokens).contains(";200;")) {
            EXPECT_EQ(image.pixel(100, 50), qRgb(0, 255, 0)) << "the fill alone";
        }
    }

    // Fit modes over 200 x 100: natural size (4 x 1 at 96 dpi is 10 x 2 at
    // 254 dpi), fitted (200 x 50, centred down), stretched.
    const struct {
        int mode;
        QPoint in;
        QPoint out;
    } modes[] = {{0, {5, 1}, {20, 1}}, {1, {100, 50}, {100, 10}}, {2, {100, 10}, {250, 50}}};
    for (const auto &m : modes) {
        QImage image = Page(300, 200);
        QPainter painter(&image);
        const tDrawContext context = tDrawContext::ForPainter(&painter);
        auto img = std::make_unique<CDrawImg>();
        img->ReadTokens(QStringLiteral("0;100;0;0;0;200;0;1;0;0;0;0;logo.bmp;%1").arg(m.mode).split(u';'), folder);
        tBand band{0, 0, 300, 200};
        img->Draw(context, band, nullptr, nullptr, 0);
        painter.end();
        EXPECT_EQ(image.pixel(m.in), qRgb(0, 0, 255)) << m.mode;
        EXPECT_NE(image.pixel(m.out), qRgb(0, 0, 255)) << m.mode;
    }
}

TEST(DrawObjects, DataLineFontsAreKeptForAPageOnlyOnTheirDevice)
{
    const QString path = TestFolders::writeFile(
        QStringLiteral("keep.tpl"), "[Zarvo template, Version=1]\n[DataLineOdd]\nparams=50\n"
                                    "data=0;50;0;1;0;1000;0;1;0;0;0;0;;Arial;8;0;0;0;0;0;0;0;0;0;0;0;1;0\n");
    CReportTemplate tpl;
    ASSERT_EQ(tpl.Load(QString(), path, QString()), CReportTemplate::Loaded);
    QImage low = Page(400, 400, 96);
    QImage high = Page(400, 400, 600);
    const QStringList texts{QStringLiteral("un\ndeux\ntrois")};
    const std::vector<tColumn> columns{{1000, 0}};
    const tDrawContext lowContext = tDrawContext::ForDevice(&low);
    const tDrawContext highContext = tDrawContext::ForDevice(&high);
    auto measure = [&](const tDrawContext &context) {
        return tpl.MeasureSection(CReportTemplate::DataLineOdd, 0, context, 0, 0, 400, &texts, &columns);
    };
    const int lowHeight = measure(lowContext);
    const int highHeight = measure(highContext);
    EXPECT_GT(highHeight, lowHeight * 5);
    // Fonts kept for the low device measure the same there, and are not
    // taken for the high one.
    tpl.CreateDataLineResources(lowContext);
    EXPECT_EQ(measure(lowContext), lowHeight);
    EXPECT_EQ(measure(highContext), highHeight);
    tpl.ReleaseDataLineResources();
}

} // namespace
