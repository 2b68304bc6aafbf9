#include "draw/drawfinish.h"

namespace bw {

namespace {

DrawnEntry drawnEntry(const DrawEntry& e)
{
    switch (e.kind()) {
    case DrawEntry::Kind::Empty:
        return DrawnEntry::empty();
    case DrawEntry::Kind::Bye:
        return {Freilos, kFreilosText, -1, -1};
    case DrawEntry::Kind::Qualifier:
        return {leererPlatz, e.text(), e.parentGID, e.parentpos};
    case DrawEntry::Kind::Entrant:
        break;
    }
    return {e.item.ID, e.text(), e.parentGID, e.parentpos};
}

QList<DrawnEntry> drawnEntries(const QList<DrawEntry>& entries)
{
    QList<DrawnEntry> result;
    for (const DrawEntry& e : entries)
        if (!e.isEmpty())
            result.append(drawnEntry(e));
    return result;
}

} // namespace

FinishedDraw finishedDraw(const DrawModel& model, int tid)
{
    FinishedDraw draw;
    draw.tid = tid;
    draw.kid = model.kid();
    draw.kind = model.gruppeneinstellung().system;
    draw.settings = model.storedSettings();
    draw.redrawPhase = model.mode() == 2 ? model.redrawPhase() : 0;
    draw.loadedPlan = model.loadedPlan();
    for (int p = model.firstPhaseInScope(); p <= kPhaseCount; ++p) {
        const DrawPhase& ph = model.phase(p);
        if (!ph.exists() || !ph.built)
            continue;
        DrawnPhase drawn;
        for (const QList<DrawEntry>& rows : ph.groups) {
            QList<DrawnEntry> places;
            for (const DrawEntry& row : rows)
                places.append(drawnEntry(row));
            drawn.groups.append(places);
        }
        for (const DrawEntry& slot : ph.koinfos)
            drawn.bracket.append(drawnEntry(slot));
        // Seed placeholders are no entrants: only what still waits counts.
        drawn.undrawn = p == 1 ? drawnEntries(model.registered()) + drawnEntries(model.seeds())
                               : drawnEntries(ph.participants);
        draw.phases[size_t(p - 1)] = drawn;
    }
    draw.tables.plattensystem = model.plattensystem();
    draw.tables.tables = model.tables();
    draw.tables.groupTables = model.plattenlisten();
    return draw;
}

} // namespace bw
