// Taking results back without widgets: a knock-out chain, byes passed on,
// placement matches fed by placement matches, namesakes and another class,
// places of later phases and the best-placed list written back as the draw
// wrote them, a group match's share, record-then-take-back leaving the class
// as before (the group in the draw's order where nothing is played), the commands of "Spiel zurücksetzen" by state, and every command
// with each statement failing in turn.
#include "takebackfixture.h"

#include "data/matchrecords.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "platform/apperror.h"
#include "results/takeback.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

void backends()
{
    addBackendColumn();
    addBackendRows();
}

QDateTime spielendeOf(const QSqlDatabase& db, int kid, int n)
{
    return readTakeBackRow(db, kid, n)->spielende;
}

QList<int> numbers(const QList<TakeBackRow>& rows)
{
    QList<int> list;
    for (const TakeBackRow& row : rows)
        list << row.spielnummer;
    return list;
}

NewMatch fedBy(int spielnummer, int winnerOrLoser1, bool winner1, int winnerOrLoser2, bool winner2, int phase = 1)
{
    NewMatch m = match(spielnummer, winner1 ? winnerOf(winnerOrLoser1) : loserOf(winnerOrLoser1),
                       winner2 ? winnerOf(winnerOrLoser2) : loserOf(winnerOrLoser2));
    m.parentspiel1 = winnerOrLoser1;
    m.parentsieger1 = winner1;
    m.parentspiel2 = winnerOrLoser2;
    m.parentsieger2 = winner2;
    m.phase = phase;
    return m;
}

} // namespace

class TestTakeBack : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_tdb;

    QSqlDatabase db() const { return m_tdb->db(); }

    bool open()
    {
        QFETCH(Backend, backend);
        m_tdb = std::make_unique<TestDatabase>(backend);
        return m_tdb->ready();
    }
    bool openSqlite()
    {
        m_tdb = std::make_unique<TestDatabase>(Backend::SQLite);
        return m_tdb->ready();
    }

    // Eight entrants in three rounds: 1 to 4, then 5 (winners of 1 and 2) and
    // 6, then the final 7. Match 1, 2, 5, 3, 4 and 6 won by side 1; the final
    // running at T1 with an umpire.
    int knockOutChain(Desk& desk)
    {
        const int kid = drawnClass(db(), s("KO"), {knockOut()}, 8);
        for (const int n : {1, 2, 5, 3, 4, 6}) {
            if (!desk.win(kid, n))
                return 0;
        }
        execute(db(),
                s("UPDATE Spielplan SET begonnen=1,an_platte='T1',schiri='Sand, Sam' WHERE KID=:k AND spielnummer=7"),
                {{s("k"), kid}});
        return kid;
    }

