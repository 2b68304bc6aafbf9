// The plan panel on classes drawn for real (SQLite): opening a class by its bar
// caption, tabs and zoom panel per phase system and page, the group layout
// redrawing the pages, the start button, the refusals and the question of
// "Phase neu auslosen", the print dispatch, a rebuild from an icon's own click,
// controls looked up per page.
#include "planfixture.h"
#include "planlinks.h"

#include "data/sql.h"
#include "platform/apppaths.h"
#include "plans/placementpage.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "plans/tspielplan_form.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "results/tergebnis.h"
#include "results/tergebnis_team.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

namespace {

struct PrintCall {
    QString operation;
    int size, flag, phase;
    bool operator==(const PrintCall&) const = default;
};

class RecordingPrinter : public PlanPrinter {
public:
    QList<PrintCall> calls;
    void gruppenplan(int size, int flag, int phase) override { calls.append({"gruppenplan", size, flag, phase}); }
    void koplan(int size, int flag, int phase) override { calls.append({"koplan", size, flag, phase}); }
    void doppelterkoplan(int size, int flag, int phase) override
    {
        calls.append({"doppelterkoplan", size, flag, phase});
    }
};

struct PanelFixture {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    RecordingPrinter printer;
    PlanPanel panel{nullptr};
    Tspielplaene spielplaene{nullptr};
    Tergebnis ergebnis{nullptr, prompter};
    Tergebnis_team ergebnis_team{nullptr, prompter};
    Tspielplan_form spielplan_form{nullptr, {}};
    QTimer Timer1;
    QList<int> redraws;
    QList<int> matchLists;
    QList<bool> busy;
    std::function<void()> onMatchList;

    PanelFixture()
    {
        PlanLinks links = planLinks(prompter, [this] { return tdb.db(); }, &Timer1);
        links.redrawPhase = [this](int phase) { redraws.append(phase); };
        links.spielplan_form = &spielplan_form;
        links.showMatchList = [this] {
            matchLists.append(spielplan_form.StaticText1->property("Tag").toInt());
            if (onMatchList)
                onMatchList();
        };
        links.printer = &printer;
        links.ergebnis = &ergebnis;
        links.ergebnis_team = &ergebnis_team;
        links.busy = [this](bool shown) { busy.append(shown); };
        spielplaene.attach(&panel, links);
        panel.resize(1000, 700);
    }

    QSqlDatabase db() { return tdb.db(); }
    PlanCanvas* canvas(int page) { return qobject_cast<PlanCanvas*>(panel.page(page)->widget()); }
    void showPage(int index)
    {
        panel.sp_contol->setCurrentIndex(index);
        spielplaene.sp_contolChange();
    }
};

// Runs a probe whenever the watched object receives an event of one type.
class EventProbe : public QObject {
public:
    EventProbe(QObject* watched, QEvent::Type type, std::function<void()> probe)
        : m_type(type), m_probe(std::move(probe))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            m_probe();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_probe;
};

} // namespace

class TestPlanPanel : public QObject {
    Q_OBJECT
private slots:
    void opensByCaptionAndShowsPhases()
    {
        PanelFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("U18 (m)"), {groupPhase(2, 4, 2), knockOut()}, 8);
        QVERIFY(f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (m) (Einzel)")));
        QCOMPARE(f.spielplaene.session().kid, kid);
        QCOMPARE(f.panel.spielplantext->text(), QStringLiteral("Spielplan für U18 (m) (Einzel)"));
        QCOMPARE(f.spielplan_form.StaticText1->text(), QStringLiteral("Spielplan für U18 (m) (Einzel)"));
        QVERIFY(f.panel.sp_contol->isTabVisible(0));
        QVERIFY(f.panel.sp_contol->isTabVisible(1));
        QVERIFY(!f.panel.sp_contol->isTabVisible(2));
        QVERIFY(f.panel.zoompanel->isHidden());
        f.showPage(1); // the knock-out phase
        QVERIFY(!f.panel.zoompanel->isHidden());
        f.showPage(3); // the placement page keeps it
        QVERIFY(!f.panel.zoompanel->isHidden());
        f.showPage(0);
        QVERIFY(f.panel.zoompanel->isHidden());

        // "Liste" at start: a status icon per match, none mirrored; "Matrix" redraws.
        PlanCanvas* list = f.canvas(0);
        QVERIFY(list);
        QCOMPARE(list->objectName(), QStringLiteral("sp1"));
        QVERIFY(list->findChild<QWidget*>(QStringLiteral("status1")));
        QVERIFY(!list->findChild<QWidget*>(QStringLiteral("statusx1")));
        f.panel.GruppeDarBox->setCurrentIndex(0);
        f.spielplaene.GruppeDarBoxChange();
        PlanCanvas* matrix = f.canvas(0);
        QVERIFY(matrix && matrix != list);
        QVERIFY(matrix->findChild<QWidget*>(QStringLiteral("statusx1")));
        QVERIFY(f.spielplaene.session().pools.contains(QStringLiteral("sliste1")));
        QCOMPARE(f.spielplaene.session().gruppenversatz.size(), 3);

        // A caption of no kind leaves the class as it was.
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Fremd"));
        QCOMPARE(f.spielplaene.session().kid, kid);
        QVERIFY(f.prompter.verify());
    }

