// The report layer: pages, panels and labels printed into real PDF files, which
// qpdf, pdftotext and pdffonts then read; a small document is compared byte for
// byte with a golden file.
#include "pdf/pdfreport.h"

#include "support/tempprogramfolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

using namespace bw;
using namespace bw::pdf;

namespace {

const QDateTime kCreated(QDate(2006, 9, 9), QTime(14, 4, 54));
const QDateTime kSaved(QDate(2026, 12, 10), QTime(15, 0, 0));

// A page of the list export: 596 x 800 with a layout panel inside the margins.
struct Page {
    TRepPage page;
    TRepLayoutPanel& panel;

    explicit Page(int width = 596, int height = 800) : panel(page.Create<TRepLayoutPanel>())
    {
        page.SetWidth(width);
        page.SetHeight(height);
        panel.SetAlign(TAlign::alClient);
    }

    TRepLabel& label(const QString& caption, int left, int top, int width, float size,
                     TPdfAlignment alignment = TPdfAlignment::taLeftJustify, bool bold = false)
    {
        auto& l = panel.Create<TRepLabel>();
        l.Alignment = alignment;
        l.SetFontName(TRepFontName::fnArial);
        l.SetFontSize(size);
        l.SetFontBold(bold);
        l.SetHeight(10);
        l.SetWidth(width);
        l.SetTop(top);
        l.SetLeft(left);
        l.SetCaption(caption);
        return l;
    }
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The content stream of page n (1-based) of a file this writer made.
QByteArray pageContent(const QByteArray& file, int n)
{
    qsizetype at = 0;
    for (int i = 0; i < n; ++i)
        at = file.indexOf("stream\r\n", file.indexOf("/Filter []", at)) + 8;
    return file.mid(at, file.indexOf("\nendstream", at) - at);
}

struct Run {
    int exitCode = -1;
    QByteArray out;
};

Run run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll()};
}

template <class E, class F> QString messageOf(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return e.message();
    }
    return QStringLiteral("<no exception>");
}

} // namespace

class TestPdfReport : public QObject {
    Q_OBJECT
private slots:
    void layoutPanelSitsInsideBevelAndMargins();
    void marginsRejectBadValues();
    void controlsCheckTheirParent();
    void labelPlacementAndTextState();
    void labelFontAliases_data();
    void labelFontAliases();
    void labelPropertyChecks();
    void justifiedLabelSpreadsItsCharacters();
    void printOrderOfEvents();
    void informationAndCatalogOfADefaultReport();
    void propertiesAreFixedWhileADocumentIsOpen();
    void endDocAndPrintNeedAnOpenDocument();
    void failedWriteKeepsThePreviousFile();
    void refusesAPageWithoutSize();
    void realReadersAcceptAThreePageReport();
    void goldenFile();
};

void TestPdfReport::layoutPanelSitsInsideBevelAndMargins()
{
    Page p;
    QCOMPARE(p.panel.BoundsRect(), (TRect{33, 33, 563, 767}));
    QCOMPARE(p.panel.Width(), 530);
    QCOMPARE(p.panel.Height(), 734);
    p.page.SetWidth(800);
    p.page.SetHeight(596);
    QCOMPARE(p.panel.BoundsRect(), (TRect{33, 33, 767, 563}));
    TRepPage fresh;
    QCOMPARE(fresh.Width(), 596);
    QCOMPARE(fresh.Height(), 842);
    QCOMPARE(fresh.MarginLeft(), 32);
}

void TestPdfReport::marginsRejectBadValues()
{
    Page p;
    p.page.SetMarginLeft(-1);
    p.page.SetMarginTop(298); // half the width is too much
    p.page.SetMarginBottom(297);
    p.page.SetMarginRight(10);
    QCOMPARE(p.page.MarginLeft(), 32);
    QCOMPARE(p.page.MarginTop(), 32);
    QCOMPARE(p.page.MarginBottom(), 297);
    QCOMPARE(p.page.MarginRight(), 10);
    QCOMPARE(p.panel.BoundsRect(), (TRect{33, 33, 585, 502}));
}

void TestPdfReport::controlsCheckTheirParent()
{
    TRepPage page;
    QCOMPARE(messageOf<AppError>([&] { page.Create<TRepLabel>(); }),
             QStringLiteral("this component must set on TRepPanel"));
    QCOMPARE(page.ControlCount(), 0);
    auto& panel = page.Create<TRepPanel>();
    panel.Create<TRepLayoutPanel>().Create<TRepLabel>();
    QCOMPARE(panel.ControlCount(), 1);
    panel.DestroyComponents();
    QCOMPARE(panel.ControlCount(), 0);
}

