#include "output/xlsxbook.h"

#include "platform/apperror.h"

#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <limits>

namespace bw {

namespace {

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw AppError(QString::fromUtf8(lxw_strerror(error)));
}

lxw_row_t rowIndex(int row)
{
    if (row < 0 || row >= int(LXW_ROW_MAX))
        check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
    return lxw_row_t(row);
}

lxw_col_t columnIndex(int column)
{
    if (column < 0 || column >= int(LXW_COL_MAX))
        check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
    return lxw_col_t(column);
}

std::uint16_t pageCount(int pages)
{
    return std::uint16_t(std::clamp(pages, 0, int(std::numeric_limits<std::uint16_t>::max())));
}

} // namespace

void XlsxSheet::writeText(int row, int column, const QString& text, const CellLook& look)
{
    check(worksheet_write_string(m_sheet, rowIndex(row), columnIndex(column), text.toUtf8().constData(),
                                 m_book->format(look)));
}

void XlsxSheet::writeNumber(int row, int column, double value, const CellLook& look)
{
    check(worksheet_write_number(m_sheet, rowIndex(row), columnIndex(column), value, m_book->format(look)));
}

void XlsxSheet::writeDate(int row, int column, const QDate& date, const CellLook& look)
{
    lxw_datetime value{date.year(), date.month(), date.day(), 0, 0, 0};
    check(worksheet_write_datetime(m_sheet, rowIndex(row), columnIndex(column), &value, m_book->format(look)));
}

void XlsxSheet::writeBlank(int row, int column, const CellLook& look)
{
    check(worksheet_write_blank(m_sheet, rowIndex(row), columnIndex(column), m_book->format(look)));
}

void XlsxSheet::setColumnWidth(int column, double width)
{
    const lxw_col_t index = columnIndex(column);
    check(worksheet_set_column(m_sheet, index, index, width, nullptr));
}

void XlsxSheet::setAutoFilter(int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    check(worksheet_autofilter(m_sheet, rowIndex(firstRow), columnIndex(firstColumn), rowIndex(lastRow),
                               columnIndex(lastColumn)));
}

void XlsxSheet::repeatRows(int firstRow, int lastRow)
{
    check(worksheet_repeat_rows(m_sheet, rowIndex(firstRow), rowIndex(lastRow)));
}

void XlsxSheet::setLandscape()
{
    worksheet_set_landscape(m_sheet);
}

void XlsxSheet::fitToPages(int wide, int tall)
{
    worksheet_fit_to_pages(m_sheet, pageCount(wide), pageCount(tall));
}

XlsxBook::XlsxBook(const QString& path)
{
    m_book = workbook_new(QFile::encodeName(path).constData());
    if (!m_book)
        check(LXW_ERROR_MEMORY_MALLOC_FAILED);
}

XlsxBook::~XlsxBook()
{
    if (m_book)
        lxw_workbook_free(m_book);
}

lxw_workbook* XlsxBook::workbook()
{
    if (!m_book)
        throw AppError(QStringLiteral("Die Arbeitsmappe ist bereits geschlossen."));
    return m_book;
}

XlsxSheet XlsxBook::addSheet(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    check(workbook_validate_sheet_name(workbook(), utf8.constData()));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook(), utf8.constData());
    if (!sheet)
        check(LXW_ERROR_MEMORY_MALLOC_FAILED);
    return XlsxSheet(*this, sheet);
}

lxw_format* XlsxBook::format(const CellLook& look)
{
    if (look == CellLook())
        return nullptr;
    for (const auto& [known, format] : m_formats) {
        if (known == look)
            return format;
    }
    lxw_format* format = workbook_add_format(workbook());
    if (!format)
        check(LXW_ERROR_MEMORY_MALLOC_FAILED);
    if (look.bold)
        format_set_bold(format);
    if (look.fontSize > 0)
        format_set_font_size(format, look.fontSize);
    if (look.fill) {
        format_set_pattern(format, LXW_PATTERN_SOLID);
        format_set_bg_color(format, lxw_color_t(*look.fill));
    }
    if (look.thinBorder)
        format_set_border(format, LXW_BORDER_THIN);
    if (!look.numberFormat.isEmpty())
        format_set_num_format(format, look.numberFormat.toUtf8().constData());
    m_formats.emplace_back(look, format);
    return format;
}

void XlsxBook::close()
{
    // workbook_close frees the workbook whatever it returns.
    lxw_workbook* book = workbook();
    m_book = nullptr;
    m_formats.clear();
    check(workbook_close(book));
}

} // namespace bw
