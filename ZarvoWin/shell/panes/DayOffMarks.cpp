#include "DayOffMarks.h"

#include "CDayOff.h"

bool DayOffMarks::IsDayOff(const QDate &day) const
{
    return m_days->IsDayOff(day);
}

void DayOffMarks::SetRange(const QDate &first, const QDate &last, bool follow)
{
    m_days->SetRange(first, last, follow);
}
