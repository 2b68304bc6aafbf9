#include "output/sheetreader.h"

#include "output/compoundfile.h"
#include "output/ooxmlpackage.h"
#include "platform/apperror.h"
#include "platform/germantext.h"
#include "platform/xmltext.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTime>
#include <QXmlStreamReader>

#include <freexl.h>

#include <cmath>
#include <map>

namespace bw {

namespace {

constexpr int kMaxColumns = 16384;  // XFD, the last column of a sheet
constexpr int kMaxRows = 1048576;
// How deep markup may nest inside a cell's text, which holds none in a sheet
// that a spreadsheet program wrote.
constexpr int kMaxTextDepth = 32;

[[noreturn]] void unreadable(const QString& detail)
{
    throw AppError(QStringLiteral("Die Excel-Datei kann nicht gelesen werden: %1").arg(detail));
}

// The non-empty texts of a sheet by row and column (both from 0), bounded.
class CellGrid {
public:
    void set(int row, int column, const QString& text)
    {
        if (text.isEmpty())
            return;
        if (++m_count > kMaxSheetCells)
            tooLarge();
        m_rows[row][column] = text.left(kMaxCellText);
    }

    TextTable table() const
    {
        // The table's column of each sheet column that holds a text.
        std::map<int, int> columnOf;
        for (const auto& [row, cells] : m_rows)
            for (const auto& [column, text] : cells)
                columnOf.emplace(column, 0);
        int columns = 0;
        for (auto& [sheetColumn, column] : columnOf)
            column = columns++;
        qint64 dataRows = 0;
        for (const auto& [row, cells] : m_rows)
            dataRows += row > 0 ? 1 : 0;
        if ((dataRows + 1) * columns > kMaxSheetCells)
            tooLarge();
        TextTable table;
        auto rowTexts = [&columnOf, columns](const std::map<int, QString>& cells) {
            QStringList texts(columns);
            for (const auto& [column, text] : cells)
                texts[columnOf.at(column)] = text;
            return texts;
        };
        const auto header = m_rows.find(0);
        table.fieldNames = header != m_rows.end() ? rowTexts(header->second) : QStringList(columns);
        for (const auto& [row, cells] : m_rows)
            if (row > 0)
                table.rows.append(rowTexts(cells));
        return table;
    }

private:
    [[noreturn]] static void tooLarge()
    {
        unreadable(QStringLiteral("Die Tabelle hat mehr als %1 Zellen.").arg(kMaxSheetCells));
    }

    std::map<int, std::map<int, QString>> m_rows;
    qint64 m_count = 0;
};

QString numberText(double value)
{
    return german::formatNumber(value);
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// ---------------------------------------------------------------- .xlsx

enum class NumberKind { Number, Date, Time };

// Which of number, date or time a format code shows (its first section).
NumberKind classifyFormat(const QString& code)
{
    bool date = false, time = false, month = false;
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quoted) {
            quoted = c != QLatin1Char('"');
            continue;
        }
        switch (c.toLower().unicode()) {
        case '"': quoted = true; break;
        case ';': i = code.size(); break;
        case '\\': case '_': case '*': ++i; break;
        case '[': {
            const qsizetype end = code.indexOf(QLatin1Char(']'), i);
            const QString inside = code.mid(i + 1, end < 0 ? -1 : end - i - 1).toLower();
            if (!inside.isEmpty() && (inside[0] == QLatin1Char('h') || inside[0] == QLatin1Char('m')
                                      || inside[0] == QLatin1Char('s')))
                time = true; // elapsed time: [h]:mm
            i = end < 0 ? code.size() : end;
            break;
        }
        case 'y': case 'd': date = true; break;
        case 'h': case 's': time = true; break;
        case 'm': month = true; break;
        default: break;
        }
    }
    if (date || (month && !time))
        return NumberKind::Date;
    return time ? NumberKind::Time : NumberKind::Number;
}

NumberKind builtinFormat(int id)
{
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return NumberKind::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
        return NumberKind::Time;
    return NumberKind::Number;
}

// The date of a serial day number; nothing outside 1900 (1904) to 9999.
std::optional<QDate> serialDate(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466)
        return std::nullopt;
    const qint64 days = qint64(std::floor(serial));
    if (date1904)
        return QDate(1904, 1, 1).addDays(days);
    // The 1900 system counts a 29 February 1900 that never was.
    return days < 60 ? QDate(1899, 12, 31).addDays(days) : QDate(1899, 12, 30).addDays(days);
}

QString timeText(double serial)
{
    const double fraction = serial - std::floor(serial);
    const qint64 seconds = qint64(std::llround(fraction * 86400)) % 86400;
    return QTime(0, 0).addSecs(int(seconds)).toString(QStringLiteral("hh:mm:ss"));
}

