#include <QApplication>
#include <QWidget>

#include "CLanguageSelector.h"
#include "TextsProvider.h"
#include "ZarvoVersion.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quellmark"));
    QApplication::setApplicationName(QStringLiteral("ZarvoTray"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION_TEXT));

    // The interface language, and the texts of the data store in it.
    CLanguageSelector languages;
    languages.ChooseLanguage();
    CLanguageSelector::SetApplication(&languages);
    TextsProvider::Install();
    languages.ApplyRunTimeLocale();

    // The tray companion is not built yet: it shows an empty window.
    QWidget window;
    window.setWindowTitle(QStringLiteral("ZarvoTray"));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
