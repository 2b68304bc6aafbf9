// The bordered container: a panel that holds other controls and draws a flat
// background, bound lines on chosen sides, an optional picture at its left and
// an optional caption. Child controls are laid out in its contents rectangle,
// which leaves out the border, the bound lines and the picture.
#pragma once

#include "controls/uicore.h"
#include "controls/uicoreutils.h"

#include <QImage>
#include <QPainter>

enum class TuiEnabledMode { emAffectChilds, emNormal };
enum class TuiGlyphLayout { glBottom, glCenter, glTop };
enum class TuiTextLayout { tlTop, tlCenter, tlBottom };

class TuiCustomContainer : public TuiCustomControl {
    Q_OBJECT
public:
    explicit TuiCustomContainer(QWidget* parent = nullptr);

    TuiAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TuiAlignment alignment);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    QColor BoundColor() const { return m_boundColor; }
    void SetBoundColor(const QColor& color);
    TuiBoundLines BoundLines() const { return m_boundLines; }
    void SetBoundLines(TuiBoundLines lines);
    bool ShowBoundLines() const { return m_showBoundLines; }
    void SetShowBoundLines(bool show);
    bool ShowCaption() const { return m_showCaption; }
    void SetShowCaption(bool show);
    TuiEnabledMode EnabledMode() const { return m_enabledMode; }
    void SetEnabledMode(TuiEnabledMode mode);
    bool Focusable() const { return m_focusable; }
    void SetFocusable(bool focusable);
    QImage Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& glyph);
    TuiGlyphLayout GlyphLayout() const { return m_glyphLayout; }
    void SetGlyphLayout(TuiGlyphLayout layout);
    TuiTextLayout Layout() const { return m_layout; }
    void SetLayout(TuiTextLayout layout);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int spacing);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);

    // The area in which child controls are placed.
    QRect AdjustClientRect(const QRect& client) const;

signals:
    void OnEnabledChanged(QObject* sender);
    // During painting, after the background and the bound lines, with the
    // area inside them. Connect directly: the painter lives only for the call.
    void OnPaint(QObject* sender, const QRect& rect, QPainter* canvas, const QFont& font);
    void OnDblClick(QObject* sender);
    void OnResize(QObject* sender);

protected:
    void HookEnabledChanged() override;
    void HookMouseDown() override;
    void HookPosChanged() override;
    void HookResized() override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void realign();

    TuiAlignment m_alignment = TuiAlignment::Center;
    int m_borderWidth = 0;
    QColor m_boundColor{128, 128, 128};
    TuiBoundLines m_boundLines;
    bool m_showBoundLines = true;
    bool m_showCaption = false;
    TuiEnabledMode m_enabledMode = TuiEnabledMode::emNormal;
    bool m_focusable = false;
    QImage m_glyph;
    TuiGlyphLayout m_glyphLayout = TuiGlyphLayout::glCenter;
    TuiTextLayout m_layout = TuiTextLayout::tlCenter;
    int m_spacing = 5;
    bool m_wordWrap = false;
};

class TuiContainer : public TuiCustomContainer {
    Q_OBJECT
public:
    explicit TuiContainer(QWidget* parent = nullptr)
        : TuiCustomContainer(parent)
    {
    }
};
