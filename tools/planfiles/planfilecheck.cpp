#include "planfilecheck.h"

#include "platform/apperror.h"
#include "plangen.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <bitset>
#include <limits>

namespace bw::planfilecheck {

namespace {

// The block for `key` must start at a line of its own, not inside another key line.
QString keyLineFault(const QString& path, int key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: cannot be read").arg(path);
    const QByteArray text = QByteArray::number(key) + ':';
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.contains(text))
            return line.startsWith(text) ? QString()
                                         : QStringLiteral("key %1 is first found in line \"%2\"")
                                               .arg(QString::fromLatin1(text), QString::fromLatin1(line.trimmed()));
    }
    return QStringLiteral("no key line %1").arg(QString::fromLatin1(text));
}

QString pairText(const Pairing& p)
{
    return QStringLiteral("%1-%2").arg(p.first).arg(p.second);
}

// The final: the match with the highest number.
int finalOf(const DoubleKoPlan& plan)
{
    int final = 0;
    for (const DoubleKoLine& line : plan.lines)
        final = std::max(final, line.f0);
    return final;
}

// Losses the entrants of a slot carry: those of the source match's entrants, one
// more for its loser.
int slotLosses(const QHash<int, int>& level, int source, bool winner)
{
    return level.value(source) + (winner ? 0 : 1);
}

// The round of the losers' bracket of each of its matches: one after the latest
// losers' match that feeds it.
QHash<int, int> losersRounds(const DoubleKoPlan& plan)
{
    QHash<int, int> level, round;
    const int final = finalOf(plan);
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel() || line.isFirstRound() || line.f0 == final)
            continue;
        level[line.f0] = slotLosses(level, line.f1, line.slot1IsWinner());
        if (level[line.f0] == 1)
            round[line.f0] = 1 + std::max(round.value(line.f1), round.value(line.f2));
    }
    return round;
}

struct Segment {
    int at, from, to; // a row with a column span, or a column with a row span
};

bool overlaps(const Segment& a, const Segment& b)
{
    return a.at == b.at && std::max(a.from, b.from) < std::min(a.to, b.to);
}

QStringList layoutFaults(const DoubleKoPlan& plan, const QHash<int, int>& level, int final)
{
    QStringList faults;
    struct Label {
        int column, row, match;
    };
    QList<Label> labels;
    QList<Segment> lines;      // horizontal: row, columns
    QList<Segment> connectors; // vertical: column, rows
    QList<int> connectorMatch;
    int lowestWinners = -1, highestLosers = std::numeric_limits<int>::max();
    for (const DoubleKoLine& line : plan.lines) {
        const int id = line.f0;
        labels.append({line.f6, line.f8, id});
        lines.append({line.f8, line.f6, line.f7});
        if (line.f7 > plan.columns || std::max(line.f8, line.f9) > plan.rows || std::min({line.f6, line.f8, line.f9}) < 0)
            faults << QStringLiteral("match %1 lies outside the drawing's %2 x %3 cells").arg(id).arg(plan.columns).arg(plan.rows);
        if (line.isLabel())
            continue;
        if (line.f6 >= line.f7)
            faults << QStringLiteral("match %1 ends before it starts").arg(id);
        labels.append({line.f6, line.f9, id});
        lines.append({line.f9, line.f6, line.f7});
        connectors.append({line.f7, std::min(line.f8, line.f9), std::max(line.f8, line.f9)});
        connectorMatch.append(id);
        if (line.f9 - line.f8 < 2)
            faults << QStringLiteral("the slots of match %1 are closer than two rows").arg(id);
        if (id != final && level.value(id) == 0)
            lowestWinners = std::max(lowestWinners, line.f9);
        if (id != final && level.value(id) == 1)
            highestLosers = std::min(highestLosers, line.f8);
        if (id == final && line.f7 != plan.columns)
            faults << QStringLiteral("the final %1 is not at the right").arg(id);
    }
    // A label is drawn two rows high above its line.
    for (int a = 0; a < labels.size(); ++a) {
        for (int b = a + 1; b < labels.size(); ++b) {
            if (labels[a].column == labels[b].column && std::abs(labels[a].row - labels[b].row) < 2)
                faults << QStringLiteral("labels of matches %1 and %2 overlap in column %3 row %4")
                              .arg(labels[a].match)
                              .arg(labels[b].match)
                              .arg(labels[a].column)
                              .arg(labels[b].row);
        }
    }
    for (int a = 0; a < connectors.size(); ++a) {
        for (int b = a + 1; b < connectors.size(); ++b) {
            const Segment &x = connectors[a], &y = connectors[b];
            if (x.at == y.at && std::max(x.from, y.from) <= std::min(x.to, y.to))
                faults << QStringLiteral("matches %1 and %2 share cells of column %3")
                              .arg(connectorMatch[a])
                              .arg(connectorMatch[b])
                              .arg(x.at);
        }
    }
    for (int a = 0; a < lines.size(); ++a) {
        for (int b = a + 1; b < lines.size(); ++b) {
            if (overlaps(lines[a], lines[b]))
                faults << QStringLiteral("two slot lines overlap in row %1").arg(lines[a].at);
        }
        for (int c = 0; c < connectors.size(); ++c) {
            const Segment &h = lines[a], &v = connectors[c];
            if (h.from < v.at && v.at < h.to && v.from < h.at && h.at < v.to)
                faults << QStringLiteral("a slot line in row %1 crosses match %2").arg(h.at).arg(connectorMatch[c]);
        }
    }
    if (lowestWinners >= highestLosers)
        faults << QStringLiteral("the winners' bracket reaches into the losers' bracket");
    return faults;
}

} // namespace

