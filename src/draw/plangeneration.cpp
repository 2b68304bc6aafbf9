#include "draw/plangeneration.h"

#include "data/classrecords.h"
#include "data/concurrency.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "draw/matchrows.h"
#include "platform/apperror.h"
#include "platform/apppaths.h"
#include "platform/prompter.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>

namespace bw {

namespace {

const QString kGroupOrderName = QStringLiteral("Files\\system.txt");

bool isGroupPhase(const std::optional<PhaseSettings>& phase)
{
    return phase && phase->system == PlaySystem::Gruppenphase;
}

// The index over all phases of the first group of phase k (0-based).
int groupOffset(const GroupSettings& settings, int k)
{
    int offset = 0;
    for (int j = 0; j < k; ++j) {
        if (isGroupPhase(settings.phases[size_t(j)]))
            offset += std::max(0, settings.phases[size_t(j)]->gruppenanzahl);
    }
    return offset;
}

bool isPowerOfTwo(qsizetype n)
{
    return n >= 2 && (n & (n - 1)) == 0;
}

bool isBye(const DrawnEntry& e)
{
    return e.id == Freilos || e.name.isEmpty() || e.name == kFreilosText;
}

// Builds the rows of one draw.
class RowBuilder {
public:
    RowBuilder(const FinishedDraw& draw, const PlanDefinitions& definitions, int firstMatch,
               const QHash<int, FinishingPlace>& previous)
        : m_draw(draw), m_definitions(definitions), m_next(firstMatch), m_previous(previous)
    {
    }

    DrawRows build()
    {
        for (int k = m_draw.firstPhase() - 1; k < kPhaseCount; ++k) {
            if (isGroupPhase(m_draw.settings.phases[size_t(k)]))
                saveGroups(k);
        }
        saveKnockOutTables();
        for (int k = m_draw.firstPhase() - 1; k < kPhaseCount; ++k) {
            const auto& phase = m_draw.settings.phases[size_t(k)];
            if (!phase)
                continue;
            switch (phase->system) {
            case PlaySystem::Gruppenphase:
                groupMatches(k);
                break;
            case PlaySystem::EinfachesKO:
                singleKnockOut(k);
                break;
            case PlaySystem::DoppeltesKO:
                doubleKnockOut(k);
                break;
            }
        }
        return std::move(m_rows);
    }

private:
    const DrawnPhase& drawn(int k) const { return *m_draw.phases[size_t(k)]; }
    // Phase k (0-based) in its new-draw form: the phase drawn again, after phase 1.
    bool newDraw(int k) const { return k >= 1 && m_draw.redrawPhase == k + 1; }

    // A side or place of a new draw's phase as its standings row in the phase
    // before gives it; nothing for an empty place.
    std::optional<MatchSide> fromStandings(const DrawnEntry& e) const
    {
        if (e.id <= 0 || e.name.isEmpty())
            return std::nullopt;
        const auto place = m_previous.constFind(e.id);
        if (place == m_previous.cend())
            return MatchSide{e.id, e.name, -1, -1}; // an entrant without standings keeps his key
        return MatchSide{e.id, e.name, place->gid, place->pos};
    }

    void saveGroups(int k)
    {
        const int offset = groupOffset(m_draw.settings, k);
        const int phase = k + 1;
        const QList<QList<DrawnEntry>>& groups = drawn(k).groups;
        for (int g = 0; g < groups.size(); ++g) {
            const int gid = offset + g;
            const QStringList tables = m_draw.tables.plattensystem == 1 ? m_draw.tables.groupTables.value(gid)
                                                                         : m_draw.tables.tables;
            for (const QString& table : tables)
                m_rows.tables.append({gid, table, phase});
            for (int pos = 0; pos < groups[g].size(); ++pos) {
                const DrawnEntry& e = groups[g][pos];
                GroupPlaceRow row;
                row.gid = gid;
                row.pos = pos;
                row.plattensystem = m_draw.tables.plattensystem;
                row.phase = phase;
                row.bez = e.name;
                if (k == 0) {
                    row.sid = e.name.isEmpty() ? leererPlatz : e.id;
                } else if (const auto side = newDraw(k) ? fromStandings(e) : std::nullopt) {
                    row.sid = side->id;
                    row.parentGID = side->parentGID;
                    row.parentpos = side->parentpos;
                } else {
                    // The row text of an empty place ("3. ") ends in a blank.
                    row.sid = offenerQualifikant;
                    row.parentGID = e.name.isEmpty() ? -2 : e.parentGID;
                    row.parentpos = e.name.isEmpty() ? -1 : e.parentpos;
                }
                m_rows.places.append(row);
            }
        }
    }

