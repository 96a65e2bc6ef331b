#pragma once
#include <QtGlobal>
#include <functional>

namespace Platform {

// The program's clock: wall time in Unix seconds and a monotonic tick in
// milliseconds. Tests replace either source; production code never reads
// the system clock any other way.
class Clock
{
public:
    static qint64 now();
    static qint64 tickMs();

    static void setNowSource(std::function<qint64()> source);
    static void setTickSource(std::function<qint64()> source);
    // Fixes the wall clock at `unixSeconds` (a convenience over setNowSource).
    static void setFixedNow(qint64 unixSeconds);
    static void reset();
};

} // namespace Platform
