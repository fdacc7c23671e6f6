#include "SiteLog.h"

#include <QDateTime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kestrava::site {

namespace {
// Log lines waiting for a slow reader of our output, at most.
constexpr qsizetype MaxBacklog = 1024 * 1024;
} // namespace

void SiteLog::detachFromReader()
{
    std::fflush(stdout);
    struct stat out;
    if (fstat(STDOUT_FILENO, &out) == 0 && (S_ISFIFO(out.st_mode) || S_ISSOCK(out.st_mode)))
        fcntl(STDOUT_FILENO, F_SETFL, fcntl(STDOUT_FILENO, F_GETFL) | O_NONBLOCK);
}

void SiteLog::add(const QByteArray &line)
{
    m_buffer += line;
    m_buffer += '\n';
}

void SiteLog::event(const QByteArray &peer, const QByteArray &what)
{
    add(QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + ' ' + peer + " - - " + what);
}

void SiteLog::flush(qint64 nowMs, bool force)
{
    if (m_buffer.isEmpty() || (!force && m_buffer.size() < 32 * 1024 && nowMs - m_lastFlush < 200))
        return;
    qsizetype written = 0;
    while (written < m_buffer.size()) {
        const ssize_t n
            = ::write(STDOUT_FILENO, m_buffer.constData() + written, size_t(m_buffer.size() - written));
        if (n > 0)
            written += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break; // the reader is behind: the rest waits for the next turn
    }
    m_buffer.remove(0, written);
    if (m_buffer.size() > MaxBacklog) {
        const qsizetype cut = m_buffer.indexOf('\n', m_buffer.size() - MaxBacklog / 2) + 1;
        m_buffer = "(lignes de journal perdues : la sortie n'est pas lue)\n" + m_buffer.mid(cut);
    }
    m_lastFlush = nowMs;
}

} // namespace kestrava::site
