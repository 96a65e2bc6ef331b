// The record editors as the application's windows: the openers the panes
// and commands call, and the entry dialogs' "Ajouter" buttons, each run
// through the editor's own seam on Anne's database.
#include "PaneFixture.h"

#include "CDlgActivity.h"
#include "CDlgCopyProject.h"
#include "CDlgFavoris.h"
#include "CDlgForecast.h"
#include "CDlgName.h"
#include "CDlgRate.h"
#include "CForecastNotesPage.h"
#include "CViewForecastGeneral.h"
#include "CViewForecastPpal.h"
#include "CViewForecastPrevious.h"
#include "DialogAnswers.h"
#include "EntryDialogServices.h"
#include "RecordEditorServices.h"
#include "RecordEditorWindows.h"

#include <QLineEdit>

namespace {

class RecordEditorWindowsTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        savedEditorServices = RecordEditorServices::Registered();
        savedEntryServices = EntryDialogServices::Registered();
        RegisterRecordEditors(*app);
    }
    void TearDown() override
    {
        RecordEditorServices::Registered() = savedEditorServices;
        EntryDialogServices::Registered() = savedEntryServices;
        PaneFixture::TearDown();
    }

    RecordEditorServices savedEditorServices;
    EntryDialogServices savedEntryServices;
};

} // namespace

TEST_F(RecordEditorWindowsTest, EveryOpenerOfTheEditorsIsRegistered)
{
    const CZarvoWinApp::Openers &w = app->Windows();
    const bool registered[] = {bool(w.newProject),   bool(w.editProject),  bool(w.newActivity),
                               bool(w.editActivity), bool(w.newRate),      bool(w.editRate),
                               bool(w.editFavorite), bool(w.copyProject),  bool(w.askName)};
    for (size_t i = 0; i < std::size(registered); ++i)
        EXPECT_TRUE(registered[i]) << i;
    const EntryDialogServices &entry = EntryDialogServices::Registered();
    EXPECT_TRUE(entry.newProject && entry.newActivity && entry.newRate);
}

TEST_F(RecordEditorWindowsTest, TheProjectEditorOpensOnTheProjectOrBelowTheParent)
{
    const int top = saveProject(QStringLiteral("Maison"));
    reloadStore();
    DialogAnswers<CDlgForecast> answers;
    answers.Push([](CDlgForecast &d) {
        EXPECT_FALSE(d.IsNew());
        EXPECT_EQ(d.NameEdit()->text(), u"Maison");
        d.NameEdit()->setText(QStringLiteral("Maison « bleue »"));
        d.OnOk();
        return d.result();
    });
    EXPECT_TRUE(app->Windows().editProject(top));
    EXPECT_EQ(cell(QStringLiteral("select Nom from Projets where Id=%1").arg(top)), u"Maison « bleue »");

    answers.Push([](CDlgForecast &d) {
        EXPECT_TRUE(d.IsNew());
        d.NameEdit()->setText(QStringLiteral("Cuisine"));
        d.OnOk();
        return d.result();
    });
    EXPECT_TRUE(app->Windows().newProject(top));
    EXPECT_EQ(cell(QStringLiteral("select Parent from Projets where Nom='Cuisine'")), QString::number(top));

    // An id the store does not hold opens nothing.
    EXPECT_FALSE(app->Windows().editProject(987654));
    EXPECT_EQ(answers.Asked(), 2);

    // The entry dialog's "Ajouter" gets the id of the project made.
    answers.Push([](CDlgForecast &d) {
        d.NameEdit()->setText(QStringLiteral("Jardin"));
        d.OnOk();
        return d.result();
    });
    const int made = EntryDialogServices::Registered().newProject();
    EXPECT_EQ(QString::number(made), cell(QStringLiteral("select Id from Projets where Nom='Jardin'")));
    answers.Push(QDialog::Rejected);
    EXPECT_EQ(EntryDialogServices::Registered().newProject(), -1);
}

