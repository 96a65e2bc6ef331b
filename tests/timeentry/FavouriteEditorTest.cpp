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

// The stored favourite changed or was deleted while the dialog was open:
// OK shows both, and the user goes back, keeps the stored one (nothing
// written) or keeps theirs. A change of its order alone (the tray moving
// it to the top when it starts it) is no change of what the dialog shows.
TEST_F(FavouriteEditorTest, AFavouriteChangedWhileTheDialogIsOpenIsNotWrittenOverInSilence)
{
    int id = -1;
    ASSERT_EQ(CBdD().AddFavorite(-1, project, activity, rate, QStringLiteral("Nord"), &id), CBdD::FavoriteDone);
    {
        CDlgFavoris dialog(id);
        dialog.Prepare();
        exec(u"update Favoris set Ordre=Ordre+100, Date_Modif=Date_Modif+100");
        dialog.TitleEdit()->setText(QStringLiteral("Nord, matin"));
        dialog.OnOk();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(boxes.AskedBoxes().empty());
    }
    CDlgFavoris dialog(id);
    dialog.Prepare();
    exec(u"update Favoris set Title='Sud'");
    const QString stored = favourites();
    dialog.TitleEdit()->setText(QStringLiteral("Nord, soir"));
    boxes.Push(A::Custom1 + 2);
    dialog.OnOk();
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    const MessageBoxAnswers::Asked &asked = boxes.AskedBoxes()[0];
    EXPECT_TRUE(asked.text.startsWith(QStringLiteral("Ce favori a été modifié entre-temps"))) << asked.text.toStdString();
    EXPECT_TRUE(asked.text.contains(QStringLiteral("Favori enregistré : Client « Nord » / Réunion / Conseil / Sud\n")))
        << asked.text.toStdString();
    EXPECT_TRUE(asked.text.contains(QStringLiteral("Votre favori : Client « Nord » / Réunion / Conseil / Nord, soir\n")))
        << asked.text.toStdString();
    ASSERT_EQ(asked.buttons.size(), 3u);
    EXPECT_EQ(asked.buttons[0].caption, QStringLiteral("Garder l'enregistré"));
    EXPECT_EQ(dialog.result(), 0) << "back in the dialog";
    EXPECT_EQ(favourites(), stored);

    boxes.Push(A::Custom1);
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(favourites(), stored) << "the stored one kept";

    CDlgFavoris mine(id);
    mine.Prepare();
    exec(u"update Favoris set Title='Est'");
    boxes.Push(A::Custom1 + 1);
    mine.OnOk();
    EXPECT_EQ(mine.result(), QDialog::Accepted);
    EXPECT_EQ(favourites(), QStringLiteral("%1,%2,%3,Sud,0").arg(project).arg(activity).arg(rate));

    // Deleted meanwhile: "Non" leaves it deleted, "Oui" stores it again.
    CDlgFavoris deleted(id);
    deleted.Prepare();
    exec(u"update Favoris set Deleted=1");
    boxes.Push(A::No);
    deleted.OnOk();
    EXPECT_EQ(deleted.result(), QDialog::Rejected);
    EXPECT_EQ(count(u"select count(*) from Favoris where Deleted=0"), 0);
    EXPECT_TRUE(boxes.AskedBoxes().back().text.startsWith(QStringLiteral("Ce favori a été supprimé entre-temps")));
    exec(u"update Favoris set Deleted=0");
    CDlgFavoris again(id);
    again.Prepare();
    exec(u"update Favoris set Deleted=1");
    boxes.Push(A::Yes);
    again.OnOk();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(favourites(), QStringLiteral("%1,%2,%3,Sud,0").arg(project).arg(activity).arg(rate));
}

// "Keep mine" is a decision on the stored favourite as it was then: a write
// refused afterwards (the file held by the other program, the row's update
// refused), OK again does not ask a second time, and stores the user's
// favourite once the write can land.
TEST_F(FavouriteEditorTest, AKeptChoiceIsNotAskedAgainAfterARefusedWrite)
{
    const struct
    {
        const char *what;
        bool held; // else a trigger refuses the update
    } cases[] = {{"the file held", true}, {"the update refused", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        exec(u"delete from Favoris");
        int id = -1;
        ASSERT_EQ(CBdD().AddFavorite(-1, project, activity, rate, QStringLiteral("Nord"), &id), CBdD::FavoriteDone);
        CDlgFavoris dialog(id);
        dialog.Prepare();
        exec(u"update Favoris set Title='Sud'");
        dialog.TitleEdit()->setText(QStringLiteral("Nord, soir"));
        const size_t before = boxes.AskedBoxes().size();
        boxes.Push(A::Custom1 + 1); // keep mine
        boxes.Push(A::Ok);          // the failure told
        if (c.held) {
            HeldFile held(path);
            dialog.OnOk();
        } else {
            exec(u"create trigger refuse before update on Favoris begin select raise(abort, 'refused'); end");
            dialog.OnOk();
            exec(u"drop trigger refuse");
        }
        ASSERT_EQ(boxes.AskedBoxes().size(), before + 2);
        EXPECT_TRUE(boxes.AskedBoxes()[before].text.startsWith(QStringLiteral("Ce favori a été modifié entre-temps")));
        EXPECT_EQ(boxes.AskedBoxes()[before + 1].text, Platform::Texts::get(226));
        EXPECT_EQ(dialog.result(), 0) << "still open";
        EXPECT_EQ(favourites(), QStringLiteral("%1,%2,%3,Sud,0").arg(project).arg(activity).arg(rate));

        dialog.OnOk();
        EXPECT_EQ(boxes.AskedBoxes().size(), before + 2) << "not asked again";
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(favourites(), QStringLiteral("%1,%2,%3,Nord, soir,0").arg(project).arg(activity).arg(rate));
    }
}
