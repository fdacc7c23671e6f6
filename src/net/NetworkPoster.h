#pragma once

#include "platform/Services.h"

#include <memory>

class QNetworkAccessManager;

namespace kestrava {

// Posts a form over HTTP with Qt Network, waiting in a local event loop. Any HTTP answer counts as
// reached, its status and page kept for the caller to judge; a redirect is not followed (the
// upload page answers itself). A transfer silent for `idleMs`, or not done within `deadlineMs`,
// fails as unreachable.
class NetworkPoster final : public Poster
{
public:
    explicit NetworkPoster(int idleMs = 15000, int deadlineMs = 60000);
    ~NetworkPoster() override;

    PostReply post(const QUrl &url, const QByteArray &contentType, const QByteArray &body) override;

private:
    std::unique_ptr<QNetworkAccessManager> m_manager;
    int m_idleMs;
    int m_deadlineMs;
};

} // namespace kestrava
