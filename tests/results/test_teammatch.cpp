// One team match without its dialog: the line-up choices of a team, restoring
// the stored line-up, storing the games' plan and line-up, and the call-up and
// start of the match with its games -- guarded, atomic, and on two desks.
#include "teamfixture.h"

#include "data/sql.h"
#include "results/teammatch.h"
#include "support/testdatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(bw::TeamRoster)

using namespace bw;
using namespace bw::test;

namespace {

const QDateTime kMoment(QDate(2026, 6, 7), QTime(10, 15, 0));
const QDate kStartDay(2026, 6, 7);

using Member = std::optional<TeamMemberName>;

Member member(const char* nachname, const char* vorname)
{
    return TeamMemberName{QString::fromUtf8(nachname), QString::fromUtf8(vorname)};
}

TeamMatch loaded(const QSqlDatabase& db, const TeamClass& c, int n, bool callUp = false)
{
    TeamMatchFill fill;
    fill.startDay = kStartDay;
    fill.callUp = callUp;
    fill.freeTables = {QStringLiteral("T2")};
    std::optional<TeamMatch> match = loadTeamMatch(db, c.kid, n, fill);
    if (!match)
        qFatal("no team match %d", n);
    return *match;
}

QStringList gameRows(const QSqlDatabase& db, const TeamClass& c, int n)
{
    return queryRows(db,
                     QStringLiteral("SELECT nummer,spieler1,spieler2,SID1,SID2,p1,p2,sbez1,sbez2,geplanter_tisch,"
                                    "an_platte,schiri FROM Teamspiele WHERE KID=%1 AND spielnummer=%2 ORDER BY nummer")
                         .arg(c.kid)
                         .arg(n));
}

} // namespace

