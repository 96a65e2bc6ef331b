// A project created as a copy of a subtree, with its plan rows and child
// lists, in one transaction and one undo group.
#include "CBdD.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CDataChangedNotifier.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "Formatter.h"
#include "IntParse.h"
#include "QuoteSql.h"

#include <QHash>

using Platform::Formatter;

namespace {

int red(quint32 c) { return int(c & 0xFF); }
int green(quint32 c) { return int((c >> 8) & 0xFF); }
int blue(quint32 c) { return int((c >> 16) & 0xFF); }

// The child list of a copy: sub-project items take their new ids, items of
// sub-projects that were not copied (deleted or unknown ids) are dropped,
// activity items stay as they are.
QString remapChildList(const QString &text, const QHash<int, int> &newIds)
{
    QString out;
    for (QStringView item : QStringView(text).split(u';', Qt::SkipEmptyParts)) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        if (item.startsWith(u'A')) {
            out += u';';
            out += item;
            continue;
        }
        const auto it = newIds.constFind(Platform::wtoi(item));
        if (it != newIds.constEnd())
            out += Formatter::sprintf(u";%d", {it.value()});
    }
    if (!out.isEmpty())
        out += u';';
    return out;
}

// The child list with the new item placed before or after the reference
// item. A list that does not hold the reference (no stored order yet) is
// first written out from the children as they stand.
QString placeInChildList(QString text, const CProject *parent, const QString &reference,
                         int newId, bool before)
{
    if (!text.contains(reference) && parent) {
        text.clear();
        for (const CProject *child : parent->Children())
            text += child->IsActivity() ? Formatter::sprintf(u";A%d", {child->ActivityId()})
                                        : Formatter::sprintf(u";%d", {child->ProjectId()});
        if (!text.isEmpty())
            text += u';';
    }
    const qsizetype at = text.indexOf(reference);
    if (at < 0) // the reference is not a child of this parent: the copy goes last
        return (text.isEmpty() ? QStringLiteral(";") : text) + Formatter::sprintf(u"%d;", {newId});
    const QString replacement = before ? Formatter::sprintf(u";%d%s", {newId, reference})
                                       : Formatter::sprintf(u"%s%d;", {reference, newId});
    return text.replace(at, reference.size(), replacement);
}

} // namespace

int CBdD::CreateProject(const CProject *node, int parentId, const QString &name, bool withChildren,
                        bool withPlans, const CProject *sibling, bool before)
{
    if (!node || !BeginWrite())
        return -1;
    m_connection->SetLastCode(0);
    const int id = CreateProjectRecord(node, parentId, name, withChildren, withPlans);
    bool ok = id > 0 && LastCode() == 0;

    if (ok && sibling) {
        SQLite::MyTablePtr row = Query(Formatter::sprintf(
            u"select rowid, Childs from ProjectChilds where IdProject = %d", {parentId}));
        const bool exists = row.hasRows();
        const CProjectStore *store = CAppData::ProjectStore();
        const CProject *parent = store ? store->GetNode(parentId) : nullptr;
        const QString old = parent ? parent->GetChildOrder() : QString();
        const QString reference = sibling->ActivityId() == -2
            ? Formatter::sprintf(u";%d;", {sibling->ProjectId()})
            : Formatter::sprintf(u";A%d;", {sibling->ActivityId()});
        const QString text = placeInChildList(old, parent, reference, id, before);
        qint64 rowId = -1;
        if (exists) {
            rowId = Platform::wtoi64(row->GetCellView(0, 0));
            ExecuteWithUndo(
                Formatter::sprintf(u"update ProjectChilds set Childs='%s' where IdProject=%d",
                                   {QuoteSql(text), parentId}),
                Formatter::sprintf(u"update ProjectChilds set Childs='%s' where IdProject=%d",
                                   {QuoteSql(old), parentId}));
        } else {
            ExecuteWithUndo(
                Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (%d,'%s')",
                                   {parentId, QuoteSql(text)}),
                Formatter::sprintf(u"delete from ProjectChilds where IdProject = %d", {parentId}));
            rowId = m_connection->GetLastInsertRowId();
        }
        StampRow(TableProjectChilds, rowId);
        ok = LastCode() == 0;
    }

    if (!EndWrite(ok))
        return -1;
    SendDataChanged(CDataChangedNotifier::ProjectTree, 0);
    PostChange(1);
    CAppData::RunAutoBackup();
    return id;
}

