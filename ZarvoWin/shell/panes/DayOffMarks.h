#pragma once
#include "CMarkedDays.h"

class CDayOff;

// Hands a list of days off to the small month calendar, which shades its
// days and marks or unmarks them by clicks.
class DayOffMarks : public CMarkedDays
{
public:
    explicit DayOffMarks(CDayOff &days) : m_days(&days) {}

    bool IsDayOff(const QDate &day) const override;
    void SetRange(const QDate &first, const QDate &last, bool follow) override;

private:
    CDayOff *m_days;
};
