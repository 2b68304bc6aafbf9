// The umpire sheet: its layout as data over page widths and sets to win, the
// match it reads on both backends, and real printouts to PDF files read back by
// pdfinfo and pdftotext, with a failing printer and a missing match.
#include "data/planlistrecords.h"
#include "data/sql.h"
#include "platform/printersetupfile.h"
#include "platformui/printercontext.h"
#include "results/umpiresheet.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Ten tenths of a millimetre a character: x positions can be checked exactly.
int tenPerChar(const PrintItem& item)
{
    return int(item.text.size()) * 10;
}

const PrintItem* find(const PrintPage& page, const QString& text)
{
    for (const PrintItem& item : page) {
        if (item.text == text)
            return &item;
    }
    return nullptr;
}

UmpireSheet sheet(int saetze)
{
    UmpireSheet u;
    u.spielnummer = s("12");
    u.schiri = s("Meier, Hans");
    u.anPlatte = s("3");
    u.name1 = s("Schulz, Anna");
    u.name2 = s("Berg, Eva");
    u.verein1 = s("TTC Musterstadt");
    u.saetze = saetze;
    return u;
}

void seedMatch(const QSqlDatabase& db)
{
    insertRow(db, s("Turnierklassen"), {{s("KID"), 4}, {s("TID"), 1}, {s("saetze"), 3}});
    insertRow(db, s("Spielerdaten"), {{s("SID"), 21}, {s("verein"), s("TTC Musterstadt")}});
    insertRow(db, s("Spielerdaten"), {{s("SID"), 22}, {s("verein"), QVariant()}});
    insertRow(db, s("Spielplan"), {{s("KID"), 4}, {s("spielnummer"), 12}, {s("SID1"), 21}, {s("SID2"), 22},
                                   {s("spieler1"), s("Schulz, Anna")}, {s("spieler2"), s("Berg, Eva")},
                                   {s("schiri"), s("Meier, Hans")}, {s("an_platte"), s("3")},
                                   {s("in_planung"), 1}, {s("gruppe"), 0}});
    // A match of another class with the same number.
    insertRow(db, s("Spielplan"), {{s("KID"), 5}, {s("spielnummer"), 12}, {s("SID1"), 22}, {s("SID2"), 21},
                                   {s("schiri"), s("Falsch")}});
}

} // namespace

class TestUmpireSheet : public QObject {
    Q_OBJECT
private slots:
    void rounding()
    {
        QCOMPARE(roundHalfEven(52.5), 52);
        QCOMPARE(roundHalfEven(67.5), 68);
        QCOMPARE(roundHalfEven(262.5), 262);
        QCOMPARE(roundHalfEven(7.5), 8);
        QCOMPARE(roundHalfEven(7.49), 7);
        QCOMPARE(roundHalfEven(7.51), 8);
        QCOMPARE(roundHalfEven(-2.5), -2);
    }

