#include "controls/uicoreutils.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <random>

namespace uiCoreUtils {

// --- colours ---------------------------------------------------------------

namespace {

constexpr quint32 kSystemColorFlag = 0xFF000000u;
constexpr quint32 kColorNone = 0x1FFFFFFFu;
constexpr quint32 kColorDefault = 0x20000000u;

// The system colours by their index, as the palette roles that play their part.
struct SystemColor {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr SystemColor kSystemColors[] = {
    {0, QPalette::Active, QPalette::Mid},                // scroll bar
    {1, QPalette::Active, QPalette::Dark},               // desktop
    {2, QPalette::Active, QPalette::Highlight},          // active caption
    {3, QPalette::Inactive, QPalette::Highlight},        // inactive caption
    {4, QPalette::Active, QPalette::Window},             // menu
    {5, QPalette::Active, QPalette::Base},               // window
    {6, QPalette::Active, QPalette::Shadow},             // window frame
    {7, QPalette::Active, QPalette::WindowText},         // menu text
    {8, QPalette::Active, QPalette::Text},               // window text
    {9, QPalette::Active, QPalette::HighlightedText},    // caption text
    {10, QPalette::Active, QPalette::Button},            // active border
    {11, QPalette::Inactive, QPalette::Button},          // inactive border
    {12, QPalette::Active, QPalette::Mid},               // application workspace
    {13, QPalette::Active, QPalette::Highlight},         // highlight
    {14, QPalette::Active, QPalette::HighlightedText},   // highlight text
    {15, QPalette::Active, QPalette::Button},            // button face
    {16, QPalette::Active, QPalette::Dark},              // button shadow
    {17, QPalette::Disabled, QPalette::Text},            // grey text
    {18, QPalette::Active, QPalette::ButtonText},        // button text
    {19, QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {20, QPalette::Active, QPalette::Light},             // button highlight
    {21, QPalette::Active, QPalette::Shadow},            // dark 3D shadow
    {22, QPalette::Active, QPalette::Midlight},          // 3D light
    {23, QPalette::Active, QPalette::ToolTipText},       // info text
    {24, QPalette::Active, QPalette::ToolTipBase},       // info background
    {26, QPalette::Active, QPalette::Link},              // hot light
    {27, QPalette::Active, QPalette::Highlight},         // gradient active caption
    {28, QPalette::Inactive, QPalette::Highlight},       // gradient inactive caption
    {29, QPalette::Active, QPalette::Highlight},         // menu highlight
    {30, QPalette::Active, QPalette::Window},            // menu bar
};

} // namespace

QColor ColorFromValue(quint32 value, const QPalette& palette)
{
    if (value == kColorNone || value == kColorDefault)
        return {};
    if ((value & 0xFF000000u) == kSystemColorFlag) {
        const int index = int(value & 0xFFu);
        for (const SystemColor& c : kSystemColors)
            if (c.index == index)
                return palette.color(c.group, c.role);
        return {};
    }
    if (value & 0xFF000000u)
        return {};
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

QColor ColorFromValue(quint32 value)
{
    return ColorFromValue(value, QGuiApplication::palette());
}

quint32 ValueFromColor(const QColor& color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

QColor ButtonHighlightColor(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Light);
}

QColor ButtonShadowColor(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Dark);
}

// --- fonts -----------------------------------------------------------------

QFont FontFromHeight(const QString& name, int pixelHeight, bool bold)
{
    QFont font;
    if (name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0) {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamily(name);
    }
    font.setPixelSize(std::max(1, std::abs(pixelHeight)));
    font.setBold(bold);
    return font;
}

QFont FontFromSize(const QString& name, int points, bool bold)
{
    return FontFromHeight(name, MulDiv(points, 96, 72), bold);
}

// --- arithmetic --------------------------------------------------------------

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const qint64 product = qint64(a) * b;
    const qint64 half = std::abs(qint64(c)) / 2;
    const bool negative = (product < 0) != (c < 0);
    const qint64 magnitude = (std::abs(product) + half) / std::abs(qint64(c));
    return int(negative ? -magnitude : magnitude);
}

// --- gradients ---------------------------------------------------------------

QVector<QColor> CreateColorRamp(const QColor& start, const QColor& end, int count)
{
    QVector<QColor> ramp;
    if (count <= 0)
        return ramp;
    if (count == 1)
        return {start};
    ramp.reserve(count);
    auto channel = [count](int from, int to, int i) {
        return from + MulDiv(i, to - from, count - 1);
    };
    for (int i = 0; i < count; ++i)
        ramp.append(QColor(channel(start.red(), end.red(), i), channel(start.green(), end.green(), i),
                           channel(start.blue(), end.blue(), i)));
    return ramp;
}

QImage DrawGradientBitmap(int width, int height, const QColor& a, const QColor& b, int bands,
                          GradientStyle style, bool dithered)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(a);
    // Fewer than two bands would divide by zero below; they mean one colour.
    if (bands < 2)
        return image;

