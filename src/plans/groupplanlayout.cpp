#include "plans/groupplanlayout.h"

#include "data/groupsettings.h"

#include <QRegularExpression>

namespace bw::plan {

namespace {

const QColor kDiagonal(0xD6, 0xD6, 0xD6);

// The row of a match's side among its group's places: by key for a known
// entrant, by name only for an entrant not known by key (0 or below); -1 when
// the side is not among them.
int placeRow(const QList<const PlanPlaceRow*>& places, int sid, const QString& name)
{
    for (int r = 0; r < places.size(); ++r) {
        const PlanPlaceRow& place = *places[r];
        if (sid > 0 ? place.sid == sid : (place.sid <= 0 && place.bez == name))
            return r;
    }
    return -1;
}

void addText(PlanLayout& layout, int x, int y, const QString& text, bool bold = false)
{
    layout.texts.append({QPoint(x, y), text, bold});
}

void addVertical(PlanLayout& layout, int x, int y1, int y2)
{
    layout.lines.append(QLine(x, y1, x, y2));
}

void addHorizontal(PlanLayout& layout, int x1, int x2, int y)
{
    layout.lines.append(QLine(x1, y, x2, y));
}

ControlSpec playerLabel(int left, int top, const QString& caption, int sid)
{
    return {ControlKind::PlayerLabel, QString(), QRect(left, top, W - 25, 18), caption, sid, PlanTool::None};
}

ControlSpec statusIcon(const QString& name, const QRect& rect)
{
    return {ControlKind::StatusIcon, name, rect, QString(), 1, PlanTool::None};
}

} // namespace

const ControlSpec* PlanLayout::control(const QString& name) const
{
    for (const ControlSpec& spec : controls)
        if (spec.name == name)
            return &spec;
    return nullptr;
}

QStringList PlanLayout::textsAt(QPoint at) const
{
    QStringList found;
    for (const PlanText& text : texts)
        if (text.at == at)
            found << text.text;
    return found;
}

QString toolPicture(PlanTool tool)
{
    switch (tool) {
    case PlanTool::Spielplan: return kSpielplanPicture;
    case PlanTool::Neulosen: return kNeulosenPicture;
    case PlanTool::Drucken: return kDruckenPicture;
    case PlanTool::None: break;
    }
    return {};
}

QString toolHint(PlanTool tool)
{
    switch (tool) {
    case PlanTool::Spielplan: return QStringLiteral("Gesamtspielplan anzeigen");
    case PlanTool::Neulosen: return QStringLiteral("Phase neu auslosen");
    case PlanTool::Drucken: return QStringLiteral("Phase ausdrucken");
    case PlanTool::None: break;
    }
    return {};
}

QList<ControlSpec> toolIcons(int left)
{
    QList<ControlSpec> icons;
    const PlanTool tools[] = {PlanTool::Spielplan, PlanTool::Neulosen, PlanTool::Drucken};
    for (int i = 0; i < 3; ++i)
        icons.append({ControlKind::ToolIcon, QString(), QRect(left + 25 * i, 5, 16, 16), QString(), -1, tools[i]});
    return icons;
}

QString shortTableName(const QString& table)
{
    QString text = table;
    const qsizetype at = text.indexOf(QStringLiteral("Tisch"), 0, Qt::CaseInsensitive);
    if (at >= 0)
        text.replace(at, 5, QStringLiteral("T"));
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        text.remove(blank, 1);
    return text;
}

GroupPlan gruppenplanLayout(const GroupPlanInput& in)
{
    GroupPlan plan;
    PlanLayout& layout = plan.layout;
    const bool matrix = in.kind == GroupLayoutKind::Matrix;
    const int n = std::max(0, in.places);
    const int groups = std::max(0, in.groups);
    const int C = blockHeight(n);
    const int D = standingsLeft(in.kind, n);
    const int o = in.firstGroup;
    plan.gruppenversatz = QList<int>(groups + 1, 0);

    // The rows of each group, in order.
    QList<QList<const PlanPlaceRow*>> places(groups);
    for (const PlanPlaceRow& row : in.placeRows)
        if (row.gid >= o && row.gid < o + groups)
            places[row.gid - o].append(&row);
    QList<QList<const PlanStandingsRow*>> standings(groups);
    for (const PlanStandingsRow& row : in.standingRows)
        if (row.gid >= o && row.gid < o + groups)
            standings[row.gid - o].append(&row);
    QList<QList<const PlanMatchRow*>> matches(groups);
    for (const PlanMatchRow& match : in.matches)
        if (match.phase == in.phase && match.gruppe >= o && match.gruppe < o + groups)
            matches[match.gruppe - o].append(&match);

    layout.controls = toolIcons();
    auto top = [&](int g) { return A + g * C + plan.gruppenversatz[g]; };

    for (int g = 0; g < groups; ++g) {
        const int T = top(g);
        const QString letter = groupLetter(o + g);
        addText(layout, L, T - 20, QStringLiteral("Gruppe ") + letter, true);
        addText(layout, D, T - 20, QStringLiteral("Tabelle Gruppe ") + letter, true);
        addText(layout, D + W, T - 20, QStringLiteral("Spiele"));
        addText(layout, D + W + 38, T - 20, QStringLiteral("S      N"));
        // A team class's columns hold match points, games and sets.
        const char* const headings[3] = {"Punkte", in.team ? "Spiele" : "Sätze", in.team ? "Sätze" : "Bälle"};
        addText(layout, D + W + 83, T - 20, QString::fromUtf8(headings[0]));
        addText(layout, D + W + 135, T - 20, QString::fromUtf8(headings[1]));
        addText(layout, D + W + 190, T - 20, QString::fromUtf8(headings[2]));
        layout.controls.append({ControlKind::GroupIcon, QString(), QRect(L + 80, T - 20, 16, 16), QString(), o + g,
                                PlanTool::Spielplan});

        for (int r = 0; r < n; ++r) {
            const int y = T + 20 * r;
            addHorizontal(layout, D, D + W + 235, y);
            for (int x : {0, 25, W, W + 30, W + 55, W + 80, W + 125, W + 175, W + 235})
                addVertical(layout, D + x, y, y + 20);
            if (!matrix)
                continue;
            if (r < places[g].size() && !places[g][r]->bez.isEmpty())
                layout.controls.append(playerLabel(L + 28, A + 20 * r + g * C + 4, places[g][r]->bez, places[g][r]->sid));
            addHorizontal(layout, L, L + W, y);
            for (int x : {L, L + 25, L + W})
                addVertical(layout, x, y, y + 20);
            addText(layout, L + 5, y + 4, QString::number(r + 1));
            for (int c = 0; c < n; ++c) {
                const int left = L + W + 30 * c;
                if (c == r)
                    layout.fills.append({QRect(QPoint(left + 1, y), QPoint(left + 30, y + 20)), kDiagonal});
                addHorizontal(layout, left, left + 30, y);
                addVertical(layout, left + 30, y, y + 20);
                if (r == 0)
                    addText(layout, left + 10, A + g * C - 20, QString::number(c + 1));
            }
        }

        if (matrix) {
            addHorizontal(layout, L, L + W + 30 * n, T + 20 * n);
            for (const PlanMatchRow* match : matches[g]) {
                if (match->spieler1.isEmpty() || match->spieler2.isEmpty())
                    continue;
                const int p1 = placeRow(places[g], match->sid1, match->spieler1);
                const int p2 = placeRow(places[g], match->sid2, match->spieler2);
                if (p1 < 0 || p2 < 0)
                    continue;
                const int blockTop = A + C * g + 1;
                layout.controls.append(statusIcon(QStringLiteral("status%1").arg(match->spielnummer),
                                                  QRect(L + W + 30 * p2 + 1, blockTop + 20 * p1, 29, 19)));
                layout.controls.append(statusIcon(QStringLiteral("statusx%1").arg(match->spielnummer),
                                                  QRect(L + W + 30 * p1 + 1, blockTop + 20 * p2, 29, 19)));
            }
            plan.gruppenversatz[g + 1] = plan.gruppenversatz[g];
        } else {
            int k = 0;
            for (const PlanMatchRow* match : matches[g]) {
                if (match->spieler1.isEmpty() || match->spieler2.isEmpty())
                    continue;
                const int y = T + 20 * k++;
                addText(layout, L + 2, y + 3, QString::number(match->spielnummer));
                addText(layout, L + 30, y + 3, match->spieler1);
                addText(layout, L + 160, y + 3, match->spieler2);
                if (!match->tischNull)
                    addText(layout, L + 290, y + 3, shortTableName(match->geplanterTisch));
                layout.controls.append(statusIcon(QStringLiteral("status%1").arg(match->spielnummer), QRect(346, y + 1, 24, 19)));
                addHorizontal(layout, L, L + 350, y);
            }
            plan.gruppenversatz[g + 1] = plan.gruppenversatz[g] + (k > n ? 20 * (k - n) : 0);
            addHorizontal(layout, L, L + 350, T + 20 * k);
            for (int x : {L, L + 23, L + 158, L + 288, L + 325, L + 350})
                addVertical(layout, x, T, T + 20 * k);
        }
        addHorizontal(layout, D, D + W + 235, T + 20 * n);
    }

    // Standings, with f points per win.
    const int f = in.pointsPerWin;
    const QString colon = QStringLiteral(":");
    for (int g = 0; g < groups; ++g) {
        const int T = top(g);
        for (int u = 0; u < standings[g].size(); ++u) {
            const PlanStandingsRow& row = *standings[g][u];
            if (row.bez.isEmpty())
                continue;
            const int y = T + 20 * u;
            for (auto [from, to] : {std::pair{0, 25}, {25, W}, {W, W + 30}, {W + 30, W + 55}, {W + 55, W + 80},
                                    {W + 80, W + 125}, {W + 125, W + 175}, {W + 175, W + 235}})
                layout.fills.append({QRect(QPoint(D + from + 1, y + 1), QPoint(D + to - 1, y + 19)), Qt::white});
            const int won = in.team ? row.matchegewonnen : row.spielegewonnen;
            const int lost = in.team ? row.matcheverloren : row.spieleverloren;
            addText(layout, D + 6, y + 4, QString::number(row.pos + 1));
            layout.controls.append(playerLabel(D + 26, y + 4, row.bez, row.sid));
            addText(layout, D + W + 7, y + 4, QString::number(won + lost));
            addText(layout, D + W + 35, y + 4, QString::number(won));
            addText(layout, D + W + 60, y + 4, QString::number(lost));
            addText(layout, D + W + 85, y + 4, QString::number(f * won) + colon + QString::number(f * lost));
            if (in.team) {
                addText(layout, D + W + 130, y + 4, QString::number(row.spielegewonnen) + colon + QString::number(row.spieleverloren));
                addText(layout, D + W + 180, y + 4, QString::number(row.saetzegewonnen) + colon + QString::number(row.saetzeverloren));
            } else {
                addText(layout, D + W + 130, y + 4, QString::number(row.saetzegewonnen) + colon + QString::number(row.saetzeverloren));
                addText(layout, D + W + 180, y + 4, QString::number(row.punktegewonnen) + colon + QString::number(row.punkteverloren));
            }
        }
    }

    for (int g = 0; g < groups; ++g) {
        QList<PoolItem> entrants;
        for (const PlanPlaceRow* place : places[g])
            if (!place->bez.isEmpty())
                entrants.append({QString::number(place->sid), place->sid});
        QList<PoolItem> tables;
        for (const QString& table : in.tables.value(o + g))
            tables.append({table, 0});
        plan.pools.append({QStringLiteral("sliste%1").arg(o + g), entrants});
        plan.pools.append({QStringLiteral("platte%1").arg(o + g), tables});
    }

    layout.size = QSize(D + 420, C * groups + A + plan.gruppenversatz[groups] + 10);
    return plan;
}

} // namespace bw::plan
