// What the plan panel reads, on both backends: klasseninfos by the load rules,
// the result dialogs' set-up, the plan reads of a class drawn for real, and the
// group plan built from them.
#include "planfixture.h"

#include "data/planviewrecords.h"
#include "data/sql.h"
#include "plans/groupplanlayout.h"
#include "plans/plansession.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

class TestPlanInfos : public QObject {
    Q_OBJECT
private slots:
    void resultItems_data()
    {
        QTest::addColumn<int>("saetze");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("3 sets") << 3 << QStringList{"3:2", "3:1", "3:0", "0:3", "1:3", "2:3"};
        QTest::newRow("1 set") << 1 << QStringList{"1:0", "0:1"};
        QTest::newRow("none") << 0 << QStringList{};
    }
    void resultItems()
    {
        QFETCH(int, saetze);
        QFETCH(QStringList, items);
        QCOMPARE(setResultItems(saetze), items);
    }

    void teamItemsAndCaptions()
    {
        QCOMPARE(teamResultItems(3), (QStringList{"3:0", "2:0", "2:1", "1:0", "1:2", "0:1", "0:2", "0:3"}));
        QCOMPARE(teamResultItems(0), QStringList{});
        QCOMPARE(teamGameCaption(9, 11, 12), QStringLiteral("Spiel 9: D1 - D2"));
        QCOMPARE(teamGameCaption(1, 1, 2), QStringLiteral("Spiel 1: A1 - B2"));
    }

    void loadRules_data() { addBackendColumn(); addBackendRows(); }
    void loadRules()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const QDate firstDay(2026, 6, 6);

        // A class without settings row, sets and start day.
        ClassRecord record;
        record.kbezeichnung = QStringLiteral("Ohne");
        const int bare = insertClass(db, kPlanTid, record, {}, {});
        execute(db, s("UPDATE Turnierklassen SET saetze=NULL, atag=NULL, uhrzeit=NULL WHERE KID=:k"), {{s("k"), bare}});
        const gruppeninfos none = loadKlasseninfos(db, bare, firstDay);
        for (int p = 1; p <= 3; ++p) {
            QCOMPARE(none.spielsystem(p), -1);
            QCOMPARE(none.gruppenanzahl(p), -1);
            QCOMPARE(none.teilnehmer(p), -1);
        }
        QCOMPARE(none.besten1, -1);
        QCOMPARE(none.bestplazierten3, -1);
        QCOMPARE(none.saetze, 0);
        QCOMPARE(none.atag.date(), firstDay);
        QVERIFY(!none.uhrzeit.isValid());
        const ResultDialogSetup noSets = loadResultDialogSetup(db, bare, none);
        QCOMPARE(noSets.setEntries, 0);
        QVERIFY(noSets.ergebnisItems.isEmpty());

        // A drawn class of 3 sets in groups, then knock-out.
        ClassRecord played;
        played.saetze = 3;
        played.atag = QDate(2026, 6, 7);
        const int kid = drawnClass(db, QStringLiteral("U18 (m)"), {groupPhase(2, 4, 2), knockOut()}, 8,
                                   ClassKind::Einzel, played);
        const gruppeninfos infos = loadKlasseninfos(db, kid, firstDay);
        QCOMPARE(infos.phase1, 0);
        QCOMPARE(infos.phase2, 1);
        QCOMPARE(infos.phase3, -1);
        QCOMPARE(infos.gruppenanzahl1, 2);
        QCOMPARE(infos.teilnehmer1, 4);
        QCOMPARE(infos.besten1, 2);
        QCOMPARE(infos.atag.date(), QDate(2026, 6, 7));
        QCOMPARE(infos.plattenbez, QStringLiteral("Tisch"));
        QCOMPARE(infos.gruppenOffset(2), 2);
        const ResultDialogSetup setup = loadResultDialogSetup(db, kid, infos);
        QCOMPARE(setup.setEntries, 5);
        QCOMPARE(setup.ergebnisItems, setResultItems(3));

