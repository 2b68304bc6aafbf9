// The group set-up page inside the main window: opened from a class item,
// showing what is stored, handing the user's choices to its data module, the
// drops between its lists, the boxes it shows and the way to the draw.
#include "groupapp.h"
#include "groupfixture.h"

#include "app/tmainform.h"
#include "controls/uibuttons.h"
#include "data/groupsettings.h"
#include "data/partnerrecords.h"
#include "draw/tauslosungsform.h"
#include "draw/tgruppe.h"
#include "groups/entrylist.h"
#include "groups/groupsetuppage.h"
#include "support/pagewrite.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace bw;
using namespace bw::test;
using namespace bw::test::groups;

namespace {

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

int rowOf(const QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("no entry \"%1\"").arg(text)), __FILE__, __LINE__);
        return -1;
    }
    return list->row(found.first());
}

// Drags the entry at `from` of one list onto the entry at `to` of another as
// the mouse does: pressed on the entry, dropped on the other.
void drag(EntryList* source, int from, EntryList* target, int to)
{
    QTest::mousePress(source->viewport(), Qt::LeftButton, {}, source->visualItemRect(source->item(from)).center());
    QTest::mouseRelease(source->viewport(), Qt::LeftButton, {}, source->visualItemRect(source->item(from)).center());
    QMimeData data;
    data.setData(QStringLiteral("application/x-brackwell-entry"), source->objectName().toUtf8());
    const QPoint at = to < 0 ? QPoint(2, target->viewport()->height() - 2)
                             : target->visualItemRect(target->item(to)).center();
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target->viewport(), &drop);
}

} // namespace

class TestGroupPage : public QObject {
    Q_OBJECT

private slots:
    // The caption "U18 (m) (Einzel)" names the class "U18 (m)", not "U18".
    void opensTheClassOfItsItem()
    {
        GroupApp app;
        TMainform* main = app.main();
        main->Timer1->start();
        app.openClass(QStringLiteral("U18 (m) (Einzel)"));
        GroupSetupPage* page = app.page();
        QCOMPARE(main->frontPanel(), main->Gruppen);
        QVERIFY(!main->Timer1->isActive());
        QCOMPARE(page->StaticText22->text(), QStringLiteral("Gruppeneinteilung für U18 (m) (Einzel)"));
        QCOMPARE(app.program->context.aktuelleKID, kU18m);
        QCOMPARE(app.program->context.aktuelleKlassenbeschriftung, QStringLiteral("U18 (m) (Einzel)"));
        QCOMPARE(page->spieleranzahl->text(), QStringLiteral("7"));
        QCOMPARE(page->StaticText11->text(), QStringLiteral("Gemeldete Spieler"));
        QCOMPARE(page->StaticText12->text(), QStringLiteral("Gesetzte Spieler"));
        QVERIFY(page->doppelpanel->isHidden());
        QVERIFY(page->zurauslosung->isEnabled());
        QVERIFY(page->spielsystem_create->isEnabled());
        // Red: not checked in for this class.
        const QListWidget* list = page->gemeldete_spieler;
        QCOMPARE(list->item(rowOf(list, QStringLiteral("Pohl, Paul")))->foreground().color(), QColor(Qt::red));
        QCOMPARE(list->item(rowOf(list, QStringLiteral("Abel, Anton")))->foreground().color(), QColor(Qt::black));

        app.openClass(QStringLiteral("Herren (Doppel)"));
        QCOMPARE(page->StaticText11->text(), QStringLiteral("Gemeldete Doppel"));
        QCOMPARE(page->StaticText12->text(), QStringLiteral("Gesetzte Doppel"));
        QVERIFY(!page->doppelpanel->isHidden());
        QCOMPARE(texts(page->ohnepartner), (QStringList{"Cramer, Carl", "Dorn, Dieter", "Ebert, Emil"}));
        QCOMPARE(list->item(rowOf(list, QStringLiteral("Cramer, C. / ")))->foreground().color(), QColor(Qt::red));
        app.openClass(QStringLiteral("Liga (Team)"));
        QCOMPARE(page->StaticText11->text(), QStringLiteral("Gemeldete Mannschaften"));
        QVERIFY(app.fake->prompter.verify());
    }

