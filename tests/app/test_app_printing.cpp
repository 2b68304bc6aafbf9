// Printing a plan inside the whole program: "Phase ausdrucken" on a knock-out
// and a double knock-out phase opens the print-size dialog modally with the
// estimates of the class's bracket (the plan-definition file of the program
// folder read for the double knock-out); "Abbrechen" prints nothing. On a
// group phase it prints the groups on the application's printer.
#include "appfixture.h"

#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "controls/uibuttons.h"
#include "data/connection.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "output/tdruck_form.h"
#include "output/tdrucken.h"
#include "plans/planfixture.h"
#include "plans/tspielplaene.h"

#include <QApplication>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

class TestAppPrinting : public QObject {
    Q_OBJECT
private slots:
    void printSizeDialogOfTheShownPhase_data()
    {
        QTest::addColumn<int>("system");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("sizeTwo");
        QTest::newRow("knock-out") << int(PlaySystem::EinfachesKO) << 1 << QStringLiteral("Größe 2 (1x1) DIN A4 Seiten");
        QTest::newRow("double knock-out") << int(PlaySystem::DoppeltesKO) << 2
                                          << QStringLiteral("Größe 2 (2x2) DIN A4 Seiten");
    }
    void printSizeDialogOfTheShownPhase()
    {
        QFETCH(int, system);
        QFETCH(int, kind);
        QFETCH(QString, sizeTwo);
        AppFixture app;
        const QString path = app.folder.file(QStringLiteral("turnier_db.sqlite"));
        prepareSqliteFile(path);
        {
            ScopedConnection c(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
            TournamentData data;
            data[TournamentField::turniername] = QStringLiteral("Pokal");
            const int tid = insertTournament(c.db(), data, {true, true, true, true});
            drawnClass(c.db(), QStringLiteral("Herren"), {knockOut(PlaySystem(system))}, 16, ClassKind::Einzel, {},
                       tid);
        }
        app.start();
        TMainform& main = app.main();
        main.show();
        main.TurnierbuttonItemClick(TMainform::TurnierLaden);
        Tturnierladen* open = app.program->forms.turnierladen;
        open->ListBox1->setCurrentRow(0);
        emit open->ListBox1->itemDoubleClicked(open->ListBox1->item(0));
        main.spielplanbuttonItemClick(0);

        Tdruck_form* form = app.program->forms.druck_form;
        QStringList seen;
        QTimer::singleShot(0, form, [&] {
            seen << (QApplication::activeModalWidget() == form ? QStringLiteral("modal") : QStringLiteral("not modal"))
                 << QString::number(form->Tag) << form->entryText(2);
            form->uiButton2->Click();
        });
        app.program->forms.spielplaene->plandrucken();
        QCOMPARE(seen, (QStringList{QStringLiteral("modal"), QString::number(kind), sizeTwo}));
        QVERIFY(form->isHidden());
        QVERIFY(app.prompter().verify());
    }

    void groupPhasePrints()
    {
        AppFixture app;
        const QString path = app.folder.file(QStringLiteral("turnier_db.sqlite"));
        prepareSqliteFile(path);
        {
            ScopedConnection c(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
            TournamentData data;
            data[TournamentField::turniername] = QStringLiteral("Pokal");
            const int tid = insertTournament(c.db(), data, {true, true, true, true});
            drawnClass(c.db(), QStringLiteral("Herren"), {groupPhase(2, 4)}, 8, ClassKind::Einzel, {}, tid);
        }
        app.start();
        TMainform& main = app.main();
        main.show();
        main.TurnierbuttonItemClick(TMainform::TurnierLaden);
        Tturnierladen* open = app.program->forms.turnierladen;
        open->ListBox1->setCurrentRow(0);
        emit open->ListBox1->itemDoubleClicked(open->ListBox1->item(0));
        main.spielplanbuttonItemClick(0);

        const QString pdf = app.folder.file(QStringLiteral("gruppen.pdf"));
        app.program->forms.drucken->PrintDialog1 = [&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        app.program->forms.spielplaene->plandrucken();
        QVERIFY(app.prompter().verify());
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const char* expected : {"Pokal", "Spielplan für Herren (Einzel)", "Gruppe A", "Gruppe B", "Spieler 000"})
            QVERIFY2(printed.contains(QString::fromUtf8(expected)), qPrintable(printed));
    }
};

QTEST_MAIN(TestAppPrinting)
#include "test_app_printing.moc"
