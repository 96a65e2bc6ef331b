#pragma once
#include <QString>

// What the project pane keeps of its tree for each user: which top branches
// are open, the first visible and the selected item (each by its kind and
// its item data), and the collapsed projects. It reads and writes the three
// per-user values "Projects Root", "Projects Pos" and "Projects Collapsed";
// a field that is missing or not a number keeps its default.
struct tProjectTreeState
{
    bool projectsExpanded = true;
    bool activitiesExpanded = true;
    bool ratesExpanded = true;
    // Kinds are the pane's item kinds (0 none).
    int firstVisibleKind = 0;
    int firstVisibleData = 0;
    int firstVisibleThird = -1; // written as 0
    int selectedKind = 0;
    int selectedData = 0;
    int selectedIndex = -1; // among the visible items, -1 when not visible
    // The ids of the collapsed projects: "12,57,3".
    QString collapsedProjects;

    // The state the three stored values give, defaults first.
    static tProjectTreeState Read(const QString &root, const QString &pos, const QString &collapsed);
    QString RootText() const;
    QString PosText() const;
    // The collapsed projects in the project store's key form (";12;57;3;").
    QString CollapsedKeys() const;
};

namespace TreeStateText {
// The number at the start of `field` (blanks, a sign, digits), or
// `fallback` when the field holds none.
int FieldOr(QStringView field, int fallback);
} // namespace TreeStateText
