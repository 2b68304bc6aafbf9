// The match dialog inside the whole program: its print items print the umpire
// sheet of the stored match into a PDF file (after a call-up, with its table
// and umpire; nothing after a refused one; "Druckerfehler" from a printer that
// fails, the dialog unchanged), and "Spiel bearbeiten" of the planning board
// opens a match of a class the plan panel does not show in the mode of its
// stored state and records it (sets that contradict the result refused), the
// panel's class, icons and pools untouched.
#include "appfixture.h"

#include "app/tmainform.h"
#include "platformui/printercontext.h"
#include "app/tturnierladen.h"
#include "app/navigationbar.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/connection.h"
#include "data/matchdialogrecords.h"
#include "data/preparation.h"
#include "data/sql.h"
#include "data/tournamentrecords.h"
#include "plans/planfixture.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/tplanung.h"
#include "plans/tspielplaene.h"
#include "data/db_procedures.h"
#include "results/tergebnis.h"
#include "results/tergebnis_team.h"
#include "support/testdatabase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;

namespace {

QString pdfText(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A tournament with two knock-out classes: "U18 (m)" of eight with three sets
// to win and an umpire, shown and started; "U15 (w)" of four with two.
struct ResultsApp {
    AppFixture app;
    QString path = app.folder.file(QStringLiteral("turnier_db.sqlite"));
    int u18 = 0;
    int u15 = 0;
    PlanPanel* panel = nullptr;

    ResultsApp()
    {
        prepareSqliteFile(path);
        {
            ScopedConnection c(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
            TournamentData data;
            data[TournamentField::turniername] = QStringLiteral("Pokal");
            const int tid = insertTournament(c.db(), data, {true, true, true, true});
            ClassRecord three;
            three.saetze = 3;
            u18 = drawnClass(c.db(), QStringLiteral("U18 (m)"), {knockOut()}, 8, ClassKind::Einzel, three, tid);
            ClassRecord two;
            two.saetze = 2;
            u15 = drawnClass(c.db(), QStringLiteral("U15 (w)"), {knockOut()}, 4, ClassKind::Einzel, two, tid);
            insertRow(c.db(), QStringLiteral("Schiri"),
                      {{"SCHIRIID", 1}, {"TID", tid}, {"snname", "Ufer"}, {"svname", "Udo"}, {"sangemeldet", 1}});
            insertRow(c.db(), QStringLiteral("Schiri_im_turnier"), {{"SCHIRIID", 1}, {"KID", u18}, {"TID", tid}});
        }
        app.start();
        TMainform& main = app.main();
        main.show();
        main.TurnierbuttonItemClick(TMainform::TurnierLaden);
        Tturnierladen* open = app.program->forms.turnierladen;
        open->ListBox1->setCurrentRow(0);
        emit open->ListBox1->itemDoubleClicked(open->ListBox1->item(0));
        for (int i = 0; i < main.spielplanbutton->itemCount(); ++i)
            if (main.spielplanbutton->itemCaption(i) == QStringLiteral("U18 (m) (Einzel)"))
                main.spielplanbuttonItemClick(i);
        panel = main.spielplanform->findChild<PlanPanel*>();
        // The start offers the playable matches; the user declines each.
        QTimer decline;
        QObject::connect(&decline, &QTimer::timeout, [this] {
            if (QApplication::activeModalWidget() == ergebnis())
                ergebnis()->reject();
        });
        decline.start(10);
        panel->turniergo->Click();
        decline.stop();
    }

    Program& program() { return *app.program; }
    Tergebnis* ergebnis() { return app.program->forms.ergebnis; }
    QSqlDatabase dbOfProgram() { return app.program->forms.db_procedures->ADOConnection1(); }
    PlanIcon* icon(int n)
    {
        return panel->page(0)->widget()->findChild<PlanIcon*>(QStringLiteral("status%1").arg(n));
    }
    MatchDialogRow row(int kid, int n) { return *readMatchDialogRow(dbOfProgram(), kid, n); }
    // What the panel shows: its class, every icon's state and the pools.
    QStringList panelState()
    {
        QStringList state{panel->spielplantext->text(), QString::number(app.context().aktuelleKID)};
        for (PlanIcon* shown : panel->page(0)->widget()->findChildren<PlanIcon*>())
            state << shown->objectName() + QLatin1Char('=') + QString::number(shown->Tag) + shown->text();
        const ResourcePools& pools = app.program->forms.spielplaene->session().pools;
        for (const QString& name : pools.names())
            state << name + QLatin1Char(':') + pools.texts(name).join(QLatin1Char(','));
        return state;
    }
};

} // namespace

class TestAppResults : public QObject {
    Q_OBJECT
private slots:
    void printsTheStoredMatch()
    {
        ResultsApp r;
        Tergebnis* dialog = r.ergebnis();
        const QString sheet = r.app.folder.file(QStringLiteral("zettel.pdf"));
        QPrinter& printer = r.app.main().printerContext().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(sheet);

        // "Aufrufen + drucken": the sheet shows the table and umpire just called.
        QCOMPARE(r.icon(1)->Tag, 2);
        QTimer::singleShot(0, [&] {
            QCOMPARE(dialog->ok->Caption(), kAufrufen);
            dialog->plattencombo->setCurrentIndex(dialog->plattencombo->findText(QStringLiteral("T2")));
            dialog->schiricombo->setCurrentIndex(0);
            dialog->MyPopupMenuPopup();
            QCOMPARE(dialog->Spielstarten1->text(), QStringLiteral("Aufrufen + drucken"));
            dialog->Spielstarten1->trigger();
        });
        QTest::mouseClick(r.icon(1), Qt::LeftButton);
        QCOMPARE(r.row(r.u18, 1).state(), MatchStage::Called);
        QCOMPARE(r.icon(1)->Tag, 3);
        const QString text = pdfText(sheet);
        const MatchDialogRow called = r.row(r.u18, 1);
        for (const QString& expected :
             {QStringLiteral("Schiedsrichterzettel"), QStringLiteral("Spielnummer: 1"),
              QStringLiteral("Schiedsrichter: Ufer, Udo"), QStringLiteral("An Tisch: T2"), called.spieler1,
              called.spieler2, QStringLiteral("Satz 5: _________")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));
        QVERIFY(!text.contains(QStringLiteral("Satz 6")));

        // Refused call-ups print nothing: a table that is none of the list, and
        // a match another desk called meanwhile.
        QVERIFY(QFile::remove(sheet));
        r.app.prompter().expect(PromptKind::Warning, kKeinePlatte);
        r.app.prompter().expect(PromptKind::Warning, kMatchChanged);
        QTimer::singleShot(0, [&] {
            dialog->plattencombo->setEditText(QStringLiteral("Tisch 99"));
            dialog->Spielstarten1->trigger();
            QVERIFY(dialog->isVisible());
            dialog->plattencombo->setCurrentIndex(0);
            execute(r.dbOfProgram(), s("UPDATE Spielplan SET in_planung=1, an_platte='T9' WHERE KID=:k AND spielnummer=2"),
                    {{s("k"), r.u18}});
            dialog->Spielstarten1->trigger();
        });
        QTest::mouseClick(r.icon(2), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!QFile::exists(sheet));
        QCOMPARE(r.row(r.u18, 2).anPlatte, QStringLiteral("T9"));

        // "Drucken" on a printer that fails: "Druckerfehler", the dialog as it was.
        printer.setOutputFileName(r.app.folder.file(QStringLiteral("fehlt/zettel.pdf")));
        QTest::mouseClick(r.icon(1), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->ok->Caption(), kSpielStarten);
        const QString table = dialog->platte->text();
        r.app.prompter().expect(PromptKind::Error, QStringLiteral("Druckerfehler"));
        QTest::mouseClick(dialog->drucken, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->ok->Caption(), kSpielStarten);
        QCOMPARE(dialog->platte->text(), table);
        QCOMPARE(r.row(r.u18, 1).state(), MatchStage::Called);
        dialog->cancelClick();
        QVERIFY(r.app.prompter().verify());
    }

    void editsAMatchOfAnotherClass()
    {
        ResultsApp r;
        Tergebnis* dialog = r.ergebnis();
        Tplanung* board = r.program().forms.planung;
        execute(r.dbOfProgram(),
                s("UPDATE Spielplan SET in_planung=1, begonnen=1, an_platte='T1' WHERE KID=:k AND spielnummer=1"),
                {{s("k"), r.u15}});
        const QStringList shown = r.panelState();
        const int kid = r.app.context().aktuelleKID;
        QCOMPARE(kid, r.u18);

        // The running match of U15: "Spiel beendet" with the sets of two won sets.
        board->bearbeiten = {r.u15, 1, -1};
        board->spielbearbeitenClick();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->ok->Caption(), kSpielBeendet);
        QVERIFY(!dialog->satz[2]->isHidden());
        QVERIFY(dialog->satz[3]->isHidden());
        QCOMPARE(dialog->ergebniscombo->count(), 4);
        const MatchDialogRow match = r.row(r.u15, 1);
        QCOMPARE(dialog->spieler1->text(), QStringLiteral("Spieler 1: ") + match.spieler1);
        // Sets that contradict the result are refused with both named; what
        // was typed stays for the organiser to mend.
        dialog->ergebniscombo->setCurrentIndex(dialog->ergebniscombo->findText(QStringLiteral("2:1")));
        dialog->satz[0]->setText(QStringLiteral("5"));
        dialog->satz[1]->setText(QStringLiteral("-7"));
        dialog->satz[2]->setText(QStringLiteral("-9"));
        r.app.prompter().expect(PromptKind::Error, QStringLiteral("Die Sätze ergeben 1:2, das Endergebnis lautet 2:1."));
        QTest::mouseClick(dialog->ok, Qt::LeftButton);
        QVERIFY(r.app.prompter().verify());
        QVERIFY(dialog->isVisible() && dialog->ok->isEnabled());
        QCOMPARE(dialog->ergebniscombo->currentText(), QStringLiteral("2:1"));
        QCOMPARE(dialog->satz[2]->text(), QStringLiteral("-9"));
        QCOMPARE(r.row(r.u15, 1).state(), MatchStage::Running);
        dialog->satz[2]->setText(QStringLiteral("9"));
        QTest::mouseClick(dialog->ok, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(r.row(r.u15, 1).state(), MatchStage::Finished);
        QCOMPARE(r.row(r.u15, 3).sid1, match.sid1);
        QCOMPARE(r.panelState(), shown);

        // Its open match: planning with U15's tables; the finished one: "Korrigieren".
        board->bearbeiten = {r.u15, 2, -1};
        board->spielbearbeitenClick();
        QCOMPARE(dialog->ok->Caption(), kUebernehmen);
        QCOMPARE(dialog->kid(), r.u15);
        dialog->cancelClick();
        board->bearbeiten = {r.u15, 1, -1};
        board->spielbearbeitenClick();
        QCOMPARE(dialog->ok->Caption(), kKorrigieren);
        QCOMPARE(dialog->ergebniscombo->currentText(), QStringLiteral("2:1"));
        dialog->cancelClick();
        QCOMPARE(r.panelState(), shown);

        // The panel's own match opens with its class's sets again.
        QTimer::singleShot(0, [&] {
            QCOMPARE(dialog->kid(), r.u18);
            QVERIFY(!dialog->satz[4]->isHidden());
            QCOMPARE(dialog->ergebniscombo->count(), 6);
            dialog->cancelClick();
        });
        QTest::mouseClick(r.icon(1), Qt::LeftButton);
        QCOMPARE(r.panelState(), shown);

        // A game of a team match opens the team dialog.
        board->bearbeiten = {r.u15, 2, 3};
        board->spielbearbeitenClick();
        QVERIFY(!dialog->isVisible());
        Tergebnis_team* team = r.program().forms.ergebnis_team;
        QVERIFY(team->isVisible());
        QCOMPARE(team->snr->text(), QStringLiteral("2"));
        team->cancelClick();
        QVERIFY(r.app.prompter().verify());
    }
};

QTEST_MAIN(TestAppResults)
#include "test_app_results.moc"
