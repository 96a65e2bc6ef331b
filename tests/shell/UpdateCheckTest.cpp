// The update check against a server of the test's own on 127.0.0.1: what
// it asks, which answers count as a notice, and what the user is told.
#include "CAutoUpdater.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "QStringPrinter.h"
#include "Texts.h"

#include <QApplication>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr quint64 version(quint64 a, quint64 b, quint64 c, quint64 d)
{
    return (a << 48) | (b << 32) | (c << 16) | d;
}

// Answers every request with one response, or keeps silent.
class NoticeServer : public QObject
{
public:
    NoticeServer()
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++connections;
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n") || !response)
                        return; // silent: the request is never answered
                    socket->write(*response);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QUrl url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/updates/ZarvoWin.txt").arg(m_server.serverPort()));
    }
    QByteArray request() const { return m_request; }
    static QByteArray Http(int status, const QByteArray &body)
    {
        return "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Not Found")
               + "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
               + "\r\nConnection: close\r\n\r\n" + body;
    }

    std::optional<QByteArray> response;
    int connections = 0;

private:
    QTcpServer m_server;
    QByteArray m_request;
};

struct Outcome
{
    int result;
    QString notice;
};

Outcome check(const CAutoUpdater::Request &request)
{
    CAutoUpdater updater;
    Outcome o;
    o.result = updater.CheckForUpdate(request, o.notice);
    return o;
}

} // namespace

