// Drawing helpers shared by the window controls: colours stored as 0x00BBGGRR
// values, gradient bitmaps, bound lines, pixel lines without their end point,
// greyed and recoloured pictures, and caption text with "&" accelerators.
//
// Pictures are QImages. The helpers that change a picture return a changed
// copy, so a control can cache the copy and keep its original untouched.
#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QVector>

class QPainter;
class QWidget;

// The sides of a control that get a bound line.
enum TuiBoundLine { blLeft = 0x1, blTop = 0x2, blRight = 0x4, blBottom = 0x8 };
Q_DECLARE_FLAGS(TuiBoundLines, TuiBoundLine)
Q_DECLARE_OPERATORS_FOR_FLAGS(TuiBoundLines)

enum class TuiAlignment { Left, Right, Center };

// How DrawText lays out a caption. Left alignment and the top line are the
// absence of the other alignments.
enum class TuiTextFlag {
    Center = 0x1,
    Right = 0x2,
    VCenter = 0x4,       // single line: centred vertically
    Bottom = 0x8,        // single line: at the bottom
    WordBreak = 0x10,    // wrapped at word ends unless SingleLine
    SingleLine = 0x20,
    ExpandTabs = 0x40,
    CalcRect = 0x80,     // measure only
    NoPrefix = 0x100,    // "&" is a plain character, not an accelerator mark
    RightToLeft = 0x200, // a right-to-left control: left and right swap
    EndEllipsis = 0x400, // a single line too long for the rectangle ends in "..."
};
Q_DECLARE_FLAGS(TuiTextFlags, TuiTextFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TuiTextFlags)

namespace uiCoreUtils {

// --- colours ---------------------------------------------------------------

// A colour stored in a property or a form: 0x00BBGGRR, or with the top byte FF
// one of the system colours (its index in the low byte), resolved against the
// palette. "None" (0x1FFFFFFF) and "default" (0x20000000) and unknown system
// indexes give an invalid colour.
QColor ColorFromValue(quint32 value, const QPalette& palette);
QColor ColorFromValue(quint32 value);
// The stored form of an RGB colour.
quint32 ValueFromColor(const QColor& color);

// The two system colours of the engraved (disabled) caption.
QColor ButtonHighlightColor(const QPalette& palette);
QColor ButtonShadowColor(const QPalette& palette);

// --- fonts -----------------------------------------------------------------

// A font given as the forms give it: a face name and a point size at 96 dpi,
// or a character height in pixels. "MS Sans Serif" becomes the system's sans
// font; other names are looked up by the font system (Arial finds its metric
// twin).
QFont FontFromSize(const QString& name, int points, bool bold = false);
QFont FontFromHeight(const QString& name, int pixelHeight, bool bold = false);

// --- arithmetic --------------------------------------------------------------

// a * b / c rounded to the nearest integer (halves away from zero); 0 when c
// is 0.
int MulDiv(int a, int b, int c);

// --- gradients ---------------------------------------------------------------

// count colours from start to end, each channel start + i * (end - start) /
// (count - 1) rounded. A count below 2 gives [start] (or nothing for 0).
QVector<QColor> CreateColorRamp(const QColor& start, const QColor& end, int count);

// Gradient styles: 0 and 2 horizontal, 1 and 3 vertical; 2 and 3 run from B to A.
enum GradientStyle { gsHorizontal = 0, gsVertical = 1, gsHorizontalReversed = 2, gsVerticalReversed = 3 };

// A width x height picture in bands of the ramp from A to B. With dithering,
// each band sprinkles the colour of the band before it over its leading edge
// in a pattern that repeats every 16 pixels. An empty size gives a null image;
// fewer than 2 bands give a plain picture in colour A.
QImage DrawGradientBitmap(int width, int height, const QColor& a, const QColor& b, int bands,
                          GradientStyle style, bool dithered);

// --- lines -----------------------------------------------------------------

// The pixels of a line from (x1, y1) to (x2, y2), the end point left out.
void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color);

// rect shrunk by borderWidth on every side and, when bound lines are shown, by
// one more pixel on each side that has a line.
QRect AdjustBoundRect(int borderWidth, bool showBoundLines, TuiBoundLines boundLines, const QRect& rect);

// Solid lines in color on the chosen sides of rect.
void DrawBoundLines(QPainter& painter, TuiBoundLines boundLines, const QColor& color, const QRect& rect);

// A dotted rectangle that inverts the pixels below it (the focus mark).
void DrawFocusRect(QPainter& painter, const QRect& rect);

// --- pictures ----------------------------------------------------------------

// A copy in greys: v = (r + g + b) / 3; v + 100 below 156, else white.
QImage GrayBitmap(const QImage& bitmap);
// A copy in which every black pixel takes color.
QImage RecolorBitmap(const QImage& bitmap, const QColor& color);
// Draws a picture with its transparent parts left out: its alpha channel when
// it has one, else the colour of its bottom-left pixel counts as transparent.
void DrawTransparent(QPainter& painter, int x, int y, const QImage& bitmap);

// --- text ------------------------------------------------------------------

// The accelerator of a caption: the character after a single "&", or a null
// character when there is none.
QChar AcceleratorOf(const QString& caption);
// The caption as shown with accelerators: "&&" becomes "&", a single "&" goes.
QString StripAccelerator(const QString& caption);

// Draws text into rect on a QPainter as the flags above lay it out. With
// CalcRect nothing is drawn and rect's right and bottom edges are set to the
// text's extent. Without NoPrefix "&" marks the accelerator, which is
// underlined. Text is drawn in the painter's pen colour and font.
void DrawText(QPainter& painter, const QString& text, QRect& rect, TuiTextFlags flags);

// A caption in font: once in color when enabled; when disabled, engraved (in
// the button highlight colour one pixel right and down, then in the button
// shadow colour at rect). Measures instead with CalcRect; an empty text, or a
// lone "&" with accelerators shown, measures as one blank.
void DrawCaptionText(const QWidget* control, QPainter& painter, const QString& text, const QFont& font,
                     const QColor& color, bool enabled, bool showAccelerator, QRect& rect, TuiTextFlags flags);

// The text flags of an alignment, with end ellipsis and word wrap or single line.
TuiTextFlags AlignmentFlags(TuiAlignment alignment, bool wordWrap);

// A caption in the alignment, centred vertically in rect as a block.
void DrawAlignedCaption(const QWidget* control, QPainter& painter, const QString& text, const QRect& rect,
                        bool wordWrap, TuiAlignment alignment, bool showAccelerator, bool enabled,
                        const QFont& font, const QColor& color);

} // namespace uiCoreUtils
