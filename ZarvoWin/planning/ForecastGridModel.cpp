#include "ForecastGridModel.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CUsers.h"
#include "ForecastColumns.h"
#include "ForecastGridCells.h"
#include "ForecastSettings.h"
#include "IntParse.h"

#include <QHash>
#include <algorithm>

namespace {

// One sort key: a number, or a text compared by character code.
struct SortKey
{
    double number = 0;
    QString text;

    int Compare(const SortKey &other, bool isText) const
    {
        if (isText)
            return text.compare(other.text, Qt::CaseSensitive);
        return number < other.number ? -1 : (number > other.number ? 1 : 0);
    }
};

bool isTextColumn(int id)
{
    return id == 0 || id == 3 || id == 16;
}

SortKey keyOf(int id, const CProject &node, int storePosition)
{
    SortKey key;
    switch (id) {
    case -1: key.number = storePosition; break;
    case 0:
    case 3:
    case 16: key.text = ForecastGridCells::CellText(id, node, false); break;
    case 1: key.number = node.GetAlertState(); break;
    case 2: key.number = node.Forecast().Priority; break;
    case 4: key.number = double(node.GetDate(2)); break;
    case 5: key.number = double(node.GetDate(4)); break;
    case 6: key.number = double(node.GetDate(6)); break;
    case 7: key.number = double(node.GetDate(3)); break;
    case 8: key.number = double(node.GetDate(5)); break;
    case 9: key.number = double(node.GetPlannedWork(false)); break;
    case 10: key.number = double(node.GetExpectedWork()); break;
    case 11: key.number = double(node.GetDoneWork(true)); break;
    case 12: key.number = double(node.GetRemainingWork()); break;
    case 13: key.number = node.GetProgress(); break;
    case 14: key.number = node.GetPlannedRatio(); break;
    case 15: key.number = node.GetTaskCount(true); break;
    default: break;
    }
    return key;
}

using Keyed = std::pair<SortKey, std::unique_ptr<ForecastGridModel::CTreeItem>>;

// The sort of one item's children: a quicksort that is not stable and
// never exchanges two elements of equal keys.
void quickSort(std::vector<Keyed> &v, int first, int last, bool isText, bool ascending)
{
    const SortKey pivot = v[size_t((first + last) / 2)].first;
    const auto before = [&](const SortKey &k) {
        const int c = k.Compare(pivot, isText);
        return ascending ? c < 0 : c > 0;
    };
    const auto after = [&](const SortKey &k) {
        const int c = k.Compare(pivot, isText);
        return ascending ? c > 0 : c < 0;
    };
    int lo = first;
    int hi = last;
    while (lo <= hi) {
        while (lo < last && before(v[size_t(lo)].first))
            ++lo;
        while (hi > first && after(v[size_t(hi)].first))
            --hi;
        if (lo <= hi) {
            if (v[size_t(lo)].first.Compare(v[size_t(hi)].first, isText) != 0)
                std::swap(v[size_t(lo)], v[size_t(hi)]);
            ++lo;
            --hi;
        }
    }
    if (first < hi)
        quickSort(v, first, hi, isText, ascending);
    if (lo < last)
        quickSort(v, lo, last, isText, ascending);
}

// "<project id>;<activity id>;<offset>"; anything else is no row.
ForecastGridModel::tRowRef readRef(QStringView item)
{
    const QList<QStringView> parts = item.split(u';');
    if (parts.size() != 3)
        return {-1, -1, -1};
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return {-1, -1, -1};
    }
    return {values[0], values[1], values[2]};
}

QString writeRef(const ForecastGridModel::tRowRef &ref)
{
    return QStringLiteral("%1;%2;%3|").arg(ref.projectId).arg(ref.activityId).arg(ref.offset);
}

} // namespace

ForecastGridModel::tData ForecastGridModel::ApplicationData()
{
    tData data;
    data.reloadProjects = [] {
        CBdD db;
        db.LoadProjects(-1, nullptr);
    };
    data.readForecastChanges = [] {
        CBdD db;
        return db.InitForecast(false);
    };
    data.computeForecast = [] {
        CProjectStore *store = CAppData::ProjectStore();
        return store ? store->ComputeForecast() : tForecastRun();
    };
    data.realTime = [] {
        const CConfiguration *config = CAppData::Configuration();
        return config ? config->realTime : true;
    };
    data.readUserSettings = [](QStringList &names) {
        const CUsers *users = CAppData::Users();
        return users && users->GetUserSettings(names);
    };
    data.writeUserSettings = [](const QStringList &names, const QStringList &values) {
        const CUsers *users = CAppData::Users();
        return users && users->SetUserSettings(names, values);
    };
    return data;
}

