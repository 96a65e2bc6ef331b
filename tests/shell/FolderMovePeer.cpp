// Moves a folder as the options do, and stops for good in the middle, for
// the tests that kill it there.
//   folder_move_peer <source> <target> <files> [copied|remove]
// copies <files> files (with "copied", everything, the copies checked; with
// "remove", everything, then removes <files> originals), prints "stopped"
// and waits for stdin to end (the test kills it with SIGKILL before).
#include "FolderMovePlan.h"

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const int files = std::atoi(argv[3]);
    const char *mode = argc > 4 ? argv[4] : "";
    const bool removing = std::strcmp(mode, "remove") == 0;
    const bool copied = std::strcmp(mode, "copied") == 0;
    const FolderMovePlan::Stage stopAt = removing ? FolderMovePlan::Stage::RemoveFile : FolderMovePlan::Stage::CopyFile;
    int reached = 0;
    FolderMovePlan::SetFaultHook([&](FolderMovePlan::Stage stage, const QString &) {
        if (!copied && stage == stopAt && reached++ == files)
            stopForGood();
        return false;
    });
    FolderMovePlan plan;
    FolderMovePlan::Move move;
    move.source = QString::fromLocal8Bit(argv[1]);
    move.target = QString::fromLocal8Bit(argv[2]);
    move.entries = {QStringLiteral("Users.sdb"), QStringLiteral("Anne"), QStringLiteral("Bruno")};
    move.lockDatabases = true;
    plan.Add(move);
    if (!plan.Copy())
        return 1;
    if (copied)
        stopForGood();
    // (the setting would be switched here)
    return plan.RemoveOriginals() ? 0 : 1;
}
