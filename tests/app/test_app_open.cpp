// Creating and opening a tournament, and choosing the database server: the two
// dialogs against real SQLite files and the throwaway PostgreSQL server, with
// the exact messages, and the rule that only creating or opening switches the
// program's database.
#include "appfixture.h"

#include "app/navigationbar.h"
#include "app/tmainform.h"
#include "app/tournamentpage.h"
#include "app/tmsdenetworkform.h"
#include "app/tturnier_erstellen.h"
#include "app/tturnierladen.h"
#include "data/connection.h"
#include "data/db_procedures.h"
#include "data/preparation.h"
#include "data/sql.h"
#include "data/tournamentrecords.h"
#include "support/pgfixture.h"
#include "support/readonly.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QAction>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QString kUpgradeQuestion =
    QStringLiteral("Die gewählte Datenbank hat eine alte Struktur.\rSoll die Struktur jetzt angepasst werden?");

// A prepared SQLite file in the program folder holding the named tournaments.
QString tournamentFile(AppFixture& app, const QString& name, const QStringList& tournaments)
{
    const QString path = app.folder.file(name);
    prepareSqliteFile(path);
    ScopedConnection connection(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
    for (const QString& tournament : tournaments) {
        TournamentData data;
        data[TournamentField::turniername] = tournament;
        data[TournamentField::austragungsort] = tournament + QStringLiteral(" Halle");
        insertTournament(connection.db(), data, {true, true, true, true});
    }
    return path;
}

int countRows(const QString& path, const QString& sql)
{
    ScopedConnection connection(openSqlite(path, uniqueConnectionName(QStringLiteral("count"))));
    return scalar(connection.db(), sql).toInt();
}

void createOnFile(AppFixture& app, const QString& name, const QString& answer)
{
    app.main().TurnierbuttonItemClick(TMainform::TurnierErstellen);
    TTurnier_erstellen* dialog = app.program->forms.Turnier_erstellen;
    dialog->turniername->setText(name);
    dialog->fileOption->setChecked(true);
    app.fake.files.answer(answer);
    click(dialog->erstellen);
}

QString openedFile(const Program& program)
{
    const QSqlDatabase db = program.forms.db_procedures->ADOConnection1();
    return db.isValid() ? QFileInfo(QUrl(db.databaseName()).toLocalFile()).absoluteFilePath() : QString();
}

} // namespace

class TestAppOpen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void createOnSqlite();
    void createFailures_data();
    void createFailures();
    void createWithCancelledFileDialog();
    void createOnOlderStructure_data();
    void createOnOlderStructure();
    void openOnSqlite();
    void openFailures();
    void lookingElsewhereKeepsTheOpenDatabase();
    void serverPath();
    void attachIntoEmptyServer();
    void unreachableServer();
};

void TestAppOpen::initTestCase()
{
    PgServer server;
    if (PgFixture::configured(&server) && !server.user.isEmpty())
        qputenv("PGUSER", server.user.toUtf8());
}

