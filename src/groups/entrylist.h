// A list of the group set-up page from which entries are dragged onto the
// page's other lists. A drag starts as soon as the mouse moves with the button
// down; it carries the list it came from and the dragged row: the row under
// the mouse-down, or for a list that drags its selection, the selected row.
// The list a drag is dropped on reports it with the row under the drop point
// (-1 for none). Only drags from such lists of the same window are accepted.
#pragma once

#include <QListWidget>
#include <QPoint>

namespace bw {

class EntryList : public QListWidget {
    Q_OBJECT
public:
    EntryList(const QString& name, bool dragsSelection, QWidget* parent);

    // The row a drag from this list moves (-1 for none).
    int dragRow() const;

signals:
    void dropped(EntryList* source, int sourceRow, int targetRow);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    EntryList* sourceOf(const QDropEvent* event) const;

    bool m_dragsSelection;
    QPoint m_pressPoint; // dragStartPunkt
    bool m_pressed = false;
};

} // namespace bw
