// A child process for the kill test of the standings: records the playable
// matches of a class on an SQLite file one after the other through the result
// engine with its standings step (group matches first, then the knock-out),
// and prints each match's number once its recording has committed. Arguments:
// the file and the class's key.
#include "standingsfixture.h"

#include "platform/clock.h"
#include "platform/prompter.h"
#include "results/resultengine.h"
#include "results/standingsstep.h"

#include <QCoreApplication>

#include <cstdio>

using namespace bw;
using namespace bw::test;

namespace {

// Nobody to show the plan or the boxes to.
class NoPlan : public ResultPlanLink {
public:
    bool hasPool(const QString&) const override { return false; }
    QStringList poolNames() const override { return {}; }
    QStringList poolTexts(const QString&) const override { return {}; }
    void addToPool(const QString&, const QString&, int) override {}
    void relabelSlots(int, const QString&, const QString&, int) override {}
    void rebuildStates(int) override {}
    void redraw(int) override {}
    void offerNextMatches(int, int) override {}
};

class NoBoxes : public Prompter {
public:
    PromptAnswer prompt(PromptKind, const QString&, PromptButtons, const QString&) override
    {
        return PromptAnswer::Ok;
    }
};

} // namespace

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
    FixedClock clock(QDateTime(QDate(2026, 5, 2), QTime(10, 0)));
    NoPlan plan;
    NoBoxes boxes;
    ScriptedTies resolver; // keeps the order the ranking gives
    ResultEngine engine(db, kPlanTid, clock, plan);
    StandingsStep standings(resolver, boxes, plan);
    standings.attach(engine);
    try {
        for (;;) {
            QSqlQuery q = execute(db,
                                  s("SELECT spielnummer,gruppe FROM Spielplan WHERE KID=:k AND beendet=0 "
                                    "AND SID1>0 AND SID2>0 ORDER BY spielnummer"),
                                  {{s("k"), kid}});
            if (!q.next())
                return 0;
            ResultEntry entry;
            entry.kid = kid;
            entry.spielnummer = q.value(0).toInt();
            entry.gruppe = q.value(1).isNull() ? -1 : q.value(1).toInt();
            q.finish();
            execute(db, s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=:n"),
                    {{s("k"), kid}, {s("n"), entry.spielnummer}});
            // The first-named side wins the odd numbers.
            const bool first = entry.spielnummer % 2 == 1;
            entry.ergebnis = first ? QStringLiteral("3:1") : QStringLiteral("1:3");
            const QStringList sets = first ? QStringList{"+5", "-8", "+12", "+3"} : QStringList{"-5", "+8", "-12", "-3"};
            for (int i = 0; i < sets.size(); ++i)
                entry.saetze[size_t(i)] = sets[i];
            if (engine.recordResult(entry) != RecordOutcome::Recorded)
                throw AppError(QStringLiteral("match %1 not recorded").arg(entry.spielnummer));
            std::printf("%d\n", entry.spielnummer);
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
