#include "SiteServer.h"

#include <algorithm>

#include "SitePages.h"

#include <QDateTime>
#include <QFile>

#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/tcp.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <strings.h>

namespace kestrava::site {

namespace {

// How often the deadlines are looked at, and the log written out when the site is quiet.
constexpr int SweepMs = 250;
// Memory the library gives each connection: the request head must fit (8 KiB and a margin).
constexpr size_t ConnectionMemoryBytes = 16 * 1024;
constexpr size_t FormBufferBytes = 8 * 1024;

volatile sig_atomic_t StopRequested = 0;

void OnStopSignal(int)
{
    StopRequested = 1;
}

qint64 NowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Bytes the client has sent on the connection so far, whoever has read them.
quint64 BytesReceived(int fd)
{
    tcp_info info {};
    socklen_t length = sizeof info;
    if (getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
        return 0;
    return info.tcpi_bytes_received;
}

QByteArray AddressText(const sockaddr *address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (!address)
        return "?";
    if (address->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(address)->sin_addr, text, sizeof text);
    else if (address->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6 *>(address)->sin6_addr, text, sizeof text);
    return text[0] ? QByteArray(text) : QByteArray("?");
}

// A numeric address as the proxy wrote it, in its canonical form; empty when it is not one.
QByteArray CanonicalAddress(const char *value)
{
    if (!value)
        return {};
    const QByteArray trimmed = QByteArray(value).trimmed();
    in6_addr v6;
    in_addr v4;
    char text[INET6_ADDRSTRLEN] = {};
    if (inet_pton(AF_INET, trimmed.constData(), &v4) == 1)
        inet_ntop(AF_INET, &v4, text, sizeof text);
    else if (inet_pton(AF_INET6, trimmed.constData(), &v6) == 1)
        inet_ntop(AF_INET6, &v6, text, sizeof text);
    return QByteArray(text);
}

bool HasToken(const char *value, const char *prefix)
{
    return value && QByteArray(value).trimmed().toLower().startsWith(prefix);
}

} // namespace

struct SiteServer::Connection
{
    int fd = -1;
    QByteArray peer;
    Request *current = nullptr; // the request being received or answered
    qint64 phaseStart = 0; // the accept, or the end of the previous answer
    quint64 bytesAtPhaseStart = 0;
    qint64 pendingSince = 0; // a request has begun to arrive (seen by the sweep), 0 otherwise
    int served = 0;
    bool answering = false;
    bool dropped = false;
};

struct SiteServer::Request
{
    Connection *connection = nullptr;
    QByteArray target; // path and query as on the wire
    bool started = false;
    bool answered = false;
    bool holdsBody = false;
    qint64 bodyBytes = 0;
    MHD_PostProcessor *form = nullptr;
    SiteRequest request;
};

struct SiteServer::Callbacks
{
    static SiteServer *server(void *cls) { return static_cast<SiteServer *>(cls); }

    static void onConnection(
        void *cls, MHD_Connection *mhd, void **socketContext, MHD_ConnectionNotificationCode code)
    {
        SiteServer *s = server(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            auto *c = new Connection;
            if (const MHD_ConnectionInfo *i = MHD_get_connection_info(mhd, MHD_CONNECTION_INFO_CONNECTION_FD))
                c->fd = i->connect_fd;
            if (const MHD_ConnectionInfo *i
                = MHD_get_connection_info(mhd, MHD_CONNECTION_INFO_CLIENT_ADDRESS))
                c->peer = AddressText(i->client_addr);
            c->phaseStart = NowMs();
            s->m_connections.insert(c);
            *socketContext = c;
            return;
        }
        auto *c = static_cast<Connection *>(*socketContext);
        if (!c)
            return;
        if (c->current) // closed before its request was complete: the library said nothing of it
            s->endRequest(c->current);
        s->m_connections.erase(c);
        delete c;
        *socketContext = nullptr;
    }

    // The first thing known of a request: its target exactly as sent. The library decodes the
    // path itself, which would hide "%00" and "%2F" from our own path checks, so it is kept here.
    static void *onRequestLine(void *, const char *uri, MHD_Connection *mhd)
    {
        auto *r = new Request;
        r->target = uri;
        if (const MHD_ConnectionInfo *i = MHD_get_connection_info(mhd, MHD_CONNECTION_INFO_SOCKET_CONTEXT)) {
            r->connection = static_cast<Connection *>(i->socket_context);
            if (r->connection)
                r->connection->current = r;
        }
        return r;
    }

