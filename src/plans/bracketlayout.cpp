#include "plans/bracketlayout.h"

#include <QHash>
#include <QSet>

namespace bw::plan {

namespace {

ControlSpec nameLabel(const QString& name, const QRect& rect, const QString& caption, int tag, int fontSize)
{
    return {ControlKind::PlayerLabel, name, rect, caption, tag, PlanTool::None, fontSize};
}

ControlSpec statusIcon(int number, QPoint at)
{
    return {ControlKind::StatusIcon, QStringLiteral("status%1").arg(number), QRect(at, kBracketIconSize), QString(), 1,
            PlanTool::None, 0};
}

void addLine(PlanLayout& layout, int x1, int y1, int x2, int y2)
{
    layout.lines.append(QLine(x1, y1, x2, y2));
}

} // namespace

BracketGeometry bracketGeometry(int zoom, bool doubleKo)
{
    switch (zoom) {
    case 1: return {120, doubleKo ? 8 : 16, 48, 20, 7, 10};
    case 3: return {240, doubleKo ? 15 : 30, 48, 40, 9, 16};
    default: return {180, doubleKo ? 12 : 24, 48, 30, 8, 13};
    }
}

int firstRoundMatches(const QList<PlanMatchRow>& phaseMatches)
{
    int count = 0;
    for (const PlanMatchRow& match : phaseMatches)
        if (match.parentspiel1 == -1 && match.parentspiel2 == -1 && match.gruppe < 0)
            ++count;
    return count;
}

PhaseWinner phaseWinner(const PlanMatchRow& final)
{
    if (!final.beendet)
        return {QStringLiteral("Sieger Spiel %1").arg(final.spielnummer), -1};
    // Compared as numbers, so a team match won 10:8 names its winner as 3:1 does.
    const QStringList sides = final.ergebnis.split(QLatin1Char(':'));
    bool firstOk = false;
    bool secondOk = false;
    const int first = sides.value(0).trimmed().toInt(&firstOk);
    const int second = sides.value(1).trimmed().toInt(&secondOk);
    if (sides.size() == 2 && firstOk && secondOk && first > second)
        return {final.spieler1, final.sid1};
    return {final.spieler2, final.sid2};
}

PlanLayout koplanLayout(const QList<PlanMatchRow>& rows, int zoom)
{
    PlanLayout layout;
    const int M = firstRoundMatches(rows);
    if (M == 0)
        return layout;
    const BracketGeometry g = bracketGeometry(zoom, false);
    const int S = g.S, R = g.R, T = g.T, L = g.L, F = g.F;
    int K = 0;
    if (M > 1)
        while ((1 << K) < M)
            ++K;
    const int N = 2 * (1 << K);
    const int half = N / 2;
    layout.size = QSize(S * (K + 2) + L, half * 3 * R + T + R);
    layout.controls = toolIcons(L);
    auto rowAt = [&](int index) -> const PlanMatchRow* { return index < rows.size() ? &rows[index] : nullptr; };

    // The first round: two slots and the match's icon per match.
    for (int i = 0; i < half; ++i) {
        const int d = 3 * i;
        const int y1 = d * R + T;
        const int y2 = (d + 1) * R + T;
        addLine(layout, L, y1, L + S, y1);
        addLine(layout, L, y2, L + S, y2);
        addLine(layout, L + S, y1, L + S, y2);
        const PlanMatchRow* row = rowAt(i);
        layout.controls.append(nameLabel(QString(), QRect(L + 3, y1 - F, S - 2, R - 2), row ? row->spieler1 : QString(),
                                         row ? row->sid1 : -1, g.fontSize));
        layout.controls.append(nameLabel(QString(), QRect(L + 3, y2 - F, S - 2, R - 2), row ? row->spieler2 : QString(),
                                         row ? row->sid2 : -1, g.fontSize));
        if (row)
            layout.controls.append(statusIcon(row->spielnummer, QPoint(L + S + 1, y1 + R / 2 - F)));
    }

    // Column c holds the slots the matches of round c + 1 feed; the last one is
    // the phase's winner.
    int next = half;
    int D = 1;
    for (int c = 0; c <= K; ++c) {
        const int slotCount = N >> (c + 1);
        const int E = (3 * R) << c;
        const int y0 = T + (R / 2) * D;
        for (int j = 0; j < slotCount; ++j) {
            const int y = y0 + j * E;
            addLine(layout, L + S * (c + 1) + 26, y, L + S * (c + 2), y);
            if (c > 0)
                addLine(layout, L + S * (c + 1), y - E / 4, L + S * (c + 1), y + E / 4);
            const QRect rect(L + S * (c + 1) + 29, y - R / 2 - 1, S - 2, R - 2);
            if (c == K) {
                const PlanMatchRow& final = rows.last();
                const PhaseWinner winner = phaseWinner(final);
                layout.controls.append(nameLabel(QStringLiteral("Sieger%1").arg(final.spielnummer), rect, winner.text,
                                                 winner.id, g.fontSize));
                break;
            }
            const PlanMatchRow* row = rowAt(next);
            if (j % 2 == 0) {
                layout.controls.append(nameLabel(row ? QStringLiteral("Sieger%1").arg(row->parentspiel1) : QString(),
                                                 rect, row ? row->spieler1 : QString(), row ? row->sid1 : -1,
                                                 g.fontSize));
            } else {
                layout.controls.append(nameLabel(row ? QStringLiteral("Sieger%1").arg(row->parentspiel2) : QString(),
                                                 rect, row ? row->spieler2 : QString(), row ? row->sid2 : -1,
                                                 g.fontSize));
                if (row)
                    layout.controls.append(statusIcon(row->spielnummer, QPoint(L + S * (c + 2) + 3, y - E / 2 - 14)));
                ++next;
            }
        }
        D = 2 * D + 2;
    }
    return layout;
}

PlanLayout doubleKoLayout(const DoubleKoPlan& plan, const QList<PlanMatchRow>& phaseMatches, int offset, int zoom)
{
    PlanLayout layout;
    const BracketGeometry g = bracketGeometry(zoom, true);
    const int S = g.S, R = g.R, T = g.T, L = g.L, F = g.F;
    layout.size = QSize(700, 500);
    layout.controls = toolIcons(L);
    if (!plan.found())
        return layout;
    layout.size = QSize((plan.columns + 1) * S, (plan.rows + 1) * R + T);

    QHash<int, const PlanMatchRow*> byNumber;
    for (const PlanMatchRow& match : phaseMatches)
        byNumber.insert(match.spielnummer, &match);
    auto x = [&](int column) { return column * S + L; };
    auto y = [&](int row) { return row * R + T; };

    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel()) {
            addLine(layout, x(line.f6) + 24, y(line.f8), x(line.f7), y(line.f8));
            const QString text = (line.slot1IsWinner() ? QStringLiteral("Sieger Spiel %1")
                                                       : QStringLiteral("Verlierer Spiel %1"))
                                     .arg(line.f1 + offset);
            layout.controls.append(
                nameLabel(QString(), QRect(x(line.f6) + 24 + 3, y(line.f8) - F, S - 2, 2 * R - 2), text, -1, g.fontSize));
            continue;
        }
        const int number = line.f0 + offset;
        const PlanMatchRow* row = byNumber.value(number);
        const int indent = line.f6 == 0 ? 0 : 24;
        const int left = x(line.f6) + indent;
        addLine(layout, left, y(line.f8), x(line.f7), y(line.f8));
        addLine(layout, left, y(line.f9), x(line.f7), y(line.f9));
        addLine(layout, x(line.f7), y(line.f8), x(line.f7), y(line.f9));
        layout.controls.append(nameLabel(QString(), QRect(left + 3, y(line.f8) - F, S - 2, 2 * R - 2),
                                         row ? row->spieler1 : QString(), row ? row->sid1 : -1, g.fontSize));
        layout.controls.append(nameLabel(QString(), QRect(left + 3, y(line.f9) - F, S - 2, 2 * R - 2),
                                         row ? row->spieler2 : QString(), row ? row->sid2 : -1, g.fontSize));
        layout.controls.append(
            statusIcon(number, QPoint(x(line.f7) + 1, ((line.f8 + line.f9) * R + 2 * T - 2 * F) / 2)));
    }
    return layout;
}

QList<PoolItem> allPlayersPool(const QList<PlanMatchRow>& classMatches)
{
    QList<PoolItem> pool;
    QSet<int> seen;
    for (const PlanMatchRow& match : classMatches) {
        if (match.gruppe != -1)
            continue;
        for (int sid : {match.sid1, match.sid2})
            if (sid >= 0 && !seen.contains(sid)) {
                seen.insert(sid);
                pool.append({QString::number(sid), sid});
            }
    }
    return pool;
}

} // namespace bw::plan
