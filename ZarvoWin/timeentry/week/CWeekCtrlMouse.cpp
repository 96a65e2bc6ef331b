// The week and day view's mouse and keys: selecting, drawing, moving,
// resizing and copying entries, the zoom buttons, the wheel, the pan with
// the right button, and the scrolling and day stepping of a held drag.
#include "CWeekCtrl.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CDayCache.h"
#include "CTimeEntryHost.h"
#include "CWaitCursor.h"
#include "Clock.h"
#include "EntryCommands.h"
#include "EntryEditStore.h"
#include "EntryMenus.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "ViewConfiguration.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdlib>

namespace {

// The zoom corner at the top of the ruler: zoom out left of x 32, in right
// of it.
constexpr int ZoomCornerWidth = 64;
constexpr int ZoomCornerHeight = 32;
constexpr int ZoomOutRight = 32;
// A left drag starts past 2 pixels; a right press that moves 3 pixels
// pans instead of opening the menu.
constexpr int DragThreshold = 2;
constexpr int ClickThreshold = 3;
constexpr int WheelUnits = 12;

bool movedMoreThan(const QPoint &a, const QPoint &b, int pixels)
{
    return std::abs(a.x() - b.x()) > pixels || std::abs(a.y() - b.y()) > pixels;
}

} // namespace

tTimeAt CWeekCtrl::TimeAtPoint(const QPoint &point) const
{
    return TimeAt(point, m_days.Days(), m_geometry, viewport()->width());
}

tHit CWeekCtrl::HitAt(const QPoint &point)
{
    const int column = ColumnAt(point, DayCount(), viewport()->width());
    if (column < 0)
        return tHit{};
    const std::span<tTacheParams> entries = m_host.DayCache().GetDay(m_days.Day(column).Date);
    return HitTest(point, m_days.Days(), entries, m_geometry, viewport()->width());
}

const tTacheParams *CWeekCtrl::EntryOf(const tHit &hit)
{
    if (hit.column < 0 || hit.index < 0)
        return nullptr;
    return m_host.DayCache().GetEntry(m_days.Day(hit.column).Date, hit.index);
}

bool CWeekCtrl::InZoomCorner(const QPoint &point) const
{
    return point.x() < ZoomCornerWidth && point.y() < ZoomCornerHeight;
}

void CWeekCtrl::HitTestSelect(const QPoint &point)
{
    const tTacheParams *entry = EntryOf(HitAt(point));
    m_host.SetSelectedEntryId(entry ? entry->Id : -1);
    if (entry) {
        m_current = *entry;
        m_currentRunning = entry->Fin == 0;
    } else {
        m_current.Id = -1;
    }
}

void CWeekCtrl::SetScrollPos(int pos)
{
    if (m_geometry.SetScrollPos(pos))
        Invalidate();
    UpdateScrollBar();
}

void CWeekCtrl::ZoomIn()
{
    if (m_geometry.zoomLevel >= 9)
        return;
    // Each click shows bigger hours: the levels at which the day still
    // fits the client look all the same.
    do {
        ++m_geometry.zoomLevel;
        Relayout();
    } while (!m_geometry.canZoomOut && m_geometry.zoomLevel < 9);
    Invalidate();
}

void CWeekCtrl::ZoomOut()
{
    if (!m_geometry.canZoomOut)
        return;
    --m_geometry.zoomLevel;
    Relayout();
    Invalidate();
}

void CWeekCtrl::UpdateCursor()
{
    QCursor cursor(Qt::ArrowCursor);
    switch (m_dragState) {
    case DragState::None:
        if (m_panning)
            cursor = QCursor(DayCount() == 1 ? Qt::SizeVerCursor : Qt::SizeAllCursor);
        break;
    case DragState::ResizeStart:
    case DragState::ResizeEnd: cursor = QCursor(Qt::SizeVerCursor); break;
    case DragState::Move: cursor = QCursor(Qt::SizeAllCursor); break;
    case DragState::Copy: cursor = m_copyCursor; break;
    case DragState::Create: break;
    }
    viewport()->setCursor(cursor);
}

tEntryTip CWeekCtrl::ToolTipAt(const QPoint &point)
{
    if (m_buttonDown || m_dragActive || m_panning)
        return {};
    if (InZoomCorner(point))
        return CommandToolTip(Platform::Texts::get(point.x() < ZoomOutRight ? 33035 : 33037));
    const tHit hit = HitAt(point);
    const CConfiguration &config = ViewConfiguration();
    const qint64 now = Platform::Clock::now();
    if (const tTacheParams *entry = EntryOf(hit)) {
        // None on the grips of a finished entry.
        const DragState state = HoverState(*entry, m_days.Day(hit.column).Date, point.y(), m_geometry, now, false);
        if (entry->Fin != 0 && (state == DragState::ResizeStart || state == DragState::ResizeEnd))
            return {};
        return EntryToolTip(*entry, CAppData::ProjectStore(), config, m_texts, now);
    }
    if (const tTimeAt time = TimeAtPoint(point); time.valid)
        return {config.FormatDate(Snap(time.time), true, true), QString()};
    return {};
}

