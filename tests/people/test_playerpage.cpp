// The player page in the whole program, offscreen on a real SQLite database:
// the save checks in their order, inserting with classes, fee and partner
// lines, the class questions, acting on the loaded player's key (two players of
// one name, a referee's key in aktuelleSID), the club click keeping the class
// ticks and check-ins, the type-ahead, the partner dialog and the referee page
// opened from the side bar.
#include "../app/appfixture.h"
#include "app/tmainform.h"
#include "app/tr_nummer.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/db_procedures.h"
#include "data/playerrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "draw/tdoppelauswahl.h"
#include "peoplefixtures.h"
#include "people/playerpage.h"
#include "people/refereepage.h"
#include "support/pagewrite.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QString kSexQuestion = QString::fromUtf8("Der Spieler entspricht nicht den Geschlechtskriterien dieser Klasse\n\r"
                                               "Spieler trotzdem für diese Klasse melden?");
const QString kAgeQuestion = QString::fromUtf8("Der Spieler entspricht nicht den Alterskriterien dieser Klasse.\n\r"
                                               "Spieler trotzdem für diese Klasse melden?");

// The program on a tournament with four classes and two players named alike.
struct Fixture {
    AppFixture app;
    TestDatabase tdb{Backend::SQLite};
    PlayerPage* page = nullptr;

    Fixture()
    {
        const QSqlDatabase db = tdb.db();
        insertRow(db, s("Turnierdaten"), {{s("TID"), 1}, {s("turniername"), s("Stadtmeisterschaft")}});
        seedAgeClass(db, 1, s("U18"), QDate(2008, 1, 1), QDate(2012, 12, 31));
        seedClass(db, 1, 1, s("Herren"), ClassKind::Einzel, 1.1, QString(), true, false);
        seedClass(db, 1, 2, s("Herren"), ClassKind::Doppel, 2.2);
        seedClass(db, 1, 3, s("Jugend"), ClassKind::Einzel, 5, s("U18"));
        seedClass(db, 1, 4, s("Mannschaft"), ClassKind::Team, 0);
        seedPlayer(db, 1, 1, s("Meier"), s("Hans"), s("TTC A"), 1);
        seedPlayer(db, 1, 2, s("Meier"), s("Hans"), s("TTC B"), 2);
        seedPlayer(db, 1, 3, QString::fromUtf8("Müller"), s("Eva"), s("TTC A"), nullInt(), false);
        seedEntry(db, 1, 1, 2, true);
        seedEntry(db, 1, 2, 2, false);
        seedEntry(db, 1, 2, 3, false);
        app.start();
        Tdb_procedures& data = *app.program->forms.db_procedures;
        data.accessDB = true;
        data.dbPfad = tdb.sqlitePath();
        data.db_verbinden(QString());
        app.context().aktuelleTID = 1;
        app.context().aktuellerTurniername = s("Stadtmeisterschaft");
        app.main().resize(1100, 720);
        app.main().show();
        app.main().SpielerbuttonItemClick(0);
        page = app.main().spielerseite;
    }
    QSqlDatabase db() const { return tdb.db(); }
    FakePrompter& prompter() { return app.prompter(); }
    QListWidgetItem* entry(QListWidget* list, int key)
    {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->data(Qt::UserRole).toInt() == key)
                return list->item(i);
        }
        return nullptr;
    }
    void loadPlayer(int sid)
    {
        QListWidgetItem* item = entry(page->spielerliste, sid);
        QVERIFY(item);
        page->spielerliste->setCurrentItem(item);
        page->spielerlisteClick();
        QCOMPARE(page->loadedSid(), sid);
    }
    // Ticks a class as a click would (the selection toggles, then the handler runs).
    void clickClass(int kid)
    {
        QListWidgetItem* item = entry(page->sklassen, kid);
        QVERIFY(item);
        item->setSelected(!item->isSelected());
        page->sklassenClick(item);
    }
    void newPlayer(const QString& nachname, const QString& vorname)
    {
        click(page->neuerspielerbutton);
        page->snachname->setText(nachname);
        page->svorname->setText(vorname);
    }
    QList<ClassEntryRow> classes(int sid) { return readPlayer(db(), sid)->classes; }
};

} // namespace

