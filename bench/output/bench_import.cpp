// The player import, three ways:
// - a sheet of 2,000 rows: the .xlsx read, mapped and the entries written
//   through importPlayers into a fresh tournament, against a floor of the same
//   2,000 Spielerdaten rows inserted through one prepared statement in one
//   transaction; median of five runs per backend. Goal: within 3 times the floor.
// - the same sheet shown by the import dialog (read, grid filled, the progress
//   bar advanced) with and without one stray cell in column XFD. Goal: as fast
//   with it as without.
// - 10,000 entries moved with "->>" and back with "<<-" on the import page.
//   Goal: well under a second each.
#include "benchtiming.h"

#include "data/importrecords.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "output/importpage.h"
#include "output/importsources.h"
#include "output/timport_form.h"
#include "output/xlsxbook.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

using namespace bw;
using namespace bw::test;
using namespace bw::timing;

namespace {

constexpr int kRows = 2000;
constexpr int kRuns = 5;

constexpr int kMovedEntries = 10000;

// The sheet of kRows players; with `strayCell` one cell far right in XFD1, as a
// stray keystroke leaves it.
QString writeSheet(const QTemporaryDir& dir, bool strayCell = false)
{
    const QString path = dir.filePath(strayCell ? QStringLiteral("meldungen-xfd.xlsx") : QStringLiteral("meldungen.xlsx"));
    XlsxBook book(path);
    XlsxSheet sheet = book.addSheet(QStringLiteral("Meldungen"));
    const QStringList header{QStringLiteral("Name"), QStringLiteral("Vorname"), QStringLiteral("Verein"),
                             QStringLiteral("Geburtstag"), QStringLiteral("Land")};
    for (int c = 0; c < header.size(); ++c)
        sheet.writeText(0, c, header[c]);
    for (int r = 1; r <= kRows; ++r) {
        sheet.writeText(r, 0, QStringLiteral("Spieler %1").arg(r));
        sheet.writeText(r, 1, QStringLiteral("Vorname %1").arg(r % 97));
        sheet.writeText(r, 2, QStringLiteral("TTC Verein %1").arg(r % 40));
        sheet.writeText(r, 3, QStringLiteral("%1.%2.19%3").arg(r % 28 + 1).arg(r % 12 + 1).arg(r % 60 + 40));
        sheet.writeText(r, 4, QStringLiteral("Deutschland"));
    }
    if (strayCell)
        sheet.writeText(0, 16383, QStringLiteral("x"));
    book.close();
    return path;
}

void bench(Backend backend, const char* name, const QString& sheetPath)
{
    const QStringList order{QStringLiteral("Nachname"), QStringLiteral("Vorname"), QStringLiteral("Verein"),
                            QStringLiteral("Geburtstag"), QStringLiteral("Land")};
    std::vector<double> imports, floors;
    for (int run = 0; run < kRuns; ++run) {
        {
            TestDatabase tdb(backend);
            if (!tdb.ready())
                return;
            insertRow(tdb.db(), s("Turnierdaten"), {{s("TID"), 1}});
            imports.push_back(millis([&] {
                const TextTable table = SheetReader::readFile(sheetPath);
                importPlayers(tdb.db(), 1, sheetItems(table, order));
            }));
        }
        {
            TestDatabase tdb(backend);
            if (!tdb.ready())
                return;
            insertRow(tdb.db(), s("Turnierdaten"), {{s("TID"), 1}});
            floors.push_back(millis([&] {
                PreparedStatement insert(tdb.db(), positionalInsert(s("Spielerdaten")));
                Transaction transaction(tdb.db());
                for (int r = 1; r <= kRows; ++r) {
                    insert.exec({{s("tid"), 1}, {s("sid"), r}, {s("nachname"), QStringLiteral("Spieler %1").arg(r)},
                                 {s("vorname"), QStringLiteral("Vorname")}, {s("verein"), QStringLiteral("TTC")},
                                 {s("geb"), QDate(1980, 1, 1)}, {s("nummer"), QVariant()}, {s("kverband"), QString()},
                                 {s("bverband"), QString()}, {s("lverband"), QString()},
                                 {s("land"), QStringLiteral("Deutschland")}, {s("zubezahlen"), QVariant()},
                                 {s("bezahlt"), false}, {s("angemeldet"), false}, {s("mann"), false},
                                 {s("frau"), false}, {s("spklasse"), QString()}, {s("spielstaerke"), QString()},
                                 {s("email"), QString()}, {s("livespielerid"), 0}});
                }
                transaction.commit();
            }));
        }
    }
    const double a = median(imports);
    const double b = median(floors);
    std::printf("%-10s %d sheet rows: import %8.1f ms, floor (plain inserts) %8.1f ms\n", name, kRows, a, b);
    report("player import", name, a / b, atMost(3));
}

// The import dialog showing a sheet: read, grid and progress bar.
double showSheet(const QString& path)
{
    FakePrompter prompter;
    QProgressBar bar;
    Timport_form dialog(nullptr, {prompter, {}, &bar, {}});
    dialog.importopenFilterIndex = Timport_form::Sheet;
    dialog.importopenFileName = path;
    const double ms = millis([&] { dialog.FormShow(); });
    if (dialog.DBGrid1->rowCount() != kRows)
        std::printf("unexpected grid of %d rows\n", dialog.DBGrid1->rowCount());
    return ms;
}

void benchStrayCell(const QTemporaryDir& dir)
{
    const QString plain = writeSheet(dir);
    const QString stray = writeSheet(dir, true);
    std::vector<double> plainTimes, strayTimes;
    for (int run = 0; run < kRuns; ++run) {
        plainTimes.push_back(showSheet(plain));
        strayTimes.push_back(showSheet(stray));
    }
    const double a = median(plainTimes);
    const double b = median(strayTimes);
    std::printf("dialog     %d sheet rows: shown %8.1f ms, with a stray cell in XFD1 %8.1f ms\n", kRows, a, b);
    report("sheet shown with a stray cell in XFD1", kNoBackend, b / a, atMost(1.5));
}

void benchMoves()
{
    QList<ImportItem> items;
    for (int i = 0; i < kMovedEntries; ++i) {
        ImportItem item;
        item.id = kSheetItemId;
        item.nachname = QStringLiteral("Spieler %1").arg(i, 5, 10, QLatin1Char('0'));
        item.vorname = QStringLiteral("Vorname %1").arg(i % 97);
        item.verein = QStringLiteral("TTC Verein %1").arg(i % 40);
        items.append(item);
    }
    FakePrompter prompter;
    const int tid = 1;
    std::vector<double> forth, back;
    for (int run = 0; run < kRuns; ++run) {
        ImportPage page({prompter, {}, tid, nullptr, {}}, nullptr);
        page.setSourceEntries(items);
        forth.push_back(millis([&] { page.importbutton1Click(); }));
        page.importliste2->selectAll();
        back.push_back(millis([&] { page.importbutton2Click(); }));
        if (page.importliste1->count() != kMovedEntries || page.importliste2->count() != 0)
            std::printf("unexpected lists of %d and %d entries\n", page.importliste1->count(),
                        page.importliste2->count());
    }
    std::printf("page       %d entries: \"->>\" %8.1f ms, \"<<-\" %8.1f ms\n", kMovedEntries, median(forth),
                median(back));
    // As a share of one second, which the move must stay well under.
    report("10,000 entries moved, share of a second", kNoBackend, std::max(median(forth), median(back)) / 1000.0,
           atMost(0.5));
}

} // namespace

int main(int argc, char** argv)
{
    setUpLikeTests();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString sheet = writeSheet(dir);
    forEachBackend([&](Backend backend, const char* name) { bench(backend, name, sheet); });
    benchStrayCell(dir);
    benchMoves();
    return 0;
}
