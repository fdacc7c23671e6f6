#include "SiteServer.h"

#include "SitePages.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace kestrava::site {

namespace {

constexpr qsizetype ReadChunk = 64 * 1024;
// Answers waiting for a slow reader before we stop reading its next requests.
constexpr qsizetype OutHighWater = 256 * 1024;
constexpr qsizetype InputCap = MaxHeadBytes + MaxRequestBodyBytes + ReadChunk;
constexpr int SweepMs = 250;

qint64 NowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

QByteArray Reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 411:
        return "Length Required";
    case 413:
        return "Payload Too Large";
    case 429:
        return "Too Many Requests";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return status >= 500 ? "Internal Server Error" : "Error";
    }
}

} // namespace

struct SiteServer::Connection
{
    int fd = -1;
    QByteArray peer;
    QByteArray in;
    QList<QByteArray> out;
    qsizetype outOffset = 0; // already sent of out.front()
    qsizetype outPending = 0;
    quint32 events = 0;
    int served = 0;
    bool closeAfterWrite = false;
    bool lingering = false;
    bool continueSent = false;
    bool holdsBody = false; // counted in m_bodiesInFlight
    qint64 requestStart = 0; // first byte of the request being received, or the accept
    qint64 idleSince = 0; // last answer written out; 0 while a request is on its way
    qint64 lastProgress = 0; // last write that moved, or the start of lingering
};

SiteServer::SiteServer(SiteHandler handler, Limits limits)
    : m_handler(std::move(handler))
    , m_limits(limits)
{ }

SiteServer::~SiteServer()
{
    for (auto &c : m_connections) {
        if (c)
            ::close(c->fd);
    }
    for (const int fd : { m_listenFd, m_epollFd, m_signalFd }) {
        if (fd >= 0)
            ::close(fd);
    }
}

quint16 SiteServer::listenOn(const QByteArray &address, quint16 port)
{
    sockaddr_storage storage {};
    socklen_t length = 0;
    auto *v4 = reinterpret_cast<sockaddr_in *>(&storage);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&storage);
    if (inet_pton(AF_INET, address.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        length = sizeof(sockaddr_in);
    } else if (inet_pton(AF_INET6, address.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        length = sizeof(sockaddr_in6);
    } else {
        return 0;
    }
    m_listenFd = ::socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (m_listenFd < 0 || setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || bind(m_listenFd, reinterpret_cast<sockaddr *>(&storage), length) != 0
        || listen(m_listenFd, 4096) != 0
        || getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&storage), &length) != 0)
        return 0;
    return ntohs(storage.ss_family == AF_INET ? v4->sin_port : v6->sin6_port);
}

bool SiteServer::run()
{
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    SiteLog::detachFromReader();
    m_signalFd = signalfd(-1, &stop, SFD_NONBLOCK | SFD_CLOEXEC);
    m_epollFd = epoll_create1(EPOLL_CLOEXEC);
    if (m_listenFd < 0 || m_signalFd < 0 || m_epollFd < 0)
        return false;
    for (const int fd : { m_listenFd, m_signalFd }) {
        epoll_event ev {};
        ev.events = EPOLLIN;
        ev.data.fd = fd;
        if (epoll_ctl(m_epollFd, EPOLL_CTL_ADD, fd, &ev) != 0)
            return false;
    }
    epoll_event events[256];
    qint64 lastSweep = NowMs();
    for (;;) {
        // Before waiting, the log is written out: an idle site never holds lines back.
        m_log.flush(NowMs(), true);
        const int n = epoll_wait(m_epollFd, events, 256, SweepMs);
        if (n < 0 && errno != EINTR)
            return false;
        const qint64 now = NowMs();
        for (int i = 0; i < n; ++i) {
            const int fd = events[i].data.fd;
            if (fd == m_signalFd) {
                m_log.flush(now, true);
                return true;
            }
            if (fd == m_listenFd)
                acceptAll(now);
            else if (fd < int(m_connections.size()) && m_connections[size_t(fd)])
                onEvent(*m_connections[size_t(fd)], events[i].events, now);
        }
        if (now - lastSweep >= SweepMs) {
            sweep(now);
            lastSweep = now;
        }
        m_closed.clear();
        m_log.flush(now, false);
    }
}

void SiteServer::acceptAll(qint64 now)
{
    for (;;) {
        sockaddr_storage peer {};
        socklen_t length = sizeof peer;
        const int fd
            = accept4(m_listenFd, reinterpret_cast<sockaddr *>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return; // EAGAIN, or out of descriptors: the rest wait in the backlog
        if (m_open >= m_limits.maxConnections && !makeRoom()) {
            ::close(fd);
            continue;
        }
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        char text[INET6_ADDRSTRLEN] = {};
        if (peer.ss_family == AF_INET)
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in *>(&peer)->sin_addr, text, sizeof text);
        else if (peer.ss_family == AF_INET6)
            inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6 *>(&peer)->sin6_addr, text, sizeof text);
        c->peer = QByteArray(text);
        c->requestStart = now;
        c->events = EPOLLIN | EPOLLRDHUP;
        epoll_event ev {};
        ev.events = c->events;
        ev.data.fd = fd;
        if (epoll_ctl(m_epollFd, EPOLL_CTL_ADD, fd, &ev) != 0) {
            ::close(fd);
            continue;
        }
        if (size_t(fd) >= m_connections.size())
            m_connections.resize(size_t(fd) + 1024);
        m_connections[size_t(fd)] = std::move(c);
        ++m_open;
    }
}

