#include "controls/uicheckctrls.h"

#include "controls/uiresources.h"

#include <QPainter>

using namespace uiCoreUtils;

namespace {

constexpr int kFaceSize = TuiCustomCheckControl::kBoxSize - 2;
constexpr int kFaceBands = 16;

} // namespace

TuiCustomCheckControl::TuiCustomCheckControl(QWidget* parent)
    : TuiCustomStyleControl(parent)
{
    // As the button: a crowded row never cuts the caption.
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    resize(161, 17);
    buildFaces();
}

void TuiCustomCheckControl::SetBoundLines(TuiBoundLines lines)
{
    if (lines == m_boundLines)
        return;
    m_boundLines = lines;
    InternalRedraw();
}

void TuiCustomCheckControl::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    InternalRedraw();
}

void TuiCustomCheckControl::SetSpacing(int spacing)
{
    spacing = qBound(0, spacing, 255);
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    InternalRedraw();
}

void TuiCustomCheckControl::Click()
{
    m_checked = !m_checked;
    TuiCustomStyleControl::Click();
}

QSize TuiCustomCheckControl::sizeHint() const
{
    const QSize text = fontMetrics().size(0, StripAccelerator(Caption()));
    return QSize(kBoxSize + 4 + m_spacing + text.width() + 2, std::max(17, text.height() + 2));
}

void TuiCustomCheckControl::buildFaces()
{
    m_faceNormal = DrawGradientBitmap(kFaceSize, kFaceSize, Qt::white, QColor(0xEFEBE7), kFaceBands, gsVertical, false);
    m_facePressed =
        DrawGradientBitmap(kFaceSize, kFaceSize, QColor(0xD6CFC6), QColor(0xF7F3EB), kFaceBands, gsVertical, true);
    m_faceHot = DrawGradientBitmap(kFaceSize, kFaceSize, QColor(0xFFF3CE), QColor(0xE79600), kFaceBands, gsVertical, true);
}

void TuiCustomCheckControl::HookResized()
{
    TuiCustomStyleControl::HookResized();
    buildFaces();
    InternalRedraw();
}

void TuiCustomCheckControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, ParentBackground());
    if (m_boundLines)
        DrawBoundLines(painter, m_boundLines,
                       EffectiveTheme() == TuiTheme::WindowsXP ? QColor(0x003873) : QColor(0xFFFBF7), client);
    if (DrawState() & dsFocused)
        DrawFocusRect(painter, client);
    DrawCheckSymbol(painter, client);

    QRect caption = client;
    caption.setLeft(client.left() + kBoxSize + 4 + m_spacing);
    DrawAlignedCaption(this, painter, Caption(), caption, true, TuiAlignment::Left, true, Enabled(), font(),
                       FontColor());
}

void TuiCheckbox::DrawCheckSymbol(QPainter& painter, const QRect& rect)
{
    const TuiTheme theme = EffectiveTheme();
    const bool hot = DrawState() & dsHighlight;
    const bool clicked = DrawState() & dsClicked;
    const int y0 = (height() - kBoxSize) / 2;
    const int x0 = rect.left() + 2;

    // The box: an outline over the parent's colour.
    const QColor pen = theme == TuiTheme::OfficeXP && hot ? QColor(0x003366) : QColor(24, 81, 132);
    painter.fillRect(QRect(x0, y0, kBoxSize, kBoxSize), ParentBackground());
    DrawBoundLines(painter, blLeft | blTop | blRight | blBottom, pen, QRect(x0, y0, kBoxSize, kBoxSize));

    const QRect face(x0 + 1, y0 + 1, kFaceSize, kFaceSize);
    if (theme == TuiTheme::WindowsXP) {
        if (hot && clicked) {
            painter.drawImage(face.topLeft(), m_facePressed);
        } else {
            if (hot)
                painter.drawImage(face.topLeft(), m_faceHot);
            const int ring = hot ? 1 : 0;
            painter.drawImage(face.adjusted(ring, ring, -ring, -ring), m_faceNormal);
        }
    } else if (hot) {
        painter.fillRect(face, clicked ? QColor(0x9999CC) : QColor(0xB5BED6));
    }

    if (!Checked())
        return;
    QColor markColor(Qt::black);
    if (theme == TuiTheme::WindowsXP)
        markColor = QColor(0x21A621);
    else if (hot && clicked)
        markColor = Qt::white;
    // Recolour a copy, kept until the colour changes.
    if (m_mark.isNull() || markColor != m_markColor) {
        m_mark = RecolorBitmap(uiResources::Bitmap(QStringLiteral("CHECKBOX")), markColor);
        m_markColor = markColor;
    }
    DrawTransparent(painter, kBoxSize / 2 - 1, y0 + 3, m_mark);
}
