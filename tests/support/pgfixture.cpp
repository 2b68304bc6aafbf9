#include "support/pgfixture.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

namespace bw::test {

static QSqlDatabase openPg(const PgServer& server, const QString& database, const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setUserName(server.user);
    db.setDatabaseName(database);
    db.open();
    return db;
}

bool PgFixture::configured(PgServer* server)
{
    const auto env = QProcessEnvironment::systemEnvironment();
    const QString host = env.value(QStringLiteral("BRACKWELL_TEST_PGHOST"));
    if (host.isEmpty())
        return false;
    if (server) {
        server->host = host;
        server->port = env.value(QStringLiteral("BRACKWELL_TEST_PGPORT"), QStringLiteral("5432")).toInt();
        server->user = env.value(QStringLiteral("BRACKWELL_TEST_PGUSER"), QStringLiteral("postgres"));
    }
    return true;
}

PgFixture::PgFixture()
{
    if (!configured(&m_server)) {
        if (QProcessEnvironment::systemEnvironment().value(QStringLiteral("CI")) == QLatin1String("true"))
            QTest::qFail("No PostgreSQL test server configured (BRACKWELL_TEST_PGHOST) under CI", __FILE__, __LINE__);
        else
            QTest::qSkip("No PostgreSQL test server (run the tests through ./test)", __FILE__, __LINE__);
        return;
    }
    static QAtomicInt counter;
    m_database = QStringLiteral("bwtest_%1_%2")
                     .arg(QCoreApplication::applicationPid())
                     .arg(counter.fetchAndAddRelaxed(1));
    m_adminConnection = QStringLiteral("pgfixture-admin-") + m_database;
    {
        QSqlDatabase admin = openPg(m_server, QStringLiteral("postgres"), m_adminConnection);
        if (!admin.isOpen()) {
            QTest::qFail(qPrintable(QStringLiteral("Cannot reach the PostgreSQL test server: ")
                                        + admin.lastError().text()), __FILE__, __LINE__);
            return;
        }
        QSqlQuery q(admin);
        if (!q.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(m_database))) {
            QTest::qFail(qPrintable(q.lastError().text()), __FILE__, __LINE__);
            return;
        }
    }
    m_ready = true;
}

PgFixture::~PgFixture()
{
    if (m_adminConnection.isEmpty())
        return;
    // Connections to the fixture's database must be gone before it can be dropped.
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (name == m_adminConnection)
            continue;
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.driverName() == QLatin1String("QPSQL") && db.databaseName() == m_database)
            db.close();
    }
    if (m_ready)
        dropDatabase(m_database);
    QSqlDatabase::database(m_adminConnection, false).close();
    QSqlDatabase::removeDatabase(m_adminConnection);
}

bool PgFixture::dropDatabase(const QString& name) const
{
    QSqlDatabase admin = QSqlDatabase::database(m_adminConnection);
    QSqlQuery q(admin);
    return q.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name));
}

QSqlDatabase PgFixture::open(const QString& connectionName) const
{
    return openPg(m_server, m_database, connectionName);
}

QSqlDatabase PgFixture::openMaintenance(const QString& connectionName) const
{
    return openPg(m_server, QStringLiteral("postgres"), connectionName);
}

} // namespace bw::test