bool SiteServer::makeRoom()
{
    // The connection that has waited longest without a whole request goes, be it idle or slow.
    Connection *oldest = nullptr;
    for (auto &c : m_connections) {
        if (c && !c->lingering && c->outPending == 0) {
            const qint64 since = c->idleSince ? c->idleSince : c->requestStart;
            if (!oldest || since < (oldest->idleSince ? oldest->idleSince : oldest->requestStart))
                oldest = c.get();
        }
    }
    if (!oldest)
        return false;
    m_log.event(oldest->peer, "connexion fermée pour faire place (trop de connexions ouvertes)");
    closeConnection(*oldest);
    return true;
}

void SiteServer::onEvent(Connection &c, quint32 events, qint64 now)
{
    if (events & (EPOLLERR | EPOLLHUP)) {
        closeConnection(c);
        return;
    }
    if (events & EPOLLOUT) {
        writeOutput(c, now);
        if (c.fd < 0)
            return;
    }
    if (events & (EPOLLIN | EPOLLRDHUP))
        readInput(c, now);
    else if (!c.in.isEmpty())
        answerRequests(c, now); // pipelined requests held back while we wrote
}

void SiteServer::readInput(Connection &c, qint64 now)
{
    char buffer[ReadChunk];
    for (;;) {
        const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            if (c.lingering)
                continue; // what comes after our last answer is thrown away
            if (c.in.isEmpty() && c.idleSince) {
                c.requestStart = now;
                c.idleSince = 0;
            }
            c.in.append(buffer, n);
            if (c.in.size() >= InputCap)
                break;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n < 0 || c.lingering || (c.outPending == 0 && c.in.isEmpty())) {
            closeConnection(c);
            return;
        }
        // The client has said all it will say: answer what is whole, then close.
        c.closeAfterWrite = true;
        break;
    }
    answerRequests(c, now);
}

void SiteServer::answerRequests(Connection &c, qint64 now)
{
    while (!c.lingering && c.fd >= 0 && !c.in.isEmpty() && c.outPending < OutHighWater) {
        HttpRequestHead head;
        qsizetype headBytes = 0;
        switch (ParseRequestHead(c.in, &head, &headBytes)) {
        case HeadStatus::Incomplete:
            if (c.closeAfterWrite && c.outPending == 0)
                closeConnection(c);
            return;
        case HeadStatus::Bad:
            return answerAndClose(c, 400, "requête mal formée");
        case HeadStatus::TooLarge:
            return answerAndClose(c, 431, "en-têtes trop longs");
        case HeadStatus::LengthRequired:
            return answerAndClose(c, 411, "corps sans longueur");
        case HeadStatus::BadVersion:
            return answerAndClose(c, 505, "version HTTP");
        case HeadStatus::Complete:
            break;
        }
        if (head.contentLength > MaxRequestBodyBytes)
            return answerAndClose(
                c, 413, "corps de " + QByteArray::number(head.contentLength) + " octets annoncé");
        if (c.in.size() < headBytes + head.contentLength) {
            // A large body is held for a few connections only: memory stays bounded.
            if (head.contentLength > LargeBodyBytes && !c.holdsBody) {
                if (m_bodiesInFlight >= m_limits.maxBodiesInFlight)
                    return answerAndClose(c, 503, "trop d'envois en cours");
                c.holdsBody = true;
                ++m_bodiesInFlight;
            }
            if (head.expectContinue && !c.continueSent) {
                c.continueSent = true;
                c.out.append(QByteArrayLiteral("HTTP/1.1 100 Continue\r\n\r\n"));
                c.outPending += c.out.back().size();
                writeOutput(c, now);
            }
            if (c.closeAfterWrite && c.outPending == 0)
                closeConnection(c);
            return;
        }
        SiteRequest request;
        request.method = head.method;
        const qsizetype question = head.target.indexOf('?');
        request.encodedPath = question < 0 ? head.target : head.target.left(question);
        request.encodedQuery = question < 0 ? QByteArray() : head.target.mid(question + 1);
        request.contentType = head.contentType;
        request.body = c.in.mid(headBytes, head.contentLength);
        request.remoteAddress = c.peer;
        c.in.remove(0, headBytes + head.contentLength);
        c.continueSent = false;
        if (c.holdsBody) {
            c.holdsBody = false;
            --m_bodiesInFlight;
        }

        const SiteResponse response = m_handler.handle(request, now);
        const bool keepAlive = head.keepAlive && !c.closeAfterWrite && ++c.served < m_limits.maxRequests;
        queue(c, response, head.http10, keepAlive);
        m_log.add(SiteHandler::logLine(request, response));
        c.requestStart = now;
        if (!keepAlive)
            c.closeAfterWrite = true;
        writeOutput(c, now);
        if (!keepAlive || c.fd < 0)
            return;
    }
    if (c.fd >= 0)
        updateEvents(c);
}

