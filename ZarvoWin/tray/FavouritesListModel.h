#pragma once
#include "DataItems.h"

#include <QString>

#include <set>
#include <vector>

class CTrayProjectStore;
class TrayTexts;

// What the favourites and history lists show, without a window: the rows,
// their heights, the groups folded and unfolded, the tree lines, the text
// of the row under the mouse and the view kept across reloads and runs.
//
// The favourites list (grouped) keeps the records of the favourites loader
// in the order of the fully unfolded tree; each row shows one record, and a
// folded header hides the rows of its subtree. The history list shows one
// row per recent combination, its row number being the combination's index.
class FavouritesListModel
{
public:
    // The view kept across a reload: the top row (a header or an entry, by
    // its id) and the record positions of the folded headers.
    struct tViewState
    {
        bool firstIsHeader = true;
        int firstId = -1;
        std::set<int> collapsed;
        friend bool operator==(const tViewState &, const tViewState &) = default;
    };

    // The lines a grouped row draws on its left, by level: x = 16·level + 8.
    struct tTreeLines
    {
        // No later sibling: the row's own line stops at its middle.
        bool last = true;
        // Levels of ancestors with later siblings: their lines cross the row.
        std::vector<int> passing;
    };

    explicit FavouritesListModel(bool grouped = false);

    bool IsGrouped() const { return m_grouped; }
    // 0 by last use (flat), 1 grouped by projects, 2 by activities.
    void SetSortMode(int mode) { m_sortMode = mode; }
    int SortMode() const { return m_sortMode; }
    // Grouped list in a grouping order: headers, levels and tree lines.
    bool IsGroupedDisplay() const { return m_grouped && (m_sortMode == 1 || m_sortMode == 2); }

    // The favourites list: the loader's records, every group unfolded
    // (a folded state from the loader is unfolded too).
    void SetRecords(std::vector<DataItems> records);
    const std::vector<DataItems> &Records() const { return m_records; }
    // The history list: one row per recent combination.
    void SetHistoryCount(int count);

    int RowCount() const { return int(m_rows.size()); }
    // The record a row shows; for the history list an entry whose id is
    // the row's index. A row out of range gives an entry of id -1.
    DataItems RowItem(int row) const;
    bool IsHeader(int row) const;
    // What a click or Enter on the row starts: a favourite's id, a recent
    // combination's index; -1 for a header or no row.
    int StartId(int row) const;

    // Row heights for a font whose line is `lineHeight` pixels high: header
    // 22; grouped entries 22 or, with a title, 34; flat entries (project and
    // activity, and the title when there is one, on lines of their own) 34
    // or 48; each at least its lines of text and 4 pixels.
    void SetLineHeight(int lineHeight);
    int RowHeight(int row) const;
    int RowTop(int row) const;
    int TotalHeight() const;
    // The row at `y` from the top of the first row; -1 past the last row.
    int RowAt(int y) const;

    // Folds an unfolded header or unfolds a folded one (its nested folded
    // headers stay folded). False for an entry or a row out of range.
    bool ToggleGroup(int row);
    tTreeLines TreeLines(int row) const;

    // The view with row `topRow` at the top, and back; RestoreView folds
    // the headers whose record position it names and gives the row to put
    // at the top (-1: none known). Positions that name no header are
    // ignored.
    tViewState CaptureView(int topRow) const;
    int RestoreView(const tViewState &state);

    // "Collapsed" as written ("3;7;"), and read back: the integers before
    // each ";" up to the first empty item; anything else is skipped.
    static QString CollapsedText(const std::set<int> &collapsed);
    static std::set<int> ParseCollapsed(const QString &text);

    // The hover text of an entry: project, activity, the title when there
    // is one, then the hint that a click starts it. Empty for a header or
    // a row out of range.
    QString HoverText(int row, const CTrayProjectStore &store, const TrayTexts &texts) const;

private:
    bool m_grouped = false;
    int m_sortMode = 0;
    int m_lineHeight = 14;
    std::vector<DataItems> m_records;
    // Each row's record (grouped) or history index.
    std::vector<int> m_rows;
    // Where each row starts, kept with the rows; one more than the rows.
    std::vector<int> m_tops;

    int Level(int row) const;
    void Relayout();
};
