// Two desks on one database, each with its own connection, on both backends.
//
// The races are one table: desk A runs its action in a transaction it keeps
// open; desk B runs the racing action from its own thread; A commits once B
// waits for A's locks (PostgreSQL) or at once (SQLite, where B waits for A's
// write lock). B must be told what happened in German, the other desk's work
// must be intact, and no row may be left referring to a row that is gone.
//
// PostgreSQL alone: "alle Spieler" written from two desks at once in opposite
// orders, a real deadlock that the losing desk runs again, and a connection
// the server ends between two actions and in the middle of one.
#include "data/cascades.h"
#include "data/checkinrecords.h"
#include "data/classrecords.h"
#include "data/concurrency.h"
#include "data/connection.h"
#include "data/playerrecords.h"
#include "data/refereerecords.h"
#include "data/sql.h"
#include "data/teamrecords.h"
#include "data/tournamentrecords.h"
#include "data/transaction.h"
#include "support/testdatabase.h"
#include "tournamentfixture.h"

#include <QDeadlineTimer>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <atomic>
#include <functional>

using namespace bw;
using namespace bw::test;

namespace {

// Rows that name a player, referee, class, team or tournament that is gone.
QStringList orphans(const QSqlDatabase& db)
{
    static const QList<std::pair<const char*, const char*>> checks{
        {"entry without player", "SELECT SID FROM Spieler_im_turnier e WHERE NOT EXISTS "
                                 "(SELECT 1 FROM Spielerdaten p WHERE p.SID=e.SID)"},
        {"entry without class", "SELECT KID FROM Spieler_im_turnier e WHERE NOT EXISTS "
                                "(SELECT 1 FROM Turnierklassen k WHERE k.KID=e.KID)"},
        {"pair row without player", "SELECT SID FROM Doppelpartner d WHERE NOT EXISTS "
                                    "(SELECT 1 FROM Spielerdaten p WHERE p.SID=d.SID)"},
        {"pair row without partner", "SELECT SID FROM Doppelpartner d WHERE d.partner_SID IS NOT NULL AND NOT EXISTS "
                                     "(SELECT 1 FROM Spielerdaten p WHERE p.SID=d.partner_SID)"},
        {"pair row without class", "SELECT SID FROM Doppelpartner d WHERE NOT EXISTS "
                                   "(SELECT 1 FROM Turnierklassen k WHERE k.KID=d.KID)"},
        {"team name without team", "SELECT SID FROM Doppelpartner d WHERE d.mannschaft IS NOT NULL AND NOT EXISTS "
                                   "(SELECT 1 FROM Teams t WHERE t.KID=d.KID AND t.teamname=d.mannschaft)"},
        {"referee class without referee", "SELECT SCHIRIID FROM Schiri_im_turnier r WHERE NOT EXISTS "
                                          "(SELECT 1 FROM Schiri s WHERE s.SCHIRIID=r.SCHIRIID)"},
        {"referee class without class", "SELECT KID FROM Schiri_im_turnier r WHERE NOT EXISTS "
                                        "(SELECT 1 FROM Turnierklassen k WHERE k.KID=r.KID)"},
        {"team without class", "SELECT MID FROM Teams t WHERE NOT EXISTS "
                               "(SELECT 1 FROM Turnierklassen k WHERE k.KID=t.KID)"},
        {"table name without class", "SELECT KID FROM Platten1 t WHERE NOT EXISTS "
                                     "(SELECT 1 FROM Turnierklassen k WHERE k.KID=t.KID)"},
        {"class without tournament", "SELECT KID FROM Turnierklassen k WHERE NOT EXISTS "
                                     "(SELECT 1 FROM Turnierdaten t WHERE t.TID=k.TID)"},
    };
    QStringList found;
    for (const auto& [what, sql] : checks) {
        QSqlQuery q = execute(db, s(sql));
        while (q.next())
            found << s(what) + s(" ") + q.value(0).toString();
    }
    return found;
}

int count(const QSqlDatabase& db, const char* sql)
{
    return scalar(db, s(sql)).toInt();
}

// What desk B loaded on its pages before desk A began.
struct Loaded {
    PlayerData player;
    RefereeData referee;
    ClassData herren;
    TournamentData tournament;

