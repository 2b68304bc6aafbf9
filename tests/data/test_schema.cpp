// The tournament database as prepared from the schema: structure and column
// order on both backends and in every structure version, the KO_System rows, the
// key helper (also under concurrent desks), the two delete cascades with their
// rollback, the stored forms of dates and yes/no values, and brackwell-mkdb.
#include "data/cascades.h"
#include "data/connection.h"
#include "data/dbvalue.h"
#include "data/faultinjection.h"
#include "data/keys.h"
#include "data/kosystem.h"
#include "data/preparation.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlRecord>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace bw;
using namespace bw::test;

namespace {

int count(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {})
{
    return scalar(db, sql, params).toInt();
}

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Makes every DELETE on a table fail inside the database itself.
void breakDeletesOn(const QSqlDatabase& db, const QString& table)
{
    if (backendOf(db) == Backend::SQLite) {
        execute(db, QStringLiteral("CREATE TRIGGER fault BEFORE DELETE ON %1 "
                                   "BEGIN SELECT RAISE(ABORT, 'eingeschleuster Fehler'); END")
                        .arg(table));
    } else {
        execute(db, QStringLiteral("CREATE FUNCTION fault() RETURNS trigger AS $$ BEGIN "
                                   "RAISE EXCEPTION 'eingeschleuster Fehler'; END $$ LANGUAGE plpgsql"));
        execute(db, QStringLiteral("CREATE TRIGGER fault BEFORE DELETE ON %1 FOR EACH ROW EXECUTE FUNCTION fault()")
                        .arg(table));
    }
}

// A tournament with two classes and a row in every table that hangs off it.
void seedTournament(const QSqlDatabase& db, int tid, int firstKid, int firstSid)
{
    const QVariantMap t{{QStringLiteral("TID"), tid}};
    insertRow(db, QStringLiteral("Turnierdaten"), t);
    insertRow(db, QStringLiteral("Einstellungen"), {{QStringLiteral("TID"), tid}, {QStringLiteral("version"), QVariant()}});
    insertRow(db, QStringLiteral("Altersklasse"), t);
    for (int i = 0; i < 2; ++i) {
        const int kid = firstKid + i;
        const int sid = firstSid + i;
        const QVariantMap tk{{QStringLiteral("TID"), tid}, {QStringLiteral("KID"), kid}};
        insertRow(db, QStringLiteral("Turnierklassen"), tk);
        insertRow(db, QStringLiteral("Spielerdaten"), {{QStringLiteral("TID"), tid}, {QStringLiteral("SID"), sid}});
        insertRow(db, QStringLiteral("Spieler_im_turnier"), {{QStringLiteral("TID"), tid}, {QStringLiteral("KID"), kid}, {QStringLiteral("SID"), sid}});
        insertRow(db, QStringLiteral("Schiri"), {{QStringLiteral("TID"), tid}, {QStringLiteral("SCHIRIID"), sid}});
        insertRow(db, QStringLiteral("Schiri_im_turnier"), {{QStringLiteral("TID"), tid}, {QStringLiteral("KID"), kid}, {QStringLiteral("SCHIRIID"), sid}});
        insertRow(db, QStringLiteral("Teams"), {{QStringLiteral("TID"), tid}, {QStringLiteral("KID"), kid}, {QStringLiteral("MID"), sid}});
        for (const char* name : {"Platten1", "Teamsystem", "Spielplan", "Teamspiele"})
            insertRow(db, QString::fromLatin1(name), tk);
        for (const char* name : {"Platten", "Doppelpartner", "Gruppeneinstellungen", "Gesetzt", "Gruppen", "Tabellen"})
            insertRow(db, QString::fromLatin1(name), {{QStringLiteral("KID"), kid}});
        insertRow(db, QStringLiteral("Import"), {{QStringLiteral("KID"), kid}});
    }
}

// The rows of the schema tables that belong to a tournament (by TID or by its classes).
QStringList rowsOfTournament(const QSqlDatabase& db, int tid)
{
    QStringList rows;
    for (const TableDef& t : schemaTables()) {
        QString where;
        if (t.column(QStringLiteral("TID")))
            where = QStringLiteral("TID=:id");
        else if (t.column(QStringLiteral("KID")) && t.name != QLatin1String("Import"))
            where = QStringLiteral("KID IN (SELECT KID FROM Turnierklassen WHERE TID=:id)");
        if (where.isEmpty())
            continue;
        QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM %1 WHERE %2").arg(t.name, where), {{QStringLiteral("id"), tid}});
        while (q.next())
            rows << t.name;
    }
    return rows;
}

QStringList rowsOfClass(const QSqlDatabase& db, int kid)
{
    QStringList rows;
    for (const TableDef& t : schemaTables()) {
        if (!t.column(QStringLiteral("KID")) || t.name == QLatin1String("Import"))
            continue;
        QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM %1 WHERE KID=:id").arg(t.name), {{QStringLiteral("id"), kid}});
        while (q.next())
            rows << t.name;
    }
    return rows;
}

QString mkdbPath()
{
    return TempProgramFolder::buildProgramDir() + QStringLiteral("/brackwell-mkdb");
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private slots:
    void freshDatabaseHasTheColumnsInOrder_data() { addBackendColumn(); addBackendRows(); }
    void freshDatabaseHasTheColumnsInOrder()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        QCOMPARE(verifyStructure(db), QStringList());

        const QMap<QString, int> widths{
            {"Turnierdaten", 30}, {"Einstellungen", 6}, {"Turnierklassen", 20}, {"Altersklasse", 6},
            {"Platten1", 3}, {"Platten", 4}, {"Spielerdaten", 20}, {"Spieler_im_turnier", 4},
            {"Doppelpartner", 4}, {"Schiri", 13}, {"Schiri_im_turnier", 3}, {"Teamsystem", 23},
            {"Teams", 16}, {"Gruppeneinstellungen", 18}, {"Gesetzt", 4}, {"Gruppen", 10},
            {"Tabellen", 18}, {"Spielplan", 51}, {"Teamspiele", 47}, {"Import", 5}, {"KO_System", 3}};
        QCOMPARE(qsizetype(schemaTables().size()), widths.size());
        for (const TableDef& t : schemaTables()) {
            const QStringList live = liveColumns(db, t.name);
            QCOMPARE(live.size(), widths.value(t.name));
            const QStringList expected = columnNames(t.name);
            for (qsizetype i = 0; i < live.size(); ++i)
                QCOMPARE(live[i].toLower(), expected[i].toLower());
        }
        // Spot checks of the order that inserts depend on.
        const QStringList spieler = liveColumns(db, QStringLiteral("Spielerdaten"));
        QCOMPARE(spieler.at(12).toLower(), QStringLiteral("bezahlt"));
        QCOMPARE(spieler.at(19).toLower(), QStringLiteral("livespielerid"));
        QCOMPARE(liveColumns(db, QStringLiteral("Spielplan")).at(50).toLower(), QStringLiteral("tid"));
        QCOMPARE(liveColumns(db, QStringLiteral("Teamspiele")).at(34).toLower(), QStringLiteral("tid"));

        QCOMPARE(count(db, QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")), 6);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Einstellungen")), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten")), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM KO_System")), int(koSystemRows().size()));
        for (const int size : {2, 8, 256, 1024})
            QCOMPARE(readSeedPositions(db, size), seedPositions(size));
        QVERIFY(readSeedPositions(db, 12).empty());
    }

    void olderStructureVersions_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<int>("version");
        for (int v = kOldestStructureVersion; v <= kCurrentStructureVersion; ++v) {
            QTest::addRow("sqlite-%d", v) << Backend::SQLite << v;
            QTest::addRow("postgresql-%d", v) << Backend::PostgreSQL << v;
        }
    }
    void olderStructureVersions()
    {
        QFETCH(Backend, backend);
        QFETCH(int, version);
        TestDatabase tdb(backend, version);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        QCOMPARE(verifyStructure(db, version), QStringList());
        QCOMPARE(verifyStructure(db).isEmpty(), version == kCurrentStructureVersion);
        QCOMPARE(count(db, QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")), version);
        const auto has = [&](const char* t, const char* c) {
            return liveColumns(db, QString::fromLatin1(t)).contains(QString::fromLatin1(c), Qt::CaseInsensitive);
        };
        QCOMPARE(has("Import", "klassen"), version >= 3);
        QCOMPARE(has("Spielerdaten", "spielstaerke"), version >= 4);
        QCOMPARE(has("Turnierklassen", "nachgebuehr"), version >= 4);
        QCOMPARE(has("Spielerdaten", "gemeldet"), version <= 4);
        QCOMPARE(has("Spieler_im_turnier", "gemeldet"), version >= 5);
        QCOMPARE(has("Turnierdaten", "LiveID"), version >= 6);
    }

    void verifierNamesTheDifferences()
    {
        TestDatabase tdb(Backend::SQLite, kCurrentStructureVersion, TestDatabase::Content::Empty);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        for (const QString& statement : createStatements(Backend::SQLite)) {
            if (!statement.contains(QLatin1String("Import")) && !statement.contains(QLatin1String("KO_System"))
                && !statement.contains(QLatin1String("TABLE Gesetzt")))
                execute(db, statement);
        }
        execute(db, QStringLiteral("CREATE TABLE import (NACHNAME TEXT, KID INTEGER, vorname TEXT, verein TEXT, klassen TEXT)"));
        execute(db, QStringLiteral("CREATE TABLE Gesetzt (KID INTEGER, position INTEGER, SID INTEGER, partner_SID INTEGER, extra INTEGER)"));
        const QStringList differences = verifyStructure(db);
        QCOMPARE(differences,
                 QStringList({QStringLiteral("Tabelle Gesetzt: überzählige Spalte extra"),
                              QStringLiteral("Tabelle Import, Spalte 2: KID statt vorname"),
                              QStringLiteral("Tabelle Import, Spalte 3: vorname statt KID"),
                              QStringLiteral("Tabelle KO_System fehlt")}));
    }

    void koSystemSpreadsTheSeeds()
    {
        for (int n = 2; n <= kLargestBracket; n *= 2) {
            const std::vector<int> pos = seedPositions(n);
            QCOMPARE(int(pos.size()), n / 2);
            QSet<int> places, matches;
            for (int p : pos) {
                QVERIFY(p >= 1 && p <= n);
                places.insert(p);
                matches.insert((p - 1) / 2); // slots 2m+1 and 2m+2 meet in the first round
            }
            QCOMPARE(int(places.size()), n / 2);
            QCOMPARE(int(matches.size()), n / 2);
            QCOMPARE(pos[0], 1);
            if (n >= 4)
                QCOMPARE(pos[1], n);
            if (n >= 8) {
                QCOMPARE(pos[2], n / 2 + 1);
                QCOMPARE(pos[3], n / 2);
            }
            // Seeds 1..2^j sit one in each of the 2^j segments, and seed s meets
            // seed 2^j + 1 - s at the latest when 2^j players are left.
            for (int segments = 2; segments <= n / 2; segments *= 2) {
                const int size = n / segments;
                QSet<int> used;
                for (int s = 1; s <= segments; ++s)
                    used.insert((pos[size_t(s - 1)] - 1) / size);
                QCOMPARE(int(used.size()), segments);
                for (int s = 1; s <= segments / 2; ++s) {
                    const int o = segments + 1 - s;
                    QCOMPARE((pos[size_t(s - 1)] - 1) / (2 * size), (pos[size_t(o - 1)] - 1) / (2 * size));
                }
            }
        }
        QCOMPARE(seedPositions(16), std::vector<int>({1, 16, 9, 8, 5, 12, 13, 4}));
    }

    void koSystemRowsAreStored_data() { addBackendColumn(); addBackendRows(); }
    void koSystemRowsAreStored()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        QSqlQuery q = execute(tdb.db(), QStringLiteral("SELECT * FROM KO_System ORDER BY spieler, gesetzt"));
        for (const KoSystemRow& row : koSystemRows()) {
            QVERIFY(q.next());
            QCOMPARE(q.value(QStringLiteral("spieler")).toInt(), row.spieler);
            QCOMPARE(q.value(QStringLiteral("gesetzt")).toInt(), row.gesetzt);
            QCOMPARE(q.value(QStringLiteral("position")).toInt(), row.position);
        }
        QVERIFY(!q.next());
    }

    void keysAreLargestPlusOne_data() { addBackendColumn(); addBackendRows(); }
    void keysAreLargestPlusOne()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const QMap<QString, QString> keyed{{"Turnierdaten", "TID"}, {"Turnierklassen", "KID"},
                                           {"Spielerdaten", "SID"}, {"Schiri", "SCHIRIID"}, {"Teams", "MID"}};
        for (auto it = keyed.cbegin(); it != keyed.cend(); ++it) {
            Transaction transaction(db);
            QCOMPARE(nextKey(db, it.key()), 1);
            // Across tournaments: the maximum of the whole table counts.
            insertRow(db, it.key(), {{it.value(), 7}, {"TID", it.value() == "TID" ? 7 : 1}});
            insertRow(db, it.key(), {{it.value(), 3}, {"TID", it.value() == "TID" ? 3 : 2}});
            QCOMPARE(nextKey(db, it.key()), 8);
            // A deleted key comes back only when it was the largest.
            execute(db, QStringLiteral("DELETE FROM %1 WHERE %2=3").arg(it.key(), it.value()));
            QCOMPARE(nextKey(db, it.key()), 8);
            execute(db, QStringLiteral("DELETE FROM %1 WHERE %2=7").arg(it.key(), it.value()));
            QCOMPARE(nextKey(db, it.key()), 1);
            transaction.commit();
        }
        // Outside a transaction the key could be taken twice: refused.
        QVERIFY_THROWS_EXCEPTION(AppError, nextKey(db, QStringLiteral("Spielerdaten")));
        QVERIFY_THROWS_EXCEPTION(AppError, nextKey(db, QStringLiteral("Platten")));
    }

    void racingDesksGetDistinctKeys_data() { addBackendColumn(); addBackendRows(); }
    void racingDesksGetDistinctKeys()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        constexpr int desks = 4, players = 25;
        std::atomic<int> failures{0};
        QString firstError;
        QList<QThread*> threads;
        for (int d = 0; d < desks; ++d) {
            threads << QThread::create([&, d] {
                const QString name = uniqueConnectionName(QStringLiteral("desk"));
                try {
                    ScopedConnection desk(backend == Backend::SQLite ? openSqlite(tdb.sqlitePath(), name)
                                                                     : tdb.pg()->open(name));
                    for (int i = 0; i < players; ++i) {
                        Transaction transaction(desk.db());
                        const int sid = nextKey(desk.db(), QStringLiteral("Spielerdaten"));
                        QThread::yieldCurrentThread();
                        insertRow(desk.db(), QStringLiteral("Spielerdaten"), {{"SID", sid}, {"TID", d + 1}});
                        transaction.commit();
                    }
                } catch (const std::exception& e) {
                    if (failures++ == 0)
                        firstError = QString::fromUtf8(e.what());
                }
            });
        }
        for (QThread* t : threads)
            t->start();
        for (QThread* t : threads) {
            t->wait();
            delete t;
        }
        QVERIFY2(failures == 0, qPrintable(firstError));
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(DISTINCT SID) FROM Spielerdaten")), desks * players);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT MAX(SID) FROM Spielerdaten")), desks * players);
    }

    void nestedTransactionsJoinTheOuter_data() { addBackendColumn(); addBackendRows(); }
    void nestedTransactionsJoinTheOuter()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        {
            Transaction outer(db);
            insertRow(db, QStringLiteral("Turnierdaten"), {{"TID", 1}});
            {
                Transaction inner(db);
                insertRow(db, QStringLiteral("Turnierdaten"), {{"TID", 2}});
                inner.commit();
            }
            outer.commit();
        }
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten")), 2);
        // An inner level that ends without commit (an exception passed through it)
        // undoes the whole action, even if the outer level tries to commit.
        {
            Transaction outer(db);
            insertRow(db, QStringLiteral("Turnierdaten"), {{"TID", 3}});
            try {
                Transaction inner(db);
                insertRow(db, QStringLiteral("Turnierdaten"), {{"TID", 4}});
                throw AppError(QStringLiteral("abgebrochen"));
            } catch (const AppError&) {
            }
            QVERIFY_THROWS_EXCEPTION(DbError, outer.commit());
        }
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten")), 2);
        QVERIFY(!Transaction::active(db));
    }

    void deletingATournamentRemovesOnlyItsRows_data() { addBackendColumn(); addBackendRows(); }
    void deletingATournamentRemovesOnlyItsRows()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedTournament(db, 1, 10, 100);
        seedTournament(db, 2, 20, 200);
        QCOMPARE(rowsOfTournament(db, 1).size(), 35);
        const QStringList otherBefore = rowsOfTournament(db, 2);
        const QStringList koBefore = dumpTables(db, {QStringLiteral("KO_System")});

        deleteTournament(db, 1);

        QCOMPARE(rowsOfTournament(db, 1), QStringList());
        QCOMPARE(rowsOfTournament(db, 2), otherBefore);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Import")), 0); // also tournament 2's staging rows
        QCOMPARE(dumpTables(db, {QStringLiteral("KO_System")}), koBefore);
        QCOMPARE(count(db, QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")), 6);
    }

    void deletingAClassRemovesOnlyItsRows_data() { addBackendColumn(); addBackendRows(); }
    void deletingAClassRemovesOnlyItsRows()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedTournament(db, 1, 10, 100);
        const QStringList before = dumpTables(db);
        QCOMPARE(rowsOfClass(db, 10).size(), 14);

        deleteClass(db, 10);

        QCOMPARE(rowsOfClass(db, 10), QStringList());
        // Everything else stays, the other class included.
        const QStringList after = dumpTables(db);
        for (const QString& line : after)
            QVERIFY2(before.contains(line), qPrintable(line));
        QCOMPARE(rowsOfClass(db, 11).size(), 14);
        QCOMPARE(before.size() - after.size(), 14);
    }

    void cascadesRollBackCompletely_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<bool>("wholeTournament");
        QTest::addColumn<QString>("failingTable");
        for (const char* t : {"Turnierdaten", "Import", "Teams", "Teamspiele"}) {
            QTest::addRow("sqlite-tournament-%s", t) << Backend::SQLite << true << QString::fromLatin1(t);
            QTest::addRow("postgresql-tournament-%s", t) << Backend::PostgreSQL << true << QString::fromLatin1(t);
        }
        for (const char* t : {"Turnierklassen", "Spielplan", "Teamspiele"}) {
            QTest::addRow("sqlite-class-%s", t) << Backend::SQLite << false << QString::fromLatin1(t);
            QTest::addRow("postgresql-class-%s", t) << Backend::PostgreSQL << false << QString::fromLatin1(t);
        }
    }
    void cascadesRollBackCompletely()
    {
        QFETCH(Backend, backend);
        QFETCH(bool, wholeTournament);
        QFETCH(QString, failingTable);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedTournament(db, 1, 10, 100);
        seedTournament(db, 2, 20, 200);
        breakDeletesOn(db, failingTable);
        const QStringList before = dumpTables(db);

        if (wholeTournament)
            QVERIFY_THROWS_EXCEPTION(DbError, deleteTournament(db, 1));
        else
            QVERIFY_THROWS_EXCEPTION(DbError, deleteClass(db, 10));

        QVERIFY(!Transaction::active(db));
        QCOMPARE(dumpTables(db), before);
        if (backend == Backend::SQLite)
            QCOMPARE(scalar(db, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    }

    void datesAndYesNoValuesRoundTrip_data() { addBackendColumn(); addBackendRows(); }
    void datesAndYesNoValuesRoundTrip()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        // Summer and winter time, a day at midnight, and the hour that comes twice.
        const QDateTime summer(QDate(2026, 7, 4), QTime(23, 30, 5));
        const QDateTime winter(QDate(2026, 1, 2), QTime(0, 0, 0));
        const QDateTime switchOver(QDate(2026, 10, 25), QTime(2, 30, 0));
        insertRow(db, QStringLiteral("Spielplan"),
                  {{"spielnummer", 1}, {"beendet", true}, {"in_planung", false}, {"begonnen", QVariant()},
                   {"spielstart", summer}, {"spielende", winter}, {"geplanter_tag", QDate(1990, 12, 31)},
                   {"geplante_zeit", switchOver}, {"aufruf1_sp1", QVariant()}});
        QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Spielplan WHERE spielnummer=1 AND beendet=:b"),
                              {{"b", true}});
        QVERIFY(q.next());
        QCOMPARE(q.value("beendet").toInt(), 1);
        QCOMPARE(q.value("in_planung").toInt(), 0);
        QVERIFY(q.isNull(q.record().indexOf("begonnen")));
        QCOMPARE(readDateTime(q.value("spielstart")), summer);
        QCOMPARE(readDateTime(q.value("spielende")), winter);
        QCOMPARE(readDate(q.value("geplanter_tag")), QDate(1990, 12, 31));
        QCOMPARE(readDateTime(q.value("geplante_zeit")).time(), QTime(2, 30, 0));
        QVERIFY(!readDateTime(q.value("aufruf1_sp1")).isValid());
        // Dates compare and sort by their stored form on both backends.
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Spielplan WHERE spielstart > :d"),
                       {{"d", QDateTime(QDate(2026, 7, 4), QTime(23, 30, 4))}}),
                 1);
        // A yes/no column holds nothing but 0 and 1.
        QVERIFY_THROWS_EXCEPTION(DbError, execute(db, QStringLiteral("UPDATE Spielplan SET beendet=-1")));
    }

    // A text pasted with U+0000 in it is stored without it (PostgreSQL cannot
    // hold the character at all), in a written value and a compared one alike.
    void nulCharactersAreLeftOut_data() { addBackendColumn(); addBackendRows(); }
    void nulCharactersAreLeftOut()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const QString pasted = QStringLiteral("Mei") + QChar(0) + QStringLiteral("er") + QChar(0);
        insertRow(db, QStringLiteral("Spielerdaten"), {{"SID", 1}, {"nachname", pasted}});
        QCOMPARE(scalar(db, QStringLiteral("SELECT nachname FROM Spielerdaten")).toString(), QStringLiteral("Meier"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Spielerdaten WHERE nachname=:n"), {{"n", pasted}}), 1);
    }

    // One statement for many rows: values bound once stay for every run, each
    // run counts as a statement for the fault injection, a failed run reports the
    // database's error and leaves the statement usable.
    void preparedStatementRunsForManyRows_data() { addBackendColumn(); addBackendRows(); }
    void preparedStatementRunsForManyRows()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        PreparedStatement insert(db, QStringLiteral("INSERT INTO Altersklasse VALUES (:tid,:name,:von,:bis,:a,:j)"));
        insert.bind({{"tid", 3}, {"von", QDate(2010, 1, 1)}, {"bis", QVariant()}, {"j", false}});
        for (const QString& name : {QStringLiteral("U14"), QStringLiteral("U16"), QStringLiteral("U18")}) {
            insert.bind(QStringLiteral("name"), name);
            insert.bind(QStringLiteral("a"), name == QLatin1String("U16"));
            QCOMPARE(insert.exec().numRowsAffected(), 1);
        }
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Altersklasse WHERE TID=3 AND von=:von AND bis IS NULL "
                                          "AND juenger=0"),
                       {{"von", QDate(2010, 1, 1)}}),
                 3);
        QCOMPARE(scalar(db, QStringLiteral("SELECT name FROM Altersklasse WHERE aelter=1")).toString(), "U16");

        PreparedStatement update(db, QStringLiteral("UPDATE Altersklasse SET aelter=:a WHERE name=:name"));
        update.exec({{"a", 1}, {"name", "U18"}});
        QCOMPARE(update.rowsAffected(), 1);
        update.exec({{"a", 1}, {"name", "U99"}});
        QCOMPARE(update.rowsAffected(), 0);
        QVERIFY_THROWS_EXCEPTION(DbError, update.exec({{"a", 2}, {"name", "U14"}})); // yes/no holds 0 and 1 only
        FaultInjection::failStatement(db, 2);
        update.exec({{"a", 0}, {"name", "U14"}});
        QVERIFY_THROWS_EXCEPTION(DbError, update.exec());
        QVERIFY(FaultInjection::fired(db));
        FaultInjection::clear(db);
        update.exec({{"a", 1}, {"name", "U14"}});
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Altersklasse WHERE aelter=1")), 3);
    }

    void mkdbMakesTheSqliteFileOnce()
    {
        TempProgramFolder folder(TempProgramFolder::Content::Empty);
        const auto run = [&](const QStringList& args, const QString& programDir = QString()) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (!programDir.isEmpty())
                env.insert(QStringLiteral("BRACKWELL_PROGRAM_DIR"), programDir);
            p.setProcessEnvironment(env);
            p.start(mkdbPath(), args);
            if (!p.waitForFinished(60000))
                return -1;
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        // The default database of ./run: made once in the data folder, then left alone.
        const QString defaultFile = folder.file(QStringLiteral("turnier_db.sqlite"));
        QCOMPARE(run({QStringLiteral("--default"), QStringLiteral("--if-missing")}, folder.path()), 0);
        QVERIFY(QFile::exists(defaultFile));
        {
            ScopedConnection c(openSqlite(defaultFile, uniqueConnectionName(QStringLiteral("check"))));
            QCOMPARE(verifyStructure(c.db()), QStringList());
            execute(c.db(), QStringLiteral("INSERT INTO Turnierdaten (TID) VALUES (1)"));
        }
        const QByteArray hash = fileHash(defaultFile);
        QCOMPARE(run({QStringLiteral("--default"), QStringLiteral("--if-missing")}, folder.path()), 0);
        QCOMPARE(fileHash(defaultFile), hash);
        // Without --if-missing an existing file is an error, and stays as it was.
        QCOMPARE(run({QStringLiteral("--sqlite"), defaultFile}), 1);
        QCOMPARE(fileHash(defaultFile), hash);
        // An older structure for the upgrade tests.
        const QString old = folder.file(QStringLiteral("alt/v3.sqlite"));
        QCOMPARE(run({QStringLiteral("--sqlite"), old, QStringLiteral("--version"), QStringLiteral("3")}), 0);
        ScopedConnection c(openSqlite(old, uniqueConnectionName(QStringLiteral("check"))));
        QCOMPARE(verifyStructure(c.db(), 3), QStringList());
        // Nothing but the database itself is left in the folder.
        QCOMPARE(QDir(folder.file(QStringLiteral("alt"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList({QStringLiteral("v3.sqlite")}));
        QCOMPARE(run({QStringLiteral("--sqlite"), old, QStringLiteral("--version"), QStringLiteral("7")}), 1);
    }

    void mkdbPreparesTheServerCatalog()
    {
        PgFixture pg;
        if (!pg.ready())
            return;
        const QString name = pg.databaseName() + QStringLiteral("_catalog");
        const auto run = [&](const QString& database) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("PGUSER"), pg.server().user);
            p.setProcessEnvironment(env);
            p.start(mkdbPath(), {QStringLiteral("--server"),
                                 pg.server().host + QLatin1Char(':') + QString::number(pg.server().port),
                                 QStringLiteral("--database"), database});
            return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        // Made when missing ...
        QCOMPARE(run(name), 0);
        {
            ScopedConnection c(openPostgres({pg.server().host, pg.server().port, pg.server().user}, name,
                                            uniqueConnectionName(QStringLiteral("check"))));
            QCOMPARE(verifyStructure(c.db()), QStringList());
            QCOMPARE(count(c.db(), QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")), 6);
        }
        // ... refused once it holds tables.
        QCOMPARE(run(name), 1);
        // An existing empty catalog (the fixture's) is filled.
        QCOMPARE(run(pg.databaseName()), 0);
        QVERIFY(pg.dropDatabase(name));
        // A name that is no plain identifier never reaches the server's SQL.
        QCOMPARE(run(QStringLiteral("x; DROP DATABASE postgres")), 1);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
