#pragma once
#include "SyncItem.h"

#include <QString>

#include <optional>
#include <vector>

// The rows of the review of a device synchronisation: one group row per
// kind of element that differs, followed by one row per differing element,
// each with its decision (a SyncItem). The comparison fills it, the review
// shows it and lets the user change the decisions, the merge reads them.
//
// No window and no lock: one thread fills it (the comparison's worker) and
// hands it over whole; afterwards only the interface thread and the merge
// use it, one after the other.
class SyncReviewList
{
public:
    // Pictures of the review's 20-pixel strip.
    enum Image {
        ElementImage = 4,      // an element row
        LastElementImage = 5,  // the last element row of its group
        ChosenActionImage = 6, // + action: the chosen action
        DeletedSideImage = 7,  // marks a side whose row is deleted
        OtherActionImage = 9,  // + action: an action not chosen
    };

    // One side (device or local) of an element row. A side without a row
    // has no texts at all (`present` false); a side with a row may still
    // have an empty name or date.
    struct Side
    {
        bool present = false;
        QString name;
        QString modified; // the row's change stamp as a local date and time

        static Side Missing() { return Side(); }
        static Side Of(const QString &name, const QString &modified) { return Side{true, name, modified}; }
    };

    struct Row
    {
        int kind = 0;          // table code (CBdD::TableCode)
        bool isGroup = false;
        int image = ElementImage; // a group's picture (0..3) or 4, 5
        // Every element row has one; of the group rows only the project
        // order's (kind 9), which is itself the decision for that table.
        std::optional<SyncItem> item;
        Side device;
        Side local;
    };

    // The caption (text number) and picture of a kind's group row; 0 and -1
    // for a code that names no synchronised table.
    static int GroupTextId(int kind);
    static int GroupImage(int kind);

    // Appends the group row of a kind; its index, or -1 for a code that
    // names no synchronised table. The project order's group row carries its
    // fixed decision: kind 9, device row 0, no local row, take the local
    // order.
    int AddGroupRow(int kind);
    // Appends an element row (picture 4) with its decision and both sides;
    // its index.
    int AddItemRow(const SyncItem &item, const Side &device, const Side &local);
    // Sets the picture of a row (nothing for an index out of range).
    void SetImage(int row, int image);
    void Clear() { m_rows.clear(); }

    int Count() const { return static_cast<int>(m_rows.size()); }
    bool IsEmpty() const { return m_rows.empty(); }
    const Row &At(int row) const { return m_rows.at(static_cast<size_t>(row)); }
    // The decision of a row; null for a row without one or out of range.
    SyncItem *Item(int row);
    const SyncItem *Item(int row) const;

    std::vector<Row>::const_iterator begin() const { return m_rows.begin(); }
    std::vector<Row>::const_iterator end() const { return m_rows.end(); }

private:
    std::vector<Row> m_rows;
};
