// The dialog that changes the project, activity and rate of several entries.
#include "CDlgModifTasks.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "EntryDialogFixture.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <gtest/gtest-spi.h>

namespace {
using Dlg = CDlgModifTasks;
constexpr int Unchanged = CDlgModifTasks::Unchanged;
} // namespace

TEST_F(EntryDialogFixture, ChangingSeveralEntriesReturnsTheTickedValues)
{
    const int rate = saveRate(QStringLiteral("Standard"), 50.f);
    const int activity = saveActivity(QStringLiteral("Conception"), -1);
    const int project = saveProject(QStringLiteral("Chantier"), activity, rate);
    const struct
    {
        const char *what;
        std::vector<int> ticks;                 // boxes ticked
        std::vector<std::pair<int, int>> picks; // combo, item id chosen
        bool warning, ok;
        int project, activity, rate;
    } cases[] = {
        {"clear the project", {Dlg::IdProjectBox}, {}, false, true, -1, Unchanged, Unchanged},
        {"clear project and activity", {Dlg::IdProjectBox, Dlg::IdActivityBox}, {}, true, false, 0, 0, 0},
        {"nothing ticked", {}, {}, false, false, 0, 0, 0},
        {"clear the rate", {Dlg::IdRateBox}, {}, false, true, Unchanged, Unchanged, -1},
        // The project brings its activity and rate, which stay unchanged
        // unless their boxes are ticked.
        {"a project", {Dlg::IdProjectBox}, {{Dlg::IdProject, project}}, false, true, project, Unchanged, Unchanged},
        {"a project and its rate", {Dlg::IdProjectBox, Dlg::IdRateBox}, {{Dlg::IdProject, project}}, false, true,
         project, Unchanged, rate},
        {"an activity alone", {Dlg::IdActivityBox, Dlg::IdProjectBox}, {{Dlg::IdActivity, activity}}, false, true,
         -1, activity, Unchanged},
    };
    for (const auto &c : cases) {
        CDlgModifTasks dialog;
        for (int box : c.ticks)
            click(dialog, box);
        for (const auto &[combo, id] : c.picks)
            choose(dialog, combo, id);
        EXPECT_EQ(shown(dialog, Dlg::IdWarning), c.warning) << c.what;
        EXPECT_EQ(control(dialog, Dlg::IdOk)->isEnabled(), c.ok) << c.what;
        click(dialog, Dlg::IdOk);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.ok) << c.what;
        if (!c.ok)
            continue;
        EXPECT_EQ(dialog.ProjectId(), c.project) << c.what;
        EXPECT_EQ(dialog.ActivityId(), c.activity) << c.what;
        EXPECT_EQ(dialog.RateId(), c.rate) << c.what;
    }
}

TEST_F(EntryDialogFixture, ChangingSeveralEntriesEnablesWhatIsTicked)
{
    CTranslationStore store;
    {
        CDlgModifTasks dialog;
        EXPECT_TRUE(ControlsWithoutText(&dialog, store, Dlg::DialogId).isEmpty());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Modifier plusieurs tâches"));
        EXPECT_EQ(dialog.ProjectId(), -1);
        for (int id : {Dlg::IdProject, Dlg::IdActivity, Dlg::IdRate, Dlg::IdAddProject, Dlg::IdAddActivity,
                       Dlg::IdAddRate, Dlg::IdOk})
            EXPECT_FALSE(control(dialog, id)->isEnabled()) << id;
        click(dialog, Dlg::IdActivityBox);
        EXPECT_TRUE(control(dialog, Dlg::IdActivity)->isEnabled());
        EXPECT_FALSE(control(dialog, Dlg::IdAddActivity)->isEnabled()) << "no editor yet";
        EXPECT_FALSE(control(dialog, Dlg::IdProject)->isEnabled());
        click(dialog, Dlg::IdActivityBox);
        EXPECT_FALSE(control(dialog, Dlg::IdActivity)->isEnabled());
    }
    const int rate = saveRate(QStringLiteral("Nuit"), 90.f);
    EntryDialogServices::Registered().newRate = [rate] { return rate; };
    CDlgModifTasks dialog;
    click(dialog, Dlg::IdRateBox);
    ASSERT_TRUE(control(dialog, Dlg::IdAddRate)->isEnabled());
    click(dialog, Dlg::IdAddRate);
    click(dialog, Dlg::IdOk);
    EXPECT_EQ(dialog.RateId(), rate);

    DialogAnswers<CDlgModifTasks> answers;
    CDlgModifTasks seamed;
    // Nothing queued: the test is told, and the dialog is rejected.
    int result = QDialog::Accepted;
    EXPECT_NONFATAL_FAILURE(result = seamed.exec(), "dialog CDlgModifTasks");
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(answers.Asked(), 1);
}
