// The end of a group and of a phase on both backends: the best-placed list
// sent on into the next phase (ties asked, a rank without a candidate a settled
// bye), the information boxes after the last matches, every write of a
// recording undone by a failing statement, and two desks recording matches of
// one group at once.
#include "standingsfixture.h"

#include "data/faultinjection.h"
#include "platform/clock.h"
#include "results/resultengine.h"
#include "results/standingsstep.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QMap>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

using namespace bw;
using namespace bw::test;

namespace {

// Three groups of four (A F G L, B E H K, C D I J by the snake draw) whose two
// best go on with `bestplazierten` of the thirds into a knock-out.
int threeGroups(const QSqlDatabase& db, int bestplazierten, const std::function<void(FinishedDraw&)>& change = {})
{
    return drawnClassWith(db, QStringLiteral("Drei Gruppen"), {groupPhase(3, 4, 2, bestplazierten), knockOut()}, 12,
                          [&](FinishedDraw& draw) {
                              if (change)
                                  change(draw);
                          });
}

// Every match of the group, each entrant beating those drawn after him; the
// third's one win (over the fourth) with the sets given.
QList<Win> groupPlayedOut(const QString& group, const QList<int>& thirdsWin = {5, 5, 5})
{
    QList<Win> list;
    for (int i = 0; i < group.size(); ++i) {
        for (int j = i + 1; j < group.size(); ++j)
            list.append({group[i], group[j], i == 2 ? thirdsWin : QList<int>{5, 5, 5}});
    }
    return list;
}

// Side `side` of the phase-2 slot fed by rank `rank` of the best-placed list.
QString bestPlacedSlot(const QSqlDatabase& db, int kid, int rank)
{
    QStringList found;
    for (const int side : {1, 2}) {
        const QString n = QString::number(side);
        QSqlQuery q = execute(db,
                              s("SELECT SID") + n + s(",spieler") + n +
                                  s(" FROM Spielplan WHERE KID=:k AND phase=2 AND parentGID") + n +
                                  s("=-3 AND parentpos") + n + s("=:p"),
                              {{s("k"), kid}, {s("p"), rank}});
        while (q.next())
            found << QStringLiteral("%1 %2").arg(q.value(0).toInt()).arg(q.value(1).toString());
    }
    return found.join(u'|');
}

// The plan panel as the result engine sees it: pools in memory, redraws counted.
class PlanStandIn : public ResultPlanLink {
public:
    QMap<QString, QStringList> pools;
    int redraws = 0;
    bool hasPool(const QString& name) const override { return pools.contains(name); }
    QStringList poolNames() const override { return pools.keys(); }
    QStringList poolTexts(const QString& name) const override { return pools.value(name); }
    void addToPool(const QString& name, const QString& text, int) override
    {
        if (pools.contains(name) && !pools[name].contains(text))
            pools[name] << text;
    }
    void relabelSlots(int, const QString&, const QString&, int) override {}
    void rebuildStates(int) override {}
    void redraw(int) override { ++redraws; }
    void offerNextMatches(int, int) override {}
};

// Answers with the order of the letters, and fails when it is asked while a
// transaction holds the database.
class OutsideTransaction : public ScriptedTies {
public:
    OutsideTransaction(const QSqlDatabase& db, const QString& order) : ScriptedTies(order), m_db(db) {}
    QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) override
    {
        if (Transaction::active(m_db))
            qWarning("asked inside a transaction");
        insideTransaction |= Transaction::active(m_db);
        return ScriptedTies::resolveTies(ranked);
    }
    bool insideTransaction = false;

private:
    QSqlDatabase m_db;
};

QString entrantText(QChar letter)
{
    return QStringLiteral("%1 Spieler %2").arg(keyOf(letter)).arg(keyOf(letter) - 100, 3, 10, QLatin1Char('0'));
}

} // namespace

