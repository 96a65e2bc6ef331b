// The column chooser in report mode (a report's columns: shown, ordered,
// renamed, aligned) and in general mode (every kind, for all reports), and
// the detail of one column, offscreen.
#include "CDlgColumn.h"
#include "CDlgColumnDetail.h"
#include "CListCtrlCol.h"
#include "CMyEdit.h"
#include "CReadOnlyCB.h"
#include "CReportColumnSet.h"
#include "DialogAnswers.h"
#include "EditKeyRules.h"
#include "ListCtrlColRules.h"
#include "ListRowDrag.h"
#include "MessageBoxAnswers.h"
#include "ReportColumnCatalogue.h"
#include "ReportFixture.h"
#include "Settings.h"
#include "Texts.h"
#include "tReportDefinition.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

namespace {

class ReportColumnChooserTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        definition.Type = 0;
        definition.Grp = {3, -1, -1, -1, -1};
        definition.Detail = true;
        definition.SetDefaultColumns(definition.Columns);
        columns = definition.Columns;
    }
    void TearDown() override
    {
        for (int kind = 0; kind < ReportColumnKindCount; ++kind)
            SetReportColumnOverride(kind, QString(), -1);
        ReportFixture::TearDown();
    }
    std::unique_ptr<CDlgColumn> open(bool reportMode = true)
    {
        auto dialog = std::make_unique<CDlgColumn>(reportMode ? &definition : nullptr, columns, reportMode);
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }
    static void mouse(CListCtrlCol *list, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, pos, list->viewport()->mapToGlobal(pos),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &event);
    }
    static QPoint inRow(CListCtrlCol *list, int row, bool upper)
    {
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        return QPoint(r.left() + 30, upper ? r.top() + 2 : r.bottom() - 2);
    }
    static void drag(CListCtrlCol *list, int from, int to, bool upper)
    {
        mouse(list, QEvent::MouseButtonPress, inRow(list, from, true), Qt::LeftButton);
        mouse(list, QEvent::MouseMove, inRow(list, to, upper), Qt::LeftButton);
        mouse(list, QEvent::MouseButtonRelease, inRow(list, to, upper), Qt::NoButton);
    }
    std::vector<int> kinds() const
    {
        std::vector<int> out;
        for (const tReportColumn &c : columns.Columns())
            out.push_back(c.Kind);
        return out;
    }

    tReportDefinition definition;
    CReportColumnSet columns;
};

} // namespace

TEST(ColumnCaptionRulesTest, APipeNeverGetsIntoACaption)
{
    EditKeyRules rules;
    rules.mode = EditKeyRules::Mode::Caption;
    EXPECT_EQ(rules.Key(QStringLiteral("ab"), {2, 0}, u'|').verdict, EditKeyRules::Verdict::Beep);
    EXPECT_EQ(rules.Insert(QStringLiteral("ab"), {2, 0}, QStringLiteral("c|d")).verdict, EditKeyRules::Verdict::Beep);
    EXPECT_EQ(rules.Key(QStringLiteral("ab"), {2, 0}, u'é').text, QStringLiteral("abé"));
    EXPECT_EQ(rules.Insert(QStringLiteral("ab"), {2, 0}, QStringLiteral(" / (h:mm) ; 50%")).verdict,
              EditKeyRules::Verdict::Accept);
}

TEST_F(ReportColumnChooserTest, RowsOfAReport)
{
    auto dialog = open();
    CListCtrlCol *list = dialog->List();
    ASSERT_EQ(list->topLevelItemCount(), columns.Count());
    EXPECT_TRUE(list->HasCheckBoxes());
    for (int row = 0; row < columns.Count(); ++row) {
        EXPECT_EQ(list->IsChecked(row), columns[row].Shown) << row;
        EXPECT_EQ(list->topLevelItem(row)->text(CDlgColumn::NameColumn), columns[row].GetCaption()) << row;
        EXPECT_EQ(list->topLevelItem(row)->text(CDlgColumn::AlignColumn),
                  CDlgColumn::AlignmentLetter(columns[row].GetAlign()))
            << row;
    }
    // Nothing selected: no move, no detail.
    for (int id : {CDlgColumn::IdFirst, CDlgColumn::IdUp, CDlgColumn::IdDown, CDlgColumn::IdLast, CDlgColumn::IdModify})
        EXPECT_FALSE(dialog->Button(id)->isEnabled()) << id;
    // A check box shows or hides its column.
    const bool shown = columns[2].Shown;
    list->SetChecked(2, !shown);
    EXPECT_EQ(columns[2].Shown, !shown);
}

