#include <QApplication>
#include <QMainWindow>

#include "ZarvoVersion.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quellmark"));
    QApplication::setApplicationName(QStringLiteral("Zarvo"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION_TEXT));

    // The main frame is not built yet: the program shows an empty window.
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Zarvo"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
