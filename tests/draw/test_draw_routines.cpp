// The group and knock-out draws on their own: the examples of each rule with
// scripted random numbers, entrants placed by hand before the draw, and
// property runs over 500 random seeds each (every entrant placed once, seeds
// where the rule puts them, byes beside seeds and never two in one match,
// clubs and source groups kept apart as far as the rule promises).
#include "data/kosystem.h"
#include "draw/groupdraw.h"
#include "draw/kodraw.h"
#include "support/scriptedrandom.h"

#include "drawcases.h"

#include <QTest>

#include <algorithm>
#include <map>
#include <set>

using namespace bw;
using namespace bw::test;
using namespace bw::test::draw;

class TestDrawRoutines : public QObject {
    Q_OBJECT

private slots:
    void snakeOrder_turnsAtEveryLevel();
    void groups_seedsThenEntrantsInSnakeOrder();
    void groups_randomSeedsFillTheFirstLevel();
    void groups_rowsFilledByHandAreSkipped();
    void groups_clubsSpreadLargestFirst();
    void groups_clubOrderDoesNotDependOnListOrder();
    void groups_laterPhaseExchangesASecondOfTheSameGroup();
    void groups_properties();

    void ko_seedWithByeAndTheRestDrawn();
    void ko_randomByes();
    void ko_qualifiersOfOneGroupInOppositeHalves();
    void ko_emptyListGivesTwoByes();
    void ko_entrantsPlacedByHandKeepTheirSlots();
    void ko_entrantOnASeedSlotIsDrawnElsewhere();
    void ko_moreSeedsThanRows();
    void ko_properties();
    void ko_clubProperties();
    void ko_sourceProperties();
};

void TestDrawRoutines::snakeOrder_turnsAtEveryLevel()
{
    const std::vector<std::pair<int, int>> expected{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}};
    QCOMPARE(snakeOrder(3, 2), expected);
}

void TestDrawRoutines::groups_seedsThenEntrantsInSnakeOrder()
{
    // 4 groups, 5 seeds: A, B, C, D, D; the first unseeded go to C, B, A, then A again.
    const GroupGrid grid(4, 3);
    const std::vector<DrawEntrant> entrants(9);
    ScriptedRandom random({0, 0, 0, 0});
    const auto placed = planGroupDraw(grid, entrants, iota(5), GroupRule::Plain, false, random);
    QCOMPARE(groupOf(placed, 9), (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0, 0}));
    QCOMPARE(random.bounds(), (QList<int>{4, 3, 2, 1}));
}

void TestDrawRoutines::groups_randomSeedsFillTheFirstLevel()
{
    const GroupGrid grid(3, 3);
    const std::vector<DrawEntrant> entrants(4);
    ScriptedRandom random({2, 0, 1, 0});
    const auto placed = planGroupDraw(grid, entrants, iota(4), GroupRule::Plain, true, random);
    // seed 3 to A, seed 1 to B, seed 4 to C, seed 2 to C in row 2
    QCOMPARE(groupOf(placed, 4), (std::vector<int>{1, 2, 0, 2}));
    QCOMPARE(placed.back(), (GroupPlacement{1, 2, 1}));
}

void TestDrawRoutines::groups_rowsFilledByHandAreSkipped()
{
    for (const GroupRule rule : {GroupRule::Plain, GroupRule::Clubs}) {
        GroupGrid grid(2, 2);
        grid.at(1, 0) = club(QStringLiteral("TTC"));
        grid.at(0, 1) = club(QStringLiteral("TTC"));
        const std::vector<DrawEntrant> entrants{club(QStringLiteral("SV")), club(QStringLiteral("TSV"))};
        SeededRandom random(1);
        const auto placed = planGroupDraw(grid, entrants, {}, rule, false, random);
        QCOMPARE(placed.size(), std::size_t(2));
        std::set<std::pair<int, int>> cells;
        for (const GroupPlacement& p : placed)
            cells.insert({p.group, p.row});
        QCOMPARE(cells, (std::set<std::pair<int, int>>{{0, 0}, {1, 1}}));
    }
}

