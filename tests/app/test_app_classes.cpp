// The class page inside the main window: the class items of "Turnierklassen" and
// "Spielpläne" when a tournament is opened and while classes are added, renamed,
// moved to another kind and deleted; the work dialogs of the page and the menu.
#include "appfixture.h"

#include "app/navigationbar.h"
#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "classes/classpage.h"
#include "classes/taltersklassen.h"
#include "data/classrecords.h"
#include "data/connection.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "results/tteamform.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

QStringList captions(const NavigationBar* bar)
{
    QStringList items;
    for (int i = 0; i < bar->itemCount(); ++i)
        items << bar->itemCaption(i);
    return items;
}

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class TestAppClasses : public QObject {
    Q_OBJECT
private slots:
    void classItemsFollowTheClasses()
    {
        AppFixture app;
        const QString path = app.folder.file(QStringLiteral("turnier_db.sqlite"));
        prepareSqliteFile(path);
        int herren = 0;
        {
            ScopedConnection c(openSqlite(path, uniqueConnectionName(QStringLiteral("setup"))));
            TournamentData data;
            data[TournamentField::turniername] = QStringLiteral("Pokal");
            const int tid = insertTournament(c.db(), data, {true, true, true, true});
            ClassRecord r;
            r.kbezeichnung = QStringLiteral("Herren");
            herren = insertClass(c.db(), tid, r, {QStringLiteral("Tisch 1")}, {});
            r.kbezeichnung = QStringLiteral("Liga");
            r.system = ClassKind::Team;
            insertClass(c.db(), tid, r, {}, {});
            r.kbezeichnung = QStringLiteral("Damen");
            r.system = ClassKind::Doppel;
            insertClass(c.db(), tid, r, {}, {});
            insertRow(c.db(), QStringLiteral("Spielplan"), {{QStringLiteral("KID"), herren}});
        }
        app.start();
        TMainform& main = app.main();
        main.TurnierbuttonItemClick(TMainform::TurnierLaden);
        Tturnierladen* open = app.program->forms.turnierladen;
        open->ListBox1->setCurrentRow(0);
        emit open->ListBox1->itemDoubleClicked(open->ListBox1->item(0));
        QCOMPARE(app.context().aktuellerTurniername, QStringLiteral("Pokal"));
        QCOMPARE(captions(main.Klassenbutton), (QStringList{QStringLiteral("Klassen verwalten"),
                                                            QStringLiteral("Herren (Einzel)"), QStringLiteral("Liga (Team)"),
                                                            QStringLiteral("Damen (Doppel)")}));
        QCOMPARE(captions(main.spielplanbutton), QStringList{QStringLiteral("Herren (Einzel)")});
        // A draw finished again does not list its class twice.
        main.listClassPlan(herren);
        QCOMPARE(captions(main.spielplanbutton), QStringList{QStringLiteral("Herren (Einzel)")});

        main.KlassenbuttonItemClick(0);
        ClassPage& page = *main.classPage;
        QCOMPARE(main.frontPanel(), main.klassenverwalten);
        QCOMPARE(entries(main.einzelliste), QStringList{QStringLiteral("Herren")});
        QCOMPARE(entries(main.courbliste), QStringList{QStringLiteral("Liga")});
        QCOMPARE(main.altersklasse->currentText(), QStringLiteral("ohne Beschränkung"));

        // Rename and move to another kind: both bars follow.
        main.einzelliste->setCurrentRow(0);
        page.listClick(main.einzelliste);
        page.kbezeichnung->setText(QStringLiteral("Herren A"));
        page.showKind(ClassKind::Mixed);
        click(page.klasse_speichern);
        QCOMPARE(captions(main.Klassenbutton), (QStringList{QStringLiteral("Klassen verwalten"),
                                                            QStringLiteral("Herren A (Mixed)"), QStringLiteral("Liga (Team)"),
                                                            QStringLiteral("Damen (Doppel)")}));
        QCOMPARE(captions(main.spielplanbutton), QStringList{QStringLiteral("Herren A (Mixed)")});

        // A new class is appended to "Turnierklassen" only.
        click(page.neue_klasse);
        page.kbezeichnung->setText(QStringLiteral("Jugend"));
        click(page.klasse_speichern);
        QCOMPARE(captions(main.Klassenbutton).last(), QStringLiteral("Jugend (Einzel)"));
        QCOMPARE(captions(main.spielplanbutton).size(), 1);

        // The bar keeps its own font; a caption too long for its row keeps
        // its start and its kind.
        QCOMPARE(main.Klassenbutton->Font().family(), QStringLiteral("Arial"));
        click(page.neue_klasse);
        page.kbezeichnung->setText(QStringLiteral("Offene Bezirksmeisterschaft der Seniorinnen und Senioren"));
        page.showKind(ClassKind::Doppel);
        click(page.klasse_speichern);
        const int longItem = main.Klassenbutton->itemCount() - 1;
        const QString shown = main.Klassenbutton->ShownCaption(longItem);
        QVERIFY2(shown.startsWith(QStringLiteral("Offene")) && shown.endsWith(QStringLiteral("(Doppel)"))
                     && shown.contains(QChar(0x2026)),
                 qPrintable(shown));
        QCOMPARE(main.Klassenbutton->ShownCaption(1), QStringLiteral("Herren A (Mixed)"));

        // Deleting removes it from both.
        main.mixedliste->setCurrentRow(0);
        page.listClick(main.mixedliste);
        app.prompter().expectPrefix(PromptKind::Question, QStringLiteral("Wollen Sie die Klasse \"Herren A (Mixed)\" wirklich löschen?"));
        click(page.klasse_delete);
        QVERIFY(app.prompter().verify());
        QCOMPARE(captions(main.Klassenbutton),
                 (QStringList{QStringLiteral("Klassen verwalten"), QStringLiteral("Liga (Team)"),
                              QStringLiteral("Damen (Doppel)"), QStringLiteral("Jugend (Einzel)"),
                              QStringLiteral("Offene Bezirksmeisterschaft der Seniorinnen und Senioren (Doppel)")}));
        QCOMPARE(captions(main.spielplanbutton), QStringList{});

        // The team format dialog disables the work area until it closes.
        main.courbliste->setCurrentRow(0);
        page.listClick(main.courbliste);
        click(page.teambutton);
        Tteamform* teamform = app.program->forms.teamform;
        QVERIFY(teamform->isVisible());
        QVERIFY(!main.workAreaEnabled());
        click(teamform->ok);
        QVERIFY(main.workAreaEnabled());
        QCOMPARE(page.klasse_speichern->Caption(), ClassPage::kChangeCaption);
        QVERIFY(page.klasse_speichern->isEnabled());

        // The age classes: the page names "ohne Beschränkung", so names stay fixed.
        main.AKverwaltung->trigger();
        TAltersklassen* ages = app.program->forms.Altersklassen;
        QVERIFY(ages->isVisible());
        QVERIFY(!ages->aname->isEnabled());
        click(ages->uiButton2);
        QVERIFY(main.workAreaEnabled());
    }
};

QTEST_MAIN(TestAppClasses)
#include "test_app_classes.moc"
