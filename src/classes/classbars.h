// The class items of the navigation bars "Turnierklassen" and "Spielpläne": each
// class shows as its name followed by its kind (" (Einzel)" ...). The bars
// themselves belong to the main window; the class page reaches them through
// this interface, which the main window implements over its bars.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace bw {

class ClassItemBar {
public:
    virtual ~ClassItemBar() = default;
    virtual int itemCount() const = 0;
    virtual QString itemCaption(int index) const = 0;
    virtual void setItemCaption(int index, const QString& caption) = 0;
    // Appends an item with the class picture.
    virtual void addClassItem(const QString& caption) = 0;
    virtual void removeItem(int index) = 0;
};

// Appends the classes of the tournament to "Turnierklassen" and those with a
// match plan to "Spielpläne", in the database's row order.
void XPBarItemsAdd(const QSqlDatabase& db, int tid, ClassItemBar& classes, ClassItemBar& plans);
// Appends an item with this caption unless the bar has one already.
void addItemOnce(ClassItemBar& bar, const QString& caption);
// Removes the first item with exactly this caption; nothing when there is none.
void XPBarloeschen(ClassItemBar& bar, const QString& caption);
// Gives every item captioned `from` the caption `to`.
void retitleItems(ClassItemBar& bar, const QString& from, const QString& to);

} // namespace bw
