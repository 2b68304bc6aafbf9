#include "data/schema.h"

#include "data/sql.h"
#include "platform/apperror.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace bw {

namespace {

using T = ColumnType;

ColumnDef col(const char* name, ColumnType type, int since = kOldestStructureVersion,
              int until = kCurrentStructureVersion)
{
    return ColumnDef{QString::fromLatin1(name), type, since, until};
}

// Several columns of one type.
void add(std::vector<ColumnDef>& columns, std::initializer_list<const char*> names, ColumnType type)
{
    for (const char* name : names)
        columns.push_back(col(name, type));
}

std::vector<TableDef> buildSchema()
{
    std::vector<TableDef> tables;

    {
        TableDef t{QStringLiteral("Turnierdaten"), {}, QStringLiteral("TID")};
        auto& c = t.columns;
        c.push_back(col("TID", T::Integer));
        add(c, {"turniername", "zusatz", "austragungsort"}, T::Text);
        add(c, {"tvon", "tbis"}, T::DateTime);
        add(c, {"startberechtigung", "turniermodus"}, T::Memo);
        add(c, {"veranstalter", "homepage", "gesamtleitung"}, T::Text);
        add(c, {"turnierleitung", "schiedsrichter"}, T::Memo);
        c.push_back(col("osr", T::Text));
        add(c, {"meldeschluss", "auslosung"}, T::DateTime);
        add(c, {"meldeinfo", "meldung_an", "ainfo"}, T::Memo);
        add(c, {"tische", "baelle", "netze", "zaehlgeraete", "banden"}, T::Text);
        add(c, {"preise", "verpflegung", "weg", "verschiedenes"}, T::Memo);
        c.push_back(col("erstehilfe", T::Text));
        c.push_back(col("LiveID", T::Integer, 6));
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Einstellungen"), {}, QStringLiteral("TID")};
        t.columns.push_back(col("TID", T::Integer));
        add(t.columns, {"einstellung1", "einstellung2", "einstellung3", "einstellung4"}, T::YesNo);
        t.columns.push_back(col("version", T::Integer));
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Turnierklassen"), {}, QStringLiteral("KID")};
        auto& c = t.columns;
        add(c, {"KID", "TID", "system"}, T::Integer);
        c.push_back(col("kbezeichnung", T::Text));
        add(c, {"kbeschreibung", "spielberechtigung"}, T::Memo);
        add(c, {"mann", "frau"}, T::YesNo);
        c.push_back(col("gebuehr", T::Floating));
        add(c, {"min", "max", "saetze", "platten"}, T::Integer);
        c.push_back(col("altersklasseID", T::Text));
        add(c, {"atag", "uhrzeit"}, T::DateTime);
        c.push_back(col("farbe", T::Text));
        c.push_back(col("punkteprosieg", T::Integer, 4));
        // Holds euro amounts with cents, like gebuehr.
        c.push_back(col("nachgebuehr", T::Floating, 4));
        c.push_back(col("LiveKlassenID", T::Integer, 6));
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Altersklasse"), {}, {}};
        t.columns = {col("TID", T::Integer), col("name", T::Text), col("von", T::DateTime),
                     col("bis", T::DateTime), col("aelter", T::YesNo), col("juenger", T::YesNo)};
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Platten1"), {}, {}};
        t.columns = {col("KID", T::Integer), col("platte", T::Text), col("TID", T::Integer)};
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Platten"), {}, {}};
        t.columns = {col("KID", T::Integer), col("GID", T::Integer), col("platte", T::Text),
                     col("phase", T::Integer)};
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Spielerdaten"), {}, QStringLiteral("SID")};
        auto& c = t.columns;
        add(c, {"TID", "SID"}, T::Integer);
        add(c, {"nachname", "vorname", "verein"}, T::Text);
        c.push_back(col("geb", T::DateTime));
        c.push_back(col("nummer", T::Integer));
        add(c, {"kverband", "bverband", "lverband", "land"}, T::Text);
        c.push_back(col("zubezahlen", T::Floating));
        add(c, {"bezahlt", "angemeldet"}, T::YesNo);
        // The check-in flag of older structures; it moved to Spieler_im_turnier.
        c.push_back(col("gemeldet", T::YesNo, kOldestStructureVersion, 4));
        add(c, {"mann", "frau"}, T::YesNo);
        c.push_back(col("spklasse", T::Text));
        c.push_back(col("spielstaerke", T::Text, 4));
        c.push_back(col("email", T::Text, 4));
        c.push_back(col("LiveSpielerID", T::Integer, 6));
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Spieler_im_turnier"), {}, {}};
        // gemeldet: prepared databases of version 4 lack it; the upgrade to 5 adds it
        // (databases upgraded from 3 to 4 already have it).
        t.columns = {col("TID", T::Integer), col("KID", T::Integer), col("SID", T::Integer),
                     col("gemeldet", T::YesNo, 5)};
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Doppelpartner"), {}, {}};
        t.columns = {col("KID", T::Integer), col("SID", T::Integer), col("partner_SID", T::Integer),
                     col("mannschaft", T::Text)};
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Schiri"), {}, QStringLiteral("SCHIRIID")};
        auto& c = t.columns;
        add(c, {"TID", "SCHIRIID"}, T::Integer);
        add(c, {"snname", "svname"}, T::Text);
        c.push_back(col("sgeb", T::DateTime));
        c.push_back(col("sverein", T::Text));
        c.push_back(col("sangemeldet", T::YesNo));
        add(c, {"skverband", "sbverband", "slverband", "sland"}, T::Text);
        c.push_back(col("smemo", T::Memo));
        c.push_back(col("sklasse", T::Text));
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Schiri_im_turnier"), {}, {}};
        t.columns = {col("TID", T::Integer), col("SCHIRIID", T::Integer), col("KID", T::Integer)};
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Teamsystem"), {}, {}};
        auto& c = t.columns;
        add(c, {"TID", "KID", "spieler", "reserve"}, T::Integer);
        add(c, {"s1a", "s1b", "s2a", "s2b", "s3a", "s3b", "s4a", "s4b", "s5a", "s5b", "s6a", "s6b",
                "s7a", "s7b", "s8a", "s8b", "s9a", "s9b", "spielanz"},
            T::Integer);
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Teams"), {}, QStringLiteral("MID")};
        auto& c = t.columns;
        add(c, {"TID", "KID", "MID"}, T::Integer);
        c.push_back(col("teamname", T::Text));
        add(c, {"s1", "s2", "s3", "s4", "r1", "r2", "d1_1", "d1_2", "d2_1", "d2_2"}, T::Integer);
        c.push_back(col("angemeldet", T::YesNo));
        c.push_back(col("verein", T::Text));
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Gruppeneinstellungen"), {}, {}};
        add(t.columns, {"KID", "phase1", "phase2", "phase3", "gruppenanzahl1", "gruppenanzahl2",
                        "gruppenanzahl3", "teilnehmer1", "teilnehmer2", "teilnehmer3", "besten1",
                        "besten2", "besten3", "bestplazierten1", "bestplazierten2",
                        "bestplazierten3", "gesetzt"},
            T::Integer);
        t.columns.push_back(col("plattenbez", T::Text));
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Gesetzt"), {}, {}};
        add(t.columns, {"KID", "position", "SID", "partner_SID"}, T::Integer);
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Gruppen"), {}, {}};
        auto& c = t.columns;
        add(c, {"KID", "GID", "pos", "SID"}, T::Integer);
        c.push_back(col("bez", T::Text));
        add(c, {"parentGID", "parentpos"}, T::Integer);
        c.push_back(col("markiert", T::YesNo)); // false when inserted, never read
        add(c, {"plattensystem", "phase"}, T::Integer);
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Tabellen"), {}, {}};
        auto& c = t.columns;
        add(c, {"KID", "GID", "pos", "SID"}, T::Integer);
        c.push_back(col("bez", T::Text));
        add(c, {"spielanzahl", "matchegewonnen", "matcheverloren", "spielegewonnen", "spieleverloren",
                "saetzegewonnen", "saetzeverloren", "punktegewonnen"},
            T::Integer);
        c.push_back(col("markiert", T::YesNo)); // false when inserted, never read
        add(c, {"punkteverloren", "parentGID", "parentpos", "phase"}, T::Integer);
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Spielplan"), {}, {}};
        auto& c = t.columns;
        add(c, {"KID", "spielnummer", "SID1"}, T::Integer);
        c.push_back(col("spieler1", T::Text));
        c.push_back(col("SID2", T::Integer));
        c.push_back(col("spieler2", T::Text));
        add(c, {"satz1", "satz2", "satz3", "satz4", "satz5", "satz6", "satz7", "satz8", "satz9"}, T::Integer);
        c.push_back(col("ergebnis", T::Text));
        c.push_back(col("parentspiel1", T::Integer));
        c.push_back(col("parentsieger1", T::YesNo));
        c.push_back(col("parentspiel2", T::Integer));
        c.push_back(col("parentsieger2", T::YesNo));
        add(c, {"parentGID1", "parentpos1", "parentGID2", "parentpos2"}, T::Integer);
        add(c, {"beendet", "in_planung", "begonnen", "manuell"}, T::YesNo);
        add(c, {"spielstart", "spielende"}, T::DateTime);
        add(c, {"siegerSID", "verliererSID", "phase", "gruppe"}, T::Integer);
        c.push_back(col("geplanter_tag", T::DateTime));
        c.push_back(col("geplanter_tisch", T::Text));
        c.push_back(col("geplante_zeit", T::DateTime));
        add(c, {"schiri", "an_platte"}, T::Text);
        add(c, {"aufruf1_sp1", "aufruf1_sp2", "aufruf1_sch", "aufruf2_sp1", "aufruf2_sp2", "aufruf2_sch",
                "aufruf3_sp1", "aufruf3_sp2", "aufruf3_sch"},
            T::DateTime);
        c.push_back(col("bemerkung", T::Text)); // only ever Null
        add(c, {"platz", "TID"}, T::Integer);
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Teamspiele"), {}, {}};
        auto& c = t.columns;
        add(c, {"KID", "spielnummer", "nummer", "MID1", "SID1"}, T::Integer);
        c.push_back(col("spieler1", T::Text));
        add(c, {"MID2", "SID2"}, T::Integer);
        c.push_back(col("spieler2", T::Text));
        add(c, {"satz1", "satz2", "satz3", "satz4", "satz5", "satz6", "satz7", "satz8", "satz9"}, T::Integer);
        c.push_back(col("ergebnis", T::Text));
        add(c, {"beendet", "in_planung", "begonnen", "manuell"}, T::YesNo);
        add(c, {"spielstart", "spielende"}, T::DateTime);
        add(c, {"siegerSID", "verliererSID", "phase", "gruppe"}, T::Integer);
        c.push_back(col("geplanter_tag", T::DateTime));
        c.push_back(col("geplanter_tisch", T::Text));
        c.push_back(col("geplante_zeit", T::DateTime));
        add(c, {"schiri", "an_platte"}, T::Text);
        c.push_back(col("TID", T::Integer));
        add(c, {"sbez1", "sbez2"}, T::Text);
        add(c, {"p1", "p2"}, T::Integer);
        c.push_back(col("parentspiel1", T::Integer));
        c.push_back(col("parentsieger1", T::YesNo));
        c.push_back(col("parentspiel2", T::Integer));
        c.push_back(col("parentsieger2", T::YesNo));
        add(c, {"parentGID1", "parentpos1", "parentGID2", "parentpos2"}, T::Integer);
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("Import"), {}, {}};
        t.columns = {col("nachname", T::Text), col("vorname", T::Text), col("KID", T::Integer),
                     col("verein", T::Text), col("klassen", T::Text, 3)};
        tables.push_back(std::move(t));
    }
    {
        TableDef t{QStringLiteral("KO_System"), {}, {}};
        add(t.columns, {"spieler", "gesetzt", "position"}, T::Integer);
        tables.push_back(std::move(t));
    }
    return tables;
}

