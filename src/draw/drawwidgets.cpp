#include "draw/drawwidgets.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

namespace bw {

namespace {

const QString kDragFormat = QStringLiteral("application/x-brackwell-draw");
const QColor kSlotColour(251, 253, 215);

void beginDrag(QWidget* source, const DrawDrag& drag)
{
    auto* qdrag = new QDrag(source);
    qdrag->setMimeData(drag.toMime());
    qdrag->exec(Qt::MoveAction);
}

// Drags of the wizard are taken as moves, others refused.
void acceptable(QDropEvent* event)
{
    if (!event->mimeData()->hasFormat(kDragFormat)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

} // namespace

std::optional<DrawDrag> acceptedDrop(QDropEvent* event)
{
    std::optional<DrawDrag> drag = DrawDrag::fromMime(event->mimeData());
    if (!drag) {
        event->ignore();
        return std::nullopt;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    return drag;
}

QMimeData* DrawDrag::toMime() const
{
    auto* mime = new QMimeData;
    mime->setData(kDragFormat, QStringLiteral("%1 %2 %3 %4").arg(int(from)).arg(a).arg(b).arg(row).toLatin1());
    return mime;
}

std::optional<DrawDrag> DrawDrag::fromMime(const QMimeData* mime)
{
    if (!mime || !mime->hasFormat(kDragFormat))
        return std::nullopt;
    const QList<QByteArray> parts = mime->data(kDragFormat).split(' ');
    if (parts.size() != 4)
        return std::nullopt;
    DrawDrag d;
    const int from = parts[0].toInt();
    if (from < 0 || from > int(From::TableList))
        return std::nullopt;
    d.from = From(from);
    d.a = parts[1].toInt();
    d.b = parts[2].toInt();
    d.row = parts[3].toInt();
    return d;
}

// --- lists ---

DrawListBox::DrawListBox(const QString& name, const DrawDrag& origin, QWidget* parent)
    : QListWidget(parent), m_origin(origin)
{
    setObjectName(name);
    setAcceptDrops(true);
}

void DrawListBox::showTexts(const QStringList& texts)
{
    const int current = currentRow();
    if (count() == texts.size()) {
        for (int i = 0; i < texts.size(); ++i)
            if (item(i)->text() != texts[i])
                item(i)->setText(texts[i]);
    } else {
        clear();
        addItems(texts);
    }
    if (current >= 0 && current < count())
        setCurrentRow(current);
}

void DrawListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPoint = event->position().toPoint();
    const QModelIndex index = indexAt(m_pressPoint);
    m_pressRow = index.isValid() ? index.row() : -1;
    m_pressed = true;
}

void DrawListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;
    if (m_pressRow < 0)
        return;
    DrawDrag drag = m_origin;
    drag.row = m_pressRow;
    beginDrag(this, drag);
}

void DrawListBox::dragEnterEvent(QDragEnterEvent* event)
{
    acceptable(event);
}

void DrawListBox::dragMoveEvent(QDragMoveEvent* event)
{
    acceptable(event);
}

void DrawListBox::dropEvent(QDropEvent* event)
{
    if (const std::optional<DrawDrag> drag = acceptedDrop(event))
        deliverDrop(*drag, event->position().toPoint());
}

void DrawListBox::deliverDrop(const DrawDrag& drag, const QPoint& pos)
{
    const QModelIndex index = indexAt(pos);
    if (onDrop)
        onDrop(drag, index.isValid() ? index.row() : -1);
}

void DrawListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && onDelete) {
        if (currentRow() >= 0)
            onDelete(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

// --- bracket ---

BracketView::BracketView(int phase, QWidget* parent) : QWidget(parent), m_phase(phase)
{
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void BracketView::showBracket(const BracketGeometry& geometry, const QStringList& slotTexts)
{
    m_geometry = geometry;
    m_texts = slotTexts;
    setFixedSize(geometry.size);
    update();
}

int BracketView::slotAt(const QPoint& pos) const
{
    for (int s = 0; s < m_geometry.slotRects.size(); ++s)
        if (m_geometry.slotRects[s].adjusted(0, 0, 0, 2).contains(pos))
            return s;
    return -1;
}

void BracketView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect exposed = event->rect();
    p.setPen(Qt::black);
    for (const QLine& line : m_geometry.lines)
        if (QRect(line.p1(), line.p2()).normalized().adjusted(-1, -1, 1, 1).intersects(exposed))
            p.drawLine(line);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    p.setFont(small);
    for (const auto& [at, text] : m_geometry.texts)
        if (exposed.intersects(QRect(at, QSize(60, 14))))
            p.drawText(QRect(at, QSize(60, 14)), Qt::AlignLeft | Qt::AlignVCenter, text);
    for (int s = 0; s < m_geometry.slotRects.size(); ++s) {
        const QRect r = m_geometry.slotRects[s];
        if (!r.intersects(exposed))
            continue;
        p.fillRect(r, kSlotColour);
        if (s < m_texts.size())
            p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, m_texts[s]);
    }
}

void BracketView::mousePressEvent(QMouseEvent* event)
{
    m_pressPoint = event->position().toPoint();
    m_pressSlot = event->button() == Qt::LeftButton ? slotAt(m_pressPoint) : -1;
}

void BracketView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressSlot < 0 || !(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    const int slot = m_pressSlot;
    m_pressSlot = -1;
    beginDrag(this, DrawDrag{DrawDrag::From::Slot, m_phase, 0, slot});
}

void BracketView::dragEnterEvent(QDragEnterEvent* event)
{
    acceptable(event);
}

void BracketView::dragMoveEvent(QDragMoveEvent* event)
{
    acceptable(event);
}

void BracketView::dropEvent(QDropEvent* event)
{
    if (const std::optional<DrawDrag> drag = acceptedDrop(event))
        deliverDrop(*drag, event->position().toPoint());
}

void BracketView::deliverDrop(const DrawDrag& drag, const QPoint& pos)
{
    const int slot = slotAt(pos);
    if (slot >= 0 && onDrop)
        onDrop(drag, slot);
}

} // namespace bw
