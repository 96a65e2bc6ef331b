#include "Clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <mutex>

namespace Platform {

namespace {
std::mutex &lock()
{
    static std::mutex m;
    return m;
}
std::function<qint64()> &nowSource()
{
    static std::function<qint64()> f;
    return f;
}
std::function<qint64()> &tickSource()
{
    static std::function<qint64()> f;
    return f;
}
} // namespace

qint64 Clock::now()
{
    {
        std::lock_guard guard(lock());
        if (nowSource())
            return nowSource()();
    }
    return QDateTime::currentSecsSinceEpoch();
}

qint64 Clock::tickMs()
{
    {
        std::lock_guard guard(lock());
        if (tickSource())
            return tickSource()();
    }
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void Clock::setNowSource(std::function<qint64()> source)
{
    std::lock_guard guard(lock());
    nowSource() = std::move(source);
}

void Clock::setTickSource(std::function<qint64()> source)
{
    std::lock_guard guard(lock());
    tickSource() = std::move(source);
}

void Clock::setFixedNow(qint64 unixSeconds)
{
    setNowSource([unixSeconds] { return unixSeconds; });
}

void Clock::reset()
{
    std::lock_guard guard(lock());
    nowSource() = nullptr;
    tickSource() = nullptr;
}

} // namespace Platform
