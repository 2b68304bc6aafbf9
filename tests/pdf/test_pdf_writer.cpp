// The PDF writer below the report layer: the bytes each object kind writes, the
// file structure of a document, the canvas operators and the standard fonts.
#include "pdf/pdfdoc.h"
#include "pdf/pdffonts.h"
#include "pdf/pdfimages.h"

#include "platform/cp1252.h"

#include <QBuffer>
#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>

using namespace bw;
using namespace bw::pdf;

Q_DECLARE_METATYPE(std::shared_ptr<bw::pdf::TPdfObject>)

namespace {

// The bytes an object writes where it is used.
QByteArray used(TPdfObject& object)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PdfWriter out(buffer);
    object.WriteToStream(out);
    out.flush();
    return buffer.data();
}

QByteArray body(TPdfObject& object)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PdfWriter out(buffer);
    object.WriteValueToStream(out);
    out.flush();
    return buffer.data();
}

QByteArray save(TPdfDoc& doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    doc.SaveToStream(buffer);
    return buffer.data();
}

QByteArray contents(TPdfDoc& doc)
{
    return dynamic_cast<TPdfStream*>(doc.GetCanvas().GetPage().ValueByName("Contents"))->Stream();
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

const QDateTime kCreated(QDate(2026, 3, 7), QTime(9, 5, 3));

} // namespace

class TestPdfWriter : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void textIsWindows1252();
    void reals_data();
    void reals();
    void realsRejectNonFinite();
    void numbersIgnoreTheLocale();
    void dictionaryKeepsOneElementPerKeyInSettingOrder();
    void dictionaryWithOnlyInternalElements();
    void indirectObjectsAreReferencedNeverOwnedTwice();
    void streamBodies();
    void bodyOfADirectObjectFails();
    void virtualObjectNeedsANumber();

    void documentNumbersObjectsAndPointsTheXrefAtThem();
    void twoPagesAndSavingTwice();
    void documentStateErrors();
    void outlinesAndViewerPreferences();

    void canvasFirstLineSelectsArial();
    void canvasSetFontWritesOnlyChanges();
    void canvasFontSizeIsCheckedBeforeWriting();
    void canvasRangeChecks_data();
    void canvasRangeChecks();
    void canvasTextWidth();
    void canvasTextRectAlignmentAndClipping();
    void canvasColours();
    void canvasMeasureOnlyWritesNothing();
    void canvasReturningToAPageRestoresItsTextState();
    void canvasSurvivesFreeDoc();

    void fontWidthsMatchTheStandardMetrics();
    void fontsAreNamedInOrderAndMadeOnce();
    void fontDictionaryHidesWidths();
    void unknownFontAlias();

    void imageIndexedAndRgb();
    void imageErrors();
};

// ---------------------------------------------------------------- object syntax

void TestPdfWriter::values_data()
{
    QTest::addColumn<std::shared_ptr<TPdfObject>>("object");
    QTest::addColumn<QByteArray>("expected");

    auto row = [](const char* tag, TPdfObject* o, const QByteArray& bytes) {
        QTest::newRow(tag) << std::shared_ptr<TPdfObject>(o) << bytes;
    };
    row("null", new TPdfNull, "null");
    row("true", new TPdfBoolean(true), "true");
    row("false", new TPdfBoolean(false), "false");
    row("number", new TPdfNumber(-42), "-42");
    row("number min", new TPdfNumber(std::numeric_limits<qint32>::min()), "-2147483648");
    row("name Type", new TPdfName("Type"), "/Type");
    row("name with blank", new TPdfName("A B"), "/A#20B");
    row("name with hash", new TPdfName("a#b"), "/a#23b");
    row("name delimiters", new TPdfName("%()/<>[]{}"), "/#25#28#29#2F#3C#3E#5B#5D#7B#7D");
    row("name high byte", new TPdfName("\xE4\x7F"), "/#E4#7F");
    row("text escapes", new TPdfText("a(b)\\"), "(a\\(b\\)\\\\)");
    row("text controls", new TPdfText("\r\n\t\b\f"), "(\\r\\n\\t\\b\\f)");
    row("text umlaut unchanged", new TPdfText(pdfText(QStringLiteral("ä€"))), "(\xE4\x80)");
    row("text empty", new TPdfText(""), "()");
    row("empty array", new TPdfArray, "[]");
    auto* nums = TPdfArray::CreateNumArray(nullptr, {1, 2}).release();
    row("number array", nums, "[1 2 ]");
    auto* dict = new TPdfDictionary;
    dict->AddName("Type", "Catalog");
    dict->AddItem("Pages", *TPdfVirtualObject::CreateVirtual(3));
    row("dictionary", dict, "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n>>");
    row("empty dictionary", new TPdfDictionary, "<<\r\n>>");
    row("virtual", TPdfVirtualObject::CreateVirtual(12).release(), "12 0 R");
    auto* bin = new TPdfBinary;
    bin->Stream() = "<00 >";
    row("binary", bin, "<00 >");
}

