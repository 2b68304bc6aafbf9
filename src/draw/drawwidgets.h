// The controls of the draw wizard's pages that entrants are dragged between:
// lists (entrant, seed, participant, group and table lists) and the bracket
// view that paints a knock-out phase's slots and lines. A drag carries where
// it started (DrawDrag); the control it is dropped on hands that and the row or
// slot under the drop point to its drop callback. Only drags of this program's
// draw wizard are accepted.
#pragma once

#include "draw/drawmodel.h"

#include <QListWidget>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>

class QDropEvent;
class QMimeData;

namespace bw {

// Where a drag started.
struct DrawDrag {
    enum class From { List, GroupRow, Slot, Tables, TableList };
    From from = From::List;
    int a = 0; // List: the DrawList; GroupRow, Slot: the phase; TableList: the list
    int b = 0; // GroupRow: the group
    int row = -1; // the row or slot, -1 none

    QMimeData* toMime() const;
    static std::optional<DrawDrag> fromMime(const QMimeData* mime);
};

// The drag a drop brings, the drop accepted as a move; nothing (the drop
// refused) for a drag from elsewhere.
std::optional<DrawDrag> acceptedDrop(QDropEvent* event);

class DrawListBox : public QListWidget {
public:
    // `origin` names the list as a drag's start; its row is filled in.
    DrawListBox(const QString& name, const DrawDrag& origin, QWidget* parent);

    std::function<void(const DrawDrag& drag, int row)> onDrop;
    std::function<void(int row)> onDelete; // the Delete key on a row

    // The row under the last mouse-down (dragStartPunkt), -1 for none.
    int dragRow() const { return m_pressRow; }
    // Puts `texts` in the list, keeping the current row where it can.
    void showTexts(const QStringList& texts);
    // Delivers a drop as the user's would: `drag` onto the row at `pos`
    // (viewport coordinates).
    void deliverDrop(const DrawDrag& drag, const QPoint& pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    DrawDrag m_origin;
    QPoint m_pressPoint;
    int m_pressRow = -1;
    bool m_pressed = false;
};

// A knock-out phase's bracket: the geometry the model computes, the slots'
// texts on light yellow labels. Slots start drags and take drops.
class BracketView : public QWidget {
public:
    BracketView(int phase, QWidget* parent);

    std::function<void(const DrawDrag& drag, int slot)> onDrop;

    void showBracket(const BracketGeometry& geometry, const QStringList& slotTexts);
    int slotAt(const QPoint& pos) const;
    void deliverDrop(const DrawDrag& drag, const QPoint& pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int m_phase;
    BracketGeometry m_geometry;
    QStringList m_texts;
    QPoint m_pressPoint;
    int m_pressSlot = -1;
};

} // namespace bw
