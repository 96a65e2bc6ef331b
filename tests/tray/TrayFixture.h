#pragma once
// The fixture the tray's data tests share: a user database made by the main
// program's code (InitBd) in the test's folder, this process set up as the
// tray (its project store, its refresh message, its log tag), a clock the
// test moves, and small helpers that write the file as a third party would.
#include "CAppData.h"
#include "CBdD.h"
#include "CTrayDatabase.h"
#include "CTrayProjectStore.h"
#include "Clock.h"
#include "Formatter.h"
#include "QuoteSql.h"
#include "LocalTime.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "TrayTexts.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDate>
#include <QString>

#include <clocale>
#include <string>

class TrayFixture : public ::testing::Test
{
protected:
    // Tuesday 10 March 2026, 18:00 in Paris.
    static inline const QDate Today{2026, 3, 10};
    static qint64 at(const QDate &day, int h, int m) { return Platform::LocalTime::atMinute(day, h * 60 + m); }
    static qint64 at(int h, int m) { return at(Today, h, m); }

    void SetUp() override
    {
        // The C library writes numbers the French way too: nothing of it
        // may reach a statement or a file.
        m_cLocale = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "fr_FR.UTF-8");
        now = at(18, 0);
        Platform::Clock::setNowSource([this] { return now; });
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        {
            CBdD made(path);
            ASSERT_TRUE(made.IsOpen());
        }
        CTrayDatabase::SetUpProcess(store);
    }
    void TearDown() override
    {
        CAppData::Clear();
        Platform::Clock::reset();
        std::setlocale(LC_ALL, m_cLocale.c_str());
    }

    // The first cell of the first row ("<none>" without one), and a
    // statement, on a connection of their own, as another program would.
    QString cell(const QString &sql) const
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    void exec(const QString &sql) const
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    }
    // A time entry put straight into the file.
    void put(int id, qint64 debut, qint64 fin, const QString &title = QString(), int deleted = 0, int project = -1,
             int activity = -1) const
    {
        exec(Platform::Formatter::sprintf(
            u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,Origine_Modif,"
            u"Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,1,%d,'%s','')",
            {id, debut, fin, project, activity, debut, deleted, QuoteSql(title)}));
    }
    // Every row of the tables a write may touch.
    QString dump() const
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        QString out;
        for (const char *table : {"Taches", "Favoris", "Infos", "NextRowId"}) {
            SQLite::MyTablePtr t = db.Query(QStringLiteral("select * from %1 order by rowid").arg(QLatin1String(table)));
            for (int r = 0; t && r < t->rowCount(); ++r) {
                for (int c = 0; c < t->columnCount(); ++c)
                    out += t->GetCell(r, c) + u'|';
                out += u'\n';
            }
        }
        return out;
    }

    qint64 now = 0;
    QString path;
    CTrayProjectStore store;

private:
    std::string m_cLocale;
};

// Counts the transactions committed on every connection this process opens
// while it lives (the tray opens its own for each action).
class CommitCounter
{
public:
    CommitCounter()
    {
        s_commits = 0;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&CommitCounter::Install));
    }
    ~CommitCounter() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&CommitCounter::Install)); }
    CommitCounter(const CommitCounter &) = delete;
    CommitCounter &operator=(const CommitCounter &) = delete;

    // The commits since the last call.
    int Take()
    {
        const int n = s_commits;
        s_commits = 0;
        return n;
    }

private:
    static int Install(sqlite3 *db, char **, const void *)
    {
        sqlite3_commit_hook(db, [](void *) { return ++s_commits, 0; }, nullptr);
        return SQLITE_OK;
    }
    static inline int s_commits = 0;
};
