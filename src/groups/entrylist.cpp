#include "groups/entrylist.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace bw {

namespace {
const QString kEntryFormat = QStringLiteral("application/x-brackwell-entry");
}

EntryList::EntryList(const QString& name, bool dragsSelection, QWidget* parent)
    : QListWidget(parent), m_dragsSelection(dragsSelection)
{
    setObjectName(name);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int EntryList::dragRow() const
{
    if (m_dragsSelection) {
        const QList<QListWidgetItem*> selected = selectedItems();
        return selected.isEmpty() ? -1 : row(selected.first());
    }
    const QListWidgetItem* item = itemAt(m_pressPoint);
    return item ? row(item) : -1;
}

void EntryList::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_pressPoint = event->position().toPoint();
        m_pressed = true;
    }
}

void EntryList::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    if ((event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;
    auto* data = new QMimeData;
    data->setData(kEntryFormat, objectName().toUtf8());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

EntryList* EntryList::sourceOf(const QDropEvent* event) const
{
    // The drag names its list; the list is looked for in this window only.
    if (!event->mimeData()->hasFormat(kEntryFormat))
        return nullptr;
    const QString name = QString::fromUtf8(event->mimeData()->data(kEntryFormat));
    return window()->findChild<EntryList*>(name);
}

void EntryList::dragEnterEvent(QDragEnterEvent* event)
{
    if (sourceOf(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void EntryList::dragMoveEvent(QDragMoveEvent* event)
{
    if (sourceOf(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void EntryList::dropEvent(QDropEvent* event)
{
    EntryList* source = sourceOf(event);
    if (!source) {
        event->ignore();
        return;
    }
    // The page changes the lists itself; Qt must not move any item.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    const QListWidgetItem* target = itemAt(event->position().toPoint());
    emit dropped(source, source->dragRow(), target ? row(target) : -1);
}

} // namespace bw
