#pragma once
#include "TreeLines.h"

// The rows a tree grid shows (CTreeGridCtrl): their number in display
// order and each row's place in its tree. What a row holds and how its
// cells look belongs to the grid that derives from CTreeGridCtrl.
class CTreeGridRows
{
public:
    virtual ~CTreeGridRows() = default;
    virtual int RowCount() const = 0;
    // The row's depth, children and siblings, for its lines and box; only
    // asked for rows from 0 to RowCount() - 1.
    virtual tTreeRowShape RowShape(int row) const = 0;
};
