#include "output/registrationformwriter.h"

#include "output/ooxmlpackage.h"
#include "platform/apperror.h"

#include <QSaveFile>
#include <QXmlStreamWriter>

#include <algorithm>
#include <array>
#include <cmath>

namespace bw {

using namespace regform;

namespace {

const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString R = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kRelationships = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kRelationshipType = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");

// Word's result of an empty text field: five en spaces, so there is something to click.
const QString kEmptyTextResult = QString(5, QChar(0x2002));

enum class Align { Left, Center, Right };

struct RunFormat {
    QString font = QStringLiteral("Arial");
    int points = 12;
    bool bold = false;
    bool italic = false;
    bool white = false;
};

const RunFormat kArial12;
const RunFormat kArial12Bold{QStringLiteral("Arial"), 12, true};
const RunFormat kArial8{QStringLiteral("Arial"), 8};
const RunFormat kHeader{QStringLiteral("Times New Roman"), 16, true, true};

// The WordprocessingML of one part, written through QXmlStreamWriter.
class WordXml {
public:
    explicit WordXml(QByteArray* out) : m_xml(out)
    {
        m_xml.writeStartDocument(QStringLiteral("1.0"), true);
        m_xml.writeNamespace(W, QStringLiteral("w"));
        m_xml.writeNamespace(R, QStringLiteral("r"));
    }

    void start(const QString& name) { m_xml.writeStartElement(W, name); }
    void end() { m_xml.writeEndElement(); }
    void finish() { m_xml.writeEndDocument(); }

    // <w:name w:val="value"/>
    void valued(const QString& name, const QString& value)
    {
        m_xml.writeEmptyElement(W, name);
        m_xml.writeAttribute(W, QStringLiteral("val"), value);
    }
    void empty(const QString& name) { m_xml.writeEmptyElement(W, name); }
    void attribute(const QString& name, const QString& value) { m_xml.writeAttribute(W, name, value); }
    void relationshipId(const QString& id) { m_xml.writeAttribute(R, QStringLiteral("id"), id); }
    // A width in twips: <w:name w:w="twips" w:type="dxa"/>
    void width(const QString& name, int twips)
    {
        m_xml.writeEmptyElement(W, name);
        m_xml.writeAttribute(W, QStringLiteral("w"), QString::number(twips));
        m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("dxa"));
    }

    void runProperties(const RunFormat& format, bool noProof = false)
    {
        start(QStringLiteral("rPr"));
        m_xml.writeEmptyElement(W, QStringLiteral("rFonts"));
        for (const char* which : {"ascii", "hAnsi", "cs"})
            attribute(QLatin1String(which), format.font);
        if (format.bold)
            empty(QStringLiteral("b"));
        if (format.italic)
            empty(QStringLiteral("i"));
        if (noProof)
            empty(QStringLiteral("noProof"));
        valued(QStringLiteral("color"), format.white ? QStringLiteral("FFFFFF") : QStringLiteral("000000"));
        valued(QStringLiteral("sz"), QString::number(format.points * 2));
        valued(QStringLiteral("szCs"), QString::number(format.points * 2));
        end();
    }

    // A paragraph whose mark has the format: its height follows the type size.
    void startParagraph(Align align, const RunFormat& format)
    {
        start(QStringLiteral("p"));
        start(QStringLiteral("pPr"));
        valued(QStringLiteral("jc"), align == Align::Left     ? QStringLiteral("left")
                                     : align == Align::Right ? QStringLiteral("right")
                                                             : QStringLiteral("center"));
        runProperties(format);
        end();
    }
    void paragraph(Align align, const RunFormat& format, const QString& text = {})
    {
        startParagraph(align, format);
        if (!text.isEmpty())
            run(format, text);
        end();
    }

    void run(const RunFormat& format, const QString& text, bool noProof = false)
    {
        start(QStringLiteral("r"));
        runProperties(format, noProof);
        start(QStringLiteral("t"));
        m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        m_xml.writeCharacters(xmlText(text));
        end();
        end();
    }

    // XML 1.0 has no control characters but tab and line breaks; a pasted one
    // in a name becomes a blank, so Word still opens the file.
    static QString xmlText(QString text)
    {
        for (QChar& c : text)
            if (c.unicode() < 0x20 || (c.unicode() >= 0xfffe))
                c = QLatin1Char(' ');
        return text;
    }

    enum class FieldKind { Text, CheckBox, DropDown };

