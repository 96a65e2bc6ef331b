// The report settings: the rules of the page set, the grouping levels, the
// selection lists, the period repair and the centimetres as tables; the
// wizard and its pages offscreen on a definition.
#include "ApplicationImageList.h"
#include "CMyDateTimeCtrl.h"
#include "CMyEdit.h"
#include "CPrefsStatic.h"
#include "CPreviewTemplate.h"
#include "CReadOnlyCB.h"
#include "CReportDates.h"
#include "CReportDivers.h"
#include "CReportGroupBy.h"
#include "CReportProject.h"
#include "CReportWizard.h"
#include "CWizardDialog.h"
#include "DateFieldTyping.h"
#include "CmyTreeCtrl.h"
#include "ImageList.h"
#include "MessageBoxAnswers.h"
#include "ReportCentimetres.h"
#include "ReportFixture.h"
#include "ReportLevelRules.h"
#include "ReportPeriod.h"
#include "ReportSelectionList.h"
#include "ReportWizardPageSet.h"
#include "TestFolders.h"
#include "Texts.h"
#include "WizardNavigation.h"
#include "tReportDefinition.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>

using ReportLevelRules::LevelSet;

namespace {

LevelSet levels(std::initializer_list<int> used)
{
    LevelSet set = ReportLevelRules::EmptySet();
    size_t i = 0;
    for (int level : used)
        set[i++] = level;
    return set;
}

QStringList treeCaptions(CWizardDialog &frame)
{
    QStringList out;
    for (int i = 0; i < frame.Tree()->topLevelItemCount(); ++i)
        out << frame.Tree()->topLevelItem(i)->text(0);
    return out;
}

QStringList captions(std::initializer_list<int> ids)
{
    QStringList out;
    for (int id : ids)
        out << Platform::Texts::get(id);
    return out;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

} // namespace

// ----------------------------------------------------------------- tables

TEST(ReportLevelRulesTest, InsertionKeepsDatesInOrder)
{
    struct Case
    {
        LevelSet before;
        int level;
        LevelSet after;
    } cases[] = {
        // Years go first, days right after the last years or months level.
        {levels({3, 4}), 0, levels({0, 3, 4})},
        {levels({0, 3, 4}), 2, levels({0, 2, 3, 4})},
        {levels({3, 4}), 2, levels({2, 3, 4})},
        {levels({3, 0}), 1, levels({3, 0, 1})},
        {levels({3, 1, 4}), 0, levels({0, 3, 1, 4})},
        {levels({2}), 1, levels({1, 2})},
        {levels({0, 1}), 3, levels({0, 1, 3})},
        {levels({}), 4, levels({4})},
    };
    for (const Case &c : cases) {
        LevelSet set = c.before;
        EXPECT_TRUE(ReportLevelRules::Insert(set, c.level));
        EXPECT_EQ(set, c.after) << "level " << c.level;
    }
    LevelSet full = levels({0, 1, 2, 3, 4});
    EXPECT_FALSE(ReportLevelRules::Insert(full, 3));
    LevelSet twice = levels({3});
    EXPECT_FALSE(ReportLevelRules::Insert(twice, 3));
    EXPECT_TRUE(ReportLevelRules::Remove(full, 1));
    EXPECT_EQ(full, levels({0, 2, 3, 4}));
}

TEST(ReportLevelRulesTest, UpAndDownNeverPutAFinerDateAbove)
{
    const std::vector<int> rows{0, 1, 3, -1};
    EXPECT_FALSE(ReportLevelRules::CanMoveUp(rows, 1));   // months above years
    EXPECT_FALSE(ReportLevelRules::CanMoveDown(rows, 0)); // years below months
    EXPECT_TRUE(ReportLevelRules::CanMoveUp(rows, 2));
    EXPECT_FALSE(ReportLevelRules::CanMoveUp(rows, 0));
    EXPECT_FALSE(ReportLevelRules::CanMoveDown(rows, 2)); // the detail item below
    EXPECT_FALSE(ReportLevelRules::CanMoveUp(rows, 3));   // the detail item itself
    EXPECT_FALSE(ReportLevelRules::CanMoveDown({1, 2}, 0));
    EXPECT_TRUE(ReportLevelRules::CanMoveDown({3, 4}, 0));
}

TEST(ReportLevelRulesTest, ColumnGroupingOfACrossTable)
{
    // Months in columns: years, projects and activities may be rows.
    EXPECT_EQ(ReportLevelRules::Available(3, 1, ReportLevelRules::EmptySet(), true), (std::vector<int>{0, 3, 4}));
    LevelSet set = levels({0, 3});
    ReportLevelRules::RemoveForColumnGrouping(set, 0);
    EXPECT_EQ(set, levels({3}));
    set = levels({3, 4, 2});
    ReportLevelRules::RemoveForColumnGrouping(set, 4);
    EXPECT_EQ(set, levels({3, 2}));
    // The detail item is offered when the detail is off, never for a cross
    // table nor project tracking.
    EXPECT_EQ(ReportLevelRules::Available(0, 0, levels({3}), false), (std::vector<int>{0, 1, 2, 4, -1}));
    EXPECT_EQ(ReportLevelRules::Available(3, 3, levels({}), false), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_TRUE(ReportLevelRules::Available(4, 0, levels({}), false).empty());
}

TEST(ReportWizardPageSetTest, KindsAndTheirPages)
{
    using Hidden = std::array<bool, ReportWizardPageSet::PageCount>;
    EXPECT_EQ(ReportWizardPageSet::HiddenForKind(4), (Hidden{false, true, true, false, true, false}));
    for (int kind : {0, 1, 2, 3})
        EXPECT_EQ(ReportWizardPageSet::HiddenForKind(kind), (Hidden{false, false, false, true, false, false}));
    EXPECT_EQ(WizardNavigation::NextShown({false, true, true, false, true, false}, 0), 3);
    EXPECT_EQ(WizardNavigation::PreviousShown({false, true, true, false, true, false}, 3), 0);
    EXPECT_EQ(WizardNavigation::NextShown({false, true}, 0), -1);
    EXPECT_FALSE(WizardNavigation::BackEnabled(0));
    EXPECT_FALSE(WizardNavigation::NextEnabled(6, 5));
    EXPECT_FALSE(WizardNavigation::NextEnabled(0, -1));
}

TEST(ReportSelectionListTest, ListsReadAndWritten)
{
    EXPECT_EQ(ReportSelectionList::WriteIds({1, 2, -1}, true), QString());
    EXPECT_EQ(ReportSelectionList::WriteIds({1, 4}, false), QStringLiteral("(1,4)"));
    EXPECT_EQ(ReportSelectionList::WriteIds({-1}, false), QStringLiteral("(-1)"));
    EXPECT_EQ(ReportSelectionList::WritePairs({{1, -2}, {2, 7}}, false), QStringLiteral(";1,-2;2,7;"));
    EXPECT_EQ(ReportSelectionList::WritePairs({{1, -2}}, true), QString());

    EXPECT_TRUE(ReportSelectionList::IsIdChecked(u"", 5));
    EXPECT_TRUE(ReportSelectionList::IsIdChecked(u"(3,5)", 5));
    EXPECT_FALSE(ReportSelectionList::IsIdChecked(u"(3,50)", 5));
    EXPECT_TRUE(ReportSelectionList::IsUndefinedChecked(u"(3,-1)"));
    EXPECT_FALSE(ReportSelectionList::IsUndefinedChecked(u"(3)"));
    EXPECT_TRUE(ReportSelectionList::IsPairChecked(u";1,-2;2,7;", 2, 7));
    EXPECT_FALSE(ReportSelectionList::IsPairChecked(u";1,-2;2,7;", 2, -2));
    // A list of projects checks every row of the projects it names.
    EXPECT_TRUE(ReportSelectionList::IsPairChecked(u"(2)", 2, 7));
    EXPECT_FALSE(ReportSelectionList::IsPairChecked(u"(2)", 3, -2));
}

TEST(ReportPeriodRepairTest, InvalidCustomDatesAreRepaired)
{
    const QDate today(2024, 3, 4);
    const QDate start(2024, 1, 10);
    const QDate end(2024, 2, 20);
    struct Case
    {
        QDate start, end;
        bool repaired;
        QDate outStart, outEnd;
    } cases[] = {
        {start, end, false, start, end},
        {start, QDate(), true, start, start},
        {QDate(), end, true, end, end},
        {QDate(), QDate(), true, today, today},
    };
    for (const Case &c : cases) {
        QDate s = c.start;
        QDate e = c.end;
        EXPECT_EQ(RepairCustomPeriod(s, e, today), c.repaired);
        EXPECT_EQ(s, c.outStart);
        EXPECT_EQ(e, c.outEnd);
    }
    // Dates in reverse stand for the period between them.
    struct Swap
    {
        QDate start, end;
        bool swapped;
    } swaps[] = {
        {end, start, true},
        {start, end, false},
        {start, start, false},
        {end, QDate(), false},
    };
    for (const Swap &c : swaps) {
        QDate s = c.start;
        QDate e = c.end;
        EXPECT_EQ(SwapReversedPeriod(s, e), c.swapped);
        EXPECT_EQ(s, c.swapped ? c.end : c.start);
        EXPECT_EQ(e, c.swapped ? c.start : c.end);
        // A stored custom period is built over its dates in order; any
        // other code over its own dates.
        s = c.start;
        e = c.end;
        ResolvePeriodDates(9, s, e);
        EXPECT_EQ(s, c.swapped ? c.end : c.start);
    }
}

TEST(ReportCentimetresTest, ExactDecimals)
{
    struct Case
    {
        const char16_t *text;
        QChar separator;
        bool ok;
        int tenths;
    } cases[] = {
        {u"1,15", u',', true, 115}, {u"0,29", u',', true, 29}, {u"1,259", u',', true, 125},
        {u"1.15", u'.', true, 115}, {u"0.29", u'.', true, 29}, {u"21", u',', true, 2100},
        {u"29,7", u',', true, 2970}, {u",5", u',', true, 50}, {u"1.15", u',', true, 115},
        {u"1,15", u'.', false, 0}, {u"-1", u',', false, 0}, {u"1a", u',', false, 0},
        {u"", u',', false, 0}, {u"1,2,3", u',', false, 0}, {u"99999", u',', false, 0},
    };
    for (const Case &c : cases) {
        int tenths = 0;
        const std::string text = QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(ReportCentimetres::Parse(QStringView(c.text), c.separator, tenths), c.ok) << text;
        if (c.ok) {
            EXPECT_EQ(tenths, c.tenths) << text;
        }
    }
    EXPECT_EQ(ReportCentimetres::Format(2970, u','), QStringLiteral("29,70"));
    EXPECT_EQ(ReportCentimetres::Format(5, u'.'), QStringLiteral("0.05"));
    // What is shown reads back to the same value.
    for (int tenths : {0, 1, 29, 115, 2100, 2159, 32767}) {
        int back = -1;
        ASSERT_TRUE(ReportCentimetres::Parse(ReportCentimetres::Format(tenths, u','), u',', back));
        EXPECT_EQ(back, tenths);
    }
}

// ----------------------------------------------------------------- windows

class ReportWizardTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        definition.Type = 0;
        definition.Periode = 4;
        definition.Grp = {3, 4, -1, -1, -1};
        definition.Detail = true;
        definition.Projets = QStringLiteral("(2,3)");
        definition.Activites = QStringLiteral("(7)");
        definition.Titre = QStringLiteral("Titre");
        definition.TitreAuto = false;
        definition.SetDefaultColumns(definition.Columns);
        sources.Projects = std::make_shared<const tReportSnapshot>(snapshot);
        FillApplicationImages(images);
        sources.Images = &images;
    }
    std::unique_ptr<CReportWizard> open()
    {
        auto wizard = std::make_unique<CReportWizard>(definition, sources, nullptr);
        wizard->Frame().InitDialog();
        wizard->Frame().show();
        settle();
        return wizard;
    }

