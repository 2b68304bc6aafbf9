// Keeping apart who should not meet. The separation test against an oracle of
// its own (brute force for small cases, a flow for larger ones), then every
// draw over thousands of random seeds: whenever the oracle finds a way to keep
// clubmates, qualifiers of one source group, best-placed qualifiers and byes
// apart around what the draw's rules fix (seeds and their byes), the draw does
// keep them apart; and every "nach System" set-up of 2-8 groups with 2 or 3
// qualifiers into each group count that can hold them.
#include "data/kosystem.h"
#include "draw/groupdraw.h"
#include "draw/kodraw.h"
#include "draw/separation.h"
#include "support/scriptedrandom.h"

#include "drawcases.h"
#include "separationoracle.h"

#include <QTest>

#include <map>
#include <set>

using namespace bw;
using namespace bw::test;
using namespace bw::test::draw;

namespace {

// The oracle's keys of entrants: the byes 0, the best-placed 1 (only where
// they are kept apart), clubs and source groups from 2.
struct Keys {
    bool bestPlacedApart = true;
    std::map<QString, int> clubs;

    int of(const DrawEntrant& e)
    {
        if (e.bye)
            return 0;
        if (!e.club.isEmpty())
            return clubs.try_emplace(e.club, 2 + int(clubs.size())).first->second;
        if (e.source >= 0)
            return 2 + e.source;
        if (e.source == kBestPlacedSource && bestPlacedApart)
            return 1;
        return oracle::kAnybody;
    }
};

QByteArray runText(quint32 run, const QString& what)
{
    return QStringLiteral("run %1: %2").arg(run).arg(what).toUtf8();
}

// Whether a first-round match of the plan holds two byes or two of one key.
bool clashInBracket(const KoPlan& plan, const std::vector<DrawEntrant>& entrants, Keys& keys)
{
    const auto keyAt = [&](std::size_t s) {
        const KoFill& f = plan.bracket[s];
        if (f.from == KoFill::From::Bye)
            return 0;
        return f.from == KoFill::From::Entrant ? keys.of(entrants[std::size_t(f.index)]) : oracle::kAnybody;
    };
    for (std::size_t s = 0; s + 1 < plan.bracket.size(); s += 2) {
        if (oracle::clash(keyAt(s), keyAt(s + 1)))
            return true;
    }
    return false;
}

// The bracket as the draw's rules fix it before the others are drawn: the
// seeds (whoever the plan put) at their positions, and unless byes are drawn
// at random, a bye beside each of the first seeds while byes last. `pending`
// gets the keys of everyone else and of the other byes.
std::vector<int> fixedBracket(const KoPlan& plan, const std::vector<DrawEntrant>& entrants, int seeds,
                              const std::vector<int>& positions, bool randomByes, Keys& keys,
                              std::vector<int>& pending)
{
    const int size = int(plan.bracket.size());
    std::vector<int> cells(std::size_t(size), oracle::kFree);
    std::set<int> seeded;
    int byes = size - int(entrants.size());
    for (int k = 0; k < seeds; ++k) {
        const int s = positions[std::size_t(k)] - 1;
        const int who = plan.bracket[std::size_t(s)].index;
        seeded.insert(who);
        cells[std::size_t(s)] = keys.of(entrants[std::size_t(who)]);
        if (!randomByes && byes > 0) {
            cells[std::size_t(partnerSlot(s))] = 0;
            --byes;
        }
    }
    pending.clear();
    for (std::size_t e = 0; e < entrants.size(); ++e) {
        if (!seeded.count(int(e)))
            pending.push_back(keys.of(entrants[e]));
    }
    pending.insert(pending.end(), std::size_t(byes), 0);
    return cells;
}

// Every entrant once, the right number of byes, no two byes where avoidable.
void checkWhole(const KoPlan& plan, std::size_t entrants, const QByteArray& where)
{
    QVERIFY2(plan.undrawn.empty(), where);
    const std::vector<int> at = slotOf(plan, entrants);
    QVERIFY2(std::find(at.begin(), at.end(), -1) == at.end(), where);
    QCOMPARE(byeCount(plan), int(plan.bracket.size() - entrants));
}

// Counts of one key per group.
std::map<std::pair<int, int>, int> perGroup(const std::vector<GroupPlacement>& placed, const GroupGrid& grid,
                                            const std::vector<DrawEntrant>& entrants, Keys& keys)
{
    std::map<std::pair<int, int>, int> count;
    for (int g = 0; g < grid.groups; ++g)
        for (int row = 0; row < grid.places; ++row)
            if (const auto& cell = grid.at(g, row))
                ++count[{keys.of(*cell), g}];
    for (const GroupPlacement& p : placed)
        ++count[{keys.of(entrants[std::size_t(p.entrant)]), p.group}];
    return count;
}

// The groups hold no more of a key than its even share, or than what the
// draw found fixed there (`held`: the keys fixed in each group).
bool evenlySpread(const std::map<std::pair<int, int>, int>& count, const std::map<int, int>& bound,
                  const std::vector<std::vector<int>>& held)
{
    for (const auto& [at, n] : count) {
        if (at.first < 0)
            continue;
        const auto& fixed = held[std::size_t(at.second)];
        if (n > std::max(bound.at(at.first), int(std::count(fixed.begin(), fixed.end(), at.first))))
            return false;
    }
    return true;
}

std::map<int, int> evenShares(const std::vector<DrawEntrant>& everyone, int groups, Keys& keys)
{
    std::map<int, int> total;
    for (const DrawEntrant& e : everyone)
        ++total[keys.of(e)];
    std::map<int, int> bound;
    for (const auto& [key, n] : total)
        bound[key] = oracle::evenShare(n, groups);
    return bound;
}

// The qualifiers of `groups` groups with `q` each, rank by rank, then `best`
// best-placed.
std::vector<DrawEntrant> qualifiers(int groups, int q, int best = 0)
{
    std::vector<DrawEntrant> list;
    for (int rank = 0; rank < q; ++rank)
        for (int g = 0; g < groups; ++g)
            list.push_back(qualifier(g, rank));
    for (int k = 0; k < best; ++k)
        list.push_back(bestPlaced(k));
    return list;
}

// How many of the first `count` snake cells each group has.
std::vector<int> snakeTake(int groups, int places, int count)
{
    std::vector<int> take(std::size_t(groups), 0);
    const auto order = snakeOrder(groups, places);
    for (int i = 0; i < count && i < int(order.size()); ++i)
        ++take[std::size_t(order[std::size_t(i)].first)];
    return take;
}

// A number of the pending for each group, within its free rows.
std::vector<int> randomTake(const oracle::GroupCase& c, RandomSource& gen)
{
    std::vector<int> take(c.filled.size(), 0);
    for (std::size_t i = 0; i < c.pending.size(); ++i) {
        std::vector<std::size_t> room;
        for (std::size_t g = 0; g < take.size(); ++g) {
            if (c.filled[g] + take[g] < c.places)
                room.push_back(g);
        }
        if (!room.empty())
            ++take[room[std::size_t(gen.below(int(room.size())))]];
    }
    return take;
}

} // namespace

