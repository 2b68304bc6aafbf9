// The group printout: its measures, its layout as items (pages, header,
// cross table, results, standings) and one print of a drawn class into a PDF
// file read back by qpdf, pdfinfo and pdftotext.
#include "../plans/planfixture.h"

#include "data/planviewrecords.h"
#include "data/sql.h"
#include "data/standingsrecords.h"
#include "output/groupplanprint.h"
#include "output/tdrucken.h"
#include "plans/plansession.h"
#include "platform/printersetupfile.h"
#include "platformui/printercontext.h"
#include "results/umpiresheet.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;
using namespace bw::groupprint;

namespace {

const PageMetrics kA4{210, 297, 0, 0};

// Ten tenths of a millimetre per character: header positions can be worked out by hand.
int tenPerChar(const PrintItem& item)
{
    return int(item.text.size()) * 10;
}

// A group of `count` places with the keys base+1.. and names "<letter>1"..
Group groupOf(const QString& letter, int base, int count = 4)
{
    Group g;
    g.letter = letter;
    for (int i = 0; i < count; ++i) {
        g.places.append({base + i + 1, letter + QString::number(i + 1)});
        Standing row;
        row.pos = i;
        row.bez = letter + QString::number(i + 1);
        g.standings.append(row);
    }
    return g;
}

Input inputOf(const QList<Group>& groups, int teilnehmer = 4)
{
    Input in;
    in.turniername = s("Pokal");
    in.spielplantext = s("Spielplan für Herren (Einzel)");
    in.teilnehmer = teilnehmer;
    in.groups = groups;
    in.page = kA4;
    return in;
}

QList<PrintItem> textsOf(const PrintPage& page, const QString& text)
{
    QList<PrintItem> found;
    for (const PrintItem& item : page) {
        if (item.kind == PrintItem::Kind::Text && item.text == text)
            found.append(item);
    }
    return found;
}

// The one text item at a place, or an empty text.
QString textAt(const PrintPage& page, int x, int y)
{
    QString found;
    for (const PrintItem& item : page) {
        if (item.kind == PrintItem::Kind::Text && item.x == x && item.y == y)
            found += item.text;
    }
    return found;
}

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// The group printout of class `kid` on the application's printer; the print
// dialog answers with a PDF file on A4 landscape (the printout turns it portrait).
struct PrintFixture {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    PrinterContext printers;
    Tdrucken drucken{nullptr};
    QTemporaryDir dir;
    QString pdf = dir.filePath(s("gruppen.pdf"));
    int kid = 0;

    explicit PrintFixture(PrinterContext::PrinterList installed = {}) : printers(std::move(installed))
    {
        DruckenLinks links;
        links.prompter = &prompter;
        links.database = [this] { return db(); };
        links.aktuelleKID = [this] { return kid; };
        links.turniername = [] { return s("Stadtmeisterschaft"); };
        links.spielplantext = [] { return s("Spielplan für Herren (Einzel)"); };
        links.printer = [this]() -> QPrinter& { return printers.printer(); };
        links.klasseninfos = [this] { return loadKlasseninfos(db(), kid, QDate(2026, 5, 1)); };
        drucken.setLinks(links);
        drucken.PrintDialog1 = [this](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            p.setPageSize(QPageSize(QPageSize::A4));
            p.setPageOrientation(QPageLayout::Landscape);
            return true;
        };
    }
    QSqlDatabase db() const { return tdb.db(); }
};

} // namespace

class TestGroupPlanPrinting : public QObject {
    Q_OBJECT
private slots:
    // The scale and the measures it gives, rounded half to even.
    void measures_data()
    {
        QTest::addColumn<int>("teilnehmer");
        QTest::addColumn<int>("widthMm");
        QTest::addColumn<QList<int>>("expected"); // f100, rh, cw, bh, nw, top
        QTest::newRow("T 4, A4") << 4 << 210 << QList<int>{170, 51, 85, 304, 459, 255};
        QTest::newRow("T 4, 200 mm") << 4 << 200 << QList<int>{170, 51, 85, 304, 459, 255};
        QTest::newRow("T 4, 199 mm") << 4 << 199 << QList<int>{100, 30, 50, 220, 270, 150};
        // 37.5 -> 38 and 62.5 -> 62: halves to the even neighbour.
        QTest::newRow("T 13, A4") << 13 << 210 << QList<int>{125, 38, 62, 594, 338, 188};
    }
    void measures()
    {
        QFETCH(int, teilnehmer);
        QFETCH(int, widthMm);
        QFETCH(QList<int>, expected);
        const Measures m = measuresOf(teilnehmer, {widthMm, 297, 4, 6});
        QCOMPARE((QList<int>{m.f100, m.rh, m.cw, m.bh, m.nw, m.top}), expected);
        // Offsets are whole millimetres added to tenths.
        QCOMPARE(m.x0, 54);
        QCOMPARE(m.y0, 56);
        QCOMPARE(m.x2, m.x0 + m.nw + teilnehmer * m.cw + 50);
    }

