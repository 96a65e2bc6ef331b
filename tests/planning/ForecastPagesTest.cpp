// The project editor's planning pages in the editor itself, on a database
// of the test's own (TZ=Europe/Paris, the clock fixed on Monday 4 March
// 2024, 10:00): the planning page's progress, figures, dates and states,
// the general page's parent tree, and the predecessors page's links.
#include "../timeentry/EditorFixture.h"
#include "DateFieldTyping.h"
#include "CConfiguration.h"
#include "CDlgForecast.h"
#include "CDlgSelectProject.h"
#include "CMyDateTimeCtrl.h"
#include "CComboBoxSuper.h"
#include "CViewForecastGeneral.h"
#include "CViewForecastPpal.h"
#include "CViewForecastPrevious.h"
#include "Clock.h"
#include "DialogAnswers.h"
#include "EntryDialogServices.h"
#include "ForecastPages.h"
#include "ForecastPlanningRules.h"
#include "Formatter.h"
#include "Texts.h"

#include "CColorStatic.h"
#include "CReadOnlyCB.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

qint64 At(int y, int m, int d, int h, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min)).toSecsSinceEpoch();
}

class ForecastPagesTest : public EditorFixture
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
        RecordEditorServices::Registered().forecastPage = &MakeForecastPage;
        savedEntryServices = EntryDialogServices::Registered();
        a = saveProject(QStringLiteral("A"));
        a1 = saveProject(QStringLiteral("A1"), a);
        b = saveProject(QStringLiteral("B"));
        reload();
    }
    void TearDown() override
    {
        editor.reset();
        EntryDialogServices::Registered() = savedEntryServices;
        Platform::Clock::reset();
        EditorFixture::TearDown();
    }
    // The editor on a node of the store, filled as for showing.
    void open(int projectId, int activityId = -2)
    {
        CProject *node = activityId == -2 ? store.GetNode(projectId) : store.FindNode(activityId, projectId);
        ASSERT_NE(node, nullptr);
        editor = std::make_unique<CDlgForecast>(false, activityId != -2, node, CDlgForecast::GeneralTab);
        editor->Prepare();
    }
    CViewForecastPpal *planning() const
    {
        return qobject_cast<CViewForecastPpal *>(editor->Page(CDlgForecast::PlanningTab));
    }
    CViewForecastGeneral *general() const
    {
        return qobject_cast<CViewForecastGeneral *>(editor->Page(CDlgForecast::GeneralTab));
    }
    CViewForecastPrevious *predecessors() const
    {
        return qobject_cast<CViewForecastPrevious *>(editor->Page(CDlgForecast::PredecessorsTab));
    }
    void link(int from, int to)
    {
        store.GetNode(from)->SetPredecessor(to, -2, 0, CDlgSelectProject::Days);
    }

    const qint64 now = At(2024, 3, 4, 10);
    EntryDialogServices savedEntryServices;
    CConfiguration config;
    std::unique_ptr<CDlgForecast> editor;
    int a = -1, a1 = -1, b = -1;
};

TEST(ForecastPlanningRulesTest, ProgressGivesTheEstimatedTotal)
{
    struct Case
    {
        int percent;
        qint64 done;
        qint64 total;
    };
    const Case cases[] = {
        {50, 36000, 72000}, {100, 36000, 36000}, {150, 36000, 36000},
        {0, 36000, 0},      {-5, 36000, 0},      {33, 100, 303},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ForecastPlanningRules::TotalFromProgress(c.percent, c.done), c.total) << c.percent;
    EXPECT_EQ(ForecastPlanningRules::StartType(true, true), 3);
    EXPECT_EQ(ForecastPlanningRules::StartType(true, false), 1);
    EXPECT_EQ(ForecastPlanningRules::StartType(false, true), 2);
    EXPECT_EQ(ForecastPlanningRules::StartType(false, false), 0);
}

