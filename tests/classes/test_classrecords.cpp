// Class records on both backends: reading the class page's texts, finding a
// class by name and kind, inserting, changing and copying a class with its table
// names and team-match format, each as one transaction; the table assignment to
// groups and phases; and the age classes.
#include "data/ageclasses.h"
#include "data/cascades.h"
#include "data/classrecords.h"
#include "data/concurrency.h"
#include "data/schema.h"
#include "data/sql.h"
#include "support/testdatabase.h"

#include <QTest>

#include <algorithm>

using namespace bw;
using namespace bw::test;

Q_DECLARE_METATYPE(std::optional<QTime>)

namespace {

const QString kId = QStringLiteral("id");

int count(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {})
{
    return scalar(db, sql, params).toInt();
}

// Makes every INSERT into a table fail inside the database itself.
void breakInsertsOn(const QSqlDatabase& db, const QString& table)
{
    if (backendOf(db) == Backend::SQLite) {
        execute(db, QStringLiteral("CREATE TRIGGER fault BEFORE INSERT ON %1 "
                                   "BEGIN SELECT RAISE(ABORT, 'eingeschleuster Fehler'); END")
                        .arg(table));
    } else {
        execute(db, QStringLiteral("CREATE FUNCTION fault() RETURNS trigger AS $$ BEGIN "
                                   "RAISE EXCEPTION 'eingeschleuster Fehler'; END $$ LANGUAGE plpgsql"));
        execute(db, QStringLiteral("CREATE TRIGGER fault BEFORE INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION fault()")
                        .arg(table));
    }
}

ClassRecord herren()
{
    ClassRecord r;
    r.system = ClassKind::Einzel;
    r.kbezeichnung = QStringLiteral("Herren A");
    r.kbeschreibung = QStringLiteral("Erste Zeile\r\nZweite Zeile");
    r.spielberechtigung = QStringLiteral("TTR bis 1800");
    r.mann = true;
    r.frau = false;
    r.gebuehr = 12.5;
    r.min = 4;
    r.max = 16;
    r.saetze = 3;
    r.platten = 2;
    r.altersklasseID = QStringLiteral("U18");
    r.atag = QDate(2026, 12, 12);
    r.uhrzeit = QTime(14, 30);
    r.punkteprosieg = 1;
    r.nachgebuehr = 15;
    return r;
}

TeamFormat fourPlayerFormat()
{
    TeamFormat f;
    f.spieler = 4;
    f.reserve = 2;
    f.a[0] = 1;
    f.b[0] = 2;
    f.a[1] = 2;
    f.b[1] = 1;
    f.a[2] = 11;
    f.b[2] = 11;
    return f;
}

} // namespace

