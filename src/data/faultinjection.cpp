#include "data/faultinjection.h"

#include "data/sql.h"

#include <QHash>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>

namespace bw {

namespace {

struct Armed {
    int remaining = 0;
    bool fired = false;
};

QMutex g_lock;
QHash<QString, Armed> g_armed; // by connection name
QAtomicInt g_anyArmed;        // keeps the common path free of the lock

} // namespace

void FaultInjection::failStatement(const QSqlDatabase& db, int n)
{
    QMutexLocker lock(&g_lock);
    if (n > 0)
        g_armed.insert(db.connectionName(), Armed{n, false});
    else
        g_armed.remove(db.connectionName());
    g_anyArmed.storeRelaxed(g_armed.isEmpty() ? 0 : 1);
}

bool FaultInjection::fired(const QSqlDatabase& db)
{
    QMutexLocker lock(&g_lock);
    return g_armed.value(db.connectionName()).fired;
}

void FaultInjection::beforeStatement(const QSqlDatabase& db)
{
    if (!g_anyArmed.loadRelaxed())
        return;
    {
        QMutexLocker lock(&g_lock);
        auto it = g_armed.find(db.connectionName());
        if (it == g_armed.end() || it->fired || --it->remaining > 0)
            return;
        it->fired = true;
    }
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT * FROM bw_eingeschleuster_fehler"));
    const QString text = q.lastError().databaseText().trimmed();
    throw DbError(QStringLiteral("Eingeschleuster Fehler: ") + text);
}

} // namespace bw
