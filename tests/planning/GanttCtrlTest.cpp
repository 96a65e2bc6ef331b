// The Gantt chart beside a real project-tracking grid over a database of
// the test's own: panning with either button, selection, the menu, the
// editor through the host, the level kept per user, scrolling, and what it
// paints (the clock fixed on Monday 4 March 2024, 10:00, TZ=Europe/Paris).
#include "../timeentry/EditorFixture.h"
#include "CForecastGridCtrl.h"
#include "CForecastHost.h"
#include "CGanttCtrl.h"
#include "CMyToolTipCtrl.h"
#include "CTranslationStore.h"
#include "ColorRef.h"
#include "LocalTime.h"
#include "PlanningFixture.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

namespace {

class RecordingHost : public CForecastHost
{
public:
    bool EditNode(const CProject &node) override
    {
        edited.emplace_back(node.ProjectId(), node.ActivityId());
        return false;
    }
    void ShowStatusText(const QString &text) override { status << text; }

    std::vector<std::pair<int, int>> edited;
    QStringList status;
};

// A grid of 700 x 420 and the chart of 600 x 420 right of it, tops aligned,
// over the projects A, B (after A), C with an activity row, and the
// milestone M; the scheduler left out, its dates set by the test.
class GanttCtrlTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        addUser();
        config.workingDays.ParseDay(0, u"480,720;780,1020;");
        config.workingDays.UpdateTotals();
        CAppData::SetConfiguration(&config);
        Platform::Clock::setFixedNow(now);
        CGanttCtrl::SetMenuPresenter([this](QMenu &menu, const QPoint &) {
            ++menusShown;
            menuCommands.clear();
            for (QAction *action : menu.actions())
                if (const int id = WidgetIds::CommandId(action); id != 0)
                    menuCommands.push_back({id, action->isEnabled(), action->isChecked()});
            QAction *chosen = nullptr;
            for (QAction *action : menu.actions())
                if (WidgetIds::CommandId(action) == menuChoice)
                    chosen = action;
            return chosen;
        });

        a = saveProject(QStringLiteral("A"));
        b = saveProject(QStringLiteral("B"));
        c = saveProject(QStringLiteral("C"));
        m = saveProject(QStringLiteral("M"));
        dev = saveActivity(QStringLiteral("Dév"));
        saveForecast(a, -2, [](tForecast &f) { f.Total = 7200; });
        saveForecast(b, -2, [this](tForecast &f) {
            f.Total = 7200;
            f.Predecesseurs = QStringLiteral(";%1,-2,0,4;").arg(a);
        });
        saveForecast(c, dev, [](tForecast &f) { f.Total = 3600; });
        reload();
        schedule();
        makeWindow();
    }
    void TearDown() override
    {
        window.reset();
        CGanttCtrl::SetMenuPresenter({});
        Platform::Clock::reset();
        EditorFixture::TearDown();
    }

    void saveForecast(int project, int activity, const std::function<void(tForecast &)> &edit)
    {
        tForecast row;
        row.IdProject = project;
        row.IdActivity = activity;
        edit(row);
        CBdD db;
        ASSERT_TRUE(db.SaveProject(nullptr, &row));
    }
    // The scheduler's dates: B starts before A ends; M is a milestone.
    void schedule()
    {
        const auto set = [this](int id, qint64 start, qint64 end) {
            CProject *node = store.GetNode(id);
            ASSERT_NE(node, nullptr);
            node->m_computedStart = start;
            node->m_computedEnd = end;
        };
        set(a, At(2024, 3, 5, 8), At(2024, 3, 7, 17));
        set(b, At(2024, 3, 6, 8), At(2024, 3, 8, 17));
        set(m, At(2024, 3, 8, 17), At(2024, 3, 8, 17));
    }
    void makeWindow()
    {
        window = std::make_unique<QWidget>();
        window->resize(1300, 420);
        grid = new CForecastGridCtrl(window.get(), &store);
        ForecastGridModel::tData &data = grid->Model().Data();
        data.reloadProjects = {};
        data.readForecastChanges = [] { return false; };
        data.computeForecast = [] { return tForecastRun(); };
        data.realTime = [] { return false; };
        data.readUserSettings = [](QStringList &) { return false; };
        data.writeUserSettings = [](const QStringList &, const QStringList &) { return true; };
        grid->setGeometry(0, 0, 700, 420);
        grid->LoadColumns();
        makeChart();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        grid->Refresh(false, true, false, true);
        QObject::connect(grid, &CTreeGridCtrl::firstRowChanged, chart, [this] { chart->update(); });
        QObject::connect(grid, &CTreeGridCtrl::currentRowChanged, chart, [this] { chart->update(); });
    }
    void makeChart()
    {
        chart = new CGanttCtrl(grid, &host, window.get());
        chart->setGeometry(700, 0, 600, 420);
        chart->show();
    }
    int rowOf(int project, int activity = -2) const { return grid->Model().FindRow(project, activity); }
    QPoint inRow(int row, int x) const
    {
        const QRect r = grid->RowRectangle(row);
        return QPoint(x, r.top() + r.height() / 2);
    }
    int px(qint64 t) const { return chart->Scale().TimeToPixel(t); }
    void move(const QPoint &pos, Qt::MouseButtons buttons)
    {
        QMouseEvent event(QEvent::MouseMove, pos, chart->mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(chart, &event);
    }
    void drag(Qt::MouseButton button, const QPoint &from, int dx)
    {
        QTest::mousePress(chart, button, Qt::NoModifier, from);
        for (int step = 1; step <= 4; ++step)
            move(from + QPoint(dx * step / 4, 0), button);
        QTest::mouseRelease(chart, button, Qt::NoModifier, from + QPoint(dx, 0));
    }
    static QString table(QStringView sql)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(sql);
        QString text;
        for (int r = 0; t.hasRows() && r < t->rowCount(); ++r) {
            for (int col = 0; col < t->columnCount(); ++col)
                text += t->GetCell(r, col) + u'|';
            text += u'\n';
        }
        return text;
    }
    QString storedZoom() const
    {
        QStringList values{QStringLiteral("GanttZoom")};
        users.GetUserSettings(values);
        return values.value(0);
    }
    bool commandState(int id, bool &enabled, bool &checked) const
    {
        for (const auto &[command, on, mark] : menuCommands)
            if (command == id) {
                enabled = on;
                checked = mark;
                return true;
            }
        return false;
    }

    const qint64 now = At(2024, 3, 4, 10);
    CConfiguration config;
    RecordingHost host;
    std::unique_ptr<QWidget> window;
    CForecastGridCtrl *grid = nullptr;
    CGanttCtrl *chart = nullptr;
    int a = -1, b = -1, c = -1, m = -1, dev = -1;
    int menusShown = 0;
    int menuChoice = 0;
    struct tCommand
    {
        int id;
        bool enabled;
        bool checked;
    };
    std::vector<tCommand> menuCommands;
};

} // namespace

