// The tray's dialogs and its Infos window, driven offscreen on a user
// database written as the main program writes it, read back from the
// settings file and the database.
#include "TrayWindowFixture.h"

#include "ApplicationHelp.h"
#include "CComboBoxSuper.h"
#include "CDlgOptions.h"
#include "CDlgTask.h"
#include "CDlgUser.h"
#include "CLanguageSelector.h"
#include "CMyDesktopAlertWnd.h"
#include "CReadOnlyCB.h"
#include "CTransparentImage.h"
#include "CTrayToolTip.h"
#include "ContextHelp.h"
#include "EscapeKeys.h"
#include "HelpTopics.h"
#include "RichMessageBoxDialog.h"
#include "TrayAutostart.h"
#include "TrayDialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <functional>

namespace {

class TrayDialogsTest : public TrayWindowFixture
{
protected:
    void SetUp() override
    {
        TrayWindowFixture::SetUp();
        start();
        TrayDialogs::Install(*app);
        CZarvoTrayDlg::Dialogs().applyOpacity = [this](int alpha) { alphas << alpha; };
    }
    void TearDown() override
    {
        ApplicationHelp::SetUrlOpener({});
        ContextHelp::SetOpener({});
        RichMessageBoxDialog::SetHelpHandler({});
        TrayWindowFixture::TearDown();
    }
    static void pressF1(QWidget *window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
    }
    bool written(const char16_t *name) const { return Platform::Settings().contains(u"Tray", u"Config", name); }
    QList<int> alphas;
};

} // namespace

TEST_F(TrayDialogsTest, OptionsRefuseToHideEveryViewAndWriteNothing)
{
    CDlgOptions dialog(*app);
    for (int id : {CDlgOptions::ShowToolBar, CDlgOptions::ShowResume, CDlgOptions::ShowDay, CDlgOptions::ShowTask,
                   CDlgOptions::ShowFav})
        dialog.Check(id)->setChecked(false);
    MessageBoxAnswers answers;
    answers.AnswerNotices();
    dialog.accept();
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text,
              QStringLiteral("Veuillez sélectionner au moins un élément à afficher dans la fenêtre principale."));
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "stays open";
    EXPECT_FALSE(written(u"Opacity"));
    EXPECT_FALSE(written(u"ShowFav"));
    EXPECT_TRUE(app->Settings().showFav);
}

// Escape in any field of the tray's dialogs is their "Annuler": the
// options' preview of the opacity is undone and nothing is written.
TEST_F(TrayDialogsTest, EscapeInEveryFieldOfTheDialogsIsAnnuler)
{
    struct Dialog
    {
        const char *name;
        std::function<EscapeKeys::Outcome(int field)> open;
    };
    const Dialog dialogs[] = {
        {"options",
         [this](int field) {
             CDlgOptions dialog(*app);
             dialog.Slider()->setValue(100);
             alphas.clear();
             const EscapeKeys::Outcome outcome = EscapeKeys::PressIn(&dialog, field);
             EXPECT_EQ(alphas, QList<int>{255}) << "the stored opacity again";
             return outcome;
         }},
        {"task", [this](int field) {
             CDlgTask dialog(*app);
             return EscapeKeys::PressIn(&dialog, field);
         }},
        {"user", [this](int field) {
             CDlgUser dialog(*app);
             return EscapeKeys::PressIn(&dialog, field);
         }},
    };
    for (const Dialog &d : dialogs) {
        SCOPED_TRACE(d.name);
        int count = 1;
        for (int field = -1; field < count; ++field) {
            const EscapeKeys::Outcome outcome = d.open(field);
            count = outcome.fields;
            SCOPED_TRACE(outcome.field.toStdString());
            EXPECT_TRUE(outcome.closed);
            EXPECT_EQ(outcome.result, int(QDialog::Rejected));
        }
        EXPECT_GT(count, 1);
    }
    EXPECT_FALSE(written(u"Opacity"));
    EXPECT_FALSE(written(u"ShowFav"));
}

