// What the page of placement matches reads and writes: the class's match
// numbers and groups, the placement matches (phase 4) with their slots, the
// outcome of a match and the holder of a group rank a candidate names, the
// delete of all placement matches with their games, and the slot writes, each
// guarded so that no slot of a called, running or finished match changes and
// no match pairs an entrant with himself.
#pragma once

#include "platform/apperror.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace bw {

// The numbers the page is built from.
struct PlacementNumbers {
    int storedPlatz = 0; // MAX(platz) of the phase-4 rows; 0 when there is none
    int m = 0;           // MAX(spielnummer) below phase 4; 0 when there is none
    int maxMatch = 0;    // MAX(spielnummer) of all matches; 0 when there is none
    int maxGroup = 0;    // MAX(gruppe) of all matches; 0 when there is none
    bool operator==(const PlacementNumbers&) const = default;
};
PlacementNumbers readPlacementNumbers(const QSqlDatabase& db, int kid);

// A match row as the page shows and the drop reads it.
struct PlacementMatchRow {
    int spielnummer = 0;
    int sid1 = -1;
    int sid2 = -1;
    QString spieler1;
    QString spieler2;
    int siegerSID = -1;
    int verliererSID = -1;
    bool played = false; // called, running or finished
    bool operator==(const PlacementMatchRow&) const = default;
};
// The phase-4 rows by match number.
QList<PlacementMatchRow> readPlacementMatches(const QSqlDatabase& db, int kid);
std::optional<PlacementMatchRow> readMatchOfPlacement(const QSqlDatabase& db, int kid, int spielnummer);

// Whether a match of the group between two known sides is finished.
bool groupHasFinishedMatch(const QSqlDatabase& db, int kid, int gid);
// The current holder of rank pos (from 0) of the group's standings.
struct GroupRankHolder {
    int sid = -1;
    QString bez;
};
std::optional<GroupRankHolder> readGroupRankHolder(const QSqlDatabase& db, int kid, int gid, int pos);

// Deletes every placement match of the class and the games of those matches
// (in the caller's transaction).
void deletePlacementMatches(const QSqlDatabase& db, int kid);
// The highest match number of the class (0 when there is none).
int maxMatchNumber(const QSqlDatabase& db, int kid);

// What a slot of a placement match holds after a drop.
struct PlacementSlotValue {
    int id = -1;
    QString text;
    int parentspiel = -1;
    int parentGID = -1;
    int parentpos = -1;
    bool operator==(const PlacementSlotValue&) const = default;
};
// Whether a slot value names the entrant the other side holds: the same
// entrant (id above 0), or the same placeholder, which will resolve to one
// entrant. Byes and empty slots name nobody.
bool sameEntrant(const PlacementSlotValue& value, int otherId, const QString& otherText);

inline const QString kSameEntrant = QStringLiteral("Dieser Teilnehmer steht schon auf der anderen Seite des Spiels.");

// A slot write refused because the other side holds the same entrant.
class SameEntrant : public AppError {
public:
    SameEntrant() : AppError(kSameEntrant) {}
};

// Writes side 1 or 2 of a placement match, in one transaction under the
// class's lock, while the match is neither called, running nor finished
// (else StaleRecord) and the other side does not hold the same entrant (else
// SameEntrant): a match against oneself is never played.
void writePlacementSlot(const QSqlDatabase& db, int kid, int spielnummer, int side, const PlacementSlotValue& value);

} // namespace bw