TEST_F(ReportColumnChooserTest, DraggedRowsMoveTheColumns)
{
    auto dialog = open();
    CListCtrlCol *list = dialog->List();
    const std::vector<int> before = kinds();
    // The lower half of the row just above: nothing changes.
    drag(list, 2, 1, false);
    EXPECT_EQ(kinds(), before);
    EXPECT_TRUE(columns.IsDefault());
    // The lower half of row 2: the first column goes after it.
    drag(list, 0, 2, false);
    std::vector<int> expected = before;
    std::rotate(expected.begin(), expected.begin() + 1, expected.begin() + 3);
    EXPECT_EQ(kinds(), expected);
    EXPECT_FALSE(columns.IsDefault());
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 2);
    EXPECT_EQ(list->topLevelItem(2)->data(0, Qt::UserRole).toInt(), before[0]);
    EXPECT_EQ(dialog->Drag()->Cursor(), 0);

    // The buttons: last, then first again.
    QTest::mouseClick(dialog->Button(CDlgColumn::IdLast), Qt::LeftButton);
    EXPECT_EQ(columns[columns.Count() - 1].Kind, before[0]);
    QTest::mouseClick(dialog->Button(CDlgColumn::IdFirst), Qt::LeftButton);
    EXPECT_EQ(columns[0].Kind, before[0]);
    EXPECT_FALSE(dialog->Button(CDlgColumn::IdUp)->isEnabled());
}

TEST_F(ReportColumnChooserTest, RenamedInPlaceAndAligned)
{
    auto dialog = open();
    CListCtrlCol *list = dialog->List();
    const QString catalogue = columns[0].GetCaption();
    // Cancelled: the caption stays.
    list->setCurrentItem(list->topLevelItem(0));
    list->editItem(list->topLevelItem(0), 0);
    auto *edit = qobject_cast<CMyEdit *>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QStringLiteral("Jour|"));
    EXPECT_FALSE(edit->text().contains(u'|'));
    QTest::keyClick(edit, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(columns[0].Caption, QString());
    EXPECT_EQ(list->topLevelItem(0)->text(0), catalogue);
    // Typed: the column's own caption.
    list->editItem(list->topLevelItem(0), 0);
    edit = qobject_cast<CMyEdit *>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Jour|"));
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(columns[0].Caption, QStringLiteral("Jour"));
    // Emptied: the catalogue's caption shows again.
    list->topLevelItem(0)->setText(0, QString());
    EXPECT_EQ(columns[0].Caption, QString());
    EXPECT_EQ(list->topLevelItem(0)->text(0), catalogue);

    // A click near the right edge of the alignment cell: right.
    const QRect cell = list->visualRect(list->model()->index(1, CDlgColumn::AlignColumn));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(cell.right() - 12, cell.center().y()));
    EXPECT_EQ(columns[1].Align, 1);
    EXPECT_EQ(list->topLevelItem(1)->text(CDlgColumn::AlignColumn), QStringLiteral("R"));
}

TEST_F(ReportColumnChooserTest, NoColumnShownCannotBeConfirmed)
{
    auto dialog = open();
    QTest::mouseClick(dialog->Button(CDlgColumn::IdNone), Qt::LeftButton);
    EXPECT_EQ(columns.CountShown(), 0);
    MessageBoxAnswers answers;
    answers.Push(1);
    dialog->OnOk();
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(503));
    EXPECT_TRUE(dialog->isVisible());
    QTest::mouseClick(dialog->Button(CDlgColumn::IdAll), Qt::LeftButton);
    EXPECT_EQ(columns.CountShown(), columns.Count());
    dialog->OnOk();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    // "Défaut" puts the report's default columns back.
    auto again = open();
    QTest::mouseClick(again->Button(CDlgColumn::IdDefault), Qt::LeftButton);
    EXPECT_FALSE(columns.Differs(definition.Columns));
}

