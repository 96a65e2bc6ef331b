#pragma once
// What the tests of the record editors share: a user database of the
// test's own with an undo history and a project store registered (the
// store reloaded on every change notice, as the main frame does), a users
// list for the per-user settings, the message boxes answered by a seam,
// and a file held by another connection to make writes fail.
#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CDataChangedNotifier.h"
#include "CProjectStore.h"
#include "CUsers.h"
#include "CmyDataBase.h"
#include "MessageBoxAnswers.h"
#include "QStringPrinter.h"
#include "RecordEditorServices.h"
#include "Settings.h"
#include "TestFolders.h"
#include "tElement.h"
#include "tUsers.h"
#include "RecordEditorTools.h"

#include <QDir>
#include <QObject>
#include <gtest/gtest.h>
#include <memory>

class EditorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CAppData::SetAnnulation(&history);
        CAppData::SetCurrentDatabasePath(path);
        CAppData::SetProjectStore(&store);
        {
            CBdD db; // creates the file with its schema
            ASSERT_TRUE(db.IsOpen());
        }
        reloads = QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged,
                                   [this] { reload(); });
        savedServices = RecordEditorServices::Registered();
    }
    void TearDown() override
    {
        RecordEditorServices::Registered() = savedServices;
        QObject::disconnect(reloads);
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }

    // A users list with one user, whose per-user settings the windows use.
    void addUser(const QString &name = QStringLiteral("Anne"))
    {
        const QString folder = TestFolders::root() + QStringLiteral("/users/");
        ASSERT_TRUE(QDir().mkpath(folder));
        Platform::Settings().setString(u"Config", u"Rep", u"Users", folder);
        CUsers::SetUsersFolderSource({});
        tUsers u;
        u.Nom = name;
        ASSERT_EQ(users.AddUser(u), CUsers::Done);
        ASSERT_TRUE(users.SwitchUser(u.Id));
        CAppData::SetUsers(&users);
        CAppData::SetCurrentDatabasePath(path);
    }

    // The store read again from the database, as the main frame does
    // after a change.
    void reload()
    {
        CBdD db;
        db.LoadActivities(nullptr, nullptr, true, QString());
        db.LoadRates(nullptr, nullptr);
        db.LoadProjects(-1, nullptr);
        db.InitForecast(true);
    }

    // The first cell of the first row, "<none>" without a row.
    static QString cell(QStringView sql)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    static int count(QStringView sql) { return cell(sql).toInt(); }
    // A statement outside any write (no undo, no stamp).
    static void exec(QStringView sql)
    {
        CBdD db;
        ASSERT_EQ(db.Execute(sql), 0) << sql.toString().toStdString();
    }

    static int saveProject(const QString &name, int parent = -1)
    {
        tElement e;
        e.Nom = name;
        e.Parent = parent;
        CBdD db;
        EXPECT_TRUE(db.SaveProject(&e, nullptr));
        return e.Id;
    }
    static int saveActivity(const QString &name, int rate = -1)
    {
        tElement e;
        e.Nom = name;
        e.IdTauxHoraire = rate;
        CBdD db;
        EXPECT_TRUE(db.SaveActivity(e));
        return e.Id;
    }
    static int saveRate(const QString &name, float value = 0)
    {
        tElement e;
        e.Nom = name;
        e.Valeur = value;
        CBdD db;
        EXPECT_TRUE(db.SaveRate(e));
        return e.Id;
    }

    // While it lives another connection holds the write lock, so every
    // write fails at once; reads still work.
    class HeldFile
    {
    public:
        explicit HeldFile(const QString &path)
            : m_saved(SQLite::CmyDataBase::BusyTimeoutMs())
        {
            // Connections opened meanwhile give up at once.
            SQLite::CmyDataBase::SetBusyTimeoutMs(0);
            CBdD::CloseSharedConnection();
            EXPECT_EQ(m_other.Open(path), 0);
            EXPECT_EQ(m_other.Execute(u"BEGIN IMMEDIATE"), 0);
        }
        ~HeldFile()
        {
            m_other.RollbackTransaction();
            m_other.Close();
            SQLite::CmyDataBase::SetBusyTimeoutMs(m_saved);
            CBdD::CloseSharedConnection();
        }
        HeldFile(const HeldFile &) = delete;
        HeldFile &operator=(const HeldFile &) = delete;

    private:
        int m_saved;
        SQLite::CmyDataBase m_other;
    };

    QString path;
    CAnnulation history;
    CProjectStore store;
    CUsers users;
    MessageBoxAnswers boxes;
    QMetaObject::Connection reloads;
    RecordEditorServices savedServices;
};
