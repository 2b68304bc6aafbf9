#include "output/registrationformreader.h"

#include "output/ooxmlpackage.h"
#include "output/registrationform.h"
#include "platform/apperror.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace bw {

using namespace regform;

namespace {

const QString kDocumentPart = QStringLiteral("word/document.xml");
// Open fields nest this deep at most; form fields never nest at all.
constexpr int kMaxFieldDepth = 64;
// How much of a field's result or instruction is kept: enough to tell a text
// too long for the tournament, never a whole run of megabytes per field.
constexpr qsizetype kMaxKeptText = 4 * kMaxFormText;

void appendBounded(QString& to, const QString& text)
{
    to += QStringView(text).left(std::max<qsizetype>(kMaxKeptText - to.size(), 0));
}

bool isWord(QStringView ns)
{
    return ns == QLatin1String("http://schemas.openxmlformats.org/wordprocessingml/2006/main")
        || ns == QLatin1String("http://purl.oclc.org/ooxml/wordprocessingml/main");
}

QStringView wordAttribute(const QXmlStreamReader& xml, QLatin1String name)
{
    for (const QXmlStreamAttribute& a : xml.attributes())
        if (a.name() == name && (a.namespaceUri().isEmpty() || isWord(a.namespaceUri())))
            return a.value();
    return {};
}

bool hasWordAttribute(const QXmlStreamReader& xml, QLatin1String name)
{
    for (const QXmlStreamAttribute& a : xml.attributes())
        if (a.name() == name && (a.namespaceUri().isEmpty() || isWord(a.namespaceUri())))
            return true;
    return false;
}

// An on/off property: present without a value means on.
bool isOn(const QXmlStreamReader& xml)
{
    if (!hasWordAttribute(xml, QLatin1String("val")))
        return true;
    const QStringView v = wordAttribute(xml, QLatin1String("val"));
    return v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("on");
}

// Names Word and LibreOffice make up themselves: "_GoBack", "__Fieldmark__12_345".
bool isGenerated(const QString& name)
{
    return name.isEmpty() || name.startsWith(QLatin1Char('_'));
}

// Where a field begins: the top-level table (1-based, 0 before the first), its
// row and grid column.
struct Place {
    int table = 0;
    int row = 0;
    int column = 0;
};

// A field while the document is walked; form fields are kept at the end.
struct Walked {
    std::optional<FormField::Kind> kind; // from w:ffData, else from the instruction
    QString ownName;
    QString bookmark;
    QString instruction;
    QString result;
    bool inResult = false;
    std::optional<bool> checked;
    std::optional<bool> byDefault;
    QStringList entries;
    Place place;
};

// Reads the w:ffData inside a field's begin mark, up to the end of that mark.
void readFormFieldData(QXmlStreamReader& xml, Walked& field)
{
    int depth = 1; // inside w:fldChar
    enum class In { Other, CheckBox, DropDown } in = In::Other;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        checkOutsideXml(xml, kDocumentPart);
        if (xml.isEndElement()) {
            --depth;
            if (isWord(xml.namespaceUri()) && (xml.name() == QLatin1String("checkBox")
                                               || xml.name() == QLatin1String("ddList")))
                in = In::Other;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        ++depth;
        if (!isWord(xml.namespaceUri()))
            continue;
        const QStringView name = xml.name();
        if (name == QLatin1String("name") && depth == 3) { // fldChar > ffData > name
            field.ownName = wordAttribute(xml, QLatin1String("val")).toString();
        } else if (name == QLatin1String("textInput")) {
            field.kind = FormField::Kind::Text;
        } else if (name == QLatin1String("checkBox")) {
            field.kind = FormField::Kind::CheckBox;
            in = In::CheckBox;
        } else if (name == QLatin1String("ddList")) {
            field.kind = FormField::Kind::DropDown;
            in = In::DropDown;
        } else if (in == In::CheckBox && name == QLatin1String("default")) {
            field.byDefault = isOn(xml);
        } else if (in == In::CheckBox && name == QLatin1String("checked")) {
            field.checked = isOn(xml);
        } else if (in == In::DropDown && name == QLatin1String("listEntry")) {
            field.entries << wordAttribute(xml, QLatin1String("val")).toString();
        }
    }
}

std::optional<FormField::Kind> kindOfInstruction(const QString& instruction)
{
    const QString code = instruction.trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
    if (code == QLatin1String("FORMTEXT"))
        return FormField::Kind::Text;
    if (code == QLatin1String("FORMCHECKBOX"))
        return FormField::Kind::CheckBox;
    if (code == QLatin1String("FORMDROPDOWN"))
        return FormField::Kind::DropDown;
    return std::nullopt;
}

// The name a check box has by its place in the entry grid (table 4).
QString nameByPlace(const Place& place)
{
    if (place.table == 4 && place.row >= 2 && place.column >= 3)
        return classBoxField(place.row - 1, place.column - 2);
    return {};
}

[[noreturn]] void fail(const QString& message)
{
    throw AppError(message);
}

} // namespace

