#include "controls/uisidebar.h"

#include "controls/uicoreutils.h"
#include "controls/uiresources.h"

#include <QFontMetrics>
#include <QMetaMethod>
#include <QPainter>
#include <QTimer>

using namespace uiCoreUtils;

namespace {

constexpr int kHeaderTop = 5;
constexpr int kHeaderBottom = 33;
constexpr int kFirstItemTop = 39;
constexpr int kHitTop = 42;
constexpr int kMinWidthForRollButton = 115;
constexpr int kHeaderBands = 32;
const QColor kDisabledItem(128, 128, 128);
const QColor kParentFontColor(0x0051E7);
// Item and header captions: one line, centred vertically, "&" shown as it is.
constexpr TuiTextFlags kOneLineCaption =
    TuiTextFlag::SingleLine | TuiTextFlag::VCenter | TuiTextFlag::NoPrefix | TuiTextFlag::EndEllipsis;

} // namespace

// --- TuiSideBarItem ----------------------------------------------------------------

TuiSideBarItem::TuiSideBarItem(TuiSideBarItems* collection)
    : QObject(collection)
    , m_collection(collection)
{
}

TuiSideBarItem::~TuiSideBarItem()
{
    // Freed directly: leave the collection, hidden first.
    if (m_collection && m_collection->m_items.removeAll(this) > 0) {
        m_visible = false;
        if (TuiCustomSideBar* bar = Bar())
            bar->ItemVisibleChanged(this);
    }
}

TuiCustomSideBar* TuiSideBarItem::Bar() const
{
    return m_collection ? m_collection->Bar() : nullptr;
}

int TuiSideBarItem::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

void TuiSideBarItem::changed()
{
    if (TuiCustomSideBar* bar = Bar())
        bar->ItemChanged(this);
}

void TuiSideBarItem::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    changed();
}

void TuiSideBarItem::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    changed();
}

void TuiSideBarItem::SetImageIndex(int index)
{
    if (index == m_imageIndex)
        return;
    m_imageIndex = index;
    changed();
}

void TuiSideBarItem::SetImageList(TuiImageList* list)
{
    if (list == m_imageList)
        return;
    m_imageList = list;
    changed();
}

void TuiSideBarItem::SetName(const QString& name)
{
    if (name == m_name)
        return;
    if (m_collection && !name.isEmpty()) {
        const TuiSideBarItem* other = m_collection->FindItem(name);
        if (other && other != this)
            return;
    }
    m_name = name;
    changed();
}

void TuiSideBarItem::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (TuiCustomSideBar* bar = Bar())
        bar->ItemVisibleChanged(this);
}

void TuiSideBarItem::Assign(const TuiSideBarItem& other)
{
    SetCaption(other.m_caption);
    SetEnabled(other.m_enabled);
    SetHint(other.m_hint);
    SetImageList(other.m_imageList);
    SetImageIndex(other.m_imageIndex);
    SetName(other.m_name);
    SetTag(other.m_tag);
    SetVisible(other.m_visible);
}

QString TuiSideBarItem::GetDisplayName() const
{
    QString shown = m_caption.isEmpty() ? QStringLiteral("untitled") : m_caption;
    if (!m_name.isEmpty())
        shown += QStringLiteral(" [") + m_name + QLatin1Char(']');
    if (!m_visible)
        shown += QLatin1Char('*');
    return shown;
}

TuiImageList* TuiSideBarItem::EffectiveImageList() const
{
    if (m_imageList)
        return m_imageList;
    const TuiCustomSideBar* bar = Bar();
    return bar ? bar->ImageList() : nullptr;
}

// --- TuiSideBarItems -------------------------------------------------------------------

TuiSideBarItems::TuiSideBarItems(TuiCustomSideBar* bar)
    : QObject(bar)
    , m_bar(bar)
{
}

TuiSideBarItems::~TuiSideBarItems()
{
    m_bar = nullptr;
    const QList<TuiSideBarItem*> items = m_items;
    m_items.clear();
    qDeleteAll(items);
}

TuiSideBarItem* TuiSideBarItems::Add()
{
    auto* item = new TuiSideBarItem(this);
    m_items.append(item);
    if (m_bar)
        m_bar->ItemVisibleChanged(item);
    return item;
}

