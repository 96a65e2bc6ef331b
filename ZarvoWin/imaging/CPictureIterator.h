#pragma once
#include <cstdint>

class CPicture;

// Walks the rows of a picture: starts at the top or the bottom row, moves to
// a row and copies a row in.
class CPictureIterator
{
public:
    explicit CPictureIterator(CPicture *picture = nullptr);

    void Upset();      // to the top row
    void Reset();      // to the bottom row
    bool ItOK() const;
    bool SetY(long y); // to row y (0 the bottom row)
    long GetY() const { return m_y; }
    bool NextRow();
    bool PrevRow();
    uint8_t *GetRow() const;
    // Copies at most one row length of bytes into the current row.
    void SetRow(const uint8_t *buffer, long n);

private:
    CPicture *m_picture;
    long m_y = 0;
};
