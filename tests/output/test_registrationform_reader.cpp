// Reading returned registration forms: filled as Word fills them, saved by
// LibreOffice 7.4 (fixtures/), and the damaged, foreign and hostile files the
// reader must refuse with a German message.
#include "formsamples.h"

#include "output/ooxmlpackage.h"
#include "output/registrationformreader.h"
#include "output/registrationformwriter.h"
#include "platform/apperror.h"

#include <QFile>
#include <QRegularExpression>
#include <QtEndian>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace bw;

Q_DECLARE_METATYPE(bw::ReturnedForm)

namespace {

QByteArray fixture(const QString& name)
{
    QFile file(QString::fromLocal8Bit(qgetenv("BRACKWELL_SOURCE_DIR")) + QStringLiteral("/tests/output/fixtures/")
               + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture %s missing", qPrintable(name));
    return file.readAll();
}

QByteArray filled(int classes, const test::Filling& filling)
{
    return test::fillLikeWord(RegistrationFormWriter(test::sampleContent(classes)).document(), filling);
}

// A package of just a main document part.
QByteArray packageWith(const QByteArray& documentXml, const QString& part = QStringLiteral("word/document.xml"))
{
    OoxmlPackageWriter package;
    package.addPart(QStringLiteral("_rels/.rels"),
                    QStringLiteral("<?xml version=\"1.0\"?><Relationships "
                                   "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                   "<Relationship Id=\"r1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                                   "2006/relationships/officeDocument\" Target=\"/%1\"/></Relationships>")
                        .arg(part)
                        .toUtf8());
    package.addPart(part, documentXml);
    return package.finish();
}

QByteArray documentXml(const QString& body)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document "
                           "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>")
            + body + QStringLiteral("</w:body></w:document>"))
        .toUtf8();
}

// A legacy field in one paragraph: begin (with `ffData` inside), instruction,
// separator and result runs when `result` is given, end; `inside` goes right
// after the separator (or the instruction).
QString field(const QString& ffData, const QString& instruction, const QStringList& result = {},
              const QString& before = {}, const QString& inside = {})
{
    QString xml = before + QStringLiteral("<w:r><w:fldChar w:fldCharType=\"begin\">");
    if (!ffData.isEmpty())
        xml += QStringLiteral("<w:ffData>") + ffData + QStringLiteral("</w:ffData>");
    xml += QStringLiteral("</w:fldChar></w:r><w:r><w:instrText xml:space=\"preserve\"> %1 </w:instrText></w:r>")
               .arg(instruction);
    if (!result.isEmpty() || !inside.isEmpty()) {
        xml += QStringLiteral("<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>") + inside;
        for (const QString& run : result)
            xml += QStringLiteral("<w:r><w:t xml:space=\"preserve\">%1</w:t></w:r>").arg(run);
    }
    return xml + QStringLiteral("<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>");
}

QString paragraph(const QString& content)
{
    return QStringLiteral("<w:p>") + content + QStringLiteral("</w:p>");
}

QString name(const QString& value)
{
    return QStringLiteral("<w:name w:val=\"%1\"/>").arg(value);
}

QString bookmark(const QString& id, const QString& value)
{
    return QStringLiteral("<w:bookmarkStart w:id=\"%1\" w:name=\"%2\"/>").arg(id, value);
}

// A fourth table whose second row holds `cells` after two empty cells.
QString fourthTable(const QString& cells)
{
    const QString empty = QStringLiteral("<w:tbl><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl>");
    return empty + empty + empty
           + QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"1\"/></w:tblGrid><w:tr><w:tc><w:p/></w:tc></w:tr>"
                            "<w:tr><w:tc><w:p/></w:tc><w:tc><w:p/></w:tc>%1</w:tr></w:tbl>")
                 .arg(cells);
}

QString cell(const QString& content, const QString& properties = {})
{
    return QStringLiteral("<w:tc>%1<w:p>%2</w:p></w:tc>").arg(properties, content);
}

