// The main menu and the navigation items that open dialogs: each work dialog
// disables the work area while it is open and its end enables it again; the
// layout program, the manual and the web site go through the process runner;
// the printer set-ups and the about box.
#include "appfixture.h"

#include "app/timpressumform.h"
#include "app/tmainform.h"
#include "app/tournamentpage.h"
#include "data/classrecords.h"
#include "data/db_procedures.h"
#include "data/preparation.h"
#include "output/layoutprogram.h"
#include "output/registrationformreader.h"
#include "output/texportnewform.h"
#include "output/tquittungprepareform.h"
#include "people/playerpage.h"
#include "platform/printersetupfile.h"
#include "platformui/printercontext.h"
#include "support/widgethelpers.h"
#include "app/tturnier_erstellen.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPageSize>
#include <QPrinter>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

void openTournament(AppFixture& app)
{
    const QString path = app.folder.file(QStringLiteral("menu.sqlite"));
    prepareSqliteFile(path);
    app.main().TurnierbuttonItemClick(TMainform::TurnierErstellen);
    TTurnier_erstellen* dialog = app.program->forms.Turnier_erstellen;
    dialog->turniername->setText(QStringLiteral("Menütest"));
    dialog->fileOption->setChecked(true);
    app.fake.files.answer(path);
    click(dialog->erstellen);
    QVERIFY(app.context().aktuelleTID > 0);
}

QString notFound(const QString& what, const QString& thing)
{
    return QStringLiteral("%1 wurde leider nicht gefunden.\rSie können %2 unter %3 herunterladen.")
        .arg(what, thing, kDownloadAddress);
}

} // namespace

class TestAppMenu : public QObject {
    Q_OBJECT
private slots:
    void workDialogs_data();
    void workDialogs();
    void exportVariants();
    void planningBoardNeedsTournament();
    void layoutProgram_data();
    void layoutProgram();
    void receiptTakesThePlayerPage();
    void manualAndWebSite();
    void printerSetUp();
    void registrationForm();
    void aboutBox();
    void quit();
};

void TestAppMenu::workDialogs_data()
{
    QTest::addColumn<QString>("command"); // a menu action, or "bar:<name>:<index>"
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("escape");
    const QList<std::tuple<QString, QString, QString>> rows{
        {QStringLiteral("Spieleplaner1"), QStringLiteral("planung"), QStringLiteral("Spieleplaner")},
        {QStringLiteral("AKverwaltung"), QStringLiteral("Altersklassen"), QStringLiteral("Altersklasse verwalten")},
        {QStringLiteral("Kostenabrechnung"), QStringLiteral("AbrechnungForm"), QStringLiteral("Finanzielle Turnierabrechnung")},
        {QStringLiteral("CourtcastMenuitem"), QStringLiteral("CourtcastForm"), QStringLiteral("Courtcast Anbindung")},
        {QStringLiteral("Impressum1"), QStringLiteral("ImpressumForm"), QStringLiteral("Impressum")},
        {QStringLiteral("Urkudnedrucken1"), QStringLiteral("UrkundePrepareForm"), QStringLiteral("UrkundePrepareForm")},
        {QStringLiteral("bar:exportbutton:0"), QStringLiteral("ExportNewForm"), QStringLiteral("Excel-Export")},
        {QStringLiteral("bar:exportbutton:1"), QStringLiteral("ExportNewForm"), QStringLiteral("PDF-Export")},
        {QStringLiteral("bar:exportbutton:2"), QStringLiteral("exportform"), QStringLiteral("HTML-Export")},
        {QStringLiteral("bar:Spielerbutton:1"), QStringLiteral("teamauswahl"), QStringLiteral("Team bearbeiten")},
        {QStringLiteral("uiButton6Click"), QStringLiteral("QuittungPrepareForm"), QStringLiteral("Quittung drucken")},
    };
    for (const auto& [command, form, caption] : rows) {
        QTest::newRow(qPrintable(command + QStringLiteral(" esc"))) << command << form << caption << true;
        QTest::newRow(qPrintable(command + QStringLiteral(" close"))) << command << form << caption << false;
    }
}

