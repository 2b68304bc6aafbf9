// Taking matches back and starting them by hand from the plan panel, through
// the real plan module and match dialog over a class drawn for real: the
// context menu's "Spiel zurücksetzen" over the states with pools and icons,
// the dialog's menu item acting on its own match, a take-back while another
// page is shown, "Korrigieren" confirmed in the dialog, and "Spiel manuell
// starten" (a bye refused, no free table, a typed table, the free umpires).
#include "modesfixture.h"

#include "data/dbvalue.h"
#include "plans/matchrecording.h"
#include "results/standings.h"
#include "results/takeback.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

// Keeps the order the ranking gives.
class KeepOrder : public TieResolver {
public:
    QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) override { return ranked; }
};

// The modes' fixture with the dialog's hand-overs connected as the program
// connects them: recording, correcting and taking back.
struct ActionsFixture : ModesFixture {
    KeepOrder ties;
    MatchRecording recording{spielplaene, {&prompter, &clock, [this] { return tdb.db(); }, [] { return kPlanTid; }, &ties}};

    ActionsFixture()
    {
        const auto close = [this] { ergebnis.accept(); };
        dialogLinks.spielBeendet = [this, close](const MatchFinish& finish) { return recording.spielBeendet(finish, close); };
        dialogLinks.korrigieren = [this, close](const MatchFinish& finish) { return recording.korrigieren(finish, close); };
        dialogLinks.spielZuruecksetzen = [this](int kid, int n, MatchStage shown) {
            recording.spielZuruecksetzen(kid, n, shown);
        };
        ergebnis.setLinks(dialogLinks);
        // The result list and set entries of the class, as the program sets them up.
        ergebnis.setResultSetup(loadResultDialogSetup(db(), kid, spielplaene.session().klasseninfos));
    }

    const ResourcePools& pools() { return spielplaene.session().pools; }
    // A mouse press on the match's icon, as before the context menu opens.
    void press(int n) { spielplaene.statusMouseDown(QStringLiteral("status%1").arg(n), tag(n), Qt::LeftButton, {}); }
    void takeBack(int n)
    {
        press(n);
        spielplaene.PopupMenu1->Spielzurcksetzen1->trigger();
    }
    // Calls the match up in the dialog at `table` with the umpire chosen (or none).
    void callUp(int n, const QString& table, const QString& umpire = {})
    {
        whileOpen([=, this] {
            ergebnis.plattencombo->setCurrentIndex(ergebnis.plattencombo->findText(table));
            ergebnis.schiricombo->setCurrentIndex(ergebnis.schiricombo->findText(umpire));
            ergebnis.schiricombo->setEditText(umpire);
            ergebnis.ok->Click();
        });
        QVERIFY(modes.spielaufrufen1(n));
    }
    void start(int n)
    {
        modes.spielaufgerufen(n);
        ergebnis.ok->Click();
    }
    // The dialog's result: "3:0" with +5 in every set, or what is given.
    void finish(int n, const QString& ergebnisText = QStringLiteral("3:0"),
                const QStringList& sets = {QStringLiteral("+5"), QStringLiteral("+5"), QStringLiteral("+5")})
    {
        if (tag(n) == kBeendet)
            modes.spielbeendet(n);
        else
            modes.spielstarten(n);
        ergebnis.ergebniscombo->setCurrentIndex(ergebnis.ergebniscombo->findText(ergebnisText));
        ergebnis.ergebniscomboChange();
        for (int k = 0; k < sets.size(); ++k)
            ergebnis.satz[size_t(k)]->setText(sets[k]);
        ergebnis.next->SetChecked(false); // no offer of the next matches
        ergebnis.ok->Click();
    }
    int count(const QString& pool, const QString& text) { return int(pools().texts(pool).count(text)); }
    QString counters(int sid)
    {
        return queryRows(db(), QStringLiteral("SELECT spielanzahl,spielegewonnen,spieleverloren,saetzegewonnen,"
                                              "punktegewonnen FROM Tabellen WHERE KID=%1 AND SID=%2")
                                   .arg(kid)
                                   .arg(sid))
            .value(0);
    }
};

} // namespace

