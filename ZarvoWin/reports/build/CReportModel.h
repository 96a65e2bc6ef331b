#pragma once
#include "CReportCells.h"
#include "CReportColumnSet.h"
#include "CReportFitRows.h"
#include "CReportLineSink.h"
#include "CReportRowTree.h"
#include "LocalDayCache.h"
#include "tReportLabels.h"
#include "tReportSnapshot.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class CConfiguration;
class CProjectStore;
struct tReportDefinition;

// What a report window shows, without the window: the tree of group rows
// with their totals and, below them, the entries (a grouped report), the
// group rows with one duration per column value (a cross table), or the
// project tree (project tracking); the list columns with their set index,
// alignment, width and caption; the rows shown; the checks; the cell texts
// and the export rows.
//
// A build (see BuildReportData) runs ResetForRefresh, hands the lines over
// as a CReportLineSink, then ShowRows. Unless a full reset is asked for, a
// build keeps the group rows that still receive entries with their
// expanded state, and the entries that were checked come back checked.
//
// The model belongs to one thread at a time: the worker while it builds
// (no window holds it then), the interface thread otherwise.
class CReportModel : public CReportLineSink
{
public:
    // A list column: where it stands in the report's column set, its kind,
    // alignment (0 left, 1 right, 2 centred), width in pixels and caption.
    struct tListColumn
    {
        int SetIndex = -1;
        int Kind = 0;
        int Align = 0;
        int Width = 100;
        QString Caption;
    };

    CReportModel();
    ~CReportModel() override;

    // The model's own copy of the report's definition, read by every
    // operation below (a default one until it is set).
    void SetDefinition(const tReportDefinition &definition);
    const tReportDefinition &Definition() const;
    // The settings used for texts (the application's when null).
    void SetConfiguration(const CConfiguration *configuration) { m_configuration = configuration; }
    // The projects, activities and rates the build saw.
    void SetSnapshot(std::shared_ptr<const tReportSnapshot> snapshot);
    const tReportSnapshot &Snapshot() const;
    // The live store the project-tracking cells read (interface thread).
    void SetProjectStore(const CProjectStore *store) { m_store = store; }
    // Reads the labels of the interface language again.
    void ReloadLabels();
    const tReportLabels &Labels() const { return m_labels; }

    // The next build starts from an empty tree.
    void SetFullReset(bool fullReset) { m_fullReset = fullReset; }
    bool FullReset() const { return m_fullReset; }
    void SetShowCheckBoxes(bool show) { m_showCheckBoxes = show; }
    bool ShowCheckBoxes() const { return m_showCheckBoxes; }

    CReportRowTree &Tree() { return m_tree; }
    const CReportRowTree &Tree() const { return m_tree; }
    CTreeItem *TotalRow() const { return m_tree.FirstRoot(); }

    // --- Building --------------------------------------------------------
    void ResetForRefresh();
    void BuildColumns() override;
    void DefineCrossTabColumns(const std::vector<tCrossTabColumn> &columns) override;
    void SetTotalRow(const QString &label, bool grouped) override;
    void AddEntryLine(const tReportEntry &entry) override;
    void AddCrossTabLine(const tReportEntry &entry, int column) override;
    // Project tracking: the columns, the root row, and one row per node of
    // the snapshot's project tree that the definition selects.
    void AddForecastRows();
    // Rebuilds the visible rows from the total row, dropping the rows no
    // build kept.
    void ShowRows();
    // Recomputes the checks of rows with children (with check boxes only).
    void UpdateCheckStates();

    // --- Commands --------------------------------------------------------
    void ExpandAll();
    void CollapseAll();
    // Every group visible, no entry row.
    void ShowGroupsOnly();
    void SetFirstRowLabel(const QString &label);

    // --- Reading ---------------------------------------------------------
    // The entry of a visible row; null for any other row.
    const tReportEntry *GetSelectedEntry(int row) const;
    // The ids of the checked entries: ",1,5," or, with parentheses,
    // "(1,5)"; empty when none is checked.
    QString GetCheckedEntryIds(bool parentheses) const;
    // The entries to mark invoiced (checked, not invoiced) and not invoiced
    // (unchecked, invoiced), each "(1,5)" or empty. Without check boxes
    // nothing was chosen: both are empty.
    void GetBillingLists(QString &billing, QString &unbilling) const;

    const std::vector<tListColumn> &Columns() const { return m_columns; }
    int ColumnCount() const { return int(m_columns.size()); }
    QStringList GetColumnCaptions() const;
    // Reads captions, alignments and widths from the column set again
    // (after a change of language or of the columns).
    void RelabelColumns();
    // The set the list columns come from: the definition's, or the cross
    // table's own.
    const CReportColumnSet &ColumnSet() const;

