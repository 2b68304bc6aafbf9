// How a class is played (Gruppeneinstellungen) and its seed slots (Gesetzt).
//
// A class has one settings row: up to three phases, each with its play system
// and, for a phase played in groups, the number of groups, the places per group
// and how many go on to the next phase (per group, and best-placed across all
// groups). A phase whose play-system column is Null does not exist; a class has
// no phase 3 without a phase 2. The row also holds the number of seed slots,
// whose contents are the class's Gesetzt rows (position from 0, the entrant's
// SID or MID and the partner's SID; an empty slot stores 0 or -1 in both).
//
// Saving replaces the row and the seed slots of one class in one transaction that
// first locks the class's row (concurrency.h), so two desks saving the same
// class at once write one after the other and leave one row.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace bw {

// Gruppeneinstellungen.phase1..phase3: the play system of a phase.
enum class PlaySystem { Gruppenphase = 0, EinfachesKO = 1, DoppeltesKO = 2 };

// The letter a group is known by: "A" for group 0 of the class (counted over
// all its phases), "B" for 1, and so on.
QString groupLetter(int group);

// The play system a stored value names; nothing for Null or another number.
std::optional<PlaySystem> playSystemOf(const QVariant& stored);
// "Gruppenphase", "Einfaches KO-System", "Doppeltes KO-System".
QString playSystemName(PlaySystem system);

// One phase of a class.
struct PhaseSettings {
    PlaySystem system = PlaySystem::Gruppenphase;
    int gruppenanzahl = 0;  // groups
    int teilnehmer = 0;     // places per group
    int besten = 0;         // going on from each group
    int bestplazierten = 0; // best-placed going on across all groups

    bool operator==(const PhaseSettings&) const = default;
};

inline constexpr int kPhaseCount = 3;
inline const QString kDefaultTableName = QStringLiteral("Tisch");

// The settings row of a class.
struct GroupSettings {
    // Phases 1 to 3; nothing: the class has no such phase (stored as Null).
    std::array<std::optional<PhaseSettings>, kPhaseCount> phases;
    int gesetzt = 0; // number of seed slots
    QString plattenbez = kDefaultTableName;

    bool operator==(const GroupSettings&) const = default;
};

// A seed slot as stored: the entrant's key and his partner's (0 for a player
// without one and for a team); 0 or -1 in both for an empty slot.
struct SeedSlot {
    int id = 0;
    int partnerId = 0;

    bool operator==(const SeedSlot&) const = default;
};

// A Gesetzt row: its slot position (from 0) and what it holds.
struct StoredSeed {
    int position = 0;
    SeedSlot slot;

    bool operator==(const StoredSeed&) const = default;
};

// The class's settings; nothing when it has no row. A phase whose play system is
// Null is no phase; a Null count of an existing phase reads as 0, a Null table
// name as an empty text. Throws AppError for a play system of no known number.
std::optional<GroupSettings> readGroupSettings(const QSqlDatabase& db, int kid);

// The class's Gesetzt rows by position.
QList<StoredSeed> readSeeds(const QSqlDatabase& db, int kid);

// Replaces the class's settings row and seed slots (slot i at position i) in one
// transaction, joining the caller's. Throws StaleRecord when the class is no
// longer there.
void saveGroupSettings(const QSqlDatabase& db, int kid, const GroupSettings& settings,
                       const QList<SeedSlot>& seedSlots);

} // namespace bw
