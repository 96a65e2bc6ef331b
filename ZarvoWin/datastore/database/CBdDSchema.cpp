// Schema of the user database: creation, version and upgrades.
#include "CBdD.h"
#include "CDatabaseFile.h"

#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"
#include "LocalTime.h"
#include "Texts.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <iterator>

using Platform::Formatter;

namespace {

// The statements that make a new file, in this order.
const char16_t *const CreateFavoris =
    u"create table Favoris(Id integer PRIMARY KEY, IdProject integer, IdActivite integer, IdTauxHoraire integer, "
    u"Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0, "
    u"Title text default '')";
const char16_t *const CreateTaches =
    u"Create table Taches(Id integer primary key, Debut integer, Fin integer, IdActivite integer, IdProjet integer, "
    u"Facture integer, IdTauxHoraire integer, Date_Modif integer, Origine_Modif integer, Deleted integer, "
    u"Title text default '', Notes text default '')";
const char16_t *const CreateProjets =
    u"create table Projets(Id integer PRIMARY KEY, Nom text default '', Title text default '', "
    u"Commentaire text default '', Red integer, Green integer, Blue integer, IdTauxHoraire integer, "
    u"Visible integer, Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, "
    u"Share integer default 0, Parent integer default -1, Type integer default 0, Activity integer default -1)";
const char16_t *const CreateActivites =
    u"create table Activites(Id integer PRIMARY KEY, Nom text, Commentaire text, Red integer, Green integer, "
    u"Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, Date_Modif integer, "
    u"Origine_Modif integer, Deleted integer, Share integer default 0, Parent integer default -1)";
const char16_t *const CreateTauxHoraire =
    u"create table TauxHoraire(Id integer PRIMARY KEY, Nom text, Commentaire text, Valeur real, "
    u"Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0)";
const char16_t *const CreateForecast =
    u"create table Forecast(IdProject integer, IdActivity integer, Priority integer default 0, "
    u"Status integer default 0, bJours integer default 0, bModeAuto integer default 1, "
    u"bPrevuAuto integer default 1, Prevu integer default 0, TypePrevu integer default 1, "
    u"DateDebut integer default 0, TypeDateDebut integer default 0, Predecesseurs text default '', "
    u"DateFin integer default 0, TypeDateFin integer default 0, Delta integer default 0, "
    u"TypeDelta integer default 0, DateAlerte integer default 0, DureeSupp integer default 0, "
    u"TypeDureeSupp integer default 1, Total integer default -1, Visible integer default 1, "
    u"Title text default '', Notes text default '', Date_Modif integer, Origine_Modif integer, "
    u"Deleted integer default 0)";
const char16_t *const CreateProjectChilds =
    u"create table ProjectChilds(IdProject integer, Childs text, Date_Modif integer, Origine_Modif integer)";
const char16_t *const CreateInfos = u"create table Infos(Name text, Value text)";
const char16_t *const InsertBackup = u"insert into Infos(Name, Value) values ('Backup','')";
const char16_t *const InsertMajLan = u"insert into Infos(Name, Value) values ('MajLan','')";
const char16_t *const VersionFormat = u"insert into Infos(Name, Value) values ('VersionDB','%d')";
const char16_t *const NextRowIdFormat = u"insert into NextRowId(Name, Ppc, Pc, Serveur) values ('%s',%d,%d,%d)";

QStringList CreationStatements()
{
    return {
        QString::fromUtf16(CreateFavoris),
        QString::fromUtf16(CreateTaches),
        QString::fromUtf16(CreateProjets),
        QString::fromUtf16(CreateActivites),
        QString::fromUtf16(CreateTauxHoraire),
        QString::fromUtf16(CreateForecast),
        QString::fromUtf16(CreateProjectChilds),
        QString::fromUtf16(CreateInfos),
        Formatter::sprintf(VersionFormat, {CBdD::CurrentVersion}),
        QString::fromUtf16(InsertBackup),
        QStringLiteral("insert into Infos(Name, Value) values ('Modif','')"),
        QString::fromUtf16(InsertMajLan),
        QStringLiteral("create table NextRowId(Name text, Ppc integer, Pc integer, Serveur integer)"),
        Formatter::sprintf(NextRowIdFormat, {"Projets", 31, 32, 33}),
        Formatter::sprintf(NextRowIdFormat, {"Activites", 31, 32, 33}),
        Formatter::sprintf(NextRowIdFormat, {"Taches", 100, 101, 102}),
        QStringLiteral("insert into NextRowId(Name, Ppc, Pc, Serveur) values ('TauxHoraire',1,2,3)"),
        QStringLiteral("insert into NextRowId(Name, Ppc, Pc, Serveur) values ('Favoris',1,2,3)"),
    };
}

// The tables and columns that the creation statements make, read back
// from a database made with them in memory, so that the two never differ.
QMap<QString, QStringList> CreatedSchema()
{
    QMap<QString, QStringList> schema;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return schema;
    }
    for (const QString &statement : CreationStatements())
        sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_stmt *columns = nullptr;
    if (sqlite3_prepare_v2(db,
                           "select m.name, c.name from sqlite_master m join pragma_table_info(m.name) c "
                           "where m.type='table' order by m.rowid, c.cid",
                           -1, &columns, nullptr)
        == SQLITE_OK) {
        while (sqlite3_step(columns) == SQLITE_ROW) {
            const auto text = [columns](int i) {
                return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(columns, i)));
            };
            schema[text(0)] << text(1);
        }
    }
    sqlite3_finalize(columns);
    sqlite3_close(db);
    return schema;
}

