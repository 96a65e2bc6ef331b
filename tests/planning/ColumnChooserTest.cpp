#include "CDlgColForecast.h"
#include "CListCtrlCol.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "ForecastColumns.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string listed(const std::vector<tColVisible> &columns)
{
    std::string text;
    for (const tColVisible &c : columns)
        text += (text.empty() ? "" : " ") + std::to_string(c.visible ? 1 : 0) + ":" + std::to_string(c.id);
    return text;
}

// The dialog over the list 1:5 0:2 1:9 0:12, shown as a user would see it.
class ColumnChooserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.SetColumns(&columns);
        dialog.show();
        QApplication::processEvents();
    }
    CListCtrlCol *list() const { return dialog.List(); }
    void click(int id) { QTest::mouseClick(dialog.Button(id), Qt::LeftButton); }
    std::string rows() const
    {
        std::string text;
        for (int r = 0; r < list()->topLevelItemCount(); ++r)
            text += (text.empty() ? "" : " ") + std::to_string(list()->IsChecked(r) ? 1 : 0) + ":"
                + std::to_string(list()->topLevelItem(r)->data(0, Qt::UserRole).toInt());
        return text;
    }
    std::string enabled() const
    {
        std::string text;
        for (int id : {CDlgColForecast::IdFirst, CDlgColForecast::IdUp, CDlgColForecast::IdDown,
                       CDlgColForecast::IdLast})
            text += dialog.Button(id)->isEnabled() ? "1" : "0";
        return text;
    }
    void mouse(QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, pos, list()->viewport()->mapToGlobal(pos),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(list()->viewport(), &event);
    }
    QPoint inRow(int row, bool upper) const
    {
        const QRect r = list()->visualItemRect(list()->topLevelItem(row));
        return QPoint(r.left() + 30, upper ? r.top() + 2 : r.bottom() - 2);
    }

    std::vector<tColVisible> columns{{5, true}, {2, false}, {9, true}, {12, false}};
    CDlgColForecast dialog;
};

} // namespace

