#pragma once
#include "tReportColumn.h"

#include <QString>
#include <QStringView>
#include <vector>

// The columns of a report, in their order, each shown or hidden. The set's
// type says which kinds it holds: 0 the time and cost columns (kinds 0 to
// 20, reports of kinds 0 to 2), 1 a cross table (no stored list: the build
// defines its columns), 2 the project-tracking columns (kinds 21 to 36,
// reports of kind 4). The default flag marks a list that is still the
// untouched default one; such a list is not stored with the report.
//
// Stored as one text: each column's own text (tReportColumn::Format)
// followed by "|".
class CReportColumnSet
{
public:
    static constexpr int TimeColumns = 0;
    static constexpr int CrossTable = 1;
    static constexpr int TrackingColumns = 2;

    // Type 0, marked default. With `all`, every keyed kind 0 to 36 in
    // order, hidden, carrying the catalogue's caption and alignment
    // overrides (the set the general column command edits); otherwise the
    // hidden kinds of the type's range.
    explicit CReportColumnSet(bool all = false);

    // The type a report of kind `reportKind` uses.
    static int TypeForReportKind(int reportKind);
    // Whether a set of type `type` holds column kind `kind`.
    static bool InRange(int type, int kind);

    int Type() const { return m_type; }
    void SetType(int type) { m_type = type; }
    bool IsDefault() const { return m_default; }
    void SetDefault(bool isDefault) { m_default = isDefault; }

    int Count() const { return int(m_columns.size()); }
    tReportColumn &operator[](int i) { return m_columns[size_t(i)]; }
    const tReportColumn &operator[](int i) const { return m_columns[size_t(i)]; }
    const std::vector<tReportColumn> &Columns() const { return m_columns; }
    void Append(const tReportColumn &column) { m_columns.push_back(column); }
    void Clear() { m_columns.clear(); }
    // The index of the first column of `kind`; -1 when none.
    int IndexOfKind(int kind) const;

    // Makes the catalogue's overrides of each column's kind its own caption
    // (without fallback) and alignment.
    void ApplyToCatalogue() const;
    // Every kind of the type's range in order, hidden, with no caption,
    // alignment -1 and width -1 (a cross table gets no column).
    void FillDefault();
    // Types 0 and 2: appends, in kind order, a hidden column for each kind
    // of the range that the list lacks.
    void AddMissingKinds();
    // Shows the first hidden column of `kind`; nothing when there is none.
    void ShowKind(int kind);

    int CountShown() const;
    // The first shown column at or after `position`, which is left on it;
    // null (position at the end) when there is none.
    const tReportColumn *NextShown(int &position) const;

    // Exchanges two columns; false when they are the same or either is out
    // of range. Clears the default flag.
    bool Swap(int a, int b);
    // Moves the column at `source` just before (`before`) or just after the
    // column at `target`; false when either is out of range, they are the
    // same, or the move would change nothing. Clears the default flag.
    bool Move(int target, int source, bool before);

    void Assign(const CReportColumnSet &other) { *this = other; }
    // True when the counts differ or a column differs in kind, caption,
    // alignment or shown flag (widths are not compared).
    bool Differs(const CReportColumnSet &other) const;

    // The stored text: every column's text followed by "|".
    QString Format() const;
    // Reads a stored text. An empty one gives the default list; otherwise
    // every column that reads (closed by "|", of the set's range, its kind
    // not yet listed) is kept in order and the missing kinds follow hidden.
    // The default flag is cleared either way.
    void Parse(QStringView text);

private:
    int m_type = TimeColumns;
    bool m_default = true;
    std::vector<tReportColumn> m_columns;
};