ForecastGridModel::ForecastGridModel(CProjectStore *store)
    : m_store(store ? store : CAppData::ProjectStore()), m_data(ApplicationData())
{
}

ForecastGridModel::~ForecastGridModel() = default;

// ---------------------------------------------------------------- rows

ForecastGridModel::CTreeItem *ForecastGridModel::Item(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)] : nullptr;
}

tTreeRowShape ForecastGridModel::RowShape(int row) const
{
    tTreeRowShape shape;
    const CTreeItem *item = Item(row);
    if (!item)
        return shape;
    shape.depth = item->depth;
    shape.hasChildren = !item->children.empty();
    shape.collapsed = item->collapsed;
    const auto hasLaterSibling = [](const CTreeItem *i) {
        return i->parent && i->parent->children.back().get() != i;
    };
    shape.hasLaterSibling = hasLaterSibling(item);
    shape.ancestorHasLaterSibling.assign(size_t(std::max(item->depth - 1, 0)), false);
    for (const CTreeItem *a = item->parent; a; a = a->parent) {
        if (a->depth >= 1 && a->depth <= int(shape.ancestorHasLaterSibling.size()))
            shape.ancestorHasLaterSibling[size_t(a->depth - 1)] = hasLaterSibling(a);
    }
    return shape;
}

int ForecastGridModel::FindRow(int projectId, int activityId) const
{
    for (const CTreeItem *item : m_rows)
        if (item->projectId == projectId && item->activityId == activityId)
            return item->row;
    return -1;
}

QString ForecastGridModel::HiddenKey(int projectId, int activityId)
{
    return QStringLiteral(";%1,%2").arg(projectId).arg(activityId);
}

bool ForecastGridModel::IsHidden(int projectId, int activityId) const
{
    return !hidden.isEmpty() && hidden.contains(HiddenKey(projectId, activityId) + u';');
}

void ForecastGridModel::SetSort(int id, bool ascending)
{
    m_sortId = ForecastColumns::IsValidId(id) ? id : -1;
    m_ascending = ascending;
}

// ---------------------------------------------------------------- building

bool ForecastGridModel::Takes(const CProject *node) const
{
    return (filterMode != 1 || !IsHidden(node->ProjectId(), node->ActivityId()))
        && (!hideCompleted || !node->IsCompleted()) && (!hideInactive || !node->IsInactive());
}

int ForecastGridModel::BuildChildren(CTreeItem *item)
{
    const std::vector<CProject *> &nodes = item->node->Children();
    if (nodes.empty())
        return -1;
    bool anyTicked = false;
    for (CProject *node : nodes) {
        if (!Takes(node))
            continue;
        auto child = std::make_unique<CTreeItem>();
        child->parent = item;
        child->depth = item->depth + 1;
        child->node = node;
        child->projectId = node->ProjectId();
        child->activityId = node->ActivityId();
        const int below = BuildChildren(child.get());
        child->check = below == 1 || !IsHidden(child->projectId, child->activityId) ? 1 : 0;
        anyTicked = anyTicked || child->check == 1;
        item->children.push_back(std::move(child));
    }
    return anyTicked ? 1 : 0;
}

void ForecastGridModel::BuildTree()
{
    m_selected = nullptr;
    m_rows.clear();
    m_root.reset();
    if (!m_store)
        return;
    m_root = std::make_unique<CTreeItem>();
    m_root->node = m_store->GetRoot();
    m_root->projectId = m_root->node->ProjectId();
    m_root->activityId = m_root->node->ActivityId();
    m_root->depth = 1;
    const int below = BuildChildren(m_root.get());
    m_root->check = below == -1 ? 1 : below;
    m_built = true;
    m_builtChange = m_store->ChangeCount();
    Relist();
}

bool ForecastGridModel::IsStale() const
{
    return m_store && (!m_built || m_builtChange != m_store->ChangeCount());
}

void ForecastGridModel::ListItem(CTreeItem *item)
{
    item->row = int(m_rows.size());
    m_rows.push_back(item);
    for (const auto &child : item->children) {
        if (item->collapsed)
            child->row = -1;
        else
            ListItem(child.get());
    }
}

