// Recording results in the plan as the program wires it: the match dialog's
// "Spiel beendet" through the result engine and the standings on the plan
// panel of a class drawn for real. Through the real dialog: a running icon
// clicked, the result and sets entered, confirmed; the icon shows the result,
// the winner stands in the next round, the next playable match is offered, and
// after every recording the pools are those a rebuild from the database makes.
// After the tournament is loaded again the first result offers the next
// matches. The placement matches fed by recordings: the loser of a semi-final
// into the match for place 3, the final's result on both pages, and group
// ranks taken early from the provisional standings: the match waits for the
// group end, which fills it, or, when it was played before, keeps its sides
// and tells the organiser.
#include "planfixture.h"
#include "planlinks.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/matchdialogrecords.h"
#include "data/matchstaterecords.h"
#include "data/placementrecords.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "plans/matchrecording.h"
#include "plans/plancanvas.h"
#include "plans/placementpage.h"
#include "plans/planpanel.h"
#include "plans/resultdialogmodes.h"
#include "plans/teamdialogmodes.h"
#include "plans/tspielplaene.h"
#include "results/groupend.h"
#include "results/tergebnis.h"
#include "results/tergebnis_team.h"
#include "results/tvergleich.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

namespace {

// Group A of groupRanksTakenEarly: its matches, the entrants a, b, c, and
// the placement match fed by its ranks.
struct GroupA {
    QList<MatchStateRow> matches;
    int a = 0;
    int b = 0;
    int c = 0;
    int final = 0;
};

struct RecordingFixture {
    explicit RecordingFixture(Backend backend) : tdb(backend) {}

