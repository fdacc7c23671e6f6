#include "DownloadController.h"

#include "matchdays/MatchdaysController.h"
#include "online/Online.h"
#include "platform/Text.h"
#include "standings/StandingsController.h"

namespace kestrava {

namespace {
// Less than a minute between the launch and this run's download: the download is done.
constexpr qint64 OneMinuteMs = 60 * 1000;
} // namespace

DownloadController::DownloadController(Session &session, StandingsController &standings,
                                       MatchdaysController &matchdays, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
    , m_matchdays(matchdays)
{
    if (m_session.online()) {
        m_session.buttons.setAction(Btn::Help, [this] {
            if (const auto site = m_session.siteForUser())
                m_session.openUrl(site->helpPage());
        });
        m_session.buttons.setAction(Btn::Update, [this] { resultsDownload(); });
    }
}

bool DownloadController::downloadDone() const
{
    return m_downloadTag.isValid() && std::abs(m_downloadTag.msecsTo(m_session.launchTime)) < OneMinuteMs;
}

void DownloadController::resultsDownload()
{
    Downloader *downloader = m_session.services().downloader;
    if (!downloader)
        return;
    // No publisher yet: the one download of the run is kept for when the address is given.
    const std::optional<SiteAddresses> site = m_session.siteForUser();
    if (!site)
        return;
    const QDateTime &launch = m_session.launchTime;
    // One download per run: the tag starts a day before the launch and takes the launch time.
    if (!m_downloadTag.isValid())
        m_downloadTag = launch.addDays(-1);
    if (m_downloadTag.msecsTo(launch) < OneMinuteMs)
        return;
    m_downloadTag = launch;
    m_session.setBusy(true);

    const ResultsStore results = m_session.store();
    const QDateTime before = ParseMaj(results.snapshot().value(Store::Maj, Store::Maj), launch);
    m_session.pump();
    if (!FetchResultsStore(results, *site, *downloader)) {
        m_session.setBusy(false);
        m_session.services().dialogs->message(QStringLiteral("Erreur de connexion !"), SeasonTitle,
                                              MessageIcon::Information);
        m_standings.compute(0);
        m_session.buttons.paintHover(-1, downloadDone());
        return;
    }
    m_session.pump();
    takeNewStore(before, true);
    m_session.setBusy(false);
}

Downloader::Outcome DownloadController::refreshIfChanged()
{
    Downloader *downloader = m_session.services().downloader;
    if (!downloader || !m_session.siteAddressKnown())
        return Downloader::Outcome::Failed;
    const ResultsStore results = m_session.store();
    const QDateTime before = ParseMaj(results.snapshot().value(Store::Maj, Store::Maj), m_session.launchTime);
    const Downloader::Outcome outcome = FetchResultsStoreIfChanged(results, m_session.site(), *downloader);
    if (outcome == Downloader::Outcome::Replaced)
        takeNewStore(before, false);
    return outcome;
}

void DownloadController::takeNewStore(const QDateTime &before, bool interactive)
{
    if (!versionAndDataCheck(interactive))
        return;
    LeagueTableModel &table = m_standings.table();
    const IniSnapshot snapshot = m_session.store().snapshot();
    ResultsStore::loadBonusMalus(snapshot, m_session.season);
    const QString maj = snapshot.value(Store::Maj, Store::Maj);
    const QString publisher = snapshot.value(Store::Pseudo, Store::Pseudo);
    const QDateTime after = ParseMaj(maj, m_session.launchTime);
    const bool own = !m_session.pseudo.isEmpty() && m_session.pseudo == publisher;
    if (interactive) {
        m_session.pump();
        m_matchdays.refreshCalendar();
    }
    m_standings.compute(0);
    m_standings.requestRankMovements(m_session.currentMatchday);
    // The standings run rewrites the label's text; its colour tells how the new file compares.
    table.setLastUpdate(maj, publisher, LastUpdateColour(before, after, own));
    if (interactive)
        m_news.showIfAny();
    else if (m_news.text.isEmpty())
        m_news.hide();
    // The user stays where they are: the grid shows the same fixtures with the new figures.
    if (!interactive)
        m_matchdays.refreshInPlace();
    m_news.notify();
    m_standings.panels().notify();
    emit table.changed();
    m_session.buttons.paintHover(-1, downloadDone());
}

bool DownloadController::versionAndDataCheck(bool interactive)
{
    const IniSnapshot snapshot = m_session.store().snapshot();
    const QString cv = snapshot.value(Store::CV, Store::CV, QStringLiteral("-"));
    // An automatic refresh asks nothing: the next "Mise à Jour" or start-up asks.
    if (interactive && NewerVersionAnnounced(cv)) {
        const bool yes = m_session.services().dialogs->askYesNo(
            QStringLiteral("Une version plus récente du logiciel est disponible, voulez vous la télécharger ?"),
            ProgramName + QStringLiteral(" Version ") + cv);
        if (yes) {
            m_session.openUrl(m_session.site().downloadPage());
            emit newerVersionChosen();
            return false;
        }
    }
    // The season file is replaced only by a complete, well-formed one; it is read at the next start.
    if (UpdateSeasonFile(snapshot, m_session.season.dataVersion, m_session.seasonFolder(), m_session.site(),
                         *m_session.services().downloader)
        == SeasonUpdate::Failed)
        m_session.tell(QStringLiteral("Mise a jour incomplete"), MessageIcon::None);
    m_news.text = snapshot.value(Store::Texte, Store::Texte);
    if (interactive)
        m_news.showIfAny();
    const QString publisher = snapshot.value(Store::Pseudo, Store::Pseudo);
    LeagueTableModel &table = m_standings.table();
    table.setLastUpdate(snapshot.value(Store::Maj, Store::Maj), publisher,
                        m_session.pseudo == publisher ? MajColours::Newer : table.lastUpdateColour());
    return true;
}

} // namespace kestrava
