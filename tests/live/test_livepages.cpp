// The live link dialog's pages "Spieler-Anmeldungen" and "Daten
// veröffentlichen" offscreen, on a real SQLite tournament database and against
// the fake service on 127.0.0.1: the registration rows and the take-over with
// its questions; the publish rows, the three calls with their exact records,
// the steps of the progress panel and every failure stopping where it happened.
#include "data/sql.h"
#include "fakeliveservice.h"
#include "live/tcourtcastform.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace bw;
using namespace bw::test;

Q_DECLARE_METATYPE(bw::test::FakeLiveService::Answer)

namespace {

using Answer = FakeLiveService::Answer;

constexpr int kTid = 1;
const QString kLoggedIn = QStringLiteral("Sie sind jetzt am Server angemeldet !\r\rBitte kontrollieren sie zunächst "
                                         "die Zuweisung\rdes Turniers zu einem Courtcast-Turnier!");
const QString kLogin = QStringLiteral("#*#17#*#4711#*#Stadtmeisterschaft#*#12.12.2026");
const QString kClasses = QStringLiteral("#-#7#-#0#-#Herren A#-#12#-##-#8#-#1#-#Doppel#-#1#-#");
const QString kCancelled = QStringLiteral("Der Vorgang wurde abgebrochen.");
const QString kPublished = QStringLiteral("Die Statistiken wurden erfolgreich veröffentlicht!");
const QString kCreate = QStringLiteral("Soll für diese Klasse eine NEUE Online-Klasse erstellt werden?");

// One registration as the service sends it (14 fields, each followed by "#-#").
QString registration(const QString& vorname, const QString& nachname, const QString& id, const QString& classes,
                     const QString& geb = s("30.06.2001"), const QString& verein = s("TSV Neu"))
{
    const QStringList fields{vorname, nachname, s("neu@example.org"), verein, id, geb, s("Kreis"), s("Bezirk"),
                             s("Land"), s("DE"), classes, s("m"), s("C"), s("1620")};
    return fields.join(s("#-#")) + s("#-#");
}

QString shownText(const QString& toolTip)
{
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

// A tournament assigned to online tournament 4711 with three classes (Herren A
// mapped to online class 7), two players entered in Herren A, one of them
// registered online (55), and a logged-in dialog.
struct Desk {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    FakeLiveService service;
    QTemporaryDir settings;
    int tid = kTid;
    int liveLoginID = 0;
    int aktuelleSID = 0;
    QString url;
    std::unique_ptr<TCourtcastForm> form;

    Desk()
    {
        QVERIFY(service.start());
        url = service.baseUrl();
        const QSqlDatabase db = tdb.db();
        insertRow(db, s("Turnierdaten"), {{s("TID"), kTid}, {s("LiveID"), 4711}});
        const auto addClass = [&](int kid, const char* name, int system, const QVariant& live) {
            insertRow(db, s("Turnierklassen"),
                      {{s("KID"), kid}, {s("TID"), kTid}, {s("kbezeichnung"), s(name)}, {s("system"), system},
                       {s("LiveKlassenID"), live}, {s("mann"), 1}, {s("saetze"), 3}, {s("altersklasseID"), s("Offen")},
                       {s("atag"), QDate(2026, 12, 12)}, {s("uhrzeit"), QDateTime(QDate(2026, 12, 12), QTime(10, 30))}});
        };
        addClass(1, "Herren A", 0, 7);
        addClass(2, "Damen", 0, QVariant());
        addClass(3, "Doppel", 1, 0);
        const auto addPlayer = [&](int sid, const char* nachname, const char* vorname, const QVariant& live) {
            insertRow(db, s("Spielerdaten"), {{s("TID"), kTid}, {s("SID"), sid}, {s("nachname"), s(nachname)},
                                              {s("vorname"), s(vorname)}, {s("verein"), s("TTC Alt")},
                                              {s("LiveSpielerID"), live}, {s("nummer"), sid}});
            insertRow(db, s("Spieler_im_turnier"), {{s("TID"), kTid}, {s("KID"), 1}, {s("SID"), sid}});
        };
        addPlayer(5, "Brenner", "Jana", QVariant());
        addPlayer(3, "Kowalski", "Piet", 55);

        form = std::make_unique<TCourtcastForm>(nullptr, CourtcastLinks{prompter, [this] { return tdb.db(); }, tid,
                                                                         liveLoginID, url, settings.path(),
                                                                         &aktuelleSID});
        form->show();
        service.script(s("CheckLogIn"), Answer::reply(kLogin));
        prompter.expect(PromptKind::Information, kLoggedIn);
        click(form->LogInButton);
        QVERIFY(prompter.verify());
        service.clearRecords();
    }
    ~Desk()
    {
        form.reset();
        QVERIFY2(service.problems().isEmpty(), qPrintable(service.problems().join(QLatin1Char('\n'))));
    }
    QSqlDatabase db() const { return tdb.db(); }

    template <typename T>
    T* row(const char* prefix, int n)
    {
        return form->findChild<T*>(QLatin1String(prefix) + QString::number(n));
    }
    QLabel* label(const char* prefix, int n) { return row<QLabel>(prefix, n); }
    TuiCheckbox* box(int i) { return row<TuiCheckbox>("AnmeldeCheckbox_", i); }

    void fetch(const QString& reply)
    {
        form->PageControl1->setCurrentIndex(TCourtcastForm::AnmeldungPage);
        service.script(s("GetAnmeldung"), Answer::reply(reply));
        click(form->GetAnmeldungButton);
    }
};

// The registrations of the page tests: a new player for Herren A, an update
// of player 55 without classes, and a player for an unmapped online class.
QString threeRegistrations()
{
    return s("#-#") + registration(s("Seán"), s("O'Brien"), s("101"), s("7")) +
           registration(s("Piet"), s("Kowalski"), s("55"), QString()) +
           registration(s("Lea"), s("Unbekannt"), s("102"), s("7,99"));
}

// A match row of class 1.
void addMatch(const QSqlDatabase& db, int nr, int phase, const QVariant& parent1, const QVariant& parent2,
              const QVariantMap& more = {})
{
    QVariantMap values{{s("KID"), 1}, {s("TID"), kTid}, {s("spielnummer"), nr}, {s("phase"), phase},
                       {s("gruppe"), -1}, {s("SID1"), 3}, {s("spieler1"), s("Kowalski, Piet")}, {s("SID2"), 5},
                       {s("spieler2"), s("Brenner, Jana")}, {s("parentspiel1"), parent1}, {s("parentspiel2"), parent2},
                       {s("parentsieger1"), 1}, {s("parentsieger2"), 1}, {s("ergebnis"), s("0:0")},
                       {s("spielstart"), QVariant()}, {s("geplanter_tag"), QDate(2026, 12, 12)}};
    for (int i = 1; i <= 9; ++i)
        values.insert(s("satz%1").arg(i), QVariant());
    for (auto it = more.cbegin(); it != more.cend(); ++it)
        values.insert(it.key(), it.value());
    insertRow(db, s("Spielplan"), values);
}

} // namespace

class TestLivePages : public QObject {
    Q_OBJECT

private slots:
    void registrationRows()
    {
        Desk desk;
        TCourtcastForm& form = *desk.form;
        desk.fetch(threeRegistrations());
        QCOMPARE(desk.service.operations(), QStringList{s("GetAnmeldung")});
        QCOMPARE(desk.service.calls().first().value(s("TurnierID")), s("4711"));
        QCOMPARE(desk.service.calls().first().value(s("Code")), s("quimbex"));
        QCOMPARE(form.anmeldungAnzahl, 3);
        QVERIFY(form.GetAnmeldungButton->isEnabled() && form.AnmeldungSetButton->isEnabled());

        QCOMPARE(desk.label("SpielerLabel_", 1)->text(), s("O'Brien, Seán"));
        QCOMPARE(shownText(desk.label("SpielerLabel_", 1)->toolTip()), s("O'Brien, Seán (TSV Neu, Kreis)"));
        QCOMPARE(desk.label("AnmeldeKlassenLabel_", 1)->text(), s("Herren A (Ez)"));
        QCOMPARE(desk.box(1)->Caption(), s("Neuanmeldung"));
        QVERIFY(desk.box(1)->Checked() && desk.box(1)->isEnabled());
        // Player 55 is in the tournament already.
        QCOMPARE(desk.box(2)->Caption(), s("(Update)"));
        QVERIFY(desk.box(2)->Checked() && desk.box(2)->isEnabled());
        QCOMPARE(desk.label("AnmeldeKlassenLabel_", 2)->text(), QString());
        // An online class no local class is mapped to: unticked and disabled.
        QCOMPARE(desk.label("AnmeldeKlassenLabel_", 3)->text(), s("Turnierklassen-Abgleich überprüfen!"));
        QVERIFY(desk.label("AnmeldeKlassenLabel_", 3)->styleSheet().contains(s("red")));
        QVERIFY(!desk.box(3)->Checked() && !desk.box(3)->isEnabled());
        QCOMPARE(desk.box(3)->geometry().top(), 18 * 3 - 13);

        // "Nur Neuanmeldungen": the update has no row and the rows close up;
        // unticking brings it back, all without asking the service again.
        click(form.NurNeuBox);
        QVERIFY(!desk.box(2) && !desk.label("SpielerLabel_", 2) && !desk.label("AnmeldeKlassenLabel_", 2));
        QCOMPARE(desk.box(3)->geometry().top(), 18 * 2 - 13);
        QCOMPARE(desk.label("SpielerLabel_", 3)->geometry().top(), 18 * 2 - 13);
        click(form.NurNeuBox);
        QVERIFY(desk.box(2));
        QCOMPARE(desk.box(3)->geometry().top(), 18 * 3 - 13);
        QCOMPARE(desk.service.calls().size(), 1);
    }

