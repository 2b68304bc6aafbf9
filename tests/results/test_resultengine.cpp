// Recording results without widgets, on both backends: the stored match row,
// winner and loser sent on by exact slot text (next round, double knock-out
// loser slot, placement match), a bye the result creates settled in the same
// transaction, the resources back to the pools after the commit, the loser as
// umpire, the group step, entries refused before anything is written (sets
// that disagree with the result as a table of cases), every statement failing
// in turn, and two desks recording one match.
#include "../draw/matchfixture.h"
#include "fakeresultplan.h"

#include "data/dbvalue.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/apperror.h"
#include "platform/clock.h"
#include "results/resultengine.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QMap>
#include <QTest>

#include <functional>

using namespace bw;
using namespace bw::test;

namespace {

const MatchSide kA = entrant(11, QStringLiteral("Adler, Anton"));
const MatchSide kB = entrant(12, QStringLiteral("Brandt, Berta"));
const MatchSide kC = entrant(13, QStringLiteral("Conrad, Carla"));
const MatchSide kD = entrant(14, QStringLiteral("Dietz, Dora"));

void addPlayer(const QSqlDatabase& db, const MatchSide& p)
{
    const QStringList names = p.text.split(QStringLiteral(", "));
    insertRow(db, QStringLiteral("Spielerdaten"),
              {{"TID", kTid}, {"SID", p.id}, {"nachname", names[0]}, {"vorname", names[1]}, {"verein", "TTC Nord"},
               {"geb", QVariant()}, {"land", "DE"}, {"spklasse", "A"}});
}

void setRunning(const QSqlDatabase& db, int kid, int spielnummer, const QString& platte, const QString& schiri,
                bool manuell = false)
{
    execute(db,
            QStringLiteral("UPDATE Spielplan SET begonnen=1, an_platte=:p, schiri=:s, manuell=:m "
                           "WHERE KID=:kid AND spielnummer=:n"),
            {{"p", platte}, {"s", schiri}, {"m", manuell}, {"kid", kid}, {"n", spielnummer}});
}

ResultEntry entryOf(int kid, int spielnummer, const QString& ergebnis, const QStringList& saetze, int gruppe = -1)
{
    ResultEntry e;
    e.kid = kid;
    e.spielnummer = spielnummer;
    e.gruppe = gruppe;
    e.ergebnis = ergebnis;
    for (int i = 0; i < saetze.size(); ++i)
        e.saetze[size_t(i)] = saetze[i];
    return e;
}

QVariantMap matchRow(const QSqlDatabase& db, int kid, int spielnummer)
{
    const QList<QVariantMap> rows = rowsByColumn(
        execute(db, QStringLiteral("SELECT * FROM Spielplan WHERE KID=:kid AND spielnummer=:n"),
                {{"kid", kid}, {"n", spielnummer}}));
    return rows.value(0);
}

MatchSide sideOf(const QSqlDatabase& db, int kid, int spielnummer, int side)
{
    for (const MatchSlots& m : readMatchSlots(db, kid)) {
        if (m.spielnummer == spielnummer)
            return m.sides[size_t(side - 1)];
    }
    return {};
}

int count(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {})
{
    return scalar(db, sql, params).toInt();
}

void backends()
{
    addBackendColumn();
    addBackendRows();
}

} // namespace

