#include "data/preparation.h"

#include "data/kosystem.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace bw {

bool hasTables(const QSqlDatabase& db)
{
    const QString sql = backendOf(db) == Backend::SQLite
        ? QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='table'")
        : QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = current_schema()");
    return scalar(db, sql).toInt() > 0;
}

void prepareDatabase(const QSqlDatabase& db, int version)
{
    if (version < kOldestStructureVersion || version > kCurrentStructureVersion)
        throw AppError(QStringLiteral("Unbekannte Strukturversion %1").arg(version));
    Transaction transaction(db);
    if (hasTables(db))
        throw AppError(QStringLiteral("Die Datenbank enthält bereits Tabellen."));
    for (const QString& statement : createStatements(backendOf(db), version))
        execute(db, statement);

    for (const KoSystemRow& row : koSystemRows()) {
        execute(db, QStringLiteral("INSERT INTO KO_System VALUES (:spieler, :gesetzt, :position)"),
                {{QStringLiteral("spieler"), row.spieler},
                 {QStringLiteral("gesetzt"), row.gesetzt},
                 {QStringLiteral("position"), row.position}});
    }
    execute(db, QStringLiteral("INSERT INTO Einstellungen VALUES (:tid, 0, 0, 0, 0, :version)"),
            {{QStringLiteral("tid"), kVersionRowTid}, {QStringLiteral("version"), version}});
    transaction.commit();
}

void prepareSqliteFile(const QString& path, int version)
{
    const QFileInfo target(path);
    if (target.exists())
        throw AppError(QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.").arg(QDir::toNativeSeparators(path)));
    if (!QDir().mkpath(target.absolutePath()))
        throw AppError(QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(target.absolutePath()));

    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw AppError(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2").arg(path, temp.errorString()));
    temp.close();
    {
        ScopedConnection connection(openSqlite(temp.fileName(), uniqueConnectionName(QStringLiteral("mkdb")), true));
        prepareDatabase(connection.db(), version);
    }
    // The temporary file was made private; the database gets the usual permissions.
    QFile::setPermissions(temp.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                               | QFile::ReadGroup | QFile::ReadOther);
    // rename() never replaces an existing file: a file made meanwhile stays untouched.
    if (!QFile::rename(temp.fileName(), path))
        throw AppError(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden.").arg(path));
    temp.setAutoRemove(false);
}

bool preparePostgresCatalog(const ServerAddress& server, const QString& database, int version)
{
    // The name goes into CREATE DATABASE, where no parameter can stand.
    static const QRegularExpression plainName(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    if (!plainName.match(database).hasMatch())
        throw AppError(QStringLiteral("Ungültiger Datenbankname: ") + database);

    bool created = false;
    {
        ScopedConnection admin(openPostgres(server, QStringLiteral("postgres"),
                                            uniqueConnectionName(QStringLiteral("mkdb-admin"))));
        const bool exists = scalar(admin.db(), QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname=:n"),
                                   {{QStringLiteral("n"), database}})
                                .toInt() > 0;
        if (!exists) {
            execute(admin.db(), QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(database));
            created = true;
        }
    }
    ScopedConnection connection(openPostgres(server, database, uniqueConnectionName(QStringLiteral("mkdb"))));
    prepareDatabase(connection.db(), version);
    return created;
}

} // namespace bw
