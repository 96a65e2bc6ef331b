#include "CPictureRowCursor.h"

#include "CPicture.h"

#include <algorithm>
#include <cstring>

CPictureRowCursor::CPictureRowCursor(CPicture *picture)
    : m_picture(picture)
{
}

void CPictureRowCursor::ToTopRow()
{
    m_row = m_picture ? long(m_picture->GetHeight()) - 1 : 0;
}

void CPictureRowCursor::ToBottomRow()
{
    m_row = 0;
}

bool CPictureRowCursor::IsOnRow() const
{
    return m_picture && m_picture->IsValid() && m_row >= 0 && m_row < long(m_picture->GetHeight());
}

bool CPictureRowCursor::MoveToRow(long row)
{
    if (!m_picture || row < 0 || row >= long(m_picture->GetHeight()))
        return false;
    m_row = row;
    return true;
}

bool CPictureRowCursor::MoveUp()
{
    if (!m_picture || m_row + 1 >= long(m_picture->GetHeight()))
        return false;
    m_row++;
    return true;
}

bool CPictureRowCursor::MoveDown()
{
    if (m_row <= 0)
        return false;
    m_row--;
    return true;
}

uint8_t *CPictureRowCursor::GetRowPointer() const
{
    if (!IsOnRow())
        return nullptr;
    return m_picture->GetRowPointer(uint32_t(m_row));
}

void CPictureRowCursor::CopyIntoRow(const uint8_t *buffer, long n)
{
    uint8_t *row = GetRowPointer();
    if (!row || !buffer || n <= 0)
        return;
    std::memcpy(row, buffer, std::min<size_t>(size_t(n), m_picture->GetRowLength()));
}
