#include "data/concurrency.h"

#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"

namespace bw {

namespace {

// First half of the advisory lock keys of Brackwell ("BW"); the second half is
// the table's place in the schema.
constexpr int kLockSpace = 0x4257;

void requireTransaction(const QSqlDatabase& db, const TableDef& t)
{
    if (!Transaction::active(db))
        throw AppError(QStringLiteral("Sperre auf %1 außerhalb einer Transaktion").arg(t.name));
}

} // namespace

void lockTable(const QSqlDatabase& db, const QString& tableName)
{
    const TableDef& t = table(tableName);
    requireTransaction(db, t);
    if (backendOf(db) != Backend::PostgreSQL)
        return;
    const auto& tables = schemaTables();
    execute(db, QStringLiteral("SELECT pg_advisory_xact_lock(:space, :object)"),
            {{QStringLiteral("space"), kLockSpace}, {QStringLiteral("object"), int(&t - tables.data())}});
}

bool lockRow(const QSqlDatabase& db, const QString& tableName, int key, RowLock lock)
{
    const TableDef& t = table(tableName);
    if (t.primaryKey.isEmpty())
        throw AppError(QStringLiteral("Tabelle %1 hat keinen Schlüssel").arg(t.name));
    requireTransaction(db, t);
    QString sql = QStringLiteral("SELECT 1 FROM %1 WHERE %2=:key").arg(t.name, t.primaryKey);
    if (backendOf(db) == Backend::PostgreSQL)
        sql += lock == RowLock::Update ? QStringLiteral(" FOR UPDATE") : QStringLiteral(" FOR SHARE");
    return !scalar(db, sql, {{QStringLiteral("key"), key}}).isNull();
}

} // namespace bw