TEST_F(GanttCtrlTest, ANewUserSeesAWeekACentimetreWithNowAtASixthOfTheWidth)
{
    EXPECT_EQ(chart->Level(), 8);
    chart->grab();
    EXPECT_NEAR(px(now), 600 / 6, 1); // whole minutes, truncated
    EXPECT_EQ(chart->Scale().Width(), 600);
}

TEST_F(GanttCtrlTest, DragsWithEitherButtonPanTheTimelineAndChangeNoData)
{
    const QString before = table(u"select * from Forecast order by IdProject, IdActivity")
        + table(u"select * from Projets order by Id");
    const int row = rowOf(a);
    const qint64 centre = chart->Scale().Centre();
    const double secondsPerPixel = chart->Scale().MinutesPerPixel() * 60;

    // Dragging right brings earlier times into view, by as many pixels.
    drag(Qt::LeftButton, inRow(row, 300), 120);
    EXPECT_NEAR(double(chart->Scale().Centre() - centre), -120 * secondsPerPixel, 4 * secondsPerPixel);
    const qint64 afterLeft = chart->Scale().Centre();
    drag(Qt::RightButton, inRow(row, 300), -200);
    EXPECT_NEAR(double(chart->Scale().Centre() - afterLeft), 200 * secondsPerPixel, 4 * secondsPerPixel);
    // A right drag over 3 pixels is no click: no menu.
    EXPECT_EQ(menusShown, 0);
    EXPECT_EQ(chart->cursor().shape(), Qt::ArrowCursor);
    drag(Qt::RightButton, inRow(row, 300), 4);
    EXPECT_EQ(menusShown, 0);

    EXPECT_EQ(table(u"select * from Forecast order by IdProject, IdActivity")
                  + table(u"select * from Projets order by Id"),
              before);
    EXPECT_EQ(store.GetNode(a)->m_computedStart, At(2024, 3, 5, 8));
}