class TestDrawSeparation : public QObject {
    Q_OBJECT

private slots:
    void oracle_bruteForceAndFlowAgree();
    void bracketSeparable_againstTheOracle();
    void groupsSeparable_againstTheOracle();

    void ko_clubsApartWheneverPossible();
    void ko_sourceGroupsApartWheneverPossible();
    void groups_clubsSpreadWheneverPossible();
    void groups_sourceGroupsSpreadWheneverPossible();
    void groups_everySetUpNachSystem();
    void cases();
};

void TestDrawSeparation::oracle_bruteForceAndFlowAgree()
{
    // The two halves of the oracle on cases small enough for both; the level
    // filling's least and most against its one-at-a-time definition.
    for (quint32 run = 0; run < 3000; ++run) {
        SeededRandom gen(run);
        const int size = 2 << gen.below(3);
        std::vector<int> cells(std::size_t(size), oracle::kFree);
        for (int& s : cells)
            if (gen.below(3) == 0)
                s = gen.below(4) - 1;
        const long free = std::count(cells.begin(), cells.end(), oracle::kFree);
        std::map<int, int> pending;
        for (long i = 0; i < free; ++i)
            ++pending[gen.below(4) - 1];
        QCOMPARE(oracle::bracketByBruteForce(cells, pending), oracle::bracketByFlow(cells, pending));

        oracle::GroupCase c;
        const int groups = 1 + gen.below(4);
        c.places = 1 + gen.below(4);
        c.held.resize(std::size_t(groups));
        c.filled.resize(std::size_t(groups));
        for (int g = 0; g < groups; ++g) {
            c.filled[std::size_t(g)] = gen.below(c.places + 1);
            for (int k = 0; k < c.filled[std::size_t(g)]; ++k)
                c.held[std::size_t(g)].push_back(gen.below(4) - 1);
        }
        int room = 0;
        for (const int f : c.filled)
            room += c.places - f;
        const int count = std::min(room, gen.below(8));
        for (int i = 0; i < count; ++i)
            c.pending.push_back(gen.below(4) - 1);
        for (int key = 0; key < 3; ++key)
            c.bound[key] = 1 + gen.below(2);
        if (gen.below(2) == 0)
            c.take = randomTake(c, gen);
        QCOMPARE(oracle::groupsByBruteForce(c), oracle::groupsByFlow(c));
    }
}

