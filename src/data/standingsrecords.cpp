#include "data/standingsrecords.h"

#include "data/matchrecords.h"
#include "data/transaction.h"

#include <QSqlQuery>

namespace bw {

namespace {

int intOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

const char* const kStandingsColumns =
    "GID,pos,SID,bez,spielanzahl,matchegewonnen,matcheverloren,spielegewonnen,spieleverloren,"
    "saetzegewonnen,saetzeverloren,punktegewonnen,punkteverloren,parentGID,parentpos,phase";

StandingsRow standingsRow(const QSqlQuery& q)
{
    StandingsRow row;
    row.gid = intOr(q.value(0), 0);
    row.pos = intOr(q.value(1), 0);
    row.sid = intOr(q.value(2), -1);
    row.bez = q.value(3).toString();
    StandingsCounters& c = row.counters;
    c.spielanzahl = intOr(q.value(4), 0);
    c.matchegewonnen = intOr(q.value(5), 0);
    c.matcheverloren = intOr(q.value(6), 0);
    c.spielegewonnen = intOr(q.value(7), 0);
    c.spieleverloren = intOr(q.value(8), 0);
    c.saetzegewonnen = intOr(q.value(9), 0);
    c.saetzeverloren = intOr(q.value(10), 0);
    c.punktegewonnen = intOr(q.value(11), 0);
    c.punkteverloren = intOr(q.value(12), 0);
    row.parentGID = intOr(q.value(13), -1);
    row.parentpos = intOr(q.value(14), -1);
    row.phase = intOr(q.value(15), 0);
    return row;
}

const char* const kMatchColumns =
    "spielnummer,SID1,SID2,spieler1,spieler2,beendet,siegerSID,verliererSID,ergebnis,"
    "satz1,satz2,satz3,satz4,satz5,satz6,satz7,satz8,satz9,gruppe,phase";

GroupMatch groupMatch(const QSqlQuery& q)
{
    GroupMatch m;
    m.spielnummer = q.value(0).toInt();
    m.sid1 = intOr(q.value(1), -1);
    m.sid2 = intOr(q.value(2), -1);
    m.spieler1 = q.value(3).toString();
    m.spieler2 = q.value(4).toString();
    m.beendet = intOr(q.value(5), 0) != 0;
    m.siegerSID = intOr(q.value(6), -1);
    m.verliererSID = intOr(q.value(7), -1);
    m.ergebnis = q.value(8).toString();
    for (int i = 0; i < 9; ++i) {
        const QVariant v = q.value(9 + i);
        if (!v.isNull())
            m.saetze[size_t(i)] = v.toInt();
    }
    m.gruppe = intOr(q.value(18), -1);
    m.phase = intOr(q.value(19), 0);
    return m;
}

} // namespace

QList<StandingsRow> readGroupStandings(const QSqlDatabase& db, int kid, int gid)
{
    QSqlQuery q = execute(db,
                          s("SELECT ") + s(kStandingsColumns) +
                              s(" FROM Tabellen WHERE KID=:k AND GID=:g ORDER BY pos,SID"),
                          {{s("k"), kid}, {s("g"), gid}});
    QList<StandingsRow> rows;
    while (q.next())
        rows.append(standingsRow(q));
    return rows;
}

QHash<int, int> readDrawOrder(const QSqlDatabase& db, int kid, int gid)
{
    QSqlQuery q = execute(db, s("SELECT SID,pos FROM Gruppen WHERE KID=:k AND GID=:g AND SID>-1"),
                          {{s("k"), kid}, {s("g"), gid}});
    QHash<int, int> order;
    while (q.next())
        order.insert(q.value(0).toInt(), q.value(1).toInt());
    return order;
}

QList<StandingsRow> readPlacedAt(const QSqlDatabase& db, int kid, int phase, int pos)
{
    QSqlQuery q = execute(db,
                          s("SELECT ") + s(kStandingsColumns) +
                              s(" FROM Tabellen WHERE KID=:k AND phase=:ph AND pos=:p AND SID>-1 ORDER BY GID,SID"),
                          {{s("k"), kid}, {s("ph"), phase}, {s("p"), pos}});
    QList<StandingsRow> rows;
    while (q.next())
        rows.append(standingsRow(q));
    return rows;
}

QList<GroupMatch> readGroupMatches(const QSqlDatabase& db, int kid, int gid)
{
    QSqlQuery q = execute(db,
                          s("SELECT ") + s(kMatchColumns) +
                              s(" FROM Spielplan WHERE KID=:k AND gruppe=:g ORDER BY spielnummer"),
                          {{s("k"), kid}, {s("g"), gid}});
    QList<GroupMatch> matches;
    while (q.next())
        matches.append(groupMatch(q));
    return matches;
}

namespace {

const char* const kGameColumns = "spielnummer,nummer,ergebnis,satz1,satz2,satz3,satz4,satz5,satz6,satz7,satz8,satz9";

GameScore gameScore(const QSqlQuery& q)
{
    GameScore g;
    g.nummer = q.value(1).toInt();
    g.ergebnis = q.value(2).toString();
    for (int i = 0; i < 9; ++i) {
        const QVariant v = q.value(3 + i);
        if (!v.isNull())
            g.saetze[size_t(i)] = v.toInt();
    }
    return g;
}

} // namespace

void readGroupGames(const QSqlDatabase& db, int kid, int gid, QList<GroupMatch>& matches)
{
    QSqlQuery q = execute(db,
                          s("SELECT ") + s(kGameColumns) +
                              s(" FROM Teamspiele WHERE KID=:k AND spielnummer IN "
                                "(SELECT spielnummer FROM Spielplan WHERE KID=:k AND gruppe=:g) "
                                "ORDER BY spielnummer,nummer"),
                          {{s("k"), kid}, {s("g"), gid}});
    while (q.next()) {
        const int spielnummer = q.value(0).toInt();
        for (GroupMatch& m : matches) {
            if (m.spielnummer == spielnummer)
                m.spiele.append(gameScore(q));
        }
    }
}

QList<GameScore> readMatchGames(const QSqlDatabase& db, int kid, int spielnummer)
{
    QSqlQuery q = execute(db,
                          s("SELECT ") + s(kGameColumns) +
                              s(" FROM Teamspiele WHERE KID=:k AND spielnummer=:n ORDER BY nummer"),
                          {{s("k"), kid}, {s("n"), spielnummer}});
    QList<GameScore> games;
    while (q.next())
        games.append(gameScore(q));
    return games;
}

std::optional<GroupMatch> readGroupMatch(const QSqlDatabase& db, int kid, int spielnummer)
{
    QSqlQuery q = execute(db, s("SELECT ") + s(kMatchColumns) + s(" FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                          {{s("k"), kid}, {s("n"), spielnummer}});
    if (!q.next())
        return std::nullopt;
    return groupMatch(q);
}

QList<int> openMatchesOfPhase(const QSqlDatabase& db, int kid, int phase)
{
    QSqlQuery q = execute(db,
                          s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND phase=:p AND beendet=0 "
                            "AND spieler1<>'' AND spieler2<>'' ORDER BY spielnummer"),
                          {{s("k"), kid}, {s("p"), phase}});
    QList<int> numbers;
    while (q.next())
        numbers.append(q.value(0).toInt());
    return numbers;
}

std::optional<int> readClassSystem(const QSqlDatabase& db, int kid)
{
    const QVariant v = scalar(db, s("SELECT system FROM Turnierklassen WHERE KID=:k"), {{s("k"), kid}});
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}

void writePositions(const QSqlDatabase& db, int kid, int gid, const QList<PositionChange>& changes)
{
    if (changes.isEmpty())
        return;
    // Rows without an entrant are told apart by their old position; they pass
    // through -1000 - new position so that none is found twice.
    constexpr int kParked = -1000;
    inTransaction(db, [&] {
        bool parked = false;
        for (const PositionChange& c : changes) {
            if (c.sid > -1) {
                execute(db, s("UPDATE Tabellen SET pos=:p WHERE KID=:k AND GID=:g AND SID=:s"),
                        {{s("p"), c.newPos}, {s("k"), kid}, {s("g"), gid}, {s("s"), c.sid}});
            } else {
                execute(db, s("UPDATE Tabellen SET pos=:p WHERE KID=:k AND GID=:g AND SID=:s AND pos=:old"),
                        {{s("p"), kParked - c.newPos}, {s("k"), kid}, {s("g"), gid}, {s("s"), c.sid},
                         {s("old"), c.oldPos}});
                parked = true;
            }
        }
        if (parked)
            execute(db, s("UPDATE Tabellen SET pos=:base-pos WHERE KID=:k AND GID=:g AND pos<=:base"),
                    {{s("base"), kParked}, {s("k"), kid}, {s("g"), gid}});
    });
}

void writeCounters(const QSqlDatabase& db, int kid, int gid, int sid, const StandingsCounters& c)
{
    execute(db,
            s("UPDATE Tabellen SET spielanzahl=:n,matchegewonnen=:mg,matcheverloren=:mv,spielegewonnen=:sg,"
              "spieleverloren=:sv,saetzegewonnen=:ag,saetzeverloren=:av,punktegewonnen=:pg,punkteverloren=:pv "
              "WHERE KID=:k AND GID=:g AND SID=:s"),
            {{s("n"), c.spielanzahl},
             {s("mg"), c.matchegewonnen},
             {s("mv"), c.matcheverloren},
             {s("sg"), c.spielegewonnen},
             {s("sv"), c.spieleverloren},
             {s("ag"), c.saetzegewonnen},
             {s("av"), c.saetzeverloren},
             {s("pg"), c.punktegewonnen},
             {s("pv"), c.punkteverloren},
             {s("k"), kid},
             {s("g"), gid},
             {s("s"), sid}});
}

namespace {

// The slots and places fed by (parentGID, parentpos), within `phase` when it
// is above 0.
SendOnResult sendOn(const QSqlDatabase& db, int kid, int parentGID, int parentpos, int phase,
                    const PlaceEntrant& entrant)
{
    const bool known = entrant.sid > -1;
    const QString phaseFilter = phase > 0 ? s(" AND phase=:ph") : QString();
    SqlParams where{{s("k"), kid}, {s("g"), parentGID}, {s("p"), parentpos}};
    if (phase > 0)
        where.insert(s("ph"), phase);
    SendOnResult result;
    for (const int side : {1, 2}) {
        const QString n = QString::number(side);
        // Knock-out slots (gruppe below 0 or Null) and the slots of group matches.
        for (const bool groupMatch : {false, true}) {
            const QString kind = groupMatch ? s(" AND gruppe>=0") : s(" AND (gruppe<0 OR gruppe IS NULL)");
            const PlaceEntrant slot = known      ? entrant
                                      : groupMatch ? PlaceEntrant{leererPlatz, QStringLiteral("")}
                                                   : PlaceEntrant{Freilos, kFreilosText};
            SqlParams params = where;
            params.insert(s("s"), slot.sid);
            params.insert(s("b"), slot.bez);
            const QString fed = s("KID=:k AND parentGID") + n + s("=:g AND parentpos") + n + s("=:p") + kind + phaseFilter;
            // A match called, running or finished keeps who plays or played it.
            QSqlQuery kept = execute(db,
                                     s("SELECT spielnummer,phase,SID") + n + s(" FROM Spielplan WHERE ") + fed +
                                         s(" AND NOT (in_planung=0 AND begonnen=0 AND beendet=0) AND SID") + n +
                                         s("<>:s ORDER BY spielnummer"),
                                     params);
            while (kept.next())
                result.kept.append(
                    {kept.value(0).toInt(), kept.value(1).toInt(), parentGID, parentpos, kept.value(2).toInt(), slot});
            const QString fedOpen = fed + s(" AND in_planung=0 AND begonnen=0 AND beendet=0");
            const int changed =
                execute(db, s("UPDATE Spielplan SET SID") + n + s("=:s,spieler") + n + s("=:b WHERE ") + fedOpen, params)
                    .numRowsAffected();
            // The games of every match fed, so that each of them can start.
            if (changed > 0)
                execute(db,
                        s("UPDATE Teamspiele SET MID") + n + s("=:s,spieler") + n +
                            s("=:b WHERE KID=:k AND spielnummer IN (SELECT spielnummer FROM Spielplan WHERE ") + fedOpen +
                            s(")"),
                        params);
            result.written += changed;
            if (!known && !groupMatch && changed > 0)
                result.byes = true;
        }
    }
    SqlParams params = where;
    params.insert(s("s"), known ? entrant.sid : leererPlatz);
    params.insert(s("b"), known ? entrant.bez : QStringLiteral(""));
    for (const char* table : {"Gruppen", "Tabellen"}) {
        QSqlQuery q = execute(db,
                              s("UPDATE ") + s(table) +
                                  s(" SET SID=:s,bez=:b WHERE KID=:k AND parentGID=:g AND parentpos=:p") + phaseFilter,
                              params);
        result.written += q.numRowsAffected();
    }
    return result;
}

} // namespace

SendOnResult sendOnPlace(const QSqlDatabase& db, int kid, int gid, int pos, const PlaceEntrant& entrant)
{
    return sendOn(db, kid, gid, pos, 0, entrant);
}

SendOnResult sendOnBestPlaced(const QSqlDatabase& db, int kid, int phase, int rank, const PlaceEntrant& entrant)
{
    return sendOn(db, kid, -3, rank, phase, entrant);
}

} // namespace bw
