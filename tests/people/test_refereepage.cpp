// The referee page offscreen on a real SQLite database: the save checks in their
// order, insert with classes, the type-ahead on the field's text, saving and
// deleting acting on the loaded referee, and failed writes.
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/playerrecords.h"
#include "data/refereerecords.h"
#include "data/sql.h"
#include "peoplefixtures.h"
#include "people/refereepage.h"
#include "support/fakeprompter.h"
#include "support/pagewrite.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

struct Page {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    int tid = 1;
    int sid = 0;
    int kid = 0;
    RefereePage page{PeoplePageLinks{prompter, [this] { return tdb.db(); }, tid, sid, kid}};

    Page()
    {
        seedClass(tdb.db(), 1, 1, s("Herren"), ClassKind::Einzel);
        seedClass(tdb.db(), 1, 2, s("Damen"), ClassKind::Doppel);
        seedPlayer(tdb.db(), 1, 1, s("Spieler"), s("A"), s("TTC Nord"));
        RefereeRecord r;
        r.snname = s("Meier");
        r.svname = s("Hans");
        r.sverein = s("TTC");
        insertReferee(tdb.db(), 1, r, {1});
        r.snname = s("Schulz");
        r.svname = s("Karl");
        insertReferee(tdb.db(), 1, r, {2});
        r.snname = QString::fromUtf8("Öztürk");
        r.svname = s("Ali");
        insertReferee(tdb.db(), 1, r, {});
        page.resize(900, 500);
        page.show();
        page.SpielerbuttonItems4Click();
    }
    void choose(const QString& name)
    {
        QListWidgetItem* item = page.schiriliste->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(item);
        page.schiriliste->setCurrentItem(item);
        page.schirilisteClick();
    }
    QString selected() const
    {
        const auto items = page.schiriliste->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
};

} // namespace

class TestRefereePage : public QObject {
    Q_OBJECT
private slots:
    void checksBeforeSaving_data()
    {
        QTest::addColumn<QString>("nachname");
        QTest::addColumn<QString>("vorname");
        QTest::addColumn<QString>("geb");
        QTest::addColumn<QString>("message");
        QTest::newRow("no names") << "" << "" << "" << "Bitte geben Sie einen Nachnamen ein";
        QTest::newRow("no first name") << "Neu" << " " << "" << "Bitte geben Sie einen Vornamen ein";
        QTest::newRow("bad date") << "Neu" << "Eva" << "31.4.1980" << "Das Geburtsdatum wurde nicht korrekt eingegeben";
        QTest::newRow("name taken") << "Meier" << "Hans" << "" << "Ein Schiedsrichter mit diesem Namen existiert bereits";
    }
    void checksBeforeSaving()
    {
        QFETCH(QString, nachname);
        QFETCH(QString, vorname);
        QFETCH(QString, geb);
        QFETCH(QString, message);
        Page p;
        const QStringList before = dumpTables(p.tdb.db());
        click(p.page.schiri_neu);
        p.page.schirinname->setText(nachname);
        p.page.schirivname->setText(vorname);
        p.page.schirigeb->setText(geb);
        p.prompter.expect(PromptKind::Warning, message, PromptAnswer::Cancel);
        click(p.page.schirispeichern);
        QVERIFY(p.prompter.verify());
        QCOMPARE(dumpTables(p.tdb.db()), before);
        QCOMPARE(p.page.schirinname->text(), nachname); // the input stays
    }

