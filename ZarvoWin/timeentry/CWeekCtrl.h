#pragma once
#include "CShownDays.h"
#include "CWeekGeometry.h"

#include <QAbstractScrollArea>
#include <QString>

class CTimeEntryHost;

// The week and day view: one day, or a week of days side by side, each a
// column of 24 hours running downwards under a header band, with the time
// entries of each day as boxes at their times. It reads the entries from
// the application's day cache and scrolls the hours with its vertical
// scroll bar (in units of 5 pixels). The zoom level and the scroll
// position are kept in the settings section "Calendar" from one run to the
// next.
class CWeekCtrl : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit CWeekCtrl(CTimeEntryHost &host, QWidget *parent = nullptr);
    ~CWeekCtrl() override;

    // Week mode shows seven days from the configured first day of the
    // week; otherwise a single day. Switching to week mode aligns the week
    // anew at the next reload.
    void SetWeekMode(bool week);
    bool WeekMode() const { return m_days.WeekMode(); }
    int DayCount() const { return m_days.DayCount(); }

    // Chooses the shown days from the current date, loads them into the
    // day cache, sets the caption and repaints at once. Run after any
    // change of date, mode or data.
    void Reload();
    // Moves the shown days by n days (the current date moved by as much).
    void ShiftDays(int n);
    // Move every shown day one day back or forward.
    void StepBack();
    void StepForward();
    // Whether the running entry is on screen now.
    bool IsRunningEntryVisible() const;

    const CWeekGeometry &Geometry() const { return m_geometry; }
    const CShownDays &ShownDays() const { return m_days; }
    // The shown date or range.
    const QString &Caption() const { return m_caption; }
    // The drawing of the grid and its entries must be made anew.
    bool IsDirty() const { return m_dirty; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Fits the geometry to the client height and the scroll bar to it.
    void Relayout();
    void UpdateScrollBar();
    void Load(const CShownDays::tRange &range);
    void Invalidate();
    void LoadViewSettings();
    void SaveViewSettings() const;

    CTimeEntryHost &m_host;
    CWeekGeometry m_geometry;
    CShownDays m_days;
    QString m_caption;
    bool m_dirty = true;
    bool m_settingScrollBar = false;
};
