// Recording team match results without widgets, on both backends: the match
// row with the result in games and its games with their sets, both teams sent
// on into the match rows and every game waiting for them, the resources of
// every game back, the losing team's players as umpires, the team counters and
// the team ranking, the group end sending a team into every game of every
// match it feeds, entries refused before anything is written (a team result
// against its games and each game's sets against its result), every statement
// failing in turn, and two desks recording one team match. Taking a team
// result back and correcting it: a knock-out chain, a group place fed on, a
// placement match, the class as it was, one transaction each.
#include "../draw/matchfixture.h"
#include "takebackfixture.h"

#include "data/dbvalue.h"
#include "data/sql.h"
#include "platform/apperror.h"
#include "platform/clock.h"
#include "results/resultengine.h"
#include "results/standingsstep.h"
#include "results/takeback.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const MatchSide kNord = entrant(1, QStringLiteral("Team Nord"));
const MatchSide kSued = entrant(2, QStringLiteral("Team Süd"));
const MatchSide kOst = entrant(3, QStringLiteral("Team Ost"));
const MatchSide kWest = entrant(4, QStringLiteral("Team West"));

// Nine games: A1-B2, A2-B3, A3-B1, ... (the positions do not matter here).
TeamFormat nineGames()
{
    TeamFormat format;
    format.spieler = 3;
    format.reserve = 2;
    for (int n = 0; n < 9; ++n) {
        format.a[size_t(n)] = n % 3 + 1;
        format.b[size_t(n)] = (n + 1) % 3 + 1;
    }
    return format;
}

void addPlayer(const QSqlDatabase& db, int sid, const QString& nachname, const QString& vorname, const QString& verein,
               const QVariant& geb)
{
    insertRow(db, QStringLiteral("Spielerdaten"),
              {{"TID", kTid}, {"SID", sid}, {"nachname", nachname}, {"vorname", vorname}, {"verein", verein},
               {"geb", geb}, {"land", "DE"}, {"spklasse", "B"}});
}

void addTeam(const QSqlDatabase& db, int kid, const MatchSide& team, const QVariantList& members)
{
    QVariantMap row{{"TID", kTid}, {"KID", kid}, {"MID", team.id}, {"teamname", team.text}, {"verein", "TTC"}};
    const char* const columns[] = {"s1", "s2", "s3", "s4", "r1", "r2", "d1_1", "d1_2", "d2_1", "d2_2"};
    for (int i = 0; i < 10; ++i)
        row.insert(QString::fromLatin1(columns[i]), i < members.size() ? members[i] : QVariant());
    insertRow(db, QStringLiteral("Teams"), row);
}

void setRunning(const QSqlDatabase& db, int kid, int spielnummer)
{
    execute(db, QStringLiteral("UPDATE Spielplan SET begonnen=1 WHERE KID=:kid AND spielnummer=:n"),
            {{"kid", kid}, {"n", spielnummer}});
}

// A game won by team 1 (`first`) or team 2 with three sets of +5 from the
// winner's view, at `platte` with `schiri`.
GameEntry game(int nummer, bool first, const QString& platte = {}, const QString& schiri = {})
{
    GameEntry g;
    g.nummer = nummer;
    g.ergebnis = first ? QStringLiteral("3:0") : QStringLiteral("0:3");
    for (int i = 0; i < 3; ++i)
        g.saetze[size_t(i)] = first ? QStringLiteral("+5") : QStringLiteral("-5");
    g.platte = platte;
    g.schiri = schiri;
    return g;
}

// The team result "a:b" over games 1..a+b, team 1 winning the first a; with
// `shown` above a+b the games after them are shown without a result.
TeamResultEntry teamEntry(int kid, int spielnummer, int a, int b, int gruppe = -1, int shown = 0)
{
    TeamResultEntry e;
    e.match.kid = kid;
    e.match.spielnummer = spielnummer;
    e.match.gruppe = gruppe;
    e.match.ergebnis = QStringLiteral("%1:%2").arg(a).arg(b);
    for (int n = 1; n <= a + b; ++n)
        e.spiele.append(game(n, n <= a));
    for (int n = a + b + 1; n <= shown; ++n)
        e.spiele.append(GameEntry{n, {}, {}, {}, {}});
    return e;
}

// The slots of a match row and of each of its games: "id text" per side, the
// row first.
QStringList slotsOf(const QSqlDatabase& db, int kid, int spielnummer, int side)
{
    const QString n = QString::number(side);
    QStringList rows = queryRows(db, s("SELECT SID") + n + s(",spieler") + n +
                                         s(" FROM Spielplan WHERE KID=%1 AND spielnummer=%2").arg(kid).arg(spielnummer),
                                 QStringLiteral("NULL"), QLatin1Char(' '));
    rows += queryRows(db, s("SELECT MID") + n + s(",spieler") + n +
                              s(" FROM Teamspiele WHERE KID=%1 AND spielnummer=%2 ORDER BY nummer").arg(kid).arg(spielnummer),
                      QStringLiteral("NULL"), QLatin1Char(' '));
    return rows;
}

