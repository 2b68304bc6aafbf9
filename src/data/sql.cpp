#include "data/sql.h"

#include "data/dbvalue.h"
#include "data/faultinjection.h"
#include "data/transaction.h"

#include <QSqlError>

namespace bw {

namespace {

const QString kConnectionLost = QStringLiteral("Die Verbindung zum Datenbankserver wurde unterbrochen.");

// The PostgreSQL driver closes its connection when the server ends it or it
// breaks off; the other statements then fail without any text.
bool lost(const QSqlDatabase& db)
{
    return db.isValid() && db.driverName() == QLatin1String("QPSQL") && !db.isOpen();
}

DbError lostError(const QSqlDatabase& db)
{
    return DbError(kConnectionLost
                       + (Transaction::active(db)
                              ? QStringLiteral("\rDie Änderung wurde nicht gespeichert. Die Verbindung wird bei der "
                                               "nächsten Aktion neu aufgebaut.")
                              : QStringLiteral("\rSie wird bei der nächsten Aktion neu aufgebaut.")),
                   DbError::Kind::ConnectionLost);
}

[[noreturn]] void fail(const QSqlDatabase& db, const QSqlError& error)
{
    throw dbError(db, error);
}

const QSqlDatabase& reopened(const QSqlDatabase& db)
{
    reopenIfLost(db);
    return db;
}

} // namespace

DbError dbError(const QSqlDatabase& db, const QSqlError& error)
{
    if (lost(db))
        return lostError(db);
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("40P01") || code == QLatin1String("40001"))
        return DbError(QStringLiteral("Ein anderer Arbeitsplatz änderte zur gleichen Zeit dieselben Daten; die Änderung "
                                      "wurde nicht gespeichert. Bitte versuchen Sie es noch einmal."),
                       DbError::Kind::Conflict);
    return DbError(errorText(error));
}

QString errorText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Die Datenbank meldete einen Fehler ohne Beschreibung.");
    return text;
}

void reopenIfLost(const QSqlDatabase& db)
{
    if (!lost(db))
        return;
    if (Transaction::active(db))
        throw lostError(db);
    // A copy of the handle shares the connection: opening it opens the program's.
    QSqlDatabase connection = db;
    if (!connection.open())
        throw DbError(kConnectionLost + QStringLiteral("\rSie konnte nicht wieder aufgebaut werden: ")
                          + errorText(connection.lastError()),
                      DbError::Kind::ConnectionLost);
}

QSqlQuery execute(const QSqlDatabase& db, const QString& sql, const SqlParams& params)
{
    reopenIfLost(db);
    FaultInjection::beforeStatement(db);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (params.isEmpty()) {
        // Without parameters the statement runs directly: the PostgreSQL driver
        // could not prepare statements such as BEGIN or CREATE TABLE.
        if (!q.exec(sql))
            fail(db, q.lastError());
        return q;
    }
    if (!q.prepare(sql))
        fail(db, q.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), toDbValue(it.value()));
    if (!q.exec())
        fail(db, q.lastError());
    return q;
}

PreparedStatement::PreparedStatement(const QSqlDatabase& db, const QString& sql)
    : m_db(reopened(db)), m_query(m_db)
{
    m_query.setForwardOnly(true);
    if (!m_query.prepare(sql))
        fail(m_db, m_query.lastError());
}

void PreparedStatement::bind(const QString& name, const QVariant& value)
{
    m_query.bindValue(QLatin1Char(':') + name, toDbValue(value));
}

void PreparedStatement::bind(const SqlParams& params)
{
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        bind(it.key(), it.value());
}

QSqlQuery& PreparedStatement::exec()
{
    FaultInjection::beforeStatement(m_db);
    if (!m_query.exec())
        fail(m_db, m_query.lastError());
    return m_query;
}

QVariant scalar(const QSqlDatabase& db, const QString& sql, const SqlParams& params)
{
    QSqlQuery q = execute(db, sql, params);
    return q.next() ? q.value(0) : QVariant();
}

} // namespace bw
