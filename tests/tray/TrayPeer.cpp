// The tray's side of the two-program tests: a process of its own, set up as
// the tray is, that opens the user's database for each command as the tray
// does for each action. It reads one command a line and answers each with
// one line:
//   now T                 the clock reads T from now on            -> ok
//   busy MS               later connections wait MS for a lock     -> ok
//   start FAV T TITLE...  a new running entry from T (FAV -1: none) -> 1 or 0
//   stop ID T             ends entry ID at T                       -> 1 or 0
//   reopen ID T           runs again entry ID that a stop ended at T -> 1 or 0
//   last                  the newest entry: "ID START END"
//   modif                 Infos 'Modif', "<failed>" when unread
//   post NAME             posts the registered message NAME        -> ok
//   quit                  ends
#include "CAppData.h"
#include "CTrayDatabase.h"
#include "CTrayProjectStore.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "MessageBus.h"

#include <QCoreApplication>
#include <QStringList>

#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 2)
        return 2;
    const QString path = app.arguments().at(1);
    CTrayProjectStore store;
    CTrayDatabase::SetUpProcess(store);
    CTrayDatabase::SetLogOn(true);
    qint64 now = 0;
    Platform::Clock::setNowSource([&now] { return now; });

    std::string line;
    while (std::getline(std::cin, line)) {
        const QStringList words = QString::fromStdString(line).split(u' ');
        const QString command = words.value(0);
        QString answer;
        if (command == u"now") {
            now = words.value(1).toLongLong();
            answer = QStringLiteral("ok");
        } else if (command == u"busy") {
            SQLite::CmyDataBase::SetBusyTimeoutMs(words.value(1).toInt());
            answer = QStringLiteral("ok");
        } else if (command == u"start") {
            tTacheFull task;
            task.Debut = words.value(2).toLongLong();
            task.Title = words.mid(3).join(u' ');
            CTrayDatabase db(path);
            answer = db.StartTask(task, words.value(1).toInt()) ? QStringLiteral("1") : QStringLiteral("0");
        } else if (command == u"stop" || command == u"reopen") {
            CTrayDatabase db(path);
            const int id = words.value(1).toInt();
            const qint64 t = words.value(2).toLongLong();
            const bool ok = command == u"stop" ? db.StopTask(id, t) : db.ReopenTask(id, t);
            answer = ok ? QStringLiteral("1") : QStringLiteral("0");
        } else if (command == u"last") {
            CTrayDatabase db(path);
            tTacheFull last;
            db.GetLastTask(last);
            answer = QStringLiteral("%1 %2 %3").arg(last.Id).arg(last.Debut).arg(last.Fin);
        } else if (command == u"modif") {
            CTrayDatabase db(path);
            QString stamp;
            answer = db.GetModifStamp(stamp) ? stamp : QStringLiteral("<failed>");
        } else if (command == u"post") {
            Platform::MessageBus::post(Platform::MessageBus::registerMessage(words.mid(1).join(u' ')), 0, 0);
            answer = QStringLiteral("ok");
        } else if (command == u"quit") {
            break;
        } else {
            answer = QStringLiteral("?");
        }
        std::cout << answer.toStdString() << std::endl;
    }
    CAppData::Clear();
    return 0;
}
