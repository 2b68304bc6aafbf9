// The plan-definition files the program ships: they are what the generator writes,
// they pass every validator, and the validators themselves catch broken content.
#include "planfilecheck.h"
#include "plangen.h"

#include "support/tempprogramfolder.h"

#include <QFile>
#include <QTest>

#include <functional>

using namespace bw;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<Pairing> orderOf(const QString& text)
{
    QList<Pairing> order;
    for (const QString& item : text.split(QLatin1Char(';')))
        order.append({item.section(QLatin1Char('-'), 0, 0).toInt(), item.section(QLatin1Char('-'), 1).toInt()});
    return order;
}

QString orderText(const QList<QList<Pairing>>& rounds)
{
    QStringList items;
    for (const auto& round : rounds) {
        for (const Pairing& p : round)
            items << QStringLiteral("%1-%2").arg(p.first).arg(p.second);
    }
    return items.join(QLatin1Char(';'));
}

DoubleKoLine& match(DoubleKoPlan& plan, int number)
{
    for (DoubleKoLine& line : plan.lines) {
        if (line.f0 == number)
            return line;
    }
    qFatal("no match %d", number);
}

using Change = std::function<void(DoubleKoPlan&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestShippedPlans : public QObject {
    Q_OBJECT
private slots:
    void shippedFilesAreTheGeneratedOnes();
    void shippedFilesPassTheValidators();
    void groupOrders_data();
    void groupOrders();
    void rematchesOnlyLateInTheLosersBracket();
    void groupValidatorCatches_data();
    void groupValidatorCatches();
    void bracketValidatorCatches_data();
    void bracketValidatorCatches();
};

void TestShippedPlans::shippedFilesAreTheGeneratedOnes()
{
    // Edit the generator, not the files: cmake --build <build> --target planfiles.
    const QString files = test::TempProgramFolder::sourceDir() + QStringLiteral("/resources/Files/");
    QCOMPARE(readAll(files + QStringLiteral("system.txt")), plangen::groupOrderFileText());
    QCOMPARE(readAll(files + QStringLiteral("ko_system.txt")), plangen::doubleKoFileText());
}

void TestShippedPlans::shippedFilesPassTheValidators()
{
    // The program folder's copy, found as the program finds it.
    const AppPaths paths(test::TempProgramFolder::buildProgramDir(), test::TempProgramFolder::buildProgramDir());
    QCOMPARE(planfilecheck::checkGroupOrderFile(paths.programFile(kGroupOrderFile)), QStringList());
    QCOMPARE(planfilecheck::checkDoubleKoFile(paths.programFile(kDoubleKoFile)), QStringList());
}

void TestShippedPlans::groupOrders_data()
{
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("order");
    QTest::newRow("1") << 1 << "";
    QTest::newRow("2") << 2 << "1-2";
    QTest::newRow("3") << 3 << "2-3;1-3;1-2";
    QTest::newRow("4") << 4 << "1-4;2-3;1-3;2-4;3-4;1-2";
}

void TestShippedPlans::groupOrders()
{
    QFETCH(int, places);
    QFETCH(QString, order);
    QCOMPARE(orderText(plangen::roundRobinRounds(places)), order);
}

void TestShippedPlans::rematchesOnlyLateInTheLosersBracket()
{
    // The crossed drop-ins keep the first half of the losers' bracket's rounds free
    // of any possible rematch.
    for (int size = 4, rounds = 1; size <= plangen::kLargestBracket; size *= 2, ++rounds) {
        const DoubleKoPlan plan = plangen::doubleKoPlan(size);
        for (int m : planfilecheck::possibleRematches(plan, size)) {
            if (planfilecheck::losersRound(plan, m) <= rounds - 1)
                QFAIL(qPrintable(QStringLiteral("bracket of %1: match %2 may be a rematch").arg(size).arg(m)));
        }
    }
    // Uncrossed drop-ins would let the loser of match 7 of 8 slots meet a player he
    // has just beaten in match 1 or 2.
    DoubleKoPlan plain = plangen::doubleKoPlan(8);
    match(plain, 9).f2 = 7;
    match(plain, 10).f2 = 8;
    QCOMPARE(planfilecheck::possibleRematches(plain, 8).first(), 9);
}

void TestShippedPlans::groupValidatorCatches_data()
{
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("fault");

    QTest::newRow("sound") << 5 << "1-4;2-3;4-5;1-3;2-5;3-4;1-5;2-4;3-5;1-2" << "";
    QTest::newRow("pair twice") << 4 << "1-4;2-3;1-3;2-4;3-4;1-4" << "group of 4: 1-4 is played twice";
    QTest::newRow("pair missing") << 4 << "1-4;2-3;1-3;2-4;3-4" << "group of 4: 5 of 6 pairings";
    QTest::newRow("place twice in a round") << 4 << "1-4;1-3;2-3;2-4;3-4;1-2" << "group of 4: round 1 has a place twice";
    QTest::newRow("1-2 early") << 4 << "1-2;3-4;1-3;2-4;1-4;2-3" << "group of 4: 1-2 is not in the last round";
    QTest::newRow("back to back") << 5 << "1-4;2-3;1-3;4-5;2-5;3-4;1-5;2-4;3-5;1-2"
                                  << "group of 5: 2-3 and 1-3 follow each other";
}

void TestShippedPlans::groupValidatorCatches()
{
    QFETCH(int, places);
    QFETCH(QString, order);
    QFETCH(QString, fault);
    const QStringList faults = planfilecheck::checkGroupOrder(orderOf(order), places);
    if (fault.isEmpty())
        QCOMPARE(faults, QStringList());
    else
        QVERIFY2(faults.contains(fault), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestShippedPlans::bracketValidatorCatches_data()
{
    // Changes to the sound plan for 8 slots: 1-4 first round, 5-6 and 9-11 and 13
    // losers' bracket, 7-8 and 12 winners' bracket, 14 the final.
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("fault");

    QTest::newRow("sound") << Change([](DoubleKoPlan&) {}) << "";
    QTest::newRow("loser taken twice") << Change([](DoubleKoPlan& p) { match(p, 9).f2 = 7; })
                                       << "bracket of 8: the loser of match 7 plays on in 2 slots";
    QTest::newRow("loser dropped") << Change([](DoubleKoPlan& p) { match(p, 10).f4 = 1; })
                                   << "bracket of 8: the loser of match 7 plays on in 0 slots";
    QTest::newRow("third life") << Change([](DoubleKoPlan& p) { match(p, 11).f3 = 0; })
                                << "bracket of 8: match 11 is played after two losses";
    QTest::newRow("final against a loser") << Change([](DoubleKoPlan& p) { match(p, 14).f4 = 0; })
                                           << "bracket of 8: the final does not meet the winners of both brackets";
    QTest::newRow("match missing") << Change([](DoubleKoPlan& p) { p.lines.removeLast(); })
                                   << "bracket of 8: 7 winners' and 5 losers' matches";
    QTest::newRow("waits for a later match") << Change([](DoubleKoPlan& p) { match(p, 9).f1 = 10; })
                                             << "bracket of 8: match 9 waits for a later match";
    QTest::newRow("labels overlap") << Change([](DoubleKoPlan& p) { match(p, 6).f8 = 29; match(p, 6).f9 = 31; })
                                    << "bracket of 8: labels of matches 5 and 6 overlap in column 0 row 29";
    QTest::newRow("matches share cells") << Change([](DoubleKoPlan& p) { match(p, 10).f8 = 29; match(p, 10).f9 = 31; })
                                         << "bracket of 8: matches 9 and 10 share cells of column 2";
    QTest::newRow("line through a match") << Change([](DoubleKoPlan& p) { match(p, 12).f6 = 1; })
                                          << "bracket of 8: a slot line in row 4 crosses match 7";
    QTest::newRow("outside the drawing") << Change([](DoubleKoPlan& p) { p.rows = 30; })
                                         << "bracket of 8: match 6 lies outside the drawing's 5 x 30 cells";
    QTest::newRow("final not at the right") << Change([](DoubleKoPlan& p) { p.columns = 6; })
                                            << "bracket of 8: the final 14 is not at the right";
    QTest::newRow("winners below losers") << Change([](DoubleKoPlan& p) { match(p, 8).f9 = 27; })
                                          << "bracket of 8: the winners' bracket reaches into the losers' bracket";
    QTest::newRow("rule of the readers") << Change([](DoubleKoPlan& p) { match(p, 13).f2 = 20; })
                                         << "bracket of 8: Spiel 13 bezieht sich auf das fehlende Spiel 20.";
}

void TestShippedPlans::bracketValidatorCatches()
{
    QFETCH(Change, change);
    QFETCH(QString, fault);
    DoubleKoPlan plan = plangen::doubleKoPlan(8);
    change(plan);
    const QStringList faults = planfilecheck::checkDoubleKoPlan(plan, 8);
    if (fault.isEmpty())
        QCOMPARE(faults, QStringList());
    else
        QVERIFY2(faults.contains(fault), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestShippedPlans)
#include "test_shippedplans.moc"
