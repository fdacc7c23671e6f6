#include "SeasonSimulation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace kestrava {

namespace {

constexpr int MaxGoals = 16; // the last count takes the whole tail
constexpr double MaxExpectedGoals = 8.0;
constexpr int StrengthDraw = 100; // seasons played with the same drawn strengths

// xoshiro256**, seeded through splitmix64: fast, and the same numbers on every platform.
class Rng
{
public:
    explicit Rng(quint64 seed)
    {
        for (quint64 &s : m_s) {
            seed += 0x9E3779B97F4A7C15ull;
            quint64 z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            s = z ^ (z >> 31);
        }
    }
    // Uniform in (0, 1), never 0.
    double uniform() { return (double(next() >> 11) + 0.5) * 0x1.0p-53; }
    quint64 next()
    {
        const quint64 result = rotl(m_s[1] * 5, 7) * 9;
        const quint64 t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }

private:
    static quint64 rotl(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }
    quint64 m_s[4];
};

// Cumulative Poisson probabilities scaled to 32 bits: a uniform 32-bit draw below entry k means k goals.
using GoalTable = std::array<quint32, MaxGoals>;

GoalTable goalTable(double mean)
{
    mean = std::clamp(mean, 0.0, MaxExpectedGoals);
    GoalTable t {};
    double p = std::exp(-mean), cumulative = 0;
    for (int k = 0; k < MaxGoals; ++k) {
        cumulative += p;
        p *= mean / (k + 1);
        t[k] = quint32(std::min(4294967295.0, std::floor(cumulative * 4294967296.0)));
    }
    return t;
}

// Counting every entry at or under the draw, without a branch, runs in a few vector instructions:
// a search that stops early mispredicts its last step on most draws.
int drawGoals(const GoalTable &t, quint32 u)
{
    int k = 0;
    for (int i = 0; i < MaxGoals; ++i)
        k += u >= t[i];
    return k;
}

// Marsaglia and Tsang's method, on our own generator so that a seed gives the same draws everywhere.
double gamma(Rng &rng, double shape)
{
    if (shape < 1)
        return gamma(rng, shape + 1) * std::pow(rng.uniform(), 1 / shape);
    const double d = shape - 1.0 / 3, c = 1 / std::sqrt(9 * d);
    for (;;) {
        const double n
            = std::sqrt(-2 * std::log(rng.uniform())) * std::cos(6.283185307179586 * rng.uniform());
        const double v = 1 + c * n;
        if (v <= 0)
            continue;
        const double v3 = v * v * v, u = rng.uniform();
        if (std::log(u) < 0.5 * n * n + d - d * v3 + d * std::log(v3))
            return d * v3;
    }
}

// One strength as a season may have it: the estimate, moved by how little the results tell.
double drawStrength(Rng &rng, double mean, double shape)
{
    return shape > 0 ? mean * gamma(rng, shape) / shape : mean;
}

struct Plan
{
    const ProjectionInput &in;
    const StrengthModel &model;
    std::vector<GoalTable> home, away;
    std::array<std::array<int, TeamCount>, TeamCount> playedGoals {}; // [scorer][against], stored meetings
    std::vector<std::vector<int>> meetings; // [a * TeamCount + b]: unplayed fixtures of a at home to b

