// The overlap question: its fields, its arrows, its two choices and their
// diagrams.
#include "CDlgInsertion.h"
#include "CMyStatic.h"
#include "CTranslationStore.h"
#include "CViewAnimInsert.h"
#include "DialogAnswers.h"
#include "EntryDialogFixture.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

class CDlgInsertionTest : public EntryDialogFixture
{
protected:
    const QDate Wednesday = Monday.addDays(2);

    // A running entry being stored at 10:00 over a finished one and a
    // running one, each with its project.
    std::vector<tTacheFull> threeEntries()
    {
        const int first = saveProject(QStringLiteral("Premier"), 0x4080FF);
        const int second = saveProject(QStringLiteral("Second"), 0x40FF80);
        const int meeting = saveActivity(QStringLiteral("Réunion"), 0x80FF80);
        std::vector<tTacheFull> entries{entryAt(at(Wednesday, 10, 0), 0, first, meeting),
                                        entryAt(at(Wednesday, 9, 0), at(Wednesday, 11, 0), second),
                                        entryAt(at(Wednesday, 10, 30), 0, -1, meeting)};
        entries[1].Id = 7;
        entries[2].Id = 8;
        return entries;
    }
    static QString field(const CDlgInsertion &dialog, int id) { return control<QLineEdit>(dialog, id)->text(); }
};

} // namespace

TEST_F(CDlgInsertionTest, TheArrowsStepThroughTheEntriesAndWrapBothWays)
{
    CDlgInsertion dialog(false);
    dialog.SetEntries(threeEntries());
    const struct
    {
        int arrow; // 0: none, else the button
        QString counter;
        QString project;
        QString activity;
        QString end;
    } steps[] = {
        {0, QStringLiteral("1 / 3"), QStringLiteral("Premier"), QStringLiteral("Réunion"), QStringLiteral("En cours…")},
        {CDlgInsertion::IdNext, QStringLiteral("2 / 3"), QStringLiteral("Second"), QString(),
         config.FormatDate(at(Wednesday, 11, 0), false, true)},
        {CDlgInsertion::IdNext, QStringLiteral("3 / 3"), QString(), QStringLiteral("Réunion"), QStringLiteral("En cours…")},
        {CDlgInsertion::IdNext, QStringLiteral("1 / 3"), QStringLiteral("Premier"), QStringLiteral("Réunion"), QStringLiteral("En cours…")},
        {CDlgInsertion::IdPrevious, QStringLiteral("3 / 3"), QString(), QStringLiteral("Réunion"), QStringLiteral("En cours…")},
        {CDlgInsertion::IdPrevious, QStringLiteral("2 / 3"), QStringLiteral("Second"), QString(),
         config.FormatDate(at(Wednesday, 11, 0), false, true)},
    };
    for (const auto &s : steps) {
        if (s.arrow)
            click(dialog, s.arrow);
        EXPECT_EQ(field(dialog, CDlgInsertion::IdCounter), s.counter);
        EXPECT_EQ(field(dialog, CDlgInsertion::IdProjectName), s.project) << s.counter.toStdString();
        EXPECT_EQ(field(dialog, CDlgInsertion::IdActivityName), s.activity) << s.counter.toStdString();
        EXPECT_EQ(field(dialog, CDlgInsertion::IdEnd), s.end) << s.counter.toStdString();
        // Both diagrams highlight the entry shown.
        EXPECT_EQ(dialog.ChoiceButton(0)->Highlighted(), dialog.Current());
        EXPECT_EQ(dialog.ChoiceButton(1)->Highlighted(), dialog.Current());
    }
    EXPECT_EQ(field(dialog, CDlgInsertion::IdStart), config.FormatDate(at(Wednesday, 9, 0), false, true));
    // Outside the list the fields are empty.
    dialog.ShowEntry(5);
    for (int id : {CDlgInsertion::IdCounter, CDlgInsertion::IdProjectName, CDlgInsertion::IdStart, CDlgInsertion::IdEnd})
        EXPECT_TRUE(field(dialog, id).isEmpty()) << id;
}

