// Small helpers the player and referee pages share.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStyledItemDelegate>

namespace bw::people {

// The text colour of a present (checked-in) person in the lists: the classic
// desktop background colour.
inline const QColor kPresentColour(0, 128, 128);

// An entry of a sorted list: the lists sort as German readers expect
// (case-insensitive, umlauts beside their vowels), not by code point.
class SortedEntry : public QListWidgetItem {
public:
    explicit SortedEntry(const QString& text) : QListWidgetItem(text) {}
    bool operator<(const QListWidgetItem& other) const override;
};
// Adds a sorted entry with the text to the list and returns it.
QListWidgetItem* addEntry(QListWidget* list, const QString& text);

// Draws the entries of a person list: a selected entry on the highlight
// colour in white, any other on white in the entry's own text colour (black
// unless set); the text 5 pixels from the left edge. A row height above 0
// fixes the height of every entry.
class PersonEntryDelegate : public QStyledItemDelegate {
public:
    explicit PersonEntryDelegate(QObject* parent, int rowHeight = 0)
        : QStyledItemDelegate(parent), m_rowHeight(rowHeight)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_rowHeight;
};

// An editable combo whose typed text is kept as typed.
QComboBox* editableCombo(QWidget* parent, const QString& name);
// Adds the text to the combo's items unless it is empty or there already.
void learnValue(QComboBox* combo, const QString& text);
// The list's entry carrying this key in Qt::UserRole; nullptr when none.
QListWidgetItem* entryWithKey(QListWidget* list, int key);
// Selects exactly the entry (none for nullptr) and scrolls to it.
void selectOnly(QListWidget* list, QListWidgetItem* item);

} // namespace bw::people
