// Match rows on both backends: every column of a new match row and of its team
// games, the games numbered in format order over a format with a gap, none in
// singles, doubles and mixed classes, and a match with its games written all or
// nothing.
#include "matchfixture.h"

#include "data/schema.h"
#include "draw/matchrows.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

Q_DECLARE_METATYPE(bw::ClassKind)

namespace {

// Games 1-4 and 6 of the nine places named, 5 empty, 7 half named.
TeamFormat formatWithAGap()
{
    TeamFormat f;
    f.spieler = 4;
    const int a[] = {1, 2, 3, 4, 0, 11, 3, 0, 0};
    const int b[] = {2, 1, 4, 3, 0, 12, 0, 0, 0};
    for (size_t n = 0; n < 9; ++n) {
        if (a[n])
            f.a[n] = a[n];
        if (b[n])
            f.b[n] = b[n];
    }
    return f;
}

NewMatch fullMatch()
{
    NewMatch m = match(12, entrant(101, QStringLiteral("Abel, Anna"), 0, 1), bye(-3, 2));
    m.parentspiel1 = 3;
    m.parentsieger1 = true;
    m.parentspiel2 = 4;
    m.parentsieger2 = false;
    m.phase = 2;
    m.gruppe = -1;
    m.platz = 5;
    return m;
}

// Compares a row with what each of the table's columns must hold; a column of
// the schema without an expectation fails, so a new column is not forgotten.
void compareEveryColumn(const QString& table, const QVariantMap& row, const QVariantMap& expected)
{
    for (const QString& column : columnNames(table)) {
        const QString name = column.toLower();
        QVERIFY2(expected.contains(name), qPrintable(table + QStringLiteral(": no expectation for ") + column));
        const QVariant want = expected.value(name);
        const QVariant got = row.value(name);
        QVERIFY2(got.isNull() == !want.isValid() && got.toString() == want.toString(),
                 qPrintable(QStringLiteral("%1.%2 is %3, not %4")
                                .arg(table, column, got.isNull() ? QStringLiteral("Null") : got.toString(),
                                     want.isValid() ? want.toString() : QStringLiteral("Null"))));
    }
}

// The fixed values of a new match or game: sets 0, "0:0", no flags, undecided.
void addResultDefaults(QVariantMap& expected)
{
    for (int set = 1; set <= 9; ++set)
        expected.insert(QStringLiteral("satz%1").arg(set), 0);
    expected.insert(QStringLiteral("ergebnis"), QStringLiteral("0:0"));
    for (const char* flag : {"beendet", "in_planung", "begonnen", "manuell"})
        expected.insert(QString::fromLatin1(flag), 0);
    for (const char* unset : {"spielstart", "spielende", "geplanter_tag", "geplanter_tisch", "geplante_zeit", "schiri",
                              "an_platte"})
        expected.insert(QString::fromLatin1(unset), QVariant());
    expected.insert(QStringLiteral("siegersid"), -1);
    expected.insert(QStringLiteral("verlierersid"), -1);
}

void addSources(QVariantMap& expected, const NewMatch& m)
{
    expected.insert(QStringLiteral("spielnummer"), m.spielnummer);
    expected.insert(QStringLiteral("spieler1"), m.spieler1);
    expected.insert(QStringLiteral("spieler2"), m.spieler2);
    expected.insert(QStringLiteral("parentspiel1"), m.parentspiel1);
    expected.insert(QStringLiteral("parentsieger1"), m.parentsieger1 ? 1 : 0);
    expected.insert(QStringLiteral("parentspiel2"), m.parentspiel2);
    expected.insert(QStringLiteral("parentsieger2"), m.parentsieger2 ? 1 : 0);
    expected.insert(QStringLiteral("parentgid1"), m.parentGID1);
    expected.insert(QStringLiteral("parentpos1"), m.parentpos1);
    expected.insert(QStringLiteral("parentgid2"), m.parentGID2);
    expected.insert(QStringLiteral("parentpos2"), m.parentpos2);
    expected.insert(QStringLiteral("phase"), m.phase);
    expected.insert(QStringLiteral("gruppe"), m.gruppe);
}

} // namespace

class TestMatchRows : public QObject {
    Q_OBJECT

private slots:
    void matchRowHasEveryColumn_data() { addBackendColumn(); addBackendRows(); }
    void matchRowHasEveryColumn()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = makeClass(db, ClassKind::Einzel);
        const NewMatch m = fullMatch();
        MatchRowWriter(db, kTid, kid, ClassKind::Einzel, readTeamFormat(db, kid)).spielplanfuellen(m);