void TestDrawSeparation::bracketSeparable_againstTheOracle()
{
    int yes = 0, no = 0;
    for (quint32 run = 0; run < 4000; ++run) {
        SeededRandom gen(run + 100000);
        const int size = 2 << gen.below(run % 5 == 0 ? 7 : 3);
        const int keys = 1 + gen.below(6);
        std::vector<int> cells(std::size_t(size), oracle::kFree);
        for (int& s : cells)
            if (gen.below(3) == 0)
                s = gen.below(keys + 1) - 1;
        const long free = std::count(cells.begin(), cells.end(), oracle::kFree);
        std::vector<int> pending;
        const long count = gen.below(8) == 0 ? free + 1 : free - gen.below(int(std::min(free, 2L)) + 1);
        for (long i = 0; i < count; ++i)
            pending.push_back(gen.below(5) == 0 ? kUnkeyed : gen.below(std::max(1, keys / (1 + gen.below(3)))));
        const bool expected = oracle::bracketCanKeepApart(cells, pending);
        (expected ? yes : no)++;
        QVERIFY2(bracketSeparable(cells, pending) == expected,
                 runText(run, QStringLiteral("%1 slots").arg(size)));
    }
    QVERIFY(yes > 500 && no > 500);
}

void TestDrawSeparation::groupsSeparable_againstTheOracle()
{
    int yes = 0, no = 0;
    for (quint32 run = 0; run < 4000; ++run) {
        SeededRandom gen(run + 200000);
        oracle::GroupCase c;
        const bool small = run % 3 != 0;
        const int groups = 1 + gen.below(small ? 4 : 16);
        c.places = 1 + gen.below(small ? 4 : 8);
        c.held.resize(std::size_t(groups));
        c.filled.resize(std::size_t(groups));
        const int keys = 1 + gen.below(6);
        for (int g = 0; g < groups; ++g) {
            c.filled[std::size_t(g)] = gen.below(3) == 0 ? gen.below(c.places + 1) : 0;
            for (int k = 0; k < c.filled[std::size_t(g)]; ++k)
                c.held[std::size_t(g)].push_back(gen.below(keys + 1) - 1);
        }
        int room = 0;
        for (const int f : c.filled)
            room += c.places - f;
        const int count = std::min(room, gen.below(small ? 9 : 60));
        std::map<int, int> total;
        for (int i = 0; i < count; ++i) {
            c.pending.push_back(gen.below(keys + 1) - 1);
            ++total[c.pending.back()];
        }
        for (int key = 0; key < keys; ++key)
            c.bound[key] = oracle::evenShare(total[key], groups) + (gen.below(4) == 0 ? 1 : 0);
        std::vector<int> least, most;
        oracle::levelBounds(c, least, most);
        if (gen.below(2) == 0) {
            c.take = randomTake(c, gen);
            least = most = c.take;
        }
        std::vector<GroupRoom> rooms;
        for (int g = 0; g < groups; ++g)
            rooms.push_back({c.held[std::size_t(g)], least[std::size_t(g)], most[std::size_t(g)]});
        const bool expected = oracle::groupsCanKeepApart(c);
        (expected ? yes : no)++;
        const bool got = groupsSeparable(rooms, c.pending, [&c](int key) { return c.bound.at(key); });
        QVERIFY2(got == expected, runText(run, QStringLiteral("%1 groups of %2").arg(groups).arg(c.places)));
    }
    QVERIFY(yes > 1000 && no > 200);
}

