#pragma once

#include "SiteHandler.h"

#include <QAbstractHttpServer>
#include <QHostAddress>

#include <functional>

namespace kestrava::site {

// The HTTP side: turns each request of QHttpServer into a SiteRequest, answers with what the
// handler decides and writes one log line per request.
class SiteServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    explicit SiteServer(SiteHandler handler, QObject *parent = nullptr);

    // Listens on the address; port 0 picks a free one. Returns the port, 0 on failure.
    // Connections are guarded: a request larger than MaxConnectionBytes is cut off with a 413
    // before it is all held in memory, an idle connection is closed after IdleTimeoutMs, and at
    // most MaxConnections are open at once.
    quint16 listenOn(const QHostAddress &address, quint16 port);

    static constexpr qint64 MaxConnectionBytes = 2 * 1024 * 1024;
    static constexpr int IdleTimeoutMs = 30 * 1000;
    static constexpr int MaxConnections = 64;

    // Where the log lines go; standard output by default.
    void setLogger(std::function<void(const QByteArray &)> logger) { m_logger = std::move(logger); }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    SiteHandler m_handler;
    std::function<void(const QByteArray &)> m_logger;
};

} // namespace kestrava::site