TEST_F(CDlgInsertionTest, WithoutFreeTimeTheSecondChoiceIsRefused)
{
    // 10:00-11:00 lies wholly inside 09:00-12:00.
    CDlgInsertion dialog(false);
    dialog.SetEntries({entryAt(at(Wednesday, 10, 0), at(Wednesday, 11, 0)),
                       entryAt(at(Wednesday, 9, 0), at(Wednesday, 12, 0))});
    dialog.show();
    CViewAnimInsert *fit = dialog.ChoiceButton(CDlgInsertion::FitIntoFreeTime);
    CViewAnimInsert *giveWay = dialog.ChoiceButton(CDlgInsertion::OthersGiveWay);
    EXPECT_FALSE(fit->IsAvailable());
    EXPECT_TRUE(giveWay->IsAvailable());
    EXPECT_EQ(fit->focusPolicy(), Qt::NoFocus);

    // No hover frame, no click, no key.
    QTest::mouseMove(fit);
    QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), QPointF(20, 20));
    QCoreApplication::sendEvent(fit, &enter);
    EXPECT_FALSE(fit->IsHovered());
    QTest::mouseClick(fit, Qt::LeftButton);
    QTest::keyClick(fit, Qt::Key_Space);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // Its icon is the refused one: the two buttons differ there although
    // neither is hovered.
    const QImage refused = fit->grab().toImage().copy(5, 5, 20, 20);
    const QImage offered = giveWay->grab().toImage().copy(5, 5, 20, 20);
    EXPECT_NE(refused, offered);

    QCoreApplication::sendEvent(giveWay, &enter);
    EXPECT_TRUE(giveWay->IsHovered());
    giveWay->setFocus();
    QTest::keyClick(giveWay, Qt::Key_Space);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Method(), CDlgInsertion::OthersGiveWay);
}

