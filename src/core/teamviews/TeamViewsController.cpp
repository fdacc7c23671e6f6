#include "TeamViewsController.h"

#include "matchdays/MatchdaysController.h"
#include "standings/StandingsController.h"
#include "teamviews/CalendarExport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QDir>
#include <QSaveFile>

namespace kestrava {

TeamViewsController::TeamViewsController(
    Session &session, StandingsController &standings, MatchdaysController &matchdays, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
    , m_matchdays(matchdays)
{
    ButtonBarModel &buttons = m_session.buttons;
    buttons.setAction(Btn::Teams, [this] { openPlanning(); });
    buttons.setAction(Btn::CloseTeamSheet, [this] { closePlanning(); });

    m_bannerTimer.setInterval(BannerTickMs);
    connect(&m_bannerTimer, &QTimer::timeout, this, &TeamViewsController::bannerTick);

    // Every run of the table may move the shown team (rank, counts): the panel follows it.
    connect(&m_standings.table(), &LeagueTableModel::changed, this, [this] {
        if (m_summaryHolds > 0)
            return;
        const QString team = m_summary.team().isEmpty() ? leader() : m_summary.team();
        if (!team.isEmpty())
            showSummary(team);
    });
}

std::optional<int> TeamViewsController::tableRowOf(const QString &team) const
{
    const LeagueTableModel &table = m_standings.table();
    for (int r = 0; r < TeamCount; ++r) {
        if (table.cell(r, TableColumn::Name).text == team)
            return r;
    }
    return std::nullopt;
}

QString TeamViewsController::leader() const
{
    return m_standings.table().cell(0, TableColumn::Name).text;
}

// The planning frame.

void TeamViewsController::openTeamSheet(const QString &team)
{
    m_matchdays.setSheetTeam(team);
    m_session.buttons.press(Btn::Teams);
}

void TeamViewsController::openPlanning()
{
    const SeasonData &season = m_session.season;
    if (m_sheet.clubs.size() < 2) {
        m_session.setBusy(true);
        m_sheet.clubs.clear();
        for (int i = 0; i < TeamCount; ++i)
            m_sheet.clubs.append(season.teams[i]);
        m_session.setBusy(false);
    }
    const int index = season.TeamIndexOf(m_matchdays.planningTeam());
    // The same club's sheet stays as it is (its marks included) unless what it shows has changed.
    if (index < TeamCount && index == m_sheet.selected && index < m_sheet.clubs.size()
        && sheetSource(m_sheet.clubs[index]) != m_sheetSource)
        fillSheet(index);
    else if (index < TeamCount)
        selectClub(index);
    m_sheet.visible = true;
    m_sheet.notify();
}

void TeamViewsController::closePlanning()
{
    m_sheet.visible = false;
    m_sheet.notify();
}

void TeamViewsController::selectClub(int index)
{
    if (index < 0 || index >= m_sheet.clubs.size() || index == m_sheet.selected)
        return;
    fillSheet(index);
    m_sheet.notify();
}

void TeamViewsController::fillSheet(int index)
{
    const QString team = m_sheet.clubs[index];
    SheetContext ctx;
    if (const auto row = tableRowOf(team))
        ctx.rank = m_standings.table().rankText(*row);
    ctx.favouriteTeam = m_session.favouriteTeam;
    FillTeamSheet(m_sheet, m_session.season, m_session.store().snapshot(), team, ctx);
    m_sheetSource = sheetSource(team);
}

QByteArray TeamViewsController::sheetSource(const QString &team) const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QFile store(m_session.store().path());
    if (store.open(QIODevice::ReadOnly))
        hash.addData(&store);
    const auto row = tableRowOf(team);
    hash.addData(QByteArray(1, '\0') + m_session.favouriteTeam.toUtf8() + '\0'
        + (row ? m_standings.table().rankText(*row).toUtf8() : QByteArray()));
    return hash.result();
}

void TeamViewsController::hoverSheetName(int row, bool away)
{
    if (row < 0 || row >= SheetRowCount || !m_sheet.rows[row].visible)
        return;
    const SheetRow &r = m_sheet.rows[row];
    if (m_sheet.markName(away ? r.away.text : r.home.text))
        m_sheet.notify();
}

bool TeamViewsController::exportCalendar()
{
    if (m_sheet.selected < 0)
        return false;
    const QString team = m_sheet.team;
    const QString proposed = QDir(m_session.filesFolder()).filePath(CalendarFileName(team));
    const std::optional<QString> path = m_session.services().dialogs->askSaveFile(
        QStringLiteral("Exporter le calendrier"), proposed, QStringLiteral("Calendrier iCalendar (*.ics)"));
    if (!path || path->isEmpty())
        return false;
    const QByteArray ics
        = SeasonAsICalendar(m_session.season, m_session.store().snapshot(), team, m_session.launchTime);
    // Written whole or not at all: a full disk leaves an older export as it was.
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ics) != ics.size() || !file.commit()) {
        m_session.tell(QStringLiteral("Le calendrier n'a pas pu être enregistré dans\n")
            + QDir::toNativeSeparators(*path));
        return false;
    }
    return true;
}

