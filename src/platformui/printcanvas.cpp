#include "platformui/printcanvas.h"

#include "platform/apperror.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace bw {

QString printFontFamily(const QString& fontName)
{
    QString key = fontName.toLower();
    key.remove(QLatin1Char(' '));
    if (key == QLatin1String("arial"))
        return QStringLiteral("Liberation Sans");
    if (key == QLatin1String("timesnewroman"))
        return QStringLiteral("Liberation Serif");
    return fontName;
}

PageMetrics PageMetrics::of(const QPrinter& printer)
{
    const int dpi = printer.resolution();
    const double f = 25.4 / (dpi > 0 ? dpi : 72);
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    PageMetrics m;
    m.widthMm = int(std::lround(full.width() * f));
    m.heightMm = int(std::lround(full.height() * f));
    m.leftOffsetMm = int(std::lround(paint.left() * f));
    m.topOffsetMm = int(std::lround(paint.top() * f));
    return m;
}

PrintCanvas::PrintCanvas(QPainter& painter)
    : m_painter(painter), m_scale(painter.device()->logicalDpiY() / 254.0)
{
}

namespace {

// The font whose cell (ascent and descent) is `pixels` high on the device, as
// on paper printouts of old; Qt sizes fonts by the em, so measure and correct once.
QFont cellFont(const QString& fontName, double pixels, bool bold, bool italic, QPaintDevice* device)
{
    QFont font(printFontFamily(fontName));
    font.setBold(bold);
    font.setItalic(italic);
    const double wanted = std::max(1.0, pixels);
    font.setPixelSize(std::max(1, int(std::lround(wanted))));
    const double cell = device ? QFontMetricsF(font, device).height() : QFontMetricsF(font).height();
    if (cell > 0)
        font.setPixelSize(std::max(1, int(std::lround(wanted * wanted / cell))));
    return font;
}

} // namespace

int printTextWidth(const PrintItem& text)
{
    // Measured ten times as large as a tenth of a millimetre, which is about
    // the resolution of a printer, so the rounding of small sizes does not show.
    constexpr double kPixelsPerTenth = 10.0;
    const QFont font = cellFont(text.font, text.height * kPixelsPerTenth, text.bold, text.italic, nullptr);
    return int(std::lround(QFontMetricsF(font).horizontalAdvance(text.text) / kPixelsPerTenth));
}

int roundHalfEven(double x)
{
    const double down = std::floor(x);
    const double rest = x - down;
    if (rest > 0.5)
        return int(down) + 1;
    if (rest < 0.5)
        return int(down);
    return std::fmod(down, 2.0) == 0 ? int(down) : int(down) + 1;
}

void PrintCanvas::setFont(const QString& fontName, int height, bool bold, bool italic)
{
    m_painter.setFont(cellFont(fontName, height * m_scale, bold, italic, m_painter.device()));
}

void PrintCanvas::textOut(int x, int y, const QString& text, int width)
{
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const QString shown = width > 0 ? metrics.elidedText(text, Qt::ElideRight, dx(width)) : text;
    m_painter.drawText(QPointF(dx(x), dy(y) + metrics.ascent()), shown);
}

void PrintCanvas::line(int x1, int y1, int x2, int y2)
{
    m_painter.drawLine(QPointF(dx(x1), dy(y1)), QPointF(dx(x2), dy(y2)));
}

void PrintCanvas::fill(int x1, int y1, int x2, int y2)
{
    m_painter.fillRect(QRectF(QPointF(dx(x1), dy(y1)), QPointF(dx(x2), dy(y2))).normalized(), Qt::black);
}

int PrintCanvas::textWidth(const PrintItem& text) const
{
    const QFont font = cellFont(text.font, text.height * m_scale, text.bold, text.italic, m_painter.device());
    return int(std::lround(QFontMetricsF(font, m_painter.device()).horizontalAdvance(text.text) / m_scale));
}

TextWidthFn PrintCanvas::measure() const
{
    return [this](const PrintItem& text) { return textWidth(text); };
}

void PrintCanvas::draw(const PrintPage& page)
{
    for (const PrintItem& item : page) {
        if (item.kind == PrintItem::Kind::Line) {
            line(item.x, item.y, item.x2, item.y2);
        } else if (item.kind == PrintItem::Kind::Fill) {
            fill(item.x, item.y, item.x2, item.y2);
        } else {
            setFont(item.font, item.height, item.bold, item.italic);
            textOut(item.x, item.y, item.text, item.width);
        }
    }
}

PrintJob::PrintJob(QPrinter& printer) : m_printer(printer), m_painter(std::make_unique<QPainter>())
{
    if (!m_painter->begin(&printer))
        throw AppError(QStringLiteral("Der Drucker konnte den Druck nicht beginnen."));
    m_canvas = std::make_unique<PrintCanvas>(*m_painter);
}

PrintJob::~PrintJob()
{
    if (!m_finished) {
        m_printer.abort();
        m_painter->end();
    }
}

void PrintJob::newPage()
{
    if (!m_printer.newPage())
        throw AppError(QStringLiteral("Der Drucker konnte keine neue Seite beginnen."));
}

void PrintJob::printPages(const QList<PrintPage>& pages)
{
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            newPage();
        m_canvas->draw(pages.at(i));
    }
}

void PrintJob::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_painter->end())
        throw AppError(QStringLiteral("Der Drucker konnte den Druck nicht abschließen."));
}

} // namespace bw
