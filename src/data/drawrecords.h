// What the draw wizard reads beyond the group set-up: the real entrants of a
// phase that is drawn anew, from the class's match plan.
#pragma once

#include "data/classkind.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace bw {

// An entrant of a phase as its match rows name him, with the standings row he
// finished in in the phase before (group and place from 0; -1 and -1 when he
// has none there, as after a knock-out phase).
struct PhaseEntrant {
    int id = 0;        // SID, the first player's SID of a pair, or MID
    int partnerId = 0; // a pair's partner, a team's first player, else 0
    QString name;      // the plan's text; a team's name from its row
    QString verein;
    int sourceGid = -1;
    int sourcePos = -1;

    bool operator==(const PhaseEntrant&) const = default;
};

// The entrants in the match rows of phase `phase` of the class: every first
// side by match number, then every second side; each entrant once (by key,
// so namesakes both stay); placeholders and byes are none. Teams come from
// Teams, players and pairs from Spielerdaten.
QList<PhaseEntrant> readPhaseEntrants(const QSqlDatabase& db, int kid, int phase, ClassKind kind);

} // namespace bw