class TestPlayerPage : public QObject {
    Q_OBJECT
private slots:
    void opening()
    {
        Fixture f;
        QVERIFY(f.page->isVisible());
        QCOMPARE(f.page->spielerliste->count(), 3);
        QStringList classes;
        for (int i = 0; i < f.page->sklassen->count(); ++i)
            classes << f.page->sklassen->item(i)->text();
        QCOMPARE(classes, (QStringList{s("Doppel - Herren"), s("Einzel - Herren"), s("Einzel - Jugend"),
                                       s("Team - Mannschaft")}));
        QCOMPARE(f.page->vereinsliste->count(), 2);
        QVERIFY(!f.page->spielerspeichernbutton->isEnabled());
        QCOMPARE(f.page->spielerspeichernbutton->Caption(), s("Spieler speichern"));
    }

    // Players and clubs sort as German readers expect: case-insensitive,
    // umlauts beside their vowels, never by code point.
    void listsSortInGermanOrder()
    {
        Fixture f;
        seedPlayer(f.db(), 1, 4, s("de Vries"), s("Jan"), s("ohne Verein"));
        seedPlayer(f.db(), 1, 5, QString::fromUtf8("Äbersold"), s("Eva"), QString::fromUtf8("Äschach TTC"));
        seedPlayer(f.db(), 1, 6, QString::fromUtf8("Özdemir"), s("Ali"), s("TTC A"));
        seedPlayer(f.db(), 1, 7, s("Zimmer"), s("Max"), s("Zell"));
        f.page->SpielerbuttonItems0Click();
        QStringList players;
        for (int i = 0; i < f.page->spielerliste->count(); ++i)
            players << f.page->spielerliste->item(i)->text();
        QCOMPARE(players, (QStringList{QString::fromUtf8("Äbersold, Eva"), s("de Vries, Jan"), s("Meier, Hans"),
                                       s("Meier, Hans"), QString::fromUtf8("Müller, Eva"),
                                       QString::fromUtf8("Özdemir, Ali"), s("Zimmer, Max")}));
        QStringList clubs;
        for (int i = 0; i < f.page->vereinsliste->count(); ++i)
            clubs << f.page->vereinsliste->item(i)->text();
        QCOMPARE(clubs, (QStringList{QString::fromUtf8("Äschach TTC"), s("ohne Verein"), s("TTC A"), s("TTC B"),
                                     s("Zell")}));
    }

    // At the window's start size every control of the pages is whole, and the
    // lists are wide enough for a long name.
    void pagesFitTheStartSize_data()
    {
        QTest::addColumn<QString>("page");
        for (const char* page : {"Spieler", "Schiedsrichter", "Anmeldung", "Klassen", "Turnier"})
            QTest::newRow(page) << QString::fromLatin1(page);
    }
    void pagesFitTheStartSize()
    {
        QFETCH(QString, page);
        Fixture f;
        TMainform& main = f.app.main();
        main.resize(main.minimumSize());
        QCOMPARE(main.minimumSize(), QSize(830, 670));
        if (page == QLatin1String("Spieler"))
            main.SpielerbuttonItemClick(0);
        else if (page == QLatin1String("Schiedsrichter"))
            main.SpielerbuttonItemClick(4);
        else if (page == QLatin1String("Anmeldung"))
            main.SpielerbuttonItemClick(2);
        else if (page == QLatin1String("Klassen"))
            main.KlassenbuttonItemClick(0);
        else
            main.TurnierbuttonItemClick(TMainform::TurnierBearbeiten);
        QCoreApplication::processEvents();
        QWidget* shown = main.frontPanel();
        QVERIFY(shown);
        const int longName = shown->fontMetrics().horizontalAdvance(QString::fromUtf8("Müller-Lüde, Hans")) + 20;
        const QStringList cramped = crampedControls(shown, longName);
        QVERIFY2(cramped.isEmpty(), qPrintable(cramped.join(QLatin1Char('\n'))));
    }

