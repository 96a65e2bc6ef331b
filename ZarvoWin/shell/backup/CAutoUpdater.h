#pragma once
#include <QString>
#include <QStringView>
#include <QUrl>
#include <QtGlobal>

#include <functional>
#include <memory>

class ProgressDlgShared;
class QNetworkAccessManager;
class QWidget;

// Asks the update server whether a newer version of the program exists.
//
// The server keeps a small text file, "ZarvoWin.txt" under its "/updates/"
// address, that begins with a dotted version "a.b.c.d". Versions are
// compared as 64-bit values, four 16-bit parts with `a` highest.
//
// The check runs on the progress dialog's worker thread (UpdateCheckJob),
// with an HTTP session of its own; the interface thread tells the result
// once the dialog has ended (RunCheck). Nothing here shows a box from the
// worker thread.
class CAutoUpdater
{
public:
    // Results of CheckForUpdate.
    enum Result {
        NewerVersion = 0, // the notice names a later version
        NotConnected = 1, // the computer is offline: nothing was asked
        CannotOpen = 2,   // no answer, or an answer other than the notice (status not 200)
        NothingRead = 3,  // an empty answer, or one that is not a version
        NoOwnVersion = 5, // the program's own version is unknown (0)
        UpToDate = 6,
    };
    static constexpr int MaxNoticeBytes = 4096;
    static constexpr int TimeoutMs = 15000;

    // What one check needs, taken on the interface thread before the job
    // starts.
    struct Request
    {
        QUrl noticeUrl = NoticeUrl();
        quint64 ownVersion = GetOwnFileVersion();
        // Whether the system says the computer is connected (unknown counts
        // as connected).
        bool connected = true;
        // Time without any byte from the server after which the check gives up.
        int timeoutMs = TimeoutMs;
    };

    // Opens the session on the calling thread (the job's).
    CAutoUpdater();
    virtual ~CAutoUpdater();
    CAutoUpdater(const CAutoUpdater &) = delete;
    CAutoUpdater &operator=(const CAutoUpdater &) = delete;

    // One check; `notice` gets the notice's text for NewerVersion.
    int CheckForUpdate(const Request &request, QString &notice);

    // "a.b.c.d" read as a version: each of the first four parts read as a
    // decimal number (0 when it is none), a missing part 0, each part kept
    // to its low 16 bits.
    static quint64 ParseDottedVersion(QStringView text);
    // The program's own version, from its version record; 0 when unknown.
    static quint64 GetOwnFileVersion();
    // The notice's address and the web site's, as the build sets them.
    static QUrl NoticeUrl();
    static QUrl SiteUrl();
    // What the system says of the network: false only when it reports the
    // computer disconnected.
    static bool SystemSaysConnected();

    // --- The command -------------------------------------------------------
    // What the interface side uses; tests replace parts of it.
    struct Environment
    {
        // The request of a check (default: the build's address, the
        // program's version, the system's connectivity).
        std::function<Request()> makeRequest;
        // Opens the web site (default: the desktop's browser).
        std::function<void(const QUrl &)> openUrl;
    };
    static void SetEnvironment(Environment environment);

    // The check command: the progress dialog (texts 463 and 464, no
    // Cancel) while the job runs, then the answer: 432 with the notice
    // (Yes opens the site), 396, or 397 (Yes opens the site). Returns the
    // result code.
    static int RunCheck(QWidget *owner);
    // The message shown for a result; the box's answer decides the rest.
    static void TellResult(QWidget *owner, int result, const QString &notice);

private:
    std::unique_ptr<QNetworkAccessManager> m_session;
};

// The job of the progress dialog: shows text 464, runs the check with the
// request and stores the result in the UpdateCheckJobData given as the
// dialog's parameter. Always returns 1.
struct UpdateCheckJobData
{
    CAutoUpdater::Request request;
    int result = CAutoUpdater::CannotOpen;
    QString notice;
};
quint8 UpdateCheckJob(ProgressDlgShared &shared);
