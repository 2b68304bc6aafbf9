#include "data/sql.h"

#include "data/dbvalue.h"
#include "data/faultinjection.h"

#include <QSqlError>

namespace bw {

namespace {

[[noreturn]] void fail(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    throw DbError(text);
}

} // namespace

QSqlQuery execute(const QSqlDatabase& db, const QString& sql, const SqlParams& params)
{
    FaultInjection::beforeStatement(db);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (params.isEmpty()) {
        // Without parameters the statement runs directly: the PostgreSQL driver
        // could not prepare statements such as BEGIN or CREATE TABLE.
        if (!q.exec(sql))
            fail(q.lastError());
        return q;
    }
    if (!q.prepare(sql))
        fail(q.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), toDbValue(it.value()));
    if (!q.exec())
        fail(q.lastError());
    return q;
}

PreparedStatement::PreparedStatement(const QSqlDatabase& db, const QString& sql) : m_db(db), m_query(db)
{
    m_query.setForwardOnly(true);
    if (!m_query.prepare(sql))
        fail(m_query.lastError());
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
        fail(m_query.lastError());
    return m_query;
}

QVariant scalar(const QSqlDatabase& db, const QString& sql, const SqlParams& params)
{
    QSqlQuery q = execute(db, sql, params);
    return q.next() ? q.value(0) : QVariant();
}

} // namespace bw