TEST_F(TrayDialogsTest, OptionsOkWithoutChangeWritesOnlyTheOpacityAndCancelUndoesThePreview)
{
    {
        CDlgOptions dialog(*app);
        dialog.Slider()->setValue(100);
        EXPECT_EQ(alphas, QList<int>{100}) << "previewed at once";
        dialog.reject();
        EXPECT_EQ(alphas.last(), 255) << "the stored opacity again";
        EXPECT_FALSE(written(u"Opacity"));
        EXPECT_EQ(app->Settings().opacity, 255);
    }
    CDlgOptions dialog(*app);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.IsLayoutChanged());
    EXPECT_EQ(settings.getInt(u"Tray", u"Config", u"Opacity", -1), 255);
    for (const char16_t *name : {u"AutoHide", u"AutoHideInfos", u"EndTaskOnStandby", u"LeftClick", u"ActionOnRestart",
                                 u"ShowToolBar", u"ShowResume", u"ShowDay", u"ShowTask", u"ShowFav"})
        EXPECT_FALSE(written(name)) << QString::fromUtf16(name).toStdString();
}

TEST_F(TrayDialogsTest, OptionsWriteWhatChanged)
{
    settings.setInt(u"Tray", u"Config", u"LeftClick", 3);
    settings.setInt(u"Tray", u"Config", u"EndTaskOnStandby", 0);
    app->LoadSettings();
    CDlgOptions dialog(*app);
    EXPECT_EQ(dialog.LeftClickCombo()->currentIndex(), 1) << "'Afficher la fenêtre Infos' is the second item";
    EXPECT_EQ(dialog.LeftClickCombo()->currentText(), QStringLiteral("Afficher la fenêtre Infos"));
    EXPECT_FALSE(dialog.ResumeCombo()->isEnabled()) << "standby off";
    QTest::mouseClick(dialog.Check(CDlgOptions::EndTaskOnStandby), Qt::LeftButton);
    EXPECT_TRUE(dialog.ResumeCombo()->isEnabled());
    QTest::mouseClick(dialog.Check(CDlgOptions::EndTaskOnStandby), Qt::LeftButton);
    dialog.ResumeCombo()->setCurrentIndex(1);
    dialog.Check(CDlgOptions::ShowDay)->setChecked(false);
    dialog.Check(CDlgOptions::AutoHide)->setChecked(false);
    dialog.accept();
    EXPECT_TRUE(dialog.IsLayoutChanged());
    EXPECT_EQ(settings.getInt(u"Tray", u"Config", u"ActionOnRestart", -1), 1) << "written, the list disabled or not";
    EXPECT_EQ(settings.getInt(u"Tray", u"Config", u"ShowDay", -1), 0);
    EXPECT_EQ(settings.getInt(u"Tray", u"Config", u"AutoHide", -1), 0);
    EXPECT_FALSE(written(u"ShowFav"));
    EXPECT_FALSE(app->Settings().showDay);
    EXPECT_EQ(app->Settings().actionOnRestart, 1);
}

TEST_F(TrayDialogsTest, OptionsStartWithTheSessionThroughTheAutostartEntry)
{
    const QString entry = TrayAutostart::EntryPath();
    {
        CDlgOptions dialog(*app);
        EXPECT_FALSE(dialog.Check(CDlgOptions::StartWithSession)->isChecked());
        dialog.Check(CDlgOptions::StartWithSession)->setChecked(true);
        dialog.accept();
    }
    EXPECT_TRUE(QFile::exists(entry));
    EXPECT_TRUE(app->IsStartWithWindows());
    CDlgOptions dialog(*app);
    EXPECT_TRUE(dialog.Check(CDlgOptions::StartWithSession)->isChecked());
    dialog.Check(CDlgOptions::StartWithSession)->setChecked(false);
    dialog.accept();
    EXPECT_FALSE(QFile::exists(entry));
}

