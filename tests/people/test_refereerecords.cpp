// Referee records on both backends: a Null birth date round-trips, the page's
// checks in their order, insert with its classes, update replacing them,
// delete, a failed save leaves nothing, and the surname prefix search.
#include "data/concurrency.h"
#include "data/refereerecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "peoplefixtures.h"
#include "platform/apperror.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

RefereeRecord sample()
{
    RefereeRecord r;
    r.snname = s("Schulz");
    r.svname = s("Karl");
    r.sgeb = QDate(1970, 3, 4);
    r.sverein = s("TTC");
    r.sangemeldet = true;
    r.skverband = s("Kreis");
    r.sbverband = s("Bund");
    r.slverband = s("Land");
    r.sland = s("GER");
    r.smemo = s("Zeile 1\nZeile 2");
    r.sklasse = s("Oberliga");
    return r;
}

} // namespace

class TestRefereeRecords : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        addBackendColumn();
        QTest::addColumn<bool>("nullBirth");
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            QTest::newRow(qPrintable(s(name) + s(" birth date"))) << backend << false;
            QTest::newRow(qPrintable(s(name) + s(" no birth date"))) << backend << true;
        }
    }
    void roundTrip()
    {
        QFETCH(Backend, backend);
        QFETCH(bool, nullBirth);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 3, s("A"));
        seedClass(db, 1, 4, s("B"), ClassKind::Doppel);
        insertRow(db, s("Schiri"), {{s("TID"), 2}, {s("SCHIRIID"), 8}});
        RefereeRecord r = sample();
        if (nullBirth)
            r.sgeb.reset();
        const int id = insertReferee(db, 1, r, {3, 4});
        QCOMPARE(id, 9); // above every tournament's referees
        const auto data = readReferee(db, id);
        QVERIFY(data);
        QCOMPARE(data->record, r);
        QCOMPARE(data->kids, (QList<int>{3, 4}));
        QCOMPARE(scalar(db, s("SELECT sgeb FROM Schiri WHERE SCHIRIID=9")).isNull(), nullBirth);

        // An update replaces the classes.
        r.snname = s("Schulze");
        updateReferee(db, *readReferee(db, id), r, {4});
        QCOMPARE(readReferee(db, id)->record.snname, s("Schulze"));
        QCOMPARE(readReferee(db, id)->kids, (QList<int>{4}));
        QCOMPARE(readReferee(db, 8)->record.snname, s("x")); // the other one untouched

        deleteReferee(db, id);
        QVERIFY(!readReferee(db, id));
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Schiri_im_turnier WHERE SCHIRIID=9")).toInt(), 0);
    }

    void checks_data()
    {
        QTest::addColumn<QString>("nachname");
        QTest::addColumn<QString>("vorname");
        QTest::addColumn<QString>("verein");
        QTest::addColumn<QString>("geb");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("storedClub");
        QTest::newRow("both names empty") << " " << "" << "" << "x" << "Bitte geben Sie einen Nachnamen ein" << "";
        QTest::newRow("first name empty") << "Meier" << "  " << "" << "" << "Bitte geben Sie einen Vornamen ein" << "";
        QTest::newRow("bad date") << "Meier" << "Hans" << "TTC" << "30.2.1970"
                                  << "Das Geburtsdatum wurde nicht korrekt eingegeben" << "";
        QTest::newRow("empty club") << "Meier" << "Hans" << " " << "" << "" << "ohne Verein";
        QTest::newRow("valid") << "Meier" << "Hans" << "TTC" << "4.3.1970" << "" << "TTC";
    }
    void checks()
    {
        QFETCH(QString, nachname);
        QFETCH(QString, vorname);
        QFETCH(QString, verein);
        QFETCH(QString, geb);
        QFETCH(QString, error);
        QFETCH(QString, storedClub);
        RefereeTexts t;
        t.nachname = nachname;
        t.vorname = vorname;
        t.verein = verein;
        t.geb = geb;
        t.memo = s("  Notiz\nzweite Zeile \n");
        const RefereeConversion c = convertRefereeTexts(t);
        QCOMPARE(c.error, error);
        QCOMPARE(c.record.has_value(), error.isEmpty());
        if (c.record) {
            QCOMPARE(c.record->sverein, storedClub);
            // Stored with CR LF, as every memo.
            QCOMPARE(c.record->smemo, s("Notiz\r\nzweite Zeile"));
        }
    }

    void failedSaveLeavesNothing_data() { addBackendColumn(); addBackendRows(); }
    void failedSaveLeavesNothing()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 3, s("A"));
        const int id = insertReferee(db, 1, sample(), {3});
        breakStatementsOn(db, s("Schiri_im_turnier"), s("INSERT"));
        const QStringList before = dumpTables(db);
        QVERIFY_THROWS_EXCEPTION(DbError, insertReferee(db, 1, sample(), {3}));
        QVERIFY_THROWS_EXCEPTION(DbError, updateReferee(db, *readReferee(db, id), sample(), {3}));
        RefereeData vanished = *readReferee(db, id);
        vanished.id = 77;
        QVERIFY_THROWS_EXCEPTION(StaleRecord, updateReferee(db, vanished, sample(), {}));
        QCOMPARE(dumpTables(db), before);
        QVERIFY(!Transaction::active(db));
    }

    void prefixSearch()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        RefereeRecord r = sample();
        r.snname = QString::fromUtf8("Öztürk");
        r.svname = s("Ali");
        insertReferee(db, 1, r, {});
        r.snname = s("Meier");
        r.svname = s("Hans");
        insertReferee(db, 1, r, {});
        r.svname = s("Anton");
        insertReferee(db, 1, r, {});
        QCOMPARE(findRefereeByPrefix(db, 1, QString::fromUtf8("öz"))->name(), QString::fromUtf8("Öztürk, Ali"));
        QCOMPARE(findRefereeByPrefix(db, 1, s("MEI"))->name(), s("Meier, Anton"));
        QVERIFY(!findRefereeByPrefix(db, 1, s("%")));
        QVERIFY(!findRefereeByPrefix(db, 2, s("M")));
        QCOMPARE(loadReferees(db, 1).size(), 3);
    }

    void classesOffered()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 1, s("Herren"), ClassKind::Einzel);
        seedClass(db, 1, 2, s("Damen"), ClassKind::Mixed);
        seedClass(db, 1, 3, s("Herren"), ClassKind::Team);
        seedClass(db, 2, 4, s("Andere"), ClassKind::Einzel);
        QStringList texts;
        for (const RefereeClass& c : loadRefereeClasses(db, 1))
            texts << c.text;
        QCOMPARE(texts, (QStringList{s("Damen (Mixed)"), s("Herren (Einzel)"), s("Herren (Team)")}));
    }
};

QTEST_GUILESS_MAIN(TestRefereeRecords)
#include "test_refereerecords.moc"
