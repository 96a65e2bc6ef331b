// The main program's first run starts the tray program itself: a real
// process, found by the probe the tray answers, then ended by the test.
#include "AppFixture.h"
#include "CConfiguration.h"
#include "ChildProcess.h"
#include "MessageBus.h"
#include "RegisteredMessages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

namespace {
constexpr int Patience = 30000;
}

class TrayLaunchTest : public AppFixture
{
};

TEST_F(TrayLaunchTest, TheFirstRunStartsTheInstalledTrayProgram)
{
    Platform::Settings().setString(u"Config", u"Rep", u"Data", TestFolders::root() + QStringLiteral("/gone/"));
    app->Configuration().Load();
    int wizards = 0;
    app->Startup().runFirstStartWizard = [&] { ++wizards; };
    app->SetProgramFolder(QStringLiteral(PROGRAM_FOLDER));
    app->SetTrayLauncher(&CZarvoWinApp::StartProgramDetached);
    app->RunFirstStart();
    EXPECT_EQ(wizards, 1);

    // The tray answers its probe once it runs.
    const quint32 probe = Platform::MessageBus::registerMessage(RegisteredMessages::AreYouZarvoTray);
    qint64 pid = 0;
    QDeadlineTimer deadline(Patience);
    while (!pid && !deadline.hasExpired()) {
        for (const Platform::MessageBus::Answer &answer : Platform::MessageBus::send(probe, 0, 0, 200))
            if (answer.result == qint64(probe) && answer.pid != QCoreApplication::applicationPid())
                pid = answer.pid;
        if (!pid)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    ASSERT_NE(pid, 0) << "the tray program did not start";
    EXPECT_TRUE(ChildProcess::EndOther(pid, "the tray started by the first run"));
}
