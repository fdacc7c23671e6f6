#pragma once

#include <QByteArray>

namespace kestrava::site {

// The site's log on standard output. Lines are gathered and written at most a fraction of a
// second later, so that a busy evening costs no write per request; a reader that stops reading
// (a full pipe) never stops the site: the oldest lines go past a backlog limit, and it says so.
class SiteLog
{
public:
    // Makes standard output non-blocking when it is a pipe or a socket.
    static void detachFromReader();

    void add(const QByteArray &line);
    // A line about a connection rather than a request: time, address, what happened.
    void event(const QByteArray &peer, const QByteArray &what);
    // Writes what it can; unless `force`, only once enough has gathered or enough time has passed.
    void flush(qint64 nowMs, bool force);

private:
    QByteArray m_buffer;
    qint64 m_lastFlush = 0;
};

} // namespace kestrava::site
