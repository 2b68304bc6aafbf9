// The live link dialog offscreen, on a real SQLite tournament database and
// against the fake service on 127.0.0.1: the remembered login in "Data.ini",
// login and logout with what the pages show, the tournament assignment, the
// online classes with their mapping rows, storing the mapping; and every
// failure of the service ends in its German message with nothing stored.
#include "data/faultinjection.h"
#include "data/livelinkrecords.h"
#include "data/sql.h"
#include "fakeliveservice.h"
#include "live/savedlogin.h"
#include "live/tcourtcastform.h"
#include "platform/inifile.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"
#include "zip/ziparc.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScrollArea>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <sys/stat.h>

using namespace bw;
using namespace bw::test;

Q_DECLARE_METATYPE(bw::test::FakeLiveService::Answer)

namespace {

using Answer = FakeLiveService::Answer;

constexpr int kTid = 1;
const QString kLoggedIn = QStringLiteral("Sie sind jetzt am Server angemeldet !\r\rBitte kontrollieren sie zunächst "
                                         "die Zuweisung\rdes Turniers zu einem Courtcast-Turnier!");
const QString kUnreachable = QStringLiteral(
    "Achtung der Webservice konnte nicht gefunden werden!\r\r1.) Haben sie eine Internetverbundung hergestellt?\r"
    "2.) Ist Port 80 an ihrer Firewall freigegeben?\r\rBitte probieren sie später noch einmal. Sollte das Problem\r"
    "weiterhin bestehen, wenden sie sich bitte an Ostrand Software.");
const QString kTwoTournaments =
    QStringLiteral("#*#17#*#4711#*#Stadtmeisterschaft#*#12.12.2026#*#4712#*#Pokal#*#01.03.2027");
const QString kClasses = QStringLiteral("#-#7#-#0#-#Herren A#-#12#-##-#8#-#0#-#Damen#-#1#-##-#9#-#1#-#Doppel#-#0#-#");

// The permission bits of a file.
int mode(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// What a tool tip shows.
QString shownText(const QString& toolTip)
{
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

// The address of a service that is not there.
QString closedPortUrl()
{
    QTcpServer closed;
    if (!closed.listen(QHostAddress::LocalHost))
        return QString();
    return QStringLiteral("http://127.0.0.1:%1/Webservice").arg(closed.serverPort());
}

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// A server on 127.0.0.1 that speaks TLS with a certificate of its own making,
// which no client accepts.
class UntrustedTlsServer {
public:
    bool start()
    {
        const QString key = m_dir.filePath(QStringLiteral("key.pem"));
        const QString certificate = m_dir.filePath(QStringLiteral("cert.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                       QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-keyout"), key, QStringLiteral("-out"), certificate, QStringLiteral("-days"),
                       QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1")});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            return false;
        QFile keyFile(key);
        QFile certificateFile(certificate);
        if (!keyFile.open(QIODevice::ReadOnly) || !certificateFile.open(QIODevice::ReadOnly))
            return false;
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(QSslCertificate(certificateFile.readAll()));
        configuration.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Ec));
        m_server.setSslConfiguration(configuration);
        return m_server.listen(QHostAddress::LocalHost);
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QTemporaryDir m_dir;
    QSslServer m_server;
};

// A tournament with three classes, one of them mapped to online class 7.
struct Desk {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    FakeLiveService service;
    QTemporaryDir settings;
    int tid = kTid;
    int liveLoginID = 0;
    QString url;
    std::unique_ptr<TCourtcastForm> form;

    explicit Desk(const QVariant& liveId = QVariant())
    {
        QVERIFY(service.start());
        url = service.baseUrl();
        insertRow(db(), QStringLiteral("Turnierdaten"), {{QStringLiteral("TID"), kTid}, {QStringLiteral("LiveID"), liveId}});
        const auto addClass = [&](int kid, const QString& name, int system, const QVariant& live) {
            insertRow(db(), QStringLiteral("Turnierklassen"),
                      {{QStringLiteral("KID"), kid}, {QStringLiteral("TID"), kTid}, {QStringLiteral("kbezeichnung"), name},
                       {QStringLiteral("system"), system}, {QStringLiteral("LiveKlassenID"), live}});
        };
        addClass(1, QStringLiteral("Herren A"), 0, 7);
        addClass(2, QStringLiteral("Damen"), 0, QVariant());
        addClass(3, QStringLiteral("Doppel"), 1, 0);
    }
    ~Desk()
    {
        form.reset();
        QVERIFY2(service.problems().isEmpty(), qPrintable(service.problems().join(QLatin1Char('\n'))));
    }
    QSqlDatabase db() const { return tdb.db(); }

    TCourtcastForm& make()
    {
        form = std::make_unique<TCourtcastForm>(
            nullptr, CourtcastLinks{prompter, [this] { return tdb.db(); }, tid, liveLoginID, url, settings.path()});
        form->limits.maxReplyBytes = 64 * 1024;
        form->show();
        return *form;
    }

    // Logs in with the given reply of the service.
    void login(const QString& reply)
    {
        service.script(QStringLiteral("CheckLogIn"), Answer::reply(reply));
        form->BenutzernameEdit->setText(QStringLiteral("anna@example.org"));
        form->PassWortEdit->setText(QStringLiteral("geheim"));
        prompter.expect(PromptKind::Information, kLoggedIn);
        click(form->LogInButton);
        QVERIFY(prompter.verify());
    }

    void fetchClasses(const QString& reply = kClasses)
    {
        service.script(QStringLiteral("GetKlassen"), Answer::reply(reply));
        click(form->KlassenAbrufenButton);
    }

    QLabel* rowLabel(int d) { return form->ScrollBox2->findChild<QLabel*>(QStringLiteral("KlassenLabel_%1").arg(d)); }
    QComboBox* rowBox(int d) { return form->ScrollBox2->findChild<QComboBox*>(QStringLiteral("KlassenBox_%1").arg(d)); }

    QList<int> mapping()
    {
        QList<int> ids;
        QSqlQuery q = execute(db(), QStringLiteral("SELECT LiveKlassenID FROM Turnierklassen ORDER BY KID"));
        while (q.next())
            ids << q.value(0).toInt();
        return ids;
    }

    bool pagesShown() const
    {
        return form->PageControl1->isTabVisible(TCourtcastForm::KlassenPage) &&
               form->PageControl1->isTabVisible(TCourtcastForm::AnmeldungPage) &&
               form->PageControl1->isTabVisible(TCourtcastForm::StatistikPage);
    }
    bool pagesHidden() const
    {
        return !form->PageControl1->isTabVisible(TCourtcastForm::KlassenPage) &&
               !form->PageControl1->isTabVisible(TCourtcastForm::AnmeldungPage) &&
               !form->PageControl1->isTabVisible(TCourtcastForm::StatistikPage);
    }
};

} // namespace

class TestCourtcastForm : public QObject {
    Q_OBJECT

private slots:
    void createdWithTheDialog()
    {
        Desk desk;
        TCourtcastForm& form = desk.make();
        QCOMPARE(form.objectName(), QStringLiteral("CourtcastForm"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Courtcast Anbindung"));
        QCOMPARE(form.TitleLabel->text(), QStringLiteral("Courtcast - Datenanbindung"));
        QCOMPARE(form.PageControl1->tabText(0), QStringLiteral("Systemanmeldung"));
        QCOMPARE(form.PageControl1->tabText(1), QStringLiteral("Turnierklassen-Abgleich"));
        QCOMPARE(form.PageControl1->tabText(2), QStringLiteral("Spieler-Anmeldungen"));
        QCOMPARE(form.PageControl1->tabText(3), QStringLiteral("Daten veröffentlichen"));
        QVERIFY(desk.pagesHidden());
        QVERIFY(!form.TurnierAssignBox->isVisible() && !form.ZuordButton->isVisible() && !form.NoTurnierLabel->isVisible());
        QCOMPARE(items(form.TurnierAssignBox), QStringList{QStringLiteral("-- Bitte nehmen sie eine Zuordnung vor --")});
        QVERIFY(!form.KlassenAssignSaveButton->isEnabled());

        // The zip component: loaded with the form, active, never asked for anything.
        auto* zip = form.findChild<zip::TZipArchiver*>(QStringLiteral("ZipArchiver1"));
        QCOMPARE(zip, form.ZipArchiver1);
        QVERIFY(zip->Active() && zip->worker().isActive());
        QVERIFY(!zip->Dll_Load() && zip->ZipFileName().isEmpty());
        QCOMPARE(zip->settings(), zip::TZipSettings{});
        QCOMPARE(desk.service.descriptionFetches(), 0);
    }

    void rememberedLogin()
    {
        Desk desk;
        const QString file = savedLoginFile(desk.settings.path());
        {
            // No "Data.ini": empty and unticked; closing unticked writes both keys empty.
            TCourtcastForm& form = desk.make();
            QVERIFY(form.BenutzernameEdit->text().isEmpty() && form.PassWortEdit->text().isEmpty());
            QVERIFY(!form.SaveSettingBox->Checked());
            form.BenutzernameEdit->setText(QStringLiteral("anna"));
            form.close();
            IniFile ini(file);
            QVERIFY(ini.load());
            QVERIFY(ini.hasKey(QStringLiteral("Brackwell"), QStringLiteral("Benutzer")));
            QCOMPARE(ini.readString(QStringLiteral("Brackwell"), QStringLiteral("Benutzer"), QStringLiteral("?")), QString());
            QCOMPARE(ini.readString(QStringLiteral("Brackwell"), QStringLiteral("Passwort"), QStringLiteral("?")), QString());
            QCOMPARE(mode(file), 0600);
        }
        {
            // Ticked: both texts are kept, the file stays the owner's alone.
            TCourtcastForm& form = desk.make();
            form.BenutzernameEdit->setText(QStringLiteral("anna@example.org"));
            form.PassWortEdit->setText(QStringLiteral("gé=heim"));
            click(form.SaveSettingBox);
            QVERIFY(form.SaveSettingBox->Checked());
            form.close();
            QCOMPARE(mode(file), 0600);
        }
        {
            TCourtcastForm& form = desk.make();
            QCOMPARE(form.BenutzernameEdit->text(), QStringLiteral("anna@example.org"));
            QCOMPARE(form.PassWortEdit->text(), QStringLiteral("gé=heim"));
            QVERIFY(form.SaveSettingBox->Checked());
        }
        // A password alone ticks the box too.
        writeSavedLogin(file, {QString(), QStringLiteral("x")});
        QVERIFY(desk.make().SaveSettingBox->Checked());
        // A file the desk cannot write: the reason is shown when the dialog closes.
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir(desk.settings.path()).mkdir(QStringLiteral("Data.ini")));
        desk.prompter.expectPrefix(PromptKind::Error, QStringLiteral("Die Anmeldedaten konnten nicht in \""));
        desk.form->close();
        QVERIFY(desk.prompter.verify());
    }

    void loginWithoutTournament()
    {
        Desk desk;
        TCourtcastForm& form = desk.make();
        desk.login(QStringLiteral("#*#17"));
        QCOMPARE(desk.liveLoginID, 17);
        QCOMPARE(desk.service.calls().first().parameters,
                 (QList<QPair<QString, QString>>{{QStringLiteral("Group"), QString()},
                                                 {QStringLiteral("Email"), QStringLiteral("anna@example.org")},
                                                 {QStringLiteral("Password"), QStringLiteral("geheim")}}));
        QCOMPARE(desk.service.descriptionFetches(), 1);
        QVERIFY(form.NoTurnierLabel->isVisible());
        QVERIFY(!form.TurnierAssignBox->isVisible() && !form.ZuordButton->isVisible());
        QVERIFY(desk.pagesHidden());
        QVERIFY(!form.BenutzernameEdit->isEnabled() && !form.PassWortEdit->isEnabled());
        QCOMPARE(form.LogInButton->Caption(), QStringLiteral("Abmelden"));
        QVERIFY(form.isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        // Logging out keeps the list and the assignment.
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Sie sind jetzt wieder abgemeldet !"));
        click(form.LogInButton);
        QCOMPARE(desk.liveLoginID, 0);
        QVERIFY(form.BenutzernameEdit->isEnabled() && form.PassWortEdit->isEnabled());
        QCOMPARE(form.LogInButton->Caption(), QStringLiteral("Am Server anmelden"));
        QVERIFY(!form.NoTurnierLabel->isVisible());
        QCOMPARE(desk.service.descriptionFetches(), 1);
    }

    void loginPreselectsTheAssignment()
    {
        Desk desk(4712);
        TCourtcastForm& form = desk.make();
        QCOMPARE(form.liveTurnierID, 4712);
        // The dialog waits with its pages disabled under the busy cursor while
        // the service answers.
        bool disabledWhileWaiting = false;
        desk.service.onCall = [&](const FakeLiveService::Call&) {
            disabledWhileWaiting = !form.LogInButton->isEnabled() && !form.PageControl1->tabBar()->isEnabled() &&
                                   QApplication::overrideCursor() &&
                                   QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };
        desk.login(kTwoTournaments);
        QVERIFY(disabledWhileWaiting);
        QCOMPARE(items(form.TurnierAssignBox),
                 (QStringList{QStringLiteral("-- Bitte nehmen sie eine Zuordnung vor --"),
                              QStringLiteral("4711 - Stadtmeisterschaft - 12.12.2026"), QStringLiteral("4712 - Pokal - 01.03.2027")}));
        QCOMPARE(form.TurnierAssignBox->currentIndex(), 2);
        QVERIFY(form.TurnierAssignBox->isVisible() && form.ZuordButton->isVisible());
        QVERIFY(!form.NoTurnierLabel->isVisible());
        QVERIFY(desk.pagesShown());

        // A later login one item short of a tournament keeps the list.
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Sie sind jetzt wieder abgemeldet !"));
        click(form.LogInButton);
        desk.login(QStringLiteral("#*#17#*#4713#*#Neu"));
        QCOMPARE(form.liveTurniere.size(), 2);
        QCOMPARE(form.TurnierAssignBox->count(), 3);
    }

    void loginRefused_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("message");
        QTest::newRow("error text") << QStringLiteral("Benutzer <b>unbekannt</b>")
                                    << QStringLiteral("Achtung es trat folgender Fehler auf:\rBenutzer <b>unbekannt</b>");
        QTest::newRow("user id 0") << QStringLiteral("#*#0#*#4711#*#A#*#B")
                                   << QStringLiteral("Achtung es trat folgender Fehler auf:\rDer Server lieferte keine "
                                                     "gültige Benutzerkennung: 0");
        QTest::newRow("user id no number") << QStringLiteral("#*#x17")
                                           << QStringLiteral("Achtung es trat folgender Fehler auf:\rDer Server lieferte "
                                                             "keine gültige Benutzerkennung: x17");
    }
    void loginRefused()
    {
        QFETCH(QString, reply);
        QFETCH(QString, message);
        Desk desk;
        TCourtcastForm& form = desk.make();
        desk.service.script(QStringLiteral("CheckLogIn"), Answer::reply(reply));
        desk.prompter.expect(PromptKind::Error, message);
        click(form.LogInButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.liveLoginID, 0);
        QVERIFY(form.liveTurniere.isEmpty());
        QVERIFY(form.BenutzernameEdit->isEnabled());
        QCOMPARE(form.LogInButton->Caption(), QStringLiteral("Am Server anmelden"));
        QVERIFY(!form.TurnierAssignBox->isVisible() && !form.NoTurnierLabel->isVisible());
    }

    void serviceFailures_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("message");
        QTest::newRow("Fault") << Answer::fault(QStringLiteral("kaputt"))
                               << QStringLiteral("Der Courtcast-Dienst meldet einen Fehler: kaputt");
        QTest::newRow("HTTP 500") << Answer::http500() << QStringLiteral("Der Courtcast-Dienst antwortete mit dem HTTP-Status 500.");
        QTest::newRow("garbage") << Answer::garbage()
                                 << QStringLiteral("Die Antwort des Courtcast-Dienstes ist keine gültige SOAP-Nachricht.");
        QTest::newRow("too large") << Answer::tooLarge(64 * 1024 + 1)
                                   << QStringLiteral("Die Antwort des Courtcast-Dienstes ist größer als 64 KiB und wurde verworfen.");
        QTest::newRow("timeout") << Answer::silence() << QStringLiteral("hat nicht innerhalb von 0,3 Sekunden geantwortet.");
        QTest::newRow("closed port") << Answer() << QStringLiteral("ist nicht erreichbar: die Verbindung wurde abgelehnt.");
    }
    // Login shows its own message; fetching the classes shows the error's text;
    // nothing stored changes and nothing is left half done.
    void serviceFailures()
    {
        QFETCH(Answer, answer);
        QFETCH(QString, message);
        const bool closedPort = answer.kind == Answer::Kind::Text;
        Desk desk(4711);
        TCourtcastForm& form = desk.make();
        desk.login(kTwoTournaments);
        desk.fetchClasses();
        QCOMPARE(form.onlineKlassenAnzahl, 3);
        const QStringList before = dumpTables(desk.db());

        if (closedPort)
            desk.url = closedPortUrl();
        else
            desk.service.script(QStringLiteral("GetKlassen"), answer);
        // A silent service is given up on soon.
        if (answer.kind == Answer::Kind::Silence)
            form.limits.deadline = std::chrono::milliseconds(300);
        desk.prompter.expectPrefix(PromptKind::Error, QString()); // the text is checked below
        click(form.KlassenAbrufenButton);
        QVERIFY(desk.prompter.verify());
        const QString text = desk.prompter.shown().last().text;
        QVERIFY2(text.endsWith(message), qPrintable(text));
        QCOMPARE(form.onlineKlassenAnzahl, 0);
        QVERIFY(!desk.rowLabel(1));
        QVERIFY(!form.KlassenAssignSaveButton->isEnabled());
        QVERIFY(form.isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        // The login shows its own message with the reason below it and stays
        // logged out.
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Sie sind jetzt wieder abgemeldet !"));
        click(form.LogInButton);
        if (!closedPort)
            desk.service.script(QStringLiteral("CheckLogIn"), answer);
        desk.prompter.expect(PromptKind::Error, kUnreachable + QLatin1Char('\r') + text);
        click(form.LogInButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.liveLoginID, 0);
        QVERIFY(form.BenutzernameEdit->isEnabled());
        QCOMPARE(dumpTables(desk.db()), before);
    }

    // The login on a bad network: the seven lines and the reason as the last
    // one; nothing typed reaches another server.
    void loginOnABadNetwork_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("HTTP 500") << QStringLiteral("http500")
                                  << QStringLiteral("Der Courtcast-Dienst antwortete mit dem HTTP-Status 500.");
        QTest::newRow("closed without reply") << QStringLiteral("close")
                                              << QStringLiteral("hat die Verbindung ohne Antwort geschlossen.");
        QTest::newRow("redirect elsewhere") << QStringLiteral("redirect") << QStringLiteral("leitet den Aufruf nach");
        QTest::newRow("endpoint elsewhere") << QStringLiteral("endpoint")
                                            << QStringLiteral("schickt die Aufrufe an http://127.0.0.1:");
        QTest::newRow("certificate") << QStringLiteral("certificate")
                                     << QStringLiteral("die verschlüsselte Verbindung kam nicht zustande (das "
                                                       "Zertifikat des Servers ist selbst ausgestellt).");
    }
    void loginOnABadNetwork()
    {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        Desk desk;
        FakeLiveService other;
        QVERIFY(other.start());
        other.setResponder([](const FakeLiveService::Call&) { return Answer::reply(QStringLiteral("#*#17")); });
        const QString elsewhere = QStringLiteral("http://127.0.0.1:%1/Webservice/soap/IServerInfo").arg(other.port());
        UntrustedTlsServer tls;
        if (how == QLatin1String("http500")) {
            desk.service.script(QStringLiteral("CheckLogIn"), Answer::http500());
        } else if (how == QLatin1String("close")) {
            desk.service.script(QStringLiteral("CheckLogIn"), Answer::close());
        } else if (how == QLatin1String("redirect")) {
            desk.service.script(QStringLiteral("CheckLogIn"), Answer::redirect(307, elsewhere));
        } else if (how == QLatin1String("endpoint")) {
            desk.service.scriptDescription(
                Answer::raw(desk.service.description(FakeLiveService::Binding::Encoded, elsewhere)));
        } else {
            QVERIFY(tls.start());
            desk.url = QStringLiteral("https://127.0.0.1:%1/Webservice").arg(tls.port());
        }
        TCourtcastForm& form = desk.make();
        form.BenutzernameEdit->setText(QStringLiteral("anna@example.org"));
        form.PassWortEdit->setText(QStringLiteral("geheim"));
        desk.prompter.expectPrefix(PromptKind::Error, kUnreachable + QLatin1Char('\r'));
        click(form.LogInButton);
        QVERIFY(desk.prompter.verify());
        const QString text = desk.prompter.shown().last().text;
        QVERIFY2(text.mid(kUnreachable.size() + 1).contains(reason), qPrintable(text));
        QVERIFY(!text.mid(kUnreachable.size() + 1).contains(QLatin1Char('\r'))); // one last line
        QCOMPARE(desk.liveLoginID, 0);
        QVERIFY(other.calls().isEmpty());
        QCOMPARE(desk.service.operations().size(), how == QLatin1String("endpoint") ? 0 : how == QLatin1String("certificate") ? 0 : 1);
    }

    // Closing the dialog, or Escape, while a call waits ends the call at once
    // and keeps the dialog; the login stays undone.
    void closingEndsAWaitingCall_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close button") << false;
    }
    void closingEndsAWaitingCall()
    {
        QFETCH(bool, escape);
        Desk desk;
        TCourtcastForm& form = desk.make();
        desk.service.script(QStringLiteral("CheckLogIn"), Answer::drip(kTwoTournaments, 50));
        desk.service.onCall = [&](const FakeLiveService::Call&) {
            QTimer::singleShot(50, &form, [&] {
                QVERIFY(form.isEnabled() && !form.LogInButton->isEnabled());
                if (escape)
                    QTest::keyClick(&form, Qt::Key_Escape);
                else
                    form.close();
            });
        };
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Der Vorgang wurde abgebrochen."));
        click(form.LogInButton);
        QVERIFY(desk.prompter.verify());
        QVERIFY(form.isVisible());
        QCOMPARE(desk.liveLoginID, 0);
        QVERIFY(form.LogInButton->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        // Closed when nothing waits.
        form.close();
        QVERIFY(!form.isVisible());
    }

    void assignment()
    {
        Desk desk(4711);
        TCourtcastForm& form = desk.make();
        desk.login(kTwoTournaments);
        desk.fetchClasses();
        QCOMPARE(form.onlineKlassenAnzahl, 3);

        // Choosing another tournament changes nothing until it is assigned.
        form.TurnierAssignBox->setCurrentIndex(2);
        QCOMPARE(readLiveTournamentId(desk.db(), kTid), 4711);
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuordnung wurde angepasst."));
        click(form.ZuordButton);
        QCOMPARE(readLiveTournamentId(desk.db(), kTid), 4712);
        QCOMPARE(form.liveTurnierID, 4712);
        QCOMPARE(form.onlineKlassenAnzahl, 0); // the rows belonged to the other tournament
        QVERIFY(!desk.rowLabel(1));
        QVERIFY(desk.pagesShown());

        // The prompt item stores 0 and hides pages 2 to 4.
        form.PageControl1->setCurrentIndex(TCourtcastForm::KlassenPage);
        form.TurnierAssignBox->setCurrentIndex(0);
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuordnung wurde angepasst."));
        click(form.ZuordButton);
        QCOMPARE(readLiveTournamentId(desk.db(), kTid), 0);
        QCOMPARE(form.liveTurnierID, 0);
        QVERIFY(desk.pagesHidden());
        QCOMPARE(form.PageControl1->currentIndex(), int(TCourtcastForm::UserPage));

        // Another desk assigned meanwhile: nothing is overwritten; the pages follow
        // what is stored, the box keeps the choice, and a second click assigns it.
        execute(desk.db(), QStringLiteral("UPDATE Turnierdaten SET LiveID=4711"));
        form.TurnierAssignBox->setCurrentIndex(2);
        desk.prompter.expect(PromptKind::Error,
                             QStringLiteral("Es trat ein Fehler auf! Die Zuordnung konnte nicht angepasst werden.\rDie "
                                            "Zuordnung des Turniers wurde inzwischen an einem anderen Arbeitsplatz geändert."));
        click(form.ZuordButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(readLiveTournamentId(desk.db(), kTid), 4711);
        QCOMPARE(form.liveTurnierID, 4711);
        QCOMPARE(form.TurnierAssignBox->currentIndex(), 2);
        QVERIFY(desk.pagesShown());
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuordnung wurde angepasst."));
        click(form.ZuordButton);
        QCOMPARE(readLiveTournamentId(desk.db(), kTid), 4712);
        QVERIFY(desk.service.calls().size() == 2); // assigning never calls the service
    }

    void onlineClasses()
    {
        Desk desk(4711);
        TCourtcastForm& form = desk.make();
        desk.login(kTwoTournaments);
        // The calls name the stored assignment, not what the box shows now.
        form.TurnierAssignBox->setCurrentIndex(0);
        form.PageControl1->setCurrentIndex(TCourtcastForm::KlassenPage);
        desk.fetchClasses();
        QCOMPARE(desk.service.calls().last().value(QStringLiteral("TurnierID")), QStringLiteral("4711"));
        QCOMPARE(desk.service.descriptionFetches(), 2); // one per action

        QCOMPARE(form.onlineKlassenAnzahl, 3);
        const QStringList local{QStringLiteral("-- Keine Zuweisung --"), QStringLiteral("Damen (Ez)"),
                                QStringLiteral("Doppel (Dp)"), QStringLiteral("Herren A (Ez)")};
        QCOMPARE(desk.rowLabel(1)->text(), QStringLiteral("Herren A (Ez)"));
        QCOMPARE(desk.rowLabel(1)->textFormat(), Qt::PlainText); // the service's texts are no markup
        QCOMPARE(desk.rowLabel(1)->property("Tag").toInt(), 7);
        QVERIFY(desk.rowLabel(1)->font().bold());
        QCOMPARE(shownText(desk.rowLabel(1)->toolTip()), QStringLiteral("Es haben sich bereits 12 Spieler angemeldet."));
        QVERIFY(desk.rowLabel(2)->font().bold());
        QCOMPARE(shownText(desk.rowLabel(2)->toolTip()), QStringLiteral("Es hat sich bereits 1 Spieler angemeldet."));
        QVERIFY(!desk.rowLabel(3)->font().bold());
        QVERIFY(desk.rowLabel(3)->toolTip().isEmpty());
        QCOMPARE(desk.rowLabel(3)->text(), QStringLiteral("Doppel (Dp)"));
        QCOMPARE(items(desk.rowBox(1)), local);
        QCOMPARE(desk.rowBox(1)->currentIndex(), 3); // Herren A is mapped to 7
        QCOMPARE(desk.rowBox(2)->currentIndex(), 0);
        QCOMPARE(desk.rowLabel(2)->geometry().topLeft(), QPoint(10, 30));
        QCOMPARE(desk.rowBox(2)->geometry().topLeft(), QPoint(250, 28));
        QCOMPARE(form.KlasseIDBox->count(), 4);
        QCOMPARE(form.KlasseIDBox->item(0)->text(), QStringLiteral("0"));
        QCOMPARE(form.KlasseIDBox->item(3)->text(), QStringLiteral("1"));
        QVERIFY(form.KlassenAssignSaveButton->isEnabled());

        // A list the check refuses leaves no rows and nothing to save.
        desk.prompter.expect(PromptKind::Error, QStringLiteral("Achtung es trat folgender Fehler auf:\rDie Liste der "
                                                               "Klassen wurde nicht korrekt geladen!"));
        desk.fetchClasses(QStringLiteral("#-#7#-#0#-#Herren A#-#12#-##-#"));
        QVERIFY(desk.prompter.verify());
        QCOMPARE(form.onlineKlassenAnzahl, 0);
        QVERIFY(!desk.rowLabel(1));
        QVERIFY(!form.KlassenAssignSaveButton->isEnabled());
        form.PageControl1->setCurrentIndex(TCourtcastForm::UserPage);
        form.PageControl1->setCurrentIndex(TCourtcastForm::KlassenPage);
        QVERIFY(!form.KlassenAssignSaveButton->isEnabled());
    }

    void storingTheMapping()
    {
        Desk desk(4711);
        TCourtcastForm& form = desk.make();
        desk.login(kTwoTournaments);
        desk.fetchClasses();

        // Herren A -> 8, Doppel -> 9 and also row 1 -> Doppel: the later row wins.
        desk.rowBox(1)->setCurrentIndex(2);
        desk.rowBox(2)->setCurrentIndex(3);
        desk.rowBox(3)->setCurrentIndex(2);
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuweisungen wurden übernommen"));
        click(form.KlassenAssignSaveButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.mapping(), (QList<int>{8, 0, 9}));

        // A second save compares with what the first one stored.
        desk.rowBox(1)->setCurrentIndex(0);
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuweisungen wurden übernommen"));
        click(form.KlassenAssignSaveButton);
        QCOMPARE(desk.mapping(), (QList<int>{8, 0, 9}));
        desk.rowBox(2)->setCurrentIndex(0);
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuweisungen wurden übernommen"));
        click(form.KlassenAssignSaveButton);
        QCOMPARE(desk.mapping(), (QList<int>{0, 0, 9}));

        // A failing statement (every one is checked on the records): the error,
        // nothing stored, the choices kept for another click.
        desk.rowBox(1)->setCurrentIndex(1);
        desk.rowBox(2)->setCurrentIndex(3);
        FaultInjection::failStatement(desk.db(), 2);
        desk.prompter.expectPrefix(PromptKind::Error, QStringLiteral("Eingeschleuster Fehler"));
        click(form.KlassenAssignSaveButton);
        FaultInjection::clear(desk.db());
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.mapping(), (QList<int>{0, 0, 9}));
        QCOMPARE(desk.rowBox(1)->currentIndex(), 1);
        QCOMPARE(desk.rowBox(2)->currentIndex(), 3);
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuweisungen wurden übernommen"));
        click(form.KlassenAssignSaveButton);
        QCOMPARE(desk.mapping(), (QList<int>{8, 7, 9}));

        // Another desk mapped a class meanwhile that this desk changes: refused; a
        // second click overwrites it.
        execute(desk.db(), QStringLiteral("UPDATE Turnierklassen SET LiveKlassenID=5 WHERE KID=1"));
        desk.rowBox(2)->setCurrentIndex(0);
        desk.prompter.expect(PromptKind::Error,
                             QStringLiteral("Die Klasse \"Herren A\" wurde inzwischen an einem anderen Arbeitsplatz geändert."));
        click(form.KlassenAssignSaveButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.mapping(), (QList<int>{5, 7, 9}));
        QCOMPARE(desk.rowBox(2)->currentIndex(), 0);
        desk.prompter.expect(PromptKind::Information, QStringLiteral("Die Zuweisungen wurden übernommen"));
        click(form.KlassenAssignSaveButton);
        QCOMPARE(desk.mapping(), (QList<int>{0, 7, 9}));
    }

    void showAfterAnotherTournamentOpened()
    {
        Desk desk(4711);
        TCourtcastForm& form = desk.make();
        desk.login(kTwoTournaments);
        desk.fetchClasses();
        form.close();

        // Opening a tournament logs out without touching the dialog.
        insertRow(desk.db(), QStringLiteral("Turnierdaten"), {{QStringLiteral("TID"), 2}, {QStringLiteral("LiveID"), 4712}});
        desk.tid = 2;
        desk.liveLoginID = 0;
        form.show();
        QVERIFY(form.BenutzernameEdit->isEnabled() && form.PassWortEdit->isEnabled());
        QCOMPARE(form.LogInButton->Caption(), QStringLiteral("Am Server anmelden"));
        QCOMPARE(form.liveTurnierID, 4712);
        QCOMPARE(form.onlineKlassenAnzahl, 0);
        QVERIFY(!desk.rowLabel(1));
        QVERIFY(desk.pagesHidden());
        QVERIFY(!form.TurnierAssignBox->isVisible());
        desk.login(kTwoTournaments);
        QCOMPARE(form.TurnierAssignBox->currentIndex(), 2);
    }
};

QTEST_MAIN(TestCourtcastForm)
#include "test_courtcastform.moc"
