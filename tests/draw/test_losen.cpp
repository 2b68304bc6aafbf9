// "Losen" on the draw wizard's model: the choice of routine, and each routine
// around what was placed by hand: rows and slots filled by hand keep their
// entrants, placeholders of seeds placed by hand are no seeds, an entrant on
// a seed's slot is drawn elsewhere, teams without a club of the player table
// are drawn, a redraw's seeds are the group winners by their standings row,
// and the same random seed gives the same draw from either database.
#include "data/kosystem.h"
#include "draw/kodraw.h"
#include "draw/drawmodel.h"
#include "draw/losen.h"
#include "data/sql.h"
#include "support/scriptedrandom.h"
#include "support/testdatabase.h"

#include "groups/groupfixture.h"

#include <QSet>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

Myitem entrant(int id, const QString& club = QStringLiteral("TTC"), int seed = -1)
{
    return Myitem{id, 0, false, seed, QStringLiteral("Spieler%1, A").arg(id, 3, 10, QLatin1Char('0')), club, false};
}

QList<Myitem> entrants(int n, int firstId = 1)
{
    QList<Myitem> list;
    for (int i = 0; i < n; ++i)
        list.append(entrant(firstId + i));
    return list;
}

auslosungsinfos settings(std::array<int, 3> systems, std::array<int, 3> groups = {0, 0, 0},
                         std::array<int, 3> places = {0, 0, 0}, std::array<int, 3> besten = {0, 0, 0})
{
    auslosungsinfos s;
    for (size_t i = 0; i < 3; ++i) {
        const bool there = systems[i] >= 0;
        s.phase[i] = systems[i];
        s.gruppenanzahl[i] = there ? groups[i] : -1;
        s.teilnehmer[i] = there ? places[i] : -1;
        s.besten[i] = there ? besten[i] : -1;
        s.bestplazierten[i] = there ? 0 : -1;
    }
    return s;
}

// Every entrant id in the phase's groups or slots.
QList<int> placedIds(const DrawModel& m, int p)
{
    QList<int> ids;
    const DrawPhase& ph = m.phase(p);
    for (const QList<DrawEntry>& rows : ph.groups)
        for (const DrawEntry& e : rows)
            if (!e.isEmpty())
                ids.append(e.item.ID);
    for (const DrawEntry& e : ph.koinfos)
        if (!e.isEmpty())
            ids.append(e.item.ID);
    return ids;
}

std::vector<int> positionsOf(const DrawModel& m, int p)
{
    return seedPositions(int(m.phase(p).koinfos.size()));
}

void draw(DrawModel& m, int p, LosenOptionen options, RandomSource& random)
{
    losen(m, p, options, positionsOf(m, p), random);
}

} // namespace

class TestLosen : public QObject {
    Q_OBJECT

private slots:
    void routineByPhaseSystemAndClubs();
    void drawDisablesLosen();
    void rowFilledByHandSurvives();
    void teamsWithClubSeparationAllPlaced();
    void placeholdersOfSeedsPlacedByHandAreNoSeeds();
    void seedPlacedByHandIsNeverDisplaced_data();
    void seedPlacedByHandIsNeverDisplaced();
    void groupWinnerPlacedByHandIsNeverDisplaced();
    void bracketWithNineOfSixteenPlacedByHand();
    void entrantOnSeedSlotDrawnElsewhere();
    void redrawSeedsAreTheGroupWinners();
    void emptyParticipantListGivesTwoByes();
    void sameSeedSameDraw();
    void sameSeedSameDrawOnBothBackends();
};

