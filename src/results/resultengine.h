// Recording the result of a single, doubles, mixed or team match
// (db_beendet), without widgets. One recording is one transaction under the class's lock
// (lockClassMatches: SQLite's BEGIN IMMEDIATE, on PostgreSQL an advisory lock
// on the class), so two desks never read and write one class's rows
// interleaved:
//   R1 the match row is read, R2 the table system of its group;
//   R4/R5 sets, result, winner and loser are stored, guarded by the running
//      state: a match another desk finished or took back meanwhile is left as
//      it is and the recording ends as a conflict;
//   R6 the loser becomes a referee of the tournament when asked and not one yet;
//   R7 winner and loser go into every slot waiting for them by exact text;
//   the byes this creates are settled;
//   R8 a group match runs the group step (standings, group and phase end).
// Only after the commit do the plan's pools and slot labels change (R3 the
// match's table, players and umpire back, R6 the new referee, R7 the labels)
// and the follow-ups of the group step run. A failure rolls everything back,
// has the plan rebuild its states and pools from the database and reaches the
// caller, which keeps what the user typed.
#pragma once

#include "data/standingsrecords.h"
#include "results/resultplanlink.h"
#include "results/scoremodel.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace bw {

class Clock;
class Prompter;

// What the user entered for the match.
struct ResultEntry {
    int kid = 0;
    int spielnummer = 0;
    int gruppe = -1; // the match's group; -1 a knock-out or placement match
    QString ergebnis; // "a:b"
    std::array<QString, 9> saetze; // the set entries as typed
    bool verliererAlsSchiri = false; // "Verlierer in Schiedsrichterpool übernehmen"
};

// What the user entered for one game of a team match.
struct GameEntry {
    int nummer = 0;                // 1..9
    QString ergebnis;              // "a:b" in sets, team 1 first; empty when none was chosen
    std::array<QString, 9> saetze; // the set entries as typed, team 1's player or pair first-named
    QString platte;                // the table it was played at
    QString schiri;                // its umpire, "surname, first name"
};

// What the user entered for a team match: `match` holds the result in games,
// the group and "Verlierer in Schiedsrichterpool übernehmen" (the losing
// team's players become umpires); its set entries are not used, a team match
// keeps its sets in its games.
struct TeamResultEntry {
    ResultEntry match;
    QList<GameEntry> spiele; // the games shown
};

// A result as stored, for the steps that follow it.
struct RecordedResult {
    int tid = 0;
    int kid = 0;
    int spielnummer = 0;
    int gruppe = -1;
    int phase = 0;
    Ergebnis ergebnis;
    Saetze saetze;
    int siegerSID = -1;
    int verliererSID = -1;
    QString sieger; // names as the match row holds them
    QString verlierer;
};

// Work that may only run once the recording's transaction has committed
// (messages, pools, redraws).
class AfterCommit {
public:
    void add(std::function<void()> action) { m_actions.push_back(std::move(action)); }
    void run() const
    {
        for (const auto& action : m_actions)
            action();
    }

private:
    std::vector<std::function<void()>> m_actions;
};

// The step a group match goes on with inside the recording's transaction
// (standings, group end, phase end); what it has to show afterwards it adds to
// the AfterCommit.
using GroupResultStep = std::function<void(const QSqlDatabase&, const RecordedResult&, AfterCommit&)>;
// What a group match needs before the recording's transaction (the standings
// ask about ties there, so nobody waits for a person while the class is
// locked): the entry with its result and sets as read, and a team match's
// games as they will be stored.
using GroupResultPreparation = std::function<void(const QSqlDatabase&, const ResultEntry&, const Ergebnis&,
                                                  const Saetze&, const QList<GameScore>&)>;

enum class RecordOutcome {
    Recorded,
    Conflict, // nothing stored: the match was no longer running
};

enum class CorrectionOutcome {
    Corrected,
    Conflict,  // nothing stored: the match is no longer finished as shown
    Cancelled, // nothing stored: the user kept the matches played behind it
};

// The message of RecordOutcome::Conflict.
QString resultConflictMessage();

class ResultEngine {
public:
    ResultEngine(const QSqlDatabase& db, int tid, const Clock& clock, ResultPlanLink& plan);

    // R8: set by the standings; nothing happens for a group match without it.
    GroupResultStep groupStep;
    // Runs before the transaction of a group match; set by the standings too.
    GroupResultPreparation prepareGroupStep;

