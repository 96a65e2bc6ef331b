// The users dialogs driven as a user would, every question answered
// through the message boxes' seam: deleting, renaming (the folder follows,
// or nothing changes), copying, the information shown on a user, and the
// association dialog.
#include "../datastore/ShortBusyWait.h"
#include "AppFixture.h"
#include "CColorChoiceButton.h"
#include "CConfiguration.h"
#include "CDlgAssocier.h"
#include "CDlgUser.h"
#include "CDlgUsers.h"
#include "CMyEdit.h"
#include "CReadOnlyCB.h"
#include "CmyDataBase.h"
#include "Formatter.h"
#include "NewUserFiles.h"
#include "RefusedUserNames.h"
#include "Texts.h"
#include "UserColourControls.h"
#include "UserFolderChanges.h"

#include <QCryptographicHash>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class UsersDialogsTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        bruno = addUser(QStringLiteral("Bruno"));
        anne = addUser(QStringLiteral("Anne")); // current
    }
    void TearDown() override
    {
        users.reset();
        AppFixture::TearDown();
    }
    void openUsers()
    {
        users = std::make_unique<CDlgUsers>(app->Users(), app->Configuration(), [this](QWidget *) {
            ++wizardRuns;
            return wizardAnswer;
        });
        users->show();
    }
    void select(const QString &name)
    {
        const auto found = users->ListControl()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        users->ListControl()->setCurrentItem(found.front());
    }
    QPushButton *usersButton(int id) const { return users->findChild<QPushButton *>(QString::number(id)); }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < users->ListControl()->count(); ++i)
            names << users->ListControl()->item(i)->text();
        return names;
    }
    // Runs the user dialog on `id` with the name typed in and OK pressed;
    // true when it closed.
    bool runUser(int id, bool copy, const QString &name, int *created = nullptr)
    {
        CDlgUser dialog(app->Users(), id, copy, 0xE6E6E6);
        dialog.show();
        EnterName(dialog.NameControl(), name);
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("1")), Qt::LeftButton);
        if (created)
            *created = dialog.CreatedUserId();
        return dialog.result() == QDialog::Accepted;
    }
    QString folderOf(const QString &name) const { return usersFolder + name; }
    std::vector<QString> texts() const
    {
        std::vector<QString> shown;
        for (const Box &box : boxes())
            shown.push_back(box.text);
        return shown;
    }

    int anne = -1;
    int bruno = -1;
    int wizardRuns = 0;
    int wizardAnswer = -1;
    std::unique_ptr<CDlgUsers> users;
};

QByteArray digestOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

} // namespace

TEST_F(UsersDialogsTest, OpensOnTheCurrentUserWithItsDatabaseFacts)
{
    {
        CBdD db(databaseOf(QStringLiteral("Anne")));
        db.Execute(u"insert into Projets(Id, Nom, Deleted) values (7, 'P', 0)");
        db.Execute(u"insert into Projets(Id, Nom, Deleted) values (8, 'Q', 1)");
    }
    openUsers();
    EXPECT_EQ(listed(), QStringList({QStringLiteral("Anne"), QStringLiteral("Bruno")}));
    EXPECT_EQ(users->SelectedUserId(), anne);
    const QString info = users->InformationControl()->toPlainText();
    EXPECT_TRUE(info.contains(Platform::Formatter::sprintf(Platform::Texts::get(580), {1}))) << info.toStdString();
    EXPECT_TRUE(info.contains(Platform::Texts::get(438).trimmed())) << info.toStdString();
    for (int id : {CDlgUsers::ModifyButton, CDlgUsers::DeleteButton, CDlgUsers::SelectButton, CDlgUsers::CopyButton})
        EXPECT_TRUE(usersButton(id)->isEnabled()) << id;

    // A user without a database shows -1 counts, and looking creates none.
    tUsers carl;
    carl.Nom = QStringLiteral("Carl");
    ASSERT_EQ(app->Users().AddUser(carl), CUsers::Done);
    const QString info2 = CDlgUsers::InformationText(carl, app->Configuration());
    EXPECT_TRUE(info2.contains(Platform::Formatter::sprintf(Platform::Texts::get(579), {-1})));
    EXPECT_FALSE(QFileInfo::exists(carl.GetDatabasePath(true)));

    // Sélectionner hands the chosen user back.
    select(QStringLiteral("Bruno"));
    QTest::mouseClick(usersButton(CDlgUsers::SelectButton), Qt::LeftButton);
    EXPECT_EQ(users->ChosenUserId(), bruno);
    EXPECT_EQ(users->result(), QDialog::Accepted);
}

