#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QStringList>
#include <QTcpSocket>
#include <QUrl>
#include <memory>
#include <optional>

class QTcpServer;

namespace korvan::test {

// A small HTTP/1.1 server on 127.0.0.1, answering by hand: each path answers a status and a
// body, or misbehaves on purpose. With a TLS configuration it serves HTTPS. Every answer
// closes its connection, so stopping the server leaves nothing a client could reuse.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    enum class Behaviour {
        Answer,       // the status line, the headers and the whole body
        CloseMidBody, // announces the whole body, sends half of it and closes
        StallMidBody, // announces the whole body, sends half of it and waits
        NeverAnswer,  // reads the request and says nothing
    };
    struct Route {
        int status = 200;
        QByteArray body;
        Behaviour behaviour = Behaviour::Answer;
    };

    explicit LocalHttpServer(QObject* parent = nullptr);
    ~LocalHttpServer() override;

    // Serves HTTPS with this certificate and key from the next start on.
    void useTls(const QSslConfiguration& configuration);
    void setRoute(const QString& path, Route route);

    // Listens on 127.0.0.1, on the given port or any free one.
    bool start(quint16 port = 0);
    // Stops listening and drops every connection.
    void stop();

    [[nodiscard]] quint16 port() const { return port_; }
    [[nodiscard]] QUrl url(const QString& path) const;
    [[nodiscard]] QString base() const;
    // Connections accepted (for HTTPS: handshakes begun) and the paths asked for.
    [[nodiscard]] int connections() const { return connections_; }
    [[nodiscard]] QStringList requestedPaths() const { return requested_; }

private:
    void takeConnections();
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& request);

    std::unique_ptr<QTcpServer> server_;
    std::optional<QSslConfiguration> tls_;
    QHash<QString, Route> routes_;
    QList<QPointer<QTcpSocket>> sockets_;
    quint16 port_ = 0;
    int connections_ = 0;
    QStringList requested_;
};

} // namespace korvan::test
