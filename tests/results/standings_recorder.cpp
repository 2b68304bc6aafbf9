// A child process for the kill test of the standings: records the open group
// matches of a class on an SQLite file one after the other, as the result entry
// records them (ask, then one transaction), and prints each match's number once
// its transaction has committed. Arguments: the file and the class's key.
#include "standingsfixture.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

using namespace bw;
using namespace bw::test;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("recorder"));
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!db.open())
        return 1;
    const int kid = QByteArray(argv[2]).toInt();
    NoTies resolver;
    try {
        for (;;) {
            QSqlQuery q = execute(db,
                                  s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND gruppe>=0 AND beendet=0 "
                                    "AND spieler1<>'' AND spieler2<>'' ORDER BY spielnummer"),
                                  {{s("k"), kid}});
            if (!q.next())
                return 0;
            const GroupMatch m = *readGroupMatch(db, kid, q.value(0).toInt());
            q.finish();
            // The first-named side wins the odd numbers.
            const bool first = m.spielnummer % 2 == 1;
            const GroupMatch result = recorded(m, first ? m.sid1 : m.sid2, first ? m.sid2 : m.sid1, {5, -8, 12, 3});
            const StandingsDecision decision = decideStandings(db, kid, result, resolver);
            inTransaction(db, [&] {
                storeResult(db, kid, result);
                writeStandings(db, kid, result.spielnummer, decision);
            });
            std::printf("%d\n", m.spielnummer);
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