QString fieldText(const FormField& f)
{
    const char* kinds[] = {"text", "box", "list"};
    return QStringLiteral("%1 %2 [%3]%4%5")
        .arg(QLatin1String(kinds[int(f.kind)]), f.name, f.result, f.ticked ? QStringLiteral(" ticked") : QString(),
             f.entries.isEmpty() ? QString() : QLatin1Char(' ') + f.entries.join(QLatin1Char(',')));
}

QString readError(const std::function<void()>& read)
{
    try {
        read();
    } catch (const AppError& e) {
        return e.message();
    }
    return QStringLiteral("(read without error)");
}

} // namespace

class TestRegistrationFormReader : public QObject {
    Q_OBJECT
private slots:
    void fixtures_data();
    void fixtures();
    void libreOfficeFixturesCoverTheirCase();
    void fieldNamesAndValues_data();
    void fieldNamesAndValues();
    void formRefused_data();
    void formRefused();
    void textsTooLong_data();
    void textsTooLong();
    void clubFromFirstFieldWithoutVerein();
    void outsideInputRefused_data();
    void outsideInputRefused();
    void mainDocumentNamedByRelationships();
    void readFile();
};

void TestRegistrationFormReader::fixtures_data()
{
    QTest::addColumn<QByteArray>("docx");
    QTest::addColumn<ReturnedForm>("expected");
    QTest::addColumn<QString>("error");

    QTest::newRow("word_style_filled") << filled(3, test::sampleFilling()) << test::sampleFillingRead() << QString();
    // Made from word_style_filled by LibreOffice 7.4: soffice --convert-to "docx:MS Word 2007 XML",
    // and that file converted once more.
    QTest::newRow("libreoffice_saved_filled")
        << fixture(QStringLiteral("libreoffice_saved_filled.docx")) << test::sampleFillingRead() << QString();
    QTest::newRow("libreoffice_saved_twice")
        << fixture(QStringLiteral("libreoffice_saved_twice.docx")) << test::sampleFillingRead() << QString();

    ReturnedForm unfilled;
    unfilled.classIds = {97, 100, 94};
    QTest::newRow("unfilled") << filled(3, {}) << unfilled << QString();
    QTest::newRow("no_classes") << filled(0, {}) << ReturnedForm() << QString();

    test::Filling all;
    ReturnedForm allRead;
    allRead.verein = QStringLiteral("TSV");
    all.verein = allRead.verein;
    allRead.classIds = unfilled.classIds;
    for (int n = 1; n <= 17; ++n) {
        const QList<int> ticked = n % 4 == 0 ? QList<int>{} : QList<int>{n % 4};
        all.rows[n] = {QStringLiteral("Name%1").arg(n), QStringLiteral("Vorname%1").arg(n), QString(), ticked};
        allRead.players << ReturnedPlayer{n, all.rows[n].nachname, all.rows[n].vorname, QString(), ticked};
    }
    QTest::newRow("all_17_rows_filled") << filled(3, all) << allRead << QString();

    test::Filling half;
    half.rows[4] = {QStringLiteral("Schmidt"), QString(), QStringLiteral("Kreisliga"), {1, 2, 3}};
    half.rows[5] = {QString(), QStringLiteral("Paul"), QString(), {2}};
    QTest::newRow("surname_only_row_skipped") << filled(3, half) << unfilled << QString();

    test::Filling twice;
    twice.rows[3] = {QStringLiteral("Meier"), QStringLiteral("Anna"), QString(), {1}};
    twice.rows[4] = {QStringLiteral("Meier"), QStringLiteral("Anna"), QString(), {2}};
    ReturnedForm twiceRead = unfilled;
    twiceRead.players = {{3, QStringLiteral("Meier"), QStringLiteral("Anna"), QString(), {1}},
                         {4, QStringLiteral("Meier"), QStringLiteral("Anna"), QString(), {2}}};
    QTest::newRow("same_name_twice") << filled(3, twice) << twiceRead << QString();

    test::Filling named = test::sampleFilling();
    named.entries = {QStringLiteral("97"), QStringLiteral("Herren A"), QStringLiteral("94")};
    QTest::newRow("non_numeric_dropdown_entry")
        << filled(3, named) << ReturnedForm()
        << QStringLiteral("Der Eintrag 2 der Klassenliste des Anmeldeformulars ist „Herren A“, keine Klassennummer.");
}

