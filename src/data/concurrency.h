// Several desks on one server: how the records keep another desk's transaction
// from slipping between a check and the write it allows.
//
// - SQLite lets one desk write at a time (BEGIN IMMEDIATE, transaction.h), so a
//   check inside the writing transaction holds until it commits; the locks
//   here only read there.
// - PostgreSQL runs at read committed, so:
//   * a row that is changed from a page is locked first (RowLock::Update) and
//     its stored values are compared with those the page loaded
//     (lockAsLoaded); a row gone or
//     changed meanwhile is a StaleRecord (platform/apperror.h) and nothing is
//     written;
//   * a row that a new row refers to (the class of a class entry, the partner
//     of a pair row, the tournament of a class) is locked for share
//     (RowLock::Share): a delete then waits for the writer and takes the new
//     rows with it, or the writer waits for the delete and finds the row gone;
//   * what must be unique (new keys, class and age-class names) is checked
//     under lockTable(), an advisory lock per table held to the end of the
//     transaction.
// - Locks are taken in one order: table locks, then rows; rows of one table
//   in key order. What still meets in a deadlock is run again by
//   inTransaction() (transaction.h).
#pragma once

#include "platform/apperror.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

namespace bw {

// Serialises the writers of a table that check something over all its rows
// (a new key, a unique name) until the transaction ends. Must run inside a
// Transaction; throws AppError otherwise.
void lockTable(const QSqlDatabase& db, const QString& table);

enum class RowLock {
    Share,  // the row is referred to by what the transaction writes
    Update, // the transaction changes the row
};
// Locks the row of `table` whose primary key is `key` until the transaction
// ends; false when there is no such row. Must run inside a Transaction.
bool lockRow(const QSqlDatabase& db, const QString& table, int key, RowLock lock);

// The row of a record a page loaded, locked for the change and read anew
// (`read(db, key)` gives an optional) to be compared with `loaded`
// (`same(stored, loaded)`). Throws StaleRecord naming `record` ("Der Spieler")
// when it is gone or differs; returns it as stored.
template <typename Data, typename Read, typename Same = std::equal_to<>>
Data lockAsLoaded(const QSqlDatabase& db, const QString& table, int key, const QString& record, const Data& loaded,
                  Read read, Same same = {})
{
    if (!lockRow(db, table, key, RowLock::Update))
        throw StaleRecord::gone(record);
    const std::optional<Data> stored = read(db, key);
    if (!stored || !same(*stored, loaded))
        throw StaleRecord::changed(record);
    return *stored;
}

} // namespace bw
