#pragma once
#include <QString>

// One line of the tray's favourites, as its menu and its list show them: a
// favourite, or the header of a group of favourites (a project or an
// activity). Made by CTrayDatabase::FillFavourites, owned by whoever shows
// them; no window is needed to make or read them.
struct DataItems
{
    // The states of a line.
    enum : int { ExpandedGroup = 0, CollapsedGroup = 1, Entry = 2 };

    int State = Entry;
    // A favourite's title (may be empty); a header's project or activity
    // name.
    QString Text;
    // A favourite's project and activity; -1 for a header.
    int IdProject = -1;
    int IdActivite = -1;
    // Indentation depth, 0 for top-level lines.
    int Level = 0;
    // A favourite's id; a header's project or activity id (-1 for the group
    // of favourites without a named activity).
    int Id = -1;

    bool IsGroup() const { return State != Entry; }

    friend bool operator==(const DataItems &, const DataItems &) = default;
};
