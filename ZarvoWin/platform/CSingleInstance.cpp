#include "CSingleInstance.h"

#include "MessageBus.h"
#include "RegisteredMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>

CSingleInstance::CSingleInstance()
    : CSingleInstance(QString::fromUtf16(InstanceName), QString::fromUtf16(RegisteredMessages::AreYouZarvo))
{
}

CSingleInstance::CSingleInstance(const QString &name, const QString &probeName)
    : m_path(QDir(Platform::MessageBus::endpointFolder()).filePath(name + QStringLiteral(".lock")))
    , m_probe(Platform::MessageBus::registerMessage(probeName))
{
}

CSingleInstance::~CSingleInstance() = default;

std::unique_ptr<CSingleInstance> CSingleInstance::ForTray()
{
    return std::make_unique<CSingleInstance>(QString::fromUtf16(TrayInstanceName),
                                             QString::fromUtf16(RegisteredMessages::AreYouZarvoTray));
}

bool CSingleInstance::Acquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: a running copy keeps its lock however long it
    // runs. A lock whose process is gone is taken over by tryLock.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    m_lock.reset();
    m_answered = ProbeRunningCopy();
    return false;
}

bool CSingleInstance::ProbeRunningCopy(int timeoutMs) const
{
    const qint64 self = QCoreApplication::applicationPid();
    const QList<Platform::MessageBus::Answer> answers = Platform::MessageBus::send(m_probe, 0, 0, timeoutMs);
    for (const Platform::MessageBus::Answer &answer : answers) {
        // This process's own endpoints do not count as the running copy.
        if (answer.pid != self && answer.result == static_cast<qint64>(m_probe))
            return true;
    }
    return false;
}
