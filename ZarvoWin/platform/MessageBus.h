#pragma once
#include <QObject>
#include <QString>
#include <QList>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace Platform {

// Registered messages between the programs of one user.
//
// A message name registers to a number derived from the name alone, so
// every process gets the same number. Each process that wants to receive
// opens an endpoint: a local socket in the user's runtime folder (a folder
// only that user can enter, so nothing crosses to another user). A post is
// written to every live endpoint without waiting for anyone; a send waits
// for the answers up to its time-out. Endpoints whose process is gone are
// removed by the first post or send that finds them.
class MessageBus : public QObject
{
    Q_OBJECT
public:
    struct Message
    {
        quint32 message = 0;
        quint64 wParam = 0;
        qint64 lParam = 0;
    };
    struct Answer
    {
        qint64 pid = 0;
        qint64 result = 0;
    };
    // Answers a sent message (the result goes back to the sender); posted
    // messages are answered too, but the answer is dropped.
    using Handler = std::function<qint64(const Message &)>;

    // A number in 0xC000..0xFFFF; the name is compared without regard to case.
    static quint32 registerMessage(QStringView name);

    // Where endpoints live (created on demand, private to the user).
    static QString endpointFolder();

    explicit MessageBus(QObject *parent = nullptr);
    ~MessageBus() override;

    // Opens this object's endpoint; false when it cannot be made.
    bool listen();
    bool isListening() const;
    QString endpointPath() const;
    void setHandler(Handler handler);

    // To every endpoint of this user (this process's own included, where
    // the delivery is queued). Never blocks.
    static void post(quint32 message, quint64 wParam, qint64 lParam);
    // To every endpoint; waits at most `timeoutMs` in all for the answers.
    // The endpoints of this process answer directly.
    static QList<Answer> send(quint32 message, quint64 wParam, qint64 lParam, int timeoutMs);

signals:
    // Every message that reaches this endpoint, posted or sent.
    void received(const Platform::MessageBus::Message &message);

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);
    qint64 deliver(const Message &message);

    std::unique_ptr<QLocalServer> m_server;
    Handler m_handler;
};

} // namespace Platform