void TestDrawSeparation::ko_clubsApartWheneverPossible()
{
    int kept = 0, impossible = 0;
    for (quint32 run = 0; run < 3000; ++run) {
        SeededRandom gen(run + 300000);
        const int n = 2 + gen.below(run % 4 == 0 ? 127 : 15);
        const int size = bracketFor(n);
        const int clubCount = 1 + gen.below(8);
        std::vector<DrawEntrant> entrants;
        for (int i = 0; i < n; ++i) {
            const int c = gen.below(3) == 0 ? 0 : gen.below(clubCount);
            entrants.push_back(club(gen.below(10) == 0 ? QString() : QStringLiteral("Verein %1").arg(c)));
        }
        const int seeds = gen.below(3) == 0 ? 0 : gen.below(std::min(n, size / 2) + 1);
        const bool randomSeeds = gen.below(2) == 1, randomByes = gen.below(2) == 1;
        const std::vector<int> positions = seedPositions(size);
        const KoDrawInput in{emptyBracket(size), entrants, iota(seeds), positions, KoRule::Clubs, randomSeeds,
                             randomByes};
        const KoPlan plan = planKnockoutDraw(in, gen);
        const QByteArray where =
            runText(run, QStringLiteral("%1 entrants, %2 seeds, %3 clubs").arg(n).arg(seeds).arg(clubCount));
        checkWhole(plan, entrants.size(), where);
        for (int k = 0; k < seeds; ++k)
            QVERIFY2(plan.bracket[std::size_t(positions[std::size_t(k)] - 1)].index < seeds, where);

        Keys keys;
        std::vector<int> pending;
        const std::vector<int> fixed = fixedBracket(plan, entrants, seeds, positions, randomByes, keys, pending);
        if (!oracle::bracketCanKeepApart(fixed, pending)) {
            ++impossible;
            continue;
        }
        ++kept;
        QVERIFY2(!clashInBracket(plan, entrants, keys), where);
    }
    QVERIFY(kept > 2000 && impossible > 500);
}

void TestDrawSeparation::ko_sourceGroupsApartWheneverPossible()
{
    int kept = 0, impossible = 0, bestKept = 0;
    for (quint32 run = 0; run < 3000; ++run) {
        SeededRandom gen(run + 400000);
        const int groups = 1 + gen.below(16);
        const int q = 1 + gen.below(3);
        const int best = gen.below(3) == 0 ? gen.below(groups + 1) : 0;
        const std::vector<DrawEntrant> entrants = qualifiers(groups, q, best);
        const int size = bracketFor(int(entrants.size()));
        const bool randomSeeds = gen.below(2) == 1, randomByes = gen.below(2) == 1;
        const std::vector<int> positions = seedPositions(size);
        const KoDrawInput in{emptyBracket(size), entrants, {}, positions, KoRule::Sources, randomSeeds, randomByes};
        const KoPlan plan = planKnockoutDraw(in, gen);
        const QByteArray where = runText(run, QStringLiteral("%1 groups x %2, %3 best-placed, random seeds %4, byes %5")
                                                  .arg(groups).arg(q).arg(best).arg(randomSeeds).arg(randomByes));
        checkWhole(plan, entrants.size(), where);
        const int seeds = std::min(groups, size / 2);

        for (const bool bestApart : {false, true}) {
            Keys keys;
            keys.bestPlacedApart = bestApart;
            std::vector<int> pending;
            const std::vector<int> fixed = fixedBracket(plan, entrants, seeds, positions, randomByes, keys, pending);
            if (!oracle::bracketCanKeepApart(fixed, pending)) {
                impossible += bestApart ? 0 : 1;
                continue;
            }
            (bestApart ? bestKept : kept)++;
            QVERIFY2(!clashInBracket(plan, entrants, keys), where + (bestApart ? " (best-placed)" : ""));
        }
    }
    QVERIFY(kept > 2500 && impossible > 50 && bestKept > 2500);
}

