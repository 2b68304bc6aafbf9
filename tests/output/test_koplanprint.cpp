// The knock-out printouts without a printer: the sheet estimates of the
// print-size dialog, the single and double knock-out brackets laid out in plan
// coordinates (with texts ten tenths of a millimetre a character wide, so every
// position can be checked exactly), the winner by the result's digits, and the
// cutting of a plan into page tiles.
#include "data/sql.h"
#include "output/koplanprint.h"
#include "support/tempprogramfolder.h"

#include <QTest>

#include <algorithm>
#include <tuple>

using namespace bw;
using namespace bw::koprint;

namespace {

int tenPerChar(const PrintItem& item)
{
    return int(item.text.size()) * 10;
}

const PageMetrics kA4Portrait{210, 297, 5, 5};
const PageMetrics kA4Landscape{297, 210, 5, 5};
const PlanHeader kHeader{s("Pokal"), s("Spielplan für KO")};

// A knock-out phase of n first-round matches as the draw writes it: the first
// round numbered 1..n with "Spieler k", every later match fed by the two before.
QList<PlanMatchRow> koRows(int n)
{
    QList<PlanMatchRow> rows;
    for (int i = 0; i < n; ++i) {
        PlanMatchRow row;
        row.spielnummer = i + 1;
        row.spieler1 = s("Spieler %1").arg(2 * i + 1);
        row.spieler2 = s("Spieler %1").arg(2 * i + 2);
        row.phase = 1;
        rows.append(row);
    }
    int feeding = 1;
    for (int count = n / 2; count >= 1; count /= 2) {
        for (int i = 0; i < count; ++i) {
            PlanMatchRow row;
            row.spielnummer = int(rows.size()) + 1;
            row.parentspiel1 = feeding;
            row.parentspiel2 = feeding + 1;
            row.spieler1 = s("Sieger Spiel %1").arg(feeding);
            row.spieler2 = s("Sieger Spiel %1").arg(feeding + 1);
            row.phase = 1;
            rows.append(row);
            feeding += 2;
        }
    }
    return rows;
}

PrintItem text(int x, int depth, int height, const QString& t)
{
    return PrintItem::textAt(x, -depth, s("Arial"), height, t);
}
PrintItem line(int x1, int depth1, int x2, int depth2)
{
    return PrintItem::lineFrom(x1, -depth1, x2, -depth2);
}

QStringList texts(const PrintPage& items)
{
    QStringList list;
    for (const PrintItem& item : items)
        if (item.kind == PrintItem::Kind::Text)
            list << item.text;
    return list;
}

int lineCount(const PrintPage& items)
{
    return int(std::count_if(items.begin(), items.end(),
                             [](const PrintItem& item) { return item.kind == PrintItem::Kind::Line; }));
}

void compareItems(PrintPage actual, PrintPage expected)
{
    const auto order = [](const PrintItem& a, const PrintItem& b) {
        return std::tie(a.kind, a.x, a.y, a.x2, a.y2, a.text) < std::tie(b.kind, b.x, b.y, b.x2, b.y2, b.text);
    };
    std::sort(actual.begin(), actual.end(), order);
    std::sort(expected.begin(), expected.end(), order);
    QCOMPARE(actual, expected);
}

} // namespace

