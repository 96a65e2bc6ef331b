#include "CViewTask.h"

#include "CTrayToolTip.h"
#include "CZarvoTrayApp.h"
#include "Clock.h"
#include "WidgetIds.h"

#include <QPainter>

CViewTask::CViewTask(CZarvoTrayApp &app, QWidget *parent)
    : QAbstractButton(parent)
    , m_app(app)
{
    WidgetIds::SetControlId(this, ControlId);
    setMouseTracking(true);
    m_running = QIcon::fromTheme(QStringLiteral("media-playback-start"));
    m_ended = QIcon::fromTheme(QStringLiteral("media-playback-pause"));
    m_tip = new CTrayToolTip(true, this);
    m_tip->KeepAbove(this);
    m_tip->Attach(this, [this](const QPoint &, tToolTipContent &content) {
        CZarvoTrayApp &a = m_app;
        content.title = a.Text(a.LastTask().Id != -1 && !a.LastTask().IsRunning() ? 109 : 108);
        content.description = CTrayToolTip::BuildTaskDescription(a.LastTask(), Platform::Clock::now(), a.Texts(),
                                                                 a.Store(), [&a](int id) { return a.Text(id); });
        return true;
    });
}

QSize CViewTask::sizeHint() const
{
    return QSize(200, fontMetrics().height() * 4 + 8);
}

bool CViewTask::UpdateTaskState()
{
    const int lines = m_app.LastTask().Title.isEmpty() ? 4 : 5;
    const bool changed = lines != m_lines;
    m_lines = lines;
    update();
    return changed;
}

int CViewTask::PreferredHeight()
{
    if (m_baseHeight < 0)
        m_baseHeight = height();
    return m_lines == 5 ? m_baseHeight * 5 / 4 : m_baseHeight;
}

TaskButtonLayout::tInput CViewTask::LayoutInput() const
{
    const tTacheFull &task = m_app.LastTask();
    const TrayTexts &texts = m_app.Texts();
    TaskButtonLayout::tInput in;
    in.client = rect();
    in.labels[0] = texts.Text(TrayTexts::Title);
    in.labels[1] = texts.Text(TrayTexts::Project);
    in.labels[2] = texts.Text(TrayTexts::Activity);
    in.labels[3] = texts.Text(TrayTexts::Start);
    in.labels[4] = texts.Text(TrayTexts::End);
    in.title = task.Title;
    in.project = m_app.Store().GetProjectName(task.IdProjet, texts);
    in.activity = m_app.Store().GetActivityName(task.IdActivite, texts);
    in.startWithDate = texts.DateText(task.Debut, false, true);
    in.startTime = texts.TimeText(task.Debut, false);
    in.running = task.IsRunning();
    if (!in.running) {
        in.endWithDate = texts.DateText(task.Fin, false, true);
        in.endTime = texts.TimeText(task.Fin, false);
    }
    in.runningText = texts.Text(TrayTexts::Running);
    in.dateShown = texts.LongDate();
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics metrics(font());
    in.boldWidth = [boldMetrics](const QString &t) { return boldMetrics.horizontalAdvance(t); };
    in.textWidth = [metrics](const QString &t) { return metrics.horizontalAdvance(t); };
    return in;
}

void CViewTask::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    m_painted.clear();
    m_paintedPicture = Picture::None;
    const tTacheFull &task = m_app.LastTask();
    if (task.Id == -1)
        return;
    QFont bold = font();
    bold.setBold(true);
    p.setPen(Qt::black);
    m_painted = TaskButtonLayout::Lines(LayoutInput());
    for (const TaskButtonLayout::tLine &line : m_painted) {
        p.setFont(bold);
        p.drawText(line.labelBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.label);
        p.setFont(font());
        p.drawText(line.colonBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral(" : "));
        p.drawText(line.valueBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.value);
    }
    m_paintedPicture = task.IsRunning() ? Picture::Running : Picture::Ended;
    (task.IsRunning() ? m_running : m_ended).paint(&p, QRect(width() - 30, 6, 24, 24));
}