void TestPdfWriter::values()
{
    QFETCH(std::shared_ptr<TPdfObject>, object);
    QFETCH(QByteArray, expected);
    QCOMPARE(used(*object), expected);
}

void TestPdfWriter::textIsWindows1252()
{
    // The same bytes as the code page helper, for every character.
    QString all;
    for (char32_t cp = 1; cp < 0x10000; ++cp)
        if (!QChar::isSurrogate(cp))
            all.append(QChar(char16_t(cp)));
    all += QStringLiteral("a\U0001F600b");                      // one character outside the BMP
    all += QChar(char16_t(0xD800)) + QStringLiteral("x"); // a lone surrogate
    QCOMPARE(pdfText(all), cp1252::encode(all));
    QCOMPARE(pdfText(QStringLiteral("Weiß € 😀")), QByteArray("Wei\xDF \x80 ?"));
    // Names beyond the code page lose their accents, not their letters.
    QCOMPARE(pdfText(QStringLiteral("Şahin Yıldız Doğan Łukasz Dvořák Nguyễn")),
             QByteArray("Sahin Yildiz Dogan Lukasz Dvor\xE1k Nguyen"));
}

void TestPdfWriter::reals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("real");    // TPdfReal: 15 significant digits
    QTest::addColumn<QByteArray>("operand"); // canvas: two decimals

    QTest::newRow("half") << 0.5 << QByteArray("0.5") << QByteArray("0.5");
    QTest::newRow("ten") << 10.0 << QByteArray("10") << QByteArray("10");
    QTest::newRow("twelve and a half") << 12.5 << QByteArray("12.5") << QByteArray("12.5");
    QTest::newRow("rounds half up") << 12.345 << QByteArray("12.345") << QByteArray("12.35");
    QTest::newRow("negative truncates toward zero") << -1.234 << QByteArray("-1.234") << QByteArray("-1.22");
    QTest::newRow("zero") << 0.0 << QByteArray("0") << QByteArray("0");
    QTest::newRow("negative zero") << -0.0 << QByteArray("0") << QByteArray("0");
    QTest::newRow("tiny negative never -0") << -0.006 << QByteArray("-0.006") << QByteArray("0");
    QTest::newRow("baseline") << 734.9 << QByteArray("734.9") << QByteArray("734.9");
    QTest::newRow("grey") << 128 / 255.0 << QByteArray("0.501960784313725") << QByteArray("0.5");
    QTest::newRow("largest a reader holds") << 2147483647.25 << QByteArray("2147483647.25")
                                            << QByteArray("2147483647.25");
    QTest::newRow("small without exponent") << 1.5e-7 << QByteArray("0.00000015") << QByteArray("0");
}

void TestPdfWriter::reals()
{
    QFETCH(double, value);
    QFETCH(QByteArray, real);
    QFETCH(QByteArray, operand);
    TPdfReal r(value);
    QCOMPARE(used(r), real);
    QCOMPARE(FormatPdfReal(value), operand);
}

// No number, or one of 2^31 or more that readers cannot hold (as integers).
void TestPdfWriter::realsRejectNonFinite()
{
    for (double v : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::max(), 2147483648.0, -2147483648.5, 1e20}) {
        QCOMPARE(messageOf<EPdfInvalidValue>([&] { FormatPdfReal(v); }), QStringLiteral("FormatPdfReal --invalid real number"));
        TPdfReal r(v);
        QVERIFY_THROWS_EXCEPTION(EPdfInvalidValue, used(r));
    }
    // Rounded up to 2^31 in its last decimal.
    QVERIFY_THROWS_EXCEPTION(EPdfInvalidValue, FormatPdfReal(2147483647.999));
}

void TestPdfWriter::numbersIgnoreTheLocale()
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("the de_DE.UTF-8 locale is not installed (scripts/deps.sh generates it)");
        QSKIP("the de_DE.UTF-8 locale is not installed (scripts/deps.sh generates it)");
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 0.5);
    const bool commaLocale = QByteArray(probe) == "0,5";
    TPdfReal half(0.5);
    const QByteArray real = used(half);
    const QByteArray operand = FormatPdfReal(0.5);
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    doc.GetCanvas().SetRGBFillColor(0x808080);
    const QByteArray stream = contents(doc);
    std::setlocale(LC_ALL, previous.c_str());

    QVERIFY2(commaLocale, "the German locale was not active");
    QCOMPARE(real, QByteArray("0.5"));
    QCOMPARE(operand, QByteArray("0.5"));
    QVERIFY(stream.endsWith("0.5 0.5 0.5 rg\n"));
}

