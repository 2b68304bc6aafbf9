// The loser flag and the group or round of every match a class publishes, as a
// table of classes: single and double knock-out (the double knock-out of eight
// from the shipped plan file, alone and followed by another phase), groups, a
// class without group settings, a placement match and a bracket of more than
// 500 matches.
#include "draw/planfiles.h"
#include "live/publishrounds.h"
#include "platform/apppaths.h"
#include "support/tempprogramfolder.h"

#include <QTest>

using namespace bw;

Q_DECLARE_METATYPE(QList<bw::StoredLiveMatch>)
Q_DECLARE_METATYPE(std::optional<bw::LivePhases>)

namespace {

StoredLiveMatch match(int phase, int number, int parent1 = -1, bool winner1 = false, int parent2 = -1,
                      bool winner2 = false, std::optional<int> gruppe = -1)
{
    StoredLiveMatch m;
    m.phase = phase;
    m.spielnummer = number;
    m.parentspiel1 = parent1;
    m.parentsieger1 = winner1;
    m.parentspiel2 = parent2;
    m.parentsieger2 = winner2;
    m.gruppe = gruppe;
    return m;
}

// A single knock-out of `size` entrants in `phase`, numbered from `first`.
QList<StoredLiveMatch> singleKnockOut(int phase, int size, int first = 1)
{
    QList<StoredLiveMatch> rows;
    int roundStart = first;
    int count = size / 2;
    for (int i = 0; i < count; ++i)
        rows << match(phase, first + i);
    while (count > 1) {
        const int next = roundStart + count;
        for (int i = 0; i < count / 2; ++i)
            rows << match(phase, next + i, roundStart + 2 * i, true, roundStart + 2 * i + 1, true);
        roundStart = next;
        count /= 2;
    }
    return rows;
}

// The double knock-out of `size` entrants as the shipped plan file has it.
QList<StoredLiveMatch> doubleKnockOut(int phase, int size, int offset = 0)
{
    const AppPaths paths(test::TempProgramFolder::buildProgramDir(), test::TempProgramFolder::buildProgramDir());
    const DoubleKoPlan plan = readDoubleKoPlan(paths.programFile(kDoubleKoFile), size);
    QList<StoredLiveMatch> rows;
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel())
            continue;
        if (line.isFirstRound())
            rows << match(phase, offset + line.f0);
        else
            rows << match(phase, offset + line.f0, offset + line.f1, line.slot1IsWinner(), offset + line.f2,
                          line.slot2IsWinner());
    }
    return rows;
}

// "number:flag:group or round" of every match.
QString sent(const QList<LiveMatch>& matches)
{
    QStringList items;
    for (const LiveMatch& m : matches)
        items << QStringLiteral("%1:%2:%3")
                     .arg(m.spielnummer.value_or(0))
                     .arg(m.loserSide ? 1 : 0)
                     .arg(recordValue(m.groupOrRound));
    return items.join(QLatin1Char(' '));
}

const QString kDoubleKo8 = QStringLiteral("1:0:1 2:0:1 3:0:1 4:0:1 5:1:2 6:1:2 7:0:2 8:0:2 9:1:3 10:1:3 11:1:4 "
                                          "12:0:3 13:1:5 14:0:5");

} // namespace

