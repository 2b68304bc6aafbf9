// The match list viewer: its values and states, its two displays on screen and
// on paper as layouts, its reads on both backends, and the viewer itself on an
// SQLite tournament: groups, display buttons, painting only what shows, and
// printouts of a long class to PDF files read back by pdftotext.
#include "controls/uibuttons.h"
#include "data/planlistrecords.h"
#include "data/sql.h"
#include "plans/matchlist.h"
#include "plans/tspielplan_form.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace bw;
using namespace bw::test;
using List = matchlist::Display;
using matchlist::Entry;

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int tenPerChar(const PrintItem& item)
{
    return int(item.text.size()) * 10;
}

QStringList texts(const PrintPage& page)
{
    QStringList list;
    for (const PrintItem& item : page) {
        if (item.kind == PrintItem::Kind::Text)
            list << item.text;
    }
    return list;
}

const PrintItem* find(const PrintPage& page, const QString& text)
{
    for (const PrintItem& item : page) {
        if (item.kind == PrintItem::Kind::Text && item.text == text)
            return &item;
    }
    return nullptr;
}

PlanListMatch match(int nr, const QString& a, const QString& b)
{
    PlanListMatch m;
    m.spielnummer = nr;
    m.spieler1 = a;
    m.spieler2 = b;
    return m;
}

QList<Entry> entries(int count)
{
    QList<Entry> list;
    for (int i = 1; i <= count; ++i) {
        PlanListMatch m = match(i, s("Heim %1").arg(i), s("Gast %1").arg(i));
        m.beendet = i % 2 == 0;
        m.ergebnis = s("3:1");
        m.saetze = {7, -9, 5, 4, {}, {}, {}, {}, {}};
        m.gruppe = 0;
        list << matchlist::entryOf(m);
    }
    return list;
}

constexpr int kKid = 4;

// A class with `saetze` 3 and its matches: group A and C of phase 1, a
// knock-out phase and placement matches, stored out of number order.
void seedClass(const QSqlDatabase& db)
{
    insertRow(db, s("Turnierklassen"), {{s("KID"), kKid}, {s("TID"), 1}, {s("saetze"), 3}});
    insertRow(db, s("Turnierklassen"), {{s("KID"), 5}, {s("TID"), 1}, {s("saetze"), 2}});
    const auto add = [&](int nr, const QVariantMap& values) {
        QVariantMap row{{s("KID"), kKid},        {s("spielnummer"), nr},   {s("spieler1"), s("Heim %1").arg(nr)},
                        {s("spieler2"), s("Gast %1").arg(nr)}, {s("beendet"), 0}, {s("begonnen"), 0},
                        {s("in_planung"), 0},   {s("phase"), 1},          {s("gruppe"), 0},
                        {s("geplanter_tag"), QVariant()}, {s("geplante_zeit"), QVariant()},
                        {s("geplanter_tisch"), QVariant()}, {s("schiri"), QVariant()}, {s("ergebnis"), QVariant()}};
        for (int i = 1; i <= 9; ++i)
            row.insert(s("satz%1").arg(i), QVariant());
        for (auto it = values.begin(); it != values.end(); ++it)
            row.insert(it.key(), it.value());
        insertRow(db, s("Spielplan"), row);
    };
    add(3, {{s("gruppe"), 2}, {s("beendet"), 1}, {s("begonnen"), 1}, {s("ergebnis"), s("3:1")},
            {s("satz1"), 7}, {s("satz2"), -9}, {s("satz3"), -100}, {s("satz4"), 5}, {s("schiri"), s("Meier, Hans")},
            {s("geplanter_tisch"), s("4")}, {s("geplanter_tag"), QDateTime(QDate(2026, 5, 2), QTime(0, 0))},
            {s("geplante_zeit"), QDateTime(QDate(1899, 12, 30), QTime(9, 30))}});
    add(1, {{s("in_planung"), 1}, {s("schiri"), QString()}});
    add(2, {{s("gruppe"), 2}, {s("begonnen"), 1}, {s("in_planung"), 1}});
    add(4, {{s("gruppe"), 2}, {s("spieler2"), QString()}});
    add(7, {{s("phase"), 2}, {s("gruppe"), QVariant()}, {s("spieler1"), s("Sieger Spiel 3")}});
    add(5, {{s("phase"), 4}, {s("gruppe"), QVariant()}, {s("ergebnis"), s("0:3")}});
    add(6, {{s("KID"), 5}});
}