QStringList checkGroupOrder(const QList<Pairing>& order, int places)
{
    QStringList faults;
    const QString where = QStringLiteral("group of %1: ").arg(places);
    QSet<std::pair<int, int>> met;
    for (const Pairing& p : order) {
        const std::pair key(std::min(p.first, p.second), std::max(p.first, p.second));
        if (met.contains(key))
            faults << where + QStringLiteral("%1 is played twice").arg(pairText(p));
        met.insert(key);
    }
    if (met.size() != places * (places - 1) / 2)
        faults << where + QStringLiteral("%1 of %2 pairings").arg(met.size()).arg(places * (places - 1) / 2);
    if (places < 2 || !faults.isEmpty())
        return faults;

    const int perRound = places / 2;
    for (int start = 0; start < order.size(); start += perRound) {
        for (int a = start; a < start + perRound; ++a) {
            for (int b = a + 1; b < start + perRound; ++b) {
                if (plangen::sharePlace(order[a], order[b]))
                    faults << where + QStringLiteral("round %1 has a place twice").arg(start / perRound + 1);
            }
        }
    }
    if (!order.mid(order.size() - perRound).contains(Pairing{1, 2}))
        faults << where + QStringLiteral("1-2 is not in the last round");
    if (places >= 5) {
        for (int i = 1; i < order.size(); ++i) {
            if (plangen::sharePlace(order[i - 1], order[i]))
                faults << where + QStringLiteral("%1 and %2 follow each other").arg(pairText(order[i - 1]), pairText(order[i]));
        }
    }
    return faults;
}

QStringList checkGroupOrderFile(const QString& path)
{
    QStringList faults;
    if (!QFile::exists(path))
        return {QStringLiteral("%1: missing").arg(path)};
    for (int places = 1; places <= plangen::kLargestGroup; ++places) {
        try {
            const GroupOrder order = readGroupOrder(path, places);
            if (!order.found()) {
                faults << QStringLiteral("%1: no block for %2 places").arg(path).arg(places);
                continue;
            }
            if (const QString fault = keyLineFault(path, places); !fault.isEmpty())
                faults << fault;
            faults += checkGroupOrder(order.pairings, places);
        } catch (const AppError& e) {
            faults << e.message();
        }
    }
    return faults;
}

