#include "plans/boardviews.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace bw {

namespace {

constexpr int kTimeColumnWidth = 50;
constexpr int kTableColumnWidth = 100;
constexpr int kHeaderHeight = 26;
constexpr int kRowHeight = 14;
constexpr int kEntryHeight = 50;

QFont arial(int points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    return font;
}

// A placed match: its upper cell drawn with the box's top, its lower cell with
// the box's bottom, both filled with the class colour; other cells white.
class BoardCellDelegate : public QStyledItemDelegate {
public:
    BoardCellDelegate(const BoardModel& board, QObject* parent) : QStyledItemDelegate(parent), m_board(board) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        const std::optional<kitem> item = m_board.cell(index.row() + 1, index.column() + 1);
        painter->save();
        if (!item) {
            painter->fillRect(r, Qt::white);
            painter->restore();
            return;
        }
        painter->fillRect(r, boardColour(item->farbe));
        painter->setPen(Qt::black);
        const QPoint tl = r.topLeft(), tr = r.topRight(), bl = r.bottomLeft(), br = r.bottomRight();
        painter->drawLine(tl, bl);
        painter->drawLine(tr, br);
        painter->drawLine(item->ersteZeile ? tl : bl, item->ersteZeile ? tr : br);
        painter->setFont(arial(7));
        painter->drawText(r.adjusted(5, 1, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          item->ersteZeile ? item->spieler1 : item->spieler2);
        painter->restore();
    }

private:
    const BoardModel& m_board;
};

// A list entry: a rounded box in the class colour (the highlight when
// selected) with both names and between them the match number.
class BoardEntryDelegate : public QStyledItemDelegate {
public:
    BoardEntryDelegate(const BoardModel& board, QListView* list) : QStyledItemDelegate(list), m_board(board), m_list(list)
    {
    }

    // Every entry as wide as the list.
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {m_list->viewport()->width(), kEntryHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.row() >= m_board.entries().size())
            return;
        const kitem& e = m_board.entries()[index.row()];
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect r = option.rect;
        painter->fillRect(r, option.palette.base());
        QPainterPath box;
        box.addRoundedRect(QRectF(r.adjusted(2, 2, -2, -2)), 5, 5);
        painter->setPen(Qt::black);
        painter->setBrush(selected ? option.palette.highlight().color() : boardColour(m_board.chosenColour()));
        painter->drawPath(box);
        painter->setPen(selected ? Qt::white : Qt::black);
        const int w = r.width() - 12;
        painter->setFont(arial(8));
        painter->drawText(QRect(r.left() + 10, r.top() + 5, w, 14), Qt::AlignLeft | Qt::AlignTop, e.spieler1);
        painter->drawText(QRect(r.left() + 10, r.top() + 30, w, 14), Qt::AlignLeft | Qt::AlignTop, e.spieler2);
        QString middle = QString::number(e.spielnummer) + QStringLiteral("                   -");
        if (e.nummer != -1)
            middle += QStringLiteral("            Nr.: ") + QString::number(e.nummer);
        painter->setFont(arial(6));
        painter->drawText(QRect(r.left() + 5, r.top() + 20, w, 10), Qt::AlignLeft | Qt::AlignTop, middle);
        painter->restore();
    }

private:
    const BoardModel& m_board;
    QListView* m_list;
};

} // namespace

QByteArray encodeBoardEntry(const BoardMatchKey& key)
{
    return QStringLiteral("%1 %2 %3").arg(key.kid).arg(key.spielnummer).arg(key.nummer).toLatin1();
}

std::optional<BoardMatchKey> decodeBoardEntry(const QByteArray& data)
{
    const QList<QByteArray> parts = data.split(' ');
    if (parts.size() != 3)
        return std::nullopt;
    bool ok[3] = {};
    const BoardMatchKey key{parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1]), parts[2].toInt(&ok[2])};
    if (!ok[0] || !ok[1] || !ok[2])
        return std::nullopt;
    return key;
}

