// Reading sheets for the player import: the committed workbooks (made by
// fixtures/make_sheet_fixtures.py with openpyxl, which writes inline strings,
// and saved again by LibreOffice as .xlsx with shared strings and as .xls) must
// give the same texts; small packages built here reach what those files do not
// (sheet order, rich text, the 1904 system, cells without references) and the
// damaged and hostile input the readers must refuse with a German message.
#include "output/ooxmlpackage.h"
#include "output/sheetreader.h"
#include "platform/apperror.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <functional>

using namespace bw;

Q_DECLARE_METATYPE(bw::TextTable)

namespace bw {
// The table in a failure's report: one line of texts per row.
char* toString(const TextTable& table)
{
    QStringList lines{table.fieldNames.join(QLatin1Char('|'))};
    for (const QStringList& row : table.rows)
        lines << row.join(QLatin1Char('|'));
    return qstrdup(lines.join(QLatin1Char('\n')).toUtf8().constData());
}
} // namespace bw

namespace {

QString fixturePath(const QString& name)
{
    return QString::fromLocal8Bit(qgetenv("BRACKWELL_SOURCE_DIR")) + QStringLiteral("/tests/output/fixtures/") + name;
}

const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

// An .xlsx of the given workbook body (inside <sheets>), its relationships,
// and parts.
QByteArray workbook(const QString& sheets, const QString& rels, const QList<std::pair<QString, QString>>& parts,
                    const QString& workbookPr = QString())
{
    OoxmlPackageWriter package;
    package.addPart(QStringLiteral("_rels/.rels"),
                    QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                   "relationships\"><Relationship Id=\"r1\" Type=\"%1/officeDocument\" "
                                   "Target=\"xl/workbook.xml\"/></Relationships>")
                        .arg(kRelNs)
                        .toUtf8());
    package.addPart(QStringLiteral("xl/workbook.xml"),
                    QStringLiteral("<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                                   "xmlns:r=\"%1\">%2<sheets>%3</sheets></workbook>")
                        .arg(kRelNs, workbookPr, sheets)
                        .toUtf8());
    package.addPart(QStringLiteral("xl/_rels/workbook.xml.rels"),
                    QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                   "relationships\">%1</Relationships>")
                        .arg(rels)
                        .toUtf8());
    for (const auto& [name, xml] : parts)
        package.addPart(name, xml.toUtf8());
    return package.finish();
}

QString rel(const QString& id, const QString& type, const QString& target)
{
    return QStringLiteral("<Relationship Id=\"%1\" Type=\"%2/%3\" Target=\"%4\"/>").arg(id, kRelNs, type, target);
}