TEST_F(UsersDialogsTest, AUserClickedOrReachedByTheKeyboardCanBeActedOn)
{
    openUsers();
    QListWidget *list = users->ListControl();
    const auto buttonsEnabled = [this] {
        for (int id : {CDlgUsers::ModifyButton, CDlgUsers::DeleteButton, CDlgUsers::SelectButton, CDlgUsers::CopyButton}) {
            if (!usersButton(id)->isEnabled())
                return false;
        }
        return true;
    };
    const auto bruno = list->findItems(QStringLiteral("Bruno"), Qt::MatchExactly).front();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(bruno).center());
    EXPECT_EQ(users->SelectedUserId(), this->bruno);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_FALSE(users->InformationControl()->toPlainText().isEmpty());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(users->SelectedUserId(), anne);
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(UsersDialogsTest, AddRunsTheNewUserWizardAndSelectsTheNewUser)
{
    openUsers();
    QTest::mouseClick(usersButton(CDlgUsers::AddButton), Qt::LeftButton);
    EXPECT_EQ(wizardRuns, 1);
    EXPECT_EQ(users->SelectedUserId(), anne); // cancelled: nothing changes
    tUsers carl;
    carl.Nom = QStringLiteral("Carl");
    ASSERT_EQ(app->Users().AddUser(carl), CUsers::Done);
    wizardAnswer = carl.Id;
    QTest::mouseClick(usersButton(CDlgUsers::AddButton), Qt::LeftButton);
    EXPECT_EQ(users->SelectedUserId(), carl.Id);
    EXPECT_EQ(listed().size(), 3);
}

TEST_F(UsersDialogsTest, DeleteAsksAndKeepsTheLastAndTheCurrentUser)
{
    struct Case
    {
        const char *what;
        const char *name;
        int answer; // 0: no box expected to be answered
        bool box;
        int text;       // the message, 0: the question only
        bool userGone;
        bool folderGone;
    };
    for (const Case &c : {Case{"current", "Anne", 0, false, 468, false, false},
                          Case{"no", "Bruno", MessageBoxAnswer::No, false, 0, false, false},
                          Case{"yes, files kept", "Bruno", MessageBoxAnswer::Yes, false, 0, true, false},
                          Case{"yes with the box", "Bruno", MessageBoxAnswer::Yes, true, 0, true, true}}) {
        if (!app->Users().LoadUserByName(QStringLiteral("Bruno"), *std::make_unique<tUsers>()))
            bruno = addUser(QStringLiteral("Bruno")), app->Users().SwitchUser(anne);
        openUsers();
        clearBoxes();
        select(QString::fromLatin1(c.name));
        if (c.answer)
            answers->Push(c.answer, c.box);
        else
            answers->Push(MessageBoxAnswer::Ok);
        QTest::mouseClick(usersButton(CDlgUsers::DeleteButton), Qt::LeftButton);
        const auto shown = boxes();
        ASSERT_EQ(shown.size(), 1u) << c.what;
        if (c.text) {
            EXPECT_EQ(shown[0].text, Platform::Texts::get(c.text)) << c.what;
        } else {
            EXPECT_EQ(shown[0].text, Platform::Formatter::sprintf(Platform::Texts::get(162), {QStringLiteral("Bruno")}));
            EXPECT_EQ(answers->AskedBoxes().back().checkBoxCaption, Platform::Texts::get(163));
        }
        tUsers found;
        EXPECT_EQ(!app->Users().LoadUserByName(QString::fromLatin1(c.name), found), c.userGone) << c.what;
        EXPECT_EQ(!QFileInfo::exists(folderOf(QString::fromLatin1(c.name))), c.folderGone) << c.what;
        EXPECT_TRUE(QFileInfo::exists(databaseOf(QStringLiteral("Anne")))) << c.what;
    }
    // Alone, Anne cannot go either.
    openUsers();
    clearBoxes();
    ASSERT_EQ(listed(), QStringList{QStringLiteral("Anne")});
    select(QStringLiteral("Anne"));
    answers->Push(MessageBoxAnswer::Ok);
    QTest::mouseClick(usersButton(CDlgUsers::DeleteButton), Qt::LeftButton);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Texts::get(420));
}

