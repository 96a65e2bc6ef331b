#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>

class CLanguageSelector;
class QUrl;

// A program's help: the pages of the help language (chosen by the
// language selector), opened in the desktop's browser at the page of a
// help context. Registered once as the help of every window (ContextHelp)
// and of the message boxes' help button. Both programs use it: in the main
// program "Rubriques d'aide" and F1 in the main window open the first page,
// in the tray the tray window's page.
class ApplicationHelp
{
public:
    // Hands an address to the browser; false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl &url)>;

    // Makes `languages` (which outlives the program's windows) the source
    // of the help pages and plugs the help into ContextHelp and the
    // message boxes.
    static void Register(CLanguageSelector &languages);
    // The browser; by default the desktop's (QDesktopServices). Tests set a
    // recording opener; an empty one puts the desktop's back.
    static void SetUrlOpener(UrlOpener opener);

    // Whether the help language's first page is there.
    static bool IsAvailable(const CLanguageSelector &languages);
    // The page the help opens on `context`: its topic's page, else the
    // first page; empty when the help is missing.
    static QString PageFor(const CLanguageSelector &languages, quint32 context);
    // Opens that page; a message tells when the pages are missing or the
    // browser could not be started. False when nothing was opened.
    static bool Open(const CLanguageSelector &languages, quint32 context);
};
