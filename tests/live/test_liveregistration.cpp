// Taking online registrations over, on both backends: which player a
// registration writes (its online id, the namesake the user chose, or a new
// player with the next key and start number), the class entries with open
// partner rows, names with quotes and wildcard characters, ids "0" and "" that
// name nothing, the fault-injection loop over one registration, and two desks
// taking over the same registration at once.
#include "data/connection.h"
#include "data/liveregistrationrecords.h"
#include "data/playerrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "live/registrationtakeover.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace bw;
using namespace bw::test;

namespace {

constexpr int kTid = 1;

// Tournament 1 with a singles class (online 7), a doubles class (online 8) and
// a class without online class; two players, one of them registered online
// (55); tournament 2 holds the highest player key.
void seed(const QSqlDatabase& db)
{
    insertRow(db, s("Turnierdaten"), {{s("TID"), 1}});
    insertRow(db, s("Turnierdaten"), {{s("TID"), 2}});
    const auto addClass = [&](int kid, const char* name, int system, int live) {
        insertRow(db, s("Turnierklassen"), {{s("KID"), kid}, {s("TID"), kTid}, {s("kbezeichnung"), s(name)},
                                            {s("system"), system}, {s("LiveKlassenID"), live}});
    };
    addClass(1, "Herren A", 0, 7);
    addClass(2, "Herren", 1, 8);
    addClass(3, "Senioren", 0, 0);
    addClass(4, "Mixed", 2, 9);
    const auto addPlayer = [&](int tid, int sid, const char* nachname, const char* vorname, const QVariant& live,
                               const QVariant& nummer) {
        insertRow(db, s("Spielerdaten"), {{s("TID"), tid}, {s("SID"), sid}, {s("nachname"), s(nachname)},
                                          {s("vorname"), s(vorname)}, {s("verein"), s("TTC Alt")},
                                          {s("LiveSpielerID"), live}, {s("nummer"), nummer},
                                          {s("geb"), QDate(1980, 1, 2)}});
    };
    addPlayer(1, 1, "Brenner", "Jana", QVariant(), 4);
    addPlayer(1, 2, "Kowalski", "Piet", 55, 9);
    addPlayer(2, 20, "Fremd", "Anna", 0, 30);
    insertRow(db, s("Spieler_im_turnier"), {{s("TID"), 1}, {s("KID"), 1}, {s("SID"), 2}, {s("gemeldet"), 1}});
}

RegisteredPlayer registration(const char* nachname, const char* vorname, int live)
{
    RegisteredPlayer p;
    p.nachname = s(nachname);
    p.vorname = s(vorname);
    p.verein = s("TSV Neu");
    p.email = s("neu@example.org");
    p.geb = QDate(2001, 6, 30);
    p.kverband = s("Kreis");
    p.liveSpielerID = live;
    p.mann = true;
    p.spielstaerke = s("1620");
    return p;
}

QStringList players(const QSqlDatabase& db)
{
    return queryRows(db, s("SELECT SID, nachname, vorname, verein, nummer, LiveSpielerID, mann, frau FROM Spielerdaten "
                      "WHERE TID=1 ORDER BY SID"));
}

} // namespace