class TestGroupEnd : public QObject {
    Q_OBJECT
private slots:
    // The thirds G, H and I: 3 groups, besten 2, bestplazierten 2 fill the
    // ranks 0 and 1 of phase 2 with the two best of them (0: nothing goes on
    // and nobody is asked); two equal ones are asked with both red.
    void bestPlaced_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<int>("bestplazierten");
        QTest::addColumn<QList<int>>("gWins"); // the sets of the thirds' wins
        QTest::addColumn<QList<int>>("hWins");
        QTest::addColumn<QString>("answer");   // the order the user gives
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("sentOn");   // ranks 0 and 1
        for (const auto& [name, backend] :
             {std::pair("sqlite", Backend::SQLite), std::pair("postgresql", Backend::PostgreSQL)}) {
            const auto row = [&](const char* fixture) -> QTestData& {
                return QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(name), QLatin1String(fixture))));
            };
            row("two best") << backend << 2 << QList<int>{5, 5, 5} << QList<int>{5, -5, 5, 5} << QString()
                            << QString() << "GH";
            row("none go on") << backend << 0 << QList<int>{5, 5, 5} << QList<int>{5, -5, 5, 5} << QString()
                              << QString() << "";
            row("two equal") << backend << 2 << QList<int>{5, 5, 5} << QList<int>{5, 5, 5} << "HGI" << "ghI"
                             << "HG";
        }
    }
    void bestPlaced()
    {
        QFETCH(Backend, backend);
        QFETCH(int, bestplazierten);
        QFETCH(QList<int>, gWins);
        QFETCH(QList<int>, hWins);
        QFETCH(QString, answer);
        QFETCH(QString, asked);
        QFETCH(QString, sentOn);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        fastCommits(db);
        const int kid = threeGroups(db, bestplazierten);
        ScriptedTies resolver(answer);
        QList<Win> all = groupPlayedOut(QStringLiteral("AFGL"), gWins) + groupPlayedOut(QStringLiteral("BEHK"), hWins) +
                         groupPlayedOut(QStringLiteral("CDIJ"), {5, -5, 5, -5, 5});
        StandingsOutcome outcome;
        for (const Win& win : all)
            outcome = recordWin(db, kid, win, resolver);
        QVERIFY(outcome.groupEnded);
        QVERIFY(outcome.phaseEnded);
        QStringList askedLists;
        for (const QList<tabellenitem>& list : resolver.asked)
            askedLists << letters(list);
        QCOMPARE(askedLists.join(u' '), asked);
        for (int rank = 0; rank < 2; ++rank) {
            const QString slot = bestPlacedSlot(db, kid, rank);
            if (rank < sentOn.size())
                QCOMPARE(slot, entrantText(sentOn[rank]));
            else
                QVERIFY2(slot.isEmpty(), qPrintable(slot));
        }
        QCOMPARE(inconsistency(db, kid), QString());
    }

    // Groups B and C without a third: rank 1 of the best-placed list has no
    // candidate, so its knock-out slot gets a bye that is settled at once and
    // its opponent (F, second of group A) stands in the next round.
    void bestPlacedWithoutCandidate_data() { addBackendColumn(); addBackendRows(); }
    void bestPlacedWithoutCandidate()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        fastCommits(db);
        const int kid = threeGroups(db, 2, [](FinishedDraw& draw) {
            for (const int g : {1, 2})
                for (const int pos : {2, 3})
                    draw.phases[0]->groups[g][pos] = DrawnEntry();
        });
        NoTies resolver;
        for (const Win& win : groupPlayedOut(QStringLiteral("AFGL")) + groupPlayedOut(QStringLiteral("BE")) +
                                  groupPlayedOut(QStringLiteral("CD")))
            recordWin(db, kid, win, resolver);
        QVERIFY(!resolver.asked);
        QCOMPARE(bestPlacedSlot(db, kid, 0), entrantText(u'G'));
        QCOMPARE(bestPlacedSlot(db, kid, 1), QStringLiteral("%1 Freilos").arg(Freilos));
        // The bye's match is settled: F won it and waits in the next round.
        QSqlQuery q = execute(db,
                              s("SELECT siegerSID,verliererSID,spielnummer FROM Spielplan WHERE KID=:k AND phase=2 "
                                "AND parentGID2=-3 AND parentpos2=1"),
                              {{s("k"), kid}});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), keyOf(u'F'));
        QCOMPARE(q.value(1).toInt(), Freilos);
        const int bye = q.value(2).toInt();
        QCOMPARE(scalar(db, s("SELECT count(*) FROM Spielplan WHERE KID=:k AND (SID1=:f AND spieler1=:t "
                              "OR SID2=:f AND spieler2=:t) AND (parentspiel1=:n OR parentspiel2=:n)"),
                        {{s("k"), kid}, {s("f"), keyOf(u'F')}, {s("t"), QStringLiteral("Spieler 005")}, {s("n"), bye}})
                     .toInt(),
                 1);
        QCOMPARE(inconsistency(db, kid), QString());
    }

    // The boxes after the commit: the last match of a group, then the last of
    // the phase ("Gruppe beendet", then "Phase beendet").
    void boxes_data() { addBackendColumn(); addBackendRows(); }
    void boxes()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = drawnClass(db, QStringLiteral("Zwei Gruppen"), {groupPhase(2, 3, 1), knockOut()}, 6);
        // Groups A D E and B C F.
        NoTies resolver;
        FakePrompter prompter;
        const auto record = [&](const Win& win) { announceStandings(prompter, recordWin(db, kid, win, resolver)); };
        record({u'A', u'D'});
        record({u'A', u'E'});
        QVERIFY(prompter.verify());
        prompter.expect(PromptKind::Information, kGruppeBeendet);
        record({u'D', u'E'});
        QVERIFY(prompter.verify());
        record({u'B', u'C'});
        record({u'B', u'F'});
        prompter.expect(PromptKind::Information, kGruppeBeendet).expect(PromptKind::Information, kPhaseBeendet);
        record({u'C', u'F'});
        QVERIFY(prompter.verify());
        QCOMPARE(inconsistency(db, kid), QString());
    }

    // Through the result engine: the 3-cycle's last result asks the dialog
    // before the transaction, stores the order chosen, sends the winner on,
    // fills the player pools, draws the class anew and shows the boxes after
    // the commit.
    void throughTheEngine_data() { addBackendColumn(); addBackendRows(); }
    void throughTheEngine()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = drawnClass(db, QStringLiteral("Zyklus"), {groupPhase(1, 3, 1), knockOut()}, 3);
        // A knock-out of one: the group's winner waits in its first slot.
        FixedClock clock(QDateTime(QDate(2026, 5, 2), QTime(10, 0)));
        PlanStandIn plan;
        plan.pools.insert(QStringLiteral("sliste0"), {});
        plan.pools.insert(QStringLiteral("allespieler"), {});
        OutsideTransaction resolver(db, QStringLiteral("BCA"));
        FakePrompter prompter;
        ResultEngine engine(db, kPlanTid, clock, plan);
        StandingsStep standings(resolver, prompter, plan);
        standings.attach(engine);
        const auto record = [&](QChar winner, QChar loser) {
            const GroupMatch m = *matchBetween(db, kid, keyOf(winner), keyOf(loser));
            execute(db, s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=:n"),
                    {{s("k"), kid}, {s("n"), m.spielnummer}});
            ResultEntry entry;
            entry.kid = kid;
            entry.spielnummer = m.spielnummer;
            entry.gruppe = m.gruppe;
            const bool first = m.sid1 == keyOf(winner);
            entry.ergebnis = first ? QStringLiteral("3:0") : QStringLiteral("0:3");
            for (int i = 0; i < 3; ++i)
                entry.saetze[size_t(i)] = first ? QStringLiteral("+5") : QStringLiteral("-5");
            QCOMPARE(engine.recordResult(entry), RecordOutcome::Recorded);
        };
        record(u'A', u'B');
        record(u'B', u'C');
        QVERIFY(resolver.asked.isEmpty());
        QCOMPARE(plan.redraws, 2);
        prompter.expect(PromptKind::Information, kGruppeBeendet).expect(PromptKind::Information, kPhaseBeendet);
        record(u'C', u'A');
        QVERIFY(prompter.verify());
        QCOMPARE(resolver.asked.size(), 1);
        QCOMPARE(letters(resolver.asked[0]).size(), 3);
        QVERIFY(!resolver.insideTransaction);
        QCOMPARE(storedOrder(db, kid, 0), QStringLiteral("BCA"));
        QStringList pool = plan.pools.value(QStringLiteral("sliste0"));
        pool.sort();
        QCOMPARE(pool, (QStringList{QString::number(keyOf(u'A')), QString::number(keyOf(u'B')),
                                    QString::number(keyOf(u'C'))}));
        QCOMPARE(plan.redraws, 3);
        QCOMPARE(scalar(db, s("SELECT count(*) FROM Spielplan WHERE KID=:k AND phase=2 AND (SID1=:b OR SID2=:b)"),
                        {{s("k"), kid}, {s("b"), keyOf(u'B')}})
                     .toInt(),
                 1);
        QCOMPARE(inconsistency(db, kid), QString());
    }

    // Statement N of a recording failing, for every N: nothing of it stays.
    // A match of an open group, the last match of a group, and the last match
    // of the phase with a tie among the best-placed that the user ordered.
    void atomic_data() { addBackendColumn(); addBackendRows(); }
    void atomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        fastCommits(db);
        const int kid = threeGroups(db, 2);
        NoTies none;
        QList<Win> all = groupPlayedOut(QStringLiteral("AFGL")) + groupPlayedOut(QStringLiteral("BEHK")) +
                         groupPlayedOut(QStringLiteral("CDIJ"), {5, -5, 5, -5, 5});
        const Win lastOfPhase = all.takeLast();  // I-J
        const Win lastOfGroup = all.takeAt(1);   // A-G, after A-F
        const Win inOpenGroup = all.takeAt(0);   // A-F while A-G is open
        for (const Win& win : all)
            recordWin(db, kid, win, none);
        ScriptedTies resolver(QStringLiteral("HGI"));
        const QList<Win> cases{inOpenGroup, lastOfGroup, lastOfPhase};
        for (int c = 0; c < cases.size(); ++c) {
            const Win& win = cases[c];
            const GroupMatch m = recorded(*matchBetween(db, kid, keyOf(win.winner), keyOf(win.loser)),
                                          keyOf(win.winner), keyOf(win.loser), win.sets);
            const StandingsDecision decision = decideStandings(db, kid, m, resolver);
            StandingsOutcome outcome;
            int runs = 0;
            const QString failure = checkAtomic(
                db,
                [&] {
                    outcome = inTransaction(db, [&] {
                        storeResult(db, kid, m);
                        return writeStandings(db, kid, m.spielnummer, decision);
                    });
                },
                {}, {}, &runs);
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            QVERIFY(runs > 3);
            QCOMPARE(outcome.groupEnded, c > 0);
            QCOMPARE(outcome.phaseEnded, c == 2);
            QCOMPARE(inconsistency(db, kid), QString());
        }
        QCOMPARE(resolver.asked.size(), 1);
        QCOMPARE(letters(resolver.asked[0]), QStringLiteral("ghI"));
        QCOMPARE(bestPlacedSlot(db, kid, 0), entrantText(u'H'));
    }

    // The tie the user ordered is not the one the transaction finds (another
    // desk recorded a result of the phase meanwhile): nothing is written.
    void changedMeanwhile_data() { addBackendColumn(); addBackendRows(); }
    void changedMeanwhile()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = drawnClass(db, QStringLiteral("Gruppe"), {groupPhase(1, 3)}, 3);
        ScriptedTies resolver;
        recordWin(db, kid, {u'A', u'B'}, resolver);
        recordWin(db, kid, {u'B', u'C'}, resolver);
        const GroupMatch last = recorded(*matchBetween(db, kid, keyOf(u'C'), keyOf(u'A')), keyOf(u'C'), keyOf(u'A'),
                                         {5, 5, 5});
        const StandingsDecision decision = decideStandings(db, kid, last, resolver);
        QCOMPARE(resolver.asked.size(), 1);
        // Meanwhile the other desk corrects A-B to 3:1.
        const GroupMatch corrected = recorded(*matchBetween(db, kid, keyOf(u'A'), keyOf(u'B')), keyOf(u'A'),
                                              keyOf(u'B'), {5, -5, 5, 5});
        storeResult(db, kid, corrected);
        const QStringList before = dumpTables(db);
        try {
            inTransaction(db, [&] {
                storeResult(db, kid, last);
                writeStandings(db, kid, last.spielnummer, decision);
            });
            QFAIL("the recording went through");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), kStandingsChanged);
        }
        QCOMPARE(dumpTables(db), before);
    }

    // Two desks record two different matches of one group at the same moment:
    // the second waits for the first and both results reach the counters.
    void twoDesks()
    {
        TestDatabase tdb(Backend::PostgreSQL);
        if (!tdb.ready())
            return;
        const QSqlDatabase first = tdb.db();
        const int kid = drawnClass(first, QStringLiteral("Gruppe"), {groupPhase(1, 4)}, 4);
        NoTies none;
        const GroupMatch ab = recorded(*matchBetween(first, kid, keyOf(u'A'), keyOf(u'B')), keyOf(u'A'), keyOf(u'B'),
                                       {5, 5, 5});
        const GroupMatch cd = recorded(*matchBetween(first, kid, keyOf(u'C'), keyOf(u'D')), keyOf(u'D'), keyOf(u'C'),
                                       {5, -7, 5, 9});
        const StandingsDecision abDecision = decideStandings(first, kid, ab, none);
        const StandingsDecision cdDecision = decideStandings(first, kid, cd, none);
        const QString connectionName = tdb.open().connectionName();
        QString secondFailure;
        {
            Transaction transaction(first);
            storeResult(first, kid, ab);
            writeStandings(first, kid, ab.spielnummer, abDecision);
            std::unique_ptr<QThread> desk(QThread::create([&] {
                try {
                    QSqlDatabase second = QSqlDatabase::cloneDatabase(connectionName, QStringLiteral("desk2"));
                    if (!second.open())
                        throw AppError(second.lastError().text());
                    inTransaction(second, [&] {
                        storeResult(second, kid, cd);
                        writeStandings(second, kid, cd.spielnummer, cdDecision);
                    });
                    second.close();
                } catch (const std::exception& e) {
                    secondFailure = QString::fromUtf8(e.what());
                }
            }));
            desk->start();
            // The second desk waits for the class's lock.
            const QSqlDatabase observer = tdb.open();
            QTRY_VERIFY(scalar(observer, s("SELECT count(*) FROM pg_stat_activity WHERE wait_event_type='Lock'"))
                            .toInt() > 0);
            transaction.commit();
            desk->wait();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("desk2"));
        QCOMPARE(secondFailure, QString());
        QCOMPARE(inconsistency(first, kid), QString());
        QCOMPARE(scalar(first, s("SELECT sum(spielanzahl) FROM Tabellen WHERE KID=:k"), {{s("k"), kid}}).toInt(), 4);
    }

    // A process recording results on an SQLite file killed at any moment, 20
    // times: the class is consistent after every kill, and the file sound.
    void killedWhileRecording()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        const QSqlDatabase db = tdb.db();
        const int kid = drawnClass(db, QStringLiteral("Acht Gruppen"), {groupPhase(8, 4, 2, 0), knockOut()}, 32);
        int recorded = 0;
        for (int kill = 0; kill < 20; ++kill) {
            QProcess child;
            child.start(QStringLiteral(STANDINGS_RECORDER), {tdb.sqlitePath(), QString::number(kid)});
            QVERIFY(child.waitForStarted());
            // Killed after its first commit of this run (or, every third run, at once).
            if (kill % 3 != 0) {
                QVERIFY2(child.waitForReadyRead(20000) || child.state() == QProcess::NotRunning,
                         child.readAllStandardError().constData());
                recorded += int(child.readAllStandardOutput().count('\n'));
            }
            child.kill();
            child.waitForFinished();
            recorded += int(child.readAllStandardOutput().count('\n'));
            QCOMPARE(child.readAllStandardError(), QByteArray());
            QCOMPARE(inconsistency(db, kid), QString());
            QCOMPARE(scalar(db, s("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        }
        // A kill between a commit and its line loses only the line.
        const int finished =
            scalar(db, s("SELECT count(*) FROM Spielplan WHERE KID=:k AND beendet=1"), {{s("k"), kid}}).toInt();
        QVERIFY(recorded >= 13);
        QVERIFY2(finished >= recorded && finished <= recorded + 20, qPrintable(QString::number(finished)));
    }
};

QTEST_GUILESS_MAIN(TestGroupEnd)
#include "test_groupend.moc"
