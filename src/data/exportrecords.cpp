#include "data/exportrecords.h"

#include "data/dbvalue.h"
#include "data/sql.h"
#include "data/teamrecords.h"
#include "platform/germantext.h"

#include <algorithm>

namespace bw {

namespace {

std::optional<int> optionalInt(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

std::optional<QTime> optionalTime(const QVariant& value)
{
    const QDateTime moment = readWallClock(value);
    if (!moment.isValid())
        return std::nullopt;
    return moment.time();
}

} // namespace

std::vector<ExportClass> exportClasses(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          s("SELECT Turnierklassen.KID, Turnierklassen.kbezeichnung, Turnierklassen.system, "
                            "Gruppeneinstellungen.phase1, Gruppeneinstellungen.phase2, Gruppeneinstellungen.phase3 "
                            "FROM Turnierklassen LEFT JOIN Gruppeneinstellungen "
                            "ON Turnierklassen.KID = Gruppeneinstellungen.KID "
                            "WHERE Turnierklassen.TID = :tid ORDER BY Turnierklassen.KID"),
                          {{s("tid"), tid}});
    std::vector<ExportClass> classes;
    while (q.next()) {
        ExportClass c;
        c.kid = q.value(0).toInt();
        c.kbezeichnung = q.value(1).toString();
        c.system = classKindOf(q.value(2));
        for (int n = 0; n < 3; ++n)
            c.phases[size_t(n)] = optionalInt(q.value(3 + n));
        classes.push_back(std::move(c));
    }
    const QCollator collator = german::collator();
    std::stable_sort(classes.begin(), classes.end(), [&](const ExportClass& a, const ExportClass& b) {
        return collator.compare(a.kbezeichnung, b.kbezeichnung) < 0;
    });
    return classes;
}

QString exportClassName(const QSqlDatabase& db, int kid)
{
    return scalar(db, s("SELECT kbezeichnung FROM Turnierklassen WHERE KID = :kid"), {{s("kid"), kid}}).toString();
}

std::vector<ExportMatch> exportMatches(const QSqlDatabase& db, const ExportSelection& selection)
{
    const QString columns = s("SELECT Turnierklassen.kbezeichnung, Spielplan.phase, Spielplan.spielnummer, "
                              "Spielplan.spieler1, Spielplan.spieler2, Spielplan.ergebnis, Spielplan.an_platte, "
                              "Spielplan.schiri, Spielplan.spielstart, Spielplan.geplanter_tag, "
                              "Spielplan.geplante_zeit, Spielplan.gruppe "
                              "FROM Spielplan INNER JOIN Turnierklassen ON Spielplan.KID = Turnierklassen.KID ");
    QSqlQuery q;
    if (selection.kid == 0)
        q = execute(db, columns + s("WHERE Spielplan.TID = :tid ORDER BY Spielplan.KID, Spielplan.spielnummer"),
                    {{s("tid"), selection.tid}});
    else if (selection.phase == 0)
        q = execute(db, columns + s("WHERE Spielplan.KID = :kid ORDER BY Spielplan.spielnummer"),
                    {{s("kid"), selection.kid}});
    else
        q = execute(db,
                    columns + s("WHERE Spielplan.KID = :kid AND Spielplan.phase = :phase ORDER BY Spielplan.spielnummer"),
                    {{s("kid"), selection.kid}, {s("phase"), selection.phase}});
    std::vector<ExportMatch> matches;
    while (q.next()) {
        ExportMatch m;
        m.kbezeichnung = q.value(0).toString();
        m.phase = q.value(1).toInt();
        m.spielnummer = q.value(2).toInt();
        m.spieler1 = q.value(3).toString();
        m.spieler2 = q.value(4).toString();
        m.ergebnis = q.value(5).toString();
        m.an_platte = q.value(6).toString();
        m.schiri = q.value(7).toString();
        m.spielstart = readWallClock(q.value(8));
        m.geplanter_tag = readWallClock(q.value(9)).date();
        m.geplante_zeit = optionalTime(q.value(10));
        m.gruppe = q.value(11).isNull() ? -1 : q.value(11).toInt();
        matches.push_back(std::move(m));
    }
    return matches;
}

std::vector<ExportPlayer> exportPlayers(const QSqlDatabase& db, const ExportSelection& selection)
{
    const QString columns = s("SELECT Spielerdaten.nachname, Spielerdaten.vorname, Spielerdaten.geb, "
                              "Spielerdaten.verein, Spielerdaten.mann, Spielerdaten.bezahlt, Spielerdaten.email, "
                              "Spielerdaten.spielstaerke, Spielerdaten.spklasse, Spielerdaten.kverband, "
                              "Spielerdaten.bverband, Spielerdaten.lverband, Spielerdaten.land ");
    QSqlQuery q;
    if (selection.kid == 0)
        q = execute(db, columns + s("FROM Spielerdaten WHERE Spielerdaten.TID = :tid"), {{s("tid"), selection.tid}});
    else if (selection.phase == 0)
        q = execute(db,
                    columns + s("FROM Spieler_im_turnier INNER JOIN Spielerdaten "
                                "ON Spieler_im_turnier.SID = Spielerdaten.SID "
                                "WHERE Spieler_im_turnier.KID = :kid"),
                    {{s("kid"), selection.kid}});
    else
        // The players standing in a match of the phase; a placeholder id matches nobody.
        q = execute(db,
                    columns + s("FROM Spielerdaten INNER JOIN "
                                "(SELECT SID1 AS SID FROM Spielplan WHERE KID = :kid AND phase = :phase "
                                "UNION SELECT SID2 AS SID FROM Spielplan WHERE KID = :kid2 AND phase = :phase2) "
                                "AS inphase ON Spielerdaten.SID = inphase.SID"),
                    {{s("kid"), selection.kid},
                     {s("phase"), selection.phase},
                     {s("kid2"), selection.kid},
                     {s("phase2"), selection.phase}});
    std::vector<ExportPlayer> players;
    while (q.next()) {
        ExportPlayer p;
        p.nachname = q.value(0).toString();
        p.vorname = q.value(1).toString();
        p.geb = readWallClock(q.value(2)).date();
        p.verein = q.value(3).toString();
        p.mann = q.value(4).toInt() != 0;
        p.bezahlt = q.value(5).toInt() != 0;
        p.email = q.value(6).toString();
        p.spielstaerke = q.value(7).toString();
        p.spklasse = q.value(8).toString();
        p.kverband = q.value(9).toString();
        p.bverband = q.value(10).toString();
        p.lverband = q.value(11).toString();
        p.land = q.value(12).toString();
        players.push_back(std::move(p));
    }
    // By surname, then first name; the collator's sort keys are made once per name.
    const QCollator collator = german::collator();
    std::vector<std::pair<QCollatorSortKey, QCollatorSortKey>> keys;
    std::vector<size_t> order(players.size());
    keys.reserve(players.size());
    for (size_t i = 0; i < players.size(); ++i) {
        keys.emplace_back(collator.sortKey(players[i].nachname), collator.sortKey(players[i].vorname));
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = keys[a].first.compare(keys[b].first);
        return c != 0 ? c < 0 : keys[a].second.compare(keys[b].second) < 0;
    });
    std::vector<ExportPlayer> sorted;
    sorted.reserve(players.size());
    for (size_t i : order)
        sorted.push_back(std::move(players[i]));
    return sorted;
}