    void registrationReplies_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("noneLabel");
        QTest::newRow("none") << Answer::reply(s("0")) << int(PromptKind::Error) << s("Es liegen keine Anmeldungen vor")
                              << true;
        QTest::newRow("error text") << Answer::reply(s("Turnier unbekannt")) << int(PromptKind::Error)
                                    << s("Achtung es trat folgender Fehler auf :\rTurnier unbekannt") << false;
        QTest::newRow("wrong count") << Answer::reply(s("#-#a#-#b")) << int(PromptKind::Information)
                                     << s("Die Anmeldungen konnten nicht korrekt abgefragt werden. (2)") << false;
        QTest::newRow("HTTP 500") << Answer::http500() << int(PromptKind::Error)
                                  << s("Der Courtcast-Dienst antwortete mit dem HTTP-Status 500.") << false;
    }
    // Every failed fetch leaves the page usable: its message, the buttons back.
    void registrationReplies()
    {
        QFETCH(Answer, answer);
        QFETCH(int, kind);
        QFETCH(QString, message);
        QFETCH(bool, noneLabel);
        Desk desk;
        desk.form->PageControl1->setCurrentIndex(TCourtcastForm::AnmeldungPage);
        desk.service.script(s("GetAnmeldung"), answer);
        desk.prompter.expectPrefix(PromptKind(kind), QString());
        click(desk.form->GetAnmeldungButton);
        QVERIFY(desk.prompter.verify());
        const QString text = desk.prompter.shown().last().text;
        QVERIFY2(text.endsWith(message), qPrintable(text));
        QCOMPARE(desk.form->NoAnmeldungLab->isVisible(), noneLabel);
        QCOMPARE(desk.form->anmeldungAnzahl, 0);
        QVERIFY(desk.form->GetAnmeldungButton->isEnabled() && desk.form->AnmeldungSetButton->isEnabled());
        QVERIFY(desk.form->isEnabled());
    }

