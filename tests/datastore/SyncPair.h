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
#include "SyncSteps.h"
#include "TestFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

enum State { Absent, Live, Deleted };
// The local row's stamp against the device row's.
enum Age { Older, Equal, Newer };

struct Case
{
    State local;
    State device;
    Age age;
    int action; // -1: not listed
};

// Every combination that matters of a row on each side; each case's
// rows have 100 + its index as their id.
const Case Cases[] = {
    {Absent, Live, Equal, SyncItem::TakeDevice},
    {Absent, Deleted, Equal, -1},
    {Live, Absent, Equal, SyncItem::KeepLocal},
    {Deleted, Absent, Equal, -1},
    {Live, Live, Older, SyncItem::TakeDevice},
    {Live, Live, Equal, -1},
    {Live, Live, Newer, SyncItem::KeepLocal},
    {Live, Deleted, Older, SyncItem::Delete},
    {Live, Deleted, Equal, -1},
    {Live, Deleted, Newer, SyncItem::KeepLocal},
    {Deleted, Live, Older, SyncItem::TakeDevice},
    {Deleted, Live, Equal, -1},
    {Deleted, Live, Newer, SyncItem::Delete},
    {Deleted, Deleted, Older, -1},
    {Deleted, Deleted, Newer, -1},
};

// The stamps of the cases straddle the digit count, so that a comparison
// as text would get them wrong.
constexpr qint64 Before = 999999999;
constexpr qint64 After = 1000000000;
constexpr int CaseKinds[] = {CBdD::TableProjets, CBdD::TableActivites, CBdD::TableTauxHoraire,
                             CBdD::TableTaches, CBdD::TableFavoris, CBdD::TableForecast};

// Steps written down as "text:state", the last one updated; cancels at
// the `cancelAt`-th look at the flag (0: never).
class RecordingSteps : public SyncSteps
{
public:
    void AppendStep(int textId, int state) override { steps << QStringLiteral("%1:%2").arg(textId).arg(state); }
    void SetLastStepState(int state) override
    {
        if (!steps.isEmpty())
            steps.last() = steps.last().section(u':', 0, 0) + u':' + QString::number(state);
    }
    bool Cancelled() override { return ++looks == cancelAt; }

    QStringList steps;
    int looks = 0;
    int cancelAt = 0;
};

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

    bool merge(const SyncReviewList &list, RecordingSteps &steps, bool *touched = nullptr)
    {
        CBdD db(local, CBdD::ReadOnly);
        bool entries = false;
        const bool ok = db.ApplySynchronisation(device, list, steps, entries);
        if (touched)
            *touched = entries;
        return ok;
    }
    // The actions the review lets the user choose for a row.
    static bool allowed(const SyncItem &item, int action)
    {
        switch (action) {
        case SyncItem::TakeDevice: return item.kind != 9 && item.deviceId != -1 && !item.deviceDeleted;
        case SyncItem::Delete: return item.kind != 9;
        case SyncItem::KeepLocal: return item.localId != -1 && !item.localDeleted;
        default: return false;
        }
    }

    // The rows of every case, for every kind: "L<case>" here (changed on
    // this desktop), "D<case>" on the device.
    void insertCases()
    {
        QStringList here, there;
        for (int kind : CaseKinds) {
            for (int i = 0; i < int(std::size(Cases)); ++i) {
                const Case &c = Cases[i];
                if (c.local != Absent)
                    here << insertRow(kind, 100 + i, QStringLiteral("L%1").arg(i), c.age == Older ? Before : After,
                                      c.local == Deleted, 1);
                if (c.device != Absent)
                    there << insertRow(kind, 100 + i, QStringLiteral("D%1").arg(i), c.age == Newer ? Before : After,
                                       c.device == Deleted);
            }
        }
        exec(local, "begin;" + here.join(u';') + ";commit");
        exec(device, "begin;" + there.join(u';') + ";commit");
    }

    CConfiguration formats;
    QString local;
    QString device;
};