    // A legacy form field inside a bookmark of its name.
    void field(FieldKind kind, const QString& name, const RunFormat& format, const QStringList& entries = {})
    {
        const QString id = QString::number(m_nextBookmark++);
        m_xml.writeEmptyElement(W, QStringLiteral("bookmarkStart"));
        attribute(QStringLiteral("id"), id);
        attribute(QStringLiteral("name"), name);

        startRun(format);
        start(QStringLiteral("fldChar"));
        attribute(QStringLiteral("fldCharType"), QStringLiteral("begin"));
        start(QStringLiteral("ffData"));
        valued(QStringLiteral("name"), name);
        if (kind == FieldKind::DropDown)
            valued(QStringLiteral("enabled"), QStringLiteral("0"));
        else
            empty(QStringLiteral("enabled"));
        valued(QStringLiteral("calcOnExit"), QStringLiteral("0"));
        switch (kind) {
        case FieldKind::Text:
            empty(QStringLiteral("textInput"));
            break;
        case FieldKind::CheckBox:
            start(QStringLiteral("checkBox"));
            empty(QStringLiteral("sizeAuto"));
            valued(QStringLiteral("default"), QStringLiteral("0"));
            end();
            break;
        case FieldKind::DropDown:
            start(QStringLiteral("ddList"));
            for (const QString& entry : entries)
                valued(QStringLiteral("listEntry"), entry);
            end();
            break;
        }
        end(); // ffData
        end(); // fldChar
        end(); // r

        startRun(format);
        start(QStringLiteral("instrText"));
        m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        m_xml.writeCharacters(kind == FieldKind::Text       ? QStringLiteral(" FORMTEXT ")
                              : kind == FieldKind::CheckBox ? QStringLiteral(" FORMCHECKBOX ")
                                                            : QStringLiteral(" FORMDROPDOWN "));
        end();
        end();

        if (kind == FieldKind::Text) {
            fieldChar(format, QStringLiteral("separate"));
            run(format, kEmptyTextResult, true);
        }
        fieldChar(format, QStringLiteral("end"));

        m_xml.writeEmptyElement(W, QStringLiteral("bookmarkEnd"));
        attribute(QStringLiteral("id"), id);
    }

    // A table with single lines around and between its cells.
    void startTable(const QList<int>& columns, int widthTwips, int indentTwips)
    {
        start(QStringLiteral("tbl"));
        start(QStringLiteral("tblPr"));
        width(QStringLiteral("tblW"), widthTwips);
        width(QStringLiteral("tblInd"), indentTwips);
        start(QStringLiteral("tblBorders"));
        for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
            m_xml.writeEmptyElement(W, QLatin1String(side));
            attribute(QStringLiteral("val"), QStringLiteral("single"));
            attribute(QStringLiteral("sz"), QStringLiteral("4"));
            attribute(QStringLiteral("space"), QStringLiteral("0"));
            attribute(QStringLiteral("color"), QStringLiteral("000000"));
        }
        end();
        m_xml.writeEmptyElement(W, QStringLiteral("tblLayout"));
        attribute(QStringLiteral("type"), QStringLiteral("fixed"));
        end(); // tblPr
        start(QStringLiteral("tblGrid"));
        for (int twips : columns) {
            m_xml.writeEmptyElement(W, QStringLiteral("gridCol"));
            attribute(QStringLiteral("w"), QString::number(twips));
        }
        end();
    }

    void startCell(int widthTwips, bool upwards = false)
    {
        start(QStringLiteral("tc"));
        start(QStringLiteral("tcPr"));
        width(QStringLiteral("tcW"), widthTwips);
        if (upwards)
            valued(QStringLiteral("textDirection"), QStringLiteral("btLr"));
        end();
    }

private:
    void startRun(const RunFormat& format)
    {
        start(QStringLiteral("r"));
        runProperties(format);
    }
    void fieldChar(const RunFormat& format, const QString& type)
    {
        startRun(format);
        m_xml.writeEmptyElement(W, QStringLiteral("fldChar"));
        attribute(QStringLiteral("fldCharType"), type);
        end();
    }

    QXmlStreamWriter m_xml;
    int m_nextBookmark = 0;
};

using FieldKind = WordXml::FieldKind;

// The title row of the grid is as high as the longest class title running
// upwards needs (neither Word nor LibreOffice grows a row for turned text):
// about 0.45 em a character in Arial 8, plus the cell's margins.
int titleRowHeight(const QList<ClassEntry>& classes)
{
    qsizetype longest = 0;
    for (const ClassEntry& entry : classes)
        longest = std::max(longest, classTitle(entry).size());
    const double points = std::max(8 * 0.45 * double(longest) + 8, 16.0);
    return int(std::lround(points * 20));
}

