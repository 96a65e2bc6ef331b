#include "CReportModel.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "Formatter.h"
#include "ReportColumnCatalogue.h"
#include "UiUtilities.h"
#include "tReportDefinition.h"

#include <climits>

using Platform::Formatter;

namespace {

bool isGroup(const CTreeItem *row)
{
    const int kind = row->Item().GetKind();
    return kind == tReportItem::GroupLine || kind == tReportItem::TotalLine;
}

// The level kind and key id of a group or cross-table group row.
bool groupLevel(const CTreeItem *row, int &levelKind, int &keyId)
{
    if (const tReportGroupLine *g = row->Item().GroupLineOf()) {
        levelKind = g->LevelKind;
        keyId = g->KeyId;
        return true;
    }
    if (const tReportTotalLine *t = row->Item().TotalLineOf()) {
        levelKind = t->LevelKind;
        keyId = t->KeyId;
        return true;
    }
    return false;
}

// ",1,5," as "(1,5)", or empty for no id.
QString idList(const QList<int> &ids, bool parentheses)
{
    if (ids.isEmpty())
        return QString();
    QStringList texts;
    texts.reserve(ids.size());
    for (int id : ids)
        texts << QString::number(id);
    return parentheses ? u'(' + texts.join(u',') + u')' : u',' + texts.join(u',') + u',';
}

template<typename Visit>
void walk(const CReportRowTree &tree, Visit visit)
{
    for (int r = 0; r < tree.RootCount(); ++r) {
        const CTreeItem *root = tree.Root(r);
        for (const CTreeItem *row = root; row; row = tree.GetNextItem(root, row, false))
            visit(row);
    }
}

} // namespace

CReportModel::CReportModel()
{
    m_crossColumns.SetType(CReportColumnSet::CrossTable);
    ReloadLabels();
}

CReportModel::~CReportModel() = default;

void CReportModel::SetDefinition(const tReportDefinition &definition)
{
    m_definition = std::make_unique<tReportDefinition>(definition);
    m_levels = m_definition->Levels();
}

const tReportDefinition &CReportModel::Definition() const
{
    static const tReportDefinition defaults;
    return m_definition ? *m_definition : defaults;
}

void CReportModel::SetSnapshot(std::shared_ptr<const tReportSnapshot> snapshot)
{
    m_snapshot = std::move(snapshot);
    m_chains.clear();
}

const tReportSnapshot &CReportModel::Snapshot() const
{
    static const tReportSnapshot empty;
    return m_snapshot ? *m_snapshot : empty;
}

const CConfiguration &CReportModel::Configuration() const
{
    static const CConfiguration defaults;
    if (m_configuration)
        return *m_configuration;
    const CConfiguration *application = CAppData::Configuration();
    return application ? *application : defaults;
}

void CReportModel::ReloadLabels()
{
    m_labels.Load(&Configuration());
}

CReportCells CReportModel::Cells() const
{
    return CReportCells(Configuration(), Snapshot(), m_labels, m_store);
}

const CReportColumnSet &CReportModel::ColumnSet() const
{
    static const CReportColumnSet none;
    if (m_definition && m_definition->Type == 3)
        return m_crossColumns;
    return m_definition ? m_definition->Columns : none;
}

// --- Building ----------------------------------------------------------

void CReportModel::ResetForRefresh()
{
    m_checked.clear();
    m_fitRows.Clear();
    m_fitValid = false;
    m_building = true;
    if (m_fullReset) {
        m_tree.DeleteAll();
        m_fullReset = false;
    } else {
        PrepareRefresh();
    }
    m_columns.clear();
    m_chains.clear();
    m_exportCursor = nullptr;
}