TEST_F(GanttCtrlTest, ARightClickShowsTheZoomMenuAndRunsTheChosenLevel)
{
    const QPoint point = inRow(rowOf(b), 200);
    QTest::mousePress(chart, Qt::RightButton, Qt::NoModifier, point);
    move(point + QPoint(2, 3), Qt::RightButton); // within 3 pixels: still a click
    menuChoice = CGanttCtrl::FirstLevelCommand + 2;
    QTest::mouseRelease(chart, Qt::RightButton, Qt::NoModifier, point + QPoint(2, 3));
    ASSERT_EQ(menusShown, 1);
    // Zoom in and out, the fourteen levels with the current one marked,
    // the present moment.
    ASSERT_EQ(menuCommands.size(), 17u);
    EXPECT_EQ(menuCommands.front().id, CGanttCtrl::ZoomInCommand);
    EXPECT_EQ(menuCommands.back().id, CGanttCtrl::NowCommand);
    bool enabled = false, checked = false;
    ASSERT_TRUE(commandState(33050, enabled, checked));
    EXPECT_TRUE(checked);
    EXPECT_EQ(chart->Level(), 2);
    EXPECT_EQ(storedZoom(), QStringLiteral("2"));

    // Every item has its text.
    std::unique_ptr<QMenu> menu = chart->BuildMenu(nullptr);
    CTranslationStore texts;
    EXPECT_TRUE(MenuItemsWithoutText(menu.get(), CGanttCtrl::MenuId, texts).isEmpty());
    EXPECT_EQ(menu->actions().front()->text().remove(u'&'), QStringLiteral("Agrandir"));

    // The finest level cannot zoom in, the coarsest not out.
    struct Case
    {
        int level;
        bool zoomIn, zoomOut;
    };
    for (const Case &k : {Case{0, false, true}, Case{13, true, false}, Case{6, true, true}}) {
        chart->OnZoomLevel(k.level);
        menuChoice = 0;
        QTest::mouseClick(chart, Qt::RightButton, Qt::NoModifier, point);
        ASSERT_TRUE(commandState(CGanttCtrl::ZoomInCommand, enabled, checked));
        EXPECT_EQ(enabled, k.zoomIn) << k.level;
        ASSERT_TRUE(commandState(CGanttCtrl::ZoomOutCommand, enabled, checked));
        EXPECT_EQ(enabled, k.zoomOut) << k.level;
        EXPECT_EQ(chart->IsCommandEnabled(CGanttCtrl::ZoomInCommand), k.zoomIn);
    }
    chart->OnZoomLevel(13);
    chart->OnZoomOut();
    EXPECT_EQ(chart->Level(), 13);
}

TEST_F(GanttCtrlTest, ALeftPressSelectsTheGridRowAndBelowTheRowsClearsIt)
{
    const int row = rowOf(c);
    QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, inRow(row, 250));
    EXPECT_EQ(grid->SelectedRow(), row);
    QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, QPoint(250, chart->ChartHeight() - 4));
    EXPECT_EQ(grid->SelectedRow(), -1);
    // The header selects nothing and clears nothing.
    QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, inRow(row, 250));
    QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, QPoint(250, 3));
    EXPECT_EQ(grid->SelectedRow(), row);
}

TEST_F(GanttCtrlTest, ADoubleClickOpensTheEditorOnTheRowsNodeButNotOnTheTotalRow)
{
    QTest::mouseDClick(chart, Qt::LeftButton, Qt::NoModifier, inRow(rowOf(b), 250));
    QTest::mouseDClick(chart, Qt::LeftButton, Qt::NoModifier, inRow(0, 250));
    QTest::mouseDClick(chart, Qt::LeftButton, Qt::NoModifier, inRow(rowOf(c, dev), 250));
    QTest::mouseDClick(chart, Qt::LeftButton, Qt::NoModifier, QPoint(250, chart->ChartHeight() - 4));
    const std::vector<std::pair<int, int>> expected{{b, -2}, {c, dev}};
    EXPECT_EQ(host.edited, expected);
}

TEST_F(GanttCtrlTest, TheLevelIsKeptForEachUser)
{
    chart->OnZoomLevel(3);
    EXPECT_EQ(storedZoom(), QStringLiteral("3"));
    delete chart;
    makeChart();
    EXPECT_EQ(chart->Level(), 3);

    // Another user starts at a week a centimetre; the first keeps hers.
    tUsers bob;
    bob.Nom = QStringLiteral("Bob");
    ASSERT_EQ(users.AddUser(bob), CUsers::Done);
    const int anne = users.GetCurrentId();
    ASSERT_TRUE(users.SwitchUser(bob.Id));
    chart->LoadZoom();
    EXPECT_EQ(chart->Level(), 8);
    chart->OnZoomLevel(11);
    ASSERT_TRUE(users.SwitchUser(anne));
    chart->LoadZoom();
    EXPECT_EQ(chart->Level(), 3);
    EXPECT_NEAR(px(now), 600 / 6, 1); // whole minutes, truncated

    // What cannot be a level reads as 8 and is left as it was.
    for (const QString &bad : {QString(), QStringLiteral("abc"), QStringLiteral("-1"), QStringLiteral("14")}) {
        ASSERT_TRUE(users.SetUserSettings({QStringLiteral("GanttZoom")}, {bad}));
        chart->LoadZoom();
        EXPECT_EQ(chart->Level(), 8) << bad.toStdString();
        EXPECT_EQ(storedZoom(), bad);
    }
}

