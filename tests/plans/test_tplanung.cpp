// The window "Spieleplaner" on a real SQLite file: what it shows, a match moved
// with the mouse as a user moves it, a list entry dropped onto the grid, a
// match dragged back onto the list, the colour, the days, the match menu and a
// drop whose board another desk has changed.
#include "boardfixture.h"

#include "plans/boardviews.h"
#include "plans/tplanung.h"
#include "support/fakeprompter.h"
#include "support/widgethelpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

using namespace bw;
using namespace bw::test;

namespace {

struct EditCall {
    int kid = 0, spielnummer = 0, nummer = 0;
};

class PlanungFixture {
public:
    PlanungFixture()
        : tdb(Backend::SQLite),
          form(nullptr, PlanungLinks{prompter, [this] { return tdb.db(); }, tid,
                                     [this](int kid, int snr, int nummer) { edits.append({kid, snr, nummer}); }})
    {
        seedBoard(tdb.db());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    // The centre of a board cell in the grid's viewport, scrolled into view.
    QPoint cellCentre(int row, int column)
    {
        const QModelIndex index = form.StringGrid1->boardModel()->index(row - 1, column - 1);
        form.StringGrid1->scrollTo(index);
        return form.StringGrid1->visualRect(index).center();
    }

    void chooseClass(const QString& text)
    {
        const int index = form.ComboBox1->findText(text);
        QVERIFY(index >= 0);
        form.ComboBox1->setCurrentIndex(index);
        emit form.ComboBox1->activated(index);
    }

    QStringList listTexts() const
    {
        QStringList texts;
        for (int i = 0; i < form.ListBox1->count(); ++i)
            texts << form.ListBox1->item(i)->text();
        return texts;
    }

    // A list entry dragged onto a board cell: enter, move and drop as the
    // grid's viewport receives them.
    void dropEntry(int entry, int row, int column)
    {
        BoardList* list = form.ListBox1;
        std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(entry, 0)}));
        QVERIFY(data);
        const QPointF at(cellCentre(row, column));
        QWidget* viewport = form.StringGrid1->viewport();
        QDragEnterEvent enter(at.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &drop);
        QVERIFY(drop.isAccepted());
    }

    TestDatabase tdb;
    FakePrompter prompter;
    int tid = kBoardTid;
    QList<EditCall> edits;
    Tplanung form;
};

} // namespace