struct XmlPart {
    XmlPart(const OoxmlPackageReader& package, const QString& name) : name(name), xml(package.part(name)) {}
    bool next()
    {
        if (xml.atEnd())
            return false;
        xml.readNext();
        checkOutsideXml(xml, name);
        return !xml.atEnd();
    }
    bool startOf(const char* element) const { return xml.isStartElement() && xml.name() == QLatin1String(element); }
    bool endOf(const char* element) const { return xml.isEndElement() && xml.name() == QLatin1String(element); }
    QString attribute(const char* attr) const { return xml.attributes().value(QLatin1String(attr)).toString(); }

    QString name;
    QXmlStreamReader xml;
};

// The text of an <si> or <is> element the reader stands on: its <t> texts, the
// phonetic runs (<rPh>) left out, cut after kMaxCellText characters.
QString richText(XmlPart& part, const char* element)
{
    QString text;
    int phonetic = 0;
    while (part.next()) {
        if (part.endOf(element))
            break;
        if (part.startOf("rPh")) {
            ++phonetic;
        } else if (part.endOf("rPh")) {
            --phonetic;
        } else if (part.startOf("t") && phonetic == 0) {
            const ElementText run = readElementTextBounded(part.xml, kMaxTextDepth, kMaxCellText - text.size());
            if (run.tooDeep)
                unreadable(QStringLiteral("Ein Text in „%1“ ist tiefer als %2 Ebenen verschachtelt.")
                               .arg(part.name)
                               .arg(kMaxTextDepth));
            text += run.text;
        }
        checkOutsideXml(part.xml, part.name);
    }
    return text;
}

// A part named relative to the folder of `base`; "/x" names x from the root.
QString resolvePart(const QString& base, const QString& target)
{
    QStringList path;
    QString rest = target;
    if (rest.startsWith(QLatin1Char('/'))) {
        rest.remove(0, 1);
    } else {
        path = base.split(QLatin1Char('/'));
        path.removeLast();
    }
    for (const QString& step : rest.split(QLatin1Char('/'))) {
        if (step == QLatin1String(".."))
            path.isEmpty() ? void() : path.removeLast();
        else if (!step.isEmpty() && step != QLatin1String("."))
            path.append(step);
    }
    return path.join(QLatin1Char('/'));
}

QString relsOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct Relationship {
    QString type;   // the last step of the type ("worksheet", "sharedStrings", ...)
    QString target; // the part, resolved
};

QHash<QString, Relationship> relationships(const OoxmlPackageReader& package, const QString& part)
{
    QHash<QString, Relationship> rels;
    const QString name = relsOf(part);
    if (!package.hasPart(name))
        return rels;
    XmlPart xml(package, name);
    while (xml.next()) {
        if (xml.startOf("Relationship") && xml.attribute("TargetMode") != QLatin1String("External")) {
            const QString type = xml.attribute("Type");
            rels.insert(xml.attribute("Id"),
                        {type.mid(type.lastIndexOf(QLatin1Char('/')) + 1), resolvePart(part, xml.attribute("Target"))});
        }
    }
    return rels;
}

struct Workbook {
    QString firstSheet;
    bool date1904 = false;
    QString sharedStrings;
    QString styles;
};

Workbook readWorkbook(const OoxmlPackageReader& package)
{
    const QString bookPart = package.mainDocument(QStringLiteral("xl/workbook.xml"));
    const QHash<QString, Relationship> rels = relationships(package, bookPart);
    Workbook book;
    for (const Relationship& rel : rels) {
        if (rel.type == QLatin1String("sharedStrings"))
            book.sharedStrings = rel.target;
        else if (rel.type == QLatin1String("styles"))
            book.styles = rel.target;
    }
    if (!package.hasPart(bookPart))
        unreadable(QStringLiteral("Die Arbeitsmappe „%1“ fehlt.").arg(bookPart));
    XmlPart xml(package, bookPart);
    while (xml.next()) {
        if (xml.startOf("workbookPr")) {
            const QString value = xml.attribute("date1904");
            book.date1904 = value == QLatin1String("1") || value == QLatin1String("true");
        } else if (xml.startOf("sheet") && book.firstSheet.isEmpty()) {
            const QString id = xml.xml.attributes().value(
                QLatin1String("http://schemas.openxmlformats.org/officeDocument/2006/relationships"),
                QLatin1String("id")).toString();
            const auto rel = rels.constFind(id);
            if (rel != rels.constEnd() && rel->type == QLatin1String("worksheet"))
                book.firstSheet = rel->target;
        }
    }
    if (book.firstSheet.isEmpty())
        unreadable(QStringLiteral("Die Arbeitsmappe enthält kein Tabellenblatt."));
    return book;
}