class TestTakeBackActions : public QObject {
    Q_OBJECT
private slots:
    // The states table of "Spiel zurücksetzen" on one match of group A, with
    // its pools and icons.
    void statesTable()
    {
        ActionsFixture f;
        const int a = f.firstOf(0);
        const MatchDialogRow match = f.row(a);
        const QString sid1 = QString::number(match.sid1);
        const QString sid2 = QString::number(match.sid2);

        // Playable: cannot go further back.
        f.prompter.expect(PromptKind::Information, kNichtWeiterZurueck);
        f.takeBack(a);
        QCOMPARE(f.row(a).state(), MatchStage::Open);
        QCOMPARE(f.tag(a), kSpielbar);

        // Called -> waiting: call times gone, table, entrants and umpire back;
        // with free distribution the table to every group's pool; an umpire
        // already in the pool stays single.
        f.callUp(a, QStringLiteral("T1"), QStringLiteral("Ufer, Udo"));
        QCOMPARE(f.tag(a), kAufgerufen);
        QCOMPARE(f.count(QStringLiteral("platte1"), QStringLiteral("T1")), 0);
        QCOMPARE(f.count(QStringLiteral("schiri"), QStringLiteral("Ufer, Udo")), 0);
        f.spielplaene.addToPool(QStringLiteral("schiri"), QStringLiteral("Ufer, Udo"), 0);
        f.takeBack(a);
        const MatchDialogRow waiting = f.row(a);
        QCOMPARE(waiting.state(), MatchStage::Open);
        QVERIFY(!readDateTime(scalar(f.db(), s("SELECT aufruf1_sp1 FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                                     {{s("k"), f.kid}, {s("n"), a}}))
                     .isValid());
        QCOMPARE(f.tag(a), kSpielbar);
        for (const QString& pool : {s("platte0"), s("platte1"), s("platte2"), s("alleplatten")})
            QCOMPARE(f.count(pool, QStringLiteral("T1")), 1);
        QCOMPARE(f.count(QStringLiteral("schiri"), QStringLiteral("Ufer, Udo")), 1);
        QCOMPARE(f.count(QStringLiteral("sliste0"), sid1), 1);
        QCOMPARE(f.count(QStringLiteral("sliste0"), sid2), 1);

        // Running -> called: the match keeps its table.
        f.callUp(a, QStringLiteral("T1"));
        f.start(a);
        QCOMPARE(f.tag(a), kLaeuft);
        f.takeBack(a);
        QCOMPARE(f.row(a).state(), MatchStage::Called);
        QCOMPARE(f.row(a).anPlatte, QStringLiteral("T1"));
        QVERIFY(scalar(f.db(), s("SELECT spielstart FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                       {{s("k"), f.kid}, {s("n"), a}})
                    .isNull());
        QCOMPARE(f.tag(a), kAufgerufen);
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(a))->Tag, kAufgerufen);
        QCOMPARE(f.count(QStringLiteral("alleplatten"), QStringLiteral("T1")), 0);

        // Finished: Cancel changes nothing, not even the icons.
        f.start(a);
        f.finish(a);
        QCOMPARE(f.tag(a), kBeendet);
        const QStringList before = dumpTables(f.db(), {s("Spielplan"), s("Tabellen")});
        f.prompter.expect(PromptKind::Warning, kMehrereSpiele, PromptAnswer::Cancel);
        f.takeBack(a);
        QCOMPARE(dumpTables(f.db(), {s("Spielplan"), s("Tabellen")}), before);
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(a))->Tag, kBeendet);

        // OK: the result taken back, the match running again, the standings as before it.
        f.prompter.expect(PromptKind::Warning, kMehrereSpiele, PromptAnswer::Ok);
        f.takeBack(a);
        QCOMPARE(f.row(a).state(), MatchStage::Running);
        QVERIFY(f.row(a).ergebnis.isEmpty());
        QCOMPARE(f.tag(a), kLaeuft);
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(a))->Tag, kLaeuft);
        QCOMPARE(f.counters(match.sid1), s("0|0|0|0|0"));
        QCOMPARE(f.counters(match.sid2), s("0|0|0|0|0"));
        QVERIFY(f.prompter.verify());
    }

    // The dialog's "Spiel zurücksetzen" acts on the dialog's match by the
    // state it was filled from, not on the match pressed last on the plan.
    void theDialogTakesItsOwnMatchBack()
    {
        ActionsFixture f;
        const int a = f.firstOf(0);
        const int other = f.firstOf(1);
        f.callUp(a, QStringLiteral("T1"));
        f.start(a);
        f.press(other);
        f.modes.spielstarten(a);
        f.ergebnis.Spielbeenden1->trigger();
        QVERIFY(!f.ergebnis.isVisible());
        QCOMPARE(f.row(a).state(), MatchStage::Called);
        QCOMPARE(f.tag(a), kAufgerufen);
        QCOMPARE(f.row(other).state(), MatchStage::Open);

        // Finished: the question, then running again.
        f.start(a);
        f.finish(a);
        f.modes.spielbeendet(a);
        f.prompter.expect(PromptKind::Warning, kMehrereSpiele, PromptAnswer::Ok);
        f.ergebnis.Spielbeenden1->trigger();
        QCOMPARE(f.row(a).state(), MatchStage::Running);
        QCOMPARE(f.tag(a), kLaeuft);
        QVERIFY(f.prompter.verify());
    }

    // The page shown has no say: a group match taken back while the
    // knock-out page is in front loses its standings share.
    void anotherPageShown()
    {
        ActionsFixture f;
        const int a = f.firstOf(0);
        const MatchDialogRow match = f.row(a);
        f.callUp(a, QStringLiteral("T2"));
        f.start(a);
        f.finish(a);
        QCOMPARE(f.counters(match.sid1), s("1|1|0|3|33"));
        f.panel.sp_contol->setCurrentIndex(1);
        f.spielplaene.sp_contolChange();
        f.prompter.expect(PromptKind::Warning, kMehrereSpiele, PromptAnswer::Ok);
        f.takeBack(a);
        QCOMPARE(f.counters(match.sid1), s("0|0|0|0|0"));
        QCOMPARE(f.row(a).state(), MatchStage::Running);
        QVERIFY(f.prompter.verify());
    }

    // "Korrigieren" in the dialog: the same winner with other sets corrects
    // the match and its standings in place, without a question.
    void korrigierenInTheDialog()
    {
        ActionsFixture f;
        const int a = f.firstOf(0);
        const MatchDialogRow match = f.row(a);
        f.callUp(a, QStringLiteral("T1"));
        f.start(a);
        f.finish(a);
        f.finish(a, QStringLiteral("3:1"), {s("+9"), s("-9"), s("+9"), s("+9")});
        QVERIFY(!f.ergebnis.isVisible());
        QCOMPARE(f.row(a).ergebnis, QStringLiteral("3:1"));
        QCOMPARE(f.tag(a), kBeendet);
        QCOMPARE(f.counters(match.sid1), s("1|1|0|3|42"));
        QVERIFY(f.prompter.verify());
    }

    void spielManuellStarten()
    {
        ActionsFixture f;
        // A bye cannot be started.
        const int bye = scalar(f.db(), s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND (SID1=-2 OR SID2=-2)"),
                               {{s("k"), f.kid}})
                            .toInt();
        QVERIFY(bye > 0);
        f.prompter.expect(PromptKind::Error, QStringLiteral("Dieses Spiel kann nicht gestartet werden"));
        f.press(bye);
        f.spielplaene.PopupMenu1->Spielmauellstarten1->trigger();
        QVERIFY(!f.ergebnis.isVisible());

        // Both tables taken: a waiting match of group C is started by hand at a
        // typed table; the free umpires are listed, and its planned one, who
        // is not free, is not chosen for the organiser.
        f.callUp(f.firstOf(0), QStringLiteral("T1"));
        f.callUp(f.firstOf(1), QStringLiteral("T2"));
        const int c = f.firstOf(2);
        QCOMPARE(f.tag(c), kWartend);
        execute(f.db(), s("UPDATE Spielplan SET schiri='Abel, Eva' WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), f.kid}, {s("n"), c}});
        f.press(c);
        bool shown = false;
        f.whileOpen([&] {
            shown = true;
            QCOMPARE(f.ergebnis.ok->Caption(), kAufrufen);
            QCOMPARE(f.ergebnis.manuell->Tag, 1);
            QCOMPARE(f.ergebnis.plattencombo->count(), 0);
            QCOMPARE(f.ergebnis.plattencombo->currentText(), QString());
            QCOMPARE(f.ergebnis.platte->text(), QStringLiteral("An Tisch : "));
            QCOMPARE(f.ergebnis.schiricombo->count(), 1);
            QCOMPARE(f.ergebnis.schiricombo->itemText(0), QStringLiteral("Ufer, Udo"));
            QCOMPARE(f.ergebnis.schiricombo->currentText(), QString());
            f.ergebnis.plattencombo->setEditText(QStringLiteral("T9"));
            f.ergebnis.ok->Click();
        });
        f.spielplaene.PopupMenu1->Spielmauellstarten1->trigger();
        QVERIFY(shown);
        const MatchDialogRow called = f.row(c);
        QCOMPARE(called.state(), MatchStage::Called);
        QCOMPARE(called.anPlatte, QStringLiteral("T9"));
        QVERIFY(called.manuell);
        QCOMPARE(f.tag(c), kAufgerufen);

        // At the end its table is given back nowhere.
        f.start(c);
        f.finish(c);
        for (const QString& pool : {s("platte2"), s("alleplatten")})
            QCOMPARE(f.count(pool, QStringLiteral("T9")), 0);
        QVERIFY(f.prompter.verify());
    }

    void theManualCallUpIsOneTransaction()
    {
        ActionsFixture f;
        const int c = f.firstOf(2);
        const QString failure = checkAtomic(f.db(), [&] {
            callMatch(f.db(), f.kid, c, MatchPlan{QStringLiteral("T9"), {}, {}, {}},
                      MatchCall{QStringLiteral("T9"), QString(), true, f.clock.now()});
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(f.row(c).manuell);
    }
};

QTEST_MAIN(TestTakeBackActions)
#include "test_takebackactions.moc"
