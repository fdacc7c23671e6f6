#include "DonorsController.h"

#include "online/Online.h"
#include "platform/Text.h"
#include "standings/StandingsController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace kestrava {

DonorsController::DonorsController(Session &session, StandingsController &standings, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
{
    m_timer = new QTimer(this);
    m_timer->setInterval(800);
    connect(m_timer, &QTimer::timeout, this, &DonorsController::tick);
    if (m_session.online()) {
        m_session.buttons.setAction(Btn::Donors, [this] { toggle(); });
        m_session.buttons.setAction(Btn::CloseDonors, [this] { close(); });
    }
}

QString DonorsController::localPath() const
{
    return QDir(m_session.seasonFolder()).filePath(QStringLiteral("don.L1"));
}

bool DonorsController::load()
{
    const QString local = localPath();
    const QFileInfo info(local);
    const auto modified = info.exists() ? std::optional<QDateTime>(info.lastModified()) : std::nullopt;
    if (!DonorsFileFresh(modified, m_session.launchTime)) {
        Downloader *downloader = m_session.services().downloader;
        if (!downloader || !m_session.siteAddressKnown()
            || !downloader->download(m_session.site().donors(), local, LooksLikeDonorsFile))
            return false;
    }
    QFile f(local);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    m_model.entries = ParseDonors(DecodeWin1252(f.readAll()));
    if (m_model.next >= m_model.entries.size())
        m_model.next = 0;
    m_model.running = !m_model.entries.isEmpty();
    if (m_model.running)
        m_timer->start();
    return true;
}

void DonorsController::toggle()
{
    if (m_model.visible) {
        close();
        return;
    }
    m_model.visible = true;
    load();
    m_model.notify();
}

void DonorsController::close()
{
    m_model.visible = false;
    stopTicker();
}

void DonorsController::stopTicker()
{
    m_model.running = false;
    m_timer->stop();
    m_model.notify();
}

bool DonorsController::refreshWeekly()
{
    Downloader *downloader = m_session.services().downloader;
    return downloader && m_session.siteAddressKnown()
        && downloader->download(m_session.site().donors(), localPath(), LooksLikeDonorsFile);
}

void DonorsController::tick()
{
    if (m_model.entries.isEmpty())
        return;
    m_standings.setFormGuide(false);
    int i = m_model.next;
    if (i < 0 || i >= m_model.entries.size())
        i = 0;
    const QString entry = m_model.entries[i];
    m_model.colour = entry.contains(u'$') ? Rgb{192, 0, 0} : Rgb{0, 0, 192};
    m_model.caption = QString(entry).remove(u'$');
    ++i;
    m_model.next = i >= m_model.entries.size() ? 0 : i;
    m_model.notify();
    m_standings.panels().notify();
}

void DonorsController::hoverLabel()
{
    if (!m_model.running)
        return;
    stopTicker();
}

void DonorsController::hoverPanel()
{
    if (m_model.running || m_model.entries.isEmpty() || !m_model.visible)
        return;
    m_model.running = true;
    m_timer->start();
    m_model.notify();
}

void DonorsController::clickDonation()
{
    if (const auto site = m_session.siteForUser())
        m_session.openUrl(site->donationPage());
}

void DonorsController::clickHomeLink()
{
    if (const auto site = m_session.siteForUser())
        m_session.openUrl(site->homePage());
}

void DonorsController::clickContactLink()
{
    if (const auto site = m_session.siteForUser())
        m_session.openUrl(site->contactPage(SeasonTitle + QStringLiteral(" Version ") + VersionShort()));
}

} // namespace kestrava