class TestKoPlanPrint : public QObject {
    Q_OBJECT
private slots:
    void estimates_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("entry");
        const int ko = int(PlanKind::KnockOut);
        const int dko = int(PlanKind::DoubleKnockOut);
        QTest::newRow("16 entrants, size 0") << ko << 8 << 0 << 0 << 0 << 0 << 1100 << 1180
                                             << s("Größe 0 (1x1) DIN A4 Seiten");
        QTest::newRow("16 entrants, size 4") << ko << 8 << 0 << 0 << 4 << 0 << 4100 << 4720
                                             << s("Größe 4 (2x2) DIN A4 Seiten");
        QTest::newRow("16 entrants, size 4 landscape") << ko << 8 << 0 << 0 << 4 << 1 << 4100 << 4720
                                                       << s("Größe 4 (2x3) DIN A4 Seiten");
        QTest::newRow("2 entrants, size 2") << ko << 1 << 0 << 0 << 2 << 0 << 900 << 680
                                            << s("Größe 2 (1x1) DIN A4 Seiten");
        QTest::newRow("double knock-out of 16, size 2") << dko << 8 << 7 << 72 << 2 << 0 << 3200 << 3280
                                                        << s("Größe 2 (2x2) DIN A4 Seiten");
        QTest::newRow("double knock-out of 16, size 0 landscape") << dko << 8 << 7 << 72 << 0 << 1 << 1600 << 1640
                                                                  << s("Größe 0 (1x1) DIN A4 Seiten");
    }
    void estimates()
    {
        QFETCH(int, kind);
        QFETCH(int, n);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, size);
        QFETCH(int, orientation);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, entry);
        const SheetEstimate e = estimateSheets({PlanKind(kind), n, columns, rows}, size, Orientation(orientation));
        QCOMPARE(e.width, width);
        QCOMPARE(e.height, height);
        QCOMPARE(sizeEntryText(size, e), entry);
    }

    // The estimate of a double knock-out of 16 slots from the block the program ships.
    void estimateFromShippedBlock()
    {
        const DoubleKoPlan block = readDoubleKoPlan(
            test::TempProgramFolder::sourceDir() + s("/resources/Files/ko_system.txt"), 16);
        QVERIFY(block.found());
        const PlanFigures figures{PlanKind::DoubleKnockOut, 8, block.columns, block.rows};
        QCOMPARE(estimateSheets(figures, 2, Orientation::Portrait), (SheetEstimate{3200, 3280, 2, 2}));
        QCOMPARE(estimateSheets(figures, 4, Orientation::Landscape), (SheetEstimate{6400, 6560, 3, 4}));
    }

    void bracketSizes()
    {
        const QList<std::pair<int, KoBracket>> cases{{1, {0, 2}}, {2, {1, 4}}, {3, {2, 8}}, {8, {3, 16}},
                                                     {9, {4, 32}}, {64, {6, 128}}};
        for (const auto& [n, bracket] : cases) {
            QCOMPARE(koBracket(n).r, bracket.r);
            QCOMPARE(koBracket(n).slotCount, bracket.slotCount);
        }
    }

    void winnerByDigits_data()
    {
        QTest::addColumn<QString>("ergebnis");
        QTest::addColumn<QString>("winner");
        QTest::newRow("3:1") << s("3:1") << s("A");
        QTest::newRow("2:3") << s("2:3") << s("B");
        QTest::newRow("3:3, the first-named side") << s("3:3") << s("A");
        QTest::newRow("0:0, none yet") << s("0:0") << QString();
        QTest::newRow("empty, none yet") << QString() << QString();
        QTest::newRow("no digit counts 0") << s("x:1") << s("B");
    }
    void winnerByDigits()
    {
        QFETCH(QString, ergebnis);
        QFETCH(QString, winner);
        QCOMPARE(resultWinner(ergebnis, s("A"), s("B")), winner);
    }

    // Two entrants: the first round holds the final, the winner column follows it.
    void finalInTheFirstColumn_data()
    {
        QTest::addColumn<QString>("ergebnis");
        QTest::addColumn<QStringList>("winnerTexts"); // at x 561, then at x 519
        QTest::newRow("open") << QString() << QStringList{s("Sieger Spiel 1")};
        QTest::newRow("0:0 is open") << s("0:0") << QStringList{s("Sieger Spiel 1")};
        QTest::newRow("3:1") << s("3:1") << QStringList{s("Spieler 1"), s("3:1")};
        QTest::newRow("2:3") << s("2:3") << QStringList{s("Spieler 2"), s("2:3")};
    }
    void finalInTheFirstColumn()
    {
        QFETCH(QString, ergebnis);
        QFETCH(QStringList, winnerTexts);
        QList<PlanMatchRow> rows = koRows(1);
        rows[0].ergebnis = ergebnis;
        const PlanPrint plan = koPlan(rows, kHeader, 2, kA4Portrait, tenPerChar);
        // h = 105, m = 365, u = 400, l = 80, o = 36, t = 50, s = 2, "10:10" 50 wide.
        QCOMPARE(plan.width, 2 * 400 + 105);
        QCOMPARE(plan.height, 3 * 80 + 365 + 80);
        PrintPage expected{
            text(905 / 2 - 25, 55, 72, s("Pokal")),
            text(905 / 2 - 80, 55 + 108, 54, s("Spielplan für KO")),
            line(105, 365, 505, 365),
            line(105, 445, 505, 445),
            line(505, 365, 505, 445),
            text(108, 315, 36, s("Spieler 1")),
            text(108, 395, 36, s("Spieler 2")),
            line(555, 405, 905, 405),
            text(561, 355, 36, winnerTexts[0]),
        };
        if (winnerTexts.size() > 1) {
            expected << text(505 + 16, 365 + 40 + 8 - 50, 36, ergebnis); // the first round's result
            expected << text(519, 355, 36, winnerTexts[1]);
        }
        compareItems(plan.items, expected);
    }

    // Four entrants: the final's slots in column 0, joined in the winner column.
    void laterColumns()
    {
        QList<PlanMatchRow> rows = koRows(2);
        rows[0].ergebnis = s("3:1");
        rows[1].ergebnis = s("0:0");
        rows[2].spieler1 = s("Spieler 1");
        rows[2].ergebnis = s("1:3");
        const PlanPrint plan = koPlan(rows, kHeader, 2, kA4Portrait, tenPerChar);
        QCOMPARE(plan.width, 3 * 400 + 105);
        QCOMPARE(plan.height, 2 * 240 + 365 + 80);
        const PrintPage bracket{
            line(105, 605, 505, 605),
            line(105, 685, 505, 685),
            text(108, 555, 36, s("Spieler 3")),
            text(108, 635, 36, s("Spieler 4")),
            text(521, 363, 36, s("3:1")),
            // Column 0: the final's two slots.
            line(555, 405, 905, 405),
            line(555, 645, 905, 645),
            text(561, 355, 36, s("Spieler 1")),
            text(561, 595, 36, s("Sieger Spiel 2")),
            // The winner column joins them; only the final's result beside the winner.
            line(955, 525, 1305, 525),
            line(905, 405, 905, 645),
            text(961, 475, 36, s("Sieger Spiel 2")),
            text(919, 475, 36, s("1:3")),
        };
        for (const PrintItem& item : bracket)
            QVERIFY2(plan.items.contains(item), qPrintable(item.text));
        QCOMPARE(texts(plan.items).count(s("1:3")), 1);
        QVERIFY(!texts(plan.items).contains(s("0:0")));
        QCOMPARE(lineCount(plan.items), 2 * 3 + 2 + 2);
    }

    // 16 entrants at size 2: W = 2000 + h, H = 1920 + m + 80; two pages across on A4.
    void sixteenEntrantsOnTwoPages()
    {
        QList<PlanMatchRow> rows = koRows(8);
        const PlanPrint plan = koPlan(rows, kHeader, 2, kA4Portrait, tenPerChar);
        QCOMPARE(plan.width, 2000 + 105);
        QCOMPARE(plan.height, 1920 + 365 + 80);
        QCOMPARE(tileSize(kA4Portrait), QSize(2000, 2870));
        const QList<PrintPage> pages = tilePages(plan, tileSize(kA4Portrait), tenPerChar);
        QCOMPARE(pages.size(), 2);
        // 8 first-round matches; the slots of the later rounds and the winner,
        // and the joins from the second round on.
        QCOMPARE(lineCount(plan.items), 8 * 3 + (8 + 4 + 2 + 1) + (4 + 2 + 1));
        QVERIFY(texts(plan.items).contains(s("Sieger Spiel 15")));
        QVERIFY(texts(pages[0]).contains(s("Spieler 16")));
        QVERIFY(!texts(pages[1]).contains(s("Spieler 16")));
    }

    // The orientation changes the tiles, not the plan.
    void landscapeChangesTheTilesOnly()
    {
        const QList<PlanMatchRow> rows = koRows(16);
        const PlanPrint portrait = koPlan(rows, kHeader, 3, kA4Portrait, tenPerChar);
        const PlanPrint landscape = koPlan(rows, kHeader, 3, kA4Landscape, tenPerChar);
        QCOMPARE(landscape.items, portrait.items);
        QCOMPARE(tilePages(portrait, tileSize(kA4Portrait), tenPerChar).size(), 2 * 3);
        QCOMPARE(tilePages(landscape, tileSize(kA4Landscape), tenPerChar).size(), 2 * 4);
    }

    void doubleKoLines_data()
    {
        QTest::addColumn<int>("offset");
        QTest::newRow("phase 1") << 0;
        QTest::newRow("a later phase") << 10;
    }
    void doubleKoLines()
    {
        QFETCH(int, offset);
        DoubleKoPlan block;
        block.lookup = PlanLookup::Found;
        block.columns = 2;
        block.rows = 4;
        DoubleKoLine match;
        match.f0 = 1;
        match.f3 = -3;
        match.f7 = 1;
        match.f9 = 2;
        DoubleKoLine winnerLabel;
        winnerLabel.f1 = 3;
        winnerLabel.f3 = 1;
        winnerLabel.f6 = 1;
        winnerLabel.f7 = 2;
        winnerLabel.f8 = 1;
        DoubleKoLine loserLabel = winnerLabel;
        loserLabel.f3 = 0;
        loserLabel.f8 = 3;
        block.lines = {match, winnerLabel, loserLabel};
        PlanMatchRow row;
        row.spielnummer = 1 + offset;
        row.spieler1 = s("Anna");
        row.spieler2 = s("Berta");
        row.ergebnis = s("3:2");
        PlanMatchRow other; // a match of the same number in another phase is not the one meant
        other.spielnummer = 1 + (offset ? 0 : 10);
        other.spieler1 = s("Falsch");
        const PlanPrint plan = doubleKoPlan(block, {row, other}, offset, kHeader, 2, kA4Portrait, tenPerChar);
        // h = 105, m = 365, u = 400, row 40, t = 50, "10:10" 50 and "0" 10 wide.
        QCOMPARE(plan.width, 3 * 400);
        QCOMPARE(plan.height, 5 * 40 + 365);
        compareItems(plan.items,
                     {
                         text(600 - 25, 55, 72, s("Pokal")),
                         text(600 - 80, 163, 54, s("Spielplan für KO")),
                         line(105, 365, 505, 365),
                         line(105, 445, 505, 445),
                         line(505, 365, 505, 445),
                         text(108, 315, 36, s("Anna")),
                         text(108, 395, 36, s("Berta")),
                         text(515, (365 + 445 - 50) / 2, 36, s("3:2")),
                         line(555, 405, 955, 405),
                         text(558, 355, 36, s("Sieger Spiel %1").arg(3 + offset)),
                         line(555, 485, 955, 485),
                         text(558, 435, 36, s("Verlierer Spiel %1").arg(3 + offset)),
                     });
    }

    // The block the program ships for 16 slots: every match line drawn, the
    // first round's names from the class's matches.
    void doubleKoFromShippedBlock()
    {
        const DoubleKoPlan block = readDoubleKoPlan(
            test::TempProgramFolder::sourceDir() + s("/resources/Files/ko_system.txt"), 16);
        const PlanPrint plan = doubleKoPlan(block, koRows(8), 0, kHeader, 0, kA4Portrait, tenPerChar);
        QCOMPARE(plan.width, 8 * 200);
        QCOMPARE(plan.height, 73 * 20 + 185);
        QCOMPARE(lineCount(plan.items), 30 * 3);
        QVERIFY(texts(plan.items).contains(s("Spieler 16")));
    }

    void tiles()
    {
        PlanPrint plan;
        plan.width = 2500;
        plan.height = 3000;
        plan.items = {
            line(100, 100, 200, 100),                   // page 0
            line(900, 500, 1100, 500),                  // pages 0 and 1
            line(1000, 1200, 1000, 1300),               // on the edge of columns 0 and 1, row 1
            text(1950, 2950, 40, s("abc")),             // page of row 2, column 1
            text(-50, 10, 40, s("links")),              // left of the plan: the first page
        };
        const QList<PrintPage> pages = tilePages(plan, QSize(1000, 1000), tenPerChar);
        QCOMPARE(pages.size(), 3 * 3);
        compareItems(pages[0], {line(100, 100, 200, 100), line(900, 500, 1100, 500), text(-50, 10, 40, s("links"))});
        compareItems(pages[1], {line(-100, 500, 100, 500)});
        compareItems(pages[3], {line(1000, 200, 1000, 300)});
        compareItems(pages[4], {line(0, 200, 0, 300)});
        compareItems(pages[7], {text(950, 950, 40, s("abc"))});
        for (int k : {2, 5, 6, 8})
            QVERIFY(pages[k].isEmpty());

        // What reaches beyond the plan's size gets pages of its own.
        plan.items.append(line(3100, 2000, 3200, 2000));
        plan.items.append(text(0, 3500, 40, s("unten")));
        const QList<PrintPage> wider = tilePages(plan, QSize(1000, 1000), tenPerChar);
        QCOMPARE(wider.size(), 4 * 4);
        compareItems(wider[2 * 4 + 3], {line(100, 0, 200, 0)});
        compareItems(wider[3 * 4 + 0], {text(0, 500, 40, s("unten"))});
    }
};

QTEST_GUILESS_MAIN(TestKoPlanPrint)
#include "test_koplanprint.moc"