TEST_F(TrayDialogsTest, OptionsTellWhenTheStartWithTheSessionCannotBeWrittenOrRemoved)
{
    const QString entry = TrayAutostart::EntryPath();
    const QString autostart = QFileInfo(entry).absolutePath();
    MessageBoxAnswers answers;
    answers.AnswerNotices();
    {
        // A file where the entries' folder should be: nothing can be written.
        ASSERT_TRUE(QDir().mkpath(QFileInfo(autostart).absolutePath()));
        ASSERT_FALSE(QFileInfo::exists(autostart));
        QFile file(autostart);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        CDlgOptions dialog(*app);
        dialog.Check(CDlgOptions::StartWithSession)->setChecked(true);
        dialog.Check(CDlgOptions::AutoHide)->setChecked(false);
        dialog.accept();
        ASSERT_EQ(answers.AskedBoxes().size(), 1u);
        EXPECT_EQ(answers.AskedBoxes()[0].text,
                  QStringLiteral("Le démarrage avec la session n'a pas pu être enregistré : le fichier suivant n'a pas "
                                 "pu être écrit.\n%1")
                      .arg(entry));
        EXPECT_EQ(answers.AskedBoxes()[0].caption, QStringLiteral("Erreur"));
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << "the other choices are kept";
        EXPECT_FALSE(app->Settings().autoHide);
        EXPECT_FALSE(app->IsStartWithWindows());
    }
    {
        ASSERT_TRUE(QFile::remove(autostart));
        ASSERT_TRUE(TrayAutostart::Set(true, app->ProgramPath()));
        CDlgOptions dialog(*app);
        ASSERT_TRUE(dialog.Check(CDlgOptions::StartWithSession)->isChecked());
        // Replaced meanwhile by something that cannot be removed.
        ASSERT_TRUE(QFile::remove(entry));
        ASSERT_TRUE(QDir().mkpath(entry + QStringLiteral("/inside")));
        dialog.Check(CDlgOptions::StartWithSession)->setChecked(false);
        dialog.accept();
        ASSERT_EQ(answers.AskedBoxes().size(), 2u);
        EXPECT_TRUE(answers.AskedBoxes()[1].text.startsWith(
            QStringLiteral("Le démarrage avec la session n'a pas pu être supprimé")));
        EXPECT_TRUE(answers.AskedBoxes()[1].text.endsWith(entry));
    }
}

TEST_F(TrayDialogsTest, TheUserDialogFollowsTheMainProgramsUserByExactName)
{
    {
        SQLite::CmyDataBase users;
        ASSERT_EQ(users.Open(folder + QStringLiteral("Users.sdb")), 0);
        ASSERT_EQ(users.Execute(u"insert into Users (Nom, Selected) values ('anne', 0)"), 0);
        ASSERT_EQ(users.Execute(u"insert into Users (Nom, Selected) values ('Bruno', 0)"), 0);
    }
    CDlgUser dialog(*app);
    ASSERT_EQ(dialog.Users()->count(), 3);
    EXPECT_EQ(dialog.Users()->currentText(), QStringLiteral("Anne"));
    EXPECT_TRUE(dialog.FollowMainUser()->isChecked());
    EXPECT_FALSE(dialog.Users()->isEnabled());
    QTest::mouseClick(dialog.FollowMainUser(), Qt::LeftButton);
    EXPECT_TRUE(dialog.Users()->isEnabled());
    dialog.Users()->setCurrentIndex(dialog.Users()->findText(QStringLiteral("Bruno")));
    QTest::mouseClick(dialog.FollowMainUser(), Qt::LeftButton);
    EXPECT_EQ(dialog.Users()->currentText(), QStringLiteral("Anne")) << "not 'anne'";
    // No user marked selected: the selection is cleared.
    {
        SQLite::CmyDataBase users;
        ASSERT_EQ(users.Open(folder + QStringLiteral("Users.sdb")), 0);
        ASSERT_EQ(users.Execute(u"update Users set Selected=0"), 0);
    }
    QTest::mouseClick(dialog.FollowMainUser(), Qt::LeftButton);
    QTest::mouseClick(dialog.FollowMainUser(), Qt::LeftButton);
    EXPECT_EQ(dialog.Users()->currentIndex(), -1);
}

TEST_F(TrayDialogsTest, OkInTheUserDialogWithoutAUserLeavesNoDatabase)
{
    CZarvoTrayDlg::Dialogs().chooseUser = [this](QWidget *) {
        CDlgUser dialog(*app);
        QTest::mouseClick(dialog.FollowMainUser(), Qt::LeftButton);
        dialog.Users()->setCurrentIndex(-1);
        dialog.accept();
        return true;
    };
    window->ChooseUser();
    EXPECT_EQ(settings.getInt(u"Tray", u"User", u"Auto", -1), 0);
    EXPECT_EQ(settings.getInt(u"Tray", u"User", u"Id", 0), -1);
    EXPECT_EQ(app->User().userId, -1);
    EXPECT_TRUE(app->User().databasePath.isEmpty());
    EXPECT_TRUE(app->IsCompact()) << "the missing-database message";
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("Zarvo.sdb")));
}

