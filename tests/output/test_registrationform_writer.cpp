// The registration form's writer, checked on the XML it writes: widths, fields
// in order, drop-down entries, protection, page. LibreOffice reads it in
// test_registrationform_office.
#include "formsamples.h"

#include "output/ooxmlpackage.h"
#include "output/registrationformwriter.h"
#include "platform/apperror.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace bw;

namespace {

const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

QString val(const QXmlStreamReader& xml, const char* name = "val")
{
    return xml.attributes().value(W, QLatin1String(name)).toString();
}

double cm(const QString& twips)
{
    return twips.toDouble() / 1440 * 2.54;
}

struct Written {
    QByteArray document;
    QByteArray header;
    QByteArray settings;
};

Written write(const regform::Content& content)
{
    const OoxmlPackageReader package(RegistrationFormWriter(content).document());
    return {package.part(QStringLiteral("word/document.xml")), package.part(QStringLiteral("word/header1.xml")),
            package.part(QStringLiteral("word/settings.xml"))};
}

struct Table {
    QList<double> columns; // cm
    double width = 0;
    double indent = 0;
    QString layout;
};

QList<Table> tables(const QByteArray& document)
{
    QList<Table> result;
    QXmlStreamReader xml(document);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("tbl"))
            result << Table();
        else if (xml.name() == QLatin1String("gridCol"))
            result.last().columns << cm(val(xml, "w"));
        else if (xml.name() == QLatin1String("tblW"))
            result.last().width = cm(val(xml, "w"));
        else if (xml.name() == QLatin1String("tblInd"))
            result.last().indent = cm(val(xml, "w"));
        else if (xml.name() == QLatin1String("tblLayout"))
            result.last().layout = val(xml, "type");
    }
    return result;
}

// A field as written: its ffData name, instruction, the bookmark around it, its
// result, whether it is enabled, its entries.
struct WrittenField {
    QString name;
    QString instruction;
    QString bookmark;
    QString result;
    bool enabled = true;
    QStringList entries;
};

QList<WrittenField> fields(const QByteArray& document)
{
    QList<WrittenField> result;
    QString bookmark;
    bool inResult = false;
    QXmlStreamReader xml(document);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        if (name == QLatin1String("bookmarkStart")) {
            bookmark = val(xml, "name");
        } else if (name == QLatin1String("fldChar")) {
            const QString type = val(xml, "fldCharType");
            if (type == QLatin1String("begin")) {
                result << WrittenField();
                result.last().bookmark = bookmark;
            }
            inResult = type == QLatin1String("separate");
        } else if (name == QLatin1String("name")) {
            result.last().name = val(xml);
        } else if (name == QLatin1String("enabled")) {
            result.last().enabled = val(xml) != QLatin1String("0");
        } else if (name == QLatin1String("listEntry")) {
            result.last().entries << val(xml);
        } else if (name == QLatin1String("instrText")) {
            result.last().instruction = xml.readElementText();
        } else if (name == QLatin1String("t") && inResult) {
            result.last().result += xml.readElementText();
        }
    }
    return result;
}

// The texts of the table's first row, with whether each runs upwards.
QList<std::pair<QString, bool>> firstRowOfTable(const QByteArray& document, int table)
{
    QList<std::pair<QString, bool>> cells;
    QXmlStreamReader xml(document);
    int tablesSeen = 0;
    int rows = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("tbl")) {
            ++tablesSeen;
            rows = 0;
        }
        if (tablesSeen != table || !xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("tr") && ++rows > 1)
            break;
        if (xml.name() == QLatin1String("tc"))
            cells << std::pair<QString, bool>();
        else if (xml.name() == QLatin1String("textDirection"))
            cells.last().second = val(xml) == QLatin1String("btLr");
        else if (xml.name() == QLatin1String("t"))
            cells.last().first += xml.readElementText();
    }
    return cells;
}

// Last year's form in the file the new one goes to.
bool writeOldForm(const QString& file)
{
    QFile old(file);
    return old.open(QIODevice::WriteOnly) && old.write("the form of last year") > 0;
}

} // namespace

