#pragma once

#include "SiteHandler.h"
#include "SiteLog.h"

#include <QByteArray>

#include <unordered_set>

struct MHD_Daemon;
struct MHD_Connection;

namespace kestrava::site {

// The HTTP side, on libmicrohttpd in its epoll mode. The library parses requests, holds the
// connections and reads the upload form; each request is handed to the SiteHandler whole and
// answered with what it decides, one log line per request. The daemon runs in this thread
// (MHD_run_wait) so that the handler, its file cache, the deadlines below and the log share one
// thread and need no lock.
//
// What keeps it standing when every user presses "Mise à Jour" at once, or when someone holds
// connections open on purpose: at most maxConnections open, and maxPerAddress from one address;
// a request must arrive whole within requestTimeoutMs of the connection or of the previous answer
// (else 408 and closed: the library alone would wait as long as a byte comes now and then); an
// idle keep-alive connection is closed after idleTimeoutMs and after maxRequests answers; a client
// that stops reading is dropped after writeTimeoutMs; bodies are taken only with a Content-Length
// up to MaxRequestBodyBytes, and only a few large ones are held at once.
class SiteServer
{
public:
    struct Limits
    {
        int requestTimeoutMs = 10 * 1000;
        int idleTimeoutMs = 5 * 1000;
        int writeTimeoutMs = 10 * 1000;
        int maxRequests = 1000;
        int maxConnections = 8192;
        int maxPerAddress = 128; // 0: no limit
        int maxBodiesInFlight = 8; // bodies above LargeBodyBytes held at once
    };
    static constexpr qint64 LargeBodyBytes = 16 * 1024;
    // The header through which the proxy in front names the client; trusted from 127.0.0.1 only.
    static constexpr const char *ClientAddressHeader = "X-Real-IP";

    SiteServer(SiteHandler handler, Limits limits);
    ~SiteServer();
    SiteServer(const SiteServer &) = delete;
    SiteServer &operator=(const SiteServer &) = delete;

    // Listens on a numeric IPv4 or IPv6 address; port 0 picks a free one. Returns the port, 0 on
    // failure.
    quint16 listenOn(const QByteArray &address, quint16 port);
    // Serves until SIGTERM or SIGINT; false when the daemon could not be started.
    bool run();

private:
    struct Connection;
    struct Request;

    struct Callbacks; // the library's callbacks, which reach the members below
    friend struct Callbacks;

    bool startRequest(Request &r, MHD_Connection *connection, const char *method);
    bool finishRequest(Request &r, MHD_Connection *connection);
    bool answer(Request &r, MHD_Connection *connection, const SiteResponse &response);
    bool refuse(Request &r, MHD_Connection *connection, int status, const QString &note);
    void endRequest(Request *r);
    void sweep(qint64 now);
    void drop(Connection &c, bool tellTimeout);

    SiteHandler m_handler;
    Limits m_limits;
    int m_listenFd = -1;
    MHD_Daemon *m_daemon = nullptr;
    std::unordered_set<Connection *> m_connections;
    int m_bodiesInFlight = 0;
    SiteLog m_log;
};

} // namespace kestrava::site
