#include "CCalendarCtrl.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CDay.h"
#include "CDayCache.h"
#include "CMyToolTipCtrl.h"
#include "CTimeEntryHost.h"
#include "CWaitCursor.h"
#include "Clock.h"
#include "ColorRef.h"
#include "EntryCommands.h"
#include "EntryMenus.h"
#include "HeaderGradient.h"
#include "LocalTime.h"
#include "MonthLayout.h"
#include "UiUtilities.h"
#include "ViewConfiguration.h"
#include "WeekPictures.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTime>
#include <QWheelEvent>

namespace {

// The grid between the cells.
constexpr quint32 GridColour = 0xFFAF7D; // RGB(125, 175, 255)

} // namespace

CCalendarCtrl::CCalendarCtrl(CTimeEntryHost &host, QWidget *parent)
    : QWidget(parent), m_host(host)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_font = font();
    m_measure = std::make_unique<CTextMeasure>(m_font);
    m_notesIcon = WeekPictures::NotesIcon();
    m_texts = tEntryBoxTexts::Load();
    m_fallbackColour = GetRandomLightColor();
    // One tooltip for every day: the days pass the tooltip's event on.
    auto *toolTip = new CMyToolTipCtrl(this);
    toolTip->SetIcon(WeekPictures::ToolTipIcon(), WeekPictures::IconSize);
    toolTip->Attach(this, [this](const QPoint &point, tToolTipContent &content) {
        const tEntryTip tip = ToolTipAt(point);
        content.title = tip.label;
        content.description = tip.description;
        return !tip.label.isEmpty();
    });
    for (size_t i = 0; i < m_cells.size(); ++i) {
        m_cells[i] = new CDay(*this, this);
        m_cells[i]->hide();
    }
}

CCalendarCtrl::~CCalendarCtrl() = default;

void CCalendarCtrl::Reload()
{
    const CWaitCursor wait;
    const CConfiguration &config = ViewConfiguration();
    const QDate current = m_host.CurrentDate();
    if (!current.isValid())
        return;
    const int rows = MonthRowCount(current, config.firstDayOfWeek);
    const bool rowsChanged = rows != m_rows;
    m_rows = rows;
    const QDate first = MonthFirstCell(current, config.firstDayOfWeek);
    const int shown = 7 * m_rows;
    m_host.DayCache().Load(first, first.addDays(shown - 1));
    if (rowsChanged)
        LayOutCells();
    for (int i = 0; i < shown; ++i)
        m_cells[size_t(i)]->SetDate(first.addDays(i));
    const QString title = config.FormatMonthYear(current);
    if (title != m_title) {
        m_title = title;
        emit titleChanged(m_title);
    }
    update();
}

void CCalendarCtrl::LayOutCells()
{
    for (int i = 0; i < CellCount; ++i) {
        CDay *cell = m_cells[size_t(i)];
        if (i < 7 * m_rows) {
            cell->setGeometry(MonthCellRect(i / 7, i % 7, m_rows, size()));
            cell->show();
        } else {
            cell->hide();
        }
    }
}

void CCalendarCtrl::RefreshRunningEntry()
{
    if (m_host.RunningEntryId() == -1 || !isVisible() || m_rows == 0)
        return;
    const qint64 now = Platform::Clock::now();
    const QDate first = m_cells[0]->Date();
    const QDate last = first.addDays(7 * m_rows - 1);
    if (m_host.RunningEntryStart() > now || now < Platform::LocalTime::midnight(first)
        || now > Platform::LocalTime::midnight(last.addDays(1)) - 1)
        return;
    const int index = TodayCellIndex(first, Platform::LocalTime::localDate(now), 7 * m_rows);
    if (index >= 0)
        m_cells[size_t(index)]->update();
}

void CCalendarCtrl::RepaintCells()
{
    for (int i = 0; i < 7 * m_rows; ++i)
        m_cells[size_t(i)]->update();
}

void CCalendarCtrl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOutCells();
}

void CCalendarCtrl::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::FontChange) {
        m_font = font();
        m_measure = std::make_unique<CTextMeasure>(m_font);
        m_texts = tEntryBoxTexts::Load();
        update();
        RepaintCells();
    }
}

void CCalendarCtrl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    p.fillRect(rect(), ColorRefToQColor(GridColour));
    // The header band, one stripe a pixel from its bottom line upwards.
    for (int i = 0; i < MonthHeaderHeight; ++i)
        p.fillRect(0, MonthHeaderHeight - 1 - i, w, 1, ColorRefToQColor(HeaderGradientColor(4 * i)));
    if (m_rows == 0)
        return;
    const CConfiguration &config = ViewConfiguration();
    const QFontMetrics metrics(m_font);
    const int columnWidth = w / 7;
    QStringList names;
    for (int i = 0; i < 7; ++i)
        names << config.GetDayName(m_cells[size_t(i)]->Date());
    names = MonthDayNames(names, columnWidth, [&metrics](const QString &t) { return metrics.horizontalAdvance(t); });
    p.setFont(m_font);
    p.setPen(Qt::black);
    for (int i = 0; i < 7; ++i)
        p.drawText(QRect(i * columnWidth, 0, i == 6 ? w - 6 * columnWidth : columnWidth, MonthHeaderHeight),
                   Qt::AlignCenter | Qt::TextSingleLine, names[i]);
    // The grid: the background shows between the cells, and the day lines
    // cross the header too.
    for (int i = 1; i < 7; ++i)
        p.fillRect(i * columnWidth, 0, 1, h, ColorRefToQColor(GridColour));
}

