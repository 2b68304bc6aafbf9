// What the live-results link stores in the tournament database: the online
// tournament a tournament is assigned to (Turnierdaten.LiveID) and the online
// class each class is mapped to (Turnierklassen.LiveKlassenID); 0 or Null means
// none.
//
// Both writes are guarded by the values the desk read before: when another desk
// changed them meanwhile, nothing is written and AppError carries the conflict
// message. The mapping is stored in one transaction.
#pragma once

#include "data/classkind.h"

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

namespace bw {

// The online tournament assigned to the tournament; 0 for none (also for Null or
// no such tournament).
int readLiveTournamentId(const QSqlDatabase& db, int tid);

// Assigns the online tournament `liveId` (0: none) to the tournament, which must
// still have the assignment `expected`.
void storeLiveTournamentId(const QSqlDatabase& db, int tid, int expected, int liveId);

// A class of the tournament as the mapping lists it.
struct LinkedClass {
    int kid = 0;
    QString kbezeichnung;
    std::optional<ClassKind> kind; // nothing for Null or another number
    int liveKlassenID = 0; // Null reads as 0

    bool operator==(const LinkedClass&) const = default;
};

// The tournament's classes by name (German order, case-insensitive), then kind.
QList<LinkedClass> readLinkedClasses(const QSqlDatabase& db, int tid);

// Gives every class of `asRead` (the classes as read before, with their online
// ids) the online id that `liveIdByKid` names for it, 0 when it names none.
// Only classes whose id changes are written, each guarded by its id as read; a
// class changed or deleted meanwhile stops the save. One transaction.
void storeClassMapping(const QSqlDatabase& db, int tid, const QList<LinkedClass>& asRead,
                       const QMap<int, int>& liveIdByKid);

} // namespace bw
