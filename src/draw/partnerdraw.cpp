#include "draw/partnerdraw.h"

namespace bw {

QList<std::pair<int, int>> drawPartners(const QList<PartnerCandidate>& players, bool mixed, RandomSource& random)
{
    QList<bool> paired(players.size(), false);
    QList<std::pair<int, int>> pairs;
    for (int c = 0; c < players.size(); ++c) {
        if (paired[c])
            continue;
        QList<int> eligible;
        for (int p = 0; p < players.size(); ++p) {
            if (p != c && !paired[p] && (!mixed || players[p].mann != players[c].mann))
                eligible.append(p);
        }
        if (eligible.isEmpty())
            continue;
        const int partner = eligible[random.below(int(eligible.size()))];
        paired[c] = paired[partner] = true;
        pairs.append({players[c].sid, players[partner].sid});
    }
    return pairs;
}

} // namespace bw
