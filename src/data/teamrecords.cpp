#include "data/teamrecords.h"

#include "data/classkind.h"
#include "data/concurrency.h"
#include "data/keys.h"
#include "data/playerrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/germantext.h"

#include <algorithm>

namespace bw {

namespace {

const QStringList kSlotColumns{QStringLiteral("s1"),   QStringLiteral("s2"),   QStringLiteral("s3"),
                               QStringLiteral("s4"),   QStringLiteral("r1"),   QStringLiteral("r2"),
                               QStringLiteral("d1_1"), QStringLiteral("d1_2"), QStringLiteral("d2_1"),
                               QStringLiteral("d2_2")};

std::optional<TeamMemberName> joinedMember(const QSqlQuery& q, int sidColumn)
{
    if (q.value(sidColumn).isNull())
        return std::nullopt;
    return TeamMemberName{q.value(sidColumn + 1).toString(), q.value(sidColumn + 2).toString()};
}

void sortByName(QList<NamedId>& list)
{
    const QCollator collator = german::collator();
    std::stable_sort(list.begin(), list.end(),
                     [&](const NamedId& a, const NamedId& b) { return collator.compare(a.name, b.name) < 0; });
}

QList<NamedId> namedIds(QSqlQuery q)
{
    QList<NamedId> list;
    while (q.next())
        list.append({q.value(0).toInt(), q.value(1).toString()});
    return list;
}

// "The player is one of the team's players or reserves" for a player :s.
const QString kMemberCondition =
    QStringLiteral("(s1=:s OR s2=:s OR s3=:s OR s4=:s OR r1=:s OR r2=:s)");

// The column values of the slot lists, null beyond a list's slots.
QList<QVariant> slotValues(const TeamSlots& lineup)
{
    QList<QVariant> values;
    auto add = [&](const QList<int>& list, int columns) {
        for (int i = 0; i < columns; ++i)
            values << (i < list.size() ? QVariant(list[i]) : QVariant());
    };
    add(lineup.players, 4);
    add(lineup.reserves, 2);
    add(lineup.double1, 2);
    add(lineup.double2, 2);
    return values;
}

} // namespace

std::vector<TeamRoster> readTeamRosters(const QSqlDatabase& db, TeamScope scope, int id)
{
    // One join per place (in the order of kSlotColumns); a place of 0 or below is empty.
    QString columns = s("SELECT t.teamname, t.verein");
    QString joins;
    for (int i = 0; i < kSlotColumns.size(); ++i) {
        const QString alias = QStringLiteral("m%1").arg(i);
        const QString place = QStringLiteral("t.") + kSlotColumns[i];
        columns += QStringLiteral(", %1.SID, %1.nachname, %1.vorname").arg(alias);
        joins += QStringLiteral(" LEFT JOIN Spielerdaten %1 ON %1.SID = %2 AND %2 > 0").arg(alias, place);
    }
    const QString where = scope == TeamScope::Tournament ? s(" WHERE t.TID = :id")
                          : scope == TeamScope::Class    ? s(" WHERE t.KID = :id")
                                                         : s(" WHERE t.MID = :id");
    QSqlQuery q = execute(db, columns + s(" FROM Teams t") + joins + where + s(" ORDER BY t.MID"), {{s("id"), id}});
    std::vector<TeamRoster> teams;
    while (q.next()) {
        TeamRoster t;
        t.teamname = q.value(0).toString();
        t.verein = q.value(1).toString();
        const auto place = [&](int i) { return joinedMember(q, 2 + 3 * i); };
        for (int k = 0; k < 4; ++k)
            t.spieler[size_t(k)] = place(k);
        for (int k = 0; k < 2; ++k)
            t.reserve[size_t(k)] = place(4 + k);
        for (int k = 0; k < 4; ++k)
            t.doppel[size_t(k)] = place(6 + k);
        teams.push_back(std::move(t));
    }
    return teams;
}

QList<NamedId> teamClasses(const QSqlDatabase& db, int tid)
{
    return namedIds(execute(db, s("SELECT KID, kbezeichnung FROM Turnierklassen WHERE TID=:id AND system=:team"),
                            {{s("id"), tid}, {s("team"), storedKind(ClassKind::Team)}}));
}

QList<NamedId> registeredPlayers(const QSqlDatabase& db, int kid)
{
    QList<NamedId> list;
    QSqlQuery q = execute(db,
                          QStringLiteral("SELECT s.SID, s.nachname, s.vorname FROM Spielerdaten s INNER JOIN "
                                         "Spieler_im_turnier st ON s.SID=st.SID WHERE st.KID=:id"),
                          {{QStringLiteral("id"), kid}});
    while (q.next())
        list.append({q.value(0).toInt(), displayName(q.value(1).toString(), q.value(2).toString())});
    sortByName(list);
    return list;
}

QStringList registeredClubs(const QSqlDatabase& db, int kid)
{
    QStringList clubs;
    QSqlQuery q = execute(db,
                          QStringLiteral("SELECT DISTINCT s.verein FROM Spielerdaten s INNER JOIN Spieler_im_turnier st "
                                         "ON s.SID=st.SID WHERE st.KID=:id"),
                          {{QStringLiteral("id"), kid}});
    while (q.next()) {
        const QString club = q.value(0).toString();
        if (!club.trimmed().isEmpty())
            clubs << club;
    }
    const QCollator collator = german::collator();
    std::sort(clubs.begin(), clubs.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return clubs;
}

QList<NamedId> classTeamList(const QSqlDatabase& db, int kid)
{
    QList<NamedId> list = namedIds(execute(db, QStringLiteral("SELECT MID, teamname FROM Teams WHERE KID=:id"),
                                           {{QStringLiteral("id"), kid}}));
    sortByName(list);
    return list;
}

std::pair<int, int> teamFormatSize(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT spieler, reserve FROM Teamsystem WHERE KID=:id"),
                          {{QStringLiteral("id"), kid}});
    if (!q.next())
        return {0, 0};
    return {std::clamp(q.value(0).toInt(), 0, 4), std::clamp(q.value(1).toInt(), 0, 2)};
}

std::optional<TeamRow> readTeam(const QSqlDatabase& db, int mid)
{
    QSqlQuery q = execute(db,
                          QStringLiteral("SELECT TID, KID, MID, teamname, verein, angemeldet, %1 FROM Teams WHERE MID=:id")
                              .arg(kSlotColumns.join(QLatin1Char(','))),
                          {{QStringLiteral("id"), mid}});
    if (!q.next())
        return std::nullopt;
    TeamRow row;
    row.tid = q.value(0).toInt();
    row.kid = q.value(1).toInt();
    row.mid = q.value(2).toInt();
    row.teamname = q.value(3).toString();
    row.verein = q.value(4).toString();
    row.angemeldet = q.value(5).toInt() != 0;
    for (int i = 0; i < kSlotColumns.size(); ++i) {
        const QVariant v = q.value(6 + i);
        row.slotColumns << (v.isNull() ? QVariant() : QVariant(v.toInt()));
    }
    return row;
}

std::optional<NamedId> teamOfPlayer(const QSqlDatabase& db, int kid, int sid)
{
    const QList<NamedId> teams =
        namedIds(execute(db, QStringLiteral("SELECT MID, teamname FROM Teams WHERE KID=:id AND ") + kMemberCondition,
                         {{QStringLiteral("id"), kid}, {QStringLiteral("s"), sid}}));
    if (teams.isEmpty())
        return std::nullopt;
    return teams.first();
}

QSet<int> playersInTeams(const QSqlDatabase& db, int kid)
{
    QSet<int> players;
    QSqlQuery q = execute(db, QStringLiteral("SELECT s1, s2, s3, s4, r1, r2 FROM Teams WHERE KID=:id"),
                          {{QStringLiteral("id"), kid}});
    while (q.next()) {
        for (int i = 0; i < 6; ++i) {
            const int sid = q.value(i).toInt();
            if (sid > 0)
                players.insert(sid);
        }
    }
    return players;
}

std::optional<int> teamByName(const QSqlDatabase& db, int kid, const QString& name)
{
    const QVariant mid = scalar(db, QStringLiteral("SELECT MID FROM Teams WHERE teamname=:t AND KID=:id"),
                                {{QStringLiteral("t"), name}, {QStringLiteral("id"), kid}});
    if (mid.isNull())
        return std::nullopt;
    return mid.toInt();
}

std::optional<QString> playerName(const QSqlDatabase& db, int sid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT nachname, vorname FROM Spielerdaten WHERE SID=:id"),
                          {{QStringLiteral("id"), sid}});
    if (!q.next())
        return std::nullopt;
    return displayName(q.value(0).toString(), q.value(1).toString());
}

