#include "data/db_procedures.h"

#include "data/schema.h"
#include "data/upgrade.h"
#include "platform/prompter.h"

#include <QSysInfo>

namespace bw {

namespace {
const QString kNotRightFormat = QStringLiteral("Datenbank nicht im richtigen Format.");
} // namespace

Tdb_procedures::Tdb_procedures(Prompter& prompter, QObject* parent)
    : QObject(parent), serverName(ComputerName()), m_prompter(prompter)
{
    setObjectName(QStringLiteral("db_procedures"));
}

Tdb_procedures::~Tdb_procedures() = default;

bool Tdb_procedures::isConnected() const
{
    return !m_connection.isNull() && m_connection.db().isOpen();
}

ScopedConnection Tdb_procedures::openCandidate(const DatabaseLocation& source, const QString& name) const
{
    return ScopedConnection(openDatabase(source, name, uniqueConnectionName(QStringLiteral("turnier_db")), waits));
}

void Tdb_procedures::adopt(ScopedConnection candidate, const DatabaseLocation& source)
{
    m_connection = std::move(candidate);
    accessDB = source.accessDB;
    dbPfad = source.dbPfad;
    serverName = source.serverName;
    dbWahrWert = 1;
}

void Tdb_procedures::db_verbinden(const QString& name)
{
    adopt(openCandidate(source(), name), source());
}

void Tdb_procedures::close()
{
    m_connection.reset();
}

void Tdb_procedures::richtige_db()
{
    richtige_db(ADOConnection1());
}

void Tdb_procedures::richtige_db(const QSqlDatabase& db)
{
    const int version = readStructureVersion(db);
    if (version == kCurrentStructureVersion)
        return;
    // A newer structure is not ours to change: "upgrading" it to 6 would leave a
    // database that claims a structure it does not have.
    if (version > kCurrentStructureVersion)
        throw AppError(kWrongDatabase);
    if (!m_prompter.confirm(QStringLiteral("Die gewählte Datenbank hat eine alte Struktur.\r"
                                           "Soll die Struktur jetzt angepasst werden?")))
        throw AppError(kNotRightFormat);
    db_aktualisieren(db);
}

void Tdb_procedures::db_aktualisieren(const QSqlDatabase& db)
{
    QStringList report;
    try {
        report = upgradeStructure(db, waits.lockMilliseconds);
    } catch (const std::exception& e) {
        m_prompter.warning(QStringLiteral("Es trat ein Fehler beim Aktualisieren der Datenbank auf: \r")
                           + exceptionText(e));
        throw AppError(kNotRightFormat);
    }
    if (report.isEmpty())
        return; // another desk upgraded it meanwhile
    QString text = QStringLiteral("Die Datenbank wurde aktualisiert.\r\r");
    for (const QString& line : report)
        text += line + QLatin1Char('\r');
    m_prompter.information(text);
}

QString Tdb_procedures::ComputerName()
{
    return QSysInfo::machineHostName();
}

QSqlQuery Tdb_procedures::query(const QString& sql, const SqlParams& params) const
{
    return execute(ADOConnection1(), sql, params);
}

void Tdb_procedures::exec(const QString& sql, const SqlParams& params) const
{
    execute(ADOConnection1(), sql, params);
}

} // namespace bw
