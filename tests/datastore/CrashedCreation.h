#pragma once
// What a crash leaves at `path` while a new database is being made there:
// the file already partly written, and beside it the journal that the next
// open rolls back, which leaves a file without any table. (The state is
// taken from a scratch file whose creation is still open and large enough
// for SQLite to write pages before its COMMIT.)
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>
#include <sqlite3.h>

inline void LeaveCrashedCreation(const QString &path)
{
    const QString scratch = path + QStringLiteral(".scratch");
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(scratch).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA cache_size=2; BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    for (int i = 0; i < 40; ++i) {
        const QByteArray sql = QStringLiteral("create table Part%1(a integer primary key, b text); "
                                              "insert into Part%1(b) values (zeroblob(3000))")
                                   .arg(i)
                                   .toUtf8();
        ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const QString journal = scratch + QStringLiteral("-journal");
    ASSERT_GT(QFileInfo(scratch).size(), 0);
    ASSERT_TRUE(QFileInfo::exists(journal));
    ASSERT_TRUE(QFile::copy(scratch, path));
    ASSERT_TRUE(QFile::copy(journal, path + QStringLiteral("-journal")));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile::remove(scratch);
}
