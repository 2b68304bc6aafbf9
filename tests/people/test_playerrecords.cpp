// Player records on both backends: Null fields round-trip, keys, class entries
// keep their check-in when a player is changed, a player is addressed by his key
// (two players of one name), deleting unlinks the partner, a failed save leaves
// nothing behind, the prefix searches, eligibility by sex and age, start numbers
// and their list.
#include "data/concurrency.h"
#include "data/playerrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "peoplefixtures.h"
#include "platform/apperror.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

Q_DECLARE_METATYPE(std::optional<QDate>)

namespace {

PlayerRecord sampleRecord()
{
    PlayerRecord r;
    r.nachname = s("Müller");
    r.vorname = s("Anna");
    r.verein = s("TTC Ost");
    r.geb = QDate(2003, 6, 15);
    r.nummer = 17;
    r.kverband = s("Kreis");
    r.bverband = s("Bezirk");
    r.lverband = s("Land");
    r.land = s("GER");
    r.zubezahlen = 12.5;
    r.bezahlt = true;
    r.mann = false;
    r.frau = true;
    r.spklasse = s("Bezirksliga");
    r.spielstaerke = s("1450");
    r.email = s("anna@example.org");
    return r;
}

QList<ClassEntryRow> entries(const QSqlDatabase& db, int sid)
{
    return readPlayer(db, sid)->classes;
}

} // namespace

