#include "data/takebackrecords.h"

#include "data/dbvalue.h"
#include "data/planrecords.h"
#include "data/sql.h"

#include <QSqlQuery>

namespace bw {

namespace {

int intOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

const char* const kRowColumns =
    "spielnummer,phase,gruppe,SID1,spieler1,parentGID1,parentpos1,SID2,spieler2,parentGID2,parentpos2,"
    "parentspiel1,parentsieger1,parentspiel2,parentsieger2,siegerSID,verliererSID,in_planung,begonnen,beendet,"
    "manuell,an_platte,schiri,spielende";

QList<TakeBackRow> readRows(QSqlQuery q)
{
    QList<TakeBackRow> rows;
    while (q.next()) {
        TakeBackRow row;
        int c = 0;
        row.spielnummer = q.value(c++).toInt();
        row.phase = intOr(q.value(c++), 0);
        row.gruppe = intOr(q.value(c++), -1);
        for (MatchSide& side : row.sides) {
            side.id = intOr(q.value(c++), leererPlatz);
            side.text = q.value(c++).toString();
            side.parentGID = intOr(q.value(c++), -1);
            side.parentpos = intOr(q.value(c++), -1);
        }
        for (size_t k = 0; k < 2; ++k) {
            row.parentspiel[k] = intOr(q.value(c++), -1);
            row.parentsieger[k] = intOr(q.value(c++), 0) != 0;
        }
        row.siegerSID = intOr(q.value(c++), -1);
        row.verliererSID = intOr(q.value(c++), -1);
        row.inPlanung = intOr(q.value(c++), 0) != 0;
        row.begonnen = intOr(q.value(c++), 0) != 0;
        row.beendet = intOr(q.value(c++), 0) != 0;
        row.manuell = intOr(q.value(c++), 0) != 0;
        row.anPlatte = q.value(c++).toString();
        row.schiri = q.value(c++).toString();
        row.spielende = readDateTime(q.value(c++));
        rows.append(row);
    }
    return rows;
}

QList<TakeBackRow> select(const QSqlDatabase& db, const QString& where, const SqlParams& params)
{
    return readRows(
        execute(db, s("SELECT ") + s(kRowColumns) + s(" FROM Spielplan WHERE ") + where + s(" ORDER BY spielnummer"),
                params));
}

QString phaseFilter(int phase)
{
    return phase > 0 ? s(" AND phase=:ph") : QString();
}

} // namespace

MatchStage TakeBackRow::stage() const
{
    if (beendet)
        return MatchStage::Finished;
    if (begonnen)
        return MatchStage::Running;
    if (inPlanung)
        return MatchStage::Called;
    return MatchStage::Open;
}

std::optional<TakeBackRow> readTakeBackRow(const QSqlDatabase& db, int kid, int spielnummer)
{
    const QList<TakeBackRow> rows = select(db, s("KID=:k AND spielnummer=:n"), {{s("k"), kid}, {s("n"), spielnummer}});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<TakeBackRow> readRowsFedByMatch(const QSqlDatabase& db, int kid, int spielnummer)
{
    return select(db, s("KID=:k AND (parentspiel1=:n OR parentspiel2=:n) AND spielnummer<>:n"),
                  {{s("k"), kid}, {s("n"), spielnummer}});
}

QList<TakeBackRow> readRowsFedByPlace(const QSqlDatabase& db, int kid, int parentGID, int phase)
{
    SqlParams params{{s("k"), kid}, {s("g"), parentGID}};
    if (phase > 0)
        params.insert(s("ph"), phase);
    return select(db, s("KID=:k AND (parentGID1=:g OR parentGID2=:g)") + phaseFilter(phase), params);
}

QList<int> readFedPlaces(const QSqlDatabase& db, int kid, int parentGID, int phase)
{
    SqlParams params{{s("k"), kid}, {s("g"), parentGID}};
    if (phase > 0)
        params.insert(s("ph"), phase);
    QSqlQuery q = execute(db,
                          s("SELECT DISTINCT parentpos FROM Gruppen WHERE KID=:k AND parentGID=:g") + phaseFilter(phase) +
                              s(" ORDER BY parentpos"),
                          params);
    QList<int> places;
    while (q.next())
        places.append(intOr(q.value(0), -1));
    return places;
}

void clearMatchResult(const QSqlDatabase& db, int kid, int spielnummer)
{
    execute(db,
            s("UPDATE Spielplan SET beendet=0,satz1=NULL,satz2=NULL,satz3=NULL,satz4=NULL,satz5=NULL,satz6=NULL,"
              "satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,verliererSID=-1 "
              "WHERE KID=:k AND spielnummer=:n"),
            {{s("k"), kid}, {s("n"), spielnummer}});
}

void resetMatchSide(const QSqlDatabase& db, int kid, int spielnummer, int side, const QString& placeholder)
{
    const QString n = QString::number(side + 1);
    execute(db,
            s("UPDATE Spielplan SET SID") + n + s("=-1,spieler") + n +
                s("=:b,siegerSID=-1,verliererSID=-1,in_planung=0,begonnen=0 WHERE KID=:k AND spielnummer=:n"),
            {{s("b"), placeholder}, {s("k"), kid}, {s("n"), spielnummer}});
}

void clearGameResults(const QSqlDatabase& db, int kid, int spielnummer)
{
    execute(db,
            s("UPDATE Teamspiele SET beendet=0,satz1=NULL,satz2=NULL,satz3=NULL,satz4=NULL,satz5=NULL,satz6=NULL,"
              "satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,verliererSID=-1 "
              "WHERE KID=:k AND spielnummer=:n"),
            {{s("k"), kid}, {s("n"), spielnummer}});
}

void resetGameSides(const QSqlDatabase& db, int kid, int spielnummer, int side, const QString& placeholder)
{
    const QString n = QString::number(side + 1);
    execute(db,
            s("UPDATE Teamspiele SET MID") + n + s("=-1,SID") + n + s("=-1,spieler") + n +
                s("=:b,siegerSID=-1,verliererSID=-1,beendet=0,in_planung=0,begonnen=0 "
                  "WHERE KID=:k AND spielnummer=:n"),
            {{s("b"), placeholder}, {s("k"), kid}, {s("n"), spielnummer}});
}

int resetFedPlaces(const QSqlDatabase& db, int kid, int parentGID, int parentpos, int phase,
                   const QString& placeholder)
{
    SqlParams params{{s("k"), kid}, {s("g"), parentGID}, {s("p"), parentpos}, {s("s"), offenerQualifikant},
                     {s("b"), placeholder}};
    if (phase > 0)
        params.insert(s("ph"), phase);
    const QString where = s(" WHERE KID=:k AND parentGID=:g AND parentpos=:p") + phaseFilter(phase) +
                          s(" AND (SID IS NULL OR SID<>:s OR bez IS NULL OR bez<>:b)");
    int changed = execute(db, s("UPDATE Gruppen SET SID=:s,bez=:b") + where, params).numRowsAffected();
    changed += execute(db,
                       s("UPDATE Tabellen SET SID=:s,bez=:b,spielanzahl=0,matchegewonnen=0,matcheverloren=0,"
                         "spielegewonnen=0,spieleverloren=0,saetzegewonnen=0,saetzeverloren=0,punktegewonnen=0,"
                         "punkteverloren=0") +
                           where,
                       params)
                   .numRowsAffected();
    return changed;
}

bool setRunningAgain(const QSqlDatabase& db, int kid, int spielnummer)
{
    return execute(db,
                   s("UPDATE Spielplan SET begonnen=1,in_planung=0,beendet=0 "
                     "WHERE KID=:k AND spielnummer=:n AND beendet=0"),
                   {{s("k"), kid}, {s("n"), spielnummer}})
               .numRowsAffected() > 0;
}

bool clearCall(const QSqlDatabase& db, int kid, int spielnummer)
{
    return execute(db,
                   s("UPDATE Spielplan SET aufruf1_sp1=NULL,aufruf1_sp2=NULL,aufruf1_sch=NULL,aufruf2_sp1=NULL,"
                     "aufruf2_sp2=NULL,aufruf2_sch=NULL,aufruf3_sp1=NULL,aufruf3_sp2=NULL,aufruf3_sch=NULL,"
                     "in_planung=0 WHERE KID=:k AND spielnummer=:n AND in_planung<>0 AND begonnen=0 AND beendet=0"),
                   {{s("k"), kid}, {s("n"), spielnummer}})
               .numRowsAffected() > 0;
}

bool clearStart(const QSqlDatabase& db, int kid, int spielnummer)
{
    return execute(db,
                   s("UPDATE Spielplan SET spielstart=NULL,begonnen=0,in_planung=1 "
                     "WHERE KID=:k AND spielnummer=:n AND begonnen<>0 AND beendet=0"),
                   {{s("k"), kid}, {s("n"), spielnummer}})
               .numRowsAffected() > 0;
}

QList<int> fedEntrants(const QSqlDatabase& db, int kid, int spielnummer, int gruppe, int phase)
{
    QList<int> ids;
    const auto collect = [&](QSqlQuery q) {
        while (q.next())
            ids.append(intOr(q.value(0), leererPlatz));
        ids.append(-1000); // keeps the lists apart
    };
    for (const char* side : {"1", "2"}) {
        collect(execute(db,
                        s("SELECT SID") + s(side) + s(" FROM Spielplan WHERE KID=:k AND parentspiel") + s(side) +
                            s("=:n AND spielnummer<>:n ORDER BY spielnummer"),
                        {{s("k"), kid}, {s("n"), spielnummer}}));
    }
    if (gruppe < 0)
        return ids;
    // The places of the group, and of the best-placed list of the next phase.
    const struct {
        int parentGID;
        int phase;
    } sources[] = {{gruppe, 0}, {Bestplatziertenliste, phase + 1}};
    for (const auto& source : sources) {
        SqlParams params{{s("k"), kid}, {s("g"), source.parentGID}};
        if (source.phase > 0)
            params.insert(s("ph"), source.phase);
        for (const char* side : {"1", "2"}) {
            collect(execute(db,
                            s("SELECT SID") + s(side) + s(" FROM Spielplan WHERE KID=:k AND parentGID") + s(side) +
                                s("=:g") + phaseFilter(source.phase) + s(" ORDER BY spielnummer"),
                            params));
        }
        for (const char* table : {"Gruppen", "Tabellen"}) {
            collect(execute(db,
                            s("SELECT SID FROM ") + s(table) + s(" WHERE KID=:k AND parentGID=:g") +
                                phaseFilter(source.phase) + s(" ORDER BY GID,parentpos"),
                            params));
        }
    }
    return ids;
}

} // namespace bw
