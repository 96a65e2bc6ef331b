#include "PowerEvents.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

namespace Platform {

namespace {

const QString Service = QStringLiteral("org.freedesktop.login1");
const QString Path = QStringLiteral("/org/freedesktop/login1");
const QString Interface = QStringLiteral("org.freedesktop.login1.Manager");

bool onSessionBus()
{
    return qEnvironmentVariable("ZARVO_POWER_BUS") == QStringLiteral("session");
}

} // namespace

struct PowerEvents::tPrivate
{
    QDBusConnection bus{QString()};
    // The delay lock: logind waits for it to be closed.
    QDBusUnixFileDescriptor delay;
};

PowerEvents::PowerEvents(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<tPrivate>())
{
    const bool session = onSessionBus();
    d->bus = session ? QDBusConnection::sessionBus() : QDBusConnection::systemBus();
    if (!d->bus.isConnected())
        return;
    if (!session) {
        // No logind: nothing to follow.
        const QDBusConnectionInterface *names = d->bus.interface();
        if (!names || !names->isServiceRegistered(Service).value())
            return;
    }
    // On the test bus the signals come from whoever sends them.
    const QString sender = session ? QString() : Service;
    m_following = d->bus.connect(sender, Path, Interface, QStringLiteral("PrepareForSleep"), this,
                                 SLOT(OnPrepareForSleep(bool)));
    m_following = d->bus.connect(sender, Path, Interface, QStringLiteral("PrepareForShutdown"), this,
                                 SLOT(OnPrepareForShutdown(bool)))
        && m_following;
    if (m_following)
        TakeDelay();
}

PowerEvents::~PowerEvents() = default;

bool PowerEvents::HoldsDelay() const
{
    return d->delay.isValid();
}

void PowerEvents::TakeDelay()
{
    if (d->delay.isValid())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:shutdown") << QStringLiteral("Zarvo")
         << QStringLiteral("Ending the running time entry") << QStringLiteral("delay");
    // A short wait: a bus without logind answers at once with an error.
    const QDBusReply<QDBusUnixFileDescriptor> reply = d->bus.call(call, QDBus::Block, 2000);
    if (reply.isValid())
        d->delay = reply.value();
}

void PowerEvents::Release()
{
    // Closing our copy of the descriptor lets logind go on.
    d->delay = QDBusUnixFileDescriptor();
}

void PowerEvents::OnPrepareForSleep(bool starting)
{
    if (starting) {
        emit suspending();
        Release();
    } else {
        TakeDelay();
        emit resumed();
    }
}

void PowerEvents::OnPrepareForShutdown(bool starting)
{
    if (!starting)
        return;
    emit sessionEnding();
    Release();
}

} // namespace Platform