    TestDatabase tdb;
    FakePrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 6, 7), QTime(11, 0))};
    PlanPanel panel{nullptr};
    Tspielplaene spielplaene{nullptr};
    Tergebnis ergebnis{nullptr, prompter};
    Tergebnis_team ergebnisTeam{nullptr, prompter};
    Tvergleich vergleich{nullptr};
    ResultDialogModes modes{spielplaene, ergebnis, [this] { return tdb.db(); }};
    TeamDialogModes teamModes{spielplaene, ergebnisTeam, [this] { return tdb.db(); }};
    MatchRecording recording{spielplaene,
                             {&prompter, &clock, [this] { return tdb.db(); }, [] { return kPlanTid; }, &vergleich}};
    int kid = 0;

    QSqlDatabase db() { return tdb.db(); }

    // The class drawn and shown with its pages, started without the offer.
    void open(const QList<PhaseSettings>& phases, int entrants)
    {
        PlanLinks links = planLinks(prompter, [this] { return tdb.db(); }, nullptr);
        links.ergebnis = &ergebnis;
        links.ergebnis_team = &ergebnisTeam;
        links.dialogs = &modes;
        modes.team = &teamModes;
        spielplaene.attach(&panel, links);
        TergebnisTeamLinks teamLinks;
        teamLinks.twin = {ergebnis.next, ergebnis.next1};
        ergebnisTeam.setLinks(teamLinks);
        panel.resize(1000, 700);
        TergebnisLinks dialogLinks;
        dialogLinks.clock = &clock;
        dialogLinks.database = [this] { return tdb.db(); };
        dialogLinks.plan = &modes;
        dialogLinks.twin = {ergebnisTeam.next, ergebnisTeam.next1};
        dialogLinks.spielBeendet = [this](const MatchFinish& finish) {
            return recording.spielBeendet(finish, [this] { ergebnis.accept(); });
        };
        ergebnis.setLinks(dialogLinks);

        ClassRecord record;
        record.saetze = 3;
        record.atag = QDate(2026, 6, 7);
        kid = drawnClass(db(), QStringLiteral("U18"), phases, entrants, ClassKind::Einzel, record);
        panel.GruppeDarBox->setCurrentIndex(0);
        spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        ergebnis.next1->SetChecked(false);
        spielplaene.turniergo(kid);
    }

    MatchDialogRow row(int n) { return *readMatchDialogRow(db(), kid, n); }
    int tag(int n) { return spielplaene.session().states.tag(n); }
    PlanIcon* icon(QWidget* page, int n)
    {
        return page ? page->findChild<PlanIcon*>(QStringLiteral("status%1").arg(n)) : nullptr;
    }
    QWidget* bracket() const { return panel.page(0)->widget(); }
    QWidget* placementPage() const { return panel.sp_ScrollBox4->widget(); }
    QLabel* placementSlot(const QString& name) const
    {
        return placementPage()->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
    }

    // Matches running at the first free table of their pools, as another
    // desk's call-up and start leave them (a started match is no longer
    // called), the plan rebuilt from the database after each.
    void run(const QList<int>& matches)
    {
        for (int n : matches) {
            const ResourcePools& pools = spielplaene.session().pools;
            const QString table = pools.texts(pools.tablePool(row(n).gruppe)).value(0);
            QVERIFY(!table.isEmpty());
            execute(db(),
                    s("UPDATE Spielplan SET begonnen=1, an_platte=:t WHERE KID=:k AND spielnummer=:n"),
                    {{s("t"), table}, {s("k"), kid}, {s("n"), n}});
            spielplaene.planshow(kid);
        }
    }

    // The result entered in the dialog opened from the running icon (`x`: the
    // mirrored one of a group matrix) and confirmed; `next` ticks "nächstes
    // mögliches Spiel anzeigen".
    void record(int page, int n, const QString& result, const QStringList& sets, bool next = false,
                const QString& x = {})
    {
        QWidget* shown = page == 4 ? placementPage() : bracket();
        PlanIcon* running = shown->findChild<PlanIcon*>(QStringLiteral("status%1%2").arg(x).arg(n));
        QVERIFY(running);
        QCOMPARE(running->Tag, 4);
        QTest::mouseClick(running, Qt::LeftButton);
        QVERIFY(ergebnis.isVisible());
        QCOMPARE(ergebnis.ok->Caption(), kSpielBeendet);
        ergebnis.ergebniscombo->setCurrentIndex(ergebnis.ergebniscombo->findText(result));
        for (int k = 0; k < sets.size(); ++k)
            ergebnis.satz[size_t(k)]->setText(sets[k]);
        ergebnis.next->SetChecked(next);
        QTest::mouseClick(ergebnis.ok, Qt::LeftButton);
        QVERIFY(!ergebnis.isVisible());
    }

    // The pools by name, each entry's text in order.
    QMap<QString, QStringList> pools()
    {
        QMap<QString, QStringList> all;
        for (const QString& name : spielplaene.session().pools.names())
            all[name] = spielplaene.session().pools.texts(name);
        return all;
    }
    // The pools after a recording equal those of the class shown anew.
    void verifyPoolsAsRebuilt()
    {
        const QMap<QString, QStringList> kept = pools();
        spielplaene.planshow(kid);
        QCOMPARE(kept, pools());
    }
    int side(int n, int s) { return s == 1 ? row(n).sid1 : row(n).sid2; }

    // A class of two groups of four and one placement match, the final. The
    // first match of group A is recorded from its mirrored icon, a beating b;
    // then "Sieger Gruppe A"
    // and "Zweiter Gruppe A" are dropped on the final, holding a and the
    // provisional second.
    GroupA groupRanksTakenEarly()
    {
        GroupA g;
        open({groupPhase(2, 4)}, 8);
        PlacementPage* page = spielplaene.placement();
        g.final = readPlacementNumbers(db(), kid).m + 1;
        page->countBox()->setEditText(QStringLiteral("2"));
        page->anzahlchange();
        for (const MatchStateRow& r : readMatchStateRows(db(), kid))
            if (r.gruppe == 0)
                g.matches << r;
        g.a = g.matches[0].sid1;
        g.b = g.matches[0].sid2;
        // The rest of the results: c wins all three, a beats d, b beats d.
        for (const MatchStateRow& r : g.matches)
            for (int sid : {r.sid1, r.sid2})
                if (sid != g.a && sid != g.b && !g.c)
                    g.c = sid;
        run({g.matches[0].spielnummer});
        record(0, g.matches[0].spielnummer, QStringLiteral("3:0"), {"5", "7", "11"}, false, QStringLiteral("x"));
        verifyPoolsAsRebuilt();
        page->feldDragDrop(QStringLiteral("platz11"), {QStringLiteral("Sieger Gruppe A"), 0});
        page->feldDragDrop(QStringLiteral("platz21"), {QStringLiteral("Zweiter Gruppe A"), 0});
        return g;
    }
    // The other matches of group A recorded as above.
    void finishGroupA(const GroupA& g)
    {
        const auto winner = [&](const MatchStateRow& r) {
            if (r.sid1 == g.c || r.sid2 == g.c)
                return g.c;
            if (r.sid1 == g.a || r.sid2 == g.a)
                return g.a;
            return g.b;
        };
        for (qsizetype i = 1; i < g.matches.size(); ++i) {
            const MatchStateRow& r = g.matches[i];
            run({r.spielnummer});
            const bool first = winner(r) == r.sid1;
            record(0, r.spielnummer, first ? QStringLiteral("3:0") : QStringLiteral("0:3"),
                   first ? QStringList{"5", "5", "5"} : QStringList{"-5", "-5", "-5"});
        }
    }
};

} // namespace

