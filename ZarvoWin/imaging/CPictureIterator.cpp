#include "CPictureIterator.h"

#include "CPicture.h"

#include <algorithm>
#include <cstring>

CPictureIterator::CPictureIterator(CPicture *picture)
    : m_picture(picture)
{
}

void CPictureIterator::Upset()
{
    m_y = m_picture ? long(m_picture->GetHeight()) - 1 : 0;
}

void CPictureIterator::Reset()
{
    m_y = 0;
}

bool CPictureIterator::ItOK() const
{
    return m_picture && m_picture->IsValid() && m_y >= 0 && m_y < long(m_picture->GetHeight());
}

bool CPictureIterator::SetY(long y)
{
    if (!m_picture || y < 0 || y >= long(m_picture->GetHeight()))
        return false;
    m_y = y;
    return true;
}

bool CPictureIterator::NextRow()
{
    if (!m_picture || m_y + 1 >= long(m_picture->GetHeight()))
        return false;
    m_y++;
    return true;
}

bool CPictureIterator::PrevRow()
{
    if (m_y <= 0)
        return false;
    m_y--;
    return true;
}

uint8_t *CPictureIterator::GetRow() const
{
    if (!ItOK())
        return nullptr;
    return m_picture->GetBits(uint32_t(m_y));
}

void CPictureIterator::SetRow(const uint8_t *buffer, long n)
{
    uint8_t *row = GetRow();
    if (!row || !buffer || n <= 0)
        return;
    std::memcpy(row, buffer, std::min<size_t>(size_t(n), m_picture->GetEffWidth()));
}
