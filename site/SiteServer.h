#pragma once

#include "HttpRequestHead.h"
#include "SiteHandler.h"
#include "SiteLog.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <vector>

namespace kestrava::site {

// The HTTP side: one thread, one epoll loop, non-blocking sockets. Each request is handed to the
// SiteHandler whole and answered with what it decides; one log line per request.
//
// What keeps it standing when every user presses "Mise à Jour" at once, or when someone holds
// connections open on purpose: a connection costs a few hundred bytes until it sends something;
// a request must arrive whole within requestTimeoutMs of its first byte (else 408 and closed);
// an idle keep-alive connection is closed after idleTimeoutMs and after maxRequests answers;
// "Connection: close" and HTTP/1.0 are honoured; when maxConnections are open, the connection
// that has waited longest for a request makes room for the new one; bodies are taken only with a
// Content-Length up to MaxRequestBodyBytes, and only a few large ones are held at once.
class SiteServer
{
public:
    struct Limits
    {
        int requestTimeoutMs = 10 * 1000;
        int idleTimeoutMs = 5 * 1000;
        int writeTimeoutMs = 10 * 1000;
        int lingerMs = 2 * 1000; // reading what a client still sends after our last answer
        int maxRequests = 1000;
        int maxConnections = 8192;
        int maxBodiesInFlight = 8; // bodies above LargeBodyBytes held at once
    };
    static constexpr qint64 LargeBodyBytes = 16 * 1024;

    SiteServer(SiteHandler handler, Limits limits);
    ~SiteServer();
    SiteServer(const SiteServer &) = delete;
    SiteServer &operator=(const SiteServer &) = delete;

    // Listens on a numeric IPv4 or IPv6 address; port 0 picks a free one. Returns the port, 0 on
    // failure.
    quint16 listenOn(const QByteArray &address, quint16 port);
    // Serves until SIGTERM or SIGINT; false when the loop could not be set up.
    bool run();

private:
    struct Connection;
    void acceptAll(qint64 now);
    void onEvent(Connection &c, quint32 events, qint64 now);
    void readInput(Connection &c, qint64 now);
    void answerRequests(Connection &c, qint64 now);
    void answerAndClose(Connection &c, int status, const QByteArray &note);
    void queue(Connection &c, const SiteResponse &response, bool http10, bool keepAlive);
    void writeOutput(Connection &c, qint64 now);
    void updateEvents(Connection &c);
    void closeConnection(Connection &c);
    void sweep(qint64 now);
    bool makeRoom();

    SiteHandler m_handler;
    Limits m_limits;
    int m_listenFd = -1;
    int m_epollFd = -1;
    int m_signalFd = -1;
    std::vector<std::unique_ptr<Connection>> m_connections; // by file descriptor
    // Closed during this turn of the loop: freed at its end, as callers up the stack still hold them.
    std::vector<std::unique_ptr<Connection>> m_closed;
    int m_open = 0;
    int m_bodiesInFlight = 0;
    SiteLog m_log;
};

} // namespace kestrava::site
