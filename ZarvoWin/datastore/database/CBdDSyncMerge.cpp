// The merge of the reviewed decisions into the copy of the device's
// database, which afterwards goes back to the device and over the local
// database; and the carrying over of the favourites' order.
#include "CBdD.h"
#include "SyncReviewList.h"
#include "SyncSteps.h"

#include "Formatter.h"
#include "IntParse.h"

#include <QHash>
#include <QSet>

#include <optional>

using Platform::Formatter;

namespace {

// The step text of each synchronised table.
int StepText(int kind)
{
    switch (kind) {
    case CBdD::TableProjets: return 382;
    case CBdD::TableActivites: return 383;
    case CBdD::TableTauxHoraire: return 384;
    case CBdD::TableTaches: return 386;
    case CBdD::TableFavoris: return 385;
    case CBdD::TableForecast: return 602;
    case CBdD::TableProjectChilds: return 634;
    default: return 0;
    }
}

// A whole number written as text (blanks around it allowed); nothing for
// any other text, which must never take part in a comparison.
std::optional<qint64> Number(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

// One merge on the copy's connection, reading the local rows on theirs.
class Merge
{
public:
    Merge(SQLite::CmyDataBase &local, SQLite::CmyDataBase &copy, SyncSteps &steps)
        : m_local(local), m_copy(copy), m_steps(steps)
    {
    }

    // The decisions in list order; false at the first failure or a cancel.
    bool Run(const SyncReviewList &list, bool &timeEntriesTouched)
    {
        int previousKind = 0;
        for (const SyncReviewList::Row &row : list) {
            if (m_steps.Cancelled())
                return false;
            // Group rows carry no decision, but the project order's.
            if (!row.item)
                continue;
            const SyncItem &item = *row.item;
            if (item.kind != previousKind) {
                if (previousKind != 0)
                    m_steps.SetLastStepState(SyncSteps::Done);
                if (previousKind == CBdD::TableProjets && !RepairParents())
                    return false;
                m_steps.AppendStep(StepText(item.kind), SyncSteps::Running);
                previousKind = item.kind;
            }
            if (item.kind == CBdD::TableTaches)
                timeEntriesTouched = true;
            const bool merged = item.kind == CBdD::TableProjectChilds ? CopyChildLists()
                : item.kind == CBdD::TableForecast                   ? MergePlan(item)
                                                                     : MergeRow(item);
            if (!merged)
                return false;
        }
        if (!RepairParents())
            return false;
        m_steps.SetLastStepState(SyncSteps::Done);
        CarryChangeStamp();
        return CarryIdCounters();
    }

private:
    // True while neither connection holds a failure of this merge.
    bool Sound() const { return m_local.GetLastCode() == 0 && m_copy.GetLastCode() == 0; }

    // Projects, activities, rates, favourites and time entries, matched by
    // Id on both sides.
    bool MergeRow(const SyncItem &item)
    {
        const QString table = CBdD::TableName(item.kind);
        if (table.isEmpty())
            return false;
        const bool takeLocal = item.action == SyncItem::KeepLocal && item.localId != -1;
        if (item.action == SyncItem::Delete || (item.action == SyncItem::KeepLocal && !takeLocal)) {
            if (item.deviceId != -1)
                m_copy.Execute(Formatter::sprintf(u"delete from %s where Id=%I64d", {table, item.deviceId}));
        } else if (takeLocal) {
            if (item.kind == CBdD::TableProjets)
                m_projects.append(item.localId);
            // A local row that is gone meanwhile writes nothing.
            CBdD::tRowCopy how = Synchronised(table);
            how.where = Formatter::sprintf(u"Id=%I64d", {item.localId});
            how.replace = true;
            CBdD::CopyRows(m_local, m_copy, table, how);
        } else if (item.action == SyncItem::TakeDevice) {
            // The copy holds the device's row already.
            if (item.kind == CBdD::TableProjets && item.deviceId != -1)
                m_projects.append(item.deviceId);
        } else {
            return false;
        }
        return Sound();
    }

    // Plans, matched by their node: each side numbers its rows, so a row
    // number is only a handle on its own side.
    bool MergePlan(const SyncItem &item)
    {
        const bool takeLocal = item.action == SyncItem::KeepLocal && item.localId != -1;
        if (item.action == SyncItem::Delete || (item.action == SyncItem::KeepLocal && !takeLocal)) {
            if (item.deviceId != -1) {
                if (const std::optional<QString> node = NodeOf(m_copy, item.deviceId))
                    m_copy.Execute(QStringLiteral("delete from Forecast where ") + *node);
            }
        } else if (takeLocal) {
            const std::optional<QString> node = NodeOf(m_local, item.localId);
            if (node) {
                // Every row of the node goes: the local plan replaces them.
                m_copy.Execute(QStringLiteral("delete from Forecast where ") + *node);
                CBdD::tRowCopy how = Synchronised(QStringLiteral("Forecast"));
                how.where = Formatter::sprintf(u"rowid=%I64d", {item.localId});
                // The row number is kept where the copy has it free.
                SQLite::MyTablePtr taken = m_copy.Query(
                    Formatter::sprintf(u"select 1 from Forecast where rowid=%I64d", {item.localId}));
                how.withRowId = taken && !taken.hasRows();
                CBdD::CopyRows(m_local, m_copy, QStringLiteral("Forecast"), how);
            }
        } else if (item.action != SyncItem::TakeDevice) {
            return false;
        }
        return Sound();
    }

    // The condition naming the node of a plan row; nothing when the row is
    // gone.
    static std::optional<QString> NodeOf(SQLite::CmyDataBase &db, qint64 rowId)
    {
        SQLite::MyTablePtr t = db.Query(
            Formatter::sprintf(u"select quote(IdProject), quote(IdActivity) from Forecast where rowid=%I64d", {rowId}));
        if (!t.hasRows())
            return std::nullopt;
        return Formatter::sprintf(u"IdProject is %s and IdActivity is %s", {t->GetCell(0, 0), t->GetCell(0, 1)});
    }

    // The local child lists replace the copy's lists of the same projects;
    // a list only the device has (a project made there) stays.
    bool CopyChildLists()
    {
        SQLite::MyTablePtr projects = m_local.Query(u"select distinct quote(IdProject) from ProjectChilds");
        if (!projects || !Sound())
            return false;
        for (int r = 0; r < projects->rowCount() && Sound(); ++r)
            m_copy.Execute(Formatter::sprintf(u"delete from ProjectChilds where IdProject is %s", {projects->GetCell(r, 0)}));
        if (Sound())
            CBdD::CopyRows(m_local, m_copy, QStringLiteral("ProjectChilds"), Synchronised(QStringLiteral("ProjectChilds")));
        if (Sound())
            m_copy.Execute(u"update ProjectChilds set Origine_Modif=0");
        return Sound();
    }

    // A copy of local rows counts as synchronised.
    CBdD::tRowCopy Synchronised(const QString &table)
    {
        CBdD::tRowCopy how;
        how.fixedValues.insert(QStringLiteral("Origine_Modif"), QStringLiteral("0"));
        auto known = m_columns.constFind(table);
        if (known == m_columns.constEnd())
            known = m_columns.insert(table, CBdD::ColumnsOf(m_copy, table));
        how.columns = *known;
        return how;
    }

    // The projects merged so far whose parent chain no longer reaches the
    // top (their own parent, a loop, a missing or deleted ancestor) move to
    // the top. Emptied afterwards.
    bool RepairParents()
    {
        if (m_projects.isEmpty())
            return Sound();
        QHash<qint64, std::optional<qint64>> parents; // live projects; nothing for a NULL parent
        SQLite::MyTablePtr rows = m_copy.Query(u"select Id, Parent from Projets where Deleted=0");
        if (!rows || !Sound())
            return false;
        parents.reserve(rows->rowCount());
        for (int r = 0; r < rows->rowCount(); ++r) {
            const QStringView parent = rows->GetCellView(r, 1);
            parents.insert(rows->GetInt64At(r, 0),
                           parent.isEmpty() ? std::nullopt : std::optional<qint64>(Platform::wtoi64(parent)));
        }
        QSet<qint64> done;
        for (qint64 id : std::as_const(m_projects)) {
            const auto self = parents.constFind(id);
            if (done.contains(id) || self == parents.constEnd())
                continue;
            done.insert(id);
            if (self->has_value() && **self == -1)
                continue;
            if (ReachesTheTop(id, parents))
                continue;
            m_copy.Execute(Formatter::sprintf(u"update Projets set Parent=-1 where Id=%I64d", {id}));
            parents[id] = -1;
        }
        m_projects.clear();
        return Sound();
    }

    static bool ReachesTheTop(qint64 id, const QHash<qint64, std::optional<qint64>> &parents)
    {
        QSet<qint64> met{id};
        std::optional<qint64> step = parents.value(id);
        while (step) {
            if (*step == -1)
                return true;
            if (met.contains(*step))
                return false; // its own parent, or a loop
            const auto ancestor = parents.constFind(*step);
            if (ancestor == parents.constEnd())
                return false; // missing or deleted
            met.insert(*step);
            step = *ancestor;
        }
        return false;
    }

    // The copy's 'Modif' becomes the local one when that is later. A local
    // stamp that cannot be read marks the step failed without failing the
    // merge; one that is not a number changes nothing.
    void CarryChangeStamp()
    {
        const int kept = m_local.GetLastCode();
        SQLite::MyTablePtr ours = m_local.Query(u"select Value from Infos where Name='Modif'");
        if (!ours.hasRows() || m_local.GetLastCode() != 0) {
            m_local.SetLastCode(kept);
            m_steps.SetLastStepState(SyncSteps::Failed);
            return;
        }
        const std::optional<qint64> local = Number(ours->GetCell(0, 0));
        if (!local)
            return;
        SQLite::MyTablePtr theirs = m_copy.Query(u"select Value from Infos where Name='Modif'");
        if (!theirs || !Sound())
            return;
        if (!theirs.hasRows()) {
            m_copy.Execute(Formatter::sprintf(u"insert into Infos (Name, Value) values ('Modif','%I64d')", {*local}));
            return;
        }
        const std::optional<qint64> device = Number(theirs->GetCell(0, 0));
        if (!device || *device < *local)
            m_copy.Execute(Formatter::sprintf(u"update Infos set Value='%I64d' where Name='Modif'", {*local}));
    }

    // Each id counter of the copy becomes the larger of both sides, column
    // by column; a counter only the local side has is copied. A value that
    // is not a number gives way to the other side's.
    bool CarryIdCounters()
    {
        if (!Sound())
            return false;
        const char16_t *const columns[] = {u"Ppc", u"Pc", u"Serveur"};
        SQLite::MyTablePtr ours = m_local.Query(u"select quote(Name), Ppc, Pc, Serveur from NextRowId");
        SQLite::MyTablePtr theirs = m_copy.Query(u"select quote(Name), Ppc, Pc, Serveur from NextRowId");
        if (!ours || !theirs || !Sound())
            return false;
        QHash<QString, int> copyRow;
        for (int r = 0; r < theirs->rowCount(); ++r)
            copyRow.insert(theirs->GetCell(r, 0), r);
        for (int r = 0; r < ours->rowCount() && Sound(); ++r) {
            const QString name = ours->GetCell(r, 0);
            const auto found = copyRow.constFind(name);
            if (found == copyRow.constEnd()) {
                CBdD::tRowCopy how;
                how.where = QStringLiteral("Name is ") + name;
                CBdD::CopyRows(m_local, m_copy, QStringLiteral("NextRowId"), how);
                continue;
            }
            QStringList sets;
            for (int c = 0; c < 3; ++c) {
                const std::optional<qint64> local = Number(ours->GetCell(r, c + 1));
                const std::optional<qint64> device = Number(theirs->GetCell(*found, c + 1));
                if (local && (!device || *device < *local))
                    sets << Formatter::sprintf(u"%s=%I64d", {columns[c], *local});
            }
            if (!sets.isEmpty())
                m_copy.Execute(Formatter::sprintf(u"update NextRowId set %s where Name is %s", {sets.join(u','), name}));
        }
        return Sound();
    }

    SQLite::CmyDataBase &m_local;
    SQLite::CmyDataBase &m_copy;
    SyncSteps &m_steps;
    QList<qint64> m_projects; // projects merged since the last parent repair
    QHash<QString, QStringList> m_columns;
};

} // namespace

bool CBdD::ApplySynchronisation(const QString &devicePath, const SyncReviewList &list, SyncSteps &steps,
                                bool &timeEntriesTouched)
{
    timeEntriesTouched = false;
    if (list.IsEmpty() || !IsOpen())
        return false;
    SQLite::CmyDataBase copy;
    if (!OpenCopyForMerge(copy, devicePath) || !copy.BeginTransaction())
        return false;
    // Only this merge's own failures count, not one the local connection
    // kept from before.
    const int kept = m_connection->GetLastCode();
    m_connection->SetLastCode(0);
    bool ok = Merge(*m_connection, copy, steps).Run(list, timeEntriesTouched);
    ok = ok && m_connection->GetLastCode() == 0 && copy.GetLastCode() == 0 && CommitWithRetry(copy);
    if (!ok)
        copy.RollbackAfterFailure();
    else
        ok = copy.Execute(u"VACUUM") == 0;
    if (m_connection->GetLastCode() == 0)
        m_connection->SetLastCode(kept);
    return ok;
}

CBdD::MergeOutcome CBdD::MergeFavoriteOrder(const QString &devicePath, SyncSteps &steps)
{
    if (!IsOpen())
        return MergeOutcome::Failed;
    SQLite::CmyDataBase copy;
    if (!OpenCopyForMerge(copy, devicePath) || !copy.BeginTransaction())
        return MergeOutcome::Failed;
    const int kept = m_connection->GetLastCode();
    m_connection->SetLastCode(0);
    const auto end = [&](MergeOutcome outcome) {
        if (outcome != MergeOutcome::Done)
            copy.RollbackAfterFailure();
        if (m_connection->GetLastCode() == 0)
            m_connection->SetLastCode(kept);
        return outcome;
    };

    SQLite::MyTablePtr ours = m_connection->Query(u"select Id, Ordre from Favoris");
    SQLite::MyTablePtr theirs = copy.Query(u"Select Id, Ordre FROM Favoris");
    if (!ours || !theirs || m_connection->GetLastCode() != 0 || copy.GetLastCode() != 0)
        return end(MergeOutcome::Failed);
    QHash<qint64, qint64> localOrder;
    localOrder.reserve(ours->rowCount());
    for (int r = 0; r < ours->rowCount(); ++r)
        localOrder.insert(ours->GetInt64At(r, 0), ours->GetInt64At(r, 1));
    for (int r = 0; r < theirs->rowCount(); ++r) {
        if (steps.Cancelled())
            return end(MergeOutcome::Cancelled);
        // The order is the time of the last use: the latest use wins.
        const qint64 id = theirs->GetInt64At(r, 0);
        const auto local = localOrder.constFind(id);
        if (local != localOrder.constEnd() && *local > theirs->GetInt64At(r, 1))
            copy.Execute(Formatter::sprintf(u"update Favoris set Ordre=%I64d where Id=%I64d", {*local, id}));
        if (copy.GetLastCode() != 0)
            return end(MergeOutcome::Failed);
    }
    if (!CommitWithRetry(copy))
        return end(MergeOutcome::Failed);
    return end(MergeOutcome::Done);
}