void TestPdfReport::labelPlacementAndTextState()
{
    QTemporaryDir dir;
    FixedClock clock(kSaved);
    TPdfReport report(&clock);
    report.FileName = dir.filePath("labels.pdf");
    Page p;
    report.BeginDoc();
    p.label(QStringLiteral("Turnier"), 0, 10, 530, 26, TPdfAlignment::taLeftJustify, true);
    auto& centred = p.label(QString(20, QLatin1Char('0')), 10, 40, 560, 20, TPdfAlignment::taCenter);
    centred.SetFontName(TRepFontName::fnTimesRoman); // twenty digits of 10 points: 200 wide
    QCOMPARE(centred.GetTextWidth(), 200.0);
    p.label(QStringLiteral("a"), 0, 60, 100, 10);
    p.label(QStringLiteral("b"), 50, 60, 100, 10);
    p.label(QString(), 0, 80, 100, 10);
    p.label(QStringLiteral("hidden"), 0, 90, 100, 10).Printable = false;
    auto& right = p.label(QStringLiteral("r"), 0, 100, 100, 10, TPdfAlignment::taRightJustify);
    right.SetFontColor(0x0000FF);
    right.Clipping = true;
    report.Print(p.page);
    report.EndDoc();

    const QByteArray content = pageContent(readFile(report.FileName), 1);
    // 800 - (33 + 10) - 0.85 x 26 = 734.9; the centred text starts 180 right of 33 + 10.
    QCOMPARE(content,
             QByteArray("/F0 10 Tf\n"
                        "/F1 26 Tf\n0 0 0 rg\nBT\n33 734.9 Td\n(Turnier) Tj\nET\n"
                        "/F2 20 Tf\n0 0 0 rg\nBT\n223 710 Td\n(00000000000000000000) Tj\nET\n"
                        "/F0 10 Tf\n0 0 0 rg\nBT\n33 698.5 Td\n(a) Tj\nET\n"
                        "0 0 0 rg\nBT\n83 698.5 Td\n(b) Tj\nET\n"
                        "1 0 0 rg\nq\n33 667 m\n33 657 l\n133 657 l\n133 667 l\nh\nW\nn\n"
                        "BT\n130 658.5 Td\n(r) Tj\nET\nQ\n"));
}

void TestPdfReport::labelFontAliases_data()
{
    QTest::addColumn<int>("font");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QByteArray>("alias");
    const std::tuple<TRepFontName, const char*, const char*> families[] = {
        {TRepFontName::fnFixedWidth, "FixedWidth", "FixedWidth"},
        {TRepFontName::fnArial, "Arial", "Arial"},
        {TRepFontName::fnTimesRoman, "Times-Roman", "Times"},
    };
    for (const auto& [font, regular, stem] : families) {
        const QByteArray s(stem);
        QTest::newRow(regular) << int(font) << false << false << QByteArray(regular);
        QTest::newRow(s + "-Bold") << int(font) << true << false << s + "-Bold";
        QTest::newRow(s + "-Italic") << int(font) << false << true << s + "-Italic";
        QTest::newRow(s + "-BoldItalic") << int(font) << true << true << s + "-BoldItalic";
    }
}

void TestPdfReport::labelFontAliases()
{
    QFETCH(int, font);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QByteArray, alias);
    TRepLabel label;
    label.SetFontName(TRepFontName(font));
    label.SetFontBold(bold);
    label.SetFontItalic(italic);
    QCOMPARE(QByteArray(label.FontAlias()), alias);
    label.SetCaption(QStringLiteral("x"));
    QVERIFY(label.GetTextWidth() > 0); // the alias names a registered font
}

