// The rules of the placement matches ("Plazierungsspiele"), without widgets:
// how many rows a count of places gives and which match each row is, the
// candidates of the list, what a candidate resolves to when it is dropped on a
// slot, and what the slot then stores.
//
// A placement match is a match row of phase 4, group -1, whose `platz` is the
// better of the two places it decides (1, 3, 5, ...), numbered after every
// other match of the class. In a knock-out class (a phase played as knock-out
// or double knock-out) the match for place 1 is the class's last match below
// phase 4, which is not stored again; its slots cannot be changed here.
#pragma once

#include "data/matchrecords.h"
#include "data/placementrecords.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <algorithm>
#include <optional>

namespace bw::plan {

inline constexpr int kMaxPlaces = 16;

// The rows of the page for a count of places: one per two places.
inline int placementRows(int count) { return (std::max(0, count) + 1) / 2; }

// The page of a class: whether it is a knock-out class and m, the highest match
// number below phase 4.
struct PlacementClass {
    bool knockOut = false;
    int m = 0;

    // The match of row k (1..): k + m - 1 in a knock-out class, k + m otherwise.
    int rowMatch(int k) const { return knockOut ? k + m - 1 : k + m; }
    // Row 1 of a knock-out class is the class's last match, whose slots stay.
    bool fixedRow(int k) const { return knockOut && k == 1; }
    // The count shown for the highest stored `platz` (0 when there is none): a
    // knock-out class always has its final, so 0 shows as 2.
    int shownCount(int storedPlatz) const { return storedPlatz == 0 && knockOut ? 2 : storedPlatz; }
    // The matches a count of places inserts (after the phase-4 rows were deleted):
    // their numbers and places.
    QList<NewMatch> newMatches(int count) const;
};

// The count combo's items "0" .. "16"; a text that is none of them is no count.
QStringList countItems();
std::optional<int> countOf(const QString& text);

// "Spiel um " + (2k - 1) + ". Platz".
QString rowCaption(int k);

// An entry of the candidate list: its text and the match number it carries
// (0 for a group candidate).
struct Candidate {
    QString text;
    int match = 0;
    bool operator==(const Candidate&) const = default;
};

// "Sieger Spiel n", "Verlierer Spiel n" for n = 1 .. maxMatch, then "Sieger
// Gruppe X", "Zweiter Gruppe X", "Dritter Gruppe X", "Vierter Gruppe X" for the
// group indexes 0 .. maxGroup (none for a maxGroup below 0).
QList<Candidate> placementCandidates(int maxMatch, int maxGroup);

// What a candidate names: the winner or loser of a match, or a rank (0..3) of
// a group (index from 0).
struct CandidateSource {
    enum Kind { Winner, Loser, GroupRank } kind = Winner;
    int match = 0;
    int group = -1;
    int rank = -1;
    bool operator==(const CandidateSource&) const = default;
};
std::optional<CandidateSource> candidateSource(const Candidate& candidate);

// What a slot stores after a drop: the entrant (or the placeholder, id -1, the
// candidate's text) and the parent link that result entry fills later.
using SlotValue = PlacementSlotValue;

// The winner's or loser's slot value: the decided side (its text and id), "Freilos"
// for the winner of two byes, else the placeholder.
SlotValue matchCandidateValue(const Candidate& candidate, const CandidateSource& source,
                              const std::optional<PlacementMatchRow>& outcome);

// A group rank's slot value: the rank's current holder once the group has a
// finished match between two known sides, else (also for a rank the group
// does not have) the placeholder.
SlotValue groupCandidateValue(const Candidate& candidate, const CandidateSource& source, bool groupDecided,
                              const std::optional<GroupRankHolder>& holder);

// The slot label's name: "platz" + side (1, 2) + row k; and back.
QString slotName(int side, int k);
struct SlotRef {
    int side = 0; // 1 or 2
    int row = 0;  // k
};
std::optional<SlotRef> slotRef(const QString& name);

} // namespace bw::plan

namespace bw {

// Replaces every placement match of the class (with its games) by the empty
// matches of `count` places, in one transaction. `playedAccepted`: the user
// agreed to lose placement matches that are called, running or finished; when
// he was not asked and such a match exists by now (another desk), nothing is
// changed and StaleRecord is thrown.
void replacePlacementMatches(const QSqlDatabase& db, int kid, bool knockOut, int count, bool playedAccepted);

// The slot value a candidate dropped on a slot stores, read from the database.
std::optional<plan::SlotValue> resolveCandidate(const QSqlDatabase& db, int kid, const plan::Candidate& candidate);

} // namespace bw
