#pragma once
// A synchronisation run in another process (sync_run_peer, see
// SyncRunPeer.cpp), killed where it stops: SIGKILL, so that nothing of it
// runs any more. It works in the test's own folders (their environment is
// inherited), at the time the test's clock reads.
#include "ChildProcess.h"
#include "Clock.h"

#include <QString>
#include <gtest/gtest.h>

// `options` as SyncRunPeer.cpp takes them (a review's decision changed).
inline void KillSyncRunPeer(const QString &local, const QString &deviceRoot, int userId, const char *stop,
                            const QStringList &options = {})
{
    // The run reads the test's clock, not the machine's.
    ChildProcess peer(QStringLiteral(SYNC_RUN_PEER),
                      QStringList{local, deviceRoot, QString::number(userId), QString::fromLatin1(stop)} + options,
                      {QStringLiteral("ZARVO_PEER_NOW=") + QString::number(Platform::Clock::now())});
    EXPECT_EQ(peer.Line(std::string("the run to reach its stop ") + stop), QStringLiteral("stopped"))
        << peer.Process().readAllStandardError().toStdString();
    peer.End();
    EXPECT_EQ(peer.Process().exitStatus(), QProcess::CrashExit);
}
