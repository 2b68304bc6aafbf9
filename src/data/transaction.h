// One transaction per user action. A Transaction begins on construction and rolls
// back on destruction unless committed, so any exception undoes the action.
// Transactions nest: an inner one joins the outer; only the outermost commits,
// and an inner one left without commit dooms the outer one too.
// SQLite begins with BEGIN IMMEDIATE, taking the write lock at once: two desks
// then queue at the start instead of failing half-way with "database is locked".
// PostgreSQL runs at read committed; concurrency.h says how the records keep
// other desks' transactions from slipping between a check and a write.
#pragma once

#include "data/sql.h"

#include <QSqlDatabase>

#include <type_traits>

namespace bw {

class Transaction {
public:
    explicit Transaction(const QSqlDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Outermost: commits (throws DbError when that fails, after rolling back).
    // Inner: only marks this level as done.
    void commit();
    // Rolls back now (outermost) or dooms the outer transaction (inner).
    void rollback();

    // Whether a Transaction is open on this connection.
    static bool active(const QSqlDatabase& db);

private:
    void finish(bool commit);

    QSqlDatabase m_db;
    bool m_outermost = false;
    bool m_done = false;
};

// How often inTransaction() runs an action that the server broke off.
constexpr int kTransactionAttempts = 4;

// Runs `work` in one Transaction, commits it and returns what `work` returns.
// When this is the outermost transaction and the server breaks it off because
// it met another desk's (DbError::Kind::Conflict: a deadlock or a serialization
// failure), everything is rolled back and `work` runs again, up to
// kTransactionAttempts times in all; the last failure reaches the caller with
// its German message. Inside an open transaction `work` joins it, and the
// outermost level decides.
template <typename Work>
std::invoke_result_t<Work&> inTransaction(const QSqlDatabase& db, Work&& work)
{
    const bool outermost = !Transaction::active(db);
    for (int attempt = 1;; ++attempt) {
        try {
            Transaction transaction(db);
            if constexpr (std::is_void_v<std::invoke_result_t<Work&>>) {
                work();
                transaction.commit();
                return;
            } else {
                auto result = work();
                transaction.commit();
                return result;
            }
        } catch (const DbError& e) {
            if (!outermost || e.kind() != DbError::Kind::Conflict || attempt == kTransactionAttempts)
                throw;
        }
    }
}

} // namespace bw
