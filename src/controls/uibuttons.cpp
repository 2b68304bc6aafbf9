#include "controls/uibuttons.h"

#include "controls/uicoreutils.h"

#include <QKeyEvent>
#include <QPainter>

using namespace uiCoreUtils;

namespace {

const QColor kOutline(0x003873);
const QColor kOutlineDisabled(0xCEC7BD);
const QColor kEdge(0x7B9EAD);
constexpr int kFaceBands = 64;

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool noModifiers(const QKeyEvent* event)
{
    return !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

TuiCustomButton::TuiCustomButton(QWidget* parent)
    : TuiCustomStyleControl(parent)
{
    // In a layout the caption never gets cut: a crowded row takes room from
    // its other widgets, as with the platform's own push buttons.
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    resize(73, 21);
}

QSize TuiCustomButton::sizeHint() const
{
    const QSize text = fontMetrics().size(0, StripAccelerator(Caption()));
    int width = text.width();
    int height = text.height();
    if (!m_glyph.isNull()) {
        if (m_layout == TuiLayout::blGlyphLeft || m_layout == TuiLayout::blGlyphRight) {
            width += m_glyph.width() + m_spacing;
            height = std::max(height, m_glyph.height());
        } else {
            width = std::max(width, m_glyph.width());
            height += m_glyph.height() + m_spacing;
        }
    }
    return QSize(std::max(73, width + 16), std::max(21, height + 6));
}

void TuiCustomButton::SetAutoGray(bool autoGray)
{
    if (autoGray == m_autoGray)
        return;
    m_autoGray = autoGray;
    InternalRedraw();
}

void TuiCustomButton::SetCancel(bool cancel)
{
    m_cancel = cancel;
    watchDialogKeys();
}

void TuiCustomButton::SetDefault(bool isDefault)
{
    if (isDefault == m_default)
        return;
    m_default = isDefault;
    watchDialogKeys();
    NotifyFocusChanged(window());
    InternalRedraw();
}

void TuiCustomButton::SetGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    InternalRedraw();
}

void TuiCustomButton::SetLayout(TuiLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    InternalRedraw();
}

void TuiCustomButton::SetShowAccelChar(bool show)
{
    if (show == m_showAccelChar)
        return;
    m_showAccelChar = show;
    InternalRedraw();
}

void TuiCustomButton::SetShowFocusRect(bool show)
{
    if (show == m_showFocusRect)
        return;
    m_showFocusRect = show;
    InternalRedraw();
}

void TuiCustomButton::SetSmoothEdges(bool smooth)
{
    if (smooth == m_smoothEdges)
        return;
    m_smoothEdges = smooth;
    InternalRedraw();
}

void TuiCustomButton::SetSpacing(int spacing)
{
    spacing = qBound(0, spacing, 255);
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    InternalRedraw();
}

void TuiCustomButton::SetWordWrap(bool wordWrap)
{
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    InternalRedraw();
}

bool TuiCustomButton::IsHighlighted(bool ignoreDefault) const
{
    const TuiDrawState state = DrawState();
    bool highlighted = (state & dsClicked) ? !(state & dsHighlight) : bool(state & (dsHighlight | dsFocused));
    if (!ignoreDefault && m_default && CanFocus() && !IsSibling())
        highlighted = true;
    return highlighted;
}

void TuiCustomButton::buildFaces()
{
    const int w = width();
    const int h = height();
    const int inset = IsHighlighted(true) ? 6 : 2;
    m_faceNormal = DrawGradientBitmap(w - inset, h - inset, Qt::white, QColor(0xEFEBE7), kFaceBands, gsVertical, true);
    m_facePressed = DrawGradientBitmap(w - 2, h - 2, QColor(0xD6CFC6), QColor(0xF7F3EB), kFaceBands, gsVertical, true);
    m_faceFocus = DrawGradientBitmap(w - 2, h - 2, QColor(0xCEE7FF), QColor(0x6D84EF), kFaceBands, gsVertical, true);
    m_faceHot = DrawGradientBitmap(w - 2, h - 2, QColor(0xFFF3CE), QColor(0xE79600), kFaceBands, gsVertical, true);
    m_facesSize = size();
}

void TuiCustomButton::HookResized()
{
    TuiCustomStyleControl::HookResized();
    buildFaces();
    InternalRedraw();
}

const QImage& TuiCustomButton::picture()
{
    if (!m_autoGray || Enabled() || m_glyph.isNull())
        return m_glyph;
    // Grey a copy; the glyph itself stays as it was given.
    if (m_grayGlyphKey != m_glyph.cacheKey() || m_grayGlyph.isNull()) {
        m_grayGlyph = GrayBitmap(m_glyph);
        m_grayGlyphKey = m_glyph.cacheKey();
    }
    return m_grayGlyph;
}

void TuiCustomButton::paintEvent(QPaintEvent*)
{
    if (m_facesSize != size())
        buildFaces();
    const int w = width();
    const int h = height();
    const TuiDrawState state = DrawState();
    const bool enabled = Enabled();
    QPainter painter(this);

    painter.fillRect(rect(), Color());
    const bool highlighted = IsHighlighted(false);
    if (highlighted)
        painter.drawImage(1, 1, (state & dsHighlight) ? m_faceHot : m_faceFocus);
    const bool pressed = (state & dsHighlight) && (state & dsClicked);
    if (pressed) {
        painter.drawImage(1, 1, m_facePressed);
    } else if (!m_faceNormal.isNull()) {
        const int ring = highlighted ? 1 : 0;
        const QRect target(1 + 2 * ring, 1 + 2 * ring, w - 6 * ring, h - 6 * ring);
        if (target.width() > 0 && target.height() > 0)
            painter.drawImage(target, m_faceNormal);
    }

    // The outline: a rectangle with corners rounded by one pixel.
    const QColor outline = enabled ? kOutline : kOutlineDisabled;
    DrawLine(painter, 2, 0, w - 2, 0, outline);
    DrawLine(painter, 2, h - 1, w - 2, h - 1, outline);
    DrawLine(painter, 0, 2, 0, h - 2, outline);
    DrawLine(painter, w - 1, 2, w - 1, h - 2, outline);
    for (const QPoint corner : {QPoint(1, 1), QPoint(w - 2, 1), QPoint(1, h - 2), QPoint(w - 2, h - 2)})
        painter.fillRect(QRect(corner, QSize(1, 1)), outline);
    if (m_smoothEdges) {
        const QColor edge = enabled ? kEdge : kOutlineDisabled;
        DrawLine(painter, 0, 1, 2, 0, edge);
        DrawLine(painter, w - 2, 0, w, 2, edge);
        DrawLine(painter, 0, h - 2, 2, h, edge);
        DrawLine(painter, w - 3, h, w, h - 3, edge);
    }

    TuiTextFlags flags = TuiTextFlag::EndEllipsis;
    if (m_wordWrap)
        flags |= TuiTextFlag::WordBreak;
    const QImage& glyph = picture();
    const int pw = glyph.width();
    const int ph = glyph.height();
    const int gap = glyph.isNull() ? 0 : pw + m_spacing;
    const int vgap = glyph.isNull() ? 0 : ph + m_spacing;
    // Edges of the caption's rectangle, right and bottom exclusive.
    int left = 0, top = 0, right = w, bottom = h;
    if (!glyph.isNull()) {
        switch (m_layout) {
        case TuiLayout::blGlyphLeft: left += gap; break;
        case TuiLayout::blGlyphRight:
            left -= gap;
            right -= 2 * gap;
            flags |= TuiTextFlag::Right;
            break;
        case TuiLayout::blGlyphTop: top += vgap; break;
        case TuiLayout::blGlyphBottom: top -= vgap; break;
        }
    }
    QRect caption(left, top, std::max(0, right - left), std::max(0, bottom - top));
    DrawCaptionText(this, painter, Caption(), font(), FontColor(), enabled, m_showAccelChar, caption,
                    flags | TuiTextFlag::CalcRect);
    // Centre caption and picture together.
    caption.translate((w - (caption.left() + caption.width())) / 2, (h - (caption.top() + caption.height())) / 2);
    const int p = pressed ? 1 : 0;
    caption.translate(p, p);

    if (!glyph.isNull()) {
        const int captionRight = caption.left() + caption.width();
        const int captionBottom = caption.top() + caption.height();
        switch (m_layout) {
        case TuiLayout::blGlyphLeft: DrawTransparent(painter, caption.left() - gap, (h - ph) / 2 + p, glyph); break;
        case TuiLayout::blGlyphRight:
            DrawTransparent(painter, captionRight + m_spacing, (h - ph) / 2 + p, glyph);
            break;
        case TuiLayout::blGlyphTop: DrawTransparent(painter, (w - pw) / 2 + p, caption.top() - vgap, glyph); break;
        case TuiLayout::blGlyphBottom:
            DrawTransparent(painter, (w - pw) / 2 + p, captionBottom + m_spacing, glyph);
            break;
        }
    }
    if ((state & dsFocused) && m_showFocusRect)
        DrawFocusRect(painter, QRect(3, 3, w - 6, h - 6));
    DrawCaptionText(this, painter, Caption(), font(), FontColor(), enabled, m_showAccelChar, caption, flags);
}

void TuiCustomButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && noModifiers(event) && !event->isAutoRepeat()) {
        AddDrawState(dsHighlight);
        HookMouseDown();
    } else if (isEnterKey(event->key()) && CanFocus()) {
        event->accept();
        Click();
        return;
    } else if (event->key() == Qt::Key_Escape && m_cancel && noModifiers(event) && CanFocus()) {
        event->accept();
        Click();
        return;
    }
    TuiCustomStyleControl::keyPressEvent(event);
}