class TestTplanung : public QObject {
    Q_OBJECT
private slots:
    void shows()
    {
        PlanungFixture f;
        Tplanung& form = f.form;
        QCOMPARE(form.objectName(), s("planung"));
        QCOMPARE(form.windowTitle(), s("Spieleplaner"));
        QCOMPARE(form.ComboBox1->count(), 3);
        QCOMPARE(form.ComboBox1->itemText(0), s("Damen (Einzel)"));
        QCOMPARE(form.ComboBox1->currentIndex(), 0);
        QCOMPARE(form.ColorBox1->count(), 20);
        QCOMPARE(form.ColorBox1->currentText(), s("clCream"));
        QCOMPARE(form.Edit1->text(), s("06.06.2026"));
        QCOMPARE(form.von->text(), s("06.06.2026"));
        QCOMPARE(form.bis->text(), s("07.06.2026"));
        QVERIFY(!form.Image1->isEnabled());
        QCOMPARE(form.StringGrid1->currentBoardRow(), kCurrentBoardRow);

        BoardTableModel* grid = form.StringGrid1->boardModel();
        QCOMPARE(grid->rowCount(), 143);
        QCOMPARE(grid->columnCount(), 4);
        QCOMPARE(grid->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), s("10"));
        QCOMPARE(grid->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), s("00:10"));
        QCOMPARE(form.StringGrid1->columnWidth(0), 100);
        QCOMPARE(form.StringGrid1->rowHeight(0), 14);
        QCOMPARE(grid->data(grid->index(56, 3), Qt::DisplayRole).toString(), s("Cramer"));
        QCOMPARE(grid->data(grid->index(57, 3), Qt::DisplayRole).toString(), s("Dietz"));
        QCOMPARE(grid->data(grid->index(56, 3), Qt::ToolTipRole).toString(), s("Schiedsrichter: Schmidt"));
        QCOMPARE(grid->data(grid->index(55, 3), Qt::ToolTipRole), QVariant());

        f.chooseClass(s("Herren (Einzel)"));
        QCOMPARE(f.listTexts(), (QStringList{"Adler-Brandt", "Kühn-Lang", "Sieger Spiel 1-Sieger Spiel 2"}));

        // The days, up to the last and back.
        click(form.Image2);
        QCOMPARE(form.Edit1->text(), s("07.06.2026"));
        QVERIFY(!form.Image2->isEnabled());
        QCOMPARE(grid->data(grid->index(59, 0), Qt::DisplayRole).toString(), s("Gärtner"));
        QCOMPARE(f.listTexts().size(), 3);
        click(form.Image1);
        QCOMPARE(form.Edit1->text(), s("06.06.2026"));
        QCOMPARE(grid->data(grid->index(59, 0), Qt::DisplayRole).toString(), QString());

        // The wheel moves the current row by one, within the rows.
        const auto wheel = [&](int delta) {
            const QPointF at(form.StringGrid1->viewport()->rect().center());
            QWheelEvent event(at, form.StringGrid1->viewport()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(form.StringGrid1->viewport(), &event);
        };
        wheel(-120);
        QCOMPARE(form.StringGrid1->currentBoardRow(), kCurrentBoardRow + 1);
        wheel(120);
        wheel(120);
        QCOMPARE(form.StringGrid1->currentBoardRow(), kCurrentBoardRow - 1);
        form.StringGrid1->setCurrentBoardRow(kLastBoardRow);
        wheel(-120);
        QCOMPARE(form.StringGrid1->currentBoardRow(), kLastBoardRow);
        form.StringGrid1->setCurrentBoardRow(1);
        wheel(120);
        QCOMPARE(form.StringGrid1->currentBoardRow(), 1);

        // A team game's hint has its game number on a line of its own.
        QCOMPARE(boardCellHint(kitem{2, 1, kMannschaft, s("Roth"), {}, {}, {}, true, false, false}),
                 s("Schiedsrichter: Roth\nSpielnr.: 2"));
        QVERIFY(f.prompter.verify());
    }

    // The grid's own mouse press, move and release move a match to another
    // table; it keeps its umpire on the board and in the database.
    void moveWithTheMouse()
    {
        PlanungFixture f;
        QWidget* viewport = f.form.StringGrid1->viewport();
        const QPoint from = f.cellCentre(58, 4);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        const QPoint to = f.cellCentre(70, 2);
        QTest::mouseMove(viewport, from + QPoint(0, 20));
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCOMPARE(storedPlanning(f.tdb.db(), kHerren, 2), s("2026-06-06|2|11:40|Schmidt"));
        BoardTableModel* grid = f.form.StringGrid1->boardModel();
        QCOMPARE(grid->data(grid->index(69, 1), Qt::DisplayRole).toString(), s("Cramer"));
        QCOMPARE(grid->data(grid->index(69, 1), Qt::ToolTipRole).toString(), s("Schiedsrichter: Schmidt"));
        QCOMPARE(grid->data(grid->index(56, 3), Qt::DisplayRole).toString(), QString());

        // A click without a move moves nothing.
        const QPoint again = f.cellCentre(70, 2);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, again);
        QCOMPARE(storedPlanning(f.tdb.db(), kHerren, 2), s("2026-06-06|2|11:40|Schmidt"));

        // Dragged onto the list: taken off; the class "Damen" is chosen, so the
        // list takes its match again.
        const QPoint damen = f.cellCentre(48, 1);
        QTest::mousePress(viewport, Qt::LeftButton, {}, damen);
        const QPoint overList =
            viewport->mapFromGlobal(f.form.ListBox1->mapToGlobal(f.form.ListBox1->rect().center()));
        QTest::mouseMove(viewport, damen + QPoint(0, 20));
        QTest::mouseMove(viewport, overList);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, overList);
        QCOMPARE(storedPlanning(f.tdb.db(), kDamen, 1), s("|||"));
        QCOMPARE(f.listTexts(), QStringList{"Quast-Roth"});
        QVERIFY(f.prompter.verify());
    }

    // Near an edge of the grid a moved match or a dragged list entry scrolls
    // the grid that way; back inside, or released, it stands still.
    void scrollsNearTheEdges()
    {
        PlanungFixture f;
        BoardGrid* grid = f.form.StringGrid1;
        QWidget* viewport = grid->viewport();
        const QPoint from = f.cellCentre(58, 4);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + QPoint(0, 20));
        QCOMPARE(grid->autoScrollStep(), QPoint());
        const int top = grid->verticalScrollBar()->value();
        QTest::mouseMove(viewport, QPoint(from.x(), viewport->height() - 2));
        QCOMPARE(grid->autoScrollStep(), QPoint(0, 1));
        QTRY_VERIFY(grid->verticalScrollBar()->value() > top + 1);
        const QPoint middle = viewport->rect().center();
        QTest::mouseMove(viewport, middle);
        QCOMPARE(grid->autoScrollStep(), QPoint());
        const int stopped = grid->verticalScrollBar()->value();
        QTest::qWait(120);
        QCOMPARE(grid->verticalScrollBar()->value(), stopped);
        QTest::mouseMove(viewport, QPoint(1, middle.y()));
        QCOMPARE(grid->autoScrollStep(), QPoint(-1, 0));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, middle);
        QCOMPARE(grid->autoScrollStep(), QPoint());

        // A list entry dragged to the top edge, then out of the grid.
        f.chooseClass(s("Herren (Einzel)"));
        BoardList* list = f.form.ListBox1;
        std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(0, 0)}));
        QDragEnterEvent enter(middle, Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(QPoint(middle.x(), 1), Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        QCOMPARE(grid->autoScrollStep(), QPoint(0, -1));
        QTRY_VERIFY(grid->verticalScrollBar()->value() < stopped);
        QDragLeaveEvent leave;
        QApplication::sendEvent(viewport, &leave);
        QCOMPARE(grid->autoScrollStep(), QPoint());
        QVERIFY(f.prompter.verify());
    }

    // What the match dialog opened by "Spiel bearbeiten" stored shows once the
    // board reads again: a match moved, a match of the list planned; the grid
    // stays where it was.
    void refreshAfterTheDialog()
    {
        PlanungFixture f;
        f.chooseClass(s("Herren (Einzel)"));
        BoardGrid* grid = f.form.StringGrid1;
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->value() + 7);
        const int scrolled = grid->verticalScrollBar()->value();
        const auto plan = [&](int spielnummer, const char* table, QTime time) {
            execute(f.tdb.db(),
                    s("UPDATE Spielplan SET geplanter_tag=:d,geplanter_tisch=:t,geplante_zeit=:z "
                      "WHERE KID=:k AND spielnummer=:n"),
                    {{s("d"), toDbValue(kBoardDay1)},
                     {s("t"), QString::fromLatin1(table)},
                     {s("z"), toDbValue(storedPlanTime(time))},
                     {s("k"), kHerren},
                     {s("n"), spielnummer}});
        };
        plan(2, "2", QTime(10, 0));
        plan(1, "3", QTime(11, 0));
        f.form.refresh();
        BoardTableModel* cells = grid->boardModel();
        QCOMPARE(cells->data(cells->index(59, 1), Qt::DisplayRole).toString(), s("Cramer"));
        QCOMPARE(cells->data(cells->index(56, 3), Qt::DisplayRole).toString(), QString());
        QCOMPARE(cells->data(cells->index(65, 2), Qt::DisplayRole).toString(), s("Adler"));
        QCOMPARE(f.listTexts(), (QStringList{"Kühn-Lang", "Sieger Spiel 1-Sieger Spiel 2"}));
        QCOMPARE(grid->verticalScrollBar()->value(), scrolled);
        QVERIFY(f.prompter.verify());
    }

    // A list entry dragged onto the grid arrives as a drop carrying its match.
    void dropFromTheList()
    {
        PlanungFixture f;
        f.chooseClass(s("Herren (Einzel)"));
        BoardList* list = f.form.ListBox1;
        std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(1, 0)}));
        QCOMPARE(data->data(kBoardEntryMime), QByteArray("1 6 -1"));
        f.dropEntry(1, 60, 3);
        QCOMPARE(storedPlanning(f.tdb.db(), kHerren, 6), s("2026-06-06|3|10:00|"));
        QCOMPARE(f.listTexts(), (QStringList{"Adler-Brandt", "Sieger Spiel 1-Sieger Spiel 2"}));
        BoardTableModel* grid = f.form.StringGrid1->boardModel();
        QCOMPARE(grid->data(grid->index(59, 2), Qt::DisplayRole).toString(), s("Kühn"));

        // Another desk plans a match into the cell below meanwhile: the next
        // drop there is refused, told, and the board shows that desk's match.
        execute(f.tdb.db(),
                s("UPDATE Spielplan SET geplanter_tag=:d,geplanter_tisch='3',geplante_zeit=:z "
                  "WHERE KID=:k AND spielnummer=7"),
                {{s("d"), toDbValue(kBoardDay1)},
                 {s("z"), toDbValue(storedPlanTime(QTime(11, 0)))},
                 {s("k"), kHerren}});
        f.prompter.expect(PromptKind::Warning, s("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert."));
        f.dropEntry(0, 65, 3);
        QVERIFY(f.prompter.verify());
        QCOMPARE(storedPlanning(f.tdb.db(), kHerren, 1), s("|||"));
        QCOMPARE(grid->data(grid->index(65, 2), Qt::DisplayRole).toString(), s("Sieger Spiel 1"));
        QCOMPARE(f.listTexts(), QStringList{"Adler-Brandt"});
    }

    void colour()
    {
        PlanungFixture f;
        f.chooseClass(s("Herren (Einzel)"));
        QCOMPARE(f.form.ColorBox1->currentText(), s("clCream"));
        const int red = f.form.ColorBox1->findText(s("clRed"));
        f.form.ColorBox1->setCurrentIndex(red);
        emit f.form.ColorBox1->activated(red);
        QCOMPARE(scalar(f.tdb.db(), s("SELECT farbe FROM Turnierklassen WHERE KID=:k"), {{s("k"), kHerren}}).toString(),
                 s("clRed"));
        QCOMPARE(f.form.board().cell(57, 4)->farbe, s("clRed"));
        const QImage grid = f.form.StringGrid1->viewport()->grab().toImage();
        const QPoint inside = f.cellCentre(57, 4) + QPoint(40, 0);
        QCOMPARE(grid.pixelColor(inside * grid.devicePixelRatio()), QColor(Qt::red));
        QCoreApplication::processEvents(); // the list lays its entries out
        const QImage list = f.form.ListBox1->viewport()->grab().toImage();
        QCOMPARE(list.pixelColor(QPoint(list.width() - 10, 25) * list.devicePixelRatio()), QColor(Qt::red));

        f.chooseClass(s("Damen (Einzel)"));
        QCOMPARE(f.form.ColorBox1->currentText(), s("clCream"));
        QVERIFY(f.prompter.verify());
    }

    // The right button on a match: its menu; "Spiel bearbeiten" opens the
    // match dialog for that class's match, whatever class the board chose.
    void matchMenu()
    {
        PlanungFixture f;
        QWidget* viewport = f.form.StringGrid1->viewport();
        const QPoint cell = f.cellCentre(58, 4);
        QTest::mousePress(viewport, Qt::RightButton, {}, cell);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, cell);
        QStringList texts;
        for (QAction* action : f.form.PopupMenu1->actions())
            texts << (action->isSeparator() ? s("-") : action->text());
        QCOMPARE(texts, (QStringList{"Spiel bearbeiten", "-", "Cramer", "Dietz"}));
        QVERIFY(f.form.PopupMenu1->actions()[0]->isEnabled());
        QVERIFY(!f.form.PopupMenu1->actions()[2]->isEnabled());
        f.form.PopupMenu1->actions()[0]->trigger();
        f.form.PopupMenu1->close();
        QCOMPARE(f.edits.size(), 1);
        QCOMPARE(f.edits[0].kid, kHerren);
        QCOMPARE(f.edits[0].spielnummer, 2);
        QCOMPARE(f.edits[0].nummer, -1);
        QCOMPARE(f.form.ComboBox1->currentText(), s("Damen (Einzel)"));

        // On an empty cell no menu.
        f.form.PopupMenu1->clear();
        const QPoint empty = f.cellCentre(20, 4);
        QTest::mousePress(viewport, Qt::RightButton, {}, empty);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, empty);
        QVERIFY(f.form.PopupMenu1->actions().isEmpty());
        QVERIFY(f.prompter.verify());
    }
};

QTEST_MAIN(TestTplanung)
#include "test_tplanung.moc"