void TestPdfWriter::dictionaryKeepsOneElementPerKeyInSettingOrder()
{
    TPdfDictionary d;
    d.AddNumber("A", 1);
    d.AddNumber("B", 2);
    d.AddNumber("A", 3);
    QCOMPARE(d.ItemCount(), 2);
    QCOMPARE(used(d), QByteArray("<<\r\n/B 2\r\n/A 3\r\n>>"));
    QCOMPARE(d.PdfNumberByName("A")->Value, 3);
    d.RemoveItem("B");
    d.RemoveItem("missing");
    QCOMPARE(used(d), QByteArray("<<\r\n/A 3\r\n>>"));
    QVERIFY(!d.ValueByName("B"));
    QCOMPARE(d.TypeOf(), QByteArray());
    d.AddName("Type", "Pages");
    QCOMPARE(d.TypeOf(), QByteArray("Pages"));
}

void TestPdfWriter::dictionaryWithOnlyInternalElements()
{
    TPdfDictionary d;
    d.AddInternalItem("_Font", std::make_unique<TPdfName>("Arial"));
    QCOMPARE(used(d), QByteArray("<<\r\n>>"));
    QCOMPARE(d.PdfNameByName("_Font")->Value, QByteArray("Arial"));
    QVERIFY_THROWS_EXCEPTION(EPdfInvalidValue, d.AddItem("X", TPdfObjectPtr()));
}

void TestPdfWriter::indirectObjectsAreReferencedNeverOwnedTwice()
{
    TPdfXref xref;
    auto& target = xref.add(std::make_unique<TPdfNumber>(7));
    QCOMPARE(target.ObjectNumber(), 1);
    QVERIFY(target.isIndirect());

    TPdfArray withMgr(&xref);
    withMgr.AddItem(target);
    withMgr.AddItem(target);
    QCOMPARE(withMgr.ItemCount(), 2);
    QCOMPARE(used(withMgr), QByteArray("[1 0 R 1 0 R ]"));
    QCOMPARE(withMgr.Items(1), &target);
    TPdfArray withoutMgr;
    withoutMgr.AddItem(target);
    QVERIFY(!withoutMgr.Items(0));

    TPdfDictionary d(&xref);
    d.AddItem("N", target);
    QCOMPARE(d.PdfNumberByName("N"), &target);
    QCOMPARE(used(target), QByteArray("1 0 R"));

    // Registered twice, or handed to a container as if it were direct: refused.
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { xref.AddObject(TPdfVirtualObject::CreateVirtual(1)); }),
             QStringLiteral("AddObject --wrong object type."));

    withMgr.AddItem(std::make_unique<TPdfName>("FlateDecode"));
    QVERIFY(withMgr.FindName("FlateDecode"));
    QVERIFY(withMgr.RemoveName("FlateDecode"));
    QVERIFY(!withMgr.RemoveName("FlateDecode"));
}

void TestPdfWriter::streamBodies()
{
    TPdfXref xref;
    for (int i = 0; i < 4; ++i)
        xref.add(std::make_unique<TPdfNull>());
    auto& stream = xref.add(TPdfStream::CreateStream(&xref));
    QCOMPARE(stream.ObjectNumber(), 5);
    QCOMPARE(body(stream), QByteArray("5 0 obj\r\n<<\r\n/Length 0\r\n/Filter []\r\n>>\r\nstream\r\n\nendstream\r\nendobj\r\n"));

    stream.Stream() = "hello world";
    stream.Attributes().PdfArrayByName("Filter")->AddItem(std::make_unique<TPdfName>("FlateDecode"));
    const QByteArray expected("5 0 obj\r\n<<\r\n/Length 11\r\n/Filter []\r\n>>\r\nstream\r\nhello world\nendstream\r\nendobj\r\n");
    QCOMPARE(body(stream), expected);
    QCOMPARE(body(stream), expected); // writing again gives the same bytes
}

void TestPdfWriter::bodyOfADirectObjectFails()
{
    TPdfNumber n(1);
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { body(n); }), QStringLiteral("internal error wrong object type"));
    auto v = TPdfVirtualObject::CreateVirtual(2);
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { body(*v); }), QStringLiteral("internal error wrong object type"));
}

void TestPdfWriter::virtualObjectNeedsANumber()
{
    QCOMPARE(messageOf<AppError>([] { TPdfVirtualObject::CreateVirtual(0); }),
             QStringLiteral("virtualObject must be create by CreateVirtual method."));
    QCOMPARE(DateToPdfDate(kCreated), QByteArray("D:20260307090503"));
}

// ---------------------------------------------------------------- document

