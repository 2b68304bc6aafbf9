// The call-up reminders without a GUI: the threshold, which call of whom is
// listed when, and the message list keeping the newest ten on top.
#include "plans/reminders.h"

#include <QTest>

using namespace bw;
using namespace bw::plan;

namespace {

const QDate kDay(2026, 6, 6);

QDateTime at(int h, int m)
{
    return QDateTime(kDay, QTime(h, m));
}

// A called match of "Anna" and "Bert" with umpire "Schiri, Sam"; calls given as
// {call, who, time} (who: 0 player 1, 1 player 2, 2 umpire).
struct Call {
    int call;
    int who;
    QDateTime time;
};
CalledMatchRow called(const QList<Call>& calls, bool umpire = true)
{
    CalledMatchRow row;
    row.spieler1 = QStringLiteral("Anna");
    row.spieler2 = QStringLiteral("Bert");
    if (umpire)
        row.schiri = QStringLiteral("Schiri, Sam");
    for (const Call& c : calls)
        row.aufruf[c.call][c.who] = c.time;
    return row;
}

const QString kFirst1 = QStringLiteral("- 1.Spielaufruf vor 5 Minuten: Anna");
const QString kFirst2 = QStringLiteral("- 1.Spielaufruf vor 5 Minuten: Bert");
const QString kFirstU = QStringLiteral("- 1.Schiedsrichteraufruf vor 5 Minuten: Schiri, Sam");
const QString kSecond1 = QStringLiteral("- 2.Spielaufruf vor 5 Minuten: Anna");
const QString kSecond2 = QStringLiteral("- 2.Spielaufruf vor 5 Minuten: Bert");
const QString kSecondU = QStringLiteral("- 2.Schiedsrichteraufruf vor 5 Minuten: Schiri, Sam");
const QString kThird1 = QStringLiteral("- 3.Spielaufruf vor 5 Minuten: Anna");
const QString kThird2 = QStringLiteral("- 3.Spielaufruf vor 5 Minuten: Bert");
const QString kThirdU = QStringLiteral("- 3.Schiedsrichteraufruf vor 5 Minuten: Schiri, Sam");

} // namespace

Q_DECLARE_METATYPE(CalledMatchRow)

class TestReminders : public QObject {
    Q_OBJECT
private slots:
    void threshold()
    {
        QCOMPARE(reminderThreshold(at(10, 3)), at(9, 58));
        QCOMPARE(reminderThreshold(QDateTime(QDate(2026, 7, 1), QTime(0, 2))),
                 QDateTime(QDate(2026, 6, 30), QTime(23, 57)));
    }

    void lines_data()
    {
        QTest::addColumn<CalledMatchRow>("row");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QStringList>("lines");
        const QList<Call> allFirst = {{0, 0, at(10, 0)}, {0, 1, at(10, 0)}, {0, 2, at(10, 0)}};
        // Player 1 first called at 10:00: listed from the first tick after 10:05.
        QTest::newRow("10:05 first call not yet old")
            << called({{0, 0, at(10, 0)}, {0, 1, at(10, 4)}, {0, 2, at(10, 4)}}) << at(10, 5) << QStringList{};
        QTest::newRow("10:06 first call old")
            << called({{0, 0, at(10, 0)}, {0, 1, at(10, 4)}, {0, 2, at(10, 4)}}) << at(10, 6) << QStringList{kFirst1};
        QTest::newRow("second call at 10:07 stops it")
            << called({{0, 0, at(10, 0)}, {1, 0, at(10, 7)}, {0, 1, at(10, 7)}, {0, 2, at(10, 7)}}) << at(10, 12)
            << QStringList{};
        QTest::newRow("second call old from 10:13")
            << called({{0, 0, at(10, 0)}, {1, 0, at(10, 7)}, {0, 1, at(10, 9)}, {0, 2, at(10, 9)}}) << at(10, 13)
            << QStringList{kSecond1};
        // Null first calls count as old; every side listed in the tests' order.
        QTest::newRow("no call made") << called({}) << at(10, 0) << QStringList{kFirst1, kFirst2, kFirstU};
        QTest::newRow("first calls old") << called(allFirst) << at(10, 6) << QStringList{kFirst1, kFirst2, kFirstU};
        QTest::newRow("no umpire") << called(allFirst, false) << at(10, 6) << QStringList{kFirst1, kFirst2};
        QTest::newRow("no umpire, umpire calls stored")
            << called({{0, 2, at(10, 0)}, {1, 2, at(10, 0)}, {2, 2, at(10, 0)}}, false) << at(10, 30)
            << QStringList{kFirst1, kFirst2};
        QTest::newRow("third calls")
            << called({{0, 0, at(10, 0)}, {1, 0, at(10, 1)}, {2, 0, at(10, 2)},
                       {0, 1, at(10, 0)}, {1, 1, at(10, 1)}, {2, 1, at(10, 2)},
                       {0, 2, at(10, 0)}, {1, 2, at(10, 1)}, {2, 2, at(10, 2)}})
            << at(10, 10) << QStringList{kThird1, kThird2, kThirdU};
        QTest::newRow("second calls in order")
            << called({{0, 0, at(10, 0)}, {1, 0, at(10, 1)}, {0, 1, at(10, 0)}, {1, 1, at(10, 1)},
                       {0, 2, at(10, 0)}, {1, 2, at(10, 1)}})
            << at(10, 10) << QStringList{kSecond1, kSecond2, kSecondU};
        // A second call stored without a first one: neither counts.
        QTest::newRow("second call without first")
            << called({{1, 0, at(10, 0)}, {0, 1, at(10, 9)}, {0, 2, at(10, 9)}}) << at(10, 10) << QStringList{};
    }
    void lines()
    {
        QFETCH(CalledMatchRow, row);
        QFETCH(QDateTime, now);
        QFETCH(QStringList, lines);
        QCOMPARE(reminderLines({row}, reminderThreshold(now)), lines);
    }

    void matchesInOrder()
    {
        CalledMatchRow second = called({});
        second.spieler1 = QStringLiteral("Carl");
        second.spieler2 = QStringLiteral("Dora");
        second.schiri.reset();
        QCOMPARE(reminderLines({called({}, false), second}, at(10, 0)),
                 (QStringList{kFirst1, kFirst2, QStringLiteral("- 1.Spielaufruf vor 5 Minuten: Carl"),
                              QStringLiteral("- 1.Spielaufruf vor 5 Minuten: Dora")}));
    }

    void listKeepsNewestTen()
    {
        QStringList twelve;
        for (int i = 1; i <= 12; ++i)
            twelve << QStringLiteral("Zeile %1").arg(i);
        const QStringList shown = withReminders({QStringLiteral(" - Turnier gestartet")}, twelve);
        QCOMPARE(shown.size(), 10);
        QCOMPARE(shown.first(), QStringLiteral("Zeile 12"));
        QCOMPARE(shown.last(), QStringLiteral("Zeile 3"));
        // Fewer lines keep the start message at the bottom.
        QCOMPARE(withReminders({QStringLiteral(" - Turnier gestartet")}, {QStringLiteral("a"), QStringLiteral("b")}),
                 (QStringList{"b", "a", " - Turnier gestartet"}));
    }
};

QTEST_GUILESS_MAIN(TestReminders)
#include "test_reminders.moc"