// A class of `count` matches in groups A to D, every third one finished.
void seedLongClass(const QSqlDatabase& db, int count)
{
    insertRow(db, s("Turnierklassen"), {{s("KID"), kKid}, {s("TID"), 1}, {s("saetze"), 3}});
    for (int nr = 1; nr <= count; ++nr) {
        const bool done = nr % 3 == 0;
        insertRow(db, s("Spielplan"),
                  {{s("KID"), kKid}, {s("spielnummer"), nr}, {s("spieler1"), s("Heim%1x").arg(nr, 3, 10, QLatin1Char('0'))},
                   {s("spieler2"), s("Gast %1").arg(nr)}, {s("gruppe"), nr % 4}, {s("beendet"), done ? 1 : 0},
                   {s("begonnen"), done ? 1 : 0}, {s("in_planung"), 0}, {s("ergebnis"), s("3:0")},
                   {s("satz1"), done ? 11 : QVariant()}, {s("satz2"), QVariant()}, {s("satz3"), QVariant()},
                   {s("satz4"), QVariant()}, {s("satz5"), QVariant()}, {s("satz6"), QVariant()},
                   {s("satz7"), QVariant()}, {s("satz8"), QVariant()}, {s("satz9"), QVariant()}});
    }
}

} // namespace

class TestMatchList : public QObject {
    Q_OBJECT
private slots:
    // The state by precedence, the result and sets only when finished.
    void values()
    {
        PlanListMatch m = match(12, s("A"), QString());
        QCOMPARE(matchlist::stateText(m), s("-- kein Spiel --"));
        m.spieler2 = s("B");
        QCOMPARE(matchlist::stateText(m), QString());
        m.inPlanung = true;
        QCOMPARE(matchlist::stateText(m), s("Aufgerufen"));
        m.begonnen = true;
        QCOMPARE(matchlist::stateText(m), s("Begonnen"));
        m.ergebnis = s("3:1");
        m.saetze = {7, -9, -100, 5, {}, {}, {}, {}, {}};
        m.geplanteZeit = QTime(9, 5);
        m.geplanterTag = QDate(2026, 5, 2);
        m.gruppe = 2;
        Entry e = matchlist::entryOf(m);
        QCOMPARE(e.ergebnis, QString());
        QCOMPARE(e.saetze[0], QString());
        QCOMPARE(e.zeit, s("09:05"));
        QCOMPARE(e.tag, s("02.05.2026"));
        QCOMPARE(e.gruppe, s("C"));
        m.beendet = true;
        m.spieler2.clear(); // a finished match against nobody is still finished
        e = matchlist::entryOf(m);
        QCOMPARE(e.status, s("Beendet"));
        QCOMPARE(e.ergebnis, s("3:1"));
        QCOMPARE(QStringList(e.saetze.begin(), e.saetze.begin() + 5),
                 (QStringList{s("+7"), s("-9"), s("-0"), s("+5"), QString()}));
        m.gruppe = -1;
        QCOMPARE(matchlist::entryOf(m).gruppe, QString());
        QCOMPARE(matchlist::setColumns(3), 5);
        QCOMPARE(matchlist::setColumns(2), 3);
        QCOMPARE(matchlist::setColumns(7), 9);
    }