// ---------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------

bool CWeekCtrl::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Leave:
        // Leaving with no button held ends the drag; a held button keeps
        // the mouse, and the drag goes on outside the view.
        if (!m_buttonDown) {
            m_panning = false;
            EndDrag();
            m_current.Id = -1;
            m_lastMouse = QPoint(-1, -1);
            m_tip = {};
            viewport()->update();
        }
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CWeekCtrl::mousePressEvent(QMouseEvent *event)
{
    m_modifiers = event->modifiers();
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !m_buttonDown)
        OnLeftPress(point);
    else if (event->button() == Qt::RightButton && !m_buttonDown)
        OnRightPress(point);
    event->accept();
}

void CWeekCtrl::mouseMoveEvent(QMouseEvent *event)
{
    m_modifiers = event->modifiers();
    if (m_modifiers.testFlag(Qt::AltModifier))
        m_altSeen = true;
    OnMouseMoveCore(false, event->position().toPoint());
    event->accept();
}

void CWeekCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    m_modifiers = event->modifiers();
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLeftRelease(point);
    else if (event->button() == Qt::RightButton)
        OnRightRelease(point);
    event->accept();
}

void CWeekCtrl::OnLeftPress(const QPoint &point)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (InZoomCorner(point)) {
        if (point.x() < ZoomOutRight)
            ZoomOut();
        else
            ZoomIn();
        return;
    }
    // A press where no move was seen (a touch, a click right after a
    // scroll) takes the state of the point pressed.
    if (point != m_lastMouse)
        OnMouseMoveCore(true, point);

    const QDate oldDate = m_host.CurrentDate();
    const int oldSelection = m_host.SelectedEntryId();
    m_dragAnchor = TimeAtPoint(point).time;
    HitTestSelect(point);
    m_pressPoint = point;
    m_buttonDown = true;

    const int column = ColumnAt(point, DayCount(), viewport()->width());
    if (DayCount() != 1 && column >= 0 && point.y() > 0)
        m_host.SetCurrentDate(m_days.Day(column).Date, false);

    switch (m_dragState) {
    case DragState::None:
        if (point.x() > CWeekGeometry::HoursColumnWidth && point.y() > m_geometry.headerHeight
            && m_current.Id == -1) {
            // Drawing a new entry.
            m_dragPointer = m_dragAnchor;
            m_dragActive = true;
            m_dragState = DragState::Create;
            m_currentRunning = false;
            m_current.Reset();
            m_current.Debut = m_dragAnchor;
            m_current.Fin = m_dragAnchor;
            TrackDragPointer(point);
            viewport()->update();
        }
        break;
    case DragState::Move:
    case DragState::Copy:
        m_host.ShowStatusText(Platform::Texts::get(617));
        break;
    default:
        break;
    }
    UpdateCursor();
    if (m_host.CurrentDate() != oldDate || m_host.SelectedEntryId() != oldSelection)
        Invalidate();
}

void CWeekCtrl::OnMouseMoveCore(bool quiet, const QPoint &point)
{
    if (m_panning) {
        if (m_clickNoMove && movedMoreThan(point, m_pressPoint, ClickThreshold - 1))
            m_clickNoMove = false;
        const tPanStep step = PanStep(m_pressPoint, point, m_geometry, viewport()->width(), DayCount());
        m_pressPoint = step.press;
        if (step.scrolled)
            SetScrollPos(step.scrollPos);
        if (step.dayStep > 0)
            StepForward();
        else if (step.dayStep < 0)
            StepBack();
        m_lastMouse = point;
        return;
    }
    if (m_buttonDown && !m_dragActive && m_dragState != DragState::None
        && movedMoreThan(point, m_pressPoint, DragThreshold)) {
        m_dragActive = true;
        m_tip = {};
        UpdateCursor();
    }
    if (m_dragActive) {
        TrackDragPointer(point);
    } else if (!m_buttonDown && (quiet || point != m_lastMouse)) {
        UpdateHover(quiet, point);
    }
    m_lastMouse = point;
}

void CWeekCtrl::UpdateHover(bool quiet, const QPoint &point)
{
    const DragState oldState = m_dragState;
    const int oldId = m_current.Id;
    m_dragState = DragState::None;
    const tHit hit = HitAt(point);
    const tTacheParams *entry = EntryOf(hit);
    if (!entry) {
        m_current.Id = -1;
    } else {
        m_current = *entry;
        m_dragState = HoverState(*entry, m_days.Day(hit.column).Date, point.y(), m_geometry, Platform::Clock::now(),
                                 m_modifiers.testFlag(Qt::ControlModifier));
    }
    // A quiet pass (after a drawing) shows no tooltip.
    m_tip = quiet ? tEntryTip() : ToolTipAt(point);
    UpdateCursor();
    if (m_dragState != oldState || m_current.Id != oldId)
        viewport()->update();
}