    const bool reversed = style == gsHorizontalReversed || style == gsVerticalReversed;
    const bool horizontal = style == gsHorizontal || style == gsHorizontalReversed;
    const QVector<QColor> ramp = reversed ? CreateColorRamp(b, a, bands) : CreateColorRamp(a, b, bands);

    auto setPixel = [&image](int x, int y, QRgb rgb) {
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = rgb;
    };
    for (int i = 0; i < bands; ++i) {
        const QRgb rgb = ramp[i].rgb();
        if (horizontal) {
            const int x0 = std::max(0, MulDiv(i, width, bands));
            const int x1 = std::min(width, MulDiv(i + 1, width, bands));
            for (int y = 0; y < height; ++y)
                for (int x = x0; x < x1; ++x)
                    setPixel(x, y, rgb);
        } else {
            const int y0 = std::max(0, MulDiv(i, height, bands));
            const int y1 = std::min(height, MulDiv(i + 1, height, bands));
            for (int y = y0; y < y1; ++y)
                for (int x = 0; x < width; ++x)
                    setPixel(x, y, rgb);
        }
    }
    if (!dithered)
        return image;

    // A fixed seed: the same gradient always looks the same.
    std::minstd_rand generator(0x5eed);
    auto random = [&generator](int k) { return k <= 0 ? 0 : int(generator() % unsigned(k)); };
    constexpr int tile = 16;
    for (int i = 1; i < bands; ++i) {
        const QRgb previous = ramp[i - 1].rgb();
        if (horizontal) {
            const int edge = MulDiv(i, width, bands);
            for (int y = 0; y < std::min(tile, height); ++y)
                for (int k = 0; k <= width / (bands - 1); ++k) {
                    const int x = edge + random(k);
                    if (x >= 0 && x < width)
                        setPixel(x, y, previous);
                }
        } else {
            const int edge = MulDiv(i, height, bands);
            for (int k = 0; k <= height / (bands - 1); ++k) {
                const int y = edge + random(k);
                if (y >= 0 && y < height)
                    for (int x = 0; x < std::min(tile, width); ++x)
                        setPixel(x, y, previous);
            }
        }
    }
    // Repeat the dithered first tile over the whole picture.
    if (horizontal) {
        for (int y = tile; y < height; ++y)
            std::copy_n(image.constScanLine(y % tile), width * 4, image.scanLine(y));
    } else {
        for (int y = 0; y < height; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = tile; x < width; ++x)
                row[x] = row[x % tile];
        }
    }
    return image;
}

// --- lines -----------------------------------------------------------------

void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color)
{
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    if (dx == 0 && dy == 0)
        return;
    if (dy == 0) {
        painter.fillRect(QRect(std::min(x1, x2 + 1), y1, dx, 1), color);
        return;
    }
    if (dx == 0) {
        painter.fillRect(QRect(x1, std::min(y1, y2 + 1), 1, dy), color);
        return;
    }
    // Bresenham, stopping before the end point.
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx - dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        painter.fillRect(QRect(x, y, 1, 1), color);
        const int e2 = 2 * error;
        if (e2 > -dy) {
            error -= dy;
            x += sx;
        }
        if (e2 < dx) {
            error += dx;
            y += sy;
        }
    }
}

QRect AdjustBoundRect(int borderWidth, bool showBoundLines, TuiBoundLines boundLines, const QRect& rect)
{
    const int border = std::max(0, borderWidth);
    auto line = [&](TuiBoundLine side) { return showBoundLines && boundLines.testFlag(side) ? 1 : 0; };
    QRect adjusted = rect.adjusted(border + line(blLeft), border + line(blTop), -(border + line(blRight)),
                                   -(border + line(blBottom)));
    // A border wider than the control leaves an empty area, never a negative one.
    if (adjusted.width() < 0)
        adjusted.setWidth(0);
    if (adjusted.height() < 0)
        adjusted.setHeight(0);
    return adjusted;
}

