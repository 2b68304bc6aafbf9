// Recording results: a 128-entrant single knock-out class with byes in the
// first round, and a 128-entrant class of 32 groups of 4 whose two best go on
// into a 64-slot knock-out (every group result with the standings, the group
// ends and the phase end, then the knock-out), every result recorded in order,
// on SQLite and, with the variables ./test exports for its server, on
// PostgreSQL. Prints the mean time per result -- the engine's call with its
// transaction and the rebuild of the plan's states and pools -- against the
// floor: the rows each result changed (found by comparing the match and
// standings rows before and after it, outside the timing) written by key as
// plain UPDATEs in one transaction on a twin database; group and knock-out
// results apart. Goal: within 3x.
#include "benchtiming.h"

#include "data/matchrecords.h"
#include "data/planrecords.h"
#include "data/classrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "platform/clock.h"
#include "results/resultengine.h"
#include "results/standingsstep.h"
#include "platform/prompter.h"
#include "support/testdatabase.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>

#include <chrono>
#include <cstdio>

using namespace bw;
using namespace bw::test;

namespace {

using Steady = std::chrono::steady_clock;
constexpr int kTid = 1;
constexpr int kSize = 128;
constexpr int kEntrants = 100; // 28 byes in the first round

// The plan panel of the class without widgets: its rebuild reads the match rows
// and makes the pools of free players anew, as the plan's state rebuild does.
class BenchPlan : public ResultPlanLink {
public:
    explicit BenchPlan(const QSqlDatabase& db) : m_db(db) {}
    bool hasPool(const QString& name) const override { return m_pools.contains(name); }
    QStringList poolNames() const override { return m_pools.keys(); }
    QStringList poolTexts(const QString& name) const override { return m_pools.value(name); }
    void addToPool(const QString& name, const QString& text, int) override
    {
        if (m_pools.contains(name) && !m_pools[name].contains(text))
            m_pools[name] << text;
    }
    void relabelSlots(int, const QString&, const QString&, int) override {}
    void rebuildStates(int kid) override
    {
        QStringList free;
        for (const MatchSlots& m : readMatchSlots(m_db, kid)) {
            for (const MatchSide& side : m.sides) {
                if (side.id > 0)
                    free << QString::number(side.id);
            }
        }
        m_pools[QStringLiteral("allespieler")] = free;
    }
    void redraw(int) override {}
    void offerNextMatches(int, int) override {}

private:
    QSqlDatabase m_db;
    QMap<QString, QStringList> m_pools{{QStringLiteral("allespieler"), {}}, {QStringLiteral("alleplatten"), {}}};
};

int makeKnockOut(const QSqlDatabase& db)
{
    ClassRecord record;
    record.system = ClassKind::Einzel;
    record.kbezeichnung = QStringLiteral("Herren A");
    const int kid = insertClass(db, kTid, record, {}, {});
    MatchInserter inserter(db, kTid, kid);
    Transaction t(db);
    int number = 1;
    for (int i = 0; i < kSize / 2; ++i, ++number) {
        NewMatch m;
        m.spielnummer = number;
        m.sid1 = 1000 + 2 * i;
        m.spieler1 = QStringLiteral("Spieler %1").arg(m.sid1);
        const bool bye = i < kSize - kEntrants; // seeds meet the byes
        m.sid2 = bye ? Freilos : m.sid1 + 1;
        m.spieler2 = bye ? kFreilosText : QStringLiteral("Spieler %1").arg(m.sid2);
        inserter.insertMatch(m);
    }
    int first = 1;
    for (int matches = kSize / 4; matches >= 1; matches /= 2) {
        for (int i = 0; i < matches; ++i, ++number) {
            NewMatch m;
            m.spielnummer = number;
            m.spieler1 = winnerPlaceholder(first + 2 * i);
            m.spieler2 = winnerPlaceholder(first + 2 * i + 1);
            m.parentspiel1 = first + 2 * i;
            m.parentspiel2 = first + 2 * i + 1;
            m.parentsieger1 = m.parentsieger2 = true;
            m.phase = 1;
            inserter.insertMatch(m);
        }
        first += matches * 2;
    }
    t.commit();
    freilosebearbeiten(db, kid);
    return kid;
}

// Every match row of the class by match number, each column as text.
QMap<int, QVariantMap> matchRows(const QSqlDatabase& db, int kid)
{
    QMap<int, QVariantMap> rows;
    QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Spielplan WHERE KID=:k"), {{"k", kid}});
    while (q.next()) {
        QVariantMap row;
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            row.insert(r.fieldName(i).toLower(), q.value(i));
        rows.insert(row.value("spielnummer").toInt(), row);
    }
    return rows;
}

// The next match between two known entrants that is not finished.
int nextPlayable(const QSqlDatabase& db, int kid)
{
    for (const MatchSlots& m : readMatchSlots(db, kid)) {
        if (m.siegerSID == -1 && m.sides[0].id > 0 && m.sides[1].id > 0)
            return m.spielnummer;
    }
    return 0;
}

void run(Backend backend, const char* backendName)
{
    TestDatabase engineDb(backend);
    TestDatabase floorDb(backend);
    if (!engineDb.ready() || !floorDb.ready()) {
        std::printf("%s: no database\n", backendName);
        return;
    }
    const QSqlDatabase db = engineDb.db();
    const QSqlDatabase twin = floorDb.db();
    const int kid = makeKnockOut(db);
    makeKnockOut(twin);
    FixedClock clock(QDateTime(QDate(2026, 5, 2), QTime(10, 0)));
    BenchPlan plan(db);
    ResultEngine engine(db, kTid, clock, plan);
    std::chrono::nanoseconds engineTime{0};
    std::chrono::nanoseconds floorTime{0};
    int results = 0;
    for (int n; (n = nextPlayable(db, kid)) != 0; ++results) {
        for (const QSqlDatabase& d : {db, twin})
            execute(d, QStringLiteral("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=:n"),
                    {{"k", kid}, {"n", n}});
        const QMap<int, QVariantMap> before = matchRows(db, kid);
        ResultEntry entry;
        entry.kid = kid;
        entry.spielnummer = n;
        entry.ergebnis = n % 3 ? QStringLiteral("3:1") : QStringLiteral("1:3");
        entry.saetze = {QStringLiteral("+5"), QStringLiteral("-8"), QStringLiteral("+11"), QStringLiteral("+3")};
        const auto start = Steady::now();
        if (engine.recordResult(entry) != RecordOutcome::Recorded)
            qFatal("match %d not recorded", n);
        plan.rebuildStates(kid);
        engineTime += Steady::now() - start;

        // The floor: the same changed rows written by key.
        const QMap<int, QVariantMap> after = matchRows(db, kid);
        QList<std::pair<int, QVariantMap>> changes;
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            QVariantMap changed;
            const QVariantMap& old = before[it.key()];
            for (auto c = it->cbegin(); c != it->cend(); ++c) {
                if (c.value() != old.value(c.key()))
                    changed.insert(c.key(), c.value());
            }
            if (!changed.isEmpty())
                changes.append({it.key(), changed});
        }
        const auto floorStart = Steady::now();
        {
            Transaction t(twin);
            for (const auto& [number, changed] : changes) {
                QStringList sets;
                SqlParams params{{"k", kid}, {"n", number}};
                for (auto c = changed.cbegin(); c != changed.cend(); ++c) {
                    sets << c.key() + QStringLiteral("=:v_") + c.key();
                    params.insert(QStringLiteral("v_") + c.key(), c.value());
                }
                execute(twin,
                        QStringLiteral("UPDATE Spielplan SET ") + sets.join(u',')
                            + QStringLiteral(" WHERE KID=:k AND spielnummer=:n"),
                        params);
            }
            t.commit();
        }
        floorTime += Steady::now() - floorStart;
    }
    const double engineMs = std::chrono::duration<double, std::milli>(engineTime).count() / results;
    const double floorMs = std::chrono::duration<double, std::milli>(floorTime).count() / results;
    std::printf("%-10s %3d results: %.3f ms per result, floor %.3f ms\n", backendName, results, engineMs, floorMs);
    timing::report("knock-out class", backendName, engineMs / floorMs, timing::atMost(3));
}


