// The group plan layout without a GUI: geometry of "Matrix" and "Liste", the
// offsets of long match lists, later phases' letters and pools, the cells of the
// status icons (by key within the match's own group, namesakes apart), the
// standings with points per win, team headings, table names, many groups.
#include "plans/groupplanlayout.h"

#include <QTest>

using namespace bw;
using namespace bw::plan;

namespace {

// A phase of `groups` groups of `places` entrants: entrant keys 100 + running
// number, names "Spieler k", every pair of a group playing once (numbers from
// `firstMatch` on), standings rows in place order.
GroupPlanInput roundRobin(int groups, int places, GroupLayoutKind kind, int phase = 1, int firstGroup = 0,
                          int firstMatch = 1)
{
    GroupPlanInput in;
    in.phase = phase;
    in.firstGroup = firstGroup;
    in.groups = groups;
    in.places = places;
    in.kind = kind;
    int number = firstMatch;
    for (int g = 0; g < groups; ++g) {
        const int gid = firstGroup + g;
        for (int p = 0; p < places; ++p) {
            const int sid = 100 + g * places + p;
            const QString name = QStringLiteral("Spieler %1").arg(sid);
            in.placeRows.append({gid, p, sid, name});
            PlanStandingsRow standing;
            standing.gid = gid;
            standing.pos = p;
            standing.sid = sid;
            standing.bez = name;
            in.standingRows.append(standing);
        }
        for (int a = 0; a < places; ++a)
            for (int b = a + 1; b < places; ++b) {
                PlanMatchRow m;
                m.spielnummer = number++;
                m.sid1 = 100 + g * places + a;
                m.spieler1 = QStringLiteral("Spieler %1").arg(m.sid1);
                m.sid2 = 100 + g * places + b;
                m.spieler2 = QStringLiteral("Spieler %1").arg(m.sid2);
                m.phase = phase;
                m.gruppe = gid;
                in.matches.append(m);
            }
        in.tables.insert(gid, {QStringLiteral("Tisch %1").arg(gid + 1)});
    }
    return in;
}

QRect cell(int group, int row, int column)
{
    return QRect(L + W + 30 * column + 1, A + 20 * row + blockHeight(4) * group + 1, 29, 19);
}

} // namespace

class TestGroupPlanLayout : public QObject {
    Q_OBJECT
private slots:
    void geometry_data()
    {
        QTest::addColumn<GroupLayoutKind>("kind");
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("places");
        QTest::addColumn<QList<int>>("versatz");
        QTest::addColumn<QSize>("size");
        // C 130, D 360: width D + 420.
        QTest::newRow("Matrix, 2 groups of 4") << GroupLayoutKind::Matrix << 2 << 4 << QList<int>{0, 0, 0}
                                               << QSize(780, 130 * 2 + 50 + 10);
        // 6 matches for 4 rows: every group 40 further down; 170 x groups + 60.
        QTest::newRow("Liste, 3 groups of 4") << GroupLayoutKind::Liste << 3 << 4 << QList<int>{0, 40, 80, 120}
                                              << QSize(810, 170 * 3 + 60);
        // 3 matches for 3 rows: nothing added.
        QTest::newRow("Liste, 2 groups of 3") << GroupLayoutKind::Liste << 2 << 3 << QList<int>{0, 0, 0}
                                              << QSize(810, 110 * 2 + 60);
        // More groups than letters A..U.
        QTest::newRow("Liste, 32 groups of 4") << GroupLayoutKind::Liste << 32 << 4 << QList<int>()
                                               << QSize(810, 170 * 32 + 60);
        QTest::newRow("Matrix, 32 groups of 4") << GroupLayoutKind::Matrix << 32 << 4 << QList<int>(33, 0)
                                                << QSize(780, 130 * 32 + 60);
    }
    void geometry()
    {
        QFETCH(GroupLayoutKind, kind);
        QFETCH(int, groups);
        QFETCH(int, places);
        QFETCH(QList<int>, versatz);
        QFETCH(QSize, size);
        const GroupPlan plan = gruppenplanLayout(roundRobin(groups, places, kind));
        QCOMPARE(plan.layout.size, size);
        QCOMPARE(plan.gruppenversatz.size(), groups + 1);
        if (!versatz.isEmpty())
            QCOMPARE(plan.gruppenversatz, versatz);
        // Every group's heading at its block's top, the last one too.
        const int last = groups - 1;
        const int top = A + last * blockHeight(places) + plan.gruppenversatz[last];
        QCOMPARE(plan.layout.textsAt(QPoint(L, top - 20)), QStringList{QStringLiteral("Gruppe ") + QChar(65 + last)});
        const ControlSpec* icon = nullptr;
        for (const ControlSpec& spec : plan.layout.controls)
            if (spec.kind == ControlKind::GroupIcon && spec.tag == last)
                icon = &spec;
        QVERIFY(icon);
        QCOMPARE(icon->rect, QRect(L + 80, top - 20, 16, 16));
        // Every match has its icon, every group its two pools.
        const int perGroup = places * (places - 1) / 2;
        const QString lastMatch = QStringLiteral("status%1").arg(groups * perGroup);
        QVERIFY(plan.layout.control(lastMatch));
        QCOMPARE(plan.pools.size(), 2 * groups);
    }

