#include "WebEditionWriter.h"

#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "web/WebEdition.h"

#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

namespace kestrava::site {

namespace {

void Log(const QString &line)
{
    const QByteArray bytes = QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + " " + line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

WebEditionWriter::WebEditionWriter(QString seasonFolder, Mode mode)
    : m_seasonFolder(std::move(seasonFolder))
    , m_mode(mode)
{
    if (m_mode == Mode::Background)
        m_thread = std::thread([this] { run(); });
}

WebEditionWriter::~WebEditionWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void WebEditionWriter::request()
{
    if (m_mode == Mode::Immediate) {
        writeNow();
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_due = true;
    }
    m_wake.notify_one();
}

void WebEditionWriter::run()
{
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_due || m_stop; });
            if (m_stop)
                return;
            m_due = false;
        }
        writeNow();
    }
}

bool WebEditionWriter::writeNow()
{
    QElapsedTimer timer;
    timer.start();
    const QDir folder(m_seasonFolder);
    // The season the site publishes for the program is the one its pages show.
    SeasonData season;
    if (!LoadSeasonFile(folder.filePath(QStringLiteral("L12027.txt")), season)) {
        Log(QStringLiteral("édition web non écrite : pas de fichier de saison L12027.txt lisible dans %1").arg(m_seasonFolder));
        return false;
    }
    // One read of the published store: the edition never mixes two uploads.
    const IniSnapshot store = ResultsStore(m_seasonFolder).snapshot();
    WebEditionOptions options;
    options.now = QDateTime::currentDateTime();
    options.projectionBudgetMs = 20000;
    const WebPublication published = PublishWebEdition(folder.filePath(folderName()), season, store, options);
    if (!published.ok) {
        Log(QStringLiteral("édition web non écrite : ") + published.error);
        return false;
    }
    RemoveOldWebEditions(folder.filePath(folderName()));
    Log(QStringLiteral("édition web écrite : %1 fichiers en %2 ms").arg(published.files).arg(timer.elapsed()));
    return true;
}

} // namespace kestrava::site