void TestAppOpen::createOnSqlite()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    const QString path = tournamentFile(app, QStringLiteral("halle.sqlite"), {QStringLiteral("Alt")});

    main.TurnierbuttonItemClick(TMainform::TurnierErstellen);
    TTurnier_erstellen* dialog = app.program->forms.Turnier_erstellen;
    QVERIFY(dialog->isVisible());
    QVERIFY(!main.workAreaEnabled());
    QCOMPARE(dialog->turniername->text(), QString());
    for (TuiCheckbox* box : {dialog->check1, dialog->check2, dialog->check3, dialog->check4})
        QVERIFY(box->Checked() && !box->isEnabled());

    dialog->turniername->setText(QStringLiteral("  Kreismeisterschaft  "));
    dialog->fileOption->setChecked(true);
    app.fake.files.answer(path);
    click(dialog->erstellen);

    QVERIFY(!dialog->isVisible());
    QVERIFY(main.workAreaEnabled());
    // The save dialog offered the default database of the data folder, and
    // only chose the file: no question whether to replace it.
    QCOMPARE(app.fake.files.calls().size(), 1);
    QCOMPARE(app.fake.files.calls().first().kind, QStringLiteral("choose"));
    QCOMPARE(app.fake.files.calls().first().dir, app.folder.file(QStringLiteral("turnier_db.sqlite")));
    QCOMPARE(app.fake.files.calls().first().filter, QStringLiteral("SQLite-Datenbank (*.sqlite *.db)"));

    const AppContext& context = app.context();
    const Tdb_procedures& database = *app.program->forms.db_procedures;
    QCOMPARE(context.aktuelleTID, 2);
    QCOMPARE(context.aktuellerTurniername, QStringLiteral("Kreismeisterschaft"));
    QVERIFY(database.accessDB);
    QCOMPARE(database.dbPfad, path);
    QCOMPARE(database.dbWahrWert, 1);
    QCOMPARE(context.liveLoginID, 0);
    QCOMPARE(openedFile(*app.program), QFileInfo(path).absoluteFilePath());
    QCOMPARE(countRows(path, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten WHERE TID=2 AND turniername='Kreismeisterschaft'")), 1);
    QCOMPARE(countRows(path, QStringLiteral("SELECT COUNT(*) FROM Einstellungen WHERE TID=2 AND einstellung1=1 AND "
                                            "einstellung2=1 AND einstellung3=1 AND einstellung4=1 AND version IS NULL")),
             1);

    // The window shows the new tournament, which is the open one; the caption names it.
    QCOMPARE(main.windowTitle(), QStringLiteral("Brackwell 2.53 - Kreismeisterschaft"));
    QCOMPARE(main.frontPanel(), main.neuesTurnier);
    QCOMPARE(main.turnierseite->statictext1->text(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(main.turnierseite->turniername->text(), QStringLiteral("Kreismeisterschaft"));
    QVERIFY(!main.turnierseite->turnier_speichern->isEnabled());
    QCOMPARE(main.turnierseite->turnier_speichern->Caption(), QStringLiteral("Änderung übernehmen"));
    QVERIFY(main.Turnierbutton->itemEnabled(TMainform::TurnierLoeschen));
    QVERIFY(main.Turnierbutton->itemEnabled(TMainform::TurnierBearbeiten));
    QVERIFY(main.Klassenbutton->isEnabled() && !main.Klassenbutton->collapsed());
    QCOMPARE(main.Klassenbutton->itemCount(), 1);
    QVERIFY(main.Spielerbutton->isEnabled() && !main.Spielerbutton->collapsed());
    QVERIFY(main.spielplanbutton->isEnabled() && main.spielplanbutton->collapsed());
    QCOMPARE(main.spielplanbutton->itemCount(), 0);
    QVERIFY(main.exportbutton->isEnabled() && main.exportbutton->collapsed());
    for (QAction* action : {main.Spieleplaner1, main.AKverwaltung, main.Kostenabrechnung, main.CourtcastMenuitem})
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));

    // A second tournament: the dialog starts in its name field again, and the
    // caption follows to the new one.
    main.TurnierbuttonItemClick(TMainform::TurnierErstellen);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->focusWidget(), dialog->turniername);
    dialog->turniername->setText(QStringLiteral("Stadtmeisterschaft"));
    app.fake.files.answer(path);
    click(dialog->erstellen);
    QCOMPARE(context.aktuellerTurniername, QStringLiteral("Stadtmeisterschaft"));
    QCOMPARE(main.windowTitle(), QStringLiteral("Brackwell 2.53 - Stadtmeisterschaft"));
}

void TestAppOpen::createFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file"); // "missing", "garbage", "empty" (no tables), "old" (version 5)
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name") << QStringLiteral("   ") << QStringLiteral("missing")
                                << QStringLiteral("Bitte geben Sie einen Namen ein");
    // The Part's text, then the reason; %1 is the file.
    QTest::newRow("missing file") << QStringLiteral("Neu") << QStringLiteral("missing")
                                  << QStringLiteral("Datenbank verbinden fehlgeschlagen\rDie Datei \"%1\" ist nicht "
                                                    "vorhanden.");
    QTest::newRow("not a database") << QStringLiteral("Neu") << QStringLiteral("garbage")
                                    << QStringLiteral("Datenbank verbinden fehlgeschlagen\rDie Datei \"%1\" ist keine "
                                                      "SQLite-Datenbank.");
    QTest::newRow("no Einstellungen") << QStringLiteral("Neu") << QStringLiteral("empty")
                                      << QStringLiteral("Es wurde eine falsche Datenbank ausgewählt");
}