    void saveKnockOutTables()
    {
        int last = 0;
        for (int k = m_draw.firstPhase() - 1; k < kPhaseCount; ++k) {
            const auto& phase = m_draw.settings.phases[size_t(k)];
            if (phase && phase->system != PlaySystem::Gruppenphase)
                last = k + 1;
        }
        if (last == 0)
            return;
        for (const QString& table : m_draw.tables.tables)
            m_rows.tables.append({-1, table, last});
    }

    // A place of a group as a match side.
    MatchSide groupSide(int k, const DrawnEntry& e) const
    {
        if (k == 0)
            return e.name.isEmpty() ? MatchSide{} : MatchSide{e.id, e.name, -1, -1};
        if (newDraw(k)) {
            if (const auto side = fromStandings(e))
                return *side;
        }
        if (e.name.isEmpty())
            return MatchSide{};
        return MatchSide{leererPlatz, e.name, e.parentGID, e.parentpos};
    }

    // A bracket slot of a first round as a match side.
    MatchSide slotSide(int k, const DrawnEntry& e) const
    {
        if (isBye(e)) {
            // A later phase's slots carry the sources of their texts, "Freilos" too.
            return k == 0 ? MatchSide{Freilos, kFreilosText, -1, -1}
                          : MatchSide{Freilos, kFreilosText, getparentGID(kFreilosText), getparentpos(kFreilosText)};
        }
        if (k == 0)
            return MatchSide{e.id, e.name, -1, -1};
        if (newDraw(k)) {
            if (const auto side = fromStandings(e))
                return *side;
        }
        return MatchSide{e.id > 0 ? e.id : leererPlatz, e.name, e.parentGID, e.parentpos};
    }

    NewMatch newMatch(int k, const MatchSide& first, const MatchSide& second, bool fromEarlierPhase)
    {
        NewMatch m;
        m.spielnummer = m_next++;
        m.sid1 = first.id;
        m.spieler1 = first.text;
        m.parentGID1 = first.parentGID;
        m.parentpos1 = first.parentpos;
        m.sid2 = second.id;
        m.spieler2 = second.text;
        m.parentGID2 = second.parentGID;
        m.parentpos2 = second.parentpos;
        m.parentsieger1 = fromEarlierPhase;
        m.parentsieger2 = fromEarlierPhase;
        m.phase = k + 1;
        return m;
    }

    void groupMatches(int k)
    {
        const QList<QList<DrawnEntry>>& groups = drawn(k).groups;
        if (groups.isEmpty())
            return;
        const int offset = groupOffset(m_draw.settings, k);
        const QList<Pairing> order = m_definitions.groupOrders.value(int(groups.first().size()));
        for (const Pairing& pairing : order) {
            for (int g = 0; g < groups.size(); ++g) {
                NewMatch m = newMatch(k, groupSide(k, groups[g][pairing.first - 1]),
                                      groupSide(k, groups[g][pairing.second - 1]), k > 0);
                m.gruppe = offset + g;
                m_rows.matches.append(m);
            }
        }
    }

    NewMatch laterMatch(int k, bool winner1, int source1, bool winner2, int source2)
    {
        NewMatch m = newMatch(k, {leererPlatz, winner1 ? winnerPlaceholder(source1) : loserPlaceholder(source1), -1, -1},
                              {leererPlatz, winner2 ? winnerPlaceholder(source2) : loserPlaceholder(source2), -1, -1},
                              false);
        m.parentspiel1 = source1;
        m.parentspiel2 = source2;
        m.parentsieger1 = winner1;
        m.parentsieger2 = winner2;
        return m;
    }

    void singleKnockOut(int k)
    {
        const QList<DrawnEntry>& bracket = drawn(k).bracket;
        int first = m_next;
        int count = int(bracket.size() / 2);
        for (int m = 0; m < count; ++m)
            m_rows.matches.append(newMatch(k, slotSide(k, bracket[2 * m]), slotSide(k, bracket[2 * m + 1]), k > 0));
        while (count > 1) {
            const int round = m_next;
            for (int j = 0; j < count / 2; ++j)
                m_rows.matches.append(laterMatch(k, true, first + 2 * j, true, first + 2 * j + 1));
            first = round;
            count /= 2;
        }
    }

