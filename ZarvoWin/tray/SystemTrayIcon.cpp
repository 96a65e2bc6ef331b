#include "SystemTrayIcon.h"

#include <QCursor>
#include <QSystemTrayIcon>

SystemTrayIcon::SystemTrayIcon(QObject *parent)
    : TrayIcon(parent)
    , m_icon(std::make_unique<QSystemTrayIcon>())
{
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit leftClicked();
        else if (reason == QSystemTrayIcon::Context)
            emit rightClicked(QCursor::pos());
    });
}

SystemTrayIcon::~SystemTrayIcon() = default;

bool SystemTrayIcon::IsAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::Show(const QIcon &icon, const QString &tip)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->show();
}

void SystemTrayIcon::SetTip(const QString &tip)
{
    m_icon->setToolTip(tip);
}

void SystemTrayIcon::Hide()
{
    m_icon->hide();
}