// Indexes for the lookups made most often: name, table, columns.
struct IndexDef {
    const char* name;
    const char* table;
    const char* columns;
};

constexpr IndexDef kIndexes[] = {
    {"ix_turnierklassen_tid", "Turnierklassen", "TID"},
    {"ix_spielerdaten_tid", "Spielerdaten", "TID"},
    {"ix_spieler_im_turnier_kid", "Spieler_im_turnier", "KID"},
    {"ix_spieler_im_turnier_sid", "Spieler_im_turnier", "SID"},
    {"ix_doppelpartner_kid", "Doppelpartner", "KID, SID"},
    {"ix_gruppen_kid", "Gruppen", "KID, GID"},
    {"ix_tabellen_kid", "Tabellen", "KID, GID"},
    {"ix_spielplan_kid", "Spielplan", "KID, spielnummer"},
    {"ix_teamspiele_kid", "Teamspiele", "KID, spielnummer"},
    {"ix_ko_system_spieler", "KO_System", "spieler, gesetzt"},
};

} // namespace

Backend backendOf(const QSqlDatabase& db)
{
    const QString driver = db.driverName();
    if (driver == QLatin1String("QSQLITE"))
        return Backend::SQLite;
    if (driver == QLatin1String("QPSQL"))
        return Backend::PostgreSQL;
    throw AppError(QStringLiteral("Nicht unterstützter Datenbanktreiber: ") + driver);
}