TEST_F(ForecastPagesTest, HalfwayOnTenHoursEstimatesTwentyAndClearsAtZero)
{
    store.GetNode(b)->AddTaskStatistics(-2, 3, 36000, now - 36000, now);
    open(b);
    CViewForecastPpal *page = planning();
    ASSERT_NE(page, nullptr);
    page->SetProgress(50);
    EXPECT_EQ(editor->WorkingCopy().Forecast().Total, 72000);
    EXPECT_EQ(page->Display(CViewForecastPpal::IdExpected)->text(), config.FormatDurationInDays(72000, false));
    EXPECT_EQ(page->Display(CViewForecastPpal::IdRemaining)->text(), config.FormatDurationInDays(36000, false));
    EXPECT_EQ(page->ShownProgress(), 50);
    EXPECT_EQ(page->ProgressSpin()->value(), 50);
    EXPECT_EQ(page->TaskCount()->text(), Platform::Formatter::sprintf(Platform::Texts::get(22206), {3}));
    EXPECT_TRUE(page->PlansAgainstEstimate());
    page->SetProgress(0);
    EXPECT_EQ(editor->WorkingCopy().Forecast().Total, 0);
    EXPECT_EQ(page->ShownProgress(), 0);
    EXPECT_EQ(page->ProgressSpin()->value(), 0);
}

TEST_F(ForecastPagesTest, TheChildrenExpectedAndTheRemainingFigures)
{
    const int a2 = saveProject(QStringLiteral("A2"), a);
    // (expected, done) -> remaining. Time done past the estimate raises
    // the expected work to it: nothing remains, never a negative figure.
    const struct
    {
        qint64 expected;
        qint64 done;
        QString remaining;
    } cases[] = {
        {4 * 3600, 4 * 3600, QStringLiteral("0:00")},
        {4 * 3600, 5 * 3600, QStringLiteral("0:00")},
        {4 * 3600, 1 * 3600, QStringLiteral("3:00")},
    };
    std::vector<int> ids;
    for (size_t i = 0; i < std::size(cases); ++i)
        ids.push_back(saveProject(QStringLiteral("R%1").arg(i)));
    reload();
    store.GetNode(a1)->Forecast().Total = 2 * 3600;
    store.GetNode(a2)->Forecast().Total = 3 * 3600;
    open(a);
    EXPECT_EQ(planning()->Display(CViewForecastPpal::IdChildrenExpected)->text(), QStringLiteral("5:00"));

    for (size_t i = 0; i < std::size(cases); ++i) {
        CProject *node = store.GetNode(ids[i]);
        node->Forecast().Total = cases[i].expected;
        node->AddTaskStatistics(-2, 1, cases[i].done, now - cases[i].done, now);
        open(ids[i]);
        EXPECT_EQ(planning()->Display(CViewForecastPpal::IdRemaining)->text(), cases[i].remaining) << i;
    }
}

TEST_F(ForecastPagesTest, PlanningPageDatesAlertAndSpins)
{
    open(b);
    CViewForecastPpal *page = planning();
    // No start stored: the next working moment (Monday 10:00 is one).
    const QDateTime next = QDateTime::fromSecsSinceEpoch(config.NextWorkingTime(now));
    EXPECT_EQ(page->StartDate()->date(), next.date());
    EXPECT_EQ(page->StartTime()->time(), QTime(next.time().hour(), next.time().minute()));
    EXPECT_FALSE(page->StartTime()->displayFormat().contains(u's'));

    // The alert unchecked stores 0.
    editor->WorkingCopy().Forecast().DateAlerte = At(2024, 3, 20, 9);
    page->SetProject(false, &editor->WorkingCopy());
    EXPECT_TRUE(page->AlertCheck()->isChecked());
    page->AlertCheck()->click();
    page->StoreDates();
    EXPECT_EQ(editor->WorkingCopy().Forecast().DateAlerte, 0);

    // A day later over the spring clock change keeps the time of day.
    page->WishedStartCheck()->click();
    page->StartDate()->setDate(QDate(2024, 3, 30));
    page->StartTime()->setTime(QTime(10, 0));
    page->DayButton(CViewForecastPpal::IdStartLater)->click();
    EXPECT_EQ(editor->WorkingCopy().Forecast().DateDebut, At(2024, 3, 31, 10));
    page->DayButton(CViewForecastPpal::IdStartEarlier)->click();
    EXPECT_EQ(editor->WorkingCopy().Forecast().DateDebut, At(2024, 3, 30, 10));

    // The spins never go below 0.
    page->PlannedSpin()->setValue(0);
    page->PlannedSpin()->stepDown();
    EXPECT_EQ(page->PlannedSpin()->value(), 0);
    page->PlannedSpin()->setValue(7);
    EXPECT_EQ(editor->WorkingCopy().Forecast().Prevu, 7);
    page->PlannedSpin()->setValue(123456);
    EXPECT_EQ(page->PlannedSpin()->value(), CViewForecastPpal::MaxAmount);

    // Without children there is no automatic mode.
    EXPECT_FALSE(page->ModeList()->isEnabled());
    EXPECT_EQ(page->ModeList()->currentIndex(), 0);
}