constexpr int kGroups = 32;

// 32 groups of 4 (entrants 2000 + 4g + p), each playing its six matches, and
// a knock-out of 64 slots: match i of its first round between the winner of
// group i and the second of group 31 - i, then the rounds by "Sieger Spiel n".
int makeGroupsAndKnockOut(const QSqlDatabase& db)
{
    ClassRecord record;
    record.system = ClassKind::Einzel;
    record.kbezeichnung = QStringLiteral("Damen A");
    const int kid = insertClass(db, kTid, record, {}, {});
    MatchInserter inserter(db, kTid, kid);
    DrawRowInserter places(db, kid);
    Transaction t(db);
    static const int pairs[6][2] = {{0, 1}, {2, 3}, {0, 2}, {1, 3}, {0, 3}, {1, 2}};
    int number = 1;
    for (int g = 0; g < kGroups; ++g) {
        for (int p = 0; p < 4; ++p) {
            GroupPlaceRow row;
            row.gid = g;
            row.pos = p;
            row.sid = 2000 + 4 * g + p;
            row.bez = QStringLiteral("Spielerin %1").arg(row.sid);
            places.insertPlace(row);
        }
        for (const auto& pair : pairs) {
            NewMatch m;
            m.spielnummer = number++;
            m.sid1 = 2000 + 4 * g + pair[0];
            m.sid2 = 2000 + 4 * g + pair[1];
            m.spieler1 = QStringLiteral("Spielerin %1").arg(m.sid1);
            m.spieler2 = QStringLiteral("Spielerin %1").arg(m.sid2);
            m.gruppe = g;
            inserter.insertMatch(m);
        }
    }
    const int first = number;
    for (int i = 0; i < kGroups; ++i) {
        NewMatch m;
        m.spielnummer = number++;
        m.spieler1 = QStringLiteral("Sieger Gruppe %1").arg(i);
        m.parentGID1 = i;
        m.parentpos1 = 0;
        m.spieler2 = QStringLiteral("Zweiter Gruppe %1").arg(kGroups - 1 - i);
        m.parentGID2 = kGroups - 1 - i;
        m.parentpos2 = 1;
        m.parentsieger1 = m.parentsieger2 = true;
        m.phase = 2;
        inserter.insertMatch(m);
    }
    int round = first;
    for (int matches = kGroups / 2; matches >= 1; matches /= 2) {
        for (int i = 0; i < matches; ++i, ++number) {
            NewMatch m;
            m.spielnummer = number;
            m.spieler1 = winnerPlaceholder(round + 2 * i);
            m.spieler2 = winnerPlaceholder(round + 2 * i + 1);
            m.parentspiel1 = round + 2 * i;
            m.parentspiel2 = round + 2 * i + 1;
            m.parentsieger1 = m.parentsieger2 = true;
            m.phase = 2;
            inserter.insertMatch(m);
        }
        round += matches * 2;
    }
    t.commit();
    return kid;
}

