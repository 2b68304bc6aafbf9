// Classes with real plans for the plan panel's tests and benchmark: the class
// stored with its settings, then drawn and finished as the wizard does it.
#pragma once

#include "../draw/finishfixture.h"

#include "data/classrecords.h"
#include "data/groupsettings.h"
#include "platform/apppaths.h"
#include "plans/tspielplaene.h"
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

// The links of the plan module as tests, the benchmark and the pictures use
// them: the database, 6 June 2026 as the tournament's first day, the pictures
// of the source tree, the reminder timer.
inline PlanLinks planLinks(Prompter& prompter, std::function<QSqlDatabase()> database, QTimer* timer)
{
    PlanLinks links;
    links.prompter = &prompter;
    links.database = std::move(database);
    links.firstDay = [] { return QDate(2026, 6, 6); };
    links.programFile = [](const QString& relative) {
        return AppPaths::resolve(TempProgramFolder::sourceDir() + QStringLiteral("/resources"), relative);
    };
    links.Timer1 = timer;
    return links;
}

} // namespace bw::test
