// What the result dialogs of a class are set up with when its plans are
// loaded: the set entries and result items of a match, and for a team class
// the rows, captions and result items of its games.
#pragma once

#include <QStringList>

namespace bw {

struct ResultDialogSetup {
    int saetze = 0;
    int setEntries = 0;           // set edits shown: 1 .. 2S-1
    QStringList ergebnisItems;    // "S:k" for k = S-1..0, then "k:S" for k = 0..S-1
    bool team = false;
    int teamPlayers = 0;          // line-up rows shown: 1 .. P
    int teamGames = 0;            // game rows shown: 1 .. G
    QStringList teamResultItems;  // "a:b" of the whole team match
    QStringList gameCaptions;     // "Spiel n: A1 - B2" / "Spiel n: D1 - D2", n = 1..G
    bool operator==(const ResultDialogSetup&) const = default;
};

} // namespace bw
