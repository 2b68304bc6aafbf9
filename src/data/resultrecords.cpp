#include "data/resultrecords.h"

#include "data/dbvalue.h"
#include "data/sql.h"

namespace bw {

namespace {

QVariant setValue(const std::optional<int>& v)
{
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Int));
}

int fillSlots(const QSqlDatabase& db, const char* table, const char* idColumn, int kid, const QString& placeholder,
              int id, const QString& name)
{
    const SqlParams params{{s("id"), id}, {s("name"), name}, {s("bez"), placeholder}, {s("kid"), kid}};
    int changed = 0;
    for (const char* side : {"1", "2"}) {
        changed += execute(db,
                           s("UPDATE ") + s(table) + s(" SET ") + s(idColumn) + s(side) + s("=:id,spieler") + s(side) +
                               s("=:name WHERE spieler") + s(side) + s("=:bez AND KID=:kid"),
                           params)
                       .numRowsAffected();
    }
    return changed;
}

} // namespace

std::optional<MatchToRecord> readMatchToRecord(const QSqlDatabase& db, int kid, int spielnummer)
{
    QSqlQuery q = execute(db,
                          s("SELECT manuell,spieler1,spieler2,SID1,SID2,an_platte,schiri,phase,gruppe,beendet,"
                            "begonnen,in_planung FROM Spielplan WHERE KID=:kid AND spielnummer=:snr"),
                          {{s("kid"), kid}, {s("snr"), spielnummer}});
    if (!q.next())
        return std::nullopt;
    const auto intOr = [&q](int column, int null) { return q.value(column).isNull() ? null : q.value(column).toInt(); };
    MatchToRecord m;
    m.spielnummer = spielnummer;
    m.manuell = intOr(0, 0) != 0;
    m.spieler1 = q.value(1).toString();
    m.spieler2 = q.value(2).toString();
    m.sid1 = intOr(3, -1);
    m.sid2 = intOr(4, -1);
    m.anPlatte = q.value(5).toString();
    m.schiri = q.value(6).toString();
    m.phase = intOr(7, 0);
    m.gruppe = intOr(8, -1);
    m.beendet = intOr(9, 0) != 0;
    m.begonnen = intOr(10, 0) != 0;
    m.inPlanung = intOr(11, 0) != 0;
    return m;
}

int readPlattensystem(const QSqlDatabase& db, int kid, int gid)
{
    // Every place row of a group carries the group's table system.
    const QVariant v = scalar(db, s("SELECT MAX(plattensystem) FROM Gruppen WHERE KID=:kid AND GID=:gid"),
                              {{s("kid"), kid}, {s("gid"), gid}});
    return v.isNull() ? 0 : v.toInt();
}

bool storeMatchResult(const QSqlDatabase& db, int kid, int spielnummer, const MatchResultRow& row, ResultOver over)
{
    const QString guard = over == ResultOver::Running    ? s("beendet=0 AND begonnen=1")
                          : over == ResultOver::Finished ? s("beendet<>0")
                                                         : s("beendet=0");
    SqlParams params{{s("se"), row.spielende},
                     {s("erg"), row.ergebnis},
                     {s("ssid"), row.siegerSID},
                     {s("vsid"), row.verliererSID},
                     {s("kid"), kid},
                     {s("snr"), spielnummer}};
    for (int i = 0; i < 9; ++i)
        params.insert(s("s") + QString::number(i + 1), setValue(row.saetze[size_t(i)]));
    QSqlQuery q = execute(db,
                          s("UPDATE Spielplan SET spielende=:se,beendet=1,begonnen=0,satz1=:s1,satz2=:s2,satz3=:s3,"
                            "satz4=:s4,satz5=:s5,satz6=:s6,satz7=:s7,satz8=:s8,satz9=:s9,ergebnis=:erg,"
                            "siegerSID=:ssid,verliererSID=:vsid "
                            "WHERE KID=:kid AND spielnummer=:snr AND ") + guard,
                          params);
    return q.numRowsAffected() > 0;
}

void storeGameResult(const QSqlDatabase& db, int kid, int spielnummer, int nummer,
                     const std::array<std::optional<int>, 9>& saetze, const QString& ergebnis)
{
    SqlParams params{{s("erg"), ergebnis}, {s("kid"), kid}, {s("snr"), spielnummer}, {s("nr"), nummer}};
    for (int i = 0; i < 9; ++i)
        params.insert(s("s") + QString::number(i + 1), setValue(saetze[size_t(i)]));
    execute(db,
            s("UPDATE Teamspiele SET satz1=:s1,satz2=:s2,satz3=:s3,satz4=:s4,satz5=:s5,satz6=:s6,satz7=:s7,"
              "satz8=:s8,satz9=:s9,ergebnis=:erg WHERE KID=:kid AND spielnummer=:snr AND nummer=:nr"),
            params);
}

int fillWaitingSlots(const QSqlDatabase& db, int kid, const QString& placeholder, int sid, const QString& name)
{
    return fillSlots(db, "Spielplan", "SID", kid, placeholder, sid, name);
}

int fillWaitingGameSlots(const QSqlDatabase& db, int kid, const QString& placeholder, int mid, const QString& name)
{
    return fillSlots(db, "Teamspiele", "MID", kid, placeholder, mid, name);
}

std::optional<RefereeRecord> refereeRecordOfPlayer(const QSqlDatabase& db, int sid)
{
    QSqlQuery q = execute(db,
                          s("SELECT nachname,vorname,verein,geb,kverband,bverband,lverband,land,spklasse "
                            "FROM Spielerdaten WHERE SID=:sid"),
                          {{s("sid"), sid}});
    if (!q.next())
        return std::nullopt;
    RefereeRecord r;
    r.snname = q.value(0).toString();
    r.svname = q.value(1).toString();
    r.sverein = q.value(2).toString();
    if (!q.value(3).isNull())
        r.sgeb = readDate(q.value(3));
    r.skverband = q.value(4).toString();
    r.sbverband = q.value(5).toString();
    r.slverband = q.value(6).toString();
    r.sland = q.value(7).toString();
    r.sklasse = q.value(8).toString();
    r.sangemeldet = true;
    return r;
}

bool refereeNamed(const QSqlDatabase& db, int tid, const QString& nachname, const QString& vorname)
{
    return !scalar(db, s("SELECT SCHIRIID FROM Schiri WHERE snname=:n AND svname=:v AND TID=:tid"),
                   {{s("n"), nachname}, {s("v"), vorname}, {s("tid"), tid}})
                .isNull();
}

} // namespace bw