TEST_F(CDlgInsertionTest, ChoicesCancelAndTheApplyBox)
{
    const std::vector<tTacheFull> entries{entryAt(at(Wednesday, 10, 0), at(Wednesday, 12, 0)),
                                          entryAt(at(Wednesday, 9, 0), at(Wednesday, 10, 30))};
    {
        CDlgInsertion dialog(false);
        dialog.SetEntries(entries);
        EXPECT_FALSE(shown(dialog, CDlgInsertion::IdApplyToNext));
        QTest::mouseClick(dialog.ChoiceButton(CDlgInsertion::FitIntoFreeTime), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Method(), CDlgInsertion::FitIntoFreeTime);
    }
    {
        CDlgInsertion dialog(true);
        dialog.SetEntries(entries);
        dialog.show();
        EXPECT_TRUE(shown(dialog, CDlgInsertion::IdApplyToNext));
        click(dialog, CDlgInsertion::IdApplyToNext);
        EXPECT_TRUE(dialog.ApplyToNext());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    // Ask gives the method, or -1 for Cancel.
    DialogAnswers<CDlgInsertion> answers;
    answers.Push([](CDlgInsertion &d) {
        QTest::mouseClick(d.ChoiceButton(CDlgInsertion::OthersGiveWay), Qt::LeftButton);
        return d.result();
    });
    answers.Push([](CDlgInsertion &d) {
        click(d, CDlgInsertion::IdCancel);
        return d.result();
    });
    EXPECT_EQ(CDlgInsertion::Ask(entries, nullptr), CDlgInsertion::OthersGiveWay);
    EXPECT_EQ(CDlgInsertion::Ask(entries, nullptr), -1);
}

TEST_F(CDlgInsertionTest, NamesComeFromTheDatabaseItIsGiven)
{
    const int here = saveProject(QStringLiteral("Ici"), 0x4080FF);
    // Another database, only read: its project of the same id has another name.
    const QString other = TestFolders::tempDb(QStringLiteral("Appareil.sdb"));
    {
        CBdD db(other);
        ASSERT_TRUE(db.IsOpen());
        tElement e;
        e.Nom = QStringLiteral("Là-bas");
        ASSERT_TRUE(db.SaveProject(&e, nullptr));
        ASSERT_EQ(e.Id, here);
    }
    const QByteArray before = TestFolders::readFile(other);
    CDlgInsertion dialog(true);
    dialog.SetEntries({entryAt(at(Wednesday, 10, 0), at(Wednesday, 12, 0), here),
                       entryAt(at(Wednesday, 9, 0), at(Wednesday, 10, 30))});
    EXPECT_EQ(field(dialog, CDlgInsertion::IdProjectName), QStringLiteral("Ici"));
    dialog.SetDatabasePath(other);
    EXPECT_EQ(field(dialog, CDlgInsertion::IdProjectName), QStringLiteral("Là-bas"));
    EXPECT_EQ(TestFolders::readFile(other), before);
}

TEST_F(CDlgInsertionTest, DiagramsPlayRepeatAndPaintARunningEntryBesideAnEarlierOne)
{
    // A new running entry beside one running since earlier: the span up to
    // that one's start lies before the new start.
    CDlgInsertion dialog(false);
    dialog.SetEntries({entryAt(at(Wednesday, 10, 0), 0), entryAt(at(Wednesday, 9, 0), 0)});
    dialog.resize(480, 560);
    dialog.show();
    CViewAnimInsert *giveWay = dialog.ChoiceButton(CDlgInsertion::OthersGiveWay);
    const InsertDiagram::tLayout &layout = giveWay->Layout();
    EXPECT_EQ(layout.shownEnd - layout.shownStart, 5400);
    EXPECT_FALSE(dialog.ChoiceButton(CDlgInsertion::FitIntoFreeTime)->IsAvailable());

    // Every tick of a whole round paints; the movement ends, pauses and
    // starts again from the first tick.
    bool restarted = false;
    int previous = 0;
    for (int i = 0; i < 2000 && !restarted; ++i) {
        dialog.AdvanceAnimation();
        restarted = giveWay->Tick() < previous;
        previous = giveWay->Tick();
        if (i % 50 == 0)
            giveWay->grab();
    }
    EXPECT_TRUE(restarted);

    // The new entry's bar (highlighted) in the first row, the other in the
    // third, white inside its outline.
    const QImage picture = giveWay->grab().toImage();
    const QRect fresh = layout.bars[0].intersected(layout.area);
    const QRect other = layout.bars[1].intersected(layout.area);
    EXPECT_EQ(pixel(picture, fresh.center().x(), fresh.center().y()), 0x45C7F0u);
    EXPECT_EQ(pixel(picture, other.center().x(), other.center().y()), 0xFFFFFFu);
    EXPECT_EQ(pixel(picture, other.left() + 3, other.top() + 1), 0x000000u) << "outlined";
}

TEST_F(CDlgInsertionTest, EveryControlHasItsText)
{
    CTranslationStore store;
    CDlgInsertion dialog(true);
    EXPECT_EQ(ControlsWithoutText(&dialog, store, CDlgInsertion::DialogId), QList<int>());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insertion"));
    EXPECT_EQ(dialog.ChoiceButton(0)->text(), Platform::Texts::get(378));
    EXPECT_EQ(dialog.ChoiceButton(1)->text(), Platform::Texts::get(379));
    EXPECT_EQ(control<CMyStatic>(dialog, CDlgInsertion::IdHeading)->Text(),
              QStringLiteral("Cette tâche se superpose avec les tâches existantes."));
}

TEST_F(CDlgInsertionTest, TheFirstChoiceSaysHowManyEntriesItDeletesAndShortens)
{
    const auto finished = [this](int h1, int m1, int h2, int m2) {
        return entryAt(at(Wednesday, h1, m1), at(Wednesday, h2, m2));
    };
    std::vector<tTacheFull> laterDays;
    laterDays.push_back(entryAt(at(Wednesday, 9, 0), 0));
    for (int day = 1; day <= 5; ++day)
        laterDays.push_back(entryAt(at(Wednesday.addDays(day), 9, 0), at(Wednesday.addDays(day), 10, 0)));
    struct Case
    {
        const char *what;
        std::vector<tTacheFull> entries;
        QString text;
    };
    const Case cases[] = {
        {"one inside, one cut, one moved",
         {finished(10, 0, 12, 0), finished(9, 0, 10, 30), finished(10, 30, 11, 0), finished(11, 30, 13, 0)},
         QStringLiteral("Ce choix supprimera 1 tâche(s) existante(s) et en raccourcira 2.")},
        {"one spanning it is split", {finished(10, 0, 11, 0), finished(8, 0, 14, 0)},
         QStringLiteral("Ce choix supprimera 0 tâche(s) existante(s) et en raccourcira 1.")},
        {"a running entry: every later one goes", laterDays,
         QStringLiteral("Ce choix supprimera 5 tâche(s) existante(s) et en raccourcira 0.")},
        {"the three entries", threeEntries(),
         QStringLiteral("Ce choix supprimera 1 tâche(s) existante(s) et en raccourcira 1.")},
    };
    for (const Case &c : cases) {
        CDlgInsertion dialog(false);
        dialog.SetEntries(c.entries);
        EXPECT_EQ(dialog.OthersGiveWayConsequence(), c.text) << c.what;
    }
}