void TuiCustomButton::keyReleaseEvent(QKeyEvent* event)
{
    // Holding a key repeats press and release; only the real release counts.
    if (!event->isAutoRepeat() && (DrawState() & dsClicked)) {
        if (!PointerInside())
            RemoveDrawState(dsHighlight);
        RemoveDrawState(dsClicked);
        InternalRedraw();
        Click();
    }
    TuiCustomStyleControl::keyReleaseEvent(event);
}

// Enter and Esc reach the form when the focused control does not use them; a
// default or cancel button that does not have the focus answers them there.
void TuiCustomButton::watchDialogKeys()
{
    QWidget* form = window();
    if (form == m_watchedForm)
        return;
    if (m_watchedForm)
        m_watchedForm->removeEventFilter(this);
    m_watchedForm = nullptr;
    if (form != this) {
        form->installEventFilter(this);
        m_watchedForm = form;
    }
}

bool TuiCustomButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedForm && event->type() == QEvent::KeyPress && (m_default || m_cancel)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = isEnterKey(key->key()) && m_default && !IsSibling();
        const bool escape = key->key() == Qt::Key_Escape && m_cancel && noModifiers(key);
        if ((enter || escape) && CanFocus()) {
            key->accept();
            Click();
            return true;
        }
    }
    return TuiCustomStyleControl::eventFilter(watched, event);
}

bool TuiCustomButton::event(QEvent* event)
{
    if ((event->type() == QEvent::ParentChange || event->type() == QEvent::Show) && (m_default || m_cancel))
        watchDialogKeys();
    return TuiCustomStyleControl::event(event);
}
