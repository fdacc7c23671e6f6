#pragma once

// Inside the exact ranges: one question (a club's best or worst position) once every result plainly
// best for it is settled, with its cheap bounds and its solver.
#include <vector>

namespace kestrava::range {

struct Game
{
    int home;
    int away;
};

enum Outcome { HomeWin = 0, Draw = 1, AwayWin = 2 };

// The clubs still in doubt and the games between them. For the best position the line is the
// club's highest total and an open club must stay at or under it to count as behind; for the
// worst it is the club's lowest total and an open club must reach it to count as ahead. `room` is
// the slack under the line (best) or the points missing (worst).
struct Question
{
    bool worst = false;
    int settled = 0; // clubs beyond the line whatever happens
    std::vector<int> room;
    std::vector<Game> games; // indices into room
};

// Results for the games of a question and how many open clubs they leave beyond the line.
struct Attempt
{
    int beyond = 0;
    std::vector<Outcome> outcomes;
};

// Draws everywhere: a plain start for the solver.
Attempt AllDraws(const Question &q);
// Sets of clubs given up (true), each leaving the others a chance to end on their side of the line.
using Witnesses = std::vector<std::vector<bool>>;
inline constexpr int MaxWitnesses = 12;
// What no set of results can beat: at least this many beyond (best), at most this many (worst).
// When the count found sets of clubs to give up that may leave the others on their side of the
// line, `witnesses` receives up to MaxWitnesses of them, the likeliest first.
int Bound(const Question &q, Witnesses *witnesses = nullptr);
// A good set of results found quickly: few open clubs beyond the line (best), many (worst), aiming
// at the bound and trying its first witness.
Attempt Heuristic(const Question &q, int bound, const Witnesses &witnesses = {});
// Whether the clubs not in `away` can all end on their side of the line, the clubs in `away`
// given up; from the solver, which may give up on a hard one.
enum class Reach { Yes, No, Unknown };
Reach Achievable(const Question &q, const std::vector<bool> &away);
// The exact answer, from the solver, starting from a known set of results.
int Solve(const Question &q, const Attempt &start);

} // namespace kestrava::range