TEST_F(TrayDialogsTest, TheTaskDialogStartsAtItsOpeningWithTheDefaultsOfItsChoices)
{
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(u"insert into TauxHoraire (Id,Nom,Valeur,Deleted,Date_Modif,Origine_Modif) values "
                             u"(7,'Standard',0,0,1,1),(8,'Expert',95.5,0,1,1),(9,'Ancien',10,1,1,1)"),
                  0);
        ASSERT_EQ(db.Execute(u"insert into Activites (Id,Nom,Ordre,IdTauxHoraire,Deleted,Date_Modif,Origine_Modif) "
                             u"values (4,'Réunion',2,-1,0,1,1),(5,'Conseil',1,8,0,1,1),(6,'Vieille',0,-1,1,1,1)"),
                  0);
        ASSERT_EQ(db.Execute(u"update Projets set Activity=4, IdTauxHoraire=7 where Id=32"), 0);
        ASSERT_EQ(db.Execute(u"update Infos set Value='1' where Name='Modif'"), 0);
    }
    notice(1);
    CDlgTask dialog(*app);
    const qint64 opened = now;
    EXPECT_EQ(dialog.Rates()->count(), 3);
    EXPECT_EQ(dialog.Rates()->itemText(1), QStringLiteral("Standard")) << "a zero rate by its name";
    EXPECT_EQ(dialog.Rates()->itemText(2), QStringLiteral("Expert (%1)").arg(app->Texts().CurrencyText(95.5)));
    ASSERT_EQ(dialog.Activities()->count(), 3);
    EXPECT_EQ(dialog.Activities()->itemText(1), QStringLiteral("Conseil")) << "by order";
    EXPECT_FALSE(dialog.Ok()->isEnabled());
    EXPECT_FALSE(dialog.WarningPicture()->isHidden());

    // The project brings its activity and rate; an activity its own rate.
    dialog.Projects()->setCurrentIndex(dialog.Projects()->findData(32));
    EXPECT_EQ(dialog.Activities()->currentText(), QStringLiteral("Réunion"));
    EXPECT_EQ(dialog.Rates()->currentText(), QStringLiteral("Standard"));
    EXPECT_EQ(dialog.Projects()->FieldText(dialog.Projects()->currentIndex()), QStringLiteral("Client"));
    EXPECT_FALSE(dialog.Projects()->itemIcon(dialog.Projects()->currentIndex()).isNull()) << "the project's picture";
    dialog.Activities()->setCurrentIndex(1);
    EXPECT_TRUE(dialog.Rates()->currentText().startsWith(QStringLiteral("Expert")));
    EXPECT_TRUE(dialog.Ok()->isEnabled());
    EXPECT_TRUE(dialog.WarningPicture()->isHidden());

    // An activity alone is enough; the entry begins when the dialog opened.
    dialog.Projects()->setCurrentIndex(0);
    EXPECT_TRUE(dialog.Ok()->isEnabled());
    dialog.Title()->setText(QStringLiteral("Atelier & suite"));
    dialog.Notes()->setPlainText(QStringLiteral("Préparer"));
    dialog.InvoicedBox()->setChecked(true);
    now += 300;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(cell(QStringLiteral("select Debut||'/'||Fin||'/'||IdProjet||'/'||IdActivite||'/'||IdTauxHoraire||'/'||"
                                  "Facture||'/'||Title||'/'||Notes from Taches order by Id desc limit 1")),
              QStringLiteral("%1/0/-1/5/8/1/Atelier & suite/Préparer").arg(opened));
}

// The main program chose another user while the dialog was open: the
// dialog's lists are Anne's, so OK writes into no database, says that the
// user changed and the task was not started (not that a write failed), and
// closes; the project keeps the name it was listed with.
TEST_F(TrayDialogsTest, TheTaskDialogWritesIntoNoOtherUsersDatabase)
{
    const QString bruno = addBruno();
    put(101, at(17, 0), 0);
    const QString anne = entriesOf(path);
    CDlgTask dialog(*app);
    EXPECT_EQ(dialog.DatabasePath(), path);
    dialog.Projects()->setCurrentIndex(dialog.Projects()->findData(32));
    mainSelects(QStringLiteral("Bruno"));
    EXPECT_EQ(app->Store().GetProjectFullName(32), QStringLiteral("Autre"));
    EXPECT_EQ(dialog.Projects()->FieldText(dialog.Projects()->currentIndex()), QStringLiteral("Client"));
    MessageBoxAnswers answers;
    answers.AnswerNotices();
    dialog.show();
    QTest::mouseClick(dialog.Ok(), Qt::LeftButton);
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, QStringLiteral("L'utilisateur a été changé dans Zarvo pendant que cette "
                                                           "fenêtre était ouverte.\nLa tâche n'a pas été démarrée."));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(entriesOf(bruno), QString());
    EXPECT_EQ(entriesOf(path), anne);

    // Back on Anne, a dialog opened meanwhile writes into her database.
    mainSelects(QStringLiteral("Anne"));
    CDlgTask again(*app);
    again.Projects()->setCurrentIndex(again.Projects()->findData(32));
    again.accept();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("2"));
    EXPECT_EQ(entriesOf(bruno), QString());
}

