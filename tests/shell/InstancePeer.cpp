// A copy of the main program for the single-instance tests.
//   instance_peer run    starts like the program; prints "first" and stays
//                        (minimised) until stdin ends, printing "forward"
//                        each time it is brought forward; a second copy
//                        prints "second" and ends with 3
//   instance_peer deaf   holds the lock and listens on the bus but never
//                        answers; prints "ready"; ends on stdin's end
#include "CSingleInstance.h"
#include "CZarvoWinApp.h"
#include "MessageBus.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

class WatchedWindow : public QMainWindow
{
protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
            std::printf("forward\n");
            std::fflush(stdout);
        }
        QMainWindow::changeEvent(event);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quellmark"));
    QApplication::setApplicationName(QStringLiteral("Zarvo"));
    const QString mode = app.arguments().value(1);

    if (mode == QStringLiteral("deaf")) {
        CSingleInstance lock;
        if (!lock.Acquire())
            return 3;
        Platform::MessageBus bus;
        bus.listen();
        std::printf("ready\n");
        std::fflush(stdout);
        // Blocks outside any event loop: the bus never answers.
        char c;
        while (::read(STDIN_FILENO, &c, 1) > 0) {
        }
        return 0;
    }

    CZarvoWinApp zarvo;
    zarvo.SetMainWindowFactory([] { return new WatchedWindow; });
    if (!zarvo.InitInstance()) {
        std::printf("second\n");
        std::fflush(stdout);
        return 3;
    }
    zarvo.MainWindow()->showMinimized();
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
