// Start-up and the main window in its start state: the plan-definition files,
// the navigation, the menu, the caption, the pictures and the settings read at
// start.
#include "appfixture.h"

#include "app/busyanimation.h"
#include "app/jpegpicture.h"
#include "app/liveservice.h"
#include "app/navigationbar.h"
#include "app/program.h"
#include "app/serverbrowser.h"
#include "app/tmainform.h"
#include "app/tournamentpage.h"
#include "data/db_procedures.h"
#include "gif/tgifimage.h"
#include "platform/inifile.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace bw;
using namespace bw::test;

class TestAppStartup : public QObject {
    Q_OBJECT
private slots:
    void missingPlanFiles_data();
    void missingPlanFiles();
    void startState();
    void busyAnimation();
    void wheelStepMovesNavigationByFive();
    void pointerOverBarTakesFocus();
    void liveServiceAddress_data();
    void liveServiceAddress();
    void liveTrustedEndpoints();
    void serverNames_data();
    void serverNames();
    void rememberedServers();
    void jpegPictures();
    // Last: it makes the application German for the rest of the run.
    void applicationSpeaksGerman();
};

void TestAppStartup::missingPlanFiles_data()
{
    QTest::addColumn<int>("planFiles");
    QTest::addColumn<QStringList>("messages");
    const QString groups = QStringLiteral("Die Datei \"system.txt\" konnte nicht gefunden werden");
    const QString knockOut = QStringLiteral("Die Datei \"ko_system.txt\" konnte nicht gefunden werden");
    QTest::newRow("both missing") << int(AppFixture::None) << QStringList{groups, knockOut};
    QTest::newRow("groups missing") << int(AppFixture::OnlyKnockOut) << QStringList{groups};
    QTest::newRow("knock-out missing") << int(AppFixture::OnlyGroups) << QStringList{knockOut};
}

void TestAppStartup::missingPlanFiles()
{
    QFETCH(int, planFiles);
    QFETCH(QStringList, messages);
    AppFixture app{AppFixture::PlanFiles(planFiles)};
    for (const QString& text : messages)
        app.prompter().expect(PromptKind::Error, text, PromptAnswer::Cancel);
    Program& program = app.start();
    QVERIFY(app.prompter().verify());
    for (const ShownPrompt& shown : app.prompter().shown())
        QCOMPARE(shown.buttons, PromptButtons::Cancel);
    // The program ends as soon as it would start its loop, with an error code.
    QVERIFY(program.exec() != 0);
    QVERIFY(!app.main().isVisible());
}

void TestAppStartup::startState()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    QCOMPARE(main.windowTitle(), QStringLiteral("Brackwell 2.53 - "));
    QCOMPARE(main.VersionLab->text(), QStringLiteral("Brackwell - Version 2.53"));
    QCOMPARE(main.frontPanel(), main.welcome);
    QCOMPARE(main.Panels->count(), 9);
    QVERIFY(main.minimumWidth() >= 830 && main.minimumHeight() >= 670);

    // Only "Turnierdaten" is open; the other bars are collapsed and disabled.
    QVERIFY(!main.Turnierbutton->collapsed());
    QVERIFY(main.Turnierbutton->isEnabled());
    for (NavigationBar* bar : {main.Klassenbutton, main.Spielerbutton, main.spielplanbutton, main.exportbutton}) {
        QVERIFY2(bar->collapsed(), qPrintable(bar->objectName()));
        QVERIFY2(!bar->isEnabled(), qPrintable(bar->objectName()));
    }
    QCOMPARE(main.spielplanbutton->itemCount(), 0);
    QCOMPARE(main.Klassenbutton->itemCount(), 1);
    QCOMPARE(main.Klassenbutton->itemCaption(0), QStringLiteral("Klassen verwalten"));
    const QStringList tournamentItems{QStringLiteral("Turnier erstellen"), QStringLiteral("Turnier laden"),
                                      QStringLiteral("Turnier löschen"), QStringLiteral("Turnierdaten bearbeiten")};
    for (int i = 0; i < tournamentItems.size(); ++i) {
        QCOMPARE(main.Turnierbutton->itemCaption(i), tournamentItems.at(i));
        QCOMPARE(main.Turnierbutton->itemEnabled(i), i < 2);
    }

    // The menu: "Datei", "Slatewright" and "Information" work without a tournament.
    for (QAction* action : {main.Spieleplaner1, main.AKverwaltung, main.Kostenabrechnung, main.CourtcastMenuitem})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    for (QAction* action : {main.Schiedsrichterzettel1, main.Standardeinstellungen1, main.Beenden1, main.Slatewright1,
                            main.Handbuch1, main.Impressum1, main.BrackwellImInternet1})
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(main.workAreaEnabled());

    QVERIFY(!main.Timer1->isActive());
    QCOMPARE(main.Timer1->interval(), 60000);
    QVERIFY(!main.PrinterBox->isVisible());
    QVERIFY(!main.inprogress->isVisible());
    QVERIFY(app.context().naechstesSpielAnzeigen);
    QVERIFY(!app.program->forms.db_procedures->accessDB);
    QCOMPARE(app.program->forms.db_procedures->serverName, QSysInfo::machineHostName());
    QCOMPARE(app.context().aktuelleTID, 0);
    QCOMPARE(main.turnierseite->Tvon->date(), QDate(2026, 12, 10));
    QCOMPARE(main.turnierseite->Tbis->date(), QDate(2026, 12, 10));
    QVERIFY(!app.program->forms.db_procedures->isConnected());
}