void TestDrawRoutines::groups_clubsSpreadLargestFirst()
{
    // 3 groups, no seeds, a club of 4 and one of 2 (listed first): the four go
    // to A, B, C, A, the two to B and C.
    const GroupGrid grid(3, 2);
    const DrawEntrant x = club(QStringLiteral("TTV Nord")), y = club(QStringLiteral("SV Ost"));
    const std::vector<DrawEntrant> entrants{y, y, x, x, x, x};
    for (quint32 seed = 0; seed < 20; ++seed) {
        SeededRandom random(seed);
        const auto placed = planGroupDraw(grid, entrants, {}, GroupRule::Clubs, false, random);
        QCOMPARE(placed.size(), std::size_t(6));
        std::vector<int> order;
        for (const GroupPlacement& p : placed)
            order.push_back(p.group);
        QCOMPARE(order, (std::vector<int>{0, 1, 2, 0, 1, 2}));
        QVERIFY(placed[0].entrant >= 2 && placed[4].entrant < 2);
    }
}

void TestDrawRoutines::groups_clubOrderDoesNotDependOnListOrder()
{
    // Two clubs of equal size, read in two row orders (each club's members in
    // the same order): the same seed gives the same groups.
    const DrawEntrant a = club(QStringLiteral("Borussia")), b = club(QStringLiteral("Alemannia"));
    const std::vector<DrawEntrant> first{a, b, a, b, a, b};
    const std::vector<DrawEntrant> second{b, b, b, a, a, a};
    const std::vector<int> firstToSecond{3, 0, 4, 1, 5, 2}; // entrant i of `first` is entrant firstToSecond[i] of `second`
    for (const GroupRule rule : {GroupRule::Clubs}) {
        SeededRandom r1(7), r2(7);
        const GroupGrid grid(3, 2);
        const auto g1 = groupOf(planGroupDraw(grid, first, {}, rule, false, r1), 6);
        const auto g2 = groupOf(planGroupDraw(grid, second, {}, rule, false, r2), 6);
        for (std::size_t i = 0; i < 6; ++i)
            QCOMPARE(g1[i], g2[std::size_t(firstToSecond[i])]);
    }
    KoDrawInput in1{emptyBracket(8), first, {}, seedPositions(8), KoRule::Clubs, false, false};
    KoDrawInput in2{emptyBracket(8), second, {}, seedPositions(8), KoRule::Clubs, false, false};
    SeededRandom r1(11), r2(11);
    const auto s1 = slotOf(planKnockoutDraw(in1, r1), 6);
    const auto s2 = slotOf(planKnockoutDraw(in2, r2), 6);
    for (std::size_t i = 0; i < 6; ++i)
        QCOMPARE(s1[i], s2[std::size_t(firstToSecond[i])]);
}

void TestDrawRoutines::groups_laterPhaseExchangesASecondOfTheSameGroup()
{
    // Groups A, B, C with 2 qualifiers each into D, E, F "nach System": D gets
    // the winner of A, E of B, F of C; F the second of A; E would get the
    // second of B, who changes places with the second of C; D the second of B.
    const GroupGrid grid(3, 2);
    const std::vector<DrawEntrant> entrants{qualifier(0, 0), qualifier(1, 0), qualifier(2, 0),
                                            qualifier(0, 1), qualifier(1, 1), qualifier(2, 1)};
    ScriptedRandom random;
    const auto placed = planGroupDraw(grid, entrants, {}, GroupRule::Sources, false, random);
    QCOMPARE(groupOf(placed, 6), (std::vector<int>{0, 1, 2, 2, 0, 1}));
    QCOMPARE(placed.back(), (GroupPlacement{4, 0, 1}));

    // "Zufall": the winners at random; an entry without a source group is
    // never a seed.
    const std::vector<DrawEntrant> redraw{club(QStringLiteral("Schmidt")), qualifier(0, 0), qualifier(1, 0),
                                          qualifier(0, 1)};
    ScriptedRandom random2({1, 0});
    const auto placed2 = planGroupDraw(GroupGrid(2, 2), redraw, {}, GroupRule::Sources, true, random2);
    QCOMPARE(groupOf(placed2, 4), (std::vector<int>{1, 1, 0, 0}));
}

