// The comparison of the local database with a copy of the device's: one
// review row per element that differs, with the decision the newer side
// suggests.
#include "CBdD.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "ProgressDlgShared.h"
#include "SyncReviewList.h"
#include "tProjectContext.h"

#include "Formatter.h"
#include "IntParse.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

using Platform::Formatter;

namespace {

// A side of the comparison: the schema name it is attached under.
enum Side { Local = 0, Device = 1 };
constexpr const char16_t *SchemaNames[] = {u"main", u"Ppc"};

// The pieces of one side's row that every comparison reads: its id, its
// change stamp as an integer and its deleted flag (a NULL flag reads as
// live, as the purge keeps such a row).
QString rowColumns(Side side, const QString &table, const QString &extra)
{
    return Formatter::sprintf(u"%s.%s.Id, coalesce(cast(%s.%s.Date_Modif as integer),0), "
                              u"coalesce(%s.%s.Deleted<>0,0)%s",
                              {SchemaNames[side], table, SchemaNames[side], table, SchemaNames[side], table, extra});
}

// The names of one side's projects and activities, read once when an
// element without a title of its own needs them.
class NameBook
{
public:
    void Load(SQLite::CmyDataBase &db, Side side, bool &failed)
    {
        if (m_loaded)
            return;
        m_loaded = true;
        SQLite::MyTablePtr projects =
            db.Query(Formatter::sprintf(u"select Id, Nom, Parent from %s.Projets", {SchemaNames[side]}));
        SQLite::MyTablePtr activities =
            db.Query(Formatter::sprintf(u"select Id, Nom from %s.Activites", {SchemaNames[side]}));
        if (!projects || !activities || db.GetLastCode() != 0) {
            failed = true;
            return;
        }
        m_projects.reserve(projects->rowCount());
        for (int r = 0; r < projects->rowCount(); ++r)
            m_projects.insert(projects->GetIntAt(r, 0), {projects->GetCell(r, 1), projects->GetIntAt(r, 2, -1)});
        m_activities.reserve(activities->rowCount());
        for (int r = 0; r < activities->rowCount(); ++r)
            m_activities.insert(activities->GetIntAt(r, 0), activities->GetCell(r, 1));
    }

    QString ProjectName(int id) const { return m_projects.value(id).name; }
    QString ActivityName(int id) const { return m_activities.value(id); }

    // The names of the project and its ancestors, top first, then the
    // activity's unless the row is the project's own (-2) or the activity
    // is unknown; empty for an unknown project.
    QString FullName(int projectId, int activityId, const QString &separator) const
    {
        auto node = m_projects.constFind(projectId);
        if (node == m_projects.constEnd())
            return QString();
        QString name = node->name;
        // A parent chain that loops ends before the first project met twice.
        QSet<int> met{projectId};
        for (int parent = node->parent; !met.contains(parent); parent = node->parent) {
            node = m_projects.constFind(parent);
            if (node == m_projects.constEnd())
                break;
            met.insert(parent);
            name = node->name + separator + name;
        }
        if (activityId != -2 && m_activities.contains(activityId))
            name += separator + m_activities.value(activityId);
        return name;
    }

private:
    struct Project
    {
        QString name;
        int parent = -1;
    };
    bool m_loaded = false;
    QHash<int, Project> m_projects;
    QHash<int, QString> m_activities;
};

class Comparison
{
public:
    Comparison(SQLite::CmyDataBase &db, SyncReviewList &list, ProgressDlgShared *job, int &count,
               const CConfiguration &formats)
        : m_db(db), m_list(list), m_job(job), m_count(count), m_formats(formats)
    {
    }