void CReportModel::PrepareRefresh()
{
    m_tree.VisibleRows().clear();
    // A project-tracking tree is made again whole.
    if (const CTreeItem *first = m_tree.FirstRoot(); first && first->Item().PairOf()) {
        m_tree.DeleteAll();
        return;
    }
    // One walk: every row waits to be kept again, the groups start from 0,
    // and the entries checked now come back checked. Entry rows stay where
    // they are for the build to find them again (AddEntryLine): the rows of
    // the entries that no longer come go with the groups left empty.
    std::vector<CTreeItem *> pending;
    for (int r = 0; r < m_tree.RootCount(); ++r)
        pending.push_back(m_tree.Root(r));
    while (!pending.empty()) {
        CTreeItem *row = pending.back();
        pending.pop_back();
        row->Kept = false;
        row->ListIndex = -1;
        row->NextEntry = 0;
        if (tReportGroupLine *g = row->Item().GroupLineOf()) {
            g->Duree = 0;
            g->Cout = 0.0;
        } else if (tReportTotalLine *t = row->Item().TotalLineOf()) {
            std::fill(t->Sums.begin(), t->Sums.end(), 0);
        } else if (const tReportEntry *e = row->Item().EntryOf()) {
            if (row->Record().Check == 1)
                m_checked.insert(e->Id);
        }
        for (int i = 0; i < row->ChildCount(); ++i)
            pending.push_back(row->Child(i));
    }
}

void CReportModel::BuildColumns()
{
    m_columns.clear();
    const CReportColumnSet &set = ColumnSet();
    const bool cross = m_definition && m_definition->Type == 3;
    for (int i = 0; i < set.Count(); ++i) {
        const tReportColumn &column = set[i];
        if (!cross && !column.Shown)
            continue;
        tListColumn list;
        list.SetIndex = i;
        list.Kind = column.Kind;
        list.Align = column.GetAlign();
        list.Width = column.Width >= 0 ? column.Width : 100;
        list.Caption = cross ? CrossCaption(i) : column.GetCaption();
        m_columns.push_back(list);
    }
}

void CReportModel::RelabelColumns()
{
    BuildColumns();
}

void CReportModel::DefineCrossTabColumns(const std::vector<tCrossTabColumn> &columns)
{
    m_crossColumns.Clear();
    m_crossColumns.SetType(CReportColumnSet::CrossTable);
    for (const tCrossTabColumn &c : columns) {
        tReportColumn column(c.Kind, true);
        column.Caption = c.Value;
        column.Align = c.Kind == CrossTabLabelKind   ? ColumnAlignLeft
                       : c.Kind == CrossTabValueKind ? ColumnAlignRight
                                                     : GetReportColumnDefaultAlign(c.Kind);
        m_crossColumns.Append(column);
    }
    BuildColumns();
}

QString CReportModel::CrossCaption(int setIndex) const
{
    const CReportColumnSet &set = m_crossColumns;
    if (setIndex <= 0)
        return QString();
    if (setIndex == set.Count() - 1)
        return m_labels.TotalCaption;
    const QString value = set[setIndex].Caption;
    bool yearLevel = false;
    bool monthLevel = false;
    for (int level : Definition().Levels()) {
        yearLevel = yearLevel || level == 0;
        monthLevel = monthLevel || level == 1;
    }
    const CConfiguration &config = Configuration();
    switch (Definition().Grp_Col) {
    case 0:
        return value;
    case 1:
        if (yearLevel) {
            const int month = value.toInt();
            return month >= 1 && month <= 12 ? m_labels.MonthNames[size_t(month - 1)] : value;
        }
        return config.FormatMonthNumberYear(value.mid(5, 2).toInt(), value.left(4).toInt());
    case 2:
        if (monthLevel)
            return value;
        if (yearLevel)
            return config.FormatMonthDay(value.left(2).toInt(), value.mid(3, 2).toInt());
        return config.FormatIsoDate(value);
    case 3: {
        const int id = value.toInt();
        const tReportSnapshot::tProject *project = Snapshot().Project(id);
        if (!project)
            return QString();
        if (Definition().DetailCross)
            return Snapshot().FullName(id);
        return project->Title.isEmpty() ? project->Nom : project->Title;
    }
    case 4:
        return Snapshot().ActivityName(value.toInt());
    default:
        return value;
    }
}