class TestResultEngine : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_tdb;
    int m_kid = 0;
    FixedClock m_clock{QDateTime(QDate(2026, 5, 2), QTime(14, 30, 15))};

    QSqlDatabase db() const { return m_tdb->db(); }

    // A knock-out class on page 1: matches 1 (A-B) and 12 (C-D) running; 5 waits for
    // the winner of 1 against a bye, 6 for the loser of 1 and the winner of 12,
    // 7 for the winner of 5 and the loser of 12, and the placement match 8
    // (phase 4) for the winners of 1 and 12.
    bool makeFixture()
    {
        QFETCH(Backend, backend);
        m_tdb = std::make_unique<TestDatabase>(backend);
        if (!m_tdb->ready())
            return false;
        m_kid = makeClass(db(), ClassKind::Einzel);
        for (const MatchSide& p : {kA, kB, kC, kD})
            addPlayer(db(), p);
        MatchInserter inserter(db(), kTid, m_kid);
        const auto add = [&](NewMatch m, int phase) {
            m.phase = phase;
            inserter.insertMatch(m);
        };
        add(match(1, kA, kB), 1);
        add(match(12, kC, kD), 1);
        add(match(5, winnerOf(1), bye()), 1);
        add(match(6, loserOf(1), winnerOf(12)), 1);
        add(match(7, winnerOf(5), loserOf(12)), 1);
        add(match(8, winnerOf(1), winnerOf(12)), 4);
        setRunning(db(), m_kid, 1, QStringLiteral("Tisch 1"), QStringLiteral("Richter, Rita"));
        setRunning(db(), m_kid, 12, QStringLiteral("Tisch 2"), QString());
        return true;
    }

    FakePlan planWithPools() const
    {
        FakePlan plan;
        plan.pools[QStringLiteral("allespieler")] = {};
        plan.pools[QStringLiteral("alleplatten")] = {{QStringLiteral("Tisch 3"), 0}};
        plan.pools[QStringLiteral("schiri")] = {};
        plan.pools[QStringLiteral("alleschiris")] = {{QStringLiteral("Richter, Rita"), 5}};
        plan.labels[1] = {{winnerPlaceholder(1), -1}, {loserPlaceholder(1), -1}, {winnerPlaceholder(12), -1}};
        plan.labels[2] = {{winnerPlaceholder(1), -1}}; // another phase's page keeps its labels
        plan.labels[4] = {{winnerPlaceholder(1), -1}, {winnerPlaceholder(12), -1}};
        return plan;
    }

