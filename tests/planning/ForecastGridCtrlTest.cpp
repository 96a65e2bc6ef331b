#include "CBigHeaderCtrl.h"
#include "CDlgColForecast.h"
#include "CListCtrlCol.h"
#include "DialogAnswers.h"
#include "CForecastGridCtrl.h"
#include "ColorRef.h"
#include "ForecastColumns.h"
#include "ForecastGridCells.h"
#include "ImageList.h"
#include "../controls/PixelColours.h"
#include "PlanningFixture.h"

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A grid of 700 x 300 over the store of the fixture
//   A (1) { A1 (11) { A11 (111) }, B1 (12) }, B (2), C (3)
// with every image of its small list a square of its own colour, and the
// database, scheduler and users database left out.
class ForecastGridCtrlTest : public PlanningFixture
{
protected:
    void SetUp() override
    {
        PlanningFixture::SetUp();
        add(1, QStringLiteral("A"), -1);
        add(11, QStringLiteral("A1"), 1);
        add(111, QStringLiteral("A11"), 11);
        add(12, QStringLiteral("B1"), 1);
        add(2, QStringLiteral("B"), -1);
        add(3, QStringLiteral("C"), -1);
        for (int i = 0; i <= 28; ++i) {
            QImage square(16, 16, QImage::Format_RGB32);
            square.fill(QColor::fromHsv((i * 37) % 360, 200, 200));
            images.SetImage(i, square);
        }
        makeGrid();
    }
    void makeGrid()
    {
        grid = std::make_unique<CForecastGridCtrl>(nullptr, &store);
        ForecastGridModel::tData &data = grid->Model().Data();
        data.reloadProjects = {};
        data.readForecastChanges = [] { return false; };
        data.computeForecast = [] { return tForecastRun(); };
        data.realTime = [] { return false; };
        data.readUserSettings = [](QStringList &) { return false; };
        data.writeUserSettings = [](const QStringList &, const QStringList &) { return true; };
        grid->SetSmallImageList(&images);
        grid->resize(700, 300);
        grid->LoadColumns();
        grid->show();
        grid->Refresh(false, true, false, true);
    }
    void TearDown() override
    {
        grid.reset();
        PlanningFixture::TearDown();
    }

    QPoint inRow(int row, int x) const
    {
        const QRect r = grid->RowRectangle(row);
        return QPoint(x, r.top() + r.height() / 2);
    }
    // The +/- box of a row, in the viewport's coordinates.
    QPoint boxOf(int row) const
    {
        return grid->RowLines(row, grid->RowRect(row)).box.center();
    }
    std::string rows() const
    {
        std::string text;
        for (int r = 0; r < grid->RowCount(); ++r)
            text += (text.empty() ? "" : " ") + grid->GetCellText(0, grid->Item(r)).toStdString();
        return text;
    }

    ImageList images{16};
    std::unique_ptr<CForecastGridCtrl> grid;
};

} // namespace

TEST_F(ForecastGridCtrlTest, RowsAreAsHighAsTheFontAndItsLeadingPlusFour)
{
    const QFontMetrics metrics(grid->font());
    EXPECT_EQ(grid->RowHeight(), metrics.height() + metrics.leading() + 4);
    EXPECT_EQ(rows(), "Projets A A1 A11 B1 B C");
    // The header stands above the rows, half as tall again as a plain one.
    EXPECT_EQ(grid->RowRectangle(0).top(), grid->HeaderHeight());
    EXPECT_TRUE(grid->Header()->IsTall());
}

TEST_F(ForecastGridCtrlTest, TheBoxExpandsAndCollapsesWithoutSelecting)
{
    QSignalSpy firstRow(grid.get(), &CTreeGridCtrl::firstRowChanged);
    grid->SetSelectedRow(5);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, boxOf(1));
    EXPECT_EQ(rows(), "Projets A B C");
    EXPECT_EQ(grid->SelectedRow(), 2); // B still
    EXPECT_GE(firstRow.count(), 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, boxOf(1));
    EXPECT_EQ(rows(), "Projets A A1 A11 B1 B C");
    EXPECT_EQ(grid->SelectedRow(), 5);
    // A click elsewhere on a row selects it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, inRow(3, 200) - QPoint(0, grid->HeaderHeight()));
    EXPECT_EQ(grid->SelectedRow(), 3);
}

