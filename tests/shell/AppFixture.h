#pragma once
// The fixture the shell's tests share: an application object with a users
// folder of the test's own, one user "Anne" with a database, and a recorder
// of every message box the application shows.
#include "CAppData.h"
#include "CBdD.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "Clock.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestFolders.h"

#include <QDir>
#include <QMainWindow>
#include <gtest/gtest.h>
#include <memory>

class AppFixture : public ::testing::Test
{
protected:
    struct Box
    {
        quint32 icon; // MessageBoxType icon flags
        QString caption;
        QString text;
    };

    void SetUp() override
    {
        usersFolder = TestFolders::root() + QStringLiteral("/users/");
        dataFolder = TestFolders::root() + QStringLiteral("/data/");
        QDir().mkpath(usersFolder);
        QDir().mkpath(dataFolder);
        Platform::Settings settings;
        settings.setString(u"Config", u"Rep", u"Users", usersFolder);
        settings.setString(u"Config", u"Rep", u"Data", dataFolder);
        settings.sync();
        answers = std::make_unique<MessageBoxAnswers>();
        app = std::make_unique<CZarvoWinApp>();
    }
    void TearDown() override
    {
        app.reset();
        answers.reset();
        Platform::Clock::reset();
    }

    // A user with a folder and a database, made current.
    int addUser(const QString &name)
    {
        QDir().mkpath(usersFolder + name);
        tUsers user;
        user.Nom = name;
        EXPECT_EQ(app->Users().AddUser(user), CUsers::Done);
        {
            CBdD db(databaseOf(name));
            EXPECT_TRUE(db.IsOpen());
        }
        EXPECT_TRUE(app->Users().SwitchUser(user.Id) || app->Users().GetCurrentId() == user.Id);
        return user.Id;
    }
    QString databaseOf(const QString &name) const { return usersFolder + name + QStringLiteral("/Zarvo.sdb"); }

    // A plain main window made by the application's factory.
    void useMainWindow()
    {
        app->SetMainWindowFactory([] { return new QMainWindow; });
    }

    // The boxes asked since the last clearBoxes(), answered by the seam.
    std::vector<Box> boxes() const
    {
        std::vector<Box> shown;
        const auto &asked = answers->AskedBoxes();
        for (size_t i = m_seen; i < asked.size(); ++i)
            shown.push_back({asked[i].type & MessageBoxType::IconMask, asked[i].caption, asked[i].text});
        return shown;
    }
    void clearBoxes() { m_seen = answers->AskedBoxes().size(); }

    QString usersFolder;
    QString dataFolder;
    std::unique_ptr<MessageBoxAnswers> answers;
    std::unique_ptr<CZarvoWinApp> app;

private:
    size_t m_seen = 0;
};
