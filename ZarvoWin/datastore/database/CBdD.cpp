#include "CBdD.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CDataChangedNotifier.h"
#include "ProgressDlgShared.h"
#include "QuoteSql.h"
#include "RegisteredMessages.h"

#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "MessageBus.h"
#include "Settings.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <chrono>
#include <limits>
#include <filesystem>
#include <thread>

using Platform::Formatter;

// ---------------------------------------------------------------------
// Connections
// ---------------------------------------------------------------------

CBdD::~CBdD()
{
    if (m_openedHere && m_connection)
        m_connection->Close();
}

SQLite::MyTablePtr CBdD::Query(QStringView sql)
{
    if (!m_connection)
        return SQLite::MyTablePtr();
    return m_connection->Query(sql);
}

SQLite::MyTablePtr CBdD::ReadRows(QStringView sql)
{
    if (!m_connection)
        return SQLite::MyTablePtr();
    const int kept = m_connection->GetLastCode();
    m_connection->SetLastCode(0);
    SQLite::MyTablePtr t = m_connection->Query(sql);
    if (m_connection->GetLastCode() != 0)
        return SQLite::MyTablePtr();
    m_connection->SetLastCode(kept);
    return t;
}

int CBdD::Execute(QStringView sql)
{
    if (!m_connection)
        return 1;
    return m_connection->Execute(sql);
}

QString CBdD::TableName(int tableCode)
{
    switch (tableCode) {
    case TableProjets: return QStringLiteral("Projets");
    case TableActivites: return QStringLiteral("Activites");
    case TableTauxHoraire: return QStringLiteral("TauxHoraire");
    case TableTaches: return QStringLiteral("Taches");
    case TableFavoris: return QStringLiteral("Favoris");
    case TableForecast: return QStringLiteral("Forecast");
    case TableProjectChilds: return QStringLiteral("ProjectChilds");
    default: return QString();
    }
}

// ---------------------------------------------------------------------
// Write convention
// ---------------------------------------------------------------------

bool CBdD::BeginWrite()
{
    if (!IsOpen())
        return false;
    if (!m_connection->BeginTransaction()) {
        LogSqlError(QStringLiteral("BeginWrite"));
        return false;
    }
    m_inWrite = true;
    m_changePending = false;
    m_modifPending = false;
    if (CAnnulation *history = UndoHistory())
        history->BeginGroup();
    return true;
}

// A COMMIT that meets a reader of the other program (which holds its
// shared lock for the length of one read) fails as busy while the
// transaction stays open: it is tried again as long as a BEGIN would be,
// before the write is given up.
bool CBdD::CommitWithRetry(SQLite::CmyDataBase &connection)
{
    bool committed = connection.CommitTransaction();
    for (int retry = 0; !committed && retry < SQLite::CmyDataBase::BusyRetries
                        && connection.GetLastCode() == SQLITE_BUSY && !sqlite3_get_autocommit(connection.Handle());
         ++retry) {
        std::this_thread::sleep_for(std::chrono::milliseconds(SQLite::CmyDataBase::BusySleepMs));
        committed = connection.CommitTransaction();
    }
    return committed;
}

bool CBdD::EndWrite(bool ok)
{
    const bool announce = m_changePending;
    const bool stampModif = m_modifPending;
    m_inWrite = false;
    m_changePending = false;
    m_modifPending = false;
    if (!IsOpen())
        return false;
    // 'Modif' is stamped once for the whole write, however many rows it
    // stamped.
    if (ok && stampModif && m_connection->GetLastCode() == 0)
        StampModif(*m_connection, Platform::Clock::now(), UndoHistory());
    const bool commit = ok && m_connection->GetLastCode() == 0;
    // The write's one broadcast follows its COMMIT: the other program reloads
    // as soon as it reads it, so it must find the change already there, and
    // a write whose COMMIT fails announces nothing.
    if (commit && CommitWithRetry(*m_connection)) {
        if (announce && !m_otherFile)
            PostLandedWrite();
        return true;
    }
    // Keep the failing code visible (for the log) past the rollback. A
    // COMMIT that failed may already have ended the transaction; the
    // ROLLBACK then only confirms it.
    const int code = m_connection->GetLastCode();
    m_connection->RollbackAfterFailure();
    if (CAnnulation *history = UndoHistory())
        history->DropLastGroup();
    // A write given up for an SQL failure (the file kept busy, for one)
    // leaves its line in the log; one the caller refused leaves none.
    if (code != 0)
        LogSqlError(QStringLiteral("EndWrite"));
    return false;
}