void TestPdfWriter::documentNumbersObjectsAndPointsTheXrefAtThem()
{
    FixedClock clock(kCreated);
    TPdfDoc doc(&clock);
    doc.NewDoc();
    doc.AddPage();
    clock.advanceSecs(60);
    const QByteArray file = save(doc);

    QVERIFY(file.startsWith("%PDF-1.2 \r\n1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n>>\r\nendobj\r\n"));
    QVERIFY(file.contains("2 0 obj\r\n<<\r\n/Producer (Brackwell PDF 0.9)\r\n/CreationDate (D:20260307090503)\r\n"
                          "/ModDate (D:20260307090603)\r\n>>"));
    QVERIFY(file.contains("3 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>"));
    QVERIFY(file.contains("4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 596 842 ]\r\n"
                          "/Resources <<\r\n/Font <<\r\n/F0 6 0 R\r\n>>\r\n/XObject <<\r\n>>\r\n"
                          "/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n/Contents 5 0 R\r\n>>"));
    QVERIFY(file.contains("5 0 obj\r\n<<\r\n/Length 10\r\n/Filter []\r\n>>\r\nstream\r\n/F0 10 Tf\n\nendstream"));
    QVERIFY(file.contains("6 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding /WinAnsiEncoding\r\n"
                          "/FirstChar 32\r\n/LastChar 255\r\n/BaseFont /Helvetica\r\n/Name /F0\r\n>>"));
    QVERIFY(file.contains("trailer\r\n<<\r\n/Size 7\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\nstartxref\r\n"));
    QVERIFY(file.endsWith("\r\n%%EOF\r\n"));

    // startxref and every xref line point where they should.
    const int sx = file.lastIndexOf("startxref\r\n");
    const qsizetype xrefAt = file.mid(sx + 11, file.indexOf('\r', sx + 11) - sx - 11).toLongLong();
    QVERIFY(file.mid(xrefAt).startsWith("xref\r\n0 7\r\n0000000000 65535 f\r\n"));
    const qsizetype first = xrefAt + 11;
    for (int n = 1; n < 7; ++n) {
        const QByteArray line = file.mid(first + 20 * n, 20);
        QVERIFY(line.endsWith(" 00000 n\r\n"));
        QVERIFY2(file.mid(line.left(10).toLongLong()).startsWith(QByteArray::number(n) + " 0 obj\r\n"), line);
    }
}

void TestPdfWriter::twoPagesAndSavingTwice()
{
    FixedClock clock(kCreated);
    TPdfDoc doc(&clock);
    doc.NewDoc();
    doc.AddPage();
    doc.GetCanvas().SetFont("Times-Bold", 12); // object 7, made on the first page
    TPdfDictionary& second = doc.AddPage();
    QCOMPARE(second.ObjectNumber(), 8);
    const QByteArray first = save(doc);
    QVERIFY(first.contains("3 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R 8 0 R ]\r\n/Count 2\r\n>>"));

    clock.advanceSecs(1);
    const QByteArray again = save(doc);
    QCOMPARE(again.size(), first.size());
    QVERIFY(again.contains("/ModDate (D:20260307090504)"));
    QCOMPARE(QByteArray(again).replace("090504", "090503"), first);
}

void TestPdfWriter::documentStateErrors()
{
    TPdfDoc doc;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.SaveToStream(buffer); }),
             QStringLiteral("SaveToStream --there is no document to save."));
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.GetCanvas(); }), QStringLiteral("GetCanvas --Document is null"));
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.GetInfo(); }),
             QStringLiteral("GetInfo --this method can not use this state.."));
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.GetRoot(); }),
             QStringLiteral("GetRoot --this method can not use this state.."));
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.GetFont("Arial"); }), QStringLiteral("GetFont --document is null."));
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.GetOutlineRoot(); }),
             QStringLiteral("GetOutlineRoot --document is null.."));
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.AddPage(); }), QStringLiteral("AddPage --current pages null."));

    doc.NewDoc();
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.SaveToStream(buffer); }),
             QStringLiteral("GetPage --the Page is nil"));
    doc.DefaultPageHeight = 0;
    QCOMPARE(messageOf<EPdfInvalidValue>([&] { doc.AddPage(); }), QStringLiteral("SetPageHeight --invalid page height"));
    QVERIFY_THROWS_EXCEPTION(EPdfInvalidOperation, doc.GetCanvas().GetPage()); // no page was added
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.GetOutlineRoot(); }),
             QStringLiteral("GetOutlineRoot --not use outline mode.."));
}