TEST_F(ReportColumnChooserTest, TheDetailEditsACopyGivenOnOk)
{
    columns[0].Caption = QStringLiteral("Quand");
    columns[0].Align = 2;
    tReportColumn &column = columns[0];
    {
        CDlgColumnDetail detail(false, column);
        EXPECT_EQ(detail.CaptionBox()->text(), QStringLiteral("Quand"));
        EXPECT_EQ(detail.AlignBox()->currentText(), Platform::Texts::get(364));
        detail.OnClearCaption();
        detail.AlignBox()->setCurrentIndex(3);
        emit detail.AlignBox()->activated(3);
        detail.OnClearAlign();
        detail.reject();
    }
    // Annuler: the column is as it was.
    EXPECT_EQ(column.Caption, QStringLiteral("Quand"));
    EXPECT_EQ(column.Align, 2);
    {
        CDlgColumnDetail detail(false, column);
        EXPECT_EQ(detail.Field(CDlgColumnDetail::LanguageCaption)->text(), GetReportColumnCaption(column.Kind));
        detail.AlignBox()->setCurrentIndex(3);
        emit detail.AlignBox()->activated(3);
        detail.CaptionBox()->setText(QStringLiteral("Le jour"));
        detail.OnOk();
    }
    EXPECT_EQ(column.Caption, QStringLiteral("Le jour"));
    EXPECT_EQ(column.Align, 1);

    // Through the chooser: Modifier on the selected row refills it.
    auto dialog = open();
    dialog->List()->setCurrentItem(dialog->List()->topLevelItem(0));
    DialogAnswers<CDlgColumnDetail> answers;
    answers.Push([](CDlgColumnDetail &d) {
        d.CaptionBox()->setText(QStringLiteral("Date"));
        d.OnOk();
        return d.result();
    });
    QTest::mouseClick(dialog->Button(CDlgColumn::IdModify), Qt::LeftButton);
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_EQ(dialog->List()->topLevelItem(0)->text(0), QStringLiteral("Date"));
}

TEST_F(ReportColumnChooserTest, GeneralModeListsEveryKind)
{
    SetReportColumnOverride(3, QStringLiteral("Temps passé"), 2);
    columns = CReportColumnSet(true);
    auto dialog = open(false);
    CListCtrlCol *list = dialog->List();
    ASSERT_EQ(list->topLevelItemCount(), ReportColumnKindCount);
    EXPECT_FALSE(list->HasCheckBoxes());
    for (int id : {CDlgColumn::IdAll, CDlgColumn::IdNone, CDlgColumn::IdFirst, CDlgColumn::IdUp, CDlgColumn::IdDown,
                   CDlgColumn::IdLast})
        EXPECT_FALSE(dialog->Button(id)->isVisibleTo(dialog.get())) << id;
    EXPECT_EQ(list->topLevelItem(0)->text(CDlgColumn::KindColumn), Platform::Texts::get(628));
    EXPECT_EQ(list->topLevelItem(20)->text(CDlgColumn::KindColumn), Platform::Texts::get(628));
    EXPECT_EQ(list->topLevelItem(21)->text(CDlgColumn::KindColumn), Platform::Texts::get(521));
    EXPECT_EQ(list->topLevelItem(3)->text(0), QStringLiteral("Temps passé"));
    EXPECT_EQ(list->topLevelItem(3)->text(CDlgColumn::AlignColumn), QStringLiteral("C"));
    // A drag moves nothing here.
    drag(list, 0, 2, false);
    EXPECT_EQ(columns[0].Kind, 0);
    // Défaut: every caption and alignment back to the language's.
    QTest::mouseClick(dialog->Button(CDlgColumn::IdDefault), Qt::LeftButton);
    ASSERT_EQ(list->topLevelItemCount(), ReportColumnKindCount);
    EXPECT_EQ(list->topLevelItem(3)->text(0), GetReportColumnCaption(3));
    EXPECT_EQ(columns[3].Caption, QString());
    EXPECT_EQ(columns[3].Align, -1);
}
