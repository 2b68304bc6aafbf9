// The class page with its dialogs, offscreen on a real SQLite tournament
// database: saving, changing, copying and deleting classes with the class lists
// and the class items of the two navigation bars in step; the checks before
// saving; the table count; the team-match format; the age-class and tables
// dialogs.
#include "classes/classbars.h"
#include "classes/classpage.h"
#include "classes/taltersklassen.h"
#include "classes/ttisch_verwaltung.h"
#include "data/ageclasses.h"
#include "data/cascades.h"
#include "data/classrecords.h"
#include "data/sql.h"
#include "docpictures/docpicture.h"
#include "results/tteamform.h"
#include "support/fakeservices.h"
#include "support/pagewrite.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

// The items of a navigation bar, as the main window keeps them.
class ListBar : public ClassItemBar {
public:
    QStringList items;
    int itemCount() const override { return int(items.size()); }
    QString itemCaption(int index) const override { return items.value(index); }
    void setItemCaption(int index, const QString& caption) override { items[index] = caption; }
    void addClassItem(const QString& caption) override { items << caption; }
    void removeItem(int index) override { items.removeAt(index); }
};

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList selectedEntries(const QListWidget* list)
{
    QStringList texts;
    for (const QListWidgetItem* item : list->selectedItems())
        texts << item->text();
    return texts;
}

void selectEntry(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.first());
}

// A tournament database with one open tournament, the page and its dialogs.
struct Desk {
    TestDatabase tdb{Backend::SQLite};
    FakeServices fake;
    int tid = 1;
    int kid = 0;
    QString klassenname;
    ListBar classBar;
    ListBar planBar;
    QList<QWidget*> shownDialogs;
    Tteamform teamform{nullptr, fake.prompter, [this] { return tdb.db(); }};
    Ttisch_verwaltung tische{nullptr, fake.prompter, [this] { return tdb.db(); }, kid};
    TAltersklassen ages{nullptr, fake.prompter, [this] { return tdb.db(); }, tid};
    ClassPage page{ClassPageLinks{fake.prompter, fake.clock, [this] { return tdb.db(); }, tid, kid, klassenname,
                                  teamform, tische, classBar, planBar,
                                  [this](QWidget* dialog) { shownDialogs << dialog; dialog->show(); },
                                  [this] { fillLists(); }}};

    // What the main window fills the page with when it opens.
    void fillLists()
    {
        for (ClassKind kind : kClassKinds)
            page.listOf(kind)->clear();
        page.altersklasse->clear();
        for (const ClassEntry& c : listClasses(db(), tid))
            page.listOf(*c.kind)->addItem(c.name);
        page.altersklasse->addItems(ageClassNames(db(), tid));
        page.altersklasse->addItem(kNoAgeLimit);
        page.altersklasse->setCurrentIndex(page.altersklasse->count() - 1);
        page.austragungstag->setDate(QDate(2026, 12, 12));
    }

    Desk()
    {
        insertRow(tdb.db(), QStringLiteral("Turnierdaten"),
                  {{QStringLiteral("TID"), 1}, {QStringLiteral("tvon"), QDateTime(QDate(2026, 12, 12), QTime())}});
        saveAgeClass(tdb.db(), 1, QString(), {QStringLiteral("U18"), QDate(), QDate(2008, 1, 1), false, true});
        classBar.items << QStringLiteral("Klassen verwalten");
        page.resize(900, 700);
        page.show();
        page.KlassenbuttonItems0Click();
    }
    QSqlDatabase db() const { return tdb.db(); }

    // Enters a new class of a kind on the page and saves it.
    void addClass(const QString& name, ClassKind kind)
    {
        page.neueklasseClick();
        page.kbezeichnung->setText(name);
        page.showKind(kind);
        click(page.klasse_speichern);
    }
    void load(ClassKind kind, const QString& name)
    {
        QListWidget* list = page.listOf(kind);
        selectEntry(list, name);
        page.listClick(list);
    }
};

} // namespace

