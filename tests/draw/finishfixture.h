// Draws as the wizard hands them over, for the plan generation tests and the
// benchmark: settings of one to three phases, phase-1 groups or brackets filled
// with numbered entrants, later phases filled with the qualifier texts the
// wizard lists for them.
#pragma once

#include "draw/plangeneration.h"
#include "support/tempprogramfolder.h"

#include <QStringList>

namespace bw::test {

// A plan-definition file of the source tree ("system.txt", "ko_system.txt").
inline QString shippedFile(const char* name)
{
    return TempProgramFolder::sourceDir() + QStringLiteral("/resources/Files/") + QString::fromLatin1(name);
}

inline PhaseSettings groupPhase(int groups, int places, int besten = 0, int bestplazierten = 0)
{
    return {PlaySystem::Gruppenphase, groups, places, besten, bestplazierten};
}
inline PhaseSettings knockOut(PlaySystem system = PlaySystem::EinfachesKO)
{
    return {system, 0, 0, 0, 0};
}

inline int slotsFor(int participants)
{
    int size = 2;
    while (size < participants)
        size *= 2;
    return size;
}

// The entrant drawn as number i (from 0): key 100 + i.
inline DrawnEntry entrantNo(int i)
{
    return DrawnEntry::entrant(100 + i, QStringLiteral("Spieler %1").arg(i, 3, 10, QLatin1Char('0')));
}

// The group letter of index g over all phases.
inline QString letterOf(int g)
{
    return QString(QChar(65 + g));
}

// The qualifier texts of a group phase in the wizard's order: every group's
// winner, then every group's second, ..., then the best-placed.
inline QStringList qualifierTexts(int firstGroup, const PhaseSettings& phase)
{
    static const char* const ranks[] = {"Sieger Gruppe ", "Zweiter Gruppe ", "Dritter Gruppe "};
    QStringList texts;
    for (int r = 1; r <= phase.besten; ++r) {
        for (int g = 0; g < phase.gruppenanzahl; ++g) {
            const QString rank = r <= 3 ? QString::fromLatin1(ranks[r - 1]) : QStringLiteral("%1. Gruppe ").arg(r);
            texts << rank + letterOf(firstGroup + g);
        }
    }
    for (int k = 1; k <= phase.bestplazierten; ++k)
        texts << QStringLiteral("%1. Bestplatzierter %2. Platz").arg(k).arg(phase.besten + 1);
    return texts;
}

// Fills a phase with `entries`: groups row by row over the groups (snake order),
// or the bracket of the smallest size that holds them, its first slots of the
// matches first; what is left over stays empty.
inline DrawnPhase fill(const PhaseSettings& phase, const QList<DrawnEntry>& entries)
{
    DrawnPhase drawn;
    if (phase.system == PlaySystem::Gruppenphase) {
        drawn.groups = QList<QList<DrawnEntry>>(phase.gruppenanzahl, QList<DrawnEntry>(phase.teilnehmer));
        for (int i = 0; i < entries.size(); ++i) {
            const int row = i / phase.gruppenanzahl;
            const int column = i % phase.gruppenanzahl;
            const int group = row % 2 == 0 ? column : phase.gruppenanzahl - 1 - column;
            drawn.groups[group][row] = entries[i];
        }
    } else {
        const int size = slotsFor(int(entries.size()));
        drawn.bracket = QList<DrawnEntry>(size);
        for (int i = 0; i < entries.size(); ++i)
            drawn.bracket[i < size / 2 ? 2 * i : 2 * (i - size / 2) + 1] = entries[i];
    }
    return drawn;
}

// A first draw of the phases with `entrants` entrants in phase 1 and the
// qualifiers of each phase in the next; every table for every group.
inline FinishedDraw firstDraw(int tid, int kid, const QList<PhaseSettings>& phases, int entrants,
                              const QStringList& tables = {QStringLiteral("T1"), QStringLiteral("T2")})
{
    FinishedDraw draw;
    draw.tid = tid;
    draw.kid = kid;
    draw.settings.phases = {};
    for (int k = 0; k < phases.size(); ++k)
        draw.settings.phases[size_t(k)] = phases[k];
    QList<DrawnEntry> entries;
    for (int i = 0; i < entrants; ++i)
        entries << entrantNo(i);
    int firstGroup = 0;
    for (int k = 0; k < phases.size(); ++k) {
        draw.phases[size_t(k)] = fill(phases[k], entries);
        if (phases[k].system != PlaySystem::Gruppenphase)
            break;
        entries.clear();
        for (const QString& text : qualifierTexts(firstGroup, phases[k]))
            entries << DrawnEntry::qualifier(text);
        firstGroup += phases[k].gruppenanzahl;
    }
    draw.tables.tables = tables;
    return draw;
}

} // namespace bw::test