QString PathWithoutExtension(const QString &path, QString *extension)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) {
        extension->clear();
        return path;
    }
    const qsizetype at = path.size() - name.size() + dot;
    *extension = path.mid(at);
    return path.left(at);
}

} // namespace

QMap<QString, QStringList> CBdD::RequiredSchema(int version)
{
    if (version < 0 || version > CurrentVersion)
        return {};
    static const QMap<QString, QStringList> created = CreatedSchema();
    QMap<QString, QStringList> schema = created;
    const auto drop = [&schema](const QString &table, const QStringList &columns) {
        for (const QString &column : columns)
            schema[table].removeAll(column);
    };
    // What each upgrade adds (see UpdateDb), newest first.
    drop(QStringLiteral("Forecast"), {QStringLiteral("Visible")});
    if (version < 2) {
        schema.remove(QStringLiteral("Forecast"));
        schema.remove(QStringLiteral("ProjectChilds"));
        drop(QStringLiteral("Projets"), {QStringLiteral("Type"), QStringLiteral("Activity"), QStringLiteral("Title")});
    }
    if (version < 1) {
        drop(QStringLiteral("Taches"), {QStringLiteral("Title"), QStringLiteral("Notes")});
        drop(QStringLiteral("Favoris"), {QStringLiteral("Title")});
        // The oldest files may have no Infos table; their upgrade alters
        // History, which it then drops.
        schema.remove(QStringLiteral("Infos"));
        schema.insert(QStringLiteral("History"), {});
    }
    return schema;
}

bool CBdD::InitBd(const QString &path)
{
    m_openError = 0;
    m_newerVersion = 0;
    m_fileVersion = -1;
    if (!m_connection)
        return false;
    const bool created = !m_existingOnly && !QFileInfo::exists(path);

    const auto fail = [&](int code) {
        m_openError = code != 0 ? code : 1;
        m_connection->Close();
        m_connection->SetLastCode(m_openError);
        if (created)
            QFile::remove(path);
        return false;
    };

    if (const int rc = m_existingOnly ? m_connection->OpenExisting(path) : m_connection->Open(path); rc != 0)
        return fail(rc);
    // Make sure it is a database this program can write; otherwise every
    // later statement would fail one by one. This first read also rolls
    // back what a crash left half done, a half-made new file included.
    const auto countTables = [this] {
        SQLite::MyTablePtr t = m_connection->Query(u"select count(*) from sqlite_master");
        return t.hasRows() ? t->GetFirstInt() : 0;
    };
    int tables = countTables();
    if (const int rc = m_connection->GetLastCode(); rc != 0)
        return fail(rc);
    if (sqlite3_db_readonly(m_connection->Handle(), "main") == 1)
        return fail(SQLITE_READONLY);

    // A file without any table is new, whatever its size: an empty file, or
    // one whose creation a crash cut short. It is given the whole schema in
    // one transaction, unless the other program made it meanwhile.
    if (tables == 0 && m_existingOnly)
        return fail(SQLITE_NOTADB);
    if (tables == 0) {
        if (!m_connection->BeginTransaction())
            return fail(m_connection->GetLastCode());
        tables = countTables();
        if (tables == 0) {
            for (const QString &statement : CreationStatements())
                m_connection->Execute(statement);
        }
        const bool ok = m_connection->GetLastCode() == 0 && CommitWithRetry(*m_connection);
        const int code = m_connection->GetLastCode();
        if (!ok)
            m_connection->RollbackAfterFailure(code);
        LogSqlError(QStringLiteral("InitBd"), true);
        if (!ok)
            return fail(code);
        if (tables == 0) {
            m_fileVersion = CurrentVersion;
            return true;
        }
    }
    SQLite::MyTablePtr found =
        m_connection->Query(u"select name from sqlite_master where type='table' and name in ('Taches','Infos')");
    const auto hasTable = [&found](QStringView name) {
        for (int r = 0; found && r < found->rowCount(); ++r) {
            if (found->GetCellView(r, 0) == name)
                return true;
        }
        return false;
    };
    // A user database has its time entries from the first version on.
    if (m_existingOnly && !hasTable(u"Taches"))
        return fail(m_connection->GetLastCode() != 0 ? m_connection->GetLastCode() : SQLITE_NOTADB);

    // The version is read before anything is written: a file of a later
    // version than this program knows is not opened at all, so that not
    // even an index is added to it.
    // (The oldest files have no Infos table: version 0.)
    if (hasTable(u"Infos")) {
        SQLite::MyTablePtr version = m_connection->Query(u"select Value from Infos where name='VersionDB'");
        if (const int rc = m_connection->GetLastCode(); rc != 0)
            return fail(rc);
        const int found = version.hasRows() ? Platform::wtoi(version->GetCellView(0, 0)) : 0;
        if (found > CurrentVersion) {
            m_newerVersion = found;
            return fail(SQLITE_CANTOPEN);
        }
        m_fileVersion = found;
    } else {
        m_fileVersion = 0;
    }
    return true;
}