    void checksInTheirOrder_data()
    {
        QTest::addColumn<QString>("nachname");
        QTest::addColumn<QString>("vorname");
        QTest::addColumn<QString>("geb");
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<QString>("betrag");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const int info = int(PromptKind::Information);
        QTest::newRow("no names") << "" << "" << "" << "" << "" << info << "Bitte geben Sie einen Nachnamen ein";
        QTest::newRow("no first name") << "Neu" << "" << "" << "" << "" << info << "Bitte geben Sie einen Vornamen ein";
        QTest::newRow("bad date") << "Neu" << "Nina" << "1.13.2000" << "" << "" << info
                                  << "Das Geburtsdatum wurde nicht korrekt eingegeben";
        QTest::newRow("number in use") << "Neu" << "Nina" << "" << "2" << "" << int(PromptKind::Error)
                                       << "Diese Rückennummer existiert bereits";
        QTest::newRow("number not a number") << "Neu" << "Nina" << "" << "12a" << "" << info
                                             << "Die Rückennummer wurde nicht korrekt eingegeben";
        QTest::newRow("amount not a number") << "Neu" << "Nina" << "" << "" << "zwölf" << info
                                             << "Die Startgebühr wurde nicht korrekt eingegeben";
        QTest::newRow("name taken") << "Meier" << "Hans" << "" << "-99" << "" << info
                                    << "Ein Spieler mit diesem Namen existiert bereits";
    }
    void checksInTheirOrder()
    {
        QFETCH(QString, nachname);
        QFETCH(QString, vorname);
        QFETCH(QString, geb);
        QFETCH(QString, nummer);
        QFETCH(QString, betrag);
        QFETCH(int, kind);
        QFETCH(QString, message);
        Fixture f;
        const QStringList before = dumpTables(f.db());
        f.newPlayer(nachname, vorname);
        f.page->sgeb->setText(geb);
        f.page->snummer->setText(nummer);
        f.page->zuzahlen->setText(betrag);
        f.prompter().expect(PromptKind(kind), message, kind == int(PromptKind::Error) ? PromptAnswer::Cancel : PromptAnswer::Ok);
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QCOMPARE(dumpTables(f.db()), before);
        QVERIFY(!Transaction::active(f.db()));
    }

    void insertWithClassesFeeAndPartnerLine()
    {
        Fixture f;
        f.newPlayer(s("Neu"), s("Nils"));
        f.clickClass(1);
        f.clickClass(2);
        QCOMPARE(f.page->zuzahlen->text(), s("3,3"));
        QCOMPARE(f.page->doppelpartner->count(), 1);
        QCOMPARE(f.page->doppelpartner->item(0)->text(), s("Doppel - Herren: "));
        f.clickClass(2);
        QCOMPARE(f.page->doppelpartner->count(), 0);
        QCOMPARE(f.page->zuzahlen->text(), s("1,1"));
        f.clickClass(2);
        click(f.page->snummerbutton);
        QCOMPARE(f.page->snummer->text(), s("3"));
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        const int sid = f.page->loadedSid();
        QCOMPARE(sid, 4);
        QCOMPARE(f.app.context().aktuelleSID, 4);
        const auto data = readPlayer(f.db(), sid);
        QCOMPARE(data->record.verein, s("ohne Verein"));
        QCOMPARE(data->record.nummer, std::optional<int>(3));
        QCOMPARE(data->record.zubezahlen, std::optional<double>(3.3));
        QCOMPARE(data->classes, (QList<ClassEntryRow>{{1, false}, {2, false}}));
        QCOMPARE(data->pairs, (QList<PairRow>{{2, std::nullopt, std::nullopt}}));
        QVERIFY(!f.page->vereinsliste->findItems(s("ohne Verein"), Qt::MatchExactly).isEmpty());
        QCOMPARE(f.page->geladenerName, s("Neu, Nils"));
        QVERIFY(!f.page->spielerspeichernbutton->isEnabled());
        f.page->semail->setText(s("n@example.org"));
        QCOMPARE(f.page->spielerspeichernbutton->Caption(), s("Änderung übernehmen"));
    }

