#include "data/planviewrecords.h"

#include "data/dbvalue.h"
#include "data/sql.h"
#include "platform/germantext.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace bw {

namespace {

int intOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

} // namespace

std::optional<PlanClassRow> readPlanClass(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT saetze,system,platten,punkteprosieg,atag,uhrzeit FROM Turnierklassen WHERE KID=:k"),
                          {{s("k"), kid}});
    if (!q.next())
        return std::nullopt;
    PlanClassRow row;
    row.saetze = intOr(q.value(0), 0);
    row.system = intOr(q.value(1), 0);
    row.platten = intOr(q.value(2), 0);
    row.punkteprosieg = intOr(q.value(3), 0);
    row.atag = readDate(q.value(4));
    row.uhrzeit = readDateTime(q.value(5));
    return row;
}

PlanSettingsRow readPlanSettings(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT phase1,phase2,phase3,gruppenanzahl1,gruppenanzahl2,gruppenanzahl3,"
                            "teilnehmer1,teilnehmer2,teilnehmer3,besten1,besten2,besten3,"
                            "bestplazierten1,bestplazierten2,bestplazierten3,plattenbez "
                            "FROM Gruppeneinstellungen WHERE KID=:k"),
                          {{s("k"), kid}});
    PlanSettingsRow row;
    if (!q.next())
        return row;
    row.present = true;
    for (int i = 0; i < 3; ++i) {
        row.phase[i] = intOr(q.value(i), -1);
        row.gruppenanzahl[i] = intOr(q.value(3 + i), -1);
        row.teilnehmer[i] = intOr(q.value(6 + i), -1);
        row.besten[i] = intOr(q.value(9 + i), -1);
        row.bestplazierten[i] = intOr(q.value(12 + i), -1);
    }
    row.plattenbez = q.value(15).toString();
    return row;
}

QList<PlanPlaceRow> readPlanPlaces(const QSqlDatabase& db, int kid, int phase)
{
    QSqlQuery q = execute(db, s("SELECT GID,pos,SID,bez FROM Gruppen WHERE KID=:k AND phase=:p ORDER BY GID,pos"),
                          {{s("k"), kid}, {s("p"), phase}});
    QList<PlanPlaceRow> rows;
    while (q.next())
        rows.append({q.value(0).toInt(), q.value(1).toInt(), intOr(q.value(2), 0), q.value(3).toString()});
    return rows;
}

QList<PlanStandingsRow> readPlanStandings(const QSqlDatabase& db, int kid, int phase)
{
    QSqlQuery q = execute(db,
                          s("SELECT GID,pos,SID,bez,matchegewonnen,matcheverloren,spielegewonnen,spieleverloren,"
                            "saetzegewonnen,saetzeverloren,punktegewonnen,punkteverloren FROM Tabellen "
                            "WHERE KID=:k AND phase=:p ORDER BY GID,pos"),
                          {{s("k"), kid}, {s("p"), phase}});
    QList<PlanStandingsRow> rows;
    while (q.next()) {
        PlanStandingsRow r;
        r.gid = q.value(0).toInt();
        r.pos = q.value(1).toInt();
        r.sid = intOr(q.value(2), 0);
        r.bez = q.value(3).toString();
        r.matchegewonnen = intOr(q.value(4), 0);
        r.matcheverloren = intOr(q.value(5), 0);
        r.spielegewonnen = intOr(q.value(6), 0);
        r.spieleverloren = intOr(q.value(7), 0);
        r.saetzegewonnen = intOr(q.value(8), 0);
        r.saetzeverloren = intOr(q.value(9), 0);
        r.punktegewonnen = intOr(q.value(10), 0);
        r.punkteverloren = intOr(q.value(11), 0);
        rows.append(r);
    }
    return rows;
}

QList<PlanMatchRow> readPlanMatches(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT spielnummer,SID1,spieler1,SID2,spieler2,phase,gruppe,beendet,in_planung,"
                            "begonnen,geplanter_tisch,parentspiel1,parentspiel2,ergebnis FROM Spielplan WHERE KID=:k "
                            "ORDER BY spielnummer"),
                          {{s("k"), kid}});
    QList<PlanMatchRow> rows;
    while (q.next()) {
        PlanMatchRow r;
        r.spielnummer = q.value(0).toInt();
        r.sid1 = intOr(q.value(1), 0);
        r.spieler1 = q.value(2).toString();
        r.sid2 = intOr(q.value(3), 0);
        r.spieler2 = q.value(4).toString();
        r.phase = intOr(q.value(5), 0);
        r.gruppe = intOr(q.value(6), -1);
        r.beendet = intOr(q.value(7), 0) != 0;
        r.inPlanung = intOr(q.value(8), 0) != 0;
        r.begonnen = intOr(q.value(9), 0) != 0;
        r.tischNull = q.value(10).isNull();
        r.geplanterTisch = q.value(10).toString();
        r.parentspiel1 = intOr(q.value(11), -1);
        r.parentspiel2 = intOr(q.value(12), -1);
        r.ergebnis = q.value(13).toString();
        rows.append(r);
    }
    return rows;
}