    tReportDefinition definition;
    CReportWizard::tSources sources;
    ImageList images{16};
};

TEST_F(ReportWizardTest, TheKindChoosesThePageSet)
{
    definition.Type = 4;
    auto wizard = open();
    CWizardDialog &frame = wizard->Frame();
    EXPECT_EQ(treeCaptions(frame), captions({279, 183, 280}));
    EXPECT_EQ(frame.CurrentPage(), 0);
    // Next from the first page skips the hidden ones.
    frame.OnNext();
    settle();
    EXPECT_EQ(frame.CurrentPage(), 3);

    frame.ShowPage(0);
    wizard->GroupingPage().SelectKind(0);
    settle();
    EXPECT_EQ(treeCaptions(frame), captions({279, 278, 146, 147, 280}));
    wizard->GroupingPage().SelectKind(4);
    settle();
    EXPECT_EQ(treeCaptions(frame), captions({279, 183, 280}));
    wizard->GroupingPage().SelectKind(0);
    settle();
    EXPECT_EQ(treeCaptions(frame), captions({279, 278, 146, 147, 280}));
    EXPECT_EQ(frame.windowTitle(), Platform::Texts::get(281));
    EXPECT_EQ(frame.CaptionBand()->ConstantText(), Platform::Texts::get(128));
}

