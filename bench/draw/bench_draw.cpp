// Finishing the draw of a large class, each run into a fresh class, median of
// five alternating runs per backend: (a) 128 entrants in 32 groups of 4, two of
// each group into a knock-out of 64; (b) a knock-out of 128; (c) a double
// knock-out of 100 entrants in 128 slots (28 byes to settle). The floor is the
// same rows inserted through one prepared statement per table, reused, in one
// transaction, without reading or settling anything. Goal: within 2x.
//
// Then "Losen" itself on the wizard's model, median of 21 runs: a knock-out of
// 128 slots with club separation (120 entrants of 12 clubs, one of them 30
// strong, 16 seeds), 128 entrants of 12 clubs into 32 groups of 4 with club
// separation, and the 64 qualifiers of those groups into a knock-out of 64
// and into 16 groups of 4. Goal: instant (well under 100 ms).
#include "benchtiming.h"

#include "finishfixture.h"

#include "data/classrecords.h"
#include "data/transaction.h"
#include "data/kosystem.h"
#include "draw/drawmodel.h"
#include "draw/losen.h"
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

auslosungsinfos drawSettings(int system1, int groups1, int places1, int besten1, int system2, int groups2,
                             int places2)
{
    auslosungsinfos s;
    s.phase = {system1, system2, -1};
    s.gruppenanzahl = {groups1, groups2, -1};
    s.teilnehmer = {places1, places2, -1};
    s.besten = {besten1, system2 >= 0 ? 0 : -1, -1};
    s.bestplazierten = {0, system2 >= 0 ? 0 : -1, -1};
    return s;
}

// `count` entrants of 12 clubs, a quarter of them of the first club; the first
// `seeds` of them seeded.
void entrants(int count, int seeds, QList<Myitem>& seeded, QList<Myitem>& registered)
{
    for (int i = 0; i < count; ++i) {
        const int club = i % 4 == 0 ? 0 : i % 12;
        const QString name = QStringLiteral("Spieler %1, A").arg(i, 3, 10, QLatin1Char('0'));
        Myitem item{100 + i, 0, false, -1, name, QStringLiteral("Verein %1").arg(club), false};
        if (i < seeds) {
            item.gesetzt = i + 1;
            seeded.append(item);
        } else {
            registered.append(item);
        }
    }
}

void benchLosen()
{
    struct Case {
        const char* name;
        auslosungsinfos settings;
        int entrants;
        int seeds;
        int phase;
    };
    const QList<Case> cases = {
        {"knock-out of 128 slots, clubs", drawSettings(1, 0, 0, 0, -1, 0, 0), 120, 16, 1},
        {"32 groups of 4, clubs", drawSettings(0, 32, 4, 2, 1, 0, 0), 128, 0, 1},
        {"qualifiers of 32 groups into a knock-out of 64", drawSettings(0, 32, 4, 2, 1, 0, 0), 128, 0, 2},
        {"qualifiers of 32 groups into 16 groups of 4", drawSettings(0, 32, 4, 2, 0, 16, 4), 128, 0, 2},
    };
    for (const Case& c : cases) {
        QList<Myitem> seeded, registered;
        entrants(c.entrants, c.seeds, seeded, registered);
        std::vector<double> times;
        for (int run = 0; run < 21; ++run) {
            DrawModel model;
            model.setUp(1, 1, 1, c.settings, {}, seeded, registered);
            const DrawPhase& ph = model.phase(c.phase);
            const std::vector<int> positions =
                ph.isKnockOut() ? seedPositions(int(ph.koinfos.size())) : std::vector<int>{};
            SeededRandom random{quint32(run)};
            times.push_back(millis([&] { losen(model, c.phase, {false, true, false}, positions, random); }));
        }
        std::printf("Losen      %-48s %7.2f ms\n", c.name, median(times));
    }
}

} // namespace

int main(int argc, char** argv)
{
    setUpLikeTests();
    QCoreApplication app(argc, argv);
    forEachBackend([](Backend backend, const char* name) { bench(backend, name); });
    benchLosen();
    return 0;
}