void TestAppStartup::busyAnimation()
{
    {
        AppFixture app;
        QFile::remove(app.folder.file(QStringLiteral("Images/pong.gif")));
        app.start();
        QCOMPARE(app.main().inprogressTag, 2);
    }
    {
        // A file that is no GIF plays nothing either.
        AppFixture app;
        app.folder.write(QStringLiteral("Images/pong.gif"), "GIF89a");
        app.start();
        QCOMPARE(app.main().inprogressTag, 2);
        QVERIFY(!app.main().inprogress->hasPicture());
    }
    {
        AppFixture app;
        TGIFImage picture;
        QImage frame(24, 12, QImage::Format_RGB32);
        frame.fill(Qt::white);
        picture.Assign(frame);
        frame.fill(Qt::green);
        picture.AddFrame(frame);
        picture.SaveToFile(app.folder.file(QStringLiteral("Images/pong.gif")));
        app.start();
        QCOMPARE(app.main().inprogressTag, 1);
        QVERIFY(app.main().inprogressFile.endsWith(QStringLiteral("Images/pong.gif")));
        QVERIFY(app.main().inprogress->hasPicture());
        QCOMPARE(app.main().inprogress->sizeHint(), QSize(24, 12));
        QVERIFY(!app.main().inprogress->isVisible());
    }
}

void TestAppStartup::wheelStepMovesNavigationByFive()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    main.ScrollBox1->setFixedHeight(120);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QScrollBar* bar = main.ScrollBox1->verticalScrollBar();
    QVERIFY(bar->maximum() > 20);
    QWidget* viewport = main.ScrollBox1->viewport();
    const QPointF at(10, 10);
    auto wheel = [&](int delta) {
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    wheel(-120);
    QCOMPARE(bar->value(), 5);
    wheel(-480); // a large step moves by 5 as well
    QCOMPARE(bar->value(), 10);
    wheel(120);
    QCOMPARE(bar->value(), 5);
}

void TestAppStartup::pointerOverBarTakesFocus()
{
    AppFixture app;
    app.start();
    TMainform& main = app.main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QApplication::setActiveWindow(&main);
    main.enterCreatedState(); // "Turnierklassen" takes the pointer only while enabled
    for (NavigationBar* bar : {main.Turnierbutton, main.Klassenbutton}) {
        QTest::mouseMove(bar, QPoint(20, 15));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar));
    }
}

void TestAppStartup::liveServiceAddress_data()
{
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expected");
    const QString standard = defaultLiveServiceUrl();
    QTest::newRow("default") << QString() << QString() << standard;
    QTest::newRow("settings") << QString() << QStringLiteral("http://127.0.0.1:8080/Webservice")
                              << QStringLiteral("http://127.0.0.1:8080/Webservice");
    QTest::newRow("settings without path") << QString() << QStringLiteral("http://127.0.0.1:8080")
                                           << QStringLiteral("http://127.0.0.1:8080/Webservice");
    QTest::newRow("environment wins") << QStringLiteral("http://localhost:9/Webservice/")
                                      << QStringLiteral("http://127.0.0.1:8080/Webservice")
                                      << QStringLiteral("http://localhost:9/Webservice");
    QTest::newRow("nonsense is ignored") << QStringLiteral("no address") << QStringLiteral("::")
                                         << standard;
}

void TestAppStartup::liveServiceAddress()
{
    QFETCH(QString, environment);
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    QVERIFY(defaultLiveServiceUrl().endsWith(QStringLiteral("/Webservice")));
    AppFixture app;
    if (!settings.isEmpty()) {
        IniFile ini(qEnvironmentVariable("BRACKWELL_SETTINGS"));
        ini.writeString(QStringLiteral("Live"), QStringLiteral("URL"), settings);
        QVERIFY(ini.save());
    }
    if (!environment.isEmpty())
        qputenv("BRACKWELL_LIVE_URL", environment.toUtf8());
    app.start();
    qunsetenv("BRACKWELL_LIVE_URL");
    QCOMPARE(app.context().liveServiceURL, expected);
}

