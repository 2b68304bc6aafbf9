// Byes on both backends, in a team class so that every case is checked on the
// match rows and on the games: the cases of a bye against an entrant, two byes,
// a bye against an undecided slot, no byes and two runs; a chain settled by one
// run whatever the order of its match numbers; a run that fails at any
// statement; the double knock-out plans of the shipped file for 3 to 130
// entrants; and a slot that another desk fills while a run is under way.
#include "matchfixture.h"

#include "data/transaction.h"
#include "draw/byes.h"
#include "draw/matchrows.h"
#include "draw/planfiles.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"

#include <QSet>
#include <QTest>

#include <functional>

using namespace bw;
using namespace bw::test;

namespace {

constexpr int kGames = 2;

TeamFormat twoGames()
{
    TeamFormat f;
    f.spieler = 2;
    f.a[0] = 1;
    f.b[0] = 1;
    f.a[1] = 2;
    f.b[1] = 2;
    return f;
}

MatchSlots slotsOf(const NewMatch& m)
{
    MatchSlots row;
    row.spielnummer = m.spielnummer;
    row.sides = {MatchSide{m.sid1, m.spieler1, m.parentGID1, m.parentpos1},
                 MatchSide{m.sid2, m.spieler2, m.parentGID2, m.parentpos2}};
    return row;
}

// The games of the matches as they must mirror them.
QList<MatchSlots> gamesOf(const QList<MatchSlots>& matches)
{
    QList<MatchSlots> games;
    for (const MatchSlots& m : matches) {
        for (int n = 1; n <= kGames; ++n) {
            MatchSlots game = m;
            game.nummer = n;
            games << game;
        }
    }
    return games;
}

QString describe(const QList<MatchSlots>& rows)
{
    QStringList lines;
    for (const MatchSlots& r : rows) {
        QStringList sides;
        for (const MatchSide& s : r.sides)
            sides << QStringLiteral("%1 \"%2\" %3/%4").arg(s.id).arg(s.text).arg(s.parentGID).arg(s.parentpos);
        lines << QStringLiteral("%1.%2: %3 -- %4 => %5/%6")
                     .arg(r.spielnummer)
                     .arg(r.nummer)
                     .arg(sides[0], sides[1])
                     .arg(r.siegerSID)
                     .arg(r.verliererSID);
    }
    return lines.join(QLatin1Char('\n'));
}

// Compares the class's match rows with `expected` and its games with their mirror.
bool holds(const QSqlDatabase& db, int kid, const QList<MatchSlots>& expected)
{
    const QList<MatchSlots> matches = readMatchSlots(db, kid);
    const QList<MatchSlots> games = readGameSlots(db, kid);
    if (matches != expected) {
        qWarning("Spielplan:\n%s\nexpected:\n%s", qPrintable(describe(matches)), qPrintable(describe(expected)));
        return false;
    }
    if (games != gamesOf(expected)) {
        qWarning("Teamspiele:\n%s", qPrintable(describe(games)));
        return false;
    }
    return true;
}

// Result entry's rule, as the other desk applies it: every slot of either table
// reading the placeholder gets the entrant.
void fillByPlaceholder(const QSqlDatabase& db, int kid, const QString& placeholder, const MatchSide& entrant)
{
    for (const auto& [table, id] : {std::pair{"Spielplan", "SID"}, std::pair{"Teamspiele", "MID"}}) {
        for (const char* side : {"1", "2"}) {
            execute(db,
                    QStringLiteral("UPDATE %1 SET %2%3=:id, spieler%3=:text WHERE KID=:kid AND spieler%3=:placeholder")
                        .arg(QLatin1String(table), QLatin1String(id), QLatin1String(side)),
                    {{"id", entrant.id}, {"text", entrant.text}, {"kid", kid}, {"placeholder", placeholder}});
        }
    }
}

struct Change {
    int spielnummer;
    int side; // 1 or 2
    MatchSide value;
};
struct Outcome {
    int spielnummer;
    int winner;
    int loser;
};

struct ByeCase {
    const char* name;
    QList<NewMatch> rows;
    QList<int> updatesPerRun; // one run each; the updates it must run
    std::function<void(const QSqlDatabase&, int)> afterFirstRun;
    QList<Change> changes; // the slots as they end, where they differ from the rows
    QList<Outcome> outcomes;
};

const MatchSide kX = entrant(11, QStringLiteral("Xaver, Xenia"), 0, 1);
const MatchSide kY = entrant(12, QStringLiteral("Yilmaz, Yusuf"), 1, 0);
const MatchSide kZ = entrant(13, QStringLiteral("Zander, Zoe"));
const MatchSide kA = entrant(21, QStringLiteral("Adler, Anton"));
const MatchSide kB = entrant(22, QStringLiteral("Brandt, Berta"));
const MatchSide kC = entrant(23, QStringLiteral("Conrad, Carla"));

QList<NewMatch> byeAgainstX()
{
    return {match(1, kX, bye()), match(2, kY, kZ), match(5, winnerOf(1), winnerOf(2)), match(6, loserOf(1), loserOf(2))};
}

// Updates per run count the match rows and their two games each.
QList<ByeCase> byeCases()
{
    const MatchSide freilos = bye();
    return {
        {"bye against an entrant",
         byeAgainstX(),
         {4 * 3},
         {},
         // The slot of the loser now holds a bye, so match 6 is settled as well.
         {{5, 1, kX}, {6, 1, freilos}},
         {{1, 11, Freilos}, {6, leererPlatz, Freilos}}},
        {"two byes",
         {match(1, bye(2, 3), bye(4, 5)), match(5, winnerOf(1), loserOf(1)), match(6, loserOf(1), winnerOf(1))},
         {7 * 3},
         {},
         {{5, 1, bye(2, 3)}, {5, 2, bye(2, 3)}, {6, 1, bye(4, 5)}, {6, 2, bye(4, 5)}},
         {{1, Freilos, Freilos}, {5, Freilos, Freilos}, {6, Freilos, Freilos}}},
        {"bye against an undecided slot",
         {match(3, kA, kB), match(7, bye(), winnerOf(3)), match(9, winnerOf(7), kC)},
         {2 * 3, 1 * 3},
         [](const QSqlDatabase& db, int kid) { fillByPlaceholder(db, kid, winnerPlaceholder(3), kA); },
         {{7, 2, kA}, {9, 1, kA}},
         {{7, 21, Freilos}}},
        {"no byes", {match(1, kX, kY), match(2, winnerOf(1), kZ)}, {0}, {}, {}, {}},
        {"two runs", byeAgainstX(), {4 * 3, 0}, {}, {{5, 1, kX}, {6, 1, freilos}}, {{1, 11, Freilos}, {6, leererPlatz, Freilos}}},
    };
}

QList<MatchSlots> expectedRows(const QList<NewMatch>& rows, const QList<Change>& changes, const QList<Outcome>& outcomes)
{
    QList<MatchSlots> expected;
    for (const NewMatch& m : rows)
        expected << slotsOf(m);
    auto row = [&](int spielnummer) -> MatchSlots& {
        for (MatchSlots& r : expected) {
            if (r.spielnummer == spielnummer)
                return r;
        }
        qFatal("no match %d", spielnummer);
    };
    for (const Change& c : changes) {
        MatchSide value = c.value;
        row(c.spielnummer).sides[size_t(c.side - 1)] = value;
    }
    for (const Outcome& o : outcomes) {
        row(o.spielnummer).siegerSID = o.winner;
        row(o.spielnummer).verliererSID = o.loser;
    }
    return expected;
}

// A chain: two byes meet (1); their winner makes a bye match of 2, whose loser
// makes one of 3 through a loser's slot; 3 and 2 send their winners to 4, and
// the loser of 1 makes 5 a bye match that passes an undecided slot on to 6.
// `number` renames the matches, so the chain can run against the match order.
QList<NewMatch> chain(const std::function<int(int)>& number)
{
    auto w = [&](int n) { return winnerOf(number(n)); };
    auto l = [&](int n) { return loserOf(number(n)); };
    return {match(number(1), bye(0, 0), bye(1, 0)), match(number(2), w(1), kX), match(number(3), l(2), kY),
            match(number(4), w(3), w(2)),          match(number(5), l(4), l(1)), match(number(6), w(5), kZ)};
}

QList<MatchSlots> chainSettled(const std::function<int(int)>& number)
{
    const QList<Change> changes{{number(2), 1, bye(0, 0)}, {number(3), 1, bye(0, 0)}, {number(4), 1, kY},
                                {number(4), 2, kX},         {number(5), 2, bye(0, 0)}, {number(6), 1, loserOf(number(4))}};
    const QList<Outcome> outcomes{{number(1), Freilos, Freilos},
                                  {number(2), 11, Freilos},
                                  {number(3), 12, Freilos},
                                  {number(5), leererPlatz, Freilos}};
    QList<MatchSlots> expected = expectedRows(chain(number), changes, outcomes);
    std::sort(expected.begin(), expected.end(),
              [](const MatchSlots& a, const MatchSlots& b) { return a.spielnummer < b.spielnummer; });
    return expected;
}

std::function<int(int)> chainOrder(bool descending)
{
    if (descending)
        return [](int n) { return 20 - 2 * n; };
    return [](int n) { return n; };
}

void writeRows(const QSqlDatabase& db, int kid, const QList<NewMatch>& rows)
{
    MatchRowWriter writer(db, kTid, kid, ClassKind::Team, twoGames());
    Transaction transaction(db);
    for (const NewMatch& m : rows)
        writer.spielplanfuellen(m);
    transaction.commit();
}

} // namespace

