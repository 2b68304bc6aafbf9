// The plan panel inside the whole program: a class opened from "Spielpläne"
// shows its group plans behind the busy animation, sets up the result dialog,
// redraws on a layout change, and its start runs the main window's reminder
// timer, which leaving for the tournament pages stops.
#include "appfixture.h"

#include "app/busyanimation.h"
#include "app/navigationbar.h"
#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/connection.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "plans/planfixture.h"
#include "plans/plancanvas.h"
#include "plans/matchdialogs.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "plans/tspielplan_form.h"
#include "results/tergebnis.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

class TestAppPlans : public QObject {
    Q_OBJECT
private slots:
    void openAndStartAClass()
    {
        AppFixture app;
        const QString path = app.folder.file(QStringLiteral("turnier_db.sqlite"));
        prepareSqliteFile(path);
        {
            ScopedConnection c(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
            TournamentData data;
            data[TournamentField::turniername] = QStringLiteral("Pokal");
            const int tid = insertTournament(c.db(), data, {true, true, true, true});
            ClassRecord threeSets;
            threeSets.saetze = 3;
            drawnClass(c.db(), QStringLiteral("U18 (m)"), {groupPhase(4, 4, 2), knockOut()}, 16, ClassKind::Einzel,
                       threeSets, tid);
        }
        app.start();
        TMainform& main = app.main();
        QCOMPARE(main.inprogressTag, 1);
        main.show();
        main.TurnierbuttonItemClick(TMainform::TurnierLaden);
        Tturnierladen* open = app.program->forms.turnierladen;
        open->ListBox1->setCurrentRow(0);
        emit open->ListBox1->itemDoubleClicked(open->ListBox1->item(0));
        QCOMPARE(main.spielplanbutton->itemCaption(0), QStringLiteral("U18 (m) (Einzel)"));

        main.spielplanbuttonItemClick(0);
        QCOMPARE(main.frontPanel(), main.spielplanform);
        auto* panel = main.spielplanform->findChild<PlanPanel*>();
        QVERIFY(panel);
        QCOMPARE(panel->spielplantext->text(), QStringLiteral("Spielplan für U18 (m) (Einzel)"));
        QVERIFY(app.context().aktuelleKID > 0);
        auto* list = qobject_cast<PlanCanvas*>(panel->sp_scrollbox1->widget());
        QVERIFY(list);
        QCOMPARE(list->objectName(), QStringLiteral("sp1"));
        QVERIFY(list->findChild<QWidget*>(QStringLiteral("status1")));
        QVERIFY(panel->sp_contol->isTabVisible(1));
        QVERIFY(!panel->sp_contol->isTabVisible(2));
        // The busy animation was put on the plan panel and is hidden again; the cursor is back.
        QCOMPARE(main.inprogress->parentWidget(), static_cast<QWidget*>(main.spielplanform));
        QVERIFY(main.inprogress->isHidden());
        QVERIFY(!QApplication::overrideCursor());
        // The result dialog shows five set entries and the results of three won sets.
        Tergebnis* ergebnis = app.program->forms.ergebnis;
        QVERIFY(!ergebnis->satz[4]->isHidden());
        QVERIFY(ergebnis->satz[5]->isHidden());
        QCOMPARE(ergebnis->ergebniscombo->count(), 6);

        // The placement page: a knock-out class shows the final in its first row.
        QWidget* placement = panel->sp_ScrollBox4->widget();
        QVERIFY(placement);
        QCOMPARE(placement->findChild<QComboBox*>(QStringLiteral("anzahl"))->currentText(), QStringLiteral("2"));
        QVERIFY(placement->findChild<QLabel*>(QStringLiteral("platz11")));
        QVERIFY(panel->platz->count() > 0);
        // Its status icons show their states at once, also those of the rows a
        // new count adds, and keep the final's.
        const auto placementIcons = [&] { return placement->findChildren<PlanIcon*>(); };
        QCOMPARE(placementIcons().size(), 1);
        const int final = Tspielplaene::getid(placementIcons().first()->objectName());
        QComboBox* count = placement->findChild<QComboBox*>(QStringLiteral("anzahl"));
        count->setEditText(QStringLiteral("4"));
        emit count->textActivated(QStringLiteral("4"));
        QCOMPARE(placementIcons().size(), 2);
        for (PlanIcon* icon : placementIcons()) {
            QCOMPARE(icon->Tag, 1);
            QVERIFY2(!icon->pixmap().isNull(), qPrintable(icon->objectName()));
        }
        // A right press on an icon opens the menu for its match: here the
        // final, whose sides are not known, cannot be started by hand.
        Tspielplaene* plans = app.program->forms.spielplaene;
        PlanIcon* finalIcon = placement->findChild<PlanIcon*>(QStringLiteral("status%1").arg(final));
        QVERIFY(finalIcon);
        QTest::mousePress(finalIcon, Qt::RightButton);
        QVERIFY(plans->PopupMenu1->isVisible());
        QCOMPARE(plans->session().popupspielnummer, final);
        QCOMPARE(plans->PopupMenu1->Tag, 1);
        plans->PopupMenu1->hide();
        app.prompter().expect(PromptKind::Error, kNichtStartbar);
        plans->PopupMenu1->Spielmauellstarten1->trigger();
        QVERIFY(app.prompter().verify());

        // "Gesamtspielplan anzeigen" opens the viewer for the whole class with the work area disabled.
        PlanIcon* whole = nullptr;
        for (PlanIcon* icon : list->findChildren<PlanIcon*>())
            if (icon->toolTip() == QStringLiteral("Gesamtspielplan anzeigen"))
                whole = icon;
        QVERIFY(whole);
        QTest::mouseClick(whole, Qt::LeftButton);
        Tspielplan_form* viewer = app.program->forms.spielplan_form;
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->StaticText1->text(), QStringLiteral("Spielplan für U18 (m) (Einzel)"));
        QCOMPARE(viewer->StaticText1->property("Tag").toInt(), -1);
        QVERIFY(!main.centralWidget()->isEnabled());
        viewer->reject();
        QVERIFY(main.centralWidget()->isEnabled());

        // "Matrix" redraws the group plans with the mirrored icons.
        panel->GruppeDarBox->setCurrentIndex(0);
        emit panel->GruppeDarBox->activated(0);
        auto* matrix = qobject_cast<PlanCanvas*>(panel->sp_scrollbox1->widget());
        QVERIFY(matrix && matrix != list);
        QVERIFY(matrix->findChild<QWidget*>(QStringLiteral("statusx1")));

        // The start runs the reminder timer; leaving for the tournament pages stops it.
        QVERIFY(!main.Timer1->isActive());
        // The start offers the playable matches for call-up in the match dialog,
        // which is modal: the user declines each offer here.
        QTimer decline;
        QObject::connect(&decline, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget() == ergebnis)
                ergebnis->reject();
        });
        decline.start(10);
        panel->turniergo->Click();
        decline.stop();
        QVERIFY(!panel->turniergo->isEnabled());
        QCOMPARE(panel->sp_info->item(panel->sp_info->count() - 1)->text(), QStringLiteral(" - Turnier gestartet"));
        QVERIFY(main.Timer1->isActive());
        QVERIFY(ergebnis->next->Checked());
        QVERIFY(ergebnis->next1->isHidden());
        main.TurnierbuttonItemClick(TMainform::TurnierErstellen);
        QVERIFY(!main.Timer1->isActive());
        QVERIFY(app.prompter().verify());
    }
};

QTEST_MAIN(TestAppPlans)
#include "test_app_plans.moc"