TEST_F(ForecastPagesTest, AutomaticModeHidesWhatTheChildrenDecide)
{
    store.GetNode(a)->Forecast().bModeAuto = true;
    open(a);
    CViewForecastPpal *page = planning();
    editor->show();
    editor->Tabs()->setCurrentIndex(CDlgForecast::PlanningTab);
    EXPECT_TRUE(page->ModeList()->isEnabled());
    EXPECT_EQ(page->ModeList()->currentIndex(), 1);
    EXPECT_FALSE(page->WishedStartCheck()->isEnabled());
    EXPECT_FALSE(page->ExtraSpin()->isVisible());
    EXPECT_FALSE(page->ProgressSpin()->isEnabled());
    EXPECT_TRUE(page->Display(CViewForecastPpal::IdComputedPlanned)->isVisible());
    EXPECT_FALSE(page->PlannedSpin()->isVisible());
}

TEST_F(ForecastPagesTest, TheParentTreeLeavesTheProjectsOwnSubtreeOut)
{
    open(a);
    CViewForecastGeneral *page = general();
    EXPECT_EQ(page->FindItem(a), nullptr);
    EXPECT_EQ(page->FindItem(a1), nullptr);
    EXPECT_NE(page->FindItem(b), nullptr);
    EXPECT_EQ(page->Tree()->currentItem(), page->FindItem(CViewForecastGeneral::RootData));
}

TEST_F(ForecastPagesTest, ALoopingParentIsRefusedAndTheRootAccepted)
{
    boxes.AnswerNotices();
    // A1 waits for B: B cannot become A1's parent.
    link(a1, b);
    open(a1);
    CViewForecastGeneral *page = general();
    QSignalSpy changed(page, &CForecastPage::parentChanged);
    ASSERT_EQ(page->Tree()->currentItem(), page->FindItem(a));
    page->Tree()->setCurrentItem(page->FindItem(b));
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text,
              Platform::Formatter::sprintf(Platform::Texts::get(616), {QStringLiteral("A1"), QStringLiteral("B")}));
    EXPECT_EQ(page->Tree()->currentItem(), page->FindItem(a));
    EXPECT_EQ(editor->WorkingCopy().Element().Parent, a);
    EXPECT_EQ(changed.count(), 0);

    // The top: no parent, the working copy's ancestors the store's root.
    page->Tree()->setCurrentItem(page->FindItem(CViewForecastGeneral::RootData));
    EXPECT_EQ(editor->WorkingCopy().Element().Parent, -1);
    EXPECT_EQ(editor->WorkingCopy().GetParent(), store.GetRoot());
    EXPECT_TRUE(page->FullNameEdit()->text().isEmpty());
    EXPECT_EQ(changed.count(), 1);
    page->Tree()->setCurrentItem(page->FindItem(a));
    EXPECT_EQ(editor->WorkingCopy().GetParent(), store.GetNode(a));
    EXPECT_EQ(page->FullNameEdit()->text(), store.GetNode(a)->GetFullName());
}

