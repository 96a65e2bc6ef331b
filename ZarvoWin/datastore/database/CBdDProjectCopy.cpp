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
        if (exists) {
            const qint64 rowId = Platform::wtoi64(row->GetCellView(0, 0));
            ExecuteWithUndo(
                Formatter::sprintf(u"update ProjectChilds set Childs='%s' where IdProject=%d",
                                   {QuoteSql(text), parentId}),
                Formatter::sprintf(u"update ProjectChilds set Childs='%s' where IdProject=%d",
                                   {QuoteSql(old), parentId}));
            StampRow(TableProjectChilds, rowId);
        } else {
            InsertChildList(parentId, text);
        }
        ok = LastCode() == 0;
    }

    if (!EndWrite(ok))
        return -1;
    NotifyWindows(CDataChangedNotifier::ProjectTree, 0);
    PostChangeAfterWrite(1);
    RunBackupAfterWrite();
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
        const tElement &e = node->Element();
        id = InsertNewRow(TableProjets,
                          [&](int newId) { return InsertProjectStatement(newId, e, name, parentId); });
        if (id == -1)
            return -1;
    }

    if (withPlans) {
        SQLite::MyTablePtr own = Query(Formatter::sprintf(
            u"select rowid, IdProject from Forecast where IdProject=%d and IdActivity=%d",
            {f.IdProject, f.IdActivity}));
        if (own.hasRows())
            InsertForecastRow(f, project ? id : parentId, QString()); // a copy has no predecessors
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
        if (!text.isEmpty())
            InsertChildList(id, text);
    }
    return LastCode() == 0 ? id : -1;
}