void CReportModel::SetTotalRow(const QString &label, bool grouped)
{
    const int slotCount = std::max(m_crossColumns.Count() - 1, 0);
    CTreeItem *first = m_tree.FirstRoot();
    const bool right = first
                       && (grouped ? first->Item().GroupLineOf() != nullptr
                                   : first->Item().TotalLineOf() != nullptr);
    if (!right) {
        if (first)
            m_tree.DeleteItem(first);
        tReportRow row;
        row.GroupMarker = 0;
        if (grouped)
            row.Item.SetGroupLine({});
        else
            row.Item.SetTotalLine(label, slotCount);
        first = m_tree.InsertItemBefore(nullptr, 0, std::move(row));
    }
    first->Kept = true;
    first->Record().GroupMarker = 0;
    if (tReportGroupLine *g = first->Item().GroupLineOf()) {
        g->Title = label;
        g->LevelKind = -1;
        g->KeyId = -1;
    } else if (tReportTotalLine *t = first->Item().TotalLineOf()) {
        t->Title = label;
        t->Sums.assign(size_t(slotCount), 0);
    }
}

const QString &CReportModel::DateKey(int levelKind, qint64 t)
{
    const LocalDayCache::tDay day = m_days.Day(t);
    if (day.Date != m_keyDate || m_keys[0].isEmpty()) {
        m_keyDate = day.Date;
        const int y = day.Date.isValid() ? day.Date.year() : 0;
        const int m = day.Date.isValid() ? day.Date.month() : 0;
        const int d = day.Date.isValid() ? day.Date.day() : 0;
        m_keys[0] = Formatter::sprintf(u"%04d", {y});
        m_keys[1] = Formatter::sprintf(u"%04d-%02d", {y, m});
        m_keys[2] = Formatter::sprintf(u"%04d-%02d-%02d", {y, m, d});
        for (int k = 0; k < 3; ++k)
            m_keyNumbers[k] = tGroupKey::DateNumber(m_keys[k]);
    }
    return m_keys[levelKind];
}

const std::vector<int> &CReportModel::ProjectChain(int projectId)
{
    auto it = m_chains.find(projectId);
    if (it == m_chains.end()) {
        std::vector<int> chain;
        if (projectId != -1)
            chain = Snapshot().Ancestry(projectId);
        if (chain.empty())
            chain.push_back(-1);
        it = m_chains.insert(projectId, std::move(chain));
    }
    return *it;
}

int CReportModel::Preorder(int projectId) const
{
    const tReportSnapshot::tProject *project = Snapshot().Project(projectId);
    return project ? project->Order : INT_MAX;
}

void CReportModel::AddToGroup(CTreeItem *row, qint64 seconds, double cost, int column) const
{
    if (tReportGroupLine *g = row->Item().GroupLineOf()) {
        g->Duree += seconds;
        g->Cout += cost;
    } else if (tReportTotalLine *t = row->Item().TotalLineOf()) {
        // A row kept from a build with other columns starts this one with
        // the new columns (its sums were cleared by the refresh).
        const size_t slotCount = size_t(std::max(m_crossColumns.Count() - 1, 0));
        if (t->Sums.size() != slotCount)
            t->Sums.assign(slotCount, 0);
        row->Item().AddToTotal(column, seconds);
        row->Item().AddToTotal(int(t->Sums.size()), seconds);
    }
}