void TestPdfReport::labelPropertyChecks()
{
    TRepLabel label;
    QCOMPARE(label.Width(), 100);
    QCOMPARE(label.Height(), 30);
    QCOMPARE(label.FontSize(), 12.0f);
    label.SetFontSize(0);
    label.SetFontSize(-3);
    QCOMPARE(label.FontSize(), 12.0f);
    label.SetWordSpace(-1);
    QCOMPARE(label.WordSpace(), 0.0f);
    label.SetFontColor(0x0FFFFFFF);
    QCOMPARE(messageOf<EPdfInvalidValue>([&] { label.SetFontColor(0x10000000); }),
             QStringLiteral("the color you selected is not allowed."));
    QCOMPARE(label.FontColor(), 0x0FFFFFFF);
    label.SetFontColor(-5);
    QCOMPARE(label.FontColor(), -5);

    // A size the label takes but the canvas refuses fails before any Tf is written.
    QTemporaryDir dir;
    TPdfReport report;
    report.FileName = dir.filePath("big.pdf");
    Page p;
    report.BeginDoc();
    p.label(QStringLiteral("x"), 0, 0, 100, 400);
    QCOMPARE(messageOf<EPdfInvalidValue>([&] { report.Print(p.page); }),
             QStringLiteral("SetCharSpace --invalid font size"));
    p.panel.DestroyComponents();
    report.EndDoc();
    QCOMPARE(pageContent(readFile(report.FileName), 1), QByteArray("/F0 10 Tf\n"));
}

void TestPdfReport::justifiedLabelSpreadsItsCharacters()
{
    QTemporaryDir dir;
    TPdfReport report;
    report.FileName = dir.filePath("justified.pdf");
    Page p;
    report.BeginDoc();
    auto& l = p.label(QStringLiteral("abc"), 0, 0, 100, 10);
    l.SetFontName(TRepFontName::fnFixedWidth); // 18 wide: (100 - 18) / 2 = 41 after each character
    l.AlignJustified = true;
    auto& single = p.label(QStringLiteral("x"), 0, 20, 100, 10);
    single.SetFontName(TRepFontName::fnFixedWidth);
    single.AlignJustified = true;
    report.Print(p.page);
    report.EndDoc();
    const QByteArray content = pageContent(readFile(report.FileName), 1);
    QVERIFY2(content.contains("/F1 10 Tf\n0 0 0 rg\n41 Tc\nBT\n"), content);
    QVERIFY2(content.contains("0 0 0 rg\n0 Tc\nBT\n33 738.5 Td\n(x) Tj"), content);
}

void TestPdfReport::printOrderOfEvents()
{
    QTemporaryDir dir;
    TPdfReport report;
    report.FileName = dir.filePath("events.pdf");
    Page p;
    QStringList seen;
    p.page.OnPrintPage = [&](TRepPage&, TRepCanvas& c) {
        seen << QStringLiteral("page %1").arg(c.PdfCanvas->GetPageHeight());
    };
    p.panel.BeforePrint = [&](TRepPanel&, TRepCanvas&, const TRect& r) { seen << QStringLiteral("before %1").arg(r.Top); };
    p.panel.AfterPrint = [&](TRepPanel&, TRepCanvas&, const TRect&) { seen << QStringLiteral("after"); };
    report.BeginDoc();
    report.Print(p.page);
    QCOMPARE(seen, (QStringList{"page 800", "before 33", "after"}));
    QCOMPARE(report.PageCount(), 1);
    report.Abort();
    QVERIFY(!report.HasDoc());
    QVERIFY(!QFile::exists(report.FileName));
}

void TestPdfReport::informationAndCatalogOfADefaultReport()
{
    QTemporaryDir dir;
    FixedClock clock(kCreated);
    TPdfReport report(&clock);
    QCOMPARE(report.FileName, QStringLiteral("default.pdf"));
    QCOMPARE(report.CreationDate(), kCreated);
    report.FileName = dir.filePath("info.pdf");
    clock.set(kSaved);
    report.BeginDoc();
    Page p;
    report.Print(p.page);
    report.EndDoc();
    const QByteArray file = readFile(report.FileName);
    QVERIFY2(file.contains("1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseNone\r\n"
                           "/PageLayout /SinglePage\r\n>>"), file);
    QVERIFY2(file.contains("2 0 obj\r\n<<\r\n/Producer (Brackwell PDF 0.9)\r\n/Author ()\r\n"
                           "/CreationDate (D:20060909140454)\r\n/Creator ()\r\n/Keywords ()\r\n/Subject ()\r\n"
                           "/Title ()\r\n/ModDate (D:20261210150000)\r\n>>"), file);
    QVERIFY(file.contains("/MediaBox [0 0 596 800 ]"));
}