TEST_F(TrayDialogsTest, TheInfosWindowKeepsItsPlaceAndComesBackAfterARestart)
{
    put(101, at(17, 0), 0);
    window->ToggleInfos();
    CMyDesktopAlertWnd *infos = TrayDialogs::Infos();
    ASSERT_NE(infos, nullptr);
    EXPECT_TRUE(infos->isVisible());
    EXPECT_TRUE(infos->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(infos->Content()->TaskButton()->text(), QStringLiteral("1:00"));
    EXPECT_EQ(settings.getInt(u"Tray", u"PopupInfos", u"Visible", 0), 1);
    EXPECT_TRUE(window->Command(ShowInfos)->isEnabled());
    infos->move(321, 234);
    EXPECT_EQ(settings.getInt(u"Tray", u"PopupInfos", u"Left", 0), 321);
    // The tray's tips on its buttons, made when they show.
    const auto tipOf = [](QWidget *button) {
        QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(button, &help);
        auto *tip = button->findChild<CTrayToolTip *>();
        return tip ? tip->Content() : tToolTipContent();
    };
    QWidget *task = infos->Content()->TaskButton();
    EXPECT_EQ(WidgetIds::ControlId(task), CMyDesktopAlertWnd::TaskButtonId);
    EXPECT_EQ(tipOf(task).title, QStringLiteral("Dernière tâche :"));
    EXPECT_TRUE(tipOf(task).description.endsWith(QStringLiteral("(Cliquez pour mettre en pause)")));
    EXPECT_EQ(tipOf(infos->Content()->TodayButton()).description, QStringLiteral("1 tâche\nDurée : 1:00"));
    infos->SetAlpha(128);
    EXPECT_NEAR(infos->windowOpacity(), 128 / 255.0, 0.01);

    // A click on the time pauses; with "AutoHideInfos" off the window stays.
    app->Settings().autoHideInfos = false;
    QTest::mouseClick(infos->Content()->TaskButton(), Qt::LeftButton);
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=101")), QString::number(now));
    EXPECT_TRUE(infos->isVisible());

    // The tray ends with the window open: it opens again at the same place.
    window->Quit();
    window = nullptr;
    app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TrayDialogs::Infos(), nullptr);
    CAppData::Clear();
    startAsProgram();
    ASSERT_NE(TrayDialogs::Infos(), nullptr);
    EXPECT_EQ(TrayDialogs::Infos()->pos(), QPoint(321, 234));

    // Closed by the user: not at the next start.
    window->ToggleInfos();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TrayDialogs::Infos(), nullptr);
    EXPECT_EQ(settings.getInt(u"Tray", u"PopupInfos", u"Visible", 1), 0);
}

// While the Infos window shows, kept on top of the other windows in the
// corner it shares with the tray window, the task dialog, the options and
// the user dialog open above it, their OK and Annuler out of it; with the
// Infos window closed they open as any dialog, where they are put.
TEST_F(TrayDialogsTest, TheDialogsOpenAboveTheInfosWindowAndOutOfItsWay)
{
    window->ShowOrHide();
    const struct
    {
        const char *name;
        std::function<void()> open;
        const char *dialog;
    } opens[] = {
        {"the task dialog", [this] { window->NewTask(); }, "CDlgTask"},
        {"the options", [this] { window->Options(); }, "CDlgOptions"},
        {"the user dialog", [this] { window->ChooseUser(); }, "CDlgUser"},
    };
    for (bool infosShown : {true, false}) {
        if ((TrayDialogs::Infos() && TrayDialogs::Infos()->isVisible()) != infosShown)
            window->ToggleInfos();
        const CMyDesktopAlertWnd *infos = TrayDialogs::Infos();
        ASSERT_EQ(infos && infos->isVisible(), infosShown);
        for (const auto &o : opens) {
            SCOPED_TRACE(std::string(o.name) + (infosShown ? ", the Infos window shown" : ", no Infos window"));
            QString shown;
            bool onTop = false;
            QList<QRect> buttons;
            QTimer::singleShot(0, [&] {
                auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                shown = QString::fromLatin1(dialog->metaObject()->className());
                onTop = dialog->windowFlags() & Qt::WindowStaysOnTopHint;
                for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
                    if (WidgetIds::ControlId(button) == 1 || WidgetIds::ControlId(button) == 2)
                        buttons << QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
                }
                dialog->reject();
            });
            o.open();
            ASSERT_EQ(shown, QString::fromLatin1(o.dialog));
            EXPECT_EQ(onTop, infosShown);
            ASSERT_EQ(buttons.size(), 2) << "OK and Annuler";
            for (const QRect &button : buttons) {
                if (infosShown) {
                    EXPECT_FALSE(button.intersects(infos->frameGeometry()));
                }
            }
        }
    }
}

