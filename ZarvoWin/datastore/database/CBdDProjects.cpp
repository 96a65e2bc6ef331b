// Projects, activities, hourly rates and child lists in the database.
#include "CBdD.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CComboFiller.h"
#include "CDataChangedNotifier.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"
#include "QuoteSql.h"
#include "tElement.h"
#include "tForecast.h"

#include <QHash>
#include <QSet>

using Platform::Formatter;

namespace {

constexpr int ActivityImage = 16;
constexpr int RateImage = 17;

// What a NULL Parent reads as, wherever projects or activities are read:
// no parent, the top level (the column's own default), so that such a row
// is shown at the top of the tree and of the combos alike rather than
// under a project 0 that does not exist.
constexpr int NoParent = -1;

float floatOf(const SQLite::MyTable &t, QStringView column)
{
    return t.GetValue(column).toFloat();
}

quint32 colorOf(const SQLite::MyTable &t)
{
    return t.GetColor();
}

int redOf(quint32 c) { return int(c & 0xFF); }
int greenOf(quint32 c) { return int((c >> 8) & 0xFF); }
int blueOf(quint32 c) { return int((c >> 16) & 0xFF); }

// Row indexes of a result grouped by the value of its Parent column, each
// group in the result's order.
QHash<int, std::vector<int>> rowsByParent(const SQLite::MyTable &t)
{
    QHash<int, std::vector<int>> groups;
    const int parent = t.ColumnIndex(u"Parent");
    for (int row = 0; row < t.rowCount(); ++row)
        groups[t.GetIntAt(row, parent, NoParent)].push_back(row);
    return groups;
}

} // namespace

// ---------------------------------------------------------------------
// Reads into the store and controls
// ---------------------------------------------------------------------

