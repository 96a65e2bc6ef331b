// A second process for the message bus tests.
//   bus_peer number NAME       prints the number NAME registers to
//   bus_peer answer NAME       listens; answers NAME with its number, prints
//                              every message it gets; ends on stdin's end
//   bus_peer post NAME W L     posts NAME once and ends
//   bus_peer deaf              listens but never takes a connection; ends
//                              on stdin's end
#include "MessageBus.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

using Platform::MessageBus;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    const quint32 number = MessageBus::registerMessage(args.value(2));

    if (mode == QStringLiteral("number")) {
        std::printf("%u\n", number);
        return 0;
    }
    if (mode == QStringLiteral("post")) {
        MessageBus::post(number, args.value(3).toULongLong(), args.value(4).toLongLong());
        return 0;
    }

    MessageBus bus;
    if (!bus.listen())
        return 2;
    std::printf("ready %lld\n", static_cast<long long>(::getpid()));
    std::fflush(stdout);

    if (mode == QStringLiteral("deaf")) {
        // Blocks outside any event loop until the test lets go of stdin.
        char c;
        while (::read(STDIN_FILENO, &c, 1) > 0) {
        }
        return 0;
    }

    bus.setHandler([number](const MessageBus::Message &m) -> qint64 {
        std::printf("got %u %llu %lld\n", m.message, static_cast<unsigned long long>(m.wParam),
                    static_cast<long long>(m.lParam));
        std::fflush(stdout);
        return m.message == number ? number : 0;
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app] {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0)
            app.quit();
    });
    return app.exec();
}