void TestAppOpen::createFailures()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(QString, message);
    AppFixture app;
    app.start();
    const QString path = app.folder.file(QStringLiteral("wahl.sqlite"));
    if (file == QLatin1String("garbage"))
        app.folder.write(QStringLiteral("wahl.sqlite"), QByteArray(4096, 'x'));
    if (file == QLatin1String("empty"))
        ScopedConnection(openSqlite(path, uniqueConnectionName(QStringLiteral("empty")), true));
    const PromptKind kind = message.startsWith(QStringLiteral("Bitte")) ? PromptKind::Information : PromptKind::Error;
    app.prompter().expect(kind, message.contains(QStringLiteral("%1")) ? message.arg(path) : message,
                          PromptAnswer::Cancel);

    createOnFile(app, name, path);

    QVERIFY(app.prompter().verify());
    QVERIFY(app.program->forms.Turnier_erstellen->isVisible());
    QVERIFY(!app.program->forms.db_procedures->isConnected());
    QCOMPARE(app.context().aktuellerTurniername, QString());
    QVERIFY(!app.program->forms.db_procedures->accessDB);
    // No database file is ever created by choosing one.
    if (file == QLatin1String("missing"))
        QVERIFY(!QFile::exists(path));
}

void TestAppOpen::createWithCancelledFileDialog()
{
    AppFixture app;
    app.start();
    // Nothing chosen before in this run: nothing happens.
    createOnFile(app, QStringLiteral("Neu"), QString());
    QVERIFY(app.program->forms.Turnier_erstellen->isVisible());
    QVERIFY(!app.program->forms.db_procedures->isConnected());

    // After a choice, a cancelled dialog uses the file chosen before.
    const QString path = tournamentFile(app, QStringLiteral("vorher.sqlite"), {});
    app.program->forms.Turnier_erstellen->reject();
    createOnFile(app, QStringLiteral("Erstes"), path);
    QCOMPARE(app.context().aktuelleTID, 1);
    createOnFile(app, QStringLiteral("Zweites"), QString());
    QCOMPARE(app.context().aktuelleTID, 2);
    QCOMPARE(countRows(path, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten")), 2);
}

void TestAppOpen::openOnSqlite()
{
    AppFixture app;
    // The default database of the data folder, with two tournaments of one name.
    const QString path = tournamentFile(app, QStringLiteral("turnier_db.sqlite"),
                                        {QStringLiteral("Pokal"), QStringLiteral("Pokal"), QStringLiteral("Liga")});
    app.start();
    TMainform& main = app.main();
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    Tturnierladen* dialog = app.program->forms.turnierladen;
    QVERIFY(dialog->isVisible());
    QVERIFY(!main.workAreaEnabled());
    QVERIFY(dialog->AccessDBSelButton->isChecked());
    QCOMPARE(dialog->DBPathEditBox->text(), path);
    QCOMPARE(dialog->ListBox1->count(), 3);
    QCOMPARE(dialog->ListBox1->currentRow(), 0);
    QCOMPARE(dialog->tids, (QList<int>{1, 2, 3}));
    // Looking does not open anything for the program.
    QVERIFY(!app.program->forms.db_procedures->isConnected());

    dialog->ListBox1->setCurrentRow(1);
    emit dialog->ListBox1->itemDoubleClicked(dialog->ListBox1->item(1));
    QVERIFY(!dialog->isVisible());
    QVERIFY(main.workAreaEnabled());
    QCOMPARE(app.context().aktuelleTID, 2);
    QCOMPARE(app.context().aktuellerTurniername, QStringLiteral("Pokal"));
    QVERIFY(app.program->forms.db_procedures->accessDB);
    QCOMPARE(app.program->forms.db_procedures->dbPfad, path);
    QCOMPARE(openedFile(*app.program), QFileInfo(path).absoluteFilePath());

    QCOMPARE(main.windowTitle(), QStringLiteral("Brackwell 2.53 - Pokal"));
    QCOMPARE(main.frontPanel(), main.neuesTurnier);
    QCOMPARE(main.turnierseite->austragungsort->text(), QStringLiteral("Pokal Halle"));
    QCOMPARE(main.turnierseite->turnier_speichern->Caption(), QStringLiteral("Änderung speichern"));
    QVERIFY(!main.turnierseite->turnier_speichern->isEnabled());
    QVERIFY(main.Spielerbutton->isEnabled() && main.Spielerbutton->collapsed());
    QVERIFY(main.Klassenbutton->isEnabled() && !main.Klassenbutton->collapsed());
    QVERIFY(main.Spieleplaner1->isEnabled());

    // The next showing lists the file again; a double click on nothing does nothing.
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    QCOMPARE(dialog->ListBox1->count(), 3);
    dialog->ListBox1->setCurrentRow(-1);
    dialog->ListBox1DblClick(nullptr);
    QVERIFY(dialog->isVisible());
    click(dialog->uiButton2);
    QVERIFY(main.workAreaEnabled());
    QCOMPARE(app.context().aktuelleTID, 2);
}

void TestAppOpen::openFailures()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    Tturnierladen* dialog = app.program->forms.turnierladen;
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    // No default database: the dialog stays as it was.
    QCOMPARE(dialog->ListBox1->count(), 0);

    dialog->AccessDBSelButton->setChecked(true);
    dialog->DBPathEditBox->setText(app.folder.file(QStringLiteral("fehlt.sqlite")));
    app.prompter().expect(PromptKind::Error, QStringLiteral("Bitte wählen sie eine SQLite Datenbank aus !"));
    click(dialog->uiButton1);
    QVERIFY(app.prompter().verify());

    // "Durchsuchen" on a file that is no database.
    app.folder.write(QStringLiteral("kaputt.sqlite"), QByteArray(2048, '\0'));
    app.fake.files.answer(app.folder.file(QStringLiteral("kaputt.sqlite")));
    app.prompter().expect(PromptKind::Information,
                          QStringLiteral("SQLite-Datenbank nicht vorhanden\rDie Datei \"%1\" ist keine SQLite-Datenbank.")
                              .arg(app.folder.file(QStringLiteral("kaputt.sqlite"))));
    click(dialog->AccessSelButton);
    QVERIFY(app.prompter().verify());
    QCOMPARE(app.fake.files.calls().last().filter, QStringLiteral("SQLite-Datenbank (*.sqlite *.db)"));

    // A database without tournaments.
    const QString empty = tournamentFile(app, QStringLiteral("leer.sqlite"), {});
    app.fake.files.answer(empty);
    click(dialog->AccessSelButton);
    QCOMPARE(dialog->ListBox1->count(), 0);
    app.prompter().expect(PromptKind::Information, QStringLiteral("Es ist kein Turnier vorhanden"));
    click(dialog->uiButton1);
    QVERIFY(app.prompter().verify());

    // A database of an older structure whose upgrade is declined.
    const QString old = app.folder.file(QStringLiteral("alt.sqlite"));
    prepareSqliteFile(old, 5);
    app.fake.files.answer(old);
    click(dialog->AccessSelButton);
    app.prompter().expect(PromptKind::Question, kUpgradeQuestion, PromptAnswer::No);
    app.prompter().expect(PromptKind::Error, QStringLiteral("Es wurde eine falsche Datenbank ausgewählt"));
    click(dialog->uiButton1);
    QVERIFY(app.prompter().verify());
    QVERIFY(dialog->isVisible());
    QVERIFY(!app.program->forms.db_procedures->isConnected());
    QCOMPARE(main.windowTitle(), QStringLiteral("Brackwell 2.53 - "));
    QCOMPARE(countRows(old, QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")), 5);

    // A file the program could not save in is refused before anyone types.
    const QString locked = tournamentFile(app, QStringLiteral("gesperrt.sqlite"), {QStringLiteral("Pokal")});
    const ReadOnly readOnly(locked);
    if (!readOnly.ready())
        QSKIP("Cannot make a file read-only here");
    dialog->DBPathEditBox->setText(locked);
    app.prompter().expect(PromptKind::Information,
                          QStringLiteral("Datenbank nicht vorhanden\rDie Datenbankdatei ist schreibgeschützt; "
                                         "Brackwell kann in ihr nicht speichern."));
    click(dialog->uiButton1);
    QVERIFY(app.prompter().verify());
    QVERIFY(dialog->isVisible());
    QVERIFY(!app.program->forms.db_procedures->isConnected());
}

void TestAppOpen::createOnOlderStructure_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("upgrade accepted") << true;
    QTest::newRow("upgrade declined") << false;
}

void TestAppOpen::createOnOlderStructure()
{
    QFETCH(bool, accept);
    AppFixture app;
    app.start();
    const QString path = app.folder.file(QStringLiteral("fuenf.sqlite"));
    prepareSqliteFile(path, 5);
    app.prompter().expect(PromptKind::Question, kUpgradeQuestion, accept ? PromptAnswer::Yes : PromptAnswer::No);
    if (accept)
        app.prompter().expect(PromptKind::Information,
                              QStringLiteral("Die Datenbank wurde aktualisiert.\r\r- Turnierdaten Tabelle angepasst\r"
                                             "- Spieler Tabelle angepasst\r- Turnierklassen Tabelle angepasst\r"
                                             "- DB-Versionsbezeichnung angepasst\r"));
    else
        app.prompter().expect(PromptKind::Error, QStringLiteral("Es wurde eine falsche Datenbank ausgewählt"),
                              PromptAnswer::Cancel);
    createOnFile(app, QStringLiteral("Nach dem Umbau"), path);
    QVERIFY(app.prompter().verify());

    QCOMPARE(countRows(path, QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")), accept ? 6 : 5);
    QCOMPARE(countRows(path, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten")), accept ? 1 : 0);
    QCOMPARE(app.program->forms.Turnier_erstellen->isVisible(), !accept);
    QCOMPARE(app.program->forms.db_procedures->isConnected(), accept);
    QCOMPARE(app.context().aktuellerTurniername, accept ? QStringLiteral("Nach dem Umbau") : QString());
}

void TestAppOpen::lookingElsewhereKeepsTheOpenDatabase()
{
    AppFixture app;
    const QString first = tournamentFile(app, QStringLiteral("turnier_db.sqlite"), {QStringLiteral("Offen")});
    const QString other = tournamentFile(app, QStringLiteral("anderes.sqlite"), {QStringLiteral("Fremd")});
    app.start();
    TMainform& main = app.main();
    Tturnierladen* dialog = app.program->forms.turnierladen;
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    click(dialog->uiButton1);
    QCOMPARE(app.context().aktuellerTurniername, QStringLiteral("Offen"));

    // Look at another file, then go back.
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    app.fake.files.answer(other);
    click(dialog->AccessSelButton);
    QCOMPARE(dialog->ListBox1->item(0)->text(), QStringLiteral("Fremd"));
    dialog->MSDESelBox->click(); // probing the server does not switch either
    click(dialog->uiButton2);
    QVERIFY(main.workAreaEnabled());

    // The same in the create dialog: a database that fails the check.
    main.TurnierbuttonItemClick(TMainform::TurnierErstellen);
    app.prompter().expect(PromptKind::Error,
                          QStringLiteral("Datenbank verbinden fehlgeschlagen\rDie Datei \"%1\" ist nicht vorhanden.")
                              .arg(app.folder.file(QStringLiteral("nicht-da.sqlite"))),
                          PromptAnswer::Cancel);
    TTurnier_erstellen* create = app.program->forms.Turnier_erstellen;
    create->turniername->setText(QStringLiteral("X"));
    create->fileOption->setChecked(true);
    app.fake.files.answer(app.folder.file(QStringLiteral("nicht-da.sqlite")));
    click(create->erstellen);
    QVERIFY(app.prompter().verify());
    click(create->zurueck);

    // The open tournament still lives in its own file, and saving writes there.
    QCOMPARE(openedFile(*app.program), QFileInfo(first).absoluteFilePath());
    QVERIFY(app.program->forms.db_procedures->accessDB);
    QCOMPARE(app.program->forms.db_procedures->dbPfad, first);
    main.turnierseite->zusatzname->setText(QStringLiteral("Herbst"));
    click(main.turnierseite->turnier_speichern);
    QCOMPARE(countRows(first, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten WHERE zusatz='Herbst'")), 1);
    QCOMPARE(countRows(other, QStringLiteral("SELECT COUNT(*) FROM Turnierdaten WHERE zusatz='Herbst'")), 0);
}

void TestAppOpen::serverPath()
{
    TestDatabase server(Backend::PostgreSQL);
    if (!server.ready())
        return;
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    app.program->forms.db_procedures->serverName = server.pg()->server().host;
    app.context().serverCatalog = server.pg()->databaseName();

    // Create on the server (the default choice of the dialog).
    main.TurnierbuttonItemClick(TMainform::TurnierErstellen);
    TTurnier_erstellen* create = app.program->forms.Turnier_erstellen;
    QVERIFY(create->serverOption->isChecked());
    create->turniername->setText(QStringLiteral("Bezirksrangliste"));
    click(create->erstellen);
    QVERIFY(!create->isVisible());
    QCOMPARE(app.context().aktuelleTID, 1);
    QVERIFY(!app.program->forms.db_procedures->accessDB);
    QCOMPARE(app.program->forms.db_procedures->dbWahrWert, 1);
    QCOMPARE(scalar(server.db(), QStringLiteral("SELECT turniername FROM Turnierdaten WHERE TID=1")).toString(),
             QStringLiteral("Bezirksrangliste"));

    // Open it from the server: the dialog remembers that the last one came from there.
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    Tturnierladen* load = app.program->forms.turnierladen;
    load->MSDESelBox->click();
    QCOMPARE(load->DBPathEditBox->text(), app.program->forms.db_procedures->serverName);
    QCOMPARE(load->ListBox1->count(), 1);
    QVERIFY(!load->AttachButton->isVisible());
    click(load->uiButton1);
    QVERIFY(load->lastFromServer());
    QCOMPARE(main.windowTitle(), QStringLiteral("Brackwell 2.53 - Bezirksrangliste"));
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    QVERIFY(load->MSDESelBox->isChecked());
    QCOMPARE(load->ListBox1->count(), 1);
    click(load->uiButton2);
}

void TestAppOpen::attachIntoEmptyServer()
{
    PgFixture pg; // an empty database of its own: no tables yet
    if (!pg.ready())
        return;
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    app.program->forms.db_procedures->serverName = pg.server().host;
    app.context().serverCatalog = pg.databaseName();

    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    Tturnierladen* load = app.program->forms.turnierladen;
    load->MSDESelBox->click();
    QVERIFY(load->AttachButton->isVisible());
    QCOMPARE(load->ListBox1->count(), 0);

    app.prompter().expect(PromptKind::Information, QStringLiteral("Der Befehl wurde ausgeführt."));
    click(load->AttachButton);
    QVERIFY(app.prompter().verify());
    // Prepared but still without a tournament: the button stays.
    QVERIFY(load->AttachButton->isVisible());
    QSqlDatabase db = pg.open(QStringLiteral("attach-check"));
    QCOMPARE(scalar(db, QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")).toInt(), 6);
    db.close();

    // A second attempt reports the real error instead of success.
    app.prompter().expectPrefix(PromptKind::Error, QStringLiteral("Die Turnier-Datenbank konnte nicht angelegt werden:\r"));
    click(load->AttachButton);
    QVERIFY(app.prompter().verify());
    click(load->uiButton2);

    // The prepared catalog takes a tournament.
    main.TurnierbuttonItemClick(TMainform::TurnierErstellen);
    app.program->forms.Turnier_erstellen->turniername->setText(QStringLiteral("Erstes"));
    click(app.program->forms.Turnier_erstellen->erstellen);
    QCOMPARE(app.context().aktuelleTID, 1);
}

void TestAppOpen::unreachableServer()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    const QString previous = app.program->forms.db_procedures->serverName;
    main.TurnierbuttonItemClick(TMainform::TurnierLaden);
    Tturnierladen* load = app.program->forms.turnierladen;
    load->MSDESelBox->click();
    load->DBPathEditBox->setText(previous);
    click(load->AccessSelButton);
    TMSDENetworkForm* network = app.program->forms.MSDENetworkForm;
    QVERIFY(network->isVisible());
    QVERIFY(!load->isEnabled());
    QCOMPARE(network->SelValBox->text(), previous);
    QVERIFY(network->ListBox1->count() >= 1);
    QCOMPARE(network->ListBox1->item(0)->text(), previous);

    // Typed names keep only what a host name can hold.
    network->SelValBox->setText(QStringLiteral("\\\\kein host/"));
    QCOMPARE(network->SelValBox->text(), QStringLiteral("keinhost"));
    network->SelValBox->setText(QStringLiteral("brackwell-host-that-does-not-exist.invalid"));
    // What the load dialog lists stays listed.
    load->ListBox1->addItem(QStringLiteral("Pokal"));
    load->tids = {7};
    app.prompter().expect(PromptKind::Error, TMSDENetworkForm::unreachableText(
                                                 QStringLiteral("brackwell-host-that-does-not-exist.invalid")));
    click(network->uiButton1);
    QVERIFY(app.prompter().verify());
    QVERIFY(network->isVisible());
    QCOMPARE(network->SelValBox->text(), previous);
    QCOMPARE(app.program->forms.db_procedures->serverName, previous);
    QCOMPARE(load->DBPathEditBox->text(), previous);
    QCOMPARE(load->ListBox1->count(), 1);
    QCOMPARE(load->tids, QList<int>{7});
    QVERIFY(!app.program->forms.db_procedures->accessDB);
    QCOMPARE(app.program->forms.db_procedures->dbWahrWert, 1);

    click(network->uiButton2);
    QVERIFY(!network->isVisible());
    QVERIFY(load->isEnabled());
    QVERIFY(!load->WaitPanel->isVisible());
}

QTEST_MAIN(TestAppOpen)
#include "test_app_open.moc"