    // The goal tables of every fixture left, for strengths drawn afresh.
    void drawStrengths(Rng &rng)
    {
        StrengthModel m = model;
        for (int t = 0; t < TeamCount; ++t) {
            m.attack[t] = drawStrength(rng, model.attack[t], model.attackShape[t]);
            m.defence[t] = drawStrength(rng, model.defence[t], model.defenceShape[t]);
        }
        home.resize(in.unplayed.size());
        away.resize(in.unplayed.size());
        for (int f = 0; f < int(in.unplayed.size()); ++f) {
            const ProjectionFixture &x = in.unplayed[f];
            home[f] = goalTable(m.expectedHomeGoals(x.home, x.away));
            away[f] = goalTable(m.expectedAwayGoals(x.home, x.away));
        }
    }
};

struct Tally
{
    std::array<std::array<qint64, TeamCount>, TeamCount> positions {};
    std::array<qint64, TeamCount> points {};
};

qint64 piece(qint64 v, qint64 max)
{
    return std::clamp<qint64>(v, 0, max);
}

void simulateSeason(
    const Plan &plan, Rng &rng, std::vector<int> &homeGoals, std::vector<int> &awayGoals, Tally &tally)
{
    const ProjectionInput &in = plan.in;
    std::array<int, TeamCount> pts = in.tablePoints, won {}, gd {}, gf = in.goalsFor;
    for (int t = 0; t < TeamCount; ++t)
        gd[t] = in.goalsFor[t] - in.goalsAgainst[t];
    for (int f = 0; f < int(in.unplayed.size()); ++f) {
        const quint64 u = rng.next();
        const int hg = drawGoals(plan.home[f], quint32(u >> 32));
        const int ag = drawGoals(plan.away[f], quint32(u));
        homeGoals[f] = hg;
        awayGoals[f] = ag;
        const int h = in.unplayed[f].home, a = in.unplayed[f].away;
        gd[h] += hg - ag;
        gd[a] += ag - hg;
        gf[h] += hg;
        gf[a] += ag;
        const int ph = hg > ag ? 3 : hg == ag ? 1 : 0;
        const int pa = ag > hg ? 3 : hg == ag ? 1 : 0;
        won[h] += ph;
        won[a] += pa;
    }
    // Each team's key packed with its place in name order and its index, so that a plain sort of
    // numbers gives the engine's arrangement: ascending key, then name.
    std::array<qint64, TeamCount> key {}, packed {};
    const auto pack = [&] {
        for (int t = 0; t < TeamCount; ++t)
            packed[t] = (key[t] << 10) | (qint64(in.nameOrder[t]) << 5) | t;
        std::sort(packed.begin(), packed.end());
    };
    for (int t = 0; t < TeamCount; ++t) {
        pts[t] += won[t];
        tally.points[t] += won[t];
        key[t] = piece(pts[t] + 10, 9999) * 1000000 + piece(gd[t] + 200, 999) * 1000 + piece(gf[t], 999);
    }
    pack();
    // Head to head: each team level with the one just before it takes the goal difference of
    // their meetings, the stored ones and the ones just played.
    std::array<qint64, TeamCount> adjusted = key;
    for (int e = 1; e < TeamCount; ++e) {
        const int prev = int(packed[e - 1] & 31), cur = int(packed[e] & 31);
        if (key[cur] != key[prev])
            continue;
        int hh = plan.playedGoals[cur][prev] - plan.playedGoals[prev][cur];
        for (int f : plan.meetings[prev * TeamCount + cur])
            hh += awayGoals[f] - homeGoals[f];
        for (int f : plan.meetings[cur * TeamCount + prev])
            hh += homeGoals[f] - awayGoals[f];
        adjusted[cur] += hh;
    }
    for (int t = 0; t < TeamCount; ++t)
        key[t] = std::max<qint64>(0, adjusted[t]) * 1000 + 999 - piece(in.fairPlay[t], 999);
    pack();
    for (int r = 0; r < TeamCount; ++r)
        ++tally.positions[packed[TeamCount - 1 - r] & 31][r];
}

} // namespace

double SimulationResult::positionProbability(int team, int position) const
{
    return simulations > 0 ? double(positionCounts[team][position - 1]) / double(simulations) : 0.0;
}

double SimulationResult::probability(int team, int first, int last) const
{
    qint64 n = 0;
    for (int p = first; p <= last; ++p)
        n += positionCounts[team][p - 1];
    return simulations > 0 ? double(n) / double(simulations) : 0.0;
}

SimulationResult SimulateSeasons(const ProjectionInput &input, const StrengthModel &model,
    const SimulationOptions &options, const ProjectionControl &control)
{
    Plan shared { input, model, {}, {}, {}, std::vector<std::vector<int>>(TeamCount * TeamCount) };
    for (int f = 0; f < int(input.unplayed.size()); ++f) {
        const ProjectionFixture &x = input.unplayed[f];
        shared.meetings[x.home * TeamCount + x.away].push_back(f);
    }
    for (const PlayedFixture &p : input.played) {
        shared.playedGoals[p.home][p.away] += p.homeGoals;
        shared.playedGoals[p.away][p.home] += p.awayGoals;
    }

    const qint64 total = std::max(0, options.simulations);
    const int blocks = int((total + SimulationBlock - 1) / SimulationBlock);
    const int threads
        = std::clamp(options.threads > 0 ? options.threads : int(std::thread::hardware_concurrency()), 1,
            std::max(1, blocks));
    std::atomic<int> nextBlock { 0 }, doneBlocks { 0 };
    std::vector<Tally> tallies(threads);
    const auto work = [&](int worker) {
        Plan plan = shared;
        std::vector<int> homeGoals(input.unplayed.size()), awayGoals(input.unplayed.size());
        for (int b = nextBlock++; b < blocks; b = nextBlock++) {
            if (control.cancelled())
                return;
            Rng rng(options.seed ^ (0xD1B54A32D192ED03ull * quint64(b + 1)));
            const qint64 n = std::min<qint64>(SimulationBlock, total - qint64(b) * SimulationBlock);
            for (qint64 i = 0; i < n; ++i) {
                if (i % StrengthDraw == 0)
                    plan.drawStrengths(rng);
                simulateSeason(plan, rng, homeGoals, awayGoals, tallies[worker]);
            }
            const int done = ++doneBlocks;
            if (worker == 0)
                control.report(double(done) / blocks);
        }
    };
    std::vector<std::thread> helpers;
    for (int w = 1; w < threads; ++w)
        helpers.emplace_back(work, w);
    work(0);
    for (std::thread &t : helpers)
        t.join();

    SimulationResult result;
    result.complete = doneBlocks.load() == blocks;
    if (!result.complete)
        return result;
    result.simulations = total;
    for (const Tally &t : tallies) {
        for (int team = 0; team < TeamCount; ++team) {
            result.pointsWon[team] += t.points[team];
            for (int p = 0; p < TeamCount; ++p)
                result.positionCounts[team][p] += t.positions[team][p];
        }
    }
    control.report(1.0);
    return result;
}

} // namespace kestrava