int CBdD::CreateProjectRecord(const CProject *node, int parentId, const QString &name,
                              bool withChildren, bool withPlans)
{
    if (!node || !IsOpen())
        return -1;
    const tForecast &f = node->Forecast();
    const bool project = f.IdActivity == -2;
    int id = -1;
    if (project) {
        id = AllocateRowId(TableProjets);
        if (id == -1)
            return -1;
        const tElement &e = node->Element();
        ExecuteWithUndo(
            Formatter::sprintf(
                u"insert into Projets (Id, Nom, Commentaire, Title, Red, Green, Blue, "
                u"IdTauxHoraire, Visible, Deleted, Ordre, Parent, Type, Activity) values "
                u"(%d, '%s','%s','%s',%d,%d,%d,%d,1,0,0,%d,%d,%d)",
                {id, QuoteSql(name), QuoteSql(e.Commentaire), QuoteSql(e.Title), red(e.Color),
                 green(e.Color), blue(e.Color), e.IdTauxHoraire, parentId, e.Type, e.Activity}),
            Formatter::sprintf(u"delete from Projets where Id=%d", {id}));
        StampRow(TableProjets, id);
    }

    if (withPlans) {
        SQLite::MyTablePtr own = Query(Formatter::sprintf(
            u"select rowid, IdProject from Forecast where IdProject=%d and IdActivity=%d",
            {f.IdProject, f.IdActivity}));
        if (own.hasRows()) {
            const int planProject = project ? id : parentId;
            ExecuteWithUndo(
                Formatter::sprintf(
                    u"insert into Forecast (IdProject, IdActivity, Prevu, TypePrevu, DureeSupp, "
                    u"TypeDureeSupp, DateDebut, TypeDateDebut, DateFin, TypeDateFin, DateAlerte, "
                    u"Predecesseurs, Delta, TypeDelta, Priority, Status, Total, bJours, bModeAuto, "
                    u"bPrevuAuto, Title, Notes, Deleted) values "
                    u"(%d,%d,%d,%d,%d,%d,%I64d,%d,%I64d,%d,%I64d,'%s',%d,%d,%d,%d,%I64d,%d,%d,%d,"
                    u"'%s','%s',0)",
                    {planProject, f.IdActivity, f.Prevu, f.TypePrevu, f.DureeSupp,
                     f.TypeDureeSupp, f.DateDebut, f.TypeDateDebut, f.DateFin, f.TypeDateFin,
                     f.DateAlerte, QString(), 0, 0, f.Priority, f.Status, f.Total,
                     f.bJours ? 1 : 0, f.bModeAuto ? 1 : 0, f.bPrevuAuto ? 1 : 0,
                     QuoteSql(f.Title), QuoteSql(f.Notes)}),
                Formatter::sprintf(u"delete from Forecast where IdProject=%d and IdActivity=%d",
                                   {planProject, f.IdActivity}));
            StampRow(TableForecast, m_connection->GetLastInsertRowId());
        }
    }

    if (!project)
        return LastCode() == 0 ? f.IdActivity : -1;

    if (withChildren) {
        QHash<int, int> newIds;
        for (const CProject *child : node->Children()) {
            const int childId =
                CreateProjectRecord(child, id, child->Element().Nom, true, withPlans);
            if (childId == -1)
                return -1;
            if (!child->IsActivity())
                newIds.insert(child->ProjectId(), childId);
        }
        const QString text = remapChildList(node->GetChildOrder(), newIds);
        if (!text.isEmpty()) {
            ExecuteWithUndo(
                Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (%d,'%s')",
                                   {id, QuoteSql(text)}),
                Formatter::sprintf(u"delete from ProjectChilds where IdProject = %d", {id}));
            StampRow(TableProjectChilds, m_connection->GetLastInsertRowId());
        }
    }
    return LastCode() == 0 ? id : -1;
}
