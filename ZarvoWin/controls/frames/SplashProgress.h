#pragma once

// The start-up picture's progress bar and its timer, without a window: the
// step in percent per tick and the tick interval are chosen so that the bar
// fills in about the display time with ticks of at least 30 ms.
class SplashProgress
{
public:
    // The bar between x = left and x = right (exclusive); a bar of no
    // width is never shown.
    void SetBar(bool shown, int left, int right);
    bool BarShown() const { return m_shown && m_right - m_left > 0; }

    // Prepares a showing of `displayTime` ms: the percentage goes back to
    // 0. False when no timer must run (a display time of 0 or less).
    bool Start(int displayTime);
    int Interval() const { return m_interval; }
    int Step() const { return m_step; }
    int Percentage() const { return m_percentage; }

    // One tick of the timer: true when the bar moved on (repaint), false
    // when it is time to close.
    bool Tick();
    // A tick that catches up with `due`, the ticks the time since the start
    // gives (the program's work may have held the timer back): the bar
    // stands where that many ticks put it, at least one step on; false when
    // it is time to close, also when the whole run has passed meanwhile.
    bool TickTo(int due);
    int Ticks() const { return m_ticks; }

    // Width of the filled part of the bar.
    int FilledWidth() const;

private:
    bool m_shown = false;
    int m_left = 0;
    int m_right = 0;
    int m_step = 0;
    int m_interval = 0;
    int m_percentage = 0;
    int m_ticks = 0;
};
