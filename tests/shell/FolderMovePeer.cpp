// Moves a folder as the options do, and stops for good in the middle of
// the copy, for the test that kills it there.
//   folder_move_peer <source> <target> <files>
// copies <files> files, prints "copying" and waits for stdin to end (the
// test kills it with SIGKILL before).
#include "FolderMovePlan.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const int files = std::atoi(argv[3]);
    int copied = 0;
    FolderMovePlan::SetFaultHook([&](FolderMovePlan::Stage stage, const QString &) {
        if (stage == FolderMovePlan::Stage::CopyFile && copied++ == files) {
            std::printf("copying\n");
            std::fflush(stdout);
            char c;
            while (read(0, &c, 1) > 0) {
            }
        }
        return false;
    });
    FolderMovePlan plan;
    FolderMovePlan::Move move;
    move.source = QString::fromLocal8Bit(argv[1]);
    move.target = QString::fromLocal8Bit(argv[2]);
    move.lockDatabases = true;
    plan.Add(move);
    return plan.Copy() ? 0 : 1;
}
