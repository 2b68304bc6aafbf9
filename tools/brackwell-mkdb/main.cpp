// brackwell-mkdb: prepares an empty tournament database of structure version 6
// (or an older one with --version, for upgrade tests) from the schema in code.
//
//   brackwell-mkdb --default [--if-missing]   the default SQLite file in the data folder
//   brackwell-mkdb --sqlite FILE [--if-missing]
//   brackwell-mkdb --server HOST[:PORT] [--database NAME]
//
// An existing SQLite file is never overwritten: it is an error, or with
// --if-missing nothing is done. On a server the catalog (default "turnier_db") is
// created when missing; one that already holds tables is refused. The user name
// and password come from PGUSER/PGPASSWORD or ~/.pgpass, never from the command line.
#include "data/connection.h"
#include "data/preparation.h"
#include "data/schema.h"
#include "platform/apperror.h"
#include "platform/apppaths.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brackwell"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Legt eine leere Turnier-Datenbank an."));
    parser.addHelpOption();
    const QCommandLineOption defaultOption(QStringLiteral("default"),
        QStringLiteral("Die Standard-Datenbank \"%1\" im Datenordner.").arg(bw::kDefaultDatabaseFile));
    const QCommandLineOption sqliteOption(QStringLiteral("sqlite"), QStringLiteral("Eine SQLite-Datei."),
                                          QStringLiteral("datei"));
    const QCommandLineOption serverOption(QStringLiteral("server"),
        QStringLiteral("Ein PostgreSQL-Server (Rechnername[:Port] oder Socket-Ordner)."), QStringLiteral("server"));
    const QCommandLineOption databaseOption(QStringLiteral("database"),
        QStringLiteral("Name der Datenbank auf dem Server (Vorgabe %1).").arg(bw::kServerCatalog),
        QStringLiteral("name"), bw::kServerCatalog);
    const QCommandLineOption ifMissingOption(QStringLiteral("if-missing"),
        QStringLiteral("Nichts tun, wenn die Datei schon vorhanden ist."));
    const QCommandLineOption versionOption(QStringLiteral("version"),
        QStringLiteral("Strukturversion %1 bis %2 (Vorgabe %2).")
            .arg(bw::kOldestStructureVersion).arg(bw::kCurrentStructureVersion),
        QStringLiteral("n"), QString::number(bw::kCurrentStructureVersion));
    parser.addOptions({defaultOption, sqliteOption, serverOption, databaseOption, ifMissingOption, versionOption});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int targets = int(parser.isSet(defaultOption)) + int(parser.isSet(sqliteOption)) + int(parser.isSet(serverOption));
    bool versionOk = false;
    const int version = parser.value(versionOption).toInt(&versionOk);
    if (targets != 1 || !versionOk) {
        err << "brackwell-mkdb: genau eines von --default, --sqlite oder --server angeben (siehe --help)\n";
        return 2;
    }

    try {
        if (parser.isSet(serverOption)) {
            const bw::ServerAddress server = bw::ServerAddress::parse(parser.value(serverOption));
            const QString database = parser.value(databaseOption);
            const bool created = bw::preparePostgresCatalog(server, database, version);
            out << "Datenbank " << database << (created ? " angelegt und" : "") << " vorbereitet (Version "
                << version << ")\n";
            return 0;
        }
        const QString path = parser.isSet(defaultOption)
            ? bw::AppPaths::forApplication().dataFile(bw::kDefaultDatabaseFile)
            : QFileInfo(parser.value(sqliteOption)).absoluteFilePath();
        if (parser.isSet(ifMissingOption) && QFileInfo::exists(path))
            return 0;
        bw::prepareSqliteFile(path, version);
        out << "Datenbank " << QDir::toNativeSeparators(path) << " angelegt (Version " << version << ")\n";
        return 0;
    } catch (const std::exception& e) {
        err << "brackwell-mkdb: " << bw::exceptionText(e) << "\n";
        return 1;
    }
}