TuiSideBarItem* TuiSideBarItems::GetItem(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

void TuiSideBarItems::Delete(int index)
{
    TuiSideBarItem* item = GetItem(index);
    if (!item)
        return;
    m_items.removeAt(index);
    item->m_visible = false;
    if (m_bar)
        m_bar->ItemVisibleChanged(item);
    delete item;
}

void TuiSideBarItems::Clear()
{
    while (!m_items.isEmpty())
        Delete(int(m_items.size()) - 1);
}

TuiSideBarItem* TuiSideBarItems::FindItem(const QString& name) const
{
    for (TuiSideBarItem* item : m_items)
        if (item->Name() == name)
            return item;
    return nullptr;
}

// --- TuiCustomSideBar ---------------------------------------------------------------------

namespace {

// The bar's own step timer: a single-shot QTimer.
class QtStepTimer : public TuiStepTimer {
public:
    QtStepTimer()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto step = std::exchange(m_step, nullptr))
                step();
        });
    }
    void Start(int ms, std::function<void()> step) override
    {
        m_step = std::move(step);
        m_timer.start(ms);
    }
    void Stop() override
    {
        m_timer.stop();
        m_step = nullptr;
    }

private:
    QTimer m_timer;
    std::function<void()> m_step;
};

} // namespace

TuiCustomSideBar::TuiCustomSideBar(QWidget* parent)
    : TuiCustomControl(parent)
    , m_items(new TuiSideBarItems(this))
    , m_ownStepTimer(std::make_unique<QtStepTimer>())
    , m_stepTimer(m_ownStepTimer.get())
    , m_itemFont(FontFromSize(QStringLiteral("Arial"), 9))
    , m_headerFont(FontFromSize(QStringLiteral("Arial"), 10, true))
{
    SetFontColor(kParentFontColor);
    SetRedrawTriggers(quint16(1u << rtTextChanged | 1u << rtMouseEnter | 1u << rtMouseLeave));
    setFocusPolicy(Qt::ClickFocus);
    resize(153, 46);
    AdjustHeight();
}

TuiCustomSideBar::~TuiCustomSideBar()
{
    // The roll stops with the bar, and the items go while the bar still is one.
    m_stepTimer->Stop();
    delete m_items;
    m_items = nullptr;
}

// --- rolling ---------------------------------------------------------------------------------

void TuiCustomSideBar::SetCollapsed(bool collapsed)
{
    if (m_animating) {
        // Towards the same state: nothing to do; the other way: turn round.
        m_rollTarget = collapsed;
        return;
    }
    if (collapsed == m_collapsed)
        return;
    m_rollTarget = collapsed;
    m_animating = true;
    rollStep();
}

void TuiCustomSideBar::SetStepTimer(TuiStepTimer* timer)
{
    TuiStepTimer* next = timer ? timer : m_ownStepTimer.get();
    if (next == m_stepTimer)
        return;
    m_stepTimer->Stop();
    m_stepTimer = next;
    if (m_rolling) // the pause after a step was under way
        m_stepTimer->Start(kRollInterval, [this] { rollPause(); });
}

bool TuiCustomSideBar::rollDone() const
{
    return m_rollTarget ? m_rollHeight <= 0 : m_rollHeight >= m_itemHeight;
}

void TuiCustomSideBar::rollStep()
{
    m_rolling = true;
    const int next = m_rollTarget ? m_rollHeight - kRollStep : m_rollHeight + kRollStep;
    SetRollHeight(qBound(0, next, std::max(0, m_itemHeight)));
    m_stepTimer->Start(kRollInterval, [this] { rollPause(); });
}

// The pause after a step is over: the next step, or the end of the roll.
void TuiCustomSideBar::rollPause()
{
    m_rolling = false;
    if (!rollDone()) {
        rollStep();
        return;
    }
    m_animating = false;
    m_collapsed = m_rollTarget;
    AdjustHeight();
    if (m_showRollButton)
        InternalRedraw();
}

void TuiCustomSideBar::SetRollHeight(int height)
{
    if (height == m_rollHeight)
        return;
    m_rollHeight = height;
    AdjustHeight();
}

void TuiCustomSideBar::AdjustHeight()
{
    if (IsLocked())
        return;
    const int visible = int(m_visibleItems.size());
    const int chrome = (m_rolling != m_collapsed) || visible == 0 ? 35 : 43;
    setFixedHeight(visible * m_rollHeight + chrome);
    InternalRedraw();
}

