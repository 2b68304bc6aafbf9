// The match dialog opened from the plan: the modes over a class drawn for real
// (a match of group C and a knock-out match) with the lists they offer, the
// call-up's preselection from the free pools, and the whole way through the
// real dialog -- a click on a playable icon, table and umpire chosen,
// confirmed -- with what it changes on the plan; a start straight from the
// call-up; another desk first.
#include "modesfixture.h"

#include "data/matchdialogrecords.h"
#include "data/matchstaterecords.h"
#include "data/sql.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/resultdialogmodes.h"
#include "plans/tspielplaene.h"
#include "results/tergebnis.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"

#include <QAction>
#include <QDateEdit>
#include <QScrollArea>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

class TestMatchDialogModes : public QObject {
    Q_OBJECT
private slots:
    void modesOffer()
    {
        ModesFixture f;
        const int c = f.firstOf(2);
        const int ko = f.firstOf(-1);
        QVERIFY(c && ko);

        // Planning: every table of the group, every umpire of the class; non-modal.
        f.modes.spielplanen(c);
        QVERIFY(f.ergebnis.isVisible() && !f.ergebnis.isModal());
        QCOMPARE(f.ergebnis.ok->Caption(), kUebernehmen);
        QCOMPARE(f.ergebnis.gruppe->text(), QStringLiteral("Gruppe : C"));
        QCOMPARE(f.ergebnis.plattencombo->count(), 2);
        QCOMPARE(f.ergebnis.schiricombo->count(), 2);
        QCOMPARE(f.ergebnis.starttag->date(), QDate(2026, 6, 7));
        f.ergebnis.cancelClick();
        f.modes.spielplanen(ko);
        QCOMPARE(f.ergebnis.gruppe->text(), QStringLiteral("Gruppe: "));
        f.ergebnis.cancelClick();

        // Call-up: the free tables and umpires only; modal. The planned table
        // taken by another call: the first free one.
        execute(f.db(), s("UPDATE Spielplan SET geplanter_tisch='T1' WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), f.kid}, {s("n"), c}});
        const int a = f.firstOf(0);
        f.ergebnis.next1->SetChecked(false);
        f.whileOpen([&] {
            QVERIFY(f.ergebnis.isModal());
            QCOMPARE(f.ergebnis.ok->Caption(), kAufrufen);
            QCOMPARE(f.ergebnis.gruppe->text(), QStringLiteral("Gruppe : A"));
            QCOMPARE(f.ergebnis.schiricombo->count(), 1);
            QCOMPARE(f.ergebnis.schiricombo->itemText(0), QStringLiteral("Ufer, Udo"));
            f.ergebnis.plattencombo->setCurrentIndex(f.ergebnis.plattencombo->findText(QStringLiteral("T1")));
            f.ergebnis.ok->Click();
        });
        QVERIFY(f.modes.spielaufrufen1(a));
        f.whileOpen([&] {
            QCOMPARE(f.ergebnis.plattencombo->count(), 1);
            QCOMPARE(f.ergebnis.plattencombo->currentText(), QStringLiteral("T2"));
            QCOMPARE(f.ergebnis.platte->text(), QStringLiteral("An Tisch : T2"));
            QCOMPARE(f.ergebnis.schiricombo->count(), 1);
            f.ergebnis.cancelClick();
        });
        QVERIFY(!f.modes.spielaufrufen1(c));
        QCOMPARE(f.tag(c), 2); // cancelled: nothing changed

        // Called, running, finished: non-modal, no lists.
        f.modes.spielaufgerufen(a);
        QCOMPARE(f.ergebnis.ok->Caption(), kSpielStarten);
        QVERIFY(!f.ergebnis.isModal() && f.ergebnis.plattencombo->count() == 0);
        f.ergebnis.cancelClick();
        QVERIFY(f.prompter.verify());
    }

    // Through the real dialog: a playable icon clicked, table and umpire
    // chosen, confirmed; the icon shows the match called and the other match
    // of the same entrant falls back to waiting.
    void callUpEndToEnd()
    {
        ModesFixture f;
        const int a = f.firstOf(0);
        const MatchDialogRow called = f.row(a);
        int shared = 0;
        for (const MatchStateRow& r : readMatchStateRows(f.db(), f.kid))
            if (r.spielnummer != a && (r.sid1 == called.sid1 || r.sid2 == called.sid1))
                shared = r.spielnummer;
        QVERIFY(shared);
        QCOMPARE(f.tag(a), 2);
        QCOMPARE(f.tag(shared), 2);
        PlanIcon* icon = f.icon(0, QStringLiteral("status%1").arg(a));
        f.whileOpen([&] {
            QCOMPARE(f.ergebnis.ok->Caption(), kAufrufen);
            f.ergebnis.plattencombo->setCurrentIndex(f.ergebnis.plattencombo->findText(QStringLiteral("T2")));
            f.ergebnis.schiricombo->setCurrentIndex(0);
            QTest::mouseClick(f.ergebnis.ok, Qt::LeftButton);
        });
        QTest::mouseClick(icon, Qt::LeftButton);
        QVERIFY(!f.ergebnis.isVisible());
        QCOMPARE(icon->Tag, 3);
        QCOMPARE(f.icon(0, QStringLiteral("statusx%1").arg(a))->Tag, 3);
        QCOMPARE(f.tag(shared), 1);
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(shared))->Tag, 1);
        const MatchDialogRow stored = f.row(a);
        QCOMPARE(stored.state(), MatchStage::Called);
        QCOMPARE(stored.anPlatte, QStringLiteral("T2"));
        QCOMPARE(stored.schiri, QStringLiteral("Ufer, Udo"));
        QVERIFY(!f.spielplaene.session().pools.texts(QStringLiteral("alleplatten")).contains(QStringLiteral("T2")));
        QVERIFY(f.spielplaene.session().pools.texts(QStringLiteral("schiri")).isEmpty());
        QVERIFY(f.prompter.verify());
    }

