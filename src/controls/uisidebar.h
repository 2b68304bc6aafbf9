// The collapsible side bar: one group of a task-pane navigation column. A
// header with a green gradient, an optional icon, a caption and a round roll
// button, and under it a list of link items, each a small picture and a caption
// that lights up under the pointer. A click on the header rolls the item list
// up or down, 3 pixels every 25 milliseconds, paced by a step timer on the
// user-interface thread (a QTimer; tests set one they fire by hand); the bar's
// fixed height follows each step, so bars stacked in a layout move with it.
#pragma once

#include "controls/uicore.h"
#include "controls/uiimagelist.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointer>

#include <functional>
#include <memory>

class TuiCustomSideBar;
class TuiSideBarItems;

// Paces a roll: runs the step it was started with once, after ms milliseconds.
// A new start replaces a pending step; Stop drops it.
class TuiStepTimer {
public:
    virtual ~TuiStepTimer() = default;
    virtual void Start(int ms, std::function<void()> step) = 0;
    virtual void Stop() = 0;
};

class TuiSideBarItem : public QObject {
    Q_OBJECT
public:
    explicit TuiSideBarItem(TuiSideBarItems* collection);
    ~TuiSideBarItem() override;

    TuiCustomSideBar* Bar() const;
    // The position in the collection.
    int Index() const;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& hint) { m_hint = hint; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    TuiImageList* ImageList() const { return m_imageList; }
    void SetImageList(TuiImageList* list);
    QString Name() const { return m_name; }
    // Ignored when another item of the bar already has that name.
    void SetName(const QString& name);
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    // Copies the properties of another item (not its click connections).
    void Assign(const TuiSideBarItem& other);
    // The caption, or "untitled", with " [name]" and "*" for a hidden item.
    QString GetDisplayName() const;
    // The list its picture comes from: its own, else the bar's.
    TuiImageList* EffectiveImageList() const;

signals:
    void OnClick(QObject* sender);

private:
    friend class TuiSideBarItems;
    void changed();

    TuiSideBarItems* m_collection;
    QString m_caption;
    bool m_enabled = true;
    QString m_hint;
    int m_imageIndex = -1;
    QPointer<TuiImageList> m_imageList;
    QString m_name;
    int m_tag = 0;
    bool m_visible = true;
};

// The items of a bar, in the order they were added.
class TuiSideBarItems : public QObject {
    Q_OBJECT
public:
    explicit TuiSideBarItems(TuiCustomSideBar* bar);
    ~TuiSideBarItems() override;

    TuiCustomSideBar* Bar() const { return m_bar; }
    // Appends an item with the default values and answers it.
    TuiSideBarItem* Add();
    // The item at a position from 0, or nullptr outside the collection.
    TuiSideBarItem* GetItem(int index) const;
    TuiSideBarItem* operator[](int index) const { return GetItem(index); }
    int Count() const { return int(m_items.size()); }
    int IndexOf(const TuiSideBarItem* item) const { return int(m_items.indexOf(item)); }
    // Removes and frees the item at a position; outside the collection nothing happens.
    void Delete(int index);
    void Clear();
    TuiSideBarItem* FindItem(const QString& name) const;

private:
    friend class TuiSideBarItem;
    TuiCustomSideBar* m_bar;
    QList<TuiSideBarItem*> m_items;
};

enum class TuiSideBarRollMode { rmFixed, rmShrink };

class TuiCustomSideBar : public TuiCustomControl {
    Q_OBJECT
public:
    static constexpr int kRollStep = 3;
    static constexpr int kRollInterval = 25;

    explicit TuiCustomSideBar(QWidget* parent = nullptr);
    ~TuiCustomSideBar() override;

    TuiSideBarItems* Items() const { return m_items; }
    // The visible items in collection order.
    QList<TuiSideBarItem*> VisibleItems() const { return m_visibleItems; }

    bool Collapsed() const { return m_collapsed; }
    // Rolls the item list up (true) or down. A request for the state already
    // being rolled to changes nothing; the opposite request turns the roll round.
    void SetCollapsed(bool collapsed);
    // Whether a roll is under way.
    bool IsRolling() const { return m_animating; }
    // The state the bar is in or rolling to.
    bool TargetCollapsed() const { return m_animating ? m_rollTarget : m_collapsed; }
    // Paces the roll with another timer, which must outlive the bar; null
    // goes back to the bar's own QTimer. A pending step moves to the new timer.
    void SetStepTimer(TuiStepTimer* timer);

    // The item font and its colour, and the header font and its colour.
    QFont Font() const { return m_itemFont; }
    void SetFont(const QFont& font);
    QFont HeaderFont() const { return m_headerFont; }
    void SetHeaderFont(const QFont& font);
    QColor HeaderFontColor() const { return m_headerFontColor; }
    void SetHeaderFontColor(const QColor& color);
    bool ParentFont() const override { return m_parentFont; }
    void SetParentFont(bool parentFont) override;