    void classQuestions()
    {
        Fixture f;
        f.newPlayer(s("Neu"), s("Nora"));
        click(f.page->sv_weiblich);
        QVERIFY(!f.page->sv_mann->Checked());
        f.page->sgeb->setText(s("01.06.2000"));
        // Men only: No leaves the class unticked and the fee as it was.
        f.prompter().expect(PromptKind::Question, kSexQuestion, PromptAnswer::No);
        f.clickClass(1);
        QVERIFY(!f.entry(f.page->sklassen, 1)->isSelected());
        QCOMPARE(f.page->zuzahlen->text(), QString());
        f.prompter().expect(PromptKind::Question, kSexQuestion, PromptAnswer::Yes);
        f.clickClass(1);
        QVERIFY(f.entry(f.page->sklassen, 1)->isSelected());
        QCOMPARE(f.page->zuzahlen->text(), s("1,1"));
        // The age class of the own tournament decides.
        f.prompter().expect(PromptKind::Question, kAgeQuestion, PromptAnswer::No);
        f.clickClass(3);
        QVERIFY(!f.entry(f.page->sklassen, 3)->isSelected());
        f.page->sgeb->setText(s("01.06.2010"));
        f.clickClass(3);
        QVERIFY(f.entry(f.page->sklassen, 3)->isSelected());
        // Unticking asks nothing; a bad birth date stops the click.
        f.clickClass(1);
        f.page->sgeb->setText(s("kein Datum"));
        f.prompter().expect(PromptKind::Information, s("Das Geburtsdatum wurde nicht korrekt eingegeben"));
        f.clickClass(2);
        QVERIFY(!f.entry(f.page->sklassen, 2)->isSelected());
        QVERIFY(f.prompter().verify());
    }

    // Two players named "Meier, Hans": loading the second and saving changes him alone.
    void actsOnTheLoadedPlayer()
    {
        Fixture f;
        f.loadPlayer(2);
        QCOMPARE(f.page->sverein->text(), s("TTC B"));
        QVERIFY(f.entry(f.page->sklassen, 1)->data(Qt::UserRole + 1).toBool()); // checked in
        f.page->semail->setText(s("hans.b@example.org"));
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QCOMPARE(readPlayer(f.db(), 2)->record.email, s("hans.b@example.org"));
        QCOMPARE(readPlayer(f.db(), 1)->record.email, s("x"));
        // His check-in for the classes he stays in is kept.
        QCOMPARE(f.classes(2), (QList<ClassEntryRow>{{1, true}, {2, false}}));

        // A rename onto another player's name is refused.
        f.loadPlayer(3);
        f.page->snachname->setText(s("Meier"));
        f.page->svorname->setText(s("Hans"));
        const QStringList before = dumpTables(f.db());
        f.prompter().expect(PromptKind::Information, s("Ein Spieler mit diesem Namen existiert bereits"));
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QCOMPARE(dumpTables(f.db()), before);
    }

    // aktuelleSID may hold a referee's key; deleting acts on the loaded player only.
    void deleteActsOnTheLoadedPlayer()
    {
        Fixture f;
        f.app.context().aktuelleSID = 1; // as a referee's new key would leave it
        f.newPlayer(s("Meier"), s("Hans"));
        click(f.page->spielerdelbutton); // nothing loaded: nothing happens
        QVERIFY(readPlayer(f.db(), 1));
        QVERIFY(readPlayer(f.db(), 2));

        f.loadPlayer(2);
        f.prompter().expect(PromptKind::Question, s("Wollen Sie den Spieler \"Meier, Hans\" wirklich löschen?"),
                            PromptAnswer::Yes);
        click(f.page->spielerdelbutton);
        QVERIFY(f.prompter().verify());
        QVERIFY(!readPlayer(f.db(), 2));
        QVERIFY(readPlayer(f.db(), 1));
        QCOMPARE(f.page->spielerliste->count(), 2);
        // The club of the deleted player goes from the list when nobody else has it.
        QVERIFY(f.page->vereinsliste->findItems(s("TTC B"), Qt::MatchExactly).isEmpty());
        QCOMPARE(f.page->vereinsliste->findItems(s("TTC A"), Qt::MatchExactly).size(), 1);
        // A deleted player's name no longer blocks a new player.
        f.loadPlayer(1);
        f.prompter().expect(PromptKind::Question, s("Wollen Sie den Spieler \"Meier, Hans\" wirklich löschen?"),
                            PromptAnswer::Yes);
        click(f.page->spielerdelbutton);
        f.newPlayer(s("Meier"), s("Hans"));
        f.page->sverein->setText(s("TTC C"));
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QCOMPARE(loadPlayers(f.db(), 1).size(), 2);
    }

