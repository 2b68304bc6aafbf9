#include "output/accountingsheet.h"

#include "data/classrecords.h"
#include "output/outputfile.h"
#include "output/storedtext.h"
#include "output/xlsxbook.h"

namespace bw {

namespace {

struct Column {
    const char* header;
    double width;
};

const Column kColumns[] = {
    {"Vorname", 20},      {"Nachname", 20},           {"Verein", 25},           {"Spielklasse(n)", 25},
    {"Hat bezahlt?", 15}, {"Hat wieviel bezahlt", 20}, {"Müsste bezahlen?", 20},
};
constexpr int kColumnCount = int(std::size(kColumns));

void writeAmount(XlsxSheet& sheet, int row, int column, const std::optional<double>& amount)
{
    CellLook euro;
    euro.numberFormat = kEuroFormat;
    if (amount)
        sheet.writeNumber(row, column, *amount, euro);
    else
        sheet.writeBlank(row, column, euro);
}

} // namespace

void fillAccountingSheet(XlsxBook& book, const QList<AccountingRow>& rows, const std::function<void()>& rowWritten)
{
    XlsxSheet sheet = book.addSheet(QStringLiteral("Turnierabrechnung"));
    sheet.setLandscape();
    sheet.repeatRows(0, 0);
    sheet.fitToPages(1, 0);

    CellLook header;
    header.fill = kHeaderYellow;
    header.thinBorder = true;
    for (int c = 0; c < kColumnCount; ++c) {
        sheet.writeText(0, c, QString::fromUtf8(kColumns[c].header), header);
        sheet.setColumnWidth(c, kColumns[c].width);
    }

    int r = 0;
    for (const AccountingRow& row : rows) {
        ++r;
        sheet.writeText(r, 0, row.vorname);
        sheet.writeText(r, 1, row.nachname);
        sheet.writeText(r, 2, row.verein);
        sheet.writeText(r, 3, row.kbezeichnung + kindSuffix(row.system));
        sheet.writeText(r, 4, yesNoText(row.bezahlt));
        // The player's amount under "Hat wieviel bezahlt", as the sheet has always had it.
        writeAmount(sheet, r, 5, row.zubezahlen);
        writeAmount(sheet, r, 6, row.gebuehr);
        if (rowWritten)
            rowWritten();
    }
    sheet.setAutoFilter(0, 0, r, kColumnCount - 1);
}

QString writeAccountingFile(const QList<AccountingRow>& rows, const QString& folder, const QDateTime& time,
                            const std::function<void()>& rowWritten)
{
    OutputFile file(folder, QStringLiteral("Turnierabrechnung"), time, QStringLiteral("xlsx"));
    XlsxBook book(file.temporaryPath());
    fillAccountingSheet(book, rows, rowWritten);
    book.close();
    return file.commit();
}

} // namespace bw
