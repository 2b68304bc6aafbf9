#include "controls/uicontainer.h"

#include <QFontMetrics>
#include <QPainter>

using namespace uiCoreUtils;

TuiCustomContainer::TuiCustomContainer(QWidget* parent)
    : TuiCustomControl(parent)
{
    setFocusPolicy(Qt::NoFocus);
    resize(185, 41);
}

void TuiCustomContainer::SetAlignment(TuiAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    InternalRedraw();
}

void TuiCustomContainer::SetBorderWidth(int width)
{
    width = std::max(0, width);
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    realign();
}

void TuiCustomContainer::SetBoundColor(const QColor& color)
{
    if (color == m_boundColor)
        return;
    m_boundColor = color;
    InternalRedraw();
}

void TuiCustomContainer::SetBoundLines(TuiBoundLines lines)
{
    if (lines == m_boundLines)
        return;
    m_boundLines = lines;
    realign();
}

void TuiCustomContainer::SetShowBoundLines(bool show)
{
    if (show == m_showBoundLines)
        return;
    m_showBoundLines = show;
    realign();
}

void TuiCustomContainer::SetShowCaption(bool show)
{
    if (show == m_showCaption)
        return;
    m_showCaption = show;
    InternalRedraw();
}

void TuiCustomContainer::SetEnabledMode(TuiEnabledMode mode)
{
    if (mode == m_enabledMode)
        return;
    m_enabledMode = mode;
    HookEnabledChanged();
}

void TuiCustomContainer::SetFocusable(bool focusable)
{
    m_focusable = focusable;
    setFocusPolicy(focusable ? Qt::ClickFocus : Qt::NoFocus);
}

void TuiCustomContainer::SetGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    realign();
}

void TuiCustomContainer::SetGlyphLayout(TuiGlyphLayout layout)
{
    if (layout == m_glyphLayout)
        return;
    m_glyphLayout = layout;
    InternalRedraw();
}

void TuiCustomContainer::SetLayout(TuiTextLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    InternalRedraw();
}

void TuiCustomContainer::SetSpacing(int spacing)
{
    spacing = qBound(0, spacing, 255);
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    InternalRedraw();
}

void TuiCustomContainer::SetWordWrap(bool wordWrap)
{
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    InternalRedraw();
}

QRect TuiCustomContainer::AdjustClientRect(const QRect& client) const
{
    QRect area = AdjustBoundRect(m_borderWidth, m_showBoundLines, m_boundLines, client);
    if (!m_glyph.isNull())
        area.setLeft(std::min(area.left() + m_glyph.width(), area.left() + area.width()));
    return area;
}

// Child controls follow the area through the contents margins.
void TuiCustomContainer::realign()
{
    const QRect client(0, 0, std::max(width(), 0), std::max(height(), 0));
    const QRect area = AdjustClientRect(client);
    setContentsMargins(area.left(), area.top(), client.width() - (area.left() + area.width()),
                       client.height() - (area.top() + area.height()));
    InternalRedraw();
}

void TuiCustomContainer::HookEnabledChanged()
{
    TuiCustomControl::HookEnabledChanged();
    if (m_enabledMode == TuiEnabledMode::emAffectChilds) {
        const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children)
            child->setEnabled(Enabled());
    }
    emit OnEnabledChanged(this);
}

void TuiCustomContainer::HookMouseDown()
{
    if (m_focusable) {
        TuiCustomControl::HookMouseDown();
        return;
    }
    AddDrawState(dsClicked);
    InternalRedraw();
}

void TuiCustomContainer::HookPosChanged()
{
    TuiCustomControl::HookPosChanged();
    InternalRedraw();
}

void TuiCustomContainer::HookResized()
{
    TuiCustomControl::HookResized();
    // The right and bottom margins depend on the size.
    realign();
    emit OnResize(this);
}

void TuiCustomContainer::mouseDoubleClickEvent(QMouseEvent* event)
{
    TuiCustomControl::mouseDoubleClickEvent(event);
    emit OnDblClick(this);
}

void TuiCustomContainer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect area = rect();
    painter.fillRect(area, Color());
    if (m_showBoundLines && m_boundLines)
        DrawBoundLines(painter, m_boundLines, m_boundColor, area);
    area = AdjustBoundRect(m_borderWidth, m_showBoundLines, m_boundLines, area);
    emit OnPaint(this, area, &painter, font());

    if (!m_glyph.isNull()) {
        const int ph = m_glyph.height();
        int y = area.top();
        if (m_glyphLayout == TuiGlyphLayout::glBottom)
            y = area.top() + area.height() - ph;
        else if (m_glyphLayout == TuiGlyphLayout::glCenter)
            y = (area.height() - ph) / 2 + 1;
        DrawTransparent(painter, area.left(), y, m_glyph);
        area.setLeft(area.left() + m_glyph.width());
    }
    if (!m_showCaption)
        return;

    painter.setFont(font());
    painter.setPen(FontColor());
    area.adjust(m_spacing, 1, -m_spacing, -1);
    if (area.width() <= 0 || area.height() <= 0)
        return;
    TuiTextFlags flags = TuiTextFlag::ExpandTabs | TuiTextFlag::EndEllipsis;
    if (m_wordWrap)
        flags |= TuiTextFlag::WordBreak;
    // A caption wider than the area starts at its left, so its beginning shows.
    const bool fits = QFontMetrics(font()).horizontalAdvance(StripAccelerator(Caption())) <= area.width();
    if (fits && m_alignment == TuiAlignment::Center)
        flags |= TuiTextFlag::Center;
    else if (fits && m_alignment == TuiAlignment::Right)
        flags |= TuiTextFlag::Right;
    if (m_layout != TuiTextLayout::tlTop) {
        QRect measured = area;
        DrawText(painter, Caption(), measured, flags | TuiTextFlag::CalcRect);
        const int room = (area.top() + area.height()) - (measured.top() + measured.height());
        area.translate(0, m_layout == TuiTextLayout::tlCenter ? room / 2 : room);
    }
    DrawText(painter, Caption(), area, flags);
}