void TestAppMenu::workDialogs()
{
    QFETCH(QString, command);
    QFETCH(QString, form);
    QFETCH(QString, caption);
    QFETCH(bool, escape);
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    openTournament(app);

    if (command.startsWith(QStringLiteral("bar:"))) {
        const QStringList parts = command.split(QLatin1Char(':'));
        QMetaObject::invokeMethod(&main, parts.at(1) == QLatin1String("exportbutton") ? "exportbuttonItemClick"
                                                                                       : "SpielerbuttonItemClick",
                                  Q_ARG(int, parts.at(2).toInt()));
    } else if (QAction* action = main.findChild<QAction*>(command)) {
        QVERIFY(action->isEnabled());
        action->trigger();
    } else {
        QVERIFY(QMetaObject::invokeMethod(&main, qPrintable(command)));
    }
    auto* dialog = main.findChild<QDialog*>(form);
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), caption);
    QVERIFY(!main.workAreaEnabled());
    QVERIFY(!main.menuBar()->isEnabled());
    QVERIFY(main.isEnabled()); // the window itself stays enabled, so its dialogs work

    if (escape) {
        QTest::keyClick(dialog, Qt::Key_Escape);
    } else {
        dialog->close();
    }
    QVERIFY(!dialog->isVisible());
    QVERIFY(main.workAreaEnabled());
}

void TestAppMenu::exportVariants()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    TExportNewForm* form = app.program->forms.ExportNewForm;
    main.exportbuttonItemClick(0);
    QVERIFY(!form->Images_Excel->isHidden());
    QVERIFY(form->Images_PDF->isHidden());
    form->reject();
    main.exportbuttonItemClick(1);
    QVERIFY(form->Images_Excel->isHidden());
    QVERIFY(!form->Images_PDF->isHidden());
    QCOMPARE(form->windowTitle(), QStringLiteral("PDF-Export"));
    form->reject();
    QVERIFY(main.workAreaEnabled());
}

void TestAppMenu::planningBoardNeedsTournament()
{
    AppFixture app;
    app.start();
    app.prompter().expect(PromptKind::Error, QStringLiteral("Wählen Sie zuerst ein Turnier aus"), PromptAnswer::Cancel);
    app.main().Spieleplaner1Click();
    QVERIFY(app.prompter().verify());
    QCOMPARE(app.prompter().shown().last().buttons, PromptButtons::Cancel);
    QVERIFY(app.main().workAreaEnabled());
}

void TestAppMenu::layoutProgram_data()
{
    QTest::addColumn<QString>("installed"); // "folder", "path", "wine", "exe without wine", "none"
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("in the program folder") << QStringLiteral("folder") << QStringLiteral("Slatewright") << QStringList();
    QTest::newRow("on the path") << QStringLiteral("path") << QStringLiteral("/usr/bin/Slatewright") << QStringList();
    QTest::newRow("through wine") << QStringLiteral("wine") << QStringLiteral("/usr/bin/wine")
                                  << QStringList{QStringLiteral("Slatewright.exe")};
    QTest::newRow("in the program folder, refused to start") << QStringLiteral("refused") << QStringLiteral("Slatewright")
                                                             << QStringList();
    QTest::newRow("windows program without wine") << QStringLiteral("exe") << QString() << QStringList();
    QTest::newRow("nowhere") << QStringLiteral("none") << QString() << QStringList();
}

