// What the match dialog reads and stores of one match of a class (Spielplan,
// found by KID and spielnummer): the match as the dialog shows it, the tables
// and umpires it offers, and the writes of its actions -- the plan, the
// call-up, the start and the later calls.
//
// Every write is guarded by the state the dialog was filled from: when another
// desk called, started, finished or took back the match meanwhile, nothing is
// written and MatchConflict says so. The call-up (and a start straight from
// the open state) runs in one transaction under lockClassMatches() and first
// checks in the database that the match's sides can meet (two entrants, not
// the same one, none taken early from a group that has not ended:
// unplayableReason) and that no other called or running match of the class
// holds its entrants, its table (unless the match is started by hand) or its
// umpire (ResourceBusy), so two desks never send two matches to one table.
#pragma once

#include "platform/apperror.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <optional>

namespace bw {

// Where a match stands, as its flags store it.
enum class MatchStage {
    Open,     // waiting or playable: in_planung, begonnen and beendet all 0
    Called,   // in_planung
    Running,  // begonnen
    Finished, // beendet
};

inline const QString kMatchChanged =
    QStringLiteral("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert.");

// A guarded write found the match (or a resource it needs) changed by another
// desk; nothing was written.
class MatchConflict : public AppError {
public:
    using AppError::AppError;
};

// The table or umpire chosen for a call-up or start went to another match
// meanwhile; nothing was written, and another one may be chosen.
class ResourceBusy : public MatchConflict {
public:
    using MatchConflict::MatchConflict;
};

// The later calls of a called match, as the dialog's boxes and the columns
// are named: second and third call of player 1, player 2 and the umpire.
inline const std::array<QString, 6> kLaterCallColumns{
    QStringLiteral("aufruf2_sp1"), QStringLiteral("aufruf3_sp1"), QStringLiteral("aufruf2_sp2"),
    QStringLiteral("aufruf3_sp2"), QStringLiteral("aufruf2_sch"), QStringLiteral("aufruf3_sch")};

// One match row as the dialog shows it. Null texts read empty, a Null group -1.
struct MatchDialogRow {
    int spielnummer = 0;
    int sid1 = 0;
    int sid2 = 0;
    QString spieler1;
    QString spieler2;
    int phase = 0;
    int gruppe = -1;
    QDate geplanterTag;   // invalid for Null
    QTime geplanteZeit;   // invalid for Null
    QString geplanterTisch;
    QString schiri;
    QString anPlatte;
    bool inPlanung = false;
    bool begonnen = false;
    bool beendet = false;
    bool manuell = false;
    std::array<std::optional<int>, 9> saetze; // satz1..satz9, nothing for Null
    QString ergebnis;
    QDateTime spielende; // when the result was stored; invalid for Null
    // The later calls in the order of kLaterCallColumns; invalid for Null.
    std::array<QDateTime, 6> spaetereAufrufe;

    MatchStage state() const;
};

// The values a plan stores: a text empty or of blanks only, an invalid day or
// time as Null; a time of day on the zero day of the date columns.
QVariant textOrNull(const QString& text);
QVariant timeOrNull(const QTime& time);
QVariant dayOrNull(const QDate& day);

// The match; nothing when the class has no match of that number.
std::optional<MatchDialogRow> readMatchDialogRow(const QSqlDatabase& db, int kid, int spielnummer);

// Every table of the group (Platten; group -1: the tables of the matches outside
// groups), each once, ordered by name.
QStringList readGroupTables(const QSqlDatabase& db, int kid, int gruppe);

// Every umpire of the class, checked in or not, as "snname, svname", ordered.
QStringList readClassUmpires(const QSqlDatabase& db, int kid);

// A match's plan as the dialog holds it; an empty text or an invalid day or
// time stores Null.
struct MatchPlan {
    QString tisch;
    QDate tag;
    QTime zeit;
    QString schiri;
    bool operator==(const MatchPlan&) const = default;
};

// What a call-up stores beside the plan: the table and umpire the match is
// sent to, whether it is started by hand, and the moment of the first calls.
struct MatchCall {
    QString platte;
    QString schiri;
    bool manuell = false;
    QDateTime moment;
};

// Throws MatchConflict unless the match is in the state `expected`; inside a
// transaction it also holds the match row until the commit.
void expectMatchStage(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected);

// Stores the plan of a match that is in the state `expected`.
void planMatch(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected, const MatchPlan& plan);

// Calls an open match up: plan, first-call times, table, umpire and the manual
// flag, after the resource check, in one transaction.
void callMatch(const QSqlDatabase& db, int kid, int spielnummer, const MatchPlan& plan, const MatchCall& call);

// Starts a match at `moment`: a called one with its plan; an open one (started
// straight away) also with table, umpire and manual flag of `call` but no call
// times, after the same resource check as a call-up. One transaction.
void startMatch(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected, const MatchPlan& plan,
                const MatchCall& call, const QDateTime& moment);

// Stores or clears (an invalid `moment`) a later call of a match in the state
// `expected`; `column` must be one of kLaterCallColumns.
void storeLaterCall(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected, const QString& column,
                    const QDateTime& moment);

} // namespace bw
