// The data module's connection: opening the SQLite file and the PostgreSQL
// catalog with their failures, open-then-swap, the structure check and the
// upgrade from every older structure (with the question, the report, a refusal,
// rollback on failure and the lock timeout), and fault injection on the upgrade
// and on a cascade.
#include "data/cascades.h"
#include "data/connection.h"
#include "data/db_procedures.h"
#include "data/faultinjection.h"
#include "data/preparation.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "data/upgrade.h"
#include "support/fakeprompter.h"
#include "support/readonly.h"
#include "support/testdatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QSqlRecord>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QString kQuestion = QStringLiteral("Die gewählte Datenbank hat eine alte Struktur.\r"
                                         "Soll die Struktur jetzt angepasst werden?");
const QString kNotRightFormat = QStringLiteral("Datenbank nicht im richtigen Format.");
const QString kReportHead = QStringLiteral("Die Datenbank wurde aktualisiert.\r\r");
const QString kFailureHead = QStringLiteral("Es trat ein Fehler beim Aktualisieren der Datenbank auf: \r");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Points a data module at a test database, as the open dialogs do.
void choose(Tdb_procedures& dbp, const TestDatabase& tdb)
{
    dbp.accessDB = tdb.backend() == Backend::SQLite;
    if (dbp.accessDB) {
        dbp.dbPfad = tdb.sqlitePath();
    } else {
        dbp.serverName = tdb.pg()->server().host + QLatin1Char(':') + QString::number(tdb.pg()->server().port);
    }
}

QString catalogOf(const TestDatabase& tdb)
{
    return tdb.pg() ? tdb.pg()->databaseName() : kServerCatalog;
}

// Rows written only into columns that every structure version has.
void seedOldRows(const QSqlDatabase& db)
{
    execute(db, QStringLiteral("INSERT INTO Turnierdaten (TID, turniername, tvon) VALUES (1, 'Pokal', :d)"),
            {{"d", QDate(2026, 6, 13)}});
    execute(db, QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, geb, bezahlt) VALUES (1, 1, 'Öztürk', :g, 1)"),
            {{"g", QDate(1999, 2, 28)}});
    execute(db, QStringLiteral("INSERT INTO Turnierklassen (KID, TID, kbezeichnung, gebuehr) VALUES (1, 1, 'Herren A', 7.5)"));
    execute(db, QStringLiteral("INSERT INTO Spieler_im_turnier (TID, KID, SID) VALUES (1, 1, 1)"));
    execute(db, QStringLiteral("INSERT INTO Import (nachname, vorname, KID) VALUES ('Berg', 'Ida', 1)"));
}

QStringList oldRows(const QSqlDatabase& db)
{
    QStringList rows;
    for (const QString& sql : {QStringLiteral("SELECT TID, turniername, tvon FROM Turnierdaten"),
                               QStringLiteral("SELECT TID, SID, nachname, geb, bezahlt FROM Spielerdaten"),
                               QStringLiteral("SELECT KID, TID, kbezeichnung, gebuehr FROM Turnierklassen"),
                               QStringLiteral("SELECT TID, KID, SID FROM Spieler_im_turnier"),
                               QStringLiteral("SELECT nachname, vorname, KID FROM Import")}) {
        QSqlQuery q = execute(db, sql);
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields << q.value(i).toString();
            rows << fields.join(QLatin1Char('|'));
        }
    }
    return rows;
}

QStringList allColumns(const QSqlDatabase& db)
{
    QStringList all;
    for (const TableDef& t : schemaTables())
        all << t.name + QLatin1Char(':') + liveColumns(db, t.name).join(QLatin1Char(',')).toLower();
    return all;
}

// A prompter for runs repeated many times: answers Yes and OK and keeps the texts.
class AnsweringPrompter : public Prompter {
public:
    PromptAnswer prompt(PromptKind kind, const QString& text, PromptButtons buttons, const QString&) override
    {
        shown << text;
        if (kind == PromptKind::Question)
            return PromptAnswer::Yes;
        return buttons == PromptButtons::Cancel ? PromptAnswer::Cancel : PromptAnswer::Ok;
    }
    QStringList shown;
};

} // namespace

class TestConnection : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;

