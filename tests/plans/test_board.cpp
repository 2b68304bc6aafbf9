// The planning board without widgets, on both backends: what it shows of a
// tournament day, every kind of drop with what it stores, the class colour,
// two desks dropping onto one cell and a failing statement in a drop.
#include "boardfixture.h"

#include "data/transaction.h"
#include "plans/boardmodel.h"
#include "platform/apperror.h"

#include <QTest>
#include <QThread>

#include <functional>

using namespace bw;
using namespace bw::test;

namespace {

int classIndex(const BoardModel& board, int kid)
{
    for (int i = 0; i < board.classes().size(); ++i)
        if (board.classes()[i].KID == kid)
            return i;
    return -1;
}

QList<int> listed(const BoardModel& board)
{
    QList<int> numbers;
    for (const kitem& e : board.entries())
        numbers.append(e.spielnummer);
    return numbers;
}

// Match numbers of the class placed anywhere on the board.
QList<int> placedNumbers(const BoardModel& board, int kid)
{
    QList<int> numbers;
    for (int row = 1; row < kBoardRows; ++row)
        for (int column = 1; column < board.columnCount(); ++column)
            if (const auto k = board.cell(row, column); k && k->KID == kid && k->ersteZeile)
                numbers.append(k->spielnummer);
    return numbers;
}

// The board as the program shows it, with the class "Herren" chosen.
void showHerren(BoardModel& board, const QSqlDatabase& db)
{
    showBoard(board, db, kBoardTid);
    chooseBoardClass(board, db, classIndex(board, kHerren));
}

// Drops and stores; fails the test when the drop does nothing.
BoardChange drop(BoardModel& board, const QSqlDatabase& db, const std::optional<BoardDrop>& d)
{
    if (!d)
        throw AppError(s("the drop does nothing"));
    return dropOnBoard(board, db, *d);
}

struct DropCase {
    const char* name;
    std::function<BoardChange(BoardModel&, const QSqlDatabase&)> act;
    std::function<void(const BoardModel&, const QSqlDatabase&, const BoardChange&)> check;
};

} // namespace

class TestBoard : public QObject {
    Q_OBJECT
private slots:
    void geometry()
    {
        QCOMPARE(rowLabel(1), s("00:10"));
        QCOMPARE(rowLabel(6), s("01:00"));
        QCOMPARE(rowLabel(kLastBoardRow), s("23:50"));
        QCOMPARE(rowLabel(kCurrentBoardRow), s("12:30"));
        QCOMPARE(boardRow(QTime(9, 35)), 57);
        QCOMPARE(boardRow(QTime(23, 59)), 143);
        QCOMPARE(planSlot(QTime(9, 39, 59)), QTime(9, 30));
        QCOMPARE(classDisplayText(s("Herren"), 0), s("Herren (Einzel)"));
        QCOMPARE(classDisplayText(s("Mixed A"), 2), s("Mixed A (Mixed)"));
        QCOMPARE(classDisplayText(s("Liga"), 3), s("Liga (Team)"));
    }

    void colours()
    {
        QCOMPARE(boardColourNames().size(), 20);
        QCOMPARE(boardColourNames().first(), s("clBlack"));
        QCOMPARE(boardColourNames().last(), s("clMedGray"));
        QCOMPARE(boardColour(s("clRed")), QColor(0xFF, 0, 0));
        QCOMPARE(boardColour(s("clMoneyGreen")), QColor(0xC0, 0xDC, 0xC0));
        QCOMPARE(boardColour(s("clMedGray")), QColor(0xA0, 0xA0, 0xA4));
        QCOMPARE(boardColour(s("lila")), QColor(0xFF, 0xFB, 0xF0));
        QCOMPARE(boardColour(QString()), QColor(0xFF, 0xFB, 0xF0));
    }

    void shownDay_data() { addBackendColumn(); addBackendRows(); }
    void shownDay()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedBoard(db);
        BoardModel board;
        showBoard(board, db, kBoardTid);

        // Tables in the plan's order of their labels (numbers by value), once
        // each, of this tournament only.
        QCOMPARE(board.tables(), (QStringList{"1", "2", "3", "10"}));
        QCOMPARE(board.cellText(0, 0), s("Uhrzeit"));
        QCOMPARE(board.cellText(0, 4), s("10"));
        QCOMPARE(board.cellText(57, 0), s("09:30"));
        QCOMPARE(board.day(), kBoardDay1);
        QVERIFY(!board.canGoBack());
        QVERIFY(board.canGoForward());