    void takeOver()
    {
        Desk desk;
        TCourtcastForm& form = *desk.form;
        desk.fetch(threeRegistrations());
        const QStringList before = dumpTables(desk.db());

        // Cancel: nothing written, the rows built anew, 0 reported.
        desk.prompter.expect(PromptKind::Question, s("Wollen sie jetzt die 2 Anmeldungen aufnehmen/aktualisieren?"),
                             PromptAnswer::Cancel);
        desk.prompter.expect(PromptKind::Information, s("Es wurden 0 Anmeldungen bearbeitet!"));
        click(form.AnmeldungSetButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(dumpTables(desk.db()), before);
        QVERIFY(desk.box(1));

        // Nothing ticked.
        click(desk.box(1));
        click(desk.box(2));
        desk.prompter.expect(PromptKind::Information, s("Es wurden keine Anmeldungen ausgewählt!"));
        click(form.AnmeldungSetButton);
        QVERIFY(desk.prompter.verify());
        click(desk.box(1));
        click(desk.box(2));

        desk.prompter.expect(PromptKind::Question, s("Wollen sie jetzt die 2 Anmeldungen aufnehmen/aktualisieren?"),
                             PromptAnswer::Yes);
        desk.prompter.expect(PromptKind::Information, s("Es wurden 2 Anmeldungen bearbeitet!"));
        click(form.AnmeldungSetButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(queryRows(desk.db(), s("SELECT SID, nachname, vorname, verein, nummer, LiveSpielerID, mann, geb "
                                   "FROM Spielerdaten ORDER BY SID")),
                 (QStringList{s("3|Kowalski|Piet|TSV Neu|3|55|1|2001-06-30 00:00:00"),
                              s("5|Brenner|Jana|TTC Alt|5|NULL|0|2026-05-01 10:00:00"),
                              s("6|O'Brien|Seán|TSV Neu|6|101|1|2001-06-30 00:00:00")}));
        QCOMPARE(queryRows(desk.db(), s("SELECT SID, KID FROM Spieler_im_turnier ORDER BY SID, KID")),
                 (QStringList{s("3|1"), s("5|1"), s("6|1")}));
        QCOMPARE(desk.aktuelleSID, 3); // the player written last
        // The rows show what is stored now.
        QCOMPARE(desk.box(1)->Caption(), s("(Update)"));
        QCOMPARE(desk.service.calls().size(), 1);
    }

    void namesake_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("players");
        QTest::addColumn<int>("written");
        QTest::newRow("Yes: that player") << int(PromptAnswer::Yes)
                                          << QStringList{s("3|55|Kowalski"), s("5|101|brenner")} << 1;
        QTest::newRow("No: a second player")
            << int(PromptAnswer::No) << QStringList{s("3|55|Kowalski"), s("5|NULL|Brenner"), s("6|101|brenner")} << 1;
        QTest::newRow("Ignore: nothing") << int(PromptAnswer::Ignore)
                                         << QStringList{s("3|55|Kowalski"), s("5|NULL|Brenner")} << 0;
    }
    void namesake()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, players);
        QFETCH(int, written);
        Desk desk;
        execute(desk.db(), s("UPDATE Spielerdaten SET geb='1980-01-02 00:00:00' WHERE SID=5"));
        desk.fetch(s("#-#") + registration(s("JANA"), s("brenner"), s("101"), s("7"), s("kein Datum")));
        desk.prompter.expect(PromptKind::Question, s("Wollen sie jetzt die 1 Anmeldungen aufnehmen/aktualisieren?"),
                             PromptAnswer::Yes);
        desk.prompter.expect(PromptKind::Question,
                             s("Folgender Spieler wurde bereits im Datenbestand gefunden:\rbrenner, JANA\r\r"
                               "Online-Anmeldung:\rVerein: TSV Neu\rGeburtsdatum: \r\rDatenbestand:\rVerein: TTC Alt\r"
                               "Geburtsdatum: 02.01.1980\r\rSoll der Spieler im Datenbestand überschrieben werden?\r"
                               "(Ignorieren = Anmeldedaten werden nicht verarbeitet)"),
                             PromptAnswer(answer));
        desk.prompter.expect(PromptKind::Information, s("Es wurden %1 Anmeldungen bearbeitet!").arg(written));
        click(desk.form->AnmeldungSetButton);
        QVERIFY(desk.prompter.verify());
        QCOMPARE(queryRows(desk.db(), s("SELECT SID, LiveSpielerID, nachname FROM Spielerdaten ORDER BY SID")), players);
        if (written == 1) {
            // Without a birth date the player's is Null; the class entered already
            // is not entered twice.
            QVERIFY(scalar(desk.db(), s("SELECT geb FROM Spielerdaten WHERE LiveSpielerID=101")).isNull());
            QCOMPARE(queryRows(desk.db(), s("SELECT e.KID FROM Spieler_im_turnier e JOIN Spielerdaten p ON p.SID=e.SID "
                                       "WHERE p.LiveSpielerID=101 ORDER BY e.KID")),
                     QStringList{s("1")});
        }
    }

    void publishRows()
    {
        Desk desk;
        TCourtcastForm& form = *desk.form;
        form.PageControl1->setCurrentIndex(TCourtcastForm::StatistikPage);
        QCOMPARE(form.statistikAnzahl, 3);
        const QStringList captions{s("Damen (Einzel)"), s("Doppel (Doppel)"), s("Herren A (Einzel)")};
        const QList<int> kids{2, 3, 1};
        const QList<int> tags{0, 0, 7};
        for (int n = 1; n <= 3; ++n) {
            QLabel* label = desk.label("StatistikLabel_", n);
            auto* button = desk.row<TuiButton>("StatistikButton_", n);
            QCOMPARE(label->text(), captions[n - 1]);
            QCOMPARE(label->property("Tag").toInt(), tags[n - 1]);
            QCOMPARE(label->styleSheet().contains(s("red")), tags[n - 1] == 0);
            QCOMPARE(shownText(label->toolTip()),
                     tags[n - 1] == 0 ? s("Dieser Klasse wurde noch keine Online-Klasse zugeordnet!") : QString());
            QCOMPARE(button->Caption(), s("Veröffentlichen"));
            QCOMPARE(button->property("Tag").toInt(), kids[n - 1]);
            QCOMPARE(button->geometry(), QRect(350, 25 * n - 20, 130, 22));
        }
        QVERIFY(!form.StatistikPanel->isVisible());
        // Rebuilt at each visit: the rows follow what is stored.
        execute(desk.db(), s("UPDATE Turnierklassen SET LiveKlassenID=12 WHERE KID=2"));
        form.PageControl1->setCurrentIndex(TCourtcastForm::UserPage);
        form.PageControl1->setCurrentIndex(TCourtcastForm::StatistikPage);
        QCOMPARE(form.statistikAnzahl, 3);
        QCOMPARE(desk.label("StatistikLabel_", 1)->property("Tag").toInt(), 12);
        QVERIFY(!desk.label("StatistikLabel_", 1)->styleSheet().contains(s("red")));
    }

    // A mapped class: the three calls in order with their exact records, the
    // panel's steps while each waits, the panel hidden at the end.
    void publishMappedClass()
    {
        Desk desk;
        TCourtcastForm& form = *desk.form;
        insertRow(desk.db(), s("Gruppeneinstellungen"), {{s("KID"), 1}, {s("phase1"), 1}, {s("phase2"), QVariant()},
                                                         {s("phase3"), QVariant()}});
        addMatch(desk.db(), 3, 1, 1, 2, {{s("SID1"), -1}, {s("spieler1"), s("Sieger Spiel 1")}});
        addMatch(desk.db(), 1, 1, -1, -1, {{s("beendet"), 1}, {s("satz1"), 5}, {s("satz2"), -9}, {s("satz3"), 7},
                                          {s("ergebnis"), s("2:1")},
                                          {s("spielstart"), QDateTime(QDate(2026, 12, 12), QTime(11, 5))}});
        addMatch(desk.db(), 2, 1, -1, -1, {{s("begonnen"), 1}, {s("in_planung"), 1}});
        form.PageControl1->setCurrentIndex(TCourtcastForm::StatistikPage);

        QStringList steps;
        desk.service.onCall = [&](const FakeLiveService::Call&) {
            steps << (form.StatistikPanel->isVisible() ? form.StatistikPublishLabel->text() : s("hidden"));
        };
        desk.service.script(s("SetKlasse"), Answer::reply(s("okay")));
        desk.service.script(s("SetLokalPlayer"), Answer::reply(s("okay")));
        desk.service.script(s("ResultPublish"), Answer::reply(s("okay")));
        desk.prompter.expect(PromptKind::Question,
                             s("Sollen die Ergebnisse von Herren A (Einzel) jetzt veröffentlicht werden?"),
                             PromptAnswer::Yes);
        desk.prompter.expect(PromptKind::Information, kPublished);
        click(desk.row<TuiButton>("StatistikButton_", 3));
        QVERIFY(desk.prompter.verify());

        QCOMPARE(desk.service.operations(), (QStringList{s("SetKlasse"), s("SetLokalPlayer"), s("ResultPublish")}));
        QCOMPARE(desk.service.descriptionFetches(), 1);
        QCOMPARE(desk.service.calls().at(0).value(s("KlassenString")),
                 s("#-#4711#-#7#-#Herren A#-#0#-#Wahr#-#Falsch#-#3#-#Offen#-#12.12.2026#-#12.12.2026 10:30:00"
                   "#-#1#-##-#"));
        QCOMPARE(desk.service.calls().at(1).value(s("PlayerString")),
                 s("#-#4711#-#3#-#Piet#-#Kowalski#-#TTC Alt#-#55#-#5#-#Jana#-#Brenner#-#TTC Alt#-#0"));
        QCOMPARE(desk.service.calls().at(2).value(s("PublishString")),
                 s("#-#4711#-#7"
                   "#-#1#-#0#-#1#-#1#-#3#-#Kowalski, Piet#-#5#-#Brenner, Jana#-#3#-#5#-#-9#-#7#-##-##-##-##-##-#"
                   "#-#12.12.2026 11:05:00#-#2:1"
                   "#-#1#-#0#-#1#-#2#-#3#-#Kowalski, Piet#-#5#-#Brenner, Jana#-#2#-##-##-##-##-##-##-##-##-#"
                   "#-#12.12.2026#-#0:0"
                   "#-#1#-#0#-#2#-#3#-#-1#-#Sieger Spiel 1#-#5#-#Brenner, Jana#-#0#-##-##-##-##-##-##-##-##-#"
                   "#-#12.12.2026#-#0:0"));
        QCOMPARE(steps, (QStringList{s("Aktueller Schritt: Turnierklassen-Update"),
                                     s("Aktueller Schritt: Spielerdaten übertragen"),
                                     s("Aktueller Schritt: Statistiken veröffentlichen")}));
        QVERIFY(!form.StatistikPanel->isVisible());
        QCOMPARE(form.ProgressBar1->maximum(), 4);
        QCOMPARE(form.ProgressBar1->value(), 4);
        QVERIFY(form.isEnabled());

        // Cancel sends nothing.
        desk.service.clearRecords();
        desk.prompter.expect(PromptKind::Question,
                             s("Sollen die Ergebnisse von Herren A (Einzel) jetzt veröffentlicht werden?"),
                             PromptAnswer::Cancel);
        desk.prompter.expect(PromptKind::Information, kCancelled);
        click(desk.row<TuiButton>("StatistikButton_", 3));
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.service.calls().size(), 0);
        QCOMPARE(desk.service.descriptionFetches(), 0);
    }

    // An unmapped class: the online class is created once, stored at once and
    // kept when a later call fails; the next publish updates it.
    void publishNewClass()
    {
        Desk desk;
        TCourtcastForm& form = *desk.form;
        form.PageControl1->setCurrentIndex(TCourtcastForm::StatistikPage);
        QStringList steps;
        desk.service.onCall = [&](const FakeLiveService::Call&) {
            steps << (form.StatistikPanel->isVisible() ? form.StatistikPublishLabel->text() : s("hidden"));
        };
        desk.service.script(s("SetKlasse"), Answer::reply(s("31")));
        desk.service.script(s("SetLokalPlayer"), Answer::reply(s("okay")));
        desk.service.script(s("ResultPublish"), Answer::reply(s("Klasse gesperrt")));
        desk.prompter.expect(PromptKind::Warning, kCreate, PromptAnswer::Yes);
        desk.prompter.expect(PromptKind::Error, s("Klasse gesperrt"));
        click(desk.row<TuiButton>("StatistikButton_", 1)); // Damen
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.service.calls().at(0).value(s("KlassenString")).section(s("#-#"), 1, 3),
                 s("4711#-#0#-#Damen"));
        // A class with no players and no matches.
        QCOMPARE(desk.service.calls().at(1).value(s("PlayerString")), s("#-#4711"));
        QCOMPARE(desk.service.calls().at(2).value(s("PublishString")), s("#-#4711#-#31"));
        QCOMPARE(scalar(desk.db(), s("SELECT LiveKlassenID FROM Turnierklassen WHERE KID=2")).toInt(), 31);
        QCOMPARE(desk.label("StatistikLabel_", 1)->property("Tag").toInt(), 31);
        QVERIFY(!desk.label("StatistikLabel_", 1)->styleSheet().contains(s("red")));
        QVERIFY(!form.StatistikPanel->isVisible());
        QCOMPARE(steps.first(), s("Aktueller Schritt: Turnierklassen-Update"));
        QCOMPARE(form.ProgressBar1->maximum(), 6);

        // Again: an update of online class 31, no second class.
        desk.service.clearRecords();
        desk.service.script(s("SetKlasse"), Answer::reply(s("okay")));
        desk.service.script(s("SetLokalPlayer"), Answer::reply(s("okay")));
        desk.service.script(s("ResultPublish"), Answer::reply(s("okay")));
        desk.prompter.expect(PromptKind::Question,
                             s("Sollen die Ergebnisse von Damen (Einzel) jetzt veröffentlicht werden?"),
                             PromptAnswer::Yes);
        desk.prompter.expect(PromptKind::Information, kPublished);
        click(desk.row<TuiButton>("StatistikButton_", 1));
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.service.calls().at(0).value(s("KlassenString")).section(s("#-#"), 1, 2), s("4711#-#31"));

        // A new class published through: the online classes are fetched again.
        desk.service.clearRecords();
        steps.clear();
        desk.service.script(s("SetKlasse"), Answer::reply(s("32")));
        desk.service.script(s("SetLokalPlayer"), Answer::reply(s("okay")));
        desk.service.script(s("ResultPublish"), Answer::reply(s("okay")));
        desk.service.script(s("GetKlassen"), Answer::reply(kClasses));
        desk.prompter.expect(PromptKind::Warning, kCreate, PromptAnswer::Yes);
        desk.prompter.expect(PromptKind::Information, kPublished);
        click(desk.row<TuiButton>("StatistikButton_", 2)); // Doppel
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.service.operations(),
                 (QStringList{s("SetKlasse"), s("SetLokalPlayer"), s("ResultPublish"), s("GetKlassen")}));
        QCOMPARE(steps.last(), s("Aktueller Schritt: Klassen aktualisieren"));
        QCOMPARE(form.onlineKlassenAnzahl, 2);
        QCOMPARE(form.ProgressBar1->value(), 6);
        QCOMPARE(scalar(desk.db(), s("SELECT LiveKlassenID FROM Turnierklassen WHERE KID=3")).toInt(), 32);

        // Cancel the creation: nothing sent.
        desk.service.clearRecords();
        execute(desk.db(), s("UPDATE Turnierklassen SET LiveKlassenID=NULL WHERE KID=3"));
        form.PageControl1->setCurrentIndex(TCourtcastForm::UserPage);
        form.PageControl1->setCurrentIndex(TCourtcastForm::StatistikPage);
        desk.prompter.expect(PromptKind::Warning, kCreate, PromptAnswer::Cancel);
        desk.prompter.expect(PromptKind::Information, kCancelled);
        click(desk.row<TuiButton>("StatistikButton_", 2));
        QVERIFY(desk.prompter.verify());
        QCOMPARE(desk.service.calls().size(), 0);
    }

    // A publish on a bad network: a connection closed without a reply, a reply
    // dripping past the deadline, "Abbrechen" on the panel. Each call arrives
    // once, the publish stops there, and no online class is stored that no
    // reply named.
    void publishOnABadNetwork_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("stored");
        const QString closed = s("hat die Verbindung ohne Antwort geschlossen. Ob die Daten angekommen sind, ist nicht "
                                 "bekannt; bitte prüfen Sie es vor einem neuen Versuch.");
        QTest::newRow("new class, closed") << 1 << QList<Answer>{Answer::close()} << false << closed << 0;
        QTest::newRow("players, closed") << 3 << QList<Answer>{Answer::reply(s("okay")), Answer::close()} << false
                                         << closed << 7;
        QTest::newRow("new class, dripping") << 1 << QList<Answer>{Answer::drip(s("31"), 50)} << false
                                             << s("kam nicht innerhalb von 1,2 Sekunden vollständig an.") << 0;
        QTest::newRow("new class, cancelled") << 1 << QList<Answer>{Answer::drip(s("31"), 50)} << true
                                              << s("Der Vorgang wurde abgebrochen.") << 0;
        QTest::newRow("results, cancelled")
            << 3 << QList<Answer>{Answer::reply(s("okay")), Answer::reply(s("okay")), Answer::drip(s("okay"), 50)}
            << true << s("Der Vorgang wurde abgebrochen.") << 7;
    }
    void publishOnABadNetwork()
    {
        QFETCH(int, row);
        QFETCH(QList<Answer>, answers);
        QFETCH(bool, cancel);
        QFETCH(QString, message);
        QFETCH(int, stored);
        Desk desk;
        TCourtcastForm& form = *desk.form;
        form.limits.deadline = std::chrono::milliseconds(cancel ? 30000 : 1200);
        form.PageControl1->setCurrentIndex(TCourtcastForm::StatistikPage);
        const QStringList operations{s("SetKlasse"), s("SetLokalPlayer"), s("ResultPublish")};
        for (int i = 0; i < answers.size(); ++i)
            desk.service.script(operations[i], answers[i]);
        bool cancelUsable = false;
        if (cancel)
            desk.service.onCall = [&](const FakeLiveService::Call& call) {
                if (call.operation == operations[answers.size() - 1])
                    QTimer::singleShot(50, &form, [&] {
                        cancelUsable = form.AbbrechenButton->isVisible() && form.AbbrechenButton->isEnabled();
                        click(form.AbbrechenButton);
                    });
            };
        if (row == 1)
            desk.prompter.expect(PromptKind::Warning, kCreate, PromptAnswer::Yes);
        else
            desk.prompter.expectPrefix(PromptKind::Question, s("Sollen die Ergebnisse von Herren A"), PromptAnswer::Yes);
        desk.prompter.expectPrefix(cancel ? PromptKind::Information : PromptKind::Error, QString());
        click(desk.row<TuiButton>("StatistikButton_", row));
        QVERIFY(desk.prompter.verify());
        const QString text = desk.prompter.shown().last().text;
        QVERIFY2(text.endsWith(message), qPrintable(text));
        QCOMPARE(cancelUsable, cancel);
        QCOMPARE(desk.service.operations(), operations.mid(0, answers.size()));
        QVERIFY(!form.StatistikPanel->isVisible());
        QVERIFY(!form.AbbrechenButton->isEnabled());
        QVERIFY(desk.row<TuiButton>("StatistikButton_", row)->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        const int kid = row == 1 ? 2 : 1;
        QCOMPARE(scalar(desk.db(), s("SELECT LiveKlassenID FROM Turnierklassen WHERE KID=:k"), {{s("k"), kid}}).toInt(),
                 stored);
    }

    void publishFailures_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("stored");
        // Herren A (row 3) is mapped to 7; Damen (row 1) has no online class.
        QTest::newRow("class refused") << 3 << QStringList{s("Klasse unbekannt")} << s("Klasse unbekannt") << 7;
        QTest::newRow("players refused") << 3 << QStringList{s("okay"), s("zu viele")} << s("Spieler: zu viele") << 7;
        QTest::newRow("results refused") << 3 << QStringList{s("okay"), s("okay"), s("nein")} << s("nein") << 7;
        QTest::newRow("no class id") << 1 << QStringList{s("angelegt")}
                                     << s("Die Klasse konnte nicht korrekt erstellt werden") << 0;
        QTest::newRow("class id 0") << 1 << QStringList{s("0")} << s("Die Klasse konnte nicht korrekt erstellt werden")
                                    << 0;
        QTest::newRow("HTTP 500 at the players") << 1 << QStringList{s("44"), s("")}
                                                 << s("Der Courtcast-Dienst antwortete mit dem HTTP-Status 500.") << 44;
    }
    // An error at any step: its message, no later call, the panel hidden.
    void publishFailures()
    {
        QFETCH(int, row);
        QFETCH(QStringList, replies);
        QFETCH(QString, message);
        QFETCH(int, stored);
        Desk desk;
        TCourtcastForm& form = *desk.form;
        form.PageControl1->setCurrentIndex(TCourtcastForm::StatistikPage);
        const QStringList operations{s("SetKlasse"), s("SetLokalPlayer"), s("ResultPublish")};
        for (int i = 0; i < replies.size(); ++i)
            desk.service.script(operations[i],
                                replies[i].isEmpty() ? Answer::http500() : Answer::reply(replies[i]));
        if (row == 1)
            desk.prompter.expect(PromptKind::Warning, kCreate, PromptAnswer::Yes);
        else
            desk.prompter.expectPrefix(PromptKind::Question, s("Sollen die Ergebnisse von Herren A"), PromptAnswer::Yes);
        desk.prompter.expectPrefix(PromptKind::Error, QString());
        click(desk.row<TuiButton>("StatistikButton_", row));
        QVERIFY(desk.prompter.verify());
        const QString text = desk.prompter.shown().last().text;
        QVERIFY2(text.endsWith(message), qPrintable(text));
        QCOMPARE(desk.service.operations(), operations.mid(0, replies.size()));
        QVERIFY(!form.StatistikPanel->isVisible());
        QVERIFY(form.isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        const int kid = row == 1 ? 2 : 1;
        QCOMPARE(scalar(desk.db(), s("SELECT LiveKlassenID FROM Turnierklassen WHERE KID=:k"), {{s("k"), kid}}).toInt(),
                 stored);
        QCOMPARE(desk.label("StatistikLabel_", row)->property("Tag").toInt(), stored);
    }
};

QTEST_MAIN(TestLivePages)
#include "test_livepages.moc"
