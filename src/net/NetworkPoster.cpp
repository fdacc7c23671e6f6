#include "NetworkPoster.h"
#include "ReplyDeadline.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace kestrava {

namespace {
// An answer page is a few KiB: anything far larger is not the upload page talking.
constexpr qint64 MaxAnswerBytes = 1024 * 1024;
} // namespace

NetworkPoster::NetworkPoster(int idleMs, int deadlineMs)
    : m_manager(std::make_unique<QNetworkAccessManager>())
    , m_idleMs(idleMs)
    , m_deadlineMs(deadlineMs)
{ }

NetworkPoster::~NetworkPoster() = default;

PostReply NetworkPoster::post(const QUrl &url, const QByteArray &contentType, const QByteArray &body)
{
    PostReply out;
    if (!url.isValid() || url.scheme().isEmpty()) {
        out.error = QStringLiteral("adresse invalide");
        return out;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(m_idleMs);

    QNetworkReply *reply = m_manager->post(request, body);
    QByteArray answer;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        answer += reply->read(MaxAnswerBytes - answer.size() + 1);
        if (answer.size() > MaxAnswerBytes)
            reply->abort();
    });
    const bool pastDeadline = AwaitReply(reply, m_deadlineMs);
    if (reply->isOpen() && answer.size() <= MaxAnswerBytes)
        answer += reply->read(MaxAnswerBytes - answer.size() + 1);

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString errorText = reply->errorString();
    reply->deleteLater();

    if (pastDeadline) {
        out.error = QStringLiteral("délai dépassé (%1 s)").arg(m_deadlineMs / 1000.0);
        return out;
    }
    if (status == 0) {
        out.error = errorText;
        return out;
    }
    out.reached = true;
    out.status = status;
    out.body = answer.left(MaxAnswerBytes);
    return out;
}

} // namespace kestrava
