#include "data/keys.h"

#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"

namespace bw {

namespace {
// First half of the advisory lock keys of Brackwell ("BW"); the second half is
// the table's place in the schema.
constexpr int kLockSpace = 0x4257;
} // namespace

int nextKey(const QSqlDatabase& db, const QString& tableName)
{
    const TableDef& t = table(tableName);
    if (t.primaryKey.isEmpty())
        throw AppError(QStringLiteral("Tabelle %1 hat keinen Schlüssel").arg(t.name));
    if (!Transaction::active(db))
        throw AppError(QStringLiteral("Neuer Schlüssel für %1 außerhalb einer Transaktion").arg(t.name));
    if (backendOf(db) == Backend::PostgreSQL) {
        const auto& tables = schemaTables();
        const int index = int(&t - tables.data());
        execute(db, QStringLiteral("SELECT pg_advisory_xact_lock(:space, :object)"),
                {{QStringLiteral("space"), kLockSpace}, {QStringLiteral("object"), index}});
    }
    const QVariant max = scalar(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(t.primaryKey, t.name));
    return max.isNull() ? 1 : max.toInt() + 1;
}

} // namespace bw
