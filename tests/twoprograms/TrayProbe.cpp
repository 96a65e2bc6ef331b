// What a test reads of, and does in, the running tray program through its
// driver: the newest entry it shows, its window's title, the message it
// shows in place of its views, its favourites, a poll, a click on a
// favourite's row.
#include "COwnerDrawListBox.h"
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"
#include "ProgramDriver.h"
#include "TrayCommands.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTest>
#include <QTimerEvent>

namespace {

//   ready              -> 1 once its window is made
//   last               -> "ID START END" of the newest entry it read
//   title              -> the window's title
//   message            -> the message shown in place of the views, or none
//   favourites         -> the favourites' ids, in the list's order
//   day                -> "ID:END ..." of today's entries (the day strip's)
//   today              -> today's total
//   poll               -> ok once the window's poll timer has run, as
//                         it does every 10 seconds
//   click-favourite ID -> ok when the favourite's row was clicked, else none
bool probe(const QStringList &words, QString &answer)
{
    CZarvoTrayApp *app = CZarvoTrayApp::Application();
    const QString key = words.value(0);
    if (!app)
        return false;
    if (key == u"ready") {
        answer = app->Window() ? QStringLiteral("1") : QStringLiteral("0");
    } else if (key == u"last") {
        const tTacheFull &e = app->LastTask();
        answer = QStringLiteral("%1 %2 %3").arg(e.Id).arg(e.Debut).arg(e.Fin);
    } else if (key == u"title") {
        answer = app->Title();
    } else if (key == u"message") {
        answer = app->IsCompact() ? app->CompactMessage() : QStringLiteral("none");
    } else if (key == u"favourites") {
        QStringList ids;
        for (const DataItems &item : app->Favourites()) {
            if (!item.IsGroup())
                ids << QString::number(item.Id);
        }
        answer = ids.join(u' ');
    } else if (key == u"day") {
        // Today's entries, as the day strip draws them.
        QStringList entries;
        for (const tTacheFull &e : app->TodayTasks())
            entries << QStringLiteral("%1:%2").arg(e.Id).arg(e.Fin);
        answer = entries.join(u' ');
    } else if (key == u"today") {
        answer = app->TodayText();
    } else if (key == u"poll") {
        // The window's own 10-second timer, fired now.
        answer = QStringLiteral("none");
        QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
        if (!app->Window() || !dispatcher)
            return true;
        for (const QAbstractEventDispatcher::TimerInfo &timer : dispatcher->registeredTimers(app->Window())) {
            if (timer.interval != CZarvoTrayApp::PollIntervalMs)
                continue;
            QTimerEvent tick(timer.timerId);
            QCoreApplication::sendEvent(app->Window(), &tick);
            answer = QStringLiteral("ok");
            break;
        }
    } else if (key == u"click-favourite") {
        answer = QStringLiteral("none");
        auto *list = qobject_cast<COwnerDrawListBox *>(ProgramDriver::FindControl(TrayCommands::FavouritesList));
        if (!list || !list->isVisible())
            return true;
        const int id = words.value(1).toInt();
        for (int row = 0; row < list->Model().RowCount(); ++row) {
            if (list->Model().IsHeader(row) || list->Model().StartId(row) != id)
                continue;
            list->SetTopRow(row);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->RowRect(row).center());
            answer = QStringLiteral("ok");
            break;
        }
    } else {
        return false;
    }
    return true;
}

const bool registered = (ProgramDriver::AddProbe(probe), true);

} // namespace
