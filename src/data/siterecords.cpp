#include "data/siterecords.h"

#include "data/dbvalue.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/teamrecords.h"
#include "platform/germantext.h"

#include <QCollatorSortKey>
#include <QSqlRecord>

#include <algorithm>

namespace bw {

namespace {

// A value as its column's type stores it, Null kept.
QVariant typed(const QVariant& value, ColumnType type)
{
    if (value.isNull())
        return QVariant();
    switch (type) {
    case ColumnType::DateTime: {
        const QDateTime moment = readWallClock(value);
        return moment.isValid() ? QVariant(moment) : QVariant();
    }
    case ColumnType::YesNo: return value.toInt() != 0;
    case ColumnType::Integer: return value.toInt();
    case ColumnType::Floating: return value.toDouble();
    case ColumnType::Text:
    case ColumnType::Memo: return value.toString();
    }
    return value;
}

// Reads the columns of one table from a query, each by its column's type
// (looked up once per result column).
class Columns {
public:
    Columns(const QSqlQuery& query, const QString& table) : m_query(query), m_table(bw::table(table)) {}

    QVariant operator()(int index, const char* column)
    {
        if (size_t(index) >= m_types.size())
            m_types.resize(size_t(index) + 1);
        std::optional<const ColumnDef*>& def = m_types[size_t(index)];
        if (!def)
            def = m_table.column(QLatin1String(column));
        return *def ? typed(m_query.value(index), (*def)->type) : m_query.value(index);
    }

private:
    const QSqlQuery& m_query;
    const TableDef& m_table;
    std::vector<std::optional<const ColumnDef*>> m_types;
};

// Sorts stably by the German collator over the texts `key` gives.
template <typename Row, typename Key>
void sortByNames(QList<Row>& rows, Key key)
{
    const QCollator collator = german::collator();
    struct Keyed {
        std::vector<QCollatorSortKey> keys;
        Row row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(rows.size()));
    for (Row& row : rows) {
        Keyed k{{}, std::move(row)};
        for (const QString& text : key(k.row))
            k.keys.push_back(collator.sortKey(text));
        keyed.push_back(std::move(k));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        for (size_t i = 0; i < a.keys.size(); ++i) {
            const int c = a.keys[i].compare(b.keys[i]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    rows.clear();
    for (Keyed& k : keyed)
        rows.append(std::move(k.row));
}

QVariantHash readTournament(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db, s("SELECT * FROM Turnierdaten WHERE TID = :tid"), {{s("tid"), tid}});
    QVariantHash row;
    if (!q.next())
        return row;
    const QSqlRecord record = q.record();
    const TableDef& table = bw::table(s("Turnierdaten"));
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i).toLower();
        const ColumnDef* def = table.column(name);
        row.insert(name, def ? typed(q.value(i), def->type) : q.value(i));
    }
    return row;
}

QList<SiteClass> readClasses(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          s("SELECT KID, kbezeichnung, system, kbeschreibung, spielberechtigung, gebuehr, min, max, "
                            "saetze, platten, atag, uhrzeit, mann, frau FROM Turnierklassen WHERE TID = :tid "
                            "ORDER BY KID"),
                          {{s("tid"), tid}});
    Columns v(q, s("Turnierklassen"));
    QList<SiteClass> classes;
    while (q.next()) {
        SiteClass c;
        c.kid = q.value(0).toInt();
        c.kbezeichnung = q.value(1).toString();
        c.system = v(2, "system");
        c.kind = classKindOf(q.value(2));
        c.kbeschreibung = v(3, "kbeschreibung");
        c.spielberechtigung = v(4, "spielberechtigung");
        c.gebuehr = v(5, "gebuehr");
        c.min = v(6, "min");
        c.max = v(7, "max");
        c.saetze = v(8, "saetze");
        c.platten = v(9, "platten");
        c.atag = v(10, "atag");
        c.uhrzeit = v(11, "uhrzeit");
        c.mann = q.value(12).toInt() != 0;
        c.frau = q.value(13).toInt() != 0;
        classes.append(c);
    }
    // By name, equal names by kind (Null first).
    std::stable_sort(classes.begin(), classes.end(), [](const SiteClass& a, const SiteClass& b) {
        return (a.system.isNull() ? -1 : a.system.toInt()) < (b.system.isNull() ? -1 : b.system.toInt());
    });
    sortByNames(classes, [](const SiteClass& c) { return QStringList{c.kbezeichnung}; });
    return classes;
}

QList<SiteEntry> readEntries(const QSqlDatabase& db, int tid)
{
    // A player with two partner rows in a class (which no writer makes) is listed once.
    QSqlQuery q = execute(db,
                          s("SELECT st.KID, st.SID, s.nachname, s.vorname, s.verein, p.nachname, p.vorname, "
                            "d.mannschaft "
                            "FROM Spieler_im_turnier st INNER JOIN Turnierklassen k ON k.KID = st.KID "
                            "INNER JOIN Spielerdaten s ON s.SID = st.SID "
                            "LEFT JOIN Doppelpartner d ON d.KID = st.KID AND d.SID = st.SID "
                            "LEFT JOIN Spielerdaten p ON p.SID = d.partner_SID "
                            "WHERE k.TID = :tid ORDER BY st.KID, st.SID, d.partner_SID"),
                          {{s("tid"), tid}});
    QList<SiteEntry> entries;
    std::pair<int, int> last{0, 0};
    while (q.next()) {
        const std::pair<int, int> key{q.value(0).toInt(), q.value(1).toInt()};
        if (!entries.isEmpty() && key == last)
            continue;
        last = key;
        SiteEntry e;
        e.kid = key.first;
        e.nachname = q.value(2).toString();
        e.vorname = q.value(3).toString();
        e.verein = q.value(4).toString();
        e.partnerNachname = q.value(5).toString();
        e.partnerVorname = q.value(6).toString();
        e.mannschaft = q.value(7).toString();
        entries.append(e);
    }
    sortByNames(entries, [](const SiteEntry& e) { return QStringList{e.nachname, e.vorname}; });
    std::stable_sort(entries.begin(), entries.end(), [](const SiteEntry& a, const SiteEntry& b) { return a.kid < b.kid; });
    return entries;
}

QList<SitePlayer> readPlayers(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          s("SELECT nachname, vorname, verein, geb, nummer, kverband, bverband, lverband, land, "
                            "spklasse FROM Spielerdaten WHERE TID = :tid ORDER BY SID"),
                          {{s("tid"), tid}});
    Columns v(q, s("Spielerdaten"));
    QList<SitePlayer> players;
    while (q.next()) {
        SitePlayer p;
        p.nachname = q.value(0).toString();
        p.vorname = q.value(1).toString();
        p.verein = q.value(2).toString();
        p.geb = v(3, "geb");
        p.nummer = v(4, "nummer");
        p.kverband = v(5, "kverband");
        p.bverband = v(6, "bverband");
        p.lverband = v(7, "lverband");
        p.land = v(8, "land");
        p.spklasse = v(9, "spklasse");
        players.append(p);
    }
    sortByNames(players, [](const SitePlayer& p) { return QStringList{p.nachname, p.vorname}; });
    return players;
}