class TestTeamMatch : public QObject {
    Q_OBJECT
private slots:
    void lineupOfATeam_data()
    {
        QTest::addColumn<TeamRoster>("roster");
        QTest::addColumn<QStringList>("singles");
        QTest::addColumn<QStringList>("preselected"); // choices 1..4, double 1, double 2
        QTest::addColumn<QStringList>("pairs");

        TeamRoster r;
        r.spieler = {member("Abel", "Anna"), member("Bader", "Ben"), member("Clausen", "Carl"), std::nullopt};
        r.reserve = {member("Dorn", "Dana"), std::nullopt};
        r.doppel = {member("Abel", "Anna"), member("Bader", "Ben"), member("Clausen", "Carl"), std::nullopt};
        QTest::newRow("three players and a reserve")
            << r << QStringList{"Abel, A.", "Bader, B.", "Clausen, C.", "Dorn, D."}
            << QStringList{"Abel, A.", "Bader, B.", "Clausen, C.", "", "Abel, A. / Bader, B.", "Clausen, C. / "}
            << QStringList{"Abel, A. / Bader, B.", "Clausen, C. / "};

        TeamRoster namesakes;
        namesakes.spieler = {member("Meier", "Jan"), member("Meier", "Jens"), member("Ott", ""), std::nullopt};
        namesakes.doppel = {std::nullopt, member("Meier", "Jan"), std::nullopt, std::nullopt};
        QTest::newRow("namesakes with their first names, none without")
            << namesakes << QStringList{"Meier, Jan", "Meier, Jens", "Ott"}
            << QStringList{"Meier, Jan", "Meier, Jens", "Ott", "", "Meier, Jan", ""}
            << QStringList{"Meier, Jan"};
    }
    void lineupOfATeam()
    {
        QFETCH(TeamRoster, roster);
        QFETCH(QStringList, singles);
        QFETCH(QStringList, preselected);
        QFETCH(QStringList, pairs);
        const TeamLineup lineup = teamLineup(roster);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(lineup[size_t(i)].items, i < 4 ? singles : pairs);
            QCOMPARE(lineup[size_t(i)].text, preselected[i]);
        }
        for (const LineupChoice& choice : teamLineup(std::nullopt))
            QVERIFY(choice.items.isEmpty() && choice.text.isEmpty());
    }

    void setEntriesOfAResult_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("opened");
        QTest::newRow("3:1") << "3:1" << 4;
        QTest::newRow("0:3") << "0:3" << 3;
        QTest::newRow("typed, not offered") << "4:1" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void setEntriesOfAResult()
    {
        QFETCH(QString, result);
        QFETCH(int, opened);
        const QStringList items{"3:2", "3:1", "3:0", "0:3", "1:3", "2:3"};
        QCOMPARE(openedSetEntries(result, items), opened);
    }

    // Storing the games, reloading them, and what is refused.
    void storesAndRestoresTheLineup_data() { addBackendColumn(); addBackendRows(); }
    void storesAndRestoresTheLineup()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const TeamClass c = teamClass(db);

        TeamMatch match = loaded(db, c, c.match);
        QCOMPARE(match.games.size(), size_t(4));
        QVERIFY(match.team1.startsWith(QStringLiteral("Team ")) && match.team2.startsWith(QStringLiteral("Team ")));
        QVERIFY(match.mid1 >= 100 && match.mid2 >= 100);
        QCOMPARE(match.games[2].p1, std::optional<int>(12));
        QCOMPARE(match.games[2].p2, std::optional<int>(12));
        QCOMPARE(match.games[0].tische, (QStringList{"T1", "T2"}));
        // No table is planned, so none is chosen for the organiser; a call-up
        // offers the first free one.
        for (const TeamGameEntry& game : match.games)
            QVERIFY(game.tisch.isEmpty());
        for (const TeamGameEntry& game : loaded(db, c, c.match, true).games)
            QCOMPARE(game.tisch, QStringLiteral("T2"));
        QCOMPARE(match.gameWithoutValidTable(), 1);
        QCOMPARE(match.games[0].tag, kStartDay);
        QVERIFY(match.games[0].zeit.isEmpty());
        for (TeamGameEntry& game : match.games)
            game.tisch = QStringLiteral("T1");

        // Player 3 of team 2 left empty; game 2 at 10:30 at T2.
        match.lineup2[2].text.clear();
        match.games[1].zeit = QStringLiteral("10:30");
        match.games[1].tisch = QStringLiteral("T2");
        match.games[1].schiri = QStringLiteral("Huber, Hans");
        planTeamMatch(db, c.kid, c.match, MatchStage::Open, match.gamePlans(), false);
        // Every game carries game 1's texts of the two sides.
        const QString t1 = readTeamGames(db, c.kid, c.match).front().spieler1;
        const QString t2 = readTeamGames(db, c.kid, c.match).front().spieler2;
        const QString pair1 = match.lineup1[5].text, pair2 = match.lineup2[5].text;
        QVERIFY(pair1.contains(QStringLiteral(" / ")));
        QCOMPARE(gameRows(db, c, c.match),
                 (QStringList{
                     QStringLiteral("1|%1|%2|-1|-1|1|2|%3|%4|T1|NULL|NULL")
                         .arg(t1, t2, match.lineup1[0].text, match.lineup2[1].text),
                     QStringLiteral("2|%1|%2|-1|-1|2|1|%3|%4|T2|NULL|Huber, Hans")
                         .arg(t1, t2, match.lineup1[1].text, match.lineup2[0].text),
                     QStringLiteral("3|%1|%2|-1|-1|12|12|%3|%4|T1|NULL|NULL").arg(t1, t2, pair1, pair2),
                     QStringLiteral("4|%1|%2|-1|-1|3|3|%3|NULL|T1|NULL|NULL").arg(t1, t2, match.lineup1[2].text),
                 }));

        // Reloading shows what was stored; team 2's player 3 stays unselected.
        TeamMatch again = loaded(db, c, c.match);
        QCOMPARE(again.lineup1, match.lineup1);
        QCOMPARE(again.lineup2, match.lineup2);
        QCOMPARE(again.games[1].zeit, QStringLiteral("10:30"));
        QCOMPARE(again.games[1].tisch, QStringLiteral("T2"));
        QCOMPARE(again.games[1].schiri, QStringLiteral("Huber, Hans"));

        // A stored text the team no longer offers restores as no selection.
        execute(db, s("UPDATE Teamspiele SET sbez1='Weg, W.' WHERE KID=:k AND spielnummer=:n AND nummer=1"),
                {{s("k"), c.kid}, {s("n"), c.match}});
        QVERIFY(loaded(db, c, c.match).lineup1[0].text.isEmpty());

        // A bad time in game 4 stores nothing and names the game.
        const QStringList before = dumpTables(db, {s("Teamspiele"), s("Spielplan")});
        again.games[1].zeit = QStringLiteral("11:00");
        again.games[3].zeit = QStringLiteral("25:70");
        try {
            planTeamMatch(db, c.kid, c.match, MatchStage::Open, again.gamePlans(), false);
            QFAIL("a bad time was stored");
        } catch (const AppError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Spiel 4")), qPrintable(e.message()));
        }
        QCOMPARE(dumpTables(db, {s("Teamspiele"), s("Spielplan")}), before);

        // A team still open ("Sieger Spiel 7") is written to every game.
        execute(db,
                s("UPDATE Teamspiele SET MID1=-1,spieler1='Sieger Spiel 7' WHERE KID=:k AND spielnummer=:n "
                  "AND nummer=1"),
                {{s("k"), c.kid}, {s("n"), c.match}});
        TeamMatch open = loaded(db, c, c.match);
        QCOMPARE(open.team1, QStringLiteral("Sieger Spiel 7"));
        for (const LineupChoice& choice : open.lineup1)
            QVERIFY(choice.items.isEmpty());
        planTeamMatch(db, c.kid, c.match, MatchStage::Open, open.gamePlans(), false);
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Teamspiele WHERE KID=:k AND spielnummer=:n AND spieler1=:t"),
                        {{s("k"), c.kid}, {s("n"), c.match}, {s("t"), QStringLiteral("Sieger Spiel 7")}})
                     .toInt(),
                 4);
    }

    // The call-up offers free tables and umpires; call and start store the
    // games with their tables and the match row without table and umpire.
    void callsAndStarts_data() { addBackendColumn(); addBackendRows(); }
    void callsAndStarts()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const TeamClass c = teamClass(db);
        TeamMatch planned = loaded(db, c, c.match);
        for (TeamGameEntry& game : planned.games) {
            game.tisch = QStringLiteral("T1");
            game.schiri = QStringLiteral("Huber, Hans");
        }
        planTeamMatch(db, c.kid, c.match, MatchStage::Open, planned.gamePlans(), false);

        // Planned T1 is taken and Huber busy: T2 and no umpire.
        TeamMatchFill fill;
        fill.startDay = kStartDay;
        fill.callUp = true;
        fill.freeTables = {QStringLiteral("T2")};
        fill.freeUmpires = {QStringLiteral("Abel, Eva")};
        TeamMatch match = *loadTeamMatch(db, c.kid, c.match, fill);
        for (const TeamGameEntry& game : match.games) {
            QCOMPARE(game.tisch, QStringLiteral("T2"));
            QVERIFY(game.schiri.isEmpty());
            QCOMPARE(game.schiris, fill.freeUmpires);
        }
        QCOMPARE(match.gameWithoutValidTable(), 0);
        match.games[3].tisch = QStringLiteral("T9");
        QCOMPARE(match.gameWithoutValidTable(), 4);
        match.games[3].tisch = QStringLiteral("T2");

        callTeamMatch(db, c.kid, c.match, match.gamePlans(), false, kMoment);
        const MatchDialogRow row = *readMatchDialogRow(db, c.kid, c.match);
        QCOMPARE(row.state(), MatchStage::Called);
        QVERIFY(row.anPlatte.isEmpty() && row.schiri.isEmpty());
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Teamspiele WHERE KID=:k AND spielnummer=:n AND an_platte='T2'"),
                        {{s("k"), c.kid}, {s("n"), c.match}})
                     .toInt(),
                 4);

        // The other match cannot be called to T2 now, only by hand.
        TeamMatch other = loaded(db, c, c.other);
        for (TeamGameEntry& game : other.games)
            game.tisch = QStringLiteral("T2");
        const QStringList before = dumpTables(db, {s("Teamspiele"), s("Spielplan")});
        QVERIFY_THROWS_EXCEPTION(MatchConflict, callTeamMatch(db, c.kid, c.other, other.gamePlans(), false, kMoment));
        QCOMPARE(dumpTables(db, {s("Teamspiele"), s("Spielplan")}), before);
        callTeamMatch(db, c.kid, c.other, other.gamePlans(), true, kMoment);
        QVERIFY(readMatchDialogRow(db, c.kid, c.other)->manuell);

        // A second call or a start of a match not called is refused.
        QVERIFY_THROWS_EXCEPTION(MatchConflict, callTeamMatch(db, c.kid, c.match, match.gamePlans(), false, kMoment));
        startTeamMatch(db, c.kid, c.match, match.gamePlans(), kMoment);
        QCOMPARE(readMatchDialogRow(db, c.kid, c.match)->state(), MatchStage::Running);
        QVERIFY_THROWS_EXCEPTION(MatchConflict, startTeamMatch(db, c.kid, c.match, match.gamePlans(), kMoment));
        QVERIFY_THROWS_EXCEPTION(MatchConflict,
                                 planTeamMatch(db, c.kid, c.match, MatchStage::Open, match.gamePlans(), false));
    }

    void twoDesksCallOneMatch_data() { addBackendColumn(); addBackendRows(); }
    void twoDesksCallOneMatch()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase desk1 = tdb.db();
        const QSqlDatabase desk2 = tdb.open();
        const TeamClass c = teamClass(desk1);
        const TeamMatch seen1 = loaded(desk1, c, c.match);
        TeamMatch seen2 = loaded(desk2, c, c.match);
        for (TeamGameEntry& game : seen2.games)
            game.tisch = QStringLiteral("T2");
        callTeamMatch(desk1, c.kid, c.match, seen1.gamePlans(), false, kMoment);
        const QStringList before = dumpTables(desk1, {s("Teamspiele"), s("Spielplan")});
        try {
            callTeamMatch(desk2, c.kid, c.match, seen2.gamePlans(), false, kMoment);
            QFAIL("the second call-up was stored");
        } catch (const MatchConflict& e) {
            QCOMPARE(e.message(), kMatchChanged);
        }
        QCOMPARE(dumpTables(desk1, {s("Teamspiele"), s("Spielplan")}), before);
    }

    void atomic_data() { addBackendColumn(); addBackendRows(); }
    void atomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const TeamClass c = teamClass(db);
        const std::vector<TeamGamePlan> plans = loaded(db, c, c.match).gamePlans();
        QString failure =
            checkAtomic(db, [&] { planTeamMatch(db, c.kid, c.match, MatchStage::Open, plans, false); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        failure = checkAtomic(db, [&] { callTeamMatch(db, c.kid, c.match, plans, false, kMoment); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        failure = checkAtomic(db, [&] { startTeamMatch(db, c.kid, c.match, plans, kMoment); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(TestTeamMatch)
#include "test_teammatch.moc"