void CBdD::EnsureIndexes()
{
    if (!IsOpen())
        return;
    struct Index
    {
        const char16_t *name;
        const char16_t *statement;
    };
    static const Index indexes[] = {
        // Nearly every query of Taches asks for entries ending after an
        // instant or still running (Fin > t or Fin = 0). The start time is
        // no use as an index there: "Debut <= t" holds for almost the whole
        // history, so an index on it would make the recent days, the ones
        // shown most, the slowest to read.
        {u"TachesFin", u"create index if not exists TachesFin on Taches(Fin)"},
        // The totals of recorded time group the live finished entries by
        // project and activity: with every column they read in the index,
        // the grouping walks the index in order, with no sort and no table
        // look-up.
        {u"TachesTotals", u"create index if not exists TachesTotals on Taches(IdProjet, IdActivite, Deleted, Fin, Debut)"},
        // The newest stamp, which tells the totals whether entries changed.
        {u"TachesModif", u"create index if not exists TachesModif on Taches(Date_Modif)"},
        // Every project of the tree is read with its child list.
        {u"ProjectChildsProject", u"create index if not exists ProjectChildsProject on ProjectChilds(IdProject)"},
        // The longest entry, which bounds how long before a day an entry
        // that reaches into it began, and so how far after the day it can
        // end.
        {u"TachesLength", u"create index if not exists TachesLength on Taches(Fin - Debut)"},
        // The newest entries by start: the last entry started and the recent
        // combinations read from the top of it and stop early. Its key is an
        // expression no other read names, so that no other read of Taches
        // takes it: with an index on the start itself the planner reads the
        // day's entries through it, which is the whole history before the
        // day.
        {u"TachesNewest", u"create index if not exists TachesNewest on Taches(-Debut)"},
        // The live entries alone, by start and by end: the first start and
        // the last end of the whole history (a report's period over every
        // entry) read the first row of each. A deleted entry is kept until
        // a synchronisation purges it, so without them those reads step
        // over every deleted one, the whole history for a user who never
        // synchronises. Only a read of live entries that names the key's
        // expression can take them (the reads of the newest starts do, and
        // skip the deleted entries too); every other read of Taches keeps
        // its way. A key that is never NULL lets a read stop at the first
        // row.
        {u"TachesLiveStart",
         u"create index if not exists TachesLiveStart on Taches(-Debut) where Deleted=0 and -Debut is not null"},
        {u"TachesLiveEnd", u"create index if not exists TachesLiveEnd on Taches(-Fin) where Deleted=0 and -Fin is not null"},
    };
    const int kept = Connection()->GetLastCode();
    // Files opened once already have them all: one look instead of a
    // statement each, since every action of the tray opens the file.
    QStringList names;
    for (const Index &index : indexes)
        names << u'\'' + QString::fromUtf16(index.name) + u'\'';
    SQLite::MyTablePtr present = Query(Formatter::sprintf(
        u"select count(*) from sqlite_master where type='index' and name in (%s)", {names.join(u',')}));
    if (!present.hasRows() || present->GetFirstInt() != int(std::size(indexes))) {
        for (const Index &index : indexes)
            Execute(index.statement);
    }
    Connection()->SetLastCode(kept);
}

