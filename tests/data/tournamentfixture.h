// The tournament the data tests of several actions share: a singles, a
// doubles and a team class, six players entered in the first two, player 1
// paired with player 2, a team of players 1 and 2, and a referee for the
// singles; everything stored through the records functions.
#pragma once

#include "data/classrecords.h"
#include "data/partnerrecords.h"
#include "data/playerrecords.h"
#include "data/refereerecords.h"
#include "data/sql.h"
#include "data/teamrecords.h"
#include "data/tournamentrecords.h"

#include <QTest>

#include <tuple>

namespace bw::test {

inline constexpr int kTid = 1;
inline constexpr int kHerren = 1; // singles
inline constexpr int kDoppel = 2; // doubles
inline constexpr int kLiga = 3;   // team class
inline constexpr int kTeam = 1;
inline constexpr int kReferee = 1;
inline constexpr int kPlayers = 6; // SID 1..6, all in Herren and Doppel

inline void seedTournament(const QSqlDatabase& db)
{
    TournamentData t;
    t[TournamentField::turniername] = s("Stadtmeisterschaft");
    t[TournamentField::tvon] = QDate(2027, 3, 6);
    insertTournament(db, t, {true, true, true, true});
    for (const auto& [kid, name, kind] : {std::tuple{kHerren, "Herren", ClassKind::Einzel},
                                          {kDoppel, "Doppel", ClassKind::Doppel},
                                          {kLiga, "Liga", ClassKind::Team}}) {
        ClassRecord r;
        r.system = kind;
        r.kbezeichnung = s(name);
        r.gebuehr = 5;
        QCOMPARE(insertClass(db, kTid, r, {s("Tisch 1")}, {}), kid);
    }
    for (int sid = 1; sid <= kPlayers; ++sid) {
        PlayerRecord p;
        p.nachname = s("Spieler %1").arg(sid);
        p.vorname = s("Vorname");
        p.verein = s("TTC Brunnhain");
        QCOMPARE(insertPlayer(db, kTid, p, {kHerren, kDoppel}), sid);
    }
    storePartners(db, 1, {{kDoppel, 2}}, {});
    QCOMPARE(storeTeam(db, kTid, kLiga, 0, s("Brunnhain I"), s("TTC Brunnhain"), {{1, 2}, {}, {}, {}}), kTeam);
    RefereeRecord r;
    r.snname = s("Pfeiffer");
    r.svname = s("Otto");
    QCOMPARE(insertReferee(db, kTid, r, {kHerren}), kReferee);
}

} // namespace bw::test
