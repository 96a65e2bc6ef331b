#include "CFitScrollArea.h"
#include "CPrefsDialog.h"
#include "CPrefsStatic.h"
#include "CPrefsSubDlg.h"

#include "PixelColours.h"
#include "ScreenFit.h"
#include "QStringPrinter.h"
#include "Texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A page that writes every step the frame asks of it into a shared log,
// with a one-line and a multi-line field, and answers as told.
class RecordingPage : public CPrefsSubDlg
{
public:
    RecordingPage(const std::string &name, Log &log)
        : CPrefsSubDlg(100)
        , m_name(name)
        , m_log(log)
    {
    }

    bool validates = true;
    bool prepares = true;
    QLineEdit *line = nullptr;
    QPlainTextEdit *text = nullptr;
    int translations = 0;

    bool ValidatePage() override { return step("validate", validates); }
    bool PrepareApply() override { return step("prepare", prepares); }
    void AbandonApply() override { step("abandon", true); }
    void OnOK() override { step("ok", true); }
    void CompleteApply() override { step("complete", true); }
    void OnCancel() override { step("cancel", true); }
    void TranslatePage() override
    {
        if (!IsCreated())
            return;
        ++translations;
    }

protected:
    void OnInitDialog() override
    {
        step("init", true);
        auto *layout = new QVBoxLayout(this);
        line = new QLineEdit(this);
        text = new QPlainTextEdit(this);
        layout->addWidget(line);
        layout->addWidget(text);
    }

private:
    bool step(const char *what, bool answer)
    {
        m_log.push_back(m_name + ":" + what);
        return answer;
    }

    std::string m_name;
    Log &m_log;
};

class PrefsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"a", "b", "c"})
            pages.push_back(std::make_unique<RecordingPage>(name, log));
        for (size_t i = 0; i < pages.size(); ++i)
            ASSERT_TRUE(frame.AddPage(pages[i].get(), 0, QStringLiteral("Page %1").arg(i)));
    }

    void open(int start = -1)
    {
        if (start >= 0)
            frame.SetStartPage(pages[size_t(start)].get());
        frame.show();
        QApplication::setActiveWindow(&frame);
        log.clear();
    }

    // Shows the frame again on page `index` (the pages shown stay built).
    void reopen(int index)
    {
        frame.ShowPage(index);
        frame.show();
        QApplication::setActiveWindow(&frame);
        log.clear();
    }

    void clickOk() { QTest::mouseClick(frame.OkButton(), Qt::LeftButton); }

    Log log;
    std::vector<std::unique_ptr<RecordingPage>> pages;
    CPrefsDialog frame;
};

} // namespace

TEST_F(PrefsDialogTest, OkRightAfterOpeningAppliesOnlyTheStartPage)
{
    open(1);
    EXPECT_EQ(frame.CurrentPage(), 1);
    EXPECT_FALSE(pages[0]->IsCreated());
    EXPECT_TRUE(pages[1]->IsCreated());
    clickOk();
    EXPECT_EQ(log, (Log{"b:validate", "b:prepare", "b:ok", "b:complete"}));
    EXPECT_EQ(frame.result(), QDialog::Accepted);
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(PrefsDialogTest, EveryBuiltPageValidatesThenPreparesThenAppliesInListOrder)
{
    open();
    frame.ShowPage(2);
    frame.ShowPage(1);
    log.clear();
    clickOk();
    EXPECT_EQ(log, (Log{"a:validate", "b:validate", "c:validate", "a:prepare", "b:prepare", "c:prepare", "a:ok",
                        "b:ok", "c:ok", "a:complete", "b:complete", "c:complete"}));
    EXPECT_EQ(frame.result(), QDialog::Accepted);
}

TEST_F(PrefsDialogTest, ARefusalKeepsTheFrameOpenOnThatPageAndAppliesNothing)
{
    open();
    frame.ShowPage(1);
    frame.ShowPage(2);
    // Validation refused by the middle page: the pages after it are not
    // even asked, none applies.
    pages[1]->validates = false;
    log.clear();
    clickOk();
    EXPECT_EQ(log, (Log{"a:validate", "b:validate"}));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.CurrentPage(), 1);
    EXPECT_EQ(frame.Tree()->currentItem()->text(0), QStringLiteral("Page 1"));

    // A preparation that fails undoes what the pages before it prepared,
    // newest first, and shows the failing page.
    pages[1]->validates = true;
    pages[2]->prepares = false;
    frame.ShowPage(0);
    log.clear();
    clickOk();
    EXPECT_EQ(log, (Log{"a:validate", "b:validate", "c:validate", "a:prepare", "b:prepare", "c:prepare",
                        "b:abandon", "a:abandon"}));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.CurrentPage(), 2);
}