class TestMatchRecording : public QObject {
    Q_OBJECT
private slots:
    // A knock-out of eight through the real dialog.
    void throughTheDialog_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void throughTheDialog()
    {
        QFETCH(Backend, backend);
        RecordingFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.open({knockOut()}, 8);
        f.run({1, 2});
        QCOMPARE(f.tag(1), 4);

        f.record(0, 1, QStringLiteral("3:1"), {"5", "-9", "8", "4"});
        f.verifyPoolsAsRebuilt();
        f.record(0, 2, QStringLiteral("0:3"), {"-5", "-0", "-13"});
        f.verifyPoolsAsRebuilt();
        const MatchDialogRow first = f.row(1);
        const MatchDialogRow second = f.row(2);
        f.run({3, 4});

        // With "nächstes mögliches Spiel anzeigen": the semi-final of both
        // winners is the one playable match now and is offered in the dialog,
        // which the user closes.
        QStringList offered;
        QTimer::singleShot(0, [&] {
            offered << f.ergebnis.ok->Caption() << f.ergebnis.spieler1->text() << f.ergebnis.spieler2->text();
            f.ergebnis.cancelClick();
        });
        f.record(0, 3, QStringLiteral("3:2"), {"5", "5", "-5", "-5", "9"}, true);
        QCOMPARE(offered, (QStringList{kAufrufen, QStringLiteral("Spieler 1: ") + first.spieler1,
                                       QStringLiteral("Spieler 2: ") + second.spieler2}));
        f.verifyPoolsAsRebuilt();

        // The icons show the result and its sets; the winner stands in the next round.
        const MatchDialogRow third = f.row(3);
        QCOMPARE(third.state(), MatchStage::Finished);
        QCOMPARE(third.ergebnis, QStringLiteral("3:2"));
        QCOMPARE(f.tag(3), 5);
        PlanIcon* done = f.icon(f.bracket(), 3);
        QCOMPARE(done->Tag, 5);
        QCOMPARE(done->text(), QStringLiteral("3:2"));
        QCOMPARE(done->toolTip(), QStringLiteral("+5, +5, -5, -5, +9"));
        QCOMPARE(f.side(6, 1), third.sid1);
        QCOMPARE(f.row(6).spieler1, third.spieler1);
        QCOMPARE(f.side(5, 1), first.sid1);
        QCOMPARE(f.side(5, 2), second.sid2);
        QCOMPARE(f.tag(5), 2);
        QCOMPARE(f.tag(6), 1); // the winner of match 4 is still to come
        QVERIFY(f.prompter.verify());
    }