// Only the per-user settings name servers besides the service's own.
void TestAppStartup::liveTrustedEndpoints()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("brackwell.ini"));
    QCOMPARE(bw::liveTrustedEndpoints(file), QStringList());
    IniFile ini(file);
    ini.writeString(QStringLiteral("Live"), QStringLiteral("Endpunkte"),
                    QStringLiteral(" https://soap.example.org:8443, http://127.0.0.2:81  https://x.example,"));
    QVERIFY(ini.save());
    QCOMPARE(bw::liveTrustedEndpoints(file),
             (QStringList{QStringLiteral("https://soap.example.org:8443"), QStringLiteral("http://127.0.0.2:81"),
                          QStringLiteral("https://x.example")}));
}

void TestAppStartup::serverNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("clean");
    QTest::newRow("network name") << QStringLiteral("\\\\Turnier PC/") << QStringLiteral("TurnierPC");
    QTest::newRow("quotes") << QStringLiteral("'desk\"2'") << QStringLiteral("desk2");
    QTest::newRow("plain") << QStringLiteral("halle-1") << QStringLiteral("halle-1");
}

void TestAppStartup::serverNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, clean);
    QCOMPARE(ServerBrowser::cleanName(typed), clean);
}

void TestAppStartup::rememberedServers()
{
    TempProgramFolder folder(TempProgramFolder::Content::Empty);
    const QString settings = folder.file(QStringLiteral("config/brackwell.ini"));
    ServerBrowser browser(settings, QStringLiteral("desk"));
    QCOMPARE(browser.servers(), QStringList{QStringLiteral("desk")});
    browser.remember(QStringLiteral("halle"));
    browser.remember(QStringLiteral("buero"));
    browser.remember(QStringLiteral("HALLE"));
    browser.remember(QStringLiteral("desk"));
    QCOMPARE(ServerBrowser(settings, QStringLiteral("desk")).servers(),
             (QStringList{QStringLiteral("desk"), QStringLiteral("HALLE"), QStringLiteral("buero")}));
    for (int i = 0; i < 20; ++i)
        browser.remember(QStringLiteral("pc%1").arg(i));
    QCOMPARE(browser.servers().size(), ServerBrowser::kRemembered + 1);
    QCOMPARE(browser.servers().at(1), QStringLiteral("pc19"));
}

void TestAppStartup::jpegPictures()
{
    const QString logo = TempProgramFolder::sourceDir() + QStringLiteral("/resources/Images/logo.jpg");
    QFile file(logo);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QImage image = decodeJpeg(bytes);
    QCOMPARE(image.size(), QSize(320, 120));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));

    QString error;
    QVERIFY(decodeJpeg(QByteArray("not a picture"), &error).isNull());
    QVERIFY(!error.isEmpty());
    QVERIFY(decodeJpeg(QByteArray()).isNull());
    // A cut-off file still gives a picture of the full size (the rest grey),
    // and cutting into the header gives none; neither may crash.
    QCOMPARE(decodeJpeg(bytes.left(bytes.size() / 2)).size(), QSize(320, 120));
    QVERIFY(decodeJpeg(bytes.left(40)).isNull());
    QVERIFY(loadJpeg(QStringLiteral("/nonexistent/logo.jpg")).isNull());
}

void TestAppStartup::applicationSpeaksGerman()
{
    prepareApplication(*QCoreApplication::instance());
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Brackwell"));
    // No display name of its own: it follows the application's name, and the
    // window system appends nothing to the captions.
    QCoreApplication::setApplicationName(QStringLiteral("Probe"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Probe"));
    QCoreApplication::setApplicationName(QStringLiteral("Brackwell"));
    QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));

    // Qt's own dialogs speak German.
    QFileDialog dialog(nullptr, QStringLiteral("Datenbank wählen"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    const auto caption = [&](QDialogButtonBox::StandardButton which) {
        const QPushButton* button = buttons->button(which);
        return button ? button->text().remove(QLatin1Char('&')) : QString();
    };
    QCOMPARE(caption(QDialogButtonBox::Save), QStringLiteral("Speichern"));
    QCOMPARE(caption(QDialogButtonBox::Cancel), QStringLiteral("Abbrechen"));
}

QTEST_MAIN(TestAppStartup)
#include "test_app_startup.moc"
