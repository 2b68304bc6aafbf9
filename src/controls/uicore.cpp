#include "controls/uicore.h"

#include "controls/uicoreutils.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>

// --- TuiCustomControl ----------------------------------------------------------

TuiCustomControl::TuiCustomControl(QWidget* parent)
    : QWidget(parent)
{
    // The controls paint every pixel themselves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    connect(qApp, &QApplication::focusChanged, this, &TuiCustomControl::focusMoved);
}

TuiCustomControl::~TuiCustomControl()
{
    // The focus moves while QWidget's destructor runs; this part of the object
    // is gone by then.
    disconnect(qApp, nullptr, this, nullptr);
}

void TuiCustomControl::NotifyFocusChanged(QWidget* form)
{
    if (!form)
        return;
    const QList<TuiCustomControl*> controls = form->findChildren<TuiCustomControl*>();
    for (TuiCustomControl* control : controls)
        control->HookFocusChanged();
}

void TuiCustomControl::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateShortcut();
    updateGeometry();
    HookTextChanged();
}

bool TuiCustomControl::Enabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

QColor TuiCustomControl::Color() const
{
    return palette().color(QPalette::Window);
}

void TuiCustomControl::SetColor(const QColor& color)
{
    m_ownColor = true;
    // Only the window role is set, so the rest still follows the parent and
    // child controls inherit this colour as their parent's.
    QPalette own;
    own.setColor(QPalette::Window, color);
    setPalette(own);
}

void TuiCustomControl::SetParentColor(bool parentColor)
{
    if (parentColor == !m_ownColor)
        return;
    if (parentColor) {
        m_ownColor = false;
        setPalette(QPalette());
    } else {
        SetColor(Color());
    }
}

QColor TuiCustomControl::ParentBackground() const
{
    const QWidget* parent = parentWidget();
    return parent ? parent->palette().color(parent->backgroundRole()) : palette().color(QPalette::Window);
}

QColor TuiCustomControl::FontColor() const
{
    return m_fontColor.isValid() ? m_fontColor : palette().color(QPalette::WindowText);
}

void TuiCustomControl::SetFontColor(const QColor& color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    InternalRedraw();
}

bool TuiCustomControl::ParentFont() const
{
    return !testAttribute(Qt::WA_SetFont);
}

void TuiCustomControl::SetParentFont(bool parentFont)
{
    if (parentFont)
        setFont(QFont());
    else if (ParentFont())
        setFont(font());
}

bool TuiCustomControl::TabStop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void TuiCustomControl::SetTabStop(bool tabStop)
{
    if (focusPolicy() == Qt::NoFocus)
        return;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TuiCustomControl::CanFocus() const
{
    return isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus;
}

void TuiCustomControl::BeginUpdate()
{
    m_isLocked = true;
}

void TuiCustomControl::EndUpdate()
{
    m_isLocked = false;
    InternalRedraw();
}

void TuiCustomControl::Click()
{
    // The handler may close the form or delete the control.
    QPointer<TuiCustomControl> self(this);
    emit OnClick(this);
    if (!self || !m_modalResult)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->done(*m_modalResult);
}

void TuiCustomControl::InternalRedraw()
{
    if (!m_isLocked)
        update();
}

void TuiCustomControl::RedrawOn(TuiRedrawTrigger trigger)
{
    if (m_redrawTriggers & (1u << trigger))
        InternalRedraw();
}

void TuiCustomControl::HookBorderChanged()
{
    RedrawOn(rtBorderChanged);
}

void TuiCustomControl::HookEnabledChanged()
{
    RedrawOn(rtEnabledChanged);
}

void TuiCustomControl::HookFocusChanged()
{
    if (hasFocus()) {
        AddDrawState(dsFocused);
    } else {
        RemoveDrawState(dsFocused);
        // A press loses its meaning with the focus (a dialog popped up, say).
        RemoveDrawState(dsClicked);
    }
    m_isSibling = qobject_cast<TuiCustomControl*>(window()->focusWidget()) != nullptr;
    RedrawOn(rtFocusChanged);
}

void TuiCustomControl::HookMouseDown()
{
    if (!hasFocus() && CanFocus())
        setFocus(Qt::MouseFocusReason);
    AddDrawState(dsClicked);
    RedrawOn(rtMouseDown);
}

void TuiCustomControl::HookMouseEnter()
{
    AddDrawState(dsHighlight);
    RedrawOn(rtMouseEnter);
    emit OnMouseEnter(this);
}

void TuiCustomControl::HookMouseLeave()
{
    RemoveDrawState(dsHighlight);
    RedrawOn(rtMouseLeave);
    emit OnMouseLeave(this);
}

void TuiCustomControl::HookMouseMove(int, int)
{
    RedrawOn(rtMouseMove);
}

void TuiCustomControl::HookMouseUp()
{
    RemoveDrawState(dsClicked);
    RedrawOn(rtMouseUp);
    // Qt tells the control under the pointer of its arrival only after the
    // release; tell it now, as the press ends.
    QWidget* under = window()->childAt(window()->mapFromGlobal(m_releasePos.toPoint()));
    while (under && !qobject_cast<TuiCustomControl*>(under))
        under = under->parentWidget();
    auto* control = qobject_cast<TuiCustomControl*>(under);
    if (control && control != this && !control->m_pointerInside)
        control->pointerEntered();
}

void TuiCustomControl::HookParentColorChanged()
{
    RedrawOn(rtParentColorChanged);
}

void TuiCustomControl::HookParentFontChanged()
{
    RedrawOn(rtParentFontChanged);
}

void TuiCustomControl::HookPosChanged()
{
    RedrawOn(rtPosChanged);
}

void TuiCustomControl::HookResized()
{
    RedrawOn(rtResized);
}

void TuiCustomControl::HookTextChanged()
{
    RedrawOn(rtTextChanged);
}

void TuiCustomControl::pointerEntered()
{
    m_pointerInside = true;
    HookMouseEnter();
}

void TuiCustomControl::pointerLeft()
{
    m_pointerInside = false;
    HookMouseLeave();
}

void TuiCustomControl::focusMoved(QWidget* old, QWidget* now)
{
    QWidget* form = window();
    if ((old && old->window() == form) || (now && now->window() == form) || (m_drawState & dsFocused))
        HookFocusChanged();
}

void TuiCustomControl::updateShortcut()
{
    if (m_shortcutId) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (!uiCoreUtils::AcceleratorOf(m_caption).isNull())
        m_shortcutId = grabShortcut(QKeySequence::mnemonic(m_caption));
}

bool TuiCustomControl::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == m_shortcutId) {
        if (CanFocus())
            Click();
        return true;
    }
    return QWidget::event(event);
}

