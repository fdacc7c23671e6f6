#include "NetworkDownloader.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

namespace kestrava {

namespace {
// More than any file of the site: a runaway answer is cut rather than filling the disk.
constexpr qint64 MaxBytes = 16 * 1024 * 1024;
} // namespace

NetworkDownloader::NetworkDownloader(int idleMs, int deadlineMs)
    : m_manager(std::make_unique<QNetworkAccessManager>())
    , m_idleMs(idleMs)
    , m_deadlineMs(deadlineMs)
{
}

NetworkDownloader::~NetworkDownloader() = default;

bool NetworkDownloader::download(const QUrl &url, const QString &targetPath, const Check &accept)
{
    m_lastError.clear();
    if (!url.isValid() || url.scheme().isEmpty()) {
        m_lastError = QStringLiteral("adresse invalide");
        return false;
    }
    QNetworkRequest request(url);
    // Always ask the site again, never a cached copy.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    // The length the site announces must be the length we keep: no transparent decompression.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(m_idleMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);

    QNetworkReply *reply = m_manager->get(request);
    QByteArray body;
    bool tooLarge = false;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        body += reply->readAll();
        if (body.size() > MaxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    // A server that trickles a byte now and then never trips the idle timeout: the whole
    // transfer has its own limit.
    bool pastDeadline = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, [&] {
        pastDeadline = true;
        reply->abort();
    });
    deadline.start(m_deadlineMs);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    if (reply->isOpen())
        body += reply->readAll();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    reply->deleteLater();

    if (tooLarge) {
        m_lastError = QStringLiteral("réponse trop volumineuse");
        return false;
    }
    if (pastDeadline) {
        m_lastError = QStringLiteral("délai dépassé (%1 s)").arg(m_deadlineMs / 1000.0);
        return false;
    }
    if (error != QNetworkReply::NoError) {
        m_lastError = errorText;
        return false;
    }
    if (status < 200 || status > 299) {
        m_lastError = QStringLiteral("réponse HTTP %1").arg(status);
        return false;
    }
    // A transfer cut short is never a file: only an announced length proves the body whole. A
    // body that ends with the connection may be cut anywhere; and Qt 6.4 takes a chunked body
    // cut at a chunk's end as finished, so a chunked answer cannot prove it either.
    if (!length.isValid() || length.toLongLong() != body.size()) {
        m_lastError = QStringLiteral("transfert incomplet ou de longueur inconnue");
        return false;
    }
    // None of the site's files is ever empty: an empty answer is a server's fault.
    if (body.isEmpty()) {
        m_lastError = QStringLiteral("réponse vide");
        return false;
    }
    if (accept && !accept(body)) {
        m_lastError = QStringLiteral("fichier reçu invalide");
        return false;
    }
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.flush()) {
        file.cancelWriting();
        m_lastError = QStringLiteral("écriture impossible");
        return false;
    }
    if (!file.commit()) {
        m_lastError = QStringLiteral("écriture impossible");
        return false;
    }
    return true;
}

} // namespace kestrava