QHash<int, QStringList> readGroupTableNames(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT GID,platte FROM Platten WHERE KID=:k"), {{s("k"), kid}});
    QHash<int, QStringList> tables;
    while (q.next()) {
        QStringList& list = tables[intOr(q.value(0), -1)];
        const QString name = q.value(1).toString();
        if (!list.contains(name))
            list.append(name);
    }
    // Sorted here, not by the server's collation, so both backends offer the
    // same first free table: "Tisch 2" before "Tisch 10".
    for (QStringList& list : tables)
        list = german::sortedNames(list);
    return tables;
}

QStringList readClassTableNames(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT DISTINCT platte FROM Platten WHERE KID=:k"), {{s("k"), kid}});
    QStringList names;
    while (q.next())
        names.append(q.value(0).toString());
    // In the order of the groups' pools.
    return german::sortedNames(names);
}

QList<PlanReferee> readPlanReferees(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT s.SCHIRIID,s.snname,s.svname FROM Schiri s INNER JOIN Schiri_im_turnier st "
                            "ON s.SCHIRIID=st.SCHIRIID WHERE st.KID=:k AND s.sangemeldet<>0 "
                            "ORDER BY s.snname,s.svname,s.SCHIRIID"),
                          {{s("k"), kid}});
    QList<PlanReferee> rows;
    while (q.next())
        rows.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString()});
    return rows;
}

std::optional<PlayerCardRow> readPlayerCard(const QSqlDatabase& db, int sid)
{
    QSqlQuery q = execute(db, s("SELECT nachname,vorname,verein,geb FROM Spielerdaten WHERE SID=:id"), {{s("id"), sid}});
    if (!q.next())
        return std::nullopt;
    PlayerCardRow row;
    row.nachname = q.value(0).toString();
    row.vorname = q.value(1).toString();
    row.verein = q.value(2).toString();
    row.geb = readDate(q.value(3));
    QSqlQuery classes = execute(db,
                                s("SELECT t.kbezeichnung FROM Turnierklassen t INNER JOIN Spieler_im_turnier s "
                                  "ON t.KID=s.KID WHERE s.SID=:id"),
                                {{s("id"), sid}});
    while (classes.next())
        row.klassen.append(classes.value(0).toString());
    const QCollator order = german::collator();
    std::sort(row.klassen.begin(), row.klassen.end(), order);
    return row;
}

int readDoublesPartner(const QSqlDatabase& db, int sid, int kid)
{
    const QVariant partner = scalar(
        db, s("SELECT MIN(partner_SID) FROM Doppelpartner WHERE SID=:id AND KID=:k AND partner_SID>0"),
        {{s("id"), sid}, {s("k"), kid}});
    return intOr(partner, 0);
}

QString readPlayerClub(const QSqlDatabase& db, int sid)
{
    return scalar(db, s("SELECT verein FROM Spielerdaten WHERE SID=:id"), {{s("id"), sid}}).toString();
}

QString readTeamClub(const QSqlDatabase& db, int teamId)
{
    return scalar(db, s("SELECT verein FROM Teams WHERE MID=:id"), {{s("id"), teamId}}).toString();
}

QList<CalledMatchRow> readCalledMatches(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT schiri,aufruf1_sp1,aufruf1_sp2,aufruf1_sch,aufruf2_sp1,aufruf2_sp2,aufruf2_sch,"
                            "aufruf3_sp1,aufruf3_sp2,aufruf3_sch,spieler1,spieler2 FROM Spielplan "
                            "WHERE KID=:k AND in_planung<>0 ORDER BY spielnummer"),
                          {{s("k"), kid}});
    QList<CalledMatchRow> rows;
    while (q.next()) {
        CalledMatchRow row;
        if (!q.value(0).isNull())
            row.schiri = q.value(0).toString();
        for (int call = 0; call < 3; ++call)
            for (int who = 0; who < 3; ++who) {
                const QVariant value = q.value(1 + 3 * call + who);
                if (!value.isNull())
                    row.aufruf[call][who] = readDateTime(value);
            }
        row.spieler1 = q.value(10).toString();
        row.spieler2 = q.value(11).toString();
        rows.append(row);
    }
    return rows;
}

bool classHasStarted(const QSqlDatabase& db, int kid)
{
    return !scalar(db,
                   s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND (in_planung<>0 OR begonnen<>0 OR beendet<>0)"),
                   {{s("k"), kid}})
                .isNull();
}

bool phaseHasPlayedMatch(const QSqlDatabase& db, int kid, int phase)
{
    return !scalar(db,
                   s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND phase=:p "
                     "AND (in_planung<>0 OR begonnen<>0 OR beendet<>0)"),
                   {{s("k"), kid}, {s("p"), phase}})
                .isNull();
}

} // namespace bw