void TestLosen::routineByPhaseSystemAndClubs()
{
    struct Case {
        std::array<int, 3> systems;
        int phase;
        bool clubs;
        Losverfahren expected;
    };
    const Case cases[] = {
        {{0, 0, 0}, 1, false, Losverfahren::gruppenlosenfest},
        {{0, 0, 0}, 1, true, Losverfahren::gruppenlosenvereinfest},
        {{1, -1, -1}, 1, false, Losverfahren::kolosenfest},
        {{2, -1, -1}, 1, true, Losverfahren::kolosenfestverein},
        {{0, 0, 1}, 2, true, Losverfahren::gruppenlosenfest2},
        {{0, 1, 0}, 2, false, Losverfahren::kolosenfest2},
        {{0, 0, 0}, 3, false, Losverfahren::gruppenlosenfest2},
        {{0, 0, 2}, 3, false, Losverfahren::kolosenfest3},
        {{0, -1, -1}, 2, false, Losverfahren::keines},
    };
    for (const Case& c : cases) {
        DrawModel m;
        m.setUp(1, 1, 1, settings(c.systems, {2, 2, 2}, {3, 3, 3}, {1, 1, 1}), {}, {}, entrants(4));
        QCOMPARE(losverfahren(m, c.phase, c.clubs), c.expected);
    }
}

void TestLosen::drawDisablesLosen()
{
    DrawModel m;
    m.setUp(1, 1, 1, settings({0, -1, -1}, {2, 0, 0}, {3, 0, 0}), {}, {}, entrants(5));
    SeededRandom random(1);
    draw(m, 1, {}, random);
    QVERIFY(!m.phase(1).losenEnabled);
    QCOMPARE(placedIds(m, 1).size(), 5);
    QVERIFY(m.registered().isEmpty());
    m.allesLoeschen(1);
    QVERIFY(m.phase(1).losenEnabled);
}

void TestLosen::rowFilledByHandSurvives()
{
    for (const bool clubs : {false, true}) {
        DrawModel m;
        m.setUp(1, 1, 1, settings({0, -1, -1}, {2, 0, 0}, {3, 0, 0}), {}, {}, entrants(6));
        const int handId = m.registered()[2].item.ID;
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox1, 2, {1, 0, 0}));
        SeededRandom random(4);
        draw(m, 1, {false, clubs, false}, random);
        QCOMPARE(m.phase(1).groups[0][0].item.ID, handId);
        const QList<int> ids = placedIds(m, 1);
        QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), 6);
        QVERIFY(m.registered().isEmpty());
    }
}

void TestLosen::teamsWithClubSeparationAllPlaced()
{
    // Teams carry their own club, which no player row of the class names; one
    // has none at all. Everyone is drawn, in groups and in a bracket.
    QList<Myitem> teams{entrant(1, QStringLiteral("TSV A")), entrant(2, QStringLiteral("TSV A")),
                        entrant(3, QStringLiteral("SV Brunnhain")), entrant(4, QString()), entrant(5, QString())};
    for (const int system : {0, 1}) {
        DrawModel m;
        auslosungsinfos s = settings({system, -1, -1}, {2, 0, 0}, {3, 0, 0});
        s.system = ClassKind::Team;
        m.setUp(1, 1, 1, s, {}, {}, teams);
        SeededRandom random(9);
        draw(m, 1, {false, true, false}, random);
        QList<int> ids = placedIds(m, 1);
        ids.removeAll(kFreilosId);
        QCOMPARE(QSet<int>(ids.begin(), ids.end()), (QSet<int>{1, 2, 3, 4, 5}));
        QVERIFY(m.registered().isEmpty());
    }
}

void TestLosen::placeholdersOfSeedsPlacedByHandAreNoSeeds()
{
    for (const int system : {0, 1}) {
        DrawModel m;
        m.setUp(1, 1, 1, settings({system, -1, -1}, {2, 0, 0}, {3, 0, 0}), {},
                {entrant(1, QStringLiteral("A"), 1), entrant(2, QStringLiteral("B"), 2)}, entrants(3, 10));
        if (system == 0)
            QVERIFY(m.dropOnGroupRow(DrawList::ListBox2, 0, {1, 1, 2}));
        else
            QVERIFY(m.dropOnSlot(DrawList::ListBox2, 0, {1, 7}));
        QCOMPARE(m.seeds()[0].item.ID, -1);
        SeededRandom random(2);
        draw(m, 1, {}, random);
        QList<int> ids = placedIds(m, 1);
        ids.removeAll(kFreilosId);
        QCOMPARE(ids.size(), 5);
        QCOMPARE(QSet<int>(ids.begin(), ids.end()), (QSet<int>{1, 2, 10, 11, 12}));
        for (const DrawEntry& e : m.seeds())
            QCOMPARE(e.item.ID, -1);
        // After the draw the seed list reads "1." and "2.", no blank.
        QCOMPARE(m.listText(DrawList::ListBox2, 0), QStringLiteral("1."));
        QCOMPARE(m.listText(DrawList::ListBox2, 1), QStringLiteral("2."));
        if (system == 0)
            QCOMPARE(m.phase(1).groups[0][0].item.ID, 2); // seed 2 is the first seed of the draw
        else
            QCOMPARE(m.phase(1).koinfos[0].item.ID, 2);
    }
}

