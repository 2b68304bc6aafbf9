// The start-number list: the preview's and the printout's layout as data (scale,
// positions, page breaks), and the dialog printing to a PDF file, checked with
// pdftotext and qpdf.
#include "../app/appfixture.h"
#include "controls/uibuttons.h"
#include "data/db_procedures.h"
#include "app/startnumberlist.h"
#include "app/tmainform.h"
#include "app/tr_nummer.h"
#include "platformui/printcanvas.h"
#include "peoplefixtures.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

QList<StartNumberRow> rows(int count)
{
    QList<StartNumberRow> list;
    for (int i = 1; i <= count; ++i)
        list.append({i, s("Spieler %1, Vorname").arg(i), s("TTC")});
    return list;
}

QList<int> textYs(const PrintPage& page, const QString& font)
{
    QList<int> ys;
    for (const PrintItem& item : page) {
        if (item.kind == PrintItem::Kind::Text && item.font == font && !ys.contains(item.y))
            ys << item.y;
    }
    return ys;
}

QString run(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestStartNumbers : public QObject {
    Q_OBJECT
private slots:
    // The picture is tall enough for every row it draws, 0 included.
    void previewLayout()
    {
        QList<StartNumberRow> list = rows(30);
        list.prepend({0, s("Null, N"), s("C")});
        const StartNumberPreview p = layoutStartNumberPreview(list, s("Stadtmeisterschaft"), 500, 300);
        QCOMPARE(p.height, 32 * 20 + 60);
        QCOMPARE(p.items.first(), PrintItem::textAt(30, 5, s("TimesNewRoman"), 12, s("Rückennummern: Stadtmeisterschaft")));
        QVERIFY(p.items.contains(PrintItem::lineFrom(0, 50, 480, 50)));
        const QList<int> ys = textYs(p.items, s("Arial"));
        QCOMPARE(ys.size(), 31);
        QCOMPARE(ys.last() + 20, p.height - 60 + 40); // the last row lies inside the picture
        QCOMPARE(layoutStartNumberPreview(rows(2), QString(), 500, 300).height, 296);
    }

    void printLayout_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("titleHeight");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("nameX");
        QTest::addColumn<int>("clubX");
        QTest::newRow("A4, 210 mm") << 210 << 58 << 50 << 100 << 55 + 75 << 55 + 500;
        QTest::newRow("200 mm") << 200 << 58 << 50 << 100 << 55 + 75 << 55 + 500;
        QTest::newRow("narrow, 199 mm") << 199 << 46 << 40 << 80 << 55 + 60 << 55 + 400;
    }
    void printLayout()
    {
        QFETCH(int, width);
        QFETCH(int, titleHeight);
        QFETCH(int, rowHeight);
        QFETCH(int, step);
        QFETCH(int, nameX);
        QFETCH(int, clubX);
        const PageMetrics page{width, 297, 5, 5}; // x0 = T = 55
        const int top = 55;
        const QList<PrintPage> pages = layoutStartNumberPrint(rows(40), s("Turnier"), page);
        const PrintPage& first = pages.first();
        QCOMPARE(first.at(0), PrintItem::textAt(55, -(top + 5), s("TimesNewRoman"), titleHeight, s("Rückennummern: Turnier")));
        QCOMPARE(first.at(1), PrintItem::textAt(55, -(top + 70), s("TimesNewRoman"), titleHeight, s("Nr.")));
        QCOMPARE(first.at(2), PrintItem::textAt(nameX, -(top + 70), s("TimesNewRoman"), titleHeight, s("Name")));
        QCOMPARE(first.at(3), PrintItem::textAt(clubX, -(top + 70), s("TimesNewRoman"), titleHeight, s("Verein")));
        QCOMPARE(first.at(4), PrintItem::lineFrom(55, -(top + 130), width * 10 - 55, -(top + 130)));
        QCOMPARE(first.at(5), PrintItem::textAt(55, -(2 * top + 100), s("Arial"), rowHeight, s("1")));
        QCOMPARE(first.at(6).x, nameX);
        QCOMPARE(first.at(7).x, clubX);
        // A name ends before the club column, with a gap.
        QVERIFY(first.at(6).width > 0 && nameX + first.at(6).width < clubX);
        QCOMPARE(first.at(7).width, width * 10 - 55 - clubX);

        // Rows go on while q + T + 50 fits the page height; then a new page starts at -(2T).
        int expectedFirst = 0;
        for (int q = top + 100; q + top + 50 <= 2970; q += step)
            ++expectedFirst;
        const QList<int> ys = textYs(first, s("Arial"));
        QCOMPARE(ys.size(), expectedFirst);
        QCOMPARE(ys.at(1) - ys.at(0), -step);
        QVERIFY(pages.size() >= 2);
        const PrintPage& second = pages.at(1);
        QCOMPARE(second.first(), PrintItem::textAt(55, -(2 * top), s("Arial"), rowHeight, QString::number(expectedFirst + 1)));
        int total = 0;
        for (const PrintPage& p : pages)
            total += int(textYs(p, s("Arial")).size());
        QCOMPARE(total, 40);
    }

    // A name too long for its column ends in "…" before the club, on screen
    // and on paper.
    void longNamesStayInTheirColumn()
    {
        const QString longName = s("Müller-Lüdenscheidt-Oberbergischer Kreis, Hans-Peter Maximilian");
        const QList<StartNumberRow> list{{1, longName, s("TTC Süd")}};
        const auto inkBetween = [](const QImage& image, int from, int to, int y0, int y1) {
            for (int y = std::max(0, y0); y < std::min(image.height(), y1); ++y)
                for (int x = from; x < to; ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        return true;
            return false;
        };

        const StartNumberPreview preview = layoutStartNumberPreview(list, s("T"), 500, 300);
        PrintItem name;
        for (const PrintItem& item : preview.items)
            if (item.text == longName)
                name = item;
        QVERIFY(name.width > 0 && name.x + name.width < 270);

        const PageMetrics a4{210, 297, 0, 0};
        const QList<PrintPage> pages = layoutStartNumberPrint(list, s("T"), a4);
        QImage paper(794, 1123, QImage::Format_RGB32);
        paper.setDotsPerMeterX(3780);
        paper.setDotsPerMeterY(3780);
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            PrintCanvas canvas(painter);
            canvas.draw(pages.first());
        }
        const PrintItem& printed = pages.first().at(6);
        QCOMPARE(printed.text, longName);
        const double scale = paper.logicalDpiY() / 254.0;
        const int clubX = pages.first().at(7).x;
        const int top = int(-printed.y * scale);
        // Nothing of the name in the gap before the club column.
        QVERIFY(!inkBetween(paper, int((printed.x + printed.width) * scale) + 2, int(clubX * scale) - 1, top,
                            top + int(printed.height * scale)));
        // The club is printed there.
        QVERIFY(inkBetween(paper, int(clubX * scale), int(clubX * scale) + 40, top, top + int(printed.height * scale)));
    }

    // The dialog prints to a PDF file; a printer that cannot start says "Druckerfehler".
    void printsToPdf()
    {
        AppFixture app;
        app.start();
        TestDatabase tdb(Backend::SQLite);
        seedPlayer(tdb.db(), 1, 1, s("Meier"), s("Hans"), QString::fromUtf8("TTC Süd"), 7);
        for (int i = 2; i <= 40; ++i)
            seedPlayer(tdb.db(), 1, i, s("Spieler%1").arg(i), s("X"), s("TTC"), i + 10);
        Tdb_procedures& data = *app.program->forms.db_procedures;
        data.accessDB = true;
        data.dbPfad = tdb.sqlitePath();
        data.db_verbinden(QString());
        app.context().aktuelleTID = 1;
        app.context().aktuellerTurniername = s("Stadtmeisterschaft");
        TR_Nummer* dialog = app.program->forms.R_Nummer;
        QTemporaryDir dir;
        QString target = dir.filePath(s("nummern.pdf"));
        dialog->PrintDialog1 = [&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(target);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        };
        dialog->show();
        dialog->FormActivate();
        QVERIFY(dialog->image);
        QCOMPARE(dialog->ScrollBox1->widget(), dialog->image);
        // The wheel moves the picture by 5 pixels a notch.
        QScrollBar* bar = dialog->ScrollBox1->verticalScrollBar();
        QVERIFY(bar->maximum() > 10);
        const auto wheel = [&](int delta) {
            const QPointF at(10, 10);
            QWheelEvent event(at, dialog->ScrollBox1->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(dialog->ScrollBox1->viewport(), &event);
        };
        wheel(-120);
        wheel(-120);
        QCOMPARE(bar->value(), 10);
        wheel(120);
        QCOMPARE(bar->value(), 5);
        click(dialog->uiButton1);
        QVERIFY(QFile::exists(target));
        int rc = -1;
        run(s("qpdf"), {s("--check"), target}, &rc);
        QCOMPARE(rc, 0);
        const QString text = run(s("pdftotext"), {s("-layout"), target, s("-")});
        QVERIFY2(text.contains(s("Rückennummern: Stadtmeisterschaft")), qPrintable(text));
        QVERIFY(text.contains(s("Meier, Hans")));
        QVERIFY(text.contains(QString::fromUtf8("TTC Süd")));
        QVERIFY(text.contains(s("Spieler40, X")));
        QVERIFY(text.contains(QLatin1Char('\f'))); // more than one page

        target = dir.filePath(s("fehlt/nummern.pdf"));
        app.prompter().expect(PromptKind::Error, s("Druckerfehler"));
        click(dialog->uiButton1);
        QVERIFY(app.prompter().verify());

        // Cancelling the print dialog prints nothing.
        dialog->PrintDialog1 = [](QPrinter&, QWidget*) { return false; };
        click(dialog->uiButton1);
    }
};

QTEST_MAIN(TestStartNumbers)
#include "test_startnumbers.moc"
