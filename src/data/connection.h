// Opening connections to the two kinds of tournament database: an SQLite file by
// path, or a catalog on a PostgreSQL server. Credentials for the server come from
// the environment (PGUSER, PGPASSWORD) or ~/.pgpass, read by libpq itself; they
// are never part of a command line.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <utility>

namespace bw {

constexpr int kDefaultServerPort = 5432;

// How long a desk waits on the server: for a connection (libpq waits at least
// 2 seconds, whatever is asked), and in the structure upgrade for the locks of
// other desks. Tests shorten both so that a failing wait costs little time.
struct ServerWaits {
    int connectSeconds = 10;
    int lockMilliseconds = 10000;
};

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
    // As parse(), completed from the per-user settings file (serverSettingsFile()):
    // its "port" applies when the name gives none, its "user" always.
    static ServerAddress forServer(const QString& serverName);
};

// The per-user settings of the database server: an ini file in the user's
// configuration folder ("~/.config/Brackwell/datenbankserver.ini") with the keys
// "user" and "port" in the group [Server]. Passwords belong in ~/.pgpass.
QString serverSettingsFile();

// Where a tournament database lies: the SQLite file or the server.
struct DatabaseLocation {
    bool accessDB = false; // true: the SQLite file dbPfad; false: the server serverName
    QString dbPfad;
    QString serverName;
};

// Opens a tournament database and proves that it is one of its kind: an SQLite
// file (never created when missing; a file that is no SQLite database, or that
// the program could not write because it or its folder is read-only, fails
// here, not at the first query or save) or the catalog `catalog` on the
// server. The structure is not checked. Throws DbError with the reason in
// German for the SQLite file; nothing stays open on failure.
QSqlDatabase openDatabase(const DatabaseLocation& source, const QString& catalog, const QString& connectionName,
                          const ServerWaits& waits = {});

// A connection name no other connection uses.
QString uniqueConnectionName(const QString& prefix);

// Opens a PostgreSQL database; throws DbError with the driver's text on failure
// (the half-made connection is removed again).
QSqlDatabase openPostgres(const ServerAddress& server, const QString& database, const QString& connectionName,
                          const ServerWaits& waits = {});

// Opens an SQLite file. Without `create` a missing file is an error and is never
// made; with it the file is created. Throws DbError.
QSqlDatabase openSqlite(const QString& path, const QString& connectionName, bool create = false);

// Opens an SQLite file for reading only (mode=ro): nothing this connection does
// can change the file, and a read-only file or folder is no obstacle. The file
// must exist and be an SQLite database (proved by a first query); its structure
// is not checked. Throws DbError with the reason in German; nothing stays open
// on failure.
QSqlDatabase openSqliteReadOnly(const QString& path, const QString& connectionName);

// Closes a connection and forgets its name.
void closeConnection(const QString& connectionName);

// Owns a connection: closed and removed when it goes out of scope. Movable, so a
// connection can be opened first and handed over once it proved good.
class ScopedConnection {
public:
    ScopedConnection() = default;
    explicit ScopedConnection(const QSqlDatabase& db) : m_name(db.connectionName()) {}
    ~ScopedConnection() { reset(); }
    ScopedConnection(ScopedConnection&& other) noexcept : m_name(std::exchange(other.m_name, QString())) {}
    ScopedConnection& operator=(ScopedConnection&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_name = std::exchange(other.m_name, QString());
        }
        return *this;
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    bool isNull() const { return m_name.isEmpty(); }
    QSqlDatabase db() const { return m_name.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(m_name, false); }
    // Closes the connection now.
    void reset()
    {
        if (!m_name.isEmpty())
            closeConnection(std::exchange(m_name, QString()));
    }

private:
    QString m_name;
};

} // namespace bw
