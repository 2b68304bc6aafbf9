// The data module Tdb_procedures (one instance, db_procedures, lives for the whole
// run): it owns the program's one database connection and the choice of database
// (the SQLite file or the PostgreSQL server), connects, checks the structure
// version and upgrades an older structure after asking.
//
// Connecting never switches the program half-way: a candidate connection is opened
// and checked first and becomes the program's connection only when the caller
// adopts it, so a dialog that merely probes a database leaves the open tournament
// where it is. db_verbinden() is open-then-adopt in one step, and keeps the
// previous connection when opening fails.
//
// Reading and writing go through query objects of their own (query(), exec()),
// which hold their result, so nested readers cannot clobber each other.
#pragma once

#include "data/connection.h"
#include "data/sql.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace bw {

class Prompter;

class Tdb_procedures : public QObject {
    Q_OBJECT

public:
    explicit Tdb_procedures(Prompter& prompter, QObject* parent = nullptr);
    ~Tdb_procedures() override;

    // The choice of database, set by the create/open dialogs and the server dialog
    // before they connect. accessDB: the SQLite file dbPfad; otherwise the
    // server serverName (a host name, optionally "host:port"; this computer by
    // default).
    bool accessDB = false;
    QString dbPfad;
    QString serverName;
    // The number stored for TRUE: 1 on both backends.
    int dbWahrWert = 1;
    // How long connecting and the upgrade wait on the server.
    ServerWaits waits;

    // The current choice as a source.
    DatabaseLocation source() const { return {accessDB, dbPfad, serverName}; }

    // The program's one connection (not open while no database is).
    QSqlDatabase ADOConnection1() const { return m_connection.db(); }
    bool isConnected() const;

    // Opens the chosen database (the catalog `name` on the server; the file ignores
    // it) and makes it the program's connection. On failure the previous connection
    // stays and the DbError propagates.
    void db_verbinden(const QString& name);

    // Open-then-swap: a connection to `source`, opened and proved (see
    // openDatabase) but not yet the program's. Also serves for reading another
    // tournament database beside the open one.
    ScopedConnection openCandidate(const DatabaseLocation& source, const QString& name) const;
    // Makes a candidate the program's connection (closing the previous one) and
    // takes over its source as the choice.
    void adopt(ScopedConnection candidate, const DatabaseLocation& source);
    // Closes the program's connection.
    void close();

    // Checks the structure version of the program's connection (or of a candidate)
    // and, on the user's confirmation, upgrades it. Throws AppError
    // "Datenbank nicht im richtigen Format." when the user declines or the upgrade
    // fails, AppError kWrongDatabase for a version above 6 or without version row,
    // and lets a read error (e.g. no table Einstellungen) pass.
    void richtige_db();
    void richtige_db(const QSqlDatabase& db);
    // The upgrade from the stored version (read again inside its transaction)
    // with its report box; on failure the warning box, then throws.
    void db_aktualisieren(const QSqlDatabase& db);

    // This computer's name as the network knows it; empty when unknown.
    static QString ComputerName();

    // A statement on the program's connection (see execute()).
    QSqlQuery query(const QString& sql, const SqlParams& params = {}) const;
    void exec(const QString& sql, const SqlParams& params = {}) const;

private:
    Prompter& m_prompter;
    ScopedConnection m_connection;
};

} // namespace bw