TEST_F(ForecastPagesTest, AddingARateOrAnActivityChoosesIt)
{
    open(b);
    CViewForecastGeneral *page = general();
    int rate = -1;
    int activity = -1;
    EntryDialogServices::Registered().newRate = [&rate] { return rate = saveRate(QStringLiteral("Conseil"), 90); };
    EntryDialogServices::Registered().newActivity = [&activity] {
        return activity = saveActivity(QStringLiteral("Audit"));
    };
    page->AddRateButton()->click();
    page->AddActivityButton()->click();
    ASSERT_NE(rate, -1);
    ASSERT_NE(activity, -1);
    page->StoreControls();
    EXPECT_EQ(editor->WorkingCopy().Element().IdTauxHoraire, rate);
    EXPECT_EQ(editor->WorkingCopy().Element().Activity, activity);
    // An editor closed without a record leaves the choice as it was.
    EntryDialogServices::Registered().newRate = [] { return -1; };
    page->AddRateButton()->click();
    page->StoreControls();
    EXPECT_EQ(editor->WorkingCopy().Element().IdTauxHoraire, rate);
}

TEST_F(ForecastPagesTest, AnActivityRowKeepsItsProject)
{
    const int dev = saveActivity(QStringLiteral("Dév"));
    tForecast row;
    row.IdProject = a;
    row.IdActivity = dev;
    {
        CBdD db;
        ASSERT_TRUE(db.SaveProject(nullptr, &row));
    }
    open(a, dev);
    CViewForecastGeneral *page = general();
    EXPECT_FALSE(page->TitleEdit()->isVisibleTo(page));
    EXPECT_FALSE(page->RateList()->isEnabled());
    EXPECT_TRUE(page->ActivityColour()->isVisibleTo(page));
    EXPECT_FALSE(page->ChooseParent(page->FindItem(b)));
    EXPECT_EQ(editor->WorkingCopy().Element().Parent, a);
}

TEST_F(ForecastPagesTest, PredecessorsRefuseDuplicatesAndLoops)
{
    boxes.AnswerNotices();
    link(a1, b);
    open(a1);
    CViewForecastPrevious *page = predecessors();
    ASSERT_EQ(page->List()->topLevelItemCount(), 1);
    EXPECT_EQ(page->List()->topLevelItem(0)->text(1), QString()); // a lag of 0
    DialogAnswers<CDlgSelectProject> picks;
    const auto pick = [this](int id, int lag) {
        return [this, id, lag](CDlgSelectProject &d) {
            d.SetSelected(store.GetNode(id));
            d.SetLag(lag, CDlgSelectProject::Hours);
            return int(QDialog::Accepted);
        };
    };
    // B again: 603, one row.
    picks.Push(pick(b, 2));
    page->OnAdd();
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, CProjectStore::PredecessorMessage(603, store.GetNode(b)->GetFullName()));
    EXPECT_EQ(page->List()->topLevelItemCount(), 1);
    // Its own parent: 574.
    picks.Push(pick(a, 0));
    page->OnAdd();
    EXPECT_EQ(boxes.AskedBoxes().back().text, Platform::Texts::get(574));
    EXPECT_EQ(page->List()->topLevelItemCount(), 1);
    EXPECT_EQ(editor->WorkingCopy().Predecessors().size(), 1u);

    // A check out of time asks 664; Yes checks again to the end, and a
    // loop is still refused.
    int calls = 0;
    Platform::Clock::setTickSource([&calls] { return calls++ == 0 ? 0 : 5000; });
    boxes.Push(MessageBoxAnswer::Yes);
    picks.Push(pick(a, 0));
    page->OnAdd();
    Platform::Clock::setTickSource({});
    const auto &asked = boxes.AskedBoxes();
    ASSERT_GE(asked.size(), 4u);
    EXPECT_EQ(asked[asked.size() - 2].text, Platform::Texts::get(664));
    EXPECT_EQ(asked.back().text, Platform::Texts::get(574));
    EXPECT_EQ(editor->WorkingCopy().Predecessors().size(), 1u);
}