TEST_F(GanttCtrlTest, TheScrollBarMovesByTheLevelsSteps)
{
    chart->OnZoomLevel(8);
    const QDateTime before = Platform::LocalTime::toLocal(chart->Scale().Centre());
    const int position = chart->ScrollBar()->value();
    chart->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Platform::LocalTime::toLocal(chart->Scale().Centre()), before.addDays(7));
    EXPECT_EQ(chart->ScrollBar()->value(), position + 1);
    chart->ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(chart->ScrollBar()->value(), position + 1 - chart->ScrollBar()->pageStep());

    chart->OnZoomLevel(10);
    chart->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const QDateTime month = Platform::LocalTime::toLocal(chart->Scale().Centre());
    EXPECT_EQ(month.date().day(), 1);
    EXPECT_EQ(month.time(), QTime(0, 0));
    // The bar's range ends where the last page begins.
    EXPECT_EQ(chart->ScrollBar()->maximum(), chart->Scale().ScrollBar().maximum);
}

TEST_F(GanttCtrlTest, ThePaintShowsLinksDaysOffMilestonesAndTheSelectedRowBesideTheGrid)
{
    chart->OnZoomLevel(5);
    chart->OnNow();
    const int rowA = rowOf(a);
    const int rowC = rowOf(c);
    grid->SelectRow(rowC);
    const QImage image = chart->grab().toImage();
    const QRect rectA = grid->RowRectangle(rowA);

    // B starts before A ends: its link leaves A's end to the left, in red.
    const int endOfA = px(At(2024, 3, 7, 17));
    EXPECT_EQ(image.pixelColor(endOfA - 3, rectA.top() + 2 + (rectA.height() - 6) / 2), QColor(255, 0, 0));
    // Saturday 9 March is grey below the rows.
    EXPECT_EQ(image.pixelColor(px(At(2024, 3, 9, 12)), chart->ChartHeight() - 5), QColor(240, 240, 240));
    EXPECT_EQ(image.pixelColor(px(At(2024, 3, 11, 12)), chart->ChartHeight() - 5), QColor(Qt::white));
    // The milestone's diamond in M's colour.
    const QRect rectM = grid->RowRectangle(rowOf(m));
    EXPECT_EQ(image.pixelColor(px(At(2024, 3, 8, 17)), rectM.center().y()),
              ColorRefToQColor(store.GetNode(m)->GetColor()));
    // The selected row's band lies where the grid draws that row.
    const QColor highlight = chart->palette().color(QPalette::Active, QPalette::Highlight);
    const QRect rectC = grid->RowRectangle(rowC);
    EXPECT_EQ(image.pixelColor(50, rectC.top()), highlight);
    // (its last line is the line between rows)
    EXPECT_EQ(image.pixelColor(50, rectC.bottom() - 1), highlight);
    EXPECT_NE(image.pixelColor(50, rectC.top() - 1), highlight);
    EXPECT_NE(image.pixelColor(50, rectC.bottom() + 1), highlight);
    EXPECT_EQ(chart->VisibleRows().size(), size_t(grid->RowCount()));
}

TEST_F(GanttCtrlTest, TheTooltipDescribesTheRowUnderTheMouse)
{
    CMyToolTipCtrl *tip = chart->findChild<CMyToolTipCtrl *>();
    ASSERT_NE(tip, nullptr);
    const auto ask = [this](const QPoint &pos) {
        QHelpEvent event(QEvent::ToolTip, pos, chart->mapToGlobal(pos));
        QApplication::sendEvent(chart, &event);
    };
    ask(inRow(rowOf(b), 250));
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->Content().title, store.GetNode(b)->GetFullName());
    // The total row and the header have none.
    ask(inRow(0, 250));
    EXPECT_FALSE(tip->isVisible());
    ask(QPoint(250, 3));
    EXPECT_FALSE(tip->isVisible());
}
