#pragma once
#include <QObject>
#include <QString>

#include <memory>

namespace Platform {

// The machine's power and session events, as logind tells them over the
// system bus: about to sleep, woken up, the session really ending. While
// it follows them it holds a delay lock, so that the machine waits (within
// logind's delay) until the program let it go with Release once its work
// for the sleep is done; the lock is taken again on waking. Where logind
// or the system bus is absent, nothing is followed and no signal comes.
//
// The environment variable ZARVO_POWER_BUS=session makes it follow the
// session bus instead, from any sender, for tests that send the signals
// themselves.
class PowerEvents : public QObject
{
    Q_OBJECT
public:
    explicit PowerEvents(QObject *parent = nullptr);
    ~PowerEvents() override;

    // Whether the events are followed.
    bool IsFollowing() const { return m_following; }
    // Whether a delay lock is held now.
    bool HoldsDelay() const;
    // Lets a sleep or shut-down that waits for this program go on.
    void Release();

signals:
    void suspending();
    void resumed();
    // The session ends for good (never a question that can still be
    // cancelled).
    void sessionEnding();

private slots:
    void OnPrepareForSleep(bool starting);
    void OnPrepareForShutdown(bool starting);

private:
    void TakeDelay();

    struct tPrivate;
    std::unique_ptr<tPrivate> d;
    bool m_following = false;
};

} // namespace Platform
