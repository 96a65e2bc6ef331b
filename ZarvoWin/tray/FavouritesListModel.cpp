#include "FavouritesListModel.h"

#include "CTrayProjectStore.h"
#include "TrayTexts.h"

#include <QStringList>

#include <algorithm>

FavouritesListModel::FavouritesListModel(bool grouped)
    : m_grouped(grouped)
{
    Relayout();
}

void FavouritesListModel::SetRecords(std::vector<DataItems> records)
{
    m_records = std::move(records);
    m_rows.clear();
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].IsGroup())
            m_records[i].State = DataItems::ExpandedGroup;
        m_rows.push_back(int(i));
    }
    Relayout();
}

void FavouritesListModel::SetHistoryCount(int count)
{
    m_rows.clear();
    for (int i = 0; i < count; ++i)
        m_rows.push_back(i);
    Relayout();
}

DataItems FavouritesListModel::RowItem(int row) const
{
    DataItems item;
    if (row < 0 || row >= RowCount())
        return item;
    if (m_grouped)
        return m_records[size_t(m_rows[size_t(row)])];
    item.Id = m_rows[size_t(row)];
    return item;
}

bool FavouritesListModel::IsHeader(int row) const
{
    return m_grouped && row >= 0 && row < RowCount() && m_records[size_t(m_rows[size_t(row)])].IsGroup();
}

int FavouritesListModel::StartId(int row) const
{
    if (row < 0 || row >= RowCount() || IsHeader(row))
        return -1;
    return RowItem(row).Id;
}

int FavouritesListModel::Level(int row) const
{
    return IsGroupedDisplay() ? RowItem(row).Level : 0;
}

void FavouritesListModel::SetLineHeight(int lineHeight)
{
    m_lineHeight = lineHeight;
    Relayout();
}

int FavouritesListModel::RowHeight(int row) const
{
    if (row < 0 || row >= RowCount())
        return 0;
    const DataItems item = RowItem(row);
    const bool titled = !item.Text.isEmpty();
    int height = 0;
    int lines = 1;
    if (item.IsGroup()) {
        height = 22;
    } else if (IsGroupedDisplay()) {
        height = titled ? 34 : 22;
        lines = titled ? 2 : 1;
    } else {
        height = titled ? 48 : 34;
        lines = titled ? 3 : 2;
    }
    return std::max(height, lines * m_lineHeight + 4);
}

void FavouritesListModel::Relayout()
{
    m_tops.assign(1, 0);
    for (int row = 0; row < RowCount(); ++row)
        m_tops.push_back(m_tops.back() + RowHeight(row));
}

int FavouritesListModel::RowTop(int row) const
{
    return m_tops[size_t(std::clamp(row, 0, RowCount()))];
}

int FavouritesListModel::TotalHeight() const
{
    return m_tops.back();
}

int FavouritesListModel::RowAt(int y) const
{
    if (y < 0 || y >= TotalHeight())
        return -1;
    const auto next = std::upper_bound(m_tops.begin(), m_tops.end(), y);
    return int(next - m_tops.begin()) - 1;
}

bool FavouritesListModel::ToggleGroup(int row)
{
    if (!IsHeader(row))
        return false;
    const int record = m_rows[size_t(row)];
    DataItems &header = m_records[size_t(record)];
    if (header.State == DataItems::ExpandedGroup) {
        header.State = DataItems::CollapsedGroup;
        auto end = m_rows.begin() + row + 1;
        while (end != m_rows.end() && m_records[size_t(*end)].Level > header.Level)
            ++end;
        m_rows.erase(m_rows.begin() + row + 1, end);
    } else {
        header.State = DataItems::ExpandedGroup;
        std::vector<int> shown;
        for (size_t i = size_t(record) + 1; i < m_records.size() && m_records[i].Level > header.Level; ++i) {
            shown.push_back(int(i));
            if (m_records[i].State == DataItems::CollapsedGroup) {
                const int level = m_records[i].Level;
                while (i + 1 < m_records.size() && m_records[i + 1].Level > level)
                    ++i;
            }
        }
        m_rows.insert(m_rows.begin() + row + 1, shown.begin(), shown.end());
    }
    Relayout();
    return true;
}