void TestDrawRoutines::groups_properties()
{
    const QStringList clubs{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                            QStringLiteral("E"), QString()};
    for (quint32 run = 0; run < 500; ++run) {
        SeededRandom gen(run);
        const int groups = 1 + gen.below(16), places = 3 + gen.below(4);
        const int capacity = groups * places;
        const int n = std::min(130, 2 + gen.below(capacity - 1));
        const int seeds = gen.below(3) == 0 ? 0 : gen.below(std::min(n, 2 * groups) + 1);
        const bool randomSeeds = gen.below(2) == 1;
        const GroupRule rule = gen.below(2) == 0 ? GroupRule::Plain : GroupRule::Clubs;
        std::vector<DrawEntrant> entrants;
        for (int i = 0; i < n; ++i)
            entrants.push_back(club(clubs[gen.below(int(clubs.size()))]));
        const GroupGrid grid(groups, places);
        const auto placed = planGroupDraw(grid, entrants, iota(seeds), rule, randomSeeds, gen);

        QCOMPARE(int(placed.size()), n);
        std::set<int> who;
        std::set<std::pair<int, int>> cells;
        for (const GroupPlacement& p : placed) {
            who.insert(p.entrant);
            cells.insert({p.group, p.row});
        }
        QCOMPARE(int(who.size()), n);
        QCOMPARE(int(cells.size()), n);

        const auto snake = snakeOrder(groups, places);
        for (int k = 0; k < seeds; ++k) {
            const GroupPlacement& p = placed[std::size_t(k)];
            QVERIFY(p.entrant < seeds);
            if (!randomSeeds)
                QCOMPARE(p.entrant, k);
            QCOMPARE((std::pair<int, int>{p.group, p.row}), snake[std::size_t(k)]);
        }
        if (rule == GroupRule::Clubs) {
            std::set<QString> seeded;
            for (int k = 0; k < seeds; ++k)
                seeded.insert(entrants[std::size_t(k)].club);
            std::map<QString, int> size;
            std::map<std::pair<QString, int>, int> inGroup;
            const auto g = groupOf(placed, std::size_t(n));
            for (int i = 0; i < n; ++i) {
                const QString& c = entrants[std::size_t(i)].club;
                ++size[c];
                ++inGroup[{c, g[std::size_t(i)]}];
            }
            for (const auto& [key, count] : inGroup) {
                if (key.first.isEmpty() || seeded.count(key.first))
                    continue;
                const int c = size[key.first];
                QVERIFY2(count <= (c + groups - 1) / groups, qPrintable(QStringLiteral("run %1").arg(run)));
            }
        }
    }
}

void TestDrawRoutines::ko_seedWithByeAndTheRestDrawn()
{
    // 5 entrants, 1 seed: bracket of 8, 3 byes; the seed at its position with
    // a bye; the 4 others and 2 byes drawn, first slots before second slots,
    // an entrant first beside a bye, a bye beside an entrant.
    const std::vector<DrawEntrant> entrants(5);
    KoDrawInput in{emptyBracket(8), entrants, {0}, seedPositions(8), KoRule::Plain, false, false};
    // pool: entrants 1..4, bye, bye
    ScriptedRandom random({4, 0, 0, 2, 0, 0});
    const KoPlan plan = planKnockoutDraw(in, random);
    const std::vector<KoFill> expected{
        {KoFill::From::Entrant, 0}, {KoFill::From::Bye, -1},    {KoFill::From::Bye, -1},     {KoFill::From::Entrant, 3},
        {KoFill::From::Entrant, 1}, {KoFill::From::Bye, -1},    {KoFill::From::Entrant, 2}, {KoFill::From::Entrant, 4}};
    QCOMPARE(plan.bracket, expected);
    QCOMPARE(random.bounds(), (QList<int>{6, 5, 4, 3, 2, 1}));
}

