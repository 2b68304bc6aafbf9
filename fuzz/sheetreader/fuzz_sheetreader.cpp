// Fuzz target: the sheet readers as the import reads an organiser's sheet. An
// input that starts like a zip archive or a compound file is written to a file
// and read with readFile() (which tells .xlsx from .xls by the content); any
// other input is taken as the worksheet part of a small book, so the cell walk
// is reached without the compression in between. The table is then mapped as
// the import maps it. An AppError is the expected outcome of a bad input;
// anything else is a fault, and so is a table that breaks its own bounds: a row
// of another width, a text longer than kMaxCellText, a column without any text.
#include "output/importsources.h"
#include "output/ooxmlpackage.h"
#include "output/sheetreader.h"
#include "platform/apperror.h"

#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray bookAround(const QByteArray& sheet)
{
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    bw::OoxmlPackageWriter package;
    package.addPart(QStringLiteral("xl/workbook.xml"),
                    "<workbook xmlns:r=\"" + rel + "\"><sheets><sheet r:id=\"a\"/></sheets></workbook>");
    package.addPart(QStringLiteral("xl/_rels/workbook.xml.rels"),
                    "<Relationships><Relationship Id=\"a\" Type=\"" + rel
                        + "/worksheet\" Target=\"s.xml\"/><Relationship Id=\"b\" Type=\"" + rel
                        + "/sharedStrings\" Target=\"t.xml\"/><Relationship Id=\"c\" Type=\"" + rel
                        + "/styles\" Target=\"y.xml\"/></Relationships>");
    package.addPart(QStringLiteral("xl/t.xml"), "<sst><si><t>a</t></si><si><r><t>b</t></r></si></sst>");
    package.addPart(QStringLiteral("xl/y.xml"),
                    "<styleSheet><numFmts><numFmt numFmtId=\"170\" formatCode=\"d/m/yy\"/></numFmts>"
                    "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"170\"/>"
                    "<xf numFmtId=\"21\"/></cellXfs></styleSheet>");
    package.addPart(QStringLiteral("xl/s.xml"), sheet);
    return package.finish();
}

void check(const bw::TextTable& table)
{
    using namespace bw;
    QList<bool> filled(table.columnCount(), false);
    const auto look = [&](const QStringList& row) {
        if (row.size() != table.columnCount())
            __builtin_trap();
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (row[c].size() > kMaxCellText)
                __builtin_trap();
            filled[c] = filled[c] || !row[c].isEmpty();
        }
    };
    look(table.fieldNames);
    for (const QStringList& row : table.rows)
        look(row);
    if (filled.contains(false))
        __builtin_trap();

    // Mapped as the import maps it: every label in order, as many as fit.
    const QStringList order = sheetFieldLabels().mid(0, table.columnCount());
    if (checkSheetMapping(table, order).isEmpty())
        for (const ImportItem& item : sheetItems(table, order))
            if (item.nachname.isEmpty() || item.vorname.isEmpty())
                __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace bw;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        if (bytes.startsWith("PK") || bytes.startsWith("\xd0\xcf\x11\xe0")) {
            QTemporaryFile file;
            if (!file.open())
                return 0;
            file.write(bytes);
            file.close();
            check(SheetReader::readFile(file.fileName()));
        } else {
            check(SheetReader::readXlsx(bookAround(bytes)));
        }
    } catch (const AppError&) {
    }
    return 0;
}