TEST_F(UsersDialogsTest, AFolderThatCannotGoToTheTrashIsNamed)
{
    // The trash cannot be made: a plain file stands where it would be.
    TestFolders::writeFile(QStringLiteral("home/.local/share/Trash"), "not a folder");
    openUsers();
    clearBoxes();
    select(QStringLiteral("Bruno"));
    answers->Push(MessageBoxAnswer::Yes, true); // also delete the files
    answers->Push(MessageBoxAnswer::Ok);
    QTest::mouseClick(usersButton(CDlgUsers::DeleteButton), Qt::LeftButton);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, Platform::Formatter::sprintf(Platform::Texts::get(CDlgUsers::TextFolderKept),
                                                           {QDir::toNativeSeparators(folderOf(QStringLiteral("Bruno")) + u'/')}));
    EXPECT_EQ(boxes()[1].icon, MessageBoxType::IconExclamation);
    // The user is gone as asked; the files are where the message says.
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Anne")});
    EXPECT_TRUE(QFileInfo::exists(databaseOf(QStringLiteral("Bruno"))));
}

TEST_F(UsersDialogsTest, RenameMovesTheFolderAndRefusesBadNames)
{
    const QByteArray before = digestOf(databaseOf(QStringLiteral("Bruno")));
    std::vector<RefusedUserName> cases = RefusedUserNames();
    cases.push_back({QStringLiteral("anne"), Platform::Texts::get(175)});
    cases.push_back({QString(), Platform::Texts::get(174)});
    // Refused with the reason, in a rename and in a copy alike.
    for (const bool copy : {false, true}) {
        for (const RefusedUserName &c : cases) {
            SCOPED_TRACE((copy ? "copy: " : "rename: ") + c.typed.toStdString());
            clearBoxes();
            answers->Push(MessageBoxAnswer::Ok);
            EXPECT_FALSE(runUser(bruno, copy, c.typed));
            EXPECT_EQ(texts(), std::vector<QString>{c.message});
            EXPECT_TRUE(QFileInfo::exists(databaseOf(QStringLiteral("Bruno"))));
        }
    }
    EXPECT_EQ(app->Users().CountUsers(), 2);
    {
        CDlgUser dialog(app->Users(), bruno, false, 0xE6E6E6);
        dialog.NameControl()->setText(QString(NewUserFiles::MaxNameLength + 10, u'z'));
        EXPECT_EQ(dialog.NameControl()->text().size(), NewUserFiles::MaxNameLength);
    }
    clearBoxes();
    EXPECT_TRUE(runUser(bruno, false, QStringLiteral("Bruno2")));
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(digestOf(databaseOf(QStringLiteral("Bruno2"))), before);
    EXPECT_FALSE(QFileInfo::exists(folderOf(QStringLiteral("Bruno"))));
    tUsers renamed;
    ASSERT_TRUE(app->Users().LoadUserById(renamed, bruno));
    EXPECT_EQ(renamed.Nom, QStringLiteral("Bruno2"));

    // A folder of the new name in the way: No keeps everything; Yes sends
    // it to the trash whole before the move.
    QDir().mkpath(folderOf(QStringLiteral("Carl")));
    QFile::copy(databaseOf(QStringLiteral("Bruno2")), databaseOf(QStringLiteral("Carl")));
    clearBoxes();
    answers->Push(MessageBoxAnswer::No);
    EXPECT_FALSE(runUser(bruno, false, QStringLiteral("Carl")));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Formatter::sprintf(Platform::Texts::get(418),
                                                           {QDir::toNativeSeparators(folderOf(QStringLiteral("Carl")) + u'/')}));
    EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconQuestion);
    EXPECT_TRUE(QFileInfo::exists(databaseOf(QStringLiteral("Bruno2"))));
    EXPECT_TRUE(QFileInfo::exists(databaseOf(QStringLiteral("Carl"))));
}