QByteArray documentPart(const Content& content, const RegistrationFormWriter::Progress& advance)
{
    const int m = int(content.classes.size());
    const int p = nameColumnWidth(m);
    const int pTwips = centimetersToTwips(p);
    const int classTwips = centimetersToTwips(0.8);
    const int halfCm = centimetersToTwips(0.5);

    QByteArray out;
    WordXml xml(&out);
    xml.start(QStringLiteral("document"));
    xml.start(QStringLiteral("body"));

    // Table 1: the club.
    {
        const QList<int> columns{centimetersToTwips(5), centimetersToTwips(5)};
        xml.startTable(columns, centimetersToTwips(10), halfCm);
        xml.start(QStringLiteral("tr"));
        xml.startCell(columns[0]);
        xml.paragraph(Align::Right, kArial12, QStringLiteral("Verein:"));
        xml.end();
        xml.startCell(columns[1]);
        xml.startParagraph(Align::Left, kArial12);
        xml.field(FieldKind::Text, kClubField, kArial12);
        xml.end();
        xml.end();
        xml.end(); // tr
        xml.end(); // tbl
    }
    xml.paragraph(Align::Left, RunFormat{QStringLiteral("Arial"), 1});

    // Table 2: the contact.
    advance(10);
    {
        const QList<int> columns{centimetersToTwips(5), centimetersToTwips(5), centimetersToTwips(3),
                                 centimetersToTwips(5)};
        xml.startTable(columns, centimetersToTwips(18), halfCm);
        xml.start(QStringLiteral("tr"));
        const QString labels[] = {QStringLiteral("Ansprechpartner:"), QStringLiteral("Telefon:")};
        const QString fields[] = {kContactField, kPhoneField};
        for (int i = 0; i < 2; ++i) {
            xml.startCell(columns[2 * i]);
            xml.paragraph(Align::Right, kArial12, labels[i]);
            xml.end();
            xml.startCell(columns[2 * i + 1]);
            xml.startParagraph(Align::Left, kArial12);
            xml.field(FieldKind::Text, fields[i], kArial12);
            xml.end();
            xml.end();
        }
        xml.end(); // tr
        xml.end(); // tbl
    }
    xml.paragraph(Align::Left, RunFormat{QStringLiteral("Arial"), 6});

    // Table 3: the titles of the column groups.
    advance(10);
    {
        const QList<int> columns{centimetersToTwips(2 * p), centimetersToTwips(0.8 * m), pTwips};
        xml.startTable(columns, centimetersToTwips(24), 0);
        xml.start(QStringLiteral("tr"));
        const QString titles[] = {QStringLiteral("Spieler / Spielerinnen"), QStringLiteral("Klassen"),
                                  QStringLiteral("Spielklasse")};
        for (int i = 0; i < 3; ++i) {
            xml.startCell(columns[i]);
            xml.paragraph(Align::Center, kArial12Bold, titles[i]);
            xml.end();
        }
        xml.end(); // tr
        xml.end(); // tbl
    }
    xml.paragraph(Align::Left, RunFormat{QStringLiteral("Arial"), 1});

    // Table 4: the entry grid.
    advance(10);
    QList<int> columns{pTwips, pTwips};
    for (int k = 0; k < m; ++k)
        columns << classTwips;
    columns << pTwips;
    xml.startTable(columns, centimetersToTwips(24), 0);
    advance(20);
    xml.start(QStringLiteral("tr"));
    xml.start(QStringLiteral("trPr"));
    xml.start(QStringLiteral("trHeight"));
    xml.attribute(QStringLiteral("val"), QString::number(titleRowHeight(content.classes)));
    xml.attribute(QStringLiteral("hRule"), QStringLiteral("atLeast"));
    xml.end();
    xml.end();
    xml.startCell(pTwips);
    xml.paragraph(Align::Center, kArial12, QStringLiteral("Nachname"));
    xml.end();
    xml.startCell(pTwips);
    xml.paragraph(Align::Center, kArial12, QStringLiteral("Vorname"));
    xml.end();
    for (const ClassEntry& entry : content.classes) {
        xml.startCell(classTwips, true);
        xml.paragraph(Align::Left, kArial8, classTitle(entry));
        xml.end();
    }
    xml.startCell(pTwips);
    xml.paragraph(Align::Center, kArial8, QStringLiteral("(laut Mannschaftsaufstellung)"));
    xml.end();
    xml.end(); // tr
    advance(20);

    const auto textCell = [&](int twips, const QString& name) {
        xml.startCell(twips);
        xml.startParagraph(Align::Left, kArial12);
        xml.field(FieldKind::Text, name, kArial12);
        xml.end();
        xml.end();
    };
    for (int n = 1; n <= kPlayerRows; ++n) {
        xml.start(QStringLiteral("tr"));
        textCell(pTwips, surnameField(n));
        textCell(pTwips, firstNameField(n));
        for (int k = 1; k <= m; ++k) {
            xml.startCell(classTwips);
            xml.startParagraph(Align::Center, kArial12);
            xml.field(FieldKind::CheckBox, classBoxField(n, k), kArial12);
            xml.end();
            xml.end();
        }
        textCell(pTwips, playingClassField(n));
        xml.end(); // tr
    }
    xml.end(); // tbl

    // The class keys, in white below the grid.
    RunFormat white = kArial12;
    white.white = true;
    QStringList keys;
    for (const ClassEntry& entry : content.classes)
        keys << QString::number(entry.kid);
    xml.startParagraph(Align::Left, white);
    xml.field(FieldKind::DropDown, kClassListField, white, keys);
    xml.end();
    advance(10);

    // The page: A4 landscape.
    xml.start(QStringLiteral("sectPr"));
    xml.start(QStringLiteral("headerReference"));
    xml.attribute(QStringLiteral("type"), QStringLiteral("default"));
    xml.relationshipId(QStringLiteral("rIdHeader"));
    xml.end();
    xml.valued(QStringLiteral("type"), QStringLiteral("nextPage"));
    xml.start(QStringLiteral("pgSz"));
    xml.attribute(QStringLiteral("w"), QString::number(centimetersToTwips(29.7)));
    xml.attribute(QStringLiteral("h"), QString::number(centimetersToTwips(21)));
    xml.attribute(QStringLiteral("orient"), QStringLiteral("landscape"));
    xml.end();
    xml.start(QStringLiteral("pgMar"));
    const std::pair<const char*, double> margins[] = {{"top", 2.5},    {"right", 2.5},   {"bottom", 2.5}, {"left", 2},
                                                      {"header", 1.27}, {"footer", 1.27}, {"gutter", 0}};
    for (const auto& [side, cm] : margins)
        xml.attribute(QLatin1String(side), QString::number(centimetersToTwips(cm)));
    xml.end();
    xml.valued(QStringLiteral("vAlign"), QStringLiteral("top"));
    xml.end(); // sectPr

    xml.end(); // body
    xml.end(); // document
    xml.finish();
    return out;
}

