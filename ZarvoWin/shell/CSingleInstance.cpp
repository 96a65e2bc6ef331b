#include "CSingleInstance.h"

#include "MessageBus.h"
#include "RegisteredMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>

CSingleInstance::CSingleInstance(const QString &name)
    : m_path(QDir(Platform::MessageBus::endpointFolder()).filePath(name + QStringLiteral(".lock")))
{
}

CSingleInstance::~CSingleInstance() = default;

quint32 CSingleInstance::ProbeMessage()
{
    return Platform::MessageBus::registerMessage(RegisteredMessages::AreYouZarvo);
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

bool CSingleInstance::ProbeRunningCopy(int timeoutMs)
{
    const quint32 probe = ProbeMessage();
    const qint64 self = QCoreApplication::applicationPid();
    const QList<Platform::MessageBus::Answer> answers = Platform::MessageBus::send(probe, 0, 0, timeoutMs);
    for (const Platform::MessageBus::Answer &answer : answers) {
        // This process's own endpoints do not count as the running copy.
        if (answer.pid != self && answer.result == static_cast<qint64>(probe))
            return true;
    }
    return false;
}