    void noSettingsRowDrawsNothing()
    {
        PanelFixture f;
        ClassRecord record;
        record.kbezeichnung = QStringLiteral("Leer");
        insertClass(f.db(), kPlanTid, record, {}, {});
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Leer (Einzel)"));
        QVERIFY(!f.panel.sp_contol->isTabVisible(1));
        QVERIFY(!f.panel.sp_contol->isTabVisible(2));
        // No phase page; the placement page only offers its count.
        for (int i = 0; i < 3; ++i)
            QVERIFY(!f.panel.page(i)->widget());
        QVERIFY(f.spielplaene.placement()->countBox());
        QCOMPARE(f.spielplaene.placement()->countBox()->currentText(), QString());
    }

    void startButton()
    {
        PanelFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("Damen"), {groupPhase(1, 4)}, 4);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Damen (Einzel)"));
        QVERIFY(f.panel.turniergo->isEnabled());
        QVERIFY(!f.Timer1.isActive());
        f.panel.turniergo->Click();
        QVERIFY(!f.panel.turniergo->isEnabled());
        QCOMPARE(f.panel.sp_info->item(f.panel.sp_info->count() - 1)->text(), QStringLiteral(" - Turnier gestartet"));
        QVERIFY(f.Timer1.isActive());

        for (const char* column : {"in_planung", "begonnen", "beendet"}) {
            execute(f.db(), s("UPDATE Spielplan SET in_planung=0, begonnen=0, beendet=0 WHERE KID=:k"), {{s("k"), kid}});
            f.spielplaene.planshow(kid);
            QVERIFY(f.panel.turniergo->isEnabled());
            execute(f.db(), QStringLiteral("UPDATE Spielplan SET %1=1 WHERE KID=:k AND spielnummer=2").arg(QLatin1String(column)),
                    {{s("k"), kid}});
            f.spielplaene.planshow(kid);
            QVERIFY2(!f.panel.turniergo->isEnabled(), column);
        }
    }

    // The class start ticks "anzeigen" and "aufrufen" on both result dialogs;
    // "aufrufen" is shown while the match-state step runs, hidden afterwards.
    void startTicksNextOnBothDialogs()
    {
        PanelFixture f;
        drawnClass(f.db(), QStringLiteral("Jugend"), {groupPhase(1, 4)}, 4);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Jugend (Einzel)"));
        QList<TuiCheckbox*> boxes{f.ergebnis.next, f.ergebnis.next1, f.ergebnis_team.next, f.ergebnis_team.next1};
        for (TuiCheckbox* box : boxes)
            box->SetChecked(false);
        f.ergebnis.next1->hide();
        f.ergebnis_team.next1->hide();
        QList<bool> next1ShownWhileStarting;
        EventProbe probe(f.panel.turniergo, QEvent::EnabledChange, [&] {
            next1ShownWhileStarting << !f.ergebnis.next1->isHidden() << !f.ergebnis_team.next1->isHidden();
        });
        f.panel.turniergo->Click();
        QCOMPARE(next1ShownWhileStarting, (QList<bool>{true, true}));
        for (TuiCheckbox* box : boxes)
            QVERIFY(box->Checked());
        QVERIFY(f.ergebnis.next1->isHidden());
        QVERIFY(f.ergebnis_team.next1->isHidden());
    }

    // Loading a class sets up the result dialog of its kind.
    void resultDialogsSetUp()
    {
        PanelFixture f;
        ClassRecord threeSets;
        threeSets.saetze = 3;
        drawnClass(f.db(), QStringLiteral("Drei"), {groupPhase(1, 4)}, 4, ClassKind::Einzel, threeSets);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Drei (Einzel)"));
        for (int n = 0; n < 9; ++n)
            QCOMPARE(f.ergebnis.satz[size_t(n)]->isHidden(), n >= 5);
        QCOMPARE(f.ergebnis.satz[4]->objectName(), QStringLiteral("satz5"));
        QStringList items;
        for (int i = 0; i < f.ergebnis.ergebniscombo->count(); ++i)
            items << f.ergebnis.ergebniscombo->itemText(i);
        QCOMPARE(items, (QStringList{"3:2", "3:1", "3:0", "0:3", "1:3", "2:3"}));
        QCOMPARE(f.ergebnis.resultSetup().setEntries, 5);

        TeamFormat format;
        format.spieler = 3;
        format.a = {1, 11, 2};
        format.b = {2, 12, 1};
        ClassRecord teamRecord;
        teamRecord.system = ClassKind::Team;
        teamRecord.kbezeichnung = QStringLiteral("Teams");
        teamRecord.saetze = 2;
        insertClass(f.db(), kPlanTid, teamRecord, {}, format);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Teams (Team)"));
        const ResultDialogSetup& team = f.ergebnis_team.resultSetup();
        QCOMPARE(team.teamGames, 3);
        QCOMPARE(team.gameCaptions.value(1), QStringLiteral("Spiel 2: D1 - D2"));
        QCOMPARE(team.ergebnisItems, (QStringList{"2:1", "2:0", "0:2", "1:2"}));
        QCOMPARE(f.ergebnis_team.ergebniscombo->count(), 8);
        QCOMPARE(f.ergebnis_team.ergebniscombo->itemText(2), QStringLiteral("2:1"));
        // The single match's dialog keeps the set-up of the class before.
        QCOMPARE(f.ergebnis.resultSetup().setEntries, 5);
    }

    void redraw_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("phase1Finished");
        QTest::addColumn<bool>("played");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<QList<int>>("redraws");
        QTest::newRow("phase 1, nothing played") << 0 << false << false << QString() << PromptAnswer::Ok << QList<int>{1};
        QTest::newRow("phase 1 played, Nein") << 0 << false << true << QString() << PromptAnswer::No << QList<int>{};
        QTest::newRow("phase 1 played, Ja") << 0 << false << true << QString() << PromptAnswer::Yes << QList<int>{1};
        QTest::newRow("phase 2, phase 1 open") << 1 << false << false << kPhase1Open << PromptAnswer::Ok << QList<int>{};
        QTest::newRow("phase 2, phase 1 done") << 1 << true << false << QString() << PromptAnswer::Ok << QList<int>{2};
        QTest::newRow("phase 3, phase 2 open") << 2 << true << false << kPhase2Open << PromptAnswer::Ok << QList<int>{};
        QTest::newRow("placement page") << 3 << false << false << QString() << PromptAnswer::Ok << QList<int>{};
    }
    void redraw()
    {
        QFETCH(int, page);
        QFETCH(bool, phase1Finished);
        QFETCH(bool, played);
        QFETCH(QString, warning);
        QFETCH(PromptAnswer, answer);
        QFETCH(QList<int>, redraws);
        PanelFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("Herren"), {groupPhase(4, 4, 2), groupPhase(2, 4, 1), knockOut()}, 16);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Herren (Einzel)"));
        if (phase1Finished) {
            execute(f.db(), s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND phase=1"), {{s("k"), kid}});
            // Phase 2 gets a match between two known entrants that is still open.
            execute(f.db(),
                    s("UPDATE Spielplan SET SID1=100, spieler1='A', SID2=101, spieler2='B' WHERE KID=:k AND phase=2 "
                      "AND spielnummer=(SELECT MIN(spielnummer) FROM Spielplan WHERE KID=:k AND phase=2)"),
                    {{s("k"), kid}});
        } else if (played) {
            execute(f.db(), s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=1"), {{s("k"), kid}});
        }
        if (!warning.isEmpty())
            f.prompter.expect(PromptKind::Warning, warning);
        if (played)
            f.prompter.expect(PromptKind::Question, kRedrawLosesResults, answer);
        f.panel.sp_contol->setCurrentIndex(page);
        f.spielplaene.neulosen();
        QCOMPARE(f.redraws, redraws);
        QVERIFY(f.prompter.verify());
    }

    void printDispatch_data()
    {
        QTest::addColumn<QList<PhaseSettings>>("phases");
        QTest::addColumn<int>("page");
        QTest::addColumn<QList<PrintCall>>("calls");
        const QList<PhaseSettings> groupsKo{groupPhase(2, 4, 2), knockOut()};
        const QList<PhaseSettings> doubleKo{knockOut(PlaySystem::DoppeltesKO)};
        const QList<PhaseSettings> groupsDouble{groupPhase(2, 4, 2), knockOut(PlaySystem::DoppeltesKO)};
        QTest::newRow("groups, phase 1") << groupsKo << 0 << QList<PrintCall>{{"gruppenplan", 1, 1, 1}};
        QTest::newRow("knock-out, phase 2") << groupsKo << 1 << QList<PrintCall>{{"koplan", 1, 1, 2}};
        QTest::newRow("double knock-out, phase 1") << doubleKo << 0 << QList<PrintCall>{{"doppelterkoplan", 2, 1, 1}};
        QTest::newRow("double knock-out, phase 2") << groupsDouble << 1 << QList<PrintCall>{};
        QTest::newRow("placement page") << groupsKo << 3 << QList<PrintCall>{};
    }
    void printDispatch()
    {
        QFETCH(QList<PhaseSettings>, phases);
        QFETCH(int, page);
        QFETCH(QList<PrintCall>, calls);
        PanelFixture f;
        drawnClass(f.db(), QStringLiteral("Druck"), phases, 8);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Druck (Einzel)"));
        f.panel.sp_contol->setCurrentIndex(page);
        f.spielplaene.plandrucken();
        QCOMPARE(f.printer.calls, calls);
    }

    void rebuildFromAnIconsOwnClick()
    {
        PanelFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("Mix"), {groupPhase(2, 3, 1)}, 6);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Mix (Einzel)"));
        f.onMatchList = [&] { f.spielplaene.planshow(kid); };
        PlanCanvas* before = f.canvas(0);
        PlanIcon* groupIcon = nullptr;
        for (PlanIcon* icon : before->findChildren<PlanIcon*>())
            if (icon->toolTip() == QStringLiteral("Gruppenspielplan anzeigen") && icon->Tag == 1)
                groupIcon = icon;
        QVERIFY(groupIcon);
        QTest::mouseClick(groupIcon, Qt::LeftButton);
        QCOMPARE(f.matchLists, QList<int>{1});
        QVERIFY(f.canvas(0) && f.canvas(0) != before);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.canvas(0)->findChild<QWidget*>(QStringLiteral("status1")));
    }

    void statusIconsArePerPage()
    {
        // Phase 1 and 2 each have their own "status" icons; each page finds its own.
        PanelFixture f;
        drawnClass(f.db(), QStringLiteral("Zwei"), {groupPhase(2, 4, 2), groupPhase(1, 4)}, 8);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Zwei (Einzel)"));
        QVERIFY(f.canvas(0)->findChild<QWidget*>(QStringLiteral("status1")));
        QVERIFY(!f.canvas(1)->findChild<QWidget*>(QStringLiteral("status1")));
        QVERIFY(f.canvas(1)->findChild<QWidget*>(QStringLiteral("status13")));
        QVERIFY(!f.canvas(0)->findChild<QWidget*>(QStringLiteral("status13")));
    }

    // The busy animation runs once around a whole rebuild, and stops when the drawing fails.
    void busyWhileDrawing()
    {
        PanelFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("Zwei"), {groupPhase(2, 4, 2), groupPhase(1, 4)}, 8);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Zwei (Einzel)"));
        QCOMPARE(f.busy, (QList<bool>{true, false}));
        f.busy.clear();
        f.spielplaene.gruppenplanerstellen(kid, 2);
        QCOMPARE(f.busy, (QList<bool>{true, false}));
        f.busy.clear();
        execute(f.db(), s("DROP TABLE Tabellen"));
        QVERIFY_THROWS_EXCEPTION(std::exception, f.spielplaene.planshow(kid));
        QCOMPARE(f.busy, (QList<bool>{true, false}));
    }

    void missingPictureStopsTheDrawing()
    {
        PanelFixture f;
        drawnClass(f.db(), QStringLiteral("Bild"), {groupPhase(1, 3)}, 3);
        PlanLinks links;
        links.prompter = &f.prompter;
        links.database = [&f] { return f.tdb.db(); };
        links.programFile = [](const QString& relative) { return QStringLiteral("/nonexistent/") + relative; };
        Tspielplaene other(nullptr);
        PlanPanel panel(nullptr);
        other.attach(&panel, links);
        QVERIFY_THROWS_EXCEPTION(AppError, other.openClass(kPlanTid, QStringLiteral("Bild (Einzel)")));
        QVERIFY(!panel.page(0)->widget());
    }
};

QTEST_MAIN(TestPlanPanel)
#include "test_planpanel.moc"