TEST(UpdateCheck, DottedVersionsAreReadPartByPart)
{
    const std::pair<const char *, quint64> cases[] = {
        {"2.5.1", version(2, 5, 1, 0)},
        {"3", version(3, 0, 0, 0)},
        {"1.2.3.4.5", version(1, 2, 3, 4)},
        {"a.b", 0},
        {"65537.0", version(1, 0, 0, 0)},
        {"2.5.1\r\n", version(2, 5, 1, 0)},
        {"", 0},
        {"4.x.7", version(4, 0, 7, 0)},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(CAutoUpdater::ParseDottedVersion(QString::fromLatin1(text)), expected) << text;
}

TEST(UpdateCheck, TheOwnVersionIsTheBuildsAndTheAddressesAreTheBuilds)
{
    EXPECT_NE(CAutoUpdater::GetOwnFileVersion(), 0u);
    EXPECT_TRUE(CAutoUpdater::NoticeUrl().toString().endsWith(QStringLiteral("/updates/ZarvoWin.txt")));
    EXPECT_TRUE(CAutoUpdater::SiteUrl().isValid());
}

TEST(UpdateCheck, OnlyANoticeOfStatus200BeginningWithADigitCounts)
{
    NoticeServer server;
    const quint64 own = version(2, 5, 0, 236);
    const QByteArray long5000 = "9.1.0.0" + QByteArray(5000 - 7, ' ');
    struct Case
    {
        const char *name;
        QByteArray response;
        int result;
        QString notice;
    };
    const Case cases[] = {
        {"a newer version", NoticeServer::Http(200, "2.5.1"), CAutoUpdater::NewerVersion, QStringLiteral("2.5.1")},
        {"the same version", NoticeServer::Http(200, "2.5.0.236\r\n"), CAutoUpdater::UpToDate, QString()},
        {"an older version", NoticeServer::Http(200, "2.4"), CAutoUpdater::UpToDate, QString()},
        {"a 404 page", NoticeServer::Http(404, "<html><body>404 Not Found</body></html>"), CAutoUpdater::CannotOpen,
         QString()},
        {"an empty notice", NoticeServer::Http(200, ""), CAutoUpdater::NothingRead, QString()},
        {"a page that is no version", NoticeServer::Http(200, "<html>2.6</html>"), CAutoUpdater::NothingRead,
         QString()},
        {"5000 bytes, of which 4096 are read", NoticeServer::Http(200, long5000), CAutoUpdater::NewerVersion,
         QStringLiteral("9.1.0.0")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server.response = c.response;
        CAutoUpdater::Request request;
        request.noticeUrl = server.url();
        request.ownVersion = own;
        const Outcome o = check(request);
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.notice, c.notice);
    }
    // What was asked: the notice, as the program's agent, never from a cache.
    const QByteArray asked = server.request().toLower();
    EXPECT_TRUE(asked.startsWith("get /updates/zarvowin.txt http/1.1\r\n")) << asked.left(60).constData();
    EXPECT_TRUE(asked.contains("user-agent: autoupdatezarvo\r\n"));
    EXPECT_TRUE(asked.contains("cache-control: no-cache\r\n"));

    // Without an own version nothing can be compared.
    server.response = NoticeServer::Http(200, "2.5.1");
    CAutoUpdater::Request request;
    request.noticeUrl = server.url();
    request.ownVersion = 0;
    EXPECT_EQ(check(request).result, CAutoUpdater::NoOwnVersion);
}

TEST(UpdateCheck, NoServerASilentOneOrNoNetworkGiveNoAnswer)
{
    NoticeServer server;
    CAutoUpdater::Request request;
    request.ownVersion = version(1, 0, 0, 0);

    // Offline: nothing is asked at all.
    request.noticeUrl = server.url();
    request.connected = false;
    EXPECT_EQ(check(request).result, CAutoUpdater::NotConnected);
    QApplication::processEvents();
    EXPECT_EQ(server.connections, 0);

    // A server that takes the request and never answers: the time-out.
    request.connected = true;
    request.timeoutMs = 200;
    server.response.reset();
    EXPECT_EQ(check(request).result, CAutoUpdater::CannotOpen);
    EXPECT_EQ(server.connections, 1);

    // Nobody listening on the port.
    QUrl closed;
    {
        NoticeServer gone;
        closed = gone.url();
    }
    request.noticeUrl = closed;
    EXPECT_EQ(check(request).result, CAutoUpdater::CannotOpen);
}

TEST(UpdateCheck, TheCommandRunsOnTheProgressDialogThenTellsTheUser)
{
    NoticeServer server;
    MessageBoxAnswers answers;
    answers.AnswerNotices();
    QList<QUrl> opened;
    CAutoUpdater::Environment environment;
    environment.makeRequest = [&] {
        CAutoUpdater::Request request;
        request.noticeUrl = server.url();
        request.ownVersion = version(2, 5, 0, 236);
        return request;
    };
    environment.openUrl = [&](const QUrl &url) { opened << url; };
    CAutoUpdater::SetEnvironment(environment);

    // A newer version: Yes opens the site.
    server.response = NoticeServer::Http(200, "2.5.1");
    answers.Push(MessageBoxAnswer::Yes);
    EXPECT_EQ(CAutoUpdater::RunCheck(nullptr), CAutoUpdater::NewerVersion);
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text,
              QStringLiteral("La version 2.5.1 est disponible.\n\nVoulez-vous vous rendre sur le site web de Zarvo pour la "
                             "télécharger ?"));
    EXPECT_EQ(answers.AskedBoxes()[0].caption, Platform::Texts::get(128));
    EXPECT_EQ(answers.AskedBoxes()[0].type & MessageBoxType::SetMask, MessageBoxType::YesNo);
    EXPECT_EQ(opened, QList<QUrl>{CAutoUpdater::SiteUrl()});

    // Up to date: an information.
    server.response = NoticeServer::Http(200, "2.5.0.236");
    EXPECT_EQ(CAutoUpdater::RunCheck(nullptr), CAutoUpdater::UpToDate);
    EXPECT_EQ(answers.AskedBoxes()[1].text, Platform::Texts::get(396));
    EXPECT_EQ(answers.AskedBoxes()[1].caption, Platform::Texts::get(222));
    EXPECT_EQ(answers.AskedBoxes()[1].type & MessageBoxType::IconMask, MessageBoxType::IconAsterisk);

    // A 404 page: the question 397; No opens nothing.
    server.response = NoticeServer::Http(404, "<html>not here</html>");
    answers.Push(MessageBoxAnswer::No);
    EXPECT_EQ(CAutoUpdater::RunCheck(nullptr), CAutoUpdater::CannotOpen);
    EXPECT_EQ(answers.AskedBoxes()[2].text, Platform::Texts::get(397));
    EXPECT_EQ(opened.size(), 1);
    CAutoUpdater::SetEnvironment({});
}