    QColor GradientFrom() const { return m_gradientFrom; }
    void SetGradientFrom(const QColor& color);
    QColor GradientTo() const { return m_gradientTo; }
    void SetGradientTo(const QColor& color);
    QColor BodyColor() const { return m_bodyColor; }
    void SetBodyColor(const QColor& color);
    QColor SeperatorLine() const { return m_seperatorLine; }
    void SetSeperatorLine(const QColor& color);
    bool HotTrack() const { return m_hotTrack; }
    void SetHotTrack(bool hotTrack);
    QColor HotTrackColor() const { return m_hotTrackColor; }
    void SetHotTrackColor(const QColor& color);
    QImage Icon() const { return m_icon; }
    void SetIcon(const QImage& icon);
    TuiImageList* ImageList() const { return m_imageList; }
    void SetImageList(TuiImageList* list);
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height);
    TuiSideBarRollMode RollMode() const { return m_rollMode; }
    void SetRollMode(TuiSideBarRollMode mode);
    bool ShowLinkCursor() const { return m_showLinkCursor; }
    void SetShowLinkCursor(bool show) { m_showLinkCursor = show; }
    bool ShowRollButton() const { return m_showRollButton; }
    void SetShowRollButton(bool show);
    // Where an item caption too long for its row is shortened: at its end
    // (the default) or in its middle, so that its end stays readable.
    Qt::TextElideMode ItemElideMode() const { return m_itemElideMode; }
    void SetItemElideMode(Qt::TextElideMode mode);
    // The caption of a visible item as its row shows it, shortened to fit.
    QString ShownCaption(int index) const;

    int RollHeight() const { return m_rollHeight; }
    void SetRollHeight(int height);
    bool Rolling() const { return m_rolling; }
    // 0 nothing, 1 header, 2 roll button.
    int HoverArea() const { return m_hoverArea; }
    // The visible item under the pointer, -1 for none.
    int HotIndex() const { return m_hotIndex; }

    int HitTestHeader(int x, int y) const;
    virtual QRect GetItemRect(int index) const;
    // The visible item at a point, -1 for none.
    int ItemAt(int y) const;

    void EndUpdate() override;
    void Click() override;

    // Told by an item whose visibility changed, or that came or went.
    virtual void ItemVisibleChanged(TuiSideBarItem* item);
    // Told by an item whose look changed.
    void ItemChanged(TuiSideBarItem* item);

signals:
    // May veto an item click by setting allowChange to false. Connect directly.
    void OnCanChange(QObject* sender, TuiSideBarItem* item, bool& allowChange);
    void OnItemClick(QObject* sender, TuiSideBarItem* item);
    // When connected, draws the items instead of the bar. Connect directly: the
    // painter lives only for the call.
    void OnDrawItem(QObject* sender, QPainter* canvas, const QRect& rect, TuiDrawState state, TuiSideBarItem* item,
                    const QImage& bitmap);

protected:
    virtual void DrawItem(QPainter& painter, int index, TuiDrawState state);
    void AdjustHeight();

    void HookMouseDown() override;
    void HookMouseUp() override;
    void HookMouseMove(int x, int y) override;
    void HookParentFontChanged() override;
    void HookResized() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void rollStep();
    void rollPause();
    bool rollDone() const;
    void setFonts(const QFont& item, const QFont& header);
    // Where an item's caption lies in its row: right of its picture.
    static QRect itemTextRect(const QRect& row);
    QRect headerRect() const;
    QRect rollButtonRect() const;
    bool pointerOver() const;

    TuiSideBarItems* m_items;
    QList<TuiSideBarItem*> m_visibleItems;
    bool m_collapsed = false;
    bool m_rollTarget = false;
    bool m_animating = false;
    std::unique_ptr<TuiStepTimer> m_ownStepTimer;
    TuiStepTimer* m_stepTimer;

    QFont m_itemFont;
    QFont m_headerFont;
    QColor m_headerFontColor{Qt::black};
    bool m_parentFont = false;
    QColor m_gradientFrom{0x2EA934};
    QColor m_gradientTo{Qt::white};
    QColor m_bodyColor{0xC6F3AF};
    QColor m_seperatorLine{0x008000};
    bool m_hotTrack = true;
    QColor m_hotTrackColor{0x357CFF};
    QImage m_icon;
    QPointer<TuiImageList> m_imageList;
    int m_itemHeight = 20;
    TuiSideBarRollMode m_rollMode = TuiSideBarRollMode::rmShrink;
    bool m_showLinkCursor = true;
    bool m_showRollButton = true;
    Qt::TextElideMode m_itemElideMode = Qt::ElideRight;

    int m_rollHeight = 20;
    bool m_rolling = false;
    int m_hoverArea = 0;
    int m_hotIndex = -1;
    QImage m_headerGradient;
};

class TuiSideBar : public TuiCustomSideBar {
    Q_OBJECT
public:
    explicit TuiSideBar(QWidget* parent = nullptr)
        : TuiCustomSideBar(parent)
    {
    }
};
