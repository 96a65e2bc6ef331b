#include "CReportStore.h"

#include "CAppData.h"
#include "CUsers.h"
#include "CmyDataBase.h"
#include "Formatter.h"
#include "MyTable.h"
#include "QuoteSql.h"

#include <QFileInfo>

using Platform::Formatter;

namespace {

// The layout of a new report database; the first two pieces are one
// statement.
constexpr const char16_t *CreateReports =
    u"create table Reports(Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Periode integer, Debut date, "
    u"Fin date, Status integer, ShowStatus int, Type integer, Projets text, Activités text, Titre text, "
    u"Grp_1 integer, Grp_2 integer, Grp_3 integer, Grp_4 integer, Grp_5 integer, Grp_Col integer, "
    u"Detail int, Modele text, PaperSize int, PaperWidth int, PaperHeight int, Portrait int, MargeLeft int, "
    u"MargeTop int, MargeRight int, MargeBottom int, Colonnes text)";
constexpr const char16_t *CreateOnScreen = u"create table OnScreen(Id integer, Preview integer, Zoom integer)";
constexpr const char16_t *CreateInfos = u"create table Infos(Name text, Value text)";

QString versionInsert()
{
    return Formatter::sprintf(u"insert into Infos(Name, Value) values ('VersionDB','%d')", {CReportStore::Version});
}

// The stored version: 0 without a version row or an Infos table; -1 when
// the file cannot be read (locked by another program, not a database).
int storedVersion(SQLite::CmyDataBase &db)
{
    SQLite::MyTablePtr tables = db.Query(u"select count(*) from sqlite_master where type='table' and name='Infos'");
    if (!tables || !tables->MoveFirst())
        return -1;
    if (tables->GetValueAt(0).toInt() == 0)
        return 0;
    SQLite::MyTablePtr t = db.Query(u"select Value from Infos where name='VersionDB'");
    if (!t)
        return -1;
    return t->MoveFirst() ? t->GetValueAt(0).toInt() : 0;
}

} // namespace

CReportStore::CReportStore()
    : m_path(CAppData::Users() ? CAppData::Users()->GetCurrentReportDatabasePath() : QString())
{
}

CReportStore::CReportStore(const QString &path)
    : m_path(path)
{
}

bool CReportStore::OpenDatabase(bool create)
{
    if (m_path.isEmpty())
        return false;
    SQLite::CmyDataBase db;
    if (!QFileInfo::exists(m_path)) {
        if (!create || db.Open(m_path) != 0)
            return false;
        // A new file: the schema as it stands, each statement on its own.
        db.Execute(CreateReports);
        db.Execute(CreateOnScreen);
        db.Execute(CreateInfos);
        db.Execute(versionInsert());
        return true;
    }
    if (db.Open(m_path) != 0)
        return false;
    const int version = storedVersion(db);
    if (version != 0)
        return version > 0;
    // The first layout: no column list, no version.
    if (!db.BeginTransaction())
        return false;
    db.Execute(u"alter table Reports add column Colonnes text"); // may be there already
    const bool done = db.Execute(CreateInfos) == 0 && db.Execute(versionInsert()) == 0;
    if (!done) {
        db.RollbackTransaction();
        return false;
    }
    return db.CommitTransaction();
}

bool CReportStore::Connect(SQLite::CmyDataBase &db)
{
    return OpenDatabase(false) && db.Open(m_path) == 0;
}

bool CReportStore::FillReportTree(CTreeFiller &tree, CTreeFiller::Item parent)
{
    SQLite::CmyDataBase db;
    if (!Connect(db))
        return false;
    SQLite::MyTablePtr t = db.Query(u"Select * FROM Reports order by Nom asc");
    if (!t)
        return false;
    if (!t->MoveFirst())
        return true;
    do {
        CTreeFiller::Item item = tree.InsertItem(parent, t->GetValue(u"Nom"), ReportImage, ReportImage, 0);
        tree.SetItemData(item, t->GetIntOr(u"Id", -1));
    } while (t->MoveNext());
    return true;
}

bool CReportStore::RenameReport(int id, const QString &name)
{
    SQLite::CmyDataBase db;
    return Connect(db)
           && db.Execute(Formatter::sprintf(u"Update Reports set Nom='%s' where Id=%d", {QuoteSql(name), id})) == 0;
}

bool CReportStore::DeleteReport(int id)
{
    SQLite::CmyDataBase db;
    return Connect(db) && db.Execute(Formatter::sprintf(u"Delete FROM Reports where Id=%d", {id})) == 0;
}
