// Runs a device synchronisation as the dialogs do (the analysis into the
// working folder, then the run with the decisions as suggested, overlaps
// given way to), and stops for good where it is told, for the tests that
// kill it there.
//   sync_run_peer <local database> <device folder> <user id> <stop> [<option>...]
// <stop>: "device" once the device's new database is whole but not yet in
// place; "local" once the device is written, before the local database is
// replaced; "drop" once the local database is replaced, before the run's
// record is dropped. There it prints "stopped" and waits for stdin to end
// (the test kills it with SIGKILL before). Without a stop it runs to the
// end. Options:
//   pause           once analysed, prints "analysed" and waits for a line
//                   on stdin before the run;
//   delete=<kind>:<id>  the review's decision for that local row is a
//                   deletion on both sides, whatever was suggested.
// It ends with 0 when the run succeeded, 6 when the local database
// changed meanwhile (251), 5 for any other end.
#include "CDatabaseFile.h"
#include "Clock.h"
#include "DeviceExchange.h"
#include "SyncAnalysis.h"
#include "SyncFileStages.h"
#include "SyncRun.h"
#include "UserSyncSetup.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void stopForGood()
{
    std::printf("stopped\n");
    std::fflush(stdout);
    char c;
    while (read(0, &c, 1) > 0) {
    }
}

class NoSteps : public SyncSteps
{
public:
    void AppendStep(int, int) override {}
    void SetLastStepState(int) override {}
    bool Cancelled() override { return false; }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 5)
        return 2;
    bool fixed = false;
    const qint64 now = qEnvironmentVariable("ZARVO_PEER_NOW").toLongLong(&fixed);
    if (fixed)
        Platform::Clock::setFixedNow(now);
    const QString local = QString::fromLocal8Bit(argv[1]);
    const int userId = std::atoi(argv[3]);
    const char *stop = argv[4];

    DeviceExchange exchange(QString::fromLocal8Bit(argv[2]));
    if (!exchange.Connect() || !exchange.LocateDeviceDatabase())
        return 3;
    const SyncAnalysis::Input in = UserAnalysisInput(exchange, local, userId);
    SyncAnalysis::Result analysis = SyncAnalysis::Run(in, nullptr);
    if (analysis.outcome != SyncAnalysis::Outcome::Differences)
        return 4;
    for (int a = 5; a < argc; ++a) {
        const QByteArray option = argv[a];
        if (option == "pause") {
            std::printf("analysed\n");
            std::fflush(stdout);
            char c = 0;
            while (read(0, &c, 1) > 0 && c != '\n') {
            }
        } else if (option.startsWith("delete=")) {
            const QList<QByteArray> row = option.mid(7).split(':');
            for (int r = 0; row.size() == 2 && r < analysis.list.Count(); ++r) {
                SyncItem *item = analysis.list.Item(r);
                if (item && item->kind == row[0].toInt() && item->localId == row[1].toLongLong())
                    item->action = SyncItem::Delete;
            }
        }
    }

    SyncFileStages::Setup setup = UserRunSetup(in, analysis);
    setup.askOverlap = [](const std::vector<tTacheFull> &) {
        SyncFileStages::OverlapAnswer answer;
        answer.applyToAll = true;
        return answer;
    };
    SyncRun::Stages stages = SyncFileStages::Make(setup);
    if (std::strcmp(stop, "device") == 0) {
        CDatabaseFile::SetFaultHook([](CDatabaseFile::Stage stage) {
            if (stage == CDatabaseFile::Stage::CopyBeforeRename)
                stopForGood();
            return false;
        });
    } else if (std::strcmp(stop, "local") == 0) {
        const auto write = stages.writeDevice;
        stages.writeDevice = [write] {
            if (write())
                stopForGood();
            return false;
        };
    } else if (std::strcmp(stop, "drop") == 0) {
        stages.dropPending = [] { stopForGood(); };
    }
    NoSteps steps;
    switch (SyncRun(stages).Run(steps)) {
    case SyncRun::Outcome::Succeeded:
        return 0;
    case SyncRun::Outcome::LocalChanged:
        return 6;
    default:
        return 5;
    }
}