    static MHD_Result onRequest(void *cls, MHD_Connection *mhd, const char *, const char *method,
        const char *, const char *uploadData, size_t *uploadSize, void **requestContext)
    {
        SiteServer *s = server(cls);
        auto *r = static_cast<Request *>(*requestContext);
        if (!r || !r->connection)
            return MHD_NO;
        if (!r->started)
            return s->startRequest(*r, mhd, method) ? MHD_YES : MHD_NO;
        if (*uploadSize > 0) {
            r->bodyBytes += qint64(*uploadSize);
            UploadForm &form = r->request.form;
            if (r->bodyBytes > MaxRequestBodyBytes)
                form.status = UploadForm::Status::TooLarge; // bounded whatever the framing
            // Once the form is refused, the rest of the body is read and thrown away.
            if (form.status == UploadForm::Status::Read && r->form
                && MHD_post_process(r->form, uploadData, *uploadSize) != MHD_YES)
                form.status = UploadForm::Status::Unreadable;
            *uploadSize = 0;
            return MHD_YES;
        }
        if (r->answered)
            return MHD_YES;
        return s->finishRequest(*r, mhd) ? MHD_YES : MHD_NO;
    }

    static MHD_Result onFormData(void *cls, MHD_ValueKind, const char *key, const char *fileName,
        const char *, const char *, const char *data, uint64_t offset, size_t size)
    {
        UploadForm &form = static_cast<Request *>(cls)->request.form;
        const QString name = QString::fromUtf8(key);
        // A value comes in pieces; the first piece of the next value starts again at offset 0.
        const bool sameEmptyPart
            = !form.parts.isEmpty() && form.parts.last().data.isEmpty() && form.parts.last().name == name;
        if (offset == 0 && !sameEmptyPart) {
            if (form.parts.size() >= MaxFormParts)
                return MHD_NO;
            FormPart part;
            part.name = name;
            part.hasFileName = fileName != nullptr;
            part.fileName = QString::fromUtf8(fileName);
            form.parts.append(part);
        }
        form.parts.last().data.append(data, qsizetype(size));
        return MHD_YES;
    }

    static void onCompleted(void *cls, MHD_Connection *, void **requestContext, MHD_RequestTerminationCode)
    {
        auto *r = static_cast<Request *>(*requestContext);
        if (r)
            server(cls)->endRequest(r);
        *requestContext = nullptr;
    }

    // Paths are checked as sent (see onRequestLine): nothing is decoded here.
    static size_t keepEncoded(void *, MHD_Connection *, char *text) { return strlen(text); }

    static MHD_Result countLengths(void *cls, MHD_ValueKind, const char *key, const char *)
    {
        if (strcasecmp(key, MHD_HTTP_HEADER_CONTENT_LENGTH) == 0)
            ++*static_cast<int *>(cls);
        return MHD_YES;
    }

