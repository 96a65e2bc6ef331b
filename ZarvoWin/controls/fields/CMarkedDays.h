#pragma once
#include <QDate>

// The days a small month calendar shades and lets the user mark: the
// calendar knows no settings, its host hands it this much of its list of
// days off.
class CMarkedDays
{
public:
    virtual ~CMarkedDays() = default;

    // True when the day is shaded.
    virtual bool IsDayOff(const QDate &day) const = 0;
    // Marks or unmarks first..last (in either order); `follow` as the
    // list's own rule for a single day and a range.
    virtual void SetRange(const QDate &first, const QDate &last, bool follow) = 0;
};