TEST_F(ForecastGridCtrlTest, TickingRowsByTheirCheckImageOrSpace)
{
    grid->Model().filterMode = 2;
    grid->ApplyFilter();
    // A (depth 2): its image from 32 to 47, the check slot from 50 to 65.
    const int y = grid->RowRect(1).center().y();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(55, y));
    EXPECT_EQ(grid->Item(1)->check, 0);
    EXPECT_EQ(grid->Item(3)->check, 0); // A11 below it
    EXPECT_EQ(grid->SelectedRow(), 1);
    QTest::keyClick(grid.get(), Qt::Key_Space);
    EXPECT_EQ(grid->Item(1)->check, 1);
    // Left of the slot: no change.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(45, y));
    EXPECT_EQ(grid->Item(1)->check, 1);
    // Outside the ticking mode the slot holds the name.
    grid->Model().filterMode = 0;
    grid->ApplyFilter();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(55, y));
    EXPECT_EQ(grid->Item(1)->check, 1);
}

TEST_F(ForecastGridCtrlTest, DeleteAsksTheOwner)
{
    QSignalSpy deleted(grid.get(), &CTreeGridCtrl::deletePressed);
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    EXPECT_EQ(deleted.count(), 1);
}

TEST_F(ForecastGridCtrlTest, TheNameColumnStaysFirst)
{
    CBigHeaderCtrl *header = grid->Header();
    const std::vector<int> before{0, 2, 3, 8, 9, 10, 11, 12, 13, 15};
    ASSERT_EQ(grid->DisplayedColumns(), before);
    // Another column dropped before the name, and the name moved on.
    header->moveSection(header->visualIndex(8), 0);
    EXPECT_EQ(grid->DisplayedColumns(), before);
    EXPECT_EQ(header->logicalIndex(0), 0);
    header->moveSection(0, 3);
    EXPECT_EQ(header->logicalIndex(0), 0);
    EXPECT_EQ(grid->DisplayedColumns(), before);
    // A column moved among the others: the layout follows and is kept.
    header->moveSection(header->visualIndex(9), 1);
    const std::vector<int> moved{0, 9, 2, 3, 8, 10, 11, 12, 13, 15};
    EXPECT_EQ(grid->DisplayedColumns(), moved);
    EXPECT_EQ(ForecastColumns::Displayed(ForecastColumns::FromSetting(ForecastColumns::ReadLayout())), moved);
    for (int visual = 0; visual < int(moved.size()); ++visual)
        EXPECT_EQ(header->logicalIndex(visual), moved[size_t(visual)]);
}

TEST_F(ForecastGridCtrlTest, ADividersDoubleClickFitsTheColumn)
{
    tForecast f = store.GetNode(3)->Forecast();
    f.Notes = QString(400, u'n');
    store.SetForecast(f);
    grid->Columns().push_back({16, true});
    grid->Columns().erase(std::find_if(grid->Columns().begin(), grid->Columns().end(),
                                       [](const tColVisible &c) { return c.id == 16 && !c.visible; }));
    grid->BuildColumns();
    grid->Refresh(false, false, false, true);

    emit grid->Header()->sectionHandleDoubleClicked(16);
    EXPECT_EQ(grid->ColumnWidth(16), 310);
    EXPECT_EQ(ForecastColumns::ReadWidth(16), 310);
    emit grid->Header()->sectionHandleDoubleClicked(0);
    const int name = grid->ColumnWidth(0);
    EXPECT_LT(name, 320);
    EXPECT_GT(name, QFontMetrics(grid->font()).horizontalAdvance(QStringLiteral("A11")) + 4 * 16);
}

