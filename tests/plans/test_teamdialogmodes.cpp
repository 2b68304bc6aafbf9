// The team match dialog opened from the plan of a team class drawn for real:
// a status icon opens it in the mode of its match, the call-up lists only the
// free tables and umpires and takes each game's table out of the pools once,
// the rebuild from the database takes the tables of called team matches out
// again, and a match without both teams cannot be started by hand.
#include "../results/teamfixture.h"

#include "platform/apppaths.h"
#include "platform/clock.h"
#include "plans/matchrecording.h"
#include "plans/planpanel.h"
#include "plans/resultdialogmodes.h"
#include "plans/teamdialogmodes.h"
#include "plans/tspielplaene.h"
#include "results/resultengine.h"
#include "results/takeback.h"
#include "results/tvergleich.h"
#include "results/tergebnis_team.h"
#include "support/fakeprompter.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

namespace {

struct TeamModesFixture {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 6, 7), QTime(11, 0))};
    PlanPanel panel{nullptr};
    Tspielplaene spielplaene{nullptr};
    Tergebnis ergebnis{nullptr, prompter};
    Tergebnis_team ergebnis_team{nullptr, prompter};
    ResultDialogModes modes{spielplaene, ergebnis, [this] { return tdb.db(); }};
    TeamDialogModes teamModes{spielplaene, ergebnis_team, [this] { return tdb.db(); }};
    Tvergleich vergleich{nullptr};
    MatchRecording recording{spielplaene,
                             {&prompter, &clock, [this] { return tdb.db(); }, [] { return kPlanTid; }, &vergleich}};
    TeamClass c;

    TeamModesFixture()
    {
        modes.team = &teamModes;
        PlanLinks links;
        links.prompter = &prompter;
        links.database = [this] { return tdb.db(); };
        links.firstDay = [] { return QDate(2026, 6, 6); };
        links.programFile = [](const QString& relative) {
            return AppPaths::resolve(TempProgramFolder::sourceDir() + QStringLiteral("/resources"), relative);
        };
        links.dialogs = &modes;
        links.ergebnis = &ergebnis;
        links.ergebnis_team = &ergebnis_team;
        spielplaene.attach(&panel, links);
        panel.resize(1000, 700);
        TergebnisTeamLinks teamLinks;
        teamLinks.clock = &clock;
        teamLinks.database = [this] { return tdb.db(); };
        teamLinks.matchCalled = [this](int n, const HeldTeamResources& held) { teamModes.matchCalled(n, held); };
        teamLinks.matchStarted = [this](int n) { teamModes.matchStarted(n); };
        teamLinks.rebuildStates = [this] { teamModes.rebuildStates(); };
        teamLinks.spielBeendet = [this](const TeamMatchFinish& finish) {
            return recording.spielBeendet(finish, [this] { ergebnis_team.accept(); });
        };
        teamLinks.korrigieren = [this](const TeamMatchFinish& finish) {
            return recording.korrigieren(finish, [this] { ergebnis_team.accept(); });
        };
        ergebnis_team.setLinks(teamLinks);

        c = teamClass(db());
        insertRow(db(), "Schiri", {{"SCHIRIID", 1}, {"TID", kPlanTid}, {"snname", "Ufer"}, {"svname", "Udo"}, {"sangemeldet", 1}});
        insertRow(db(), "Schiri_im_turnier", {{"SCHIRIID", 1}, {"KID", c.kid}, {"TID", kPlanTid}});
        insertRow(db(), "Schiri", {{"SCHIRIID", 2}, {"TID", kPlanTid}, {"snname", "Abel"}, {"svname", "Eva"}, {"sangemeldet", 0}});
        insertRow(db(), "Schiri_im_turnier", {{"SCHIRIID", 2}, {"KID", c.kid}, {"TID", kPlanTid}});
        open();
        // The class started without the offer of next matches.
        ergebnis.next1->SetChecked(false);
        ergebnis_team.next1->SetChecked(false);
        spielplaene.turniergo(c.kid);
    }

    void open() { QVERIFY(spielplaene.openClass(kPlanTid, QStringLiteral("Liga (Team)"))); }
    QSqlDatabase db() { return tdb.db(); }
    int tag(int n) { return spielplaene.session().states.tag(n); }
    QStringList pool(const QString& name) { return spielplaene.session().pools.texts(name); }
    static void whileOpen(const std::function<void()>& inside) { QTimer::singleShot(0, inside); }
};

} // namespace

