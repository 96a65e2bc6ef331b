// A running tray for the tests between processes: the tray program as it
// starts, with a notification area of its own (so it starts hidden). It
// prints "first" once it runs, or "second" when another copy already ran
// (and ends with 0, as the program does); then "shown" each time its window
// shows. It ends when stdin ends.
//
// With TRAY_PEER_STOP_AFTER set to "recorded" or "ended", it prints that
// word once that step of ending the running entry at a sleep or at the
// session's end is done, and stops there (SIGSTOP) for the test to kill
// it, as a session's end may kill a program at any moment.
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"
#include "FakeTrayIcon.h"
#include "TrayDialogs.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

class ShowWatcher : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            std::printf("shown\n");
            std::fflush(stdout);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QByteArray stopAfter = qgetenv("TRAY_PEER_STOP_AFTER");
    if (!stopAfter.isEmpty()) {
        CZarvoTrayDlg::SetStandbyStepHook([stopAfter](CZarvoTrayDlg::StandbyStep step) {
            const char *name = step == CZarvoTrayDlg::StandbyStep::Recorded ? "recorded" : "ended";
            if (stopAfter != name)
                return;
            std::printf("%s\n", name);
            std::fflush(stdout);
            ::raise(SIGSTOP);
        });
    }
    CZarvoTrayApp tray;
    tray.SetIconFactory([] { return std::make_unique<FakeTrayIcon>(true); });
    TrayDialogs::Install(tray);
    if (!tray.InitInstance(app.arguments())) {
        std::printf("second\n");
        std::fflush(stdout);
        return 0;
    }
    ShowWatcher watcher;
    tray.Window()->installEventFilter(&watcher);
    std::printf("first\n");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app] {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0)
            app.quit();
    });
    return app.exec();
}