void TestRegistrationFormReader::fixtures()
{
    QFETCH(QByteArray, docx);
    QFETCH(ReturnedForm, expected);
    QFETCH(QString, error);
    if (!error.isEmpty()) {
        QCOMPARE(readError([&] { RegistrationFormReader::read(docx); }), error);
        return;
    }
    const ReturnedForm form = RegistrationFormReader::read(docx);
    QCOMPARE(form.verein, expected.verein);
    QCOMPARE(form.classIds, expected.classIds);
    QCOMPARE(form.players.size(), expected.players.size());
    for (qsizetype i = 0; i < form.players.size(); ++i) {
        QCOMPARE(form.players[i].row, expected.players[i].row);
        QCOMPARE(form.players[i].nachname, expected.players[i].nachname);
        QCOMPARE(form.players[i].vorname, expected.players[i].vorname);
        QCOMPARE(form.players[i].spielklasse, expected.players[i].spielklasse);
        QCOMPARE(form.players[i].classColumns, expected.players[i].classColumns);
    }
}

void TestRegistrationFormReader::libreOfficeFixturesCoverTheirCase()
{
    // LibreOffice keeps the text fields' names, writes the check boxes without a
    // name and the drop-down with a generated one; the first save keeps their
    // bookmarks, the second loses them, so only their places name the boxes.
    const QList<std::pair<QString, bool>> fixtures{{QStringLiteral("libreoffice_saved_filled.docx"), true},
                                                   {QStringLiteral("libreoffice_saved_twice.docx"), false}};
    for (const auto& [file, bookmarks] : fixtures) {
        const OoxmlPackageReader package(fixture(file));
        const QString xml = QString::fromUtf8(package.part(QStringLiteral("word/document.xml")));
        QVERIFY(xml.contains(QStringLiteral("<w:name w:val=\"nname1\"/>")));
        QVERIFY(!xml.contains(QStringLiteral("<w:name w:val=\"klasse1_1\"/>")));
        QVERIFY(xml.contains(QStringLiteral("<w:name w:val=\"\"/><w:enabled/><w:calcOnExit w:val=\"0\"/><w:checkBox>")));
        QVERIFY(xml.contains(QRegularExpression(QStringLiteral("<w:name w:val=\"__Fieldmark__[0-9_]+\"/>"
                                                               "(<[^>]*>){1,3}<w:ddList>"))));
        QCOMPARE(xml.contains(QStringLiteral("w:name=\"klasse1_1\"")), bookmarks);
        QCOMPARE(xml.contains(QStringLiteral("w:name=\"anzahl\"")), bookmarks);
    }
}

