#include "data/ageclasses.h"

#include "data/concurrency.h"
#include "data/dbvalue.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QSqlRecord>

namespace bw {

namespace {

bool exists(const QSqlDatabase& db, int tid, const QString& name)
{
    return !scalar(db, QStringLiteral("SELECT name FROM Altersklasse WHERE TID=:id AND name=:k"),
                   {{QStringLiteral("id"), tid}, {QStringLiteral("k"), name}})
                .isNull();
}

} // namespace

QStringList ageClassNames(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT name FROM Altersklasse WHERE TID=:id"), {{QStringLiteral("id"), tid}});
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

std::optional<AgeClass> readAgeClass(const QSqlDatabase& db, int tid, const QString& name)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT name,von,bis,aelter,juenger FROM Altersklasse WHERE TID=:id AND name=:k"),
                          {{QStringLiteral("id"), tid}, {QStringLiteral("k"), name}});
    if (!q.next())
        return std::nullopt;
    return AgeClass{q.value(0).toString(), readDate(q.value(1)), readDate(q.value(2)), q.value(3).toInt() != 0,
                    q.value(4).toInt() != 0};
}

QString ageClassNameProblem(const QSqlDatabase& db, int tid, const QString& selected, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("Geben Sie eine Bezeichnung für die Altersklasse ein");
    if (trimmed == kNoAgeLimit)
        return QStringLiteral("Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden");
    const bool changing = !selected.isEmpty() && exists(db, tid, selected);
    if (!(changing && trimmed == selected) && exists(db, tid, trimmed))
        return QStringLiteral("Eine Altersklasse mit diesem Namen existiert bereits");
    return QString();
}

void saveAgeClass(const QSqlDatabase& db, int tid, const QString& selected, const AgeClass& ageClass)
{
    inTransaction(db, [&] {
        // The name is checked under the table's lock, so two desks cannot both
        // find a name free and store it twice.
        lockTable(db, QStringLiteral("Altersklasse"));
        const QString problem = ageClassNameProblem(db, tid, selected, ageClass.name);
        if (!problem.isEmpty())
            throw AppError(problem);
        const QString name = ageClass.name.trimmed();
        SqlParams p{{QStringLiteral("id"), tid},
                    {QStringLiteral("name"), name},
                    {QStringLiteral("von"), ageClass.von},
                    {QStringLiteral("bis"), ageClass.bis},
                    {QStringLiteral("aelter"), ageClass.aelter},
                    {QStringLiteral("juenger"), ageClass.juenger}};
        if (!selected.isEmpty() && exists(db, tid, selected)) {
            p.insert(QStringLiteral("k"), selected);
            execute(db,
                    QStringLiteral("UPDATE Altersklasse SET name=:name,von=:von,bis=:bis,aelter=:aelter,juenger=:juenger "
                                   "WHERE TID=:id AND name=:k"),
                    p);
            if (name != selected) {
                execute(db,
                        QStringLiteral("UPDATE Turnierklassen SET altersklasseID=:name WHERE TID=:id AND altersklasseID=:k"),
                        {{QStringLiteral("id"), tid}, {QStringLiteral("name"), name}, {QStringLiteral("k"), selected}});
            }
        } else {
            p.insert(QStringLiteral("tid"), tid);
            p.remove(QStringLiteral("id"));
            execute(db, positionalInsert(QStringLiteral("Altersklasse")), p);
        }
    });
}

void deleteAgeClass(const QSqlDatabase& db, int tid, const QString& name)
{
    execute(db, QStringLiteral("DELETE FROM Altersklasse WHERE TID=:id AND name=:k"),
            {{QStringLiteral("id"), tid}, {QStringLiteral("k"), name}});
}

} // namespace bw