class TestLiveRegistration : public QObject {
    Q_OBJECT

private slots:
    void newAndUpdatedPlayers_data() { addBackendColumn(); addBackendRows(); }
    void newAndUpdatedPlayers()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);

        // A new player: key after the highest of all tournaments, the next start
        // number of the tournament, entered in both classes (the doubles one with
        // the doubles and the mixed one with an open partner row), not checked in.
        QCOMPARE(storeRegistration(db, kTid, registration("O'Brien", "Seán", 77), 0, {2, 1, 4, 2}), 21);
        QCOMPARE(players(db).last(), s("21|O'Brien|Seán|TSV Neu|10|77|1|0"));
        QCOMPARE(queryRows(db, s("SELECT geb, email, kverband, spielstaerke, zubezahlen, bezahlt FROM Spielerdaten "
                            "WHERE SID=21")).size(), 1);
        QCOMPARE(readPlayersByOnlineId(db, kTid).value(77), 21);
        QCOMPARE(queryRows(db, s("SELECT SID, KID, gemeldet FROM Spieler_im_turnier WHERE SID=21 ORDER BY KID")),
                 (QStringList{s("21|1|0"), s("21|2|0"), s("21|4|0")}));
        QCOMPARE(queryRows(db, s("SELECT KID, partner_SID, mannschaft FROM Doppelpartner WHERE SID=21 ORDER BY KID")),
                 (QStringList{s("2|NULL|NULL"), s("4|NULL|NULL")}));

        // The same registration again (another fetch, SID unknown): found by its
        // online id, updated, not entered twice; no birth date stores Null.
        RegisteredPlayer again = registration("O'Brien", "Seán", 77);
        again.geb.reset();
        again.mann = false;
        again.frau = true;
        QCOMPARE(storeRegistration(db, kTid, again, 0, {1, 2}), 21);
        QCOMPARE(players(db).last(), s("21|O'Brien|Seán|TSV Neu|10|77|0|1"));
        QVERIFY(scalar(db, s("SELECT geb FROM Spielerdaten WHERE SID=21")).isNull());
        QCOMPARE(queryRows(db, s("SELECT KID FROM Spieler_im_turnier WHERE SID=21")).size(), 3);
        QCOMPARE(queryRows(db, s("SELECT KID FROM Doppelpartner WHERE SID=21")).size(), 2);

        // The namesake the user chose takes the online id and the new data; his
        // start number and his entries stay.
        QCOMPARE(storeRegistration(db, kTid, registration("Brenner", "Jana", 90), 1, {1}), 1);
        QCOMPARE(players(db).first(), s("1|Brenner|Jana|TSV Neu|4|90|1|0"));
        QCOMPARE(readPlayer(db, 1)->record.geb, QDate(2001, 6, 30));

        // A player of another online registration is never overwritten.
        const QStringList before = dumpTables(db);
        try {
            storeRegistration(db, kTid, registration("Kowalski", "Piet", 91), 2, {});
            QFAIL("the update went through");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), s("Der Spieler \"Kowalski, Piet\" wurde inzwischen an einem anderen Arbeitsplatz "
                                    "mit einer anderen Online-Anmeldung verknüpft."));
        }
        // A class gone meanwhile: nothing of the registration is written.
        try {
            storeRegistration(db, kTid, registration("Neu", "Nina", 92), 0, {1, 99});
            QFAIL("the registration went through");
        } catch (const StaleRecord& e) {
            QCOMPARE(e.message(), s("Die Klasse ist nicht mehr in der Datenbank vorhanden."));
        }
        QCOMPARE(dumpTables(db), before);

        // Online id 0 matches no player: a new one, whatever his names.
        QVERIFY(!readPlayersByOnlineId(db, kTid).contains(0));
        QCOMPARE(storeRegistration(db, kTid, registration("Fremd", "Anna", 0), 0, {}), 22);
        QCOMPARE(players(db).size(), 4);
    }

    // Names are compared case-insensitively as plain text among the players
    // without online id.
    void namesakes_data() { addBackendColumn(); addBackendRows(); }
    void namesakes()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);
        insertRow(db, s("Spielerdaten"), {{s("TID"), 1}, {s("SID"), 3}, {s("nachname"), s("O'Brien")},
                                          {s("vorname"), s("Ännie")}, {s("LiveSpielerID"), 0}});
        insertRow(db, s("Spielerdaten"), {{s("TID"), 1}, {s("SID"), 4}, {s("nachname"), s("100x")},
                                          {s("vorname"), s("Tom")}, {s("LiveSpielerID"), QVariant()}});
        const auto found = [&](const char* nachname, const char* vorname) {
            const std::optional<Namesake> n = findNamesake(db, kTid, s(nachname), s(vorname));
            return n ? n->sid : 0;
        };
        QCOMPARE(found("o'brien", "ännie"), 3);
        QCOMPARE(found("BRENNER", "jana"), 1);
        QCOMPARE(found("Brenner", "Jan"), 0);
        QCOMPARE(found("100%", "Tom"), 0);
        QCOMPARE(found("100_", "Tom"), 0);
        QCOMPARE(found("100x", "Tom"), 4);
        QCOMPARE(found("Kowalski", "Piet"), 0); // has an online id
        QCOMPARE(found("Fremd", "Anna"), 0);    // another tournament
        const std::optional<Namesake> brenner = findNamesake(db, kTid, s("Brenner"), s("Jana"));
        QCOMPARE(brenner->verein, s("TTC Alt"));
        QCOMPARE(brenner->geb, QDate(1980, 1, 2));
    }

    // One registration with every statement failing in turn: nothing is left.
    void atomic_data() { addBackendColumn(); addBackendRows(); }
    void atomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);
        int runs = 0;
        QCOMPARE(checkAtomic(db, [&] { storeRegistration(db, kTid, registration("Neu", "Nina", 93), 0, {1, 2}); },
                             {}, {}, &runs),
                 QString());
        QVERIFY(runs > 6);
        runs = 0;
        QCOMPARE(checkAtomic(db, [&] { storeRegistration(db, kTid, registration("Brenner", "Jana", 94), 1, {2, 3}); },
                             {}, {}, &runs),
                 QString());
        QVERIFY(runs > 5);
    }

    // Two desks take over the same new registration at once: one player, the
    // second desk's take-over updating him.
    void twoDesks_data() { addBackendColumn(); addBackendRows(); }
    void twoDesks()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase a = tdb.db();
        seed(a);
        QString errorB;
        int sidB = 0;
        {
            Transaction transaction(a);
            const int sidA = storeRegistration(a, kTid, registration("Neu", "Nina", 95), 0, {1, 2});
            QCOMPARE(sidA, 21);
            std::atomic<int> pidB{0};
            std::unique_ptr<QThread> deskB(QThread::create([&] {
                try {
                    ScopedConnection desk(tdb.openDesk(uniqueConnectionName(s("deskB"))));
                    if (backendOf(desk.db()) == Backend::PostgreSQL)
                        pidB = scalar(desk.db(), s("SELECT pg_backend_pid()")).toInt();
                    sidB = storeRegistration(desk.db(), kTid, registration("Neu", "Nina", 95), 0, {1, 2});
                } catch (const std::exception& e) {
                    errorB = exceptionText(e);
                }
            }));
            deskB->start();
            if (backend == Backend::PostgreSQL) {
                const QSqlDatabase monitor = tdb.open();
                QVERIFY(QTest::qWaitFor([&] {
                    return deskB->isFinished() ||
                           (pidB > 0 && scalar(monitor, s("SELECT cardinality(pg_blocking_pids(:pid))"),
                                               {{s("pid"), pidB.load()}})
                                                .toInt() > 0);
                }));
            }
            transaction.commit();
            deskB->wait();
        }
        QCOMPARE(errorB, QString());
        QCOMPARE(sidB, 21);
        QCOMPARE(queryRows(a, s("SELECT SID FROM Spielerdaten WHERE LiveSpielerID=95")), QStringList{s("21")});
        QCOMPARE(queryRows(a, s("SELECT KID FROM Spieler_im_turnier WHERE SID=21 ORDER BY KID")),
                 (QStringList{s("1"), s("2")}));
        QCOMPARE(queryRows(a, s("SELECT KID FROM Doppelpartner WHERE SID=21")), QStringList{s("2")});
    }

    // The widget-free rules of the page: ids, classes, rows, the question.
    void registrationRules()
    {
        const QList<LinkedClass> classes{{1, s("Herren A"), ClassKind::Einzel, 7},
                                         {2, s("Herren"), ClassKind::Doppel, 8},
                                         {3, s("Senioren"), ClassKind::Einzel, 0},
                                         {4, s("Jugend"), ClassKind::Einzel, 7}};
        const auto named = [&](const char* ids) {
            AnmeldungRecord r;
            r.klassenIDs = s(ids);
            const RegistrationClasses c = registrationClasses(r, classes);
            QStringList kids;
            for (int kid : c.kids)
                kids << QString::number(kid);
            return kids.join(QLatin1Char(',')) + (c.unmapped ? s(" unmapped") : QString());
        };
        QCOMPARE(named("7"), s("1,4"));
        QCOMPARE(named("8,7,8"), s("2,1,4"));
        QCOMPARE(named(""), QString());
        QCOMPARE(named("0"), QString());      // no class 0 of the unmapped ones
        QCOMPARE(named("12,"), s(" unmapped"));
        QCOMPARE(named("8,x"), s("2 unmapped"));

        QList<AnmeldungRecord> records(4);
        records[0].LiveSpielerID = s("55");
        records[1].LiveSpielerID = s("0");
        records[2].LiveSpielerID = QString();
        records[3].LiveSpielerID = s("56");
        matchRegisteredPlayers(records, {{55, 2}, {0, 1}});
        QCOMPARE(records[0].SID, s("2"));
        QCOMPARE(records[1].SID, s("0"));
        QCOMPARE(records[2].SID, s("0"));
        QCOMPARE(records[3].SID, s("0"));

        records[1].nachname = s("Mustermann-Lüdenscheid-Oberberg");
        records[1].vorname = s("Karl-Theodor");
        records[1].klassenIDs = s("7,8");
        records[3].klassenIDs = s("12");
        const QList<RegistrationRow> all = registrationRows(records, classes, false);
        QCOMPARE(all.size(), 4);
        QCOMPARE(all[1].caption, s("Mustermann-Lüdenscheid-Oberberg,..")); // 32 characters and ".."
        QCOMPARE(all[1].classText, s("Herren A (Ez), Jugend (Ez), Herren (Dp)"));
        QVERIFY(all[0].update && !all[1].update);
        QVERIFY(all[3].unmapped);
        QCOMPARE(all[3].classText, kCheckMapping);
        const QList<RegistrationRow> onlyNew = registrationRows(records, classes, true);
        QCOMPARE(onlyNew.size(), 3);
        QCOMPARE(onlyNew.first().index, 2);
    }

    // A take-over that fails stops at that registration, keeps those before it
    // and says how many were written.
    void takeOverStopsAtAFailure()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        const QSqlDatabase db = tdb.db();
        seed(db);
        QList<AnmeldungRecord> records(3);
        for (int i = 0; i < 3; ++i) {
            records[i].nachname = s("Neu%1").arg(i);
            records[i].vorname = s("Nina");
            records[i].LiveSpielerID = QString::number(100 + i);
            records[i].klassenIDs = s("7");
        }
        const QList<LinkedClass> classes{{1, s("Herren A"), ClassKind::Einzel, 7}};
        FakePrompter prompter;
        execute(db, s("CREATE TRIGGER refuse BEFORE INSERT ON Spielerdaten WHEN NEW.nachname='Neu1' "
                      "BEGIN SELECT RAISE(ABORT, 'abgelehnt'); END"));
        const TakeOverResult result = takeOverRegistrations(db, kTid, records, classes, prompter);
        QCOMPARE(result.written, 1);
        QCOMPARE(result.lastSid, 21);
        QVERIFY2(result.error.startsWith(s("Die Anmeldung von Neu1, Nina konnte nicht übernommen werden.\r")),
                 qPrintable(result.error));
        QCOMPARE(queryRows(db, s("SELECT nachname FROM Spielerdaten WHERE LiveSpielerID>=100")), QStringList{s("Neu0")});
    }
};

QTEST_MAIN(TestLiveRegistration)
#include "test_liveregistration.moc"
