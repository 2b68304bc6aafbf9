// Group matches recorded as the result entry records them, for the standings
// tests: classes drawn as the wizard draws them, entrants named by letter (A is
// the entrant drawn first, key 100), a result stored with its sets and the
// standings step around it (ask first, then one transaction).
#pragma once

#include "../plans/planfixture.h"

#include "data/schema.h"
#include "data/sql.h"
#include "data/standingsrecords.h"
#include "data/transaction.h"
#include "results/groupend.h"
#include "results/standings.h"

#include <QSqlQuery>

#include <algorithm>
#include <QTest>

#include <functional>

namespace bw::test {

// The key of the entrant of that letter.
inline int keyOf(QChar letter)
{
    return 100 + (letter.unicode() - 'A');
}
inline QChar letterOfKey(int sid)
{
    return sid >= 100 ? QChar(u'A' + (sid - 100)) : QChar(u'?');
}

// A class drawn like drawnClass() with the draw changed by `change` before it
// is finished (an empty place moved, a group left short).
inline int drawnClassWith(const QSqlDatabase& db, const QString& name, const QList<PhaseSettings>& phases,
                          int entrants, const std::function<void(FinishedDraw&)>& change)
{
    ClassRecord record;
    record.kbezeichnung = name;
    const int kid = insertClass(db, kPlanTid, record, {}, {});
    FinishedDraw draw = firstDraw(kPlanTid, kid, phases, entrants);
    change(draw);
    saveGroupSettings(db, kid, draw.settings, {});
    finishDraw(db, draw, readPlanDefinitions(draw, shippedPlanFile("system.txt"), shippedPlanFile("ko_system.txt")));
    return kid;
}

// Takes every result of the class back and gives the group's entrants the
// draw positions of `order` ("CAB": C first) with counters 0.
inline void resetGroup(const QSqlDatabase& db, int kid, int gid, const QString& order)
{
    Transaction transaction(db);
    execute(db,
            s("UPDATE Spielplan SET beendet=0,ergebnis='0:0',siegerSID=-1,verliererSID=-1,satz1=NULL,satz2=NULL,"
              "satz3=NULL,satz4=NULL,satz5=NULL,satz6=NULL,satz7=NULL,satz8=NULL,satz9=NULL WHERE KID=:k"),
            {{s("k"), kid}});
    execute(db,
            s("UPDATE Tabellen SET spielanzahl=0,spielegewonnen=0,spieleverloren=0,saetzegewonnen=0,"
              "saetzeverloren=0,punktegewonnen=0,punkteverloren=0 WHERE KID=:k"),
            {{s("k"), kid}});
    for (int pos = 0; pos < order.size(); ++pos)
        execute(db, s("UPDATE Tabellen SET pos=:p WHERE KID=:k AND GID=:g AND SID=:s"),
                {{s("p"), pos}, {s("k"), kid}, {s("g"), gid}, {s("s"), keyOf(order[pos])}});
    transaction.commit();
}

// A test that records hundreds of results on an SQLite file does not wait for
// the disk at every commit (what is committed stays the same).
inline void fastCommits(const QSqlDatabase& db)
{
    if (backendOf(db) == Backend::SQLite)
        execute(db, s("PRAGMA synchronous=OFF"));
}

// One result: the winner, the loser and the sets as the winner's scores (+5:
// won 11:5, -9: lost 9:11).
struct Win {
    QChar winner;
    QChar loser;
    QList<int> sets{5, 5, 5};
};

// The wins of a fixture from "AB CA": A beat B, C beat A, each 3:0 with +5, +5, +5.
inline QList<Win> wins(const QString& pairs)
{
    QList<Win> list;
    for (const QString& pair : pairs.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        list.append({pair[0], pair[1]});
    return list;
}

// The match of the class between the two entrants (in a group phase).
inline std::optional<GroupMatch> matchBetween(const QSqlDatabase& db, int kid, int a, int b)
{
    QSqlQuery q = execute(db,
                          s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND gruppe>=0 AND "
                            "((SID1=:a AND SID2=:b) OR (SID1=:b AND SID2=:a))"),
                          {{s("k"), kid}, {s("a"), a}, {s("b"), b}});
    if (!q.next())
        return std::nullopt;
    return readGroupMatch(db, kid, q.value(0).toInt());
}

// The match row as recording `win` leaves it: sets from the first-named side's
// view, the result "a:b", winner and loser.
inline GroupMatch recorded(GroupMatch m, int winner, int loser, const QList<int>& sets)
{
    const bool firstWon = m.sid1 == winner;
    int won = 0;
    int lost = 0;
    m.saetze = {};
    for (int i = 0; i < sets.size(); ++i) {
        const int v = sets[i];
        (v >= 0 ? won : lost) += 1;
        const int firstView = firstWon ? v : (v == 0 ? -100 : -v);
        m.saetze[size_t(i)] = firstView;
    }
    m.ergebnis = firstWon ? QStringLiteral("%1:%2").arg(won).arg(lost) : QStringLiteral("%1:%2").arg(lost).arg(won);
    m.beendet = true;
    m.siegerSID = winner;
    m.verliererSID = loser;
    return m;
}

// Stores the result as recording does (the match row only).
inline void storeResult(const QSqlDatabase& db, int kid, const GroupMatch& m)
{
    SqlParams p{{s("k"), kid}, {s("n"), m.spielnummer}, {s("e"), m.ergebnis},
                {s("w"), m.siegerSID}, {s("l"), m.verliererSID}};
    for (int i = 0; i < 9; ++i)
        p.insert(QStringLiteral("s%1").arg(i + 1), m.saetze[size_t(i)] ? QVariant(*m.saetze[size_t(i)])
                                                                       : QVariant(QMetaType::fromType<int>()));
    execute(db,
            s("UPDATE Spielplan SET beendet=1,begonnen=0,satz1=:s1,satz2=:s2,satz3=:s3,satz4=:s4,satz5=:s5,"
              "satz6=:s6,satz7=:s7,satz8=:s8,satz9=:s9,ergebnis=:e,siegerSID=:w,verliererSID=:l "
              "WHERE KID=:k AND spielnummer=:n"),
            p);
}

// Asks nobody: a test fails when a tie is put to it.
class NoTies : public TieResolver {
public:
    QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) override
    {
        QString names;
        for (const tabellenitem& i : ranked)
            names += letterOfKey(i.SID);
        qWarning("unexpected tie in %s", qPrintable(names));
        asked = true;
        return ranked;
    }
    bool asked = false;
};

