// The draw wizard as the user meets it: opened for a class of three groups,
// an entrant dragged from "angemeldete Spieler" onto a group row, the class
// kept when another becomes current, and every way of closing it ending in
// `finished`, which gives the main window its work area back.
#include "controls/uibuttons.h"
#include "data/classkind.h"
#include "data/sql.h"
#include "draw/drawfinish.h"
#include "draw/drawwidgets.h"
#include "draw/tauslosungsform.h"
#include "support/fakeprompter.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"
#include "drawfixture.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

using namespace bw;
using namespace bw::test;
using bw::test::draw::seedDrawClass;

namespace {

struct Fixture {
    Fixture() : tdb(Backend::SQLite)
    {
        if (!tdb.ready())
            return;
        seedDrawClass(tdb.db(), 7);
        seedDrawClass(tdb.db(), 8);
        form = new Tauslosungsform(&main, AuslosungLinks{prompter, [this] { return tdb.db(); }, aktuelleTID, aktuelleKID});
        ready = true;
    }
    ~Fixture() { prompter.verify(); }

    TestDatabase tdb;
    FakePrompter prompter;
    int aktuelleTID = 1;
    int aktuelleKID = 7;
    QWidget main;
    Tauslosungsform* form = nullptr;
    bool ready = false;
};

} // namespace

