// The list of running entries: ending one with a click, or all at once.
#include "CDlgListEnCours.h"
#include "CListeTache.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "EntryDialogFixture.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QPushButton>

namespace {

class CDlgListEnCoursTest : public EntryDialogFixture
{
protected:
    // Three entries running since 8:00, 8:30 and 9:00 (as after the tray
    // and this program both started some).
    void SetUp() override
    {
        EntryDialogFixture::SetUp();
        for (int minutes : {0, 30, 60})
            ids.push_back(saveEntry(at(Today, 8, minutes), at(Today, 8, minutes + 10)));
        CBdD().Execute(u"update Taches set Fin=0");
    }
    static qint64 endOf(int id)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(QStringLiteral("select Fin from Taches where Id=%1").arg(id));
        return t.hasRows() ? t->GetCell(0, 0).toLongLong() : -1;
    }
    // A click on the list at `y` pixels below its top.
    static void clickList(CDlgListEnCours &dialog, int y)
    {
        QTest::mouseClick(dialog.List()->viewport(), Qt::LeftButton, {}, QPoint(40, y));
    }
    std::vector<int> ids;
};

} // namespace

TEST_F(CDlgListEnCoursTest, EndingAllGivesEveryEntryTheSameEnd)
{
    CDlgListEnCours dialog;
    ASSERT_EQ(dialog.List()->Cards().size(), 3u);
    Platform::Clock::setFixedNow(at(Today, 10, 5));
    click(dialog, CDlgListEnCours::IdEndAll);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    for (int id : ids)
        EXPECT_EQ(endOf(id), at(Today, 10, 5)) << id;
}

TEST_F(CDlgListEnCoursTest, AClickEndsThatEntryAndAClickBelowTheCardsNothing)
{
    CDlgListEnCours dialog;
    dialog.List()->resize(400, 5 * CListeTache::CardPitch);
    // Below the third card.
    clickList(dialog, 3 * CListeTache::CardPitch + 20);
    EXPECT_EQ(dialog.List()->ClickedId(), -1);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    for (int id : ids)
        EXPECT_EQ(endOf(id), 0) << id;

    clickList(dialog, CListeTache::CardPitch + 20);
    EXPECT_EQ(dialog.List()->ClickedId(), dialog.List()->Cards()[1].id);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    int ended = 0;
    for (int id : ids) {
        if (id == dialog.List()->ClickedId())
            EXPECT_EQ(endOf(id), at(Today, 10, 0));
        else
            EXPECT_EQ(endOf(id), 0);
        ended += endOf(id) != 0;
    }
    EXPECT_EQ(ended, 1);
}

TEST_F(CDlgListEnCoursTest, AFailureStopsTheRoundAndARetryLeavesWhatEndedAlone)
{
    CDlgListEnCours dialog;
    const std::vector<tRunningCard> cards = dialog.List()->Cards();
    ASSERT_EQ(cards.size(), 3u);
    // The second entry of the list cannot be written.
    CBdD().Execute(QStringLiteral("create trigger refuse before update on Taches when old.Id=%1 "
                                  "begin select raise(abort, 'refused'); end")
                       .arg(cards[1].id));
    MessageBoxAnswers boxes;
    boxes.AnswerNotices();
    click(dialog, CDlgListEnCours::IdEndAll);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(226));
    EXPECT_EQ(boxes.AskedBoxes()[0].caption, Platform::Texts::get(173));
    EXPECT_EQ(endOf(cards[0].id), at(Today, 10, 0));
    EXPECT_EQ(endOf(cards[1].id), 0);
    EXPECT_EQ(endOf(cards[2].id), 0) << "nothing after the failure";
    // The list shows what still runs.
    ASSERT_EQ(dialog.List()->Cards().size(), 2u);
    EXPECT_EQ(dialog.List()->Cards()[0].id, cards[1].id);

    // Later, with the file writable again, the rest ends; the first keeps its end.
    CBdD().Execute(u"drop trigger refuse");
    Platform::Clock::setFixedNow(at(Today, 10, 20));
    click(dialog, CDlgListEnCours::IdEndAll);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(endOf(cards[0].id), at(Today, 10, 0));
    EXPECT_EQ(endOf(cards[1].id), at(Today, 10, 20));
    EXPECT_EQ(endOf(cards[2].id), at(Today, 10, 20));
}

TEST_F(CDlgListEnCoursTest, AnEntryEndedMeanwhileKeepsItsEnd)
{
    CDlgListEnCours dialog;
    dialog.List()->resize(400, 5 * CListeTache::CardPitch);
    const int first = dialog.List()->Cards()[0].id;
    const int second = dialog.List()->Cards()[1].id;
    // The tray ends two of them while the list is open.
    for (int id : {first, second})
        CBdD().Execute(QStringLiteral("update Taches set Fin=%1 where Id=%2").arg(at(Today, 9, 45)).arg(id));
    clickList(dialog, 10);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(endOf(first), at(Today, 9, 45));

    CDlgListEnCours again;
    for (int id : {first, second})
        CBdD().Execute(QStringLiteral("update Taches set Fin=0 where Id=%1").arg(id));
    again.List()->Reload();
    CBdD().Execute(QStringLiteral("update Taches set Fin=%1 where Id=%2").arg(at(Today, 9, 50)).arg(second));
    click(again, CDlgListEnCours::IdEndAll);
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(endOf(first), at(Today, 10, 0));
    EXPECT_EQ(endOf(second), at(Today, 9, 50));
}

TEST_F(CDlgListEnCoursTest, CancelEndsNothingAndEveryControlHasItsText)
{
    CTranslationStore store;
    CDlgListEnCours dialog;
    EXPECT_EQ(ControlsWithoutText(&dialog, store, CDlgListEnCours::DialogId), QList<int>());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Confirmation"));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    click(dialog, CDlgListEnCours::IdCancel);
    for (int id : ids)
        EXPECT_EQ(endOf(id), 0) << id;

    DialogAnswers<CDlgListEnCours> answers;
    answers.Push([](CDlgListEnCours &d) {
        click(d, CDlgListEnCours::IdEndAll);
        return d.result();
    });
    CDlgListEnCours seamed;
    EXPECT_EQ(seamed.exec(), QDialog::Accepted);
    for (int id : ids)
        EXPECT_EQ(endOf(id), at(Today, 10, 0)) << id;
}
