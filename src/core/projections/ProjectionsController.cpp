#include "ProjectionsController.h"

#include <QLocale>
#include "standings/StandingsController.h"

#include <QMetaObject>

namespace kestrava {

ProjectionsController::ProjectionsController(Session &session, StandingsController &standings, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
{
    m_session.buttons.setAction(Btn::Projections, [this] { open(); });
    m_session.buttons.setAction(Btn::CloseProjections, [this] { close(); });
}

ProjectionsController::~ProjectionsController()
{
    stop();
}

void ProjectionsController::open()
{
    // The view takes the rankings menu's place.
    m_standings.hideRankingsMenu();
    m_model.visible = true;
    start();
}

void ProjectionsController::close()
{
    stop();
    m_model.visible = false;
    m_model.running = false;
    m_model.notify();
}

void ProjectionsController::stop()
{
    ++m_run;
    if (m_cancel)
        m_cancel->store(true);
    if (m_worker.joinable())
        m_worker.join();
    m_cancel.reset();
}

void ProjectionsController::start()
{
    stop();
    const quint64 run = m_run;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_model.running = true;
    m_model.progress = 0;
    m_model.status = QStringLiteral("Calcul en cours : positions encore possibles, puis %1 saisons simulées…")
                         .arg(QLocale(QLocale::French).toString(m_options.simulations));
    m_model.notify();

    // The worker has its own copies: the season and the store as they are now. It never outlives
    // the controller (stop() joins it), and what it posts to a deleted controller is dropped.
    m_worker = std::thread([this, run, season = m_session.season, store = m_session.store().snapshot(),
                            options = m_options, cancel = m_cancel] {
        double shown = -1;
        ProjectionControl control;
        control.cancel = cancel.get();
        control.onProgress = [&](double fraction) {
            // A report per percent is plenty for a progress bar.
            if (fraction - shown < 0.01 && fraction < 1)
                return;
            shown = fraction;
            QMetaObject::invokeMethod(this, [this, run, fraction] { progressed(run, fraction); },
                                      Qt::QueuedConnection);
        };
        auto report = std::make_shared<const ProjectionReport>(ComputeProjections(season, store, 0, options, control));
        QMetaObject::invokeMethod(this, [this, run, report] { done(run, report); }, Qt::QueuedConnection);
    });
}

void ProjectionsController::progressed(quint64 run, double fraction)
{
    if (run != m_run || !m_model.running)
        return;
    m_model.progress = fraction;
    m_model.notify();
}

void ProjectionsController::done(quint64 run, std::shared_ptr<const ProjectionReport> report)
{
    if (run != m_run)
        return;
    if (m_worker.joinable())
        m_worker.join();
    m_model.running = false;
    m_model.progress = 1;
    if (report->complete) {
        m_model.report = std::move(report);
        const int left = int(m_model.report->input.unplayed.size());
        m_model.status = left == 0
            ? QStringLiteral("La saison est terminée : le classement final est connu.")
            : QStringLiteral("%1 matches restent à jouer. Places encore possibles : calcul exact. "
                             "Chances : %2 saisons simulées d'après les résultats déjà connus.")
                  .arg(left)
                  .arg(QLocale(QLocale::French).toString(qlonglong(m_model.report->simulation.simulations)));
    } else {
        m_model.status = QStringLiteral("Calcul interrompu.");
    }
    m_model.notify();
    emit finished();
}

} // namespace kestrava