class TestRegistrationFormWriter : public QObject {
    Q_OBJECT
private slots:
    void nameColumnWidth_data();
    void nameColumnWidth();
    void pagePoints_data();
    void pagePoints();
    void tableWidths_data();
    void tableWidths();
    void fieldsInDocumentOrder_data();
    void fieldsInDocumentOrder();
    void dropDownFollowsClassNames();
    void protectedForForms();
    void landscapeA4WithHeader();
    void controlCharactersBecomeBlanks();
    void moreThan25ClassesRefused();
    void saveReplacesWholeFileOnly();
};

void TestRegistrationFormWriter::nameColumnWidth_data()
{
    QTest::addColumn<int>("classes");
    QTest::addColumn<int>("cm");
    QTest::newRow("none") << 0 << 8;
    QTest::newRow("5") << 5 << 7;
    QTest::newRow("10") << 10 << 6;
    QTest::newRow("20") << 20 << 3;
    QTest::newRow("25, the most") << 25 << 2;
}

void TestRegistrationFormWriter::nameColumnWidth()
{
    QFETCH(int, classes);
    QFETCH(int, cm);
    QCOMPARE(regform::nameColumnWidth(classes), cm);
}

void TestRegistrationFormWriter::pagePoints_data()
{
    QTest::addColumn<float>("cm");
    QTest::addColumn<float>("points");
    QTest::newRow("top margin") << 2.5f << 71.0f;
    QTest::newRow("left margin") << 2.0f << 57.0f;
    QTest::newRow("header distance") << 1.27f << 36.0f;
    QTest::newRow("page width") << 29.0f << 829.0f;
    QTest::newRow("page height") << 21.0f << 600.0f;
    QTest::newRow("nothing") << 0.0f << 0.0f;
}

void TestRegistrationFormWriter::pagePoints()
{
    QFETCH(float, cm);
    QFETCH(float, points);
    QCOMPARE(regform::pagePoints(cm), points);
}

void TestRegistrationFormWriter::tableWidths_data()
{
    QTest::addColumn<int>("classes");
    QTest::addColumn<QList<double>>("table3");
    QTest::addColumn<QList<double>>("table4");
    QTest::newRow("none") << 0 << QList<double>{16, 0, 8} << QList<double>{8, 8, 8};
    QTest::newRow("ten") << 10 << QList<double>{12, 8, 6}
                         << QList<double>{6, 6, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 6};
}

void TestRegistrationFormWriter::tableWidths()
{
    QFETCH(int, classes);
    QFETCH(QList<double>, table3);
    QFETCH(QList<double>, table4);
    const QList<Table> found = tables(write(test::sampleContent(classes)).document);
    QCOMPARE(found.size(), 4);
    const QList<QList<double>> columns{{5, 5}, {5, 5, 3, 5}, table3, table4};
    const double widths[] = {10, 18, 24, 24};
    const double indents[] = {0.5, 0.5, 0, 0};
    for (int t = 0; t < 4; ++t) {
        QCOMPARE(found[t].columns.size(), columns[t].size());
        for (qsizetype c = 0; c < columns[t].size(); ++c)
            QVERIFY2(qAbs(found[t].columns[c] - columns[t][c]) < 0.01,
                     qPrintable(QStringLiteral("table %1 column %2: %3 cm").arg(t + 1).arg(c + 1).arg(found[t].columns[c])));
        QVERIFY(qAbs(found[t].width - widths[t]) < 0.01);
        QVERIFY(qAbs(found[t].indent - indents[t]) < 0.01);
        QCOMPARE(found[t].layout, QStringLiteral("fixed"));
    }
}

void TestRegistrationFormWriter::fieldsInDocumentOrder_data()
{
    QTest::addColumn<int>("classes");
    QTest::newRow("no classes") << 0;
    QTest::newRow("three classes") << 3;
}