    explicit Loaded(const QSqlDatabase& db)
        : player(*readPlayer(db, 1)), referee(*readReferee(db, kReferee)), herren(*readClassData(db, kHerren)),
          tournament(*readTournament(db, kTid))
    {
    }
};

using Action = std::function<void(const QSqlDatabase& db, const Loaded& loaded)>;
// What must hold afterwards; an empty text when it does.
using Check = std::function<QString(const QSqlDatabase& db)>;

struct Race {
    const char* name;
    Action deskA;
    Action deskB;
    QString messageB; // what desk B is told; empty: B's action succeeds
    Check check;
};

QString expectCount(const QSqlDatabase& db, const char* sql, int expected)
{
    const int n = count(db, sql);
    return n == expected ? QString() : s("%1 gives %2, expected %3").arg(s(sql)).arg(n).arg(expected);
}

PlayerRecord renamed(PlayerRecord r, const char* verein)
{
    r.verein = s(verein);
    return r;
}

const QList<Race>& raceTable()
{
    static const QList<Race> list{
        {"player saved while deleted",
         [](const QSqlDatabase& db, const Loaded&) { deletePlayer(db, 1); },
         [](const QSqlDatabase& db, const Loaded& l) {
             updatePlayer(db, l.player, renamed(l.player.record, "TSV"), {kHerren, kDoppel, kLiga});
         },
         s("Der Spieler ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Spielerdaten WHERE SID=1", 0); }},
        {"player saved with partners while deleted",
         [](const QSqlDatabase& db, const Loaded&) { deletePlayer(db, 1); },
         [](const QSqlDatabase& db, const Loaded& l) {
             savePlayer(db, kTid, l.player, renamed(l.player.record, "TSV"), {kHerren, kDoppel}, {{kDoppel, 3}}, {});
         },
         s("Der Spieler ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) {
             return expectCount(db, "SELECT COUNT(*) FROM Doppelpartner WHERE SID=3 AND partner_SID IS NOT NULL", 0);
         }},
        {"referee saved while deleted",
         [](const QSqlDatabase& db, const Loaded&) { deleteReferee(db, kReferee); },
         [](const QSqlDatabase& db, const Loaded& l) { updateReferee(db, l.referee, l.referee.record, {kHerren, kDoppel}); },
         s("Der Schiedsrichter ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Schiri_im_turnier", 0); }},
        {"team saved while deleted",
         [](const QSqlDatabase& db, const Loaded&) { deleteTeam(db, kLiga, kTeam, s("Brunnhain I")); },
         [](const QSqlDatabase& db, const Loaded&) {
             storeTeam(db, kTid, kLiga, kTeam, s("Brunnhain II"), s("TTC"), {{1, 2}, {}, {}, {}});
         },
         s("Das Team ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Teams", 0); }},
        {"tournament saved while deleted",
         [](const QSqlDatabase& db, const Loaded&) { deleteTournament(db, kTid); },
         [](const QSqlDatabase& db, const Loaded& l) {
             TournamentData changed = l.tournament;
             changed[TournamentField::austragungsort] = s("Halle Nord");
             updateTournament(db, kTid, l.tournament, changed);
         },
         s("Das Turnier ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Turnierdaten", 0); }},
        {"player entered in a class being deleted",
         [](const QSqlDatabase& db, const Loaded&) { deleteClass(db, kDoppel); },
         [](const QSqlDatabase& db, const Loaded& l) { insertPlayer(db, kTid, l.player.record, {kHerren, kDoppel}); },
         s("Die Klasse ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Spielerdaten", kPlayers); }},
        {"referee offered for a class being deleted",
         [](const QSqlDatabase& db, const Loaded&) { deleteClass(db, kDoppel); },
         [](const QSqlDatabase& db, const Loaded& l) { insertReferee(db, kTid, l.referee.record, {kDoppel}); },
         s("Die Klasse ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Schiri", 1); }},
        {"team made in a class being deleted",
         [](const QSqlDatabase& db, const Loaded&) { deleteClass(db, kLiga); },
         [](const QSqlDatabase& db, const Loaded&) {
             storeTeam(db, kTid, kLiga, 0, s("Brunnhain II"), s("TTC"), {{3, 4}, {}, {}, {}});
         },
         s("Die Klasse ist nicht mehr in der Datenbank vorhanden."),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Teams", 0); }},
        {"one class name from two desks",
         [](const QSqlDatabase& db, const Loaded& l) {
             ClassRecord r = l.herren.record;
             r.kbezeichnung = s("Damen");
             insertClass(db, kTid, r, {}, {});
         },
         [](const QSqlDatabase& db, const Loaded& l) {
             ClassRecord r = l.herren.record;
             r.kbezeichnung = s("Damen");
             insertClass(db, kTid, r, {}, {});
         },
         kClassNameTaken,
         [](const QSqlDatabase& db) {
             return expectCount(db, "SELECT COUNT(*) FROM Turnierklassen WHERE kbezeichnung='Damen'", 1);
         }},
        {"a class renamed to the name another desk takes",
         [](const QSqlDatabase& db, const Loaded& l) {
             ClassRecord r = l.herren.record;
             r.kbezeichnung = s("Damen");
             insertClass(db, kTid, r, {}, {});
         },
         [](const QSqlDatabase& db, const Loaded& l) {
             ClassRecord r = l.herren.record;
             r.kbezeichnung = s("Damen");
             updateClass(db, l.herren, r, l.herren.tables, {});
         },
         kClassNameTaken,
         [](const QSqlDatabase& db) {
             return expectCount(db, "SELECT COUNT(*) FROM Turnierklassen WHERE kbezeichnung='Damen'", 1);
         }},
        {"copies of one class from two desks",
         [](const QSqlDatabase& db, const Loaded&) { copyClass(db, kTid, kHerren, ClassKind::Einzel); },
         [](const QSqlDatabase& db, const Loaded&) { copyClass(db, kTid, kHerren, ClassKind::Einzel); },
         QString(),
         [](const QSqlDatabase& db) {
             return expectCount(db, "SELECT COUNT(DISTINCT kbezeichnung) FROM Turnierklassen WHERE kbezeichnung "
                                    "IN ('Kopie1 von Herren','Kopie2 von Herren')",
                                2);
         }},
        {"stale save of a class",
         [](const QSqlDatabase& db, const Loaded& l) {
             ClassRecord r = l.herren.record;
             r.gebuehr = 7.5;
             updateClass(db, l.herren, r, {s("Tisch 1"), s("Tisch 2")}, {});
         },
         [](const QSqlDatabase& db, const Loaded& l) {
             ClassRecord r = l.herren.record;
             r.kbeschreibung = s("Vorrunde in Gruppen");
             updateClass(db, l.herren, r, l.herren.tables, {});
         },
         s("Die Klasse wurde inzwischen an einem anderen Arbeitsplatz geändert. Die Seite wird neu geladen."),
         [](const QSqlDatabase& db) {
             const ClassData c = *readClassData(db, kHerren);
             return c.record.gebuehr == 7.5 && c.tables.size() == 2 && c.record.kbeschreibung.isEmpty()
                        ? QString()
                        : s("desk A's change of the class is lost");
         }},
        {"stale save of a player",
         [](const QSqlDatabase& db, const Loaded& l) { updatePlayer(db, l.player, renamed(l.player.record, "TSV"), {kHerren}); },
         [](const QSqlDatabase& db, const Loaded& l) {
             PlayerRecord r = l.player.record;
             r.email = s("neu@example.org");
             updatePlayer(db, l.player, r, {kHerren, kDoppel});
         },
         s("Der Spieler wurde inzwischen an einem anderen Arbeitsplatz geändert. Die Seite wird neu geladen."),
         [](const QSqlDatabase& db) {
             const PlayerData p = *readPlayer(db, 1);
             return p.record.verein == s("TSV") && p.record.email.isEmpty() && p.classes.size() == 1
                        ? QString()
                        : s("desk A's change of the player is lost");
         }},
        {"stale save of a player whose partner changed",
         [](const QSqlDatabase& db, const Loaded&) { storePartners(db, 3, {{kDoppel, 1}}, {{kDoppel, 1}}); },
         [](const QSqlDatabase& db, const Loaded& l) {
             savePlayer(db, kTid, l.player, l.player.record, {kHerren, kDoppel}, {{kDoppel, 2}}, {});
         },
         s("Der Spieler wurde inzwischen an einem anderen Arbeitsplatz geändert. Die Seite wird neu geladen."),
         [](const QSqlDatabase& db) {
             return expectCount(db, "SELECT partner_SID FROM Doppelpartner WHERE SID=1 AND KID=2", 3);
         }},
        {"stale save of a referee",
         [](const QSqlDatabase& db, const Loaded& l) {
             RefereeRecord r = l.referee.record;
             r.sangemeldet = true;
             updateReferee(db, l.referee, r, l.referee.kids);
         },
         [](const QSqlDatabase& db, const Loaded& l) {
             RefereeRecord r = l.referee.record;
             r.sklasse = s("A");
             updateReferee(db, l.referee, r, {kHerren, kDoppel});
         },
         s("Der Schiedsrichter wurde inzwischen an einem anderen Arbeitsplatz geändert. Die Seite wird neu geladen."),
         [](const QSqlDatabase& db) {
             const RefereeData r = *readReferee(db, kReferee);
             return r.record.sangemeldet && r.record.sklasse.isEmpty() && r.kids == QList<int>{kHerren}
                        ? QString()
                        : s("desk A's change of the referee is lost");
         }},
        {"stale save of the tournament",
         [](const QSqlDatabase& db, const Loaded& l) {
             TournamentData changed = l.tournament;
             changed[TournamentField::tische] = s("16");
             updateTournament(db, kTid, l.tournament, changed);
         },
         [](const QSqlDatabase& db, const Loaded& l) {
             TournamentData changed = l.tournament;
             changed[TournamentField::baelle] = s("weiß");
             updateTournament(db, kTid, l.tournament, changed);
         },
         s("Das Turnier wurde inzwischen an einem anderen Arbeitsplatz geändert. Die Seite wird neu geladen."),
         [](const QSqlDatabase& db) {
             const TournamentData t = *readTournament(db, kTid);
             return t.text(TournamentField::tische) == s("16") && t.text(TournamentField::baelle).isEmpty()
                        ? QString()
                        : s("desk A's change of the tournament is lost");
         }},
        {"check-in of a player kept by a stale save",
         [](const QSqlDatabase& db, const Loaded&) { spieleranmeldung(db, kTid, 1, true, kHerren); },
         [](const QSqlDatabase& db, const Loaded& l) {
             updatePlayer(db, l.player, renamed(l.player.record, "TSV"), {kHerren, kDoppel});
         },
         QString(),
         [](const QSqlDatabase& db) {
             return expectCount(db, "SELECT gemeldet FROM Spieler_im_turnier WHERE SID=1 AND KID=1", 1);
         }},
        {"alle Spieler in opposite orders",
         [](const QSqlDatabase& db, const Loaded&) { setPlayersCheckIn(db, kTid, {1, 2, 3, 4, 5, 6}, true, 0); },
         [](const QSqlDatabase& db, const Loaded&) { setPlayersCheckIn(db, kTid, {6, 5, 4, 3, 2, 1}, false, 0); },
         QString(),
         [](const QSqlDatabase& db) { return expectCount(db, "SELECT COUNT(*) FROM Spieler_im_turnier WHERE gemeldet=1", 0); }},
    };
    return list;
}

