// The player import of a sheet of 2,000 rows: the .xlsx read, mapped and the
// entries written through importPlayers into a fresh tournament, against a
// floor of the same 2,000 Spielerdaten rows inserted through one prepared
// statement in one transaction; median of five runs per backend. Goal: the
// import within 3 times the floor.
#include "benchtiming.h"

#include "data/importrecords.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "output/importsources.h"
#include "output/xlsxbook.h"
#include "support/testdatabase.h"

#include <QCoreApplication>
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

QString writeSheet(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("meldungen.xlsx"));
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

} // namespace

int main(int argc, char** argv)
{
    setUpLikeTests();
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString sheet = writeSheet(dir);
    forEachBackend([&](Backend backend, const char* name) { bench(backend, name, sheet); });
    return 0;
}
