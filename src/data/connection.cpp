#include "data/connection.h"

#include "data/sql.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSettings>
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

// "host:port" -> host and port; false when the name carries no port.
bool splitPort(const QString& name, QString* host, int* port)
{
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0 || name.count(QLatin1Char(':')) != 1) // none, or an IPv6 address
        return false;
    bool ok = false;
    const int value = name.mid(colon + 1).toInt(&ok);
    if (!ok || value <= 0 || value >= 65536)
        return false;
    *host = name.left(colon);
    *port = value;
    return true;
}

} // namespace

ServerAddress ServerAddress::parse(const QString& serverName)
{
    ServerAddress address;
    address.host = serverName.trimmed();
    splitPort(serverName.trimmed(), &address.host, &address.port);
    return address;
}

QString serverSettingsFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Brackwell"),
                     QStringLiteral("datenbankserver"))
        .fileName();
}

ServerAddress ServerAddress::forServer(const QString& serverName)
{
    ServerAddress address;
    address.host = serverName.trimmed();
    const QSettings settings(serverSettingsFile(), QSettings::IniFormat);
    if (!splitPort(serverName.trimmed(), &address.host, &address.port)) {
        const int port = settings.value(QStringLiteral("Server/port")).toInt();
        if (port > 0 && port < 65536)
            address.port = port;
    }
    address.user = settings.value(QStringLiteral("Server/user")).toString().trimmed();
    return address;
}

QSqlDatabase openDatabase(const DatabaseLocation& source, const QString& catalog, const QString& connectionName,
                          const ServerWaits& waits)
{
    if (!source.accessDB)
        return openPostgres(ServerAddress::forServer(source.serverName), catalog, connectionName, waits);
    QSqlDatabase db = openSqlite(source.dbPfad, connectionName);
    try {
        // SQLite reads the file only when first asked: a file that is not a
        // database opens without complaint and fails here.
        execute(db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master"));
    } catch (...) {
        db = QSqlDatabase();
        closeConnection(connectionName);
        throw;
    }
    return db;
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

QSqlDatabase openPostgres(const ServerAddress& server, const QString& database, const QString& connectionName,
                          const ServerWaits& waits)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(server.host);
    db.setPort(server.port);
    if (!server.user.isEmpty())
        db.setUserName(server.user);
    db.setDatabaseName(database);
    db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(waits.connectSeconds));
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
