#include "data/connection.h"

#include "data/sql.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

namespace bw {

namespace {

[[noreturn]] void failOpen(QSqlDatabase& db)
{
    const QSqlError error = db.lastError();
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    const QString name = db.connectionName();
    db = QSqlDatabase();
    closeConnection(name);
    throw DbError(text);
}

} // namespace

ServerAddress ServerAddress::parse(const QString& serverName)
{
    ServerAddress address;
    address.host = serverName.trimmed();
    const qsizetype colon = address.host.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && address.host.count(QLatin1Char(':')) == 1) { // not an IPv6 address
        bool ok = false;
        const int port = address.host.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536) {
            address.port = port;
            address.host.truncate(colon);
        }
    }
    return address;
}

QString uniqueConnectionName(const QString& prefix)
{
    static QAtomicInt counter;
    QString name;
    do {
        name = QStringLiteral("%1-%2").arg(prefix).arg(counter.fetchAndAddRelaxed(1));
    } while (QSqlDatabase::contains(name));
    return name;
}

QSqlDatabase openPostgres(const ServerAddress& server, const QString& database, const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(server.host);
    db.setPort(server.port);
    if (!server.user.isEmpty())
        db.setUserName(server.user);
    db.setDatabaseName(database);
    db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds));
    if (!db.open())
        failOpen(db);
    return db;
}

QSqlDatabase openSqlite(const QString& path, const QString& connectionName, bool create)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000");
    if (create) {
        db.setDatabaseName(path);
    } else {
        // mode=rw: a missing file is an error instead of a new, empty database.
        QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        url.setQuery(QStringLiteral("mode=rw"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        options += QStringLiteral(";QSQLITE_OPEN_URI");
    }
    db.setConnectOptions(options);
    if (!db.open())
        failOpen(db);
    return db;
}

void closeConnection(const QString& connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

} // namespace bw
