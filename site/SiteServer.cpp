#include "SiteServer.h"

#include <QDateTime>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>

namespace kestrava::site {

namespace {

QByteArray MethodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Put:
        return "PUT";
    case QHttpServerRequest::Method::Delete:
        return "DELETE";
    case QHttpServerRequest::Method::Post:
        return "POST";
    case QHttpServerRequest::Method::Head:
        return "HEAD";
    case QHttpServerRequest::Method::Options:
        return "OPTIONS";
    case QHttpServerRequest::Method::Patch:
        return "PATCH";
    case QHttpServerRequest::Method::Connect:
        return "CONNECT";
    case QHttpServerRequest::Method::Trace:
        return "TRACE";
    default:
        return "?";
    }
}

void PrintLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// QHttpServer keeps a whole request in memory before it shows it to us, and has no time limit.
// This listener sees every byte first: it counts what a connection sends between two answers and
// cuts off a request that goes past the limit, and it closes connections that stay silent.
class GuardedTcpServer : public QTcpServer
{
public:
    GuardedTcpServer(std::function<void(const QByteArray &)> logger, QObject *parent)
        : QTcpServer(parent)
        , m_logger(std::move(logger))
    { }

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(handle)) {
            delete socket;
            return;
        }
        if (m_open >= SiteServer::MaxConnections) {
            log(socket, "connexion refusée : trop de connexions ouvertes");
            socket->abort();
            socket->deleteLater();
            return;
        }
        ++m_open;
        connect(socket, &QObject::destroyed, this, [this] { --m_open; });

        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->setInterval(SiteServer::IdleTimeoutMs);
        connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); });
        idle->start();

        // Bytes received since the last answer went out. The HTTP layer reads all that is
        // available each time, so what is available when we run is what just arrived.
        auto received = std::make_shared<qint64>(0);
        connect(socket, &QTcpSocket::bytesWritten, socket, [received, idle] {
            *received = 0;
            idle->start();
        });
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received, idle] {
            idle->start();
            *received += socket->bytesAvailable();
            if (*received > SiteServer::MaxConnectionBytes)
                cutOff(socket);
        });
        addPendingConnection(socket);
    }

private:
    void cutOff(QTcpSocket *socket)
    {
        // Nobody else reads this connection any more: the rest of the request is thrown away
        // while the answer goes out, then the connection closes.
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
        socket->readAll();
        const QByteArray body = QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"fr\"><head><meta charset=\"utf-8\"><title>Envoi trop volumineux"
            "</title></head><body><h1>Envoi trop volumineux</h1><p>La requête dépasse la taille permise ; "
            "le fichier publié n'a pas été modifié.</p></body></html>\n")
                                    .toUtf8();
        QByteArray answer = "HTTP/1.1 413 Request Entity Too Large\r\n"
                            "Content-Type: text/html; charset=utf-8\r\n"
                            "Cache-Control: no-store\r\n"
                            "Connection: close\r\n"
                            "Content-Length: "
            + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        socket->write(answer);
        socket->disconnectFromHost();
        log(socket,
            "413 requête de plus de " + QByteArray::number(SiteServer::MaxConnectionBytes)
                + " octets : connexion coupée");
    }

    void log(QTcpSocket *socket, const QByteArray &what)
    {
        if (m_logger) {
            m_logger(QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + ' '
                + socket->peerAddress().toString().toLatin1() + " - - " + what);
        }
    }

    std::function<void(const QByteArray &)> m_logger;
    int m_open = 0;
};

} // namespace

SiteServer::SiteServer(SiteHandler handler, QObject *parent)
    : QAbstractHttpServer(parent)
    , m_handler(std::move(handler))
    , m_logger(PrintLine)
{ }

quint16 SiteServer::listenOn(const QHostAddress &address, quint16 port)
{
    // The logger is looked up at each line, so that setLogger() also applies to the guard.
    auto *tcp = new GuardedTcpServer(
        [this](const QByteArray &line) {
            if (m_logger)
                m_logger(line);
        },
        this);
    if (!tcp->listen(address, port)) {
        delete tcp;
        return 0;
    }
    bind(tcp);
    return tcp->serverPort();
}

bool SiteServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    SiteRequest req;
    req.method = MethodName(request.method());
    const QUrl url = request.url();
    req.encodedPath = url.path(QUrl::FullyEncoded).toLatin1();
    req.encodedQuery = url.query(QUrl::FullyEncoded).toLatin1();
    req.contentType = request.value("Content-Type");
    req.body = request.body();
    req.remoteAddress = request.remoteAddress().toString().toLatin1();

    const SiteResponse response = m_handler.handle(req);

    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(response.status));
    responder.writeHeader("Content-Type", response.contentType);
    responder.writeHeader("Content-Length", QByteArray::number(response.body.size()));
    // Every answer is fresh: a download must always see the file as it is now.
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    for (const auto &[name, value] : response.headers)
        responder.writeHeader(name, value);
    responder.writeBody(response.headOnly ? QByteArray() : response.body);

    if (m_logger)
        m_logger(SiteHandler::logLine(req, response));
    return true;
}

void SiteServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // Never reached, handleRequest answers everything; kept as a plain 404 should that change.
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}

} // namespace kestrava::site
