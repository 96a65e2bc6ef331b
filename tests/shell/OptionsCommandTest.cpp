// The options command of the application with its dialog: the pages it
// opens on, what Annuler puts back, and a users folder moved from there.
#include "AppFixture.h"

#include "CConfiguration.h"
#include "COptDir.h"
#include "COptMisc.h"
#include "COptionsDialog.h"
#include "CPrefsDialog.h"
#include "Texts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class OptionsCommandTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        COptionsDialog::Register(*app);
        app->Configuration().Load();
    }
    void TearDown() override
    {
        COptionsDialog::SetRunner({});
        CPrefsDialog::SetTranslator({});
        AppFixture::TearDown();
    }

    // Runs the command; `drive` acts on the frame, then OK (true) or
    // Annuler (false) closes it.
    void runOptions(int startPage, const std::function<bool(CPrefsDialog &)> &drive)
    {
        COptionsDialog::SetRunner([&](CPrefsDialog &frame) {
            frame.InitDialog();
            frame.show();
            const bool ok = drive(frame);
            QTest::mouseClick(ok ? frame.OkButton() : frame.CancelButton(), Qt::LeftButton);
            return frame.result() == QDialog::Accepted ? 1 : 2;
        });
        app->ShowOptions(startPage);
    }
};

} // namespace

TEST_F(OptionsCommandTest, BigIconsTakeAtOnceAndAnnulerPutsThemBack)
{
    runOptions(8, [&](CPrefsDialog &frame) {
        EXPECT_EQ(frame.PageCaption(frame.CurrentPage()), Platform::Texts::get(561));
        QTest::mouseClick(frame.findChild<QCheckBox *>(QString::number(COptMisc::BigIconsCheck)), Qt::LeftButton);
        EXPECT_TRUE(app->Configuration().bigIcon);
        return false;
    });
    EXPECT_FALSE(app->Configuration().bigIcon);

    runOptions(8, [&](CPrefsDialog &frame) {
        QTest::mouseClick(frame.findChild<QCheckBox *>(QString::number(COptMisc::BigIconsCheck)), Qt::LeftButton);
        return true;
    });
    EXPECT_TRUE(app->Configuration().bigIcon);
    Platform::Settings settings;
    EXPECT_EQ(settings.getInt(u"Config", u"Misc", u"BigIcon", -1), 1);
}

TEST_F(OptionsCommandTest, AUsersFolderMovedFromTheDialogBringsTheUserFromItsNewPlace)
{
    addUser(QStringLiteral("Anne"));
    const QString moved = TestFolders::root() + QStringLiteral("/moved/");
    runOptions(3, [&](CPrefsDialog &frame) {
        EXPECT_EQ(frame.PageCaption(frame.CurrentPage()), Platform::Texts::get(197));
        frame.findChild<QLineEdit *>(QString::number(COptDir::UsersEdit))->setText(moved);
        answers->Push(MessageBoxAnswer::Yes);
        return true;
    });
    EXPECT_EQ(app->Configuration().usersFolder, moved);
    EXPECT_EQ(app->Users().GetCurrentName(), QStringLiteral("Anne"));
    EXPECT_EQ(app->Users().GetCurrentDatabasePath(true), moved + QStringLiteral("Anne/Zarvo.sdb"));
    EXPECT_FALSE(QFileInfo::exists(databaseOf(QStringLiteral("Anne"))));
    CBdD db;
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.GetPath(), moved + QStringLiteral("Anne/Zarvo.sdb"));
}
