// The project editor with stub pages on a database of the test's own: OK
// only with a name, nothing written without a change, the question on
// Cancel, the status a parent imposes, the completion question, a save
// that fails, the working copy that only borrows the store's nodes, the
// editor fitted again to a narrow screen when a date shows more, and where
// it opens.
#include "CComboBoxSuper.h"
#include "CDlgForecast.h"
#include "CFitScrollArea.h"
#include "CForecastPage.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "EditorFixture.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "ScreenFit.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

namespace A = MessageBoxAnswer;

// A page that answers the editor's calls the simple way: the planning
// page plans against an estimate when asked to.
class StubPage : public CForecastPage
{
public:
    explicit StubPage(int tab, QWidget *parent)
        : CForecastPage(parent)
        , m_tab(tab)
    {
    }
    bool PlansAgainstEstimate() const override { return m_tab == CDlgForecast::PlanningTab && s_estimate; }
    QString NotesText() const override { return m_notes; }
    void SetNotesText(const QString &text) override { m_notes = text; }

    static inline bool s_estimate = false;

private:
    int m_tab;
    QString m_notes;
};

class ProjectEditorTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        StubPage::s_estimate = false;
        RecordEditorServices::Registered().forecastPage = [](int tab, QWidget *parent) {
            return new StubPage(tab, parent);
        };
        parent = saveProject(QStringLiteral("Maison"));
        child = saveProject(QStringLiteral("Cuisine"), parent);
        saveProject(QStringLiteral("Évier"), child);
        reload();
    }
    // Writes the status of a project's plan row.
    void setStatus(int project, int status)
    {
        tForecast f = store.GetNode(project)->Forecast();
        f.Status = status;
        CBdD db;
        ASSERT_TRUE(db.SaveProject(nullptr, &f));
        reload();
    }
    // Every stored row of the projects and their plans, with its stamp.
    static QString rows()
    {
        return cell(u"select group_concat(Id || Nom || ifnull(Date_Modif, '')) from Projets") + u'/'
               + cell(u"select count(*) || '.' || ifnull(max(Date_Modif), '') from Forecast");
    }

    int parent = -1, child = -1;
};

} // namespace

TEST_F(ProjectEditorTest, ANewProjectNeedsANameAndIsWrittenBelowItsParent)
{
    DialogAnswers<CDlgForecast> answers;
    answers.Push([](CDlgForecast &d) {
        EXPECT_FALSE(d.OkButton()->isEnabled());
        d.NameEdit()->setText(QString(tElement::MaxNameLength + 50, u'n'));
        EXPECT_EQ(d.NameEdit()->text().size(), tElement::MaxNameLength);
        d.NameEdit()->setText(QStringLiteral("   "));
        EXPECT_FALSE(d.OkButton()->isEnabled());
        d.NameEdit()->setText(QStringLiteral("Salle « d'eau »"));
        EXPECT_TRUE(d.OkButton()->isEnabled());
        d.OnOk();
        return d.result();
    });
    CDlgForecast editor(true, false, store.GetNode(parent), CDlgForecast::GeneralTab);
    EXPECT_EQ(editor.exec(), QDialog::Accepted);
    ASSERT_NE(editor.SavedId(), -1);
    EXPECT_EQ(cell(Platform::Formatter::sprintf(u"select Nom || '|' || Parent from Projets where Id=%d",
                                                {editor.SavedId()})),
              QStringLiteral("Salle « d'eau »|%1").arg(parent));
    // The store's parent is untouched by the working copy's end.
    EXPECT_EQ(store.GetNode(parent)->Children().size(), 2u);
    CTranslationStore translations;
    EXPECT_TRUE(ControlsWithoutText(&editor, translations, CDlgForecast::DialogId).isEmpty());
}

TEST_F(ProjectEditorTest, WithoutAChangeNothingIsWrittenAndCancelAsksUnlessRemembered)
{
    const QString before = rows();
    {
        CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::NotesTab);
        editor.Prepare();
        EXPECT_EQ(editor.Tabs()->currentIndex(), CDlgForecast::NotesTab);
        editor.OnOk();
        EXPECT_EQ(editor.result(), QDialog::Rejected);
        EXPECT_EQ(editor.SavedId(), -1);
    }
    EXPECT_EQ(rows(), before);

    // A change: Cancel asks, No leaves it unwritten; Yes saves it.
    for (const int answer : {int(A::No), int(A::Cancel), int(A::Yes)}) {
        CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::GeneralTab);
        editor.Prepare();
        editor.NameEdit()->setText(QStringLiteral("Cuisine d'été"));
        boxes.Push(answer);
        editor.reject();
        ASSERT_FALSE(boxes.AskedBoxes().empty());
        EXPECT_EQ(boxes.AskedBoxes().back().text, Platform::Texts::get(517));
        EXPECT_EQ(editor.result(), answer == A::Yes ? QDialog::Accepted : QDialog::Rejected);
    }
    EXPECT_EQ(cell(QStringLiteral("select Nom from Projets where Id=%1").arg(child)), u"Cuisine d'été");

    // A remembered No closes with no box and no write.
    Platform::Settings().setInt(u"MsgBox", {}, u"0", A::No);
    const size_t asked = boxes.AskedBoxes().size();
    CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::GeneralTab);
    editor.Prepare();
    editor.NameEdit()->setText(QStringLiteral("Cellier"));
    editor.reject();
    EXPECT_EQ(boxes.AskedBoxes().size(), asked);
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(cell(QStringLiteral("select Nom from Projets where Id=%1").arg(child)), u"Cuisine d'été");
}