int CBdD::ExecuteWithUndo(const QString &redo, const QString &undo)
{
    const int rc = Execute(redo);
    RecordUndo(redo, undo);
    return rc;
}

int CBdD::AllocateRowId(int tableCode, bool allocate)
{
    if (!IsOpen())
        return -1;
    if (tableCode < TableProjets || tableCode > TableFavoris)
        return -1;
    const QString table = TableName(tableCode);
    if (!allocate) {
        SQLite::MyTablePtr t = Query(Formatter::sprintf(u"Select count(*) FROM %s where Deleted=0", {table}));
        return t.hasRows() ? t->GetFirstInt() : -1;
    }
    // The counter, and whether its id is taken already, in one read.
    SQLite::MyTablePtr t = Query(Formatter::sprintf(
        u"Select Pc, exists(select 1 from %s where Id=NextRowId.Pc) FROM NextRowId where Name='%s'", {table, table}));
    if (!t.hasRows())
        return -1;
    qint64 id = t->GetInt64At(0, 0);
    // The counter may lag behind ids in use (an undo that ran after the
    // other program inserted rows, a file put together by hand): an id
    // that is taken goes past every id of this origin (ids of an origin
    // are 3 apart), so that the insert cannot fail on it, again and again.
    if (t->GetIntAt(0, 1) != 0) {
        SQLite::MyTablePtr last = Query(Formatter::sprintf(
            u"select max(Id) from %s where Id >= %I64d and (Id - %I64d) %% 3 = 0", {table, id, id}));
        if (!last.hasRows() || LastCode() != 0)
            return -1;
        id = last->GetInt64At(0, 0) + 3;
    }
    if (id < 0 || id > std::numeric_limits<int>::max() - 3)
        return -1;
    const QString redo = Formatter::sprintf(u"Update NextRowId set Pc = %I64d where Name = '%s'", {id + 3, table});
    // The undo puts the counter back, but never below an id of this origin
    // still in use: the other program may have taken ids after this one
    // meanwhile, and the row of this id is deleted by the undo before.
    const QString undo = Formatter::sprintf(
        u"Update NextRowId set Pc = ifnull((select max(Id) + 3 from %s where Id >= %I64d and (Id - %I64d) %% 3 = 0), "
        u"%I64d) where Name = '%s'",
        {table, id, id, id, table});
    if (ExecuteWithUndo(redo, undo) != 0)
        return -1;
    return static_cast<int>(id);
}

int CBdD::InsertNewRow(int tableCode, const std::function<QString(int id)> &insert)
{
    const int id = AllocateRowId(tableCode);
    if (id == -1)
        return -1;
    ExecuteWithUndo(insert(id), Formatter::sprintf(u"delete from %s where Id=%d", {TableName(tableCode), id}));
    StampRow(tableCode, id);
    return id;
}

int CBdD::UpdateRow(int tableCode, qint64 rowId, const QString &redo)
{
    const QString undo = UndoHistory() ? SnapshotRow(tableCode, rowId) : QString();
    const int rc = ExecuteWithUndo(redo, undo);
    if (rc != 0)
        return rc;
    // An update of an id that has no row changes nothing: no write to
    // stamp, and no success to report.
    if (ChangedRows() == 0)
        return SQLITE_NOTFOUND;
    StampRow(tableCode, rowId);
    return 0;
}

CAnnulation *CBdD::UndoHistory() const
{
    return m_otherFile ? nullptr : CAppData::Annulation();
}

