// The links of the plan module for the plan tests, the benchmark and the pictures.
#pragma once

#include "platform/apppaths.h"
#include "plans/tspielplaene.h"
#include "support/tempprogramfolder.h"

#include <QDate>

namespace bw::test {

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
