// The read-only drawn combo box, painted for real.
#include "CReadOnlyCB.h"
#include "UiUtilities.h"

#include "PixelColours.h"
#include "QStringPrinter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A palette whose highlight and text colours stand apart.
QPalette testPalette()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    return palette;
}

// One item drawn alone into a 200 x 24 picture filled with magenta.
QImage drawn(const QString &text, const CReadOnlyCB::ItemLook &look, const QPalette &palette = testPalette())
{
    QImage image(200, 24, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.setFont(QApplication::font());
    CReadOnlyCB::DrawItem(painter, QRect(0, 0, 200, 24), text, palette, look);
    return image;
}

int countPixels(const QImage &image, QRgb colour, const QRect &area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += Near(image.pixel(x, y), colour, 0) ? 1 : 0;
    return n;
}

// The columns holding any pixel darker than the background.
QPair<int, int> inkColumns(const QImage &image, const QRect &area, int threshold = 160)
{
    int first = -1, last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < threshold) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

TEST(ReadOnlyCBTest, HighlightBoxBehindTheText)
{
    struct Case
    {
        const char *name;
        QRect textRect;
        int textWidth, textHeight;
        QRect box;
    };
    const Case cases[] = {
        {"text lower than the field", QRect(1, 0, 100, 20), 40, 14, QRect(0, 2, 42, 17)},
        {"text as high as the field", QRect(1, 0, 100, 14), 40, 14, QRect(1, 0, 40, 14)},
        {"text wider than the field", QRect(1, 0, 100, 20), 300, 14, QRect(0, 2, 102, 17)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CReadOnlyCB::HighlightBox(c.textRect, c.textWidth, c.textHeight), c.box);
    }
}

TEST(ReadOnlyCBTest, ClosedFieldHighlightsOnlyBehindTheTextAndTheListTheWholeRow)
{
    const QRgb highlight = qRgb(0, 0, 200);
    CReadOnlyCB::ItemLook field;
    field.inField = true;
    field.selected = true;
    const QImage shot = drawn(QStringLiteral("Anne"), field);
    const QFontMetrics metrics(QApplication::font());
    const QRect box = CReadOnlyCB::HighlightBox(QRect(1, 0, 198, 24), metrics.horizontalAdvance(QStringLiteral("Anne")),
                                                metrics.height());
    EXPECT_TRUE(Near(shot.pixel(box.left(), box.top()), highlight, 0));
    EXPECT_TRUE(Near(shot.pixel(box.right(), box.bottom()), highlight, 0));
    EXPECT_EQ(countPixels(shot, highlight, QRect(box.right() + 1, 0, 200 - box.right() - 1, 24)), 0);
    EXPECT_TRUE(Near(shot.pixel(150, 12), qRgb(255, 255, 255), 0)) << "white outside the text box";
    EXPECT_TRUE(Near(shot.pixel(box.left(), 0), qRgb(255, 255, 255), 0)) << "white above the box";

    CReadOnlyCB::ItemLook row;
    row.selected = true;
    const QImage listShot = drawn(QStringLiteral("Anne"), row);
    EXPECT_TRUE(Near(listShot.pixel(0, 0), highlight, 0));
    EXPECT_TRUE(Near(listShot.pixel(199, 23), highlight, 0));
    EXPECT_TRUE(Near(listShot.pixel(150, 12), highlight, 0));
    // The list's text starts 4 pixels in, the field's 1.
    EXPECT_GE(inkColumns(drawn(QStringLiteral("W"), CReadOnlyCB::ItemLook{}), QRect(0, 0, 200, 24)).first, 4);
    CReadOnlyCB::ItemLook plainField;
    plainField.inField = true;
    EXPECT_LT(inkColumns(drawn(QStringLiteral("W"), plainField), QRect(0, 0, 200, 24)).first, 4);
}

TEST(ReadOnlyCBTest, DisabledGreyAndLongTextsCutAtTheEnd)
{
    CReadOnlyCB::ItemLook disabled;
    disabled.inField = true;
    disabled.enabled = false;
    const QImage shot = drawn(QStringLiteral("Anne"), disabled);
    int darkest = 255;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
            darkest = qMin(darkest, qGray(shot.pixel(x, y)));
    EXPECT_GT(darkest, 70) << "grey, not black";
    EXPECT_LT(darkest, 200) << "but drawn";
    EXPECT_TRUE(Near(shot.pixel(150, 12), qRgb(255, 255, 255), 0)) << "on the normal background";

    // A text far wider than the row keeps its start and ends in "...".
    const QString longText = QString(60, u'm') + QStringLiteral("END");
    CReadOnlyCB::ItemLook row;
    const QImage cut = drawn(longText, row);
    QImage expected(200, 24, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        painter.setFont(QApplication::font());
        const QString shown = EllipsizeText(QFontMetrics(QApplication::font()), longText, 192, true);
        ASSERT_TRUE(shown.endsWith(QStringLiteral("m...")));
        painter.drawText(QRect(4, 0, 192, 24), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }
    EXPECT_EQ(cut, expected);
}

TEST(ReadOnlyCBTest, TheWidgetDrawsItsFieldAndNothingWithoutAnItem)
{
    CReadOnlyCB box;
    box.setPalette(testPalette());
    box.resize(160, box.sizeHint().height());
    const QRect inner = QRect(QPoint(0, 0), box.size()).adjusted(6, 4, -40, -4);

    // Empty: no text at all in the field.
    EXPECT_EQ(inkColumns(box.grab().toImage(), inner).first, -1);
    box.addItem(QStringLiteral("Anne"));
    box.addItem(QStringLiteral("Bruno"));
    EXPECT_GE(inkColumns(box.grab().toImage(), inner).first, 0);
    // An index outside the items draws nothing either.
    box.setCurrentIndex(-1);
    EXPECT_EQ(inkColumns(box.grab().toImage(), inner).first, -1);

    // With the focus: the highlight behind the text, white beside it.
    box.setCurrentIndex(1);
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    box.setFocus();
    ASSERT_TRUE(box.hasFocus());
    const QImage focused = box.grab().toImage();
    const int middle = focused.height() / 2;
    EXPECT_TRUE(Near(focused.pixel(inner.left(), middle), qRgb(0, 0, 200), 0));
    EXPECT_TRUE(Near(focused.pixel(inner.right(), middle), qRgb(255, 255, 255), 0));

    // Disabled: grey text and no highlight.
    box.setEnabled(false);
    const QImage disabled = box.grab().toImage();
    EXPECT_EQ(countPixels(disabled, qRgb(0, 0, 200), inner), 0);
    EXPECT_GE(inkColumns(disabled, inner, 200).first, 0);
    EXPECT_EQ(inkColumns(disabled, inner, 60).first, -1) << "no black text";

    // The list paints its rows with the same look.
    EXPECT_NE(dynamic_cast<QStyledItemDelegate *>(box.view()->itemDelegate()), nullptr);
}
