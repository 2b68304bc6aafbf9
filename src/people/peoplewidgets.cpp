#include "people/peoplewidgets.h"

namespace bw::people {

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
