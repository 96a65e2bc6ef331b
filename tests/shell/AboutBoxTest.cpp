// The about box: its title from the version numbers and its fonts.
#include "CDlgAbout.h"
#include "CMyStatic.h"
#include "QStringPrinter.h"
#include "Texts.h"
#include "ZarvoVersion.h"

#include <QApplication>
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
    EXPECT_EQ(box.windowTitle(), QStringLiteral("A propos de Zarvo"));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.result(), QDialog::Accepted);
}
