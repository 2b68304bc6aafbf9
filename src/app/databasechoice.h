// Which tournament database the program works on, and the one connection it
// works through. Dialogs that only look at a database (to list its tournaments)
// open a connection of their own; the program's connection changes only when a
// tournament is created or opened, so the open tournament never writes into a
// database the user merely looked at.
#pragma once

#include "data/connection.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>

namespace bw {

class Prompter;
struct AppContext;

// The file filter of the dialogs that choose a database file.
inline const QString kDatabaseFileFilter = QStringLiteral("SQLite-Datenbank (*.sqlite *.db)");

// An SQLite file by path, or the catalog "turnier_db" on a server.
struct DatabaseSource {
    bool file = false;
    QString path;   // the SQLite file
    QString server; // host name, "host:port" or a socket folder
    QString catalog = kServerCatalog;

    static DatabaseSource sqlite(const QString& path) { return {true, path, QString(), kServerCatalog}; }
    static DatabaseSource postgres(const QString& server, const QString& catalog = kServerCatalog)
    {
        return {false, QString(), server, catalog};
    }
    // The source the context names (accessDB, dbPfad, serverName).
    static DatabaseSource fromContext(const AppContext& context);
};

using DatabaseConnection = std::unique_ptr<ScopedConnection>;

// Opens a connection of its own to the source; throws DbError with the
// database's text (a missing file is never created; a file that is not an SQLite
// database fails here, not on first use).
DatabaseConnection openDatabase(const DatabaseSource& source);

// Checks the structure version of a database before anything is read from it.
// Throws AppError "Datenbank nicht im richtigen Format." for a database of
// another structure; errors reading the version row propagate.
void checkStructure(const QSqlDatabase& db, Prompter& prompter);

// The program's connection: none at start, replaced when a tournament is
// created or opened, closed at the end of the run.
class ProgramDatabase {
public:
    bool isOpen() const { return m_connection != nullptr; }
    // Invalid while none is open.
    QSqlDatabase db() const;
    // Takes over a checked connection; the previous one is closed.
    void adopt(DatabaseConnection connection);
    void close() { m_connection.reset(); }

private:
    DatabaseConnection m_connection;
};

} // namespace bw
