#include "classes/classbars.h"

#include "data/classrecords.h"

namespace bw {

void XPBarItemsAdd(const QSqlDatabase& db, int tid, ClassItemBar& classes, ClassItemBar& plans)
{
    for (const ClassEntry& c : listClasses(db, tid))
        classes.addClassItem(classCaption(c.name, c.kind));
    for (const ClassEntry& c : listClassesWithPlan(db, tid))
        plans.addClassItem(classCaption(c.name, c.kind));
}

void addItemOnce(ClassItemBar& bar, const QString& caption)
{
    for (int i = 0; i < bar.itemCount(); ++i) {
        if (bar.itemCaption(i) == caption)
            return;
    }
    bar.addClassItem(caption);
}

void XPBarloeschen(ClassItemBar& bar, const QString& caption)
{
    for (int i = 0; i < bar.itemCount(); ++i) {
        if (bar.itemCaption(i) == caption) {
            bar.removeItem(i);
            return;
        }
    }
}

void retitleItems(ClassItemBar& bar, const QString& from, const QString& to)
{
    for (int i = 0; i < bar.itemCount(); ++i) {
        if (bar.itemCaption(i) == from)
            bar.setItemCaption(i, to);
    }
}

} // namespace bw