bool CBdD::LoadProjects(int parentId, CProject *parentNode, bool withForecast)
{
    CProjectStore *store = CAppData::ProjectStore();
    if (!store)
        return false;
    // A window keeps pointers to the nodes: the tree is read again once it
    // lets them go.
    if (parentId == -1 && store->NodesHeld()) {
        store->PutOffNodeReload();
        return false;
    }
    if (!IsOpen()) {
        if (parentId == -1)
            store->ClearPart(0);
        return false;
    }
    // The reads come before the store is emptied: when one fails (the other
    // program holding the file while it commits) the store keeps the tree
    // it has rather than none.
    SQLite::MyTablePtr order;
    if (parentId == -1) {
        order = ReadRows(u"select Childs from ProjectChilds where IdProject=-1");
        if (!order)
            return false;
    }
    // One read of the whole table, then the tree is built depth first with
    // each parent's children in name order, as reading it level by level
    // would give, without one query per project.
    SQLite::MyTablePtr t = ReadRows(
        u"Select Projets.*,ProjectChilds.Childs FROM Projets left join ProjectChilds on "
        u"ProjectChilds.IdProject=Projets.Id where Projets.Deleted=0 order by Projets.Nom asc");
    if (!t)
        return false;
    if (parentId == -1) {
        store->ClearPart(0);
        if (order.hasRows())
            store->GetRoot()->SetChildOrder(order->GetCell(0, 0));
    }
    SQLite::MyTable &rows = *t;
    const int cId = rows.ColumnIndex(u"Id");
    const int cNom = rows.ColumnIndex(u"Nom");
    const int cCommentaire = rows.ColumnIndex(u"Commentaire");
    const int cTitle = rows.ColumnIndex(u"Title");
    const int cRate = rows.ColumnIndex(u"IdTauxHoraire");
    const int cActivity = rows.ColumnIndex(u"Activity");
    const int cParent = rows.ColumnIndex(u"Parent");
    const int cType = rows.ColumnIndex(u"Type");
    const int cChilds = rows.ColumnIndex(u"Childs");
    const int cRed = rows.ColumnIndex(u"Red");
    const int cGreen = rows.ColumnIndex(u"Green");
    const int cBlue = rows.ColumnIndex(u"Blue");
    auto cellInt = [&](int row, int col, int ifNull) {
        const QStringView v = rows.GetCellView(row, col);
        return v.isEmpty() ? ifNull : Platform::wtoi(v);
    };

    QHash<int, std::vector<int>> children;
    for (int r = 0; r < rows.rowCount(); ++r)
        children[cellInt(r, cParent, NoParent)].push_back(r);

    struct Pending
    {
        int parentId;
        CProject *node;
    };
    std::vector<Pending> stack{{parentId, parentNode}};
    while (!stack.empty()) {
        const Pending level = stack.back();
        stack.pop_back();
        const auto it = children.constFind(level.parentId);
        if (it == children.constEnd())
            continue;
        // Added in name order, placed by the parent's child order all at
        // once; their own levels are then read first to last.
        std::vector<CProjectStore::tNewProject> levelRows;
        levelRows.reserve(it->size());
        for (int r : *it) {
            tElement e;
            e.Id = cellInt(r, cId, -1);
            e.Nom = rows.GetCell(r, cNom);
            e.Commentaire = rows.GetCell(r, cCommentaire);
            e.Title = rows.GetCell(r, cTitle);
            e.Color = quint32(cellInt(r, cRed, 0) & 0xFF) | (quint32(cellInt(r, cGreen, 0) & 0xFF) << 8)
                | (quint32(cellInt(r, cBlue, 0) & 0xFF) << 16);
            e.IdTauxHoraire = cellInt(r, cRate, 0);
            e.Activity = cellInt(r, cActivity, 0);
            e.Parent = cellInt(r, cParent, NoParent);
            e.Type = cellInt(r, cType, 0);
            levelRows.push_back({std::move(e), rows.GetCell(r, cChilds)});
        }
        // A project is added once: a repeated child list or a parent loop in
        // the table cannot bring it back.
        const std::vector<CProject *> nodes = store->AddProjects(levelRows, level.node);
        std::vector<Pending> added;
        for (size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i])
                added.push_back({levelRows[i].element.Id, nodes[i]});
        stack.insert(stack.end(), added.rbegin(), added.rend());
    }
    // The plan rows and the recorded totals belong to every rebuilt tree.
    if (parentId == -1 && withForecast)
        InitForecast(true);
    return true;
}

bool CBdD::LoadActivities(CTreeFiller *tree, CTreeFiller::Item parentItem, bool toStore,
                          const QString &checkedIds)
{
    CProjectStore *store = toStore ? CAppData::ProjectStore() : nullptr;
    if (!IsOpen()) {
        if (store)
            store->ClearPart(1);
        return false;
    }
    QSet<int> checked;
    if (!checkedIds.isEmpty()) {
        QString ids = checkedIds;
        ids.replace(u'(', u',').replace(u')', u',');
        for (QStringView entry : QStringView(ids).split(u',', Qt::SkipEmptyParts))
            checked.insert(Platform::wtoi(entry));
    }
    // A failed read leaves the store's activities as they are.
    SQLite::MyTablePtr t = ReadRows(u"Select * FROM Activites where Deleted=0 order by Nom asc");
    if (!t)
        return false;
    if (store)
        store->ClearPart(1);
    if (!t->MoveFirst())
        return true;
    do {
        tElement e;
        e.Id = t->GetIntOr(u"Id", -1);
        e.Nom = t->GetValue(u"Nom");
        e.Commentaire = t->GetValue(u"Commentaire");
        e.Color = colorOf(*t);
        e.IdTauxHoraire = t->GetIntOr(u"IdTauxHoraire", 0);
        e.Parent = -1;
        if (tree) {
            CTreeFiller::Item item =
                tree->InsertItem(parentItem, e.Nom, ActivityImage, ActivityImage, e.Id);
            tree->SetCheck(item, checkedIds.isEmpty() || checked.contains(e.Id));
        }
        if (store)
            store->SetActivity(e.Id, e);
    } while (t->MoveNext());
    return true;
}