    // The lists sort as German readers expect: case-insensitive, umlauts
    // beside their vowels, never by code point.
    void listsSortInGermanOrder()
    {
        Page p;
        RefereeRecord r;
        for (const auto& [nachname, vorname] : {std::pair{s("de Vries"), s("Jan")}, {QString::fromUtf8("Äbersold"), s("Eva")},
                                                 {s("Zimmer"), s("Max")}, {s("ohne"), s("Name")}}) {
            r.snname = nachname;
            r.svname = vorname;
            insertReferee(p.tdb.db(), 1, r, {});
        }
        seedClass(p.tdb.db(), 1, 3, QString::fromUtf8("ältere Herren"), ClassKind::Einzel);
        seedClass(p.tdb.db(), 1, 4, s("Zwerge"), ClassKind::Einzel);
        p.page.SpielerbuttonItems4Click();
        QCOMPARE(entries(p.page.schiriliste),
                 (QStringList{QString::fromUtf8("Äbersold, Eva"), s("de Vries, Jan"), s("Meier, Hans"), s("ohne, Name"),
                              QString::fromUtf8("Öztürk, Ali"), s("Schulz, Karl"), s("Zimmer, Max")}));
        const QStringList classes = entries(p.page.schiriklassen);
        QCOMPARE(classes.first(), QString::fromUtf8("ältere Herren (Einzel)"));
        QCOMPARE(classes.last(), s("Zwerge (Einzel)"));

        // A new referee takes his place by the same order.
        click(p.page.schiri_neu);
        p.page.schirinname->setText(s("van Dijk"));
        p.page.schirivname->setText(s("Piet"));
        p.page.schirimemo->setPlainText(s("Zeile 1\nZeile 2"));
        click(p.page.schirispeichern);
        QCOMPARE(entries(p.page.schiriliste).indexOf(s("van Dijk, Piet")), 6);
        // Its memo is stored with CR LF and shown with plain line breaks.
        QCOMPARE(scalar(p.tdb.db(), s("SELECT smemo FROM Schiri WHERE snname='van Dijk'")).toString(),
                 s("Zeile 1\r\nZeile 2"));
        p.choose(s("Meier, Hans"));
        p.choose(s("van Dijk, Piet"));
        QCOMPARE(p.page.schirimemo->toPlainText(), s("Zeile 1\nZeile 2"));
    }

    // The list's entries: 16 pixels high, white unless selected, then on the
    // highlight colour.
    void listEntriesAreDrawnOnWhite()
    {
        Page p;
        QListWidget* list = p.page.schiriliste;
        p.choose(s("Schulz, Karl"));
        QApplication::processEvents();
        const QImage shown = list->viewport()->grab().toImage();
        for (int row = 0; row < list->count(); ++row) {
            const QRect r = list->visualItemRect(list->item(row));
            QCOMPARE(r.height(), 16);
            const QColor pixel = shown.pixelColor(r.left() + 2, r.center().y());
            if (list->item(row)->isSelected())
                QVERIFY(pixel == list->palette().color(QPalette::Active, QPalette::Highlight)
                        || pixel == list->palette().color(QPalette::Inactive, QPalette::Highlight));
            else
                QCOMPARE(pixel, QColor(Qt::white));
        }
    }

    void insertWithClasses()
    {
        Page p;
        click(p.page.schiri_neu);
        QCOMPARE(p.page.schirispeichern->Caption(), s("Speichern"));
        p.page.schirinname->setText(s("Neu"));
        p.page.schirivname->setText(s("Eva"));
        p.page.schirikverband->setCurrentText(s(" Kreis Süd "));
        for (int i = 0; i < p.page.schiriklassen->count(); ++i)
            p.page.schiriklassen->item(i)->setSelected(true);
        click(p.page.schirispeichern);
        QVERIFY(p.prompter.verify());
        const int id = p.sid; // the new referee's key is left for the live link
        QCOMPARE(id, 4);
        const auto data = readReferee(p.tdb.db(), id);
        QCOMPARE(data->record.sverein, s("ohne Verein"));
        QCOMPARE(p.page.schiriverein->currentText(), s("ohne Verein"));
        QVERIFY(!data->record.sgeb);
        QCOMPARE(data->kids, (QList<int>{1, 2}));
        QCOMPARE(p.selected(), s("Neu, Eva"));
        QVERIFY(!p.page.schirispeichern->isEnabled());
        QVERIFY(p.page.schirikverband->findText(s("Kreis Süd")) >= 0);
        QVERIFY(p.page.schiriverein->findText(s("ohne Verein")) >= 0);

        // The next change of the same referee is an update.
        p.page.schirivname->setText(s("Eva-Maria"));
        QCOMPARE(p.page.schirispeichern->Caption(), s("Änderung übernehmen"));
        click(p.page.schirispeichern);
        QCOMPARE(readReferee(p.tdb.db(), id)->record.svname, s("Eva-Maria"));
        QCOMPARE(loadReferees(p.tdb.db(), 1).size(), 4);
    }