    // After the tournament is loaded again (a new start: neither result
    // dialog has been shown, their follow-up boxes unticked), the first result
    // recorded with "nächstes mögliches Spiel anzeigen" offers the next
    // playable match: showing the dialog ticked the boxes of both dialogs.
    void offerAfterRestart_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void offerAfterRestart()
    {
        QFETCH(Backend, backend);
        RecordingFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.open({knockOut()}, 8);
        f.run({1, 2});
        f.record(0, 1, QStringLiteral("3:0"), {"5", "5", "5"});
        for (TuiCheckbox* box : {f.ergebnis.next, f.ergebnis.next1, f.ergebnisTeam.next, f.ergebnisTeam.next1})
            box->SetChecked(false);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        QCOMPARE(f.tag(2), 4);

        // Every playable match of the phase is offered in turn; the user
        // closes each offer.
        QStringList offered;
        QTimer decline;
        QObject::connect(&decline, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget() != &f.ergebnis)
                return;
            offered << f.ergebnis.ok->Caption() + u' ' + f.ergebnis.snr->text();
            f.ergebnis.cancelClick();
        });
        decline.start(10);
        f.record(0, 2, QStringLiteral("3:0"), {"5", "5", "5"}, true);
        decline.stop();
        QCOMPARE(offered, (QStringList{kAufrufen + QStringLiteral(" 3"), kAufrufen + QStringLiteral(" 4"),
                                       kAufrufen + QStringLiteral(" 5")}));
        QVERIFY(f.prompter.verify());
    }

    // Another desk recorded the match while the dialog was open: nothing is
    // stored here, the message, the dialog closes and the plan shows that
    // desk's result. A recording that fails keeps the dialog open with what
    // was typed, and the plan as it was.
    void otherDeskFirst_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void otherDeskFirst()
    {
        QFETCH(Backend, backend);
        RecordingFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.open({knockOut()}, 8);
        f.run({1, 2});
        QTest::mouseClick(f.icon(f.bracket(), 1), Qt::LeftButton);
        f.ergebnis.ergebniscombo->setCurrentIndex(f.ergebnis.ergebniscombo->findText(QStringLiteral("3:0")));
        for (QLineEdit* set : {f.ergebnis.satz[0], f.ergebnis.satz[1], f.ergebnis.satz[2]})
            set->setText(QStringLiteral("4"));
        const QSqlDatabase other = f.tdb.open();
        execute(other,
                s("UPDATE Spielplan SET beendet=1, begonnen=0, ergebnis='0:3', siegerSID=SID2, verliererSID=SID1 "
                  "WHERE KID=:k AND spielnummer=1"),
                {{s("k"), f.kid}});
        f.prompter.expect(PromptKind::Error, kMatchChanged);
        QTest::mouseClick(f.ergebnis.ok, Qt::LeftButton);
        QVERIFY(!f.ergebnis.isVisible());
        QCOMPARE(f.row(1).ergebnis, QStringLiteral("0:3"));
        QCOMPARE(f.row(5).sid1, -1);
        QCOMPARE(f.icon(f.bracket(), 1)->Tag, 5);
        QVERIFY(f.prompter.verify());

        if (backend != Backend::SQLite)
            return;
        f.record(0, 2, QStringLiteral("3:0"), {"1", "2", "3"});
        const QMap<QString, QStringList> pools = f.pools();
        f.run({3});
        const QMap<QString, QStringList> running = f.pools();
        QVERIFY(running != pools);
        execute(f.db(), s("CREATE TRIGGER voll BEFORE UPDATE OF ergebnis ON Spielplan "
                          "BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END"));
        QTest::mouseClick(f.icon(f.bracket(), 3), Qt::LeftButton);
        f.ergebnis.ergebniscombo->setCurrentIndex(f.ergebnis.ergebniscombo->findText(QStringLiteral("3:1")));
        const QStringList typed{"5", "-5", "5", "5"};
        for (int k = 0; k < typed.size(); ++k)
            f.ergebnis.satz[size_t(k)]->setText(typed[k]);
        f.prompter.expectPrefix(PromptKind::Error, QString());
        QTest::mouseClick(f.ergebnis.ok, Qt::LeftButton);
        QVERIFY(f.prompter.verify());
        QVERIFY(f.ergebnis.isVisible());
        QVERIFY(f.ergebnis.ok->isEnabled());
        QCOMPARE(f.ergebnis.ergebniscombo->currentText(), QStringLiteral("3:1"));
        for (int k = 0; k < typed.size(); ++k)
            QCOMPARE(f.ergebnis.satz[size_t(k)]->text(), typed[k]);
        QCOMPARE(f.row(3).state(), MatchStage::Running);
        QCOMPARE(f.pools(), running);
        QCOMPARE(f.icon(f.bracket(), 3)->Tag, 4);

        // Once the disk has room the same entries are stored.
        execute(f.db(), s("DROP TRIGGER voll"));
        f.ergebnis.next->SetChecked(false);
        QTest::mouseClick(f.ergebnis.ok, Qt::LeftButton);
        QVERIFY(!f.ergebnis.isVisible());
        QCOMPARE(f.row(3).ergebnis, QStringLiteral("3:1"));
        QCOMPARE(f.pools(), pools);
        QVERIFY(f.prompter.verify());
    }

    // Recording a semi-final feeds the match for place 3, the final's result
    // shows on the bracket and on the placement page.
    void placementMatches_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void placementMatches()
    {
        QFETCH(Backend, backend);
        RecordingFixture f(backend);
        if (!f.tdb.ready())
            return;
        f.open({knockOut()}, 4);
        // "4": match 4 for place 3, fed by the losers of the semi-finals.
        PlacementPage* page = f.spielplaene.placement();
        page->countBox()->setEditText(QStringLiteral("4"));
        page->anzahlchange();
        page->feldDragDrop(QStringLiteral("platz12"), {QStringLiteral("Verlierer Spiel 1"), 1});
        page->feldDragDrop(QStringLiteral("platz22"), {QStringLiteral("Verlierer Spiel 2"), 2});
        f.run({1, 2});
        QCOMPARE(f.placementSlot(QStringLiteral("platz12"))->text(), QStringLiteral("Verlierer Spiel 1"));

        f.record(0, 1, QStringLiteral("3:0"), {"5", "5", "5"});
        const MatchDialogRow semi = f.row(1);
        QCOMPARE(f.side(4, 1), semi.sid2);
        QCOMPARE(f.row(4).spieler1, semi.spieler2);
        QCOMPARE(f.placementSlot(QStringLiteral("platz12"))->text(), semi.spieler2);
        QCOMPARE(f.placementSlot(QStringLiteral("platz22"))->text(), QStringLiteral("Verlierer Spiel 2"));
        f.verifyPoolsAsRebuilt();

        f.record(0, 2, QStringLiteral("1:3"), {"5", "-5", "-5", "-5"});
        QCOMPARE(f.side(4, 2), f.row(2).sid1);
        QCOMPARE(f.side(3, 1), semi.sid1);
        QCOMPARE(f.side(3, 2), f.row(2).sid2);
        QCOMPARE(f.tag(3), 2);
        QCOMPARE(f.tag(4), 2);

        // The final, recorded from the placement page, shows its result on both pages.
        f.run({3});
        f.record(4, 3, QStringLiteral("3:1"), {"7", "-0", "5", "9"});
        for (QWidget* shown : {f.bracket(), f.placementPage()}) {
            PlanIcon* final = f.icon(shown, 3);
            QVERIFY(final);
            QCOMPARE(final->Tag, 5);
            QCOMPARE(final->text(), QStringLiteral("3:1"));
        }
        f.verifyPoolsAsRebuilt();
        QVERIFY(f.prompter.verify());
    }

    // "Sieger Gruppe A" and "Zweiter Gruppe A" dropped after the group's first
    // result hold the provisional holders; the match is not playable (its
    // icon waits, a call-up and a start by hand are refused) until the group
    // end puts the group's first and second there, and is then played by
    // them.
    void groupRankTakenEarly_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void groupRankTakenEarly()
    {
        QFETCH(Backend, backend);
        RecordingFixture f(backend);
        if (!f.tdb.ready())
            return;
        const GroupA group = f.groupRanksTakenEarly();
        QCOMPARE(f.side(group.final, 1), group.a);
        QVERIFY(f.side(group.final, 2) > 0 && f.side(group.final, 2) != group.a);
        // The first result from the mirrored icon: both icons drawn from the stored sets.
        const auto shownIcon = [&](const char* name) {
            return f.bracket()->findChild<PlanIcon*>(QString::fromLatin1(name) +
                                                     QString::number(group.matches[0].spielnummer));
        };
        QCOMPARE(shownIcon("status")->text(), QStringLiteral("3:0"));
        QCOMPARE(shownIcon("status")->toolTip(), QStringLiteral("+5, +7, +11"));
        QCOMPARE(shownIcon("statusx")->text(), QStringLiteral("0:3"));
        QCOMPARE(shownIcon("statusx")->toolTip(), QStringLiteral("-5, -7, -11"));
        f.spielplaene.statusladen(f.kid);
        QCOMPARE(f.tag(group.final), 1);
        f.spielplaene.planupdate();
        QCOMPARE(f.tag(group.final), 1);
        try {
            callMatch(f.db(), f.kid, group.final, {}, {QStringLiteral("T1"), QString(), true, f.clock.now()});
            QFAIL("called");
        } catch (const MatchConflict& e) {
            QCOMPARE(e.message(), QStringLiteral("Ein Platz von Spiel %1 kommt aus einer Gruppe, die noch nicht "
                                                 "beendet ist.")
                                      .arg(group.final));
        }
        f.prompter.expect(PromptKind::Error, kNichtStartbar);
        QVERIFY(!f.modes.spielmanuellstarten(group.final));
        QCOMPARE(f.row(group.final).state(), MatchStage::Open);

        f.prompter.expect(PromptKind::Information, kGruppeBeendet);
        f.finishGroupA(group);
        QCOMPARE(f.side(group.final, 1), group.c);
        QCOMPARE(f.side(group.final, 2), group.a);
        QCOMPARE(f.placementSlot(QStringLiteral("platz11"))->text(), f.row(group.final).spieler1);
        QCOMPARE(f.tag(group.final), 2);
        f.verifyPoolsAsRebuilt();

        f.run({group.final});
        f.record(4, group.final, QStringLiteral("3:1"), {"5", "-5", "5", "5"});
        QCOMPARE(f.row(group.final).state(), MatchStage::Finished);
        QCOMPARE(readMatchOfPlacement(f.db(), f.kid, group.final)->siegerSID, group.c);
        QVERIFY(f.prompter.verify());
    }

    // A placement match played with the provisional holders before the group
    // ended keeps its sides: the group end tells the organiser which places
    // went to whom, and the match is taken back before they are filled.
    void playedBeforeTheGroupEnd_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void playedBeforeTheGroupEnd()
    {
        QFETCH(Backend, backend);
        RecordingFixture f(backend);
        if (!f.tdb.ready())
            return;
        const GroupA group = f.groupRanksTakenEarly();
        const int second = f.side(group.final, 2);
        // Played as the program did before it waited for the group's end.
        execute(f.db(),
                s("UPDATE Spielplan SET beendet=1, ergebnis='3:0', siegerSID=SID1, verliererSID=SID2, an_platte='T1' "
                  "WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), f.kid}, {s("n"), group.final}});
        const auto sides = [&] {
            return queryRows(f.db(), s("SELECT SID1,spieler1,SID2,spieler2,siegerSID,verliererSID,beendet "
                                       "FROM Spielplan WHERE KID=%1 AND spielnummer=%2")
                                         .arg(f.kid)
                                         .arg(group.final));
        };
        const QStringList played = sides();
        QHash<int, QString> names;
        for (const StandingsRow& row : readGroupStandings(f.db(), f.kid, 0))
            names.insert(row.sid, row.bez);
        f.prompter.expect(PromptKind::Information, kGruppeBeendet);
        f.prompter.expect(PromptKind::Warning,
                          keptSlotMessage({group.final, 4, 0, 0, group.a, {group.c, names.value(group.c)}}));
        f.prompter.expect(PromptKind::Warning,
                          keptSlotMessage({group.final, 4, 0, 1, second, {group.a, names.value(group.a)}}));
        f.finishGroupA(group);
        QVERIFY(f.prompter.verify());
        QCOMPARE(sides(), played);
        QVERIFY(keptSlotMessage({group.final, 4, 0, 0, group.a, {group.c, names.value(group.c)}})
                    .contains(QStringLiteral("\"Sieger Gruppe A\"")));
    }
};

QTEST_MAIN(TestMatchRecording)
#include "test_matchrecording.moc"
