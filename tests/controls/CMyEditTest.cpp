#include "CEditReadOnly.h"
#include "CMyEdit.h"

#include "QStringPrinter.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace {

// Counts the beeps of every filtered edit.
class CMyEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CMyEdit::SetBeeper([this] { ++beeps; });
    }
    void TearDown() override
    {
        CMyEdit::SetBeeper({});
    }

    // A number field of a French system, shown so that it takes keys.
    void French(CMyEdit &edit)
    {
        edit.SetDecimalSeparator(u',');
        edit.show();
        edit.setFocus();
    }

    int beeps = 0;
};

// Drops `text` at the start of the edit as another window would.
bool dropText(CMyEdit &edit, const QString &text)
{
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(2, edit.height() / 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&edit, &enter);
    QDropEvent drop(QPointF(2, edit.height() / 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&edit, &drop);
    return drop.isAccepted();
}

} // namespace

TEST_F(CMyEditTest, TypingANumber)
{
    CMyEdit edit;
    French(edit);
    QTest::keyClicks(&edit, QStringLiteral("12.5x.3"));
    EXPECT_EQ(edit.text(), QStringLiteral("12,53"));
    EXPECT_EQ(beeps, 0); // the letter and the second separator go silently
    EXPECT_DOUBLE_EQ(edit.GetDoubleValue(), 12.53);

    // What was typed stays in the field's undo history.
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QString());
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("12,53"));
}

TEST_F(CMyEditTest, ARangeRefusesWithABeep)
{
    CMyEdit edit;
    French(edit);
    edit.SetNumberMode(true);
    edit.SetRange(1, 31);
    QTest::keyClicks(&edit, QStringLiteral("34"));
    EXPECT_EQ(edit.text(), QStringLiteral("3"));
    EXPECT_EQ(beeps, 1);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("3"));
    EXPECT_EQ(beeps, 2);
    QTest::keyClick(&edit, Qt::Key_Comma);
    EXPECT_EQ(beeps, 3);

    // Erasing a word with Qt's own key is checked after it ran.
    QTest::keyClick(&edit, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("3"));
    EXPECT_EQ(beeps, 4);
}

TEST_F(CMyEditTest, PastesAndDropsPassTheTypingRules)
{
    CMyEdit number;
    French(number);
    QClipboard *clipboard = QGuiApplication::clipboard();

    clipboard->setText(QStringLiteral("12abc"));
    QTest::keyClick(&number, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(number.text(), QString());
    EXPECT_EQ(beeps, 1);

    clipboard->setText(QStringLiteral("7.25"));
    QTest::keyClick(&number, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(number.text(), QStringLiteral("7,25"));

    EXPECT_FALSE(dropText(number, QStringLiteral("abc")));
    EXPECT_EQ(number.text(), QStringLiteral("7,25"));
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(dropText(number, QStringLiteral("3")));
    EXPECT_EQ(number.text(), QStringLiteral("37,25"));

    CMyEdit fileName;
    fileName.SetFileNameMode();
    fileName.show();
    EXPECT_FALSE(dropText(fileName, QStringLiteral("../passwd")));
    EXPECT_EQ(fileName.text(), QString());
    EXPECT_EQ(beeps, 3);
    EXPECT_TRUE(fileName.InsertText(QStringLiteral("Rapport.txt")));
    EXPECT_EQ(fileName.text(), QStringLiteral("Rapport.txt"));

    // Cutting erases as the Delete key would: here below the range.
    CMyEdit day;
    French(day);
    day.SetRange(1, 31);
    day.setText(QStringLiteral("12"));
    day.selectAll();
    QTest::keyClick(&day, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(day.text(), QStringLiteral("12"));
    EXPECT_EQ(beeps, 4);
}

TEST_F(CMyEditTest, TheContextMenusPasteGoesThroughTheRules)
{
    CMyEdit edit;
    French(edit);
    QGuiApplication::clipboard()->setText(QStringLiteral("1/2"));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2), edit.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&edit, &menuEvent);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction *paste = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text().endsWith(QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText)))
            paste = action;
    }
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(beeps, 1);
}

TEST_F(CMyEditTest, AKeyInAReadOnlyFieldTellsItsOwner)
{
    CMyEdit edit;
    edit.setProperty("controlId", 1042);
    edit.setText(QStringLiteral("5"));
    edit.setReadOnly(true);
    edit.show();
    QSignalSpy spy(&edit, &CMyEdit::readOnlyKeyTyped);

    QTest::keyClick(&edit, Qt::Key_7);
    EXPECT_EQ(spy.count(), 0); // no notification asked for

    edit.SetReadOnlyNotification(true);
    QTest::keyClick(&edit, Qt::Key_7);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Left); // a move is no typing
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1042);
    EXPECT_EQ(edit.text(), QStringLiteral("5"));
    EXPECT_EQ(beeps, 0);
}

// Numbers are read and written with the C conventions and the field's
// separator, never with the process locale.
TEST_F(CMyEditTest, ValuesUnderAFrenchProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "fr_FR.UTF-8"), nullptr);

    CMyEdit edit;
    edit.SetDecimalSeparator(u',');
    edit.setText(QStringLiteral("12,5"));
    EXPECT_DOUBLE_EQ(edit.GetDoubleValue(), 12.5);
    edit.SetDoubleValue(u"%0.2f", 1234.5);
    EXPECT_EQ(edit.text(), QStringLiteral("1234,50"));

    QLabel label(QStringLiteral("2.75 h"));
    EXPECT_DOUBLE_EQ(CMyEdit::GetWindowDouble(&label), 2.75);
    EXPECT_DOUBLE_EQ(CMyEdit::GetWindowDouble(&edit), 1234); // the separator stays

    struct Case
    {
        double value;
        bool showZero;
        const char *shown;
    };
    const Case doubles[] = {{0, false, ""}, {0, true, "0"}, {-2, true, "0"}, {NAN, false, ""}, {NAN, true, "0"}};
    for (const Case &c : doubles) {
        edit.SetShowZero(c.showZero);
        edit.SetDoubleValue(u"%0.2f", c.value);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown)) << c.value << " " << c.showZero;
    }
    const Case ints[] = {{0, false, ""}, {0, true, "0"}, {-1, false, ""}, {1, false, "1"}, {42, true, "42"}};
    for (const Case &c : ints) {
        edit.SetShowZero(c.showZero);
        edit.SetIntValue(int(c.value));
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown)) << c.value << " " << c.showZero;
    }

    std::setlocale(LC_ALL, previous.c_str());
}

TEST_F(CMyEditTest, ReadOnlyBackgrounds)
{
    const quint32 yellow = 0x0000FFFF;
    const QRgb yellowRgb = qRgb(255, 255, 0);
    auto middle = [](QWidget &w) { return w.grab().toImage().pixel(w.width() / 2, w.height() / 2); };

    CMyEdit edit;
    edit.resize(120, 30);
    edit.SetBackgroundColor(yellow);
    EXPECT_NE(middle(edit), yellowRgb); // editable: the usual background
    edit.setReadOnly(true);
    EXPECT_EQ(middle(edit), yellowRgb);
    edit.setEnabled(false);
    EXPECT_NE(middle(edit), yellowRgb); // a greyed field looks greyed

    CEditReadOnly plain;
    plain.resize(120, 30);
    plain.SetBackgroundColor(yellow);
    EXPECT_NE(middle(plain), yellowRgb);
    plain.setReadOnly(true);
    plain.setEnabled(false);
    EXPECT_EQ(middle(plain), yellowRgb);
    plain.setReadOnly(false);
    EXPECT_NE(middle(plain), yellowRgb);
}