void TestPdfReport::propertiesAreFixedWhileADocumentIsOpen()
{
    TPdfReport report;
    report.SetTitle(QStringLiteral("Alt"));
    report.SetNonFullScreenPageMode(TPdfPageMode::pmFullScreen);
    QCOMPARE(report.NonFullScreenPageMode(), TPdfPageMode::pmUseNone);
    report.BeginDoc();
    const std::pair<const char*, std::function<void()>> setters[] = {
        {"SetAuthor", [&] { report.SetAuthor({}); }},
        {"SetCreationDate", [&] { report.SetCreationDate({}); }},
        {"SetCreator", [&] { report.SetCreator({}); }},
        {"SetKeyWords", [&] { report.SetKeyWords({}); }},
        {"SetModDate", [&] { report.SetModDate({}); }},
        {"SetSubject", [&] { report.SetSubject({}); }},
        {"SetTitle", [&] { report.SetTitle(QStringLiteral("Neu")); }},
        {"SetPageLayout", [&] { report.SetPageLayout(TPdfPageLayout::plOneColumn); }},
        {"SetPageMode", [&] { report.SetPageMode(TPdfPageMode::pmUseThumbs); }},
        {"SetNonFullScreenPageMode", [&] { report.SetNonFullScreenPageMode(TPdfPageMode::pmUseThumbs); }},
        {"SetUseOutlines", [&] { report.SetUseOutlines(true); }},
        {"SetViewerPreference", [&] { report.SetViewerPreference({TPdfViewerPreference::vpFitWindow}); }},
    };
    for (const auto& [name, set] : setters)
        QCOMPARE(messageOf<EPdfInvalidOperation>(set), QString::fromLatin1(name) + " --invalid operation.");
    QCOMPARE(report.Title(), QStringLiteral("Alt"));
    QCOMPARE(report.PageMode(), TPdfPageMode::pmUseNone);
    report.FileName = QStringLiteral("other.pdf"); // the file name may change
    report.Abort();
    report.SetTitle(QStringLiteral("Neu"));
    QCOMPARE(report.Title(), QStringLiteral("Neu"));
}

void TestPdfReport::endDocAndPrintNeedAnOpenDocument()
{
    TPdfReport report;
    Page p;
    QCOMPARE(messageOf<AppError>([&] { report.EndDoc(); }), QStringLiteral("document is null.."));
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { report.Print(p.page); }), QStringLiteral("Print --document is null.."));
    report.BeginDoc();
    report.BeginDoc(); // a second BeginDoc starts afresh
    QCOMPARE(report.PageCount(), 0);
}