// The games of the class as they must come back after a result was recorded
// and taken back: all but the sets and results of the games of `except`.
QStringList gamesDump(const QSqlDatabase& db, int kid, int except)
{
    const QString k = QString::number(kid);
    const QString n = QString::number(except);
    return queryRows(db, s("SELECT * FROM Teamspiele WHERE KID=") + k + s(" AND spielnummer<>") + n +
                             s(" ORDER BY spielnummer,nummer")) +
           queryRows(db, s("SELECT nummer,MID1,SID1,spieler1,MID2,SID2,spieler2,siegerSID,verliererSID,"
                           "in_planung,begonnen FROM Teamspiele WHERE KID=") +
                             k + s(" AND spielnummer=") + n + s(" ORDER BY nummer"));
}

// The sets and results of a match's games: "satz1 ergebnis beendet" each.
QStringList gameResults(const QSqlDatabase& db, int kid, int spielnummer)
{
    return queryRows(db, s("SELECT satz1,ergebnis,beendet FROM Teamspiele WHERE KID=%1 AND spielnummer=%2 "
                           "ORDER BY nummer").arg(kid).arg(spielnummer),
                     QStringLiteral("NULL"), QLatin1Char(' '));
}

// Every line the same text, `count` of them.
QStringList repeated(const QString& line, int count)
{
    return QStringList(count, line);
}

void backends()
{
    addBackendColumn();
    addBackendRows();
}

// Answers the group end's information boxes.
class Boxes : public FakePrompter {
public:
    PromptAnswer prompt(PromptKind kind, const QString& text, PromptButtons buttons, const QString& title) override
    {
        if (kind == PromptKind::Information)
            return PromptAnswer::Ok;
        return FakePrompter::prompt(kind, text, buttons, title);
    }
};

} // namespace

Q_DECLARE_METATYPE(bw::TeamResultEntry)

class TestTeamResult : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_tdb;
    int m_kid = 0;
    FixedClock m_clock{QDateTime(QDate(2026, 5, 2), QTime(16, 5, 0))};

    QSqlDatabase db() const { return m_tdb->db(); }

    bool open()
    {
        QFETCH(Backend, backend);
        m_tdb = std::make_unique<TestDatabase>(backend);
        return m_tdb->ready();
    }

    // A team knock-out of nine games a match: 1 Nord-Süd and 2 Ost-West
    // running, 3 waits for both winners, 4 (the losers' round of a double
    // knock-out) for both losers, 5 for the winners of 3 and 4; the placement
    // match 6 Ost-West. The class plays at "Tisch 1" and "Tisch 2".
    // Team Süd: s1 Adler, s2 Richter (a referee already), s3 empty (0), s4 not
    // in the format (Null), reserves Berg and Conrad.
    bool makeKnockOut()
    {
        if (!open())
            return false;
        m_kid = makeClass(db(), ClassKind::Team, nineGames());
        for (const char* table : {"Tisch 1", "Tisch 2"})
            insertRow(db(), QStringLiteral("Platten1"), {{"KID", m_kid}, {"platte", table}, {"TID", kTid}});
        addPlayer(db(), 21, QStringLiteral("Adler"), QStringLiteral("Anton"), QStringLiteral("TTC Nord"),
                  QDateTime(QDate(1990, 3, 4), QTime(0, 0)));
        addPlayer(db(), 22, QStringLiteral("Richter"), QStringLiteral("Rita"), QStringLiteral("TTC Nord"), QVariant());
        addPlayer(db(), 25, QStringLiteral("Berg"), QStringLiteral("Bea"), QStringLiteral("SV West"),
                  QDateTime(QDate(1985, 1, 2), QTime(0, 0)));
        addPlayer(db(), 26, QStringLiteral("Conrad"), QStringLiteral("Carl"), QStringLiteral("SV Ost"), QVariant());
        addPlayer(db(), 11, QStringLiteral("Nagel"), QStringLiteral("Nina"), QStringLiteral("TTC Nord"), QVariant());
        insertRow(db(), QStringLiteral("Schiri"),
                  {{"TID", kTid}, {"SCHIRIID", 40}, {"snname", "Richter"}, {"svname", "Rita"}});
        addTeam(db(), m_kid, kNord, {11, 0, 0, QVariant(), 0, 0});
        addTeam(db(), m_kid, kSued, {21, 22, 0, QVariant(), 25, 26});
        MatchInserter inserter(db(), kTid, m_kid);
        NewMatch placement = match(6, kOst, kWest);
        placement.phase = 4;
        // The slots waiting for a match know it, as the draw writes them.
        const auto fed = [](NewMatch m, int first, int second, bool winners) {
            m.parentspiel1 = first;
            m.parentspiel2 = second;
            m.parentsieger1 = m.parentsieger2 = winners;
            return m;
        };
        for (const NewMatch& m : {match(1, kNord, kSued), match(2, kOst, kWest),
                                  fed(match(3, winnerOf(1), winnerOf(2)), 1, 2, true),
                                  fed(match(4, loserOf(1), loserOf(2)), 1, 2, false),
                                  fed(match(5, winnerOf(3), winnerOf(4)), 3, 4, true), placement}) {
            inserter.insertMatch(m);
            for (int n = 1; n <= 9; ++n)
                inserter.insertGame(m, n);
        }
        setRunning(db(), m_kid, 1);
        setRunning(db(), m_kid, 2);
        return true;
    }

    FakePlan knockOutPlan() const
    {
        FakePlan plan;
        plan.pools[QStringLiteral("allespieler")] = {};
        plan.pools[QStringLiteral("alleplatten")] = {};
        plan.pools[QStringLiteral("schiri")] = {};
        plan.pools[QStringLiteral("alleschiris")] = {{QStringLiteral("Richter, Rita"), 40}};
        plan.labels[1] = {{winnerPlaceholder(1), -1}, {loserPlaceholder(1), -1}};
        return plan;
    }

    // A team class of three games a match drawn with `entrants` teams.
    int drawnTeamClass(const QList<PhaseSettings>& phases, int entrants)
    {
        ClassRecord record;
        record.system = ClassKind::Team;
        record.kbezeichnung = QStringLiteral("Mannschaften");
        TeamFormat format;
        format.spieler = 2;
        format.a = {1, 2, 11};
        format.b = {2, 1, 11};
        const int kid = insertClass(db(), kPlanTid, record, {}, format);
        FinishedDraw draw = firstDraw(kPlanTid, kid, phases, entrants);
        draw.kind = ClassKind::Team;
        saveGroupSettings(db(), kid, draw.settings, {});
        finishDraw(db(), draw, readPlanDefinitions(draw, shippedPlanFile("system.txt"), shippedPlanFile("ko_system.txt")));
        return kid;
    }