void TestRegistrationFormReader::fieldNamesAndValues_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("expected");

    const QString en(5, QChar(0x2002));
    QTest::newRow("own names, Word's empty result, result over runs")
        << paragraph(field(name(QStringLiteral("verein")) + QStringLiteral("<w:textInput/>"), QStringLiteral("FORMTEXT"),
                           {en})
                     + field(name(QStringLiteral("nname1")) + QStringLiteral("<w:textInput/>"),
                             QStringLiteral("FORMTEXT"),
                             {QStringLiteral("\u00a0Mü"), QStringLiteral("ller "), QStringLiteral("\u2002")}))
        << QStringList{QStringLiteral("text verein []"), QStringLiteral("text nname1 [Müller]")};
    QTest::newRow("bookmark before the field (Word), generated ones skipped")
        << paragraph(bookmark(QStringLiteral("1"), QStringLiteral("vname2")) + bookmark(QStringLiteral("2"), QStringLiteral("_GoBack"))
                     + field(name(QString()) + QStringLiteral("<w:textInput/>"), QStringLiteral("FORMTEXT"),
                             {QStringLiteral("Eva")}))
        << QStringList{QStringLiteral("text vname2 [Eva]")};
    QTest::newRow("bookmark inside the field (LibreOffice)")
        << paragraph(field(name(QStringLiteral("__Fieldmark__7_123")) + QStringLiteral("<w:ddList><w:listEntry w:val=\"4\"/></w:ddList>"),
                           QStringLiteral("FORMDROPDOWN"), {}, {},
                           bookmark(QStringLiteral("5"), QStringLiteral("anzahl"))
                               + bookmark(QStringLiteral("6"), QStringLiteral("__Fieldmark__7_123"))))
              + paragraph(field(name(QStringLiteral("__Fieldmark__8_123")) + QStringLiteral("<w:ddList/>"),
                                QStringLiteral("FORMDROPDOWN")))
        << QStringList{QStringLiteral("list anzahl [] 4"), QStringLiteral("list  []")};
    QTest::newRow("a bookmark closed before the field names nothing")
        << paragraph(bookmark(QStringLiteral("9"), QStringLiteral("telefon")) + QStringLiteral("<w:bookmarkEnd w:id=\"9\"/>")
                     + field(QStringLiteral("<w:textInput/>"), QStringLiteral("FORMTEXT")))
        << QStringList{QStringLiteral("text  []")};
    QTest::newRow("the only drop-down is anzahl")
        << paragraph(field(QStringLiteral("<w:ddList><w:listEntry w:val=\"3\"/><w:listEntry w:val=\"1\"/></w:ddList>"),
                           QStringLiteral("FORMDROPDOWN")))
        << QStringList{QStringLiteral("list anzahl [] 3,1")};
    QTest::newRow("check boxes by their place in table 4")
        << fourthTable(cell(field(QStringLiteral("<w:checkBox><w:default w:val=\"0\"/><w:checked/></w:checkBox>"),
                                  QStringLiteral("FORMCHECKBOX")))
                       + cell(QString(), QStringLiteral("<w:tcPr><w:gridSpan w:val=\"2\"/></w:tcPr>"))
                       + cell(field(QStringLiteral("<w:checkBox/>"), QStringLiteral("FORMCHECKBOX"))))
              + paragraph(field(QStringLiteral("<w:checkBox/>"), QStringLiteral("FORMCHECKBOX")))
        << QStringList{QStringLiteral("box klasse1_1 [] ticked"), QStringLiteral("box klasse1_4 []"),
                       QStringLiteral("box  []")};
    const auto box = [&](const QString& properties) {
        return field(QStringLiteral("<w:name w:val=\"b\"/><w:checkBox>%1</w:checkBox>").arg(properties),
                     QStringLiteral("FORMCHECKBOX"));
    };
    QTest::newRow("ticks: w:checked, else w:default")
        << paragraph(box(QStringLiteral("<w:default w:val=\"0\"/><w:checked/>"))
                     + box(QStringLiteral("<w:default w:val=\"1\"/><w:checked w:val=\"0\"/>"))
                     + box(QStringLiteral("<w:checked w:val=\"true\"/>")) + box(QStringLiteral("<w:default w:val=\"1\"/>"))
                     + box(QStringLiteral("<w:default/>")) + box(QStringLiteral("<w:default w:val=\"false\"/>"))
                     + box(QString()))
        << QStringList{QStringLiteral("box b [] ticked"), QStringLiteral("box b []"), QStringLiteral("box b [] ticked"),
                       QStringLiteral("box b [] ticked"), QStringLiteral("box b [] ticked"),
                       QStringLiteral("box b []"), QStringLiteral("box b []")};
    QTest::newRow("other fields: not form fields, their text stays in the form field's result")
        << paragraph(field(QString(), QStringLiteral("PAGE"), {QStringLiteral("1")})
                     + field(name(QStringLiteral("sklasse1")) + QStringLiteral("<w:textInput/>"),
                             QStringLiteral("FORMTEXT"), {}, {},
                             QStringLiteral("<w:r><w:t>Kreis</w:t></w:r>")
                                 + field(QString(), QStringLiteral("QUOTE liga"), {QStringLiteral("liga")})))
        << QStringList{QStringLiteral("text sklasse1 [Kreisliga]")};
    QTest::newRow("a form field without w:ffData, known by its instruction")
        << paragraph(field(QString(), QStringLiteral("FORMTEXT"), {QStringLiteral("x")},
                           bookmark(QStringLiteral("1"), QStringLiteral("nname3"))))
        << QStringList{QStringLiteral("text nname3 [x]")};
}