TEST_F(UsersDialogsTest, RenamingTheCurrentUserReopensItsDatabaseThere)
{
    {
        CBdD db; // the current user's, through the shared connection
        db.Execute(u"insert into Projets(Id, Nom, Deleted) values (7, 'P', 0)");
    }
    EXPECT_TRUE(runUser(anne, false, QStringLiteral("Annie")));
    EXPECT_EQ(app->Users().GetCurrentName(), QStringLiteral("Annie"));
    EXPECT_EQ(app->Users().GetCurrentDatabasePath(true), databaseOf(QStringLiteral("Annie")));
    CBdD db;
    auto rows = db.Query(u"select count(*) from Projets where Id=7");
    ASSERT_TRUE(rows.hasRows());
    EXPECT_EQ(rows->GetFirstInt(), 1);
    EXPECT_FALSE(QFileInfo::exists(folderOf(QStringLiteral("Anne"))));
}

TEST_F(UsersDialogsTest, ACaseOnlyRenameOfTheSameFolderDeletesNothing)
{
    // A mount that ignores case, emulated: "BRUNO" leads to Bruno's folder.
    ASSERT_TRUE(QFile::link(folderOf(QStringLiteral("Bruno")), folderOf(QStringLiteral("BRUNO"))));
    const QByteArray before = digestOf(databaseOf(QStringLiteral("Bruno")));
    clearBoxes();
    answers->Push(MessageBoxAnswer::Ok);
    runUser(bruno, false, QStringLiteral("BRUNO"));
    // No question about a folder in the way, and Bruno's data untouched
    // wherever the name now leads.
    for (const Box &box : boxes())
        EXPECT_NE(box.text.left(10), Platform::Texts::get(418).left(10));
    const QString kept = QFileInfo::exists(databaseOf(QStringLiteral("Bruno"))) ? databaseOf(QStringLiteral("Bruno"))
                                                                                 : databaseOf(QStringLiteral("BRUNO"));
    EXPECT_EQ(digestOf(kept), before);
    EXPECT_TRUE(UserFolderChanges::SameFolder(folderOf(QStringLiteral("Bruno")), folderOf(QStringLiteral("BRUNO")))
                || QFileInfo(folderOf(QStringLiteral("Bruno"))).isDir());
}

TEST_F(UsersDialogsTest, ACaseOnlyRenameWhoseSecondStepFailsPutsTheFolderBack)
{
    const QByteArray before = digestOf(databaseOf(QStringLiteral("Bruno")));
    int renames = 0;
    UserFolderChanges::SetRenameFault([&](const QString &, const QString &) { return ++renames == 2; });
    clearBoxes();
    answers->Push(MessageBoxAnswer::Ok);
    EXPECT_FALSE(runUser(bruno, false, QStringLiteral("BRUNO")));
    UserFolderChanges::SetRenameFault({});
    EXPECT_EQ(renames, 3); // away, (failed) to the new spelling, back
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Formatter::sprintf(Platform::Texts::get(177),
                                                           {QDir::toNativeSeparators(folderOf(QStringLiteral("Bruno")) + u'/'),
                                                            QDir::toNativeSeparators(folderOf(QStringLiteral("BRUNO")) + u'/')}));
    EXPECT_EQ(digestOf(databaseOf(QStringLiteral("Bruno"))), before);
    EXPECT_EQ(QDir(usersFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("Anne"), QStringLiteral("Bruno")}));
    tUsers kept;
    ASSERT_TRUE(app->Users().LoadUserById(kept, bruno));
    EXPECT_EQ(kept.Nom, QStringLiteral("Bruno"));

    // Without a failure the same rename takes both steps and lands.
    EXPECT_TRUE(runUser(bruno, false, QStringLiteral("BRUNO")));
    EXPECT_EQ(digestOf(databaseOf(QStringLiteral("BRUNO"))), before);
    EXPECT_FALSE(QFileInfo::exists(folderOf(QStringLiteral("Bruno"))));
}

