// The colour button: its pop-up's entries, the keys inside the swatch grid,
// the colour dialog behind its seam, and what the button shows.
#include "CColorChoiceButton.h"

#include "ColorRef.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class ColorChoiceButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        button.EnableAutomatic(QStringLiteral("Défaut"), Automatic);
        button.EnableOtherColors(QStringLiteral("Autre ..."));
        button.resize(button.sizeHint());
        button.show();
    }
    void TearDown() override { CColorChoiceButton::SetColorAsker({}); }

    QWidget *open()
    {
        QTest::mouseClick(&button, Qt::LeftButton);
        return button.Popup();
    }
    template<typename W>
    W *entry(QWidget *popup, const QString &name)
    {
        W *w = popup ? popup->findChild<W *>(name) : nullptr;
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }

    static constexpr quint32 Automatic = 0x00C0FFEE & 0xFFFFFF;
    CColorChoiceButton button;
};

} // namespace

TEST_F(ColorChoiceButtonTest, ThePopupOffersTheAutomaticEntryTenColumnsOfSwatchesAndOtherColours)
{
    QSignalSpy chosen(&button, &CColorChoiceButton::colorChosen);
    QWidget *popup = open();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(entry<QPushButton>(popup, QStringLiteral("automatic"))->text(), QStringLiteral("Défaut"));
    EXPECT_EQ(entry<QPushButton>(popup, QStringLiteral("other"))->text(), QStringLiteral("Autre ..."));
    // Ten to a row.
    auto *first = entry<QToolButton>(popup, QStringLiteral("swatch0"));
    auto *tenth = entry<QToolButton>(popup, QStringLiteral("swatch9"));
    auto *eleventh = entry<QToolButton>(popup, QStringLiteral("swatch10"));
    EXPECT_EQ(first->y(), tenth->y());
    EXPECT_GT(eleventh->y(), first->y());
    EXPECT_EQ(eleventh->x(), first->x());
    // Under the button.
    EXPECT_GE(popup->y(), button.mapToGlobal(QPoint(0, button.height())).y() - 1);

    QTest::mouseClick(eleventh, Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_FALSE(button.IsAutomatic());
    EXPECT_EQ(button.Color(), CColorChoiceButton::Palette().at(10));
    EXPECT_EQ(button.Popup(), nullptr);

    QTest::mouseClick(entry<QPushButton>(open(), QStringLiteral("automatic")), Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 2);
    EXPECT_TRUE(button.IsAutomatic());
    EXPECT_EQ(button.Color(), Automatic);
}

TEST_F(ColorChoiceButtonTest, KeysMoveThroughTheGridAndChoose)
{
    button.SetColor(CColorChoiceButton::Palette().at(12));
    QWidget *popup = open();
    // The colour shown is the entry with the focus.
    auto *current = entry<QToolButton>(popup, QStringLiteral("swatch12"));
    EXPECT_TRUE(current->isChecked());
    EXPECT_EQ(popup->focusWidget(), current);
    QTest::keyClick(current, Qt::Key_Down);
    QTest::keyClick(popup->focusWidget(), Qt::Key_Right);
    EXPECT_EQ(popup->focusWidget()->objectName(), QStringLiteral("swatch23"));
    // The entry with the focus is drawn raised out of the flat grid.
    EXPECT_FALSE(static_cast<QToolButton *>(popup->focusWidget())->autoRaise());
    EXPECT_TRUE(current->autoRaise());
    QTest::keyClick(popup->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(button.Color(), CColorChoiceButton::Palette().at(23));

    // Up from the first row reaches the automatic entry, down from the last
    // the other-colours entry.
    popup = open();
    QWidget *w = entry<QToolButton>(popup, QStringLiteral("swatch3"));
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Up);
    EXPECT_EQ(popup->focusWidget()->objectName(), QStringLiteral("automatic"));
    w = entry<QToolButton>(popup, QStringLiteral("swatch35"));
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Down);
    EXPECT_EQ(popup->focusWidget()->objectName(), QStringLiteral("other"));
    // Escape leaves without a change.
    QTest::keyClick(popup->focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(button.Color(), CColorChoiceButton::Palette().at(23));
}

TEST_F(ColorChoiceButtonTest, OtherColoursAskTheColourDialogStartingFromTheColourShown)
{
    QList<quint32> asked;
    std::optional<quint32> answer = 0x123456;
    CColorChoiceButton::SetColorAsker([&](QWidget *owner, quint32 initial) {
        EXPECT_EQ(owner, &button);
        asked << initial;
        return answer;
    });
    QSignalSpy chosen(&button, &CColorChoiceButton::colorChosen);
    button.SetAutomatic();
    QTest::mouseClick(entry<QPushButton>(open(), QStringLiteral("other")), Qt::LeftButton);
    EXPECT_EQ(asked, QList<quint32>{Automatic});
    EXPECT_EQ(button.Color(), 0x123456u);
    EXPECT_FALSE(button.IsAutomatic());
    EXPECT_EQ(chosen.count(), 1);

    // Cancelled in the dialog: nothing changes, nothing is told.
    answer.reset();
    QTest::mouseClick(entry<QPushButton>(open(), QStringLiteral("other")), Qt::LeftButton);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(asked.last(), 0x123456u);
    EXPECT_EQ(button.Color(), 0x123456u);
    EXPECT_EQ(chosen.count(), 1);
}

TEST_F(ColorChoiceButtonTest, TheButtonShowsItsColourAndTheAutomaticText)
{
    button.SetColor(0x0000FF); // red
    const QImage red = button.grab().toImage();
    const QPoint inSwatch(10, button.height() / 2);
    EXPECT_EQ(QColor(red.pixel(inSwatch)), QColor(255, 0, 0));
    button.SetAutomatic();
    const QImage automatic = button.grab().toImage();
    EXPECT_EQ(QColor(automatic.pixel(inSwatch)), ColorRefToQColor(Automatic));
    EXPECT_GE(button.sizeHint().width(), button.fontMetrics().horizontalAdvance(QStringLiteral("Défaut")));
    // Alt+Down opens the pop-up as a click does.
    QTest::keyClick(&button, Qt::Key_Down, Qt::AltModifier);
    EXPECT_NE(button.Popup(), nullptr);
}