QString CBdD::RateText(const QString &name, double value)
{
    if (value == 0.0)
        return name;
    const CProjectStore *store = CAppData::ProjectStore();
    const QString amount = store ? store->Context().FormatCurrency(value)
                                 : tProjectContext().FormatCurrency(value);
    return Formatter::sprintf(u"%s (%s)", {name, amount});
}

bool CBdD::LoadRates(CTreeFiller *tree, CTreeFiller::Item parentItem)
{
    CProjectStore *store = CAppData::ProjectStore();
    if (!IsOpen()) {
        if (store)
            store->ClearPart(2);
        return false;
    }
    // A failed read leaves the store's rates as they are.
    SQLite::MyTablePtr t = ReadRows(u"Select * FROM TauxHoraire where Deleted=0 order by Id");
    if (!t)
        return false;
    if (store)
        store->ClearPart(2);
    if (!t->MoveFirst())
        return true;
    do {
        tRate rate;
        const int id = t->GetIntOr(u"Id", -1);
        rate.Nom = t->GetValue(u"Nom");
        rate.Commentaire = t->GetValue(u"Commentaire");
        rate.Valeur = floatOf(*t, u"Valeur");
        if (store)
            store->SetRate(id, rate);
        if (tree)
            tree->InsertItem(parentItem, RateText(rate.Nom, rate.Valeur), RateImage, RateImage, id);
    } while (t->MoveNext());
    return true;
}

void CBdD::FillElementCombo(CComboFiller &combo, std::vector<int> *rateIds, bool projects,
                            int currentId, int parentId, int skipId)
{
    if (!IsOpen())
        return;
    SQLite::MyTablePtr t = Query(projects
                                     ? u"Select * FROM Projets where Deleted=0 order by Nom asc"
                                     : u"Select * FROM Activites where Deleted=0 order by Nom asc");
    if (!t)
        return;
    const QHash<int, std::vector<int>> children = rowsByParent(*t);
    const int cId = t->ColumnIndex(u"Id");
    const int cNom = t->ColumnIndex(u"Nom");
    const int cRate = t->ColumnIndex(u"IdTauxHoraire");
    QSet<int> seen; // a parent loop in the table is followed once
    std::vector<int> stack;
    auto push = [&](int parent) {
        const auto it = children.constFind(parent);
        if (it != children.constEnd())
            stack.insert(stack.end(), it->rbegin(), it->rend());
    };
    push(parentId);
    while (!stack.empty()) {
        const int row = stack.back();
        stack.pop_back();
        const int id = t->GetIntAt(row, cId, -1);
        if (id == skipId || seen.contains(id))
            continue;
        seen.insert(id);
        const int index = combo.AddItem(t->GetCell(row, cNom), -1, id, 0);
        if (rateIds)
            rateIds->push_back(t->GetIntAt(row, cRate, 0));
        if (id == currentId)
            combo.SetCurSel(index);
        push(id);
    }
}

void CBdD::FillRateCombo(CComboFiller &combo, int currentId)
{
    if (!IsOpen())
        return;
    SQLite::MyTablePtr t = Query(u"Select * FROM TauxHoraire where Deleted=0 order by Id");
    if (!t || !t->MoveFirst())
        return;
    do {
        const int id = t->GetIntOr(u"Id", -1);
        const int index =
            combo.AddItem(RateText(t->GetValue(u"Nom"), floatOf(*t, u"Valeur")), -1, id, 0);
        if (id == currentId)
            combo.SetCurSel(index);
    } while (t->MoveNext());
}

// ---------------------------------------------------------------------
// Single reads
// ---------------------------------------------------------------------