// Answers with the order of the letters given, keeps what it was asked.
class ScriptedTies : public TieResolver {
public:
    explicit ScriptedTies(QString order = {}) : m_order(std::move(order)) {}
    QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) override
    {
        asked.append(ranked);
        if (m_order.isEmpty())
            return ranked;
        QList<tabellenitem> answer;
        for (const QChar c : m_order) {
            for (const tabellenitem& i : ranked) {
                if (i.SID == keyOf(c))
                    answer.append(i);
            }
        }
        return answer;
    }
    QList<QList<tabellenitem>> asked;

private:
    QString m_order;
};

// Records the win as the result entry does: asks first, then stores the result
// and the standings in one transaction.
inline StandingsOutcome recordWin(const QSqlDatabase& db, int kid, const Win& win, TieResolver& resolver)
{
    const std::optional<GroupMatch> match = matchBetween(db, kid, keyOf(win.winner), keyOf(win.loser));
    if (!match)
        throw AppError(QStringLiteral("no match between %1 and %2").arg(win.winner).arg(win.loser));
    const GroupMatch m = recorded(*match, keyOf(win.winner), keyOf(win.loser), win.sets);
    const StandingsDecision decision = decideStandings(db, kid, m, resolver);
    return inTransaction(db, [&] {
        storeResult(db, kid, m);
        return writeStandings(db, kid, m.spielnummer, decision);
    });
}

// The letters of the group's rows in stored order ("-" for a row without entrant).
inline QString storedOrder(const QSqlDatabase& db, int kid, int gid)
{
    QString order;
    for (const StandingsRow& row : readGroupStandings(db, kid, gid))
        order += row.sid > -1 ? letterOfKey(row.sid) : QChar(u'-');
    return order;
}