    void screenLayout()
    {
        const QList<Entry> list = entries(10);
        PrintPage frame = matchlist::screenFrame(List::One, 700, 3, 10);
        QCOMPARE(texts(frame),
                 (QStringList{s("Nr."), s("Zeit"), s("Spieler 1"), s("Spieler 2"), s("Gruppe"), s("Tisch"),
                              s("Satzergebnisse"), s("Ergebnis"), s("1"), s("2"), s("3"), s("4"), s("5")}));
        QCOMPARE(*find(frame, s("Nr.")), PrintItem::textAt(10, 15, s("TimesNewRoman"), 10, s("Nr.")));
        QCOMPARE(find(frame, s("5"))->x, 463 + 125);
        QCOMPARE(find(frame, s("5"))->y, 40);
        QVERIFY(frame.contains(PrintItem::lineFrom(10, 56, 690, 56)));
        QVERIFY(frame.contains(PrintItem::lineFrom(480 + 225, 40, 480 + 225, 60 + 240 - 4)));
        frame = matchlist::screenFrame(List::Two, 800, 3, 10);
        QCOMPARE(texts(frame).size(), 9);
        QCOMPARE(find(frame, s("Status"))->x, 680);
        QVERIFY(frame.contains(PrintItem::lineFrom(10, 40, 790, 40)));

        const PrintPage row = matchlist::screenRow(List::One, list.at(1), 1, 700);
        QCOMPARE(find(row, s("+7"))->x, 459 + 25);
        QCOMPARE(find(row, s("+4"))->x, 459 + 100);
        QCOMPARE(find(row, s("3:1"))->x, 720);
        QCOMPARE(find(row, s("Heim 2"))->y, 84);
        QCOMPARE(find(row, s("Heim 2"))->font, s("Arial"));
        QCOMPARE(find(row, s("Heim 2"))->height, 8);
        QVERIFY(row.contains(PrintItem::lineFrom(10, 104, 690, 104)));
        const PrintPage row2 = matchlist::screenRow(List::Two, list.at(1), 1, 800);
        QCOMPARE(find(row2, s("Beendet"))->x, 680);
        QCOMPARE(find(row2, s("Beendet"))->y, 80);
        QCOMPARE(find(row2, s("A"))->x, 385);

        QCOMPARE(matchlist::screenHeight(List::Two, 10, 300), 296);
        QCOMPARE(matchlist::screenHeight(List::Two, 100, 300), 60 + 2000 + 20);
        QCOMPARE(matchlist::screenHeight(List::One, 100, 300), 60 + 25 * 101);
        QCOMPARE(matchlist::screenRowsBetween(List::Two, 0, 100, 100), std::make_pair(0, 3));
        QCOMPARE(matchlist::screenRowsBetween(List::One, 540, 700, 100), std::make_pair(20, 27));
        QCOMPARE(matchlist::screenRowsBetween(List::One, 540, 5000, 30), std::make_pair(20, 30));
    }

    void printScale_data()
    {
        QTest::addColumn<int>("heightMm");
        QTest::addColumn<double>("scale");
        QTest::newRow("A4 landscape, 210 mm high") << 210 << 2.0;
        QTest::newRow("200 mm") << 200 << 2.0;
        QTest::newRow("199.9 mm rounds to 200") << 200 << 2.0;
        QTest::newRow("A5 landscape, 148 mm high") << 148 << 1.35;
    }
    void printScale()
    {
        QFETCH(int, heightMm);
        QFETCH(double, scale);
        QCOMPARE(matchlist::printScale(heightMm * 10), scale);
        const PageMetrics page{heightMm == 148 ? 210 : 297, heightMm, 4, 6};
        const QList<PrintPage> pages = matchlist::layoutPrint(
            List::Two, entries(3), 3, {s("Stadtmeisterschaft"), s("Spielplan für U18")}, page, tenPerChar);
        QCOMPARE(pages.size(), 1);
        const PrintPage& p = pages.first();
        const int W = page.widthMm * 10;
        const int e = 4 + 50;
        const int o = 6;
        const auto R = [&](double v) { return roundHalfEven(v * scale); };
        QCOMPARE(*find(p, s("Stadtmeisterschaft")),
                 PrintItem::textAt(W / 2 - 90, -(o + 50), s("TimesNewRoman"), R(28), s("Stadtmeisterschaft")));
        QCOMPARE(find(p, s("Spielplan für U18"))->y, -(o + 100));
        QCOMPARE(*find(p, s("Schiedsrichter")),
                 PrintItem::textAt(e + R(950), -(o + 180), s("TimesNewRoman"), R(22), s("Schiedsrichter")));
        QCOMPARE(find(p, s("Tag"))->x, e + R(25));
        QCOMPARE(find(p, s("Status"))->x, e + R(1250));
        QVERIFY(p.contains(PrintItem::lineFrom(e, -(o + 225), W - e, -(o + 225))));
        const PrintItem* first = find(p, s("Heim 1"));
        QCOMPARE(first->y, -(200 + o + 50));
        QCOMPARE(first->x, e + R(200));
        QCOMPARE(first->font, s("Arial"));
        QCOMPARE(first->height, R(20));
        QCOMPARE(find(p, s("Heim 2"))->y, -(200 + o + 50 + R(24)));
        QCOMPARE(find(p, s("Beendet"))->x, e + R(1250));
    }