private slots:
    // 5:4 and 4:5: the match row with the result in games and no sets, every
    // game with its sets and result, winner and loser in the match rows and in
    // every game of the matches waiting for them.
    void teamResult_data()
    {
        addBackendColumn();
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            QTest::addRow("%s 5:4", name) << backend << 5 << 4;
            QTest::addRow("%s 4:5", name) << backend << 4 << 5;
        }
    }
    void teamResult()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        if (!makeKnockOut())
            return;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        TeamResultEntry entry = teamEntry(m_kid, 1, a, b);
        entry.spiele[0].ergebnis = QStringLiteral("3:2");
        entry.spiele[0].saetze = {QStringLiteral(" +9"), QStringLiteral("-0"), QStringLiteral("-00"),
                                  QStringLiteral("12"), QStringLiteral("+4")};
        QCOMPARE(engine.recordTeamResult(entry), RecordOutcome::Recorded);

        const MatchSide& winner = a > b ? kNord : kSued;
        const MatchSide& loser = a > b ? kSued : kNord;
        QCOMPARE(queryRows(db(), s("SELECT beendet,begonnen,ergebnis,siegerSID,verliererSID,satz1,satz2,satz9 "
                                   "FROM Spielplan WHERE KID=%1 AND spielnummer=1").arg(m_kid)),
                 QStringList{QStringLiteral("1|0|%1:%2|%3|%4|NULL|NULL|NULL").arg(a).arg(b).arg(winner.id).arg(loser.id)});
        QStringList games{QStringLiteral("1|9|-100|-100|12|4|3:2")};
        for (int n = 2; n <= a + b; ++n)
            games << (n <= a ? QStringLiteral("%1|5|5|5|NULL|NULL|3:0") : QStringLiteral("%1|-5|-5|-5|NULL|NULL|0:3")).arg(n);
        QCOMPARE(queryRows(db(), s("SELECT nummer,satz1,satz2,satz3,satz4,satz5,ergebnis FROM Teamspiele "
                                   "WHERE KID=%1 AND spielnummer=1 ORDER BY nummer").arg(m_kid)),
                 games);
        QCOMPARE(slotsOf(db(), m_kid, 3, 1), repeated(QStringLiteral("%1 %2").arg(winner.id).arg(winner.text), 10));
        QCOMPARE(slotsOf(db(), m_kid, 4, 1), repeated(QStringLiteral("%1 %2").arg(loser.id).arg(loser.text), 10));
        QCOMPARE(slotsOf(db(), m_kid, 3, 2), repeated(QStringLiteral("-1 ") + winnerPlaceholder(2), 10));
        QCOMPARE(plan.labels[1].value(winner.text), winner.id);
        QCOMPARE(plan.labels[1].value(loser.text), loser.id);
        QCOMPARE(plan.poolTexts("allespieler"), (QStringList{"1", "2"}));
    }

    // The tables and umpires of every game back: a table only when it is one
    // of the class's, an umpire only when he is one of the class's.
    void resourcesBack_data() { backends(); }
    void resourcesBack()
    {
        if (!makeKnockOut())
            return;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        TeamResultEntry entry = teamEntry(m_kid, 1, 2, 1);
        entry.spiele[0] = game(1, true, QStringLiteral("Tisch 2"), QStringLiteral("Richter, Rita"));
        entry.spiele[1] = game(2, true, QStringLiteral("Halle 9"), QStringLiteral("Getippt, Gerd"));
        entry.spiele[2] = game(3, false, QStringLiteral("Tisch 1"), QStringLiteral("Richter, Rita"));
        QCOMPARE(engine.recordTeamResult(entry), RecordOutcome::Recorded);
        QCOMPARE(plan.poolTexts("alleplatten"), (QStringList{"Tisch 2", "Tisch 1"}));
        QCOMPARE(plan.poolTexts("schiri"), QStringList{"Richter, Rita"});
        QCOMPARE(plan.poolTexts("allespieler"), (QStringList{"1", "2"}));
    }

    // "Verlierer in Schiedsrichterpool übernehmen": the losing team's players
    // and reserves as referees, each with his own club and birth date; a name
    // that is a referee already, an empty slot and a slot the format lacks add
    // nobody. The winning team adds nobody.
    void losersAsUmpires_data() { backends(); }
    void losersAsUmpires()
    {
        if (!makeKnockOut())
            return;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        TeamResultEntry entry = teamEntry(m_kid, 1, 5, 3);
        entry.match.verliererAlsSchiri = true;
        QCOMPARE(engine.recordTeamResult(entry), RecordOutcome::Recorded);
        QCOMPARE(queryRows(db(), s("SELECT SCHIRIID,snname,svname,sverein,smemo,sangemeldet FROM Schiri "
                                   "WHERE TID=%1 AND SCHIRIID>40 ORDER BY SCHIRIID").arg(kTid)),
                 (QStringList{"41|Adler|Anton|TTC Nord|Verlierer aus Spiel 1|1",
                              "42|Berg|Bea|SV West|Verlierer aus Spiel 1|1",
                              "43|Conrad|Carl|SV Ost|Verlierer aus Spiel 1|1"}));
        const auto born = [&](int id) {
            return readDate(scalar(db(), s("SELECT sgeb FROM Schiri WHERE SCHIRIID=:i"), {{"i", id}}));
        };
        QCOMPARE(born(41), QDate(1990, 3, 4));
        QCOMPARE(born(42), QDate(1985, 1, 2));
        QVERIFY(born(43).isNull());
        QCOMPARE(queryRows(db(), s("SELECT COUNT(*) FROM Schiri")), QStringList{"4"});
        QCOMPARE(queryRows(db(), s("SELECT SCHIRIID FROM Schiri_im_turnier WHERE KID=%1 ORDER BY SCHIRIID").arg(m_kid)),
                 (QStringList{"41", "42", "43"}));
        QCOMPARE(plan.poolTexts("schiri"), (QStringList{"Adler, Anton", "Berg, Bea", "Conrad, Carl"}));
        QCOMPARE(plan.pools["alleschiris"].last(), (std::pair<QString, int>{"Conrad, Carl", 43}));
    }

    // One game 3:1 with +9, -12, +5, +7 gives 45:35 points and 3:1 sets; a
    // game without a result adds no sets but its sets count points; a set
    // stored as -100 is 0:11.
    void teamCounters()
    {
        GroupMatch m;
        m.spielnummer = 1;
        m.sid1 = 1;
        m.sid2 = 2;
        m.beendet = true;
        m.siegerSID = 1;
        m.verliererSID = 2;
        m.ergebnis = QStringLiteral("2:1");
        m.spiele = {{1, QStringLiteral("3:1"), {9, -12, 5, 7}},
                    {2, QString(), {3}},
                    {3, QStringLiteral("0:3"), {-100, -9, -9}}};
        GroupMatch open = m;
        open.spielnummer = 2;
        open.beendet = false;
        const StandingsCounters first = teamCountersOf(1, {m, open});
        const StandingsCounters expected{1, 1, 0, 2, 1, 3, 4, 45 + 11 + 0 + 9 + 9, 35 + 3 + 11 + 11 + 11};
        QCOMPARE(first, expected);
        const StandingsCounters second = teamCountersOf(2, {m, open});
        QCOMPARE(second, (StandingsCounters{1, 0, 1, 1, 2, 4, 3, expected.punkteverloren, expected.punktegewonnen}));
        QCOMPARE(teamCountersOf(3, {m}), StandingsCounters{});
    }

    // The team ranking: team-match difference, team matches won, game
    // difference, games won, set difference, sets won, point difference,
    // points won, each deciding when all before it are equal, against every
    // key after it; then the team matches among the tied, then the old order.
    void teamRanking()
    {
        const auto item = [](int sid, const QList<std::pair<int, int>>& pairs) {
            tabellenitem i;
            i.SID = sid;
            i.pos = sid;
            std::tie(i.matchegewonnen, i.matcheverloren) = pairs[0];
            std::tie(i.spielegewonnen, i.spieleverloren) = pairs[1];
            std::tie(i.saetzegewonnen, i.saetzeverloren) = pairs[2];
            std::tie(i.punktegewonnen, i.punkteverloren) = pairs[3];
            return i;
        };
        for (int key = 0; key < 8; ++key) {
            QList<std::pair<int, int>> a(4, {3, 3});
            QList<std::pair<int, int>> b = a;
            const int pair = key / 2;
            a[pair] = {5, 5};
            b[pair] = key % 2 == 0 ? std::pair{6, 5} : std::pair{6, 6};
            for (int later = pair + 1; later < 4; ++later) {
                a[later] = {90, 0};
                b[later] = {0, 90};
            }
            const QList<tabellenitem> ranked = rankGroup({item(0, a), item(1, b)}, true, {});
            QVERIFY2(ranked[0].SID == 1 && !hasTies(ranked), qPrintable(QStringLiteral("key %1").arg(key)));
            QCOMPARE(rankCandidates({item(0, a), item(1, b)}, true)[0].SID, 1);
        }
        const QList<std::pair<int, int>> equal(4, {2, 2});
        QCOMPARE(rankGroup({item(0, equal), item(1, equal)}, true, {{1, 0}})[0].SID, 1);
        const QList<tabellenitem> tied = rankGroup({item(0, equal), item(1, equal)}, true, {});
        QCOMPARE(tied[0].SID, 0);
        QVERIFY(tied[0].marked() && tied[1].marked());
    }

    // The last team match of group A ends it: its winner and second stand in
    // every match row of phase 2 waiting for them and in every game of those
    // matches, in a later group (three matches each) and in a knock-out; the
    // counters of the group are the team match's.
    void groupEnd_data()
    {
        addBackendColumn();
        QTest::addColumn<bool>("laterGroup");
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            QTest::addRow("%s group", name) << backend << true;
            QTest::addRow("%s knock-out", name) << backend << false;
        }
    }
    void groupEnd()
    {
        QFETCH(bool, laterGroup);
        if (!open())
            return;
        // Two groups of two whose winners and seconds meet in a group of four
        // in phase 2, or whose winners meet in a knock-out.
        const int kid = laterGroup ? drawnTeamClass({groupPhase(2, 2, 2), groupPhase(1, 4)}, 4)
                                   : drawnTeamClass({groupPhase(2, 2, 1), knockOut()}, 4);
        // Group A (GID 0) holds entrants 100 and 103 and one match.
        const std::optional<GroupMatch> m = matchBetween(db(), kid, 100, 103);
        QVERIFY(m);
        setRunning(db(), kid, m->spielnummer);
        FakePlan plan;
        NoTies ties;
        Boxes boxes;
        StandingsStep standings(ties, boxes, plan);
        ResultEngine engine(db(), kPlanTid, m_clock, plan);
        standings.attach(engine);
        TeamResultEntry entry = teamEntry(kid, m->spielnummer, 1, 2, 0);
        entry.spiele[0].saetze = {QStringLiteral("+9"), QStringLiteral("-12"), QStringLiteral("+5"), QStringLiteral("+7")};
        entry.spiele[0].ergebnis = QStringLiteral("3:1");
        QCOMPARE(engine.recordTeamResult(entry), RecordOutcome::Recorded);
        QVERIFY(!ties.asked);

        const bool firstIs100 = m->sid1 == 100;
        const int winner = firstIs100 ? 103 : 100;
        const int second = firstIs100 ? 100 : 103;
        const auto name = [](int sid) { return QStringLiteral("Spieler %1").arg(sid - 100, 3, 10, QLatin1Char('0')); };
        QCOMPARE(storedOrder(db(), kid, 0), QString(letterOfKey(winner)) + letterOfKey(second));
        const StandingsRow top = readGroupStandings(db(), kid, 0)[0];
        // Team 2 won 2:1 in games; game 1 (3:1 for team 1, 45:35) and two games 0:3 (-5 each).
        QCOMPARE(top.counters, (StandingsCounters{1, 1, 0, 2, 1, 1 + 6, 3, 35 + 66, 45 + 30}));

        int fed = 0;
        for (const int sid : {winner, second}) {
            const QString slot = QStringLiteral("%1 %2").arg(sid).arg(name(sid));
            QSqlQuery q = execute(db(), s("SELECT spielnummer,SID1,SID2 FROM Spielplan WHERE KID=:k AND phase=2 "
                                          "AND (SID1=:s OR SID2=:s)"),
                                  {{"k", kid}, {"s", sid}});
            QList<std::pair<int, int>> sides; // match, side
            while (q.next())
                sides.append({q.value(0).toInt(), q.value(1).toInt() == sid ? 1 : 2});
            const int matches = int(sides.size());
            for (const auto& [spielnummer, side] : sides)
                QCOMPARE(slotsOf(db(), kid, spielnummer, side), repeated(slot, 4));
            QCOMPARE(matches, laterGroup ? 3 : (sid == winner ? 1 : 0));
            fed += matches;
        }
        QCOMPARE(fed, laterGroup ? 6 : 1);
        // No game of phase 2 waits for a team of group A any more.
        QCOMPARE(queryRows(db(), s("SELECT COUNT(*) FROM Teamspiele WHERE KID=%1 AND phase=2 AND "
                                   "(spieler1 LIKE '%Gruppe A' OR spieler2 LIKE '%Gruppe A')").arg(kid)),
                 QStringList{"0"});
    }

    // Entries that are no result: refused before anything is written.
    void refusedEntries_data() { backends(); }
    void refusedEntries()
    {
        if (!makeKnockOut())
            return;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        const QStringList before = dumpTables(db());
        TeamResultEntry badTeam = teamEntry(m_kid, 1, 5, 4);
        badTeam.match.ergebnis = QStringLiteral("5-4");
        TeamResultEntry badGame = teamEntry(m_kid, 1, 5, 4);
        badGame.spiele[3].ergebnis = QStringLiteral("3:x");
        TeamResultEntry badSet = teamEntry(m_kid, 1, 5, 4);
        badSet.spiele[8].saetze[1] = QStringLiteral("elf");
        TeamResultEntry twice = teamEntry(m_kid, 1, 5, 4);
        twice.spiele[8].nummer = 1;
        for (const TeamResultEntry& e : {badTeam, badGame, badSet, twice})
            QVERIFY_THROWS_EXCEPTION(AppError, engine.recordTeamResult(e));
        QCOMPARE(dumpTables(db()), before);
        QCOMPARE(plan.pools, knockOutPlan().pools);
    }

    // The team result against the results of its games, and each game's sets
    // against its result: stored when they agree, refused with the message
    // otherwise and nothing written.
    void resultAgainstGames_data()
    {
        addBackendColumn();
        QTest::addColumn<TeamResultEntry>("entry");
        QTest::addColumn<QString>("refusal"); // empty: stored
        const auto withResult = [](TeamResultEntry e, const QString& ergebnis) {
            e.match.ergebnis = ergebnis;
            return e;
        };
        TeamResultEntry noGames = teamEntry(0, 1, 0, 0, -1, 9);
        noGames.match.ergebnis = QStringLiteral("5:2");
        TeamResultEntry gameSets = teamEntry(0, 1, 5, 4);
        gameSets.spiele[1].saetze = {QStringLiteral("+5"), QStringLiteral("-5"), QStringLiteral("-5")};
        TeamResultEntry setsWithoutResult = teamEntry(0, 1, 5, 0, -1, 9);
        setsWithoutResult.spiele[6].saetze[0] = QStringLiteral("+7");
        const struct {
            const char* name;
            TeamResultEntry entry;
            const char* refusal;
        } cases[] = {
            {"games agree", teamEntry(0, 1, 5, 4), ""},
            {"some games unplayed", teamEntry(0, 1, 5, 2, -1, 9), ""},
            {"no game with a result", noGames, ""},
            {"the losing team named winner", withResult(teamEntry(0, 1, 2, 1), QStringLiteral("1:2")),
             "Die Spiele ergeben 2:1, das Endergebnis lautet 1:2."},
            {"more games than the result", withResult(teamEntry(0, 1, 5, 3), QStringLiteral("5:2")),
             "Die Spiele ergeben 5:3, das Endergebnis lautet 5:2."},
            {"a game's sets against its result", gameSets, "Spiel 2: Die Sätze ergeben 1:2, das Endergebnis lautet 3:0."},
            {"sets without a game result", setsWithoutResult,
             "Spiel 7: Sätze sind eingetragen, aber kein Ergebnis gewählt."},
        };
        for (const auto& [backendName, backend] :
             {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}})
            for (const auto& c : cases)
                QTest::addRow("%s %s", backendName, c.name) << backend << c.entry << QString::fromUtf8(c.refusal);
    }
    void resultAgainstGames()
    {
        QFETCH(TeamResultEntry, entry);
        QFETCH(QString, refusal);
        if (!makeKnockOut())
            return;
        entry.match.kid = m_kid;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        const QStringList before = dumpTables(db());
        QString outcome;
        try {
            engine.recordTeamResult(entry);
        } catch (const AppError& e) {
            outcome = e.message();
        }
        QCOMPARE(outcome, refusal);
        if (!refusal.isEmpty()) {
            QCOMPARE(dumpTables(db()), before);
            QCOMPARE(plan.pools, knockOutPlan().pools);
            return;
        }
        QCOMPARE(queryRows(db(), s("SELECT ergebnis FROM Spielplan WHERE KID=%1 AND spielnummer=1").arg(m_kid)),
                 QStringList{entry.match.ergebnis});
    }

    // Every statement failing in turn: nothing stays, the plan is rebuilt.
    void atomic_data() { backends(); }
    void atomic()
    {
        if (!makeKnockOut())
            return;
        int runs = 0;
        FakePlan plan;
        const QString failure = checkAtomic(
            db(),
            [&] {
                plan = knockOutPlan();
                ResultEngine engine(db(), kTid, m_clock, plan);
                TeamResultEntry e = teamEntry(m_kid, 1, 4, 5);
                e.match.verliererAlsSchiri = true;
                try {
                    engine.recordTeamResult(e);
                } catch (...) {
                    if (plan.rebuilds != 1 || plan.pools != knockOutPlan().pools)
                        qFatal("plan changed by a failed recording");
                    throw;
                }
            },
            {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(runs > 10);
        QCOMPARE(slotsOf(db(), m_kid, 4, 1), repeated(QStringLiteral("1 Team Nord"), 10));
    }

    // The group end in one transaction with the team match.
    void atomicGroupEnd_data() { backends(); }
    void atomicGroupEnd()
    {
        if (!open())
            return;
        const int kid = drawnTeamClass({groupPhase(2, 2, 2), groupPhase(1, 4)}, 4);
        const std::optional<GroupMatch> m = matchBetween(db(), kid, 100, 103);
        QVERIFY(m);
        setRunning(db(), kid, m->spielnummer);
        const QString failure = checkAtomic(db(), [&] {
            FakePlan plan;
            NoTies ties;
            Boxes boxes;
            StandingsStep standings(ties, boxes, plan);
            ResultEngine engine(db(), kPlanTid, m_clock, plan);
            standings.attach(engine);
            engine.recordTeamResult(teamEntry(kid, m->spielnummer, 2, 1, 0));
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // Both teams of group A in all their games of phase 2: three matches each.
        QCOMPARE(queryRows(db(), s("SELECT SUM(CASE WHEN MID1 IN (100,103) THEN 1 ELSE 0 END + "
                                   "CASE WHEN MID2 IN (100,103) THEN 1 ELSE 0 END) FROM Teamspiele "
                                   "WHERE KID=%1 AND phase=2").arg(kid)),
                 QStringList{"18"});
    }

    // Two desks record the same team match: the first result stays, the
    // second desk is told and writes nothing.
    void twoDesks_data() { backends(); }
    void twoDesks()
    {
        if (!makeKnockOut())
            return;
        const QSqlDatabase other = m_tdb->open();
        FakePlan planA = knockOutPlan();
        FakePlan planB = knockOutPlan();
        ResultEngine deskA(db(), kTid, m_clock, planA);
        ResultEngine deskB(other, kTid, m_clock, planB);
        QCOMPARE(deskA.recordTeamResult(teamEntry(m_kid, 1, 5, 0)), RecordOutcome::Recorded);
        const QStringList after = dumpTables(db());
        TeamResultEntry late = teamEntry(m_kid, 1, 0, 5);
        late.match.verliererAlsSchiri = true;
        QCOMPARE(deskB.recordTeamResult(late), RecordOutcome::Conflict);
        QCOMPARE(dumpTables(db()), after);
        QCOMPARE(planB.pools, knockOutPlan().pools);

        // Through "Spiel beendet": the message, and the plan rebuilt.
        FakePrompter prompter;
        prompter.expect(PromptKind::Error, resultConflictMessage());
        int closed = 0;
        QVERIFY(!spielBeendet(deskB, planB, prompter, late, true, [&] { ++closed; }));
        QVERIFY(prompter.verify());
        QCOMPARE(closed, 1);
        QCOMPARE(planB.calls, (QStringList{"rebuild", "redraw"}));
        QCOMPARE(dumpTables(db()), after);
    }
    // Recording a team match and taking it back leaves the class as it was;
    // taking back 1 of the chain 1 -> 3 -> 5 clears the results of 1 and 3
    // with their games and gives every slot filled from them its placeholder
    // back in the match row and every game; a placement team match is taken
    // back like any other.
    void knockOutTakenBack_data() { backends(); }
    void knockOutTakenBack()
    {
        if (!makeKnockOut())
            return;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        const QStringList before = classDump(db(), m_kid, 2) + gamesDump(db(), m_kid, 2);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 2, 0, 5)), RecordOutcome::Recorded);
        QVERIFY(classDump(db(), m_kid, 2) + gamesDump(db(), m_kid, 2) != before);
        QCOMPARE(zuruecksetzenBeendet(db(), m_kid, 2, {}), TakeBackOutcome::Done);
        QCOMPARE(classDump(db(), m_kid, 2) + gamesDump(db(), m_kid, 2), before);

        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 1, 5, 4)), RecordOutcome::Recorded);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 2, 5, 0)), RecordOutcome::Recorded);
        setRunning(db(), m_kid, 3);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 3, 2, 5)), RecordOutcome::Recorded);
        QCOMPARE(slotsOf(db(), m_kid, 5, 1), repeated(QStringLiteral("3 Team Ost"), 10));
        QList<TakeBackRow> affected;
        QCOMPARE(zuruecksetzenBeendet(db(), m_kid, 1, {}, &affected), TakeBackOutcome::Done);
        for (const int n : {1, 3}) {
            QVERIFY(rowOf(db(), m_kid, n).value("ergebnis").isNull());
            QCOMPARE(gameResults(db(), m_kid, n), repeated(QStringLiteral("NULL NULL 0"), 9));
        }
        QCOMPARE(slotsOf(db(), m_kid, 3, 1), repeated(QStringLiteral("-1 ") + winnerPlaceholder(1), 10));
        QCOMPARE(slotsOf(db(), m_kid, 3, 2), repeated(QStringLiteral("3 Team Ost"), 10));
        QCOMPARE(slotsOf(db(), m_kid, 4, 1), repeated(QStringLiteral("-1 ") + loserPlaceholder(1), 10));
        QCOMPARE(slotsOf(db(), m_kid, 5, 1), repeated(QStringLiteral("-1 ") + winnerPlaceholder(3), 10));
        QCOMPARE(affected.size(), 1); // 3 was played; 4 and 5 were waiting
        QCOMPARE(affected[0].spielnummer, 3);
        QCOMPARE(rowOf(db(), m_kid, 1).value("begonnen").toInt(), 1);

        setRunning(db(), m_kid, 6);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 6, 5, 1)), RecordOutcome::Recorded);
        QCOMPARE(zuruecksetzenBeendet(db(), m_kid, 6, {}), TakeBackOutcome::Done);
        QVERIFY(rowOf(db(), m_kid, 6).value("ergebnis").isNull());
        QCOMPARE(gameResults(db(), m_kid, 6), repeated(QStringLiteral("NULL NULL 0"), 9));
    }

    // A group of four whose every place feeds a knock-out: once it has ended,
    // taking one of its team matches back gives the slot of place 4 "4. Gruppe
    // A" back in its match row and every game, takes the match's share out of
    // both teams' standings and leaves the class as before that match.
    void groupPlaceTakenBack_data() { backends(); }
    void groupPlaceTakenBack()
    {
        if (!open())
            return;
        const int kid = drawnTeamClass({groupPhase(1, 4, 4), knockOut()}, 4);
        Desk desk(db());
        QList<int> matches = groupMatchNumbers(db(), kid, 0);
        const int last = matches.takeLast();
        const auto record = [&](int n, int a, int b) {
            setRunning(db(), kid, n);
            return desk.engine.recordTeamResult(teamEntry(kid, n, a, b, 0));
        };
        for (int k = 0; k < matches.size(); ++k) {
            const bool first = k % 2 == 0;
            QCOMPARE(record(matches[k], first ? 2 : 1, first ? 1 : 2), RecordOutcome::Recorded);
        }
        setRunning(db(), kid, last);
        const QStringList before = classDump(db(), kid, last) + gamesDump(db(), kid, last);
        QCOMPARE(record(last, 1, 2), RecordOutcome::Recorded);
        QVERIFY(desk.prompter.shown.contains(kGruppeBeendet));

        const auto fourth = [&] {
            QSqlQuery q = execute(db(), s("SELECT spielnummer,parentpos1 FROM Spielplan WHERE KID=:k AND phase=2 AND "
                                          "parentGID1=0 AND parentpos1=3 UNION ALL SELECT spielnummer,parentpos2+100 "
                                          "FROM Spielplan WHERE KID=:k AND phase=2 AND parentGID2=0 AND parentpos2=3"),
                                  {{"k", kid}});
            if (!q.next())
                return std::pair<int, int>{-1, 1};
            return std::pair<int, int>{q.value(0).toInt(), q.value(1).toInt() >= 100 ? 2 : 1};
        };
        const auto [fed, side] = fourth();
        const QStringList sent = slotsOf(db(), kid, fed, side);
        QCOMPARE(sent.size(), 4);
        QVERIFY2(!sent[0].startsWith(QLatin1String("-")), qPrintable(sent[0]));
        QCOMPARE(sent, repeated(sent[0], 4));

        QCOMPARE(zuruecksetzenBeendet(db(), kid, last, {}), TakeBackOutcome::Done);
        QCOMPARE(slotsOf(db(), kid, fed, side), repeated(QStringLiteral("-1 4. Gruppe A"), 4));
        QList<GroupMatch> played = readGroupMatches(db(), kid, 0);
        readGroupGames(db(), kid, 0, played);
        for (const StandingsRow& row : readGroupStandings(db(), kid, 0))
            QCOMPARE(row.counters, teamCountersOf(row.sid, played));
        QCOMPARE(classDump(db(), kid, last) + gamesDump(db(), kid, last), before);
    }

    // "Korrigieren" of a team match: the same winner corrects it in place
    // (every game shown as entered), another winner takes it back and records
    // it again, asking first only when a match behind it was played; Cancel
    // changes nothing.
    void correction_data() { backends(); }
    void correction()
    {
        if (!makeKnockOut())
            return;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        int asked = 0;
        bool answer = false;
        const auto confirm = [&] {
            ++asked;
            return answer;
        };
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 1, 5, 4)), RecordOutcome::Recorded);
        QCOMPARE(engine.correctTeamResult(teamEntry(m_kid, 1, 5, 3, -1, 9), {}, confirm), CorrectionOutcome::Corrected);
        QVERIFY(engine.lastCorrectionInPlace());
        QCOMPARE(rowOf(db(), m_kid, 1).value("ergebnis").toString(), QStringLiteral("5:3"));
        QCOMPARE(gameResults(db(), m_kid, 1).last(), QStringLiteral("NULL NULL 0"));

        QCOMPARE(engine.correctTeamResult(teamEntry(m_kid, 1, 4, 5), {}, confirm), CorrectionOutcome::Corrected);
        QVERIFY(!engine.lastCorrectionInPlace());
        QCOMPARE(asked, 0);
        QCOMPARE(slotsOf(db(), m_kid, 3, 1), repeated(QStringLiteral("2 Team Süd"), 10));
        QCOMPARE(slotsOf(db(), m_kid, 4, 1), repeated(QStringLiteral("1 Team Nord"), 10));

        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 2, 5, 0)), RecordOutcome::Recorded);
        setRunning(db(), m_kid, 3);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 3, 5, 0)), RecordOutcome::Recorded);
        const QStringList played = dumpTables(db());
        QCOMPARE(engine.correctTeamResult(teamEntry(m_kid, 1, 5, 4), {}, confirm), CorrectionOutcome::Cancelled);
        QCOMPARE(asked, 1);
        QCOMPARE(dumpTables(db()), played);
        answer = true;
        QCOMPARE(engine.correctTeamResult(teamEntry(m_kid, 1, 5, 4), {}, confirm), CorrectionOutcome::Corrected);
        QCOMPARE(asked, 2);
        QCOMPARE(slotsOf(db(), m_kid, 3, 1), repeated(QStringLiteral("1 Team Nord"), 10));
        QCOMPARE(gameResults(db(), m_kid, 3), repeated(QStringLiteral("NULL NULL 0"), 9));
        QCOMPARE(slotsOf(db(), m_kid, 5, 1), repeated(QStringLiteral("-1 ") + winnerPlaceholder(3), 10));
    }

    // Taking back and correcting are one transaction each.
    void atomicTakeBack_data() { backends(); }
    void atomicTakeBack()
    {
        if (!makeKnockOut())
            return;
        FakePlan plan = knockOutPlan();
        ResultEngine engine(db(), kTid, m_clock, plan);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 1, 5, 4)), RecordOutcome::Recorded);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 2, 5, 0)), RecordOutcome::Recorded);
        setRunning(db(), m_kid, 3);
        QCOMPARE(engine.recordTeamResult(teamEntry(m_kid, 3, 5, 0)), RecordOutcome::Recorded);
        QString failure = checkAtomic(db(), [&] {
            ResultEngine corrector(db(), kTid, m_clock, plan);
            if (corrector.correctTeamResult(teamEntry(m_kid, 1, 4, 5), {}, [] { return true; })
                != CorrectionOutcome::Corrected)
                throw AppError(QStringLiteral("not corrected"));
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(slotsOf(db(), m_kid, 3, 1), repeated(QStringLiteral("2 Team Süd"), 10));
        failure = checkAtomic(db(), [&] {
            if (zuruecksetzenBeendet(db(), m_kid, 1, {}) != TakeBackOutcome::Done)
                throw AppError(QStringLiteral("not taken back"));
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(slotsOf(db(), m_kid, 3, 1), repeated(QStringLiteral("-1 ") + winnerPlaceholder(1), 10));
    }
};

QTEST_GUILESS_MAIN(TestTeamResult)
#include "test_teamresult.moc"
