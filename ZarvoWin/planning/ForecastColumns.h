#pragma once
#include "tColVisible.h"

#include <QString>
#include <Qt>
#include <vector>

// The columns of the project-tracking grid, by id: 0 the name, 1 the
// alert icons, 2 priority, 3 status, 4 planned start, 5 fixed end, 6 alert
// date, 7 forecast start, 8 forecast end, 9 planned work, 10 expected work,
// 11 done work, 12 remaining work, 13 progress, 14 progress against the
// plan, 15 task count, 16 notes. Their captions, descriptions, default
// widths and alignments, and the column layout as the settings keep it:
// "Columns" of items "<1 shown, else hidden>:<id>|" in display order, and
// one width a column.
class ForecastColumns
{
public:
    static constexpr int Count = 17;
    static constexpr int NameColumn = 0;
    // With fewer listed columns than this, the missing ids from 2 on are
    // appended hidden.
    static constexpr int MinimumListed = 14;

    static bool IsValidId(int id) { return id >= 0 && id < Count; }
    // The caption (with `caption`) or the description of a column; empty
    // for the name column's description and for an id outside 0..16.
    static QString Caption(bool caption, int id);
    static int DefaultWidth(int id);
    static Qt::Alignment Alignment(int id);

    // The items of a layout text, in order: text after the last "|" is
    // ignored, an item starting with "1:" is shown, and its id is read
    // after its first two characters. Ids outside 1..16, and an id met
    // again, are skipped (the name column is never listed; a column is
    // never shown twice).
    static std::vector<tColVisible> ParseItems(const QString &text);
    // The column list of a stored "Columns" value: the default layout when
    // the value is empty (after trimming), its items, and the ids from 2 to
    // 16 it lacks appended hidden when it lists fewer than 14.
    static std::vector<tColVisible> FromSetting(const QString &value);
    // The "Columns" value of a list.
    static QString ToSetting(const std::vector<tColVisible> &columns);
    // The ids shown: the name column, then the shown ids of the list.
    static std::vector<int> Displayed(const std::vector<tColVisible> &columns);
    // Moves column `dragged` just before (or after) `target` in the list;
    // false when either is the name column, is not listed, or nothing moves.
    static bool Move(std::vector<tColVisible> &columns, int dragged, int target, bool after);

    // The stored width of a column; its default when none is stored or the
    // stored one is negative or not a number.
    static int ReadWidth(int id);
    static void WriteWidth(int id, int width);
    static QString ReadLayout();
    static void WriteLayout(const std::vector<tColVisible> &columns);
};
