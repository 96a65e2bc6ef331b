#include "CViewResume.h"

#include "CMyMFCButton.h"
#include "CTrayToolTip.h"
#include "CZarvoTrayApp.h"
#include "Clock.h"
#include "WidgetIds.h"

#include <QIcon>

namespace {

QIcon pictureIcon(CViewResume::TaskPicture picture)
{
    switch (picture) {
    case CViewResume::TaskPicture::Running: return QIcon::fromTheme(QStringLiteral("media-playback-start"));
    case CViewResume::TaskPicture::Ended: return QIcon::fromTheme(QStringLiteral("media-playback-pause"));
    case CViewResume::TaskPicture::None: break;
    }
    return QIcon::fromTheme(QStringLiteral("dialog-information"));
}

} // namespace

CViewResume::CViewResume(CZarvoTrayApp &app, QWidget *trayWindow, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
{
    QFont bold = font();
    bold.setBold(true);
    QFont big = bold;
    big.setPointSizeF(bold.pointSizeF() > 0 ? bold.pointSizeF() * 2 : 18);

    m_user = new CMyMFCButton(this);
    WidgetIds::SetControlId(m_user, UserButtonId);
    m_user->setFont(bold);
    QPalette link = m_user->palette();
    // The link colour 0x00CB470E.
    link.setColor(QPalette::ButtonText, QColor(0x0E, 0x47, 0xCB));
    m_user->setPalette(link);
    m_user->setForegroundRole(QPalette::ButtonText);
    m_user->setCursor(Qt::PointingHandCursor);
    connect(m_user, &QToolButton::clicked, this, &CViewResume::chooseUser);

    m_task = new CMyMFCButton(this);
    WidgetIds::SetControlId(m_task, TaskButtonId);
    m_task->setFont(big);
    m_task->setIconSize(QSize(24, 24));
    connect(m_task, &QToolButton::clicked, this, &CViewResume::pauseOrResume);

    m_today = new CMyMFCButton(this);
    WidgetIds::SetControlId(m_today, TodayButtonId);
    m_today->setFont(big);
    m_today->setIconSize(QSize(24, 24));
    m_today->setIcon(QIcon::fromTheme(QStringLiteral("view-calendar-day")));
    m_today->SetBackgroundWindow(trayWindow);
    m_today->SetClickable(false);

    // The panel's own size: room for the user's name and two totals of
    // hours and minutes, at the fonts it shows them in.
    m_task->setIcon(pictureIcon(TaskPicture::Running));
    m_task->setText(QStringLiteral("00:00"));
    m_user->setText(QStringLiteral("MMMMMMMMMMMM"));
    const QSize value = m_task->sizeHint();
    const int userHeight = m_user->sizeHint().height();
    const int width = std::max(2 * value.width() + 3 * m_margin, m_user->sizeHint().width() + 2 * m_margin);
    m_recorded = QSize(width, m_margin + userHeight + m_margin + value.height() + m_margin);
    m_task->setText(QString());
    m_user->setText(QString());
    const tGeometry g = Geometry(width, m_margin, m_margin, userHeight, 2 * m_margin + userHeight, value.height());
    m_user->setGeometry(g.user);
    m_task->setGeometry(g.task);
    m_today->setGeometry(g.today);
    resize(m_recorded);
    Retranslate();

    // The tray's tips, made when they show: the newest entry's details and
    // the day's count and total, above their button near the screen's
    // bottom.
    const auto text = [this](int id) { return m_app.Text(id); };
    auto *taskTip = new CTrayToolTip(true, m_task);
    taskTip->KeepAbove(m_task);
    taskTip->Attach(m_task, [this, text](const QPoint &, tToolTipContent &content) {
        content.title = m_app.Text(182);
        content.description = CTrayToolTip::BuildTaskDescription(m_app.LastTask(), Platform::Clock::now(),
                                                                 m_app.Texts(), m_app.Store(), text);
        return true;
    });
    auto *todayTip = new CTrayToolTip(true, m_today);
    todayTip->KeepAbove(m_today);
    todayTip->Attach(m_today, [this, text](const QPoint &, tToolTipContent &content) {
        content.title = m_app.Text(181);
        content.description =
            CTrayToolTip::BuildDaySummary(m_app.TodayTasks().size(), m_app.TodayText(), m_app.Texts(), text);
        return true;
    });
}

void CViewResume::Retranslate()
{
    m_task->setToolTip(m_app.Text(182));
    m_today->setToolTip(m_app.Text(181));
    m_user->setToolTip(m_app.Text(114));
}

CViewResume::tGeometry CViewResume::Geometry(int clientWidth, int m, int userTop, int userHeight, int valuesTop,
                                             int valuesHeight)
{
    tGeometry g;
    const int half = std::max(0, (clientWidth - 3 * m) / 2);
    g.user = QRect(m, userTop, std::max(0, clientWidth - 2 * m), userHeight);
    g.task = QRect(m, valuesTop, half, valuesHeight);
    g.today = QRect(half + 2 * m, valuesTop, half, valuesHeight);
    return g;
}

CViewResume::TaskPicture CViewResume::PictureFor(qint64 lastStart, qint64 lastEnd, bool known, qint64 now)
{
    if (!known || lastStart > now || lastEnd > now)
        return TaskPicture::None;
    return lastEnd == 0 ? TaskPicture::Running : TaskPicture::Ended;
}

void CViewResume::resizeEvent(QResizeEvent *)
{
    const tGeometry g = Geometry(width(), m_margin, m_user->y(), m_user->height(), m_task->y(), m_task->height());
    m_user->setGeometry(g.user);
    m_task->setGeometry(g.task);
    m_today->setGeometry(g.today);
}

bool CViewResume::Refresh()
{
    bool changed = !m_refreshed;
    m_refreshed = true;
    const QString taskText = m_blank ? QStringLiteral(" ") : m_app.LastTaskText();
    const QString todayText = m_blank ? QStringLiteral(" ") : m_app.TodayText();
    if (m_shownTask != taskText) {
        m_shownTask = taskText;
        m_task->setText(m_shownTask);
        changed = true;
    }
    if (m_shownToday != todayText) {
        m_shownToday = todayText;
        m_today->setText(m_shownToday);
        changed = true;
    }
    const tTacheFull &last = m_app.LastTask();
    const TaskPicture picture = PictureFor(last.Debut, last.Fin, last.Id != -1 && !m_blank, Platform::Clock::now());
    if (changed || picture != m_picture) {
        m_picture = picture;
        m_task->setIcon(pictureIcon(picture));
        changed = true;
    }
    if (m_shownUser != m_app.User().userName) {
        m_shownUser = m_app.User().userName;
        m_user->setText(m_shownUser);
        changed = true;
    }
    if (changed)
        update();
    return changed;
}