CTreeItem *CReportModel::Group(CTreeItem *parent, int levelKind, int levelIndex, const QString &key, qint64 number,
                               qint64 seconds, double cost, int column, bool treeOrder)
{
    const int keyId = levelKind == 3 || levelKind == 4 ? int(number) : -1;
    if (CTreeItem *found = parent->FindGroup(tGroupKey{levelKind, number})) {
        if ((column < 0) == (found->Item().GroupLineOf() != nullptr)) {
            if (!found->Kept) {
                found->Kept = true;
                m_fitRows.Add(*found, Snapshot(), m_days);
            }
            AddToGroup(found, seconds, cost, column);
            return found;
        }
        // A row of the other shape, kept from a report of another kind.
        m_tree.DeleteItem(found);
    }
    // A project the selection does not name gets no row: its entries count
    // in the rows above.
    if (levelKind == 3 && !Definition().ContainsProject(keyId))
        return parent;
    // Projects and activities are named when their row is made.
    const QString title = levelKind == 3   ? Snapshot().ProjectName(keyId)
                          : levelKind == 4 ? Snapshot().ActivityName(keyId)
                                           : key;
    tReportRow row;
    row.GroupMarker = 0;
    if (column < 0) {
        row.Item.SetGroupLine({title, 0, 0.0, levelKind, keyId, levelIndex});
    } else {
        row.Item.SetTotalLine(title, std::max(m_crossColumns.Count() - 1, 0));
        tReportTotalLine *t = row.Item.TotalLineOf();
        t->LevelKind = levelKind;
        t->KeyId = keyId;
        t->LevelIndex = levelIndex;
    }
    CTreeItem *made = nullptr;
    if (treeOrder) {
        // Project rows follow the project tree's order of siblings.
        const int order = Preorder(keyId);
        int position = parent->ChildCount();
        for (int i = 0; i < parent->ChildCount(); ++i) {
            int kind = -1;
            int id = -1;
            if (groupLevel(parent->Child(i), kind, id) && kind == 3 && Preorder(id) > order) {
                position = i;
                break;
            }
        }
        made = m_tree.InsertItemBefore(parent, position, std::move(row));
    } else {
        made = m_tree.InsertItemSorted(parent, std::move(row));
    }
    AddToGroup(made, seconds, cost, column);
    m_fitRows.Add(*made, Snapshot(), m_days);
    return made;
}

CTreeItem *CReportModel::Descend(const tReportEntry &entry, qint64 seconds, double cost, int column)
{
    CTreeItem *parent = m_tree.FirstRoot();
    for (size_t i = 0; i < m_levels.size(); ++i) {
        const int level = m_levels[i];
        switch (level) {
        case 0:
        case 1:
        case 2: {
            const QString &key = DateKey(level, entry.Debut); // sets the key's number too
            parent = Group(parent, level, int(i), key, m_keyNumbers[level], seconds, cost, column, false);
            break;
        }
        case 4:
            parent = Group(parent, 4, int(i), QString(), entry.IdActivite, seconds, cost, column, false);
            break;
        case 3:
            for (int id : ProjectChain(entry.IdProjet))
                parent = Group(parent, 3, int(i), QString(), id, seconds, cost, column, true);
            break;
        default:
            break;
        }
    }
    return parent;
}

void CReportModel::AddEntryLine(const tReportEntry &entry)
{
    CTreeItem *total = m_tree.FirstRoot();
    if (!total || !m_definition)
        return;
    const qint64 seconds = entry.Seconds();
    // Each line's amount is rounded to the cent once; the groups add the
    // rounded amounts (in double, exact to the cent over many lines), so
    // that the lines shown add up to the totals shown.
    const double cost = Snapshot().LineCost(entry);
    AddToGroup(total, seconds, cost, -1);
    CTreeItem *parent = Descend(entry, seconds, cost, -1);
    if (m_definition->Detail) {
        const int check = m_checked.contains(entry.Id) ? 1 : 0;
        if (CTreeItem *kept = KeptEntryRow(parent, entry)) {
            *kept->Item().EntryOf() = entry;
            kept->Record().Check = check;
            kept->Kept = true;
            m_fitRows.Add(*kept, Snapshot(), m_days);
            return;
        }
        tReportRow row;
        row.Item.SetEntry(entry);
        row.Check = check;
        const CTreeItem *made = m_tree.InsertItemBefore(parent, int(parent->NextEntry), std::move(row));
        ++parent->NextEntry;
        m_fitRows.Add(*made, Snapshot(), m_days);
    }
}

