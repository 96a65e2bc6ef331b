#include "CReportStore.h"

#include "CAppData.h"
#include "CUsers.h"
#include "CmyDataBase.h"
#include "Formatter.h"
#include "MyTable.h"
#include "QuoteSql.h"
#include "tReportDefinition.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

using Platform::Formatter;

namespace {

// The layout of a report database.
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

// What an existing file holds of the layout.
struct Layout
{
    bool readable = false; // a database whose tables could be listed
    bool sound = false;    // every page passed the whole check
    bool empty = false;    // a file of no page: a making cut short before its first commit
    QSet<QString> tables;
    bool columnList = false; // Reports has Colonnes
    int version = 0;         // 0 without a version
};

Layout readLayout(SQLite::CmyDataBase &db)
{
    Layout layout;
    const int before = db.GetLastCode();
    db.SetLastCode(0);
    SQLite::MyTablePtr t = db.Query(u"select name from sqlite_master where type='table'");
    if (!t || db.GetLastCode() != 0)
        return layout;
    for (int row = 0; row < t->rowCount(); ++row)
        layout.tables.insert(t->GetCell(row, 0));
    // A damaged page can read as a page that holds fewer rows: the file
    // would list some reports and lose the others at the next write.
    t = db.Query(u"PRAGMA integrity_check");
    layout.sound = t && db.GetLastCode() == 0 && t->rowCount() == 1 && t->GetCell(0, 0) == u"ok";
    t = db.Query(u"pragma page_count");
    layout.empty = t && t->rowCount() > 0 && t->GetIntAt(0, 0) == 0;
    if (layout.tables.contains(QStringLiteral("Reports"))) {
        t = db.Query(u"pragma table_info(Reports)");
        const int name = t ? t->ColumnIndex(u"name") : -1;
        for (int row = 0; t && row < t->rowCount(); ++row)
            layout.columnList = layout.columnList || t->GetCell(row, name) == u"Colonnes";
    }
    if (layout.tables.contains(QStringLiteral("Infos"))) {
        t = db.Query(u"select Value from Infos where Name='VersionDB'");
        if (t && t->rowCount() > 0)
            layout.version = t->GetIntAt(0, 0);
    }
    layout.readable = db.GetLastCode() == 0;
    db.SetLastCode(before);
    return layout;
}

// A stored date "YYYY-MM-DD" (what follows is ignored); anything else is
// an invalid date.
QDate readDate(const QString &text)
{
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return QDate();
    const auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const int year = number(0, 4);
    // QDate refuses a month or a day out of range.
    return year < 0 ? QDate() : QDate(year, number(5, 2), number(8, 2));
}

QString writeDate(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return Formatter::sprintf(u"%04d-%02d-%02d", {date.year(), date.month(), date.day()});
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
    SQLite::CmyDataBase db;
    return Connect(db, create);
}

bool CReportStore::Connect(SQLite::CmyDataBase &db, bool create)
{
    if (m_path.isEmpty())
        return false;
    if (!QFileInfo::exists(m_path)) {
        if (!create || db.Open(m_path) != 0)
            return false;
        // A new file: the whole layout lands, or the file goes again.
        if (!WriteAll(db, {QString::fromUtf16(CreateReports), QString::fromUtf16(CreateOnScreen),
                           QString::fromUtf16(CreateInfos), versionInsert()})) {
            db.Close();
            QFile::remove(m_path);
            return false;
        }
        return true;
    }
    if (db.Open(m_path) != 0)
        return false;
    const Layout layout = readLayout(db);
    // A database that holds none of our tables is another's file, never
    // changed; an empty file is what a making of ours cut short leaves.
    const bool ours = layout.empty || layout.tables.contains(QStringLiteral("Reports"))
                      || layout.tables.contains(QStringLiteral("OnScreen"))
                      || layout.tables.contains(QStringLiteral("Infos"));
    if (!layout.readable || !layout.sound || layout.version > Version || !ours) {
        db.Close();
        return false;
    }
    // Whatever an older layout or a file cut short lacks is added.
    QStringList mend;
    if (!layout.tables.contains(QStringLiteral("Reports")))
        mend << QString::fromUtf16(CreateReports);
    else if (!layout.columnList)
        mend << QStringLiteral("alter table Reports add column Colonnes text");
    if (!layout.tables.contains(QStringLiteral("OnScreen")))
        mend << QString::fromUtf16(CreateOnScreen);
    if (!layout.tables.contains(QStringLiteral("Infos")))
        mend << QString::fromUtf16(CreateInfos);
    if (layout.version < 1)
        mend << QStringLiteral("delete from Infos where Name='VersionDB'") << versionInsert();
    if (!mend.isEmpty() && !WriteAll(db, mend)) {
        db.Close();
        return false;
    }
    return true;
}

bool CReportStore::WriteAll(SQLite::CmyDataBase &db, const QStringList &statements)
{
    if (!db.BeginTransaction())
        return false;
    for (const QString &sql : statements) {
        if (db.Execute(sql) != 0) {
            db.RollbackAfterFailure();
            return false;
        }
    }
    if (!db.CommitTransaction()) {
        db.RollbackAfterFailure();
        return false;
    }
    return true;
}

SQLite::MyTablePtr CReportStore::Read(const QString &sql)
{
    SQLite::CmyDataBase db;
    if (!Connect(db, false))
        return SQLite::MyTablePtr();
    SQLite::MyTablePtr rows = db.Query(sql);
    if (db.GetLastCode() != 0)
        rows.Reset();
    return rows;
}

bool CReportStore::FillReportTree(CTreeFiller &tree, CTreeFiller::Item parent)
{
    SQLite::MyTablePtr t = Read(QStringLiteral("Select * FROM Reports order by Nom asc"));
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

bool CReportStore::SaveReport(tReportDefinition &d)
{
    SQLite::CmyDataBase db;
    if (!Connect(db, true))
        return false;
    const QString columns = d.Type == 3 || d.Columns.IsDefault() ? QString() : d.Columns.Format();
    const bool detail = d.Type == 3 ? d.DetailCross : d.Detail;
    const auto text = [](const QString &value) { return u'\'' + QuoteSql(value) + u'\''; };
    const auto number = [](qint64 value) { return QString::number(value); };
    // Every stored column with its SQL value, in the table's order.
    const std::pair<const char16_t *, QString> fields[] = {
        {u"Nom", text(d.Nom)},
        {u"Periode", number(d.Periode)},
        {u"Debut", text(writeDate(d.Debut))},
        {u"Fin", text(writeDate(d.Fin))},
        {u"Status", number(d.Status)},
        {u"ShowStatus", number(d.ShowStatus)},
        {u"Type", number(d.Type)},
        {u"Projets", text(d.Projets)},
        {u"Activités", text(d.Activites)},
        // Empty for an automatic title, which is how the loader knows it.
        {u"Titre", text(d.TitreAuto ? QString() : d.Titre)},
        {u"Grp_1", number(d.Grp[0])},
        {u"Grp_2", number(d.Grp[1])},
        {u"Grp_3", number(d.Grp[2])},
        {u"Grp_4", number(d.Grp[3])},
        {u"Grp_5", number(d.Grp[4])},
        {u"Grp_Col", number(d.Grp_Col)},
        {u"Detail", number(detail)},
        {u"Modele", text(d.Modele)},
        {u"PaperSize", number(d.PaperSize)},
        {u"PaperWidth", number(d.PaperWidth)},
        {u"PaperHeight", number(d.PaperHeight)},
        {u"Portrait", number(d.Portrait)},
        {u"MargeLeft", number(d.MargeLeft)},
        {u"MargeTop", number(d.MargeTop)},
        {u"MargeRight", number(d.MargeRight)},
        {u"MargeBottom", number(d.MargeBottom)},
        {u"Colonnes", text(columns)},
    };
    const bool insert = d.Id == -1;
    QStringList names;
    QStringList values;
    QStringList assignments;
    for (const auto &[name, value] : fields) {
        names << QString::fromUtf16(name);
        values << value;
        assignments << QString::fromUtf16(name) + u'=' + value;
    }
    // Joined, never put through arg(): the values are the user's texts.
    const QString sql = insert ? QStringLiteral("insert into Reports (") + names.join(u',')
                                     + QStringLiteral(") values (") + values.join(u',') + u')'
                               : QStringLiteral("update Reports set ") + assignments.join(QStringLiteral(", "))
                                     + QStringLiteral(" where Id=") + number(d.Id);
    if (!db.BeginTransaction())
        return false;
    // An update of a report deleted meanwhile lands nothing.
    if (db.Execute(sql) != 0 || (!insert && db.GetChanges() == 0)) {
        db.RollbackAfterFailure();
        return false;
    }
    const qint64 newId = db.GetLastInsertRowId();
    if (!db.CommitTransaction()) {
        db.RollbackAfterFailure();
        return false;
    }
    if (insert)
        d.Id = int(newId);
    return true;
}

bool CReportStore::LoadReport(int id, tReportDefinition &d)
{
    SQLite::MyTablePtr t = Read(Formatter::sprintf(u"Select * FROM Reports where Id=%d", {id}));
    if (!t || !t->MoveFirst())
        return false;
    const auto number = [&t](QStringView column) { return t->GetIntOr(column, 0); };
    const auto flag = [&number](QStringView column) { return number(column) != 0; };

    d.Id = id;
    d.Nom = t->GetValue(u"Nom");
    d.Periode = number(u"Periode");
    d.Debut = readDate(t->GetValue(u"Debut"));
    d.Fin = readDate(t->GetValue(u"Fin"));
    d.Status = number(u"Status");
    d.ShowStatus = flag(u"ShowStatus");
    d.Type = number(u"Type");
    d.Projets = t->GetValue(u"Projets");
    d.Activites = t->GetValue(u"Activités");
    d.Titre = t->GetValue(u"Titre");
    d.TitreAuto = d.Titre.isEmpty();
    static const char16_t *const levels[tReportDefinition::LevelCount] = {u"Grp_1", u"Grp_2", u"Grp_3", u"Grp_4",
                                                                           u"Grp_5"};
    for (int i = 0; i < tReportDefinition::LevelCount; ++i)
        d.Grp[size_t(i)] = number(levels[i]);
    d.Grp_Col = number(u"Grp_Col");
    if (d.Type == 3) {
        d.Detail = true;
        d.DetailCross = flag(u"Detail");
    } else {
        d.Detail = flag(u"Detail");
        d.DetailCross = true;
    }
    d.Modele = t->GetValue(u"Modele");
    if (d.Modele.endsWith(QStringLiteral(".tpl"), Qt::CaseInsensitive))
        d.Modele.chop(4);
    d.PaperSize = qint16(number(u"PaperSize"));
    d.PaperWidth = qint16(number(u"PaperWidth"));
    d.PaperHeight = qint16(number(u"PaperHeight"));
    d.Portrait = flag(u"Portrait");
    d.MargeLeft = number(u"MargeLeft");
    d.MargeTop = number(u"MargeTop");
    d.MargeRight = number(u"MargeRight");
    d.MargeBottom = number(u"MargeBottom");

    d.Columns.SetType(CReportColumnSet::TypeForReportKind(d.Type));
    const QString columns = t->GetValue(u"Colonnes");
    if (columns.trimmed().isEmpty())
        d.SetDefaultColumns(d.Columns);
    else
        d.Columns.Parse(columns);
    return true;
}

bool CReportStore::GetReportType(int id, int &kind)
{
    SQLite::MyTablePtr t = Read(Formatter::sprintf(u"Select Id,Type FROM Reports where Id=%d", {id}));
    if (!t || !t->MoveFirst())
        return false;
    kind = t->GetIntOr(u"Type", 0);
    return true;
}

int CReportStore::FindReportByName(const QString &name, int &id)
{
    SQLite::MyTablePtr t = Read(Formatter::sprintf(u"Select Id,Nom FROM Reports where Nom='%s'", {QuoteSql(name)}));
    if (!t)
        return 0;
    if (t->rowCount() == 1)
        id = t->GetIntAt(0, 0, -1);
    return t->rowCount();
}

bool CReportStore::RenameReport(int id, const QString &name)
{
    SQLite::CmyDataBase db;
    return Connect(db, false)
           && WriteAll(db, {Formatter::sprintf(u"Update Reports set Nom='%s' where Id=%d", {QuoteSql(name), id})});
}

bool CReportStore::DeleteReport(int id)
{
    SQLite::CmyDataBase db;
    return Connect(db, false) && WriteAll(db, {Formatter::sprintf(u"Delete FROM Reports where Id=%d", {id})});
}

bool CReportStore::SaveOnScreenReports(const QList<tOnScreenReport> &reports)
{
    SQLite::CmyDataBase db;
    if (!Connect(db, false))
        return false;
    QStringList statements{QStringLiteral("delete from OnScreen")};
    for (const tOnScreenReport &r : reports)
        statements << Formatter::sprintf(u"insert into OnScreen (Id, Preview, Zoom) values (%d,%d,%d)",
                                         {r.Id, r.Preview, r.Zoom});
    return WriteAll(db, statements);
}

bool CReportStore::ReopenOnScreenReports(const ReportOpener &open)
{
    // The rows are read whole and the file closed before the windows
    // open: each reads its report.
    SQLite::MyTablePtr t = Read(QStringLiteral("select * from OnScreen"));
    if (!t)
        return false;
    const int id = t->ColumnIndex(u"Id");
    const int preview = t->ColumnIndex(u"Preview");
    const int zoom = t->ColumnIndex(u"Zoom");
    for (int row = 0; row < t->rowCount() && open; ++row) {
        const QStringView shown = t->GetCellView(row, preview);
        int z = t->GetIntAt(row, zoom, 0);
        if (z < 0 || z > 3)
            z = tOnScreenReport::DefaultZoom;
        open(t->GetIntAt(row, id, -1), !shown.isEmpty() && shown != u"0", z);
    }
    return true;
}
