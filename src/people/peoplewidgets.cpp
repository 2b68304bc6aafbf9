#include "people/peoplewidgets.h"

#include "platform/germantext.h"

#include <QPainter>

namespace bw::people {

bool SortedEntry::operator<(const QListWidgetItem& other) const
{
    return german::lessThan(text(), other.text());
}

void PersonEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QVariant own = index.data(Qt::ForegroundRole);
    const QColor text = own.canConvert<QBrush>() ? own.value<QBrush>().color() : QColor(Qt::black);
    painter->save();
    painter->fillRect(option.rect, selected ? option.palette.highlight() : QBrush(Qt::white));
    painter->setPen(selected ? QColor(Qt::white) : text);
    painter->setFont(option.font);
    const QRect area = option.rect.adjusted(5, 0, 0, 0);
    painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                      option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, area.width()));
    painter->restore();
}

QSize PersonEntryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(size.width() + 5);
    if (m_rowHeight > 0)
        size.setHeight(m_rowHeight);
    return size;
}

QListWidgetItem* addEntry(QListWidget* list, const QString& text)
{
    auto* entry = new SortedEntry(text);
    list->addItem(entry);
    return entry;
}

QComboBox* editableCombo(QWidget* parent, const QString& name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

void learnValue(QComboBox* combo, const QString& text)
{
    if (!text.isEmpty() && combo->findText(text, Qt::MatchExactly) < 0) {
        const QString typed = combo->currentText();
        combo->addItem(text);
        combo->setCurrentText(typed);
    }
}

QListWidgetItem* entryWithKey(QListWidget* list, int key)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toInt() == key)
            return list->item(i);
    }
    return nullptr;
}

void selectOnly(QListWidget* list, QListWidgetItem* item)
{
    list->clearSelection();
    if (item) {
        item->setSelected(true);
        list->setCurrentItem(item, QItemSelectionModel::Select);
        list->scrollToItem(item);
    }
}

} // namespace bw::people