TEST_F(UsersDialogsTest, ACopyWhoseSourceCannotBeCopiedLeavesNoFolderAndNoUser)
{
    // Bruno's database is no database any more: the copy cannot be made.
    {
        QFile garbled(databaseOf(QStringLiteral("Bruno")));
        ASSERT_TRUE(garbled.open(QIODevice::WriteOnly));
        garbled.write(QByteArray(8192, 'x'));
    }
    clearBoxes();
    answers->Push(MessageBoxAnswer::Ok);
    int created = -1;
    EXPECT_FALSE(runUser(bruno, true, QStringLiteral("Carl"), &created));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Formatter::sprintf(Platform::Texts::get(177),
                                                           {QDir::toNativeSeparators(folderOf(QStringLiteral("Bruno")) + u'/'),
                                                            QDir::toNativeSeparators(folderOf(QStringLiteral("Carl")) + u'/')}));
    EXPECT_EQ(created, -1);
    EXPECT_FALSE(QFileInfo::exists(folderOf(QStringLiteral("Carl"))));
    tUsers carl;
    EXPECT_FALSE(app->Users().LoadUserByName(QStringLiteral("Carl"), carl));
    // Nothing of it went to the trash either.
    EXPECT_FALSE(QFileInfo::exists(QDir::homePath() + QStringLiteral("/.local/share/Trash/files/Carl")));
}

TEST_F(UsersDialogsTest, ARenameTheUsersDatabaseRefusesMovesTheFolderBack)
{
    // Another program holds the users database in a write transaction.
    SQLite::CmyDataBase holder;
    ASSERT_EQ(holder.Open(CUsers::GetUsersDatabasePath()), 0);
    holder.Execute(u"begin immediate");
    // It holds it past every wait: the rename's connection gives up at once.
    const ShortBusyWait noWait;
    clearBoxes();
    answers->Push(MessageBoxAnswer::Ok);
    EXPECT_TRUE(runUser(bruno, false, QStringLiteral("Bruno2"))); // closes after the message
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Texts::get(226));
    holder.Execute(u"rollback");
    holder.Close();
    EXPECT_TRUE(QFileInfo::exists(databaseOf(QStringLiteral("Bruno"))));
    EXPECT_FALSE(QFileInfo::exists(folderOf(QStringLiteral("Bruno2"))));
}

