// The tournament's data page: every field round-trips through the page, saving
// and deleting with their messages, the delete cascade, the class page's lists
// and the small number helpers.
#include "../data/tournamentsample.h"
#include "appfixture.h"

#include "app/navigationbar.h"
#include "app/tdata_unit.h"
#include "app/tmainform.h"
#include "app/tournamentpage.h"
#include "app/tturnier_erstellen.h"
#include "data/connection.h"
#include "data/db_procedures.h"
#include "data/dbvalue.h"
#include "data/preparation.h"
#include "data/sql.h"
#include "data/tournamentrecords.h"
#include "support/pagewrite.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

// A program with an SQLite tournament "Sommerturnier" created through the dialog.
void createTournament(AppFixture& app, const QString& path)
{
    app.main().TurnierbuttonItemClick(TMainform::TurnierErstellen);
    TTurnier_erstellen* dialog = app.program->forms.Turnier_erstellen;
    dialog->turniername->setText(QStringLiteral("Sommerturnier"));
    dialog->fileOption->setChecked(true);
    app.fake.files.answer(path);
    click(dialog->erstellen);
}

// Starts the program and creates "Sommerturnier" in a new SQLite file of the folder.
void startWithTournament(AppFixture& app, const QString& file)
{
    app.start();
    const QString path = app.folder.file(file);
    prepareSqliteFile(path);
    createTournament(app, path);
}

} // namespace

class TestAppTournament : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pageRoundTrip();
    void nullMemosComeBackEmpty();
    void saveButtonStates();
    void emptyNameIsRefused();
    void failedSaveKeepsPageAndDatabase_data();
    void failedSaveKeepsPageAndDatabase();
    void staleSaveReloadsThePage();
    void deleteCascade_data();
    void deleteCascade();
    void deleteDeclinedAndWithoutTournament();
    void classPageLists();
    void numberTexts_data();
    void numberTexts();
};

void TestAppTournament::initTestCase()
{
    PgServer server;
    if (PgFixture::configured(&server) && !server.user.isEmpty())
        qputenv("PGUSER", server.user.toUtf8());
}

void TestAppTournament::pageRoundTrip()
{
    AppFixture app;
    startWithTournament(app, QStringLiteral("seite.sqlite"));
    TMainform& main = app.main();
    TournamentPage& data = *main.turnierseite;
    const int tid = app.context().aktuelleTID;
    QCOMPARE(tid, 1);

    // Everything typed on the page reaches the row and comes back.
    const TournamentData sample = sampleTournament();
    data.showData(sample);
    main.turnierseite->Tbis->setDate(sample.date(TournamentField::tbis));
    QVERIFY(main.turnierseite->turnier_speichern->isEnabled());
    click(main.turnierseite->turnier_speichern);
    QVERIFY(!main.turnierseite->turnier_speichern->isEnabled());
    data.turnierfelderloeschen();
    data.tfelderfuellen(tid);
    compareTournaments(data.pageData(), trimmed(sample));
    QCOMPARE(main.turnierseite->statictext1->text(), QStringLiteral("Offene Meisterschaft"));
    // Memos keep their lines.
    QCOMPARE(main.turnierseite->turnierleitung->toPlainText(), QStringLiteral("turnierleitung Wert\nzweite Zeile ä"));
}

