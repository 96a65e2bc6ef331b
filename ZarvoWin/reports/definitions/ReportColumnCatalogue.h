#pragma once
#include <QString>
#include <QStringView>

namespace Platform {
class Settings;
}

// The catalogue of report columns: every column a report grid or export can
// show is one of 37 kinds (0 to 36), each with a fixed key (the names of
// ReportFieldKeys.h in datastore/settings/, used in stored column lists), a
// caption and a description among the interface texts and a default
// alignment. Kinds 37 and 38 have no key: the line-label and the value
// columns of a cross table.
//
// The user may override the caption and the alignment of each keyed kind
// once for all reports; the overrides live in the settings section
// "Colonnes" (one subsection per key, values "Name" and "Align"). They are
// process-wide and belong to the interface thread.

// Alignment codes of report columns: 0 left, 1 right, 2 centred, -1 the
// default of the column's kind.
inline constexpr int ColumnAlignLeft = 0;
inline constexpr int ColumnAlignRight = 1;
inline constexpr int ColumnAlignCentre = 2;
inline constexpr int ColumnAlignDefault = -1;

inline constexpr int ReportColumnKindCount = 37; // the keyed kinds 0 to 36
inline constexpr int CrossTabLabelKind = 37;
inline constexpr int CrossTabValueKind = 38;

// The key of a kind; empty for kinds without one.
QString GetReportColumnKey(int kind);
// The kind of a key (matched exactly, letter case included); -1 for none.
int FindReportColumnKind(QStringView key);

// The caption and the description in the interface language; empty for
// kinds without one.
QString GetReportColumnCaption(int kind);
QString GetReportColumnDescription(int kind);
// The catalogue's alignment of a kind (left for the cross table's label
// column, right for its values; left for an unknown kind).
int GetReportColumnDefaultAlign(int kind);

// The user's overrides (empty caption, alignment -1: none). Kinds without
// a key have none; setting them does nothing.
QString GetReportColumnCaptionOverride(int kind);
int GetReportColumnAlignOverride(int kind);
void SetReportColumnOverride(int kind, const QString &caption, int align);

// Reads (load) or writes the overrides of every keyed kind from or to the
// settings section "Colonnes"; the second form works on a given store.
void PersistReportColumnSettings(bool load);
void PersistReportColumnSettings(bool load, Platform::Settings &settings);
// One kind's "Name" and "Align".
void PersistReportColumn(bool load, int kind, Platform::Settings &settings);