        // Classes by name; the first is chosen; its unknown colour shows as clCream.
        QCOMPARE(board.classes().size(), 3);
        QCOMPARE(board.classes()[0].schiri, s("Damen (Einzel)"));
        QCOMPARE(board.classes()[2].schiri, s("Mannschaft (Team)"));
        QVERIFY(board.classes()[2].teamklasse);
        QCOMPARE(board.chosenClass(), 0);
        QCOMPARE(board.chosenColour(), s("clCream"));

        // A match at table 10 at 09:35 fills rows 57 and 58 of that column.
        const auto upper = board.cell(57, 4);
        const auto lower = board.cell(58, 4);
        QVERIFY(upper && lower);
        QCOMPARE(upper->spielnummer, 2);
        QVERIFY(upper->ersteZeile && !upper->zweiteZeile);
        QVERIFY(lower->zweiteZeile && !lower->ersteZeile);
        QCOMPARE(upper->schiri, s("Schmidt"));
        QCOMPARE(upper->nummer, -1);
        QCOMPARE(board.cellText(57, 4), s("Cramer"));
        QCOMPARE(board.cellText(58, 4), s("Dietz"));
        QVERIFY(!board.cell(56, 4));
        // A class colour that is none of the names is drawn in clCream.
        QCOMPARE(board.cell(48, 1)->farbe, s("lila"));
        QCOMPARE(boardColour(board.cell(48, 1)->farbe), boardColour(s("clCream")));

        // Match 4 is planned on the second day; match 8 at a table that is none
        // of the tournament's stays off the board.
        QCOMPARE(placedNumbers(board, kHerren), (QList<int>{2, 9, 5}));

        // The list: both names known and no time; a placeholder counts as a name.
        chooseBoardClass(board, db, classIndex(board, kHerren));
        QCOMPARE(listed(board), (QList<int>{1, 6, 7}));
        QCOMPARE(board.entryText(0), s("Adler-Brandt"));
        QCOMPARE(board.entries()[0].farbe, s("clCream"));

        showBoardDay(board, db, board.day().addDays(1));
        QCOMPARE(placedNumbers(board, kHerren), QList<int>{4});
        QCOMPARE(board.cellText(60, 1), s("Gärtner"));
        QVERIFY(!board.canGoForward());
        QVERIFY(board.canGoBack());
        QCOMPARE(listed(board), (QList<int>{1, 6, 7}));

