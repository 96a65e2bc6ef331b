#include "ReportViewCommands.h"

#include <algorithm>

namespace ReportViewCommands {

bool HasCheckBoxes(int kind, bool detail)
{
    return kind >= 0 && kind <= 2 && detail;
}

bool UsesProjectColumnOptions(int kind, int grpCol)
{
    return kind == 3 && grpCol == 3;
}

bool IsEnabled(int command, const tState &s)
{
    const bool data = !s.PrintLayoutShown;
    switch (command) {
    case Export:
        return data && s.HasLines;
    case Print:
        // In either mode: from the data the print lays its pages out.
        return s.HasLines;
    case Bill:
    case MenuBill:
    case DeleteChecked:
    case ChangeChecked:
        return data && HasCheckBoxes(s.Kind, s.Detail) && s.HasLines;
    case Columns:
    case MenuColumns:
        if (!data || !s.HasLines)
            return false;
        if (UsesProjectColumnOptions(s.Kind, s.GrpCol))
            return true;
        return s.Kind != 3 && s.ColumnChooser;
    case FitColumns:
        return data && s.HasLines;
    case Collapse:
    case Expand:
    case GroupsOnly:
        return s.HasLines;
    case EditEntry:
    case ShowInCalendar:
        return data && s.EntrySelected;
    case DataMode:
    case PrintLayout:
        return s.PrintLayoutAvailable;
    case EditSettings:
        return s.SettingsEditor;
    case Refresh:
    case Save:
    case SaveAs:
        return true;
    default:
        return false;
    }
}

std::vector<int> ContextMenuItems(int kind, bool detail, int grpCol)
{
    std::vector<int> items{MenuColumns, FitColumns, Separator, EditEntry, ShowInCalendar, Separator,
                           CheckedEntriesMenu};
    if (HasCheckBoxes(kind, detail))
        return items;
    const auto drop = [&items](int item) { items.erase(std::remove(items.begin(), items.end(), item), items.end()); };
    if (kind == 3 && grpCol != 3)
        drop(MenuColumns);
    drop(EditEntry);
    drop(ShowInCalendar);
    drop(CheckedEntriesMenu);
    drop(Separator);
    return items;
}

std::vector<int> CheckedEntriesMenuItems()
{
    return {MenuBill, DeleteChecked, ChangeChecked};
}

} // namespace ReportViewCommands