// The progress against the plan at 150 % and 200 %: the gradient moves
// left by the excess and the last colour fills the rest.
TEST_F(ForecastGridCtrlTest, AWidthIsKeptWhenTheDividerIsLetGo)
{
    QWidget *header = grid->Header()->viewport();
    const auto mouse = [header](QEvent::Type type) {
        QMouseEvent event(type, QPointF(5, 5), header->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    };
    mouse(QEvent::MouseButtonPress);
    grid->Header()->resizeSection(9, 123);
    EXPECT_EQ(ForecastColumns::ReadWidth(9), 80) << "not while the divider is held";
    mouse(QEvent::MouseButtonRelease);
    EXPECT_EQ(ForecastColumns::ReadWidth(9), 123);
    EXPECT_EQ(grid->ColumnWidth(9), 123);
}

// The total row shows the open folder while expanded, as the project pane's
// folders do.
TEST_F(ForecastGridCtrlTest, TheTotalRowsFolderOpensWithIt)
{
    EXPECT_EQ(grid->GetItemImage(grid->Item(0)), 1);
    grid->Model().ToggleExpanded(grid->Item(0));
    EXPECT_EQ(grid->GetItemImage(grid->Item(0)), 0);
    EXPECT_EQ(grid->GetItemImage(grid->Item(-1)), -1);
}

TEST_F(ForecastGridCtrlTest, ProgressBarsPastTheirPlan)
{
    const QColor last = ColorRefToQColor(config.progressColours[2]);
    const QColor middle = ColorRefToQColor(config.progressColours[1]);
    store.GetNode(2)->Forecast().Prevu = 2; // hours
    store.GetNode(3)->Forecast().Prevu = 2;
    tasks(2, -2, 1, 3 * 3600);
    tasks(3, -2, 1, 4 * 3600);
    grid->Columns() = {{14, true}};
    grid->BuildColumns();
    grid->Refresh(false, false, false, true);
    const QImage picture = grid->grab().toImage();

    const auto cellOf = [&](int projectId) {
        const int row = grid->Model().FindRow(projectId);
        const QRect rowRect = grid->RowRectangle(row);
        const QRect cell = grid->CellRect(14, grid->RowRect(row));
        return QRect(cell.left(), rowRect.top(), cell.width() - 1, rowRect.height() - 1);
    };
    // 150 %: the right half of the gradient in the left half, then the
    // last colour.
    const QRect half = cellOf(2);
    const int y = half.top() + 1;
    EXPECT_TRUE(Near(picture.pixel(half.left(), y), middle.rgb(), 12)) << std::hex << picture.pixel(half.left(), y);
    EXPECT_TRUE(Near(picture.pixel(half.left() + half.width() / 2 + 2, y), last.rgb()));
    EXPECT_TRUE(Near(picture.pixel(half.right(), y), last.rgb()));
    // 200 %: the whole cell.
    const QRect full = cellOf(3);
    for (int x : {full.left(), full.left() + full.width() / 4, full.right()})
        EXPECT_TRUE(Near(picture.pixel(x, full.top() + 1), last.rgb())) << x;
}

// A reload frees the nodes the rows showed: painting before the next
// refresh takes the rows again rather than reading them.
TEST_F(ForecastGridCtrlTest, AReloadThenAPaintReadsOnlyTheNewNodes)
{
    store.ClearPart(0);
    add(5, QStringLiteral("Nouveau"), -1);
    add(51, QStringLiteral("Enfant"), 5);
    grid->grab();
    EXPECT_EQ(rows(), "Projets Nouveau Enfant");
    EXPECT_NE(grid->RowNode(1), nullptr);
    EXPECT_EQ(grid->RowNode(1)->ProjectId(), 5);
}

TEST_F(ForecastGridCtrlTest, TheNameUnderThePoint)
{
    // A11 at depth 4: its image from 64, its name from 82.
    const int row = grid->Model().FindRow(111);
    const int width = QFontMetrics(grid->font()).horizontalAdvance(QStringLiteral("A11"));
    struct Case
    {
        int x;
        bool item, onText;
    };
    const Case cases[] = {{70, false, false}, {82, true, true}, {82 + width, true, true}, {83 + width + 4, true, false}};
    for (const Case &c : cases) {
        const CForecastGridCtrl::tNameHit hit = grid->HitTestName(inRow(row, c.x));
        EXPECT_EQ(hit.item != nullptr, c.item) << c.x;
        EXPECT_EQ(hit.onText, c.onText) << c.x;
    }
    const QRect r = grid->RowRectangle(row);
    EXPECT_TRUE(grid->HitTestName(QPoint(90, r.top() + 1)).upperHalf);
    EXPECT_FALSE(grid->HitTestName(QPoint(90, r.bottom() - 1)).upperHalf);
    EXPECT_EQ(grid->HitTestName(QPoint(90, 2)).item, nullptr); // the header
}

TEST_F(ForecastGridCtrlTest, AHiddenGridKeepsItsScrollUntilItShows)
{
    for (int id = 200; id < 260; ++id)
        add(id, QStringLiteral("P%1").arg(id), -1);
    grid->Refresh(false, false, false, true);
    grid->SetFirstVisibleRow(20);
    grid->SetSelectedRow(25);
    grid->Model().SetViewport(grid->FirstVisibleRow(), grid->RowsPerPage(), grid->SelectedRow());
    grid->Model().SaveViewState();
    const ForecastGridModel::tViewState saved = grid->Model().ViewState();

    // A new grid, hidden, takes that layout at its first refresh.
    grid = std::make_unique<CForecastGridCtrl>(nullptr, &store);
    grid->Model().Data().readUserSettings = [](QStringList &) { return false; };
    grid->Model().SetViewState(saved);
    grid->SetSmallImageList(&images);
    grid->Refresh(false, true, false, true);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
    grid->resize(700, 300);
    grid->show();
    EXPECT_EQ(grid->verticalScrollBar()->value(), 20);
    EXPECT_EQ(grid->SelectedRow(), 25);
}

TEST_F(ForecastGridCtrlTest, TheChoosersOkShowsAndKeepsTheColumnsAndCancelNothing)
{
    grid->SortOn(9, true);
    EXPECT_EQ(grid->Header()->SortState(9), 1);
    const std::vector<int> before = grid->DisplayedColumns();
    {
        DialogAnswers<CDlgColForecast> answers;
        answers.Push([](CDlgColForecast &d) {
            d.List()->SetChecked(0, true); // Infos
            return int(QDialog::Rejected);
        });
        EXPECT_FALSE(grid->ChooseColumns());
    }
    EXPECT_EQ(grid->DisplayedColumns(), before);
    {
        DialogAnswers<CDlgColForecast> answers;
        answers.Push([](CDlgColForecast &d) {
            // Infos shown, and planned work (9) moved first and hidden.
            d.List()->SetChecked(0, true);
            d.List()->setCurrentItem(d.List()->topLevelItem(8));
            d.OnMove(CDlgColForecast::IdFirst);
            d.List()->SetChecked(0, false);
            d.OnOk();
            return d.result();
        });
        EXPECT_TRUE(grid->ChooseColumns());
        EXPECT_EQ(answers.Asked(), 1);
    }
    EXPECT_EQ(grid->DisplayedColumns(), (std::vector<int>{0, 1, 2, 3, 8, 10, 11, 12, 13, 15}));
    EXPECT_EQ(grid->Header()->SortState(9), 0);
    EXPECT_EQ(ForecastColumns::ReadLayout().left(8), QStringLiteral("0:9|1:1|"));
    // The header's menu offers the chooser.
    std::unique_ptr<QMenu> menu(grid->MakeHeaderMenu(nullptr));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_TRUE(menu->actions()[0]->text().startsWith(QStringLiteral("Colonnes")));
}