class TestPublishRounds : public QObject {
    Q_OBJECT

private slots:
    void rounds_data()
    {
        QTest::addColumn<QList<StoredLiveMatch>>("rows");
        QTest::addColumn<std::optional<LivePhases>>("phases");
        QTest::addColumn<QString>("expected");

        QTest::newRow("single knock-out of 8")
            << singleKnockOut(1, 8) << std::optional<LivePhases>(LivePhases{1, {}, {}})
            << QStringLiteral("1:0:1 2:0:1 3:0:1 4:0:1 5:0:2 6:0:2 7:0:3");

        // The final (its parents: the winners' final and the losers' final) is
        // never flagged; the losers' side starts with the match of two losers.
        QTest::newRow("double knock-out of 8")
            << doubleKnockOut(1, 8) << std::optional<LivePhases>(LivePhases{2, {}, {}}) << kDoubleKo8;

        // Also when a later phase follows, whose rows are read after the final.
        QList<StoredLiveMatch> followed = doubleKnockOut(1, 8);
        followed << singleKnockOut(2, 4, 15);
        QTest::newRow("double knock-out followed by a phase")
            << followed << std::optional<LivePhases>(LivePhases{2, 1, {}})
            << kDoubleKo8 + QStringLiteral(" 15:0:1 16:0:1 17:0:2");

        // A double knock-out in phase 2 after groups: the groups send their group.
        QList<StoredLiveMatch> afterGroups{match(1, 1, -1, false, -1, false, 0), match(1, 2, -1, false, -1, false, 1)};
        afterGroups << doubleKnockOut(2, 4, 2);
        QTest::newRow("groups, then a double knock-out of 4")
            << afterGroups << std::optional<LivePhases>(LivePhases{0, 2, {}})
            << QStringLiteral("1:0:0 2:0:1 3:0:1 4:0:1 5:1:2 6:0:2 7:1:3 8:0:3");

        // Without group settings every phase counts as groups: the group is sent
        // and nothing is flagged, whatever the parents say.
        QTest::newRow("class without settings")
            << QList<StoredLiveMatch>{match(1, 1, -1, false, -1, false, 3), match(1, 2, 1, false, 1, false, 4),
                                      match(1, 3, 2, false, 1, false, {})}
            << std::optional<LivePhases>() << QStringLiteral("1:0:3 2:0:4 3:0:");

        // A Null phase column counts as groups.
        QTest::newRow("settings with a Null phase")
            << QList<StoredLiveMatch>{match(1, 1, -1, false, -1, false, 2)}
            << std::optional<LivePhases>(LivePhases{{}, {}, {}}) << QStringLiteral("1:0:2");

        // The match for third place gets the final's round, unflagged.
        QList<StoredLiveMatch> placement = singleKnockOut(1, 4);
        placement << match(4, 4, 1, false, 2, false);
        QTest::newRow("placement match")
            << placement << std::optional<LivePhases>(LivePhases{1, {}, {}})
            << QStringLiteral("1:0:1 2:0:1 3:0:2 4:0:2");

        // Rows are taken by match number, whatever order they come in.
        QList<StoredLiveMatch> shuffled = singleKnockOut(1, 4);
        std::reverse(shuffled.begin(), shuffled.end());
        QTest::newRow("rows out of order")
            << shuffled << std::optional<LivePhases>(LivePhases{1, {}, {}}) << QStringLiteral("1:0:1 2:0:1 3:0:2");
    }
    void rounds()
    {
        QFETCH(QList<StoredLiveMatch>, rows);
        QFETCH(std::optional<LivePhases>, phases);
        QFETCH(QString, expected);
        QCOMPARE(sent(liveMatches(rows, phases)), expected);
    }

    // A bracket of 1024 has 1023 matches: numbers far beyond 500 keep their rounds.
    void manyMatches()
    {
        const QList<LiveMatch> matches = liveMatches(singleKnockOut(1, 1024), LivePhases{1, {}, {}});
        QCOMPARE(matches.size(), 1023);
        const auto roundOf = [&](int number) { return matches.at(number - 1).groupOrRound.value_or(0); };
        QCOMPARE(roundOf(512), 1);
        QCOMPARE(roundOf(513), 2);
        QCOMPARE(roundOf(600), 2);
        QCOMPARE(roundOf(769), 3);
        QCOMPARE(roundOf(1022), 9);
        QCOMPARE(roundOf(1023), 10);

        // A double knock-out of 128 slots (254 matches) after 400 group matches.
        QList<StoredLiveMatch> rows;
        for (int n = 1; n <= 400; ++n)
            rows << match(1, n, -1, false, -1, false, n % 8);
        rows << doubleKnockOut(2, 128, 400);
        const QList<LiveMatch> sent = liveMatches(rows, LivePhases{0, 2, {}});
        QCOMPARE(sent.size(), 654);
        QVERIFY(!sent.last().loserSide);                     // the final
        QVERIFY(sent.at(sent.size() - 2).loserSide);         // the losers' final
        QCOMPARE(sent.last().groupOrRound, sent.at(sent.size() - 2).groupOrRound);
    }
};

QTEST_MAIN(TestPublishRounds)
#include "test_publishrounds.moc"