void SiteServer::answerAndClose(Connection &c, int status, const QByteArray &note)
{
    SiteResponse r;
    r.status = status;
    r.contentType = QByteArrayLiteral("text/html; charset=utf-8");
    r.body = ErrorPage(status, QStringLiteral("/"));
    m_log.event(c.peer, QByteArray::number(status) + ' ' + note + " : connexion fermée");
    c.in.clear();
    c.closeAfterWrite = true;
    queue(c, r, false, false);
    writeOutput(c, NowMs());
}

void SiteServer::queue(Connection &c, const SiteResponse &response, bool http10, bool keepAlive)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + Reason(response.status)
        + "\r\nContent-Type: " + response.contentType + "\r\nContent-Length: "
        + QByteArray::number(response.body.size())
        // Every answer is fresh: a download must always see the file as it is now.
        + "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    head += !keepAlive ? "Connection: close\r\n\r\n" : http10 ? "Connection: keep-alive\r\n\r\n" : "\r\n";
    c.outPending += head.size();
    c.out.append(std::move(head));
    if (!response.headOnly && !response.body.isEmpty()) {
        c.outPending += response.body.size();
        c.out.append(response.body); // shared with the file cache, not copied
    }
}

void SiteServer::writeOutput(Connection &c, qint64 now)
{
    while (c.outPending > 0) {
        iovec parts[16];
        int count = 0;
        for (qsizetype i = 0; i < c.out.size() && count < 16; ++i, ++count) {
            const qsizetype skip = i == 0 ? c.outOffset : 0;
            parts[count].iov_base = const_cast<char *>(c.out.at(i).constData() + skip);
            parts[count].iov_len = size_t(c.out.at(i).size() - skip);
        }
        msghdr message {};
        message.msg_iov = parts;
        message.msg_iovlen = size_t(count);
        const ssize_t sent = ::sendmsg(c.fd, &message, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                break;
            closeConnection(c);
            return;
        }
        c.lastProgress = now;
        c.outPending -= sent;
        qsizetype left = sent;
        while (left > 0) {
            const qsizetype inFront = c.out.front().size() - c.outOffset;
            if (left < inFront) {
                c.outOffset += left;
                break;
            }
            left -= inFront;
            c.out.removeFirst();
            c.outOffset = 0;
        }
    }
    if (c.outPending == 0) {
        if (c.closeAfterWrite && !c.lingering) {
            // Half-close and read on for a moment: closing with unread bytes would reset the
            // connection and could destroy the answer before the client has read it.
            ::shutdown(c.fd, SHUT_WR);
            c.lingering = true;
            c.lastProgress = now;
        } else if (c.in.isEmpty()) {
            c.idleSince = now;
        }
    }
    updateEvents(c);
}

void SiteServer::updateEvents(Connection &c)
{
    const bool wantIn
        = c.lingering || (!c.closeAfterWrite && c.outPending < OutHighWater && c.in.size() < InputCap);
    const quint32 wanted = (wantIn ? EPOLLIN | EPOLLRDHUP : 0u) | (c.outPending > 0 ? EPOLLOUT : 0u);
    if (wanted == c.events)
        return;
    c.events = wanted;
    epoll_event ev {};
    ev.events = wanted;
    ev.data.fd = c.fd;
    epoll_ctl(m_epollFd, EPOLL_CTL_MOD, c.fd, &ev);
}

void SiteServer::closeConnection(Connection &c)
{
    const int fd = c.fd;
    if (fd < 0)
        return;
    if (c.holdsBody)
        --m_bodiesInFlight;
    epoll_ctl(m_epollFd, EPOLL_CTL_DEL, fd, nullptr);
    ::close(fd);
    --m_open;
    c.fd = -1;
    m_closed.push_back(std::move(m_connections[size_t(fd)]));
}

void SiteServer::sweep(qint64 now)
{
    for (auto &slot : m_connections) {
        if (!slot)
            continue;
        Connection &c = *slot;
        if (c.lingering) {
            if (now - c.lastProgress >= m_limits.lingerMs)
                closeConnection(c);
        } else if (c.outPending > 0) {
            if (now - c.lastProgress >= m_limits.writeTimeoutMs) {
                m_log.event(c.peer, "client qui ne lit pas sa réponse : connexion fermée");
                closeConnection(c);
            }
        } else if (c.idleSince) {
            if (now - c.idleSince >= m_limits.idleTimeoutMs)
                closeConnection(c);
        } else if (now - c.requestStart >= m_limits.requestTimeoutMs) {
            // Nothing said at all: closed quietly (a browser may open a spare connection).
            if (c.in.isEmpty())
                closeConnection(c);
            else
                answerAndClose(c, 408,
                    "requête incomplète après " + QByteArray::number(m_limits.requestTimeoutMs / 1000.0)
                        + " s");
        }
    }
}

} // namespace kestrava::site