void TestRegistrationFormWriter::fieldsInDocumentOrder()
{
    QFETCH(int, classes);
    QStringList expected{QStringLiteral("verein"), QStringLiteral("ansprechpartner"), QStringLiteral("telefon")};
    for (int n = 1; n <= 17; ++n) {
        expected << QStringLiteral("nname%1").arg(n) << QStringLiteral("vname%1").arg(n);
        for (int k = 1; k <= classes; ++k)
            expected << QStringLiteral("klasse%1_%2").arg(n).arg(k);
        expected << QStringLiteral("sklasse%1").arg(n);
    }
    expected << QStringLiteral("anzahl");
    QCOMPARE(expected.size(), 3 + 17 * (classes + 3) + 1);

    const QList<WrittenField> found = fields(write(test::sampleContent(classes)).document);
    QStringList names;
    for (const WrittenField& field : found) {
        names << field.name;
        QCOMPARE(field.bookmark, field.name);
        const QString kind = field.name.startsWith(QLatin1String("klasse")) ? QStringLiteral(" FORMCHECKBOX ")
                             : field.name == QLatin1String("anzahl")      ? QStringLiteral(" FORMDROPDOWN ")
                                                                          : QStringLiteral(" FORMTEXT ");
        QCOMPARE(field.instruction, kind);
        // Word's empty text field: five en spaces.
        QCOMPARE(field.result, kind == QLatin1String(" FORMTEXT ") ? QString(5, QChar(0x2002)) : QString());
        QCOMPARE(field.enabled, field.name != QLatin1String("anzahl"));
    }
    QCOMPARE(names, expected);
}

void TestRegistrationFormWriter::dropDownFollowsClassNames()
{
    const auto entry = [](int kid, const char* name, ClassKind kind) {
        return ClassEntry{kid, QString::fromUtf8(name), kind};
    };
    const regform::Content content = test::contentWith({entry(7, "Herren A", ClassKind::Einzel),
                                                        entry(3, "Damen", ClassKind::Doppel),
                                                        entry(2, "Herren A", ClassKind::Doppel),
                                                        entry(5, "Ältere Herren", ClassKind::Einzel),
                                                        entry(9, "jugend", ClassKind::Mixed)});
    const Written written = write(content);
    QCOMPARE(fields(written.document).last().entries,
             (QStringList{QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("7"), QStringLiteral("2"),
                          QStringLiteral("9")}));
    const QList<std::pair<QString, bool>> titles = firstRowOfTable(written.document, 4);
    QCOMPARE(titles,
             (QList<std::pair<QString, bool>>{{QStringLiteral("Nachname"), false},
                                              {QStringLiteral("Vorname"), false},
                                              {QStringLiteral("Ältere Herren (Einzel)"), true},
                                              {QStringLiteral("Damen (Doppel)"), true},
                                              {QStringLiteral("Herren A (Einzel)"), true},
                                              {QStringLiteral("Herren A (Doppel)"), true},
                                              {QStringLiteral("jugend (Mixed)"), true},
                                              {QStringLiteral("(laut Mannschaftsaufstellung)"), false}}));
    QVERIFY(written.document.contains("<w:color w:val=\"FFFFFF\"/>"));
}

void TestRegistrationFormWriter::protectedForForms()
{
    QXmlStreamReader xml(write(test::sampleContent(2)).settings);
    bool protection = false;
    bool noShading = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("documentProtection")) {
            protection = true;
            QCOMPARE(val(xml, "edit"), QStringLiteral("forms"));
            QCOMPARE(val(xml, "enforcement"), QStringLiteral("1"));
            QCOMPARE(xml.attributes().size(), 2); // no password hash
        }
        noShading |= xml.name() == QLatin1String("doNotShadeFormData");
    }
    QVERIFY(protection);
    QVERIFY(noShading);
}

