// The rows of a 128-entrant double knock-out team class (six games per match),
// written in one transaction through MatchRowWriter (one prepared insert per
// table) and through one execute() per row, each into a fresh class, median of
// seven alternating runs per backend; then the bye run over a 130-entrant plan.
#include "benchtiming.h"

#include "data/classrecords.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "draw/matchrows.h"
#include "draw/planfiles.h"
#include "support/testdatabase.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

using namespace bw;
using namespace bw::test;
using namespace bw::timing;

namespace {

constexpr int kTid = 1;
constexpr int kRuns = 7;

TeamFormat sixGames()
{
    TeamFormat f;
    f.spieler = 4;
    for (size_t n = 0; n < 6; ++n) {
        f.a[n] = int(n % 4) + 1;
        f.b[n] = int((n + 1) % 4) + 1;
    }
    return f;
}

// The matches of a double knock-out plan for `entrants`, byes in second slots.
QList<NewMatch> doubleKoMatches(int entrants)
{
    int size = 4;
    while (size < entrants)
        size *= 2;
    const DoubleKoPlan plan =
        readDoubleKoPlan(QStringLiteral(BRACKWELL_SOURCE_DIR "/resources/Files/ko_system.txt"), size);
    QList<NewMatch> matches;
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel())
            continue;
        NewMatch m;
        m.spielnummer = line.f0;
        if (line.isFirstRound()) {
            m.sid1 = 1000 + 2 * line.f0;
            m.spieler1 = QStringLiteral("Team %1").arg(m.sid1);
            const bool bye = line.f0 <= size - entrants;
            m.sid2 = bye ? Freilos : m.sid1 + 1;
            m.spieler2 = bye ? kFreilosText : QStringLiteral("Team %1").arg(m.sid2);
        } else {
            m.spieler1 = (line.slot1IsWinner() ? winnerPlaceholder : loserPlaceholder)(line.f1);
            m.spieler2 = (line.slot2IsWinner() ? winnerPlaceholder : loserPlaceholder)(line.f2);
            m.parentspiel1 = line.f1;
            m.parentspiel2 = line.f2;
            m.parentsieger1 = line.slot1IsWinner();
            m.parentsieger2 = line.slot2IsWinner();
        }
        matches << m;
    }
    return matches;
}

// Every column of a row by name, as a writer without a prepared statement binds it.
SqlParams allColumns(const QString& table, const NewMatch& m, int kid, int nummer)
{
    SqlParams p;
    for (const QString& column : columnNames(table))
        p.insert(column.toLower(), QVariant());
    for (int set = 1; set <= 9; ++set)
        p.insert(QStringLiteral("satz%1").arg(set), 0);
    for (const char* flag : {"beendet", "in_planung", "begonnen", "manuell"})
        p.insert(QString::fromLatin1(flag), false);
    const bool game = nummer > 0;
    p.insert(s("kid"), kid);
    p.insert(s("tid"), kTid);
    p.insert(s("spielnummer"), m.spielnummer);
    p.insert(s("ergebnis"), s("0:0"));
    p.insert(s("siegersid"), -1);
    p.insert(s("verlierersid"), -1);
    p.insert(game ? s("mid1") : s("sid1"), m.sid1);
    p.insert(game ? s("mid2") : s("sid2"), m.sid2);
    if (game) {
        p.insert(s("nummer"), nummer);
        p.insert(s("sid1"), -1);
        p.insert(s("sid2"), -1);
    } else {
        p.insert(s("platz"), m.platz);
    }
    p.insert(s("spieler1"), m.spieler1);
    p.insert(s("spieler2"), m.spieler2);
    p.insert(s("parentspiel1"), m.parentspiel1);
    p.insert(s("parentsieger1"), m.parentsieger1);
    p.insert(s("parentspiel2"), m.parentspiel2);
    p.insert(s("parentsieger2"), m.parentsieger2);
    p.insert(s("parentgid1"), m.parentGID1);
    p.insert(s("parentpos1"), m.parentpos1);
    p.insert(s("parentgid2"), m.parentGID2);
    p.insert(s("parentpos2"), m.parentpos2);
    p.insert(s("phase"), m.phase);
    p.insert(s("gruppe"), m.gruppe);
    return p;
}

void bench(Backend backend, const char* name)
{
    TestDatabase tdb(backend);
    if (!tdb.ready())
        return;
    const QSqlDatabase db = tdb.db();
    const QList<NewMatch> matches = doubleKoMatches(128);
    const TeamFormat format = sixGames();
    const int games = teamGameCount(format);
    int kid = 0;
    std::vector<double> prepared;
    std::vector<double> perRow;
    for (int run = 0; run < kRuns; ++run) {
        ++kid;
        prepared.push_back(millis([&] {
            MatchRowWriter writer(db, kTid, kid, ClassKind::Team, format);
            Transaction transaction(db);
            for (const NewMatch& m : matches)
                writer.spielplanfuellen(m);
            transaction.commit();
        }));
        ++kid;
        perRow.push_back(millis([&] {
            Transaction transaction(db);
            for (const NewMatch& m : matches) {
                execute(db, positionalInsert(s("Spielplan")), allColumns(s("Spielplan"), m, kid, 0));
                for (int n = 1; n <= games; ++n)
                    execute(db, positionalInsert(s("Teamspiele")), allColumns(s("Teamspiele"), m, kid, n));
            }
            transaction.commit();
        }));
    }
    const double a = median(prepared);
    const double b = median(perRow);
    std::printf("%-10s %d rows: prepared %8.1f ms, execute() per row %8.1f ms\n", name,
                int(matches.size()) * (1 + games), a, b);
    report("prepared inserts against execute() per row", name, a / b);

    ++kid;
    {
        MatchRowWriter writer(db, kTid, kid, ClassKind::Team, format);
        Transaction transaction(db);
        for (const NewMatch& m : doubleKoMatches(130))
            writer.spielplanfuellen(m);
        transaction.commit();
    }
    int updates = 0;
    const double first = millis([&] { updates = freilosebearbeiten(db, kid); });
    const double again = millis([&] { freilosebearbeiten(db, kid); });
    std::printf("%-10s bye run over 130 entrants: %d updates in %.1f ms; the run again %.1f ms\n", name, updates,
                first, again);
}

} // namespace

int main(int argc, char** argv)
{
    setUpLikeTests();
    QCoreApplication app(argc, argv);
    forEachBackend([](Backend backend, const char* name) { bench(backend, name); });
    return 0;
}