int storeTeam(const QSqlDatabase& db, int tid, int kid, int mid, const QString& name, const QString& club,
              const TeamSlots& lineup)
{
    const QList<QVariant> values = slotValues(lineup);
    SqlParams p{{QStringLiteral("teamname"), name}, {QStringLiteral("verein"), club}};
    for (int i = 0; i < kSlotColumns.size(); ++i)
        p.insert(kSlotColumns[i], values[i]);

    return inTransaction(db, [&] {
        int id = mid;
        if (id == 0) {
            id = nextKey(db, QStringLiteral("Teams"));
            // A desk deleting the class meanwhile takes the new team with it.
            if (!lockRow(db, QStringLiteral("Turnierklassen"), kid, RowLock::Share))
                throw StaleRecord::gone(QStringLiteral("Die Klasse"));
            p.insert(QStringLiteral("tid"), tid);
            p.insert(QStringLiteral("kid"), kid);
            p.insert(QStringLiteral("mid"), id);
            p.insert(QStringLiteral("angemeldet"), false);
            execute(db,
                    QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname, %1, angemeldet, verein) VALUES "
                                   "(:tid, :kid, :mid, :teamname, :%2, :angemeldet, :verein)")
                        .arg(kSlotColumns.join(QStringLiteral(", ")), kSlotColumns.join(QStringLiteral(", :"))),
                    p);
        } else {
            if (!lockRow(db, QStringLiteral("Teams"), id, RowLock::Update))
                throw StaleRecord::gone(QStringLiteral("Das Team"));
            const std::optional<TeamRow> old = readTeam(db, id);
            QStringList assignments;
            for (const QString& column : kSlotColumns)
                assignments << column + QStringLiteral("=:") + column;
            p.insert(QStringLiteral("mid"), id);
            execute(db,
                    QStringLiteral("UPDATE Teams SET teamname=:teamname, %1, verein=:verein WHERE MID=:mid")
                        .arg(assignments.join(QStringLiteral(", "))),
                    p);
            // Players taken out of the team (replaced in their slot) lose its name.
            execute(db, QStringLiteral("UPDATE Doppelpartner SET mannschaft=NULL WHERE KID=:id AND mannschaft=:n"),
                    {{QStringLiteral("id"), kid}, {QStringLiteral("n"), old->teamname}});
        }
        for (const QVariant& sid : values) {
            if (sid.toInt() == 0)
                continue;
            execute(db, QStringLiteral("UPDATE Doppelpartner SET mannschaft=:n WHERE KID=:id AND SID=:s"),
                    {{QStringLiteral("n"), name}, {QStringLiteral("id"), kid}, {QStringLiteral("s"), sid}});
        }
        return id;
    });
}

void deleteTeam(const QSqlDatabase& db, int kid, int mid, const QString& name)
{
    inTransaction(db, [&] {
        execute(db, QStringLiteral("DELETE FROM Teams WHERE MID=:id"), {{QStringLiteral("id"), mid}});
        execute(db, QStringLiteral("UPDATE Doppelpartner SET mannschaft=NULL WHERE KID=:id AND mannschaft=:n"),
                {{QStringLiteral("id"), kid}, {QStringLiteral("n"), name}});
    });
}

void clearPlayerTeam(const QSqlDatabase& db, int kid, int sid)
{
    execute(db, QStringLiteral("UPDATE Doppelpartner SET mannschaft=NULL WHERE SID=:s AND KID=:id"),
            {{QStringLiteral("s"), sid}, {QStringLiteral("id"), kid}});
}

} // namespace bw