void DrawBoundLines(QPainter& painter, TuiBoundLines boundLines, const QColor& color, const QRect& rect)
{
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    if (boundLines.testFlag(blLeft))
        DrawLine(painter, left, top, left, bottom - 1, color);
    if (boundLines.testFlag(blTop))
        DrawLine(painter, left, top, right, top, color);
    if (boundLines.testFlag(blRight))
        DrawLine(painter, right - 1, top, right - 1, bottom - 1, color);
    if (boundLines.testFlag(blBottom))
        DrawLine(painter, left, bottom - 1, right, bottom - 1, color);
}

void DrawFocusRect(QPainter& painter, const QRect& rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor invert(Qt::white);
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;
    for (int x = rect.left(); x <= right; x += 2) {
        painter.fillRect(QRect(x, rect.top(), 1, 1), invert);
        if (bottom != rect.top())
            painter.fillRect(QRect(x, bottom, 1, 1), invert);
    }
    for (int y = rect.top() + 2; y < bottom; y += 2) {
        painter.fillRect(QRect(rect.left(), y, 1, 1), invert);
        if (right != rect.left())
            painter.fillRect(QRect(right, y, 1, 1), invert);
    }
    painter.restore();
}

// --- pictures ----------------------------------------------------------------

namespace {

// A copy in a format of 32-bit pixels, keeping an alpha channel when there is one.
QImage pixels32(const QImage& bitmap)
{
    return bitmap.convertToFormat(bitmap.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace

QImage GrayBitmap(const QImage& bitmap)
{
    QImage grey = pixels32(bitmap);
    for (int y = 0; y < grey.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            int v = (qRed(row[x]) + qGreen(row[x]) + qBlue(row[x])) / 3;
            v = v < 156 ? v + 100 : 255;
            row[x] = qRgba(v, v, v, qAlpha(row[x]));
        }
    }
    return grey;
}

QImage RecolorBitmap(const QImage& bitmap, const QColor& color)
{
    QImage recoloured = pixels32(bitmap);
    for (int y = 0; y < recoloured.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(recoloured.scanLine(y));
        for (int x = 0; x < recoloured.width(); ++x)
            if ((row[x] & 0x00FFFFFFu) == 0 && qAlpha(row[x]) != 0)
                row[x] = qRgba(color.red(), color.green(), color.blue(), qAlpha(row[x]));
    }
    return recoloured;
}

void DrawTransparent(QPainter& painter, int x, int y, const QImage& bitmap)
{
    if (bitmap.isNull())
        return;
    if (bitmap.hasAlphaChannel()) {
        painter.drawImage(x, y, bitmap);
        return;
    }
    QImage masked = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = masked.pixel(0, masked.height() - 1) | 0xFF000000u;
    for (int row = 0; row < masked.height(); ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
        for (int col = 0; col < masked.width(); ++col)
            if ((line[col] | 0xFF000000u) == transparent)
                line[col] = 0;
    }
    painter.drawImage(x, y, masked);
}

// --- text ------------------------------------------------------------------

QChar AcceleratorOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1];
        ++i; // "&&" is a plain "&"
    }
    return {};
}