        // A team class of three games, one of them a doubles game.
        TeamFormat format;
        format.spieler = 3;
        format.a = {1, 11, 2};
        format.b = {2, 12, 1};
        ClassRecord teamRecord;
        teamRecord.system = ClassKind::Team;
        teamRecord.kbezeichnung = QStringLiteral("Teams");
        const int team = insertClass(db, kPlanTid, teamRecord, {}, format);
        const ResultDialogSetup teamSetup = loadResultDialogSetup(db, team, loadKlasseninfos(db, team, firstDay));
        QCOMPARE(teamSetup.teamGames, 3);
        QCOMPARE(teamSetup.teamPlayers, 3);
        QCOMPARE(teamSetup.teamResultItems, teamResultItems(3));
        QCOMPARE(teamSetup.gameCaptions,
                 (QStringList{"Spiel 1: A1 - B2", "Spiel 2: D1 - D2", "Spiel 3: A2 - B1"}));
    }

    // The reads of a drawn class feed the group plan: every group match has its
    // cell, the pools hold the group's entrants and tables, the class starts
    // once a match is called.
    void drawnClassPlan_data() { addBackendColumn(); addBackendRows(); }
    void drawnClassPlan()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = drawnClass(db, QStringLiteral("Herren"), {groupPhase(4, 4, 2), groupPhase(2, 4, 2)}, 16);
        const QList<PlanMatchRow> matches = readPlanMatches(db, kid);
        QVERIFY(!matches.isEmpty());
        for (int i = 1; i < matches.size(); ++i)
            QVERIFY(matches[i - 1].spielnummer < matches[i].spielnummer);

        const gruppeninfos infos = loadKlasseninfos(db, kid, QDate(2026, 6, 6));
        for (int phase : {1, 2}) {
            plan::GroupPlanInput in;
            in.phase = phase;
            in.firstGroup = infos.gruppenOffset(phase);
            in.groups = infos.gruppenanzahl(phase);
            in.places = infos.teilnehmer(phase);
            in.kind = plan::GroupLayoutKind::Matrix;
            in.placeRows = readPlanPlaces(db, kid, phase);
            in.standingRows = readPlanStandings(db, kid, phase);
            in.matches = matches;
            in.tables = readGroupTableNames(db, kid);
            const plan::GroupPlan plan = plan::gruppenplanLayout(in);
            int icons = 0;
            for (const plan::ControlSpec& spec : plan.layout.controls)
                icons += spec.kind == plan::ControlKind::StatusIcon ? 1 : 0;
            int phaseMatches = 0;
            for (const PlanMatchRow& m : matches)
                phaseMatches += m.phase == phase ? 1 : 0;
            QCOMPARE(icons, 2 * phaseMatches);
            QCOMPARE(plan.pools.first().first, QStringLiteral("sliste%1").arg(in.firstGroup));
            if (phase == 1) {
                QCOMPARE(plan.pools[0].second.size(), 4);
                QCOMPARE(plan.pools[1].second.size(), 2);
            } else {
                QCOMPARE(plan.layout.textsAt(QPoint(plan::L, plan::A - 20)), QStringList{"Gruppe E"});
            }
        }

        QVERIFY(!classHasStarted(db, kid));
        QVERIFY(!phaseHasPlayedMatch(db, kid, 1));
        execute(db, s("UPDATE Spielplan SET in_planung=1 WHERE KID=:k AND spielnummer=3"), {{s("k"), kid}});
        QVERIFY(classHasStarted(db, kid));
        QVERIFY(phaseHasPlayedMatch(db, kid, 1));
        QVERIFY(!phaseHasPlayedMatch(db, kid, 2));
    }

    void referees_data() { addBackendColumn(); addBackendRows(); }
    void referees()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        insertRow(db, s("Schiri"), {{s("TID"), kPlanTid}, {s("SCHIRIID"), 2}, {s("snname"), s("Zorn")},
                                    {s("svname"), s("Anna")}, {s("sangemeldet"), 1}});
        insertRow(db, s("Schiri"), {{s("TID"), kPlanTid}, {s("SCHIRIID"), 3}, {s("snname"), s("Abel")},
                                    {s("svname"), s("Ben")}, {s("sangemeldet"), 1}});
        insertRow(db, s("Schiri"), {{s("TID"), kPlanTid}, {s("SCHIRIID"), 4}, {s("snname"), s("Fort")},
                                    {s("svname"), s("Carl")}, {s("sangemeldet"), 0}});
        for (int id : {2, 3, 4})
            insertRow(db, s("Schiri_im_turnier"), {{s("TID"), kPlanTid}, {s("SCHIRIID"), id}, {s("KID"), 5}});
        QCOMPARE(readPlanReferees(db, 5), (QList<PlanReferee>{{3, "Abel", "Ben"}, {2, "Zorn", "Anna"}}));
    }
};

QTEST_GUILESS_MAIN(TestPlanInfos)
#include "test_planinfos.moc"