bool CBdD::GetElement(bool projects, int id, tElement &element, bool includeDeleted)
{
    if (!IsOpen())
        return false;
    QString sql = Formatter::sprintf(projects ? u"Select * FROM Projets where Id=%d"
                                              : u"Select * FROM Activites where Id=%d",
                                     {id});
    if (!includeDeleted)
        sql += QStringLiteral(" and Deleted=0");
    SQLite::MyTablePtr t = Query(sql);
    element.Reset();
    if (!t.hasRows())
        return false;
    t->MoveFirst();
    element.Id = t->GetIntOr(u"Id", -1);
    element.Nom = t->GetValue(u"Nom");
    element.Commentaire = t->GetValue(u"Commentaire");
    element.Color = colorOf(*t);
    element.IdTauxHoraire = t->GetIntOr(u"IdTauxHoraire", 0);
    element.Parent = t->GetIntOr(u"Parent", NoParent);
    if (projects) {
        // The title too, so that a project read, edited and saved keeps it.
        element.Title = t->GetValue(u"Title");
        element.Type = t->GetIntOr(u"Type", 0);
        element.Activity = t->GetIntOr(u"Activity", 0);
    } else {
        element.Type = 0;
    }
    return true;
}

void CBdD::GetElementNames(int projectId, int activityId, QString &projectName,
                           QString &activityName)
{
    projectName.clear();
    activityName.clear();
    if (!IsOpen())
        return;
    SQLite::MyTablePtr p =
        Query(Formatter::sprintf(u"Select Nom FROM Projets where Id=%d and Deleted=0", {projectId}));
    if (p.hasRows())
        projectName = p->GetCell(0, 0);
    SQLite::MyTablePtr a = Query(
        Formatter::sprintf(u"Select Nom FROM Activites where Id=%d and Deleted=0", {activityId}));
    if (a.hasRows())
        activityName = a->GetCell(0, 0);
}

bool CBdD::GetRate(tElement &rate, int id, bool includeDeleted)
{
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t =
        Query(Formatter::sprintf(u"Select * FROM TauxHoraire  where Id=%d order by Id", {id}));
    if (!t.hasRows() || (!includeDeleted && (t->MoveFirst(), t->GetInt(u"Deleted") != 0))) {
        rate.Id = -1;
        rate.Nom.clear();
        rate.Commentaire.clear();
        rate.Valeur = 0.0f;
        return false;
    }
    t->MoveFirst();
    rate.Id = t->GetIntOr(u"Id", -1);
    rate.Nom = t->GetValue(u"Nom");
    rate.Commentaire = t->GetValue(u"Commentaire");
    rate.Valeur = floatOf(*t, u"Valeur");
    return true;
}

namespace {

// The id of the first live row of the table with this name.
bool findLiveByName(CBdD &db, const QString &table, const QString &name, int &id)
{
    if (!db.IsOpen())
        return false;
    SQLite::MyTablePtr t = db.Query(
        Formatter::sprintf(u"Select Id FROM %s where Deleted=0 and Nom='%s'", {table, QuoteSql(name)}));
    if (!t.hasRows())
        return false;
    id = Platform::wtoi(t->GetCell(0, 0));
    return true;
}

} // namespace

bool CBdD::FindActivityByName(const QString &name, int &id)
{
    return findLiveByName(*this, TableName(TableActivites), name, id);
}

bool CBdD::FindRateByName(const QString &name, int &id)
{
    return findLiveByName(*this, TableName(TableTauxHoraire), name, id);
}

// ---------------------------------------------------------------------
// Writes
// ---------------------------------------------------------------------

QString CBdD::InsertProjectStatement(int id, const tElement &e, const QString &name, int parent)
{
    return Formatter::sprintf(u"insert into Projets (Id, Nom, Commentaire, Title, Red, Green, Blue, "
                              u"IdTauxHoraire, Visible, Deleted, Ordre, Parent, Type, Activity) values "
                              u"(%d, '%s','%s','%s',%d,%d,%d,%d,1,0,0,%d,%d,%d)",
                              {id, QuoteSql(name), QuoteSql(e.Commentaire), QuoteSql(e.Title), redOf(e.Color),
                               greenOf(e.Color), blueOf(e.Color), e.IdTauxHoraire, parent, e.Type, e.Activity});
}