QList<FormField> RegistrationFormReader::formFields(const QByteArray& documentXml)
{
    QXmlStreamReader xml(documentXml);
    QList<Walked> walked;
    QList<qsizetype> open; // indexes into walked, innermost last
    struct Bookmark {
        QString id;
        QString name;
    } pending;
    Place place;
    int tableDepth = 0;
    int nextColumn = 1;
    int cellSpan = 1;

    while (!xml.atEnd()) {
        xml.readNext();
        checkOutsideXml(xml, kDocumentPart);
        const bool start = xml.isStartElement();
        if ((!start && !xml.isEndElement()) || !isWord(xml.namespaceUri()))
            continue;
        const QStringView name = xml.name();

        if (name == QLatin1String("tbl")) {
            tableDepth += start ? 1 : -1;
            if (start && tableDepth == 1)
                ++place.table;
            if (tableDepth == 0 || (start && tableDepth == 1))
                place.row = place.column = 0; // between tables nothing has a place
            continue;
        }
        if (tableDepth == 1) {
            // The grid column of a cell: cells before it, their spans and the row's gridBefore.
            if (start && name == QLatin1String("tr")) {
                ++place.row;
                nextColumn = 1;
            } else if (start && name == QLatin1String("gridBefore")) {
                nextColumn += qBound(0, wordAttribute(xml, QLatin1String("val")).toInt(), 1000);
            } else if (start && name == QLatin1String("tc")) {
                place.column = nextColumn;
                cellSpan = 1;
            } else if (start && name == QLatin1String("gridSpan")) {
                cellSpan = qBound(1, wordAttribute(xml, QLatin1String("val")).toInt(), 1000);
            } else if (!start && name == QLatin1String("tc")) {
                nextColumn = place.column + cellSpan;
            }
        }
        if (!start)
            continue;

        if (name == QLatin1String("bookmarkStart")) {
            const QString bookmark = wordAttribute(xml, QLatin1String("name")).toString();
            if (isGenerated(bookmark))
                continue;
            // LibreOffice opens a field's bookmark inside the field, after its separator.
            if (!open.isEmpty()) {
                Walked& inner = walked[open.last()];
                if (inner.kind && inner.bookmark.isEmpty()) {
                    inner.bookmark = bookmark;
                    continue;
                }
            }
            pending = {wordAttribute(xml, QLatin1String("id")).toString(), bookmark};
        } else if (name == QLatin1String("bookmarkEnd")) {
            if (!pending.name.isEmpty() && wordAttribute(xml, QLatin1String("id")) == pending.id)
                pending = {};
        } else if (name == QLatin1String("fldChar")) {
            const QStringView type = wordAttribute(xml, QLatin1String("fldCharType"));
            if (type == QLatin1String("begin")) {
                if (open.size() >= kMaxFieldDepth)
                    fail(QStringLiteral("Die Felder des Dokuments sind tiefer als %1 Ebenen verschachtelt.")
                             .arg(kMaxFieldDepth));
                Walked field;
                field.place = place;
                field.bookmark = pending.name;
                pending = {};
                readFormFieldData(xml, field);
                open << walked.size();
                walked << field;
            } else if (type == QLatin1String("separate")) {
                if (!open.isEmpty())
                    walked[open.last()].inResult = true;
            } else if (type == QLatin1String("end")) {
                if (!open.isEmpty())
                    open.removeLast();
            }
        } else if (name == QLatin1String("instrText")) {
            const QString text = xml.readElementText();
            checkOutsideXml(xml, kDocumentPart);
            if (!open.isEmpty() && !walked[open.last()].inResult)
                appendBounded(walked[open.last()].instruction, text);
        } else if (name == QLatin1String("t")) {
            const QString text = xml.readElementText();
            checkOutsideXml(xml, kDocumentPart);
            // The text belongs to the innermost form field showing its result.
            for (qsizetype i = open.size() - 1; i >= 0; --i) {
                Walked& field = walked[open[i]];
                if (field.inResult && (field.kind || kindOfInstruction(field.instruction))) {
                    appendBounded(field.result, text);
                    break;
                }
            }
        }
    }

    QList<FormField> fields;
    qsizetype dropDowns = 0;
    for (const Walked& w : walked) {
        const std::optional<FormField::Kind> kind = w.kind ? w.kind : kindOfInstruction(w.instruction);
        if (!kind)
            continue;
        FormField field;
        field.kind = *kind;
        field.name = !isGenerated(w.ownName) ? w.ownName
                     : !w.bookmark.isEmpty() ? w.bookmark
                     : field.kind == FormField::Kind::CheckBox ? nameByPlace(w.place)
                                                                : QString();
        // QChar::isSpace() covers blanks, U+2002 and U+00A0.
        field.result = w.result.trimmed();
        field.ticked = w.checked.value_or(w.byDefault.value_or(false));
        field.entries = w.entries;
        dropDowns += field.kind == FormField::Kind::DropDown;
        fields << field;
    }
    if (dropDowns == 1) {
        for (FormField& field : fields)
            if (field.kind == FormField::Kind::DropDown && field.name.isEmpty())
                field.name = kClassListField;
    }
    return fields;
}

