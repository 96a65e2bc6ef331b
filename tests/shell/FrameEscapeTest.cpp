// Escape in the program's frames and dialogs, pressed in each of their
// fields in turn: it closes a window as its "Annuler" or "Fermer" does
// (asking first where that button asks), and leaves open the one frame
// that has neither.
#include "PaneFixture.h"

#include "CConnexion.h"
#include "CDlgAbout.h"
#include "CDlgActivity.h"
#include "CDlgAssocier.h"
#include "CDlgBackup.h"
#include "CDlgColForecast.h"
#include "CDlgColumn.h"
#include "CDlgColumnDetail.h"
#include "CDlgCopyProject.h"
#include "CDlgExport.h"
#include "CDlgFavoris.h"
#include "CDlgInsertion.h"
#include "CDlgListEnCours.h"
#include "CDlgModifTasks.h"
#include "CDlgName.h"
#include "CDlgOptColProject.h"
#include "CDlgPage.h"
#include "CDlgRate.h"
#include "CDlgSelectProject.h"
#include "CDlgTask.h"
#include "CDlgUser.h"
#include "CDlgUsers.h"
#include "CReportColumnSet.h"
#include "CDlgForecast.h"
#include "CLanguageSelector.h"
#include "COptionsDialog.h"
#include "CPrefsDialog.h"
#include "CPrefsSubDlg.h"
#include "CViewSynchro.h"
#include "CReportGroupBy.h"
#include "CReportWizard.h"
#include "CWizardConfig.h"
#include "CWizardDialog.h"
#include "CWizardUser.h"
#include "CWizardUser1.h"
#include "DialogAnswers.h"
#include "EscapeKeys.h"
#include "ImageList.h"
#include "RecordEditorServices.h"
#include "RecordEditorWindows.h"
#include "TestFolders.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

using EscapeKeys::Outcome;

// A dialog run as its opener runs it, through exec() and its next-answer
// seam: Escape pressed in field `field` while it is shown.
template <class Dialog>
Outcome escapeThroughExec(Dialog &dialog, int field)
{
    Outcome outcome;
    DialogAnswers<Dialog> answers;
    answers.Push([&outcome, field](Dialog &shown) {
        outcome = EscapeKeys::PressIn(&shown, field);
        return shown.result();
    });
    dialog.exec();
    return outcome;
}

class FrameEscapeTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        languages = std::make_unique<CLanguageSelector>(QStringLiteral(ZARVO_PROGRAM_FOLDER "Zarvo"));
        languages->SetLanguage(1036);
        languages->SetChangePoster([](int) {});
    }
    void TearDown() override
    {
        COptionsDialog::SetRunner({});
        CPrefsDialog::SetTranslator({});
        languages.reset();
        PaneFixture::TearDown();
    }

    // Presses Escape in every field of the window `open` makes, one fresh
    // window a press, and checks each against `closes`.
    void everyField(const char *name, bool closes, const std::function<Outcome(int field)> &open)
    {
        SCOPED_TRACE(name);
        int count = 1;
        for (int field = -1; field < count; ++field) {
            const Outcome outcome = open(field);
            count = outcome.fields;
            SCOPED_TRACE(outcome.field.toStdString());
            EXPECT_EQ(outcome.closed, closes);
            if (closes) {
                EXPECT_EQ(outcome.result, int(QDialog::Rejected));
            }
        }
        EXPECT_GT(count, 0);
    }

    std::unique_ptr<CLanguageSelector> languages;
};

} // namespace