    static void freeBody(void *body) { delete static_cast<QByteArray *>(body); }
};

SiteServer::SiteServer(SiteHandler handler, Limits limits)
    : m_handler(std::move(handler))
    , m_limits(limits)
{ }

SiteServer::~SiteServer()
{
    if (m_daemon)
        MHD_stop_daemon(m_daemon); // closes the listening socket as well
    else if (m_listenFd >= 0)
        ::close(m_listenFd);
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
    if (m_listenFd < 0)
        return false;
    struct sigaction stop
    {
    };
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    SiteLog::detachFromReader();

    // The library's own inactivity limit only catches a client that stops reading its answer:
    // the sweep below keeps the request and idle deadlines to the millisecond.
    const unsigned writeTimeoutS = unsigned((m_limits.writeTimeoutMs + 999) / 1000);
    m_daemon = MHD_start_daemon(MHD_USE_EPOLL | MHD_USE_TURBO, 0, nullptr, nullptr, &Callbacks::onRequest,
        this, MHD_OPTION_LISTEN_SOCKET, MHD_socket(m_listenFd), MHD_OPTION_CONNECTION_LIMIT,
        unsigned(m_limits.maxConnections), MHD_OPTION_PER_IP_CONNECTION_LIMIT,
        unsigned(m_limits.maxPerAddress), MHD_OPTION_CONNECTION_TIMEOUT, writeTimeoutS,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, ConnectionMemoryBytes, MHD_OPTION_URI_LOG_CALLBACK,
        &Callbacks::onRequestLine, this, MHD_OPTION_UNESCAPE_CALLBACK, &Callbacks::keepEncoded, this,
        MHD_OPTION_NOTIFY_COMPLETED, &Callbacks::onCompleted, this, MHD_OPTION_NOTIFY_CONNECTION,
        &Callbacks::onConnection, this, MHD_OPTION_SIGPIPE_HANDLED_BY_APP, int(1), MHD_OPTION_END);
    if (!m_daemon)
        return false;

    qint64 lastSweep = NowMs();
    while (!StopRequested) {
        // Before waiting, the log is written out: an idle site never holds lines back.
        m_log.flush(NowMs(), true);
        MHD_run_wait(m_daemon, SweepMs);
        const qint64 now = NowMs();
        if (now - lastSweep >= SweepMs) {
            sweep(now);
            lastSweep = now;
        }
        m_log.flush(now, false);
    }
    MHD_stop_daemon(m_daemon);
    m_daemon = nullptr;
    m_log.flush(NowMs(), true);
    return true;
}

bool SiteServer::startRequest(Request &r, MHD_Connection *mhd, const char *method)
{
    r.started = true;
    Connection &c = *r.connection;
    c.pendingSince = 0;
    SiteRequest &q = r.request;
    q.method = method;
    const qsizetype question = r.target.indexOf('?');
    q.encodedPath = question < 0 ? r.target : r.target.left(question);
    q.encodedQuery = question < 0 ? QByteArray() : r.target.mid(question + 1);
    q.remoteAddress = c.peer;
    // Null when absent, so that an empty header still counts as sent.
    if (const char *v = MHD_lookup_connection_value(mhd, MHD_HEADER_KIND, MHD_HTTP_HEADER_IF_NONE_MATCH))
        q.ifNoneMatch = QByteArray(v, qsizetype(strlen(v)));
    if (const char *v = MHD_lookup_connection_value(mhd, MHD_HEADER_KIND, MHD_HTTP_HEADER_IF_MODIFIED_SINCE))
        q.ifModifiedSince = QByteArray(v, qsizetype(strlen(v)));
    // Behind the proxy every client comes from 127.0.0.1: the proxy names the real one. From
    // anywhere else the header is the client's own word, and ignored.
    if (c.peer == "127.0.0.1" || c.peer == "::ffff:127.0.0.1") {
        const QByteArray client
            = CanonicalAddress(MHD_lookup_connection_value(mhd, MHD_HEADER_KIND, ClientAddressHeader));
        if (!client.isEmpty())
            q.remoteAddress = client;
    }

    if (!q.encodedPath.startsWith('/'))
        return refuse(r, mhd, 400, QStringLiteral("cible de requête invalide"));
    // The answer waits for the library's next call: queued now, it would close the connection.
    if (q.method != "POST" && q.method != "PUT")
        return true;

    // Bodies: only with one length, which we can judge before taking them. Two lengths could let
    // a proxy and the site frame the same bytes differently: refused, and the connection closed.
    int lengths = 0;
    MHD_get_connection_values(mhd, MHD_HEADER_KIND, &Callbacks::countLengths, &lengths);
    if (lengths > 1)
        return refuse(r, mhd, 400, QStringLiteral("plusieurs longueurs de corps"));
    const char *length = MHD_lookup_connection_value(mhd, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (MHD_lookup_connection_value(mhd, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING) || !length)
        return refuse(r, mhd, 411, QStringLiteral("corps sans longueur"));
    bool lengthOk = false;
    const qlonglong announced = QByteArray(length).trimmed().toLongLong(&lengthOk);
    if (!lengthOk || announced < 0)
        return refuse(r, mhd, 400, QStringLiteral("longueur de corps invalide"));
    if (announced > MaxRequestBodyBytes) {
        return refuse(r, mhd, 413, QStringLiteral("corps de %1 octets annoncé").arg(announced));
    }
    // A large body is held for a few connections only: memory stays bounded.
    if (announced > LargeBodyBytes) {
        if (m_bodiesInFlight >= m_limits.maxBodiesInFlight)
            return refuse(r, mhd, 503, QStringLiteral("trop d'envois en cours"));
        r.holdsBody = true;
        ++m_bodiesInFlight;
    }
    const char *type = MHD_lookup_connection_value(mhd, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_TYPE);
    if (HasToken(type, "multipart/form-data"))
        r.form = MHD_create_post_processor(mhd, FormBufferBytes, &Callbacks::onFormData, &r);
    if (!r.form)
        q.form.status = UploadForm::Status::NotMultipart; // another type, or no boundary
    return true; // the body follows
}

bool SiteServer::finishRequest(Request &r, MHD_Connection *mhd)
{
    if (r.form) {
        // A form cut short or left without its closing delimiter is not taken.
        if (MHD_destroy_post_processor(r.form) != MHD_YES
            && r.request.form.status == UploadForm::Status::Read)
            r.request.form.status = UploadForm::Status::Unreadable;
        r.form = nullptr;
    }
    const SiteResponse response = m_handler.handle(r.request, NowMs());
    m_log.add(SiteHandler::logLine(r.request, response));
    return answer(r, mhd, response);
}

bool SiteServer::answer(Request &r, MHD_Connection *mhd, const SiteResponse &response)
{
    r.answered = true;
    Connection &c = *r.connection;
    c.answering = true;
    MHD_Response *reply = nullptr;
    if (!response.bodyFile.isEmpty()) {
        // A file the handler checked: its size is taken from what is opened, and the library
        // reads it from there and closes it.
        const int fd = ::open(QFile::encodeName(response.bodyFile).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        struct stat st;
        if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            if (fd >= 0)
                ::close(fd);
            SiteResponse missing;
            missing.status = 404;
            missing.contentType = QByteArrayLiteral("text/html; charset=utf-8");
            missing.body = ErrorPage(404, QStringLiteral("/"));
            return answer(r, mhd, missing);
        }
        reply = MHD_create_response_from_fd64(uint64_t(st.st_size), fd);
        if (!reply) {
            ::close(fd);
            return false;
        }
    } else {
        // The body is shared with the file cache, not copied (the library only reads it, whatever its
        // prototype says); the library frees our handle.
        auto *body = new QByteArray(response.body);
        reply = MHD_create_response_from_buffer_with_free_callback_cls(
            size_t(body->size()), const_cast<char *>(body->constData()), &Callbacks::freeBody, body);
        if (!reply) {
            delete body;
            return false;
        }
    }
    // A 304 has no body, and so no type.
    if (!response.contentType.isEmpty())
        MHD_add_response_header(reply, MHD_HTTP_HEADER_CONTENT_TYPE, response.contentType.constData());
    // Every answer is fresh, a download must always see the file as it is now; only the web
    // edition, written once per publication, says otherwise.
    const bool ownCacheRule = std::any_of(response.headers.cbegin(), response.headers.cend(),
        [](const auto &header) { return header.first.compare("Cache-Control", Qt::CaseInsensitive) == 0; });
    if (!ownCacheRule)
        MHD_add_response_header(reply, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
    MHD_add_response_header(reply, "X-Content-Type-Options", "nosniff");
    for (const auto &[name, value] : response.headers)
        MHD_add_response_header(reply, name.constData(), value.constData());
    if (++c.served >= m_limits.maxRequests)
        MHD_add_response_header(reply, MHD_HTTP_HEADER_CONNECTION, "close");
    const MHD_Result queued = MHD_queue_response(mhd, unsigned(response.status), reply);
    MHD_destroy_response(reply);
    return queued == MHD_YES;
}

bool SiteServer::refuse(Request &r, MHD_Connection *mhd, int status, const QString &note)
{
    SiteResponse response;
    response.status = status;
    response.contentType = QByteArrayLiteral("text/html; charset=utf-8");
    response.body = ErrorPage(status, QStringLiteral("/"));
    response.logNote = note;
    m_log.add(SiteHandler::logLine(r.request, response));
    // Whatever body was announced stays unread: the library closes the connection after this.
    return answer(r, mhd, response);
}

void SiteServer::endRequest(Request *r)
{
    if (r->form)
        MHD_destroy_post_processor(r->form);
    if (r->holdsBody)
        --m_bodiesInFlight;
    if (Connection *c = r->connection) {
        c->current = nullptr;
        c->answering = false;
        c->pendingSince = 0;
        c->phaseStart = NowMs();
        c->bytesAtPhaseStart = c->fd >= 0 ? BytesReceived(c->fd) : 0;
    }
    delete r;
}

void SiteServer::sweep(qint64 now)
{
    for (Connection *c : m_connections) {
        // An answer on its way is the library's to time: it drops a client that stops reading.
        if (c->dropped || c->answering)
            continue;
        const bool started = c->current || BytesReceived(c->fd) != c->bytesAtPhaseStart;
        if (!started) {
            // Nothing said since the accept (a browser's spare connection) or since the last answer.
            const int limit = c->served == 0 ? m_limits.requestTimeoutMs : m_limits.idleTimeoutMs;
            if (now - c->phaseStart >= limit)
                drop(*c, false);
            continue;
        }
        if (c->pendingSince == 0)
            c->pendingSince = c->served == 0 ? c->phaseStart : now;
        if (now - c->pendingSince >= m_limits.requestTimeoutMs)
            drop(*c, true);
    }
}

void SiteServer::drop(Connection &c, bool tellTimeout)
{
    c.dropped = true;
    if (tellTimeout) {
        // Nothing of an answer has been written on this connection since its last one: the 408
        // goes straight to the socket, before the library sees it closed.
        const QByteArray page = ErrorPage(408, QStringLiteral("/"));
        const QByteArray reply = "HTTP/1.1 408 Request Timeout\r\nContent-Type: text/html; "
                                 "charset=utf-8\r\nContent-Length: "
            + QByteArray::number(page.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n"
            + page;
        [[maybe_unused]] const ssize_t sent
            = ::send(c.fd, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        m_log.event(c.peer,
            "408 requête incomplète après " + QByteArray::number(m_limits.requestTimeoutMs / 1000.0)
                + " s : connexion fermée");
    }
    // The library finds the connection closed at its next turn and releases it; the descriptor
    // stays open until then, so it cannot have been given to another connection.
    ::shutdown(c.fd, SHUT_RDWR);
}

} // namespace kestrava::site
