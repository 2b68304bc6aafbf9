// A desk that records and takes back results as the result dialog does, for
// the take-back and correction tests: the result engine with the standings
// step, a plan panel in memory and a prompter that answers every box.
#pragma once

#include "../draw/matchfixture.h"
#include "fakeresultplan.h"
#include "standingsfixture.h"

#include "data/resultrecords.h"
#include "data/sql.h"
#include "data/takebackrecords.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "results/resultengine.h"
#include "results/standingsstep.h"
#include "support/testdatabase.h"

#include <QTest>

namespace bw::test {

// Answers every box with `answer` and keeps the texts shown.
class AnsweringPrompter : public Prompter {
public:
    PromptAnswer prompt(PromptKind, const QString& text, PromptButtons, const QString& = QString()) override
    {
        shown << text;
        return answer;
    }
    QStringList shown;
    PromptAnswer answer = PromptAnswer::Ok;
};

class Desk {
public:
    explicit Desk(const QSqlDatabase& db)
        : m_db(db), engine(db, kPlanTid, clock, plan), step(ties, prompter, plan)
    {
        step.attach(engine);
    }

    // Records match `n` as the dialog does: running first, then the result
    // ("3:1") with the set entries as typed.
    bool record(int kid, int n, const QString& ergebnis, const QStringList& saetze)
    {
        execute(m_db, s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=:n AND beendet=0"),
                {{s("k"), kid}, {s("n"), n}});
        const std::optional<GroupMatch> match = readGroupMatch(m_db, kid, n);
        if (!match)
            return false;
        clock.advanceSecs(60);
        return engine.recordResult(entry(kid, n, match->gruppe, ergebnis, saetze)) == RecordOutcome::Recorded;
    }
    // Side 1 (or 2) wins 3:0 with +5 in every set.
    bool win(int kid, int n, int side = 1)
    {
        const QString set = side == 1 ? s("+5") : s("-5");
        return record(kid, n, side == 1 ? s("3:0") : s("0:3"), {set, set, set});
    }

    static ResultEntry entry(int kid, int n, int gruppe, const QString& ergebnis, const QStringList& saetze)
    {
        ResultEntry e;
        e.kid = kid;
        e.spielnummer = n;
        e.gruppe = gruppe;
        e.ergebnis = ergebnis;
        for (int i = 0; i < saetze.size(); ++i)
            e.saetze[size_t(i)] = saetze[i];
        return e;
    }

    QSqlDatabase m_db;
    FixedClock clock{QDateTime(QDate(2026, 5, 2), QTime(10, 0))};
    FakePlan plan;
    AnsweringPrompter prompter;
    ScriptedTies ties; // keeps the order the ranking gives
    ResultEngine engine;
    StandingsStep step;
};

// A match's row by column name (Null as an invalid QVariant).
inline QVariantMap rowOf(const QSqlDatabase& db, int kid, int n)
{
    return rowsByColumn(execute(db, s("SELECT * FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                                {{s("k"), kid}, {s("n"), n}}))
        .value(0);
}

// "id text" of a side of a match.
inline QString sideText(const QSqlDatabase& db, int kid, int n, int side)
{
    const QVariantMap row = rowOf(db, kid, n);
    const QString k = QString::number(side);
    return row.value(s("sid") + k).toString() + QLatin1Char(' ') + row.value(s("spieler") + k).toString();
}

// The class's rows as they must come back after a result was recorded and
// taken back: the matches but the sets, result, end and state of `except`,
// and the places and standings, with their positions when asked (entrants
// who have played and stay tied keep the order the later result left).
inline QStringList classDump(const QSqlDatabase& db, int kid, int except, bool positions = false)
{
    QStringList dump;
    for (const QString& line :
         queryRows(db, s("SELECT * FROM Spielplan WHERE KID=") + QString::number(kid) + s(" AND spielnummer<>") +
                           QString::number(except) + s(" ORDER BY spielnummer")))
        dump << s("Spielplan ") + line;
    for (const QString& line :
         queryRows(db, s("SELECT spielnummer,SID1,spieler1,SID2,spieler2,parentGID1,parentpos1,parentGID2,parentpos2,"
                         "siegerSID,verliererSID,an_platte,schiri FROM Spielplan WHERE KID=") +
                           QString::number(kid) + s(" AND spielnummer=") + QString::number(except)))
        dump << s("Spielplan ") + line;
    for (const QString& line :
         queryRows(db, s("SELECT GID,") + (positions ? s("pos,") : QString()) + s("SID,bez,spielanzahl,matchegewonnen,matcheverloren,spielegewonnen,spieleverloren,"
                         "saetzegewonnen,saetzeverloren,punktegewonnen,punkteverloren,parentGID,parentpos,phase "
                         "FROM Tabellen WHERE KID=") +
                           QString::number(kid) + s(" ORDER BY GID,parentpos,SID")))
        dump << s("Tabellen ") + line;
    for (const QString& line :
         queryRows(db, s("SELECT * FROM Gruppen WHERE KID=") + QString::number(kid) + s(" ORDER BY GID,pos")))
        dump << s("Gruppen ") + line;
    return dump;
}

// The number of the match between the two keys.
inline int matchOf(const QSqlDatabase& db, int kid, int a, int b)
{
    return scalar(db,
                  s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND ((SID1=:a AND SID2=:b) OR (SID1=:b AND SID2=:a))"),
                  {{s("k"), kid}, {s("a"), a}, {s("b"), b}})
        .toInt();
}

// The matches of a group by number.
inline QList<int> groupMatchNumbers(const QSqlDatabase& db, int kid, int gid)
{
    QList<int> numbers;
    for (const GroupMatch& m : readGroupMatches(db, kid, gid))
        numbers << m.spielnummer;
    return numbers;
}

} // namespace bw::test