QList<SiteTeam> readTeams(const QSqlDatabase& db, int tid)
{
    std::vector<TeamRoster> rosters = readTeamRosters(db, TeamScope::Tournament, tid);
    QList<SiteTeam> teams(rosters.begin(), rosters.end());
    sortByNames(teams, [](const SiteTeam& t) { return QStringList{t.teamname}; });
    return teams;
}

QList<SiteReferee> readReferees(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          s("SELECT snname, svname, sverein, sgeb, skverband, sbverband, slverband, sland, sklasse "
                            "FROM Schiri WHERE TID = :tid ORDER BY SCHIRIID"),
                          {{s("tid"), tid}});
    Columns v(q, s("Schiri"));
    QList<SiteReferee> referees;
    while (q.next()) {
        SiteReferee r;
        r.snname = q.value(0).toString();
        r.svname = q.value(1).toString();
        r.sverein = q.value(2).toString();
        r.sgeb = v(3, "sgeb");
        r.skverband = v(4, "skverband");
        r.sbverband = v(5, "sbverband");
        r.slverband = v(6, "slverband");
        r.sland = v(7, "sland");
        r.sklasse = v(8, "sklasse");
        referees.append(r);
    }
    sortByNames(referees, [](const SiteReferee& r) { return QStringList{r.snname, r.svname}; });
    return referees;
}

QList<SiteMatch> readMatches(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          s("SELECT sp.KID, sp.spielnummer, sp.spieler1, sp.spieler2, sp.satz1, sp.satz2, sp.satz3, "
                            "sp.satz4, sp.satz5, sp.satz6, sp.satz7, sp.satz8, sp.satz9, sp.ergebnis, sp.an_platte, "
                            "sp.spielstart, sp.spielende "
                            "FROM Spielplan sp INNER JOIN Turnierklassen k ON k.KID = sp.KID "
                            "WHERE k.TID = :tid ORDER BY sp.KID, sp.spielnummer"),
                          {{s("tid"), tid}});
    Columns v(q, s("Spielplan"));
    QList<SiteMatch> matches;
    while (q.next()) {
        SiteMatch m;
        m.kid = q.value(0).toInt();
        m.spielnummer = v(1, "spielnummer");
        m.spieler1 = v(2, "spieler1");
        m.spieler2 = v(3, "spieler2");
        for (int i = 0; i < 9; ++i)
            m.saetze[size_t(i)] = v(4 + i, "satz1");
        m.ergebnis = v(13, "ergebnis");
        m.an_platte = v(14, "an_platte");
        m.spielstart = v(15, "spielstart");
        m.spielende = v(16, "spielende");
        matches.append(m);
    }
    return matches;
}

} // namespace

SiteData readSiteData(const QSqlDatabase& db, int tid)
{
    SiteData data;
    data.tournament = readTournament(db, tid);
    data.classes = readClasses(db, tid);
    data.entries = readEntries(db, tid);
    data.players = readPlayers(db, tid);
    data.teams = readTeams(db, tid);
    data.referees = readReferees(db, tid);
    data.matches = readMatches(db, tid);
    return data;
}

} // namespace bw