// --- items -------------------------------------------------------------------------------------

void TuiCustomSideBar::ItemVisibleChanged(TuiSideBarItem*)
{
    if (!m_items)
        return;
    m_visibleItems.clear();
    for (int i = 0; i < m_items->Count(); ++i)
        if (m_items->GetItem(i)->Visible())
            m_visibleItems.append(m_items->GetItem(i));
    // The rows moved; the pointer's row is found again on its next move.
    m_hotIndex = -1;
    AdjustHeight();
}

void TuiCustomSideBar::ItemChanged(TuiSideBarItem*)
{
    InternalRedraw();
}

// --- properties ---------------------------------------------------------------------------------

void TuiCustomSideBar::setFonts(const QFont& item, const QFont& header)
{
    m_itemFont = item;
    m_headerFont = header;
    InternalRedraw();
}

void TuiCustomSideBar::SetFont(const QFont& font)
{
    m_parentFont = false;
    setFonts(font, m_headerFont);
}

void TuiCustomSideBar::SetHeaderFont(const QFont& font)
{
    m_parentFont = false;
    setFonts(m_itemFont, font);
}

void TuiCustomSideBar::SetHeaderFontColor(const QColor& color)
{
    m_headerFontColor = color;
    InternalRedraw();
}

void TuiCustomSideBar::SetParentFont(bool parentFont)
{
    if (parentFont == m_parentFont)
        return;
    m_parentFont = parentFont;
    if (parentFont)
        HookParentFontChanged();
}

void TuiCustomSideBar::HookParentFontChanged()
{
    if (m_parentFont) {
        // The parent's face and style at size 10, both fonts blue.
        const QFont parent = font();
        QFont item = FontFromSize(parent.family(), 10);
        item.setItalic(parent.italic());
        item.setUnderline(parent.underline());
        item.setBold(parent.bold());
        QFont header = FontFromSize(parent.family(), 10, true);
        SetFontColor(kParentFontColor);
        m_headerFontColor = kParentFontColor;
        setFonts(item, header);
    }
    TuiCustomControl::HookParentFontChanged();
}

void TuiCustomSideBar::SetGradientFrom(const QColor& color)
{
    m_gradientFrom = color;
    m_headerGradient = QImage();
    InternalRedraw();
}

void TuiCustomSideBar::SetGradientTo(const QColor& color)
{
    m_gradientTo = color;
    m_headerGradient = QImage();
    InternalRedraw();
}

void TuiCustomSideBar::SetBodyColor(const QColor& color)
{
    m_bodyColor = color;
    InternalRedraw();
}

void TuiCustomSideBar::SetSeperatorLine(const QColor& color)
{
    m_seperatorLine = color;
    InternalRedraw();
}

void TuiCustomSideBar::SetHotTrack(bool hotTrack)
{
    m_hotTrack = hotTrack;
    const quint16 bits = quint16(1u << rtMouseEnter | 1u << rtMouseLeave);
    SetRedrawTriggers(hotTrack ? (RedrawTriggers() | bits) : quint16(RedrawTriggers() & ~bits));
    InternalRedraw();
}

void TuiCustomSideBar::SetHotTrackColor(const QColor& color)
{
    m_hotTrackColor = color;
    InternalRedraw();
}

void TuiCustomSideBar::SetIcon(const QImage& icon)
{
    m_icon = icon;
    InternalRedraw();
}

void TuiCustomSideBar::SetImageList(TuiImageList* list)
{
    m_imageList = list;
    InternalRedraw();
}

void TuiCustomSideBar::SetItemHeight(int height)
{
    m_itemHeight = std::max(0, height);
    if (!m_collapsed && !m_animating)
        SetRollHeight(m_itemHeight);
    InternalRedraw();
}

void TuiCustomSideBar::SetRollMode(TuiSideBarRollMode mode)
{
    m_rollMode = mode;
    InternalRedraw();
}

void TuiCustomSideBar::SetShowRollButton(bool show)
{
    m_showRollButton = show;
    InternalRedraw();
}

void TuiCustomSideBar::EndUpdate()
{
    TuiCustomControl::EndUpdate();
    AdjustHeight();
}

// --- geometry and pointer ----------------------------------------------------------------------

QRect TuiCustomSideBar::headerRect() const
{
    return QRect(0, kHeaderTop, width(), kHeaderBottom - kHeaderTop);
}