void TestRegistrationFormReader::fieldNamesAndValues()
{
    QFETCH(QString, body);
    QFETCH(QStringList, expected);
    QStringList found;
    for (const FormField& f : RegistrationFormReader::formFields(documentXml(body)))
        found << fieldText(f);
    QCOMPARE(found, expected);
}

void TestRegistrationFormReader::formRefused_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("error");
    QTest::newRow("field missing") << QStringLiteral("drop vname3")
                                   << QStringLiteral("Im Anmeldeformular fehlt das Feld „vname3“.");
    QTest::newRow("box of a taken row missing")
        << QStringLiteral("drop klasse1_2") << QStringLiteral("Im Anmeldeformular fehlt das Feld „klasse1_2“.");
    QTest::newRow("no class list") << QStringLiteral("drop anzahl")
                                   << QStringLiteral("Im Anmeldeformular fehlt das Feld „anzahl“.");
    QTest::newRow("field named twice")
        << QStringLiteral("rename nname2 nname1")
        << QStringLiteral("Das Feld „nname1“ kommt im Anmeldeformular mehrmals vor.");
    QTest::newRow("class list not a drop-down")
        << QStringLiteral("text anzahl") << QStringLiteral("Das Feld „anzahl“ des Anmeldeformulars ist keine Auswahlliste.");
    QTest::newRow("an 18th row")
        << QStringLiteral("add nname18")
        << QStringLiteral("Das Anmeldeformular hat mehr als 17 Spielerzeilen (gefunden: Feld „nname18“).");
    QTest::newRow("a box of an 18th row")
        << QStringLiteral("add klasse18_1")
        << QStringLiteral("Das Anmeldeformular hat mehr als 17 Spielerzeilen (gefunden: Feld „klasse18_1“).");
    QTest::newRow("more boxes than entries")
        << QStringLiteral("add klasse5_4")
        << QStringLiteral("Das Anmeldeformular hat das Kästchen „klasse5_4“, seine Klassenliste aber nur 3 Einträge.");
}

void TestRegistrationFormReader::formRefused()
{
    QFETCH(QString, change);
    QFETCH(QString, error);
    const QByteArray docx = filled(3, test::sampleFilling());
    const OoxmlPackageReader package(docx);
    QList<FormField> fields = RegistrationFormReader::formFields(package.part(QStringLiteral("word/document.xml")));
    const QStringList words = change.split(QLatin1Char(' '));
    const auto find = [&](const QString& name) {
        for (qsizetype i = 0; i < fields.size(); ++i)
            if (fields[i].name == name)
                return i;
        qFatal("no field %s", qPrintable(name));
    };
    if (words[0] == QLatin1String("drop")) {
        fields.removeAt(find(words[1]));
    } else if (words[0] == QLatin1String("rename")) {
        fields[find(words[1])].name = words[2];
    } else if (words[0] == QLatin1String("text")) {
        fields[find(words[1])].kind = FormField::Kind::Text;
    } else {
        FormField extra;
        extra.name = words[1];
        extra.kind = words[1].startsWith(QLatin1String("klasse")) ? FormField::Kind::CheckBox : FormField::Kind::Text;
        fields << extra;
    }
    QCOMPARE(readError([&] { RegistrationFormReader::interpret(fields); }), error);
}

