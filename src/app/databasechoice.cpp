#include "app/databasechoice.h"

#include "app/appcontext.h"
#include "data/schema.h"
#include "data/sql.h"
#include "platform/prompter.h"

namespace bw {

DatabaseSource DatabaseSource::fromContext(const AppContext& context)
{
    return context.accessDB ? sqlite(context.dbPfad) : postgres(context.serverName, context.serverCatalog);
}

DatabaseConnection openDatabase(const DatabaseSource& source)
{
    const QString name = uniqueConnectionName(QStringLiteral("tournament"));
    if (source.file) {
        if (source.path.isEmpty())
            throw DbError(QStringLiteral("Keine Datenbankdatei gewählt"));
        auto connection = std::make_unique<ScopedConnection>(openSqlite(source.path, name));
        // A file that is no SQLite database opens without complaint; the first
        // read shows it.
        execute(connection->db(), QStringLiteral("SELECT COUNT(*) FROM sqlite_master"));
        return connection;
    }
    if (source.server.trimmed().isEmpty())
        throw DbError(QStringLiteral("Kein Server gewählt"));
    return std::make_unique<ScopedConnection>(
        openPostgres(ServerAddress::parse(source.server), source.catalog, name));
}

void checkStructure(const QSqlDatabase& db, Prompter&)
{
    const QVariant version =
        scalar(db, QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999"));
    if (version.isNull() || version.toInt() != kCurrentStructureVersion)
        throw AppError(QStringLiteral("Datenbank nicht im richtigen Format."));
}

QSqlDatabase ProgramDatabase::db() const
{
    return m_connection ? m_connection->db() : QSqlDatabase();
}

void ProgramDatabase::adopt(DatabaseConnection connection)
{
    m_connection = std::move(connection);
}

} // namespace bw