QRect TuiCustomSideBar::rollButtonRect() const
{
    return QRect(width() - 24, 10, 18, 18);
}

bool TuiCustomSideBar::pointerOver() const
{
    return DrawState() & dsHighlight;
}

int TuiCustomSideBar::HitTestHeader(int x, int y) const
{
    if (rollButtonRect().contains(x, y))
        return 2;
    if (headerRect().contains(x, y))
        return 1;
    return 0;
}

QRect TuiCustomSideBar::GetItemRect(int index) const
{
    const int row = m_rollMode == TuiSideBarRollMode::rmShrink ? m_rollHeight : m_itemHeight;
    return QRect(3, index * row + kFirstItemTop, width() - 8 - 3, m_itemHeight);
}

int TuiCustomSideBar::ItemAt(int y) const
{
    const int visible = int(m_visibleItems.size());
    if (visible == 0 || y < kHitTop || y > height() - 8)
        return -1;
    // Near the end of a roll the rows get thinner than a pixel: no row then.
    const int perRow = (height() - kHitTop) / visible;
    if (perRow <= 0)
        return -1;
    const int row = (y - kHitTop) / perRow;
    return row < visible ? row : -1;
}

void TuiCustomSideBar::HookMouseMove(int x, int y)
{
    TuiCustomControl::HookMouseMove(x, y);
    const int area = HitTestHeader(x, y);
    if (area != m_hoverArea) {
        m_hoverArea = area;
        update(headerRect());
        if (m_showLinkCursor)
            setCursor(area != 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    const int row = ItemAt(y);
    if (row == m_hotIndex)
        return;
    if (m_hotIndex >= 0)
        update(GetItemRect(m_hotIndex));
    m_hotIndex = row;
    if (row >= 0 && m_visibleItems[row]->Enabled()) {
        update(GetItemRect(row));
        if (m_showLinkCursor)
            setCursor(Qt::PointingHandCursor);
    } else if (m_showLinkCursor && m_hoverArea == 0) {
        setCursor(Qt::ArrowCursor);
    }
}

void TuiCustomSideBar::HookMouseDown()
{
    TuiCustomControl::HookMouseDown();
    if (m_hoverArea == 2)
        update(rollButtonRect());
}

void TuiCustomSideBar::HookMouseUp()
{
    TuiCustomControl::HookMouseUp();
    if (m_hoverArea == 2)
        update(rollButtonRect());
}

void TuiCustomSideBar::HookResized()
{
    TuiCustomControl::HookResized();
    if (m_headerGradient.width() != width())
        m_headerGradient = QImage();
    InternalRedraw();
}

void TuiCustomSideBar::Click()
{
    // A handler may delete the bar or the item.
    QPointer<TuiCustomSideBar> self(this);
    if (m_showRollButton && m_hoverArea != 0)
        SetCollapsed(!TargetCollapsed());
    if (m_hotIndex >= 0 && m_hotIndex < m_visibleItems.size() && m_visibleItems[m_hotIndex]->Enabled()) {
        QPointer<TuiSideBarItem> item = m_visibleItems[m_hotIndex];
        bool allowChange = true;
        emit OnCanChange(this, item, allowChange);
        if (!self || !allowChange)
            return;
        if (item)
            emit OnItemClick(this, item);
        if (!self)
            return;
        if (item)
            emit item->OnClick(item);
        if (!self)
            return;
    }
    TuiCustomControl::Click();
}

// --- painting ------------------------------------------------------------------------------------

void TuiCustomSideBar::DrawItem(QPainter& painter, int index, TuiDrawState state)
{
    TuiSideBarItem* item = m_visibleItems.value(index);
    if (!item)
        return;
    QFont font = m_itemFont;
    QColor color = FontColor();
    if (!item->Enabled()) {
        color = kDisabledItem;
    } else if (state & dsHighlight) {
        color = m_hotTrackColor;
        font.setUnderline(true);
    }
    const QRect rect = GetItemRect(index);
    QImage bitmap;
    if (TuiImageList* list = item->EffectiveImageList())
        bitmap = list->GetImage(item->ImageIndex());

    if (isSignalConnected(QMetaMethod::fromSignal(&TuiCustomSideBar::OnDrawItem))) {
        emit OnDrawItem(this, &painter, rect, state, item, bitmap);
        return;
    }
    if (!bitmap.isNull())
        DrawTransparent(painter, rect.left(), rect.top() + (m_itemHeight - bitmap.height()) / 2, bitmap);
    QRect text = itemTextRect(rect);
    const QString caption = ShownCaption(index);
    painter.setFont(font);
    // The text lies on the body colour, so a redrawn row covers its old look.
    const QFontMetrics metrics(font);
    const int textWidth = std::min(metrics.horizontalAdvance(caption), text.width());
    painter.fillRect(QRect(text.left(), text.top() + (text.height() - metrics.height()) / 2, textWidth,
                           metrics.height()),
                     m_bodyColor);
    painter.setPen(color);
    DrawText(painter, caption, text, kOneLineCaption);
}

QRect TuiCustomSideBar::itemTextRect(const QRect& row)
{
    return QRect(row.left() + 20, row.top(), std::max(0, row.width() - 20), row.height());
}

QString TuiCustomSideBar::ShownCaption(int index) const
{
    const TuiSideBarItem* item = m_visibleItems.value(index);
    if (!item)
        return QString();
    const QString caption =
        item->Caption().isEmpty() ? QStringLiteral("(untitled %1)").arg(index) : item->Caption();
    const int width = itemTextRect(GetItemRect(index)).width();
    const QFontMetrics metrics(m_itemFont);
    if (metrics.horizontalAdvance(caption) <= width)
        return caption;
    return metrics.elidedText(caption, m_itemElideMode, width);
}

void TuiCustomSideBar::SetItemElideMode(Qt::TextElideMode mode)
{
    if (mode == m_itemElideMode)
        return;
    m_itemElideMode = mode;
    update();
}

void TuiCustomSideBar::paintEvent(QPaintEvent*)
{
    const int w = width();
    const int h = height();
    const QColor parentColor = ParentBackground();
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, w, kHeaderTop), parentColor);
    QRect area(0, kHeaderTop, w, std::max(0, h - kHeaderTop));
    painter.fillRect(area, m_bodyColor);

    if (m_headerGradient.isNull() || m_headerGradient.width() != w)
        m_headerGradient = DrawGradientBitmap(w, kHeaderBottom - kHeaderTop, m_gradientFrom, m_gradientTo,
                                              kHeaderBands, gsHorizontal, true);
    if (!m_headerGradient.isNull())
        painter.drawImage(0, kHeaderTop, m_headerGradient);

    // A white frame with rounded top corners.
    DrawBoundLines(painter, blLeft | blTop | blRight | blBottom, Qt::white, area);
    for (const QPoint p : {QPoint(0, 5), QPoint(0, 6), QPoint(1, 5), QPoint(w - 1, 5), QPoint(w - 2, 5), QPoint(w - 1, 6)})
        painter.fillRect(QRect(p, QSize(1, 1)), parentColor);
    for (const QPoint p : {QPoint(1, 6), QPoint(w - 2, 6)})
        painter.fillRect(QRect(p, QSize(1, 1)), Qt::white);

    int right = w;
    if (m_showRollButton && w >= kMinWidthForRollButton) {
        int state = 0;
        if (m_hoverArea == 2)
            state = (DrawState() & dsClicked) ? 2 : 1;
        const QString name = QStringLiteral("%1%2").arg(m_collapsed ? QStringLiteral("EXPAND") : QStringLiteral("COLLAPSE")).arg(state);
        DrawTransparent(painter, w - 24, 10, uiResources::Bitmap(name));
        right -= 25;
    }
    DrawLine(painter, 1, kHeaderBottom, w - 1, kHeaderBottom, m_seperatorLine);

    int left = 22;
    if (!m_icon.isNull()) {
        DrawTransparent(painter, 2, 0, m_icon);
        left += 16;
    }
    const bool lit = m_hotTrack && pointerOver() && m_hoverArea != 0;
    painter.setFont(m_headerFont);
    painter.setPen(lit ? m_hotTrackColor : m_headerFontColor);
    QRect caption(left, kHeaderTop, std::max(0, right - 3 - left), kHeaderBottom - kHeaderTop);
    DrawText(painter, Caption(), caption, kOneLineCaption);

    if (m_collapsed && !m_rolling)
        return;
    for (int i = 0; i < m_visibleItems.size(); ++i)
        DrawItem(painter, i, (i == m_hotIndex && pointerOver()) ? TuiDrawState(dsHighlight) : TuiDrawState(dsDefault));
}