    void layoutOverPageWidths_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("scale");
        QTest::newRow("A4 portrait, 210 mm") << 2100 << 1.5;
        QTest::newRow("200 mm") << 2000 << 1.0;
        QTest::newRow("180 mm") << 1800 << 1.0;
        QTest::newRow("170 mm") << 1700 << 1.0;
        QTest::newRow("A5 portrait, 148 mm") << 1480 << 0.75;
    }
    void layoutOverPageWidths()
    {
        QFETCH(int, width);
        QFETCH(double, scale);
        QCOMPARE(umpireSheetScale(width), scale);
        const int T = 5 + 50; // a printable area 5 mm below the edge
        const PrintPage page = layoutUmpireSheet(sheet(3), {width, T}, tenPerChar);
        const auto R = [&](double v) { return roundHalfEven(v); };
        struct Line {
            QString text;
            int y;
            int height;
            bool bold;
            bool italic;
            int centre;
            int measured; // characters the line is centred by
        };
        const QString sets = s("Satz %1: _________");
        const QList<Line> lines{
            {s("Schiedsrichterzettel"), -(R(scale * 5) + T), R(scale * 50), true, false, width / 2, 20},
            {s("Spielnummer: 12"), -(R(scale * 70) + T), R(scale * 45), false, false, width / 2, 15},
            {s("Schiedsrichter: Meier, Hans"), -(R(scale * 120) + T), R(scale * 45), false, false, width / 2, 27},
            {s("An Tisch: 3"), -(R(scale * 170) + T), R(scale * 45), false, false, width / 2, 11},
            {s("Spieler 1"), -(R(scale * 240) + T), R(scale * 55), true, true, width / 4, 9},
            {s("Spieler 2"), -(R(scale * 240) + T), R(scale * 55), true, true, width / 4 * 3, 9},
            {s("Schulz, Anna"), -(R(scale * 300) + T), R(scale * 55), true, true, width / 4, 12},
            {s("Berg, Eva"), -(R(scale * 300) + T), R(scale * 55), true, true, width / 4 * 3, 9},
            {s("(TTC Musterstadt)"), -(R(scale * 350) + T), R(scale * 55), false, false, width / 4, 15},
            {s("()"), -(R(scale * 350) + T), R(scale * 55), false, false, width / 4 * 3, 0},
            {sets.arg(1), -(R(380 * scale) + 1 * R(120 * scale) + T), R(scale * 55), false, false, width / 2, 17},
            {sets.arg(5), -(R(380 * scale) + 5 * R(120 * scale) + T), R(scale * 55), false, false, width / 2, 17},
            {s("Endergebnis: _________"), -(R(1120 * scale) + T), R(scale * 55), false, false, width / 2, 22},
            {s("Sieger: ___________________"), -(R(1240 * scale) + T), R(scale * 55), false, false, width / 2, 32},
        };
        for (const Line& line : lines) {
            const PrintItem* item = find(page, line.text);
            QVERIFY2(item, qPrintable(line.text));
            QCOMPARE(item->y, line.y);
            QCOMPARE(item->height, line.height);
            QCOMPARE(item->font, s("TimesNewRoman"));
            QCOMPARE(item->bold, line.bold);
            QCOMPARE(item->italic, line.italic);
            QCOMPARE(item->x, line.centre - line.measured * 10 / 2);
        }
        int setLines = 0;
        for (const PrintItem& item : page)
            setLines += item.text.startsWith(s("Satz ")) ? 1 : 0;
        QCOMPARE(setLines, 5);
        QCOMPARE(page.size(), 10 + 5 + 2);
    }

    void setsToWin_data()
    {
        QTest::addColumn<int>("saetze");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("endY");
        QTest::addColumn<int>("siegerY");
        QTest::newRow("3 sets to win") << 3 << 5 << 1120 << 1240;
        QTest::newRow("2 sets to win") << 2 << 3 << 880 << 1000;
        QTest::newRow("4 sets to win") << 4 << 7 << 1360 << 1480;
    }
    void setsToWin()
    {
        QFETCH(int, saetze);
        QFETCH(int, lines);
        QFETCH(int, endY);
        QFETCH(int, siegerY);
        const PrintPage page = layoutUmpireSheet(sheet(saetze), {1800, 50}, tenPerChar); // scale 1
        QStringList setTexts;
        for (const PrintItem& item : page) {
            if (item.text.startsWith(s("Satz ")))
                setTexts << item.text;
        }
        QCOMPARE(setTexts.size(), lines);
        QCOMPARE(setTexts.last(), s("Satz %1: _________").arg(lines));
        QCOMPARE(find(page, s("Satz 1: _________"))->y, -(380 + 120 + 50));
        QCOMPARE(find(page, s("Endergebnis: _________"))->y, -(endY + 50));
        QCOMPARE(find(page, s("Sieger: ___________________"))->y, -(siegerY + 50));
    }

    // With the printer's fonts every line is centred as measured, the winner's
    // line by the wider result line.
    void centredByPrinterFonts()
    {
        const PrintPage page = layoutUmpireSheet(sheet(3), {2100, 55});
        const PrintItem* title = find(page, s("Schiedsrichterzettel"));
        QVERIFY(printTextWidth(*title) > 0);
        QCOMPARE(title->x, 1050 - printTextWidth(*title) / 2);
        const PrintItem* name = find(page, s("Berg, Eva"));
        QCOMPARE(name->x, 1575 - printTextWidth(*name) / 2);
        // Bold italic is wider than regular.
        PrintItem plain = *name;
        plain.bold = plain.italic = false;
        QVERIFY(printTextWidth(*name) > printTextWidth(plain));
        const PrintItem* sieger = find(page, s("Sieger: ___________________"));
        PrintItem wide = *sieger;
        wide.text = s("Endergebnis: ___________________");
        QCOMPARE(sieger->x, 1050 - printTextWidth(wide) / 2);
        const PrintItem* club = find(page, s("(TTC Musterstadt)"));
        PrintItem name1 = *club;
        name1.text = s("TTC Musterstadt");
        QCOMPARE(club->x, 525 - printTextWidth(name1) / 2);
        QCOMPARE(find(page, s("()"))->x, 1575);
    }

    void readsTheMatch_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void readsTheMatch()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedMatch(tdb.db());
        const std::optional<UmpireSheetMatch> m = readUmpireSheetMatch(tdb.db(), 4, 12);
        QVERIFY(m);
        QCOMPARE(*m, (UmpireSheetMatch{12, s("Meier, Hans"), s("3"), s("Schulz, Anna"), s("Berg, Eva"),
                                       s("TTC Musterstadt"), QString()}));
        QVERIFY(!readUmpireSheetMatch(tdb.db(), 4, 13));
        QCOMPARE(readSetsToWin(tdb.db(), 4), 3);
        QCOMPARE(readSetsToWin(tdb.db(), 99), 0);
        const UmpireSheet fromRow = umpireSheetOf(*m, 3);
        QCOMPARE(fromRow.spielnummer, s("12"));
        QCOMPARE(fromRow.kopf1, s("Spieler 1"));
        QCOMPARE(fromRow.verein2, QString());
    }

    // A called match printed to a PDF file through Qt's print support: in
    // portrait without a sheet set-up, else on the set-up's printer, which
    // then stays current.
    void printsToPdf()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedMatch(tdb.db());
        QTemporaryDir dir;
        const QString target = dir.filePath(s("zettel.pdf"));
        const QString setup = dir.filePath(s("printerzettel.ini"));
        PrinterContext printers([] { return QStringList{s("Zettel")}; });
        QPrinter& printer = printers.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        FakePrompter prompter;
        QVERIFY(druckenUmpireSheet(prompter, printers, setup, tdb.db(), 4, 12, 3));
        QVERIFY(prompter.verify());
        QCOMPARE(umpireSheetPage(printer).width, 2100);
        const QString info = run(s("pdfinfo"), {target});
        QVERIFY(info.contains(QRegularExpression(s("Pages:\\s+1\\n"))));
        QVERIFY2(info.contains(QRegularExpression(s("Page size:\\s+595[.\\d]* x 84[12][.\\d]* pts"))), qPrintable(info));
        const QString text = run(s("pdftotext"), {target, s("-")});
        for (const QString& expected :
             {s("Schiedsrichterzettel"), s("Spielnummer: 12"), s("Schiedsrichter: Meier, Hans"), s("An Tisch: 3"),
              s("Schulz, Anna"), s("Berg, Eva"), s("(TTC Musterstadt)"), s("()"), s("Satz 1: _________"),
              s("Satz 5: _________"), s("Endergebnis: _________"), s("Sieger: ___________________")})
            QVERIFY2(text.contains(expected), qPrintable(expected + s(" not in:\n") + text));
        QVERIFY(!text.contains(s("Satz 6")));

        PrinterSettings zettel;
        zettel.printerName = s("Zettel");
        zettel.pageSizeId = int(QPageSize::A5);
        zettel.landscape = true;
        PrinterSetupFile::save(setup, zettel);
        QVERIFY(druckenUmpireSheet(prompter, printers, setup, tdb.db(), 4, 12, 3));
        const QString a5 = run(s("pdfinfo"), {target});
        QVERIFY2(a5.contains(QRegularExpression(s("Page size:\\s+595[.\\d]* x 419[.\\d]*|Page size:\\s+595[.\\d]* x 420 pts"))), qPrintable(a5));
        QCOMPARE(printers.printerName(), s("Zettel"));

        // A damaged set-up is told; the sheet still prints, in portrait.
        QFile(setup).resize(20);
        prompter.expect(PromptKind::Error, s("Die Druckereinstellungen in printerzettel.ini sind beschädigt."));
        QVERIFY(druckenUmpireSheet(prompter, printers, setup, tdb.db(), 4, 12, 3));
        QVERIFY(prompter.verify());
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
    }

    // A team match prints one page per game, without the clubs.
    void severalSheetsInOneJob()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(s("spiele.pdf"));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        printer.setPageSize(QPageSize(QPageSize::A5));
        UmpireSheet game = sheet(2);
        game.kopf1 = s("TTC A");
        game.kopf2 = s("TSV B");
        game.mitVereinen = false;
        printUmpireSheets(printer, {game, game, game, game});
        QVERIFY(run(s("pdfinfo"), {target}).contains(QRegularExpression(s("Pages:\\s+4\\n"))));
        const QString text = run(s("pdftotext"), {target, s("-")});
        QCOMPARE(text.count(s("TSV B")), 4);
        QVERIFY(!text.contains(s("()")));
    }

    // A printer that cannot print, or a match that is gone: "Druckerfehler"
    // and no file.
    void failures()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedMatch(tdb.db());
        QTemporaryDir dir;
        PrinterContext printers;
        QPrinter& printer = printers.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(s("fehlt/zettel.pdf")));
        FakePrompter prompter;
        prompter.expect(PromptKind::Error, s("Druckerfehler"));
        QVERIFY(!druckenUmpireSheet(prompter, printers, dir.filePath(s("printerzettel.ini")), tdb.db(), 4, 12, 3));
        QVERIFY(prompter.verify());

        const QString target = dir.filePath(s("zettel.pdf"));
        printer.setOutputFileName(target);
        prompter.expect(PromptKind::Error, s("Druckerfehler"));
        QVERIFY(!druckenUmpireSheet(prompter, printers, dir.filePath(s("printerzettel.ini")), tdb.db(), 4, 77, 3));
        QVERIFY(prompter.verify());
        QVERIFY(!QFile::exists(target));
    }
};

QTEST_MAIN(TestUmpireSheet)
#include "test_umpiresheet.moc"
