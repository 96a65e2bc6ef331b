#pragma once
#include <QList>
#include <QString>
#include <QUrl>
#include <QtGlobal>

// Where the help opens, without a window: a help context (a dialog's
// context, 0x20000 + its dialog id, or a topic number) gives a topic, a
// topic gives a page of the language's help folder, and a page gives the
// address the desktop's browser opens.
//
// The help of a language is the folder "<program folder>/<Abbr>/<Program>
// <Abbr>/" (CLanguageSelector finds the language and its "index.html");
// every topic is one HTML page of that folder, topic 0 its index.
class HelpTopics
{
public:
    // The first page: what Zarvo is and a first tour.
    static constexpr int ContentsTopic = 0;
    // The page of the dialogs that have none of their own.
    static constexpr int OtherDialogsTopic = 10;
    // The tray program's pages: its window (with its menu and the Infos
    // window), its options, its task and user dialogs. The tray's dialog
    // ids are numbered apart from the main program's, so its windows give
    // these topics rather than their dialog ids.
    static constexpr int TrayWindowTopic = 530;
    static constexpr int TrayOptionsTopic = 535;
    static constexpr int TrayTaskTopic = 540;
    static constexpr int TrayUserTopic = 545;

    // The topic of a dialog; OtherDialogsTopic for a dialog the table does
    // not hold.
    static int TopicForDialog(int dialogId);
    // The topic of a help context: a dialog's context through the table,
    // any smaller number as the topic it is.
    static int TopicForContext(quint32 context);

    // The file name of a topic's page inside the help folder; "index.html"
    // for topic 0 and for a number that is no topic.
    static QString PageName(int topic);
    // Every topic that has a page, in increasing order.
    static QList<int> Topics();
    // The dialog ids the table gives a topic of their own.
    static QList<int> Dialogs();

    // The page of `topic` in the folder of `indexFile` (the help language's
    // "index.html"); the index itself when the page is missing; empty when
    // the index is missing too.
    static QString PagePath(const QString &indexFile, int topic);
    // The address of a page file for the browser: a file URL, with spaces
    // and accents encoded.
    static QUrl PageUrl(const QString &pagePath);
};