TEST_F(RecordEditorWindowsTest, TheProjectEditorShowsThePlanningPages)
{
    const int top = saveProject(QStringLiteral("Maison"));
    reloadStore();
    DialogAnswers<CDlgForecast> answers;
    answers.Push([](CDlgForecast &d) {
        EXPECT_NE(qobject_cast<CViewForecastGeneral *>(d.Page(CDlgForecast::GeneralTab)), nullptr);
        EXPECT_NE(qobject_cast<CViewForecastPpal *>(d.Page(CDlgForecast::PlanningTab)), nullptr);
        EXPECT_NE(qobject_cast<CViewForecastPrevious *>(d.Page(CDlgForecast::PredecessorsTab)), nullptr);
        EXPECT_NE(qobject_cast<CForecastNotesPage *>(d.Page(CDlgForecast::NotesTab)), nullptr);
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(app->Windows().editProject(top));
    // A new activity row of the project, from the forecast window.
    answers.Push([top](CDlgForecast &d) {
        EXPECT_TRUE(d.IsNew());
        EXPECT_TRUE(d.IsActivityRow());
        EXPECT_EQ(d.WorkingCopy().Element().Parent, top);
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(bool(app->Windows().newActivityRow));
    EXPECT_FALSE(app->Windows().newActivityRow(top));
    EXPECT_EQ(answers.Asked(), 2);
}

TEST_F(RecordEditorWindowsTest, ActivityAndRateEditorsGiveTheRecordTheyStored)
{
    DialogAnswers<CDlgActivity> activities;
    activities.Push([](CDlgActivity &d) {
        d.NameEdit()->setText(QStringLiteral("Réunion"));
        d.OnSaveClose();
        return d.result();
    });
    const int activity = EntryDialogServices::Registered().newActivity();
    EXPECT_EQ(QString::number(activity), cell(QStringLiteral("select Id from Activites where Nom='Réunion'")));
    activities.Push([](CDlgActivity &d) {
        EXPECT_EQ(d.NameEdit()->text(), u"Réunion");
        d.NameEdit()->setText(QStringLiteral("Réunions"));
        d.OnSaveClose();
        return d.result();
    });
    EXPECT_TRUE(app->Windows().editActivity(activity));
    EXPECT_EQ(cell(QStringLiteral("select Nom from Activites where Id=%1").arg(activity)), u"Réunions");

    DialogAnswers<CDlgRate> rates;
    rates.Push([](CDlgRate &d) {
        d.NameEdit()->setText(QStringLiteral("Conseil"));
        d.OnSaveClose();
        return d.result();
    });
    EXPECT_TRUE(app->Windows().newRate());
    const int rate = cell(QStringLiteral("select Id from TauxHoraire where Nom='Conseil'")).toInt();
    rates.Push([](CDlgRate &d) {
        EXPECT_EQ(d.NameEdit()->text(), u"Conseil");
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(app->Windows().editRate(rate));
    rates.Push(QDialog::Rejected);
    EXPECT_EQ(EntryDialogServices::Registered().newRate(), -1);
}

TEST_F(RecordEditorWindowsTest, CopyFavouriteAndNamePromptOpenOnWhatTheCallerGives)
{
    const int p = saveProject(QStringLiteral("P"));
    const int q = saveProject(QStringLiteral("Q"), p);
    const int s = saveProject(QStringLiteral("S"), p);
    reloadStore();

    DialogAnswers<CDlgCopyProject> copies;
    copies.Push([p](CDlgCopyProject &d) {
        EXPECT_EQ(d.TargetParentId(), p);
        EXPECT_EQ(d.NameEdit()->text(), u"S");
        d.NameEdit()->setText(QStringLiteral("S bis"));
        d.OnCopy();
        return d.result();
    });
    EXPECT_TRUE(app->Windows().copyProject(s, p, q, true));
    EXPECT_EQ(cell(QStringLiteral("select Parent from Projets where Nom='S bis'")), QString::number(p));
    EXPECT_FALSE(app->Windows().copyProject(987654, p, -1, false));
    EXPECT_EQ(copies.Asked(), 1);

    DialogAnswers<CDlgFavoris> favourites;
    favourites.Push([](CDlgFavoris &d) {
        EXPECT_EQ(d.FavoriteId(), -1);
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(app->Windows().editFavorite(-1));
    EXPECT_EQ(favourites.Asked(), 1);

    DialogAnswers<CDlgName> names;
    names.Push([](CDlgName &d) {
        d.NameEdit()->setText(QStringLiteral("Bilan d'été"));
        d.OnOk();
        return d.result();
    });
    names.Push(QDialog::Rejected);
    QString name = QStringLiteral("Bilan");
    EXPECT_TRUE(app->Windows().askName(name));
    EXPECT_EQ(name, u"Bilan d'été");
    EXPECT_FALSE(app->Windows().askName(name));
    EXPECT_EQ(name, u"Bilan d'été");
}
