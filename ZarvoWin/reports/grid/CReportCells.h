#pragma once
#include <QString>
#include <QtGlobal>

class CConfiguration;
class CProject;
class CProjectStore;
class tReportItem;
struct tReportLabels;
struct tReportSnapshot;

// A cell as the spreadsheet exports take it: its export text, its number
// where it has one, and a kind code: the column's kind, or 37 where the
// cell holds nothing.
struct tReportCellValue
{
    QString Text;
    double Value = 0.0;
    int Kind = 37;
};

// Turns one cell of a report into the text the screen, the print layout
// and the text exports show (CellText), or into the typed value of the
// spreadsheet exports (CellValue). A cell is found by the row's item (its
// kind: 1 text, 2 group, 3 entry, 4 cross-table group, 5 project-tracking
// node), the column's place in the list and the column's kind (0 to 36,
// 37 and 38 for a cross table's label and value columns).
//
// Dates, durations, amounts and shares follow the user's settings; names
// come from the snapshot the report was built with, the project-tracking
// figures from the live project store (read on the interface thread; none
// gives empty cells). The formatter keeps references: the settings, the
// snapshot and the labels must outlive it.
class CReportCells
{
public:
    static constexpr int MaxCellText = 252;

    CReportCells(const CConfiguration &configuration, const tReportSnapshot &snapshot,
                 const tReportLabels &labels, const CProjectStore *store);

    // `total` is the report's total row (its first root row), for the
    // shares; may be null. Without keepLineBreaks every CR and LF goes;
    // with cut a text longer than 252 characters keeps its first 252
    // followed by "...".
    QString CellText(int column, int kind, const tReportItem &row, const tReportItem *total,
                     bool keepLineBreaks, bool cut) const;
    // Durations as "h:mm" and times of day as "hh:mm"; otherwise the
    // screen's texts, uncut, line breaks kept.
    tReportCellValue CellValue(int column, int kind, const tReportItem &row, const tReportItem *total) const;

    // The name of a group row: month and day keys as dates, project and
    // activity ids as names, anything else its key text.
    QString GroupName(int levelKind, const QString &key, int keyId) const;

    // The date of an instant as report cells write it. The cells ask for
    // four flags (long when the settings say so, with the time of day, the
    // time's format, always long); the settings' formatter has three: the
    // third flag (the format of a time) is the locale's own here, so it
    // changes nothing.
    static QString FormatDate(const CConfiguration &configuration, qint64 t, bool asLong, bool withTime,
                              bool timeFormat, bool forceLong);

private:
    struct tRaw
    {
        QString text;
        double value = 0.0;
        bool hasValue = false;
    };
    tRaw Raw(int column, int kind, const tReportItem &row, const tReportItem *total, bool exportForm) const;
    tRaw EntryCell(int column, int kind, const tReportItem &row, const tReportItem *total, bool exportForm) const;
    tRaw GroupCell(int column, int kind, const tReportItem &row, const tReportItem *total, bool exportForm) const;
    tRaw ForecastCell(int column, int kind, const tReportItem &row, bool exportForm) const;
    QString Duration(qint64 seconds, bool exportForm) const;
    QString NodeStatus(const CProject &node) const;

    const CConfiguration &m_config;
    const tReportSnapshot &m_snapshot;
    const tReportLabels &m_labels;
    const CProjectStore *m_store;
};
