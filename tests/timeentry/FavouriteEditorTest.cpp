// The favourite editor on a database of the test's own: the defaults a
// project or an activity brings, OK only with a project or an activity,
// what is stored, and a favourite identical to a live or a deleted one.
#include "CComboBoxSuper.h"
#include "CDlgFavoris.h"
#include "CReadOnlyCB.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "EditorFixture.h"
#include "MessageBoxParams.h"
#include "RecordEditorTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

namespace A = MessageBoxAnswer;
using RecordEditorTools::SelectRowWithData;
using RecordEditorTools::SelectedData;

class FavouriteEditorTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        rate = saveRate(QStringLiteral("Conseil"), 80);
        otherRate = saveRate(QStringLiteral("Réduit"), 40);
        activity = saveActivity(QStringLiteral("Réunion"), otherRate);
        tElement e;
        e.Nom = QStringLiteral("Client « Nord »");
        e.IdTauxHoraire = rate;
        e.Activity = activity;
        CBdD db;
        EXPECT_TRUE(db.SaveProject(&e, nullptr));
        project = e.Id;
        reload();
    }
    // Chooses the row of `id` in a list as the user would.
    static void choose(QComboBox *list, int id)
    {
        ASSERT_TRUE(SelectRowWithData(list, id, 0)) << id;
        emit list->activated(list->currentIndex());
    }
    static QString favourites()
    {
        return cell(u"select group_concat(IdProject || ',' || IdActivite || ',' || IdTauxHoraire || ',' || Title "
                    u"|| ',' || Deleted, ';') from Favoris");
    }

    int rate = -1, otherRate = -1, activity = -1, project = -1;
};

} // namespace

TEST_F(FavouriteEditorTest, AProjectBringsItsDefaultsAndOkStoresTheChoice)
{
    CDlgFavoris dialog(-1);
    dialog.Prepare();
    EXPECT_EQ(dialog.windowTitle(), Platform::Texts::get(187));
    // Nothing chosen: no OK, and the warning says why.
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_FALSE(dialog.Warning()->isHidden());
    EXPECT_EQ(SelectedData(dialog.ProjectList()), -1);
    EXPECT_EQ(dialog.ProjectList()->currentText(), Platform::Texts::get(501));

    choose(dialog.ProjectList(), project);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(dialog.Warning()->isHidden());
    EXPECT_EQ(SelectedData(dialog.ActivityList()), activity);
    EXPECT_EQ(SelectedData(dialog.RateList()), rate);
    // The activity's own rate follows when the activity is chosen.
    choose(dialog.ActivityList(), activity);
    EXPECT_EQ(SelectedData(dialog.RateList()), otherRate);

    dialog.TitleEdit()->setText(QStringLiteral("Nord, l'après-midi"));
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(favourites(), QStringLiteral("%1,%2,%3,Nord, l'après-midi,0").arg(project).arg(activity).arg(otherRate));

    CTranslationStore translations;
    EXPECT_TRUE(ControlsWithoutText(&dialog, translations, CDlgFavoris::DialogId).isEmpty());
}

TEST_F(FavouriteEditorTest, AnActivityAloneIsEnoughAndNoProjectStoresNone)
{
    CDlgFavoris dialog(-1);
    dialog.Prepare();
    choose(dialog.ActivityList(), activity);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(favourites(), QStringLiteral("-1,%1,%2,,0").arg(activity).arg(otherRate));

    // Opened again it shows what it holds and updates that row.
    const int id = count(u"select Id from Favoris");
    CDlgFavoris again(id);
    again.Prepare();
    EXPECT_EQ(again.windowTitle(), Platform::Texts::get(186));
    EXPECT_EQ(SelectedData(again.ActivityList()), activity);
    EXPECT_EQ(SelectedData(again.ProjectList()), -1);
    choose(again.RateList(), rate);
    again.OnOk();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(favourites(), QStringLiteral("-1,%1,%2,,0").arg(activity).arg(rate));
}

TEST_F(FavouriteEditorTest, ATwinOfALiveFavouriteIsRefusedAndOfADeletedOneIsNot)
{
    CBdD().AddFavorite(-1, project, activity, rate, QStringLiteral("Nord"));
    auto fill = [&](CDlgFavoris &d) {
        d.Prepare();
        choose(d.ProjectList(), project);
        choose(d.RateList(), rate);
        d.TitleEdit()->setText(QStringLiteral("Nord"));
    };
    {
        CDlgFavoris dialog(-1);
        fill(dialog);
        boxes.Push(A::Ok);
        dialog.OnOk();
        EXPECT_EQ(dialog.result(), 0); // still open
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(472));
        EXPECT_EQ(count(u"select count(*) from Favoris"), 1);
    }
    exec(u"update Favoris set Deleted=1");
    CDlgFavoris dialog(-1);
    fill(dialog);
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(count(u"select count(*) from Favoris where Deleted=0"), 1);
    EXPECT_EQ(boxes.AskedBoxes().size(), 1u);
}

TEST_F(FavouriteEditorTest, AWriteThatFailsIsToldAndTheDialogStays)
{
    CDlgFavoris dialog(-1);
    dialog.Prepare();
    choose(dialog.ProjectList(), project);
    {
        HeldFile held(path);
        boxes.Push(A::Ok);
        dialog.OnOk();
    }
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(226));
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(count(u"select count(*) from Favoris"), 0);
}