CTreeItem *CReportModel::KeptEntryRow(CTreeItem *parent, const tReportEntry &entry)
{
    // The entries come in start order, as they came to the rows a refresh
    // kept: a row of the same entry and start is found at or after the
    // last one found. Rows of entries that start earlier and were not
    // found no longer come; a row that starts later waits for its entry,
    // and a new entry goes before it.
    size_t i = parent->NextEntry;
    for (; i < size_t(parent->ChildCount()); ++i) {
        CTreeItem *row = parent->Child(int(i));
        const tReportEntry *e = row->Item().EntryOf();
        if (!e || row->Kept)
            continue;
        if (e->Debut > entry.Debut)
            break;
        if (e->Debut < entry.Debut)
            continue;
        // Of the rows of this start, the one of this entry.
        for (size_t j = i; j < size_t(parent->ChildCount()); ++j) {
            CTreeItem *same = parent->Child(int(j));
            const tReportEntry *f = same->Item().EntryOf();
            if (!f || same->Kept)
                continue;
            if (f->Debut != entry.Debut)
                break;
            if (f->Id == entry.Id) {
                parent->NextEntry = quint32(j == i ? j + 1 : i);
                return same;
            }
        }
        break;
    }
    parent->NextEntry = quint32(i);
    return nullptr;
}

void CReportModel::AddCrossTabLine(const tReportEntry &entry, int column)
{
    CTreeItem *total = m_tree.FirstRoot();
    if (!total || !m_definition || column < 1)
        return;
    const qint64 seconds = entry.Seconds();
    AddToGroup(total, seconds, 0.0, column);
    Descend(entry, seconds, 0.0, column);
}

void CReportModel::AddForecastRows()
{
    // The nodes follow the project tree: fitting looks at each of them.
    m_fitRows.WalkAll();
    BuildColumns();
    CTreeItem *first = m_tree.FirstRoot();
    if (!first || !first->Item().PairOf()) {
        if (first)
            m_tree.DeleteItem(first);
        tReportRow row;
        row.Item.SetPair(-1, -2);
        first = m_tree.InsertItemBefore(nullptr, 0, std::move(row));
    }
    first->Kept = true;
    if (!Snapshot().Nodes.empty())
        AddForecastNode(first, 0);
}

void CReportModel::AddForecastNode(CTreeItem *row, int nodeIndex)
{
    const tReportSnapshot &snapshot = Snapshot();
    for (int childIndex : snapshot.Nodes[size_t(nodeIndex)].Children) {
        const tReportSnapshot::tNode &node = snapshot.Nodes[size_t(childIndex)];
        const QString key = Formatter::sprintf(u";%d,%d;", {node.ProjectId, node.ActivityId});
        if (!Definition().Projets.isEmpty() && !Definition().Projets.contains(key)) {
            AddForecastNode(row, childIndex);
            continue;
        }
        tReportRow record;
        record.Item.SetPair(node.ProjectId, node.ActivityId);
        AddForecastNode(m_tree.InsertItem(row, std::move(record)), childIndex);
    }
}

void CReportModel::Sweep(CTreeItem *item, bool shown)
{
    if (!item->HasChildren())
        return;
    m_tree.RemoveChildrenIf(item, [](const CTreeItem &row) { return !row.Kept; });
    for (int i = 0; i < item->ChildCount(); ++i) {
        CTreeItem *child = item->Child(i);
        if (shown)
            m_tree.VisibleRows().push_back(child);
        else
            child->ListIndex = -1;
        Sweep(child, shown && !child->Collapsed);
    }
}

void CReportModel::ShowRows()
{
    std::vector<CTreeItem *> &visible = m_tree.VisibleRows();
    visible.clear();
    if (CTreeItem *first = m_tree.FirstRoot()) {
        visible.push_back(first);
        Sweep(first, !first->Collapsed);
    }
    m_tree.RenumberRows();
    m_exportCursor = nullptr;
    // The rows a build told stand for the tree as long as no row leaves it.
    if (m_building) {
        m_building = false;
        m_fitGeneration = m_tree.Generation();
        m_fitValid = true;
    }
}

std::vector<std::vector<const CTreeItem *>> CReportModel::FitRows(int first, int last) const
{
    const bool told = m_fitValid && m_fitGeneration == m_tree.Generation();
    return m_fitRows.Rows(*this, first, last, !told);
}