    // Display 1 over several pages: titles, headings, set numbers and both
    // lines on every page, every match once, a page ending at H − 100.
    void printPagesOfDisplayOne()
    {
        const PageMetrics page{297, 210, 5, 5};
        const QList<Entry> list = entries(40);
        const QList<PrintPage> pages =
            matchlist::layoutPrint(List::One, list, 3, {s("Turnier"), s("Spielplan für U18")}, page, tenPerChar);
        QVERIFY(pages.size() > 1);
        const int o = 5;
        const int e = 55;
        const int step = 70;
        int rows = 0;
        for (const PrintPage& p : pages) {
            for (const QString& head : {s("Turnier"), s("Spielplan für U18"), s("Nr."), s("Tag"), s("Satzergebnisse"),
                                         s("Ergebnis"), s("1"), s("5")})
                QVERIFY2(find(p, head), qPrintable(head));
            QVERIFY(!find(p, s("6")) || find(p, s("6"))->font == s("Arial"));
            QCOMPARE(find(p, s("5"))->x, e + (855 + 38 * 5) * 2);
            QCOMPARE(find(p, s("5"))->y, -(o + 225));
            QVERIFY(p.contains(PrintItem::lineFrom(e, -(o + 225), 2970 - e, -(o + 225))));
            QVERIFY(p.contains(PrintItem::lineFrom(e, -(o + 265), 2970 - e, -(o + 265))));
            int lastY = 0;
            for (const PrintItem& item : p) {
                if (item.font == s("Arial") && item.text.startsWith(s("Heim "))) {
                    ++rows;
                    lastY = item.y;
                }
            }
            QVERIFY(-lastY < 2100 - 100);
            // The column lines run down to the row after the last.
            QVERIFY(p.contains(PrintItem::lineFrom(e + 890 * 2, -(o + 225), e + 890 * 2, lastY - step)));
        }
        QCOMPARE(rows, 40);
        const PrintPage& p = pages.first();
        QCOMPARE(find(p, s("Heim 1"))->y, -(230 + o + 50));
        // The first finished match is the second row.
        QCOMPARE(find(p, s("+7"))->x, e + (855 + 38) * 2);
        QCOMPARE(find(p, s("+7"))->y, -(230 + o + 50 + step));
    }