void TuiCustomControl::changeEvent(QEvent* event)
{
    // QWidget repaints on these itself; a locked control waits for EndUpdate.
    const bool repaints = event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange ||
                          event->type() == QEvent::FontChange;
    if (m_isLocked && repaints) {
        if (event->type() == QEvent::FontChange)
            updateGeometry();
    } else {
        QWidget::changeEvent(event);
    }
    switch (event->type()) {
    case QEvent::EnabledChange:
        // Only the control's own flag counts; a disabled parent changes no look.
        if (Enabled() != m_lastEnabled) {
            m_lastEnabled = Enabled();
            HookEnabledChanged();
        }
        break;
    case QEvent::PaletteChange: HookParentColorChanged(); break;
    case QEvent::FontChange:
        if (ParentFont())
            HookParentFontChanged();
        break;
    default: break;
    }
}

void TuiCustomControl::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (!m_pointerInside)
        pointerEntered();
}

void TuiCustomControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_pointerInside)
        pointerLeft();
}

void TuiCustomControl::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_clicking = true;
    HookMouseDown();
}

void TuiCustomControl::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    // While a button is held Qt sends no enter or leave; follow the pointer here.
    if (m_clicking) {
        const bool inside = rect().contains(pos);
        if (inside && !m_pointerInside)
            pointerEntered();
        else if (!inside && m_pointerInside)
            pointerLeft();
    }
    emit OnMouseMove(this, event->modifiers(), pos.x(), pos.y());
    HookMouseMove(pos.x(), pos.y());
}

void TuiCustomControl::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_clicking)
        return;
    m_clicking = false;
    m_releasePos = event->globalPosition();
    QPointer<TuiCustomControl> self(this);
    if (rect().contains(event->position().toPoint()))
        Click();
    if (self)
        HookMouseUp();
}

void TuiCustomControl::keyPressEvent(QKeyEvent* event)
{
    const QChar accelerator = uiCoreUtils::AcceleratorOf(m_caption);
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && !accelerator.isNull() && event->text().size() == 1 &&
        event->text()[0].toUpper() == accelerator.toUpper() && CanFocus()) {
        event->accept();
        Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// QWidget repaints on focus changes; here the focus hook decides.
void TuiCustomControl::focusInEvent(QFocusEvent* event)
{
    event->accept();
    emit OnEnter(this);
}

void TuiCustomControl::focusOutEvent(QFocusEvent* event)
{
    event->accept();
    emit OnExit(this);
}

void TuiCustomControl::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    HookPosChanged();
}

void TuiCustomControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    HookResized();
}

// --- styles ----------------------------------------------------------------------

TuiStyle::TuiStyle(TuiCustomStyleControl* owner)
    : QObject(owner)
    , m_owner(owner)
{
}

void TuiStyle::SetTheme(TuiTheme theme)
{
    if (theme == m_theme)
        return;
    m_theme = theme;
    m_owner->InternalRedraw();
}

void TuiStyle::SetUseStyleManager(bool use)
{
    if (use == m_useStyleManager)
        return;
    m_useStyleManager = use;
    m_owner->InternalRedraw();
}

TuiTheme TuiStyle::GetEffectiveTheme() const
{
    if (m_useStyleManager && m_owner->StyleManager())
        return m_owner->StyleManager()->Theme();
    return m_theme;
}

TuiStyleManager::TuiStyleManager(QObject* parent)
    : QObject(parent)
{
}

TuiStyleManager::~TuiStyleManager()
{
    const QList<TuiCustomStyleControl*> controls = m_controls;
    for (TuiCustomStyleControl* control : controls) {
        control->m_styleManager = nullptr;
        control->InternalRedraw();
    }
}

void TuiStyleManager::SetTheme(TuiTheme theme)
{
    if (theme == m_theme)
        return;
    m_theme = theme;
    emit OnThemeChanged(this);
    for (TuiCustomStyleControl* control : std::as_const(m_controls))
        control->InternalRedraw();
}

TuiCustomStyleControl::TuiCustomStyleControl(QWidget* parent)
    : TuiCustomControl(parent)
    , m_style(new TuiStyle(this))
{
}

TuiCustomStyleControl::~TuiCustomStyleControl()
{
    if (m_styleManager)
        m_styleManager->m_controls.removeAll(this);
}

void TuiCustomStyleControl::SetStyleManager(TuiStyleManager* manager)
{
    if (manager == m_styleManager)
        return;
    if (m_styleManager)
        m_styleManager->m_controls.removeAll(this);
    m_styleManager = manager;
    if (m_styleManager)
        m_styleManager->m_controls.append(this);
    InternalRedraw();
}