std::vector<ExportTeam> exportTeams(const QSqlDatabase& db, const ExportSelection& selection)
{
    const bool whole = selection.kid == 0;
    std::vector<ExportTeam> teams;
    for (TeamRoster& r : readTeamRosters(db, whole ? TeamScope::Tournament : TeamScope::Class,
                                         whole ? selection.tid : selection.kid)) {
        ExportTeam t;
        t.teamname = std::move(r.teamname);
        t.verein = std::move(r.verein);
        t.spieler = std::move(r.spieler);
        t.reserve = std::move(r.reserve);
        for (size_t k = 0; k < 2; ++k) {
            const auto& first = r.doppel[2 * k];
            const auto& second = r.doppel[2 * k + 1];
            if (first && second)
                t.doppel[k] = std::pair(first->nachname, second->nachname);
        }
        teams.push_back(std::move(t));
    }
    return teams;
}

std::vector<ExportStanding> exportStandings(const QSqlDatabase& db, const ExportSelection& selection)
{
    const QString columns = s("SELECT Tabellen.phase, Tabellen.GID, Tabellen.pos, Tabellen.bez, "
                              "Tabellen.spielanzahl, Tabellen.saetzegewonnen, Tabellen.saetzeverloren, "
                              "Tabellen.spielegewonnen, Tabellen.spieleverloren, Tabellen.punktegewonnen, "
                              "Tabellen.punkteverloren FROM Tabellen ");
    QSqlQuery q;
    if (selection.kid == 0)
        q = execute(db,
                    columns + s("INNER JOIN Turnierklassen ON Tabellen.KID = Turnierklassen.KID "
                                "WHERE Turnierklassen.TID = :tid "
                                "ORDER BY Tabellen.KID, Tabellen.phase, Tabellen.GID, Tabellen.pos"),
                    {{s("tid"), selection.tid}});
    else if (selection.phase == 0)
        q = execute(db, columns + s("WHERE Tabellen.KID = :kid ORDER BY Tabellen.phase, Tabellen.GID, Tabellen.pos"),
                    {{s("kid"), selection.kid}});
    else
        q = execute(db,
                    columns + s("WHERE Tabellen.KID = :kid AND Tabellen.phase = :phase "
                                "ORDER BY Tabellen.GID, Tabellen.pos"),
                    {{s("kid"), selection.kid}, {s("phase"), selection.phase}});
    std::vector<ExportStanding> rows;
    while (q.next()) {
        ExportStanding r;
        r.phase = q.value(0).toInt();
        r.gid = q.value(1).toInt();
        r.pos = q.value(2).toInt();
        r.bez = q.value(3).toString();
        r.spielanzahl = q.value(4).toInt();
        r.saetzegewonnen = q.value(5).toInt();
        r.saetzeverloren = q.value(6).toInt();
        r.spielegewonnen = q.value(7).toInt();
        r.spieleverloren = q.value(8).toInt();
        r.punktegewonnen = q.value(9).toInt();
        r.punkteverloren = q.value(10).toInt();
        rows.push_back(std::move(r));
    }
    return rows;
}

} // namespace bw