void TestDrawRoutines::ko_randomByes()
{
    const std::vector<DrawEntrant> entrants(5);
    for (quint32 seed = 0; seed < 50; ++seed) {
        KoDrawInput in{emptyBracket(8), entrants, {0}, seedPositions(8), KoRule::Plain, false, true};
        SeededRandom random(seed);
        const KoPlan plan = planKnockoutDraw(in, random);
        QCOMPARE(plan.bracket[0], (KoFill{KoFill::From::Entrant, 0}));
        QCOMPARE(byeCount(plan), 3);
        QVERIFY(!twoByesMeet(plan));
        // the first slots are never byes while entrants are left for them
        for (int s = 0; s < 8; s += 2)
            QVERIFY(!isBye(plan, s) || !isBye(plan, s + 1));
    }
}

void TestDrawRoutines::ko_qualifiersOfOneGroupInOppositeHalves()
{
    // 4 groups x 2 qualifiers into 8 slots: winners at the positions of seeds
    // 1-4, each second in the half opposite its winner.
    std::vector<DrawEntrant> entrants;
    for (int rank = 0; rank < 2; ++rank)
        for (int g = 0; g < 4; ++g)
            entrants.push_back(qualifier(g, rank));
    const std::vector<int> positions = seedPositions(8);
    for (quint32 seed = 0; seed < 50; ++seed) {
        KoDrawInput in{emptyBracket(8), entrants, {}, positions, KoRule::Sources, false, false};
        SeededRandom random(seed);
        const auto at = slotOf(planKnockoutDraw(in, random), 8);
        for (int g = 0; g < 4; ++g) {
            QCOMPARE(at[std::size_t(g)], positions[std::size_t(g)] - 1);
            QVERIFY((at[std::size_t(g)] < 4) != (at[std::size_t(g + 4)] < 4));
        }
    }
}

void TestDrawRoutines::ko_emptyListGivesTwoByes()
{
    KoDrawInput in{emptyBracket(2), {}, {}, seedPositions(2), KoRule::Sources, false, false};
    ScriptedRandom random({0, 0});
    const KoPlan plan = planKnockoutDraw(in, random);
    QCOMPARE(byeCount(plan), 2);
}

void TestDrawRoutines::ko_entrantsPlacedByHandKeepTheirSlots()
{
    // 16 entrants, 9 placed by hand: the other 7 fill the 7 free slots of the
    // bracket of 16, none of them written over a slot filled by hand.
    std::vector<KoSlot> hand = emptyBracket(16);
    for (const int s : {0, 1, 2, 5, 7, 9, 10, 13, 15})
        hand[std::size_t(s)] = {KoSlot::Kind::Entrant, {}};
    const std::vector<DrawEntrant> entrants(7);
    for (const KoRule rule : {KoRule::Plain, KoRule::Clubs, KoRule::Sources}) {
        KoDrawInput in{hand, entrants, {}, seedPositions(16), rule, false, false};
        SeededRandom random(3);
        const KoPlan plan = planKnockoutDraw(in, random);
        QCOMPARE(byeCount(plan), 0);
        for (const int s : {2, 5, 7, 9, 10, 13, 15})
            QCOMPARE(plan.bracket[std::size_t(s)], KoFill{});
        const auto at = slotOf(plan, 7);
        QVERIFY(std::find(at.begin(), at.end(), -1) == at.end());
        QVERIFY(plan.undrawn.empty() && plan.unplacedSlots.empty());
    }
}