void TestPdfWriter::outlinesAndViewerPreferences()
{
    FixedClock clock(kCreated);
    TPdfDoc doc(&clock);
    doc.UseOutlines = true;
    doc.NewDoc();
    QCOMPARE(doc.GetOutlineRoot().Data()->ObjectNumber(), 2);
    doc.GetRoot().SetNonFullScreenPageMode(TPdfPageMode::pmUseThumbs);
    doc.GetRoot().SetViewerPreference({TPdfViewerPreference::vpHideToolbar, TPdfViewerPreference::vpCenterWindow});
    doc.GetRoot().SetPageMode(TPdfPageMode::pmUseOutlines);
    doc.GetRoot().SetPageLayout(TPdfPageLayout::plTwoColumnRight);
    doc.GetRoot().Data()->AddName("OpenAction", "Nowhere");
    doc.AddPage();
    const QByteArray file = save(doc);
    QVERIFY(file.contains("1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Outlines 2 0 R\r\n/Pages 4 0 R\r\n"
                          "/ViewerPreferences <<\r\n/NonFullScreenPageMode /UseThumbs\r\n/HideToolbar true\r\n"
                          "/CenterWindow true\r\n>>\r\n/PageMode /UseOutlines\r\n/PageLayout /TwoColumnRight\r\n>>"));
    QVERIFY(file.contains("2 0 obj\r\n<<\r\n/Type /Outlines\r\n/Count 0\r\n>>"));
    QVERIFY(!file.contains("OpenAction"));

    doc.GetRoot().SetNonFullScreenPageMode(TPdfPageMode::pmFullScreen);
    doc.GetRoot().SetViewerPreference({});
    QVERIFY(save(doc).contains("/ViewerPreferences <<\r\n>>"));
}

// ---------------------------------------------------------------- canvas

void TestPdfWriter::canvasFirstLineSelectsArial()
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    QCOMPARE(contents(doc), QByteArray("/F0 10 Tf\n"));
    TPdfCanvas& c = doc.GetCanvas();
    QCOMPARE(c.Attribute().FontSize(), 10.0f);
    QCOMPARE(c.Attribute().Font()->Name(), QByteArray("Arial"));
    c.SetFont("Times-Roman", 12);
    doc.AddPage();
    // Every new page starts with Arial 10, made once for the document.
    QCOMPARE(contents(doc), QByteArray("/F0 10 Tf\n"));
    QCOMPARE(doc.PageResource(c.GetPage(), "Font")->ItemCount(), 1);
}

void TestPdfWriter::canvasSetFontWritesOnlyChanges()
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    c.SetFont("Arial-Bold", 26);
    c.SetFont("Arial-Bold", 26);
    c.SetFont("Arial-Bold", 10.5f);
    c.SetFont("Arial", 10.5f);
    c.SetCharSpace(0);
    c.SetWordSpace(0);
    c.SetCharSpace(1.5f);
    c.SetWordSpace(2);
    QCOMPARE(contents(doc), QByteArray("/F0 10 Tf\n/F1 26 Tf\n/F1 10.5 Tf\n/F0 10.5 Tf\n1.5 Tc\n2 Tw\n"));
    const TPdfDictionary* fonts = doc.PageResource(c.GetPage(), "Font");
    QCOMPARE(fonts->ItemCount(), 2);
}

void TestPdfWriter::canvasFontSizeIsCheckedBeforeWriting()
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    for (float bad : {301.0f, -1.0f, std::nanf("")}) {
        QCOMPARE(messageOf<EPdfInvalidValue>([&] { c.SetFont("Times-Roman", bad); }),
                 QStringLiteral("SetCharSpace --invalid font size"));
    }
    QCOMPARE(contents(doc), QByteArray("/F0 10 Tf\n"));
    QCOMPARE(c.Attribute().FontSize(), 10.0f);
    QCOMPARE(c.Attribute().Font()->Name(), QByteArray("Arial"));
}

void TestPdfWriter::canvasRangeChecks_data()
{
    QTest::addColumn<int>("setter");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("message"); // empty: accepted
    enum { Char, Word, Scale, Leading, PageWidth, PageHeight };
    QTest::newRow("char space -30") << int(Char) << -30.0f << QString();
    QTest::newRow("char space 300") << int(Char) << 300.0f << QString();
    QTest::newRow("char space -31") << int(Char) << -31.0f << "SetCharSpace --invalid char space";
    QTest::newRow("char space 301") << int(Char) << 301.0f << "SetCharSpace --invalid char space";
    QTest::newRow("word space 0.5") << int(Word) << 0.5f << QString();
    QTest::newRow("word space -1") << int(Word) << -1.0f << "SetWordSpace --invalid word space";
    QTest::newRow("word space NaN") << int(Word) << std::nanf("") << "SetWordSpace --invalid word space";
    QTest::newRow("scaling 10") << int(Scale) << 10.0f << QString();
    QTest::newRow("scaling 9") << int(Scale) << 9.0f << "SetHorizontalScaling --invalid font size";
    QTest::newRow("scaling 301") << int(Scale) << 301.0f << "SetHorizontalScaling --invalid font size";
    QTest::newRow("leading 300") << int(Leading) << 300.0f << QString();
    QTest::newRow("leading -1") << int(Leading) << -1.0f << "SetLeading --invalid font size";
    QTest::newRow("page width 1") << int(PageWidth) << 1.0f << QString();
    QTest::newRow("page width 0") << int(PageWidth) << 0.0f << "SetPageWidth --invalid page width";
    QTest::newRow("page height -5") << int(PageHeight) << -5.0f << "SetPageHeight --invalid page height";
}