void TestPdfReport::failedWriteKeepsThePreviousFile()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("Spielerliste.pdf");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous export");
    }
    TPdfReport report;
    report.FileName = target;
    Page p;
    report.BeginDoc();
    for (int row = 0; row < 40; ++row)
        p.label(QStringLiteral("Zeile %1 mit etwas Text").arg(row), 0, 100 + 13 * row, 100, 10);
    report.Print(p.page);

    // The file system refuses every byte past the first 300 of a file.
    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 300;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    const QString message = messageOf<AppError>([&] { report.EndDoc(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    // The file and the real reason, not "Unknown error" from the short write
    // that came first.
    QCOMPARE(message, QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                          .arg(target, QString::fromLocal8Bit(std::strerror(EFBIG))));
    QCOMPARE(readFile(target), QByteArray("previous export"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Spielerliste.pdf"});
    QVERIFY(report.HasDoc()); // still open: it can be written again
    const QString nowhere = dir.filePath("fehlt/Spielerliste.pdf");
    report.FileName = nowhere;
    QVERIFY(messageOf<AppError>([&] { report.EndDoc(); })
                .startsWith(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: ").arg(nowhere)));
    report.FileName = target;
    report.EndDoc();
    QVERIFY(readFile(target).startsWith("%PDF-1.2 \r\n"));
}

void TestPdfReport::refusesAPageWithoutSize()
{
    QTemporaryDir dir;
    TPdfReport report;
    report.FileName = dir.filePath("Spielplan.pdf");
    report.BeginDoc();
    Page good;
    good.label(QStringLiteral("Gruppe A"), 0, 10, 100, 12);
    report.Print(good.page);
    for (const auto& [width, height, message] : {std::tuple(0, 800, "SetPageWidth --invalid page width"),
                                                 std::tuple(596, -1, "SetPageHeight --invalid page height")}) {
        Page bad(width, height);
        QCOMPARE(messageOf<EPdfInvalidValue>([&] { report.Print(bad.page); }), QString(message));
    }
    QCOMPARE(report.PageCount(), 1);
    report.EndDoc();
    const QByteArray file = readFile(dir.filePath("Spielplan.pdf"));
    QVERIFY(file.contains("/MediaBox [0 0 596 800 ]"));
    QCOMPARE(file.count("/Type /Page\r\n"), 1);
}

void TestPdfReport::realReadersAcceptAThreePageReport()
{
    QTemporaryDir dir;
    TPdfReport report;
    report.FileName = dir.filePath("Spielerliste.pdf");
    report.SetPageMode(TPdfPageMode::pmUseOutlines);
    Page p(800, 596);
    report.BeginDoc();
    const QStringList names = {QStringLiteral("Müller, Jürgen"), QStringLiteral("Weiß, Änne"),
                               QStringLiteral("Öztürk, Straße (Ü)")};
    for (int page = 0; page < 3; ++page) {
        p.label(QStringLiteral("Stadtmeisterschaft"), 0, 10, 760, 26, TPdfAlignment::taCenter, true);
        p.label(QStringLiteral("Seite %1 – Startgeld 7,50 €").arg(page + 1), 0, 40, 760, 22, TPdfAlignment::taCenter);
        p.label(names[page], 0, 100, 100, 10);
        p.label(QStringLiteral("漢字"), 200, 100, 100, 10); // cannot be held: becomes ??
        report.Print(p.page);
        p.panel.DestroyComponents();
    }
    report.EndDoc();

    const Run check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), report.FileName});
    QVERIFY2(check.exitCode == 0, check.out);
    const Run text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), report.FileName, QStringLiteral("-")});
    QCOMPARE(text.exitCode, 0);
    const QString plain = QString::fromUtf8(text.out);
    for (const QString& name : names)
        QVERIFY2(plain.contains(name), qPrintable(plain));
    QVERIFY2(plain.contains(QStringLiteral("Seite 3 – Startgeld 7,50 €")), qPrintable(plain));
    QVERIFY2(plain.contains(QStringLiteral("??")), qPrintable(plain));
    QCOMPARE(plain.count(QLatin1Char('\f')), 3);

    const Run fonts = run(QStringLiteral("pdffonts"), {report.FileName});
    QCOMPARE(fonts.exitCode, 0);
    const QList<QByteArray> lines = fonts.out.split('\n');
    QStringList helvetica;
    for (const QByteArray& line : lines)
        if (line.startsWith("Helvetica ") || line.startsWith("Helvetica-Bold "))
            helvetica << QString::fromLatin1(line.simplified());
    // name, type "Type 1", encoding, emb, sub, uni, object, id
    QVERIFY2(helvetica.contains(QStringLiteral("Helvetica Type 1 WinAnsi no no no 6 0")), fonts.out);
    QVERIFY2(helvetica.contains(QStringLiteral("Helvetica-Bold Type 1 WinAnsi no no no 7 0")), fonts.out);
}

void TestPdfReport::goldenFile()
{
    QTemporaryDir dir;
    FixedClock clock(kCreated);
    TPdfReport report(&clock);
    report.FileName = dir.filePath("golden.pdf");
    report.SetPageMode(TPdfPageMode::pmUseOutlines);
    Page p(800, 596);
    report.BeginDoc();
    p.label(QStringLiteral("Vereinsmeisterschaft"), 0, 10, 760, 26, TPdfAlignment::taCenter, true);
    p.label(QStringLiteral("Spielerliste"), 0, 40, 760, 22, TPdfAlignment::taCenter, true);
    p.label(QStringLiteral("Nachname, Vorname"), 0, 100, 100, 10, TPdfAlignment::taLeftJustify, true);
    p.label(QStringLiteral("Geb.Dat."), 180, 100, 100, 10, TPdfAlignment::taLeftJustify, true);
    p.label(QStringLiteral("Groß, Jörg (Jr.)"), 0, 114, 100, 10);
    p.label(QStringLiteral("01.02.1990"), 180, 114, 100, 10);
    report.Print(p.page);
    clock.advanceSecs(3600);
    report.EndDoc();

    const QString goldenPath = test::TempProgramFolder::sourceDir() + QStringLiteral("/tests/pdf/golden/report.pdf");
    const QByteArray actual = readFile(report.FileName);
    const QByteArray golden = readFile(goldenPath);
    if (actual != golden) {
        const QString keep = QDir::temp().filePath(QStringLiteral("brackwell-golden-actual.pdf"));
        QFile::remove(keep);
        QFile::copy(report.FileName, keep);
        QFAIL(qPrintable(QStringLiteral("differs from %1; the written file is kept as %2").arg(goldenPath, keep)));
    }
    const Run check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), report.FileName});
    QVERIFY2(check.exitCode == 0, check.out);
}

QTEST_GUILESS_MAIN(TestPdfReport)
#include "test_pdf_report.moc"