    // The controls show the stored values as they are; the user's changes
    // run the rules.
    void showsStoredValuesAndRunsTheRulesOnChanges()
    {
        GroupApp app;
        GroupSettings stored;
        stored.phases[0] = PhaseSettings{PlaySystem::Gruppenphase, 2, 20, 25, 9};
        stored.gesetzt = 6;
        saveGroupSettings(app.db(), kU18m, stored, {});
        app.openClass(QStringLiteral("U18 (m) (Einzel)"));
        GroupSetupPage* page = app.page();
        QCOMPARE(page->teilnehmer[0]->value(), 20);
        QCOMPARE(page->beste[0]->value(), 25);
        QCOMPARE(page->bestplazierte[0]->value(), 9);
        QCOMPARE(page->gesetztespieleredit->value(), 6);
        QCOMPARE(page->gesetztespielerliste->count(), 6);
        QVERIFY(page->spielsystempanel[1]->isHidden());

        page->teilnehmer[0]->setValue(14);
        QCOMPARE(page->teilnehmer[0]->value(), 13);
        QCOMPARE(page->beste[0]->value(), 13);
        QVERIFY(!page->spielsystempanel[1]->isHidden());
        page->gesetztespieleredit->setValue(5);
        QCOMPARE(page->gesetztespieleredit->value(), 4);
        QCOMPARE(page->gesetztespielerliste->count(), 4);

        click(qobject_cast<QRadioButton*>(page->spielsystem[0]->button(int(PlaySystem::EinfachesKO))));
        QVERIFY(page->ph_gruppe[0]->isHidden());
        QVERIFY(page->spielsystempanel[1]->isHidden());
        QCOMPARE(page->teilnehmer[0]->value(), 0);
        QVERIFY(app.fake->prompter.verify());
    }

    void dropsBetweenTheLists()
    {
        GroupApp app;
        app.openClass(QStringLiteral("U18 (m) (Einzel)"));
        GroupSetupPage* page = app.page();
        page->gesetztespieleredit->setValue(2);
        drag(page->gemeldete_spieler, rowOf(page->gemeldete_spieler, QStringLiteral("Otto, Olaf")),
             page->gesetztespielerliste, 1);
        // Slots added by raising the count read "n." with no blank; a swap
        // renumbers the empty one as "n. ".
        QCOMPARE(texts(page->gesetztespielerliste), (QStringList{"1.", "2. Otto, Olaf"}));
        drag(page->gesetztespielerliste, 1, page->gesetztespielerliste, 0);
        QCOMPARE(texts(page->gesetztespielerliste), (QStringList{"1. Otto, Olaf", "2. "}));
        // A click in one list clears the other's selection.
        page->gemeldete_spieler->setCurrentRow(2);
        QTest::mouseClick(page->gesetztespielerliste->viewport(), Qt::LeftButton, {},
                          page->gesetztespielerliste->visualItemRect(page->gesetztespielerliste->item(0)).center());
        QVERIFY(page->gemeldete_spieler->selectedItems().isEmpty());
        drag(page->gesetztespielerliste, 0, page->gemeldete_spieler, 3);
        QCOMPARE(texts(page->gesetztespielerliste), (QStringList{"1.", "2. "}));
        QCOMPARE(app.program->forms.gruppe->gesetztespielerliste()[0].item.ID, -1);

        app.openClass(QStringLiteral("Herren (Doppel)"));
        drag(page->ohnepartner, rowOf(page->ohnepartner, QStringLiteral("Dorn, Dieter")), page->gemeldete_spieler,
             rowOf(page->gemeldete_spieler, QStringLiteral("Ebert, E. / ")));
        QCOMPARE(texts(page->gemeldete_spieler),
                 (QStringList{"Abel, A. / Berg, B", "Cramer, C. / ", "Ebert, Emil / Dorn, Dieter"}));
        QCOMPARE(texts(page->ohnepartner), QStringList{"Cramer, Carl"});
        QCOMPARE(page->spieleranzahl->text(), QStringLiteral("3"));
        drag(page->gemeldete_spieler, rowOf(page->gemeldete_spieler, QStringLiteral("Ebert, Emil / Dorn, Dieter")),
             page->ohnepartner, -1);
        QCOMPARE(texts(page->ohnepartner), (QStringList{"Cramer, Carl", "Dorn, Dieter", "Ebert, Emil"}));
        QCOMPARE(partnerOf(app.db(), kHerren, kDorn), 0);

        app.fake->prompter.expect(PromptKind::Warning, QStringLiteral("Beide Spieler haben das gleiche Geschlecht"));
        app.openClass(QStringLiteral("Mixed (Mixed)"));
        drag(page->ohnepartner, rowOf(page->ohnepartner, QStringLiteral("Hahn, Hans")), page->gemeldete_spieler,
             rowOf(page->gemeldete_spieler, QStringLiteral("Kurz, K. / ")));
        QCOMPARE(partnerOf(app.db(), kMixed, kHahn), 0);
        QVERIFY(app.fake->prompter.verify());
    }