FavouritesListModel::tTreeLines FavouritesListModel::TreeLines(int row) const
{
    tTreeLines lines;
    if (!IsGroupedDisplay() || row < 0 || row >= RowCount())
        return lines;
    const int level = Level(row);
    for (int next = row + 1; next < RowCount(); ++next) {
        const int l = Level(next);
        if (l <= level) {
            lines.last = l < level;
            break;
        }
    }
    // Top-level headers are not joined: lines start at level 1.
    for (int k = 1; k < level; ++k) {
        for (int next = row + 1; next < RowCount(); ++next) {
            const int l = Level(next);
            if (l <= k) {
                if (l == k)
                    lines.passing.push_back(k);
                break;
            }
        }
    }
    return lines;
}

FavouritesListModel::tViewState FavouritesListModel::CaptureView(int topRow) const
{
    tViewState state;
    if (RowCount() == 0)
        return state;
    const DataItems top = RowItem(std::clamp(topRow, 0, RowCount() - 1));
    state.firstIsHeader = top.IsGroup();
    state.firstId = top.Id;
    if (IsGroupedDisplay()) {
        for (int record : m_rows) {
            if (m_records[size_t(record)].State == DataItems::CollapsedGroup)
                state.collapsed.insert(record);
        }
    }
    return state;
}

int FavouritesListModel::RestoreView(const tViewState &state)
{
    if (IsGroupedDisplay()) {
        for (int row = 0; row < RowCount(); ++row) {
            const int record = m_rows[size_t(row)];
            if (state.collapsed.count(record) && m_records[size_t(record)].State == DataItems::ExpandedGroup)
                ToggleGroup(row);
        }
    }
    if (state.firstId == -1)
        return -1;
    for (int row = 0; row < RowCount(); ++row) {
        const DataItems item = RowItem(row);
        if (item.IsGroup() == state.firstIsHeader && item.Id == state.firstId)
            return row;
    }
    return -1;
}

QString FavouritesListModel::CollapsedText(const std::set<int> &collapsed)
{
    QString text;
    for (int record : collapsed)
        text += QString::number(record) + u';';
    return text;
}

std::set<int> FavouritesListModel::ParseCollapsed(const QString &text)
{
    std::set<int> collapsed;
    const QStringList items = text.split(u';');
    // The last item follows the last ";": it was never closed.
    for (qsizetype i = 0; i + 1 < items.size(); ++i) {
        if (items[i].isEmpty())
            break;
        bool ok = false;
        const int record = items[i].toInt(&ok);
        if (ok && record >= 0)
            collapsed.insert(record);
    }
    return collapsed;
}

QString FavouritesListModel::HoverText(int row, const CTrayProjectStore &store, const TrayTexts &texts) const
{
    if (row < 0 || row >= RowCount() || IsHeader(row))
        return QString();
    DataItems item = RowItem(row);
    if (!m_grouped) {
        int rate = -1;
        if (!store.Store().GetHistoryEntry(item.Id, item.IdProject, item.IdActivite, rate))
            return QString();
    }
    QString text = texts.Text(TrayTexts::Project) + QStringLiteral(" : ")
        + store.GetProjectName(item.IdProject, texts) + u'\n' + texts.Text(TrayTexts::Activity)
        + QStringLiteral(" : ") + store.GetActivityName(item.IdActivite, texts);
    if (!item.Text.isEmpty())
        text += u'\n' + texts.Text(TrayTexts::Title) + QStringLiteral(" : ") + item.Text;
    return text + QStringLiteral("\n\n") + texts.Text(TrayTexts::ClickToResume);
}
