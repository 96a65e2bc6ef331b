#include "CColorStatic.h"
#include "CMyStatic.h"
#include "CTransparentImage.h"
#include "TextFormatFlags.h"

#include "ColorRef.h"
#include "PixelColours.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The colours a painted control shows, with the text colour counted apart.
struct Shot
{
    QImage image;
    explicit Shot(QWidget &w) : image(w.grab().toImage()) {}
    QRgb at(int x, int y) const { return image.pixel(x, y); }
    // The bounding box of the pixels near `colour`.
    QRect box(QRgb colour) const
    {
        QRect r;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (Near(image.pixel(x, y), colour, 60))
                    r = r.united(QRect(x, y, 1, 1));
        return r;
    }
};

} // namespace

TEST(TextFormatFlags, NumbersBecomeQtFlagsOnce)
{
    using F = TextFormatFlags;
    struct Case
    {
        quint32 flags;
        int qt;
        Qt::TextElideMode elide;
    };
    const Case cases[] = {
        {0, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, Qt::ElideNone},
        {F::Centre | F::WordWrap, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, Qt::ElideNone},
        // The format of a list cell: one line, vertically centred, '&' as it stands.
        {0xA24, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Qt::ElideNone},
        {F::NoClip | F::NoAmpersand, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, Qt::ElideNone},
        // Vertical placement counts for single lines only.
        {F::Right | F::Bottom, Qt::AlignRight | Qt::AlignTop | Qt::TextShowMnemonic, Qt::ElideNone},
        {F::Right | F::Bottom | F::SingleLine | F::NoAmpersand, Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine, Qt::ElideNone},
        {F::SingleLine | F::WordWrap | F::EndEllipsis | F::NoAmpersand, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Qt::ElideRight},
        {F::MiddleEllipsis | F::ExpandTabs | F::NoAmpersand, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, Qt::ElideMiddle},
    };
    for (const Case &c : cases) {
        const F::Mapped m = F::ToQt(c.flags);
        EXPECT_EQ(m.qtFlags, c.qt) << std::hex << c.flags;
        EXPECT_EQ(m.elide, c.elide) << std::hex << c.flags;
    }
}

TEST(Statics, ColourStaticPaintsItsColours)
{
    CColorStatic label;
    label.setText(QStringLiteral("MMMMMMMM"));
    label.resize(120, 30);
    // Until set, the background is the palette's button colour.
    EXPECT_EQ(label.BkColor(), QColorToColorRef(QApplication::palette().color(QPalette::Button)));
    label.SetBkColor(0x00FF0000);  // blue
    label.SetTextColor(0x000000FF); // red
    const Shot shot(label);
    EXPECT_EQ(shot.at(118, 28), qRgb(0, 0, 255));
    EXPECT_FALSE(shot.box(qRgb(255, 0, 0)).isEmpty());
}

TEST(Statics, OwnerDrawnStaticPlacesItsTextByTheFlags)
{
    CMyStatic label;
    label.resize(200, 60);
    label.SetText(QStringLiteral("MM"));
    label.SetBkColor(0x0000FF00); // green
    label.SetTextColor(0x00000000);
    QFont big = label.font();
    big.setPixelSize(20);
    label.SetOwnFont(big);

    label.SetTextFormat(TextFormatFlags::Right | TextFormatFlags::Bottom | TextFormatFlags::SingleLine);
    QRect text = Shot(label).box(qRgb(0, 0, 0));
    EXPECT_EQ(Shot(label).at(0, 0), qRgb(0, 255, 0));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GT(text.left(), 140);
    EXPECT_GT(text.top(), 30);
    EXPECT_GE(text.height(), 12); // the own font, not the small default

    label.SetTextFormat(TextFormatFlags::Centre | TextFormatFlags::Middle | TextFormatFlags::SingleLine);
    text = Shot(label).box(qRgb(0, 0, 0));
    EXPECT_NEAR(text.center().x(), 100, 4);
    EXPECT_NEAR(text.center().y(), 30, 6);

    label.ClearOwnFont();
    EXPECT_LT(Shot(label).box(qRgb(0, 0, 0)).height(), text.height());

    // An end ellipsis keeps a long line inside the control.
    label.SetText(QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"));
    label.SetTextFormat(TextFormatFlags::SingleLine | TextFormatFlags::EndEllipsis | TextFormatFlags::Right);
    text = Shot(label).box(qRgb(0, 0, 0));
    EXPECT_LE(text.right(), 199);
    EXPECT_GT(text.left(), 0);
}

// Pixels of the transparent colour show the window behind the picture.
TEST(Statics, TransparentImageLeavesItsColourOut)
{
    QWidget dialog;
    dialog.resize(100, 100);
    dialog.setAutoFillBackground(true);
    QPalette p = dialog.palette();
    p.setColor(QPalette::Window, QColor(10, 200, 30));
    dialog.setPalette(p);

    // A 10 x 10 red picture whose corners are magenta.
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 0));
    for (QPoint corner : {QPoint(0, 0), QPoint(9, 0), QPoint(0, 9), QPoint(9, 9)})
        picture.setPixelColor(corner, QColor(255, 0, 255));

    auto *image = new CTransparentImage(&dialog);
    image->setGeometry(0, 0, 40, 40); // scaled four times
    image->SetImage(picture);
    QImage shot = dialog.grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1), qRgb(10, 200, 30));
    EXPECT_EQ(shot.pixel(38, 38), qRgb(10, 200, 30));
    EXPECT_EQ(shot.pixel(5, 1), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(20, 20), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(60, 60), qRgb(10, 200, 30));

    // Another transparent colour: the corners show, the red goes.
    image->SetTransparentColor(0x000000FF);
    shot = dialog.grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1), qRgb(255, 0, 255));
    EXPECT_EQ(shot.pixel(20, 20), qRgb(10, 200, 30));

    // An icon wins and keeps its own size at the top left.
    QPixmap icon(8, 8);
    icon.fill(QColor(0, 0, 255));
    image->SetIcon(icon);
    shot = dialog.grab().toImage();
    EXPECT_EQ(shot.pixel(7, 7), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(20, 20), qRgb(10, 200, 30));
}