    // "Spiel starten + drucken" from the call-up: running, with its table,
    // entrants and umpire out of the pools.
    void startStraightFromTheCallUp()
    {
        ModesFixture f;
        const int a = f.firstOf(0);
        const MatchDialogRow match = f.row(a);
        f.ergebnis.next1->SetChecked(false);
        f.prompter.expect(PromptKind::Information, QStringLiteral("Der Schiedsrichterzettel kann noch nicht gedruckt werden."));
        f.whileOpen([&] {
            f.ergebnis.plattencombo->setCurrentIndex(f.ergebnis.plattencombo->findText(QStringLiteral("T1")));
            f.ergebnis.schiricombo->setCurrentIndex(0);
            f.ergebnis.Spielstartendrucken1->trigger();
        });
        QVERIFY(f.modes.spielaufrufen1(a));
        QCOMPARE(f.tag(a), 4);
        QCOMPARE(f.row(a).state(), MatchStage::Running);
        QCOMPARE(f.row(a).anPlatte, QStringLiteral("T1"));
        const ResourcePools& pools = f.spielplaene.session().pools;
        QVERIFY(!pools.texts(QStringLiteral("alleplatten")).contains(QStringLiteral("T1")));
        QVERIFY(!pools.texts(QStringLiteral("sliste0")).contains(QString::number(match.sid1)));
        QVERIFY(!pools.texts(QStringLiteral("sliste0")).contains(QString::number(match.sid2)));
        QVERIFY(pools.texts(QStringLiteral("schiri")).isEmpty());
        QVERIFY(f.prompter.verify());
    }

    // Another desk called the match while the dialog was open: nothing stored
    // here, the message, and the plan shows the match as the other desk left it.
    void otherDeskFirst()
    {
        ModesFixture f;
        const int a = f.firstOf(0);
        f.prompter.expect(PromptKind::Warning, kMatchChanged);
        f.whileOpen([&] {
            execute(f.db(), s("UPDATE Spielplan SET in_planung=1,an_platte='T2' WHERE KID=:k AND spielnummer=:n"),
                    {{s("k"), f.kid}, {s("n"), a}});
            f.ergebnis.plattencombo->setCurrentIndex(f.ergebnis.plattencombo->findText(QStringLiteral("T1")));
            f.ergebnis.ok->Click();
        });
        QVERIFY(!f.modes.spielaufrufen1(a));
        QCOMPARE(f.row(a).anPlatte, QStringLiteral("T2"));
        QCOMPARE(f.tag(a), 3);
        QVERIFY(f.spielplaene.session().pools.texts(QStringLiteral("alleplatten")).contains(QStringLiteral("T1")));
        QVERIFY(!f.spielplaene.session().pools.texts(QStringLiteral("alleplatten")).contains(QStringLiteral("T2")));
        QVERIFY(f.prompter.verify());
    }
};

QTEST_MAIN(TestMatchDialogModes)
#include "test_matchdialogmodes.moc"