void TestDrawRoutines::ko_entrantOnASeedSlotIsDrawnElsewhere()
{
    // An entrant placed by hand on seed 1's slot gives way and is drawn
    // elsewhere; the seed's bye goes beside it only into a free slot.
    std::vector<KoSlot> hand = emptyBracket(4);
    hand[0] = {KoSlot::Kind::Entrant, {}};
    hand[3] = {KoSlot::Kind::Entrant, {}};
    const std::vector<DrawEntrant> entrants(2); // seed 1 and seed 2
    KoDrawInput in{hand, entrants, {0, 1}, seedPositions(4), KoRule::Plain, false, false};
    ScriptedRandom random({0, 0});
    const KoPlan plan = planKnockoutDraw(in, random);
    QCOMPARE(plan.bracket[0], (KoFill{KoFill::From::Entrant, 0}));
    QCOMPARE(plan.bracket[3], (KoFill{KoFill::From::Entrant, 1}));
    QCOMPARE(plan.bracket[2], (KoFill{KoFill::From::Slot, 0}));
    QCOMPARE(plan.bracket[1], (KoFill{KoFill::From::Slot, 3}));
    QCOMPARE(random.bounds(), (QList<int>{2, 1}));
}

void TestDrawRoutines::ko_moreSeedsThanRows()
{
    // Seeds beyond the last KO_System row: undrawn in phase 1, drawn with the
    // others in phases 2 and 3.
    const std::vector<DrawEntrant> three(3);
    KoDrawInput first{emptyBracket(4), three, {0, 1, 2}, {1}, KoRule::Plain, false, false};
    SeededRandom r1(5);
    const KoPlan p1 = planKnockoutDraw(first, r1);
    QCOMPARE(p1.undrawn, (std::vector<int>{1, 2}));
    QCOMPARE(p1.bracket[0], (KoFill{KoFill::From::Entrant, 0}));

    const std::vector<DrawEntrant> winners{qualifier(0, 0), qualifier(1, 0), qualifier(2, 0)};
    KoDrawInput later{emptyBracket(4), winners, {}, {1}, KoRule::Sources, false, false};
    SeededRandom r2(5);
    const KoPlan p2 = planKnockoutDraw(later, r2);
    QVERIFY(p2.undrawn.empty());
    QCOMPARE(byeCount(p2), 1);
}

void TestDrawRoutines::ko_properties()
{
    for (quint32 run = 0; run < 500; ++run) {
        SeededRandom gen(run + 1000);
        const int n = 2 + gen.below(129);
        const int size = bracketFor(n);
        const int seeds = gen.below(3) == 0 ? 0 : gen.below(std::min(n, size / 2) + 1);
        const bool randomSeeds = gen.below(2) == 1, randomByes = gen.below(2) == 1;
        const KoRule rule = KoRule(gen.below(3));
        std::vector<DrawEntrant> entrants;
        for (int i = 0; i < n; ++i) {
            if (rule == KoRule::Sources)
                entrants.push_back(qualifier(i < seeds ? i : gen.below(std::max(seeds, 1)), i < seeds ? 0 : 1));
            else
                entrants.push_back(club(QString(QChar(u'A' + gen.below(6)))));
        }
        const std::vector<int> positions = seedPositions(size);
        KoDrawInput in{emptyBracket(size), entrants, iota(seeds), positions, rule, randomSeeds, randomByes};
        const KoPlan plan = planKnockoutDraw(in, gen);
        const QByteArray where = QStringLiteral("run %1: %2 entrants, %3 seeds, rule %4, random seeds %5, byes %6")
                                     .arg(run).arg(n).arg(seeds).arg(int(rule)).arg(randomSeeds).arg(randomByes)
                                     .toUtf8();

        QVERIFY2(plan.undrawn.empty(), where);
        const auto at = slotOf(plan, std::size_t(n));
        QVERIFY2(std::find(at.begin(), at.end(), -1) == at.end(), where);
        QCOMPARE(byeCount(plan), size - n);
        QVERIFY2(!twoByesMeet(plan), where);
        std::set<int> seedSlots;
        for (int k = 0; k < seeds; ++k) {
            seedSlots.insert(at[std::size_t(k)]);
            if (!randomSeeds)
                QCOMPARE(at[std::size_t(k)], positions[std::size_t(k)] - 1);
        }
        std::set<int> expectedSeedSlots;
        for (int k = 0; k < seeds; ++k)
            expectedSeedSlots.insert(positions[std::size_t(k)] - 1);
        QCOMPARE(seedSlots, expectedSeedSlots);
        if (!randomByes) {
            for (int k = 0; k < std::min(seeds, size - n); ++k)
                QVERIFY2(isBye(plan, partnerSlot(positions[std::size_t(k)] - 1)), where);
        }
    }
}

