// The match dialog on a real database: what each mode shows of a match and
// what it chooses before the organiser does, the actions that store plan,
// call-up and start, the later calls, the checks of table, result, set entries
// and time, where typing goes, the action menu, the follow-up boxes of both
// result dialogs, and another desk changing the match or taking its umpire
// while the dialog is open.
#include "../plans/planfixture.h"

#include "data/dbvalue.h"
#include "data/faultinjection.h"
#include "data/matchdialogrecords.h"
#include "data/sql.h"
#include "results/setentry.h"
#include "results/tergebnis.h"
#include "results/tergebnis_team.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include "controls/uicheckctrls.h"
#include "controls/uicoreutils.h"
#include "platform/clock.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

using namespace bw;
using namespace bw::test;

namespace {

const QDate kClassDay(2026, 6, 7);

// The plan panel as the dialog reaches it, recording what it was told.
class RecordingPlan : public MatchDialogPlanLink {
public:
    QStringList calls;
    static QString held(const HeldResources& m)
    {
        return QStringLiteral("%1 %2 %3 %4 %5").arg(m.gruppe).arg(m.sid1).arg(m.sid2).arg(m.platte, m.schiri);
    }
    void matchCalled(int n, const HeldResources& m) override
    {
        calls << QStringLiteral("called %1: ").arg(n) + held(m);
    }
    void matchStarted(int n, const std::optional<HeldResources>& m) override
    {
        calls << QStringLiteral("started %1").arg(n) + (m ? QStringLiteral(": ") + held(*m) : QString());
    }
    void rebuildStates() override { calls << QStringLiteral("rebuild"); }
};

QVariant column(const QSqlDatabase& db, int kid, int n, const char* name)
{
    return scalar(db, s("SELECT ") + s(name) + s(" FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                  {{s("k"), kid}, {s("n"), n}});
}

} // namespace

class TestTergebnis : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_tdb;
    QSqlDatabase m_db;
    int m_kid = 0;
    int m_group2 = 0; // a match of group C
    int m_ko = 0;     // a knock-out match
    QList<int> m_group0; // the matches of group A
    std::unique_ptr<FakePrompter> m_prompterOwned;
    FakePrompter* m_prompter = nullptr;
    FixedClock m_clock{QDateTime(QDate(2026, 6, 7), QTime(11, 12, 13))};
    RecordingPlan m_plan;
    std::unique_ptr<Tergebnis> m_dialog;
    bool m_workArea = true;

    MatchDialogRow row(int n) const { return *readMatchDialogRow(m_db, m_kid, n); }
    Tergebnis& dialog() { return *m_dialog; }
    TergebnisLinks links()
    {
        TergebnisLinks links;
        links.clock = &m_clock;
        links.database = [this] { return m_db; };
        links.naechstesSpielAnzeigen = [] { return true; };
        links.setWorkAreaEnabled = [this](bool enabled) { m_workArea = enabled; };
        links.plan = &m_plan;
        return links;
    }
    void fill(TergebnisMode mode, int n, const QStringList& tables = {"T1", "T2"},
              const QStringList& umpires = {"Abel, Eva", "Huber, Hans"}, bool byHand = false)
    {
        dialog().fillMode(mode, m_kid, row(n), tables, umpires, kClassDay, byHand);
    }
    void setState(int n, const char* assignments)
    {
        execute(m_db, s("UPDATE Spielplan SET ") + s(assignments) + s(" WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), m_kid}, {s("n"), n}});
    }

private slots:
    void initTestCase()
    {
        m_tdb = std::make_unique<TestDatabase>(Backend::SQLite);
        QVERIFY(m_tdb->ready());
        m_db = m_tdb->db();
        ClassRecord record;
        record.saetze = 3;
        m_kid = drawnClass(m_db, QStringLiteral("U18"), {groupPhase(3, 4, 1), knockOut()}, 12, ClassKind::Einzel,
                           record);
        for (int n = 1; n < 40; ++n) {
            const auto r = readMatchDialogRow(m_db, m_kid, n);
            if (!r)
                break;
            if (r->gruppe == 2 && !m_group2)
                m_group2 = n;
            if (r->gruppe < 0 && !m_ko)
                m_ko = n;
            if (r->gruppe == 0)
                m_group0 << n;
        }
        QVERIFY(m_group2 && m_ko && m_group0.size() == 6);
    }

    void init()
    {
        // Every case on a fresh dialog and the matches open and unplanned.
        execute(m_db, s("UPDATE Spielplan SET in_planung=0,begonnen=0,beendet=0,manuell=0,an_platte=NULL,schiri=NULL,"
                        "geplanter_tisch=NULL,geplanter_tag=NULL,geplante_zeit=NULL,spielstart=NULL,aufruf1_sp1=NULL,"
                        "aufruf1_sp2=NULL,aufruf1_sch=NULL,aufruf2_sp1=NULL,aufruf2_sp2=NULL,aufruf2_sch=NULL,"
                        "aufruf3_sp1=NULL,aufruf3_sp2=NULL,aufruf3_sch=NULL WHERE KID=:k"),
                {{s("k"), m_kid}});
        m_plan.calls.clear();
        m_workArea = true;
        m_prompterOwned = std::make_unique<FakePrompter>();
        m_prompter = m_prompterOwned.get();
        m_dialog = std::make_unique<Tergebnis>(nullptr, *m_prompterOwned);
        dialog().setLinks(links());
        ResultDialogSetup setup;
        setup.saetze = 3;
        setup.setEntries = 5;
        setup.ergebnisItems = setResultItemsForTest();
        dialog().setResultSetup(setup);
    }

    void cleanup()
    {
        m_dialog.reset();
        QVERIFY(m_prompter->verify());
    }

    // The modes over a match of group C and a knock-out match.
    void modes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("knockOut");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("group");
        const auto add = [](const char* name, TergebnisMode mode, bool ko, const char* page, const QString& caption,
                            const char* group) {
            QTest::newRow(name) << int(mode) << ko << QString::fromLatin1(page) << caption << QString::fromUtf8(group);
        };
        add("planning C", TergebnisMode::Planen, false, "TabSheet1", kUebernehmen, "Gruppe : C");
        add("planning KO", TergebnisMode::Planen, true, "TabSheet1", kUebernehmen, "Gruppe: ");
        add("call-up C", TergebnisMode::Aufrufen, false, "TabSheet1", kAufrufen, "Gruppe : C");
        add("call-up KO", TergebnisMode::Aufrufen, true, "TabSheet1", kAufrufen, "Gruppe :");
        add("called C", TergebnisMode::Aufgerufen, false, "TabSheet2", kSpielStarten, "Gruppe : C");
        add("called KO", TergebnisMode::Aufgerufen, true, "TabSheet2", kSpielStarten, "Gruppe: ");
        add("running KO", TergebnisMode::Starten, true, "TabSheet3", kSpielBeendet, "Gruppe :");
        add("finished C", TergebnisMode::Beendet, false, "TabSheet3", kKorrigieren, "Gruppe : C");
        add("finished KO", TergebnisMode::Beendet, true, "TabSheet3", kKorrigieren, "Gruppe :");
    }
    void modes()
    {
        QFETCH(int, mode);
        QFETCH(bool, knockOut);
        QFETCH(QString, page);
        QFETCH(QString, caption);
        QFETCH(QString, group);
        const int n = knockOut ? m_ko : m_group2;
        fill(TergebnisMode(mode), n);
        QCOMPARE(dialog().PageControl1->currentWidget()->objectName(), page);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(dialog().PageControl1->isTabEnabled(i), dialog().PageControl1->widget(i)->objectName() == page);
        QCOMPARE(dialog().ok->Caption(), caption);
        QCOMPARE(dialog().cancel->Caption(), QStringLiteral("Zurück"));
        QCOMPARE(dialog().gruppe->text(), group);
        QCOMPARE(dialog().snr->text(), QString::number(n));
        QCOMPARE(dialog().gruppetemp->text(), QString::number(knockOut ? -1 : 2));
        QCOMPARE(dialog().spieler1->text(), QStringLiteral("Spieler 1: ") + row(n).spieler1);
        QCOMPARE(dialog().spieler2->text(), QStringLiteral("Spieler 2: ") + row(n).spieler2);
        const bool planning = TergebnisMode(mode) == TergebnisMode::Planen || TergebnisMode(mode) == TergebnisMode::Aufrufen;
        QCOMPARE(dialog().plattencombo->isEnabled(), planning);
        QCOMPARE(dialog().plattencombo->count(), planning ? 2 : 0);
        QCOMPARE(dialog().schiricombo->count(), planning ? 2 : 0);
        QCOMPARE(dialog().schiripool->isEnabledTo(dialog().TabSheet3),
                 TergebnisMode(mode) != TergebnisMode::Planen && TergebnisMode(mode) != TergebnisMode::Aufgerufen);
    }

    // What the dialog chooses before the organiser does: planning shows the
    // plan as stored (no table of its own choosing); a call-up only what is
    // free, the planned table when it is free, else the first free one, and
    // the planned umpire (also one a call-up taken back left) only when free.
    void preselection_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("planned");
        QTest::addColumn<QStringList>("tables"); // the tables listed: free ones on a call-up
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("umpire");
        QTest::addColumn<QStringList>("umpires");
        QTest::addColumn<QString>("chosenUmpire");
        const QStringList both{"Abel, Eva", "Huber, Hans"};
        const QStringList huber{"Huber, Hans"};
        const int call = int(TergebnisMode::Aufrufen);
        const int plan = int(TergebnisMode::Planen);
        QTest::newRow("call-up, planned free") << call << "3" << QStringList{"1", "3"} << "3" << "" << both << "";
        QTest::newRow("call-up, planned taken") << call << "3" << QStringList{"1", "2"} << "1" << "" << both << "";
        QTest::newRow("call-up, none free") << call << "3" << QStringList{} << "" << "" << both << "";
        QTest::newRow("call-up, none planned") << call << "" << QStringList{"2"} << "2" << "" << both << "";
        QTest::newRow("call-up, umpire free") << call << "" << QStringList{"2"} << "2" << "Abel, Eva" << both
                                              << "Abel, Eva";
        QTest::newRow("call-up, umpire busy") << call << "" << QStringList{"2"} << "2" << "Abel, Eva" << huber << "";
        QTest::newRow("planning, table planned") << plan << "3" << QStringList{"1", "3"} << "3" << "Abel, Eva" << both
                                                 << "Abel, Eva";
        QTest::newRow("planning, none planned") << plan << "" << QStringList{"1", "3"} << "" << "" << both << "";
    }
    void preselection()
    {
        QFETCH(int, mode);
        QFETCH(QString, planned);
        QFETCH(QStringList, tables);
        QFETCH(QString, chosen);
        QFETCH(QString, umpire);
        QFETCH(QStringList, umpires);
        QFETCH(QString, chosenUmpire);
        execute(m_db, s("UPDATE Spielplan SET geplanter_tisch=:t, schiri=:u WHERE KID=:k AND spielnummer=:n"),
                {{s("t"), textOrNull(planned)}, {s("u"), textOrNull(umpire)}, {s("k"), m_kid}, {s("n"), m_group2}});
        fill(TergebnisMode(mode), m_group2, tables, umpires);
        QCOMPARE(dialog().plattencombo->currentText(), chosen);
        QCOMPARE(dialog().schiricombo->currentText(), chosenUmpire);
        QCOMPARE(dialog().geplanter_tisch->text(), planned);
        if (TergebnisMode(mode) == TergebnisMode::Planen) {
            // Nothing chosen is nothing stored: "Übernehmen" asks for a table.
            dialog().show();
            if (chosen.isEmpty())
                m_prompter->expect(PromptKind::Warning, kKeinePlatte);
            QCOMPARE(dialog().okClick(), !chosen.isEmpty());
            QCOMPARE(row(m_group2).geplanterTisch, planned);
            if (dialog().isVisible())
                dialog().cancelClick();
            return;
        }
        QCOMPARE(dialog().platte->text(), QStringLiteral("An Tisch : ") + chosen);
        QCOMPARE(dialog().spieler1->Tag, row(m_group2).sid1);
        QCOMPARE(dialog().spieler2->Tag, row(m_group2).sid2);
    }

    void finishedSetsAndLaterCalls()
    {
        const int n = m_group0[0];
        execute(m_db,
                s("UPDATE Spielplan SET satz1=7,satz2=-9,satz3=-100,satz4=NULL,satz5=NULL,ergebnis='1:2',beendet=1 "
                  "WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), m_kid}, {s("n"), n}});
        const QStringList before = dumpTables(m_db, {s("Spielplan")});
        fill(TergebnisMode::Beendet, n);
        QCOMPARE(dialog().satz[0]->text(), QStringLiteral("+7"));
        QCOMPARE(dialog().satz[1]->text(), QStringLiteral("-9"));
        QCOMPARE(dialog().satz[2]->text(), QStringLiteral("-0"));
        QCOMPARE(dialog().satz[3]->text(), QString());
        QCOMPARE(dialog().ergebniscombo->currentText(), QStringLiteral("1:2"));
        QVERIFY(dialog().satz[2]->isEnabled() && !dialog().satz[3]->isEnabled());
        QVERIFY(!dialog().schiricombo->isEnabled());

        // A called match: the stored second call of player 1 is ticked with its time.
        const int called = m_group0[1];
        execute(m_db, s("UPDATE Spielplan SET in_planung=1,an_platte='T2',schiri='Abel, Eva',aufruf2_sp1=:t "
                        "WHERE KID=:k AND spielnummer=:n"),
                {{s("t"), QDateTime(QDate(2026, 6, 7), QTime(10, 5, 6))}, {s("k"), m_kid}, {s("n"), called}});
        const QStringList calledBefore = dumpTables(m_db, {s("Spielplan")});
        fill(TergebnisMode::Aufgerufen, called);
        QVERIFY(dialog().aufruf2_sp1->Checked());
        QCOMPARE(dialog().aufruf2_sp1->toolTip(), QStringLiteral("07.06.2026 10:05:06"));
        for (TuiCheckbox* other : {dialog().aufruf3_sp1, dialog().aufruf2_sp2, dialog().aufruf3_sch})
            QVERIFY(!other->Checked() && other->toolTip().isEmpty());
        QCOMPARE(dialog().platte->text(), QStringLiteral("An Tisch: T2"));
        QCOMPARE(dialog().schiri->text(), QStringLiteral("Schiedsrichter: Abel, Eva"));
        QCOMPARE(dialog().plattencombo->currentText(), QStringLiteral("T2"));
        QCOMPARE(dumpTables(m_db, {s("Spielplan")}), calledBefore); // loading stores nothing

        // Ticking stores the clock's time, unticking Null.
        dialog().aufruf3_sch->Click();
        QCOMPARE(readDateTime(column(m_db, m_kid, called, "aufruf3_sch")), m_clock.now());
        QCOMPARE(dialog().aufruf3_sch->toolTip(), QStringLiteral("07.06.2026 11:12:13"));
        dialog().aufruf2_sp1->Click();
        QVERIFY(column(m_db, m_kid, called, "aufruf2_sp1").isNull());
        QVERIFY(!dialog().aufruf2_sp1->Checked());
        Q_UNUSED(before);
    }

    // Match A planned, then match B without a plan: B shows the class's day and
    // no time, and its call-up stores B's values only.
    void noStaleValues()
    {
        const int a = m_group0[0], b = m_group0[5];
        execute(m_db, s("UPDATE Spielplan SET geplanter_tag=:d,geplante_zeit=:z WHERE KID=:k AND spielnummer=:n"),
                {{s("d"), QDate(2026, 6, 9)}, {s("z"), QDateTime(QDate(1899, 12, 30), QTime(15, 30))},
                 {s("k"), m_kid}, {s("n"), a}});
        for (TergebnisMode mode : {TergebnisMode::Planen, TergebnisMode::Aufrufen, TergebnisMode::Aufgerufen,
                                   TergebnisMode::Starten, TergebnisMode::Beendet}) {
            fill(mode, a);
            QCOMPARE(dialog().starttag->date(), QDate(2026, 6, 9));
            QCOMPARE(dialog().startzeit->text(), QStringLiteral("15:30"));
            fill(mode, b);
            QCOMPARE(dialog().starttag->date(), kClassDay);
            QCOMPARE(dialog().startzeit->text(), QString());
        }
        fill(TergebnisMode::Aufrufen, a);
        fill(TergebnisMode::Aufrufen, b);
        dialog().okClick();
        QCOMPARE(row(b).state(), MatchStage::Called);
        QCOMPARE(row(b).geplanterTag, kClassDay);
        QVERIFY(column(m_db, m_kid, b, "geplante_zeit").isNull());
        QCOMPARE(row(b).anPlatte, QStringLiteral("T1"));
    }

    void actions()
    {
        const int n = m_group0[0];
        // Planning: the table must be one of the list.
        fill(TergebnisMode::Planen, n);
        dialog().show();
        QVERIFY(!m_workArea);
        dialog().plattencombo->setEditText(QStringLiteral("T9"));
        m_prompter->expect(PromptKind::Warning, kKeinePlatte, PromptAnswer::Cancel);
        dialog().okClick();
        QVERIFY(dialog().isVisible() && dialog().ok->isEnabled());
        QVERIFY(column(m_db, m_kid, n, "geplanter_tisch").isNull());
        dialog().plattencombo->setCurrentIndex(1);
        QCOMPARE(dialog().geplanter_tisch->text(), QStringLiteral("T2"));
        dialog().schiricombo->setEditText(QStringLiteral("Neu, Nina")); // a typed umpire is stored as typed
        dialog().startzeit->setText(QStringLiteral("9:05"));
        dialog().okClick();
        QVERIFY(!dialog().isVisible());
        QVERIFY(m_workArea);
        QCOMPARE(row(n).geplanterTisch, QStringLiteral("T2"));
        QCOMPARE(row(n).schiri, QStringLiteral("Neu, Nina"));
        QCOMPARE(row(n).geplanteZeit, QTime(9, 5));
        QCOMPARE(row(n).state(), MatchStage::Open);
        QVERIFY(m_plan.calls.isEmpty());

        // The call-up: stored, resources out, icons to 3, demotion.
        fill(TergebnisMode::Aufrufen, n, {"T1"}, {"Abel, Eva"});
        dialog().schiricombo->setCurrentIndex(0);
        dialog().okClick();
        MatchDialogRow r = row(n);
        QCOMPARE(r.state(), MatchStage::Called);
        QCOMPARE(r.anPlatte, QStringLiteral("T1"));
        QCOMPARE(r.schiri, QStringLiteral("Abel, Eva"));
        QVERIFY(!r.manuell);
        QCOMPARE(readDateTime(column(m_db, m_kid, n, "aufruf1_sch")), m_clock.now());
        QCOMPARE(m_plan.calls, QStringList{QStringLiteral("called %1: 0 %2 %3 T1 Abel, Eva").arg(n).arg(r.sid1).arg(r.sid2)});

        // The start of the called match: icons to 4, nothing from the pools.
        m_plan.calls.clear();
        fill(TergebnisMode::Aufgerufen, n);
        dialog().okClick();
        QCOMPARE(row(n).state(), MatchStage::Running);
        QCOMPARE(readDateTime(column(m_db, m_kid, n, "spielstart")), m_clock.now());
        QCOMPARE(row(n).geplanterTisch, QStringLiteral("T1"));
        QCOMPARE(m_plan.calls, QStringList{QStringLiteral("started %1").arg(n)});

        // A manual call takes a typed table and marks the match started by hand.
        int byHand = 0; // a match without an entrant of the running one
        for (int other : m_group0) {
            const MatchDialogRow o = row(other);
            if (o.sid1 != r.sid1 && o.sid1 != r.sid2 && o.sid2 != r.sid1 && o.sid2 != r.sid2)
                byHand = other;
        }
        QVERIFY(byHand);
        fill(TergebnisMode::Aufrufen, byHand, {}, {}, true);
        dialog().plattencombo->setEditText(QStringLiteral("Nebenhalle 1"));
        dialog().okClick();
        QCOMPARE(row(byHand).state(), MatchStage::Called);
        QCOMPARE(row(byHand).anPlatte, QStringLiteral("Nebenhalle 1"));
        QVERIFY(row(byHand).manuell);
    }

    // The checks: each refused with its message, nothing stored.
    void checks_data()
    {
        QTest::addColumn<QString>("check");
        QTest::newRow("table not listed") << "table";
        QTest::newRow("plus alone") << "+";
        QTest::newRow("minus alone") << "-";
        QTest::newRow("time 25:61") << "time";
        QTest::newRow("result not listed") << "result";
    }
    void checks()
    {
        QFETCH(QString, check);
        const int n = m_group0[0];
        const QStringList before = dumpTables(m_db, {s("Spielplan")});
        if (check == QLatin1String("table")) {
            fill(TergebnisMode::Aufrufen, n, {"T1"}, {});
            dialog().plattencombo->setEditText(QStringLiteral("T2"));
            m_prompter->expect(PromptKind::Warning, kKeinePlatte, PromptAnswer::Cancel);
            dialog().okClick();
        } else if (check == QLatin1String("time")) {
            fill(TergebnisMode::Planen, n);
            dialog().startzeit->setText(QStringLiteral("25:61"));
            m_prompter->expect(PromptKind::Warning, kKeineUhrzeit, PromptAnswer::Cancel);
            dialog().startzeitExit();
            QCOMPARE(dialog().startzeit->text(), QString());
        } else if (check == QLatin1String("result")) {
            setState(n, "begonnen=1");
            fill(TergebnisMode::Starten, n);
            dialog().ergebniscombo->setCurrentIndex(dialog().ergebniscombo->findText(QStringLiteral("3:1")));
            dialog().satz[0]->setText(QStringLiteral("+5"));
            dialog().ergebniscombo->setEditText(QStringLiteral("4:0"));
            QCOMPARE(dialog().satz[0]->text(), QStringLiteral("+5")); // the entries stay as they were
            QVERIFY(dialog().satz[3]->isEnabled());
            m_prompter->expect(PromptKind::Warning, kKeinSatzergebnis, PromptAnswer::Cancel);
            dialog().okClick();
            QCOMPARE(dialog().satz[0]->text(), QStringLiteral("+5"));
        } else {
            setState(n, "begonnen=1");
            fill(TergebnisMode::Starten, n);
            dialog().ergebniscombo->setCurrentIndex(dialog().ergebniscombo->findText(QStringLiteral("3:0")));
            dialog().satz[1]->setText(check);
            m_prompter->expect(PromptKind::Warning, kKeinSatzwert, PromptAnswer::Cancel);
            dialog().satz1Exit(dialog().satz[1]);
            QCOMPARE(dialog().satz[1]->text(), QString());
        }
        QVERIFY(dialog().ok->isEnabled());
        if (check != QLatin1String("result") && check.size() > 1)
            QCOMPARE(dumpTables(m_db, {s("Spielplan")}), before);
    }

    void resultChoiceEnablesItsSets()
    {
        const int n = m_group0[0];
        setState(n, "begonnen=1");
        fill(TergebnisMode::Starten, n);
        for (QLineEdit* entry : dialog().satz)
            QVERIFY(!entry->isEnabled());
        dialog().satz[4]->setText(QStringLiteral("+1"));
        dialog().ergebniscombo->setCurrentIndex(dialog().ergebniscombo->findText(QStringLiteral("3:1")));
        const QColor colour = uiCoreUtils::ColorFromValue(kSatzFarbe);
        for (int k = 0; k < 5; ++k) {
            QLineEdit* entry = dialog().satz[size_t(k)];
            QCOMPARE(entry->isEnabled(), k < 4);
            QCOMPARE(entry->hasFrame(), k < 4);
            QCOMPARE(entry->palette().color(QPalette::Base), k < 4 ? colour : QColor(Qt::white));
            QCOMPARE(entry->text(), QString());
        }
    }

    void menu()
    {
        const int n = m_group0[0];
        fill(TergebnisMode::Aufrufen, n, {"T1", "T2"}, {"Abel, Eva"});
        dialog().MyPopupMenuPopup();
        QCOMPARE(dialog().Spielstarten1->text(), QStringLiteral("Aufrufen + drucken"));
        QVERIFY(dialog().Spielstartendrucken1->isVisible() && dialog().SaveChanges1->isVisible());
        fill(TergebnisMode::Aufgerufen, n);
        dialog().MyPopupMenuPopup();
        QCOMPARE(dialog().Spielstarten1->text(), QStringLiteral("Spiel starten + drucken"));
        QVERIFY(!dialog().Spielstartendrucken1->isVisible() && !dialog().SaveChanges1->isVisible());

        // "Nur Änderung speichern" stores the plan only.
        fill(TergebnisMode::Aufrufen, n, {"T1", "T2"}, {});
        dialog().plattencombo->setCurrentIndex(1);
        dialog().SaveChanges1->trigger();
        QCOMPARE(row(n).geplanterTisch, QStringLiteral("T2"));
        QCOMPARE(row(n).state(), MatchStage::Open);
        QVERIFY(column(m_db, m_kid, n, "aufruf1_sp1").isNull());

        // "Spiel starten + drucken" prints, then starts the playable match with
        // its table and umpire taken, no call times.
        QList<int> printed;
        TergebnisLinks links;
        links.clock = &m_clock;
        links.database = [this] { return m_db; };
        links.plan = &m_plan;
        links.schiedsrichterzettel = [&](int, int number) { printed << number; };
        dialog().setLinks(links);
        fill(TergebnisMode::Aufrufen, n, {"T1", "T2"}, {"Abel, Eva"});
        dialog().schiricombo->setCurrentIndex(0);
        dialog().Spielstartendrucken1->trigger();
        QCOMPARE(printed, QList<int>{n});
        const MatchDialogRow r = row(n);
        QCOMPARE(r.state(), MatchStage::Running);
        QCOMPARE(r.anPlatte, QStringLiteral("T2"));
        QCOMPARE(r.schiri, QStringLiteral("Abel, Eva"));
        QVERIFY(column(m_db, m_kid, n, "aufruf1_sp1").isNull());
        QCOMPARE(m_plan.calls, QStringList{QStringLiteral("started %1: 0 %2 %3 T2 Abel, Eva").arg(n).arg(r.sid1).arg(r.sid2)});

        // "Spiel zurücksetzen" closes and hands the match over with the state
        // the dialog was filled from.
        int takenBack = 0;
        MatchStage shown = MatchStage::Open;
        links.spielZuruecksetzen = [&](int, int number, MatchStage stage) {
            takenBack = number;
            shown = stage;
        };
        dialog().setLinks(links);
        fill(TergebnisMode::Starten, n);
        dialog().show();
        dialog().Spielbeenden1->trigger();
        QVERIFY(!dialog().isVisible());
        QCOMPARE(takenBack, n);
        QCOMPARE(shown, MatchStage::Running);
    }

    // Another desk called the match meanwhile: nothing stored, the message, the
    // dialog closed and the plan's states rebuilt.
    void otherDeskFirst()
    {
        const int n = m_group0[0];
        fill(TergebnisMode::Aufrufen, n, {"T1"}, {});
        dialog().show();
        setState(n, "in_planung=1,an_platte='T2'");
        const QStringList before = dumpTables(m_db, {s("Spielplan")});
        m_prompter->expect(PromptKind::Warning, kMatchChanged);
        dialog().okClick();
        QCOMPARE(dumpTables(m_db, {s("Spielplan")}), before);
        QVERIFY(!dialog().isVisible());
        QCOMPARE(m_plan.calls, QStringList{QStringLiteral("rebuild")});

        // Any other failure keeps the dialog open with what was typed.
        m_plan.calls.clear();
        setState(n, "in_planung=0");
        fill(TergebnisMode::Aufrufen, n, {"T1"}, {});
        dialog().show();
        dialog().schiricombo->setEditText(QStringLiteral("Abel, Eva"));
        FaultInjection::failStatement(m_db, 2);
        m_prompter->expectPrefix(PromptKind::Error, QString());
        dialog().okClick();
        FaultInjection::clear(m_db);
        QVERIFY(dialog().isVisible() && dialog().ok->isEnabled());
        QCOMPARE(dialog().schiricombo->currentText(), QStringLiteral("Abel, Eva"));
        QVERIFY(m_plan.calls.isEmpty());
        dialog().cancelClick();
        QCOMPARE(row(n).state(), MatchStage::Open);

        // The umpire chosen went to another match meanwhile: the dialog stays
        // with what was chosen, and another umpire is called up with it.
        int other = 0;
        for (const int m : m_group0) {
            const MatchDialogRow a = row(n), b = row(m);
            if (a.sid1 != b.sid1 && a.sid1 != b.sid2 && a.sid2 != b.sid1 && a.sid2 != b.sid2)
                other = m;
        }
        QVERIFY(other);
        fill(TergebnisMode::Aufrufen, n, {"T1", "T2"}, {"Abel, Eva", "Huber, Hans"});
        dialog().show();
        dialog().plattencombo->setCurrentIndex(1);
        dialog().schiricombo->setCurrentIndex(0);
        setState(other, "in_planung=1,an_platte='T9',schiri='Abel, Eva'");
        m_prompter->expect(PromptKind::Warning,
                           QStringLiteral("Der Schiedsrichter Abel, Eva ist inzwischen in Spiel %1 eingesetzt.").arg(other));
        QVERIFY(!dialog().okClick());
        QVERIFY(dialog().isVisible() && dialog().ok->isEnabled());
        QCOMPARE(dialog().plattencombo->currentText(), QStringLiteral("T2"));
        QCOMPARE(dialog().schiricombo->currentText(), QStringLiteral("Abel, Eva"));
        QCOMPARE(row(n).state(), MatchStage::Open);
        QVERIFY(m_plan.calls.isEmpty());
        dialog().schiricombo->setCurrentIndex(1);
        QVERIFY(dialog().okClick());
        QVERIFY(!dialog().isVisible());
        QCOMPARE(row(n).anPlatte, QStringLiteral("T2"));
        QCOMPARE(row(n).schiri, QStringLiteral("Huber, Hans"));
    }

    // Every activation of either result dialog ticks the follow-up boxes of
    // both, whichever of the four was unticked before: the offer of next
    // matches calls up only while all four are ticked.
    void nextBoxesOfBothDialogs_data()
    {
        QTest::addColumn<bool>("teamActivates");
        QTest::addColumn<int>("unticked"); // next, next1 of this dialog, then of the team dialog
        for (const bool team : {false, true})
            for (int box = 0; box < 4; ++box)
                QTest::addRow("%s dialog shown, box %d unticked", team ? "team" : "singles", box) << team << box;
    }
    void nextBoxesOfBothDialogs()
    {
        QFETCH(bool, teamActivates);
        QFETCH(int, unticked);
        Tergebnis_team team(nullptr, *m_prompter);
        TergebnisTeamLinks teamLinks;
        teamLinks.naechstesSpielAnzeigen = [] { return true; };
        teamLinks.twin = {dialog().next, dialog().next1};
        team.setLinks(teamLinks);
        TergebnisLinks singles = links();
        singles.twin = {team.next, team.next1};
        dialog().setLinks(singles);
        const QList<TuiCheckbox*> boxes{dialog().next, dialog().next1, team.next, team.next1};
        for (TuiCheckbox* box : boxes)
            box->SetChecked(box != boxes[unticked]);
        fill(TergebnisMode::Starten, m_group0[0]);
        QDialog& shown = teamActivates ? static_cast<QDialog&>(team) : dialog();
        shown.show();
        for (TuiCheckbox* box : boxes)
            QVERIFY2(box->Checked(), qPrintable(box->parentWidget()->window()->objectName() + u' ' + box->objectName()));
        shown.reject();
    }

    // Stray typing never changes the planned start: typing goes where the
    // page's next step is (the result on the result page, the confirm button
    // of a called match, the table when planning), the planned start is only
    // shown where the action stores no plan, and the wheel turns the day only
    // while it has the focus.
    void strayInputLeavesThePlannedStart_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<bool>("startEditable");
        QTest::newRow("planning") << int(TergebnisMode::Planen) << "plattencombo" << true;
        QTest::newRow("call-up") << int(TergebnisMode::Aufrufen) << "plattencombo" << true;
        QTest::newRow("called") << int(TergebnisMode::Aufgerufen) << "ok" << true;
        QTest::newRow("running") << int(TergebnisMode::Starten) << "ergebniscombo" << false;
        QTest::newRow("finished") << int(TergebnisMode::Beendet) << "ergebniscombo" << false;
    }
    void strayInputLeavesThePlannedStart()
    {
        QFETCH(int, mode);
        QFETCH(QString, focused);
        QFETCH(bool, startEditable);
        fill(TergebnisMode(mode), m_group0[0]);
        dialog().show();
        QVERIFY(dialog().focusWidget());
        QCOMPARE(dialog().focusWidget()->objectName(), focused);
        QCOMPARE(dialog().starttag->isEnabled(), startEditable);
        QCOMPARE(dialog().startzeit->isEnabled(), startEditable);
        QCOMPARE(dialog().JetztButton->isEnabled(), startEditable);
        QTest::keyClicks(dialog().focusWidget(), QStringLiteral("12"));
        QWheelEvent wheel(QPointF(5, 5), dialog().starttag->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(dialog().starttag, &wheel);
        QCOMPARE(dialog().starttag->date(), kClassDay);
        dialog().cancelClick();
    }

    void activateAndClose()
    {
        fill(TergebnisMode::Planen, m_group0[0]);
        dialog().next1->SetChecked(false);
        dialog().show();
        QVERIFY(dialog().next->Checked() && dialog().next1->Checked());
        QVERIFY(!dialog().next1->isVisible());
        QVERIFY(!m_workArea);
        dialog().cancelClick();
        QVERIFY(m_workArea);
        fill(TergebnisMode::Aufrufen, m_group0[0]);
        dialog().show();
        QVERIFY(dialog().next1->isVisible());
        dialog().JetztButtonClick();
        QCOMPARE(dialog().starttag->date(), m_clock.now().date());
        QCOMPARE(dialog().startzeit->text(), QStringLiteral("11:12"));
        dialog().cancelClick();
    }

    void setEntry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typeable");
        QTest::addColumn<bool>("number");
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("plus alone") << "+" << true << false;
        QTest::newRow("minus alone") << "-" << true << false;
        QTest::newRow("+9") << "+9" << true << true;
        QTest::newRow("-0") << "-0" << true << true;
        QTest::newRow("11") << "11" << true << true;
        QTest::newRow("-11") << "-11" << true << true;
        QTest::newRow("three digits") << "111" << false << false;
        QTest::newRow("sign after digit") << "1-" << false << false;
        QTest::newRow("two signs") << "+-1" << false << false;
        QTest::newRow("letter") << "a" << false << false;
    }
    void setEntry()
    {
        QFETCH(QString, text);
        QFETCH(bool, typeable);
        QFETCH(bool, number);
        SetEntryValidator validator;
        QString input = text;
        int pos = 0;
        QCOMPARE(validator.validate(input, pos) == QValidator::Acceptable, typeable);
        QCOMPARE(isSetEntryNumber(text), number);
        // Typed into a set entry, what the validator refuses never arrives.
        QLineEdit* entry = dialog().satz[0];
        entry->setEnabled(true);
        entry->clear();
        QTest::keyClicks(entry, QStringLiteral("+123"));
        QCOMPARE(entry->text(), QStringLiteral("+12"));
    }

private:
    static QStringList setResultItemsForTest() { return {"3:2", "3:1", "3:0", "0:3", "1:3", "2:3"}; }
};

QTEST_MAIN(TestTergebnis)
#include "test_tergebnis.moc"
