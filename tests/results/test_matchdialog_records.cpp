// What the match dialog reads and stores, on both backends, over a class drawn
// for real: the match as shown, the tables and umpires offered, the plan, the
// call-up with its checks, the start (also straight from open), the later
// calls, two desks on one match and on one table, and every write failing at
// any statement.
#include "../plans/planfixture.h"

#include "data/dbvalue.h"
#include "data/matchdialogrecords.h"
#include "data/sql.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QDateTime kMoment(QDate(2026, 6, 7), QTime(10, 15, 0));

// A class of two groups of four, three sets to win; group 0 has matches 1..6.
struct Played {
    int kid = 0;
    // Two matches of group 0 with an entrant in common, and one without.
    int first = 0, sharing = 0, apart = 0;
};

Played playedClass(const QSqlDatabase& db)
{
    ClassRecord record;
    record.saetze = 3;
    Played p;
    p.kid = drawnClass(db, QStringLiteral("U18"), {groupPhase(2, 4, 2)}, 8, ClassKind::Einzel, record);
    QList<MatchDialogRow> group0;
    for (int n = 1; n <= 12; ++n) {
        const auto row = readMatchDialogRow(db, p.kid, n);
        if (row && row->gruppe == 0)
            group0 << *row;
    }
    p.first = group0.at(0).spielnummer;
    const auto shares = [](const MatchDialogRow& a, const MatchDialogRow& b) {
        return a.sid1 == b.sid1 || a.sid1 == b.sid2 || a.sid2 == b.sid1 || a.sid2 == b.sid2;
    };
    for (const MatchDialogRow& row : group0.mid(1)) {
        if (shares(group0.at(0), row) && !p.sharing)
            p.sharing = row.spielnummer;
        if (!shares(group0.at(0), row) && !p.apart)
            p.apart = row.spielnummer;
    }
    return p;
}