void TestLosen::seedPlacedByHandIsNeverDisplaced_data()
{
    // Seed `seed` (1 or 2) dragged onto slot `slot`, 4 entrants besides the
    // two seeds in 8 slots (2 byes); where seeds 1 and 2 end after "Losen".
    // A slot of -1 or -2 stands for the KO_System slot of seed 1 or 2.
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("randomSeeds");
    QTest::addColumn<int>("seed1");
    QTest::addColumn<int>("seed2");
    QTest::newRow("seed 1 on his own slot") << 1 << -1 << false << -1 << -2;
    QTest::newRow("seed 1 on his own slot, seeds at random") << 1 << -1 << true << -1 << -2;
    QTest::newRow("seed 2 on his own slot") << 2 << -2 << false << -1 << -2;
    QTest::newRow("seed 1 elsewhere") << 1 << 5 << false << 5 << -2;
    QTest::newRow("seed 1 elsewhere, seeds at random") << 1 << 5 << true << 5 << -2;
    QTest::newRow("seed 2 on seed 1's slot") << 2 << -1 << false << -2 << -1;
    QTest::newRow("seed 1 on seed 2's slot") << 1 << -2 << false << -2 << -1;
    QTest::newRow("seed 1 on seed 2's slot, seeds at random") << 1 << -2 << true << -2 << -1;
}

void TestLosen::seedPlacedByHandIsNeverDisplaced()
{
    QFETCH(int, seed);
    QFETCH(int, slot);
    QFETCH(bool, randomSeeds);
    QFETCH(int, seed1);
    QFETCH(int, seed2);
    const std::vector<int> positions = seedPositions(8);
    const auto slotOf = [&](int s) { return s >= 0 ? s : positions[std::size_t(-s - 1)] - 1; };
    for (quint32 random = 0; random < 20; ++random) {
        DrawModel m;
        m.setUp(1, 1, 1, settings({1, -1, -1}), {},
                {entrant(1, QStringLiteral("A"), 1), entrant(2, QStringLiteral("B"), 2)}, entrants(4, 10));
        QCOMPARE(m.phase(1).koinfos.size(), 8);
        QVERIFY(m.dropOnSlot(DrawList::ListBox2, seed - 1, {1, slotOf(slot)}));
        SeededRandom r(random);
        draw(m, 1, {randomSeeds, false, false}, r);
        const QList<DrawEntry>& bracket = m.phase(1).koinfos;
        QCOMPARE(bracket[slotOf(seed1)].item.ID, 1);
        QCOMPARE(bracket[slotOf(seed2)].item.ID, 2);
        // both keep a bye beside them
        QVERIFY(bracket[partnerSlot(slotOf(seed1))].isBye());
        QVERIFY(bracket[partnerSlot(slotOf(seed2))].isBye());
        const QList<int> ids = placedIds(m, 1);
        QCOMPARE(QSet<int>(ids.begin(), ids.end()), (QSet<int>{kFreilosId, 1, 2, 10, 11, 12, 13}));
        QCOMPARE(ids.count(kFreilosId), 2);
        QVERIFY(m.registered().isEmpty());
    }
}

