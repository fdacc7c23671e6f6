#include "ReachableRanges.h"

#include "RangeQuestion.h"

#include <algorithm>
#include <vector>

namespace kestrava {

namespace {

using range::Game;
using range::Question;

enum class State { Open, Beyond, Short };

// Settles every club other than `club` that the line already decides, and every game that has an
// open club on one side only: for the best position the open club loses it, for the worst it wins
// it (the other side stays where it is either way). Settling games can settle clubs, so this goes on
// until nothing moves. `pts` holds each club's points once the games with `club` are settled.
Question reduce(const std::vector<Game> &all, std::array<int, TeamCount> pts, int club, int line, bool worst)
{
    std::array<State, TeamCount> state {};
    std::vector<Game> games;
    for (const Game &g : all)
        if (g.home != club && g.away != club)
            games.push_back(g);
    std::array<int, TeamCount> left {};
    for (const Game &g : games)
        ++left[g.home], ++left[g.away];
    const auto classify = [&](int j) {
        if (worst ? pts[j] >= line : pts[j] > line)
            return State::Beyond;
        if (worst ? pts[j] + 3 * left[j] < line : pts[j] + 3 * left[j] <= line)
            return State::Short;
        return State::Open;
    };
    for (int j = 0; j < TeamCount; ++j)
        state[j] = j == club ? State::Short : classify(j);
    for (bool moved = true; moved;) {
        moved = false;
        std::vector<Game> kept;
        left.fill(0);
        for (const Game &g : games) {
            const bool h = state[g.home] == State::Open, a = state[g.away] == State::Open;
            if (h && a) {
                kept.push_back(g);
                ++left[g.home], ++left[g.away];
            } else if (worst && (h || a)) {
                pts[h ? g.home : g.away] += 3;
            }
        }
        games.swap(kept);
        for (int j = 0; j < TeamCount; ++j) {
            if (state[j] == State::Open && classify(j) != State::Open) {
                state[j] = classify(j);
                moved = true;
            }
        }
    }
    Question q;
    q.worst = worst;
    std::array<int, TeamCount> index {};
    for (int j = 0; j < TeamCount; ++j) {
        q.settled += state[j] == State::Beyond;
        if (state[j] == State::Open) {
            index[j] = int(q.room.size());
            q.room.push_back(line - pts[j]);
        }
    }
    for (const Game &g : games)
        q.games.push_back({ index[g.home], index[g.away] });
    return q;
}

} // namespace

Verdict RangeVerdict(const ReachableRange &range, int first, int last)
{
    if (range.best >= first && range.worst <= last)
        return Verdict::Assured;
    if (range.worst < first || range.best > last)
        return Verdict::Impossible;
    return Verdict::Possible;
}

std::array<ReachableRange, TeamCount> ComputeReachableRanges(const ProjectionInput &input,
    const ProjectionControl &control, RangeStats *stats, RangeOptions options, bool *complete)
{
    std::vector<Game> games;
    std::array<int, TeamCount> left {};
    for (const ProjectionFixture &f : input.unplayed) {
        games.push_back({ f.home, f.away });
        ++left[f.home];
        ++left[f.away];
    }
    RangeStats counts;
    std::array<ReachableRange, TeamCount> ranges {};
    if (complete)
        *complete = false;
    for (int c = 0; c < TeamCount; ++c) {
        if (control.cancelled())
            return ranges;
        int bySolver = 0;
        for (const bool worst : { false, true }) {
            // Best: the club wins everything left. Worst: it loses everything, each opponent taking 3.
            std::array<int, TeamCount> pts = input.tablePoints;
            const int line = worst ? pts[c] : pts[c] + 3 * left[c];
            if (worst) {
                for (const Game &g : games) {
                    if (g.home == c)
                        pts[g.away] += 3;
                    else if (g.away == c)
                        pts[g.home] += 3;
                }
            }
            const Question q = reduce(games, pts, c, line, worst);
            int beyond = q.settled;
            if (!q.room.empty()) {
                range::Witnesses witnesses;
                const int bound = options.cheapBounds ? range::Bound(q, &witnesses) : -1;
                const range::Attempt quick
                    = options.cheapBounds ? range::Heuristic(q, bound, witnesses) : range::AllDraws(q);
                if (quick.beyond == bound) {
                    beyond += quick.beyond;
                } else if (std::any_of(witnesses.begin(), witnesses.end(), [&](const std::vector<bool> &w) {
                               return range::Achievable(q, w) == range::Reach::Yes;
                           })) {
                    // One of the bound's own sets of clubs given up works out: the bound is the answer.
                    beyond += bound;
                    ++bySolver;
                } else {
                    beyond += range::Solve(q, quick);
                    ++bySolver;
                }
            }
            (worst ? ranges[c].worst : ranges[c].best) = 1 + beyond;
        }
        counts.questions += 2;
        counts.settledByBounds += 2 - bySolver;
        counts.clubsSettledByBounds += bySolver == 0 ? 1 : 0;
        control.report(double(c + 1) / TeamCount);
    }
    if (stats)
        *stats = counts;
    if (complete)
        *complete = true;
    return ranges;
}

} // namespace kestrava
