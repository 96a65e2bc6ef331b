#include "CDayCtrl.h"

#include "CTrayToolTip.h"
#include "CZarvoTrayApp.h"
#include "Clock.h"
#include "ColorRef.h"
#include "LocalTime.h"
#include "WidgetIds.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor LineColour(125, 175, 255);
const QColor TickColour(100, 100, 100);

} // namespace

CDayCtrl::CDayCtrl(CZarvoTrayApp &app, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_day(Platform::LocalTime::localDate(Platform::Clock::now()))
{
    WidgetIds::SetControlId(this, ControlId);
    setMouseTracking(true);
    m_tip = new CTrayToolTip(true, this);
    m_tip->Attach(this, [this](const QPoint &pos, tToolTipContent &content) { return TipAt(pos, content); });
}

bool CDayCtrl::TipAt(const QPoint &point, tToolTipContent &content) const
{
    const int entry = EntryAt(point);
    if (entry < 0)
        return false;
    content = CTrayToolTip::EntryContent(m_app.TodayTasks()[size_t(entry)], Platform::Clock::now(), m_app.Texts(),
                                         m_app.Store());
    return true;
}

void CDayCtrl::mouseMoveEvent(QMouseEvent *event)
{
    // Once shown, the tip follows the mouse by itself (and hides off the
    // entries).
    tToolTipContent content;
    if (!m_tip->isVisible() && TipAt(event->position().toPoint(), content)) {
        m_tip->SetContent(content);
        m_tip->ShowAt(event->globalPosition().toPoint());
    }
    QWidget::mouseMoveEvent(event);
}

void CDayCtrl::SetDay(const QDate &day)
{
    if (day == m_day)
        return;
    m_day = day;
    update();
}

int CDayCtrl::BandHeight() const
{
    return fontMetrics().height() + 4;
}

DayStripGeometry CDayCtrl::Geometry() const
{
    DayStripGeometry::tInput in;
    in.entries = &m_app.TodayTasks();
    in.now = Platform::Clock::now();
    in.day = m_day;
    in.width = width();
    in.bar = QRect(0, BandHeight(), width(), std::max(0, height() - BandHeight()));
    const QFontMetrics metrics = fontMetrics();
    in.textWidth = [metrics](const QString &t) { return metrics.horizontalAdvance(t); };
    // The locale's time of day without seconds.
    const TrayTexts &texts = m_app.Texts();
    in.timeLabel = [&texts](qint64 time) { return texts.TimeText(time, false); };
    return DayStripGeometry::Compute(in);
}

int CDayCtrl::EntryAt(const QPoint &point) const
{
    const int entry = Geometry().HitTest(point);
    return entry < int(m_app.TodayTasks().size()) ? entry : -1;
}

void CDayCtrl::paintEvent(QPaintEvent *)
{
    if (width() <= 0)
        return;
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int band = BandHeight();
    const QRect bar(0, band, width(), std::max(0, height() - band));
    const int mid = (bar.top() + bar.bottom()) / 2;
    const DayStripGeometry g = Geometry();
    const std::vector<tTacheFull> &entries = m_app.TodayTasks();
    const CProjectStore &store = m_app.Store().Store();

    if (g.NoEntries()) {
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(Qt::black);
        p.drawText(bar, Qt::AlignCenter | Qt::TextSingleLine, m_app.Text(178));
        p.setFont(font());
    }
    for (const DayStripGeometry::tSpan &span : g.Spans()) {
        if (!span.drawn || span.entry >= entries.size())
            continue;
        const tTacheFull &e = entries[span.entry];
        const CProject *project = e.IdProjet == -1 ? nullptr : store.GetNode(e.IdProjet);
        const bool activityKnown = e.IdActivite != -1 && store.GetActivity(e.IdActivite);
        const QRect whole(QPoint(span.left, bar.top()), QPoint(span.right - 1, bar.bottom()));
        if (project && activityKnown) {
            p.fillRect(QRect(QPoint(whole.left(), whole.top()), QPoint(whole.right(), mid - 1)),
                       ColorRefToQColor(project->GetColor()));
            p.fillRect(QRect(QPoint(whole.left(), mid), whole.bottomRight()),
                       ColorRefToQColor(store.GetActivityColor(e.IdActivite)));
        } else if (project) {
            p.fillRect(whole, ColorRefToQColor(project->GetColor()));
        } else {
            p.fillRect(whole, activityKnown ? ColorRefToQColor(store.GetActivityColor(e.IdActivite)) : QColor(Qt::white));
        }
        p.setPen(LineColour);
        if (span.startLine)
            p.drawLine(span.left, bar.top(), span.left, bar.bottom());
        if (span.endLine)
            p.drawLine(span.right, bar.top(), span.right, bar.bottom());
    }
    for (const DayStripGeometry::tTick &tick : g.Ticks()) {
        p.setPen(QPen(TickColour, 1, Qt::DotLine));
        p.drawLine(tick.x, bar.top(), tick.x, bar.bottom());
        if (tick.labelShown) {
            p.setPen(Qt::black);
            p.drawText(QRect(tick.labelBox.left(), 0, tick.labelBox.width(), band),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, tick.label);
        }
    }
    p.setPen(LineColour);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawLine(0, bar.top(), width() - 1, bar.top());
}
