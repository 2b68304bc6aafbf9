// One transaction per user action. A Transaction begins on construction and rolls
// back on destruction unless committed, so any exception undoes the action.
// Transactions nest: an inner one joins the outer; only the outermost commits,
// and an inner one left without commit dooms the outer one too.
// SQLite begins with BEGIN IMMEDIATE, taking the write lock at once: two desks
// then queue at the start instead of failing half-way with "database is locked".
#pragma once

#include <QSqlDatabase>

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

} // namespace bw
