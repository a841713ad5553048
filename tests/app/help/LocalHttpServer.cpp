#include "LocalHttpServer.h"

#include <QSslServer>
#include <QTcpServer>

namespace korvan::test {
namespace {

QByteArray reasonOf(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

QByteArray head(int status, qsizetype length) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonOf(status) +
           "\r\nContent-Type: application/octet-stream\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nConnection: close\r\n\r\n";
}

} // namespace

LocalHttpServer::LocalHttpServer(QObject* parent) : QObject(parent) {}

LocalHttpServer::~LocalHttpServer() {
    stop();
}

void LocalHttpServer::useTls(const QSslConfiguration& configuration) {
    tls_ = configuration;
}

void LocalHttpServer::setRoute(const QString& path, Route route) {
    routes_.insert(path, std::move(route));
}

bool LocalHttpServer::start(quint16 port) {
    stop();
    if (tls_) {
        auto* secure = new QSslServer;
        secure->setSslConfiguration(*tls_);
        connect(secure, &QSslServer::startedEncryptionHandshake, this, [this] { ++connections_; });
        server_.reset(secure);
    } else {
        server_ = std::make_unique<QTcpServer>();
        connect(server_.get(), &QTcpServer::newConnection, this, &LocalHttpServer::takeConnections);
    }
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, &LocalHttpServer::takeConnections);
    if (!server_->listen(QHostAddress::LocalHost, port))
        return false;
    port_ = server_->serverPort();
    return true;
}

void LocalHttpServer::stop() {
    if (server_)
        server_->close();
    for (const QPointer<QTcpSocket>& socket : std::as_const(sockets_)) {
        if (socket) {
            socket->abort();
            socket->deleteLater();
        }
    }
    sockets_.clear();
    server_.reset();
}

QUrl LocalHttpServer::url(const QString& path) const {
    return QUrl(base() + path);
}

QString LocalHttpServer::base() const {
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(tls_ ? QStringLiteral("https") : QStringLiteral("http"))
        .arg(port_);
}

void LocalHttpServer::takeConnections() {
    while (server_ && server_->hasPendingConnections())
        serve(server_->nextPendingConnection());
}

void LocalHttpServer::serve(QTcpSocket* socket) {
    if (!tls_)
        ++connections_;
    sockets_.append(socket);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
        buffer->append(socket->readAll());
        if (buffer->contains("\r\n\r\n")) {
            answer(socket, *buffer);
            buffer->clear();
        }
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    if (socket->bytesAvailable() > 0)
        Q_EMIT socket->readyRead();
}

void LocalHttpServer::answer(QTcpSocket* socket, const QByteArray& request) {
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    requested_.append(path);
    const Route route = routes_.value(path, Route{404, "not here", Behaviour::Answer});
    switch (route.behaviour) {
    case Behaviour::Answer:
        socket->write(head(route.status, route.body.size()) + route.body);
        socket->disconnectFromHost();
        break;
    case Behaviour::CloseMidBody:
        socket->write(head(route.status, route.body.size()) + route.body.left(route.body.size() / 2));
        socket->disconnectFromHost();
        break;
    case Behaviour::StallMidBody:
        socket->write(head(route.status, route.body.size()) + route.body.left(route.body.size() / 2));
        break;
    case Behaviour::NeverAnswer:
        break;
    }
}

} // namespace korvan::test