void CWeekCtrl::TrackDragPointer(const QPoint &point)
{
    const qint64 old = m_dragPointer;
    m_dragPointer = TimeAtPoint(point).time;
    switch (ZoneAt(point, m_prevArrowRect, m_nextArrowRect, m_geometry.headerHeight, viewport()->height())) {
    case DragZone::PreviousDay:
    case DragZone::NextDay:
        if (!m_autoScrollOn) {
            m_autoScrollOn = true;
            m_autoScrollBack = m_nextArrowRect.contains(point);
            OnDayTimer();
            m_dayTimer.start();
        }
        break;
    case DragZone::ScrollUp:
        if (!m_autoScrollOn && m_geometry.scrollPos > 0) {
            m_autoScrollOn = true;
            m_autoScrollBack = true;
            m_scrollTimer.start();
        }
        break;
    case DragZone::ScrollDown:
        if (!m_autoScrollOn && m_geometry.scrollPos < m_geometry.MaxScrollPos()) {
            m_autoScrollOn = true;
            m_autoScrollBack = false;
            m_scrollTimer.start();
        }
        break;
    case DragZone::Elsewhere:
        if (m_autoScrollOn)
            StopAutoScroll();
        break;
    }
    if (m_dragPointer != old)
        viewport()->update();
}

void CWeekCtrl::StopAutoScroll()
{
    m_autoScrollOn = false;
    m_scrollTimer.stop();
    m_dayTimer.stop();
}

void CWeekCtrl::OnTimer(int id)
{
    if (id == ScrollTimerId && m_scrollTimer.isActive())
        OnScrollTimer();
    else if (id == DayTimerId && m_dayTimer.isActive())
        OnDayTimer();
}

void CWeekCtrl::OnScrollTimer()
{
    if (m_autoScrollBack ? m_geometry.scrollPos <= 0 : m_geometry.scrollPos >= m_geometry.MaxScrollPos()) {
        StopAutoScroll();
        return;
    }
    SetScrollPos(m_geometry.scrollPos + (m_autoScrollBack ? -1 : +1));
    m_dragPointer = TimeAtPoint(m_lastMouse).time;
    viewport()->update();
}

void CWeekCtrl::OnDayTimer()
{
    // AutoScrollBack over a day arrow: the next day.
    if (m_autoScrollBack)
        StepForward();
    else
        StepBack();
    m_dragPointer = TimeAtPoint(m_lastMouse).time;
}

void CWeekCtrl::EndDrag()
{
    m_dragActive = false;
    StopAutoScroll();
    UpdateCursor();
}

void CWeekCtrl::CancelDrag()
{
    if (!m_dragActive)
        return;
    m_dragActive = false;
    if (m_dragState == DragState::Create)
        m_current.Id = -1;
    StopAutoScroll();
    m_host.ShowStatusText(QString());
    viewport()->update();
}

void CWeekCtrl::OnDatabaseChanged()
{
    m_clipboardId = -1;
    m_clipboardIsCopy = true;
    // What is held names an entry of the other database: the release or
    // the drop that ends it stores nothing.
    m_refuseDrag = m_dragActive || (m_buttonDown && !m_panning);
    m_dragActive = false;
    m_dragState = DragState::None;
    m_current.Reset();
    m_currentRunning = false;
    m_tip = {};
    StopAutoScroll();
    UpdateCursor();
    Invalidate();
}

void CWeekCtrl::OnLeftRelease(const QPoint &point)
{
    m_buttonDown = false;
    m_refuseDrag = false;
    if (m_dragActive) {
        const CWaitCursor wait;
        m_dragPointer = TimeAtPoint(point).time;
        const tDragTimes times = ReleaseTimes(m_dragState, m_current, m_dragAnchor, m_dragPointer,
                                              [this](qint64 t) { return Snap(t); }, Platform::Clock::now());
        StopAutoScroll();
        StoreDrag(times);
    }
    m_dragActive = false;
    m_panning = false;
    StopAutoScroll();
    if (m_dragState == DragState::Create)
        m_dragState = DragState::None;
    UpdateCursor();
    m_host.ShowStatusText(QString());
    viewport()->update();
}