    // Another desk paired the player meanwhile: the desk is told and the
    // page shows the pairs as stored.
    void pairingThatLostAgainstAnotherDesk()
    {
        GroupApp app;
        app.openClass(QStringLiteral("Herren (Doppel)"));
        GroupSetupPage* page = app.page();
        page->gesetztespieleredit->setValue(1);
        pairPlayers(app.db(), kHerren, {{kCramer, kDorn}});
        app.fake->prompter.expect(PromptKind::Error, kPartnerTakenMeanwhile);
        drag(page->ohnepartner, rowOf(page->ohnepartner, QStringLiteral("Cramer, Carl")), page->gemeldete_spieler,
             rowOf(page->gemeldete_spieler, QStringLiteral("Ebert, E. / ")));
        QVERIFY(app.fake->prompter.verify());
        QCOMPARE(texts(page->gemeldete_spieler),
                 (QStringList{"Abel, A. / Berg, B", "Cramer, C. / Dorn, D", "Ebert, E. / "}));
        QCOMPARE(texts(page->ohnepartner), QStringList{"Ebert, Emil"});
        QCOMPARE(partnerOf(app.db(), kHerren, kEbert), 0);
        // The unsaved seed slot stays.
        QCOMPARE(page->gesetztespielerliste->count(), 1);
    }

    void randomPairingAsks()
    {
        GroupApp app;
        GroupSetupPage* page = app.page();
        app.openClass(QStringLiteral("Senioren (Doppel)"));
        click(page->uiButton7); // nobody without partner: nothing is asked
        QVERIFY(app.fake->prompter.verify());

        const QString question = QStringLiteral("Sollen die Spieler ohne Partner jetzt zufällig zugelost werden?\r"
                                                "Achtung! die Losung kann nicht revidiert werden.");
        app.openClass(QStringLiteral("Herren (Doppel)"));
        app.fake->prompter.expect(PromptKind::Question, question, PromptAnswer::No);
        click(page->uiButton7);
        QVERIFY(app.fake->prompter.verify());
        QCOMPARE(page->ohnepartner->count(), 3);
        QCOMPARE(partnerOf(app.db(), kHerren, kCramer), 0);

        app.fake->prompter.expect(PromptKind::Question, question, PromptAnswer::Yes)
            .expect(PromptKind::Information, QStringLiteral("Auslosung abgeschlossen!"));
        click(page->uiButton7);
        QVERIFY(app.fake->prompter.verify());
        QCOMPARE(page->ohnepartner->count(), 1);
        QCOMPARE(page->gemeldete_spieler->count(), 3);
    }