int CBdD::GetVersion()
{
    if (!IsOpen())
        return -1;
    SQLite::MyTablePtr t = m_connection->Query(u"select Value from Infos where name='VersionDB'");
    const int version = t.hasRows() ? Platform::wtoi(t->GetCellView(0, 0)) : 0;
    LogSqlError(QStringLiteral("GetVersion"));
    return version;
}

// ---------------------------------------------------------------------
// Upgrades
// ---------------------------------------------------------------------

namespace {
const QString DeferredError = QStringLiteral("Error : ");
const QString DeferredVersion = QStringLiteral("Version : ");
} // namespace

int CBdD::tUpgradeResult::TextId() const
{
    switch (outcome) {
    case Outcome::Failed:
    case Outcome::NoCopy:
        return 618;
    case Outcome::Upgraded:
        return copyPath.isEmpty() ? 620 : 621;
    case Outcome::TooNew:
        return TextTooNew;
    default:
        return 0;
    }
}

QString CBdD::tUpgradeResult::Text() const
{
    switch (TextId()) {
    case 618:
        return Formatter::sprintf(Platform::Texts::get(618), {code});
    case 620:
        return Platform::Texts::get(620);
    case 621:
        // The French text names no path, so the copy's path is not shown.
        return Formatter::sprintf(Platform::Texts::get(621), {copyPath});
    case TextTooNew:
        return Formatter::sprintf(Platform::Texts::get(TextTooNew), {oldVersion});
    default:
        return QString();
    }
}

QString CBdD::tUpgradeResult::DeferredNotice() const
{
    switch (outcome) {
    case Outcome::Failed:
    case Outcome::NoCopy:
        return DeferredError + QString::number(code);
    case Outcome::TooNew:
        return DeferredVersion + QString::number(oldVersion);
    case Outcome::Upgraded:
        return copyPath;
    default:
        return QString();
    }
}

CBdD::tUpgradeResult CBdD::tUpgradeResult::FromDeferredNotice(const QString &notice)
{
    tUpgradeResult result;
    if (notice.startsWith(DeferredError)) {
        result.outcome = Outcome::Failed;
        result.code = Platform::wtoi(QStringView(notice).mid(DeferredError.size()));
    } else if (notice.startsWith(DeferredVersion)) {
        result.outcome = Outcome::TooNew;
        result.oldVersion = Platform::wtoi(QStringView(notice).mid(DeferredVersion.size()));
    } else {
        result.outcome = Outcome::Upgraded;
        result.copyPath = notice;
    }
    return result;
}

bool CBdD::MakeUpgradeCopy(int oldVersion, qint64 now, tUpgradeResult &result)
{
    // A working copy is a copy already: what it was made from stays.
    if (m_otherFile)
        return true;
    QString ext;
    const QString base = PathWithoutExtension(m_connection->GetPath(), &ext);
    const QDateTime local = Platform::LocalTime::toLocal(now);
    const QDate d = local.date();
    const QTime t = local.time();
    QString copy = Formatter::sprintf(u"%s_V%d_%04d%02d%02d%02d%02d%02d%s",
                                      {base, oldVersion, d.year(), d.month(), d.day(), t.hour(), t.minute(),
                                       t.second(), ext});
    for (int n = 2; QFileInfo::exists(copy); ++n) {
        if (n > 9)
            return false; // no free name: never upgrade without a copy
        copy = Formatter::sprintf(u"%s_V%d_%04d%02d%02d%02d%02d%02d(%d)%s",
                                  {base, oldVersion, d.year(), d.month(), d.day(), t.hour(), t.minute(),
                                   t.second(), n, ext});
    }

    // The copy is taken through SQLite's online backup from a second,
    // reading connection (this one holds the write lock), into a name that
    // nobody holds.
    if (CDatabaseFile::CopyLive(m_connection->GetPath(), copy, CDatabaseFile::Target::FreeName))
        result.copyPath = copy;
    return true;
}