    CBdD::CompareOutcome Run()
    {
        using Outcome = CBdD::CompareOutcome;
        // The order in which the review shows the groups.
        for (int kind : {CBdD::TableProjets, CBdD::TableProjectChilds, CBdD::TableActivites, CBdD::TableTauxHoraire,
                         CBdD::TableForecast, CBdD::TableFavoris, CBdD::TableTaches}) {
            if (kind == CBdD::TableProjectChilds)
                CompareChildLists();
            else if (kind == CBdD::TableForecast)
                ComparePlans();
            else
                CompareById(kind);
            CloseGroup();
            if (m_failed)
                return Outcome::Failed;
            if (m_cancelled)
                return Outcome::Cancelled;
        }
        return Outcome::Compared;
    }

private:
    // False once the user cancelled or a read failed: the comparison stops.
    bool GoOn()
    {
        if (!m_cancelled && m_job && m_job->IsCancelled())
            m_cancelled = true;
        return !m_cancelled && !m_failed;
    }

    SQLite::MyTablePtr Read(const QString &sql)
    {
        if (!GoOn())
            return SQLite::MyTablePtr();
        SQLite::MyTablePtr t = m_db.Query(sql);
        if (!t || m_db.GetLastCode() != 0) {
            m_failed = true;
            return SQLite::MyTablePtr();
        }
        return t;
    }

    // --- Rows matched by Id: projects, activities, rates, favourites,
    //     time entries ---------------------------------------------------

    // The columns after the three common ones, by kind.
    static QString NameColumns(int kind, Side side)
    {
        const QString t = CBdD::TableName(kind);
        const QString s = QString::fromUtf16(SchemaNames[side]);
        switch (kind) {
        case CBdD::TableTaches:
            return Formatter::sprintf(u", %s.%s.Title, %s.%s.IdProjet, %s.%s.IdActivite", {s, t, s, t, s, t});
        case CBdD::TableFavoris:
            return Formatter::sprintf(u", %s.%s.Title, %s.%s.IdProject, %s.%s.IdActivite", {s, t, s, t, s, t});
        default:
            return Formatter::sprintf(u", %s.%s.Nom", {s, t});
        }
    }

    void CompareById(int kind)
    {
        const QString t = CBdD::TableName(kind);
        // Time entries are listed in the order of their start.
        const bool byStart = kind == CBdD::TableTaches;
        const auto order = [&](Side side) {
            return byStart ? Formatter::sprintf(u" order by %s.Taches.Debut", {SchemaNames[side]}) : QString();
        };
        const QString local = rowColumns(Local, t, NameColumns(kind, Local));
        const QString device = rowColumns(Device, t, NameColumns(kind, Device));
        const int width = byStart || kind == CBdD::TableFavoris ? 6 : 4;

        // Each join reads its first table in the order of its ids (never
        // through an index, which would send every look-up of a row, and
        // of the other side's, to another page) and looks the other side
        // up by id; only the few rows found are sorted.
        // Only on the device.
        if (SQLite::MyTablePtr rows = Read(Formatter::sprintf(
                u"select %s from Ppc.%s not indexed left outer join main.%s on main.%s.Id=Ppc.%s.Id "
                u"where main.%s.Id is null and coalesce(Ppc.%s.Deleted<>0,0)=0%s",
                {device, t, t, t, t, t, t, order(Device)}))) {
            for (int r = 0; r < rows->rowCount() && GoOn(); ++r) {
                SyncItem item;
                item.kind = kind;
                item.deviceId = rows->GetInt64At(r, 0, -1);
                item.action = SyncItem::TakeDevice;
                Add(item, SideOf(kind, Device, *rows, r, 0), SyncReviewList::Side::Missing());
            }
        }
        // On both sides, changed since the last synchronisation.
        if (SQLite::MyTablePtr rows = Read(Formatter::sprintf(
                u"select %s, %s from Ppc.%s not indexed cross join main.%s on main.%s.Id=Ppc.%s.Id "
                u"where coalesce(cast(main.%s.Date_Modif as integer),0) != coalesce(cast(Ppc.%s.Date_Modif as integer),0) "
                u"and (coalesce(main.%s.Deleted<>0,0)=0 or coalesce(Ppc.%s.Deleted<>0,0)=0)%s",
                {local, device, t, t, t, t, t, t, t, t, order(Device)}))) {
            for (int r = 0; r < rows->rowCount() && GoOn(); ++r) {
                SyncItem item;
                item.kind = kind;
                item.localId = rows->GetInt64At(r, 0, -1);
                item.deviceId = rows->GetInt64At(r, width, -1);
                Decide(item, rows->GetInt64At(r, 1), rows->GetIntAt(r, 2) != 0, rows->GetInt64At(r, width + 1),
                       rows->GetIntAt(r, width + 2) != 0);
                Add(item, SideOf(kind, Device, *rows, r, width), SideOf(kind, Local, *rows, r, 0));
            }
        }
        // Only here.
        if (SQLite::MyTablePtr rows = Read(Formatter::sprintf(
                u"select %s from main.%s not indexed left outer join Ppc.%s on Ppc.%s.Id=main.%s.Id "
                u"where Ppc.%s.Id is null and coalesce(main.%s.Deleted<>0,0)=0%s",
                {local, t, t, t, t, t, t, order(Local)}))) {
            for (int r = 0; r < rows->rowCount() && GoOn(); ++r) {
                SyncItem item;
                item.kind = kind;
                item.localId = rows->GetInt64At(r, 0, -1);
                item.action = SyncItem::KeepLocal;
                Add(item, SyncReviewList::Side::Missing(), SideOf(kind, Local, *rows, r, 0));
            }
        }
    }