    void checksBeforeTheDraw()
    {
        GroupApp app;
        TMainform* main = app.main();
        GroupSetupPage* page = app.page();
        app.openClass(QStringLiteral("U18 (m) (Einzel)"));
        page->gruppenanzahl[0]->setValue(2);
        page->teilnehmer[0]->setValue(3);
        app.fake->prompter.expect(PromptKind::Warning,
                                  QStringLiteral("Es sind mehr Spieler als verfügbare\n\rGruppenplätze gemeldet"));
        click(page->zurauslosung);
        QVERIFY(app.fake->prompter.verify());
        QVERIFY(!readGroupSettings(app.db(), kU18m));
        QVERIFY(main->workAreaEnabled());

        // A knock-out phase 1 takes everybody: saved, and the draw opens for a first draw.
        click(qobject_cast<QRadioButton*>(page->spielsystem[0]->button(int(PlaySystem::EinfachesKO))));
        click(page->zurauslosung);
        QVERIFY(app.fake->prompter.verify());
        QCOMPARE(readGroupSettings(app.db(), kU18m)->phases[0]->system, PlaySystem::EinfachesKO);
        Tauslosungsform* wizard = app.program->forms.auslosungsform;
        QVERIFY(wizard->isVisible());
        QCOMPARE(wizard->Tag, 1);
        QVERIFY(!main->workAreaEnabled());
        wizard->close();
        QVERIFY(main->workAreaEnabled());

        // "Spielsystem speichern" stores the slots too.
        page->gesetztespieleredit->setValue(2);
        click(page->spielsystem_create);
        QCOMPARE(readSeeds(app.db(), kU18m), (QList<StoredSeed>{{0, {0, 0}}, {1, {0, 0}}}));
        QVERIFY(app.fake->prompter.verify());
    }

    // A write that fails at any statement shows one error box and leaves the
    // page as the user left it: the settings typed, the lists as stored.
    void failedWritesKeepThePage()
    {
        GroupApp app;
        GroupSetupPage* page = app.page();
        app.openClass(QStringLiteral("Herren (Doppel)"));
        page->gruppenanzahl[0]->setValue(2);
        page->teilnehmer[0]->setValue(3);
        page->gesetztespieleredit->setValue(1);
        page->gesetztespielerlisteDragDrop(page->gemeldete_spieler, 0, 0);
        QVERIFY(page->hasChanges());
        auto shown = [page] {
            return QStringList{texts(page->gemeldete_spieler).join(QLatin1Char(';')),
                               texts(page->ohnepartner).join(QLatin1Char(';')),
                               texts(page->gesetztespielerliste).join(QLatin1Char(';')),
                               QString::number(page->gruppenanzahl[0]->value()),
                               QString::number(page->teilnehmer[0]->value())};
        };
        QStringList before = shown();
        auto unchanged = [&] {
            return shown() == before && page->hasChanges() ? QString() : shown().join(QLatin1Char('|'));
        };
        QString failure = checkPageWrite(app.db(), app.fake->prompter, [&] { click(page->spielsystem_create); },
                                         unchanged);
        QCOMPARE(failure, QString());
        QVERIFY(!page->hasChanges());
        QCOMPARE(readSeeds(app.db(), kHerren), (QList<StoredSeed>{{0, {kAbel, kBerg}}}));

        page->teilnehmer[0]->setValue(4);
        before = shown();
        const QStringList stored = dumpTables(app.db(), {QStringLiteral("Doppelpartner")});
        failure = checkPageWrite(
            app.db(), app.fake->prompter,
            [&] {
                page->gemeldete_spielerDragDrop(page->ohnepartner, rowOf(page->ohnepartner, QStringLiteral("Dorn, Dieter")),
                                                rowOf(page->gemeldete_spieler, QStringLiteral("Ebert, E. / ")));
            },
            unchanged);
        QCOMPARE(failure, QString());
        QVERIFY(dumpTables(app.db(), {QStringLiteral("Doppelpartner")}) != stored);
        QCOMPARE(texts(page->ohnepartner), QStringList{"Cramer, Carl"});
        QCOMPARE(page->teilnehmer[0]->value(), 4);
        QVERIFY(app.fake->prompter.verify());
    }
};

QTEST_MAIN(TestGroupPage)
#include "test_group_page.moc"
