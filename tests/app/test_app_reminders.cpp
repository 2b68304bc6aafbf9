// The plan panel inside the main window: the call-up reminder timer switched on
// by a started class's plans and off by the class and player bars, its tick on
// the class current then, and the certificate a right press on a name prepares.
#include "appfixture.h"

#include "../draw/finishfixture.h"

#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "data/classrecords.h"
#include "data/connection.h"
#include "data/groupsettings.h"
#include "data/preparation.h"
#include "data/sql.h"
#include "data/tournamentrecords.h"
#include "output/turkundeprepareform.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/testdatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

class TestAppReminders : public QObject {
    Q_OBJECT
private slots:
    void reminderTimerAndCertificate()
    {
        AppFixture app;
        const QString path = app.folder.file(QStringLiteral("turnier_db.sqlite"));
        prepareSqliteFile(path);
        QString called;
        {
            ScopedConnection c(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
            TournamentData data;
            data[TournamentField::turniername] = QStringLiteral("Pokal");
            const int tid = insertTournament(c.db(), data, {true, true, true, true});
            ClassRecord record;
            record.kbezeichnung = QStringLiteral("Herren");
            const int kid = insertClass(c.db(), tid, record, {}, {});
            FinishedDraw draw = firstDraw(tid, kid, {groupPhase(1, 4)}, 4);
            saveGroupSettings(c.db(), kid, draw.settings, {});
            finishDraw(c.db(), draw, readPlanDefinitions(draw, shippedFile("system.txt"), shippedFile("ko_system.txt")));
            // Match 1 called at 8:50, nobody called again.
            execute(c.db(), s("UPDATE Spielplan SET in_planung=1, aufruf1_sp1=:t, aufruf1_sp2=:t WHERE KID=:k AND spielnummer=1"),
                    {{s("k"), kid}, {s("t"), QDateTime(QDate(2026, 12, 10), QTime(8, 50))}});
            called = scalar(c.db(), s("SELECT spieler2 FROM Spielplan WHERE KID=:k AND spielnummer=1"), {{s("k"), kid}})
                         .toString();
        }
        app.start();
        TMainform& main = app.main();
        main.TurnierbuttonItemClick(TMainform::TurnierLaden);
        Tturnierladen* open = app.program->forms.turnierladen;
        open->ListBox1->setCurrentRow(0);
        emit open->ListBox1->itemDoubleClicked(open->ListBox1->item(0));
        PlanPanel* panel = app.program->forms.spielplaene->panel();

        // The plans of a started class switch the timer on; its tick reads the
        // current class.
        QVERIFY(!main.Timer1->isActive());
        main.spielplanbuttonItemClick(0);
        QVERIFY(main.Timer1->isActive());
        main.Timer1Timer();
        QCOMPARE(panel->sp_info->item(0)->text(), QStringLiteral("- 1.Spielaufruf vor 5 Minuten: ") + called);
        // A class item of "Turnierklassen" and any item of "Spielerdaten" switch it off.
        main.KlassenbuttonItemClick(1);
        QVERIFY(!main.Timer1->isActive());
        main.spielplanbuttonItemClick(0);
        QVERIFY(main.Timer1->isActive());
        main.SpielerbuttonItemClick(0);
        QVERIFY(!main.Timer1->isActive());

        // A right press on a name fills the certificate dialog and pops up its menu.
        main.spielplanbuttonItemClick(0);
        QLabel* name = nullptr;
        for (PlanNameLabel* label : panel->sp_scrollbox1->widget()->findChildren<PlanNameLabel*>())
            if (label->Tag > 0 && !name)
                name = label;
        QVERIFY(name);
        QTest::mousePress(name, Qt::RightButton);
        TUrkundePrepareForm* certificate = app.program->forms.UrkundePrepareForm;
        QCOMPARE(certificate->NameEdit->text(), name->text());
        QCOMPARE(certificate->KlasseEdit->text(), QStringLiteral("Herren (Einzel)"));
        QCOMPARE(certificate->PlatzEdit->text(), QStringLiteral("??"));
        QVERIFY(main.UrkundePopUp->isVisible());
        main.UrkundePopUp->hide();
    }
};

QTEST_MAIN(TestAppReminders)
#include "test_app_reminders.moc"
