// What a test reads of, and does in, the running main program through its
// driver: the running entry the application keeps, the undo history, the
// entries its day cache holds for the views, the window that has the
// keyboard; a change of user, the entry dialog on a stored entry, a drag in
// the week view, a key pressed where the window system sends keys.
#include "CAnnulation.h"
#include "CBdD.h"
#include "CDayCache.h"
#include "CSplashScreenEx.h"
#include "CWeekCtrl.h"
#include "CWeekGeometry.h"
#include "CZarvoWinApp.h"
#include "LocalTime.h"
#include "ProgramDriver.h"
#include "tTacheParams.h"

#include <QApplication>
#include <QDate>
#include <QMainWindow>
#include <QMetaEnum>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

namespace {

void mouse(QWidget *to, QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, p, to->mapToGlobal(p), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &event);
}

// A drag with the left button in the week view, as a hand makes it: over
// the start, pressed, moved in steps, let go.
QString drag(qint64 from, qint64 to)
{
    CWeekCtrl *view = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        for (CWeekCtrl *v : top->findChildren<CWeekCtrl *>()) {
            if (v->isVisible())
                view = v;
        }
    }
    if (!view)
        return QStringLiteral("none");
    QWidget *viewport = view->viewport();
    viewport->grab(); // laid out as shown
    const QDate day = Platform::LocalTime::localDate(from);
    int column = -1;
    for (int i = 0; i < view->DayCount(); ++i) {
        if (view->ShownDays().Day(i).Date == day)
            column = i;
    }
    const int width = viewport->width();
    const int x = column < 0 ? -1
                             : CWeekGeometry::ColumnLeft(column, width, view->DayCount())
            + CWeekGeometry::ColumnWidth(width, view->DayCount()) / 2;
    const QPoint start(x, view->Geometry().ClientRow(from));
    const QPoint end(x, view->Geometry().ClientRow(to));
    const QRect grid(0, view->Geometry().headerHeight, width, viewport->height() - view->Geometry().headerHeight);
    if (column < 0 || !grid.contains(start) || !grid.contains(end))
        return QStringLiteral("hidden");
    mouse(viewport, QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    mouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    const QPoint step = (end - start) / 4;
    for (int i = 1; i < 4; ++i)
        mouse(viewport, QEvent::MouseMove, start + step * i, Qt::NoButton, Qt::LeftButton);
    mouse(viewport, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
    mouse(viewport, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    return QStringLiteral("ok");
}

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
//   switch-user ID     -> ok once user ID is the current one, else refused
//   edit-entry ID      -> ok once the entry dialog on the stored entry ID
//                         closed (as the views open it: the views refresh
//                         after OK), none when there is no such entry
//   drag FROM TO       -> ok once the mouse dragged, in the week view's
//                         column of FROM's day, from the row of the instant
//                         FROM to the row of TO (hidden when a row is not
//                         on screen, none without the view)
//   active             -> the class of the window that has the keyboard
//                         (as the window system told), or none
//   press KEYNAME      -> ok once the key (Qt key name: Escape) went where
//                         the window system sends keys: to the window that
//                         has the keyboard; none when no window has it
bool probe(const QStringList &words, QString &answer)
{
    CZarvoWinApp *app = CZarvoWinApp::Instance();
    const QString key = words.value(0);
    static const QStringList keys{QStringLiteral("running"),    QStringLiteral("running-start"),
                                  QStringLiteral("undo"),       QStringLiteral("day"),
                                  QStringLiteral("ready"),      QStringLiteral("switch-user"),
                                  QStringLiteral("edit-entry"), QStringLiteral("drag"),
                                  QStringLiteral("active"),     QStringLiteral("press")};
    if (!app || !keys.contains(key))
        return false;
    if (key == u"active") {
        const QWidget *active = QApplication::activeWindow();
        answer = active ? QString::fromLatin1(active->metaObject()->className()) : QStringLiteral("none");
    } else if (key == u"press") {
        QWindow *focus = QGuiApplication::focusWindow();
        const int code =
            QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + words.value(1)).toLatin1().constData());
        if (!focus || code < 0) {
            answer = QStringLiteral("none");
            return true;
        }
        QTest::keyClick(focus, Qt::Key(code));
        answer = QStringLiteral("ok");
    } else if (key == u"switch-user") {
        answer = app->SwitchUser(words.value(1).toInt()) ? QStringLiteral("ok") : QStringLiteral("refused");
    } else if (key == u"edit-entry") {
        tTacheFull entry;
        if (!CBdD().GetTimeEntry(entry, words.value(1).toInt())) {
            answer = QStringLiteral("none");
            return true;
        }
        if (app->Windows().entryDialog && app->Windows().entryDialog(entry))
            app->RefreshViews();
        answer = QStringLiteral("ok");
    } else if (key == u"drag") {
        answer = drag(words.value(1).toLongLong(), words.value(2).toLongLong());
    } else if (key == u"ready") {
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
