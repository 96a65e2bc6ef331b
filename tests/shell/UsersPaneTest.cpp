// The users pane and its view, built for real offscreen on a users folder
// of the test's own.
#include "AppFixture.h"
#include "CConfiguration.h"
#include "CMainFrame.h"
#include "CPaneUser.h"
#include "CReadOnlyCB.h"
#include "CViewUsers.h"
#include "CmyDataBase.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

class UsersPaneTest : public AppFixture
{
protected:
    // Writes Infos stamps into a user's database.
    void setStamps(const QString &name, const QString &backup, const QString &network, const QString &modif)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(databaseOf(name)), 0);
        db.Execute(QStringLiteral("update Infos set Value='%1' where Name='Backup'").arg(backup));
        db.Execute(QStringLiteral("update Infos set Value='%1' where Name='MajLan'").arg(network));
        db.Execute(QStringLiteral("update Infos set Value='%1' where Name='Modif'").arg(modif));
        db.Close();
    }
    QString dateTime(qint64 t) const { return app->Configuration().FormatDate(t, false, true); }
    // The names in the combo box and the selected one.
    static QString comboState(const QComboBox *combo)
    {
        QStringList names;
        for (int i = 0; i < combo->count(); ++i)
            names << combo->itemText(i);
        return names.join(u',') + u'|' + combo->currentText();
    }
};

} // namespace

TEST_F(UsersPaneTest, DatabaseLinesReadTheStampsAndNeverMakeADatabase)
{
    const qint64 backup = 1765000000;  // 6 December 2025
    const qint64 network = 1765100000; // later
    const qint64 modif = 1765200000;
    addUser(QStringLiteral("Anne"));
    const tUsers *anne = app->Users().Current();
    ASSERT_NE(anne, nullptr);
    const CConfiguration &config = app->Configuration();

    struct Case
    {
        const char *name;
        QString backup, network, modif;
        QString first, modified;
    };
    const QString synchronised = QStringLiteral("Synchronisée le : ");
    const QString changed = QStringLiteral("Modifiée le : ");
    const Case cases[] = {
        {"backup stamp", QString::number(backup), QString(), QString::number(modif), synchronised + dateTime(backup),
         changed + dateTime(modif)},
        {"the later network update", QString::number(backup), QString::number(network), QString(),
         synchronised + dateTime(network), changed},
        {"never synchronised: the file's creation", QString(), QString(), QString::number(modif),
         QStringLiteral("Créé le : ") + dateTime(CViewUsers::FileCreationTime(databaseOf(QStringLiteral("Anne")))),
         changed + dateTime(modif)},
        {"a zero stamp is none", QStringLiteral("0"), QString(), QStringLiteral("0"),
         QStringLiteral("Créé le : ") + dateTime(CViewUsers::FileCreationTime(databaseOf(QStringLiteral("Anne")))),
         changed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setStamps(QStringLiteral("Anne"), c.backup, c.network, c.modif);
        const CViewUsers::DatabaseLines lines = CViewUsers::ReadDatabaseLines(anne, config);
        EXPECT_TRUE(lines.shown);
        EXPECT_EQ(lines.first, c.first);
        EXPECT_EQ(lines.modified, c.modified);
    }
    EXPECT_GT(CViewUsers::FileCreationTime(databaseOf(QStringLiteral("Anne"))), 0);

    // The file gone: no first line, the prefix alone, and still no file.
    ASSERT_TRUE(QFile::remove(databaseOf(QStringLiteral("Anne"))));
    const CViewUsers::DatabaseLines missing = CViewUsers::ReadDatabaseLines(anne, config);
    EXPECT_TRUE(missing.shown);
    EXPECT_EQ(missing.first, QString());
    EXPECT_EQ(missing.modified, changed);
    EXPECT_FALSE(QFile::exists(databaseOf(QStringLiteral("Anne"))));
    CViewUsers view(*app, nullptr);
    view.Refill();
    EXPECT_EQ(view.ModifiedLineLabel()->text(), changed);
    EXPECT_FALSE(QFile::exists(databaseOf(QStringLiteral("Anne"))));

    // No user: both lines hidden.
    EXPECT_FALSE(CViewUsers::ReadDatabaseLines(nullptr, config).shown);
    app->Users().Clear();
    view.Refill();
    view.show();
    EXPECT_FALSE(view.FirstLineLabel()->isVisible());
    EXPECT_FALSE(view.ModifiedLineLabel()->isVisible());
    EXPECT_EQ(view.Combo()->count(), 1); // Anne is still listed, selected by nobody
}

TEST_F(UsersPaneTest, OnlyAChoiceOfTheUserSwitchesAndOnlyOnce)
{
    const int anne = addUser(QStringLiteral("Anne"));
    const int bruno = addUser(QStringLiteral("Bruno"));
    app->SwitchUser(anne);
    CViewUsers view(*app, nullptr);
    view.Refill();
    view.resize(260, 200);
    view.show();
    EXPECT_EQ(comboState(view.Combo()), QStringLiteral("Anne,Bruno|Anne"));

    // A refill (after another part changed the users) switches nobody.
    app->Users().SwitchUser(bruno);
    view.Refill();
    EXPECT_EQ(comboState(view.Combo()), QStringLiteral("Anne,Bruno|Bruno"));
    app->Users().SwitchUser(anne);
    view.Refill();
    EXPECT_EQ(app->Users().GetCurrentId(), anne);

    // By the keys: one step, one switch.
    int switches = 0;
    QObject::connect(view.Combo(), &QComboBox::activated, [&switches] { ++switches; });
    view.Combo()->setFocus();
    QTest::keyClick(view.Combo(), Qt::Key_Down);
    EXPECT_EQ(app->Users().GetCurrentId(), bruno);
    EXPECT_EQ(switches, 1);

    // By the mouse in the open list.
    view.Combo()->showPopup();
    QAbstractItemView *list = view.Combo()->view();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, first.center());
    EXPECT_EQ(app->Users().GetCurrentId(), anne);
    EXPECT_EQ(switches, 2);
    EXPECT_EQ(view.Combo()->currentText(), QStringLiteral("Anne"));
}