CBdD::tUpgradeResult CBdD::UpdateDb()
{
    using Outcome = tUpgradeResult::Outcome;
    tUpgradeResult result;
    const QString context = QStringLiteral("UpdateDb");
    if (!IsOpen()) {
        if (m_newerVersion > 0) {
            result.outcome = Outcome::TooNew;
            result.oldVersion = m_newerVersion;
            return result;
        }
        LogSqlError(context);
        return result;
    }
    SQLite::CmyDataBase &db = *m_connection;
    const auto failWith = [&](int code) {
        result.outcome = Outcome::Failed;
        result.code = code != 0 ? code : 1;
        db.RollbackAfterFailure(result.code);
        LogSqlError(context);
        return result;
    };

    const qint64 now = Platform::Clock::now();
    // The write lock is taken first, so that the other program cannot write
    // between the version check and the version stamp. Without it nothing
    // starts: no copy, no statement.
    if (!db.BeginTransaction()) {
        result.outcome = Outcome::Failed;
        result.code = db.GetLastCode();
        LogSqlError(context);
        return result;
    }

    // The oldest files may have no Infos table at all: that is version 0.
    const bool infosExists = db.Query(u"Select name FROM sqlite_master Where name='Infos'").hasRows();
    bool versionRowExists = false;
    int version = 0;
    if (infosExists) {
        SQLite::MyTablePtr t = db.Query(u"select Value from Infos where name='VersionDB'");
        versionRowExists = t.hasRows();
        if (versionRowExists)
            version = Platform::wtoi(t->GetCellView(0, 0));
    }
    result.oldVersion = version;
    LogSqlError(context);
    if (db.GetLastCode() != 0)
        return failWith(db.GetLastCode());

    if (version > CurrentVersion || version < 0) {
        db.RollbackTransaction();
        result.outcome = Outcome::TooNew;
        return result;
    }

    if (version == CurrentVersion) {
        db.Query(u"select Visible from Forecast limit 1");
        if (db.GetLastCode() == 0) {
            db.RollbackTransaction();
            result.outcome = Outcome::Current;
            return result;
        }
        db.SetLastCode(0);
        db.Execute(u"alter table Forecast add column Visible integer default 1");
        if (db.GetLastCode() != 0 || !CommitWithRetry(db))
            return failWith(db.GetLastCode());
        result.outcome = Outcome::Completed;
        return result;
    }

    // Versions 0 and 1.
    if (!MakeUpgradeCopy(version, now, result)) {
        db.RollbackTransaction();
        result.outcome = Outcome::NoCopy;
        result.code = SQLITE_CANTOPEN;
        return result;
    }

    if (version == 0) {
        db.Execute(u"alter table Taches add column Title text default ''");
        db.Execute(u"alter table Taches add column Notes text default ''");
        db.Execute(u"alter table Favoris add column Title text default ''");
        db.Execute(u"alter table History add column Title text default ''");
        if (infosExists) {
            if (!db.Query(u"select Value from Infos where Name='Backup'").hasRows())
                db.Execute(InsertBackup);
        } else {
            db.Execute(CreateInfos);
            db.Execute(InsertBackup);
            db.Execute(Formatter::sprintf(u"insert into Infos(Name, Value) values ('Modif','%I64d')", {now}));
            db.Execute(InsertMajLan);
        }
        for (const char16_t *table : {u"Taches", u"Projets", u"Activites", u"TauxHoraire", u"Favoris"}) {
            if (db.Query(Formatter::sprintf(u"Select Id FROM %s Where Origine_Modif isnull", {table})).hasRows())
                db.Execute(Formatter::sprintf(
                    u"update %s set Origine_Modif=%d, Date_Modif=%I64d where Origine_Modif isnull", {table, 1, now}));
        }
        db.Execute(u"Drop table if exists RptTaches");
    }
    db.Execute(u"alter table Projets add column Type integer default 0");
    db.Execute(u"alter table Projets add column Activity integer default -1");
    db.Execute(u"alter table Projets add column Title text default ''");
    db.Execute(CreateForecast);
    db.Execute(CreateProjectChilds);
    db.Execute(u"Drop table if exists History");
    if (versionRowExists)
        db.Execute(Formatter::sprintf(u"update Infos set Value='%d' where Name='VersionDB'", {CurrentVersion}));
    else
        db.Execute(Formatter::sprintf(VersionFormat, {CurrentVersion}));

    if (db.GetLastCode() != 0 || !CommitWithRetry(db))
        return failWith(db.GetLastCode());
    db.Execute(u"VACUUM");
    m_fileVersion = CurrentVersion;
    result.outcome = Outcome::Upgraded;
    LogSqlError(context);
    return result;
}