// A window manager that minimises the tray window takes the Infos window
// along: the commands then offer to show it, one shows it where the user
// sees it, and the tray's end still records it open for the next start.
TEST_F(TrayDialogsTest, AnInfosWindowMinimisedWithTheTrayWindowIsShownByOneCommand)
{
    window->ToggleInfos();
    ASSERT_NE(TrayDialogs::Infos(), nullptr);
    EXPECT_EQ(CTrayToolTip::CommandContent(window->CommandText(ShowInfos)).title,
              QStringLiteral("Masquer la fenêtre Infos"));
    TrayDialogs::Infos()->showMinimized();
    EXPECT_EQ(CTrayToolTip::CommandContent(window->CommandText(ShowInfos)).title, QStringLiteral("Fenêtre Infos"));
    window->ShowPopupMenu(QPoint(100, 100));
    QAction *item = nullptr;
    for (QAction *action : window->PopupMenu()->actions()) {
        if (WidgetIds::CommandId(action) == ShowInfos)
            item = action;
    }
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Afficher la fenêtre Infos"));
    window->PopupMenu()->hide();

    item->trigger();
    CMyDesktopAlertWnd *infos = TrayDialogs::Infos();
    ASSERT_NE(infos, nullptr);
    EXPECT_TRUE(infos->isVisible());
    EXPECT_FALSE(infos->isMinimized());
    EXPECT_EQ(settings.getInt(u"Tray", u"PopupInfos", u"Visible", 0), 1);

    // Minimised along again when the tray ends: open at the next start.
    infos->showMinimized();
    window->Quit();
    EXPECT_EQ(settings.getInt(u"Tray", u"PopupInfos", u"Visible", 0), 1);
}

TEST_F(TrayDialogsTest, AStandbyRecordAskingForTheInfosWindowOpensItAtTheNextStart)
{
    // The session ended with an entry running, an hour ago.
    put(101, at(16, 0), 0);
    window->OnSuspend();
    ASSERT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", -1), 101);
    window = nullptr;
    app.reset();
    CAppData::Clear();
    ASSERT_EQ(settings.getInt(u"Tray", u"PopupInfos", u"Visible", 0), 0);
    settings.setInt(u"Tray", u"Config", u"ActionOnRestart", 2);
    now += 3600;
    startAsProgram();
    ASSERT_NE(TrayDialogs::Infos(), nullptr);
    EXPECT_TRUE(TrayDialogs::Infos()->isVisible());
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", 0), -1) << "the record is used once";
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0")), QStringLiteral("0"));
}

TEST_F(TrayDialogsTest, TheInfosWindowTakesTheWideFormForALongDayText)
{
    EXPECT_EQ(CMyDesktopAlertWnd::TemplateFor(89), CMyDesktopAlertWnd::NarrowTemplate);
    EXPECT_EQ(CMyDesktopAlertWnd::TemplateFor(90), CMyDesktopAlertWnd::WideTemplate);
    window->ToggleInfos();
    const int narrow = TrayDialogs::Infos()->width();
    EXPECT_EQ(TrayDialogs::Infos()->Template(), CMyDesktopAlertWnd::NarrowTemplate);
    // Closed and asked again at once: it opens.
    window->ToggleInfos();
    window->ToggleInfos();
    ASSERT_NE(TrayDialogs::Infos(), nullptr);
    EXPECT_TRUE(TrayDialogs::Infos()->isVisible());
    window->ToggleInfos();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settings.setString(u"Config", u"Format", u"sDuree", QStringLiteral("%1!d! heures et %2!02d! minutes"));
    notice(4);
    window->ToggleInfos();
    EXPECT_EQ(TrayDialogs::Infos()->Template(), CMyDesktopAlertWnd::WideTemplate);
    EXPECT_GT(TrayDialogs::Infos()->width(), narrow);
}

