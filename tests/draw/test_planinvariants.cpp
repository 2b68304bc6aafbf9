// The plans of many draws over the shipped plan files, computed without the
// database and then played to their end with random winners: group phases of
// 1 to 16 groups of 1 to 13 places with 0 to 3 going on per group and best-placed
// ones into a knock-out, and single and double knock-outs of 2 to 130, 255 and
// 256 entrants.
#include "finishfixture.h"

#include "support/tempprogramfolder.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

DrawRows plan(const FinishedDraw& draw)
{
    const PlanDefinitions definitions =
        readPlanDefinitions(draw, shippedFile("system.txt"), shippedFile("ko_system.txt"));
    return drawRows(draw, definitions, 1);
}

// Match numbers 1..K without gaps, in order.
QString numbered(const QList<NewMatch>& matches)
{
    for (int i = 0; i < matches.size(); ++i) {
        if (matches[i].spielnummer != i + 1)
            return QStringLiteral("match %1 has the number %2").arg(i + 1).arg(matches[i].spielnummer);
    }
    return {};
}

struct Side {
    int id = leererPlatz;
    QString text;
};

// Plays the knock-out matches (phase `phase`) to their end: a match whose two
// sides are known is decided at random, a match against a bye at once, and
// its winner and loser fill the bracket waiting for them.
struct Played {
    QString failure;
    int played = 0;
    int champion = 0;
    QSet<int> finalists;
    QHash<int, int> losses;
};

Played playOut(const QList<NewMatch>& matches, int phase, QRandomGenerator& random)
{
    Played result;
    QHash<int, std::array<Side, 2>> sides;
    QList<int> order;
    for (const NewMatch& m : matches) {
        if (m.phase != phase)
            continue;
        sides.insert(m.spielnummer, {Side{m.sid1, m.spieler1}, Side{m.sid2, m.spieler2}});
        order << m.spielnummer;
    }
    QSet<int> decided;
    const auto isPlaceholder = [](const Side& side) {
        return side.text.startsWith(QLatin1String("Sieger Spiel ")) ||
               side.text.startsWith(QLatin1String("Verlierer Spiel "));
    };
    int lastDecided = 0;
    Side lastWinner, lastLoser;
    for (bool progress = true; progress;) {
        progress = false;
        for (const int nr : order) {
            if (decided.contains(nr))
                continue;
            const auto [a, b] = sides.value(nr);
            if (isPlaceholder(a) || isPlaceholder(b))
                continue;
            Side winner, loser;
            if (a.id == Freilos || b.id == Freilos) {
                winner = a.id == Freilos ? b : a;
                loser = a.id == Freilos ? a : b;
            } else {
                if (a.id <= 0 || b.id <= 0) {
                    result.failure = QStringLiteral("match %1 between %2 and %3").arg(nr).arg(a.text, b.text);
                    return result;
                }
                if (a.id == b.id) {
                    result.failure = QStringLiteral("%1 meets himself in match %2").arg(a.text).arg(nr);
                    return result;
                }
                const bool first = random.bounded(2) == 0;
                winner = first ? a : b;
                loser = first ? b : a;
                ++result.played;
                ++result.losses[loser.id];
                lastWinner = winner;
                lastLoser = loser;
            }
            decided.insert(nr);
            lastDecided = nr;
            for (auto it = sides.begin(); it != sides.end(); ++it) {
                for (Side& side : it.value()) {
                    if (side.text == winnerPlaceholder(nr))
                        side = winner;
                    else if (side.text == loserPlaceholder(nr))
                        side = loser;
                }
            }
            progress = true;
        }
    }
    if (decided.size() != order.size())
        result.failure = QStringLiteral("%1 of %2 matches decided").arg(decided.size()).arg(order.size());
    Q_UNUSED(lastDecided);
    result.champion = lastWinner.id;
    result.finalists = {lastWinner.id, lastLoser.id};
    return result;
}

