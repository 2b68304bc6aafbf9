// The knock-out printouts at size 4 into PDF files: a double knock-out of 256
// slots (about 260 A4 pages) and a knock-out of 128 entrants, each printed by
// the data module on the application's printer context (match rows read, plan
// laid out, cut into tiles, every page drawn with the items of its tile), median
// of three runs. The floor, measured
// in the same run: the same plan's items drawn once on one PDF page of the
// plan's full size. Goal: within 2x of the floor in time, and a file that grows
// with the pages printed, not with pages x items (printed: the items drawn over
// all pages against the plan's items, and bytes per page). Qt's PDF engine
// starts a compressed stream for every page, which costs about a millisecond a
// page whatever is drawn on it, so the time of as many empty pages is printed
// beside, with the ratio to the floor and these pages together.
#include "../../tests/plans/planfixture.h"
#include "benchtiming.h"

#include "data/planviewrecords.h"
#include "output/koplanprint.h"
#include "output/tdruck_form.h"
#include "output/tdrucken.h"
#include "platform/apppaths.h"
#include "platformui/printercontext.h"
#include "plans/bracketlayout.h"
#include "support/fakeprompter.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace bw;
using namespace bw::test;

namespace {

constexpr int kRuns = 3;
constexpr int kSize = 4;

void toPdf(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
}

// The floor: the plan's items on one page as large as the plan.
void floorPage(const koprint::PlanPrint& plan, const QString& file)
{
    QPrinter printer;
    toPdf(printer, file);
    printer.setPageSize(QPageSize(QSizeF(plan.width / 10.0 + 10, plan.height / 10.0 + 10), QPageSize::Millimeter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    PrintJob job(printer);
    job.canvas().draw(plan.items);
    job.finish();
}

// What the PDF engine takes for the pages alone: as many empty A4 pages.
void emptyPages(int count, const QString& file)
{
    QPrinter printer;
    toPdf(printer, file);
    PrintJob job(printer);
    job.printPages(QList<PrintPage>(count));
    job.finish();
}

void bench(Backend backend, const char* backendName)
{
    TestDatabase tdb(backend);
    if (!tdb.ready())
        return;
    const QSqlDatabase db = tdb.db();
    QTemporaryDir dir;
    FakePrompter prompter;
    Tdruck_form form(nullptr);
    Tdrucken drucken(nullptr);
    PrinterContext printers; // the application's printer
    QPrinter& printer = printers.printer();
    int kid = 0;
    const QString resources = TempProgramFolder::sourceDir() + QStringLiteral("/resources");
    drucken.setLinks(DruckenLinks{&prompter, [&] { return db; }, [&] { return kid; },
                                  [] { return QStringLiteral("Stadtmeisterschaft"); },
                                  [] { return QStringLiteral("Spielplan für Herren A (Einzel)"); },
                                  [&](const QString& relative) { return AppPaths::resolve(resources, relative); },
                                  [&]() -> QPrinter& { return printer; }, &form, {}});
    const QString printed = dir.filePath(QStringLiteral("plan.pdf"));
    drucken.PrintDialog1 = [&](QPrinter& p, QWidget*) {
        toPdf(p, printed);
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        return true;
    };
    drucken.showPrintSize = [](Tdruck_form& f) {
        f.setSize(kSize);
        f.setOrientation(koprint::Orientation::Portrait);
        return int(QDialog::Accepted);
    };

    struct Case {
        PlaySystem system;
        const char* name;
        int entrants;
    };
    for (const Case& c : {Case{PlaySystem::DoppeltesKO, "Doppel-KO", 256}, Case{PlaySystem::EinfachesKO, "KO", 128}}) {
        const bool doubleKo = c.system == PlaySystem::DoppeltesKO;
        kid = drawnClass(db, QString::fromLatin1(c.name), {knockOut(c.system)}, c.entrants);

        // The plan as the printout lays it out, for the floor and the counts.
        printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        const PageMetrics page{210, 297, 5, 5};
        const QList<PlanMatchRow> rows = readPlanMatches(db, kid);
        const koprint::PlanHeader header{QStringLiteral("Stadtmeisterschaft"),
                                         QStringLiteral("Spielplan für Herren A (Einzel)")};
        const int n = plan::firstRoundMatches(rows);
        const koprint::PlanPrint laidOut =
            doubleKo ? koprint::doubleKoPlan(
                           readDoubleKoPlan(AppPaths::resolve(resources, QString::fromLatin1(kDoubleKoFile)), 2 * n),
                           rows, 0, header, kSize, page)
                     : koprint::koPlan(rows, header, kSize, page);
        const QList<PrintPage> pages = koprint::tilePages(laidOut, koprint::tileSize(page));
        qsizetype drawn = 0;
        for (const PrintPage& p : pages)
            drawn += p.size();

        const QString floorFile = dir.filePath(QStringLiteral("floor.pdf"));
        const QString emptyFile = dir.filePath(QStringLiteral("empty.pdf"));
        std::vector<double> prints;
        std::vector<double> floors;
        std::vector<double> empties;
        for (int run = 0; run < kRuns; ++run) {
            empties.push_back(timing::millis([&] { emptyPages(int(pages.size()), emptyFile); }));
            prints.push_back(timing::millis([&] {
                if (doubleKo)
                    drucken.doppelterkoplan(2, 1, 1);
                else
                    drucken.koplan(1, 1, 1);
            }));
            floors.push_back(timing::millis([&] { floorPage(laidOut, floorFile); }));
        }
        const double a = timing::median(prints);
        const double b = timing::median(floors);
        const double e = timing::median(empties);
        const qint64 bytes = QFileInfo(printed).size();
        std::printf("%-10s %-9s %3d entrants, size %d: %4d pages, %5d items (%5d drawn over all pages)\n"
                    "    printout %7.1f ms, %8lld bytes (%5lld a page, %6lld for as many empty pages)\n"
                    "    floor    %7.1f ms, %8lld bytes\n"
                    "    %d empty pages alone %.1f ms\n",
                    backendName, c.name, c.entrants, kSize, int(pages.size()), int(laidOut.items.size()),
                    int(drawn), a, bytes, bytes / std::max<qint64>(1, pages.size()), QFileInfo(emptyFile).size(), b,
                    QFileInfo(floorFile).size(), int(pages.size()), e);
        timing::report(c.name, backendName, a / b, timing::atMost(2));
        const QString withPages = QStringLiteral("%1 against floor + empty pages").arg(QLatin1String(c.name));
        timing::report(qPrintable(withPages), backendName, a / (b + e));
        if (!prompter.shown().isEmpty())
            std::printf("unexpected message: %s\n", qPrintable(prompter.shown().last().text));
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
