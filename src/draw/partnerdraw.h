// Drawing partners for the players of a doubles or mixed class who have none:
// each player still without partner, in list order, draws his partner from the
// players after and before him who are still free, every one of them equally
// likely; in a mixed class only from those of the other sex (a player counts as
// a man by his "männlich" flag, as a woman otherwise). So a doubles class ends
// with floor(n / 2) pairs and a mixed class with min(men, women).
#pragma once

#include "platform/clock.h"

#include <QList>

#include <utility>

namespace bw {

struct PartnerCandidate {
    int sid = 0;
    bool mann = false;
};

// The pairs drawn, each as (the drawing player, his partner), in drawing order.
QList<std::pair<int, int>> drawPartners(const QList<PartnerCandidate>& players, bool mixed, RandomSource& random);

} // namespace bw
