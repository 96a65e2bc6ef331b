#pragma once
// The fixture of the synchronisation tests: a local user database and a
// copy of a device's, both of the current schema, in the test's own
// folder, with small helpers that write rows straight into either file
// (no stamps, no undo) and run the comparison as the program does.
#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "Formatter.h"
#include "QStringPrinter.h"
#include "SyncReviewList.h"
#include "TestFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

class SyncPair : public ::testing::Test
{
protected:
    void SetUp() override
    {
        local = makeDatabase(QStringLiteral("local/Zarvo.sdb"));
        device = makeDatabase(QStringLiteral("work/Ppc.sdb"));
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }

    // A new, empty database of the current schema.
    static QString makeDatabase(const QString &name)
    {
        const QString path = TestFolders::file(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        CBdD created(path);
        EXPECT_TRUE(created.IsOpen()) << path.toStdString();
        return path;
    }

    static void exec(const QString &path, const QString &sql)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    }
    // The first cell of the first row, "<none>" without a row.
    static QString cell(const QString &path, const QString &sql)
    {
        SQLite::CmyDataBase db;
        EXPECT_EQ(db.OpenReadOnly(path), 0);
        SQLite::MyTablePtr t = db.Query(sql);
        EXPECT_EQ(db.GetLastCode(), 0) << sql.toStdString();
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    static QByteArray hash(const QString &path)
    {
        return QCryptographicHash::hash(TestFolders::readFile(path), QCryptographicHash::Sha256);
    }

    // A row of a synchronised table: for a plan, the project's own plan
    // (node `id`, -2) at row number `id`; the name goes into Nom, or Title
    // where the table has no Nom.
    static QString insertRow(int kind, qint64 id, const QString &name, qint64 stamp, bool deleted, int origin = 0)
    {
        using Platform::Formatter;
        const int del = deleted ? 1 : 0;
        switch (kind) {
        case CBdD::TableProjets:
            return Formatter::sprintf(u"insert into Projets (Id, Nom, Parent, Date_Modif, Origine_Modif, Deleted) "
                                      u"values (%I64d, '%s', -1, %I64d, %d, %d)",
                                      {id, name, stamp, origin, del});
        case CBdD::TableActivites:
        case CBdD::TableTauxHoraire:
            return Formatter::sprintf(u"insert into %s (Id, Nom, Date_Modif, Origine_Modif, Deleted) "
                                      u"values (%I64d, '%s', %I64d, %d, %d)",
                                      {CBdD::TableName(kind), id, name, stamp, origin, del});
        case CBdD::TableTaches:
            return Formatter::sprintf(u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, IdTauxHoraire, "
                                      u"Facture, Title, Notes, Date_Modif, Origine_Modif, Deleted) "
                                      u"values (%I64d, %I64d, %I64d, -1, -1, -1, 0, '%s', '', %I64d, %d, %d)",
                                      {id, 1000 * id, 1000 * id + 600, name, stamp, origin, del});
        case CBdD::TableFavoris:
            return Formatter::sprintf(u"insert into Favoris (Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Title, "
                                      u"Date_Modif, Origine_Modif, Deleted) "
                                      u"values (%I64d, -1, -1, -1, 0, '%s', %I64d, %d, %d)",
                                      {id, name, stamp, origin, del});
        case CBdD::TableForecast:
            return Formatter::sprintf(u"insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, "
                                      u"Origine_Modif, Deleted) values (%I64d, %I64d, -2, '%s', %I64d, %d, %d)",
                                      {id, id, name, stamp, origin, del});
        default:
            ADD_FAILURE() << "no such kind " << kind;
            return QString();
        }
    }

    CBdD::CompareOutcome compare(SyncReviewList &list, int &count, ProgressDlgShared *job = nullptr)
    {
        CBdD db(local, CBdD::ReadOnly);
        return db.CompareDatabases(device, list, job, count, formats);
    }
    // The element rows of the list, "kind:deviceId:localId:action" each.
    static QStringList decisions(const SyncReviewList &list)
    {
        QStringList out;
        for (const SyncReviewList::Row &row : list) {
            if (row.item && !row.isGroup)
                out << QStringLiteral("%1:%2:%3:%4")
                           .arg(row.item->kind)
                           .arg(row.item->deviceId)
                           .arg(row.item->localId)
                           .arg(row.item->action);
        }
        return out;
    }

    CConfiguration formats;
    QString local;
    QString device;
};