TEST_F(ReportWizardTest, FinishAtOnceWritesOnlyTheGroupingPage)
{
    definition.Grp = {3, -1, 0, -1, -1}; // a level after the end mark is dropped
    definition.Periode = 9;
    definition.Debut = QDate(2020, 1, 1);
    definition.Fin = QDate(2020, 1, 31);
    auto wizard = open();
    wizard->Frame().accept();
    EXPECT_EQ(wizard->Frame().result(), QDialog::Accepted);
    EXPECT_EQ(definition.Grp, (std::array<int, 5>{3, -1, -1, -1, -1}));
    EXPECT_EQ(definition.Projets, QStringLiteral("(2,3)"));
    EXPECT_EQ(definition.Activites, QStringLiteral("(7)"));
    EXPECT_EQ(definition.Debut, QDate(2020, 1, 1));
    EXPECT_EQ(definition.Titre, QStringLiteral("Titre"));
    EXPECT_FALSE(wizard->PeriodPage().IsCreated());
}

// "Annuler", Escape from the frame, the tree or a field of a page, and
// closing the window end the frame with 2, as "Annuler" does.
TEST_F(ReportWizardTest, EscapeAndClosingAreAnnuler)
{
    struct Case
    {
        const char *name;
        std::function<void(CReportWizard &)> act;
    };
    const Case cases[] = {
        {"Annuler", [](CReportWizard &w) { QTest::mouseClick(w.Frame().CancelButton(), Qt::LeftButton); }},
        {"Escape on the frame", [](CReportWizard &w) { QTest::keyClick(&w.Frame(), Qt::Key_Escape); }},
        {"Escape in the tree", [](CReportWizard &w) { QTest::keyClick(w.Frame().Tree(), Qt::Key_Escape); }},
        {"Escape in the page",
         [](CReportWizard &w) {
             QWidget *field = w.Frame().focusWidget();
             ASSERT_NE(field, nullptr);
             ASSERT_TRUE(w.GroupingPage().isAncestorOf(field)) << field->metaObject()->className();
             QTest::keyClick(field, Qt::Key_Escape);
         }},
        {"closing the window", [](CReportWizard &w) { EXPECT_TRUE(w.Frame().close()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto wizard = open();
        CWizardDialog &frame = wizard->Frame();
        wizard->GroupingPage().SelectKind(1);
        c.act(*wizard);
        settle();
        EXPECT_FALSE(frame.isVisible());
        EXPECT_EQ(frame.result(), QDialog::Rejected);
    }
    // The page worked on the definition it was given; the report frame
    // hands the wizard a copy and throws it away on Annuler.
}

TEST_F(ReportWizardTest, AnEmptySelectionKeepsTheUserOnThePage)
{
    auto wizard = open();
    CWizardDialog &frame = wizard->Frame();
    frame.ShowPage(2);
    settle();
    CReportProject &page = wizard->ProjectsPage();
    // Projects 2 and 3 of the list are checked, the others not.
    bool all = true;
    EXPECT_EQ(page.CheckedIds(all), (std::vector<int>{2, 3}));
    EXPECT_FALSE(all);
    page.CheckAll(false);
    settle();
    EXPECT_TRUE(page.IsWarningShown());
    EXPECT_FALSE(frame.FinishButton()->isEnabled());
    EXPECT_FALSE(frame.BackButton()->isEnabled());
    EXPECT_FALSE(frame.NextButton()->isEnabled());
    EXPECT_TRUE(frame.CancelButton()->isEnabled());
    frame.Tree()->setCurrentItem(frame.Tree()->topLevelItem(0));
    settle();
    EXPECT_EQ(frame.CurrentPage(), 2);
    frame.accept();
    EXPECT_TRUE(frame.isVisible());

    page.CheckAll(true);
    settle();
    EXPECT_TRUE(frame.FinishButton()->isEnabled());
    frame.accept();
    EXPECT_EQ(definition.Projets, QString()); // every project, the extra item too
}

TEST_F(ReportWizardTest, SelectionListsWrittenOnFinish)
{
    auto wizard = open();
    CWizardDialog &frame = wizard->Frame();
    frame.ShowPage(2);
    frame.ShowPage(4);
    settle();
    CmyTreeCtrl *projects = wizard->ProjectsPage().TreeBox();
    // Everything but the extra item: every project id without -1.
    projects->SetCheckRecursive(projects->invisibleRootItem(), Qt::Checked);
    QTreeWidgetItem *extra = projects->topLevelItem(projects->topLevelItemCount() - 1);
    EXPECT_EQ(extra->text(0), Platform::Texts::get(501));
    EXPECT_FALSE(projects->topLevelItem(0)->icon(0).isNull());
    extra->setCheckState(0, Qt::Unchecked);
    CmyTreeCtrl *activities = wizard->ActivitiesPage().TreeBox();
    ASSERT_EQ(activities->topLevelItemCount(), 3);
    EXPECT_EQ(activities->topLevelItem(0)->text(0), QStringLiteral("Analyse"));
    activities->topLevelItem(0)->setCheckState(0, Qt::Checked);
    activities->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    activities->topLevelItem(2)->setCheckState(0, Qt::Checked);
    frame.accept();
    EXPECT_EQ(definition.Projets, QStringLiteral("(1,2,3,4)"));
    EXPECT_EQ(definition.Activites, QStringLiteral("(8,-1)"));
}

TEST_F(ReportWizardTest, PairsWrittenOnlyForProjectTracking)
{
    definition.Type = 4;
    definition.Projets = QStringLiteral(";2,-2;");
    auto wizard = open();
    CWizardDialog &frame = wizard->Frame();
    frame.ShowPage(3);
    settle();
    bool all = true;
    const auto pairs = wizard->PairsPage().CheckedPairs(all);
    EXPECT_EQ(pairs, (std::vector<std::pair<int, int>>{{2, -2}}));
    // Back to a time report: the projects page's list stands.
    frame.ShowPage(0);
    wizard->GroupingPage().SelectKind(0);
    settle();
    frame.ShowPage(2);
    settle();
    frame.accept();
    EXPECT_EQ(definition.Projets, QStringLiteral("(2)"));
}

TEST_F(ReportWizardTest, UnreadableCustomDatesAreRepairedOnce)
{
    definition.Periode = 9;
    definition.Debut = QDate(2024, 2, 1);
    definition.Fin = QDate();
    MessageBoxAnswers answers;
    answers.Push(1);
    auto wizard = open();
    wizard->Frame().ShowPage(1);
    settle();
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(431));
    EXPECT_EQ(definition.Fin, QDate(2024, 2, 1));
    EXPECT_TRUE(wizard->PeriodPage().StartPicker()->isEnabled());
    wizard->PeriodPage().SelectPeriod(4);
    EXPECT_FALSE(wizard->PeriodPage().StartPicker()->isEnabled());
    EXPECT_EQ(definition.Debut, QDate(2024, 3, 1));
    EXPECT_EQ(definition.Fin, QDate(2024, 3, 31));
    EXPECT_EQ(answers.AskedBoxes().size(), 1u);
}

// Custom dates in reverse are exchanged with a word: when a report opens
// with them, and when they are typed so and the settings are confirmed.
TEST_F(ReportWizardTest, CustomDatesInReverseAreSwappedWithAMessage)
{
    definition.Periode = 9;
    definition.Debut = QDate(2024, 3, 31);
    definition.Fin = QDate(2024, 3, 1);
    MessageBoxAnswers answers;
    answers.Push(1);
    auto wizard = open();
    wizard->Frame().ShowPage(1);
    settle();
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(CReportDates::SwappedDatesText));
    EXPECT_EQ(definition.Debut, QDate(2024, 3, 1));
    EXPECT_EQ(definition.Fin, QDate(2024, 3, 31));
    EXPECT_EQ(wizard->PeriodPage().StartPicker()->date(), QDate(2024, 3, 1));

    // The end typed before the start, then Terminer.
    wizard->PeriodPage().EndPicker()->setDate(QDate(2024, 2, 10));
    EXPECT_EQ(definition.Fin, QDate(2024, 2, 10));
    answers.Push(1);
    wizard->Frame().accept();
    EXPECT_EQ(wizard->Frame().result(), QDialog::Accepted);
    ASSERT_EQ(answers.AskedBoxes().size(), 2u);
    EXPECT_EQ(answers.AskedBoxes()[1].text, Platform::Texts::get(CReportDates::SwappedDatesText));
    EXPECT_EQ(definition.Debut, QDate(2024, 2, 10));
    EXPECT_EQ(definition.Fin, QDate(2024, 3, 1));
}

// The custom period's dates typed as into the system's pickers: a click
// on a part then its digits, or a whole date over the field.
TEST_F(ReportWizardTest, ThePeriodsDatesAreTypedAsWellAsPicked)
{
    const DateFieldTyping::FrenchFields french;
    definition.Periode = 9;
    definition.Debut = DateFieldTyping::Start();
    definition.Fin = DateFieldTyping::Start();
    auto wizard = open();
    wizard->Frame().ShowPage(1);
    settle();
    CReportDates &page = wizard->PeriodPage();
    const struct
    {
        const char *field;
        CMyDateTimeCtrl *date;
        QDate *stored;
    } fields[] = {{"start", page.StartPicker(), &definition.Debut}, {"end", page.EndPicker(), &definition.Fin}};
    for (const auto &field : fields) {
        ASSERT_TRUE(field.date->isVisible() && field.date->isEnabled()) << field.field;
        ASSERT_EQ(field.date->displayFormat(), QStringLiteral("dd/MM/yyyy"));
        for (const DateFieldTyping::tRow &row : DateFieldTyping::DateRows()) {
            SCOPED_TRACE(std::string(field.field) + ": " + row.what);
            field.date->setDate(DateFieldTyping::Start());
            DateFieldTyping::Type(field.date, row);
            EXPECT_EQ(*field.stored, row.stored);
        }
    }
}

TEST_F(ReportWizardTest, GroupingLevelsAddedRemovedAndMoved)
{
    auto wizard = open();
    CReportGroupBy &page = wizard->GroupingPage();
    QListWidget *available = page.AvailableBox();
    auto select = [available](int level) {
        available->clearSelection();
        for (int i = 0; i < available->count(); ++i) {
            if (available->item(i)->data(Qt::UserRole).toInt() == level)
                available->item(i)->setSelected(true);
        }
    };
    select(0);
    page.AddSelected();
    select(2);
    page.AddSelected();
    EXPECT_EQ(page.ChosenRows(), (std::vector<int>{0, 2, 3, 4, -1}));
    page.ChosenBox()->setCurrentRow(1);
    page.MoveSelected(false); // days below projects
    EXPECT_EQ(page.ChosenRows(), (std::vector<int>{0, 3, 2, 4, -1}));
    page.ChosenBox()->setCurrentRow(4);
    page.RemoveSelected(); // the detail item
    EXPECT_FALSE(definition.Detail);
    // Everything removed: the warning, and the frame's buttons go off.
    while (!page.ChosenRows().empty()) {
        page.ChosenBox()->setCurrentRow(0);
        page.RemoveSelected();
    }
    settle();
    EXPECT_TRUE(page.IsWarningShown());
    EXPECT_FALSE(wizard->Frame().FinishButton()->isEnabled());
    EXPECT_FALSE(page.ValidatePage());
}

TEST_F(ReportWizardTest, ADraggedPreviewHeaderMovesTheColumn)
{
    auto wizard = open();
    CReportGroupBy &page = wizard->GroupingPage();
    QHeaderView *header = page.Preview()->header();
    ASSERT_GE(header->count(), 3);
    const QString first = page.Preview()->headerItem()->text(0);
    const QString second = page.Preview()->headerItem()->text(1);
    header->moveSection(0, 2);
    settle();
    // Qt's own move was undone and the preview rebuilt from the set.
    EXPECT_EQ(page.Preview()->headerItem()->text(0), second);
    EXPECT_EQ(page.Preview()->headerItem()->text(2), first);
    EXPECT_EQ(header->visualIndex(0), 0);
    EXPECT_FALSE(definition.Columns.IsDefault());
    EXPECT_TRUE(definition.Modified);
}

TEST_F(ReportWizardTest, LayoutInLandscapeAndTemplatesOfBothFolders)
{
    TestFolders::writeFile(QStringLiteral("user/Mine.tpl"), "x");
    TestFolders::writeFile(QStringLiteral("user/zarvo.tpl"), "x");
    TestFolders::writeFile(QStringLiteral("program/Zarvo.tpl"), "x");
    TestFolders::writeFile(QStringLiteral("program/zarvo-nb.tpl"), "x");
    TestFolders::writeFile(QStringLiteral("program/x.tpl/inside.txt"), "x");
    sources.UserTemplates = TestFolders::root() + QStringLiteral("/user/");
    sources.ProgramTemplates = TestFolders::root() + QStringLiteral("/program/");
    EXPECT_EQ(CReportDivers::ListTemplates(sources.UserTemplates, sources.ProgramTemplates),
              (QStringList{QStringLiteral("Mine"), QStringLiteral("zarvo"), QStringLiteral("zarvo-nb")}));

    definition.Portrait = false;
    definition.PaperSize = 9;
    definition.PaperWidth = 2100;
    definition.PaperHeight = 2970;
    auto wizard = open();
    CReportDivers &page = wizard->LayoutPage();
    page.SetPapers(CReportPapers::FallbackPapers());
    wizard->Frame().ShowPage(5);
    settle();
    const QChar sep = page.Edit(CReportDivers::WidthEdit)->DecimalSeparator();
    EXPECT_EQ(page.Edit(CReportDivers::WidthEdit)->text(), ReportCentimetres::Format(2970, sep));
    EXPECT_EQ(page.Edit(CReportDivers::HeightEdit)->text(), ReportCentimetres::Format(2100, sep));
    EXPECT_EQ(page.TemplateBox()->currentText(), QStringLiteral("zarvo"));
    EXPECT_EQ(page.PaperBox()->currentText(), Platform::Texts::get(434));

    // A margin typed as "1,15" is kept as 115, not one tenth less.
    page.Edit(CReportDivers::LeftMargin)->setText(QStringLiteral("1") + sep + QStringLiteral("15"));
    EXPECT_EQ(definition.MargeLeft, 115);
    // Letter, then back to portrait.
    page.PaperBox()->setCurrentIndex(1);
    emit page.PaperBox()->activated(1);
    page.PortraitButton()->click();
    EXPECT_EQ(page.Edit(CReportDivers::WidthEdit)->text(), ReportCentimetres::Format(2159, sep));
    page.LandscapeButton()->click();
    page.PaperBox()->setCurrentIndex(0);
    emit page.PaperBox()->activated(0);
    wizard->Frame().accept();
    EXPECT_EQ(definition.PaperSize, 9);
    EXPECT_EQ(definition.PaperWidth, 2100);
    EXPECT_EQ(definition.PaperHeight, 2970);
    EXPECT_FALSE(definition.Portrait);
}

// A report whose title is automatic and was never made (an empty title, as
// the sample reports keep it): the layout page shows its automatic title
// in the title field, greyed, and on the template's sample page, whether
// the page opens within the settings or on its own, and Terminer keeps the
// title automatic.
TEST_F(ReportWizardTest, TheLayoutPageShowsAnAutomaticTitleNeverMade)
{
    TestFolders::writeFile(QStringLiteral("program/zarvo.tpl"), R"([Zarvo template, Version=1]
[Header]
params=100
text=0;100;0;1;0;1000;0;1;0;0;1;0xFFFFFF;[Title];Arial;30;1;0;0;0;0x000000;0;0
)");
    sources.ProgramTemplates = TestFolders::root() + QStringLiteral("/program/");
    definition.Type = 0;
    definition.Detail = true;
    definition.Periode = 6;
    definition.TitreAuto = true;
    definition.Titre.clear();
    definition.Modele = QStringLiteral("zarvo");
    const QString automatic = QStringLiteral("Détail temps - Semaine en cours");
    ASSERT_EQ(definition.AutomaticTitle(), automatic);
    // The sample page of a report whose title was typed.
    const auto typed = [&](const QString &title) {
        tReportDefinition fixed = definition;
        fixed.TitreAuto = false;
        fixed.Titre = title;
        CPreviewTemplate preview;
        preview.SetTemplateFolders(QString(), sources.ProgramTemplates);
        preview.SetDefinition(&fixed);
        preview.SetMargins(fixed.MargeLeft, fixed.MargeTop, fixed.MargeRight, fixed.MargeBottom);
        preview.LoadTemplate(QStringLiteral("zarvo"));
        return preview.DrawSamplePage();
    };
    const QImage withTitle = typed(automatic);
    ASSERT_FALSE(withTitle == typed(QString())) << "the template shows the title";

    for (bool alone : {false, true}) {
        SCOPED_TRACE(alone ? "the page alone" : "within the settings");
        tReportDefinition copy = definition;
        std::unique_ptr<CReportWizard> wizard;
        std::unique_ptr<CReportDivers> lone;
        CReportDivers *page = nullptr;
        if (alone) {
            lone = std::make_unique<CReportDivers>();
            lone->SetDefinition(&copy);
            lone->SetTemplateFolders(QString(), sources.ProgramTemplates);
            lone->SetPapers(CReportPapers::FallbackPapers());
            ASSERT_TRUE(lone->Create(nullptr));
            lone->show();
            page = lone.get();
        } else {
            wizard = std::make_unique<CReportWizard>(copy, sources, nullptr);
            wizard->LayoutPage().SetPapers(CReportPapers::FallbackPapers());
            wizard->Frame().InitDialog();
            wizard->Frame().show();
            wizard->Frame().ShowPage(ReportWizardPageSet::PageCount - 1);
            page = &wizard->LayoutPage();
        }
        settle();
        EXPECT_EQ(page->TitleBox()->text(), automatic);
        EXPECT_TRUE(page->AutoTitleBox()->isChecked());
        EXPECT_FALSE(page->TitleBox()->isEnabled());
        EXPECT_TRUE(page->PreviewBox()->DrawSamplePage() == withTitle) << "the automatic title on the sample page";
        page->OnOK();
        EXPECT_TRUE(copy.TitreAuto);
        EXPECT_EQ(copy.ShownTitle(), automatic);
    }
}

// Margins typed on the layout page that leave the report no room keep the
// user there, at Terminer and when another page is chosen: the message
// names the margin too large, the settings stay open on the layout page,
// and nothing is written. Made smaller, Terminer takes them.
TEST_F(ReportWizardTest, MarginsThatLeaveNoRoomKeepTheUserOnTheLayoutPage)
{
    auto wizard = open();
    CReportDivers &page = wizard->LayoutPage();
    page.SetPapers(CReportPapers::FallbackPapers());
    CWizardDialog &frame = wizard->Frame();
    const int layout = ReportWizardPageSet::PageCount - 1;
    frame.ShowPage(layout);
    settle();
    const QChar sep = page.Edit(CReportDivers::LeftMargin)->DecimalSeparator();
    const auto type = [&](int control, const QString &centimetres) {
        QString text = centimetres;
        page.Edit(control)->setText(text.replace(u',', sep));
    };
    // A4 portrait, 21 cm across: 19,5 cm of right margin leaves 0,5.
    type(CReportDivers::RightMargin, QStringLiteral("19,50"));
    MessageBoxAnswers boxes;
    boxes.Push(MessageBoxAnswer::Ok);
    frame.accept();
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_TRUE(boxes.AskedBoxes()[0].text.startsWith(QStringLiteral("La marge de droite est trop grande")))
        << qPrintable(boxes.AskedBoxes()[0].text);
    EXPECT_NE(frame.result(), QDialog::Accepted);
    EXPECT_EQ(frame.CurrentPage(), layout);
    settle();
    EXPECT_EQ(page.focusWidget(), page.Edit(CReportDivers::RightMargin));
    EXPECT_EQ(page.Edit(CReportDivers::RightMargin)->selectedText(), page.Edit(CReportDivers::RightMargin)->text());

    // Another page chosen in the tree: the same.
    boxes.Push(MessageBoxAnswer::Ok);
    frame.Tree()->setCurrentItem(frame.Tree()->topLevelItem(0));
    settle();
    EXPECT_EQ(boxes.AskedBoxes().size(), 2u);
    EXPECT_EQ(frame.CurrentPage(), layout);

    type(CReportDivers::RightMargin, QStringLiteral("2,00"));
    frame.accept();
    EXPECT_EQ(boxes.AskedBoxes().size(), 2u);
    EXPECT_EQ(frame.result(), QDialog::Accepted);
    EXPECT_EQ(definition.MargeRight, 200);
}