// The frames built on the settings and wizard frames, and the
// synchronisation dialog: Escape from any field is their "Annuler" or
// "Fermer".
TEST_F(FrameEscapeTest, EscapeIsAnnulerInEveryFrame)
{
    // The options, on their first page and on the folders page; Annuler
    // keeps the settings as they were.
    COptionsDialog::Register(*app);
    app->Configuration().Load();
    for (int start : {0, 4}) {
        everyField(start == 0 ? "options, first page" : "options, folders page", true, [this, start](int field) {
            Outcome outcome;
            int asked = 0;
            COptionsDialog::SetRunner([&](CPrefsDialog &frame) {
                ++asked;
                frame.InitDialog();
                outcome = EscapeKeys::PressIn(&frame, field);
                return frame.result() == QDialog::Accepted ? 1 : 2;
            });
            app->ShowOptions(start);
            EXPECT_EQ(asked, 1);
            return outcome;
        });
    }

    // The report settings: "Annuler" leaves the report's definition.
    tReportDefinition definition;
    definition.SetDefaultColumns(definition.Columns);
    CReportWizard::tSources sources;
    sources.Projects = std::make_shared<const tReportSnapshot>(tReportSnapshot::Take(&app->ProjectStore()));
    ImageList images{16};
    sources.Images = &images;
    everyField("report settings", true, [&](int field) {
        CReportWizard wizard(definition, sources, nullptr);
        wizard.Frame().InitDialog();
        return EscapeKeys::PressIn(&wizard.Frame(), field);
    });

    // The new user's wizard, on each step and in the sample data's mode:
    // nothing is created.
    everyField("new user, name step", true, [this](int field) {
        CWizardUser wizard(app->Users(), *languages, false);
        wizard.show();
        wizard.NameStep().Name()->setText(QStringLiteral("Bob"));
        return EscapeKeys::PressIn(&wizard, field);
    });
    everyField("new user, database step", true, [this](int field) {
        CWizardUser wizard(app->Users(), *languages, false);
        wizard.show();
        wizard.NameStep().Name()->setText(QStringLiteral("Bob"));
        QTest::mouseClick(wizard.NextButton(), Qt::LeftButton);
        EXPECT_EQ(wizard.CurrentPage(), 1);
        return EscapeKeys::PressIn(&wizard, field);
    });
    everyField("sample data", true, [this](int field) {
        CWizardUser wizard(app->Users(), *languages, true);
        wizard.show();
        wizard.NameStep().Name()->setText(QStringLiteral("Bob"));
        return EscapeKeys::PressIn(&wizard, field);
    });
    EXPECT_EQ(app->Users().CountUsers(), 1);
    EXPECT_FALSE(QFileInfo::exists(usersFolder + QStringLiteral("Bob")));

    // The synchronisation dialog: "Fermer".
    const QString deviceRoot = TestFolders::file(QStringLiteral("Device"));
    everyField("synchronisation", true, [this, &deviceRoot](int field) {
        CConnexion::Hooks hooks;
        hooks.currentUserId = [this] { return userId; };
        hooks.backupFirst = [] { return false; };
        CConnexion dialog(app->Users(), nullptr, hooks, deviceRoot);
        return EscapeKeys::PressIn(&dialog, field);
    });

    // The first-run wizard has neither: it ends only by "Terminer".
    everyField("first run", false, [this](int field) {
        CWizardConfig wizard(app->Users(), *languages, [] {});
        return EscapeKeys::PressIn(&wizard, field);
    });
}

// Escape asks first where "Annuler" asks: in the project editor with a
// changed name, the question comes; "Annuler" in it keeps the editor and
// the name, "Non" closes without saving.
TEST_F(FrameEscapeTest, EscapeAsksFirstWhereAnnulerAsks)
{
    const RecordEditorServices saved = RecordEditorServices::Registered();
    RegisterRecordEditors(*app);
    const int id = saveProject(QStringLiteral("Maison"));
    reloadStore();

    DialogAnswers<CDlgForecast> editors;
    editors.Push([this](CDlgForecast &editor) {
        editor.show();
        editor.NameEdit()->setText(QStringLiteral("Maison bleue"));
        // The question: Annuler first, then Non.
        answers->Push(MessageBoxAnswer::Cancel);
        const size_t before = answers->AskedBoxes().size();
        QTest::keyClick(editor.NameEdit(), Qt::Key_Escape);
        EXPECT_EQ(answers->AskedBoxes().size(), before + 1);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.NameEdit()->text(), u"Maison bleue");
        answers->Push(MessageBoxAnswer::No);
        QTest::keyClick(editor.NameEdit(), Qt::Key_Escape);
        EXPECT_EQ(answers->AskedBoxes().size(), before + 2);
        EXPECT_FALSE(editor.isVisible());
        return editor.result();
    });
    EXPECT_FALSE(app->Windows().editProject(id));
    EXPECT_EQ(editors.Asked(), 1);
    EXPECT_EQ(cell(QStringLiteral("select Nom from Projets where Id=%1").arg(id)), u"Maison");
    RecordEditorServices::Registered() = saved;
}