    // Renaming "Meier, Hans" to "Schulz": the type-ahead selects "Schulz, Karl"
    // on the way, but the save changes Hans and leaves Karl alone.
    void renameActsOnTheLoadedReferee()
    {
        Page p;
        p.choose(s("Meier, Hans"));
        QVERIFY(!p.page.schirispeichern->isEnabled());
        p.page.schirinname->selectAll();
        QTest::keyClicks(p.page.schirinname, s("Schulz"));
        QCOMPARE(p.selected(), s("Schulz, Karl"));
        QCOMPARE(p.page.schirispeichern->Caption(), s("Änderung übernehmen"));
        click(p.page.schirispeichern);
        QVERIFY(p.prompter.verify());
        QCOMPARE(readReferee(p.tdb.db(), 1)->record.snname, s("Schulz"));
        QCOMPARE(readReferee(p.tdb.db(), 1)->record.svname, s("Hans"));
        QCOMPARE(readReferee(p.tdb.db(), 2)->record.svname, s("Karl"));
        QCOMPARE(p.selected(), s("Schulz, Hans"));
        QVERIFY(p.page.schiriliste->findItems(s("Meier, Hans"), Qt::MatchExactly).isEmpty());
    }

    void typeAheadOnTheFieldsText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::newRow("lower case") << "sch" << "Schulz, Karl";
        QTest::newRow("umlaut") << QString::fromUtf8("öz") << QString::fromUtf8("Öztürk, Ali");
        QTest::newRow("capitals") << "MEI" << "Meier, Hans";
        QTest::newRow("wildcard") << "%" << "";
    }
    void typeAheadOnTheFieldsText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        Page p;
        click(p.page.schiri_neu);
        typeText(p.page.schirinname, typed);
        QCOMPARE(p.selected(), selected);
        // Enter loads the selected referee; with none selected it only searches.
        QTest::keyClick(p.page.schirinname, Qt::Key_Return);
        QCOMPARE(p.page.geladenerName, selected);
    }

    void deleting()
    {
        Page p;
        // Nothing loaded: nothing happens, not even a question.
        click(p.page.schiri_neu);
        p.page.schirinname->setText(s("Meier"));
        p.page.schirivname->setText(s("Hans"));
        click(p.page.schiri_del);
        QCOMPARE(loadReferees(p.tdb.db(), 1).size(), 3);

        p.choose(s("Schulz, Karl"));
        p.prompter.expect(PromptKind::Question, s("Wollen Sie den Schiedsrichter \"Schulz, Karl\" wirklich löschen?"),
                          PromptAnswer::No);
        click(p.page.schiri_del);
        QCOMPARE(loadReferees(p.tdb.db(), 1).size(), 3);
        p.prompter.expect(PromptKind::Question, s("Wollen Sie den Schiedsrichter \"Schulz, Karl\" wirklich löschen?"),
                          PromptAnswer::Yes);
        click(p.page.schiri_del);
        QVERIFY(p.prompter.verify());
        QVERIFY(!readReferee(p.tdb.db(), 2));
        QCOMPARE(scalar(p.tdb.db(), s("SELECT COUNT(*) FROM Schiri_im_turnier WHERE SCHIRIID=2")).toInt(), 0);
        QCOMPARE(p.page.schiriliste->count(), 2);
        QCOMPARE(p.page.schirispeichern->Caption(), s("Speichern"));
        QVERIFY(!p.page.schirispeichern->isEnabled());
        // Typing a new name and saving inserts a new referee.
        p.page.schirinname->setText(s("Neu"));
        p.page.schirivname->setText(s("Nora"));
        click(p.page.schirispeichern);
        QCOMPARE(loadReferees(p.tdb.db(), 1).size(), 3);
        QVERIFY(readReferee(p.tdb.db(), 1)); // Meier untouched
    }

    void memoAloneDoesNotEnableSaving()
    {
        Page p;
        p.choose(s("Meier, Hans"));
        p.page.schirimemo->setPlainText(s("Notiz"));
        QVERIFY(!p.page.schirispeichern->isEnabled());
        p.page.schiriklassen->item(0)->setSelected(true);
        QTest::mouseClick(p.page.schiriklassen->viewport(), Qt::LeftButton, {},
                          p.page.schiriklassen->visualItemRect(p.page.schiriklassen->item(1)).center());
        QVERIFY(p.page.schirispeichern->isEnabled());
    }

    // A write failing at any of its statements shows the error and leaves the
    // database as it was and the page as the user left it: the typing and the
    // changes stay to be saved again, the list shows the stored referees.
    // Another desk changed or deleted the loaded referee meanwhile: the save
    // writes nothing, says so, and the page shows him as he is now stored.
    void staleSaveReloadsTheReferee_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("changed") << false;
        QTest::newRow("deleted") << true;
    }
    void staleSaveReloadsTheReferee()
    {
        QFETCH(bool, deleted);
        Page p;
        p.choose(s("Meier, Hans"));
        const int id = p.page.loadedId();
        const QSqlDatabase otherDesk = p.tdb.open();
        const RefereeData before = *readReferee(otherDesk, id);
        if (deleted) {
            deleteReferee(otherDesk, id);
        } else {
            RefereeRecord r = before.record;
            r.svname = s("Hans-Peter");
            r.sangemeldet = true;
            updateReferee(otherDesk, before, r, {2});
        }
        const QStringList stored = dumpTables(p.tdb.db());
        p.page.schiriklasse->setCurrentText(s("A"));
        p.prompter.expect(PromptKind::Error,
                          deleted ? s("Der Schiedsrichter ist nicht mehr in der Datenbank vorhanden.")
                                  : s("Der Schiedsrichter wurde inzwischen an einem anderen Arbeitsplatz geändert. "
                                      "Die Seite wird neu geladen."));
        click(p.page.schirispeichern);
        QVERIFY(p.prompter.verify());
        QCOMPARE(dumpTables(p.tdb.db()), stored);
        QCOMPARE(p.page.mode(), PageState::Mode::Unchanged);
        if (deleted) {
            QCOMPARE(p.page.loadedId(), 0);
            QVERIFY(p.page.schiriliste->findItems(s("Meier, Hans"), Qt::MatchExactly).isEmpty());
            return;
        }
        QCOMPARE(p.page.loadedId(), id);
        QCOMPARE(p.page.schirivname->text(), s("Hans-Peter"));
        QCOMPARE(p.selected(), s("Meier, Hans-Peter"));
        QVERIFY(p.page.schiriangemeldet->Checked());
    }

    void failedWriteKeepsPageAndDatabase_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("new") << "new";
        QTest::newRow("change") << "change";
        QTest::newRow("delete") << "delete";
    }
    void failedWriteKeepsPageAndDatabase()
    {
        QFETCH(QString, action);
        Page p;
        TuiButton* button = p.page.schirispeichern;
        std::function<void(int)> beforeRun;
        if (action == s("new")) {
            click(p.page.schiri_neu);
            p.page.schirinname->setText(s("Neu"));
            p.page.schirivname->setText(s("Eva"));
        } else {
            p.choose(s("Meier, Hans"));
            if (action == s("change")) {
                p.page.schirivname->setText(s("Hansi"));
            } else {
                button = p.page.schiri_del;
                beforeRun = [&](int) {
                    p.prompter.expect(PromptKind::Question,
                                      s("Wollen Sie den Schiedsrichter \"Meier, Hans\" wirklich löschen?"),
                                      PromptAnswer::Yes);
                };
            }
        }
        for (int i = 0; i < p.page.schiriklassen->count(); ++i)
            p.page.schiriklassen->item(i)->setSelected(true);
        const int loaded = p.page.loadedId();
        const PageState::Mode mode = p.page.mode();
        const QString typed = p.page.schirivname->text();
        const QStringList list = entries(p.page.schiriliste);
        int runs = 0;
        const QString failure = checkPageWrite(
            p.tdb.db(), p.prompter, [&] { click(button); },
            [&]() -> QString {
                if (p.page.loadedId() != loaded || p.page.mode() != mode)
                    return s("the page's record or mode changed");
                if (p.page.schirivname->text() != typed || p.page.schiriklassen->selectedItems().size() != 2)
                    return s("the typing was lost");
                if (p.page.schirispeichern->isEnabled() != (mode != PageState::Mode::Unchanged))
                    return s("the save button does not show the mode");
                return entries(p.page.schiriliste) == list ? QString() : s("the list changed");
            },
            beforeRun, &runs);
        QCOMPARE(failure, QString());
        QVERIFY(runs > 1);
        QVERIFY(p.prompter.verify());

        // The last run wrote.
        QCOMPARE(p.page.mode(), PageState::Mode::Unchanged);
        if (action == s("delete")) {
            QVERIFY(!readReferee(p.tdb.db(), loaded));
            QCOMPARE(p.page.loadedId(), 0);
            QCOMPARE(p.page.schiriliste->count(), 2);
        } else {
            const auto stored = readReferee(p.tdb.db(), p.page.loadedId());
            QVERIFY(stored);
            QCOMPARE(stored->record.svname, typed);
            QCOMPARE(stored->kids, (QList<int>{1, 2}));
            QCOMPARE(p.selected(), displayName(stored->record.snname, typed));
        }
    }
};

QTEST_MAIN(TestRefereePage)
#include "test_refereepage.moc"
