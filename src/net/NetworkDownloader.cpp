#include "NetworkDownloader.h"
#include "ReplyDeadline.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

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
    return transfer(url, targetPath, accept, nullptr) == Outcome::Replaced;
}

Downloader::Outcome NetworkDownloader::downloadIfChanged(const QUrl &url, const QString &targetPath,
                                                         HttpValidators &validators, const Check &accept)
{
    return transfer(url, targetPath, accept, &validators);
}

Downloader::Outcome NetworkDownloader::transfer(const QUrl &url, const QString &targetPath, const Check &accept,
                                                HttpValidators *validators)
{
    constexpr Outcome Failed = Outcome::Failed;
    m_lastError.clear();
    if (!url.isValid() || url.scheme().isEmpty()) {
        m_lastError = QStringLiteral("adresse invalide");
        return Failed;
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
    // Only the validators of the file we hold: without a file, a 304 would leave us with nothing.
    const bool conditional = validators && !validators->isEmpty() && QFile::exists(targetPath);
    if (conditional) {
        if (!validators->etag.isEmpty())
            request.setRawHeader("If-None-Match", validators->etag);
        if (!validators->lastModified.isEmpty())
            request.setRawHeader("If-Modified-Since", validators->lastModified);
    }

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
    const bool pastDeadline = AwaitReply(reply, m_deadlineMs);
    if (reply->isOpen())
        body += reply->readAll();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    const HttpValidators received{reply->rawHeader("ETag"), reply->rawHeader("Last-Modified")};
    reply->deleteLater();

    if (tooLarge) {
        m_lastError = QStringLiteral("réponse trop volumineuse");
        return Failed;
    }
    if (pastDeadline) {
        m_lastError = QStringLiteral("délai dépassé (%1 s)").arg(m_deadlineMs / 1000.0);
        return Failed;
    }
    if (error != QNetworkReply::NoError) {
        m_lastError = errorText;
        return Failed;
    }
    if (status == 304 && conditional)
        return Outcome::NotModified;
    if (status < 200 || status > 299) {
        m_lastError = QStringLiteral("réponse HTTP %1").arg(status);
        return Failed;
    }
    // A transfer cut short is never a file: only an announced length proves the body whole. A
    // body that ends with the connection may be cut anywhere; and Qt 6.4 takes a chunked body
    // cut at a chunk's end as finished, so a chunked answer cannot prove it either.
    if (!length.isValid() || length.toLongLong() != body.size()) {
        m_lastError = QStringLiteral("transfert incomplet ou de longueur inconnue");
        return Failed;
    }
    // None of the site's files is ever empty: an empty answer is a server's fault.
    if (body.isEmpty()) {
        m_lastError = QStringLiteral("réponse vide");
        return Failed;
    }
    if (accept && !accept(body)) {
        m_lastError = QStringLiteral("fichier reçu invalide");
        return Failed;
    }
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.flush()) {
        file.cancelWriting();
        m_lastError = QStringLiteral("écriture impossible");
        return Failed;
    }
    if (!file.commit()) {
        m_lastError = QStringLiteral("écriture impossible");
        return Failed;
    }
    if (validators)
        *validators = received;
    return Outcome::Replaced;
}

} // namespace kestrava
