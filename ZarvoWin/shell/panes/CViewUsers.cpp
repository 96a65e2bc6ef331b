#include "CViewUsers.h"

#include "CBdD.h"
#include "CComboBoxFiller.h"
#include "CConfiguration.h"
#include "CReadOnlyCB.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString createdPrefix()
{
    return Platform::Texts::get(438);
}
QString modifiedPrefix()
{
    return Platform::Texts::get(208);
}
QString synchronisedPrefix()
{
    return Platform::Texts::get(209);
}

// A stamp read from the database: decimal seconds, 0 when empty or not a
// number.
qint64 stamp(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value > 0 ? value : 0;
}

} // namespace

CViewUsers::CViewUsers(CZarvoWinApp &app, QAction *manageUsers, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_manageUsers(manageUsers)
{
    setObjectName(QString::number(DialogId));
    WidgetIds::SetDialogId(this, DialogId);

    m_manage = new QToolButton(this);
    m_manage->setObjectName(QString::number(ManageButton));
    WidgetIds::SetControlId(m_manage, ManageButton);
    m_manage->setIcon(QIcon::fromTheme(QStringLiteral("system-users")));
    m_manage->setIconSize(QSize(24, 24));
    m_manage->setAutoRaise(true);
    m_manage->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_combo = new CReadOnlyCB(this);
    m_combo->setObjectName(QString::number(UsersCombo));
    WidgetIds::SetControlId(m_combo, UsersCombo);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo->setMinimumContentsLength(8);
    m_group = new QGroupBox(this);
    m_group->setObjectName(QString::number(DatabaseGroup));
    WidgetIds::SetControlId(m_group, DatabaseGroup);
    m_firstLine = new QLabel(m_group);
    m_firstLine->setObjectName(QString::number(FirstLine));
    WidgetIds::SetControlId(m_firstLine, FirstLine);
    m_modifiedLine = new QLabel(m_group);
    m_modifiedLine->setObjectName(QString::number(ModifiedLine));
    WidgetIds::SetControlId(m_modifiedLine, ModifiedLine);
    for (QLabel *line : {m_firstLine, m_modifiedLine}) {
        line->setWordWrap(true);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    // The combo box ends 5 pixels before the right edge, the group box runs
    // 5 pixels inside both edges and its lines 10.
    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(4);
    top->addWidget(m_manage);
    top->addWidget(m_combo, 1);
    auto *lines = new QVBoxLayout(m_group);
    lines->addWidget(m_firstLine);
    lines->addWidget(m_modifiedLine);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addWidget(m_group);
    layout->addStretch(1);

    setFocusProxy(m_combo);
    connect(m_combo, &QComboBox::activated, this, &CViewUsers::OnUserChosen);
    if (m_manageUsers) {
        const auto follow = [this] { m_manage->setEnabled(m_manageUsers->isEnabled()); };
        connect(m_manageUsers, &QAction::changed, m_manage, follow);
        connect(m_manage, &QToolButton::clicked, m_manageUsers, &QAction::trigger);
        follow();
    } else {
        m_manage->setEnabled(false);
    }

    SetTexts();
    FitLineMargins();
}

void CViewUsers::FitLineMargins()
{
    // The group box's own frame counts in the 5 pixels between it and its
    // lines.
    const QMargins frame = m_group->contentsMargins();
    if (QLayout *lines = m_group->layout())
        lines->setContentsMargins(qMax(0, 5 - frame.left()), 2, qMax(0, 5 - frame.right()), 5);
}

void CViewUsers::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        FitLineMargins();
    QWidget::changeEvent(event);
}

void CViewUsers::SetTexts()
{
    m_manage->setToolTip(Platform::Texts::get(419));
    TranslateDialog(this, DialogId);
}

void CViewUsers::Translate()
{
    SetTexts();
    ShowDatabaseLines();
}

void CViewUsers::Refill()
{
    setUpdatesEnabled(false);
    m_combo->clear();
    CComboBoxFiller filler(m_combo);
    m_app.Users().FillUserCombo(nullptr, filler, m_app.Users().GetCurrentId());
    ShowDatabaseLines();
    setUpdatesEnabled(true);
    repaint();
}

void CViewUsers::ShowLastModified(qint64 time)
{
    m_modifiedLine->setText(modifiedPrefix() + m_app.Configuration().FormatDate(time, false, true));
}

qint64 CViewUsers::FileCreationTime(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    const QDateTime birth = info.birthTime();
    return (birth.isValid() ? birth : info.lastModified()).toSecsSinceEpoch();
}

CViewUsers::DatabaseLines CViewUsers::ReadDatabaseLines(const tUsers *user, const CConfiguration &config)
{
    DatabaseLines lines;
    if (!user || user->Id < 0)
        return lines;
    lines.shown = true;
    const QString path = user->GetDatabasePath(true);
    QString lastSync;
    QString lastChange;
    if (!path.isEmpty()) {
        // Read-only: a missing file stays missing.
        CBdD db(path, CBdD::ReadOnly);
        db.GetSyncStamps(lastSync, lastChange);
    }
    if (const qint64 synchronised = stamp(lastSync))
        lines.first = synchronisedPrefix() + config.FormatDate(synchronised, false, true);
    else if (const qint64 created = path.isEmpty() ? 0 : FileCreationTime(path))
        lines.first = createdPrefix() + config.FormatDate(created, false, true);
    lines.modified = modifiedPrefix();
    if (const qint64 changed = stamp(lastChange))
        lines.modified += config.FormatDate(changed, false, true);
    return lines;
}

void CViewUsers::ShowDatabaseLines()
{
    const DatabaseLines lines = ReadDatabaseLines(m_app.Users().Current(), m_app.Configuration());
    m_firstLine->setText(lines.first);
    m_modifiedLine->setText(lines.modified);
    m_firstLine->setVisible(lines.shown);
    m_modifiedLine->setVisible(lines.shown);
}

void CViewUsers::OnUserChosen(int index)
{
    if (index < 0)
        return;
    const int id = m_combo->itemData(index, CComboBoxFiller::DataRole).toInt();
    if (id != m_app.Users().GetCurrentId())
        m_app.SwitchUser(id);
}
