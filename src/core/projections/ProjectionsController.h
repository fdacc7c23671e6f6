#pragma once

#include "projections/Projections.h"
#include "season/Session.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>

namespace kestrava {

class StandingsController;

// The projections view: what each club can still reach, exactly, and how likely it is.
class ProjectionsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool visible = false;
    bool running = false;
    double progress = 0; // 0 to 1 while running
    QString status;      // what the view says above its table
    std::shared_ptr<const ProjectionReport> report; // the last complete run; none before it

    void notify() { emit changed(); }

signals:
    void changed();
};

// Runs the projections on a worker thread from the store as it is when the view opens, so that the
// window never waits for the solver or the simulated seasons; the results come back on the
// controller's thread. Closing the view, or a new run, stops the one under way.
class ProjectionsController : public QObject
{
    Q_OBJECT
public:
    ProjectionsController(Session &session, StandingsController &standings, QObject *parent = nullptr);
    ~ProjectionsController() override;

    ProjectionsModel &model() { return m_model; }

    void open();
    void close();
    // How many seasons a run simulates (the command line's default unless set).
    void setSimulations(int simulations) { m_options.simulations = simulations; }

signals:
    // A run ended, complete or stopped.
    void finished();

private:
    void start();
    void stop();
    void progressed(quint64 run, double fraction);
    void done(quint64 run, std::shared_ptr<const ProjectionReport> report);

    Session &m_session;
    StandingsController &m_standings;
    ProjectionsModel m_model;
    SimulationOptions m_options;
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    quint64 m_run = 0; // the run whose reports are still wanted
};

} // namespace kestrava