private slots:
    void knockOutResult_data() { backends(); }
    void knockOutResult()
    {
        if (!makeFixture())
            return;
        FakePlan plan = planWithPools();
        ResultEngine engine(db(), kTid, m_clock, plan);
        const ResultEntry entry = entryOf(m_kid, 1, QStringLiteral("3:2"), {"+9", "-0", " -7 ", "12", "+3"});
        QCOMPARE(engine.recordResult(entry), RecordOutcome::Recorded);

        const QVariantMap row = matchRow(db(), m_kid, 1);
        QCOMPARE(row.value("beendet").toString(), QStringLiteral("1"));
        QCOMPARE(row.value("begonnen").toString(), QStringLiteral("0"));
        QCOMPARE(row.value("in_planung").toString(), QStringLiteral("0"));
        QCOMPARE(row.value("ergebnis").toString(), QStringLiteral("3:2"));
        QCOMPARE(row.value("siegersid").toString(), QStringLiteral("11"));
        QCOMPARE(row.value("verlierersid").toString(), QStringLiteral("12"));
        const QStringList stored{"9", "-100", "-7", "12", "3"};
        for (int i = 0; i < 9; ++i) {
            const QVariant v = row.value(QStringLiteral("satz%1").arg(i + 1));
            if (i < stored.size())
                QCOMPARE(v.toString(), stored[i]);
            else
                QVERIFY2(!v.isValid(), qPrintable(QStringLiteral("satz%1 not Null").arg(i + 1)));
        }
        QCOMPARE(readDateTime(scalar(db(), QStringLiteral("SELECT spielende FROM Spielplan WHERE KID=:k AND "
                                                          "spielnummer=1"),
                                     {{"k", m_kid}})),
                 m_clock.now());

        // The winner in the next round and the placement match, the loser in
        // the loser slot; the slot of the winner of 12 is left alone.
        QCOMPARE(sideOf(db(), m_kid, 5, 1).id, kA.id);
        QCOMPARE(sideOf(db(), m_kid, 5, 1).text, kA.text);
        QCOMPARE(sideOf(db(), m_kid, 8, 1).id, kA.id);
        QCOMPARE(sideOf(db(), m_kid, 6, 1).id, kB.id);
        QCOMPARE(sideOf(db(), m_kid, 6, 1).text, kB.text);
        QCOMPARE(sideOf(db(), m_kid, 6, 2).text, winnerPlaceholder(12));
        QCOMPARE(sideOf(db(), m_kid, 8, 2).text, winnerPlaceholder(12));
        // Match 5 against the bye is settled: its winner waits in match 7.
        const QVariantMap five = matchRow(db(), m_kid, 5);
        QCOMPARE(five.value("siegersid").toString(), QStringLiteral("11"));
        QCOMPARE(five.value("verlierersid").toString(), QString::number(Freilos));
        QCOMPARE(sideOf(db(), m_kid, 7, 1).id, kA.id);

        // Resources back; labels relabelled on the match's page and the
        // placement page, never those of another match.
        QCOMPARE(plan.poolTexts("allespieler"), (QStringList{"11", "12"}));
        QCOMPARE(plan.poolTexts("alleplatten"), (QStringList{"Tisch 3", "Tisch 1"}));
        QCOMPARE(plan.poolTexts("schiri"), QStringList{"Richter, Rita"});
        QCOMPARE(plan.labels[1].value(kA.text, 0), kA.id);
        QCOMPARE(plan.labels[1].value(kB.text, 0), kB.id);
        QCOMPARE(plan.labels[4].value(kA.text, 0), kA.id);
        QVERIFY(!plan.labels[4].contains(winnerPlaceholder(1)));
        QVERIFY(plan.labels[4].contains(winnerPlaceholder(12)));
        QVERIFY(plan.labels[2].contains(winnerPlaceholder(1)));
        QCOMPARE(plan.rebuilds, 0);
        QCOMPARE(engine.lastRecorded().siegerSID, kA.id);
    }

    void slotsComparedWhole_data() { backends(); }
    void slotsComparedWhole()
    {
        if (!makeFixture())
            return;
        FakePlan plan = planWithPools();
        ResultEngine engine(db(), kTid, m_clock, plan);
        QCOMPARE(engine.recordResult(entryOf(m_kid, 12, QStringLiteral("0:3"), {})), RecordOutcome::Recorded);
        QCOMPARE(sideOf(db(), m_kid, 5, 1).text, winnerPlaceholder(1));
        QCOMPARE(sideOf(db(), m_kid, 6, 1).text, loserPlaceholder(1));
        QCOMPARE(sideOf(db(), m_kid, 6, 2).id, kD.id); // 0:3: the second-named side won
        QCOMPARE(sideOf(db(), m_kid, 7, 2).id, kC.id);
        QVERIFY(plan.labels[1].contains(winnerPlaceholder(1)));
        QVERIFY(plan.labels[1].contains(loserPlaceholder(1)));
        QCOMPARE(plan.labels[1].value(kD.text, 0), kD.id);
        QCOMPARE(plan.labels[4].value(kD.text, 0), kD.id);
        // A walkover: a result without sets.
        const QVariantMap row = matchRow(db(), m_kid, 12);
        QVERIFY(!row.value("satz1").isValid());
        QCOMPARE(row.value("siegersid").toString(), QStringLiteral("14"));
    }

    void resourcesBack_data()
    {
        addBackendColumn();
        QTest::addColumn<bool>("manuell");
        QTest::addColumn<QString>("schiri");
        QTest::addColumn<QStringList>("tables");
        QTest::addColumn<QStringList>("umpires");
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            QTest::addRow("%s called", name) << backend << false << "Richter, Rita" << QStringList{"Tisch 3", "Tisch 1"}
                                             << QStringList{"Richter, Rita"};
            QTest::addRow("%s manual table", name)
                << backend << true << "Richter, Rita" << QStringList{"Tisch 3"} << QStringList{"Richter, Rita"};
            QTest::addRow("%s typed umpire", name)
                << backend << false << "Getippt, Gerd" << QStringList{"Tisch 3", "Tisch 1"} << QStringList{};
        }
    }
    void resourcesBack()
    {
        QFETCH(bool, manuell);
        QFETCH(QString, schiri);
        QFETCH(QStringList, tables);
        QFETCH(QStringList, umpires);
        if (!makeFixture())
            return;
        setRunning(db(), m_kid, 1, QStringLiteral("Tisch 1"), schiri, manuell);
        FakePlan plan = planWithPools();
        ResultEngine engine(db(), kTid, m_clock, plan);
        QCOMPARE(engine.recordResult(entryOf(m_kid, 1, QStringLiteral("3:0"), {"1", "2", "3"})),
                 RecordOutcome::Recorded);
        QCOMPARE(plan.poolTexts("alleplatten"), tables);
        QCOMPARE(plan.poolTexts("schiri"), umpires);
        QCOMPARE(plan.poolTexts("allespieler"), (QStringList{"11", "12"}));
    }

    void groupTables_data() { backends(); }
    void groupTables()
    {
        if (!makeFixture())
            return;
        // Match 12 as a match of group 2 of a class whose groups keep their tables.
        execute(db(), QStringLiteral("UPDATE Spielplan SET gruppe=2 WHERE KID=:k AND spielnummer=12"), {{"k", m_kid}});
        insertRow(db(), QStringLiteral("Gruppen"), {{"KID", m_kid}, {"GID", 2}, {"plattensystem", 1}});
        FakePlan plan = planWithPools();
        plan.pools[QStringLiteral("sliste2")] = {};
        plan.pools[QStringLiteral("platte2")] = {};
        plan.pools[QStringLiteral("platte3")] = {};
        ResultEngine engine(db(), kTid, m_clock, plan);
        int steps = 0;
        bool afterCommitRan = false;
        engine.groupStep = [&](const QSqlDatabase& stepDb, const RecordedResult& r, AfterCommit& after) {
            ++steps;
            QVERIFY(Transaction::active(stepDb));
            QCOMPARE(r.gruppe, 2);
            QCOMPARE(r.siegerSID, kC.id);
            QCOMPARE(r.verliererSID, kD.id);
            QCOMPARE(r.saetze[0], Satzwert(kSatzOhnePunkt));
            after.add([&] {
                QVERIFY(!Transaction::active(db()));
                afterCommitRan = true;
            });
        };
        QCOMPARE(engine.recordResult(entryOf(m_kid, 12, QStringLiteral("3:1"), {"-0", "5", "6", "7"}, 2)),
                 RecordOutcome::Recorded);
        QCOMPARE(steps, 1);
        QVERIFY(afterCommitRan);
        QCOMPARE(plan.poolTexts("sliste2"), (QStringList{"13", "14"}));
        QCOMPARE(plan.poolTexts("allespieler"), QStringList{});
        QCOMPARE(plan.poolTexts("platte2"), QStringList{"Tisch 2"});
        QCOMPARE(plan.poolTexts("platte3"), QStringList{});
        QCOMPARE(plan.poolTexts("alleplatten"), QStringList{"Tisch 3"});

        // A knock-out match does not run the group step.
        QCOMPARE(engine.recordResult(entryOf(m_kid, 1, QStringLiteral("3:0"), {})), RecordOutcome::Recorded);
        QCOMPARE(steps, 1);
    }

    void loserAsUmpire_data() { backends(); }
    void loserAsUmpire()
    {
        if (!makeFixture())
            return;
        insertRow(db(), QStringLiteral("Schiri"), {{"TID", kTid}, {"SCHIRIID", 40}, {"snname", "Richter"},
                                                   {"svname", "Rita"}});
        FakePlan plan = planWithPools();
        ResultEngine engine(db(), kTid, m_clock, plan);
        ResultEntry entry = entryOf(m_kid, 1, QStringLiteral("1:3"), {});
        entry.verliererAlsSchiri = true;
        QCOMPARE(engine.recordResult(entry), RecordOutcome::Recorded);
        // Adler lost: a referee of the tournament for this class.
        const QList<QVariantMap> referees = rowsByColumn(
            execute(db(), QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=41")));
        QCOMPARE(referees.size(), 1);
        const QVariantMap r = referees[0];
        QCOMPARE(r.value("snname").toString(), QStringLiteral("Adler"));
        QCOMPARE(r.value("svname").toString(), QStringLiteral("Anton"));
        QCOMPARE(r.value("sverein").toString(), QStringLiteral("TTC Nord"));
        QCOMPARE(r.value("smemo").toString(), QStringLiteral("Verlierer aus Spiel 1"));
        QCOMPARE(r.value("sangemeldet").toString(), QStringLiteral("1"));
        QVERIFY(!r.value("sgeb").isValid());
        QCOMPARE(r.value("tid").toString(), QString::number(kTid));
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM Schiri_im_turnier WHERE SCHIRIID=41 AND KID=:k "
                                            "AND TID=:t"),
                       {{"k", m_kid}, {"t", kTid}}),
                 1);
        QCOMPARE(plan.poolTexts("schiri"), (QStringList{"Richter, Rita", "Adler, Anton"}));
        QCOMPARE(plan.pools["alleschiris"].last(), (std::pair<QString, int>{"Adler, Anton", 41}));

        // Conrad loses match 12 but is a referee already: nothing more.
        insertRow(db(), QStringLiteral("Schiri"), {{"TID", kTid}, {"SCHIRIID", 50}, {"snname", "Conrad"},
                                                   {"svname", "Carla"}});
        const QStringList before = dumpTables(db(), {"Schiri", "Schiri_im_turnier"});
        const auto poolsBefore = plan.pools;
        ResultEntry second = entryOf(m_kid, 12, QStringLiteral("0:3"), {});
        second.verliererAlsSchiri = true;
        QCOMPARE(engine.recordResult(second), RecordOutcome::Recorded);
        QCOMPARE(dumpTables(db(), {"Schiri", "Schiri_im_turnier"}), before);
        QCOMPARE(plan.pools["schiri"], poolsBefore["schiri"]);
        QCOMPARE(plan.pools["alleschiris"], poolsBefore["alleschiris"]);
    }

    void refusedEntries_data() { backends(); }
    void refusedEntries()
    {
        if (!makeFixture())
            return;
        FakePlan plan = planWithPools();
        ResultEngine engine(db(), kTid, m_clock, plan);
        const QStringList before = dumpTables(db());
        for (const ResultEntry& e : {entryOf(m_kid, 1, QStringLiteral("3-1"), {}),
                                     entryOf(m_kid, 1, QString(), {}),
                                     entryOf(m_kid, 1, QStringLiteral("3:1"), {"+9", "x"})}) {
            QVERIFY_THROWS_EXCEPTION(AppError, engine.recordResult(e));
        }
        QCOMPARE(dumpTables(db()), before);
        QCOMPARE(plan.pools, planWithPools().pools);
    }

    // The sets entered against the result: stored when they agree or when
    // none was entered; refused with the message naming what disagrees
    // otherwise, nothing written, the pools as they were.
    void setsAgainstResult_data()
    {
        addBackendColumn();
        QTest::addColumn<QString>("ergebnis");
        QTest::addColumn<QStringList>("saetze");
        QTest::addColumn<QString>("refusal"); // empty: stored
        const struct {
            const char* name;
            const char* ergebnis;
            QStringList saetze;
            const char* refusal;
        } cases[] = {
            {"agreeing", "3:1", {"+9", "-7", "+11", "+5"}, ""},
            {"agreeing to the fifth set", "2:3", {"+3", "-0", "+12", "-9", "-11"}, ""},
            {"none at all", "3:0", {}, ""},
            {"blanks only", "0:3", {" ", "", "  "}, ""},
            {"two all for 3:1", "3:1", {"+9", "-7", "-11", "+5"}, "Die Sätze ergeben 2:2, das Endergebnis lautet 3:1."},
            {"the other side's win", "1:3", {"+9", "+7", "-11", "+5"},
             "Die Sätze ergeben 3:1, das Endergebnis lautet 1:3."},
            {"a set missing at the end", "3:0", {"+5", "+5"}, "Die Sätze ergeben 2:0, das Endergebnis lautet 3:0."},
            {"a set missing before others", "3:1", {"+9", "", "-7", "+5", "+5"}, "Satz 2 fehlt vor Satz 5."},
            {"after the deciding set", "3:1", {"+5", "+5", "+5", "-5"},
             "Nach dem entscheidenden Satz 3 ist noch Satz 4 eingetragen, das Endergebnis lautet 3:1."},
            {"one set too many", "3:0", {"+5", "+5", "+5", "+5"}, "Die Sätze ergeben 4:0, das Endergebnis lautet 3:0."},
        };
        for (const Backend backend : {Backend::SQLite, Backend::PostgreSQL})
            for (const auto& c : cases)
                QTest::newRow(qPrintable(QString::fromLatin1(c.name) + (backend == Backend::SQLite ? " sqlite" : " postgresql")))
                    << backend << QString::fromLatin1(c.ergebnis) << c.saetze << QString::fromUtf8(c.refusal);
    }
    void setsAgainstResult()
    {
        QFETCH(QString, ergebnis);
        QFETCH(QStringList, saetze);
        QFETCH(QString, refusal);
        if (!makeFixture())
            return;
        FakePlan plan = planWithPools();
        ResultEngine engine(db(), kTid, m_clock, plan);
        const QStringList before = dumpTables(db());
        const ResultEntry entry = entryOf(m_kid, 1, ergebnis, saetze);
        if (!refusal.isEmpty()) {
            const auto refused = [&](const std::function<void()>& store) {
                try {
                    store();
                } catch (const AppError& e) {
                    return e.message();
                }
                return QStringLiteral("stored");
            };
            QCOMPARE(refused([&] { engine.recordResult(entry); }), refusal);
            QCOMPARE(dumpTables(db()), before);
            QCOMPARE(plan.pools, planWithPools().pools);
            // A correction of a stored result is refused the same way.
            QCOMPARE(engine.recordResult(entryOf(m_kid, 1, QStringLiteral("3:0"), {})), RecordOutcome::Recorded);
            const QStringList recorded = dumpTables(db());
            QCOMPARE(refused([&] { engine.correctResult(entry, {}, [] { return true; }); }), refusal);
            QCOMPARE(dumpTables(db()), recorded);
            return;
        }
        QCOMPARE(engine.recordResult(entry), RecordOutcome::Recorded);
        const QVariantMap row = matchRow(db(), m_kid, 1);
        QCOMPARE(row.value("ergebnis").toString(), ergebnis);
        for (int i = 0; i < 9; ++i) {
            const QString typed = saetze.value(i).trimmed();
            const QVariant stored = row.value(QStringLiteral("satz%1").arg(i + 1));
            QCOMPARE(stored.isValid(), !typed.isEmpty());
        }
    }

    // Every statement failing in turn: nothing stays, the plan is rebuilt from
    // the database, pools and labels untouched.
    void atomic_data() { backends(); }
    void atomic()
    {
        if (!makeFixture())
            return;
        for (bool umpire : {false, true}) {
            int runs = 0;
            int failures = 0;
            FakePlan plan;
            const QString failure = checkAtomic(
                db(),
                [&] {
                    plan = planWithPools();
                    ResultEngine engine(db(), kTid, m_clock, plan);
                    ResultEntry e = entryOf(m_kid, 1, QStringLiteral("3:1"), {"4", "-5", "6", "7"});
                    e.verliererAlsSchiri = umpire;
                    try {
                        engine.recordResult(e);
                    } catch (...) {
                        ++failures;
                        if (plan.rebuilds != 1 || plan.pools != planWithPools().pools
                            || plan.labels != planWithPools().labels)
                            qFatal("plan changed by a failed recording");
                        throw;
                    }
                },
                {}, {}, &runs);
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            QVERIFY(runs > 5);
            QCOMPARE(failures, runs - 1);
            QCOMPARE(sideOf(db(), m_kid, 7, 1).id, kA.id); // the bye settled in the last run
            QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM Schiri")), umpire ? 1 : 0);
            if (!umpire) {
                // Back to the start for the second loop.
                makeFixture();
            }
        }
    }

    // Two desks record the same match: the first result stays, the second desk
    // is told and writes nothing.
    void twoDesks_data() { backends(); }
    void twoDesks()
    {
        if (!makeFixture())
            return;
        const QSqlDatabase other = m_tdb->open();
        FakePlan planA = planWithPools();
        FakePlan planB = planWithPools();
        ResultEngine deskA(db(), kTid, m_clock, planA);
        ResultEngine deskB(other, kTid, m_clock, planB);
        QCOMPARE(deskA.recordResult(entryOf(m_kid, 1, QStringLiteral("3:0"), {"1", "2", "3"})),
                 RecordOutcome::Recorded);
        const QStringList after = dumpTables(db());
        ResultEntry late = entryOf(m_kid, 1, QStringLiteral("0:3"), {"-1", "-2", "-3"});
        late.verliererAlsSchiri = true;
        QCOMPARE(deskB.recordResult(late), RecordOutcome::Conflict);
        QCOMPARE(dumpTables(db()), after);
        QCOMPARE(planB.pools, planWithPools().pools);
        QCOMPARE(resultConflictMessage(),
                 QStringLiteral("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert."));
        QCOMPARE(matchRow(db(), m_kid, 1).value("ergebnis").toString(), QStringLiteral("3:0"));
    }

    // "Spiel beendet" with what follows it: recorded, the plan rebuilt, the
    // dialog closed, then the next matches offered; another desk first: the
    // message, closed, rebuilt; refused: the box, the dialog stays open.
    void finishing_data() { backends(); }
    void finishing()
    {
        if (!makeFixture())
            return;
        FakePlan plan = planWithPools();
        FakePrompter prompter;
        ResultEngine engine(db(), kTid, m_clock, plan);
        const auto close = [&plan] { plan.calls << QStringLiteral("close"); };

        prompter.expect(PromptKind::Error, QStringLiteral("Wählen Sie ein gültiges Satzergebnis"));
        QVERIFY(!spielBeendet(engine, plan, prompter, entryOf(m_kid, 1, QStringLiteral("3"), {}), true, close));
        QVERIFY(prompter.verify());
        QCOMPARE(plan.calls, QStringList{});

        QVERIFY(spielBeendet(engine, plan, prompter, entryOf(m_kid, 1, QStringLiteral("3:1"), {}), true, close));
        QCOMPARE(plan.calls, (QStringList{"rebuild", "close", "offer 1"}));

        plan.calls.clear();
        QVERIFY(spielBeendet(engine, plan, prompter, entryOf(m_kid, 12, QStringLiteral("3:1"), {}), false, close));
        QCOMPARE(plan.calls, (QStringList{"rebuild", "close"}));

        plan.calls.clear();
        prompter.expect(PromptKind::Error, resultConflictMessage());
        QVERIFY(!spielBeendet(engine, plan, prompter, entryOf(m_kid, 1, QStringLiteral("0:3"), {}), true, close));
        QVERIFY(prompter.verify());
        QCOMPARE(plan.calls, (QStringList{"close", "rebuild", "redraw"}));
        QCOMPARE(matchRow(db(), m_kid, 1).value("ergebnis").toString(), QStringLiteral("3:1"));
    }
};

QTEST_GUILESS_MAIN(TestResultEngine)
#include "test_resultengine.moc"