    QString GetCellText(int column, const CTreeItem *row, bool keepLineBreaks, bool cut) const;
    // False when the column is outside the list.
    bool GetCellValue(int column, const CTreeItem *row, tReportCellValue &value) const;
    // The image of a row (-1 for none) and of its check box.
    int GetRowImage(const CTreeItem *row) const;
    static int GetCheckImage(const CTreeItem *row);

    // Export rows: mode 2 the entry rows only, any other mode every row
    // (the total row first), mode 0 leaving out what collapsed rows hide.
    // Each fills `cells` with one text per list column; false past the
    // last row.
    bool FirstExportRow(int mode, QStringList &cells);
    bool NextExportRow(int mode, QStringList &cells);
    // The same walk giving the rows alone (null past the last one), for an
    // export that reads its cells one by one.
    const CTreeItem *FirstExportItem(int mode);
    const CTreeItem *NextExportItem(int mode);
    // The row the last of these walks gave; null past the last one.
    const CTreeItem *ExportRow() const { return m_exportCursor; }
    // For each list column from `first` to `last`, the rows whose texts
    // can be the widest (see CReportFitRows): those the last build told,
    // or, once rows have left the tree since, those a walk finds.
    std::vector<std::vector<const CTreeItem *>> FitRows(int first, int last) const;

    // One cell as paper and the exports write it: the screen's text, and
    // where the screen draws a picture in its place (the invoiced flag of
    // an entry) the words "Oui" or "Non".
    QString GetWrittenText(int column, const CTreeItem *row, bool keepLineBreaks, bool cut) const;
    // One cell of an export row as the text exports write it: the written
    // text, cut and without line breaks.
    QString GetExportText(int column, const CTreeItem *row) const;
    // Whether the cell holds the row's name rather than a value of its
    // column: the first column of a group, total or text row shows the
    // row's label whatever kind the column is.
    static bool IsRowLabel(int column, const CTreeItem *row);

private:
    const CConfiguration &Configuration() const;
    CReportCells Cells() const;
    QString CrossCaption(int setIndex) const;
    void PrepareRefresh();
    void Sweep(CTreeItem *item, bool shown);
    const QString &DateKey(int levelKind, qint64 t);
    const std::vector<int> &ProjectChain(int projectId);
    int Preorder(int projectId) const;
    // Goes down the levels from the total row for an entry, adding its
    // duration (and cost, or to the cross table's column) to each group
    // met or made. The deepest group, or the total row.
    CTreeItem *Descend(const tReportEntry &entry, qint64 seconds, double cost, int column);
    // The row a refresh kept for this piece of an entry under `parent`
    // (the same entry and start), if any.
    static CTreeItem *KeptEntryRow(CTreeItem *parent, const tReportEntry &entry);
    // `number` finds the row (tGroupKey): the id of a project or activity,
    // the digits of a date key.
    CTreeItem *Group(CTreeItem *parent, int levelKind, int levelIndex, const QString &key, qint64 number,
                     qint64 seconds, double cost, int column, bool treeOrder);
    void AddToGroup(CTreeItem *row, qint64 seconds, double cost, int column) const;
    void AddForecastNode(CTreeItem *row, int nodeIndex);
    void ExportCells(const CTreeItem *row, QStringList &cells) const;
    bool ExportSkips(int mode, const CTreeItem *row) const;

    std::unique_ptr<tReportDefinition> m_definition;
    const CConfiguration *m_configuration = nullptr;
    const CProjectStore *m_store = nullptr;
    std::shared_ptr<const tReportSnapshot> m_snapshot;
    tReportLabels m_labels;
    CReportRowTree m_tree;
    CReportColumnSet m_crossColumns;
    std::vector<tListColumn> m_columns;
    // The entries checked before a refresh: they come back checked.
    QSet<int> m_checked;
    bool m_fullReset = false;
    bool m_showCheckBoxes = false;
    // What a build looks up for every entry.
    LocalDayCache m_days;
    QDate m_keyDate;
    QString m_keys[3];
    qint64 m_keyNumbers[3] = {0, 0, 0};
    QHash<int, std::vector<int>> m_chains;
    std::vector<int> m_levels;
    CTreeItem *m_exportCursor = nullptr;
    // The rows the build tells for fitting the columns, and whether they
    // stand for the tree: a build has ended (ShowRows) and no row has left
    // the tree since.
    CReportFitRows m_fitRows;
    bool m_building = false;
    bool m_fitValid = false;
    quint64 m_fitGeneration = 0;
};
