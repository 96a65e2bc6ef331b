#include "CZarvoWinApp.h"
#include "ShellWindows.h"

#include <QApplication>
#include <QIcon>

#include "ApplicationHelp.h"
#include "CCalendarHost.h"
#include "CLanguageSelector.h"
#include "ForecastWindows.h"
#include "COptionsDialog.h"
#include "RecordEditorWindows.h"
#include "ReportRegistration.h"
#include "TextsProvider.h"
#include "TimeEntryWindows.h"
#include "ZarvoVersion.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quellmark"));
    QApplication::setApplicationName(QStringLiteral("Zarvo"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("zarvo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/zarvo.svg")));

    // The interface language; the data store's texts follow it.
    CLanguageSelector languages;
    CLanguageSelector::SetApplication(&languages);
    TextsProvider::Install();
    ApplicationHelp::Register(languages);

    CZarvoWinApp zarvo;
    COptionsDialog::Register(zarvo);
    zarvo.Startup().chooseLanguage = [&languages] {
        languages.ChooseLanguage();
        languages.ApplyRunTimeLocale();
        languages.ChooseHelpLanguage();
    };
    zarvo.Startup().showSplash = [&zarvo] { return zarvo.ShowSplash(); };
    RegisterShellWindows(zarvo, languages);
    RegisterReports(zarvo);
    RegisterTimeEntryWindows(zarvo);
    zarvo.Startup().openCalendar = [&zarvo] { CCalendarHost::OpenCalendar(zarvo); };
    RegisterForecastWindows(zarvo);
    RegisterRecordEditors(zarvo);
    // The first run starts the tray program installed beside this one.
    zarvo.SetTrayLauncher(&CZarvoWinApp::StartProgramDetached);
    if (!zarvo.InitInstance())
        return 0;
    return app.exec();
}
