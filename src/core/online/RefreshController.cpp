#include "RefreshController.h"

#include "matchdays/MatchdaysController.h"
#include "online/DownloadController.h"
#include "online/Online.h"
#include "online/RefreshSchedule.h"
#include "standings/StandingsController.h"

#include <QFile>

namespace kestrava {

namespace {
// One summary lists this many results; the rest are counted.
constexpr int SummaryLines = 9;
} // namespace

RefreshController::RefreshController(Session &session, StandingsController &standings,
                                     MatchdaysController &matchdays, DownloadController &download, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
    , m_matchdays(matchdays)
    , m_download(download)
{
    m_timer.setInterval(BeatMs);
    // A minute late is nothing here; a coarse timer lets the system group its wake-ups.
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RefreshController::tick);
    if (Notifier *notifier = m_session.services().notifier)
        notifier->setActivationHandler([this](int matchday) { activateNotice(matchday); });
}

void RefreshController::setEnabled(bool on)
{
    m_enabled = on;
    updateTimer();
}

void RefreshController::setWindowShown(bool shown)
{
    m_windowShown = shown;
    updateTimer();
}

void RefreshController::updateTimer()
{
    const bool run = m_enabled && m_windowShown && m_session.services().downloader;
    if (run && !m_timer.isActive())
        m_timer.start();
    else if (!run)
        m_timer.stop();
}

bool RefreshController::due(const QDateTime &now) const
{
    if (!m_enabled || !m_windowShown || !m_session.services().downloader)
        return false;
    if (!InRefreshHours(m_session.season, now))
        return false;
    if (m_lastAsked.isValid() && m_lastAsked.secsTo(now) < RefreshIntervalMinutes * 60 && m_lastAsked <= now)
        return false;
    // The editor's typing is never overwritten, nor a store saved since the last download: the
    // kept validators describe the store only while it is the downloaded file.
    if (m_matchdays.grid().pending())
        return false;
    const ResultsStore store = m_session.store();
    return !QFile::exists(store.path()) || StoredValidators(store).has_value();
}

void RefreshController::tick()
{
    const QDateTime now = m_session.services().clock->now();
    if (!due(now))
        return;
    m_lastAsked = now;
    ++m_requests;
    const IniSnapshot before = m_session.store().snapshot();
    m_lastOutcome = m_download.refreshIfChanged();
    if (m_lastOutcome == Downloader::Outcome::Replaced)
        tell(before, m_session.store().snapshot());
}

void RefreshController::tell(const IniSnapshot &before, const IniSnapshot &after)
{
    Notifier *notifier = m_session.services().notifier;
    if (!notifier)
        return;
    const QList<NewResult> results = NewResults(m_session.season, before, after);
    const QString favourite = m_session.favouriteTeam;
    const bool hasFavourite = !favourite.isEmpty() && m_session.season.TeamIndexOf(favourite) < TeamCount;
    int rank = 0;
    const LeagueTableModel &table = m_standings.table();
    for (int r = 0; r < TeamCount && hasFavourite; ++r) {
        if (table.cell(r, TableColumn::Name).text == favourite)
            rank = r + 1;
    }
    QList<const NewResult *> others;
    for (const NewResult &result : results) {
        if (hasFavourite && result.involves(favourite)) {
            const QString standing = rank > 0 ? favourite + QStringLiteral(" est ") + RankText(rank)
                                                    + QStringLiteral(" au classement")
                                              : QString();
            notifier->notify({result.line(), standing, result.matchday});
        } else {
            others.append(&result);
        }
    }
    if (others.isEmpty())
        return;
    const QString title = others.size() == 1 ? QStringLiteral("1 nouveau résultat")
                                             : QString::number(others.size()) + QStringLiteral(" nouveaux résultats");
    QStringList lines;
    for (int i = 0; i < others.size() && i < SummaryLines; ++i)
        lines.append(others[i]->line());
    if (others.size() > SummaryLines)
        lines.append(QStringLiteral("et %1 autres").arg(others.size() - SummaryLines));
    notifier->notify({title, lines.join(u'\n'), others.first()->matchday});
}

void RefreshController::activateNotice(int matchday)
{
    // The user clicked: typed entries are offered for saving as before any other change of matchday.
    if (matchday >= 1 && matchday <= MatchdayCount && m_session.mayRefillGrid())
        m_matchdays.showMatchday(matchday);
    emit raiseRequested();
}

} // namespace kestrava