QString sheetXml(const QString& rows)
{
    return QStringLiteral("<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                          "<sheetData>%1</sheetData></worksheet>")
        .arg(rows);
}

// A one-sheet book with the given sheet data, shared strings and styles.
QByteArray oneSheet(const QString& rows, const QString& shared = QString(), const QString& styles = QString(),
                    const QString& workbookPr = QString())
{
    QString rels = rel(QStringLiteral("rId1"), QStringLiteral("worksheet"), QStringLiteral("worksheets/sheet1.xml"));
    QList<std::pair<QString, QString>> parts{{QStringLiteral("xl/worksheets/sheet1.xml"), sheetXml(rows)}};
    if (!shared.isEmpty()) {
        rels += rel(QStringLiteral("rId2"), QStringLiteral("sharedStrings"), QStringLiteral("sharedStrings.xml"));
        parts.append({QStringLiteral("xl/sharedStrings.xml"),
                      QStringLiteral("<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">%1"
                                     "</sst>")
                          .arg(shared)});
    }
    if (!styles.isEmpty()) {
        rels += rel(QStringLiteral("rId3"), QStringLiteral("styles"), QStringLiteral("styles.xml"));
        parts.append({QStringLiteral("xl/styles.xml"),
                      QStringLiteral("<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                                     "main\">%1</styleSheet>")
                          .arg(styles)});
    }
    return workbook(QStringLiteral("<sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/>"), rels, parts, workbookPr);
}

QString inlineCell(const QString& ref, const QString& text)
{
    return QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>").arg(ref, text);
}

TextTable table(const QStringList& names, const QList<QStringList>& rows)
{
    return TextTable{names, rows};
}

// "A" for column 0, "AB" for column 27.
QString columnLetters(int column)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

QString writeTemporary(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray fixtureBytes(const QString& name)
{
    QFile file(fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture %s missing", qPrintable(name));
    return file.readAll();
}

// The committed .xls (a version 3 compound file of 512-byte sectors) with one
// of its structures changed.
QByteArray changedXls(const std::function<void(QByteArray&)>& change)
{
    QByteArray bytes = fixtureBytes(QStringLiteral("players.xls"));
    change(bytes);
    return bytes;
}

quint32 u32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

void setU32(QByteArray& bytes, qsizetype at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + at);
}

// Where a sector starts, and the first directory entry after the root.
qsizetype sectorAt(quint32 sector)
{
    return (qsizetype(sector) + 1) * 512;
}
qsizetype firstStream(const QByteArray& bytes)
{
    return sectorAt(u32(bytes, 48)) + 128;
}

} // namespace

class TestSheetReader : public QObject {
    Q_OBJECT

private slots:
    void fixtures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("openpyxl, inline strings") << QStringLiteral("players.xlsx");
        QTest::newRow("LibreOffice, shared strings") << QStringLiteral("players-libreoffice.xlsx");
        QTest::newRow("LibreOffice, .xls") << QStringLiteral("players.xls");
    }

    // One sheet, three files, the same texts: the second sheet is not read, the
    // date cells read as dates and the date typed as text stays as typed.
    void fixtures()
    {
        QFETCH(QString, file);
        const TextTable expected = table(
            {QStringLiteral("Name"), QStringLiteral("Vorname"), QStringLiteral("Verein"),
             QStringLiteral("Geburtstag"), QStringLiteral("Punkte"), QStringLiteral("Land")},
            {{QStringLiteral("Müller"), QStringLiteral("Jürgen"), QStringLiteral("TTC Großdorf"),
              QStringLiteral("07.03.1984"), QStringLiteral("1520"), QStringLiteral("Deutschland")},
             {QStringLiteral("Özdemir"), QStringLiteral("Ayşe"), QString(), QStringLiteral("12.11.1999"),
              QStringLiteral("1433,5"), QStringLiteral("Österreich")},
             {QStringLiteral("Weiß"), QString(), QStringLiteral("SV Nord"), QStringLiteral("24.12.2001"),
              QStringLiteral("0"), QString()},
             {QStringLiteral("Schäfer"), QStringLiteral("Lena"), QStringLiteral("TSV Süd"),
              QStringLiteral("kein Datum"), QStringLiteral("-12"), QStringLiteral("Schweiz")}});
        QCOMPARE(SheetReader::readFile(fixturePath(file)), expected);
    }

    void xlsx_data()
    {
        QTest::addColumn<QByteArray>("book");
        QTest::addColumn<TextTable>("expected");

        // The first sheet is the first of workbook.xml, whatever the part names
        // and the order of the relationships; a chart sheet does not count.
        QTest::newRow("sheet order from the workbook")
            << workbook(QStringLiteral("<sheet name=\"Diagramm\" sheetId=\"3\" r:id=\"rId9\"/>"
                                       "<sheet name=\"Erst\" sheetId=\"2\" r:id=\"rId2\"/>"
                                       "<sheet name=\"Zweit\" sheetId=\"1\" r:id=\"rId1\"/>"),
                        rel(QStringLiteral("rId1"), QStringLiteral("worksheet"), QStringLiteral("worksheets/a.xml"))
                            + rel(QStringLiteral("rId2"), QStringLiteral("worksheet"),
                                  QStringLiteral("/xl/worksheets/../worksheets/b.xml"))
                            + rel(QStringLiteral("rId9"), QStringLiteral("chartsheet"),
                                  QStringLiteral("chartsheets/c.xml")),
                        {{QStringLiteral("xl/worksheets/a.xml"),
                          sheetXml(QStringLiteral("<row r=\"1\">%1</row>").arg(inlineCell("A1", "falsch")))},
                         {QStringLiteral("xl/worksheets/b.xml"),
                          sheetXml(QStringLiteral("<row r=\"1\">%1</row>").arg(inlineCell("A1", "richtig")))},
                         {QStringLiteral("xl/chartsheets/c.xml"), QStringLiteral("<chartsheet/>")}})
            << table({QStringLiteral("richtig")}, {});

        // Shared strings with rich text runs (the phonetic run left out); cells
        // and rows without references follow the one before; a gap keeps its
        // column; rows without text are left out.
        QTest::newRow("shared strings and references")
            << oneSheet(QStringLiteral("<row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c></row>"
                                       "<row><c r=\"C2\" t=\"s\"><v>1</v></c></row>"
                                       "<row r=\"4\"><c r=\"B4\"/></row>"
                                       "<row r=\"7\"><c r=\"A7\" t=\"s\"><v>0</v></c></row>"),
                        QStringLiteral("<si><r><t>Na</t></r><r><t xml:space=\"preserve\">me </t></r>"
                                       "<rPh><t>ナ</t></rPh></si><si><t>Köln</t></si>"))
            << table({QStringLiteral("Name "), QStringLiteral("Köln"), QString()},
                     {{QString(), QString(), QStringLiteral("Köln")}, {QStringLiteral("Name "), QString(), QString()}});

        // Number formats: a built-in date, a custom date with quoted text, a
        // time alone, an elapsed time, a plain number; yes/no, an error, a
        // formula's text; an ISO date cell.
        const QString styles = QStringLiteral(
            "<numFmts><numFmt numFmtId=\"170\" formatCode=\"&quot;am &quot;d/m/yy\"/>"
            "<numFmt numFmtId=\"171\" formatCode=\"0.00&quot; Tage&quot;\"/>"
            "<numFmt numFmtId=\"172\" formatCode=\"[h]:mm\"/><numFmt numFmtId=\"173\" formatCode=\"General\"/>"
            "<numFmt numFmtId=\"174\" formatCode=\"0.00E+00\"/></numFmts>"
            "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
            "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"170\"/><xf numFmtId=\"21\"/>"
            "<xf numFmtId=\"171\"/><xf numFmtId=\"172\"/><xf numFmtId=\"173\"/><xf numFmtId=\"174\"/></cellXfs>");
        QTest::newRow("formats")
            << oneSheet(QStringLiteral("<row r=\"1\">%1</row><row r=\"2\">"
                                       "<c r=\"A2\" s=\"1\"><v>45000</v></c><c r=\"B2\" s=\"2\"><v>59.5</v></c>"
                                       "<c r=\"C2\" s=\"3\"><v>0.5</v></c><c r=\"D2\" s=\"4\"><v>2.25</v></c>"
                                       "<c r=\"E2\" s=\"0\"><v>3.0</v></c><c r=\"F2\" t=\"b\"><v>1</v></c>"
                                       "<c r=\"G2\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c>"
                                       "<c r=\"H2\" t=\"str\"><f>A1</f><v>x</v></c>"
                                       "<c r=\"I2\" t=\"d\"><v>2024-02-29T00:00:00</v></c>"
                                       "<c r=\"J2\" s=\"5\"><v>0.25</v></c><c r=\"K2\" s=\"6\"><v>1520</v></c>"
                                       "<c r=\"L2\" s=\"7\"><v>1433.5</v></c></row>")
                            .arg(inlineCell("A1", "a")),
                        QString(), styles)
            << table({QStringLiteral("a"), {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}},
                     {{QStringLiteral("15.03.2023"), QStringLiteral("28.02.1900"), QStringLiteral("12:00:00"),
                       QStringLiteral("2,25"), QStringLiteral("3"), QStringLiteral("WAHR"), QStringLiteral("#DIV/0!"),
                       QStringLiteral("x"), QStringLiteral("29.02.2024"), QStringLiteral("06:00:00"),
                       QStringLiteral("1520"), QStringLiteral("1433,5")}});

        // A column without any text is left out: one stray cell far right adds
        // one column, not thousands, and an empty column closes up.
        QTest::newRow("a stray cell far right")
            << oneSheet(QStringLiteral("<row r=\"1\">%1%2%3</row><row r=\"2\">%4%5</row>")
                            .arg(inlineCell("A1", "Name"), inlineCell("C1", "Vorname"), inlineCell("XFD1", "x"),
                                 inlineCell("A2", "Berg"), inlineCell("C2", "Cem")))
            << table({QStringLiteral("Name"), QStringLiteral("Vorname"), QStringLiteral("x")},
                     {{QStringLiteral("Berg"), QStringLiteral("Cem"), QString()}});

        // Texts past kMaxCellText characters are cut, however they come.
        const QString longText(100000, QLatin1Char('y'));
        QTest::newRow("long texts cut")
            << oneSheet(QStringLiteral("<row r=\"1\">%1<c r=\"B1\" t=\"s\"><v>0</v></c>"
                                       "<c r=\"C1\" t=\"str\"><v>%2</v></c>"
                                       "<c r=\"D1\" t=\"inlineStr\"><is><r><t>%3</t></r><r><t>%3</t></r></is></c></row>")
                            .arg(inlineCell("A1", longText), longText, QString(200, QLatin1Char('z'))),
                        QStringLiteral("<si><t>%1</t></si>").arg(longText))
            << table({QString(255, QLatin1Char('y')), QString(255, QLatin1Char('y')), QString(255, QLatin1Char('y')),
                      QString(255, QLatin1Char('z'))},
                     {});

        QTest::newRow("1904 dates")
            << oneSheet(QStringLiteral("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>0</v></c></row>"), QString(),
                        QStringLiteral("<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>"),
                        QStringLiteral("<workbookPr date1904=\"1\"/>"))
            << table({QStringLiteral("01.01.1904")}, {});
    }

    void xlsx()
    {
        QFETCH(QByteArray, book);
        QFETCH(TextTable, expected);
        QCOMPARE(SheetReader::readXlsx(book), expected);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("no workbook") << QByteArray("Name;Vorname\r\nMüller;Jürgen\r\n")
                                     << QStringLiteral("keine Excel-Arbeitsmappe");
        QTest::newRow("a zip without a workbook")
            << [] {
                   OoxmlPackageWriter package;
                   package.addPart(QStringLiteral("word/document.xml"), "<w/>");
                   return package.finish();
               }()
            << QStringLiteral("Arbeitsmappe „xl/workbook.xml“ fehlt");
        QTest::newRow("no worksheet") << workbook(QString(), QString(), {})
                                      << QStringLiteral("kein Tabellenblatt");
        QTest::newRow("shared string beyond the table")
            << oneSheet(QStringLiteral("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>3</v></c></row>"),
                        QStringLiteral("<si><t>a</t></si>"))
            << QStringLiteral("Eintrag „3“");
        QTest::newRow("column beyond XFD")
            << oneSheet(QStringLiteral("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"))
            << QStringLiteral("Zellbezug „XFE1“");
        QTest::newRow("row beyond the sheet")
            << oneSheet(QStringLiteral("<row r=\"1048577\"><c><v>1</v></c></row>"))
            << QStringLiteral("Zeilennummer „1048577“");
        QTest::newRow("a table too large")
            << [] {
                   // A diagonal of 1,500 cells: 1,500 rows of 1,500 columns each.
                   QString rows;
                   for (int i = 0; i < 1500; ++i)
                       rows += QStringLiteral("<row r=\"%1\"><c r=\"%2%1\"><v>1</v></c></row>")
                                   .arg(i + 1)
                                   .arg(columnLetters(i));
                   return oneSheet(rows);
               }()
            << QStringLiteral("mehr als 2000000 Zellen");
        QTest::newRow("document type declaration")
            << workbook(QStringLiteral("<sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/>"),
                        rel(QStringLiteral("rId1"), QStringLiteral("worksheet"), QStringLiteral("worksheets/s.xml")),
                        {{QStringLiteral("xl/worksheets/s.xml"),
                          QStringLiteral("<!DOCTYPE worksheet [<!ENTITY a \"b\">]>") + sheetXml(QString())}})
            << QStringLiteral("Dokumenttyp");
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("liste.xlsx"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        try {
            SheetReader::readFile(path);
            QFAIL("no error");
        } catch (const AppError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    // A damaged .xls is refused before libfreexl reads it: the compound file's
    // header, chains and directory entries are checked first.
    void damagedXls_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("damage");
        QTest::newRow("cut in half") << changedXls([](QByteArray& b) { b.truncate(b.size() / 2); })
                                     << QStringLiteral("zeigt auf einen Sektor, den es nicht gibt");
        QTest::newRow("no more than a header") << fixtureBytes(QStringLiteral("players.xls")).left(300)
                                               << QStringLiteral("kürzer als der Kopf einer Verbunddatei");
        for (int bytes : {66, 250, 65535})
            QTest::newRow(qPrintable(QStringLiteral("a name of %1 bytes").arg(bytes)))
                << changedXls([bytes](QByteArray& b) { qToLittleEndian<quint16>(quint16(bytes), b.data() + firstStream(b) + 64); })
                << QStringLiteral("ein Verzeichniseintrag nennt einen Namen von %1 Bytes").arg(bytes);
        QTest::newRow("a name of an odd count of bytes")
            << changedXls([](QByteArray& b) { qToLittleEndian<quint16>(17, b.data() + firstStream(b) + 64); })
            << QStringLiteral("ein Verzeichniseintrag nennt einen Namen von 17 Bytes");
        QTest::newRow("an unknown entry type")
            << changedXls([](QByteArray& b) { b[firstStream(b) + 66] = 7; })
            << QStringLiteral("ein Verzeichniseintrag hat den unbekannten Typ 7");
        QTest::newRow("a sibling beyond the directory")
            << changedXls([](QByteArray& b) { setU32(b, firstStream(b) + 68, 4000); })
            << QStringLiteral("verweist auf einen Eintrag, den es nicht gibt");
        // The workbook is a short stream: its chain in the short allocation table.
        QTest::newRow("a short chain in a circle")
            << changedXls([](QByteArray& b) {
                   const quint32 start = u32(b, firstStream(b) + 116);
                   setU32(b, sectorAt(u32(b, 60)) + 4 * start, start);
               })
            << QStringLiteral("eine Sektorkette läuft im Kreis");
        QTest::newRow("the directory's chain in a circle")
            << changedXls([](QByteArray& b) {
                   const quint32 directory = u32(b, 48);
                   setU32(b, sectorAt(u32(b, 76)) + 4 * directory, directory);
               })
            << QStringLiteral("eine Sektorkette läuft im Kreis");
        QTest::newRow("a stream longer than its chain")
            << changedXls([](QByteArray& b) { setU32(b, firstStream(b) + 120, 4000); })
            << QStringLiteral("ein Datenstrom ist länger als seine Sektorkette");
        QTest::newRow("a header of sectors of 1024 bytes")
            << changedXls([](QByteArray& b) { qToLittleEndian<quint16>(10, b.data() + 30); })
            << QStringLiteral("der Kopf der Verbunddatei ist ungültig");
        QTest::newRow("more allocation sectors than the file has")
            << changedXls([](QByteArray& b) { setU32(b, 44, 1000); })
            << QStringLiteral("der Kopf nennt mehr Sektoren, als die Datei hat");
    }
    void damagedXls()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, damage);
        QTemporaryDir dir;
        const QString path = writeTemporary(dir, QStringLiteral("kaputt.xls"), bytes);
        try {
            SheetReader::readFile(path);
            QFAIL("no error");
        } catch (const AppError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Die Excel-Datei kann nicht gelesen werden: Die Datei ist "
                                                           "beschädigt: ")),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(damage), qPrintable(e.message()));
        }
    }

    // Text nested deep inside a cell is refused, inline or shared; a few levels
    // still read.
    void deeplyNestedText_data()
    {
        QTest::addColumn<bool>("shared");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("outcome");
        const QString refused = QStringLiteral("tiefer als 32 Ebenen verschachtelt");
        QTest::newRow("inline, 60000 levels") << false << 60000 << refused;
        QTest::newRow("shared, 60000 levels") << true << 60000 << refused;
        QTest::newRow("inline, 33 levels") << false << 33 << refused;
        QTest::newRow("inline, 32 levels") << false << 32 << QStringLiteral("tief");
        QTest::newRow("shared, 3 levels") << true << 3 << QStringLiteral("tief");
    }
    void deeplyNestedText()
    {
        QFETCH(bool, shared);
        QFETCH(int, depth);
        QFETCH(QString, outcome);
        const QString text = QStringLiteral("<i>").repeated(depth) + QStringLiteral("tief") +
                             QStringLiteral("</i>").repeated(depth);
        const QByteArray book =
            shared ? oneSheet(QStringLiteral("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"),
                              QStringLiteral("<si><t>%1</t></si>").arg(text))
                   : oneSheet(QStringLiteral("<row r=\"1\">%1</row>").arg(inlineCell("A1", text)));
        try {
            QCOMPARE(SheetReader::readXlsx(book).fieldNames, QStringList{outcome});
        } catch (const AppError& e) {
            QVERIFY2(e.message().contains(outcome), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestSheetReader)
#include "test_sheetreader.moc"