    void reads_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void reads()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedClass(tdb.db());
        const QList<PlanListMatch> all = readPlanList(tdb.db(), kKid, std::nullopt);
        QList<int> numbers;
        for (const PlanListMatch& m : all)
            numbers << m.spielnummer;
        QCOMPARE(numbers, (QList<int>{1, 2, 3, 4, 5, 7}));
        const QList<PlanListMatch> group = readPlanList(tdb.db(), kKid, 2);
        QCOMPARE(group.size(), 3);
        const PlanListMatch& finished = group.at(1);
        QCOMPARE(finished.spielnummer, 3);
        QCOMPARE(finished.geplanterTag, QDate(2026, 5, 2));
        QCOMPARE(finished.geplanteZeit, QTime(9, 30));
        QCOMPARE(finished.geplanterTisch, s("4"));
        QCOMPARE(finished.schiri, s("Meier, Hans"));
        QVERIFY(finished.beendet && finished.begonnen && !finished.inPlanung);
        QCOMPARE(finished.saetze[2], std::optional<int>(-100));
        QCOMPARE(finished.saetze[4], std::optional<int>());
        QCOMPARE(all.at(0).geplanterTag, QDate());
        QCOMPARE(all.at(0).gruppe, 0);
        QCOMPARE(all.at(4).gruppe, -1);
        QCOMPARE(readSetsToWin(tdb.db(), kKid), 3);
    }

    // The viewer for a group, then for the whole class, with both displays.
    void viewer()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedClass(tdb.db());
        FakePrompter prompter;
        QPrinter printer;
        int backToMain = 0;
        Tspielplan_form form(nullptr, {&prompter, [&] { return tdb.db(); }, [] { return kKid; },
                                       [] { return s("Stadtmeisterschaft"); }, [&]() -> QPrinter& { return printer; },
                                       [&] { ++backToMain; }});
        form.StaticText1->setText(s("Spielplan für U18 (Einzel)"));
        form.StaticText1->setProperty("Tag", 2);
        form.show();
        QVERIFY(form.darstellung1bild && form.darstellung2bild);
        QCOMPARE(form.StaticText2->text(), s(" Gruppe C"));
        QVERIFY(form.darstellung1bild->isVisible());
        QVERIFY(!form.darstellung2bild->isVisible());
        QVERIFY(form.Darstelllung1Button->font().bold());
        QVERIFY(!form.Darstelllung2Button->font().bold());
        QList<QString> numbers;
        for (const Entry& e : form.darstellung1bild->entries())
            numbers << e.nummer;
        QCOMPARE(numbers, (QStringList{s("2"), s("3"), s("4")}));
        QCOMPARE(form.darstellung1bild->width(), form.ScrollBox1->width() - 20);
        QCOMPARE(form.darstellung1bild->entries().at(1).saetze[2], s("-0"));
        QCOMPARE(form.darstellung1bild->entries().at(2).status, s("-- kein Spiel --"));

        click(form.Darstelllung2Button);
        QVERIFY(form.darstellung2bild->isVisible());
        QVERIFY(!form.darstellung1bild->isVisible());
        QVERIFY(form.Darstelllung2Button->font().bold());
        QVERIFY(!form.Darstelllung1Button->font().bold());
        QCOMPARE(form.darstellung2bild->entries().at(0).status, s("Begonnen"));

        click(form.uiButton1);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.darstellung1bild && !form.darstellung2bild);
        QCOMPARE(backToMain, 1);

        form.StaticText1->setProperty("Tag", -1);
        form.show();
        QCOMPARE(form.StaticText2->text(), QString());
        QCOMPARE(form.darstellung1bild->entries().size(), 6);
        QCOMPARE(form.darstellung1bild->entries().at(4).nummer, s("5"));
        QCOMPARE(form.darstellung1bild->entries().at(0).status, s("Aufgerufen"));
        // Display 2 shown when the viewer comes again starts with display 1.
        click(form.Darstelllung2Button);
        form.close();
        form.show();
        QVERIFY(form.darstellung1bild->isVisible());
        QVERIFY(form.Darstelllung1Button->font().bold());
        QVERIFY(prompter.verify());
    }

    // A long list paints only the rows in view, and the wheel moves by 5.
    void paintsWhatShows()
    {
        QWidget holder;
        holder.resize(800, 300);
        auto* scroll = new QScrollArea(&holder);
        scroll->resize(800, 300);
        MatchListView* view = new MatchListView(s("darstellung2bild"), List::Two, nullptr);
        view->setRows(entries(2000), 0, 780, 296);
        QCOMPARE(view->height(), 60 + 20 * 2000 + 20);
        scroll->setWidget(view);
        QImage picture(780, 200, QImage::Format_ARGB32);
        view->render(&picture, QPoint(), QRegion(0, 20000, 780, 200));
        const auto [first, last] = view->paintedRows();
        QVERIFY2(first >= 990 && last <= 1012 && last - first < 20, qPrintable(s("%1..%2").arg(first).arg(last)));
    }

    void wheel()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedLongClass(tdb.db(), 120);
        FakePrompter prompter;
        QPrinter printer;
        Tspielplan_form form(nullptr, {&prompter, [&] { return tdb.db(); }, [] { return kKid; },
                                       [] { return s("T"); }, [&]() -> QPrinter& { return printer; }, {}});
        form.show();
        QScrollBar* bar = form.ScrollBox1->verticalScrollBar();
        QVERIFY(bar->maximum() > 10);
        const auto turn = [&](int delta) {
            const QPointF at(10, 10);
            QWheelEvent event(at, form.ScrollBox1->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(form.ScrollBox1->viewport(), &event);
        };
        turn(-120);
        turn(-120);
        QCOMPARE(bar->value(), 10);
        turn(120);
        QCOMPARE(bar->value(), 5);
    }

    // 120 matches in both displays to PDF: titles and headings on every page,
    // every match once; a cancelled dialog prints nothing; a failing printer
    // is told.
    void printsToPdf()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedLongClass(tdb.db(), 120);
        FakePrompter prompter;
        QPrinter printer;
        Tspielplan_form form(nullptr, {&prompter, [&] { return tdb.db(); }, [] { return kKid; },
                                       [] { return s("Stadtmeisterschaft"); }, [&]() -> QPrinter& { return printer; },
                                       {}});
        form.StaticText1->setText(s("Spielplan für U18 (Einzel)"));
        QTemporaryDir dir;
        QString target;
        form.PrintDialog1 = [&](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(target);
            p.setPageSize(QPageSize(QPageSize::A4));
            return true;
        };
        form.show();
        for (const List display : {List::One, List::Two}) {
            target = dir.filePath(display == List::One ? s("eins.pdf") : s("zwei.pdf"));
            if (display == List::Two)
                click(form.Darstelllung2Button);
            click(form.uiButton3);
            QVERIFY(QFile::exists(target));
            const QString text = run(s("pdftotext"), {s("-layout"), target, s("-")});
            QStringList pages = text.split(QLatin1Char('\f'));
            pages.removeIf([](const QString& p) { return p.trimmed().isEmpty(); });
            QVERIFY2(pages.size() > 2, qPrintable(text));
            QStringList heads{s("Stadtmeisterschaft"), s("Spielplan für U18 (Einzel)"), s("Nr."), s("Tag"),
                              s("Zeit"), s("Spieler 1"), s("Spieler 2"), s("Gruppe"), s("Tisch"), s("Ergebnis")};
            heads << (display == List::One ? QStringList{s("Satzergebnisse")}
                                              : QStringList{s("Schiedsrichter"), s("Status")});
            for (const QString& page : pages) {
                for (const QString& head : heads)
                    QVERIFY2(page.contains(head), qPrintable(head + s(" missing on a page of\n") + page));
                if (display == List::One)
                    QVERIFY2(page.contains(QRegularExpression(s("1\\s+2\\s+3\\s+4\\s+5\\n"))), qPrintable(page));
            }
            for (int i = 1; i <= 120; ++i)
                QCOMPARE(text.count(s("Heim%1x").arg(i, 3, 10, QLatin1Char('0'))), 1);
            QCOMPARE(text.count(s("Beendet")), display == List::Two ? 40 : 0);
            QCOMPARE(text.count(s("+11")), display == List::One ? 40 : 0);
        }

        // Cancelled: nothing printed, nothing said.
        target = dir.filePath(s("abgebrochen.pdf"));
        form.PrintDialog1 = [](QPrinter&, QWidget*) { return false; };
        click(form.uiButton3);
        QVERIFY(!QFile::exists(target));

        // A printer that fails: display 2 says "Druckerfehler", display 1 adds the error.
        form.PrintDialog1 = [&](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(dir.filePath(s("fehlt/liste.pdf")));
            return true;
        };
        prompter.expect(PromptKind::Error, s("Druckerfehler"));
        click(form.uiButton3);
        QVERIFY(prompter.verify());
        click(form.Darstelllung1Button);
        prompter.expectPrefix(PromptKind::Error, s("Druckerfehler:"));
        click(form.uiButton3);
        QVERIFY(prompter.verify());
        QVERIFY(prompter.shown().last().text.size() > QString(s("Druckerfehler:")).size());
    }
};

QTEST_MAIN(TestMatchList)
#include "test_matchlist.moc"