QByteArray headerPart(const Content& content)
{
    QByteArray out;
    WordXml xml(&out);
    xml.start(QStringLiteral("hdr"));
    for (const QString& line : {QStringLiteral("Meldeformular"), QStringLiteral("für"), content.turniername,
                                content.zusatz})
        xml.paragraph(Align::Center, kHeader, line);
    xml.end();
    xml.finish();
    return out;
}

QByteArray stylesPart()
{
    QByteArray out;
    WordXml xml(&out);
    xml.start(QStringLiteral("styles"));
    xml.start(QStringLiteral("docDefaults"));
    xml.start(QStringLiteral("rPrDefault"));
    xml.runProperties(RunFormat{QStringLiteral("Times New Roman"), 12});
    xml.end();
    xml.start(QStringLiteral("pPrDefault"));
    xml.start(QStringLiteral("pPr"));
    xml.start(QStringLiteral("spacing"));
    xml.attribute(QStringLiteral("after"), QStringLiteral("0"));
    xml.attribute(QStringLiteral("line"), QStringLiteral("240"));
    xml.attribute(QStringLiteral("lineRule"), QStringLiteral("auto"));
    xml.end();
    xml.end();
    xml.end();
    xml.end(); // docDefaults
    xml.start(QStringLiteral("style"));
    xml.attribute(QStringLiteral("type"), QStringLiteral("paragraph"));
    xml.attribute(QStringLiteral("default"), QStringLiteral("1"));
    xml.attribute(QStringLiteral("styleId"), QStringLiteral("Normal"));
    xml.valued(QStringLiteral("name"), QStringLiteral("Normal"));
    xml.end();
    xml.end();
    xml.finish();
    return out;
}