ReturnedForm RegistrationFormReader::interpret(const QList<FormField>& fields)
{
    QHash<QString, const FormField*> byName;
    for (const FormField& field : fields) {
        if (field.name.isEmpty())
            continue;
        if (byName.contains(field.name))
            fail(QStringLiteral("Das Feld „%1“ kommt im Anmeldeformular mehrmals vor.").arg(field.name));
        byName.insert(field.name, &field);
    }
    const auto need = [&](const QString& name, FormField::Kind kind) -> const FormField& {
        const FormField* field = byName.value(name);
        if (!field)
            fail(QStringLiteral("Im Anmeldeformular fehlt das Feld „%1“.").arg(name));
        if (field->kind != kind) {
            const QString what = kind == FormField::Kind::Text       ? QStringLiteral("kein Textfeld")
                                 : kind == FormField::Kind::CheckBox ? QStringLiteral("kein Kontrollkästchen")
                                                                     : QStringLiteral("keine Auswahlliste");
            fail(QStringLiteral("Das Feld „%1“ des Anmeldeformulars ist %2.").arg(name, what));
        }
        return *field;
    };

    ReturnedForm form;
    const FormField& classList = need(kClassListField, FormField::Kind::DropDown);
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,9}$"));
    for (qsizetype i = 0; i < classList.entries.size(); ++i) {
        const QString& entry = classList.entries[i];
        if (!number.match(entry).hasMatch())
            fail(QStringLiteral("Der Eintrag %1 der Klassenliste des Anmeldeformulars ist „%2“, keine Klassennummer.")
                     .arg(i + 1)
                     .arg(entry));
        form.classIds << entry.toInt();
    }
    const int columns = int(form.classIds.size());

    static const QRegularExpression rowField(QStringLiteral("^(?:nname|vname|sklasse)([0-9]+)$"));
    static const QRegularExpression boxField(QStringLiteral("^klasse([0-9]+)_([0-9]+)$"));
    const auto beyond = [](QStringView digits, int last) {
        bool ok = false;
        const int value = digits.toInt(&ok);
        return !ok || value > last;
    };
    for (const FormField& field : fields) {
        const QRegularExpressionMatch row = rowField.match(field.name);
        const QRegularExpressionMatch box = boxField.match(field.name);
        if ((row.hasMatch() && beyond(row.capturedView(1), kPlayerRows))
            || (box.hasMatch() && beyond(box.capturedView(1), kPlayerRows)))
            fail(QStringLiteral("Das Anmeldeformular hat mehr als %1 Spielerzeilen (gefunden: Feld „%2“).")
                     .arg(kPlayerRows)
                     .arg(field.name));
        if (box.hasMatch() && beyond(box.capturedView(2), columns))
            fail(QStringLiteral("Das Anmeldeformular hat das Kästchen „%1“, seine Klassenliste aber nur %2 Einträge.")
                     .arg(field.name)
                     .arg(columns));
    }

    // What the tournament keeps is refused when too long; cutting it would
    // import a name nobody typed.
    const auto bounded = [](const QString& name, const QString& text, qsizetype limit) {
        if (text.size() > limit)
            fail(QStringLiteral("Das Feld „%1“ des Anmeldeformulars ist länger als %2 Zeichen.").arg(name).arg(limit));
        return text;
    };
    if (const FormField* club = byName.value(kClubField))
        form.verein = bounded(kClubField, club->result, kMaxFormText);
    else if (!fields.isEmpty())
        form.verein = bounded(fields.first().name, fields.first().result, kMaxFormText);

    for (int n = 1; n <= kPlayerRows; ++n) {
        ReturnedPlayer player;
        player.row = n;
        player.nachname = need(surnameField(n), FormField::Kind::Text).result;
        player.vorname = need(firstNameField(n), FormField::Kind::Text).result;
        player.spielklasse = need(playingClassField(n), FormField::Kind::Text).result;
        if (player.nachname.isEmpty() || player.vorname.isEmpty())
            continue;
        bounded(surnameField(n), player.nachname, kMaxFormText);
        bounded(firstNameField(n), player.vorname, kMaxFormText);
        bounded(playingClassField(n), player.spielklasse, kMaxPlayingClassText);
        for (int k = 1; k <= columns; ++k)
            if (need(classBoxField(n, k), FormField::Kind::CheckBox).ticked)
                player.classColumns << k;
        form.players << player;
    }
    return form;
}

ReturnedForm RegistrationFormReader::read(const QByteArray& docx)
{
    // The signature of a compound file: what Word 97 to 2003 saved.
    static const QByteArray compoundFile = QByteArray::fromHex("d0cf11e0a1b11ae1");
    if (docx.startsWith(compoundFile))
        fail(QStringLiteral("Die Datei ist ein Word-97-Dokument (.doc). Bitte speichern Sie das Anmeldeformular "
                            "als Word-Dokument (.docx) und lesen Sie diese Datei ein."));
    const OoxmlPackageReader package(docx);
    return interpret(formFields(package.part(package.mainDocument(kDocumentPart))));
}

ReturnedForm RegistrationFormReader::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2").arg(path, file.errorString()));
    if (file.size() > kMaxPackageSize)
        fail(QStringLiteral("Die Datei „%1“ ist größer als %2 MiB und wird nicht gelesen.")
                 .arg(path)
                 .arg(kMaxPackageSize / (1024 * 1024)));
    const QByteArray bytes = file.read(kMaxPackageSize + 1);
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2").arg(path, file.errorString()));
    return read(bytes);
}

} // namespace bw
