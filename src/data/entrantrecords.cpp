#include "data/entrantrecords.h"

#include "data/playerrecords.h"
#include "data/sql.h"
#include "platform/germantext.h"

#include <QSet>

#include <algorithm>

namespace bw {

namespace {

// The player columns every query below selects first, with his check-in in the
// class: SID, nachname, vorname, verein, mann, gemeldet.
EntrantPlayer playerAt(const QSqlQuery& q, int first)
{
    EntrantPlayer p;
    p.sid = q.value(first).toInt();
    p.nachname = q.value(first + 1).toString();
    p.vorname = q.value(first + 2).toString();
    p.verein = q.value(first + 3).toString();
    p.mann = q.value(first + 4).toInt() != 0;
    p.gemeldet = q.value(first + 5).toInt() != 0;
    return p;
}

bool byName(const EntrantPlayer& a, const EntrantPlayer& b)
{
    return nameLessThan(a.nachname, a.vorname, b.nachname, b.vorname);
}

QList<EntrantPlayer> sortedPlayers(QSqlQuery q)
{
    QList<EntrantPlayer> players;
    while (q.next())
        players.append(playerAt(q, 0));
    std::stable_sort(players.begin(), players.end(), byName);
    return players;
}

} // namespace

QList<EntrantPlayer> classEntrantPlayers(const QSqlDatabase& db, int kid)
{
    return sortedPlayers(execute(db,
                                 s("SELECT s.SID, s.nachname, s.vorname, s.verein, s.mann, t.gemeldet "
                                   "FROM Spielerdaten s INNER JOIN Spieler_im_turnier t ON s.SID=t.SID "
                                   "WHERE t.KID=:k"),
                                 {{s("k"), kid}}));
}

QList<EntrantPair> classPairs(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT s.SID, s.nachname, s.vorname, s.verein, s.mann, t.gemeldet, "
                            "p.SID, p.nachname, p.vorname, p.verein, p.mann, u.gemeldet "
                            "FROM Doppelpartner d "
                            "INNER JOIN Spielerdaten s ON d.SID=s.SID "
                            "INNER JOIN Spielerdaten p ON d.partner_SID=p.SID "
                            "LEFT JOIN Spieler_im_turnier t ON t.SID=d.SID AND t.KID=d.KID "
                            "LEFT JOIN Spieler_im_turnier u ON u.SID=d.partner_SID AND u.KID=d.KID "
                            "WHERE d.KID=:k"),
                          {{s("k"), kid}});
    QList<EntrantPair> rows;
    while (q.next())
        rows.append({playerAt(q, 0), playerAt(q, 6)});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const EntrantPair& a, const EntrantPair& b) { return byName(a.first, b.first); });
    // Each pair is stored twice, once from either side; the first in name order
    // stands for it.
    QList<EntrantPair> pairs;
    QSet<int> listed;
    for (const EntrantPair& row : rows) {
        if (listed.contains(row.second.sid) || listed.contains(row.first.sid))
            continue;
        listed << row.first.sid << row.second.sid;
        pairs.append(row);
    }
    return pairs;
}

QList<EntrantPlayer> playersWithoutPartner(const QSqlDatabase& db, int kid)
{
    return sortedPlayers(execute(db,
                                 s("SELECT s.SID, s.nachname, s.vorname, s.verein, s.mann, t.gemeldet "
                                   "FROM Doppelpartner d INNER JOIN Spielerdaten s ON d.SID=s.SID "
                                   "LEFT JOIN Spieler_im_turnier t ON t.SID=d.SID AND t.KID=d.KID "
                                   "WHERE d.KID=:k AND d.partner_SID IS NULL"),
                                 {{s("k"), kid}}));
}

QList<EntrantTeam> classTeams(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT MID, teamname, verein, s1, angemeldet FROM Teams WHERE KID=:k"),
                          {{s("k"), kid}});
    QList<EntrantTeam> teams;
    while (q.next()) {
        teams.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toInt(),
                      q.value(4).toInt() != 0});
    }
    const QCollator collator = german::collator();
    std::stable_sort(teams.begin(), teams.end(), [&](const EntrantTeam& a, const EntrantTeam& b) {
        return collator.compare(a.teamname, b.teamname) < 0;
    });
    return teams;
}

} // namespace bw
