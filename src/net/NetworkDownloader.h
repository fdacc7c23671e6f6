#pragma once

#include "platform/Services.h"

#include <memory>

class QNetworkAccessManager;

namespace kestrava {

// Downloads over HTTP with Qt Network. The caller's thread keeps handling events during the
// transfer (a local event loop), so the window keeps painting. The target is replaced atomically,
// and only after a complete 2xx answer that passes the caller's check.
class NetworkDownloader final : public Downloader
{
public:
    explicit NetworkDownloader(int timeoutMs = 15000);
    ~NetworkDownloader() override;

    bool download(const QUrl &url, const QString &targetPath, const Check &accept = {}) override;
    // Why the last download failed, for a program that has no window to show it in.
    QString lastError() const { return m_lastError; }

private:
    std::unique_ptr<QNetworkAccessManager> m_manager;
    int m_timeoutMs;
    QString m_lastError;
};

} // namespace kestrava
