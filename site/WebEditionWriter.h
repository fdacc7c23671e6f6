#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kestrava::site {

// Writes the season's web edition (the folder "web" of the season folder) from the published
// files, at start and after every accepted upload. In the background the site keeps answering
// while the simulated seasons run; uploads arriving meanwhile are folded into one more edition.
class WebEditionWriter
{
public:
    enum class Mode { Background, Immediate };
    WebEditionWriter(QString seasonFolder, Mode mode);
    ~WebEditionWriter();
    WebEditionWriter(const WebEditionWriter &) = delete;
    WebEditionWriter &operator=(const WebEditionWriter &) = delete;

    // The published store changed: a new edition is due.
    void request();
    // Immediate mode, and the tests: writes now. False, with a log line, when it could not.
    bool writeNow();

    static QString folderName() { return QStringLiteral("web"); }

private:
    void run();

    QString m_seasonFolder;
    Mode m_mode;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_due = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace kestrava::site