class TestClassPage : public QObject {
    Q_OBJECT

private slots:
    void newClassIsSavedThenChanged()
    {
        Desk d;
        QCOMPARE(d.page.klasse_speichern->Caption(), ClassPage::kNewCaption);
        QCOMPARE(d.page.klasse_speichern->FontColor(), QColor(Qt::blue));
        QCOMPARE(d.page.altersklasse->currentText(), QStringLiteral("ohne Beschränkung"));
        QCOMPARE(d.page.austragungstag->date(), QDate(2026, 12, 12));
        d.page.neueklasseClick();
        d.page.kbezeichnung->setText(QStringLiteral("  Herren A "));
        d.page.kbeschreibung->setPlainText(QStringLiteral("Zeile 1\nZeile 2"));
        d.page.gebuehr->setText(QStringLiteral("12,50"));
        d.page.beginn->setText(QStringLiteral("14:30"));
        d.page.altersklasse->setCurrentIndex(d.page.altersklasse->findText(QStringLiteral("U18")));
        d.page.plattenanzahl->setEditText(QStringLiteral("3"));
        click(d.page.klasse_speichern);

        const int kid = getKID(d.db(), 1, ClassKind::Einzel, QStringLiteral("Herren A"));
        QCOMPARE(kid, 1);
        QCOMPARE(d.kid, kid);
        QCOMPARE(d.klassenname, QStringLiteral("Herren A"));
        const ClassRecord stored = *readClass(d.db(), kid);
        QCOMPARE(stored.kbeschreibung, QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(stored.gebuehr, 12.5);
        QCOMPARE(stored.uhrzeit, std::optional<QTime>(QTime(14, 30)));
        QCOMPARE(stored.altersklasseID, QStringLiteral("U18"));
        QCOMPARE(stored.platten, 3);
        // "Neue Klasse" starts from today, opening the page from the first day.
        QCOMPARE(stored.atag, d.fake.clock.today());
        QCOMPARE(readTableNames(d.db(), kid),
                 (QStringList{QStringLiteral("Tisch 1"), QStringLiteral("Tisch 2"), QStringLiteral("Tisch 3")}));
        QCOMPARE(entries(d.page.einzelliste), QStringList{QStringLiteral("Herren A")});
        QCOMPARE(d.classBar.items, (QStringList{QStringLiteral("Klassen verwalten"), QStringLiteral("Herren A (Einzel)")}));
        QVERIFY(!d.page.klasse_speichern->isEnabled());
        QCOMPARE(d.page.klasse_speichern->Caption(), ClassPage::kNewCaption);

        // The next change applies to the class just saved.
        d.page.gebuehr->setText(QStringLiteral("8"));
        QCOMPARE(d.page.klasse_speichern->Caption(), ClassPage::kChangeCaption);
        QVERIFY(d.page.klasse_speichern->isEnabled());
        click(d.page.klasse_speichern);
        QCOMPARE(scalar(d.db(), QStringLiteral("SELECT COUNT(*) FROM Turnierklassen")).toInt(), 1);
        QCOMPARE(readClass(d.db(), kid)->gebuehr, 8.0);

        // Loading shows the stored class unchanged.
        d.page.neueklasseClick();
        d.load(ClassKind::Einzel, QStringLiteral("Herren A"));
        QCOMPARE(d.page.kbezeichnung->text(), QStringLiteral("Herren A"));
        QCOMPARE(d.page.gebuehr->text(), QStringLiteral("8"));
        QCOMPARE(d.page.beginn->text(), QStringLiteral("14:30"));
        QCOMPARE(d.page.altersklasse->currentText(), QStringLiteral("U18"));
        QCOMPARE(d.page.kbeschreibung->toPlainText(), QStringLiteral("Zeile 1\nZeile 2"));
        QCOMPARE(entries(d.page.plattenlist).size(), 3);
        QVERIFY(!d.page.klasse_speichern->isEnabled());
        QCOMPARE(d.page.klasse_speichern->Caption(), ClassPage::kChangeCaption);
        QVERIFY(!d.page.teambutton->isEnabled());

        // Loading set the ticks without marking a change; the user's tick does.
        QVERIFY(d.page.mann->Checked() && !d.page.frau->Checked());
        click(d.page.frau);
        QVERIFY(d.page.frau->Checked());
        QVERIFY(d.page.klasse_speichern->isEnabled());
        QCOMPARE(d.page.klasse_speichern->FontColor(), QColor(Qt::red));
    }

    void listsAreSortedAsGermanReadersExpect()
    {
        Desk d;
        for (const char* name : {"zweite", "Äpfel", "Bären", "apfel"}) {
            ClassRecord r;
            r.kbezeichnung = QString::fromUtf8(name);
            insertClass(d.db(), 1, r, {}, {});
        }
        d.page.KlassenbuttonItems0Click();
        const QStringList sorted{QStringLiteral("apfel"), QStringLiteral("Äpfel"), QStringLiteral("Bären"),
                                 QStringLiteral("zweite")};
        QCOMPARE(entries(d.page.einzelliste), sorted);
        d.addClass(QStringLiteral("Birne"), ClassKind::Einzel);
        QCOMPARE(entries(d.page.einzelliste).indexOf(QStringLiteral("Birne")), 3);
    }

    void inputIsCheckedBeforeSaving_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QString>("lateFee");
        QTest::addColumn<QString>("message");
        const QString none;
        QTest::newRow("empty name") << QStringLiteral("   ") << none << none << none
                                    << QStringLiteral("Sie müssen einen Klassennamen eingeben");
        QTest::newRow("name taken, blanks around") << QStringLiteral(" Herren ") << none << none << none
                                                   << QStringLiteral("Eine Klasse mit diesem Namen existiert bereits");
        QTest::newRow("start 00:00") << QStringLiteral("Damen") << QStringLiteral("00:00") << none << none
                                     << QStringLiteral("Geben Sie eine gültige Uhrzeit ein");
        QTest::newRow("start garbage") << QStringLiteral("Damen") << QStringLiteral("9 Uhr") << none << none
                                       << QStringLiteral("Geben Sie eine gültige Uhrzeit ein");
        QTest::newRow("fee no number") << QStringLiteral("Damen") << none << QStringLiteral("abc") << none
                                       << QStringLiteral("Die Startgebühr wurde nicht korrekt eingegeben");
        QTest::newRow("late fee no number") << QStringLiteral("Damen") << none << QStringLiteral("5") << QStringLiteral("5 €")
                                            << QStringLiteral("Die Nachmeldegebühr wurde nicht korrekt eingegeben");
    }
    void inputIsCheckedBeforeSaving()
    {
        QFETCH(QString, name);
        QFETCH(QString, start);
        QFETCH(QString, fee);
        QFETCH(QString, lateFee);
        QFETCH(QString, message);
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        const QStringList before = dumpTables(d.db());
        d.page.neueklasseClick();
        d.page.kbezeichnung->setText(name);
        d.page.beginn->setText(start);
        d.page.gebuehr->setText(fee);
        d.page.nachgebuehr->setText(lateFee);
        d.fake.prompter.expect(PromptKind::Warning, message, PromptAnswer::Cancel);
        click(d.page.klasse_speichern);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(dumpTables(d.db()), before);
        QCOMPARE(d.page.kbezeichnung->text(), name);
        QCOMPARE(d.page.gebuehr->text(), fee);
        QCOMPARE(d.page.mode(), PageState::Mode::New);
    }

