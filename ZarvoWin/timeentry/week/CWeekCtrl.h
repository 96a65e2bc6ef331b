#pragma once
#include "CInterfaceDropTarget.h"
#include "CShownDays.h"
#include "CTextMeasure.h"
#include "CViewCommandTarget.h"
#include "CWeekGeometry.h"
#include "DragTimes.h"
#include "EntryToolTip.h"
#include "WeekPointer.h"
#include "tEntryBoxPlan.h"
#include "tEntryBoxTexts.h"
#include "tTacheParams.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <memory>

class CConfiguration;
class CMyToolTipCtrl;
class CTimeEntryHost;
class QPainter;

// The week and day view: one day, or a week of days side by side, each a
// column of 24 hours running downwards under a header band, with the time
// entries of each day as boxes at their times. It reads the entries from
// the application's day cache and scrolls the hours with its vertical
// scroll bar (in units of 5 pixels). The zoom level and the scroll
// position are kept in the settings section "Calendar" from one run to the
// next.
//
// Everything that depends on the data (header, hour grid with the working
// time shaded, the entry boxes, the day separators and totals) is drawn
// into a cached image that is drawn anew only when it is marked dirty or
// the size changed; each repaint draws that image and, over it, what
// follows the mouse: the ghost of a dragged entry with the day arrows, or
// the grips of the entry under the pointer.
class CWeekCtrl : public QAbstractScrollArea, public CViewCommandTarget, public CDropTargetWindow
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
    // The next reload aligns the week on the current date again.
    void ForgetFirstDay() { m_days.ForgetFirstDay(); }

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
    // The cached image is drawn anew at the next repaint, which is asked
    // for when the view is visible (the running entry grew).
    void MarkDirty();

    const CWeekGeometry &Geometry() const { return m_geometry; }
    const CShownDays &ShownDays() const { return m_days; }
    // The shown date or range.
    const QString &Caption() const { return m_caption; }
    // The caption with the time recorded on the shown days, as the last
    // drawing gave it to the calendar window.
    const QString &Title() const { return m_title; }
    // The drawing of the grid and its entries must be made anew.
    bool IsDirty() const { return m_dirty; }
    // How many times the cached image was drawn.
    int RedrawCount() const { return m_redrawCount; }

    // The zoom buttons: one level out when the day does not fit; in, past
    // the levels at which the day still fits the client.
    void ZoomIn();
    void ZoomOut();
    // Ends a drag without a change (Escape).
    void CancelDrag();
    // Another database became current: nothing taken from the previous one
    // stays (the clipboard, the entry under the pointer or held, the
    // tooltip), and a drag under way ends without a change; the rest of
    // it, up to the release or the drop, is refused.
    void OnDatabaseChanged();
    // A tick of the drag's timers: ScrollTimerId scrolls the hours by one
    // unit, DayTimerId steps the days.
    void OnTimer(int id);

    // What the mouse is doing, for the tests and the drop target.
    DragState CurrentDragState() const { return m_dragState; }
    bool IsDragActive() const { return m_dragActive; }
    const tTacheParams &CurrentEntry() const { return m_current; }
    bool IsAutoScrolling() const { return m_autoScrollOn; }
    bool IsSteppingDays() const { return m_dayTimer.isActive(); }
    bool IsScrollingHours() const { return m_scrollTimer.isActive(); }
    // Where the day arrows of a drag are.
    const QRect &PrevArrowRect() const { return m_prevArrowRect; }
    const QRect &NextArrowRect() const { return m_nextArrowRect; }
    // The tooltip the view shows now; empty when none.
    const tEntryTip &ToolTip() const { return m_tip; }

    // The entry commands (add, edit, delete, copy, cut, paste, save as a
    // favourite, end, resume, cancel a drag) on the selected entry.
    bool HandlesCommand(int id) const override;
    bool IsCommandEnabled(int id) const override;
    void OnCommand(int id) override;
    // The entry copied or cut; -1 for none.
    int ClipboardId() const { return m_clipboardId; }

    // Items dragged from the panes: a one-hour ghost follows the pointer,
    // and a drop stores a new entry (or opens the entry dialog with Shift
    // or when the item asks for it).
    Kind DropTargetKind() const override { return Kind::WeekView; }
    Qt::DropAction DragOver(const QMimeData *data, Qt::KeyboardModifiers keys, const QPoint &point) override;
    void DropItem(const DragInfo &info, const QPoint &point) override;
    void DragLeave() override;

    // Timers of the drag: the hours scroll every 20 ms near the top or
    // bottom edge, the days step every 200 ms over a day arrow.
    static constexpr int ScrollTimerId = 1245;
    static constexpr int ScrollTimerMs = 20;
    static constexpr int DayTimerId = 1246;
    static constexpr int DayTimerMs = 200;

