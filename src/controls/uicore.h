// The base of the XP-style window controls. TuiCustomControl turns the
// notifications of the window system (mouse, focus, enabling, caption, size)
// into changes of its draw state and a repaint where its redraw triggers ask for
// one; the style classes choose between the WindowsXP and OfficeXP looks.
//
// The controls know nothing of the rest of the program. Events are Qt signals
// named as the forms' handlers expect them (OnClick, OnMouseEnter, ...).
#pragma once

#include <QColor>
#include <QDialog>
#include <QFlags>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>

class QPainter;

enum TuiDrawStateFlag { dsDefault = 0x1, dsHighlight = 0x2, dsClicked = 0x4, dsFocused = 0x8 };
Q_DECLARE_FLAGS(TuiDrawState, TuiDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TuiDrawState)

// The bits of RedrawTriggers: which notifications repaint a control.
enum TuiRedrawTrigger {
    rtTextChanged = 0,
    rtBorderChanged = 1,
    rtEnabledChanged = 2,
    rtFocusChanged = 3,
    rtMouseDown = 4,
    rtMouseEnter = 5,
    rtMouseLeave = 6,
    rtMouseMove = 7,
    rtMouseUp = 8,
    rtParentColorChanged = 9,
    rtParentFontChanged = 10,
    rtPosChanged = 11,
    rtResized = 12,
};

class TuiCustomControl : public QWidget {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultRedrawTriggers = 893;

    explicit TuiCustomControl(QWidget* parent = nullptr);
    ~TuiCustomControl() override;

    TuiDrawState DrawState() const { return m_drawState; }
    quint16 RedrawTriggers() const { return m_redrawTriggers; }
    void SetRedrawTriggers(quint16 triggers) { m_redrawTriggers = triggers; }
    bool IsLocked() const { return m_isLocked; }
    bool IsSibling() const { return m_isSibling; }
    bool Clicking() const { return m_clicking; }

    // The result a click hands to the dialog the control sits on, which
    // QDialog::exec() then answers; none: a click only runs OnClick.
    std::optional<QDialog::DialogCode> ModalResult() const { return m_modalResult; }
    void SetModalResult(std::optional<QDialog::DialogCode> result) { m_modalResult = result; }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    // The control's own enabled flag: a disabled parent does not change it.
    bool Enabled() const;
    void SetEnabled(bool enabled) { setEnabled(enabled); }

    // The background: the palette's window colour, inherited from the parent
    // until one is set, and handed on to child controls.
    QColor Color() const;
    void SetColor(const QColor& color);
    bool ParentColor() const { return !m_ownColor; }
    void SetParentColor(bool parentColor);
    // The colour of the parent's background.
    QColor ParentBackground() const;

    // The colour of Font (a Qt font has none).
    QColor FontColor() const;
    void SetFontColor(const QColor& color);
    // A font set through setFont stays when the parent's font changes;
    // SetParentFont(true) follows the parent again.
    virtual bool ParentFont() const;
    virtual void SetParentFont(bool parentFont);

    // Tab stop: reached with Tab (else only by a click).
    bool TabStop() const;
    void SetTabStop(bool tabStop);
    bool CanFocus() const;

    void BeginUpdate();
    virtual void EndUpdate();

    // Tells every control of the form that the focus may have moved, so each
    // re-evaluates dsFocused and IsSibling.
    static void NotifyFocusChanged(QWidget* form);

    // A click: the platform's click (OnClick), then the dialog the control sits
    // on ends with ModalResult when there is one.
    virtual void Click();

signals:
    void OnClick(QObject* sender);
    void OnMouseEnter(QObject* sender);
    void OnMouseLeave(QObject* sender);
    // The pointer moved over the control (with or without a button held).
    void OnMouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    // The control got or lost the keyboard focus.
    void OnEnter(QObject* sender);
    void OnExit(QObject* sender);

protected:
    // Repaints unless locked.
    virtual void InternalRedraw();

    // The notification hooks; each repaints when its bit of RedrawTriggers is set.
    virtual void HookBorderChanged();
    virtual void HookEnabledChanged();
    virtual void HookFocusChanged();
    virtual void HookMouseDown();
    virtual void HookMouseEnter();
    virtual void HookMouseLeave();
    virtual void HookMouseMove(int x, int y);
    virtual void HookMouseUp();
    virtual void HookParentColorChanged();
    virtual void HookParentFontChanged();
    virtual void HookPosChanged();
    virtual void HookResized();
    virtual void HookTextChanged();

    void AddDrawState(TuiDrawState state) { m_drawState |= state; }
    void RemoveDrawState(TuiDrawState state) { m_drawState &= ~state; }
    bool PointerInside() const { return m_pointerInside; }
    // Repaints when the notification's bit is set.
    void RedrawOn(TuiRedrawTrigger trigger);

    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void pointerEntered();
    void pointerLeft();
    void focusMoved(QWidget* old, QWidget* now);
    void updateShortcut();

    TuiDrawState m_drawState = dsDefault;
    quint16 m_redrawTriggers = kDefaultRedrawTriggers;
    bool m_isLocked = false;
    bool m_isSibling = false;
    bool m_clicking = false;
    bool m_pointerInside = false;
    bool m_ownColor = false;
    bool m_lastEnabled = true;
    std::optional<QDialog::DialogCode> m_modalResult;
    int m_shortcutId = 0;
    QPointF m_releasePos;
    QString m_caption;
    QColor m_fontColor;
};

enum class TuiTheme { WindowsXP, OfficeXP };

class TuiStyleManager;
class TuiCustomStyleControl;

// The look chosen for one style control: its own theme, or its manager's.
class TuiStyle : public QObject {
    Q_OBJECT
public:
    explicit TuiStyle(TuiCustomStyleControl* owner);

    TuiTheme Theme() const { return m_theme; }
    virtual void SetTheme(TuiTheme theme);
    bool UseStyleManager() const { return m_useStyleManager; }
    virtual void SetUseStyleManager(bool use);

    TuiTheme GetEffectiveTheme() const;

private:
    TuiCustomStyleControl* m_owner;
    TuiTheme m_theme = TuiTheme::WindowsXP;
    bool m_useStyleManager = true;
};

// One theme for all style controls registered with it.
class TuiStyleManager : public QObject {
    Q_OBJECT
public:
    explicit TuiStyleManager(QObject* parent = nullptr);
    ~TuiStyleManager() override;

    TuiTheme Theme() const { return m_theme; }
    virtual void SetTheme(TuiTheme theme);
    QList<TuiCustomStyleControl*> Controls() const { return m_controls; }

signals:
    void OnThemeChanged(QObject* sender);

private:
    friend class TuiCustomStyleControl;
    QList<TuiCustomStyleControl*> m_controls;
    TuiTheme m_theme = TuiTheme::WindowsXP;
};

class TuiCustomStyleControl : public TuiCustomControl {
    Q_OBJECT
public:
    explicit TuiCustomStyleControl(QWidget* parent = nullptr);
    ~TuiCustomStyleControl() override;

    TuiStyle* Style() const { return m_style; }
    TuiStyleManager* StyleManager() const { return m_styleManager; }
    virtual void SetStyleManager(TuiStyleManager* manager);

    // The theme to draw in.
    TuiTheme EffectiveTheme() const { return m_style->GetEffectiveTheme(); }
private:
    friend class TuiStyle;
    friend class TuiStyleManager;
    TuiStyle* m_style;
    TuiStyleManager* m_styleManager = nullptr;
};