// Annuler, Escape from any field of a page or from the tree, and closing
// the window tell the built pages only and end the frame with 2.
TEST_F(PrefsDialogTest, CancelEscapeAndClosingTellTheBuiltPagesOnly)
{
    struct Case
    {
        const char *name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Annuler", [this] { QTest::mouseClick(frame.CancelButton(), Qt::LeftButton); }},
        {"Escape in a one-line field", [this] { QTest::keyClick(pages[2]->line, Qt::Key_Escape); }},
        {"Escape in a multi-line field", [this] { QTest::keyClick(pages[2]->text, Qt::Key_Escape); }},
        {"Escape in the tree", [this] { QTest::keyClick(frame.Tree(), Qt::Key_Escape); }},
        {"closing the window", [this] { EXPECT_TRUE(frame.close()); }},
    };
    bool first = true;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (first)
            open(2);
        else
            reopen(2);
        first = false;
        c.act();
        EXPECT_FALSE(frame.isVisible());
        EXPECT_EQ(log, (Log{"c:cancel"}));
        EXPECT_EQ(frame.result(), QDialog::Rejected);
    }
}

TEST_F(PrefsDialogTest, EnterGoesByTheField)
{
    open();
    RecordingPage &page = *pages[0];

    // Enter in a multi-line field is a line break.
    page.text->setFocus();
    QTest::keyClicks(page.text, QStringLiteral("un"));
    QTest::keyClick(page.text, Qt::Key_Return);
    QTest::keyClicks(page.text, QStringLiteral("deux"));
    EXPECT_EQ(page.text->toPlainText(), QStringLiteral("un\ndeux"));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(log.empty());

    // Enter in a one-line field presses OK.
    page.line->setFocus();
    QTest::keyClick(page.line, Qt::Key_Return);
    EXPECT_EQ(log, (Log{"a:validate", "a:prepare", "a:ok", "a:complete"}));
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(PrefsDialogTest, TheArrowKeysWalkThePagesFromTheTree)
{
    open();
    // Shown first, the page has the focus; from the tree, the tree keeps it.
    EXPECT_TRUE(pages[0]->line->hasFocus());
    frame.Tree()->setFocus();
    QTest::keyClick(frame.Tree(), Qt::Key_Down);
    EXPECT_EQ(frame.CurrentPage(), 1);
    EXPECT_TRUE(frame.Tree()->hasFocus());
    QTest::keyClick(frame.Tree(), Qt::Key_Down);
    EXPECT_EQ(frame.CurrentPage(), 2);
    QTest::keyClick(frame.Tree(), Qt::Key_Up);
    EXPECT_EQ(frame.CurrentPage(), 1);
    EXPECT_TRUE(frame.Tree()->hasFocus());
}

TEST_F(PrefsDialogTest, TabGoesFromTheTreeThroughThePageToTheButtons)
{
    open();
    frame.ShowPage(2); // made after the buttons
    pages[2]->text->setTabChangesFocus(true);
    frame.Tree()->setFocus();
    QTest::keyClick(frame.Tree(), Qt::Key_Tab);
    EXPECT_TRUE(pages[2]->line->hasFocus());
    QTest::keyClick(pages[2]->line, Qt::Key_Tab);
    EXPECT_TRUE(pages[2]->text->hasFocus());
    QTest::keyClick(pages[2]->text, Qt::Key_Tab);
    EXPECT_TRUE(frame.OkButton()->hasFocus());

    // Back on a page made before: Tab still runs through that page.
    frame.ShowPage(0);
    pages[0]->text->setTabChangesFocus(true);
    frame.Tree()->setFocus();
    QTest::keyClick(frame.Tree(), Qt::Key_Tab);
    EXPECT_TRUE(pages[0]->line->hasFocus());
    QTest::keyClick(pages[0]->line, Qt::Key_Tab);
    EXPECT_TRUE(pages[0]->text->hasFocus());
    QTest::keyClick(pages[0]->text, Qt::Key_Tab);
    EXPECT_TRUE(frame.OkButton()->hasFocus());
    QTest::keyClick(frame.OkButton(), Qt::Key_Tab);
    EXPECT_TRUE(frame.CancelButton()->hasFocus());
}

TEST_F(PrefsDialogTest, PagesComeByTheTreeAndBadRequestsChangeNothing)
{
    open();
    EXPECT_EQ(log, Log{});
    QTreeWidget *tree = frame.Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);

    // Choosing an item builds and shows its page.
    tree->setCurrentItem(tree->topLevelItem(2));
    EXPECT_EQ(frame.CurrentPage(), 2);
    EXPECT_TRUE(pages[2]->IsCreated());
    EXPECT_TRUE(pages[2]->isVisible());
    EXPECT_FALSE(pages[0]->isVisible());
    EXPECT_EQ(log, Log{"c:init"});

    // Outside the list: refused, the page shown stays.
    EXPECT_FALSE(frame.ShowPage(-1));
    EXPECT_FALSE(frame.ShowPage(3));
    EXPECT_EQ(frame.CurrentPage(), 2);
    EXPECT_TRUE(pages[2]->isVisible());

    // Once shown, the frame takes no more pages.
    RecordingPage late("d", log);
    EXPECT_FALSE(frame.AddPage(&late, 0, QStringLiteral("Page 3")));
    EXPECT_EQ(frame.PageCount(), 3);
}

