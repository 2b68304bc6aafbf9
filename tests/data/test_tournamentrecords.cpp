// Tournament records on both backends: every field round-trips with texts
// trimmed, an update keeps the live id, the list of tournaments, and inserting a
// tournament with its options row is one transaction.
#include "data/sql.h"
#include "data/tournamentrecords.h"
#include "support/testdatabase.h"
#include "tournamentsample.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

class TestTournamentRecords : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void roundTrip()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const TournamentData data = sampleTournament();
        const int first = insertTournament(db, data, {true, false, true, false});
        const int second = insertTournament(db, TournamentData(), {true, true, true, true});
        QCOMPARE(first, 1);
        QCOMPARE(second, 2);
        compareTournaments(*readTournament(db, first), trimmed(data));
        QCOMPARE(scalar(db, s("SELECT LiveID FROM Turnierdaten WHERE TID=1")).toInt(), 0);
        QCOMPARE(scalar(db, s("SELECT einstellung2 FROM Einstellungen WHERE TID=1")).toInt(), 0);
        QCOMPARE(scalar(db, s("SELECT einstellung3 FROM Einstellungen WHERE TID=1")).toInt(), 1);

        // An update writes every field and keeps the live id.
        execute(db, s("UPDATE Turnierdaten SET LiveID=77 WHERE TID=1"));
        TournamentData changed = data;
        for (int i = 0; i < kTournamentFieldCount; ++i) {
            const auto field = TournamentField(i);
            changed[field] = isDateField(field) ? QVariant(QDate(2028, 1, 31).addDays(-i))
                                                : QVariant(QStringLiteral("neu %1").arg(i));
        }
        const StoredTournament stored = saveTournament(db, first, readTournament(db, first), changed, {});
        compareTournaments(*readTournament(db, first), changed);
        QCOMPARE(stored.tid, first);
        QCOMPARE(stored.data, *readTournament(db, first));
        QCOMPARE(scalar(db, s("SELECT LiveID FROM Turnierdaten WHERE TID=1")).toInt(), 77);
        QVERIFY(!readTournament(db, 99));

        const QList<TournamentEntry> list = listTournaments(db);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0).name, s("neu 0"));
    }

    void insertIsAtomic_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void insertIsAtomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        int runs = 0;
        const QString failure =
            checkAtomic(db, [&] { insertTournament(db, sampleTournament(), {true, true, false, false}); }, {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(runs >= 2);
    }
};

QTEST_GUILESS_MAIN(TestTournamentRecords)
#include "test_tournamentrecords.moc"