QByteArray settingsPart()
{
    QByteArray out;
    WordXml xml(&out);
    xml.start(QStringLiteral("settings"));
    // Only the form fields can be filled in; no password.
    xml.start(QStringLiteral("documentProtection"));
    xml.attribute(QStringLiteral("edit"), QStringLiteral("forms"));
    xml.attribute(QStringLiteral("enforcement"), QStringLiteral("1"));
    xml.end();
    xml.valued(QStringLiteral("defaultTabStop"), QStringLiteral("708"));
    xml.empty(QStringLiteral("doNotShadeFormData"));
    xml.end();
    xml.finish();
    return out;
}

// The package's own XML: content types and relationships.
QByteArray packageXml(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    body(xml);
    xml.writeEndDocument();
    return out;
}

QByteArray relationships(const QList<std::array<QString, 3>>& rows)
{
    return packageXml([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kRelationships);
        xml.writeStartElement(kRelationships, QStringLiteral("Relationships"));
        for (const auto& [id, type, target] : rows) {
            xml.writeEmptyElement(kRelationships, QStringLiteral("Relationship"));
            xml.writeAttribute(QStringLiteral("Id"), id);
            xml.writeAttribute(QStringLiteral("Type"), kRelationshipType + type);
            xml.writeAttribute(QStringLiteral("Target"), target);
        }
        xml.writeEndElement();
    });
}

QByteArray contentTypes()
{
    const QString ns = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
    const QString word = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");
    return packageXml([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(ns);
        xml.writeStartElement(ns, QStringLiteral("Types"));
        const std::pair<const char*, QString> defaults[] = {
            {"rels", QStringLiteral("application/vnd.openxmlformats-package.relationships+xml")},
            {"xml", QStringLiteral("application/xml")}};
        for (const auto& [extension, type] : defaults) {
            xml.writeEmptyElement(ns, QStringLiteral("Default"));
            xml.writeAttribute(QStringLiteral("Extension"), QLatin1String(extension));
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        }
        const std::pair<const char*, const char*> overrides[] = {{"/word/document.xml", "document.main+xml"},
                                                                 {"/word/styles.xml", "styles+xml"},
                                                                 {"/word/settings.xml", "settings+xml"},
                                                                 {"/word/header1.xml", "header+xml"}};
        for (const auto& [part, type] : overrides) {
            xml.writeEmptyElement(ns, QStringLiteral("Override"));
            xml.writeAttribute(QStringLiteral("PartName"), QLatin1String(part));
            xml.writeAttribute(QStringLiteral("ContentType"), word + QLatin1String(type));
        }
        xml.writeEndElement();
    });
}

} // namespace

RegistrationFormWriter::RegistrationFormWriter(Content content) : m_content(std::move(content)) {}

QByteArray RegistrationFormWriter::document(const Progress& progress) const
{
    const int m = int(m_content.classes.size());
    if (m > kMaxClasses)
        throw AppError(QStringLiteral("Das Anmeldeformular fasst höchstens %1 Klassen, das Turnier hat %2.")
                           .arg(kMaxClasses)
                           .arg(m));
    const auto advance = [&](int steps) {
        if (progress)
            progress(steps);
    };
    advance(10);

    OoxmlPackageWriter package;
    package.addPart(QStringLiteral("[Content_Types].xml"), contentTypes());
    package.addPart(QStringLiteral("_rels/.rels"),
                    relationships({{QStringLiteral("rIdDocument"), QStringLiteral("officeDocument"),
                                    QStringLiteral("word/document.xml")}}));
    package.addPart(QStringLiteral("word/_rels/document.xml.rels"),
                    relationships({{QStringLiteral("rIdStyles"), QStringLiteral("styles"), QStringLiteral("styles.xml")},
                                   {QStringLiteral("rIdSettings"), QStringLiteral("settings"),
                                    QStringLiteral("settings.xml")},
                                   {QStringLiteral("rIdHeader"), QStringLiteral("header"),
                                    QStringLiteral("header1.xml")}}));
    package.addPart(QStringLiteral("word/document.xml"), documentPart(m_content, advance));
    package.addPart(QStringLiteral("word/header1.xml"), headerPart(m_content));
    package.addPart(QStringLiteral("word/styles.xml"), stylesPart());
    package.addPart(QStringLiteral("word/settings.xml"), settingsPart());
    return package.finish();
}

void RegistrationFormWriter::save(const QString& file, const Progress& progress) const
{
    const QByteArray bytes = document(progress);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw AppError(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2")
                           .arg(file, out.errorString()));
    if (progress)
        progress(10);
}

} // namespace bw
