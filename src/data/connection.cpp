#include "data/connection.h"

#include "data/sql.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace bw {

namespace {

// SQLite's result codes without their extended part.
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

int sqliteCode(const QSqlError& error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

// Why an SQLite file cannot be opened, in words for the user.
QString sqliteOpenError(const QString& path, const QSqlError& error)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("Die Datei \"%1\" ist nicht vorhanden.").arg(QDir::toNativeSeparators(path));
    switch (sqliteCode(error)) {
    case kSqliteNotADatabase:
        return QStringLiteral("Die Datei \"%1\" ist keine SQLite-Datenbank.").arg(QDir::toNativeSeparators(path));
    case kSqliteCantOpen:
        return QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(QDir::toNativeSeparators(path));
    default:
        return errorText(error);
    }
}

// SQLite opens a file it may not write as if it could, and fails only at the
// first save. A write of the value the file already holds finds out now: it
// needs the file and, for its journal, the folder.
void requireWritable(const QSqlDatabase& db)
{
    const int version = scalar(db, QStringLiteral("PRAGMA user_version")).toInt();
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("PRAGMA user_version=%1").arg(version)))
        return;
    switch (sqliteCode(q.lastError())) {
    case kSqliteReadOnly:
        throw DbError(QStringLiteral("Die Datenbankdatei ist schreibgeschützt; Brackwell kann in ihr nicht speichern."));
    case kSqliteCantOpen:
        throw DbError(QStringLiteral("Der Ordner der Datenbankdatei ist schreibgeschützt; Brackwell kann in der Datei "
                                     "nicht speichern."));
    default:
        throw DbError(errorText(q.lastError()));
    }
}

[[noreturn]] void failOpen(QSqlDatabase& db, const QString& text)
{
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
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")))
            throw DbError(sqliteOpenError(source.dbPfad, q.lastError()));
        requireWritable(db);
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
        failOpen(db, errorText(db.lastError()));
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
        failOpen(db, sqliteOpenError(path, db.lastError()));
    return db;
}

QSqlDatabase openSqliteReadOnly(const QString& path, const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QStringLiteral("mode=ro"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
    if (!db.open())
        failOpen(db, sqliteOpenError(path, db.lastError()));
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
        const QString reason = sqliteOpenError(path, q.lastError());
        q = QSqlQuery();
        failOpen(db, reason);
    }
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