std::vector<ColumnDef> TableDef::columnsOf(int version) const
{
    std::vector<ColumnDef> result;
    for (const ColumnDef& c : columns) {
        if (c.existsIn(version))
            result.push_back(c);
    }
    return result;
}

const ColumnDef* TableDef::column(const QString& columnName) const
{
    for (const ColumnDef& c : columns) {
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const std::vector<TableDef>& schemaTables()
{
    static const std::vector<TableDef> tables = buildSchema();
    return tables;
}

const TableDef* findTable(const QString& name)
{
    for (const TableDef& t : schemaTables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const TableDef& table(const QString& name)
{
    if (const TableDef* t = findTable(name))
        return *t;
    throw AppError(QStringLiteral("Unbekannte Tabelle: ") + name);
}

QStringList columnNames(const QString& tableName, int version)
{
    QStringList names;
    for (const ColumnDef& c : table(tableName).columnsOf(version))
        names << c.name;
    return names;
}

QString positionalInsert(const QString& tableName)
{
    const TableDef& t = table(tableName);
    QStringList params;
    for (const ColumnDef& c : t.columnsOf(kCurrentStructureVersion))
        params << QLatin1Char(':') + c.name.toLower();
    return QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(t.name, params.join(QLatin1Char(',')));
}

QString sqlType(const ColumnDef& column, Backend backend)
{
    const bool pg = backend == Backend::PostgreSQL;
    switch (column.type) {
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Text:
    case ColumnType::Memo:
        return QStringLiteral("TEXT");
    case ColumnType::DateTime:
        // SQLite keeps the canonical text 'yyyy-MM-dd hh:mm:ss'; the check catches
        // any other form before it spoils comparisons and sorting.
        return pg ? QStringLiteral("TIMESTAMP(0) WITHOUT TIME ZONE")
                  : QStringLiteral("TEXT CHECK (%1 GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] "
                                   "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]')")
                        .arg(column.name);
    case ColumnType::YesNo:
        return QStringLiteral("INTEGER CHECK (%1 IN (0,1))").arg(column.name);
    case ColumnType::Floating:
        return pg ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
    }
    return QString();
}

QStringList createStatements(Backend backend, int version)
{
    QStringList statements;
    for (const TableDef& t : schemaTables()) {
        QStringList columns;
        for (const ColumnDef& c : t.columnsOf(version)) {
            QString line = c.name + QLatin1Char(' ') + sqlType(c, backend);
            if (c.name.compare(t.primaryKey, Qt::CaseInsensitive) == 0)
                line += QStringLiteral(" PRIMARY KEY");
            columns << line;
        }
        statements << QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, columns.join(QStringLiteral(", ")));
    }
    for (const IndexDef& ix : kIndexes) {
        statements << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                          .arg(QLatin1String(ix.name), QLatin1String(ix.table), QLatin1String(ix.columns));
    }
    return statements;
}

QStringList liveColumns(const QSqlDatabase& db, const QString& tableName)
{
    QStringList names;
    if (backendOf(db) == Backend::SQLite) {
        // pragma_table_info takes the table name as a bound value.
        QSqlQuery q = execute(db, QStringLiteral("SELECT name FROM pragma_table_info(:t) ORDER BY cid"),
                             {{QStringLiteral("t"), tableName}});
        while (q.next())
            names << q.value(0).toString();
    } else {
        QSqlQuery q = execute(db,
                             QStringLiteral("SELECT column_name FROM information_schema.columns "
                                            "WHERE table_schema = current_schema() AND table_name = :t "
                                            "ORDER BY ordinal_position"),
                             {{QStringLiteral("t"), tableName.toLower()}});
        while (q.next())
            names << q.value(0).toString();
    }
    return names;
}

QStringList verifyStructure(const QSqlDatabase& db, int version)
{
    QStringList differences;
    for (const TableDef& t : schemaTables()) {
        const QStringList live = liveColumns(db, t.name);
        if (live.isEmpty()) {
            differences << QStringLiteral("Tabelle %1 fehlt").arg(t.name);
            continue;
        }
        const auto expected = t.columnsOf(version);
        const qsizetype n = std::max<qsizetype>(live.size(), qsizetype(expected.size()));
        for (qsizetype i = 0; i < n; ++i) {
            const QString want = i < qsizetype(expected.size()) ? expected[size_t(i)].name : QString();
            const QString have = i < live.size() ? live[i] : QString();
            if (want.compare(have, Qt::CaseInsensitive) == 0)
                continue;
            if (want.isEmpty())
                differences << QStringLiteral("Tabelle %1: überzählige Spalte %2").arg(t.name, have);
            else if (have.isEmpty())
                differences << QStringLiteral("Tabelle %1: Spalte %2 fehlt").arg(t.name, want);
            else
                differences << QStringLiteral("Tabelle %1, Spalte %2: %3 statt %4")
                                   .arg(t.name).arg(i + 1).arg(have, want);
        }
    }
    return differences;
}

} // namespace bw