    void doubleKnockOut(int k)
    {
        const QList<DrawnEntry>& bracket = drawn(k).bracket;
        const DoubleKoPlan plan = m_definitions.doubleKo.value(int(bracket.size()));
        const int offset = m_next - 1;
        for (const DoubleKoLine& line : plan.lines) {
            if (line.isLabel())
                continue;
            // The block numbers its matches 1, 2, 3, ... in file order (doubleKoRuleViolations).
            if (line.isFirstRound()) {
                m_rows.matches.append(newMatch(k, slotSide(k, bracket[2 * line.f0 - 2]),
                                               slotSide(k, bracket[2 * line.f0 - 1]), k > 0));
            } else {
                m_rows.matches.append(laterMatch(k, line.slot1IsWinner(), line.f1 + offset, line.slot2IsWinner(),
                                                 line.f2 + offset));
            }
        }
    }

    const FinishedDraw& m_draw;
    const PlanDefinitions& m_definitions;
    int m_next;
    const QHash<int, FinishingPlace>& m_previous;
    DrawRows m_rows;
};

} // namespace

int getparentGID(const QString& text)
{
    if (text.isEmpty())
        return -1;
    const int c = int(text.back().unicode()) - 65;
    if (c == 57)
        return Bestplatziertenliste;
    if (c == -33)
        return -2;
    return c;
}

int getparentpos(const QString& text)
{
    if (text.isEmpty())
        return -1;
    int v = -1;
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot > 0) {
        bool ok = false;
        const int number = QStringView(text).first(dot).toInt(&ok);
        if (ok && number > 0 && std::all_of(text.cbegin(), text.cbegin() + dot, [](QChar c) { return c.isDigit(); }))
            v = number - 1;
    }
    switch (text.front().unicode()) {
    case 'S':
        return 0;
    case 'Z':
        return 1;
    case 'D':
        return 2;
    case 'F':
        return -2;
    default:
        return v;
    }
}

std::optional<QString> finishRefusal(const FinishedDraw& draw)
{
    if (draw.redrawPhase < 0 || draw.redrawPhase > kPhaseCount)
        return QStringLiteral("Die Phase %1 gibt es nicht.").arg(draw.redrawPhase);
    const QString misfit = QStringLiteral("Die Auslosung passt nicht zu den Einstellungen der Klasse.");
    for (int k = draw.firstPhase() - 1; k < kPhaseCount; ++k) {
        const auto& settings = draw.settings.phases[size_t(k)];
        const auto& phase = draw.phases[size_t(k)];
        if (!settings)
            continue;
        if (!phase)
            return misfit;
        if (!phase->undrawn.isEmpty())
            return kUndrawnMessage;
        if (settings->system == PlaySystem::Gruppenphase) {
            if (phase->groups.size() != settings->gruppenanzahl)
                return misfit;
            for (const auto& group : phase->groups) {
                if (group.size() != settings->teilnehmer || group.size() > 13)
                    return misfit;
            }
        } else if (!isPowerOfTwo(phase->bracket.size())) {
            return misfit;
        }
    }
    if (draw.settings.phases[0] == std::nullopt)
        return misfit;
    return std::nullopt;
}

PlanDefinitions readPlanDefinitions(const FinishedDraw& draw, const QString& groupOrderFile,
                                    const QString& doubleKoFile)
{
    PlanDefinitions definitions;
    for (int k = draw.firstPhase() - 1; k < kPhaseCount; ++k) {
        const auto& settings = draw.settings.phases[size_t(k)];
        if (!settings || !draw.phases[size_t(k)])
            continue;
        if (settings->system == PlaySystem::Gruppenphase) {
            const int places = settings->teilnehmer;
            if (places < 2 || definitions.groupOrders.contains(places))
                continue;
            const GroupOrder order = readGroupOrder(groupOrderFile, places);
            if (order.lookup == PlanLookup::FileMissing)
                throw AppError(QStringLiteral("Die Datei %1 mit der Spielfolge der Gruppen fehlt.").arg(kGroupOrderName));
            if (!order.found())
                throw AppError(QStringLiteral("Für Gruppen mit %1 Teilnehmern fehlt die Spielfolge in %2.")
                                   .arg(places)
                                   .arg(kGroupOrderName));
            definitions.groupOrders.insert(places, order.pairings);
        } else if (settings->system == PlaySystem::DoppeltesKO) {
            const int size = int(draw.phases[size_t(k)]->bracket.size());
            if (definitions.doubleKo.contains(size))
                continue;
            DoubleKoPlan plan;
            try {
                plan = readDoubleKoPlan(doubleKoFile, size);
            } catch (const AppError& e) {
                throw AppError(kDoubleKoMissingMessage + QLatin1Char('\n') + e.message());
            }
            if (!plan.found())
                throw AppError(kDoubleKoMissingMessage);
            const QStringList broken = doubleKoRuleViolations(plan, size);
            if (!broken.isEmpty())
                throw AppError(kDoubleKoMissingMessage + QLatin1Char('\n') + broken.first());
            definitions.doubleKo.insert(size, plan);
        }
    }
    return definitions;
}