// What the knock-out of `entrants` must show when played out.
QString checkKnockOut(const QList<NewMatch>& matches, int phase, int entrants, bool doubleKo, QRandomGenerator& random)
{
    const Played played = playOut(matches, phase, random);
    if (!played.failure.isEmpty())
        return played.failure;
    if (played.played != (doubleKo ? 2 * entrants - 2 : entrants - 1))
        return QStringLiteral("%1 matches played").arg(played.played);
    if (entrants < 2)
        return {};
    if (played.losses.value(played.champion) > (doubleKo ? 1 : 0))
        return QStringLiteral("the champion lost %1 times").arg(played.losses.value(played.champion));
    int out = 0;
    for (auto it = played.losses.cbegin(); it != played.losses.cend(); ++it) {
        if (it.key() == played.champion)
            continue;
        const bool finalist = played.finalists.contains(it.key());
        if (!doubleKo && it.value() != 1)
            return QStringLiteral("%1 lost %2 times").arg(it.key()).arg(it.value());
        if (doubleKo && !finalist && it.value() != 2)
            return QStringLiteral("%1 lost %2 times").arg(it.key()).arg(it.value());
        ++out;
    }
    if (out != entrants - 1)
        return QStringLiteral("%1 entrants out").arg(out);
    return {};
}

