// The check box of the forms: a 13-pixel box with a gradient face that lights
// up orange under the pointer, a small green check mark, and a caption to its
// right that may wrap. A click flips the tick, then runs OnClick; SetChecked
// never runs OnClick.
#pragma once

#include "controls/uicore.h"
#include "controls/uicoreutils.h"

#include <QImage>

class TuiCustomCheckControl : public TuiCustomStyleControl {
    Q_OBJECT
public:
    static constexpr int kBoxSize = 13;

    explicit TuiCustomCheckControl(QWidget* parent = nullptr);

    TuiBoundLines BoundLines() const { return m_boundLines; }
    virtual void SetBoundLines(TuiBoundLines lines);
    bool Checked() const { return m_checked; }
    virtual void SetChecked(bool checked);
    int Spacing() const { return m_spacing; }
    virtual void SetSpacing(int spacing);

    // Flips the tick (the release of the mouse button repaints), then the
    // control's click.
    void Click() override;

    // For layouts: the box and the caption on one line, at least 17 high.
    QSize sizeHint() const override;

protected:
    // Draws the box and the mark at the left of rect.
    virtual void DrawCheckSymbol(QPainter& painter, const QRect& rect) = 0;

    void HookResized() override;
    void paintEvent(QPaintEvent* event) override;
    void buildFaces();

    QImage m_faceNormal;
    QImage m_facePressed;
    QImage m_faceHot;

private:
    TuiBoundLines m_boundLines;
    bool m_checked = false;
    int m_spacing = 3;
};

class TuiCheckbox : public TuiCustomCheckControl {
    Q_OBJECT
public:
    explicit TuiCheckbox(QWidget* parent = nullptr)
        : TuiCustomCheckControl(parent)
    {
    }
    // A check box as the forms make them: its component name and its caption.
    TuiCheckbox(QWidget* parent, const QString& name, const QString& caption)
        : TuiCustomCheckControl(parent)
    {
        setObjectName(name);
        SetCaption(caption);
    }

protected:
    void DrawCheckSymbol(QPainter& painter, const QRect& rect) override;

private:
    QImage m_mark;
    QColor m_markColor;
};