// Runs `action` on a connection of its own in a thread; finished() once it has
// ended, error() its exception's text.
class DeskThread {
public:
    DeskThread(const TestDatabase& tdb, std::function<void(const QSqlDatabase&)> action)
    {
        m_thread.reset(QThread::create([this, &tdb, action] {
            try {
                ScopedConnection desk(tdb.openDesk(uniqueConnectionName(s("desk"))));
                m_pid = backendOf(desk.db()) == Backend::PostgreSQL
                            ? scalar(desk.db(), s("SELECT pg_backend_pid()")).toInt()
                            : -1;
                action(desk.db());
            } catch (const std::exception& e) {
                m_error = exceptionText(e);
            }
        }));
        m_thread->start();
    }
    ~DeskThread() { m_thread->wait(); }

    int pid() const { return m_pid; }
    bool finished() const { return m_thread->isFinished(); }
    QString error()
    {
        m_thread->wait();
        return m_error;
    }

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<int> m_pid{0};
    QString m_error;
};

// Whether the server backend waits for a lock another one holds.
// The activity view is read once per transaction unless its snapshot is cleared.
bool runsStatement(const QSqlDatabase& monitor, int pid)
{
    scalar(monitor, s("SELECT pg_stat_clear_snapshot()"));
    return scalar(monitor, s("SELECT state FROM pg_stat_activity WHERE pid=:pid"), {{s("pid"), pid}}).toString()
        == s("active");
}