    // 19 groups of 4 on A4 take three pages (nine groups a page): each page
    // has the header, centred by the width measured, and starts at the top margin.
    void pagesAndHeader()
    {
        QList<Group> groups;
        for (int g = 0; g < 19; ++g)
            groups.append(groupOf(QString(QChar(u'A' + g)), 100 * g));
        const QList<PrintPage> pages = layout(inputOf(groups), tenPerChar);
        QCOMPARE(pages.size(), 3);
        const Measures m = measuresOf(4, kA4);
        const QStringList firstGroups{s("Gruppe A"), s("Gruppe J"), s("Gruppe S")};
        for (int p = 0; p < 3; ++p) {
            const PrintPage& page = pages.at(p);
            QCOMPARE(textsOf(page, s("Pokal")), (QList<PrintItem>{PrintItem::textAt(1050 - 25, -50, s("Arial"), 54, s("Pokal"))}));
            const QList<PrintItem> title = textsOf(page, s("Spielplan für Herren (Einzel)"));
            QCOMPARE(title.size(), 1);
            QCOMPARE(title.first().x, 1050 - 145);
            QCOMPARE(title.first().y, -(50 + m.R(40)));
            const QList<PrintItem> first = textsOf(page, firstGroups.at(p));
            QCOMPARE(first.size(), 1);
            QCOMPARE(first.first().y, -(m.top - m.rh));
            QCOMPARE(first.first().x, 50);
        }
        QCOMPARE(textsOf(pages.at(0), s("Gruppe I")).first().y, -(m.top + 8 * m.bh - m.rh));
        QVERIFY(textsOf(pages.at(1), s("Gruppe I")).isEmpty());
    }

    // A first group larger than the page stays on the first page, no page of
    // the header alone.
    void oversizedGroupStaysOnFirstPage()
    {
        Input in = inputOf({groupOf(s("A"), 0, 13), groupOf(s("B"), 100, 13)}, 13);
        in.page = {210, 60, 0, 0};
        const QList<PrintPage> pages = layout(in, tenPerChar);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(textsOf(pages.at(0), s("Gruppe A")).size(), 1);
        QCOMPARE(textsOf(pages.at(1), s("Gruppe B")).size(), 1);
    }

