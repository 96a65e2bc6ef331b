#include "CZarvoWinApp.h"

#include <QApplication>

#include "ZarvoVersion.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quellmark"));
    QApplication::setApplicationName(QStringLiteral("Zarvo"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION_TEXT));

    CZarvoWinApp zarvo;
    zarvo.Startup().showSplash = [&zarvo] { return zarvo.ShowSplash(); };
    if (!zarvo.InitInstance())
        return 0;
    return app.exec();
}