void CCalendarCtrl::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    m_host.SetCurrentDate(StepMonthKeepingDay(m_host.CurrentDate(), delta > 0 ? -1 : +1), true);
    event->accept();
}

tEntryTip CCalendarCtrl::ToolTipAt(const QPoint &point)
{
    auto *day = qobject_cast<CDay *>(childAt(point));
    if (!day)
        return {};
    const int index = day->HitTest(day->mapFrom(this, point));
    const tTacheParams *entry = index >= 0 ? m_host.DayCache().GetEntry(day->Date(), index) : nullptr;
    if (!entry)
        return {};
    return EntryToolTip(*entry, CAppData::ProjectStore(), ViewConfiguration(), m_texts, Platform::Clock::now());
}

void CCalendarCtrl::ShowEntryTip(const tTacheParams *entry)
{
    m_tip = entry ? EntryToolTip(*entry, CAppData::ProjectStore(), ViewConfiguration(), m_texts,
                                 Platform::Clock::now())
                  : tEntryTip();
}

void CCalendarCtrl::SelectEntry(int id)
{
    if (id == m_host.SelectedEntryId())
        return;
    m_host.SetSelectedEntryId(id);
    RepaintCells();
}

void CCalendarCtrl::OnDayHeaderClicked(const QDate &date)
{
    m_host.SetCurrentDate(date, true);
}

void CCalendarCtrl::OnDayHeaderDoubleClicked()
{
    m_host.ShowDayView();
}

void CCalendarCtrl::OnEntryDoubleClicked(const QDate &date, const tTacheParams &entry)
{
    // The reading may reload the days that hold `entry`.
    const int id = entry.Id;
    tTacheFull record;
    if (!EntryCommands::ReadStored(m_host, id, record))
        return;
    if (m_host.OpenEntryDialog(record, CTimeEntryHost::EditEntry))
        m_host.SetCurrentDate(date, true);
}

void CCalendarCtrl::OnCellContextMenu(CDay &day, const QPoint &point, const QPoint &globalPos)
{
    m_contextDay = day.Date();
    const int index = day.HitTest(point);
    const tTacheParams *entry = index >= 0 ? m_host.DayCache().GetEntry(day.Date(), index) : nullptr;
    SelectEntry(entry ? entry->Id : -1);
    const bool running = entry && entry->Fin == 0;
    EntryMenus::Run(running ? EntryMenus::RunningMenu : EntryMenus::FinishedMenu, entry != nullptr, *this, this,
                    globalPos);
}

bool CCalendarCtrl::HandlesCommand(int id) const
{
    switch (id) {
    case EntryMenus::Add:
    case EntryMenus::Edit:
    case EntryMenus::Delete:
    case EntryMenus::SaveAsFavorite:
    case EntryMenus::EndTask:
    case EntryMenus::Resume:
        return true;
    default:
        return false;
    }
}

bool CCalendarCtrl::IsCommandEnabled(int id) const
{
    switch (id) {
    case EntryMenus::Edit:
    case EntryMenus::Delete:
    case EntryMenus::SaveAsFavorite:
        return m_host.SelectedEntryId() != -1;
    default:
        return HandlesCommand(id);
    }
}

void CCalendarCtrl::OnCommand(int id)
{
    switch (id) {
    case EntryMenus::Add: AddEntry(); break;
    case EntryMenus::Edit: EntryCommands::Edit(m_host); break;
    case EntryMenus::Delete: EntryCommands::Delete(m_host); break;
    case EntryMenus::SaveAsFavorite: EntryCommands::SaveAsFavorite(m_host, this); break;
    case EntryMenus::EndTask: m_host.PauseTask(); break;
    case EntryMenus::Resume: EntryCommands::ResumeNow(m_host); break;
    default: break;
    }
}

void CCalendarCtrl::AddEntry()
{
    const QDate day = m_contextDay.isValid() ? m_contextDay : m_host.CurrentDate();
    const QTime now = Platform::LocalTime::toLocal(Platform::Clock::now()).time();
    tTacheFull entry = EntryCommands::NewEntryAt(QDateTime(day, now).toSecsSinceEpoch());
    if (m_host.OpenEntryDialog(entry, CTimeEntryHost::EditEntry))
        m_host.RefreshViews();
}