// Every standings row of the class by group and entrant, each column as text.
QMap<std::pair<int, int>, QVariantMap> standingsRows(const QSqlDatabase& db, int kid)
{
    QMap<std::pair<int, int>, QVariantMap> rows;
    QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Tabellen WHERE KID=:k"), {{"k", kid}});
    while (q.next()) {
        QVariantMap row;
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            row.insert(r.fieldName(i).toLower(), q.value(i));
        rows.insert({row.value("gid").toInt(), row.value("sid").toInt()}, row);
    }
    return rows;
}

// The columns of `after` that differ from `before`.
QVariantMap changedColumns(const QVariantMap& before, const QVariantMap& after)
{
    QVariantMap changed;
    for (auto c = after.cbegin(); c != after.cend(); ++c) {
        if (c.value() != before.value(c.key()))
            changed.insert(c.key(), c.value());
    }
    return changed;
}

// One plain UPDATE of the changed columns of a row found by `where`.
void writeByKey(const QSqlDatabase& db, const QString& table, const QVariantMap& changed, const QString& where,
                SqlParams params)
{
    QStringList sets;
    for (auto c = changed.cbegin(); c != changed.cend(); ++c) {
        sets << c.key() + QStringLiteral("=:v_") + c.key();
        params.insert(QStringLiteral("v_") + c.key(), c.value());
    }
    execute(db, QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + sets.join(u',') +
                    QStringLiteral(" WHERE ") + where,
            params);
}

