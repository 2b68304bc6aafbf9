#include "data/keys.h"

#include "data/concurrency.h"
#include "data/schema.h"
#include "data/sql.h"

namespace bw {

int nextKey(const QSqlDatabase& db, const QString& tableName)
{
    const TableDef& t = table(tableName);
    if (t.primaryKey.isEmpty())
        throw AppError(QStringLiteral("Tabelle %1 hat keinen Schlüssel").arg(t.name));
    lockTable(db, t.name);
    const QVariant max = scalar(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(t.primaryKey, t.name));
    return max.isNull() ? 1 : max.toInt() + 1;
}

} // namespace bw