// The first round of a phase: every slot side once.
QList<std::pair<int, int>> firstRoundSources(const QList<NewMatch>& matches, int phase)
{
    QList<std::pair<int, int>> sources;
    for (const NewMatch& m : matches) {
        if (m.phase != phase || m.parentspiel1 != -1)
            continue;
        if (m.sid1 != Freilos)
            sources << std::pair{m.parentGID1, m.parentpos1};
        if (m.sid2 != Freilos)
            sources << std::pair{m.parentGID2, m.parentpos2};
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

// Fills the later phase's qualifier bracket as result entry does once the groups
// are ranked (at random): by source group and rank, the best-placed by their
// rank among the places after the direct qualifiers.
QList<NewMatch> qualifiersKnown(const DrawRows& rows, const PhaseSettings& groups, QRandomGenerator& random)
{
    QList<NewMatch> matches = rows.matches;
    QHash<std::pair<int, int>, Side> ranked; // (group, rank) -> entrant
    QHash<int, QList<Side>> members;
    for (const GroupPlaceRow& place : rows.places) {
        if (place.phase == 1 && place.sid > 0)
            members[place.gid] << Side{place.sid, place.bez};
    }
    QList<Side> bestPlaced;
    for (int g = 0; g < groups.gruppenanzahl; ++g) {
        QList<Side> order = members.value(g);
        std::shuffle(order.begin(), order.end(), random);
        for (int r = 0; r < order.size(); ++r)
            ranked.insert({g, r}, order[r]);
        if (order.size() > groups.besten)
            bestPlaced << order[groups.besten];
    }
    std::shuffle(bestPlaced.begin(), bestPlaced.end(), random);
    for (int k = 0; k < bestPlaced.size(); ++k)
        ranked.insert({Bestplatziertenliste, k}, bestPlaced[k]);
    for (NewMatch& m : matches) {
        if (m.phase == 1)
            continue;
        if (m.sid1 == leererPlatz && ranked.contains({m.parentGID1, m.parentpos1})) {
            const Side s = ranked.value({m.parentGID1, m.parentpos1});
            m.sid1 = s.id;
            m.spieler1 = s.text;
        }
        if (m.sid2 == leererPlatz && ranked.contains({m.parentGID2, m.parentpos2})) {
            const Side s = ranked.value({m.parentGID2, m.parentpos2});
            m.sid2 = s.id;
            m.spieler2 = s.text;
        }
    }
    return matches;
}

} // namespace

class TestPlanInvariants : public QObject {
    Q_OBJECT

private slots:
    void groupPhases()
    {
        QRandomGenerator random(28);
        int checked = 0;
        for (int groups = 1; groups <= 16; ++groups) {
            for (int places = 1; places <= 13; ++places) {
                for (int besten = 0; besten <= std::min(3, places); ++besten) {
                    for (int best = 0; best <= (places > besten ? std::min(2, groups) : 0); ++best) {
                        const PhaseSettings phase = groupPhase(groups, places, besten, best);
                        const int qualifiers = groups * besten + best;
                        QList<PhaseSettings> phases{phase};
                        if (qualifiers > 0)
                            phases << knockOut();
                        const FinishedDraw draw = firstDraw(1, 1, phases, groups * places);
                        const DrawRows rows = plan(draw);
                        const QString where = QStringLiteral("%1 groups of %2, %3 on, %4 best-placed: ")
                                                  .arg(groups)
                                                  .arg(places)
                                                  .arg(besten)
                                                  .arg(best);
                        const QString gaps = numbered(rows.matches);
                        QVERIFY2(gaps.isEmpty(), qPrintable(where + gaps));
                        // Every pair of a group exactly once.
                        QHash<int, QSet<std::pair<QString, QString>>> pairs;
                        int groupMatches = 0;
                        for (const NewMatch& m : rows.matches) {
                            if (m.phase != 1)
                                continue;
                            ++groupMatches;
                            pairs[m.gruppe].insert(std::minmax(m.spieler1, m.spieler2));
                        }
                        QCOMPARE(groupMatches, groups * places * (places - 1) / 2);
                        for (int g = 0; g < groups; ++g)
                            QCOMPARE(pairs.value(g).size(), places * (places - 1) / 2);
                        if (qualifiers == 0)
                            continue;
                        // Every source group and rank, every best-placed rank, once.
                        QList<std::pair<int, int>> expected;
                        for (int g = 0; g < groups; ++g) {
                            for (int r = 0; r < besten; ++r)
                                expected << std::pair{g, r};
                        }
                        for (int k = 0; k < best; ++k)
                            expected << std::pair{Bestplatziertenliste, k};
                        std::sort(expected.begin(), expected.end());
                        QVERIFY2(firstRoundSources(rows.matches, 2) == expected, qPrintable(where + "sources"));
                        const QList<NewMatch> known = qualifiersKnown(rows, phase, random);
                        const QString played = checkKnockOut(known, 2, qualifiers, false, random);
                        QVERIFY2(played.isEmpty(), qPrintable(where + played));
                        ++checked;
                    }
                }
            }
        }
        QVERIFY(checked > 1000);
    }

    void knockOuts_data()
    {
        QTest::addColumn<bool>("doubleKo");
        QTest::newRow("single") << false;
        QTest::newRow("double") << true;
    }
    void knockOuts()
    {
        QFETCH(bool, doubleKo);
        QRandomGenerator random(28);
        QList<int> sizes;
        for (int e = 2; e <= 130; ++e)
            sizes << e;
        sizes << 255 << 256;
        for (const int entrants : sizes) {
            const FinishedDraw draw =
                firstDraw(1, 1, {knockOut(doubleKo ? PlaySystem::DoppeltesKO : PlaySystem::EinfachesKO)}, entrants);
            const DrawRows rows = plan(draw);
            const int size = slotsFor(entrants);
            const QString where = QStringLiteral("%1 entrants: ").arg(entrants);
            QVERIFY2(numbered(rows.matches).isEmpty(), qPrintable(where + numbered(rows.matches)));
            QCOMPARE(rows.matches.size(), doubleKo ? 2 * size - 2 : size - 1);
            QSet<int> firstRound;
            for (const NewMatch& m : rows.matches) {
                for (const int id : {m.sid1, m.sid2}) {
                    if (id <= 0)
                        continue;
                    QVERIFY2(!firstRound.contains(id), qPrintable(where + "twice in the first round"));
                    firstRound.insert(id);
                }
            }
            QCOMPARE(firstRound.size(), entrants);
            for (int round = 0; round < 3; ++round) {
                const QString played = checkKnockOut(rows.matches, 1, entrants, doubleKo, random);
                QVERIFY2(played.isEmpty(), qPrintable(where + played));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestPlanInvariants)
#include "test_planinvariants.moc"