// The other dialogs of the program, each as its opener shows it: Escape in
// any field is their "Annuler" or "Fermer".
TEST_F(FrameEscapeTest, EscapeIsAnnulerInEveryDialog)
{
    const int project = saveProject(QStringLiteral("Maison"));
    reloadStore();
    CProject *node = app->ProjectStore().GetNode(project);
    ASSERT_NE(node, nullptr);
    tReportDefinition definition;
    definition.SetDefaultColumns(definition.Columns);
    const auto none = [](QWidget *) { return -1; };
    struct Row
    {
        const char *name;
        std::function<Outcome(int field)> open;
    };
    const Row rows[] = {
        {"entry", [](int f) { CDlgTask d(nullptr); return escapeThroughExec(d, f); }},
        {"several entries", [](int f) { CDlgModifTasks d; return escapeThroughExec(d, f); }},
        {"overlap", [](int f) { CDlgInsertion d(true); return escapeThroughExec(d, f); }},
        {"running entries", [](int f) { CDlgListEnCours d; return escapeThroughExec(d, f); }},
        {"name", [](int f) { CDlgName d(QStringLiteral("Mois")); return escapeThroughExec(d, f); }},
        {"project column", [](int f) { CDlgOptColProject d; return escapeThroughExec(d, f); }},
        {"activity", [](int f) { CDlgActivity d; return escapeThroughExec(d, f); }},
        {"rate", [](int f) { CDlgRate d; return escapeThroughExec(d, f); }},
        {"favourite", [](int f) { CDlgFavoris d(-1); return escapeThroughExec(d, f); }},
        {"new project", [](int f) { CDlgForecast d; return escapeThroughExec(d, f); }},
        {"project",
         [node](int f) {
             CDlgForecast d(false, false, node, CDlgForecast::GeneralTab);
             return escapeThroughExec(d, f);
         }},
        {"copy project",
         [this, node](int f) {
             CDlgCopyProject d;
             d.SetProjects(node, app->ProjectStore().GetRoot());
             return escapeThroughExec(d, f);
         }},
        {"project picker", [](int f) { CDlgSelectProject d; return escapeThroughExec(d, f); }},
        {"forecast columns", [](int f) { CDlgColForecast d; return escapeThroughExec(d, f); }},
        {"report columns",
         [&definition](int f) {
             CReportColumnSet columns;
             CDlgColumn d(&definition, columns, true);
             return escapeThroughExec(d, f);
         }},
        {"report column",
         [](int f) {
             tReportColumn column;
             column.Kind = 0;
             CDlgColumnDetail d(true, column);
             return escapeThroughExec(d, f);
         }},
        {"export", [](int f) { CDlgExport d; return escapeThroughExec(d, f); }},
        {"page setup",
         [&definition](int f) {
             CDlgPage d(definition, QString(), QString());
             return escapeThroughExec(d, f);
         }},
        {"users",
         [this, none](int f) {
             CDlgUsers d(app->Users(), app->Configuration(), none);
             return EscapeKeys::PressIn(&d, f);
         }},
        {"user",
         [this](int f) {
             CDlgUser d(app->Users(), userId, false, 0xC0FFC0);
             return EscapeKeys::PressIn(&d, f);
         }},
        {"device's user",
         [this, none](int f) {
             CDlgAssocier d(app->Users(), userId, none, [] {});
             return EscapeKeys::PressIn(&d, f);
         }},
        {"backups",
         [this](int f) {
             CDlgBackup d(*app);
             return EscapeKeys::PressIn(&d, f);
         }},
        {"about",
         [](int f) {
             CDlgAbout d;
             return EscapeKeys::PressIn(&d, f);
         }},
    };
    for (const Row &row : rows)
        everyField(row.name, true, row.open);
}
