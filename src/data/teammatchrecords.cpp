#include "data/teammatchrecords.h"

#include "data/dbvalue.h"
#include "data/matchrecords.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QSqlQuery>

namespace bw {

namespace {

int intOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

std::optional<int> optionalInt(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
}

std::optional<QString> optionalText(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional<QString>(value.toString());
}

QVariant positionOrNull(const std::optional<int>& position)
{
    return position ? QVariant(*position) : QVariant(QMetaType::fromType<int>());
}

// Writes every game of the match from `games` (those of numbers the match has).
void writeGames(const QSqlDatabase& db, int kid, int spielnummer, const std::vector<TeamGamePlan>& games,
                bool withTable)
{
    QSqlQuery first = execute(db,
                              s("SELECT spieler1,spieler2 FROM Teamspiele WHERE KID=:k AND spielnummer=:n "
                                "ORDER BY nummer"),
                              {{s("k"), kid}, {s("n"), spielnummer}});
    if (!first.next())
        return;
    const QVariant spieler1 = first.value(0);
    const QVariant spieler2 = first.value(1);
    const QString sql = s("UPDATE Teamspiele SET schiri=:s,") + (withTable ? s("an_platte=:d0,") : QString())
                        + s("geplanter_tisch=:d1,geplanter_tag=:d2,geplante_zeit=:d3,spieler1=:d4,spieler2=:d5,"
                            "SID1=-1,SID2=-1,sbez1=:sb1,sbez2=:sb2,p1=:p1,p2=:p2 "
                            "WHERE KID=:k AND spielnummer=:n AND nummer=:nr");
    for (const TeamGamePlan& game : games) {
        SqlParams params{{s("s"), textOrNull(game.plan.schiri)},
                         {s("d1"), textOrNull(game.plan.tisch)},
                         {s("d2"), dayOrNull(game.plan.tag)},
                         {s("d3"), timeOrNull(game.plan.zeit)},
                         {s("d4"), spieler1},
                         {s("d5"), spieler2},
                         {s("sb1"), textOrNull(game.sbez1)},
                         {s("sb2"), textOrNull(game.sbez2)},
                         {s("p1"), positionOrNull(game.p1)},
                         {s("p2"), positionOrNull(game.p2)},
                         {s("k"), kid},
                         {s("n"), spielnummer},
                         {s("nr"), game.nummer}};
        if (withTable)
            params.insert(s("d0"), textOrNull(game.plan.tisch));
        execute(db, sql, params);
    }
}

// Inside the call-up's transaction: the games' tables (unless the match is
// started by hand) and umpires must not be in use by another called or running
// match of the class, be it a team match's game or a match of its own.
void checkGameResources(const QSqlDatabase& db, int kid, int spielnummer, const std::vector<TeamGamePlan>& games,
                        bool manuell)
{
    QSqlQuery busy = execute(db,
                             s("SELECT p.spielnummer,p.an_platte,p.schiri FROM Spielplan p WHERE p.KID=:k "
                               "AND p.spielnummer<>:n AND p.beendet=0 AND (p.in_planung<>0 OR p.begonnen<>0) "
                               "UNION ALL SELECT t.spielnummer,t.an_platte,t.schiri FROM Teamspiele t "
                               "INNER JOIN Spielplan p ON p.KID=t.KID AND p.spielnummer=t.spielnummer "
                               "WHERE t.KID=:k AND t.spielnummer<>:n AND p.beendet=0 "
                               "AND (p.in_planung<>0 OR p.begonnen<>0)"),
                             {{s("k"), kid}, {s("n"), spielnummer}});
    while (busy.next()) {
        const int other = busy.value(0).toInt();
        const QString platte = busy.value(1).toString().trimmed();
        const QString schiri = busy.value(2).toString().trimmed();
        for (const TeamGamePlan& game : games) {
            if (!manuell && !platte.isEmpty() && game.plan.tisch.trimmed() == platte)
                throw ResourceBusy(
                    QStringLiteral("Tisch %1 ist inzwischen mit Spiel %2 belegt.").arg(platte).arg(other));
            if (!schiri.isEmpty() && game.plan.schiri.trimmed() == schiri)
                throw ResourceBusy(QStringLiteral("Der Schiedsrichter %1 ist inzwischen in Spiel %2 eingesetzt.")
                                        .arg(schiri)
                                        .arg(other));
        }
    }
}

} // namespace

std::vector<TeamGameRow> readTeamGames(const QSqlDatabase& db, int kid, int spielnummer)
{
    QString columns = s("nummer,MID1,MID2,spieler1,spieler2,gruppe,geplanter_tag,geplante_zeit,geplanter_tisch,"
                        "schiri,an_platte,sbez1,sbez2,p1,p2,ergebnis");
    for (int k = 1; k <= 9; ++k)
        columns += s(",satz") + QString::number(k);
    QSqlQuery q = execute(db,
                          s("SELECT ") + columns
                              + s(" FROM Teamspiele WHERE KID=:k AND spielnummer=:n ORDER BY nummer"),
                          {{s("k"), kid}, {s("n"), spielnummer}});
    std::vector<TeamGameRow> games;
    while (q.next()) {
        TeamGameRow g;
        g.nummer = q.value(0).toInt();
        g.mid1 = intOr(q.value(1), -1);
        g.mid2 = intOr(q.value(2), -1);
        g.spieler1 = q.value(3).toString();
        g.spieler2 = q.value(4).toString();
        g.gruppe = intOr(q.value(5), -1);
        g.geplanterTag = readDate(q.value(6));
        g.geplanteZeit = readDateTime(q.value(7)).time();
        g.geplanterTisch = q.value(8).toString();
        g.schiri = q.value(9).toString();
        g.anPlatte = q.value(10).toString();
        g.sbez1 = optionalText(q.value(11));
        g.sbez2 = optionalText(q.value(12));
        g.p1 = optionalInt(q.value(13));
        g.p2 = optionalInt(q.value(14));
        g.ergebnis = q.value(15).toString();
        for (int k = 0; k < 9; ++k)
            g.saetze[size_t(k)] = optionalInt(q.value(16 + k));
        games.push_back(std::move(g));
    }
    return games;
}

std::optional<TeamRoster> readTeamRoster(const QSqlDatabase& db, int mid)
{
    if (mid <= 0)
        return std::nullopt;
    std::vector<TeamRoster> teams = readTeamRosters(db, TeamScope::Team, mid);
    if (teams.empty())
        return std::nullopt;
    return std::move(teams.front());
}

void planTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected,
                   const std::vector<TeamGamePlan>& games, bool withTable)
{
    inTransaction(db, [&] {
        expectMatchStage(db, kid, spielnummer, expected);
        writeGames(db, kid, spielnummer, games, withTable);
    });
}

void callTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, const std::vector<TeamGamePlan>& games,
                   bool manuell, const QDateTime& moment)
{
    inTransaction(db, [&] {
        lockClassMatches(db, kid);
        expectMatchStage(db, kid, spielnummer, MatchStage::Open);
        checkGameResources(db, kid, spielnummer, games, manuell);
        writeGames(db, kid, spielnummer, games, true);
        // The match row keeps no table and umpire of its own: its games carry them.
        callMatch(db, kid, spielnummer, {}, {QString(), QString(), manuell, moment});
    });
}

void startTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, const std::vector<TeamGamePlan>& games,
                    const QDateTime& moment)
{
    inTransaction(db, [&] {
        expectMatchStage(db, kid, spielnummer, MatchStage::Called);
        writeGames(db, kid, spielnummer, games, true);
        startMatch(db, kid, spielnummer, MatchStage::Called, {}, {}, moment);
    });
}

void setTeamGamesBack(const QSqlDatabase& db, int kid, int spielnummer, bool called)
{
    const SqlParams key{{s("k"), kid}, {s("n"), spielnummer}};
    if (!called) {
        SqlParams params = key;
        params.insert(s("p"), false);
        execute(db, s("UPDATE Teamspiele SET in_planung=:p WHERE KID=:k AND spielnummer=:n"), params);
        return;
    }
    SqlParams params = key;
    params.insert(s("b"), false);
    params.insert(s("p"), true);
    execute(db, s("UPDATE Teamspiele SET spielstart=NULL,begonnen=:b,in_planung=:p WHERE KID=:k AND spielnummer=:n"),
            params);
}

bool plattencheck(const QSqlDatabase& db, int kid, const QString& platte)
{
    return execute(db, s("SELECT platte FROM Platten1 WHERE KID=:k AND platte=:p"), {{s("k"), kid}, {s("p"), platte}})
        .next();
}

} // namespace bw
