// New keys (TID, KID, SID, SCHIRIID, MID): the largest key of the whole table plus
// one, 1 for an empty table. The key is taken inside the caller's transaction
// under a lock that lasts until it ends (SQLite: the write lock of BEGIN
// IMMEDIATE; PostgreSQL: lockTable() of concurrency.h), so two
// desks never get the same key; the primary key is the backstop.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace bw {

// The next key of a table with a primary key. Must run inside a Transaction on
// the same connection, which then inserts the row; throws AppError otherwise.
int nextKey(const QSqlDatabase& db, const QString& table);

} // namespace bw
