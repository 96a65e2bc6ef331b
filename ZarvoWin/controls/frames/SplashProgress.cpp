#include "SplashProgress.h"

#include <QtGlobal>

#include <climits>
#include <cmath>

void SplashProgress::SetBar(bool shown, int left, int right)
{
    m_shown = shown;
    m_left = left;
    m_right = right;
}

bool SplashProgress::Start(int displayTime)
{
    m_percentage = 0;
    m_ticks = 0;
    m_step = 0;
    m_interval = 0;
    if (displayTime <= 0)
        return false;
    if (!BarShown()) {
        m_interval = displayTime;
        return true;
    }
    // The smallest step above 100 / (T / 30) whose interval is 30 ms or
    // more: with 3000 ms over a bar 402 pixels wide, 5 % every 37 ms.
    const double barWidth = double(m_right) - m_left;
    const double first = std::trunc(100.0 / (displayTime / 30.0)) + 1;
    double step = qMax(first, std::ceil(30.0 * barWidth / displayTime) - 1);
    double interval = std::trunc(step * displayTime / barWidth);
    while (interval < 30) {
        step += 1;
        interval = std::trunc(step * displayTime / barWidth);
    }
    m_step = int(qMin(step, 100.0));
    m_interval = int(qMin(interval, double(INT_MAX)));
    return true;
}

bool SplashProgress::Tick()
{
    return TickTo(m_ticks + 1);
}

bool SplashProgress::TickTo(int due)
{
    if (!BarShown() || m_percentage >= 100 || m_step <= 0)
        return false;
    // The tick after the one that fills the bar closes.
    const int closing = (100 + m_step - 1) / m_step + 1;
    m_ticks = qMax(m_ticks + 1, due);
    if (m_ticks >= closing)
        return false;
    m_percentage = int(qMin<qint64>(100, qint64(m_step) * m_ticks));
    return true;
}

int SplashProgress::FilledWidth() const
{
    if (!BarShown())
        return 0;
    return int((qint64(m_right) - m_left) * m_percentage / 100);
}