    void laterPhaseContinuesLettersAndPools()
    {
        GroupPlanInput in = roundRobin(2, 4, GroupLayoutKind::Liste, 2, 4, 25);
        const GroupPlan plan = gruppenplanLayout(in);
        QCOMPARE(plan.layout.textsAt(QPoint(L, A - 20)), QStringList{QStringLiteral("Gruppe E")});
        QCOMPARE(plan.layout.textsAt(QPoint(standingsLeft(GroupLayoutKind::Liste, 4), A - 20)),
                 QStringList{QStringLiteral("Tabelle Gruppe E")});
        QCOMPARE(plan.pools[0].first, QStringLiteral("sliste4"));
        QCOMPARE(plan.pools[1].first, QStringLiteral("platte4"));
        QCOMPARE(plan.pools[1].second, (QList<PoolItem>{{QStringLiteral("Tisch 5"), 0}}));
        QCOMPARE(plan.pools[0].second.size(), 4);
        QCOMPARE(plan.pools[0].second[0].text, QStringLiteral("100"));
        // The list line shows the table short.
        in.matches[0].tischNull = false;
        in.matches[0].geplanterTisch = QStringLiteral("Tisch 5");
        QCOMPARE(gruppenplanLayout(in).layout.textsAt(QPoint(L + 290, A + 3)), QStringList{QStringLiteral("T5")});
    }

