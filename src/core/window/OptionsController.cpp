#include "OptionsController.h"

#include "matchdays/MatchdaysController.h"
#include "online/Online.h"
#include "platform/Settings.h"
#include "standings/StandingsController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kestrava {

namespace {
const QString Data = QStringLiteral("Data");
} // namespace

OptionsController::OptionsController(Session &session, StandingsController &standings,
                                     MatchdaysController &matchdays, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
    , m_matchdays(matchdays)
{
    ButtonBarModel &buttons = m_session.buttons;
    buttons.setAction(Btn::Options, [this] { toggle(); });
    buttons.setAction(Btn::CloseOptions, [this] { close(); });
    buttons.setAction(Btn::DreamTeam, [this] { askPassword(); });
    if (m_session.online())
        buttons.setAction(Btn::CheckSiteAddress, [this] { checkSiteAddress(m_model.siteAddressTyped); });
}

void OptionsController::toggle()
{
    if (m_model.visible) {
        m_model.visible = false;
        return;
    }
    m_model.favouriteTag.clear();
    m_model.visible = true;
    if (m_model.favouriteEntries.size() < 10) {
        const SeasonData &season = m_session.season;
        m_model.favouriteEntries.clear();
        m_model.favouriteEntries.append(QStringLiteral("Aucune"));
        for (int i = 0; i < TeamCount; ++i) {
            m_model.favouriteEntries.append(season.teams[i]);
            if (season.teams[i] == m_session.favouriteTeam)
                m_model.crestTeam = season.teams[i];
        }
    }
}

void OptionsController::close()
{
    // The panel itself is hidden by the window's prologue, like every other button's.
    if (closeRefillsGrid())
        m_matchdays.refreshCalendar();
}

void OptionsController::chooseFavourite(int position)
{
    if (position < 0 || position >= m_model.favouriteEntries.size() || !m_session.mayRefillGrid())
        return;
    const QString chosen = m_model.favouriteEntries[position];
    if (m_model.favouriteCaption != chosen)
        m_model.favouriteTag = QStringLiteral("T");
    m_model.favouriteCaption = chosen;
    m_session.services().settings->write(Data, QStringLiteral("EP"), chosen);
    m_session.favouriteTeam = chosen;
    m_model.crestTeam.clear();
    if (position >= 1) {
        m_model.crestTeam = chosen;
        m_model.highlightFavourite = 1;
    } else {
        m_model.highlightFavourite = 0;
    }
    m_standings.showFavourite();
    m_model.notify();
    m_matchdays.refreshCalendar();
}

void OptionsController::setCheck(int box, int state)
{
    const int v = state == 1 ? 1 : 0;
    if (box == 4)
        m_model.autoUpdate = v;
    else if (box == 5)
        m_model.highlightFavourite = v;
    else if (box == 6) {
        m_model.trackingAid = v;
        m_standings.setTrackingAid(v == 1);
    } else if (box == 7)
        m_model.autoRefresh = v;
    m_model.notify();
}

void OptionsController::askPassword()
{
    const auto answer = m_session.services().dialogs->askText(QStringLiteral("Mot de passe"), ProgramName);
    if (answer && *answer == EditingPassword)
        m_session.password = EditingPassword;
}

bool OptionsController::checkSiteAddress(const QString &typed)
{
    Downloader *downloader = m_session.services().downloader;
    if (!downloader)
        return false;
    const QString title = QStringLiteral("Adresse de l'éditeur");
    Dialogs &dialogs = *m_session.services().dialogs;
    const QString kept = m_model.siteAddress.isEmpty()
        ? QStringLiteral("Aucune adresse n'est enregistrée.")
        : QStringLiteral("L'adresse enregistrée reste %1").arg(m_model.siteAddress);
    const std::optional<QString> base = SiteAddresses::normalisedBase(typed);
    if (!base) {
        dialogs.message(QStringLiteral("« %1 » n'est pas une adresse de site : elle commence par http:// ou "
                                       "https://, comme l'adresse que votre éditeur vous a donnée.\r\n%2")
                            .arg(typed.trimmed(), kept),
            title, MessageIcon::Warning);
        return false;
    }
    // The season file answers for the site: its version proves it is a publisher of this season.
    const SiteAddresses site(*base);
    QTemporaryDir scratch;
    const QString path = QDir(scratch.path()).filePath(QStringLiteral("L12027.txt"));
    m_session.setBusy(true);
    const bool fetched = scratch.isValid() && downloader->download(site.seasonFile(), path);
    m_session.setBusy(false);
    if (!fetched) {
        dialogs.message(
            QStringLiteral("Rien ne répond à l'adresse %1 : le fichier de la saison n'a pas pu y être "
                           "téléchargé.\r\nVérifiez l'adresse et votre connexion.\r\n%2")
                .arg(site.seasonFile().toString(), kept),
            title, MessageIcon::Warning);
        return false;
    }
    QFile file(path);
    SeasonData season;
    if (!file.open(QIODevice::ReadOnly) || !LooksLikeSeasonFile(file.readAll())
        || !LoadSeasonFile(path, season)) {
        dialogs.message(
            QStringLiteral("La réponse de %1 n'est pas un fichier de la saison : ce n'est pas l'adresse "
                           "d'un éditeur.\r\n%2")
                .arg(site.seasonFile().toString(), kept),
            title, MessageIcon::Warning);
        return false;
    }
    m_session.services().settings->write(QStringLiteral("Site"), QStringLiteral("Base"), *base);
    m_model.siteAddress = *base;
    m_model.siteAddressTyped = *base;
    m_model.notify();
    dialogs.message(QStringLiteral("L'adresse de l'éditeur est enregistrée : %1\r\n"
                                   "Fichier de la saison : version %2.")
                        .arg(*base)
                        .arg(season.dataVersion),
        title, MessageIcon::Information);
    emit siteAddressSaved();
    return true;
}

void OptionsController::restore()
{
    const SettingsStore &settings = *m_session.services().settings;
    m_model.siteAddress = m_session.siteAddressKnown() ? m_session.site().base() : QString();
    m_model.siteAddressTyped = m_model.siteAddress;
    m_model.siteAddressEditable = m_session.online();
    m_model.highlightFavourite = CheckStateFromText(settings.read(Data, QStringLiteral("C5"), QStringLiteral("0")));
    m_model.trackingAid = CheckStateFromText(settings.read(Data, QStringLiteral("C6"), QStringLiteral("0")));
    m_standings.setTrackingAid(m_model.trackingAid == 1);
    if (m_model.highlightFavourite == 1) {
        // Ticked without a favourite stored: the caption keeps its "Aucune", and no club is held.
        m_session.favouriteTeam = settings.read(Data, QStringLiteral("EP"), QString());
        m_model.favouriteCaption
            = m_session.favouriteTeam.isEmpty() ? QStringLiteral("Aucune") : m_session.favouriteTeam;
    }
    m_model.autoUpdate = CheckStateFromText(settings.read(Data, QStringLiteral("C4"), QStringLiteral("0")));
    // Off until the user turns it on: the publisher's site decides whether it can take the requests.
    m_model.autoRefresh = CheckStateFromText(settings.read(Data, QStringLiteral("C7"), QStringLiteral("0")));
}

void OptionsController::save()
{
    SettingsStore &settings = *m_session.services().settings;
    settings.write(Data, QStringLiteral("C4"), QString::number(m_model.autoUpdate));
    settings.write(Data, QStringLiteral("C5"), QString::number(m_model.highlightFavourite));
    settings.write(Data, QStringLiteral("C6"), QString::number(m_model.trackingAid));
    settings.write(Data, QStringLiteral("C7"), QString::number(m_model.autoRefresh));
}

} // namespace kestrava