    // db_beendet. Throws AppError for a result text that is no result
    // ("Wählen Sie ein gültiges Satzergebnis"), a set entry that is no set
    // score or sets that do not agree with the result (setsDisagreement),
    // before anything is read; a database failure after the plan was rebuilt
    // from the database.
    RecordOutcome recordResult(const ResultEntry& entry);
    // db_beendet of a team match, the same steps with the team's differences:
    // the match row keeps no sets (Null), every game shown gets its sets and
    // result; the resources of every game go back (a table only when it is
    // one of the class's, an umpire only when he is one of the class's); the
    // losing team's players and reserves become umpires when asked; the
    // slots waiting for the teams are filled in the match rows and in every
    // game. Byes are left to the plan's next drawing. Throws AppError for a
    // team result that is no result ("Wählen Sie ein gültiges Spielergebnis"),
    // a game result that is none, a set entry that is no set score, a game's
    // sets that do not agree with its result (or sets without one) and a team
    // result other than the games won (gamesDisagreement), before anything
    // is read.
    RecordOutcome recordTeamResult(const TeamResultEntry& entry);

    // "Korrigieren": the finished match's result replaced by the entry, in
    // one transaction under the class's lock, guarded by the finished state
    // and the end `spielende` the dialog read (an invalid one: any). When no
    // slot or place fed by the match, its group or its phase's best-placed
    // list would get another entrant, the match and its standings are
    // corrected in place and nothing else changes. Otherwise the result is
    // taken back with all that followed (results/takeback.h), the byes are
    // settled and the entry is recorded again; when that sets back a match
    // that is called, running or finished, `confirmCascade` is asked first
    // and false cancels it. The match's resources stay where they are (they
    // went back when it was first recorded). Throws as recordResult.
    CorrectionOutcome correctResult(const ResultEntry& entry, const QDateTime& spielende,
                                    const std::function<bool()>& confirmCascade);
    // The same for a team match: its games taken back and recorded again with
    // it (the team take-back of results/takeback.h).
    CorrectionOutcome correctTeamResult(const TeamResultEntry& entry, const QDateTime& spielende,
                                        const std::function<bool()>& confirmCascade);

    // The result as stored by the last recording that succeeded.
    const RecordedResult& lastRecorded() const { return m_last; }
    // Whether the last correction was made in place.
    bool lastCorrectionInPlace() const { return m_lastInPlace; }

private:
    RecordOutcome record(const ResultEntry& entry, const QList<GameEntry>* games);
    CorrectionOutcome correct(const ResultEntry& entry, const QList<GameEntry>* games, const QDateTime& spielende,
                              const std::function<bool()>& confirmCascade);

    QSqlDatabase m_db;
    int m_tid;
    const Clock& m_clock;
    ResultPlanLink& m_plan;
    RecordedResult m_last;
    bool m_lastInPlace = false;
};

// "Spiel beendet" of the result dialog: records the entry and runs what
// follows it. Recorded: the plan rebuilds the class's states and pools (the
// match's icons drawn from the stored sets), `close` closes the dialog and,
// with `next`, the next playable matches of the match's phase are offered.
// Another desk was first: nothing is stored, the message is shown, the dialog
// closes and the plan is rebuilt. A failure: the error box, the plan rebuilt
// from the database, the dialog stays open with what was typed. Returns
// whether the result was stored.
bool spielBeendet(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const ResultEntry& entry,
                  bool next, const std::function<void()>& close);
// The same for a team match.
bool spielBeendet(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const TeamResultEntry& entry,
                  bool next, const std::function<void()>& close);

// "Korrigieren" of the result dialog: corrects the result (asking "Es können
// mehrere Spiele betroffen sein. Fortsetzten?" when matches played behind it
// would be set back) and runs what follows: the states rebuilt, the dialog
// closed, the class drawn anew and, with `next`, the next playable matches of
// the phase offered. Another desk was first: the message, the dialog closed,
// the plan rebuilt. Cancelled or failed: the dialog stays open. Returns
// whether the correction was stored.
bool korrigieren(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const ResultEntry& entry,
                 const QDateTime& spielende, bool next, const std::function<void()>& close);
// The same for a team match.
bool korrigieren(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const TeamResultEntry& entry,
                 const QDateTime& spielende, bool next, const std::function<void()>& close);

} // namespace bw