class TestByes : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_tdb;
    int m_kid = 0;
    QSqlDatabase db() const { return m_tdb->db(); }
    bool open(Backend backend)
    {
        m_tdb = std::make_unique<TestDatabase>(backend);
        if (!m_tdb->ready())
            return false;
        m_kid = makeClass(db(), ClassKind::Team, twoGames());
        return true;
    }

private slots:
    void cleanup() { m_tdb.reset(); }

    void cases_data()
    {
        addBackendColumn();
        QTest::addColumn<int>("index");
        const QList<ByeCase> cases = byeCases();
        for (int i = 0; i < cases.size(); ++i) {
            QTest::addRow("%s, sqlite", cases[i].name) << Backend::SQLite << i;
            QTest::addRow("%s, postgresql", cases[i].name) << Backend::PostgreSQL << i;
        }
    }
    void cases()
    {
        QFETCH(Backend, backend);
        QFETCH(int, index);
        if (!open(backend))
            return;
        const ByeCase c = byeCases().at(index);
        writeRows(db(), m_kid, c.rows);
        for (int run = 0; run < c.updatesPerRun.size(); ++run) {
            if (run == 1 && c.afterFirstRun)
                c.afterFirstRun(db(), m_kid);
            QCOMPARE(freilosebearbeiten(db(), m_kid), c.updatesPerRun[run]);
        }
        QVERIFY(holds(db(), m_kid, expectedRows(c.rows, c.changes, c.outcomes)));
        const QStringList settled = dumpTables(db());
        QCOMPARE(freilosebearbeiten(db(), m_kid), 0);
        QCOMPARE(dumpTables(db()), settled);
    }

    void chainInOneRun_data()
    {
        addBackendColumn();
        QTest::addColumn<bool>("descending");
        for (const bool descending : {false, true}) {
            const char* order = descending ? "against the match order" : "in match order";
            QTest::addRow("%s, sqlite", order) << Backend::SQLite << descending;
            QTest::addRow("%s, postgresql", order) << Backend::PostgreSQL << descending;
        }
    }
    void chainInOneRun()
    {
        QFETCH(Backend, backend);
        QFETCH(bool, descending);
        if (!open(backend))
            return;
        writeRows(db(), m_kid, chain(chainOrder(descending)));
        QCOMPARE(freilosebearbeiten(db(), m_kid), 10 * 3);
        QVERIFY(holds(db(), m_kid, chainSettled(chainOrder(descending))));
        QCOMPARE(freilosebearbeiten(db(), m_kid), 0);
    }

    void runFailingAnywhereChangesNothing_data() { addBackendColumn(); addBackendRows(); }
    void runFailingAnywhereChangesNothing()
    {
        QFETCH(Backend, backend);
        if (!open(backend))
            return;
        writeRows(db(), m_kid, chain(chainOrder(false)));
        int runs = 0;
        const QString failure = checkAtomic(db(), [&] { freilosebearbeiten(db(), m_kid); }, {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // The reads, the class's lock on PostgreSQL and the 30 updates.
        QCOMPARE(runs, (backend == Backend::PostgreSQL ? 3 : 2) + 30 + 1);
        QVERIFY(holds(db(), m_kid, chainSettled(chainOrder(false))));
    }

    // Every double knock-out plan of the shipped file, its byes in the second
    // slots of the first first-round matches: one run leaves no slot waiting
    // for a bye match, gives every entrant who meets a bye the slots that wait
    // for his win and a bye those that wait for his loss, and a second run
    // changes nothing.
    void doubleKnockOutPlans_data() { addBackendColumn(); addBackendRows(); }
    void doubleKnockOutPlans()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const QString file = TempProgramFolder::sourceDir() + QStringLiteral("/resources/Files/ko_system.txt");
        Transaction sweep(db); // one commit for all classes keeps the test fast
        for (int entrants = 3; entrants <= 130; ++entrants) {
            int size = 4;
            while (size < entrants)
                size *= 2;
            const DoubleKoPlan plan = readDoubleKoPlan(file, size);
            QVERIFY(plan.found());
            const int kid = entrants;
            QList<MatchSide> bracket;
            for (int m = 0; m < size / 2; ++m) {
                bracket << entrant(1000 + 2 * m, QStringLiteral("Spieler %1").arg(2 * m));
                bracket << (m < size - entrants ? bye() : entrant(1001 + 2 * m, QStringLiteral("Spieler %1").arg(2 * m + 1)));
            }
            QHash<int, QList<std::pair<int, int>>> winnerSlots; // match -> (match, side) waiting for its winner
            QHash<int, QList<std::pair<int, int>>> loserSlots;
            {
                MatchRowWriter writer(db, kTid, kid, ClassKind::Einzel, std::nullopt);
                Transaction transaction(db);
                for (const DoubleKoLine& line : plan.lines) {
                    if (line.isLabel())
                        continue;
                    NewMatch m;
                    if (line.isFirstRound()) {
                        m = match(line.f0, bracket[2 * line.f0 - 2], bracket[2 * line.f0 - 1]);
                    } else {
                        m = match(line.f0, line.slot1IsWinner() ? winnerOf(line.f1) : loserOf(line.f1),
                                  line.slot2IsWinner() ? winnerOf(line.f2) : loserOf(line.f2));
                        m.parentspiel1 = line.f1;
                        m.parentspiel2 = line.f2;
                        m.parentsieger1 = line.slot1IsWinner();
                        m.parentsieger2 = line.slot2IsWinner();
                        (line.slot1IsWinner() ? winnerSlots : loserSlots)[line.f1] << std::pair{line.f0, 0};
                        (line.slot2IsWinner() ? winnerSlots : loserSlots)[line.f2] << std::pair{line.f0, 1};
                    }
                    writer.spielplanfuellen(m);
                }
                transaction.commit();
            }

            QCOMPARE(freilosebearbeiten(db, kid) > 0, entrants < size);
            const QList<MatchSlots> rows = readMatchSlots(db, kid);
            QHash<int, MatchSlots> byNumber;
            QSet<QString> byePlaceholders;
            for (const MatchSlots& r : rows) {
                byNumber.insert(r.spielnummer, r);
                if (byeMode(r) != 0)
                    byePlaceholders << winnerPlaceholder(r.spielnummer) << loserPlaceholder(r.spielnummer);
            }
            for (const MatchSlots& r : rows) {
                for (const MatchSide& side : r.sides)
                    QVERIFY2(!byePlaceholders.contains(side.text),
                             qPrintable(QStringLiteral("%1 entrants, match %2 waits for a bye match: %3")
                                            .arg(entrants)
                                            .arg(r.spielnummer)
                                            .arg(side.text)));
            }
            for (int m = 1; m <= size - entrants; ++m) {
                for (const auto& [target, side] : winnerSlots.value(m))
                    QCOMPARE(byNumber.value(target).sides[size_t(side)], bracket[2 * m - 2]);
                for (const auto& [target, side] : loserSlots.value(m))
                    QCOMPARE(byNumber.value(target).sides[size_t(side)].id, Freilos);
            }
            QCOMPARE(freilosebearbeiten(db, kid), 0);
        }
    }

    // Another desk writes the winner into a slot that a run would pass an
    // undecided slot into, after the run read the rows and before it writes:
    // the slot keeps the winner, and reading again carries the winner on.
    void slotFilledAtAnotherDesk()
    {
        if (!open(Backend::PostgreSQL))
            return;
        writeRows(db(), m_kid,
                  {match(3, kA, kB), match(7, bye(), winnerOf(3)), match(9, winnerOf(7), bye()),
                   match(10, winnerOf(9), kC)});
        const QSqlDatabase other = m_tdb->open();
        const MatchSide winner = entrant(44, QStringLiteral("Wolf, Wanda"));
        {
            MatchSlotWriter writer(db(), m_kid);
            Transaction transaction(db());
            ByeRun run(db(), m_kid);
            run.settle();
            QCOMPARE(run.matches()[2].sides[0], winnerOf(3)); // what the run would write into match 9
            execute(other,
                    QStringLiteral("UPDATE Spielplan SET SID1=:id, spieler1=:text WHERE KID=:kid AND spielnummer=9 "
                                   "AND spieler1=:placeholder"),
                    {{"id", winner.id}, {"text", winner.text}, {"kid", m_kid}, {"placeholder", winnerPlaceholder(7)}});
            QVERIFY(!run.write(writer));
            freilosebearbeiten(db(), m_kid);
            transaction.commit();
        }
        const QList<MatchSlots> rows = readMatchSlots(db(), m_kid);
        QCOMPARE(rows[2].sides[0], winner);
        QCOMPARE(rows[3].sides[0], winner);
        QCOMPARE(std::pair(rows[1].siegerSID, rows[1].verliererSID), std::pair(leererPlatz, Freilos));
        QCOMPARE(std::pair(rows[2].siegerSID, rows[2].verliererSID), std::pair(winner.id, Freilos));
    }
};

QTEST_GUILESS_MAIN(TestByes)
#include "test_byes.moc"
