// A fresh tournament database for one test, prepared from the schema in code:
// an SQLite file in a temporary folder, or a database of its own on the
// PostgreSQL test server (through PgFixture; skipped without one, failed under CI).
//
//   TestDatabase tdb(Backend::SQLite);      // structure version 6, KO_System, version row
//   if (!tdb.ready()) return;
//   QSqlDatabase db = tdb.db();
//
// Data-layer tests run on both backends with addBackendColumn() and
// QFETCH(bw::Backend, backend).
#pragma once

#include "data/schema.h"
#include "support/pgfixture.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(bw::Backend)

namespace bw::test {

class TestDatabase {
public:
    enum class Content { Prepared, Empty };

    explicit TestDatabase(Backend backend, int version = kCurrentStructureVersion,
                          Content content = Content::Prepared);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // False when the database could not be made (the test has failed) or there is
    // no PostgreSQL server (the test has been skipped).
    bool ready() const { return m_ready; }
    Backend backend() const { return m_backend; }

    // The connection opened with the fixture.
    QSqlDatabase db() const;
    // Another, independent connection to the same database (closed with the fixture).
    QSqlDatabase open();
    // A connection of the given name that the caller closes, e.g. for a desk
    // on another thread.
    QSqlDatabase openDesk(const QString& name) const;

    // The SQLite file (empty for PostgreSQL).
    QString sqlitePath() const { return m_sqlitePath; }
    // The PostgreSQL fixture (null for SQLite).
    const PgFixture* pg() const { return m_pg.get(); }

private:
    Backend m_backend;
    bool m_ready = false;
    QTemporaryDir m_dir;
    QString m_sqlitePath;
    std::unique_ptr<PgFixture> m_pg;
    QStringList m_connections;
};

// Inserts one row into a table: every column gets a plain value of its type
// (integer 1, text "x", yes/no 0, date 2026-05-01 10:00:00, number 1.5), then the
// given values by column name (case-insensitive) replace them.
void insertRow(const QSqlDatabase& db, const QString& table, const QVariantMap& values);

// The rows of a query as text, one line per row, its values joined by
// `separator`, a null value shown as `null`.
QStringList queryRows(const QSqlDatabase& db, const QString& sql, const QString& null = QStringLiteral("NULL"),
                      QChar separator = QLatin1Char('|'));

// Every row of the given tables (all tables when empty) as text, sorted, one line
// per row prefixed with the table name: equal dumps mean equal contents.
QStringList dumpTables(const QSqlDatabase& db, const QStringList& tables = {});

// The atomicity check of a user action: runs `action` with statement N on `db`
// failing (FaultInjection), for N = 1, 2, ... until the action completes without
// the failure striking. After every failed run the action must have thrown and
// the database must be exactly as before: the rows of `tables` (all when empty),
// the columns of every table and, on SQLite, PRAGMA integrity_check. `beforeRun`
// (optional) is called before every run, e.g. to script the boxes it shows.
// Returns an empty string when all held, else what went wrong first; `runs`
// receives the number of runs.
QString checkAtomic(const QSqlDatabase& db, const std::function<void()>& action, const QStringList& tables = {},
                    const std::function<void(int)>& beforeRun = {}, int* runs = nullptr);

// Adds the column "backend" and one row per backend ("sqlite", "postgresql"),
// each row name prefixed with `prefix` when given.
void addBackendColumn();
void addBackendRows(const QString& prefix = {});

} // namespace bw::test
