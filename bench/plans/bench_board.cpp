// The planning board of a large tournament day: 40 tables, 12 classes and
// 1,000 matches planned on one day (and 240 waiting in the lists). Measures, on
// SQLite and, with the variables ./test exports for its server, on PostgreSQL:
// - showing the day (reading and filling the board) against the bare SELECTs
//   of the day's rows, read to their last column (goal: within 3x);
// - a drop (its guarded transaction and the board's update) against its bare
//   statement in one transaction (the ratio is reported).
// Median of many alternating runs.
#include "benchtiming.h"
#include "data/boardrecords.h"
#include "data/dbvalue.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "plans/boardmodel.h"
#include "support/testdatabase.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

using namespace bw;
using namespace bw::test;
using bw::timing::median;
using bw::timing::millis;

namespace {

constexpr int kTid = 1;
constexpr int kTables = 40;
constexpr int kClasses = 12;
constexpr int kPlanned = 1000;
constexpr int kWaiting = 20; // per class
const QDate kDay(2026, 6, 6);

void seed(const QSqlDatabase& db)
{
    Transaction transaction(db);
    insertRow(db, QStringLiteral("Turnierdaten"),
              {{QStringLiteral("TID"), kTid}, {QStringLiteral("tvon"), kDay.startOfDay()},
               {QStringLiteral("tbis"), kDay.addDays(1).startOfDay()}});
    for (int k = 1; k <= kClasses; ++k)
        insertRow(db, QStringLiteral("Turnierklassen"),
                  {{QStringLiteral("KID"), k}, {QStringLiteral("TID"), kTid},
                   {QStringLiteral("kbezeichnung"), QStringLiteral("Klasse %1").arg(k, 2, 10, QLatin1Char('0'))},
                   {QStringLiteral("system"), 0}, {QStringLiteral("farbe"), boardColourNames()[k]}});
    for (int t = 1; t <= kTables; ++t)
        insertRow(db, QStringLiteral("Platten1"), {{QStringLiteral("KID"), 1 + t % kClasses},
                                                   {QStringLiteral("platte"), QString::number(t)},
                                                   {QStringLiteral("TID"), kTid}});
    PreparedStatement insert(db, QStringLiteral("INSERT INTO Spielplan (KID,spielnummer,spieler1,spieler2,TID,schiri,"
                                                "geplanter_tag,geplanter_tisch,geplante_zeit) "
                                                "VALUES (:k,:s,:a,:b,:t,:u,:d,:p,:z)"));
    insert.bind(QStringLiteral("t"), kTid);
    const QVariant nullDate = toDbValue(QDateTime());
    for (int i = 0; i < kPlanned + kClasses * kWaiting; ++i) {
        const int kid = 1 + i % kClasses;
        const bool planned = i < kPlanned;
        insert.bind(QStringLiteral("k"), kid);
        insert.bind(QStringLiteral("s"), 1 + i / kClasses);
        insert.bind(QStringLiteral("a"), QStringLiteral("Spieler %1 A").arg(i));
        insert.bind(QStringLiteral("b"), QStringLiteral("Spieler %1 B").arg(i));
        insert.bind(QStringLiteral("u"), planned ? QVariant(QStringLiteral("Schiri %1").arg(i % 50)) : QVariant());
        insert.bind(QStringLiteral("d"), planned ? toDbValue(kDay) : nullDate);
        insert.bind(QStringLiteral("p"), planned ? QVariant(QString::number(1 + i % kTables)) : QVariant());
        // 25 matches per table, one every 20 minutes from 08:00.
        insert.bind(QStringLiteral("z"), planned ? toDbValue(storedPlanTime(QTime(8, 0).addSecs(20 * 60 * (i / kTables))))
                                                 : nullDate);
        insert.exec();
    }
    transaction.commit();
}

void bench(Backend backend, const char* name)
{
    TestDatabase tdb(backend);
    if (!tdb.ready()) {
        std::printf("%-10s not measured: no database\n", name);
        return;
    }
    const QSqlDatabase db = tdb.db();
    seed(db);

    BoardModel board;
    const auto bareDay = [&] {
        const SqlParams p{{QStringLiteral("t"), kTid}, {QStringLiteral("d"), toDbValue(kDay)}};
        for (const char* table : {"Spielplan", "Teamspiele"}) {
            QSqlQuery q = execute(db,
                                  QStringLiteral("SELECT KID,spielnummer,spieler1,spieler2,schiri,geplanter_tisch,"
                                                 "geplante_zeit FROM %1 WHERE TID=:t AND geplanter_tag=:d")
                                      .arg(QLatin1String(table)),
                                  p);
            while (q.next())
                for (int c = 0; c < 7; ++c)
                    (void)q.value(c);
        }
    };
    std::vector<double> shown, bare;
    for (int run = 0; run < 31; ++run) {
        shown.push_back(millis([&] { showBoard(board, db, kTid); }));
        bare.push_back(millis(bareDay));
    }
    int placed = 0;
    for (int row = 1; row < kBoardRows; ++row)
        for (int column = 1; column < board.columnCount(); ++column)
            placed += board.cell(row, column) && board.cell(row, column)->ersteZeile ? 1 : 0;
    const double a = median(shown), b = median(bare);
    std::printf("%-10s show the day (%d matches placed, %d tables): %7.2f ms, bare SELECT %7.2f ms\n", name, placed,
                int(board.tables().size()), a, b);
    bw::timing::report("show the day", name, a / b, bw::timing::atMost(3));

    // The first match of table "1" moved to the evening, when the table is
    // free, and back; the bare statement plans a waiting match.
    std::vector<double> dropped, bareDrop;
    const int column = board.columnOf(QStringLiteral("1"));
    const int first = boardRow(QTime(8, 0));
    int row = first, target = boardRow(QTime(20, 0));
    const auto bareUpdate = [&](const QTime& time) {
        Transaction transaction(db);
        execute(db,
                QStringLiteral("UPDATE Spielplan SET geplanter_tag=:d,geplanter_tisch=:t,geplante_zeit=:z "
                               "WHERE KID=:k AND spielnummer=:s"),
                {{QStringLiteral("d"), toDbValue(kDay)},
                 {QStringLiteral("t"), QStringLiteral("2")},
                 {QStringLiteral("z"), toDbValue(storedPlanTime(time))},
                 {QStringLiteral("k"), kClasses},
                 {QStringLiteral("s"), 100}});
        transaction.commit();
    };
    for (int run = 0; run < 30; ++run) {
        const std::optional<BoardDrop> drop = board.move(row, column, target, column);
        if (!drop) {
            std::printf("%-10s the drop does nothing\n", name);
            return;
        }
        dropped.push_back(millis([&] { dropOnBoard(board, db, *drop); }));
        std::swap(row, target);
        bareDrop.push_back(millis([&] { bareUpdate(rowTime(run % 2 ? 120 : 130)); }));
    }
    const double c = median(dropped), d = median(bareDrop);
    std::printf("%-10s a drop: %7.2f ms, its bare statement in one transaction %7.2f ms\n", name, c, d);
    bw::timing::report("a drop", name, c / d);
}

} // namespace

int main(int argc, char** argv)
{
    bw::timing::setUpLikeTests();
    QCoreApplication app(argc, argv);
    bw::timing::forEachBackend(bench);
    return 0;
}