class TestAuslosungsform : public QObject {
    Q_OBJECT
private slots:
    void dropOntoAGroupRow()
    {
        Fixture f;
        if (!f.ready)
            return;
        f.form->Tag = 1;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form));
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Auslosung"));
        QCOMPARE(f.form->auslosungsphasen->currentWidget(), f.form->phase1);
        QCOMPARE(f.form->ListBox1->count(), 8);
        QCOMPARE(f.form->ListBox2->item(0)->text(), QStringLiteral("1. Hahn, Zoe (1)"));
        QCOMPARE(f.form->gruppenlisten(1).size(), 3);
        QVERIFY(!f.form->zurueck->isEnabled());
        QVERIFY(!f.form->fertig->isEnabled());

        // "Abel, Eva" dragged from ListBox1 onto row 2 of group B.
        DrawListBox* groupB = f.form->gruppenlisten(1)[1];
        const QRect row2 = groupB->visualItemRect(groupB->item(1));
        std::unique_ptr<QMimeData> mime(DrawDrag{DrawDrag::From::List, int(DrawList::ListBox1), 0, 0}.toMime());
        QDragEnterEvent enter(row2.center(), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(groupB->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(row2.center()), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(groupB->viewport(), &drop);
        QCOMPARE(groupB->item(1)->text(), QStringLiteral("2. Abel, Eva"));
        QCOMPARE(f.form->ListBox1->count(), 7);
        QCOMPARE(f.form->model().phase(1).groups[1][1].item.ID, 700);

        // Delete on that row returns him.
        groupB->setCurrentRow(1);
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(groupB, &del);
        QCOMPARE(groupB->item(1)->text(), QStringLiteral("2. "));
        QCOMPARE(f.form->ListBox1->item(0)->text(), QStringLiteral("Abel, Eva"));

        // On to the bracket of phase 2, then to the tables.
        f.form->weiter->OnClick(f.form->weiter);
        QCOMPARE(f.form->auslosungsphasen->currentWidget(), f.form->phase2);
        QCOMPARE(f.form->ListBox3->count(), 3);
        QVERIFY(f.form->kolabels(2));
        f.form->weiter->OnClick(f.form->weiter);
        QCOMPARE(f.form->auslosungsphasen->currentWidget(), f.form->platten);
        QVERIFY(f.form->fertig->isEnabled());
        QVERIFY(!f.form->weiter->isEnabled());
        f.form->RadioGroup5Click(1);
        QCOMPARE(f.form->plattenlisten().size(), 3);
        QCOMPARE(f.form->ListBox5->count(), 2);
    }

    // The wizard keeps the class it was opened for and loads once per opening.
    void keepsItsClass()
    {
        Fixture f;
        if (!f.ready)
            return;
        f.form->Tag = 2;
        f.form->redrawPhase = 1;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form));
        QVERIFY(f.form->model().dropOnGroupRow(DrawList::ListBox1, 0, {1, 0, 0}));
        f.aktuelleKID = 8;
        f.form->hide();
        f.form->show(); // shown again without closing: nothing reloads
        QCOMPARE(f.form->model().kid(), 7);
        QCOMPARE(f.form->model().registered().size(), 7);
        f.form->reject();
        f.form->show();
        QCOMPARE(f.form->model().kid(), 8);
        QCOMPARE(f.form->model().registered().size(), 8);
    }

    // "Fertig stellen" hands the model's draw on: refused while an entrant
    // waits, then the groups and the plan written and the wizard closed.
    void fertigStellenWritesTheDraw()
    {
        Fixture f;
        if (!f.ready)
            return;
        TempProgramFolder folder;
        f.form->fertigStellen = [&f, &folder](Tauslosungsform& wizard) {
            return fertigClick(finishedDraw(wizard.model(), wizard.tid()),
                               FinishDrawLinks{f.prompter, [&f] { return f.tdb.db(); }, folder.paths(), {}, {}, {}});
        };
        f.form->Tag = 1;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form));
        DrawModel& m = f.form->model();
        // By hand: the two seeds and seven of the eight others into the groups.
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox2, 0, {1, 0, 0}));
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox2, 1, {1, 1, 0}));
        for (int i = 0; i < 7; ++i)
            QVERIFY(m.dropOnGroupRow(DrawList::ListBox1, 0, {1, (i + 2) % 3, 1 + (i + 2) / 3}));
        for (int i = 0; i < 3; ++i)
            QVERIFY(m.dropOnSlot(DrawList::ListBox3, 0, {2, i}));
        f.form->weiterClick();
        f.form->weiterClick();
        QSignalSpy finished(f.form, &QDialog::finished);
        f.prompter.expect(PromptKind::Warning, kUndrawnMessage);
        f.form->fertigClick();
        QCOMPARE(finished.count(), 0);
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox1, 0, {1, 2, 0}));
        f.form->fertigClick();
        QCOMPARE(finished.count(), 1);
        const QSqlDatabase db = f.tdb.db();
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Gruppen WHERE KID=7 AND SID>0")).toInt(), 10);
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Gruppen WHERE KID=7 AND phase=1 AND GID=0 AND pos=0 AND SID=707"))
                     .toInt(),
                 1);
        // 3 groups of 4 play 6 matches each, then a bracket of 4: 3 matches.
        QCOMPARE(scalar(db, s("SELECT COUNT(*) FROM Spielplan WHERE KID=7")).toInt(), 18 + 3);
    }

    void everyCloseFinishes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Abbrechen") << "cancel";
        QTest::newRow("window closed") << "close";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("Fertig stellen") << "fertig";
    }
    void everyCloseFinishes()
    {
        QFETCH(QString, how);
        Fixture f;
        if (!f.ready)
            return;
        f.form->fertigStellen = [](Tauslosungsform&) { return true; };
        f.form->Tag = 1;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form));
        QSignalSpy finished(f.form, &QDialog::finished);
        if (how == QLatin1String("cancel")) {
            f.form->cancel->OnClick(f.form->cancel);
        } else if (how == QLatin1String("close")) {
            f.form->close();
        } else if (how == QLatin1String("escape")) {
            QTest::keyClick(f.form, Qt::Key_Escape);
        } else {
            f.form->fertigClick(); // refused before the tables page
            QCOMPARE(finished.count(), 0);
            f.form->weiterClick();
            f.form->weiterClick();
            f.form->fertig->OnClick(f.form->fertig);
        }
        QCOMPARE(finished.count(), 1);
        QVERIFY(!f.form->isVisible());
    }
};

QTEST_MAIN(TestAuslosungsform)
#include "test_auslosungsform.moc"