void CReportModel::UpdateCheckStates()
{
    if (!m_showCheckBoxes)
        return;
    for (int r = 0; r < m_tree.RootCount(); ++r)
        m_tree.RecomputeChecks(m_tree.Root(r));
}

// --- Commands ----------------------------------------------------------

void CReportModel::ExpandAll()
{
    walk(m_tree, [](const CTreeItem *row) { const_cast<CTreeItem *>(row)->Collapsed = false; });
    ShowRows();
}

void CReportModel::CollapseAll()
{
    walk(m_tree, [](const CTreeItem *row) {
        if (row->HasChildren())
            const_cast<CTreeItem *>(row)->Collapsed = true;
    });
    ShowRows();
}

void CReportModel::ShowGroupsOnly()
{
    std::vector<CTreeItem *> pending;
    for (int r = 0; r < m_tree.RootCount(); ++r)
        pending.push_back(m_tree.Root(r));
    while (!pending.empty()) {
        CTreeItem *row = pending.back();
        pending.pop_back();
        if (!row->HasChildren())
            continue;
        bool groupsBelow = false;
        for (int i = 0; i < row->ChildCount() && !groupsBelow; ++i)
            groupsBelow = row->Child(i)->HasChildren();
        row->Collapsed = !groupsBelow;
        if (groupsBelow) {
            for (int i = 0; i < row->ChildCount(); ++i)
                pending.push_back(row->Child(i));
        }
    }
    ShowRows();
}

void CReportModel::SetFirstRowLabel(const QString &label)
{
    CTreeItem *first = m_tree.FirstRoot();
    if (!first)
        return;
    if (tReportTextLine *t = first->Item().TextLineOf())
        t->Text = label;
    else if (tReportGroupLine *g = first->Item().GroupLineOf())
        g->Title = label;
    else if (tReportTotalLine *c = first->Item().TotalLineOf())
        c->Title = label;
}

// --- Reading -----------------------------------------------------------

const tReportEntry *CReportModel::GetSelectedEntry(int row) const
{
    const CTreeItem *item = m_tree.VisibleRow(row);
    return item ? item->Item().EntryOf() : nullptr;
}

QString CReportModel::GetCheckedEntryIds(bool parentheses) const
{
    QList<int> ids;
    QSet<int> seen;
    walk(m_tree, [&](const CTreeItem *row) {
        const tReportEntry *entry = row->Item().EntryOf();
        if (entry && row->Record().Check == 1 && !seen.contains(entry->Id)) {
            seen.insert(entry->Id);
            ids << entry->Id;
        }
    });
    return idList(ids, parentheses);
}

void CReportModel::GetBillingLists(QString &billing, QString &unbilling) const
{
    billing.clear();
    unbilling.clear();
    if (!m_showCheckBoxes)
        return;
    QList<int> bill;
    QList<int> unbill;
    QSet<int> billed;
    QSet<int> unbilled;
    walk(m_tree, [&](const CTreeItem *row) {
        const tReportEntry *entry = row->Item().EntryOf();
        if (!entry)
            return;
        if (row->Record().Check == 1 && !entry->Facture && !billed.contains(entry->Id)) {
            billed.insert(entry->Id);
            bill << entry->Id;
        } else if (row->Record().Check != 1 && entry->Facture && !unbilled.contains(entry->Id)) {
            unbilled.insert(entry->Id);
            unbill << entry->Id;
        }
    });
    // A piece of an entry checked for invoicing wins over another piece
    // of it left unchecked.
    unbill.removeIf([&](int id) { return billed.contains(id); });
    billing = idList(bill, true);
    unbilling = idList(unbill, true);
}

QStringList CReportModel::GetColumnCaptions() const
{
    QStringList captions;
    for (const tListColumn &column : m_columns)
        captions << column.Caption;
    return captions;
}

