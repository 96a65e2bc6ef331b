#pragma once
#include "tReportEntry.h"

#include <QString>
#include <vector>

// Where a report's extraction hands its lines: the report model, or a
// test's recorder. Calls come in this order: the columns (BuildColumns, or
// DefineCrossTabColumns for a cross table), the total row, then one line
// per entry in ascending start.
class CReportLineSink
{
public:
    // One column of a cross table: its kind (37 the line label, 38 a value
    // column) and its stored value (the column grouping's value; empty for
    // the label and the total columns).
    struct tCrossTabColumn
    {
        int Kind = 38;
        QString Value;
    };

    virtual ~CReportLineSink() = default;
    // The columns of the report's own column set.
    virtual void BuildColumns() = 0;
    // The columns of a cross table: the label column, one per value of the
    // column grouping, and the total column last.
    virtual void DefineCrossTabColumns(const std::vector<tCrossTabColumn> &columns) = 0;
    // The total row, labelled `label`: a group row for a grouped report,
    // one sum per value column for a cross table.
    virtual void SetTotalRow(const QString &label, bool grouped) = 0;
    virtual void AddEntryLine(const tReportEntry &entry) = 0;
    // `column` is 1 for the first value column.
    virtual void AddCrossTabLine(const tReportEntry &entry, int column) = 0;
};
