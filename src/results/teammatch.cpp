#include "results/teammatch.h"

#include "platform/apperror.h"
#include "results/scoremodel.h"

#include <QHash>
#include <QSet>

namespace bw {

namespace {

const QString kPairSeparator = QStringLiteral(" / ");

QString nameKey(const TeamMemberName& m)
{
    return m.nachname + QChar(0) + m.vorname;
}

// The line-up texts of a team's members: short, or with the full first name
// for two different members whose short texts would be the same.
class MemberTexts {
public:
    explicit MemberTexts(const TeamRoster& roster)
    {
        QHash<QString, QSet<QString>> people; // short text -> the members giving it
        const auto note = [&](const std::optional<TeamMemberName>& m) {
            if (m)
                people[memberText(*m)].insert(nameKey(*m));
        };
        for (const auto& m : roster.spieler)
            note(m);
        for (const auto& m : roster.reserve)
            note(m);
        for (const auto& m : roster.doppel)
            note(m);
        for (auto it = people.cbegin(); it != people.cend(); ++it) {
            if (it.value().size() > 1)
                m_ambiguous.insert(it.key());
        }
    }

    QString text(const TeamMemberName& m) const
    {
        const QString brief = memberText(m);
        return m_ambiguous.contains(brief) ? memberText(m, true) : brief;
    }