class TestTeamDialogModes : public QObject {
    Q_OBJECT
private slots:
    void iconsOpenTheTeamDialog()
    {
        TeamModesFixture f;
        QVERIFY(f.spielplaene.teamClass());
        QCOMPARE(f.tag(f.c.match), 2);
        f.spielplaene.statusClick(QStringLiteral("status%1").arg(f.c.other), 1);
        QVERIFY(f.ergebnis_team.isVisible() && !f.ergebnis_team.isModal());
        QVERIFY(!f.ergebnis.isVisible());
        QCOMPARE(f.ergebnis_team.ok->Caption(), kUebernehmen);
        QCOMPARE(f.ergebnis_team.gruppe->text(), QStringLiteral("Gruppe : A"));
        // Planning lists every table of the group and every umpire of the class.
        QCOMPARE(f.ergebnis_team.tisch[0]->count(), 2);
        QCOMPARE(f.ergebnis_team.schiri[0]->count(), 2);
        f.ergebnis_team.cancelClick();
        QVERIFY(f.prompter.verify());
    }

    // Two games at one table: the call-up takes it out once; the other match
    // is offered only the other table; a rebuild takes it out again.
    void callUpTakesTheGamesTables()
    {
        TeamModesFixture f;
        execute(f.db(), s("UPDATE Teamspiele SET geplanter_tisch='T1',schiri='Ufer, Udo' WHERE KID=:k"),
                {{s("k"), f.c.kid}});
        f.whileOpen([&] {
            Tergebnis_team& d = f.ergebnis_team;
            QVERIFY(d.isModal());
            QCOMPARE(d.ok->Caption(), kAufrufen);
            QCOMPARE(d.tisch[0]->count(), 2);
            QCOMPARE(d.tisch[1]->currentText(), QStringLiteral("T1"));
            QCOMPARE(d.schiri[0]->count(), 1); // only the checked-in umpire
            QCOMPARE(d.schiri[0]->currentText(), QStringLiteral("Ufer, Udo"));
            d.ok->Click();
        });
        QVERIFY(f.modes.spielaufrufen1(f.c.match));
        QCOMPARE(f.tag(f.c.match), 3);
        QCOMPARE(f.pool(QStringLiteral("platte0")), QStringList{QStringLiteral("T2")});
        QVERIFY(f.pool(QStringLiteral("schiri")).isEmpty());

        // The other match: T1 taken, so T2; its planned umpire busy, so none.
        f.whileOpen([&] {
            Tergebnis_team& d = f.ergebnis_team;
            QCOMPARE(d.tisch[0]->count(), 1);
            QCOMPARE(d.tisch[0]->currentText(), QStringLiteral("T2"));
            QVERIFY(d.schiri[0]->currentText().isEmpty());
            d.cancelClick();
        });
        QVERIFY(!f.modes.spielaufrufen1(f.c.other));

        // The plan drawn again: states and pools from the database.
        f.open();
        f.spielplaene.statusladen(f.c.kid);
        QCOMPARE(f.tag(f.c.match), 3);
        QCOMPARE(f.pool(QStringLiteral("platte0")), QStringList{QStringLiteral("T2")});
        QCOMPARE(f.pool(QStringLiteral("alleplatten")).contains(QStringLiteral("T1")), false);
        const MatchDialogRow row = *readMatchDialogRow(f.db(), f.c.kid, f.c.match);
        QVERIFY(!f.pool(QStringLiteral("sliste0")).contains(QString::number(row.sid1)));
        QVERIFY(f.prompter.verify());
    }