    // A write failing at any of its statements shows the error and leaves the
    // database as it was and the page as the user left it: typing, class ticks
    // and partner lines stay to be saved again, the list shows the stored players.
    void failedWriteKeepsPageAndDatabase_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("new with a partner") << "new";
        QTest::newRow("change") << "change";
        QTest::newRow("delete") << "delete";
    }
    void failedWriteKeepsPageAndDatabase()
    {
        QFETCH(QString, action);
        Fixture f;
        TuiButton* button = f.page->spielerspeichernbutton;
        std::function<void(int)> beforeRun;
        if (action == s("new")) {
            f.newPlayer(s("Neu"), s("Nils"));
            f.page->sverein->setText(s("TTC C"));
            f.clickClass(1);
            f.clickClass(2);
            f.page->partnerChosen(2, 3, s("Doppel - Herren: Müller, Eva"));
        } else if (action == s("change")) {
            f.loadPlayer(1);
            f.page->svorname->setText(s("Hansi"));
            f.clickClass(1);
        } else {
            f.loadPlayer(3);
            button = f.page->spielerdelbutton;
            beforeRun = [&](int) {
                f.prompter().expect(PromptKind::Question, s("Wollen Sie den Spieler \"Müller, Eva\" wirklich löschen?"),
                                    PromptAnswer::Yes);
            };
        }
        const auto texts = [](const QListWidget* list, bool selectedOnly) {
            QStringList result;
            for (int i = 0; i < list->count(); ++i) {
                if (!selectedOnly || list->item(i)->isSelected())
                    result << list->item(i)->text();
            }
            return result;
        };
        const int loaded = f.page->loadedSid();
        const PageState::Mode mode = f.page->mode();
        const QString typed = f.page->svorname->text();
        const QStringList players = texts(f.page->spielerliste, false);
        const QStringList classes = texts(f.page->sklassen, true);
        const QStringList partners = texts(f.page->doppelpartner, false);
        int runs = 0;
        const QString failure = checkPageWrite(
            f.app.program->forms.db_procedures->ADOConnection1(), f.prompter(), [&] { click(button); },
            [&]() -> QString {
                if (f.page->loadedSid() != loaded || f.page->mode() != mode)
                    return s("the page's player or mode changed");
                if (f.page->svorname->text() != typed || texts(f.page->sklassen, true) != classes
                    || texts(f.page->doppelpartner, false) != partners)
                    return s("the typing was lost");
                if (f.page->spielerspeichernbutton->isEnabled() != (mode != PageState::Mode::Unchanged))
                    return s("the save button does not show the mode");
                return texts(f.page->spielerliste, false) == players ? QString() : s("the list changed");
            },
            beforeRun, &runs);
        QCOMPARE(failure, QString());
        QVERIFY(runs > 1);
        QVERIFY(f.prompter().verify());

        // The last run wrote.
        QCOMPARE(f.page->mode(), PageState::Mode::Unchanged);
        if (action == s("delete")) {
            QVERIFY(!readPlayer(f.db(), loaded));
            QCOMPARE(f.page->loadedSid(), 0);
            QCOMPARE(f.page->spielerliste->count(), 2);
            return;
        }
        const auto stored = readPlayer(f.db(), f.page->loadedSid());
        QVERIFY(stored);
        QCOMPARE(stored->record.vorname, typed);
        QCOMPARE(stored->classes.size(), classes.size());
        if (action == s("new"))
            QCOMPARE(readPlayer(f.db(), 3)->pairs, (QList<PairRow>{{2, f.page->loadedSid(), std::nullopt}}));
    }

    // A click on a club while a player is loaded keeps his class ticks.
    // Another desk changed or deleted the loaded player meanwhile: the save
    // writes nothing, says so, and the page shows him as he is now stored.
    void staleSaveReloadsThePlayer_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("changed") << false;
        QTest::newRow("deleted") << true;
    }
    void staleSaveReloadsThePlayer()
    {
        QFETCH(bool, deleted);
        Fixture f;
        f.loadPlayer(2);
        const QSqlDatabase otherDesk = f.tdb.open();
        const PlayerData before = *readPlayer(otherDesk, 2);
        if (deleted) {
            deletePlayer(otherDesk, 2);
        } else {
            PlayerRecord r = before.record;
            r.nachname = s("Maier");
            r.email = s("andere@example.org");
            updatePlayer(otherDesk, before, r, {1});
        }
        const QStringList stored = dumpTables(f.db());
        f.page->semail->setText(s("meine@example.org"));
        f.prompter().expect(PromptKind::Error,
                            deleted ? s("Der Spieler ist nicht mehr in der Datenbank vorhanden.")
                                    : s("Der Spieler wurde inzwischen an einem anderen Arbeitsplatz geändert. "
                                        "Die Seite wird neu geladen."));
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QCOMPARE(dumpTables(f.db()), stored);
        QCOMPARE(f.page->mode(), PageState::Mode::Unchanged);
        if (deleted) {
            QCOMPARE(f.page->loadedSid(), 0);
            QVERIFY(!f.entry(f.page->spielerliste, 2));
            QCOMPARE(f.page->snachname->text(), QString());
            return;
        }
        QCOMPARE(f.page->loadedSid(), 2);
        QCOMPARE(f.page->semail->text(), s("andere@example.org"));
        QCOMPARE(f.entry(f.page->spielerliste, 2)->text(), s("Maier, Hans"));
        QVERIFY(f.entry(f.page->sklassen, 1)->isSelected());
        QVERIFY(!f.entry(f.page->sklassen, 2)->isSelected());
        // Typed again over what is now stored, the change is saved.
        f.page->semail->setText(s("meine@example.org"));
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QCOMPARE(readPlayer(f.db(), 2)->record.email, s("meine@example.org"));
        QCOMPARE(readPlayer(f.db(), 2)->record.nachname, s("Maier"));
    }

    void clubClickKeepsTheClasses()
    {
        Fixture f;
        f.loadPlayer(2);
        QListWidgetItem* club = f.page->vereinsliste->findItems(s("TTC A"), Qt::MatchExactly).value(0);
        QVERIFY(club);
        f.page->vereinsliste->setCurrentItem(club);
        f.page->vereinslisteClick();
        QCOMPARE(f.page->sverein->text(), s("TTC A"));
        QCOMPARE(f.page->spielerliste->count(), 2); // the club's players
        QVERIFY(f.page->spielerspeichernbutton->isEnabled());
        click(f.page->spielerspeichernbutton);
        QCOMPARE(readPlayer(f.db(), 2)->record.verein, s("TTC A"));
        QCOMPARE(f.classes(2), (QList<ClassEntryRow>{{1, true}, {2, false}}));
        // A click into the surname field lifts the club filter.
        f.page->snachnameClick();
        QCOMPARE(f.page->spielerliste->count(), 3);
    }

    void typeAhead()
    {
        Fixture f;
        click(f.page->neuerspielerbutton);
        typeText(f.page->snachname, QString::fromUtf8("mü"));
        QCOMPARE(f.page->spielerliste->selectedItems().value(0)->text(), QString::fromUtf8("Müller, Eva"));
        QTest::keyClick(f.page->snachname, Qt::Key_Return);
        QCOMPARE(f.page->loadedSid(), 3);
        QVERIFY(f.page->sv_weiblich->Checked());
        f.page->sverein->clear();
        typeText(f.page->sverein, s("t"));
        QCOMPARE(f.page->vereinsliste->selectedItems().value(0)->text(), s("TTC A"));
    }

    void partnerThroughTheDialog()
    {
        Fixture f;
        f.loadPlayer(3); // Eva, entered in the doubles class
        QCOMPARE(f.page->doppelpartner->count(), 0);
        f.clickClass(2); // untick and tick again: her line appears
        f.clickClass(2);
        QCOMPARE(f.page->doppelpartner->count(), 1);
        f.page->doppelpartner->setCurrentItem(f.page->doppelpartner->item(0));
        f.page->doppelpartnerClick();
        TDoppelauswahl* dialog = f.app.program->forms.Doppelauswahl;
        QVERIFY(dialog->isVisible());
        QVERIFY(!f.app.main().workAreaEnabled());
        QCOMPARE(dialog->doppelklasse->text(), s("Doppel - Herren:"));
        dialog->FormActivate();
        const int index = dialog->doppelcombo->findData(2);
        QVERIFY(index > 0);
        dialog->doppelcombo->setCurrentIndex(index);
        click(dialog->OK);
        QVERIFY(f.app.main().workAreaEnabled());
        QCOMPARE(f.page->doppelpartner->item(0)->text(), s("Doppel - Herren: Meier, Hans"));
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QCOMPARE(readPlayer(f.db(), 3)->pairs, (QList<PairRow>{{2, 2, std::nullopt}}));
        QCOMPARE(readPlayer(f.db(), 2)->pairs, (QList<PairRow>{{2, 3, std::nullopt}}));

        // A team line points to the team administration.
        f.clickClass(4);
        QListWidgetItem* team = f.page->doppelpartner->findItems(s("Team - Mannschaft: "), Qt::MatchExactly).value(0);
        QVERIFY(team);
        f.page->doppelpartner->setCurrentItem(team);
        f.prompter().expect(PromptKind::Question,
                            QString::fromUtf8("Die Teamverwaltung kann nur von im Menüpunkt \"Teamverwaltung\" erfolgen"));
        f.page->doppelpartnerClick();
        QVERIFY(f.prompter().verify());
    }

    // A dialog disables the main window's work area and the page with it; a
    // new player stays new and the save inserts him.
    void newPlayerSavedAfterTheDialog()
    {
        Fixture f;
        f.newPlayer(s("Neu"), s("Nina"));
        f.clickClass(2);
        f.page->doppelpartner->setCurrentItem(f.page->doppelpartner->item(0));
        f.page->doppelpartnerClick();
        TDoppelauswahl* dialog = f.app.program->forms.Doppelauswahl;
        QVERIFY(dialog->isVisible());
        QVERIFY(!f.page->spielerspeichernbutton->isEnabled());
        dialog->doppelcombo->setCurrentIndex(dialog->doppelcombo->findData(3));
        click(dialog->OK);
        QVERIFY(f.page->spielerspeichernbutton->isEnabled());
        click(f.page->spielerspeichernbutton);
        QVERIFY(f.prompter().verify());
        QVERIFY(f.page->loadedSid() > 3);
        QCOMPARE(readPlayer(f.db(), f.page->loadedSid())->record.nachname, s("Neu"));
        QCOMPARE(readPlayer(f.db(), 3)->pairs, (QList<PairRow>{{2, f.page->loadedSid(), std::nullopt}}));
    }

    void refereePageFromTheSideBar()
    {
        Fixture f;
        insertRow(f.db(), s("Schiri"), {{s("TID"), 1}, {s("SCHIRIID"), 1}, {s("snname"), s("Schulz")},
                                         {s("svname"), s("Karl")}});
        f.app.main().SpielerbuttonItemClick(4);
        RefereePage* referees = f.app.main().schiriseite;
        QVERIFY(referees->isVisible());
        QCOMPARE(referees->schiriliste->count(), 1);
        QCOMPARE(referees->schiriklassen->count(), 4);
        // "Nummern anzeigen" opens the start-number dialog with the work area disabled.
        f.app.main().SpielerbuttonItemClick(0);
        click(f.page->rnr_show);
        QVERIFY(f.app.program->forms.R_Nummer->isVisible());
        QVERIFY(!f.app.main().workAreaEnabled());
        f.app.program->forms.R_Nummer->close();
        QVERIFY(f.app.main().workAreaEnabled());
    }
};

QTEST_MAIN(TestPlayerPage)
#include "test_playerpage.moc"