TEST_F(UsersDialogsTest, CopyTakesAConsistentDatabaseAndTheReports)
{
    {
        CBdD db(databaseOf(QStringLiteral("Bruno")));
        db.Execute(u"insert into Projets(Id, Nom, Deleted) values (7, 'P', 0)");
    }
    SQLite::CmyDataBase reports;
    ASSERT_EQ(reports.Open(usersFolder + QStringLiteral("Bruno/Zarvo.rpt")), 0);
    reports.Execute(u"create table Reports(Id integer primary key, Nom text)");
    reports.Close();
    // Another connection in the middle of a write transaction.
    SQLite::CmyDataBase tray;
    ASSERT_EQ(tray.Open(databaseOf(QStringLiteral("Bruno"))), 0);
    tray.Execute(u"begin immediate");
    tray.Execute(u"insert into Projets(Id, Nom, Deleted) values (8, 'Half', 0)");

    int created = -1;
    clearBoxes();
    EXPECT_TRUE(runUser(bruno, true, QStringLiteral("Carl"), &created));
    tray.Execute(u"rollback");
    EXPECT_TRUE(boxes().empty());
    ASSERT_NE(created, -1);
    tUsers carl;
    ASSERT_TRUE(app->Users().LoadUserById(carl, created));
    EXPECT_EQ(carl.Nom, QStringLiteral("Carl"));
    SQLite::CmyDataBase copy;
    ASSERT_EQ(copy.OpenReadOnly(databaseOf(QStringLiteral("Carl"))), 0);
    EXPECT_EQ(copy.Query(u"select count(*) from Projets")->GetFirstInt(), 1);
    EXPECT_FALSE(QFileInfo::exists(databaseOf(QStringLiteral("Carl")) + QStringLiteral("-journal")));
    EXPECT_TRUE(QFileInfo::exists(usersFolder + QStringLiteral("Carl/Zarvo.rpt")));

    // A copy from a user without reports removes a stale report file at
    // the new place; a name taken is refused.
    QDir().mkpath(folderOf(QStringLiteral("Dora")));
    QFile stale(usersFolder + QStringLiteral("Dora/Zarvo.rpt"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    clearBoxes();
    answers->Push(MessageBoxAnswer::Yes);
    EXPECT_TRUE(runUser(anne, true, QStringLiteral("Dora"), &created));
    EXPECT_FALSE(QFileInfo::exists(usersFolder + QStringLiteral("Dora/Zarvo.rpt")));
    clearBoxes();
    answers->Push(MessageBoxAnswer::Ok);
    EXPECT_FALSE(runUser(anne, true, QStringLiteral("carl")));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Texts::get(175));
}

TEST_F(UsersDialogsTest, TheUserDialogShowsItsColourKindAndFolder)
{
    tUsers user;
    ASSERT_TRUE(app->Users().LoadUserById(user, bruno));
    user.TypeColor = 0;
    ASSERT_EQ(app->Users().UpdateUser(user, app->Users()), CUsers::Done);
    CDlgUser dialog(app->Users(), bruno, false, 0x123456);
    dialog.show();
    EXPECT_EQ(dialog.Colours().KindCombo()->currentIndex(), 2);
    EXPECT_TRUE(dialog.Colours().ColourButton()->isVisible());
    EXPECT_EQ(dialog.Colours().TypeColor(), 0);
    EXPECT_EQ(dialog.Colours().Colour(), 0x123456u);
    QTest::keyClick(dialog.NameControl(), Qt::Key_End);
    QTest::keyClicks(dialog.NameControl(), QStringLiteral("x"));
    EXPECT_EQ(dialog.FolderControl()->text(), QDir::toNativeSeparators(usersFolder + QStringLiteral("Brunox")));
    dialog.Colours().KindCombo()->setCurrentIndex(0);
    EXPECT_FALSE(dialog.Colours().ColourButton()->isVisible());

    CDlgUser copy(app->Users(), bruno, true, 0x123456);
    EXPECT_EQ(copy.windowTitle(), Platform::Formatter::sprintf(Platform::Texts::get(645), {QStringLiteral("Bruno")}));
    EXPECT_TRUE(copy.NameControl()->text().isEmpty());
}

TEST_F(UsersDialogsTest, AssociatePicksAUserOrMakesOne)
{
    int refreshed = 0;
    int runs = 0;
    tUsers carl;
    carl.Nom = QStringLiteral("Carl");
    ASSERT_EQ(app->Users().AddUser(carl), CUsers::Done);
    CDlgAssocier dialog(
        app->Users(), bruno, [&](QWidget *) { return ++runs == 1 ? -1 : carl.Id; }, [&] { ++refreshed; });
    dialog.show();
    EXPECT_EQ(dialog.ComboControl()->currentText(), QStringLiteral("Bruno"));
    auto *add = dialog.findChild<QPushButton *>(QString::number(CDlgAssocier::AddButton));
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(refreshed, 0);
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(dialog.ComboControl()->currentText(), QStringLiteral("Carl"));
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("1")), Qt::LeftButton);
    EXPECT_EQ(dialog.ChosenUserId(), carl.Id);
}
