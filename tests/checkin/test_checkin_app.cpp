// The check-in page and the team builder inside the main window: reached from
// the player bar, the team builder shown with the work area disabled, and
// CTRL+ENTER leading to the player page.
#include "checkinapp.h"

#include "app/tmainform.h"
#include "checkin/checkinpage.h"
#include "people/playerpage.h"
#include "results/tteamauswahl.h"
#include "support/widgethelpers.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTest>

using namespace bw;
using namespace bw::test;

class TestCheckInApp : public QObject {
    Q_OBJECT

private slots:
    void checkInPageFromThePlayerBar()
    {
        CheckInApp app;
        TMainform* main = app.program->forms.Mainform;
        QCOMPARE(app.program->context.aktuelleTID, 1);
        main->SpielerbuttonItemClick(2); // "Spieleranmeldung"
        QCOMPARE(main->frontPanel(), main->Anmeldung);
        CheckInPage* page = child<CheckInPage>(main->Anmeldung, QStringLiteral("CheckInPage"));
        QCOMPARE(page->meldetab->count(), 6);
        QCOMPARE(page->anmeldeliste->count(), 6);
        QCOMPARE(page->teammeldeliste->count(), 2);

        // CTRL+ENTER opens the player page for a new player with the typed names.
        page->spieler_anmeldung->setText(QStringLiteral("Neu, Nina"));
        QTest::keyClick(page->spieler_anmeldung, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(main->frontPanel(), main->spielerverwaltung);
        QCOMPARE(main->spielerseite->snachname->text(), QStringLiteral("Neu"));
        QCOMPARE(main->spielerseite->svorname->text(), QStringLiteral("Nina"));
        QVERIFY(main->spielerseite->geladenerName.isEmpty());
        QVERIFY(app.fake->prompter.verify());
    }

    void teamBuilderFromThePlayerBar()
    {
        CheckInApp app;
        TMainform* main = app.program->forms.Mainform;
        Tteamauswahl* dialog = app.program->forms.teamauswahl;
        main->SpielerbuttonItemClick(1); // "Teamverwaltung"
        QVERIFY(dialog->isVisible());
        QVERIFY(!main->workAreaEnabled());
        QCOMPARE(dialog->ListBox6->count(), 1);
        QCOMPARE(dialog->ListBox3->count(), 5);
        click(dialog->cancel);
        QVERIFY(!dialog->isVisible());
        QVERIFY(main->workAreaEnabled());
        QVERIFY(app.fake->prompter.verify());
    }
};

QTEST_MAIN(TestCheckInApp)
#include "test_checkin_app.moc"