        // A team class lists its games.
        chooseBoardClass(board, db, classIndex(board, kMannschaft));
        QCOMPARE(listed(board), (QList<int>{1, 1}));
        QCOMPARE(board.entries()[1].nummer, 2);
        QCOMPARE(board.entries()[1].farbe, s("clSkyBlue"));
    }

    void drops_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<int>("index");
        for (const auto& [backend, name] : {std::pair{Backend::SQLite, "sqlite"}, std::pair{Backend::PostgreSQL, "postgresql"}})
            for (int i = 0; i < int(dropCases().size()); ++i)
                QTest::newRow(qPrintable(s("%1 %2").arg(s(name), s(dropCases()[size_t(i)].name)))) << backend << i;
    }
    void drops()
    {
        QFETCH(Backend, backend);
        QFETCH(int, index);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedBoard(db);
        BoardModel board;
        showHerren(board, db);
        const DropCase& c = dropCases()[size_t(index)];
        const BoardChange change = c.act(board, db);
        c.check(board, db, change);
        // The board shows what is stored (the list takes displaced matches
        // only when it is filled again).
        BoardModel again;
        showHerren(again, db);
        for (int row = 1; row < kBoardRows; ++row)
            for (int column = 1; column < board.columnCount(); ++column)
                QCOMPARE(again.cell(row, column), board.cell(row, column));
    }

    void refusedDrops_data() { addBackendColumn(); addBackendRows(); }
    void refusedDrops()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedBoard(db);
        BoardModel board;
        showHerren(board, db);
        const BoardMatchKey adler{kHerren, 1, -1};
        // A match needs two rows: the last row takes none.
        QVERIFY(!board.planFromList(adler, kLastBoardRow, 3));
        QVERIFY(!board.move(57, 4, kLastBoardRow, 4));
        QVERIFY(board.planFromList(adler, kLastBoardRow - 1, 3));
        // Outside the table cells, from an empty cell, an entry that is not listed.
        QVERIFY(!board.planFromList(adler, 0, 3));
        QVERIFY(!board.planFromList(adler, 60, 0));
        QVERIFY(!board.planFromList(adler, 60, board.columnCount()));
        QVERIFY(!board.planFromList({kHerren, 2, -1}, 60, 3));
        QVERIFY(!board.move(20, 4, 60, 3));
        QVERIFY(!board.move(57, 4, 60, 0));
        QVERIFY(!board.takeOff(20, 4));
        // Back onto its own place: nothing to store.
        QVERIFY(!board.move(58, 4, 57, 4));
    }

    void colourStored_data() { addBackendColumn(); addBackendRows(); }
    void colourStored()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedBoard(db);
        BoardModel board;
        showHerren(board, db);
        storeBoardColour(board, db, s("clRed"));
        QCOMPARE(scalar(db, s("SELECT farbe FROM Turnierklassen WHERE KID=:k"), {{s("k"), kHerren}}).toString(),
                 s("clRed"));
        QCOMPARE(scalar(db, s("SELECT farbe FROM Turnierklassen WHERE KID=:k"), {{s("k"), kDamen}}).toString(),
                 s("lila"));
        QCOMPARE(board.chosenColour(), s("clRed"));
        QCOMPARE(board.cell(57, 4)->farbe, s("clRed"));
        QCOMPARE(board.cell(48, 1)->farbe, s("lila"));
        for (const kitem& e : board.entries())
            QCOMPARE(e.farbe, s("clRed"));
    }

    // Two desks show the same day and drop two matches onto one cell: the first
    // stands, the second desk is told and its board shows the first.
    void twoDesksOneCell_data() { addBackendColumn(); addBackendRows(); }
    void twoDesksOneCell()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase a = tdb.db();
        const QSqlDatabase b = tdb.open();
        seedBoard(a);
        BoardModel deskA, deskB;
        showHerren(deskA, a);
        showHerren(deskB, b);
        drop(deskA, a, deskA.planFromList({kHerren, 1, -1}, 60, 3));
        QString message;
        try {
            drop(deskB, b, deskB.planFromList({kHerren, 6, -1}, 61, 3));
        } catch (const BoardConflict& e) {
            message = e.message();
        }
        QCOMPARE(message, s("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert."));
        QCOMPARE(storedPlanning(a, kHerren, 1), s("2026-06-06|3|10:00|"));
        QCOMPARE(storedPlanning(a, kHerren, 6), s("|||"));
        QCOMPARE(deskB.cellText(60, 3), s("Adler"));
        QCOMPARE(listed(deskB), (QList<int>{6, 7}));

        // A match the other desk moved meanwhile is not moved from where it was.
        drop(deskA, a, deskA.move(60, 3, 70, 2));
        QVERIFY_THROWS_EXCEPTION(BoardConflict, drop(deskB, b, deskB.move(61, 3, 90, 1)));
        QCOMPARE(storedPlanning(a, kHerren, 1), s("2026-06-06|2|11:40|"));
        QCOMPARE(deskB.cellText(70, 2), s("Adler"));
        // Nor taken off.
        drop(deskA, a, deskA.move(70, 2, 80, 2));
        QVERIFY_THROWS_EXCEPTION(BoardConflict, drop(deskB, b, deskB.takeOff(70, 2)));
        QCOMPARE(storedPlanning(a, kHerren, 1), s("2026-06-06|2|13:20|"));
        // A match the other desk displaced is not displaced again.
        drop(deskA, a, deskA.planFromList({kHerren, 6, -1}, 57, 4));
        QCOMPARE(storedPlanning(a, kHerren, 2), s("|||"));
        QVERIFY_THROWS_EXCEPTION(BoardConflict, drop(deskB, b, deskB.planFromList({kHerren, 7, -1}, 58, 4)));
        QCOMPARE(storedPlanning(a, kHerren, 7), s("|||"));
        QCOMPARE(deskB.cellText(57, 4), s("Kühn"));
    }

    // The same at once: desk B's drop waits for desk A's transaction and then
    // finds A's match in the cell.
    void twoDesksAtOnce()
    {
        TestDatabase tdb(Backend::PostgreSQL);
        if (!tdb.ready())
            return;
        const QSqlDatabase a = tdb.db();
        seedBoard(a);
        BoardModel deskA, deskB;
        showHerren(deskA, a);
        showHerren(deskB, a);
        const std::optional<BoardDrop> dropA = deskA.planFromList({kHerren, 1, -1}, 60, 3);
        const std::optional<BoardDrop> dropB = deskB.planFromList({kHerren, 6, -1}, 60, 3);
        QVERIFY(dropA && dropB);
        std::atomic<int> pid{0};
        QString errorB;
        {
            Transaction transaction(a);
            storeBoardWrite(a, dropA->write);
            std::unique_ptr<QThread> thread(QThread::create([&] {
                const QString name = s("board-desk-b");
                {
                    const QSqlDatabase b = tdb.openDesk(name);
                    pid = scalar(b, s("SELECT pg_backend_pid()")).toInt();
                    try {
                        storeBoardWrite(b, dropB->write);
                    } catch (const std::exception& e) {
                        errorB = exceptionText(e);
                    }
                }
                QSqlDatabase::removeDatabase(name);
            }));
            thread->start();
            const QSqlDatabase monitor = tdb.open();
            QVERIFY(QTest::qWaitFor([&] {
                return thread->isFinished()
                    || (pid > 0
                        && scalar(monitor, s("SELECT cardinality(pg_blocking_pids(:pid))"), {{s("pid"), int(pid)}})
                                   .toInt()
                               > 0);
            }));
            transaction.commit();
            thread->wait();
        }
        QCOMPARE(errorB, s("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert."));
        QCOMPARE(storedPlanning(a, kHerren, 1), s("2026-06-06|3|10:00|"));
        QCOMPARE(storedPlanning(a, kHerren, 6), s("|||"));
    }

    // A drop that displaces two matches is one transaction.
    void dropIsAtomic_data() { addBackendColumn(); addBackendRows(); }
    void dropIsAtomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedBoard(db);
        BoardModel board;
        showHerren(board, db);
        // Between match 2 (09:30, 09:40) and match 9 (09:50, 10:00) at table 10.
        const std::optional<BoardDrop> d = board.planFromList({kHerren, 1, -1}, 58, 4);
        QVERIFY(d);
        QCOMPARE(d->write.displaced.size(), 2);
        int runs = 0;
        const QString failure = checkAtomic(db, [&] { storeBoardWrite(db, d->write); }, {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(runs > 4);
        QCOMPARE(storedPlanning(db, kHerren, 1), s("2026-06-06|10|09:40|"));
        QCOMPARE(storedPlanning(db, kHerren, 2), s("|||"));
        QCOMPARE(storedPlanning(db, kHerren, 9), s("|||"));
    }

private:
    static const std::vector<DropCase>& dropCases();
};