void TestDrawRoutines::ko_clubProperties()
{
    // No seeds, every club at most a quarter of the slots: no clubmates meet.
    for (quint32 run = 0; run < 500; ++run) {
        SeededRandom gen(run + 5000);
        const int n = 2 + gen.below(129);
        const int size = bracketFor(n);
        std::vector<DrawEntrant> entrants;
        std::map<QString, int> count;
        const int clubCount = 4 + gen.below(12); // at least 4 clubs of a quarter hold everyone
        for (int i = 0; i < n; ++i) {
            QString c;
            do
                c = QString(QChar(u'A' + gen.below(clubCount)));
            while (count[c] >= size / 4 && size >= 4);
            ++count[c];
            entrants.push_back(club(c));
        }
        const bool randomByes = gen.below(2) == 1;
        KoDrawInput in{emptyBracket(size), entrants, {}, seedPositions(size), KoRule::Clubs, false, randomByes};
        const KoPlan plan = planKnockoutDraw(in, gen);
        const QByteArray where = QStringLiteral("run %1: %2 entrants").arg(run).arg(n).toUtf8();
        QVERIFY2(!twoByesMeet(plan), where);
        QCOMPARE(byeCount(plan), size - n);
        for (std::size_t s = 0; s < plan.bracket.size(); s += 2) {
            const KoFill& a = plan.bracket[s];
            const KoFill& b = plan.bracket[s + 1];
            if (a.from == KoFill::From::Entrant && b.from == KoFill::From::Entrant && size >= 4)
                QVERIFY2(!sameClub(entrants[std::size_t(a.index)], entrants[std::size_t(b.index)]), where);
        }
    }
}

void TestDrawRoutines::ko_sourceProperties()
{
    // 2^k groups x 2 qualifiers: no first-round match of one group's
    // qualifiers, each second in the half opposite its winner.
    for (quint32 run = 0; run < 500; ++run) {
        SeededRandom gen(run + 9000);
        const int groups = 1 << (1 + gen.below(6));
        std::vector<DrawEntrant> entrants;
        for (int rank = 0; rank < 2; ++rank)
            for (int g = 0; g < groups; ++g)
                entrants.push_back(qualifier(g, rank));
        const int size = 2 * groups;
        KoDrawInput in{emptyBracket(size), entrants, {}, seedPositions(size), KoRule::Sources, gen.below(2) == 1,
                       false};
        const auto at = slotOf(planKnockoutDraw(in, gen), entrants.size());
        for (int g = 0; g < groups; ++g) {
            const int w = at[std::size_t(g)], second = at[std::size_t(groups + g)];
            QVERIFY(partnerSlot(w) != second);
            QVERIFY((w < size / 2) != (second < size / 2));
        }
    }
}

QTEST_GUILESS_MAIN(TestDrawRoutines)
#include "test_draw_routines.moc"
