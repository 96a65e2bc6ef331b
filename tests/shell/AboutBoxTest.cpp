// The about box: its title from the version numbers and its fonts.
#include "CDlgAbout.h"
#include "CMyStatic.h"
#include "CSplashScreenEx.h"
#include "QStringPrinter.h"
#include "Texts.h"
#include "ZarvoVersion.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(AboutBoxTest, TitleShowsThreeOfTheFourVersionNumbers)
{
    const QString title = CDlgAbout::TitleText(QStringLiteral("Zarvo"), (2u << 16) | 5u, (31u << 16) | 7u);
    EXPECT_EQ(title, QStringLiteral("Zarvo\n\n") + Platform::Texts::get(206) + QStringLiteral(" 2.5.31"));
}

TEST(AboutBoxTest, FontsAreOneAndAHalfAndOnePointTwoTimesTheApplications)
{
    QFont base = QApplication::font();
    base.setPointSize(10);
    EXPECT_EQ(CDlgAbout::TitleFont(base).pointSize(), 15);
    EXPECT_EQ(CDlgAbout::TitleFont(base).weight(), QFont::Bold);
    EXPECT_EQ(CDlgAbout::LineFont(base).pointSize(), 12);
    EXPECT_EQ(CDlgAbout::LineFont(base).weight(), QFont::Normal);
    base.setPointSize(9);
    EXPECT_EQ(CDlgAbout::TitleFont(base).pointSize(), 13); // truncated
    EXPECT_EQ(CDlgAbout::LineFont(base).pointSize(), 10);
}

TEST(AboutBoxTest, ShowsTheProgramsVersionInItsColour)
{
    CDlgAbout box;
    box.show();
    EXPECT_TRUE(box.Title()->Text().endsWith(QStringLiteral(ZARVO_VERSION_TEXT).section(u'.', 0, 2)));
    EXPECT_EQ(box.Line()->Text(), Platform::Texts::get(207));
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), Platform::Texts::get(101));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("À propos de Zarvo"));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

// The about box shows the start-up picture without the band where the
// splash draws its progress: no empty white bar runs across the picture.
TEST(AboutBoxTest, ThePictureHasNoEmptyProgressTrack)
{
    CDlgAbout box;
    box.show();
    auto *picture = box.findChild<QLabel *>(QStringLiteral("picture"));
    ASSERT_NE(picture, nullptr);
    const QImage image = picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.height(), CSplashScreenEx::kLowerBandTop);
    int longestWhiteRun = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = image.pixel(x, y) == qRgb(255, 255, 255) ? run + 1 : 0;
            longestWhiteRun = qMax(longestWhiteRun, run);
        }
    }
    // The paper's top row is about 230 white pixels long; the track of the
    // progress bar ran 404.
    EXPECT_LT(longestWhiteRun, 300);
    // The picture stands whole in the box.
    EXPECT_GE(picture->height(), image.height());
}