QStringList checkDoubleKoPlan(const DoubleKoPlan& plan, int size)
{
    const QString where = QStringLiteral("bracket of %1: ").arg(size);
    QStringList faults = doubleKoRuleViolations(plan, size);
    if (!faults.isEmpty()) {
        for (QString& f : faults)
            f.prepend(where);
        return faults;
    }

    QHash<int, int> level; // losses of the entrants who play the match
    QHash<int, int> winnerFeeds, loserFeeds;
    const int final = finalOf(plan);
    int winnersMatches = 0, losersMatches = 0;
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel())
            continue;
        if (line.isFirstRound()) {
            level[line.f0] = 0;
            ++winnersMatches;
            continue;
        }
        if (line.f1 >= line.f0 || line.f2 >= line.f0)
            faults << where + QStringLiteral("match %1 waits for a later match").arg(line.f0);
        (line.slot1IsWinner() ? winnerFeeds : loserFeeds)[line.f1] += 1;
        (line.slot2IsWinner() ? winnerFeeds : loserFeeds)[line.f2] += 1;
        const int losses1 = slotLosses(level, line.f1, line.slot1IsWinner());
        const int losses2 = slotLosses(level, line.f2, line.slot2IsWinner());
        if (line.f0 == final) {
            if (std::min(losses1, losses2) != 0 || std::max(losses1, losses2) != 1)
                faults << where + QStringLiteral("the final does not meet the winners of both brackets");
            continue;
        }
        if (losses1 != losses2)
            faults << where + QStringLiteral("match %1 meets entrants of different brackets").arg(line.f0);
        if (std::max(losses1, losses2) >= 2)
            faults << where + QStringLiteral("match %1 is played after two losses").arg(line.f0);
        level[line.f0] = std::max(losses1, losses2);
        ++(level[line.f0] == 0 ? winnersMatches : losersMatches);
    }
    if (winnersMatches != size - 1 || losersMatches != size - 2)
        faults << where + QStringLiteral("%1 winners' and %2 losers' matches").arg(winnersMatches).arg(losersMatches);
    for (auto it = level.cbegin(); it != level.cend(); ++it) {
        const int match = it.key();
        if (winnerFeeds.value(match) != 1)
            faults << where + QStringLiteral("the winner of match %1 plays on in %2 slots").arg(match).arg(winnerFeeds.value(match));
        const int loserSlots = it.value() == 0 ? 1 : 0;
        if (loserFeeds.value(match) != loserSlots)
            faults << where + QStringLiteral("the loser of match %1 plays on in %2 slots").arg(match).arg(loserFeeds.value(match));
    }
    if (winnerFeeds.contains(final) || loserFeeds.contains(final))
        faults << where + QStringLiteral("the final feeds another match");
    if (!faults.isEmpty())
        return faults;

    for (const QString& f : layoutFaults(plan, level, final))
        faults << where + f;
    return faults;
}

QStringList checkDoubleKoFile(const QString& path)
{
    QStringList faults;
    if (!QFile::exists(path))
        return {QStringLiteral("%1: missing").arg(path)};
    for (int size = 2; size <= plangen::kLargestBracket; size *= 2) {
        try {
            const DoubleKoPlan plan = readDoubleKoPlan(path, size);
            if (!plan.found()) {
                faults << QStringLiteral("%1: no block for %2 slots").arg(path).arg(size);
                continue;
            }
            if (const QString fault = keyLineFault(path, size); !fault.isEmpty())
                faults << fault;
            faults += checkDoubleKoPlan(plan, size);
        } catch (const AppError& e) {
            faults << e.message();
        }
    }
    return faults;
}

int losersRound(const DoubleKoPlan& plan, int match)
{
    return losersRounds(plan).value(match);
}

QList<int> possibleRematches(const DoubleKoPlan& plan, int size)
{
    using Entrants = std::bitset<plangen::kLargestBracket>;
    // Per match: who may play in it and, for each of them, whom they may have met by
    // its end. An over-estimate: paths that cannot happen together are not told apart.
    struct Played {
        Entrants side[2];
        QHash<int, Entrants> met;
    };
    QHash<int, Played> played;
    QList<int> rematches;
    const QHash<int, int> rounds = losersRounds(plan);
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel())
            continue;
        Played now;
        QHash<int, Entrants> before[2];
        if (line.isFirstRound()) {
            for (int s = 0; s < 2; ++s) {
                const int entrant = 2 * line.f0 - 2 + s;
                if (entrant < size)
                    now.side[s].set(entrant);
                before[s][entrant] = Entrants();
            }
        } else {
            const int sources[2] = {line.f1, line.f2};
            for (int s = 0; s < 2; ++s) {
                const Played& from = played[sources[s]];
                now.side[s] = from.side[0] | from.side[1];
                before[s] = from.met;
            }
        }
        bool rematch = false;
        for (int s = 0; s < 2; ++s) {
            for (auto it = before[s].cbegin(); it != before[s].cend(); ++it) {
                rematch = rematch || (it.value() & now.side[1 - s]).any();
                now.met[it.key()] |= it.value() | now.side[1 - s];
            }
        }
        if (rematch && rounds.contains(line.f0))
            rematches.append(line.f0);
        played[line.f0] = now;
    }
    return rematches;
}

} // namespace bw::planfilecheck