inline QString letters(const QList<tabellenitem>& items)
{
    QString text;
    for (const tabellenitem& i : items)
        text += i.marked() ? letterOfKey(i.SID).toLower() : letterOfKey(i.SID);
    return text;
}

// What the consistency of a class asks, in words; empty when it holds:
// every group's counters are the sums over its finished matches (singles,
// doubles, mixed), every finished match's winner and loser stand in the slots
// waiting for them, and every place of an ended group stands in the slots and
// places waiting for it.
inline QString inconsistency(const QSqlDatabase& db, int kid)
{
    QStringList problems;
    QSqlQuery groups = execute(db, s("SELECT DISTINCT GID FROM Tabellen WHERE KID=:k ORDER BY GID"), {{s("k"), kid}});
    QList<int> gids;
    while (groups.next())
        gids << groups.value(0).toInt();
    for (const int gid : gids) {
        const QList<GroupMatch> matches = readGroupMatches(db, kid, gid);
        const QList<StandingsRow> rows = readGroupStandings(db, kid, gid);
        for (const StandingsRow& row : rows) {
            if (row.sid > -1 && countersOf(row.sid, matches) != row.counters)
                problems << QStringLiteral("counters of %1 in group %2").arg(row.sid).arg(gid);
        }
        const bool ended = !matches.isEmpty() &&
                           std::none_of(matches.begin(), matches.end(), [](const GroupMatch& m) { return m.open(); });
        if (!ended)
            continue;
        for (const StandingsRow& row : rows) {
            for (const int side : {1, 2}) {
                const QString n = QString::number(side);
                QSqlQuery q = execute(db,
                                      s("SELECT spielnummer,SID") + n + s(",gruppe FROM Spielplan WHERE KID=:k AND parentGID") + n +
                                          s("=:g AND parentpos") + n + s("=:p"),
                                      {{s("k"), kid}, {s("g"), gid}, {s("p"), row.pos}});
                while (q.next()) {
                    const int stands = q.value(1).toInt();
                    const int expected = row.sid > -1 ? row.sid : (q.value(2).toInt() >= 0 ? -1 : -2);
                    if (stands != expected)
                        problems << QStringLiteral("match %1 side %2 holds %3 for place %4 of group %5 (%6)")
                                        .arg(q.value(0).toInt()).arg(side).arg(stands).arg(row.pos).arg(gid).arg(expected);
                }
            }
        }
    }
    QSqlQuery q = execute(db,
                          s("SELECT f.spielnummer,f.siegerSID,f.verliererSID,m.spielnummer,m.SID1,m.parentsieger1 "
                            "FROM Spielplan f JOIN Spielplan m ON m.KID=f.KID AND m.parentspiel1=f.spielnummer "
                            "WHERE f.KID=:k AND (f.beendet=1 OR f.siegerSID<>-1) AND f.siegerSID IS NOT NULL "
                            "UNION ALL "
                            "SELECT f.spielnummer,f.siegerSID,f.verliererSID,m.spielnummer,m.SID2,m.parentsieger2 "
                            "FROM Spielplan f JOIN Spielplan m ON m.KID=f.KID AND m.parentspiel2=f.spielnummer "
                            "WHERE f.KID=:k AND (f.beendet=1 OR f.siegerSID<>-1) AND f.siegerSID IS NOT NULL"),
                          {{s("k"), kid}});
    while (q.next()) {
        const int expected = q.value(5).toInt() != 0 ? q.value(1).toInt() : q.value(2).toInt();
        if (q.value(4).toInt() != expected)
            problems << QStringLiteral("match %1 holds %2, not the %3 of match %4")
                            .arg(q.value(3).toInt())
                            .arg(q.value(4).toInt())
                            .arg(q.value(5).toInt() != 0 ? QStringLiteral("winner") : QStringLiteral("loser"))
                            .arg(q.value(0).toInt());
    }
    return problems.join(QLatin1String("; "));
}

// Every order of the letters.
inline QStringList permutations(QString letters)
{
    std::sort(letters.begin(), letters.end());
    QStringList all;
    do
        all << letters;
    while (std::next_permutation(letters.begin(), letters.end()));
    return all;
}

} // namespace bw::test