    // The lists highlight the class the form shows after every save, so
    // "Klasse löschen" never meets another highlighted class.
    void savedClassStaysHighlighted()
    {
        Desk d;
        for (const char* name : {"Anna", "Berta", "Carl"})
            d.addClass(QLatin1String(name), ClassKind::Einzel);
        QCOMPARE(selectedEntries(d.page.einzelliste), QStringList{QStringLiteral("Carl")});
        d.load(ClassKind::Einzel, QStringLiteral("Berta"));
        d.page.kbezeichnung->setText(QStringLiteral("Zora"));
        click(d.page.klasse_speichern);
        QCOMPARE(entries(d.page.einzelliste),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("Carl"), QStringLiteral("Zora")}));
        QCOMPARE(selectedEntries(d.page.einzelliste), QStringList{QStringLiteral("Zora")});
        QCOMPARE(d.page.einzelliste->currentItem()->text(), QStringLiteral("Zora"));

        // A kind change highlights it in its new list only.
        d.page.showKind(ClassKind::Doppel);
        click(d.page.klasse_speichern);
        QCOMPARE(selectedEntries(d.page.einzelliste), QStringList());
        QCOMPARE(selectedEntries(d.page.doppelliste), QStringList{QStringLiteral("Zora")});
        d.fake.prompter.expectPrefix(PromptKind::Question,
                                     QStringLiteral("Wollen Sie die Klasse \"Zora (Doppel)\" wirklich löschen?"));
        click(d.page.klasse_delete);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(getKID(d.db(), 1, ClassKind::Doppel, QStringLiteral("Zora")), 0);
        QCOMPARE(entries(d.page.einzelliste),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("Carl")}));
    }

    void sameNameOncePerKind()
    {
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Herren"), ClassKind::Doppel);
        QCOMPARE(entries(d.page.einzelliste), QStringList{QStringLiteral("Herren")});
        QCOMPARE(entries(d.page.doppelliste), QStringList{QStringLiteral("Herren")});
        QVERIFY(getKID(d.db(), 1, ClassKind::Einzel, QStringLiteral("Herren")) != getKID(d.db(), 1, ClassKind::Doppel, QStringLiteral("Herren")));
        // An empty start time is accepted and stores none.
        QVERIFY(!readClass(d.db(), getKID(d.db(), 1, ClassKind::Doppel, QStringLiteral("Herren")))->uhrzeit);
    }

    void barsFollowAddRenameKindChangeAndDelete()
    {
        Desk d;
        d.addClass(QStringLiteral("Alt"), ClassKind::Team);
        d.addClass(QStringLiteral("Zweite"), ClassKind::Einzel);
        const int kid = getKID(d.db(), 1, ClassKind::Team, QStringLiteral("Alt"));
        // The class has a plan, so "Spielpläne" shows it.
        insertRow(d.db(), QStringLiteral("Spielplan"), {{QStringLiteral("KID"), kid}});
        d.planBar.items.clear();
        ListBar reopened;
        XPBarItemsAdd(d.db(), 1, reopened, d.planBar);
        QCOMPARE(reopened.items, (QStringList{QStringLiteral("Alt (Team)"), QStringLiteral("Zweite (Einzel)")}));
        QCOMPARE(d.planBar.items, QStringList{QStringLiteral("Alt (Team)")});
        // A finished draw lists its class among the plans once, however often it is finished.
        addItemOnce(d.planBar, QStringLiteral("Alt (Team)"));
        addItemOnce(d.planBar, QStringLiteral("Zweite (Einzel)"));
        addItemOnce(d.planBar, QStringLiteral("Zweite (Einzel)"));
        QCOMPARE(d.planBar.items, (QStringList{QStringLiteral("Alt (Team)"), QStringLiteral("Zweite (Einzel)")}));
        d.planBar.items.removeLast();

        d.load(ClassKind::Team, QStringLiteral("Alt"));
        d.page.kbezeichnung->setText(QStringLiteral("Neu"));
        click(d.page.klasse_speichern);
        QCOMPARE(d.classBar.items, (QStringList{QStringLiteral("Klassen verwalten"), QStringLiteral("Neu (Team)"),
                                                QStringLiteral("Zweite (Einzel)")}));
        QCOMPARE(d.planBar.items, QStringList{QStringLiteral("Neu (Team)")});
        QCOMPARE(entries(d.page.courbliste), QStringList{QStringLiteral("Neu")});

        // A kind change moves the entry and retitles both bars.
        d.page.showKind(ClassKind::Mixed);
        click(d.page.klasse_speichern);
        QCOMPARE(scalar(d.db(), QStringLiteral("SELECT system FROM Turnierklassen WHERE KID=:id"), {{QStringLiteral("id"), kid}}).toInt(),
                 int(ClassKind::Mixed));
        QCOMPARE(entries(d.page.courbliste), QStringList{});
        QCOMPARE(entries(d.page.mixedliste), QStringList{QStringLiteral("Neu")});
        QCOMPARE(d.classBar.items, (QStringList{QStringLiteral("Klassen verwalten"), QStringLiteral("Neu (Mixed)"),
                                                QStringLiteral("Zweite (Einzel)")}));
        QCOMPARE(d.planBar.items, QStringList{QStringLiteral("Neu (Mixed)")});

        d.fake.prompter.expect(
            PromptKind::Question,
            QStringLiteral("Wollen Sie die Klasse \"Neu (Mixed)\" wirklich löschen?\n\rBereits erstellte Spielpläne gehen verloren!"));
        click(d.page.klasse_delete);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(d.classBar.items, (QStringList{QStringLiteral("Klassen verwalten"), QStringLiteral("Zweite (Einzel)")}));
        QCOMPARE(d.planBar.items, QStringList{});
        QCOMPARE(entries(d.page.mixedliste), QStringList{});
        // The list is empty now: the page is reset to a new class.
        QCOMPARE(d.page.kbezeichnung->text(), QString());
        QCOMPARE(d.page.klasse_speichern->Caption(), ClassPage::kNewCaption);
        QCOMPARE(entries(d.page.plattenlist), QStringList{QStringLiteral("Tisch 1")});
        QCOMPARE(scalar(d.db(), QStringLiteral("SELECT COUNT(*) FROM Spielplan")).toInt(), 0);
    }

    void deleteActsOnTheLoadedClass()
    {
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Herren"), ClassKind::Doppel);
        d.addClass(QStringLiteral("Anfänger"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Senioren"), ClassKind::Einzel);
        const int doubles = getKID(d.db(), 1, ClassKind::Doppel, QStringLiteral("Herren"));
        insertRow(d.db(), QStringLiteral("Spielplan"), {{QStringLiteral("KID"), doubles}});

        // Switching the kind before deleting must not hit the doubles class.
        d.load(ClassKind::Einzel, QStringLiteral("Herren"));
        d.page.showKind(ClassKind::Doppel);
        d.fake.prompter.expectPrefix(PromptKind::Question,
                                     QStringLiteral("Wollen Sie die Klasse \"Herren (Einzel)\" wirklich löschen?"));
        click(d.page.klasse_delete);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(getKID(d.db(), 1, ClassKind::Einzel, QStringLiteral("Herren")), 0);
        QCOMPARE(getKID(d.db(), 1, ClassKind::Doppel, QStringLiteral("Herren")), doubles);
        QCOMPARE(scalar(d.db(), QStringLiteral("SELECT COUNT(*) FROM Spielplan")).toInt(), 1);
        // The alphabetically last singles class is shown next, and a change goes to it.
        QCOMPARE(entries(d.page.einzelliste), (QStringList{QStringLiteral("Anfänger"), QStringLiteral("Senioren")}));
        QCOMPARE(d.page.kbezeichnung->text(), QStringLiteral("Senioren"));
        QCOMPARE(d.kid, getKID(d.db(), 1, ClassKind::Einzel, QStringLiteral("Senioren")));
        d.page.gebuehr->setText(QStringLiteral("5"));
        click(d.page.klasse_speichern);
        QCOMPARE(readClass(d.db(), d.kid)->gebuehr, 5.0);

        // A new class being entered has nothing to delete: no question, nothing goes.
        const QStringList before = dumpTables(d.db());
        d.page.neueklasseClick();
        d.page.kbezeichnung->setText(QStringLiteral("Senioren"));
        click(d.page.klasse_delete);
        QCOMPARE(dumpTables(d.db()), before);
    }

    void changedNameMustBeFreeInTheChosenKind()
    {
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Damen"), ClassKind::Doppel);
        d.load(ClassKind::Einzel, QStringLiteral("Herren"));
        const QStringList before = dumpTables(d.db());

        d.page.showKind(ClassKind::Doppel);
        d.page.kbezeichnung->setText(QStringLiteral(" Damen "));
        d.fake.prompter.expect(PromptKind::Information, QStringLiteral("Eine Klasse mit diesem Namen existiert bereits"));
        click(d.page.klasse_speichern);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(dumpTables(d.db()), before);
        QCOMPARE(d.page.kbezeichnung->text(), QStringLiteral("Herren"));
        QCOMPARE(d.page.klasse_speichern->Caption(), ClassPage::kChangeCaption);
        QVERIFY(d.page.klasse_speichern->isEnabled());

        // Blanks around its own name do not make a class collide with itself.
        d.page.showKind(ClassKind::Einzel);
        d.page.kbezeichnung->setText(QStringLiteral("Herren "));
        d.page.gebuehr->setText(QStringLiteral("3"));
        click(d.page.klasse_speichern);
        QCOMPARE(readClass(d.db(), d.kid)->gebuehr, 3.0);
    }

    void tableCountKeepsTheNames()
    {
        Desk d;
        d.page.neueklasseClick();
        // Every keystroke on the way to a number is taken without a message.
        for (const QString& text : {QStringLiteral("4"), QString(), QStringLiteral("-"), QStringLiteral("4")})
            d.page.plattenanzahl->setEditText(text);
        QCOMPARE(entries(d.page.plattenlist), (QStringList{QStringLiteral("Tisch 1"), QStringLiteral("Tisch 2"),
                                                           QStringLiteral("Tisch 3"), QStringLiteral("Tisch 4")}));
        d.page.plattenlist->item(1)->setText(QStringLiteral("Center Court"));
        d.page.plattenanzahl->setEditText(QStringLiteral("2"));
        QCOMPARE(entries(d.page.plattenlist), (QStringList{QStringLiteral("Tisch 1"), QStringLiteral("Center Court")}));
        d.page.plattenanzahl->setEditText(QStringLiteral("4"));
        QCOMPARE(entries(d.page.plattenlist), (QStringList{QStringLiteral("Tisch 1"), QStringLiteral("Center Court"),
                                                           QStringLiteral("Tisch 3"), QStringLiteral("Tisch 4")}));

        // Leaving the field with no number says so.
        d.page.plattenanzahl->setEditText(QStringLiteral("vier"));
        d.fake.prompter.expect(PromptKind::Information, QStringLiteral("Geben Sie eine gültige Zahl ein"));
        d.page.plattenanzahlExit(d.page.plattenanzahl);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(entries(d.page.plattenlist).size(), 4);
    }

    void teamFormatIsSavedWithTheClass()
    {
        Desk d;
        d.addClass(QStringLiteral("Liga"), ClassKind::Einzel);
        d.load(ClassKind::Einzel, QStringLiteral("Liga"));
        QVERIFY(!d.page.teambutton->isEnabled());
        d.page.showKind(ClassKind::Team);
        QVERIFY(d.page.teambutton->isEnabled());
        click(d.page.teambutton);
        QCOMPARE(d.shownDialogs, QList<QWidget*>{&d.teamform});

        Tteamform& t = d.teamform;
        t.spieler->setValue(4);
        t.reserve->setValue(2);
        const QStringList a{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("D1"), QStringLiteral("A3")};
        const QStringList b{QStringLiteral("B2"), QStringLiteral("B1"), QStringLiteral("D1"), QString()};
        for (int n = 0; n < 4; ++n) {
            t.a[size_t(n)]->setEditText(a[n]);
            t.b[size_t(n)]->setEditText(b[n]);
        }
        click(t.ok);
        QVERIFY(!t.isVisible());
        click(d.page.klasse_speichern);

        // The class had no format row: saving it as a team class adds one.
        TeamFormat expected;
        expected.spieler = 4;
        expected.reserve = 2;
        expected.a = {1, 2, 11};
        expected.b = {2, 1, 11};
        QCOMPARE(readTeamFormat(d.db(), d.kid), std::optional<TeamFormat>(expected));
        QCOMPARE(entries(d.page.courbliste), QStringList{QStringLiteral("Liga")});

        // Loading the class shows the format again.
        d.page.neueklasseClick();
        QCOMPARE(t.a[0]->currentText(), QString());
        d.load(ClassKind::Team, QStringLiteral("Liga"));
        QVERIFY(d.page.teambutton->isEnabled());
        QCOMPARE(t.spieler->value(), 4);
        QCOMPARE(t.a[2]->currentText(), QStringLiteral("D1"));
        QCOMPARE(t.b[0]->currentText(), QStringLiteral("B2"));
        QCOMPARE(t.a[3]->currentText(), QString());
        QCOMPARE(t.format(), expected);
    }

    // A new team class offers the doubles in every game, so a doubles-only
    // format can be entered before the class is first saved.
    void newTeamClassOffersTheDoubles()
    {
        Desk d;
        Tteamform& t = d.teamform;
        d.addClass(QStringLiteral("Liga"), ClassKind::Team);
        d.load(ClassKind::Team, QStringLiteral("Liga"));
        d.page.neueklasseClick();
        d.page.kbezeichnung->setText(QStringLiteral("Doppelliga"));
        d.page.showKind(ClassKind::Team);
        click(d.page.teambutton);
        QCOMPARE(t.spieler->value(), 0);
        for (int n = 0; n < Tteamform::kGames; ++n) {
            QCOMPARE(t.a[size_t(n)]->count(), 2);
            QCOMPARE(t.b[size_t(n)]->itemText(1), QStringLiteral("D2"));
            QCOMPARE(t.a[size_t(n)]->currentText(), QString());
        }
        t.a[0]->setCurrentIndex(t.a[0]->findText(QStringLiteral("D1")));
        t.b[0]->setCurrentIndex(t.b[0]->findText(QStringLiteral("D2")));
        click(t.ok);
        click(d.page.klasse_speichern);
        const std::optional<TeamFormat> stored = readTeamFormat(d.db(), getKID(d.db(), 1, ClassKind::Team, QStringLiteral("Doppelliga")));
        QVERIFY(stored);
        QCOMPARE(stored->a[0], std::optional<int>(11));
        QCOMPARE(stored->b[0], std::optional<int>(12));
        QCOMPARE(stored->a[1], std::optional<int>());
    }

    void teamFormDialog()
    {
        Desk d;
        Tteamform& t = d.teamform;
        t.show();
        // The spin edits stay within their ranges, typed or set.
        t.spieler->setValue(5);
        QCOMPARE(t.spieler->value(), 4);
        t.reserve->setValue(3);
        QCOMPARE(t.reserve->value(), 2);
        t.spieler->setValue(1);
        t.spieler->selectAll();
        QTest::keyClicks(t.spieler, QStringLiteral("5"));
        QCOMPARE(t.spieler->value(), 4);
        QCOMPARE(t.spieler->text(), QStringLiteral("4"));
        t.reserve->selectAll();
        QTest::keyClicks(t.reserve, QStringLiteral("7"));
        QCOMPARE(t.reserve->value(), 2);
        QStringList offered;
        for (int i = 0; i < t.b[0]->count(); ++i)
            offered << t.b[0]->itemText(i);
        QCOMPARE(offered, (QStringList{QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3"),
                                       QStringLiteral("B4"), QStringLiteral("D1"), QStringLiteral("D2")}));

        // Another number of players empties every game.
        t.a[0]->setEditText(QStringLiteral("A1"));
        t.b[0]->setEditText(QStringLiteral("B1"));
        t.spieler->setValue(2);
        QCOMPARE(t.a[0]->currentText(), QString());
        QCOMPARE(t.a[0]->count(), 4);

        // A text that is none of the entries is refused on leaving; blanks pass.
        t.a[1]->setEditText(QStringLiteral("A3"));
        d.fake.prompter.expect(PromptKind::Warning, QStringLiteral("Geben Sie einen gültigen Spieler ein"),
                               PromptAnswer::Cancel);
        t.a1Exit(t.a[1]);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(t.a[1]->currentText(), QString());
        t.a[1]->setEditText(QStringLiteral("  "));
        t.a1Exit(t.a[1]);
        t.a[1]->setEditText(QStringLiteral("D2"));
        t.a1Exit(t.a[1]);

        // A stored 12 shows as D2 on either side.
        TeamFormat f;
        f.spieler = 1;
        f.a[0] = 12;
        f.b[0] = 12;
        ClassRecord team;
        team.system = ClassKind::Team;
        team.kbezeichnung = QStringLiteral("T");
        const int kid = insertClass(d.db(), 1, team, {}, f);
        t.system_laden(kid);
        QCOMPARE(t.a[0]->currentText(), QStringLiteral("D2"));
        QCOMPARE(t.b[0]->currentText(), QStringLiteral("D2"));
        QCOMPARE(t.format(), f);

        // A doubles-only format (no single players) survives a reset and a reload.
        TeamFormat doubles;
        doubles.a[0] = 11;
        doubles.b[0] = 12;
        team.kbezeichnung = QStringLiteral("T2");
        const int doublesKid = insertClass(d.db(), 1, team, {}, doubles);
        t.clearFormat();
        t.system_laden(doublesKid);
        QCOMPARE(t.a[0]->currentText(), QStringLiteral("D1"));
        QCOMPARE(t.format(), doubles);

        // "Zurück" closes and keeps what was entered; nothing marks the page changed.
        QSignalSpy finished(&t, &QDialog::finished);
        d.page.klassenboxfuellen(kid);
        t.system_laden(kid);
        click(t.cancel);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!d.page.klasse_speichern->isEnabled());
        QCOMPARE(t.a[0]->currentText(), QStringLiteral("D2"));
    }

    void copyTakesTheNextFreeName()
    {
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Kopie1 von Herren"), ClassKind::Einzel);
        const int current = d.kid;

        d.page.einzelliste->clearSelection();
        d.page.einzellisteContextPopup(d.page.einzelliste);
        QVERIFY(!d.page.Klassekopieren1->isEnabled());
        selectEntry(d.page.einzelliste, QStringLiteral("Herren"));
        d.page.einzellisteContextPopup(d.page.einzelliste);
        QVERIFY(d.page.Klassekopieren1->isEnabled());
        d.page.Klassekopieren1->trigger();

        const int copy = getKID(d.db(), 1, ClassKind::Einzel, QStringLiteral("Kopie2 von Herren"));
        QVERIFY(copy > 0);
        QCOMPARE(d.kid, current);
        QCOMPARE(entries(d.page.einzelliste), (QStringList{QStringLiteral("Herren"), QStringLiteral("Kopie1 von Herren"),
                                                           QStringLiteral("Kopie2 von Herren")}));
        QCOMPARE(d.classBar.items.last(), QStringLiteral("Kopie2 von Herren (Einzel)"));
    }

    // A write failing at any of its statements shows the error and leaves the
    // database as it was and the page as the user left it: the form stays to
    // be saved again, the lists and the bars show the stored classes.
    // Another desk changed or deleted the loaded class meanwhile: the save
    // writes nothing, says so, and the page and its lists show the class as
    // it is now stored.
    void staleSaveReloadsTheClass_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("changed") << false;
        QTest::newRow("deleted") << true;
    }
    void staleSaveReloadsTheClass()
    {
        QFETCH(bool, deleted);
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Damen"), ClassKind::Einzel);
        d.load(ClassKind::Einzel, QStringLiteral("Herren"));
        const int kid = d.page.pageKid();
        const QSqlDatabase otherDesk = d.tdb.open();
        const ClassData before = *readClassData(otherDesk, kid);
        if (deleted) {
            deleteClass(otherDesk, kid);
        } else {
            ClassRecord r = before.record;
            r.kbezeichnung = QStringLiteral("Herren A");
            r.gebuehr = 12;
            updateClass(otherDesk, before, r, {QStringLiteral("Halle 1"), QStringLiteral("Halle 2")}, {});
        }
        const QStringList stored = dumpTables(d.db());
        d.page.nachgebuehr->setText(QStringLiteral("3"));
        d.fake.prompter.expect(PromptKind::Error,
                               deleted ? QStringLiteral("Die Klasse ist nicht mehr in der Datenbank vorhanden.")
                                       : QStringLiteral("Die Klasse wurde inzwischen an einem anderen Arbeitsplatz "
                                                        "geändert. Die Seite wird neu geladen."));
        click(d.page.klasse_speichern);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(dumpTables(d.db()), stored);
        QListWidget* singles = d.page.listOf(ClassKind::Einzel);
        if (deleted) {
            QCOMPARE(entries(singles), QStringList{QStringLiteral("Damen")});
            QVERIFY(!d.classBar.items.contains(QStringLiteral("Herren (Einzel)")));
            QCOMPARE(d.page.kbezeichnung->text(), QStringLiteral("Damen"));
            return;
        }
        QCOMPARE(d.page.mode(), PageState::Mode::Unchanged);
        QCOMPARE(d.page.pageKid(), kid);
        QCOMPARE(entries(singles), (QStringList{QStringLiteral("Damen"), QStringLiteral("Herren A")}));
        QVERIFY(d.classBar.items.contains(QStringLiteral("Herren A (Einzel)")));
        QCOMPARE(d.page.kbezeichnung->text(), QStringLiteral("Herren A"));
        QCOMPARE(d.page.gebuehr->text(), QStringLiteral("12"));
        QCOMPARE(entries(d.page.plattenlist), (QStringList{QStringLiteral("Halle 1"), QStringLiteral("Halle 2")}));
        // Typed again over what is now stored, the change is saved.
        d.page.nachgebuehr->setText(QStringLiteral("3"));
        click(d.page.klasse_speichern);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(readClass(d.db(), kid)->nachgebuehr, 3.0);
        QCOMPARE(readClass(d.db(), kid)->gebuehr, 12.0);
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
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        TuiButton* button = d.page.klasse_speichern;
        std::function<void(int)> beforeRun;
        if (action == QLatin1String("new")) {
            d.page.neueklasseClick();
            d.page.kbezeichnung->setText(QStringLiteral("Damen"));
            d.page.showKind(ClassKind::Team);
            d.page.plattenanzahl->setEditText(QStringLiteral("3"));
            d.teamform.spieler->setValue(3);
        } else {
            d.load(ClassKind::Einzel, QStringLiteral("Herren"));
            if (action == QLatin1String("change")) {
                d.page.kbezeichnung->setText(QStringLiteral("Herren B"));
                d.page.plattenanzahl->setEditText(QStringLiteral("2"));
            } else {
                button = d.page.klasse_delete;
                beforeRun = [&](int) {
                    d.fake.prompter.expectPrefix(PromptKind::Question,
                                                 QStringLiteral("Wollen Sie die Klasse \"Herren (Einzel)\" wirklich löschen?"));
                };
            }
        }
        const int shown = d.page.pageKid();
        const PageState::Mode mode = d.page.mode();
        const QString name = d.page.kbezeichnung->text();
        const QStringList tables = entries(d.page.plattenlist);
        const QStringList singles = entries(d.page.einzelliste);
        const QStringList bar = d.classBar.items;
        int runs = 0;
        const QString failure = checkPageWrite(
            d.db(), d.fake.prompter, [&] { click(button); },
            [&]() -> QString {
                if (d.page.pageKid() != shown || d.page.mode() != mode)
                    return QStringLiteral("the page's class or mode changed");
                if (d.page.kbezeichnung->text() != name || entries(d.page.plattenlist) != tables)
                    return QStringLiteral("the typing was lost");
                if (d.page.klasse_speichern->isEnabled() != (mode != PageState::Mode::Unchanged))
                    return QStringLiteral("the save button does not show the mode");
                if (entries(d.page.einzelliste) != singles || !entries(d.page.courbliste).isEmpty()
                    || d.classBar.items != bar)
                    return QStringLiteral("the lists or the bar changed");
                return QString();
            },
            beforeRun, &runs);
        QCOMPARE(failure, QString());
        QVERIFY(runs > 1);
        QVERIFY(d.fake.prompter.verify());

        // The last run wrote.
        if (action == QLatin1String("delete")) {
            QVERIFY(!readClass(d.db(), shown));
            QCOMPARE(entries(d.page.einzelliste), QStringList());
            return;
        }
        QCOMPARE(d.page.mode(), PageState::Mode::Unchanged);
        const std::optional<ClassRecord> stored = readClass(d.db(), d.page.pageKid());
        QVERIFY(stored);
        QCOMPARE(stored->kbezeichnung, name);
        QCOMPARE(readTableNames(d.db(), d.page.pageKid()), tables);
    }

    // A dialog of the page disables the main window's work area, and the page
    // with it; the changes it reports keep a new class new, so the save
    // inserts it.
    void dialogOpenKeepsTheMode_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Teamsystem") << "Teamsystem";
        QTest::newRow("Tische verwalten") << "Tische verwalten";
    }
    void dialogOpenKeepsTheMode()
    {
        QFETCH(QString, dialog);
        Desk d;
        d.page.neueklasseClick();
        d.page.kbezeichnung->setText(QStringLiteral("Mannschaft"));
        d.page.showKind(ClassKind::Team);
        if (dialog == QLatin1String("Teamsystem")) {
            click(d.page.teambutton);
            d.page.setEnabled(false);
            d.teamform.spieler->setValue(3);
            click(d.teamform.ok);
        } else {
            click(d.page.uiButton1);
            d.page.setEnabled(false);
            d.tische.Edit1->setText(QStringLiteral("Nord"));
            click(d.tische.uiButton2);
            click(d.tische.uiButton1);
        }
        QCOMPARE(d.page.mode(), PageState::Mode::New);
        d.page.setEnabled(true);
        QCOMPARE(d.page.klasse_speichern->Caption(), ClassPage::kNewCaption);
        click(d.page.klasse_speichern);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(getKID(d.db(), 1, ClassKind::Team, QStringLiteral("Mannschaft")), d.page.pageKid());
        QVERIFY(d.page.pageKid() > 0);
    }

    void tablesDialog()
    {
        Desk d;
        d.addClass(QStringLiteral("Herren"), ClassKind::Einzel);
        d.load(ClassKind::Einzel, QStringLiteral("Herren"));
        d.page.plattenanzahl->setEditText(QStringLiteral("2"));
        click(d.page.klasse_speichern);
        click(d.page.uiButton1);
        Ttisch_verwaltung& t = d.tische;
        QVERIFY(t.isVisible());
        QCOMPARE(entries(t.ListBox1), entries(d.page.plattenlist));
        QCOMPARE(t.uiButton2->Caption(), QStringLiteral("Neu aufnehmen"));
        QCOMPARE(t.StaticText1->text(), QStringLiteral("Neuer Tisch:"));
        QVERIFY(!t.uiButton5->isEnabled());

        d.fake.prompter.expect(PromptKind::Information, QStringLiteral("Bitte geben sie dem Tisch einen \"Namen\"."));
        click(t.uiButton2);
        QVERIFY(d.fake.prompter.verify());

        // Two presses add the name twice; the page is marked changed.
        t.Edit1->setText(QStringLiteral("Bob's Tisch"));
        click(t.uiButton2);
        click(t.uiButton2);
        QVERIFY(d.page.klasse_speichern->isEnabled());
        // A selected table is renamed in place.
        t.ListBox1->setCurrentRow(0);
        t.ListBox1Click();
        QCOMPARE(t.uiButton2->Caption(), QStringLiteral("Name ändern"));
        QCOMPARE(t.StaticText1->text(), QStringLiteral("Tisch bearbeiten:"));
        t.Edit1->setText(QStringLiteral("Nord"));
        click(t.uiButton2);
        const QStringList working{QStringLiteral("Nord"), QStringLiteral("Tisch 2"), QStringLiteral("Bob's Tisch"),
                                  QStringLiteral("Bob's Tisch")};
        QCOMPARE(entries(t.ListBox1), working);

        // The assignment works from the dialog's list, before it is taken over.
        insertRow(d.db(), QStringLiteral("Gruppeneinstellungen"),
                  {{QStringLiteral("KID"), d.kid}, {QStringLiteral("gruppenanzahl1"), 2}, {QStringLiteral("gruppenanzahl2"), 0},
                   {QStringLiteral("gruppenanzahl3"), QVariant(QMetaType::fromType<int>())}});
        d.fake.prompter.expect(PromptKind::Information, QStringLiteral("Es wurden 12 Tischzuweisungen gespeichert."));
        click(t.uiButton6);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(scalar(d.db(), QStringLiteral("SELECT COUNT(*) FROM Platten WHERE platte='Bob''s Tisch'")).toInt(), 6);

        // "Zurück" leaves the page's list alone; "Übernehmen" hands the list over.
        click(t.uiButton3);
        QCOMPARE(entries(d.page.plattenlist), (QStringList{QStringLiteral("Tisch 1"), QStringLiteral("Tisch 2")}));
        t.show();
        QCOMPARE(entries(t.ListBox1), (QStringList{QStringLiteral("Tisch 1"), QStringLiteral("Tisch 2")}));
        t.Edit1->setText(QStringLiteral("Süd"));
        click(t.uiButton2);
        click(t.uiButton1);
        QVERIFY(!t.isVisible());
        QCOMPARE(entries(d.page.plattenlist),
                 (QStringList{QStringLiteral("Tisch 1"), QStringLiteral("Tisch 2"), QStringLiteral("Süd")}));
        QCOMPARE(d.page.plattenanzahl->currentText(), QStringLiteral("2"));
        click(d.page.klasse_speichern);
        QCOMPARE(readTableNames(d.db(), d.kid).size(), 3);
        QCOMPARE(readClass(d.db(), d.kid)->platten, 2);
    }

    void ageClassDialog()
    {
        Desk d;
        TAltersklassen& a = d.ages;
        a.show();
        QCOMPARE(a.AuswahlBox->count(), 1);
        QCOMPARE(a.aname->text(), QStringLiteral("U18"));
        QCOMPARE(a.avon->text(), QString());
        QCOMPARE(a.abis->text(), QStringLiteral("01.01.2008"));
        QVERIFY(a.a2->Checked());
        QVERIFY(a.uiButton3->isEnabled());

        // A new entry, open towards older players.
        click(a.uiButton4);
        QVERIFY(!a.uiButton3->isEnabled());
        a.aname->setText(QStringLiteral("Senioren"));
        a.avon->setText(QStringLiteral("01.01.1976"));
        click(a.a1);
        QVERIFY(!a.abis->isEnabled());
        d.fake.prompter.expect(PromptKind::Information, QStringLiteral("Die Änderung wurde gespeichert."));
        click(a.uiButton1);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(readAgeClass(d.db(), 1, QStringLiteral("Senioren")),
                 std::optional<AgeClass>(AgeClass{QStringLiteral("Senioren"), QDate(1976, 1, 1), QDate(), true, false}));
        QCOMPARE(a.AuswahlBox->currentText(), QStringLiteral("Senioren"));

        // Refusals: missing date, empty name, a name already used, the reserved name.
        const QStringList before = dumpTables(d.db());
        struct Refusal {
            QString name, von, bis;
            PromptKind kind;
            QString message;
        };
        const QList<Refusal> refusals{
            {QStringLiteral("X"), QStringLiteral("01.01.2000"), QString(), PromptKind::Information,
             QStringLiteral("Sie haben kein gültiges Datum eingegeben (tt.mm.jjjj)")},
            {QStringLiteral(" "), QStringLiteral("01.01.2000"), QStringLiteral("31.12.2001"), PromptKind::Warning,
             QStringLiteral("Geben Sie eine Bezeichnung für die Altersklasse ein")},
            {QStringLiteral("U18"), QStringLiteral("01.01.2000"), QStringLiteral("31.12.2001"), PromptKind::Warning,
             QStringLiteral("Eine Altersklasse mit diesem Namen existiert bereits")},
            {QStringLiteral("ohne Beschränkung"), QStringLiteral("01.01.2000"), QStringLiteral("31.12.2001"),
             PromptKind::Information, QStringLiteral("Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden")},
        };
        for (const Refusal& r : refusals) {
            click(a.uiButton4);
            a.aname->setText(r.name);
            a.avon->setText(r.von);
            a.abis->setText(r.bis);
            d.fake.prompter.expect(r.kind, r.message, PromptAnswer::Cancel);
            click(a.uiButton1);
            QVERIFY2(d.fake.prompter.verify(), qPrintable(r.message));
        }
        QCOMPARE(dumpTables(d.db()), before);

        // Renaming the selected age class carries the name into the classes using it.
        ClassRecord r;
        r.kbezeichnung = QStringLiteral("Jugend");
        r.altersklasseID = QStringLiteral("U18");
        const int kid = insertClass(d.db(), 1, r, {}, {});
        a.AuswahlBox->setCurrentIndex(a.AuswahlBox->findText(QStringLiteral("U18")));
        a.AuswahlBoxChange();
        a.aname->setText(QStringLiteral("U19"));
        d.fake.prompter.expect(PromptKind::Information, QStringLiteral("Die Änderung wurde gespeichert."));
        click(a.uiButton1);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(readClass(d.db(), kid)->altersklasseID, QStringLiteral("U19"));
        QVERIFY(!readAgeClass(d.db(), 1, QStringLiteral("U18")));

        // Leaving an empty "von" field.
        click(a.uiButton4);
        d.fake.prompter.expect(PromptKind::Error, QStringLiteral("Geben Sie ein gültiges Datum ein"), PromptAnswer::Cancel);
        a.avonExit();
        QVERIFY(d.fake.prompter.verify());

        // Deleting asks first.
        a.AuswahlBox->setCurrentIndex(a.AuswahlBox->findText(QStringLiteral("Senioren")));
        a.AuswahlBoxChange();
        d.fake.prompter.expect(PromptKind::Question, QStringLiteral("Soll der Eintrag wirklich gelöscht werden?"),
                               PromptAnswer::No);
        click(a.uiButton3);
        d.fake.prompter.expect(PromptKind::Question, QStringLiteral("Soll der Eintrag wirklich gelöscht werden?"),
                               PromptAnswer::Yes);
        click(a.uiButton3);
        QVERIFY(d.fake.prompter.verify());
        QCOMPARE(ageClassNames(d.db(), 1), QStringList{QStringLiteral("U19")});
        QCOMPARE(a.AuswahlBox->currentText(), QStringLiteral("U19"));

        QSignalSpy finished(&a, &QDialog::finished);
        click(a.uiButton2);
        QCOMPARE(finished.size(), 1);
    }

    // docs/classes.png (target docs-pictures): the class page of a team class
    // with its format dialog.
    void screenshot()
    {
        const QString target = qEnvironmentVariable("BRACKWELL_SCREENSHOT");
        if (target.isEmpty())
            QSKIP("set BRACKWELL_SCREENSHOT to the file to write");
        Desk d;
        d.addClass(QStringLiteral("Herren A"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Damen"), ClassKind::Einzel);
        d.addClass(QStringLiteral("Herren"), ClassKind::Doppel);
        d.addClass(QStringLiteral("Mixed offen"), ClassKind::Mixed);
        d.page.neueklasseClick();
        d.page.kbezeichnung->setText(QStringLiteral("Bezirksliga"));
        d.page.kbeschreibung->setPlainText(QStringLiteral("Mannschaften zu vier Spielern"));
        d.page.showKind(ClassKind::Team);
        d.page.gebuehr->setText(QStringLiteral("30,00"));
        d.page.beginn->setText(QStringLiteral("10:00"));
        d.page.plattenanzahl->setEditText(QStringLiteral("4"));
        click(d.page.klasse_speichern);
        d.load(ClassKind::Team, QStringLiteral("Bezirksliga"));
        click(d.page.teambutton);
        Tteamform& t = d.teamform;
        t.spieler->setValue(4);
        t.reserve->setValue(2);
        const char* games[][2] = {{"A1", "B2"}, {"A2", "B1"}, {"A3", "B4"}, {"A4", "B3"}, {"D1", "D1"}, {"D2", "D2"}};
        for (int n = 0; n < 6; ++n) {
            t.a[size_t(n)]->setEditText(QLatin1String(games[n][0]));
            t.b[size_t(n)]->setEditText(QLatin1String(games[n][1]));
        }
        t.adjustSize();
        QVERIFY(docs::sideBySide({d.page.grab().toImage(), t.grab().toImage()}, 20).save(target));
    }
};

QTEST_MAIN(TestClassPage)
#include "test_classpage.moc"
