// The placement matches: the rules without widgets (rows and match numbers of a
// count, the candidates, what a dropped candidate stores), and the page on
// classes drawn for real on both backends: the count shown and changed (with
// the question before played placement matches are lost, atomic, no games left
// behind in a team class), the drops onto slots and back onto the list, the
// slots that do not change, and no entrant on both sides of a match.
#include "planfixture.h"

#include "data/matchdialogrecords.h"
#include "data/matchstaterecords.h"
#include "data/placementrecords.h"
#include "data/sql.h"
#include "platform/apperror.h"
#include "plans/placement.h"
#include "plans/placementpage.h"
#include "plans/planpanel.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QScrollArea>
#include <QTest>

using namespace bw;
using namespace bw::plan;
using namespace bw::test;

namespace {

struct PageFixture {
    explicit PageFixture(Backend backend) : tdb(backend) {}
    TestDatabase tdb;
    FakePrompter prompter;
    PlanPanel panel{nullptr};
    PlacementPage page{&panel, &prompter, [this] { return tdb.db(); }, nullptr};
    ResourcePools pools;
    int kid = 0;

    QSqlDatabase db() { return tdb.db(); }
    void show(int k)
    {
        kid = k;
        pools.clear();
        page.platzierungsspiele(kid, loadKlasseninfos(db(), kid, QDate(2026, 6, 6)), pools);
    }
    QLabel* label(const QString& name) const
    {
        return panel.sp_ScrollBox4->widget()->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
    }
    QStringList rowCaptions() const
    {
        QStringList captions;
        for (int k = 1; label(QStringLiteral("text%1").arg(k)); ++k)
            captions << label(QStringLiteral("text%1").arg(k))->text();
        return captions;
    }
    void choose(const QString& count)
    {
        page.countBox()->setEditText(count);
        page.anzahlchange();
    }
    // Phase-4 rows as "spielnummer:platz".
    QStringList placementRows()
    {
        QStringList rows;
        QSqlQuery q = execute(db(), s("SELECT spielnummer, platz FROM Spielplan WHERE KID=:k AND phase=4 ORDER BY spielnummer"),
                              {{s("k"), kid}});
        while (q.next())
            rows << QStringLiteral("%1:%2").arg(q.value(0).toInt()).arg(q.value(1).toInt());
        return rows;
    }
    // The stored side of a match: "id|text|parentspiel|parentGID|parentpos".
    QString side(int spielnummer, int side)
    {
        QSqlQuery q = execute(db(),
                              QStringLiteral("SELECT SID%1, spieler%1, parentspiel%1, parentGID%1, parentpos%1 FROM Spielplan "
                                             "WHERE KID=:k AND spielnummer=:n")
                                  .arg(side),
                              {{s("k"), kid}, {s("n"), spielnummer}});
        if (!q.next())
            return QStringLiteral("none");
        return QStringLiteral("%1|%2|%3|%4|%5")
            .arg(q.value(0).toInt())
            .arg(q.value(1).toString())
            .arg(q.value(2).toInt())
            .arg(q.value(3).toInt())
            .arg(q.value(4).toInt());
    }
    void update(const QString& sql) { execute(db(), sql, {{s("k"), kid}}); }
};

} // namespace

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void rowsAndMatches()
    {
        const PlacementClass knockOut{true, 7};
        const PlacementClass groups{false, 12};
        QCOMPARE(placementRows(0), 0);
        QCOMPARE(placementRows(3), 2);
        QCOMPARE(placementRows(4), 2);
        QCOMPARE(knockOut.shownCount(0), 2);
        QCOMPARE(groups.shownCount(0), 0);
        QCOMPARE(groups.shownCount(3), 3);
        QCOMPARE(knockOut.rowMatch(1), 7);
        QVERIFY(knockOut.fixedRow(1));
        QVERIFY(!groups.fixedRow(1));
        QCOMPARE(groups.rowMatch(1), 13);
        const QList<NewMatch> six = knockOut.newMatches(6);
        QCOMPARE(six.size(), 2);
        QCOMPARE(six[0].spielnummer, 8);
        QCOMPARE(six[0].platz, 3);
        QCOMPARE(six[1].spielnummer, 9);
        QCOMPARE(six[1].platz, 5);
        QCOMPARE(six[1].phase, 4);
        QCOMPARE(six[1].gruppe, -1);
        const QList<NewMatch> four = groups.newMatches(4);
        QCOMPARE(four.size(), 2);
        QCOMPARE(four[0].spielnummer, 13);
        QCOMPARE(four[0].platz, 1);
        QCOMPARE(four[1].platz, 3);
        QCOMPARE(countOf(QStringLiteral("16")), 16);
        QVERIFY(!countOf(QStringLiteral("17")));
        QVERIFY(!countOf(QStringLiteral("x")));
        QVERIFY(!countOf(QString()));
        QCOMPARE(rowCaption(3), QStringLiteral("Spiel um 5. Platz"));
    }

    void candidates()
    {
        const QList<Candidate> list = placementCandidates(2, 1);
        QCOMPARE(list.size(), 4 + 8);
        QCOMPARE(list[0], (Candidate{"Sieger Spiel 1", 1}));
        QCOMPARE(list[3], (Candidate{"Verlierer Spiel 2", 2}));
        QCOMPARE(list[4], (Candidate{"Sieger Gruppe A", 0}));
        QCOMPARE(list[11], (Candidate{"Vierter Gruppe B", 0}));
        QCOMPARE(placementCandidates(3, -1).size(), 6);
        QCOMPARE(candidateSource({"Verlierer Spiel 5", 5}), (CandidateSource{CandidateSource::Loser, 5}));
        QCOMPARE(candidateSource({"Zweiter Gruppe B", 0}), (CandidateSource{CandidateSource::GroupRank, 0, 1, 1}));
        QCOMPARE(candidateSource({"Vierter Gruppe C", 0}), (CandidateSource{CandidateSource::GroupRank, 0, 2, 3}));
        QVERIFY(!candidateSource({"Sieger Spiel 5", 6}));
        QVERIFY(!candidateSource({"Fünfter Gruppe A", 0}));
        QCOMPARE(slotName(2, 11), QStringLiteral("platz211"));
        QCOMPARE(slotRef(QStringLiteral("platz211"))->row, 11);
        QCOMPARE(slotRef(QStringLiteral("platz13"))->side, 1);
        QVERIFY(!slotRef(QStringLiteral("platz31")));
        QVERIFY(!slotRef(QStringLiteral("text1")));
    }

    void droppedValues_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<int>("siegerSID");
        QTest::addColumn<int>("verliererSID");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("winner undecided") << "Sieger Spiel 5" << -1 << -1 << -1 << "Sieger Spiel 5";
        QTest::newRow("winner decided") << "Sieger Spiel 5" << 12 << 11 << 12 << "Zwei";
        QTest::newRow("winner of two byes") << "Sieger Spiel 5" << -2 << -2 << -2 << "Freilos";
        QTest::newRow("loser decided") << "Verlierer Spiel 5" << 12 << 11 << 11 << "Eins";
        QTest::newRow("loser undecided") << "Verlierer Spiel 5" << -1 << -1 << -1 << "Verlierer Spiel 5";
    }
    void droppedValues()
    {
        QFETCH(QString, candidate);
        QFETCH(int, siegerSID);
        QFETCH(int, verliererSID);
        QFETCH(int, id);
        QFETCH(QString, text);
        PlacementMatchRow match;
        match.spielnummer = 5;
        match.sid1 = 11;
        match.spieler1 = QStringLiteral("Eins");
        match.sid2 = 12;
        match.spieler2 = QStringLiteral("Zwei");
        match.siegerSID = siegerSID;
        match.verliererSID = verliererSID;
        const Candidate c{candidate, 5};
        QCOMPARE(matchCandidateValue(c, *candidateSource(c), match), (SlotValue{id, text, 5, -1, -1}));

        const Candidate rank{QStringLiteral("Vierter Gruppe C"), 0};
        const CandidateSource source = *candidateSource(rank);
        const SlotValue placeholder{-1, rank.text, -1, 2, 3};
        QCOMPARE(groupCandidateValue(rank, source, false, GroupRankHolder{7, "Sieben"}), placeholder);
        QCOMPARE(groupCandidateValue(rank, source, true, std::nullopt), placeholder);
        QCOMPARE(groupCandidateValue(rank, source, true, GroupRankHolder{7, "Sieben"}), (SlotValue{7, "Sieben", -1, 2, 3}));
    }

    void knockOutClass_data() { addBackendColumn(); addBackendRows(); }
    void knockOutClass()
    {
        QFETCH(Backend, backend);
        PageFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.show(drawnClass(f.db(), QStringLiteral("KO"), {knockOut()}, 8));
        // No phase-4 rows: "2" and one row, the final with its sides.
        QCOMPARE(f.page.countBox()->currentText(), QStringLiteral("2"));
        QCOMPARE(f.rowCaptions(), QStringList{QStringLiteral("Spiel um 1. Platz")});
        QCOMPARE(f.label(QStringLiteral("platz11"))->text(), QStringLiteral("Sieger Spiel 5"));
        QCOMPARE(f.label(QStringLiteral("platz21"))->text(), QStringLiteral("Sieger Spiel 6"));
        QVERIFY(f.label(QStringLiteral("status7")));
        QCOMPARE(f.panel.platz->count(), 2 * 7); // no groups: matches only
        QVERIFY(f.pools.contains(QStringLiteral("allespieler")));
        QCOMPARE(f.pools.items(QStringLiteral("allespieler")).size(), 8);
        QCOMPARE(f.pools.texts(QStringLiteral("alleplatten")), (QStringList{"T1", "T2"}));

        // "6": matches 8 and 9 for places 3 and 5; icons of rows 1..3.
        f.choose(QStringLiteral("6"));
        QCOMPARE(f.placementRows(), (QStringList{"8:3", "9:5"}));
        for (const char* icon : {"status7", "status8", "status9"})
            QVERIFY2(f.label(QString::fromLatin1(icon)), icon);
        QCOMPARE(f.rowCaptions().size(), 3);
        f.show(f.kid);
        QCOMPARE(f.page.countBox()->currentText(), QStringLiteral("5"));

        // The final's slots stay: a drop onto platz21, platz11 back onto the list.
        f.page.feldDragDrop(QStringLiteral("platz21"), {QStringLiteral("Sieger Spiel 1"), 1});
        f.page.platzDragDrop(QStringLiteral("platz11"));
        QCOMPARE(f.side(7, 1), QStringLiteral("-1|Sieger Spiel 5|5|-1|-1"));
        QCOMPARE(f.side(7, 2), QStringLiteral("-1|Sieger Spiel 6|6|-1|-1"));

        // A drop stores the placeholder while match 5 is open, then the entrant.
        f.page.feldDragDrop(QStringLiteral("platz12"), {QStringLiteral("Verlierer Spiel 5"), 5});
        QCOMPARE(f.side(8, 1), QStringLiteral("-1|Verlierer Spiel 5|5|-1|-1"));
        QCOMPARE(f.label(QStringLiteral("platz12"))->text(), QStringLiteral("Verlierer Spiel 5"));
        f.update(s("UPDATE Spielplan SET beendet=1, siegerSID=SID1, verliererSID=SID2 WHERE KID=:k AND spielnummer=1"));
        f.page.feldDragDrop(QStringLiteral("platz22"), {QStringLiteral("Sieger Spiel 1"), 1});
        const QString winner = f.side(1, 1); // "id|text|..." of match 1's first side, its winner
        QCOMPARE(f.side(8, 2), winner.section(QLatin1Char('|'), 0, 1) + QStringLiteral("|1|-1|-1"));
        QCOMPARE(f.label(QStringLiteral("platz22"))->text(), winner.section(QLatin1Char('|'), 1, 1));
        f.update(s("UPDATE Spielplan SET beendet=1, siegerSID=-2, verliererSID=-2 WHERE KID=:k AND spielnummer=2"));
        f.page.feldDragDrop(QStringLiteral("platz13"), {QStringLiteral("Sieger Spiel 2"), 2});
        QCOMPARE(f.side(9, 1), QStringLiteral("-2|Freilos|2|-1|-1"));

        // Back onto the list empties the slot; a finished placement match keeps its slots.
        f.page.platzDragDrop(QStringLiteral("platz12"));
        QCOMPARE(f.side(8, 1), QStringLiteral("-1||-1|-1|-1"));
        QCOMPARE(f.label(QStringLiteral("platz12"))->text(), QString());
        f.update(s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND spielnummer=9"));
        f.page.platzDragDrop(QStringLiteral("platz13"));
        f.page.feldDragDrop(QStringLiteral("platz23"), {QStringLiteral("Sieger Spiel 3"), 3});
        QCOMPARE(f.side(9, 1), QStringLiteral("-2|Freilos|2|-1|-1"));
        QCOMPARE(f.side(9, 2), QStringLiteral("-1||-1|-1|-1"));
        QVERIFY(f.prompter.verify());
    }

    void groupClass_data() { addBackendColumn(); addBackendRows(); }
    void groupClass()
    {
        QFETCH(Backend, backend);
        PageFixture f(backend);
        if (!f.tdb.ready())
            return;
        // Groups of 4 (A, B) and of 3 (C) are not mixed by the draw; two classes.
        f.show(drawnClass(f.db(), QStringLiteral("Gruppen"), {groupPhase(2, 4)}, 8));
        const int m = readPlacementNumbers(f.db(), f.kid).m;
        QCOMPARE(m, 12);
        QCOMPARE(f.page.countBox()->currentText(), QString());
        QVERIFY(f.rowCaptions().isEmpty());
        QCOMPARE(f.panel.platz->count(), 2 * 12 + 4 * 2);
        f.choose(QStringLiteral("17"));
        QVERIFY(f.placementRows().isEmpty());
        f.choose(QStringLiteral("4"));
        QCOMPARE(f.placementRows(), (QStringList{"13:1", "14:3"}));
        QVERIFY(f.label(QStringLiteral("status13")) && f.label(QStringLiteral("status14")));
        f.show(f.kid);
        QCOMPARE(f.page.countBox()->currentText(), QStringLiteral("3"));
        QCOMPARE(f.rowCaptions(), (QStringList{"Spiel um 1. Platz", "Spiel um 3. Platz"}));

        // The second of group B: the placeholder until a match of B is finished.
        const Candidate second{QStringLiteral("Zweiter Gruppe B"), 0};
        f.page.feldDragDrop(QStringLiteral("platz11"), second);
        QCOMPARE(f.side(13, 1), QStringLiteral("-1|Zweiter Gruppe B|-1|1|1"));
        f.update(s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND gruppe=1 AND spielnummer=(SELECT MIN(spielnummer) "
                   "FROM Spielplan WHERE KID=:k AND gruppe=1)"));
        const std::optional<GroupRankHolder> holder = readGroupRankHolder(f.db(), f.kid, 1, 1);
        QVERIFY(holder && holder->sid > 0);
        f.page.feldDragDrop(QStringLiteral("platz11"), second);
        QCOMPARE(f.side(13, 1), QStringLiteral("%1|%2|-1|1|1").arg(holder->sid).arg(holder->bez));

        // "0" deletes the phase-4 rows only.
        const auto matches = [&] { return scalar(f.db(), s("SELECT COUNT(*) FROM Spielplan WHERE KID=:k"), {{s("k"), f.kid}}).toInt(); };
        const int before = matches();
        f.choose(QStringLiteral("0"));
        QVERIFY(f.placementRows().isEmpty());
        QCOMPARE(matches(), before - 2);
        QVERIFY(f.prompter.verify());
    }

    // No placement match pairs an entrant with himself: a drop that would is
    // refused with the message and changes nothing, whether the other side
    // holds the entrant or the same placeholder; a match whose sides became
    // one entrant through results is never sent to a table.
    void anEntrantNeverMeetsHimself_data() { addBackendColumn(); addBackendRows(); }
    void anEntrantNeverMeetsHimself()
    {
        QFETCH(Backend, backend);
        PageFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.show(drawnClass(f.db(), QStringLiteral("Gruppen"), {groupPhase(2, 4)}, 8));
        f.choose(QStringLiteral("2"));
        const int n = f.page.placementClass().rowMatch(1);
        const Candidate second{QStringLiteral("Zweiter Gruppe B"), 0};
        f.page.feldDragDrop(QStringLiteral("platz11"), second);
        f.prompter.expect(PromptKind::Warning, kSameEntrant);
        f.page.feldDragDrop(QStringLiteral("platz21"), second);
        QCOMPARE(f.side(n, 2), QStringLiteral("-1||-1|-1|-1"));
        QCOMPARE(f.label(QStringLiteral("platz21"))->text(), QString());

        f.update(s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND gruppe=1"));
        f.page.feldDragDrop(QStringLiteral("platz11"), {QStringLiteral("Sieger Gruppe B"), 0});
        const QString winner = f.side(n, 1);
        QVERIFY(winner.section(QLatin1Char('|'), 0, 0).toInt() > 0);
        f.prompter.expect(PromptKind::Warning, kSameEntrant);
        f.page.feldDragDrop(QStringLiteral("platz21"), {QStringLiteral("Sieger Gruppe B"), 0});
        QCOMPARE(f.side(n, 2), QStringLiteral("-1||-1|-1|-1"));
        f.page.feldDragDrop(QStringLiteral("platz21"), second);
        QVERIFY(f.side(n, 2) != winner);
        QVERIFY(f.prompter.verify());

        // Both sides one entrant (a double knock-out's losers' slots can end so).
        f.update(s("UPDATE Spielplan SET SID2=SID1, spieler2=spieler1 WHERE KID=:k AND phase=4"));
        const std::optional<MatchStateRow> row = readMatchStateRow(f.db(), f.kid, n);
        QVERIFY(row && !row->sidesDecided());
        QCOMPARE(unplayableReason(*row), QStringLiteral("Beide Seiten von Spiel %1 sind derselbe Teilnehmer.").arg(n));
        QVERIFY_THROWS_EXCEPTION(MatchConflict, callMatch(f.db(), f.kid, n, {}, {QStringLiteral("T1"), {}, true, {}}));
        QCOMPARE(readMatchOfPlacement(f.db(), f.kid, n)->played, false);
    }

    void missingRankStaysAPlaceholder_data() { addBackendColumn(); addBackendRows(); }
    void missingRankStaysAPlaceholder()
    {
        QFETCH(Backend, backend);
        PageFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.show(drawnClass(f.db(), QStringLiteral("Dreier"), {groupPhase(2, 3)}, 6));
        f.choose(QStringLiteral("2"));
        f.update(s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND gruppe=0"));
        f.page.feldDragDrop(QStringLiteral("platz21"), {QStringLiteral("Vierter Gruppe A"), 0});
        QCOMPARE(f.side(readPlacementNumbers(f.db(), f.kid).m + 1, 2), QStringLiteral("-1|Vierter Gruppe A|-1|0|3"));
    }

    void changingPlayedMatches_data() { addBackendColumn(); addBackendRows(); }
    void changingPlayedMatches()
    {
        QFETCH(Backend, backend);
        PageFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.show(drawnClass(f.db(), QStringLiteral("Gruppen"), {groupPhase(2, 4)}, 8));
        f.choose(QStringLiteral("4"));
        f.update(s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=13"));
        const QStringList before = dumpTables(f.db(), {QStringLiteral("Spielplan")});

        f.prompter.expect(PromptKind::Warning, kPlacementMatchesAffected, PromptAnswer::Cancel);
        f.choose(QStringLiteral("6"));
        QCOMPARE(dumpTables(f.db(), {QStringLiteral("Spielplan")}), before);
        QCOMPARE(f.page.countBox()->currentText(), QStringLiteral("4"));

        f.prompter.expect(PromptKind::Warning, kPlacementMatchesAffected, PromptAnswer::Ok);
        f.choose(QStringLiteral("6"));
        QCOMPARE(f.placementRows(), (QStringList{"13:1", "14:3", "15:5"}));
        QVERIFY(f.prompter.verify());

        // Not asked, but another desk started a placement match meanwhile: nothing changes.
        f.update(s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND spielnummer=14"));
        const QStringList played = dumpTables(f.db(), {QStringLiteral("Spielplan")});
        QVERIFY_THROWS_EXCEPTION(StaleRecord, replacePlacementMatches(f.db(), f.kid, false, 2, false));
        QCOMPARE(dumpTables(f.db(), {QStringLiteral("Spielplan")}), played);

        // A slot write after another desk started the match: the message, the slots as stored.
        f.update(s("UPDATE Spielplan SET in_planung=0, begonnen=0, beendet=0 WHERE KID=:k AND spielnummer=15"));
        QVERIFY(f.page.placementClass().rowMatch(3) == 15);
        f.page.feldDragDrop(QStringLiteral("platz13"), {QStringLiteral("Sieger Spiel 1"), 1});
        QCOMPARE(f.label(QStringLiteral("platz13"))->text(), QStringLiteral("Sieger Spiel 1"));
        f.update(s("UPDATE Spielplan SET begonnen=1, spieler1='x' WHERE KID=:k AND spielnummer=15"));
        QVERIFY_THROWS_EXCEPTION(StaleRecord, writePlacementSlot(f.db(), f.kid, 15, 1, {}));

        const QString failure = checkAtomic(f.db(), [&] { replacePlacementMatches(f.db(), f.kid, false, 8, true); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void teamClassLeavesNoGames_data() { addBackendColumn(); addBackendRows(); }
    void teamClassLeavesNoGames()
    {
        QFETCH(Backend, backend);
        PageFixture f(backend);
        if (!f.tdb.ready())
            return;
        TeamFormat format;
        format.spieler = 2;
        format.a = {1, 2, 11};
        format.b = {1, 2, 12};
        ClassRecord record;
        record.system = ClassKind::Team;
        record.kbezeichnung = QStringLiteral("Liga");
        const int kid = insertClass(f.db(), kPlanTid, record, {}, format);
        FinishedDraw draw = firstDraw(kPlanTid, kid, {groupPhase(1, 4)}, 4);
        draw.kind = ClassKind::Team;
        saveGroupSettings(f.db(), kid, draw.settings, {});
        finishDraw(f.db(), draw, readPlanDefinitions(draw, shippedPlanFile("system.txt"), shippedPlanFile("ko_system.txt")));
        f.show(kid);
        f.choose(QStringLiteral("4"));
        const auto games = [&] {
            return scalar(f.db(), s("SELECT COUNT(*) FROM Teamspiele WHERE KID=:k AND spielnummer>6"), {{s("k"), kid}})
                .toInt();
        };
        QCOMPARE(games(), 2 * 3);
        f.choose(QStringLiteral("2"));
        QCOMPARE(games(), 3);
        f.choose(QStringLiteral("0"));
        QCOMPARE(games(), 0);
    }

    void theDragCarriesItsCandidate()
    {
        PageFixture f(Backend::SQLite);
        f.show(drawnClass(f.db(), QStringLiteral("KO"), {knockOut()}, 4));
        f.panel.platz->setCurrentRow(0);
        const QModelIndex dragged = f.panel.platz->model()->index(3, 0);
        std::unique_ptr<QMimeData> data(f.panel.platz->model()->mimeData({dragged}));
        QCOMPARE(PlacementPage::candidateOf(data.get()), (Candidate{"Verlierer Spiel 2", 2}));
    }
};

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