    // Running back to called keeps the games' tables; called back to waiting
    // returns both teams and every game's table and umpire.
    void takingBack()
    {
        TeamModesFixture f;
        const auto games = [&](const char* where) {
            return scalar(f.db(), s("SELECT COUNT(*) FROM Teamspiele WHERE KID=:k AND spielnummer=:n AND ") + s(where),
                          {{s("k"), f.c.kid}, {s("n"), f.c.match}})
                .toInt();
        };
        execute(f.db(), s("UPDATE Teamspiele SET geplanter_tisch='T1',schiri='Ufer, Udo' WHERE KID=:k"),
                {{s("k"), f.c.kid}});
        f.whileOpen([&] { f.ergebnis_team.ok->Click(); });
        QVERIFY(f.modes.spielaufrufen1(f.c.match));
        f.modes.spielaufgerufen(f.c.match);
        QVERIFY(f.ergebnis_team.okClick());
        QCOMPARE(f.tag(f.c.match), 4);
        execute(f.db(), s("UPDATE Teamspiele SET begonnen=1,spielstart=:t WHERE KID=:k AND spielnummer=:n"),
                {{s("t"), f.clock.now()}, {s("k"), f.c.kid}, {s("n"), f.c.match}});

        f.teamModes.spielZuruecksetzen(f.c.match, MatchStage::Running);
        QCOMPARE(f.tag(f.c.match), 3);
        QCOMPARE(games("in_planung<>0 AND begonnen=0 AND spielstart IS NULL"), 4);
        QCOMPARE(f.pool(QStringLiteral("platte0")), QStringList{QStringLiteral("T2")});

        f.teamModes.spielZuruecksetzen(f.c.match, MatchStage::Called);
        QCOMPARE(readMatchDialogRow(f.db(), f.c.kid, f.c.match)->state(), MatchStage::Open);
        QCOMPARE(games("in_planung=0"), 4);
        QCOMPARE(f.pool(QStringLiteral("platte0")), (QStringList{QStringLiteral("T1"), QStringLiteral("T2")}));
        QVERIFY(f.pool(QStringLiteral("schiri")).contains(QStringLiteral("Ufer, Udo")));
        QCOMPARE(f.tag(f.c.match), 2);

        // Another desk took it back first; a waiting match goes no further back.
        f.prompter.expect(PromptKind::Error, resultConflictMessage());
        f.teamModes.spielZuruecksetzen(f.c.match, MatchStage::Called);
        f.prompter.expect(PromptKind::Information, kNichtWeiterZurueck);
        f.teamModes.spielZuruecksetzen(f.c.match, MatchStage::Open);
        QVERIFY(f.prompter.verify());
    }