void TestPdfWriter::canvasRangeChecks()
{
    QFETCH(int, setter);
    QFETCH(float, value);
    QFETCH(QString, message);
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    const auto set = [&] {
        switch (setter) {
        case 0: c.SetCharSpace(value); break;
        case 1: c.SetWordSpace(value); break;
        case 2: c.SetHorizontalScaling(int(value)); break;
        case 3: c.SetLeading(value); break;
        case 4: c.SetPageWidth(int(value)); break;
        default: c.SetPageHeight(int(value));
        }
    };
    if (message.isEmpty()) {
        set();
    } else {
        const TPdfCanvasAttribute before = c.Attribute();
        QCOMPARE(messageOf<EPdfInvalidValue>(set), message);
        QCOMPARE(c.Attribute().CharSpace(), before.CharSpace());
        QCOMPARE(c.Attribute().WordSpace(), before.WordSpace());
        QCOMPARE(c.Attribute().HorizontalScaling(), before.HorizontalScaling());
        QCOMPARE(c.Attribute().Leading(), before.Leading());
        QCOMPARE(c.GetPageHeight(), 842.0f);
        QCOMPARE(contents(doc), QByteArray("/F0 10 Tf\n"));
    }
}

void TestPdfWriter::canvasTextWidth()
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    QCOMPARE(c.TextWidth("A"), 6.67);
    QCOMPARE(c.TextWidth(""), 0.0);
    QCOMPARE(c.TextWidth("\x01\x1F"), 0.0); // control characters measure 0
    // A name with a no-break space or a soft hyphen measures as it is drawn.
    QCOMPARE(c.TextWidth("Jan\xA0" "Ott"), c.TextWidth("Jan Ott"));
    QCOMPARE(c.TextWidth("Ott\xAD" "mann"), c.TextWidth("Ott-mann"));
    c.SetFont("FixedWidth", 12);
    QCOMPARE(c.TextWidth("abcde"), 36.0);
    c.SetCharSpace(1);
    c.SetWordSpace(5);
    // a, b, the blank with word space, c; no char space after the last one.
    QCOMPARE(c.TextWidth("a b"), 3 * 7.2 + 2 * 1 + 5);
    QCOMPARE(c.TextWidth(" "), 7.2);
    QCOMPARE(c.TextWidth(""), -1.0);
    c.SetHorizontalScaling(50);
    QCOMPARE(c.TextWidth("ab"), 3.6 + 1 + 3.6);
}

void TestPdfWriter::canvasTextRectAlignmentAndClipping()
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    c.SetFont("FixedWidth", 10); // 6 points per character
    const QByteArray start = contents(doc);
    c.TextRect(PdfRect(100, 700, 150, 690), "abcd", TPdfAlignment::taRightJustify, false); // 50 - 24 = 26
    c.TextRect(PdfRect(100, 700, 150, 690), "abc", TPdfAlignment::taCenter, false);        // (50 - 18) / 2 = 16
    c.TextRect(PdfRect(100, 700, 110, 690), "abcdef", TPdfAlignment::taCenter, false);     // (10 - 36) / 2 = -13
    c.TextRect(PdfRect(100, 700, 103, 690), "a", TPdfAlignment::taCenter, false);          // -1.5 to even: -2
    c.TextRect(PdfRect(10, 20, 30, 5), "(x)", TPdfAlignment::taLeftJustify, true);
    QCOMPARE(contents(doc).mid(start.size()),
             QByteArray("BT\n126 691.5 Td\n(abcd) Tj\nET\n"
                        "BT\n116 691.5 Td\n(abc) Tj\nET\n"
                        "BT\n87 691.5 Td\n(abcdef) Tj\nET\n"
                        "BT\n98 691.5 Td\n(a) Tj\nET\n"
                        "q\n10 20 m\n10 5 l\n30 5 l\n30 20 l\nh\nW\nn\nBT\n10 11.5 Td\n(\\(x\\)) Tj\nET\nQ\n"));
}

void TestPdfWriter::canvasColours()
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    c.SetRGBFillColor(0x0000FF);
    c.SetRGBFillColor(0x808080);
    c.SetRGBFillColor(-16777201); // a system colour
    QCOMPARE(contents(doc), QByteArray("/F0 10 Tf\n1 0 0 rg\n0.5 0.5 0.5 rg\n0 0 0 rg\n"));
}

