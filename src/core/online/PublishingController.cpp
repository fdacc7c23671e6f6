#include "PublishingController.h"

#include "matchdays/MatchdaysController.h"
#include "matchdays/ResultsImport.h"
#include "online/Online.h"
#include "online/Publication.h"
#include "platform/Text.h"
#include "standings/StandingsController.h"

#include <QDir>
#include <QFile>

namespace kestrava {

PublishingController::PublishingController(Session &session, StandingsController &standings,
                                           MatchdaysController &matchdays, NewsModel &news, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
    , m_matchdays(matchdays)
    , m_news(news)
{
    if (!m_session.online())
        return;
    ButtonBarModel &buttons = m_session.buttons;
    buttons.setAction(Btn::SendFile, [this] { open(); });
    buttons.setAction(Btn::Send, [this] { sendFile(); });
    buttons.setAction(Btn::ClosePublishing, [this] { close(); });
    buttons.setAction(Btn::InsertBonus, [this] { insertBonus(); });
    buttons.setAction(Btn::DatedCopy, [this] { datedCopy(); });
    buttons.setAction(Btn::ImportResults, [this] { importResults(); });
}

void PublishingController::fillBonusLines()
{
    const SeasonData &season = m_session.season;
    m_model.bonusLines.clear();
    for (int i = 0; i < TeamCount; ++i) {
        if (season.bonusMalus[i] != 0)
            m_model.bonusLines.append(season.teams[i] + QStringLiteral(": [") + PlainNumber(double(season.bonusMalus[i]))
                                      + u']');
    }
}

void PublishingController::open()
{
    m_matchdays.setMatchdayPanel(false);
    m_standings.setFormGuide(false);
    fillBonusLines();
    m_model.teams.clear();
    for (int i = 0; i < TeamCount; ++i)
        m_model.teams.append(m_session.season.teams[i]);
    // The editor picks the team again: "Insérer" never writes for last time's choice.
    m_model.chosenTeam.clear();
    m_model.visible = true;
    // The introduction shows as a live preview.
    m_news.visible = true;
    m_news.columnTitles = false;
    m_model.introText = m_news.text;
    m_model.versionText = m_session.store().snapshot().value(Store::CV, Store::CV, QStringLiteral("-"));
    m_model.versionEditable = false;
    m_model.ownVersion = VersionShort();
    m_model.notify();
}

void PublishingController::close()
{
    m_model.visible = false;
    m_model.notify();
}

void PublishingController::editIntroText(const QString &text)
{
    m_model.introText = RemoveDiacritics(text);
    m_news.text = m_model.introText;
    m_model.notify();
    m_news.notify();
}

void PublishingController::doubleClickVersion()
{
    m_model.versionEditable = true;
    m_model.notify();
}

void PublishingController::editVersionText(const QString &text)
{
    if (!m_model.versionEditable)
        return;
    m_model.versionText = text;
}

void PublishingController::chooseBonusTeam(const QString &team)
{
    m_model.chosenTeam = team;
}

void PublishingController::editBonusPoints(const QString &text)
{
    m_model.points = text;
}

void PublishingController::insertBonus()
{
    m_model.points = BonusIntegerPart(m_model.points);
    const ResultsStore store = m_session.store();
    if (!m_model.chosenTeam.isEmpty()) {
        const int team = m_session.season.TeamIndexOf(m_model.chosenTeam);
        if (team < TeamCount) {
            const QString value = PlainNumber(ValueOf(m_model.points));
            if (!WriteIni(store.path(), Store::BonMal, TeamLetter(team), value))
                m_session.tell(QStringLiteral("Le bonus ou malus n'a pas pu être enregistré."));
        }
    }
    store.loadBonusMalus(m_session.season);
    fillBonusLines();
    m_standings.compute(0);
    m_model.notify();
}

void PublishingController::sendFile()
{
    // The rows on screen are saved first, whatever follows.
    if (!m_matchdays.saveGrid())
        return;
    m_model.introText = RemoveDiacritics(m_model.introText);
    if (m_session.pseudo.isEmpty()) {
        m_session.tell(QStringLiteral("Pseudo ??"), MessageIcon::None);
        return;
    }
    if (m_session.password.isEmpty()) {
        m_session.tell(QStringLiteral("Mot De Passe ??"), MessageIcon::None);
        return;
    }
    const std::optional<SiteAddresses> site = m_session.siteForUser();
    if (!site)
        return;
    const QString path = m_session.store().path();
    // The password goes to the user's settings only: the store is published.
    m_session.services().settings->write(QStringLiteral("MDP"), QStringLiteral("MDP"), m_session.password);
    if (!WritePublicationDetails(path, m_session.launchTime, m_session.pseudo, m_model.introText,
                                 m_model.versionText)) {
        m_session.tell(QStringLiteral("Le fichier des résultats n'a pas pu être préparé pour l'envoi."));
        return;
    }
    m_session.pump();
    if (Clipboard *clipboard = m_session.services().clipboard)
        clipboard->setText(QDir::toNativeSeparators(path));
    m_session.pump();
    m_session.openUrl(site->uploadPage(m_session.pseudo, m_session.password));
    m_session.pump();
    m_model.visible = false;
    m_matchdays.refreshCalendar();
    m_session.buttons.setVisible(Btn::SendFile, false);
    m_model.notify();
}

void PublishingController::importResults()
{
    // Entries typed in the grid are offered for saving first: the grid shows the store afterwards.
    if (!m_session.mayRefillGrid())
        return;
    Dialogs &dialogs = *m_session.services().dialogs;
    const QString title = QStringLiteral("Importer des résultats");
    const std::optional<QString> path = dialogs.askOpenFile(title, m_session.filesFolder(),
        QStringLiteral("Résultats (*.csv *.json *.txt);;Tous les fichiers (*)"));
    if (!path)
        return;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxImportFileBytes) {
        m_session.tell(QStringLiteral("Le fichier %1 n'a pas pu être lu.").arg(QDir::toNativeSeparators(*path)));
        return;
    }
    const ImportedFile imported = ReadResultsFile(file.readAll());
    ClubMatcher clubs(m_session.season);
    const QStringList notes = clubs.loadOtherNamesFile(m_session.seasonFolder());
    ImportPlan plan = PlanImport(imported, m_session.season, m_session.store().snapshot(), clubs, false);
    plan.notes = notes;
    const QString report = ImportReport(plan);
    if (plan.rows.isEmpty()) {
        dialogs.message(report + QStringLiteral("\n\nRien à enregistrer."), title, MessageIcon::Information);
        return;
    }
    if (!dialogs.askYesNo(report + QStringLiteral("\n\nEnregistrer ces résultats ?"), title))
        return;
    m_session.setBusy(true);
    const bool saved = SaveImport(plan, m_session.store(), m_session.launchTime);
    if (saved) {
        m_standings.compute(0);
        m_matchdays.reloadGrid();
    }
    m_session.setBusy(false);
    if (!saved)
        m_session.tell(QStringLiteral("Les résultats n'ont pas pu être enregistrés dans le fichier Resultats2027.ini."));
}

void PublishingController::datedCopy()
{
    if (!m_session.store().datedCopy(m_session.launchTime))
        m_session.tell(QStringLiteral("La copie datée du fichier des résultats n'a pas pu être faite."));
}

void PublishingController::clickStoreLabel()
{
    m_session.openUrl(QUrl::fromLocalFile(m_session.store().path()));
}

} // namespace kestrava
