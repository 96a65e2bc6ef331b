#pragma once
#include <vector>

// Which commands of a report window are available, and what its context
// menu holds, as plain functions of the report's state.
namespace ReportViewCommands {

enum : int {
    EditSettings = 32803,
    Refresh = 32815,
    Export = 32818,
    Collapse = 32819,
    Expand = 32820,
    DataMode = 32821,
    PrintLayout = 32827,
    Save = 32832,
    GroupsOnly = 32867,
    SaveAs = 32875,
    Bill = 32954,
    MenuColumns = 32972,
    FitColumns = 32973,
    EditEntry = 32974,
    ShowInCalendar = 32975,
    Columns = 32995,
    MenuBill = 33013,
    DeleteChecked = 33014,
    ChangeChecked = 33015,
    Print = 57607,
};

// The context menu's sub-menu of the checked entries, and its separators.
constexpr int CheckedEntriesMenu = -1;
constexpr int Separator = 0;

struct tState
{
    bool PrintLayoutShown = false;
    int Kind = 0;       // the report's kind (0 to 4)
    bool Detail = true; // the report's detail flag
    int GrpCol = 0;     // the column grouping of a cross table
    bool HasLines = false;
    bool EntrySelected = false;
    // What other windows bring: the column chooser, the print layout and
    // the editor of the report's settings.
    bool ColumnChooser = false;
    bool PrintLayoutAvailable = false;
    bool SettingsEditor = false;
};

// Entry rows with check boxes: detail reports of kinds 0 to 2, where the
// checked entries can be billed, deleted and changed.
bool HasCheckBoxes(int kind, bool detail);
// The project column's options take the place of the column chooser in a
// cross table grouped by project.
bool UsesProjectColumnOptions(int kind, int grpCol);
bool IsEnabled(int command, const tState &state);

// The items of the context menu in order: command ids, Separator, and
// CheckedEntriesMenu for the sub-menu; trimmed for the report's kind.
std::vector<int> ContextMenuItems(int kind, bool detail, int grpCol);
// The commands of the sub-menu.
std::vector<int> CheckedEntriesMenuItems();

} // namespace ReportViewCommands