TEST_F(PrefsDialogTest, LeavingAPageAsksItFirstWhenTheFrameSaysSo)
{
    frame.SetValidateOnChange(true);
    open();
    pages[0]->validates = false;
    QTreeWidget *tree = frame.Tree();
    tree->setCurrentItem(tree->topLevelItem(1));
    EXPECT_EQ(log, Log{"a:validate"});
    EXPECT_EQ(frame.CurrentPage(), 0);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_FALSE(pages[1]->IsCreated());

    pages[0]->validates = true;
    tree->setCurrentItem(tree->topLevelItem(1));
    EXPECT_EQ(frame.CurrentPage(), 1);
}

TEST_F(PrefsDialogTest, RetranslationRenewsEveryCaptionAndOnlyBuiltPages)
{
    // Captions by number: pages 0 and 2 have text numbers, page 1 none.
    std::vector<std::pair<QWidget *, int>> translated;
    CPrefsDialog::SetTranslator([&](QWidget *window, int dialogId) {
        translated.emplace_back(window, dialogId);
        window->setWindowTitle(QStringLiteral("Titre %1").arg(translated.size()));
    });
    Log otherLog;
    auto numbered = std::make_unique<RecordingPage>("n", otherLog);
    CPrefsDialog second;
    ASSERT_TRUE(second.AddPage(numbered.get(), 9001, QStringLiteral("avant")));
    ASSERT_TRUE(second.AddPage(pages[0].get(), 0, QStringLiteral("fixe")));
    ASSERT_TRUE(second.AddPage(pages[1].get(), 9002, QStringLiteral("avant aussi")));
    second.SetTitle(QStringLiteral("Options"));
    second.show();
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Options"));
    ASSERT_EQ(translated.size(), 1u);
    EXPECT_EQ(translated[0].first, &second);
    EXPECT_EQ(translated[0].second, CPrefsDialog::DefaultDialogId);

    second.Retranslate();
    QTreeWidget *tree = second.Tree();
    EXPECT_EQ(tree->topLevelItem(0)->text(0), Platform::Texts::get(9001));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("fixe"));
    EXPECT_EQ(tree->topLevelItem(2)->text(0), Platform::Texts::get(9002));
    EXPECT_EQ(second.CaptionBand()->Text(), Platform::Texts::get(9001));
    EXPECT_EQ(numbered->translations, 1);
    EXPECT_FALSE(pages[0]->IsCreated());
    EXPECT_FALSE(pages[1]->IsCreated());
    EXPECT_EQ(pages[1]->translations, 0);
    // The frame's own texts come again from its dialog's rows.
    ASSERT_EQ(translated.size(), 2u);
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Titre 2"));
    CPrefsDialog::SetTranslator({});
}

TEST_F(PrefsDialogTest, TheFrameLetsGoOfItsPagesWhicheverGoesFirst)
{
    // A frame destroyed before its pages leaves them whole.
    Log own;
    auto page = std::make_unique<RecordingPage>("x", own);
    {
        CPrefsDialog shortLived;
        shortLived.AddPage(page.get(), 0, QStringLiteral("x"));
        shortLived.show();
        EXPECT_EQ(page->parentWidget() != nullptr, true);
    }
    EXPECT_EQ(page->parentWidget(), nullptr);
    EXPECT_TRUE(page->IsCreated());

    // A page destroyed before its frame is forgotten by it.
    open();
    frame.ShowPage(1);
    pages[1].reset();
    log.clear();
    EXPECT_EQ(frame.Page(1), nullptr);
    clickOk();
    EXPECT_EQ(log, (Log{"a:validate", "a:prepare", "a:ok", "a:complete"}));
}

