// Reads the first worksheet of an Excel workbook as a table of texts, for the
// player import: .xls (BIFF, through libfreexl) and .xlsx (Office Open XML,
// through libzip and QXmlStreamReader). Both give the same texts for the same
// sheet:
//
// - the first worksheet in the workbook's order (workbook.xml and its
//   relationships; chart sheets do not count); row 1 holds the field names,
//   the rows below are the data;
// - every cell as text: texts as they stand (shared and inline strings, rich
//   text runs joined, phonetic runs left out), numbers in their shortest German
//   form with at most 15 significant digits ("1520", "1433,5"), a number whose
//   format is a date as "dd.MM.yyyy" (the date part of a date and time), one
//   whose format is a time alone as "hh:mm:ss", yes/no as "WAHR"/"FALSCH", an
//   error value as its code ("#DIV/0!"); a formula gives its stored result;
// - a cell's column comes from its reference ("C7"), so an empty cell inside a
//   row keeps the cells after it in their columns; the table's columns are the
//   sheet's columns that hold a text in any row, in the sheet's order (a
//   column without any text is left out, so one stray cell far to the right
//   adds one column, not thousands); every row has a text for each of them, and
//   rows that hold no text are left out.
//
// Outside input is bounded: the package limits of ooxmlpackage.h, no document
// type declaration, text nested at most a few levels deep inside a cell, every
// text cut after kMaxCellText characters, and at most kMaxSheetCells texts in
// the table. An .xls must be a sound compound file (compoundfile.h) before
// libfreexl reads it. Every failure throws AppError with a German message;
// nothing is returned half read.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace bw {

// The largest table (rows times columns) a sheet may give.
inline constexpr qint64 kMaxSheetCells = 2'000'000;
// The longest text of a cell; the rest is cut off. No player field is longer.
inline constexpr qsizetype kMaxCellText = 255;

// A table of texts: the field names and the rows, each as wide as the table.
struct TextTable {
    QStringList fieldNames;
    QList<QStringList> rows;

    int columnCount() const { return int(fieldNames.size()); }
    bool operator==(const TextTable&) const = default;
};

class SheetReader {
public:
    // The first worksheet of the workbook in a file; .xls or .xlsx is told by
    // the file's content, not its name. Throws AppError.
    static TextTable readFile(const QString& path);
    // The first worksheet of the bytes of an .xlsx. Throws AppError.
    static TextTable readXlsx(const QByteArray& bytes);
    // The first worksheet of an .xls file. Throws AppError.
    static TextTable readXls(const QString& path);
};

} // namespace bw