QString boardCellHint(const kitem& item)
{
    QString hint = QStringLiteral("Schiedsrichter: ") + item.schiri;
    if (item.nummer != -1)
        hint += QStringLiteral("\nSpielnr.: ") + QString::number(item.nummer);
    return hint;
}

BoardTableModel::BoardTableModel(const BoardModel& board, QObject* parent)
    : QAbstractTableModel(parent), m_board(board)
{
}

int BoardTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kLastBoardRow;
}

int BoardTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_board.columnCount() - 1;
}

QVariant BoardTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return m_board.cellText(row, column);
    case Qt::ToolTipRole:
        if (const std::optional<kitem> item = m_board.cell(row, column))
            return boardCellHint(*item);
        return {};
    default:
        return {};
    }
}

QVariant BoardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole)
        return orientation == Qt::Horizontal ? m_board.cellText(0, section + 1) : m_board.cellText(section + 1, 0);
    if (role == Qt::FontRole)
        return arial(orientation == Qt::Horizontal ? 8 : 7);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignTop);
    return {};
}

void BoardTableModel::columnsChanged(const QList<int>& boardColumns)
{
    for (const int column : boardColumns)
        if (column >= 1 && column < m_board.columnCount())
            emit dataChanged(index(0, column - 1), index(kLastBoardRow - 1, column - 1));
}

void BoardTableModel::reset()
{
    beginResetModel();
    endResetModel();
}

BoardGrid::BoardGrid(const BoardModel& board, QWidget* parent)
    : QTableView(parent), m_model(new BoardTableModel(board, this)), m_corner(new QLabel(QStringLiteral("Uhrzeit"), this)),
      m_autoScroll(new QTimer(this))
{
    m_autoScroll->setInterval(50);
    connect(m_autoScroll, &QTimer::timeout, this, [this] { autoScrollTick(); });
    setModel(m_model);
    setItemDelegate(new BoardCellDelegate(board, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setMouseTracking(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(kTableColumnWidth);
    horizontalHeader()->setMinimumSectionSize(kTableColumnWidth);
    horizontalHeader()->setFixedHeight(kHeaderHeight);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setFixedWidth(kTimeColumnWidth);
    verticalHeader()->setHighlightSections(false);
    setCornerButtonEnabled(false);
    m_corner->setFont(arial(8));
    m_corner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_corner->setContentsMargins(2, 2, 0, 0);
    m_corner->setAutoFillBackground(true);
    m_corner->setBackgroundRole(QPalette::Button);
}

void BoardGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    m_corner->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(), horizontalHeader()->height());
}

QPoint BoardGrid::boardCellAt(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return {};
    return {index.column() + 1, index.row() + 1};
}

void BoardGrid::setCurrentBoardRow(int row)
{
    const int column = std::max(currentIndex().column(), 0);
    const QModelIndex index = m_model->index(row - 1, column);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

int BoardGrid::currentBoardRow() const
{
    return currentIndex().isValid() ? currentIndex().row() + 1 : 0;
}

void BoardGrid::mousePressEvent(QMouseEvent* event)
{
    m_mausdown = event->position().toPoint();
    m_source = boardCellAt(m_mausdown);
    m_dragging = false;
    QTableView::mousePressEvent(event);
    if (event->buttons() == Qt::RightButton && m_source != QPoint())
        emit matchMenuRequested(m_source.y(), m_source.x(), event->globalPosition().toPoint());
}

void BoardGrid::mouseMoveEvent(QMouseEvent* event)
{
    setFocus();
    if (event->buttons() != Qt::LeftButton) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    // A grid match follows the left button from its mouse-down cell.
    if (!m_dragging && m_source != QPoint() && !model()->data(m_model->index(m_source.y() - 1, m_source.x() - 1)).toString().isEmpty()
        && (event->position().toPoint() - m_mausdown).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        viewport()->setCursor(Qt::DragMoveCursor);
    }
    if (m_dragging)
        autoScrollAt(event->position().toPoint());
}

void BoardGrid::autoScrollAt(const QPoint& viewportPos)
{
    const int margin = autoScrollMargin();
    const QRect area = viewport()->rect();
    const auto direction = [margin](int at, int size) { return at < margin ? -1 : at >= size - margin ? 1 : 0; };
    m_autoScrollStep = {direction(viewportPos.x(), area.width()), direction(viewportPos.y(), area.height())};
    if (m_autoScrollStep.isNull())
        m_autoScroll->stop();
    else if (!m_autoScroll->isActive())
        m_autoScroll->start();
}

void BoardGrid::stopAutoScroll()
{
    m_autoScroll->stop();
    m_autoScrollStep = {};
}

void BoardGrid::autoScrollTick()
{
    for (auto [bar, step] : {std::pair{horizontalScrollBar(), m_autoScrollStep.x()},
                             std::pair{verticalScrollBar(), m_autoScrollStep.y()}})
        bar->setValue(bar->value() + step * bar->singleStep());
}

void BoardGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QTableView::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    stopAutoScroll();
    viewport()->unsetCursor();
    // The view ends its own press first; the drop may then fill it anew.
    QTableView::mouseReleaseEvent(event);
    const QPoint global = event->globalPosition().toPoint();
    const QPoint source = m_source;
    if (m_dropList && m_dropList->isVisible() && m_dropList->rect().contains(m_dropList->mapFromGlobal(global))) {
        emit matchDroppedOnList(source.y(), source.x());
        return;
    }
    const QPoint local = viewport()->mapFromGlobal(global);
    if (!viewport()->rect().contains(local))
        return;
    const QPoint target = boardCellAt(local);
    if (target != QPoint())
        emit matchMoved(source.y(), source.x(), target.y(), target.x());
}

void BoardGrid::wheelEvent(QWheelEvent* event)
{
    const int row = currentBoardRow();
    if (event->angleDelta().y() < 0 && row < kLastBoardRow)
        setCurrentBoardRow(row + 1);
    else if (event->angleDelta().y() > 0 && row > 1)
        setCurrentBoardRow(row - 1);
    viewport()->update();
    event->accept();
}

void BoardGrid::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(kBoardEntryMime))
        event->acceptProposedAction();
    else
        event->ignore();
}