PlanDefinitions readPlanDefinitions(const FinishedDraw& draw, const AppPaths& paths)
{
    return readPlanDefinitions(draw, paths.programFile(QString::fromLatin1(kGroupOrderFile)),
                               paths.programFile(QString::fromLatin1(kDoubleKoFile)));
}

DrawRows drawRows(const FinishedDraw& draw, const PlanDefinitions& definitions, int firstMatch,
                  const QHash<int, FinishingPlace>& previous)
{
    if (const auto refusal = finishRefusal(draw))
        throw AppError(*refusal);
    return RowBuilder(draw, definitions, firstMatch, previous).build();
}

FinishedPlan finishDraw(const QSqlDatabase& db, const FinishedDraw& draw, const PlanDefinitions& definitions,
                        const std::function<void(int, int)>& progress)
{
    if (const auto refusal = finishRefusal(draw))
        throw AppError(*refusal);
    const int kid = draw.kid;
    const int p = draw.firstPhase();
    const std::optional<TeamFormat> format =
        draw.kind == ClassKind::Team ? readTeamFormat(db, kid) : std::optional<TeamFormat>();
    // Prepared before the transaction (see PreparedStatement).
    MatchRowWriter matches(db, draw.tid, kid, draw.kind, format);
    DrawRowInserter places(db, kid);
    MatchSlotWriter slotWriter(db, kid);
    return inTransaction(db, [&] {
        if (!lockRow(db, s("Turnierklassen"), kid, RowLock::Share))
            throw StaleRecord::gone(QStringLiteral("Die Klasse"));
        lockClassMatches(db, kid);
        const std::optional<GroupSettings> stored = readGroupSettings(db, kid);
        if (!stored || stored->phases != draw.settings.phases)
            throw AppError(QStringLiteral("Die Einstellungen der Klasse wurden inzwischen an einem anderen "
                                          "Arbeitsplatz geändert. Bitte die Auslosung neu beginnen."));
        if (draw.loadedPlan && planStamp(db, kid) != *draw.loadedPlan)
            throw AppError(QStringLiteral("Der Spielplan der Klasse wurde inzwischen an einem anderen Arbeitsplatz "
                                          "geändert. Bitte die Auslosung neu beginnen."));
        if (p >= 2 && phaseHasOpenMatch(db, kid, p - 1))
            throw AppError(QStringLiteral("Phase %1 muss abgeschlossen sein um Phase %2 neu auszulosen")
                               .arg(p - 1)
                               .arg(p));
        deleteDrawFrom(db, kid, p);
        FinishedPlan plan;
        plan.firstMatch = p >= 2 ? lastMatchNumber(db, kid, p - 1) + 1 : 1;
        const DrawRows rows =
            drawRows(draw, definitions, plan.firstMatch, p >= 2 ? readFinishingPlaces(db, kid, p - 1)
                                                                : QHash<int, FinishingPlace>());
        const int total = int(rows.tables.size() + rows.places.size() + rows.matches.size());
        int done = 0;
        const auto step = [&] {
            if (progress && (++done % 64 == 0 || done == total))
                progress(done, total);
        };
        for (const GroupTableRow& row : rows.tables) {
            places.insertTable(row);
            step();
        }
        for (const GroupPlaceRow& row : rows.places) {
            places.insertPlace(row);
            step();
        }
        for (const NewMatch& m : rows.matches) {
            matches.spielplanfuellen(m);
            step();
        }
        plan.lastMatch = plan.firstMatch + int(rows.matches.size()) - 1;
        plan.byeUpdates = freilosebearbeiten(db, kid, slotWriter);
        return plan;
    });
}

namespace {

// The wait cursor while the plan is written.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

bool fertigClick(const FinishedDraw& draw, const FinishDrawLinks& links)
{
    if (finishRefusal(draw) == kUndrawnMessage) {
        links.prompter.warning(kUndrawnMessage);
        return false;
    }
    return runGuarded(links.prompter, [&] {
        const PlanDefinitions definitions = readPlanDefinitions(draw, links.paths);
        {
            const WaitCursor wait;
            finishDraw(links.database(), draw, definitions, links.progress);
        }
        if (draw.redrawPhase == 0) {
            if (links.listPlans)
                links.listPlans(draw.kid);
        } else if (links.planshow) {
            links.planshow(draw.kid);
        }
    });
}

} // namespace bw
