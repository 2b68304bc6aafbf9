// Recording results: a 128-entrant single knock-out class with byes in the
// first round, every result recorded in round order, on SQLite and, with the
// variables ./test exports for its server, on PostgreSQL. Prints the mean time
// per result -- the engine's call with its transaction and the rebuild of the
// plan's states and pools -- against the floor: the rows each result changed
// (found by comparing the match rows before and after it, outside the timing)
// written by key as plain UPDATEs in one transaction on a twin database.
// Goal: within 3x.
#include "data/matchrecords.h"
#include "data/classrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "platform/clock.h"
#include "results/resultengine.h"
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

void run(Backend backend)
{
    TestDatabase engineDb(backend);
    TestDatabase floorDb(backend);
    if (!engineDb.ready() || !floorDb.ready()) {
        std::printf("%s: no database\n", backend == Backend::SQLite ? "SQLite" : "PostgreSQL");
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
    std::printf("%-10s %3d results: %.3f ms per result, floor %.3f ms, ratio %.2f (goal: within 3x)\n",
                backend == Backend::SQLite ? "SQLite" : "PostgreSQL", results, engineMs, floorMs, engineMs / floorMs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    run(Backend::SQLite);
    run(Backend::PostgreSQL);
    return 0;
}
