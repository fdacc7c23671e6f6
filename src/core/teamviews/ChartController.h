#pragma once

#include "season/Session.h"
#include "teamviews/EvolutionChart.h"
#include "teamviews/SeasonHighlights.h"

#include <QObject>

namespace kestrava {

class MatchdaysController;
class StandingsController;
class TeamViewsController;

// The rank evolution chart ("Graphiques"), the rank movement icons beside the table and the season
// highlights ("Le plus de....").
class ChartController : public QObject
{
    Q_OBJECT
public:
    ChartController(Session &session, StandingsController &standings, MatchdaysController &matchdays,
        TeamViewsController &teamViews, QObject *parent = nullptr);

    EvolutionChartModel &chart() { return m_chart; }
    HighlightsModel &highlights() { return m_highlights; }
    // Hidden without the calendar's redraw of its own "Fermer", as the matchday list hides it.
    void hideHighlights();

    // The chart panel.
    void openChart(); // "Graphiques": shows the panel and prepares it
    void closeChart(); // "Fermer": a preparation under way stops after its current matchday
    // One table per matchday up to the limit date, letting window events run between matchdays;
    // then the club list, the bars and the chart of the favourite (or the leader). The main table
    // is left with the general table and the movement icons of the current matchday.
    void prepareChart();
    void setSimulated(bool on); // "Voir aussi les matches simulés" prepares the chart again
    void selectClub(int index);
    void openChosenSheet(); // "Equipe"
    // The program is ending: a preparation under way stops.
    void stop();

    // The movement icons beside the table for `matchday` (nothing below matchday 2).
    void setRankMovementIcons(int matchday);
    void clickMovementIcon(int row); // that row's club sheet
    void hoverMovementIcon(int row); // as the pointer over the row

    // The highlights panel.
    void toggleHighlights(); // "Le plus de....": filled afresh at every opening
    void closeHighlights(); // "Fermer"

private:
    void runMatchdays();
    void finishPreparation();

    Session &m_session;
    StandingsController &m_standings;
    MatchdaysController &m_matchdays;
    TeamViewsController &m_teamViews;
    EvolutionChartModel m_chart;
    HighlightsModel m_highlights;
    bool m_restart = false; // the option changed during a preparation: it starts again
};

} // namespace kestrava
