// Finishing the draw of a large class, each run into a fresh class, median of
// five alternating runs per backend: (a) 128 entrants in 32 groups of 4, two of
// each group into a knock-out of 64; (b) a knock-out of 128; (c) a double
// knock-out of 100 entrants in 128 slots (28 byes to settle). The floor is the
// same rows inserted through one prepared statement per table, reused, in one
// transaction, without reading or settling anything. Goal: within 2x.
#include "benchtiming.h"

#include "finishfixture.h"

#include "data/classrecords.h"
#include "data/transaction.h"
#include "draw/matchrows.h"
#include "support/testdatabase.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace bw;
using namespace bw::test;
using namespace bw::timing;

namespace {

constexpr int kTid = 1;
constexpr int kRuns = 5;

int newClass(const QSqlDatabase& db, const GroupSettings& settings)
{
    static int classes = 0;
    ClassRecord record;
    record.kbezeichnung = QStringLiteral("Klasse %1").arg(++classes);
    const int kid = insertClass(db, kTid, record, {}, {});
    saveGroupSettings(db, kid, settings, {});
    return kid;
}

void floor(const QSqlDatabase& db, int kid, const DrawRows& rows)
{
    DrawRowInserter places(db, kid);
    MatchInserter matches(db, kTid, kid);
    Transaction transaction(db);
    for (const GroupTableRow& row : rows.tables)
        places.insertTable(row);
    for (const GroupPlaceRow& row : rows.places)
        places.insertPlace(row);
    for (const NewMatch& m : rows.matches)
        matches.insertMatch(m);
    transaction.commit();
}

void bench(Backend backend, const char* backendName)
{
    TestDatabase tdb(backend);
    if (!tdb.ready())
        return;
    const QSqlDatabase db = tdb.db();
    struct Case {
        const char* name;
        QList<PhaseSettings> phases;
        int entrants;
    };
    const QList<Case> cases = {
        {"(a) 32 groups of 4, knock-out of 64", {groupPhase(32, 4, 2, 0), knockOut()}, 128},
        {"(b) knock-out of 128", {knockOut()}, 128},
        {"(c) double knock-out of 100", {knockOut(PlaySystem::DoppeltesKO)}, 100},
    };
    for (const Case& c : cases) {
        FinishedDraw draw = firstDraw(kTid, 0, c.phases, c.entrants, {QStringLiteral("T1"), QStringLiteral("T2")});
        draw.tid = kTid;
        const PlanDefinitions definitions =
            readPlanDefinitions(draw, QStringLiteral(BRACKWELL_SOURCE_DIR "/resources/Files/system.txt"),
                                QStringLiteral(BRACKWELL_SOURCE_DIR "/resources/Files/ko_system.txt"));
        const DrawRows rows = drawRows(draw, definitions, 1);
        std::vector<double> finished;
        std::vector<double> floors;
        for (int run = 0; run < kRuns; ++run) {
            draw.kid = newClass(db, draw.settings);
            finished.push_back(millis([&] { finishDraw(db, draw, definitions); }));
            const int kid = newClass(db, draw.settings);
            floors.push_back(millis([&] { floor(db, kid, rows); }));
        }
        const double a = median(finished);
        const double b = median(floors);
        std::printf("%-10s %-38s %4d rows: finishDraw %7.1f ms, floor %7.1f ms\n", backendName, c.name,
                    int(rows.tables.size() + 2 * rows.places.size() + rows.matches.size()), a, b);
        report(c.name, backendName, a / b, atMost(2));
    }
}

} // namespace

int main(int argc, char** argv)
{
    setUpLikeTests();
    QCoreApplication app(argc, argv);
    forEachBackend([](Backend backend, const char* name) { bench(backend, name); });
    return 0;
}