    void shortTableNames_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Tisch 5") << "Tisch 5" << "T5";
        QTest::newRow("lower case") << "tisch 12" << "T12";
        QTest::newRow("no Tisch") << "Platte 3" << "Platte3";
        QTest::newRow("empty") << "" << "";
    }
    void shortTableNames()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(shortTableName(stored), shown);
    }

    void statusIconsInTheirCells()
    {
        // Group B's match 12 (the 6th of the group) is between rows 2 and 3.
        const GroupPlan plan = gruppenplanLayout(roundRobin(2, 4, GroupLayoutKind::Matrix));
        const ControlSpec* status = plan.layout.control(QStringLiteral("status12"));
        const ControlSpec* mirrored = plan.layout.control(QStringLiteral("statusx12"));
        QVERIFY(status && mirrored);
        QCOMPARE(status->rect, cell(1, 2, 3));
        QCOMPARE(mirrored->rect, cell(1, 3, 2));
        QCOMPARE(status->tag, 1);
        QCOMPARE(status->kind, ControlKind::StatusIcon);
    }

    void namesakesGetTheirOwnCells()
    {
        // Rows 0 and 1 of group A and row 0 of group B are all "Meier, Jan".
        GroupPlanInput in = roundRobin(2, 4, GroupLayoutKind::Matrix);
        const QString meier = QStringLiteral("Meier, Jan");
        for (PlanPlaceRow& place : in.placeRows)
            if ((place.gid == 0 && place.pos < 2) || (place.gid == 1 && place.pos == 0))
                place.bez = meier;
        for (PlanMatchRow& m : in.matches) {
            for (auto [sid, name] : {std::pair{&m.sid1, &m.spieler1}, {&m.sid2, &m.spieler2}})
                if (*sid == 100 || *sid == 101 || *sid == 104)
                    *name = meier;
        }
        const GroupPlan plan = gruppenplanLayout(in);
        // Match 1: rows 0 and 1 of A; match 7: rows 0 and 1 of B.
        QCOMPARE(plan.layout.control(QStringLiteral("status1"))->rect, cell(0, 0, 1));
        QCOMPARE(plan.layout.control(QStringLiteral("statusx1"))->rect, cell(0, 1, 0));
        QCOMPARE(plan.layout.control(QStringLiteral("status7"))->rect, cell(1, 0, 1));
        QCOMPARE(plan.layout.control(QStringLiteral("status9"))->rect, cell(1, 0, 3));
    }

    void sidesNotInTheGroupGetNoIcon()
    {
        GroupPlanInput in = roundRobin(1, 4, GroupLayoutKind::Matrix);
        in.matches[0].sid2 = 999;
        in.matches[0].spieler2 = QStringLiteral("Unbekannt");
        // A qualifier still open is found by its text.
        in.placeRows[3].sid = -3;
        in.placeRows[3].bez = QStringLiteral("Sieger Gruppe A");
        in.matches[2].sid2 = -3;
        in.matches[2].spieler2 = QStringLiteral("Sieger Gruppe A");
        const GroupPlan plan = gruppenplanLayout(in);
        QVERIFY(!plan.layout.control(QStringLiteral("status1")));
        QVERIFY(!plan.layout.control(QStringLiteral("statusx1")));
        QCOMPARE(plan.layout.control(QStringLiteral("status3"))->rect, cell(0, 0, 3));
    }

    void standings_data()
    {
        QTest::addColumn<bool>("team");
        QTest::addColumn<int>("f");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QStringList>("headings");
        // Singles: games 3:1, sets 10:4, balls 120:90.
        QTest::newRow("one point per win") << false << 1 << QStringList{"1", "4", "3", "1", "3:1", "10:4", "120:90"}
                                           << QStringList{"Punkte", "Sätze", "Bälle"};
        QTest::newRow("two points per win") << false << 2 << QStringList{"1", "4", "3", "1", "6:2", "10:4", "120:90"}
                                            << QStringList{"Punkte", "Sätze", "Bälle"};
        // Team: matches 2:2 for points, games 10:4, sets 33:20.
        QTest::newRow("team") << true << 2 << QStringList{"1", "4", "2", "2", "4:4", "3:1", "10:4"}
                              << QStringList{"Punkte", "Spiele", "Sätze"};
    }
    void standings()
    {
        QFETCH(bool, team);
        QFETCH(int, f);
        QFETCH(QStringList, row);
        QFETCH(QStringList, headings);
        GroupPlanInput in = roundRobin(1, 4, GroupLayoutKind::Liste);
        in.team = team;
        in.pointsPerWin = f;
        PlanStandingsRow& first = in.standingRows[0];
        first.matchegewonnen = 2;
        first.matcheverloren = 2;
        first.spielegewonnen = 3;
        first.spieleverloren = 1;
        first.saetzegewonnen = 10;
        first.saetzeverloren = 4;
        first.punktegewonnen = 120;
        first.punkteverloren = 90;
        const GroupPlan plan = gruppenplanLayout(in);
        const int D = 390;
        const int y = A + 4;
        QStringList shown;
        for (int x : {D + 6, D + W + 7, D + W + 35, D + W + 60, D + W + 85, D + W + 130, D + W + 180})
            shown << plan.layout.textsAt(QPoint(x, y)).value(0);
        QCOMPARE(shown, row);
        QCOMPARE((QStringList{plan.layout.textsAt(QPoint(D + W + 83, A - 20)).value(0),
                              plan.layout.textsAt(QPoint(D + W + 135, A - 20)).value(0),
                              plan.layout.textsAt(QPoint(D + W + 190, A - 20)).value(0)}),
                 headings);
    }

    void emptyNameLeavesItsRowEmpty()
    {
        GroupPlanInput in = roundRobin(1, 4, GroupLayoutKind::Matrix);
        in.standingRows[1].bez.clear();
        in.placeRows[1].bez.clear();
        const GroupPlan plan = gruppenplanLayout(in);
        const int D = standingsLeft(GroupLayoutKind::Matrix, 4);
        QVERIFY(plan.layout.textsAt(QPoint(D + 6, A + 20 + 4)).isEmpty());
        QCOMPARE(plan.layout.textsAt(QPoint(D + 6, A + 40 + 4)), QStringList{"3"});
        int labels = 0;
        for (const ControlSpec& spec : plan.layout.controls)
            labels += spec.kind == ControlKind::PlayerLabel ? 1 : 0;
        QCOMPARE(labels, 6); // 3 members, 3 standings rows
        QCOMPARE(plan.pools[0].second.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestGroupPlanLayout)
#include "test_groupplanlayout.moc"