void BoardGrid::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData()->hasFormat(kBoardEntryMime)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    autoScrollAt(event->position().toPoint());
}

void BoardGrid::dragLeaveEvent(QDragLeaveEvent* event)
{
    stopAutoScroll();
    QTableView::dragLeaveEvent(event);
}

void BoardGrid::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    const std::optional<BoardMatchKey> entry = decodeBoardEntry(event->mimeData()->data(kBoardEntryMime));
    if (!entry) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QPoint target = boardCellAt(event->position().toPoint());
    if (target != QPoint())
        emit listEntryDropped(*entry, target.y(), target.x());
}

BoardList::BoardList(const BoardModel& board, QWidget* parent) : QListWidget(parent), m_board(board)
{
    setItemDelegate(new BoardEntryDelegate(board, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::MoveAction);
    setUniformItemSizes(true);
    setResizeMode(QListView::Adjust);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
}

void BoardList::fill()
{
    clear();
    for (int i = 0; i < m_board.entries().size(); ++i)
        addItem(m_board.entryText(i));
}

QStringList BoardList::mimeTypes() const
{
    return {kBoardEntryMime};
}

QMimeData* BoardList::mimeData(const QList<QListWidgetItem*>& items) const
{
    if (items.isEmpty())
        return nullptr;
    const int index = row(items.first());
    if (index < 0 || index >= m_board.entries().size())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(kBoardEntryMime, encodeBoardEntry(m_board.entries()[index].key()));
    return data;
}

void BoardList::mouseMoveEvent(QMouseEvent* event)
{
    setFocus();
    QListWidget::mouseMoveEvent(event);
}

} // namespace bw
