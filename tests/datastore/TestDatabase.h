#pragma once
// The fixture the tests of the database layer share: a user database of
// the test's own, opened through the shared connection as the program
// does, with an undo history and a project store registered, and small
// helpers that write and read it the way the program does.
#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "TestFolders.h"
#include "tElement.h"
#include "QStringPrinter.h"

#include <QString>
#include <gtest/gtest.h>

class TestDatabase : public ::testing::Test
{
protected:
    // A fixture that sets the clock does so before calling this.
    void SetUp() override
    {
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CAppData::SetAnnulation(&history);
        CAppData::SetCurrentDatabasePath(path);
        CAppData::SetProjectStore(&store);
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }

    // The first cell of the first row, "<none>" without a row.
    static QString cell(const QString &sql)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    // A statement outside any write (no undo, no stamp).
    static void exec(const QString &sql)
    {
        CBdD db;
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    }

    // New records saved as the program saves them; their ids.
    static int saveProject(const QString &name, int parent = -1, int type = 0)
    {
        tElement e;
        e.Nom = name;
        e.Parent = parent;
        e.Type = type;
        CBdD db;
        EXPECT_TRUE(db.SaveProject(&e, nullptr));
        return e.Id;
    }
    static int saveActivity(const QString &name) { return saveNamed(&CBdD::SaveActivity, name); }
    static int saveRate(const QString &name) { return saveNamed(&CBdD::SaveRate, name); }
    static int saveNamed(bool (CBdD::*save)(tElement &), const QString &name)
    {
        tElement element;
        element.Nom = name;
        CBdD db;
        EXPECT_TRUE((db.*save)(element));
        return element.Id;
    }

    // Activities and projects read again into the registered store.
    static void reload()
    {
        CBdD db;
        db.LoadActivities(nullptr, nullptr, true, QString());
        db.LoadProjects(-1, nullptr);
    }

    QString path;
    CAnnulation history;
    CProjectStore store;
};