class TestPlayerRecords : public QObject {
    Q_OBJECT
private slots:
    void recordsRoundTrip_data()
    {
        addBackendColumn();
        QTest::addColumn<bool>("withNulls");
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            QTest::newRow(qPrintable(s(name) + s(" all set"))) << backend << false;
            QTest::newRow(qPrintable(s(name) + s(" null fields"))) << backend << true;
        }
    }
    void recordsRoundTrip()
    {
        QFETCH(Backend, backend);
        QFETCH(bool, withNulls);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 5, s("A"));
        PlayerRecord r = sampleRecord();
        if (withNulls) {
            r.geb.reset();
            r.nummer.reset();
            r.zubezahlen.reset();
        }
        const int sid = insertPlayer(db, 1, r, {5});
        QCOMPARE(sid, 1); // the first player of an empty table
        const auto data = readPlayer(db, sid);
        QVERIFY(data);
        QCOMPARE(data->record, r);
        QCOMPARE(data->tid, 1);
        QCOMPARE(data->classes, (QList<ClassEntryRow>{{5, false}}));
        QCOMPARE(scalar(db, s("SELECT LiveSpielerID FROM Spielerdaten WHERE SID=1")).toInt(), 0);
        QCOMPARE(scalar(db, s("SELECT geb FROM Spielerdaten WHERE SID=1")).isNull(), withNulls);
    }

    // Keys are counted over all tournaments.
    void newKeyIsAboveEveryTournamentsPlayers()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedPlayer(db, 2, 40, s("X"), s("Y"));
        QCOMPARE(insertPlayer(db, 1, sampleRecord(), {}), 41);
    }

    void textsAreCheckedBeforeSaving_data()
    {
        QTest::addColumn<QString>("geb");
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<QString>("betrag");
        QTest::addColumn<QString>("error");
        QTest::newRow("all empty") << "" << " " << "" << "";
        QTest::newRow("valid") << "1.2.2003" << " 12 " << "12,50" << "";
        QTest::newRow("bad date") << "31.02.2003" << "" << "" << "Das Geburtsdatum wurde nicht korrekt eingegeben";
        QTest::newRow("bad number") << "" << "12a" << "" << "Die Rückennummer wurde nicht korrekt eingegeben";
        QTest::newRow("decimal number") << "" << "1,5" << "" << "Die Rückennummer wurde nicht korrekt eingegeben";
        QTest::newRow("bad amount") << "" << "" << "zwölf" << "Die Startgebühr wurde nicht korrekt eingegeben";
    }
    void textsAreCheckedBeforeSaving()
    {
        QFETCH(QString, geb);
        QFETCH(QString, nummer);
        QFETCH(QString, betrag);
        QFETCH(QString, error);
        PlayerTexts t;
        t.nachname = s("Meier");
        t.vorname = s("Hans");
        t.verein = s(" TTC ");
        t.geb = geb;
        t.nummer = nummer;
        t.zubezahlen = betrag;
        t.kverband = s(" Kreis ");
        const PlayerConversion c = convertPlayerTexts(t);
        QCOMPARE(c.error, error);
        QCOMPARE(c.record.has_value(), error.isEmpty());
        if (c.record) {
            QCOMPARE(c.record->verein, s(" TTC ")); // kept as typed
            QCOMPARE(c.record->kverband, s("Kreis"));
            QCOMPARE(c.record->nummer.has_value(), !nummer.trimmed().isEmpty());
            QCOMPARE(c.record->zubezahlen.has_value(), !betrag.isEmpty());
            if (!betrag.isEmpty())
                QCOMPARE(*c.record->zubezahlen, 12.5);
        }
    }

    // A change keeps the check-in of entries that stay; only new entries start unchecked.
    void changeKeepsCheckInOfStayingEntries_data() { addBackendColumn(); addBackendRows(); }
    void changeKeepsCheckInOfStayingEntries()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        for (int kid : {1, 2, 3, 4})
            seedClass(db, 1, kid, s("K%1").arg(kid));
        seedPlayer(db, 1, 7, s("Meier"), s("Hans"));
        seedEntry(db, 1, 1, 7, true);
        seedEntry(db, 1, 2, 7, false);
        seedEntry(db, 1, 3, 7, true);
        const PlayerData loaded = *readPlayer(db, 7);
        PlayerRecord r = loaded.record;
        r.verein = s("Neuer Verein");
        updatePlayer(db, loaded, r, {1, 2, 4});
        QCOMPARE(entries(db, 7), (QList<ClassEntryRow>{{1, true}, {2, false}, {4, false}}));
        QCOMPARE(readPlayer(db, 7)->record.verein, s("Neuer Verein"));
    }

    // Two players of one name: a change acts on the key it is given only.
    void changeActsOnTheKeyNotTheName()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 1, s("A"));
        seedPlayer(db, 1, 1, s("Meier"), s("Hans"), s("TTC A"));
        seedPlayer(db, 1, 2, s("Meier"), s("Hans"), s("TTC B"));
        seedEntry(db, 1, 1, 2, true);
        const QStringList second = dumpTables(db, {s("Spielerdaten"), s("Spieler_im_turnier")}).filter(s("|2|"));
        const PlayerData loaded = *readPlayer(db, 1);
        PlayerRecord r = loaded.record;
        r.email = s("neu@example.org");
        updatePlayer(db, loaded, r, {1});
        QCOMPARE(readPlayer(db, 1)->record.email, s("neu@example.org"));
        QCOMPARE(entries(db, 1), (QList<ClassEntryRow>{{1, false}}));
        QCOMPARE(dumpTables(db, {s("Spielerdaten"), s("Spieler_im_turnier")}).filter(s("|2|")), second);
    }

    void changeOfAVanishedPlayerFails()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 1, s("A"));
        seedPlayer(db, 1, 99, s("Meier"), s("Hans"));
        const PlayerData vanished = *readPlayer(db, 99);
        deletePlayer(db, 99);
        const QStringList before = dumpTables(db);
        QVERIFY_THROWS_EXCEPTION(StaleRecord, updatePlayer(db, vanished, sampleRecord(), {1}));
        QCOMPARE(dumpTables(db), before);
        QVERIFY(!Transaction::active(db));
    }

    // A statement failing part-way leaves the database as it was, and the
    // connection free for the next action.
    void failedSaveLeavesNothing_data()
    {
        addBackendColumn();
        QTest::addColumn<bool>("insert");
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            QTest::newRow(qPrintable(s(name) + s(" insert"))) << backend << true;
            QTest::newRow(qPrintable(s(name) + s(" change"))) << backend << false;
        }
    }
    void failedSaveLeavesNothing()
    {
        QFETCH(Backend, backend);
        QFETCH(bool, insert);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 1, s("A"));
        seedClass(db, 1, 2, s("B"));
        seedPlayer(db, 1, 3, s("Meier"), s("Hans"));
        seedEntry(db, 1, 1, 3, true);
        breakStatementsOn(db, s("Spieler_im_turnier"), s("INSERT"));
        const QStringList before = dumpTables(db);
        if (insert)
            QVERIFY_THROWS_EXCEPTION(DbError, insertPlayer(db, 1, sampleRecord(), {1, 2}));
        else
            QVERIFY_THROWS_EXCEPTION(DbError, updatePlayer(db, *readPlayer(db, 3), sampleRecord(), {2}));
        QCOMPARE(dumpTables(db), before);
        QVERIFY(!Transaction::active(db));
        // The connection takes the next action.
        execute(db, s("DROP TRIGGER fault") + (backend == Backend::PostgreSQL ? s(" ON Spieler_im_turnier") : QString()));
        updatePlayer(db, *readPlayer(db, 3), sampleRecord(), {2});
        QCOMPARE(entries(db, 3), (QList<ClassEntryRow>{{2, false}}));
    }

    void deleteUnlinksThePartner_data() { addBackendColumn(); addBackendRows(); }
    void deleteUnlinksThePartner()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 1, s("D"), ClassKind::Doppel);
        seedPlayer(db, 1, 1, s("A"), s("a"));
        seedPlayer(db, 1, 2, s("B"), s("b"));
        seedEntry(db, 1, 1, 1);
        seedEntry(db, 1, 1, 2);
        seedPair(db, 1, 1, 2);
        seedPair(db, 1, 2, 1);
        deletePlayer(db, 1);
        QVERIFY(!readPlayer(db, 1));
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Spieler_im_turnier WHERE SID=1")).toInt(), 0);
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Doppelpartner WHERE SID=1")).toInt(), 0);
        const auto partner = readPlayer(db, 2);
        QCOMPARE(partner->pairs.size(), 1);
        QVERIFY(!partner->pairs.first().partnerSid);
        QCOMPARE(partner->classes.size(), 1);
    }

    void lists()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 10, s("B"), ClassKind::Einzel, 7.5);
        seedClass(db, 1, 11, s("A"), ClassKind::Doppel);
        seedClass(db, 1, 12, s("A"), ClassKind::Einzel, 12.5);
        seedClass(db, 2, 13, s("A"), ClassKind::Einzel);
        const QList<KlassenInfo> classes = loadOfferedClasses(db, 1);
        QStringList texts;
        QList<int> kids;
        for (const KlassenInfo& k : classes) {
            texts << k.text;
            kids << k.kid;
        }
        QCOMPARE(texts, (QStringList{s("Doppel - A"), s("Einzel - A"), s("Einzel - B")}));
        QCOMPARE(kids, (QList<int>{11, 12, 10}));
        QCOMPARE(classes.at(1).gebuehr, 12.5);

        seedPlayer(db, 1, 1, s("A"), s("a"), s("Zug"));
        seedPlayer(db, 1, 2, s("B"), s("b"), s("alpha"));
        seedPlayer(db, 1, 3, s("C"), s("c"), s(""));
        seedPlayer(db, 2, 4, s("D"), s("d"), s("Fremd"));
        QCOMPARE(playerColumnValues(db, 1, s("verein")), (QStringList{s("alpha"), s("Zug")}));
        QCOMPARE(playerColumnValues(db, 1, s("verein"), true), (QStringList{s(""), s("alpha"), s("Zug")}));
        QVERIFY_THROWS_EXCEPTION(AppError, playerColumnValues(db, 1, s("nachname; DROP TABLE x")));
        const QList<SpielerInfo> members = clubMembers(db, 1, s("Zug"));
        QCOMPARE(members.size(), 1);
        QCOMPARE(members.first().name(), s("A, a"));
        QCOMPARE(loadPlayers(db, 1).size(), 3);
    }

    // The prefix is plain text, compared without regard to case, umlauts included.
    void prefixSearch_data()
    {
        addBackendColumn();
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("found");
        const QList<std::pair<const char*, const char*>> cases{
            {"mü", "Müller, Anna"}, {"MÜ", "Müller, Anna"}, {"m", "Maier, Zoe"}, {"%", ""}, {"_", ""},
            {"M_", ""}, {"100%", "100% Spaß, Tom"}, {"x", ""}, {"", "100% Spaß, Tom"}};
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            for (const auto& [prefix, found] : cases)
                QTest::newRow(qPrintable(s(name) + s(" ") + QString::fromUtf8(prefix)))
                    << backend << QString::fromUtf8(prefix) << QString::fromUtf8(found);
        }
    }
    void prefixSearch()
    {
        QFETCH(Backend, backend);
        QFETCH(QString, prefix);
        QFETCH(QString, found);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedPlayer(db, 1, 1, QString::fromUtf8("Müller"), s("Anna"));
        seedPlayer(db, 1, 2, s("Maier"), s("Zoe"));
        seedPlayer(db, 1, 3, QString::fromUtf8("100% Spaß"), s("Tom"), s("M_Club"));
        seedPlayer(db, 2, 4, s("Maaa"), s("Fremd"));
        const auto p = findPlayerByPrefix(db, 1, prefix);
        QCOMPARE(p ? p->name() : QString(), found);
    }

    void clubSearch()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedPlayer(db, 1, 1, s("A"), s("a"), QString::fromUtf8("Überquell"));
        seedPlayer(db, 1, 2, s("B"), s("b"), s("TTC"));
        QCOMPARE(findClubByPrefix(db, 1, QString::fromUtf8("üb")), std::optional<QString>(QString::fromUtf8("Überquell")));
        QCOMPARE(findClubByPrefix(db, 1, s("t")), std::optional<QString>(s("TTC")));
        QVERIFY(!findClubByPrefix(db, 1, s("%")));
    }

    void sexRule_data()
    {
        QTest::addColumn<bool>("classMen");
        QTest::addColumn<bool>("classWomen");
        QTest::addColumn<bool>("mann");
        QTest::addColumn<bool>("frau");
        QTest::addColumn<bool>("eligible");
        QTest::newRow("men only, man") << true << false << true << false << true;
        QTest::newRow("men only, woman") << true << false << false << true << false;
        QTest::newRow("women only, woman") << false << true << false << true << true;
        QTest::newRow("women only, man") << false << true << true << false << false;
        QTest::newRow("open, woman") << true << true << false << true << true;
        QTest::newRow("open, no sex ticked") << true << true << false << false << false;
    }
    void sexRule()
    {
        QFETCH(bool, classMen);
        QFETCH(bool, classWomen);
        QFETCH(bool, mann);
        QFETCH(bool, frau);
        QFETCH(bool, eligible);
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedClass(db, 1, 1, s("A"), ClassKind::Einzel, 0, QString(), classMen, classWomen);
        QCOMPARE(sexEligible(db, 1, mann, frau), eligible);
        QCOMPARE(sexEligible(db, 2, mann, frau), false); // no such class
    }

    void ageRule_data()
    {
        QTest::addColumn<std::optional<QDate>>("von");
        QTest::addColumn<std::optional<QDate>>("bis");
        QTest::addColumn<bool>("aelter");
        QTest::addColumn<bool>("juenger");
        QTest::addColumn<QDate>("birth");
        QTest::addColumn<bool>("eligible");
        const std::optional<QDate> von = QDate(2000, 1, 1);
        const std::optional<QDate> bis = QDate(2005, 12, 31);
        const std::optional<QDate> none;
        QTest::newRow("inside") << von << bis << false << false << QDate(2003, 6, 15) << true;
        QTest::newRow("on von") << von << bis << false << false << QDate(2000, 1, 1) << false;
        QTest::newRow("on bis") << von << bis << false << false << QDate(2005, 12, 31) << false;
        QTest::newRow("older") << von << bis << false << false << QDate(1999, 12, 31) << false;
        QTest::newRow("older admitted") << von << bis << true << false << QDate(1999, 12, 31) << true;
        QTest::newRow("on von, older admitted") << von << bis << true << false << QDate(2000, 1, 1) << false;
        QTest::newRow("younger") << von << bis << false << false << QDate(2006, 1, 1) << false;
        QTest::newRow("younger admitted") << von << bis << false << true << QDate(2006, 1, 1) << true;
        QTest::newRow("no bounds") << none << none << false << false << QDate(1950, 1, 1) << true;
        QTest::newRow("only von") << von << none << false << false << QDate(2003, 1, 1) << false;
        QTest::newRow("only von, older") << von << none << true << false << QDate(1990, 1, 1) << true;
        QTest::newRow("only bis, younger") << none << bis << false << true << QDate(2010, 1, 1) << true;
    }
    void ageRule()
    {
        QFETCH(std::optional<QDate>, von);
        QFETCH(std::optional<QDate>, bis);
        QFETCH(bool, aelter);
        QFETCH(bool, juenger);
        QFETCH(QDate, birth);
        QFETCH(bool, eligible);
        QCOMPARE(ageEligible(AgeLimits{von, bis, aelter, juenger}, birth), eligible);
    }

    // The age class is the one of the class's own tournament, even when another
    // tournament has one of the same name.
    void ageClassOfTheOwnTournament_data() { addBackendColumn(); addBackendRows(); }
    void ageClassOfTheOwnTournament()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedAgeClass(db, 1, s("U18"), QDate(1900, 1, 1), QDate(1901, 1, 1));
        seedAgeClass(db, 2, s("U18"), QDate(2000, 1, 1), QDate(2005, 12, 31));
        seedClass(db, 2, 7, s("Jugend"), ClassKind::Einzel, 0, s("U18"));
        seedClass(db, 2, 8, s("Offen"), ClassKind::Einzel, 0, s("ohne Beschränkung"));
        QVERIFY(ageEligible(db, 7, QDate(2003, 6, 15)));
        QVERIFY(!ageEligible(db, 7, QDate(1900, 6, 1)));
        QVERIFY(ageEligible(db, 8, QDate(1900, 6, 1)));
    }

    void startNumbers_data()
    {
        addBackendColumn();
        QTest::addColumn<QList<int>>("used");
        QTest::addColumn<int>("next");
        const QList<std::tuple<const char*, QList<int>, int>> cases{
            {"1 2 4", {1, 2, 4}, 3}, {"1 2 3", {1, 2, 3}, 4}, {"none", {}, 1}, {"2 3", {2, 3}, 1},
            {"0 and negative", {0, -5}, 1}, {"gaps", {1, 5, 2, 9, 3}, 4}};
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            for (const auto& [label, used, next] : cases)
                QTest::newRow(qPrintable(s(name) + s(" ") + s(label))) << backend << used << next;
        }
    }
    void startNumbers()
    {
        QFETCH(Backend, backend);
        QFETCH(QList<int>, used);
        QFETCH(int, next);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        int sid = 1;
        for (int n : used) {
            seedPlayer(db, 1, sid, s("P%1").arg(sid), s("v"), s("TTC"), n);
            ++sid;
        }
        seedPlayer(db, 1, sid++, s("Ohne"), s("Nummer"));
        seedPlayer(db, 2, sid++, s("Fremd"), s("x"), s("TTC"), next); // another tournament
        QCOMPARE(nextFreeStartNumber(db, 1), next);
        QVERIFY(!startNumberInUse(db, 1, next));
        for (int n : used)
            QVERIFY(startNumberInUse(db, 1, n));
    }

    // The list of start numbers: players with a number (0 too) by number, then by name.
    void startNumberList_data() { addBackendColumn(); addBackendRows(); }
    void startNumberList()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedPlayer(db, 1, 1, s("Zehn"), s("Z"), s("A"), 10);
        seedPlayer(db, 1, 2, s("Ohne"), s("O"), s("B"));
        seedPlayer(db, 1, 3, s("Null"), s("N"), s("C"), 0);
        seedPlayer(db, 1, 4, s("Zwei"), s("Z"), s("D"), 2);
        seedPlayer(db, 1, 6, s("Auch"), s("Zwei"), s("F"), 2);
        seedPlayer(db, 2, 5, s("Fremd"), s("F"), s("E"), 1);
        QCOMPARE(loadStartNumbers(db, 1),
                 (QList<StartNumberRow>{{0, s("Null, N"), s("C")}, {2, s("Auch, Zwei"), s("F")},
                                        {2, s("Zwei, Z"), s("D")}, {10, s("Zehn, Z"), s("A")}}));
    }
};

QTEST_GUILESS_MAIN(TestPlayerRecords)
#include "test_playerrecords.moc"
