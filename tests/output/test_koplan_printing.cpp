// Printing a knock-out phase of a class drawn for real (SQLite) through the
// data module: the print-size dialog shown offscreen (its entries, the
// orientation, and that only "Drucken" prints), the checks before any dialog (no
// first-round match, a missing plan file or block), tiles printed into PDF files
// read back by pdfinfo, pdftotext and qpdf, and a printer that fails.
#include "../plans/planfixture.h"

#include "controls/uibuttons.h"
#include "data/planviewrecords.h"
#include "data/sql.h"
#include "output/tdruck_form.h"
#include "output/tdrucken.h"
#include "platform/apppaths.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

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

int pdfPages(const QString& file)
{
    const QRegularExpressionMatch m =
        QRegularExpression(s("Pages:\\s+(\\d+)")).match(run(s("pdfinfo"), {file}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfPageText(const QString& file, int page)
{
    const QString number = QString::number(page);
    return run(s("pdftotext"), {s("-f"), number, s("-l"), number, s("-layout"), file, s("-")});
}

// How many texts a page of the PDF file draws (its text objects, counted in
// the uncompressed file qpdf writes): pdftotext leaves out what lies off the
// page, this does not.
int textsDrawn(const QString& file, int page)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(s("plain.pdf"));
    run(s("qpdf"), {s("--qdf"), s("--object-streams=disable"), file, plain});
    QFile f(plain);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = f.readAll().split('\n');
    const QByteArray start = "%% Contents for page " + QByteArray::number(page);
    int count = 0;
    bool inPage = false;
    for (const QByteArray& line : lines) {
        if (line.startsWith("%% Contents for page"))
            inPage = line == start;
        else if (inPage && line == "BT")
            ++count;
    }
    return count;
}

int textItems(const PrintPage& page)
{
    return int(std::count_if(page.begin(), page.end(),
                             [](const PrintItem& item) { return item.kind == PrintItem::Kind::Text; }));
}

struct PrintFixture {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    Tdruck_form form{nullptr};
    Tdrucken drucken{nullptr};
    QPrinter printer;
    QTemporaryDir dir;
    QString programFolder = TempProgramFolder::sourceDir() + s("/resources");
    int kid = 0;
    int printDialogs = 0;
    int sizeDialogs = 0;
    QString pdf;

    PrintFixture()
    {
        drucken.setLinks(DruckenLinks{&prompter, [this] { return tdb.db(); }, [this] { return kid; },
                                      [] { return s("Pokal"); }, [] { return s("Spielplan für Herren (Einzel)"); },
                                      [this](const QString& relative) {
                                          return AppPaths::resolve(programFolder, relative);
                                      },
                                      [this]() -> QPrinter& { return printer; }, &form, {}});
        // The platform's print dialog: the PDF file with 5 mm margins.
        drucken.PrintDialog1 = [this](QPrinter& p, QWidget*) {
            ++printDialogs;
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            p.setPageSize(QPageSize(QPageSize::A4));
            p.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
            return true;
        };
        pdf = dir.filePath(s("plan.pdf"));
    }
    QSqlDatabase db() const { return tdb.db(); }

    // The print-size dialog answered without showing it.
    void choose(int size, koprint::Orientation orientation)
    {
        drucken.showPrintSize = [this, size, orientation](Tdruck_form& f) {
            ++sizeDialogs;
            f.setSize(size);
            f.setOrientation(orientation);
            return int(QDialog::Accepted);
        };
    }
};

} // namespace

class TestKoPlanPrinting : public QObject {
    Q_OBJECT
private slots:
    void printSizeDialog()
    {
        Tdruck_form form(nullptr);
        QCOMPARE(form.windowTitle(), s("Drucken"));
        QCOMPARE(form.RadioGroup1->title(), s("Druckgröße"));
        QCOMPARE(form.RadioGroup2->title(), s("Druckformat"));
        QCOMPARE(form.uiButton1->Caption(), s("Drucken"));
        QCOMPARE(form.uiButton2->Caption(), s("Abbrechen"));
        // A knock-out of 16 entrants.
        form.fillEntries({koprint::PlanKind::KnockOut, 8});
        QCOMPARE(form.Tag, 1);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), 2);
        QCOMPARE(form.orientation(), koprint::Orientation::Portrait);
        const QStringList portrait{s("Größe 0 (1x1) DIN A4 Seiten"), s("Größe 1 (1x1) DIN A4 Seiten"),
                                   s("Größe 2 (1x1) DIN A4 Seiten"), s("Größe 3 (2x2) DIN A4 Seiten"),
                                   s("Größe 4 (2x2) DIN A4 Seiten")};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form.entryText(i), portrait[i]);
        QTest::mouseClick(form.findChild<QRadioButton*>(s("RadioGroup2_1")), Qt::LeftButton);
        QCOMPARE(form.orientation(), koprint::Orientation::Landscape);
        QCOMPARE(form.entryText(4), s("Größe 4 (2x3) DIN A4 Seiten"));
        QCOMPARE(form.entryText(2), s("Größe 2 (1x2) DIN A4 Seiten"));
        form.setSize(4);
        form.hide();

        // Shown again: portrait and size 2, with portrait estimates.
        form.show();
        QCOMPARE(form.size(), 2);
        QCOMPARE(form.orientation(), koprint::Orientation::Portrait);
        QVERIFY(form.findChild<QRadioButton*>(s("RadioGroup2_0"))->isChecked());
        QCOMPARE(form.entryText(4), portrait[4]);
        form.hide();

        // A double knock-out of 16 slots (7 columns, 72 rows).
        form.fillEntries({koprint::PlanKind::DoubleKnockOut, 8, 7, 72});
        QCOMPARE(form.Tag, 2);
        QCOMPARE(form.entryText(2), s("Größe 2 (2x2) DIN A4 Seiten"));
    }

    // Only "Drucken" prints; "Abbrechen", Escape and closing the window do not.
    void onlyDruckenPrints_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<int>("printDialogs");
        QTest::newRow("Drucken") << s("Drucken") << 1;
        QTest::newRow("Abbrechen") << s("Abbrechen") << 0;
        QTest::newRow("Escape") << s("Escape") << 0;
        QTest::newRow("closing the window") << s("close") << 0;
    }
    void onlyDruckenPrints()
    {
        QFETCH(QString, ending);
        QFETCH(int, printDialogs);
        PrintFixture f;
        f.kid = drawnClass(f.db(), s("Herren"), {knockOut()}, 4);
        QStringList seen;
        QTimer::singleShot(0, &f.form, [&] {
            seen << f.form.entryText(2) << (f.form.isVisible() ? s("shown") : s("hidden"));
            if (ending == s("Drucken"))
                f.form.uiButton1->Click();
            else if (ending == s("Abbrechen"))
                f.form.uiButton2->Click();
            else if (ending == s("Escape"))
                QTest::keyClick(&f.form, Qt::Key_Escape);
            else
                f.form.close();
        });
        f.drucken.koplan(1, 1, 1);
        QCOMPARE(seen, (QStringList{s("Größe 2 (1x1) DIN A4 Seiten"), s("shown")}));
        QCOMPARE(f.printDialogs, printDialogs);
        QCOMPARE(QFile::exists(f.pdf), printDialogs > 0);
        QVERIFY(f.prompter.verify());
    }

    // A bracket of 2 x 3 tiles: 32 entrants at size 3 on A4 with 5 mm margins.
    void tilesIntoPdf()
    {
        PrintFixture f;
        f.kid = drawnClass(f.db(), s("Herren"), {knockOut()}, 32);
        f.choose(3, koprint::Orientation::Portrait);
        f.drucken.koplan(1, 1, 1);
        QVERIFY(f.prompter.verify());
        QCOMPARE(pdfPages(f.pdf), 6);
        const QString first = pdfPageText(f.pdf, 1);
        QVERIFY2(first.contains(s("Pokal")), qPrintable(first));
        QVERIFY(first.contains(s("Spieler 000")));
        // The last first-round match lies on the bottom row of pages.
        QVERIFY(!first.contains(s("Spieler 015")));
        QVERIFY(pdfPageText(f.pdf, 5).contains(s("Spieler 015")));
        // Page 1 draws the texts of its own tile and no others; the tiles laid
        // out again with texts measured on a printer set up the same way.
        QPrinter same;
        f.drucken.PrintDialog1(same, nullptr);
        same.setOutputFileName(f.dir.filePath(s("same.pdf")));
        PrintJob job(same);
        const PageMetrics page = PageMetrics::of(same);
        QCOMPARE(page.leftOffsetMm, 5);
        const koprint::PlanPrint plan =
            koprint::koPlan(readPlanMatches(f.db(), f.kid), {s("Pokal"), s("Spielplan für Herren (Einzel)")}, 3, page,
                            job.canvas().measure());
        const QList<PrintPage> tiles = koprint::tilePages(plan, koprint::tileSize(page), job.canvas().measure());
        QCOMPARE(tiles.size(), 6);
        QCOMPARE(textsDrawn(f.pdf, 1), textItems(tiles[0]));
        QCOMPARE(textsDrawn(f.pdf, 6), textItems(tiles[5]));
        QVERIFY(textsDrawn(f.pdf, 1) < textItems(plan.items));

        f.choose(3, koprint::Orientation::Landscape);
        f.drucken.koplan(1, 1, 1);
        QCOMPARE(pdfPages(f.pdf), 2 * 4);
        QCOMPARE(f.printer.pageLayout().orientation(), QPageLayout::Landscape);
    }

    void doubleKoIntoPdf()
    {
        PrintFixture f;
        f.kid = drawnClass(f.db(), s("Doppel-KO"), {knockOut(PlaySystem::DoppeltesKO)}, 8);
        execute(f.db(), s("UPDATE Spielplan SET ergebnis=:e WHERE KID=:k AND spielnummer=1"),
                {{s("e"), s("3:1")}, {s("k"), f.kid}});
        f.choose(0, koprint::Orientation::Portrait);
        f.drucken.doppelterkoplan(2, 1, 1);
        QVERIFY(f.prompter.verify());
        QCOMPARE(f.sizeDialogs, 1);
        QCOMPARE(f.form.Tag, 2);
        QCOMPARE(pdfPages(f.pdf), 1);
        const QString text = pdfPageText(f.pdf, 1);
        for (const QString& expected : {s("Pokal"), s("Spieler 000"), s("Spieler 007"), s("3:1")})
            QVERIFY2(text.contains(expected), qPrintable(expected));
    }

    // Checked before any dialog: nothing to print, or no plan for the bracket.
    void refusedBeforeTheDialog_data()
    {
        QTest::addColumn<QByteArray>("planFile"); // empty: no file
        QTest::addColumn<QString>("message");
        QTest::newRow("file missing") << QByteArray() << s("Die Datei ko_system.txt mit den Doppel-KO-Plänen fehlt.");
        QTest::newRow("block missing") << QByteArray("2:\r\n1,2,2\r\n1,-1,-1,-3,-3,0,0,1,0,1\r\n")
                                       << s("In ko_system.txt fehlt der Doppel-KO-Plan für 8 Plätze.");
    }
    void refusedBeforeTheDialog()
    {
        QFETCH(QByteArray, planFile);
        QFETCH(QString, message);
        PrintFixture f;
        TempProgramFolder folder(TempProgramFolder::Content::Empty);
        if (!planFile.isEmpty())
            QVERIFY(folder.write(s("Files/ko_system.txt"), planFile));
        f.programFolder = folder.path();
        f.kid = drawnClass(f.db(), s("Doppel-KO"), {knockOut(PlaySystem::DoppeltesKO)}, 8);
        f.choose(2, koprint::Orientation::Portrait);
        f.prompter.expect(PromptKind::Error, message);
        f.drucken.doppelterkoplan(2, 1, 1);
        QVERIFY(f.prompter.verify());
        QCOMPARE(f.sizeDialogs, 0);
        QCOMPARE(f.printDialogs, 0);
        QVERIFY(!QFile::exists(f.pdf));
    }

    void phaseWithoutFirstRound()
    {
        PrintFixture f;
        f.kid = drawnClass(f.db(), s("Gruppen"), {groupPhase(2, 4)}, 8);
        f.choose(2, koprint::Orientation::Portrait);
        f.prompter.expect(PromptKind::Information,
                          s("Diese Phase hat keine Spiele der ersten Runde. Es wird nichts gedruckt."));
        f.drucken.koplan(1, 1, 1);
        QVERIFY(f.prompter.verify());
        QCOMPARE(f.sizeDialogs, 0);
        QCOMPARE(f.printDialogs, 0);
    }

    // A printer that cannot start: the job is aborted and the error shown.
    void failingPrinter()
    {
        PrintFixture f;
        f.kid = drawnClass(f.db(), s("Herren"), {knockOut()}, 4);
        f.pdf = f.dir.filePath(s("fehlt/plan.pdf"));
        f.choose(2, koprint::Orientation::Portrait);
        f.prompter.expect(PromptKind::Error, s("Der Drucker konnte den Druck nicht beginnen."));
        f.drucken.koplan(1, 1, 1);
        QVERIFY(f.prompter.verify());
        QVERIFY(!QFile::exists(f.pdf));
    }
};

QTEST_MAIN(TestKoPlanPrinting)
#include "test_koplan_printing.moc"