QString StripAccelerator(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

void DrawText(QPainter& painter, const QString& text, QRect& rect, TuiTextFlags flags)
{
    const bool prefix = !flags.testFlag(TuiTextFlag::NoPrefix);
    const bool wrap = flags.testFlag(TuiTextFlag::WordBreak) && !flags.testFlag(TuiTextFlag::SingleLine);
    const QString shown = prefix ? StripAccelerator(text) : text;
    const QFontMetrics metrics(painter.font());

    int horizontal = Qt::AlignLeft;
    if (flags.testFlag(TuiTextFlag::Center))
        horizontal = Qt::AlignHCenter;
    else if (flags.testFlag(TuiTextFlag::Right))
        horizontal = Qt::AlignRight;
    if (flags.testFlag(TuiTextFlag::RightToLeft)) {
        if (horizontal == Qt::AlignLeft)
            horizontal = Qt::AlignRight;
        else if (horizontal == Qt::AlignRight)
            horizontal = Qt::AlignLeft;
    }
    const int tabs = flags.testFlag(TuiTextFlag::ExpandTabs) ? int(Qt::TextExpandTabs) : 0;

    if (flags.testFlag(TuiTextFlag::CalcRect)) {
        if (wrap) {
            const QRect bounds = metrics.boundingRect(QRect(rect.left(), rect.top(), std::max(1, rect.width()), INT_MAX / 4),
                                                      Qt::AlignLeft | Qt::TextWordWrap | tabs, shown);
            rect.setWidth(bounds.width());
            rect.setHeight(bounds.height());
        } else {
            rect.setWidth(metrics.horizontalAdvance(shown));
            rect.setHeight(metrics.height());
        }
        return;
    }

    int vertical = Qt::AlignTop;
    if (!wrap && flags.testFlag(TuiTextFlag::VCenter))
        vertical = Qt::AlignVCenter;
    else if (!wrap && flags.testFlag(TuiTextFlag::Bottom))
        vertical = Qt::AlignBottom;

    if (wrap) {
        painter.drawText(rect, horizontal | vertical | Qt::TextWordWrap | tabs | (prefix ? Qt::TextShowMnemonic : 0),
                         text);
        return;
    }
    if (flags.testFlag(TuiTextFlag::EndEllipsis) && metrics.horizontalAdvance(shown) > rect.width()) {
        // Shortened captions lose their accelerator mark.
        painter.drawText(rect, horizontal | vertical | Qt::TextSingleLine | tabs,
                         metrics.elidedText(shown, Qt::ElideRight, std::max(0, rect.width())));
        return;
    }
    painter.drawText(rect, horizontal | vertical | Qt::TextSingleLine | tabs | (prefix ? Qt::TextShowMnemonic : 0),
                     text);
}

void DrawCaptionText(const QWidget* control, QPainter& painter, const QString& text, const QFont& font,
                     const QColor& color, bool enabled, bool showAccelerator, QRect& rect, TuiTextFlags flags)
{
    QString caption = text;
    const bool measuring = flags.testFlag(TuiTextFlag::CalcRect);
    if (measuring && (caption.isEmpty() || (showAccelerator && caption == QLatin1String("&"))))
        caption += QLatin1Char(' ');
    if (!showAccelerator)
        flags |= TuiTextFlag::NoPrefix;
    if (control && control->layoutDirection() == Qt::RightToLeft)
        flags |= TuiTextFlag::RightToLeft;
    painter.setFont(font);
    if (measuring) {
        DrawText(painter, caption, rect, flags);
        return;
    }
    painter.save();
    if (enabled) {
        painter.setPen(color);
        DrawText(painter, caption, rect, flags);
    } else {
        const QPalette palette = control ? control->palette() : QGuiApplication::palette();
        QRect engraved = rect.translated(1, 1);
        painter.setPen(ButtonHighlightColor(palette));
        DrawText(painter, caption, engraved, flags);
        painter.setPen(ButtonShadowColor(palette));
        DrawText(painter, caption, rect, flags);
    }
    painter.restore();
}

TuiTextFlags AlignmentFlags(TuiAlignment alignment, bool wordWrap)
{
    TuiTextFlags flags = TuiTextFlag::EndEllipsis | (wordWrap ? TuiTextFlag::WordBreak : TuiTextFlag::SingleLine);
    switch (alignment) {
    case TuiAlignment::Left: break;
    case TuiAlignment::Right: flags |= TuiTextFlag::Right; break;
    case TuiAlignment::Center: flags |= TuiTextFlag::Center; break;
    }
    return flags;
}

void DrawAlignedCaption(const QWidget* control, QPainter& painter, const QString& text, const QRect& rect,
                        bool wordWrap, TuiAlignment alignment, bool showAccelerator, bool enabled,
                        const QFont& font, const QColor& color)
{
    const TuiTextFlags flags = AlignmentFlags(alignment, wordWrap);
    QRect measured = rect;
    DrawCaptionText(control, painter, text, font, color, enabled, showAccelerator, measured,
                    flags | TuiTextFlag::CalcRect);
    QRect target = rect;
    const int measuredBottom = measured.top() + measured.height();
    target.translate(0, (rect.height() - measuredBottom) / 2);
    DrawCaptionText(control, painter, text, font, color, enabled, showAccelerator, target, flags);
}

} // namespace uiCoreUtils
