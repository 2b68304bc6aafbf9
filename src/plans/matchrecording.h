// "Spiel beendet" of the match dialog as the running program does it: the
// result engine records the match, the standings step follows a group match,
// and the plan panel shows what changed. A match of a class the panel does not
// show (the planning board opens any class's matches) is recorded all the
// same, but the panel's pools, slot labels and icons stay as they are: they
// belong to the class it shows.
#pragma once

#include "results/matchdialoglink.h"

#include <QSqlDatabase>

#include <functional>

namespace bw {

class Clock;
class Prompter;
class TieResolver;
class Tspielplaene;
struct TeamMatchFinish;

struct MatchRecordingLinks {
    Prompter* prompter = nullptr;
    const Clock* clock = nullptr; // the end of the match
    std::function<QSqlDatabase()> database;
    std::function<int()> tid;
    // Asks the user for the order of entrants the standings cannot separate.
    TieResolver* tieResolver = nullptr;
};

class MatchRecording {
public:
    MatchRecording(Tspielplaene& plans, MatchRecordingLinks links);

    // Records the result the dialog confirmed; `close` closes the dialog
    // before the next matches are offered (they open it again). True when the
    // result was stored.
    bool spielBeendet(const MatchFinish& finish, const std::function<void()>& close);
    // The same for a team match and its games.
    bool spielBeendet(const TeamMatchFinish& finish, const std::function<void()>& close);
    // Corrects the result the dialog confirmed ("Korrigieren"); true when it
    // was stored.
    bool korrigieren(const MatchFinish& finish, const std::function<void()>& close);
    // The same for a team match and its games.
    bool korrigieren(const TeamMatchFinish& finish, const std::function<void()>& close);
    // The dialog's "Spiel zurücksetzen": the match of class `kid` one state
    // back from the state the dialog was filled from.
    void spielZuruecksetzen(int kid, int spielnummer, MatchStage shown);

private:
    // Runs `work` with a result engine and the standings for class `kid`.
    template <typename Work>
    bool withEngine(int kid, Work work);

    Tspielplaene& m_plans;
    MatchRecordingLinks m_links;
};

} // namespace bw