void TestDrawSeparation::groups_clubsSpreadWheneverPossible()
{
    int kept = 0;
    for (quint32 run = 0; run < 3000; ++run) {
        SeededRandom gen(run + 500000);
        const int groups = 1 + gen.below(8), places = 2 + gen.below(5);
        const int n = std::max(1, (groups * places) - gen.below(groups + 1));
        const int clubCount = 1 + gen.below(6);
        std::vector<DrawEntrant> entrants;
        for (int i = 0; i < n; ++i) {
            const int c = gen.below(3) == 0 ? 0 : gen.below(clubCount);
            entrants.push_back(club(gen.below(8) == 0 ? QString() : QStringLiteral("TTC %1").arg(c)));
        }
        const int seeds = gen.below(4) == 0 ? 0 : gen.below(std::min(n, 2 * groups) + 1);
        const bool randomSeeds = gen.below(2) == 1;
        const GroupGrid grid(groups, places);
        const auto placed = planGroupDraw(grid, entrants, iota(seeds), GroupRule::Clubs, randomSeeds, gen);
        const QByteArray where = runText(run, QStringLiteral("%1 groups of %2, %3 entrants, %4 seeds")
                                                  .arg(groups).arg(places).arg(n).arg(seeds));
        QCOMPARE(int(placed.size()), n);
        const auto snake = snakeOrder(groups, places);
        for (int k = 0; k < seeds; ++k)
            QCOMPARE((std::pair<int, int>{placed[std::size_t(k)].group, placed[std::size_t(k)].row}),
                     snake[std::size_t(k)]);

        // The seeds as the rules fix them, the others to spread by level.
        Keys keys;
        oracle::GroupCase c;
        c.places = places;
        c.held.resize(std::size_t(groups));
        c.filled.assign(std::size_t(groups), 0);
        for (int k = 0; k < seeds; ++k) {
            const GroupPlacement& p = placed[std::size_t(k)];
            c.held[std::size_t(p.group)].push_back(keys.of(entrants[std::size_t(p.entrant)]));
            ++c.filled[std::size_t(p.group)];
        }
        for (std::size_t k = std::size_t(seeds); k < placed.size(); ++k)
            c.pending.push_back(keys.of(entrants[std::size_t(placed[k].entrant)]));
        c.bound = evenShares(entrants, groups, keys);
        c.bound.erase(oracle::kAnybody);
        std::vector<int> taken(std::size_t(groups), 0);
        for (std::size_t k = std::size_t(seeds); k < placed.size(); ++k)
            ++taken[std::size_t(placed[k].group)];
        // every level filled before the next, whatever else holds
        QVERIFY2(oracle::levelFilled(c, taken), where);
        if (!oracle::groupsCanKeepApart(c))
            continue;
        ++kept;
        QVERIFY2(evenlySpread(perGroup(placed, grid, entrants, keys), c.bound, c.held), where);
    }
    QVERIFY(kept > 2500);
}

void TestDrawSeparation::groups_sourceGroupsSpreadWheneverPossible()
{
    int kept = 0, bestKept = 0;
    for (quint32 run = 0; run < 3000; ++run) {
        SeededRandom gen(run + 600000);
        const int sources = 1 + gen.below(8), q = 1 + gen.below(3);
        const int best = gen.below(3) == 0 ? gen.below(sources + 1) : 0;
        const std::vector<DrawEntrant> entrants = qualifiers(sources, q, best);
        const int total = int(entrants.size());
        const int groups = 1 + gen.below(std::min(8, total));
        const int places = std::min(13, (total + groups - 1) / groups + gen.below(2));
        if (groups * places < total)
            continue;
        const bool randomSeeds = gen.below(2) == 1;
        const GroupGrid grid(groups, places);
        const auto placed = planGroupDraw(grid, entrants, {}, GroupRule::Sources, randomSeeds, gen);
        const QByteArray where = runText(run, QStringLiteral("%1 groups x %2, %3 best-placed into %4 groups of %5")
                                                  .arg(sources).arg(q).arg(best).arg(groups).arg(places));
        QCOMPARE(int(placed.size()), total);
        std::set<std::pair<int, int>> cells;
        for (const GroupPlacement& p : placed)
            cells.insert({p.group, p.row});
        const auto snake = snakeOrder(groups, places);
        QCOMPARE(cells, (std::set<std::pair<int, int>>(snake.begin(), snake.begin() + total)));

        // The source groups against nothing fixed; the best-placed too
        // around the winners, who fill the first rows.
        for (const bool bestApart : {false, true}) {
            Keys keys;
            keys.bestPlacedApart = bestApart;
            oracle::GroupCase c;
            c.places = places;
            c.held.resize(std::size_t(groups));
            c.filled.assign(std::size_t(groups), 0);
            c.take = snakeTake(groups, places, total);
            for (const GroupPlacement& p : placed) {
                const DrawEntrant& e = entrants[std::size_t(p.entrant)];
                if (bestApart && isGroupWinner(e)) {
                    c.held[std::size_t(p.group)].push_back(keys.of(e));
                    ++c.filled[std::size_t(p.group)];
                    --c.take[std::size_t(p.group)];
                } else {
                    c.pending.push_back(keys.of(e));
                }
            }
            c.bound = evenShares(entrants, groups, keys);
            c.bound.erase(oracle::kAnybody);
            if (!oracle::groupsCanKeepApart(c))
                continue;
            (bestApart ? bestKept : kept)++;
            QVERIFY2(evenlySpread(perGroup(placed, grid, entrants, keys), c.bound, c.held),
                     where + (bestApart ? " (best-placed)" : ""));
        }
    }
    QVERIFY(kept > 2500 && bestKept > 2500);
}