void TestPdfWriter::canvasMeasureOnlyWritesNothing()
{
    TPdfDoc doc;
    doc.NewMeasureDoc();
    TPdfCanvas& c = doc.GetCanvas();
    QVERIFY(c.MeasureOnly());
    const QByteArray before = contents(doc);
    c.SetFont("Arial-Bold", 20);
    c.TextRect(PdfRect(0, 10, 100, 0), "text", TPdfAlignment::taCenter, true);
    c.SetRGBFillColor(255);
    c.SetCharSpace(2);
    QCOMPARE(contents(doc), before);
    QCOMPARE(c.TextWidth("A"), 722 * 20 / 1000.0); // measures like any other (Helvetica-Bold)
    QCOMPARE(c.Attribute().CharSpace(), 2.0f);
}

void TestPdfWriter::canvasReturningToAPageRestoresItsTextState()
{
    TPdfDoc doc;
    doc.NewDoc();
    TPdfDictionary& first = doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    c.SetFont("Times-Italic", 14);
    c.SetCharSpace(1.25f);
    c.SetWordSpace(3);
    c.SetHorizontalScaling(80);
    c.SetLeading(16);
    doc.AddPage();
    QCOMPARE(c.Attribute().Font()->Name(), QByteArray("Arial"));
    QCOMPARE(c.Attribute().CharSpace(), 0.0f);
    c.SetPage(first);
    QCOMPARE(c.Attribute().Font()->Name(), QByteArray("Times-Italic"));
    QCOMPARE(c.Attribute().FontSize(), 14.0f);
    QCOMPARE(c.Attribute().CharSpace(), 1.25f);
    QCOMPARE(c.Attribute().WordSpace(), 3.0f);
    QCOMPARE(c.Attribute().HorizontalScaling(), quint16(80));
    QCOMPARE(c.Attribute().Leading(), 16.0f);
    QVERIFY(!save(doc).contains("_Font"));
}

void TestPdfWriter::canvasSurvivesFreeDoc()
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    doc.FreeDoc();
    doc.NewDoc();
    QCOMPARE(messageOf<EPdfInvalidOperation>([&] { doc.GetCanvas().GetPage(); }),
             QStringLiteral("GetPage --the Page is nil"));
    doc.AddPage();
    QCOMPARE(contents(doc), QByteArray("/F0 10 Tf\n"));
}

// ---------------------------------------------------------------- fonts

void TestPdfWriter::fontWidthsMatchTheStandardMetrics()
{
    TPdfXref xref;
    TPdfArial helvetica(xref, "Arial");
    TPdfTimesRoman times(xref, "Times-Roman");
    const QList<int> h32to47 = {278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278};
    for (int i = 0; i < h32to47.size(); ++i)
        QCOMPARE(helvetica.widthOf(quint8(32 + i)), h32to47[i]);
    const QList<int> aToE = {667, 667, 722, 722, 667};
    for (int i = 0; i < aToE.size(); ++i)
        QCOMPARE(helvetica.widthOf(quint8('A' + i)), aToE[i]);
    const QList<int> t32to35 = {250, 333, 408, 500};
    for (int i = 0; i < t32to35.size(); ++i)
        QCOMPARE(times.widthOf(quint8(32 + i)), t32to35[i]);

    const QList<const FontWidths*> courier = {&kCourier, &kCourierBold, &kCourierOblique, &kCourierBoldOblique};
    for (const FontWidths* table : courier)
        for (auto w : *table)
            QCOMPARE(int(w), 600);
    const QList<std::pair<const FontWidths*, int>> proportional = {
        {&kHelvetica, 556}, {&kHelveticaBold, 556}, {&kHelveticaOblique, 556}, {&kHelveticaBoldOblique, 556},
        {&kTimesRoman, 500}, {&kTimesBold, 500}, {&kTimesItalic, 500}, {&kTimesBoldItalic, 500}};
    for (const auto& [table, euro] : proportional) {
        for (int code : {127, 129, 141, 143, 144, 157})
            QCOMPARE(int((*table)[size_t(code - 32)]), 0);
        // The no-break space and the soft hyphen are drawn as space and hyphen.
        QCOMPARE((*table)[160 - 32], (*table)[' ' - 32]);
        QCOMPARE((*table)[173 - 32], (*table)['-' - 32]);
        QCOMPARE(int((*table)[128 - 32]), euro);
        for (int code = 32; code < 127; ++code)
            QVERIFY(int((*table)[size_t(code - 32)]) > 0);
    }
    for (int code = 0; code < 32; ++code)
        QCOMPARE(helvetica.widthOf(quint8(code)), 0);
    QCOMPARE(helvetica.GetCharWidth("xA", 2), 667);
    QCOMPARE(helvetica.FirstChar(), quint8(32));
    QCOMPARE(helvetica.LastChar(), quint8(255));
}