const std::vector<DropCase>& TestBoard::dropCases()
{
    static const std::vector<DropCase> cases{
        {"list onto an empty cell",
         [](BoardModel& board, const QSqlDatabase& db) {
             // Column 3 is table "3"; row 60 is 10:00.
             return drop(board, db, board.planFromList({kHerren, 1, -1}, 60, 3));
         },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange& change) {
             QCOMPARE(storedPlanning(db, kHerren, 1), s("2026-06-06|3|10:00|"));
             QCOMPARE(board.cellText(60, 3), s("Adler"));
             QCOMPARE(board.cellText(61, 3), s("Brandt"));
             QCOMPARE(board.cell(60, 3)->farbe, s("clCream"));
             QCOMPARE(listed(board), (QList<int>{6, 7}));
             QVERIFY(change.listEntryRemoved);
             QCOMPARE(change.columns, QList<int>{3});
             // Match 5 at 10:20 (row 62) stays.
             QCOMPARE(storedPlanning(db, kHerren, 5), s("2026-06-06|3|10:20|Meier"));
         }},
        {"list onto the upper cell of a planned match",
         [](BoardModel& board, const QSqlDatabase& db) {
             return drop(board, db, board.planFromList({kHerren, 1, -1}, 57, 4));
         },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange&) {
             QCOMPARE(storedPlanning(db, kHerren, 1), s("2026-06-06|10|09:30|"));
             QCOMPARE(storedPlanning(db, kHerren, 2), s("|||"));
             QCOMPARE(board.cellText(57, 4), s("Adler"));
             QCOMPARE(board.cellText(58, 4), s("Brandt"));
             // A displaced match is not listed until its class is chosen again.
             QCOMPARE(listed(board), (QList<int>{6, 7}));
         }},
        {"list onto the lower cell of a planned match",
         [](BoardModel& board, const QSqlDatabase& db) {
             return drop(board, db, board.planFromList({kHerren, 6, -1}, 58, 4));
         },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange&) {
             QCOMPARE(storedPlanning(db, kHerren, 6), s("2026-06-06|10|09:40|"));
             QCOMPARE(storedPlanning(db, kHerren, 2), s("|||"));
             QCOMPARE(storedPlanning(db, kHerren, 9), s("|||"));
             QVERIFY(!board.cell(57, 4));
             QCOMPARE(board.cellText(58, 4), s("Kühn"));
             QCOMPARE(board.cellText(59, 4), s("Lang"));
             QVERIFY(!board.cell(60, 4));
         }},
        {"list one row above a planned match",
         [](BoardModel& board, const QSqlDatabase& db) {
             return drop(board, db, board.planFromList({kHerren, 1, -1}, 56, 4));
         },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange&) {
             QCOMPARE(storedPlanning(db, kHerren, 1), s("2026-06-06|10|09:20|"));
             QCOMPARE(storedPlanning(db, kHerren, 2), s("|||"));
             QCOMPARE(storedPlanning(db, kHerren, 9), s("2026-06-06|10|09:50|"));
             QCOMPARE(board.cellText(57, 4), s("Brandt"));
             QVERIFY(!board.cell(58, 4));
         }},
        {"move to another table",
         [](BoardModel& board, const QSqlDatabase& db) { return drop(board, db, board.move(58, 4, 70, 2)); },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange& change) {
             QCOMPARE(storedPlanning(db, kHerren, 2), s("2026-06-06|2|11:40|Schmidt"));
             QCOMPARE(board.cell(70, 2)->schiri, s("Schmidt"));
             QCOMPARE(board.cell(71, 2)->schiri, s("Schmidt"));
             QVERIFY(!board.cell(57, 4) && !board.cell(58, 4));
             QCOMPARE(change.columns, (QList<int>{4, 2}));
         }},
        {"move by one row",
         [](BoardModel& board, const QSqlDatabase& db) { return drop(board, db, board.move(57, 4, 56, 4)); },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange&) {
             QCOMPARE(storedPlanning(db, kHerren, 2), s("2026-06-06|10|09:20|Schmidt"));
             QCOMPARE(board.cellText(56, 4), s("Cramer"));
             QCOMPARE(board.cellText(57, 4), s("Dietz"));
             QVERIFY(!board.cell(58, 4));
             QCOMPARE(storedPlanning(db, kHerren, 9), s("2026-06-06|10|09:50|"));
         }},
        {"onto the list, of the chosen class",
         [](BoardModel& board, const QSqlDatabase& db) { return drop(board, db, board.takeOff(58, 4)); },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange& change) {
             QCOMPARE(storedPlanning(db, kHerren, 2), s("|||"));
             QVERIFY(change.relist);
             QCOMPARE(listed(board), (QList<int>{1, 2, 6, 7}));
             QVERIFY(!board.cell(57, 4) && !board.cell(58, 4));
         }},
        {"onto the list, of another class",
         [](BoardModel& board, const QSqlDatabase& db) { return drop(board, db, board.takeOff(48, 1)); },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange& change) {
             QCOMPARE(storedPlanning(db, kDamen, 1), s("|||"));
             QVERIFY(!change.relist);
             QCOMPARE(listed(board), (QList<int>{1, 6, 7}));
             QVERIFY(!board.cell(48, 1));
         }},
        {"a team game planned and taken off",
         [](BoardModel& board, const QSqlDatabase& db) {
             chooseBoardClass(board, db, classIndex(board, kMannschaft));
             drop(board, db, board.planFromList({kMannschaft, 1, 2}, 30, 1));
             if (storedPlanning(db, kMannschaft, 1, 2) != s("2026-06-06|1|05:00|"))
                 throw AppError(s("not planned: ") + storedPlanning(db, kMannschaft, 1, 2));
             if (board.cell(30, 1)->nummer != 2 || board.cell(31, 1)->nummer != 2)
                 throw AppError(s("not on the board"));
             return drop(board, db, board.takeOff(31, 1));
         },
         [](const BoardModel& board, const QSqlDatabase& db, const BoardChange& change) {
             QCOMPARE(storedPlanning(db, kMannschaft, 1, 2), s("|||"));
             QCOMPARE(storedPlanning(db, kMannschaft, 1, 1), s("|||"));
             // The encounter's own planning goes with it.
             QCOMPARE(storedPlanning(db, kMannschaft, 1), s("|||"));
             QVERIFY(change.relist);
             QCOMPARE(board.entries().size(), 2);
             QVERIFY(!board.cell(30, 1));
         }},
    };
    return cases;
}

QTEST_GUILESS_MAIN(TestBoard)
#include "test_board.moc"