void CWeekCtrl::StoreDrag(const tDragTimes &times)
{
    if (m_dragState == DragState::Create) {
        m_dragActive = false;
        m_current.Id = -1;
        if (times.end <= times.start)
            return; // drawn without length
        tTacheFull record;
        record.Debut = times.start;
        record.Fin = times.end;
        m_host.OpenEntryDialog(record, CTimeEntryHost::EditEntry);
        return;
    }
    tTacheFull record = m_current;
    record.Debut = times.start;
    record.Fin = times.end;
    const bool copy = m_dragState == DragState::Copy;
    if (copy)
        record.Id = -1;
    const QDate pointerDate = Platform::LocalTime::localDate(m_dragPointer);
    switch (StoreEntryEdit(record, !copy, m_host, pointerDate)) {
    case EntryEditResult::Stored:
        m_current.Debut = record.Debut;
        m_current.Fin = record.Fin;
        m_dragActive = false;
        m_panning = false;
        break;
    case EntryEditResult::Failed:
        m_dragActive = false;
        viewport()->update();
        ShowWriteFailure();
        break;
    case EntryEditResult::Gone:
        // The other program deleted the entry: show what is there now.
        m_dragActive = false;
        m_current.Id = -1;
        m_host.DayCache().MarkForReload();
        Reload();
        break;
    case EntryEditResult::Cancelled:
        break;
    }
}

void CWeekCtrl::ShowWriteFailure()
{
    RichMessageBox(MessageBoxType::IconExclamation, this, Platform::Texts::get(226), Platform::Texts::get(173));
}

void CWeekCtrl::OnRightPress(const QPoint &point)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    m_clickNoMove = true;
    m_dragAnchor = TimeAtPoint(point).time;
    m_pressPoint = point;
    m_buttonDown = true;
    m_panning = true;
    UpdateCursor();
}

void CWeekCtrl::OnRightRelease(const QPoint &point)
{
    m_buttonDown = false;
    m_panning = false;
    StopAutoScroll();
    UpdateCursor();
    m_host.ShowStatusText(QString());
    if (m_clickNoMove)
        OpenContextMenu(point);
}

void CWeekCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_modifiers = event->modifiers();
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (InZoomCorner(point)) {
        if (point.x() < ZoomOutRight)
            ZoomOut();
        else
            ZoomIn();
        return;
    }
    if (DayCount() == 1 || point.x() <= CWeekGeometry::HoursColumnWidth)
        return;
    if (point.y() <= m_geometry.headerHeight) {
        m_host.ShowDayView();
        return;
    }
    const tHit hit = HitAt(point);
    if (hit.column < 0)
        return;
    tTacheFull record;
    const tTacheParams *entry = EntryOf(hit);
    const int id = entry ? entry->Id : -1;
    if (!entry) {
        const tTimeAt time = TimeAtPoint(point);
        record = EntryCommands::NewEntryAt(time.valid ? time.time : Platform::Clock::now());
    }
    // The press before the double click drew a new entry of no length.
    CancelDrag();
    if (id != -1 && !EntryCommands::ReadStored(m_host, id, record))
        return;
    if (m_host.OpenEntryDialog(record, CTimeEntryHost::EditEntry))
        m_host.RefreshViews();
}

void CWeekCtrl::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    SetScrollPos(m_geometry.scrollPos + (delta > 0 ? -WheelUnits : WheelUnits));
    event->accept();
}

void CWeekCtrl::keyPressEvent(QKeyEvent *event)
{
    m_modifiers = event->modifiers();
    // The keys of the entry commands.
    int command = 0;
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Delete)
        command = EntryMenus::Delete;
    else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_C)
        command = EntryMenus::Copy;
    else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_X)
        command = EntryMenus::Cut;
    else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_V)
        command = EntryMenus::PasteOnCurrentDate;
    if (command != 0) {
        if (IsCommandEnabled(command))
            OnCommand(command);
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Control:
        if (m_dragState == DragState::Move) {
            m_dragState = DragState::Copy;
            UpdateCursor();
            viewport()->update();
        }
        break;
    case Qt::Key_Alt:
        m_altSeen = false;
        viewport()->update();
        break;
    case Qt::Key_Escape:
        CancelDrag();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CWeekCtrl::keyReleaseEvent(QKeyEvent *event)
{
    m_modifiers = event->modifiers();
    switch (event->key()) {
    case Qt::Key_Control:
        if (m_dragState == DragState::Copy) {
            m_dragState = DragState::Move;
            UpdateCursor();
            viewport()->update();
        }
        break;
    case Qt::Key_Alt:
        // Alt held while the mouse moved changed the snapping: its release
        // is the view's, not the menu bar's.
        viewport()->update();
        if (m_altSeen) {
            m_altSeen = false;
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CWeekCtrl::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    // A drag does not outlive the focus (a dialog, another window).
    if (m_dragActive || m_autoScrollOn) {
        m_dragActive = false;
        StopAutoScroll();
        viewport()->update();
    }
}
