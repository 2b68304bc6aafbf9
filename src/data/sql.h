// Running statements: every statement of the data layer goes through execute(),
// or through a PreparedStatement when one statement runs for many rows; both bind
// named parameters (never splice values into the text), convert dates and
// booleans to the stored forms (dbvalue.h) and turn a failure into a DbError.
//
// A DbError carries the database's own text, except for the failures a user
// can act on, which get a German message of their own: the connection to the
// server broke off, or the server broke the transaction off because it met
// another desk's (a deadlock or a serialization failure; inTransaction() in
// transaction.h runs the action again then).
//
// A server connection that broke off (the PostgreSQL driver closes it) is
// opened again before the next statement that runs outside a transaction, once
// per statement; inside a transaction nothing reopens it, so an action is
// never continued on a new connection after half of it was lost.
#pragma once

#include "platform/apperror.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

namespace bw {

// A failed statement or connection.
class DbError : public AppError {
public:
    enum class Kind {
        Other,          // the database's own text
        Conflict,       // deadlock or serialization failure with another desk
        ConnectionLost, // the connection to the server broke off
    };
    explicit DbError(QString message, Kind kind = Kind::Other) : AppError(std::move(message)), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// The database's text of a failure, else the driver's.
QString errorText(const QSqlError& error);

// The DbError of a failure that the driver reported on this connection.
DbError dbError(const QSqlDatabase& db, const QSqlError& error);

// Opens a server connection again that broke off (see above). Inside a
// transaction it throws the DbError of the lost connection instead.
void reopenIfLost(const QSqlDatabase& db);

// A statement text, a column or parameter name, or any other literal as a
// QString: s("SELECT KID FROM Turnierklassen WHERE TID=:tid"). The literal is
// UTF-8 like the source files.
inline QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// Parameters by name without the colon: {{"tid", 3}} binds ":tid".
using SqlParams = QVariantMap;

// Runs one statement and returns the positioned-before-first query. Throws DbError.
QSqlQuery execute(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {});

// The first column of the first row, or a null QVariant when there is no row.
QVariant scalar(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {});

// One statement prepared once and run for many rows, for the bulk writers: the
// database parses and plans it once instead of once per row (execute() prepares
// anew on every call). A bound value stays bound for later runs until it is set
// again, so values that are the same for every row are bound once.
//
// On PostgreSQL the server keeps the statement until this object is destroyed.
// Make it before the Transaction it runs in: when a failure unwinds both, the
// transaction then rolls back first and the server can drop the statement
// (an aborted transaction refuses to).
class PreparedStatement {
public:
    PreparedStatement(const QSqlDatabase& db, const QString& sql); // throws DbError
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    // Binds ":name" (given without the colon).
    void bind(const QString& name, const QVariant& value);
    void bind(const SqlParams& params);

    // Runs the statement with the values bound; returns the query positioned
    // before the first row. Throws DbError.
    QSqlQuery& exec();
    QSqlQuery& exec(const SqlParams& params)
    {
        bind(params);
        return exec();
    }

    // Rows changed by the last run of an UPDATE, INSERT or DELETE.
    int rowsAffected() const { return m_query.numRowsAffected(); }

private:
    QSqlDatabase m_db;
    QSqlQuery m_query;
};

} // namespace bw
