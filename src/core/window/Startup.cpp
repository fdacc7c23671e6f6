#include "Startup.h"

#include "online/Online.h"
#include "platform/Text.h"
#include "window/MainController.h"

#include <QDir>
#include <QFileInfo>

namespace kestrava {

bool StalenessDue(const QDateTime &launch, const std::optional<QDateTime> &storeModified,
                  const QDateTime &lastMatchdayDate)
{
    if (!lastMatchdayDate.isValid() || launch >= lastMatchdayDate)
        return false;
    if (!storeModified || !storeModified->isValid())
        return true;
    return storeModified->msecsTo(launch) > qint64(10) * 24 * 3600 * 1000;
}

bool Startup::run()
{
    Session &session = m_main.session();
    const Services &services = session.services();
    SplashModel &splash = m_main.splash();
    session.launchTime = services.clock->now();

    splash.visible = true;
    splash.notify();
    session.pump();

    if (!LoadSeasonFile(QDir(session.seasonFolder()).filePath(SeasonFileName), session.season)) {
        services.dialogs->message(QStringLiteral("Absence du fichier 2027.txt"), ProgramName, MessageIcon::None);
        splash.visible = false;
        splash.notify();
        return false;
    }
    const ResultsStore results = session.store();
    const IniSnapshot snapshot = results.snapshot();
    ResultsStore::loadBonusMalus(snapshot, session.season);
    NewsModel &news = m_main.download().news();
    news.text = snapshot.value(Store::Texte, Store::Texte);
    // An installed program without its publisher's address says where to give it, in the place
    // of the publisher's own words, rather than failing on the first download.
    const bool siteKnown = session.siteAddressKnown();
    if (!siteKnown)
        news.text = NoSiteAddressAdvice;

    // The favourite first: the calendar opens the grid on a matchday, where it shows in yellow.
    OptionsController &options = m_main.options();
    options.restore();
    m_main.matchdays().start();

    if (options.model().autoUpdate == 1 && services.downloader && siteKnown)
        m_main.clickButton(Btn::Update);
    else
        m_main.standings().compute(0);
    // The user went for a newer program: nothing more is shown or asked.
    if (m_main.quitting()) {
        splash.visible = false;
        splash.notify();
        return true;
    }
    options.model().notify();

    session.pump();
    // The summary shows the leader and the crests start their run.
    m_main.teamViews().startBanner();
    news.showIfAny();
    news.notify();

    splash.visible = false;
    splash.notify();

    const QFileInfo storeInfo(results.path());
    m_stalenessDue = StalenessDue(session.launchTime,
                                  storeInfo.exists() ? std::optional<QDateTime>(storeInfo.lastModified()) : std::nullopt,
                                  session.season.matchdayDate(MatchdayCount));
    // The offer to download is only made when the program can download.
    if (m_stalenessDue && services.downloader && siteKnown) {
        const QString question = QStringLiteral(
            "Les données enregistrées sur cet ordinateur sont datées de plus de 10 jours,\r\n"
            "Voulez vous télécharger les dernières données enregistrées ?\r\n"
            "Notez que...\r\n"
            "- S'il n'y a pas eu de match depuis, c'est inutile.\r\n"
            "- Vous pourrez à tout moment le faire en appuyant sur le bouton ''Mise à jour''.");
        if (services.dialogs->askYesNo(question, QStringLiteral("Mise à jour")))
            m_main.download().resultsDownload();
        if (m_main.quitting())
            return true;
    }

    SettingsStore &settings = *services.settings;
    session.pseudo = settings.read(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QString());
    session.password = settings.read(QStringLiteral("MDP"), QStringLiteral("MDP"), QString());

    session.pump();
    if (services.downloader && siteKnown) {
        const QString stored = settings.read(QStringLiteral("data"), QStringLiteral("Vset"), QStringLiteral("-"));
        if (WeeklyDonorsRefreshDue(session.launchTime, stored)) {
            if (m_main.donors().refreshWeekly())
                m_main.clickButton(Btn::Donors);
            settings.write(QStringLiteral("data"), QStringLiteral("Vset"), FormatStamp(session.launchTime));
        }
    }

    m_main.standings().requestRankMovements(session.currentMatchday);
    session.buttons.paintHover(-1, m_main.download().downloadDone());
    return true;
}

} // namespace kestrava
