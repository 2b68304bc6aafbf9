// What the live link stores, on both backends: the tournament's online
// tournament and the class mapping, each guarded by what the desk read, the
// mapping in one transaction (fail-at-statement-N loop), and the classes in
// the German order of their names.
#include "data/livelinkrecords.h"
#include "data/sql.h"
#include "platform/apperror.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

constexpr int kTid = 3;
constexpr int kOtherTid = 4;

void seed(const QSqlDatabase& db)
{
    insertRow(db, QStringLiteral("Turnierdaten"), {{QStringLiteral("TID"), kTid}, {QStringLiteral("LiveID"), QVariant()}});
    insertRow(db, QStringLiteral("Turnierdaten"), {{QStringLiteral("TID"), kOtherTid}, {QStringLiteral("LiveID"), 99}});
    const auto addClass = [&](int kid, int tid, const char* name, int system, const QVariant& live) {
        insertRow(db, QStringLiteral("Turnierklassen"),
                  {{QStringLiteral("KID"), kid}, {QStringLiteral("TID"), tid}, {QStringLiteral("kbezeichnung"), QString::fromUtf8(name)},
                   {QStringLiteral("system"), system}, {QStringLiteral("LiveKlassenID"), live}});
    };
    addClass(1, kTid, "Herren", 1, 7);
    addClass(2, kTid, "herren", 0, QVariant());
    addClass(3, kTid, "Ärzte", 0, 0);
    addClass(4, kTid, "Zweier", 3, 8);
    addClass(5, kOtherTid, "Gast", 0, 7);
}

QMap<int, int> liveIds(const QSqlDatabase& db)
{
    QMap<int, int> ids;
    QSqlQuery q = execute(db, QStringLiteral("SELECT KID, LiveKlassenID FROM Turnierklassen"));
    while (q.next())
        ids.insert(q.value(0).toInt(), q.value(1).toInt());
    return ids;
}

} // namespace

class TestLiveLinkRecords : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_tdb;
    QSqlDatabase db() const { return m_tdb->db(); }
    bool open()
    {
        QFETCH(Backend, backend);
        m_tdb = std::make_unique<TestDatabase>(backend);
        if (!m_tdb->ready())
            return false;
        seed(db());
        return true;
    }

private slots:
    void cleanup() { m_tdb.reset(); }

    void tournamentAssignment_data() { addBackendColumn(); addBackendRows(); }
    void tournamentAssignment()
    {
        if (!open())
            return;
        QCOMPARE(readLiveTournamentId(db(), kTid), 0); // Null
        QCOMPARE(readLiveTournamentId(db(), 77), 0);   // no such tournament
        storeLiveTournamentId(db(), kTid, 0, 4711);
        QCOMPARE(readLiveTournamentId(db(), kTid), 4711);
        QCOMPARE(readLiveTournamentId(db(), kOtherTid), 99);

        // Another desk assigned meanwhile: nothing is written.
        QVERIFY_THROWS_EXCEPTION(AppError, storeLiveTournamentId(db(), kTid, 0, 4712));
        QCOMPARE(readLiveTournamentId(db(), kTid), 4711);
        QVERIFY_THROWS_EXCEPTION(AppError, storeLiveTournamentId(db(), 77, 0, 1));
        storeLiveTournamentId(db(), kTid, 4711, 0);
        QCOMPARE(readLiveTournamentId(db(), kTid), 0);
    }

    void classesInGermanOrder_data() { addBackendColumn(); addBackendRows(); }
    void classesInGermanOrder()
    {
        if (!open())
            return;
        const QList<LinkedClass> classes = readLinkedClasses(db(), kTid);
        QCOMPARE(classes, (QList<LinkedClass>{{3, QStringLiteral("Ärzte"), ClassKind::Einzel, 0},
                                              {2, QStringLiteral("herren"), ClassKind::Einzel, 0},
                                              {1, QStringLiteral("Herren"), ClassKind::Doppel, 7},
                                              {4, QStringLiteral("Zweier"), ClassKind::Team, 8}}));
    }

    void mapping_data() { addBackendColumn(); addBackendRows(); }
    void mapping()
    {
        if (!open())
            return;
        const QList<LinkedClass> read = readLinkedClasses(db(), kTid);
        // Herren stays at 7, herren gets 9, Zweier loses its 8; the other tournament is untouched.
        storeClassMapping(db(), kTid, read, {{1, 7}, {2, 9}});
        QCOMPARE(liveIds(db()), (QMap<int, int>{{1, 7}, {2, 9}, {3, 0}, {4, 0}, {5, 7}}));

        // Saving nothing clears what was read.
        storeClassMapping(db(), kTid, readLinkedClasses(db(), kTid), {});
        QCOMPARE(liveIds(db()), (QMap<int, int>{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 7}}));
    }

    void mappingConflict_data() { addBackendColumn(); addBackendRows(); }
    void mappingConflict()
    {
        if (!open())
            return;
        const QList<LinkedClass> read = readLinkedClasses(db(), kTid);
        execute(db(), QStringLiteral("UPDATE Turnierklassen SET LiveKlassenID=12 WHERE KID=4"));
        const QMap<int, int> before = liveIds(db());
        try {
            storeClassMapping(db(), kTid, read, {{2, 9}, {3, 5}});
            QFAIL("the change of another desk was overwritten");
        } catch (const AppError& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("Die Klasse \"Zweier\" wurde inzwischen an einem anderen Arbeitsplatz geändert."));
        }
        QCOMPARE(liveIds(db()), before);

        // A class deleted meanwhile that the save would change.
        execute(db(), QStringLiteral("DELETE FROM Turnierklassen WHERE KID=1"));
        QVERIFY_THROWS_EXCEPTION(AppError, storeClassMapping(db(), kTid, readLinkedClasses(db(), kTid) << read.at(2), {}));
    }

    void mappingIsAtomic_data() { addBackendColumn(); addBackendRows(); }
    void mappingIsAtomic()
    {
        if (!open())
            return;
        const QList<LinkedClass> read = readLinkedClasses(db(), kTid);
        int runs = 0;
        QCOMPARE(checkAtomic(db(), [&] { storeClassMapping(db(), kTid, read, {{2, 9}, {3, 9}, {4, 1}}); }, {}, {}, &runs),
                 QString());
        QCOMPARE(runs, 5); // four changed classes, then the run that completes
        QCOMPARE(liveIds(db()), (QMap<int, int>{{1, 0}, {2, 9}, {3, 9}, {4, 1}, {5, 7}}));
    }
};

QTEST_GUILESS_MAIN(TestLiveLinkRecords)
#include "test_livelinkrecords.moc"
