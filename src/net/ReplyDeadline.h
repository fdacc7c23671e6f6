#pragma once

#include <QEventLoop>
#include <QNetworkReply>
#include <QTimer>

namespace kestrava {

// Waits for a reply to finish, the user's input held back meanwhile. A server that trickles a byte
// now and then never trips the idle timeout: the whole transfer has its own limit, past which the
// reply is aborted. True when that limit ended it.
inline bool AwaitReply(QNetworkReply *reply, int deadlineMs)
{
    bool pastDeadline = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, [&] {
        pastDeadline = true;
        reply->abort();
    });
    deadline.start(deadlineMs);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    return pastDeadline;
}

} // namespace kestrava
