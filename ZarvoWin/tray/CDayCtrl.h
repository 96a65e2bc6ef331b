#pragma once
#include "DayStripGeometry.h"
#include "tToolTipContent.h"

#include <QWidget>

class CTrayToolTip;
class CZarvoTrayApp;

// The strip of today's entries in the tray window: each entry a bar in its
// project's colour over its activity's, on a time scale over the part of
// the day with work in it, with hour ticks and labels above; the entry
// under the mouse shows its details as a tip. It reads the entries the
// tray keeps and the store's colours and names, never the database.
class CDayCtrl : public QWidget
{
    Q_OBJECT
public:
    enum : int { ControlId = 1030 };

    explicit CDayCtrl(CZarvoTrayApp &app, QWidget *parent = nullptr);

    // The day shown (the tray sets it when its poll sees a new day).
    void SetDay(const QDate &day);
    QDate Day() const { return m_day; }
    // The geometry at the current size, clock and entries.
    DayStripGeometry Geometry() const;
    // The entry under a point of the control, -1 for none.
    int EntryAt(const QPoint &point) const;
    CTrayToolTip *ToolTip() const { return m_tip; }

protected:
    void paintEvent(QPaintEvent *event) override;
    // The tip shows as soon as the mouse is over an entry, without the
    // usual wait.
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The height of the label band.
    int BandHeight() const;
    // The tip of an entry, false for a point over none.
    bool TipAt(const QPoint &point, tToolTipContent &content) const;

    CZarvoTrayApp &m_app;
    QDate m_day;
    CTrayToolTip *m_tip = nullptr;
};
