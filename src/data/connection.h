// Opening connections to the two kinds of tournament database: an SQLite file by
// path, or a catalog on a PostgreSQL server. Credentials for the server come from
// the environment (PGUSER, PGPASSWORD) or ~/.pgpass, read by libpq itself; they
// are never part of a command line.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace bw {

constexpr int kDefaultServerPort = 5432;
constexpr int kConnectTimeoutSeconds = 10;
// The catalog of the tournament database on a server.
inline const QString kServerCatalog = QStringLiteral("turnier_db");
// The default SQLite database in the data folder.
inline const QString kDefaultDatabaseFile = QStringLiteral("turnier_db.sqlite");

struct ServerAddress {
    QString host; // host name, address or socket folder
    int port = kDefaultServerPort;
    QString user; // empty: libpq's default (PGUSER or the login name)

    // "host" or "host:port"; the host may also be a socket folder ("/run/postgresql").
    static ServerAddress parse(const QString& serverName);
};

// A connection name no other connection uses.
QString uniqueConnectionName(const QString& prefix);

// Opens a PostgreSQL database; throws DbError with the driver's text on failure
// (the half-made connection is removed again).
QSqlDatabase openPostgres(const ServerAddress& server, const QString& database, const QString& connectionName);

// Opens an SQLite file. Without `create` a missing file is an error and is never
// made; with it the file is created. Throws DbError.
QSqlDatabase openSqlite(const QString& path, const QString& connectionName, bool create = false);

// Closes a connection and forgets its name.
void closeConnection(const QString& connectionName);

// Owns a connection: closed and removed when it goes out of scope.
class ScopedConnection {
public:
    explicit ScopedConnection(QSqlDatabase db) : m_name(db.connectionName()) {}
    ~ScopedConnection() { closeConnection(m_name); }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

} // namespace bw