QString CReportModel::GetCellText(int column, const CTreeItem *row, bool keepLineBreaks, bool cut) const
{
    if (!row || column < 0 || column >= ColumnCount())
        return QString();
    const CTreeItem *total = m_tree.FirstRoot();
    return Cells().CellText(column, m_columns[size_t(column)].Kind, row->Item(), total ? &total->Item() : nullptr,
                            keepLineBreaks, cut);
}

bool CReportModel::GetCellValue(int column, const CTreeItem *row, tReportCellValue &value) const
{
    if (!row || column < 0 || column >= ColumnCount())
        return false;
    const CTreeItem *total = m_tree.FirstRoot();
    value = Cells().CellValue(column, m_columns[size_t(column)].Kind, row->Item(), total ? &total->Item() : nullptr);
    return true;
}

int CReportModel::GetRowImage(const CTreeItem *row) const
{
    if (!row)
        return -1;
    int levelKind = -1;
    int keyId = -1;
    if (groupLevel(row, levelKind, keyId)) {
        if (levelKind == 3) {
            const tReportSnapshot::tProject *project = Snapshot().Project(keyId);
            const int image = project ? GetProjectStateImage(project->Type) : -1;
            if (image != -1)
                return image;
        } else if (levelKind == 4) {
            return 16;
        }
    } else if (const tReportPair *pair = row->Item().PairOf(); pair && pair->IdProjet != -1) {
        if (pair->IdActivite != -2)
            return 16;
        const tReportSnapshot::tProject *project = Snapshot().Project(pair->IdProjet);
        return project ? GetProjectStateImage(project->Type) : -1;
    }
    if (row->HasChildren())
        return row->Collapsed ? 1 : 0;
    return -1;
}

int CReportModel::GetCheckImage(const CTreeItem *row)
{
    return row ? GetReportRowImage(row->Record().Check) : -1;
}

QString CReportModel::GetWrittenText(int column, const CTreeItem *row, bool keepLineBreaks, bool cut) const
{
    if (!row || column < 0 || column >= ColumnCount())
        return QString();
    const tReportEntry *entry = row->Item().EntryOf();
    if (entry && m_columns[size_t(column)].Kind == 8)
        return entry->Facture ? m_labels.Yes : m_labels.No;
    return GetCellText(column, row, keepLineBreaks, cut);
}

QString CReportModel::GetExportText(int column, const CTreeItem *row) const
{
    return GetWrittenText(column, row, false, true);
}

bool CReportModel::IsRowLabel(int column, const CTreeItem *row)
{
    return column == 0 && row && !row->Item().EntryOf() && !row->Item().PairOf();
}

void CReportModel::ExportCells(const CTreeItem *row, QStringList &cells) const
{
    cells.clear();
    for (int c = 0; c < ColumnCount(); ++c)
        cells << GetExportText(c, row);
}

bool CReportModel::ExportSkips(int mode, const CTreeItem *row) const
{
    return mode == 2 && !row->Item().EntryOf();
}

const CTreeItem *CReportModel::FirstExportItem(int mode)
{
    CTreeItem *first = m_tree.FirstRoot();
    m_exportCursor = first;
    if (first && mode == 2) {
        while (m_exportCursor && isGroup(m_exportCursor))
            m_exportCursor = m_tree.GetNextItem(first, m_exportCursor, false);
    }
    return m_exportCursor;
}

const CTreeItem *CReportModel::NextExportItem(int mode)
{
    CTreeItem *first = m_tree.FirstRoot();
    if (!first || !m_exportCursor)
        return nullptr;
    do {
        m_exportCursor = m_tree.GetNextItem(first, m_exportCursor, mode == 0);
    } while (m_exportCursor && ExportSkips(mode, m_exportCursor));
    return m_exportCursor;
}

bool CReportModel::FirstExportRow(int mode, QStringList &cells)
{
    const CTreeItem *row = FirstExportItem(mode);
    if (!row)
        return false;
    ExportCells(row, cells);
    return true;
}

bool CReportModel::NextExportRow(int mode, QStringList &cells)
{
    const CTreeItem *row = NextExportItem(mode);
    if (!row)
        return false;
    ExportCells(row, cells);
    return true;
}