    // The texts of one side of a row whose columns start at `first`: id,
    // stamp, deleted flag, then the name columns of the kind.
    SyncReviewList::Side SideOf(int kind, Side side, const SQLite::MyTable &rows, int r, int first)
    {
        QString name = rows.GetCell(r, first + 3);
        if (name.isEmpty() && (kind == CBdD::TableTaches || kind == CBdD::TableFavoris)) {
            // An entry or favourite without a title of its own is named by
            // its project and activity, as that side names them.
            NameBook &book = Names(side);
            name = Formatter::sprintf(u"%s - %s", {book.ProjectName(rows.GetIntAt(r, first + 4, -1)),
                                                    book.ActivityName(rows.GetIntAt(r, first + 5, -1))});
        }
        return SyncReviewList::Side::Of(name, DateText(rows.GetInt64At(r, first + 1)));
    }

    // --- Plans, matched by their node ---------------------------------

    // A node as both sides store it: the two key values as written (a
    // NULL or a text stays apart from any number).
    using NodeKey = std::pair<QString, QString>;
    struct Plan
    {
        NodeKey node;
        qint64 rowId = -1;
        int project = -1;
        int activity = -2;
        qint64 stamp = 0;
        bool deleted = false;
        QString title;
    };
    struct Plans
    {
        std::vector<Plan> newest; // one per node
        QHash<NodeKey, size_t> byNode;
    };