QStringList readSharedStrings(const OoxmlPackageReader& package, const QString& partName)
{
    QStringList strings;
    if (partName.isEmpty() || !package.hasPart(partName))
        return strings;
    XmlPart xml(package, partName);
    while (xml.next())
        if (xml.startOf("si"))
            strings.append(richText(xml, "si"));
    return strings;
}

// What each cell format (the cell's s attribute) shows.
QList<NumberKind> readCellFormats(const OoxmlPackageReader& package, const QString& partName)
{
    QList<NumberKind> formats;
    if (partName.isEmpty() || !package.hasPart(partName))
        return formats;
    QHash<int, NumberKind> custom;
    bool inCellXfs = false;
    XmlPart xml(package, partName);
    while (xml.next()) {
        if (xml.startOf("numFmt")) {
            custom.insert(xml.attribute("numFmtId").toInt(), classifyFormat(xml.attribute("formatCode")));
        } else if (xml.startOf("cellXfs")) {
            inCellXfs = true;
        } else if (xml.endOf("cellXfs")) {
            inCellXfs = false;
        } else if (inCellXfs && xml.startOf("xf")) {
            const int id = xml.attribute("numFmtId").toInt();
            formats.append(custom.contains(id) ? custom.value(id) : builtinFormat(id));
        }
    }
    return formats;
}

// "BC12" -> column 54 (from 0); -1 without letters.
int referenceColumn(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size(); ++i) {
        const char16_t c = QChar::toUpper(reference[i].unicode());
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c - u'A' + 1);
        if (column > kMaxColumns)
            unreadable(QStringLiteral("Der Zellbezug „%1“ liegt außerhalb der Tabelle.").arg(reference));
    }
    return i == 0 ? -1 : column - 1;
}

class XlsxSheet {
public:
    XlsxSheet(const Workbook& book, QStringList sharedStrings, QList<NumberKind> formats)
        : m_date1904(book.date1904), m_shared(std::move(sharedStrings)), m_formats(std::move(formats))
    {
    }

    TextTable read(XmlPart& xml)
    {
        int row = -1;
        int column = -1;
        while (xml.next()) {
            if (xml.startOf("row")) {
                const QString r = xml.attribute("r");
                bool ok = false;
                const int number = r.toInt(&ok);
                row = ok ? number - 1 : row + 1;
                if (row < 0 || row >= kMaxRows)
                    unreadable(QStringLiteral("Die Zeilennummer „%1“ liegt außerhalb der Tabelle.").arg(r));
                column = -1;
            } else if (xml.startOf("c")) {
                if (row < 0)
                    unreadable(QStringLiteral("Eine Zelle steht außerhalb einer Zeile."));
                const int referenced = referenceColumn(xml.attribute("r"));
                column = referenced >= 0 ? referenced : column + 1;
                if (column >= kMaxColumns)
                    unreadable(QStringLiteral("Eine Zelle liegt außerhalb der Tabelle."));
                m_grid.set(row, column, cell(xml));
            }
        }
        return m_grid.table();
    }

private:
    QString cell(XmlPart& xml)
    {
        const QString type = xml.attribute("t");
        bool styled = false;
        const int style = xml.attribute("s").toInt(&styled);
        QString value;
        QString inlineText;
        while (xml.next() && !xml.endOf("c")) {
            if (xml.startOf("v"))
                value = xml.xml.readElementText();
            else if (xml.startOf("is"))
                inlineText = richText(xml, "is");
            checkOutsideXml(xml.xml, xml.name);
        }
        if (type == QLatin1String("inlineStr"))
            return inlineText;
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= m_shared.size())
                unreadable(QStringLiteral("Ein Text verweist auf einen Eintrag „%1“, den es nicht gibt.").arg(value));
            return m_shared[index];
        }
        if (type == QLatin1String("str") || type == QLatin1String("e"))
            return value;
        if (type == QLatin1String("b"))
            return value.trimmed() == QLatin1String("1") ? QStringLiteral("WAHR") : QStringLiteral("FALSCH");
        if (type == QLatin1String("d")) {
            const QDateTime stamp = QDateTime::fromString(value.trimmed(), Qt::ISODate);
            return stamp.isValid() ? dateText(stamp.date()) : value;
        }
        if (value.trimmed().isEmpty())
            return QString();
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (!ok)
            return value;
        const NumberKind kind = styled && style >= 0 && style < m_formats.size() ? m_formats[style] : NumberKind::Number;
        if (kind == NumberKind::Date) {
            if (const std::optional<QDate> date = serialDate(number, m_date1904))
                return dateText(*date);
        } else if (kind == NumberKind::Time && number >= 0 && number < 1) {
            return timeText(number);
        }
        return numberText(number);
    }

    bool m_date1904;
    QStringList m_shared;
    QList<NumberKind> m_formats;
    CellGrid m_grid;
};

