// Fault injection for atomicity tests: makes the Nth statement that execute()
// runs on a connection fail with a real database error (it runs a statement on a
// table that does not exist, so PostgreSQL also aborts the transaction, as a real
// failure would). A test runs a user action with statement N failing for
// N = 1, 2, ... until the action completes and checks after each failure that
// the database is exactly as before.
#pragma once

#include <QSqlDatabase>

namespace bw {

class FaultInjection {
public:
    // Statement n (from 1, counted from now) on this connection fails; 0 clears.
    static void failStatement(const QSqlDatabase& db, int n);
    static void clear(const QSqlDatabase& db) { failStatement(db, 0); }
    // Whether the armed failure has happened since failStatement().
    static bool fired(const QSqlDatabase& db);

    // Called by execute() before each statement; when its turn has come, runs
    // the failing statement instead and throws its DbError.
    static void beforeStatement(const QSqlDatabase& db);
};

} // namespace bw
