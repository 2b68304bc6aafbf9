// The bracket page of a knock-out of 128 entrants (64 first-round matches) and
// of a double knock-out of 128 slots (254 matches), each drawn by the zoom
// buttons at zoom 2 and 3 (the match rows read, the page torn down and drawn
// anew), median of seven alternating runs per backend. The floor, measured in
// the same run: as many plain QLabels as the page carries controls, with their
// rectangles and texts, created after the previous set was torn down the same
// way. Goal: within 2x. Also printed: how much the peak memory grew while the
// page was first drawn, beside what a page-size picture would take.
#include "planfloor.h"

#include "planfixture.h"

#include "platform/apppaths.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QFile>
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

// Peak resident memory of the process so far (VmHWM), in kB.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

void bench(Backend backend, const char* backendName)
{
    TestDatabase tdb(backend);
    if (!tdb.ready())
        return;
    const QSqlDatabase db = tdb.db();
    FakePrompter prompter;
    QTimer timer;
    PlanPanel panel(nullptr);
    Tspielplaene spielplaene(nullptr);
    PlanLinks links;
    links.prompter = &prompter;
    links.database = [&] { return db; };
    links.firstDay = [] { return QDate(2026, 6, 6); };
    links.programFile = [](const QString& relative) {
        return AppPaths::resolve(TempProgramFolder::sourceDir() + QStringLiteral("/resources"), relative);
    };
    links.Timer1 = &timer;
    spielplaene.attach(&panel, links);
    panel.resize(830, 600);
    panel.show();
    const std::pair<PlaySystem, const char*> systems[] = {{PlaySystem::EinfachesKO, "KO"},
                                                          {PlaySystem::DoppeltesKO, "Doppel-KO"}};
    for (const auto& [system, name] : systems) {
        drawnClass(db, QString::fromLatin1(name), {knockOut(system)}, 128);
        spielplaene.openClass(kPlanTid, QString::fromLatin1(name) + QStringLiteral(" (Einzel)"));
        for (int zoom : {2, 3}) {
            const long before = peakKb();
            spielplaene.zoom(zoom);
            QCoreApplication::processEvents();
            const long grown = peakKb() - before;
            auto* canvas = qobject_cast<PlanCanvas*>(panel.page(0)->widget());
            const QList<plan::ControlSpec> controls = canvas->layout().controls;
            const QSize size = canvas->layout().size;
            std::vector<double> pages;
            std::vector<double> floors;
            for (int run = 0; run < kRuns; ++run) {
                pages.push_back(millisWithTeardown([&] { spielplaene.zoom(zoom); }));
                floors.push_back(millisWithTeardown([&] { floorPage(panel.page(0), controls, size); }));
            }
            const double a = timing::median(pages);
            const double b = timing::median(floors);
            std::printf("%-10s %-9s zoom %d, %4d controls, %dx%d px: page %6.1f ms, floor %6.1f ms; "
                        "peak memory +%ld kB (a page-size picture: %lld kB)\n",
                        backendName, name, zoom, int(controls.size()), size.width(), size.height(), a, b, grown,
                        qint64(size.width()) * size.height() * 4 / 1024);
            report(qPrintable(QStringLiteral("%1 zoom %2").arg(QLatin1String(name)).arg(zoom)), backendName, a / b,
                   atMost(2));
        }
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