void TestAppTournament::nullMemosComeBackEmpty()
{
    AppFixture app;
    startWithTournament(app, QStringLiteral("null.sqlite"));
    TMainform& main = app.main();
    TournamentPage& data = *main.turnierseite;
    main.turnierseite->preise->setPlainText(QStringLiteral("Pokale"));
    main.turnierseite->meldung_an->setPlainText(QStringLiteral("Name"));
    click(main.turnierseite->turnier_speichern);
    // A second tournament whose texts were never filled in.
    execute(app.program->forms.db_procedures->ADOConnection1(),
            QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (2, 'Leer')"));
    data.tfelderfuellen(2);
    QCOMPARE(main.turnierseite->preise->toPlainText(), QString());
    QCOMPARE(main.turnierseite->meldung_an->toPlainText(), QString());
    QCOMPARE(main.turnierseite->zusatzname->text(), QString());
    QCOMPARE(main.turnierseite->turniername->text(), QStringLiteral("Leer"));
}

void TestAppTournament::saveButtonStates()
{
    AppFixture app;
    startWithTournament(app, QStringLiteral("knopf.sqlite"));
    TMainform& main = app.main();
    TuiButton* save = main.turnierseite->turnier_speichern;
    QVERIFY(!save->isEnabled());

    // The first day moves the last; the last alone moves nothing.
    main.turnierseite->Tvon->setDate(QDate(2027, 5, 1));
    QCOMPARE(main.turnierseite->Tbis->date(), QDate(2027, 5, 1));
    QVERIFY(save->isEnabled());
    QCOMPARE(save->Caption(), QStringLiteral("Änderung übernehmen"));
    main.turnierseite->Tbis->setDate(QDate(2027, 5, 3));
    QCOMPARE(main.turnierseite->Tvon->date(), QDate(2027, 5, 1));
    QVERIFY(save->isEnabled());
    QCOMPARE(save->Caption(), QStringLiteral("Änderung übernehmen"));

    // The title follows every keystroke of the name.
    main.turnierseite->turniername->clear();
    QTest::keyClicks(main.turnierseite->turniername, QStringLiteral("Wi"));
    QCOMPARE(main.turnierseite->statictext1->text(), QStringLiteral("Wi"));
    QTest::keyClicks(main.turnierseite->turniername, QStringLiteral("nter"));
    QCOMPARE(main.turnierseite->statictext1->text(), QStringLiteral("Winter"));
    click(save);
    QVERIFY(!save->isEnabled());
    const QSqlDatabase db = app.program->forms.db_procedures->ADOConnection1();
    QCOMPARE(scalar(db, QStringLiteral("SELECT turniername FROM Turnierdaten WHERE TID=1")).toString(),
             QStringLiteral("Winter"));
    QCOMPARE(readDate(scalar(db, QStringLiteral("SELECT tbis FROM Turnierdaten WHERE TID=1"))), QDate(2027, 5, 3));

    // "Turnierdaten bearbeiten" shows the page at its first tab.
    main.bringToFront(main.welcome);
    main.turnierseite->Turniermenu->setCurrentIndex(1);
    main.TurnierbuttonItemClick(TMainform::TurnierBearbeiten);
    QCOMPARE(main.frontPanel(), main.neuesTurnier);
    QCOMPARE(main.turnierseite->Turniermenu->currentIndex(), 0);
}

void TestAppTournament::emptyNameIsRefused()
{
    AppFixture app;
    startWithTournament(app, QStringLiteral("name.sqlite"));
    TMainform& main = app.main();
    main.turnierseite->turniername->setText(QStringLiteral("   "));
    main.turnierseite->osr->setText(QStringLiteral("Schiri"));
    app.prompter().expect(PromptKind::Information, QStringLiteral("Bitte geben Sie einen Turniernamen ein"));
    click(main.turnierseite->turnier_speichern);
    QVERIFY(app.prompter().verify());
    QVERIFY(main.turnierseite->turnier_speichern->isEnabled());
    const QSqlDatabase db = app.program->forms.db_procedures->ADOConnection1();
    QCOMPARE(scalar(db, QStringLiteral("SELECT turniername FROM Turnierdaten WHERE TID=1")).toString(),
             QStringLiteral("Sommerturnier"));
    QCOMPARE(scalar(db, QStringLiteral("SELECT osr FROM Turnierdaten WHERE TID=1")).toString(), QString());
}

void TestAppTournament::failedSaveKeepsPageAndDatabase_data()
{
    QTest::addColumn<bool>("newTournament");
    QTest::newRow("new") << true;
    QTest::newRow("change") << false;
}

// A save failing at any of its statements shows the error and leaves the
// database as it was and the page as the user left it, to be saved again.
void TestAppTournament::failedSaveKeepsPageAndDatabase()
{
    QFETCH(bool, newTournament);
    AppFixture app;
    if (newTournament) {
        // A database open but no tournament yet: the page holds a new one.
        app.start();
        const QString path = app.folder.file(QStringLiteral("neu.sqlite"));
        prepareSqliteFile(path);
        Tdb_procedures& data = *app.program->forms.db_procedures;
        data.accessDB = true;
        data.dbPfad = path;
        data.db_verbinden(QString());
    } else {
        startWithTournament(app, QStringLiteral("fehler.sqlite"));
    }
    TournamentPage& page = *app.main().turnierseite;
    const int tid = app.context().aktuelleTID;
    const PageState::Mode mode = newTournament ? PageState::Mode::New : PageState::Mode::Changed;
    page.turniername->setText(QStringLiteral("Herbstturnier"));
    page.osr->setText(QStringLiteral("Schiri"));
    QCOMPARE(page.mode(), mode);
    const TournamentData typed = page.pageData();
    const QSqlDatabase db = app.program->forms.db_procedures->ADOConnection1();
    int runs = 0;
    const QString failure = checkPageWrite(
        db, app.prompter(), [&] { click(page.turnier_speichern); },
        [&]() -> QString {
            if (page.shownTid() != tid || page.mode() != mode || app.context().aktuelleTID != tid)
                return QStringLiteral("the page's tournament or mode changed");
            if (page.pageData().values != typed.values || page.statictext1->text() != QStringLiteral("Herbstturnier"))
                return QStringLiteral("the typing was lost");
            return page.turnier_speichern->isEnabled() ? QString() : QStringLiteral("the save button is disabled");
        },
        {}, &runs);
    QCOMPARE(failure, QString());
    QVERIFY(runs > 1);
    QVERIFY(app.prompter().verify());

    // The last run wrote.
    QCOMPARE(page.mode(), PageState::Mode::Unchanged);
    QCOMPARE(app.context().aktuelleTID, page.shownTid());
    const auto stored = readTournament(db, page.shownTid());
    QVERIFY(stored);
    QCOMPARE(stored->text(TournamentField::turniername), QStringLiteral("Herbstturnier"));
    QCOMPARE(stored->text(TournamentField::osr), QStringLiteral("Schiri"));
    if (newTournament)
        QVERIFY(app.main().Spieleplaner1->isEnabled());
}

// Another desk changed the tournament meanwhile: the save writes nothing, says
// so, and the page shows the row as it is now stored.
void TestAppTournament::staleSaveReloadsThePage()
{
    AppFixture app;
    startWithTournament(app, QStringLiteral("zwei.sqlite"));
    TournamentPage& page = *app.main().turnierseite;
    const int tid = app.context().aktuelleTID;
    ScopedConnection otherDesk(openSqlite(app.folder.file(QStringLiteral("zwei.sqlite")),
                                          uniqueConnectionName(QStringLiteral("desk"))));
    const TournamentData before = *readTournament(otherDesk.db(), tid);
    TournamentData changed = before;
    changed[TournamentField::tische] = QStringLiteral("16");
    updateTournament(otherDesk.db(), tid, before, changed);

    page.baelle->setText(QStringLiteral("weiß"));
    app.prompter().expect(PromptKind::Error, QStringLiteral("Das Turnier wurde inzwischen an einem anderen "
                                                            "Arbeitsplatz geändert. Die Seite wird neu geladen."));
    click(page.turnier_speichern);
    QVERIFY(app.prompter().verify());
    QCOMPARE(readTournament(otherDesk.db(), tid)->text(TournamentField::baelle), QString());
    QCOMPARE(page.mode(), PageState::Mode::Unchanged);
    QCOMPARE(page.tische->text(), QStringLiteral("16"));
    QCOMPARE(page.baelle->text(), QString());

    // Typed again over what is now stored, the change is saved.
    page.baelle->setText(QStringLiteral("weiß"));
    click(page.turnier_speichern);
    QVERIFY(app.prompter().verify());
    const TournamentData stored = *readTournament(otherDesk.db(), tid);
    QCOMPARE(stored.text(TournamentField::baelle), QStringLiteral("weiß"));
    QCOMPARE(stored.text(TournamentField::tische), QStringLiteral("16"));
}

void TestAppTournament::deleteCascade_data()
{
    QTest::addColumn<bool>("withClasses");
    QTest::newRow("without classes") << false;
    QTest::newRow("with classes") << true;
}

void TestAppTournament::deleteCascade()
{
    QFETCH(bool, withClasses);
    const QStringList kTouched{QStringLiteral("Turnierdaten"), QStringLiteral("Einstellungen"),
                               QStringLiteral("Turnierklassen"), QStringLiteral("Spielplan"),
                               QStringLiteral("Spielerdaten"), QStringLiteral("Gruppen"), QStringLiteral("Altersklasse")};
    QStringList others;
    AppFixture app;
    app.start();
    const QString path = app.folder.file(QStringLiteral("loeschen.sqlite"));
    prepareSqliteFile(path);
    {
        ScopedConnection setup(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
        insertTournament(setup.db(), TournamentData(), {true, true, true, true}); // TID 1: another tournament
        insertRow(setup.db(), QStringLiteral("Turnierklassen"), {{QStringLiteral("TID"), 1}, {QStringLiteral("KID"), 1}});
        insertRow(setup.db(), QStringLiteral("Spielplan"), {{QStringLiteral("TID"), 1}, {QStringLiteral("KID"), 1}});
        insertRow(setup.db(), QStringLiteral("Spielerdaten"), {{QStringLiteral("TID"), 1}, {QStringLiteral("SID"), 1}});
        others = dumpTables(setup.db(), kTouched);
    }
    createTournament(app, path); // TID 2
    TMainform& main = app.main();
    QCOMPARE(app.context().aktuelleTID, 2);
    const QSqlDatabase db = app.program->forms.db_procedures->ADOConnection1();
    insertRow(db, QStringLiteral("Spielerdaten"), {{QStringLiteral("TID"), 2}, {QStringLiteral("SID"), 2}});
    insertRow(db, QStringLiteral("Altersklasse"), {{QStringLiteral("TID"), 2}});
    insertRow(db, QStringLiteral("Import"), {});
    if (withClasses) {
        for (const QString& table : {QStringLiteral("Turnierklassen"), QStringLiteral("Spielplan")})
            insertRow(db, table, {{QStringLiteral("TID"), 2}, {QStringLiteral("KID"), 2}});
        insertRow(db, QStringLiteral("Gruppen"), {{QStringLiteral("KID"), 2}});
    }

    app.prompter().expect(PromptKind::Question, QStringLiteral("Wollen Sie das Turnier \"Sommerturnier\" wirklich löschen?"),
                          PromptAnswer::Yes);
    main.TurnierbuttonItemClick(TMainform::TurnierLoeschen);
    QVERIFY(app.prompter().verify());

    for (const QString& sql : {QStringLiteral("SELECT COUNT(*) FROM Turnierdaten WHERE TID=2"),
                               QStringLiteral("SELECT COUNT(*) FROM Einstellungen WHERE TID=2"),
                               QStringLiteral("SELECT COUNT(*) FROM Spielerdaten WHERE TID=2"),
                               QStringLiteral("SELECT COUNT(*) FROM Altersklasse WHERE TID=2"),
                               QStringLiteral("SELECT COUNT(*) FROM Turnierklassen WHERE TID=2"),
                               QStringLiteral("SELECT COUNT(*) FROM Spielplan WHERE KID=2"),
                               QStringLiteral("SELECT COUNT(*) FROM Gruppen WHERE KID=2"),
                               QStringLiteral("SELECT COUNT(*) FROM Import")})
        QVERIFY2(scalar(db, sql).toInt() == 0, qPrintable(sql));
    // What is left is exactly the other tournament, untouched.
    QCOMPARE(dumpTables(db, kTouched), others);

    // Back in the start state, with no tournament in the context.
    QCOMPARE(app.context().aktuelleTID, 0);
    QCOMPARE(app.context().aktuellerTurniername, QString());
    QCOMPARE(main.frontPanel(), main.welcome);
    QCOMPARE(main.windowTitle(), QStringLiteral("Brackwell 2.53 - "));
    QVERIFY(!main.Turnierbutton->itemEnabled(TMainform::TurnierLoeschen));
    QVERIFY(!main.Turnierbutton->itemEnabled(TMainform::TurnierBearbeiten));
    for (NavigationBar* bar : {main.Klassenbutton, main.Spielerbutton, main.spielplanbutton, main.exportbutton})
        QVERIFY2(bar->collapsed() && !bar->isEnabled(), qPrintable(bar->objectName()));
    QCOMPARE(main.Klassenbutton->itemCount(), 1);
    QCOMPARE(main.spielplanbutton->itemCount(), 0);
    for (QAction* action : {main.Spieleplaner1, main.AKverwaltung, main.Kostenabrechnung, main.CourtcastMenuitem})
        QVERIFY(!action->isEnabled());
    QCOMPARE(main.turnierseite->turniername->text(), QString());
}

void TestAppTournament::deleteDeclinedAndWithoutTournament()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    app.prompter().expect(PromptKind::Information, QStringLiteral("Sie haben kein Turnier ausgewählt"));
    main.TurnierbuttonItems2Click();
    app.prompter().expect(PromptKind::Information, QStringLiteral("Sie müssen erst ein Turnier erstellen oder laden"));
    main.TurnierbuttonItems3Click();
    QVERIFY(app.prompter().verify());
    QCOMPARE(main.frontPanel(), main.welcome);

    const QString path = app.folder.file(QStringLiteral("nein.sqlite"));
    prepareSqliteFile(path);
    createTournament(app, path);
    app.prompter().expect(PromptKind::Question, QStringLiteral("Wollen Sie das Turnier \"Sommerturnier\" wirklich löschen?"),
                          PromptAnswer::No);
    main.TurnierbuttonItemClick(TMainform::TurnierLoeschen);
    QVERIFY(app.prompter().verify());
    QCOMPARE(scalar(app.program->forms.db_procedures->ADOConnection1(),
                    QStringLiteral("SELECT COUNT(*) FROM Turnierdaten")).toInt(), 1);
    QCOMPARE(app.context().aktuelleTID, 1);
    QCOMPARE(main.frontPanel(), main.neuesTurnier);
}

void TestAppTournament::classPageLists()
{
    AppFixture app;
    startWithTournament(app, QStringLiteral("klassen.sqlite"));
    TMainform& main = app.main();
    const QSqlDatabase db = app.program->forms.db_procedures->ADOConnection1();
    main.altersklasse->addItem(QStringLiteral("alt"));
    main.TurnierbuttonItemClick(TMainform::TurnierBearbeiten);

    // Without age classes the list holds only "ohne Beschränkung", selected.
    main.KlassenbuttonItemClick(0);
    QCOMPARE(main.frontPanel(), main.klassenverwalten);
    QCOMPARE(main.altersklasse->count(), 1);
    QCOMPARE(main.altersklasse->currentText(), QStringLiteral("ohne Beschränkung"));
    QCOMPARE(main.austragungstag->date(), QDate(2026, 12, 10));

    const QList<QPair<int, QString>> classes{{0, QStringLiteral("Herren A")}, {1, QStringLiteral("Doppel B")},
                                             {2, QStringLiteral("Mixed")}, {3, QStringLiteral("Mannschaft")},
                                             {0, QStringLiteral("Damen")}, {7, QStringLiteral("Unbekannt")}};
    int kid = 10;
    for (const auto& c : classes)
        insertRow(db, QStringLiteral("Turnierklassen"), {{QStringLiteral("TID"), 1}, {QStringLiteral("KID"), kid++},
                                                         {QStringLiteral("system"), c.first},
                                                         {QStringLiteral("kbezeichnung"), c.second}});
    insertRow(db, QStringLiteral("Turnierklassen"), {{QStringLiteral("TID"), 5}, {QStringLiteral("KID"), 99},
                                                     {QStringLiteral("kbezeichnung"), QStringLiteral("Fremd")}});
    insertRow(db, QStringLiteral("Altersklasse"), {{QStringLiteral("TID"), 1}, {QStringLiteral("name"), QStringLiteral("U18")}});
    main.KlassenbuttonItemClick(0);
    QCOMPARE(main.einzelliste->count(), 2);
    QCOMPARE(main.einzelliste->item(0)->text(), QStringLiteral("Damen"));
    QCOMPARE(main.doppelliste->item(0)->text(), QStringLiteral("Doppel B"));
    QCOMPARE(main.mixedliste->count(), 1);
    QCOMPARE(main.courbliste->item(0)->text(), QStringLiteral("Mannschaft"));
    QCOMPARE(main.altersklasse->count(), 2);
    QCOMPARE(main.altersklasse->itemText(0), QStringLiteral("U18"));
    QCOMPARE(main.altersklasse->currentText(), QStringLiteral("ohne Beschränkung"));
}

void TestAppTournament::numberTexts_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("zahl");
    QTest::addColumn<QString>("byte");
    QTest::newRow("300") << 300 << QStringLiteral("300") << QStringLiteral("44");
    QTest::newRow("0") << 0 << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("255") << 255 << QStringLiteral("255") << QStringLiteral("255");
    QTest::newRow("-1") << -1 << QStringLiteral("-1") << QStringLiteral("255");
    QTest::newRow("max") << 2147483647 << QStringLiteral("2147483647") << QStringLiteral("255");
}

void TestAppTournament::numberTexts()
{
    QFETCH(int, value);
    QFETCH(QString, zahl);
    QFETCH(QString, byte);
    QCOMPARE(zahltext(value), zahl);
    QCOMPARE(bytetext(value), byte);
}

QTEST_MAIN(TestAppTournament)
#include "test_app_tournament.moc"