TEST_F(ProjectEditorTest, AHiddenParentImposesItsStatus)
{
    setStatus(parent, tForecast::StatusInactive);
    CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::GeneralTab);
    editor.Prepare();
    EXPECT_EQ(editor.StatusList()->currentIndex(), tForecast::StatusInactive);
    EXPECT_EQ(editor.StatusList()->currentText(), Platform::Texts::get(558));
    EXPECT_FALSE(editor.StatusList()->isEnabled());
    EXPECT_FALSE(editor.InheritedPicture()->isHidden());

    // The top project's own status stays its to change.
    CDlgForecast top(false, false, store.GetNode(parent), CDlgForecast::GeneralTab);
    top.Prepare();
    EXPECT_TRUE(top.StatusList()->isEnabled());
    EXPECT_TRUE(top.InheritedPicture()->isHidden());
}

TEST_F(ProjectEditorTest, TheCompletionQuestionFollowsTheWorkDoneAgainstTheEstimate)
{
    struct Case
    {
        qint64 done;
        int status;
        bool asked;
        int answer;
        int stored;
    };
    const Case cases[] = {
        {3600, 1, true, A::Yes, tForecast::StatusCompleted}, // all done, still open
        {3600, 1, true, A::No, 1},
        {0, tForecast::StatusCompleted, true, A::Yes, 3}, // nothing done, marked completed
        {1800, 1, false, 0, 1},                         // half done, open
    };
    StubPage::s_estimate = true;
    int round = 0;
    for (const Case &c : cases) {
        setStatus(child, c.status);
        CProject *node = store.GetNode(child);
        node->Forecast().Total = 3600;
        node->Forecast().TotalTaches = c.done;
        const size_t asked = boxes.AskedBoxes().size();
        if (c.asked)
            boxes.Push(c.answer);
        CDlgForecast editor(false, false, node, CDlgForecast::GeneralTab);
        editor.Prepare();
        // A change, so that OK saves.
        editor.NameEdit()->setText(QStringLiteral("Cuisine %1").arg(++round));
        editor.OnOk();
        EXPECT_EQ(editor.result(), QDialog::Accepted);
        ASSERT_EQ(boxes.AskedBoxes().size(), asked + (c.asked ? 1u : 0u)) << round;
        if (c.asked) {
            EXPECT_TRUE(boxes.AskedBoxes().back().text.contains(
                c.done == 3600 ? QStringLiteral(" 100 %") : QStringLiteral(" 0 %")))
                << boxes.AskedBoxes().back().text.toStdString();
        }
        EXPECT_EQ(count(QStringLiteral("select Status from Forecast where IdProject=%1 and IdActivity=-2").arg(child)),
                  c.stored)
            << round;
        // The question's answers are not remembered between the cases.
        Platform::Settings().remove(u"MsgBox", {}, u"1");
        Platform::Settings().remove(u"MsgBox", {}, u"2");
    }
}

TEST_F(ProjectEditorTest, ASaveThatFailsIsToldAndTheEditorStays)
{
    CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::GeneralTab);
    editor.Prepare();
    editor.NameEdit()->setText(QStringLiteral("Buanderie"));
    {
        HeldFile held(path);
        boxes.Push(A::Ok);
        editor.OnOk();
    }
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(226));
    EXPECT_EQ(editor.result(), 0);
    EXPECT_EQ(editor.SavedId(), -1);
    EXPECT_EQ(cell(QStringLiteral("select Nom from Projets where Id=%1").arg(child)), u"Cuisine");
    // Once the file is free the same OK goes through.
    editor.OnOk();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.SavedId(), child);
}