signals:
    // The caption and total changed (set as the calendar window's title).
    void titleChanged(const QString &title);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Fits the geometry to the client height and the scroll bar to it.
    void Relayout();
    void UpdateScrollBar();
    void Load(const CShownDays::tRange &range);
    void Invalidate();
    // The title from the shown days' entries, as their painting sums them:
    // the frame's tab shows it also before the view is first painted.
    void UpdateTitle();
    void SetTitle(qint64 total, const CConfiguration &config);
    void LoadViewSettings();
    void SaveViewSettings() const;
    void LoadLook();

    // The cached image, in the order it is drawn.
    void DrawBackground();
    void DrawHeaderAndGrid(QPainter &p, const CConfiguration &config);
    void DrawEntries(QPainter &p, const CConfiguration &config);
    void DrawEntryBox(QPainter &p, const tEntryBoxPlan &plan);
    void DrawDaySeparators(QPainter &p);
    void DrawDayTotals(QPainter &p, const CConfiguration &config);
    // What follows the mouse, over the cached image.
    void DrawOverlays(QPainter &p);
    void DrawGhost(QPainter &p, const CConfiguration &config);
    void DrawGrips(QPainter &p);
    // The grid-snapped time of an instant, Alt as it is now.
    qint64 Snap(qint64 t) const;

    // The mouse.
    tTimeAt TimeAtPoint(const QPoint &point) const;
    tHit HitAt(const QPoint &point);
    const tTacheParams *EntryOf(const tHit &hit);
    // The entry under the point becomes the selected one and the current.
    void HitTestSelect(const QPoint &point);
    // The move handler; the paint runs it quietly after each drawing of
    // the cached image, so that the hover state follows a new layout.
    void OnMouseMoveCore(bool quiet, const QPoint &point);
    void UpdateHover(bool quiet, const QPoint &point);
    // The time under the pointer during a drag, and the scrolling and day
    // stepping it starts or stops.
    void TrackDragPointer(const QPoint &point);
    void OnLeftPress(const QPoint &point);
    void OnLeftRelease(const QPoint &point);
    void OnRightPress(const QPoint &point);
    void OnRightRelease(const QPoint &point);
    void StoreDrag(const tDragTimes &times);
    void StopAutoScroll();
    void OnScrollTimer();
    void OnDayTimer();
    // The end of every drag: nothing held any more.
    void EndDrag();
    void SetScrollPos(int pos);
    void UpdateCursor();
    // What the tooltip says at a point, as the pointer rests there.
    tEntryTip ToolTipAt(const QPoint &point);
    void ShowWriteFailure();
    bool InZoomCorner(const QPoint &point) const;
    // The menu of a right click that did not move.
    void OpenContextMenu(const QPoint &point);
    // The entry of the clipboard at the context menu's point, or on the
    // current date at its own time of day.
    void Paste(bool atMenuPoint);

    CTimeEntryHost &m_host;
    CWeekGeometry m_geometry;
    CShownDays m_days;
    QString m_caption;
    QString m_title;
    bool m_dirty = true;
    bool m_settingScrollBar = false;
    int m_redrawCount = 0;
    QImage m_back;

    // Look.
    QFont m_normalFont;
    QFont m_boldFont;
    std::unique_ptr<CTextMeasure> m_normalMeasure;
    std::unique_ptr<CTextMeasure> m_boldMeasure;
    tEntryBoxTexts m_texts;
    QPixmap m_notesIcon;
    QPixmap m_zoomOutIcon;
    QPixmap m_zoomInIcon;
    QPixmap m_zoomOutGreyed;
    QPixmap m_zoomInGreyed;
    QPixmap m_prevArrow;
    QPixmap m_nextArrow;
    QRect m_prevArrowRect;
    QRect m_nextArrowRect;
    // The stripe colour of an entry whose activity is unknown.
    quint32 m_fallbackColour = 0;

    // The entry under the pointer, or the one pressed, dragged or drawn.
    tTacheParams m_current;
    bool m_currentRunning = false;
    bool m_dragActive = false;
    DragState m_dragState = DragState::None;
    qint64 m_dragAnchor = 0;
    qint64 m_dragPointer = 0;
    QRect m_ghostRect;

    bool m_buttonDown = false;
    bool m_panning = false;
    bool m_clickNoMove = true;
    QPoint m_pressPoint;
    QPoint m_lastMouse{-1, -1};
    QPoint m_menuPoint;
    bool m_autoScrollOn = false;
    bool m_autoScrollBack = false;
    bool m_altSeen = false;
    // The keys held at the last mouse or key event: Ctrl copies, Alt
    // inverts the snapping.
    Qt::KeyboardModifiers m_modifiers;
    QTimer m_scrollTimer;
    QTimer m_dayTimer;
    QCursor m_copyCursor;
    tEntryTip m_tip;
    CMyToolTipCtrl *m_toolTip = nullptr;
    int m_clipboardId = -1;
    bool m_clipboardIsCopy = true;
    // The database changed while a drag was held: it stores nothing.
    bool m_refuseDrag = false;
};
