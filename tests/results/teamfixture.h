// A team class for the tests of team matches, drawn for real.
#pragma once

#include "../plans/planfixture.h"

#include "data/sql.h"
#include "support/testdatabase.h"

#include <QSqlQuery>

namespace bw::test {

// A team class of four games (A1-B2, A2-B1, D2-D2, A3-B3) drawn as one group of
// four teams (ids 100..103), each team with three players, a reserve and two
// doubles; the tables T1, T2.
struct TeamClass {
    int kid = 0;
    int match = 0; // the first match of the group
    int other = 0; // a match of the two other teams
};

inline void addPlayer(const QSqlDatabase& db, int sid, const QString& nachname, const QString& vorname)
{
    insertRow(db, s("Spielerdaten"), {{s("SID"), sid}, {s("nachname"), nachname}, {s("vorname"), vorname}});
}

inline TeamClass teamClass(const QSqlDatabase& db)
{
    TeamFormat format;
    format.spieler = 3;
    format.reserve = 1;
    format.a = {1, 2, 12, 3};
    format.b = {2, 1, 12, 3};
    ClassRecord record;
    record.system = ClassKind::Team;
    record.kbezeichnung = QStringLiteral("Liga");
    record.saetze = 3;
    record.atag = QDate(2026, 6, 7);
    TeamClass c;
    c.kid = insertClass(db, kPlanTid, record, {QStringLiteral("T1"), QStringLiteral("T2")}, format);
    FinishedDraw draw = firstDraw(kPlanTid, c.kid, {groupPhase(1, 4)}, 4);
    draw.kind = ClassKind::Team;
    saveGroupSettings(db, c.kid, draw.settings, {});
    finishDraw(db, draw, readPlanDefinitions(draw, shippedPlanFile("system.txt"), shippedPlanFile("ko_system.txt")));
    for (int t = 0; t < 4; ++t) {
        const int mid = 100 + t;
        const int sid = 1000 + 10 * t;
        for (int k = 0; k < 4; ++k)
            addPlayer(db, sid + k, QStringLiteral("Spieler%1").arg(k + 1), QStringLiteral("Team%1").arg(t));
        insertRow(db, s("Teams"),
                  {{s("TID"), kPlanTid}, {s("KID"), c.kid}, {s("MID"), mid},
                   {s("teamname"), QStringLiteral("Team %1").arg(t)}, {s("s1"), sid}, {s("s2"), sid + 1},
                   {s("s3"), sid + 2}, {s("s4"), 0}, {s("r1"), sid + 3}, {s("r2"), QVariant()}, {s("d1_1"), sid},
                   {s("d1_2"), sid + 1}, {s("d2_1"), sid + 2}, {s("d2_2"), sid + 3}});
    }
    // The sides named by their teams, as the draw of real teams names them.
    for (const char* table : {"Spielplan", "Teamspiele"}) {
        const QString key = s(table) == s("Spielplan") ? s("SID") : s("MID");
        execute(db,
                s("UPDATE ") + s(table) + s(" SET spieler1='Team '||CAST(") + key + s("1-100 AS VARCHAR(4)),")
                    + s("spieler2='Team '||CAST(") + key + s("2-100 AS VARCHAR(4)) WHERE KID=:k"),
                {{s("k"), c.kid}});
    }
    QSqlQuery q = execute(db, s("SELECT spielnummer,SID1,SID2 FROM Spielplan WHERE KID=:k ORDER BY spielnummer"),
                          {{s("k"), c.kid}});
    int firstSides[2] = {0, 0};
    while (q.next()) {
        const int n = q.value(0).toInt(), a = q.value(1).toInt(), b = q.value(2).toInt();
        if (!c.match) {
            c.match = n;
            firstSides[0] = a;
            firstSides[1] = b;
        } else if (!c.other && a != firstSides[0] && a != firstSides[1] && b != firstSides[0] && b != firstSides[1]) {
            c.other = n;
        }
    }
    return c;
}

} // namespace bw::test