void ForecastGridModel::Relist()
{
    const auto unlist = [](auto &self, CTreeItem *item) -> void {
        item->row = -1;
        for (const auto &child : item->children)
            self(self, child.get());
    };
    if (m_root)
        unlist(unlist, m_root.get());
    m_rows.clear();
    if (m_root)
        ListItem(m_root.get());
    if (m_selected && m_selected->row < 0)
        m_selected = nullptr;
}

// ---------------------------------------------------------------- sorting

void ForecastGridModel::SortChildren(CTreeItem *item)
{
    for (const auto &child : item->children)
        if (!child->children.empty())
            SortChildren(child.get());
    if (item->children.size() < 2)
        return;

    // The store's order: the position of each node among its parent's
    // children.
    QHash<const CProject *, int> positions;
    if (m_sortId == -1) {
        const std::vector<CProject *> &nodes = item->node->Children();
        for (int i = 0; i < int(nodes.size()); ++i)
            positions.insert(nodes[size_t(i)], i);
    }
    std::vector<Keyed> keyed;
    keyed.reserve(item->children.size());
    for (auto &child : item->children) {
        SortKey key = keyOf(m_sortId, *child->node, positions.value(child->node, -1));
        keyed.emplace_back(std::move(key), std::move(child));
    }
    quickSort(keyed, 0, int(keyed.size()) - 1, isTextColumn(m_sortId), m_ascending);
    for (size_t i = 0; i < keyed.size(); ++i)
        item->children[i] = std::move(keyed[i].second);
}

void ForecastGridModel::Resort()
{
    if (m_root && m_root->node)
        SortChildren(m_root.get());
    Relist();
}

void ForecastGridModel::ResortKeepingView()
{
    SaveViewState();
    Resort();
    RestoreViewState(true);
}

void ForecastGridModel::ApplyFilter()
{
    SaveViewState();
    BuildTree();
    Resort();
    RestoreViewState(true);
}

void ForecastGridModel::SortOn(int id, bool resetAllowed)
{
    if (!ForecastColumns::IsValidId(id))
        id = -1;
    if (id == m_sortId) {
        if (id == -1) {
            m_ascending = !m_ascending;
        } else if (m_ascending) {
            m_ascending = false;
        } else {
            m_ascending = true;
            if (resetAllowed)
                m_sortId = -1;
        }
    } else {
        m_sortId = id;
        m_ascending = true;
    }
    ForecastSettings::WriteInt(ForecastSettings::Sorting, m_sortId);
    ForecastSettings::WriteInt(ForecastSettings::Ascending, m_ascending ? 1 : 0);
    if (IsStale() && m_built)
        ApplyFilter();
    else
        ResortKeepingView();
}

// ---------------------------------------------------------------- checks

void ForecastGridModel::TickDescendants(CTreeItem *item, int check)
{
    for (const auto &child : item->children) {
        child->check = check;
        TickDescendants(child.get(), check);
    }
}

void ForecastGridModel::TickAncestors(CTreeItem *item)
{
    for (CTreeItem *a = item->parent; a; a = a->parent)
        a->check = 1;
}

void ForecastGridModel::ToggleCheck(CTreeItem *item)
{
    if (!item)
        return;
    const bool wasTicked = item->check == 1;
    item->check = wasTicked ? 0 : 1;
    if (wasTicked && !item->children.empty())
        TickDescendants(item, 0);
    if (!wasTicked)
        TickAncestors(item);
    UpdateHiddenList();
}

void ForecastGridModel::SelectChildren(CTreeItem *item)
{
    if (!item)
        return;
    item->check = 1;
    TickDescendants(item, 1);
    TickAncestors(item);
    UpdateHiddenList();
}

void ForecastGridModel::CollectHidden(const CTreeItem *item, QString &text) const
{
    if (item->check != 1)
        text += HiddenKey(item->projectId, item->activityId);
    for (const auto &child : item->children)
        CollectHidden(child.get(), text);
}

void ForecastGridModel::UpdateHiddenList()
{
    QString text;
    if (m_root)
        CollectHidden(m_root.get(), text);
    if (!text.isEmpty())
        text += u';';
    hidden = text;
}

bool ForecastGridModel::ToggleExpanded(CTreeItem *item)
{
    if (!item || item->children.empty())
        return false;
    item->collapsed = !item->collapsed;
    Relist();
    return true;
}

// ---------------------------------------------------------------- refresh