// The summary panel.

void TeamViewsController::refreshSummary(const QString &team)
{
    std::optional<QString> rank;
    RankMovement movement;
    if (const auto row = tableRowOf(team)) {
        rank = m_standings.table().rankText(*row);
        if (m_movementOfRow)
            movement = m_movementOfRow(*row);
    }
    const TeamRecord record = CountTeamRecord(m_session.season, m_session.store().snapshot(), team);
    m_summary.refresh(team, record, rank, movement);
}

void TeamViewsController::showSummary(const QString &team)
{
    if (team.isEmpty())
        return;
    refreshSummary(team);
    m_summary.notify();
}

void TeamViewsController::pointAtTeam(const QString &team)
{
    if (team != m_summary.team())
        showSummary(team);
}

void TeamViewsController::hoverTableRow(const QString &team)
{
    endBanner();
    pointAtTeam(team);
}

void TeamViewsController::hoverGridTeam(int row, bool away, bool nameBox)
{
    if (row < 0 || row >= GridRowCount)
        return;
    const GridRow &r = m_matchdays.grid().row(row);
    const NameBox &box = away ? r.away : r.home;
    if (!box.visible)
        return;
    if (nameBox)
        endBanner();
    pointAtTeam(box.text);
}

void TeamViewsController::clickLeader()
{
    showSummary(leader());
}

void TeamViewsController::clickSummary()
{
    showSummary(m_summary.team());
}

void TeamViewsController::setRankMovements(std::function<RankMovement(int)> movementOfRow)
{
    m_movementOfRow = std::move(movementOfRow);
}

// The crest banner.

void TeamViewsController::startBanner()
{
    showSummary(leader());
    std::array<QString, TeamCount> order;
    for (int r = 0; r < TeamCount; ++r)
        order[r] = m_standings.table().cell(r, TableColumn::Name).text;
    m_banner.layOut(order);
    m_bannerTimer.start();
    m_banner.notify();
}

void TeamViewsController::bannerTick()
{
    if (!m_banner.step())
        m_bannerTimer.stop();
    const QString team = m_banner.crestInTriggerZone();
    if (!team.isEmpty())
        pointAtTeam(team);
    m_banner.notify();
}

void TeamViewsController::endBanner()
{
    // Only a running banner is ended, at its next tick; a paused one (the pointer was on a crest)
    // waits for the bare window to start it again.
    if (!m_banner.shown || m_banner.gone() || !m_bannerTimer.isActive())
        return;
    m_banner.stripLeft = BannerTwips::OutOfSight;
}

void TeamViewsController::hoverBannerCrest(int position)
{
    if (position < 0 || position >= TeamCount || !m_banner.shown)
        return;
    m_bannerTimer.stop();
    pointAtTeam(m_banner.crests[position]);
}

void TeamViewsController::hoverWindow()
{
    if (m_banner.shown && !m_banner.gone() && !m_bannerTimer.isActive())
        m_bannerTimer.start();
}

void TeamViewsController::clickLastUpdate()
{
    startBanner();
}

} // namespace kestrava