void TestDrawSeparation::groups_everySetUpNachSystem()
{
    // Every phase 1 of 2-8 groups with 2 or 3 qualifiers each, drawn "nach
    // System" into each group count that can hold them (as few places as
    // needed): a group holds two of one source group only where fewer groups
    // than qualifiers per group leave no other way, and then no more than an
    // even spread.
    int setUps = 0;
    for (int sources = 2; sources <= 8; ++sources) {
        for (int q = 2; q <= 3; ++q) {
            const std::vector<DrawEntrant> entrants = qualifiers(sources, q);
            const int total = int(entrants.size());
            for (int groups = 1; groups <= total; ++groups) {
                const int places = (total + groups - 1) / groups;
                if (places > 13)
                    continue;
                ++setUps;
                ScriptedRandom random;
                const GroupGrid grid(groups, places);
                const auto placed = planGroupDraw(grid, entrants, {}, GroupRule::Sources, false, random);
                const QByteArray where = QStringLiteral("%1 groups x %2 into %3 groups of %4")
                                             .arg(sources).arg(q).arg(groups).arg(places).toUtf8();
                QCOMPARE(int(placed.size()), total);
                std::map<std::pair<int, int>, int> count;
                for (const GroupPlacement& p : placed)
                    ++count[{entrants[std::size_t(p.entrant)].source, p.group}];
                const int share = oracle::evenShare(q, groups);
                for (const auto& [at, n] : count)
                    QVERIFY2(n <= share, where);
                // the winners fill the first level in list order
                for (int g = 0; g < std::min(sources, groups); ++g)
                    QCOMPARE(placed[std::size_t(g)].entrant, g);
            }
        }
    }
    QCOMPARE(setUps, 169);

    // 4 groups of 4, the top two into 2 groups of 4.
    ScriptedRandom random;
    const auto placed = planGroupDraw(GroupGrid(2, 4), qualifiers(4, 2), {}, GroupRule::Sources, false, random);
    std::set<int> e, f;
    for (const GroupPlacement& p : placed)
        (p.group == 0 ? e : f).insert(p.entrant);
    // 0-3 winners of A-D, 4-7 seconds of A-D
    QCOMPARE(e, (std::set<int>{0, 3, 5, 6}));
    QCOMPARE(f, (std::set<int>{1, 2, 4, 7}));
}

void TestDrawSeparation::cases()
{
    // A knock-out of 4: seed 1 of club B, seed 2 of club A, one more of each.
    const DrawEntrant a = club(QStringLiteral("A")), b = club(QStringLiteral("B"));
    const std::vector<DrawEntrant> four{b, a, b, a};
    // 2 groups of 3 qualifiers and 1 best-placed into 8 slots.
    const std::vector<DrawEntrant> seven = qualifiers(2, 3, 1);
    for (quint32 seed = 0; seed < 200; ++seed) {
        for (const bool randomSeeds : {false, true}) {
            Keys keys;
            SeededRandom r1(seed);
            const KoPlan p1 = planKnockoutDraw(
                {emptyBracket(4), four, iota(2), seedPositions(4), KoRule::Clubs, randomSeeds, false}, r1);
            QVERIFY(!clashInBracket(p1, four, keys));
            SeededRandom r2(seed);
            const KoPlan p2 = planKnockoutDraw(
                {emptyBracket(8), seven, {}, seedPositions(8), KoRule::Sources, randomSeeds, false}, r2);
            QVERIFY(!clashInBracket(p2, seven, keys));
        }
    }

    // 2 groups of 3, 5 entrants, seed 2 of club "03" as one unseeded player;
    // "01" and "07" one each: the player of "03" goes to group A.
    const std::vector<DrawEntrant> five{club(QStringLiteral("05")), club(QStringLiteral("03")),
                                        club(QStringLiteral("03")), club(QStringLiteral("01")),
                                        club(QStringLiteral("07"))};
    for (quint32 seed = 0; seed < 50; ++seed) {
        SeededRandom random(seed);
        const auto placed = planGroupDraw(GroupGrid(2, 3), five, iota(2), GroupRule::Clubs, false, random);
        const auto g = groupOf(placed, 5);
        QCOMPARE(g[1], 1);
        QCOMPARE(g[2], 0);
    }
}

QTEST_GUILESS_MAIN(TestDrawSeparation)
#include "test_draw_separation.moc"
