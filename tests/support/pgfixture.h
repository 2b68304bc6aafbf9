// A PostgreSQL database of its own for one test. ./test starts a throwaway server
// and exports BRACKWELL_TEST_PGHOST (its socket folder), BRACKWELL_TEST_PGPORT and
// BRACKWELL_TEST_PGUSER. Without them the PostgreSQL tests are skipped, except
// under CI (CI=true), where a missing server fails the test.
//
//   PgFixture pg;
//   if (!pg.ready()) return;           // skipped or failed already
//   QSqlDatabase db = pg.open("x");    // connection to the fresh database
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace bw::test {

struct PgServer {
    QString host; // socket folder or host name
    int port = 5432;
    QString user;
};

class PgFixture {
public:
    // Creates a fresh database with a unique name; dropped again in the destructor.
    PgFixture();
    ~PgFixture();
    PgFixture(const PgFixture&) = delete;
    PgFixture& operator=(const PgFixture&) = delete;

    // False when no server is configured (the test has been skipped, or failed
    // under CI) or the database could not be made (the test has failed).
    bool ready() const { return m_ready; }

    const PgServer& server() const { return m_server; }
    const QString& databaseName() const { return m_database; }

    // Opens a new connection to the fixture's database under the given connection name.
    QSqlDatabase open(const QString& connectionName) const;
    // Opens a connection to the server's maintenance database "postgres".
    QSqlDatabase openMaintenance(const QString& connectionName) const;

    // The configured server, if any.
    static bool configured(PgServer* server = nullptr);
    // Drops a database (used for cleanup by tests that create databases themselves).
    bool dropDatabase(const QString& name) const;

private:
    PgServer m_server;
    QString m_database;
    bool m_ready = false;
    QString m_adminConnection;
};

} // namespace bw::test
