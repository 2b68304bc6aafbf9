// Small helpers the player and referee pages share.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QListWidget>
#include <QString>

namespace bw::people {

// The text colour of a present (checked-in) person in the lists: the classic
// desktop background colour.
inline const QColor kPresentColour(0, 128, 128);

// An editable combo whose typed text is kept as typed.
QComboBox* editableCombo(QWidget* parent, const QString& name);
// Adds the text to the combo's items unless it is empty or there already.
void learnValue(QComboBox* combo, const QString& text);
// The list's entry carrying this key in Qt::UserRole; nullptr when none.
QListWidgetItem* entryWithKey(QListWidget* list, int key);
// Selects exactly the entry (none for nullptr) and scrolls to it.
void selectOnly(QListWidget* list, QListWidgetItem* item);

} // namespace bw::people