void TestPdfWriter::fontsAreNamedInOrderAndMadeOnce()
{
    TPdfDoc doc;
    doc.NewDoc();
    TPdfFont& times = doc.GetFont("Times-Bold");
    TPdfFont& courier = doc.GetFont("FixedWidth-BoldItalic");
    QCOMPARE(&doc.GetFont("Times-Bold"), &times);
    QCOMPARE(doc.FontList().size(), size_t(2));
    QCOMPARE(times.Data()->PdfNameByName("Name")->Value, QByteArray("F0"));
    QCOMPARE(courier.Data()->PdfNameByName("Name")->Value, QByteArray("F1"));
    QCOMPARE(courier.Data()->PdfNameByName("BaseFont")->Value, QByteArray("Courier-BoldOblique"));

    const QList<std::pair<QByteArray, QByteArray>> bases = {
        {"FixedWidth", "Courier"}, {"FixedWidth-Bold", "Courier-Bold"}, {"FixedWidth-Italic", "Courier-Oblique"},
        {"Arial", "Helvetica"}, {"Arial-Bold", "Helvetica-Bold"}, {"Arial-Italic", "Helvetica-Oblique"},
        {"Arial-BoldItalic", "Helvetica-BoldOblique"}, {"Times-Roman", "Times-Roman"},
        {"Times-Italic", "Times-Italic"}, {"Times-BoldItalic", "Times-BoldItalic"}};
    for (const auto& [alias, base] : bases)
        QCOMPARE(doc.GetFont(alias).Data()->PdfNameByName("BaseFont")->Value, base);
    QCOMPARE(doc.FontList().size(), size_t(12));
}

void TestPdfWriter::fontDictionaryHidesWidths()
{
    TPdfXref xref;
    TPdfArialBold font(xref, "Arial-Bold");
    const QByteArray written = body(*font.Data());
    QVERIFY(!written.contains("Widths"));
    QCOMPARE(font.Data()->PdfArrayByName("Widths")->ItemCount(), 224);
}

void TestPdfWriter::unknownFontAlias()
{
    TPdfDoc doc;
    doc.NewDoc();
    const int before = doc.Xref().ItemCount();
    QCOMPARE(messageOf<AppError>([&] { doc.GetFont("Comic"); }), QStringLiteral("Klasse Comic nicht gefunden"));
    QCOMPARE(doc.Xref().ItemCount(), before);
    QVERIFY(doc.FontList().empty());
}

// ---------------------------------------------------------------- images

void TestPdfWriter::imageIndexedAndRgb()
{
    auto creator = createRegisteredImageCreator("Pdf-Bitmap");
    QVERIFY(creator);
    QVERIFY(!createRegisteredImageCreator("Pdf-Jpeg"));

    PdfBitmap mono;
    mono.Width = 3;
    mono.Height = 2;
    mono.BitsPerPixel = 1;
    mono.Palette = {{0, 0, 0}, {255, 255, 255}};
    mono.Pixels = QByteArray("\xA0\x40", 2); // 1 0 1 / 0 1 0
    auto image = creator->CreateImage(mono);
    QCOMPARE(image->Stream(), QByteArray("\x01\x00\x01\x00\x01\x00", 6));
    const QByteArray attrs = used(image->Attributes());
    QVERIFY(attrs.startsWith("<<\r\n/Length 0\r\n/Filter []\r\n/Type /XObject\r\n/Subtype /Image\r\n"
                             "/ColorSpace [/Indexed /DeviceRGB 255 <000000 FFFFFF 000000 "));
    QVERIFY(attrs.endsWith("000000 > ]\r\n/Width 3\r\n/Height 2\r\n/BitsPerComponent 8\r\n>>"));

    PdfBitmap rgb;
    rgb.Width = 2;
    rgb.Height = 1;
    rgb.BitsPerPixel = 32;
    rgb.Pixels = QByteArray("\x01\x02\x03\xFF\x04\x05\x06\xFF", 8);
    image = creator->CreateImage(rgb);
    QCOMPARE(image->Stream(), QByteArray("\x01\x02\x03\x04\x05\x06", 6));
    QCOMPARE(image->Attributes().PdfNameByName("ColorSpace")->Value, QByteArray("DeviceRGB"));
}

void TestPdfWriter::imageErrors()
{
    PdfBitmap rgb;
    rgb.Width = 1;
    rgb.Height = 1;
    rgb.Pixels = "abc";
    QCOMPARE(messageOf<EPdfInvalidImageFormat>([&] { CreateIndexedColorArray(rgb); }),
             QStringLiteral("only 8 bit color image is allowed."));
    rgb.BitsPerPixel = 8;
    QCOMPARE(messageOf<EPdfInvalidImageFormat>([&] { CreateIndexedColorArray(rgb); }),
             QStringLiteral("failed to get Palette.."));
    rgb.Width = 4;
    rgb.Palette = {{1, 2, 3}};
    TPdfBitmapImage creator;
    QVERIFY_THROWS_EXCEPTION(EPdfInvalidImageFormat, creator.CreateImage(rgb)); // too few bytes
}

QTEST_GUILESS_MAIN(TestPdfWriter)
#include "test_pdf_writer.moc"
