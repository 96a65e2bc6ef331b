// A print in greyscale: what is drawn on the grey device reaches the painter
// of the other device in grey, each kind of drawing the report uses (fills,
// lines, text, gradients, pictures), and the device measures as the other.
#include "CGreyPaintDevice.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct Counts
{
    int coloured = 0; // pixels whose red, green and blue differ
    int inked = 0;    // pixels darker than the paper
};

Counts count(const QImage &image, const QRect &area)
{
    Counts counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            counts.coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel);
            counts.inked += qGray(pixel) < 250;
        }
    }
    return counts;
}

// Draws each kind of drawing in its own band of a 400 by 250 page.
void drawColours(QPainter &painter)
{
    painter.fillRect(QRect(10, 10, 380, 30), QColor(200, 30, 30));
    painter.setPen(QPen(QColor(20, 160, 40), 4));
    painter.drawLine(10, 60, 390, 60);
    painter.setPen(QColor(30, 30, 220));
    QFont font = painter.font();
    font.setPixelSize(24);
    painter.setFont(font);
    painter.drawText(QRect(10, 80, 380, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Relevé d'essai"));
    QLinearGradient gradient(10, 0, 390, 0);
    gradient.setColorAt(0, Qt::yellow);
    gradient.setColorAt(1, Qt::magenta);
    painter.fillRect(QRect(10, 130, 380, 30), gradient);
    QImage logo(40, 40, QImage::Format_ARGB32);
    logo.fill(QColor(0, 140, 200));
    painter.drawImage(QRect(10, 180, 80, 60), logo);
    painter.drawPixmap(QRect(110, 180, 80, 60), QPixmap::fromImage(logo));
}

} // namespace

TEST(GreyPaintDeviceTest, EveryKindOfDrawingReachesTheOtherDeviceInGrey)
{
    const QRect bands[] = {{10, 10, 380, 30}, {10, 58, 380, 5}, {10, 80, 380, 40}, {10, 130, 380, 30},
                           {10, 180, 80, 60}, {110, 180, 80, 60}};
    for (const bool greyed : {false, true}) {
        SCOPED_TRACE(greyed ? "through the grey device" : "straight");
        QImage page(400, 250, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter target(&page);
        if (greyed) {
            CGreyPaintDevice grey(target, page);
            QPainter painter(&grey);
            drawColours(painter);
        } else {
            drawColours(target);
        }
        target.end();
        for (const QRect &band : bands) {
            SCOPED_TRACE(QStringLiteral("band at %1").arg(band.top()).toStdString());
            const Counts counts = count(page, band);
            EXPECT_GT(counts.inked, band.width() * band.height() / 20) << "drawn";
            if (greyed)
                EXPECT_EQ(counts.coloured, 0);
            else
                EXPECT_GT(counts.coloured, 0);
        }
    }
    // The fill's grey is the grey of its colour.
    QImage page(20, 20, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter target(&page);
    {
        CGreyPaintDevice grey(target, page);
        QPainter painter(&grey);
        painter.fillRect(page.rect(), QColor(200, 30, 30));
    }
    target.end();
    EXPECT_EQ(page.pixel(5, 5), qRgb(qGray(200, 30, 30), qGray(200, 30, 30), qGray(200, 30, 30)));
}

TEST(GreyPaintDeviceTest, TheDeviceMeasuresAsTheOther)
{
    QImage page(300, 200, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811); // 300 dpi
    page.setDotsPerMeterY(11811);
    QPainter target(&page);
    CGreyPaintDevice grey(target, page);
    EXPECT_EQ(grey.width(), 300);
    EXPECT_EQ(grey.height(), 200);
    EXPECT_EQ(grey.logicalDpiX(), page.logicalDpiX());
    EXPECT_EQ(grey.logicalDpiY(), page.logicalDpiY());
    EXPECT_EQ(grey.widthMM(), page.widthMM());
    // Fonts are laid out for the other device's resolution.
    QFont font;
    font.setPointSize(12);
    EXPECT_EQ(QFontMetrics(font, &grey).height(), QFontMetrics(font, &page).height());
}

// A clip set on the grey device, a rectangle, a region or a path (also
// under a moved origin, and one clip narrowed by another), then a fill of the whole
// page: outside the clip the page stays white, inside it is grey, the same
// pixels as drawn straight.
TEST(GreyPaintDeviceTest, AClipHoldsAsWhenDrawnStraight)
{
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(60, 40, 200, 120));
    const struct
    {
        const char *what;
        std::function<void(QPainter &)> clip;
    } cases[] = {
        {"a rectangle", [](QPainter &p) { p.setClipRect(QRect(50, 30, 120, 80)); }},
        {"a rectangle of fractions", [](QPainter &p) { p.setClipRect(QRectF(50.5, 30.25, 120.5, 80.5)); }},
        {"a region", [](QPainter &p) { p.setClipRegion(QRegion(50, 30, 120, 80) + QRegion(200, 150, 40, 40)); }},
        {"a path", [ellipse](QPainter &p) { p.setClipPath(ellipse); }},
        {"a rectangle under a moved origin",
         [](QPainter &p) {
             p.translate(100, 50);
             p.setClipRect(QRect(0, 0, 120, 80));
             p.resetTransform();
         }},
        {"a rectangle narrowed by a path",
         [ellipse](QPainter &p) {
             p.setClipRect(QRect(0, 0, 150, 250));
             p.setClipPath(ellipse, Qt::IntersectClip);
         }},
        {"a path narrowed by a rectangle",
         [ellipse](QPainter &p) {
             p.setClipPath(ellipse);
             p.setClipRect(QRect(0, 0, 150, 250), Qt::IntersectClip);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QImage pages[2];
        for (const bool greyed : {false, true}) {
            QImage &page = pages[greyed];
            page = QImage(400, 250, QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter target(&page);
            const auto draw = [&](QPainter &painter) {
                c.clip(painter);
                // Grey already, so that both pages are alike where painted.
                painter.fillRect(QRect(0, 0, 400, 250), QColor(90, 90, 90));
            };
            if (greyed) {
                CGreyPaintDevice grey(target, page);
                QPainter painter(&grey);
                draw(painter);
            } else {
                draw(target);
            }
        }
        const Counts straight = count(pages[0], pages[0].rect());
        EXPECT_GT(straight.inked, 1000);
        EXPECT_LT(straight.inked, 400 * 250 / 2) << "the clip holds when drawn straight";
        int differing = 0;
        for (int y = 0; y < 250; ++y)
            for (int x = 0; x < 400; ++x)
                differing += pages[0].pixel(x, y) != pages[1].pixel(x, y);
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(count(pages[1], pages[1].rect()).inked, straight.inked);
    }
}
