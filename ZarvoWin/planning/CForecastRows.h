#pragma once
#include <QRect>

class CProject;

// The rows of the project-tracking grid as the chart beside it reads them:
// which rows are shown, how high they are, where each one lies and which
// node it shows, and the selection. Rectangles are in the grid's
// coordinates, so a row lies at the same height in both windows when they
// stand side by side with their tops aligned.
class CForecastRows
{
public:
    virtual ~CForecastRows() = default;

    virtual int RowCount() const = 0;
    virtual int FirstVisibleRow() const = 0;
    // The rows that fit whole in the grid's row area.
    virtual int RowsPerPage() const = 0;
    virtual int RowHeight() const = 0;
    // The header above the rows.
    virtual int HeaderHeight() const = 0;
    // The node a row shows: the store's root for the total row (row 0);
    // null for a row that does not exist.
    virtual CProject *RowNode(int row) const = 0;
    virtual bool IsTotalRow(int row) const = 0;
    virtual QRect RowRectangle(int row) const = 0;
    // -1 for none.
    virtual int SelectedRow() const = 0;
    // Selects a row of the grid; -1 clears the selection.
    virtual void SelectRow(int row) = 0;
};
