#pragma once

#include "platform/Services.h"

#include <memory>

class QNetworkAccessManager;

namespace kestrava {

// Downloads over HTTP with Qt Network. The caller's thread keeps handling events during the
// transfer (a local event loop), so the window keeps painting. The target is replaced atomically,
// and only by a 2xx answer known to be whole (a Content-Length that matches; never a body that
// merely ended with the connection, nor a chunked one, which Qt cannot prove finished), not
// empty, and passing the caller's check. A transfer silent for `idleMs`, or not done within `deadlineMs`,
// fails.
class NetworkDownloader final : public Downloader
{
public:
    explicit NetworkDownloader(int idleMs = 15000, int deadlineMs = 30000);
    ~NetworkDownloader() override;

    bool download(const QUrl &url, const QString &targetPath, const Check &accept = {}) override;
    // A 304 to the validators leaves the file alone; a 2xx replaces it as above and gives its
    // validators.
    Outcome downloadIfChanged(const QUrl &url, const QString &targetPath, HttpValidators &validators,
                              const Check &accept = {}) override;
    // Why the last download failed, for a program that has no window to show it in.
    QString lastError() const { return m_lastError; }

private:
    Outcome transfer(const QUrl &url, const QString &targetPath, const Check &accept, HttpValidators *validators);

    std::unique_ptr<QNetworkAccessManager> m_manager;
    int m_idleMs;
    int m_deadlineMs;
    QString m_lastError;
};

} // namespace kestrava
