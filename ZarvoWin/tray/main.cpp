#include <QApplication>
#include <QIcon>

#include "ApplicationHelp.h"
#include "CLanguageSelector.h"
#include "CZarvoTrayApp.h"
#include "ImageList.h"
#include "TextsProvider.h"
#include "TrayDialogs.h"
#include "ZarvoVersion.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quellmark"));
    QApplication::setApplicationName(QStringLiteral("ZarvoTray"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("zarvotray"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/zarvo.svg")));
    // The window only hides when closed; "Quitter" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ImageList::UseFallbackIconTheme();

    // The interface language, and the texts of the data store in it.
    CLanguageSelector languages;
    languages.ChooseLanguage();
    languages.ChooseHelpLanguage();
    CLanguageSelector::SetApplication(&languages);
    TextsProvider::Install();
    // The help pages of the help language, opened in the browser.
    ApplicationHelp::Register(languages);
    languages.ApplyRunTimeLocale();

    CZarvoTrayApp tray(&languages);
    TrayDialogs::Install(tray);
    // A second copy wakes the running one and ends here.
    if (!tray.InitInstance(app.arguments()))
        return 0;
    return app.exec();
}