    // Each side's newest plan row of every node, in the order of the
    // newest rows' row numbers.
    bool ReadPlans(Side side, Plans &plans)
    {
        SQLite::MyTablePtr rows = Read(Formatter::sprintf(
            u"select rowid, quote(IdProject), quote(IdActivity), coalesce(cast(Date_Modif as integer),0), "
            u"coalesce(Deleted<>0,0), Title, IdProject, IdActivity from %s.Forecast",
            {SchemaNames[side]}));
        if (!rows)
            return false;
        plans.newest.reserve(rows->rowCount());
        plans.byNode.reserve(rows->rowCount());
        for (int r = 0; r < rows->rowCount(); ++r) {
            Plan plan;
            plan.node = NodeKey(rows->GetCell(r, 1), rows->GetCell(r, 2));
            plan.rowId = rows->GetInt64At(r, 0);
            plan.stamp = rows->GetInt64At(r, 3);
            plan.deleted = rows->GetIntAt(r, 4) != 0;
            plan.title = rows->GetCell(r, 5);
            plan.project = rows->GetIntAt(r, 6, -1);
            plan.activity = rows->GetIntAt(r, 7, -2);
            const auto found = plans.byNode.constFind(plan.node);
            if (found == plans.byNode.constEnd()) {
                plans.byNode.insert(plan.node, plans.newest.size());
                plans.newest.push_back(std::move(plan));
            } else if (const Plan &kept = plans.newest[*found];
                       plan.stamp > kept.stamp || (plan.stamp == kept.stamp && plan.rowId > kept.rowId)) {
                // Several rows of one node: the newest counts.
                plans.newest[*found] = std::move(plan);
            }
        }
        std::sort(plans.newest.begin(), plans.newest.end(),
                  [](const Plan &a, const Plan &b) { return a.rowId < b.rowId; });
        for (size_t i = 0; i < plans.newest.size(); ++i)
            plans.byNode[plans.newest[i].node] = i;
        return true;
    }

    void ComparePlans()
    {
        Plans local, device;
        if (!ReadPlans(Local, local) || !ReadPlans(Device, device))
            return;
        // On both sides, changed since the last synchronisation.
        for (const Plan &theirs : device.newest) {
            if (!GoOn())
                return;
            const auto found = local.byNode.constFind(theirs.node);
            if (found == local.byNode.constEnd())
                continue;
            const Plan &ours = local.newest[*found];
            if (ours.stamp == theirs.stamp || (ours.deleted && theirs.deleted))
                continue;
            SyncItem item;
            item.kind = CBdD::TableForecast;
            item.localId = ours.rowId;
            item.deviceId = theirs.rowId;
            Decide(item, ours.stamp, ours.deleted, theirs.stamp, theirs.deleted);
            Add(item, PlanSide(theirs, Device), PlanSide(ours, Local));
        }
        // Only here. (A node that only the device plans needs no decision:
        // the merged copy keeps it as it is.)
        for (const Plan &ours : local.newest) {
            if (!GoOn())
                return;
            if (ours.deleted || device.byNode.contains(ours.node))
                continue;
            SyncItem item;
            item.kind = CBdD::TableForecast;
            item.localId = ours.rowId;
            item.action = SyncItem::KeepLocal;
            Add(item, SyncReviewList::Side::Missing(), PlanSide(ours, Local));
        }
    }

    SyncReviewList::Side PlanSide(const Plan &plan, Side side)
    {
        QString name = plan.title;
        if (name.isEmpty())
            name = Names(side).FullName(plan.project, plan.activity, m_separator);
        return SyncReviewList::Side::Of(name, DateText(plan.stamp));
    }

    // --- The project order: one decision for the whole table ----------

    void CompareChildLists()
    {
        const char16_t *const join = u"main.ProjectChilds.IdProject=Ppc.ProjectChilds.IdProject";
        const QString queries[] = {
            // Lists only here, lists only on the device, lists that differ.
            Formatter::sprintf(u"select 1 from main.ProjectChilds left outer join Ppc.ProjectChilds on %s "
                               u"where Ppc.ProjectChilds.rowid is null limit 1", {join}),
            Formatter::sprintf(u"select 1 from Ppc.ProjectChilds left outer join main.ProjectChilds on %s "
                               u"where main.ProjectChilds.rowid is null limit 1", {join}),
            Formatter::sprintf(u"select 1 from Ppc.ProjectChilds inner join main.ProjectChilds on %s "
                               u"where main.ProjectChilds.Childs is not Ppc.ProjectChilds.Childs limit 1", {join}),
        };
        for (const QString &sql : queries) {
            SQLite::MyTablePtr rows = Read(sql);
            if (!rows)
                return;
            if (rows->rowCount() > 0) {
                if (m_list.AddGroupRow(CBdD::TableProjectChilds) >= 0)
                    ++m_count;
                return;
            }
        }
    }