void CBdD::InsertForecastRow(const tForecast &f, int project, const QString &predecessors)
{
    ExecuteWithUndo(
        Formatter::sprintf(
            u"insert into Forecast (IdProject, IdActivity, Prevu, TypePrevu, DureeSupp, "
            u"TypeDureeSupp, DateDebut, TypeDateDebut, DateFin, TypeDateFin, DateAlerte, "
            u"Predecesseurs, Delta, TypeDelta, Priority, Status, Total, bJours, bModeAuto, "
            u"bPrevuAuto, Title, Notes, Deleted) values "
            u"(%d,%d,%d,%d,%d,%d,%I64d,%d,%I64d,%d,%I64d,'%s',%d,%d,%d,%d,%I64d,%d,%d,%d,"
            u"'%s','%s',0)",
            {project, f.IdActivity, f.Prevu, f.TypePrevu, f.DureeSupp, f.TypeDureeSupp, f.DateDebut,
             f.TypeDateDebut, f.DateFin, f.TypeDateFin, f.DateAlerte, QuoteSql(predecessors), 0, 0,
             f.Priority, f.Status, f.Total, f.bJours ? 1 : 0, f.bModeAuto ? 1 : 0, f.bPrevuAuto ? 1 : 0,
             QuoteSql(f.Title), QuoteSql(f.Notes)}),
        Formatter::sprintf(u"delete from Forecast where IdProject=%d and IdActivity=%d", {project, f.IdActivity}));
    StampRow(TableForecast, m_connection->GetLastInsertRowId());
}

void CBdD::InsertChildList(int parent, const QString &childs)
{
    ExecuteWithUndo(Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (%d,'%s')",
                                       {parent, QuoteSql(childs)}),
                    Formatter::sprintf(u"delete from ProjectChilds where IdProject = %d", {parent}));
    StampRow(TableProjectChilds, m_connection->GetLastInsertRowId());
}

