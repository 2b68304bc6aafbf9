// Byes. A match against a bye (Freilos, id -2, on either side) is never played:
// its winner is the other side and its loser the bye; when two byes meet, a bye
// is passed on as winner and as loser. Settling a bye match records its winner
// and loser (-2 both when two byes meet) and writes them into every slot of the
// class's matches and games that waits for them, the slots reading
// "Sieger Spiel n" or "Verlierer Spiel n": the entrant's id, its text and the
// group and place it came from. A side that is a placeholder itself is passed on
// as it is; the result that decides it later fills both slots, as they read the
// same text. The bye match stays open: never called, started or finished.
//
// A run (freilosebearbeiten) reads the class's rows once, ordered by match
// number, and settles them in memory until no bye match changes anything, so a
// chain -- two byes meeting, a loser's slot fed by a bye -- goes through in one
// run. It writes only what changed, in one transaction: each slot over the
// placeholder it replaces, each outcome while the match's sides are the ones it
// was decided from. A slot that another desk filled meanwhile keeps its entrant,
// and the run reads again and settles from there.
#pragma once

#include "data/matchrecords.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace bw {

// 1: side 1 is a bye and side 2 is not; 2: side 2 is a bye and side 1 is not;
// 3: both are byes; 0: no bye match.
int byeMode(const MatchSlots& match);

// The rows of one class in memory while its byes are settled.
class ByeRun {
public:
    // Reads the class's match rows and, when a bye match is among them, its games.
    ByeRun(const QSqlDatabase& db, int kid);

    // db_freilos: settles bye match `spielnummer` in `mode` (byeMode) in memory:
    // its winner and loser, those of its games, and every slot waiting for them.
    // Another mode or number changes nothing. Returns whether a value changed.
    bool db_freilos(int mode, int spielnummer);
    // Settles every bye match, pass after pass in match order, until a pass
    // changes nothing; at most as many passes as there are matches.
    void settle();
    // Writes what changed since the rows were read: the slots in the order their
    // values were settled, then the outcomes. False when a slot or a match no
    // longer held what was read (another desk wrote it): what comes after it is
    // not written.
    bool write(MatchSlotWriter& writer) const;

    // The rows as settled so far.
    const QList<MatchSlots>& matches() const { return m_matches; }
    const QList<MatchSlots>& games() const { return m_games; }

private:
    struct SlotRef {
        bool game = false;
        int row = 0;
        int side = 0;
    };
    MatchSide& slot(SlotRef ref);
    bool assign(SlotRef ref, const MatchSide& value);
    static bool decide(MatchSlots& row, int mode);

    QList<MatchSlots> m_readMatches;
    QList<MatchSlots> m_readGames;
    QList<MatchSlots> m_matches;
    QList<MatchSlots> m_games;
    QHash<int, int> m_matchRow;         // spielnummer -> row of m_matches
    QHash<int, QList<int>> m_gameRows;  // spielnummer -> rows of m_games
    QHash<QString, QList<SlotRef>> m_byText; // every slot under each text it has held
    // When each slot got its value (0: as read), so that a slot is written after
    // the slots its value was passed on from.
    QHash<int, int> m_settledAt; // key: row * 4 + game * 2 + side
    int m_step = 0;
};

// freilosebearbeiten: settles every bye match of the class in one transaction
// (joining the caller's) under the class's lock. Returns the number of updates
// it ran; 0 when nothing was left to settle.
int freilosebearbeiten(const QSqlDatabase& db, int kid);
// The same through a writer made before the caller's transaction (see
// PreparedStatement), for a caller that writes the matches in it.
int freilosebearbeiten(const QSqlDatabase& db, int kid, MatchSlotWriter& writer);

} // namespace bw