TEST_F(ForecastPagesTest, ChangingOnlyTheLagNeedsNoCheckAndRemovingSelectsTheNext)
{
    const int c = saveProject(QStringLiteral("C"));
    reload();
    link(a1, b);
    link(a1, c);
    open(a1);
    CViewForecastPrevious *page = predecessors();
    ASSERT_EQ(page->List()->topLevelItemCount(), 2);
    page->List()->setCurrentItem(page->List()->topLevelItem(0));
    EXPECT_TRUE(page->ChangeButton()->isEnabled());

    // Every check would run out of time: a lag alone asks nothing.
    int calls = 0;
    Platform::Clock::setTickSource([&calls] { return calls++ == 0 ? 0 : 5000; });
    DialogAnswers<CDlgSelectProject> picks;
    picks.Push([this](CDlgSelectProject &d) {
        EXPECT_EQ(d.Selected(), store.GetNode(b));
        d.SetLag(3, CDlgSelectProject::Days);
        return int(QDialog::Accepted);
    });
    page->OnChange();
    Platform::Clock::setTickSource({});
    EXPECT_TRUE(boxes.AskedBoxes().empty());
    EXPECT_EQ(editor->WorkingCopy().Predecessors()[0].Lag, 3);
    EXPECT_EQ(page->List()->topLevelItem(0)->text(1),
              Platform::Formatter::sprintf(Platform::Texts::get(663), {3}));

    // Removing the last row selects the new last.
    page->List()->setCurrentItem(page->List()->topLevelItem(1));
    boxes.Push(MessageBoxAnswer::Yes);
    page->OnRemove();
    ASSERT_EQ(page->List()->topLevelItemCount(), 1);
    EXPECT_EQ(page->List()->currentItem(), page->List()->topLevelItem(0));
    EXPECT_TRUE(page->List()->topLevelItem(0)->isSelected());
    EXPECT_EQ(editor->WorkingCopy().Predecessors().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes().back().text, Platform::Texts::get(573));
}

TEST_F(ForecastPagesTest, EnterDoesNothingAndEscapeCancelsTheEditor)
{
    open(b);
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    editor->Tabs()->setCurrentIndex(CDlgForecast::GeneralTab);
    general()->TitleEdit()->setFocus();
    QTest::keyClick(general()->TitleEdit(), Qt::Key_Return);
    EXPECT_TRUE(editor->isVisible());
    QTest::keyClick(general()->TitleEdit(), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
}

} // namespace

// Dates and times typed into the planning page as into the system's
// pickers: a click on a part then its digits, or a whole date over the
// field; each is stored in the node at once.
TEST_F(ForecastPagesTest, DatesAndTimesAreTypedAsWellAsPicked)
{
    const DateFieldTyping::FrenchFields french;
    open(b);
    editor->show();
    editor->findChild<QTabWidget *>()->setCurrentIndex(CDlgForecast::PlanningTab);
    CViewForecastPpal *page = planning();
    page->WishedStartCheck()->click();
    page->WishedEndCheck()->click();
    tForecast &f = editor->WorkingCopy().Forecast();
    const struct
    {
        const char *field;
        QDateEdit *date;
        qint64 *stored;
    } fields[] = {{"start", page->StartDate(), &f.DateDebut}, {"end", page->EndDate(), &f.DateFin}};
    for (const auto &field : fields) {
        ASSERT_TRUE(field.date->isVisible()) << field.field;
        ASSERT_EQ(field.date->displayFormat(), QStringLiteral("dd/MM/yyyy"));
        for (const DateFieldTyping::tRow &row : DateFieldTyping::DateRows()) {
            SCOPED_TRACE(std::string(field.field) + ": " + row.what);
            field.date->setDate(DateFieldTyping::Start());
            DateFieldTyping::Type(field.date, row);
            EXPECT_EQ(field.date->date(), row.stored);
            EXPECT_EQ(QDateTime::fromSecsSinceEpoch(*field.stored).date(), row.stored);
        }
    }

    // The hour or the minute clicked, then typed.
    const struct
    {
        int click;
        const char *keys;
        QTime stored;
    } times[] = {{1, "14", QTime(14, 0)}, {4, "45", QTime(10, 45)}, {-1, "0730", QTime(7, 30)}};
    for (const auto &t : times) {
        SCOPED_TRACE(t.keys);
        page->StartTime()->setTime(QTime(10, 0));
        DateFieldTyping::Type(page->StartTime(), t.click, QString::fromLatin1(t.keys));
        EXPECT_EQ(QDateTime::fromSecsSinceEpoch(f.DateDebut).time(), t.stored);
    }
}
