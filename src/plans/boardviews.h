// The planning board's two views over its BoardModel: the grid (an item view,
// no widget per cell; the time column is its vertical header) and the match
// list. A list entry is dragged with QDrag carrying its match; a grid match is
// moved with the grid's own mouse press, move and release, onto another cell
// or onto the list.
#pragma once

#include "plans/boardmodel.h"

#include <QAbstractTableModel>
#include <QListWidget>
#include <QPointer>
#include <QTableView>

class QLabel;
class QTimer;

namespace bw {

// The mime type of a dragged list entry: "KID spielnummer nummer".
inline const QString kBoardEntryMime = QStringLiteral("application/x-brackwell-board-entry");
QByteArray encodeBoardEntry(const BoardMatchKey& key);
std::optional<BoardMatchKey> decodeBoardEntry(const QByteArray& data);

// The grid's cells: view row r is board row r + 1, view column c board column c + 1.
class BoardTableModel : public QAbstractTableModel {
public:
    explicit BoardTableModel(const BoardModel& board, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The board's columns or whole content changed.
    void columnsChanged(const QList<int>& boardColumns);
    void reset();

private:
    const BoardModel& m_board;
};

// The hint of a grid cell: the umpire, for a team game also its game number.
QString boardCellHint(const kitem& item);

class BoardGrid : public QTableView {
    Q_OBJECT
public:
    BoardGrid(const BoardModel& board, QWidget* parent);

    BoardTableModel* boardModel() const { return m_model; }
    // The list a grid match may be dropped onto.
    void setDropList(QWidget* list) { m_dropList = list; }
    // The board cell under a point of the viewport; {0, 0} outside the table cells.
    QPoint boardCellAt(const QPoint& viewportPos) const;
    // Makes a board row the current row and shows it.
    void setCurrentBoardRow(int row);
    int currentBoardRow() const;

    // The last mouse-down point in the viewport.
    QPoint mausdown() const { return m_mausdown; }

    // While a match is moved or a list entry dragged with the pointer near an
    // edge of the viewport, the grid scrolls towards that edge by a row or a
    // column each tick: the rows and columns per tick (0 when it stands still).
    QPoint autoScrollStep() const { return m_autoScrollStep; }

signals:
    void listEntryDropped(const bw::BoardMatchKey& entry, int row, int column);
    void matchMoved(int fromRow, int fromColumn, int toRow, int toColumn);
    void matchDroppedOnList(int row, int column);
    void matchMenuRequested(int row, int column, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Starts, turns or stops the scrolling for the pointer at a viewport point.
    void autoScrollAt(const QPoint& viewportPos);
    void stopAutoScroll();
    void autoScrollTick();

    BoardTableModel* m_model;
    QLabel* m_corner;
    QPointer<QWidget> m_dropList;
    QPoint m_mausdown;
    QPoint m_source; // the board cell of the mouse-down
    bool m_dragging = false;
    QTimer* m_autoScroll;
    QPoint m_autoScrollStep;
};

class BoardList : public QListWidget {
public:
    BoardList(const BoardModel& board, QWidget* parent);
    // Shows the board's entries anew.
    void fill();

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const BoardModel& m_board;
};

} // namespace bw
