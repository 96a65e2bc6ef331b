// What a test reads of the running main program through its driver: the
// running entry the application keeps, the undo history, and the entries
// its day cache holds for the views.
#include "CAnnulation.h"
#include "CDayCache.h"
#include "CSplashScreenEx.h"
#include "CZarvoWinApp.h"
#include "ProgramDriver.h"
#include "tTacheParams.h"

#include <QApplication>
#include <QDate>
#include <QMainWindow>

namespace {

QString entryText(const tTacheFull &e)
{
    return e.Id == -1 ? QStringLiteral("none") : QStringLiteral("%1 %2 %3").arg(e.Id).arg(e.Debut).arg(e.Fin);
}

//   ready              -> 1 once the main window shows, the splash gone
//   running            -> "ID START END" of the running entry, or none
//   running-start      -> the running entry's start, or none
//   undo               -> 1 when the undo history can undo, else 0
//   day YYYY-MM-DD     -> "ID:END ..." of the day's cached entries, or
//                         uncached
bool probe(const QStringList &words, QString &answer)
{
    CZarvoWinApp *app = CZarvoWinApp::Instance();
    const QString key = words.value(0);
    if (!app || (key != u"running" && key != u"running-start" && key != u"undo" && key != u"day" && key != u"ready"))
        return false;
    if (key == u"ready") {
        // Started once the main window shows and the splash has gone.
        bool window = false;
        bool splash = false;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            window = window || (top->isVisible() && qobject_cast<QMainWindow *>(top));
            splash = splash || (top->isVisible() && qobject_cast<CSplashScreenEx *>(top));
        }
        answer = window && !splash ? QStringLiteral("1") : QStringLiteral("0");
    } else if (key == u"running") {
        answer = entryText(app->CurrentEntry().Entry);
    } else if (key == u"running-start") {
        const tTacheFull &e = app->CurrentEntry().Entry;
        answer = e.Id == -1 ? QStringLiteral("none") : QString::number(e.Debut);
    } else if (key == u"undo") {
        answer = app->Annulation().CanUndo() ? QStringLiteral("1") : QStringLiteral("0");
    } else {
        const QDate day = QDate::fromString(words.value(1), Qt::ISODate);
        if (!app->DayCache().IsCached(day)) {
            answer = QStringLiteral("uncached");
            return true;
        }
        QStringList entries;
        for (const tTacheParams &e : app->DayCache().GetDay(day))
            entries << QStringLiteral("%1:%2").arg(e.Id).arg(e.Fin);
        answer = entries.join(u' ');
    }
    return true;
}

const bool registered = (ProgramDriver::AddProbe(probe), true);

} // namespace