void TestRegistrationFormWriter::landscapeA4WithHeader()
{
    const Written written = write(test::sampleContent(1));
    QXmlStreamReader xml(written.document);
    QMap<QString, QString> page;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && (xml.name() == QLatin1String("pgSz") || xml.name() == QLatin1String("pgMar")))
            for (const QXmlStreamAttribute& a : xml.attributes())
                page[a.name().toString()] = a.value().toString();
    }
    // 29.7 x 21 cm; margins 2.5, 2.5, 2.5 and 2 cm; header and footer 1.27 cm.
    const QMap<QString, QString> expected{
        {QStringLiteral("w"), QStringLiteral("16838")},     {QStringLiteral("h"), QStringLiteral("11906")},
        {QStringLiteral("orient"), QStringLiteral("landscape")}, {QStringLiteral("top"), QStringLiteral("1417")},
        {QStringLiteral("bottom"), QStringLiteral("1417")}, {QStringLiteral("right"), QStringLiteral("1417")},
        {QStringLiteral("left"), QStringLiteral("1134")},   {QStringLiteral("header"), QStringLiteral("720")},
        {QStringLiteral("footer"), QStringLiteral("720")},  {QStringLiteral("gutter"), QStringLiteral("0")}};
    QCOMPARE(page, expected);

    QXmlStreamReader header(written.header);
    QStringList lines;
    while (!header.atEnd()) {
        header.readNext();
        if (!header.isStartElement())
            continue;
        if (header.name() == QLatin1String("p"))
            lines << QString();
        else if (header.name() == QLatin1String("t"))
            lines.last() += header.readElementText();
        else if (header.name() == QLatin1String("rFonts"))
            QCOMPARE(val(header, "ascii"), QStringLiteral("Times New Roman"));
        else if (header.name() == QLatin1String("sz"))
            QCOMPARE(val(header), QStringLiteral("32"));
        else if (header.name() == QLatin1String("jc"))
            QCOMPARE(val(header), QStringLiteral("center"));
    }
    QCOMPARE(lines, (QStringList{QStringLiteral("Meldeformular"), QStringLiteral("für"),
                                 QStringLiteral("Stadtmeisterschaft Brackwell 2024"),
                                 QStringLiteral("Jugend & Erwachsene")}));
    QVERIFY(written.header.contains("<w:b/><w:i/>"));
}

void TestRegistrationFormWriter::controlCharactersBecomeBlanks()
{
    regform::Content content = test::sampleContent(1);
    content.turniername = QStringLiteral("Stadt\u0001meisterschaft\t2024");
    content.classes[0].name = QStringLiteral("Herren\u000bA");
    const Written written = write(content);
    for (const QByteArray& part : {written.document, written.header}) {
        QXmlStreamReader xml(part);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    }
    QVERIFY(written.header.contains("Stadt meisterschaft 2024"));
    QVERIFY(written.document.contains("Herren A (Einzel)"));
}

void TestRegistrationFormWriter::moreThan25ClassesRefused()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("form.docx"));
    QVERIFY(writeOldForm(file));
    QFile old(file);
    try {
        RegistrationFormWriter(test::sampleContent(26)).save(file);
        QFAIL("26 classes were written");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), QStringLiteral("Das Anmeldeformular fasst höchstens 25 Klassen, das Turnier hat 26."));
    }
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the form of last year"));
    QCOMPARE(fields(write(test::sampleContent(25)).document).last().entries.size(), 25);
}

void TestRegistrationFormWriter::saveReplacesWholeFileOnly()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("form.docx"));
    QVERIFY(writeOldForm(file));
    QFile old(file);

    QList<int> steps;
    const RegistrationFormWriter writer(test::sampleContent(4));
    writer.save(file, [&](int n) { steps << n; });
    QCOMPARE(steps, (QList<int>{10, 10, 10, 10, 20, 20, 10, 10}));
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QString documentPart = QStringLiteral("word/document.xml");
    QCOMPARE(OoxmlPackageReader(old.readAll()).part(documentPart),
             OoxmlPackageReader(writer.document()).part(documentPart));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("form.docx")});

    const QString nowhere = dir.filePath(QStringLiteral("missing/form.docx"));
    try {
        writer.save(nowhere);
        QFAIL("written into a missing folder");
    } catch (const AppError& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: ").arg(nowhere)),
                 qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(TestRegistrationFormWriter)
#include "test_registrationform_writer.moc"