bool waitsForLock(const QSqlDatabase& monitor, int pid)
{
    return pid > 0
        && scalar(monitor, s("SELECT cardinality(pg_blocking_pids(:pid))"), {{s("pid"), pid}}).toInt() > 0;
}

} // namespace

class TestTwoDesks : public QObject {
    Q_OBJECT

private slots:
    void races_data()
    {
        addBackendColumn();
        QTest::addColumn<int>("race");
        for (int i = 0; i < raceTable().size(); ++i) {
            for (const auto& [name, backend] :
                 {std::pair{"sqlite", Backend::SQLite}, std::pair{"postgresql", Backend::PostgreSQL}})
                QTest::newRow(qPrintable(s("%1 %2").arg(s(raceTable()[i].name), s(name)))) << backend << i;
        }
    }
    void races()
    {
        QFETCH(Backend, backend);
        QFETCH(int, race);
        const Race& r = raceTable()[race];
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase a = tdb.db();
        seedTournament(a);
        const Loaded loaded(a);
        QString errorB;
        {
            Transaction transaction(a);
            r.deskA(a, loaded);
            DeskThread deskB(tdb, [&](const QSqlDatabase& b) { r.deskB(b, loaded); });
            if (backend == Backend::PostgreSQL) {
                const QSqlDatabase monitor = tdb.open();
                QVERIFY(QTest::qWaitFor([&] { return deskB.finished() || waitsForLock(monitor, deskB.pid()); }));
            }
            transaction.commit();
            errorB = deskB.error();
        }
        QCOMPARE(errorB, r.messageB);
        const QString problem = r.check(a);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(orphans(a), QStringList());
    }

