// Quick results for a range question: a greedy pass, flows, and a descent one result at a time.
#include "RangeQuestion.h"

#include <algorithm>
#include <numeric>

namespace kestrava::range {

namespace {

int pointsOf(Outcome o, bool home)
{
    return o == Draw ? 1 : (o == HomeWin) == home ? 3 : 0;
}

// Open clubs the results leave beyond the line.
int beyondAfter(const Question &q, const std::vector<Outcome> &outcomes)
{
    std::vector<int> points(q.room.size(), 0);
    for (size_t g = 0; g < q.games.size(); ++g) {
        points[q.games[g].home] += pointsOf(outcomes[g], true);
        points[q.games[g].away] += pointsOf(outcomes[g], false);
    }
    int beyond = 0;
    for (size_t j = 0; j < q.room.size(); ++j)
        beyond += q.worst ? points[j] >= q.room[j] : points[j] > q.room[j];
    return beyond;
}

// One pass over the games with some clubs given up (`out`): a club given up takes every point of
// its games for the best position and none for the worst, which serves the clubs still in play.
// Between two clubs in play: for the best, the win to the side with room for it, else a draw;
// for the worst, the win to the side that needs it more for the games it has left, unless a draw
// serves both. `room` comes back with what is left of it.
std::vector<Outcome> pass(
    const Question &q, const std::vector<bool> &out, const std::vector<int> &order, std::vector<int> &room)
{
    std::vector<int> left(room.size(), 0);
    for (const Game &g : q.games)
        if (!out[g.home] && !out[g.away])
            ++left[g.home], ++left[g.away];
    std::vector<Outcome> outcomes(q.games.size(), Draw);
    for (int idx : order) {
        const int h = q.games[idx].home, a = q.games[idx].away;
        Outcome o = Draw;
        if (out[h] != out[a]) {
            o = out[h] == !q.worst ? HomeWin : AwayWin;
        } else if (out[h]) {
            o = Draw;
        } else if (!q.worst) {
            const bool homeWide = room[h] >= room[a];
            if (room[homeWide ? h : a] < 3 && room[h] >= 1 && room[a] >= 1)
                o = Draw;
            else
                o = homeWide ? HomeWin : AwayWin;
        } else if (room[h] <= 0 || room[a] <= 0) {
            o = room[h] > 0 ? HomeWin : room[a] > 0 ? AwayWin : Draw;
        } else if (room[h] <= 1 && room[a] <= 1) {
            o = Draw;
        } else {
            o = room[h] * left[a] >= room[a] * left[h] ? HomeWin : AwayWin;
        }
        if (!out[h] && !out[a])
            --left[h], --left[a];
        room[h] -= pointsOf(o, true);
        room[a] -= pointsOf(o, false);
        outcomes[idx] = o;
    }
    return outcomes;
}

// How far a club is from its side of the line: 0 on the right side, else a large step plus the
// distance, so that fewer clubs on the wrong side always wins and, among equals, nearer ones.
int penalty(const Question &q, int j, int points)
{
    const int gap = q.worst ? q.room[j] - points : points - q.room[j];
    return gap > 0 ? 1000 + gap : 0;
}

// Changes one result at a time while that lowers the total penalty.
void descend(const Question &q, std::vector<Outcome> &outcomes)
{
    std::vector<int> points(q.room.size(), 0);
    for (size_t g = 0; g < q.games.size(); ++g) {
        points[q.games[g].home] += pointsOf(outcomes[g], true);
        points[q.games[g].away] += pointsOf(outcomes[g], false);
    }
    for (int sweep = 0; sweep < 100; ++sweep) {
        bool improved = false;
        for (size_t g = 0; g < q.games.size(); ++g) {
            const int h = q.games[g].home, a = q.games[g].away;
            const int ph = points[h] - pointsOf(outcomes[g], true),
                      pa = points[a] - pointsOf(outcomes[g], false);
            const int now = penalty(q, h, points[h]) + penalty(q, a, points[a]);
            for (Outcome o : { HomeWin, Draw, AwayWin }) {
                const int nh = ph + pointsOf(o, true), na = pa + pointsOf(o, false);
                if (penalty(q, h, nh) + penalty(q, a, na) < now) {
                    outcomes[g] = o;
                    points[h] = nh;
                    points[a] = na;
                    improved = true;
                    break;
                }
            }
        }
        if (!improved)
            return;
    }
}

// A small maximum flow (shortest augmenting paths): the graphs here have a few hundred edges.
class Flow
{
public:
    explicit Flow(int nodes)
        : m_adj(nodes)
    { }
    // Returns the edge's index, to read its flow back.
    int link(int a, int b, int cap)
    {
        m_adj[a].push_back(int(m_edges.size()));
        m_edges.push_back({ b, cap, cap });
        m_adj[b].push_back(int(m_edges.size()));
        m_edges.push_back({ a, 0, 0 });
        return int(m_edges.size()) - 2;
    }
    int run(int source, int sink)
    {
        int flow = 0;
        for (;;) {
            std::vector<int> via(m_adj.size(), -1), queue { source };
            via[source] = -2;
            for (size_t k = 0; k < queue.size() && via[sink] == -1; ++k)
                for (int e : m_adj[queue[k]])
                    if (m_edges[e].cap > 0 && via[m_edges[e].to] == -1) {
                        via[m_edges[e].to] = e;
                        queue.push_back(m_edges[e].to);
                    }
            if (via[sink] == -1)
                return flow;
            for (int v = sink; v != source; v = m_edges[via[v] ^ 1].to) {
                --m_edges[via[v]].cap;
                ++m_edges[via[v] ^ 1].cap;
            }
            ++flow;
        }
    }
    bool used(int edge) const { return m_edges[edge].cap < m_edges[edge].initial; }

private:
    struct Edge
    {
        int to, cap, initial;
    };
    std::vector<Edge> m_edges;
    std::vector<std::vector<int>> m_adj;
};

// Results built as a flow, the clubs given up dealt with as in pass(). Worst: every game between
// clubs in play gives its win to one side, and each needs so many wins. Best: every such game is
// a draw but for some won by a club with room for 2 more points against a club that must lose
// points. Empty when the flow cannot do it. With `pairDraws`, for the worst position, clubs one
// point past a multiple of 3 draw with each other first.
std::vector<Outcome> byFlow(const Question &q, const std::vector<bool> &out, bool pairDraws)
{
    const int n = int(q.room.size()), nGames = int(q.games.size());
    std::vector<int> room = q.room;
    std::vector<Outcome> outcomes(nGames, Draw);
    std::vector<int> inPlay;
    for (int g = 0; g < nGames; ++g) {
        const int h = q.games[g].home, a = q.games[g].away;
        if (out[h] == out[a]) {
            if (!out[h])
                inPlay.push_back(g);
            continue;
        }
        outcomes[g] = out[h] == !q.worst ? HomeWin : AwayWin;
        room[h] -= pointsOf(outcomes[g], true);
        room[a] -= pointsOf(outcomes[g], false);
    }
    if (q.worst && pairDraws) {
        // Two clubs each one point past a multiple of 3 short draw their game: wins do the rest.
        std::vector<int> kept;
        for (int g : inPlay) {
            const int h = q.games[g].home, a = q.games[g].away;
            if (room[h] > 0 && room[a] > 0 && room[h] % 3 == 1 && room[a] % 3 == 1)
                --room[h], --room[a];
            else
                kept.push_back(g);
        }
        inPlay.swap(kept);
    }
    // Nodes: source 0, games 1..m, clubs m+1..m+n, sink m+n+1.
    const int m = int(inPlay.size()), source = 0, sink = m + n + 1;
    Flow f(m + n + 2);
    if (!q.worst)
        for (int g : inPlay)
            --room[q.games[g].home], --room[q.games[g].away]; // the draws
    std::vector<int> toHome(m, -1), toAway(m, -1);
    int wanted = 0;
    for (int i = 0; i < m; ++i) {
        const int h = q.games[inPlay[i]].home, a = q.games[inPlay[i]].away;
        if (q.worst) {
            f.link(source, 1 + i, 1);
            toHome[i] = f.link(1 + i, m + 1 + h, 1);
            toAway[i] = f.link(1 + i, m + 1 + a, 1);
        } else {
            // A club over its room loses the game to one with room to spare: the flow runs from
            // the loser through the game to the winner.
            if (room[h] < 0 && room[a] >= 2)
                toAway[i] = f.link(m + 1 + h, 1 + i, 1);
            if (room[a] < 0 && room[h] >= 2)
                toHome[i] = f.link(m + 1 + a, 1 + i, 1);
            if (toHome[i] >= 0 || toAway[i] >= 0)
                f.link(1 + i, toAway[i] >= 0 ? m + 1 + a : m + 1 + h, 1);
        }
    }
    for (int j = 0; j < n; ++j) {
        if (out[j])
            continue;
        if (q.worst) {
            const int wins = (std::max(0, room[j]) + 2) / 3;
            f.link(m + 1 + j, sink, wins);
            wanted += wins;
        } else if (room[j] < 0) {
            f.link(source, m + 1 + j, -room[j]);
            wanted -= room[j];
        } else {
            f.link(m + 1 + j, sink, room[j] / 2);
        }
    }
    if (f.run(source, sink) < wanted)
        return {};
    for (int i = 0; i < m; ++i) {
        const bool home = toHome[i] >= 0 && f.used(toHome[i]);
        const bool away = toAway[i] >= 0 && f.used(toAway[i]);
        outcomes[inPlay[i]] = home ? HomeWin : away ? AwayWin : q.worst ? HomeWin : Draw;
    }
    return outcomes;
}

} // namespace

Attempt AllDraws(const Question &q)
{
    Attempt at { 0, std::vector<Outcome>(q.games.size(), Draw) };
    at.beyond = beyondAfter(q, at.outcomes);
    return at;
}

Attempt Heuristic(const Question &q, int bound, const Witnesses &witnesses)
{
    const int n = int(q.room.size());
    std::vector<int> order(q.games.size());
    std::iota(order.begin(), order.end(), 0);
    if (!q.worst) {
        // The tightest games first.
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
            return std::min(q.room[q.games[x].home], q.room[q.games[x].away])
                < std::min(q.room[q.games[y].home], q.room[q.games[y].away]);
        });
    }
    Attempt best;
    const auto consider = [&](std::vector<Outcome> outcomes) {
        descend(q, outcomes);
        const int beyond = beyondAfter(q, outcomes);
        if (best.outcomes.empty() || (q.worst ? beyond > best.beyond : beyond < best.beyond))
            best = Attempt { beyond, std::move(outcomes) };
    };
    // Give up, one at a time, the club furthest from its side of the line until the rest hold.
    std::vector<bool> out(n, false);
    for (;;) {
        std::vector<int> room = q.room;
        std::vector<Outcome> outcomes = pass(q, out, order, room);
        int worstOff = -1;
        for (int j = 0; j < n; ++j) {
            const bool holds = q.worst ? room[j] <= 0 : room[j] >= 0;
            if (!out[j] && !holds
                && (worstOff < 0 || (q.worst ? room[j] > room[worstOff] : room[j] < room[worstOff])))
                worstOff = j;
        }
        if (worstOff < 0) {
            consider(std::move(outcomes));
            break;
        }
        if (std::vector<Outcome> wins = byFlow(q, out, false); !wins.empty())
            consider(std::move(wins));
        out[worstOff] = true;
    }
    // Draws everywhere: the fewest points in all.
    consider(AllDraws(q).outcomes);
    // Give up from the start the clubs the bound gave up, else as many as it allows of those that
    // ask the most: the largest need (worst), the most points over what draws would leave them (best).
    const int giveUp = q.worst ? n - bound : bound;
    if (giveUp > 0 && giveUp < n && best.beyond != bound) {
        if (!witnesses.empty()) {
            out = witnesses.front();
        } else {
            std::vector<int> played(n, 0), rank(n);
            for (const Game &g : q.games)
                ++played[g.home], ++played[g.away];
            std::iota(rank.begin(), rank.end(), 0);
            const auto ask = [&](int j) { return q.worst ? q.room[j] : 2 * played[j] - q.room[j]; };
            std::stable_sort(rank.begin(), rank.end(), [&](int a, int b) { return ask(a) > ask(b); });
            std::fill(out.begin(), out.end(), false);
            for (int i = 0; i < giveUp; ++i)
                out[rank[i]] = true;
        }
        std::vector<int> room = q.room;
        consider(pass(q, out, order, room));
        for (const bool pairDraws : { false, true })
            if (std::vector<Outcome> wins = byFlow(q, out, pairDraws); !wins.empty())
                consider(std::move(wins));
    }
    return best;
}

} // namespace kestrava::range