TEST_F(TrayDialogsTest, WithoutADatabaseTheInfosWindowShowsNoOnesDay)
{
    put(101, at(17, 0), 0);
    window->Reload(false, false);
    window->ToggleInfos();
    CViewResume *content = TrayDialogs::Infos()->Content();
    EXPECT_EQ(content->TaskButton()->text(), QStringLiteral("1:00"));
    ASSERT_TRUE(QFile::remove(path));
    window->OnPollTimer();
    ASSERT_TRUE(app->IsCompact());
    EXPECT_EQ(content->TaskButton()->text(), QStringLiteral(" "));
    EXPECT_EQ(content->TodayButton()->text(), QStringLiteral(" "));
    EXPECT_EQ(content->CurrentPicture(), CViewResume::TaskPicture::None);
}

TEST_F(TrayDialogsTest, F1TheMenuAndTheHelpButtonsOpenTheTrayPagesAndAFailingBrowserIsTold)
{
    // The help pages of the tray's language beside a program folder.
    const QString programFolder = TestFolders::root() + QStringLiteral("/programme/");
    const QString helpFolder = programFolder + QStringLiteral("Fra/ZarvoFra/");
    const auto page = [&](int topic) { return helpFolder + HelpTopics::PageName(topic); };
    CLanguageSelector languages(programFolder + QStringLiteral("ZarvoTray"));
    languages.SetSystemLanguages({});
    languages.ChooseLanguage();
    QStringList opened;
    bool browserOpens = true;
    ApplicationHelp::SetUrlOpener([&](const QUrl &url) {
        opened << url.toLocalFile();
        return browserOpens;
    });
    ApplicationHelp::Register(languages);
    // Without pages the help is greyed.
    languages.ChooseHelpLanguage();
    notice(3);
    EXPECT_FALSE(window->Command(Help)->isEnabled());
    icon->RightClick();
    EXPECT_FALSE(menuItem(Help)->isEnabled());

    for (int topic : {0, HelpTopics::TrayWindowTopic, HelpTopics::TrayOptionsTopic, HelpTopics::TrayTaskTopic,
                      HelpTopics::TrayUserTopic})
        TestFolders::writeFile(QDir(TestFolders::root()).relativeFilePath(helpFolder + HelpTopics::PageName(topic)),
                               "<!DOCTYPE html>\n<html lang=\"fr\"></html>\n");
    languages.ChooseHelpLanguage();
    notice(3);
    ASSERT_TRUE(window->Command(Help)->isEnabled());
    window->Command(Help)->trigger();
    ASSERT_EQ(opened.size(), 1);
    icon->RightClick();
    ASSERT_TRUE(menuItem(Help)->isEnabled());
    menuItem(Help)->trigger();
    window->PopupMenu()->close();
    ASSERT_EQ(opened.size(), 2);
    window->ShowOrHide();
    pressF1(window);
    EXPECT_EQ(opened, QStringList(3, page(HelpTopics::TrayWindowTopic)));

    // Each dialog its own page, by F1 and by its help button.
    const auto helpOf = [&](QDialog &dialog, int topic) {
        opened.clear();
        pressF1(&dialog);
        auto *button = dialog.findChild<QToolButton *>(QStringLiteral("help"));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(opened, QStringList(2, page(topic))) << topic;
    };
    {
        CDlgOptions options(*app, window);
        helpOf(options, HelpTopics::TrayOptionsTopic);
    }
    {
        CDlgTask task(*app, window);
        helpOf(task, HelpTopics::TrayTaskTopic);
    }
    {
        CDlgUser user(*app, window);
        helpOf(user, HelpTopics::TrayUserTopic);
    }

    // A browser that does not start is told, with the page.
    MessageBoxAnswers answers;
    answers.AnswerNotices();
    browserOpens = false;
    window->Command(Help)->trigger();
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text,
              QStringLiteral("La page d'aide n'a pas pu être ouverte dans le navigateur :\n%1")
                  .arg(QDir::toNativeSeparators(helpFolder + HelpTopics::PageName(HelpTopics::TrayWindowTopic))));
}