    // "alle Spieler" from two desks at the same time, in opposite list orders
    // and opposite flags, again and again: every run of either desk succeeds.
    void checkInFromTwoDesksAtOnce_data() { addBackendColumn(); addBackendRows(); }
    void checkInFromTwoDesksAtOnce()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedTournament(tdb.db());
        constexpr int rounds = 20;
        auto desk = [&](QList<int> order, bool flag) {
            return [order, flag](const QSqlDatabase& db) {
                for (int i = 0; i < rounds; ++i)
                    setPlayersCheckIn(db, kTid, order, (i % 2 == 0) == flag, 0);
            };
        };
        DeskThread up(tdb, desk({1, 2, 3, 4, 5, 6}, true));
        DeskThread down(tdb, desk({6, 5, 4, 3, 2, 1}, false));
        QCOMPARE(up.error(), QString());
        QCOMPARE(down.error(), QString());
    }

    // A deadlock the server breaks off: the desk it picks runs its action again.
    // Desk B has checked in player 1 and waits, before player 2, until desk A,
    // holding player 2, waits for player 1; then B asks for player 2.
    void deadlockedCheckInRunsAgain()
    {
        TestDatabase tdb(Backend::PostgreSQL);
        if (!tdb.ready())
            return;
        const QSqlDatabase a = tdb.db();
        seedTournament(a);
        execute(a, s("SET deadlock_timeout='60s'")); // the server breaks off B's transaction, not A's
        const int pidA = scalar(a, s("SELECT pg_backend_pid()")).toInt();
        std::atomic<bool> holdsFirst{false};
        int firstPlayerWrites = 0;
        Transaction transaction(a);
        execute(a, s("UPDATE Spieler_im_turnier SET gemeldet=1 WHERE SID=2"));
        DeskThread deskB(tdb, [&](const QSqlDatabase& b) {
            execute(b, s("SET deadlock_timeout='50ms'"));
            setPlayersCheckIn(b, kTid, {2, 1}, false, 0, [&](int done, int) {
                if (done == 1) {
                    // On the rerun, let A (woken by B's rollback) finish taking
                    // player 1 first; asking at once may beat it to the row and
                    // meet A again.
                    if (++firstPlayerWrites > 1) {
                        QDeadlineTimer deadline(10000);
                        while (runsStatement(b, pidA) && !deadline.hasExpired())
                            QThread::msleep(2);
                    }
                    return;
                }
                if (firstPlayerWrites > 1)
                    return;
                holdsFirst = true;
                QDeadlineTimer deadline(10000);
                while (!waitsForLock(b, pidA) && !deadline.hasExpired())
                    QThread::msleep(2);
            });
        });
        QVERIFY(QTest::qWaitFor([&] { return holdsFirst.load() || deskB.finished(); }));
        execute(a, s("UPDATE Spieler_im_turnier SET gemeldet=1 WHERE SID=1"));
        transaction.commit();
        QCOMPARE(deskB.error(), QString());
        QCOMPARE(firstPlayerWrites, 2);
        QCOMPARE(count(a, "SELECT COUNT(*) FROM Spieler_im_turnier WHERE gemeldet=1"), 0);
    }

    // The server ends the connection (a restart, a network cut): the action
    // that meets the broken connection is told so in German and leaves nothing
    // half-done; the next action opens the connection again and works.
    void connectionEndedByTheServer_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("message");
        const QString lost = s("Die Verbindung zum Datenbankserver wurde unterbrochen.\r");
        QTest::newRow("before a reading action") << s("read") << lost + s("Sie wird bei der nächsten Aktion neu aufgebaut.");
        const QString unsaved = lost + s("Die Änderung wurde nicht gespeichert. Die Verbindung wird bei der nächsten "
                                         "Aktion neu aufgebaut.");
        QTest::newRow("before a save") << s("save") << unsaved;
        QTest::newRow("in the middle of a save") << s("during") << unsaved;
    }
    void connectionEndedByTheServer()
    {
        QFETCH(QString, when);
        QFETCH(QString, message);
        TestDatabase tdb(Backend::PostgreSQL);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedTournament(db);
        const QSqlDatabase monitor = tdb.open();
        const QStringList before = dumpTables(monitor);
        auto endConnection = [&] {
            const int pid = scalar(db, s("SELECT pg_backend_pid()")).toInt();
            QVERIFY(scalar(monitor, s("SELECT pg_terminate_backend(:pid, 10000)"), {{s("pid"), pid}}).toBool());
        };
        const PlayerData loaded = *readPlayer(db, 1);
        auto save = [&] { updatePlayer(db, loaded, renamed(loaded.record, "TSV"), {kHerren}); };
        try {
            if (when == s("read")) {
                endConnection();
                readPlayer(db, 1);
            } else if (when == s("save")) {
                endConnection();
                save();
            } else {
                inTransaction(db, [&] {
                    spieleranmeldung(db, kTid, 1, true, 0);
                    endConnection();
                    save();
                });
            }
            QFAIL("the action went on over the ended connection");
        } catch (const DbError& e) {
            QCOMPARE(e.message(), message);
            QCOMPARE(e.kind(), DbError::Kind::ConnectionLost);
        }
        QVERIFY(!Transaction::active(db));
        QCOMPARE(dumpTables(monitor), before);
        // The next action, a save, opens the connection again.
        save();
        QCOMPARE(readPlayer(monitor, 1)->record.verein, s("TSV"));
    }
};

QTEST_GUILESS_MAIN(TestTwoDesks)
#include "test_twodesks.moc"