private slots:
    void initTestCase() { qputenv("BRACKWELL_TEST_QUIET", "1"); }

    void aKnockOutChainComesBackToItsPlaceholders_data() { backends(); }
    void aKnockOutChainComesBackToItsPlaceholders()
    {
        if (!open())
            return;
        Desk desk(db());
        const int kid = knockOutChain(desk);
        QVERIFY(kid);
        QCOMPARE(sideText(db(), kid, 7, 1), s("100 Spieler 000"));

        QList<TakeBackRow> affected;
        QCOMPARE(zuruecksetzenBeendet(db(), kid, 1, spielendeOf(db(), kid, 1), &affected), TakeBackOutcome::Done);

        const QVariantMap first = rowOf(db(), kid, 1);
        QCOMPARE(first.value(s("beendet")).toInt(), 0);
        QCOMPARE(first.value(s("begonnen")).toInt(), 1); // running again
        QVERIFY(first.value(s("ergebnis")).isNull());
        QVERIFY(first.value(s("satz1")).isNull());
        QCOMPARE(first.value(s("siegersid")).toInt(), -1);
        // 5 was won by the winner of 1: its result goes, its slot waits again.
        QCOMPARE(sideText(db(), kid, 5, 1), s("-1 Sieger Spiel 1"));
        QCOMPARE(sideText(db(), kid, 5, 2), s("101 Spieler 001"));
        QCOMPARE(rowOf(db(), kid, 5).value(s("beendet")).toInt(), 0);
        QVERIFY(rowOf(db(), kid, 5).value(s("ergebnis")).isNull());
        // The final was running with him: not started any more, the other side kept.
        QCOMPARE(sideText(db(), kid, 7, 1), s("-1 Sieger Spiel 5"));
        QCOMPARE(sideText(db(), kid, 7, 2), s("102 Spieler 002"));
        QCOMPARE(rowOf(db(), kid, 7).value(s("begonnen")).toInt(), 0);
        QCOMPARE(rowOf(db(), kid, 7).value(s("in_planung")).toInt(), 0);
        // 6 and its side of the final were not touched.
        QCOMPARE(rowOf(db(), kid, 6).value(s("beendet")).toInt(), 1);
        QCOMPARE(numbers(affected), (QList<int>{5, 7}));
        QCOMPARE(affected[1].stage(), MatchStage::Running);
        QCOMPARE(affected[1].anPlatte, s("T1"));
        QCOMPARE(inconsistency(db(), kid), QString());
    }

    void aByeChainPassesThePlaceholderOnAgain()
    {
        if (!openSqlite())
            return;
        // 1: A-B; 2: two byes; 5: winner of 1 against winner of 2 (a bye, so
        // 5 passes its side 1 on); 7: winner of 5 against C.
        const int kid = makeClass(db(), ClassKind::Einzel);
        {
            MatchInserter insert(db(), kTid, kid);
            Transaction t(db());
            insert.insertMatch(match(1, entrant(11, s("Adler")), entrant(12, s("Brandt"))));
            insert.insertMatch(match(2, bye(), bye()));
            insert.insertMatch(fedBy(5, 1, true, 2, true));
            NewMatch last = fedBy(7, 5, true, 0, true);
            last.sid2 = 13;
            last.spieler2 = s("Conrad");
            last.parentspiel2 = -1;
            insert.insertMatch(last);
            t.commit();
        }
        freilosebearbeiten(db(), kid);
        QCOMPARE(sideText(db(), kid, 7, 1), s("-1 Sieger Spiel 1"));
        execute(db(), s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=1"), {{s("k"), kid}});
        const QStringList before = classDump(db(), kid, 1);
        Desk desk(db());
        QVERIFY(desk.win(kid, 1));
        QCOMPARE(sideText(db(), kid, 7, 1), s("11 Adler"));

        QCOMPARE(zuruecksetzenBeendet(db(), kid, 1, {}), TakeBackOutcome::Done);
        QCOMPARE(classDump(db(), kid, 1), before);
    }

    void aPlacementMatchFedByAPlacementMatchIsSetBack()
    {
        if (!openSqlite())
            return;
        // 1: A-B, 2: C-D, 3 the final; placement matches 4 (losers of 1 and
        // 2) and 5 (winner of 4 against the loser of the final).
        const int kid = makeClass(db(), ClassKind::Einzel);
        {
            MatchInserter insert(db(), kTid, kid);
            Transaction t(db());
            insert.insertMatch(match(1, entrant(11, s("Adler")), entrant(12, s("Brandt"))));
            insert.insertMatch(match(2, entrant(13, s("Conrad")), entrant(14, s("Dietz"))));
            insert.insertMatch(fedBy(3, 1, true, 2, true));
            insert.insertMatch(fedBy(4, 1, false, 2, false, 4));
            insert.insertMatch(fedBy(5, 4, true, 3, false, 4));
            t.commit();
        }
        Desk desk(db());
        for (const int n : {1, 2, 3, 4})
            QVERIFY(desk.win(kid, n));
        execute(db(), s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=5"), {{s("k"), kid}});
        QCOMPARE(sideText(db(), kid, 5, 1), s("12 Brandt"));

        // The placement match itself is taken back: it no longer keeps its
        // result, and what it fed waits again.
        QList<TakeBackRow> affected;
        QCOMPARE(zuruecksetzenBeendet(db(), kid, 4, {}, &affected), TakeBackOutcome::Done);
        QCOMPARE(rowOf(db(), kid, 4).value(s("beendet")).toInt(), 0);
        QCOMPARE(sideText(db(), kid, 5, 1), s("-1 Sieger Spiel 4"));
        QCOMPARE(sideText(db(), kid, 5, 2), s("13 Conrad"));
        QCOMPARE(rowOf(db(), kid, 5).value(s("begonnen")).toInt(), 0);
        QCOMPARE(numbers(affected), QList<int>{5});

        // Through a knock-out match: 4 loses its loser of 1, 5 its winner of 4.
        QVERIFY(desk.win(kid, 4, 2));
        QCOMPARE(sideText(db(), kid, 5, 1), s("14 Dietz"));
        QCOMPARE(zuruecksetzenBeendet(db(), kid, 1, {}, &affected), TakeBackOutcome::Done);
        QCOMPARE(sideText(db(), kid, 4, 1), s("-1 Verlierer Spiel 1"));
        QCOMPARE(sideText(db(), kid, 4, 2), s("14 Dietz"));
        QCOMPARE(sideText(db(), kid, 3, 1), s("-1 Sieger Spiel 1"));
        QCOMPARE(sideText(db(), kid, 5, 1), s("-1 Sieger Spiel 4"));
        QCOMPARE(sideText(db(), kid, 5, 2), s("-1 Verlierer Spiel 3"));
        QCOMPARE(numbers(affected), (QList<int>{3, 4}));
    }

    void namesakesAndAnotherClassKeepTheirStandings_data() { backends(); }
    void namesakesAndAnotherClassKeepTheirStandings()
    {
        if (!open())
            return;
        // Two groups of one phase; the entrant 101 of group B named as 100 of
        // group A. Another class with the same group ids and entrants.
        const int kid = drawnClass(db(), s("Einzel"), {groupPhase(2, 2)}, 4);
        const int other = drawnClass(db(), s("Andere"), {groupPhase(2, 2)}, 4);
        for (const char* table : {"Tabellen", "Gruppen"})
            execute(db(), s("UPDATE ") + s(table) + s(" SET bez='Spieler 000' WHERE SID=101"));
        execute(db(), s("UPDATE Spielplan SET spieler1='Spieler 000' WHERE SID1=101"));
        execute(db(), s("UPDATE Spielplan SET spieler2='Spieler 000' WHERE SID2=101"));
        Desk desk(db());
        const int a = matchOf(db(), kid, 100, 103); // group A
        const int b = matchOf(db(), kid, 101, 102); // group B
        QVERIFY(desk.record(kid, a, s("3:1"), {s("+5"), s("-0"), s("+7"), s("+9")}));
        QVERIFY(desk.win(kid, b));
        QVERIFY(desk.win(other, matchOf(db(), other, 100, 103)));
        const QStringList groupB = queryRows(db(), s("SELECT * FROM Tabellen WHERE KID=%1 AND GID=1 ORDER BY SID").arg(kid));
        const QStringList otherClass = queryRows(db(), s("SELECT * FROM Tabellen WHERE KID=%1 ORDER BY GID,SID").arg(other));

        QCOMPARE(zuruecksetzenBeendet(db(), kid, a, {}), TakeBackOutcome::Done);
        QCOMPARE(queryRows(db(), s("SELECT * FROM Tabellen WHERE KID=%1 AND GID=1 ORDER BY SID").arg(kid)), groupB);
        QCOMPARE(queryRows(db(), s("SELECT * FROM Tabellen WHERE KID=%1 ORDER BY GID,SID").arg(other)), otherClass);
        // Group A holds no match any more: every counter is back at 0.
        QCOMPARE(queryRows(db(),
                           s("SELECT SID,spielanzahl,spielegewonnen,spieleverloren,saetzegewonnen,saetzeverloren,"
                             "punktegewonnen,punkteverloren FROM Tabellen WHERE KID=%1 AND GID=0 ORDER BY SID")
                               .arg(kid)),
                 (QStringList{s("100|0|0|0|0|0|0|0"), s("103|0|0|0|0|0|0|0")}));
        QCOMPARE(inconsistency(db(), kid), QString());
    }

    // The last of the draw beats the first; taken back, nobody has played
    // and the group stands in the order of the draw again, also when it is
    // ranked anew, not in the order the result left.
    void aTakeBackRanksByTheDraw_data() { backends(); }
    void aTakeBackRanksByTheDraw()
    {
        if (!open())
            return;
        const int kid = drawnClass(db(), s("Gruppe"), {groupPhase(1, 4)}, 4);
        const auto positions = [&] {
            return queryRows(db(), s("SELECT SID,pos FROM Tabellen WHERE KID=%1 AND GID=0 ORDER BY pos").arg(kid));
        };
        const QStringList drawn = queryRows(db(), s("SELECT SID,pos FROM Gruppen WHERE KID=%1 AND GID=0 ORDER BY pos").arg(kid));
        QCOMPARE(positions(), drawn);
        const QStringList first = drawn.first().split(QLatin1Char('|'));
        const QStringList last = drawn.last().split(QLatin1Char('|'));
        const int n = matchOf(db(), kid, first[0].toInt(), last[0].toInt());
        Desk desk(db());
        QVERIFY(desk.win(kid, n, readGroupMatch(db(), kid, n)->sid1 == last[0].toInt() ? 1 : 2));
        QCOMPARE(positions().first(), last[0] + s("|0"));

        QCOMPARE(zuruecksetzenBeendet(db(), kid, n, {}), TakeBackOutcome::Done);
        QCOMPARE(positions(), drawn);
        Tabelle_Rechnen(db(), kid, 0);
        QCOMPARE(positions(), drawn);
    }

    void theShareOfAMatchLeavesTheStandings()
    {
        if (!openSqlite())
            return;
        const int kid = drawnClass(db(), s("Gruppe"), {groupPhase(1, 4)}, 4);
        Desk desk(db());
        const int first = matchOf(db(), kid, 100, 101);
        // 3:1 from the first-named side's view with a set lost without a point.
        const bool hundredFirst = readGroupMatch(db(), kid, first)->sid1 == 100;
        const QStringList sets = hundredFirst ? QStringList{s("+5"), s("-0"), s("+7"), s("+9")}
                                              : QStringList{s("-5"), s("+0"), s("-7"), s("-9")};
        QVERIFY(desk.record(kid, first, hundredFirst ? s("3:1") : s("1:3"), sets));
        QVERIFY(desk.win(kid, matchOf(db(), kid, 100, 102)));
        const auto counters = [&](int sid) {
            return queryRows(db(),
                             s("SELECT spielanzahl,spielegewonnen,spieleverloren,saetzegewonnen,saetzeverloren,"
                               "punktegewonnen,punkteverloren FROM Tabellen WHERE KID=%1 AND SID=%2")
                                 .arg(kid)
                                 .arg(sid))
                .value(0);
        };
        // 100 won 11:5, lost 0:11, won 11:7 and 11:9, then 3:0 with 11:5 each.
        QCOMPARE(counters(100), s("2|2|0|6|1|66|47"));
        QCOMPARE(counters(101), s("1|0|1|1|3|32|33"));

        QCOMPARE(zuruecksetzenBeendet(db(), kid, first, {}), TakeBackOutcome::Done);
        QCOMPARE(counters(100), s("1|1|0|3|0|33|15"));
        QCOMPARE(counters(101), s("0|0|0|0|0|0|0"));
    }

    void laterPhasePlacesGetTheDrawsTextsBack_data() { backends(); }
    void laterPhasePlacesGetTheDrawsTextsBack()
    {
        if (!open())
            return;
        // Two groups of four, all four of each group go on into two groups of phase 2.
        const int kid = drawnClass(db(), s("Zwei Phasen"), {groupPhase(2, 4, 4), groupPhase(2, 4)}, 8);
        const auto placesOfA = [&] {
            return queryRows(db(), s("SELECT GID,SID,bez,spielanzahl,matchegewonnen,matcheverloren,spielegewonnen,"
                                     "spieleverloren,saetzegewonnen,saetzeverloren,punktegewonnen,punkteverloren,"
                                     "parentpos FROM Tabellen WHERE KID=%1 AND phase=2 AND parentGID=0 "
                                     "ORDER BY parentpos")
                                       .arg(kid));
        };
        const QStringList drawnPlaces = placesOfA();
        Desk desk(db());
        for (const int gid : {0, 1}) {
            for (const int n : groupMatchNumbers(db(), kid, gid))
                QVERIFY(desk.win(kid, n));
        }
        QCOMPARE(scalar(db(), s("SELECT COUNT(*) FROM Tabellen WHERE KID=:k AND phase=2 AND SID=-3"), {{s("k"), kid}})
                     .toInt(),
                 0);
        // A phase-2 match between the fourth of A and an entrant from B is played.
        const int fourthOfA = scalar(db(),
                                     s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND phase=2 AND "
                                       "((parentGID1=0 AND parentpos1=3 AND parentGID2=1) OR "
                                       "(parentGID2=0 AND parentpos2=3 AND parentGID1=1))"),
                                     {{s("k"), kid}})
                                  .toInt();
        QVERIFY(fourthOfA > 0);
        QVERIFY(desk.win(kid, fourthOfA));

        QList<TakeBackRow> affected;
        const int last = groupMatchNumbers(db(), kid, 0).last();
        QCOMPARE(zuruecksetzenBeendet(db(), kid, last, {}, &affected), TakeBackOutcome::Done);
        QVERIFY(numbers(affected).contains(fourthOfA));
        // The places fed by A are open qualifiers with counters 0 again, as drawn.
        QCOMPARE(placesOfA(), drawnPlaces);
        QCOMPARE(queryRows(db(),
                           s("SELECT SID,bez,spielanzahl,spielegewonnen,punktegewonnen FROM Tabellen WHERE KID=%1 "
                             "AND phase=2 AND parentGID=0 ORDER BY parentpos")
                               .arg(kid)),
                 (QStringList{s("-3|Sieger Gruppe A|0|0|0"), s("-3|Zweiter Gruppe A|0|0|0"),
                              s("-3|Dritter Gruppe A|0|0|0"), s("-3|4. Gruppe A|0|0|0")}));
        QCOMPARE(queryRows(db(),
                           s("SELECT SID,bez FROM Gruppen WHERE KID=%1 AND phase=2 AND parentGID=0 ORDER BY parentpos")
                               .arg(kid)),
                 (QStringList{s("-3|Sieger Gruppe A"), s("-3|Zweiter Gruppe A"), s("-3|Dritter Gruppe A"),
                              s("-3|4. Gruppe A")}));
        const QVariantMap played = rowOf(db(), kid, fourthOfA);
        const int side = played.value(s("parentgid1")).toInt() == 0 ? 1 : 2;
        QCOMPARE(sideText(db(), kid, fourthOfA, side), s("-1 4. Gruppe A"));
        QCOMPARE(played.value(s("beendet")).toInt(), 0);
        // The entrant from B lost that match's share again.
        QCOMPARE(inconsistency(db(), kid), QString());
        // Group B's places stay as sent on.
        QCOMPARE(scalar(db(), s("SELECT COUNT(*) FROM Tabellen WHERE KID=:k AND phase=2 AND parentGID=1 AND SID>0"),
                        {{s("k"), kid}})
                     .toInt(),
                 4);
    }

    void aGroupFeedingOnlySlotTwoAndTheBestPlacedAreSetBack()
    {
        if (!openSqlite())
            return;
        // Three groups of three; each winner and the best second go on into a
        // knock-out of four: (winner A - winner C), (winner B - best second).
        const int kid = drawnClass(db(), s("KO nach Gruppen"), {groupPhase(3, 3, 1, 1), knockOut()}, 9);
        Desk desk(db());
        for (const int gid : {0, 1, 2}) {
            for (const int n : groupMatchNumbers(db(), kid, gid))
                QVERIFY(desk.win(kid, n));
        }
        const int fromC = scalar(db(), s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND parentGID2=2 AND phase=2"),
                                 {{s("k"), kid}})
                              .toInt();
        QVERIFY(fromC > 0);
        QVERIFY(rowOf(db(), kid, fromC).value(s("parentgid1")).toInt() != 2);
        const int other = scalar(db(), s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND parentGID2=-3"),
                                 {{s("k"), kid}})
                              .toInt();
        QVERIFY(desk.win(kid, fromC));
        QVERIFY(desk.win(kid, other));
        const int final = scalar(db(), s("SELECT MAX(spielnummer) FROM Spielplan WHERE KID=:k"), {{s("k"), kid}}).toInt();
        QVERIFY(desk.win(kid, final));

        const QString fromA = sideText(db(), kid, fromC, 1);
        const QString fromB = sideText(db(), kid, other, 1);
        QCOMPARE(zuruecksetzenBeendet(db(), kid, groupMatchNumbers(db(), kid, 2).first(), {}), TakeBackOutcome::Done);
        // Group C fed only slot 2 of its match: that slot and the final wait
        // again, and so does the best-placed slot, as the phase is open again.
        QCOMPARE(sideText(db(), kid, fromC, 1), fromA);
        QCOMPARE(sideText(db(), kid, fromC, 2), s("-1 Sieger Gruppe C"));
        QCOMPARE(sideText(db(), kid, other, 1), fromB);
        QCOMPARE(sideText(db(), kid, other, 2), s("-1 1. Bestplatzierter 2. Platz"));
        QCOMPARE(sideText(db(), kid, final, 1), s("-1 Sieger Spiel %1").arg(fromC));
        QCOMPARE(sideText(db(), kid, final, 2), s("-1 Sieger Spiel %1").arg(other));
        for (const int n : {fromC, other, final})
            QCOMPARE(rowOf(db(), kid, n).value(s("beendet")).toInt(), 0);
        QCOMPARE(inconsistency(db(), kid), QString());
    }

    void recordingThenTakingBackLeavesTheClassAsItWas_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<int>("which"); // 0 knock-out, 1 group match, 2 the last match of the phase
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, std::pair{"postgresql", Backend::PostgreSQL}}) {
            QTest::addRow("%s knock-out", name) << backend << 0;
            QTest::addRow("%s group", name) << backend << 1;
            QTest::addRow("%s last of phase", name) << backend << 2;
        }
    }
    void recordingThenTakingBackLeavesTheClassAsItWas()
    {
        if (!open())
            return;
        QFETCH(int, which);
        const int kid = drawnClass(db(), s("Klasse"), {groupPhase(3, 3, 1, 1), knockOut()}, 9);
        Desk desk(db());
        QList<int> matches;
        for (const int gid : {0, 1, 2})
            matches << groupMatchNumbers(db(), kid, gid);
        int n = 0;
        if (which == 0) {
            for (const int m : matches)
                QVERIFY(desk.win(kid, m));
            n = scalar(db(), s("SELECT MIN(spielnummer) FROM Spielplan WHERE KID=:k AND phase=2"), {{s("k"), kid}}).toInt();
        } else if (which == 1) {
            n = matches.first();
        } else {
            n = matches.takeLast();
            for (const int m : matches)
                QVERIFY(desk.win(kid, m));
        }
        execute(db(), s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=:n"), {{s("k"), kid}, {s("n"), n}});
        // The standings' positions too, but where the group's other results
        // leave a tie the later result ordered.
        const bool positions = which != 2;
        const QStringList before = classDump(db(), kid, n, positions);
        QVERIFY(desk.record(kid, n, s("3:1"), {s("+5"), s("-0"), s("+7"), s("+9")}));
        QVERIFY(classDump(db(), kid, n, positions) != before);

        QCOMPARE(zuruecksetzenBeendet(db(), kid, n, {}), TakeBackOutcome::Done);
        QCOMPARE(classDump(db(), kid, n, positions), before);
        const QVariantMap row = rowOf(db(), kid, n);
        QVERIFY(row.value(s("ergebnis")).isNull());
        QCOMPARE(row.value(s("begonnen")).toInt(), 1);
    }

    void aCorrectionIsMadeInPlaceOrCascades_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("same winner, open group") << 0 << true << false << true;
        QTest::newRow("same winner, ended group keeping its order") << 1 << true << false << true;
        QTest::newRow("new winner, a finished match behind, cancelled") << 2 << false << true << false;
        QTest::newRow("new winner, a finished match behind, confirmed") << 2 << false << true << true;
        QTest::newRow("new winner, nothing played behind") << 3 << false << false << true;
        QTest::newRow("new winner in an ended phase, a phase-2 match played") << 4 << false << true << true;
    }
    void aCorrectionIsMadeInPlaceOrCascades()
    {
        QFETCH(int, which);
        QFETCH(bool, inPlace);
        QFETCH(bool, asked);
        QFETCH(bool, confirmed);
        if (!openSqlite())
            return;
        Desk desk(db());
        int kid = 0;
        int n = 0;
        int behind = 0; // a finished match behind the corrected one
        ResultEntry entry;
        if (which <= 1 || which == 4) {
            kid = drawnClass(db(), s("Gruppen"), {groupPhase(2, 4, 4), groupPhase(2, 4)}, 8);
            n = groupMatchNumbers(db(), kid, 0).first();
            QVERIFY(desk.win(kid, n));
            if (which == 1 || which == 4) {
                for (const int gid : {0, 1}) {
                    for (const int m : groupMatchNumbers(db(), kid, gid))
                        QVERIFY(m == n || desk.win(kid, m));
                }
                behind = scalar(db(), s("SELECT MIN(spielnummer) FROM Spielplan WHERE KID=:k AND phase=2"),
                                {{s("k"), kid}})
                             .toInt();
                QVERIFY(desk.win(kid, behind));
            }
            // The same winner with other sets, or the match between the first
            // two of the group won by the second.
            entry = Desk::entry(kid, n, 0, s("3:2"), {s("+9"), s("-9"), s("+9"), s("-9"), s("+9")});
            if (which == 4) {
                const QList<StandingsRow> rows = readGroupStandings(db(), kid, 0);
                n = matchOf(db(), kid, rows[0].sid, rows[1].sid);
                const bool firstIsSide1 = readGroupMatch(db(), kid, n)->sid1 == rows[0].sid;
                entry = firstIsSide1 ? Desk::entry(kid, n, 0, s("0:3"), {s("-5"), s("-5"), s("-5")})
                                     : Desk::entry(kid, n, 0, s("3:0"), {s("+5"), s("+5"), s("+5")});
            }
        } else {
            kid = drawnClass(db(), s("KO"), {knockOut()}, 8);
            n = 1;
            QVERIFY(desk.win(kid, 1));
            QVERIFY(desk.win(kid, 2));
            if (which == 2) {
                behind = 5;
                QVERIFY(desk.win(kid, 5));
            }
            entry = Desk::entry(kid, 1, -1, s("1:3"), {s("-5"), s("+5"), s("-5"), s("-5")});
        }
        const QStringList before = classDump(db(), kid, -1);
        const QString behindBefore = behind ? queryRows(db(), s("SELECT * FROM Spielplan WHERE KID=%1 AND spielnummer=%2")
                                                                   .arg(kid)
                                                                   .arg(behind))
                                                  .value(0)
                                            : QString();
        bool questioned = false;
        const CorrectionOutcome outcome = desk.engine.correctResult(entry, spielendeOf(db(), kid, n), [&] {
            questioned = true;
            return confirmed;
        });
        QCOMPARE(questioned, asked);
        if (!confirmed) {
            QCOMPARE(outcome, CorrectionOutcome::Cancelled);
            QCOMPARE(classDump(db(), kid, -1), before);
            return;
        }
        QCOMPARE(outcome, CorrectionOutcome::Corrected);
        QCOMPARE(desk.engine.lastCorrectionInPlace(), inPlace);
        QCOMPARE(rowOf(db(), kid, n).value(s("ergebnis")).toString(), entry.ergebnis);
        QCOMPARE(inconsistency(db(), kid), QString());
        if (inPlace && behind) {
            QCOMPARE(queryRows(db(), s("SELECT * FROM Spielplan WHERE KID=%1 AND spielnummer=%2").arg(kid).arg(behind))
                         .value(0),
                     behindBefore);
        }
        if (which == 4) {
            // The phase-2 match lost its result and waits again.
            QCOMPARE(rowOf(db(), kid, behind).value(s("beendet")).toInt(), 0);
        }
        if (which == 2 || which == 3) {
            // The new winner of 1 stands in 5, which waits to be played again.
            QCOMPARE(sideText(db(), kid, 5, 1), s("104 Spieler 004"));
            QCOMPARE(rowOf(db(), kid, 5).value(s("beendet")).toInt(), 0);
        }
    }

    void aCorrectionIsOneTransaction_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("in place") << true;
        QTest::newRow("cascading") << false;
    }
    void aCorrectionIsOneTransaction()
    {
        QFETCH(bool, inPlace);
        if (!openSqlite())
            return;
        Desk desk(db());
        const int kid = knockOutChain(desk);
        QVERIFY(kid);
        const ResultEntry entry = inPlace ? Desk::entry(kid, 1, -1, s("3:1"), {s("+5"), s("-5"), s("+5"), s("+5")})
                                          : Desk::entry(kid, 1, -1, s("0:3"), {s("-5"), s("-5"), s("-5")});
        const QString failure = checkAtomic(db(), [&] {
            if (desk.engine.correctResult(entry, {}, [] { return true; }) != CorrectionOutcome::Corrected)
                throw AppError(s("not corrected"));
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(desk.engine.lastCorrectionInPlace(), inPlace);
        QCOMPARE(inconsistency(db(), kid), QString());
    }

    void twoDesksTakeBackAndCorrectOneResult()
    {
        m_tdb = std::make_unique<TestDatabase>(Backend::PostgreSQL);
        if (!m_tdb->ready())
            return;
        Desk first(db());
        const int kid = knockOutChain(first);
        QVERIFY(kid);
        const QSqlDatabase otherDb = m_tdb->open();
        Desk second(otherDb);
        const QDateTime shown = spielendeOf(db(), kid, 1);
        // The second desk asks before cascading; meanwhile the first takes the
        // result back.
        TakeBackOutcome firstOutcome = TakeBackOutcome::Conflict;
        const CorrectionOutcome secondOutcome =
            second.engine.correctResult(Desk::entry(kid, 1, -1, s("0:3"), {s("-5"), s("-5"), s("-5")}), shown, [&] {
                firstOutcome = zuruecksetzenBeendet(db(), kid, 1, shown);
                return true;
            });
        QCOMPARE(firstOutcome, TakeBackOutcome::Done);
        QCOMPARE(secondOutcome, CorrectionOutcome::Conflict);
        QCOMPARE(rowOf(db(), kid, 1).value(s("begonnen")).toInt(), 1);
        QVERIFY(rowOf(db(), kid, 1).value(s("ergebnis")).isNull());

        // The other way round: a correction first, then a take-back of the
        // result the first desk showed.
        QVERIFY(first.win(kid, 1));
        const QDateTime seen = spielendeOf(db(), kid, 1);
        second.clock.advanceSecs(3600);
        QCOMPARE(second.engine.correctResult(Desk::entry(kid, 1, -1, s("3:1"), {s("+5"), s("-5"), s("+5"), s("+5")}),
                                             seen, {}),
                 CorrectionOutcome::Corrected);
        QCOMPARE(zuruecksetzenBeendet(db(), kid, 1, seen), TakeBackOutcome::Conflict);
        QCOMPARE(rowOf(db(), kid, 1).value(s("ergebnis")).toString(), s("3:1"));
        QCOMPARE(inconsistency(db(), kid), QString());
    }

    void everyCommandIsOneTransaction()
    {
        if (!openSqlite())
            return;
        Desk desk(db());
        const int kid = knockOutChain(desk);
        QVERIFY(kid);
        const auto must = [](TakeBackOutcome outcome) {
            if (outcome != TakeBackOutcome::Done)
                throw AppError(s("not done"));
        };
        QString failure = checkAtomic(db(), [&] { must(zuruecksetzenBeendet(db(), kid, 1, {})); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        failure = checkAtomic(db(), [&] { must(zuruecksetzenLaufend(db(), kid, 1)); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        failure = checkAtomic(db(), [&] { must(zuruecksetzenAufgerufen(db(), kid, 1, nullptr)); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(rowOf(db(), kid, 1).value(s("in_planung")).toInt(), 0);
        QCOMPARE(rowOf(db(), kid, 1).value(s("begonnen")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestTakeBack)
#include "test_takeback.moc"