    // --- Common pieces ---------------------------------------------------

    // The newer side wins; a deleted winner means deletion.
    static void Decide(SyncItem &item, qint64 localStamp, bool localDeleted, qint64 deviceStamp, bool deviceDeleted)
    {
        item.localDeleted = localDeleted ? 1 : 0;
        item.deviceDeleted = deviceDeleted ? 1 : 0;
        if (localStamp < deviceStamp)
            item.action = deviceDeleted ? SyncItem::Delete : SyncItem::TakeDevice;
        else
            item.action = localDeleted ? SyncItem::Delete : SyncItem::KeepLocal;
    }

    void Add(const SyncItem &item, const SyncReviewList::Side &device, const SyncReviewList::Side &local)
    {
        if (m_failed)
            return;
        if (m_groupKind != item.kind) {
            m_list.AddGroupRow(item.kind);
            m_groupKind = item.kind;
        }
        m_list.AddItemRow(item, device, local);
        ++m_count;
    }

    // The last element row of a group closes it.
    void CloseGroup()
    {
        if (m_groupKind != 0 && m_list.Count() > 0)
            m_list.SetImage(m_list.Count() - 1, SyncReviewList::LastElementImage);
        m_groupKind = 0;
    }

    QString DateText(qint64 stamp) const { return m_formats.FormatDate(stamp, false, true); }

    NameBook &Names(Side side)
    {
        m_names[side].Load(m_db, side, m_failed);
        return m_names[side];
    }

    SQLite::CmyDataBase &m_db;
    SyncReviewList &m_list;
    ProgressDlgShared *m_job;
    int &m_count;
    const CConfiguration &m_formats;
    const QString m_separator = tProjectContext().separator;
    std::array<NameBook, 2> m_names;
    int m_groupKind = 0;
    bool m_cancelled = false;
    bool m_failed = false;
};

} // namespace

CBdD::CompareOutcome CBdD::CompareDatabases(const QString &devicePath, SyncReviewList &list, ProgressDlgShared *job,
                                            int &count, const CConfiguration &formats,
                                            std::optional<quint32> *localCounter)
{
    if (localCounter)
        localCounter->reset();
    if (m_path.isEmpty() || !QFileInfo(m_path).isFile())
        return CompareOutcome::Failed;
    if (!CheckDeviceCopy(devicePath))
        return CompareOutcome::CopyRefused;
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(m_path) != 0)
        return CompareOutcome::Failed;
    HardenForDeviceCopy(db);
    // Plans are matched by their node, which no index covers.
    db.Execute(u"PRAGMA automatic_index=ON");

    // The copy's path is bound, never written into the statement.
    sqlite3_stmt *attach = nullptr;
    const QByteArray utf8 = devicePath.toUtf8();
    bool attached = sqlite3_prepare_v2(db.Handle(), "attach database ? as Ppc", -1, &attach, nullptr) == SQLITE_OK
        && sqlite3_bind_text(attach, 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT) == SQLITE_OK
        && sqlite3_step(attach) == SQLITE_DONE;
    sqlite3_finalize(attach);
    if (!attached)
        return CompareOutcome::Failed;

    // One read of both files: what either program commits meanwhile is
    // seen by none or all of the queries.
    CompareOutcome outcome = CompareOutcome::Failed;
    if (db.Execute(u"begin") == 0) {
        // The local file's change counter under the lock that the rows are
        // then read under: the value a later write is told by.
        quint32 counter = 0;
        if (localCounter && db.Query(u"select count(*) from main.sqlite_master").hasRows() && db.GetLastCode() == 0
            && CDatabaseFile::ReadChangeCounter(db, counter))
            *localCounter = counter;
        outcome = Comparison(db, list, job, count, formats).Run();
        db.Execute(u"commit");
    }
    db.Execute(u"detach database Ppc");
    return outcome;
}