namespace {

// A page whose box, ticked, shows a list to choose from wider than the
// screen, as a date ticked shows its fields; the list is there from the
// start where `shownFirst` is set. With `text`, a line of text wider than
// the screen stands above them, which cannot give up width.
class GrowingPage : public CPrefsSubDlg
{
public:
    explicit GrowingPage(bool shownFirst, bool text = false)
        : CPrefsSubDlg(101)
        , m_shownFirst(shownFirst)
        , m_text(text)
    {
    }
    QCheckBox *box = nullptr;
    QComboBox *wide = nullptr;
    QLabel *line = nullptr;

protected:
    void OnInitDialog() override
    {
        box = new QCheckBox(QStringLiteral("Fin souhaitée :"), this);
        wide = new QComboBox(this);
        const int room = ScreenFit::RoomFor(window()).width();
        wide->addItems({QStringLiteral("court"), QString(room / wide->fontMetrics().averageCharWidth() + 20, u'm')});
        wide->setVisible(m_shownFirst);
        connect(box, &QCheckBox::toggled, wide, &QWidget::setVisible);
        auto *layout = new QVBoxLayout(this);
        if (m_text) {
            line = new QLabel(QString(room / fontMetrics().averageCharWidth() + 20, u'n'), this);
            layout->addWidget(line);
        }
        layout->addWidget(box);
        layout->addWidget(wide);
        layout->addStretch(1);
    }

private:
    bool m_shownFirst;
    bool m_text;
};

// How far right the page's children reach within the page area's view.
int reach(const CPrefsDialog &frame, const QWidget *page)
{
    int right = 0;
    for (const QWidget *child : page->findChildren<QWidget *>()) {
        if (child->isVisible() && !child->isWindow())
            right = std::max(right, child->mapTo(frame.PageScroller()->viewport(), QPoint(child->width(), 0)).x());
    }
    return right;
}

} // namespace

// The frame on a screen narrower than a field its page shows once open:
// the frame's own page area tells the frame, which fits its screen again
// (the list gives up width), and the page never scrolls across.
TEST(PrefsDialogFitTest, AFieldShownLaterFitsTheFrameToItsScreenAgain)
{
    GrowingPage page(false);
    CPrefsDialog frame;
    frame.AddPage(&page, 0, QStringLiteral("Suivi de projets"));
    frame.show();
    QApplication::processEvents();
    const QSize room = ScreenFit::RoomFor(&frame);
    ASSERT_LE(frame.width(), room.width());
    ASSERT_GT(page.wide->sizeHint().width(), room.width());

    QSignalSpy told(frame.PageScroller(), &CFitScrollArea::contentsMinimumChanged);
    QTest::mouseClick(page.box, Qt::LeftButton, {}, QPoint(4, page.box->height() / 2));
    ASSERT_TRUE(page.wide->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }));
    QApplication::processEvents();
    EXPECT_LE(frame.width(), room.width());
    EXPECT_TRUE(ScreenFit::Fits(frame.geometry(), ScreenFit::AvailableFor(&frame), ScreenFit::FrameOf(&frame)));
    EXPECT_LT(page.wide->width(), page.wide->sizeHint().width());
    EXPECT_LE(reach(frame, &page), frame.PageScroller()->viewport()->width());
    EXPECT_FALSE(frame.PageScroller()->horizontalScrollBar()->isVisible());
}

// A page that holds children wider than the screen from the start: the
// page area lays the page out within its width and never scrolls across;
// where the wide child is a list, which gives up width, the frame opens
// within its room and the list within the page's width.
TEST(PrefsDialogFitTest, APageWiderThanTheScreenNeverScrollsAcross)
{
    for (const bool text : {false, true}) {
        SCOPED_TRACE(text ? "a list and a text" : "a list");
        GrowingPage page(true, text);
        CPrefsDialog frame;
        frame.AddPage(&page, 0, QStringLiteral("Suivi de projets"));
        frame.show();
        QApplication::processEvents();
        const QSize room = ScreenFit::RoomFor(&frame);
        ASSERT_GT(page.wide->sizeHint().width(), room.width());
        if (text) {
            ASSERT_GT(page.line->minimumSizeHint().width(), room.width());
        }
        EXPECT_FALSE(frame.PageScroller()->horizontalScrollBar()->isVisible());
        EXPECT_EQ(frame.PageScroller()->widget()->width(), frame.PageScroller()->viewport()->width());
        if (!text) {
            EXPECT_LE(frame.width(), room.width());
            EXPECT_LE(reach(frame, &page), frame.PageScroller()->viewport()->width());
        }
    }
}