bool CBdD::SaveProject(tElement *element, tForecast *forecast)
{
    if (!element && !forecast)
        return true;
    if (!BeginWrite())
        return false;
    bool reload = false;
    bool ok = true;
    // The id of a new project reaches the caller's records only once the
    // write has landed: after a failed COMMIT they must still read as new,
    // or saving them again would update a row that was rolled back.
    int projectId = element ? element->Id : -1;
    if (element) {
        const tElement &e = *element;
        if (e.Id == -1) {
            reload = true;
            projectId = InsertNewRow(
                TableProjets, [&e](int newId) { return InsertProjectStatement(newId, e, e.Nom, e.Parent); });
            ok = projectId != -1;
        } else {
            SQLite::MyTablePtr old = Query(Formatter::sprintf(
                u"Select Nom, Commentaire, Parent, Type from Projets where Id=%d", {e.Id}));
            // A project that has no row is not saved: the update would
            // change nothing and still look like a write that landed.
            ok = old.hasRows();
            if (ok) {
                old->MoveFirst();
                if (old->GetIntOr(u"Parent", NoParent) != e.Parent)
                    reload = true;
                ok = UpdateRow(TableProjets, e.Id, Formatter::sprintf(
                    u"Update Projets set Nom='%s', Commentaire='%s', Title='%s', Red=%d, Green=%d, "
                    u"Blue=%d, IdTauxHoraire=%d, Parent=%d, Deleted=0, Type=%d, Activity=%d where Id=%d",
                    {QuoteSql(e.Nom), QuoteSql(e.Commentaire), QuoteSql(e.Title), redOf(e.Color),
                     greenOf(e.Color), blueOf(e.Color), e.IdTauxHoraire, e.Parent, e.Type, e.Activity,
                     e.Id})) == 0;
            }
        }
    }
    tForecast plan;
    if (forecast)
        plan = *forecast;
    if (ok && forecast) {
        tForecast &f = plan;
        if (f.IdProject == -1 && element)
            f.IdProject = projectId;
        SQLite::MyTablePtr row = Query(Formatter::sprintf(
            u"select rowid, IdProject from Forecast where IdProject=%d and IdActivity=%d",
            {f.IdProject, f.IdActivity}));
        if (row.hasRows()) {
            UpdateRow(TableForecast, Platform::wtoi64(row->GetCell(0, 0)), Formatter::sprintf(
                u"Update Forecast set Prevu=%d, TypePrevu=%d, DureeSupp=%d, TypeDureeSupp=%d, "
                u"DateDebut=%I64d, TypeDateDebut=%d, DateFin=%I64d, TypeDateFin=%d, "
                u"DateAlerte=%I64d, Predecesseurs='%s', Delta=%d, TypeDelta=%d, Priority=%d, "
                u"Status=%d, Total=%I64d, Title='%s', Notes='%s', bJours=%d, bModeAuto=%d, "
                u"bPrevuAuto=%d, Deleted=0 where IdProject=%d and IdActivity=%d",
                {f.Prevu, f.TypePrevu, f.DureeSupp, f.TypeDureeSupp, f.DateDebut,
                 f.TypeDateDebut, f.DateFin, f.TypeDateFin, f.DateAlerte,
                 QuoteSql(f.Predecesseurs), 0, 0, f.Priority, f.Status, f.Total,
                 QuoteSql(f.Title), QuoteSql(f.Notes), f.bJours ? 1 : 0, f.bModeAuto ? 1 : 0,
                 f.bPrevuAuto ? 1 : 0, f.IdProject, f.IdActivity}));
        } else {
            InsertForecastRow(f, f.IdProject, f.Predecesseurs);
        }
    }
    if (!EndWrite(ok))
        return false;
    if (element)
        element->Id = projectId;
    if (forecast)
        forecast->IdProject = plan.IdProject;
    if (reload) {
        NotifyWindows(CDataChangedNotifier::ProjectTree, 0);
    } else {
        if (CProjectStore *store = CAppData::ProjectStore()) {
            if (forecast)
                store->SetForecast(*forecast);
            if (element)
                store->UpdateProject(*element);
        }
        NotifyWindows(CDataChangedNotifier::ProjectFields, element ? element->Id : 0);
    }
    PostChangeAfterWrite(1);
    RunBackupAfterWrite();
    return true;
}

namespace {

// One write of a record whose ids come from NextRowId: a new one (id -1)
// is inserted and takes its id once the write landed, an existing one is
// updated. An id without
// a row is not a save. True when the write landed.
bool saveRecord(CBdD &db, int tableCode, int &id, const std::function<QString(int newId)> &insert,
                const std::function<QString()> &update)
{
    if (!db.BeginWrite())
        return false;
    bool ok;
    int written = id;
    if (id == -1) {
        written = db.InsertNewRow(tableCode, insert);
        ok = written != -1;
    } else {
        ok = db.UpdateRow(tableCode, id, update()) == 0;
    }
    // A new id is the record's only once the write has landed (see
    // SaveProject).
    if (!db.EndWrite(ok))
        return false;
    id = written;
    return true;
}

} // namespace