// What the tournament keeps is refused when longer than it keeps it; a row
// not taken is not looked at, and texts never grow without bound.
void TestRegistrationFormReader::textsTooLong_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("error");
    const QString tooLong = QStringLiteral("Das Feld „%1“ des Anmeldeformulars ist länger als %2 Zeichen.");
    QTest::newRow("club of 255") << QStringLiteral("verein") << 255 << QString();
    QTest::newRow("club of 256") << QStringLiteral("verein") << 256 << tooLong.arg(QStringLiteral("verein")).arg(255);
    QTest::newRow("club of 2 MiB") << QStringLiteral("verein") << 2 * 1024 * 1024
                                   << tooLong.arg(QStringLiteral("verein")).arg(255);
    QTest::newRow("surname of 300") << QStringLiteral("nname1") << 300 << tooLong.arg(QStringLiteral("nname1")).arg(255);
    QTest::newRow("first name of 256") << QStringLiteral("vname9") << 256
                                       << tooLong.arg(QStringLiteral("vname9")).arg(255);
    QTest::newRow("playing class of 50") << QStringLiteral("sklasse17") << 50 << QString();
    QTest::newRow("playing class of 51") << QStringLiteral("sklasse17") << 51
                                         << tooLong.arg(QStringLiteral("sklasse17")).arg(50);
    QTest::newRow("row not taken") << QStringLiteral("nname2") << 100000 << QString();
    QTest::newRow("contact person") << QStringLiteral("ansprechpartner") << 100000 << QString();
}

void TestRegistrationFormReader::textsTooLong()
{
    QFETCH(QString, name);
    QFETCH(int, length);
    QFETCH(QString, error);
    const OoxmlPackageReader package(filled(3, test::sampleFilling()));
    QList<FormField> fields = RegistrationFormReader::formFields(package.part(QStringLiteral("word/document.xml")));
    for (FormField& f : fields)
        if (f.name == name)
            f.result = QString(std::min(length, 4 * 255), QLatin1Char('x')); // as much as the walk keeps
    QCOMPARE(readError([&] { RegistrationFormReader::interpret(fields); }),
             error.isEmpty() ? QStringLiteral("(read without error)") : error);

    // The walk keeps no more of a result than it needs to tell.
    const QByteArray runs = documentXml(paragraph(field(::name(QStringLiteral("verein")) + QStringLiteral("<w:textInput/>"),
                                                        QStringLiteral("FORMTEXT"),
                                                        {QString(length, QLatin1Char('y')), QStringLiteral("z")})));
    const QList<FormField> walked = RegistrationFormReader::formFields(runs);
    QCOMPARE(walked.size(), 1);
    QCOMPARE(walked[0].result.size(), std::min<qsizetype>(length + 1, 4 * 255));
}

void TestRegistrationFormReader::clubFromFirstFieldWithoutVerein()
{
    const OoxmlPackageReader package(filled(3, test::sampleFilling()));
    QList<FormField> fields = RegistrationFormReader::formFields(package.part(QStringLiteral("word/document.xml")));
    QCOMPARE(fields.first().name, QStringLiteral("verein"));
    fields.first().name.clear();
    QCOMPARE(RegistrationFormReader::interpret(fields).verein, QStringLiteral("TTC Rabenweiß"));
    fields.swapItemsAt(0, 1);
    QCOMPARE(RegistrationFormReader::interpret(fields).verein, QStringLiteral("Eva Beispiel"));
}

