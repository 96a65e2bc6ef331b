// The week and day view's context menu, its commands on the selected entry
// with the internal clipboard, and the items dropped on it from the panes.
#include "CWeekCtrl.h"

#include "CBdD.h"
#include "CTimeEntryHost.h"
#include "CWaitCursor.h"
#include "Clock.h"
#include "EntryCommands.h"
#include "EntryDrop.h"
#include "EntryEditStore.h"
#include "EntryMenus.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"

#include <QApplication>
#include <QDateTime>

namespace {

// `time` of day on `date`; a time the spring change skips gives the first
// instant after it.
qint64 onDateAt(const QDate &date, const QTime &time)
{
    return WallClockTime(date, time.hour() * 60 + time.minute()) + time.second();
}

} // namespace

// ---------------------------------------------------------------------------
// Context menu and commands
// ---------------------------------------------------------------------------

void CWeekCtrl::OpenContextMenu(const QPoint &point)
{
    m_menuPoint = point;
    if (point.x() <= CWeekGeometry::HoursColumnWidth || point.y() <= m_geometry.headerHeight)
        return;
    HitTestSelect(point);
    const bool hit = m_current.Id != -1;
    const bool running = hit && m_currentRunning;
    Reload();
    EntryMenus::Run(running ? EntryMenus::RunningMenu : EntryMenus::FinishedMenu, hit, *this, this,
                    viewport()->mapToGlobal(point));
}

bool CWeekCtrl::HandlesCommand(int id) const
{
    switch (id) {
    case EntryMenus::Add:
    case EntryMenus::Edit:
    case EntryMenus::Delete:
    case EntryMenus::Copy:
    case EntryMenus::Cut:
    case EntryMenus::Paste:
    case EntryMenus::PasteOnCurrentDate:
    case EntryMenus::SaveAsFavorite:
    case EntryMenus::EndTask:
    case EntryMenus::Resume:
    case EntryMenus::CancelDrag:
        return true;
    default:
        return false;
    }
}

bool CWeekCtrl::IsCommandEnabled(int id) const
{
    switch (id) {
    case EntryMenus::Edit:
    case EntryMenus::Delete:
    case EntryMenus::Copy:
    case EntryMenus::Cut:
    case EntryMenus::SaveAsFavorite:
        return m_host.SelectedEntryId() != -1;
    case EntryMenus::Paste:
    case EntryMenus::PasteOnCurrentDate:
        return m_clipboardId != -1;
    default:
        return HandlesCommand(id);
    }
}

void CWeekCtrl::OnCommand(int id)
{
    switch (id) {
    case EntryMenus::Add: {
        const tTimeAt at = TimeAtPoint(m_menuPoint);
        tTacheFull entry = EntryCommands::NewEntryAt(at.valid ? at.time : Platform::Clock::now());
        if (m_host.OpenEntryDialog(entry, CTimeEntryHost::EditEntry))
            m_host.RefreshViews();
        break;
    }
    case EntryMenus::Edit: EntryCommands::Edit(m_host); break;
    case EntryMenus::Delete:
        // Not from a key that reached a window of another program.
        if (QApplication::focusWidget())
            EntryCommands::Delete(m_host);
        break;
    case EntryMenus::Copy:
    case EntryMenus::Cut:
        if (m_host.SelectedEntryId() != -1) {
            m_clipboardId = m_host.SelectedEntryId();
            m_clipboardIsCopy = id == EntryMenus::Copy;
        }
        break;
    case EntryMenus::Paste: Paste(true); break;
    case EntryMenus::PasteOnCurrentDate: Paste(false); break;
    case EntryMenus::SaveAsFavorite: EntryCommands::SaveAsFavorite(m_host, this); break;
    case EntryMenus::EndTask: m_host.PauseTask(); break;
    case EntryMenus::Resume: EntryCommands::ResumeNow(m_host); break;
    case EntryMenus::CancelDrag: CancelDrag(); break;
    default: break;
    }
}

void CWeekCtrl::Paste(bool atMenuPoint)
{
    tTacheFull entry;
    {
        CBdD db;
        if (m_clipboardId == -1 || !db.GetTimeEntry(m_clipboardId, entry))
            return;
    }
    if (m_clipboardIsCopy)
        entry.Id = -1;
    const qint64 duration = entry.Fin != 0 ? entry.Fin - entry.Debut : 0;
    qint64 start = 0;
    if (atMenuPoint) {
        const tTimeAt at = TimeAtPoint(m_menuPoint);
        start = at.valid ? at.time : Platform::Clock::now();
    } else {
        start = onDateAt(m_host.CurrentDate(), Platform::LocalTime::toLocal(entry.Debut).time());
    }
    entry.Debut = start;
    if (entry.Fin != 0)
        entry.Fin = start + duration;
    if (!m_host.OpenEntryDialog(entry, CTimeEntryHost::EditEntry))
        return;
    // A cut is pasted once.
    if (!m_clipboardIsCopy)
        m_clipboardId = -1;
    m_host.RefreshViews();
}

// ---------------------------------------------------------------------------
// Drop target
// ---------------------------------------------------------------------------

Qt::DropAction CWeekCtrl::DragOver(const QMimeData *data, Qt::KeyboardModifiers keys, const QPoint &point)
{
    DragInfo info;
    if (m_refuseDrag || !ReadDragPayload(data, info) || info.kind == DragKind::Unknown)
        return Qt::IgnoreAction;
    m_modifiers = keys;
    m_dragPointer = TimeAtPoint(point).time;
    m_dragAnchor = m_dragPointer;
    m_current.Reset();
    m_current.Debut = m_dragPointer;
    m_current.Fin = std::min(m_dragPointer + 3600, LastSecondOfDay(m_dragPointer));
    m_dragActive = true;
    m_dragState = DragState::Copy;
    m_currentRunning = false;
    m_lastMouse = point;
    TrackDragPointer(point);
    viewport()->update();
    return Qt::CopyAction;
}

void CWeekCtrl::DragLeave()
{
    m_refuseDrag = false;
    if (!m_dragActive)
        return;
    m_dragActive = false;
    m_dragState = DragState::None;
    m_current.Id = -1;
    StopAutoScroll();
    viewport()->update();
}

void CWeekCtrl::DropItem(const DragInfo &info, const QPoint &point)
{
    const bool refused = m_refuseDrag;
    DragLeave();
    if (refused)
        return;
    tTacheFull record;
    if (!RecordForDrop(info, record))
        return;
    record.Id = -1;
    const tTimeAt at = TimeAtPoint(point);
    SetDropTimes(record, at.valid, at.valid ? Snap(at.time) : 0, Platform::Clock::now());
    const QDate day = Platform::LocalTime::localDate(record.Debut);
    const bool favourite = info.kind == DragKind::Favorite;
    const auto touchFavourite = [&info, favourite] {
        if (favourite)
            CBdD().TouchFavorite(info.id);
    };
    if (info.openDialog || m_modifiers.testFlag(Qt::ShiftModifier)) {
        if (m_host.OpenEntryDialog(record, CTimeEntryHost::EditEntry)) {
            touchFavourite();
            m_host.SetCurrentDate(day, true);
        }
        return;
    }
    switch (StoreEntryEdit(record, false, m_host, day)) {
    case EntryEditResult::Stored: touchFavourite(); break;
    case EntryEditResult::Failed:
        viewport()->update();
        ShowWriteFailure();
        break;
    default: break;
    }
}