TEST_F(ProjectEditorTest, TheWorkingCopyOnlyBorrowsTheStoresNodes)
{
    // Closed by OK with a change (the store is then rebuilt under it), by
    // OK without one and by Cancel: the store's nodes stay whole.
    for (int closing = 0; closing < 3; ++closing) {
        {
            CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::GeneralTab);
            editor.Prepare();
            EXPECT_EQ(editor.WorkingCopy().Children().size(), 1u);
            if (closing == 0)
                editor.NameEdit()->setText(QStringLiteral("Cuisine %1").arg(closing));
            if (closing < 2)
                editor.OnOk();
            else
                editor.reject();
        }
        ASSERT_NE(store.GetNode(child), nullptr);
        ASSERT_EQ(store.GetNode(child)->Children().size(), 1u);
        EXPECT_EQ(store.GetNode(child)->GetChild(0)->GetName(), u"Évier");
    }
}

namespace {

// A planning page whose date box, ticked, shows a field wider than the
// screen (its date and what goes with it).
class DatePage : public StubPage
{
public:
    explicit DatePage(QWidget *parent)
        : StubPage(CDlgForecast::PlanningTab, parent)
    {
        box = new QCheckBox(QStringLiteral("Fin souhaitée :"), this);
        date = new QComboBox(this);
        const int room = ScreenFit::RoomFor(nullptr).width();
        date->addItem(QString(room / date->fontMetrics().averageCharWidth() + 20, u'm'));
        date->hide();
        connect(box, &QCheckBox::toggled, date, &QWidget::setVisible);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(box);
        layout->addWidget(date);
        layout->addStretch(1);
    }
    QCheckBox *box = nullptr;
    QComboBox *date = nullptr;
};

} // namespace

// On a screen narrower than the field a date ticked shows, the editor's
// own tabs tell it, and it fits its screen again: no wider than its room,
// the field given up width within the tab, nothing scrolled across.
TEST_F(ProjectEditorTest, ADateTickedOnANarrowScreenFitsTheEditorAgain)
{
    RecordEditorServices::Registered().forecastPage = [](int tab, QWidget *parent) -> CForecastPage * {
        if (tab == CDlgForecast::PlanningTab)
            return new DatePage(parent);
        return new StubPage(tab, parent);
    };
    CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::PlanningTab);
    DialogAnswers<CDlgForecast> answers;
    answers.Push([](CDlgForecast &shown) {
        shown.show();
        QApplication::processEvents();
        auto *page = static_cast<DatePage *>(shown.Page(CDlgForecast::PlanningTab));
        auto *area = shown.findChild<CFitScrollArea *>();
        EXPECT_TRUE(area);
        if (!area)
            return int(QDialog::Rejected);
        const QSize room = ScreenFit::RoomFor(&shown);
        EXPECT_LE(shown.width(), room.width());
        EXPECT_GT(page->date->sizeHint().width(), room.width());

        QSignalSpy told(area, &CFitScrollArea::contentsMinimumChanged);
        QTest::mouseClick(page->box, Qt::LeftButton, {}, QPoint(4, page->box->height() / 2));
        EXPECT_TRUE(page->date->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }));
        QApplication::processEvents();
        EXPECT_LE(shown.width(), room.width());
        EXPECT_LT(page->date->width(), page->date->sizeHint().width());
        const int right = page->date->mapTo(area->viewport(), QPoint(page->date->width(), 0)).x();
        EXPECT_LE(right, area->viewport()->width());
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
        return int(QDialog::Rejected);
    });
    editor.exec();
    EXPECT_EQ(answers.Asked(), 1);
}

// Never placed before, the editor opens centred over the window it belongs
// to, wherever that window stands, not where it was made.
TEST_F(ProjectEditorTest, TheEditorOpensOverItsOwner)
{
    const QRect screen = ScreenFit::AvailableFor(nullptr);
    for (const QRect &place : {screen.adjusted(screen.width() / 10, screen.height() / 12, -10, -10),
                               screen.adjusted(10, 10, -screen.width() / 8, -screen.height() / 10)}) {
        SCOPED_TRACE(place.x());
        QWidget owner;
        owner.setGeometry(place);
        owner.show();
        QApplication::processEvents();
        CDlgForecast editor(false, false, store.GetNode(child), CDlgForecast::GeneralTab, &owner);
        DialogAnswers<CDlgForecast> answers;
        answers.Push([&](CDlgForecast &shown) {
            shown.show();
            QApplication::processEvents();
            EXPECT_EQ(shown.geometry(), ScreenFit::Over(shown.size(), owner.geometry(),
                                                        ScreenFit::AvailableFor(&shown), ScreenFit::FrameOf(&shown)));
            EXPECT_TRUE(ScreenFit::Fits(shown.geometry(), ScreenFit::AvailableFor(&shown), ScreenFit::FrameOf(&shown)));
            return int(QDialog::Rejected);
        });
        editor.exec();
        EXPECT_EQ(answers.Asked(), 1);
    }
}
