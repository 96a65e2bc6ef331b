#include "CWeekCtrl.h"

#include "CConfiguration.h"
#include "CDayCache.h"
#include "CTimeEntryHost.h"
#include "CWaitCursor.h"
#include "Clock.h"
#include "Settings.h"
#include "ViewConfiguration.h"

#include <QResizeEvent>
#include <QScrollBar>

namespace {
const QString SettingsSection = QStringLiteral("Calendar");
}

CWeekCtrl::CWeekCtrl(CTimeEntryHost &host, QWidget *parent)
    : QAbstractScrollArea(parent), m_host(host)
{
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(1);
    // Scrolling with the bar gives the view the focus.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
    });
    LoadViewSettings();
    // No client size yet: the stored position is kept until the first one
    // (a provisional size would clamp it).
    m_geometry.Relayout(0);
    UpdateScrollBar();
}

CWeekCtrl::~CWeekCtrl()
{
    SaveViewSettings();
}

void CWeekCtrl::LoadViewSettings()
{
    const Platform::Settings settings;
    m_geometry.zoomLevel = CWeekGeometry::ZoomFromSetting(
        settings.getInt(SettingsSection, u"", u"Zoom", CWeekGeometry::DefaultZoom));
    m_geometry.scrollPos = settings.getInt(SettingsSection, u"", u"Position", CWeekGeometry::DefaultScrollPos);
}

void CWeekCtrl::SaveViewSettings() const
{
    Platform::Settings settings;
    settings.setInt(SettingsSection, u"", u"Zoom", m_geometry.zoomLevel);
    settings.setInt(SettingsSection, u"", u"Position", m_geometry.scrollPos);
}

void CWeekCtrl::Relayout()
{
    m_geometry.Relayout(viewport()->height());
    UpdateScrollBar();
}

void CWeekCtrl::UpdateScrollBar()
{
    // The bar's maximum is the highest position, the last page shown whole.
    m_settingScrollBar = true;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, m_geometry.MaxScrollPos());
    bar->setPageStep(m_geometry.scrollPage);
    bar->setValue(m_geometry.scrollPos);
    m_settingScrollBar = false;
}

void CWeekCtrl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (event->size().height() == 0)
        return;
    Relayout();
    Invalidate();
}

void CWeekCtrl::scrollContentsBy(int, int)
{
    // The scrolled drawing is made anew rather than moved.
    if (m_settingScrollBar)
        return;
    if (m_geometry.SetScrollPos(verticalScrollBar()->value()))
        Invalidate();
}

void CWeekCtrl::SetWeekMode(bool week)
{
    m_days.SetWeekMode(week);
}

void CWeekCtrl::Load(const CShownDays::tRange &range)
{
    m_host.DayCache().Load(range.from, range.to);
}

void CWeekCtrl::Invalidate()
{
    m_dirty = true;
    viewport()->update();
}

void CWeekCtrl::Reload()
{
    const CWaitCursor wait;
    const CConfiguration &config = ViewConfiguration();
    const QDate current = m_host.CurrentDate();
    Load(m_days.Choose(current, config.firstDayOfWeek));
    m_caption = m_days.Caption(config, current);
    Invalidate();
    viewport()->repaint();
}

void CWeekCtrl::ShiftDays(int n)
{
    Load(m_days.Shift(n));
    m_caption = m_days.Caption(ViewConfiguration(), m_host.CurrentDate());
    Invalidate();
}

void CWeekCtrl::StepBack()
{
    Load(m_days.Step(-1));
    m_caption = m_days.Caption(ViewConfiguration(), m_days.First());
    Invalidate();
}

void CWeekCtrl::StepForward()
{
    Load(m_days.Step(+1));
    m_caption = m_days.Caption(ViewConfiguration(), m_days.First());
    Invalidate();
}

bool CWeekCtrl::IsRunningEntryVisible() const
{
    return m_days.IsRunningEntryVisible(m_host.RunningEntryId(), m_host.RunningEntryStart(),
                                        Platform::Clock::now());
}
