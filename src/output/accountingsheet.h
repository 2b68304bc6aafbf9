// The entry-fee accounting sheet: a workbook with the one sheet
// "Turnierabrechnung", a row per class entry under a yellow header row with thin
// borders and an auto-filter; columns Vorname, Nachname, Verein,
// Spielklasse(n) (with the kind), Hat bezahlt? (Ja/Nein), Hat wieviel bezahlt
// (the player's amount) and Müsste bezahlen? (the class's fee), both amounts as
// euro numbers. Printed landscape, one page wide, the header row on every page.
#pragma once

#include "data/accountingrecords.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace bw {

class XlsxBook;

// Adds the sheet with the rows to the book; `rowWritten` is called after each row.
void fillAccountingSheet(XlsxBook& book, const QList<AccountingRow>& rows,
                         const std::function<void()>& rowWritten = {});

// Writes the sheet as a new file "Turnierabrechnung_<time>.xlsx" into the
// folder and returns its path; an AppError with the reason leaves no file.
QString writeAccountingFile(const QList<AccountingRow>& rows, const QString& folder, const QDateTime& time,
                            const std::function<void()>& rowWritten = {});

} // namespace bw
