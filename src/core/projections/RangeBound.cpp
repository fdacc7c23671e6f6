// What no results can beat in a range question, by counting points.
#include "RangeQuestion.h"

#include <algorithm>
#include <numeric>

namespace kestrava::range {

namespace {

// A necessary condition for the clubs not in `away` to all end on their side of the line, the
// clubs in `away` being given up (beyond for the best position, short of it for the worst). Their
// games with the others go to the others' advantage; what is left is counted in points.
bool mayHold(const Question &q, const std::vector<bool> &away)
{
    const int n = int(q.room.size());
    std::vector<int> inner(n, 0), need(q.room);
    int innerGames = 0;
    for (const Game &g : q.games) {
        if (away[g.home] || away[g.away]) {
            // For the worst position the club kept wins such a game; for the best it loses it.
            if (q.worst && away[g.home] != away[g.away])
                need[away[g.home] ? g.away : g.home] -= 3;
            continue;
        }
        ++inner[g.home], ++inner[g.away], ++innerGames;
    }
    // Worst: counted in half points against what the games can give. Best: the league's points
    // against the room under the line.
    int total = q.worst ? 0 : 2 * innerGames, limit = q.worst ? 6 * innerGames : 0;
    for (int j = 0; j < n; ++j) {
        if (away[j])
            continue;
        if (q.worst) {
            // Points still missing, plus what a total that is not a multiple of 3 costs: a win
            // that gives too much, or draws that give the league 2 points instead of 3.
            const int d = std::max(0, need[j]);
            const int cost = 2 * d + (d % 3 == 1 ? 1 : d % 3 == 2 ? 2 : 0);
            if (cost > 6 * inner[j])
                return false;
            total += cost;
        } else {
            // Each game gives 2 points at least; a club over its slack with draws everywhere must
            // lose the difference, and each such defeat adds a point to the total.
            total += std::max(0, inner[j] - q.room[j]);
            limit += q.room[j];
        }
    }
    return total <= limit;
}

// Calls `f` with every set of `k` clubs among `n` until it answers true.
template <class F> bool anySubset(int n, int k, std::vector<bool> &chosen, int from, F f)
{
    if (k == 0)
        return f(chosen);
    for (int j = from; j <= n - k; ++j) {
        chosen[j] = true;
        const bool found = anySubset(n, k - 1, chosen, j + 1, f);
        chosen[j] = false;
        if (found)
            return true;
    }
    return false;
}

} // namespace

int Bound(const Question &q, Witnesses *witnesses)
{
    const int n = int(q.room.size());
    // Give up as few clubs as the counting allows, trying every set of up to three.
    std::vector<bool> chosen(n, false);
    for (int k = 0; k <= std::min(n, 3); ++k) {
        Witnesses found;
        anySubset(n, k, chosen, 0, [&](const std::vector<bool> &away) {
            if (mayHold(q, away))
                found.push_back(away);
            return int(found.size()) >= (witnesses ? 256 : 1);
        });
        if (found.empty())
            continue;
        if (witnesses) {
            // Those that give up the clubs asking the most first: the likeliest to work out.
            std::vector<int> played(n, 0);
            for (const Game &g : q.games)
                ++played[g.home], ++played[g.away];
            const auto asked = [&](const std::vector<bool> &away) {
                int sum = 0;
                for (int j = 0; j < n; ++j)
                    sum += away[j] ? (q.worst ? q.room[j] : 2 * played[j] - q.room[j]) : 0;
                return sum;
            };
            std::stable_sort(found.begin(), found.end(),
                [&](const auto &a, const auto &b) { return asked(a) > asked(b); });
            found.resize(std::min<size_t>(found.size(), MaxWitnesses));
            *witnesses = std::move(found);
        }
        return q.worst ? n - k : k;
    }
    // Beyond that, a looser count over all the games at once.
    const int games = int(q.games.size());
    std::vector<int> v;
    if (q.worst) {
        for (int d : q.room)
            v.push_back(2 * d + (d % 3 == 1 ? 1 : d % 3 == 2 ? 2 : 0));
        std::sort(v.begin(), v.end());
        int k = 0, sum = 0;
        while (k < n && sum + v[k] <= 6 * games)
            sum += v[k++];
        return std::min(k, n - 4);
    }
    // Every game between clubs kept under the line gives them 2 points at least; giving a club up
    // takes its games out of that count, less the slack it no longer adds.
    std::vector<int> played(n, 0);
    for (const Game &g : q.games)
        ++played[g.home], ++played[g.away];
    int deficit = 2 * games - std::accumulate(q.room.begin(), q.room.end(), 0);
    for (int j = 0; j < n; ++j)
        v.push_back(2 * played[j] - q.room[j]);
    std::sort(v.rbegin(), v.rend());
    int k = 0;
    while (deficit > 0 && k < n)
        deficit -= v[k++];
    return std::max(k, 4);
}

} // namespace kestrava::range