void CBdD::RecordUndo(const QString &redo, const QString &undo)
{
    if (CAnnulation *history = UndoHistory())
        history->AddStep(redo, undo);
}

void CBdD::NotifyWindows(qint64 wParam, qint64 lParam)
{
    if (!m_otherFile)
        SendDataChanged(wParam, lParam);
}

void CBdD::PostChangeAfterWrite(qint64 wParam)
{
    if (!m_otherFile)
        PostChange(wParam);
}

void CBdD::RefreshTaskPaneAfterWrite()
{
    if (!m_otherFile)
        CAppData::RunTaskPaneRefresh();
}

void CBdD::RunBackupAfterWrite()
{
    if (!m_otherFile)
        CAppData::RunAutoBackup();
}

QString CBdD::Literal(QStringView type, QStringView value)
{
    if (type == u"null")
        return QStringLiteral("NULL");
    return u'\'' + QuoteSql(value) + u'\'';
}

void CBdD::StampRow(int tableCode, qint64 rowId)
{
    if (!IsOpen())
        return;
    // Inside a write, 'Modif' waits for its end (EndWrite).
    StampRowOnly(*m_connection, tableCode, rowId, UndoHistory(), !m_inWrite);
    m_modifPending = m_modifPending || m_inWrite;
    AnnounceChange();
}

void CBdD::StampRow(SQLite::CmyDataBase &connection, int tableCode, qint64 rowId)
{
    StampRowOnly(connection, tableCode, rowId, CAppData::Annulation());
    PostLandedWrite();
}

void CBdD::AnnounceChange()
{
    if (m_otherFile)
        return;
    if (m_inWrite)
        m_changePending = true;
    else
        PostLandedWrite();
}

void CBdD::StampRowOnly(SQLite::CmyDataBase &connection, int tableCode, qint64 rowId, CAnnulation *history,
                        bool modif)
{
    const qint64 now = Platform::Clock::now();
    const QString table = TableName(tableCode);
    // The former stamps are read for the undo history alone.
    const bool undoable = history != nullptr;
    if (!table.isEmpty()) {
        SQLite::MyTablePtr old;
        if (undoable)
            old = connection.Query(Formatter::sprintf(
                u"select typeof(Date_Modif), Date_Modif, typeof(Origine_Modif), Origine_Modif from %s where rowid=%I64d",
                {table, rowId}));
        QString undo;
        if (old.hasRows()) {
            undo = Formatter::sprintf(u"update %s set Date_Modif=%s, Origine_Modif=%s where rowid=%I64d",
                                      {table, Literal(old->GetCellView(0, 0), old->GetCellView(0, 1)),
                                       Literal(old->GetCellView(0, 2), old->GetCellView(0, 3)), rowId});
        }
        const QString redo = Formatter::sprintf(u"update %s set Date_Modif=%I64d, Origine_Modif=%d where rowid=%I64d",
                                                {table, now, 1, rowId});
        connection.Execute(redo);
        if (history)
            history->AddStep(redo, undo);
    }
    if (modif)
        StampModif(connection, now, history);
}

void CBdD::StampModif(SQLite::CmyDataBase &connection, qint64 now, CAnnulation *history)
{
    SQLite::MyTablePtr old;
    if (history)
        old = connection.Query(u"select typeof(Value), Value from Infos where Name='Modif'");
    QString undo;
    if (old.hasRows())
        undo = Formatter::sprintf(u"update Infos set Value=%s where Name='Modif'",
                                  {Literal(old->GetCellView(0, 0), old->GetCellView(0, 1))});
    const QString redo = Formatter::sprintf(u"update Infos set Value='%I64d' where Name='Modif'", {now});
    connection.Execute(redo);
    if (history)
        history->AddStep(redo, undo);
}

bool CBdD::GetModifStamp(QString &stamp)
{
    stamp.clear();
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t = ReadRows(u"select Value from Infos where Name='Modif'");
    if (!t)
        return false;
    if (t->rowCount() > 0)
        stamp = t->GetCell(0, 0);
    return true;
}

