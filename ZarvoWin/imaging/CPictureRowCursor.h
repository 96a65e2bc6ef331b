#pragma once
#include <cstdint>

class CPicture;

// A position on the rows of a picture (row 0 is the bottom row): it starts
// at the top or the bottom row, moves up, down or to a given row, and copies
// a row of bytes in.
class CPictureRowCursor
{
public:
    explicit CPictureRowCursor(CPicture *picture = nullptr);

    void ToTopRow();
    void ToBottomRow();
    // The picture has pixels and the cursor stands on one of its rows.
    bool IsOnRow() const;
    bool MoveToRow(long row);
    long GetRowIndex() const { return m_row; }
    // One row up (towards the top of the picture); false on the top row.
    bool MoveUp();
    // One row down; false on the bottom row.
    bool MoveDown();
    uint8_t *GetRowPointer() const;
    // Copies at most one row length of bytes into the current row.
    void CopyIntoRow(const uint8_t *buffer, long n);

private:
    CPicture *m_picture;
    long m_row = 0;
};