// Shown for the first time, the frame opens centred over the window it
// belongs to, wherever that window stands; shown again, it stays where it
// was.
TEST(PrefsDialogFitTest, TheFrameOpensOverItsOwner)
{
    const QRect screen = ScreenFit::AvailableFor(nullptr);
    for (const QRect &place : {QRect(screen.left() + 300, screen.top() + 150, 480, 400),
                               QRect(screen.left() + 30, screen.top() + 40, 500, 420)}) {
        SCOPED_TRACE(place.x());
        QWidget owner;
        owner.setGeometry(place);
        owner.show();
        QApplication::processEvents();
        Log log;
        RecordingPage page("a", log);
        CPrefsDialog frame(&owner);
        frame.AddPage(&page, 0, QStringLiteral("Affichage"));
        frame.show();
        QApplication::processEvents();
        EXPECT_EQ(frame.geometry(), ScreenFit::Over(frame.size(), owner.geometry(), ScreenFit::AvailableFor(&frame),
                                                     ScreenFit::FrameOf(&frame)));
        const QPoint off = frame.geometry().center() - owner.geometry().center();
        EXPECT_LE(std::abs(off.x()), 1);
        EXPECT_LE(std::abs(off.y()), 1);

        frame.hide();
        owner.move(owner.pos() + QPoint(40, 30));
        const QRect before = frame.geometry();
        frame.show();
        QApplication::processEvents();
        EXPECT_EQ(frame.geometry(), before);
    }
}

TEST(PrefsStaticTest, TheBandDarkensFromTheFaceAtTheRightToBlackAtTheLeft)
{
    // Band k of a component c: c - (k*b)^2 * c / w^2.
    struct Case
    {
        int component, k, band, width, expected;
    };
    const Case cases[] = {
        {240, 1, 2, 256, 240},  // 240 - 4*240/65536, whole numbers
        {240, 64, 2, 256, 180}, // half way: three quarters
        {240, 128, 2, 256, 0},  // the far left
        {200, 10, 1, 100, 198},
        {200, 0, 1, 0, 200}, // no width: the face colour as it is
    };
    for (const Case &c : cases)
        EXPECT_EQ(CPrefsStatic::BandComponent(c.component, c.k, c.band, c.width), c.expected) << c.k;

    const QColor face(240, 240, 240);
    const QImage image = CPrefsStatic::MakeBackground(QSize(300, 20), face, QString(), QFont(), Qt::white,
                                                      Qt::gray);
    EXPECT_EQ(QColor(image.pixel(0, 10)), QColor(Qt::black));
    EXPECT_TRUE(Near(image.pixel(299, 10), face.rgb(), 4));
    int previous = 0;
    for (int x = 0; x < 300; ++x) {
        const int red = qRed(image.pixel(x, 10));
        EXPECT_GE(red, previous) << x;
        previous = red;
    }
}

TEST(PrefsStaticTest, TheBackgroundFollowsTheSizeAndTheCaptionIsDrawnOnIt)
{
    CPrefsStatic band;
    band.resize(300, 24);
    band.SetConstantText(QStringLiteral("Zarvo"));
    QImage shot = band.grab().toImage();
    EXPECT_EQ(band.Background().size(), QSize(300, 24) * band.devicePixelRatioF());
    // The embossed name sits at the right, where the band is light.
    const QImage plain = CPrefsStatic::MakeBackground(QSize(300, 24), band.palette().color(QPalette::Button),
                                                      QString(), QFont(), Qt::white, Qt::gray);
    int differing = 0;
    for (int x = 200; x < 300; ++x)
        for (int y = 0; y < 24; ++y)
            differing += shot.pixel(x, y) != plain.pixel(x, y);
    EXPECT_GT(differing, 20);

    band.resize(500, 24);
    band.grab();
    EXPECT_EQ(band.Background().width(), int(500 * band.devicePixelRatioF()));

    // The caption is written at the left, over the dark end.
    band.SetText(QStringLiteral("Affichage"));
    band.SetTextColor(0xFFFFFF);
    shot = band.grab().toImage();
    int light = 0;
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 24; ++y)
            light += qRed(shot.pixel(x, y)) > 200;
    EXPECT_GT(light, 10);
}