    // Results by the sides' places in their own group: 3:1 between places 2
    // (named first) and 4 in row 2 column 4, and 1:3 in row 4 column 2; "0:0",
    // Null and a side that is not in the group leave their cells empty; the
    // diagonal is black; "11:9" is mirrored as a whole.
    void crossTable()
    {
        Group a = groupOf(s("A"), 0);
        a.matches = {{2, 4, s("A2"), s("A4"), s("3:1")}, {1, 3, s("A1"), s("A3"), s("0:0")},
                     {1, 2, s("A1"), s("A2"), QString()}, {3, 1, s("A3"), s("A1"), s("11:9")},
                     {1, 99, s("A1"), s("Fremd"), s("3:0")}, {4, 3, s("A4"), QString(), s("3:0")}};
        const PrintPage page = layout(inputOf({a}), tenPerChar).first();
        const Measures m = measuresOf(4, kA4);
        const int left = m.x0 + m.nw;
        const auto cell = [&](int row, int column) {
            return textAt(page, left + (column - 1) * m.cw + m.R(12), -(m.top + (row - 1) * m.rh + m.R(3)));
        };
        QStringList cells;
        for (int r = 1; r <= 4; ++r) {
            QStringList row;
            for (int c = 1; c <= 4; ++c)
                row << (cell(r, c).isEmpty() ? s(".") : cell(r, c));
            cells << row.join(QLatin1Char(' '));
        }
        QCOMPARE(cells, (QStringList{s(". . 9:11 ."), s(". . . 3:1"), s("11:9 . . ."), s(". 1:3 . .")}));
        QCOMPARE(mirrored(s("11:9")), s("9:11"));

        QList<PrintItem> fills;
        for (const PrintItem& item : page) {
            if (item.kind == PrintItem::Kind::Fill)
                fills.append(item);
        }
        QCOMPARE(fills.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(fills.at(i), PrintItem::filled(left + i * m.cw, -(m.top + i * m.rh), left + (i + 1) * m.cw,
                                                   -(m.top + (i + 1) * m.rh)));
        // Column numbers once each over the cross table, in the header row.
        QCOMPARE(textsOf(page, s("4")).count(PrintItem::textAt(left + 3 * m.cw + 10, -(m.top - m.rh), s("Arial"),
                                                              m.R(20), s("4"))),
                 1);
    }

    // Namesakes in groups A and B: each result in the block of its own group.
    void namesakesInTwoGroups()
    {
        Group a = groupOf(s("A"), 0);
        Group b = groupOf(s("B"), 100);
        a.places[0].bez = b.places[0].bez = s("Müller, Jan");
        b.matches = {{101, 102, s("Müller, Jan"), s("B2"), s("3:2")}};
        const PrintPage page = layout(inputOf({a, b}), tenPerChar).first();
        const Measures m = measuresOf(4, kA4);
        const int left = m.x0 + m.nw;
        const int blockB = m.top + m.bh;
        QCOMPARE(textAt(page, left + m.cw + m.R(12), -(blockB + m.R(3))), s("3:2"));
        QCOMPARE(textAt(page, left + m.R(12), -(blockB + m.rh + m.R(3))), s("2:3"));
        QVERIFY(textsOf(page, s("3:2")).size() == 1);
    }

    // Standings values of singles and team classes, with two points a win.
    void standings_data()
    {
        QTest::addColumn<bool>("team");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("singles") << false << QStringList{s("Punkte"), s("Sätze"), s("Bälle")}
                                 << QStringList{s("4"), s("3"), s("1"), s("6:2"), s("10:4"), s("120:98")};
        QTest::newRow("team") << true << QStringList{s("Punkte"), s("Spiele"), s("Sätze")}
                              << QStringList{s("3"), s("2"), s("1"), s("4:2"), s("3:1"), s("10:4")};
    }
    void standings()
    {
        QFETCH(bool, team);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, values);
        Group a = groupOf(s("A"), 0);
        Standing& row = a.standings[1];
        row.pos = 1;
        row.matchegewonnen = 2;
        row.matcheverloren = 1;
        row.spielegewonnen = 3;
        row.spieleverloren = 1;
        row.saetzegewonnen = 10;
        row.saetzeverloren = 4;
        row.punktegewonnen = 120;
        row.punkteverloren = 98;
        a.standings[3].bez.clear(); // an empty place shows nothing
        Input in = inputOf({a});
        in.team = team;
        in.punkteProSieg = 2;
        const PrintPage page = layout(in, tenPerChar).first();
        const Measures m = measuresOf(4, kA4);
        const int dh = -(m.top - m.rh);
        const int at[] = {97, 160, 230};
        for (int c = 0; c < 3; ++c)
            QCOMPARE(textAt(page, m.x2 + m.nw + m.R(at[c]), dh), headers.at(c));
        const int y = -(m.top + m.rh + m.R(4));
        QCOMPARE(textAt(page, m.x2 + m.R(5), y), s("2"));
        QCOMPARE(textAt(page, m.x2 + m.R(35), y), s("A2"));
        const int columns[] = {7, 37, 67, 97, 157, 217};
        QStringList shown;
        for (const int c : columns)
            shown << textAt(page, m.x2 + m.nw + m.R(c), y);
        QCOMPARE(shown, values);
        QCOMPARE(textAt(page, m.x2 + m.R(5), -(m.top + 3 * m.rh + m.R(4))), QString());
    }

