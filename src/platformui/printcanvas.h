// Paper printing as the program's printouts are laid out: coordinates in tenths
// of a millimetre, the origin at the top-left corner of the printer's printable
// area, x to the right and y upwards, so everything on the page lies at a
// negative y. A text is placed by the top-left corner of its cell; a font is
// chosen by the name the layout gives it (Arial, Times New Roman) and its cell
// height.
//
// A printout is laid out as data (pages of PrintItems) and then drawn, so the
// layout can be checked without a printer; PrintJob runs one document on a
// QPrinter (a PDF file in tests) and aborts it when drawing fails.
#pragma once

#include <QFont>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace bw {

// The installed font drawn for a font name of a layout, with the same widths:
// Arial -> Liberation Sans, Times New Roman (also written "TimesNewRoman") ->
// Liberation Serif; any other name is kept.
QString printFontFamily(const QString& fontName);

// What a layout needs of the printer, in whole millimetres: the physical page
// and the offset of its printable area from the paper's edge.
struct PageMetrics {
    int widthMm = 0;
    int heightMm = 0;
    int leftOffsetMm = 0;
    int topOffsetMm = 0;

    // From the printer's current page, rounding dots with 25.4 / its resolution.
    static PageMetrics of(const QPrinter& printer);
};

// One thing drawn on a page.
struct PrintItem {
    enum class Kind { Text, Line, Fill };
    Kind kind = Kind::Text;
    int x = 0;
    int y = 0;
    int x2 = 0; // end of a line, opposite corner of a filled rectangle
    int y2 = 0;
    QString font;   // font name of a text, as the layout gives it
    int height = 0; // cell height of a text
    QString text;
    int width = 0; // the room of a text; a longer one ends in "…". 0: no limit
    bool bold = false;
    bool italic = false;

    static PrintItem textAt(int x, int y, const QString& font, int height, const QString& text)
    {
        return {Kind::Text, x, y, 0, 0, font, height, text};
    }
    // A text that must end within `width` (a column before the next one).
    static PrintItem textIn(int x, int y, int width, const QString& font, int height, const QString& text)
    {
        return {Kind::Text, x, y, 0, 0, font, height, text, width};
    }
    static PrintItem lineFrom(int x, int y, int x2, int y2) { return {Kind::Line, x, y, x2, y2, {}, 0, {}}; }
    // A rectangle filled black, from one corner (x, y) to the opposite one.
    static PrintItem filled(int x, int y, int x2, int y2) { return {Kind::Fill, x, y, x2, y2, {}, 0, {}}; }
    // The same text in bold, italic or both.
    PrintItem styled(bool isBold, bool isItalic = false) const
    {
        PrintItem item = *this;
        item.bold = isBold;
        item.italic = isItalic;
        return item;
    }
    bool operator==(const PrintItem&) const = default;
};
using PrintPage = QList<PrintItem>;

// The width of a text item in tenths of a millimetre, as PrintCanvas draws it
// (font, cell height and style of the item; its width limit is not applied).
// Layouts centre texts by it.
int printTextWidth(const PrintItem& text);
// How a layout measures texts: printTextWidth, PrintCanvas::textWidth on the
// printer a job runs on, or a stand-in in tests.
using TextWidthFn = std::function<int(const PrintItem&)>;

// x rounded to the nearest whole number, halves to the even one, as the
// printouts' measures are rounded.
int roundHalfEven(double x);

// Draws in tenths of a millimetre on an active painter whose origin is the
// printable area's top-left corner.
class PrintCanvas {
public:
    explicit PrintCanvas(QPainter& painter);

    void setFont(const QString& fontName, int height, bool bold = false, bool italic = false);
    // A width above 0 shortens a longer text to it, ending in "…".
    void textOut(int x, int y, const QString& text, int width = 0);
    void line(int x1, int y1, int x2, int y2);
    void fill(int x1, int y1, int x2, int y2);
    void draw(const PrintPage& page);
    // The width of a text item on this device, in tenths of a millimetre
    // (font, cell height and style of the item; its width limit not applied).
    int textWidth(const PrintItem& text) const;
    // textWidth as a layout takes it.
    TextWidthFn measure() const;

    // Device pixels per tenth of a millimetre.
    double scale() const { return m_scale; }

private:
    double dx(int x) const { return x * m_scale; }
    double dy(int y) const { return -y * m_scale; }

    QPainter& m_painter;
    double m_scale;
};

// One printed document. The constructor begins it (AppError when the printer
// cannot start); destroying it unfinished aborts it, so a failure part-way
// leaves no half-sent job.
class PrintJob {
public:
    explicit PrintJob(QPrinter& printer);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    PrintCanvas& canvas() { return *m_canvas; }
    // Begins the next page (AppError when the printer refuses).
    void newPage();
    // Prints the pages, each on a sheet of its own.
    void printPages(const QList<PrintPage>& pages);
    // Ends the document and hands it to the printer.
    void finish();

private:
    QPrinter& m_printer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<PrintCanvas> m_canvas;
    bool m_finished = false;
};

} // namespace bw