void CBdD::StampTimeEntriesWhere(const QString &condition)
{
    if (!IsOpen())
        return;
    const QString redo = Formatter::sprintf(u"update Taches set Date_Modif=%I64d, Origine_Modif=%d where %s",
                                            {Platform::Clock::now(), 1, condition});
    RecordUndoWhere(redo, TableTaches, condition);
    Execute(redo);
    AnnounceChange();
}

void CBdD::PostChange(qint64 wParam)
{
    static const quint32 message = Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange);
    Platform::MessageBus::post(message, static_cast<quint64>(wParam), 0);
}

void CBdD::PostLandedWrite()
{
    if (CAppData::LandedWriteNotice() == CAppData::LandedWriteMessage::RefreshFromTray) {
        static const quint32 refresh = Platform::MessageBus::registerMessage(RegisteredMessages::RefreshFromTray);
        Platform::MessageBus::post(refresh, 0, 0);
    } else {
        PostChange(0);
    }
}

void CBdD::SendDataChanged(qint64 wParam, qint64 lParam)
{
    CAppData::DataChangedNotifier().Send(wParam, lParam);
}

void CBdD::SendProgressText(ProgressDlgShared *progress, const QString &text)
{
    if (progress)
        progress->SendText(text);
}

// ---------------------------------------------------------------------
// Undo support
// ---------------------------------------------------------------------

QStringList CBdD::ColumnNames(const QString &table)
{
    return m_connection ? ColumnsOf(*m_connection, table) : QStringList();
}

// "select [rowid,] typeof(c1), c1, typeof(c2), c2 ... from table"
static QString SelectWithTypes(const QString &table, const QStringList &columns, bool withRowId)
{
    QString sql = QStringLiteral("select ");
    if (withRowId)
        sql += QStringLiteral("rowid, ");
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0)
            sql += QStringLiteral(", ");
        sql += QStringLiteral("typeof(") + columns[i] + QStringLiteral("), ") + columns[i];
    }
    return sql + QStringLiteral(" from ") + table;
}

QString CBdD::RestoreStatement(const QString &table, const QStringList &columns, const SQLite::MyTable &rows,
                               int row, const QString &rowId)
{
    const int first = rows.columnCount() - 2 * static_cast<int>(columns.size());
    QString sql = Formatter::sprintf(u"update %s set ", {table});
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const int c = first + 2 * static_cast<int>(i);
        if (i > 0)
            sql += u',';
        sql += columns[i] + u'=' + Literal(rows.GetCellView(row, c), rows.GetCellView(row, c + 1)) + u' ';
    }
    return sql + QStringLiteral("where rowid=") + rowId;
}

QString CBdD::SnapshotRow(int tableCode, qint64 rowId)
{
    if (!IsOpen())
        return QString();
    switch (tableCode) {
    case TableProjets: case TableActivites: case TableTauxHoraire:
    case TableTaches: case TableFavoris: case TableForecast:
        break;
    default:
        return QString();
    }
    const QString table = TableName(tableCode);
    const QStringList columns = ColumnNames(table);
    if (columns.isEmpty())
        return QString();
    SQLite::MyTablePtr t = Query(SelectWithTypes(table, columns, false)
                                 + Formatter::sprintf(u" where rowid=%I64d", {rowId}));
    if (!t.hasRows())
        return QString();
    return RestoreStatement(table, columns, *t, 0, QString::number(rowId));
}

void CBdD::RecordUndoWhere(const QString &redo, int tableCode, const QString &condition)
{
    // Another file than the user's keeps no history: no row to read back.
    if (!UndoHistory())
        return;
    const QString table = TableName(tableCode);
    const QStringList columns = table.isEmpty() || !IsOpen() ? QStringList() : ColumnNames(table);
    SQLite::MyTablePtr t;
    if (!columns.isEmpty())
        t = Query(SelectWithTypes(table, columns, true) + QStringLiteral(" where ") + condition);
    if (!t.hasRows()) {
        RecordUndo(redo, QString());
        return;
    }
    for (int r = 0; r < t->rowCount(); ++r)
        RecordUndo(r == 0 ? redo : QString(), RestoreStatement(table, columns, *t, r, t->GetCell(r, 0)));
}