bool CBdD::SaveActivity(tElement &a)
{
    const bool saved = saveRecord(
        *this, TableActivites, a.Id,
        [&a](int id) {
            return Formatter::sprintf(
                u"insert into Activites (Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, "
                u"Visible, Deleted, Ordre, Parent) values (%d, '%s','%s',%d,%d,%d,%d,1,0,0,%d)",
                {id, QuoteSql(a.Nom), QuoteSql(a.Commentaire), redOf(a.Color), greenOf(a.Color),
                 blueOf(a.Color), a.IdTauxHoraire, a.Parent});
        },
        [&a] {
            return Formatter::sprintf(
                u"Update Activites set Nom='%s', Commentaire='%s', Red=%d, Green=%d, Blue=%d, "
                u"IdTauxHoraire=%d, Parent=%d, Deleted=0 where Id=%d",
                {QuoteSql(a.Nom), QuoteSql(a.Commentaire), redOf(a.Color), greenOf(a.Color),
                 blueOf(a.Color), a.IdTauxHoraire, a.Parent, a.Id});
        });
    if (!saved)
        return false;
    NotifyWindows(CDataChangedNotifier::Activities, 0);
    RunBackupAfterWrite();
    return true;
}

bool CBdD::SaveRate(tElement &r)
{
    const bool saved = saveRecord(
        *this, TableTauxHoraire, r.Id,
        [&r](int id) {
            return Formatter::sprintf(u"insert into TauxHoraire (Id, Nom, Commentaire, Valeur, Deleted) "
                                      u"values (%d,'%s','%s',%0.2f,0)",
                                      {id, QuoteSql(r.Nom), QuoteSql(r.Commentaire), double(r.Valeur)});
        },
        [&r] {
            return Formatter::sprintf(u"Update TauxHoraire set Nom='%s', Commentaire='%s', Valeur=%0.2f where Id=%d",
                                      {QuoteSql(r.Nom), QuoteSql(r.Commentaire), double(r.Valeur), r.Id});
        });
    if (!saved)
        return false;
    RunBackupAfterWrite();
    return true;
}

bool CBdD::DeleteProject(int id)
{
    QString condition = Formatter::sprintf(u"Id in (%d", {id});
    const CProjectStore *store = CAppData::ProjectStore();
    const CProject *node = store ? store->GetNode(id) : nullptr;
    if (node && node->GetParent()) {
        node->AppendIdList(condition, true, true);
    } else if (IsOpen()) {
        // The store does not know the project: its sub-projects are found
        // in the table, so that none is left behind without its parent.
        SQLite::MyTablePtr t = Query(u"select Id, Parent from Projets where Deleted=0");
        QHash<int, std::vector<int>> children;
        for (int r = 0; t && r < t->rowCount(); ++r)
            children[t->GetIntAt(r, 1, NoParent)].push_back(Platform::wtoi(t->GetCellView(r, 0)));
        QSet<int> seen{id};
        std::vector<int> stack{id};
        while (!stack.empty()) {
            const int parent = stack.back();
            stack.pop_back();
            for (int child : children.value(parent)) {
                if (seen.contains(child))
                    continue;
                seen.insert(child);
                condition += Formatter::sprintf(u",%d", {child});
                stack.push_back(child);
            }
        }
    }
    condition += u')';
    if (!BeginWrite())
        return false;
    const QString redo = Formatter::sprintf(u"update Projets set Deleted=1 where %s", {condition});
    RecordUndoWhere(redo, TableProjets, condition);
    // A project that has no row is not deleted: nothing changed.
    const bool ok = Execute(redo) == 0 && ChangedRows() > 0;
    if (ok) {
        // The rows recorded above already put the old stamps back on undo;
        // a redo stamps them again, so that the synchronisation finds the
        // deletion once more.
        const QString stamp = Formatter::sprintf(u"update Projets set Date_Modif=%I64d, Origine_Modif=%d where %s",
                                                 {Platform::Clock::now(), 1, condition});
        Execute(stamp);
        RecordUndo(stamp, QString());
        StampRow(0, 0); // 'Modif' and the broadcast
    }
    if (!EndWrite(ok))
        return false;
    NotifyWindows(CDataChangedNotifier::ProjectTree, 0);
    return true;
}