private slots:
    void initTestCase()
    {
        // The user name for the test server comes from the per-user settings file.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        PgServer server;
        if (PgFixture::configured(&server)) {
            QSettings settings(serverSettingsFile(), QSettings::IniFormat);
            settings.setValue(QStringLiteral("Server/user"), server.user);
        }
    }

    void serverNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("settingsPort");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("plain") << "desk2" << 0 << "desk2" << 5432;
        QTest::newRow("with port") << "desk2:6543" << 0 << "desk2" << 6543;
        QTest::newRow("configured port") << "desk2" << 7000 << "desk2" << 7000;
        QTest::newRow("own port wins") << "desk2:6543" << 7000 << "desk2" << 6543;
        QTest::newRow("socket folder") << "/run/postgresql" << 0 << "/run/postgresql" << 5432;
        QTest::newRow("ipv6") << "::1" << 0 << "::1" << 5432;
        QTest::newRow("not a port") << "desk2:abc" << 0 << "desk2:abc" << 5432;
    }
    void serverNames()
    {
        QFETCH(QString, name);
        QFETCH(int, settingsPort);
        QFETCH(QString, host);
        QFETCH(int, port);
        {
            QSettings settings(serverSettingsFile(), QSettings::IniFormat);
            if (settingsPort)
                settings.setValue(QStringLiteral("Server/port"), settingsPort);
            else
                settings.remove(QStringLiteral("Server/port"));
        }
        const ServerAddress address = ServerAddress::forServer(name);
        QCOMPARE(address.host, host);
        QCOMPARE(address.port, port);
        QSettings(serverSettingsFile(), QSettings::IniFormat).remove(QStringLiteral("Server/port"));
    }

    void upgradeFromEveryVersion_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QStringList>("report"); // empty: no upgrade; "refused": wrong database
        const QString imp = QStringLiteral("- Import Tabelle angepasst");
        const QString tsp = QStringLiteral("- Turnier-Spieler Tabelle angepasst");
        const QString sp = QStringLiteral("- Spieler Tabelle angepasst");
        const QString tk = QStringLiteral("- Turnierklassen Tabelle angepasst");
        const QString td = QStringLiteral("- Turnierdaten Tabelle angepasst");
        const QString ver = QStringLiteral("- DB-Versionsbezeichnung angepasst");
        const QStringList step4{tsp, sp, tk}, step5{tsp, sp}, step6{td, sp, tk};
        struct Case {
            const char* name;
            int version;
            const char* variant;
            QStringList report;
        };
        const QList<Case> cases{
            {"2", 2, "", QStringList{imp} + step4 + step5 + step6 + QStringList{ver}},
            {"3", 3, "", step4 + step5 + step6 + QStringList{ver}},
            {"4", 4, "", step5 + step6 + QStringList{ver}},
            {"4 with gemeldet", 4, "gemeldet", step5 + step6 + QStringList{ver}},
            {"5", 5, "", step6 + QStringList{ver}},
            {"6", 6, "", {}},
            {"no version row", 6, "no version", {QStringLiteral("refused")}},
            {"7", 6, "version 7", {QStringLiteral("refused")}},
        };
        for (const Case& c : cases) {
            QTest::addRow("sqlite %s", c.name) << Backend::SQLite << c.version << QString::fromLatin1(c.variant) << c.report;
            QTest::addRow("postgresql %s", c.name) << Backend::PostgreSQL << c.version << QString::fromLatin1(c.variant) << c.report;
        }
    }
    void upgradeFromEveryVersion()
    {
        QFETCH(Backend, backend);
        QFETCH(int, version);
        QFETCH(QString, variant);
        QFETCH(QStringList, report);
        TestDatabase tdb(backend, version);
        if (!tdb.ready())
            return;
        const QSqlDatabase setup = tdb.db();
        seedOldRows(setup);
        if (variant == QLatin1String("gemeldet"))
            execute(setup, QStringLiteral("ALTER TABLE Spieler_im_turnier ADD gemeldet INTEGER"));
        if (variant == QLatin1String("no version"))
            execute(setup, QStringLiteral("DELETE FROM Einstellungen WHERE TID=-999"));
        if (variant == QLatin1String("version 7"))
            execute(setup, QStringLiteral("UPDATE Einstellungen SET version=7 WHERE TID=-999"));
        const QStringList rowsBefore = oldRows(setup);
        const QStringList columnsBefore = allColumns(setup);

        FakePrompter prompter;
        Tdb_procedures dbp(prompter);
        choose(dbp, tdb);
        dbp.db_verbinden(catalogOf(tdb));
        QVERIFY(dbp.isConnected());
        QCOMPARE(dbp.dbWahrWert, 1);

        if (report == QStringList{QStringLiteral("refused")}) {
            QVERIFY_THROWS_EXCEPTION(AppError, dbp.richtige_db());
            QCOMPARE(allColumns(setup), columnsBefore);
            QCOMPARE(oldRows(setup), rowsBefore);
            if (variant == QLatin1String("version 7")) {
                try {
                    dbp.richtige_db();
                } catch (const AppError& e) {
                    QCOMPARE(e.message(), kWrongDatabase);
                }
                QCOMPARE(readStructureVersion(setup), 7);
            }
            return;
        }
        if (!report.isEmpty()) {
            prompter.expect(PromptKind::Question, kQuestion, PromptAnswer::Yes);
            prompter.expect(PromptKind::Information, kReportHead + report.join(QLatin1Char('\r')) + QLatin1Char('\r'));
        }
        dbp.richtige_db();
        QVERIFY(prompter.verify());
        QCOMPARE(verifyStructure(setup), QStringList());
        QCOMPARE(readStructureVersion(setup), 6);
        QCOMPARE(oldRows(setup), rowsBefore);
        // The new columns work like those of a fresh database.
        execute(setup, QStringLiteral("UPDATE Spieler_im_turnier SET gemeldet=:g"), {{"g", true}});
        execute(setup, QStringLiteral("UPDATE Turnierklassen SET nachgebuehr=2.5"));
        QCOMPARE(scalar(setup, QStringLiteral("SELECT nachgebuehr FROM Turnierklassen")).toDouble(), 2.5);
    }

    void decliningChangesNothing_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<int>("version");
        for (int v : {2, 5}) {
            QTest::addRow("sqlite %d", v) << Backend::SQLite << v;
            QTest::addRow("postgresql %d", v) << Backend::PostgreSQL << v;
        }
    }
    void decliningChangesNothing()
    {
        QFETCH(Backend, backend);
        QFETCH(int, version);
        TestDatabase tdb(backend, version);
        if (!tdb.ready())
            return;
        seedOldRows(tdb.db());
        const QStringList before = dumpTables(tdb.db()) + allColumns(tdb.db());
        FakePrompter prompter;
        prompter.expect(PromptKind::Question, kQuestion, PromptAnswer::No);
        Tdb_procedures dbp(prompter);
        choose(dbp, tdb);
        dbp.db_verbinden(catalogOf(tdb));
        try {
            dbp.richtige_db();
            QFAIL("the refused upgrade must fail");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), kNotRightFormat);
        }
        QVERIFY(prompter.verify());
        QCOMPARE(dumpTables(tdb.db()) + allColumns(tdb.db()), before);
    }

    void upgradeFailingAnywhereRollsBack_data() { addBackendColumn(); addBackendRows(); }
    void upgradeFailingAnywhereRollsBack()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend, 2);
        if (!tdb.ready())
            return;
        seedOldRows(tdb.db());
        AnsweringPrompter prompter;
        Tdb_procedures dbp(prompter);
        choose(dbp, tdb);
        dbp.db_verbinden(catalogOf(tdb));
        int runs = 0;
        const QString failure = checkAtomic(
            dbp.ADOConnection1(), [&] { dbp.richtige_db(); }, {}, [&](int) { prompter.shown.clear(); }, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // The last run went through; every run before failed in some step, the
        // last of them in the final step that writes the version.
        QVERIFY(runs > 10);
        QCOMPARE(prompter.shown.size(), 2);
        QVERIFY(prompter.shown.at(1).startsWith(kReportHead));
        QCOMPARE(readStructureVersion(tdb.db()), 6);

        // What a failed run shows: the question, the warning with the error, then
        // the caller's failure.
        TestDatabase again(backend, 3);
        if (!again.ready())
            return;
        FakePrompter fake;
        fake.expect(PromptKind::Question, kQuestion, PromptAnswer::Yes);
        fake.expectPrefix(PromptKind::Warning, kFailureHead + QStringLiteral("Eingeschleuster Fehler"));
        Tdb_procedures other(fake);
        choose(other, again);
        other.db_verbinden(catalogOf(again));
        FaultInjection::failStatement(other.ADOConnection1(), 5);
        try {
            other.richtige_db();
            QFAIL("the failed upgrade must fail");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), kNotRightFormat);
        }
        FaultInjection::clear(other.ADOConnection1());
        QVERIFY(fake.verify());
        QCOMPARE(readStructureVersion(again.db()), 3);
        QCOMPARE(verifyStructure(again.db(), 3), QStringList());
    }

    void upgradeFindsTheWorkDoneByAnotherDesk_data() { addBackendColumn(); addBackendRows(); }
    void upgradeFindsTheWorkDoneByAnotherDesk()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend, 5);
        if (!tdb.ready())
            return;
        FakePrompter prompter;
        Tdb_procedures dbp(prompter);
        choose(dbp, tdb);
        dbp.db_verbinden(catalogOf(tdb));
        QCOMPARE(readStructureVersion(dbp.ADOConnection1()), 5);
        // Meanwhile the other desk upgrades; this desk goes ahead with what it read.
        QCOMPARE(upgradeStructure(tdb.db()).size(), 4);
        dbp.db_aktualisieren(dbp.ADOConnection1());
        QVERIFY(prompter.verify()); // nothing done, nothing reported
        QCOMPARE(verifyStructure(tdb.db()), QStringList());
    }

    void upgradeDoesNotWaitForeverOnAnotherDesk()
    {
        TestDatabase tdb(Backend::PostgreSQL, 5);
        if (!tdb.ready())
            return;
        // Another desk reads players inside an open transaction.
        QSqlDatabase other = tdb.open();
        Transaction reading(other);
        execute(other, QStringLiteral("SELECT COUNT(*) FROM Spielerdaten"));

        FakePrompter prompter;
        prompter.expect(PromptKind::Question, kQuestion, PromptAnswer::Yes);
        prompter.expectPrefix(PromptKind::Warning, kFailureHead);
        Tdb_procedures dbp(prompter);
        dbp.waits.lockMilliseconds = 200;
        choose(dbp, tdb);
        dbp.db_verbinden(catalogOf(tdb));
        QVERIFY_THROWS_EXCEPTION(AppError, dbp.richtige_db());
        QVERIFY(prompter.verify());
        reading.rollback();
        QCOMPARE(readStructureVersion(tdb.db()), 5);
        QCOMPARE(verifyStructure(tdb.db(), 5), QStringList());
    }

    void cascadeUnderFaultInjection_data() { addBackendColumn(); addBackendRows(); }
    void cascadeUnderFaultInjection()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        for (int t = 1; t <= 2; ++t) {
            insertRow(db, QStringLiteral("Turnierdaten"), {{"TID", t}});
            for (int k = 0; k < 2; ++k) {
                const int kid = t * 10 + k;
                for (const char* name : {"Turnierklassen", "Spielplan", "Teams", "Teamspiele", "Platten1"})
                    insertRow(db, QString::fromLatin1(name), {{"TID", t}, {"KID", kid}, {"MID", kid}});
                insertRow(db, QStringLiteral("Gruppen"), {{"KID", kid}});
            }
        }
        int runs = 0;
        const QString failure = checkAtomic(db, [&] { deleteTournament(db, 1); }, {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(runs, 7 + 1 + 1 + 2 * 12 + 1); // deletes by TID, Import, the class list, 12 per class, the run that completes
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM Turnierklassen WHERE TID=1")).toInt(), 0);
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM Turnierklassen WHERE TID=2")).toInt(), 2);
    }

    // A file that cannot serve as the tournament database is refused when it is
    // opened, with the reason in German, and is never created or changed.
    void unusableFilesAreRefusedOnOpening_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message"); // %1: the file
        QTest::newRow("missing") << s("missing") << s("Die Datei \"%1\" ist nicht vorhanden.");
        QTest::newRow("not a database") << s("garbage") << s("Die Datei \"%1\" ist keine SQLite-Datenbank.");
        QTest::newRow("read-only file")
            << s("read-only file") << s("Die Datenbankdatei ist schreibgeschützt; Brackwell kann in ihr nicht speichern.");
        QTest::newRow("read-only folder")
            << s("read-only folder")
            << s("Der Ordner der Datenbankdatei ist schreibgeschützt; Brackwell kann in der Datei nicht speichern.");
    }
    void unusableFilesAreRefusedOnOpening()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(s("turnier_db.sqlite"));
        if (file == s("garbage")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (file != s("missing")) {
            prepareSqliteFile(path);
        }
        const QByteArray before = readFile(path);
        std::unique_ptr<ReadOnly> readOnly;
        if (file.startsWith(s("read-only"))) {
            readOnly = std::make_unique<ReadOnly>(file == s("read-only file") ? path : dir.path());
            if (!readOnly->ready())
                QSKIP("Cannot make a file read-only here");
        }
        FakePrompter prompter;
        Tdb_procedures dbp(prompter);
        dbp.accessDB = true;
        dbp.dbPfad = path;
        try {
            dbp.db_verbinden(kServerCatalog);
            QFAIL("the file was opened");
        } catch (const DbError& e) {
            QCOMPARE(e.message(), message.contains(s("%1")) ? message.arg(path) : message);
        }
        QVERIFY(!dbp.isConnected());
        QCOMPARE(QFile::exists(path), file != s("missing"));
        QCOMPARE(readFile(path), before);
    }

    void emptyFileIsAWrongDatabase()
    {
        TestDatabase tdb(Backend::SQLite, 6, TestDatabase::Content::Empty);
        if (!tdb.ready())
            return;
        FakePrompter prompter;
        Tdb_procedures dbp(prompter);
        choose(dbp, tdb);
        dbp.db_verbinden(kServerCatalog);
        QVERIFY(dbp.isConnected());
        QVERIFY_THROWS_EXCEPTION(DbError, dbp.richtige_db()); // no table Einstellungen
    }

    void unreachableServerFailsWithinTheTimeout()
    {
        // A server that takes the connection and never answers: only the connect
        // timeout ends the wait, the shortest libpq allows here.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        FakePrompter prompter;
        Tdb_procedures dbp(prompter);
        dbp.waits.connectSeconds = 2;
        dbp.accessDB = false;
        dbp.serverName = QStringLiteral("127.0.0.1:%1").arg(silent.serverPort());
        QElapsedTimer timer;
        timer.start();
        try {
            dbp.db_verbinden(kServerCatalog);
            QFAIL("connecting to a silent server must fail");
        } catch (const DbError& e) {
            QVERIFY(!e.message().isEmpty());
        }
        QVERIFY2(timer.elapsed() < 9000, "the connect timeout did not end the wait");
        QVERIFY(!dbp.isConnected());
    }

    void candidateReplacesTheConnectionOnlyWhenAdopted_data() { addBackendColumn(); addBackendRows(); }
    void candidateReplacesTheConnectionOnlyWhenAdopted()
    {
        QFETCH(Backend, backend);
        TestDatabase first(backend);
        TestDatabase second(Backend::SQLite);
        if (!first.ready() || !second.ready())
            return;
        insertRow(first.db(), QStringLiteral("Turnierdaten"), {{"TID", 1}, {"turniername", "Erstes"}});
        insertRow(second.db(), QStringLiteral("Turnierdaten"), {{"TID", 1}, {"turniername", "Zweites"}});
        FakePrompter prompter;
        Tdb_procedures dbp(prompter);
        choose(dbp, first);
        dbp.db_verbinden(catalogOf(first));
        const QString name = QStringLiteral("SELECT turniername FROM Turnierdaten");

        // Probing another database, e.g. to list its tournaments or to import from it.
        const DatabaseLocation other{true, second.sqlitePath(), QString()};
        ScopedConnection candidate = dbp.openCandidate(other, kServerCatalog);
        dbp.richtige_db(candidate.db());
        QCOMPARE(scalar(candidate.db(), name).toString(), QStringLiteral("Zweites"));
        QCOMPARE(dbp.query(name).next(), true);
        QCOMPARE(scalar(dbp.ADOConnection1(), name).toString(), QStringLiteral("Erstes"));
        QCOMPARE(dbp.accessDB, backend == Backend::SQLite);

        // A failed connect keeps the open database.
        dbp.accessDB = true;
        dbp.dbPfad = second.sqlitePath() + QStringLiteral(".fehlt");
        QVERIFY_THROWS_EXCEPTION(DbError, dbp.db_verbinden(kServerCatalog));
        QCOMPARE(scalar(dbp.ADOConnection1(), name).toString(), QStringLiteral("Erstes"));

        const QString previous = dbp.ADOConnection1().connectionName();
        dbp.adopt(std::move(candidate), other);
        QVERIFY(candidate.isNull());
        QVERIFY(!QSqlDatabase::contains(previous));
        QCOMPARE(scalar(dbp.ADOConnection1(), name).toString(), QStringLiteral("Zweites"));
        QVERIFY(dbp.accessDB);
        QCOMPARE(dbp.dbPfad, second.sqlitePath());
        dbp.close();
        QVERIFY(!dbp.isConnected());
    }

    void computerNameIsThisHost()
    {
        QVERIFY(!Tdb_procedures::ComputerName().isEmpty());
        FakePrompter prompter;
        Tdb_procedures dbp(prompter);
        QCOMPARE(dbp.serverName, Tdb_procedures::ComputerName());
        QVERIFY(!dbp.accessDB);
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "test_connection.moc"
