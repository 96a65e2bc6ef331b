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
    if (!BarShown() || m_percentage >= 100)
        return false;
    m_percentage = qMin(100, m_percentage + m_step);
    return true;
}

int SplashProgress::FilledWidth() const
{
    if (!BarShown())
        return 0;
    return int((qint64(m_right) - m_left) * m_percentage / 100);
}