QVariant column(const QSqlDatabase& db, int kid, int n, const char* name)
{
    return scalar(db, s("SELECT ") + s(name) + s(" FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                  {{s("k"), kid}, {s("n"), n}});
}

MatchPlan matchPlan(const QString& tisch, const QString& schiri = {})
{
    return {tisch, QDate(2026, 6, 7), QTime(10, 30), schiri};
}

MatchCall call(const QString& platte, const QString& schiri = {}, bool manuell = false)
{
    return {platte, schiri, manuell, kMoment};
}

void addUmpire(const QSqlDatabase& db, int kid, int id, const char* snname, const char* svname, bool angemeldet)
{
    insertRow(db, s("Schiri"),
              {{s("TID"), kPlanTid}, {s("SCHIRIID"), id}, {s("snname"), s(snname)}, {s("svname"), s(svname)},
               {s("sangemeldet"), angemeldet ? 1 : 0}});
    insertRow(db, s("Schiri_im_turnier"), {{s("TID"), kPlanTid}, {s("SCHIRIID"), id}, {s("KID"), kid}});
}

} // namespace

class TestMatchDialogRecords : public QObject {
    Q_OBJECT
private slots:
    void readsTheMatch_data() { addBackendColumn(); addBackendRows(); }
    void readsTheMatch()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const Played p = playedClass(db);
        execute(db,
                s("UPDATE Spielplan SET satz1=7,satz2=-9,satz3=-100,ergebnis='1:2',beendet=1,aufruf2_sp1=:t,"
                  "geplanter_tag=:d,geplante_zeit=:z,geplanter_tisch='T2',schiri='Huber, Hans' "
                  "WHERE KID=:k AND spielnummer=:n"),
                {{s("t"), kMoment}, {s("d"), QDate(2026, 6, 8)}, {s("z"), QDateTime(QDate(1899, 12, 30), QTime(9, 45))},
                 {s("k"), p.kid}, {s("n"), p.first}});
        const MatchDialogRow row = *readMatchDialogRow(db, p.kid, p.first);
        QCOMPARE(row.state(), MatchStage::Finished);
        QCOMPARE(row.gruppe, 0);
        QCOMPARE(row.phase, 1);
        QVERIFY(row.sid1 > 0 && row.sid2 > 0);
        QCOMPARE(row.saetze[0], std::optional<int>(7));
        QCOMPARE(row.saetze[1], std::optional<int>(-9));
        QCOMPARE(row.saetze[2], std::optional<int>(-100));
        QCOMPARE(row.saetze[3], std::optional<int>(0)); // a new match stores 0
        QCOMPARE(row.ergebnis, QStringLiteral("1:2"));
        QCOMPARE(row.spaetereAufrufe[0], kMoment);
        QVERIFY(!row.spaetereAufrufe[1].isValid());
        QCOMPARE(row.geplanterTag, QDate(2026, 6, 8));
        QCOMPARE(row.geplanteZeit, QTime(9, 45));
        QCOMPARE(row.geplanterTisch, QStringLiteral("T2"));
        QCOMPARE(row.schiri, QStringLiteral("Huber, Hans"));
        QVERIFY(!readMatchDialogRow(db, p.kid, 999));

        QCOMPARE(readGroupTables(db, p.kid, 0), (QStringList{"T1", "T2"}));
        addUmpire(db, p.kid, 1, "Huber", "Hans", true);
        addUmpire(db, p.kid, 2, "Abel", "Eva", false);
        QCOMPARE(readClassUmpires(db, p.kid), (QStringList{"Abel, Eva", "Huber, Hans"}));
    }

    void storesPlanCallAndStart_data() { addBackendColumn(); addBackendRows(); }
    void storesPlanCallAndStart()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const Played p = playedClass(db);

        // The plan: blanks store Null.
        planMatch(db, p.kid, p.first, MatchStage::Open, {QStringLiteral(" "), QDate(), QTime(), QString()});
        QVERIFY(column(db, p.kid, p.first, "geplanter_tisch").isNull());
        QVERIFY(column(db, p.kid, p.first, "geplanter_tag").isNull());
        QVERIFY(column(db, p.kid, p.first, "geplante_zeit").isNull());
        QVERIFY(column(db, p.kid, p.first, "schiri").isNull());
        planMatch(db, p.kid, p.first, MatchStage::Open, matchPlan(QStringLiteral("T2"), QStringLiteral("Huber, Hans")));
        MatchDialogRow row = *readMatchDialogRow(db, p.kid, p.first);
        QCOMPARE(row.geplanterTisch, QStringLiteral("T2"));
        QCOMPARE(row.geplanterTag, QDate(2026, 6, 7));
        QCOMPARE(row.geplanteZeit, QTime(10, 30));
        QCOMPARE(row.schiri, QStringLiteral("Huber, Hans"));
        // The plan of a match in another state than the dialog showed is refused.
        QVERIFY_THROWS_EXCEPTION(MatchConflict, planMatch(db, p.kid, p.first, MatchStage::Called, matchPlan("T1")));

        // The call-up.
        callMatch(db, p.kid, p.first, matchPlan(QStringLiteral("T1")), call(QStringLiteral("T1"), QStringLiteral("Huber, Hans")));
        row = *readMatchDialogRow(db, p.kid, p.first);
        QCOMPARE(row.state(), MatchStage::Called);
        QCOMPARE(row.anPlatte, QStringLiteral("T1"));
        QCOMPARE(row.geplanterTisch, QStringLiteral("T1"));
        QCOMPARE(row.schiri, QStringLiteral("Huber, Hans"));
        QVERIFY(!row.manuell);
        for (const char* first : {"aufruf1_sp1", "aufruf1_sp2", "aufruf1_sch"})
            QCOMPARE(readDateTime(column(db, p.kid, p.first, first)), kMoment);
        QVERIFY_THROWS_EXCEPTION(MatchConflict, callMatch(db, p.kid, p.first, matchPlan("T1"), call("T1")));

        // Later calls: ticked and cleared; only the fixed columns.
        storeLaterCall(db, p.kid, p.first, MatchStage::Called, QStringLiteral("aufruf3_sch"), kMoment.addSecs(60));
        QCOMPARE(readMatchDialogRow(db, p.kid, p.first)->spaetereAufrufe[5], kMoment.addSecs(60));
        storeLaterCall(db, p.kid, p.first, MatchStage::Called, QStringLiteral("aufruf3_sch"), {});
        QVERIFY(column(db, p.kid, p.first, "aufruf3_sch").isNull());
        QVERIFY_THROWS_EXCEPTION(AppError, storeLaterCall(db, p.kid, p.first, MatchStage::Called,
                                                          QStringLiteral("beendet"), kMoment));

        // The start of the called match.
        startMatch(db, p.kid, p.first, MatchStage::Called, matchPlan(QStringLiteral("T1")), {}, kMoment.addSecs(120));
        row = *readMatchDialogRow(db, p.kid, p.first);
        QCOMPARE(row.state(), MatchStage::Running);
        QVERIFY(!row.inPlanung);
        QCOMPARE(row.anPlatte, QStringLiteral("T1"));
        QCOMPARE(readDateTime(column(db, p.kid, p.first, "spielstart")), kMoment.addSecs(120));
        QVERIFY_THROWS_EXCEPTION(MatchConflict, startMatch(db, p.kid, p.first, MatchStage::Called, matchPlan("T1"), {}, kMoment));

        // Started straight from open: table, umpire and the manual flag as a
        // call-up stores them, no call times.
        startMatch(db, p.kid, p.apart, MatchStage::Open, matchPlan(QStringLiteral("T2")),
                   call(QStringLiteral("T2"), QStringLiteral("Abel, Eva")), kMoment);
        row = *readMatchDialogRow(db, p.kid, p.apart);
        QCOMPARE(row.state(), MatchStage::Running);
        QCOMPARE(row.anPlatte, QStringLiteral("T2"));
        QCOMPARE(row.schiri, QStringLiteral("Abel, Eva"));
        QVERIFY(column(db, p.kid, p.apart, "aufruf1_sp1").isNull());
        QCOMPARE(readDateTime(column(db, p.kid, p.apart, "spielstart")), kMoment);
    }

    // What another called or running match holds cannot be called again.
    void resourceChecks_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<QString>("what");
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            for (const char* what : {"entrant", "table", "manual table", "umpire", "blank umpire"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(name, what))) << backend << QString::fromLatin1(what);
        }
    }
    void resourceChecks()
    {
        QFETCH(Backend, backend);
        QFETCH(QString, what);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const Played p = playedClass(db);
        callMatch(db, p.kid, p.first, matchPlan("T1"), call("T1", QStringLiteral("Huber, Hans")));
        const QStringList before = dumpTables(db, {s("Spielplan")});

        int other = p.apart;
        MatchCall second = call("T2");
        bool refused = true;
        QString message;
        if (what == QLatin1String("entrant")) {
            other = p.sharing;
            message = QStringLiteral("Ein Spieler dieses Spiels ist inzwischen in Spiel %1 aufgerufen.").arg(p.first);
        } else if (what == QLatin1String("table")) {
            second = call("T1");
            message = QStringLiteral("Tisch T1 ist inzwischen mit Spiel %1 belegt.").arg(p.first);
        } else if (what == QLatin1String("manual table")) {
            second = call("T1", {}, true);
            refused = false;
        } else if (what == QLatin1String("umpire")) {
            second = call("T2", QStringLiteral("Huber, Hans"));
            message = QStringLiteral("Der Schiedsrichter Huber, Hans ist inzwischen in Spiel %1 eingesetzt.").arg(p.first);
        } else {
            execute(db, s("UPDATE Spielplan SET schiri=NULL WHERE KID=:k"), {{s("k"), p.kid}});
            refused = false;
        }
        if (!refused) {
            callMatch(db, p.kid, other, matchPlan("T2"), second);
            QCOMPARE(readMatchDialogRow(db, p.kid, other)->state(), MatchStage::Called);
            return;
        }
        for (const bool start : {false, true}) {
            try {
                if (start)
                    startMatch(db, p.kid, other, MatchStage::Open, matchPlan("T2"), second, kMoment);
                else
                    callMatch(db, p.kid, other, matchPlan("T2"), second);
                QFAIL("not refused");
            } catch (const MatchConflict& e) {
                QCOMPARE(e.message(), message);
                // A busy table or umpire may be replaced; busy entrants may not.
                QCOMPARE(dynamic_cast<const ResourceBusy*>(&e) != nullptr, what != QLatin1String("entrant"));
            }
            QCOMPARE(dumpTables(db, {s("Spielplan")}), before);
        }
    }

    // Two desks confirm the call-up of one match, or send two matches to one
    // table: the first is stored, the second is told and stores nothing.
    void twoDesks_data() { addBackendColumn(); addBackendRows(); }
    void twoDesks()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase desk1 = tdb.db();
        const QSqlDatabase desk2 = tdb.open();
        const Played p = playedClass(desk1);

        callMatch(desk1, p.kid, p.first, matchPlan("T1"), call("T1"));
        QStringList before = dumpTables(desk1, {s("Spielplan")});
        try {
            callMatch(desk2, p.kid, p.first, matchPlan("T2"), call("T2"));
            QFAIL("the second call-up was stored");
        } catch (const MatchConflict& e) {
            QCOMPARE(e.message(), kMatchChanged);
        }
        QCOMPARE(dumpTables(desk1, {s("Spielplan")}), before);
        QCOMPARE(readMatchDialogRow(desk1, p.kid, p.first)->anPlatte, QStringLiteral("T1"));

        QVERIFY_THROWS_EXCEPTION(MatchConflict, callMatch(desk2, p.kid, p.apart, matchPlan("T1"), call("T1")));
        QCOMPARE(dumpTables(desk1, {s("Spielplan")}), before);

        // The start of a match another desk took back meanwhile.
        execute(desk1, s("UPDATE Spielplan SET in_planung=0 WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), p.kid}, {s("n"), p.first}});
        before = dumpTables(desk1, {s("Spielplan")});
        QVERIFY_THROWS_EXCEPTION(MatchConflict,
                                 startMatch(desk2, p.kid, p.first, MatchStage::Called, matchPlan("T1"), {}, kMoment));
        QCOMPARE(dumpTables(desk1, {s("Spielplan")}), before);
    }

    void atomic_data() { addBackendColumn(); addBackendRows(); }
    void atomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const Played p = playedClass(db);
        QString failure = checkAtomic(db, [&] { callMatch(db, p.kid, p.first, matchPlan("T1"), call("T1")); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        failure = checkAtomic(db, [&] { startMatch(db, p.kid, p.first, MatchStage::Called, matchPlan("T1"), {}, kMoment); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        failure = checkAtomic(
            db, [&] { startMatch(db, p.kid, p.apart, MatchStage::Open, matchPlan("T2"), call("T2"), kMoment); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(TestMatchDialogRecords)
#include "test_matchdialog_records.moc"