class KeepTies : public TieResolver {
public:
    QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) override { return ranked; }
};
class NoBoxes : public Prompter {
public:
    PromptAnswer prompt(PromptKind, const QString&, PromptButtons, const QString&) override
    {
        return PromptAnswer::Ok;
    }
};

void runGroups(Backend backend, const char* backendName)
{
    TestDatabase engineDb(backend);
    TestDatabase floorDb(backend);
    if (!engineDb.ready() || !floorDb.ready())
        return;
    const QSqlDatabase db = engineDb.db();
    const QSqlDatabase twin = floorDb.db();
    const int kid = makeGroupsAndKnockOut(db);
    makeGroupsAndKnockOut(twin);
    FixedClock clock(QDateTime(QDate(2026, 5, 2), QTime(10, 0)));
    BenchPlan plan(db);
    ResultEngine engine(db, kTid, clock, plan);
    KeepTies ties;
    NoBoxes boxes;
    StandingsStep standings(ties, boxes, plan);
    standings.attach(engine);
    struct Sum {
        std::chrono::nanoseconds engine{0}, floor{0};
        int results = 0;
    } group, knockOut;
    for (int n; (n = nextPlayable(db, kid)) != 0;) {
        for (const QSqlDatabase& d : {db, twin})
            execute(d, QStringLiteral("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=:n"),
                    {{"k", kid}, {"n", n}});
        const QMap<int, QVariantMap> before = matchRows(db, kid);
        const auto standingsBefore = standingsRows(db, kid);
        ResultEntry entry;
        entry.kid = kid;
        entry.spielnummer = n;
        entry.gruppe = before[n].value("gruppe").isNull() ? -1 : before[n].value("gruppe").toInt();
        entry.ergebnis = n % 3 ? QStringLiteral("3:1") : QStringLiteral("1:3");
        entry.saetze = {QStringLiteral("+5"), QStringLiteral("-8"), QStringLiteral("+11"), QStringLiteral("+3")};
        Sum& sum = entry.gruppe >= 0 ? group : knockOut;
        const auto start = Steady::now();
        if (engine.recordResult(entry) != RecordOutcome::Recorded)
            qFatal("match %d not recorded", n);
        plan.rebuildStates(kid);
        sum.engine += Steady::now() - start;
        ++sum.results;

        const QMap<int, QVariantMap> after = matchRows(db, kid);
        const auto standingsAfter = standingsRows(db, kid);
        const auto floorStart = Steady::now();
        {
            Transaction t(twin);
            for (auto it = after.cbegin(); it != after.cend(); ++it) {
                const QVariantMap changed = changedColumns(before[it.key()], *it);
                if (!changed.isEmpty())
                    writeByKey(twin, QStringLiteral("Spielplan"), changed,
                               QStringLiteral("KID=:k AND spielnummer=:n"), {{"k", kid}, {"n", it.key()}});
            }
            for (auto it = standingsAfter.cbegin(); it != standingsAfter.cend(); ++it) {
                const QVariantMap changed = changedColumns(standingsBefore[it.key()], *it);
                if (!changed.isEmpty())
                    writeByKey(twin, QStringLiteral("Tabellen"), changed,
                               QStringLiteral("KID=:k AND GID=:g AND SID=:s"),
                               {{"k", kid}, {"g", it.key().first}, {"s", it.key().second}});
            }
            t.commit();
        }
        sum.floor += Steady::now() - floorStart;
    }
    for (const auto& [name, sum] : {std::pair("group", group), std::pair("knock-out", knockOut)}) {
        const double engineMs = std::chrono::duration<double, std::milli>(sum.engine).count() / sum.results;
        const double floorMs = std::chrono::duration<double, std::milli>(sum.floor).count() / sum.results;
        std::printf("%-10s %3d %-9s results: %.3f ms per result, floor %.3f ms\n", backendName, sum.results, name,
                    engineMs, floorMs);
        const QString what = QStringLiteral("groups class, %1 results").arg(QLatin1String(name));
        timing::report(qPrintable(what), backendName, engineMs / floorMs, timing::atMost(3));
    }
}

} // namespace

int main(int argc, char** argv)
{
    timing::setUpLikeTests();
    QCoreApplication app(argc, argv);
    timing::forEachBackend([](Backend backend, const char* name) {
        run(backend, name);
        runGroups(backend, name);
    });
    return 0;
}
