// The flat push button of the forms: a rounded dark-blue outline around a light
// gradient face, an orange frame under the pointer, a blue frame when focused or
// the form's default button, a darker face while pressed, and a caption with an
// optional picture.
#pragma once

#include "controls/uicore.h"

#include <QImage>
#include <QPointer>

enum class TuiLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TuiCustomButton : public TuiCustomStyleControl {
    Q_OBJECT
public:
    explicit TuiCustomButton(QWidget* parent = nullptr);

    bool AutoGray() const { return m_autoGray; }
    virtual void SetAutoGray(bool autoGray);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool cancel);
    bool Default() const { return m_default; }
    virtual void SetDefault(bool isDefault);
    QImage Glyph() const { return m_glyph; }
    virtual void SetGlyph(const QImage& glyph);
    TuiLayout Layout() const { return m_layout; }
    virtual void SetLayout(TuiLayout layout);
    bool ShowAccelChar() const { return m_showAccelChar; }
    virtual void SetShowAccelChar(bool show);
    bool ShowFocusRect() const { return m_showFocusRect; }
    virtual void SetShowFocusRect(bool show);
    bool SmoothEdges() const { return m_smoothEdges; }
    virtual void SetSmoothEdges(bool smooth);
    int Spacing() const { return m_spacing; }
    virtual void SetSpacing(int spacing);
    bool WordWrap() const { return m_wordWrap; }
    virtual void SetWordWrap(bool wordWrap);

    // Whether a frame shows: pressed with the pointer moved off, or under the
    // pointer, or focused; and, unless ignoreDefault, a default button while
    // the form's active control is not one of these controls.
    bool IsHighlighted(bool ignoreDefault) const;

    // For layouts: the caption and picture with a margin, at least 73 x 21.
    QSize sizeHint() const override;

protected:
    void HookResized() override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildFaces();
    void watchDialogKeys();
    const QImage& picture();

    bool m_autoGray = true;
    bool m_cancel = false;
    bool m_default = false;
    QImage m_glyph;
    TuiLayout m_layout = TuiLayout::blGlyphLeft;
    bool m_showAccelChar = true;
    bool m_showFocusRect = false;
    bool m_smoothEdges = true;
    int m_spacing = 3;
    bool m_wordWrap = true;

    QImage m_faceNormal;
    QImage m_facePressed;
    QImage m_faceFocus;
    QImage m_faceHot;
    QSize m_facesSize;
    QImage m_grayGlyph;
    qint64 m_grayGlyphKey = 0;
    QPointer<QWidget> m_watchedForm;
};

class TuiButton : public TuiCustomButton {
    Q_OBJECT
public:
    explicit TuiButton(QWidget* parent = nullptr)
        : TuiCustomButton(parent)
    {
    }
    // A button as the forms make them: its component name and its caption.
    TuiButton(QWidget* parent, const QString& name, const QString& caption)
        : TuiCustomButton(parent)
    {
        setObjectName(name);
        SetCaption(caption);
    }
};