ForecastGridModel::tRefreshResult ForecastGridModel::Refresh(bool reload, bool restoreSaved, bool recompute,
                                                              bool keepOffset, bool visible)
{
    tRefreshResult result;
    if (m_showingWarning)
        return result;

    bool rebuild = false;
    bool dataChanged = false;
    if (reload) {
        if (m_data.reloadProjects)
            m_data.reloadProjects();
        rebuild = true;
    } else if (m_needsFullRebuild) {
        rebuild = true;
    } else {
        dataChanged = m_data.readForecastChanges && m_data.readForecastChanges();
        rebuild = IsStale();
    }
    if (!visible && !reload && !m_needsFullRebuild) {
        m_needsFullRebuild = false;
        return result;
    }

    const bool realTime = m_data.realTime && m_data.realTime();
    tForecastRun run;
    const auto schedule = [&] {
        if (!realTime && !recompute)
            return;
        if (m_data.computeForecast)
            run = m_data.computeForecast();
        result.scheduled = true;
    };
    const auto takeViewState = [&] {
        if (restoreSaved || m_needsFullRebuild)
            LoadSettings();
        else
            SaveViewState();
    };

    if (rebuild) {
        takeViewState();
        BuildTree();
        schedule();
        m_builtChange = m_store ? m_store->ChangeCount() : 0;
        Resort();
        RestoreViewState(keepOffset);
        result.rebuilt = true;
        result.resorted = true;
    } else if (dataChanged) {
        schedule();
        takeViewState();
        Resort();
        RestoreViewState(keepOffset);
        result.resorted = true;
    } else if (!realTime && !recompute) {
        if (m_sortId == 11 || m_sortId == 12 || m_sortId == 13) {
            SaveViewState();
            Resort();
            RestoreViewState(keepOffset);
            result.resorted = true;
        }
    } else {
        schedule();
        if (m_sortId == 7 || m_sortId == 8 || m_sortId == 11 || m_sortId == 12 || m_sortId == 13) {
            SaveViewState();
            Resort();
            RestoreViewState(keepOffset);
            result.resorted = true;
        }
    }
    m_needsFullRebuild = false;

    const QString warning = run.Warning();
    if (!warning.isEmpty() && m_data.showWarning) {
        m_showingWarning = true;
        m_data.showWarning(warning);
        m_showingWarning = false;
    }
    return result;
}

// ---------------------------------------------------------------- view state

void ForecastGridModel::SaveViewState()
{
    tViewState &s = m_viewState;
    const int count = RowCount();
    const int anchorRow = m_firstRow == 0 ? 1 : m_firstRow;
    if (anchorRow < 0 || anchorRow >= count) {
        s.anchor = {-1, -1, 0};
        s.neighbour1 = {-1, -1, 0};
        s.neighbour2 = {-1, -1, 0};
    } else {
        const int offset = anchorRow - m_firstRow;
        const auto refOf = [&](int row) {
            const CTreeItem *item = Item(row);
            return item ? tRowRef{item->projectId, item->activityId, offset} : tRowRef{-1, -1, offset};
        };
        s.anchor = refOf(anchorRow);
        if (anchorRow < 2) {
            s.neighbour1 = refOf(anchorRow + 1);
            s.neighbour2 = {-1, -1, offset};
        } else {
            s.neighbour1 = refOf(anchorRow - 1);
            s.neighbour2 = refOf(anchorRow + 1);
        }
    }

    if (m_selected) {
        const int row = m_selected->row;
        const bool onPage = row >= 0 && row >= m_firstRow && row <= m_firstRow + m_rowsPerPage;
        s.selection = {m_selected->projectId, m_selected->activityId, onPage ? row - m_firstRow : -1};
    } else {
        s.selection = {-1, -1, -1};
    }

    s.collapsed.clear();
    if (m_root)
        CollectCollapsed(m_root.get(), s.collapsed);
}

void ForecastGridModel::CollectCollapsed(const CTreeItem *item, std::vector<int> &ids) const
{
    if (!item->children.empty() && item->collapsed)
        ids.push_back(item->projectId);
    for (const auto &child : item->children)
        CollectCollapsed(child.get(), ids);
}

void ForecastGridModel::CollapseByIds(CTreeItem *item, const std::vector<int> &ids)
{
    if (std::find(ids.begin(), ids.end(), item->projectId) != ids.end())
        item->collapsed = true;
    for (const auto &child : item->children)
        CollapseByIds(child.get(), ids);
}

int ForecastGridModel::RowOf(const tRowRef &ref) const
{
    return ref.IsNone() ? -1 : FindRow(ref.projectId, ref.activityId);
}