void TestLosen::groupWinnerPlacedByHandIsNeverDisplaced()
{
    // Phase 2 from 4 groups with 2 going on, into 8 slots: the winner of each
    // group in turn dragged onto slot 0. He stays; the winner whose slot that
    // is takes the dragged winner's; no two winners meet, nor a second his
    // own winner.
    const std::vector<int> positions = seedPositions(8);
    for (int dragged = 0; dragged < 4; ++dragged) {
        for (const bool zufall : {false, true}) {
            for (quint32 random = 0; random < 10; ++random) {
                DrawModel m;
                m.setUp(1, 1, 1, settings({0, 1, -1}, {4, 0, 0}, {3, 0, 0}, {2, 0, 0}), {}, {}, entrants(12));
                QCOMPARE(m.phase(2).koinfos.size(), 8);
                const QString winner = m.phase(2).participants[dragged].text();
                QVERIFY(m.dropOnSlot(DrawList::ListBox3, dragged, {2, 0}));
                SeededRandom r(random);
                draw(m, 2, {zufall, false, false}, r);
                const QList<DrawEntry>& bracket = m.phase(2).koinfos;
                QCOMPARE(bracket[0].text(), winner);
                for (int s = 0; s < 8; s += 2) {
                    const DrawEntry& a = bracket[s];
                    const DrawEntry& b = bracket[s + 1];
                    QVERIFY(a.parentpos != 0 || b.parentpos != 0);
                    QVERIFY(a.parentGID < 0 || a.parentGID != b.parentGID);
                }
                if (!zufall) {
                    for (int w = 0; w < 4; ++w) {
                        if (w == dragged)
                            continue;
                        const int row = w == 0 ? dragged : w;
                        QCOMPARE(bracket[positions[std::size_t(row)] - 1].parentGID, w);
                    }
                }
                QVERIFY(m.phase(2).participants.isEmpty());
            }
        }
    }
}

void TestLosen::bracketWithNineOfSixteenPlacedByHand()
{
    DrawModel m;
    m.setUp(1, 1, 1, settings({1, -1, -1}), {}, {}, entrants(16));
    QCOMPARE(m.phase(1).koinfos.size(), 16);
    for (const int slot : {0, 3, 4, 6, 8, 9, 11, 12, 15})
        QVERIFY(m.dropOnSlot(DrawList::ListBox1, 0, {1, slot}));
    const QList<DrawEntry> byHand = m.phase(1).koinfos;
    SeededRandom random(16);
    draw(m, 1, {}, random);
    const QList<int> ids = placedIds(m, 1);
    QCOMPARE(ids.size(), 16);
    QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), 16);
    QVERIFY(!ids.contains(kFreilosId));
    for (const int slot : {0, 3, 4, 6, 8, 9, 11, 12, 15})
        QCOMPARE(m.phase(1).koinfos[slot], byHand[slot]);
}

void TestLosen::entrantOnSeedSlotDrawnElsewhere()
{
    DrawModel m;
    m.setUp(1, 1, 1, settings({1, -1, -1}), {}, {entrant(1, QStringLiteral("A"), 1)}, entrants(4, 10));
    QCOMPARE(m.phase(1).koinfos.size(), 8);
    QVERIFY(m.dropOnSlot(DrawList::ListBox1, 0, {1, seedPositions(8)[0] - 1}));
    const int handId = m.phase(1).koinfos[0].item.ID;
    SeededRandom random(3);
    draw(m, 1, {}, random);
    QCOMPARE(m.phase(1).koinfos[0].item.ID, 1);
    QVERIFY(m.phase(1).koinfos[1].isBye());
    QCOMPARE(placedIds(m, 1).count(handId), 1);
    QCOMPARE(placedIds(m, 1).count(kFreilosId), 3);
}

void TestLosen::redrawSeedsAreTheGroupWinners()
{
    // A redraw of a knock-out phase 2: "Schmidt" is second of group A and no
    // seed; the winners of A and B are, and Schmidt goes to the half opposite
    // his group's winner, so do both seconds.
    const auto real = [](int id, const QString& name, int gid, int pos) {
        DrawEntry e;
        e.item = Myitem{id, 0, false, -1, name, QStringLiteral("TTC"), false};
        e.parentGID = gid;
        e.parentpos = pos;
        return e;
    };
    const QList<DrawEntry> redraw{real(5, QStringLiteral("Schmidt, Hans"), 0, 1),
                                  real(6, QStringLiteral("Meier, Udo"), 0, 0),
                                  real(7, QStringLiteral("Abel, Tom"), 1, 0),
                                  real(8, QStringLiteral("Zander, Jan"), 1, 1)};
    for (quint32 seed = 0; seed < 10; ++seed) {
        DrawModel m;
        m.setUp(1, 2, 2, settings({0, 1, -1}, {2, 0, 0}, {3, 0, 0}, {2, 0, 0}), {}, {}, entrants(6), redraw);
        QCOMPARE(m.phase(2).koinfos.size(), 4);
        SeededRandom random(seed);
        draw(m, 2, {}, random);
        const QList<DrawEntry>& bracket = m.phase(2).koinfos;
        QCOMPARE(bracket[0].item.ID, 6);
        QCOMPARE(bracket[3].item.ID, 7);
        QCOMPARE(bracket[2].item.ID, 5);
        QCOMPARE(bracket[1].item.ID, 8);
        QVERIFY(m.phase(2).participants.isEmpty());
    }
}

