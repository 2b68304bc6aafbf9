// Several desks on one server: how the records keep another desk's transaction
// from slipping between a check and the write it allows.
//
// - SQLite lets one desk write at a time (BEGIN IMMEDIATE, transaction.h), so a
//   check inside the writing transaction holds until it commits; the locks
//   here only read there.
// - PostgreSQL runs at read committed, so:
//   * a row that is changed from a page is locked first (RowLock::Update) and
//     its stored values are compared with those the page loaded; a row gone or
//     changed meanwhile is a StaleRecord and nothing is written;
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

namespace bw {

// The record a page loaded is no longer stored as it was: another desk deleted
// or changed it. Nothing was written; the page shows the message and loads anew.
class StaleRecord : public AppError {
public:
    enum class Reason { Gone, Changed };

    // `record` names the record with its article: "Der Spieler", "Die Klasse".
    static StaleRecord gone(const QString& record);
    static StaleRecord changed(const QString& record);

    Reason reason() const { return m_reason; }

private:
    StaleRecord(Reason reason, QString message) : AppError(std::move(message)), m_reason(reason) {}
    Reason m_reason;
};

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

} // namespace bw
