#include "plangen.h"

#include <algorithm>
#include <limits>

namespace bw::plangen {

bool sharePlace(const Pairing& a, const Pairing& b)
{
    return a.first == b.first || a.first == b.second || a.second == b.first || a.second == b.second;
}

namespace {

// Puts the rounds and the matches within them in an order in which as few places
// as possible play twice in a row; the round holding `last` stays last, with
// `last` as its last match. Only a round's first and last match meet other rounds,
// so a depth-first search over the round order and those two choices finds the
// best order; it tries the circle method's own order first and stops at the first
// order without any place playing twice in a row.
void arrangeRounds(QList<QList<Pairing>>& rounds, const Pairing& last)
{
    struct Step {
        int round, first, last;
    };
    const int count = int(rounds.size());
    QList<Step> path, best;
    int bestCost = std::numeric_limits<int>::max();

    auto search = [&](auto& self, quint32 used, int cost) -> void {
        if (cost >= bestCost)
            return;
        const int position = int(path.size());
        if (position == count) {
            bestCost = cost;
            best = path;
            return;
        }
        const bool final = position == count - 1;
        for (int r = final ? count - 1 : 0; r < (final ? count : count - 1); ++r) {
            if (used >> r & 1)
                continue;
            const auto& round = rounds[r];
            for (int f = 0; f < round.size(); ++f) {
                for (int l = 0; l < round.size(); ++l) {
                    if ((f == l) != (round.size() == 1) || (final && !(round[l] == last)))
                        continue;
                    const int step = position == 0 ? 0 : sharePlace(rounds[path.last().round][path.last().last], round[f]);
                    path.append({r, f, l});
                    self(self, used | quint32(1) << r, cost + step);
                    path.removeLast();
                    if (bestCost == 0)
                        return;
                }
            }
        }
    };
    search(search, 0, 0);

    QList<QList<Pairing>> ordered;
    for (const Step& step : best) {
        const auto& round = rounds[step.round];
        QList<Pairing> matches{round[step.first]};
        for (int i = 0; i < round.size(); ++i) {
            if (i != step.first && i != step.last)
                matches.append(round[i]);
        }
        if (step.last != step.first)
            matches.append(round[step.last]);
        ordered.append(matches);
    }
    rounds = ordered;
}

} // namespace

QList<QList<Pairing>> roundRobinRounds(int places)
{
    if (places < 2)
        return {};
    // Circle method: one place stays, the others turn one position per round. An
    // odd group gets a dummy place; its opponent sits the round out.
    const int m = places % 2 == 0 ? places : places + 1;
    const int turning = m - 1;
    QList<QList<Pairing>> rounds;
    for (int r = 0; r < turning; ++r) {
        QList<std::pair<int, int>> raw{{r, m - 1}};
        for (int i = 1; i < m / 2; ++i)
            raw.append({(r + i) % turning, (r - i + turning) % turning});
        QList<Pairing> round;
        for (auto [a, b] : raw) {
            if (a + 1 > places || b + 1 > places)
                continue;
            round.append({std::min(a, b) + 1, std::max(a, b) + 1});
        }
        std::sort(round.begin(), round.end(),
                  [](const Pairing& x, const Pairing& y) { return std::pair(x.first, x.second) < std::pair(y.first, y.second); });
        rounds.append(round);
    }
    const Pairing best{1, 2};
    const auto withBest = std::find_if(rounds.begin(), rounds.end(), [&](const QList<Pairing>& round) {
        return round.contains(best);
    });
    std::rotate(rounds.begin(), withBest + 1, rounds.end());
    arrangeRounds(rounds, best);
    return rounds;
}

QList<int> dropInCrossings(int size)
{
    int k = 0;
    while ((1 << k) < size)
        ++k;
    // Regions: the subtrees below the matches of one winners' round. Before drop-in
    // round t the survivors of the losers' bracket in match j come from the regions
    // j XOR y, y in `seen`. The drop-in from region j XOR x has met none of them
    // when x is not in `seen` (no rematch in the drop-in match); the next halving
    // round meets j and j^1 without a rematch when no two offsets differ in the
    // lowest bit. Earlier rounds weigh more, so the best sequence is the
    // lexicographically greatest list of kept conditions.
    const int rounds = k - 1;
    QList<int> best, current;
    QList<bool> bestScore, score;
    const int conditions = rounds > 0 ? 2 * rounds - 1 : 0;

    // `seen` holds the offsets as bits (at most 64 regions in the first round).
    auto search = [&](auto& self, int t, quint64 seen) -> void {
        if (!bestScore.isEmpty() && score < bestScore.mid(0, score.size()))
            return; // this prefix can no longer beat the best sequence found
        if (t > rounds) {
            if (bestScore.isEmpty() || score > bestScore) {
                bestScore = score;
                best = current;
            }
            return;
        }
        const int regions = size >> (t + 1);
        for (int x = regions - 1; x >= 0; --x) {
            const quint64 offsets = seen | (quint64(1) << x);
            score.append(!(seen >> x & 1));
            if (t < rounds) {
                const quint64 even = offsets & 0x5555555555555555ULL;
                score.append((even & (offsets >> 1)) == 0);
            }
            quint64 next = 0;
            for (int y = 0; y < regions; ++y) {
                if (offsets >> y & 1)
                    next |= quint64(1) << (y >> 1);
            }
            current.append(x);
            self(self, t + 1, next);
            current.removeLast();
            score.resize(score.size() - (t < rounds ? 2 : 1));
            if (bestScore.size() == conditions && !bestScore.contains(false))
                return; // nothing beats keeping every condition
        }
    };
    search(search, 1, 1);
    return best;
}

DoubleKoPlan doubleKoPlan(int size)
{
    int k = 0;
    while ((1 << k) < size)
        ++k;
    const QList<int> crossing = dropInCrossings(size);

    // A match while it is built: its sources (-1: a bracket slot pair) and layout.
    struct Match {
        int source1 = -1, source2 = -1; // indexes into `matches`
        bool winner1 = true, winner2 = true;
        int startColumn = 0, endColumn = 0, row1 = 0, row2 = 0;
        int mid() const { return (row1 + row2) / 2; }
    };
    QList<Match> matches;
    auto add = [&](Match m) {
        matches.append(m);
        return int(matches.size() - 1);
    };

    // Winners' bracket: round 1 in columns 0-1, round r >= 2 ends in column 2r-2.
    QList<QList<int>> winners(k + 1);
    auto winnersEnd = [](int r) { return r == 1 ? 1 : 2 * r - 2; };
    for (int j = 0; j < size / 2; ++j)
        winners[1].append(add({-1, -1, true, true, 0, 1, 6 * j, 6 * j + 2}));
    for (int r = 2; r <= k; ++r) {
        for (int j = 0; j < (size >> r); ++j) {
            const int a = winners[r - 1][2 * j], b = winners[r - 1][2 * j + 1];
            winners[r].append(add({a, b, true, true, winnersEnd(r - 1), winnersEnd(r), matches[a].mid(), matches[b].mid()}));
        }
    }

    // Losers' bracket below, one column per round.
    const int base = 3 * size + 2;
    QList<QList<int>> losers(std::max(2, 2 * k - 1));
    for (int i = 0; i < size / 4; ++i)
        losers[1].append(add({winners[1][2 * i], winners[1][2 * i + 1], false, false, 0, 1, base + 6 * i, base + 6 * i + 2}));
    for (int t = 1; t <= k - 1; ++t) {
        const int in = 2 * t;
        for (int j = 0; j < (size >> (t + 1)); ++j) {
            const int survivor = losers[in - 1][j];
            const int dropIn = winners[t + 1][j ^ crossing[t - 1]];
            const int row = matches[survivor].mid();
            losers[in].append(add({survivor, dropIn, true, false, in - 1, in, row, row + 2}));
        }
        if (t == k - 1)
            break;
        const int halve = 2 * t + 1;
        for (int j = 0; j < (size >> (t + 2)); ++j) {
            const int a = losers[in][2 * j], b = losers[in][2 * j + 1];
            losers[halve].append(add({a, b, true, true, in, halve, matches[a].mid(), matches[b].mid()}));
        }
    }

    // The final: the winners' champion against the best of the losers' bracket.
    const int top = winners[k][0];
    const Match final = k == 1 ? Match{top, top, true, false, 1, 2, matches[top].mid(), matches[top].mid() + 2}
                               : Match{top, losers[2 * k - 2][0], true, true, 2 * k - 2, 2 * k - 1,
                                       matches[top].mid(), matches[losers[2 * k - 2][0]].mid()};
    const int finalIndex = add(final);

    // Playing order.
    QList<int> order = winners[1];
    order += losers[1];
    for (int r = 2; r <= k; ++r) {
        order += winners[r];
        order += losers[2 * r - 2];
        if (2 * r - 1 <= 2 * k - 2)
            order += losers[2 * r - 1];
    }
    order.append(finalIndex);
    QList<int> number(matches.size());
    for (int i = 0; i < order.size(); ++i)
        number[order[i]] = i + 1;

    DoubleKoPlan plan;
    plan.lookup = PlanLookup::Found;
    for (int index : order) {
        const Match& m = matches[index];
        DoubleKoLine line;
        line.f0 = number[index];
        if (m.source1 < 0) {
            line.f3 = line.f4 = -3;
        } else {
            line.f1 = number[m.source1];
            line.f2 = number[m.source2];
            line.f3 = m.winner1 ? 1 : 0;
            line.f4 = m.winner2 ? 1 : 0;
        }
        line.f6 = m.startColumn;
        line.f7 = m.endColumn;
        line.f8 = m.row1;
        line.f9 = m.row2;
        plan.lines.append(line);
        plan.columns = std::max(plan.columns, m.endColumn);
        plan.rows = std::max({plan.rows, m.row1 + 1, m.row2 + 1});
    }
    return plan;
}

QByteArray groupOrderFileText()
{
    QByteArray text;
    for (int places = 1; places <= kLargestGroup; ++places) {
        text += QByteArray::number(places) + ":\n";
        QByteArrayList items;
        for (const auto& round : roundRobinRounds(places)) {
            for (const Pairing& p : round)
                items.append(QByteArray::number(p.first) + '-' + QByteArray::number(p.second));
        }
        text += items.join(';') + '\n';
    }
    return text;
}

QByteArray doubleKoFileText()
{
    QByteArray text;
    for (int size = 2; size <= kLargestBracket; size *= 2) {
        const DoubleKoPlan plan = doubleKoPlan(size);
        text += QByteArray::number(size) + ":\n";
        text += QByteArray::number(plan.lines.size()) + ',' + QByteArray::number(plan.columns) + ',' +
                QByteArray::number(plan.rows) + '\n';
        for (const DoubleKoLine& l : plan.lines) {
            // f5 is read by nobody; it is written as 0.
            const int fields[10] = {l.f0, l.f1, l.f2, l.f3, l.f4, 0, l.f6, l.f7, l.f8, l.f9};
            QByteArrayList items;
            for (int f : fields)
                items.append(QByteArray::number(f));
            text += items.join(',') + '\n';
        }
    }
    return text;
}

} // namespace bw::plangen
