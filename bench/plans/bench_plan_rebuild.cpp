// Rebuilding every plan page of a class of 128 entrants in 32 groups of 4
// (planshow, with the teardown of the pages before it), in "Matrix" and in
// "Liste", median of seven alternating runs per backend. The floor, measured
// in the same run: as many plain QLabels as the pages carry controls, with
// their rectangles and texts, created on a page after the previous set was torn
// down the same way (hidden, taken off, deleted later). Goal: within 2x.
#include "planfloor.h"

#include "planfixture.h"
#include "planlinks.h"

#include "platform/apppaths.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

using namespace bw;
using namespace bw::test;
using namespace bw::timing;

namespace {

constexpr int kRuns = 7;

void bench(Backend backend, const char* backendName)
{
    TestDatabase tdb(backend);
    if (!tdb.ready())
        return;
    const QSqlDatabase db = tdb.db();
    const int kid = drawnClass(db, QStringLiteral("Herren"), {groupPhase(32, 4, 2), knockOut()}, 128);

    FakePrompter prompter;
    QTimer timer;
    PlanPanel panel(nullptr);
    Tspielplaene spielplaene(nullptr);
    PlanLinks links = planLinks(prompter, [&] { return db; }, &timer);
    spielplaene.attach(&panel, links);
    panel.resize(830, 600);
    panel.show();
    spielplaene.openClass(kPlanTid, QStringLiteral("Herren (Einzel)"));

    for (const auto& [layoutIndex, layoutName] : {std::pair{0, "Matrix"}, std::pair{1, "Liste"}}) {
        panel.GruppeDarBox->setCurrentIndex(layoutIndex);
        spielplaene.planshow(kid);
        auto* canvas = qobject_cast<PlanCanvas*>(panel.page(0)->widget());
        const QList<plan::ControlSpec> controls = canvas->layout().controls;
        const QSize size = canvas->layout().size;
        std::vector<double> rebuilds;
        std::vector<double> floors;
        for (int run = 0; run < kRuns; ++run) {
            rebuilds.push_back(millisWithTeardown([&] { spielplaene.planshow(kid); }));
            floors.push_back(millisWithTeardown([&] { floorPage(panel.page(0), controls, size); }));
        }
        const double a = timing::median(rebuilds);
        const double b = timing::median(floors);
        std::printf("%-10s %-6s %4d controls, %dx%d px: planshow %6.1f ms, floor %6.1f ms\n", backendName,
                    layoutName, int(controls.size()), size.width(), size.height(), a, b);
        report(layoutName, backendName, a / b, atMost(2));
    }
}

} // namespace

int main(int argc, char** argv)
{
    timing::setUpLikeTests();
    QApplication app(argc, argv);
    timing::forEachBackend([](Backend backend, const char* name) { bench(backend, name); });
    return 0;
}