    // A phase of ten groups of 4 printed through the application's printer into
    // a PDF file of two pages; each group ranked and stored before it prints.
    void printsTwoPagesToPdf()
    {
        PrintFixture f;
        QVERIFY(f.tdb.ready());
        const QSqlDatabase db = f.db();
        f.kid = drawnClass(db, s("Herren"), {groupPhase(10, 4)}, 40);
        const QList<PlanPlaceRow> places = readPlanPlaces(db, f.kid, 1);
        const int second = places.at(1).sid;
        const int fourth = places.at(3).sid;
        const QString fourthName = places.at(3).bez;
        QCOMPARE(execute(db, s("UPDATE Spielplan SET ergebnis='3:1' WHERE KID=:k AND gruppe=0 AND "
                               "((SID1=:a AND SID2=:b) OR (SID1=:b AND SID2=:a))"),
                         {{s("k"), f.kid}, {s("a"), fourth}, {s("b"), second}})
                     .numRowsAffected(),
                 1);
        execute(db, s("UPDATE Tabellen SET spielegewonnen=1,saetzegewonnen=3,saetzeverloren=1 WHERE KID=:k AND SID=:s"),
                {{s("k"), f.kid}, {s("s"), fourth}});
        execute(db, s("UPDATE Tabellen SET spieleverloren=1,saetzegewonnen=1,saetzeverloren=3 WHERE KID=:k AND SID=:s"),
                {{s("k"), f.kid}, {s("s"), second}});

        f.drucken.gruppenplan(1, 1, 1);
        QVERIFY(f.prompter.verify());
        const QString check = run(s("qpdf"), {s("--check"), f.pdf});
        QVERIFY2(check.contains(s("No syntax or stream encoding errors")), qPrintable(check));
        const QString info = run(s("pdfinfo"), {f.pdf});
        QVERIFY2(info.contains(QRegularExpression(s("Pages:\\s+2\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(s("Page size:\\s+595[.\\d]* x 84[12]"))), qPrintable(info)); // portrait
        for (int p = 1; p <= 2; ++p) {
            const QString text = run(s("pdftotext"), {s("-f"), QString::number(p), s("-l"), QString::number(p), f.pdf, s("-")});
            QVERIFY2(text.contains(s("Stadtmeisterschaft")), qPrintable(text));
            QVERIFY2(text.contains(s("Spielplan für Herren (Einzel)")), qPrintable(text));
            QVERIFY2(text.contains(p == 1 ? s("Gruppe A") : s("Gruppe J")), qPrintable(text));
            if (p == 1) {
                QVERIFY(text.contains(s("3:1")) && text.contains(s("1:3")));
                QVERIFY2(text.contains(fourthName), qPrintable(text));
            }
        }
        // Group A ranked anew and stored: its winner first, its loser last.
        const QList<StandingsRow> rows = readGroupStandings(db, f.kid, 0);
        QCOMPARE(rows.first().sid, fourth);
        QCOMPARE(rows.last().sid, second);
    }

    // A database error while reading: the error is shown and nothing is sent.
    void databaseErrorSendsNothing()
    {
        PrintFixture f;
        QVERIFY(f.tdb.ready());
        f.kid = drawnClass(f.db(), s("Herren"), {groupPhase(2, 4)}, 8);
        execute(f.db(), s("DROP TABLE Tabellen"));
        f.prompter.expectPrefix(PromptKind::Error, QString());
        f.drucken.gruppenplan(1, 1, 1);
        QVERIFY(f.prompter.verify());
        QVERIFY(!QFile::exists(f.pdf));
    }

    // After an umpire sheet loaded "printerzettel.ini", the plan printout's
    // dialog opens on that printer; cancelled, nothing is printed.
    void dialogOpensOnTheSheetPrinter()
    {
        PrintFixture f([] { return QStringList{s("Büro"), s("Zettel")}; });
        QVERIFY(f.tdb.ready());
        f.kid = drawnClass(f.db(), s("Herren"), {groupPhase(1, 4)}, 4);
        const QString setup = f.dir.filePath(s("printerzettel.ini"));
        PrinterSettings zettel;
        zettel.printerName = s("Zettel");
        zettel.landscape = true;
        PrinterSetupFile::save(setup, zettel);
        prepareUmpireSheetPrinter(f.prompter, f.printers, setup);

        QString openedOn;
        bool landscape = false;
        bool samePrinter = false;
        f.drucken.PrintDialog1 = [&](QPrinter& p, QWidget*) {
            samePrinter = &p == &f.printers.printer();
            openedOn = f.printers.printerName();
            landscape = p.pageLayout().orientation() == QPageLayout::Landscape;
            return false;
        };
        f.drucken.gruppenplan(1, 1, 1);
        QVERIFY(samePrinter);
        QCOMPARE(openedOn, s("Zettel"));
        QVERIFY(landscape);
        QVERIFY(f.prompter.verify());
        QVERIFY(!QFile::exists(f.pdf));
    }
};

QTEST_MAIN(TestGroupPlanPrinting)
#include "test_groupplan_printing.moc"