void TestLosen::emptyParticipantListGivesTwoByes()
{
    DrawModel m;
    m.setUp(1, 1, 1, settings({0, 1, -1}, {2, 0, 0}, {3, 0, 0}, {0, 0, 0}), {}, {}, entrants(6));
    QVERIFY(m.phase(2).participants.isEmpty());
    QCOMPARE(m.phase(2).koinfos.size(), 2);
    SeededRandom random(1);
    draw(m, 2, {}, random);
    QVERIFY(m.phase(2).koinfos[0].isBye() && m.phase(2).koinfos[1].isBye());
}

void TestLosen::sameSeedSameDraw()
{
    QList<Myitem> field;
    for (int i = 0; i < 13; ++i)
        field.append(entrant(i + 1, QStringLiteral("Verein %1").arg(i % 4)));
    const QList<Myitem> seeds{entrant(20, QStringLiteral("Verein 1"), 1), entrant(21, QStringLiteral("Verein 2"), 2)};
    for (const int system : {0, 1}) {
        for (const bool clubs : {false, true}) {
            QList<int> first;
            for (int run = 0; run < 2; ++run) {
                DrawModel m;
                m.setUp(1, 1, 1, settings({system, -1, -1}, {4, 0, 0}, {4, 0, 0}), {}, seeds, field);
                SeededRandom random(77);
                draw(m, 1, {true, clubs, true}, random);
                if (run == 0)
                    first = placedIds(m, 1);
                else
                    QCOMPARE(placedIds(m, 1), first);
            }
        }
    }
}

void TestLosen::sameSeedSameDrawOnBothBackends()
{
    // "U18 (m)" of the group tournament (namesakes "Meier, Max" among its
    // entrants), one seed; a bracket and groups, each with club separation.
    using namespace bw::test::groups;
    QList<QList<int>> draws[2];
    for (const Backend backend : {Backend::SQLite, Backend::PostgreSQL}) {
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedGroupTournament(tdb.db());
        insertRow(tdb.db(), s("Gesetzt"), {{"KID", kU18m}, {"position", 1}, {"SID", kNorden}, {"partner_SID", 0}});
        QList<QList<int>>& out = draws[backend == Backend::SQLite ? 0 : 1];
        for (const int system : {1, 0}) {
            execute(tdb.db(), s("DELETE FROM Gruppeneinstellungen"));
            QVariantMap settings{{"KID", kU18m}, {"phase1", system}, {"gruppenanzahl1", 2}, {"teilnehmer1", 3}};
            for (const char* later : {"phase", "gruppenanzahl", "teilnehmer", "besten", "bestplazierten"})
                for (const char* p : {"2", "3"})
                    settings.insert(QString::fromLatin1(later) + QLatin1String(p), QVariant());
            insertRow(tdb.db(), s("Gruppeneinstellungen"), settings);
            DrawModel m;
            m.load(tdb.db(), kU18m, 1, 1);
            QCOMPARE(m.seeds().size(), 1);
            QCOMPARE(m.registered().size(), 5);
            SeededRandom random(5);
            losen(m, 1, {true, true, false}, readSeedPositions(tdb.db(), int(m.phase(1).koinfos.size())), random);
            out.append(placedIds(m, 1));
        }
    }
    QCOMPARE(draws[1], draws[0]);
}

QTEST_GUILESS_MAIN(TestLosen)
#include "test_losen.moc"
