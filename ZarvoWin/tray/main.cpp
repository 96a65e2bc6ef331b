#include <QApplication>
#include <QWidget>

#include "ZarvoVersion.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quellmark"));
    QApplication::setApplicationName(QStringLiteral("ZarvoTray"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION_TEXT));

    // The tray companion is not built yet: it shows an empty window.
    QWidget window;
    window.setWindowTitle(QStringLiteral("ZarvoTray"));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
