#include "data/transaction.h"

#include "data/schema.h"
#include "data/sql.h"

#include <QHash>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>

namespace bw {

namespace {

struct State {
    int depth = 0;
    bool doomed = false;
};

// Open transactions by connection name. Connections may live on other threads
// (tests race two desks), hence the lock.
QMutex g_lock;
QHash<QString, State> g_states;

void run(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw dbError(db, q.lastError());
}

// A connection that broke off has no transaction left to roll back.
void rollBack(const QSqlDatabase& db)
{
    if (db.isOpen())
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
}

} // namespace

Transaction::Transaction(const QSqlDatabase& db) : m_db(db)
{
    // Before an action begins is the one place where a lost connection may be
    // opened again: nothing of the action has run on the old one. Inside an
    // open transaction this throws instead.
    reopenIfLost(db);
    {
        QMutexLocker lock(&g_lock);
        State& state = g_states[db.connectionName()];
        if (state.depth++ > 0)
            return;
        state.doomed = false;
        m_outermost = true;
    }
    try {
        run(db, backendOf(db) == Backend::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    } catch (...) {
        QMutexLocker lock(&g_lock);
        g_states.remove(db.connectionName());
        throw;
    }
}

Transaction::~Transaction()
{
    if (!m_done)
        finish(false);
}

bool Transaction::active(const QSqlDatabase& db)
{
    QMutexLocker lock(&g_lock);
    return g_states.value(db.connectionName()).depth > 0;
}

void Transaction::commit()
{
    finish(true);
}

void Transaction::rollback()
{
    finish(false);
}

void Transaction::finish(bool commit)
{
    if (m_done)
        return;
    m_done = true;
    bool doomed = false;
    {
        QMutexLocker lock(&g_lock);
        State& state = g_states[m_db.connectionName()];
        if (!commit)
            state.doomed = true;
        doomed = state.doomed;
        if (!m_outermost) {
            --state.depth;
            return;
        }
        g_states.remove(m_db.connectionName());
    }
    if (commit && !doomed) {
        try {
            run(m_db, QStringLiteral("COMMIT"));
            return;
        } catch (const DbError& e) {
            rollBack(m_db);
            // The server may have committed before the connection broke off.
            if (e.kind() == DbError::Kind::ConnectionLost)
                throw DbError(QStringLiteral("Die Verbindung zum Datenbankserver wurde beim Speichern unterbrochen; ob "
                                             "die Änderung gespeichert wurde, ist nicht sicher. Die Verbindung wird bei "
                                             "der nächsten Aktion neu aufgebaut."),
                              DbError::Kind::ConnectionLost);
            throw;
        }
    }
    rollBack(m_db);
    if (commit)
        throw DbError(QStringLiteral("Die Änderungen wurden zurückgenommen, weil ein Teilschritt fehlschlug."));
}

} // namespace bw
