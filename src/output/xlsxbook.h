// An xlsx workbook written with libxlsxwriter, for the spreadsheet exports.
//
// The book owns the library's workbook: close() writes the file, and a book
// destroyed without close() (an exception on the way) is freed without writing
// anything. Every error the library reports becomes an AppError with the
// library's own text. Cells take a CellLook; each distinct look becomes one
// format of the workbook, made the first time it is used and reused after.
// Rows and columns count from 0, as in the library (A1 is row 0, column 0).
#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace bw {

// How a cell looks; the default is a plain cell in the General format.
struct CellLook {
    bool bold = false;
    double fontSize = 0;                 // points; 0 keeps the default size
    std::optional<std::uint32_t> fill;   // a solid fill of colour 0xRRGGBB
    bool thinBorder = false;             // a thin line on all four sides
    QString numberFormat;                // Excel's format code; empty: General

    bool operator==(const CellLook&) const = default;
};

// Excel's colour index 36 of its default palette, the header rows' yellow.
inline constexpr std::uint32_t kHeaderYellow = 0xFFFF99;
// Euro amounts with two decimals.
inline const QString kEuroFormat = QStringLiteral("#,##0.00 \"€\"");

class XlsxBook;

// One worksheet of a book; valid while its book lives.
class XlsxSheet {
public:
    void writeText(int row, int column, const QString& text, const CellLook& look = {});
    void writeNumber(int row, int column, double value, const CellLook& look = {});
    // A date as Excel's date number; the look's number format shows it.
    void writeDate(int row, int column, const QDate& date, const CellLook& look);
    // A cell without a value that still shows its look.
    void writeBlank(int row, int column, const CellLook& look);

    // The width in Excel's character units, as Excel's ColumnWidth.
    void setColumnWidth(int column, double width);
    void setAutoFilter(int firstRow, int firstColumn, int lastRow, int lastColumn);
    // Rows printed at the top of every page.
    void repeatRows(int firstRow, int lastRow);
    void setLandscape();
    // Printed this many pages wide and tall; 0 leaves that direction free.
    void fitToPages(int wide, int tall);

private:
    friend class XlsxBook;
    XlsxSheet(XlsxBook& book, lxw_worksheet* sheet) : m_book(&book), m_sheet(sheet) {}

    XlsxBook* m_book;
    lxw_worksheet* m_sheet;
};

class XlsxBook {
public:
    // A new, empty book that close() writes to `path`.
    explicit XlsxBook(const QString& path);
    ~XlsxBook();
    XlsxBook(const XlsxBook&) = delete;
    XlsxBook& operator=(const XlsxBook&) = delete;

    XlsxSheet addSheet(const QString& name);
    // Writes the file and ends the book; nothing may be written after it.
    void close();

private:
    friend class XlsxSheet;
    lxw_format* format(const CellLook& look);
    lxw_workbook* workbook();

    lxw_workbook* m_book = nullptr;
    std::vector<std::pair<CellLook, lxw_format*>> m_formats;
};

} // namespace bw
