#include "draw/byes.h"

#include "data/transaction.h"

#include <algorithm>

namespace bw {

namespace {

// A slot filled by another desk ends an attempt and the next one reads again.
// Only a writer that does not take the class's lock can get in between, so a
// third attempt is as far as a run goes; what is left waits for the next run.
constexpr int kAttempts = 3;

int slotKey(int row, bool game, int side)
{
    return row * 4 + (game ? 2 : 0) + side;
}

} // namespace

int byeMode(const MatchSlots& match)
{
    const bool first = match.sides[0].id == Freilos;
    const bool second = match.sides[1].id == Freilos;
    if (first && second)
        return 3;
    if (first)
        return 1;
    return second ? 2 : 0;
}

ByeRun::ByeRun(const QSqlDatabase& db, int kid) : m_readMatches(readMatchSlots(db, kid))
{
    if (std::any_of(m_readMatches.cbegin(), m_readMatches.cend(), [](const MatchSlots& m) { return byeMode(m) != 0; }))
        m_readGames = readGameSlots(db, kid);
    m_matches = m_readMatches;
    m_games = m_readGames;
    for (int row = 0; row < m_matches.size(); ++row) {
        m_matchRow.insert(m_matches[row].spielnummer, row);
        for (int side = 0; side < 2; ++side)
            m_byText[m_matches[row].sides[size_t(side)].text].append({false, row, side});
    }
    for (int row = 0; row < m_games.size(); ++row) {
        m_gameRows[m_games[row].spielnummer].append(row);
        for (int side = 0; side < 2; ++side)
            m_byText[m_games[row].sides[size_t(side)].text].append({true, row, side});
    }
}

MatchSide& ByeRun::slot(SlotRef ref)
{
    return (ref.game ? m_games : m_matches)[ref.row].sides[size_t(ref.side)];
}

bool ByeRun::assign(SlotRef ref, const MatchSide& value)
{
    MatchSide& target = slot(ref);
    if (target == value)
        return false;
    if (target.text != value.text)
        m_byText[value.text].append(ref);
    target = value;
    m_settledAt.insert(slotKey(ref.row, ref.game, ref.side), ++m_step);
    return true;
}

// The winner and loser of a bye match or of one of its games by their sides.
bool ByeRun::decide(MatchSlots& row, int mode)
{
    int winner = Freilos;
    int loser = Freilos;
    if (mode == 1) {
        winner = row.sides[1].id;
        loser = row.sides[0].id;
    } else if (mode == 2) {
        winner = row.sides[0].id;
        loser = row.sides[1].id;
    }
    if (row.siegerSID == winner && row.verliererSID == loser)
        return false;
    row.siegerSID = winner;
    row.verliererSID = loser;
    return true;
}

bool ByeRun::db_freilos(int mode, int spielnummer)
{
    const auto found = m_matchRow.constFind(spielnummer);
    if (mode < 1 || mode > 3 || found == m_matchRow.cend())
        return false;
    // A copy: a slot of the match itself may be among those it fills.
    const MatchSlots match = m_matches[*found];
    bool changed = decide(m_matches[*found], mode);
    for (int game : m_gameRows.value(spielnummer))
        changed = decide(m_games[game], mode) || changed;

    for (const bool winner : {true, false}) {
        const QString placeholder = winner ? winnerPlaceholder(spielnummer) : loserPlaceholder(spielnummer);
        // A copy: filling a slot may add to the lists.
        const QList<SlotRef> waiting = m_byText.value(placeholder);
        for (const SlotRef& ref : waiting) {
            if (slot(ref).text != placeholder)
                continue; // filled since it was listed
            MatchSide value;
            if (mode == 3) {
                // Two byes: a bye, from the source of the first side for a
                // first-side winner's or a second-side loser's slot, else of the
                // second side.
                const MatchSide& source = match.sides[winner == (ref.side == 0) ? 0 : 1];
                value = {Freilos, kFreilosText, source.parentGID, source.parentpos};
            } else {
                // Mode 1: the winner is side 2; mode 2: side 1.
                value = match.sides[(mode == 1) == winner ? 1 : 0];
            }
            changed = assign(ref, value) || changed;
        }
    }
    return changed;
}

void ByeRun::settle()
{
    const qsizetype passes = std::max<qsizetype>(1, m_matches.size());
    for (qsizetype pass = 0; pass < passes; ++pass) {
        bool changed = false;
        for (int row = 0; row < m_matches.size(); ++row) {
            const int mode = byeMode(m_matches[row]);
            if (mode != 0)
                changed = db_freilos(mode, m_matches[row].spielnummer) || changed;
        }
        if (!changed)
            return;
    }
}

bool ByeRun::write(MatchSlotWriter& writer) const
{
    struct Pending {
        int step;
        SlotRef ref;
    };
    QList<Pending> pending;
    auto collect = [&](const QList<MatchSlots>& read, const QList<MatchSlots>& now, bool game) {
        for (int row = 0; row < now.size(); ++row) {
            for (int side = 0; side < 2; ++side) {
                if (now[row].sides[size_t(side)] != read[row].sides[size_t(side)])
                    pending.append(Pending{m_settledAt.value(slotKey(row, game, side)), {game, row, side}});
            }
        }
    };
    collect(m_readMatches, m_matches, false);
    collect(m_readGames, m_games, true);
    std::sort(pending.begin(), pending.end(), [](const Pending& a, const Pending& b) { return a.step < b.step; });
    for (const Pending& p : pending) {
        const QList<MatchSlots>& read = p.ref.game ? m_readGames : m_readMatches;
        const QList<MatchSlots>& now = p.ref.game ? m_games : m_matches;
        if (!writer.writeSide(now[p.ref.row], p.ref.side, read[p.ref.row].sides[size_t(p.ref.side)].text))
            return false;
    }

    auto writeOutcomes = [&](const QList<MatchSlots>& read, const QList<MatchSlots>& now) {
        for (int row = 0; row < now.size(); ++row) {
            const bool changed =
                now[row].siegerSID != read[row].siegerSID || now[row].verliererSID != read[row].verliererSID;
            if (changed && !writer.writeOutcome(now[row]))
                return false;
        }
        return true;
    };
    return writeOutcomes(m_readMatches, m_matches) && writeOutcomes(m_readGames, m_games);
}

int freilosebearbeiten(const QSqlDatabase& db, int kid)
{
    MatchSlotWriter writer(db, kid); // before the transaction: see PreparedStatement
    return freilosebearbeiten(db, kid, writer);
}

int freilosebearbeiten(const QSqlDatabase& db, int kid, MatchSlotWriter& writer)
{
    const int before = writer.statements();
    Transaction transaction(db);
    lockClassMatches(db, kid);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        ByeRun run(db, kid);
        run.settle();
        if (run.write(writer))
            break;
    }
    transaction.commit();
    return writer.statements() - before;
}

} // namespace bw
