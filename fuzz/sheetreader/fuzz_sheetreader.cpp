// Fuzz target: the sheet readers. An input that starts like a zip archive is
// read as a whole .xlsx; one that starts like a compound file goes to the .xls
// reader through a temporary file (libfreexl reads files only); any other input
// is taken as the worksheet part of a small book, so the cell walk is reached
// without the compression in between. An AppError is the expected outcome of a
// bad input; anything else is a fault, and so is a row of another width.
#include "output/ooxmlpackage.h"
#include "output/sheetreader.h"
#include "platform/apperror.h"

#include <QFile>
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
                        + "/sharedStrings\" Target=\"t.xml\"/></Relationships>");
    package.addPart(QStringLiteral("xl/t.xml"), "<sst><si><t>a</t></si><si><r><t>b</t></r></si></sst>");
    package.addPart(QStringLiteral("xl/s.xml"), sheet);
    return package.finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace bw;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        TextTable table;
        if (bytes.startsWith("PK")) {
            table = SheetReader::readXlsx(bytes);
        } else if (bytes.startsWith("\xd0\xcf\x11\xe0")) {
            QTemporaryFile file;
            if (!file.open())
                return 0;
            file.write(bytes);
            file.close();
            table = SheetReader::readXls(file.fileName());
        } else {
            table = SheetReader::readXlsx(bookAround(bytes));
        }
        for (const QStringList& row : table.rows)
            if (row.size() != table.columnCount())
                __builtin_trap();
    } catch (const AppError&) {
    }
    return 0;
}
