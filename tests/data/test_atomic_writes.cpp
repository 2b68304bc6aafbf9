// The fault-injection loop over the writes of players, referees, partners,
// classes and tournaments, on both backends: with statement N failing, for
// every N until the write completes, each one must leave the database exactly
// as it was (checkAtomic).
#include "data/cascades.h"
#include "data/partnerrecords.h"
#include "data/playerrecords.h"
#include "data/refereerecords.h"
#include "data/tournamentrecords.h"
#include "support/testdatabase.h"
#include "tournamentfixture.h"

#include <QTest>

#include <functional>

using namespace bw;
using namespace bw::test;

namespace {

PlayerRecord newPlayer()
{
    PlayerRecord r;
    r.nachname = s("Neumann");
    r.vorname = s("Lea");
    r.verein = s("TSV Auenfeld");
    r.geb = QDate(2001, 4, 2);
    r.mann = false;
    r.frau = true;
    return r;
}

struct Write {
    const char* name;
    std::function<void(const QSqlDatabase& db)> action;
};

const QList<Write>& writes()
{
    static const QList<Write> list{
        {"insertPlayer", [](const QSqlDatabase& db) { insertPlayer(db, kTid, newPlayer(), {kHerren, kDoppel}); }},
        {"updatePlayer",
         [](const QSqlDatabase& db) {
             const PlayerData loaded = *readPlayer(db, 1);
             updatePlayer(db, loaded, newPlayer(), {kHerren, kLiga});
         }},
        {"deletePlayer", [](const QSqlDatabase& db) { deletePlayer(db, 1); }},
        {"insertReferee",
         [](const QSqlDatabase& db) { insertReferee(db, kTid, readReferee(db, kReferee)->record, {kHerren, kDoppel}); }},
        {"updateReferee",
         [](const QSqlDatabase& db) {
             const RefereeData loaded = *readReferee(db, kReferee);
             RefereeRecord r = loaded.record;
             r.sklasse = s("B");
             updateReferee(db, loaded, r, {kDoppel, kLiga});
         }},
        {"deleteReferee", [](const QSqlDatabase& db) { deleteReferee(db, kReferee); }},
        {"storePartners (a partner taken over)",
         [](const QSqlDatabase& db) { storePartners(db, 3, {{kDoppel, 1}}, {{kDoppel, 1}}); }},
        {"deleteClass", [](const QSqlDatabase& db) { deleteClass(db, kDoppel); }},
        {"insertTournament",
         [](const QSqlDatabase& db) {
             TournamentData t;
             t[TournamentField::turniername] = s("Pokal");
             insertTournament(db, t, {true, false, true, false});
         }},
        {"player page: a changed player with partners",
         [](const QSqlDatabase& db) {
             const PlayerData loaded = *readPlayer(db, 1);
             savePlayer(db, kTid, loaded, newPlayer(), {kHerren, kDoppel}, {{kDoppel, 3}}, {});
         }},
        {"player page: a new player with a partner taken over",
         [](const QSqlDatabase& db) {
             savePlayer(db, kTid, std::nullopt, newPlayer(), {kDoppel}, {{kDoppel, 2}}, {{kDoppel, 2}});
         }},
    };
    return list;
}

} // namespace

class TestAtomicWrites : public QObject {
    Q_OBJECT

private slots:
    void everyStatementMayFail_data()
    {
        addBackendColumn();
        QTest::addColumn<int>("write");
        for (int i = 0; i < writes().size(); ++i) {
            for (const auto& [name, backend] :
                 {std::pair{"sqlite", Backend::SQLite}, std::pair{"postgresql", Backend::PostgreSQL}})
                QTest::newRow(qPrintable(s("%1 %2").arg(s(writes()[i].name), s(name)))) << backend << i;
        }
    }
    void everyStatementMayFail()
    {
        QFETCH(Backend, backend);
        QFETCH(int, write);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedTournament(db);
        int runs = 0;
        const QString failure = checkAtomic(db, [&] { writes()[write].action(db); }, {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY2(runs > 2, qPrintable(s("only %1 runs").arg(runs)));
    }
};

QTEST_GUILESS_MAIN(TestAtomicWrites)
#include "test_atomic_writes.moc"