TEST_F(ColumnChooserTest, TheRowsNameAndDescribeTheColumns)
{
    EXPECT_EQ(rows(), "1:5 0:2 1:9 0:12");
    EXPECT_EQ(list()->topLevelItem(0)->text(0), QStringLiteral("Fin prévue"));
    EXPECT_EQ(list()->topLevelItem(0)->text(1), QStringLiteral("Date et heure prévues pour la fin de la tâche"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Colonnes"));
    EXPECT_EQ(dialog.Button(CDlgColForecast::IdDefault)->text(), QStringLiteral("Défaut"));
    CTranslationStore store;
    EXPECT_TRUE(ControlsWithoutText(&dialog, store, CDlgColForecast::TextsDialogId).isEmpty());
}

TEST_F(ColumnChooserTest, OkWritesTheRowsBackAndCancelLeavesTheList)
{
    list()->SetChecked(1, true);
    list()->setCurrentItem(list()->topLevelItem(3));
    click(CDlgColForecast::IdFirst);
    EXPECT_EQ(rows(), "0:12 1:5 1:2 1:9");
    dialog.reject();
    EXPECT_EQ(listed(columns), "1:5 0:2 1:9 0:12");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    CDlgColForecast again;
    again.SetColumns(&columns);
    again.List()->SetChecked(0, false);
    again.OnOk();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(listed(columns), "0:5 0:2 1:9 0:12");
    // The window's place is kept under its own name.
    EXPECT_TRUE(Platform::Settings().contains(u"Dialog", u"ColumnsForecast", u"Position"));
}

TEST_F(ColumnChooserTest, TheMoveButtonsFollowTheSelectedRow)
{
    EXPECT_EQ(enabled(), "0000");
    list()->setCurrentItem(list()->topLevelItem(0));
    EXPECT_EQ(enabled(), "0011");
    click(CDlgColForecast::IdDown);
    EXPECT_EQ(rows(), "0:2 1:5 1:9 0:12");
    EXPECT_EQ(enabled(), "1111");
    click(CDlgColForecast::IdLast);
    EXPECT_EQ(rows(), "0:2 1:9 0:12 1:5");
    EXPECT_EQ(enabled(), "1100");
    click(CDlgColForecast::IdUp);
    EXPECT_EQ(rows(), "0:2 1:9 1:5 0:12");
    EXPECT_EQ(list()->indexOfTopLevelItem(list()->currentItem()), 2);
}

TEST_F(ColumnChooserTest, DefaultAllAndNone)
{
    click(CDlgColForecast::IdDefault);
    click(CDlgColForecast::IdOk);
    EXPECT_EQ(listed(columns), "0:1 1:2 1:3 0:4 0:5 0:6 0:7 1:8 1:9 1:10 1:11 1:12 1:13 0:14 1:15 0:16");

    CDlgColForecast again;
    again.SetColumns(&columns);
    QTest::mouseClick(again.Button(CDlgColForecast::IdAll), Qt::LeftButton);
    QTest::mouseClick(again.Button(CDlgColForecast::IdNone), Qt::LeftButton);
    again.OnOk();
    EXPECT_EQ(listed(columns), "0:1 0:2 0:3 0:4 0:5 0:6 0:7 0:8 0:9 0:10 0:11 0:12 0:13 0:14 0:15 0:16");
}

TEST_F(ColumnChooserTest, DraggingARowShowsWhereItGoes)
{
    mouse(QEvent::MouseButtonPress, inRow(0, true), Qt::LeftButton);
    mouse(QEvent::MouseMove, inRow(2, false), Qt::LeftButton);
    EXPECT_EQ(dialog.DragCursor(), CDlgColForecast::CursorAfter);
    EXPECT_EQ(dialog.DropTarget(), 2);
    EXPECT_EQ(list()->DropTargetRow(), 2);
    mouse(QEvent::MouseMove, inRow(1, true), Qt::LeftButton);
    EXPECT_EQ(dialog.DragCursor(), CDlgColForecast::CursorBefore);
    // Below the rows, and outside the list: nowhere to go.
    const QPoint below(30, list()->visualItemRect(list()->topLevelItem(3)).bottom() + 20);
    mouse(QEvent::MouseMove, below, Qt::LeftButton);
    EXPECT_EQ(dialog.DragCursor(), CDlgColForecast::CursorNone);
    EXPECT_EQ(dialog.DropTarget(), -1);
    mouse(QEvent::MouseMove, QPoint(-50, 10), Qt::LeftButton);
    EXPECT_EQ(dialog.DragCursor(), CDlgColForecast::CursorNone);
    mouse(QEvent::MouseMove, inRow(2, false), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, inRow(2, false), Qt::NoButton);
    EXPECT_EQ(rows(), "0:2 1:9 1:5 0:12");
    EXPECT_EQ(dialog.DragCursor(), 0);
    EXPECT_EQ(list()->DropTargetRow(), -1);
    EXPECT_EQ(list()->indexOfTopLevelItem(list()->currentItem()), 2);

    // Dropped on itself: nothing moves.
    mouse(QEvent::MouseButtonPress, inRow(2, true), Qt::LeftButton);
    mouse(QEvent::MouseMove, inRow(2, false), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, inRow(2, false), Qt::NoButton);
    EXPECT_EQ(rows(), "0:2 1:9 1:5 0:12");
}

TEST_F(ColumnChooserTest, ItsAnswersComeFromTheSeamInTests)
{
    DialogAnswers<CDlgColForecast> answers;
    answers.Push([](CDlgColForecast &d) {
        d.List()->SetChecked(1, true);
        d.OnOk();
        return d.result();
    });
    CDlgColForecast asked;
    asked.SetColumns(&columns);
    EXPECT_EQ(asked.exec(), QDialog::Accepted);
    EXPECT_EQ(listed(columns), "1:5 1:2 1:9 0:12");
}