void TestAppMenu::layoutProgram()
{
    QFETCH(QString, installed);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    AppFixture app;
    app.start();
    if (installed == QLatin1String("folder") || installed == QLatin1String("refused")) {
        app.folder.write(QStringLiteral("Slatewright"), "#!/bin/sh\n");
        QFile(app.folder.file(QStringLiteral("Slatewright"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (installed == QLatin1String("path"))
        app.fake.runner.executablesOnPath << QStringLiteral("Slatewright");
    if (installed == QLatin1String("wine") || installed == QLatin1String("exe"))
        app.folder.write(QStringLiteral("Slatewright.exe"), "MZ");
    if (installed == QLatin1String("wine"))
        app.fake.runner.executablesOnPath << QStringLiteral("wine");
    if (program.isEmpty())
        app.prompter().expect(PromptKind::Information, notFound(QStringLiteral("Der Slatewright"), QStringLiteral("das Programm")));
    if (installed == QLatin1String("refused")) {
        app.fake.runner.succeed = false;
        app.prompter().expect(PromptKind::Error,
                              QStringLiteral("Der Slatewright konnte nicht gestartet werden.\r") + app.fake.runner.failure);
    }

    app.main().Slatewright1->trigger();
    QVERIFY(app.prompter().verify());
    if (program.isEmpty()) {
        QVERIFY(app.fake.runner.started.isEmpty());
        return;
    }
    QCOMPARE(app.fake.runner.started.size(), 1);
    const auto& started = app.fake.runner.started.first();
    if (installed == QLatin1String("folder") || installed == QLatin1String("refused"))
        QCOMPARE(started.program, app.folder.file(program));
    else
        QCOMPARE(started.program, program);
    QCOMPARE(started.arguments.size(), arguments.size());
    if (!arguments.isEmpty())
        QCOMPARE(started.arguments.first(), app.folder.file(arguments.first()));
    QCOMPARE(started.workingDirectory, app.folder.path());
}

// "Quittung" on the player page fills the receipt with the page's player.
void TestAppMenu::receiptTakesThePlayerPage()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    openTournament(app);
    PlayerPage* page = main.spielerseite;
    QVERIFY(page);
    page->snachname->setText(QStringLiteral("Brandt"));
    page->svorname->setText(QStringLiteral("Jonas"));
    page->sverein->setText(QStringLiteral("TTC Musterstadt"));
    page->zuzahlen->setText(QStringLiteral("14,5"));
    page->uiButton6->Click();
    TQuittungPrepareForm* receipt = app.program->forms.QuittungPrepareForm;
    QVERIFY(receipt->isVisible());
    QCOMPARE(receipt->NameEdit->text(), QStringLiteral("Brandt, Jonas"));
    QCOMPARE(receipt->VereinEdit->text(), QStringLiteral("TTC Musterstadt"));
    QCOMPARE(receipt->KlasseEdit->text(), QString());
    QCOMPARE(receipt->BetragEdit->text(), QStringLiteral("14,50"));
    QVERIFY(!main.workAreaEnabled());
    receipt->uiButton2Click();
    QVERIFY(main.workAreaEnabled());
}

void TestAppMenu::manualAndWebSite()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    QFile::remove(app.folder.file(QStringLiteral("Handbuch.pdf")));
    app.prompter().expect(PromptKind::Information, notFound(QStringLiteral("Das Handbuch"), QStringLiteral("das Handbuch")));
    main.Handbuch1->trigger();
    QVERIFY(app.prompter().verify());
    QVERIFY(app.fake.runner.opened.isEmpty());

    app.folder.write(QStringLiteral("Handbuch.pdf"), "%PDF-1.2\n");
    main.Handbuch1->trigger();
    QCOMPARE(app.fake.runner.opened.size(), 1);
    QCOMPARE(app.fake.runner.opened.first(), QUrl::fromLocalFile(app.folder.file(QStringLiteral("Handbuch.pdf"))));

    main.BrackwellImInternet1->trigger();
    QCOMPARE(app.fake.runner.opened.size(), 2);
    QCOMPARE(app.fake.runner.opened.last(), QUrl(TImpressumForm::kWebSite));

    // Without a program to open them, the user is told so.
    app.fake.runner.succeed = false;
    app.prompter().expect(PromptKind::Information,
                          QStringLiteral("Es ist kein Webbrowser eingerichtet. Die Adresse lautet https://www.brackwell.de."));
    main.BrackwellImInternet1->trigger();
    QVERIFY(app.prompter().verify());
    app.prompter().expectPrefix(PromptKind::Information, QStringLiteral("Das Handbuch konnte nicht geöffnet werden"));
    main.Handbuch1->trigger();
    QVERIFY(app.prompter().verify());
}

void TestAppMenu::printerSetUp()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    main.PrinterBox->clear();
    main.PrinterBox->addItems({QStringLiteral("Büro"), QStringLiteral("Zettel")});
    PrinterContext& printers = main.printerContext();
    const QString standard = app.folder.file(QStringLiteral("printerstandard.ini"));
    const QString sheets = app.folder.file(QStringLiteral("printerzettel.ini"));

    int asked = 0;
    bool confirm = false;
    QString openedOn;
    main.printerSetup = [&](QPrinter& printer, QWidget*) {
        ++asked;
        openedOn = printers.printerName();
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setCopyCount(3);
        return confirm;
    };
    // Cancelled without a file: nothing written, the printer as it was.
    main.Standardeinstellungen1->trigger();
    QCOMPARE(asked, 1);
    QVERIFY(!QFile::exists(standard));
    QCOMPARE(printers.printer().pageLayout().orientation(), QPageLayout::Portrait);

    // Confirmed: the set-up is current and saved.
    confirm = true;
    main.Standardeinstellungen1->trigger();
    QCOMPARE(printers.printer().pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(PrinterSetupFile::load(standard)->settings, printers.settings());
    QCOMPARE(PrinterSetupFile::load(standard)->settings.copies, 3);

    // The sheet set-up saved for the printer "Zettel": its menu item loads it
    // before the dialog opens; cancelling keeps the file as it was.
    PrinterSettings zettel;
    zettel.printerName = QStringLiteral("Zettel");
    zettel.pageSizeId = int(QPageSize::A5);
    PrinterSetupFile::save(sheets, zettel);
    const QByteArray saved = PrinterSetupFile::encode(zettel);
    confirm = false;
    main.Schiedsrichterzettel1->trigger();
    QCOMPARE(asked, 3);
    QCOMPARE(openedOn, QStringLiteral("Zettel"));
    QCOMPARE(PrinterSetupFile::encode(PrinterSetupFile::load(sheets)->settings), saved);
    QCOMPARE(printers.printerName(), QStringLiteral("Zettel"));
    QCOMPARE(printers.printer().pageLayout().pageSize().id(), QPageSize::A5);

    // The standard menu item loads its own set-up again.
    main.Standardeinstellungen1->trigger();
    QCOMPARE(openedOn, QString());
    QCOMPARE(printers.printer().pageLayout().pageSize().id(), QPageSize::A4);

    // A damaged file is told, and saving anew mends it.
    QFile damaged(sheets);
    QVERIFY(damaged.resize(50));
    confirm = true;
    app.prompter().expect(PromptKind::Error, QStringLiteral("Die Druckereinstellungen in printerzettel.ini sind beschädigt."));
    main.Schiedsrichterzettel1->trigger();
    QVERIFY(app.prompter().verify());
    QVERIFY(PrinterSetupFile::load(sheets));
}

void TestAppMenu::registrationForm()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    app.prompter().expect(PromptKind::Warning, QStringLiteral("Legen Sie erst ein Turnier an"));
    main.anmeldeformularClick();
    QVERIFY(app.prompter().verify());
    QCOMPARE(app.prompter().shown().last().buttons, PromptButtons::Ok);
    QVERIFY(app.fake.files.calls().isEmpty());

    openTournament(app);
    const int callsBefore = int(app.fake.files.calls().size());
    main.anmeldeformularClick(); // cancelled
    QCOMPARE(app.fake.files.calls().size(), callsBefore + 1);

    // The program's writer: the tournament's classes in the order of their names.
    const QSqlDatabase db = app.program->forms.db_procedures->ADOConnection1();
    ClassRecord herren;
    herren.kbezeichnung = QStringLiteral("Herren");
    const int herrenKid = insertClass(db, app.context().aktuelleTID, herren, {}, {});
    ClassRecord damen;
    damen.kbezeichnung = QStringLiteral("Damen");
    damen.system = ClassKind::Doppel;
    const int damenKid = insertClass(db, app.context().aktuelleTID, damen, {}, {});
    QList<int> progress;
    connect(main.ProgressBar1, &QProgressBar::valueChanged, this, [&](int value) { progress << value; });
    app.fake.files.answer(app.folder.file(QStringLiteral("anmeldung")));
    app.prompter().expect(PromptKind::Information, QStringLiteral("Anmeldeformular wurde erfolgreich generiert"));
    click(main.turnierseite->anmeldeformular);
    QVERIFY(app.prompter().verify());
    QCOMPARE(main.SaveDialog1InitialDir, app.folder.path());
    QCOMPARE(app.fake.files.calls().last().filter, QStringLiteral("Anmeldeformular (Word) (*.docx)"));
    const ReturnedForm form = RegistrationFormReader::readFile(app.folder.file(QStringLiteral("anmeldung.docx")));
    QCOMPARE(form.classIds, (QList<int>{damenKid, herrenKid}));
    QCOMPARE(progress, (QList<int>{10, 20, 30, 40, 60, 80, 90, 100, 0}));

    // A failure shows its reason on the next line and takes the bar back to 0.
    const QString missing = app.folder.file(QStringLiteral("fehlt/anmeldung.docx"));
    app.fake.files.answer(missing);
    app.prompter().expectPrefix(PromptKind::Error,
                                QStringLiteral("Anmeldeformular konnte nicht erzeugt werden\nDie Datei „%1“ konnte "
                                               "nicht geschrieben werden: ")
                                    .arg(missing),
                                PromptAnswer::Cancel);
    click(main.turnierseite->anmeldeformular);
    QVERIFY(app.prompter().verify());
    QCOMPARE(app.prompter().shown().last().buttons, PromptButtons::Cancel);
    QCOMPARE(main.ProgressBar1->value(), 0);

    main.registrationFormWriter = [&](const QString&) {
        main.ProgressBar1->setValue(30);
        throw std::runtime_error("kein Platz");
    };
    app.fake.files.answer(app.folder.file(QStringLiteral("anmeldung.docx")));
    app.prompter().expect(PromptKind::Error, QStringLiteral("Anmeldeformular konnte nicht erzeugt werden\nkein Platz"),
                          PromptAnswer::Cancel);
    click(main.turnierseite->anmeldeformular);
    QVERIFY(app.prompter().verify());
    QCOMPARE(main.ProgressBar1->value(), 0);
}

void TestAppMenu::aboutBox()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    TImpressumForm* about = app.program->forms.ImpressumForm;
    QCOMPARE(about->VersionLabel->text(), QStringLiteral("2.53\n06.09.2009"));
    QVERIFY(!(about->windowFlags() & Qt::WindowCloseButtonHint));
    main.Impressum1->trigger();
    QVERIFY(about->isVisible());
    QVERIFY(!main.workAreaEnabled());
    QTest::mouseClick(about->WebLink, Qt::LeftButton);
    QTest::mouseClick(about->MailLink, Qt::LeftButton);
    QCOMPARE(app.fake.runner.opened.size(), 2);
    QCOMPARE(app.fake.runner.opened.at(0), QUrl(TImpressumForm::kWebSite));
    QCOMPARE(app.fake.runner.opened.at(1), QUrl(QStringLiteral("mailto:") + TImpressumForm::kMail));
    click(about->CloseButton);
    QVERIFY(!about->isVisible());
    QVERIFY(main.workAreaEnabled());
}

void TestAppMenu::quit()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.Beenden1->trigger();
    QVERIFY(!main.isVisible());
}

QTEST_MAIN(TestAppMenu)
#include "test_app_menu.moc"
