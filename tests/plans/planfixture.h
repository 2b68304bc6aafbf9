// Classes with real plans for the plan panel's tests and benchmark: the class
// stored with its settings, then drawn and finished as the wizard does it.
#pragma once

#include "../draw/finishfixture.h"

#include "data/classrecords.h"
#include "data/groupsettings.h"
#include "support/tempprogramfolder.h"

namespace bw::test {

inline constexpr int kPlanTid = 7;

inline QString shippedPlanFile(const char* name)
{
    return TempProgramFolder::sourceDir() + QStringLiteral("/resources/Files/") + QString::fromLatin1(name);
}

// A class named `name` of `kind` in tournament `tid` whose phases are drawn
// with `entrants` entrants; returns its key.
inline int drawnClass(const QSqlDatabase& db, const QString& name, const QList<PhaseSettings>& phases, int entrants,
                      ClassKind kind = ClassKind::Einzel, const ClassRecord& base = {}, int tid = kPlanTid)
{
    ClassRecord record = base;
    record.system = kind;
    record.kbezeichnung = name;
    const int kid = insertClass(db, tid, record, {}, {});
    FinishedDraw draw = firstDraw(tid, kid, phases, entrants);
    draw.kind = kind;
    saveGroupSettings(db, kid, draw.settings, {});
    finishDraw(db, draw,
               readPlanDefinitions(draw, shippedPlanFile("system.txt"), shippedPlanFile("ko_system.txt")));
    return kid;
}

} // namespace bw::test
