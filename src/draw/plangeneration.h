// Finishing a draw ("Fertig stellen"): the drawn groups and brackets become the
// class's group places, tables and matches, all in one transaction under the
// lock of the class's matches, byes settled in it, so that a failure leaves the
// old plan as it was and two desks finishing one class write one after the other.
//
// A draw is either the first draw of every phase of a class, or a new draw of one
// phase p of a class whose plan exists: that keeps the phases before p and
// replaces p and the later ones (placement matches included); phase p then takes
// its real entrants, whose group and finishing rank in phase p - 1 come from
// their standings rows (by class, phase and key), and its matches are numbered
// on from the highest match of phase p - 1.
//
// Matches (numbers run on over the phases of the class):
// - a group phase pairing by pairing of its group size's playing order
//   (Files\system.txt), each pairing over all groups of the phase in turn;
// - a single knock-out round by round, "Sieger Spiel m" in the later rounds,
//   the final last, no match for third place;
// - a double knock-out from the block of its bracket size (Files\ko_system.txt),
//   its numbers offset by the matches before it.
// A later phase's slots carry their qualifier texts with the source group and
// rank; an empty bracket slot is a bye ("Freilos", -2).
#pragma once

#include "data/classkind.h"
#include "data/planrecords.h"
#include "data/groupsettings.h"
#include "data/matchrecords.h"
#include "draw/planfiles.h"
#include "platform/apppaths.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace bw {

class Prompter;

// getparentGID: the source group of a qualifier row text ("Zweiter Gruppe B":
// 1); -1 for an empty text, -3 (Bestplatziertenliste) for a best-placed text,
// -2 for the text of an empty row ("3. "), otherwise the last character's
// distance from "A" ("Freilos": 50).
int getparentGID(const QString& text);
// getparentpos: the rank a qualifier text names, from 0 ("Sieger ..." 0,
// "Zweiter ..." 1, "Dritter ..." 2, "4. Gruppe C" 3, "2. Bestplatzierter 3. Platz"
// 1); -2 for "Freilos", -1 for an empty text or one without a number.
int getparentpos(const QString& text);

// One place of a drawn group or one slot of a drawn bracket.
struct DrawnEntry {
    int id = leererPlatz; // the entrant's key (SID, a pair's first SID, MID); leererPlatz: empty
                          // or a qualifier still to come; Freilos: a bye
    QString name;         // display name, qualifier text or "Freilos"; empty: an empty place
    int parentGID = -1;   // a qualifier's source group and rank (getparentGID/getparentpos)
    int parentpos = -1;

    static DrawnEntry entrant(int id, const QString& name) { return {id, name, -1, -1}; }
    static DrawnEntry qualifier(const QString& text) { return {leererPlatz, text, getparentGID(text), getparentpos(text)}; }
    static DrawnEntry empty() { return {}; }
    bool operator==(const DrawnEntry&) const = default;
};

// What the wizard holds of one phase.
struct DrawnPhase {
    QList<QList<DrawnEntry>> groups; // a group phase: its groups in order, one entry per place
    QList<DrawnEntry> bracket;       // a knock-out phase: its slots, top slot first
    // Entrants still waiting in the phase's lists (phase 1: registered entrants and
    // taken seed slots; later phases: their participant list).
    QList<DrawnEntry> undrawn;
};

// The tables page.
struct DrawnTables {
    int plattensystem = 0;          // 0 "Tische frei verteilen", 1 "Tische Gruppen fest zuordnen"
    QStringList tables;             // the class's tables
    QList<QStringList> groupTables; // with plattensystem 1: per group, by its index over all phases
};

struct FinishedDraw {
    int tid = 0;
    int kid = 0; // the class the wizard was opened for
    ClassKind kind = ClassKind::Einzel;
    // The settings the wizard drew by; the class's settings must still read so.
    GroupSettings settings;
    // 0: the first draw of every phase; 1..3: a new draw of that phase.
    int redrawPhase = 0;
    // The phases drawn: every phase of the class from the first one in scope on.
    std::array<std::optional<DrawnPhase>, kPhaseCount> phases;
    DrawnTables tables;
    // planStamp() of the class when the wizard was opened; nothing: not checked.
    std::optional<QByteArray> loadedPlan;

    int firstPhase() const { return redrawPhase > 0 ? redrawPhase : 1; }
};

// The playing orders and double knock-out blocks a draw needs, read before
// anything is written.
struct PlanDefinitions {
    QHash<int, QList<Pairing>> groupOrders; // by places per group
    QHash<int, DoubleKoPlan> doubleKo;      // by bracket size
};

inline const QString kUndrawnMessage = QStringLiteral("Nicht alle Spieler wurden gelost");
inline const QString kDoubleKoMissingMessage =
    QStringLiteral("Die Auslosung für das Doppel-KO-System schlug leider fehl.");

// Why the draw cannot be finished as it stands (nothing drawn is written):
// entrants of a phase in scope not drawn, or groups and brackets that do not
// fit the settings; nothing when it can.
std::optional<QString> finishRefusal(const FinishedDraw& draw);

// Reads what the phases in scope need from the two files. Throws AppError with
// the message to show when a file or block is missing or breaks the rules.
PlanDefinitions readPlanDefinitions(const FinishedDraw& draw, const QString& groupOrderFile,
                                    const QString& doubleKoFile);
// The same from the program folder's files.
PlanDefinitions readPlanDefinitions(const FinishedDraw& draw, const AppPaths& paths);

// Every row the draw writes, computed without the database: the tables and
// places of each group (group by group), the knock-out tables, then the matches
// numbered from `firstMatch`. `previous` holds where the entrants of a new draw's
// phase finished in the phase before (readFinishingPlaces).
struct DrawRows {
    QList<GroupTableRow> tables;
    QList<GroupPlaceRow> places;
    QList<NewMatch> matches;
};
DrawRows drawRows(const FinishedDraw& draw, const PlanDefinitions& definitions, int firstMatch,
                  const QHash<int, FinishingPlace>& previous = {});

struct FinishedPlan {
    int firstMatch = 0;
    int lastMatch = 0; // firstMatch - 1 when no match was written
    int byeUpdates = 0;
};

// gruppenspeichern and the plan generation in one transaction (joining the
// caller's): checks the draw, the class and, in a new draw, that phase p - 1 is
// finished; deletes the old rows; writes places, tables and matches; settles
// the byes. Throws AppError (the message to show) and writes nothing on failure.
// `progress` (optional) is told the rows written and the rows to write.
FinishedPlan finishDraw(const QSqlDatabase& db, const FinishedDraw& draw, const PlanDefinitions& definitions,
                        const std::function<void(int, int)>& progress = {});

// What "Fertig stellen" needs of the program around the wizard.
struct FinishDrawLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    AppPaths paths;
    // After a first draw: the class gets its item in "Spielpläne" unless it has one.
    std::function<void(int kid)> listPlans;
    // After a new draw: the class's plans are drawn anew (when that class is shown).
    std::function<void(int kid)> planshow;
    // Rows written and rows to write, while it works.
    std::function<void(int, int)> progress;
};

// fertigClick: finishes the draw under a wait cursor. An undrawn entrant is the
// warning "Nicht alle Spieler wurden gelost"; a missing plan file, a class changed
// at another desk or a failed statement an error box, and nothing is written.
// Returns true when the plan was written (the wizard then closes).
bool fertigClick(const FinishedDraw& draw, const FinishDrawLinks& links);

} // namespace bw