namespace {

// The soft deletion of one row: statement, undo, stamp.
bool softDelete(CBdD &db, int tableCode, int id)
{
    if (!db.BeginWrite())
        return false;
    const QString table = CBdD::TableName(tableCode);
    const int rc = db.ExecuteWithUndo(
        Formatter::sprintf(u"update %s set Deleted=1 where Id=%d", {table, id}),
        Formatter::sprintf(u"update %s set Deleted=%s where Id=%d", {table, db.DeletedLiteral(tableCode, id), id}));
    // An id without a row changes nothing: not a deletion.
    const bool ok = rc == 0 && db.ChangedRows() > 0;
    if (ok)
        db.StampRow(tableCode, id);
    return db.EndWrite(ok);
}

} // namespace

bool CBdD::DeleteActivity(int id)
{
    if (!softDelete(*this, TableActivites, id))
        return false;
    NotifyWindows(CDataChangedNotifier::Activities, 0);
    RunBackupAfterWrite();
    return true;
}

bool CBdD::DeleteRate(int id)
{
    return softDelete(*this, TableTauxHoraire, id);
}

bool CBdD::SaveChildOrders(int parentId, const QString &childs, int secondParentId,
                           const QString &secondChilds, int movedProjectId)
{
    if (!BeginWrite())
        return false;
    auto writeList = [this](int parent, const QString &text) {
        const QString condition = Formatter::sprintf(u"IdProject = %d", {parent});
        SQLite::MyTablePtr row = Query(
            Formatter::sprintf(u"select rowid,* from ProjectChilds where IdProject = %d", {parent}));
        if (row.hasRows()) {
            const qint64 rowId = Platform::wtoi64(row->GetCell(0, 0));
            const QString redo = Formatter::sprintf(
                u"update ProjectChilds set Childs = '%s' where IdProject = %d", {QuoteSql(text), parent});
            RecordUndoWhere(redo, TableProjectChilds, condition);
            Execute(redo);
            StampRow(TableProjectChilds, rowId);
        } else {
            InsertChildList(parent, text);
        }
        return m_connection->GetLastCode() == 0;
    };
    bool ok = writeList(parentId, childs);
    if (ok && secondParentId != -2)
        ok = writeList(secondParentId, secondChilds);
    if (ok && movedProjectId != -1) {
        const QString redo = Formatter::sprintf(u"update Projets set Parent=%d where Id=%d",
                                                {secondParentId, movedProjectId});
        RecordUndoWhere(redo, TableProjets, Formatter::sprintf(u"Id = %d", {movedProjectId}));
        // A moved project that has no row fails the move.
        ok = Execute(redo) == 0 && ChangedRows() > 0;
        if (ok)
            StampRow(TableProjets, movedProjectId);
    }
    ok = EndWrite(ok);
    NotifyWindows(CDataChangedNotifier::TimeEntries, 3);
    if (ok)
        PostChangeAfterWrite(1);
    return ok;
}

bool CBdD::DeleteForecast(int projectId, int activityId)
{
    if (!BeginWrite())
        return false;
    const QString condition =
        Formatter::sprintf(u"IdProject=%d and IdActivity=%d", {projectId, activityId});
    SQLite::MyTablePtr row =
        Query(Formatter::sprintf(u"select rowid from Forecast where %s", {condition}));
    const qint64 rowId = row.hasRows() ? Platform::wtoi64(row->GetCellView(0, 0)) : -1;
    const QString redo = Formatter::sprintf(u"update Forecast set Deleted=1 where %s", {condition});
    RecordUndoWhere(redo, TableForecast, condition);
    const bool done = Execute(redo) == 0;
    if (done && rowId != -1)
        StampRow(TableForecast, rowId);
    if (!EndWrite(done))
        return false;
    LoadProjects(-1, nullptr);
    NotifyWindows(CDataChangedNotifier::ProjectTree, 0);
    return true;
}