    // "A / B"; a missing second member leaves "A / ", a missing first "B".
    QString pair(const std::optional<TeamMemberName>& a, const std::optional<TeamMemberName>& b) const
    {
        QString result;
        if (a)
            result = text(*a) + kPairSeparator;
        if (b)
            result += text(*b);
        return result;
    }

private:
    QSet<QString> m_ambiguous;
};

void selectIfOffered(LineupChoice& choice, const QString& text)
{
    choice.text = choice.items.contains(text) ? text : QString();
}

// "hh:mm" typed in a game's time field; blanks are no time.
std::optional<QTime> typedTime(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QTime();
    for (const char* format : {"H:mm", "H:mm:ss"}) {
        const QTime time = QTime::fromString(t, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}

} // namespace

int lineupIndex(int teamposition)
{
    for (size_t i = 0; i < kTeamPositions.size(); ++i) {
        if (kTeamPositions[i] == teamposition)
            return int(i);
    }
    return -1;
}

QString memberText(const TeamMemberName& member, bool fullFirstName)
{
    const QString vorname = member.vorname.trimmed();
    if (vorname.isEmpty())
        return member.nachname;
    return member.nachname + QStringLiteral(", ") + (fullFirstName ? vorname : vorname.left(1) + QLatin1Char('.'));
}

TeamLineup teamLineup(const std::optional<TeamRoster>& roster)
{
    TeamLineup lineup;
    if (!roster)
        return lineup;
    const MemberTexts texts(*roster);
    QStringList singles;
    for (const auto& m : roster->spieler) {
        if (m)
            singles << texts.text(*m);
    }
    for (const auto& m : roster->reserve) {
        if (m)
            singles << texts.text(*m);
    }
    for (int i = 0; i < 4; ++i) {
        lineup[size_t(i)].items = singles;
        if (const auto& m = roster->spieler[size_t(i)])
            lineup[size_t(i)].text = texts.text(*m);
    }
    const std::array<QString, 2> pairs{texts.pair(roster->doppel[0], roster->doppel[1]),
                                       texts.pair(roster->doppel[2], roster->doppel[3])};
    QStringList pairItems;
    for (const QString& pair : pairs) {
        if (!pair.isEmpty())
            pairItems << pair;
    }
    for (int d = 0; d < 2; ++d) {
        lineup[size_t(4 + d)].items = pairItems;
        lineup[size_t(4 + d)].text = pairs[size_t(d)];
    }
    return lineup;
}

void restoreLineup(TeamLineup& lineup, int side, const std::vector<TeamGameRow>& games)
{
    for (const TeamGameRow& game : games) {
        const std::optional<int>& position = side == 1 ? game.p1 : game.p2;
        const std::optional<QString>& stored = side == 1 ? game.sbez1 : game.sbez2;
        // A game never stored has no positions; a stored one with Null for
        // its player had the choice left empty.
        if (!position)
            continue;
        const int index = lineupIndex(*position);
        if (index >= 0)
            selectIfOffered(lineup[size_t(index)], stored.value_or(QString()));
    }
}

int openedSetEntries(const QString& result, const QStringList& items)
{
    if (!items.contains(result))
        return 0;
    const QStringList parts = result.split(QLatin1Char(':'));
    return parts.size() == 2 ? parts[0].toInt() + parts[1].toInt() : 0;
}

std::vector<TeamGamePlan> TeamMatch::gamePlans() const
{
    std::vector<TeamGamePlan> plans;
    for (const TeamGameEntry& game : games) {
        const std::optional<QTime> zeit = typedTime(game.zeit);
        if (!zeit)
            throw AppError(QStringLiteral("Die Uhrzeit von Spiel %1 ist keine gültige Uhrzeit: \"%2\"")
                               .arg(game.nummer)
                               .arg(game.zeit));
        TeamGamePlan plan;
        plan.nummer = game.nummer;
        plan.plan = {game.tisch, game.tag, *zeit, game.schiri};
        plan.p1 = game.p1;
        plan.p2 = game.p2;
        const auto chosen = [](const TeamLineup& lineup, const std::optional<int>& position) {
            const int index = position ? lineupIndex(*position) : -1;
            return index >= 0 ? lineup[size_t(index)].text : QString();
        };
        plan.sbez1 = chosen(lineup1, game.p1);
        plan.sbez2 = chosen(lineup2, game.p2);
        plans.push_back(std::move(plan));
    }
    return plans;
}

int TeamMatch::gameWithoutValidTable() const
{
    for (const TeamGameEntry& game : games) {
        if (!game.tische.contains(game.tisch))
            return game.nummer;
    }
    return 0;
}

std::optional<TeamMatch> loadTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, const TeamMatchFill& fill)
{
    const std::optional<MatchDialogRow> row = readMatchDialogRow(db, kid, spielnummer);
    if (!row)
        return std::nullopt;
    TeamMatch match;
    match.kid = kid;
    match.spielnummer = spielnummer;
    match.gruppe = row->gruppe;
    match.phase = row->phase;
    match.stage = row->state();
    match.ergebnis = row->ergebnis;
    match.spielende = row->spielende;
    match.spaetereAufrufe = row->spaetereAufrufe;

    const std::vector<TeamGameRow> rows = readTeamGames(db, kid, spielnummer);
    if (!rows.empty()) {
        const TeamGameRow& first = rows.front();
        match.mid1 = first.mid1;
        match.mid2 = first.mid2;
    } else {
        match.mid1 = row->sid1;
        match.mid2 = row->sid2;
    }
    const std::optional<TeamRoster> roster1 = readTeamRoster(db, match.mid1);
    const std::optional<TeamRoster> roster2 = readTeamRoster(db, match.mid2);
    match.team1 = match.mid1 < 0 ? (rows.empty() ? row->spieler1 : rows.front().spieler1)
                                 : (roster1 ? roster1->teamname : QString());
    match.team2 = match.mid2 < 0 ? (rows.empty() ? row->spieler2 : rows.front().spieler2)
                                 : (roster2 ? roster2->teamname : QString());
    match.lineup1 = teamLineup(roster1);
    match.lineup2 = teamLineup(roster2);
    restoreLineup(match.lineup1, 1, rows);
    restoreLineup(match.lineup2, 2, rows);

    const std::optional<TeamFormat> format = readTeamFormat(db, kid);
    const QStringList groupTables = readGroupTables(db, kid, row->gruppe);
    const QStringList umpires = readClassUmpires(db, kid);
    for (const TeamGameRow& stored : rows) {
        TeamGameEntry game;
        game.nummer = stored.nummer;
        if (format && stored.nummer >= 1 && stored.nummer <= 9) {
            game.p1 = format->a[size_t(stored.nummer - 1)];
            game.p2 = format->b[size_t(stored.nummer - 1)];
        }
        game.tag = stored.geplanterTag.isValid() ? stored.geplanterTag : fill.startDay;
        game.zeit = stored.geplanteZeit.isValid() ? stored.geplanteZeit.toString(QStringLiteral("hh:mm")) : QString();
        game.tisch = stored.geplanterTisch;
        game.schiri = stored.schiri;
        game.tische = fill.callUp ? fill.freeTables : groupTables;
        game.schiris = fill.callUp ? fill.freeUmpires : umpires;
        // A call-up offers only what is free: the planned table when it is,
        // else the first free one, and no umpire who is busy. Planning shows
        // the plan as stored, without a table the organiser never chose.
        if (fill.callUp && !game.tische.contains(game.tisch))
            game.tisch = game.tische.value(0);
        if (fill.callUp && !game.schiris.contains(game.schiri))
            game.schiri.clear();
        if (fill.withResults) {
            game.erg = stored.ergebnis;
            for (size_t k = 0; k < 9; ++k)
                game.saetze[k] = setEntryText(stored.saetze[k]);
        }
        match.games.push_back(std::move(game));
    }
    return match;
}

} // namespace bw