void TestRegistrationFormReader::outsideInputRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    QTest::newRow("word_97_file") << QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(600, '\0')
                                  << QStringLiteral("Die Datei ist ein Word-97-Dokument (.doc). Bitte speichern Sie das "
                                                    "Anmeldeformular als Word-Dokument (.docx) und lesen Sie diese Datei ein.");
    QTest::newRow("not_a_zip") << QByteArray("Meldeformular\r\nVerein: TTC")
                               << QStringLiteral("Die Datei ist kein Office-Dokument (kein Zip-Archiv).");
    QTest::newRow("doctype_refused")
        << packageWith("<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
                       "<d>&b;</d>")
        << QStringLiteral("Der Teil „word/document.xml“ enthält eine Dokumenttyp-Deklaration und wird nicht gelesen.");
    QTest::newRow("external_entity_refused")
        << packageWith("<?xml version=\"1.0\"?><!DOCTYPE d SYSTEM \"file:///etc/passwd\"><d/>")
        << QStringLiteral("Der Teil „word/document.xml“ enthält eine Dokumenttyp-Deklaration und wird nicht gelesen.");
    QTest::newRow("undeclared_entity")
        << packageWith(documentXml(QStringLiteral("<w:p><w:r><w:t>&x;</w:t></w:r></w:p>")))
        << QStringLiteral("Der Teil „word/document.xml“ ist kein gültiges XML");
    QTest::newRow("part_over_64_MiB") << packageWith(QByteArray(64 * 1024 * 1024 + 1, ' '))
                                      << QStringLiteral("Der Teil „word/document.xml“ ist entpackt größer als 64 MiB und "
                                                        "wird nicht gelesen.");
    QByteArray damaged = filled(3, test::sampleFilling());
    const qsizetype part = damaged.indexOf("word/document.xml");
    for (qsizetype i = part + 200; i < part + 240; ++i)
        damaged[i] = char(damaged[i] ^ 0x5a);
    QTest::newRow("damaged_part") << damaged << QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden");
    // A cut archive, or one whose directory names another entry's header, is
    // a damaged archive, told in German.
    QTest::newRow("truncated") << filled(3, {}).left(3000)
                               << QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden (das "
                                                 "Inhaltsverzeichnis des Archivs fehlt).");
    QTest::newRow("directory names another entry's header")
        << [] {
               QByteArray docx = filled(3, {});
               // Every directory entry names the first entry's local header.
               const qsizetype end = docx.lastIndexOf("PK\x05\x06");
               const qsizetype directory = qFromLittleEndian<quint32>(docx.constData() + end + 16);
               for (qsizetype at = docx.indexOf("PK\x01\x02", directory); at >= 0 && at < end;
                    at = docx.indexOf("PK\x01\x02", at + 4))
                   qToLittleEndian<quint32>(0, docx.data() + at + 42);
               return docx;
           }()
        << QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden (das Inhaltsverzeichnis passt "
                          "nicht zu den Einträgen).");
    OoxmlPackageWriter partMissing;
    partMissing.addPart(QStringLiteral("word/styles.xml"), "<w:styles/>");
    QTest::newRow("no_main_document") << partMissing.finish()
                                      << QStringLiteral("Der Teil „word/document.xml“ fehlt in der Datei.");
    QString nested;
    for (int i = 0; i < 65; ++i)
        nested += QStringLiteral("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>");
    QTest::newRow("fields_nested_too_deep")
        << packageWith(documentXml(paragraph(nested)))
        << QStringLiteral("Die Felder des Dokuments sind tiefer als 64 Ebenen verschachtelt.");
}

void TestRegistrationFormReader::outsideInputRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const QString message = readError([&] { RegistrationFormReader::read(bytes); });
    QVERIFY2(message.startsWith(error), qPrintable(message));
}

void TestRegistrationFormReader::mainDocumentNamedByRelationships()
{
    const QByteArray written = filled(3, test::sampleFilling());
    const QByteArray document = OoxmlPackageReader(written).part(QStringLiteral("word/document.xml"));
    QCOMPARE(RegistrationFormReader::read(packageWith(document, QStringLiteral("word/document2.xml"))).players.size(), 3);
}

void TestRegistrationFormReader::readFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Anmeldung TTC.docx"));
    QCOMPARE(readError([&] { RegistrationFormReader::readFile(path); }).left(60),
             QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: ").arg(path).left(60));
    RegistrationFormWriter(test::sampleContent(3)).save(path);
    QCOMPARE(RegistrationFormReader::readFile(path).classIds, (QList<int>{97, 100, 94}));
}

QTEST_GUILESS_MAIN(TestRegistrationFormReader)
#include "test_registrationform_reader.moc"