TEST_F(UsersPaneTest, TheButtonRunsTheManageCommandAndTheTextsAndMarginsHold)
{
    addUser(QStringLiteral("Anne"));
    QAction manage(nullptr);
    manage.setEnabled(false);
    int runs = 0;
    QObject::connect(&manage, &QAction::triggered, [&runs] { ++runs; });
    CPaneUser pane(*app, &manage);
    pane.View()->Refill();
    pane.resize(300, 260);
    pane.show();
    CViewUsers *view = pane.View();
    QToolButton *button = view->ManageButtonWidget();

    EXPECT_FALSE(button->isEnabled());
    manage.setEnabled(true);
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(button->toolTip(), QStringLiteral("Ajouter, modifier ou supprimer un utilisateur."));
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    auto *group = view->findChild<QGroupBox *>(QStringLiteral("1152"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("Base de données"));

    // The view fills the pane but for its frame; the combo box ends 5 pixels
    // before the right edge, the group box runs 5 inside, the lines 10.
    QWidget *body = pane.widget();
    EXPECT_EQ(view->geometry(), body->rect().adjusted(1, 1, -1, -1));
    const QRect combo = view->Combo()->geometry();
    EXPECT_EQ(view->width() - (combo.x() + combo.width()), 5);
    EXPECT_EQ(group->x(), 5);
    EXPECT_EQ(view->width() - (group->x() + group->width()), 5);
    for (QLabel *line : {view->FirstLineLabel(), view->ModifiedLineLabel()}) {
        const QRect r(line->mapTo(view, QPoint(0, 0)), line->size());
        EXPECT_EQ(r.x(), 10);
        EXPECT_EQ(view->width() - (r.x() + r.width()), 10);
    }

    // A one-pixel frame in the shadow colour just around the view.
    const QImage shot = body->grab().toImage();
    const QRgb shadow = body->palette().color(QPalette::Dark).rgb();
    EXPECT_EQ(shot.pixel(0, 0), shadow);
    EXPECT_EQ(shot.pixel(body->width() - 1, body->height() / 2), shadow);

    view->ShowLastModified(1765200000);
    EXPECT_EQ(view->ModifiedLineLabel()->text(), QStringLiteral("Modifiée le : ") + dateTime(1765200000));
}

TEST_F(UsersPaneTest, InTheProgramThePaneFollowsTheUsersAndItsButtonManagesThem)
{
    const int anne = addUser(QStringLiteral("Anne"));
    addUser(QStringLiteral("Bruno"));
    app->SwitchUser(anne);
    ASSERT_TRUE(app->InitInstance()); // the real main frame
    CMainFrame *frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    CViewUsers *view = frame->UsersPane()->View();
    EXPECT_EQ(comboState(view->Combo()), QStringLiteral("Anne,Bruno|Anne"));
    EXPECT_FALSE(view->ManageButtonWidget()->isEnabled()) << "no users dialog yet";

    // A switch from the toolbar's combo box shows here too.
    QComboBox *toolbar = frame->UserCombo();
    toolbar->setCurrentIndex(1);
    emit toolbar->activated(1);
    EXPECT_EQ(comboState(view->Combo()), QStringLiteral("Anne,Bruno|Bruno"));

    // The users dialog makes a user and chooses her.
    int opened = 0;
    app->Windows().manageUsers = [this, &opened](int &userId) {
        ++opened;
        userId = addUser(QStringLiteral("Chloé"));
        return true;
    };
    app->UpdateCommandStates();
    ASSERT_TRUE(view->ManageButtonWidget()->isEnabled());
    QTest::mouseClick(view->ManageButtonWidget(), Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(comboState(view->Combo()), QStringLiteral("Anne,Bruno,Chloé|Chloé"));
    EXPECT_TRUE(view->FirstLineLabel()->text().startsWith(QStringLiteral("Créé le : ")));
}