QString CBdD::DeletedLiteral(int tableCode, int id)
{
    const QString table = TableName(tableCode);
    SQLite::MyTablePtr t = table.isEmpty() || !IsOpen()
        ? SQLite::MyTablePtr()
        : Query(Formatter::sprintf(u"select quote(Deleted) from %s where Id=%d", {table, id}));
    return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("0");
}

bool CBdD::RunBatch(const QStringList &texts)
{
    if (!IsOpen())
        return false;
    const auto fail = [this] {
        LogSqlError(QStringLiteral("RunBatch"));
        return false;
    };
    if (!m_connection->BeginTransaction())
        return fail();
    for (const QString &text : texts) {
        if (text.isEmpty())
            continue;
        if (m_connection->Execute(text) != 0) {
            m_connection->RollbackAfterFailure();
            return fail();
        }
    }
    if (!CommitWithRetry(*m_connection)) {
        m_connection->RollbackAfterFailure();
        return fail();
    }
    CAppData::RunAfterBatchHook(*this);
    return true;
}

// ---------------------------------------------------------------------
// SQL error log
// ---------------------------------------------------------------------

static QString PathWithoutExtension(const QString &path)
{
    // Only the file name's own extension is cut, never a dot of a folder.
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? path : path.left(path.size() - name.size() + dot);
}

QString CBdD::LogPathFor(const QString &databasePath)
{
    return PathWithoutExtension(databasePath) + QStringLiteral(".log");
}

void CBdD::LogSqlError(const QString &context, bool clear)
{
    if (!m_connection)
        return;
    const int code = m_connection->GetLastCode();
    if (clear)
        m_connection->SetLastCode(0);
    if (code == 0)
        return;
    switch (CAppData::SqlLog()) {
    case CAppData::SqlLogSwitch::Off:
        return;
    case CAppData::SqlLogSwitch::On:
        break;
    case CAppData::SqlLogSwitch::FromSettings:
        if (Platform::Settings().getInt(u"Config", u"Misc", u"LogErrors", 0) != 1)
            return;
        break;
    }
    const QString dbPath = m_connection->GetPath().isEmpty() ? m_path : m_connection->GetPath();
    if (dbPath.isEmpty())
        return;

    QString stamp = Platform::LocalTime::toLocal(Platform::Clock::now()).toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    if (const QString tag = CAppData::SqlLogTag(); !tag.isEmpty())
        stamp += u' ' + tag;
    const QByteArray line = Formatter::sprintf(u"%s : sqlite error '%d' in '%s'\n", {stamp, code, context}).toUtf8();

    const QString logPath = LogPathFor(dbPath);
    QFile log(logPath);
    if (!log.open(QIODevice::ReadWrite | QIODevice::Append))
        return;
    log.write(line);
    if (log.size() <= MaxLogSize)
        return;

    // Too long: keep the whole lines of the second half.
    log.seek(0);
    const QByteArray all = log.readAll();
    log.close();
    const qsizetype cut = all.indexOf('\n', all.size() / 2);
    const QByteArray kept = cut < 0 ? QByteArray() : all.mid(cut + 1);
    const QString newPath = PathWithoutExtension(dbPath) + QStringLiteral(".newlog");
    QFile next(newPath);
    if (next.open(QIODevice::WriteOnly | QIODevice::Truncate) && next.write(kept) == kept.size() && next.flush()) {
        next.close();
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(newPath).constData(), QFile::encodeName(logPath).constData(), ec);
        if (!ec)
            return;
        QFile::remove(newPath);
    }
    // No room for the second file: start the log again with this line.
    if (log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        log.write(line);
}
