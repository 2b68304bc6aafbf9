#include "data/kosystem.h"

#include "data/sql.h"

#include <cstddef>

namespace bw {

std::vector<int> seedPositions(int bracketSize)
{
    const int seeds = bracketSize / 2;
    std::vector<int> position(std::size_t(seeds) + 1, 0);
    std::vector<int> start(std::size_t(seeds) + 1, 0); // segment of each placed seed
    if (seeds < 1)
        return {};
    position[1] = 1;
    start[1] = 1;
    int segment = bracketSize;
    for (int m = 2; m <= seeds; m *= 2) {
        // Seeds m/2+1 .. m join the seeds placed so far; then every segment halves.
        for (int t = 1; t <= m / 2; ++t) {
            const int o = m + 1 - t;
            const int first = start[std::size_t(t)];
            const int last = first + segment - 1;
            position[std::size_t(o)] = position[std::size_t(t)] == first ? last : first;
            const int half = segment / 2;
            const int upper = first, lower = first + half;
            start[std::size_t(t)] = position[std::size_t(t)] < lower ? upper : lower;
            start[std::size_t(o)] = position[std::size_t(o)] < lower ? upper : lower;
        }
        segment /= 2;
    }
    return std::vector<int>(position.begin() + 1, position.end());
}

std::vector<KoSystemRow> koSystemRows()
{
    std::vector<KoSystemRow> rows;
    for (int n = 2; n <= kLargestBracket; n *= 2) {
        const std::vector<int> positions = seedPositions(n);
        for (std::size_t i = 0; i < positions.size(); ++i)
            rows.push_back({n, int(i) + 1, positions[i]});
    }
    return rows;
}

std::vector<int> readSeedPositions(const QSqlDatabase& db, int bracketSize)
{
    QSqlQuery q = execute(db, s("SELECT position FROM KO_System WHERE spieler=:s ORDER BY gesetzt"),
                          {{s("s"), bracketSize}});
    std::vector<int> positions;
    while (q.next())
        positions.push_back(q.value(0).toInt());
    return positions;
}

} // namespace bw