        QVariantMap expected;
        addResultDefaults(expected);
        addSources(expected, m);
        expected.insert(QStringLiteral("kid"), kid);
        expected.insert(QStringLiteral("tid"), kTid);
        expected.insert(QStringLiteral("sid1"), 101);
        expected.insert(QStringLiteral("sid2"), Freilos);
        expected.insert(QStringLiteral("platz"), 5);
        for (const char* call : {"aufruf1_sp1", "aufruf1_sp2", "aufruf1_sch", "aufruf2_sp1", "aufruf2_sp2",
                                 "aufruf2_sch", "aufruf3_sp1", "aufruf3_sp2", "aufruf3_sch", "bemerkung"})
            expected.insert(QString::fromLatin1(call), QVariant());

        const QList<QVariantMap> rows = rowsByColumn(execute(db, QStringLiteral("SELECT * FROM Spielplan")));
        QCOMPARE(rows.size(), 1);
        compareEveryColumn(QStringLiteral("Spielplan"), rows[0], expected);
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM Teamspiele")).toInt(), 0);
    }

    // Games 1-4 and 6 named, 5 empty: five games numbered 1 to 5 per match, a
    // bye encounter included, each with the teams, texts and sources of its match.
    void teamMatchGetsItsGames_data() { addBackendColumn(); addBackendRows(); }
    void teamMatchGetsItsGames()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = makeClass(db, ClassKind::Team, formatWithAGap());
        MatchRowWriter writer(db, kTid, kid, ClassKind::Team, readTeamFormat(db, kid));
        QCOMPARE(writer.games(), 5);
        const NewMatch first = match(1, entrant(31, QStringLiteral("TTC Nord")), entrant(32, QStringLiteral("SV Süd")));
        const NewMatch withBye = fullMatch();
        writer.spielplanfuellen(first);
        writer.spielplanfuellen(withBye);

        const QList<QVariantMap> games = rowsByColumn(execute(
            db, QStringLiteral("SELECT * FROM Teamspiele WHERE KID=:k ORDER BY spielnummer, nummer"), {{"k", kid}}));
        QCOMPARE(games.size(), 10);
        for (int i = 0; i < games.size(); ++i) {
            const NewMatch& m = i < 5 ? first : withBye;
            QVariantMap expected;
            addResultDefaults(expected);
            addSources(expected, m);
            expected.insert(QStringLiteral("kid"), kid);
            expected.insert(QStringLiteral("tid"), kTid);
            expected.insert(QStringLiteral("nummer"), i % 5 + 1);
            expected.insert(QStringLiteral("mid1"), m.sid1);
            expected.insert(QStringLiteral("mid2"), m.sid2);
            expected.insert(QStringLiteral("sid1"), -1);
            expected.insert(QStringLiteral("sid2"), -1);
            for (const char* lineup : {"sbez1", "sbez2", "p1", "p2"})
                expected.insert(QString::fromLatin1(lineup), QVariant());
            compareEveryColumn(QStringLiteral("Teamspiele"), games[i], expected);
        }
    }

    // A class of another kind gets no games, even with a format left from the
    // time it was a team class.
    void otherKindsGetNoGames_data()
    {
        addBackendColumn();
        QTest::addColumn<ClassKind>("kind");
        for (const auto& [name, kind] : {std::pair{"einzel", ClassKind::Einzel}, std::pair{"doppel", ClassKind::Doppel},
                                         std::pair{"mixed", ClassKind::Mixed}}) {
            QTest::addRow("%s-sqlite", name) << Backend::SQLite << kind;
            QTest::addRow("%s-postgresql", name) << Backend::PostgreSQL << kind;
        }
    }
    void otherKindsGetNoGames()
    {
        QFETCH(Backend, backend);
        QFETCH(ClassKind, kind);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = makeClass(db, kind);
        MatchRowWriter writer(db, kTid, kid, kind, formatWithAGap());
        QCOMPARE(writer.games(), 0);
        writer.spielplanfuellen(match(1, entrant(1, QStringLiteral("A")), entrant(2, QStringLiteral("B"))));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM Spielplan")).toInt(), 1);
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM Teamspiele")).toInt(), 0);
    }

    void matchAndGamesAllOrNothing_data() { addBackendColumn(); addBackendRows(); }
    void matchAndGamesAllOrNothing()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = makeClass(db, ClassKind::Team, formatWithAGap());
        const std::optional<TeamFormat> format = readTeamFormat(db, kid);
        int runs = 0;
        const QString failure = checkAtomic(
            db,
            [&] {
                MatchRowWriter(db, kTid, kid, ClassKind::Team, format).spielplanfuellen(fullMatch());
            },
            {QStringLiteral("Spielplan"), QStringLiteral("Teamspiele")}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(runs, 7); // the match, five games, then the run that completes
    }
};

QTEST_GUILESS_MAIN(TestMatchRows)
#include "test_matchrows.moc"