// ---------------------------------------------------------------- .xls

struct XlsHandle {
    ~XlsHandle()
    {
        if (handle)
            freexl_close(handle);
    }
    const void* handle = nullptr;
};

QString freexlText(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND: return QStringLiteral("Die Datei wurde nicht gefunden.");
    case FREEXL_INSUFFICIENT_MEMORY: return QStringLiteral("Der Speicher reicht nicht aus.");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return QStringLiteral("Die Datei enthält keine Excel-Arbeitsmappe.");
    default: return QStringLiteral("Die Datei ist keine lesbare Excel-Arbeitsmappe (Fehler %1).").arg(code);
    }
}

void checkFreexl(int code)
{
    if (code != FREEXL_OK)
        unreadable(freexlText(code));
}

QString xlsCellText(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT: return numberText(cell.value.int_value);
    case FREEXL_CELL_DOUBLE: return numberText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME: {
        const QString text = cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
        const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        return date.isValid() ? dateText(date) : text;
    }
    default: return QString();
    }
}

bool startsWith(const QByteArray& bytes, const char* magic, qsizetype size)
{
    return bytes.size() >= size && std::memcmp(bytes.constData(), magic, size_t(size)) == 0;
}

} // namespace

TextTable SheetReader::readXlsx(const QByteArray& bytes)
{
    const OoxmlPackageReader package(bytes);
    const Workbook book = readWorkbook(package);
    if (!package.hasPart(book.firstSheet))
        unreadable(QStringLiteral("Das Tabellenblatt „%1“ fehlt.").arg(book.firstSheet));
    XlsxSheet sheet(book, readSharedStrings(package, book.sharedStrings), readCellFormats(package, book.styles));
    XmlPart xml(package, book.firstSheet);
    return sheet.read(xml);
}

TextTable SheetReader::readXls(const QString& path)
{
    // libfreexl trusts the compound file's structures; they are checked first.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        unreadable(QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden (%2).").arg(path, file.errorString()));
    if (file.size() > kMaxPackageSize)
        unreadable(QStringLiteral("Die Datei ist größer als %1 MB.").arg(kMaxPackageSize / (1024 * 1024)));
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        unreadable(file.errorString());
    file.close();
    if (const std::optional<QString> damage = compoundFileDamage(bytes))
        unreadable(QStringLiteral("Die Datei ist beschädigt: %1.").arg(*damage));

    XlsHandle xls;
    checkFreexl(freexl_open(QFile::encodeName(path).constData(), &xls.handle));
    unsigned int password = 0;
    checkFreexl(freexl_get_info(xls.handle, FREEXL_BIFF_PASSWORD, &password));
    if (password == FREEXL_BIFF_OBFUSCATED)
        unreadable(QStringLiteral("Die Arbeitsmappe ist mit einem Kennwort geschützt."));
    unsigned int sheets = 0;
    checkFreexl(freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheets));
    if (sheets == 0)
        unreadable(QStringLiteral("Die Arbeitsmappe enthält kein Tabellenblatt."));
    checkFreexl(freexl_select_active_worksheet(xls.handle, 0));
    unsigned int rows = 0;
    unsigned short columns = 0;
    checkFreexl(freexl_worksheet_dimensions(xls.handle, &rows, &columns));
    if (rows > unsigned(kMaxRows) || qint64(rows) * columns > kMaxSheetCells * 8)
        unreadable(QStringLiteral("Die Tabelle hat mehr als %1 Zellen.").arg(kMaxSheetCells));
    CellGrid grid;
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            checkFreexl(freexl_get_cell_value(xls.handle, row, column, &cell));
            grid.set(int(row), int(column), xlsCellText(cell));
        }
    }
    return grid.table();
}

TextTable SheetReader::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        unreadable(QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden (%2).").arg(path, file.errorString()));
    if (file.size() > kMaxPackageSize)
        unreadable(QStringLiteral("Die Datei ist größer als %1 MB.").arg(kMaxPackageSize / (1024 * 1024)));
    const QByteArray head = file.peek(8);
    if (startsWith(head, "PK\x03\x04", 4)) {
        const QByteArray bytes = file.readAll();
        if (bytes.size() != file.size())
            unreadable(file.errorString());
        return readXlsx(bytes);
    }
    if (startsWith(head, "\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8)) {
        file.close();
        return readXls(path);
    }
    unreadable(QStringLiteral("Die Datei ist keine Excel-Arbeitsmappe (.xls oder .xlsx)."));
}

} // namespace bw