    // A team match through the dialog from its planning to its result.
    void planCallStartFinish()
    {
        TeamModesFixture f;
        Tergebnis_team& d = f.ergebnis_team;
        const int n = f.c.match;
        f.spielplaene.statusClick(QStringLiteral("status%1").arg(n), 2 - 1);
        // Nothing is planned, so no table is chosen for the organiser.
        QCOMPARE(d.tisch[0]->currentText(), QString());
        for (QComboBox* table : d.tisch)
            table->setCurrentIndex(0);
        d.zeit[0]->setText(QStringLiteral("10:00"));
        d.spielerc[0]->setCurrentIndex(d.spielerc[0]->findText(QStringLiteral("Spieler2, T.")));
        QVERIFY(d.okClick());
        QVERIFY(!d.isVisible());

        f.whileOpen([&] { d.ok->Click(); });
        QVERIFY(f.modes.spielaufrufen1(n));
        QCOMPARE(f.tag(n), 3);
        f.spielplaene.statusClick(QStringLiteral("status%1").arg(n), 3);
        QCOMPARE(d.ok->Caption(), kSpielStarten);
        QVERIFY(d.okClick());
        QCOMPARE(f.tag(n), 4);

        f.spielplaene.statusClick(QStringLiteral("status%1").arg(n), 4);
        QCOMPARE(d.ok->Caption(), kSpielBeendet);
        const char* results[] = {"3:0", "3:0", "0:3", "3:1"};
        const char* sets[4][4] = {{"+5", "+6", "+7", ""}, {"+1", "+2", "+3", ""}, {"-4", "-5", "-6", ""},
                                  {"+8", "-9", "+10", "+11"}};
        for (int g = 0; g < 4; ++g) {
            d.erg[size_t(g)]->setCurrentIndex(d.erg[size_t(g)]->findText(QString::fromLatin1(results[g])));
            for (int k = 0; k < 4; ++k)
                d.satz[size_t(g)][size_t(k)]->setText(QString::fromLatin1(sets[g][k]));
        }
        d.ergebniscombo->setCurrentIndex(d.ergebniscombo->findText(QStringLiteral("3:1")));
        QVERIFY(d.okClick());
        QVERIFY(!d.isVisible());
        QCOMPARE(f.tag(n), 5);
        const MatchDialogRow row = *readMatchDialogRow(f.db(), f.c.kid, n);
        QCOMPARE(row.state(), MatchStage::Finished);
        QCOMPARE(row.ergebnis, QStringLiteral("3:1"));
        QCOMPARE(queryRows(f.db(), QStringLiteral("SELECT nummer,ergebnis,satz1,sbez1 FROM Teamspiele WHERE KID=%1 "
                                                  "AND spielnummer=%2 ORDER BY nummer")
                                       .arg(f.c.kid)
                                       .arg(n)),
                 (QStringList{"1|3:0|5|Spieler2, T.", "2|3:0|1|Spieler2, T.", "3|0:3|-4|Spieler3, T. / Spieler4, T.",
                              "4|3:1|8|Spieler3, T."}));
        // The tables of the games are free again.
        QCOMPARE(f.pool(QStringLiteral("platte0")), (QStringList{QStringLiteral("T1"), QStringLiteral("T2")}));

        // The finished match shows its results for a correction.
        f.spielplaene.statusClick(QStringLiteral("status%1").arg(n), 5);
        QCOMPARE(d.ok->Caption(), kKorrigieren);
        QCOMPARE(d.ergebniscombo->currentText(), QStringLiteral("3:1"));
        QCOMPARE(d.erg[2]->currentText(), QStringLiteral("0:3"));
        QCOMPARE(d.satz[3][1]->text(), QStringLiteral("-9"));
        QVERIFY(d.satz[3][3]->isEnabled() && !d.satz[3][4]->isEnabled());

        // Corrected with the same winner: in place, no question.
        d.satz[1][0]->setText(QStringLiteral("+9"));
        QVERIFY(d.okClick());
        QVERIFY(!d.isVisible());
        QCOMPARE(queryRows(f.db(), QStringLiteral("SELECT ergebnis,satz1 FROM Teamspiele WHERE KID=%1 AND "
                                                  "spielnummer=%2 AND nummer=2")
                                       .arg(f.c.kid)
                                       .arg(n)),
                 QStringList{"3:0|9"});
        QCOMPARE(f.tag(n), 5);

        // Taken back from its icon: running again, the games without results.
        f.prompter.expect(PromptKind::Warning, kMehrereSpiele, PromptAnswer::Cancel);
        f.teamModes.spielZuruecksetzen(n, MatchStage::Finished);
        QCOMPARE(readMatchDialogRow(f.db(), f.c.kid, n)->state(), MatchStage::Finished);
        f.prompter.expect(PromptKind::Warning, kMehrereSpiele);
        f.teamModes.spielZuruecksetzen(n, MatchStage::Finished);
        QCOMPARE(readMatchDialogRow(f.db(), f.c.kid, n)->state(), MatchStage::Running);
        QCOMPARE(f.tag(n), 4);
        QCOMPARE(queryRows(f.db(), QStringLiteral("SELECT COUNT(*) FROM Teamspiele WHERE KID=%1 AND spielnummer=%2 "
                                                  "AND (ergebnis IS NOT NULL OR satz1 IS NOT NULL)")
                                       .arg(f.c.kid)
                                       .arg(n)),
                 QStringList{"0"});
        QVERIFY(f.prompter.verify());
    }

    void byHandNeedsBothTeams()
    {
        TeamModesFixture f;
        execute(f.db(), s("UPDATE Teamspiele SET MID2=-1,spieler2='Sieger Spiel 7' WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), f.c.kid}, {s("n"), f.c.match}});
        f.prompter.expect(PromptKind::Error, QStringLiteral("Dieses Spiel kann nicht gestartet werden"));
        QVERIFY(!f.teamModes.spielmanuellstarten(f.c.match));
        QVERIFY(f.prompter.verify());
        QVERIFY(!f.ergebnis_team.isVisible());
    }
};

QTEST_MAIN(TestTeamDialogModes)
#include "test_teamdialogmodes.moc"