class TestClassRecords : public QObject {
    Q_OBJECT

private slots:
    void pageTextsBecomeStoredValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("fee");
        QTest::addColumn<int>("count");
        QTest::addColumn<std::optional<QTime>>("time");
        const std::optional<QTime> none;
        const std::optional<double> noFee;
        QTest::newRow("German fee") << QStringLiteral("12,50") << std::optional(12.5) << 2 << none;
        QTest::newRow("plain fee") << QStringLiteral("7.5") << std::optional(7.5) << 2 << none;
        QTest::newRow("thousands") << QStringLiteral("1.234,5") << std::optional(1234.5) << 2 << none;
        QTest::newRow("whole number") << QStringLiteral(" 8 ") << std::optional(8.0) << 8 << none;
        QTest::newRow("bad number") << QStringLiteral("zwölf") << noFee << 2 << none;
        QTest::newRow("empty") << QString() << std::optional(0.0) << 2 << none;
        QTest::newRow("blanks") << QStringLiteral("  ") << std::optional(0.0) << 2 << none;
        QTest::newRow("start 00:00") << QStringLiteral("00:00") << noFee << 2 << none;
        QTest::newRow("garbage time") << QStringLiteral("14:7x") << noFee << 2 << none;
        QTest::newRow("hour out of range") << QStringLiteral("25:00") << noFee << 2 << none;
        QTest::newRow("14:30") << QStringLiteral("14:30") << noFee << 2 << std::optional<QTime>(QTime(14, 30));
        QTest::newRow("9:05 with blanks") << QStringLiteral(" 9:05") << noFee << 2 << std::optional<QTime>(QTime(9, 5));
    }
    void pageTextsBecomeStoredValues()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<double>, fee);
        QFETCH(int, count);
        QFETCH(std::optional<QTime>, time);
        QCOMPARE(feeValue(text), fee);
        QCOMPARE(countValue(text, 2), count);
        QCOMPARE(startTimeValue(text), time);
    }

    void captionsCarryTheKind()
    {
        const QString names[] = {QStringLiteral("Herren (Einzel)"), QStringLiteral("Herren (Doppel)"),
                                 QStringLiteral("Herren (Mixed)"), QStringLiteral("Herren (Team)")};
        for (ClassKind kind : kClassKinds) {
            const QString& caption = names[kindIndex(kind)];
            QCOMPARE(classCaption(QStringLiteral("Herren"), kind), caption);
            QString name;
            ClassKind parsed = ClassKind::Einzel;
            QVERIFY(splitClassCaption(caption, &name, &parsed));
            QCOMPARE(name, QStringLiteral("Herren"));
            QCOMPARE(parsed, kind);
            QCOMPARE(classKindOf(storedKind(kind)), kind);
        }
        QVERIFY(!splitClassCaption(QStringLiteral("Klassen verwalten"), nullptr, nullptr));
        // A stored kind of no known number has no suffix.
        for (const QVariant& stored : {QVariant(4), QVariant(-1), QVariant(QMetaType::fromType<int>()), QVariant()})
            QCOMPARE(classKindOf(stored), std::nullopt);
        QCOMPARE(classCaption(QStringLiteral("Herren"), std::nullopt), QStringLiteral("Herren"));
        QCOMPARE(teamPositionText(12, true), QStringLiteral("D2"));
        QCOMPARE(teamPositionText(3, false), QStringLiteral("B3"));
        QCOMPARE(teamPositionText(std::nullopt, true), QString());
    }

    void insertedClassReadsBack_data() { addBackendColumn(); addBackendRows(); }
    void insertedClassReadsBack()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();

        // Keys count over all tournaments.
        QCOMPARE(insertClass(db, 1, herren(), {QStringLiteral("Tisch 1")}, {}), 1);
        ClassRecord r = herren();
        r.uhrzeit.reset();
        r.farbe = QStringLiteral("clRed"); // a new class always starts cream
        r.liveKlassenID = 77;
        const int kid = insertClass(db, 2, r, {QStringLiteral("Halle 3"), QStringLiteral("Tisch 'B'")}, {});
        QCOMPARE(kid, 2);

        const auto back = readClass(db, kid);
        QVERIFY(back);
        ClassRecord expected = r;
        expected.farbe = QStringLiteral("clCream");
        expected.liveKlassenID = 0;
        QCOMPARE(*back, expected);
        QVERIFY(scalar(db, QStringLiteral("SELECT uhrzeit FROM Turnierklassen WHERE KID=2")).isNull());
        QCOMPARE(readClass(db, 1)->uhrzeit, std::optional<QTime>(QTime(14, 30)));
        QCOMPARE(readTableNames(db, kid), (QStringList{QStringLiteral("Halle 3"), QStringLiteral("Tisch 'B'")}));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Platten1 WHERE KID=2 AND TID=2")), 2);
        // Only a team class has a format.
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Teamsystem")), 0);
        QVERIFY(!readClass(db, 0));
    }

    void getKidNeedsNameKindAndTournament_data() { addBackendColumn(); addBackendRows(); }
    void getKidNeedsNameKindAndTournament()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        ClassRecord single = herren();
        ClassRecord doubles = herren();
        doubles.system = ClassKind::Doppel;
        const int k1 = insertClass(db, 1, single, {}, {});
        const int k2 = insertClass(db, 1, doubles, {}, {});
        QCOMPARE(getKID(db, 1, ClassKind::Einzel, QStringLiteral("Herren A")), k1);
        QCOMPARE(getKID(db, 1, ClassKind::Doppel, QStringLiteral("Herren A")), k2);
        QCOMPARE(getKID(db, 1, ClassKind::Mixed, QStringLiteral("Herren A")), 0);
        QCOMPARE(getKID(db, 2, ClassKind::Einzel, QStringLiteral("Herren A")), 0);
        QCOMPARE(getKID(db, 1, ClassKind::Einzel, QStringLiteral("Herren A ")), 0);
        QVERIFY(classNameTaken(db, 1, ClassKind::Doppel, QStringLiteral("Herren A"), k1));
        QVERIFY(!classNameTaken(db, 1, ClassKind::Doppel, QStringLiteral("Herren A"), k2));
        QVERIFY(!classNameTaken(db, 1, ClassKind::Team, QStringLiteral("Herren A"), 0));
    }

    void updateRewritesRowAndTables_data() { addBackendColumn(); addBackendRows(); }
    void updateRewritesRowAndTables()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = insertClass(db, 1, herren(), {QStringLiteral("Tisch 1"), QStringLiteral("Tisch 2")}, {});
        ClassRecord second = herren();
        second.kbezeichnung = QStringLiteral("Herren C");
        const int other = insertClass(db, 1, second, {QStringLiteral("Tisch 9")}, {});
        execute(db, QStringLiteral("UPDATE Turnierklassen SET farbe='clLime', LiveKlassenID=42 WHERE KID=:id"), {{kId, kid}});

        ClassRecord changed = herren();
        changed.kbezeichnung = QStringLiteral("Herren B");
        changed.gebuehr = 9.75;
        changed.uhrzeit.reset();
        changed.frau = true;
        updateClass(db, *readClassData(db, kid), changed, {QStringLiteral("Nord")}, {});

        const auto back = readClass(db, kid);
        QCOMPARE(back->kbezeichnung, QStringLiteral("Herren B"));
        QCOMPARE(back->gebuehr, 9.75);
        QVERIFY(back->frau);
        QVERIFY(!back->uhrzeit);
        QCOMPARE(back->farbe, QStringLiteral("clLime"));
        QCOMPARE(back->liveKlassenID, 42);
        QCOMPARE(readTableNames(db, kid), QStringList{QStringLiteral("Nord")});
        QCOMPARE(readTableNames(db, other), QStringList{QStringLiteral("Tisch 9")});

        // A class deleted meanwhile at another desk gets no orphaned table names.
        const ClassData vanished = *readClassData(db, other);
        deleteClass(db, other);
        const QStringList before = dumpTables(db);
        QVERIFY_THROWS_EXCEPTION(StaleRecord, updateClass(db, vanished, changed, {QStringLiteral("Nord")}, {}));
        QCOMPARE(dumpTables(db), before);
    }

    void changingToTeamStoresTheFormat_data() { addBackendColumn(); addBackendRows(); }
    void changingToTeamStoresTheFormat()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = insertClass(db, 1, herren(), {}, {});
        QVERIFY(!readTeamFormat(db, kid));

        ClassRecord team = herren();
        team.system = ClassKind::Team;
        updateClass(db, *readClassData(db, kid), team, {}, fourPlayerFormat());
        QCOMPARE(readTeamFormat(db, kid), std::optional<TeamFormat>(fourPlayerFormat()));

        // A second save changes the one row instead of adding another.
        TeamFormat smaller;
        smaller.spieler = 2;
        smaller.a[0] = 1;
        smaller.b[0] = 1;
        updateClass(db, *readClassData(db, kid), team, {}, smaller);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Teamsystem WHERE KID=:id"), {{kId, kid}}), 1);
        QCOMPARE(readTeamFormat(db, kid), std::optional<TeamFormat>(smaller));
    }

    void teamFormatRoundTrip_data() { addBackendColumn(); addBackendRows(); }
    void teamFormatRoundTrip()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        TeamFormat format = fourPlayerFormat();
        format.a[3] = 3; // side b left empty: no game
        format.b[4] = 4; // side a left empty: no game
        ClassRecord team = herren();
        team.system = ClassKind::Team;
        const int kid = insertClass(db, 1, team, {}, format);

        QCOMPARE(readTeamFormat(db, kid), std::optional<TeamFormat>(fourPlayerFormat()));
        QCOMPARE(count(db, QStringLiteral("SELECT s3a FROM Teamsystem WHERE KID=:id"), {{kId, kid}}), 11);
        QVERIFY(scalar(db, QStringLiteral("SELECT s4a FROM Teamsystem WHERE KID=:id"), {{kId, kid}}).isNull());
        QVERIFY(scalar(db, QStringLiteral("SELECT s5b FROM Teamsystem WHERE KID=:id"), {{kId, kid}}).isNull());
        QVERIFY(scalar(db, QStringLiteral("SELECT spielanz FROM Teamsystem WHERE KID=:id"), {{kId, kid}}).isNull());
        QCOMPARE(count(db, QStringLiteral("SELECT TID FROM Teamsystem WHERE KID=:id"), {{kId, kid}}), 1);

        // A team class saved without ever editing its format: all games empty.
        team.kbezeichnung = QStringLiteral("Herren B");
        const int bare = insertClass(db, 1, team, {}, TeamFormat{});
        QCOMPARE(readTeamFormat(db, bare), std::optional<TeamFormat>(TeamFormat{}));
    }

    void copyKeepsColourAndDropsOnlineId_data() { addBackendColumn(); addBackendRows(); }
    void copyKeepsColourAndDropsOnlineId()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        ClassRecord team = herren();
        team.system = ClassKind::Team;
        const int source = insertClass(db, 1, team, {QStringLiteral("T1"), QStringLiteral("T2")}, fourPlayerFormat());
        execute(db, QStringLiteral("UPDATE Turnierklassen SET farbe='clAqua', LiveKlassenID=99 WHERE KID=:id"),
                {{kId, source}});
        execute(db, QStringLiteral("UPDATE Teamsystem SET spielanz=5 WHERE KID=:id"), {{kId, source}});

        const auto [copy, name] = copyClass(db, 1, source, ClassKind::Team);
        QCOMPARE(copy, source + 1);
        QCOMPARE(name, QStringLiteral("Kopie1 von Herren A"));
        ClassRecord expected = *readClass(db, source);
        expected.kbezeichnung = QStringLiteral("Kopie1 von Herren A");
        expected.liveKlassenID = 0;
        QCOMPARE(*readClass(db, copy), expected);
        QCOMPARE(readClass(db, copy)->farbe, QStringLiteral("clAqua"));
        QCOMPARE(readTableNames(db, copy), (QStringList{QStringLiteral("T1"), QStringLiteral("T2")}));
        QCOMPARE(readTeamFormat(db, copy), std::optional<TeamFormat>(fourPlayerFormat()));
        QCOMPARE(count(db, QStringLiteral("SELECT spielanz FROM Teamsystem WHERE KID=:id"), {{kId, copy}}), 5);

        // A team class without a format row: the copy gets 0 players and nothing else.
        execute(db, QStringLiteral("DELETE FROM Teamsystem WHERE KID=:id"), {{kId, source}});
        execute(db, QStringLiteral("UPDATE Turnierklassen SET uhrzeit=NULL WHERE KID=:id"), {{kId, source}});
        // The next copy takes the next free name.
        const auto [bare, secondName] = copyClass(db, 1, source, ClassKind::Team);
        QCOMPARE(secondName, QStringLiteral("Kopie2 von Herren A"));
        QCOMPARE(count(db, QStringLiteral("SELECT spieler FROM Teamsystem WHERE KID=:id"), {{kId, bare}}), 0);
        QVERIFY(scalar(db, QStringLiteral("SELECT reserve FROM Teamsystem WHERE KID=:id"), {{kId, bare}}).isNull());
        QVERIFY(!readClass(db, bare)->uhrzeit);
    }

    void failedWriteLeavesTheClassAsItWas_data()
    {
        addBackendColumn();
        addBackendRows(QStringLiteral("insert "));
        addBackendRows(QStringLiteral("update "));
        addBackendRows(QStringLiteral("copy "));
    }
    void failedWriteLeavesTheClassAsItWas()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        ClassRecord team = herren();
        team.system = ClassKind::Team;
        const int kid = insertClass(db, 1, team, {QStringLiteral("Tisch 1")}, fourPlayerFormat());
        // The row and the table names are written before the format fails.
        breakInsertsOn(db, QStringLiteral("Teamsystem"));
        execute(db, QStringLiteral("DELETE FROM Teamsystem"));
        const QStringList before = dumpTables(db);

        const QString action = QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char(' '), 0, 0);
        ClassRecord changed = team;
        changed.kbezeichnung = QStringLiteral("Neu");
        try {
            if (action == QLatin1String("insert"))
                insertClass(db, 1, changed, {QStringLiteral("A"), QStringLiteral("B")}, fourPlayerFormat());
            else if (action == QLatin1String("update"))
                updateClass(db, *readClassData(db, kid), changed, {QStringLiteral("A")}, fourPlayerFormat());
            else
                copyClass(db, 1, kid, ClassKind::Team);
            QFAIL("the write should have failed");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("eingeschleuster Fehler")), qPrintable(e.message()));
        }
        QCOMPARE(dumpTables(db), before);
    }

    // Whichever statement fails, the action leaves the database as it was.
    void everyWriteIsAtomic_data()
    {
        addBackendColumn();
        for (const char* action : {"insert", "update", "copy", "assign", "rename age class"})
            addBackendRows(QString::fromLatin1(action) + QLatin1Char(' '));
    }
    void everyWriteIsAtomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        ClassRecord team = herren();
        team.system = ClassKind::Team;
        const int kid = insertClass(db, 1, team, {QStringLiteral("T1"), QStringLiteral("T2")}, fourPlayerFormat());
        insertRow(db, QStringLiteral("Gruppeneinstellungen"),
                  {{QStringLiteral("KID"), kid}, {QStringLiteral("gruppenanzahl1"), 2}, {QStringLiteral("gruppenanzahl2"), 0}});
        saveAgeClass(db, 1, QString(), {QStringLiteral("U18"), QDate(), QDate(2008, 1, 1), false, true});

        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const ClassData loaded = *readClassData(db, kid);
        ClassRecord other = team;
        other.kbezeichnung = QStringLiteral("Damen");
        std::function<void()> action;
        if (tag.startsWith(QLatin1String("insert ")))
            action = [&] { insertClass(db, 1, other, {QStringLiteral("A"), QStringLiteral("B")}, fourPlayerFormat()); };
        else if (tag.startsWith(QLatin1String("update ")))
            action = [&] { updateClass(db, loaded, other, {QStringLiteral("A"), QStringLiteral("B")}, TeamFormat{}); };
        else if (tag.startsWith(QLatin1String("copy ")))
            action = [&] { copyClass(db, 1, kid, ClassKind::Team); };
        else if (tag.startsWith(QLatin1String("assign ")))
            action = [&] { assignTablesToGroups(db, kid, {QStringLiteral("A"), QStringLiteral("B")}); };
        else
            action = [&] { saveAgeClass(db, 1, QStringLiteral("U18"), {QStringLiteral("Jugend"), QDate(), QDate(2009, 1, 1), false, true}); };
        int runs = 0;
        const QString failure = checkAtomic(db, action, {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(runs > 2);
    }

    void tablesAreAssignedToEveryGroup_data() { addBackendColumn(); addBackendRows(); }
    void tablesAreAssignedToEveryGroup()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        insertRow(db, QStringLiteral("Platten"), {{QStringLiteral("KID"), 3}, {QStringLiteral("platte"), QStringLiteral("alt")}});
        insertRow(db, QStringLiteral("Platten"), {{QStringLiteral("KID"), 4}, {QStringLiteral("platte"), QStringLiteral("fremd")}});
        // No group settings yet: the old assignment goes, nothing new comes.
        QCOMPARE(assignTablesToGroups(db, 3, {QStringLiteral("Tisch 1")}), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Platten WHERE KID=3")), 0);

        insertRow(db, QStringLiteral("Gruppeneinstellungen"),
                  {{QStringLiteral("KID"), 3}, {QStringLiteral("gruppenanzahl1"), 2}, {QStringLiteral("gruppenanzahl2"), 0},
                   {QStringLiteral("gruppenanzahl3"), QVariant(QMetaType::fromType<int>())}});
        QCOMPARE(assignTablesToGroups(db, 3, {QStringLiteral("Tisch 1"), QStringLiteral("Bob's Tisch")}), 6);
        QCOMPARE(dumpTables(db, {QStringLiteral("Platten")}),
                 (QStringList{
                     QStringLiteral("Platten|3|-1|Bob's Tisch|2"),
                     QStringLiteral("Platten|3|-1|Tisch 1|2"),
                     QStringLiteral("Platten|3|0|Bob's Tisch|1"),
                     QStringLiteral("Platten|3|0|Tisch 1|1"),
                     QStringLiteral("Platten|3|1|Bob's Tisch|1"),
                     QStringLiteral("Platten|3|1|Tisch 1|1"),
                     QStringLiteral("Platten|4|1|fremd|1"),
                 }));

        // A failure part-way keeps the previous assignment.
        const QStringList before = dumpTables(db, {QStringLiteral("Platten")});
        breakInsertsOn(db, QStringLiteral("Platten"));
        QVERIFY_THROWS_EXCEPTION(DbError, assignTablesToGroups(db, 3, {QStringLiteral("X")}));
        QCOMPARE(dumpTables(db, {QStringLiteral("Platten")}), before);
    }

    void classListsFollowTheTable_data() { addBackendColumn(); addBackendRows(); }
    void classListsFollowTheTable()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        ClassRecord r = herren();
        const int a = insertClass(db, 1, r, {}, {});
        r.system = ClassKind::Mixed;
        r.kbezeichnung = QStringLiteral("Mixed");
        const int b = insertClass(db, 1, r, {}, {});
        insertClass(db, 2, r, {}, {});
        insertRow(db, QStringLiteral("Spielplan"), {{QStringLiteral("KID"), b}});
        insertRow(db, QStringLiteral("Spielplan"), {{QStringLiteral("KID"), b}, {QStringLiteral("spielnummer"), 2}});

        const auto all = listClasses(db, 1);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[0].kid, a);
        QCOMPARE(all[1].name, QStringLiteral("Mixed"));
        QCOMPARE(all[1].kind, ClassKind::Mixed);
        const auto planned = listClassesWithPlan(db, 1);
        QCOMPARE(planned.size(), 1);
        QCOMPARE(planned[0].kid, b);

        // A class of a kind with no known number is listed without one; it cannot be read for editing.
        insertRow(db, QStringLiteral("Turnierklassen"), {{QStringLiteral("TID"), 1}, {QStringLiteral("KID"), 50},
                                                         {QStringLiteral("system"), 7},
                                                         {QStringLiteral("kbezeichnung"), QStringLiteral("Alt")}});
        const auto withUnknown = listClasses(db, 1);
        const auto unknown = std::find_if(withUnknown.begin(), withUnknown.end(), [](const ClassEntry& c) { return c.kid == 50; });
        QVERIFY(unknown != withUnknown.end());
        QCOMPARE(unknown->kind, std::nullopt);
        QVERIFY_THROWS_EXCEPTION(AppError, readClass(db, 50));
    }

    void ageClassesAreKeptByName_data() { addBackendColumn(); addBackendRows(); }
    void ageClassesAreKeptByName()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const AgeClass u18{QStringLiteral("U18"), QDate(), QDate(2008, 1, 1), false, true};
        saveAgeClass(db, 1, QString(), u18);
        saveAgeClass(db, 1, QString(), {QStringLiteral(" Senioren "), QDate(1976, 1, 1), QDate(), true, false});
        saveAgeClass(db, 2, QString(), u18);
        QCOMPARE(ageClassNames(db, 1), (QStringList{QStringLiteral("U18"), QStringLiteral("Senioren")}));
        QCOMPARE(readAgeClass(db, 1, QStringLiteral("U18")), std::optional<AgeClass>(u18));

        // Refused names, each with its message; nothing is written.
        const QStringList before = dumpTables(db);
        const QList<QPair<QString, QString>> refused{
            {QStringLiteral("  "), QStringLiteral("Geben Sie eine Bezeichnung für die Altersklasse ein")},
            {QStringLiteral("Senioren"), QStringLiteral("Eine Altersklasse mit diesem Namen existiert bereits")},
            {QStringLiteral("ohne Beschränkung"),
             QStringLiteral("Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden")},
        };
        for (const auto& [name, message] : refused) {
            for (const QString& selected : {QString(), QStringLiteral("U18")}) {
                QCOMPARE(ageClassNameProblem(db, 1, selected, name), message);
                AgeClass a = u18;
                a.name = name;
                try {
                    saveAgeClass(db, 1, selected, a);
                    QFAIL("the name should have been refused");
                } catch (const AppError& e) {
                    QCOMPARE(e.message(), message);
                }
            }
        }
        QCOMPARE(dumpTables(db), before);
        QVERIFY(ageClassNameProblem(db, 1, QStringLiteral("U18"), QStringLiteral("U18")).isEmpty());

        // A rename reaches the classes of this tournament that used the old name.
        ClassRecord r = herren();
        r.altersklasseID = QStringLiteral("U18");
        const int mine = insertClass(db, 1, r, {}, {});
        const int foreign = insertClass(db, 2, r, {}, {});
        AgeClass renamed = u18;
        renamed.name = QStringLiteral("Jugend");
        renamed.bis = QDate(2012, 12, 31);
        saveAgeClass(db, 1, QStringLiteral("U18"), renamed);
        // PostgreSQL may return a changed row last.
        QStringList names = ageClassNames(db, 1);
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("Jugend"), QStringLiteral("Senioren")}));
        QCOMPARE(readAgeClass(db, 1, QStringLiteral("Jugend")), std::optional<AgeClass>(renamed));
        QCOMPARE(readClass(db, mine)->altersklasseID, QStringLiteral("Jugend"));
        QCOMPARE(readClass(db, foreign)->altersklasseID, QStringLiteral("U18"));

        deleteAgeClass(db, 1, QStringLiteral("Jugend"));
        QCOMPARE(ageClassNames(db, 1), QStringList{QStringLiteral("Senioren")});
        QCOMPARE(ageClassNames(db, 2), QStringList{QStringLiteral("U18")});
    }
};

QTEST_GUILESS_MAIN(TestClassRecords)
#include "test_classrecords.moc"