void ForecastGridModel::RestoreViewState(bool keepOffset)
{
    const tViewState &s = m_viewState;
    if (m_root && !s.collapsed.empty()) {
        CollapseByIds(m_root.get(), s.collapsed);
        Relist();
    }

    m_selected = nullptr;
    int target = -1;
    int offset = 0;
    if (!s.selection.IsNone()) {
        const int row = RowOf(s.selection);
        if (row >= 0) {
            m_selected = Item(row);
            if (keepOffset && s.selection.offset >= 0) {
                target = row;
                offset = s.selection.offset;
            }
        }
    }
    if (target < 0) {
        if (s.anchor.IsNone())
            return;
        for (const tRowRef *ref : {&s.anchor, &s.neighbour1, &s.neighbour2}) {
            target = RowOf(*ref);
            if (target >= 0)
                break;
        }
        if (target < 0)
            return;
        offset = s.anchor.offset;
    }
    m_firstRowRequest = std::max(0, target - offset);
    m_firstRow = m_firstRowRequest;
}

// ---------------------------------------------------------------- settings

QString ForecastGridModel::WritePos(const tViewState &state)
{
    return writeRef(state.anchor) + writeRef(state.neighbour1) + writeRef(state.neighbour2)
        + writeRef(state.selection);
}

void ForecastGridModel::ReadPos(const QString &text, tViewState &state)
{
    tRowRef *entries[] = {&state.anchor, &state.neighbour1, &state.neighbour2, &state.selection};
    QStringView rest(text);
    for (tRowRef *entry : entries) {
        const qsizetype end = rest.indexOf(u'|');
        if (end < 0) {
            *entry = {-1, -1, -1};
            rest = QStringView();
            continue;
        }
        *entry = readRef(rest.left(end));
        rest = rest.mid(end + 1);
    }
}

QString ForecastGridModel::WriteCollapsed(const std::vector<int> &ids)
{
    QString text;
    for (int id : ids)
        text += QString::number(id) + u'|';
    return text;
}

std::vector<int> ForecastGridModel::ReadCollapsed(const QString &text)
{
    std::vector<int> ids;
    const qsizetype end = text.lastIndexOf(u'|');
    if (end < 0)
        return ids;
    for (QStringView piece : QStringView(text).left(end).split(u'|'))
        ids.push_back(Platform::wtoi(piece));
    return ids;
}

void ForecastGridModel::LoadSettings()
{
    using S = ForecastSettings;
    hideCompleted = S::ReadInt(S::HideCompleted, 0) != 0;
    hideInactive = S::ReadInt(S::HideInactive, 0) != 0;
    const int mode = S::ReadInt(S::FilterMode, 0);
    filterMode = mode >= 0 && mode <= 2 ? mode : 0;
    const int sorting = S::ReadInt(S::Sorting, -1);
    SetSort(sorting >= -1 && sorting <= 16 ? sorting : -1, S::ReadInt(S::Ascending, 1) != 0);

    QStringList values{S::UserPos(), S::UserCollapsed(), S::UserHidden()};
    if (m_data.readUserSettings && m_data.readUserSettings(values) && values.size() == 3) {
        ReadPos(values[0], m_viewState);
        m_viewState.collapsed = ReadCollapsed(values[1]);
        hidden = values[2];
    }
}

void ForecastGridModel::SaveSettings()
{
    using S = ForecastSettings;
    SaveViewState();
    S::WriteInt(S::FilterMode, filterMode);
    S::WriteInt(S::HideCompleted, hideCompleted ? 1 : 0);
    S::WriteInt(S::HideInactive, hideInactive ? 1 : 0);
    if (m_data.writeUserSettings)
        m_data.writeUserSettings({S::UserPos(), S::UserCollapsed(), S::UserHidden()},
                                 {WritePos(m_viewState), WriteCollapsed(m_viewState.collapsed), hidden});
}

// ---------------------------------------------------------------- viewport

void ForecastGridModel::SetViewport(int firstRow, int rowsPerPage, int selectedRow)
{
    m_firstRow = std::max(firstRow, 0);
    m_rowsPerPage = std::max(rowsPerPage, 1);
    m_selected = Item(selectedRow);
}

int ForecastGridModel::TakeFirstRowRequest()
{
    const int request = m_firstRowRequest;
    m_firstRowRequest = -1;
    return request;
}

int ForecastGridModel::SelectedRow() const
{
    return m_selected ? m_selected->row : -1;
}

void ForecastGridModel::SelectRow(int row)
{
    m_selected = Item(row);
}
